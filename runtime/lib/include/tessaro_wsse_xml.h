/* tessaro: what building and checking a WS-Security header share: the
 * namespaces and algorithm names, Base64, xsd:dateTime in UTC, the exclusive
 * canonical form of an element and its digest, and looking elements up. */
#ifndef TESSARO_WSSE_XML_H
#define TESSARO_WSSE_XML_H

#include <stddef.h>
#include <time.h>

#include <libxml/tree.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TESSARO_WSSE_NS		"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd"
#define TESSARO_WSU_NS		"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd"
#define TESSARO_DS_NS		"http://www.w3.org/2000/09/xmldsig#"
#define TESSARO_WSSE_TOKEN_PROFILE	"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-username-token-profile-1.0"
#define TESSARO_WSSE_X509_PROFILE	"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-x509-token-profile-1.0"
#define TESSARO_WSSE_MESSAGE_SECURITY	"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-soap-message-security-1.0"
#define TESSARO_WSSE_BASE64	TESSARO_WSSE_MESSAGE_SECURITY "#Base64Binary"
#define TESSARO_WSSE_X509V3	TESSARO_WSSE_X509_PROFILE "#X509v3"
#define TESSARO_EXC_C14N	"http://www.w3.org/2001/10/xml-exc-c14n#"
#define TESSARO_DS_RSA_SHA1	"http://www.w3.org/2000/09/xmldsig#rsa-sha1"
#define TESSARO_DS_RSA_SHA256	"http://www.w3.org/2001/04/xmldsig-more#rsa-sha256"
#define TESSARO_DS_SHA1		"http://www.w3.org/2000/09/xmldsig#sha1"
#define TESSARO_DS_SHA256	"http://www.w3.org/2001/04/xmlenc#sha256"

/* why (size bytes) as printf would write it, unless it says something already; returns result. */
int tessaro_wsse_fail(int result, char *why, size_t size, const char *format, ...)
#ifdef __GNUC__
	__attribute__((format(printf, 4, 5)))
#endif
	;

/* why emptied, so that the first failure says it. */
void tessaro_wsse_fail_clear(char *why, size_t size);
/* 0 when the file can be opened for reading, else -1 with why naming it and the system's cause. */
int tessaro_wsse_readable(const char *path, char *why, size_t size);

/* data[0..length) as Base64 text, malloc'ed; NULL without memory. */
char *tessaro_base64_encode(const unsigned char *data, size_t length);
/* Base64 text (blanks between its characters skipped) into bytes, malloc'ed,
 * *length of them; NULL when it is no Base64 or without memory. */
unsigned char *tessaro_base64_decode(const char *text, size_t *length);

/* The time t as xsd:dateTime in UTC with a Z ("2026-12-09T23:02:48Z"), into text (21 bytes). */
void tessaro_wsse_time_text(time_t t, char *text);
/* An xsd:dateTime with a zone (Z or +hh:mm) into seconds since 1970 UTC; -1 when it is none. */
int tessaro_wsse_time_parse(const char *text, time_t *t);

/* The exclusive canonical form (no comments) of element, the prefixes given
 * (NULL-ended, or NULL) rendered inclusively, malloc'ed by libxml2 (xmlFree
 * it); its length, or -1. */
int tessaro_wsse_c14n(xmlNodePtr element, xmlChar **prefixes, xmlChar **text);
/* The digest (TESSARO_WSSE_DIGEST_) of the canonical form of element into
 * digest (32 bytes); its size, 0 on failure. */
size_t tessaro_wsse_element_digest(xmlNodePtr element, int digest_method, unsigned char *digest);

/* The first element child of node from *after (NULL: the first) on with the
 * namespace and local name given (ns NULL: any). */
xmlNodePtr tessaro_wsse_child(xmlNodePtr node, xmlNodePtr after, const char *ns, const char *name);
/* The value of the node's attribute of no namespace, "" for none (it stays the document's). */
const char *tessaro_wsse_attribute(xmlNodePtr node, const char *name);
/* The element's Id: its wsu:Id, else an unqualified Id; NULL for none (xmlFree it). */
xmlChar *tessaro_wsse_id_of(xmlNodePtr element);
/* The element of the document whose Id is id, and how many carry it into *count. */
xmlNodePtr tessaro_wsse_by_id(xmlDocPtr doc, const char *id, int *count);

/* Base64(SHA-1(nonce + created + password)), malloc'ed; NULL without memory. */
char *tessaro_wsse_password_digest(const unsigned char *nonce, size_t nonce_size, const char *created, const char *password);
/* The one UsernameToken of the Security header checked against the settings
 * (its password, Created and Nonce) at the time now, the sender's clock
 * allowed to be off by skew seconds: 0, or a TESSARO_WSSE_ result with why. */
struct tessaro_wsse;
int tessaro_wsse_check_username(xmlNodePtr security, const struct tessaro_wsse *settings, time_t now, int skew, char *why, size_t why_size);

#ifdef __cplusplus
}
#endif

#endif
