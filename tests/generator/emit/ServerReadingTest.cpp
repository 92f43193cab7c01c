// The generated server reads each request as it comes: connections that
// trickle their requests hold no worker (a seventeenth client is answered
// while sixteen have not sent their last byte, on four workers and on one), a
// kept connection's request costs one receive, a pipelined pair is answered in
// order, and a request is read alike whatever the pieces it comes in (every
// chunk size of a chunked body, every split into two sends), and what the
// server holds for requests grows with what came: nothing for a thousand
// kept connections, little for sixteen that announce 32 MiB; what a wait tells
// of once is not lost (a request larger than one receive with another behind
// it, requests sent with the client's close), and a request's head asks
// for its connection's keeping alike however it comes. Proved by the
// order of what is sent, by counted receives and bytes, never by time. Natively
// under the sanitizers, and under Wine in the Windows build.

#include "ServedDriver.h"

using namespace gentest;

namespace {

const char* const Driver = R"(#include "served_api.c"
#include "served_driver.h"
#ifndef _WIN32
#include <netinet/in.h>
#include <netinet/tcp.h>
#endif

static int serve_add(served_served_t *served, const served_AddRequest_msg_t *in, served_AddReply_msg_t *out, served_soap_fault_msg_t *fault)
{
	(void)served; (void)fault;
	out->AddResponse.sum = in->Add.a + in->Add.b;
	return 0;
}

static void start_with(int workers, int connections)
{
	static served_service_t service;
	tessaro_server_config_t config = {0};
	service.Add = serve_add;
	config.workers = workers;
	/* a request held past this would be the fault: the test would hang, not pass */
	config.request_seconds = 600;
	/* many connections kept at once: none closed for its idling while the others are made */
	config.max_connections = connections;
	config.idle_seconds = connections > 0 ? 600 : 0;
	start_served(&config, &service);
}

static void start(int workers)
{
	start_with(workers, 0);
}

/* the envelope of an Add of a and b */
static void add_envelope(char *text, size_t size, int a, int b)
{
	snprintf(text, size, "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body>"
		"<s:Add xmlns:s=\"urn:kelvane:served\"><s:a>%d</s:a><s:b>%d</s:b></s:Add></e:Body></e:Envelope>", a, b);
}

/* an Add of a and b framed by its length; close: it asks for the connection's close */
static void add_request(char *text, size_t size, int a, int b, int close)
{
	char envelope[512];
	add_envelope(envelope, sizeof(envelope), a, b);
	snprintf(text, size, "POST /served HTTP/1.1\r\nHost: here\r\nContent-Type: text/xml; charset=utf-8\r\n%s"
		"Content-Length: %u\r\n\r\n%s", close ? "Connection: close\r\n" : "", (unsigned int)strlen(envelope), envelope);
}

/* the sums of the answers in text, in their order, each behind a blank ("-" for an answer without one) */
static void sums(const char *text, char *said, size_t size)
{
	const char *at = text, *sum;
	size_t used = 0;
	said[0] = '\0';
	while((at = strstr(at, "HTTP/1.1 ")) != NULL && used + 16 < size){
		sum = strstr(at, "sum>");
		at += 9;
		if(sum != NULL && (strstr(at, "HTTP/1.1 ") == NULL || sum < strstr(at, "HTTP/1.1 ")))
			used += (size_t)snprintf(said + used, size - used, " %ld", strtol(sum + 4, NULL, 10));
		else
			used += (size_t)snprintf(said + used, size - used, " -");
	}
}

/* the answer on sock, as sums says it */
static void answer_sums(tessaro_socket_t sock, char *said, size_t size)
{
	static char text[16384];
	read_answer_text(sock, text, sizeof(text));
	sums(text, said, size);
}

#define TRICKLERS 16

/* Sixteen connections each send the first bytes of an Add of i and 1 (the head cut short, or the head
 * and part of the body) and then a byte each in turns, all but their last; then a seventeenth client
 * calls Add and is answered; only then do the sixteen send their last byte, and each is answered */
static void trickle(int workers, int in_body)
{
	tessaro_socket_t socks[TRICKLERS];
	static char requests[TRICKLERS][1024];
	size_t sent[TRICKLERS], length;
	served_client_t client;
	served_AddRequest_msg_t add = {.Add = {.a = 2, .b = 3}};
	served_AddReply_msg_t sum;
	char said[64];
	int i, round, result, answered = 0;

	start(workers);
	for(i = 0; i < TRICKLERS; i++){
		add_request(requests[i], sizeof(requests[i]), i, 1, 1);
		socks[i] = connect_server();
		sent[i] = in_body ? (size_t)(strstr(requests[i], "\r\n\r\n") + 4 + 20 - requests[i]) : 20;
		send_bytes(socks[i], requests[i], sent[i]);
	}
	for(round = 0; round < 8; round++)
		for(i = 0; i < TRICKLERS; i++)
			send_bytes(socks[i], requests[i] + sent[i]++, 1);
	served_client_init(&client, endpoint);
	client.timeout = 120;
	memset(&sum, 0, sizeof(sum));
	result = served_Add(&client, &add, &sum, NULL);
	served_client_close(&client);
	printf("answered while %d trickle: %d %d\n", TRICKLERS, result, sum.AddResponse.sum);
	for(i = 0; i < TRICKLERS; i++){
		length = strlen(requests[i]);
		send_bytes(socks[i], requests[i] + sent[i], length - sent[i]);
		answer_sums(socks[i], said, sizeof(said));
		answered += atoi(said) == i + 1;
		tessaro_socket_close(socks[i]);
	}
	printf("tricklers answered %d of %d\n", answered, TRICKLERS);
	tessaro_server_free(server);
}

/* a receive of the system's own, which the library does not count */
static int plain_receive(tessaro_socket_t sock, void *buf, tessaro_size_t *len, tessaro_usec_t timeout)
{
	long got = (long)recv(sock, (char *)buf, (int)*len, 0);
	(void)timeout;
	*len = got > 0 ? (tessaro_size_t)got : 0;
	return got > 0 ? 0 : TESSARO_END_OF_STREAM;
}

#define COUNTED 8

/* Adds on one kept connection, each sent in one piece: the receives the server asked for them, after
 * the first (a new connection's first readiness may come before its request); then a pipelined pair
 * in one send, the second closing */
static void receives(void)
{
	tessaro_socket_t sock;
	char request[1024], pair[2048], said[64];
	static char text[16384];
	long before;
	int i;

	start(2);
	sock = connect_server();
	add_request(request, sizeof(request), 2, 3, 0);
	send_bytes(sock, request, strlen(request));
	read_answer_by(sock, text, sizeof(text), plain_receive);
	before = tessaro_socket_receive_count();
	for(i = 0; i < COUNTED; i++){
		send_bytes(sock, request, strlen(request));
		read_answer_by(sock, text, sizeof(text), plain_receive);
	}
	printf("receives per request: %ld\n", (tessaro_socket_receive_count() - before) / COUNTED);
	add_request(pair, sizeof(pair), 2, 3, 0);
	add_request(pair + strlen(pair), sizeof(pair) - strlen(pair), 4, 5, 1);
	send_bytes(sock, pair, strlen(pair));
	/* both answers, to the close */
	read_answer_text(sock, text, sizeof(text));
	if(strstr(text, "Connection: close") == NULL){
		size_t have = strlen(text);
		read_answer_text(sock, text + have, sizeof(text) - have);
	}
	sums(text, said, sizeof(said));
	printf("pipelined:%s\n", said);
	tessaro_socket_close(sock);
	tessaro_server_free(server);
}

/* a client socket whose every send goes out at once */
static tessaro_socket_t connect_eager(void)
{
	tessaro_socket_t sock = connect_server();
	int on = 1;
	setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, (const char *)&on, sizeof(on));
	return sock;
}

/* An Add of 7 and 8 with its body in chunks of every size from one byte to the whole, and framed by
 * its length split into two sends at every byte: how many were answered 15 of how many */
static void pieces(void)
{
	char envelope[512], request[4096], said[64], *at;
	size_t length, size, i, split;
	int alike = 0, splits = 0, tried = 0;
	tessaro_socket_t sock;

	start(2);
	add_envelope(envelope, sizeof(envelope), 7, 8);
	length = strlen(envelope);
	for(size = 1; size <= length; size++){
		at = request + sprintf(request, "POST /served HTTP/1.1\r\nHost: here\r\nContent-Type: text/xml\r\n"
			"Transfer-Encoding: chunked\r\nConnection: close\r\n\r\n");
		for(i = 0; i < length; i += size)
			at += sprintf(at, "%x\r\n%.*s\r\n", (unsigned int)(length - i < size ? length - i : size), (int)size, envelope + i);
		strcpy(at, "0\r\n\r\n");
		sock = connect_eager();
		send_bytes(sock, request, strlen(request));
		answer_sums(sock, said, sizeof(said));
		alike += strcmp(said, " 15") == 0;
		tessaro_socket_close(sock);
	}
	printf("chunk sizes answered alike: %d of %u\n", alike, (unsigned int)length);
	add_request(request, sizeof(request), 7, 8, 1);
	for(split = 1; split < strlen(request); split++, tried++){
		sock = connect_eager();
		send_bytes(sock, request, split);
		send_bytes(sock, request + split, strlen(request) - split);
		answer_sums(sock, said, sizeof(said));
		splits += strcmp(said, " 15") == 0;
		tessaro_socket_close(sock);
	}
	printf("splits answered alike: %d of %d\n", splits, tried);
	tessaro_server_free(server);
}

#define PADDING (1 << 20)

/* What a wait tells of once: an Add of 2 and 3 padded past a megabyte (more than the server takes in
 * one receive) with an Add of 4 and 5 behind it in the same send, the second asking for the close;
 * then on another connection an Add of 6 and 7 and one of 8 and 9 sent with the end of the client's
 * sending. Each pair is answered in order and the connection closed behind it (not left for its idle
 * bound). */
static void edges(void)
{
	static char big[PADDING + 4096], text[65536];
	char envelope[512], said[64];
	const char *tail;
	tessaro_socket_t sock;
	size_t used;
	int closed;

	start(2);
	sock = connect_eager();
	add_envelope(envelope, sizeof(envelope), 2, 3);
	tail = strstr(envelope, "</e:Body>");
	used = (size_t)sprintf(big, "POST /served HTTP/1.1\r\nHost: here\r\nContent-Type: text/xml; charset=utf-8\r\n"
		"Content-Length: %u\r\n\r\n%.*s", (unsigned int)(strlen(envelope) + PADDING), (int)(tail - envelope), envelope);
	memset(big + used, ' ', PADDING);
	used += PADDING;
	used += (size_t)sprintf(big + used, "%s", tail);
	add_request(big + used, sizeof(big) - used, 4, 5, 1);
	send_bytes(sock, big, strlen(big));
	closed = read_to_close(sock, text, sizeof(text));
	sums(text, said, sizeof(said));
	printf("padded, then behind it:%s, closed: %d\n", said, closed);
	tessaro_socket_close(sock);
	sock = connect_eager();
	add_request(big, sizeof(big), 6, 7, 0);
	add_request(big + strlen(big), sizeof(big) - strlen(big), 8, 9, 0);
	send_bytes(sock, big, strlen(big));
#ifdef _WIN32
	shutdown(sock, SD_SEND);
#else
	shutdown(sock, SHUT_WR);
#endif
	closed = read_to_close(sock, text, sizeof(text));
	sums(text, said, sizeof(said));
	printf("sent with the end:%s, closed: %d\n", said, closed);
	tessaro_socket_close(sock);
	tessaro_server_free(server);
}

#ifdef _WIN32
#define KEPT 256
#else
#include <sys/resource.h>
#define KEPT 1024
#endif
#define ANNOUNCERS 16

/* KEPT connections each answered an Add and kept open; then ANNOUNCERS announce a 32 MiB body and send
 * a kilobyte of it: whether what the server held for requests coming stayed small (a kept connection
 * holds nothing once answered; a room grows with what came, not with what was announced) */
static void kept(void)
{
	static tessaro_socket_t socks[KEPT + ANNOUNCERS];
	char request[1024], said[64], body[1024];
	int i, answered = 0;
	long waited;
#ifndef _WIN32
	struct rlimit files;
	getrlimit(RLIMIT_NOFILE, &files);
	files.rlim_cur = files.rlim_max;
	setrlimit(RLIMIT_NOFILE, &files);
#endif
	start_with(4, 2 * KEPT);
	for(i = 0; i < KEPT; i++){
		add_request(request, sizeof(request), i, 1, 0);
		socks[i] = connect_server();
		send_bytes(socks[i], request, strlen(request));
		answer_sums(socks[i], said, sizeof(said));
		answered += atoi(said) == i + 1;
	}
	printf("kept answered: %d of %d\n", answered, KEPT);
	printf("held while kept within 64 KB: %d\n", tessaro_server_held_most(server) <= 65536);
	memset(body, ' ', sizeof(body));
	for(i = KEPT; i < KEPT + ANNOUNCERS; i++){
		socks[i] = connect_server();
		snprintf(request, sizeof(request), "POST /served HTTP/1.1\r\nHost: here\r\nContent-Type: text/xml\r\n"
			"Content-Length: 33554432\r\n\r\n");
		send_bytes(socks[i], request, strlen(request));
		send_bytes(socks[i], body, sizeof(body));
	}
	/* until the announcers' bytes are held (each in a room of its own) */
	for(waited = 0; tessaro_server_held_most(server) < ANNOUNCERS * sizeof(body) && waited < DRIVER_WAIT / 1000; waited++)
		pause_a_little();
	add_request(request, sizeof(request), 1, 1, 0);
	send_bytes(socks[0], request, strlen(request));
	answer_sums(socks[0], said, sizeof(said));
	printf("kept answered again: %s\n", said);
	printf("held while %d announce 32 MiB: %d, within 1 MB: %d\n", ANNOUNCERS,
		tessaro_server_held_most(server) >= ANNOUNCERS * sizeof(body), tessaro_server_held_most(server) <= (1 << 20));
	for(i = 0; i < KEPT + ANNOUNCERS; i++)
		tessaro_socket_close(socks[i]);
	tessaro_server_free(server);
}

/* How a request's head asks for its connection: its version, fields, and whether the body comes in a chunk */
static const struct{
	const char *name;
	const char *version;
	const char *fields;
	int chunked;
}heads[] = {
	{"kept", "HTTP/1.1", "", 0},
	{"close", "HTTP/1.1", "Connection: close\r\n", 0},
	{"listed", "HTTP/1.1", "connection: keep-alive, Close\r\n", 0},
	{"old", "HTTP/1.0", "", 0},
	{"chunked", "HTTP/1.1", "", 1},
	{"chunked close", "HTTP/1.1", "Connection: close\r\n", 1},
};

/* An Add of 7 and 8 with the head of heads[i]; its head's length in *head */
static size_t keeping_request(char *text, size_t size, int i, size_t *head)
{
	char envelope[512];
	int length;
	add_envelope(envelope, sizeof(envelope), 7, 8);
	length = snprintf(text, size, "POST /served %s\r\nHost: here\r\nContent-Type: text/xml\r\n%s", heads[i].version, heads[i].fields);
	if(heads[i].chunked)
		length += snprintf(text + length, size - (size_t)length, "Transfer-Encoding: chunked\r\n\r\n%x\r\n%s\r\n0\r\n\r\n",
			(unsigned int)strlen(envelope), envelope);
	else
		length += snprintf(text + length, size - (size_t)length, "Content-Length: %u\r\n\r\n%s", (unsigned int)strlen(envelope), envelope);
	*head = (size_t)(strstr(text, "\r\n\r\n") + 4 - text);
	return (size_t)length;
}

/* count answers on sock (fewer when it closes first), as sums says them */
static void answers_sums(tessaro_socket_t sock, int count, char *said, size_t size)
{
	static char text[16384];
	size_t have = 0, got;
	const char *at = said;
	int found;

	do{
		got = read_answer_text(sock, text + have, sizeof(text) - have);
		have += got;
		sums(text, said, size);
		for(found = 0, at = said; (at = strchr(at, ' ')) != NULL; at++)
			found++;
	}while(found < count && got > 0);
}

/* Sends bytes[0..length) in two pieces cut at split (none: 0), behind a kept Add of 2 and 3 when
 * behind; then an Add of 1 and 1 on the same connection: whether the request was answered 15 (and
 * the one before it 5), and whether the connection served the next one */
static void keeping_once(const char *bytes, size_t length, size_t split, int behind, int *answered, int *kept)
{
	char said[64], next[1024], pair[4096];
	tessaro_socket_t sock = connect_eager();
	size_t used = 0;

	if(behind){
		add_request(pair, sizeof(pair), 2, 3, 0);
		used = strlen(pair);
	}
	memcpy(pair + used, bytes, length);
	used += length;
	if(split > 0)
		send_bytes(sock, pair, split);
	send_bytes(sock, pair + split, used - split);
	answers_sums(sock, behind ? 2 : 1, said, sizeof(said));
	*answered = strcmp(said, behind ? " 5 15" : " 15") == 0;
	add_request(next, sizeof(next), 1, 1, 1);
	send_bytes(sock, next, strlen(next));
	answer_sums(sock, said, sizeof(said));
	*kept = strcmp(said, " 2") == 0;
	tessaro_socket_close(sock);
}

/* Each head of heads sent whole, cut at every byte of its head and just behind it, and pipelined
 * behind another request: whether every way was answered, and whether the connection was kept every
 * way, none or some */
static void keeping(void)
{
	char request[2048];
	size_t length, head, split;
	int i, answered, kept, all_answered, kept_ways, ways;

	start(2);
	for(i = 0; i < (int)(sizeof(heads) / sizeof(heads[0])); i++){
		length = keeping_request(request, sizeof(request), i, &head);
		all_answered = 1;
		kept_ways = ways = 0;
		for(split = 0; split <= head + 1; split++, ways++){
			keeping_once(request, length, split, 0, &answered, &kept);
			all_answered &= answered;
			kept_ways += kept;
		}
		keeping_once(request, length, 0, 1, &answered, &kept);
		all_answered &= answered;
		kept_ways += kept;
		ways++;
		printf("%s: answered every way %d, kept %s\n", heads[i].name, all_answered, kept_ways == ways ? "always" : kept_ways == 0 ? "never" : "some ways");
	}
	tessaro_server_free(server);
}

int main(int argc, char **argv)
{
	const char *mode = argc > 1 ? argv[1] : "";
	setvbuf(stdout, NULL, _IONBF, 0);
	if(strcmp(mode, "trickle") == 0 && argc > 3)
		trickle(atoi(argv[2]), strcmp(argv[3], "body") == 0);
	else if(strcmp(mode, "receives") == 0)
		receives();
	else if(strcmp(mode, "pieces") == 0)
		pieces();
	else if(strcmp(mode, "kept") == 0)
		kept();
	else if(strcmp(mode, "edges") == 0)
		edges();
	else if(strcmp(mode, "keeping") == 0)
		keeping();
	return 0;
}
)";

class ServerReadingTest : public ServedDriverTest {};

TEST_F(ServerReadingTest, RequestsAreReadAsTheyComeWithoutHoldingAWorker)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    testsupport::ScopedWorkingFolder folder;
    ASSERT_TRUE(buildServedDriver(Driver));
#ifdef _WIN32
    const int keptConnections = 256;
#else
    const int keptConnections = 1024;
#endif
    const std::string trickled = "answered while 16 trickle: 0 5\ntricklers answered 16 of 16\n";
    expectOutputs({
        {"trickle 4 head", trickled},
        {"trickle 4 body", trickled},
        {"trickle 1 head", trickled},
        {"trickle 1 body", trickled},
        {"receives", "receives per request: 1\npipelined: 5 9\n"},
        {"edges", "padded, then behind it: 5 9, closed: 1\nsent with the end: 13 17, closed: 1\n"},
        {"pieces", "chunk sizes answered alike: 162 of 162\nsplits answered alike: 277 of 277\n"},
        {"keeping", "kept: answered every way 1, kept always\nclose: answered every way 1, kept never\n"
                    "listed: answered every way 1, kept never\nold: answered every way 1, kept never\n"
                    "chunked: answered every way 1, kept always\nchunked close: answered every way 1, kept never\n"},
        {"kept", "kept answered: " + std::to_string(keptConnections) + " of " + std::to_string(keptConnections) +
                     "\nheld while kept within 64 KB: 1\nkept answered again:  2\n"
                     "held while 16 announce 32 MiB: 1, within 1 MB: 1\n"},
    });
}

} // namespace
