// The generated server against hostile clients: floods of markup (attributes
// and namespace declarations on one element, declarations spread over a
// message, nesting) at ten times each bound are answered with the fault that
// names the bound before libxml2 is handed a byte of them, a request just
// under each bound is served, an ordinary client is answered while sixteen
// clients flood, and sixteen connections that announce 64 MiB and trickle
// hold buffers no larger than what came. The work is counted (libxml2's
// allocations, the bytes of the buffers), never timed. Natively under the
// sanitizers, and under Wine in the Windows build.

#include "ServedDriver.h"

using namespace gentest;

namespace {

// Each mode prints one line per check. libxml2 allocates through counters set
// before anything uses it: the allocations a request costs are the work its
// parse did.
const char* const Driver = R"(#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

/* The bytes the generated code holds in blocks it grows (realloc), and their peak: what a message's
 * buffer takes. Its free of such a block gives them back */
#define HELD_BLOCKS 4096
static struct{ void *at; size_t size; }held[HELD_BLOCKS];
static size_t held_bytes, held_peak;
static pthread_mutex_t held_lock = PTHREAD_MUTEX_INITIALIZER;

/* the slot of the block at (NULL: a free one); -1 when there is none */
static int held_slot(void *at)
{
	int i;
	for(i = 0; i < HELD_BLOCKS; i++)
		if(held[i].at == at)
			return i;
	return -1;
}

/* the block is looked up before it moves, under the lock, so that no other thread's block can take
 * its old place in between */
static void *held_realloc(void *at, size_t size)
{
	void *grown;
	int slot;
	pthread_mutex_lock(&held_lock);
	slot = at != NULL ? held_slot(at) : -1;
	if(slot < 0)
		slot = held_slot(NULL);
	if((grown = realloc(at, size)) != NULL && slot >= 0){
		held_bytes += size - (held[slot].at != NULL ? held[slot].size : 0);
		held[slot].at = grown;
		held[slot].size = size;
		held_peak = held_bytes > held_peak ? held_bytes : held_peak;
	}
	pthread_mutex_unlock(&held_lock);
	return grown;
}

static void held_free(void *at)
{
	int slot;
	pthread_mutex_lock(&held_lock);
	if(at != NULL && (slot = held_slot(at)) >= 0){
		held_bytes -= held[slot].size;
		held[slot].at = NULL;
	}
	pthread_mutex_unlock(&held_lock);
	free(at);
}
#define realloc(at, size) held_realloc(at, size)
#define free(at) held_free(at)

#include "served_api.c"
#include "served_driver.h"

static long xml_allocations;

static void count_allocation(void)
{
	__atomic_add_fetch(&xml_allocations, 1, __ATOMIC_RELAXED);
}

static void *counted_malloc(size_t size) { count_allocation(); return malloc(size); }
static void *counted_realloc(void *at, size_t size) { count_allocation(); return realloc(at, size); }
static char *counted_strdup(const char *text) { count_allocation(); return strdup(text); }

static long allocations(void)
{
	return __atomic_load_n(&xml_allocations, __ATOMIC_RELAXED);
}

/* ---- texts that grow ---- */

typedef struct text_t{
	char *at;
	size_t length, room;
}text_t;

static void add_text(text_t *text, const char *more)
{
	size_t n = strlen(more);
	if(text->length + n + 1 > text->room){
		text->room = (text->length + n + 1) * 2;
		if((text->at = (char *)realloc(text->at, text->room)) == NULL)
			exit(1);
	}
	memcpy(text->at + text->length, more, n + 1);
	text->length += n;
}

/* count attributes named a0, a1 ... or, with declarations, namespaces p0, p1 ... declared, from first on */
static void add_attributes(text_t *text, int first, int count, int declarations)
{
	char one[64];
	int i;
	for(i = first; i < first + count; i++){
		snprintf(one, sizeof(one), declarations ? " xmlns:p%d=\"urn:p%d\"" : " a%d='v'", i, i);
		add_text(text, one);
	}
}

/* ---- requests ---- */

/* The kinds of flood, each on an Add of 2 and 3: attributes on the Add, namespaces declared on the
 * Add (which declares its own besides), namespaces declared over header entries of 60 each (the
 * Envelope and the Add declare one each besides), elements nested in a header entry (the Envelope,
 * the Header and the entry are three levels besides). */
enum{ATTRIBUTES, DECLARATIONS, SPREAD, DEPTH};

static char *request_of(int kind, int count)
{
	text_t envelope = {NULL, 0, 0}, request = {NULL, 0, 0};
	char head[256];
	int i;

	add_text(&envelope, "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\">");
	if(kind == SPREAD || kind == DEPTH){
		add_text(&envelope, "<e:Header>");
		for(i = 0; kind == SPREAD && i < count; i += 60){
			snprintf(head, sizeof(head), "<p%d:entry", i);
			add_text(&envelope, head);
			add_attributes(&envelope, i, count - i < 60 ? count - i : 60, 1);
			add_text(&envelope, "/>");
		}
		if(kind == DEPTH){
			add_text(&envelope, "<h:deep xmlns:h=\"urn:h\">");
			for(i = 0; i < count; i++)
				add_text(&envelope, "<h:d>");
			for(i = 0; i < count; i++)
				add_text(&envelope, "</h:d>");
			add_text(&envelope, "</h:deep>");
		}
		add_text(&envelope, "</e:Header>");
	}
	add_text(&envelope, "<e:Body><s:Add xmlns:s=\"urn:kelvane:served\"");
	if(kind == ATTRIBUTES || kind == DECLARATIONS)
		add_attributes(&envelope, 0, count, kind == DECLARATIONS);
	add_text(&envelope, "><s:a>2</s:a><s:b>3</s:b></s:Add></e:Body></e:Envelope>");
	snprintf(head, sizeof(head), "POST /served HTTP/1.1\r\nHost: here\r\nContent-Type: text/xml; charset=utf-8\r\n"
		"Content-Length: %lu\r\n\r\n", (unsigned long)envelope.length);
	add_text(&request, head);
	add_text(&request, envelope.at);
	free(envelope.at);
	return request.at;
}

/* ---- the server and its answers ---- */

static int serve_add(served_served_t *served, const served_AddRequest_msg_t *in, served_AddReply_msg_t *out, served_soap_fault_msg_t *fault)
{
	(void)served; (void)fault;
	out->AddResponse.sum = in->Add.a + in->Add.b;
	return 0;
}

static void start(int workers)
{
	static served_service_t service;
	tessaro_server_config_t config = {0};
	service.Add = serve_add;
	config.workers = workers;
	start_served(&config, &service);
}

/* An answer read whole (to its Content-Length, or to the close), said in said (said_size bytes): its
 * status, and its sum, the bound its fault names or else the fault's code ("-" for none) */
static void read_answer(tessaro_socket_t sock, char *said, size_t said_size)
{
	char text[8192];
	size_t have = read_answer_text(sock, text, sizeof(text));
	const char *at, *end;

	if((at = strstr(text, "<sum>")) != NULL || (at = strstr(text, ":sum>")) != NULL){
		snprintf(said, said_size, "%.3s sum=%ld", have > 12 ? text + 9 : "---", strtol(strchr(at, '>') + 1, NULL, 10));
	}else if((at = strstr(text, "more than ")) != NULL && (end = strstr(at, " (")) != NULL){
		snprintf(said, said_size, "%.3s %.*s", have > 12 ? text + 9 : "---", (int)(end - at), at);
	}else if((at = strstr(text, "<faultcode>")) != NULL){
		snprintf(said, said_size, "%.3s %.*s", have > 12 ? text + 9 : "---", (int)strcspn(at + 11, "<"), at + 11);
	}else{
		snprintf(said, said_size, "%.3s -", have > 12 ? text + 9 : "---");
	}
}

/* request sent on a connection of its own, and its answer */
static void ask(const char *request, char *said, size_t said_size)
{
	tessaro_socket_t sock = connect_server();
	send_bytes(sock, request, strlen(request));
	read_answer(sock, said, said_size);
	tessaro_socket_close(sock);
}

/* ---- the modes ---- */

/* Each kind just under its bound and at ten times it (attributes also at 40,000): the answer, and for
 * a refusal whether libxml2 allocated no more for it than for the plain request */
static void floods(void)
{
	static const struct{ int kind, count; const char *name; }rows[] = {
		{ATTRIBUTES, 128, "attributes 128"}, {ATTRIBUTES, 1280, "attributes 1280"},
		{ATTRIBUTES, 40000, "attributes 40000"},
		{DECLARATIONS, 63, "declarations 63"}, {DECLARATIONS, 640, "declarations 640"},
		{SPREAD, 254, "spread 254"}, {SPREAD, 2560, "spread 2560"},
		{DEPTH, 253, "depth 253"}, {DEPTH, 2560, "depth 2560"},
	};
	char said[256], *request;
	long plain, before, cost;
	size_t r;

	start(2);
	request = request_of(ATTRIBUTES, 0);
	before = allocations();
	ask(request, said, sizeof(said));
	plain = allocations() - before;
	printf("plain %s\n", said);
	free(request);
	for(r = 0; r < sizeof(rows) / sizeof(rows[0]); r++){
		request = request_of(rows[r].kind, rows[r].count);
		before = allocations();
		ask(request, said, sizeof(said));
		cost = allocations() - before;
		printf("%s: %s%s\n", rows[r].name, said, strstr(said, "sum=") != NULL ? "" : cost <= plain ? ", unparsed" : ", parsed");
		free(request);
	}
	tessaro_server_free(server);
}

#define FLOODERS 16
static char *flood;
static long flooding, floods_sent, floods_refused;
static volatile int stop_flooding;

/* floods on a connection of its own each time until told to stop, counting the answers that refuse it */
static void *flooder(void *param)
{
	char said[256];
	int first = 1;
	(void)param;
	do{
		ask(flood, said, sizeof(said));
		__atomic_add_fetch(&floods_sent, 1, __ATOMIC_SEQ_CST);
		if(strcmp(said, "500 more than 128 attributes on one element") == 0)
			__atomic_add_fetch(&floods_refused, 1, __ATOMIC_SEQ_CST);
		if(first)
			__atomic_add_fetch(&flooding, 1, __ATOMIC_SEQ_CST);
		first = 0;
	}while(!__atomic_load_n(&stop_flooding, __ATOMIC_SEQ_CST));
	return NULL;
}

/* Sixteen clients flood four workers; once each has had a flood answered and while all go on, a
 * seventeenth calls Add. The floods stop only once it was answered */
static void starve(void)
{
	pthread_t threads[FLOODERS];
	served_client_t client;
	served_AddRequest_msg_t add = {.Add = {.a = 2, .b = 3}};
	served_AddReply_msg_t sum;
	long plain, before, sent_then;
	int i, result;

	start(4);
	served_client_init(&client, endpoint);
	before = allocations();
	served_Add(&client, &add, &sum, NULL);
	plain = allocations() - before;
	served_client_close(&client);
	flood = request_of(ATTRIBUTES, 40000);
	before = allocations();
	for(i = 0; i < FLOODERS; i++)
		if(pthread_create(&threads[i], NULL, flooder, NULL) != 0)
			exit(1);
	while(__atomic_load_n(&flooding, __ATOMIC_SEQ_CST) < FLOODERS)
		usleep(1000);
	sent_then = __atomic_load_n(&floods_sent, __ATOMIC_SEQ_CST);
	served_client_init(&client, endpoint);
	memset(&sum, 0, sizeof(sum));
	result = served_Add(&client, &add, &sum, NULL);
	printf("ordinary %d %d\n", result, sum.AddResponse.sum);
	served_client_close(&client);
	__atomic_store_n(&stop_flooding, 1, __ATOMIC_SEQ_CST);
	for(i = 0; i < FLOODERS; i++)
		pthread_join(threads[i], NULL);
	printf("flooders before the call %d\n", sent_then >= FLOODERS);
	printf("floods all refused %d\n", floods_refused == floods_sent);
	/* the floods and the ordinary call together cost libxml2 what one ordinary call does */
	printf("floods unparsed %d\n", allocations() - before <= plain);
	free(flood);
	tessaro_server_free(server);
}

#define TRICKLERS 16
#define FIRST_BYTES 65536
#define TRICKLES 64
/* 16 buffers that double up to what came: each at most twice the 64 KB and the head */
#define HELD_BOUND (TRICKLERS * 3 * FIRST_BYTES)

/* Sixteen connections, each read by a worker of its own, announce 64 MiB (less a page, so that the
 * whole message stays within the bound on its length) and send 64 KB, then a byte at a time in
 * turns, and end their sending; each is answered that it could not be read. Their buffers hold at
 * most HELD_BOUND bytes at once (counted: the process's own figures see no address space reserved
 * and never touched, under Wine, and natively count the C library's reserves for each thread) */
static void trickle(void)
{
	tessaro_socket_t socks[TRICKLERS];
	static char body[FIRST_BYTES];
	const char *head = "POST /served HTTP/1.1\r\nHost: here\r\nContent-Type: text/xml\r\nContent-Length: 67104768\r\n\r\n";
	char said[256];
	tessaro_size_t sent;
	int i, t, answered = 0;

	start(TRICKLERS);
	memset(body, ' ', sizeof(body));
	pthread_mutex_lock(&held_lock);
	held_peak = held_bytes;
	pthread_mutex_unlock(&held_lock);
	for(i = 0; i < TRICKLERS; i++){
		socks[i] = connect_server();
		tessaro_socket_send_all(socks[i], head, strlen(head), &sent, 60 * TESSARO_USEC_PER_SEC);
		tessaro_socket_send_all(socks[i], body, sizeof(body), &sent, 60 * TESSARO_USEC_PER_SEC);
	}
	for(t = 0; t < TRICKLES; t++)
		for(i = 0; i < TRICKLERS; i++)
			tessaro_socket_send_all(socks[i], " ", 1, &sent, 60 * TESSARO_USEC_PER_SEC);
	for(i = 0; i < TRICKLERS; i++)
		shutdown(socks[i], 1);
	for(i = 0; i < TRICKLERS; i++){
		read_answer(socks[i], said, sizeof(said));
		answered += strcmp(said, "500 SOAP-ENV:Client") == 0;
		tessaro_socket_close(socks[i]);
	}
	printf("cut bodies answered with a Client fault: %d of %d\n", answered, TRICKLERS);
	/* the server's own buffers, which hold what came until the request is whole, no more */
	if(tessaro_server_held_most(server) <= HELD_BOUND)
		printf("server's buffers within bound\n");
	else
		printf("server's buffers held %lu bytes at most\n", (unsigned long)tessaro_server_held_most(server));
	tessaro_server_free(server);
	pthread_mutex_lock(&held_lock);
	if(held_peak <= HELD_BOUND)
		printf("buffers within bound\n");
	else
		printf("buffers held %lu bytes at most\n", (unsigned long)held_peak);
	pthread_mutex_unlock(&held_lock);
}

static const struct{ const char *name; void (*run)(void); }modes[] = {
	{"floods", floods}, {"starve", starve}, {"trickle", trickle},
};

/* the mode its argument names */
int main(int argc, char **argv)
{
	size_t m;
	xmlMemSetup(free, counted_malloc, counted_realloc, counted_strdup);
	setvbuf(stdout, NULL, _IONBF, 0);
	for(m = 0; argc > 1 && m < sizeof(modes) / sizeof(modes[0]); m++)
		if(strcmp(argv[1], modes[m].name) == 0)
			modes[m].run();
	xmlCleanupParser();
	return 0;
}
)";

class ServerFloodTest : public ServedDriverTest {};

TEST_F(ServerFloodTest, FloodsAreRefusedCheaplyAndNoneStarvesTheRest)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    testsupport::ScopedWorkingFolder folder;
    ASSERT_TRUE(buildServedDriver(Driver));
    expectOutputs({
        // Under each bound the Add is served; at ten times it the fault names the bound, and
        // libxml2 was handed nothing of the flood.
        {"floods", "plain 200 sum=5\n"
                   "attributes 128: 200 sum=5\n"
                   "attributes 1280: 500 more than 128 attributes on one element, unparsed\n"
                   "attributes 40000: 500 more than 128 attributes on one element, unparsed\n"
                   "declarations 63: 200 sum=5\n"
                   "declarations 640: 500 more than 64 namespace declarations on one element, unparsed\n"
                   "spread 254: 200 sum=5\n"
                   "spread 2560: 500 more than 256 namespace declarations in one message, unparsed\n"
                   "depth 253: 200 sum=5\n"
                   "depth 2560: 500 more than 256 elements nested in one another, unparsed\n"},
        {"starve", "ordinary 0 5\nflooders before the call 1\nfloods all refused 1\nfloods unparsed 1\n"},
        // A body cut short is a request that could not be read.
        {"trickle", "cut bodies answered with a Client fault: 16 of 16\nserver's buffers within bound\nbuffers within bound\n"},
    });
}

} // namespace
