// Theme 0's states, frames, bars, grippers, separators and images.
#include "toolkit/themes/PaintManagerTheme0.h"

#include "toolkit/themes/ThemeControlState.h"
#include "toolkit/themes/ThemeImage.h"
#include "toolkit/common/SplitterTracker.h"

#include <algorithm>

using KLVTheme::BarPositionOf;
using KLVTheme::BarTypeOf;
using KLVTheme::EnabledOf;

namespace {

const int kSplitPart = 12;

BOOL IsPressedDown(int nPressed) { return nPressed == 2 || nPressed == 3; }

}  // namespace

CKLVPaintManagerTheme0::CKLVPaintManagerTheme0() {
    m_iconsInfo.bUseFadedIcons = FALSE;
    m_iconsInfo.bIconsWithShadow = FALSE;
}

void CKLVPaintManagerTheme0::RefreshMetrics() {
    CKLVPaintManager::RefreshMetrics();
    m_clrFloatingCaption.SetStandardValue(GetThemeColor(COLOR_ACTIVECAPTION));
    m_clrFloatingCaptionText.SetStandardValue(GetThemeColor(COLOR_CAPTIONTEXT));
}

void CKLVPaintManagerTheme0::FillCheckerboard(CDC* pDC, CRect rc) {
    HDC hDC = pDC->GetSafeHdc();
    HGDIOBJ hOld = ::SelectObject(hDC, KLVHalftoneBrush());
    const COLORREF clrOldBk = ::SetBkColor(hDC, GetThemeColor(COLOR_BTNFACE));
    const COLORREF clrOldText = ::SetTextColor(hDC, GetThemeColor(COLOR_BTNHIGHLIGHT));
    ::PatBlt(hDC, rc.left, rc.top, rc.Width(), rc.Height(), PATCOPY);
    ::SetTextColor(hDC, clrOldText);
    ::SetBkColor(hDC, clrOldBk);
    ::SelectObject(hDC, hOld);
}

COLORREF CKLVPaintManagerTheme0::GetRectangleTextColor(BOOL bSelected, BOOL, int nEnabled, BOOL, BOOL, int nBarType,
                                                       int nBarPosition) {
    if (!nEnabled) return GetThemeColor(COLOR_GRAYTEXT);
    if (nBarType == CKLVCommandBar::barTypePopup) return GetThemeColor(bSelected ? COLOR_HIGHLIGHTTEXT : m_nPopupTextColor);
    return GetThemeColor(nBarPosition == CKLVCommandBar::barPopup ? m_nPopupTextColor : COLOR_BTNTEXT);
}

void CKLVPaintManagerTheme0::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, int nEnabled,
                                           BOOL bChecked, BOOL bPopuped, int nBarType, int) {
    if (nBarType == CKLVCommandBar::barTypePopup && !bChecked) {
        if (bSelected || bPressed) Rectangle(pDC, rc, COLOR_HIGHLIGHT, COLOR_HIGHLIGHT);
        return;
    }
    if (!nEnabled) {
        if (bChecked || bSelected == 2 || bSelected == 3) Sunken(pDC, rc);
        return;
    }
    if (bChecked) {
        if (!bSelected && !bPressed) FillCheckerboard(pDC, rc);
        Sunken(pDC, rc);
    } else if (bPopuped || IsPressedDown(bPressed)) {
        Sunken(pDC, rc);
    } else if (bSelected && bPressed) {
        Sunken(pDC, rc);
    } else if (bSelected || bPressed) {
        Raised(pDC, rc);
    }
}

void CKLVPaintManagerTheme0::DrawSplitButtonFrame(CDC* pDC, CKLVControlFace* pControl, CRect rc) {
    const int nSelected = pControl->GetSelected(), nPressed = pControl->GetPressed();
    const int nEnabled = pControl->GetEnabled(), nChecked = pControl->GetChecked();
    const BOOL bPopuped = pControl->GetPopuped();
    const int nPosition = BarPositionOf(pControl);
    const BOOL bActive = (nSelected || nPressed || bPopuped) && nEnabled;
    if (pControl->GetStyle() != CKLVControl::styleCaptionBelow) {
        DrawRectangle(pDC, CRect(rc.left, rc.top, rc.right - kSplitPart, rc.bottom), nSelected || bPopuped, nPressed,
                      nEnabled, nChecked, FALSE, CKLVCommandBar::barTypeNormal, nPosition);
        if (bActive)
            DrawRectangle(pDC, CRect(rc.right - kSplitPart, rc.top, rc.right, rc.bottom), TRUE, FALSE, nEnabled, FALSE,
                          bPopuped, CKLVCommandBar::barTypeNormal, nPosition);
        DrawExpandArrow(pDC, pControl, CPoint(rc.right - 7, rc.CenterPoint().y), nSelected, bPopuped,
                        nEnabled == 3 ? 0 : nEnabled, FALSE);
        return;
    }
    const int w = GetSplitDropDownWidth();
    CRect rcButton = rc, rcDrop = rc;
    if (IsVerticalDockPosition(nPosition)) {
        rcDrop.right = rc.left + w;
        rcButton.left = rcDrop.right;
    } else {
        rcDrop.top = rc.bottom - w;
        rcButton.bottom = rcDrop.top;
    }
    DrawRectangle(pDC, rcButton, nSelected, nPressed, nEnabled, nChecked, FALSE, CKLVCommandBar::barTypeNormal,
                  nPosition);
    if (bActive)
        DrawRectangle(pDC, rcDrop, nSelected, nPressed, nEnabled, FALSE, bPopuped, CKLVCommandBar::barTypeNormal,
                      nPosition);
}

void CKLVPaintManagerTheme0::FillCommandBar(CDC* pDC, CKLVCommandBarFace* pBarFace) {
    CKLVCommandBar* pBar = KLVTheme::BarOf(pBarFace);
    CRect rc;
    pBar->GetClientRect(&rc);
    Rectangle(pDC, rc, -1, COLOR_BTNFACE);
    const int nPosition = pBar->GetPosition();
    if (nPosition == CKLVCommandBar::barFloating || nPosition == CKLVCommandBar::barPopup) {
        Draw3dRect(pDC, rc, COLOR_BTNFACE, COLOR_3DDKSHADOW);
        rc.DeflateRect(1, 1);
        Raised(pDC, rc);
    } else if (!IsFlatToolBar(pBar)) {
        Raised(pDC, rc);
    }
}

CSize CKLVPaintManagerTheme0::DrawCommandBarCaption(CDC* pDC, CKLVCommandBarFace* pBarFace, BOOL bDraw) {
    CKLVCommandBar* pBar = KLVTheme::BarOf(pBarFace);
    if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
    const int nPosition = pBar->GetPosition();
    if (nPosition == CKLVCommandBar::barFloating) return CKLVPaintManager::DrawCommandBarCaption(pDC, pBar, bDraw);
    CRect rc;
    if (pBar->GetSafeHwnd()) pBar->GetClientRect(&rc);
    if (nPosition == CKLVCommandBar::barTop || nPosition == CKLVCommandBar::barBottom) {
        if (bDraw) Raised(pDC, CRect(3, 3, 6, rc.Height() - 3));
        return CSize(6, 0);
    }
    if (IsVerticalDockPosition(nPosition)) {
        if (bDraw) Raised(pDC, CRect(3, 3, rc.Width() - 3, 6));
        return CSize(0, 8);
    }
    return CSize(0, 0);
}

CSize CKLVPaintManagerTheme0::DrawDialogBarGripper(CDC* pDC, CKLVCommandBarFace*, BOOL bDraw) {
    const int h = std::max(22, m_nTextHeight + 4);
    if (bDraw) Raised(pDC, CRect(3, 3, 6, h));
    return CSize(6, h);
}

void CKLVPaintManagerTheme0::EtchedLine(CDC* pDC, int x0, int y0, int x1, int y1) {
    Draw3dRect(pDC, CRect(x0, y0, x1, y1), COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
}

CSize CKLVPaintManagerTheme0::DrawSeparator(CDC* pDC, CKLVCommandBarFace* pBar, CKLVControlFace* pControlFace,
                                            BOOL bDraw) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    const BOOL bPopup = pBar && pBar->GetType() == CKLVCommandBar::barTypePopup;
    const CSize sz = bPopup ? CSize(8, 8) : CSize(6, 6);
    if (!bDraw || !pControl) return sz;
    const CRect rc = pControl->GetRect(), rcRow = pControl->GetRowRect();
    const BOOL bWrap = pControl->GetWrap();
    if (bPopup) {
        if (bWrap)
            EtchedLine(pDC, rc.left - 5, rcRow.top + 3, rc.left - 3, rcRow.bottom - 3);
        else
            EtchedLine(pDC, rc.left + 11, rc.top - 5, rc.right - 11, rc.top - 3);
    } else if (IsVerticalDockPosition(pBar->GetPosition())) {
        if (bWrap)
            EtchedLine(pDC, rcRow.right + 2, rcRow.top + 4, rcRow.right + 4, rcRow.bottom);
        else
            EtchedLine(pDC, rcRow.left, rc.top - 4, rcRow.right, rc.top - 2);
    } else {
        if (bWrap)
            EtchedLine(pDC, rcRow.left + 4, rcRow.top - 4, rcRow.right, rcRow.top - 2);
        else
            EtchedLine(pDC, rc.left - 4, rcRow.top, rc.left - 2, rcRow.bottom);
    }
    return sz;
}

void CKLVPaintManagerTheme0::AdjustExcludeRect(CRect& rc, CKLVControlFace* pControl, BOOL bVertical) {
    if (pControl->GetType() == CKLVControl::typeComboBox) return;
    if (KLVTheme::IsOnPopupBar(pControl))
        rc.DeflateRect(1, 0);
    else if (bVertical)
        rc.InflateRect(0, 1);
    else
        rc.InflateRect(1, 0);
}

CRect CKLVPaintManagerTheme0::GetCommandBarBorders(CKLVCommandBarFace* pBar) {
    return pBar && pBar->GetType() == CKLVCommandBar::barTypePopup ? CRect(3, 3, 3, 3) : CRect(2, 2, 2, 2);
}

CSize CKLVPaintManagerTheme0::DrawPopupTearOffStrip(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) {
    if (bDraw) Rectangle(pDC, CRect(rc.left, rc.top, rc.right, rc.bottom - 1), -1, bSelected ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    return CSize(0, 8);
}

void CKLVPaintManagerTheme0::DrawImage(CDC* pDC, CPoint pt, CSize sz, CKLVImageManagerIcon* pImage, BOOL bSelected,
                                       BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL) {
    KLVThemeImageLook look;
    look.bEmbossed = TRUE;
    look.bSunkenPressed = TRUE;
    KLVDrawThemeImage(*this, pDC, pt, sz, pImage, {bSelected, bPressed, bEnabled, bChecked, bPopuped}, look);
}

CSize CKLVPaintManagerTheme0::DrawSpecialControl(CDC* pDC, int nKind, CKLVControlFace* pControl,
                                                 CKLVCommandBarFace* pBar, BOOL bDraw, LPVOID lpParam) {
    if (bDraw && (nKind == 2 || nKind == 3)) {
        if (pControl->GetPressed() || pControl->GetSelected() || (nKind == 3 && pControl->GetPopuped()))
            Rectangle(pDC, pControl->GetRect(), -1, COLOR_BTNFACE);
    }
    return CKLVPaintManager::DrawSpecialControl(pDC, nKind, pControl, pBar, bDraw, lpParam);
}

CSize CKLVPaintManagerTheme0::GetIconAreaSize(CKLVCommandBarFace* pBar) {
    const CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
    return CSize(std::max<int>(m_nTextHeight, szIcon.cx + 4), std::max<int>(m_nTextHeight, szIcon.cy + 4));
}
