// The plain command button of tool bars and the plain item of menus.
#pragma once

#include "toolkit/commandbars/controlbase/Control.h"

class CKLVControlButton : public CKLVControl {
    DECLARE_SERIAL(CKLVControlButton)
public:
    CKLVControlButton() { m_nType = typeButton; }

    void Copy(CKLVControl* pControl, BOOL bRecursive = FALSE) override { CKLVControl::Copy(pControl, bRecursive); }
    // Menus execute on the release; tool bars track the press.
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnMouseRelease(CPoint pt) override;
    // Before schema 18 a button kept its style among its own keys.
    void DoPropExchange(CKLVPropExchange* pPX) override;
};
