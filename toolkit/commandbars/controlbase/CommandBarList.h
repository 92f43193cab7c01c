// An ordered list of command bars holding a counted reference on each: the bars collected for
// one state exchange, and (as the context menus) the popup bars the command bars keep.
#pragma once

#include "classlib/Array.h"
#include "classlib/CmdTarget.h"

class CKLVCommandBar;
class CKLVCommandBars;

class CKLVCommandBarList : public CCmdTarget {
public:
    explicit CKLVCommandBarList(CKLVCommandBars* pCommandBars = nullptr) : m_pCommandBars(pCommandBars) {}
    ~CKLVCommandBarList() override { RemoveAll(); }
    CKLVCommandBarList(const CKLVCommandBarList&) = delete;
    CKLVCommandBarList& operator=(const CKLVCommandBarList&) = delete;

    // Appends the bar once, with a reference of the list's own.
    virtual void Add(CKLVCommandBar* pBar);
    int GetCount() const { return static_cast<int>(m_arrBars.GetSize()); }
    // Null outside 0..count-1.
    CKLVCommandBar* GetAt(int nIndex) const;
    BOOL Contains(const CKLVCommandBar* pBar) const;
    // The first bar with the id; null for id 0.
    CKLVCommandBar* FindCommandBar(UINT nBarID) const;
    // Releases every bar.
    void RemoveAll();

protected:
    CPtrArray m_arrBars;
    CKLVCommandBars* m_pCommandBars;
};
