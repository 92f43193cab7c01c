#include "toolkit/propertygrid/PropertyGridInplaceList.h"

#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/MultiMonitor.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridView.h"

#include <algorithm>

namespace {

const DWORD kListStyle = WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY;

}  // namespace

CKLVPropertyGridInplaceList::~CKLVPropertyGridInplaceList() {
    if (GetSafeHwnd()) DestroyWindow();
}

void CKLVPropertyGridInplaceList::Create(CKLVPropertyGridItem* pItem, CRect rect) {
    CKLVPropertyGridView* pView = pItem->GetGridView();
    if (!AfxGetSafeHwnd(pView)) return;
    CRect rcList(pView->GetDividerPos() + 1, rect.bottom, rect.right, rect.bottom);
    m_pItem = pItem;
    if (GetSafeHwnd()) DestroyWindow();
    m_pItem = pItem;
    const DWORD dwExStyle = WS_EX_TOOLWINDOW | (pView->GetExStyle() & WS_EX_LAYOUTRTL);
    if (!CreateEx(dwExStyle, "LISTBOX", "", kListStyle, CRect(0, 0, 0, 0), pView, 0)) return;
    m_hWndFocus = pView->GetSafeHwnd();
    CFont* pFont = pView->GetFont();
    SetFont(pFont, FALSE);
    ResetContent();

    CClientDC dc(pView);
    CKLVFontDC font(&dc, pFont);
    int nHeight = dc.GetTextExtent(" ", 1).cy + 3;
    int nWidth = rcList.Width();
    CKLVPropertyGridItemConstraints* pConstraints = pItem->GetConstraints();
    for (int i = 0; i < pConstraints->GetCount(); ++i) {
        CKLVPropertyGridItemConstraint* pConstraint = pConstraints->GetConstraintAt(i);
        const int nIndex = AddString(pConstraint->m_strConstraint);
        SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pConstraint));
        const CSize sz = pItem->OnMeasureItemConstraint(&dc, pConstraint);
        nWidth = std::max(nWidth, static_cast<int>(sz.cx));
        nHeight = std::max(nHeight, static_cast<int>(sz.cy));
        if (pConstraint->m_strConstraint == pItem->GetValue()) SetCurSel(nIndex);
    }
    SetItemHeight(0, static_cast<UINT>(nHeight));
    const int nRows = std::min(pConstraints->GetCount(), pItem->m_nDropDownItemCount);
    nWidth = std::min(nWidth, static_cast<int>(rect.Width()) - 14);
    rcList.SetRect(rect.right - nWidth, rect.bottom, rect.right, rect.bottom + nRows * nHeight + 2);

    pView->ClientToScreen(&rcList);
    CRect rcRowScreen = rect;
    pView->ClientToScreen(&rcRowScreen);
    const CRect rcWork = KLVMultiMonitor()->GetWorkRect(&rcList);
    if (rcList.bottom > rcWork.bottom && rcList.top > rcWork.CenterPoint().y)
        rcList.OffsetRect(0, rcRowScreen.top - 1 - rcList.bottom);
    if (rcList.left < rcWork.left) rcList.OffsetRect(rcWork.left - rcList.left, 0);
    if (rcList.right > rcWork.right) rcList.OffsetRect(rcWork.right - rcList.right, 0);

    SetFocus();
    ::SetWindowLongPtrA(GetSafeHwnd(), GWLP_HWNDPARENT, 0);
    ModifyStyle(WS_CHILD, WS_POPUP);
    ::SetWindowLongPtrA(GetSafeHwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(pView->GetSafeHwnd()));
    SetWindowPos(&CWnd::wndTopMost, rcList.left, rcList.top, rcList.Width(), rcList.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    SetOutsideClickHook(this);
}

void CKLVPropertyGridInplaceList::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (!m_pItem || lpDrawItemStruct->itemID == UINT(-1)) return;
    auto* pConstraint = reinterpret_cast<CKLVPropertyGridItemConstraint*>(lpDrawItemStruct->itemData);
    if (!pConstraint) return;
    m_pItem->OnDrawItemConstraint(CDC::FromHandle(lpDrawItemStruct->hDC), pConstraint, lpDrawItemStruct->rcItem,
                                  (lpDrawItemStruct->itemState & ODS_SELECTED) != 0);
}

void CKLVPropertyGridInplaceList::ReturnFocus() {
    if (!GetSafeHwnd() || ::GetFocus() != GetSafeHwnd()) return;
    HWND hFocus = m_hWndFocus ? m_hWndFocus : ::GetParent(GetSafeHwnd());
    if (::IsWindow(hFocus)) ::SetFocus(hFocus);
}

void CKLVPropertyGridInplaceList::Apply() {
    const int nSel = GetSafeHwnd() ? GetCurSel() : -1;
    CKLVPropertyGridItem* pItem = m_pItem;
    if (nSel >= 0 && pItem) {
        m_pItem = nullptr;
        CString strValue;
        GetText(nSel, strValue);
        pItem->GetConstraints()->SetCurrent(nSel);
        if (pItem->OnAfterEdit(strValue) && strValue != pItem->GetValue()) pItem->OnValueChanged(strValue);
    }
    ReturnFocus();
}

void CKLVPropertyGridInplaceList::Cancel() {
    CKLVPropertyGridItem* pItem = m_pItem;
    m_pItem = nullptr;
    if (pItem) pItem->OnCancelEdit();
    ReturnFocus();
}

void CKLVPropertyGridInplaceList::DestroyItem() {
    m_pItem = nullptr;
    if (!GetSafeHwnd()) return;
    SetOutsideClickHook(nullptr);
    DestroyWindow();
}

void CKLVPropertyGridInplaceList::PostNcDestroy() {
    if (IsOutsideClickHookActive()) SetOutsideClickHook(nullptr);
    CListBox::PostNcDestroy();
}

LRESULT CKLVPropertyGridInplaceList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (wParam == VK_ESCAPE) {
            Cancel();
            return 0;
        }
        if (wParam == VK_RETURN || wParam == VK_F4 || (message == WM_SYSKEYDOWN && (wParam == VK_DOWN || wParam == VK_UP))) {
            Apply();
            return 0;
        }
        break;
    case WM_LBUTTONUP: {
        const LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
        CRect rcClient;
        GetClientRect(&rcClient);
        if (rcClient.PtInRect(CPoint(lParam))) Apply();
        else Cancel();
        return lResult;
    }
    case WM_KILLFOCUS: {
        const LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
        SetOutsideClickHook(nullptr);
        Cancel();
        DestroyWindow();
        return lResult;
    }
    default: break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}
