// How a client reads its answers: nothing but the answer can come behind
// it, so what arrived is taken without being looked at first. The reading
// gives the bytes the looking reading gives, in whatever pieces they come;
// bytes sent behind an answer leave its connection unused again; and a
// client's call takes an answer that came in one piece in one receive.

#include "CodecFixture.h"
#include "LoopbackServer.h"

using namespace gentest;

namespace {

// Each case's pieces ('|' between them) are read twice, as an answer and as
// a message of either kind; printed: the answer's result, length and
// whether the connection stays open, and whether both readings gave the
// same bytes.
const char* const PiecesDriver = R"(
static int read_as(const char *text, int expect, char *buff, size_t size, tessaro_size_t *length, int *keep_open)
{
	peer_t peer;
	demo_proto_trans_t trans;
	char *copy = strdup(text), *start = copy;
	http_buffer_t message;
	size_t i, n = strlen(text);
	int result;

	memset(&peer, 0, sizeof(peer));
	for(i = 0; i <= n; i++){
		if(i == n || copy[i] == '|'){
			peer.pieces[peer.count] = start;
			peer.lengths[peer.count++] = copy + i - start;
			start = copy + i + 1;
		}
	}
	memset(&trans, 0, sizeof(trans));
	memset(buff, 0, size + 1);
	if(peer_start(&peer, &trans.socket) != 0)
		return -99;
	message.text = buff;
	message.size = message.limit = size;
	message.refusal = 0;
	message.expect = expect;
	*length = 0;
	/* no deadline: the peer's close ends every read */
	result = read_packet(&trans, &message, length, -1, NULL);
	*keep_open = trans.keep_open;
	peer_finish(&peer, trans.socket);
	free(copy);
	return result;
}

static const char *const cases[] = {
	"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello",
	"HTTP/1.1 200 OK\r\nContent-Le|ngth: 5\r\n\r|\nhel|lo",
	"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhelloHTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n",
	"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhel|loXY",
	"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n2\r\nde\r\n0\r\n\r\n",
	"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r|\nab|c\r\n0\r\n|\r\n",
	"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\nXY",
	"HTTP/1.1 204 No Content\r\n\r\nXY",
	"HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 2\r\n\r\nab",
	"HTTP/1.1 200 OK\r\n\r\nto the close|, in pieces",
	"HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nabc",
};

int main(void)
{
	static char answer[512], either[512];
	tessaro_size_t answer_length, either_length;
	int keep_open, ignored, result;
	size_t c;

	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++){
		result = read_as(cases[c], HTTP_EXPECT_ANSWER, answer, 300, &answer_length, &keep_open);
		read_as(cases[c], HTTP_EXPECT_EITHER, either, 300, &either_length, &ignored);
		printf("%d %d %d %d\n", result, (int)answer_length, keep_open,
			answer_length == either_length && memcmp(answer, either, answer_length + 1) == 0);
	}
	return 0;
}
)";

const char* const PiecesExpected[] = {
    "0 43 1 1",
    "0 43 1 1",
    // Bytes that came with the answer: the answer alone, and the connection is
    // not kept. Bytes that come after the answer's last piece was asked for stay
    // on the connection, where the next call's check finds them.
    "0 43 0 1",
    "0 43 1 1",
    "0 52 1 1",
    "0 50 1 1",
    "0 50 0 1",
    "0 27 0 1",
    // Closed by the server's word or by the close itself.
    "0 59 0 1",
    "0 42 0 1",
    // The peer stops mid-body: the end of the stream is the result.
    "1 41 0 1",
};

class AnswerReadingTest : public ReaderDriverTest {};

TEST_F(AnswerReadingTest, AnswersReadAsTheLookingReadingReadsThem)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = runReaderDriver(schemaDocument(""), PiecesDriver);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, joinedLines(PiecesExpected));
}

// A server that answers each request, on whichever of its connections it
// comes, with Greet's response framed as the case says and the case's bytes
// behind it, each answer sent in one piece; it notes the connection of each
// request. Its receives are the system's own, so that the support library
// counts the client's alone.
const std::string CallsDriver = std::string("#include \"calc_api.c\"\n") + OneRequestServer + R"(
#ifndef _WIN32
#include <sys/select.h>
#endif
#define ENVELOPE "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body>" \
	"<GreetResponse xmlns=\"urn:kelvane:calculator\"><greeting>hi</greeting></GreetResponse></e:Body></e:Envelope>"
#define CALLS 4

static const struct{ const char *name; int chunked; const char *behind; }cases[] = {
	{"by length", 0, ""},
	{"chunked", 1, ""},
	{"by length, an answer behind", 0, "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"},
	{"chunked, bytes behind", 1, "XY"},
};
static size_t current;
static int connection_of[CALLS];

/* one request off the socket: its head, and the body its length names; -1 at the end */
static int take_request(tessaro_socket_t sock)
{
	char text[8192], *field, *end;
	int have = 0, got;

	text[0] = '\0';
	while((end = strstr(text, "\r\n\r\n")) == NULL || (field = strstr(text, "Content-Length:")) == NULL ||
			have < (int)(end + 4 - text) + atoi(field + 15)){
		if(have + 1 >= (int)sizeof(text) || (got = (int)recv(sock, text + have, (int)sizeof(text) - 1 - have, 0)) <= 0)
			return -1;
		have += got;
		text[have] = '\0';
	}
	return 0;
}

static void answer(tessaro_socket_t sock)
{
	char message[1024];
	int n;

	if(cases[current].chunked)
		n = snprintf(message, sizeof(message), "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nTransfer-Encoding: chunked\r\n\r\n"
			"%x\r\n%s\r\n0\r\n\r\n%s", (unsigned)strlen(ENVELOPE), ENVELOPE, cases[current].behind);
	else
		n = snprintf(message, sizeof(message), "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: %d\r\n\r\n%s%s",
			(int)strlen(ENVELOPE), ENVELOPE, cases[current].behind);
	send(sock, message, n, 0);
}

static void *serve(void *arg)
{
	tessaro_socket_t kept[CALLS];
	int count = 0, answered = 0, i;
	fd_set ready;

	(void)arg;
	while(answered < CALLS){
		FD_ZERO(&ready);
		FD_SET(listener, &ready);
		for(i = 0; i < count; i++)
			if(kept[i] != INVALID_SOCKET)
				FD_SET(kept[i], &ready);
		if(select(FD_SETSIZE, &ready, NULL, NULL, NULL) <= 0)
			break;
		if(FD_ISSET(listener, &ready) && count < CALLS)
			kept[count++] = accept(listener, NULL, NULL);
		for(i = 0; i < count; i++){
			if(kept[i] == INVALID_SOCKET || !FD_ISSET(kept[i], &ready))
				continue;
			if(take_request(kept[i]) != 0){
				tessaro_socket_close(kept[i]);
				kept[i] = INVALID_SOCKET;
				continue;
			}
			connection_of[answered++] = i;
			answer(kept[i]);
		}
	}
	for(i = 0; i < count; i++)
		if(kept[i] != INVALID_SOCKET)
			tessaro_socket_close(kept[i]);
	return NULL;
}

int main(void)
{
	char endpoint[64];
	calc_client_t client;
	calc_GreetRequest_msg_t in;
	calc_GreetReply_msg_t out;
	long before, receives = 0;
	int call, result;

	network_start();
	memset(&in, 0, sizeof(in));
	strcpy(in.Greet.name, "ann");
	for(current = 0; current < sizeof(cases) / sizeof(cases[0]); current++){
		if(server_start("/calc", endpoint) != 0 || calc_client_init(&client, endpoint) != 0)
			return 2;
		client.timeout = 60;
		printf("%s:", cases[current].name);
		for(call = 0; call < CALLS; call++){
			before = tessaro_socket_receive_count();
			result = calc_Greet(&client, &in, &out, NULL);
			receives += tessaro_socket_receive_count() - before;
			printf(" %d %s", result, out.GreetResponse.greeting);
			calc_free_Greet(&out);
		}
		calc_client_close(&client);
		server_finish();
		printf(", on connections");
		for(call = 0; call < CALLS; call++)
			printf(" %d", connection_of[call]);
		printf(", receives %ld\n", receives);
		receives = 0;
	}
	return 0;
}
)";

const char* const CallsExpected[] = {
    "by length: 0 hi 0 hi 0 hi 0 hi, on connections 0 0 0 0, receives 4",
    "chunked: 0 hi 0 hi 0 hi 0 hi, on connections 0 0 0 0, receives 4",
    "by length, an answer behind: 0 hi 0 hi 0 hi 0 hi, on connections 0 1 2 3, receives 4",
    "chunked, bytes behind: 0 hi 0 hi 0 hi 0 hi, on connections 0 1 2 3, receives 4",
};

class AnswerCallsTest : public GeneratorTest {};

TEST_F(AnswerCallsTest, AnAnswerInOnePieceTakesOneReceiveAndBytesBehindItANewConnection)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    viewLocation(KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl");
    // Greet's name and greeting are fixed buffers of 16 bytes here.
    project_.textLength = 16;
    const std::string header = emitHeader("calc", programPlatform());
    CTextBuffer source;
    writeSourceFile(*context_, source);
    const RunResult run = buildAndRunC(CallsDriver, {{"calc_api.h", header}, {"calc_api.c", source.text()}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, joinedLines(CallsExpected)) << run.messages;
}

// Calls in a row on one client, each ending its own way: each call's answer
// is its own (none of the call before shows through), the request's records
// stay the caller's whatever the end (the sanitizers see any free of them),
// and an answer far past the reader's first room comes whole. The server
// echoes the records on a connection per request, or answers a fault when
// the first is named "fault".
const std::string RowsDriver = std::string("#include \"ledger_api.c\"\n") + OneRequestServer + R"(
#define FAULT "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body><e:Fault>" \
	"<faultcode>e:Server</faultcode><faultstring>no ledger</faultstring></e:Fault></e:Body></e:Envelope>"
#define MOST 3000

static const struct{ const char *name; int records; int fault; int closed_port; int refused_header; }rows[] = {
	{"three records", 3, 0, 0, 0},
	{"one record", 1, 0, 0, 0},
	{"an answer past the first room", MOST, 0, 0, 0},
	{"a fault", 1, 1, 0, 0},
	{"a closed port", 2, 0, 1, 0},
	{"a header the sender refuses", 2, 0, 0, 1},
	{"one record again", 1, 0, 0, 0},
};
static int expected;

static void *serve(void *arg)
{
	ledger_proto_trans_t trans;
	ledger_proto_packet_t *pk = (ledger_proto_packet_t *)calloc(1, sizeof(*pk));
	ledger_Record_t *records;
	int answered = 0, count;

	(void)arg;
	while(answered < expected){
		memset(&trans, 0, sizeof(trans));
		trans.socket = accept(listener, NULL, NULL);
		if(ledger_proto_readpacket(&trans, pk, 30) == 0 && pk->msg_type == LEDGER_PROTO_RECORDS){
			answered++;
			records = pk->msg.ExchangeRequest.Records.record;
			count = pk->msg.ExchangeRequest.Records.record_count;
			if(count > 0 && strcmp(records[0].name, "fault") == 0){
				send_answer(trans.socket, "HTTP/1.1 500 Internal Server Error", FAULT);
			}else{
				pk->msg.ExchangeRequest.Records.record = NULL;
				ledger_free_proto_packet(pk);
				memset(pk, 0, sizeof(*pk));
				pk->msg_type = LEDGER_PROTO_RECORDSRESPONSE;
				pk->msg.ExchangeReply.RecordsResponse.record = records;
				pk->msg.ExchangeReply.RecordsResponse.record_count = count;
				ledger_add_http_header(pk, "Connection", "close");
				ledger_proto_sendpacket(&trans, pk, 30);
			}
		}
		ledger_free_proto_packet(pk);
		memset(pk, 0, sizeof(*pk));
		tessaro_socket_close(trans.socket);
	}
	free(pk);
	return NULL;
}

int main(void)
{
	static ledger_Record_t mine[MOST];
	static char names[MOST][16];
	ledger_Record_t faulty = {0, "fault", 0, 0};
	ledger_proto_packet_t refusing;
	char endpoint[64], closed[64];
	ledger_client_t client;
	ledger_ExchangeRequest_msg_t in;
	ledger_ExchangeReply_msg_t out;
	ledger_soap_fault_msg_t fault;
	size_t r;
	int i, result, kept, count;

	network_start();
	for(i = 0; i < MOST; i++){
		snprintf(names[i], sizeof(names[i]), "r%d", i);
		mine[i].id = i;
		mine[i].name = strdup(names[i]);
		mine[i].amount = i * 0.5;
	}
	memset(&refusing, 0, sizeof(refusing));
	strcpy(refusing.http_headers[0].name, "X-Hand");
	strcpy(refusing.http_headers[0].value, "a\r\nInjected: 1");
	refusing.http_headers_count = 1;
	/* a port nobody listens on any more */
	if(server_start("/ledger", closed) != 0)
		return 2;
	expected = 0;
	server_finish();
	for(r = 0; r < sizeof(rows) / sizeof(rows[0]); r++)
		expected += !rows[r].closed_port && !rows[r].refused_header;
	if(server_start("/ledger", endpoint) != 0 || ledger_client_init(&client, endpoint) != 0)
		return 2;
	for(r = 0; r < sizeof(rows) / sizeof(rows[0]); r++){
		ledger_client_close(&client);
		if(ledger_client_init(&client, rows[r].closed_port ? closed : endpoint) != 0)
			return 3;
		client.headers = rows[r].refused_header ? &refusing : NULL;
		in.Records.record = rows[r].fault ? &faulty : mine;
		in.Records.record_count = rows[r].records;
		result = ledger_Exchange(&client, &in, &out, &fault);
		count = out.RecordsResponse.record_count;
		kept = in.Records.record == (rows[r].fault ? &faulty : mine) && strcmp(faulty.name, "fault") == 0;
		for(i = 0; i < MOST; i++)
			kept = kept && strcmp(mine[i].name, names[i]) == 0 && mine[i].id == i;
		printf("%s: %d, %d records, %s to %s, %s, the request %s\n", rows[r].name, result, count,
			count > 0 ? out.RecordsResponse.record[0].name : "-", count > 0 ? out.RecordsResponse.record[count - 1].name : "-",
			result == LEDGER_FAULT ? fault.faultstring : "no fault", kept ? "kept" : "changed");
		ledger_free_Exchange(&out);
		free(fault.detail);
	}
	ledger_client_close(&client);
	server_finish();
	for(i = 0; i < MOST; i++)
		free(mine[i].name);
	return 0;
}
)";

const char* const RowsExpected[] = {
    "three records: 0, 3 records, r0 to r2, no fault, the request kept",
    "one record: 0, 1 records, r0 to r0, no fault, the request kept",
    "an answer past the first room: 0, 3000 records, r0 to r2999, no fault, the request kept",
    "a fault: 1, 0 records, - to -, no ledger, the request kept",
    "a closed port: -2, 0 records, - to -, no fault, the request kept",
    "a header the sender refuses: -3, 0 records, - to -, no fault, the request kept",
    "one record again: 0, 1 records, r0 to r0, no fault, the request kept",
};

TEST_F(AnswerCallsTest, CallsInARowAnswerEachItsOwnAndLeaveTheRequestTheCallers)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    viewLocation(KELVANE_SOURCE_DIR "/bench/generated/ledger.wsdl");
    const std::string header = emitHeader("ledger", programPlatform());
    CTextBuffer source;
    writeSourceFile(*context_, source);
    const RunResult run = buildAndRunC(RowsDriver, {{"ledger_api.h", header}, {"ledger_api.c", source.text()}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, joinedLines(RowsExpected)) << run.messages;
}

} // namespace
