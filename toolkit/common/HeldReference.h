// A counted reference on a command target for a scope: whoever is told about the object, a
// command it runs or a nested message loop may let it go meanwhile, and it must stay a valid
// object until the scope is done with it. An object already on its way out (no reference left)
// is not held again, so that leaving the scope cannot delete it a second time.
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
