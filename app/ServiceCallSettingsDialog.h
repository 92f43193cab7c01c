// The call window's settings: the CA file and whether the certificate is verified, the proxy
// with its credentials, Basic or Digest credentials, the WS-Security user and the time-out.
#pragma once

#include "classlib/ClassLib.h"
#include "project/call/CallSettings.h"

#include <functional>
#include <string>

// OK keeps the settings only once save took them: when it fails (a password the system would not
// protect, a file not written) the user is told why and the dialog stays open with what was typed.
class CServiceCallSettingsDialog : public CDialog {
public:
    using Save = std::function<bool(const CallSettings& settings, std::string& strWhy)>;
    CServiceCallSettingsDialog(CallSettings& settings, Save save, CWnd* pParent);

    BOOL OnInitDialog() override;

protected:
    void OnOK() override;

private:
    std::string Text(UINT nID) const;
    CallSettings& m_settings;
    Save m_save;
};
