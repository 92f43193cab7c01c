/* Calls the skeleton kvgen wrote for a service (project "sk"), built as written: every request kind
 * the demo calls, filled with the demo's sample values, gets the fault "<operation> is not written
 * yet", which only that operation's own function answers. With "busy", CLIENTS threads call on kept
 * connections until their connection ends (the server is stopped meanwhile): every call is
 * answered whole, or its connection ends before any byte of an answer, which a client may send again.
 *   skeleton_calls PORT        (exit 0 when every operation reached its function)
 *   skeleton_calls PORT busy   (exit 0 when no call was cut; prints the counts) */
#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

/* The demo's sample values, kind names and answer kinds, without its main. */
#define main sk_demo_main
#include "sk_api_demo.c"
#undef main

#define CLIENTS 16
#define HIGHEST_KIND 4096

static tessaro_port_t port;

/* One call of a request kind on trans: 1 answered with the skeleton's fault (*why its text), 0 when
 * the connection ended before any byte of the answer, -1 when the answer was cut or is another. */
static int call(sk_proto_trans_t *trans, unsigned int kind, sk_proto_packet_t *pk, char *why, size_t size)
{
	tessaro_size_t before = trans->received;
	const char *tail = " is not written yet";
	size_t length;
	int result;

	demo_sample_message(pk, kind, SK_DIRECTION_REQUEST);
	if(sk_proto_sendpacket(trans, pk, 30) != 0){
		sk_free_proto_packet(pk);
		return 0;
	}
	sk_free_proto_packet(pk);
	if(sk_proto_readpacket(trans, pk, 30) != 0)
		return trans->received == before ? 0 : -1;
	result = -1;
	if(pk->msg_type == SK_PROTO_SOAP_FAULT){
		snprintf(why, size, "%s", pk->msg.soap_fault.faultstring);
		length = strlen(why);
		if(length > strlen(tail) && strcmp(why + length - strlen(tail), tail) == 0)
			result = 1;
	}
	sk_free_proto_packet(pk);
	return result;
}

static int connect_skeleton(sk_proto_trans_t *trans)
{
	memset(trans, 0, sizeof(*trans));
	return sk_connect_server(trans, "127.0.0.1", "/sk", port);
}

static int call_each(sk_proto_packet_t *pk)
{
	sk_proto_trans_t trans;
	char why[512];
	unsigned int kind;
	int called = 0, reached = 0, result;

	for(kind = 1; kind < HIGHEST_KIND; kind++){
		if(demo_answer_kind(kind) == 0)
			continue;
		called++;
		why[0] = '\0';
		result = connect_skeleton(&trans) == 0 ? call(&trans, kind, pk, why, sizeof(why)) : 0;
		tessaro_socket_close(trans.socket);
		printf("%s: %s\n", demo_kind_name(kind), result == 1 ? why : "no fault of its function");
		reached += result == 1;
	}
	printf("%d of %d operations reached their function\n", reached, called);
	return called > 0 && reached == called ? 0 : 1;
}

static long answered, ended, cut;

#ifdef _WIN32
static DWORD WINAPI busy_client(void *param)
#else
static void *busy_client(void *param)
#endif
{
	sk_proto_trans_t trans;
	sk_proto_packet_t *pk = (sk_proto_packet_t *)calloc(1, sizeof(*pk));
	unsigned int kind = (unsigned int)(size_t)param;
	char why[512];
	int result = 0;

	if(pk != NULL && connect_skeleton(&trans) == 0){
		while((result = call(&trans, kind, pk, why, sizeof(why))) == 1)
			__atomic_add_fetch(&answered, 1, __ATOMIC_SEQ_CST);
		tessaro_socket_close(trans.socket);
	}
	__atomic_add_fetch(result < 0 ? &cut : &ended, 1, __ATOMIC_SEQ_CST);
	free(pk);
	return 0;
}

static int call_busily(void)
{
	unsigned int kind = 1;
	int i;
#ifdef _WIN32
	HANDLE threads[CLIENTS];
#else
	pthread_t threads[CLIENTS];
#endif

	while(kind < HIGHEST_KIND && demo_answer_kind(kind) == 0)
		kind++;
	for(i = 0; i < CLIENTS; i++){
#ifdef _WIN32
		threads[i] = CreateThread(NULL, 0, busy_client, (void *)(size_t)kind, 0, NULL);
#else
		pthread_create(&threads[i], NULL, busy_client, (void *)(size_t)kind);
#endif
	}
	for(i = 0; i < CLIENTS; i++){
#ifdef _WIN32
		WaitForSingleObject(threads[i], INFINITE);
		CloseHandle(threads[i]);
#else
		pthread_join(threads[i], NULL);
#endif
	}
	printf("answered %ld, ended before an answer %ld, cut %ld\n", answered, ended, cut);
	return answered > 0 && cut == 0 ? 0 : 1;
}

int main(int argc, char **argv)
{
	sk_proto_packet_t *pk = (sk_proto_packet_t *)calloc(1, sizeof(*pk));
	int status;
#ifdef _WIN32
	WSADATA data;
	WSAStartup(MAKEWORD(2, 2), &data);
#endif
	setvbuf(stdout, NULL, _IONBF, 0);
	if(argc < 2 || pk == NULL)
		return 2;
	port = (tessaro_port_t)atoi(argv[1]);
	status = argc > 2 && strcmp(argv[2], "busy") == 0 ? call_busily() : call_each(pk);
	free(pk);
	return status;
}
