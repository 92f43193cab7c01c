// The verb links of a property grid: captions laid out in the verb pane, each remembering the
// rectangle it was last laid out in for the grid's hit test.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/String.h"

#include <vector>

class CKLVPropertyGridVerb : public CCmdTarget {
public:
    CString m_strCaption;
    UINT m_nID = 0;
    int m_nIndex = -1;
    CRect m_rcPart;   // the last line part of the caption
};

class CKLVPropertyGridVerbs : public CCmdTarget {
public:
    ~CKLVPropertyGridVerbs() override { RemoveAll(); }

    CKLVPropertyGridVerb* Add(LPCTSTR lpszCaption, UINT nID);
    int GetCount() const { return static_cast<int>(m_arrVerbs.size()); }
    CKLVPropertyGridVerb* GetAt(int nIndex) const { return m_arrVerbs[static_cast<size_t>(nIndex)]; }
    void RemoveAll();

private:
    std::vector<CKLVPropertyGridVerb*> m_arrVerbs;
};
