/* The peer's side of the generated-code benchmark: the C that wsdl2h -c and
 * soapcpp2 -c generated from ledger.wsdl, driven as its own client and server
 * would drive it. In memory, requests are written to a string (soap->os) and
 * responses read from one (soap->is); responses are written as its server
 * writes them. Every context writes in GSOAP_OUTPUT_MODE, which the bench
 * gives: the output mode a user tuning for speed chooses (the default writes
 * each message twice, once only to count its length). Built at bench time
 * with the generated files beside it. */
#include <arpa/inet.h>
#include <pthread.h>
#include <sys/socket.h>

#include "soapH.h"
#include "LedgerSoap.nsmap"

#include "bench_driver.h"

#ifndef GSOAP_OUTPUT_MODE
#error "the bench gives GSOAP_OUTPUT_MODE"
#endif

static struct ns1__Record bench_records[BENCH_RECORDS];
static struct ns1__Level bench_levels[BENCH_DEPTH];
static int bench_numbers[BENCH_ARRAY];
static char *bench_names[BENCH_RECORDS > BENCH_DEPTH ? BENCH_RECORDS : BENCH_DEPTH];

static void fill_payloads(void)
{
	int i;

	for (i = 0; i < BENCH_RECORDS; i++) {
		bench_names[i] = strdup(bench_record_name(i));
		bench_records[i].id = i;
		bench_records[i].name = bench_names[i];
		bench_records[i].amount = i * 1.25;
		bench_records[i].active = i % 2 ? xsd__boolean__true_ : xsd__boolean__false_;
	}
	for (i = 0; i < BENCH_DEPTH; i++) {
		bench_levels[i].name = bench_names[i];
		bench_levels[i].depth = i;
		bench_levels[i].inner = i + 1 < BENCH_DEPTH ? &bench_levels[i + 1] : NULL;
	}
	for (i = 0; i < BENCH_ARRAY; i++)
		bench_numbers[i] = i * 7 - 5000;
}

/* what the server's operations answer: the request's values, as an echo */
int __ns1__Exchange(struct soap *soap, struct _ns1__Records *in, struct _ns1__RecordsResponse *out)
{
	(void)soap;
	out->__sizerecord = in->__sizerecord;
	out->record = in->record;
	return SOAP_OK;
}

int __ns1__Descend(struct soap *soap, struct _ns1__Tree *in, struct _ns1__TreeResponse *out)
{
	(void)soap;
	out->root = in->root;
	return SOAP_OK;
}

int ns1__Scale(struct soap *soap, struct IntArray *values, struct ns1__ScaleResponse *out)
{
	(void)soap;
	out->scaled = values;
	return SOAP_OK;
}

enum { RECORDS, TREE, ARRAY };

typedef struct kind_t {
	int which;          /* RECORDS, TREE or ARRAY */
	struct soap *soap;
	const char *written; /* the request or response written last */
	char *response;     /* the response read by the decoding steps */
	struct _ns1__Records records;
	struct _ns1__RecordsResponse records_out;
	struct _ns1__Tree tree;
	struct _ns1__TreeResponse tree_out;
	struct IntArray numbers;
	struct ns1__ScaleResponse scaled;
} kind_t;

/* a request written to a string needs no connection: none is opened or closed */
static SOAP_SOCKET no_socket(struct soap *soap, const char *endpoint, const char *host, int port)
{
	(void)soap;
	(void)endpoint;
	(void)host;
	(void)port;
	return 1;
}

static int no_close(struct soap *soap)
{
	(void)soap;
	return SOAP_OK;
}

static int written(kind_t *k, int error)
{
	k->soap->os = NULL;
	return error != SOAP_OK || k->written == NULL ? -1 : 0;
}

static const char *const Endpoint = "http://127.0.0.1:4321/ledger";

static int encode(void *context)
{
	kind_t *k = context;
	int error;

	k->soap->os = &k->written;
	if (k->which == RECORDS)
		error = soap_send___ns1__Exchange(k->soap, Endpoint, NULL, &k->records);
	else if (k->which == TREE)
		error = soap_send___ns1__Descend(k->soap, Endpoint, NULL, &k->tree);
	else
		error = soap_send_ns1__Scale(k->soap, Endpoint, NULL, &k->numbers);
	soap_end(k->soap);
	return written(k, error);
}

/* the response as the generated server writes it (soap_serve_<operation>'s sending half) */
#define RESPOND(k, style, serialize, put, value, tag)                                                  \
	do {                                                                                               \
		(k)->soap->os = &(k)->written;                                                             \
		soap_begin((k)->soap);                                                                     \
		(k)->soap->encodingStyle = style;                                                          \
		soap_serializeheader((k)->soap);                                                           \
		serialize((k)->soap, value);                                                               \
		if (soap_begin_count((k)->soap) == 0 && ((k)->soap->mode & SOAP_IO_LENGTH))                \
			if (soap_envelope_begin_out((k)->soap) || soap_putheader((k)->soap) ||             \
			    soap_body_begin_out((k)->soap) || put((k)->soap, value, tag, "") ||           \
			    soap_body_end_out((k)->soap) || soap_envelope_end_out((k)->soap))             \
				break;                                                                     \
		if (soap_end_count((k)->soap) || soap_response((k)->soap, SOAP_OK) ||                      \
		    soap_envelope_begin_out((k)->soap) || soap_putheader((k)->soap) ||                     \
		    soap_body_begin_out((k)->soap) || put((k)->soap, value, tag, "") ||                   \
		    soap_body_end_out((k)->soap) || soap_envelope_end_out((k)->soap) ||                    \
		    soap_end_send((k)->soap))                                                              \
			break;                                                                             \
		(k)->response = strdup((k)->written);                                                      \
	} while (0)

static int keep_response(kind_t *k)
{
	k->soap->os = NULL;
	soap_end(k->soap);
	return k->response == NULL ? -1 : 0;
}

/* reads the response and checks that all of it came */
static int decode(void *context)
{
	kind_t *k = context;
	int error, whole;

	k->soap->is = k->response;
	if (k->which == RECORDS) {
		error = soap_recv___ns1__Exchange(k->soap, &k->records_out);
		whole = k->records_out.__sizerecord == BENCH_RECORDS;
	} else if (k->which == TREE) {
		error = soap_recv___ns1__Descend(k->soap, &k->tree_out);
		whole = k->tree_out.root != NULL;
	} else {
		error = soap_recv_ns1__Scale(k->soap, &k->scaled);
		whole = k->scaled.scaled != NULL && k->scaled.scaled->__size == BENCH_ARRAY;
	}
	soap_end(k->soap);
	k->soap->is = NULL;
	return error == SOAP_OK && whole ? 0 : -1;
}

/* the server thread: answers the connections one after another (keep-alive when the client keeps) */
static void *serve(void *context)
{
	struct soap *server = context;

	for (;;) {
		if (!soap_valid_socket(soap_accept(server)))
			continue;
		soap_serve(server);
		soap_destroy(server);
		soap_end(server);
	}
	return NULL;
}

typedef struct caller_t {
	struct soap *soap;
	char endpoint[64];
	struct _ns1__Records records;
	struct _ns1__RecordsResponse answer;
} caller_t;

static int call(void *context)
{
	caller_t *c = context;
	int error = soap_call___ns1__Exchange(c->soap, c->endpoint, NULL, &c->records, &c->answer);

	error = error == SOAP_OK && c->answer.__sizerecord == BENCH_CALL_RECORDS ? 0 : -1;
	soap_end(c->soap);
	return error;
}

static int round_trips(void)
{
	struct soap *server = soap_new2(SOAP_IO_KEEPALIVE, SOAP_IO_KEEPALIVE | GSOAP_OUTPUT_MODE);
	struct sockaddr_in address;
	socklen_t size = sizeof(address);
	pthread_t thread;
	caller_t c;

	if (!soap_valid_socket(soap_bind(server, "127.0.0.1", 0, 100)) ||
	    getsockname(server->master, (struct sockaddr *)&address, &size) != 0 ||
	    pthread_create(&thread, NULL, serve, server) != 0)
		return -1;
	memset(&c, 0, sizeof(c));
	snprintf(c.endpoint, sizeof(c.endpoint), "http://127.0.0.1:%u/ledger", (unsigned)ntohs(address.sin_port));
	c.records.__sizerecord = BENCH_CALL_RECORDS;
	c.records.record = bench_records;
	c.soap = soap_new2(SOAP_IO_KEEPALIVE, SOAP_IO_KEEPALIVE | GSOAP_OUTPUT_MODE);
	bench_print_rate("roundtrip_kept_connection", call, &c);
	soap_closesock(c.soap);
	soap_free(c.soap);
	c.soap = soap_new1(GSOAP_OUTPUT_MODE);
	bench_print_rate("roundtrip_new_connection", call, &c);
	soap_free(c.soap);
	return 0;
}

int main(int argc, char **argv)
{
	kind_t k;

	bench_only = argc > 1 ? argv[1] : NULL;
	fill_payloads();
	memset(&k, 0, sizeof(k));
	k.soap = soap_new1(GSOAP_OUTPUT_MODE);
	k.soap->fopen = no_socket;
	k.soap->fclose = no_close;
	k.records.__sizerecord = BENCH_RECORDS;
	k.records.record = bench_records;
	k.tree.root = &bench_levels[0];
	k.numbers.__ptr = bench_numbers;
	k.numbers.__size = BENCH_ARRAY;

	k.which = RECORDS;
	bench_print_rate("records_encode", encode, &k);
	k.records_out.__sizerecord = BENCH_RECORDS;
	k.records_out.record = bench_records;
	RESPOND(&k, NULL, soap_serialize__ns1__RecordsResponse, soap_put__ns1__RecordsResponse, &k.records_out,
	        "ns1:RecordsResponse");
	if (keep_response(&k) != 0)
		return 1;
	bench_print_rate("records_decode", decode, &k);
	bench_print_peak("records_decode_kb", decode, &k);
	free(k.response);
	k.response = NULL;

	k.which = TREE;
	bench_print_rate("nested_encode", encode, &k);
	k.tree_out.root = &bench_levels[0];
	RESPOND(&k, NULL, soap_serialize__ns1__TreeResponse, soap_put__ns1__TreeResponse, &k.tree_out,
	        "ns1:TreeResponse");
	if (keep_response(&k) != 0)
		return 1;
	bench_print_rate("nested_decode", decode, &k);
	free(k.response);
	k.response = NULL;

	k.which = ARRAY;
	bench_print_rate("rpc_array_encode", encode, &k);
	k.scaled.scaled = &k.numbers;
	RESPOND(&k, "http://schemas.xmlsoap.org/soap/encoding/", soap_serialize_ns1__ScaleResponse,
	        soap_put_ns1__ScaleResponse, &k.scaled, "ns1:ScaleResponse");
	if (keep_response(&k) != 0)
		return 1;
	bench_print_rate("rpc_array_decode", decode, &k);
	free(k.response);
	soap_free(k.soap);
	return round_trips() == 0 ? 0 : 1;
}
