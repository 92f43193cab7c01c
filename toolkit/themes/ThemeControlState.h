// What every command-bar theme reads of a control before drawing it: the bar or control behind a
// face, the bar it sits on, its effective enabled state, whether it has an icon to show.
#pragma once

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/commandbars/controls/ControlComboBox.h"
#include "toolkit/commandbars/controls/ControlEdit.h"

namespace KLVTheme {

// The paint manager's base reads bars and controls through their faces; the themes, which know
// the bars, read the bar or control behind one (null for a face of anything else).
inline CKLVCommandBar* BarOf(CKLVCommandBarFace* pFace) {
    return dynamic_cast<CKLVCommandBar*>(pFace);
}

inline CKLVControl* ControlOf(CKLVControlFace* pFace) {
    return dynamic_cast<CKLVControl*>(pFace);
}

inline int BarTypeOf(const CKLVControlFace* pControl) {
    return pControl->GetBarFace() ? pControl->GetBarFace()->GetType() : CKLVCommandBarFace::barTypeNormal;
}

inline int BarPositionOf(const CKLVControlFace* pControl) {
    return pControl->GetBarFace() ? pControl->GetBarFace()->GetPosition() : CKLVCommandBarFace::barTop;
}

inline BOOL IsOnPopupBar(const CKLVControlFace* pControl) {
    return BarTypeOf(pControl) == CKLVCommandBarFace::barTypePopup;
}

// A split popup whose drop-down part alone is enabled (value 4) draws as disabled.
inline int EnabledOf(const CKLVControlFace* pControl) {
    const int nEnabled = pControl->GetEnabled();
    return pControl->GetType() == CKLVControl::typeSplitButtonPopup && nEnabled == 4 ? 0 : nEnabled;
}

inline BOOL IsPopupType(int nType) {
    return nType == CKLVControl::typePopup || nType == CKLVControl::typeButtonPopup ||
           nType == CKLVControl::typeSplitButtonPopup;
}

// An icon comes from the custom icon, the control's own, its action's, or its command id.
inline BOOL HasIcon(const CKLVControl* pControl) {
    if (pControl->GetCustomIconId() > 0 || pControl->GetIconId() > 0) return TRUE;
    if (pControl->GetAction() && pControl->GetAction()->GetIconId() > 0) return TRUE;
    return pControl->GetId() != 0;
}

// An edit control's spin buttons; empty for other controls and edits without them.
inline CRect SpinRectOf(CKLVControlFace* pControl) {
    auto* pEdit = dynamic_cast<CKLVControlEdit*>(pControl);
    return pEdit ? pEdit->GetSpinButtonsRect() : CRect(0, 0, 0, 0);
}

// A combo box without a field window (or before it has one) draws its chosen item itself, from
// three pixels inside the box to its drop-down button.
inline void DrawComboFieldText(CDC* pDC, CKLVControlFace* pControl, CRect rcBox) {
    auto* pCombo = dynamic_cast<CKLVControlComboBox*>(pControl);
    if (!pCombo) return;
    const CKLVControlEditCtrl* pEdit = pCombo->GetEditCtrl();
    if (pEdit && pEdit->GetSafeHwnd()) return;
    pCombo->DrawEditText(pDC, CRect(rcBox.left + 3, rcBox.top, rcBox.right - pCombo->m_nThumbWidth, rcBox.bottom));
}

// The small up and down triangles of spin buttons, two pixels from each half's centre.
inline void DrawSpinArrows(CDC* pDC, CRect rcUp, CRect rcDown, COLORREF clr) {
    const int x = rcUp.CenterPoint().x, yUp = rcUp.CenterPoint().y, yDown = rcDown.CenterPoint().y;
    CKLVPaintManager::DrawTriangle(pDC, CPoint(x - 2, yUp + 1), CPoint(x + 2, yUp + 1), CPoint(x, yUp - 1), clr);
    CKLVPaintManager::DrawTriangle(pDC, CPoint(x - 2, yDown - 1), CPoint(x + 2, yDown - 1), CPoint(x, yDown + 1), clr);
}

// Where a popup overlaps the control that opened it, in the popup's client co-ordinates, shrunk
// by one pixel along each axis longer than one; empty when no control on a bar opened it.
inline CRect ParentControlGap(CKLVCommandBar* pBar) {
    auto* pPopup = dynamic_cast<CKLVPopupBar*>(pBar);
    CKLVControl* pControl = pPopup ? pPopup->GetControlPopup() : nullptr;
    CKLVCommandBar* pParent = pControl ? pControl->GetParent() : nullptr;
    if (!pParent || pParent->GetType() == CKLVCommandBar::barTypePopup || !pParent->GetSafeHwnd() ||
        !pBar->GetSafeHwnd())
        return CRect(0, 0, 0, 0);
    CRect rcControl = pControl->GetRect(), rcPopup, rcGap;
    pParent->ClientToScreen(&rcControl);
    pBar->GetWindowRect(&rcPopup);
    if (!rcGap.IntersectRect(rcControl, rcPopup)) return CRect(0, 0, 0, 0);
    pBar->ScreenToClient(&rcGap);
    if (rcGap.Width() > 1) rcGap.DeflateRect(1, 0);
    if (rcGap.Height() > 1) rcGap.DeflateRect(0, 1);
    return rcGap;
}

}  // namespace KLVTheme
