#include "toolkit/themes/ThemeImage.h"

#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/common/ImageManagerIcon.h"

namespace {

void DrawDisabled(CKLVPaintManager& pm, CDC* pDC, CPoint pt, CSize sz, CKLVImageManagerIcon* pImage,
                  const KLVThemeImageLook& look) {
    KLVIconsInfo* pInfo = pm.GetIconsInfo();
    if (!pInfo->bUseDisabledIcons && !pImage->IsAlpha()) {
        if (look.bEmbossed) {
            pImage->DrawMono(pDC, CPoint(pt.x + 1, pt.y + 1), pImage->GetIcon(), sz, pm.GetThemeColor(COLOR_BTNHIGHLIGHT));
            pImage->DrawMono(pDC, pt, pImage->GetIcon(), sz, pm.GetThemeColor(COLOR_BTNSHADOW));
        } else {
            pImage->DrawMono(pDC, pt, pImage->GetIcon(), sz, pm.GetThemeColor(40));
        }
        return;
    }
    if (pInfo->bGenerateDisabledIcons && !pImage->HasDisabledIcon()) {
        if (look.pDisabledTint)
            pImage->CreateDisabledIcon(look.pDisabledTint->m_clrFrom, look.pDisabledTint->m_clrTo);
        else
            pImage->CreateDisabledIcon();
    }
    pImage->DrawHandle(pDC, pt, pImage->GetDisabledIcon(), sz);
}

}  // namespace

void KLVDrawThemeImage(CKLVPaintManager& pm, CDC* pDC, CPoint pt, CSize sz, CKLVImageManagerIcon* pImage,
                       const KLVThemeImageState& s, const KLVThemeImageLook& look) {
    if (!pImage) return;
    KLVIconsInfo* pInfo = pm.GetIconsInfo();
    const CPoint ptDown(pt.x + 1, pt.y + 1);
    if (!s.nEnabled) {
        DrawDisabled(pm, pDC, pt, sz, pImage, look);
    } else if (s.nChecked == 2 && !s.nPressed) {
        if (look.bEmbossed && !pImage->IsAlpha())
            pImage->DrawMono(pDC, pt, pImage->GetCheckedIcon(), sz, pm.GetThemeColor(COLOR_BTNSHADOW));
        else
            DrawDisabled(pm, pDC, pt, sz, pImage, look);
    } else if (s.bPopuped) {
        pImage->DrawHandle(pDC, pt, s.nChecked ? pImage->GetCheckedIcon() : pImage->GetIcon(), sz);
    } else if (s.nChecked) {
        pImage->DrawHandle(pDC, pt, pImage->GetCheckedIcon(), sz);
    } else if (!s.nSelected && !s.nPressed) {
        pImage->DrawHandle(pDC, pt, pInfo->bUseFadedIcons ? pImage->GetFadedIcon() : pImage->GetIcon(), sz);
    } else if (s.nPressed > 1 || (s.nSelected && s.nPressed)) {
        // Pressed values above 3 belong to parts of the control that carry no image.
        if (s.nSelected || s.nPressed <= 3)
            pImage->DrawHandle(pDC, look.bSunkenPressed ? ptDown : pt, pImage->GetPressedIcon(), sz);
    } else if (pInfo->bIconsWithShadow && !pImage->GetShadowIcon().IsEmpty()) {
        pImage->DrawHandle(pDC, ptDown, pImage->GetShadowIcon(), sz);
        pImage->DrawHandle(pDC, CPoint(pt.x - 1, pt.y - 1), pImage->GetHotIcon(), sz);
    } else {
        pImage->DrawHandle(pDC, pt, pImage->GetHotIcon(), sz);
    }
}
