// Theme 3's refresh, button states, bars, grippers and separators.
#include "toolkit/themes/PaintManagerTheme3.h"

#include "classlib/WinApp.h"
#include "toolkit/themes/ThemeControlState.h"
#include "toolkit/common/DCScopes.h"

#include <algorithm>

using KLVTheme::BarPositionOf;
using KLVTheme::BarTypeOf;

namespace {

// Parts, states and properties the platform's visual styles publish.
enum {
    kRebarBackground = 0, kRebarGripper = 1, kRebarGripperVert = 2, kRebarBand = 3,
    kToolBarBackground = 0, kToolBarButton = 1, kToolBarSplit = 3, kToolBarSplitDropDown = 4,
    kToolBarSeparator = 5, kToolBarSeparatorVert = 6,
    kWindowSmallCaption = 2, kWindowFrameLeft = 10, kWindowFrameRight = 11, kWindowFrameBottom = 12,
    kPropTextColor = 3803, kPropEdgeHighlight = 3805, kPropEdgeShadow = 3806,
    kSysFlatMenus = 1001,
    kStateNormal = 1, kStateHot = 2, kStatePressed = 3, kStateDisabled = 4, kStateChecked = 5, kStateHotChecked = 6,
};

const UINT kSpiGetFlatMenu = 0x1022;
const int kSplitPart = 12;

BOOL IsPressedDown(int nPressed) { return nPressed == 2 || nPressed == 3; }

}  // namespace

int KLVToolBarButtonState(int nSelected, int nPressed, int nEnabled, int nChecked, BOOL bPopuped) {
    if (!nEnabled) return nChecked ? kStatePressed : kStateDisabled;
    if (nChecked == 2) nChecked = 0;
    if (bPopuped) return kStatePressed;
    if (nChecked == 1 && !nPressed) return nSelected ? kStateHotChecked : kStateChecked;
    if ((nSelected && nPressed) || IsPressedDown(nPressed)) return kStatePressed;
    return nSelected ? kStateHot : kStateNormal;
}

CKLVPaintManagerTheme3::CKLVPaintManagerTheme3() {
    m_iconsInfo.bUseFadedIcons = TRUE;
    m_iconsInfo.bIconsWithShadow = FALSE;
    m_bUseStatusVisualStyle = TRUE;
    m_bUseButtonVisualStyle = TRUE;
    m_nPopupTextColor = COLOR_MENUTEXT;
}

CKLVPaintManagerTheme3::~CKLVPaintManagerTheme3() {
    m_themeSpin.CloseThemeData();
    m_themeWindow.CloseThemeData();
    m_themeComboBox.CloseThemeData();
    m_themeToolBar.CloseThemeData();
    m_themeRebar.CloseThemeData();
}

void CKLVPaintManagerTheme3::RefreshMetrics() {
    CKLVPaintManagerTheme0::RefreshMetrics();
    CWnd* pMain = AfxGetMainWnd();
    const HWND hWnd = pMain ? pMain->GetSafeHwnd() : nullptr;
    m_themeToolBar.OpenThemeData(hWnd, L"TOOLBAR");
    m_themeRebar.OpenThemeData(hWnd, L"REBAR");
    m_themeComboBox.OpenThemeData(hWnd, L"COMBOBOX");
    m_themeWindow.OpenThemeData(hWnd, L"WINDOW");
    m_themeSpin.OpenThemeData(hWnd, L"SPIN");

    BOOL bFlat = FALSE;
    m_bFlatMenus = ::SystemParametersInfoA(kSpiGetFlatMenu, 0, &bFlat, 0) && bFlat;

    COLORREF clr = 0;
    m_clrRebarEdgeShadow = m_themeRebar.GetThemeHandle() &&
                                   SUCCEEDED(m_themeRebar.GetThemeColor(kRebarBand, 0, kPropEdgeShadow, &clr))
                               ? clr
                               : GetThemeColor(COLOR_BTNSHADOW);
    m_clrRebarEdgeHighlight = m_themeRebar.GetThemeHandle() &&
                                      SUCCEEDED(m_themeRebar.GetThemeColor(kRebarBand, 0, kPropEdgeHighlight, &clr))
                                  ? clr
                                  : GetThemeColor(COLOR_BTNHIGHLIGHT);
    if (m_themeToolBar.GetThemeHandle() &&
        SUCCEEDED(m_themeToolBar.GetThemeColor(kToolBarBackground, 0, kPropTextColor, &clr)))
        m_arrColors[COLOR_BTNTEXT].SetStandardValue(clr);
    if (!m_bFlatMenus && m_themeRebar.GetThemeHandle()) m_bFlatMenus = m_themeRebar.GetThemeSysBool(kSysFlatMenus);
    if (!m_bFlatMenus) m_arrColors[COLOR_MENUHILIGHT].SetStandardValue(GetThemeColor(COLOR_HIGHLIGHT));
}

void CKLVPaintManagerTheme3::DrawPart(CKLVWinThemeWrapper& theme, CDC* pDC, int nPart, int nState, CRect rc,
                                      const CRect* pClip) {
    theme.DrawThemeBackground(AfxGetSafeHdc(pDC), nPart, nState, rc, pClip);
}

void CKLVPaintManagerTheme3::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, int nEnabled,
                                           BOOL bChecked, BOOL bPopuped, int nBarType, int nBarPosition) {
    if (!IsThemed()) {
        CKLVPaintManagerTheme0::DrawRectangle(pDC, rc, bSelected, bPressed, nEnabled, bChecked, bPopuped, nBarType,
                                              nBarPosition);
        return;
    }
    if (nBarType == CKLVCommandBar::barTypePopup && bChecked <= 0) {
        if (bSelected || bPressed) Rectangle(pDC, rc, COLOR_HIGHLIGHT, COLOR_MENUHILIGHT);
        return;
    }
    DrawPart(m_themeToolBar, pDC, kToolBarButton, KLVToolBarButtonState(bSelected, bPressed, nEnabled, bChecked, bPopuped),
             rc);
}

void CKLVPaintManagerTheme3::DrawSplitButtonFrame(CDC* pDC, CKLVControlFace* pControl, CRect rc) {
    if (!IsThemed()) {
        CKLVPaintManagerTheme0::DrawSplitButtonFrame(pDC, pControl, rc);
        return;
    }
    const int nEnabled = pControl->GetEnabled(), nSelected = pControl->GetSelected();
    const BOOL bPopuped = pControl->GetPopuped();
    int nState = kStateNormal;
    if (!nEnabled)
        nState = kStateDisabled;
    else if (pControl->GetPressed() && nSelected)
        nState = kStatePressed;
    else if (pControl->GetChecked())
        nState = kStateChecked;
    else if (bPopuped || nSelected)
        nState = kStateHot;
    DrawPart(m_themeToolBar, pDC, kToolBarSplit, nState, CRect(rc.left, rc.top, rc.right - kSplitPart, rc.bottom));
    const int nDropState = bPopuped ? kStatePressed : nEnabled == 3 ? kStateDisabled : nState;
    DrawPart(m_themeToolBar, pDC, kToolBarSplitDropDown, nDropState,
             CRect(rc.right - kSplitPart, rc.top, rc.right, rc.bottom));
}

BOOL CKLVPaintManagerTheme3::IsFlatMenuBarPopup(CKLVControl* pControl) const {
    return pControl->GetType() == CKLVControl::typePopup && BarTypeOf(pControl) == CKLVCommandBar::barTypeMenuBar &&
           m_bFlatMenus && BarPositionOf(pControl) != CKLVCommandBar::barPopup;
}

void CKLVPaintManagerTheme3::DrawControlEntry(CDC* pDC, CKLVControlFace* pControlFace) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    if (!IsThemed() || !IsFlatMenuBarPopup(pControl)) {
        CKLVPaintManagerTheme0::DrawControlEntry(pDC, pControl);
        return;
    }
    if (pControl->GetSelected() || pControl->GetPopuped() || pControl->GetPressed())
        Rectangle(pDC, pControl->GetRect(), -1, COLOR_HIGHLIGHT);
}

COLORREF CKLVPaintManagerTheme3::GetControlTextColor(CKLVControlFace* pControlFace) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    if (IsThemed() && IsFlatMenuBarPopup(pControl) &&
        (pControl->GetSelected() || pControl->GetPopuped() || pControl->GetPressed()))
        return GetThemeColor(COLOR_HIGHLIGHTTEXT);
    return CKLVPaintManagerTheme0::GetControlTextColor(pControl);
}

void CKLVPaintManagerTheme3::FillRebarBackground(CDC* pDC, CWnd* pBar, CWnd* pOwner) {
    CRect rcClient, rcOwner;
    pBar->GetClientRect(&rcClient);
    pOwner->GetWindowRect(&rcOwner);
    pBar->ScreenToClient(&rcOwner);
    DrawPart(m_themeRebar, pDC, kRebarBackground, 0, rcOwner, &rcClient);
}

void CKLVPaintManagerTheme3::FillDockBar(CDC* pDC, CWnd* pDockBar, int nPosition) {
    if (nPosition == CKLVCommandBarFace::barTop && IsThemed())
        FillRebarBackground(pDC, pDockBar, pDockBar);
    else
        CKLVPaintManagerTheme0::FillDockBar(pDC, pDockBar, nPosition);
}

void CKLVPaintManagerTheme3::FillFloatingBar(CDC* pDC, CKLVCommandBar* pBar, CRect rc) {
    if (pBar->GetType() == CKLVCommandBar::barTypePopup) {
        Rectangle(pDC, rc, -1, COLOR_MENU);
    } else {
        Rectangle(pDC, rc, -1, COLOR_BTNFACE);
        DrawPart(m_themeToolBar, pDC, kToolBarBackground, 0, rc);
    }
    DrawPart(m_themeWindow, pDC, kWindowFrameLeft, 1, CRect(rc.left, rc.top, rc.left + 3, rc.bottom));
    DrawPart(m_themeWindow, pDC, kWindowFrameRight, 1, CRect(rc.right - 3, rc.top, rc.right, rc.bottom));
    DrawPart(m_themeWindow, pDC, kWindowFrameBottom, 1, CRect(rc.left, rc.bottom - 3, rc.right, rc.bottom));
}

void CKLVPaintManagerTheme3::FillCommandBar(CDC* pDC, CKLVCommandBarFace* pBarFace) {
    CKLVCommandBar* pBar = KLVTheme::BarOf(pBarFace);
    const int nPosition = pBar->GetPosition();
    if (!IsThemed() || (nPosition == CKLVCommandBar::barFloating && pBar->IsDialogBar())) {
        CKLVPaintManagerTheme0::FillCommandBar(pDC, pBar);
        return;
    }
    CRect rc;
    pBar->GetClientRect(&rc);
    if (nPosition == CKLVCommandBar::barPopup) {
        if (m_bFlatMenus) {
            Rectangle(pDC, rc, COLOR_BTNSHADOW, COLOR_MENU);
        } else {
            Rectangle(pDC, rc, -1, COLOR_MENU);
            Draw3dRect(pDC, rc, COLOR_BTNFACE, COLOR_3DDKSHADOW);
            rc.DeflateRect(1, 1);
            Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        }
    } else if (nPosition == CKLVCommandBar::barFloating) {
        FillFloatingBar(pDC, pBar, rc);
    } else if (nPosition <= CKLVCommandBar::barRight) {
        CWnd* pParent = pBar->GetParent();
        if (nPosition == CKLVCommandBar::barTop && pParent)
            FillRebarBackground(pDC, pBar, pParent);
        else
            Rectangle(pDC, rc, -1, COLOR_BTNFACE);
        DrawPart(m_themeRebar, pDC, kRebarBand, 0, rc);
        if (!IsFlatToolBar(pBar)) pDC->Draw3dRect(rc, m_clrRebarEdgeHighlight, m_clrRebarEdgeShadow);
    }
}

CSize CKLVPaintManagerTheme3::DrawCommandBarCaption(CDC* pDC, CKLVCommandBarFace* pBarFace, BOOL bDraw) {
    CKLVCommandBar* pBar = KLVTheme::BarOf(pBarFace);
    if (!IsThemed()) return CKLVPaintManagerTheme0::DrawCommandBarCaption(pDC, pBar, bDraw);
    if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
    CRect rc;
    if (pBar->GetSafeHwnd()) pBar->GetClientRect(&rc);
    const int nPosition = pBar->GetPosition();
    if (nPosition == CKLVCommandBar::barFloating) {
        CKLVFontDC font(pDC, &m_fontRegular);
        const int h = std::max(15, static_cast<int>(pDC->GetTextExtent(" ", 1).cy)) + 3;
        if (bDraw) {
            DrawPart(m_themeWindow, pDC, kWindowSmallCaption, 1, CRect(0, 0, rc.Width(), h));
            pDC->SetBkMode(TRANSPARENT);
            pDC->SetTextColor(m_clrFloatingCaptionText);
            CRect rcText(5, 3, rc.Width(), h);
            pDC->DrawText(pBar->GetTitle(), rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
        return CSize(rc.Width(), h);
    }
    if (nPosition == CKLVCommandBar::barTop || nPosition == CKLVCommandBar::barBottom) {
        if (bDraw) DrawPart(m_themeRebar, pDC, kRebarGripper, 1, CRect(rc.left + 2, rc.top, rc.left + 8, rc.bottom));
        return CSize(8, 0);
    }
    if (IsVerticalDockPosition(nPosition)) {
        if (bDraw) DrawPart(m_themeRebar, pDC, kRebarGripperVert, 1, CRect(rc.left, rc.top + 2, rc.right, rc.top + 8));
        return CSize(0, 8);
    }
    return CSize(0, 0);
}

CSize CKLVPaintManagerTheme3::DrawDialogBarGripper(CDC* pDC, CKLVCommandBarFace* pBar, BOOL bDraw) {
    if (!IsThemed()) return CKLVPaintManagerTheme0::DrawDialogBarGripper(pDC, pBar, bDraw);
    const int h = std::max(22, m_nTextHeight + 4);
    if (bDraw) DrawPart(m_themeRebar, pDC, kRebarGripper, 1, CRect(2, 3, 8, h));
    return CSize(8, h);
}

CSize CKLVPaintManagerTheme3::DrawSeparator(CDC* pDC, CKLVCommandBarFace* pBar, CKLVControlFace* pControlFace,
                                            BOOL bDraw) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    if (!IsThemed() || !bDraw || !pControl || !pBar || pBar->GetType() == CKLVCommandBar::barTypePopup ||
        pBar->GetPosition() == CKLVCommandBar::barPopup)
        return CKLVPaintManagerTheme0::DrawSeparator(pDC, pBar, pControl, bDraw);
    const CRect rc = pControl->GetRect(), rcRow = pControl->GetRowRect();
    const BOOL bWrap = pControl->GetWrap();
    if (!IsVerticalDockPosition(pBar->GetPosition())) {
        if (bWrap)
            DrawPart(m_themeToolBar, pDC, kToolBarSeparatorVert, 1, CRect(rcRow.left + 4, rcRow.top - 5, rcRow.right, rcRow.top));
        else
            DrawPart(m_themeToolBar, pDC, kToolBarSeparator, 1, CRect(rc.left - 6, rcRow.top, rc.left, rcRow.bottom));
    } else if (!bWrap) {
        DrawPart(m_themeToolBar, pDC, kToolBarSeparatorVert, 1, CRect(rcRow.left, rc.top - 6, rcRow.right, rc.top));
    } else {
        DrawPart(m_themeToolBar, pDC, kToolBarSeparator, 1,
                 CRect(rcRow.right, rcRow.top + 4, rcRow.right + 5, rcRow.bottom));
    }
    return CSize(0, 0);
}

void CKLVPaintManagerTheme3::AdjustExcludeRect(CRect& rc, CKLVControlFace* pControl, BOOL bVertical) {
    if (!IsThemed()) {
        CKLVPaintManagerTheme0::AdjustExcludeRect(rc, pControl, bVertical);
        return;
    }
    if (pControl->GetType() != CKLVControl::typeComboBox && KLVTheme::IsOnPopupBar(pControl)) rc.InflateRect(-3, 3);
}

CSize CKLVPaintManagerTheme3::DrawSpecialControl(CDC* pDC, int nKind, CKLVControlFace* pControl,
                                                 CKLVCommandBarFace* pBar, BOOL bDraw, LPVOID lpParam) {
    if ((nKind == 2 || nKind == 3) && m_themeToolBar.GetThemeHandle())
        return CKLVPaintManager::DrawSpecialControl(pDC, nKind, pControl, pBar, bDraw, lpParam);
    return CKLVPaintManagerTheme0::DrawSpecialControl(pDC, nKind, pControl, pBar, bDraw, lpParam);
}
