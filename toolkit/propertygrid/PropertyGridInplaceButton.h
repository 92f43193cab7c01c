// The small buttons at the right end of a selected row: 100 the ellipsis button, 101 the
// drop-down button, and an item's collection of them. Hot and focused belong to the view.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Dc.h"
#include "classlib/String.h"

#include <vector>

class CKLVPropertyGridItem;
class CKLVPropertyGridView;
class CKLVImageManagerIcon;

class CKLVPropertyGridInplaceButton : public CCmdTarget {
public:
    explicit CKLVPropertyGridInplaceButton(UINT nID);

    virtual CKLVImageManagerIcon* GetImage() const;
    // Remembers where it is drawn and has the paint manager draw its face.
    virtual void Draw(CDC* pDC, CRect rc);
    // Tracks the mouse until the button is released or the capture is lost; a release over the
    // button runs the item's button action.
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnKeyDown(UINT nChar);

    UINT GetID() const { return m_nID; }
    CKLVPropertyGridItem* GetItem() const { return m_pItem; }
    int GetIndex() const { return m_nIndex; }
    int GetWidth() const { return m_nWidth; }
    CRect GetRect() const { return m_rcButton; }
    BOOL IsPressed() const { return m_bPressed; }
    BOOL IsHot() const;
    BOOL IsFocused() const;

    BOOL m_bPressed = FALSE;
    int m_nIndex = -1;
    CKLVPropertyGridView* m_pView = nullptr;
    CKLVPropertyGridItem* m_pItem = nullptr;
    UINT m_nID;
    CRect m_rcButton;
    int m_nWidth;
    CString m_strCaption;
    int m_nImage = -1;
};

class CKLVPropertyGridInplaceButtons : public CCmdTarget {
public:
    explicit CKLVPropertyGridInplaceButtons(CKLVPropertyGridItem* pItem) : m_pItem(pItem) {}
    ~CKLVPropertyGridInplaceButtons() override { RemoveAll(); }

    CKLVPropertyGridInplaceButton* Find(UINT nID) const;
    // The button under a point of a row that shows its buttons.
    CKLVPropertyGridInplaceButton* HitTest(CPoint point) const;
    void Add(CKLVPropertyGridInplaceButton* pButton);
    // A button not in the collection, or null, is ignored.
    void Remove(CKLVPropertyGridInplaceButton* pButton);
    void RemoveById(UINT nID) { Remove(Find(nID)); }
    CKLVPropertyGridInplaceButton* AddDropDownButton();
    CKLVPropertyGridInplaceButton* AddEllipsisButton();
    void RemoveAll();
    int GetCount() const { return static_cast<int>(m_arrButtons.size()); }
    CKLVPropertyGridInplaceButton* GetAt(int nIndex) const { return m_arrButtons[static_cast<size_t>(nIndex)]; }

private:
    CKLVPropertyGridInplaceButton* FindOrAdd(UINT nID);
    static void Release(CKLVPropertyGridInplaceButton* pButton);
    void Renumber();

    std::vector<CKLVPropertyGridInplaceButton*> m_arrButtons;
    CKLVPropertyGridItem* m_pItem;
};
