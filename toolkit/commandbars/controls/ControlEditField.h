// The text field that the edit control and the combo box share: a window of the control's bar made
// on demand, a grey hint while the field is empty, the text kept while no window exists, Escape's
// text saved on focus, the mouse-hook lock held while focused, and the keys a bar hands over.
#pragma once

#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/textfield/Edit.h"
#include "toolkit/commandbars/textfield/ShellAutoComplete.h"

#include <richedit.h>

#include <memory>

// What the field's window tells the control that shows it.
class CKLVEditFieldSink {
public:
    virtual ~CKLVEditFieldSink() = default;

    virtual CKLVControl* GetFieldControl() = 0;
    virtual void OnSetFocus(HWND hwndOld) = 0;
    virtual void OnKillFocus() = 0;
    // The window's text changed (the reflected EN_CHANGE).
    virtual void OnFieldChanged() = 0;
    // The window is about to go: its text is kept.
    virtual void OnFieldDestroyed() = 0;
    // The right button outside customise mode: the field takes the focus.
    virtual void OnFieldRightButton() = 0;
    // The shell's suggestion list came up over the field.
    virtual void OnAutoSuggestShown() {}
};

// The field's window, reporting focus, changes and the mouse to its control.
class CKLVControlEditCtrl : public CKLVEdit {
    DECLARE_DYNAMIC(CKLVControlEditCtrl)
public:
    enum { msgIsCommandBarEdit = 0x2A48, msgAutoSuggestShown = CKLVShellAutoComplete::msgSuggestShown };

    CKLVEditFieldSink* m_pControl = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // On a bar of command bars the menu is one of their popup bars, its items updated from here.
    UINT TrackContextMenu(CMenu* pMenu, CPoint ptScreen) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void PostNcDestroy() override;

private:
    // Every message goes to the bar's tips first: keys and presses hide a shown tip.
    void RelayToBarTips(CKLVCommandBar* pBar, UINT message, WPARAM wParam, LPARAM lParam);
};

template <class TBase>
class CKLVControlEditField : public TBase, public CKLVEditFieldSink {
public:
    CKLVControlEditField() = default;
    ~CKLVControlEditField() override;

    void SetEnabled(int bEnabled) override;
    void SetFocused(BOOL bFocused) override;
    BOOL IsFocused() const override { return m_bFocused; }
    void SetRect(CRect rc) override;
    void SetHideFlags(DWORD dwFlags) override;
    // Hidden on a vertical bar.
    void PrepareDynamicLayout(int nMode) override;
    void OnKeyboardActivate() override;
    void OnEditHook() override { m_bRefreshPending = TRUE; }
    BOOL IsFocusable() const override { return m_pEdit && m_pEdit->GetSafeHwnd(); }
    void SetParent(CKLVCommandBar* pParent) override;
    // Popups stay open while a field holds the focus.
    void CloseBarPopup() override;
    BOOL SetSelected(int bSelected) override;
    BOOL IsCustomizeResizeAllowed() const override { return TRUE; }
    void OnRemoved() override;

    CKLVControl* GetFieldControl() override { return this; }
    void OnSetFocus(HWND hwndOld) override;
    void OnKillFocus() override;
    void OnFieldChanged() override;
    void OnFieldDestroyed() override;
    void OnFieldRightButton() override { SetFocused(TRUE); }

    // The text; a shown hint counts as empty.
    CString GetEditText() const;
    // An empty text shows the hint.
    void SetEditText(const CString& strText);
    CString GetEditHint() const;
    void SetEditHint(const CString& strHint);
    CKLVControlEditCtrl* GetEditCtrl() const { return m_pEdit; }
    // The shell's completion for the field's window (0: none), bound while the window exists.
    void SetShellAutoCompleteFlags(DWORD dwFlags);
    DWORD GetShellAutoCompleteFlags() const { return m_dwShellAutoCompleteFlags; }
    CKLVShellAutoComplete* GetAutoComplete() const { return m_pAutoComplete.get(); }

    virtual void OnEditChanged() = 0;
    virtual void GetEditCtrlColors(CHARFORMAT2A& cf);
    // Applies the margins and colours (the hint grey, else the window text colour).
    void ApplyColors();

    CString m_strEditHint;
    DWORD m_dwEditStyle = 0;
    DWORD m_dwShellAutoCompleteFlags = 0;

protected:
    virtual CKLVControlEditCtrl* CreateEditCtrl() = 0;
    // Whether the control shows a field at all (a combo box without its drop-down edit does not).
    virtual BOOL HasEditField() const { return TRUE; }
    // Room kept at the right of the field (spin or drop-down button).
    virtual int GetFieldRightInset() const = 0;
    virtual BOOL IsReadOnlyField() const { return FALSE; }
    // The site hears of the focus coming or going.
    virtual void NotifyFocus(BOOL bFocused) = 0;
    BOOL IsHintShown() const;
    // The window's text into the kept string when it changed since the last read.
    void ReadWindowText() const;
    void DestroyEditWindow();
    BOOL IsOnPopupBar() const;
    // Escape: the text of the focus time back and the focus given up; handled only on a popup bar.
    int RestoreOnEscape();
    // Alt with a letter of another control of the bars.
    BOOL IsBarMnemonic(UINT nChar) const;
    // Up, Down, Page Up and Page Down for the shell's open suggestion list; TRUE when taken.
    BOOL PassKeyToAutoSuggest(UINT nChar) const;
    void SetHookLock(BOOL bHold);
    void BindAutoComplete();

    CKLVControlEditCtrl* m_pEdit = nullptr;
    BOOL m_bRefreshPending = FALSE;
    BOOL m_bRecreatePending = FALSE;
    BOOL m_bFocused = FALSE;
    CString m_strTextOnFocus;
    mutable CString m_strText;
    mutable BOOL m_bTextStale = TRUE;
    std::unique_ptr<CKLVShellAutoComplete> m_pAutoComplete;
    // The mouse hook's count this control raised and still has to give back.
    BOOL m_bHoldsHookLock = FALSE;

private:
    void PlaceWindow();
    void ShowOrHideWindow();
};

extern template class CKLVControlEditField<CKLVControl>;
extern template class CKLVControlEditField<CKLVControlPopup>;
