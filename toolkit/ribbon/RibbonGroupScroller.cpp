#include "toolkit/ribbon/RibbonGroupScroller.h"

#include "toolkit/commandbars/CommandBar.h"
#include "toolkit/commandbars/Control.h"

#include <algorithm>

void CKLVRibbonGroupScroller::ShowButtons(BOOL bLeft, BOOL bRight) {
    m_bLeftVisible = bLeft;
    m_bRightVisible = bRight;
    PlaceButtons();
}

void CKLVRibbonGroupScroller::Step(BOOL bRight) {
    m_nOffset = bRight ? m_nOffset + scrollStep : std::max(0, m_nOffset - scrollStep);
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
