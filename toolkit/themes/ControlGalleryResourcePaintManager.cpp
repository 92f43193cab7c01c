#include "toolkit/themes/ControlGalleryResourcePaintManager.h"

#include "toolkit/commandbars/paint/CommandBarFace.h"
#include "toolkit/commandbars/paint/ControlFace.h"
#include "toolkit/commandbars/paint/GalleryFace.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/paint/ScrollBarFace.h"
#include "toolkit/themes/ThemeResourceImage.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/ResourceImages.h"

#include <utility>

namespace {

const COLORREF kLine = RGB(0xC5, 0xC5, 0xC5);
const int kButtonColumn = 15;
const int kGlyph = 9;
const CRect kMargins3(3, 3, 3, 3);

// Indexed [vertical][dark].
const LPCTSTR kTrack[2][2] = {{"CONTROLGALLERYSCROLLHORIZONTALLIGHT", "CONTROLGALLERYSCROLLHORIZONTALDARK"},
                              {"CONTROLGALLERYSCROLLVERTICALLIGHT", "CONTROLGALLERYSCROLLVERTICALDARK"}};
const LPCTSTR kArrows[2][2] = {{"CONTROLGALLERYSCROLLARROWSHORIZONTALLIGHT", "CONTROLGALLERYSCROLLARROWSHORIZONTALDARK"},
                               {"CONTROLGALLERYSCROLLARROWSVERTICALLIGHT", "CONTROLGALLERYSCROLLARROWSVERTICALDARK"}};
// Indexed [vertical].
const LPCTSTR kThumb[2] = {"CONTROLGALLERYSCROLLTHUMBHORIZONTAL", "CONTROLGALLERYSCROLLTHUMBVERTICAL"};
const LPCTSTR kThumbGripper[2] = {"CONTROLGALLERYSCROLLTHUMBGRIPPERHORIZONTAL", "CONTROLGALLERYSCROLLTHUMBGRIPPERVERTICAL"};

int GlyphCount() {
    CKLVResourceImage* pImage = KLVSkinImage("CONTROLGALLERYSCROLLARROWGLYPHS");
    return pImage ? pImage->GetHeight() / kGlyph : 0;
}

}  // namespace

CKLVControlGalleryResourcePaintManager::CKLVControlGalleryResourcePaintManager(CKLVPaintManager* pPaintManager)
    : CKLVControlGalleryPaintManager(pPaintManager) {}

int CKLVControlGalleryResourcePaintManager::ScrollButtonPart(int nButton, BOOL bEnabled, BOOL bCanScroll, int nHotPart,
                                                              int nPressedPart) {
    if (!bEnabled || (nButton != CKLVScrollBarFace::partBeyond && !bCanScroll)) return 4;
    if (nPressedPart == nButton) return 3;
    if (nHotPart == nButton) return 2;
    return nHotPart != CKLVScrollBarFace::partNone || nPressedPart != CKLVScrollBarFace::partNone ? 1 : 0;
}

int CKLVControlGalleryResourcePaintManager::ArrowGlyphCell(int nDirection, BOOL bActive, BOOL bEnabled) {
    return 1 + 4 * nDirection + (!bEnabled ? 3 : bActive ? 1 : 0);
}

void CKLVControlGalleryResourcePaintManager::RefreshMetrics() {
    CKLVControlGalleryPaintManager::RefreshMetrics();
    m_cxPopupScrollColumn = kButtonColumn;
    m_cyScrollButton = 21;
    m_cyScrollButtonDown = 19;
    m_clrSelectedFace = m_clrNormalFace = m_pPaintManager->GetThemeColor(41);
    m_clrBorder = m_pPaintManager->GetThemeColor(52);
    CKLVResourceImages* pImages = KLVResourceImages();
    for (auto& key : {std::make_pair("ControlGallerySelected", &m_clrSelectedFace),
                      std::make_pair("ControlGalleryNormal", &m_clrNormalFace),
                      std::make_pair("ControlGalleryBorder", &m_clrBorder)}) {
        const COLORREF clr = pImages->LookupColor("Toolbar", key.first);
        if (clr != COLORREF(-1)) *key.second = clr;
    }
}

void CKLVControlGalleryResourcePaintManager::DrawLabel(CDC* pDC, const CString& strCaption, CRect rc) {
    pDC->FillSolidRect(&rc, m_pPaintManager->GetThemeColor(56));
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, kLine);
    CKLVFontDC font(pDC, &m_pPaintManager->m_fontRegularBold, m_pPaintManager->GetThemeColor(44));
    pDC->SetBkMode(TRANSPARENT);
    rc.DeflateRect(10, 0);
    pDC->DrawText(strCaption, &rc, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void CKLVControlGalleryResourcePaintManager::FillControl(CDC* pDC, CKLVGalleryFace* pGallery, CRect rc) {
    CKLVControlFace* pControl = pGallery->GetFaceControl();
    CKLVCommandBarFace* pBar = pControl->GetBarFace();
    COLORREF clrFace = m_clrNormalFace;
    if (pBar && pBar->GetPosition() == CKLVCommandBarFace::barPopup)
        clrFace = m_pPaintManager->GetThemeColor(41);
    else if (pControl->GetPressed() && pControl->GetEnabled())
        clrFace = m_clrSelectedFace;
    pDC->FillSolidRect(&rc, clrFace);
    if (pGallery->IsShowingBorders()) pDC->Draw3dRect(&rc, m_clrBorder, m_clrBorder);
    if (pBar && pBar->GetType() == CKLVCommandBarFace::barTypePopup && pGallery->IsFollowedByControl())
        pDC->FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 1, kLine);
}

void CKLVControlGalleryResourcePaintManager::DrawPopupScrollBar(CDC* pDC, CKLVGalleryFace* pGallery) {
    // The column the gallery hit-tests: up, down and popup buttons from the painter's heights.
    const CKLVScrollBarFace& scrollBar = *pGallery->GetFaceScrollBar();
    const KLVScrollBarGeometry& g = scrollBar.m_geometry;
    const CRect& rc = g.rcBar;
    const int x = rc.left, yDown = g.pxFirstArrowEnd, yPopup = g.pxBarEnd;
    const struct {
        LPCTSTR lpszImage;
        int nPart;
        CRect rc;
    } buttons[] = {{"CONTROLGALLERYUP", CKLVScrollBarFace::partFirstArrow, CRect(x, rc.top, rc.right, yDown)},
                   {"CONTROLGALLERYDOWN", CKLVScrollBarFace::partSecondArrow, CRect(x, yDown, rc.right, yPopup)},
                   {"CONTROLGALLERYPOPUP", CKLVScrollBarFace::partBeyond, CRect(x, yPopup, rc.right, rc.bottom)}};
    for (const auto& b : buttons) {
        const int nPart = ScrollButtonPart(b.nPart, pGallery->GetFaceControl()->GetEnabled(),
                                           pGallery->IsScrollButtonEnabled(b.nPart), scrollBar.m_nHotPart,
                                           scrollBar.m_nPressedPart);
        KLVDrawSkinPart(pDC, {b.lpszImage, nPart, 5}, b.rc, kMargins3, skinKeyed);
    }
}

void CKLVControlGalleryResourcePaintManager::DrawArrowButton(CDC* pDC, CKLVScrollBarFace* pScrollBar, CRect rc,
                                                             int nPart, int nDirection) {
    const BOOL bVertical = pScrollBar->m_bVertical, bDark = pScrollBar->GetScrollBarStyle() == 6;
    const BOOL bEnabled = pScrollBar->IsScrollBarEnabled();
    const int nHot = pScrollBar->m_nHotPart, nPressed = pScrollBar->m_nPressedPart;
    const BOOL bActive = nHot != CKLVScrollBarFace::partNone || nPressed != CKLVScrollBarFace::partNone;
    if (bEnabled && bActive) {
        const int nImagePart = nPressed == nPart ? 3 : nHot == nPart ? 2 : 1;
        KLVDrawSkinPart(pDC, {kArrows[bVertical][bDark], nImagePart, 4}, rc, kMargins3);
    }
    const int nCell = ArrowGlyphCell(nDirection, bActive, bEnabled);
    const CPoint c = rc.CenterPoint();
    KLVDrawSkinPart(pDC, {"CONTROLGALLERYSCROLLARROWGLYPHS", nCell - 1, GlyphCount()},
                    CRect(CPoint(c.x - kGlyph / 2, c.y - kGlyph / 2), CSize(kGlyph, kGlyph)), CRect(0, 0, 0, 0), skinKeyed);
}

void CKLVControlGalleryResourcePaintManager::DrawScrollBar(CDC* pDC, CKLVScrollBarFace* pScrollBar) {
    const int nStyle = pScrollBar->GetScrollBarStyle();
    if (nStyle != 5 && nStyle != 6) {
        CKLVControlGalleryPaintManager::DrawScrollBar(pDC, pScrollBar);
        return;
    }
    const BOOL bVertical = pScrollBar->m_bVertical, bDark = nStyle == 6;
    const BarParts r = PartsOf(pScrollBar->m_geometry, bVertical);
    const CRect rcTrackMargins = bVertical ? CRect(1, 0, 1, 0) : CRect(0, 1, 0, 1);
    KLVDrawSkinPart(pDC, {kTrack[bVertical][bDark], 0, 2}, pScrollBar->m_geometry.rcBar, rcTrackMargins);
    DrawArrowButton(pDC, pScrollBar, r.rcFirst, CKLVScrollBarFace::partFirstArrow, bVertical ? 0 : 2);
    DrawArrowButton(pDC, pScrollBar, r.rcSecond, CKLVScrollBarFace::partSecondArrow, bVertical ? 1 : 3);
    const int nPressed = pScrollBar->m_nPressedPart;
    if (nPressed == CKLVScrollBarFace::partPageBefore)
        KLVDrawSkinPart(pDC, {kTrack[bVertical][bDark], 1, 2}, r.rcPageBefore, rcTrackMargins);
    if (nPressed == CKLVScrollBarFace::partPageAfter)
        KLVDrawSkinPart(pDC, {kTrack[bVertical][bDark], 1, 2}, r.rcPageAfter, rcTrackMargins);
    if (!pScrollBar->IsScrollBarEnabled() || r.rcThumb.IsRectEmpty()) return;
    const int nState = nPressed == CKLVScrollBarFace::partThumb               ? 2
                       : pScrollBar->m_nHotPart == CKLVScrollBarFace::partThumb ? 1
                                                                               : 0;
    KLVDrawSkinPart(pDC, {kThumb[bVertical], nState, 3}, r.rcThumb, CRect(5, 5, 5, 5));
    if ((bVertical ? r.rcThumb.Height() : r.rcThumb.Width()) <= 10) return;
    const CPoint c = r.rcThumb.CenterPoint();
    KLVDrawSkinPart(pDC, {kThumbGripper[bVertical], nState, 3}, CRect(CPoint(c.x - 3, c.y - 4), CSize(8, 8)));
}
