/* Seeds for the packet reader's fuzz target: every message kind of the
 * service, filled with the demo's sample values and written by the generated
 * sender into a file of its own in the folder named.
 *   fuzz_packet_seeds FOLDER */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

/* The demo's sample values without its main. */
#define main fz_demo_main
#include "fz_api_demo.c"
#undef main

static int write_seed(const char *folder, unsigned int kind, fz_proto_packet_t *pk)
{
	char path[4096];
	char bytes[65536];
	int pair[2];
	int room = 1 << 22;
	ssize_t got;
	FILE *file;
	fz_proto_trans_t trans;

	if(socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0 ||
		setsockopt(pair[0], SOL_SOCKET, SO_SNDBUF, &room, sizeof(room)) != 0)
		return -1;
	memset(&trans, 0, sizeof(trans));
	trans.socket = pair[0];
	/* 0: each kind goes the way of its first operation */
	demo_sample_message(pk, kind, 0);
	if(fz_proto_sendpacket(&trans, pk, 5) != 0)
		return -1;
	fz_free_proto_packet(pk);
	shutdown(pair[0], SHUT_WR);
	snprintf(path, sizeof(path), "%s/%s", folder, demo_kind_name(kind));
	file = fopen(path, "wb");
	if(file == NULL)
		return -1;
	while((got = read(pair[1], bytes, sizeof(bytes))) > 0)
		fwrite(bytes, 1, (size_t)got, file);
	fclose(file);
	close(pair[0]);
	close(pair[1]);
	return 0;
}

int main(int argc, char **argv)
{
	unsigned int kind;
	int written = 0;
	fz_proto_packet_t *pk = (fz_proto_packet_t *)calloc(1, sizeof(*pk));

	if(argc != 2 || pk == NULL)
		return 2;
	for(kind = 1; kind < 0x1000; kind++){
		if(strcmp(demo_kind_name(kind), "an unknown message kind") == 0)
			continue;
		if(write_seed(argv[1], kind, pk) == 0)
			written++;
		else
			fprintf(stderr, "no seed for %s\n", demo_kind_name(kind));
	}
	free(pk);
	printf("%d seeds\n", written);
	return written > 0 ? 0 : 1;
}
