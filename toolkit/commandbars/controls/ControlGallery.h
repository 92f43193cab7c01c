// A command-bar control showing items (pictures, colours, styles) as a grid of rows inside its
// rectangle: group labels, a windowless vertical scroll bar, selection by keys and mouse, a hover
// preview told to the site, and the items as accessible children. Shown as a button (a style of
// its own), it is a popup control opening its bar.
#pragma once

#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/controls/ScrollHelper.h"
#include "toolkit/commandbars/paint/GalleryFace.h"

#include <vector>

class CKLVControlGalleryItem;
class CKLVControlGalleryItems;

class CKLVControlGallery : public CKLVControlPopup, public CKLVScrollHelper, public CKLVGalleryFace {
    DECLARE_SERIAL(CKLVControlGallery)
public:
    enum { notifyPreviewStart = 0x1010, notifyPreviewEnd = 0x1011, notifyPreviewChange = 0x1013,
           nLabelHeight = 19, nHoverDelay = 200 };

    CKLVControlGallery();
    ~CKLVControlGallery() override;

    void SetRect(CRect rc) override;
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void DoPropExchange(CKLVPropExchange* pPX) override;
    void Copy(CKLVControl* pControl, BOOL bRecursive = FALSE) override;
    CKLVCommandBar* GetCommandBar() const override;
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    BOOL OnHookMouseWheel(short zDelta) override;
    void OnMouseMove(CPoint pt) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnMouseRelease(CPoint pt) override;
    // The bar's hover timer: a hovered item opens the preview.
    void CloseBarPopup() override;
    BOOL IsFocusable() const override { return !IsShowAsButton(); }

    // CKLVScrollHelper.
    CKLVControlGalleryPaintManager* GetScrollBarPaintManager() const override;
    CRect GetScrollBarRect() override;
    void GetScrollInfo(SCROLLINFO* pInfo) override;
    void DoScroll(int nCode, int nPos) override;
    void RedrawScrollBar() override;
    CWnd* GetParentWindow() const override;
    void CalcScrollBarInfo(CRect rcBar, KLVScrollBarGeometry* pGeometry, const SCROLLINFO& si) override;
    BOOL IsScrollBarEnabled() const override;

    // Accessibility: the items are the children, child id = index + 1.
    HRESULT GetAccessibleChildCount(LONG* pcountChildren) override;
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;
    HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT AccessibleSelect(LONG flagsSelect, VARIANT varChild) override;
    HRESULT AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight, VARIANT varChild) override;
    HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
    HRESULT AccessibleDoDefaultAction(VARIANT varChild) override;

    // The items of the command's action, else the control's own.
    CKLVControlGalleryItems* GetItems() const;
    // Held by the action when the control has one (every gallery of the command shows them).
    void SetItems(CKLVControlGalleryItems* pItems);
    int GetItemCount() const;
    CKLVControlGalleryItem* GetItem(int nIndex) const;

    void RepositionItems();
    // Lays the items out again when items came or went since the last layout (the layout holds
    // pointers to them); a selection past the items is dropped.
    void SyncLayout();
    BOOL IsLayoutCurrent() const;
    CRect GetItemsRect() const;
    CRect GetBorders() const;
    // The item under the point (its drawn rectangle to *prcItem), -1 for a label or nothing.
    int HitTestItem(CPoint pt, CRect* prcItem = nullptr) const;
    // The item's layout rectangle moved by the scroll position and clipped to the items area.
    CRect GetItemDrawRect(int nIndex) const;
    void SetScrollPos(int nScrollPos);
    int GetScrollPos() const { return m_nScrollPos; }
    void EnsureVisible(int nIndex);
    void SetSelectedItem(int nIndex);
    int GetSelectedItem() const { return m_nSelectedItem; }
    int GetNextInRow(int nIndex, int nDirection) const;
    int GetNextInColumn(int nIndex, int nDirection) const;
    int GetNextSelectable(int nIndex, int nDirection) const;
    // The next item from nStart + 1 whose caption begins with the text (any case), wrapping and
    // ending with the start itself; -1 for none.
    int FindItem(int nStart, const CString& strText) const;
    // As FindItem, the whole caption.
    int FindItemExact(int nStart, const CString& strText) const;
    CString GetItemCaption(int nIndex) const;
    BOOL IsScrollButtonEnabled(int nPart) const override;
    BOOL IsFollowedByControl() const override;
    CKLVControlFace* GetFaceControl() override { return this; }
    const CKLVScrollBarFace* GetFaceScrollBar() const override { return this; }
    BOOL IsShowingBorders() const override { return m_bShowBorders; }
    void OnMouseMoveItems(CPoint pt);
    void EndHoverPreview();
    BOOL IsShowAsButton() const { return m_nStyle != styleAutomatic; }
    BOOL HasDropDown() const { return m_pCommandBar != nullptr; }
    int GetTotalHeight() const { return m_nTotalHeight; }
    BOOL IsPreviewing() const { return m_bPreview; }

    struct ItemLayout {
        CRect rc;   // grid co-ordinates
        CKLVControlGalleryItem* pItem;
        BOOL bBeginRow;
    };

    int m_nSelectedItem = -1;
    BOOL m_bHideSelection = FALSE;   // the mouse left while a hovered item stayed selected
    BOOL m_bItemPressed = FALSE;
    int m_nScrollPos = 0;
    BOOL m_bKeyboardSelected = FALSE;
    int m_nTotalHeight = 0;
    BOOL m_bShowLabels = TRUE;
    BOOL m_bShowScrollBar = TRUE;
    BOOL m_bShowBorders = FALSE;
    CRect m_rcMargin;
    BOOL m_bPreview = FALSE;
    std::vector<ItemLayout> m_arrLayout;

private:
    void RedrawItems(int nOld, int nNew);
    // The selection moved: by the keys (or a program) or by the mouse; redraws what changed.
    void MoveSelection(int nIndex, BOOL bKeyboard);
    void RedrawControl();
    int SelectableEnd(int nDirection) const;
    int Find(int nStart, const CString& strText, BOOL bExact) const;
    // Sets the hovered item without the keyboard's mark; redraws and tells the site like a selection.
    void HoverItem(int nIndex);
    void NotifySelectionChanged();
    void ExecuteItem();
    CKLVControlGalleryItems* m_pOwnItems = nullptr;
    // The items list the layout was made of (by serial: its address may be another list's later).
    UINT64 m_nLaidOutSerial = 0;
    UINT m_nLaidOutRevision = 0;
};
