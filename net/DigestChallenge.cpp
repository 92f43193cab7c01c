// Reading a Digest challenge out of WWW-Authenticate values with the support
// library's reader, the one the generated clients use.
#include "net/DigestChallenge.h"

#include "tessaro_digest_challenge.h"
#include "tessaro_hash.h"

namespace {

// One value's first answerable challenge. A value cannot hold a parameter
// longer than itself, so room for the whole value bounds none of them.
bool readValue(const std::string& value, DigestChallenge& challenge)
{
    std::vector<char> realm(value.size() + 1), nonce(value.size() + 1), opaque(value.size() + 1);
    tessaro_digest_challenge reading = {};
    reading.realm = realm.data();
    reading.nonce = nonce.data();
    reading.opaque = opaque.data();
    reading.room = value.size() + 1;
    int basic = 0;
    if (tessaro_digest_challenge_read(value.data(), 0, value.size(), &reading, &basic) != 0)
        return false;
    challenge.realm = reading.realm;
    challenge.nonce = reading.nonce;
    challenge.opaque = reading.opaque;
    challenge.opaqueGiven = reading.opaque_given != 0;
    challenge.sha256 = reading.algorithm == TESSARO_HASH_SHA256;
    challenge.session = reading.session != 0;
    challenge.qop = reading.qop != 0;
    challenge.stale = reading.stale != 0;
    return true;
}

}  // namespace

bool readDigestChallenge(const std::vector<std::string>& values, DigestChallenge& challenge)
{
    for (const std::string& value : values) {
        if (readValue(value, challenge))
            return true;
    }
    return false;
}
