// XML catalogs: which entry maps an address (exact, longest rewrite,
// longest suffix, next catalogs, the first catalog before the later ones),
// relative targets against the catalog or its xml:base, the files that
// cannot be read, and fetches that follow the mapping.
#include "support/LoopbackHttpServer.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"
#include "net/FetchUri.h"
#include "net/XmlCatalog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

const std::string Head = "<?xml version=\"1.0\"?>\n"
                         "<!DOCTYPE catalog PUBLIC \"-//OASIS//DTD XML Catalogs V1.1//EN\" "
                         "\"http://www.oasis-open.org/committees/entity/release/1.1/catalog.dtd\">\n"
                         "<catalog xmlns=\"urn:oasis:names:tc:entity:xmlns:xml:catalog\">\n";

class XmlCatalogTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        setFetchCatalog(XmlCatalog());
        removeFetchedFiles();
    }

    std::string here(const std::string& name) const { return (fs::current_path() / name).generic_string(); }

    testsupport::ScopedWorkingFolder folder_;
};

TEST_F(XmlCatalogTest, EachEntryKindMapsItsAddresses)
{
    fs::create_directories("cat/more");
    testsupport::writeBytes("cat/main.xml",
                            Head + "<uri name=\"http://h/a.xsd\" uri=\"copies/a.xsd\"/>\n"
                                   "<system systemId=\"http://h/s.xsd\" uri=\"file:///opt/s.xsd\"/>\n"
                                   "<rewriteURI uriStartString=\"http://h/\" rewritePrefix=\"short/\"/>\n"
                                   "<rewriteURI uriStartString=\"http://h/deep/\" rewritePrefix=\"/long/\"/>\n"
                                   "<rewriteSystem systemIdStartString=\"ftp://f/\" rewritePrefix=\"http://mirror/\"/>\n"
                                   "<uriSuffix uriSuffix=\"/x.xsd\" uri=\"x-short.xsd\"/>\n"
                                   "<systemSuffix systemIdSuffix=\"/y/x.xsd\" uri=\"x-long.xsd\"/>\n"
                                   "<group xml:base=\"grouped/\"><uri name=\"urn:g\" uri=\"g.xsd\"/></group>\n"
                                   "<other xmlns=\"urn:not-a-catalog\"><uri name=\"urn:o\" uri=\"o.xsd\"/></other>\n"
                                   "<nextCatalog catalog=\"more/next.xml\"/>\n"
                                   "</catalog>\n");
    testsupport::writeBytes("cat/more/next.xml", Head + "<uri name=\"urn:n\" uri=\"n.xsd\"/>\n"
                                                        "<nextCatalog catalog=\"../main.xml\"/></catalog>\n");
    XmlCatalog catalog;
    catalog.add("cat/main.xml");
    struct Case {
        const char* location;
        std::string mapped;
    };
    const Case cases[] = {
        {"http://h/a.xsd", "cat/copies/a.xsd"},         // exact, before any rewrite
        {"http://h/s.xsd", "file:///opt/s.xsd"},        // absolute targets stay
        {"http://h/b/c.xsd", "cat/short/b/c.xsd"},      // rewrite
        {"http://h/deep/c.xsd", "/long/c.xsd"},         // the longest start
        {"ftp://f/p/q.xsd", "http://mirror/p/q.xsd"},   // to another address
        {"urn:z/x.xsd", "cat/x-short.xsd"},             // suffix
        {"urn:z/y/x.xsd", "cat/x-long.xsd"},            // the longest end
        {"urn:g", "cat/grouped/g.xsd"},                 // xml:base of a group
        {"urn:n", "cat/more/n.xsd"},                    // the next catalog, relative to itself
        {"urn:o", ""},                                  // not in the catalog namespace
        {"http://elsewhere/a.xsd", ""},                 // the chain back to main.xml ends
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location);
        EXPECT_EQ(catalog.resolve(c.location), c.mapped);
    }
}

TEST_F(XmlCatalogTest, TheFirstCatalogThatMapsAnAddressWins)
{
    testsupport::writeBytes("first.xml", Head + "<uri name=\"urn:a\" uri=\"first-a\"/></catalog>");
    testsupport::writeBytes("second.xml", Head + "<uri name=\"urn:a\" uri=\"second-a\"/>"
                                                 "<uri name=\"urn:b\" uri=\"second-b\"/></catalog>");
    XmlCatalog catalog;
    catalog.add("first.xml");
#ifdef _WIN32
    catalog.add(here("second.xml"));
#else
    catalog.add("file://" + here("second.xml")); // as XML_CATALOG_FILES may name it
#endif
    EXPECT_EQ(catalog.resolve("urn:a"), "first-a");
    EXPECT_EQ(catalog.resolve("urn:b"), here("second-b"));
}

TEST_F(XmlCatalogTest, ACatalogThatCannotBeReadIsNamedWithItsCause)
{
    testsupport::writeBytes("broken.xml", Head + "<uri name=\"urn:a\" uri=\"a\">\n</catalog>");
    testsupport::writeBytes("next-missing.xml", Head + "<nextCatalog catalog=\"gone.xml\"/></catalog>");
    fs::create_directory("folder.xml");
    struct Case {
        const char* file;
        std::string message; // its start
    };
    const Case cases[] = {
        {"missing.xml", "missing.xml: file not found"},
        {"broken.xml", "broken.xml:5:"},
        {"next-missing.xml", "gone.xml: file not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        XmlCatalog catalog;
        try {
            catalog.add(c.file);
            ADD_FAILURE() << "no error";
        } catch (const XmlCatalog::LoadError& failure) {
            EXPECT_EQ(std::string(failure.what()).rfind(c.message, 0), 0u) << failure.what();
        }
    }
}

TEST_F(XmlCatalogTest, TheEnvironmentNamesCatalogsSeparatedByBlanks)
{
    const char* saved = std::getenv("XML_CATALOG_FILES");
    const std::string before = saved != nullptr ? saved : "";
#ifdef _WIN32
    _putenv_s("XML_CATALOG_FILES", " a.xml  file:///b.xml\tc.xml ");
#else
    setenv("XML_CATALOG_FILES", " a.xml  file:///b.xml\tc.xml ", 1);
#endif
    EXPECT_EQ(XmlCatalog::environmentFiles(), (std::vector<std::string>{"a.xml", "file:///b.xml", "c.xml"}));
#ifdef _WIN32
    _putenv_s("XML_CATALOG_FILES", before.c_str());
#else
    if (saved != nullptr)
        setenv("XML_CATALOG_FILES", before.c_str(), 1);
    else
        unsetenv("XML_CATALOG_FILES");
#endif
}

// A fetch reads what the catalog maps an address to, without the network;
// a mapping to nothing says where it led.
TEST_F(XmlCatalogTest, FetchesFollowTheCatalog)
{
    testsupport::LoopbackHttpServer server;
    server.serve("/served.xsd", testsupport::LoopbackHttpServer::Reply{200, "<served/>"});
    testsupport::writeBytes("copy.xsd", "<copy/>");
    testsupport::writeBytes("catalog.xml", Head + "<uri name=\"http://nowhere.invalid/a.xsd\" uri=\"copy.xsd\"/>"
                                                  "<uri name=\"http://nowhere.invalid/b.xsd\" uri=\"" +
                                                  server.url("/served.xsd") +
                                                  "\"/>"
                                                  "<uri name=\"http://nowhere.invalid/c.xsd\" uri=\"gone.xsd\"/>"
                                                  "</catalog>");
    XmlCatalog catalog;
    catalog.add("catalog.xml");
    setFetchCatalog(std::move(catalog));
    std::string fileName;
    std::string failure;
    ASSERT_TRUE(fetchUri("http://nowhere.invalid/a.xsd", fileName, failure)) << failure;
    EXPECT_EQ(testsupport::readBytes(fileName), "<copy/>");
    ASSERT_TRUE(fetchUri("http://nowhere.invalid/b.xsd", fileName, failure)) << failure;
    EXPECT_EQ(testsupport::readBytes(fileName), "<served/>");
    EXPECT_FALSE(fetchUri("http://nowhere.invalid/c.xsd", fileName, failure));
    EXPECT_EQ(failure, "file not found (a catalog maps it to gone.xsd)");
}

} // namespace
