/* The generated reader of XOP packages (a corpus service, project "fz"): any bytes as a header
 * block and a body. The parts it finds must lie inside the body, none the root; the envelope's
 * xop:Include elements then take them, each part once, and the whole message goes through the
 * decoder with its buffer to hand on. A finding is a part outside the body, a part taken twice, a crash or a sanitizer report. */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "fz_api.c"

/* every part lies in the body, behind the root's start */
static void check_parts(const mymtom_package_t *package, const char *body, const char *end)
{
	long	i;

	for(i = 0; i < package->count; i++){
		if(package->parts[i].bytes < body || package->parts[i].bytes + package->parts[i].length > end ||
				(package->parts[i].id != NULL && (package->parts[i].id < body || package->parts[i].id + package->parts[i].id_len > end)))
			abort();
	}
}

/* the parts the Includes of the root took, each once: as many as the elements that hold one */
static void check_includes(xmlDocPtr doc, const mymtom_package_t *package)
{
	xmlNodePtr	top = xmlDocGetRootElement(doc), node;
	long	holders = 0, taken = 0, i;

	for(node = top; node != NULL; node = mydecode_following(node, top))
		holders += mymtom_part_of(node) != NULL;
	for(i = 0; i < package->count; i++)
		taken += package->parts[i].included;
	if(holders != taken)
		abort();
}

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	/* a message read ends in a NUL, as the reader leaves it */
	char *text = (char *)malloc(size + 1);
	char error[FZ_MAX_DECODE_ERROR_LEN + 1];
	size_t header_end, xml_beg = 0, part_end = 0, root_end;
	const char *why = NULL;
	mymtom_package_t package;
	fz_proto_packet_t *pk = (fz_proto_packet_t *)calloc(1, sizeof(*pk));
	xmlDocPtr doc;
	mydecode_time_t time;
	int references;

	if(text == NULL || pk == NULL){
		free(text);
		free(pk);
		return 0;
	}
	memcpy(text, data, size);
	text[size] = '\0';
	header_end = mydecode_find(text, 0, size, "\r\n\r\n", 4);
	error[0] = '\0';
	mydecode_time_start(&time, -1);
	memset(&package, 0, sizeof(package));
	/* a package refused keeps the parts found before the refusal until it is freed */
	if(header_end < size && mydecode_locate(text, header_end, size, &xml_beg, &part_end, &why) == 0 &&
			mymtom_read(text, header_end, size, xml_beg, &package, error, sizeof(error)) == 0){
		check_parts(&package, text + header_end + 4, text + size);
		if(package.xop && (doc = mydecode_parse(text + xml_beg, part_end - xml_beg, &time, &root_end, &references)) != NULL){
			doc->_private = error;
			if(mymtom_include(doc, &package) == 0)
				check_includes(doc, &package);
			xmlFreeDoc(doc);
		}
	}
	mymtom_free(&package);
	/* and the whole message as the reader hands it to the decoder, its buffer to be handed on: the
	   largest part may become its value's text in that buffer, which then holds what lay in front */
	if(header_end < size){
		struct mymtom_room_t room;
		room.text = text;
		room.length = size;
		room.size = size + 1;
		fz_proto_decoder(text, pk, size, -1, &room);
		if(room.length > size || room.text[room.length] != '\0')
			abort();
		text = room.text;
	}
	fz_free_proto_packet(pk);
	free(pk);
	free(text);
	return 0;
}
