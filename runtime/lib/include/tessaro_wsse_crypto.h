/* tessaro: the RSA signatures and certificates of WS-Security, from the
 * platform's crypto: libcrypto on Unix, BCrypt and CryptoAPI on Windows. */
#ifndef TESSARO_WSSE_CRYPTO_H
#define TESSARO_WSSE_CRYPTO_H

#include <stddef.h>

#include "tessaro_wsse.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The signature (TESSARO_WSSE_RSA_) of data[0..length) with the key, malloc'ed
 * into *signature; 0, or -1 with why. */
int tessaro_wsse_sign_bytes(const tessaro_wsse_key_t *key, int method, const void *data, size_t length,
	unsigned char **signature, size_t *signature_length, char *why, size_t why_size);
/* The key's certificate in DER; 0, or -1. */
int tessaro_wsse_key_certificate(const tessaro_wsse_key_t *key, const unsigned char **der, size_t *length);
/* Whether signature is the signature (TESSARO_WSSE_RSA_) of data by the key of the DER certificate:
 * 0, TESSARO_WSSE_FAILED_CHECK when it is not, TESSARO_WSSE_SECURITY_TOKEN when the certificate
 * cannot be read. */
int tessaro_wsse_verify_bytes(const unsigned char *der, size_t der_length, int method, const void *data, size_t length,
	const unsigned char *signature, size_t signature_length, char *why, size_t why_size);
/* Whether the DER certificate is trusted (one of trust's or issued by one, within its dates):
 * 0, or TESSARO_WSSE_FAILED_AUTH with why. */
int tessaro_wsse_trusted(const tessaro_wsse_trust_t *trust, const unsigned char *der, size_t der_length, char *why, size_t why_size);

#ifdef __cplusplus
}
#endif

#endif
