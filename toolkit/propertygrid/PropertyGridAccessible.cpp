// The property grid for accessibility clients: the view is a table whose children are the
// rows, each row an accessible object of its own.
#include "toolkit/common/Accessible.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridView.h"

namespace {

LONG ScreenLocation(HWND hWnd, CRect rc, LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight) {
    ::ClientToScreen(hWnd, reinterpret_cast<POINT*>(&rc.left));
    ::ClientToScreen(hWnd, reinterpret_cast<POINT*>(&rc.right));
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.Width();
    *pcyHeight = rc.Height();
    return S_OK;
}

}  // namespace

LPUNKNOWN CKLVPropertyGridItem::GetInterface(const IID& iid) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) return GetAccessibleInterface();
    return CCmdTarget::GetInterface(iid);
}

HRESULT CKLVPropertyGridItem::GetAccessibleParent(IDispatch** ppdispParent) {
    *ppdispParent = nullptr;
    if (!m_pGrid) return S_FALSE;
    *ppdispParent = m_pGrid->GetAccessibleInterface();
    (*ppdispParent)->AddRef();
    return S_OK;
}

#define KLV_SELF_ONLY(varChild) \
    if (ChildIdFromVariant(&(varChild)) != CHILDID_SELF) return E_INVALIDARG

HRESULT CKLVPropertyGridItem::GetAccessibleName(VARIANT varChild, BSTR* pszName) {
    KLV_SELF_ONLY(varChild);
    *pszName = CKLVAccessible::AllocString(m_strCaption);
    return S_OK;
}

HRESULT CKLVPropertyGridItem::GetAccessibleValue(VARIANT varChild, BSTR* pszValue) {
    KLV_SELF_ONLY(varChild);
    *pszValue = CKLVAccessible::AllocString(GetViewValue());
    return S_OK;
}

HRESULT CKLVPropertyGridItem::GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription) {
    KLV_SELF_ONLY(varChild);
    *pszDescription = CKLVAccessible::AllocString(m_strDescription);
    return S_OK;
}

HRESULT CKLVPropertyGridItem::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) {
    KLV_SELF_ONLY(varChild);
    CKLVAccessible::SetLong(pvarRole, ROLE_SYSTEM_ROW);
    return S_OK;
}

HRESULT CKLVPropertyGridItem::GetAccessibleState(VARIANT varChild, VARIANT* pvarState) {
    KLV_SELF_ONLY(varChild);
    LONG nState = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    if (IsSelected()) nState |= STATE_SYSTEM_FOCUSED;
    if (!m_bVisible) nState |= STATE_SYSTEM_INVISIBLE;
    if (GetReadOnly()) nState |= STATE_SYSTEM_READONLY;
    CKLVAccessible::SetLong(pvarState, nState);
    return S_OK;
}

HRESULT CKLVPropertyGridItem::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                                 VARIANT varChild) {
    KLV_SELF_ONLY(varChild);
    if (!AfxGetSafeHwnd(m_pGrid)) return S_FALSE;
    return ScreenLocation(AfxGetSafeHwnd(m_pGrid), GetItemRect(), pxLeft, pyTop, pcxWidth, pcyHeight);
}

HRESULT CKLVPropertyGridItem::AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) {
    pvarChild->vt = VT_EMPTY;
    if (!AfxGetSafeHwnd(m_pGrid)) return S_FALSE;
    CPoint pt(xLeft, yTop);
    m_pGrid->ScreenToClient(&pt);
    if (!GetItemRect().PtInRect(pt)) return S_FALSE;
    CKLVAccessible::SetLong(pvarChild, CHILDID_SELF);
    return S_OK;
}

HRESULT CKLVPropertyGridItem::AccessibleSelect(LONG, VARIANT varChild) {
    KLV_SELF_ONLY(varChild);
    Select();
    return S_OK;
}

LPUNKNOWN CKLVPropertyGridView::GetInterface(const IID& iid) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) return GetAccessibleInterface();
    return CListBox::GetInterface(iid);
}

HRESULT CKLVPropertyGridView::GetAccessibleParent(IDispatch** ppdispParent) {
    return AccessibleObjectFromWindow(GetSafeHwnd(), static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(ppdispParent));
}

HRESULT CKLVPropertyGridView::GetAccessibleChildCount(LONG* pcountChildren) {
    *pcountChildren = GetSafeHwnd() ? GetCount() : 0;
    return S_OK;
}

HRESULT CKLVPropertyGridView::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) {
    *ppdispChild = nullptr;
    const long nChild = ChildIdFromVariant(&varChild);
    if (nChild <= 0) return E_INVALIDARG;
    CKLVPropertyGridItem* pItem = GetItem(nChild - 1);
    if (!pItem) return E_INVALIDARG;
    *ppdispChild = pItem->GetAccessibleInterface();
    (*ppdispChild)->AddRef();
    return S_OK;
}

HRESULT CKLVPropertyGridView::GetAccessibleName(VARIANT varChild, BSTR* pszName) {
    KLV_SELF_ONLY(varChild);
    *pszName = ::SysAllocString(L"Properties Window");
    return S_OK;
}

HRESULT CKLVPropertyGridView::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) {
    KLV_SELF_ONLY(varChild);
    CKLVAccessible::SetLong(pvarRole, ROLE_SYSTEM_TABLE);
    return S_OK;
}

HRESULT CKLVPropertyGridView::GetAccessibleState(VARIANT varChild, VARIANT* pvarState) {
    KLV_SELF_ONLY(varChild);
    CKLVAccessible::SetLong(pvarState, STATE_SYSTEM_FOCUSABLE);
    return S_OK;
}

HRESULT CKLVPropertyGridView::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                                 VARIANT varChild) {
    KLV_SELF_ONLY(varChild);
    CRect rc;
    GetWindowRect(&rc);
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.Width();
    *pcyHeight = rc.Height();
    return S_OK;
}

HRESULT CKLVPropertyGridView::AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) {
    pvarChild->vt = VT_EMPTY;
    CRect rc;
    GetWindowRect(&rc);
    if (!rc.PtInRect(CPoint(xLeft, yTop))) return S_FALSE;
    CPoint pt(xLeft, yTop);
    ScreenToClient(&pt);
    if (CKLVPropertyGridItem* pItem = ItemFromPoint(pt)) {
        pvarChild->vt = VT_DISPATCH;
        pvarChild->pdispVal = pItem->GetAccessibleInterface();
        pvarChild->pdispVal->AddRef();
        return S_OK;
    }
    CKLVAccessible::SetLong(pvarChild, CHILDID_SELF);
    return S_OK;
}
