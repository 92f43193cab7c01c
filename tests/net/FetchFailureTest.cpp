// Every failed fetch says why, against servers on the loopback that refuse,
// answer with an error, never answer, or present a certificate no system
// trusts; and local names that cannot be read.
#include "support/LoopbackHttpServer.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"
#include "net/FetchUri.h"

#ifdef KELVANE_HAVE_OPENSSL
#include "support/SelfSignedTlsServer.h"
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

using testsupport::LoopbackHttpServer;

// The time-out of every fetch for the life of the object.
class FetchTimeout {
public:
    explicit FetchTimeout(int seconds) : previous_(fetchTimeout()) { setFetchTimeout(seconds); }
    ~FetchTimeout() { setFetchTimeout(previous_); }
    FetchTimeout(const FetchTimeout&) = delete;
    FetchTimeout& operator=(const FetchTimeout&) = delete;

private:
    int previous_;
};

class FetchFailureTest : public ::testing::Test {
protected:
    void TearDown() override { removeFetchedFiles(); }

    testsupport::ScopedWorkingFolder folder_;
    LoopbackHttpServer server_;
};

TEST_F(FetchFailureTest, EachFailureNamesItsCause)
{
    const FetchTimeout timeout(1);
    LoopbackHttpServer::Reply missing{404, "<html>gone</html>"};
    missing.reason = "Not Found";
    server_.serve("/missing.wsdl", missing);
    LoopbackHttpServer::Reply broken{500, "oops"};
    broken.reason = "Internal Server Error";
    server_.serve("/broken.wsdl", broken);
    LoopbackHttpServer::Reply silent;
    silent.hang = true;
    server_.serve("/silent.wsdl", silent);
    testsupport::writeBytes("here.wsdl", "<definitions/>");

    struct Case {
        const char* name;
        std::string location;
        bool fetched;
        std::string failure;
    };
    const Case cases[] = {
        {"a local file", "here.wsdl", true, ""},
        {"a local file that is not there", "nowhere.wsdl", false, "file not found"},
        {"a refused connection", "http://127.0.0.1:" + std::to_string(server_.closedPort()) + "/a.wsdl", false,
         "connection refused"},
        {"HTTP 404", server_.url("/missing.wsdl"), false, "HTTP 404 Not Found"},
        {"HTTP 500", server_.url("/broken.wsdl"), false, "HTTP 500 Internal Server Error"},
        {"a server that never answers", server_.url("/silent.wsdl"), false, "time-out after 1 s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string fileName;
        std::string failure = "stale";
        EXPECT_EQ(fetchUri(c.location, fileName, failure), c.fetched);
        EXPECT_EQ(failure, c.failure);
    }
    // Nothing of a failed download is left behind.
    EXPECT_TRUE(testsupport::namesContaining(".kw-tmp").empty());
}

#ifndef _WIN32
TEST_F(FetchFailureTest, AFileThatCannotBeReadSaysSo)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "every file can be read by the super-user";
    testsupport::writeBytes("locked.wsdl", "<definitions/>");
    std::filesystem::permissions("locked.wsdl", std::filesystem::perms::none);
    std::string fileName;
    std::string failure;
    EXPECT_FALSE(fetchUri("locked.wsdl", fileName, failure));
    EXPECT_EQ(failure, "permission denied");
}
#endif

#ifdef KELVANE_HAVE_OPENSSL
// The certificate is checked against the system's store: one signed by
// itself is refused, and the refusal says what the check found.
TEST_F(FetchFailureTest, AnUntrustedCertificateIsRefusedSayingWhy)
{
    const FetchTimeout timeout(10);
    testsupport::SelfSignedTlsServer tls;
    std::string fileName;
    std::string failure;
    EXPECT_FALSE(fetchUri(tls.url("/a.wsdl"), fileName, failure));
    EXPECT_EQ(failure.compare(0, 13, "TLS failure: "), 0) << failure;
    EXPECT_NE(failure.find("certificate"), std::string::npos) << failure;
}
#endif

} // namespace
