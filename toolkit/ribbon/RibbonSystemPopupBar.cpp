#include "toolkit/ribbon/RibbonSystemPopupBar.h"

#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/themes/PaintManagerTheme6.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/ResourceImages.h"
#include "toolkit/common/StartupRegistrations.h"
#include "toolkit/ribbon/RibbonBar.h"
#include "toolkit/ribbon/RibbonCaptionControls.h"
#include "toolkit/ribbon/RibbonSystemPopupControls.h"

#include <algorithm>

KLV_IMPLEMENT_SERIAL(CKLVRibbonSystemPopupBar, CKLVPopupBar)
KLV_IMPLEMENT_SERIAL(CKLVRibbonSystemPopupBarPage, CKLVPopupBar)

CKLVRibbonSystemPopupBar::CKLVRibbonSystemPopupBar() {
    m_rcBorders.SetRect(6, 18, 6, 29);
    m_dwStyle &= ~styleGripper;
}

CRect CKLVRibbonSystemPopupBar::GetSecondColumnRect() const {
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        if (!pControl->IsVisible() || !pControl->GetWrap()) continue;
        return CRect(pControl->GetRect().left, m_rcBorders.top, m_szLayout.cx - m_rcBorders.right,
                     m_szLayout.cy - m_rcBorders.bottom);
    }
    return CRect(0, 0, 0, 0);
}

void CKLVRibbonSystemPopupBar::FillCommandBarEntry(CDC* pDC) {
    CKLVResourceImage* pImage = KLVResourceImages()->GetImage("RIBBONSYSTEMMENU");
    if (!pImage) {
        CKLVPopupBar::FillCommandBarEntry(pDC);
        return;
    }
    CRect rcClient;
    GetClientRect(&rcClient);
    pImage->DrawImage(pDC, rcClient, pImage->GetPartRect(0, 1), m_rcBorders);
    const CRect rcColumn = GetSecondColumnRect();
    const COLORREF clrColumn = KLVResourceImages()->LookupColor("Ribbon", "RecentFileListBackground");
    if (!rcColumn.IsRectEmpty() && clrColumn != COLORREF(-1)) pDC->FillSolidRect(rcColumn, clrColumn);
    DrawSystemButtonOver(pDC);
}

void CKLVRibbonSystemPopupBar::DrawSystemButtonOver(CDC* pDC) {
    CKLVControl* pButton = GetSystemButton();
    auto* pRibbon = pButton ? DYNAMIC_DOWNCAST(CKLVRibbonBar, pButton->GetParent()) : nullptr;
    auto* pTheme = dynamic_cast<CKLVPaintManagerTheme6*>(GetPaintManager());
    if (!pRibbon || !pTheme || !pRibbon->HasCaptionBand() || !GetSafeHwnd()) return;
    CRect rcButton = pButton->GetRect();
    pRibbon->ClientToScreen(&rcButton);
    ScreenToClient(&rcButton);
    CRect rcClient, rcCommon;
    GetClientRect(&rcClient);
    if (rcCommon.IntersectRect(&rcButton, &rcClient)) pTheme->DrawRibbonSystemButton(pDC, pButton, rcButton);
}

CKLVControl* CKLVRibbonSystemPopupBar::GetSystemButton() const {
    CKLVControlPopup* pControl = GetControlPopup();
    if (!pControl || !pControl->IsKindOf(RUNTIME_CLASS(CKLVRibbonControlSystemButton))) return nullptr;
    CKLVCommandBar* pParent = pControl->GetParent();
    return pParent && pParent->GetSafeHwnd() ? pControl : nullptr;
}

BOOL CKLVRibbonSystemPopupBar::IsPointInBar(CPoint ptScreen) const {
    if (CKLVControl* pButton = GetSystemButton()) {
        CRect rcButton = pButton->GetRect();
        pButton->GetParent()->ClientToScreen(&rcButton);
        if (rcButton.PtInRect(ptScreen)) return FALSE;
    }
    return CKLVPopupBar::IsPointInBar(ptScreen);
}

void CKLVRibbonSystemPopupBar::AdjustExcludeRect(CRect& rc, BOOL bVertical) {
    CKLVControlPopup* pControl = GetControlPopup();
    auto* pRibbon = pControl && pControl->IsKindOf(RUNTIME_CLASS(CKLVRibbonControlSystemButton))
                        ? DYNAMIC_DOWNCAST(CKLVRibbonBar, pControl->GetParent())
                        : nullptr;
    if (!pRibbon || !pRibbon->HasCaptionBand() || !pRibbon->IsTabRowShown()) {
        CKLVPopupBar::AdjustExcludeRect(rc, bVertical);
        return;
    }
    rc.bottom -= systemButtonOverlap;
}

CSize CKLVRibbonSystemPopupBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
    std::vector<CKLVControl*> arrButtons;
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        if (dynamic_cast<CKLVRibbonControlSystemPopupBarButton*>(pControl) && pControl->IsVisible()) {
            arrButtons.push_back(pControl);
            pControl->SetHideFlag(CKLVControl::hideGeneric, TRUE);
        }
    }
    const CSize sz = CKLVPopupBar::CalcDynamicLayout(nLength, dwMode);
    for (CKLVControl* pButton : arrButtons) pButton->SetHideFlag(CKLVControl::hideGeneric, FALSE);
    PlaceBottomButtons(arrButtons, sz);
    m_szLayout = sz;
    return sz;
}

void CKLVRibbonSystemPopupBar::PlaceBottomButtons(const std::vector<CKLVControl*>& arrButtons, CSize szBar) {
    CKLVPaintManager* pPaintManager = GetPaintManager();
    if (arrButtons.empty() || !pPaintManager) return;
    CClientDC dc(nullptr);
    CKLVFontDC font(&dc, pPaintManager->GetCommandBarFont(this));
    int nRight = szBar.cx - m_rcBorders.right + 1;
    for (CKLVControl* pButton : arrButtons) {
        const int nWidth = pButton->GetSize(&dc).cx;
        pButton->SetRect(CRect(nRight - nWidth, szBar.cy - buttonTop, nRight, szBar.cy - buttonBottom));
        nRight -= nWidth + buttonGap;
    }
}

CKLVRibbonSystemPopupBar* CKLVRibbonSystemPopupBarPage::GetSystemPopupBar() const {
    CKLVControlPopup* pParent = GetControlPopup();
    return pParent ? dynamic_cast<CKLVRibbonSystemPopupBar*>(pParent->GetParent()) : nullptr;
}

CSize CKLVRibbonSystemPopupBarPage::CalcDynamicLayout(int nLength, DWORD dwMode) {
    CSize sz = CKLVPopupBar::CalcDynamicLayout(nLength, dwMode);
    CKLVRibbonSystemPopupBar* pSystem = GetSystemPopupBar();
    if (pSystem && pSystem->GetSafeHwnd()) {
        CRect rcSystem;
        pSystem->GetWindowRect(&rcSystem);
        sz.cy = std::max<int>(sz.cy, rcSystem.Height() - pSystem->m_rcBorders.top - pSystem->m_rcBorders.bottom - 2);
    }
    return sz;
}

void CKLVRibbonSystemPopupBarPage::AdjustExcludeRect(CRect& rc, BOOL bVertical) {
    CKLVRibbonSystemPopupBar* pSystem = GetSystemPopupBar();
    if (!pSystem || !pSystem->GetSafeHwnd()) {
        CKLVPopupBar::AdjustExcludeRect(rc, bVertical);
        return;
    }
    CRect rcSystem;
    pSystem->GetWindowRect(&rcSystem);
    rc.top = rcSystem.top + pSystem->m_rcBorders.top + 1;
    rc.right += 1;
}
