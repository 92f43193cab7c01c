// The drop-down of a combo box on a command bar: a popup bar that answers the combo box's list
// questions, and the standard one whose window is a list box.
#pragma once

#include "toolkit/commandbars/popups/PopupBar.h"

class CKLVControlComboBox;

class CKLVControlComboBoxPopupBar : public CKLVPopupBar {
    DECLARE_SERIAL(CKLVControlComboBoxPopupBar)
public:
    virtual int GetCurSel() const { return -1; }
    virtual int FindString(int /*nStart*/, const CString& /*strText*/) const { return -1; }
    virtual int FindStringExact(int /*nStart*/, const CString& /*strText*/) const { return -1; }
    virtual void SetTopIndex(int /*nIndex*/) {}
    virtual void SetCurSel(int /*nIndex*/) {}
    virtual void GetText(int /*nIndex*/, CString& strText) const { strText.Empty(); }
    // A key for the open list; TRUE when taken.
    virtual BOOL ProcessHookKeyDown(CKLVControlComboBox* /*pComboBox*/, UINT /*nChar*/, LPARAM /*lParam*/) { return FALSE; }

    // Escape closes the list unless the combo box holds the focus (its own Escape does it then);
    // Tab is not taken; the rest goes to ProcessHookKeyDown.
    int OnHookKeyDown(UINT nChar, LPARAM lParam) override;

    // The combo box that opened the bar, while it is open.
    CKLVControlComboBox* m_pControlComboBox = nullptr;

protected:
    // Return on the open list.
    virtual int OnReturnKey() { return hookKeyPass; }
};

class CKLVControlComboBoxList : public CKLVControlComboBoxPopupBar {
    DECLARE_SERIAL(CKLVControlComboBoxList)
public:
    enum { listExStyle = WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW,
           listStyle = static_cast<int>(WS_POPUP | WS_CLIPCHILDREN | WS_VSCROLL), rtlExStyles = 0x7000 };

    CKLVControlComboBoxList();

    // The list box window, hidden until the list opens.
    BOOL CreateListBox();
    int GetCount() const;
    int AddString(const CString& strText);

    int GetCurSel() const override;
    int FindString(int nStart, const CString& strText) const override;
    int FindStringExact(int nStart, const CString& strText) const override;
    void SetTopIndex(int nIndex) override;
    void SetCurSel(int nIndex) override;
    void GetText(int nIndex, CString& strText) const override;
    BOOL ProcessHookKeyDown(CKLVControlComboBox* pComboBox, UINT nChar, LPARAM lParam) override;

    // Opens below the combo box: at most its drop-down count of rows, at least one.
    BOOL Popup(CKLVControlPopup* pControlPopup, BOOL bSelectFirst) override;
    // Tracking ends with the window hidden, not destroyed: the list keeps its items.
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    BOOL DestroyWindow() override;
    void DoPropExchange(CKLVPropExchange* pPX) override;
    // "Items": a count and one "Item%i" per item; a damaged count (below 0, or more than a list
    // holds) loads nothing.
    void ExchangeItems(CKLVPropExchange* pPX);
    void Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;

    // The list's own width; 0: the combo box's.
    int m_nWidth = 0;

protected:
    int OnReturnKey() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawFrame();
    void OnListMouseMove(CPoint pt);
};
