// The lex class model: relations, inherited attributes, cached flags, file classes, copies.
#include "LexTestSupport.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexFileClass.h"

#include <gtest/gtest.h>

namespace {

TEST(LexClass, RelationPropertiesSetKindsAndNames) {
    struct Case {
        const char* line;
        BOOL applied;
        int parentKind;
        int childrenKind;
        const char* names;   // parent or children names, joined with "|"
    } cases[] = {
        {"parent = c, cpp", TRUE, klvLexParentClass, klvLexChildrenAny, "c|cpp"},
        {"Parent:Dyn = block", TRUE, klvLexParentDyn, klvLexChildrenAny, "block"},
        {"parent:FILE = <*.c|*.h>", TRUE, klvLexParentFile, klvLexChildrenAny, "<*.c|*.h>"},
        {"parent:other = x", FALSE, klvLexParentNone, klvLexChildrenAny, ""},
        {"children = 0", TRUE, klvLexParentNone, klvLexChildrenNone, ""},
        {"children =", TRUE, klvLexParentNone, klvLexChildrenNone, ""},
        {"children = 0, a", TRUE, klvLexParentNone, klvLexChildrenNone, ""},
        {"children = a, b", TRUE, klvLexParentNone, klvLexChildrenNamed, "a|b"},
        {"= 5", FALSE, klvLexParentNone, klvLexChildrenAny, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        auto pClass = KLVMakeCounted<CKLVSyntaxEditLexClass>();
        EXPECT_EQ(c.applied, pClass->ApplyProperty(MakeProperty(c.line)));
        CStringArray arParents, arChildren;
        EXPECT_EQ(c.parentKind, pClass->GetParentInfo(arParents));
        EXPECT_EQ(c.childrenKind, pClass->GetChildrenInfo(arChildren));
        const CStringArray& arNames = c.parentKind != klvLexParentNone ? arParents : arChildren;
        EXPECT_STREQ(c.names, CKLVSyntaxEditLexText::JoinStrings(arNames, "|"));
    }
}

TEST(LexClass, InheritanceAndCachedFlags) {
    auto pParent = MakeClass("parent", {"CaseSensitive = 1", "Collapsable = 1", "RestartRunLoop = 0",
                                        "End:Class:Parent = this", "txt:colorFG = 0x0000FF", "txt:Italic = 1"});
    auto pChild = MakeClass("child", {"txt:Bold = 0", "txt:colorSelBK = 0x00FF00"});
    pParent->AddChild(pChild.Get(), FALSE);
    EXPECT_TRUE(pChild->IsCaseSensitive());
    EXPECT_FALSE(pChild->IsCollapsable());
    EXPECT_TRUE(pChild->IsRestartRunLoop());
    EXPECT_FALSE(pChild->IsEndClassParent());
    EXPECT_TRUE(pParent->IsCollapsable());
    EXPECT_FALSE(pParent->IsRestartRunLoop());
    EXPECT_TRUE(pParent->IsEndClassParent());

    CKLVSyntaxEditTextSegment segment;
    segment.clrColors.crBack.SetStandardValue(RGB(1, 2, 3));
    segment.clrColors.crSelText.SetCustomValue(RGB(4, 5, 6));
    segment.lf.lfWeight = 400;
    segment.lf.lfUnderline = 1;
    pChild->GetTextAttributes(segment);
    EXPECT_EQ(RGB(0, 0, 255), segment.clrColors.crText.GetCustomColor());
    EXPECT_EQ(COLORREF(-1), segment.clrColors.crText.GetStandardColor());
    EXPECT_EQ(RGB(1, 2, 3), COLORREF(segment.clrColors.crBack));      // the class sets none
    EXPECT_EQ(RGB(4, 5, 6), COLORREF(segment.clrColors.crSelText));
    EXPECT_EQ(RGB(0, 255, 0), segment.clrColors.crSelBack.GetCustomColor());
    EXPECT_EQ(255, segment.lf.lfWeight);                                // "txt:Bold = 0": not set
    EXPECT_EQ(1, segment.lf.lfItalic);
    EXPECT_EQ(255, segment.lf.lfUnderline);

    // Cached values follow later changes made through SetAttribute.
    pChild->SetAttribute("Collapsable", CKLVSyntaxEditLexValueObj(1));
    pChild->SetAttribute("txt:Bold", CKLVSyntaxEditLexValueObj(1));
    EXPECT_TRUE(pChild->IsCollapsable());
    EXPECT_EQ(700, pChild->GetCachedTextAttributes().nWeight);
    pChild->RemoveAttributes("txt:");
    EXPECT_EQ(255, pChild->GetCachedTextAttributes().nWeight);
    EXPECT_EQ(1, pChild->GetAttributeInt("collapsable", FALSE, 0));
    EXPECT_EQ(pParent.Get(), pChild->FindAncestor("PARENT"));
    pParent->Clear();
}

TEST(LexClass, EndClassParentNeedsTheWordThis) {
    const struct {
        const char* line;
        BOOL expected;
    } cases[] = {
        {"End:Class:Parent = THIS", TRUE},
        {"End:Class:Parent = a, this", TRUE},
        {"End:Class:Parent = thisclass", FALSE},
        {"End:Class:Parent = 'this'", TRUE},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, MakeClass("c", {c.line})->IsEndClassParent()) << c.line;
}

TEST(LexClass, FileClassAnswersIsExt) {
    auto pFile = MakeClass<CKLVSyntaxEditLexFileClass>("c", {"parent:file = <*.c|*.h>"});
    const struct {
        const char* key;
        int expected;   // -1: no value
    } cases[] = {{"IsExt=.c", 1}, {"IsExt=.C", 1}, {"IsExt=.h", 1}, {"IsExt=main.c", 0}, {"IsExt=", 0}, {"isext=.c", -1}};
    for (const auto& c : cases) {
        CKLVLexValuePtr pValue = pFile->GetPropertyValue(c.key);
        EXPECT_EQ(c.expected, pValue ? pValue->m_nValue : -1) << c.key;
    }
    CKLVLexClassPtr pClone = pFile->Clone();
    EXPECT_NE(nullptr, dynamic_cast<CKLVSyntaxEditLexFileClass*>(pClone.Get()));
    EXPECT_EQ(1, pClone->GetPropertyValue("IsExt=.h")->m_nValue);
}

TEST(LexClass, CopiesHaveNoChildrenAndClearEndsOnLoops) {
    auto pA = MakeClass("a", {"start:tag = 'x'", "txt:Bold = 1"});
    auto pB = MakeClass("b", {});
    pA->AddChild(pB.Get(), TRUE);
    pA->AddChild(pA.Get(), FALSE);
    pA->AddChild(pA.Get(), FALSE);
    pB->AddChild(pA.Get(), FALSE);   // a loop through both classes
    EXPECT_EQ(1u, pA->GetSelfList().size());
    CKLVLexClassPtr pCopy = pA->Clone();
    EXPECT_TRUE(pCopy->GetChildren2().empty() && pCopy->GetSelfList().empty());
    EXPECT_EQ(700, pCopy->GetCachedTextAttributes().nWeight);
    EXPECT_FALSE(pCopy->GetAttribute("missing", TRUE));   // the parent chain loops
    pCopy.Release();
    pA->Clear();
    EXPECT_TRUE(pA->GetChildren2().empty());
    EXPECT_TRUE(pA->IsTagTableEmpty());
    EXPECT_EQ(1, pA->GetRefCount());
    EXPECT_EQ(1, pB->GetRefCount());
}

}  // namespace
