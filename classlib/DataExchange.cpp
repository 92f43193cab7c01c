#include "classlib/DataExchange.h"

#include "classlib/Exceptions.h"
#include "classlib/WinApp.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (!hWndCtrl) AfxThrowInvalidArgException();   // the template has no such control
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

namespace {

CString WindowText(HWND hWnd) {
    CString strText;
    const int nLength = ::GetWindowTextLengthA(hWnd);
    ::GetWindowTextA(hWnd, strText.GetBuffer(nLength), nLength + 1);
    strText.ReleaseBuffer();
    return strText;
}

// The whole text as a number of the type's range; FALSE for anything else.
BOOL ParseNumber(const CString& strText, long long nMin, long long nMax, long long& nValue) {
    CString strTrimmed = strText;
    strTrimmed.Trim();
    if (strTrimmed.IsEmpty()) return FALSE;
    char* pEnd = nullptr;
    errno = 0;
    nValue = std::strtoll(strTrimmed, &pEnd, 10);
    return errno == 0 && *pEnd == '\0' && nValue >= nMin && nValue <= nMax;
}

template <class T>
void TextNumber(CDataExchange* pDX, int nIDC, T& value, long long nMin, long long nMax, LPCTSTR lpszPrompt) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        CString strText;
        strText.Format("%lld", static_cast<long long>(value));
        ::SetWindowTextA(hWndCtrl, strText);
        return;
    }
    long long nValue = 0;
    if (!ParseNumber(WindowText(hWndCtrl), nMin, nMax, nValue)) {
        AfxMessageBox(lpszPrompt, MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    value = static_cast<T>(nValue);
}

}  // namespace

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CUserException* e) {
        e->Delete();   // the user was told, the focus is on the control
        return FALSE;
    }
    return TRUE;
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) value = WindowText(hWndCtrl);
    else ::SetWindowTextA(hWndCtrl, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    TextNumber(pDX, nIDC, value, INT_MIN, INT_MAX, "Please enter an integer.");
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    TextNumber(pDX, nIDC, value, 0, UINT_MAX, "Please enter a positive integer.");
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) value = static_cast<int>(::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0));
    else ::SendMessageA(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) value = -1;
    // The group runs from this button to the next control with WS_GROUP.
    int nIndex = 0;
    do {
        if (::SendMessageA(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0) == BST_CHECKED) value = nIndex;
            } else {
                ::SendMessageA(hWndCtrl, BM_SETCHECK, nIndex == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++nIndex;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl && !(::GetWindowLongPtrA(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) index = static_cast<int>(::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0));
    else ::SendMessageA(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = WindowText(hWndCtrl);
        return;
    }
    // A listed string is selected; any other text goes into the edit part.
    if (::SendMessageA(hWndCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(static_cast<LPCSTR>(value))) == CB_ERR)
        ::SetWindowTextA(hWndCtrl, value);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) index = static_cast<int>(::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0));
    else ::SendMessageA(hWndCtrl, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd) return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl)) AfxThrowInvalidArgException();   // another object has it
}

namespace {

void FailRange(CDataExchange* pDX, long long minVal, long long maxVal) {
    if (!pDX->m_bSaveAndValidate) return;   // only values the user gave are checked
    CString strPrompt;
    strPrompt.Format("Enter an integer between %lld and %lld.", minVal, maxVal);
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION);
    pDX->Fail();
}

}  // namespace

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (value < minVal || value > maxVal) FailRange(pDX, minVal, maxVal);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
    if (value < minVal || value > maxVal) FailRange(pDX, minVal, maxVal);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (!pDX->m_bSaveAndValidate) {
        if (pDX->m_hWndLastControl && pDX->m_bEditLastControl)
            ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        return;
    }
    if (value.GetLength() > nChars) {
        CString strPrompt;
        strPrompt.Format("Enter no more than %d characters.", nChars);
        AfxMessageBox(strPrompt, MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}
