#include "toolkit/tabs/TabManager.h"

#include "toolkit/common/DrawHelpers.h"
#include "toolkit/tabs/TabPainter.h"
#include "toolkit/tabs/TabStyle.h"

#include <algorithm>

void CKLVTabRows::SetRowCount(int nRows) {
    if (nRows <= 0) return;
    m_arrRows.assign(nRows, ROW{0, 0});
    m_arrRows[0] = ROW{0, m_pManager->GetItemCount() - 1};
}

CKLVTabManager::CKLVTabManager() : m_pRowIndexer(std::make_unique<CKLVTabRows>(this)) {
    m_arrNavigateButtons.push_back(new CKLVTabManagerNavigateButtonScroll(this, FALSE));
    m_arrNavigateButtons.push_back(new CKLVTabManagerNavigateButtonScroll(this, TRUE));
    m_arrNavigateButtons.push_back(new CKLVTabManagerNavigateButtonClose(this, CKLVTabManagerNavigateButton::showNever));
}

CKLVTabManager::~CKLVTabManager() {
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
        m_arrItems[i]->m_pTabManager = nullptr;
        m_arrItems[i]->InternalRelease();
    }
    m_arrItems.RemoveAll();
    while (!m_arrNavigateButtons.empty()) {
        delete m_arrNavigateButtons.back();
        m_arrNavigateButtons.pop_back();
    }
}

COLORREF CKLVTabManager::GetItemColor(const CKLVTabManagerItem* pItem) const {
    return CKLVTabPainter::GetPresetItemColor(pItem->m_clrItem);
}

void CKLVTabManager::OnItemsChanged() {
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) m_arrItems[i]->m_nIndex = static_cast<int>(i);
    Reposition();
}

void CKLVTabManager::SetSelectedItem(CKLVTabManagerItem* pItem) {
    if (m_pSelected == pItem) return;
    m_pSelected = pItem;
    Reposition();
    if (pItem) EnsureVisible(pItem);
}

void CKLVTabManager::OnItemClick(CKLVTabManagerItem* pItem) {
    if (pItem && OnBeforeItemClick(pItem)) SelectItem(pItem);
}

BOOL CKLVTabManager::GetItemMetrics(CSize* pszNormal, CSize* pszMin, CSize* pszMax) const {
    CKLVTabPainter* pPaintManager = GetPaintManager();
    if (pszNormal) *pszNormal = CSize(pPaintManager->m_nFixedTabWidth, 0);
    if (pszMin) *pszMin = CSize(pPaintManager->m_nMinTabWidth, 0);
    if (pszMax) *pszMax = CSize(pPaintManager->m_nMaxTabWidth, 0);
    return TRUE;
}

void CKLVTabManager::SetItemMetrics(CSize szNormal, CSize szMin, CSize szMax) {
    CKLVTabPainter* pPaintManager = GetPaintManager();
    pPaintManager->m_nFixedTabWidth = szNormal.cx;
    pPaintManager->m_nMinTabWidth = szMin.cx;
    pPaintManager->m_nMaxTabWidth = szMax.cx;
    Reposition();
}

BOOL CKLVTabManager::IsDrawStaticFrame() const { return GetPaintManager()->m_bStaticFrame; }
int CKLVTabManager::GetPosition() const { return GetPaintManager()->GetPosition(); }
int CKLVTabManager::GetLayout() const { return GetPaintManager()->GetLayout(); }
BOOL CKLVTabManager::DrawParentBackground(CDC*, const CRect&) { return FALSE; }

void CKLVTabManager::OnScroll(BOOL bForward) {
    int nOffset = std::min(0, m_nHeaderOffset + (bForward ? -m_nScrollDelta : m_nScrollDelta));
    if (nOffset == m_nHeaderOffset) return;
    m_nHeaderOffset = nOffset;
    Reposition();
}

void CKLVTabManager::SetScrollOffset(int nOffset) {
    nOffset = std::min(0, nOffset);
    if (nOffset == m_nHeaderOffset) return;
    m_nHeaderOffset = nOffset;
    Reposition();
}

void CKLVTabManager::SetActive(BOOL bActive) {
    if (m_bActive == bActive) return;
    m_bActive = bActive;
    Reposition();
}

void CKLVTabManager::EnsureVisible(CKLVTabManagerItem* pItem) {
    if (pItem) GetPaintManager()->EnsureVisible(this, pItem);
}

CKLVTabManagerItem* CKLVTabManager::InsertItem(int nIndex, CKLVTabManagerItem* pItem) {
    if (!pItem) pItem = new CKLVTabManagerItem;
    pItem->m_pTabManager = this;
    if (nIndex < 0 || nIndex > GetItemCount()) nIndex = GetItemCount();
    m_arrItems.InsertAt(nIndex, pItem);
    pItem->m_clrItem = GetPaintManager()->NextPresetColor();
    if (m_nItemCloseMode != 0) pItem->AddButton(new CKLVTabManagerNavigateButtonClose(this, m_nItemCloseMode));
    for (int i = 0; i < pItem->GetButtonCount(); ++i) pItem->GetButton(i)->m_pItem = pItem;
    OnItemsChanged();
    return pItem;
}

BOOL CKLVTabManager::DeleteItem(int nIndex) {
    if (nIndex < 0 || nIndex >= GetItemCount()) return FALSE;
    CKLVTabManagerItem* pItem = m_arrItems[nIndex];
    // A tab that goes must leave no pointer behind in the hot, pressed or hot-button state.
    if (m_pHighlighted == pItem) m_pHighlighted = nullptr;
    if (m_pPressed == pItem) m_pPressed = nullptr;
    if (m_pHighlightedNavigateButton && m_pHighlightedNavigateButton->m_pItem == pItem)
        m_pHighlightedNavigateButton = nullptr;
    const BOOL bSelected = m_pSelected == pItem;
    m_arrItems.RemoveAt(nIndex);
    // The tab's own buttons go with its last reference: a button loop may still run on one.
    pItem->m_pTabManager = nullptr;
    pItem->InternalRelease();
    if (bSelected) {
        m_pSelected = nullptr;
        SetCurSel(nIndex);
    }
    OnItemsChanged();
    return TRUE;
}

void CKLVTabManager::DeleteAllItems() {
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
        m_arrItems[i]->m_pTabManager = nullptr;
        m_arrItems[i]->InternalRelease();
    }
    m_arrItems.RemoveAll();
    m_pSelected = m_pHighlighted = m_pPressed = nullptr;
    if (m_pHighlightedNavigateButton && m_pHighlightedNavigateButton->m_pItem) m_pHighlightedNavigateButton = nullptr;
    OnItemsChanged();
}

CKLVTabManagerItem* CKLVTabManager::GetItem(int nIndex) const {
    return nIndex >= 0 && nIndex < GetItemCount() ? m_arrItems[nIndex] : nullptr;
}

void CKLVTabManager::SetCurSel(int nIndex) {
    if (GetItemCount() == 0) {
        SetSelectedItem(nullptr);
        return;
    }
    SetSelectedItem(m_arrItems[std::clamp(nIndex, 0, GetItemCount() - 1)]);
}

int CKLVTabManager::GetItemsLength() const {
    if (GetLayout() == CKLVTabPainter::layoutRotated)
        return GetPaintManager()->GetAppearanceSet()->GetRowHeight(const_cast<CKLVTabManager*>(this)) * GetItemCount();
    int nLength = 0;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) nLength += m_arrItems[i]->m_nLength;
    return nLength;
}

CKLVTabManagerNavigateButton* CKLVTabManager::FindNavigateButton(UINT nID) const {
    for (CKLVTabManagerNavigateButton* pButton : m_arrNavigateButtons)
        if (pButton->m_nID == nID) return pButton;
    return nullptr;
}

CKLVTabManagerItem* CKLVTabManager::HitTest(CPoint pt) const {
    if (!m_rcControl.PtInRect(pt)) return nullptr;
    if (!m_rcHeaderRect.IsRectEmpty() && !m_rcHeaderRect.PtInRect(pt)) return nullptr;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
        CKLVTabManagerItem* pItem = m_arrItems[i];
        if (pItem->m_rcItem.PtInRect(pt) && pItem->m_bEnabled && pItem->m_bVisible) return pItem;
    }
    return nullptr;
}

namespace {

// The first button of the list under the point; a disabled one hides what lies below it.
CKLVTabManagerNavigateButton* HitTestButtons(CKLVTabManagerNavigateButton* const* ppButtons, int nCount, CPoint pt,
                                             int* pnIndex, BOOL& bFound) {
    for (int i = 0; i < nCount; ++i) {
        if (!ppButtons[i]->m_rcButton.PtInRect(pt)) continue;
        bFound = TRUE;
        if (pnIndex) *pnIndex = i;
        return ppButtons[i]->m_bEnabled ? ppButtons[i] : nullptr;
    }
    return nullptr;
}

}  // namespace

CKLVTabManagerNavigateButton* CKLVTabManager::HitTestNavigateButton(CPoint pt, BOOL bIgnoreItemButtons,
                                                                    int* pnIndex) const {
    BOOL bFound = FALSE;
    CKLVTabManagerNavigateButton* pButton =
        HitTestButtons(m_arrNavigateButtons.data(), GetNavigateButtonCount(), pt, pnIndex, bFound);
    if (bFound || bIgnoreItemButtons) return pButton;
    CKLVTabManagerItem* pItem = HitTest(pt);
    if (!pItem || pItem->GetButtonCount() == 0) return nullptr;
    std::vector<CKLVTabManagerNavigateButton*> arrButtons;
    for (int i = 0; i < pItem->GetButtonCount(); ++i) arrButtons.push_back(pItem->GetButton(i));
    return HitTestButtons(arrButtons.data(), static_cast<int>(arrButtons.size()), pt, pnIndex, bFound);
}

CKLVTabManagerItem* CKLVTabManager::FindNextFocusable(int nIndex, int nDirection) const {
    for (nIndex += nDirection; nIndex >= 0 && nIndex < GetItemCount(); nIndex += nDirection) {
        CKLVTabManagerItem* pItem = m_arrItems[nIndex];
        if (!pItem) return nullptr;
        if (pItem->m_bVisible && pItem->m_bEnabled) return pItem;
    }
    return nullptr;
}

BOOL CKLVTabManager::IsNavigateButtonAllowed(CKLVTabManagerNavigateButton* pButton) const {
    if (pButton->m_nID != CKLVTabManagerNavigateButton::idClose) return TRUE;
    return m_pSelected ? m_pSelected->m_bClosable : FALSE;
}

void CKLVTabManager::MoveKeySelection(UINT nChar) {
    const BOOL bHorizontal = IsHorizontalPosition();
    const BOOL bBack = nChar == VK_LEFT || nChar == VK_UP;
    if (bHorizontal != (nChar == VK_LEFT || nChar == VK_RIGHT) || !m_pSelected) return;
    const int nIndex = m_pSelected->m_nIndex;
    if (bBack ? nIndex > 0 : nIndex < GetItemCount() - 1) OnItemClick(FindNextFocusable(nIndex, bBack ? -1 : 1));
}

BOOL CKLVTabManager::PerformKeyDown(HWND hWnd, UINT nChar) {
    if (GetItemCount() == 0) return FALSE;
    if (hWnd && (::GetWindowLongPtrA(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)) {
        if (nChar == VK_LEFT) nChar = VK_RIGHT;
        else if (nChar == VK_RIGHT) nChar = VK_LEFT;
    }
    switch (nChar) {
    case VK_HOME: OnItemClick(FindNextFocusable(-1, 1)); return TRUE;
    case VK_END: OnItemClick(FindNextFocusable(GetItemCount(), -1)); return TRUE;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: MoveKeySelection(nChar); return TRUE;
    default: return FALSE;
    }
}

BOOL CKLVTabManager::PerformClick(HWND hWnd, CPoint pt, BOOL bNoItemClick) {
    if (CKLVTabManagerNavigateButton* pButton = HitTestNavigateButton(pt, FALSE)) {
        pButton->PerformClick(hWnd, pt);
        return TRUE;
    }
    if (bNoItemClick) return FALSE;
    CKLVTabManagerItem* pItem = HitTest(pt);
    if (!pItem || !OnBeforeItemClick(pItem)) return FALSE;
    if (IsAllowReorder()) ReorderItem(hWnd, pt, pItem);
    else if (GetPaintManager()->m_bSelectOnButtonDown) SelectItem(pItem);
    else TrackClick(hWnd, pt, pItem);
    return TRUE;
}

void CKLVTabManager::TrackMouseLeave(HWND hWnd) {
    TRACKMOUSEEVENT tme = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, hWnd, 0};
    ::TrackMouseEvent(&tme);
}

void CKLVTabManager::SetHotItem(HWND hWnd, CKLVTabManagerItem* pItem) {
    if (m_pHighlighted == pItem) return;
    CKLVTabStyle* pAppearance = GetPaintManager()->GetAppearanceSet();
    if (m_pHighlighted) {
        CRect rc = pAppearance->GetItemDrawRect(m_pHighlighted);
        RedrawControl(&rc, FALSE);
    }
    m_pHighlighted = pItem;
    if (pItem) {
        CRect rc = pAppearance->GetItemDrawRect(pItem);
        RedrawControl(&rc, FALSE);
        if (hWnd) TrackMouseLeave(hWnd);
    }
}

void CKLVTabManager::SetHotButton(HWND hWnd, CKLVTabManagerNavigateButton* pButton) {
    if (m_pHighlightedNavigateButton == pButton) return;
    if (m_pHighlightedNavigateButton) RedrawControl(&m_pHighlightedNavigateButton->m_rcButton, TRUE);
    m_pHighlightedNavigateButton = pButton;
    if (pButton) {
        RedrawControl(&pButton->m_rcButton, FALSE);
        if (hWnd) TrackMouseLeave(hWnd);
    }
}

void CKLVTabManager::PerformMouseMove(HWND hWnd, CPoint pt) {
    if ((hWnd && !CKLVDrawHelpers::IsTopParentActive(hWnd)) || IsMouseLocked()) {
        SetHotItem(hWnd, nullptr);
        return;
    }
    if (GetPaintManager()->m_bHotTracking) SetHotItem(hWnd, HitTest(pt));
    SetHotButton(hWnd, HitTestNavigateButton(pt, FALSE));
}

INT_PTR CKLVTabManager::PerformToolHitTest(HWND hWnd, CPoint pt, TOOLINFO* pTI) {
    if (IsMouseLocked()) return -1;
    int nIndex = -1;
    CKLVTabManagerNavigateButton* pButton = HitTestNavigateButton(pt, FALSE, &nIndex);
    if (pButton && !pButton->m_strToolTip.IsEmpty()) {
        if (pTI) {
            pTI->hwnd = hWnd;
            pTI->uId = static_cast<UINT_PTR>(nIndex);
            pTI->rect = pButton->m_rcButton;
            pTI->lpszText = _strdup(pButton->m_strToolTip);
        }
        return nIndex;
    }
    CKLVTabManagerItem* pItem = HitTest(pt);
    const int nMode = GetPaintManager()->m_nToolTipMode;
    if (!pItem || nMode == 0 || (nMode == 2 && pItem->m_nLength >= pItem->m_nContentLength)) return -1;
    CString strTip = GetItemTooltip(pItem);
    if (strTip.IsEmpty()) return -1;
    if (pTI) {
        pTI->hwnd = hWnd;
        pTI->uId = static_cast<UINT_PTR>(pItem->m_nIndex);
        pTI->rect = pItem->m_rcItem;
        pTI->lpszText = _strdup(strTip);
    }
    return pItem->m_nIndex;
}
