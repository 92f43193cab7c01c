// Writing schema files back, the store's cache, and our own configuration files.
#include "LexTestSupport.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexFileClass.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditSchemaFileStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string ReadText(const CString& path) {
    std::ostringstream out;
    out << std::ifstream(path.GetString(), std::ios::binary).rdbuf();
    return out.str();
}

const char kOriginal[] =
    "// C colours\n"
    "lexClass:\n"
    "\tname = comment\n"
    "\tstart:tag = '/*'   // opens\n"
    "\ttxt:colorFG = 0x008000 // green\n"
    "\ttxt:Bold = 1\n"
    "//:lexClass\n"
    "\n"
    "lexClass:\n"
    "\tname = gone\n"
    "\tstart:tag = 'x'\n"
    "//:lexClass\n";

CKLVSyntaxEditLexClassProperty Property(const char* key, const char* value) {
    CKLVSyntaxEditLexClassProperty prop = MakeProperty(std::string(key) + " = x");
    prop.m_arValues.RemoveAll();
    prop.m_arValues.Add(value);
    return prop;
}

// A schema file written from kOriginal, read through the process's store.
class LexSchemaRewrite : public ::testing::Test {
protected:
    void SetUp() override { WriteText(path, kOriginal); }
    TempFolder folder;
    const CString path = folder.Path("c.lex");
    CKLVSyntaxEditSchemaFileStore& store = GetSchemaFileStore();
};

TEST_F(LexSchemaRewrite, KeepsUntouchedLinesAndComments) {
    store.LoadSchemaFile(path, TRUE);
    CKLVSyntaxEditLexClassInfoArray edited(*store.GetCached(path));
    ASSERT_EQ(2u, edited.size());
    EXPECT_FALSE(store.WriteLexClassFile(path, edited));   // nothing modified

    edited.erase(edited.begin() + 1);   // the block "gone" leaves the file
    std::vector<CKLVSyntaxEditLexClassProperty>& props = edited[0].m_arProperties;
    props[1].m_arValues[0] = "0xFF0000";
    props.erase(props.begin() + 2);   // txt:Bold
    props.push_back(Property("txt:Italic", "1"));
    CKLVSyntaxEditLexClassInfo added;
    added.m_strName = "string";
    added.m_arProperties.push_back(Property("start:tag", "'\"'"));
    added.m_arProperties.push_back(Property("CollapsedText", "'it's'"));
    edited.push_back(added);
    edited.m_bModified = TRUE;
    ASSERT_TRUE(store.WriteLexClassFile(path, edited));

    EXPECT_EQ(
        "// C colours\r\n"
        "lexClass:\r\n"
        "\tname = comment\r\n"
        "\tstart:tag = '/*'   // opens\r\n"
        "\ttxt:colorFG = 0xFF0000 // green\r\n"
        "\ttxt:Italic = 1\r\n"
        "//:lexClass\r\n"
        "\r\n"
        "//:lexClass\r\n"
        "\r\n"
        "lexClass:\r\n"
        "\tname = string\r\n"
        "\tstart:tag = '\"'\r\n"
        "\tCollapsedText = 'it\\'s'\r\n"
        "//:lexClass\r\n",
        ReadText(path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path + ".tmp"));
    EXPECT_TRUE(store.GetCurrentBlocks().empty());
    EXPECT_EQ(2u, store.GetCached(path)->size());   // until the file is loaded again

    store.LoadSchemaFile(path, FALSE);
    ASSERT_EQ(2u, store.GetCurrentBlocks().size());
    EXPECT_STREQ("'it's'", store.GetCurrentBlocks()[1].m_arProperties[1].m_arValues[0]);
}

TEST_F(LexSchemaRewrite, FailedWriteLeavesTheFileAlone) {
    store.LoadSchemaFile(path, FALSE);
    CKLVSyntaxEditLexClassInfoArray edited(store.GetCurrentBlocks());
    edited[0].m_arProperties[1].m_arValues[0] = "0xFF0000";
    edited.m_bModified = TRUE;

    // The new file cannot be made: a folder stands where it would go.
    ASSERT_TRUE(::CreateDirectoryA(path + ".tmp", nullptr));
    EXPECT_FALSE(store.WriteLexClassFile(path, edited));
    EXPECT_EQ(kOriginal, ReadText(path));
    ::RemoveDirectoryA(path + ".tmp");

    // The new file cannot replace the old one while another program holds it.
    HANDLE hHeld = ::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    EXPECT_FALSE(store.WriteLexClassFile(path, edited));
    ::CloseHandle(hHeld);
    EXPECT_EQ(kOriginal, ReadText(path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path + ".tmp"));
}

TEST(LexSchemaStore, CacheIsKeyedByExactPath) {
    TempFolder folder;
    const CString path = folder.Path("x.lex");
    WriteText(path, "lexClass:\n\tname = a\n\tstart:tag = 'a'\n");
    CKLVSyntaxEditSchemaFileStore store;
    store.LoadSchemaFile(path, TRUE);
    CString upper = path;
    upper.MakeUpper();
    store.LoadSchemaFile(upper, TRUE);
    store.LoadSchemaFile(folder.Path("missing.lex"), TRUE);
    store.LoadSchemaFile(folder.Path(""), TRUE);   // a folder
    EXPECT_EQ(1u, store.GetCurrentBlocks().size());
    CKLVSyntaxEditLexClassInfoMap copies;
    copies["stale"] = nullptr;
    store.CopyLexClassInfosTo(copies);
    ASSERT_EQ(2u, copies.size());
    EXPECT_STREQ("a", copies[path.GetString()]->at(0).m_strName);
    EXPECT_NE(store.GetCached(path), store.GetCached(upper));
    EXPECT_EQ(nullptr, store.GetCached(folder.Path("missing.lex")));

    CStringArray lines;
    CKLVSyntaxEditSchemaFileStore::ReadLines(path, lines);
    EXPECT_STREQ("|lexClass:|\tname = a|\tstart:tag = 'a'", CKLVSyntaxEditLexText::JoinStrings(lines, "|"));
    CKLVSyntaxEditSchemaFileStore::ReadLines(folder.Path("missing.lex"), lines);
    EXPECT_EQ(0, lines.GetSize());
}

TEST(LexSchemaStore, OurConfigurationReadsWithoutErrors) {
    const CString config = KELVANE_SOURCE_DIR "/runtime/config/";
    const struct {
        const char* scheme;
        const char* classes;
        const char* extensions;
    } schemes[] = {
        {"C", "c_file c_block_comment c_line_comment c_string c_char c_number c_keyword c_preprocessor c_block",
         ".c .h"},
        {"XML", "xml_file xml_comment xml_cdata xml_pi xml_end_tag xml_empty_end xml_tag_name xml_attribute_value "
                "xml_element", ".wsdl .xsd .xml .zbq"},
    };
    for (const auto& scheme : schemes) {
        SCOPED_TRACE(scheme.scheme);
        char szFile[MAX_PATH] = "";
        ::GetPrivateProfileStringA("schemes", scheme.scheme, "", szFile, MAX_PATH, config + "SyntaxEdit.ini");
        CString file(szFile);
        file = file.Left(file.Find(';') < 0 ? file.GetLength() : file.Find(';')).Trim();
        ASSERT_FALSE(file.IsEmpty());
        CKLVSyntaxEditSchemaFileStore store;
        store.LoadSchemaFile(config + file, FALSE);
        std::string names;
        for (const CKLVSyntaxEditLexClassInfo& info : store.GetCurrentBlocks()) {
            auto pClass = KLVMakeCounted<CKLVSyntaxEditLexFileClass>();
            pClass->SetName(info.m_strName);
            for (const CKLVSyntaxEditLexClassProperty& prop : info.m_arProperties)
                EXPECT_TRUE(pClass->ApplyProperty(prop)) << info.m_strName << " line " << prop.m_nLine;
            names += (names.empty() ? "" : " ") + std::string(info.m_strName);
            CStringArray parents;
            if (pClass->GetParentInfo(parents) == klvLexParentFile) {
                EXPECT_STREQ(scheme.extensions, CKLVSyntaxEditLexText::JoinStrings(pClass->GetExtensions(), " "));
            }
        }
        EXPECT_EQ(scheme.classes, names);
    }
    char szTheme[MAX_PATH] = "";
    ::GetPrivateProfileStringA("themes", "Default", "", szTheme, MAX_PATH, config + "SyntaxEdit.ini");
    CString theme(szTheme);
    theme = theme.Left(theme.Find(';')).Trim();
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(config + theme));
}

}  // namespace
