#include "classlib/PropertySheet.h"

#include "classlib/ThreadState.h"
#include "classlib/WinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

namespace {

// The sheet PropertySheet is making on this thread (its callback has no parameter of ours).
thread_local CPropertySheet* t_pSheetInit = nullptr;

// Called as a page's dialog is about to be made: the next window is the page's.
UINT CALLBACK PageCallback(HWND, UINT message, LPPROPSHEETPAGEA ppsp) {
    if (message == PSPCB_CREATE) AfxHookWindowCreate(reinterpret_cast<CPropertyPage*>(ppsp->lParam));
    return TRUE;
}

INT_PTR CALLBACK PageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) AfxUnhookWindowCreate();   // the page is attached by now
    return AfxDlgProc(hWnd, message, wParam, lParam);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Pages.

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : m_psp() {
    CommonConstruct(MAKEINTRESOURCEA(nIDTemplate), nIDCaption);
}

CPropertyPage::CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption) : m_psp() {
    CommonConstruct(lpszTemplateName, nIDCaption);
}

CPropertyPage::CPropertyPage(LPCDLGTEMPLATE lpDialogTemplate, LPCTSTR lpszCaption) : m_psp() {
    CommonConstruct(nullptr, 0);
    m_lpDialogTemplate = lpDialogTemplate;
    m_psp.dwFlags |= PSP_DLGINDIRECT;
    m_psp.pResource = lpDialogTemplate;
    if (lpszCaption) {
        m_strCaption = lpszCaption;
        m_psp.dwFlags |= PSP_USETITLE;
    }
}

void CPropertyPage::CommonConstruct(LPCTSTR lpszTemplateName, UINT nIDCaption) {
    m_lpszTemplateName = lpszTemplateName;
    m_psp.dwSize = sizeof m_psp;
    m_psp.dwFlags = PSP_USECALLBACK;
    m_psp.hInstance = AfxGetResourceHandle();
    m_psp.pszTemplate = lpszTemplateName;
    if (nIDCaption && m_strCaption.LoadString(nIDCaption)) m_psp.dwFlags |= PSP_USETITLE;
}

BOOL CPropertyPage::OnSetActive() {
    if (m_bFirstSetActive) m_bFirstSetActive = FALSE;
    else UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

void CPropertyPage::SetModified(BOOL bChanged) {
    if (HWND hWndSheet = ::GetParent(m_hWnd))
        ::SendMessageA(hWndSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
    switch (pNMHDR->code) {
    case PSN_SETACTIVE: *pResult = OnSetActive() ? 0 : -1; break;
    case PSN_KILLACTIVE: *pResult = !OnKillActive(); break;   // TRUE keeps the page
    case PSN_APPLY: *pResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE; break;
    case PSN_RESET: OnReset(); *pResult = 0; break;
    case PSN_QUERYCANCEL: *pResult = !OnQueryCancel(); break;
    default: return CDialog::OnNotify(wParam, lParam, pResult);
    }
    // The sheet reads the answer of a dialog from its message result.
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, *pResult);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The sheet.

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) : m_psh() {
    m_strCaption.LoadString(nIDCaption);
    CommonConstruct(pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) : m_psh() {
    m_strCaption = pszCaption;
    CommonConstruct(pParentWnd, iSelectPage);
}

void CPropertySheet::CommonConstruct(CWnd* pParentWnd, UINT iSelectPage) {
    m_pParentWnd = pParentWnd;
    m_psh.dwSize = sizeof m_psh;
    m_psh.dwFlags = PSH_USECALLBACK;
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.nStartPage = iSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    m_pages.push_back(pPage);
    if (!m_hWnd) return;
    std::vector<HPROPSHEETPAGE> handles;
    BuildHeader(handles);   // the new page's handle is the last
    SendMessage(PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(handles.back()));
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) {
    const int nPage = GetPageIndex(pPage);
    if (nPage < 0) return;
    if (m_hWnd) SendMessage(PSM_REMOVEPAGE, static_cast<WPARAM>(nPage));
    m_pages.erase(m_pages.begin() + nPage);
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
    auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

CPropertyPage* CPropertySheet::GetActivePage() const {
    HWND hWndPage = m_hWnd ? reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND)) : nullptr;
    if (!hWndPage) return m_pages.empty() ? nullptr : m_pages[std::min<size_t>(m_psh.nStartPage, m_pages.size() - 1)];
    return DYNAMIC_DOWNCAST(CPropertyPage, CWnd::FromHandlePermanent(hWndPage));
}

int CPropertySheet::GetActiveIndex() const { return GetPageIndex(GetActivePage()); }

BOOL CPropertySheet::SetActivePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount()) return FALSE;
    if (!m_hWnd) {
        m_psh.nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(nPage)));
}

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT nStyle) {
    m_strCaption = lpszText;
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
    if (m_hWnd) SendMessage(PSM_SETTITLEA, nStyle, reinterpret_cast<LPARAM>(lpszText));
}

CWnd* CPropertySheet::GetTabControl() const {
    HWND hWndTab = m_hWnd ? reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL)) : nullptr;
    return hWndTab ? CWnd::FromHandle(hWndTab) : nullptr;
}

void CPropertySheet::BuildHeader(std::vector<HPROPSHEETPAGE>& handles) {
    for (CPropertyPage* pPage : m_pages) {
        PROPSHEETPAGEA psp = pPage->m_psp;
        psp.pfnDlgProc = PageDlgProc;
        psp.pfnCallback = PageCallback;
        psp.lParam = reinterpret_cast<LPARAM>(pPage);
        if (psp.dwFlags & PSP_USETITLE) psp.pszTitle = pPage->m_strCaption;
        pPage->m_bFirstSetActive = TRUE;
        handles.push_back(::CreatePropertySheetPageA(&psp));
    }
    m_psh.hwndParent = AfxGetSafeHwnd(m_pParentWnd ? m_pParentWnd : AfxGetMainWnd());
    m_psh.pszCaption = m_strCaption;
    m_psh.nPages = static_cast<UINT>(handles.size());
    m_psh.phpage = handles.data();
    m_psh.pfnCallback = SheetCallback;
}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT message, LPARAM) {
    // The sheet's window becomes this object's as soon as it exists.
    if (message == PSCB_INITIALIZED && t_pSheetInit) {
        t_pSheetInit->SubclassWindow(hWnd);
        t_pSheetInit = nullptr;
    }
    return 0;
}

INT_PTR CPropertySheet::DoModal() {
    if (m_hWnd || m_pages.empty()) return -1;
    std::vector<HPROPSHEETPAGE> handles;
    BuildHeader(handles);
    m_psh.dwFlags &= ~PSH_MODELESS;
    m_bModeless = FALSE;
    t_pSheetInit = this;
    const INT_PTR nResult = ::PropertySheetA(&m_psh);
    t_pSheetInit = nullptr;
    if (m_hWnd) UnsubclassWindow();   // gone with the dialog
    if (nResult < 0) return -1;
    return nResult > 0 ? IDOK : IDCANCEL;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
    if (m_hWnd || m_pages.empty()) return FALSE;
    if (pParentWnd) m_pParentWnd = pParentWnd;
    std::vector<HPROPSHEETPAGE> handles;
    BuildHeader(handles);
    m_psh.dwFlags |= PSH_MODELESS;
    m_bModeless = TRUE;
    t_pSheetInit = this;
    HWND hWnd = reinterpret_cast<HWND>(::PropertySheetA(&m_psh));
    t_pSheetInit = nullptr;
    if (!hWnd || m_hWnd != hWnd) return FALSE;
    if (dwStyle != static_cast<DWORD>(-1)) ModifyStyle(0xFFFFFFFF, dwStyle);
    if (dwExStyle) ModifyStyleEx(0, dwExStyle);
    return TRUE;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
    if (!m_bModeless || !m_hWnd) return CWnd::PreTranslateMessage(pMsg);
    return static_cast<BOOL>(SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
}

void CPropertySheet::PostNcDestroy() { m_bModeless = FALSE; }
