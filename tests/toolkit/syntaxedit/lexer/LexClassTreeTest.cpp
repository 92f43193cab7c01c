// Class trees: which classes lie in which, dyn classes, nesting limits, copies.
#include "LexTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const char kSchema[] =
    "lexClass:\n name = file\n parent:file = <*.t>\n"
    "lexClass:\n name = a\n parent = file, a\n"
    "lexClass:\n name = b\n parent = a, c, only\n RecurrenceDepth = 2\n"
    "lexClass:\n name = c\n parent = b\n"
    "lexClass:\n name = d\n parent:dyn = a\n"
    "lexClass:\n name = d2\n parent:dyn = d3\n"
    "lexClass:\n name = d3\n parent:dyn = d2\n"
    "lexClass:\n name = nokids\n parent = file\n children = 0\n"
    "lexClass:\n name = e\n parent = nokids\n"
    "lexClass:\n name = only\n parent = file\n children = b\n"
    "lexClass:\n name = x\n parent = only\n"
    "lexClass:\n name = screen\n parent = file\n ParseOnScreen = 1\n"
    "lexClass:\n name = p\n parent = file, q\n RecurrenceDepth = 1000000\n"
    "lexClass:\n name = q\n parent = p\n RecurrenceDepth = 1000000\n";

std::string Names(const CKLVLexClassList& list) {
    std::string names;
    for (const CKLVLexClassPtr& p : list) names += (names.empty() ? "" : " ") + std::string(p->GetName());
    return names;
}

// The most times a class name stands on one path below the class; every ClassID seen.
int MostOnPath(CKLVSyntaxEditLexClass* pClass, const char* name, std::set<int>& ids, int& nInstances) {
    ++nInstances;
    ids.insert(pClass->GetAttributeInt("ClassID", FALSE, 0));
    int nMost = 0;
    for (CKLVLexClassList* pList : {&pClass->GetChildren(), &pClass->GetChildren2()})
        for (const CKLVLexClassPtr& pChild : *pList) nMost = std::max(nMost, MostOnPath(pChild.Get(), name, ids, nInstances));
    return nMost + (pClass->GetName() == name ? 1 : 0);
}

TEST(LexClassTree, RelationsBuildTheTree) {
    auto pTree = MakeTreeFromText(kSchema);
    CKLVLexClassList& roots = pTree->GetRoots(FALSE);
    ASSERT_EQ("file", Names(roots));
    CKLVSyntaxEditLexClass* pFile = roots[0].Get();
    EXPECT_EQ("a nokids only screen p", Names(pFile->GetChildren()));
    CKLVSyntaxEditLexClass* pA = FindInstance(roots, "a");
    EXPECT_EQ("b", Names(pA->GetChildren()));
    EXPECT_EQ("d", Names(pA->GetChildren2()));
    EXPECT_EQ("a", Names(pA->GetSelfList()));
    EXPECT_EQ("c", Names(FindInstance(pA->GetChildren(), "b")->GetChildren()));
    EXPECT_EQ("d", Names(FindInstance(pA->GetChildren(), "c")->GetChildren2()));   // below a, through b
    EXPECT_EQ("b", Names(FindInstance(roots, "only")->GetChildren()));
    for (const char* absent : {"d2", "d3", "e", "x"}) EXPECT_EQ(nullptr, FindInstance(roots, absent)) << absent;

    std::set<int> ids;
    int nInstances = 0;
    EXPECT_EQ(2, MostOnPath(pFile, "b", ids, nInstances));
    EXPECT_EQ(CKLVSyntaxEditLexClassTree::kMaxRecurrenceDepth, MostOnPath(pFile, "p", ids, nInstances));
    EXPECT_EQ(1, MostOnPath(pFile, "d", ids, nInstances));
    EXPECT_EQ(static_cast<size_t>(nInstances / 3), ids.size());   // each instance its own id

    EXPECT_EQ(nullptr, FindInstance(pTree->GetRoots(TRUE), "screen"));
    EXPECT_NE(nullptr, FindInstance(pTree->GetRoots(TRUE), "only"));
}

TEST(LexClassTree, DynTestsAndAncestors) {
    auto pTree = MakeTreeFromText(kSchema);
    const struct {
        const char* name;
        const char* dyn;
        int expected;
    } cases[] = {{"a", "d", 1}, {"b", "d", 0}, {"a", "b", -1}, {"x", "d2", 0}, {"d3", "d2", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, pTree->IsDynChildOf(c.name, pTree->FindClass(c.dyn).Get())) << c.name << " " << c.dyn;
    CStringArray names, visited;
    pTree->CollectAncestorNames(pTree->FindClass("c").Get(), names, visited);
    EXPECT_STREQ("b a c only file", CKLVSyntaxEditLexText::JoinStrings(names, " "));
}

TEST(LexClassTree, CopiesAreWholeAndRemovalUnlinks) {
    auto pTree = MakeTreeFromText(kSchema);
    auto pCopy = KLVMakeCounted<CKLVSyntaxEditLexClassTree>();
    ASSERT_TRUE(pTree->CopyTo(*pCopy));
    for (BOOL bBackground : {FALSE, TRUE}) {
        std::set<int> ids, copyIds;
        int n = 0, nCopy = 0;
        MostOnPath(pTree->GetRoots(bBackground)[0].Get(), "", ids, n);
        MostOnPath(pCopy->GetRoots(bBackground)[0].Get(), "", copyIds, nCopy);
        EXPECT_EQ(n, nCopy);
        EXPECT_EQ(ids, copyIds);
        EXPECT_NE(pTree->GetRoots(bBackground)[0].Get(), pCopy->GetRoots(bBackground)[0].Get());
    }
    EXPECT_EQ(pTree->GetAllClasses().size(), pCopy->GetAllClasses().size());

    CKLVLexClassPtr pA;
    pA.AssignRaw(FindInstance(pTree->GetRoots(FALSE), "a"));
    pTree->RemoveAll();
    EXPECT_TRUE(pA->GetChildren().empty() && pA->GetSelfList().empty() && !pA->GetParent());
    EXPECT_EQ(1, pA->GetRefCount());
}

}  // namespace
