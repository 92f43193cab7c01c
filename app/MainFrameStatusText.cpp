// The status bar's message pane: a command's prompt while its control is selected, the idle
// text otherwise. A string id stands for the first line of that string ("prompt\ntip").
#include "app/MainFrame.h"

#include "classlib/WindowMessages.h"

namespace {

CString PromptOf(UINT nID) {
    CString strText;
    if (!strText.LoadString(nID)) return strText;
    const int nBreak = strText.Find('\n');
    return nBreak < 0 ? strText : strText.Left(nBreak);
}

}  // namespace

void CMainFrame::ShowStatusMessage(const CString& strText) {
    if (m_wndStatusBar.GetSafeHwnd()) m_wndStatusBar.SetPaneText(0, strText);
}

LRESULT CMainFrame::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
    ShowStatusMessage(lParam ? CString(reinterpret_cast<LPCSTR>(lParam)) : PromptOf(static_cast<UINT>(wParam)));
    return 0;
}

LRESULT CMainFrame::OnPopMessageString(WPARAM wParam, LPARAM) {
    ShowStatusMessage(PromptOf(wParam ? static_cast<UINT>(wParam) : AFX_IDS_IDLEMESSAGE));
    return 0;
}
