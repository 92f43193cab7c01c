// The accessible part of a docking pane: a page tab in its container's tab list.
#include "toolkit/dockingpane/DockingPane.h"

#include "toolkit/dockingpane/DockingAccessibleValues.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"

using KLVDockingAccessible::MakeBstr;
using KLVDockingAccessible::MakeLong;

LPUNKNOWN CKLVDockingPane::GetInterface(const IID& iid) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) return GetAccessibleInterface();
    return CCmdTarget::GetInterface(iid);
}

HRESULT CKLVDockingPane::GetAccessibleParent(IDispatch** ppdispParent) {
    *ppdispParent = nullptr;
    HWND hWndContainer = m_pParentContainer ? m_pParentContainer->GetPaneHwnd() : nullptr;
    if (!hWndContainer) return E_FAIL;
    return AccessibleObjectFromWindow(hWndContainer, static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch,
                                      reinterpret_cast<void**>(ppdispParent));
}

HRESULT CKLVDockingPane::GetAccessibleChildCount(LONG* pcountChildren) {
    *pcountChildren = m_hwndChild ? 1 : 0;
    return S_OK;
}

HRESULT CKLVDockingPane::GetAccessibleName(VARIANT varChild, BSTR* pszName) {
    if (ChildIdFromVariant(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    return MakeBstr(GetTabCaption(), pszName);
}

HRESULT CKLVDockingPane::GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription) {
    if (ChildIdFromVariant(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    return MakeBstr(GetTitle(), pszDescription);
}

HRESULT CKLVDockingPane::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) {
    if (ChildIdFromVariant(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    return MakeLong(pvarRole, ROLE_SYSTEM_PAGETAB);
}

HRESULT CKLVDockingPane::GetAccessibleState(VARIANT varChild, VARIANT* pvarState) {
    if (ChildIdFromVariant(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    long lState = STATE_SYSTEM_SELECTABLE;
    if (!m_pParentContainer) lState |= STATE_SYSTEM_INVISIBLE;
    if (IsSelected()) lState |= STATE_SYSTEM_SELECTED;
    return MakeLong(pvarState, lState);
}

HRESULT CKLVDockingPane::GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) {
    if (ChildIdFromVariant(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    return MakeBstr("Switch", pszDefaultAction);
}

HRESULT CKLVDockingPane::AccessibleDoDefaultAction(VARIANT varChild) {
    if (ChildIdFromVariant(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    Select();
    return S_OK;
}

HRESULT CKLVDockingPane::AccessibleSelect(LONG /*flagsSelect*/, VARIANT varChild) {
    if (ChildIdFromVariant(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    Select();
    return S_OK;
}

HRESULT CKLVDockingPane::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) {
    *ppdispChild = nullptr;
    if (ChildIdFromVariant(&varChild) != 1 || !m_hwndChild) return E_INVALIDARG;
    return AccessibleObjectFromWindow(m_hwndChild, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(ppdispChild));
}

HRESULT CKLVDockingPane::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                            VARIANT varChild) {
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    const long lChild = ChildIdFromVariant(&varChild);
    HWND hWnd = lChild == 1 ? m_hwndChild : (m_pParentContainer ? m_pParentContainer->GetPaneHwnd() : nullptr);
    if ((lChild != CHILDID_SELF && lChild != 1) || !hWnd) return E_INVALIDARG;
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    // Among several tabs the pane is its own tab.
    if (lChild == CHILDID_SELF && m_pParentContainer && m_pParentContainer->GetType() == typeTabbedContainer) {
        auto* pTabbed = static_cast<CKLVDockingPaneTabbedContainer*>(m_pParentContainer);
        CKLVTabManagerItem* pItem = pTabbed->FindItem(this);
        if (pTabbed->GetTabs()->GetItemCount() >= 2 && pItem) {
            rc = pItem->GetRect();
            ::MapWindowPoints(hWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
        }
    }
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.Width();
    *pcyHeight = rc.Height();
    return S_OK;
}
