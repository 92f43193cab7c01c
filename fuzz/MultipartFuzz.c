/* The generated decoder's finding of the SOAP envelope in a message (a corpus service, project
 * "fz"): any bytes as a header block and a body, multipart/related or not. The envelope it finds
 * must lie inside the body; its markup then goes through the bounds that come before a parse. A
 * finding is a place outside the body, a crash or a sanitizer report. */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "fz_api.c"

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	/* a message read ends in a NUL, as the reader leaves it */
	char *text = (char *)malloc(size + 1);
	char error[FZ_MAX_DECODE_ERROR_LEN + 1];
	size_t header_end, xml_beg = 0, part_end = 0;
	const char *why = NULL;

	if(text == NULL)
		return 0;
	memcpy(text, data, size);
	text[size] = '\0';
	header_end = mydecode_find(text, 0, size, "\r\n\r\n", 4);
	if(header_end < size && mydecode_locate(text, header_end, size, &xml_beg, &part_end, &why) == 0){
		if(xml_beg < header_end + 4 || xml_beg > part_end || part_end > size)
			abort();
		mydecode_within_bounds(text + xml_beg, part_end - xml_beg, error, sizeof(error));
	}
	free(text);
	return 0;
}
