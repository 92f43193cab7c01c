// Theme 6's edit and combo boxes: flat boxes filled and framed by state, spin buttons and the
// combo box's drop-down button from the skin's images.
#include "toolkit/themes/PaintManagerTheme6.h"

#include "toolkit/themes/ThemeControlState.h"
#include "toolkit/themes/ThemeResourceImage.h"
#include "toolkit/common/DCScopes.h"

namespace {

const int kFrame = 53;

BOOL IsKeyboardSelected(int nSelected) { return nSelected == 2 || nSelected == 3; }

}  // namespace

int CKLVPaintManagerTheme6::SpinUpCell(int nSelected, int nPressed, int nEnabled) {
    if (!nEnabled) return 4;
    if (nPressed == 3) return 3;
    if (nSelected == 3) return 2;
    return nSelected ? 1 : 0;
}

int CKLVPaintManagerTheme6::SpinDownCell(int nSelected, int nPressed, int nEnabled) {
    if (!nEnabled) return 9;
    if (nPressed == 4) return 8;
    if (nSelected == 4) return 7;
    return nSelected ? 6 : 5;
}

int CKLVPaintManagerTheme6::ComboButtonPart(int nSelected, int nEnabled, BOOL bDropped) {
    if (!nEnabled) return 4;
    if (bDropped) return 3;
    return nSelected ? 2 : 0;
}

CRect CKLVPaintManagerTheme6::DrawEditBox(CDC* pDC, CKLVControl* pControl, BOOL bComboBox) {
    CRect rcBox = pControl->GetRect();
    rcBox.left += pControl->m_nLabelWidth;
    const int nSelected = pControl->GetSelected();
    int nFrame = kFrame;
    if (!pControl->GetEnabled()) {
        pDC->FillSolidRect(rcBox, GetThemeColor(COLOR_BTNFACE));
        if (!bComboBox && IsKeyboardSelected(nSelected)) nFrame = 32;
    } else if (nSelected || (bComboBox && pControl->GetPopuped())) {
        pDC->FillSolidRect(rcBox, GetThemeColor(COLOR_WINDOW));
    } else if (!KLVTheme::IsOnPopupBar(pControl)) {
        pDC->FillSolidRect(rcBox, m_clrEditFace);
    }
    Draw3dRect(pDC, rcBox, nFrame, nFrame);
    return rcBox;
}

CSize CKLVPaintManagerTheme6::DrawControlEdit(CDC* pDC, CKLVControlFace* pControlFace, BOOL bDraw) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    const CSize sz = CKLVPaintManager::DrawControlEdit(pDC, pControl, bDraw);
    if (!bDraw) return sz;
    DrawEditBox(pDC, pControl, FALSE);
    const CRect rcSpin = KLVTheme::SpinRectOf(pControl);
    if (rcSpin.IsRectEmpty()) return CSize(0, 0);
    const int nSelected = pControl->GetSelected(), nPressed = pControl->GetPressed(), nEnabled = pControl->GetEnabled();
    const int yMiddle = rcSpin.CenterPoint().y;
    const CRect rcNone(0, 0, 0, 0);
    KLVDrawSkinPart(pDC, {"TOOLBARBUTTONSPIN", SpinUpCell(nSelected, nPressed, nEnabled), 10},
                    CRect(rcSpin.left, rcSpin.top, rcSpin.right, yMiddle), rcNone, skinKeyed);
    KLVDrawSkinPart(pDC, {"TOOLBARBUTTONSPIN", SpinDownCell(nSelected, nPressed, nEnabled), 10},
                    CRect(rcSpin.left, yMiddle, rcSpin.right, rcSpin.bottom), rcNone, skinKeyed);
    return CSize(0, 0);
}

CSize CKLVPaintManagerTheme6::DrawControlComboBox(CDC* pDC, CKLVControlFace* pControlFace, BOOL bDraw) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    const CSize sz = CKLVPaintManager::DrawControlComboBox(pDC, pControl, bDraw);
    if (!bDraw) return sz;
    const CRect rcBox = DrawEditBox(pDC, pControl, TRUE);
    const int nSelected = pControl->GetSelected(), nEnabled = pControl->GetEnabled();
    const BOOL bDropped = pControl->GetPopuped();
    const CRect rcButton(rcBox.right - pControl->m_nThumbWidth, rcBox.top, rcBox.right, rcBox.bottom);
    KLVDrawSkinPart(pDC, {"TOOLBARBUTTONSCOMBODROPDOWN", ComboButtonPart(nSelected, nEnabled, bDropped), 5}, rcButton,
                    CRect(2, 2, 2, 2));
    {
        CKLVFontDC font(pDC, &m_fontRegular);
        KLVTheme::DrawComboFieldText(pDC, pControl, rcBox);
    }
    DrawExpandArrow(pDC, pControl, rcButton.CenterPoint(), nSelected, bDropped, nEnabled, FALSE);
    return CSize(0, 0);
}
