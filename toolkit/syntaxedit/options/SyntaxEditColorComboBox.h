// The editor options' colour pickers: an owner-drawn drop-down list of the 16 standard colours
// (a swatch and a name each), with an optional "automatic" item first, an optional "custom" item
// last and the common colour dialog for any other colour; and a static that previews text in
// chosen colours.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/common/ColorValue.h"
#include "toolkit/syntaxedit/options/SyntaxEditTipListBox.h"


class CKLVSyntaxEditColorComboBox : public CKLVSyntaxEditTipComboBox {
    DECLARE_DYNAMIC(CKLVSyntaxEditColorComboBox)
public:
    CKLVSyntaxEditColorComboBox() noexcept = default;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;

    // Empties the list and adds the standard colours; the automatic and custom colours it
    // remembers are left alone (fill the list before adding those items).
    virtual void ResetColors();
    // Appends the colour named by the string; -1 when the name is empty or the list refuses it.
    virtual int AddColor(COLORREF clr, UINT nIDName);
    virtual void NotifyParent(UINT nCode);
    // The open list's selection, -1 while it is closed.
    virtual int GetDroppedSelection();

    COLORREF GetSelectedColor();
    int FindColor(COLORREF clr);
    // The custom item (last) takes the colour, or goes with -1: its index, or the remaining
    // count after a removal; -1 when the item cannot be found or added.
    int SetCustomColor(COLORREF clr, LPCTSTR lpszText = nullptr);
    // The same for the automatic item, which stands first.
    int SetAutoColor(COLORREF clr, LPCTSTR lpszText = nullptr);
    COLORREF GetAutoColor() const { return m_clrAuto; }
    COLORREF GetCustomColor() const { return m_clrCustom; }
    // Selects the colour, making it the custom colour when the list lacks it.
    int SelectColor(COLORREF clr);
    // The colour dialog on the selected colour; -1 when cancelled.
    int ChooseColor();
    void ShowDropDown(BOOL bShowIt = TRUE) { CComboBox::ShowDropDown(bShowIt); }

    // The sort order of two colours: darker first, then by blue, green and red.
    static int CompareColors(COLORREF clr1, COLORREF clr2);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // The item to keep under a custom or automatic text, or a new one at nInsertAt (-1 appends).
    int SetSpecialColor(COLORREF& clrMember, COLORREF clr, LPCTSTR lpszText, UINT nIDDefault, int nInsertAt);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg BOOL OnCloseUp();
    DECLARE_MESSAGE_MAP()

    int m_nPendingSel = -1;
    COLORREF m_clrAuto = COLORREF(-1);
    COLORREF m_clrCustom = COLORREF(-1);
    BYTE m_bFillOnSubclass = 1;
};

// Dialog data exchange of a colour combo box (which must be attached to its control already).
void DDX_ColorCombo(CDataExchange* pDX, int nIDC, COLORREF& value);

class CKLVSyntaxEditColorSample : public CStatic {
public:
    CKLVSyntaxEditColorSample();

    void SetTextColor(COLORREF clr);
    void SetBackColor(COLORREF clr);
    // The frame, the background and the centred text, as the window shows them.
    void Draw(CDC* pDC);

protected:
    void RedrawNow();
    void ReadSystemColors();

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSysColorChange();
    afx_msg void OnEnable(BOOL bEnable);
    DECLARE_MESSAGE_MAP()

    CKLVColorValue m_clrBack;
    CKLVColorValue m_clrText;
    CKLVColorValue m_clrBorder;
};
