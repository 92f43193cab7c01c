#include "classlib/TabCtrl.h"

#include "classlib/ImageList.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CreateEx(0, dwStyle, rect, pParentWnd, nID);
}

BOOL CTabCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return AfxCreateCommonControl(*this, ICC_TAB_CLASSES, WC_TABCONTROLA, dwExStyle, dwStyle, rect, pParentWnd, nID);
}

LONG CTabCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam) {
    TCITEMA item = {};
    item.mask = nMask;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(nItem, &item);
}

CString CTabCtrl::GetItemText(int nItem) const {
    return AfxReadControlText([&](LPSTR pszBuffer, int cchTextMax) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = pszBuffer;
        item.cchTextMax = cchTextMax;
        return GetItem(nItem, &item);
    });
}

BOOL CTabCtrl::SetItemText(int nItem, LPCTSTR lpszItem) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPSTR>(lpszItem);
    return SetItem(nItem, &item);
}

LPARAM CTabCtrl::GetItemData(int nItem) const {
    TCITEMA item = {};
    item.mask = TCIF_PARAM;
    return GetItem(nItem, &item) ? item.lParam : 0;
}

BOOL CTabCtrl::SetItemData(int nItem, LPARAM lParam) {
    TCITEMA item = {};
    item.mask = TCIF_PARAM;
    item.lParam = lParam;
    return SetItem(nItem, &item);
}

DWORD CTabCtrl::GetItemState(int nItem, DWORD dwMask) const {
    TCITEMA item = {};
    item.mask = TCIF_STATE;
    item.dwStateMask = dwMask;
    return GetItem(nItem, &item) ? item.dwState & dwMask : 0;
}

BOOL CTabCtrl::SetItemState(int nItem, DWORD dwMask, DWORD dwState) {
    TCITEMA item = {};
    item.mask = TCIF_STATE;
    item.dwStateMask = dwMask;
    item.dwState = dwState;
    return SetItem(nItem, &item);
}

CImageList* CTabCtrl::GetImageList() const {
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TCM_GETIMAGELIST)));
}

CImageList* CTabCtrl::SetImageList(CImageList* pImageList) {
    return CImageList::FromHandle(
        reinterpret_cast<HIMAGELIST>(SendMessage(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(AfxGetSafeHandle(pImageList)))));
}

CToolTipCtrl* CTabCtrl::GetToolTips() const {
    return AfxControlFromHandle<CToolTipCtrl>(reinterpret_cast<HWND>(SendMessage(TCM_GETTOOLTIPS)));
}
