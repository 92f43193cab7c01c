#include "classlib/PrintDialog.h"

#include "classlib/WinApp.h"

IMPLEMENT_DYNAMIC(CPrintDialog, CCmdTarget)

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd) : m_pd() {
    m_pd.lStructSize = sizeof m_pd;
    m_pd.Flags = dwFlags | PD_RETURNDC | (bPrintSetupOnly ? PD_PRINTSETUP : 0);
    m_pd.hwndOwner = AfxGetSafeHwnd(pParentWnd);
    m_pd.nFromPage = m_pd.nMinPage = 1;
    m_pd.nToPage = m_pd.nMaxPage = 0xFFFF;
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog() {
    FreeDC();
    if (m_pd.hDevMode) ::GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames) ::GlobalFree(m_pd.hDevNames);
}

void CPrintDialog::FreeDC() {
    if (m_pd.hDC) ::DeleteDC(m_pd.hDC);
    m_pd.hDC = nullptr;
}

BOOL CPrintDialog::Run(DWORD dwExtraFlags) {
    FreeDC();   // the dialog makes a new one
    if (!m_pd.hwndOwner) m_pd.hwndOwner = AfxGetSafeHwnd(AfxGetMainWnd());
    const DWORD dwFlags = m_pd.Flags;
    m_pd.Flags |= dwExtraFlags;
    const BOOL bResult = ::PrintDlgA(&m_pd);
    // What the dialog chose stays; the one-off request does not.
    m_pd.Flags &= ~(dwExtraFlags & ~dwFlags);
    return bResult;
}

INT_PTR CPrintDialog::DoModal() { return Run(0) ? IDOK : IDCANCEL; }

BOOL CPrintDialog::GetDefaults() {
    // The system refuses to give defaults into settings it gave before.
    if (m_pd.hDevMode) ::GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames) ::GlobalFree(m_pd.hDevNames);
    m_pd.hDevMode = m_pd.hDevNames = nullptr;
    return Run(PD_RETURNDEFAULT) && m_pd.hDC != nullptr;
}

HDC CPrintDialog::CreatePrinterDC() {
    FreeDC();
    if (!m_pd.hDevNames) return nullptr;
    const auto* pNames = static_cast<const DEVNAMES*>(::GlobalLock(m_pd.hDevNames));
    const auto* pMode = m_pd.hDevMode ? static_cast<const DEVMODEA*>(::GlobalLock(m_pd.hDevMode)) : nullptr;
    if (pNames) {
        const char* pBase = reinterpret_cast<const char*>(pNames);
        m_pd.hDC = ::CreateDCA(pBase + pNames->wDriverOffset, pBase + pNames->wDeviceOffset, nullptr, pMode);
    }
    if (pMode) ::GlobalUnlock(m_pd.hDevMode);
    ::GlobalUnlock(m_pd.hDevNames);
    return m_pd.hDC;
}
