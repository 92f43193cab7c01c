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

}  // namespace
