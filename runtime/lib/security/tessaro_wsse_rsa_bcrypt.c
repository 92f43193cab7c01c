/* tessaro: WS-Security's keys, certificates and RSA signatures on Windows:
 * PEM and DER through CryptoAPI's decoders, a PFX through its import, and
 * signatures through BCrypt. */
#ifdef _WIN32
#include "tessaro_wsse_crypto.h"
#include "tessaro_wsse_xml.h"
#include "tessaro_hash.h"
#include "tessaro_pem.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <windows.h>
#include <bcrypt.h>
#include <wincrypt.h>

struct tessaro_wsse_key {
	BCRYPT_KEY_HANDLE key;
	PCCERT_CONTEXT certificate;
	HCERTSTORE pfx;			/* the store a PFX was read into, or NULL */
};

struct tessaro_wsse_trust {
	HCERTSTORE store;
};

/* the whole file, malloc'ed and ended by a 0; NULL with why */
static char *tessaro_wsse_read_file(const char *path, size_t *length, char *why, size_t why_size)
{
	char *text;

	if(tessaro_wsse_readable(path, why, why_size) != 0)
		return NULL;
	if((text = tessaro_pem_read(path, length)) == NULL)
		tessaro_wsse_fail(-1, why, why_size, "%s: the file cannot be read", path);
	return text;
}

/* bytes copied in the reverse order: CryptoAPI's numbers are little-endian, BCrypt's big-endian */
static BYTE *tessaro_wsse_reversed(BYTE *to, const BYTE *from, DWORD length)
{
	DWORD i;

	for(i = 0; i < length; i++)
		to[i] = from[length - 1 - i];
	return to + length;
}

/* a CryptoAPI private key blob (BLOBHEADER, RSAPUBKEY, then the little-endian numbers), imported into BCrypt */
static int tessaro_wsse_import_legacy(const BYTE *legacy, BCRYPT_KEY_HANDLE *key)
{
	const RSAPUBKEY *rsa = (const RSAPUBKEY *)(legacy + sizeof(BLOBHEADER));
	const BYTE *numbers = (const BYTE *)(rsa + 1);
	BCRYPT_ALG_HANDLE algorithm = NULL;
	DWORD modulus = rsa->bitlen / 8, prime = (rsa->bitlen + 15) / 16, exponent, e, size;
	BCRYPT_RSAKEY_BLOB *blob;
	BYTE *at, exponent_bytes[4];
	NTSTATUS status = -1;

	for(e = rsa->pubexp, exponent = 0; e != 0; e >>= 8)
		exponent_bytes[3 - exponent++] = (BYTE)(e & 0xff);
	size = sizeof(*blob) + exponent + modulus + 2 * prime;
	if((blob = (BCRYPT_RSAKEY_BLOB *)calloc(1, size)) == NULL)
		return -1;
	blob->Magic = BCRYPT_RSAPRIVATE_MAGIC;
	blob->BitLength = rsa->bitlen;
	blob->cbPublicExp = exponent;
	blob->cbModulus = modulus;
	blob->cbPrime1 = prime;
	blob->cbPrime2 = prime;
	at = (BYTE *)(blob + 1);
	memcpy(at, exponent_bytes + 4 - exponent, exponent);
	/* the numbers: modulus, prime1, prime2, ... */
	at = tessaro_wsse_reversed(at + exponent, numbers, modulus);
	at = tessaro_wsse_reversed(at, numbers + modulus, prime);
	tessaro_wsse_reversed(at, numbers + modulus + prime, prime);
	if(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_RSA_ALGORITHM, NULL, 0) == 0){
		status = BCryptImportKeyPair(algorithm, NULL, BCRYPT_RSAPRIVATE_BLOB, key, (PUCHAR)blob, size, 0);
		BCryptCloseAlgorithmProvider(algorithm, 0);
	}
	SecureZeroMemory(blob, size);
	free(blob);
	return status == 0 ? 0 : -1;
}

/* the private key of a PEM file (PKCS#8 or PKCS#1, not encrypted) */
static int tessaro_wsse_pem_key(const char *text, BCRYPT_KEY_HANDLE *key)
{
	DWORD size = 0;
	BYTE *legacy = tessaro_pem_rsa_key(text, &size);
	int result;

	if(legacy == NULL)
		return -1;
	result = tessaro_wsse_import_legacy(legacy, key);
	SecureZeroMemory(legacy, size);
	LocalFree(legacy);
	return result;
}

/* the public key of a certificate, imported into BCrypt; NULL when it has none that can be */
static BCRYPT_KEY_HANDLE tessaro_wsse_public_key(PCCERT_CONTEXT certificate)
{
	BCRYPT_KEY_HANDLE key = NULL;

	if(!CryptImportPublicKeyInfoEx2(X509_ASN_ENCODING, &certificate->pCertInfo->SubjectPublicKeyInfo, 0, NULL, &key))
		return NULL;
	return key;
}

/* the modulus of a BCrypt RSA key (big-endian), malloc'ed */
static BYTE *tessaro_wsse_modulus(BCRYPT_KEY_HANDLE key, ULONG *length)
{
	ULONG size = 0;
	BYTE *blob = NULL, *modulus = NULL;
	BCRYPT_RSAKEY_BLOB *head;

	if(BCryptExportKey(key, NULL, BCRYPT_RSAPUBLIC_BLOB, NULL, 0, &size, 0) != 0 || (blob = (BYTE *)malloc(size)) == NULL ||
			BCryptExportKey(key, NULL, BCRYPT_RSAPUBLIC_BLOB, blob, size, &size, 0) != 0){
		free(blob);
		return NULL;
	}
	head = (BCRYPT_RSAKEY_BLOB *)blob;
	if((modulus = (BYTE *)malloc(head->cbModulus)) != NULL){
		memcpy(modulus, blob + sizeof(*head) + head->cbPublicExp, head->cbModulus);
		*length = head->cbModulus;
	}
	free(blob);
	return modulus;
}

/* whether the private key is the certificate's */
static int tessaro_wsse_key_matches(BCRYPT_KEY_HANDLE key, PCCERT_CONTEXT certificate)
{
	BCRYPT_KEY_HANDLE public_key = tessaro_wsse_public_key(certificate);
	ULONG mine = 0, theirs = 0;
	BYTE *a = key != NULL ? tessaro_wsse_modulus(key, &mine) : NULL;
	BYTE *b = public_key != NULL ? tessaro_wsse_modulus(public_key, &theirs) : NULL;
	int same = a != NULL && b != NULL && mine == theirs && memcmp(a, b, mine) == 0;

	free(a);
	free(b);
	if(public_key != NULL)
		BCryptDestroyKey(public_key);
	return same;
}

/* the private key of a key container, exported and imported into BCrypt */
static int tessaro_wsse_export_key(HCRYPTPROV provider, DWORD spec, BCRYPT_KEY_HANDLE *key)
{
	HCRYPTKEY user_key = 0;
	DWORD size = 0;
	BYTE *legacy = NULL;
	int result = -1;

	/* the kind of key the certificate names, else either kind the container holds */
	if((CryptGetUserKey(provider, spec, &user_key) || CryptGetUserKey(provider, AT_KEYEXCHANGE, &user_key) ||
			CryptGetUserKey(provider, AT_SIGNATURE, &user_key)) && CryptExportKey(user_key, 0, PRIVATEKEYBLOB, 0, NULL, &size) &&
			(legacy = (BYTE *)malloc(size)) != NULL && CryptExportKey(user_key, 0, PRIVATEKEYBLOB, 0, legacy, &size))
		result = tessaro_wsse_import_legacy(legacy, key);
	if(legacy != NULL)
		SecureZeroMemory(legacy, size);
	free(legacy);
	if(user_key != 0)
		CryptDestroyKey(user_key);
	return result;
}

/* the key container the import made for a certificate's key is deleted once its key is taken */
static void tessaro_wsse_forget_container(PCCERT_CONTEXT certificate)
{
	DWORD size = 0;
	CRYPT_KEY_PROV_INFO *info = NULL;
	HCRYPTPROV gone;

	if(CertGetCertificateContextProperty(certificate, CERT_KEY_PROV_INFO_PROP_ID, NULL, &size) &&
			(info = (CRYPT_KEY_PROV_INFO *)malloc(size)) != NULL &&
			CertGetCertificateContextProperty(certificate, CERT_KEY_PROV_INFO_PROP_ID, info, &size))
		CryptAcquireContextW(&gone, info->pwszContainerName, info->pwszProvName, info->dwProvType, (info->dwFlags & CRYPT_MACHINE_KEYSET) | CRYPT_DELETEKEYSET);
	free(info);
}

/* A PFX import puts its keys in key containers of the user's that another import may take too (Wine
 * names them alike), and each is deleted once its key is read: one import at a time, across the
 * user's processes, so that none deletes a container another is still reading. Past the bound the
 * import goes on unguarded rather than not at all. NULL when not held. */
#define TESSARO_WSSE_PFX_LOCK_MS 30000
static HANDLE tessaro_wsse_pfx_lock(void)
{
	HANDLE lock = CreateMutexW(NULL, FALSE, L"Local\\tessaro-wsse-pfx-import");
	DWORD waited;

	if(lock == NULL)
		return NULL;
	waited = WaitForSingleObject(lock, TESSARO_WSSE_PFX_LOCK_MS);
	/* an abandoned lock is held now all the same */
	if(waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED){
		CloseHandle(lock);
		return NULL;
	}
	return lock;
}

static void tessaro_wsse_pfx_unlock(HANDLE lock)
{
	if(lock == NULL)
		return;
	ReleaseMutex(lock);
	CloseHandle(lock);
}

/* the PFX's store, its certificate that has a private key and that key, the containers forgotten */
static int tessaro_wsse_pfx_import(tessaro_wsse_key_t *loaded, CRYPT_DATA_BLOB *blob, const WCHAR *password)
{
	HCRYPTPROV provider = 0;
	DWORD spec = 0;
	BOOL owned = FALSE;
	int result = -1;

	if((loaded->pfx = PFXImportCertStore(blob, password, CRYPT_EXPORTABLE)) == NULL)
		return -1;
	while(result != 0 && (loaded->certificate = CertEnumCertificatesInStore(loaded->pfx, loaded->certificate)) != NULL){
		if(!CryptAcquireCertificatePrivateKey(loaded->certificate, 0, NULL, &provider, &spec, &owned))
			continue;
		result = tessaro_wsse_export_key(provider, spec, &loaded->key);
		if(owned)
			CryptReleaseContext(provider, 0);
	}
	for(PCCERT_CONTEXT each = NULL; (each = CertEnumCertificatesInStore(loaded->pfx, each)) != NULL; )
		tessaro_wsse_forget_container(each);
	return result;
}

/* a PFX (PKCS#12) file: its certificate that has a private key, and that key */
static int tessaro_wsse_pfx_load(tessaro_wsse_key_t *loaded, const char *text, size_t length, const char *password)
{
	CRYPT_DATA_BLOB blob;
	WCHAR wide[256];
	HANDLE lock;
	int result;

	blob.pbData = (BYTE *)text;
	blob.cbData = (DWORD)length;
	if(MultiByteToWideChar(CP_UTF8, 0, password != NULL ? password : "", -1, wide, 256) == 0 || !PFXIsPFXBlob(&blob))
		return -1;
	lock = tessaro_wsse_pfx_lock();
	result = tessaro_wsse_pfx_import(loaded, &blob, wide);
	tessaro_wsse_pfx_unlock(lock);
	SecureZeroMemory(wide, sizeof(wide));
	/* the certificate is kept beyond the store's enumeration */
	if(result == 0)
		loaded->certificate = CertDuplicateCertificateContext(loaded->certificate);
	return result;
}

int tessaro_wsse_key_load(tessaro_wsse_key_t **key, const char *key_file, const char *cert_file, const char *password,
	char *why, size_t why_size)
{
	tessaro_wsse_key_t *loaded = (tessaro_wsse_key_t *)calloc(1, sizeof(*loaded));
	const char *cert_path = cert_file != NULL ? cert_file : key_file;
	size_t length = 0, cert_length = 0;
	char *text = NULL, *cert_text = NULL;
	const char *at;
	BYTE *der = NULL;
	DWORD der_length = 0;
	int result = -1;

	*key = NULL;
	tessaro_wsse_fail_clear(why, why_size);
	if(loaded == NULL)
		return tessaro_wsse_fail(-1, why, why_size, "no memory");
	if((text = tessaro_wsse_read_file(key_file, &length, why, why_size)) == NULL)
		goto done;
	if(strstr(text, "-----BEGIN") == NULL){
		/* no PEM: a PFX holding the key and its certificate */
		if(tessaro_wsse_pfx_load(loaded, text, length, password) != 0){
			tessaro_wsse_fail(-1, why, why_size, "%s: no PEM private key or PFX with a key could be read", key_file);
			goto done;
		}
	}else{
		if(strstr(text, "ENCRYPTED") != NULL || tessaro_wsse_pem_key(text, &loaded->key) != 0){
			tessaro_wsse_fail(-1, why, why_size, "%s: no PEM private key could be read (an RSA key, not encrypted)", key_file);
			goto done;
		}
		if((cert_text = tessaro_wsse_read_file(cert_path, &cert_length, why, why_size)) == NULL)
			goto done;
		at = cert_text;
		if((der = tessaro_pem_block(&at, "CERTIFICATE", &der_length)) == NULL ||
				(loaded->certificate = CertCreateCertificateContext(X509_ASN_ENCODING, der, der_length)) == NULL){
			tessaro_wsse_fail(-1, why, why_size, "%s: no PEM certificate could be read", cert_path);
			goto done;
		}
		if(!tessaro_wsse_key_matches(loaded->key, loaded->certificate)){
			tessaro_wsse_fail(-1, why, why_size, "%s: the key is no RSA key of the certificate in %s", key_file, cert_path);
			goto done;
		}
	}
	result = 0;
done:
	free(der);
	if(text != NULL)
		SecureZeroMemory(text, length);
	free(text);
	free(cert_text);
	if(result == 0)
		*key = loaded;
	else
		tessaro_wsse_key_free(loaded);
	return result;
}

void tessaro_wsse_key_free(tessaro_wsse_key_t *key)
{
	if(key == NULL)
		return;
	if(key->key != NULL)
		BCryptDestroyKey(key->key);
	if(key->certificate != NULL)
		CertFreeCertificateContext(key->certificate);
	if(key->pfx != NULL)
		CertCloseStore(key->pfx, 0);
	free(key);
}

int tessaro_wsse_trust_load(tessaro_wsse_trust_t **trust, const char *pem_file, char *why, size_t why_size)
{
	tessaro_wsse_trust_t *loaded = (tessaro_wsse_trust_t *)calloc(1, sizeof(*loaded));
	size_t length = 0;
	char *text;
	const char *at;
	BYTE *der;
	DWORD der_length = 0;
	int count = 0;

	*trust = NULL;
	tessaro_wsse_fail_clear(why, why_size);
	if(loaded == NULL || (loaded->store = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, NULL)) == NULL){
		free(loaded);
		return tessaro_wsse_fail(-1, why, why_size, "no memory");
	}
	if((text = tessaro_wsse_read_file(pem_file, &length, why, why_size)) == NULL){
		tessaro_wsse_trust_free(loaded);
		return -1;
	}
	for(at = text; (der = tessaro_pem_block(&at, "CERTIFICATE", &der_length)) != NULL; free(der))
		count += CertAddEncodedCertificateToStore(loaded->store, X509_ASN_ENCODING, der, der_length, CERT_STORE_ADD_ALWAYS, NULL) ? 1 : 0;
	free(text);
	if(count == 0){
		tessaro_wsse_trust_free(loaded);
		return tessaro_wsse_fail(-1, why, why_size, "%s: no PEM certificate could be read", pem_file);
	}
	*trust = loaded;
	return 0;
}

void tessaro_wsse_trust_free(tessaro_wsse_trust_t *trust)
{
	if(trust == NULL)
		return;
	if(trust->store != NULL)
		CertCloseStore(trust->store, 0);
	free(trust);
}

/* the digest of data the method signs, into digest; its size, 0 on failure */
static size_t tessaro_wsse_signed_digest(int method, const void *data, size_t length, unsigned char *digest, BCRYPT_PKCS1_PADDING_INFO *padding)
{
	padding->pszAlgId = method == TESSARO_WSSE_RSA_SHA1 ? BCRYPT_SHA1_ALGORITHM : BCRYPT_SHA256_ALGORITHM;
	return tessaro_hash(method == TESSARO_WSSE_RSA_SHA1 ? TESSARO_HASH_SHA1 : TESSARO_HASH_SHA256, data, length, digest);
}

int tessaro_wsse_sign_bytes(const tessaro_wsse_key_t *key, int method, const void *data, size_t length,
	unsigned char **signature, size_t *signature_length, char *why, size_t why_size)
{
	unsigned char digest[TESSARO_HASH_MAX_SIZE];
	BCRYPT_PKCS1_PADDING_INFO padding;
	size_t size = tessaro_wsse_signed_digest(method, data, length, digest, &padding);
	ULONG needed = 0;
	int done;

	*signature = NULL;
	done = size > 0 && BCryptSignHash(key->key, &padding, digest, (ULONG)size, NULL, 0, &needed, BCRYPT_PAD_PKCS1) == 0 &&
		(*signature = (unsigned char *)malloc(needed)) != NULL &&
		BCryptSignHash(key->key, &padding, digest, (ULONG)size, *signature, needed, &needed, BCRYPT_PAD_PKCS1) == 0;
	if(done){
		*signature_length = needed;
		return 0;
	}
	free(*signature);
	*signature = NULL;
	return tessaro_wsse_fail(-1, why, why_size, "signing failed");
}

int tessaro_wsse_key_certificate(const tessaro_wsse_key_t *key, const unsigned char **der, size_t *length)
{
	*der = key->certificate->pbCertEncoded;
	*length = key->certificate->cbCertEncoded;
	return 0;
}

/* the certificate of the DER bytes, all of them; NULL when they are none */
static PCCERT_CONTEXT tessaro_wsse_read_der(const unsigned char *der, size_t length)
{
	PCCERT_CONTEXT certificate = length <= 0x7fffffff ? CertCreateCertificateContext(X509_ASN_ENCODING, der, (DWORD)length) : NULL;

	if(certificate != NULL && certificate->cbCertEncoded != length){
		CertFreeCertificateContext(certificate);
		return NULL;
	}
	return certificate;
}

int tessaro_wsse_verify_bytes(const unsigned char *der, size_t der_length, int method, const void *data, size_t length,
	const unsigned char *signature, size_t signature_length, char *why, size_t why_size)
{
	PCCERT_CONTEXT certificate = tessaro_wsse_read_der(der, der_length);
	BCRYPT_KEY_HANDLE key = certificate != NULL ? tessaro_wsse_public_key(certificate) : NULL;
	unsigned char digest[TESSARO_HASH_MAX_SIZE];
	BCRYPT_PKCS1_PADDING_INFO padding;
	size_t size = tessaro_wsse_signed_digest(method, data, length, digest, &padding);
	int good;

	if(certificate == NULL || key == NULL){
		if(certificate != NULL)
			CertFreeCertificateContext(certificate);
		return tessaro_wsse_fail(TESSARO_WSSE_SECURITY_TOKEN, why, why_size, "the signer's certificate cannot be read");
	}
	good = size > 0 && signature_length <= 0xffffffff &&
		BCryptVerifySignature(key, &padding, digest, (ULONG)size, (PUCHAR)signature, (ULONG)signature_length, BCRYPT_PAD_PKCS1) == 0;
	BCryptDestroyKey(key);
	CertFreeCertificateContext(certificate);
	return good ? 0 : tessaro_wsse_fail(TESSARO_WSSE_FAILED_CHECK, why, why_size, "the signature does not match the signed information");
}

/* whether the trust holds the certificate itself, or an issuer whose key signed it */
static int tessaro_wsse_vouched(const tessaro_wsse_trust_t *trust, PCCERT_CONTEXT certificate)
{
	PCCERT_CONTEXT found = CertFindCertificateInStore(trust->store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, certificate, NULL);
	int vouched = found != NULL;

	if(found != NULL)
		CertFreeCertificateContext(found);
	for(found = NULL; !vouched && (found = CertFindCertificateInStore(trust->store, X509_ASN_ENCODING, 0, CERT_FIND_SUBJECT_NAME,
			&certificate->pCertInfo->Issuer, found)) != NULL; )
		vouched = CryptVerifyCertificateSignatureEx(0, X509_ASN_ENCODING, CRYPT_VERIFY_CERT_SIGN_SUBJECT_CERT, (void *)certificate,
			CRYPT_VERIFY_CERT_SIGN_ISSUER_CERT, (void *)found, 0, NULL) &&
			CertVerifyTimeValidity(NULL, found->pCertInfo) == 0;
	if(found != NULL)
		CertFreeCertificateContext(found);
	return vouched;
}

int tessaro_wsse_trusted(const tessaro_wsse_trust_t *trust, const unsigned char *der, size_t der_length, char *why, size_t why_size)
{
	PCCERT_CONTEXT certificate = tessaro_wsse_read_der(der, der_length);
	char subject[256] = "";
	int result = TESSARO_WSSE_FAILED_AUTH;

	if(certificate != NULL)
		CertNameToStrA(X509_ASN_ENCODING, &certificate->pCertInfo->Subject, CERT_X500_NAME_STR, subject, sizeof(subject));
	if(trust == NULL)
		tessaro_wsse_fail(result, why, why_size, "no certificate is trusted");
	else if(certificate == NULL)
		tessaro_wsse_fail(result, why, why_size, "the signer's certificate cannot be read");
	else if(CertVerifyTimeValidity(NULL, certificate->pCertInfo) != 0)
		tessaro_wsse_fail(result, why, why_size, "the signer's certificate (%s) is not trusted: it is not within its dates", subject);
	else if(!tessaro_wsse_vouched(trust, certificate))
		tessaro_wsse_fail(result, why, why_size, "the signer's certificate (%s) is not trusted: no trusted certificate issued it", subject);
	else
		result = 0;
	if(certificate != NULL)
		CertFreeCertificateContext(certificate);
	return result;
}
#endif
