// Matching lex classes at text positions: starts, tokens, skips and ends.
#include "LexTestSupport.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexFileClass.h"

#include <gtest/gtest.h>

namespace {

// An iterator over a line of text at a column, the text named by its extension.
struct TextAt {
    std::unique_ptr<IKLVSyntaxEditTextIterator> iter;
    TextAt(const std::string& text, int col, const char* ext = ".c")
        : iter(CStringText(text + "\r\n", ext).CreateTextIterator()) {
        if (col > 0) iter->Advance(col, 512);
    }
};

CKLVSmartPtr<CKLVSyntaxEditLexClassTree>& CTree() {
    static CKLVSmartPtr<CKLVSyntaxEditLexClassTree> s_pTree = MakeTreeFromFile("C.lex");
    return s_pTree;
}

TEST(LexMatch, StartsTokensSkipsAndEndsOfC) {
    const struct {
        const char* cls;
        const char* text;
        int col;
        bool open;     // a block of the class is open (from 1,0)
        int flags;
        int colAfter;
        int extent;    // the start extent of a new block, the end extent of an ended one
        int endCol;    // -1: the block is open afterwards
    } cases[] = {
        {"c_block_comment", "x /* y */", 2, false, 0x11, 4, 2, -1},
        {"c_block_comment", "x /* y */", 0, false, 0, 0, 0, -1},
        {"c_block_comment", "/* a */", 5, true, 0x12, 7, 1, 6},
        {"c_block_comment", "/* a */", 3, true, 0, 3, 0, -1},
        {"c_keyword", "int x;", 0, false, 0x13, 3, 3, 2},
        {"c_keyword", "a=int;", 2, false, 0x13, 5, 3, 4},
        {"c_keyword", "integer", 0, false, 0, 0, 0, -1},
        {"c_keyword", "Int x", 0, false, 0, 0, 0, -1},      // C is case-sensitive
        {"c_keyword", "xint x", 1, false, 0, 1, 0, -1},
        {"c_number", "x = 42;", 4, false, 0x11, 5, 1, -1},
        {"c_number", "x1", 1, false, 0, 1, 0, -1},
        {"c_number", "42;", 1, true, 0, 1, 0, -1},
        {"c_number", "42;", 2, true, 0x12, 2, -1, 1},        // the separator lies beyond the end
        {"c_preprocessor", "  #define X", 2, false, 0x11, 3, 1, -1},
        {"c_preprocessor", "x #define", 2, false, 0, 2, 0, -1},
        {"c_string", "s = \"a\";", 4, false, 0x11, 5, 1, -1},
        {"c_string", "\"\\\"x\"", 1, true, 0x10, 3, 0, -1},  // an escaped quote is skipped
        {"c_string", "\"x\\\"\"", 4, true, 0x12, 5, 0, 4},
        {"c_char", "c = '\\'';", 4, false, 0x11, 5, 1, -1},
        {"c_line_comment", "a; // b", 3, false, 0x11, 5, 2, -1},
        {"c_line_comment", "// a\\\nb", 4, true, 0x10, 0, 0, -1},  // carried on to line 2
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.cls) + " in " + c.text);
        CKLVSyntaxEditLexClass* pClass = FindInstance(CTree()->GetRoots(TRUE), c.cls);
        ASSERT_NE(nullptr, pClass);
        TextAt at(c.text, c.col);
        FakeSchema schema;
        CKLVLexBlockPtr pBlock = c.open ? KLVMakeCounted<CKLVSyntaxEditLexTextBlock>() : CKLVLexBlockPtr();
        if (c.open) pBlock->m_posStart = CKLVSyntaxEditPosition(1, 0);
        EXPECT_EQ(c.flags, pClass->Match(at.iter.get(), &schema, pBlock, nullptr));
        EXPECT_EQ(c.colAfter, at.iter->GetPosition().nCol);
        ASSERT_EQ(c.open || c.flags != 0, static_cast<bool>(pBlock));
        if (!pBlock) continue;
        EXPECT_EQ(c.endCol, pBlock->IsOpen() ? -1 : pBlock->m_posEnd.nCol);
        if (c.open) {
            EXPECT_EQ(c.endCol < 0 ? 0 : c.extent, pBlock->m_nEndExtent);
            continue;
        }
        EXPECT_EQ(pClass, pBlock->m_pClass.Get());
        EXPECT_EQ(CKLVSyntaxEditPosition(1, c.col), pBlock->m_posStart);
        EXPECT_EQ(c.extent, pBlock->m_nStartExtent);
    }
}

TEST(LexMatch, ClassTestsAndTheirParent) {
    auto pTree = MakeTreeFromFile("XML.lex");
    CKLVSyntaxEditLexClass* pElement = FindInstance(pTree->GetRoots(TRUE), "xml_element");
    CKLVSyntaxEditLexClass* pEndTag = FindInstance(pElement->GetChildren(), "xml_end_tag");
    ASSERT_TRUE(pElement && pEndTag);
    TextAt at("<a></a>x", 7, ".xml");
    FakeSchema schema;
    CKLVLexBlockPtr pOpen = KLVMakeCounted<CKLVSyntaxEditLexTextBlock>();
    pOpen->m_posStart = CKLVSyntaxEditPosition(1, 0);
    CKLVLexBlockPtr pEnd = KLVMakeCounted<CKLVSyntaxEditLexTextBlock>();
    pEnd->m_pClass.AssignRaw(pEndTag);
    pEnd->m_posStart = CKLVSyntaxEditPosition(1, 3);
    pEnd->m_posEnd = CKLVSyntaxEditPosition(1, 6);
    schema.pLastLinked = pEnd;

    // The end tag of another element does not end this one.
    CKLVLexBlockPtr pOther = KLVMakeCounted<CKLVSyntaxEditLexTextBlock>();
    pEnd->m_pParent = pOther;
    EXPECT_EQ(0, pElement->Match(at.iter.get(), &schema, pOpen, nullptr));
    EXPECT_EQ(1, schema.nChildRuns);
    pEnd->m_pParent = pOpen;
    EXPECT_EQ(0x12, pElement->Match(at.iter.get(), &schema, pOpen, nullptr));
    EXPECT_EQ(CKLVSyntaxEditPosition(1, 6), pOpen->m_posEnd);
    pEnd->Close();
}

TEST(LexMatch, CaseRulePreviousLookBackAndMissingBlocks) {
    auto pAnyCase = MakeClass("any", {"start:tag = 'ab'", "previous:tag = ';'", "previous:tag:separators = ' '"});
    auto pExact = MakeClass("exact", {"CaseSensitive = 1", "start:tag = 'ab'"});
    auto pOpenEverywhere = MakeClass("plain", {});
    const struct {
        CKLVSyntaxEditLexClass* pClass;
        std::string text;
        int col;
        BOOL noBlocks;
        int flags;
    } cases[] = {
        {pAnyCase.Get(), ";   AB", 4, FALSE, 0x11},
        {pAnyCase.Get(), ";" + std::string(150, ' ') + "ab", 151, FALSE, 0},   // beyond the look-back
        {pAnyCase.Get(), "ab", 0, FALSE, 0},                                    // "\r\n" precedes the text
        {pExact.Get(), "AB", 0, FALSE, 0},
        {pExact.Get(), "ab", 0, FALSE, 0x11},
        {pExact.Get(), "ab", 0, TRUE, 0x101},
        {pOpenEverywhere.Get(), "x", 0, FALSE, 0x1},
        {pOpenEverywhere.Get(), "x", 0, TRUE, 0x111},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pClass->GetName()) + ": " + c.text);
        TextAt at(c.text, c.col);
        FakeSchema schema;
        schema.bNoBlocks = c.noBlocks;
        CKLVLexBlockPtr pBlock;
        EXPECT_EQ(c.flags, c.pClass->Match(at.iter.get(), &schema, pBlock, nullptr));
    }
    CKLVLexBlockPtr pNone;
    FakeSchema schema;
    EXPECT_EQ(0x110, pExact->Match(nullptr, &schema, pNone, nullptr));
}

TEST(LexMatch, FileClassSpansTheFile) {
    CKLVSyntaxEditLexClass* pFile = CTree()->GetRoots(TRUE).at(0).Get();
    FakeSchema schema;
    CKLVLexBlockPtr pBlock;
    TextAt other("int x;", 0, ".txt");
    EXPECT_EQ(0, pFile->Match(other.iter.get(), &schema, pBlock, nullptr));
    TextAt at("int x;", 0, ".H");
    EXPECT_EQ(0x11, pFile->Match(at.iter.get(), &schema, pBlock, nullptr));
    ASSERT_TRUE(pBlock);
    schema.nChildFlags = 0x13;   // a child's opening and ending stay the child's
    EXPECT_EQ(0x10, pFile->Match(at.iter.get(), &schema, pBlock, nullptr));
    EXPECT_EQ(1, schema.nChildRuns);
    at.iter->Advance(100, 512);
    EXPECT_EQ(0x12, pFile->Match(at.iter.get(), &schema, pBlock, nullptr));
    EXPECT_FALSE(pBlock->IsOpen());
}

// The first-byte filter of a tag list never turns away a text the list matches, in either
// letter-case rule, and it follows changes of the list.
TEST(LexMatch, FirstByteFilterAdmitsEveryMatch) {
    const char* lists[] = {"start:tag = '/*', '//', 'Ab', '#'",
                           "start:tag = @digit, '<!--', 'x'",
                           "start:tag = @alpha:not",
                           "start:tag = @specs, @eol, '\xe9t\xe9', 'END'"};
    std::vector<std::string> texts;
    for (int b = 1; b < 256; ++b) texts.push_back(std::string(1, static_cast<char>(b)) + "bc");
    for (const char* t : {"/*", "//", "ab", "AB", "aB", "#", "<!--", "x", "X", "\xe9t\xe9", "\xc9T\xc9", "end", "End"})
        texts.push_back(t);
    int nRejected = 0;
    for (const char* line : lists) {
        for (const char* caseRule : {"CaseSensitive = 1", "CaseSensitive = 0"}) {
            auto pClass = MakeClass("c", {caseRule, line});
            const CKLVSyntaxEditLexAttrArray& tags = pClass->GetTagList(klvLexStartTag);
            for (const std::string& text : texts) {
                SCOPED_TRACE(std::string(line) + " / " + caseRule + " / " + text);
                TextAt at(text, 0);
                CString strMatch;
                const bool bMatches = pClass->MatchTagList(tags, at.iter.get(), 0, FALSE, strMatch) > 0;
                const bool bAdmitted = tags.MayStartWith(text[0], pClass->IsCaseSensitive());
                if (bMatches) {
                    EXPECT_TRUE(bAdmitted);
                }
                nRejected += !bAdmitted;
            }
        }
    }
    EXPECT_GT(nRejected, 1000) << "the filter turns most bytes away";
    auto pClass = MakeClass("c", {"CaseSensitive = 1", "start:tag = 'a'"});
    CKLVSyntaxEditLexAttrArray& tags = pClass->GetTagList(klvLexStartTag);
    EXPECT_FALSE(tags.MayStartWith('q', TRUE));
    tags.Add(KLVMakeCounted<CKLVSyntaxEditLexValueObj>("q", klvLexValueStrings));
    EXPECT_TRUE(tags.MayStartWith('q', TRUE)) << "a change of the list is seen";
}

}  // namespace
