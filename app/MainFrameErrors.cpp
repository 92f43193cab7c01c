// The Output pane's lines that name a place in a source lead to it: a double-click on the line,
// F4 to the next such line and Shift+F4 to the one before; the file's tab opens (or comes to the
// front) with the cursor at that line and column.
#include "app/MainFrame.h"

#include "app/ErrorBox.h"
#include "app/QuorlinDoc.h"
#include "app/QuorlinView.h"
#include "app/SystemErrorText.h"
#include "app/res/Resource.h"
#include "project/ProjectFiles.h"

#include <algorithm>

namespace {

// The tab whose document is the file (letter case aside); -1 for none.
int FindTabOfPath(const CMainFrame& frame, const std::string& strPath) {
    for (int i = 0; i < frame.tabCount(); ++i) {
        const CquorlinDoc* pDoc = frame.GetTabDocument(i);
        if (pDoc && pDoc->GetPathName().CompareNoCase(strPath.c_str()) == 0) return i;
    }
    return -1;
}

}  // namespace

BOOL CMainFrame::GoToOutputLine(int nLine) {
    CSourceLocation location;
    if (!GetPaneWindow(IDP_OUTPUT) || !ParseSourceLocation(m_wndOutput.GetLineText(nLine), location)) return FALSE;
    m_nErrorLine = nLine;
    m_wndOutput.SelectLine(nLine);
    GoToSourceLocation(location);
    return TRUE;
}

BOOL CMainFrame::GoToSourceLocation(const CSourceLocation& location) {
    const std::string strFolder = GetProject() ? joinProjectPath(GetProject()->location, "") : applicationFolder();
    const std::string strPath = ResolveSourcePath(location.strFile, strFolder);
    int nTab = FindTabOfPath(*this, strPath);
    if (nTab < 0 && ::GetFileAttributesA(strPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const std::string strCause = SystemErrorText(::GetLastError());
        ShowErrorBox(this, (strPath + " cannot be opened: " + strCause).c_str());
        return FALSE;
    }
    if (nTab < 0 && openDocument(strPath)) nTab = FindTabOfPath(*this, strPath);
    CquorlinView* pView = nTab < 0 ? nullptr : GetTabView(nTab);
    if (!pView) {
        ShowErrorBox(this, (strPath + " cannot be opened in an editor tab.").c_str());
        return FALSE;
    }
    MDIActivate(pView->GetParentFrame());
    pView->GetEditCtrl()->SetCurPos(location.nLine, std::max(location.nColumn, 1));
    pView->SetFocus();
    return TRUE;
}

// From the line after the last one gone to, or from the line of the pane's cursor when the user
// put it on another.
void CMainFrame::OnNextError() {
    if (!GetPaneWindow(IDP_OUTPUT)) return;
    int nFrom = m_nErrorLine + 1;
    if (::GetFocus() == m_wndOutput.GetSafeHwnd() && m_wndOutput.GetCaretLine() != m_nErrorLine)
        nFrom = m_wndOutput.GetCaretLine();
    for (int nLine = nFrom; nLine < m_wndOutput.GetLineTotal(); ++nLine)
        if (GoToOutputLine(nLine)) return;
    ::MessageBeep(MB_OK);
}

void CMainFrame::OnPrevError() {
    if (!GetPaneWindow(IDP_OUTPUT)) return;
    const int nFrom = (m_nErrorLine < 0 ? m_wndOutput.GetLineTotal() : m_nErrorLine) - 1;
    for (int nLine = nFrom; nLine >= 0; --nLine)
        if (GoToOutputLine(nLine)) return;
    ::MessageBeep(MB_OK);
}
