// The Security header the support library puts on a message going out: a
// UsernameToken with its password as text or as a digest, its Nonce and
// Created; a Timestamp; mustUnderstand; the envelope's own Header kept. And
// the Base64 and xsd:dateTime the header is written and read with.

#include <gtest/gtest.h>

#include "WsseTestSupport.h"
#include "tessaro_hash.h"
#include "tessaro_wsse_xml.h"

#include <cstring>
#include <ctime>
#include <string>

using namespace wssetest;

namespace {

tessaro_wsse_t settings(int use, const char* user = "bob", const char* password = "s3cret & <more>")
{
    tessaro_wsse_t value;
    std::memset(&value, 0, sizeof(value));
    value.use = use;
    std::strcpy(value.user, user);
    std::strcpy(value.password, password);
    return value;
}

time_t timeOf(const std::string& text)
{
    time_t t = 0;
    EXPECT_EQ(tessaro_wsse_time_parse(text.c_str(), &t), 0) << text;
    return t;
}

const std::string Token = "/env:Envelope/env:Header/wsse:Security/wsse:UsernameToken";

TEST(TessaroWsseTokenTest, TheHeaderCarriesWhatTheSettingsAskFor)
{
    const int Digest = TESSARO_WSSE_USERNAME_TOKEN | TESSARO_WSSE_PASSWORD_DIGEST;
    const struct {
        int use;
        const char* passwordType; // "" for no token
        bool nonce, created, timestamp;
    } cases[] = {
        {TESSARO_WSSE_USERNAME_TOKEN, "#PasswordText", false, false, false},
        {TESSARO_WSSE_USERNAME_TOKEN | TESSARO_WSSE_NONCE, "#PasswordText", true, false, false},
        {TESSARO_WSSE_USERNAME_TOKEN | TESSARO_WSSE_CREATED, "#PasswordText", false, true, false},
        {TESSARO_WSSE_USERNAME_TOKEN | TESSARO_WSSE_TIMESTAMP, "#PasswordText", false, false, true},
        // a digest always goes with the nonce and time it is made of
        {Digest, "#PasswordDigest", true, true, false},
        {Digest | TESSARO_WSSE_TIMESTAMP, "#PasswordDigest", true, true, true},
        {TESSARO_WSSE_TIMESTAMP, "", false, false, true},
    };
    for (const char* ns : {Soap11, Soap12}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(ns) + " use " + std::to_string(c.use));
            const Doc doc(secure(settings(c.use), envelope(ns, "<m:Add xmlns:m=\"urn:m\"><a>2</a></m:Add>")));
            ASSERT_TRUE(doc.ok());
            EXPECT_EQ(doc.text("/env:Envelope/env:Header/wsse:Security/@env:mustUnderstand"), "1");
            EXPECT_EQ(doc.text("/env:Envelope/env:Body/*/a"), "2");
            const bool token = c.passwordType[0] != '\0';
            EXPECT_EQ(doc.count(Token), token ? 1 : 0);
            if (token) {
                EXPECT_EQ(doc.text(Token + "/wsse:Username"), "bob");
                const std::string type = doc.text(Token + "/wsse:Password/@Type");
                EXPECT_EQ(type.substr(type.find('#')), c.passwordType);
                if (!c.nonce) {
                    EXPECT_EQ(doc.text(Token + "/wsse:Password"), "s3cret & <more>");
                }
            }
            EXPECT_EQ(doc.count(Token + "/wsse:Nonce"), c.nonce ? 1 : 0);
            EXPECT_EQ(doc.count(Token + "/wsu:Created"), c.created ? 1 : 0);
            EXPECT_EQ(doc.count("//wsu:Timestamp"), c.timestamp ? 1 : 0);
        }
    }
}

// Base64(SHA-1(nonce + created + password)), over the nonce's bytes (not its Base64).
TEST(TessaroWsseTokenTest, ThePasswordDigestIsOverNonceCreatedAndPassword)
{
    const std::string message = secure(settings(TESSARO_WSSE_USERNAME_TOKEN | TESSARO_WSSE_PASSWORD_DIGEST),
                                       envelope(Soap11, "<x/>"));
    const Doc doc(message);
    size_t nonceLength = 0;
    unsigned char* nonce = tessaro_base64_decode(doc.text(Token + "/wsse:Nonce").c_str(), &nonceLength);
    ASSERT_NE(nonce, nullptr);
    EXPECT_EQ(nonceLength, 16u);
    std::string joined(reinterpret_cast<char*>(nonce), nonceLength);
    std::free(nonce);
    joined += doc.text(Token + "/wsu:Created") + "s3cret & <more>";
    unsigned char digest[TESSARO_HASH_MAX_SIZE];
    ASSERT_EQ(tessaro_hash(TESSARO_HASH_SHA1, joined.data(), joined.size(), digest), 20u);
    char* expected = tessaro_base64_encode(digest, 20);
    EXPECT_EQ(doc.text(Token + "/wsse:Password"), expected);
    std::free(expected);
    EXPECT_EQ(message.find("s3cret"), std::string::npos);
    // every message has a nonce of its own
    const Doc again(secure(settings(TESSARO_WSSE_USERNAME_TOKEN | TESSARO_WSSE_PASSWORD_DIGEST), envelope(Soap11, "<x/>")));
    EXPECT_NE(again.text(Token + "/wsse:Nonce"), doc.text(Token + "/wsse:Nonce"));
}

TEST(TessaroWsseTokenTest, TimesAreUtcWithAZAndExpiresFollowsCreated)
{
    for (int seconds : {0, 1, 3600}) {
        SCOPED_TRACE(seconds);
        tessaro_wsse_t value = settings(TESSARO_WSSE_TIMESTAMP | TESSARO_WSSE_USERNAME_TOKEN | TESSARO_WSSE_CREATED);
        value.timestamp_seconds = seconds;
        const time_t before = std::time(nullptr);
        const Doc doc(secure(value, envelope(Soap12, "<x/>")));
        const time_t after = std::time(nullptr);
        const std::string created = doc.text("//wsu:Timestamp/wsu:Created");
        const std::string expires = doc.text("//wsu:Timestamp/wsu:Expires");
        ASSERT_EQ(created.size(), 20u);
        EXPECT_EQ(created.back(), 'Z');
        EXPECT_EQ(created, doc.text(Token + "/wsu:Created"));
        EXPECT_GE(timeOf(created), before);
        EXPECT_LE(timeOf(created), after);
        EXPECT_EQ(timeOf(expires) - timeOf(created), seconds > 0 ? seconds : 300);
    }
}

// The envelope's own Header entries stay, after the Security header; an Id already taken is not reused.
TEST(TessaroWsseTokenTest, TheEnvelopesOwnHeaderStays)
{
    const Doc doc(secure(settings(TESSARO_WSSE_TIMESTAMP),
                         envelope(Soap11, "<x/>", "<h:Session xmlns:h=\"urn:h\" Id=\"TS\">7</h:Session>")));
    EXPECT_EQ(doc.count("/env:Envelope/env:Header"), 1);
    EXPECT_EQ(doc.count("/env:Envelope/env:Header/*[1]/self::wsse:Security"), 1);
    EXPECT_EQ(doc.text("/env:Envelope/env:Header/*[2]"), "7");
    EXPECT_EQ(doc.text("//wsu:Timestamp/@wsu:Id"), "TS-2");
}

TEST(TessaroWsseTokenTest, WhatIsNoEnvelopeIsRefused)
{
    const char* const cases[] = {
        "", "not xml", "<a/>", "<Envelope><Body/></Envelope>",
        "<env:Envelope xmlns:env=\"http://schemas.xmlsoap.org/soap/envelope/\"/>",
        "<env:Envelope xmlns:env=\"http://schemas.xmlsoap.org/soap/envelope/\"><env:Body>",
    };
    for (const char* xml : cases) {
        SCOPED_TRACE(xml);
        std::string why;
        EXPECT_EQ(secure(settings(TESSARO_WSSE_TIMESTAMP), xml, &why), "");
        EXPECT_NE(why, "");
    }
}

TEST(TessaroWsseTokenTest, Base64FollowsRfc4648)
{
    const std::pair<std::string, const char*> vectors[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"}, {std::string("\0\xff\xfe", 3), "AP/+"}};
    for (const auto& [bytes, text] : vectors) {
        SCOPED_TRACE(text);
        char* encoded = tessaro_base64_encode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        EXPECT_STREQ(encoded, text);
        std::free(encoded);
        size_t length = 99;
        unsigned char* decoded = tessaro_base64_decode(text, &length);
        ASSERT_NE(decoded, nullptr);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(decoded), length), bytes);
        std::free(decoded);
    }
    // blanks between characters are taken, as a wrapped value has them
    size_t length = 0;
    unsigned char* wrapped = tessaro_base64_decode(" Zm9v\r\n YmFy\n", &length);
    ASSERT_NE(wrapped, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(wrapped), length), "foobar");
    std::free(wrapped);
    for (const char* bad : {"Zg", "Zg=", "Z===", "Zm9v!", "Zg==Zg==", "=Zg=", "Zm9vY"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(tessaro_base64_decode(bad, &length), nullptr);
    }
}

TEST(TessaroWsseTokenTest, DateTimesAreReadWithTheirZone)
{
    const struct {
        const char* text;
        long long seconds; // -1: refused
    } cases[] = {
        {"1970-01-01T00:00:00Z", 0},
        {"2026-12-09T23:02:48Z", 1796857368},
        {"2026-12-09T23:02:48.123Z", 1796857368},
        {"2026-12-10T01:02:48+02:00", 1796857368},
        {"2026-12-09T20:32:48-02:30", 1796857368},
        {"2024-02-29T12:00:00Z", 1709208000},
        {"2026-12-09T23:02:48", -1},
        {"2026-13-09T23:02:48Z", -1},
        {"2026-02-30T23:02:48Z", -1},
        {"2026-12-09 23:02:48Z", -1},
        {"2026-12-09T23:02:48Zjunk", -1},
        {"2026-12-09T23:02:48+2:00", -1},
        {"2026-12-09T24:02:48Z", -1},
        {"", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        time_t t = 0;
        const int result = tessaro_wsse_time_parse(c.text, &t);
        EXPECT_EQ(result, c.seconds < 0 ? -1 : 0);
        if (c.seconds >= 0) {
            EXPECT_EQ(static_cast<long long>(t), c.seconds);
        }
    }
    char text[21];
    tessaro_wsse_time_text(1796857368, text);
    EXPECT_STREQ(text, "2026-12-09T23:02:48Z");
}

} // namespace
