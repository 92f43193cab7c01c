/* tessaro: the Security header of a message going out: Timestamp,
 * UsernameToken, and the XML Signature of the Body and the Timestamp. */
#include "tessaro_wsse.h"
#include "tessaro_wsse_crypto.h"
#include "tessaro_wsse_xml.h"
#include "tessaro_hash.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <libxml/parser.h>

#define TESSARO_WSSE_NONCE_SIZE	16

/* what the header's parts are built in */
typedef struct tessaro_wsse_build {
	const tessaro_wsse_t *settings;
	xmlDocPtr doc;
	xmlNodePtr security;
	xmlNsPtr wsse;
	xmlNsPtr wsu;
	time_t now;
	char *why;
	size_t why_size;
} tessaro_wsse_build_t;

/* a wsu:Id no element of the document has yet: the stem, or the stem numbered */
static void tessaro_wsse_new_id(xmlDocPtr doc, const char *stem, char *id, size_t size)
{
	int count, n;

	snprintf(id, size, "%s", stem);
	for(n = 2; tessaro_wsse_by_id(doc, id, &count) != NULL; n++)
		snprintf(id, size, "%s-%d", stem, n);
}

/* the element's wsu:Id, given a new one when it has none; the utility namespace is declared on it
 * unless in scope, under a prefix that hides no other */
static int tessaro_wsse_identify(xmlDocPtr doc, xmlNodePtr element, const char *stem, char *id, size_t size)
{
	xmlChar *own = tessaro_wsse_id_of(element);
	xmlNsPtr wsu = xmlSearchNsByHref(doc, element, (const xmlChar *)TESSARO_WSU_NS);
	char prefix[16] = "wsu";
	int n;

	if(own != NULL){
		snprintf(id, size, "%s", (const char *)own);
		xmlFree(own);
		return 0;
	}
	for(n = 2; wsu == NULL && xmlSearchNs(doc, element, (const xmlChar *)prefix) != NULL; n++)
		snprintf(prefix, sizeof(prefix), "wsu%d", n);
	if(wsu == NULL && (wsu = xmlNewNs(element, (const xmlChar *)TESSARO_WSU_NS, (const xmlChar *)prefix)) == NULL)
		return -1;
	tessaro_wsse_new_id(doc, stem, id, size);
	return xmlSetNsProp(element, wsu, (const xmlChar *)"Id", (const xmlChar *)id) != NULL ? 0 : -1;
}

static xmlNodePtr tessaro_wsse_text_child(xmlNodePtr parent, xmlNsPtr ns, const char *name, const char *text)
{
	return xmlNewTextChild(parent, ns, (const xmlChar *)name, (const xmlChar *)text);
}

static int tessaro_wsse_add_timestamp(tessaro_wsse_build_t *build, xmlNodePtr *timestamp)
{
	char created[21], expires[21], id[64];
	int seconds = build->settings->timestamp_seconds > 0 ? build->settings->timestamp_seconds : 300;

	tessaro_wsse_time_text(build->now, created);
	tessaro_wsse_time_text(build->now + seconds, expires);
	if((*timestamp = xmlNewChild(build->security, build->wsu, (const xmlChar *)"Timestamp", NULL)) == NULL ||
			tessaro_wsse_identify(build->doc, *timestamp, "TS", id, sizeof(id)) != 0 ||
			tessaro_wsse_text_child(*timestamp, build->wsu, "Created", created) == NULL ||
			tessaro_wsse_text_child(*timestamp, build->wsu, "Expires", expires) == NULL)
		return tessaro_wsse_fail(-1, build->why, build->why_size, "no memory for the Timestamp");
	return 0;
}

static int tessaro_wsse_add_username_token(tessaro_wsse_build_t *build)
{
	const tessaro_wsse_t *settings = build->settings;
	int digest = (settings->use & TESSARO_WSSE_PASSWORD_DIGEST) != 0;
	unsigned char nonce[TESSARO_WSSE_NONCE_SIZE];
	char created[21], id[64];
	char *nonce_text = NULL, *password = NULL;
	xmlNodePtr token, node;
	int result = -1;

	tessaro_wsse_time_text(build->now, created);
	if(tessaro_random(nonce, sizeof(nonce)) != 0)
		return tessaro_wsse_fail(-1, build->why, build->why_size, "the platform gave no random bytes for the Nonce");
	if((nonce_text = tessaro_base64_encode(nonce, sizeof(nonce))) == NULL ||
			(password = digest ? tessaro_wsse_password_digest(nonce, sizeof(nonce), created, settings->password) : strdup(settings->password)) == NULL)
		goto done;
	if((token = xmlNewChild(build->security, build->wsse, (const xmlChar *)"UsernameToken", NULL)) == NULL ||
			tessaro_wsse_identify(build->doc, token, "UsernameToken", id, sizeof(id)) != 0 ||
			tessaro_wsse_text_child(token, build->wsse, "Username", settings->user) == NULL ||
			(node = tessaro_wsse_text_child(token, build->wsse, "Password", password)) == NULL ||
			xmlSetProp(node, (const xmlChar *)"Type", (const xmlChar *)(digest ? TESSARO_WSSE_TOKEN_PROFILE "#PasswordDigest" :
				TESSARO_WSSE_TOKEN_PROFILE "#PasswordText")) == NULL)
		goto done;
	/* a digest is over the nonce and the time the receiver is sent */
	if(digest || (settings->use & TESSARO_WSSE_NONCE) != 0){
		if((node = tessaro_wsse_text_child(token, build->wsse, "Nonce", nonce_text)) == NULL ||
				xmlSetProp(node, (const xmlChar *)"EncodingType", (const xmlChar *)TESSARO_WSSE_BASE64) == NULL)
			goto done;
	}
	if((digest || (settings->use & TESSARO_WSSE_CREATED) != 0) && tessaro_wsse_text_child(token, build->wsu, "Created", created) == NULL)
		goto done;
	result = 0;
done:
	free(nonce_text);
	if(password != NULL)
		memset(password, 0, strlen(password));
	free(password);
	return result == 0 ? 0 : tessaro_wsse_fail(-1, build->why, build->why_size, "no memory for the UsernameToken");
}

/* an element of the signature with its Algorithm */
static xmlNodePtr tessaro_wsse_algorithm(xmlNodePtr parent, xmlNsPtr ds, const char *name, const char *algorithm)
{
	xmlNodePtr node = xmlNewChild(parent, ds, (const xmlChar *)name, NULL);

	return node != NULL && xmlSetProp(node, (const xmlChar *)"Algorithm", (const xmlChar *)algorithm) != NULL ? node : NULL;
}

/* a Reference of the SignedInfo to the element by its id, with the element's digest */
static int tessaro_wsse_add_reference(xmlNodePtr signed_info, xmlNsPtr ds, xmlNodePtr target, const char *id, int digest_method)
{
	unsigned char digest[TESSARO_HASH_MAX_SIZE];
	size_t size = tessaro_wsse_element_digest(target, digest_method, digest);
	char uri[80];
	char *value;
	xmlNodePtr reference, transforms;
	int done;

	if(size == 0 || (value = tessaro_base64_encode(digest, size)) == NULL)
		return -1;
	snprintf(uri, sizeof(uri), "#%s", id);
	done = (reference = xmlNewChild(signed_info, ds, (const xmlChar *)"Reference", NULL)) != NULL &&
		xmlSetProp(reference, (const xmlChar *)"URI", (const xmlChar *)uri) != NULL &&
		(transforms = xmlNewChild(reference, ds, (const xmlChar *)"Transforms", NULL)) != NULL &&
		tessaro_wsse_algorithm(transforms, ds, "Transform", TESSARO_EXC_C14N) != NULL &&
		tessaro_wsse_algorithm(reference, ds, "DigestMethod", digest_method == TESSARO_WSSE_DIGEST_SHA1 ? TESSARO_DS_SHA1 : TESSARO_DS_SHA256) != NULL &&
		tessaro_wsse_text_child(reference, ds, "DigestValue", value) != NULL;
	free(value);
	return done ? 0 : -1;
}

/* the certificate as a BinarySecurityToken, and the Signature over the Body and the Timestamp
 * that names it */
static int tessaro_wsse_add_signature(tessaro_wsse_build_t *build, xmlNodePtr body, xmlNodePtr timestamp)
{
	const tessaro_wsse_t *settings = build->settings;
	const unsigned char *der;
	size_t der_length, signature_length;
	unsigned char *signature = NULL;
	char token_id[64], body_id[64], timestamp_id[64], uri[80];
	char *text = NULL;
	xmlChar *canonical = NULL;
	xmlNodePtr token, node, signed_info, value;
	xmlNsPtr ds;
	int length, result = -1;

	if(settings->key == NULL)
		return tessaro_wsse_fail(-1, build->why, build->why_size, "signing is asked for and no key is set");
	tessaro_wsse_key_certificate(settings->key, &der, &der_length);
	if((text = tessaro_base64_encode(der, der_length)) == NULL ||
			(token = tessaro_wsse_text_child(build->security, build->wsse, "BinarySecurityToken", text)) == NULL ||
			xmlSetProp(token, (const xmlChar *)"EncodingType", (const xmlChar *)TESSARO_WSSE_BASE64) == NULL ||
			xmlSetProp(token, (const xmlChar *)"ValueType", (const xmlChar *)TESSARO_WSSE_X509V3) == NULL ||
			tessaro_wsse_identify(build->doc, token, "X509", token_id, sizeof(token_id)) != 0 ||
			tessaro_wsse_identify(build->doc, body, "Body", body_id, sizeof(body_id)) != 0 ||
			(timestamp != NULL && tessaro_wsse_identify(build->doc, timestamp, "TS", timestamp_id, sizeof(timestamp_id)) != 0))
		goto done;
	free(text);
	text = NULL;
	if((node = xmlNewChild(build->security, NULL, (const xmlChar *)"Signature", NULL)) == NULL ||
			(ds = xmlNewNs(node, (const xmlChar *)TESSARO_DS_NS, (const xmlChar *)"ds")) == NULL)
		goto done;
	xmlSetNs(node, ds);
	if((signed_info = xmlNewChild(node, ds, (const xmlChar *)"SignedInfo", NULL)) == NULL ||
			tessaro_wsse_algorithm(signed_info, ds, "CanonicalizationMethod", TESSARO_EXC_C14N) == NULL ||
			tessaro_wsse_algorithm(signed_info, ds, "SignatureMethod",
				settings->signature_method == TESSARO_WSSE_RSA_SHA1 ? TESSARO_DS_RSA_SHA1 : TESSARO_DS_RSA_SHA256) == NULL ||
			tessaro_wsse_add_reference(signed_info, ds, body, body_id, settings->digest_method) != 0 ||
			(timestamp != NULL && tessaro_wsse_add_reference(signed_info, ds, timestamp, timestamp_id, settings->digest_method) != 0) ||
			(value = xmlNewChild(node, ds, (const xmlChar *)"SignatureValue", NULL)) == NULL)
		goto done;
	snprintf(uri, sizeof(uri), "#%s", token_id);
	if((node = xmlNewChild(node, ds, (const xmlChar *)"KeyInfo", NULL)) == NULL ||
			(node = xmlNewChild(node, build->wsse, (const xmlChar *)"SecurityTokenReference", NULL)) == NULL ||
			(node = xmlNewChild(node, build->wsse, (const xmlChar *)"Reference", NULL)) == NULL ||
			xmlSetProp(node, (const xmlChar *)"URI", (const xmlChar *)uri) == NULL ||
			xmlSetProp(node, (const xmlChar *)"ValueType", (const xmlChar *)TESSARO_WSSE_X509V3) == NULL)
		goto done;
	/* the signature is over the SignedInfo as it stands in the message */
	if((length = tessaro_wsse_c14n(signed_info, NULL, &canonical)) < 0 ||
			tessaro_wsse_sign_bytes(settings->key, settings->signature_method, canonical, (size_t)length, &signature, &signature_length,
				build->why, build->why_size) != 0 ||
			(text = tessaro_base64_encode(signature, signature_length)) == NULL)
		goto done;
	xmlNodeAddContent(value, (const xmlChar *)text);
	result = 0;
done:
	xmlFree(canonical);
	free(signature);
	free(text);
	return result == 0 ? 0 : tessaro_wsse_fail(-1, build->why, build->why_size, "the signature could not be made");
}

/* the envelope's Header, made before the Body when it has none */
static xmlNodePtr tessaro_wsse_header(xmlNodePtr envelope, xmlNodePtr body)
{
	xmlNodePtr header = tessaro_wsse_child(envelope, NULL, (const char *)envelope->ns->href, "Header");

	if(header == NULL && (header = xmlNewDocNode(envelope->doc, envelope->ns, (const xmlChar *)"Header", NULL)) != NULL &&
			xmlAddPrevSibling(body, header) == NULL){
		xmlFreeNode(header);
		header = NULL;
	}
	return header;
}

/* the Security header with what the settings ask for, first in the Header */
static int tessaro_wsse_build(tessaro_wsse_build_t *build, xmlNodePtr envelope, xmlNodePtr body)
{
	const tessaro_wsse_t *settings = build->settings;
	xmlNodePtr header = tessaro_wsse_header(envelope, body), timestamp = NULL;
	xmlNodePtr security = xmlNewDocNode(build->doc, NULL, (const xmlChar *)"Security", NULL);

	if(header == NULL || security == NULL ||
			(header->children != NULL ? xmlAddPrevSibling(header->children, security) : xmlAddChild(header, security)) == NULL){
		xmlFreeNode(security);
		return tessaro_wsse_fail(-1, build->why, build->why_size, "no memory for the Security header");
	}
	build->security = security;
	if((build->wsse = xmlNewNs(security, (const xmlChar *)TESSARO_WSSE_NS, (const xmlChar *)"wsse")) == NULL ||
			(build->wsu = xmlNewNs(security, (const xmlChar *)TESSARO_WSU_NS, (const xmlChar *)"wsu")) == NULL ||
			xmlSetNsProp(security, envelope->ns, (const xmlChar *)"mustUnderstand", (const xmlChar *)"1") == NULL)
		return tessaro_wsse_fail(-1, build->why, build->why_size, "no memory for the Security header");
	xmlSetNs(security, build->wsse);
	if((settings->use & TESSARO_WSSE_TIMESTAMP) != 0 && tessaro_wsse_add_timestamp(build, &timestamp) != 0)
		return -1;
	if((settings->use & TESSARO_WSSE_USERNAME_TOKEN) != 0 && tessaro_wsse_add_username_token(build) != 0)
		return -1;
	if((settings->use & TESSARO_WSSE_SIGN) != 0 && tessaro_wsse_add_signature(build, body, timestamp) != 0)
		return -1;
	return 0;
}

int tessaro_wsse_secure(const tessaro_wsse_t *settings, const char *xml, size_t length, char **out, size_t *out_length,
	char *why, size_t why_size)
{
	tessaro_wsse_build_t build;
	xmlDocPtr doc;
	xmlNodePtr envelope, body = NULL;
	xmlChar *text = NULL;
	int size = 0, result = -1;

	*out = NULL;
	*out_length = 0;
	tessaro_wsse_fail_clear(why, why_size);
	if(length > 0x7fffffff || (doc = xmlReadMemory(xml, (int)length, NULL, NULL, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING)) == NULL)
		return tessaro_wsse_fail(-1, why, why_size, "the envelope to secure is no XML document");
	envelope = xmlDocGetRootElement(doc);
	if(envelope != NULL && envelope->ns != NULL && xmlStrEqual(envelope->name, (const xmlChar *)"Envelope"))
		body = tessaro_wsse_child(envelope, NULL, (const char *)envelope->ns->href, "Body");
	if(body == NULL){
		xmlFreeDoc(doc);
		return tessaro_wsse_fail(-1, why, why_size, "the message to secure is no SOAP envelope with a Body");
	}
	memset(&build, 0, sizeof(build));
	build.settings = settings;
	build.doc = doc;
	build.now = time(NULL);
	build.why = why;
	build.why_size = why_size;
	if(tessaro_wsse_build(&build, envelope, body) == 0){
		xmlDocDumpMemoryEnc(doc, &text, &size, "UTF-8");
		if(text != NULL && (*out = (char *)malloc((size_t)size + 1)) != NULL){
			memcpy(*out, text, (size_t)size + 1);
			*out_length = (size_t)size;
			result = 0;
		}else{
			tessaro_wsse_fail(-1, why, why_size, "no memory for the secured message");
		}
	}
	xmlFree(text);
	xmlFreeDoc(doc);
	return result;
}
