// The gallery's items: where each lies in the grid, the scroll position, the selection and its
// notifications, the searches, the state exchange and the drawing.
#include "toolkit/commandbars/controls/ControlGallery.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/paint/ControlGalleryPaintManager.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/controls/ControlGalleryItems.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/common/StartupRegistrations.h"

#include <algorithm>

KLV_IMPLEMENT_SERIAL(CKLVControlGallery, CKLVControlPopup)

CKLVControlGallery::CKLVControlGallery() {
    m_nType = typeGallery;
    m_nWidth = 120;
    m_nHeight = 60;
    m_dwFlags = flagPopupTooltip;
}

CKLVControlGallery::~CKLVControlGallery() {
    if (m_pOwnItems) m_pOwnItems->InternalRelease();
}

CKLVControlGalleryItems* CKLVControlGallery::GetItems() const {
    if (m_pAction && m_pAction->m_pItems) return static_cast<CKLVControlGalleryItems*>(m_pAction->m_pItems);
    return m_pOwnItems;
}

void CKLVControlGallery::SetItems(CKLVControlGalleryItems* pItems) {
    if (pItems) pItems->InternalAddRef();
    if (m_pAction) {
        if (m_pAction->m_pItems) m_pAction->m_pItems->InternalRelease();
        m_pAction->m_pItems = pItems;
    } else {
        if (m_pOwnItems) m_pOwnItems->InternalRelease();
        m_pOwnItems = pItems;
    }
    RepositionItems();
}

int CKLVControlGallery::GetItemCount() const {
    CKLVControlGalleryItems* pItems = GetItems();
    return pItems ? pItems->GetItemCount() : 0;
}

CKLVControlGalleryItem* CKLVControlGallery::GetItem(int nIndex) const {
    CKLVControlGalleryItems* pItems = GetItems();
    return pItems ? pItems->GetItem(nIndex) : nullptr;
}

CString CKLVControlGallery::GetItemCaption(int nIndex) const {
    CKLVControlGalleryItem* pItem = GetItem(nIndex);
    return pItem ? pItem->GetCaption() : CString();
}

CKLVControlGalleryPaintManager* CKLVControlGallery::GetScrollBarPaintManager() const {
    CKLVPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager ? pPaintManager->m_pGalleryPaintManager.get() : nullptr;
}

BOOL CKLVControlGallery::IsFollowedByControl() const {
    if (!m_pControls) return FALSE;
    for (int i = m_nIndex + 1; i < m_pControls->GetCount(); ++i)
        if (m_pControls->GetAt(i)->IsVisible()) return TRUE;
    return FALSE;
}

CRect CKLVControlGallery::GetBorders() const {
    CRect rc(0, 0, 0, 0);
    if (m_bShowBorders) rc.SetRect(1, 1, 1, 1);
    if (m_bShowScrollBar) {
        CKLVControlGalleryPaintManager* pPainter = GetScrollBarPaintManager();
        rc.right += HasDropDown() ? (pPainter ? pPainter->m_cxPopupScrollColumn : 16)
                                  : (pPainter ? pPainter->m_cxVScroll : ::GetSystemMetrics(SM_CXVSCROLL));
    }
    if (m_pParent && m_pParent->GetType() == CKLVCommandBar::barTypePopup && !m_bShowBorders && IsFollowedByControl())
        rc.bottom = 2;
    rc.left += m_rcMargin.left;
    rc.top += m_rcMargin.top;
    rc.right += m_rcMargin.right;
    rc.bottom += m_rcMargin.bottom;
    return rc;
}

CRect CKLVControlGallery::GetItemsRect() const {
    const CRect rcBorders = GetBorders();
    return CRect(m_rcControl.left + rcBorders.left, m_rcControl.top + rcBorders.top, m_rcControl.right - rcBorders.right,
                 m_rcControl.bottom - rcBorders.bottom);
}

void CKLVControlGallery::SetRect(CRect rc) {
    if (rc == m_rcControl) return;
    m_rcControl = rc;
    RepositionItems();
}

BOOL CKLVControlGallery::IsLayoutCurrent() const {
    const CKLVControlGalleryItems* pItems = GetItems();
    if (!pItems) return m_nLaidOutSerial == 0;
    return pItems->GetSerial() == m_nLaidOutSerial && pItems->GetRevision() == m_nLaidOutRevision;
}

void CKLVControlGallery::SyncLayout() {
    if (IsLayoutCurrent()) return;
    if (m_nSelectedItem >= GetItemCount()) {
        m_nSelectedItem = -1;
        m_bItemPressed = FALSE;
    }
    RepositionItems();
}

void CKLVControlGallery::RepositionItems() {
    m_arrLayout.clear();
    m_nTotalHeight = 0;
    const CKLVControlGalleryItems* pItems = GetItems();
    m_nLaidOutSerial = pItems ? pItems->GetSerial() : 0;
    m_nLaidOutRevision = pItems ? pItems->GetRevision() : 0;
    if (IsShowAsButton()) return;
    const CRect rcArea = GetItemsRect();
    int x = rcArea.left, y = rcArea.top, nRowHeight = 0;
    BOOL bFirstInRow = TRUE;
    for (int i = 0; i < GetItemCount(); ++i) {
        CKLVControlGalleryItem* pItem = GetItem(i);
        if (pItem->IsLabel()) {
            if (!m_bShowLabels) {
                m_arrLayout.push_back({CRect(0, 0, 0, 0), pItem, FALSE});
                continue;
            }
            // A label closes the open row and takes a band of its own, with a pixel beneath.
            const int nTop = y + (bFirstInRow ? 0 : nRowHeight);
            m_arrLayout.push_back({CRect(rcArea.left, nTop, rcArea.right, nTop + nLabelHeight), pItem, TRUE});
            y = nTop + nLabelHeight + 1;
            nRowHeight = 0;
            bFirstInRow = TRUE;
            x = rcArea.left;
            continue;
        }
        const CSize sz = pItem->GetSize();
        const int cx = sz.cx == 0 ? rcArea.Width() : sz.cx;
        const BOOL bWrap = !bFirstInRow && x + cx > rcArea.right;
        if (bWrap) {
            x = rcArea.left;
            y += nRowHeight;
            nRowHeight = 0;
        }
        m_arrLayout.push_back({CRect(x, y, x + cx, y + sz.cy), pItem, bWrap || bFirstInRow});
        nRowHeight = std::max<int>(nRowHeight, sz.cy);
        x += cx;
        bFirstInRow = FALSE;
    }
    m_nTotalHeight = y + nRowHeight - rcArea.top;
    UpdateScrollBar();
}

CRect CKLVControlGallery::GetItemDrawRect(int nIndex) const {
    if (!IsLayoutCurrent() || nIndex < 0 || nIndex >= static_cast<int>(m_arrLayout.size())) return CRect(0, 0, 0, 0);
    CRect rc = m_arrLayout[static_cast<size_t>(nIndex)].rc;
    if (rc.IsRectEmpty()) return rc;
    rc.OffsetRect(0, -m_nScrollPos);
    CRect rcDraw;
    rcDraw.IntersectRect(rc, GetItemsRect());
    return rcDraw;
}

int CKLVControlGallery::HitTestItem(CPoint pt, CRect* prcItem) const {
    if (!GetEnabled() || IsShowAsButton() || !IsLayoutCurrent()) return -1;
    const CRect rcArea = GetItemsRect();
    for (size_t i = 0; i < m_arrLayout.size(); ++i) {
        CRect rc = m_arrLayout[i].rc;
        rc.OffsetRect(0, -m_nScrollPos);
        if (rc.top >= rcArea.bottom) break;
        if (rc.IsRectEmpty() || !rc.PtInRect(pt)) continue;
        if (m_arrLayout[i].pItem->IsLabel()) return -1;
        if (prcItem) *prcItem = rc;
        return static_cast<int>(i);
    }
    return -1;
}

CRect CKLVControlGallery::GetScrollBarRect() {
    if (!m_bShowScrollBar) return CRect(0, 0, 0, 0);
    CRect rc = m_rcControl;
    if (m_bShowBorders) rc.DeflateRect(1, 1);
    CKLVControlGalleryPaintManager* pPainter = GetScrollBarPaintManager();
    const int cx = HasDropDown() ? (pPainter ? pPainter->m_cxPopupScrollColumn : 16)
                                 : (pPainter ? pPainter->m_cxVScroll : ::GetSystemMetrics(SM_CXVSCROLL));
    rc.left = rc.right - cx;
    return rc;
}

void CKLVControlGallery::GetScrollInfo(SCROLLINFO* pInfo) {
    pInfo->nMin = 0;
    pInfo->nMax = std::max(m_nTotalHeight - 1, 0);
    pInfo->nPage = static_cast<UINT>(std::max(GetItemsRect().Height(), 0));
    pInfo->nPos = m_nScrollPos;
}

void CKLVControlGallery::CalcScrollBarInfo(CRect rcBar, KLVScrollBarGeometry* pGeometry, const SCROLLINFO& si) {
    if (!HasDropDown()) {
        CKLVScrollHelper::CalcScrollBarInfo(rcBar, pGeometry, si);
        return;
    }
    // The button column: up and down buttons, the drop-down button below them; no thumb.
    CKLVControlGalleryPaintManager* pPainter = GetScrollBarPaintManager();
    const int cy = pPainter ? pPainter->m_cyScrollButton : 19;
    const int cyDown = pPainter ? pPainter->m_cyScrollButtonDown : 19;
    *pGeometry = KLVScrollBarGeometry();
    pGeometry->rcBar = rcBar;
    pGeometry->nMin = si.nMin;
    pGeometry->nMax = si.nMax;
    pGeometry->nPage = static_cast<int>(si.nPage);
    pGeometry->nPos = si.nPos;
    pGeometry->pxFirstArrowEnd = pGeometry->pxSecondArrowStart = rcBar.top + cy;
    pGeometry->pxThumbStart = pGeometry->pxThumbEnd = rcBar.top + cy;
    pGeometry->pxBarEnd = rcBar.top + cy + cyDown;
}

BOOL CKLVControlGallery::IsScrollBarEnabled() const {
    return GetEnabled() && m_nTotalHeight > GetItemsRect().Height();
}

BOOL CKLVControlGallery::IsScrollButtonEnabled(int nPart) const {
    if (!GetEnabled()) return FALSE;
    if (nPart == partFirstArrow) return m_nScrollPos > 0;
    if (nPart == partSecondArrow) return m_nTotalHeight - m_nScrollPos > GetItemsRect().Height();
    return TRUE;
}

CWnd* CKLVControlGallery::GetParentWindow() const { return m_pParent; }

void CKLVControlGallery::RedrawScrollBar() {
    if (m_pParent && m_pParent->GetSafeHwnd()) m_pParent->Redraw(&m_geometry.rcBar);
}

void CKLVControlGallery::RedrawControl() {
    if (m_pParent && m_pParent->GetSafeHwnd()) m_pParent->Redraw(&m_rcControl);
}

void CKLVControlGallery::RedrawItems(int nOld, int nNew) {
    if (!m_pParent || !m_pParent->GetSafeHwnd()) return;
    for (int n : {nOld, nNew}) {
        const CRect rc = GetItemDrawRect(n);
        if (!rc.IsRectEmpty()) m_pParent->Redraw(&rc);
    }
}

void CKLVControlGallery::SetScrollPos(int nScrollPos) {
    const int nMax = std::max(0, m_nTotalHeight - GetItemsRect().Height());
    nScrollPos = std::clamp(nScrollPos, 0, nMax);
    if (nScrollPos == m_nScrollPos) return;
    m_nScrollPos = nScrollPos;
    RepositionItems();
    RedrawScrollBar();
    RedrawControl();
}

void CKLVControlGallery::DoScroll(int nCode, int nPos) {
    CKLVControlGalleryItems* pItems = GetItems();
    const int nLine = pItems ? pItems->GetItemSize().cy : 0, nPage = GetItemsRect().Height();
    switch (nCode) {
    case SB_LINEUP: SetScrollPos(m_nScrollPos - nLine); break;
    case SB_LINEDOWN: SetScrollPos(m_nScrollPos + nLine); break;
    case SB_PAGEUP: SetScrollPos(m_nScrollPos - nPage); break;
    case SB_PAGEDOWN: SetScrollPos(m_nScrollPos + nPage); break;
    case SB_THUMBTRACK: SetScrollPos(nPos); break;
    case SB_TOP: SetScrollPos(0); break;
    case SB_BOTTOM: SetScrollPos(m_nTotalHeight); break;
    default: break;   // the thumb's final position and the end change nothing
    }
}

void CKLVControlGallery::EnsureVisible(int nIndex) {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_arrLayout.size())) return;
    const CRect rcArea = GetItemsRect();
    const CRect rc = m_arrLayout[static_cast<size_t>(nIndex)].rc;
    if (rc.IsRectEmpty()) return;
    if (rc.bottom - m_nScrollPos > rcArea.bottom) {
        SetScrollPos(rc.bottom - rcArea.bottom);
        return;
    }
    if (rc.top - m_nScrollPos >= rcArea.top) return;
    int nTop = rc.top;
    // The group's label comes into view with the item when both fit.
    for (int i = nIndex - 1; m_bShowLabels && i >= 0; --i) {
        const ItemLayout& label = m_arrLayout[static_cast<size_t>(i)];
        if (!label.pItem->IsLabel() || label.rc.IsRectEmpty()) continue;
        if (rc.bottom - label.rc.top <= rcArea.Height()) nTop = label.rc.top;
        break;
    }
    SetScrollPos(nTop - rcArea.top);
}

void CKLVControlGallery::MoveSelection(int nIndex, BOOL bKeyboard) {
    const int nOld = m_nSelectedItem;
    m_nSelectedItem = nIndex;
    m_bHideSelection = FALSE;
    m_bItemPressed = FALSE;
    m_bKeyboardSelected = bKeyboard;
    CKLVControlGalleryItems* pItems = GetItems();
    if (pItems && pItems->m_bRedrawItemsOnSelect)
        RedrawItems(nOld, nIndex);
    else
        RedrawControl();
}

void CKLVControlGallery::SetSelectedItem(int nIndex) {
    SyncLayout();
    MoveSelection(nIndex, TRUE);
    EnsureVisible(nIndex);
    if (nIndex >= 0 && m_pParent && m_pParent->GetSafeHwnd())
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, m_pParent->GetSafeHwnd(), m_nIndex + 1, nIndex + 1);
    NotifySelectionChanged();
}

void CKLVControlGallery::NotifySelectionChanged() {
    if (m_nSelectedItem < 0) {
        if (!m_bPreview) return;
        m_bPreview = FALSE;
        NotifySite(notifyPreviewEnd);
        return;
    }
    if (!m_bPreview) {
        m_bPreview = TRUE;
        NotifySite(notifyPreviewStart);
    }
    NotifySite(notifyPreviewChange);
}

int CKLVControlGallery::SelectableEnd(int nDirection) const {
    const int nCount = GetItemCount();
    for (int i = nDirection > 0 ? 0 : nCount - 1; i >= 0 && i < nCount; i += nDirection)
        if (!GetItem(i)->IsLabel()) return i;
    return -1;
}

int CKLVControlGallery::GetNextSelectable(int nIndex, int nDirection) const {
    const int nCount = GetItemCount();
    // From no selection the walk starts at an end and does not wrap: it always ends.
    if (nIndex < 0 || nIndex >= nCount) return SelectableEnd(nDirection);
    int i = nIndex;
    for (int nStep = 1; nStep < nCount; ++nStep) {
        i += nDirection;
        if (i >= nCount) i = 0;
        if (i < 0) i = nCount - 1;
        if (!GetItem(i)->IsLabel()) return i;
    }
    return -1;
}

int CKLVControlGallery::GetNextInRow(int nIndex, int nDirection) const {
    const int nCount = static_cast<int>(m_arrLayout.size());
    if (nIndex < 0 || nIndex >= nCount) return GetNextSelectable(-1, nDirection);
    CKLVControlGalleryItems* pItems = GetItems();
    const int cxItem = pItems ? pItems->GetItemSize().cx : 0;
    if (cxItem <= 0 || GetItemsRect().Width() / cxItem < 2) return nIndex;
    auto inRow = [&](int i) {
        return i >= 0 && i < nCount && !m_arrLayout[static_cast<size_t>(i)].pItem->IsLabel() &&
               !m_arrLayout[static_cast<size_t>(i)].rc.IsRectEmpty();
    };
    int nFirst = nIndex, nLast = nIndex;
    while (!m_arrLayout[static_cast<size_t>(nFirst)].bBeginRow && inRow(nFirst - 1)) --nFirst;
    while (inRow(nLast + 1) && !m_arrLayout[static_cast<size_t>(nLast + 1)].bBeginRow) ++nLast;
    if (nDirection > 0) return nIndex < nLast ? nIndex + 1 : nFirst;
    return nIndex > nFirst ? nIndex - 1 : nLast;
}

int CKLVControlGallery::GetNextInColumn(int nIndex, int nDirection) const {
    const int nCount = static_cast<int>(m_arrLayout.size());
    if (nIndex < 0 || nIndex >= nCount) return SelectableEnd(nDirection);
    const int x = m_arrLayout[static_cast<size_t>(nIndex)].rc.left;
    for (int i = nIndex + nDirection; i >= 0 && i < nCount; i += nDirection) {
        const ItemLayout& layout = m_arrLayout[static_cast<size_t>(i)];
        if (!layout.pItem->IsLabel() && !layout.rc.IsRectEmpty() && layout.rc.left == x) return i;
    }
    return -1;
}

int CKLVControlGallery::Find(int nStart, const CString& strText, BOOL bExact) const {
    const int nCount = GetItemCount(), nLength = strText.GetLength();
    if (nLength == 0 || nCount == 0) return -1;
    // Every item once, from the one after the start round to the start itself.
    const int nFirst = nStart < 0 || nStart >= nCount ? 0 : nStart + 1;
    for (int nStep = 0; nStep < nCount; ++nStep) {
        const int i = (nFirst + nStep) % nCount;
        const CString& strCaption = GetItem(i)->GetCaption();
        if (bExact ? strCaption.GetLength() != nLength : strCaption.GetLength() < nLength) continue;
        if (::CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, strCaption, nLength, strText, nLength) ==
            CSTR_EQUAL)
            return i;
    }
    return -1;
}

int CKLVControlGallery::FindItem(int nStart, const CString& strText) const { return Find(nStart, strText, FALSE); }

int CKLVControlGallery::FindItemExact(int nStart, const CString& strText) const { return Find(nStart, strText, TRUE); }

CSize CKLVControlGallery::GetSize(CDC* pDC) {
    if (!IsShowAsButton()) return CSize(m_nWidth, m_nHeight);
    // Measured as a button: the gallery's own size plays no part.
    const int nWidth = m_nWidth, nHeight = m_nHeight;
    m_nWidth = m_nHeight = 0;
    const CSize sz = CKLVControlPopup::GetSize(pDC);
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    return sz;
}

void CKLVControlGallery::Draw(CDC* pDC) {
    if (IsShowAsButton()) {
        CKLVControlPopup::Draw(pDC);
        return;
    }
    SyncLayout();
    CKLVControlGalleryPaintManager* pPainter = GetScrollBarPaintManager();
    if (!pPainter) return;
    pPainter->FillControl(pDC, this, m_rcControl);
    const CRect rcArea = GetItemsRect();
    const int nSaved = pDC->SaveDC();
    pDC->IntersectClipRect(&rcArea);
    const BOOL bEnabled = GetEnabled();
    for (size_t i = 0; i < m_arrLayout.size(); ++i) {
        const ItemLayout& layout = m_arrLayout[i];
        if (layout.rc.IsRectEmpty()) continue;
        CRect rc = layout.rc;
        rc.OffsetRect(0, -m_nScrollPos);
        if (rc.top >= rcArea.bottom) break;
        if (layout.pItem->IsLabel()) {
            pPainter->DrawLabel(pDC, layout.pItem->GetCaption(), rc);
            continue;
        }
        const BOOL bSelected = static_cast<int>(i) == m_nSelectedItem && !m_bHideSelection;
        layout.pItem->Draw(pDC, this, rc, bEnabled, bSelected, bSelected && m_bItemPressed);
    }
    pDC->RestoreDC(nSaved);
    if (!m_bShowScrollBar) return;
    if (HasDropDown())
        pPainter->DrawPopupScrollBar(pDC, this);
    else
        pPainter->DrawScrollBar(pDC, this);
}

void CKLVControlGallery::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVControlPopup::DoPropExchange(pPX);
    PX_Bool(pPX, "ShowLabels", m_bShowLabels, TRUE);
    PX_Bool(pPX, "ShowBorders", m_bShowBorders, TRUE);
    PX_Bool(pPX, "ShowScrollBar", m_bShowScrollBar, TRUE);
    PX_Rect(pPX, "GalleryMargin", m_rcMargin, CRect(0, 0, 0, 0));
}

void CKLVControlGallery::Copy(CKLVControl* pControl, BOOL bRecursive) {
    if (auto* pGallery = DYNAMIC_DOWNCAST(CKLVControlGallery, pControl)) {
        m_bShowLabels = pGallery->m_bShowLabels;
        m_bShowBorders = pGallery->m_bShowBorders;
        m_bShowScrollBar = pGallery->m_bShowScrollBar;
        m_rcMargin = pGallery->m_rcMargin;
        if (!pGallery->m_pAction && pGallery->m_pOwnItems) SetItems(pGallery->m_pOwnItems);
    }
    CKLVControlPopup::Copy(pControl, bRecursive);
}

CKLVCommandBar* CKLVControlGallery::GetCommandBar() const { return CKLVControlPopup::GetCommandBar(); }
