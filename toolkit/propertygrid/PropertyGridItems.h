// The collections of the property grid: child items of an item (or the view's categories), and
// an item's list of allowed values.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/String.h"

#include <vector>

class CKLVPropertyGridItem;
class CKLVImageManagerIcon;

class CKLVPropertyGridItems : public CCmdTarget {
public:
    int GetCount() const { return static_cast<int>(m_arrItems.size()); }
    CKLVPropertyGridItem* GetAt(int nIndex) const;
    // Depth first: each item, then its children.
    CKLVPropertyGridItem* FindItem(UINT nID) const;
    CKLVPropertyGridItem* FindItemByCaption(LPCTSTR lpszCaption) const;
    // Detaches and releases every item under one update lock of their view.
    void Clear();
    void Sort();
    void Append(const CKLVPropertyGridItems* pItems);
    void InsertAt(int nIndex, CKLVPropertyGridItem* pItem);
    void Add(CKLVPropertyGridItem* pItem) { InsertAt(GetCount(), pItem); }

    // Case-sensitive, and a double-byte character is compared whole.
    static int CompareCaptions(LPCTSTR lpszFirst, LPCTSTR lpszSecond);

private:
    std::vector<CKLVPropertyGridItem*> m_arrItems;
};

class CKLVPropertyGridItemConstraint : public CCmdTarget {
public:
    CKLVImageManagerIcon* GetImage() const;

    CString m_strConstraint;
    DWORD_PTR m_dwData = 0;
    int m_nImage = -1;
    int m_nIndex = -1;
    CKLVPropertyGridItem* m_pItem = nullptr;
};

class CKLVPropertyGridItemConstraints : public CCmdTarget {
public:
    explicit CKLVPropertyGridItemConstraints(CKLVPropertyGridItem* pItem) : m_pItem(pItem) {}
    ~CKLVPropertyGridItemConstraints() override;

    CKLVPropertyGridItemConstraint* AddConstraint(LPCTSTR lpszConstraint, DWORD_PTR dwData = 0, int nImage = -1);
    int GetCount() const { return static_cast<int>(m_arrConstraints.size()); }
    CString GetAt(int nIndex) const;
    CKLVPropertyGridItemConstraint* GetConstraintAt(int nIndex) const;
    int FindConstraint(LPCTSTR lpszConstraint) const;
    void RemoveAt(int nIndex);
    void RemoveAll();
    void Sort();
    int GetCurrent() const { return m_nCurrent; }
    void SetCurrent(int nCurrent) { m_nCurrent = nCurrent; }

    int m_nCurrent = -1;
    CKLVPropertyGridItem* m_pItem;

private:
    void Changed();

    std::vector<CKLVPropertyGridItemConstraint*> m_arrConstraints;
};
