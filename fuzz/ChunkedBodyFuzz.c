/* The generated packet reader's de-chunking (a corpus service, project "fz"): any bytes as a
 * chunked body, read whole and byte by byte. Both readings must agree on every byte of the
 * body, on where they stopped and on why; a disagreement, a crash or a sanitizer report is a
 * finding. */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "fz_api.c"

/* de-chunks text (size bytes) in place, handed pieces bytes at a time: where the reading stopped */
static size_t dechunk(char *text, size_t size, size_t pieces, http_chunks_t *chunks, int *refusal)
{
	size_t at = 0, end, taken;

	memset(chunks, 0, sizeof(*chunks));
	chunks->phase = HTTP_CHUNK_SIZE_FIRST;
	chunks->limit = size + 1;
	*refusal = HTTP_REFUSED_NONE;
	while(at < size && chunks->phase != HTTP_CHUNK_DONE && *refusal == HTTP_REFUSED_NONE){
		end = size - at < pieces ? size : at + pieces;
		taken = http_chunks_take(chunks, text, at, end, refusal);
		/* bytes are left only behind the body's end or a refusal */
		if(taken < end - at && chunks->phase != HTTP_CHUNK_DONE && *refusal == HTTP_REFUSED_NONE)
			abort();
		at += taken;
	}
	return at;
}

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	char *whole = (char *)malloc(size + 1), *bytes = (char *)malloc(size + 1);
	http_chunks_t a, b;
	int why_a, why_b;
	size_t stop_a, stop_b;

	if(whole != NULL && bytes != NULL){
		memcpy(whole, data, size);
		memcpy(bytes, data, size);
		stop_a = dechunk(whole, size, size + 1, &a, &why_a);
		stop_b = dechunk(bytes, size, 1, &b, &why_b);
		if(stop_a != stop_b || a.phase != b.phase || a.out != b.out || why_a != why_b || (why_a == HTTP_REFUSED_NONE && memcmp(whole, bytes, a.out) != 0))
			abort();
	}
	free(whole);
	free(bytes);
	return 0;
}
