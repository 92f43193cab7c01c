// Service calls against loopback servers: the same test drives libcurl
// natively and the platform's client under Wine.
#include "support/LoopbackHttpServer.h"
#ifndef _WIN32
#include "support/SelfSignedTlsServer.h"
#endif
#include "net/SoapCall.h"
#include "support/DigestParameters.h"
#include "tessaro_hash.h"

#include <gtest/gtest.h>

#include <future>
#include <map>
#include <string>

namespace {

using testsupport::digestParameters;

using testsupport::LoopbackHttpServer;

const char* const kEnvelope =
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
    "<Add xmlns=\"urn:calc\"><a>1</a><b>2</b></Add></soap:Body></soap:Envelope>";

SoapCallRequest callTo(const std::string& endpoint)
{
    SoapCallRequest request;
    request.endpoint = endpoint;
    request.envelope = kEnvelope;
    request.contentType = "text/xml; charset=utf-8";
    request.soapAction = "urn:calc#Add";
    return request;
}

std::string headerOf(const SoapCallResult& result, const std::string& name)
{
    for (const auto& header : result.headers) {
        if (header.first == name)
            return header.second;
    }
    return "<none>";
}

// A call to a server that reads the request and never answers.
SoapCallRequest silentCall(LoopbackHttpServer& server, int timeoutSeconds)
{
    LoopbackHttpServer::Reply silent;
    silent.hang = true;
    server.serve("/calc", silent);
    SoapCallRequest request = callTo(server.url("/calc"));
    request.timeoutSeconds = timeoutSeconds;
    return request;
}

bool mentions(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::string hashHex(int kind, const std::string& text)
{
    char hex[TESSARO_HASH_MAX_HEX];
    EXPECT_EQ(tessaro_hash_hex(kind, text.data(), text.size(), hex), 0);
    return hex;
}

TEST(SoapCallTest, AnAnswerOrAFaultComesWithItsStatusHeadersAndBody)
{
    LoopbackHttpServer server;
    const std::string fault = "<Envelope><Body><Fault><faultstring>no</faultstring></Fault></Body></Envelope>";
    server.serve("/calc", {200, "<sum>3</sum>", false, false, "", "OK"});
    server.serve("/fault", {500, fault, true, false, "", "Internal Server Error"});
    const struct {
        const char* path;
        int status;
        std::string reason;
        std::string body;
    } cases[] = {
        {"/calc", 200, "OK", "<sum>3</sum>"},
        {"/fault", 500, "Internal Server Error", fault},
    };
    SoapCall call;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const SoapCallResult result = call.send(callTo(server.url(c.path)));
        EXPECT_EQ(result.outcome, SoapCallResult::Answered) << result.why;
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(result.body, c.body);
        EXPECT_EQ(headerOf(result, "Content-Type"), "application/octet-stream");
        EXPECT_TRUE(result.why.empty());
        EXPECT_GE(result.seconds, 0.0);
        EXPECT_EQ(server.lastMethod(), "POST");
        EXPECT_EQ(server.lastBody(), kEnvelope);
        EXPECT_EQ(server.lastHeader("content-type"), "text/xml; charset=utf-8");
        EXPECT_EQ(server.lastHeader("soapaction"), "\"urn:calc#Add\"");
    }
}

TEST(SoapCallTest, Soap12CarriesTheActionInItsContentTypeOnly)
{
    LoopbackHttpServer server;
    server.serve("/calc", {200, "ok"});
    SoapCallRequest request = callTo(server.url("/calc"));
    request.contentType = "application/soap+xml; charset=utf-8; action=\"urn:calc#Add\"";
    SoapCall call;
    EXPECT_EQ(call.send(request).outcome, SoapCallResult::Answered);
    EXPECT_EQ(server.lastHeader("content-type"), request.contentType);
    EXPECT_EQ(server.lastHeader("soapaction"), "");
}

TEST(SoapCallTest, ARedirectIsTheAnswerNotFollowed)
{
    LoopbackHttpServer server;
    LoopbackHttpServer::Reply moved{302, "moved"};
    moved.location = server.url("/elsewhere");
    server.serve("/calc", moved);
    SoapCall call;
    const SoapCallResult result = call.send(callTo(server.url("/calc")));
    EXPECT_EQ(result.outcome, SoapCallResult::Answered);
    EXPECT_EQ(result.status, 302);
    EXPECT_EQ(server.requestCount("/elsewhere"), 0);
}

TEST(SoapCallTest, CallsThatGetNoAnswerSayWhy)
{
    LoopbackHttpServer server;
    const std::string refused = "http://127.0.0.1:" + std::to_string(server.closedPort()) + "/calc";
    SoapCallRequest deadProxy = callTo(server.url("/calc"));
    deadProxy.proxy = "127.0.0.1:" + std::to_string(server.closedPort());
    SoapCallRequest injected = callTo(server.url("/calc"));
    injected.soapAction = "a\r\nX-Injected: 1";
    const struct {
        const char* name;
        SoapCallRequest request;
        SoapCallResult::Outcome outcome;
        const char* cause;
    } cases[] = {
        {"refused", callTo(refused), SoapCallResult::Refused, "refused"},
        {"dead proxy", deadProxy, SoapCallResult::Proxy, "proxy"},
        {"not http", callTo("ftp://127.0.0.1/calc"), SoapCallResult::Failed, "not an http or https address"},
        {"header with a line break", injected, SoapCallResult::Failed, ""},
    };
    SoapCall call;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SoapCallResult result = call.send(c.request);
        EXPECT_EQ(result.outcome, c.outcome) << result.why;
        EXPECT_TRUE(mentions(result.why, c.request.endpoint)) << result.why;
        EXPECT_TRUE(mentions(result.why, c.cause)) << result.why;
        EXPECT_EQ(result.status, 0);
    }
    EXPECT_EQ(server.totalRequests(), 0);
}

TEST(SoapCallTest, ARefusedPasswordIsAnAuthenticationFailure)
{
    LoopbackHttpServer server;
    LoopbackHttpServer::Reply basic{401, "denied"};
    basic.headers = "WWW-Authenticate: Basic realm=\"calc\"\r\n";
    LoopbackHttpServer::Reply digest{401, "denied"};
    digest.headers = "WWW-Authenticate: Digest realm=\"calc\", nonce=\"6f1c2a\", qop=\"auth\", algorithm=MD5\r\n";
    server.serve("/basic", basic);
    server.serve("/digest", digest);
    const struct {
        const char* path;
        SoapCallRequest::Auth auth;
        const char* authorization;  // how the last request began its Authorization header
        const char* cause;
    } cases[] = {
        {"/basic", SoapCallRequest::AuthBasic, "Basic dXNlcjp3cm9uZw==", "refused the user and password"},
        {"/digest", SoapCallRequest::AuthDigest, "Digest username=\"user\"", "refused the user and password"},
        {"/basic", SoapCallRequest::AuthNone, "", "asks for a user and password"},
    };
    SoapCall call;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + std::to_string(c.auth));
        SoapCallRequest request = callTo(server.url(c.path));
        request.auth = c.auth;
        request.user = "user";
        request.password = "wrong";
        const SoapCallResult result = call.send(request);
        EXPECT_EQ(result.outcome, SoapCallResult::Authentication) << result.why;
        EXPECT_EQ(result.status, 401);
        EXPECT_EQ(result.body, "denied");
        EXPECT_TRUE(mentions(result.why, c.cause)) << result.why;
        EXPECT_EQ(server.lastHeader("authorization").substr(0, std::string(c.authorization).size()),
                  c.authorization);
    }
}

// A Digest challenge is answered once, with the response of the user's password to the server's
// nonce (qop=auth, a client nonce and the count): recomputed here from what the answer names.
TEST(SoapCallTest, ADigestChallengeIsAnsweredOnceWithTheResponseOfThePassword)
{
    const struct {
        const char* path;
        const char* algorithm;
        int kind;
    } cases[] = {{"/md5", "MD5", TESSARO_HASH_MD5}, {"/sha256", "SHA-256", TESSARO_HASH_SHA256}};
    LoopbackHttpServer server;
    SoapCall call;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.algorithm);
        LoopbackHttpServer::Reply challenge{401, "denied"};
        challenge.headers = std::string("WWW-Authenticate: Basic realm=\"old\", Digest realm=\"calc@test\", "
                                        "nonce=\"6f1c2a9e\", opaque=\"zz\", qop=\"auth-int,auth\", algorithm=")
                            + c.algorithm + "\r\n";
        server.serve(c.path, challenge);
        SoapCallRequest request = callTo(server.url(c.path));
        request.auth = SoapCallRequest::AuthDigest;
        request.user = "alice";
        request.password = "open sesame";
        const SoapCallResult result = call.send(request);
        EXPECT_EQ(result.outcome, SoapCallResult::Authentication) << result.why;
        EXPECT_EQ(server.requestCount(c.path), 2) << "the challenge, then one answer";
        std::map<std::string, std::string> answer = digestParameters(server.lastHeader("authorization"));
        EXPECT_EQ(server.lastHeader("authorization").rfind("Digest ", 0), 0u) << server.lastHeader("authorization");
        EXPECT_EQ(answer["username"], "alice");
        EXPECT_EQ(answer["realm"], "calc@test");
        EXPECT_EQ(answer["nonce"], "6f1c2a9e");
        EXPECT_EQ(answer["opaque"], "zz");
        EXPECT_EQ(answer["uri"], c.path);
        EXPECT_EQ(answer["qop"], "auth");
        EXPECT_EQ(answer["nc"], "00000001");
        EXPECT_FALSE(answer["cnonce"].empty());
        const std::string ha1 = hashHex(c.kind, "alice:calc@test:open sesame");
        const std::string ha2 = hashHex(c.kind, std::string("POST:") + c.path);
        EXPECT_EQ(answer["response"], hashHex(c.kind, ha1 + ":6f1c2a9e:00000001:" + answer["cnonce"] + ":auth:" + ha2));
    }
}

TEST(SoapCallTest, AProxyThatRefusesTheCredentialsIsAProxyFailure)
{
    LoopbackHttpServer proxy;
    LoopbackHttpServer::Reply refusal{407, "who are you"};
    refusal.headers = "Proxy-Authenticate: Basic realm=\"proxy\"\r\n";
    const std::string endpoint = "http://service.test:8080/calc";
    proxy.serve(endpoint, refusal);
    SoapCallRequest request = callTo(endpoint);
    request.proxy = "127.0.0.1:" + std::to_string(proxy.port());
    request.proxyUser = "user";
    request.proxyPassword = "wrong";
    SoapCall call;
    const SoapCallResult result = call.send(request);
    EXPECT_EQ(result.outcome, SoapCallResult::Proxy) << result.why;
    EXPECT_EQ(result.status, 407);
    EXPECT_TRUE(mentions(result.why, request.proxy)) << result.why;
    EXPECT_EQ(proxy.lastHeader("proxy-authorization"), "Basic dXNlcjp3cm9uZw==");
}

TEST(SoapCallTest, ACancelFromAnotherThreadEndsACallThatGetsNoAnswer)
{
    LoopbackHttpServer server;
    SoapCallRequest request = silentCall(server, 600);  // only the cancel can end it within the test's time
    SoapCall call;
    auto sent = std::async(std::launch::async, [&] { return call.send(request); });
    ASSERT_TRUE(server.awaitRequests(1));
    call.cancel();
    const SoapCallResult result = sent.get();
    EXPECT_EQ(result.outcome, SoapCallResult::Cancelled) << result.why;
    EXPECT_TRUE(mentions(result.why, "cancelled")) << result.why;

    // The cancel was spent on that call: the next one is answered. (Another
    // server answers it: where the platform cannot break off a blocking call,
    // the cancelled exchange holds the first until its time-out.)
    LoopbackHttpServer another;
    another.serve("/calc", {200, "ok"});
    EXPECT_EQ(call.send(callTo(another.url("/calc"))).outcome, SoapCallResult::Answered);
}

TEST(SoapCallTest, ACancelBeforeTheSendEndsTheNextSendUnsent)
{
    LoopbackHttpServer server;
    server.serve("/calc", {200, "ok"});
    SoapCall call;
    call.cancel();
    const SoapCallResult result = call.send(callTo(server.url("/calc")));
    EXPECT_EQ(result.outcome, SoapCallResult::Cancelled);
    EXPECT_EQ(server.totalRequests(), 0);
    EXPECT_EQ(call.send(callTo(server.url("/calc"))).outcome, SoapCallResult::Answered);
}

TEST(SoapCallTest, AServerSilentPastTheTimeOutTimesOut)
{
    LoopbackHttpServer server;
    SoapCallRequest request = silentCall(server, 1);
    SoapCall call;
    const SoapCallResult result = call.send(request);
    EXPECT_EQ(result.outcome, SoapCallResult::TimedOut) << result.why;
    EXPECT_TRUE(mentions(result.why, "time-out")) << result.why;
}

#ifndef _WIN32
TEST(SoapCallTest, AnUntrustedCertificateIsATlsFailureUnlessNotVerified)
{
    testsupport::SelfSignedTlsServer tls;
    SoapCall call;
    SoapCallRequest request = callTo(tls.url("/calc"));
    const SoapCallResult refused = call.send(request);
    EXPECT_EQ(refused.outcome, SoapCallResult::Tls) << refused.why;
    EXPECT_TRUE(mentions(refused.why, request.endpoint)) << refused.why;

    // The server only shakes hands: unchecked, the call gets further and then no answer.
    request.verifyCertificate = false;
    const SoapCallResult unchecked = call.send(request);
    EXPECT_NE(unchecked.outcome, SoapCallResult::Tls) << unchecked.why;
    EXPECT_NE(unchecked.outcome, SoapCallResult::Answered);
}
#endif

}  // namespace
