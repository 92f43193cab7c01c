#include "toolkit/ribbon/RibbonTabContextHeaders.h"

#include <algorithm>

CKLVRibbonTabContextHeader* CKLVRibbonTabContextHeaders::Add(const CKLVRibbonTabContextHeader& header) {
    m_headers.push_back(std::make_unique<CKLVRibbonTabContextHeader>(header));
    return m_headers.back().get();
}

CKLVRibbonTabContextHeader* CKLVRibbonTabContextHeaders::HitTest(CPoint pt) const {
    for (const auto& pHeader : m_headers)
        if (pHeader->rcHeader.PtInRect(pt)) return pHeader.get();
    return nullptr;
}

// Every header is widened to the minimum, not only those the passes move, so a narrow header in
// the middle of the band still gets room for its caption.
BOOL CKLVRibbonTabContextHeaders::Fit(int nLeft, int nRight) {
    int nCursor = nLeft;
    for (const auto& pHeader : m_headers) {
        CRect& rc = pHeader->rcHeader;
        rc.left = std::max<int>(rc.left, nCursor);
        rc.right = std::max<int>(rc.right, rc.left + minHeaderWidth);
        nCursor = rc.right;
    }
    nCursor = nRight;
    for (auto it = m_headers.rbegin(); it != m_headers.rend(); ++it) {
        CRect& rc = (*it)->rcHeader;
        rc.right = std::min<int>(rc.right, nCursor);
        rc.left = std::min<int>(rc.left, rc.right - minHeaderWidth);
        if (rc.left < nLeft) return FALSE;
        nCursor = rc.left;
    }
    return TRUE;
}

BOOL CKLVRibbonTabContextHeaders::OverlapsTitle(const CRect& rcTitle) const {
    return rcTitle.left < m_headers.back()->rcHeader.right && rcTitle.right > m_headers.front()->rcHeader.left;
}

BOOL CKLVRibbonTabContextHeaders::Arrange(int nLeft, int nRight, CRect& rcTitle) {
    if (m_headers.empty()) return TRUE;
    if (!Fit(nLeft, nRight)) {
        RemoveAll();
        return FALSE;
    }
    if (!OverlapsTitle(rcTitle)) return TRUE;
    const int nTitle = rcTitle.Width();
    const int nHeadersLeft = m_headers.front()->rcHeader.left, nHeadersRight = m_headers.back()->rcHeader.right;
    const BOOL bRight = rcTitle.CenterPoint().x > (nHeadersLeft + nHeadersRight) / 2;
    int nTitleLeft;
    if (bRight && nHeadersRight + nTitle <= nRight)
        nTitleLeft = nHeadersRight;
    else if (!bRight && nLeft + nTitle <= nHeadersLeft)
        nTitleLeft = nHeadersLeft - nTitle;
    else if (bRight ? Fit(nLeft, nRight - nTitle) : Fit(nLeft + nTitle, nRight))
        nTitleLeft = bRight ? nRight - nTitle : nLeft;
    else {
        RemoveAll();
        return FALSE;
    }
    rcTitle.left = nTitleLeft;
    rcTitle.right = nTitleLeft + nTitle;
    return TRUE;
}
