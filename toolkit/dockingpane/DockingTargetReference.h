// Holds a reference on a pane or node while it is being reported about: whoever is told may
// close or release it meanwhile.
#pragma once

#include "classlib/CmdTarget.h"

class CKLVDockingTargetReference {
public:
    explicit CKLVDockingTargetReference(CCmdTarget* pTarget) : m_pTarget(pTarget) {
        if (m_pTarget) m_pTarget->InternalAddRef();
    }
    ~CKLVDockingTargetReference() {
        if (m_pTarget) m_pTarget->InternalRelease();
    }
    CKLVDockingTargetReference(const CKLVDockingTargetReference&) = delete;
    CKLVDockingTargetReference& operator=(const CKLVDockingTargetReference&) = delete;

private:
    CCmdTarget* m_pTarget;
};
