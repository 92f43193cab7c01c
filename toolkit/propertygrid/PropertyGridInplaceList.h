// The drop-down list of an item's allowed values: a list box turned into a topmost popup under
// (or above) the row, closed by a choice, Escape, the focus leaving or a click outside.
#pragma once

#include "classlib/Controls.h"

class CKLVPropertyGridItem;

class CKLVPropertyGridInplaceList : public CListBox {
public:
    ~CKLVPropertyGridInplaceList() override;

    virtual void Create(CKLVPropertyGridItem* pItem, CRect rect);
    virtual void DestroyItem();
    virtual void Cancel();
    virtual void Apply();
    // Each entry is drawn by the item (through the paint manager); heights are set by Create.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT) override {}

    CKLVPropertyGridItem* GetItem() const { return m_pItem; }

    HWND m_hWndFocus = nullptr;   // the view, which gets the focus back
    CKLVPropertyGridItem* m_pItem = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    void ReturnFocus();
};

// The list of items outside any grid view; its window is destroyed when the application exits.
CKLVPropertyGridInplaceList& KLVPropertyGridFallbackList();
