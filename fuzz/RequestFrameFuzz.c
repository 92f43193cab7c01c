/* The generated server's framing check (a corpus service, project "fz"): any bytes as what has come of
 * a request, told whole or not at once and as they come byte by byte, against a bound small enough
 * to be met. Both tellings must agree; a request told whole must be read by the packet reader from
 * those bytes alone, and read alike when the reader is told what the check learned of its head; one
 * told not whole must leave the reader wanting more; a disagreement, a crash or a sanitizer report is
 * a finding. */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "fz_api.c"

#define FRAME_BOUND 1024

/* the first telling other than "more" as bytes come one by one, and at how many bytes (size + 1 when none came) */
static int frame_as_they_come(const char *bytes, size_t size, size_t *at, tessaro_server_frame_t *frame)
{
	int told = TESSARO_FRAME_MORE;

	memset(frame, 0, sizeof(*frame));
	for(*at = 1; *at <= size && (told = http_frame_request(bytes, *at, FRAME_BOUND, frame)) == TESSARO_FRAME_MORE; (*at)++)
		;
	return told;
}

/* what the reader made of a request's bytes */
typedef struct reading_t{
	int result;
	tessaro_size_t length;
	char *text;
	int keep_open;
	tessaro_size_t left;
}reading_t;

/* reads the request from bytes[0..size) alone, as the server's worker does, told what the framing check
 * learned of its head when framed is given */
static void read_alone(const char *bytes, size_t size, const tessaro_server_frame_t *framed, reading_t *reading)
{
	fz_proto_trans_t trans;
	http_buffer_t message = {NULL, 0, FRAME_BOUND + 1, 0, HTTP_EXPECT_REQUEST};

	memset(&trans, 0, sizeof(trans));
	trans.socket = INVALID_SOCKET;
	trans.carry = bytes;
	trans.carry_length = size;
	trans.framed = framed;
	reading->length = 0;
	/* no time: what the bytes do not hold is not waited for */
	reading->result = read_packet(&trans, &message, &reading->length, 0, NULL);
	reading->text = message.text;
	reading->keep_open = trans.keep_open;
	reading->left = trans.carry_length;
}

/* whether the reader wanted more than bytes[0..size) hold */
static int reader_wants_more(const char *bytes, size_t size)
{
	reading_t reading;

	read_alone(bytes, size, NULL, &reading);
	free(reading.text);
	return reading.result == TESSARO_TIMEOUT;
}

/* whether a request told whole reads otherwise when the reader is told what the check learned of its
 * head than when it reads the head itself */
static int framed_reading_differs(const char *bytes, size_t size, const tessaro_server_frame_t *frame)
{
	reading_t own, told;
	int differs;

	read_alone(bytes, size, NULL, &own);
	read_alone(bytes, size, frame, &told);
	differs = own.result != told.result || (own.result == 0 && (own.length != told.length || own.keep_open != told.keep_open ||
		own.left != told.left || memcmp(own.text, told.text, own.length + 1) != 0));
	free(own.text);
	free(told.text);
	return differs;
}

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	tessaro_server_frame_t frame, frame_coming;
	const char *bytes = (const char *)data;
	size_t at;
	int whole, coming;

	memset(&frame, 0, sizeof(frame));
	whole = http_frame_request(bytes, size, FRAME_BOUND, &frame);
	coming = frame_as_they_come(bytes, size, &at, &frame_coming);
	/* more bytes never undo a telling: those behind a whole request are the next one's */
	if(whole != coming || frame.most != FRAME_BOUND)
		abort();
	if(whole == TESSARO_FRAME_WHOLE && reader_wants_more(bytes, at))
		abort();
	/* what the check learned of the head, byte by byte or at once, reads the request as the reader would */
	if(whole == TESSARO_FRAME_WHOLE && (framed_reading_differs(bytes, size, &frame) || framed_reading_differs(bytes, size, &frame_coming)))
		abort();
	if(whole == TESSARO_FRAME_MORE && size > 0 && !reader_wants_more(bytes, size))
		abort();
	return 0;
}
