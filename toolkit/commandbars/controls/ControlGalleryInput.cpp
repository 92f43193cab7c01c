// The gallery's keys, wheel and mouse: moving the selection by rows, columns and groups, the
// press and release of an item, the scroll bar's parts, and the hover preview told to the site.
#include "toolkit/commandbars/controls/ControlGallery.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controls/ComboBoxGalleryPopupBar.h"
#include "toolkit/commandbars/controls/ControlGalleryItems.h"

namespace {

BOOL IsKeyDown(int nKey) { return ::GetKeyState(nKey) < 0; }

}  // namespace

BOOL CKLVControlGallery::OnHookKeyDown(UINT nChar, LPARAM) {
    if (IsShowAsButton()) return FALSE;
    SyncLayout();
    // Left and right follow the reading order of a right-to-left bar.
    if (m_pParent && m_pParent->GetSafeHwnd() && (m_pParent->GetExStyle() & WS_EX_LAYOUTRTL)) {
        if (nChar == VK_LEFT)
            nChar = VK_RIGHT;
        else if (nChar == VK_RIGHT)
            nChar = VK_LEFT;
    }
    const int nCurrent = m_nSelectedItem;
    int nNext = nCurrent;
    switch (nChar) {
    case VK_TAB: {
        const int nDirection = IsKeyDown(VK_SHIFT) ? -1 : 1;
        nNext = GetNextSelectable(nCurrent, nDirection);
        // Past the last (or before the first) item the bar moves on to its next control.
        if (nNext < 0 || (nDirection > 0 ? nNext <= nCurrent : nNext >= nCurrent)) return FALSE;
        break;
    }
    case VK_RETURN:
        ExecuteItem();
        return TRUE;
    case VK_LEFT:
    case VK_RIGHT: nNext = GetNextInRow(nCurrent, nChar == VK_RIGHT ? 1 : -1); break;
    case VK_UP:
    case VK_DOWN:
        nNext = GetNextInColumn(nCurrent, nChar == VK_DOWN ? 1 : -1);
        if (nNext < 0) return FALSE;
        break;
    case VK_PRIOR:
    case VK_NEXT: {
        // About a page: down the column while the next item still lies within a page.
        const int nDirection = nChar == VK_NEXT ? 1 : -1;
        const int nPage = GetItemsRect().Height();
        const int nFrom = nCurrent >= 0 ? m_arrLayout[static_cast<size_t>(nCurrent)].rc.top : 0;
        for (int i = GetNextInColumn(nCurrent, nDirection); i >= 0; i = GetNextInColumn(i, nDirection)) {
            if (abs(m_arrLayout[static_cast<size_t>(i)].rc.top - nFrom) > nPage) break;
            nNext = i;
        }
        if (nNext < 0) return FALSE;
        break;
    }
    case VK_HOME: nNext = GetNextSelectable(-1, 1); break;
    case VK_END: nNext = GetNextSelectable(-1, -1); break;
    default: return FALSE;
    }
    SetSelectedItem(nNext);
    return TRUE;
}

BOOL CKLVControlGallery::OnHookMouseWheel(short zDelta) {
    if (IsShowAsButton()) return FALSE;
    CKLVControlGalleryItems* pItems = GetItems();
    const int nLine = pItems ? pItems->GetItemSize().cy : 0;
    SetScrollPos(m_nScrollPos - zDelta / WHEEL_DELTA * 3 * nLine);
    return TRUE;
}

void CKLVControlGallery::OnMouseMove(CPoint pt) {
    if (IsShowAsButton()) {
        CKLVControlPopup::OnMouseMove(pt);
        return;
    }
    if (pt == CPoint(-1, -1)) {
        if (m_nHotPart != partNone) {
            m_nHotPart = partNone;
            RedrawScrollBar();
        }
        EndHoverPreview();
        return;
    }
    SyncLayout();
    const int nHotPart = m_bShowScrollBar ? HitTest(pt) : partNone;
    if (nHotPart != m_nHotPart) {
        m_nHotPart = nHotPart;
        RedrawScrollBar();
    }
    if (nHotPart == partNone) OnMouseMoveItems(pt);
}

void CKLVControlGallery::OnMouseMoveItems(CPoint pt) {
    const int nIndex = HitTestItem(pt);
    // A selection the keys made stays while the mouse is over no item.
    if (nIndex < 0 && m_bKeyboardSelected) return;
    HoverItem(nIndex);
}

void CKLVControlGallery::HoverItem(int nIndex) {
    if (nIndex == m_nSelectedItem && !m_bKeyboardSelected && !m_bHideSelection) return;
    const BOOL bChanged = nIndex != m_nSelectedItem;
    MoveSelection(nIndex, FALSE);
    if (m_bPreview) {
        if (nIndex < 0) {
            m_bPreview = FALSE;
            NotifySite(notifyPreviewEnd);
        } else if (bChanged) {
            NotifySite(notifyPreviewChange);
        }
        return;
    }
    // The preview opens when the mouse rests on an item.
    if (nIndex >= 0 && m_pParent && m_pParent->GetSafeHwnd())
        m_pParent->SetTimer(CKLVCommandBar::timerHover, nHoverDelay, nullptr);
}

void CKLVControlGallery::CloseBarPopup() {
    const BOOL bHovered = m_nSelectedItem >= 0 && !m_bKeyboardSelected && !m_bHideSelection;
    if (!m_bPreview && bHovered && m_pParent && m_pParent->GetControl(m_pParent->m_nSelected) == this) {
        m_bPreview = TRUE;
        NotifySite(notifyPreviewStart);
        NotifySite(notifyPreviewChange);
    }
    CKLVControlPopup::CloseBarPopup();
}

void CKLVControlGallery::EndHoverPreview() {
    if (m_nSelectedItem < 0 || m_bKeyboardSelected) return;
    m_bHideSelection = TRUE;
    m_bKeyboardSelected = FALSE;
    CKLVControlGalleryItems* pItems = GetItems();
    if (pItems && pItems->m_bRedrawItemsOnSelect)
        RedrawItems(m_nSelectedItem, -1);
    else
        RedrawControl();
    if (!m_bPreview) return;
    NotifySite(notifyPreviewChange);
    m_bPreview = FALSE;
    NotifySite(notifyPreviewEnd);
}

void CKLVControlGallery::OnClick(BOOL bKeyboard, CPoint pt) {
    if (IsShowAsButton()) {
        CKLVControlPopup::OnClick(bKeyboard, pt);
        return;
    }
    if (IsCustomizeMode()) {
        OnCustomizeMouseDown(pt);
        return;
    }
    if (!GetEnabled()) return;
    if (bKeyboard) {
        ExecuteItem();
        return;
    }
    OnMouseMove(pt);
    if (m_nHotPart == partBeyond) {
        if (m_pParent) m_pParent->SetPopuped(m_nIndex);
        return;
    }
    if (m_nHotPart != partNone) {
        if (m_pParent && m_pParent->GetSafeHwnd()) PerformTrackInit(m_pParent->GetSafeHwnd(), pt, IsKeyDown(VK_SHIFT));
        return;
    }
    if (m_pParent && m_pParent->m_nPopuped >= 0 && m_pParent->m_nPopuped != m_nIndex) m_pParent->SetPopuped(-1);
    if (m_nSelectedItem >= 0 && !m_bKeyboardSelected) {
        m_bItemPressed = TRUE;
        RedrawControl();
    }
}

void CKLVControlGallery::OnMouseRelease(CPoint pt) {
    if (IsShowAsButton()) {
        CKLVControlPopup::OnMouseRelease(pt);
        return;
    }
    if (!m_bItemPressed) return;
    m_bItemPressed = FALSE;
    RedrawControl();
    ExecuteItem();
}

void CKLVControlGallery::ExecuteItem() {
    // In a combo box's drop-down the combo box takes the item and executes.
    if (auto* pDropDown = DYNAMIC_DOWNCAST(CKLVControlComboBoxGalleryPopupBar, m_pParent)) {
        pDropDown->OnGalleryItemChosen();
        return;
    }
    OnExecute();
}
