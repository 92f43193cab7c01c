/* The generated packet reader and decoders of a corpus service (round4XSD,
 * generated as project "fz") fed any bytes through a socket pair: the bytes
 * are written and the writing end shut, so the reader meets the end of the
 * stream rather than a wait. It reads a message or fails; a read packet is
 * freed. A crash, a sanitizer report or a leak is a finding. */
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

#include "fz_api.h"

/* More than a socket pair holds without a reader would block the write. */
#define FUZZ_MAX_INPUT (256 * 1024)

static int fill(int sock, const uint8_t *data, size_t size)
{
	int room = FUZZ_MAX_INPUT * 2;

	if(setsockopt(sock, SOL_SOCKET, SO_SNDBUF, &room, sizeof(room)) != 0)
		return -1;
	while(size > 0){
		ssize_t sent = write(sock, data, size);
		if(sent <= 0)
			return -1;
		data += sent;
		size -= (size_t)sent;
	}
	return shutdown(sock, SHUT_WR);
}

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	int pair[2];
	fz_proto_trans_t trans;
	fz_proto_packet_t *pk;

	if(size > FUZZ_MAX_INPUT || socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0)
		return 0;
	pk = (fz_proto_packet_t *)calloc(1, sizeof(*pk));
	if(pk != NULL && fill(pair[0], data, size) == 0){
		memset(&trans, 0, sizeof(trans));
		trans.socket = pair[1];
		fz_proto_readpacket(&trans, pk, 1);
		fz_free_proto_packet(pk);
	}
	free(pk);
	close(pair[0]);
	close(pair[1]);
	return 0;
}
