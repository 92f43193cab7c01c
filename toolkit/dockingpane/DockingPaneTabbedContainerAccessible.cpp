// The accessible part of a tabbed container: a page tab list whose first child is the selected
// pane's window and whose further children are the panes, one per tab.
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"

#include "toolkit/dockingpane/DockingAccessibleValues.h"
#include "toolkit/dockingpane/DockingPane.h"

using KLVDockingAccessible::MakeLong;

namespace {

// The window's own accessible object, handed out as a child.
HRESULT WindowObject(CKLVAccessible* pAccessible, HWND hWnd, IDispatch** ppDispatch) {
    *ppDispatch = nullptr;
    if (!hWnd) return E_INVALIDARG;
    return pAccessible->AccessibleObjectFromWindow(hWnd, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                                   reinterpret_cast<void**>(ppDispatch));
}

HRESULT PaneObject(CKLVDockingPane* pPane, IDispatch** ppDispatch) {
    *ppDispatch = nullptr;
    if (!pPane) return E_INVALIDARG;
    IAccessible* pAccessible = pPane->GetAccessibleInterface();
    pAccessible->AddRef();
    *ppDispatch = pAccessible;
    return S_OK;
}

}  // namespace

LPUNKNOWN CKLVDockingPaneTabbedContainer::GetInterface(const IID& iid) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) return GetAccessibleInterface();
    return CWnd::GetInterface(iid);
}

LRESULT CKLVDockingPaneTabbedContainer::OnGetObject(WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return Default();
    return LresultFromObject(__uuidof(IAccessible), wParam, GetAccessibleInterface());
}

HRESULT CKLVDockingPaneTabbedContainer::GetAccessibleParent(IDispatch** ppdispParent) {
    *ppdispParent = nullptr;
    if (!m_hWnd) return E_FAIL;
    return AccessibleObjectFromWindow(m_hWnd, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(ppdispParent));
}

HRESULT CKLVDockingPaneTabbedContainer::GetAccessibleChildCount(LONG* pcountChildren) {
    *pcountChildren = m_tabs.GetItemCount() + 1;
    return S_OK;
}

HRESULT CKLVDockingPaneTabbedContainer::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) {
    const long lChild = ChildIdFromVariant(&varChild);
    if (lChild == 1) return WindowObject(this, m_pSelectedPane ? m_pSelectedPane->GetChild() : nullptr, ppdispChild);
    if (lChild >= 2) return PaneObject(GetPaneAt(static_cast<int>(lChild - 2)), ppdispChild);
    *ppdispChild = nullptr;
    return E_INVALIDARG;
}

HRESULT CKLVDockingPaneTabbedContainer::GetAccessibleName(VARIANT varChild, BSTR* pszName) {
    if (ChildIdFromVariant(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    *pszName = ::SysAllocString(L"KLVDockingPaneTabbedContainer");
    return *pszName ? S_OK : E_OUTOFMEMORY;
}

HRESULT CKLVDockingPaneTabbedContainer::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) {
    if (ChildIdFromVariant(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    return MakeLong(pvarRole, ROLE_SYSTEM_PAGETABLIST);
}

HRESULT CKLVDockingPaneTabbedContainer::GetAccessibleState(VARIANT varChild, VARIANT* pvarState) {
    if (ChildIdFromVariant(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    return MakeLong(pvarState, 0);
}

HRESULT CKLVDockingPaneTabbedContainer::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth,
                                                           LONG* pcyHeight, VARIANT varChild) {
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    if (ChildIdFromVariant(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    if (!m_hWnd) return E_FAIL;
    CRect rc;
    GetWindowRect(&rc);
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.Width();
    *pcyHeight = rc.Height();
    return S_OK;
}

HRESULT CKLVDockingPaneTabbedContainer::AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) {
    ::VariantInit(pvarChild);
    if (!m_hWnd) return S_FALSE;
    CPoint pt(xLeft, yTop);
    ScreenToClient(&pt);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!rcClient.PtInRect(pt)) return S_FALSE;
    const int nHit = HitTest(pt.x, pt.y);
    if (nHit == htCaption) return MakeLong(pvarChild, CHILDID_SELF);
    IDispatch* pDispatch = nullptr;
    const HRESULT hr = nHit >= 0 ? PaneObject(GetPaneAt(nHit), &pDispatch)
                                 : WindowObject(this, m_pSelectedPane ? m_pSelectedPane->GetChild() : nullptr,
                                                &pDispatch);
    if (FAILED(hr) || !pDispatch) return MakeLong(pvarChild, CHILDID_SELF);
    pvarChild->vt = VT_DISPATCH;
    pvarChild->pdispVal = pDispatch;
    return S_OK;
}
