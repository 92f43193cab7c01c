/* tessaro: the digests and random bytes HTTP Digest authentication and
 * WS-Security need, from the platform's crypto (libcrypto on Unix, BCrypt on
 * Windows). */
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

#ifdef __cplusplus
}
#endif

#endif
