// The generated server's accepting: a burst of connections, each sending one
// request at once, is answered whole whichever worker accepts a connection and
// whether it is handed to another; past the connection bound the connections
// that come are refused 503 while those held are still served. Natively under
// the sanitizers, and under Wine in the Windows build.

#include "ServedDriver.h"

using namespace gentest;

namespace {

// Each mode prints one line per check. No wait is timed: each step waits for what must come.
const char* const Driver = R"(#include "served_api.c"
#include "served_driver.h"

static int serve_add(served_served_t *served, const served_AddRequest_msg_t *in, served_AddReply_msg_t *out, served_soap_fault_msg_t *fault)
{
	(void)served; (void)fault;
	out->AddResponse.sum = in->Add.a + in->Add.b;
	return 0;
}

/* sends Add(a, 3) on sock, asking the server to close once it has answered when closing */
static void send_add(tessaro_socket_t sock, int a, int closing)
{
	char envelope[512], request[1024];
	snprintf(envelope, sizeof(envelope), "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body>"
		"<s:Add xmlns:s=\"urn:kelvane:served\"><s:a>%d</s:a><s:b>3</s:b></s:Add></e:Body></e:Envelope>", a);
	snprintf(request, sizeof(request), "POST /served HTTP/1.1\r\nHost: here\r\nContent-Type: text/xml; charset=utf-8\r\n"
		"%sContent-Length: %u\r\n\r\n%s", closing ? "Connection: close\r\n" : "", (unsigned int)strlen(envelope), envelope);
	send_bytes(sock, request, strlen(request));
}

/* reads one answer on sock: 200 with Add(a, 3)'s sum, 503, or else */
enum { ANSWER_SUM, ANSWER_REFUSED, ANSWER_OTHER };
static int answer_of(tessaro_socket_t sock, int a)
{
	static char text[16384];
	char sum[32];
	read_answer_text(sock, text, sizeof(text));
	snprintf(sum, sizeof(sum), "sum>%d<", a + 3);
	if(strncmp(text, "HTTP/1.1 200 ", 13) == 0 && strstr(text, sum) != NULL)
		return ANSWER_SUM;
	return strncmp(text, "HTTP/1.1 503 ", 13) == 0 ? ANSWER_REFUSED : ANSWER_OTHER;
}

static void start(int workers, int max_connections)
{
	tessaro_server_config_t config = {0};
	static served_service_t service;
	service.Add = serve_add;
	config.workers = workers;
	config.max_connections = max_connections;
	start_served(&config, &service);
}

/* count connections made at once, then a request with Connection: close on each, then every answer
 * read: each must carry its own sum */
static void burst(int count, int workers)
{
	tessaro_socket_t *socks = (tessaro_socket_t *)calloc((size_t)count, sizeof(*socks));
	int i, answered = 0;
	start(workers, 0);
	for(i = 0; i < count; i++)
		socks[i] = connect_server();
	for(i = 0; i < count; i++)
		send_add(socks[i], i, 1);
	for(i = 0; i < count; i++){
		answered += answer_of(socks[i], i) == ANSWER_SUM;
		tessaro_socket_close(socks[i]);
	}
	printf("answered %d of %d\n", answered, count);
	free(socks);
	tessaro_server_free(server);
}

/* limit kept connections, each answered once (so held), then extra connections past the bound, each
 * refused 503 before it sends; then each held one answered again */
static void limit(int limit, int workers, int extra)
{
	tessaro_socket_t held[64], sock;
	int i, count = 0;
	start(workers, limit);
	for(i = 0; i < limit; i++){
		held[i] = connect_server();
		send_add(held[i], i, 0);
	}
	for(i = 0; i < limit; i++)
		count += answer_of(held[i], i) == ANSWER_SUM;
	printf("held %d of %d\n", count, limit);
	for(i = count = 0; i < extra; i++){
		sock = connect_server();
		count += answer_of(sock, i) == ANSWER_REFUSED;
		tessaro_socket_close(sock);
	}
	printf("refused %d of %d\n", count, extra);
	for(i = count = 0; i < limit; i++){
		send_add(held[i], 100 + i, 0);
		count += answer_of(held[i], 100 + i) == ANSWER_SUM;
		tessaro_socket_close(held[i]);
	}
	printf("held ones answered again %d of %d\n", count, limit);
	tessaro_server_free(server);
}

int main(int argc, char **argv)
{
	setvbuf(stdout, NULL, _IONBF, 0);
	if(argc == 4 && strcmp(argv[1], "burst") == 0)
		burst(atoi(argv[2]), atoi(argv[3]));
	else if(argc == 5 && strcmp(argv[1], "limit") == 0 && atoi(argv[2]) <= 64)
		limit(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]));
	return 0;
}
)";

class ServerAcceptingTest : public ServedDriverTest {};

TEST_F(ServerAcceptingTest, BurstsAreAnsweredAndThoseOverTheBoundRefused)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    testsupport::ScopedWorkingFolder folder;
    ASSERT_TRUE(buildServedDriver(Driver));
    expectOutputs({
        // one worker accepts and serves them all; several take the burst between them, and a
        // connection answered at its accept may be handed to another before its close comes
        {"burst 64 1", "answered 64 of 64\n"},
        {"burst 64 4", "answered 64 of 64\n"},
        {"burst 200 8", "answered 200 of 200\n"},
        // the held connections spread over the workers count against the bound wherever they are
        {"limit 1 1 3", "held 1 of 1\nrefused 3 of 3\nheld ones answered again 1 of 1\n"},
        {"limit 8 4 16", "held 8 of 8\nrefused 16 of 16\nheld ones answered again 8 of 8\n"},
        {"limit 32 8 8", "held 32 of 32\nrefused 8 of 8\nheld ones answered again 32 of 32\n"},
    });
}

} // namespace
