// The syntax views of one splitter window kept in step: rows repainted after a change in one of
// them, and scrolling followed by the panes that share a row (vertically) or a column
// (horizontally).
#include "toolkit/syntaxedit/view/SyntaxEditView.h"

#include "toolkit/syntaxedit/view/SyntaxEditDoc.h"

#include <algorithm>

namespace {

// A view brought into step does not bring the others along again.
BOOL g_bRefreshingSiblings = FALSE;

void RepaintNow(CKLVSyntaxEditCtrl* pCtrl) {
    if (!pCtrl->m_hWnd) return;
    pCtrl->Invalidate(FALSE);
    pCtrl->UpdateWindow();
}

}  // namespace

CSplitterWnd* CKLVSyntaxEditView::GetSharedSplitter(int* pRow, int* pCol) {
    CWnd* pParent = GetParent();
    if (!pParent || !pParent->IsKindOf(RUNTIME_CLASS(CSplitterWnd))) return nullptr;
    auto* pSplitter = static_cast<CSplitterWnd*>(pParent);
    // The pane's place comes from its id; a foreign id is clamped into the splitter.
    const int nId = GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
    if (pRow) *pRow = std::clamp(nId / 16, 0, std::max(pSplitter->GetRowCount() - 1, 0));
    if (pCol) *pCol = std::clamp(nId % 16, 0, std::max(pSplitter->GetColumnCount() - 1, 0));
    return pSplitter;
}

std::vector<CKLVSyntaxEditView::CSibling> CKLVSyntaxEditView::GetSiblingViews() {
    std::vector<CSibling> siblings;
    int nOwnRow = 0, nOwnCol = 0;
    CSplitterWnd* pSplitter = GetSharedSplitter(&nOwnRow, &nOwnCol);
    if (!pSplitter) return siblings;
    for (int r = 0; r < pSplitter->GetRowCount(); ++r) {
        for (int c = 0; c < pSplitter->GetColumnCount(); ++c) {
            CWnd* pPane = pSplitter->GetPane(r, c);
            if ((r == nOwnRow && c == nOwnCol) || !pPane || !pPane->IsKindOf(RUNTIME_CLASS(CKLVSyntaxEditView)))
                continue;
            const int nRelation = r == nOwnRow ? KLV_SYNTAXEDIT_SYNC_ROW
                                  : c == nOwnCol ? KLV_SYNTAXEDIT_SYNC_COLUMN
                                                 : KLV_SYNTAXEDIT_SYNC_OTHER;
            siblings.push_back({static_cast<CKLVSyntaxEditView*>(pPane), nRelation});
        }
    }
    return siblings;
}

void CKLVSyntaxEditView::RepaintSplitterSiblings(int nRow) {
    CKLVSyntaxEditDoc* pDoc = GetSyntaxDoc();
    if (!pDoc || !pDoc->GetFirstSyntaxView()) return;
    for (const CSibling& sibling : GetSiblingViews()) {
        CKLVSyntaxEditCtrl* pCtrl = sibling.pView->GetEditCtrl();
        if (!pCtrl->m_hWnd) continue;
        pCtrl->Invalidate(FALSE);
        if (nRow > 0) {
            pCtrl->SetDirtyRow(nRow);
            pCtrl->UpdateWindow();
        } else {
            pCtrl->SetDirtyRow(-1);
            pCtrl->RecalcLayout();
        }
    }
}

void CKLVSyntaxEditView::RefreshSiblings(int nFlags) {
    if (g_bRefreshingSiblings) return;
    g_bRefreshingSiblings = TRUE;
    if (GetSharedSplitter()) {
        for (const CSibling& sibling : GetSiblingViews()) sibling.pView->SyncWith(this, sibling.nRelation & nFlags);
    } else if (CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl(); pCtrl->m_hWnd) {
        pCtrl->UpdateScrollBars();
        RepaintNow(pCtrl);
    }
    g_bRefreshingSiblings = FALSE;
}

void CKLVSyntaxEditView::SyncWith(CKLVSyntaxEditView* pSource, int nMode) {
    if (!pSource || pSource == this) return;
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    CKLVSyntaxEditCtrl* pSourceCtrl = pSource->GetEditCtrl();
    pCtrl->SetDirtyRow(-1);
    pCtrl->UpdateScrollBars();
    const BOOL bSameFrame = GetParentFrame() == pSource->GetParentFrame();
    switch (nMode & 7) {
    case KLV_SYNTAXEDIT_SYNC_ROW:
        if (bSameFrame) {
            pCtrl->SetTopRow(pSourceCtrl->GetTopRow());
            pCtrl->UpdateVScrollBar();
        }
        RepaintNow(pCtrl);
        break;
    case KLV_SYNTAXEDIT_SYNC_COLUMN:
        if (bSameFrame) {
            pCtrl->EnsureVisible(pCtrl->GetTopRow(), pSourceCtrl->GetCurCol(), TRUE, FALSE);
            if (pCtrl->m_hWnd) pCtrl->SetCaretScreenPos(FALSE);
        }
        RepaintNow(pCtrl);
        break;
    case KLV_SYNTAXEDIT_SYNC_OTHER:
        RepaintNow(pCtrl);
        if (bSameFrame && pCtrl->m_hWnd) pCtrl->SetCaretScreenPos(FALSE);
        break;
    default:
        break;
    }
}

void CKLVSyntaxEditView::Refresh() {
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    pCtrl->SetDirtyRow(-1);
    if (m_hWnd) {
        Invalidate(FALSE);
        UpdateWindow();
    }
    RepaintNow(pCtrl);
    RefreshSiblings(KLV_SYNTAXEDIT_SYNC_ROW | KLV_SYNTAXEDIT_SYNC_COLUMN | KLV_SYNTAXEDIT_SYNC_OTHER);
}
