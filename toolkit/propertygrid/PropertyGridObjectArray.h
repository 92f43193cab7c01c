// An item's own in-place child controls (the application's windows, reference counted), which
// the item tells about selection, its value rectangle and value changes, last to first.
#pragma once

#include "classlib/Wnd.h"

#include <vector>

class CKLVPropertyGridItem;

class CKLVPropertyGridInplaceControl : public CWnd {
public:
    virtual void OnShow(CKLVPropertyGridItem* pItem, CRect rcValue);
    virtual void OnHide() { ShowWindow(SW_HIDE); }
    virtual void OnAdjustValueRect(CKLVPropertyGridItem* /*pItem*/, CRect& /*rcValue*/) {}
    virtual void OnValueChanged(const CString& /*strValue*/) {}
};

class CKLVPropertyGridObjectArray : public CObject {
public:
    ~CKLVPropertyGridObjectArray() override { RemoveAll(); }

    int GetCount() const { return static_cast<int>(m_arrControls.size()); }
    CKLVPropertyGridInplaceControl* GetAt(int nIndex) const { return m_arrControls[static_cast<size_t>(nIndex)]; }
    // The array takes over the caller's reference.
    void Add(CKLVPropertyGridInplaceControl* pControl) { m_arrControls.push_back(pControl); }
    // Releases every control; the last release destroys it.
    void RemoveAll();

private:
    std::vector<CKLVPropertyGridInplaceControl*> m_arrControls;
};
