/* tessaro: the WS-Security header of a SOAP message. A message going out gets
 * a wsse:Security header (mustUnderstand) with a UsernameToken, a Timestamp
 * and an XML Signature of its Body and Timestamp by an X.509 certificate's
 * key, as the settings ask; a message coming in is checked against them.
 * Canonical forms are libxml2's exclusive C14N; digests, signatures and
 * random bytes come from the platform's crypto (libcrypto on Unix, BCrypt
 * and CryptoAPI on Windows). */
#ifndef TESSARO_WSSE_H
#define TESSARO_WSSE_H

#include <stddef.h>
#include <time.h>

#ifdef __cplusplus
extern "C" {
#endif

/* What a message carries (the bits of tessaro_wsse_t.use). */
#define TESSARO_WSSE_USERNAME_TOKEN	0x01	/* wsse:UsernameToken with user and password */
#define TESSARO_WSSE_PASSWORD_DIGEST	0x02	/* its password as Base64(SHA-1(nonce + created + password)); else as text */
#define TESSARO_WSSE_NONCE		0x04	/* its wsse:Nonce (always with a digest) */
#define TESSARO_WSSE_CREATED		0x08	/* its wsu:Created (always with a digest) */
#define TESSARO_WSSE_TIMESTAMP		0x10	/* wsu:Timestamp: Created, and Expires timestamp_seconds later */
#define TESSARO_WSSE_SIGN		0x20	/* Body (and Timestamp) signed with key */
#define TESSARO_WSSE_VERIFY		0x40	/* a message read must be signed by a certificate trust holds or issued */
#define TESSARO_WSSE_REQUIRE_USER	0x80	/* a message read must carry a UsernameToken that password_of accepts */
#define TESSARO_WSSE_REQUIRE_TIMESTAMP	0x100	/* a message read must carry a Timestamp */

/* The bits that put a Security header on a message going out. */
#define TESSARO_WSSE_SENT	(TESSARO_WSSE_USERNAME_TOKEN | TESSARO_WSSE_TIMESTAMP | TESSARO_WSSE_SIGN)

#define TESSARO_WSSE_RSA_SHA256		0	/* signature_method */
#define TESSARO_WSSE_RSA_SHA1		1
#define TESSARO_WSSE_DIGEST_SHA256	0	/* digest_method */
#define TESSARO_WSSE_DIGEST_SHA1	1

/* What a check of a message read found (0: it passes); each answers with the
 * fault tessaro_wsse_fault_code names. */
#define TESSARO_WSSE_INVALID		(-1)	/* wsse:InvalidSecurity: missing, malformed, unsupported */
#define TESSARO_WSSE_FAILED_CHECK	(-2)	/* wsse:FailedCheck: a digest or the signature does not match */
#define TESSARO_WSSE_EXPIRED		(-3)	/* wsu:MessageExpired: the Timestamp has expired, or is from the future */
#define TESSARO_WSSE_FAILED_AUTH	(-4)	/* wsse:FailedAuthentication: user, password or certificate refused */
#define TESSARO_WSSE_SECURITY_TOKEN	(-5)	/* wsse:InvalidSecurityToken: a token that cannot be read */

#define TESSARO_WSSE_USER_LEN		255
#define TESSARO_WSSE_PASSWORD_LEN	255

/* A private key with its certificate, the certificates trusted, and the
 * nonces a server has seen. */
typedef struct tessaro_wsse_key tessaro_wsse_key_t;
typedef struct tessaro_wsse_trust tessaro_wsse_trust_t;
typedef struct tessaro_wsse_replay tessaro_wsse_replay_t;

/* The password of user into password (size bytes, ended by a 0): 0, or
 * non-zero when the user is unknown (the message fails authentication). The
 * checks of a server's workers call it side by side. */
typedef int (*tessaro_wsse_password_of_t)(void *context, const char *user, char *password, size_t size);

typedef struct tessaro_wsse {
	int	use;				/* TESSARO_WSSE_ bits; 0: no Security header */
	char	user[TESSARO_WSSE_USER_LEN + 1];
	char	password[TESSARO_WSSE_PASSWORD_LEN + 1];
	int	timestamp_seconds;		/* Expires - Created; 300 when 0 */
	int	clock_skew;			/* seconds a peer's clock may be off when checking; 300 when 0 */
	int	signature_method;		/* TESSARO_WSSE_RSA_SHA256 or _SHA1 */
	int	digest_method;			/* TESSARO_WSSE_DIGEST_SHA256 or _SHA1 */
	tessaro_wsse_key_t	*key;		/* signs (TESSARO_WSSE_SIGN); the owner frees it */
	tessaro_wsse_trust_t	*trust;		/* verifies (TESSARO_WSSE_VERIFY); the owner frees it */
	/* checking a UsernameToken (TESSARO_WSSE_REQUIRE_USER): its password, as text or digest, against
	 * what password_of gives; its Nonce refused when replay remembers it (a Nonce comes refused when
	 * replay is NULL); its Created, and a Timestamp's, no older than freshness_seconds (and clock_skew);
	 * 0: a UsernameToken's 300, a Timestamp's until it expires */
	tessaro_wsse_password_of_t	password_of;
	void	*password_context;
	tessaro_wsse_replay_t	*replay;	/* the owner frees it */
	int	freshness_seconds;
} tessaro_wsse_t;

/* The envelope xml[0..length) with the Security header the settings ask for,
 * into *out (malloc'ed, *out_length bytes, the caller frees it). 0, or -1 with
 * why (why_size bytes) saying what failed. */
int tessaro_wsse_secure(const tessaro_wsse_t *settings, const char *xml, size_t length, char **out, size_t *out_length,
	char *why, size_t why_size);

/* Checks the Security header of the envelope xml[0..length): a Timestamp it
 * holds must not have expired (nor come from the future); with
 * TESSARO_WSSE_VERIFY the message must be signed by a certificate of the
 * settings' trust, the Body it holds (and the Timestamp, when one is sent)
 * being what the signature covers, each reference resolving to that very
 * element. A fault (a Body holding a Fault) may come unsigned when
 * unsigned_faults is set. 0, or a TESSARO_WSSE_ result with why. */
int tessaro_wsse_verify(const tessaro_wsse_t *settings, const char *xml, size_t length, int unsigned_faults,
	char *why, size_t why_size);

/* The same over the document of an envelope already parsed (it stays as it was). */
struct _xmlDoc;
int tessaro_wsse_verify_doc(const tessaro_wsse_t *settings, struct _xmlDoc *doc, int unsigned_faults, char *why, size_t why_size);

/* The qualified fault code of a check's result ("wsse:FailedCheck"...), with
 * the namespace its prefix stands for in *ns; NULL for 0. */
const char *tessaro_wsse_fault_code(int result, const char **ns);

/* Reads a PEM private key (encrypted with password unless NULL; on Windows
 * not encrypted) and its PEM certificate (from cert_file, or from key_file
 * when NULL); on Windows key_file may be a PFX holding both (password its
 * password). 0, or -1 with why. */
int tessaro_wsse_key_load(tessaro_wsse_key_t **key, const char *key_file, const char *cert_file, const char *password,
	char *why, size_t why_size);
void tessaro_wsse_key_free(tessaro_wsse_key_t *key);

/* Reads the PEM certificates to trust: a signer's certificate verifies when
 * it is one of them or was issued by one. 0, or -1 with why. */
int tessaro_wsse_trust_load(tessaro_wsse_trust_t **trust, const char *pem_file, char *why, size_t why_size);
void tessaro_wsse_trust_free(tessaro_wsse_trust_t *trust);

/* Memory of the nonces seen, for at most capacity of them at once (0:
 * 65536), each kept until its time is up: a nonce seen again before is
 * refused as a replay, and when every place a nonce may take is held by one
 * whose time is not up the new one is refused too. Shared by threads. 0, or
 * -1 without memory. */
int tessaro_wsse_replay_new(tessaro_wsse_replay_t **replay, int capacity);
void tessaro_wsse_replay_free(tessaro_wsse_replay_t *replay);
/* Remembers nonce[0..length) until the time until, at the time now: 0 when
 * it was not remembered yet, 1 when it was (a replay), -1 when it cannot be
 * remembered (full). */
int tessaro_wsse_replay_seen(tessaro_wsse_replay_t *replay, const unsigned char *nonce, size_t length, time_t until, time_t now);

#ifdef __cplusplus
}
#endif

#endif
