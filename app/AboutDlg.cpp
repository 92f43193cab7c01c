#include "app/AboutDlg.h"

#include "app/res/Resource.h"

#include <algorithm>

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
    CenterOnFrame();
    return TRUE;
}

// Its template places it on the frame's corner, over the menu and tool bars, which a window
// manager then leaves unpainted: it opens in the middle of the frame instead, on the screen.
void CAboutDlg::CenterOnFrame() {
    CWnd* pFrame = AfxGetMainWnd();
    if (!pFrame || !pFrame->GetSafeHwnd() || pFrame == this) return;
    CRect rcFrame, rcBox, rcWork;
    pFrame->GetWindowRect(&rcFrame);
    GetWindowRect(&rcBox);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    // Centred on the frame's middle, moved no further off the work area than it must.
    const auto place = [](LONG nMiddle, LONG nSize, LONG nLow, LONG nHigh) {
        return std::clamp(nMiddle - nSize / 2, nLow, std::max(nLow, nHigh - nSize));
    };
    const LONG x = place(rcFrame.CenterPoint().x, rcBox.Width(), rcWork.left, rcWork.right);
    const LONG y = place(rcFrame.CenterPoint().y, rcBox.Height(), rcWork.top, rcWork.bottom);
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
