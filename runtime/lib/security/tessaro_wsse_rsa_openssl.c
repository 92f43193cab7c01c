/* tessaro: WS-Security's keys, certificates and RSA signatures through
 * libcrypto, as the TLS layer uses it (Unix). */
#ifndef _WIN32
#include "tessaro_wsse_crypto.h"
#include "tessaro_wsse_xml.h"

#include <stdlib.h>
#include <string.h>

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

struct tessaro_wsse_key {
	EVP_PKEY *pkey;
	X509 *certificate;
	unsigned char *der;
	size_t der_length;
};

struct tessaro_wsse_trust {
	X509_STORE *store;
};

/* the reason libcrypto's last error gives, or the fallback */
static const char *tessaro_wsse_ssl_reason(const char *fallback)
{
	const char *reason = ERR_reason_error_string(ERR_peek_last_error());

	ERR_clear_error();
	return reason != NULL ? reason : fallback;
}

static const EVP_MD *tessaro_wsse_md(int method)
{
	return method == TESSARO_WSSE_RSA_SHA1 ? EVP_sha1() : EVP_sha256();
}

int tessaro_wsse_key_load(tessaro_wsse_key_t **key, const char *key_file, const char *cert_file, const char *password,
	char *why, size_t why_size)
{
	tessaro_wsse_key_t *loaded = (tessaro_wsse_key_t *)calloc(1, sizeof(*loaded));
	const char *cert_path = cert_file != NULL ? cert_file : key_file;
	BIO *bio = NULL;
	unsigned char *der = NULL;
	int length;

	*key = NULL;
	tessaro_wsse_fail_clear(why, why_size);
	if(loaded == NULL)
		return tessaro_wsse_fail(-1, why, why_size, "no memory");
	if(tessaro_wsse_readable(key_file, why, why_size) != 0 || tessaro_wsse_readable(cert_path, why, why_size) != 0){
		free(loaded);
		return -1;
	}
	if((bio = BIO_new_file(key_file, "r")) == NULL ||
			(loaded->pkey = PEM_read_bio_PrivateKey(bio, NULL, NULL, (void *)(password != NULL ? password : ""))) == NULL){
		tessaro_wsse_fail(-1, why, why_size, "%s: no PEM private key could be read (%s)", key_file, tessaro_wsse_ssl_reason("no such file"));
		goto failed;
	}
	BIO_free(bio);
	if((bio = BIO_new_file(cert_path, "r")) == NULL || (loaded->certificate = PEM_read_bio_X509(bio, NULL, NULL, NULL)) == NULL){
		tessaro_wsse_fail(-1, why, why_size, "%s: no PEM certificate could be read (%s)", cert_path, tessaro_wsse_ssl_reason("no such file"));
		goto failed;
	}
	if(X509_check_private_key(loaded->certificate, loaded->pkey) != 1 || EVP_PKEY_base_id(loaded->pkey) != EVP_PKEY_RSA){
		tessaro_wsse_fail(-1, why, why_size, "%s: the key is no RSA key of the certificate in %s", key_file, cert_path);
		ERR_clear_error();
		goto failed;
	}
	if((length = i2d_X509(loaded->certificate, &der)) <= 0){
		tessaro_wsse_fail(-1, why, why_size, "%s: the certificate cannot be written", cert_path);
		goto failed;
	}
	loaded->der = der;
	loaded->der_length = (size_t)length;
	BIO_free(bio);
	*key = loaded;
	return 0;
failed:
	BIO_free(bio);
	tessaro_wsse_key_free(loaded);
	return -1;
}

void tessaro_wsse_key_free(tessaro_wsse_key_t *key)
{
	if(key == NULL)
		return;
	EVP_PKEY_free(key->pkey);
	X509_free(key->certificate);
	OPENSSL_free(key->der);
	free(key);
}

int tessaro_wsse_trust_load(tessaro_wsse_trust_t **trust, const char *pem_file, char *why, size_t why_size)
{
	tessaro_wsse_trust_t *loaded = (tessaro_wsse_trust_t *)calloc(1, sizeof(*loaded));

	*trust = NULL;
	tessaro_wsse_fail_clear(why, why_size);
	if(tessaro_wsse_readable(pem_file, why, why_size) != 0){
		free(loaded);
		return -1;
	}
	if(loaded == NULL || (loaded->store = X509_STORE_new()) == NULL){
		free(loaded);
		return tessaro_wsse_fail(-1, why, why_size, "no memory");
	}
	if(X509_STORE_load_locations(loaded->store, pem_file, NULL) != 1){
		tessaro_wsse_fail(-1, why, why_size, "%s: no PEM certificate could be read (%s)", pem_file, tessaro_wsse_ssl_reason("no such file"));
		tessaro_wsse_trust_free(loaded);
		return -1;
	}
	/* a trusted signer's own certificate needs no issuer of its own */
	X509_STORE_set_flags(loaded->store, X509_V_FLAG_PARTIAL_CHAIN);
	*trust = loaded;
	return 0;
}

void tessaro_wsse_trust_free(tessaro_wsse_trust_t *trust)
{
	if(trust == NULL)
		return;
	X509_STORE_free(trust->store);
	free(trust);
}

int tessaro_wsse_sign_bytes(const tessaro_wsse_key_t *key, int method, const void *data, size_t length,
	unsigned char **signature, size_t *signature_length, char *why, size_t why_size)
{
	EVP_MD_CTX *context = EVP_MD_CTX_new();
	size_t size = 0;
	int done = 0;

	*signature = NULL;
	if(context != NULL && EVP_DigestSignInit(context, NULL, tessaro_wsse_md(method), NULL, key->pkey) == 1 &&
			EVP_DigestSign(context, NULL, &size, (const unsigned char *)data, length) == 1 &&
			(*signature = (unsigned char *)malloc(size)) != NULL &&
			EVP_DigestSign(context, *signature, &size, (const unsigned char *)data, length) == 1)
		done = 1;
	EVP_MD_CTX_free(context);
	if(done){
		*signature_length = size;
		return 0;
	}
	free(*signature);
	*signature = NULL;
	return tessaro_wsse_fail(-1, why, why_size, "signing failed (%s)", tessaro_wsse_ssl_reason("no memory"));
}

int tessaro_wsse_key_certificate(const tessaro_wsse_key_t *key, const unsigned char **der, size_t *length)
{
	*der = key->der;
	*length = key->der_length;
	return 0;
}

static X509 *tessaro_wsse_read_der(const unsigned char *der, size_t length)
{
	const unsigned char *at = der;
	X509 *certificate = length <= 0x7fffffff ? d2i_X509(NULL, &at, (long)length) : NULL;

	/* the whole token is the certificate, nothing after it */
	if(certificate != NULL && at != der + length){
		X509_free(certificate);
		return NULL;
	}
	return certificate;
}

int tessaro_wsse_verify_bytes(const unsigned char *der, size_t der_length, int method, const void *data, size_t length,
	const unsigned char *signature, size_t signature_length, char *why, size_t why_size)
{
	X509 *certificate = tessaro_wsse_read_der(der, der_length);
	EVP_MD_CTX *context;
	EVP_PKEY *pkey;
	int good = 0;

	if(certificate == NULL){
		ERR_clear_error();
		return tessaro_wsse_fail(TESSARO_WSSE_SECURITY_TOKEN, why, why_size, "the signer's certificate cannot be read");
	}
	pkey = X509_get0_pubkey(certificate);
	if(pkey != NULL && EVP_PKEY_base_id(pkey) == EVP_PKEY_RSA && (context = EVP_MD_CTX_new()) != NULL){
		good = EVP_DigestVerifyInit(context, NULL, tessaro_wsse_md(method), NULL, pkey) == 1 &&
			EVP_DigestVerify(context, signature, signature_length, (const unsigned char *)data, length) == 1;
		EVP_MD_CTX_free(context);
	}
	X509_free(certificate);
	ERR_clear_error();
	return good ? 0 : tessaro_wsse_fail(TESSARO_WSSE_FAILED_CHECK, why, why_size, "the signature does not match the signed information");
}

int tessaro_wsse_trusted(const tessaro_wsse_trust_t *trust, const unsigned char *der, size_t der_length, char *why, size_t why_size)
{
	X509 *certificate = tessaro_wsse_read_der(der, der_length);
	X509_STORE_CTX *context = X509_STORE_CTX_new();
	int result = TESSARO_WSSE_FAILED_AUTH;
	char subject[256] = "";

	if(certificate != NULL)
		X509_NAME_oneline(X509_get_subject_name(certificate), subject, sizeof(subject));
	if(trust == NULL)
		tessaro_wsse_fail(result, why, why_size, "no certificate is trusted");
	else if(certificate == NULL || context == NULL || X509_STORE_CTX_init(context, trust->store, certificate, NULL) != 1)
		tessaro_wsse_fail(result, why, why_size, "the signer's certificate cannot be read");
	else if(X509_verify_cert(context) == 1)
		result = 0;
	else
		tessaro_wsse_fail(result, why, why_size, "the signer's certificate (%s) is not trusted: %s", subject,
			X509_verify_cert_error_string(X509_STORE_CTX_get_error(context)));
	X509_STORE_CTX_free(context);
	X509_free(certificate);
	ERR_clear_error();
	return result;
}
#endif
