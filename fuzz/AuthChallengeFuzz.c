/* The Digest challenge reader of the support library, as the generated client (the example
 * calculator with Digest authentication, project "fd") calls it: any
 * bytes as the value of a WWW-Authenticate line. A challenge it takes is answered, as the client
 * would, so that every field it kept is hashed. The same bytes, as text, are a proxy's challenges
 * one a line and a proxy address whose credentials are decoded. A crash or a sanitizer report is
 * a finding. */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "fd_api.c"

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	/* exactly the bytes given: a read past them is a finding */
	char *text = (char *)malloc(size > 0 ? size : 1);
	char response[TESSARO_HASH_MAX_HEX];
	fd_digest_t found;
	tessaro_digest_ask ask;
	char bare[512], user[FD_MAX_PROXY_CREDENTIAL], password[FD_MAX_PROXY_CREDENTIAL], *line;
	int stale = 0, basic = 0;

	if(text == NULL)
		return 0;
	memcpy(text, data, size);
	memset(&found, 0, sizeof(found));
	if(myauth_parse(text, 0, size, &found, &stale, &basic) == 0){
		ask = myauth_ask(&found);
		tessaro_digest_response(&ask, "user", "password", "POST", "/soap", "00000001", "0a4f113b", response);
	}
	free(text);
	if((line = (char *)malloc(size + 1)) == NULL)
		return 0;
	memcpy(line, data, size);
	line[size] = '\0';
	fd_list_challenge(line, &found, &stale);
	fd_proxy_credentials(line, bare, sizeof(bare), user, password);
	free(line);
	return 0;
}
