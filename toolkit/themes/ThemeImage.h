// The choice of a control image's variant by state that every command-bar theme shares: faded
// when idle, hot (with a shadow) when hovered, pressed, checked, and the disabled forms.
#pragma once

#include "classlib/Dc.h"
#include "toolkit/common/ColorValue.h"

class CKLVImageManagerIcon;
class CKLVPaintManager;

struct KLVThemeImageLook {
    // Disabled classic images: an embossed pair of silhouettes (highlight one pixel down-right,
    // shadow on top) instead of one silhouette in colour 40.
    BOOL bEmbossed = FALSE;
    // The pressed image one pixel down-right.
    BOOL bSunkenPressed = FALSE;
    // The tint of generated disabled images; unset gives grey.
    const CKLVGradientColorValue* pDisabledTint = nullptr;
};

struct KLVThemeImageState {
    int nSelected;
    int nPressed;
    int nEnabled;
    int nChecked;
    BOOL bPopuped;
};

void KLVDrawThemeImage(CKLVPaintManager& pm, CDC* pDC, CPoint pt, CSize sz, CKLVImageManagerIcon* pImage,
                       const KLVThemeImageState& state, const KLVThemeImageLook& look);
