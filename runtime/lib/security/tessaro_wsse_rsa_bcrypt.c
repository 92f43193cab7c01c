/* tessaro: WS-Security's keys, certificates and RSA signatures on Windows. */
#ifdef _WIN32
#include "tessaro_wsse_crypto.h"
#include "tessaro_wsse_xml.h"

int tessaro_wsse_key_load(tessaro_wsse_key_t **key, const char *key_file, const char *cert_file, const char *password,
	char *why, size_t why_size)
{
	(void)cert_file;
	(void)password;
	*key = NULL;
	return tessaro_wsse_fail(-1, why, why_size, "%s: signing is not available on this platform", key_file);
}

void tessaro_wsse_key_free(tessaro_wsse_key_t *key)
{
	(void)key;
}

int tessaro_wsse_trust_load(tessaro_wsse_trust_t **trust, const char *pem_file, char *why, size_t why_size)
{
	*trust = NULL;
	return tessaro_wsse_fail(-1, why, why_size, "%s: verifying signatures is not available on this platform", pem_file);
}

void tessaro_wsse_trust_free(tessaro_wsse_trust_t *trust)
{
	(void)trust;
}

int tessaro_wsse_sign_bytes(const tessaro_wsse_key_t *key, int method, const void *data, size_t length,
	unsigned char **signature, size_t *signature_length, char *why, size_t why_size)
{
	(void)key;
	(void)method;
	(void)data;
	(void)length;
	*signature = NULL;
	*signature_length = 0;
	return tessaro_wsse_fail(-1, why, why_size, "signing is not available on this platform");
}

int tessaro_wsse_key_certificate(const tessaro_wsse_key_t *key, const unsigned char **der, size_t *length)
{
	(void)key;
	*der = NULL;
	*length = 0;
	return -1;
}

int tessaro_wsse_verify_bytes(const unsigned char *der, size_t der_length, int method, const void *data, size_t length,
	const unsigned char *signature, size_t signature_length, char *why, size_t why_size)
{
	(void)der;
	(void)der_length;
	(void)method;
	(void)data;
	(void)length;
	(void)signature;
	(void)signature_length;
	return tessaro_wsse_fail(TESSARO_WSSE_FAILED_CHECK, why, why_size, "verifying signatures is not available on this platform");
}

int tessaro_wsse_trusted(const tessaro_wsse_trust_t *trust, const unsigned char *der, size_t der_length, char *why, size_t why_size)
{
	(void)trust;
	(void)der;
	(void)der_length;
	return tessaro_wsse_fail(TESSARO_WSSE_FAILED_AUTH, why, why_size, "verifying signatures is not available on this platform");
}
#endif
