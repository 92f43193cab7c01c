// A control for accessibility clients: a button, a button menu or a menu item of its bar.
#include "toolkit/commandbars/controlbase/Control.h"

#include "toolkit/common/DrawHelpers.h"

LPUNKNOWN CKLVControl::GetInterface(const IID& iid) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) return GetAccessibleInterface();
    return CCmdTarget::GetInterface(iid);
}

HRESULT CKLVControl::GetAccessibleParent(IDispatch** ppdispParent) {
    *ppdispParent = nullptr;
    if (!m_pParent || !GetParentHwnd()) return E_FAIL;
    return AccessibleObjectFromWindow(GetParentHwnd(), static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch,
                                      reinterpret_cast<void**>(ppdispParent));
}

HRESULT CKLVControl::GetAccessibleChildCount(LONG* pcountChildren) {
    *pcountChildren = GetCommandBar() ? 1 : 0;
    return S_OK;
}

HRESULT CKLVControl::GetAccessibleChild(VARIANT, IDispatch** ppdispChild) {
    *ppdispChild = nullptr;
    CKLVControlHost* pBar = CKLVControlHost::Of(GetCommandBar());
    const HWND hBar = pBar ? pBar->AsWnd()->GetSafeHwnd() : nullptr;
    if (!hBar) return S_FALSE;
    return AccessibleObjectFromWindow(hBar, static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch,
                                      reinterpret_cast<void**>(ppdispChild));
}

HRESULT CKLVControl::GetAccessibleName(VARIANT varChild, BSTR* pszName) {
    if (ChildIdFromVariant(&varChild) != 0) return E_INVALIDARG;
    CString strName = GetCaption();
    CKLVDrawHelpers::StripMnemonicsString(strName);
    if (!GetShortcutText().IsEmpty()) strName += "\t" + GetShortcutText();
    if (GetCaption().IsEmpty()) strName = GetTooltip();
    *pszName = AllocString(strName);
    return S_OK;
}

HRESULT CKLVControl::GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription) {
    if (ChildIdFromVariant(&varChild) != 0) return E_INVALIDARG;
    *pszDescription = AllocString(GetDescription());
    return S_OK;
}

HRESULT CKLVControl::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) {
    if (ChildIdFromVariant(&varChild) != 0) return E_INVALIDARG;
    const int nBarType = m_pParent ? ParentHost()->GetType() : CKLVControlHost::barTypeNormal;
    const BOOL bToolBar = nBarType == CKLVControlHost::barTypeNormal || nBarType == CKLVControlHost::barTypeRibbon;
    SetLong(pvarRole, !bToolBar ? ROLE_SYSTEM_MENUITEM : GetCommandBar() ? ROLE_SYSTEM_BUTTONMENU : ROLE_SYSTEM_PUSHBUTTON);
    return S_OK;
}

HRESULT CKLVControl::GetAccessibleState(VARIANT varChild, VARIANT* pvarState) {
    if (ChildIdFromVariant(&varChild) != 0) return E_INVALIDARG;
    LONG nState = STATE_SYSTEM_FOCUSABLE;
    if (GetSelected()) nState |= STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED;
    const BOOL bBarHidden = m_pParent && GetParentHwnd() && !::IsWindowVisible(GetParentHwnd());
    if (bBarHidden || !IsVisible()) nState |= STATE_SYSTEM_INVISIBLE;
    if (!GetEnabled()) nState |= STATE_SYSTEM_UNAVAILABLE;
    if (GetChecked() == TRUE) nState |= STATE_SYSTEM_CHECKED;
    if (GetPressed()) nState |= STATE_SYSTEM_PRESSED;
    if (GetCommandBar()) nState |= STATE_SYSTEM_HASPOPUP;
    SetLong(pvarState, nState);
    return S_OK;
}

HRESULT CKLVControl::GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) {
    if (ChildIdFromVariant(&varChild) != 0) return E_INVALIDARG;
    *pszDefaultAction = ::SysAllocString(L"Click");
    return S_OK;
}

HRESULT CKLVControl::AccessibleSelect(LONG, VARIANT varChild) {
    if (ChildIdFromVariant(&varChild) != 0) return E_INVALIDARG;
    if (!m_pParent) return S_FALSE;
    ParentHost()->SetTrackingMode(TRUE, FALSE);
    ParentHost()->SetSelected(m_nIndex);
    return S_OK;
}

HRESULT CKLVControl::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight, VARIANT varChild) {
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    if (ChildIdFromVariant(&varChild) != 0) return E_INVALIDARG;
    if (!m_pParent || !GetParentHwnd() || !IsVisible()) return S_OK;
    CRect rc = m_rcControl;
    ::MapWindowPoints(GetParentHwnd(), nullptr, reinterpret_cast<POINT*>(&rc), 2);
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.Width();
    *pcyHeight = rc.Height();
    return S_OK;
}

HRESULT CKLVControl::AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) {
    pvarChild->vt = VT_EMPTY;
    if (!m_pParent || !GetParentHwnd()) return S_FALSE;
    CPoint pt(xLeft, yTop);
    ::ScreenToClient(GetParentHwnd(), &pt);
    if (!m_rcControl.PtInRect(pt)) return S_FALSE;
    SetLong(pvarChild, CHILDID_SELF);
    return S_OK;
}

HRESULT CKLVControl::AccessibleDoDefaultAction(VARIANT varChild) {
    if (ChildIdFromVariant(&varChild) != 0) return E_INVALIDARG;
    OnClick(TRUE, CPoint(0, 0));
    return S_OK;
}
