#include "classlib/Dialog.h"

#include "classlib/DataExchange.h"
#include "classlib/Exceptions.h"
#include "classlib/WinApp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOKCommand)
    ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_pParentWnd(pParentWnd), m_nIDHelp(nIDTemplate) {}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    auto* pDlg = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd));
    return pDlg ? pDlg->OnInitDialog() : TRUE;
}

LPCDLGTEMPLATE AfxLoadDialogTemplate(LPCTSTR lpszTemplateName) {
    HINSTANCE hInst = lpszTemplateName ? AfxFindResourceHandle(lpszTemplateName, RT_DIALOG) : nullptr;
    HRSRC hResource = hInst ? ::FindResourceA(hInst, lpszTemplateName, RT_DIALOG) : nullptr;
    HGLOBAL hTemplate = hResource ? ::LoadResource(hInst, hResource) : nullptr;
    return hTemplate ? static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate)) : nullptr;
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd) {
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
    return lpDialogTemplate != nullptr;
}

INT_PTR CDialog::DoModal() {
    LPCDLGTEMPLATE lpTemplate = m_lpDialogTemplate ? m_lpDialogTemplate : AfxLoadDialogTemplate(m_lpszTemplateName);
    if (!lpTemplate || m_hWnd) return -1;
    CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    HWND hWndOwner = AfxGetSafeHwnd(pParent);
    m_bModal = TRUE;
    // A tip shown for a window below does not stay over the dialog.
    CWnd::CancelToolTips();
    AfxHookWindowCreate(this);
    INT_PTR nResult = ::DialogBoxIndirectParamA(AfxGetResourceHandle(), lpTemplate, hWndOwner, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    m_bModal = FALSE;
    if (hWndOwner) ::SetActiveWindow(hWndOwner);
    return nResult;
}

DWORD AfxGetDialogTemplateStyle(LPCDLGTEMPLATE lpTemplate) {
    // The extended form starts with its version 1 and the signature 0xFFFF; its style follows
    // the help id and the extended style.
    const auto* pWords = reinterpret_cast<const WORD*>(lpTemplate);
    if (pWords[0] == 1 && pWords[1] == 0xFFFF) return *reinterpret_cast<const DWORD*>(pWords + 6);
    return lpTemplate->style;
}

BOOL AfxCreateDialogWindow(CWnd* pWnd, LPCDLGTEMPLATE lpTemplate, CWnd* pParentWnd) {
    if (!lpTemplate || pWnd->m_hWnd) return FALSE;
    AfxHookWindowCreate(pWnd);
    HWND hWnd = ::CreateDialogIndirectParamA(AfxGetResourceHandle(), lpTemplate, AfxGetSafeHwnd(pParentWnd),
                                             AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return hWnd != nullptr && pWnd->m_hWnd == hWnd;
}

BOOL CDialog::CreateFromTemplate(LPCDLGTEMPLATE lpTemplate, CWnd* pParentWnd) {
    if (!lpTemplate || m_hWnd) return FALSE;
    m_pParentWnd = pParentWnd;
    return AfxCreateDialogWindow(this, lpTemplate, pParentWnd);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    m_lpszTemplateName = lpszTemplateName;
    return CreateFromTemplate(AfxLoadDialogTemplate(lpszTemplateName), pParentWnd);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nIDHelp = nIDTemplate;
    return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd) {
    m_lpDialogTemplate = lpDialogTemplate;
    return CreateFromTemplate(lpDialogTemplate, pParentWnd);
}

void CDialog::EndDialog(int nResult) {
    if (m_bModal) ::EndDialog(m_hWnd, nResult);
    else ShowWindow(SW_HIDE);   // a modeless dialog stays until it is destroyed
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(AfxGetSafeHwnd(pWndCtrl)), TRUE);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (m_bModal || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return CWnd::PreTranslateMessage(pMsg);
    return ::IsDialogMessageA(m_hWnd, pMsg);
}
