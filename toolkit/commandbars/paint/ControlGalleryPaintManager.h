// The gallery's painter, owned by the command-bar paint manager: the control's background,
// group labels, the windowless scroll bar (the visual style's or the classic one) and the
// 16-pixel button column of a gallery with a drop-down.
#pragma once

#include "classlib/Geometry.h"
#include "toolkit/common/WinThemeWrapper.h"

class CDC;
class CString;
class CKLVGalleryFace;
class CKLVPaintManager;
class CKLVScrollBarFace;
struct KLVScrollBarGeometry;

class CKLVControlGalleryPaintManager {
public:
    explicit CKLVControlGalleryPaintManager(CKLVPaintManager* pPaintManager) : m_pPaintManager(pPaintManager) {
        RefreshMetrics();
    }
    virtual ~CKLVControlGalleryPaintManager() = default;
    CKLVControlGalleryPaintManager(const CKLVControlGalleryPaintManager&) = delete;
    CKLVControlGalleryPaintManager& operator=(const CKLVControlGalleryPaintManager&) = delete;

    // A group label of the gallery, with its caption.
    virtual void DrawLabel(CDC* pDC, const CString& strCaption, CRect rc);
    virtual void FillControl(CDC* pDC, CKLVGalleryFace* pGallery, CRect rc);
    virtual void DrawScrollBar(CDC* pDC, CKLVScrollBarFace* pScrollBar);
    virtual void DrawPopupScrollBar(CDC* pDC, CKLVGalleryFace* pGallery);
    virtual void RefreshMetrics();

    // An arrow (0 up, 1 down, 2 left, 3 right) centred in the button; none in a
    // button smaller than 6 pixels either way, nor for another direction.
    static void DrawArrow(CDC* pDC, CRect rc, int nDirection, BOOL bEnabled);

    // The rectangles of a scroll bar's two arrows, its page areas and its thumb.
    struct BarParts {
        CRect rcFirst, rcSecond, rcPageBefore, rcPageAfter, rcThumb;
    };
    static BarParts PartsOf(const KLVScrollBarGeometry& g, BOOL bVertical);

    int m_cxHScroll = 0;
    int m_cyHScroll = 0;
    int m_cyVScroll = 0;
    int m_cxVScroll = 0;
    int m_cxScrollButton = 19;
    int m_cyScrollButton = 19;       // the up button of the drop-down column
    int m_cyScrollButtonDown = 19;   // its down button
    int m_cxPopupScrollColumn = 16;
    CKLVWinThemeWrapper m_themeScrollBar;
    CKLVPaintManager* m_pPaintManager;

private:
    void DrawClassicScrollBar(CDC* pDC, CKLVScrollBarFace* pScrollBar);
    void DrawThemedScrollBar(CDC* pDC, CKLVScrollBarFace* pScrollBar);
};
