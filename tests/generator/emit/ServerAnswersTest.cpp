// The generated server's answers as its workers send them: answers larger than a socket takes at
// once go whole and in order behind each other (on Linux, where the worker's ring sends them, some
// of them go short there and finish the blocking way), connections whose peer resets them while an
// answer is held leave the server serving, long pipelines on two connections are answered in order,
// a stop that comes while answers are held sends them before each connection is closed, and more
// answers at once than one wait's queue holds each reach their own connection; under valgrind, which
// takes the ring's wait for a call that never blocks, the workers wait on epoll.
// Proved by what the clients read and by counted sends, never by time. Natively under the
// sanitizers, on the ring and (the tests' second run) on epoll alone, and under Wine.

#include "ServedDriver.h"

#include <cstdlib>
#include <string>

using namespace gentest;

namespace {

const char* const Driver = R"(#include "served_api.c"
#include "served_driver.h"
#include "tessaro_server_ring.h"

static volatile int greeted;

/* "big N": a greeting of N x's */
static int serve_greet(served_served_t *served, const served_GreetRequest_msg_t *in, served_GreetReply_msg_t *out, served_soap_fault_msg_t *fault)
{
	const char *name = in->Greet.name != NULL ? in->Greet.name : "";
	long length = strncmp(name, "big ", 4) == 0 ? atol(name + 4) : 0;
	(void)served; (void)fault;
	out->GreetResponse.greeting = (char *)malloc((size_t)length + 1);
	memset(out->GreetResponse.greeting, 'x', (size_t)length);
	out->GreetResponse.greeting[length] = '\0';
	greeted++;
	return 0;
}

/* an Add of -1 stops the server from its handler */
static int serve_add(served_served_t *served, const served_AddRequest_msg_t *in, served_AddReply_msg_t *out, served_soap_fault_msg_t *fault)
{
	(void)served; (void)fault;
	if(in->Add.a == -1)
		tessaro_server_stop(server);
	out->AddResponse.sum = in->Add.a + in->Add.b;
	return 0;
}

static void start_with(int workers)
{
	static served_service_t service;
	tessaro_server_config_t config = {0};
	service.Add = serve_add;
	service.Greet = serve_greet;
	config.workers = workers;
	config.request_seconds = 600;
	config.idle_seconds = 600;
	start_served(&config, &service);
}

static void start(void)
{
	start_with(2);
}

static size_t post(char *text, size_t size, const char *body, int close)
{
	return (size_t)snprintf(text, size, "POST /served HTTP/1.1\r\nHost: here\r\nContent-Type: text/xml; charset=utf-8\r\n%s"
		"Content-Length: %u\r\n\r\n%s", close ? "Connection: close\r\n" : "", (unsigned int)strlen(body), body);
}

static size_t add_request(char *text, size_t size, int a, int b, int close)
{
	char body[512];
	snprintf(body, sizeof(body), "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body>"
		"<s:Add xmlns:s=\"urn:kelvane:served\"><s:a>%d</s:a><s:b>%d</s:b></s:Add></e:Body></e:Envelope>", a, b);
	return post(text, size, body, close);
}

static size_t greet_request(char *text, size_t size, long length)
{
	char body[512];
	snprintf(body, sizeof(body), "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body>"
		"<s:Greet xmlns:s=\"urn:kelvane:served\"><s:name>big %ld</s:name></s:Greet></e:Body></e:Envelope>", length);
	return post(text, size, body, 0);
}

/* the sum of the answer in text, or -1000 without one */
static long sum_of(const char *text)
{
	const char *sum = strstr(text, "sum>");
	return sum != NULL ? strtol(sum + 4, NULL, 10) : -1000;
}

/* the sums of the answers in text, in order, each behind a blank */
static void sums(const char *text, char *said, size_t size)
{
	const char *at = text;
	size_t used = 0;
	said[0] = '\0';
	while((at = strstr(at, "HTTP/1.1 ")) != NULL && used + 16 < size){
		used += (size_t)snprintf(said + used, size - used, " %ld", sum_of(at));
		at += 9;
	}
}

#define LARGE 200000
/* more than the sockets of both ends hold at most, as systems set them (some 4 MB and 6 MB) */
#define LARGE_COUNT 64

/* The length of the answer text[0..have) begins with, once it came whole (0 before). */
static size_t answer_length(const char *text, size_t have)
{
	const char *end = strstr(text, "\r\n\r\n"), *field = strstr(text, "Content-Length:");
	size_t length;

	if(end == NULL || field == NULL || field > end)
		return 0;
	length = (size_t)(end + 4 - text) + (size_t)strtol(field + 15, NULL, 10);
	return have >= length ? length : 0;
}

/* Whether the answer text[0..length) greets with LARGE x's. */
static int greets_large(char *text, size_t length)
{
	char kept = text[length];
	const char *at, *end;
	int whole;

	text[length] = '\0';
	at = strstr(text, "greeting>");
	end = at != NULL ? strstr(at, "</") : NULL;
	whole = end != NULL && end - at - 9 == LARGE && strspn(at + 9, "x") == LARGE;
	text[length] = kept;
	return whole;
}

/* A client sends LARGE_COUNT Greets of LARGE bytes in one send, more than the two sockets hold, and
 * reads the answers only once a send went short on the ring (where the server sends through one) or
 * every request was served: how many came whole, in order */
static void large(void)
{
	static char requests[LARGE_COUNT * 512], text[2 * LARGE + 8192];
	tessaro_socket_t sock;
	tessaro_size_t have = 0, len, length;
	size_t used = 0;
	long before;
	int i, whole = 0, ring;

	start();
	sock = connect_server();
	/* one kept Add first: whether the worker sends through a ring */
	before = tessaro_server_ring_sends();
	send_bytes(sock, requests, add_request(requests, sizeof(requests), 2, 3, 0));
	read_answer_text(sock, text, sizeof(text));
	ring = tessaro_server_ring_sends() > before;
	before = tessaro_server_ring_short_sends();
	for(i = 0; i < LARGE_COUNT; i++)
		used += greet_request(requests + used, sizeof(requests) - used, LARGE);
	send_bytes(sock, requests, used);
	while(ring && tessaro_server_ring_short_sends() == before && greeted < LARGE_COUNT)
		pause_a_little();
	text[0] = '\0';
	for(i = 0; i < LARGE_COUNT; i++){
		while((length = answer_length(text, have)) == 0){
			len = sizeof(text) - 1 - have;
			if(len == 0 || tessaro_socket_recv(sock, text + have, &len, DRIVER_WAIT) != 0)
				break;
			have += len;
			text[have] = '\0';
		}
		if(length == 0)
			break;
		whole += greets_large(text, length);
		memmove(text, text + length, have - length + 1);
		have -= length;
	}
	printf("large answers whole: %d of %d\n", whole, LARGE_COUNT);
	printf("through a ring, some went short: %d\n", ring && tessaro_server_ring_short_sends() > before);
	tessaro_socket_close(sock);
	tessaro_server_free(server);
}

#define RESETS 16

/* RESETS clients each send a Greet of LARGE bytes and reset their connection once it was served
 * (its answer held or going); then a client's Add is answered */
static void resets(void)
{
	char request[1024], text[16384];
	struct linger reset = {1, 0};
	tessaro_socket_t sock;
	int i;

	start();
	for(i = 0; i < RESETS; i++){
		sock = connect_server();
		setsockopt(sock, SOL_SOCKET, SO_LINGER, (const char *)&reset, sizeof(reset));
		send_bytes(sock, request, greet_request(request, sizeof(request), LARGE));
		while(greeted <= i)
			pause_a_little();
		tessaro_socket_close(sock);
	}
	sock = connect_server();
	send_bytes(sock, request, add_request(request, sizeof(request), 2, 3, 1));
	read_to_close(sock, text, sizeof(text));
	printf("answered after %d resets: %ld\n", RESETS, sum_of(text));
	tessaro_socket_close(sock);
	tessaro_server_free(server);
}

#define PIPELINED 48

/* Two connections each send PIPELINED Adds (i and the connection's number) in one send, the last
 * asking for the close: how many read every answer, in order, to the close */
static void pipelined(void)
{
	static char requests[2][PIPELINED * 512], text[PIPELINED * 1024];
	char said[PIPELINED * 8], want[PIPELINED * 8];
	tessaro_socket_t socks[2];
	size_t used[2] = {0, 0}, have;
	int c, i, in_order = 0;

	start();
	for(c = 0; c < 2; c++){
		socks[c] = connect_server();
		for(i = 0; i < PIPELINED; i++)
			used[c] += add_request(requests[c] + used[c], sizeof(requests[c]) - used[c], i, c, i == PIPELINED - 1);
	}
	for(c = 0; c < 2; c++)
		send_bytes(socks[c], requests[c], used[c]);
	for(c = 0; c < 2; c++){
		int closed = read_to_close(socks[c], text, sizeof(text));
		sums(text, said, sizeof(said));
		for(i = 0, have = 0; i < PIPELINED; i++)
			have += (size_t)snprintf(want + have, sizeof(want) - have, " %d", i + c);
		in_order += closed && strcmp(said, want) == 0;
		tessaro_socket_close(socks[c]);
	}
	printf("pipelined in order: %d of 2\n", in_order);
	tessaro_server_free(server);
}

/* A kept connection answered once and idle; another sends an Add of 1 and 1, one of -1 and 5 (its
 * handler stops the server) and one of 2 and 2 in one send: what each reads to its close, and what
 * the wait for the stop says */
static void stop(void)
{
	static char requests[2048], text[65536];
	char said[64];
	tessaro_socket_t idle, busy;
	size_t used = 0;
	int closed;

	start();
	idle = connect_server();
	send_bytes(idle, requests, add_request(requests, sizeof(requests), 4, 4, 0));
	read_answer_text(idle, text, sizeof(text));
	busy = connect_server();
	used += add_request(requests + used, sizeof(requests) - used, 1, 1, 0);
	used += add_request(requests + used, sizeof(requests) - used, -1, 5, 0);
	used += add_request(requests + used, sizeof(requests) - used, 2, 2, 0);
	send_bytes(busy, requests, used);
	closed = read_to_close(busy, text, sizeof(text));
	sums(text, said, sizeof(said));
	printf("stopping:%s, closed: %d\n", said, closed);
	printf("idle closed: %d\n", read_to_close(idle, text, sizeof(text)));
	printf("stopped: %d\n", tessaro_server_wait(server));
	tessaro_socket_close(busy);
	tessaro_socket_close(idle);
	tessaro_server_free(server);
}

#define MANY 300

/* MANY kept connections on one worker each send an Add (i and 1) before any answer is read, more
 * answers than one wait's queue holds: how many read their own sum */
static void many(void)
{
	static tessaro_socket_t socks[MANY];
	char request[1024], text[16384];
	int i, answered = 0;

	start_with(1);
	for(i = 0; i < MANY; i++)
		socks[i] = connect_server();
	for(i = 0; i < MANY; i++)
		send_bytes(socks[i], request, add_request(request, sizeof(request), i, 1, 0));
	for(i = 0; i < MANY; i++){
		read_answer_text(socks[i], text, sizeof(text));
		answered += sum_of(text) == i + 1;
		tessaro_socket_close(socks[i]);
	}
	printf("answered at once: %d of %d\n", answered, MANY);
	tessaro_server_free(server);
}

/* As valgrind runs it (its libraries preloaded, as the environment tells), one kept Add: its sum and
 * whether the worker sent it through a ring, which valgrind would take for a call that never waits */
static void valgrind(void)
{
	char request[1024], text[16384];
	tessaro_socket_t sock;
	long before = tessaro_server_ring_sends();

#ifndef _WIN32
	setenv("LD_PRELOAD", "/usr/libexec/valgrind/vgpreload_core-amd64-linux.so", 1);
#endif
	start();
	sock = connect_server();
	send_bytes(sock, request, add_request(request, sizeof(request), 2, 3, 0));
	read_answer_text(sock, text, sizeof(text));
	printf("under valgrind: %ld, through a ring: %d\n", sum_of(text), tessaro_server_ring_sends() > before);
	tessaro_socket_close(sock);
	tessaro_server_free(server);
}

int main(int argc, char **argv)
{
	const char *mode = argc > 1 ? argv[1] : "";
	setvbuf(stdout, NULL, _IONBF, 0);
	if(strcmp(mode, "large") == 0)
		large();
	else if(strcmp(mode, "resets") == 0)
		resets();
	else if(strcmp(mode, "pipelined") == 0)
		pipelined();
	else if(strcmp(mode, "stop") == 0)
		stop();
	else if(strcmp(mode, "many") == 0)
		many();
	else if(strcmp(mode, "valgrind") == 0)
		valgrind();
	return 0;
}
)";

// Whether this run's support library sends answers through a ring: natively on Linux, unless the
// tests' second run built it without one.
bool ringRun()
{
#if defined(__linux__)
    const char* defines = std::getenv("KELVANE_TEST_SUPPORT_DEFINES");
    return defines == nullptr || std::string(defines).find("TESSARO_SERVER_NO_RING") == std::string::npos;
#else
    return false;
#endif
}

class ServerAnswersTest : public ServedDriverTest {};

TEST_F(ServerAnswersTest, AnswersGoWholeInOrderAndBeforeTheClose)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    testsupport::ScopedWorkingFolder folder;
    ASSERT_TRUE(buildServedDriver(Driver));
    expectOutputs({
        {"large", "large answers whole: 64 of 64\nthrough a ring, some went short: " + std::string(ringRun() ? "1" : "0") + "\n"},
        {"resets", "answered after 16 resets: 5\n"},
        {"pipelined", "pipelined in order: 2 of 2\n"},
        {"stop", "stopping: 2 4 4, closed: 1\nidle closed: 1\nstopped: 0\n"},
        {"many", "answered at once: 300 of 300\n"},
        {"valgrind", "under valgrind: 5, through a ring: 0\n"},
    });
}

} // namespace
