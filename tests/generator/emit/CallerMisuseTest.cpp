// The generated API against its own callers' mistakes: a headers packet
// with an attachment used for several calls (the call must not free what
// the caller owns), and header names and values that would end the header
// line and start others (refused, nothing stored or sent).

#include "GeneratorTestSupport.h"
#include "LoopbackServer.h"

using namespace gentest;

namespace {

// The example calculator's header and source, as project calc.
class CallerMisuseTest : public GeneratorTest {
protected:
    void SetUp() override
    {
        viewLocation(KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl");
        files_ = emitLibrary("calc");
    }

    std::vector<std::pair<std::string, std::string>> files_;
};

// Answers Add requests, on whatever connections they come, until it has
// taken expected ones; notes each request's attachment and X-Ok header. The
// request numbered dropped (from 0) is not answered: its connection closes.
const char* const AddServer = R"(
static int expected;
static int served;
static int dropped = -1;
static char seen[4][112];

static void *serve(void *arg)
{
	calc_proto_trans_t trans;
	calc_proto_packet_t *pk = (calc_proto_packet_t *)calloc(1, sizeof(*pk));
	int sum, i;
	(void)arg;
	memset(&trans, 0, sizeof(trans));
	while(served < expected){
		trans.socket = accept(listener, NULL, NULL);
		while(served < expected && calc_proto_readpacket(&trans, pk, 30) == 0){
			snprintf(seen[served], sizeof(seen[0]), "%.*s", pk->attachment != NULL ? pk->attachment_length : 4,
				pk->attachment != NULL ? pk->attachment : "none");
			for(i = 0; i < pk->http_headers_count; i++){
				if(strcmp(pk->http_headers[i].name, "X-Ok") == 0)
					snprintf(seen[served] + strlen(seen[served]), 40, " X-Ok=[%.30s]", pk->http_headers[i].value);
			}
			if(pk->wsa.message_id[0] != '\0')
				snprintf(seen[served] + strlen(seen[served]), 30, " MessageID=[%.9s]", pk->wsa.message_id);
			served++;
			sum = pk->msg.AddRequest.Add.a + pk->msg.AddRequest.Add.b;
			calc_free_proto_packet(pk);
			memset(pk, 0, sizeof(*pk));
			if(served - 1 == dropped)
				break;
			pk->msg_type = CALC_PROTO_ADDRESPONSE;
			pk->msg.AddReply.AddResponse.sum = sum;
			calc_proto_sendpacket(&trans, pk, 30);
		}
		tessaro_socket_close(trans.socket);
	}
	free(pk);
	return NULL;
}

/* adds a and b on the client, saying how the call ended */
static void call_add(calc_client_t *client, int a, int b)
{
	calc_AddRequest_msg_t in;
	calc_AddReply_msg_t out;
	int result;

	in.Add.a = a;
	in.Add.b = b;
	memset(&out, 0, sizeof(out));
	result = calc_Add(client, &in, &out, NULL);
	printf("call %d: %d sum=%d\n", a + 1, result, out.AddResponse.sum);
}

/* what the server noted of each request */
static void print_seen(void)
{
	int i;

	for(i = 0; i < served; i++)
		printf("request %d: %s\n", i + 1, seen[i]);
}
)";

const std::string AttachmentDriver = std::string("#include \"calc_api.c\"\n") + OneRequestServer + AddServer + R"(
int main(int argc, char **argv)
{
	char endpoint[64];
	char data[] = "the caller's bytes";
	calc_client_t client;
	calc_proto_packet_t headers;
	char *mine;
	int i;
#ifdef _WIN32
	WSADATA wsa;
	WSAStartup(MAKEWORD(2, 2), &wsa);
#endif
	memset(&headers, 0, sizeof(headers));
	if(calc_set_attachment(&headers, data, (unsigned int)strlen(data)) != 0 || calc_add_http_header(&headers, "X-Ok", "kept") != 0)
		return 3;
	mine = headers.attachment;
	(void)argv;
	/* with an argument the second call's request is dropped on its kept connection, so that the call
	   sends it again on a new one */
	expected = argc > 1 ? 3 : 2;
	dropped = argc > 1 ? 1 : -1;
	if(server_start("/calculator", endpoint) != 0 || calc_client_init(&client, endpoint) != 0)
		return 2;
	client.headers = &headers;
	for(i = 0; i < 2; i++)
		call_add(&client, i, 3);
	server_finish();
	print_seen();
	/* still the caller's, untouched: freed here once */
	printf("%s %.*s\n", headers.attachment == mine ? "same" : "moved", headers.attachment_length, headers.attachment);
	free(headers.attachment);
	return 0;
}
)";

TEST_F(CallerMisuseTest, AnAttachmentOfTheHeadersPacketGoesWithEveryCallAndStaysTheCallers)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = buildAndRunC(AttachmentDriver, files_, true);
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(run.output, "call 1: 0 sum=3\ncall 2: 0 sum=4\n"
                          "request 1: the caller's bytes X-Ok=[kept]\nrequest 2: the caller's bytes X-Ok=[kept]\n"
                          "same the caller's bytes\n")
        << run.messages;
}

// A request sent again within one call (its kept connection closed before
// the answer) goes with the attachment again, which stays the caller's.
TEST_F(CallerMisuseTest, ARequestSentAgainInOneCallKeepsItsAttachment)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = buildAndRunC(AttachmentDriver, files_, true, "again");
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(run.output, "call 1: 0 sum=3\ncall 2: 0 sum=4\n"
                          "request 1: the caller's bytes X-Ok=[kept]\nrequest 2: the caller's bytes X-Ok=[kept]\n"
                          "request 3: the caller's bytes X-Ok=[kept]\nsame the caller's bytes\n")
        << run.messages;
}

// A call's request begins as the headers packet, addressing headers and
// all: a MessageID the caller set there goes out as it is, a headers packet
// without one leaves the client's addressing to make its own, and without
// addressing none goes (the server answers without addressing, which the
// calls that asked for it refuse).
const std::string AddressingDriver = std::string("#include \"calc_api.c\"\n") + OneRequestServer + AddServer + R"(
int main(void)
{
	static const struct{ int headers; const char *message_id; int addressing; }rows[] = {
		{1, "urn:mine", CALC_WSA_1_0}, {1, "", CALC_WSA_1_0}, {0, "", CALC_WSA_1_0}, {1, "", CALC_WSA_OFF},
	};
	char endpoint[64];
	calc_client_t client;
	calc_proto_packet_t headers;
	int i;

	network_start();
	expected = 4;
	if(server_start("/calculator", endpoint) != 0 || calc_client_init(&client, endpoint) != 0)
		return 2;
	for(i = 0; i < 4; i++){
		memset(&headers, 0, sizeof(headers));
		strcpy(headers.wsa.message_id, rows[i].message_id);
		client.headers = rows[i].headers ? &headers : NULL;
		client.addressing = rows[i].addressing;
		call_add(&client, i, 1);
	}
	server_finish();
	print_seen();
	return 0;
}
)";

TEST_F(CallerMisuseTest, TheHeadersPacketsAddressingGoesWithTheRequest)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = buildAndRunC(AddressingDriver, files_, true);
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(run.output, "call 1: -45 sum=0\ncall 2: -45 sum=0\ncall 3: -45 sum=0\ncall 4: 0 sum=4\n"
                          "request 1: none MessageID=[urn:mine]\nrequest 2: none MessageID=[urn:uuid:]\n"
                          "request 3: none MessageID=[urn:uuid:]\nrequest 4: none\n")
        << run.messages;
}

// Each row: what add_http_header is given and what it returns; the packet
// holds the headers taken, as given. Then a header filled in by hand with
// a line end in it: the call sends nothing.
const std::string InjectionDriver = std::string("#include \"calc_api.c\"\n") + R"(
#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#endif
static const struct{ const char *name; const char *value; }rows[] = {
	{"X-Ok", "fine"},
	{"X-Bad", "a\r\nInjected: 1"},
	{"X-Bad", "a\nInjected: 1"},
	{"X-Bad", "a\rb"},
	{"X-Bad\r\nInjected", "v"},
	{"X Bad", "v"},
	{"X:Bad", "v"},
	{"X-Bad", "nul\001byte"},
	{"X-Bad", "del\177"},
	{"", "empty name"},
	{NULL, "v"},
	{"X-Null", NULL},
	{"X-Tab", "a\tb and UTF-8 \xc3\xa9"},
	{"X-Name-Of-24-Characters!", "v"},
	{"X-Name-Of-25-Characters!!", "v"},
	{"X-Value-129", "@129"},
	{"X-Value-128", "@128"},
};

int main(void)
{
	static calc_proto_packet_t pk, full;
	char value[200];
	calc_client_t client;
	calc_AddRequest_msg_t in;
	calc_AddReply_msg_t out;
	tessaro_socket_t listener, sock;
	struct sockaddr_in address;
	socklen_t size = sizeof(address);
	char endpoint[64], byte;
	size_t i;
	int n;
#ifdef _WIN32
	WSADATA wsa;
	WSAStartup(MAKEWORD(2, 2), &wsa);
#endif
	for(i = 0; i < sizeof(rows) / sizeof(rows[0]); i++){
		const char *v = rows[i].value;
		if(v != NULL && v[0] == '@'){
			n = atoi(v + 1);
			memset(value, 'v', (size_t)n);
			value[n] = '\0';
			v = value;
		}
		printf("%d ", calc_add_http_header(&pk, (char *)rows[i].name, (char *)v));
	}
	printf("| %d:", pk.http_headers_count);
	for(n = 0; n < pk.http_headers_count; n++)
		printf(" %s=%d", pk.http_headers[n].name, (int)strlen(pk.http_headers[n].value));
	printf("\n");
	for(n = 0; n < CALC_MAX_HTTP_HEADER_NUM; n++)
		calc_add_http_header(&full, "X-Many", "v");
	printf("full %d, no packet %d\n", calc_add_http_header(&full, "X-One-More", "v"), calc_add_http_header(NULL, "X", "v"));

	/* a header set by hand past the checks */
	memset(&full, 0, sizeof(full));
	strcpy(full.http_headers[0].name, "X-Hand");
	strcpy(full.http_headers[0].value, "a\r\nInjected: 1");
	full.http_headers_count = 1;
	if(tessaro_socket_create_tcp_listen(&listener, 0, 1) != 0 || getsockname(listener, (struct sockaddr *)&address, &size) != 0)
		return 2;
	sprintf(endpoint, "http://127.0.0.1:%d/calculator", ntohs(address.sin_port));
	calc_client_init(&client, endpoint);
	client.headers = &full;
	memset(&in, 0, sizeof(in));
	printf("call %d", calc_Add(&client, &in, &out, NULL));
	/* the connection was made and closed with no byte sent */
	sock = accept(listener, NULL, NULL);
	printf(", bytes received %d\n", (int)recv(sock, &byte, 1, 0));
	tessaro_socket_close(sock);
	tessaro_socket_close(listener);
	return 0;
}
)";

TEST_F(CallerMisuseTest, HeaderTextThatWouldStartAnotherLineIsRefused)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = buildAndRunC(InjectionDriver, files_, true);
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(run.output, "0 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 0 0 -1 -1 0 "
                          "| 4: X-Ok=4 X-Tab=16 X-Name-Of-24-Characters!=1 X-Value-128=128\n"
                          "full -1, no packet -1\n"
                          "call -3, bytes received 0\n")
        << run.messages;
}

} // namespace
