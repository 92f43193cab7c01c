/* tessaro: the digests and random bytes HTTP Digest authentication and
 * WS-Security need, from the platform's crypto (libcrypto on Unix, BCrypt on
 * Windows), and the answer to an HTTP Digest challenge made of them (the
 * generated clients and the program's own calls answer with it). */
#ifndef TESSARO_HASH_H
#define TESSARO_HASH_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TESSARO_HASH_MD5	0
#define TESSARO_HASH_SHA256	1
#define TESSARO_HASH_SHA1	2
/* The largest digest's size in bytes, and its room as lower-case hex text. */
#define TESSARO_HASH_MAX_SIZE	32
#define TESSARO_HASH_MAX_HEX	(2 * TESSARO_HASH_MAX_SIZE + 1)

/* The digest of data[0..length) of the kind given into digest (room for
 * TESSARO_HASH_MAX_SIZE bytes); its size, 0 for an unknown kind or when the
 * platform's crypto fails. */
size_t tessaro_hash(int kind, const void *data, size_t length, unsigned char *digest);
/* The same digest as lower-case hex text into hex (TESSARO_HASH_MAX_HEX
 * bytes); 0, or -1 with hex empty. */
int tessaro_hash_hex(int kind, const void *data, size_t length, char *hex);
/* count bytes from the platform's cryptographic random source; 0, or -1. */
int tessaro_random(void *bytes, size_t count);

/* What one HTTP Digest challenge (RFC 7616, RFC 2617) asks of its answer. */
typedef struct tessaro_digest_ask {
	const char *realm;
	const char *nonce;
	const char *opaque;	/* NULL when the challenge gave none */
	int algorithm;		/* TESSARO_HASH_MD5 or TESSARO_HASH_SHA256 */
	int session;		/* the -sess variant of the algorithm */
	int qop;		/* 1 qop=auth; 0 a server without qop (RFC 2069's kind) */
} tessaro_digest_ask;

/* The response of a request (method and uri as its request line names them)
 * as hex into response (TESSARO_HASH_MAX_HEX bytes): H(A1) with A1
 * user:realm:password (the -sess variants hash it again with the nonces),
 * H(A2) with A2 method:uri, then with qop=auth
 * H(HA1:nonce:nc:cnonce:auth:HA2), without qop H(HA1:nonce:HA2). 0, or -1
 * when the platform's crypto failed or no memory was had. */
int tessaro_digest_response(const tessaro_digest_ask *ask, const char *user, const char *password, const char *method,
		const char *uri, const char *nc, const char *cnonce, char *response);
/* The Digest value of a request's Authorization or Proxy-Authorization line
 * for the nc-th request sent with the nonce, with a fresh random cnonce,
 * into value (size bytes); 0, or -1 when no random cnonce could be had, the
 * response could not be made or the value does not fit. */
int tessaro_digest_value(const tessaro_digest_ask *ask, unsigned long nc, const char *user, const char *password,
		const char *method, const char *uri, char *value, size_t size);

#ifdef __cplusplus
}
#endif

#endif
