/* Our side of the generated-code benchmark: the C kvgen generated from
 * ledger.wsdl, driven as its client and its server would drive it. It
 * includes the generated source itself, so that in memory a message is
 * written by the packet sender (kept in the transport's copy of what it sent,
 * on a socket whose peer is gone) and read by the packet reader's decoder
 * from the bytes of a whole HTTP message, with no network in between. Built
 * at bench time with the generated files beside it. */
#include <pthread.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "ledger_api.c"

#include "bench_driver.h"

static ledger_Record_t bench_records[BENCH_RECORDS];
static ledger_Level_t bench_levels[BENCH_DEPTH];
static int bench_numbers[BENCH_ARRAY];

static void fill_payloads(void)
{
	int i;

	for (i = 0; i < BENCH_RECORDS; i++) {
		bench_records[i].id = i;
		bench_records[i].name = strdup(bench_record_name(i));
		bench_records[i].amount = i * 1.25;
		bench_records[i].active = i % 2;
	}
	for (i = 0; i < BENCH_DEPTH; i++) {
		bench_levels[i].name = strdup(bench_record_name(i));
		bench_levels[i].depth = i;
		bench_levels[i].inner = i + 1 < BENCH_DEPTH ? &bench_levels[i + 1] : NULL;
		bench_levels[i].inner_present = i + 1 < BENCH_DEPTH;
	}
	for (i = 0; i < BENCH_ARRAY; i++)
		bench_numbers[i] = i * 7 - 5000;
}

typedef struct kind_t {
	ledger_proto_trans_t trans; /* its socket's peer is closed: what is sent stays in trans.sent */
	ledger_proto_packet_t request;
	ledger_proto_packet_t response;
	char *message;           /* the response read by the decoding steps */
	tessaro_size_t length;
	ledger_proto_packet_t read; /* what they read */
} kind_t;

/* writes the packet; the message is in k->trans.sent */
static int encode(kind_t *k, ledger_proto_packet_t *pk)
{
	ledger_proto_sendpacket(&k->trans, pk, 30);
	free(k->trans.sent);
	k->trans.sent = NULL;
	return k->trans.sent_length > 0 ? 0 : -1;
}

static int encode_request(void *context)
{
	kind_t *k = context;

	k->trans.sent_length = 0;
	return encode(k, &k->request);
}

static int keep_response(kind_t *k)
{
	k->trans.sent_length = 0;
	ledger_proto_sendpacket(&k->trans, &k->response, 30);
	k->message = k->trans.sent;
	k->length = k->trans.sent_length;
	k->trans.sent = NULL;
	return k->message != NULL && k->length > 0 ? 0 : -1;
}

static int decode(void *context)
{
	kind_t *k = context;
	int result;

	memset(&k->read, 0, sizeof(k->read));
	result = ledger_proto_unpack(k->message, k->length, &k->read);
	if (result == 0 && k->read.msg_type != k->response.msg_type)
		result = -1;
	if (result == 0 && k->read.msg_type == LEDGER_PROTO_RECORDSRESPONSE &&
	    k->read.msg.ExchangeReply.RecordsResponse.record_count != BENCH_RECORDS)
		result = -1;
	if (result == 0 && k->read.msg_type == LEDGER_PROTO_SCALE_RESPONSE &&
	    k->read.msg.ScaleReply.scaled.IntArray_count != BENCH_ARRAY)
		result = -1;
	ledger_free_proto_packet(&k->read);
	return result;
}

/* the decoding steps of one kind of response */
static int measure_decoding(kind_t *k, const char *name)
{
	char line[64];

	if (keep_response(k) != 0)
		return -1;
	bench_print_rate(name, decode, k);
	snprintf(line, sizeof(line), "%s_kb", name);
	if (k->response.msg_type == LEDGER_PROTO_RECORDSRESPONSE)
		bench_print_peak(line, decode, k);
	free(k->message);
	k->message = NULL;
	return 0;
}

/* the server thread: answers the connections one after another, each while its client keeps it */
static void *serve(void *context)
{
	tessaro_socket_t listener = *(tessaro_socket_t *)context;
	ledger_proto_trans_t trans;
	ledger_proto_packet_t *pk = calloc(1, sizeof(*pk));
	ledger_Record_t *records;
	int count, keep;

	for (;;) {
		memset(&trans, 0, sizeof(trans));
		if ((trans.socket = accept(listener, NULL, NULL)) == INVALID_SOCKET)
			continue;
		do {
			if (ledger_proto_readpacket(&trans, pk, 30) != 0 || pk->msg_type != LEDGER_PROTO_RECORDS)
				break;
			keep = trans.keep_open;
			/* the echo: the request's records go back */
			records = pk->msg.ExchangeRequest.Records.record;
			count = pk->msg.ExchangeRequest.Records.record_count;
			pk->msg.ExchangeRequest.Records.record = NULL;
			ledger_free_proto_packet(pk);
			memset(pk, 0, sizeof(*pk));
			pk->msg_type = LEDGER_PROTO_RECORDSRESPONSE;
			pk->msg.ExchangeReply.RecordsResponse.record = records;
			pk->msg.ExchangeReply.RecordsResponse.record_count = count;
			if (!keep)
				ledger_add_http_header(pk, "Connection", "close");
			count = ledger_proto_sendpacket(&trans, pk, 30);
			free(records);
		} while (count == 0 && keep);
		tessaro_socket_close(trans.socket);
	}
	return NULL;
}

typedef struct caller_t {
	ledger_client_t client;
	ledger_ExchangeRequest_msg_t in;
	ledger_ExchangeReply_msg_t out;
	ledger_soap_fault_msg_t fault;
	int close_each;
} caller_t;

static int call(void *context)
{
	caller_t *c = context;
	int result = ledger_Exchange(&c->client, &c->in, &c->out, &c->fault);

	if (result == 0 && c->out.RecordsResponse.record_count != BENCH_CALL_RECORDS)
		result = -1;
	ledger_free_Exchange(&c->out);
	if (c->close_each)
		ledger_client_close(&c->client);
	return result;
}

static int round_trips(void)
{
	static tessaro_socket_t listener;
	static caller_t c;
	static ledger_proto_packet_t close_each;
	struct sockaddr_in address;
	socklen_t size = sizeof(address);
	pthread_t thread;
	char endpoint[64];

	if (tessaro_socket_create_tcp_listen(&listener, 0, 100) != 0 ||
	    getsockname(listener, (struct sockaddr *)&address, &size) != 0 ||
	    pthread_create(&thread, NULL, serve, &listener) != 0)
		return -1;
	snprintf(endpoint, sizeof(endpoint), "http://127.0.0.1:%u/ledger", (unsigned)ntohs(address.sin_port));
	if (ledger_client_init(&c.client, endpoint) != 0)
		return -1;
	c.in.Records.record = bench_records;
	c.in.Records.record_count = BENCH_CALL_RECORDS;
	bench_print_rate("roundtrip_kept_connection", call, &c);
	ledger_client_close(&c.client);
	/* a connection per call is asked for as the peer's driver asks for it: each request says
	   Connection: close, so that the server closes once it has answered */
	if(ledger_add_http_header(&close_each, "Connection", "close") != 0)
		return -1;
	c.client.headers = &close_each;
	c.close_each = 1;
	bench_print_rate("roundtrip_new_connection", call, &c);
	return 0;
}

/* the request and response of each kind of message */
static void records(kind_t *k)
{
	k->request.msg.ExchangeRequest.Records.record = bench_records;
	k->request.msg.ExchangeRequest.Records.record_count = BENCH_RECORDS;
	k->response.msg.ExchangeReply.RecordsResponse.record = bench_records;
	k->response.msg.ExchangeReply.RecordsResponse.record_count = BENCH_RECORDS;
}

static void tree(kind_t *k)
{
	k->request.msg.DescendRequest.Tree.root = bench_levels[0];
	k->response.msg.DescendReply.TreeResponse.root = bench_levels[0];
}

static void array(kind_t *k)
{
	k->request.msg.ScaleRequest.values.IntArray = bench_numbers;
	k->request.msg.ScaleRequest.values.IntArray_count = BENCH_ARRAY;
	k->response.msg.ScaleReply.scaled.IntArray = bench_numbers;
	k->response.msg.ScaleReply.scaled.IntArray_count = BENCH_ARRAY;
}

/* encoding the request, then decoding the response, of one kind */
static int measure(kind_t *k, void (*fill)(kind_t *), unsigned int request, const char *encoding, const char *decoding)
{
	memset(&k->request, 0, sizeof(k->request));
	memset(&k->response, 0, sizeof(k->response));
	k->request.msg_type = request;
	k->response.msg_type = request + 1; /* each response follows its request */
	fill(k);
	bench_print_rate(encoding, encode_request, k);
	return measure_decoding(k, decoding);
}

int main(int argc, char **argv)
{
	static kind_t k;
	int pair[2];

	bench_only = argc > 1 ? argv[1] : NULL;
	fill_payloads();
	if (socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0)
		return 1;
	close(pair[1]);
	k.trans.socket = pair[0];
	k.trans.keep_sent = 1;
	strcpy(k.trans.dest_ip, "127.0.0.1");
	strcpy(k.trans.url, "/ledger");
	k.trans.dest_port = 4321;
	if (measure(&k, records, LEDGER_PROTO_RECORDS, "records_encode", "records_decode") != 0 ||
	    measure(&k, tree, LEDGER_PROTO_TREE, "nested_encode", "nested_decode") != 0 ||
	    measure(&k, array, LEDGER_PROTO_SCALE, "rpc_array_encode", "rpc_array_decode") != 0)
		return 1;
	return round_trips() == 0 ? 0 : 1;
}
