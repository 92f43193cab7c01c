/* Every message kind of a generated service (project "rt"), filled with the demo's sample values
 * and given an attachment, and a SOAP fault, goes through the generated sender and packet reader
 * over a loopback connection. Each packet is printed as sent into sent.txt and as read into
 * read.txt, by the demo's print function; every value survived when the two files are equal.
 *   roundtrip FOLDER   (exit 0 when every message was sent and read, whatever the values) */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#ifdef _WIN32
#include <io.h>
#include <winsock2.h>
#include <ws2tcpip.h>
#define dup2 _dup2
#define dup _dup
#define fileno _fileno
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

/* The demo's sample values and print function, without its main. */
#define main rt_demo_main
#include "rt_api_demo.c"
#undef main

static const char attached[] = "attached\0bytes\r\n\xff";

/* Sends pk from one end of a fresh loopback connection and reads it at the other into got. */
static int over_loopback(rt_proto_packet_t *pk, rt_proto_packet_t *got)
{
	tessaro_socket_t listener;
	struct sockaddr_in address;
	socklen_t size = sizeof(address);
	rt_proto_trans_t out, in;
	int result = -1;

	memset(&out, 0, sizeof(out));
	memset(&in, 0, sizeof(in));
	if(tessaro_socket_create_tcp_listen(&listener, 0, 1) != 0)
		return -1;
	if(getsockname(listener, (struct sockaddr *)&address, &size) == 0 &&
		rt_connect_server(&out, "127.0.0.1", "/roundtrip", ntohs(address.sin_port)) == 0){
		in.socket = accept(listener, NULL, NULL);
		/* the samples are small: the connection's buffers hold a whole message */
		if(in.socket != INVALID_SOCKET && rt_proto_sendpacket(&out, pk, 30) == 0)
			result = rt_proto_readpacket(&in, got, 30);
		tessaro_socket_close(in.socket);
		tessaro_socket_close(out.socket);
	}
	tessaro_socket_close(listener);
	return result;
}

/* Prints the packet into the file whose descriptor is given, through stdout. */
static void print_into(int fd, const char *what, rt_proto_packet_t *pk)
{
	int i;

	fflush(stdout);
	dup2(fd, fileno(stdout));
	demo_print("packet", what, pk);
	printf("attachment:%d", pk->attachment_length);
	for(i = 0; i < pk->attachment_length; i++)
		printf(" %02x", (unsigned char)pk->attachment[i]);
	printf("\n");
	fflush(stdout);
}

/* replaces a text of the packet's by a copy of text, allocated as the packet's free function expects */
static void set_text(char **member, const char *text)
{
	free(*member);
	*member = (char *)malloc(strlen(text) + 1);
	if(*member != NULL)
		strcpy(*member, text);
}

int main(int argc, char **argv)
{
	char path[4096];
	FILE *sent, *read;
	int console = dup(fileno(stdout));
	unsigned int kind;
	int failed = 0, count = 0;
	rt_proto_packet_t *pk = (rt_proto_packet_t *)calloc(1, sizeof(*pk));
	rt_proto_packet_t *got = (rt_proto_packet_t *)calloc(1, sizeof(*got));
#ifdef _WIN32
	WSADATA data;
	WSAStartup(MAKEWORD(2, 2), &data);
#endif

	if(argc != 2 || pk == NULL || got == NULL)
		return 2;
	snprintf(path, sizeof(path), "%s/sent.txt", argv[1]);
	sent = fopen(path, "w");
	snprintf(path, sizeof(path), "%s/read.txt", argv[1]);
	read = fopen(path, "w");
	if(sent == NULL || read == NULL)
		return 2;
	for(kind = RT_PROTO_SOAP_FAULT; kind < 0x1000; kind++){
		if(strcmp(demo_kind_name(kind), "an unknown message kind") == 0)
			continue;
		/* 0: each kind goes the way of its first operation */
		demo_sample_message(pk, kind, 0);
		if(kind == RT_PROTO_SOAP_FAULT){
			strcpy(pk->msg.soap_fault.faultcode, "SOAP-ENV:Server");
			strcpy(pk->msg.soap_fault.faultstring, "refused <&> \"here\"");
			pk->msg.soap_fault.detail = strdup("no stock");
		}
		/* the request header, with text that needs escaping */
		if(kind == RT_PROTO_ORDER){
			set_text(&pk->Session.token, "token <1>");
			set_text(&pk->Session.expires, "2026-12-07T21:00:00Z");
		}
		rt_set_attachment(pk, (char *)attached, sizeof(attached) - 1);
		print_into(fileno(sent), demo_kind_name(kind), pk);
		memset(got, 0, sizeof(*got));
		if(over_loopback(pk, got) != 0){
			dup2(console, fileno(stdout));
			printf("%s: not read back%s%s\n", demo_kind_name(kind), got->decode_error[0] != '\0' ? ": " : "", got->decode_error);
			failed++;
		}
		print_into(fileno(read), demo_kind_name(kind), got);
		rt_free_proto_packet(pk);
		rt_free_proto_packet(got);
		count++;
	}
	dup2(console, fileno(stdout));
	fclose(sent);
	fclose(read);
	printf("roundtrip: %d of %d messages sent and read back\n", count - failed, count);
	return failed == 0 ? 0 : 1;
}
