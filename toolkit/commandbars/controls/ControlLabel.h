// The simple controls of menus and tool bars: a label that is never selected, a check box and a
// radio button, each showing its own caption.
#pragma once

#include "toolkit/commandbars/controlbase/ControlButton.h"

class CKLVControlLabel : public CKLVControlButton {
    DECLARE_SERIAL(CKLVControlLabel)
public:
    CKLVControlLabel() {
        m_nType = typeLabel;
        m_dwFlags = flagSkipFocus | flagListItem | flagNoMovable;
    }
    // Only the customise mode's mouse, on a movable label, does anything.
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    int GetSelected() const override { return FALSE; }
};

class CKLVControlCheckBox : public CKLVControlButton {
    DECLARE_SERIAL(CKLVControlCheckBox)
public:
    CKLVControlCheckBox() { m_nType = typeCheckBox; }
};

class CKLVControlRadioButton : public CKLVControlButton {
    DECLARE_SERIAL(CKLVControlRadioButton)
public:
    CKLVControlRadioButton() { m_nType = typeRadioButton; }
};
