// The object model of the class library: CObject, its run-time class records, the
// DECLARE_/IMPLEMENT_ macros that create them, and the debug aids (ASSERT, VERIFY, TRACE).
#pragma once

// std::min/std::max stay usable in every file that includes the library.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>

class CArchive;
class CObject;

// ---------------------------------------------------------------------------------------------
// Debug aids. Checks are compiled in unless NDEBUG is defined; VERIFY always evaluates.

void AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);
void AfxTrace(LPCSTR lpszFormat, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));

#ifndef NDEBUG
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailedLine(__FILE__, __LINE__))
#define VERIFY(f) ASSERT(f)
#define TRACE(...) AfxTrace(__VA_ARGS__)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)
#endif
#define TRACE0(sz) TRACE("%s", sz)
#define TRACE1(sz, p1) TRACE(sz, p1)
#define TRACE2(sz, p1, p2) TRACE(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) TRACE(sz, p1, p2, p3)
#define ASSERT_VALID(pOb) ASSERT((pOb) != NULL)
#define ASSERT_KINDOF(class_name, pOb) ASSERT((pOb)->IsKindOf(RUNTIME_CLASS(class_name)))

// ---------------------------------------------------------------------------------------------
// Run-time class records.

// Set in a schema number when objects of older schemas may be loaded too; the object then
// asks the archive for the schema it was stored with (CArchive::GetObjectSchema).
#define VERSIONABLE_SCHEMA (0x80000000)

// A record per class: name, size, schema, creation function and base class. Records are plain
// aggregates so that they are ready before any constructor runs; each one is entered in the
// module's class list while static objects are built (see CRuntimeClassRegistration).
struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                       // 0xFFFF: not serializable
    CObject* (*m_pfnCreateObject)();      // null: not creatable by name
    CRuntimeClass* m_pBaseClass;
    CRuntimeClass* m_pNextClass;          // the module's class list

    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // The module's class list, in the order the classes were entered (exact, case-sensitive
    // name match; the first record with the name wins).
    static CRuntimeClass* GetFirstClass();
    static CRuntimeClass* FromName(LPCSTR lpszClassName);
    static CObject* CreateObject(LPCSTR lpszClassName);

    // The archive form of a class reference (schema and name); see CArchive::WriteClass.
    void Store(CArchive& ar) const;
    static CRuntimeClass* Load(CArchive& ar, UINT* pwSchemaNum);
};

// Enters a record in the module's class list; the IMPLEMENT_ macros define one per class.
struct CRuntimeClassRegistration {
    explicit CRuntimeClassRegistration(CRuntimeClass* pNewClass);
};

// ---------------------------------------------------------------------------------------------
// CObject: the root of the classes that have run-time class records.

class CObject {
public:
    virtual ~CObject() = default;

    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;
    virtual void Serialize(CArchive& ar);

    static CRuntimeClass classCObject;

protected:
    CObject() = default;

public:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);
CObject* AfxStaticDownCast(CRuntimeClass* pClass, CObject* pObject);

// Reads an object of a serial class (the extraction operator that DECLARE_SERIAL declares).
CObject* AfxReadObjectOfClass(CArchive& ar, const CRuntimeClass* pClassRefRequested);

// ---------------------------------------------------------------------------------------------
// Macros.

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DYNAMIC_DOWNCAST(class_name, object) \
    static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), object))
#define STATIC_DOWNCAST(class_name, object) \
    static_cast<class_name*>(AfxStaticDownCast(RUNTIME_CLASS(class_name), object))

#define DECLARE_DYNAMIC(class_name) \
public: \
    static CRuntimeClass class##class_name; \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) \
    DECLARE_DYNCREATE(class_name) \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew) \
    CRuntimeClass class_name::class##class_name = { \
        #class_name, static_cast<int>(sizeof(class_name)), static_cast<UINT>(wSchema), pfnNew, \
        RUNTIME_CLASS(base_class_name), nullptr}; \
    static const CRuntimeClassRegistration _classlib_init_##class_name(RUNTIME_CLASS(class_name)); \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* class_name::CreateObject() { return new class_name; } \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema) \
    CObject* class_name::CreateObject() { return new class_name; } \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject) \
    CArchive& operator>>(CArchive& ar, class_name*& pOb) { \
        pOb = static_cast<class_name*>(AfxReadObjectOfClass(ar, RUNTIME_CLASS(class_name))); \
        return ar; \
    }
