#include "classlib/Object.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

// The module's class list. Plain pointers are zero before any constructor runs, so
// registrations from any translation unit, in any order, find the list ready.
CRuntimeClass* g_pFirstClass = nullptr;
CRuntimeClass* g_pLastClass = nullptr;

}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF,
                                       nullptr, nullptr, nullptr};
static const CRuntimeClassRegistration _classlib_init_CObject(RUNTIME_CLASS(CObject));

CRuntimeClassRegistration::CRuntimeClassRegistration(CRuntimeClass* pNewClass) {
    // Appending keeps the list in registration order, so look-up by name is predictable.
    pNewClass->m_pNextClass = nullptr;
    if (g_pLastClass)
        g_pLastClass->m_pNextClass = pNewClass;
    else
        g_pFirstClass = pNewClass;
    g_pLastClass = pNewClass;
}

CObject* CRuntimeClass::CreateObject() {
    if (!m_pfnCreateObject) return nullptr;
    return m_pfnCreateObject();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* pClass = this; pClass; pClass = pClass->m_pBaseClass) {
        if (pClass == pBaseClass) return TRUE;
    }
    return FALSE;
}

CRuntimeClass* CRuntimeClass::GetFirstClass() { return g_pFirstClass; }

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
    if (!lpszClassName) return nullptr;
    for (CRuntimeClass* pClass = g_pFirstClass; pClass; pClass = pClass->m_pNextClass) {
        if (std::strcmp(pClass->m_lpszClassName, lpszClassName) == 0) return pClass;
    }
    return nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName) {
    CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass ? pClass->CreateObject() : nullptr;
}

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

void CObject::Serialize(CArchive&) {}

CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject) {
    return pObject && pObject->IsKindOf(pClass) ? pObject : nullptr;
}

CObject* AfxStaticDownCast(CRuntimeClass* pClass, CObject* pObject) {
    ASSERT(!pObject || pObject->IsKindOf(pClass));
    (void)pClass;
    return pObject;
}

void AfxAssertFailedLine(LPCSTR lpszFileName, int nLine) {
    char szMessage[512];
    std::snprintf(szMessage, sizeof szMessage, "Assertion failed: %s(%d)\n", lpszFileName, nLine);
    OutputDebugStringA(szMessage);
    std::fputs(szMessage, stderr);
    if (IsDebuggerPresent()) DebugBreak();
    std::abort();
}

void AfxTrace(LPCSTR lpszFormat, ...) {
    // A trace line longer than the buffer is cut, never overrun.
    char szMessage[1024];
    va_list args;
    va_start(args, lpszFormat);
    std::vsnprintf(szMessage, sizeof szMessage, lpszFormat, args);
    va_end(args);
    OutputDebugStringA(szMessage);
}
