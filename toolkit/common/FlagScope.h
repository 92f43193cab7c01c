// Sets a flag for the lifetime of a scope, so that a window's own layout or resize does not
// start again from the messages it causes.
#pragma once

#include "classlib/Object.h"

class CKLVFlagScope {
public:
    explicit CKLVFlagScope(BOOL& bFlag) : m_bFlag(bFlag) { m_bFlag = TRUE; }
    ~CKLVFlagScope() { m_bFlag = FALSE; }
    CKLVFlagScope(const CKLVFlagScope&) = delete;
    CKLVFlagScope& operator=(const CKLVFlagScope&) = delete;

private:
    BOOL& m_bFlag;
};
