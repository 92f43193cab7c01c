// How a call's new connection ends, each told as what it was: a closed port
// (the endpoint's or a plain proxy's) and a full accept queue are failures to
// connect, though on plain http the request's send is what waits for the
// connection; a server that takes the connection and closes it unread fails
// the answer's reading; a server that answers gives the response.

#include "GeneratorTestSupport.h"
#include "LoopbackServer.h"

#include <sstream>

using namespace gentest;

namespace {

const std::string EndingsDriver = std::string("#include \"calc_api.c\"\n") + OneRequestServer + R"(
#define GREETING "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body>" \
	"<GreetResponse xmlns=\"urn:kelvane:calculator\"><greeting>hi</greeting></GreetResponse></e:Body></e:Envelope>"

/* how the server takes the call's connection */
enum{ CLOSED, FULL, HANG_UP, ANSWER };
static const struct{ const char *name; int way; int proxied; }rows[] = {
	{"a closed port", CLOSED, 0},
	{"a closed proxy port", CLOSED, 1},
	{"a full accept queue", FULL, 0},
	{"a server that closes unread", HANG_UP, 0},
	{"a server that answers", ANSWER, 0},
};
static size_t current;

static void *serve(void *arg)
{
	calc_proto_trans_t trans;
	calc_proto_packet_t *pk;

	(void)arg;
	/* the call of those goes elsewhere */
	if(rows[current].way == CLOSED || rows[current].way == FULL)
		return NULL;
	pk = (calc_proto_packet_t *)calloc(1, sizeof(*pk));
	memset(&trans, 0, sizeof(trans));
	trans.socket = accept(listener, NULL, NULL);
	if(rows[current].way == ANSWER && calc_proto_readpacket(&trans, pk, 30) == 0)
		send_answer(trans.socket, "HTTP/1.1 200 OK", GREETING);
	calc_free_proto_packet(pk);
	tessaro_socket_close(trans.socket);
	free(pk);
	return NULL;
}

/* the detail with the port's number as P */
static void print_detail(const char *detail, unsigned port)
{
	char number[16];
	const char *at;
	size_t len;

	len = (size_t)sprintf(number, ":%u", port);
	while((at = strstr(detail, number)) != NULL){
		printf("%.*s:P", (int)(at - detail), detail);
		detail = at + len;
	}
	printf("%s\n", detail);
}

int main(void)
{
	tessaro_socket_t full, held[64];
	struct sockaddr_in address;
	socklen_t size = sizeof(address);
	char endpoint[64], proxy[64];
	calc_client_t client;
	calc_GreetRequest_msg_t in;
	calc_GreetReply_msg_t out;
	calc_soap_fault_msg_t fault;
	unsigned port;
	int holding = 0, result = 0;

	network_start();
	strcpy(in.Greet.name, "ann");
	/* a listener whose accept queue the connections held fill */
	if(tessaro_socket_create_tcp_listen(&full, 0, 0) != 0 || getsockname(full, (struct sockaddr *)&address, &size) != 0)
		return 2;
	while(holding < 64 && (result = tessaro_connect_host(&held[holding], "127.0.0.1", ntohs(address.sin_port), TESSARO_USEC_PER_SEC / 5)) == 0)
		holding++;
	if(result != TESSARO_TIMEOUT)
		return 3;
	for(current = 0; current < sizeof(rows) / sizeof(rows[0]); current++){
		if(server_start("/calc", endpoint) != 0)
			return 4;
		/* a closed port is one nobody listens on any more */
		if(rows[current].way == CLOSED)
			server_finish();
		port = (unsigned)atoi(strrchr(endpoint, ':') + 1);
		if(rows[current].way == FULL){
			port = ntohs(address.sin_port);
			sprintf(endpoint, "http://127.0.0.1:%u/calc", port);
		}
		sprintf(proxy, "http://127.0.0.1:%u", port);
		if(calc_client_init(&client, rows[current].proxied ? "http://elsewhere.invalid/calc" : endpoint) != 0 ||
			(rows[current].proxied && calc_client_set_proxy(&client, proxy) != 0))
			return 5;
		client.timeout = 1;
		result = calc_Greet(&client, &in, &out, &fault);
		if(rows[current].way != CLOSED)
			server_finish();
		printf("%s: %d, %s, ", rows[current].name, result, out.GreetResponse.greeting);
		print_detail(calc_client_error_detail(&client), port);
		calc_free_Greet(&out);
		calc_free_fault(&fault);
		calc_client_close(&client);
	}
	while(holding > 0)
		tessaro_socket_close(held[--holding]);
	tessaro_socket_close(full);
	return 0;
}
)";

// Each row's line begins so (the cause of a connection closed unread may be
// its close or its reset).
const char* const EndingsExpected[] = {
    "a closed port: -2, , connecting to 127.0.0.1:P: connection refused",
    "a closed proxy port: -26, , connecting to the proxy 127.0.0.1:P: connection refused",
    "a full accept queue: -2, , connecting to 127.0.0.1:P: no connection within the time-out (1 s)",
    "a server that closes unread: -4, , reading the answer from 127.0.0.1:P: ",
    "a server that answers: 0, hi, ",
};

class ConnectionEndingsTest : public GeneratorTest {};

TEST_F(ConnectionEndingsTest, EachEndingOfANewConnectionIsToldAsWhatItWas)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    viewLocation(KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl");
    project_.textLength = 16; // the greeting a fixed buffer
    const std::string header = emitHeader("calc", programPlatform());
    CTextBuffer source;
    writeSourceFile(*context_, source);
    const RunResult run = buildAndRunC(EndingsDriver, {{"calc_api.h", header}, {"calc_api.c", source.text()}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    std::istringstream lines(run.output);
    std::string line;
    for (const char* expected : EndingsExpected) {
        ASSERT_TRUE(std::getline(lines, line)) << expected << "\n" << run.output;
        EXPECT_EQ(line.substr(0, std::string(expected).size()), expected) << line;
    }
}

} // namespace
