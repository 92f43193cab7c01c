// What every command-bar theme reads of a control before drawing it: the bar it sits on, its
// effective enabled state, whether it has an icon to show.
#pragma once

#include "toolkit/commandbars/CommandBar.h"
#include "toolkit/commandbars/Control.h"
#include "toolkit/commandbars/ControlAction.h"

namespace KLVTheme {

inline int BarTypeOf(const CKLVControl* pControl) {
    return pControl->GetParent() ? pControl->GetParent()->GetType() : CKLVCommandBar::barTypeNormal;
}

inline int BarPositionOf(const CKLVControl* pControl) {
    return pControl->GetParent() ? pControl->GetParent()->GetPosition() : CKLVCommandBar::barTop;
}

inline BOOL IsOnPopupBar(const CKLVControl* pControl) {
    return BarTypeOf(pControl) == CKLVCommandBar::barTypePopup;
}

// A split popup whose drop-down part alone is enabled (value 4) draws as disabled.
inline int EnabledOf(const CKLVControl* pControl) {
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

}  // namespace KLVTheme
