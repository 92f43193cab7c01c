#include "classlib/Controls.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)

BEGIN_MESSAGE_MAP(CButton, CWnd)
    ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CComboBox, CWnd)
    ON_WM_DRAWITEM_REFLECT()
    ON_WM_MEASUREITEM_REFLECT()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CListBox, CWnd)
    ON_WM_DRAWITEM_REFLECT()
    ON_WM_MEASUREITEM_REFLECT()
END_MESSAGE_MAP()

namespace {

// The text of a list item: nLengthMessage asks its length, nTextMessage copies it.
void GetItemText(const CWnd* pList, UINT nLengthMessage, UINT nTextMessage, int nIndex, CString& rString) {
    int nLength = static_cast<int>(pList->SendMessage(nLengthMessage, static_cast<WPARAM>(nIndex)));
    if (nLength < 0) {   // CB_ERR, LB_ERR
        rString.Empty();
        return;
    }
    pList->SendMessage(nTextMessage, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(rString.GetBuffer(nLength)));
    rString.ReleaseBuffer();
}

}  // namespace

BOOL AfxCreateCommonControl(CWnd& wnd, DWORD dwIccFlags, LPCTSTR lpszClass, DWORD dwExStyle, DWORD dwStyle,
                            const RECT& rect, CWnd* pParentWnd, UINT nID) {
    AfxInitCommonControls(dwIccFlags);
    return wnd.CreateEx(dwExStyle, lpszClass, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

CString AfxReadControlText(const std::function<BOOL(LPSTR, int)>& fill) {
    CString strText;
    for (int nLength = 256;; nLength *= 2) {
        LPSTR pszBuffer = strText.GetBuffer(nLength);
        pszBuffer[0] = '\0';
        const BOOL bGot = fill(pszBuffer, nLength + 1);
        strText.ReleaseBuffer();
        if (!bGot) return CString();
        if (strText.GetLength() < nLength) return strText;   // room to spare: nothing was cut
    }
}

BOOL AfxInitCommonControls(DWORD dwIccFlags) {
    INITCOMMONCONTROLSEX init = {sizeof init, dwIccFlags};
    return ::InitCommonControlsEx(&init);
}

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
    GetItemText(this, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex, rString);
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CListBox::GetText(int nIndex, CString& rString) const {
    GetItemText(this, LB_GETTEXTLEN, LB_GETTEXT, nIndex, rString);
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const {
    DWORD dwResult = static_cast<DWORD>(SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y)));
    bOutside = HIWORD(dwResult) != 0;
    return LOWORD(dwResult);
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
