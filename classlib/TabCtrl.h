// CTabCtrl: the common-controls tab control. Tabs are numbered from 0; what a tab holds goes
// through TCITEM. Notifications (TCN_*) reach the parent, which reflects them back to the
// control's message map.
#pragma once

#include "classlib/Controls.h"
#include "classlib/ToolTipCtrl.h"

#include <commctrl.h>

class CImageList;

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    // A child tab control (WS_CHILD is added).
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // ---- Tabs.
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
    // The new tab's index, -1 on failure.
    LONG InsertItem(int nItem, TCITEM* pTabCtrlItem) {
        return static_cast<LONG>(SendMessage(TCM_INSERTITEMA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
    }
    LONG InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam);
    LONG InsertItem(int nItem, LPCTSTR lpszItem) { return InsertItem(TCIF_TEXT, nItem, lpszItem, 0, 0); }
    LONG InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
        return InsertItem(TCIF_TEXT | TCIF_IMAGE, nItem, lpszItem, nImage, 0);
    }
    BOOL DeleteItem(int nItem) { return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(nItem))); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
    BOOL GetItem(int nItem, TCITEM* pTabCtrlItem) const {
        return static_cast<BOOL>(SendMessage(TCM_GETITEMA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
    }
    BOOL SetItem(int nItem, TCITEM* pTabCtrlItem) {
        return static_cast<BOOL>(SendMessage(TCM_SETITEMA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
    }
    // The whole text of a tab, however long; empty for no tab.
    CString GetItemText(int nItem) const;
    BOOL SetItemText(int nItem, LPCTSTR lpszItem);
    // The application data of a tab (TCIF_PARAM), 0 for no tab.
    LPARAM GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, LPARAM lParam);
    DWORD GetItemState(int nItem, DWORD dwMask) const;
    BOOL SetItemState(int nItem, DWORD dwMask, DWORD dwState);
    BOOL HighlightItem(int nItem, BOOL bHighlight = TRUE) {
        return static_cast<BOOL>(SendMessage(TCM_HIGHLIGHTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(bHighlight, 0)));
    }

    // ---- Selection and focus.
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
    // The tab selected before, -1 for none (no TCN_SELCHANGING or TCN_SELCHANGE is sent).
    int SetCurSel(int nItem) { return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(nItem))); }
    int GetCurFocus() const { return static_cast<int>(SendMessage(TCM_GETCURFOCUS)); }
    void SetCurFocus(int nItem) { SendMessage(TCM_SETCURFOCUS, static_cast<WPARAM>(nItem)); }
    void DeselectAll(BOOL bExcludeFocus) { SendMessage(TCM_DESELECTALL, bExcludeFocus); }

    // ---- Geometry.
    BOOL GetItemRect(int nItem, LPRECT lpRect) const {
        return static_cast<BOOL>(SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpRect)));
    }
    // bLarger: the window rectangle for a display area of lpRect; else the display area inside
    // a window rectangle of lpRect.
    void AdjustRect(BOOL bLarger, LPRECT lpRect) { SendMessage(TCM_ADJUSTRECT, bLarger, reinterpret_cast<LPARAM>(lpRect)); }
    int HitTest(TCHITTESTINFO* pHitTestInfo) const {
        return static_cast<int>(SendMessage(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
    }
    int GetRowCount() const { return static_cast<int>(SendMessage(TCM_GETROWCOUNT)); }
    CSize SetItemSize(CSize size) { return CSize(static_cast<DWORD>(SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy)))); }
    void SetPadding(CSize size) { SendMessage(TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy)); }
    int SetMinTabWidth(int cx) { return static_cast<int>(SendMessage(TCM_SETMINTABWIDTH, 0, cx)); }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(TCM_GETEXTENDEDSTYLE)); }
    DWORD SetExtendedStyle(DWORD dwNewStyle, DWORD dwExMask = 0) {
        return static_cast<DWORD>(SendMessage(TCM_SETEXTENDEDSTYLE, dwExMask, dwNewStyle));
    }

    // ---- Attached objects (the control owns neither).
    CImageList* GetImageList() const;
    CImageList* SetImageList(CImageList* pImageList);   // the list shown before
    CToolTipCtrl* GetToolTips() const;
    void SetToolTips(CToolTipCtrl* pWndTip) { SendMessage(TCM_SETTOOLTIPS, reinterpret_cast<WPARAM>(AfxGetSafeHwnd(pWndTip))); }
};
