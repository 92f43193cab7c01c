// A counted reference on a command target for a scope: a popup's command, its site's answer or a
// nested message loop may let the object go meanwhile. An object already on its way out (no
// reference left) is not held again.
#pragma once

#include "classlib/CmdTarget.h"

class CKLVHeldReference {
public:
    explicit CKLVHeldReference(CCmdTarget* pTarget)
        : m_pTarget(pTarget && pTarget->GetRefCount() > 0 ? pTarget : nullptr) {
        if (m_pTarget) m_pTarget->InternalAddRef();
    }
    ~CKLVHeldReference() {
        if (m_pTarget) m_pTarget->InternalRelease();
    }
    CKLVHeldReference(const CKLVHeldReference&) = delete;
    CKLVHeldReference& operator=(const CKLVHeldReference&) = delete;

private:
    CCmdTarget* m_pTarget;
};
