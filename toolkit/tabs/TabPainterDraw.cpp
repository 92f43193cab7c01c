// The paint manager's drawing: item content (icon, caption, own buttons), captions shortened in
// the middle, the whole row and the navigation buttons.
#include "toolkit/tabs/TabPainter.h"

#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/tabs/TabColors.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabStyle.h"

#include <algorithm>

namespace {

BOOL IsButtonShown(const CKLVTabManagerNavigateButton* pButton, const CKLVTabManagerItem* pItem) {
    return pButton->m_nShowMode == CKLVTabManagerNavigateButton::showAlways ||
           (pButton->m_nShowMode == CKLVTabManagerNavigateButton::showAuto && pItem->IsSelected());
}

// Vertical text on a vertical row, and on a horizontal row when every tab stands on end.
BOOL IsVerticalText(CKLVTabManager* pManager) {
    return pManager->IsHorizontalPosition() == (pManager->GetLayout() == CKLVTabPainter::layoutRotated);
}

CString CaptionToDraw(const CString& strCaption, BOOL bStrip) {
    CString str = strCaption;
    if (bStrip) CKLVDrawHelpers::StripMnemonicsString(str);
    return str;
}

}  // namespace

int CKLVTabPainter::MeasureCaption(CDC* pDC, const CString& strCaption, BOOL /*bVertical*/) {
    CRect rc(0, 0, 0, 0);
    const CString str = CaptionToDraw(strCaption, m_bDrawTextHidePrefix);
    UINT nFormat = DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE;
    if (m_bDrawTextNoPrefix || m_bDrawTextHidePrefix) nFormat |= DT_NOPREFIX;
    pDC->DrawText(str, &rc, nFormat);
    return rc.Width();
}

int CKLVTabPainter::GetWidestCaption(CDC* pDC, CKLVTabManager* pTabManager, BOOL bVertical) {
    int nWidest = 0;
    for (int i = 0; i < pTabManager->GetItemCount(); ++i)
        nWidest = std::max(nWidest, MeasureCaption(pDC, pTabManager->GetItem(i)->GetCaption(), bVertical));
    return nWidest;
}

int CKLVTabPainter::DrawItemContent(CDC* pDC, CKLVTabManagerItem* pItem, CRect rcItem, BOOL bDraw) {
    CKLVTabManager* pManager = pItem->GetTabManager();
    const BOOL bVertical = IsVerticalText(pManager);
    const BOOL bBold = m_bBoldSelected && pItem->IsSelected() && pManager->IsActive();
    CKLVFontDC font(pDC, bBold ? GetBoldFont(bVertical) : GetFont(bVertical));

    CSize szIcon = m_szIcon;
    const BOOL bHasIcon = m_bShowIcons && pManager->DrawIcon(nullptr, CPoint(), pItem, FALSE, szIcon);
    if (!bHasIcon) szIcon = CSize(0, 0);

    if (!bDraw) {
        const int nIcon = bVertical ? szIcon.cy : szIcon.cx;
        int nButtons = 0;
        for (int i = 0; i < pItem->GetButtonCount(); ++i) {
            CKLVTabManagerNavigateButton* pButton = pItem->GetButton(i);
            if (!IsButtonShown(pButton, pItem)) continue;
            const CSize sz = pButton->GetSize();
            nButtons += (nButtons == 0 ? 3 : 0) + (bVertical ? sz.cy : sz.cx);
        }
        CSize szNormal(m_nFixedTabWidth, 0), szMin(m_nMinTabWidth, 0), szMax(m_nMaxTabWidth, 0);
        pManager->GetItemMetrics(&szNormal, &szMin, &szMax);
        const int nInset = m_rcButtonMargin.left + m_rcButtonMargin.right;
        const int nText = m_rcButtonText.left + m_rcButtonText.right;
        int nLength;
        if (m_nLayout == layoutFixed) nLength = szNormal.cx + nInset;
        else if (m_nLayout == layoutCompressed && !pItem->IsSelected()) nLength = nInset + nIcon + 8;
        else if (m_nLayout == layoutCompressed) nLength = nText + nInset + nIcon + GetWidestCaption(pDC, pManager, bVertical) + nButtons;
        else nLength = nText + nInset + nIcon + MeasureCaption(pDC, pItem->GetCaption(), bVertical) + nButtons;
        if (szMin.cx > 0) nLength = std::max(nLength, static_cast<int>(szMin.cx));
        if (szMax.cx > 0) nLength = std::min(nLength, static_cast<int>(szMax.cx));
        return nLength;
    }

    m_pColorSet->SetItemTextColor(pDC, pItem);
    CRect rc = rcItem;
    DrawItemButtons(pDC, pItem, rc, bVertical);
    const CRect rcFocus = rc;

    // Work in "along the row" (x) and "across the row" (y) terms; vertical text swaps them.
    auto along = [&](LONG& nStart, LONG& nEnd, LONG& nAcross1, LONG& nAcross2, BOOL bSwapInset) {
        const int nExtra = pItem->m_nLength - pItem->m_nContentLength;
        if (nExtra > 0) {
            nStart += nExtra / 2;
            nEnd -= nExtra / 2;
        }
        nStart += m_rcButtonText.left + m_rcButtonMargin.left;
        nAcross1 += bSwapInset ? m_rcButtonMargin.bottom : m_rcButtonMargin.top;
        nAcross2 -= bSwapInset ? m_rcButtonMargin.top : m_rcButtonMargin.bottom;
    };
    BOOL bIconDrawn = FALSE;
    if (!bVertical) {
        along(rc.left, rc.right, rc.top, rc.bottom, m_nPosition == positionBottom);
        if (bHasIcon) {
            if (szIcon.cx < rc.Width()) {
                pManager->DrawIcon(pDC, CPoint(rc.left - 1, rc.CenterPoint().y - szIcon.cy / 2), pItem, TRUE, szIcon);
                bIconDrawn = TRUE;
            }
            rc.left += szIcon.cx + 2;
        }
    } else {
        along(rc.top, rc.bottom, rc.left, rc.right, m_nPosition == positionRight);
        if (bHasIcon) {
            if (szIcon.cy < rc.Height()) {
                pManager->DrawIcon(pDC, CPoint(rc.CenterPoint().x - szIcon.cx / 2, rc.top - 1), pItem, TRUE, szIcon);
                bIconDrawn = TRUE;
            }
            rc.top += szIcon.cy + 2;
        }
    }
    const BOOL bShowCaption = !(m_nLayout == layoutCompressed && !pItem->IsSelected());
    if (bShowCaption) {
        if (!bVertical) {
            if (bIconDrawn) rc.right += 2;
            rc.right -= m_rcButtonText.right + m_rcButtonMargin.right;
        } else {
            if (bIconDrawn) rc.bottom += 2;
            rc.bottom -= m_rcButtonMargin.right + std::max(0, static_cast<int>(m_rcButtonText.right) - 4);
        }
        DrawCaption(pDC, pItem, rc, bVertical);
    }
    if (pItem->IsSelected() && pManager->IsFocused()) DrawFocusRect(pDC, pItem, rcFocus);
    return 0;
}

void CKLVTabPainter::DrawItemButtons(CDC* pDC, CKLVTabManagerItem* pItem, CRect& rc, BOOL bVertical) {
    BOOL bFirst = TRUE;
    for (int i = 0; i < pItem->GetButtonCount(); ++i) {
        CKLVTabManagerNavigateButton* pButton = pItem->GetButton(i);
        if (!IsButtonShown(pButton, pItem)) continue;
        const CSize sz = pButton->GetSize();
        if (bFirst) (bVertical ? rc.bottom : rc.right) -= 3;
        bFirst = FALSE;
        CRect rcButton;
        if (!bVertical) {
            const int y = rc.CenterPoint().y - sz.cy / 2;
            rcButton.SetRect(rc.right - sz.cx, y, rc.right, y + sz.cy);
            rc.right -= sz.cx;
        } else {
            const int x = rc.CenterPoint().x - sz.cx / 2;
            rcButton.SetRect(x, rc.bottom - sz.cy, x + sz.cx, rc.bottom);
            rc.bottom -= sz.cy;
        }
        pButton->SetRect(rcButton);
        COLORREF clrText = pDC->GetTextColor();
        DrawNavigateButton(pDC, pButton, rcButton);
        pDC->SetTextColor(clrText);
    }
}

void CKLVTabPainter::DrawCaption(CDC* pDC, CKLVTabManagerItem* pItem, CRect rc, BOOL bVertical) {
    const CString strCaption = pItem->GetCaption();
    if (!bVertical) {
        if (rc.left >= rc.right) return;
        const BOOL bStrip = m_bDrawTextHidePrefix;
        UINT nFormat = DT_SINGLELINE | m_nDrawTextFormat;
        if (m_bDrawTextNoPrefix || bStrip) nFormat |= DT_NOPREFIX;
        const CString str = CaptionToDraw(strCaption, bStrip);
        if (m_bDrawTextMiddleEllipsis) {
            DrawTextMiddleEllipsis(pDC, str, rc, nFormat);
            return;
        }
        if (m_bDrawTextEndEllipsis) nFormat |= DT_END_ELLIPSIS;
        // Placed glyph by glyph, a caption may end a pixel or two past the width it measures:
        // given that width, it is not clipped, its ink reaching into the tab's text margin.
        if (MeasureCaption(pDC, strCaption, FALSE) <= rc.Width()) nFormat |= DT_NOCLIP;
        pDC->DrawText(str, &rc, nFormat);
        return;
    }
    if (rc.Height() <= 8) return;
    const CString str = CaptionToDraw(strCaption, !m_bDrawTextNoPrefix);
    TEXTMETRICA tm = {};
    pDC->GetTextMetrics(&tm);
    // The font runs top to bottom: its text cell lies left of the origin.
    const int x = rc.CenterPoint().x + tm.tmHeight / 2 - (m_nPosition == positionRight ? 1 : 0);
    CRect rcText(x, rc.top, x + rc.Height(), rc.bottom);
    UINT nFormat = DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE;
    if (m_bDrawTextMiddleEllipsis) {
        DrawTextMiddleEllipsis(pDC, str, rcText, nFormat);
        return;
    }
    if (m_bDrawTextEndEllipsis) nFormat |= DT_END_ELLIPSIS;
    pDC->DrawText(str, &rcText, nFormat);
}

void CKLVTabPainter::DrawTextMiddleEllipsis(CDC* pDC, const CString& strText, CRect rc, UINT nFormat) {
    if (strText.Find('\\') >= 0) {
        pDC->DrawText(strText, &rc, nFormat | DT_PATH_ELLIPSIS);
        return;
    }
    const CString strMeasured = (nFormat & DT_NOPREFIX) ? strText : [&] {
        CString str = strText;
        CKLVDrawHelpers::StripMnemonicsString(str);
        return str;
    }();
    auto width = [&](const CString& str) { return static_cast<int>(pDC->GetTextExtent(str).cx); };
    const int nRoom = rc.Width(), nFull = width(strMeasured);
    if (nFull <= nRoom) {
        pDC->DrawText(strText, &rc, nFormat);
        return;
    }
    const int nDots = width("...");
    if (nRoom <= nDots) {
        pDC->DrawText("...", &rc, nFormat);
        return;
    }
    const int nLength = strMeasured.GetLength();
    auto parts = [&](int n) { return strMeasured.Left(n - n / 2) + strMeasured.Right(n / 2); };
    int n = std::clamp(nLength * (nRoom - nDots) / std::max(1, nFull), 0, nLength);
    while (n < nLength && width(parts(n + 1)) < nRoom - nDots) ++n;
    while (n > 0 && width(parts(n)) > nRoom - nDots) --n;
    const CString str = strMeasured.Left(n - n / 2) + "..." + strMeasured.Right(n / 2);
    pDC->DrawText(str, &rc, nFormat | DT_NOPREFIX);
}

void CKLVTabPainter::DrawFocusRect(CDC* pDC, CKLVTabManagerItem*, CRect rc) {
    if (!m_bDrawFocusRect) return;
    rc.DeflateRect(3, 3);
    pDC->SetTextColor(0);
    pDC->SetBkColor(0xFFFFFF);
    pDC->DrawFocusRect(&rc);
}

void CKLVTabPainter::DrawNavigateButton(CDC* pDC, CKLVTabManagerNavigateButton* pButton, CRect& rc) {
    m_pColorSet->FillNavigateButton(pDC, pButton, rc);
    const COLORREF clr = pDC->GetTextColor();
    CKLVPenDC pen(AfxGetSafeHdc(pDC), clr);
    if (pButton->m_bEnabled) {
        CKLVBrushDC brush(AfxGetSafeHdc(pDC), clr);
        pButton->Draw(pDC, rc);
    } else {
        HGDIOBJ hOldBrush = pDC->SelectObject(::GetStockObject(NULL_BRUSH));
        pButton->Draw(pDC, rc);
        pDC->SelectObject(hOldBrush);
    }
}

void CKLVTabPainter::DrawTabControl(CKLVTabManager* pTabManager, CDC* pDC, CRect rcControl) {
    m_pAppearanceSet->DrawTabControl(pTabManager, pDC, rcControl);
}

void CKLVTabPainter::DrawTabRow(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) {
    if (m_bStaticFrame) {
        pDC->Draw3dRect(&rc, CKLVTabColors::GetColor(m_pColorSet->clrFrameBorder), CKLVTabColors::GetColor(m_pColorSet->clrFrameBorder));
        DeflateRectEx(rc, 1, 1, 1, 1, m_nPosition);
        const COLORREF clrFace = CKLVTabColors::GetColor(m_pColorSet->clrButtonFace);
        pDC->Draw3dRect(&rc, clrFace, clrFace);
        DeflateRectEx(rc, 1, 0, 1, 1, m_nPosition);
    }
    if (m_bFillBackground) pDC->FillSolidRect(&rc, CKLVTabColors::GetColor(m_pColorSet->clrButtonFace));
    DeflateRectEx(rc, m_rcControlMargin, m_nPosition);
    pDC->SetBkMode(TRANSPARENT);
    if (m_bFillBackground) m_pAppearanceSet->FillHeader(pTabManager, pDC, rc);

    CRect rcClipBox;
    pDC->GetClipBox(&rcClipBox);
    if (m_bClipHeader) rcClipBox.IntersectRect(rcClipBox, pTabManager->m_rcHeaderRect);
    if (!rcClipBox.IsRectEmpty()) {
        const int nSaved = m_bClipHeader ? pDC->SaveDC() : 0;
        if (m_bClipHeader) {
            pDC->IntersectClipRect(&rcClipBox);
            m_pColorSet->ExcludeCorners(pDC, m_pAppearanceSet->GetClientEdge(pTabManager->m_rcHeaderRect), pTabManager);
        }
        for (int nRow = pTabManager->GetRows()->GetRowCount() - 1; nRow >= 0; --nRow)
            DrawRowItems(pTabManager, pDC, rcClipBox, nRow);
        if (m_bClipHeader) pDC->RestoreDC(nSaved);
    }
    for (int i = pTabManager->GetNavigateButtonCount() - 1; i >= 0; --i) {
        CKLVTabManagerNavigateButton* pButton = pTabManager->GetNavigateButton(i);
        CRect rcButton = pButton->GetRect();
        if (!rcButton.IsRectEmpty()) DrawNavigateButton(pDC, pButton, rcButton);
    }
}

void CKLVTabPainter::DrawRowItems(CKLVTabManager* pTabManager, CDC* pDC, const CRect& rcClipBox, int nRow) {
    const CKLVTabRows::ROW& row = pTabManager->GetRows()->GetAt(nRow);
    const int nFirst = std::max(0, row.nFirstItem), nLast = std::min(row.nLastItem, pTabManager->GetItemCount() - 1);
    CKLVTabManagerItem* pSelected = pTabManager->GetSelectedItem();
    auto draw = [&](CKLVTabManagerItem* pItem) {
        if (!pItem->IsVisible()) return;
        CRect rcDraw = m_pAppearanceSet->GetItemDrawRect(pItem), rcMeet;
        if (rcMeet.IntersectRect(rcDraw, rcClipBox)) m_pAppearanceSet->DrawItem(pDC, pItem);
    };
    const int nSelected = pSelected && pSelected->m_nIndex >= nFirst && pSelected->m_nIndex <= nLast ? pSelected->m_nIndex : -1;
    if (m_pAppearanceSet->m_bSelectedCentred && nSelected >= 0) {
        for (int i = nFirst; i < nSelected; ++i) draw(pTabManager->GetItem(i));
        for (int i = nLast; i > nSelected; --i) draw(pTabManager->GetItem(i));
    } else {
        for (int i = nLast; i >= nFirst; --i)
            if (i != nSelected) draw(pTabManager->GetItem(i));
    }
    if (nSelected >= 0) draw(pSelected);
}
