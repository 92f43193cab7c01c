// The edit control's right button and drops: dragging the selection with the right button, the
// drag menu (move, copy, cancel), the context menu handed to the parent, and dropping text.
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

#include <algorithm>

void CKLVSyntaxEditCtrl::OnRButtonDown(UINT nFlags, CPoint pt) {
    HitTestSelection(pt);
    const BOOL bInSelection = m_bSelection && m_bPressedInSelection;
    m_bDragging = m_bSelecting = m_bArmed = FALSE;
    m_nVirtualCol = 0;
    int nRow = 0, nCol = 0, nPos = 0;
    HitTest(pt, nRow, nCol, nPos);
    if (!bInSelection) {
        SetCurRow(nRow);
        const CString& strRow = GetRowText(m_nCurRow);
        m_nDispCol = m_nPrefCol = AlignColumn(strRow, std::max(nCol, 1));
        m_nCurCharPos = ColumnToCharPos(strRow, m_nDispCol);
        SetCaretScreenPos(TRUE);
        if (m_bSelection) {
            m_bSelection = FALSE;
            m_nDirtyRow = -1;
            Invalidate(FALSE);
        }
    }
    NotifyValue(KLVSEN_MOUSEDOWN, 0);
    KillTimer(kTimerAutoScroll);
    SetOwnCapture();
    if (bInSelection) {
        m_bRightDrag = TRUE;
        if (m_bParentDragDrop)
            NotifyValue(KLVSEN_STARTDRAG, 0);
        else
            m_bDragging = TRUE;
    }
    if (!m_bSelection && !m_bParentDragDrop) SetCurPos(nRow, std::max(nCol, 1), FALSE, TRUE);
    CWnd::OnRButtonDown(nFlags, pt);
}

void CKLVSyntaxEditCtrl::OnContextMenu(CWnd* pWnd, CPoint pos) {
    ReleaseOwnCapture();
    if (m_bRightDrag && m_bDragging && m_bDropAllowed) {
        ShowDragMenu(pos);
    } else {
        m_bDragging = FALSE;
        CPoint ptClient = pos;
        ScreenToClient(&ptClient);
        CRect rcClient;
        GetClientRect(&rcClient);
        CWnd* pParent = GetParent();
        if (pParent && rcClient.PtInRect(ptClient)) {
            ::HideCaret(m_hWnd);
            pParent->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(pWnd ? pWnd->GetSafeHwnd() : m_hWnd),
                                 MAKELPARAM(pos.x, pos.y));
            ::ShowCaret(m_hWnd);
            Invalidate(FALSE);
        }
    }
    m_bRightDrag = FALSE;
    SetCaretScreenPos(FALSE);
}

void CKLVSyntaxEditCtrl::ShowContextMenu() {
    CPoint pos;
    ::GetCursorPos(&pos);
    OnContextMenu(this, pos);
}

void CKLVSyntaxEditCtrl::ShowDragMenu(CPoint pos) {
    CMenu menu;
    if (!menu.CreatePopupMenu()) return;
    const struct {
        UINT nCommand;
        UINT nString;
    } items[] = {{KLV_ID_SYNTAXEDIT_DROPMOVE, KLV_IDS_SYNTAXEDIT_MOVEHERE},
                 {KLV_ID_SYNTAXEDIT_DROPCOPY, KLV_IDS_SYNTAXEDIT_COPYHERE},
                 {0, 0},
                 {IDCANCEL, KLV_IDS_SYNTAXEDIT_CANCELDROP}};
    for (const auto& item : items) {
        CString strText;
        if (!item.nCommand)
            menu.AppendMenu(MF_SEPARATOR);
        else if (strText.LoadString(item.nString))
            menu.AppendMenu(MF_STRING, item.nCommand, strText);
    }
    const UINT nCommand = ::TrackPopupMenu(menu.GetSafeHmenu(), TPM_RETURNCMD | TPM_RIGHTBUTTON, pos.x, pos.y, 0,
                                           m_hWnd, nullptr);
    if (nCommand == KLV_ID_SYNTAXEDIT_DROPMOVE || nCommand == KLV_ID_SYNTAXEDIT_DROPCOPY)
        DropText(nCommand == KLV_ID_SYNTAXEDIT_DROPCOPY);
    m_bDragging = m_bDropAllowed = FALSE;
}

void CKLVSyntaxEditCtrl::OnDropMove() {
    DropText(FALSE);
    m_bRightDrag = FALSE;
}

void CKLVSyntaxEditCtrl::OnDropCopy() {
    DropText(TRUE);
    m_bRightDrag = FALSE;
}

void CKLVSyntaxEditCtrl::DropText(BOOL bCopy) {
    if (!m_pBuffer || !m_bSelection) return;
    const CPoint ptDrop = m_ptDrop;
    if (ptDrop.y < 1 || IsInSelection(ptDrop.y, ptDrop.x)) {
        ClearSelection();
        return;
    }
    CString strText;
    GetSelectedText(strText);
    const BOOL bColumn = m_bColumnSelection;
    const CPoint ptStart = GetOrderedSelection(TRUE), ptEnd = GetOrderedSelection(FALSE);
    int nDropRow = ptDrop.y;
    int nDropPos = ColumnToCharPos(GetRowText(nDropRow), ptDrop.x);
    if (!bCopy) {
        const int nStartPos = ColumnToCharPos(GetRowText(ptStart.y), ptStart.x);
        const int nEndPos = ColumnToCharPos(GetRowText(ptEnd.y), ptEnd.x);
        const BOOL bAfter = nDropRow > ptEnd.y || (nDropRow == ptEnd.y && nDropPos >= nEndPos);
        if (!DeleteSelection(FALSE)) return;
        // A drop behind the removed text moves up with it.
        if (bColumn) {
            if (nDropRow >= ptStart.y && nDropRow <= ptEnd.y && nDropPos >= nEndPos) nDropPos -= nEndPos - nStartPos;
        } else if (bAfter) {
            if (nDropRow == ptEnd.y) nDropPos = nStartPos + nDropPos - nEndPos;
            nDropRow -= ptEnd.y - ptStart.y;
        }
    }
    const int nColumn = CharPosToColumn(GetRowText(nDropRow), nDropPos);
    if (bColumn)
        InsertColumnText(strText, nDropRow, nDropPos, FALSE, FALSE);
    else
        InsertText(strText, nDropRow, nDropPos, FALSE, FALSE);
    CKLVSyntaxEditUndoManager* pUndo = m_pBuffer->GetUndoManager();
    if (!bCopy) pUndo->ChainLastCommand();
    pUndo->SetLastCommandText(bCopy ? KLV_IDS_SYNTAXEDIT_COPY : KLV_IDS_SYNTAXEDIT_MOVE);
    m_bSelection = TRUE;
    m_ptSelStart = CPoint(nColumn, nDropRow);
    m_ptSelEnd = CPoint(m_nDispCol, m_nCurRow);
    m_nDirtyRow = -1;
    EnsureVisible(m_nCurRow, m_nDispCol, TRUE, TRUE);
    NotifyValue(KLVSEN_MODIFIED, 1);
}
