// The support library's digests against the published test vectors, and
// its random bytes: filled, and not the same twice.

#include <gtest/gtest.h>

#include "tessaro_hash.h"

#include <string>

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

} // namespace
