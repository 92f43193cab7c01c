/* The support library's check of the Security header of a request, as a generated server runs it:
 * any bytes as the envelope, parsed as the server parses (no network, no entities loaded), then
 * checked under each set of demands a server may make: a UsernameToken (text or digest) against a
 * fixed password, a Timestamp, a signature by the test signer's certificate. A fresh memory of
 * nonces each time keeps a run repeatable. A crash, a leak or a sanitizer report is a finding. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <libxml/parser.h>

#include "tessaro_wsse.h"

/* The server's own bound on a request it reads is far above what a fuzzer gains by. */
#define FUZZ_MAX_INPUT (256 * 1024)
/* Created and Expires of the seeds lie years apart from any run's clock. */
#define FUZZ_FRESHNESS (1 << 30)

static int password_of(void *context, const char *user, char *password, size_t size)
{
	(void)context;
	if(strcmp(user, "alice") != 0)
		return -1;
	snprintf(password, size, "%s", "secret");
	return 0;
}

static tessaro_wsse_trust_t *signer_trust(void)
{
	static tessaro_wsse_trust_t *trust;
	char why[256];

	if(trust == NULL && tessaro_wsse_trust_load(&trust, KELVANE_SOURCE_DIR "/tests/runtime/data/wsse/signer.pem", why, sizeof(why)) != 0){
		fprintf(stderr, "wsse_header: %s\n", why);
		abort();
	}
	return trust;
}

static void check(xmlDocPtr doc, int use)
{
	tessaro_wsse_t settings;
	char why[256];
	const char *ns = NULL;
	int result;

	memset(&settings, 0, sizeof(settings));
	settings.use = use;
	settings.trust = signer_trust();
	settings.password_of = password_of;
	settings.freshness_seconds = FUZZ_FRESHNESS;
	if(tessaro_wsse_replay_new(&settings.replay, 16) != 0)
		return;
	result = tessaro_wsse_verify_doc(&settings, doc, 1, why, sizeof(why));
	/* every refusal names its fault */
	if(result != 0 && (tessaro_wsse_fault_code(result, &ns) == NULL || why[0] == '\0'))
		abort();
	tessaro_wsse_replay_free(settings.replay);
}

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	static const int demands[] = {
		TESSARO_WSSE_REQUIRE_USER,
		TESSARO_WSSE_REQUIRE_TIMESTAMP,
		TESSARO_WSSE_VERIFY | TESSARO_WSSE_REQUIRE_USER | TESSARO_WSSE_REQUIRE_TIMESTAMP,
	};
	xmlDocPtr doc;
	size_t i;

	if(size > FUZZ_MAX_INPUT)
		return 0;
	doc = xmlReadMemory((const char *)data, (int)size, NULL, NULL,
		XML_PARSE_NONET | XML_PARSE_COMPACT | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NODICT);
	if(doc == NULL)
		return 0;
	for(i = 0; i < sizeof(demands) / sizeof(demands[0]); i++)
		check(doc, demands[i]);
	xmlFreeDoc(doc);
	return 0;
}
