/* tessaro: PEM files on Windows (tessaro_pem.h). */
#ifdef _WIN32
#include "tessaro_pem.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <windows.h>
#include <wincrypt.h>

/* no key or certificate file comes near this */
#define TESSARO_PEM_MAX_FILE (64L << 20)

char *tessaro_pem_read(const char *path, size_t *length)
{
    FILE *file = fopen(path, "rb");
    char *text = NULL;
    long size;

    if (file == NULL)
        return NULL;
    if (fseek(file, 0, SEEK_END) == 0 && (size = ftell(file)) >= 0 && size < TESSARO_PEM_MAX_FILE &&
        fseek(file, 0, SEEK_SET) == 0 && (text = (char *)malloc((size_t)size + 1)) != NULL &&
        fread(text, 1, (size_t)size, file) == (size_t)size) {
        text[size] = '\0';
        *length = (size_t)size;
    } else {
        free(text);
        text = NULL;
    }
    fclose(file);
    return text;
}

unsigned char *tessaro_pem_block(const char **at, const char *kind, unsigned long *length)
{
    char begin[64], end[64];
    const char *start, *stop;
    BYTE *der;

    snprintf(begin, sizeof(begin), "-----BEGIN %s-----", kind);
    snprintf(end, sizeof(end), "-----END %s-----", kind);
    if ((start = strstr(*at, begin)) == NULL || (stop = strstr(start, end)) == NULL)
        return NULL;
    stop += strlen(end);
    *at = stop;
    *length = 0;
    if (!CryptStringToBinaryA(start, (DWORD)(stop - start), CRYPT_STRING_BASE64HEADER, NULL, length, NULL, NULL) ||
        (der = (BYTE *)malloc(*length)) == NULL)
        return NULL;
    if (!CryptStringToBinaryA(start, (DWORD)(stop - start), CRYPT_STRING_BASE64HEADER, der, length, NULL, NULL)) {
        free(der);
        return NULL;
    }
    return der;
}

/* The DER item of the tag at *at (before end): its content into *content and *length, *at past it. */
static int tessaro_pem_der_item(const BYTE **at, const BYTE *end, BYTE tag, const BYTE **content, DWORD *length)
{
    const BYTE *p = *at;
    DWORD size = 0, bytes;

    if (end - p < 2 || *p++ != tag)
        return -1;
    if (*p < 0x80) {
        size = *p++;
    } else {
        for (bytes = *p++ & 0x7f; bytes > 0; bytes--) {
            if (p == end || bytes > 4)
                return -1;
            size = (size << 8) | *p++;
        }
    }
    if ((DWORD)(end - p) < size)
        return -1;
    *content = p;
    *length = size;
    *at = p + size;
    return 0;
}

/* The PKCS#1 key a PKCS#8 PrivateKeyInfo holds: SEQUENCE { version, algorithm, OCTET STRING key }. */
static int tessaro_pem_pkcs8_key(const BYTE *der, DWORD length, const BYTE **key, DWORD *key_length)
{
    const BYTE *at = der, *info, *item;
    DWORD info_length, item_length;

    if (tessaro_pem_der_item(&at, der + length, 0x30, &info, &info_length) != 0)
        return -1;
    at = info;
    return tessaro_pem_der_item(&at, info + info_length, 0x02, &item, &item_length) == 0 &&
                   tessaro_pem_der_item(&at, info + info_length, 0x30, &item, &item_length) == 0 &&
                   tessaro_pem_der_item(&at, info + info_length, 0x04, key, key_length) == 0
               ? 0
               : -1;
}

unsigned char *tessaro_pem_rsa_key(const char *text, unsigned long *size)
{
    const char *at = text;
    DWORD length = 0, rsa_length = 0;
    BYTE *der = tessaro_pem_block(&at, "PRIVATE KEY", &length), *blob = NULL;
    const BYTE *rsa = NULL;

    *size = 0;
    if (der != NULL) {
        if (tessaro_pem_pkcs8_key(der, length, &rsa, &rsa_length) != 0)
            rsa = NULL;
    } else if ((der = tessaro_pem_block(&at, "RSA PRIVATE KEY", &length)) != NULL) {
        rsa = der;
        rsa_length = length;
    }
    if (rsa != NULL && !CryptDecodeObjectEx(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, PKCS_RSA_PRIVATE_KEY, rsa, rsa_length,
                                            CRYPT_DECODE_ALLOC_FLAG, NULL, &blob, size))
        blob = NULL;
    if (der != NULL) {
        SecureZeroMemory(der, length);
        free(der);
    }
    return blob;
}
#else
/* Other platforms read PEM files with OpenSSL; an empty unit is not ISO C. */
typedef int tessaro_pem_unused;
#endif
