// The text field of tool bars and menus: a windowless control whose field is a real child window
// of its bar, made when the control first gets a rectangle. An empty field shows a grey hint;
// Escape restores the text it had on focus; spin buttons step a whole number.
#pragma once

#include "toolkit/commandbars/Control.h"
#include "toolkit/commandbars/Edit.h"

#include <richedit.h>

class CKLVControlEdit;

// The field's window, reporting focus, changes and mouse to its control.
class CKLVControlEditCtrl : public CKLVEdit {
    DECLARE_DYNAMIC(CKLVControlEditCtrl)
public:
    enum { msgIsCommandBarEdit = 0x2A48 };

    CKLVControlEdit* m_pControl = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void PostNcDestroy() override;
};

class CKLVControlEdit : public CKLVControl {
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

    void SetEnabled(int bEnabled) override;
    void SetFocused(BOOL bFocused) override;
    BOOL IsFocused() const override { return m_bFocused; }
    void SetRect(CRect rc) override;
    BOOL IsCaptionVisible() const override;
    BOOL IsEqual(CKLVControl* pOther) override;
    void SetHideFlags(DWORD dwFlags) override;
    // Hidden on a vertical bar.
    void PrepareDynamicLayout(int nMode) override;
    void OnKeyboardActivate() override;
    void OnEditHook() override { m_bRefreshPending = TRUE; }
    BOOL IsFocusable() const override { return m_pEdit && m_pEdit->GetSafeHwnd(); }
    // 0: not handled, 1: handled, 2: left to the field.
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    void SetParent(CKLVCommandBar* pParent) override;
    void Copy(CKLVControl* pControl, BOOL bRecursive = FALSE) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnMouseMove(CPoint pt) override;
    void CloseBarPopup() override;
    BOOL SetSelected(int bSelected) override;
    BOOL IsCustomizeResizeAllowed() const override { return TRUE; }
    int GetMinWidth() override { return m_nLabelWidth + 10; }
    void OnRemoved() override;
    // "HasLabel" and "Width" from schema 6, "ReadOnly" 8, "EditHint" and "ShellAutoCompleteFlags"
    // 9, "EditStyle" 17, "ShowSpinButtons" 19.
    void DoPropExchange(CKLVPropExchange* pPX) override;

    // The text; a shown hint counts as empty.
    CString GetEditText() const;
    // An empty text shows the hint.
    void SetEditText(const CString& strText);
    CString GetEditHint() const;
    void SetEditHint(const CString& strHint);
    CRect GetSpinButtonsRect() const;
    CKLVControlEditCtrl* GetEditCtrl() const { return m_pEdit; }
    // The step a held spin button makes after the milliseconds held: 1, 5 from 2,048, 20 from 5,120.
    static int SpinStepFor(DWORD dwElapsed);
    // The text as a number moved by the step and then to a multiple of it in the direction of
    // travel, kept within the int range; text that is no number counts as 0.
    static int SteppedValue(const CString& strText, int nStep, int nDirection);

    BOOL m_bHasLabel = FALSE;
    BOOL m_bReadOnly = FALSE;
    CString m_strEditHint;
    DWORD m_dwEditStyle = 0;
    DWORD m_dwShellAutoCompleteFlags = 0;
    BOOL m_bShowSpinButtons = FALSE;

    // Field events.
    virtual void OnSetFocus(HWND hwndOld);
    virtual void OnKillFocus();
    virtual void OnEditChanged() { NotifySite(EN_CHANGE); }
    virtual void GetEditCtrlColors(CHARFORMAT2A& cf);
    virtual void OnSpin(int nStep, int nDirection);

    // The window's text changed since it was read; the bar-owned window was destroyed.
    void OnFieldChanged();
    void OnFieldDestroyed();
    // Applies the margins and colours (the hint grey, else the window text colour).
    void ApplyColors();

protected:
    virtual CKLVControlEditCtrl* CreateEditCtrl() { return new CKLVControlEditCtrl; }
    // The spin clock; tests step it by hand.
    virtual DWORD GetSpinClock() const { return ::GetTickCount(); }
    void TrackSpinButton(int nDirection);
    BOOL IsHintShown() const;
    void DestroyEditWindow();

    CKLVControlEditCtrl* m_pEdit = nullptr;
    BOOL m_bRefreshPending = FALSE;
    BOOL m_bRecreatePending = FALSE;
    BOOL m_bFocused = FALSE;
    CString m_strTextOnFocus;
    mutable CString m_strText;
    mutable BOOL m_bTextStale = TRUE;
    // The mouse hook's count this control raised and still has to give back.
    BOOL m_bHoldsHookLock = FALSE;

private:
    void PlaceWindow();
    void ShowOrHideWindow();
    void SetHookLock(BOOL bHold);
};
