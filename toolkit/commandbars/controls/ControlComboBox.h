// The combo box of tool bars and menus: a field with a drop-down button that opens a list. With
// DropDown the field is an editable window like the edit control's (hint, Escape, completion from
// the list); without it the control draws the chosen item and only the list chooses.
#pragma once

#include "toolkit/commandbars/controls/ControlComboBoxList.h"
#include "toolkit/commandbars/controls/ControlEditField.h"

class CKLVControlComboBox;

// The combo box's field window: the shell's suggestion list closes the combo box's list, and the
// right button closes it before the field takes the focus.
class CKLVControlComboBoxEditCtrl : public CKLVControlEditCtrl {
    DECLARE_DYNAMIC(CKLVControlComboBoxEditCtrl)
};

class CKLVControlComboBox : public CKLVControlEditField<CKLVControlPopup> {
    DECLARE_SERIAL(CKLVControlComboBox)
public:
    enum { styleLabel = 1 };

    CKLVControlComboBox();
    ~CKLVControlComboBox() override;

    BOOL IsCaptionVisible() const override;
    BOOL IsEqual(CKLVControl* pOther) override;
    CKLVCommandBar* GetCommandBar() const override { return m_pCommandBar; }
    void OnExecute() override;
    void SetParent(CKLVCommandBar* pParent) override;
    BOOL OnSetPopup(BOOL bPopup) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    // The wheel over a focused closed combo box steps the list's selection.
    BOOL OnHookMouseWheel(short zDelta) override;
    // 0: not handled, 1: handled, 2: left to the field.
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    int GetMinWidth() override { return m_nThumbWidth + m_nLabelWidth + 5; }
    void Copy(CKLVControl* pControl, BOOL bRecursive = FALSE) override;
    // "DropDown" (default TRUE), "Width", "ComboStyle"; from schema 9 "EditHint",
    // "ShellAutoCompleteFlags", "AutoComplete", "EditIconId", "DropDownItemCount"; from 17 "EditStyle".
    void DoPropExchange(CKLVPropExchange* pPX) override;

    void OnFieldRightButton() override;
    void OnAutoSuggestShown() override;
    // The field's focus going also closes the open list.
    void OnKillFocus() override;

    // The list's current item text; "" without one.
    virtual CString GetListText() const;
    // The field drawn by the control (no edit window): highlight, icon, text or hint.
    virtual void DrawEditText(CDC* pDC, CRect rc);
    virtual CString GetText() const;
    void OnEditChanged() override;
    virtual void OnSelChanged();
    // The width with the field's icon.
    virtual int AddIconWidth(int nWidth) const;

    // FALSE removes the field's window; TRUE makes the field object.
    void SetDropDownListStyle(BOOL bDropDown);
    BOOL GetDropDownListStyle() const { return m_bDropDown; }
    int GetCurSel() const;
    void SetCurSel(int nIndex);
    // The list's current item follows the field's text: an exact match, else none with the first
    // item that starts with the text at the top.
    void SyncListWithText();
    CKLVControlComboBoxPopupBar* GetComboPopup() const { return DYNAMIC_DOWNCAST(CKLVControlComboBoxPopupBar, m_pCommandBar); }
    // The standard list (null when the drop-down is of another kind).
    CKLVControlComboBoxList* GetList() const { return DYNAMIC_DOWNCAST(CKLVControlComboBoxList, m_pCommandBar); }
    int AddString(const CString& strText);

    BOOL m_bDropDown = FALSE;
    int m_nComboStyle = 0;
    BOOL m_bAutoComplete = FALSE;
    int m_nEditIconId = 0;
    int m_nDropDownItemCount = 12;

protected:
    CKLVControlEditCtrl* CreateEditCtrl() override { return new CKLVControlComboBoxEditCtrl; }
    BOOL HasEditField() const override { return m_bDropDown; }
    int GetFieldRightInset() const override { return m_nThumbWidth + 3; }
    void NotifyFocus(BOOL bFocused) override;
    BOOL IsListOpen() const { return m_bPopuped; }
    void CloseList();

    int m_nSavedSelection = -1;
    BOOL m_bCompleted = FALSE;
    BOOL m_bCommitted = FALSE;
    int m_nCurSel = -1;
    BOOL m_bChangeLock = FALSE;
};
