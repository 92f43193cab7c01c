// The interface every user of a tab paint manager implements, and the list the paint manager
// keeps of them (it never owns them).
#pragma once

#include "classlib/Object.h"

#include <vector>

class CKLVTabPainterObserver {
public:
    // A setting of the paint manager changed: lay the row out again.
    virtual void OnPaintManagerChanged() { Reposition(); }
    virtual ~CKLVTabPainterObserver() = default;
    virtual void Reposition() = 0;
};

class CKLVTabPainterObserverArray : public CObject {
public:
    CKLVTabPainterObserverArray() = default;
    ~CKLVTabPainterObserverArray() override = default;

    void Add(CKLVTabPainterObserver* pObserver) { m_arrObservers.push_back(pObserver); }
    void Remove(CKLVTabPainterObserver* pObserver);
    int GetCount() const { return static_cast<int>(m_arrObservers.size()); }
    CKLVTabPainterObserver* GetAt(int nIndex) const { return m_arrObservers[nIndex]; }

private:
    std::vector<CKLVTabPainterObserver*> m_arrObservers;
};
