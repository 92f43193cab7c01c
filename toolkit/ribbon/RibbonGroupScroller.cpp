#include "toolkit/ribbon/RibbonGroupScroller.h"

#include <algorithm>

void CKLVRibbonGroupScroller::ShowButtons(BOOL bLeft, BOOL bRight) {
    m_bLeftVisible = bLeft;
    m_bRightVisible = bRight;
}

void CKLVRibbonGroupScroller::Step(BOOL bRight) {
    m_nOffset = bRight ? m_nOffset + scrollStep : std::max(0, m_nOffset - scrollStep);
}
