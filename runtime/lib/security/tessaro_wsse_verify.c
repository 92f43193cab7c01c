/* tessaro: checking the Security header of a message read: its Timestamp's
 * dates and the XML Signature over the very Body (and Timestamp) the message
 * holds, by a trusted certificate. */
#include "tessaro_wsse.h"
#include "tessaro_wsse_crypto.h"
#include "tessaro_wsse_xml.h"
#include "tessaro_hash.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <libxml/parser.h>

/* the parts of a message a check looks at */
typedef struct tessaro_wsse_message {
	xmlDocPtr doc;
	xmlNodePtr body;	/* the one Body of the Envelope: what the message's reader processes */
	xmlNodePtr security;	/* the Security header, or NULL */
	xmlNodePtr timestamp;	/* its Timestamp, or NULL */
	char *why;
	size_t why_size;
} tessaro_wsse_message_t;

const char *tessaro_wsse_fault_code(int result, const char **ns)
{
	*ns = result == TESSARO_WSSE_EXPIRED ? TESSARO_WSU_NS : TESSARO_WSSE_NS;
	switch(result){
	case TESSARO_WSSE_INVALID:
		return "wsse:InvalidSecurity";
	case TESSARO_WSSE_FAILED_CHECK:
		return "wsse:FailedCheck";
	case TESSARO_WSSE_EXPIRED:
		return "wsu:MessageExpired";
	case TESSARO_WSSE_FAILED_AUTH:
		return "wsse:FailedAuthentication";
	case TESSARO_WSSE_SECURITY_TOKEN:
		return "wsse:InvalidSecurityToken";
	}
	*ns = NULL;
	return NULL;
}

/* how many children of the kind the node has */
static int tessaro_wsse_count(xmlNodePtr node, const char *ns, const char *name)
{
	xmlNodePtr child = NULL;
	int count = 0;

	while((child = tessaro_wsse_child(node, child, ns, name)) != NULL)
		count++;
	return count;
}

/* the envelope's one Body and its Security header (one, at most) */
static int tessaro_wsse_locate(tessaro_wsse_message_t *message)
{
	xmlNodePtr envelope = xmlDocGetRootElement(message->doc), header;
	const char *env;

	if(envelope == NULL || envelope->ns == NULL || !xmlStrEqual(envelope->name, (const xmlChar *)"Envelope"))
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size, "the message is no SOAP envelope");
	env = (const char *)envelope->ns->href;
	if(tessaro_wsse_count(envelope, env, "Body") != 1 || tessaro_wsse_count(envelope, env, "Header") > 1)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size, "the envelope holds no single Body and Header");
	message->body = tessaro_wsse_child(envelope, NULL, env, "Body");
	header = tessaro_wsse_child(envelope, NULL, env, "Header");
	if(header != NULL && tessaro_wsse_count(header, TESSARO_WSSE_NS, "Security") > 1)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size, "the message holds more than one Security header");
	message->security = header != NULL ? tessaro_wsse_child(header, NULL, TESSARO_WSSE_NS, "Security") : NULL;
	if(message->security != NULL && tessaro_wsse_count(message->security, TESSARO_WSU_NS, "Timestamp") > 1)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size, "the Security header holds more than one Timestamp");
	message->timestamp = message->security != NULL ? tessaro_wsse_child(message->security, NULL, TESSARO_WSU_NS, "Timestamp") : NULL;
	return 0;
}

/* the time a child of the Timestamp gives; -1 when it is there and no dateTime */
static int tessaro_wsse_time_of(xmlNodePtr timestamp, const char *name, time_t *t, int *given)
{
	xmlNodePtr node = tessaro_wsse_child(timestamp, NULL, TESSARO_WSU_NS, name);
	xmlChar *text;
	int result;

	*given = node != NULL;
	if(node == NULL)
		return 0;
	text = xmlNodeGetContent(node);
	result = text != NULL ? tessaro_wsse_time_parse((const char *)text, t) : -1;
	xmlFree(text);
	return result;
}

/* a Timestamp's dates against the clock, the peer's allowed to be off by skew seconds; one created
 * longer than freshness seconds ago (unless 0) is refused as expired */
static int tessaro_wsse_check_timestamp(tessaro_wsse_message_t *message, time_t now, int skew, int freshness)
{
	time_t created = 0, expires = 0;
	int has_created, has_expires;

	if(tessaro_wsse_time_of(message->timestamp, "Created", &created, &has_created) != 0 ||
			tessaro_wsse_time_of(message->timestamp, "Expires", &expires, &has_expires) != 0 || !has_created)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size, "the Timestamp's Created or Expires is no dateTime");
	if(has_expires && expires < created)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size, "the Timestamp expires before it was created");
	if(has_expires && now > expires + skew)
		return tessaro_wsse_fail(TESSARO_WSSE_EXPIRED, message->why, message->why_size, "the message has expired (its Timestamp)");
	if(created > now + skew)
		return tessaro_wsse_fail(TESSARO_WSSE_EXPIRED, message->why, message->why_size, "the message's Timestamp was created in the future");
	if(freshness > 0 && created < now - freshness - skew)
		return tessaro_wsse_fail(TESSARO_WSSE_EXPIRED, message->why, message->why_size, "the message's Timestamp was created too long ago");
	return 0;
}

/* the prefixes an InclusiveNamespaces under node lists */
typedef struct tessaro_wsse_prefixes {
	char text[512];
	xmlChar *names[17];
} tessaro_wsse_prefixes_t;

/* the prefixes of the InclusiveNamespaces under node, NULL-ended; NULL for none */
static xmlChar **tessaro_wsse_inclusive(xmlNodePtr node, tessaro_wsse_prefixes_t *prefixes)
{
	xmlNodePtr inclusive = node != NULL ? tessaro_wsse_child(node, NULL, TESSARO_EXC_C14N, "InclusiveNamespaces") : NULL;
	char *at;
	int count = 0;

	if(inclusive == NULL)
		return NULL;
	snprintf(prefixes->text, sizeof(prefixes->text), "%s", tessaro_wsse_attribute(inclusive, "PrefixList"));
	for(at = prefixes->text; *at != '\0' && count < 16; ){
		if(strchr(" \t\r\n", *at) != NULL){
			*at++ = '\0';
			continue;
		}
		prefixes->names[count++] = (xmlChar *)at;
		at += strcspn(at, " \t\r\n");
	}
	prefixes->names[count] = NULL;
	return prefixes->names;
}

/* the digest method a reference names: TESSARO_WSSE_DIGEST_, or -1 */
static int tessaro_wsse_digest_method(xmlNodePtr reference)
{
	const char *algorithm = tessaro_wsse_attribute(tessaro_wsse_child(reference, NULL, TESSARO_DS_NS, "DigestMethod"), "Algorithm");

	return strcmp(algorithm, TESSARO_DS_SHA256) == 0 ? TESSARO_WSSE_DIGEST_SHA256 : strcmp(algorithm, TESSARO_DS_SHA1) == 0 ?
		TESSARO_WSSE_DIGEST_SHA1 : -1;
}

/* whether the text (Base64) is the given bytes */
static int tessaro_wsse_same_bytes(xmlNodePtr node, const unsigned char *bytes, size_t size)
{
	size_t length = 0;
	xmlChar *text = node != NULL ? xmlNodeGetContent(node) : NULL;
	unsigned char *decoded = text != NULL ? tessaro_base64_decode((const char *)text, &length) : NULL;
	int same;

	same = decoded != NULL && length == size && memcmp(decoded, bytes, size) == 0;
	free(decoded);
	xmlFree(text);
	return same;
}

/* one Reference of the SignedInfo: a same-document reference to exactly one element, exclusive
 * canonicalization as its only transform, its digest matching; the element it names into *target */
static int tessaro_wsse_check_reference(tessaro_wsse_message_t *message, xmlNodePtr reference, xmlNodePtr *target)
{
	const char *uri = tessaro_wsse_attribute(reference, "URI");
	xmlNodePtr transforms = tessaro_wsse_child(reference, NULL, TESSARO_DS_NS, "Transforms");
	xmlNodePtr transform = transforms != NULL ? tessaro_wsse_child(transforms, NULL, NULL, "Transform") : NULL;
	tessaro_wsse_prefixes_t prefixes;
	xmlChar *canonical;
	unsigned char digest[TESSARO_HASH_MAX_SIZE];
	int method = tessaro_wsse_digest_method(reference), count, length;
	size_t size = 0;

	if(uri[0] != '#' || (*target = tessaro_wsse_by_id(message->doc, uri + 1, &count)) == NULL)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size, "a signed reference (%.80s) names no element of the message", uri);
	if(count > 1)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size, "a signed reference (%.80s) names %d elements", uri, count);
	if(method < 0)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size, "a signed reference (%.80s) has an unsupported digest method", uri);
	/* exclusive canonicalization is the one transform taken: any other could sign other bytes than the element's */
	if(transform == NULL || strcmp(tessaro_wsse_attribute(transform, "Algorithm"), TESSARO_EXC_C14N) != 0 ||
			tessaro_wsse_child(transforms, transform, NULL, "Transform") != NULL)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size,
			"a signed reference (%.80s) has other transforms than exclusive canonicalization", uri);
	length = tessaro_wsse_c14n(*target, tessaro_wsse_inclusive(transform, &prefixes), &canonical);
	if(length >= 0)
		size = tessaro_hash(method == TESSARO_WSSE_DIGEST_SHA1 ? TESSARO_HASH_SHA1 : TESSARO_HASH_SHA256, canonical, (size_t)length, digest);
	xmlFree(canonical);
	if(size == 0 || !tessaro_wsse_same_bytes(tessaro_wsse_child(reference, NULL, TESSARO_DS_NS, "DigestValue"), digest, size))
		return tessaro_wsse_fail(TESSARO_WSSE_FAILED_CHECK, message->why, message->why_size, "the digest of the signed %.40s (%.80s) does not match",
			(const char *)(*target)->name, uri);
	return 0;
}

/* the signer's certificate (DER, malloc'ed): the BinarySecurityToken the KeyInfo refers to, or the
 * X509Certificate of its X509Data (in a SecurityTokenReference or not) */
static int tessaro_wsse_signer(tessaro_wsse_message_t *message, xmlNodePtr signature, unsigned char **der, size_t *length)
{
	xmlNodePtr key_info = tessaro_wsse_child(signature, NULL, TESSARO_DS_NS, "KeyInfo"), node = NULL, token = NULL;
	xmlNodePtr reference = key_info != NULL ? tessaro_wsse_child(key_info, NULL, TESSARO_WSSE_NS, "SecurityTokenReference") : NULL;
	const char *uri;
	xmlChar *text;
	int count = 0;

	*der = NULL;
	if(reference != NULL && (node = tessaro_wsse_child(reference, NULL, TESSARO_WSSE_NS, "Reference")) != NULL){
		uri = tessaro_wsse_attribute(node, "URI");
		if(uri[0] == '#')
			token = tessaro_wsse_by_id(message->doc, uri + 1, &count);
		if(token == NULL || count != 1 || token->parent != message->security || token->ns == NULL ||
				!xmlStrEqual(token->ns->href, (const xmlChar *)TESSARO_WSSE_NS) || !xmlStrEqual(token->name, (const xmlChar *)"BinarySecurityToken") ||
				strcmp(tessaro_wsse_attribute(token, "ValueType"), TESSARO_WSSE_X509V3) != 0)
			return tessaro_wsse_fail(TESSARO_WSSE_SECURITY_TOKEN, message->why, message->why_size,
				"the signature's key names no X.509 BinarySecurityToken of the Security header");
		node = token;
	}else if(key_info != NULL && (node = tessaro_wsse_child(reference != NULL ? reference : key_info, NULL, TESSARO_DS_NS, "X509Data")) != NULL){
		node = tessaro_wsse_child(node, NULL, TESSARO_DS_NS, "X509Certificate");
	}
	if(node == NULL)
		return tessaro_wsse_fail(TESSARO_WSSE_SECURITY_TOKEN, message->why, message->why_size, "the signature names no certificate of its signer");
	text = xmlNodeGetContent(node);
	*der = text != NULL ? tessaro_base64_decode((const char *)text, length) : NULL;
	xmlFree(text);
	return *der != NULL ? 0 : tessaro_wsse_fail(TESSARO_WSSE_SECURITY_TOKEN, message->why, message->why_size, "the signer's certificate is no Base64");
}

/* the SignedInfo's canonical form against the SignatureValue, by the signer's key */
static int tessaro_wsse_check_value(tessaro_wsse_message_t *message, xmlNodePtr signature, xmlNodePtr signed_info, int method,
	const unsigned char *der, size_t der_length)
{
	xmlNodePtr canonicalization = tessaro_wsse_child(signed_info, NULL, TESSARO_DS_NS, "CanonicalizationMethod");
	tessaro_wsse_prefixes_t prefixes;
	xmlChar *canonical = NULL, *text;
	unsigned char *value = NULL;
	size_t value_length = 0;
	int length, result;

	length = tessaro_wsse_c14n(signed_info, tessaro_wsse_inclusive(canonicalization, &prefixes), &canonical);
	text = xmlNodeGetContent(tessaro_wsse_child(signature, NULL, TESSARO_DS_NS, "SignatureValue"));
	if(text != NULL)
		value = tessaro_base64_decode((const char *)text, &value_length);
	xmlFree(text);
	if(length < 0 || value == NULL)
		result = tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size, "the signature has no Base64 SignatureValue");
	else
		result = tessaro_wsse_verify_bytes(der, der_length, method, canonical, (size_t)length, value, value_length,
			message->why, message->why_size);
	xmlFree(canonical);
	free(value);
	return result;
}

/* the Signature of the Security header: its algorithms supported, every reference matching, the
 * Body processed (and the Timestamp sent) among what it covers, its value by a trusted signer */
static int tessaro_wsse_check_signature(tessaro_wsse_message_t *message, const tessaro_wsse_t *settings)
{
	xmlNodePtr signature = tessaro_wsse_child(message->security, NULL, TESSARO_DS_NS, "Signature");
	xmlNodePtr signed_info = signature != NULL ? tessaro_wsse_child(signature, NULL, TESSARO_DS_NS, "SignedInfo") : NULL;
	xmlNodePtr reference = NULL, target;
	const char *algorithm;
	unsigned char *der = NULL;
	size_t der_length = 0;
	int method, body_signed = 0, timestamp_signed = 0, result;

	if(signed_info == NULL)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size, "the message is not signed");
	if(strcmp(tessaro_wsse_attribute(tessaro_wsse_child(signed_info, NULL, TESSARO_DS_NS, "CanonicalizationMethod"), "Algorithm"), TESSARO_EXC_C14N) != 0)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size, "the signature is not canonicalized exclusively");
	algorithm = tessaro_wsse_attribute(tessaro_wsse_child(signed_info, NULL, TESSARO_DS_NS, "SignatureMethod"), "Algorithm");
	method = strcmp(algorithm, TESSARO_DS_RSA_SHA256) == 0 ? TESSARO_WSSE_RSA_SHA256 : strcmp(algorithm, TESSARO_DS_RSA_SHA1) == 0 ? TESSARO_WSSE_RSA_SHA1 : -1;
	if(method < 0)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size, "the signature method %.100s is not supported", algorithm);
	while((reference = tessaro_wsse_child(signed_info, reference, TESSARO_DS_NS, "Reference")) != NULL){
		if((result = tessaro_wsse_check_reference(message, reference, &target)) != 0)
			return result;
		body_signed |= target == message->body;
		timestamp_signed |= target == message->timestamp;
	}
	/* a signed element moved elsewhere (another Body put in its place) covers nothing processed */
	if(!body_signed)
		return tessaro_wsse_fail(TESSARO_WSSE_FAILED_CHECK, message->why, message->why_size, "the signature does not cover the message's Body");
	if(message->timestamp != NULL && !timestamp_signed)
		return tessaro_wsse_fail(TESSARO_WSSE_FAILED_CHECK, message->why, message->why_size, "the signature does not cover the message's Timestamp");
	if((result = tessaro_wsse_signer(message, signature, &der, &der_length)) == 0 &&
			(result = tessaro_wsse_check_value(message, signature, signed_info, method, der, der_length)) == 0)
		result = tessaro_wsse_trusted(settings->trust, der, der_length, message->why, message->why_size);
	free(der);
	return result;
}

/* whether the Body holds a Fault */
static int tessaro_wsse_is_fault(xmlNodePtr body)
{
	xmlNodePtr child;

	for(child = body->children; child != NULL && child->type != XML_ELEMENT_NODE; child = child->next)
		;
	return child != NULL && child->ns != NULL && body->ns != NULL && xmlStrEqual(child->ns->href, body->ns->href) &&
		xmlStrEqual(child->name, (const xmlChar *)"Fault");
}

int tessaro_wsse_verify(const tessaro_wsse_t *settings, const char *xml, size_t length, int unsigned_faults, char *why, size_t why_size)
{
	xmlDocPtr doc;
	int result;

	tessaro_wsse_fail_clear(why, why_size);
	if(length > 0x7fffffff || (doc = xmlReadMemory(xml, (int)length, NULL, NULL, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING)) == NULL)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, why, why_size, "the message is no XML document");
	result = tessaro_wsse_verify_doc(settings, doc, unsigned_faults, why, why_size);
	xmlFreeDoc(doc);
	return result;
}

/* the checks the settings ask of a message whose Security header was found: its Timestamp, its
 * signature, its UsernameToken */
static int tessaro_wsse_check_security(tessaro_wsse_message_t *message, const tessaro_wsse_t *settings)
{
	time_t now = time(NULL);
	int skew = settings->clock_skew > 0 ? settings->clock_skew : 300, result;

	if(message->timestamp == NULL && (settings->use & TESSARO_WSSE_REQUIRE_TIMESTAMP) != 0)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, message->why, message->why_size, "the message carries no Timestamp");
	if(message->timestamp != NULL && (result = tessaro_wsse_check_timestamp(message, now, skew, settings->freshness_seconds)) != 0)
		return result;
	if((settings->use & TESSARO_WSSE_VERIFY) != 0 && (result = tessaro_wsse_check_signature(message, settings)) != 0)
		return result;
	if((settings->use & TESSARO_WSSE_REQUIRE_USER) != 0)
		return tessaro_wsse_check_username(message->security, settings, now, skew, message->why, message->why_size);
	return 0;
}

int tessaro_wsse_verify_doc(const tessaro_wsse_t *settings, struct _xmlDoc *doc, int unsigned_faults, char *why, size_t why_size)
{
	const int required = TESSARO_WSSE_VERIFY | TESSARO_WSSE_REQUIRE_USER | TESSARO_WSSE_REQUIRE_TIMESTAMP;
	tessaro_wsse_message_t message;
	int result;

	tessaro_wsse_fail_clear(why, why_size);
	memset(&message, 0, sizeof(message));
	message.doc = doc;
	message.why = why;
	message.why_size = why_size;
	if(message.doc->intSubset != NULL)
		result = tessaro_wsse_fail(TESSARO_WSSE_INVALID, why, why_size, "the message carries a DTD");
	else if((result = tessaro_wsse_locate(&message)) != 0)
		;
	else if(message.security == NULL && ((settings->use & required) == 0 || (unsigned_faults && tessaro_wsse_is_fault(message.body))))
		result = 0;
	else if(message.security == NULL)
		result = tessaro_wsse_fail(TESSARO_WSSE_INVALID, why, why_size, "the message carries no Security header");
	else
		result = tessaro_wsse_check_security(&message, settings);
	return result;
}
