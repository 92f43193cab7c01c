// The tab row for accessibility clients: a page tab list whose children are its tabs.
#include "toolkit/ribbon/RibbonControlTab.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/ribbon/RibbonTab.h"

HRESULT CKLVRibbonControlTab::ResolveChild(const VARIANT& varChild, const void* pOut, CKLVRibbonTab*& pTab) const {
    const long nChild = ChildIdFromVariant(&varChild);
    if (!pOut || nChild < 0 || nChild > GetItemCount()) return E_INVALIDARG;
    pTab = nChild > 0 ? GetTab(nChild - 1) : nullptr;
    return S_OK;
}

CRect CKLVRibbonControlTab::ScreenRect(CRect rc) const {
    if (m_pParent && m_pParent->GetSafeHwnd()) ::MapWindowPoints(m_pParent->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

HRESULT CKLVRibbonControlTab::GetAccessibleChildCount(LONG* pcountChildren) {
    if (!pcountChildren) return E_INVALIDARG;
    *pcountChildren = GetItemCount();
    return S_OK;
}

HRESULT CKLVRibbonControlTab::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) {
    CKLVRibbonTab* pTab = nullptr;
    if (FAILED(ResolveChild(varChild, ppdispChild, pTab))) return E_INVALIDARG;
    *ppdispChild = nullptr;
    return S_FALSE;
}

HRESULT CKLVRibbonControlTab::GetAccessibleName(VARIANT varChild, BSTR* pszName) {
    CKLVRibbonTab* pTab = nullptr;
    if (FAILED(ResolveChild(varChild, pszName, pTab))) return E_INVALIDARG;
    if (!pTab) return CKLVControl::GetAccessibleName(varChild, pszName);
    *pszName = AllocString(pTab->GetCaption());
    return S_OK;
}

HRESULT CKLVRibbonControlTab::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) {
    CKLVRibbonTab* pTab = nullptr;
    if (FAILED(ResolveChild(varChild, pvarRole, pTab))) return E_INVALIDARG;
    SetLong(pvarRole, pTab ? ROLE_SYSTEM_PAGETAB : ROLE_SYSTEM_PAGETABLIST);
    return S_OK;
}

HRESULT CKLVRibbonControlTab::GetAccessibleState(VARIANT varChild, VARIANT* pvarState) {
    CKLVRibbonTab* pTab = nullptr;
    if (FAILED(ResolveChild(varChild, pvarState, pTab))) return E_INVALIDARG;
    LONG nState = STATE_SYSTEM_FOCUSABLE;
    if (!pTab) {
        if (!CKLVControl::IsVisible()) nState |= STATE_SYSTEM_INVISIBLE;
    } else {
        nState |= STATE_SYSTEM_SELECTABLE;
        if (pTab->IsSelected()) nState |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
        if (!pTab->IsVisible()) nState |= STATE_SYSTEM_INVISIBLE;
    }
    SetLong(pvarState, nState);
    return S_OK;
}

HRESULT CKLVRibbonControlTab::GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) {
    CKLVRibbonTab* pTab = nullptr;
    if (FAILED(ResolveChild(varChild, pszDefaultAction, pTab))) return E_INVALIDARG;
    if (!pTab) return S_FALSE;
    *pszDefaultAction = ::SysAllocString(L"Switch");
    return S_OK;
}

HRESULT CKLVRibbonControlTab::AccessibleDoDefaultAction(VARIANT varChild) {
    CKLVRibbonTab* pTab = nullptr;
    if (FAILED(ResolveChild(varChild, this, pTab))) return E_INVALIDARG;
    if (pTab) SetSelectedItem(pTab);
    return S_OK;
}

HRESULT CKLVRibbonControlTab::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                                 VARIANT varChild) {
    CKLVRibbonTab* pTab = nullptr;
    const BOOL bOuts = pxLeft && pyTop && pcxWidth && pcyHeight;
    if (FAILED(ResolveChild(varChild, bOuts ? pxLeft : nullptr, pTab))) return E_INVALIDARG;
    const CRect rc = ScreenRect(pTab ? pTab->GetRect() : CKLVControl::m_rcControl);
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.Width();
    *pcyHeight = rc.Height();
    return S_OK;
}

HRESULT CKLVRibbonControlTab::AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) {
    if (!pvarChild) return E_INVALIDARG;
    CPoint pt(xLeft, yTop);
    if (m_pParent && m_pParent->GetSafeHwnd()) ::ScreenToClient(m_pParent->GetSafeHwnd(), &pt);
    if (!CKLVControl::m_rcControl.PtInRect(pt)) {
        pvarChild->vt = VT_EMPTY;
        return S_FALSE;
    }
    CKLVTabManagerItem* pItem = HitTest(pt);
    SetLong(pvarChild, pItem ? pItem->GetIndex() + 1 : CHILDID_SELF);
    return S_OK;
}
