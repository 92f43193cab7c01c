// Values of lex class attributes: numbers, colours, quoted text, tag lists and their order.
#include "LexTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct AttributeCase {
    const char* line;
    const char* key;
    int kind;
    int value;            // kind 256
    const char* text;     // kinds 512: the strings joined with "|"
};

TEST(LexValues, AttributeLinesStoreTheirValues) {
    const AttributeCase cases[] = {
        {"RecurrenceDepth = 10", "recurrencedepth", klvLexValueInt, 10, nullptr},
        {"RecurrenceDepth = 010", "recurrencedepth", klvLexValueInt, 8, nullptr},
        {"RecurrenceDepth = 0x1F", "recurrencedepth", klvLexValueInt, 31, nullptr},
        {"RecurrenceDepth = 09", "recurrencedepth", klvLexValueInt, 0, nullptr},
        {"RecurrenceDepth = 12abc", "recurrencedepth", klvLexValueInt, 12, nullptr},
        {"RecurrenceDepth = -3", "recurrencedepth", klvLexValueInt, -3, nullptr},
        {"txt:colorFG = 0xFF0000", "txt:colorfg", klvLexValueInt, static_cast<int>(RGB(255, 0, 0)), nullptr},
        {"txt:colorBK = 0x123456", "txt:colorbk", klvLexValueInt, static_cast<int>(RGB(0x12, 0x34, 0x56)), nullptr},
        {"CollapsedText = ' { ... } '", "collapsedtext", klvLexValueStrings, 0, " { ... } "},
        {"CollapsedText = ''", "collapsedtext", klvLexValueStrings, 0, ""},
        {"CollapsedText = '", "collapsedtext", klvLexValueInt, 0, nullptr},
        {"DisplayName = 'a', b", "displayname", klvLexValueStrings, 0, "'a'|b"},
        {"End:Class:Parent = this", "end:class:parent", klvLexValueStrings, 0, "this"},
    };
    for (const AttributeCase& c : cases) {
        SCOPED_TRACE(c.line);
        auto pClass = MakeClass("c", {c.line});
        CKLVLexValuePtr pValue = pClass->GetAttribute(c.key, FALSE);
        ASSERT_TRUE(pValue);
        EXPECT_EQ(c.kind, pValue->m_nKind);
        if (c.kind == klvLexValueInt) {
            EXPECT_EQ(c.value, pValue->m_nValue);
        }
        if (c.text) {
            EXPECT_STREQ(c.text, CKLVSyntaxEditLexText::JoinStrings(pValue->m_arStrings, "|"));
        }
    }
}

TEST(LexValues, TagValuesAreGatheredByKind) {
    struct Case {
        const char* line;
        BOOL applied;
        const char* list;
    } cases[] = {
        {"start:tag = 'a', 'b', @digit, 'c', junk, 'd'", TRUE, "a|b / @digit / c / d"},
        {"end:separators = @alpha:NOT, ' '", TRUE, "@alpha:NOT /  "},
        {"start:tag = @letters", FALSE, ""},
        {"previous:class = one, two, 'three'", TRUE, "one|two"},
        {"skip:tag = '\\'', ''", TRUE, "\\'|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        auto pClass = KLVMakeCounted<CKLVSyntaxEditLexClass>();
        EXPECT_EQ(c.applied, pClass->ApplyProperty(MakeProperty(c.line)));
        const CKLVSyntaxEditLexClassProperty prop = MakeProperty(c.line);
        const int nKey = CKLVSyntaxEditLexAttrArray::FindKey(CKLVSyntaxEditLexText::JoinStrings(prop.m_arKeyParts, ":"));
        EXPECT_EQ(c.list, ListText(pClass->GetTagList(nKey)));
    }
}

TEST(LexValues, CompiledListsSortByCaseRule) {
    struct Case {
        const char* caseLine;
        const char* expected;
    } cases[] = {
        {"CaseSensitive = 0", "C|B|a / @digit"},
        {"CaseSensitive = 1", "a|C|B / @digit"},
    };
    for (const Case& c : cases) {
        auto pClass = MakeClass("c", {c.caseLine, "start:tag = 'B', 'a', @digit, 'C'"});
        pClass->CompileTags();
        EXPECT_EQ(c.expected, ListText(pClass->GetTagList(klvLexStartTag)));
    }
    auto pComment = MakeClass("comment", {"end:tag = '*', '*/', '/*'"});
    pComment->CompileTags();
    EXPECT_EQ("/*|*/|*", ListText(pComment->GetTagList(klvLexEndTag)));
}

TEST(LexValues, ActiveTagsHoldEachTagOnceWithChildStartsAscending) {
    auto pBlock = MakeClass("block", {"start:tag = '{'", "start:tag = '{'", "end:tag = '}'", "skip:tag = '\\}'"});
    auto pString = MakeClass("string", {"start:tag = '\"'", "end:tag = '\"'"});
    pBlock->AddChild(pString.Get(), FALSE);
    EXPECT_EQ(2, pBlock->BuildActiveTags());
    pBlock->CompileTags();
    EXPECT_EQ("\"|\\}|{|}", ListText(pBlock->GetActiveTags()));
    CString strMatch;
    EXPECT_EQ(1, pBlock->GetActiveTree().Lookup("\"x", 1024, strMatch));
    pBlock->Clear();
}

}  // namespace
