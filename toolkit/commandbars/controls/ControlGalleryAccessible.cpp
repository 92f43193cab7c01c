// The gallery's items as accessible children of the control: child id = index + 1.
#include "toolkit/commandbars/controls/ControlGallery.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controls/ControlGalleryItems.h"
#include "toolkit/common/DrawHelpers.h"

namespace {

// The item index of a child id; -1 for the control itself, -2 for an id that names no item.
int ItemOfChild(LONG nChild, int nCount) {
    if (nChild == CHILDID_SELF) return -1;
    return nChild >= 1 && nChild <= nCount ? static_cast<int>(nChild) - 1 : -2;
}

}  // namespace

HRESULT CKLVControlGallery::GetAccessibleChildCount(LONG* pcountChildren) {
    *pcountChildren = GetItemCount();
    return S_OK;
}

HRESULT CKLVControlGallery::GetAccessibleName(VARIANT varChild, BSTR* pszName) {
    const int nItem = ItemOfChild(ChildIdFromVariant(&varChild), GetItemCount());
    if (nItem == -1) return CKLVControlPopup::GetAccessibleName(varChild, pszName);
    if (nItem < 0) return E_INVALIDARG;
    CString strName = GetItemCaption(nItem);
    CKLVDrawHelpers::StripMnemonicsString(strName);
    *pszName = AllocString(strName);
    return S_OK;
}

HRESULT CKLVControlGallery::GetAccessibleState(VARIANT varChild, VARIANT* pvarState) {
    const int nItem = ItemOfChild(ChildIdFromVariant(&varChild), GetItemCount());
    if (nItem == -1) return CKLVControlPopup::GetAccessibleState(varChild, pvarState);
    if (nItem < 0) return E_INVALIDARG;
    LONG nState = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    if (nItem == m_nSelectedItem) nState |= STATE_SYSTEM_FOCUSED;
    SetLong(pvarState, nState);
    return S_OK;
}

HRESULT CKLVControlGallery::GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) {
    const int nItem = ItemOfChild(ChildIdFromVariant(&varChild), GetItemCount());
    if (nItem == -1) return CKLVControlPopup::GetAccessibleDefaultAction(varChild, pszDefaultAction);
    if (nItem < 0) return E_INVALIDARG;
    *pszDefaultAction = ::SysAllocString(L"Click");
    return S_OK;
}

HRESULT CKLVControlGallery::AccessibleSelect(LONG flagsSelect, VARIANT varChild) {
    const int nItem = ItemOfChild(ChildIdFromVariant(&varChild), GetItemCount());
    if (nItem == -1) return CKLVControlPopup::AccessibleSelect(flagsSelect, varChild);
    if (nItem < 0) return E_INVALIDARG;
    SetSelectedItem(nItem);
    return S_OK;
}

HRESULT CKLVControlGallery::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                               VARIANT varChild) {
    const int nItem = ItemOfChild(ChildIdFromVariant(&varChild), GetItemCount());
    if (nItem == -1) return CKLVControlPopup::AccessibleLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    if (nItem < 0) return E_INVALIDARG;
    SyncLayout();
    CRect rc = GetItemDrawRect(nItem);
    if (m_pParent && m_pParent->GetSafeHwnd())
        ::MapWindowPoints(m_pParent->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&rc), 2);
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.Width();
    *pcyHeight = rc.Height();
    return S_OK;
}

HRESULT CKLVControlGallery::AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) {
    pvarChild->vt = VT_EMPTY;
    if (!m_pParent || !m_pParent->GetSafeHwnd()) return S_FALSE;
    CPoint pt(xLeft, yTop);
    ::ScreenToClient(m_pParent->GetSafeHwnd(), &pt);
    if (!m_rcControl.PtInRect(pt)) return S_FALSE;
    SyncLayout();
    const int nItem = HitTestItem(pt);
    SetLong(pvarChild, nItem >= 0 ? nItem + 1 : CHILDID_SELF);
    return S_OK;
}

HRESULT CKLVControlGallery::AccessibleDoDefaultAction(VARIANT varChild) {
    const int nItem = ItemOfChild(ChildIdFromVariant(&varChild), GetItemCount());
    if (nItem == -1) return CKLVControlPopup::AccessibleDoDefaultAction(varChild);
    if (nItem < 0) return E_INVALIDARG;
    SetSelectedItem(nItem);
    ExecuteItem();
    return S_OK;
}
