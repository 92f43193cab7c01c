// The text field of tool bars and menus: a windowless control whose field is a real child window
// of its bar, made when the control first gets a rectangle. An empty field shows a grey hint;
// Escape restores the text it had on focus; spin buttons step a whole number.
#pragma once

#include "toolkit/commandbars/controls/ControlEditField.h"

class CKLVControlEdit : public CKLVControlEditField<CKLVControl> {
    DECLARE_SERIAL(CKLVControlEdit)
public:
    enum { notifySpinUp = 0x1010, notifySpinDown = 0x1011, timerSpin = 435, spinFirstDelay = 530, spinRepeat = 100,
           spinButtonsWidth = 18 };
    // The record of the spin notifications: the header, the control and the step about to be made.
    struct NMKLVSPIN {
        NMKLVCONTROL base;
        int nDelta;
    };

    CKLVControlEdit();
    ~CKLVControlEdit() override;

    BOOL IsCaptionVisible() const override;
    BOOL IsEqual(CKLVControl* pOther) override;
    // 0: not handled, 1: handled, 2: left to the field.
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    void Copy(CKLVControl* pControl, BOOL bRecursive = FALSE) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnMouseMove(CPoint pt) override;
    int GetMinWidth() override { return m_nLabelWidth + 10; }
    // "HasLabel" and "Width" from schema 6, "ReadOnly" 8, "EditHint" and "ShellAutoCompleteFlags"
    // 9, "EditStyle" 17, "ShowSpinButtons" 19.
    void DoPropExchange(CKLVPropExchange* pPX) override;

    CRect GetSpinButtonsRect() const;
    // The step a held spin button makes after the milliseconds held: 1, 5 from 2,048, 20 from 5,120.
    static int SpinStepFor(DWORD dwElapsed);
    // The text as a number moved by the step and then to a multiple of it in the direction of
    // travel, kept within the int range; text that is no number counts as 0.
    static int SteppedValue(const CString& strText, int nStep, int nDirection);

    BOOL m_bHasLabel = FALSE;
    BOOL m_bReadOnly = FALSE;
    BOOL m_bShowSpinButtons = FALSE;

    void OnEditChanged() override { NotifySite(EN_CHANGE); }
    virtual void OnSpin(int nStep, int nDirection);

protected:
    CKLVControlEditCtrl* CreateEditCtrl() override { return new CKLVControlEditCtrl; }
    int GetFieldRightInset() const override { return m_bShowSpinButtons ? 20 : 3; }
    BOOL IsReadOnlyField() const override { return m_bReadOnly; }
    void NotifyFocus(BOOL bFocused) override { NotifySite(bFocused ? EN_SETFOCUS : EN_KILLFOCUS); }
    // The spin clock; tests step it by hand.
    virtual DWORD GetSpinClock() const { return ::GetTickCount(); }
    void TrackSpinButton(int nDirection);
};
