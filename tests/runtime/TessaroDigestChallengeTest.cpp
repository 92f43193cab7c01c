// The support library's Digest challenge reader at the edges its C callers
// meet: the caller's room, the span of text given, the Basic challenge seen
// before, and nothing of a challenge passed over left in the one taken.

#include <gtest/gtest.h>

#include "tessaro_digest_challenge.h"
#include "tessaro_hash.h"

#include <cstring>
#include <string>

namespace {

TEST(TessaroDigestChallengeTest, ReadsWithinTheSpanAndTheRoomGiven)
{
    const struct {
        const char* name;
        std::string text;
        std::size_t at, end;  // end 0: the whole text
        std::size_t room;
        int result;
        const char* realm;
        const char* nonce;
        const char* opaque;
        int opaqueGiven, basic, algorithm;
    } cases[] = {
        {"a nonce that just fits", "Digest realm=r, nonce=\"1234567\"", 0, 0, 8, 0, "r", "1234567", "", 0, 0,
         TESSARO_HASH_MD5},
        {"a nonce one byte past the room", "Digest realm=r, nonce=\"12345678\"", 0, 0, 8, -1, "", "", "", 0, 0, 0},
        {"an unknown parameter past the room spoils the rest", "Digest nonce=n, domain=\"/a/long/path\"", 0, 0, 8, -1, "",
         "", "", 0, 0, 0},
        {"the end given cuts the nonce short", "Digest nonce=n123, qop=auth", 0, 15, 64, 0, "", "n1", "", 0, 0,
         TESSARO_HASH_MD5},
        {"reading starts where told", "Basic realm=x, Digest nonce=n, algorithm=SHA-256", 14, 0, 64, 0, "", "n", "", 0, 0,
         TESSARO_HASH_SHA256},
        {"Basic before the Digest taken", "Basic realm=x, Digest nonce=n", 0, 0, 64, 0, "", "n", "", 0, 1,
         TESSARO_HASH_MD5},
        {"a challenge passed over leaves nothing behind",
         "Digest realm=old, nonce=a, opaque=o, algorithm=SHA-256, qop=auth-int, Digest nonce=b", 0, 0, 64, 0, "", "b", "",
         0, 0, TESSARO_HASH_MD5},
        {"no room at all", "Digest nonce=n", 0, 0, 0, -1, "", "", "", 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        char realm[64], nonce[64], opaque[64];
        tessaro_digest_challenge found = {};
        found.realm = realm;
        found.nonce = nonce;
        found.opaque = opaque;
        found.room = c.room;
        int basic = 0;
        const std::size_t end = c.end == 0 ? c.text.size() : c.end;
        ASSERT_EQ(tessaro_digest_challenge_read(c.text.c_str(), c.at, end, &found, &basic), c.result);
        if (c.result != 0)
            continue;
        EXPECT_STREQ(realm, c.realm);
        EXPECT_STREQ(nonce, c.nonce);
        EXPECT_STREQ(opaque, c.opaque);
        EXPECT_EQ(found.opaque_given, c.opaqueGiven);
        EXPECT_EQ(basic, c.basic);
        EXPECT_EQ(found.algorithm, c.algorithm);
    }
}

}  // namespace
