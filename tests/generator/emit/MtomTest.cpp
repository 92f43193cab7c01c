// MTOM/XOP: XOP packages read whatever the reader's setting (binary parts
// included by Content-ID, percent-escaped or not, beside inline text and in
// repeated elements), every broken package refused with its cause, and a
// 10 MB binary sent both ways by a client and a server set to MTOM, with
// the memory each side's thread held at its peak. Natively under the
// sanitizers, and under Wine in the Windows build.

#include "GeneratorTestSupport.h"
#include "LoopbackPeer.h"

#include <string>
#include <vector>

using namespace gentest;

namespace {

// One document operation Store: a Blob (data, and parts repeated up to
// three times, all base64Binary) in, a Blob out; bound by SOAP 1.1
// ("soap") or SOAP 1.2 ("soap12").
std::string blobService(const std::string& soap = "soap")
{
    return wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\"><xsd:element name=\"Blob\"><xsd:complexType><xsd:sequence>"
        "<xsd:element name=\"data\" type=\"xsd:base64Binary\"/>"
        "<xsd:element name=\"parts\" type=\"xsd:base64Binary\" minOccurs=\"0\" maxOccurs=\"3\"/>"
        "</xsd:sequence></xsd:complexType></xsd:element></xsd:schema></types>\n"
        "<message name=\"In\"><part name=\"b\" element=\"tns:Blob\"/></message>"
        "<message name=\"Out\"><part name=\"b\" element=\"tns:Blob\"/></message>"
        "<portType name=\"P\"><operation name=\"Store\"><input message=\"tns:In\"/>"
        "<output message=\"tns:Out\"/></operation></portType>"
        "<binding name=\"B\" type=\"tns:P\"><" + soap + ":binding style=\"document\" "
        "transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
        "<operation name=\"Store\"><" + soap + ":operation soapAction=\"urn:store\"/>"
        "<input><" + soap + ":body use=\"literal\"/></input>"
        "<output><" + soap + ":body use=\"literal\"/></output></operation></binding>"
        "<service name=\"S\"><port name=\"Q\" binding=\"tns:B\">"
        "<" + soap + ":address location=\"http://127.0.0.1/store\"/></port></service>",
        soap == "soap12" ? " xmlns:soap12=\"http://schemas.xmlsoap.org/wsdl/soap12/\"" : "");
}

// The Base64 text of count times the three bytes "bbb", then of the tail's
// bytes ("b" or "bb").
std::string bText(int count, const std::string& tail = std::string())
{
    std::string text;
    for (int i = 0; i < count; i++)
        text += "YmJi";
    return text + (tail == "b" ? "Yg==" : tail == "bb" ? "YmI=" : "");
}

// Each row's message through the packet reader: its result, the Blob's
// data and parts as read, and the error.
const char* const TableDriver = R"(
static const char *const cases[] = {
#include "cases.h"
};

int main(void)
{
	size_t c;
	int i;
	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++){
		static demo_proto_packet_t pk;
		int result = read_message(cases[c], &pk);
		const demo_Blob_t *blob = pk.msg_direction == DEMO_DIRECTION_REQUEST ? &pk.msg.In.Blob : &pk.msg.Out.Blob;

		printf("%d: %d", (int)c, result);
		if(result == 0 && pk.msg_type == DEMO_PROTO_BLOB){
			printf(" data=%s parts=%d", blob->data != NULL ? blob->data : "-", blob->parts_count);
			for(i = 0; i < blob->parts_count; i++)
				printf(" %s", blob->parts[i]);
		}
		if(pk.msg_type == DEMO_PROTO_HTTP)
			printf(" status=%d", pk.msg.http_msg.err_code);
		if(pk.decode_error[0] != '\0')
			printf(" error=%s", pk.decode_error);
		printf("\n");
		demo_free_proto_packet(&pk);
		memset(&pk, 0, sizeof(pk));
	}
	xmlCleanupParser();
	return 0;
}
)";

std::string envelope(const std::string& inner)
{
    return "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body><Blob xmlns=\"urn:t\">" + inner +
        "</Blob></e:Body></e:Envelope>";
}

std::string include(const std::string& cid)
{
    return "<x:Include xmlns:x=\"http://www.w3.org/2004/08/xop/include\" href=\"cid:" + cid + "\"/>";
}

std::string part(const std::string& id, const std::string& bytes)
{
    return "--MB\r\nContent-Type: application/octet-stream\r\nContent-Transfer-Encoding: binary\r\nContent-ID: <" + id +
        ">\r\n\r\n" + bytes + "\r\n";
}

// A request of the root (the envelope) and the parts, ended by the close
// delimiter unless closed is false.
std::string package(const std::string& root, const std::string& parts, bool closed = true)
{
    const std::string body = "--MB\r\nContent-Type: application/xop+xml; charset=UTF-8; type=\"text/xml\"\r\n"
                             "Content-ID: <root@t>\r\n\r\n" + root + "\r\n" + parts + (closed ? "--MB--\r\n" : "");
    return "POST /store HTTP/1.1\r\nContent-Type: multipart/related; type=\"application/xop+xml\"; boundary=\"MB\"; "
           "start=\"<root@t>\"; start-info=\"text/xml\"\r\nSOAPAction: \"urn:store\"\r\nContent-Length: " +
        std::to_string(body.size()) + "\r\n\r\n" + body;
}

const std::string Hello = part("a@t", "hello");
const std::string NoPart = "-1 error=xop:Include href=\"cid:zz@t\": no part of the message has that Content-ID";

class MtomTest : public GeneratorTest {};

TEST_F(MtomTest, PackagesAreReadAndBrokenOnesRefused)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string many = part("a@t", "1") + part("b@t", "2") + part("c@t", "3");
    const std::vector<MessageCase> cases = {
        {package(envelope("<data>" + include("a@t") + "</data>"), Hello), "0 data=aGVsbG8= parts=0"},
        // Inline text beside included parts, in a repeated element; bytes that are no text.
        {package(envelope("<data>aGk=</data><parts>" + include("b@t") + "</parts><parts>" + include("c@t") + "</parts>"),
                 part("b@t", "\x01\x02\xff") + part("c@t", "xyz")),
         "0 data=aGk= parts=2 AQL/ eHl6"},
        // Blanks around the Include, a percent-escaped Content-ID, an empty part.
        {package(envelope("<data>\r\n  " + include("a%40t") + "\n</data><parts>" + include("e@t") + "</parts>"),
                 Hello + part("e@t", "")),
         "0 data=aGVsbG8= parts=1 "},
        // A part larger than all in front of it becomes its text where it
        // lies in the message, the parts around it read first; its length
        // whole triples or not.
        {package(envelope("<data>" + include("big@t") + "</data><parts>" + include("a@t") + "</parts>"),
                 Hello + part("big@t", std::string(3000, 'b'))),
         "0 data=" + bText(1000) + " parts=1 aGVsbG8="},
        {package(envelope("<data>" + include("big@t") + "</data>"), part("big@t", std::string(2998, 'b'))),
         "0 data=" + bText(999, "b") + " parts=0"},
        {package(envelope("<data>" + include("big@t") + "</data><parts>" + include("a@t") + "</parts>"),
                 part("big@t", std::string(2999, 'b')) + Hello),
         "0 data=" + bText(999, "bb") + " parts=1 aGVsbG8="},
        // A large part included twice: the second Include is refused.
        {package(envelope("<data>" + include("big@t") + "</data><parts>" + include("big@t") + "</parts>"),
                 part("big@t", std::string(3000, 'b'))),
         "-1 error=xop:Include href=\"cid:big@t\": the part is included twice"},
        // A part's bytes may hold CR LF, dashes and what looks like markup.
        {package(envelope("<data>" + include("a@t") + "</data>"), part("a@t", "\r\n--M<x>\r\n")), "0 data=DQotLU08eD4NCg== parts=0"},
        {package(envelope("<data>" + include("zz@t") + "</data>"), Hello), NoPart},
        {package(envelope("<data>" + include("a@t") + "</data><parts>" + include("a@t") + "</parts>"), Hello),
         "-1 error=xop:Include href=\"cid:a@t\": the part is included twice"},
        {package(envelope("<data>x" + include("a@t") + "</data>"), Hello),
         "-1 error=xop:Include href=\"cid:a@t\": the Include does not stand alone in its element"},
        {package(envelope("<data>" + include("root@t") + "</data>"), Hello),
         "-1 error=xop:Include href=\"cid:root@t\": no part of the message has that Content-ID"},
        // A boundary that never ends: the last part has no delimiter behind it.
        {package(envelope("<data>" + include("a@t") + "</data>"), "--MB\r\nContent-ID: <a@t>\r\n\r\nhello", false),
         "-1 error=multipart/related (XOP): the boundary never ends: no delimiter follows the part (part 1)"},
        {package(envelope("<data>" + include("a@t") + "</data>"), "", false),
         "-1 error=multipart/related (XOP): the boundary never ends: no delimiter follows the part (part 0)"},
        // More parts than the bound the driver is built with (two).
        {package(envelope("<data>" + include("a@t") + "</data>"), many),
         "-1 error=multipart/related (XOP): more parts than DEMO_MAX_MESSAGE_PARTS (part 3)"},
        // Parts beyond the message bound (8,000 bytes in the driver) are refused before they are read.
        {package(envelope("<data>" + include("a@t") + "</data>"), part("a@t", std::string(9000, 'b'))),
         "-1 status=413 error=HTTP: the message is longer than a message may be (DEMO_MAX_READ_MESSAGE_LEN: 8000 bytes)"},
    };
    const auto [table, expected] = messageTable(cases);
    view(blobService());
    std::string header = emitHeader("demo", programPlatform());
    const std::string bound = "#define DEMO_MAX_READ_MESSAGE_LEN\t67108864";
    ASSERT_NE(header.find(bound), std::string::npos);
    header.replace(header.find(bound), bound.size(), "#define DEMO_MAX_READ_MESSAGE_LEN\t8000");
    const std::string source = emitSourceWithReaders() + LoopbackPeer + ReadMessage + TableDriver;
    const RunResult run = buildAndRunC("#define DEMO_MAX_MESSAGE_PARTS 2\n#include \"demo_api.c\"\n",
                                       {{"demo_api.h", header}, {"demo_api.c", source}, {"cases.h", table}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// The server of the service given, set to MTOM (mtom), started on a free
// port, and a client of it set alike.
const char* const StartPair = R"(
static int start_pair(demo_service_t *service, long mtom, tessaro_server_t **server, demo_client_t *client)
{
	tessaro_server_config_t config;
	char endpoint[64];

	memset(&config, 0, sizeof(config));
	service->mtom = mtom;
#ifdef _WIN32
	{
		WSADATA data;
		WSAStartup(MAKEWORD(2, 2), &data);
	}
#endif
	if(demo_server_start(server, &config, service) != 0)
		return 2;
	snprintf(endpoint, sizeof(endpoint), "http://127.0.0.1:%u/store", (unsigned)tessaro_server_port(*server));
	if(demo_client_init(client, endpoint) != 0 || demo_client_set_mtom(client, mtom) != 0)
		return 3;
	return 0;
}
)";

// A client and a server each set to MTOM exchange a binary of the size
// given (and two small parts beside it) through the generated calls; each
// side's thread counts what it holds (natively, through the sanitizer's
// allocation hooks) above what it held before, and prints its peak per
// byte of the binary.
const char* const RoundTripDriver = R"(
#include <pthread.h>
#if defined(__SANITIZE_ADDRESS__) && !defined(_WIN32)
#define COUNTS_MEMORY 1
size_t __sanitizer_get_allocated_size(const volatile void *p);
int __sanitizer_install_malloc_and_free_hooks(void (*on_malloc)(const volatile void *, size_t), void (*on_free)(const volatile void *));
#endif

static pthread_t client_thread;
static long long held[2], peak[2];

#ifdef COUNTS_MEMORY
static int side(void)
{
	return pthread_equal(pthread_self(), client_thread) ? 0 : 1;
}

static void on_malloc(const volatile void *ptr, size_t size)
{
	int s = side();
	(void)ptr;
	held[s] += (long long)size;
	if(held[s] > peak[s])
		peak[s] = held[s];
}

static void on_free(const volatile void *ptr)
{
	held[side()] -= (long long)__sanitizer_get_allocated_size((const void *)ptr);
}
#endif

static char *copy(const char *text)
{
	char *made = (char *)malloc(strlen(text) + 1);
	strcpy(made, text);
	return made;
}

static int store(demo_served_t *served, const demo_In_msg_t *in, demo_Out_msg_t *out, demo_soap_fault_msg_t *fault)
{
	int i;
	(void)served;
	(void)fault;
	/* the binary goes back as it came: the request's text is the server's to free, and is taken over */
	out->Blob.data = in->Blob.data;
	((demo_In_msg_t *)in)->Blob.data = NULL;
	out->Blob.parts = (char **)calloc(3, sizeof(char *));
	for(i = 0; i < in->Blob.parts_count; i++)
		out->Blob.parts[i] = copy(in->Blob.parts[i]);
	out->Blob.parts_count = in->Blob.parts_count;
	return 0;
}

/* the Base64 text of length pseudo-random bytes */
static char *binary_text(size_t length)
{
	static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
	char *text = (char *)malloc(length / 3 * 4 + 5);
	unsigned long state = 12345;
	size_t i;
	for(i = 0; i < length / 3 * 4; i++){
		state = state * 1103515245 + 12345;
		text[i] = digits[(state >> 16) & 63];
	}
	text[i] = '\0';
	return text;
}

int main(int argc, char **argv)
{
	size_t length = (size_t)atol(argv[1]) / 3 * 3;
	long mtom = argc > 2 ? atol(argv[2]) : 1;
	demo_service_t service;
	tessaro_server_t *server;
	demo_client_t client;
	demo_In_msg_t in;
	demo_Out_msg_t out;
	char *parts[2];
	int result;

	memset(&service, 0, sizeof(service));
	service.Store = store;
	if((result = start_pair(&service, mtom, &server, &client)) != 0)
		return result;
	client.timeout = -1;
	memset(&in, 0, sizeof(in));
	memset(&out, 0, sizeof(out));
	in.Blob.data = binary_text(length);
	parts[0] = "AQL/";
	parts[1] = "eHl6";
	in.Blob.parts = parts;
	in.Blob.parts_count = 2;
	client_thread = pthread_self();
#ifdef COUNTS_MEMORY
	__sanitizer_install_malloc_and_free_hooks(on_malloc, on_free);
#endif
	held[0] = held[1] = peak[0] = peak[1] = 0;
	result = demo_Store(&client, &in, &out, NULL);
	printf("%d %s same=%d parts=%d %s %s\n", result, demo_client_error_detail(&client),
		out.Blob.data != NULL && strcmp(out.Blob.data, in.Blob.data) == 0, out.Blob.parts_count,
		out.Blob.parts_count > 0 ? out.Blob.parts[0] : "-", out.Blob.parts_count > 1 ? out.Blob.parts[1] : "-");
	demo_free_Store(&out);
	demo_client_close(&client);
	tessaro_server_stop(server);
	tessaro_server_wait(server);
	tessaro_server_free(server);
#ifdef COUNTS_MEMORY
	fprintf(stderr, "MTOM %ld, %lu bytes: peak held per byte of the binary: client %.2f, server %.2f\n", mtom,
		(unsigned long)length, (double)peak[0] / (double)length,
		(double)peak[1] / (double)length);
	/* at most twice the binary (the message's room while it comes, the value's text, never the
	   message and the text whole at once), beside a megabyte of buffers and parse whatever the size */
	printf("client within %d\nserver within %d\n", peak[0] <= (long long)(length * 2) + (1 << 20),
		peak[1] <= (long long)(length * 2) + (1 << 20));
#else
	printf("client within 1\nserver within 1\n");
#endif
	free(in.Blob.data);
	xmlCleanupParser();
	return 0;
}
)";

TEST_F(MtomTest, TenMegabytesGoBothWaysAsBinaryParts)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    view(blobService());
    const auto library = emitLibrary("demo");
    testsupport::ScopedWorkingFolder folder;
    testsupport::writeBytes("main.c", "#include \"demo_api.c\"\n");
    testsupport::writeBytes("demo_api.h", library[0].second);
    testsupport::writeBytes("demo_api.c", library[1].second + StartPair + RoundTripDriver);
    ASSERT_EQ(buildProgram("main.c", "program", true, true), 0) << testsupport::readBytes("messages.txt");
    for (const char* size : {"30", "10485760"}) {
        SCOPED_TRACE(size);
        const RunResult run = runBuiltProgram("program", std::string(), size);
        ASSERT_EQ(run.status, 0) << run.messages << run.output;
        EXPECT_EQ(run.output, "0  same=1 parts=2 AQL/ eHl6\nclient within 1\nserver within 1\n") << run.messages;
        std::printf("%s", run.messages.c_str());
    }
    // The same binary as text, for the figures beside it (the bound is MTOM's).
    const RunResult text = runBuiltProgram("program", std::string(), "10485760 0");
    EXPECT_EQ(text.output.substr(0, 27), "0  same=1 parts=2 AQL/ eHl6") << text.messages;
    std::printf("%s", text.messages.c_str());
}

// SOAP 1.2 both ways: a client set to MTOM calls a server set to it; a
// package written by hand goes to the server as a request, and to the
// client as the answer of a listener that keeps the request it took. What
// each message on the wire says of its types and holds of the bytes is
// printed.
const char* const Soap12Driver = R"(
#include <pthread.h>
#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#endif

static int request_version;

static int store(demo_served_t *served, const demo_In_msg_t *in, demo_Out_msg_t *out, demo_soap_fault_msg_t *fault)
{
	(void)fault;
	request_version = served->request->soap_version;
	out->Blob.data = (char *)malloc(strlen(in->Blob.data) + 1);
	strcpy(out->Blob.data, in->Blob.data);
	return 0;
}

static const char binary[] = "\x01\x02\r\n--\xff\xfe" "bytes";

/* a SOAP 1.2 XOP package of the binary behind the head's first lines (the type's parameters after) */
static size_t hand_package(char *message, size_t size, const char *first, const char *parameters)
{
	static const char root[] = "<env:Envelope xmlns:env=\"http://www.w3.org/2003/05/soap-envelope\"><env:Body>"
		"<Blob xmlns=\"urn:t\"><data><xop:Include xmlns:xop=\"http://www.w3.org/2004/08/xop/include\" href=\"cid:bin@hand\"/>"
		"</data></Blob></env:Body></env:Envelope>";
	char body[2048];
	size_t n, m;

	n = (size_t)snprintf(body, sizeof(body), "--HB\r\nContent-Type: application/xop+xml; charset=UTF-8; type=\"application/soap+xml\"\r\n"
		"Content-ID: <root@hand>\r\n\r\n%s\r\n--HB\r\nContent-Type: application/octet-stream\r\nContent-ID: <bin@hand>\r\n\r\n", root);
	memcpy(body + n, binary, sizeof(binary) - 1);
	n += sizeof(binary) - 1;
	n += (size_t)snprintf(body + n, sizeof(body) - n, "\r\n--HB--\r\n");
	m = (size_t)snprintf(message, size, "%sConnection: close\r\nContent-Type: multipart/related; type=\"application/xop+xml\"; "
		"boundary=\"HB\"; start=\"<root@hand>\"; start-info=\"application/soap+xml\"%s\r\nContent-Length: %lu\r\n\r\n", first, parameters,
		(unsigned long)n);
	memcpy(message + m, body, n);
	return m + n;
}

/* the bytes that come on the connection until the peer closes it, or the room is full */
static size_t take_all(tessaro_socket_t sock, char *room, size_t size)
{
	size_t got = 0;
	tessaro_size_t n;

	for(;;){
		n = size - 1 - got;
		if(n == 0 || tessaro_socket_recv(sock, room + got, &n, 30 * TESSARO_USEC_PER_SEC) != 0 || n == 0)
			return got;
		got += n;
	}
}

static tessaro_socket_t listener;
static char taken[8192];
static size_t taken_length;

/* the listener's one connection: the request up to its close delimiter is kept, and the hand answer goes */
static void *answer_by_hand(void *unused)
{
	tessaro_socket_t sock = accept(listener, NULL, NULL);
	char answer[4096];
	tessaro_size_t n, sent;
	(void)unused;
	while(taken_length < 12 || memcmp(taken + taken_length - 4, "--\r\n", 4) != 0){
		n = sizeof(taken) - 1 - taken_length;
		if(n == 0 || tessaro_socket_recv(sock, taken + taken_length, &n, 30 * TESSARO_USEC_PER_SEC) != 0 || n == 0)
			break;
		taken_length += n;
	}
	n = hand_package(answer, sizeof(answer), "HTTP/1.1 200 OK\r\n", "");
	tessaro_socket_send_all(sock, answer, n, &sent, 30 * TESSARO_USEC_PER_SEC);
	tessaro_socket_close(sock);
	return NULL;
}

static const char *holds(const char *text, size_t length, const char *what, size_t what_length)
{
	size_t i;
	for(i = 0; i + what_length <= length; i++)
		if(memcmp(text + i, what, what_length) == 0)
			return text + i;
	return NULL;
}

static void print_has(const char *name, const char *text, size_t length, const char *what)
{
	printf("%s=%d\n", name, holds(text, length, what, strlen(what)) != NULL);
}

/* what a package on the wire says of its types and holds */
static void print_package(const char *text, size_t length)
{
	print_has("xop", text, length, "multipart/related; type=\"application/xop+xml\"");
	print_has("start-info", text, length, "start-info=\"application/soap+xml\"");
	print_has("root part soap+xml", text, length, "Content-Type: application/xop+xml; charset=UTF-8; type=\"application/soap+xml\"");
	print_has("soap 1.2 envelope", text, length, "http://www.w3.org/2003/05/soap-envelope");
	print_has("include", text, length, "http://www.w3.org/2004/08/xop/include");
	print_has("bytes", text, length, binary);
	print_has("no text", text, length, "AQINCi0t");
}

int main(void)
{
	demo_service_t service;
	tessaro_server_t *server;
	demo_client_t client;
	demo_In_msg_t in;
	demo_Out_msg_t out;
	tessaro_socket_t sock;
	struct sockaddr_in address;
	socklen_t size = sizeof(address);
	pthread_t thread;
	char endpoint[64], request[4096], answer[8192];
	tessaro_size_t length, sent, got;
	int result;

	memset(&service, 0, sizeof(service));
	service.Store = store;
	if((result = start_pair(&service, 1, &server, &client)) != 0)
		return result;
	client.timeout = 30;
	memset(&in, 0, sizeof(in));
	memset(&out, 0, sizeof(out));
	in.Blob.data = "AQINCi0t//5ieXRlcw==";
	result = demo_Store(&client, &in, &out, NULL);
	printf("call=%d %s back=%s version=%d\n", result, demo_client_error_detail(&client), out.Blob.data != NULL ? out.Blob.data : "-",
		request_version);
	demo_free_Store(&out);
	demo_client_close(&client);

	/* the server's answer to a request by hand */
	length = hand_package(request, sizeof(request), "POST /store HTTP/1.1\r\nHost: 127.0.0.1\r\n", "; action=\"urn:store\"");
	if(tessaro_connect_host(&sock, "127.0.0.1", tessaro_server_port(server), 30 * TESSARO_USEC_PER_SEC) != 0 ||
			tessaro_socket_send_all(sock, request, length, &sent, 30 * TESSARO_USEC_PER_SEC) != 0)
		return 4;
	got = take_all(sock, answer, sizeof(answer));
	tessaro_socket_close(sock);
	printf("server: %.12s version=%d\n", answer, request_version);
	print_package(answer, got);
	tessaro_server_stop(server);
	tessaro_server_wait(server);
	tessaro_server_free(server);

	/* the client's request, and its reading of an answer by hand */
	if(tessaro_socket_create_tcp_listen(&listener, 0, 1) != 0 || getsockname(listener, (struct sockaddr *)&address, &size) != 0 ||
			pthread_create(&thread, NULL, answer_by_hand, NULL) != 0)
		return 5;
	snprintf(endpoint, sizeof(endpoint), "http://127.0.0.1:%u/store", (unsigned)ntohs(address.sin_port));
	demo_client_init(&client, endpoint);
	demo_client_set_mtom(&client, 1);
	client.timeout = 30;
	result = demo_Store(&client, &in, &out, NULL);
	pthread_join(thread, NULL);
	tessaro_socket_close(listener);
	printf("client: call=%d %s back=%s\n", result, demo_client_error_detail(&client), out.Blob.data != NULL ? out.Blob.data : "-");
	print_has("action", taken, taken_length, "; action=\"urn:store\"");
	print_package(taken, taken_length);
	demo_free_Store(&out);
	demo_client_close(&client);
	xmlCleanupParser();
	return 0;
}
)";

TEST_F(MtomTest, Soap12GoesBothWaysAsXopPackages)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    view(blobService("soap12"));
    const auto library = emitLibrary("demo");
    testsupport::ScopedWorkingFolder folder;
    testsupport::writeBytes("main.c", "#include \"demo_api.c\"\n");
    testsupport::writeBytes("demo_api.h", library[0].second);
    testsupport::writeBytes("demo_api.c", library[1].second + StartPair + Soap12Driver);
    ASSERT_EQ(buildProgram("main.c", "program", true, true), 0) << testsupport::readBytes("messages.txt");
    const RunResult run = runDriver(std::string());
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    const std::string package = "xop=1\nstart-info=1\nroot part soap+xml=1\nsoap 1.2 envelope=1\ninclude=1\nbytes=1\nno text=0\n";
    EXPECT_EQ(run.output, "call=0  back=AQINCi0t//5ieXRlcw== version=12\n"
                          "server: HTTP/1.1 200 version=12\n" + package +
                          "client: call=0  back=AQINCi0t//5ieXRlcw==\naction=1\n" + package)
        << run.messages;
}

} // namespace
