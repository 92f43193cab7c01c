/* tessaro: digests and random bytes from the platform's crypto. */
#include "tessaro_hash.h"

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
