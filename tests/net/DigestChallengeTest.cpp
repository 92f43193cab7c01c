// The Digest challenge read from WWW-Authenticate values: the first one the
// client can answer, among other schemes and challenges it cannot.
#include "net/DigestChallenge.h"

#include <gtest/gtest.h>

namespace {

TEST(DigestChallengeTest, TheFirstAnswerableChallengeIsTaken)
{
    const struct {
        const char* name;
        std::vector<std::string> values;
        bool found;
        const char* realm;
        const char* nonce;
        bool sha256, session, qop, opaqueGiven, stale;
    } cases[] = {
        {"after Basic in one value", {"Basic realm=\"x\", Digest realm=\"r\", nonce=\"n1\", qop=\"auth,auth-int\", algorithm=SHA-256"},
         true, "r", "n1", true, false, true, false, false},
        {"an unknown algorithm, then another line",
         {"Digest realm=\"r\", nonce=\"n1\", algorithm=SHA-512-256", "Digest realm=\"r\", nonce=\"n2\", algorithm=MD5, qop=auth"},
         true, "r", "n2", false, false, true, false, false},
        {"auth-int alone", {"Digest realm=\"r\", nonce=\"n1\", qop=\"auth-int\""}, false, "", "", false, false, false, false, false},
        {"no nonce", {"Digest realm=\"r\", qop=\"auth\""}, false, "", "", false, false, false, false, false},
        {"escapes, a comma quoted, opaque and stale",
         {"Digest realm=\"a\\\"b\\\\c\", nonce=\"n,1\", opaque=\"o\", stale=TRUE, qop=auth"}, true, "a\"b\\c", "n,1", false,
         false, true, true, true},
        {"a quote left open", {"Digest realm=\"r\", nonce=\"n1"}, false, "", "", false, false, false, false, false},
        {"after a token68, a token nonce and -sess in any case",
         {"Newauth abc==, Digest nonce=n1, algorithm=md5-SESS, qop=\"auth\""}, true, "", "n1", false, true, true, false, false},
        {"without qop", {"DIGEST realm=\"r\", nonce=\"n1\""}, true, "r", "n1", false, false, false, false, false},
        {"a session algorithm without qop, then one with",
         {"Digest realm=\"r\", nonce=\"n1\", algorithm=SHA-256-sess", "Digest realm=\"r\", nonce=\"n2\", algorithm=MD5-sess, qop=auth"},
         true, "r", "n2", false, true, true, false, false},
        {"a session algorithm without qop alone", {"Digest realm=\"r\", nonce=\"n1\", algorithm=MD5-sess"}, false, "", "",
         false, false, false, false, false},
        {"Basic only", {"Basic realm=\"x\""}, false, "", "", false, false, false, false, false},
        {"nothing", {}, false, "", "", false, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DigestChallenge challenge;
        ASSERT_EQ(readDigestChallenge(c.values, challenge), c.found);
        if (!c.found)
            continue;
        EXPECT_EQ(challenge.realm, c.realm);
        EXPECT_EQ(challenge.nonce, c.nonce);
        EXPECT_EQ(challenge.sha256, c.sha256);
        EXPECT_EQ(challenge.session, c.session);
        EXPECT_EQ(challenge.qop, c.qop);
        EXPECT_EQ(challenge.opaqueGiven, c.opaqueGiven);
        EXPECT_EQ(challenge.stale, c.stale);
    }
}

}  // namespace
