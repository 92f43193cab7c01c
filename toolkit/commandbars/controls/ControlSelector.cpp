#include "toolkit/commandbars/controls/ControlSelector.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/FlagScope.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/common/StartupRegistrations.h"

#include <algorithm>

KLV_IMPLEMENT_SERIAL(CKLVControlSelector, CKLVControl)

CSize CKLVControlSelector::GetSize(CDC*) {
    return CSize(m_szShown.cx * m_szItemSize.cx, m_szShown.cy * m_szItemSize.cy);
}

CRect CKLVControlSelector::GetCellRect(int nColumn, int nRow) const {
    const int w = m_szItemSize.cx, h = m_szItemSize.cy;
    const CPoint ptOrigin = m_rcControl.TopLeft();
    return CRect(ptOrigin.x + nColumn * w + 1, ptOrigin.y + nRow * h + 1, ptOrigin.x + (nColumn + 1) * w - 1,
                 ptOrigin.y + (nRow + 1) * h - 1);
}

void CKLVControlSelector::Draw(CDC* pDC) {
    CKLVColorManager* pColors = GetColorManager();
    CKLVPaintManager* pPaintManager = GetPaintManager();
    const COLORREF clrFrame = pPaintManager ? pPaintManager->GetThemeColor(43) : pColors->GetColor(COLOR_BTNSHADOW);
    const COLORREF clrContent = pPaintManager ? pPaintManager->GetThemeColor(46) : pColors->GetColor(COLOR_WINDOWTEXT);
    for (int nColumn = 0; nColumn < m_szShown.cx; ++nColumn) {
        for (int nRow = 0; nRow < m_szShown.cy; ++nRow) {
            const CRect rcCell = GetCellRect(nColumn, nRow);
            const BOOL bSelected = nColumn < m_szSelection.cx && nRow < m_szSelection.cy;
            pDC->FillSolidRect(&rcCell, pColors->GetColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
            pDC->Draw3dRect(&rcCell, clrFrame, clrFrame);
            DrawItem(pDC, rcCell, bSelected ? pColors->GetColor(COLOR_HIGHLIGHTTEXT) : clrContent);
        }
    }
}

void CKLVControlSelector::SetSelection(CSize szSelection, BOOL bForce) {
    if (szSelection == m_szSelection && !bForce) return;
    m_szSelection = szSelection;
    RedrawParent(FALSE);
    NotifySite(notifySelectionChanged);
}

void CKLVControlSelector::OnMouseMove(CPoint pt) {
    CSize szSelection(0, 0);
    while (szSelection.cx < m_szShown.cx && GetCellRect(szSelection.cx, 0).left - 1 < pt.x) ++szSelection.cx;
    while (szSelection.cy < m_szShown.cy && GetCellRect(0, szSelection.cy).top - 1 < pt.y) ++szSelection.cy;
    SetSelection(szSelection);
}

BOOL CKLVControlSelector::SetSelected(int bSelected) {
    const BOOL bChanged = CKLVControl::SetSelected(bSelected);
    if (!bSelected && IsLeftButtonHeld()) GrowTowards(GetCursorPoint());
    return bChanged;
}

void CKLVControlSelector::GrowTowards(CPoint pt) {
    const CRect& rc = m_rcControl;
    const CRect rcGrid(rc.TopLeft(), GetSize(nullptr));
    if (pt.x < rcGrid.right && pt.y < rcGrid.bottom) {
        SetSelection(CSize(0, 0));
        return;
    }
    CSize szShown = m_szShown;
    if (pt.x >= rcGrid.right) szShown.cx = std::min<LONG>((pt.x - rc.left) / m_szItemSize.cx + 1, m_szItemsMax.cx);
    if (pt.y >= rcGrid.bottom) szShown.cy = std::min<LONG>((pt.y - rc.top) / m_szItemSize.cy + 1, m_szItemsMax.cy);
    if (szShown == m_szShown) {
        SetSelection(CSize(0, 0));
        return;
    }
    m_szShown = szShown;
    RedrawParent(FALSE);
    NotifySite(notifySelectionChanged);
    if (m_pParent) {
        CKLVFlagScope keep(m_bKeepGrid);
        m_pParent->OnRecalcLayout();
    }
    OnMouseMove(pt);
}

CPoint CKLVControlSelector::GetCursorPoint() const {
    CPoint pt;
    ::GetCursorPos(&pt);
    if (m_pParent && m_pParent->GetSafeHwnd()) m_pParent->ScreenToClient(&pt);
    return pt;
}

void CKLVControlSelector::PrepareDynamicLayout(int) {
    if (m_bKeepGrid) return;
    m_szSelection = CSize(0, 0);
    m_szShown = m_szItemsCount;
    RedrawParent(FALSE);
    NotifySite(notifySelectionChanged);
}

void CKLVControlSelector::OnMouseRelease(CPoint) {
    if (m_szSelection.cx <= 0 || m_szSelection.cy <= 0) return;
    m_szResult = m_szSelection;
    OnExecute();
}

void CKLVControlSelector::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVControl::DoPropExchange(pPX);
    PX_Size(pPX, "ItemsCount", m_szItemsCount, CSize(5, 4));
    PX_Size(pPX, "ItemsMax", m_szItemsMax, CSize(12, 12));
    PX_Size(pPX, "ItemSize", m_szItemSize, CSize(28, 28));
    if (pPX->IsLoading()) m_szShown = m_szItemsCount;
}

void CKLVControlSelector::Copy(CKLVControl* pControl, BOOL bRecursive) {
    if (auto* pSelector = DYNAMIC_DOWNCAST(CKLVControlSelector, pControl)) {
        m_szItemsCount = pSelector->m_szItemsCount;
        m_szItemsMax = pSelector->m_szItemsMax;
        m_szItemSize = pSelector->m_szItemSize;
        m_szShown = m_szItemsCount;
    }
    CKLVControl::Copy(pControl, bRecursive);
}
