// Run-time class records: creation by name, the module's class list, kinds and downcasts.
#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

// Test classes live at namespace scope, as serial classes do in the program.
class CTestObjAnimal : public CObject {
    DECLARE_DYNAMIC(CTestObjAnimal)
};
IMPLEMENT_DYNAMIC(CTestObjAnimal, CObject)

class CTestObjDog : public CTestObjAnimal {
    DECLARE_DYNCREATE(CTestObjDog)
public:
    int m_nLegs = 4;
};
IMPLEMENT_DYNCREATE(CTestObjDog, CTestObjAnimal)

class CTestObjPuppy : public CTestObjDog {
    DECLARE_SERIAL(CTestObjPuppy)
};
IMPLEMENT_SERIAL(CTestObjPuppy, CTestObjDog, VERSIONABLE_SCHEMA | 23)

class CTestObjCat : public CTestObjAnimal {
    DECLARE_SERIAL(CTestObjCat)
};
IMPLEMENT_SERIAL(CTestObjCat, CTestObjAnimal, 2)

namespace {

std::vector<std::string> RegisteredNames() {
    std::vector<std::string> names;
    for (CRuntimeClass* pClass = CRuntimeClass::GetFirstClass(); pClass; pClass = pClass->m_pNextClass)
        names.push_back(pClass->m_lpszClassName);
    return names;
}

TEST(ObjectModel, RecordsCarryNameSizeSchemaAndBase) {
    struct Row {
        CRuntimeClass* pClass;
        const char* name;
        int size;
        UINT schema;
        CRuntimeClass* pBase;
        bool creatable;
        bool serializable;
    };
    const Row rows[] = {
        {RUNTIME_CLASS(CObject), "CObject", sizeof(CObject), 0xFFFF, nullptr, false, false},
        {RUNTIME_CLASS(CTestObjAnimal), "CTestObjAnimal", sizeof(CTestObjAnimal), 0xFFFF, RUNTIME_CLASS(CObject), false, false},
        {RUNTIME_CLASS(CTestObjDog), "CTestObjDog", sizeof(CTestObjDog), 0xFFFF, RUNTIME_CLASS(CTestObjAnimal), true, false},
        {RUNTIME_CLASS(CTestObjPuppy), "CTestObjPuppy", sizeof(CTestObjPuppy), VERSIONABLE_SCHEMA | 23, RUNTIME_CLASS(CTestObjDog), true, true},
        {RUNTIME_CLASS(CTestObjCat), "CTestObjCat", sizeof(CTestObjCat), 2, RUNTIME_CLASS(CTestObjAnimal), true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(row.pClass->m_lpszClassName, row.name);
        EXPECT_EQ(row.pClass->m_nObjectSize, row.size);
        EXPECT_EQ(row.pClass->m_wSchema, row.schema);
        EXPECT_EQ(row.pClass->m_pBaseClass, row.pBase);
        EXPECT_EQ(row.pClass->m_pfnCreateObject != nullptr, row.creatable);
        EXPECT_EQ(CRuntimeClass::FromName(row.name), row.pClass);
        CObject* pObject = row.pClass->CreateObject();
        EXPECT_EQ(pObject != nullptr, row.creatable);
        if (pObject) {
            EXPECT_EQ(pObject->GetRuntimeClass(), row.pClass);
            EXPECT_EQ(pObject->IsSerializable() != FALSE, row.serializable);
        }
        delete pObject;
    }
}

TEST(ObjectModel, CreatesObjectsByName) {
    CObject* pObject = CRuntimeClass::CreateObject("CTestObjDog");
    ASSERT_NE(pObject, nullptr);
    EXPECT_EQ(pObject->GetRuntimeClass(), RUNTIME_CLASS(CTestObjDog));
    EXPECT_EQ(static_cast<CTestObjDog*>(pObject)->m_nLegs, 4);  // constructed, not just allocated
    delete pObject;

    EXPECT_EQ(CRuntimeClass::CreateObject("CTestObjAnimal"), nullptr);  // no creation function
    EXPECT_EQ(CRuntimeClass::CreateObject("CTestObjUnknown"), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject(nullptr), nullptr);
}

TEST(ObjectModel, LookUpByNameIsExactAndCaseSensitive) {
    EXPECT_EQ(CRuntimeClass::FromName("CTestObjCat"), RUNTIME_CLASS(CTestObjCat));
    EXPECT_EQ(CRuntimeClass::FromName("ctestobjcat"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CTestObjCa"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CTestObjCat "), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(""), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
}

TEST(ObjectModel, ModuleListHoldsEveryClassOnce) {
    const std::vector<std::string> names = RegisteredNames();
    for (const char* name : {"CObject", "CTestObjAnimal", "CTestObjDog", "CTestObjPuppy", "CTestObjCat",
                             "CMemFile", "CArchiveException", "CMapStringToPtr"}) {
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
    }
}

TEST(ObjectModel, KindsFollowTheBaseChain) {
    CTestObjPuppy puppy;
    CTestObjCat cat;
    struct Row {
        const CObject* pObject;
        CRuntimeClass* pClass;
        bool kind;
    };
    const Row rows[] = {
        {&puppy, RUNTIME_CLASS(CTestObjPuppy), true}, {&puppy, RUNTIME_CLASS(CTestObjDog), true},
        {&puppy, RUNTIME_CLASS(CTestObjAnimal), true}, {&puppy, RUNTIME_CLASS(CObject), true},
        {&puppy, RUNTIME_CLASS(CTestObjCat), false},   {&cat, RUNTIME_CLASS(CTestObjDog), false},
        {&cat, RUNTIME_CLASS(CTestObjAnimal), true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.pObject->IsKindOf(row.pClass) != FALSE, row.kind)
            << row.pObject->GetRuntimeClass()->m_lpszClassName << " of " << row.pClass->m_lpszClassName;
    }
    EXPECT_FALSE(RUNTIME_CLASS(CTestObjAnimal)->IsDerivedFrom(RUNTIME_CLASS(CTestObjDog)));
    EXPECT_FALSE(RUNTIME_CLASS(CObject)->IsDerivedFrom(nullptr));
}

TEST(ObjectModel, DowncastsCheckTheKind) {
    CTestObjPuppy puppy;
    CTestObjCat cat;
    CObject* pPuppy = &puppy;
    CObject* pCat = &cat;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CTestObjDog, pPuppy), &puppy);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CTestObjDog, pCat), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CTestObjDog, static_cast<CObject*>(nullptr)), nullptr);
    EXPECT_EQ(STATIC_DOWNCAST(CTestObjDog, pPuppy), &puppy);
}

TEST(ObjectModel, VerifyEvaluatesItsArgumentInEveryBuild) {
    int nCalls = 0;
    VERIFY(++nCalls == 1);
    EXPECT_EQ(nCalls, 1);
}

}  // namespace
