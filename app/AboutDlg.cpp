#include "app/AboutDlg.h"

#include "app/res/Resource.h"

const char* const g_lpszSupportMail = "mailto:support@kelvane.example";
const char* const g_lpszWebPage = "http://www.kelvane.example/";

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD_ABOUTBOX, pParent) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MAIL_LINK, m_wndMailLink);
    DDX_Control(pDX, IDC_WEB_LINK, m_wndWebLink);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_wndWebLink.SetURL(g_lpszWebPage);
    m_wndMailLink.SetURL(g_lpszSupportMail);
    m_wndWebLink.SetUnderline(true);
    m_wndMailLink.SetUnderline(true);
    return TRUE;
}
