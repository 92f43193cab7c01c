/* The generated server's framing check (a corpus service, project "fz"): any bytes as what has come of
 * a request, told whole or not at once and as they come byte by byte, against a bound small enough
 * to be met. Both tellings must agree; a request told whole must be read by the packet reader from
 * those bytes alone, one told not whole must leave the reader wanting more; a disagreement, a crash
 * or a sanitizer report is a finding. */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "fz_api.c"

#define FRAME_BOUND 1024

/* the first telling other than "more" as bytes come one by one, and at how many bytes (size + 1 when none came) */
static int frame_as_they_come(const char *bytes, size_t size, size_t *at)
{
	tessaro_server_frame_t frame;
	int told = TESSARO_FRAME_MORE;

	memset(&frame, 0, sizeof(frame));
	for(*at = 1; *at <= size && (told = http_frame_request(bytes, *at, FRAME_BOUND, &frame)) == TESSARO_FRAME_MORE; (*at)++)
		;
	return told;
}

/* reads the request from bytes[0..size) alone, as the server's worker does: whether the reader wanted
 * more than they hold */
static int reader_wants_more(const char *bytes, size_t size)
{
	fz_proto_trans_t trans;
	http_buffer_t message = {NULL, 0, FRAME_BOUND + 1, 0, HTTP_EXPECT_REQUEST};
	tessaro_size_t length = 0;
	int result;

	memset(&trans, 0, sizeof(trans));
	trans.socket = INVALID_SOCKET;
	trans.carry = bytes;
	trans.carry_length = size;
	/* no time: what the bytes do not hold is not waited for */
	result = read_packet(&trans, &message, &length, 0, NULL);
	free(message.text);
	return result == TESSARO_TIMEOUT;
}

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	tessaro_server_frame_t frame;
	const char *bytes = (const char *)data;
	size_t at;
	int whole, coming;

	memset(&frame, 0, sizeof(frame));
	whole = http_frame_request(bytes, size, FRAME_BOUND, &frame);
	coming = frame_as_they_come(bytes, size, &at);
	/* more bytes never undo a telling: those behind a whole request are the next one's */
	if(whole != coming || frame.most != FRAME_BOUND)
		abort();
	if(whole == TESSARO_FRAME_WHOLE && reader_wants_more(bytes, at))
		abort();
	if(whole == TESSARO_FRAME_MORE && size > 0 && !reader_wants_more(bytes, size))
		abort();
	return 0;
}
