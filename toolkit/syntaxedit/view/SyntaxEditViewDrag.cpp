// OLE drag and drop of text between syntax views: the drag started from a press in the
// selection, the process-wide state that tells a drop within one text from one between texts,
// and files dropped on a view passed to the main window.
#include "toolkit/syntaxedit/view/SyntaxEditView.h"

#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"
#include "toolkit/syntaxedit/view/SyntaxEditDoc.h"

#include <algorithm>

namespace {

// The drag under way in the process: whose text is dragged, and where a drop into that same
// text was recorded for the source to carry out.
struct CDragState {
    BOOL bDropPending = FALSE;
    CKLVSyntaxEditBufferManager* pSource = nullptr;
    CKLVSyntaxEditView* pTarget = nullptr;
    int nRow = 0;
    int nCol = 0;
};

CDragState g_dragState;

// The text of a dropped CF_TEXT block: read up to its terminator but never past the block.
CString ReadTextBlock(HGLOBAL hText) {
    CString strText;
    const SIZE_T nSize = ::GlobalSize(hText);
    const auto* pText = static_cast<const char*>(::GlobalLock(hText));
    if (!pText) return strText;
    const SIZE_T nLength = std::find(pText, pText + nSize, '\0') - pText;
    strText = CString(pText, static_cast<int>(nLength));
    ::GlobalUnlock(hText);
    return strText;
}

}  // namespace

DROPEFFECT CKLVSyntaxEditView::DoDragDrop(COleDataSource& source) {
    return source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
}

LRESULT CKLVSyntaxEditView::OnStartDrag(NMHDR*) {
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    HGLOBAL hText = pCtrl->GetSelectedTextHandle(CF_TEXT);
    if (!hText) return 0;
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, hText);
    if (HGLOBAL hUnicode = pCtrl->GetSelectedTextHandle(CF_UNICODETEXT)) source.CacheGlobalData(CF_UNICODETEXT, hUnicode);
    g_dragState = CDragState{};
    g_dragState.pSource = pCtrl->GetBuffer();
    m_bDragInProgress = TRUE;
    const DROPEFFECT effect = DoDragDrop(source);
    // The drag loop took the button's release: the press ends here.
    if (pCtrl->m_hWnd && ::GetCapture() == pCtrl->m_hWnd) ::ReleaseCapture();
    CPoint ptStart, ptEnd;
    const BOOL bSelection = pCtrl->GetSelection(ptStart, ptEnd);
    if (effect == DROPEFFECT_NONE) {
        if (!m_bDraggedOver) {
            if (pCtrl->m_bRightDrag) {
                pCtrl->ShowContextMenu();
            } else {
                CPoint pt;
                ::GetCursorPos(&pt);
                pCtrl->ScreenToClient(&pt);
                int nRow = 0, nCol = 0, nPos = 0;
                pCtrl->HitTest(pt, nRow, nCol, nPos);
                pCtrl->ClearSelection();
                pCtrl->SetCurPos(nRow, pCtrl->AlignColumn(pCtrl->GetRowText(nRow), std::max(nCol, 1)));
            }
        } else if (bSelection) {
            pCtrl->SetCurPos(ptStart.y, ptStart.x, TRUE);
        }
    } else if (g_dragState.bDropPending) {
        pCtrl->m_ptDrop = CPoint(g_dragState.nCol, g_dragState.nRow);
        pCtrl->DropText(effect == DROPEFFECT_COPY);
        CKLVSyntaxEditView* pTarget = g_dragState.pTarget;
        if (pTarget && pTarget != this) {
            pCtrl->ClearSelection();
            CKLVSyntaxEditCtrl* pTargetCtrl = pTarget->GetEditCtrl();
            pTargetCtrl->SetTopRow(pTargetCtrl->GetTopRow());
            pTargetCtrl->SetCurPos(pTargetCtrl->GetCurRow(), pTargetCtrl->GetCurCol());
        }
    } else {
        if (effect == DROPEFFECT_MOVE && bSelection) {
            pCtrl->DeleteSelection(TRUE);
            if (pCtrl->m_hWnd) pCtrl->UpdateWindow();
        } else if (bSelection) {
            pCtrl->SetCurPos(ptStart.y, ptStart.x, TRUE);
        }
    }
    pCtrl->m_bRightDrag = FALSE;
    m_bDragInProgress = m_bDraggedOver = FALSE;
    g_dragState = CDragState{};
    return 0;
}

DROPEFFECT CKLVSyntaxEditView::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    m_bDragHasText = pDataObject->IsDataAvailable(CF_TEXT);
    m_bDragHasFiles = pDataObject->IsDataAvailable(CF_HDROP);
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))) static_cast<CMDIChildWnd*>(pFrame)->MDIActivate();
    if (pFrame) pFrame->SetActiveView(this);
    return OnDragOver(pDataObject, dwKeyState, point);
}

DROPEFFECT CKLVSyntaxEditView::OnDragOver(COleDataObject*, DWORD dwKeyState, CPoint point) {
    if (m_bDragHasFiles) return DROPEFFECT_COPY;
    if (!m_bDragHasText) return DROPEFFECT_NONE;
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    int nRow = 0, nCol = 0, nPos = 0;
    pCtrl->HitTest(point, nRow, nCol, nPos);
    if (nRow >= 1) {
        // On the first or last row shown the text scrolls a row towards the mouse.
        const int nScreenRow = pCtrl->GetScreenRow(pCtrl->GetTopRow(), nRow);
        if (nScreenRow <= 1 && pCtrl->GetTopRow() > 1)
            pCtrl->ScrollBy(0, -1);
        else if (nScreenRow >= pCtrl->GetVisibleRowCount() && pCtrl->GetVisibleRowCount() > 1)
            pCtrl->ScrollBy(0, 1);
        pCtrl->SetCurPos(nRow, pCtrl->AlignColumn(pCtrl->GetRowText(nRow), std::max(nCol, 1)), TRUE);
        m_bDraggedOver = TRUE;
    }
    if (pCtrl->m_hWnd) pCtrl->SetFocus();
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void CKLVSyntaxEditView::OnDragLeave() {
    m_bDragHasText = m_bDragHasFiles = FALSE;
}

BOOL CKLVSyntaxEditView::OnDrop(COleDataObject* pDataObject, DROPEFFECT, CPoint point) {
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    if (m_bDragHasFiles) {
        m_bDragHasFiles = FALSE;
        if (HGLOBAL hDrop = pDataObject->GetGlobalData(CF_HDROP)) OnDropFiles(static_cast<HDROP>(hDrop));
        return TRUE;
    }
    if (g_dragState.pSource != pCtrl->GetBuffer()) {
        // Text from another text: it goes in at the caret as one step.
        HGLOBAL hText = pDataObject->GetGlobalData(CF_TEXT);
        if (!hText) return FALSE;
        const CString strText = ReadTextBlock(hText);
        ::GlobalFree(hText);
        pCtrl->ClearSelection();
        pCtrl->InsertText(strText, pCtrl->GetCurRow(), pCtrl->GetCurCharPos(), FALSE, TRUE);
        pCtrl->GetBuffer()->GetUndoManager()->SetLastCommandText(KLV_IDS_SYNTAXEDIT_PASTE);
        if (CDocument* pDoc = GetDocument()) pDoc->SetModifiedFlag(TRUE);
        pCtrl->m_bDragging = FALSE;
        return TRUE;
    }
    int nRow = 0, nCol = 0, nPos = 0;
    pCtrl->HitTest(point, nRow, nCol, nPos);
    nCol = pCtrl->AlignColumn(pCtrl->GetRowText(nRow), std::max(nCol, 1));
    if (pCtrl->IsSelectionExist() && pCtrl->IsInSelection(nRow, nCol) && g_dragState.pSource) {
        // Within the text being dragged: nothing moves.
        pCtrl->ClearSelection();
        return FALSE;
    }
    g_dragState.bDropPending = TRUE;
    g_dragState.nRow = nRow;
    g_dragState.nCol = nCol;
    g_dragState.pTarget = this;
    return TRUE;
}
