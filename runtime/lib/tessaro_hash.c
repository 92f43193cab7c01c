/* tessaro: digests and random bytes from the platform's crypto. */
#include "tessaro_hash.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#include <bcrypt.h>
#else
#include <limits.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#endif

#ifdef _WIN32
size_t tessaro_hash(int kind, const void *data, size_t length, unsigned char *digest)
{
	BCRYPT_ALG_HANDLE algorithm = NULL;
	BCRYPT_HASH_HANDLE hash = NULL;
	ULONG size = kind == TESSARO_HASH_MD5 ? 16 : kind == TESSARO_HASH_SHA1 ? 20 : 32;
	LPCWSTR name = kind == TESSARO_HASH_MD5 ? BCRYPT_MD5_ALGORITHM : kind == TESSARO_HASH_SHA1 ? BCRYPT_SHA1_ALGORITHM : BCRYPT_SHA256_ALGORITHM;
	int done = 0;

	if((kind != TESSARO_HASH_MD5 && kind != TESSARO_HASH_SHA256 && kind != TESSARO_HASH_SHA1) || length > 0xffffffffu)
		return 0;
	if(!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, name, NULL, 0)))
		return 0;
	if(BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, NULL, 0, NULL, 0, 0))){
		done = BCRYPT_SUCCESS(BCryptHashData(hash, (PUCHAR)data, (ULONG)length, 0)) &&
			BCRYPT_SUCCESS(BCryptFinishHash(hash, digest, size, 0));
		BCryptDestroyHash(hash);
	}
	BCryptCloseAlgorithmProvider(algorithm, 0);
	return done ? size : 0;
}

int tessaro_random(void *bytes, size_t count)
{
	if(count > 0xffffffffu)
		return -1;
	return BCRYPT_SUCCESS(BCryptGenRandom(NULL, (PUCHAR)bytes, (ULONG)count, BCRYPT_USE_SYSTEM_PREFERRED_RNG)) ? 0 : -1;
}
#else
size_t tessaro_hash(int kind, const void *data, size_t length, unsigned char *digest)
{
	unsigned int size = 0;
	const EVP_MD *md = kind == TESSARO_HASH_MD5 ? EVP_md5() : kind == TESSARO_HASH_SHA256 ? EVP_sha256() :
		kind == TESSARO_HASH_SHA1 ? EVP_sha1() : NULL;

	if(md == NULL || EVP_Digest(data, length, digest, &size, md, NULL) != 1)
		return 0;
	return size;
}

int tessaro_random(void *bytes, size_t count)
{
	if(count > INT_MAX)
		return -1;
	return RAND_bytes((unsigned char *)bytes, (int)count) == 1 ? 0 : -1;
}
#endif

int tessaro_hash_hex(int kind, const void *data, size_t length, char *hex)
{
	static const char digits[] = "0123456789abcdef";
	unsigned char digest[TESSARO_HASH_MAX_SIZE];
	size_t size = tessaro_hash(kind, data, length, digest);
	size_t i;

	for(i = 0; i < size; i++){
		hex[2 * i] = digits[digest[i] >> 4];
		hex[2 * i + 1] = digits[digest[i] & 15];
	}
	hex[2 * size] = '\0';
	return size > 0 ? 0 : -1;
}

/* the hash of the text joined of count parts with ':' between, as hex */
static int digest_joined(int algorithm, const char *const *parts, size_t count, char *hex)
{
	size_t	length = 0, at = 0, i, n;
	char	*text;
	int	result;

	for(i = 0; i < count; i++)
		length += strlen(parts[i]) + 1;
	if((text = (char *)malloc(length)) == NULL)
		return -1;
	for(i = 0; i < count; i++){
		n = strlen(parts[i]);
		memcpy(text + at, parts[i], n);
		at += n;
		text[at++] = ':';
	}
	result = tessaro_hash_hex(algorithm, text, at - 1, hex);
	memset(text, 0, length);
	free(text);
	return result;
}

int tessaro_digest_response(const tessaro_digest_ask *ask, const char *user, const char *password, const char *method,
		const char *uri, const char *nc, const char *cnonce, char *response)
{
	char	ha1[TESSARO_HASH_MAX_HEX], ha2[TESSARO_HASH_MAX_HEX];
	const char	*a1[] = {user, ask->realm, password};
	const char	*a1_sess[] = {ha1, ask->nonce, cnonce};
	const char	*a2[] = {method, uri};
	const char	*with_qop[] = {ha1, ask->nonce, nc, cnonce, "auth", ha2};
	const char	*without_qop[] = {ha1, ask->nonce, ha2};
	int	result;

	result = digest_joined(ask->algorithm, a1, 3, ha1);
	if(result == 0 && ask->session)
		result = digest_joined(ask->algorithm, a1_sess, 3, ha1);
	if(result == 0)
		result = digest_joined(ask->algorithm, a2, 2, ha2);
	if(result == 0)
		result = ask->qop ? digest_joined(ask->algorithm, with_qop, 6, response)
			: digest_joined(ask->algorithm, without_qop, 3, response);
	memset(ha1, 0, sizeof(ha1));
	return result;
}

/* appends text at value[*at..size), kept ended; -1 when it does not fit */
static int digest_put(char *value, size_t size, size_t *at, const char *text)
{
	size_t	n = strlen(text);

	if(*at + n >= size)
		return -1;
	memcpy(value + *at, text, n + 1);
	*at += n;
	return 0;
}

/* the same as a quoted string: a quote or a backslash escaped */
static int digest_put_quoted(char *value, size_t size, size_t *at, const char *text)
{
	char	piece[3] = {'\\', 0, 0};

	if(digest_put(value, size, at, "\"") != 0)
		return -1;
	for(; *text != '\0'; text++){
		piece[1] = *text;
		if(digest_put(value, size, at, *text == '"' || *text == '\\' ? piece : piece + 1) != 0)
			return -1;
	}
	return digest_put(value, size, at, "\"");
}

/* the value's parameters in order, each put after the one before it (a parameter without text is
 * left out); -1 at the first that does not fit */
static int digest_put_fields(char *value, size_t size, const tessaro_digest_ask *ask, const char *user, const char *uri,
		const char *algorithm, const char *response, const char *count, const char *cnonce)
{
	const struct {
		const char *lead;
		const char *text;
		int quoted;
	} fields[] = {
		{"Digest username=", user, 1}, {", realm=", ask->realm, 1}, {", nonce=", ask->nonce, 1}, {", uri=", uri, 1},
		{", algorithm=", algorithm, 0}, {", response=", response, 1},
		{", qop=auth, nc=", ask->qop ? count : NULL, 0}, {", cnonce=", ask->qop ? cnonce : NULL, 1},
		{", opaque=", ask->opaque, 1},
	};
	size_t	at = 0, i;

	value[0] = '\0';
	for(i = 0; i < sizeof(fields) / sizeof(fields[0]); i++){
		if(fields[i].text == NULL)
			continue;
		if(digest_put(value, size, &at, fields[i].lead) != 0 || (fields[i].quoted ? digest_put_quoted(value, size, &at, fields[i].text)
				: digest_put(value, size, &at, fields[i].text)) != 0)
			return -1;
	}
	return 0;
}

int tessaro_digest_value(const tessaro_digest_ask *ask, unsigned long nc, const char *user, const char *password,
		const char *method, const char *uri, char *value, size_t size)
{
	static const char *const algorithms[] = {"MD5", "SHA-256", "MD5-sess", "SHA-256-sess"};
	unsigned char	random[16];
	char	cnonce[2 * sizeof(random) + 1], count[16], response[TESSARO_HASH_MAX_HEX];
	size_t	i;
	int	result;

	if(size == 0 || tessaro_random(random, sizeof(random)) != 0)
		return -1;
	for(i = 0; i < sizeof(random); i++)
		snprintf(cnonce + 2 * i, 3, "%02x", random[i]);
	snprintf(count, sizeof(count), "%08lx", nc & 0xffffffffUL);
	if(tessaro_digest_response(ask, user, password, method, uri, count, cnonce, response) != 0)
		return -1;
	result = digest_put_fields(value, size, ask, user, uri,
		algorithms[2 * (ask->session != 0) + (ask->algorithm == TESSARO_HASH_SHA256)], response, count, cnonce);
	memset(response, 0, sizeof(response));
	return result;
}
