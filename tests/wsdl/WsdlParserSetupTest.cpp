// The WSDL parser object: construction, the built-in schemas and their
// folder, the base location, the error report, the extension handlers and
// the clean-up of downloads.

#include "support/LoopbackHttpServer.h"
#include "support/SchemaNames.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"
#include "net/FetchUri.h"
#include "schema/QualifiedName.h"
#include "schema/SchemaParser.h"
#include "wsdl/SoapExtension.h"
#include "wsdl/WsdlNamespaces.h"
#include "wsdl/WsdlParser.h"
#include "xml/XmlPullParser.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <sstream>

using namespace Wsdl;
using testsupport::LoopbackHttpServer;
using testsupport::namesContaining;
using testsupport::writeBytes;

namespace {

const char* const Document = R"(<definitions xmlns="http://schemas.xmlsoap.org/wsdl/" targetNamespace="urn:t"/>)";

using testsupport::qname;

std::string builtInFolder() { return testsupport::builtInSchemaFolder(); }
std::string builtInSchema(const std::string& file) { return testsupport::readBytes(builtInFolder() + file); }

// Both built-in schemas read: what each declares is there.
bool builtInsLoaded(const WsdlParser& parser)
{
    const Schema::SchemaParser* wsdl = parser.getSchemaParser(0);
    Schema::SchemaParser* encoding = parser.getSchemaParser(1);
    return wsdl != nullptr && encoding != nullptr && wsdl->getNamespace() == WsdlUri
        && encoding->getNamespace() == SoapEncodingUri
        && wsdl->getAttribute(qname(WsdlUri, "arrayType")) != nullptr
        && encoding->getTypeId(qname(SoapEncodingUri, "Array")) != 0;
}

class WsdlParserSetupTest : public ::testing::Test {
protected:
    WsdlParserSetupTest() { writeBytes("doc.wsdl", Document); }
    void TearDown() override { removeFetchedFiles(); }

    testsupport::ScopedWorkingFolder folder_;
    std::ostringstream diagnostics_;
};

TEST_F(WsdlParserSetupTest, DocumentsThatCannotBeFetchedThrow)
{
    LoopbackHttpServer server;
    server.serve("/gone.wsdl", LoopbackHttpServer::Reply{404, "<html/>"});
    const std::pair<std::string, std::string> cases[] = {{"missing.wsdl", "file not found"},
                                                         {server.url("/gone.wsdl"), "HTTP 404 Status"}};
    for (const auto& [location, cause] : cases) {
        SCOPED_TRACE(location);
        try {
            WsdlParser parser(location, diagnostics_, builtInFolder());
            FAIL() << "constructed";
        } catch (const WsdlException& failure) {
            EXPECT_EQ(failure.description,
                      "WSDL  Parser Exception : Wsdl Parser Exception : " + location + " could not be opened: " + cause);
            EXPECT_EQ(failure.state, WsdlParser::START);
            EXPECT_EQ(failure.line, 0);
            EXPECT_EQ(failure.column, 0);
        }
    }
    EXPECT_TRUE(namesContaining(".kw-tmp").empty());
}

TEST_F(WsdlParserSetupTest, BuiltInSchemasComeFromTheFolderAsItIsJoined)
{
    struct Case {
        const char* folderArgument; // "<cwd>" stands for the absolute current folder
        const char* placedAs;       // prefix the two files are written under; empty: not written
        const char* folder;         // the schema folder the parser keeps
        const char* missing;        // the path a failure names; empty: the schemas load
    };
    const Case cases[] = {
        {"", "src/schemas/", "src/schemas/", ""},
        {"", "", "src/schemas/", "src/schemas/wsdl10.xsd"},
        {"<cwd>/builtin/", "builtin/", "<cwd>/builtin/", ""},
        // a folder without its trailing separator is a folder all the same
        {"<cwd>/builtin", "builtin/", "<cwd>/builtin", ""},
        {"<cwd>/builtin", "builtin", "<cwd>/builtin", "<cwd>/builtin/wsdl10.xsd"},
        {"kit", "kit/", "kit", ""},
    };
    auto expand = [](std::string text, const std::string& cwd) {
        const std::string::size_type at = text.find("<cwd>");
        return at == std::string::npos ? text : text.replace(at, 5, cwd);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.folderArgument + "\" with files under \"" + c.placedAs + "\"");
        testsupport::ScopedWorkingFolder inner;
        writeBytes("doc.wsdl", Document);
        const std::string placed = c.placedAs;
        if (!placed.empty()) {
            const std::filesystem::path first(placed + "wsdl10.xsd");
            if (first.has_parent_path())
                std::filesystem::create_directories(first.parent_path());
            writeBytes(first, builtInSchema("wsdl10.xsd"));
            writeBytes(placed + "soap-encoding.xsd", builtInSchema("soap-encoding.xsd"));
        }
        const std::string cwd = inner.path().generic_string();
        const std::string argument = expand(c.folderArgument, cwd);
        const std::string expected = expand(c.folder, cwd);
        const std::string missing = expand(c.missing, cwd);
        try {
            WsdlParser parser("doc.wsdl", diagnostics_, argument);
            EXPECT_EQ(missing, "");
            EXPECT_EQ(parser.getSchemaDirectory(), expected);
            EXPECT_TRUE(builtInsLoaded(parser));
            EXPECT_EQ(parser.getSchemaCount(), 0);
            ASSERT_NE(parser.getSoapExtension(), nullptr);
            const std::string joined = expected.back() == '/' ? expected : expected + "/";
            EXPECT_EQ(parser.getSoapExtension()->getExtensibilitySchema(), joined + "soap.xsd");
            EXPECT_EQ(parser.getSoapExtension()->getEncodingSchema(), joined + "soap-encoding.xsd");
        } catch (const WsdlException& failure) {
            EXPECT_NE(missing, "") << failure.description;
            EXPECT_NE(failure.description.find("Could not read the built-in schema " + missing), std::string::npos)
                << failure.description;
        }
    }
}

TEST_F(WsdlParserSetupTest, DestroyingTheParserDeletesOnlyOurDownloads)
{
    LoopbackHttpServer server;
    server.serve("/svc.wsdl", LoopbackHttpServer::Reply{200, Document});
    const std::set<std::string> usersFiles = {"ABCDEFGH.kw-tmp", "notes.kw-tmp.txt", "x.kw-tmp"};
    for (const std::string& name : usersFiles)
        writeBytes(name, "mine");
    {
        WsdlParser parser(server.url("/svc.wsdl"), diagnostics_, builtInFolder());
        EXPECT_EQ(namesContaining(".kw-tmp").size(), usersFiles.size() + 1);
    }
    EXPECT_EQ(namesContaining(".kw-tmp"), usersFiles);

    // Also when set-up fails after the download.
    std::filesystem::create_directory("broken");
    writeBytes("broken/wsdl10.xsd", "<xsd:schema xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><unclosed>");
    EXPECT_ANY_THROW(WsdlParser(server.url("/svc.wsdl"), diagnostics_, "broken/"));
    EXPECT_EQ(namesContaining(".kw-tmp"), usersFiles);
    EXPECT_EQ(server.requestCount("/svc.wsdl"), 2);
}

} // namespace
