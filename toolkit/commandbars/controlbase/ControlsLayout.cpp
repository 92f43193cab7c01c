// The layout of a bar's controls: tool-bar rows with wrapping, group gaps, hiding, fitting,
// centring, right alignment and stretching; large buttons reduced step by step; popup columns.
#include "toolkit/commandbars/controlbase/Controls.h"

#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/common/ImageManager.h"

#include <algorithm>
#include <vector>

namespace {

const int kUnlimited = 32767;

struct LayoutRecord {
    CRect rc;
    CRect rcRow;
    CSize sz;
    BOOL bVisible;
    BOOL bWrap;
    BOOL bHidden;
    BOOL bBeginGroup;
    int nStyle;
    CKLVControl* pControl;
};

// One layout pass over the records of a tool bar.
class CToolBarLayout {
public:
    CToolBarLayout(std::vector<LayoutRecord>& records, DWORD& dwMode, CSize szSeparator)
        : m_records(records), m_dwMode(dwMode), m_szSeparator(szSeparator),
          m_bColumns((dwMode & CKLVControls::modeVertDock) != 0) {}

    int Extent(const LayoutRecord& r) const { return m_bColumns ? r.sz.cy : r.sz.cx; }
    int GroupGap() const { return m_bColumns ? m_szSeparator.cy : m_szSeparator.cx; }

    // Breaks the visible records into rows no longer than nWidth; returns the row count.
    int Wrap(int nWidth) {
        for (LayoutRecord& r : m_records) r.bWrap = r.bHidden = FALSE;
        const int n = static_cast<int>(m_records.size());
        int nRows = 0, x = 0, nRowStart = -1;
        BOOL bFirst = TRUE;
        for (int i = 0; i < n; ++i) {
            LayoutRecord& r = m_records[i];
            if (!r.bVisible) continue;
            if (bFirst) {
                bFirst = FALSE, nRows = 1, nRowStart = i, x = Extent(r);
                continue;
            }
            if (r.pControl->GetFlags() & CKLVControl::flagWrapRow) {
                r.bWrap = TRUE, x = Extent(r), ++nRows, nRowStart = i;
                continue;
            }
            const int nExtent = Extent(r) + (r.bBeginGroup ? GroupGap() : 0);
            const BOOL bOverflow = x + nExtent > nWidth || ((m_dwMode & CKLVControls::modeWrapGroups) && r.bBeginGroup);
            if (!bOverflow) {
                x += nExtent;
                continue;
            }
            if (m_dwMode & CKLVControls::modeHideWrap) {
                m_dwMode |= CKLVControls::modeStretch;
                int j = i;
                for (; j < n && !(m_records[j].pControl->GetFlags() & CKLVControl::flagWrapRow); ++j)
                    m_records[j].bHidden = m_records[j].bVisible;
                if (j == n) break;
                i = j - 1;
                continue;
            }
            int nBreak = i;
            for (int k = i - 1; k > nRowStart; --k)
                if (m_records[k].bVisible && m_records[k].bBeginGroup) {
                    nBreak = k;
                    break;
                }
            m_records[nBreak].bWrap = TRUE;
            x = Extent(m_records[nBreak]), ++nRows, nRowStart = nBreak;
            m_dwMode |= CKLVControls::modeStretch;
            i = nBreak;
        }
        return nRows;
    }

    // Places the records row by row (column by column, leftwards, for vertical docking).
    CSize Measure() {
        int x = 0, y = 0, nLine = 0, cx = 0, cy = 0, nLeft = 0;
        BOOL bFirst = TRUE;
        for (LayoutRecord& r : m_records) {
            if (!r.bVisible || r.bHidden) continue;
            const CSize sz = m_bColumns ? CSize(r.sz.cy, r.sz.cx) : r.sz;
            if (r.bWrap) {
                y += nLine + (r.bBeginGroup ? (m_bColumns ? m_szSeparator.cx : m_szSeparator.cy) : 0);
                x = 0, nLine = 0;
            } else if (r.bBeginGroup && !bFirst) {
                x += GroupGap();
            }
            bFirst = FALSE;
            if (m_bColumns) {
                r.rc = CRect(-y - sz.cy, x, -y, x + sz.cx);
                nLeft = std::min<int>(nLeft, r.rc.left);
                cy = std::max<int>(cy, r.rc.bottom);
            } else {
                r.rc = CRect(x, y, x + sz.cx, y + sz.cy);
                cx = std::max<int>(cx, r.rc.right);
                cy = std::max<int>(cy, r.rc.bottom);
            }
            x += sz.cx;
            nLine = std::max<int>(nLine, sz.cy);
        }
        return m_bColumns ? CSize(-nLeft, cy) : CSize(cx, cy);
    }

    CSize WrapAndMeasure(int nWidth) {
        Wrap(nWidth);
        return Measure();
    }

    // The narrowest width that keeps the row count of wrapping at nLength.
    CSize FitWidth(int nLength) {
        const int nRows = Wrap(nLength);
        int nLow = 0, nHigh = std::max(nLength, 0);
        while (nLow < nHigh) {
            const int nMid = (nLow + nHigh) / 2;
            if (Wrap(nMid) <= nRows)
                nHigh = nMid;
            else
                nLow = nMid + 1;
        }
        return WrapAndMeasure(nHigh);
    }

    // The width whose wrapped height is nHeight, searched between the narrowest and widest shapes.
    CSize FitHeight(int nHeight) {
        int nLow = WrapAndMeasure(0).cx, nHigh = WrapAndMeasure(kUnlimited).cx;
        while (nLow < nHigh) {
            const int nMid = (nLow + nHigh) / 2;
            const CSize sz = WrapAndMeasure(nMid);
            if (sz.cy == nHeight) return sz;
            if (sz.cy > nHeight)
                nLow = nMid + 1;
            else
                nHigh = nMid;
        }
        return WrapAndMeasure(nHigh);
    }

    // The narrowest width not lower than the height it gives.
    CSize FitSquare() {
        int nLow = WrapAndMeasure(0).cx, nHigh = WrapAndMeasure(kUnlimited).cx;
        while (nLow < nHigh) {
            const int nMid = (nLow + nHigh) / 2;
            const CSize sz = WrapAndMeasure(nMid);
            if (sz.cy > sz.cx)
                nLow = nMid + 1;
            else
                nHigh = nMid;
        }
        return WrapAndMeasure(nHigh);
    }

private:
    std::vector<LayoutRecord>& m_records;
    DWORD& m_dwMode;
    CSize m_szSeparator;
    BOOL m_bColumns;
};

// Large buttons laid out in columns of up to three, shrunk step by step until the bar fits.
class CLargeButtonLayout {
public:
    CLargeButtonLayout(std::vector<LayoutRecord>& records, CDC* pDC, BOOL bVertical, int nColumnHeight)
        : m_records(records), m_pDC(pDC), m_bVertical(bVertical), m_nColumnHeight(nColumnHeight) {}

    // Lays the columns out and returns the size; controls whose style changed are measured again.
    CSize Columns() {
        int nLeft = 0, nColumnWidth = 0, y = 0, cx = 0, cy = m_nColumnHeight;
        BOOL bFirst = TRUE;
        for (LayoutRecord& r : m_records) {
            if (!r.bVisible || r.bHidden) continue;
            if (r.pControl->GetStyle() != r.nStyle) {
                r.nStyle = r.pControl->GetStyle();
                r.sz = r.pControl->GetSize(m_pDC);
            }
            const CSize sz = m_bVertical ? CSize(r.sz.cy, r.sz.cx) : r.sz;
            const BOOL bBelow = !bFirst && r.nStyle != CKLVControl::styleCaptionBelow && !r.bBeginGroup &&
                                y + sz.cy <= m_nColumnHeight;
            if (!bFirst && !bBelow) {
                nLeft += nColumnWidth + (r.bBeginGroup ? 6 : 0);
                nColumnWidth = 0, y = 0;
            }
            r.bWrap = !bFirst && !bBelow;
            const CRect rc(nLeft, y, nLeft + sz.cx, y + sz.cy);
            r.rc = m_bVertical ? CRect(rc.top, rc.left, rc.bottom, rc.right) : rc;
            y += sz.cy;
            nColumnWidth = std::max<int>(nColumnWidth, sz.cx);
            cx = std::max<int>(cx, rc.right);
            cy = std::max<int>(cy, rc.bottom);
            bFirst = FALSE;
        }
        return m_bVertical ? CSize(cy, cx) : CSize(cx, cy);
    }
    int Extent(CSize sz) const { return m_bVertical ? sz.cy : sz.cx; }

    // One step of the reduction; FALSE when no triple is left to shrink.
    BOOL Reduce() {
        std::vector<std::vector<int>> triples;
        for (int e = static_cast<int>(m_records.size()) - 1; e >= 0; --e) {
            std::vector<int> triple;
            for (int i = e; i >= 0 && triple.size() < 3; --i)
                if (m_records[i].bVisible && !m_records[i].bHidden) triple.push_back(i);
            if (triple.size() == 3 && triple[0] == e && !m_records[triple[0]].bBeginGroup &&
                !m_records[triple[1]].bBeginGroup)
                triples.push_back(triple);
        }
        auto styleOf = [&](int i) { return m_records[i].pControl->GetStyle(); };
        auto count = [&](const std::vector<int>& t, int nStyle) {
            int n = 0;
            for (int i : t) n += styleOf(i) == nStyle;
            return n;
        };
        auto apply = [&](const std::vector<int>& t, int nStyle) {
            for (int i : t) m_records[i].pControl->SetStyle(nStyle);
            return TRUE;
        };
        for (const auto& t : triples)
            if (count(t, CKLVControl::styleCaptionBelow) == 3) return apply(t, CKLVControl::styleIconAndCaption);
        for (const auto& t : triples)
            if (count(t, CKLVControl::styleCaptionBelow) > 0) return apply(t, CKLVControl::styleIconAndCaption);
        for (const auto& t : triples) {
            const LONG nEdge = m_bVertical ? m_records[t[0]].rc.top : m_records[t[0]].rc.left;
            BOOL bColumn = count(t, CKLVControl::styleIconAndCaption) == 3;
            for (int i : t) bColumn = bColumn && (m_bVertical ? m_records[i].rc.top : m_records[i].rc.left) == nEdge;
            if (bColumn) return apply(t, CKLVControl::styleIcon);
        }
        return FALSE;
    }

    CSize Fit(int nLength, DWORD& dwMode, int nLargeIconWidth) {
        for (LayoutRecord& r : m_records) {
            if (!r.bVisible) continue;
            const int nImageId = r.pControl->GetImageId();
            const BOOL bLarge = nImageId > 0 && KLVImageManager()->HasIconOfWidth(static_cast<UINT>(nImageId), nLargeIconWidth);
            r.pControl->SetStyle(bLarge ? CKLVControl::styleCaptionBelow : CKLVControl::styleIconAndCaption);
        }
        CSize sz = Columns();
        if (Extent(sz) <= nLength) return sz;
        dwMode |= CKLVControls::modeStretch;
        while (Extent(sz) >= nLength && Reduce()) sz = Columns();
        if (Extent(sz) < nLength || !(dwMode & CKLVControls::modeHideWrap)) return sz;
        BOOL bFirst = TRUE;
        for (LayoutRecord& r : m_records) {
            if (!r.bVisible) continue;
            if (!bFirst && (m_bVertical ? r.rc.bottom : r.rc.right) > nLength) {
                r.pControl->SetStyle(CKLVControl::styleIcon);
                r.bHidden = TRUE;
            }
            bFirst = FALSE;
        }
        return Columns();
    }

private:
    std::vector<LayoutRecord>& m_records;
    CDC* m_pDC;
    BOOL m_bVertical;
    int m_nColumnHeight;
};

// Axis helpers: "along" is the row direction (x, or y for vertical docking).
struct Axis {
    BOOL bVertical;
    LONG& Start(CRect& rc) const { return bVertical ? rc.top : rc.left; }
    LONG& End(CRect& rc) const { return bVertical ? rc.bottom : rc.right; }
    LONG& CrossStart(CRect& rc) const { return bVertical ? rc.left : rc.top; }
    LONG& CrossEnd(CRect& rc) const { return bVertical ? rc.right : rc.bottom; }
    void Shift(CRect& rc, int d) const { rc.OffsetRect(bVertical ? 0 : d, bVertical ? d : 0); }
};

// The rows of the laid-out records: [first, last) index ranges of visible, shown records.
std::vector<std::vector<int>> Rows(const std::vector<LayoutRecord>& records) {
    std::vector<std::vector<int>> rows;
    for (int i = 0; i < static_cast<int>(records.size()); ++i) {
        const LayoutRecord& r = records[i];
        if (!r.bVisible || r.bHidden) continue;
        if (rows.empty() || r.bWrap) rows.emplace_back();
        rows.back().push_back(i);
    }
    return rows;
}

void BandAndCentre(std::vector<LayoutRecord>& records, const CRect& rcInner, BOOL bVertical, BOOL bCentre) {
    const Axis axis{bVertical};
    const auto rows = Rows(records);
    for (const auto& row : rows) {
        LONG nTop = LONG_MAX, nBottom = LONG_MIN;
        for (int i : row) {
            nTop = std::min(nTop, axis.CrossStart(records[i].rc));
            nBottom = std::max(nBottom, axis.CrossEnd(records[i].rc));
        }
        CRect rcBand = rcInner;
        if (rows.size() > 1) axis.CrossStart(rcBand) = nTop, axis.CrossEnd(rcBand) = nBottom;
        for (int i : row) {
            LayoutRecord& r = records[i];
            r.rcRow = rcBand;
            if (!bCentre) continue;
            const int nOffset = ((axis.CrossEnd(rcBand) - axis.CrossStart(rcBand)) -
                                 (axis.CrossEnd(r.rc) - axis.CrossStart(r.rc))) / 2 -
                                (axis.CrossStart(r.rc) - axis.CrossStart(rcBand));
            r.rc.OffsetRect(bVertical ? nOffset : 0, bVertical ? 0 : nOffset);
        }
    }
}

void AlignAndStretch(std::vector<LayoutRecord>& records, const CRect& rcInner, BOOL bVertical) {
    const Axis axis{bVertical};
    auto rows = Rows(records);
    if (rows.empty()) return;
    CRect rcEdge = rcInner;
    // Trailing right-aligned controls go against the inner end of the last row.
    std::vector<int>& last = rows.back();
    LONG nEnd = axis.End(rcEdge);
    size_t nAligned = 0;
    for (auto it = last.rbegin(); it != last.rend(); ++it) {
        LayoutRecord& r = records[*it];
        if (!(r.pControl->GetFlags() & CKLVControl::flagRightAlign)) break;
        const LONG nSize = axis.End(r.rc) - axis.Start(r.rc);
        if (nEnd - nSize < axis.Start(rcEdge)) break;
        axis.Shift(r.rc, nEnd - axis.End(r.rc));
        nEnd -= nSize;
        ++nAligned;
        if (r.bWrap) break;
    }
    for (size_t nRow = rows.size(); nRow-- > 0;) {
        std::vector<int>& row = rows[nRow];
        const size_t nCount = row.size() - (nRow + 1 == rows.size() ? nAligned : 0);
        if (nCount == 0) continue;
        const LONG nLimit = nRow + 1 == rows.size() && nAligned ? axis.Start(records[row[nCount]].rc)
                                                                 : axis.End(rcEdge);
        int nSpare = nLimit - axis.End(records[row[nCount - 1]].rc);
        int nStretched = 0;
        for (size_t k = 0; k < nCount; ++k)
            nStretched += (records[row[k]].pControl->GetFlags() & CKLVControl::flagControlStretched) ? 1 : 0;
        if (nSpare <= 0 || nStretched == 0) continue;
        int nShift = 0;
        for (size_t k = 0; k < nCount; ++k) {
            LayoutRecord& r = records[row[k]];
            axis.Shift(r.rc, nShift);
            if (!(r.pControl->GetFlags() & CKLVControl::flagControlStretched)) continue;
            const int nAdd = nSpare / nStretched;
            nSpare -= nAdd, --nStretched;
            axis.End(r.rc) += nAdd;
            nShift += nAdd;
        }
    }
}

}  // namespace

CSize CKLVControls::CalcDynamicSize(CDC* pDC, int nLength, DWORD& dwMode, const CRect& rcBorder, int nMinSize) {
    CKLVPaintManager* pPaintManager =
        m_pParent ? ParentHost()->GetPaintManager() : CKLVPaintManager::GetGlobalPaintManager();
    const CSize szSeparator = pPaintManager ? pPaintManager->DrawSeparator(pDC, ParentHost(), nullptr, FALSE) : CSize(6, 6);
    for (int i = GetCount() - 1; i >= 0; --i)
        if (CKLVControl* pControl = GetAt(i)) pControl->PrepareDynamicLayout(static_cast<int>(dwMode));
    const CSize szBorders(rcBorder.left + rcBorder.right, rcBorder.top + rcBorder.bottom);
    if (GetVisibleCount(0) == 0) {
        CSize sz(szBorders.cx + 23, szBorders.cy + 22);
        if (dwMode & modeHorzDock)
            sz.cy = std::max<int>(sz.cy, nMinSize);
        else
            sz.cx = std::max<int>(sz.cx, nMinSize);
        return sz;
    }

    std::vector<LayoutRecord> records;
    records.reserve(static_cast<size_t>(GetCount()));
    for (int i = 0; i < GetCount(); ++i) {
        CKLVControl* pControl = GetAt(i);
        const BOOL bVisible = pControl->IsVisible(CKLVControl::hideWrap);
        records.push_back({pControl->GetRect(), pControl->GetRowRect(), bVisible ? pControl->GetSize(pDC) : CSize(0, 0),
                           bVisible, FALSE, FALSE, pControl->GetBeginGroup(), pControl->GetStyle(), pControl});
    }
    // Stretching asked for by the caller, not the wrapping this pass reports in the same bit.
    const BOOL bStretch = (dwMode & modeStretch) != 0;
    const int nMRUWidth = m_pParent ? ParentHost()->GetMRUWidth() : kUnlimited;
    const int nWrapWidth = (dwMode & modeMRULength) ? nMRUWidth : nLength;
    const BOOL bVertical = (dwMode & modeVertDock) != 0;
    CToolBarLayout layout(records, dwMode, szSeparator);
    const BOOL bLargeButtons = m_pParent && (ParentHost()->GetFlags() & CKLVControlHost::flagLargeButtons);
    CSize sz;
    if (bLargeButtons) {
        const CSize szLargeIcon = ParentHost()->GetLargeIconSize(pPaintManager->m_bAutoResizeIcons);
        const int nColumnHeight = pPaintManager->GetSplitDropDownWidth() + szLargeIcon.cy + 7;
        CLargeButtonLayout large(records, pDC, bVertical, nColumnHeight);
        const int nAcross = bVertical ? szBorders.cy : szBorders.cx;
        sz = large.Fit(nWrapWidth - nAcross, dwMode, szLargeIcon.cx);
    } else if (dwMode & modeWrapGroups) {
        sz = layout.WrapAndMeasure(nMRUWidth);
        if (sz.cy > 3 * sz.cx && nMRUWidth == kUnlimited)
            sz = layout.FitSquare();
        else
            sz = layout.WrapAndMeasure(sz.cx);
    } else if (dwMode & modeHorzDock) {
        sz = layout.WrapAndMeasure(nWrapWidth - rcBorder.left - rcBorder.right);
    } else if (bVertical) {
        sz = layout.WrapAndMeasure(nWrapWidth - rcBorder.top - rcBorder.bottom);
    } else if (dwMode & modeLengthIsHeight) {
        sz = layout.FitHeight(nLength - rcBorder.top - rcBorder.bottom);
    } else {
        sz = layout.FitWidth(nLength - rcBorder.left - rcBorder.right);
    }

    if (nMinSize > 0) {
        if (dwMode & modeHorzDock)
            sz.cy = std::max<int>(sz.cy, nMinSize - szBorders.cy);
        else
            sz.cx = std::max<int>(sz.cx, nMinSize - szBorders.cx);
    }
    if (bStretch) {
        if (bVertical)
            sz.cy = std::max<int>(sz.cy, nWrapWidth - szBorders.cy);
        else
            sz.cx = std::max<int>(sz.cx, nWrapWidth - szBorders.cx);
    }
    const CSize szContent = sz;
    sz += szBorders;
    if (!(dwMode & modeCommit)) return sz;

    for (LayoutRecord& r : records)
        r.rc.OffsetRect(rcBorder.left + (bVertical ? szContent.cx : 0), rcBorder.top);
    const CRect rcInner(rcBorder.left, rcBorder.top, sz.cx - rcBorder.right, sz.cy - rcBorder.bottom);
    BandAndCentre(records, rcInner, bVertical, !bLargeButtons);
    if (!bLargeButtons) AlignAndStretch(records, rcInner, bVertical);
    for (LayoutRecord& r : records) {
        r.pControl->SetHideFlag(CKLVControl::hideWrap, r.bHidden);
        r.pControl->m_rcRow = r.rcRow;
        if (!r.bHidden) r.pControl->SetRect(r.rc);
        r.pControl->m_bWrap = r.bWrap;
    }
    return sz;
}

CSize CKLVControls::CalcPopupSize(CDC* pDC, int nMaxHeight, const CRect& rcBorder) {
    CRect rcWork;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    CKLVPaintManager* pPaintManager =
        m_pParent ? ParentHost()->GetPaintManager() : CKLVPaintManager::GetGlobalPaintManager();
    const CSize szSeparator = pPaintManager ? pPaintManager->DrawSeparator(pDC, ParentHost(), nullptr, FALSE) : CSize(6, 6);
    if (m_pParent) ParentHost()->SetMultiLine(FALSE);
    const int nMaxWidth = rcWork.right / 3;

    int x = rcBorder.left, y = rcBorder.top, nColumnWidth = 0, nBottom = rcBorder.top;
    std::vector<CKLVControl*> column;
    auto finishColumn = [&]() {
        for (CKLVControl* pControl : column) {
            CRect rc = pControl->GetRect();
            rc.right = rc.left + nColumnWidth;
            pControl->SetRect(rc);
        }
    };
    std::vector<std::pair<CKLVControl*, int>> columnOf;
    int nColumnLeft = x;
    for (int i = 0; i < GetCount(); ++i) {
        CKLVControl* pControl = GetAt(i);
        if (pControl->GetParent() != m_pParent) continue;
        pControl->SetHideFlag(CKLVControl::hideExpand, FALSE);
        if (!pControl->IsVisible()) continue;
        CSize sz = pControl->GetSize(pDC);
        pControl->m_bWrap = FALSE;
        const BOOL bFirstInColumn = column.empty();
        const BOOL bBreak = !bFirstInColumn && ((pControl->GetFlags() & CKLVControl::flagWrapRow) ||
                                                (nMaxHeight > 0 && y + sz.cy > nMaxHeight - rcBorder.bottom));
        if (bBreak) {
            finishColumn();
            column.clear();
            x += nColumnWidth + (pControl->GetBeginGroup() ? szSeparator.cx : 0);
            nColumnLeft = x;
            y = rcBorder.top;
            nColumnWidth = 0;
            pControl->m_bWrap = TRUE;
            if (m_pParent) ParentHost()->SetMultiLine(TRUE);
        } else if (pControl->GetBeginGroup() && !bFirstInColumn) {
            y += szSeparator.cy;
        }
        sz.cx = std::min<int>(sz.cx, nMaxWidth);
        pControl->SetRect(CRect(x, y, x + sz.cx, y + sz.cy));
        y += sz.cy;
        nBottom = std::max(nBottom, y);
        nColumnWidth = std::max<int>(nColumnWidth, sz.cx);
        column.push_back(pControl);
        columnOf.emplace_back(pControl, nColumnLeft);
    }
    finishColumn();
    const int nContentWidth = std::max<int>(x + nColumnWidth - rcBorder.left, 24);
    int nContentHeight = static_cast<int>(nBottom - rcBorder.top);
    if (nContentHeight == 0) nContentHeight = 22;
    for (const auto& entry : columnOf) {
        const CRect rc = entry.first->GetRect();
        entry.first->m_rcRow = CRect(rc.left, rcBorder.top, rc.right, rcBorder.top + nContentHeight);
    }
    return CSize(nContentWidth + rcBorder.left + rcBorder.right, nContentHeight + rcBorder.top + rcBorder.bottom);
}
