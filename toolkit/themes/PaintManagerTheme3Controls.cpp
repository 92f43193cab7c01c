// Theme 3's edit frames, combo-box buttons and spin buttons in the combo-box and spin styles.
#include "toolkit/themes/PaintManagerTheme3.h"

#include "toolkit/themes/ThemeControlState.h"

namespace {

enum { kComboDropDown = 1, kSpinUp = 1, kSpinDown = 2, kPropBorderColor = 3801 };
enum { kStateNormal = 1, kStateHot = 2, kStatePressed = 3, kStateDisabled = 4 };

}  // namespace

void CKLVPaintManagerTheme3::DrawEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected) {
    if (!m_themeComboBox.GetThemeHandle()) {
        CKLVPaintManagerTheme0::DrawEditFrame(pDC, rc, bEnabled, nSelected);
        return;
    }
    COLORREF clr = 0;
    if (FAILED(m_themeComboBox.GetThemeColor(kComboDropDown, bEnabled ? kStateNormal : kStateDisabled,
                                             kPropBorderColor, &clr)))
        clr = GetThemeColor(COLOR_BTNSHADOW);
    pDC->Draw3dRect(rc, clr, clr);
}

void CKLVPaintManagerTheme3::DrawComboButton(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bDropped) {
    if (!m_themeComboBox.GetThemeHandle()) {
        CKLVPaintManagerTheme0::DrawComboButton(pDC, rc, bEnabled, bSelected, bDropped);
        return;
    }
    const int nState = !bEnabled ? kStateDisabled : bDropped ? kStatePressed : bSelected ? kStateHot : kStateNormal;
    const RECT rcButton = {rc.left - 2, rc.top + 1, rc.right - 1, rc.bottom - 1};
    m_themeComboBox.DrawThemeBackground(AfxGetSafeHdc(pDC), kComboDropDown, nState, &rcButton, nullptr);
}

void CKLVPaintManagerTheme3::DrawSpinButtons(CDC* pDC, CKLVControl* pControl) {
    const CRect rc = KLVTheme::SpinRectOf(pControl);
    if (!m_themeSpin.GetThemeHandle() || rc.IsRectEmpty()) {
        CKLVPaintManagerTheme0::DrawSpinButtons(pDC, pControl);
        return;
    }
    const BOOL bEnabled = pControl->GetEnabled() != 0, bSelected = pControl->GetSelected() != 0;
    const int nPressed = pControl->GetPressed(), nSelected = pControl->GetSelected();
    // Pressed and selected values 3 and 4 name the up and the down button.
    const auto state = [&](int nButton) {
        if (!bEnabled) return int(kStateDisabled);
        if (bSelected && nPressed == nButton) return int(kStatePressed);
        return nSelected == nButton ? int(kStateHot) : int(kStateNormal);
    };
    const int yMid = rc.top + rc.Height() / 2;
    const RECT rcUp = {rc.left, rc.top, rc.right, yMid}, rcDown = {rc.left, yMid, rc.right, rc.bottom};
    m_themeSpin.DrawThemeBackground(AfxGetSafeHdc(pDC), kSpinUp, state(3), &rcUp, nullptr);
    m_themeSpin.DrawThemeBackground(AfxGetSafeHdc(pDC), kSpinDown, state(4), &rcDown, nullptr);
}
