/* The support library's tunnel through an HTTP proxy, whose answer to CONNECT is any bytes: they
 * wait in a socket pair whose writing end is shut, so the reading meets the end of the stream
 * rather than a wait (the CONNECT request goes into the pair unread). It opens the tunnel or
 * fails; a crash, a sanitizer report or a hang is a finding. */
#include <stddef.h>
#include <stdint.h>
#include <sys/socket.h>
#include <unistd.h>

#include "tessaro_socket.h"

/* More than a socket pair holds without a reader would block the write. */
#define FUZZ_MAX_INPUT (64 * 1024)

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	int pair[2];
	size_t at = 0;
	ssize_t sent = 0;

	if(size > FUZZ_MAX_INPUT || socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0)
		return 0;
	for(; at < size && (sent = write(pair[0], data + at, size - at)) > 0; at += (size_t)sent)
		;
	if(at == size && shutdown(pair[0], SHUT_WR) == 0)
		tessaro_proxy_tunnel(pair[1], "service.test", 443, TESSARO_USEC_PER_SEC);
	close(pair[0]);
	close(pair[1]);
	return 0;
}
