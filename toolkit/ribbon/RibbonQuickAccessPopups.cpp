#include "toolkit/ribbon/RibbonQuickAccessPopups.h"

#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/themes/PaintManagerTheme6.h"
#include "toolkit/common/StartupRegistrations.h"
#include "toolkit/ribbon/RibbonBar.h"

KLV_IMPLEMENT_SERIAL(CKLVRibbonBarControlQuickAccessPopup, CKLVControlPopup)
KLV_IMPLEMENT_SERIAL(CKLVRibbonControlQuickAccessMore, CKLVRibbonBarControlQuickAccessPopup)
IMPLEMENT_DYNCREATE(CKLVRibbonQuickAccessMorePopupBar, CKLVPopupToolBar)

void CKLVRibbonQuickAccessMorePopupBar::FillCommandBarEntry(CDC* pDC) {
    if (auto* pTheme = dynamic_cast<CKLVPaintManagerTheme6*>(GetPaintManager()))
        pTheme->FillMorePopupToolBar(pDC, this);
    else
        CKLVPopupToolBar::FillCommandBarEntry(pDC);
}

CKLVRibbonBarControlQuickAccessPopup::CKLVRibbonBarControlQuickAccessPopup() {
    m_nType = typeButtonPopup;
    m_dwFlags = popupFlags;
}

CKLVRibbonBar* CKLVRibbonBarControlQuickAccessPopup::GetRibbonBar() const {
    // A copy in the more-controls popup reaches the ribbon through the bar that opened it.
    return m_pParent ? DYNAMIC_DOWNCAST(CKLVRibbonBar, m_pParent->GetRootParent()) : nullptr;
}

BOOL CKLVRibbonBarControlQuickAccessPopup::IsCustomizeButton(const CKLVControl* pControl) {
    return pControl && pControl->IsKindOf(RUNTIME_CLASS(CKLVRibbonBarControlQuickAccessPopup)) &&
           !pControl->IsKindOf(RUNTIME_CLASS(CKLVRibbonControlQuickAccessMore));
}

CSize CKLVRibbonBarControlQuickAccessPopup::GetSize(CDC*) {
    const int nHeight = GetPaintManager()->m_nControlHeight;
    return CSize(nHeight * 13 / 22, nHeight);
}

void CKLVRibbonBarControlQuickAccessPopup::Draw(CDC* pDC) {
    if (auto* pTheme = dynamic_cast<CKLVPaintManagerTheme6*>(GetPaintManager()))
        pTheme->DrawQuickAccessCustomizeButton(pDC, this);
    else
        CKLVControlPopup::Draw(pDC);
}

void CKLVRibbonControlQuickAccessMore::Draw(CDC* pDC) {
    if (auto* pTheme = dynamic_cast<CKLVPaintManagerTheme6*>(GetPaintManager()))
        pTheme->DrawQuickAccessMoreButton(pDC, this);
    else
        CKLVControlPopup::Draw(pDC);
}

void CKLVRibbonBarControlQuickAccessPopup::TakeCommandBar(CKLVCommandBar* pBar) {
    SetCommandBar(pBar);
    if (pBar) pBar->InternalRelease();
}

BOOL CKLVRibbonBarControlQuickAccessPopup::OnSetPopup(BOOL bPopup) {
    CKLVRibbonBar* pRibbon = GetRibbonBar();
    if (bPopup && pRibbon) TakeCommandBar(pRibbon->CreateContextMenu(this));
    return CKLVControlPopup::OnSetPopup(bPopup);
}

BOOL CKLVRibbonControlQuickAccessMore::OnSetPopup(BOOL bPopup) {
    CKLVRibbonBar* pRibbon = GetRibbonBar();
    if (bPopup && pRibbon) TakeCommandBar(pRibbon->CreateQuickAccessMorePopup());
    return CKLVControlPopup::OnSetPopup(bPopup);
}
