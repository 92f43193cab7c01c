// Theme 2's bar bodies (the menu bar continuing the dock bar's gradient, rounded tool-bar bodies
// with a gradient over the first row, banded floating bars) and the tool bar's expand buttons.
#include "toolkit/themes/PaintManagerTheme2.h"

#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/themes/ThemeControlState.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"

#include <algorithm>

namespace {

const DWORD kFixedDockStyles = 0x0100 | 0x4000;

int HalfScreen() { return ::GetSystemMetrics(SM_CXSCREEN) / 2; }

// The first control that is visible and not temporary.
CKLVControl* FirstVisibleControl(CKLVCommandBar* pBar) {
    CKLVControls* pControls = pBar->GetControls();
    for (int i = 0; pControls && i < pControls->GetCount(); ++i) {
        CKLVControl* pControl = pControls->GetAt(i);
        if (pControl->IsVisible() && !pControl->IsTemporary()) return pControl;
    }
    return nullptr;
}

void ExcludePixel(CDC* pDC, int x, int y) { pDC->ExcludeClipRect(x, y, x + 1, y + 1); }

void ExcludeCornerPixels(CDC* pDC, CRect rc) {
    ExcludePixel(pDC, rc.left, rc.top);
    ExcludePixel(pDC, rc.right - 1, rc.top);
    ExcludePixel(pDC, rc.left, rc.bottom - 1);
    ExcludePixel(pDC, rc.right - 1, rc.bottom - 1);
}

void SetCornerPixels(CDC* pDC, CRect rc, COLORREF clr) {
    for (const CPoint pt : {CPoint(2, 2), CPoint(rc.right - 3, 2), CPoint(2, rc.bottom - 3),
                            CPoint(rc.right - 3, rc.bottom - 3)})
        pDC->SetPixel(pt, clr);
}

}  // namespace

void CKLVPaintManagerTheme2::FillParentGradient(CDC* pDC, CKLVCommandBar* pBar, CRect rcClient) {
    CWnd* pParent = pBar->GetParent();
    CRect rc;
    pParent->GetWindowRect(&rc);
    pBar->ScreenToClient(&rc);
    rc.right = rc.left + std::max<int>(rc.Width(), HalfScreen());
    FillGradient(pDC, rc, m_grcDockBar, TRUE, &rcClient);
}

void CKLVPaintManagerTheme2::FillFlatBar(CDC* pDC, CKLVCommandBar* pBar, CRect rc) {
    const int nPosition = pBar->GetPosition();
    if (nPosition <= CKLVCommandBar::barRight && pBar->GetParent()) {
        FillParentGradient(pDC, pBar, rc);
    } else {
        const CRect rcGradient(rc.left, rc.top, rc.left + std::max<int>(rc.Width(), HalfScreen()), rc.bottom);
        FillGradient(pDC, rcGradient, m_grcDockBar, TRUE, &rc);
    }
    if (nPosition != CKLVCommandBar::barFloating) return;
    FillFrame(pDC, rc, 61, -1);
    CRect rcInner = rc;
    rcInner.DeflateRect(1, 1);
    FillFrame(pDC, rcInner, 61, -1);
    SetCornerPixels(pDC, rc, GetThemeColor(61));
}

void CKLVPaintManagerTheme2::FillDockedBody(CDC* pDC, CKLVCommandBar* pBar, CRect rc, BOOL bVertical) {
    FillFrame(pDC, rc, -1, COLOR_BTNFACE);
    if (CWnd* pParent = pBar->GetParent()) {
        if (bVertical && (pParent->GetStyle() & kFixedDockStyles))
            pDC->FillSolidRect(rc, m_grcDockBar.m_clrTo);
        else
            FillParentGradient(pDC, pBar, rc);
        if (bVertical) {
            pDC->ExcludeClipRect(rc.left, rc.top, rc.right, rc.top + 3);
            ExcludeCornerPixels(pDC, CRect(rc.left + 1, rc.top + 3, rc.right - 1, rc.bottom));
        } else {
            pDC->ExcludeClipRect(rc.left, rc.top, rc.left + 3, rc.bottom);
            ExcludeCornerPixels(pDC, CRect(rc.left + 3, rc.top + 1, rc.right, rc.bottom - 1));
        }
    }
    CKLVControl* pFirst = FirstVisibleControl(pBar);
    if (bVertical) {
        CRect rcBody(rc.left + 1, rc.top, rc.right, rc.bottom);
        if (pFirst) rcBody.right = pFirst->GetRowRect().right + 1;
        FillGradient(pDC, rcBody, m_grcBarBody, TRUE);
        pDC->FillSolidRect(rc.right - 1, rc.top + 5, 1, rc.Height() - 7, m_clrBarBorder);
    } else {
        CRect rcBody(rc.left, rc.top + 1, rc.right, rc.bottom);
        if (pFirst) rcBody.bottom = pFirst->GetRowRect().bottom + 1;
        FillGradient(pDC, rcBody, m_grcBarBody, FALSE);
        const COLORREF clrEnd = m_grcBarBody.m_clrTo;
        if (clrEnd != COLORREF(-1) && rcBody.bottom < rc.bottom - 1)
            pDC->FillSolidRect(rc.left, rcBody.bottom, rc.Width(), rc.bottom - 1 - rcBody.bottom, clrEnd);
        pDC->FillSolidRect(rc.left + 5, rc.bottom - 1, rc.Width() - 7, 1, m_clrBarBorder);
    }
    pDC->SelectClipRgn(nullptr);
}

void CKLVPaintManagerTheme2::FillFloatingBands(CDC* pDC, CKLVCommandBar* pBar, CRect rc) {
    FillFrame(pDC, rc, 61, 30);
    CRect rcInner = rc;
    rcInner.DeflateRect(1, 1);
    FillFrame(pDC, rcInner, 61, -1);
    int h = 15;
    {
        CKLVFontDC font(pDC, &m_fontSmCaption);
        h = std::max<int>(h, pDC->GetTextExtent(" ", 1).cy);
    }
    int nTop = rc.top + 3 + h;
    const int nLeft = rc.left + 3, nRight = rc.right - 3, nBottom = rc.bottom - 3;
    CKLVControls* pControls = pBar->GetControls();
    for (int i = 0; pControls && i < pControls->GetCount(); ++i) {
        CKLVControl* pControl = pControls->GetAt(i);
        if (!pControl->IsVisible() || pControl->GetRect().top <= nTop) continue;
        const int nRowTop = pControl->GetRowRect().top;
        FillGradient(pDC, CRect(nLeft, nTop, nRight, nRowTop), m_grcBarBody, FALSE);
        nTop = nRowTop;
    }
    FillGradient(pDC, CRect(nLeft, nTop, nRight, nBottom), m_grcBarBody, FALSE);
    SetCornerPixels(pDC, rc, GetThemeColor(61));
}

void CKLVPaintManagerTheme2::FillCommandBar(CDC* pDC, CKLVCommandBarFace* pBarFace) {
    CKLVCommandBar* pBar = KLVTheme::BarOf(pBarFace);
    CRect rc;
    pBar->GetClientRect(&rc);
    const int nPosition = pBar->GetPosition();
    if (nPosition == CKLVCommandBar::barPopup) {
        FillFrame(pDC, rc, 43, 41);
        const CRect rcGap = KLVTheme::ParentControlGap(pBar);
        if (!rcGap.IsRectEmpty()) FillFrame(pDC, rcGap, -1, 41);
    } else if (IsFlatToolBar(pBar)) {
        FillFlatBar(pDC, pBar, rc);
    } else if (nPosition == CKLVCommandBar::barTop || nPosition == CKLVCommandBar::barBottom) {
        FillDockedBody(pDC, pBar, rc, FALSE);
    } else if (IsVerticalDockPosition(nPosition)) {
        FillDockedBody(pDC, pBar, rc, TRUE);
    } else if (nPosition == CKLVCommandBar::barFloating && HasDockFlags(pBar)) {
        FillFloatingBands(pDC, pBar, rc);
    } else {
        CKLVPaintManagerTheme1::FillCommandBar(pDC, pBar);
    }
}

void CKLVPaintManagerTheme2::DrawExpandGlyph(CDC* pDC, CRect rc, BOOL bVertical, BOOL bHidden, COLORREF clr) {
    CKLVPenDC pen(pDC->GetSafeHdc(), clr);
    if (!bVertical) {
        const int c = rc.left + rc.Width() / 2;
        Line(pDC, c - 2, rc.bottom - 10, c + 3, rc.bottom - 10);
        DrawTriangle(pDC, CPoint(c - 2, rc.bottom - 7), CPoint(c + 2, rc.bottom - 7), CPoint(c, rc.bottom - 5), clr);
    } else {
        const int m = (rc.top + rc.bottom) / 2;
        Line(pDC, rc.right - 10, m - 2, rc.right - 10, m + 3);
        DrawTriangle(pDC, CPoint(rc.right - 5, m), CPoint(rc.right - 7, m - 2), CPoint(rc.right - 7, m + 2), clr);
    }
    if (!bHidden) return;
    for (int k = 0; k <= 4; k += 4) {
        if (!bVertical)
            DrawTriangle(pDC, CPoint(rc.left + 3 + k, rc.top + 5), CPoint(rc.left + 4 + k, rc.top + 6),
                         CPoint(rc.left + 3 + k, rc.top + 7), clr);
        else
            DrawTriangle(pDC, CPoint(rc.left + 5, rc.top + 3 + k), CPoint(rc.left + 6, rc.top + 4 + k),
                         CPoint(rc.left + 7, rc.top + 3 + k), clr);
    }
}

CSize CKLVPaintManagerTheme2::DrawSpecialControl(CDC* pDC, int nKind, CKLVControlFace* pControlFace,
                                                 CKLVCommandBarFace* pBar, BOOL bDraw, LPVOID lpParam) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    const BOOL bVertical = pBar && (IsVerticalDockPosition(pBar->GetPosition()) ||
                                    pBar->GetPosition() == CKLVCommandBar::barPopup);
    if (nKind == 0) {
        if (!bDraw) {
            const CSize sz = lpParam ? *static_cast<CSize*>(lpParam) : CSize(0, 0);
            pControl->m_rcControl = bVertical ? CRect(0, sz.cy - 12, sz.cx, sz.cy) : CRect(sz.cx - 12, 1, sz.cx, sz.cy);
            return CSize(0, 0);
        }
        const CRect rc = pControl->GetRect();
        if (bVertical) {
            ExcludePixel(pDC, rc.left, rc.bottom - 1);
            ExcludePixel(pDC, rc.right - 1, rc.bottom - 1);
            pDC->ExcludeClipRect(rc.left + 1, rc.top, rc.right - 1, rc.top + 1);
        } else {
            ExcludePixel(pDC, rc.right - 1, rc.top);
            ExcludePixel(pDC, rc.right - 1, rc.bottom - 1);
            pDC->ExcludeClipRect(rc.left, rc.top + 1, rc.left + 1, rc.bottom - 1);
        }
        const BOOL bPopuped = pControl->GetPopuped(), bSelected = pControl->GetSelected() != 0;
        if (bPopuped && !m_bSchemeColors)
            FillFrame(pDC, rc, -1, 36);
        else if (bSelected && !bPopuped && !m_bSchemeColors)
            FillFrame(pDC, rc, -1, 31);
        else
            FillGradient(pDC, rc, bPopuped ? m_grcPressed : bSelected ? m_grcHot : m_grcExpandButton, bVertical);
        const BOOL bHidden = lpParam && *static_cast<BOOL*>(lpParam);
        DrawExpandGlyph(pDC, rc + CPoint(1, 1), bVertical, bHidden, GetThemeColor(COLOR_BTNHIGHLIGHT));
        DrawExpandGlyph(pDC, rc, bVertical, bHidden, GetThemeColor(bSelected && !bPopuped ? 45 : 46));
        pDC->SelectClipRgn(nullptr);
        return CSize(0, 0);
    }
    if (nKind == 1) {
        if (!bDraw) return CSize(0, 18);
        const CRect rc = pControl->GetRect();
        const int c = (rc.left + rc.right) / 2;
        DrawControlEntry(pDC, pControl);
        if (m_hGlyphImages) ImageList_Draw(m_hGlyphImages, 0, pDC->GetSafeHdc(), c - 7, rc.top + 1, ILD_TRANSPARENT);
        CKLVPenDC pen(pDC->GetSafeHdc(), RGB(0, 0, 0));
        for (int dy : {0, 1, 4, 5}) {
            const POINT pts[3] = {{c - 2, rc.top + 5 + dy}, {c, rc.top + 7 + dy}, {c + 3, rc.top + 4 + dy}};
            pDC->Polyline(pts, 3);
        }
        return CSize(0, 18);
    }
    return CKLVPaintManagerTheme1::DrawSpecialControl(pDC, nKind, pControl, pBar, bDraw, lpParam);
}
