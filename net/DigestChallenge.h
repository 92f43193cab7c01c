#pragma once

#include <string>
#include <vector>

// An HTTP Digest challenge (RFC 7616, RFC 2617) of a WWW-Authenticate value,
// as much of it as an answer needs. The answer itself is the support
// library's (tessaro_digest_value), which the generated clients use too.
struct DigestChallenge {
    std::string realm;
    std::string nonce;
    std::string opaque;
    bool opaqueGiven = false;
    bool sha256 = false;   // SHA-256 rather than MD5
    bool session = false;  // the -sess variant
    bool qop = false;      // qop=auth offered; false for a server without qop
    bool stale = false;
};

// The first Digest challenge among the values (each one header line's value,
// which may list several challenges) that can be answered: qop "auth" or
// none (auth-int alone would need the body's hash), MD5 or SHA-256 or their
// -sess variants, and a nonce. False when there is none.
bool readDigestChallenge(const std::vector<std::string>& values, DigestChallenge& challenge);
