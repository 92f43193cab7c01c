// Fetching documents: downloads against a loopback server, the fetch cache,
// local names and the clean-up of downloads.
#include "support/LoopbackHttpServer.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"
#include "net/FetchUri.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using testsupport::LoopbackHttpServer;
using testsupport::namesContaining;
using testsupport::isTemporaryName;
using testsupport::readBytes;

std::string everyByteValue(std::size_t size)
{
    std::string bytes(size, '\0');
    unsigned state = 12345;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return bytes;
}

class FetchUriTest : public ::testing::Test {
protected:
    void TearDown() override { removeFetchedFiles(); }

    testsupport::ScopedWorkingFolder folder_;
    LoopbackHttpServer server_;
};

TEST_F(FetchUriTest, DownloadsAreByteExact)
{
    struct Case {
        const char* target;
        std::string body;
        bool chunked;
    };
    const Case cases[] = {
        {"/nul.wsdl", std::string("<a>\0\0x</a>\0", 11), false},
        {"/lines.wsdl", "<a>\r\n<b/>\n\r\n\r</a>\x1a tail", false},
        {"/large.wsdl", everyByteValue(1 << 20), false},
        {"/chunked.wsdl", everyByteValue(100000), true},
        {"/empty.wsdl", "", false},
        {"/query?wsdl&a=b", "<q/>", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        LoopbackHttpServer::Reply reply;
        reply.body = c.body;
        reply.chunked = c.chunked;
        server_.serve(c.target, reply);
        std::string fileName;
        ASSERT_TRUE(fetchUri(server_.url(c.target), fileName));
        EXPECT_TRUE(isTemporaryName(fileName)) << fileName;
        EXPECT_TRUE(std::filesystem::exists(folder_.path() / fileName));
        EXPECT_EQ(readBytes(fileName), c.body);
    }
    EXPECT_EQ(server_.lastHeader("user-agent"), "kelvane-wsdl/1.9");
}

TEST_F(FetchUriTest, EachAddressIsDownloadedOncePerProcess)
{
    server_.serve("/a.wsdl", LoopbackHttpServer::Reply{200, "<a/>"});
    server_.serve("/b.wsdl", LoopbackHttpServer::Reply{200, "<b/>"});
    std::string first, again, other;
    ASSERT_TRUE(fetchUri(server_.url("/a.wsdl"), first));
    ASSERT_TRUE(fetchUri(server_.url("/a.wsdl"), again));
    ASSERT_TRUE(fetchUri(server_.url("/b.wsdl"), other));
    EXPECT_EQ(again, first);
    EXPECT_NE(other, first);
    EXPECT_EQ(server_.requestCount("/a.wsdl"), 1);
    EXPECT_EQ(readBytes(first), "<a/>");
    EXPECT_EQ(readBytes(other), "<b/>");
}

// Both transports follow a redirect: the page that announces it is no document.
TEST_F(FetchUriTest, RedirectsAreFollowed)
{
    LoopbackHttpServer::Reply moved{302, "<html>moved</html>"};
    moved.location = server_.url("/new.wsdl");
    server_.serve("/old.wsdl", moved);
    server_.serve("/new.wsdl", LoopbackHttpServer::Reply{200, "<new/>"});
    LoopbackHttpServer::Reply gone{301, "<html>moved</html>"};
    gone.location = server_.url("/missing.wsdl");
    server_.serve("/gone.wsdl", gone);

    std::string fileName;
    ASSERT_TRUE(fetchUri(server_.url("/old.wsdl"), fileName));
    EXPECT_EQ(readBytes(fileName), "<new/>");
    EXPECT_FALSE(fetchUri(server_.url("/gone.wsdl"), fileName));
    EXPECT_EQ(server_.requestCount("/missing.wsdl"), 1);
}

// A failed download reports failure, leaves no file and is not remembered:
// the next call asks the server again.
TEST_F(FetchUriTest, FailuresLeaveNoFileAndAreNotCached)
{
    LoopbackHttpServer::Reply missing{404, "<html>not here</html>"};
    LoopbackHttpServer::Reply broken{500, "<html>broken</html>"};
    LoopbackHttpServer::Reply cut{200, everyByteValue(10000)};
    cut.truncated = true;
    server_.serve("/missing", missing);
    server_.serve("/broken", broken);
    server_.serve("/cut", cut);
    struct Case {
        std::string address;
        const char* target;  // null when no server answers
    };
    const Case cases[] = {
        {server_.url("/missing"), "/missing"},
        {server_.url("/broken"), "/broken"},
        {server_.url("/cut"), "/cut"},
        {"http://127.0.0.1:" + std::to_string(server_.closedPort()) + "/refused", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        for (int attempt = 1; attempt <= 2; ++attempt) {
            std::string fileName = "stale";
            EXPECT_FALSE(fetchUri(c.address, fileName));
            EXPECT_EQ(fileName, "");
            EXPECT_TRUE(namesContaining(".kw-tmp").empty());
            if (c.target != nullptr) {
                EXPECT_EQ(server_.requestCount(c.target), attempt);
            }
        }
    }
}

// A server that sends more than the maximum document size, with the size
// announced or not, gives a failed download: no file is kept and nothing is
// remembered, so the next call asks again.
TEST_F(FetchUriTest, DocumentsLargerThanTheMaximumFail)
{
    const std::size_t limit = 64 * 1024;
    struct Case {
        const char* target;
        std::size_t size;
        bool chunked;
        bool fetched;
    };
    const Case cases[] = {
        {"/at-limit", limit, false, true},
        {"/at-limit-chunked", limit, true, true},
        {"/one-over", limit + 1, false, false},
        {"/one-over-chunked", limit + 1, true, false},
        {"/far-over", 64 * limit, false, false},
        {"/far-over-chunked", 64 * limit, true, false},
    };
    std::set<std::string> downloads;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        LoopbackHttpServer::Reply reply;
        reply.body = everyByteValue(c.size);
        reply.chunked = c.chunked;
        server_.serve(c.target, reply);
        for (int attempt = 1; attempt <= 2; ++attempt) {
            std::string fileName = "stale";
            EXPECT_EQ(fetchUri(server_.url(c.target), fileName, limit), c.fetched);
            if (c.fetched) {
                EXPECT_EQ(readBytes(fileName), reply.body);
                downloads.insert(fileName);
                EXPECT_EQ(server_.requestCount(c.target), 1);
            } else {
                EXPECT_EQ(fileName, "");
                EXPECT_EQ(server_.requestCount(c.target), attempt);
            }
            EXPECT_EQ(namesContaining(".kw-tmp"), downloads);
        }
    }
}

TEST_F(FetchUriTest, LocalNamesArePassedThroughUnchanged)
{
    testsupport::writeBytes("local.wsdl", "<l/>");
    const std::string address = server_.url("/doc");
    struct Case {
        std::string location;
        bool opens;
    };
    const Case cases[] = {
        {"local.wsdl", true},
        {(folder_.path() / "local.wsdl").string(), true},
        {"C:\\data\\a.wsdl", false},
        {"missing.wsdl", false},
        // Only the start of a location makes it an address.
        {"copy of " + address, false},
        {"file://" + address.substr(7), false},
        {"HTTP" + address.substr(4), false},
        {"gopher://127.0.0.1/doc", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location);
        std::string fileName;
        EXPECT_EQ(fetchUri(c.location, fileName), c.opens);
        EXPECT_EQ(fileName, c.location);
    }
    EXPECT_EQ(server_.requestCount("/doc"), 0);
}

TEST_F(FetchUriTest, CleanupRemovesExactlyOurDownloads)
{
    server_.serve("/a.wsdl", LoopbackHttpServer::Reply{200, "<a/>"});
    server_.serve("/b.wsdl", LoopbackHttpServer::Reply{200, "<b/>"});
    std::string a, b;
    ASSERT_TRUE(fetchUri(server_.url("/a.wsdl"), a));
    ASSERT_TRUE(fetchUri(server_.url("/b.wsdl"), b));
    const std::vector<std::string> usersFiles = {"ABCDEFGH.kw-tmp", "notes.kw-tmp.txt", "x.kw-tmp"};
    for (const std::string& name : usersFiles)
        testsupport::writeBytes(name, "mine");

    // The clean-up may run in another folder; a file there named like one of
    // ours is not ours.
    std::filesystem::create_directory("elsewhere");
    testsupport::writeBytes("elsewhere/" + a, "mine too");
    std::filesystem::current_path("elsewhere");
    removeFetchedFiles();
    std::filesystem::current_path(folder_.path());

    EXPECT_EQ(namesContaining(".kw-tmp"), std::set<std::string>(usersFiles.begin(), usersFiles.end()));
    EXPECT_EQ(readBytes("elsewhere/" + a), "mine too");

    std::string again;
    ASSERT_TRUE(fetchUri(server_.url("/a.wsdl"), again));
    EXPECT_EQ(server_.requestCount("/a.wsdl"), 2);
    EXPECT_EQ(readBytes(again), "<a/>");
}

}  // namespace
