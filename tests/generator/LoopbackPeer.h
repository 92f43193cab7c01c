#pragma once

// C text for driver programs: a peer thread on a loopback listener that
// sends its pieces with pauses between them (so that they tend to arrive in
// separate receives), or paced by a function of the driver, and then
// closes; and a transport connected to it.

namespace gentest {

const char* const LoopbackPeer = R"(#include <pthread.h>
#include <unistd.h>
#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#endif

typedef struct peer_t{
	tessaro_socket_t listener;
	const char *pieces[256];
	size_t lengths[256];
	int count;
	pthread_t thread;
	/* when set, called before each piece instead of the pause after it; non-zero stops the peer */
	int (*pace)(int piece);
}peer_t;

static void *peer_run(void *arg)
{
	peer_t *peer = (peer_t *)arg;
	tessaro_socket_t sock = accept(peer->listener, NULL, NULL);
	tessaro_size_t sent;
	int i;
	for(i = 0; i < peer->count; i++){
		if(peer->pace != NULL && peer->pace(i) != 0)
			break;
		tessaro_socket_send_all(sock, peer->pieces[i], peer->lengths[i], &sent, 60 * TESSARO_USEC_PER_SEC);
		if(peer->pace == NULL)
			usleep(20000);
	}
	tessaro_socket_close(sock);
	return NULL;
}

/* Starts the peer and connects trans to it. */
static int peer_start(peer_t *peer, tessaro_socket_t *client)
{
	struct sockaddr_in address;
	socklen_t size = sizeof(address);
	if(tessaro_socket_create_tcp_listen(&peer->listener, 0, 1) != 0 ||
		getsockname(peer->listener, (struct sockaddr *)&address, &size) != 0 ||
		pthread_create(&peer->thread, NULL, peer_run, peer) != 0 ||
		tessaro_create_tcp_socket(client) != 0)
		return -1;
	return tessaro_connect(*client, "127.0.0.1", ntohs(address.sin_port));
}

static void peer_finish(peer_t *peer, tessaro_socket_t client)
{
	pthread_join(peer->thread, NULL);
	tessaro_socket_close(peer->listener);
	tessaro_socket_close(client);
}
)";

} // namespace gentest
