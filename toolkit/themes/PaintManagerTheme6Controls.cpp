// Theme 6's button faces, popup items, marks, arrows, gutters, bars and status bar from the
// skin's images; where a face image is missing theme 2 draws it.
#include "toolkit/themes/PaintManagerTheme6.h"

#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/themes/RibbonFaces.h"
#include "toolkit/themes/ThemeControlState.h"
#include "toolkit/themes/ThemeResourceImage.h"

namespace {

const CRect kMargins4(4, 4, 4, 4);
const COLORREF kLine = RGB(0xC5, 0xC5, 0xC5);
const int kMark = 13;

// Buttons and popup items from 33 pixels high take the tall images.
BOOL IsTall(CRect rc) { return rc.Height() >= 33; }

int MarkPart(BOOL bSelected, BOOL bPressed, BOOL bEnabled) {
    if (!bEnabled) return 3;
    if (bPressed && bSelected) return 2;
    return bSelected ? 1 : 0;
}

}  // namespace

int CKLVPaintManagerTheme6::ToolBarButtonPart(int nSelected, int nPressed, int nEnabled, int nChecked, BOOL bPopuped) {
    if (!nEnabled) return nSelected == 2 || nSelected == 3 ? 0 : -1;
    if (bPopuped) return 2;
    if (nChecked && !nPressed) return nSelected ? 3 : 2;
    if (nPressed == 2 || nPressed == 3 || (nSelected && nPressed)) return 1;
    return nSelected || nPressed ? 0 : -1;
}

void CKLVPaintManagerTheme6::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, int nEnabled,
                                           BOOL bChecked, BOOL bPopuped, int nBarType, int nBarPosition) {
    if (nBarType == CKLVCommandBar::barTypePopup && nBarPosition == CKLVCommandBar::barPopup) {
        BOOL bDrawn = FALSE;
        if (bChecked) {
            bDrawn = KLVDrawSkinPart(pDC, {"MENUCHECKEDITEM", nEnabled ? 0 : 1, 2}, rc, kMargins4);
        } else if (bSelected && nEnabled) {
            bDrawn = KLVDrawSkinPart(pDC, {IsTall(rc) ? "MENUSELECTEDITEM54" : "MENUSELECTEDITEM22", 0, 1}, rc, kMargins4);
        } else if (bSelected == 2 || bSelected == 3) {
            bDrawn = KLVDrawSkinPart(
                pDC, {IsTall(rc) ? "MENUSELECTEDDISABLEDITEM54" : "MENUSELECTEDDISABLEDITEM22", 0, 1}, rc, kMargins4);
        } else if (bSelected) {
            return;
        }
        if (!bDrawn)
            CKLVPaintManagerTheme5::DrawRectangle(pDC, rc, bSelected, bPressed, nEnabled, bChecked, bPopuped, nBarType,
                                                  nBarPosition);
        return;
    }
    const int nPart = ToolBarButtonPart(bSelected, bPressed, nEnabled, bChecked, bPopuped);
    if (nPart < 0) return;
    const KLVSkinPart face = {IsTall(rc) ? "TOOLBARBUTTONS50" : "TOOLBARBUTTONS22", nPart, 4};
    if (!KLVDrawSkinPart(pDC, face, rc, CRect(8, 8, 8, 8)))
        CKLVPaintManagerTheme5::DrawRectangle(pDC, rc, bSelected, bPressed, nEnabled, bChecked, bPopuped, nBarType,
                                              nBarPosition);
}

COLORREF CKLVPaintManagerTheme6::GetRectangleTextColor(BOOL bSelected, BOOL bPressed, int nEnabled, BOOL bChecked,
                                                       BOOL bPopuped, int nBarType, int) {
    if (nBarType == CKLVCommandBar::barTypePopup) return GetThemeColor(nEnabled ? 44 : 35);
    if (nBarType == CKLVCommandBar::barTypeMenuBar && nEnabled && !bSelected && !bPressed && !bChecked && !bPopuped)
        return m_clrMenuBarText;
    return GetThemeColor(nEnabled ? 46 : 60);
}

COLORREF CKLVPaintManagerTheme6::GetControlTextColor(CKLVControlFace* pControlFace) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    const int nType = pControl->GetType(), nEnabled = pControl->GetEnabled();
    if (nType == CKLVControl::typeEdit || nType == CKLVControl::typeComboBox) {
        if (KLVTheme::IsOnPopupBar(pControl)) return GetThemeColor(!nEnabled ? 35 : pControl->GetSelected() ? 45 : 44);
        return GetThemeColor(nEnabled ? 46 : 60);
    }
    const BOOL bOnRibbon =
        KLVTheme::BarTypeOf(pControl) == CKLVCommandBar::barTypeRibbon && !CKLVRibbonGroupFace::Of(pControl);
    if (bOnRibbon && nEnabled && !pControl->GetSelected() && !pControl->GetPressed() && !pControl->GetPopuped() &&
        pControl->GetStyle() == CKLVControl::styleAutomatic)
        return m_clrRibbonText;
    return CKLVPaintManagerTheme5::GetControlTextColor(pControl);
}

COLORREF CKLVPaintManagerTheme6::GetControlEditBackColor(CKLVControlFace* pControl) {
    if (!pControl->GetEnabled()) return GetThemeColor(COLOR_BTNFACE);
    if (pControl->GetSelected()) return GetThemeColor(COLOR_WINDOW);
    return KLVTheme::IsOnPopupBar(pControl) ? GetThemeColor(41) : m_clrEditFace;
}

CSize CKLVPaintManagerTheme6::DrawSpecialControl(CDC* pDC, int nKind, CKLVControlFace* pControl,
                                                 CKLVCommandBarFace* pBar, BOOL bDraw, LPVOID lpParam) {
    // Only the tool bar's own expand button has images; it measures as theme 2's, 12 pixels.
    if (nKind != 0 || !bDraw)
        return CKLVPaintManagerTheme5::DrawSpecialControl(pDC, nKind, pControl, pBar, bDraw, lpParam);
    const int nPosition = pBar ? pBar->GetPosition() : CKLVCommandBar::barTop;
    const BOOL bVertical = IsVerticalDockPosition(nPosition) || nPosition == CKLVCommandBar::barPopup;
    const BOOL bPopuped = pControl->GetPopuped(), bSelected = pControl->GetSelected() != 0;
    const CRect rc = pControl->GetRect();
    const KLVSkinPart face = {bVertical ? "TOOLBAREXPANDBUTTONVERTICAL" : "TOOLBAREXPANDBUTTONHORIZONTAL",
                              bPopuped ? 2 : bSelected ? 1 : 0, 3};
    if (!KLVDrawSkinPart(pDC, face, rc, CRect(3, 3, 3, 3)))
        return CKLVPaintManagerTheme5::DrawSpecialControl(pDC, nKind, pControl, pBar, bDraw, lpParam);
    const BOOL bHidden = lpParam && *static_cast<BOOL*>(lpParam);
    DrawExpandGlyph(pDC, rc + CPoint(1, 1), bVertical, bHidden, GetThemeColor(COLOR_BTNHIGHLIGHT));
    DrawExpandGlyph(pDC, rc, bVertical, bHidden, GetThemeColor(bPopuped || bSelected ? 45 : 46));
    return CSize(0, 0);
}

void CKLVPaintManagerTheme6::FillCommandBar(CDC* pDC, CKLVCommandBarFace* pBarFace) {
    CKLVCommandBar* pBar = KLVTheme::BarOf(pBarFace);
    CRect rc;
    pBar->GetClientRect(&rc);
    const int nPosition = pBar->GetPosition();
    BOOL bDrawn = FALSE;
    if (nPosition == CKLVCommandBar::barPopup)
        bDrawn = KLVDrawSkinPart(pDC, {"POPUPBARFRAME", 0, 1}, rc, kMargins4);
    else if (nPosition == CKLVCommandBar::barTop || nPosition == CKLVCommandBar::barBottom)
        bDrawn = KLVDrawSkinPart(pDC, {"TOOLBARFACEHORIZONTAL", 0, 1}, rc, CRect(5, 5, 5, 5));
    else if (IsVerticalDockPosition(nPosition))
        bDrawn = KLVDrawSkinPart(pDC, {"TOOLBARFACEVERTICAL", 0, 1}, rc, CRect(5, 5, 5, 5));
    if (!bDrawn) CKLVPaintManagerTheme5::FillCommandBar(pDC, pBar);
}

void CKLVPaintManagerTheme6::FillRibbonWindowClient(CDC* pDC, CWnd* pWnd) {
    CRect rc;
    pWnd->GetClientRect(&rc);
    pDC->FillSolidRect(rc, m_clrRibbonFace);
}

void CKLVPaintManagerTheme6::FillMorePopupToolBar(CDC* pDC, CKLVCommandBar* pBar) {
    CRect rc;
    pBar->GetClientRect(&rc);
    if (!KLVDrawSkinPart(pDC, {"MOREPOPUPBARFRAME", 0, 1}, rc, kMargins4)) FillCommandBar(pDC, pBar);
}

CSize CKLVPaintManagerTheme6::DrawSeparator(CDC* pDC, CKLVCommandBarFace* pBar, CKLVControlFace* pControlFace,
                                            BOOL bDraw) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    if (!pBar || pBar->GetType() != CKLVCommandBar::barTypePopup)
        return CKLVPaintManagerTheme5::DrawSeparator(pDC, pBar, pControl, bDraw);
    if (!bDraw || !pControl) return CSize(2, 2);
    const CRect rc = pControl->GetRect(), rcRow = pControl->GetRowRect();
    if (pControl->GetWrap()) {
        VerticalLine(pDC, rc.left - 2, rcRow.top - 1, rcRow.bottom + 1, kLine);
        return CSize(0, 0);
    }
    // The line starts where the caption text does: after the gutter and the text margin.
    const int xLeft = rc.left + GetPopupBarGripperWidth(pBar) + m_nPopupBarTextMargin - 1;
    HorizontalLine(pDC, xLeft, rc.top - 2, rc.right, kLine);
    HorizontalLine(pDC, xLeft, rc.top - 1, rc.right, RGB(0xF5, 0xF5, 0xF5));
    return CSize(0, 0);
}

CSize CKLVPaintManagerTheme6::DrawCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                               int nChecked, BOOL bEnabled) {
    if (bDraw)
        KLVDrawSkinPart(pDC, {"TOOLBARBUTTONCHECKBOX", MarkPart(bSelected, bPressed, bEnabled) + 4 * nChecked, 12},
                        CRect(rc.TopLeft(), CSize(kMark, kMark)));
    return CSize(kMark, kMark);
}

CSize CKLVPaintManagerTheme6::DrawRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                                  int nChecked, BOOL bEnabled) {
    if (bDraw)
        KLVDrawSkinPart(pDC,
                        {"TOOLBARBUTTONRADIOBUTTON", MarkPart(bSelected, bPressed, bEnabled) + (nChecked ? 4 : 0), 8},
                        CRect(rc.TopLeft(), CSize(kMark, kMark)));
    return CSize(kMark, kMark);
}

void CKLVPaintManagerTheme6::DrawExpandArrow(CDC* pDC, CKLVControlFace* pControl, CPoint pt, BOOL bSelected,
                                             BOOL bPopuped, BOOL bEnabled, BOOL bLeft) {
    if (bLeft) {
        CKLVPaintManagerTheme5::DrawExpandArrow(pDC, pControl, pt, bSelected, bPopuped, bEnabled, bLeft);
        return;
    }
    const int nPart = !bEnabled ? 3 : bSelected ? 1 : 0;
    KLVDrawSkinPart(pDC, {"TOOLBARBUTTONDROPDOWNGLYPH", nPart, 4}, CRect(pt.x - 2, pt.y - 2, pt.x + 3, pt.y + 2),
                    CRect(0, 0, 0, 0), skinKeyed);
}

void CKLVPaintManagerTheme6::DrawSplitPopupDivider(CDC* pDC, CKLVControl* pControl) {
    const CRect rc = pControl->GetRect();
    const BOOL bActive = pControl->GetSelected() && KLVTheme::EnabledOf(pControl);
    const int nPart = bActive ? (pControl->GetPopuped() ? 2 : 1) : 0;
    KLVDrawSkinPart(pDC, {"MENUSPLITDROPDOWN", nPart, 3},
                    CRect(rc.right - m_nSplitButtonPopupWidth, rc.top, rc.right, rc.bottom), CRect(2, 2, 2, 2), skinKeyed);
}

void CKLVPaintManagerTheme6::DrawSubmenuArrow(CDC* pDC, CKLVControl* pControl) {
    const CRect rc = pControl->GetRect();
    const KLVSkinPart glyph = {"MENUPOPUPGLYPH", KLVTheme::EnabledOf(pControl) ? 0 : 1, 2};
    const CSize sz = KLVSkinPartSize(glyph);
    KLVDrawSkinPartAt(pDC, glyph, CPoint(rc.right - 14, rc.top + (rc.Height() - sz.cy) / 2));
}

void CKLVPaintManagerTheme6::FillPopupGutter(CDC* pDC, int x, int y, int cx, int cy, BOOL) {
    pDC->FillSolidRect(x, y, cx, cy, RGB(0xE9, 0xEE, 0xEE));
    pDC->FillSolidRect(x + cx - 1, y, 1, cy, kLine);
    pDC->FillSolidRect(x + cx, y, 1, cy, RGB(0xF5, 0xF5, 0xF5));
}

void CKLVPaintManagerTheme6::FillLabelBack(CDC* pDC, CRect rc) {
    pDC->FillSolidRect(rc, GetThemeColor(56));
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, kLine);
}

void CKLVPaintManagerTheme6::FillStatusBar(CDC* pDC, CKLVStatusBarFace* pBar) {
    CRect rc, rcFirst;
    pBar->GetFaceRect(&rc);
    int xDivider = rc.right;
    if (pBar->GetFirstPaneRect(&rcFirst)) xDivider = rcFirst.right - 3;
    const KLVSkinPart divider = {"STATUSBARDEVIDER", 0, 1};
    const int cxDivider = KLVSkinPartSize(divider).cx;
    KLVDrawSkinPart(pDC, {"STATUSBARLIGHT", 0, 1}, CRect(rc.left, rc.top, xDivider, rc.bottom));
    KLVDrawSkinPart(pDC, divider, CRect(xDivider, rc.top, xDivider + cxDivider, rc.bottom));
    KLVDrawSkinPart(pDC, {"STATUSBARDARK", 0, 1}, CRect(xDivider + cxDivider, rc.top, rc.right, rc.bottom));
}

void CKLVPaintManagerTheme6::DrawStatusBarGripper(CDC* pDC, CRect rc) {
    const KLVSkinPart gripper = {"STATUSBARGRIPPER", 0, 1};
    const CSize sz = KLVSkinPartSize(gripper);
    KLVDrawSkinPartAt(pDC, gripper, CPoint(rc.right - sz.cx, rc.bottom - 4 - sz.cy));
}
