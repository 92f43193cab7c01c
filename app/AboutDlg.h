// The About box: version, picture, and links to the support mail address and the web page.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/common/HyperLink.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* pParent = nullptr);

    CKLHyperLink m_wndMailLink;
    CKLHyperLink m_wndWebLink;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void CenterOnFrame();
};

// The addresses the links open.
extern const char* const g_lpszSupportMail;
extern const char* const g_lpszWebPage;
