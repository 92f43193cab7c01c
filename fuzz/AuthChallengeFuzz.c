/* The Digest challenge reader of the generated client (the example calculator with Digest
 * authentication, project "fd"): any
 * bytes as the value of a WWW-Authenticate line. A challenge it takes is answered, as the client
 * would, so that every field it kept is hashed. A crash or a sanitizer report is a finding. */
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
	int stale = 0;

	if(text == NULL)
		return 0;
	memcpy(text, data, size);
	memset(&found, 0, sizeof(found));
	if(myauth_parse(text, 0, size, &found, &stale) == 0)
		fd_digest_response(&found, "user", "password", "POST", "/soap", "00000001", "0a4f113b", response);
	free(text);
	return 0;
}
