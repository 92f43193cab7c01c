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

} // namespace
