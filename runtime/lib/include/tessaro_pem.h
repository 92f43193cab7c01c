/* tessaro: PEM files on Windows, read through CryptoAPI: the DER of their
 * blocks and the RSA private key they hold, for WS-Security's signatures and
 * the TLS server's certificate. Other platforms read them with OpenSSL. */
#ifndef TESSARO_PEM_H
#define TESSARO_PEM_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The whole file, malloc'ed and ended by a 0, its size into *length; NULL when it cannot be
 * read or is larger than any key or certificate file. */
char *tessaro_pem_read(const char *path, size_t *length);
/* The DER of the first block of the kind ("CERTIFICATE", "PRIVATE KEY"...) at or after *at,
 * malloc'ed, its size into *length; *at moves past the block. NULL when there is none. */
unsigned char *tessaro_pem_block(const char **at, const char *kind, unsigned long *length);
/* The RSA private key of the PEM text (PKCS#8 or PKCS#1, not encrypted) as a CryptoAPI
 * PRIVATEKEYBLOB, LocalAlloc'ed, its size into *size: the caller wipes it and frees it with
 * LocalFree. NULL when the text holds no such key. */
unsigned char *tessaro_pem_rsa_key(const char *text, unsigned long *size);

#ifdef __cplusplus
}
#endif

#endif
