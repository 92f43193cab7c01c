//the challenges of HTTP authentication, a service's (WWW-Authenticate) or a proxy's
//(Proxy-Authenticate), and the values that answer them: Basic's, and Digest's hash of the
//credentials, whose nonce goes on serving later requests, counted, until another comes
#include "tessaro_digest_challenge.h"
#include "tessaro_hash.h"

//whether text[0..length) is word, in any letter case
static int myauth_is(const char *text, size_t length, const char *word)
{
	size_t	i;

	for(i = 0; i < length && word[i] != '\0' && http_lower(text[i]) == http_lower(word[i]); i++)
		;
	return i == length && word[i] == '\0';
}

//the first Digest challenge of one WWW-Authenticate or Proxy-Authenticate value, text[at..end),
//that the client can answer, as the support library reads it; -1 for none. *basic is set when a
//Basic challenge comes before it
static int myauth_parse(const char *text, size_t at, size_t end, kvproj_digest_t *found, int *stale, int *basic)
{
	kvproj_digest_t	challenge;
	tessaro_digest_challenge	reading;

	memset(&challenge, 0, sizeof(challenge));
	reading.realm = challenge.realm;
	reading.nonce = challenge.nonce;
	reading.opaque = challenge.opaque;
	reading.room = sizeof(challenge.realm);
	if(tessaro_digest_challenge_read(text, at, end, &reading, basic) != 0)
		return -1;
	challenge.opaque_given = reading.opaque_given;
	challenge.algorithm = reading.algorithm;
	challenge.session = reading.session;
	challenge.qop = reading.qop;
	*found = challenge;
	*stale = reading.stale;
	return 0;
}

//one challenge value, text[at..end), weighed against those before it: a Digest challenge the client
//can answer goes first (*scheme 2, the challenge in *challenge), then Basic (1)
static void myauth_weigh(const char *text, size_t at, size_t end, kvproj_digest_t *challenge, int *stale, int *scheme)
{
	kvproj_digest_t	found;
	int	basic = 0, found_stale = 0;

	if(*scheme == 2)
		return;
	if(myauth_parse(text, at, end, &found, &found_stale, &basic) == 0){
		*challenge = found;
		*stale = found_stale;
		*scheme = 2;
	}else if(basic)
		*scheme = 1;
}

//the length of the head a packet read holds
static size_t kvproj_head_end(const kvproj_proto_packet_t *answer)
{
	size_t	end = 0;

	while(end < sizeof(answer->msg.http_msg.buffer) && answer->msg.http_msg.buffer[end] != '\0')
		end++;
	return end;
}

//the challenge to answer among the values of the lines named name (with its colon) of the head
//text[0..end), its status line first: 2 Digest (in *challenge), 1 Basic, 0 none the client takes
static int kvproj_head_challenge(const char *text, size_t end, const char *name, kvproj_digest_t *challenge, int *stale)
{
	size_t	line, eol, length = strlen(name);
	int	scheme = 0;

	*stale = 0;
	for(line = http_line_end(text, 0, end) + 2; line < end; line = eol + 2){
		eol = http_line_end(text, line, end);
		if(eol == line)
			break;
		if(eol - line >= length && myauth_is(text + line, length, name))
			myauth_weigh(text, line + length, eol, challenge, stale, &scheme);
	}
	return scheme;
}

//the same among challenge values one a line, as tessaro_proxy_tunnel_as keeps them
static int kvproj_list_challenge(const char *values, kvproj_digest_t *challenge, int *stale)
{
	size_t	line = 0, eol, end = strlen(values);
	int	scheme = 0;

	*stale = 0;
	for(; line < end; line = eol + 1){
		eol = line + strcspn(values + line, "\n");
		myauth_weigh(values, line, eol, challenge, stale, &scheme);
	}
	return scheme;
}

//what the challenge asks of its answer, as the support library's Digest answer takes it
static tessaro_digest_ask myauth_ask(const kvproj_digest_t *challenge)
{
	tessaro_digest_ask	ask;

	ask.realm = challenge->realm;
	ask.nonce = challenge->nonce;
	ask.opaque = challenge->opaque_given ? challenge->opaque : NULL;
	ask.algorithm = challenge->algorithm;
	ask.session = challenge->session;
	ask.qop = challenge->qop;
	return ask;
}

//the Digest value of a request's Authorization or Proxy-Authorization line (method and uri as its
//request line names them) into value (size bytes), which counts one more use of the nonce; NULL
//when no random cnonce could be had or the value does not fit
static const char *kvproj_digest_value(kvproj_digest_t *challenge, const char *user, const char *password, const char *method,
		const char *uri, char *value, size_t size)
{
	tessaro_digest_ask	ask = myauth_ask(challenge);

	challenge->nc++;
	return tessaro_digest_value(&ask, challenge->nc, user, password, method, uri, value, size) == 0 ? value : NULL;
}

//the Basic value of a request's Authorization or Proxy-Authorization line into value (size bytes):
//user:password in base64; NULL when the user name holds a colon (the first one would end it) or
//the value does not fit
static const char *kvproj_basic_value(const char *user, const char *password, char *value, size_t size)
{
	static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
	char pair[2 * 256 + 2];
	unsigned long bits;
	size_t length, i, o = 6;
	int n;

	if(strchr(user, ':') != NULL)
		return NULL;
	n = snprintf(pair, sizeof(pair), "%s:%s", user, password);
	if(n < 0 || (size_t)n >= sizeof(pair) || o + ((size_t)n + 2) / 3 * 4 >= size){
		memset(pair, 0, sizeof(pair));
		return NULL;
	}
	length = (size_t)n;
	memcpy(value, "Basic ", o);
	for(i = 0; i < length; i += 3){
		bits = (unsigned long)(unsigned char)pair[i] << 16;
		if(i + 1 < length)
			bits |= (unsigned long)(unsigned char)pair[i + 1] << 8;
		if(i + 2 < length)
			bits |= (unsigned char)pair[i + 2];
		value[o++] = digits[bits >> 18 & 63];
		value[o++] = digits[bits >> 12 & 63];
		value[o++] = i + 1 < length ? digits[bits >> 6 & 63] : '=';
		value[o++] = i + 2 < length ? digits[bits & 63] : '=';
	}
	value[o] = '\0';
	memset(pair, 0, sizeof(pair));
	return value;
}
