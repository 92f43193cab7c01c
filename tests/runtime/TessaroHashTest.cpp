// The support library's digests against the published test vectors, its
// random bytes: filled, and not the same twice; and its answer to a Digest
// challenge, read back parameter by parameter.

#include <gtest/gtest.h>

#include "support/DigestParameters.h"
#include "tessaro_hash.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

TEST(TessaroHashTest, DigestsMatchThePublishedVectors)
{
    const struct {
        int kind;
        std::string data;
        const char* hex;
    } cases[] = {
        // MD5's test suite
        {TESSARO_HASH_MD5, "", "d41d8cd98f00b204e9800998ecf8427e"},
        {TESSARO_HASH_MD5, "abc", "900150983cd24fb0d6963f7d28e17f72"},
        {TESSARO_HASH_MD5, "message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {TESSARO_HASH_MD5, "12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        // SHA-256's
        {TESSARO_HASH_SHA256, "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {TESSARO_HASH_SHA256, "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {TESSARO_HASH_SHA256, "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {TESSARO_HASH_SHA256, std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        // SHA-1's (FIPS 180's examples)
        {TESSARO_HASH_SHA1, "", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {TESSARO_HASH_SHA1, "abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {TESSARO_HASH_SHA1, "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        // bytes past a NUL count
        {TESSARO_HASH_SHA256, std::string("a\0b", 3), "59b271ae1bbcb1d31d41929817f4b16fb439eb4f31520b5ad1d5ce98920a7138"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data.substr(0, 60));
        char hex[TESSARO_HASH_MAX_HEX];
        unsigned char digest[TESSARO_HASH_MAX_SIZE];
        ASSERT_EQ(tessaro_hash_hex(c.kind, c.data.data(), c.data.size(), hex), 0);
        EXPECT_STREQ(hex, c.hex);
        EXPECT_EQ(tessaro_hash(c.kind, c.data.data(), c.data.size(), digest), std::string(c.hex).size() / 2);
    }
}

TEST(TessaroHashTest, AnUnknownKindGivesNoDigest)
{
    char hex[TESSARO_HASH_MAX_HEX] = "x";
    unsigned char digest[TESSARO_HASH_MAX_SIZE];
    EXPECT_EQ(tessaro_hash(7, "abc", 3, digest), 0u);
    EXPECT_EQ(tessaro_hash_hex(-1, "abc", 3, hex), -1);
    EXPECT_STREQ(hex, "");
}

TEST(TessaroHashTest, RandomBytesDifferFromCallToCall)
{
    unsigned char first[16] = {}, second[16] = {};
    ASSERT_EQ(tessaro_random(first, sizeof(first)), 0);
    ASSERT_EQ(tessaro_random(second, sizeof(second)), 0);
    EXPECT_NE(std::string(reinterpret_cast<char*>(first), sizeof(first)),
              std::string(reinterpret_cast<char*>(second), sizeof(second)));
    EXPECT_EQ(tessaro_random(first, 0), 0);
}

TEST(TessaroHashTest, DigestValueCarriesTheParametersItsResponseWasMadeOf)
{
    const struct {
        const char* user;
        const char* realm;
        const char* opaque;
        int algorithm;
        int session;
        int qop;
        unsigned long nc;
        const char* algorithmName;
    } cases[] = {
        {"Mufasa", "testrealm@host.com", "5ccc069c403ebaf9f0171e9517f40e41", TESSARO_HASH_MD5, 0, 1, 1, "MD5"},
        {"Mufasa", "http-auth@example.org", nullptr, TESSARO_HASH_SHA256, 0, 1, 0x1234abcd, "SHA-256"},
        {"a\"b\\c", "r \"q\"", "o\\", TESSARO_HASH_MD5, 1, 1, 2, "MD5-sess"},
        {"u", "r", nullptr, TESSARO_HASH_SHA256, 1, 1, 3, "SHA-256-sess"},
        {"u", "r", nullptr, TESSARO_HASH_SHA256, 0, 0, 4, "SHA-256"},
        {"u", "r", "o", TESSARO_HASH_MD5, 0, 0, 0xffffffffUL, "MD5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.algorithmName + std::string(" user ") + c.user);
        const tessaro_digest_ask ask{c.realm, "dcd98b7102dd2f0e8b11d0f600bfb0c093", c.opaque, c.algorithm, c.session, c.qop};
        char value[1024];
        ASSERT_EQ(tessaro_digest_value(&ask, c.nc, c.user, "Circle Of Life", "POST", "/dir/index.html", value, sizeof(value)), 0);
        auto parameters = testsupport::digestParameters(value);
        EXPECT_EQ(std::string(value).rfind("Digest username=\"", 0), 0u) << value;
        std::vector<std::string> names;
        for (const auto& parameter : parameters)
            names.push_back(parameter.first);
        std::vector<std::string> expected = {"algorithm", "nonce", "realm", "response", "uri", "username"};
        if (c.qop)
            expected.insert(expected.end(), {"cnonce", "nc", "qop"});
        if (c.opaque)
            expected.push_back("opaque");
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(names, expected) << value;
        EXPECT_EQ(parameters["username"], c.user);
        EXPECT_EQ(parameters["realm"], c.realm);
        EXPECT_EQ(parameters["nonce"], ask.nonce);
        EXPECT_EQ(parameters["uri"], "/dir/index.html");
        EXPECT_EQ(parameters["algorithm"], c.algorithmName);
        EXPECT_EQ(parameters["opaque"], c.opaque ? c.opaque : "");
        char hex[16];
        std::snprintf(hex, sizeof(hex), "%08lx", c.nc);
        const std::string cnonce = parameters["cnonce"];
        if (c.qop) {
            EXPECT_EQ(parameters["qop"], "auth");
            EXPECT_EQ(parameters["nc"], hex);
            EXPECT_EQ(cnonce.size(), 32u);
        }
        // the response is the one of the nc and cnonce the value names
        char made[TESSARO_HASH_MAX_HEX];
        ASSERT_EQ(tessaro_digest_response(&ask, c.user, "Circle Of Life", "POST", "/dir/index.html", hex, cnonce.c_str(), made), 0);
        EXPECT_EQ(parameters["response"], made);
    }
}

TEST(TessaroHashTest, DigestValueThatDoesNotFitIsRefused)
{
    const tessaro_digest_ask ask{"r\"ealm", "nonce", "opaque", TESSARO_HASH_SHA256, 1, 1};
    char value[512];
    ASSERT_EQ(tessaro_digest_value(&ask, 1, "us\\er", "pw", "POST", "/u", value, sizeof(value)), 0);
    const std::size_t needed = std::string(value).size() + 1;
    for (std::size_t size = 0; size < needed; ++size) {
        SCOPED_TRACE(size);
        EXPECT_EQ(tessaro_digest_value(&ask, 1, "us\\er", "pw", "POST", "/u", value, size), -1);
    }
    EXPECT_EQ(tessaro_digest_value(&ask, 1, "us\\er", "pw", "POST", "/u", value, needed), 0);
    EXPECT_EQ(std::string(value).size() + 1, needed);
}

} // namespace
