// The call window's settings: the CA file and whether the certificate is verified, the proxy
// with its credentials, Basic or Digest credentials, the WS-Security user and the time-out.
#pragma once

#include "classlib/ClassLib.h"
#include "project/call/CallSettings.h"

class CServiceCallSettingsDialog : public CDialog {
public:
    CServiceCallSettingsDialog(CallSettings& settings, CWnd* pParent);

    BOOL OnInitDialog() override;

protected:
    void OnOK() override;

private:
    std::string Text(UINT nID) const;
    CallSettings& m_settings;
};
