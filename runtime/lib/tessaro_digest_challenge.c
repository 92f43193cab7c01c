/* Reading a Digest challenge: a token68 or a stray byte between challenges
 * is passed over, a quote left open ends the reading. */
#include "tessaro_digest_challenge.h"

#include <stdlib.h>
#include <string.h>

#include "tessaro_hash.h"

/* the algorithms by their number: 2 * session + (SHA-256 ? 1 : 0) */
static const char *const algorithms[] = {"MD5", "SHA-256", "MD5-sess", "SHA-256-sess"};

static int lower(int c)
{
	return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

static int is_tchar(int c)
{
	return c > ' ' && c < 127 && strchr("\"(),/:;<=>?@[\\]{}", c) == NULL;
}

/* whether text[0..length) is word, in any letter case */
static int is_word(const char *text, size_t length, const char *word)
{
	size_t i;

	for(i = 0; i < length && word[i] != '\0' && lower((unsigned char)text[i]) == lower((unsigned char)word[i]); i++)
		;
	return i == length && word[i] == '\0';
}

static size_t skip(const char *text, size_t at, size_t end, const char *blanks)
{
	while(at < end && strchr(blanks, text[at]) != NULL && text[at] != '\0')
		at++;
	return at;
}

/* the token or quoted string at text[*at..end), unquoted into value (size
 * bytes); -1 when it does not fit or the quote does not end */
static int read_value(const char *text, size_t *at, size_t end, char *value, size_t size)
{
	size_t i = *at, n = 0;

	if(i < end && text[i] == '"'){
		for(i++; i < end && text[i] != '"'; i++){
			if(text[i] == '\\' && i + 1 < end)
				i++;
			if(n + 1 >= size)
				return -1;
			value[n++] = text[i];
		}
		if(i >= end)
			return -1;
		i++;
	}else{
		for(; i < end && is_tchar((unsigned char)text[i]); i++){
			if(n + 1 >= size)
				return -1;
			value[n++] = text[i];
		}
	}
	value[n] = '\0';
	*at = i;
	return 0;
}

/* whether a comma-separated list holds the word */
static int lists(const char *list, const char *word)
{
	size_t at = 0, start, end = strlen(list);

	while(at < end){
		at = skip(list, at, end, " \t,");
		for(start = at; at < end && list[at] != ',' && list[at] != ' ' && list[at] != '\t'; at++)
			;
		if(at > start && is_word(list + start, at - start, word))
			return 1;
	}
	return 0;
}

/* one parameter of a Digest challenge; 0 when the client cannot answer what it asks */
static int take(tessaro_digest_challenge *challenge, const char *name, size_t length, const char *value)
{
	size_t i;

	if(is_word(name, length, "realm"))
		strcpy(challenge->realm, value);
	else if(is_word(name, length, "nonce"))
		strcpy(challenge->nonce, value);
	else if(is_word(name, length, "opaque")){
		strcpy(challenge->opaque, value);
		challenge->opaque_given = 1;
	}else if(is_word(name, length, "stale"))
		challenge->stale = is_word(value, strlen(value), "true");
	else if(is_word(name, length, "qop")){
		challenge->qop = lists(value, "auth");
		return challenge->qop;
	}else if(is_word(name, length, "algorithm")){
		for(i = 0; i < 4 && !is_word(value, strlen(value), algorithms[i]); i++)
			;
		challenge->algorithm = i % 2 == 0 ? TESSARO_HASH_MD5 : TESSARO_HASH_SHA256;
		challenge->session = i >= 2;
		return i < 4;
	}
	return 1;
}

static void start(tessaro_digest_challenge *challenge)
{
	challenge->realm[0] = challenge->nonce[0] = challenge->opaque[0] = '\0';
	challenge->opaque_given = challenge->session = challenge->qop = challenge->stale = 0;
	challenge->algorithm = TESSARO_HASH_MD5;
}

static int answerable(const tessaro_digest_challenge *challenge)
{
	/* a session algorithm hashes the client's nonce, which goes only with qop: without it no answer can be checked */
	return challenge->nonce[0] != '\0' && (challenge->qop || !challenge->session);
}

static int read_challenges(const char *text, size_t at, size_t end, tessaro_digest_challenge *found, int *basic, char *value)
{
	size_t name, length, equals;
	int digest = 0, usable = 0;

	for(;;){
		at = skip(text, at, end, " \t,");
		for(name = at; at < end && is_tchar((unsigned char)text[at]); at++)
			;
		length = at - name;
		equals = skip(text, at, end, " \t");
		if(length > 0 && equals < end && text[equals] == '='){
			at = skip(text, equals + 1, end, " \t");
			if(read_value(text, &at, end, value, found->room) != 0)
				return -1;
			if(digest && !take(found, text + name, length, value))
				usable = 0;
			continue;
		}
		if(length == 0 && at < end){
			at++;
			continue;
		}
		/* a scheme's name, or the end, completes the challenge before it */
		if(digest && usable && answerable(found))
			return 0;
		if(at >= end)
			return -1;
		digest = is_word(text + name, length, "Digest");
		if(is_word(text + name, length, "Basic"))
			*basic = 1;
		usable = 1;
		start(found);
	}
}

int tessaro_digest_challenge_read(const char *text, size_t at, size_t end, tessaro_digest_challenge *found, int *basic)
{
	char *value;
	int result;

	if(found->room == 0 || (value = (char *)malloc(found->room)) == NULL)
		return -1;
	start(found);
	result = read_challenges(text, at, end, found, basic, value);
	free(value);
	return result;
}
