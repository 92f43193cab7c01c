// The galleries' painter of the resource-image themes: labels and faces in the skin's colours,
// the scroll buttons of a gallery with a drop-down and the light and dark scroll bars (styles 5
// and 6) from the skin's images.
#pragma once

#include "toolkit/commandbars/paint/ControlGalleryPaintManager.h"

class CKLVControlGalleryResourcePaintManager : public CKLVControlGalleryPaintManager {
public:
    explicit CKLVControlGalleryResourcePaintManager(CKLVPaintManager* pPaintManager);

    void DrawLabel(CDC* pDC, const CString& strCaption, CRect rc) override;
    void FillControl(CDC* pDC, CKLVGalleryFace* pGallery, CRect rc) override;
    void DrawScrollBar(CDC* pDC, CKLVScrollBarFace* pScrollBar) override;
    void DrawPopupScrollBar(CDC* pDC, CKLVGalleryFace* pGallery) override;
    void RefreshMetrics() override;

    // The image part (0 to 4) of a scroll button by hit code, from the gallery's state.
    static int ScrollButtonPart(int nButton, BOOL bEnabled, BOOL bCanScroll, int nHotPart, int nPressedPart);
    // The 1-based cell of the 9 by 9 arrow glyph strip: direction 0 up, 1 down, 2 left, 3 right.
    static int ArrowGlyphCell(int nDirection, BOOL bActive, BOOL bEnabled);

    COLORREF m_clrSelectedFace = 0;
    COLORREF m_clrNormalFace = 0;
    COLORREF m_clrBorder = 0;

private:
    void DrawArrowButton(CDC* pDC, CKLVScrollBarFace* pScrollBar, CRect rc, int nPart, int nDirection);
};
