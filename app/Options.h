// The Options dialog: one tab, "Global Options", whose page shows the compiler path; OK keeps
// the values in the main frame and in "config\config.ini".
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/tabs/TabCtrl.h"

class CGlobalOptions;
class CMainFrame;

class COptions : public CDialog {
    DECLARE_DYNAMIC(COptions)
public:
    explicit COptions(CWnd* pParent = nullptr);

    CKLTabCtrl m_wndTab;
    CGlobalOptions* m_pGlobalOptions = nullptr;
    CMainFrame* m_pMainFrame = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    // The tab and its page, made the first time the data are exchanged only.
    void CreatePages();
};
