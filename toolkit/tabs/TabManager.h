// The window-less logic of one row of tabs: items, selection, hot and pressed tab, scroll offset
// and navigation buttons. A host window forwards its mouse, keyboard and tooltip requests here
// and supplies the redraw and the tab paint manager that lays the row out and draws it.
#pragma once

#include "classlib/Array.h"
#include "toolkit/common/WinThemeWrapper.h"
#include "toolkit/tabs/TabManagerItem.h"
#include "toolkit/tabs/TabManagerNavigateButton.h"
#include "toolkit/tabs/TabPainterObserver.h"

#include <commctrl.h>

#include <memory>
#include <vector>

class CKLVTabPainter;

// The rows of a multi-row layout: first and last item index of each.
class CKLVTabRows {
public:
    struct ROW {
        int nFirstItem;
        int nLastItem;
    };
    explicit CKLVTabRows(CKLVTabManager* pManager) : m_pManager(pManager) {}
    // n rows (n > 0); row 0 then spans every item, the layout fills the others.
    void SetRowCount(int nRows);
    int GetRowCount() const { return static_cast<int>(m_arrRows.size()); }
    ROW& GetAt(int nRow) { return m_arrRows[nRow]; }
    void Swap(int nRow1, int nRow2) { std::swap(m_arrRows[nRow1], m_arrRows[nRow2]); }

private:
    CKLVTabManager* m_pManager;
    std::vector<ROW> m_arrRows;
};

class CKLVTabManager : public CKLVTabPainterObserver {
public:
    CKLVTabManager();
    ~CKLVTabManager() override;
    CKLVTabManager(const CKLVTabManager&) = delete;
    CKLVTabManager& operator=(const CKLVTabManager&) = delete;

    virtual CString GetItemCaption(const CKLVTabManagerItem* pItem) const { return pItem->m_strCaption; }
    virtual int GetItemImage(const CKLVTabManagerItem* pItem) const { return pItem->m_nImage; }
    virtual COLORREF GetItemColor(const CKLVTabManagerItem* pItem) const;
    virtual CString GetItemTooltip(const CKLVTabManagerItem* pItem) const { return pItem->m_strToolTip; }
    virtual void OnItemsChanged();
    virtual void SetSelectedItem(CKLVTabManagerItem* pItem);
    virtual void OnItemClick(CKLVTabManagerItem* pItem);
    virtual BOOL GetItemMetrics(CSize* pszNormal, CSize* pszMin, CSize* pszMax) const;
    virtual CKLVTabPainter* GetPaintManager() const = 0;
    virtual void RedrawControl(const RECT* lpRect, BOOL bAnimate) = 0;
    virtual BOOL IsAllowReorder() const { return m_bAllowReorder; }
    virtual void SetAllowReorder(BOOL bAllowReorder) { m_bAllowReorder = bAllowReorder; }
    virtual BOOL IsDrawStaticFrame() const;
    // FALSE when the tabs show no icons; else draws (when bDraw) and answers TRUE. Asked with a
    // null DC for the icon size only.
    virtual BOOL DrawIcon(CDC* pDC, CPoint pt, CKLVTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) = 0;
    virtual int GetPosition() const;
    virtual void OnScroll(BOOL bForward);
    virtual INT_PTR PerformToolHitTest(HWND hWnd, CPoint pt, TOOLINFO* pTI);
    virtual BOOL PerformKeyDown(HWND hWnd, UINT nChar);
    // The host may paint the row's background itself (a parent's background shining through).
    virtual BOOL DrawParentBackground(CDC* pDC, const CRect& rc);
    virtual BOOL IsNavigateButtonAllowed(CKLVTabManagerNavigateButton* pButton) const;
    virtual void SelectItem(CKLVTabManagerItem* pItem) { SetSelectedItem(pItem); }
    virtual BOOL OnBeforeItemClick(CKLVTabManagerItem* /*pItem*/) { return TRUE; }
    virtual void ReorderItem(HWND hWnd, CPoint pt, CKLVTabManagerItem* pItem);
    virtual void OnNavigateButtonClick(UINT /*nID*/) {}
    virtual void OnNavigateButtonClick(CKLVTabManagerNavigateButton* pButton) { OnNavigateButtonClick(pButton->m_nID); }
    virtual BOOL IsMouseLocked() const { return FALSE; }
    virtual BOOL IsFocused() const { return FALSE; }

    CKLVTabManagerItem* InsertItem(int nIndex, CKLVTabManagerItem* pItem = nullptr);
    BOOL DeleteItem(int nIndex);
    void DeleteAllItems();
    int GetItemCount() const { return static_cast<int>(m_arrItems.GetSize()); }
    CKLVTabManagerItem* GetItem(int nIndex) const;
    int GetCurSel() const { return m_pSelected ? m_pSelected->m_nIndex : -1; }
    void SetCurSel(int nIndex);
    CKLVTabManagerItem* GetSelectedItem() const { return m_pSelected; }
    CKLVTabManagerItem* GetHotItem() const { return m_pHighlighted; }
    CKLVTabManagerItem* GetPressedItem() const { return m_pPressed; }
    CKLVTabManagerNavigateButton* GetHotButton() const { return m_pHighlightedNavigateButton; }
    void EnsureVisible(CKLVTabManagerItem* pItem);
    BOOL IsActive() const { return m_bActive; }
    void SetActive(BOOL bActive);
    int GetScrollOffset() const { return m_nHeaderOffset; }
    void SetScrollOffset(int nOffset);
    int GetLayout() const;
    BOOL IsHorizontalPosition() const { return GetPosition() == 0 || GetPosition() == 2; }
    void SetItemMetrics(CSize szNormal, CSize szMin = CSize(0, 0), CSize szMax = CSize(0, 0));
    int GetItemsLength() const;
    int GetNavigateButtonCount() const { return static_cast<int>(m_arrNavigateButtons.size()); }
    CKLVTabManagerNavigateButton* GetNavigateButton(int nIndex) const { return m_arrNavigateButtons[nIndex]; }
    CKLVTabManagerNavigateButton* FindNavigateButton(UINT nID) const;
    CKLVTabManagerItem* HitTest(CPoint pt) const;
    CKLVTabManagerNavigateButton* HitTestNavigateButton(CPoint pt, BOOL bIgnoreItemButtons, int* pnIndex = nullptr) const;
    CKLVTabManagerItem* FindNextFocusable(int nIndex, int nDirection) const;
    BOOL PerformClick(HWND hWnd, CPoint pt, BOOL bNoItemClick = FALSE);
    void PerformMouseMove(HWND hWnd, CPoint pt);
    void TrackClick(HWND hWnd, CPoint pt, CKLVTabManagerItem* pItem);
    CKLVTabRows* GetRows() const { return m_pRowIndexer.get(); }
    CRect GetHeaderRect() const { return m_rcHeaderRect; }
    CRect GetControlRect() const { return m_rcControl; }
    CRect GetClientRect() const { return m_rcClient; }

    CKLVTabManagerItem* m_pSelected = nullptr;
    CKLVTabManagerItem* m_pHighlighted = nullptr;
    CKLVTabManagerItem* m_pPressed = nullptr;
    CKLVTabManagerNavigateButton* m_pHighlightedNavigateButton = nullptr;
    int m_nHeaderOffset = 0;
    BOOL m_bAllowReorder = TRUE;
    BOOL m_bActive = TRUE;
    int m_nItemCloseMode = 0;   // not 0: every inserted tab gets its own close button
    CRect m_rcHeaderRect;
    CRect m_rcControl;
    CRect m_rcClient;
    CArray<CKLVTabManagerItem*, CKLVTabManagerItem*> m_arrItems;
    std::vector<CKLVTabManagerNavigateButton*> m_arrNavigateButtons;   // owned
    CKLVWinThemeWrapper m_themeTab;
    std::unique_ptr<CKLVTabRows> m_pRowIndexer;
    int m_nScrollDelta = 20;

private:
    void MoveKeySelection(UINT nChar);
    void SetHotItem(HWND hWnd, CKLVTabManagerItem* pItem);
    void SetHotButton(HWND hWnd, CKLVTabManagerNavigateButton* pButton);
    static void TrackMouseLeave(HWND hWnd);
};
