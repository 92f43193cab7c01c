#include "toolkit/commandbars/paint/ControlGalleryPaintManager.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/paint/CommandBarFace.h"
#include "toolkit/commandbars/paint/ControlFace.h"
#include "toolkit/commandbars/paint/GalleryFace.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/paint/ScrollBarFace.h"
#include "toolkit/common/DCScopes.h"

#include <algorithm>

namespace {

// The visual style's scroll-bar parts and the first state of each arrow direction.
enum { partArrow = 1, partThumbHorz = 2, partThumbVert = 3, partLowerTrackHorz = 4, partUpperTrackHorz = 5,
       partLowerTrackVert = 6, partUpperTrackVert = 7 };

// Normal 1, hot 2, pressed 3, disabled 4.
int ThemeState(BOOL bEnabled, BOOL bHot, BOOL bPressed) { return !bEnabled ? 4 : bPressed ? 3 : bHot ? 2 : 1; }

}  // namespace

CKLVControlGalleryPaintManager::BarParts CKLVControlGalleryPaintManager::PartsOf(const KLVScrollBarGeometry& g,
                                                                             BOOL bVertical) {
    const CRect& rc = g.rcBar;
    auto span = [&](int nFrom, int nTo) {
        return bVertical ? CRect(rc.left, nFrom, rc.right, nTo) : CRect(nFrom, rc.top, nTo, rc.bottom);
    };
    const int nEnd = bVertical ? rc.bottom : rc.right;
    return {span(bVertical ? rc.top : rc.left, g.pxFirstArrowEnd), span(g.pxSecondArrowStart, nEnd),
            span(g.pxFirstArrowEnd, g.pxThumbStart), span(g.pxThumbEnd, g.pxSecondArrowStart),
            span(g.pxThumbStart, g.pxThumbEnd)};
}

void CKLVControlGalleryPaintManager::RefreshMetrics() {
    m_cxHScroll = ::GetSystemMetrics(SM_CXHSCROLL);
    m_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    m_cyVScroll = ::GetSystemMetrics(SM_CYVSCROLL);
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    m_themeScrollBar.OpenThemeData(nullptr, L"SCROLLBAR");
    m_cxScrollButton = 19;
    m_cyScrollButton = 19;
    m_cyScrollButtonDown = 19;
    m_cxPopupScrollColumn = 16;
}

void CKLVControlGalleryPaintManager::FillControl(CDC* pDC, CKLVGalleryFace* pGallery, CRect rc) {
    pDC->FillSolidRect(&rc, m_pPaintManager->GetThemeColor(41));
    if (pGallery->IsShowingBorders()) {
        const COLORREF clrBorder = m_pPaintManager->GetThemeColor(52);
        pDC->Draw3dRect(&rc, clrBorder, clrBorder);
        return;
    }
    CKLVCommandBarFace* pBar = pGallery->GetFaceControl()->GetBarFace();
    if (pBar && pBar->GetType() == CKLVCommandBarFace::barTypePopup && pGallery->IsFollowedByControl())
        pDC->FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 1, m_pPaintManager->GetThemeColor(39));
}

void CKLVControlGalleryPaintManager::DrawLabel(CDC* pDC, const CString& strCaption, CRect rc) {
    pDC->FillSolidRect(&rc, m_pPaintManager->GetThemeColor(56));
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, m_pPaintManager->GetThemeColor(52));
    CKLVFontDC font(pDC, &m_pPaintManager->m_fontRegularBold, m_pPaintManager->GetThemeColor(44));
    pDC->SetBkMode(TRANSPARENT);
    rc.DeflateRect(10, 0);
    pDC->DrawText(strCaption, &rc, DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER);
}

void CKLVControlGalleryPaintManager::DrawArrow(CDC* pDC, CRect rc, int nDirection, BOOL bEnabled) {
    static const CKLVPaintManager::CaptionGlyph s_glyphs[4] = {
        CKLVPaintManager::glyphArrowUp, CKLVPaintManager::glyphArrowDown, CKLVPaintManager::glyphArrowLeft,
        CKLVPaintManager::glyphArrowRight};
    if (rc.Width() < 6 || rc.Height() < 6 || nDirection < 0 || nDirection >= 4) return;
    CKLVPaintManager::DrawCaptionGlyph(pDC, rc, s_glyphs[nDirection],
                                       bEnabled ? RGB(0, 0, 0) : ::GetSysColor(COLOR_BTNSHADOW));
}

void CKLVControlGalleryPaintManager::DrawScrollBar(CDC* pDC, CKLVScrollBarFace* pScrollBar) {
    if (m_themeScrollBar.GetThemeHandle() && m_themeScrollBar.IsAppThemed())
        DrawThemedScrollBar(pDC, pScrollBar);
    else
        DrawClassicScrollBar(pDC, pScrollBar);
}

void CKLVControlGalleryPaintManager::DrawThemedScrollBar(CDC* pDC, CKLVScrollBarFace* pScrollBar) {
    const BOOL bVertical = pScrollBar->m_bVertical, bEnabled = pScrollBar->IsScrollBarEnabled();
    const BarParts parts = PartsOf(pScrollBar->m_geometry, bVertical);
    const int nHot = pScrollBar->m_nHotPart, nPressed = pScrollBar->m_nPressedPart;
    auto state = [&](int nPart) { return ThemeState(bEnabled, nHot == nPart, nPressed == nPart); };
    const HDC hDC = pDC->GetSafeHdc();
    // Arrow states come in fours: up, down, left, right.
    const int nFirstBase = bVertical ? 0 : 8, nSecondBase = bVertical ? 4 : 12;
    m_themeScrollBar.DrawThemeBackground(hDC, partArrow, nFirstBase + state(CKLVScrollBarFace::partFirstArrow),
                                         &parts.rcFirst, nullptr);
    m_themeScrollBar.DrawThemeBackground(hDC, partArrow, nSecondBase + state(CKLVScrollBarFace::partSecondArrow),
                                         &parts.rcSecond, nullptr);
    m_themeScrollBar.DrawThemeBackground(hDC, bVertical ? partUpperTrackVert : partUpperTrackHorz,
                                         state(CKLVScrollBarFace::partPageBefore), &parts.rcPageBefore, nullptr);
    m_themeScrollBar.DrawThemeBackground(hDC, bVertical ? partLowerTrackVert : partLowerTrackHorz,
                                         state(CKLVScrollBarFace::partPageAfter), &parts.rcPageAfter, nullptr);
    if (bEnabled && !parts.rcThumb.IsRectEmpty())
        m_themeScrollBar.DrawThemeBackground(hDC, bVertical ? partThumbVert : partThumbHorz,
                                             state(CKLVScrollBarFace::partThumb), &parts.rcThumb, nullptr);
}

void CKLVControlGalleryPaintManager::DrawClassicScrollBar(CDC* pDC, CKLVScrollBarFace* pScrollBar) {
    const BOOL bVertical = pScrollBar->m_bVertical, bEnabled = pScrollBar->IsScrollBarEnabled();
    BarParts parts = PartsOf(pScrollBar->m_geometry, bVertical);
    const int nPressed = pScrollBar->m_nPressedPart;
    auto arrow = [&](CRect rc, UINT nGlyph, int nPart) {
        const UINT nState = nGlyph | (nPressed == nPart ? DFCS_PUSHED : 0) | (bEnabled ? 0 : DFCS_INACTIVE);
        ::DrawFrameControl(pDC->GetSafeHdc(), &rc, DFC_SCROLL, nState);
    };
    arrow(parts.rcFirst, bVertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT, CKLVScrollBarFace::partFirstArrow);
    arrow(parts.rcSecond, bVertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT, CKLVScrollBarFace::partSecondArrow);
    const HBRUSH hTrack = ::GetSysColorBrush(COLOR_SCROLLBAR);
    ::FillRect(pDC->GetSafeHdc(), &parts.rcPageBefore, hTrack);
    ::FillRect(pDC->GetSafeHdc(), &parts.rcPageAfter, hTrack);
    if (nPressed == CKLVScrollBarFace::partPageBefore) pDC->InvertRect(&parts.rcPageBefore);
    if (nPressed == CKLVScrollBarFace::partPageAfter) pDC->InvertRect(&parts.rcPageAfter);
    if (!bEnabled || parts.rcThumb.IsRectEmpty()) return;
    pDC->FillSolidRect(&parts.rcThumb, ::GetSysColor(COLOR_3DFACE));
    pDC->DrawEdge(&parts.rcThumb, EDGE_RAISED, BF_RECT | BF_ADJUST);
}

void CKLVControlGalleryPaintManager::DrawPopupScrollBar(CDC* pDC, CKLVGalleryFace* pGallery) {
    const CKLVScrollBarFace& scrollBar = *pGallery->GetFaceScrollBar();
    const KLVScrollBarGeometry& g = scrollBar.m_geometry;
    pDC->FillSolidRect(&g.rcBar, m_pPaintManager->GetThemeColor(30));
    CKLVCommandBarFace* pBar = pGallery->GetFaceControl()->GetBarFace();
    const int nBarType = pBar ? pBar->GetType() : 0, nBarPosition = pBar ? pBar->GetPosition() : 0;
    const struct {
        int nPart;
        CRect rc;
    } buttons[3] = {{CKLVScrollBarFace::partFirstArrow, CRect(g.rcBar.left, g.rcBar.top, g.rcBar.right, g.pxFirstArrowEnd)},
                    {CKLVScrollBarFace::partSecondArrow, CRect(g.rcBar.left, g.pxSecondArrowStart, g.rcBar.right, g.pxBarEnd)},
                    {CKLVScrollBarFace::partBeyond, CRect(g.rcBar.left, g.pxBarEnd, g.rcBar.right, g.rcBar.bottom)}};
    for (const auto& b : buttons) {
        const BOOL bEnabled = pGallery->IsScrollButtonEnabled(b.nPart);
        const BOOL bHot = scrollBar.m_nHotPart == b.nPart, bPressed = scrollBar.m_nPressedPart == b.nPart;
        if (bHot || bPressed)
            m_pPaintManager->DrawRectangle(pDC, b.rc, bHot, bPressed, bEnabled, FALSE, FALSE, nBarType, nBarPosition);
        const COLORREF clrGlyph = m_pPaintManager->GetRectangleTextColor(bHot, bPressed, bEnabled, FALSE, FALSE,
                                                                          nBarType, nBarPosition);
        const CPoint c = b.rc.CenterPoint();
        if (b.nPart == CKLVScrollBarFace::partBeyond) pDC->FillSolidRect(c.x - 4, c.y - 3, 9, 2, clrGlyph);
        const int y = b.nPart == CKLVScrollBarFace::partFirstArrow ? c.y + 1 : c.y - 1;
        const int nTip = b.nPart == CKLVScrollBarFace::partFirstArrow ? -2 : 2;
        CKLVPaintManager::DrawTriangle(pDC, CPoint(c.x - 2, y), CPoint(c.x + 2, y), CPoint(c.x, y + nTip), clrGlyph);
    }
}
