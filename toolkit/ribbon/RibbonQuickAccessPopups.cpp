#include "toolkit/ribbon/RibbonQuickAccessPopups.h"

#include "toolkit/commandbars/PaintManager.h"
#include "toolkit/commandbars/PopupBar.h"
#include "toolkit/common/StartupRegistrations.h"
#include "toolkit/ribbon/RibbonBar.h"

KLV_IMPLEMENT_SERIAL(CKLVRibbonBarControlQuickAccessPopup, CKLVControlPopup)
KLV_IMPLEMENT_SERIAL(CKLVRibbonControlQuickAccessMore, CKLVRibbonBarControlQuickAccessPopup)

CKLVRibbonBarControlQuickAccessPopup::CKLVRibbonBarControlQuickAccessPopup() {
    m_nType = typeButtonPopup;
    m_dwFlags = popupFlags;
}

CKLVRibbonBar* CKLVRibbonBarControlQuickAccessPopup::GetRibbonBar() const {
    return DYNAMIC_DOWNCAST(CKLVRibbonBar, m_pParent);
}

CSize CKLVRibbonBarControlQuickAccessPopup::GetSize(CDC*) {
    const int nHeight = GetPaintManager()->m_nControlHeight;
    return CSize(nHeight * 13 / 22, nHeight);
}

// The theme's ribbon drawing paints these buttons.
void CKLVRibbonBarControlQuickAccessPopup::Draw(CDC*) {}
void CKLVRibbonControlQuickAccessMore::Draw(CDC*) {}

BOOL CKLVRibbonControlQuickAccessMore::OnSetPopup(BOOL bPopup) {
    CKLVRibbonBar* pRibbon = GetRibbonBar();
    if (bPopup && pRibbon) {
        // The control keeps its own reference; the one the ribbon handed over is let go.
        CKLVCommandBar* pBar = pRibbon->CreateQuickAccessMorePopup();
        SetCommandBar(pBar);
        pBar->InternalRelease();
    }
    return CKLVRibbonBarControlQuickAccessPopup::OnSetPopup(bPopup);
}
