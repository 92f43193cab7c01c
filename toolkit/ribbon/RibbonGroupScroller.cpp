#include "toolkit/ribbon/RibbonGroupScroller.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/ribbon/RibbonBar.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonTabPopupToolBar.h"

#include <algorithm>

void CKLVRibbonGroupScroller::ShowButtons(BOOL bLeft, BOOL bRight) {
    m_bLeftVisible = bLeft;
    m_bRightVisible = bRight;
    PlaceButtons();
}

void CKLVRibbonGroupScroller::Step(BOOL bRight) {
    m_nOffset = bRight ? m_nOffset + scrollStep : std::max(0, m_nOffset - scrollStep);
}

CKLVRibbonGroupScroller* CKLVRibbonGroupScroller::Of(CKLVCommandBar* pBar) {
    if (auto* pRibbon = DYNAMIC_DOWNCAST(CKLVRibbonBar, pBar)) return pRibbon->GetScroller();
    if (auto* pPopup = DYNAMIC_DOWNCAST(CKLVRibbonTabPopupToolBar, pBar)) return pPopup->GetScroller();
    return nullptr;
}

BOOL CKLVRibbonGroupScroller::ScrollIntoView(const CKLVControl* pControl) {
    if (!pControl || !CKLVRibbonGroup::Of(pControl)) return FALSE;
    const CRect rc = pControl->GetRect();
    const int nLeft = rc.left - m_rcBounds.left;
    int nOffset = m_nOffset;
    if (nLeft < visibleMargin && m_bLeftVisible)
        nOffset = std::max(0, nOffset - (visibleMargin - nLeft));
    else if (rc.right > m_rcBounds.right && m_bRightVisible)
        nOffset += rc.right - m_rcBounds.right + visibleMargin;
    if (nOffset == m_nOffset) return FALSE;
    m_nOffset = nOffset;
    if (m_pBar) m_pBar->OnRecalcLayout();
    return TRUE;
}

void CKLVRibbonGroupScroller::Scroll(BOOL bRight) {
    Step(bRight);
    if (m_pBar) m_pBar->OnRecalcLayout();
}

void CKLVRibbonGroupScroller::Attach(CKLVCommandBar* pBar, CKLVControl* pLeft, CKLVControl* pRight) {
    m_pBar = pBar;
    m_pLeft = pLeft;
    m_pRight = pRight;
}

BOOL CKLVRibbonGroupScroller::IsScrollButton(const CKLVControl* pControl) const {
    return pControl && (pControl == m_pLeft || pControl == m_pRight);
}

void CKLVRibbonGroupScroller::SetBounds(CRect rcBounds) {
    m_rcBounds = rcBounds;
    PlaceButtons();
}

void CKLVRibbonGroupScroller::PlaceButtons() {
    const CRect& rc = m_rcBounds;
    if (m_pLeft) {
        m_pLeft->SetHideFlag(CKLVControl::hideExpand, !m_bLeftVisible);
        m_pLeft->SetRect(CRect(rc.left - 1, rc.top, rc.left + buttonWidth, rc.bottom));
    }
    if (m_pRight) {
        m_pRight->SetHideFlag(CKLVControl::hideExpand, !m_bRightVisible);
        m_pRight->SetRect(CRect(rc.right - buttonWidth, rc.top, rc.right + 1, rc.bottom));
    }
}
