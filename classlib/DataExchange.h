// Dialog data exchange: DDX_* move one value between a member and a control (into the member
// when saving), DDV_* check a saved value. A value that cannot be taken is reported to the user,
// its control gets the focus and CUserException ends the exchange (see CDialog::UpdateData).
#pragma once

#include "classlib/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // The control nIDC; it becomes the one a failure points at.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);   // the same for an edit control (its text is selected then)
    // Focus to the last prepared control, then CUserException.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);    // whole decimal numbers only
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);   // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
// The first radio button of a group: value is the index of the checked one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
// Attaches rControl to the control the first time (subclassing it).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
