/* tessaro: the UsernameToken of a message read: its password, as text or as
 * a digest over its Nonce and Created, against the password the server's
 * owner gives for the user; its Created fresh; its Nonce seen once. */
#include "tessaro_wsse.h"
#include "tessaro_wsse_xml.h"
#include "tessaro_hash.h"

#include <stdlib.h>
#include <string.h>

/* what a token's check reads of it */
typedef struct tessaro_wsse_token {
	xmlChar *user;
	xmlChar *password;	/* the text, or the digest in Base64 */
	xmlChar *created;	/* NULL: none */
	unsigned char *nonce;	/* NULL: none */
	size_t nonce_length;
	int digest;
	time_t created_at;
} tessaro_wsse_token_t;

char *tessaro_wsse_password_digest(const unsigned char *nonce, size_t nonce_size, const char *created, const char *password)
{
	size_t created_length = strlen(created), password_length = strlen(password);
	unsigned char *joined = (unsigned char *)malloc(nonce_size + created_length + password_length + 1);
	unsigned char digest[TESSARO_HASH_MAX_SIZE];
	size_t size;

	if(joined == NULL)
		return NULL;
	memcpy(joined, nonce, nonce_size);
	memcpy(joined + nonce_size, created, created_length);
	memcpy(joined + nonce_size + created_length, password, password_length);
	size = tessaro_hash(TESSARO_HASH_SHA1, joined, nonce_size + created_length + password_length, digest);
	memset(joined, 0, nonce_size + created_length + password_length);
	free(joined);
	return size > 0 ? tessaro_base64_encode(digest, size) : NULL;
}

/* whether two texts are equal, in a time that does not tell where they differ */
static int tessaro_wsse_same_text(const char *a, const char *b)
{
	size_t a_length = strlen(a), b_length = strlen(b), i;
	unsigned char differ = (unsigned char)(a_length != b_length);

	for(i = 0; i < a_length && i < b_length; i++)
		differ |= (unsigned char)(a[i] ^ b[i]);
	return differ == 0;
}

static void tessaro_wsse_token_free(tessaro_wsse_token_t *token)
{
	if(token->password != NULL)
		memset(token->password, 0, (size_t)xmlStrlen(token->password));
	xmlFree(token->user);
	xmlFree(token->password);
	xmlFree(token->created);
	free(token->nonce);
}

/* the token's parts: its Password's kind, a Nonce in Base64, a Created that is a dateTime */
static int tessaro_wsse_token_read(xmlNodePtr element, tessaro_wsse_token_t *token, char *why, size_t why_size)
{
	xmlNodePtr user = tessaro_wsse_child(element, NULL, TESSARO_WSSE_NS, "Username");
	xmlNodePtr password = tessaro_wsse_child(element, NULL, TESSARO_WSSE_NS, "Password");
	xmlNodePtr nonce = tessaro_wsse_child(element, NULL, TESSARO_WSSE_NS, "Nonce");
	xmlNodePtr created = tessaro_wsse_child(element, NULL, TESSARO_WSU_NS, "Created");
	const char *type = password != NULL ? tessaro_wsse_attribute(password, "Type") : "";
	const char *encoding = nonce != NULL ? tessaro_wsse_attribute(nonce, "EncodingType") : "";
	xmlChar *text;

	if(user == NULL || password == NULL)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, why, why_size, "the UsernameToken has no Username and Password");
	token->digest = strcmp(type, TESSARO_WSSE_TOKEN_PROFILE "#PasswordDigest") == 0;
	if(!token->digest && type[0] != '\0' && strcmp(type, TESSARO_WSSE_TOKEN_PROFILE "#PasswordText") != 0)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, why, why_size, "the UsernameToken's password type %.100s is not supported", type);
	token->user = xmlNodeGetContent(user);
	token->password = xmlNodeGetContent(password);
	if(token->user == NULL || token->password == NULL)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, why, why_size, "no memory for the UsernameToken");
	if(nonce != NULL){
		if(encoding[0] != '\0' && strcmp(encoding, TESSARO_WSSE_BASE64) != 0)
			return tessaro_wsse_fail(TESSARO_WSSE_INVALID, why, why_size, "the UsernameToken's Nonce is not in Base64");
		text = xmlNodeGetContent(nonce);
		token->nonce = text != NULL ? tessaro_base64_decode((const char *)text, &token->nonce_length) : NULL;
		xmlFree(text);
		if(token->nonce == NULL || token->nonce_length == 0)
			return tessaro_wsse_fail(TESSARO_WSSE_INVALID, why, why_size, "the UsernameToken's Nonce is no Base64");
	}
	if(created != NULL && ((token->created = xmlNodeGetContent(created)) == NULL ||
			tessaro_wsse_time_parse((const char *)token->created, &token->created_at) != 0))
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, why, why_size, "the UsernameToken's Created is no dateTime");
	/* a digest without them could be sent again at any time */
	if(token->digest && (token->nonce == NULL || token->created == NULL))
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, why, why_size, "the UsernameToken's password digest comes without its Nonce and Created");
	return 0;
}

/* the password given for the user against the token's */
static int tessaro_wsse_token_password(const tessaro_wsse_t *settings, const tessaro_wsse_token_t *token, char *why, size_t why_size)
{
	char password[TESSARO_WSSE_PASSWORD_LEN + 1];
	char *digest = NULL;
	int same = 0;

	memset(password, 0, sizeof(password));
	if(settings->password_of == NULL)
		return tessaro_wsse_fail(TESSARO_WSSE_FAILED_AUTH, why, why_size, "the server checks no passwords");
	if(xmlStrlen(token->user) <= TESSARO_WSSE_USER_LEN &&
			settings->password_of(settings->password_context, (const char *)token->user, password, sizeof(password)) == 0){
		password[sizeof(password) - 1] = '\0';
		if(!token->digest)
			same = tessaro_wsse_same_text((const char *)token->password, password);
		else if((digest = tessaro_wsse_password_digest(token->nonce, token->nonce_length, (const char *)token->created, password)) != NULL)
			same = tessaro_wsse_same_text((const char *)token->password, digest);
	}
	memset(password, 0, sizeof(password));
	free(digest);
	/* an unknown user and a wrong password are refused alike */
	return same ? 0 : tessaro_wsse_fail(TESSARO_WSSE_FAILED_AUTH, why, why_size, "the UsernameToken's user or password is not accepted");
}

/* the token's Created within the window, and its Nonce not seen within it */
static int tessaro_wsse_token_fresh(const tessaro_wsse_t *settings, const tessaro_wsse_token_t *token, time_t now, int skew,
	char *why, size_t why_size)
{
	int window = settings->freshness_seconds > 0 ? settings->freshness_seconds : 300;
	time_t from = token->created != NULL ? token->created_at : now;
	int seen;

	if(token->created != NULL && token->created_at < now - window - skew)
		return tessaro_wsse_fail(TESSARO_WSSE_EXPIRED, why, why_size, "the UsernameToken was created too long ago");
	if(token->created != NULL && token->created_at > now + skew)
		return tessaro_wsse_fail(TESSARO_WSSE_EXPIRED, why, why_size, "the UsernameToken was created in the future");
	if(token->nonce == NULL)
		return 0;
	if(settings->replay == NULL)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, why, why_size, "a Nonce came and the server keeps no memory of nonces");
	seen = tessaro_wsse_replay_seen(settings->replay, token->nonce, token->nonce_length, from + window + skew, now);
	if(seen > 0)
		return tessaro_wsse_fail(TESSARO_WSSE_FAILED_AUTH, why, why_size, "the UsernameToken's Nonce was used before (a replay)");
	if(seen < 0)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, why, why_size, "the server holds as many nonces as it can keep; try again later");
	return 0;
}

int tessaro_wsse_check_username(xmlNodePtr security, const tessaro_wsse_t *settings, time_t now, int skew, char *why, size_t why_size)
{
	xmlNodePtr element = security != NULL ? tessaro_wsse_child(security, NULL, TESSARO_WSSE_NS, "UsernameToken") : NULL;
	tessaro_wsse_token_t token;
	int result;

	if(element == NULL)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, why, why_size, "the message carries no UsernameToken");
	if(tessaro_wsse_child(security, element, TESSARO_WSSE_NS, "UsernameToken") != NULL)
		return tessaro_wsse_fail(TESSARO_WSSE_INVALID, why, why_size, "the Security header holds more than one UsernameToken");
	memset(&token, 0, sizeof(token));
	/* the password first: only a sender who knows it fills the memory of nonces */
	if((result = tessaro_wsse_token_read(element, &token, why, why_size)) == 0 &&
			(result = tessaro_wsse_token_password(settings, &token, why, why_size)) == 0)
		result = tessaro_wsse_token_fresh(settings, &token, now, skew, why, why_size);
	tessaro_wsse_token_free(&token);
	return result;
}
