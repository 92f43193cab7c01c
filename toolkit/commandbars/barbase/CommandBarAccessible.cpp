// The bar for accessibility clients: a menu bar, a popup menu or a tool bar whose children are
// its controls, numbered from 1.
#include "toolkit/commandbars/barbase/CommandBar.h"

#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/common/DrawHelpers.h"

LPUNKNOWN CKLVCommandBar::GetInterface(const IID& iid) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible))
        return m_accessible.GetAccessibleInterface();
    return CWnd::GetInterface(iid);
}

CKLVControl* CKLVCommandBar::GetAccessibleControl(long nChild) const {
    return nChild >= 1 ? GetControl(static_cast<int>(nChild - 1)) : nullptr;
}

HRESULT CKLVCommandBar::CAccessible::GetAccessibleParent(IDispatch** ppdispParent) {
    if (!ppdispParent) return E_INVALIDARG;
    *ppdispParent = nullptr;
    if (CKLVControlPopup* pOpening = m_pBar->GetOpeningControl()) {
        IAccessible* pParent = pOpening->GetAccessibleInterface();
        return pParent->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(ppdispParent));
    }
    return AccessibleObjectFromWindow(m_pBar->GetSafeHwnd(), static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(ppdispParent));
}

HRESULT CKLVCommandBar::CAccessible::GetAccessibleChildCount(LONG* pcountChildren) {
    if (!pcountChildren) return E_INVALIDARG;
    *pcountChildren = m_pBar->GetControlCount();
    return S_OK;
}

HRESULT CKLVCommandBar::CAccessible::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) {
    if (!ppdispChild) return E_INVALIDARG;
    *ppdispChild = nullptr;
    const long nChild = ChildIdFromVariant(&varChild);
    if (nChild < 0) return E_INVALIDARG;
    CKLVControl* pControl = m_pBar->GetAccessibleControl(nChild);
    if (!pControl) return E_INVALIDARG;
    return pControl->GetAccessibleInterface()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(ppdispChild));
}

HRESULT CKLVCommandBar::CAccessible::GetAccessibleName(VARIANT varChild, BSTR* pszName) {
    if (!pszName) return E_INVALIDARG;
    const long nChild = ChildIdFromVariant(&varChild);
    if (nChild < 0) return E_INVALIDARG;
    if (nChild == CHILDID_SELF) {
        CString strText;
        m_pBar->GetWindowText(strText);
        *pszName = AllocString(strText);
        return S_OK;
    }
    CKLVControl* pControl = m_pBar->GetAccessibleControl(nChild);
    if (!pControl) return E_INVALIDARG;
    CString strName = pControl->GetCaption();
    CKLVDrawHelpers::StripMnemonicsString(strName);
    if (!pControl->GetShortcutText().IsEmpty()) strName += "\t" + pControl->GetShortcutText();
    *pszName = AllocString(strName);
    return S_OK;
}

HRESULT CKLVCommandBar::CAccessible::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) {
    if (!pvarRole) return E_INVALIDARG;
    const long nChild = ChildIdFromVariant(&varChild);
    if (nChild < 0) return E_INVALIDARG;
    if (nChild != CHILDID_SELF) {
        SetLong(pvarRole, ROLE_SYSTEM_MENUITEM);
        return S_OK;
    }
    const int nType = m_pBar->GetType();
    SetLong(pvarRole, nType == barTypeMenuBar ? ROLE_SYSTEM_MENUBAR
                      : nType == barTypePopup ? ROLE_SYSTEM_MENUPOPUP
                                              : ROLE_SYSTEM_TOOLBAR);
    return S_OK;
}

HRESULT CKLVCommandBar::CAccessible::GetAccessibleState(VARIANT varChild, VARIANT* pvarState) {
    if (!pvarState) return E_INVALIDARG;
    const long nChild = ChildIdFromVariant(&varChild);
    if (nChild < 0) return E_INVALIDARG;
    if (nChild == CHILDID_SELF) {
        SetLong(pvarState, ::IsWindowVisible(m_pBar->GetSafeHwnd()) ? 0 : STATE_SYSTEM_INVISIBLE);
        return S_OK;
    }
    LONG nState = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    if (nChild - 1 == m_pBar->m_nSelected) nState |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED | STATE_SYSTEM_HOTTRACKED;
    SetLong(pvarState, nState);
    return S_OK;
}

HRESULT CKLVCommandBar::CAccessible::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                                        VARIANT varChild) {
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight) return E_INVALIDARG;
    const long nChild = ChildIdFromVariant(&varChild);
    if (nChild < 0) return E_INVALIDARG;
    CRect rcWindow;
    ::GetWindowRect(m_pBar->GetSafeHwnd(), &rcWindow);
    CRect rc = rcWindow;
    if (nChild != CHILDID_SELF) {
        CKLVControl* pControl = m_pBar->GetAccessibleControl(nChild);
        if (!pControl) return E_INVALIDARG;
        rc = pControl->GetRect();
        rc.OffsetRect(rcWindow.TopLeft());
    }
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.Width();
    *pcyHeight = rc.Height();
    return S_OK;
}

HRESULT CKLVCommandBar::CAccessible::AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) {
    if (!pvarChild) return E_INVALIDARG;
    CRect rcWindow;
    ::GetWindowRect(m_pBar->GetSafeHwnd(), &rcWindow);
    const CPoint pt(xLeft, yTop);
    if (!rcWindow.PtInRect(pt)) {
        pvarChild->vt = VT_EMPTY;
        return S_FALSE;
    }
    CPoint ptClient = pt;
    ::ScreenToClient(m_pBar->GetSafeHwnd(), &ptClient);
    if (CKLVControl* pControl = m_pBar->GetControls()->HitTest(ptClient)) {
        pvarChild->vt = VT_DISPATCH;
        return pControl->GetAccessibleInterface()->QueryInterface(IID_IDispatch,
                                                                  reinterpret_cast<void**>(&pvarChild->pdispVal));
    }
    SetLong(pvarChild, CHILDID_SELF);
    return S_OK;
}
