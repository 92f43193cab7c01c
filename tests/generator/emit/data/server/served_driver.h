/* What the drivers of the generated server's tests share, included after served_api.c: threads, the
 * server started on 127.0.0.1, a connection to it, a request sent and one answer read whole. */
#ifndef SERVED_DRIVER_H
#define SERVED_DRIVER_H

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#ifdef _WIN32
#include <windows.h>
#define pause_a_little() Sleep(1)
typedef HANDLE thread_t;
#define thread_start(t, f, a) ((*(t) = CreateThread(NULL, 0, (LPTHREAD_START_ROUTINE)(f), (a), 0, NULL)) != NULL)
#define thread_join(t) (WaitForSingleObject((t), INFINITE), CloseHandle(t))
#else
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>
#define pause_a_little() usleep(1000)
typedef pthread_t thread_t;
#define thread_start(t, f, a) (pthread_create((t), NULL, (void *(*)(void *))(f), (a)) == 0)
#define thread_join(t) pthread_join((t), NULL)
#endif

#define DRIVER_WAIT (60 * TESSARO_USEC_PER_SEC)

static tessaro_server_t *server;
static char endpoint[64];

/* starts the service on 127.0.0.1 as config says, its endpoint in endpoint */
static void start_served(tessaro_server_config_t *config, const served_service_t *service)
{
	config->address = "127.0.0.1";
	if(served_server_start(&server, config, service) != 0){
		printf("no server\n");
		exit(1);
	}
	snprintf(endpoint, sizeof(endpoint), "http://127.0.0.1:%u/served", (unsigned int)tessaro_server_port(server));
}

static tessaro_socket_t connect_server(void)
{
	tessaro_socket_t sock;
	if(tessaro_create_tcp_socket(&sock) != 0 || tessaro_connect(sock, "127.0.0.1", tessaro_server_port(server)) != 0){
		printf("no connection\n");
		exit(1);
	}
	return sock;
}

static void send_bytes(tessaro_socket_t sock, const char *bytes, size_t length)
{
	tessaro_size_t sent;
	tessaro_socket_send_all(sock, bytes, length, &sent, DRIVER_WAIT);
}

/* One answer read whole (to its Content-Length, or to the close) into text (size bytes, a NUL behind
 * what came): how many bytes came. receive: the receive to use (NULL: the library's) */
typedef int (*driver_receive_t)(tessaro_socket_t sock, void *buf, tessaro_size_t *len, tessaro_usec_t timeout);
static size_t read_answer_by(tessaro_socket_t sock, char *text, size_t size, driver_receive_t receive)
{
	tessaro_size_t have = 0, len;
	const char *at, *field;
	long length = -1;

	for(;;){
		text[have] = '\0';
		if((at = strstr(text, "\r\n\r\n")) != NULL){
			field = strstr(text, "Content-Length:");
			if(field != NULL && field < at)
				length = strtol(field + 15, NULL, 10);
			if(length >= 0 && have >= (tessaro_size_t)(at + 4 - text) + (tessaro_size_t)length)
				break;
		}
		len = size - 1 - have;
		if(len == 0 || (receive != NULL ? receive : tessaro_socket_recv)(sock, text + have, &len, DRIVER_WAIT) != 0)
			break;
		have += len;
	}
	text[have] = '\0';
	return have;
}

static size_t read_answer_text(tessaro_socket_t sock, char *text, size_t size)
{
	return read_answer_by(sock, text, size, NULL);
}

/* What came on sock to its close, or to DRIVER_WAIT without one, in text: whether it closed. */
static int read_to_close(tessaro_socket_t sock, char *text, size_t size)
{
	tessaro_size_t have = 0, len;
	int result = 0;

	while(result == 0 && have + 1 < size){
		len = size - 1 - have;
		if((result = tessaro_socket_recv(sock, text + have, &len, DRIVER_WAIT)) == 0)
			have += len;
	}
	text[have] = '\0';
	return result == TESSARO_END_OF_STREAM;
}

#endif
