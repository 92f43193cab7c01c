// The accessible part of the docking pane manager: a property page whose children are the panes.
#include "toolkit/dockingpane/DockingAccessibleValues.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneManager.h"

using KLVDockingAccessible::MakeLong;

LPUNKNOWN CKLVDockingPaneManager::GetInterface(const IID& iid) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) return GetAccessibleInterface();
    return CWnd::GetInterface(iid);
}

LRESULT CKLVDockingPaneManager::OnGetObject(WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return Default();
    return LresultFromObject(__uuidof(IAccessible), wParam, GetAccessibleInterface());
}

HRESULT CKLVDockingPaneManager::GetAccessibleParent(IDispatch** ppdispParent) {
    *ppdispParent = nullptr;
    HWND hWndSite = AfxGetSafeHwnd(m_pSite);
    if (!hWndSite) return E_FAIL;
    return AccessibleObjectFromWindow(hWndSite, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(ppdispParent));
}

HRESULT CKLVDockingPaneManager::GetAccessibleChildCount(LONG* pcountChildren) {
    *pcountChildren = m_pLayout ? static_cast<LONG>(m_pLayout->GetPaneList().GetCount()) : 0;
    return S_OK;
}

HRESULT CKLVDockingPaneManager::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) {
    *ppdispChild = nullptr;
    const long lChild = ChildIdFromVariant(&varChild);
    if (lChild <= 0 || !m_pLayout) return E_INVALIDARG;
    POSITION pos = m_pLayout->GetPaneList().FindIndex(lChild - 1);
    if (!pos) return E_INVALIDARG;
    IAccessible* pAccessible = m_pLayout->GetPaneList().GetAt(pos).pPane->GetAccessibleInterface();
    pAccessible->AddRef();
    *ppdispChild = pAccessible;
    return S_OK;
}

HRESULT CKLVDockingPaneManager::GetAccessibleName(VARIANT varChild, BSTR* pszName) {
    const long lChild = ChildIdFromVariant(&varChild);
    if (lChild != CHILDID_SELF && lChild != -1) return E_INVALIDARG;
    *pszName = ::SysAllocString(L"KLVDockingPaneManager");
    return *pszName ? S_OK : E_OUTOFMEMORY;
}

HRESULT CKLVDockingPaneManager::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) {
    if (ChildIdFromVariant(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    return MakeLong(pvarRole, ROLE_SYSTEM_PROPERTYPAGE);
}

HRESULT CKLVDockingPaneManager::GetAccessibleState(VARIANT varChild, VARIANT* pvarState) {
    if (ChildIdFromVariant(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    return MakeLong(pvarState, 0);
}

HRESULT CKLVDockingPaneManager::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                                   VARIANT varChild) {
    if (ChildIdFromVariant(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    *pxLeft = 0;
    *pyTop = 0;
    *pcxWidth = 10;
    *pcyHeight = 10;
    return S_OK;
}
