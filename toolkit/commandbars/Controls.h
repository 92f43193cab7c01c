// The controls of one command bar, in display order. For now what the paint manager and the bar
// read; adding, removing and the bar layout come with their issue.
#pragma once

#include "classlib/Array.h"
#include "classlib/CmdTarget.h"

class CKLVCommandBar;
class CKLVControl;

class CKLVControls : public CCmdTarget {
public:
    explicit CKLVControls(CKLVCommandBar* pParent = nullptr) : m_pParent(pParent) {}
    ~CKLVControls() override { RemoveAll(); }

    int GetCount() const { return static_cast<int>(m_arrControls.GetSize()); }
    // Null out of range.
    CKLVControl* GetAt(int nIndex) const;
    // Takes the control's reference; sets its parent bar, collection and index.
    CKLVControl* Add(CKLVControl* pControl);
    void RemoveAll();
    CKLVCommandBar* GetParent() const { return m_pParent; }

protected:
    CPtrArray m_arrControls;
    CKLVCommandBar* m_pParent;
};
