// The items a gallery shows. They belong to the command's action, so that every gallery of one
// command shows the same items: an item is a caption, a size and its own drawing; a label heads a
// group of items and is never selected.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/String.h"

#include <vector>

class CDC;
class CKLVControlGallery;
class CKLVControlGalleryItems;

class CKLVControlGalleryItem : public CCmdTarget {
public:
    // The item's size; a width of 0 takes the whole width of the items area.
    virtual CSize GetSize() const { return m_szItem; }
    // Draws the item at its place: a frame when selected (sunken when pressed), the caption in it.
    virtual void Draw(CDC* pDC, CKLVControlGallery* pGallery, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bPressed);

    const CString& GetCaption() const { return m_strCaption; }
    BOOL IsLabel() const { return m_bLabel; }
    int GetIndex() const { return m_nIndex; }

    int m_nId = 0;
    int m_nIndex = -1;
    CString m_strCaption;
    BOOL m_bLabel = FALSE;
    CSize m_szItem;
    CKLVControlGalleryItems* m_pItems = nullptr;
};

class CKLVControlGalleryItems : public CCmdTarget {
public:
    ~CKLVControlGalleryItems() override { RemoveAll(); }

    int GetItemCount() const { return static_cast<int>(m_arrItems.size()); }
    // Null outside the range.
    CKLVControlGalleryItem* GetItem(int nIndex) const;
    CSize GetItemSize() const { return m_szItem; }
    // Items added later take it; 0 for no width makes them fill the area's width.
    void SetItemSize(CSize szItem) { m_szItem = szItem; }
    // A new item of the default size, the collection holding it.
    CKLVControlGalleryItem* AddItem(const CString& strCaption, int nId = 0);
    CKLVControlGalleryItem* AddItem(CKLVControlGalleryItem* pItem);
    CKLVControlGalleryItem* AddLabel(const CString& strCaption);
    void Remove(int nIndex);
    void RemoveAll();
    // Moves on with every item added or removed: a gallery's layout of older items is stale.
    UINT GetRevision() const { return m_nRevision; }
    // The list's own number, never given to another list of the process: a list made where a freed
    // one lay is told apart from it even when both have the same revision. Never 0.
    UINT64 GetSerial() const { return m_nSerial; }

    // Set: a moving selection redraws only the two items, not the whole control.
    BOOL m_bRedrawItemsOnSelect = FALSE;

private:
    void Renumber();

    std::vector<CKLVControlGalleryItem*> m_arrItems;
    CSize m_szItem = CSize(20, 20);
    UINT m_nRevision = 0;
    UINT64 m_nSerial = NextSerial();

    static UINT64 NextSerial();
};
