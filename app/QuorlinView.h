// The view of one editor tab: the syntax editor's view with the program's lexer configuration,
// Go To Line, case, folding and bookmark commands, the editor options and the Edit context menu.
#pragma once

#include "toolkit/syntaxedit/view/SyntaxEditGoToLineDlg.h"
#include "toolkit/syntaxedit/view/SyntaxEditView.h"

class CquorlinView : public CKLVSyntaxEditView {
    DECLARE_DYNCREATE(CquorlinView)
public:
    CquorlinView();

    CKLVSyntaxEditGoToLineDlg m_dlgGoToLine;

protected:
    afx_msg void OnGoToLine();
    afx_msg void OnUpperCase();
    afx_msg void OnLowerCase();
    afx_msg void OnCollapseAll();
    afx_msg void OnExpandAll();
    afx_msg void OnToggleBookmark();
    afx_msg void OnNextBookmark();
    afx_msg void OnPrevBookmark();
    afx_msg void OnUpdateBookmarkStep(CCmdUI* pCmdUI);
    afx_msg void OnSyntaxOption();
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    DECLARE_MESSAGE_MAP()
};
