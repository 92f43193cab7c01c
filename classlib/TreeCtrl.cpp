#include "classlib/TreeCtrl.h"

#include "classlib/ImageList.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CreateEx(0, dwStyle, rect, pParentWnd, nID);
}

BOOL CTreeCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return AfxCreateCommonControl(*this, ICC_TREEVIEW_CLASSES, WC_TREEVIEWA, dwExStyle, dwStyle, rect, pParentWnd, nID);
}

namespace {

TVITEMA MakeItem(HTREEITEM hItem, UINT nMask, LPCTSTR lpszItem = nullptr, int nImage = 0, int nSelectedImage = 0,
                 UINT nState = 0, UINT nStateMask = 0, LPARAM lParam = 0) {
    TVITEMA item = {};
    item.hItem = hItem;
    item.mask = nMask;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    item.iSelectedImage = nSelectedImage;
    item.state = nState;
    item.stateMask = nStateMask;
    item.lParam = lParam;
    return item;
}

}  // namespace

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                                UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    TVINSERTSTRUCTA tvis = {};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item = MakeItem(nullptr, nMask, lpszItem, nImage, nSelectedImage, nState, nStateMask, lParam);
    return InsertItem(&tvis);
}

BOOL CTreeCtrl::SetItem(HTREEITEM hItem, UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                        UINT nStateMask, LPARAM lParam) {
    TVITEMA item = MakeItem(hItem, nMask, lpszItem, nImage, nSelectedImage, nState, nStateMask, lParam);
    return SetItem(&item);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    return AfxReadControlText([&](LPSTR pszBuffer, int cchTextMax) {
        TVITEMA item = MakeItem(hItem, TVIF_TEXT, pszBuffer);
        item.cchTextMax = cchTextMax;
        return GetItem(&item);
    });
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
    TVITEMA item = MakeItem(hItem, TVIF_PARAM);
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const {
    TVITEMA item = MakeItem(hItem, TVIF_IMAGE | TVIF_SELECTEDIMAGE);
    if (!GetItem(&item)) return FALSE;
    nImage = item.iImage;
    nSelectedImage = item.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const {
    // The message takes the item in the rectangle it fills.
    *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
    return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, bTextOnly, reinterpret_cast<LPARAM>(lpRect)));
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const {
    TVHITTESTINFO hti = {};
    hti.pt = pt;
    HTREEITEM hItem = HitTest(&hti);
    if (pFlags) *pFlags = hti.flags;
    return hItem;
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM hItem) {
    return AfxControlFromHandle<CEdit>(reinterpret_cast<HWND>(SendMessage(TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(hItem))));
}

CEdit* CTreeCtrl::GetEditControl() const {
    return AfxControlFromHandle<CEdit>(reinterpret_cast<HWND>(SendMessage(TVM_GETEDITCONTROL)));
}

CImageList* CTreeCtrl::GetImageList(int nImageListType) const {
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, static_cast<WPARAM>(nImageListType))));
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(
        TVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType), reinterpret_cast<LPARAM>(AfxGetSafeHandle(pImageList)))));
}

CToolTipCtrl* CTreeCtrl::GetToolTips() const {
    return AfxControlFromHandle<CToolTipCtrl>(reinterpret_cast<HWND>(SendMessage(TVM_GETTOOLTIPS)));
}

CToolTipCtrl* CTreeCtrl::SetToolTips(CToolTipCtrl* pWndTip) {
    return AfxControlFromHandle<CToolTipCtrl>(
        reinterpret_cast<HWND>(SendMessage(TVM_SETTOOLTIPS, reinterpret_cast<WPARAM>(AfxGetSafeHwnd(pWndTip)))));
}
