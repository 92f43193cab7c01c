#pragma once

// C text for driver programs: a peer thread on a loopback listener that
// sends its pieces with pauses between them (so that they tend to arrive in
// separate receives), or paced by a function of the driver, and then
// closes; and a transport connected to it. Beside it, the reading of whole
// messages of a table by project "demo"'s packet reader.

#include <string>
#include <utility>
#include <vector>

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

// read_message(text, pk): the packet reader's result for the message sent
// whole by a peer that then closes (no deadline: the close ends the read,
// where a time limit would fail on a loaded machine).
const char* const ReadMessage = R"(
static int read_message(const char *text, demo_proto_packet_t *pk)
{
	peer_t peer;
	demo_proto_trans_t trans;
	int result;

	memset(&peer, 0, sizeof(peer));
	peer.pieces[0] = text;
	peer.lengths[0] = strlen(text);
	peer.count = 1;
	memset(&trans, 0, sizeof(trans));
	if(peer_start(&peer, &trans.socket) != 0)
		return -99;
	result = demo_proto_readpacket(&trans, pk, -1);
	peer_finish(&peer, trans.socket);
	return result;
}
)";

// A message and the line a driver prints for it.
struct MessageCase {
    std::string text;
    std::string expected;
};

// The text as a C string literal.
inline std::string cLiteral(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else
            out += c;
    }
    return out + "\"";
}

// The cases' messages as the lines of a C array's initialiser, and the
// driver's output expected for them ("<index>: <expected>" lines).
inline std::pair<std::string, std::string> messageTable(const std::vector<MessageCase>& cases)
{
    std::pair<std::string, std::string> table;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        table.first += cLiteral(cases[i].text) + ",\n";
        table.second += std::to_string(i) + ": " + cases[i].expected + "\n";
    }
    return table;
}

} // namespace gentest
