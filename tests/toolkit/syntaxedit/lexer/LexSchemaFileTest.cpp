// The schema file format: tokens, blocks and property lines, value escapes.
#include "LexTestSupport.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditSchemaFileStore.h"

#include <gtest/gtest.h>

namespace {

// The significant tokens of a text as "kind:token" joined with " ".
std::string Tokens(const char* text) {
    CKLVSyntaxEditSchemaFileStore store;
    store.SetText(text);
    std::string out;
    while (!store.IsAtEnd()) {
        const int nKind = store.ReadSignificantToken();
        if (nKind < CKLVSyntaxEditSchemaFileStore::klvTokenWord || nKind == CKLVSyntaxEditSchemaFileStore::klvTokenComment)
            continue;
        std::string token = store.GetToken().GetString();
        for (char& ch : token) {
            if (ch == '\r') ch = 'R';
            if (ch == '\n') ch = 'N';
        }
        out += (out.empty() ? "" : " ") + std::to_string(nKind) + ":" + token;
    }
    return out;
}

TEST(LexSchemaFile, Tokens) {
    const struct {
        const char* text;
        const char* tokens;
    } cases[] = {
        {"txt:colorFG = 0xFF0000\n", "2:txt 2:colorFG 7:= 3:0xFF0000 6:N"},
        {"a = 'x, y', z // note\r\n", "2:a 7:= 4:'x, y' 2:z 6:RN"},
        {"a = 'it\\'s' b", "2:a 7:= 4:'it\\'s' 2:b"},
        {"a = 'ends\\\\' b", "2:a 7:= 4:'ends\\\\' 2:b"},                   // an escaped backslash ends the string
        {"a = ''x'\n", "2:a 7:= 4:'x' 6:N"},                               // a quote right after the opening one is dropped
        {"a = 'open\nb", "2:a 7:= 4:'open 6: 2:b"},
        {"lexClass:\nlexClass :\nLexClass:\n", "2:lexClass: 6:N 2:lexClass 6:N 2:LexClass 6:N"},
        {"@alpha:not==x", "3:@alpha:not==x"},
        {"abc", "2:abc"},                                                  // the last character is read
    };
    for (const auto& c : cases) EXPECT_EQ(c.tokens, Tokens(c.text)) << c.text;
}

TEST(LexSchemaFile, BlocksAndPropertyLines) {
    const char* text =
        "lexClass :\r\n"
        "\tname = skipped\r\n"
        "ignored = 1\r\n"
        "lexClass:\r\n"
        "\tname = c_comment\r\n"
        "\tstart:tag = '/*' // opens\r\n"
        "\ttxt:colorFG\r\n"
        "\t\t= 0x008000\r\n"
        "\tempty =\r\n"
        "\tstart:tag = '//', @eol\r\n"
        "//:lexClass\r\n"
        "lexClass:\r\n"
        "\tparent = c_comment\r\n"
        "lexClass:\r\n"
        "\tname = last\r\n"
        "\tRecurrenceDepth = 2";
    CKLVSyntaxEditSchemaFileStore& store = GetSchemaFileStore();
    store.LoadSchemaText(text);
    const CKLVSyntaxEditLexClassInfoArray& blocks = store.GetCurrentBlocks();
    ASSERT_EQ(2u, blocks.size());
    const CKLVSyntaxEditLexClassInfo& comment = blocks[0];
    EXPECT_STREQ("c_comment", comment.m_strName);
    EXPECT_EQ(4, comment.m_nFirstLine);
    ASSERT_EQ(3u, comment.m_arProperties.size());
    const struct {
        const char* key;
        const char* values;
        int line;
        int valueLength;
    } props[] = {{"start:tag", "'/*'", 6, 4}, {"txt:colorFG", "0x008000", 8, 8}, {"start:tag", "'//'|@eol", 10, 10}};
    for (size_t i = 0; i < 3; ++i) {
        const CKLVSyntaxEditLexClassProperty& prop = comment.m_arProperties[i];
        EXPECT_STREQ(props[i].key, CKLVSyntaxEditLexText::JoinStrings(prop.m_arKeyParts, ":"));
        EXPECT_STREQ(props[i].values, CKLVSyntaxEditLexText::JoinStrings(prop.m_arValues, "|"));
        EXPECT_EQ(props[i].line, prop.m_nLine);
        EXPECT_EQ(props[i].valueLength, prop.m_nValueLength);
    }
    EXPECT_EQ(10, comment.m_nLastLine);
    EXPECT_STREQ("last", blocks[1].m_strName);
    ASSERT_EQ(1u, blocks[1].m_arProperties.size());
    EXPECT_STREQ("2", blocks[1].m_arProperties[0].m_arValues[0]);   // the file's last character

    // The repeated tag key adds to the class's list.
    auto pClass = KLVMakeCounted<CKLVSyntaxEditLexClass>();
    for (const CKLVSyntaxEditLexClassProperty& prop : comment.m_arProperties) EXPECT_TRUE(pClass->ApplyProperty(prop));
    EXPECT_EQ("/* / // / @eol", ListText(pClass->GetTagList(klvLexStartTag)));
}

TEST(LexSchemaFile, EscapesRoundTrip) {
    const struct {
        const char* file;     // as written in a file
        const char* stored;   // as held in memory
    } cases[] = {
        {"'it\\'s'", "'it's'"},
        {"'\\\\r'", "'\\r'"},
        {"'a\\tb\\r\\n'", "'a\tb\r\n'"},
        {"'\\a\\b\\f\\v'", "'\a\b\f\v'"},
        {"'", "'"},
        {"plain", "plain"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.stored, CKLVSyntaxEditSchemaFileStore::UnescapeValue(c.file, TRUE)) << c.file;
        EXPECT_STREQ(c.file, CKLVSyntaxEditSchemaFileStore::EscapeValue(c.stored, TRUE)) << c.file;
    }
    EXPECT_STREQ("\\\\q", CKLVSyntaxEditSchemaFileStore::EscapeValue("\\q", TRUE));
    EXPECT_STREQ("\\'x\\'", CKLVSyntaxEditSchemaFileStore::EscapeValue("'x'", FALSE));
    CStringArray values;
    values.Add("'a, b'"), values.Add("c'd");
    EXPECT_STREQ("'a, b', c\\'d", CKLVSyntaxEditSchemaFileStore::JoinValues(values, ", "));
}

}  // namespace
