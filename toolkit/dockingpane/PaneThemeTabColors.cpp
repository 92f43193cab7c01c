#include "toolkit/dockingpane/PaneThemeTabColors.h"

#include "toolkit/common/ColorManager.h"
#include "toolkit/tabs/TabPainter.h"

void CKLVPaneThemeTabColors::RefreshMetrics() {
    CKLVTabColors::RefreshMetrics();
    if (m_pPaintManager && m_pPaintManager->GetAppearance() == 6) {
        clrFrameBorder.SetStandardValue(COLOR_3DDKSHADOW);
        clrFlatBorder.SetStandardValue(COLOR_3DDKSHADOW);
    }
}

void CKLVPaneThemeTabColorsResource::RefreshMetrics() {
    CKLVTabColors::RefreshMetrics();
    if (m_bWindowFace) {
        clrButtonFace.SetStandardValue(COLOR_WINDOW);
        clrFrameBorder.SetStandardValue(COLOR_WINDOWTEXT);
    } else {
        clrFrameBorder.SetStandardValue(COLOR_3DDKSHADOW);
    }
    CKLVColorManager* pColors = GetColorManager();
    clrHeaderFace.SetStandardValue(pColors->GetColor(COLOR_BTNFACE),
                                   BlendColors(pColors->GetColor(COLOR_BTNFACE), pColors->GetColor(COLOR_WINDOW), 205));
    clrFlatBorder.SetStandardValue(COLOR_3DDKSHADOW);
    m_bGradientItems = FALSE;
    switch (pColors->GetCurrentTheme()) {
    case CKLVColorManager::themeBlue:
    case CKLVColorManager::themeOlive:
        clrHeaderFace.SetStandardValue(0xD7E5E5, 0xE7F1F4);
        break;
    case CKLVColorManager::themeSilver:
        clrHeaderFace.SetStandardValue(0xE5D7D7, 0xF7F3F3);
        clrNormalFace.SetStandardValue(0xF7F2F2);
        clrFlatDarkShadow.SetStandardValue(0x9C9B91);
        clrFlatLightShadow.SetStandardValue(0x9C9B91);
        clrHotFace.SetStandardValue(0xD8BEBE);
        break;
    default: clrAutoHideFace = clrHeaderFace; return;
    }
    clrSelectedFace.SetStandardValue(0xFFFFFF);
    m_bGradientItems = TRUE;
    clrAutoHideFace = clrHeaderFace;
}

void CKLVPaneThemeTabColorsResource9::RefreshMetrics() {
    CKLVPaneThemeTabColorsResource::RefreshMetrics();
    const int nScheme = GetColorManager()->GetCurrentTheme();
    if (nScheme < CKLVColorManager::themeBlue || nScheme > CKLVColorManager::themeSilver) return;
    clrFrameBorder.SetStandardValue(0x646F71);
    if (!m_bWindowFace) clrFlatBorder.SetStandardValue(0x646F71);
}
