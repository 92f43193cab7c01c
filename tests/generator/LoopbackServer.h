#pragma once

namespace gentest {

// A server thread on a loopback port that runs the driver's serve (which
// answers one request), and the endpoint of a path there.
const char* const OneRequestServer = R"(#include <pthread.h>
#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#endif

static tessaro_socket_t listener;
static pthread_t server;
static void *serve(void *arg);

static int server_start(const char *path, char *endpoint)
{
	struct sockaddr_in address;
	socklen_t size = sizeof(address);
	if(tessaro_socket_create_tcp_listen(&listener, 0, 1) != 0 ||
		getsockname(listener, (struct sockaddr *)&address, &size) != 0)
		return -1;
	sprintf(endpoint, "http://127.0.0.1:%d%s", ntohs(address.sin_port), path);
	return pthread_create(&server, NULL, serve, NULL);
}

static void server_finish(void)
{
	pthread_join(server, NULL);
	tessaro_socket_close(listener);
}

/* an answer of the status line given with body as its text/xml content, the connection closed after it */
static void send_answer(tessaro_socket_t socket, const char *status_line, const char *body)
{
	char answer[1024];
	tessaro_size_t sent;
	snprintf(answer, sizeof(answer), "%s\r\nContent-Type: text/xml\r\nContent-Length: %d\r\nConnection: close\r\n\r\n%s",
		status_line, (int)strlen(body), body);
	tessaro_socket_send_all(socket, answer, strlen(answer), &sent, 30 * TESSARO_USEC_PER_SEC);
}

static void network_start(void)
{
#ifdef _WIN32
	WSADATA data;
	WSAStartup(MAKEWORD(2, 2), &data);
#endif
}
)";

} // namespace gentest
