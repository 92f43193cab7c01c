// The coloured headers the ribbon draws in its caption band above each run of tabs that share a
// context, and their fitting into the part of the caption band left free for them.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/String.h"
#include "toolkit/themes/RibbonFaces.h"

#include <memory>
#include <vector>

class CKLVRibbonTab;

struct CKLVRibbonTabContextHeader {
    CKLVRibbonTab* pFirstTab = nullptr;
    CKLVRibbonTab* pLastTab = nullptr;
    CString strCaption;
    int nColor = 0;
    CRect rcHeader;
};

class CKLVRibbonTabContextHeaders : public CKLVRibbonContextHeaderList {
public:
    enum { minHeaderWidth = 40 };

    CKLVRibbonTabContextHeader* Add(const CKLVRibbonTabContextHeader& header);
    void RemoveAll() { m_headers.clear(); }
    int GetCount() const { return static_cast<int>(m_headers.size()); }
    CKLVRibbonTabContextHeader* GetAt(int nIndex) const { return m_headers[nIndex].get(); }
    int GetHeaderCount() const override { return GetCount(); }
    KLVRibbonContextHeaderLook GetHeaderLook(int nIndex) const override {
        const CKLVRibbonTabContextHeader* pHeader = GetAt(nIndex);
        return {pHeader->strCaption, pHeader->nColor, pHeader->rcHeader};
    }
    // The first header whose rectangle holds the point; null when none.
    CKLVRibbonTabContextHeader* HitTest(CPoint pt) const;

    // Moves the headers into [nLeft, nRight] in their order, each at least 40 px wide and none
    // overlapping the next: pushed right from the left end, then back from the right end. FALSE,
    // with the rectangles left half-fitted, when they cannot all fit.
    BOOL Fit(int nLeft, int nRight);
    // Fits the headers into [nLeft, nRight] and keeps them off the title: the title moves beside
    // them on the side of its centre, or takes that end of the band while the headers fit into
    // the rest. When nothing fits, every header is removed and the title stays where it was.
    BOOL Arrange(int nLeft, int nRight, CRect& rcTitle);

private:
    BOOL OverlapsTitle(const CRect& rcTitle) const;
    std::vector<std::unique_ptr<CKLVRibbonTabContextHeader>> m_headers;
};
