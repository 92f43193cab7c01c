// OLE documents as far as menus need them: a document holding embedded items, the item selected
// in a view, and the menu entry of an item's verbs.
#pragma once

#include "classlib/Document.h"

#include <ole2.h>

class CMenu;
class CView;

class COleClientItem : public CCmdTarget {
    DECLARE_DYNAMIC(COleClientItem)
public:
    enum ItemState { emptyState = 0, loadedState = 1, openState = 2, activeState = 3, activeUIState = 4 };

    COleClientItem() noexcept = default;
    ~COleClientItem() override;   // lets the object go

    ItemState GetItemState() const { return m_nItemState; }
    // Holds a reference on the embedded object; null empties the item.
    void SetObject(LPOLEOBJECT lpObject);

    LPOLEOBJECT m_lpObject = nullptr;
    ItemState m_nItemState = emptyState;
};

class COleDocument : public CDocument {
    DECLARE_DYNAMIC(COleDocument)
public:
    // The one item selected in the view; null when none is. Documents that hold items answer.
    virtual COleClientItem* GetPrimarySelectedItem(CView* /*pView*/) { return nullptr; }
};

// Turns entry iMenuItem (by position) of the menu into the item's verbs: "&Object", greyed, for no
// item or no verbs; one verb (without a convert command) as a command "<verb> <type> &Object";
// more as a submenu "<type> &Object" of commands nIDVerbMin... (at most up to nIDVerbMax), with
// "&Convert..." under a separator when nIDConvert is given.
void AfxOleSetEditMenu(COleClientItem* pItem, CMenu* pMenu, UINT iMenuItem, UINT nIDVerbMin, UINT nIDVerbMax = 0,
                       UINT nIDConvert = 0);
