// The HTTP client against a server on the loopback interface: the same test in
// both builds drives libcurl natively and the platform's client under Wine.
#include "support/LoopbackHttpServer.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"
#include "net/HttpClient.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using testsupport::LoopbackHttpServer;

std::string readAll(HttpClient& client)
{
    std::string bytes;
    char piece[333];
    while (const std::size_t count = client.read(piece, sizeof piece))
        bytes.append(piece, count);
    return bytes;
}

class HttpClientTest : public ::testing::Test {
protected:
    LoopbackHttpServer server_;
    HttpClient client_;

    void TearDown() override { client_.close(); }
};

TEST_F(HttpClientTest, GetReadsTheWholeResponse)
{
    LoopbackHttpServer::Reply reply;
    reply.body = std::string("line\r\nnul\0end", 13);
    server_.serve("/doc.wsdl?x=1", reply);
    ASSERT_TRUE(client_.openUrl(server_.url("/doc.wsdl?x=1"), nullptr, nullptr, "agent/1"));
    ASSERT_TRUE(client_.request(client_.objectPath(), HttpClient::MethodGet, nullptr));
    EXPECT_EQ(client_.statusCode(), 200);
    EXPECT_EQ(readAll(client_), reply.body);
    EXPECT_EQ(client_.read(nullptr, 0), 0u);
    EXPECT_EQ(server_.lastMethod(), "GET");
    EXPECT_EQ(server_.lastHeader("user-agent"), "agent/1");
    EXPECT_EQ(server_.requestCount("/doc.wsdl?x=1"), 1);
}

TEST_F(HttpClientTest, ReadWithoutRequestAndRequestWithoutConnectionFail)
{
    char byte;
    EXPECT_THROW(client_.read(&byte, 1), std::runtime_error);
    EXPECT_FALSE(client_.request("/", HttpClient::MethodGet, nullptr));
    ASSERT_TRUE(client_.openUrl(server_.url("/"), nullptr, nullptr, "agent"));
    EXPECT_FALSE(client_.request("/", 7, nullptr));
    client_.close();
    EXPECT_FALSE(client_.request("/", HttpClient::MethodGet, nullptr));
    EXPECT_EQ(server_.requestCount("/"), 0);
}

TEST_F(HttpClientTest, PostsSendTheHeadersAndTheBodyTheyAnnounce)
{
    const struct {
        int method;
        const char* referrer;
        std::string contentType;
        std::string body;
    } cases[] = {
        {HttpClient::MethodPostUrlEncoded, "http://referrer.test/", "application/x-www-form-urlencoded", ""},
        {HttpClient::MethodPostMultipart, nullptr, "multipart/form-data; boundary=--MULTI-PARTS-FORM-DATA-BOUNDARY",
         HttpClient::multipartBody({})},
    };
    server_.serve("/form", LoopbackHttpServer::Reply{200, "ok"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.contentType);
        ASSERT_TRUE(client_.openUrl(server_.url("/form"), nullptr, nullptr, "agent"));
        ASSERT_TRUE(client_.request("/form", c.method, c.referrer));
        EXPECT_EQ(readAll(client_), "ok");
        EXPECT_EQ(server_.lastMethod(), "POST");
        EXPECT_EQ(server_.lastHeader("content-type"), c.contentType);
        EXPECT_EQ(server_.lastBody(), c.body);
        EXPECT_EQ(server_.lastHeader("content-length"), std::to_string(c.body.size()));
        EXPECT_EQ(server_.lastHeader("referer"), c.referrer ? c.referrer : "");
        client_.close();
    }
}

TEST(HttpClientMultipartTest, BodyHoldsEveryArgumentWhole)
{
    testsupport::ScopedWorkingFolder folder;
    const std::string fileBytes("bin\0\r\n\x1a\xff", 8);
    testsupport::writeBytes("upload.bin", fileBytes);
    const std::string large(20000, 'v');  // more than any fixed piece could hold

    const std::string boundary = "----MULTI-PARTS-FORM-DATA-BOUNDARY";
    const std::string closing = boundary + "--\r\n";
    struct Case {
        std::vector<HttpClient::FormArgument> arguments;
        std::string expected;
    };
    const Case cases[] = {
        {{}, closing},
        {{{"a", "1", false}},
         boundary + "\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n1\r\n" + closing},
        {{{"big", large, false}},
         boundary + "\r\nContent-Disposition: form-data; name=\"big\"\r\n\r\n" + large + "\r\n" + closing},
        {{{"f", "upload.bin", true}, {"b", "2", false}},
         boundary + "\r\nContent-Disposition: form-data; name=\"f\"; filename=\"upload.bin\"\r\n\r\n" + fileBytes
             + "\r\n" + boundary + "\r\nContent-Disposition: form-data; name=\"b\"\r\n\r\n2\r\n" + closing},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HttpClient::multipartBody(c.arguments), c.expected);
    EXPECT_THROW(HttpClient::multipartBody({{"f", "missing.bin", true}}), std::runtime_error);
}

}  // namespace
