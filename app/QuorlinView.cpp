#include "app/QuorlinView.h"

#include "app/ContextMenu.h"
#include "app/QuorlinApp.h"
#include "app/res/Resource.h"
#include "toolkit/syntaxedit/options/SyntaxEditPropertiesDlg.h"

IMPLEMENT_DYNCREATE(CquorlinView, CKLVSyntaxEditView)

BEGIN_MESSAGE_MAP(CquorlinView, CKLVSyntaxEditView)
    ON_COMMAND(ID_GOTO_LINE, OnGoToLine)
    ON_COMMAND(ID_UPPERCASE, OnUpperCase)
    ON_COMMAND(ID_LOWERCASE, OnLowerCase)
    ON_COMMAND(ID_COLLAPSE_ALL, OnCollapseAll)
    ON_COMMAND(ID_EXPAND_ALL, OnExpandAll)
    ON_COMMAND(ID_TOGGLE_BOOKMARK, OnToggleBookmark)
    ON_COMMAND(ID_NEXT_BOOKMARK, OnNextBookmark)
    ON_UPDATE_COMMAND_UI(ID_NEXT_BOOKMARK, OnUpdateBookmarkStep)
    ON_COMMAND(ID_PREV_BOOKMARK, OnPrevBookmark)
    ON_UPDATE_COMMAND_UI(ID_PREV_BOOKMARK, OnUpdateBookmarkStep)
    ON_COMMAND(ID_SYNTAX_OPTION, OnSyntaxOption)
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

CquorlinView::CquorlinView() {
    GetEditCtrl()->SetConfigFile(GetModuleDirectory() + "\\config\\SyntaxEdit.ini");
}

void CquorlinView::OnGoToLine() {
    m_dlgGoToLine.ShowDialog(GetEditCtrl(), FALSE, TRUE);
}

void CquorlinView::OnUpperCase() {
    GetEditCtrl()->UpperCaseSelection();
}

void CquorlinView::OnLowerCase() {
    GetEditCtrl()->LowerCaseSelection();
}

void CquorlinView::OnCollapseAll() {
    GetEditCtrl()->CollapseAll();
}

void CquorlinView::OnExpandAll() {
    GetEditCtrl()->ExpandAll();
}

void CquorlinView::OnToggleBookmark() {
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    pCtrl->ToggleBookmark(pCtrl->GetCurRow());
    Refresh();
}

void CquorlinView::OnNextBookmark() {
    GetEditCtrl()->NextBookmark();
}

void CquorlinView::OnPrevBookmark() {
    GetEditCtrl()->PrevBookmark();
}

void CquorlinView::OnUpdateBookmarkStep(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetEditCtrl()->HasBookmarks());
}

void CquorlinView::OnSyntaxOption() {
    CKLVSyntaxEditPropertiesDlg dlg(this);
    if (dlg.DoModal() == IDOK) static_cast<CquorlinApp*>(AfxGetApp())->UpdateAllDocuments(this);
}

void CquorlinView::OnContextMenu(CWnd*, CPoint point) {
    if (point.x == -1 && point.y == -1) {
        CRect rcClient;
        GetClientRect(&rcClient);
        ClientToScreen(&rcClient);
        point = rcClient.TopLeft() + CPoint(5, 5);
    }
    // The main menu's Edit popup.
    ShowFrameContextMenu(IDR_MAINFRAME, 1, point);
}
