// Theme 1's states, bars, grippers, separators, tear-off strip, popup gutter and button marks.
#include "toolkit/themes/PaintManagerTheme1.h"

#include "toolkit/themes/ThemeControlState.h"
#include "toolkit/themes/ThemeImage.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"

#include <algorithm>

namespace {

BOOL IsPressedDown(int nPressed) { return nPressed == 2 || nPressed == 3; }
BOOL IsKeyboardSelected(int nSelected) { return nSelected == 2 || nSelected == 3; }

}  // namespace

CKLVPaintManagerTheme1::CKLVPaintManagerTheme1() {
    m_bFlatMenuBar = TRUE;
    m_iconsInfo.bUseFadedIcons = TRUE;
    m_iconsInfo.bUseDisabledIcons = TRUE;
    m_iconsInfo.bIconsWithShadow = TRUE;
    m_iconsInfo.bGenerateDisabledIcons = TRUE;
    m_nPopupBarTextMargin = 8;
    m_bEmbossedDisabledText = FALSE;
    m_nShadowOptions = 3;
}

COLORREF CKLVPaintManagerTheme1::GetRectangleTextColor(BOOL bSelected, BOOL bPressed, int nEnabled, BOOL bChecked,
                                                       BOOL bPopuped, int nBarType, int nBarPosition) {
    int n = 45;
    if (nBarType == CKLVCommandBar::barTypePopup)
        n = !nEnabled ? 35 : bSelected ? 45 : 44;
    else if (!nEnabled)
        n = 60;
    else if (bPopuped)
        n = 46;
    else if (IsPressedDown(bPressed) || (bSelected && (bPressed || bChecked)))
        n = 47;
    else if (!bSelected && !bPressed)
        n = bChecked ? 45 : nBarPosition == CKLVCommandBar::barPopup ? 44 : 46;
    return GetThemeColor(n);
}

BOOL CKLVPaintManagerTheme1::GetStateColors(int nSelected, int nPressed, int nEnabled, int nChecked, BOOL bPopuped,
                                            int nBarPosition, int& nFrame, int& nFill) const {
    const BOOL bPopupPosition = nBarPosition == CKLVCommandBar::barPopup;
    nFrame = nFill = -1;
    if (nEnabled) {
        if (bPopuped) {
            nFrame = 43, nFill = 30;
        } else if (nChecked && !nSelected && !nPressed) {
            nFrame = 37, nFill = nChecked == 2 ? 51 : 36;
        } else if (IsPressedDown(nPressed) || (nSelected && nPressed == 1) || (nSelected && nChecked && !nPressed)) {
            nFrame = 50, nFill = 33;
        } else if (nSelected || nPressed == 1) {
            nFrame = 32, nFill = 31;
        } else {
            return FALSE;
        }
        return TRUE;
    }
    if (IsKeyboardSelected(nSelected)) {
        nFrame = 32, nFill = bPopupPosition ? 41 : nChecked ? 33 : 31;
    } else if (nChecked) {
        nFrame = 58, nFill = bPopupPosition ? -1 : 36;
    } else {
        return FALSE;
    }
    return TRUE;
}

void CKLVPaintManagerTheme1::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, int nEnabled,
                                           BOOL bChecked, BOOL bPopuped, int, int nBarPosition) {
    int nFrame, nFill;
    if (GetStateColors(bSelected, bPressed, nEnabled, bChecked, bPopuped, nBarPosition, nFrame, nFill))
        FillFrame(pDC, rc, nFrame, nFill);
}

void CKLVPaintManagerTheme1::FillCommandBar(CDC* pDC, CKLVCommandBarFace* pBarFace) {
    CKLVCommandBar* pBar = KLVTheme::BarOf(pBarFace);
    CRect rc;
    pBar->GetClientRect(&rc);
    const int nPosition = pBar->GetPosition();
    const BOOL bPopup = pBar->GetType() == CKLVCommandBar::barTypePopup;
    if (nPosition == CKLVCommandBar::barFloating) {
        FillFrame(pDC, rc, 61, -1);
        CRect rcInner = rc;
        rcInner.DeflateRect(1, 1);
        FillFrame(pDC, rcInner, 61, bPopup ? 41 : IsFlatToolBar(pBar) ? COLOR_BTNFACE : 30);
        const COLORREF clr = GetThemeColor(61);
        for (const CPoint pt : {CPoint(2, 2), CPoint(rc.right - 3, 2), CPoint(2, rc.bottom - 3),
                                CPoint(rc.right - 3, rc.bottom - 3)})
            pDC->SetPixel(pt, clr);
    } else if (nPosition == CKLVCommandBar::barPopup) {
        FillFrame(pDC, rc, 43, 41);
        const CRect rcGap = KLVTheme::ParentControlGap(pBar);
        if (!rcGap.IsRectEmpty()) FillFrame(pDC, rcGap, -1, 30);
    } else if (IsFlatToolBar(pBar)) {
        FillFrame(pDC, rc, -1, COLOR_BTNFACE);
    } else {
        FillFrame(pDC, rc, COLOR_BTNFACE, 30);
        const COLORREF clr = GetThemeColor(COLOR_BTNFACE);
        for (const CPoint pt : {CPoint(1, 1), CPoint(rc.right - 2, 1), CPoint(1, rc.bottom - 2),
                                CPoint(rc.right - 2, rc.bottom - 2)})
            pDC->SetPixel(pt, clr);
    }
}

CSize CKLVPaintManagerTheme1::DrawCommandBarCaption(CDC* pDC, CKLVCommandBarFace* pBarFace, BOOL bDraw) {
    CKLVCommandBar* pBar = KLVTheme::BarOf(pBarFace);
    if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
    const int nPosition = pBar->GetPosition();
    const BOOL bPopup = pBar->GetType() == CKLVCommandBar::barTypePopup;
    CRect rc;
    if (pBar->GetSafeHwnd()) pBar->GetClientRect(&rc);
    const CRect rcBorders = GetCommandBarBorders(pBar);
    auto fillGutter = [&](int nTop) {
        if (bDraw && bPopup)
            FillPopupGutter(pDC, rcBorders.left - 1, nTop, GetPopupBarGripperWidth(pBar),
                            rc.Height() - nTop - rcBorders.bottom, FALSE);
    };
    if (nPosition == CKLVCommandBar::barPopup) fillGutter(rcBorders.top);
    if (nPosition == CKLVCommandBar::barFloating) {
        const CSize sz = CKLVPaintManager::DrawCommandBarCaption(pDC, pBar, bDraw);
        if (pBar->IsGripperVisible()) fillGutter(rcBorders.top + sz.cy);
        return sz;
    }
    const COLORREF clr = GetThemeColor(38);
    if (IsVerticalDockPosition(nPosition)) {
        if (bDraw)
            for (int x = 5; x < rc.Width() - 5; x += 2) VerticalLine(pDC, x, 3, 6, clr);
        return CSize(0, 8);
    }
    if (nPosition == CKLVCommandBar::barTop || nPosition == CKLVCommandBar::barBottom) {
        if (bDraw)
            for (int y = 5; y < rc.Height() - 5; y += 2) HorizontalLine(pDC, 3, y, 6, clr);
        return CSize(6, 0);
    }
    return CSize(0, 0);
}

CSize CKLVPaintManagerTheme1::DrawDialogBarGripper(CDC* pDC, CKLVCommandBarFace*, BOOL bDraw) {
    const int h = std::max(22, m_nTextHeight + 4);
    if (bDraw)
        for (int y = 6; y < h - 2; y += 2) HorizontalLine(pDC, 3, y, 6, GetThemeColor(38));
    return CSize(6, h);
}

CSize CKLVPaintManagerTheme1::DrawSeparator(CDC* pDC, CKLVCommandBarFace* pBar, CKLVControlFace* pControlFace,
                                            BOOL bDraw) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    const BOOL bPopup = pBar && pBar->GetType() == CKLVCommandBar::barTypePopup;
    if (!bDraw || !pControl) return bPopup ? CSize(3, 3) : CSize(6, 6);
    const CRect rc = pControl->GetRect(), rcRow = pControl->GetRowRect();
    const BOOL bWrap = pControl->GetWrap();
    const COLORREF clr = GetThemeColor(39);
    if (bPopup) {
        if (bWrap)
            VerticalLine(pDC, rc.left - 2, rcRow.top - 1, rcRow.bottom + 1, clr);
        else
            HorizontalLine(pDC, GetPopupBarGripperWidth(pBar) + m_nPopupBarTextMargin + rc.left - 1, rc.top - 2,
                           rc.right + 1, clr);
    } else if (IsVerticalDockPosition(pBar->GetPosition())) {
        if (bWrap)
            VerticalLine(pDC, rcRow.right + 2, rcRow.top + 4, rcRow.bottom, clr);
        else
            HorizontalLine(pDC, rcRow.left, rc.top - 4, rcRow.right, clr);
    } else {
        if (bWrap)
            HorizontalLine(pDC, rcRow.left, rcRow.top - 4, rcRow.right, clr);
        else
            VerticalLine(pDC, rc.left - 4, rcRow.top, rcRow.bottom, clr);
    }
    return CSize(0, 0);
}

void CKLVPaintManagerTheme1::AdjustExcludeRect(CRect& rc, CKLVControlFace* pControlFace, BOOL bVertical) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    CKLVCommandBar* pBar = pControl->GetParent();
    if (KLVTheme::IsOnPopupBar(pControl)) {
        rc.InflateRect(1, 0);
        return;
    }
    if (pControl->GetType() == CKLVControl::typeComboBox) return;
    const BOOL bLargePopup = pBar && (pBar->m_dwStyle & CKLVCommandBar::flagLargeButtons) &&
                             pBar->GetPosition() == CKLVCommandBar::barPopup;
    if (bLargePopup || !bVertical)
        rc.DeflateRect(0, 1);
    else
        rc.DeflateRect(1, 0);
}

void CKLVPaintManagerTheme1::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL) {
    Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
}

CSize CKLVPaintManagerTheme1::DrawPopupTearOffStrip(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) {
    if (!bDraw) return CSize(0, 9);
    CRect rcStrip(1, 1, rc.right + 1, rc.Height() + 1);
    FillFrame(pDC, rcStrip, -1, 41);
    rcStrip.DeflateRect(1, 1);
    const int nHalf = std::min(16, rc.Width() / 2 - 10);
    const int c = rcStrip.CenterPoint().x;
    if (bSelected)
        FillFrame(pDC, rcStrip, 32, 31);
    else
        FillFrame(pDC, rcStrip, -1, 30);
    if (nHalf > 0) {
        const COLORREF clr = GetThemeColor(bSelected ? 45 : 38);
        for (int y = bSelected ? 4 : 3; y <= (bSelected ? 6 : 7); y += 2) HorizontalLine(pDC, c - nHalf, y, c + nHalf, clr);
    }
    return CSize(0, 9);
}

void CKLVPaintManagerTheme1::DrawImage(CDC* pDC, CPoint pt, CSize sz, CKLVImageManagerIcon* pImage, BOOL bSelected,
                                       BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL) {
    KLVThemeImageLook look;
    if (!m_grcDisabledIcon.m_clrFrom.IsUnset()) look.pDisabledTint = &m_grcDisabledIcon;
    KLVDrawThemeImage(*this, pDC, pt, sz, pImage, {bSelected, bPressed, bEnabled, bChecked, bPopuped}, look);
}

void CKLVPaintManagerTheme1::DrawCheckStrokes(CDC* pDC, CRect rc, COLORREF clr) {
    CKLVPenDC pen(pDC->GetSafeHdc(), clr);
    const BOOL bRTL = CKLVDrawHelpers::IsContextRTL(pDC);
    const int cx = rc.CenterPoint().x, y0 = rc.CenterPoint().y + 1;
    for (int y = y0; y < y0 + 3; ++y) {
        const POINT pts[3] = {{cx - 3, y - 2}, {cx - 1, y}, {cx + 4, y - 5}};
        POINT drawn[3];
        for (int i = 0; i < 3; ++i) drawn[i] = bRTL ? POINT{2 * cx - pts[i].x, pts[i].y} : pts[i];
        pDC->Polyline(drawn, 3);
    }
}

CSize CKLVPaintManagerTheme1::DrawFlatMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                           int nChecked, BOOL bEnabled, BOOL bRadio) {
    if (!bDraw) return CSize(13, 13);
    int nFrame = 52, nFill = COLOR_WINDOW;
    if (!bEnabled)
        nFrame = 35, nFill = bRadio ? 51 : -1;
    else if (bSelected || bPressed)
        nFrame = 32, nFill = bSelected && bPressed ? 33 : 31;
    const COLORREF clrGlyph = GetThemeColor(nChecked == 2 || !bEnabled ? 35 : COLOR_BTNTEXT);
    if (bRadio) {
        DrawAntialiasedCircle(pDC, rc.left, rc.top, rc.left + 13, rc.top + 13, GetThemeColor(nFrame),
                              GetThemeColor(nFill));
        if (nChecked) DrawAntialiasedCircle(pDC, rc.left + 4, rc.top + 4, rc.left + 9, rc.top + 9, clrGlyph, clrGlyph);
    } else {
        FillFrame(pDC, rc, nFrame, nFill);
        if (nChecked) DrawCheckStrokes(pDC, rc, clrGlyph);
    }
    return CSize(13, 13);
}

CSize CKLVPaintManagerTheme1::DrawCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                               int nChecked, BOOL bEnabled) {
    if (m_bUseButtonVisualStyle && m_themeButton.GetThemeHandle())
        return CKLVPaintManager::DrawCheckBoxMark(pDC, rc, bDraw, bSelected, bPressed, nChecked, bEnabled);
    return DrawFlatMark(pDC, rc, bDraw, bSelected, bPressed, nChecked, bEnabled, FALSE);
}

CSize CKLVPaintManagerTheme1::DrawRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                                  int nChecked, BOOL bEnabled) {
    if (m_bUseButtonVisualStyle && m_themeButton.GetThemeHandle())
        return CKLVPaintManager::DrawRadioButtonMark(pDC, rc, bDraw, bSelected, bPressed, nChecked, bEnabled);
    return DrawFlatMark(pDC, rc, bDraw, bSelected, bPressed, nChecked, bEnabled, TRUE);
}

void CKLVPaintManagerTheme1::FillPopupGutter(CDC* pDC, int x, int y, int cx, int cy, BOOL bExpanded) {
    FillFrame(pDC, CRect(x, y, x + cx, y + cy), -1, bExpanded ? 42 : 30);
}

void CKLVPaintManagerTheme1::FillLabelBack(CDC* pDC, CRect rc) {
    FillFrame(pDC, rc, -1, 56);
}
