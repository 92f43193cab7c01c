/* tessaro: reading an HTTP Digest challenge (RFC 7616, RFC 2617) out of a
 * WWW-Authenticate or Proxy-Authenticate value, as much of it as an answer
 * (tessaro_digest_value) needs. The generated clients and the program's own
 * calls read with it. */
#ifndef TESSARO_DIGEST_CHALLENGE_H
#define TESSARO_DIGEST_CHALLENGE_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One Digest challenge. realm, nonce and opaque are the caller's, room
 * bytes each; a value that does not fit spoils the rest of the text. */
typedef struct tessaro_digest_challenge {
	char *realm;
	char *nonce;
	char *opaque;
	size_t room;
	int opaque_given;
	int algorithm;		/* TESSARO_HASH_MD5 or TESSARO_HASH_SHA256 */
	int session;		/* the -sess variant */
	int qop;		/* qop=auth offered; 0 for a server without qop */
	int stale;
} tessaro_digest_challenge;

/* The first Digest challenge of text[at..end) (a list of challenges, each a
 * scheme's name and its name=value parameters, tokens or quoted strings)
 * the client can answer: qop "auth" or none (auth-int alone would need the
 * body's hash), MD5 or SHA-256 or their -sess variants (those only with
 * qop, as their hash takes the client's nonce), and a nonce. The server
 * lists them as it prefers them. 0, or -1 for none, where the text broke
 * off or no memory was had; *basic is set when a Basic challenge comes
 * before the one taken. */
int tessaro_digest_challenge_read(const char *text, size_t at, size_t end, tessaro_digest_challenge *found, int *basic);

#ifdef __cplusplus
}
#endif

#endif
