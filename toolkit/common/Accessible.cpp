#include "toolkit/common/Accessible.h"

CKLVAccessible::CKLVAccessible() : m_user32("user32.dll") {
    m_pfnNotifyWinEvent = m_user32.GetProc<decltype(m_pfnNotifyWinEvent)>("NotifyWinEvent");
}

void CKLVAccessible::NotifyWinEvent(DWORD dwEvent, HWND hWnd, LONG idObject, LONG idChild) {
    if (m_pfnNotifyWinEvent) m_pfnNotifyWinEvent(dwEvent, hWnd, idObject, idChild);
}

// oleacc is loaded on the first call that needs it and kept until the object goes.
template <class T>
T CKLVAccessible::GetOleaccProc(LPCSTR lpszName) {
    if (!m_oleacc.GetHandle()) m_oleacc.LoadLibrary("oleacc.dll");
    return m_oleacc.GetProc<T>(lpszName);
}

HRESULT CKLVAccessible::AccessibleObjectFromWindow(HWND hWnd, DWORD dwObjectID, REFIID riid, void** ppvObject) {
    if (!m_pfnAccessibleObjectFromWindow)
        m_pfnAccessibleObjectFromWindow =
            GetOleaccProc<decltype(m_pfnAccessibleObjectFromWindow)>("AccessibleObjectFromWindow");
    return m_pfnAccessibleObjectFromWindow ? m_pfnAccessibleObjectFromWindow(hWnd, dwObjectID, riid, ppvObject)
                                           : E_FAIL;
}

LRESULT CKLVAccessible::LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk) {
    if (!m_pfnLresultFromObject)
        m_pfnLresultFromObject = GetOleaccProc<decltype(m_pfnLresultFromObject)>("LresultFromObject");
    return m_pfnLresultFromObject ? m_pfnLresultFromObject(riid, wParam, punk) : E_FAIL;
}

long CKLVAccessible::ChildIdFromVariant(const VARIANT* pVar) {
    if (!pVar) return -1;
    switch (pVar->vt) {
    case VT_EMPTY: return 0;
    case VT_I4: return pVar->lVal;
    case VT_I2: return pVar->iVal;
    case VT_BYREF | VT_I4: return pVar->plVal ? *pVar->plVal : -1;
    case VT_BYREF | VT_I2: return pVar->piVal ? *pVar->piVal : -1;
    case VT_BYREF | VT_VARIANT: return ChildIdFromVariant(pVar->pvarVal);
    default: return -1;
    }
}

// A part whose owner names no target has nobody to count references or answer look-ups: it
// answers no interface rather than calling through a null target.
STDMETHODIMP CKLVAccessible::XAccessible::QueryInterface(REFIID riid, void** ppvObject) {
    CCmdTarget* pTarget = m_pOwner->GetAccessibleTarget();
    if (pTarget) return pTarget->ExternalQueryInterface(&riid, ppvObject);
    if (ppvObject) *ppvObject = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CKLVAccessible::XAccessible::AddRef() {
    CCmdTarget* pTarget = m_pOwner->GetAccessibleTarget();
    return pTarget ? pTarget->ExternalAddRef() : 0;
}

STDMETHODIMP_(ULONG) CKLVAccessible::XAccessible::Release() {
    CCmdTarget* pTarget = m_pOwner->GetAccessibleTarget();
    return pTarget ? pTarget->ExternalRelease() : 0;
}

STDMETHODIMP CKLVAccessible::XAccessible::get_accParent(IDispatch** ppdispParent) {
    return m_pOwner->GetAccessibleParent(ppdispParent);
}
STDMETHODIMP CKLVAccessible::XAccessible::get_accChildCount(LONG* pcountChildren) {
    return m_pOwner->GetAccessibleChildCount(pcountChildren);
}
STDMETHODIMP CKLVAccessible::XAccessible::get_accChild(VARIANT varChild, IDispatch** ppdispChild) {
    return m_pOwner->GetAccessibleChild(varChild, ppdispChild);
}
STDMETHODIMP CKLVAccessible::XAccessible::get_accName(VARIANT varChild, BSTR* pszName) {
    return m_pOwner->GetAccessibleName(varChild, pszName);
}
STDMETHODIMP CKLVAccessible::XAccessible::get_accValue(VARIANT varChild, BSTR* pszValue) {
    return m_pOwner->GetAccessibleValue(varChild, pszValue);
}
STDMETHODIMP CKLVAccessible::XAccessible::get_accDescription(VARIANT varChild, BSTR* pszDescription) {
    return m_pOwner->GetAccessibleDescription(varChild, pszDescription);
}
STDMETHODIMP CKLVAccessible::XAccessible::get_accRole(VARIANT varChild, VARIANT* pvarRole) {
    return m_pOwner->GetAccessibleRole(varChild, pvarRole);
}
STDMETHODIMP CKLVAccessible::XAccessible::get_accState(VARIANT varChild, VARIANT* pvarState) {
    return m_pOwner->GetAccessibleState(varChild, pvarState);
}
STDMETHODIMP CKLVAccessible::XAccessible::get_accHelp(VARIANT varChild, BSTR* pszHelp) {
    return m_pOwner->GetAccessibleHelp(varChild, pszHelp);
}
STDMETHODIMP CKLVAccessible::XAccessible::get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, LONG* pidTopic) {
    return m_pOwner->GetAccessibleHelpTopic(pszHelpFile, varChild, pidTopic);
}
STDMETHODIMP CKLVAccessible::XAccessible::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszShortcut) {
    return m_pOwner->GetAccessibleKeyboardShortcut(varChild, pszShortcut);
}
STDMETHODIMP CKLVAccessible::XAccessible::get_accFocus(VARIANT* pvarChild) {
    return m_pOwner->GetAccessibleFocus(pvarChild);
}
STDMETHODIMP CKLVAccessible::XAccessible::get_accSelection(VARIANT* pvarChildren) {
    return m_pOwner->GetAccessibleSelection(pvarChildren);
}
STDMETHODIMP CKLVAccessible::XAccessible::get_accDefaultAction(VARIANT varChild, BSTR* pszAction) {
    return m_pOwner->GetAccessibleDefaultAction(varChild, pszAction);
}
STDMETHODIMP CKLVAccessible::XAccessible::accSelect(LONG flagsSelect, VARIANT varChild) {
    return m_pOwner->AccessibleSelect(flagsSelect, varChild);
}
STDMETHODIMP CKLVAccessible::XAccessible::accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                                      VARIANT varChild) {
    return m_pOwner->AccessibleLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
}
STDMETHODIMP CKLVAccessible::XAccessible::accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEnd) {
    return m_pOwner->AccessibleNavigate(navDir, varStart, pvarEnd);
}
STDMETHODIMP CKLVAccessible::XAccessible::accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) {
    return m_pOwner->AccessibleHitTest(xLeft, yTop, pvarChild);
}
STDMETHODIMP CKLVAccessible::XAccessible::accDoDefaultAction(VARIANT varChild) {
    return m_pOwner->AccessibleDoDefaultAction(varChild);
}
STDMETHODIMP CKLVAccessible::XAccessible::put_accName(VARIANT varChild, BSTR szName) {
    return m_pOwner->PutAccessibleName(varChild, szName);
}
STDMETHODIMP CKLVAccessible::XAccessible::put_accValue(VARIANT varChild, BSTR szValue) {
    return m_pOwner->PutAccessibleValue(varChild, szValue);
}

BSTR CKLVAccessible::AllocString(const CString& str) {
    const int nLength = ::MultiByteToWideChar(CP_ACP, 0, str, str.GetLength(), nullptr, 0);
    BSTR bstr = ::SysAllocStringLen(nullptr, static_cast<UINT>(nLength));
    if (bstr && nLength > 0) ::MultiByteToWideChar(CP_ACP, 0, str, str.GetLength(), bstr, nLength);
    return bstr;
}

void CKLVAccessible::SetLong(VARIANT* pVar, LONG nValue) {
    pVar->vt = VT_I4;
    pVar->lVal = nValue;
}
