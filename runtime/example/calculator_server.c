/* The example service itself, on the generated packet API: Add answers a + b, and Greet answers
 * "Hello, NAME!". It prints where it listens, then each request it answers.
 *   calculator_server [PORT [CONNECTIONS]]   (PORT 4321 unless given, 0 for a free one; it ends
 *                                            after CONNECTIONS connections, never without) */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include "calculator_api.h"
#include "tessaro_socket.h"

/* "Hello, NAME!" in storage of its own, which the packet's free function releases; NULL without memory. */
static char *greeting(const char *name)
{
	size_t size = strlen(name) + sizeof("Hello, !");
	char *text = (char *)malloc(size);

	if(text != NULL)
		snprintf(text, size, "Hello, %s!", name);
	return text;
}

/* Turns a request into its answer; 0 for a message the service does not take. What the request
 * holds is freed before the answer is put in its place. */
static int answer(calculator_proto_packet_t *pk)
{
	char *text;
	int sum;

	switch(pk->msg_type){
	case CALCULATOR_PROTO_ADD:
		sum = pk->msg.AddRequest.Add.a + pk->msg.AddRequest.Add.b;
		printf("calculator_server: Add %d + %d: answers %d\n", pk->msg.AddRequest.Add.a, pk->msg.AddRequest.Add.b, sum);
		calculator_free_proto_packet(pk);
		memset(&pk->msg, 0, sizeof(pk->msg));
		pk->msg_type = CALCULATOR_PROTO_ADDRESPONSE;
		pk->msg.AddReply.AddResponse.sum = sum;
		return 1;
	case CALCULATOR_PROTO_GREET:
		text = greeting(pk->msg.GreetRequest.Greet.name != NULL ? pk->msg.GreetRequest.Greet.name : "");
		if(text == NULL)
			return 0;
		printf("calculator_server: Greet %s: answers %s\n", pk->msg.GreetRequest.Greet.name != NULL ?
			pk->msg.GreetRequest.Greet.name : "", text);
		calculator_free_proto_packet(pk);
		memset(&pk->msg, 0, sizeof(pk->msg));
		pk->msg_type = CALCULATOR_PROTO_GREETRESPONSE;
		pk->msg.GreetReply.GreetResponse.greeting = text;
		return 1;
	}
	return 0;
}

/* Answers the requests of one connection until the client closes it. */
static void serve(tessaro_socket_t connection, calculator_proto_packet_t *pk)
{
	calculator_proto_trans_t trans;
	int sent;

	memset(&trans, 0, sizeof(trans));
	trans.socket = connection;
	for(;;){
		memset(pk, 0, sizeof(*pk));
		if(calculator_proto_readpacket(&trans, pk, 30) != 0)
			break;
		if(!answer(pk)){
			calculator_free_proto_packet(pk);
			memset(pk, 0, sizeof(*pk));
			pk->msg_type = CALCULATOR_PROTO_SOAP_FAULT;
			strcpy(pk->msg.soap_fault.faultcode, "SOAP-ENV:Client");
			strcpy(pk->msg.soap_fault.faultstring, "the calculator takes Add and Greet");
		}
		sent = calculator_proto_sendpacket(&trans, pk, 30);
		/* the answer's texts are the server's own, allocated for it */
		calculator_free_proto_packet(pk);
		if(sent != 0)
			break;
	}
	calculator_free_proto_packet(pk);
}

int main(int argc, char **argv)
{
	tessaro_socket_t listener, connection;
	struct sockaddr_in address;
	socklen_t size = sizeof(address);
	long port = argc > 1 ? strtol(argv[1], NULL, 10) : 4321;
	long connections = argc > 2 ? strtol(argv[2], NULL, 10) : -1;
	calculator_proto_packet_t *pk = (calculator_proto_packet_t *)calloc(1, sizeof(*pk));
#ifdef _WIN32
	WSADATA data;
	WSAStartup(MAKEWORD(2, 2), &data);
#endif

	if(pk == NULL || port < 0 || port > 65535 || tessaro_socket_create_tcp_listen(&listener, (tessaro_port_t)port, 10) != 0 ||
		getsockname(listener, (struct sockaddr *)&address, &size) != 0){
		printf("calculator_server: cannot listen on port %ld\n", port);
		return 1;
	}
	printf("calculator_server: listens on 127.0.0.1:%u\n", (unsigned int)ntohs(address.sin_port));
	fflush(stdout);
	for(; connections != 0; connections--){
		connection = accept(listener, NULL, NULL);
		if(connection == INVALID_SOCKET)
			continue;
		serve(connection, pk);
		tessaro_socket_close(connection);
		fflush(stdout);
	}
	tessaro_socket_close(listener);
	free(pk);
	return 0;
}
