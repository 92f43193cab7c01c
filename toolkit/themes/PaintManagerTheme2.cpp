// Theme 2's button states, grippers, separators, borders, tear-off strip, gutter, dock bars and
// status-bar frames.
#include "toolkit/themes/PaintManagerTheme2.h"

#include "toolkit/commandbars/DialogBar.h"
#include "toolkit/themes/ThemeControlState.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"

#include <algorithm>

namespace {

const DWORD kFixedDockStyles = 0x0100 | 0x4000;

BOOL IsDockedPosition(int nPosition) { return nPosition >= CKLVCommandBar::barTop && nPosition <= CKLVCommandBar::barFloating; }

}  // namespace

void CKLVPaintManagerTheme2::FillGradient(CDC* pDC, CRect rc, const CKLVGradientColorValue& grc, BOOL bHorizontal,
                                          const CRect* pClip) {
    GetDrawHelpers()->GradientFillValue(pDC, rc, grc, bHorizontal, pClip);
}

BOOL CKLVPaintManagerTheme2::DrawSchemeState(CDC* pDC, CRect rc, int nSelected, int nPressed, int nEnabled,
                                             int nChecked, BOOL bHorizontal) {
    const CKLVGradientColorValue* pGradient = nullptr;
    int nFrame = -1;
    if (nEnabled) {
        if (nChecked == 2 && !nSelected && !nPressed) {
            FillFrame(pDC, rc, 50, 51);
            return TRUE;
        }
        if (nChecked && nSelected && !nPressed)
            pGradient = &m_grcPressed, nFrame = 50;
        else if (nChecked == 1 && !nSelected && !nPressed)
            pGradient = &m_grcChecked, nFrame = 37;
        else if (nPressed == 2 || nPressed == 3 || (nSelected && nPressed))
            pGradient = &m_grcPressed, nFrame = 50;
        else if (!nSelected && !nPressed)
            return FALSE;
        else
            pGradient = &m_grcHot, nFrame = 32;
    } else if (nSelected == 2 || nSelected == 3) {
        pGradient = nChecked ? &m_grcPressed : &m_grcHot, nFrame = 50;
    } else if (nChecked) {
        pGradient = &m_grcChecked, nFrame = 58;
    } else {
        return FALSE;
    }
    FillGradient(pDC, rc, *pGradient, bHorizontal);
    Draw3dRect(pDC, rc, nFrame, nFrame);
    return TRUE;
}

void CKLVPaintManagerTheme2::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, int nEnabled,
                                           BOOL bChecked, BOOL bPopuped, int nBarType, int nBarPosition) {
    if (bPopuped) {
        FillGradient(pDC, rc, m_grcPopuped, FALSE);
        Draw3dRect(pDC, rc, 43, 43);
        return;
    }
    if (!m_bSchemeColors || nBarType == CKLVCommandBar::barTypePopup || !IsDockedPosition(nBarPosition)) {
        CKLVPaintManagerTheme1::DrawRectangle(pDC, rc, bSelected, bPressed, nEnabled, bChecked, FALSE, nBarType,
                                              nBarPosition);
        return;
    }
    DrawSchemeState(pDC, rc, bSelected, bPressed, nEnabled, bChecked, IsVerticalDockPosition(nBarPosition));
}

void CKLVPaintManagerTheme2::DrawDots(CDC* pDC, CPoint ptLight, CPoint ptDark) {
    pDC->FillSolidRect(ptLight.x, ptLight.y, 2, 2, GetThemeColor(COLOR_WINDOW));
    pDC->FillSolidRect(ptDark.x, ptDark.y, 2, 2, GetThemeColor(38));
}

CSize CKLVPaintManagerTheme2::DrawCommandBarCaption(CDC* pDC, CKLVCommandBarFace* pBarFace, BOOL bDraw) {
    CKLVCommandBar* pBar = KLVTheme::BarOf(pBarFace);
    if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
    const int nPosition = pBar->GetPosition();
    if (nPosition == CKLVCommandBar::barPopup || nPosition == CKLVCommandBar::barFloating)
        return CKLVPaintManagerTheme1::DrawCommandBarCaption(pDC, pBar, bDraw);
    const BOOL bVertical = IsVerticalDockPosition(nPosition);
    if (!bVertical && nPosition != CKLVCommandBar::barTop && nPosition != CKLVCommandBar::barBottom) return CSize(0, 0);
    if (!bDraw) return bVertical ? CSize(0, 9) : CSize(6, 0);
    CRect rc;
    if (pBar->GetSafeHwnd()) pBar->GetClientRect(&rc);
    const int nLength = (bVertical ? rc.Width() : rc.Height()) - 7;
    if (nLength >= 6) {
        for (int k = 8; k - 3 < nLength; k += 4) {
            if (bVertical)
                DrawDots(pDC, CPoint(k - 2, 7), CPoint(k - 3, 6));
            else
                DrawDots(pDC, CPoint(7, k - 2), CPoint(6, k - 3));
        }
    }
    return CSize(0, 0);
}

CSize CKLVPaintManagerTheme2::DrawDialogBarGripper(CDC* pDC, CKLVCommandBarFace* pBarFace, BOOL bDraw) {
    CKLVCommandBar* pBar = KLVTheme::BarOf(pBarFace);
    const int h = std::max(25, m_nTextHeight + 6);
    if (!bDraw) return CSize(8, h);
    CRect rc;
    if (pBar->GetSafeHwnd()) pBar->GetClientRect(&rc);
    rc.DeflateRect(3, 3);
    auto* pDialogBar = DYNAMIC_DOWNCAST(CKLVDialogBar, pBar);
    const BOOL bActive = pDialogBar && pDialogBar->IsActive();
    if (!bActive)
        FillGradient(pDC, rc, m_grcBarBody, FALSE);
    else if (m_bSchemeColors)
        FillGradient(pDC, rc, m_grcChecked, FALSE);
    else
        FillFrame(pDC, rc, -1, 36);
    for (int y = rc.top + 4; y < rc.top + h - 5; y += 4) DrawDots(pDC, CPoint(6, y + 1), CPoint(5, y));
    return CSize(8, h);
}

CSize CKLVPaintManagerTheme2::DrawSeparator(CDC* pDC, CKLVCommandBarFace* pBar, CKLVControlFace* pControlFace,
                                            BOOL bDraw) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    const int nPosition = pBar ? pBar->GetPosition() : CKLVCommandBar::barTop;
    const BOOL bPopup = pBar && pBar->GetType() == CKLVCommandBar::barTypePopup;
    if (bPopup || !IsDockedPosition(nPosition))
        return CKLVPaintManagerTheme1::DrawSeparator(pDC, pBar, pControl, bDraw);
    const BOOL bFloating = nPosition == CKLVCommandBar::barFloating;
    if (!bDraw || !pControl) return bFloating ? CSize(6, 0) : CSize(6, 6);
    const BOOL bWrap = pControl->GetWrap();
    if (bFloating && bWrap) return CSize(0, 0);
    const CRect rc = pControl->GetRect(), rcRow = pControl->GetRowRect();
    const COLORREF clrLine = GetThemeColor(39), clrLight = GetThemeColor(COLOR_BTNHIGHLIGHT);
    const BOOL bHighlight = bWrap || !m_bFlatSeparators;
    if (IsVerticalDockPosition(nPosition)) {
        if (bWrap) {
            VerticalLine(pDC, rcRow.right + 2, rcRow.top + 4, rcRow.bottom, clrLine);
            VerticalLine(pDC, rcRow.right + 3, rcRow.top + 5, rcRow.bottom + 1, clrLight);
        } else {
            HorizontalLine(pDC, rcRow.left + 4, rc.top - 4, rcRow.right - 4, clrLine);
            if (bHighlight) HorizontalLine(pDC, rcRow.left + 5, rc.top - 3, rcRow.right - 3, clrLight);
        }
    } else if (bWrap) {
        HorizontalLine(pDC, rcRow.left + 4, rcRow.top - 4, rcRow.right, clrLine);
        HorizontalLine(pDC, rcRow.left + 5, rcRow.top - 3, rcRow.right + 1, clrLight);
    } else {
        VerticalLine(pDC, rc.left - 4, rcRow.top + 4, rcRow.bottom - 4, clrLine);
        if (bHighlight) VerticalLine(pDC, rc.left - 3, rcRow.top + 5, rcRow.bottom - 3, clrLight);
    }
    return CSize(0, 0);
}

CRect CKLVPaintManagerTheme2::GetCommandBarBorders(CKLVCommandBarFace* pBar) {
    const int nPosition = pBar ? pBar->GetPosition() : CKLVCommandBar::barNone;
    if (nPosition == CKLVCommandBar::barTop || nPosition == CKLVCommandBar::barBottom) return CRect(4, 2, 2, 2);
    return CKLVPaintManagerTheme1::GetCommandBarBorders(pBar);
}

CSize CKLVPaintManagerTheme2::DrawPopupTearOffStrip(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) {
    if (!bDraw) return CSize(0, 9);
    CRect rcStrip(1, 1, rc.right + 1, rc.Height() + 1);
    FillFrame(pDC, rcStrip, -1, 41);
    rcStrip.DeflateRect(1, 1);
    if (bSelected)
        FillFrame(pDC, rcStrip, 32, 31);
    else
        pDC->FillSolidRect(rcStrip, m_clrTearOff);
    const int nHalf = std::min(32, rc.Width() / 2 - 10);
    const int c = rcStrip.CenterPoint().x;
    if (nHalf > 0) {
        for (int x = c - nHalf + 3; x - 3 < c + nHalf; x += 4) {
            pDC->FillSolidRect(x - 2, 5, 2, 2, GetThemeColor(COLOR_BTNHIGHLIGHT));
            pDC->FillSolidRect(x - 3, 4, 2, 2, GetThemeColor(38));
        }
    }
    return CSize(0, 9);
}

void CKLVPaintManagerTheme2::FillPopupGutter(CDC* pDC, int x, int y, int cx, int cy, BOOL bExpanded) {
    FillGradient(pDC, CRect(x, y, x + cx, y + cy), bExpanded ? m_grcExpandedGutter : m_grcBarBody, TRUE);
}

void CKLVPaintManagerTheme2::FillDockBar(CDC* pDC, CWnd* pDockBar, int /*nPosition*/) {
    CRect rc;
    pDockBar->GetClientRect(&rc);
    if (pDockBar->GetStyle() & kFixedDockStyles) {
        pDC->FillSolidRect(rc, m_grcDockBar.m_clrTo);
        return;
    }
    const CRect rcGradient(rc.left, rc.top, rc.left + std::max<int>(rc.Width(), ::GetSystemMetrics(SM_CXSCREEN) / 2),
                           rc.bottom);
    FillGradient(pDC, rcGradient, m_grcDockBar, TRUE, &rc);
}

void CKLVPaintManagerTheme2::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) {
    if (m_bUseStatusVisualStyle && m_themeStatusBar.GetThemeHandle()) {
        CKLVPaintManagerTheme1::DrawStatusBarPaneBorder(pDC, rc, bGripperPane);
        return;
    }
    pDC->Draw3dRect(rc, m_clrStatusPane, m_clrStatusPane);
}

void CKLVPaintManagerTheme2::DrawStatusBarGripper(CDC* pDC, CRect rc) {
    if (m_bUseStatusVisualStyle && m_themeStatusBar.GetThemeHandle()) {
        CKLVPaintManager::DrawStatusBarGripper(pDC, rc);
        return;
    }
    const int w = rc.Width(), h = rc.Height();
    const CPoint o = rc.TopLeft();
    auto diagonal = [&](int x0, COLORREF clr) {
        CKLVPenDC pen(pDC->GetSafeHdc(), clr);
        pDC->MoveTo(o.x + x0, o.y + h - 1);
        pDC->LineTo(o.x + w, o.y + h - 1 - (w - x0));
    };
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 3; ++k) diagonal(w - k - 5 * i, GetThemeColor(COLOR_BTNSHADOW));
        diagonal(w - 3 - 5 * i, GetThemeColor(COLOR_BTNHIGHLIGHT));
    }
}

BOOL CKLVPaintManagerTheme2::HasDockFlags(CKLVCommandBar* pBar) {
    if (IsFlatToolBar(pBar)) return FALSE;
    return (pBar->m_dwStyle & 0x0F) != 0;
}
