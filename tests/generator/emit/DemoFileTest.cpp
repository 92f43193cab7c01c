// The generated demo program: its text for the two targets (golden/demo/),
// which operations main calls, and the demo of the build's target (Unix
// natively, Windows under Wine) built with the support library and run on
// loopback: each call gets its answer from the server thread, which outlives
// broken connections.

#include "GeneratorTestSupport.h"
#include "generator/emit/DemoFile.h"

#include <algorithm>
#include <map>
#include <sstream>

#ifndef _WIN32
#include <sys/wait.h>
#endif

using namespace gentest;

namespace {

const std::string GoldenFolder = KELVANE_SOURCE_DIR "/tests/generator/emit/golden/demo/";

// A document operation whose request has no part of an element: no message
// kind can carry it.
const char* const TypedRequest = R"(<definitions xmlns="http://schemas.xmlsoap.org/wsdl/"
  xmlns:soap="http://schemas.xmlsoap.org/wsdl/soap/" xmlns:xsd="http://www.w3.org/2001/XMLSchema"
  xmlns:tns="urn:t" targetNamespace="urn:t">
<types><xsd:schema targetNamespace="urn:t"><xsd:element name="r" type="xsd:int"/></xsd:schema></types>
<message name="In"><part name="t" type="xsd:int"/></message>
<message name="Out"><part name="r" element="tns:r"/></message>
<portType name="P"><operation name="Typed"><input message="tns:In"/><output message="tns:Out"/></operation></portType>
<binding name="B" type="tns:P"><soap:binding style="document" transport="http://schemas.xmlsoap.org/soap/http"/>
  <operation name="Typed"><soap:operation soapAction=""/><input><soap:body use="literal"/></input>
    <output><soap:body use="literal"/></output></operation></binding>
</definitions>)";

class DemoFileTest : public GeneratorTest {
protected:
    // A document of golden/demo/ (calc: rpc operations Add and Sub; two:
    // port types A with Add and B with Add and Sub; unbound: A without a
    // binding; document: a header part, body elements addRequest and
    // addResponse, a part of a type, a port type without operations), a
    // document of the tests ("tests/..."), or a corpus entry point.
    void load(const std::string& location)
    {
        parseLocation(location.find('/') == std::string::npos ? GoldenFolder + location
                      : location.rfind("tests/", 0) == 0      ? KELVANE_SOURCE_DIR "/" + location
                                                              : KELVANE_CORPUS_DIR "/wsdl/" + location);
        ASSERT_FALSE(parser_->hasError()) << diagnostics_.str();
        view_ = std::make_unique<CServiceView>(readServiceView(*parser_));
    }

    // The demo of a document load takes, or of TypedRequest for none.
    std::string demoOf(const std::string& document)
    {
        if (document.empty())
            view(TypedRequest);
        else
            load(document);
        return demo(CProjectRecord::Unix);
    }

    std::string demo(int platform)
    {
        emitHeader("calc", platform);
        CTextBuffer text;
        writeDemoFile(*context_, text);
        return text.text();
    }

    // The calls of main, one word each: "REQUEST>ANSWER" per call (the
    // kinds without "CALC_PROTO_"), "-Name" per operation not called.
    static std::string outline(const std::string& text)
    {
        static const std::string Kind = "CALC_PROTO_";
        static const std::string NotCalled = "is not called: %s\\n\", \"";
        std::string words;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            const std::string::size_type call = line.find("demo_call(\"");
            const std::string::size_type skipped = line.find(NotCalled);
            if (call != std::string::npos) {
                std::istringstream args(line.substr(line.find(',', call) + 1));
                std::string request, response;
                args >> request >> response;
                words += request.substr(Kind.size(), request.size() - Kind.size() - 1) + ">" +
                    response.substr(Kind.size(), response.size() - Kind.size() - 1) + " ";
            } else if (skipped != std::string::npos) {
                const std::string::size_type name = skipped + NotCalled.size();
                words += "-" + line.substr(name, line.find('"', name) - name) + " ";
            }
        }
        return words;
    }

    // Builds the demo of this build's target with the generated library and
    // the support library (natively under the sanitizers), beside the C
    // files given, and runs it with the arguments given; its standard output
    // and status come back.
    RunResult runDemo(const std::string& demoText, const std::string& arguments = "0",
                      const std::vector<std::pair<std::string, std::string>>& files = {})
    {
        RunResult result;
        if (!canBuildPrograms())
            return result;
        testsupport::ScopedWorkingFolder folder;
        testsupport::writeBytes("calc_api.h", headerText());
        testsupport::writeBytes("calc_api.c", emitSourceWithPrinters());
        testsupport::writeBytes("calc_api_demo.c", demoText);
        std::string sources = "calc_api_demo.c calc_api.c";
        for (const auto& file : files) {
            testsupport::writeBytes(file.first, file.second);
            sources += " " + file.first;
        }
        if (buildProgram(sources, "demo", true, true) != 0) {
            result.messages = testsupport::readBytes("messages.txt");
            return result;
        }
        return runBuiltProgram("demo", std::string(), arguments);
    }
};

TEST_F(DemoFileTest, GoldenTextForBothTargets)
{
    load("calc.wsdl");
    for (int platform : {CProjectRecord::Windows, CProjectRecord::Unix}) {
        const std::string file = GoldenFolder + (platform == CProjectRecord::Windows ? "windows.golden" : "unix.golden");
        const std::string text = demo(platform);
        if (std::getenv("KELVANE_WRITE_GOLDEN") != nullptr)
            testsupport::writeBytes(file, text);
        EXPECT_EQ(text, testsupport::readBytes(file));
        const bool windows = platform == CProjectRecord::Windows;
        if (windows ? canCompileForWindows() : canCompileC()) {
            const CompileResult compiled = compileC(text, {{"calc_api.h", headerText()}}, windows);
            EXPECT_EQ(compiled.status, 0) << compiled.output;
        }
    }
}

TEST_F(DemoFileTest, MainCallsEachOperationOnce)
{
    const struct {
        std::string document;
        std::string outline;
    } cases[] = {
        // Every operation of the port type, not only the first.
        {"calc.wsdl", "ADD>ADD_RESPONSE SUB>SUB_RESPONSE "},
        // B's Add sends the same message kind as A's: the server could not
        // tell them apart, so it is not called.
        {"two.wsdl", "ADD>ADD_RESPONSE -Add SUB>SUB_RESPONSE "},
        {"unbound.wsdl", ""},
        // The header part and the part of a type are no message kinds.
        {"document.wsdl", "ADDREQUEST>ADDRESPONSE "},
        // A one-way operation is answered by an HTTP status.
        {"tests/tools/demo/shop.wsdl",
         "PLACEORDER>PLACEORDERRESPONSE NOTIFY>HTTP ADD>ADD_RESPONSE PAINT>PAINT_RESPONSE "},
        {"", "-Typed "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        EXPECT_EQ(outline(demoOf(c.document)), c.outline);
    }
}

// An operation not called says why: the operation that sends its request's
// kind already, or that its request has no kind the packet API sends.
TEST_F(DemoFileTest, AnOperationNotCalledSaysWhy)
{
    const struct {
        std::string document;
        const char* line;
    } cases[] = {
        {"two.wsdl", "printf(\"demo: %s is not called: %s\\n\", \"Add\", \"its request is the message of Add\");"},
        {"", "printf(\"demo: %s is not called: %s\\n\", \"Typed\", "
             "\"its request has no message kind the packet API sends\");"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        EXPECT_NE(demoOf(c.document).find(c.line), std::string::npos);
    }
}

// The demo built and run: every call gets its answer from the demo's own
// server and the program exits with 0 (natively under the sanitizers and
// the leak checker: the sample values' arrays are freed). A server that
// answers with another message fails the demo with a line that says so; a
// wrong port argument is named. A message that is one operation's request
// and another's response goes out in the form of each use; the packet's
// soap:header members carry sample values.
TEST_F(DemoFileTest, DemoCallsEachOperationOfItsOwnServer)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string AnswerAdd = "case CALC_PROTO_ADD:\r\n\t\treturn CALC_PROTO_ADD_RESPONSE;";
    const struct {
        std::string document;
        std::string arguments;
        int status;
        std::string lines;
        std::string edit = std::string(); // replaces AnswerAdd when given
    } cases[] = {
        {"calc.wsdl", "0", 0, "demo: 2 of 2 calls got their answer\n"},
        {"document.wsdl", "0", 0, "demo: 1 of 1 calls got their answer\n"},
        {"tests/peers/wsdl/structures.wsdl", "0", 0, " calls got their answer\n"},
        {"axis1/interop3/rpcEnc/InteropTestRpcEnc.wsdl", "0", 0, " calls got their answer\n"},
        {"axis1/interop-mock/TerraService.wsdl", "0", 0, " calls got their answer\n"},
        // getBank of the SOAP 1.1 port and of the SOAP 1.2 one, each in its version.
        {"savon/blz_service.wsdl", "0", 0, "demo: 2 of 2 calls got their answer\n"},
        {"tests/generator/emit/data/demo/crossed.wsdl", "0", 0, "demo: 3 of 3 calls got their answer\n"},
        // Document style: a body element that is one operation's request and another's
        // response, as one message and as two, each read as the message of its way; the
        // client fills the request's soap:header part of the packet, and it arrives.
        {"tests/generator/emit/data/demo/twoway.wsdl", "0", 0, "demo: 3 of 3 calls got their answer\n"},
        {"tests/generator/emit/data/demo/twoway.wsdl", "0", 0,
         "server receives CALC_PROTO_QUOTE====================\nmsg_type:3\nsession:session1\n"},
        {"tests/generator/emit/data/demo/twoway.wsdl", "0", 0,
         "client receives CALC_PROTO_NOTE====================\nmsg_type:5\nsession:\nbody:body1\n"
         "stamp:2001-02-03T04:05:06\n"},
        // SOAP arrays whose items have a member for their sequence and one for their arrayType, of
        // which the sample fills both: the first goes out, under its count, and is read into both.
        {"tests/generator/emit/data/demo/twice.wsdl", "0", 0, "demo: 2 of 2 calls got their answer\n"},
        {"tests/generator/emit/data/demo/twice.wsdl", "0", 0,
         "server receives CALC_PROTO_ECHO====================\nmsg_type:3\nitem:1\nitem:2\nIntArray:1\nIntArray:2\n"
         "item:item5\nitem:item6\nTextArray:item5\nTextArray:item6\n"},
        // A derived type that declares again two elements of its base: each of the four goes out in
        // its place, and the server and then the client read each into its own member.
        {"tests/generator/emit/data/demo/derived.wsdl", "0", 0, "demo: 1 of 1 calls got their answer\n"},
        {"tests/generator/emit/data/demo/derived.wsdl", "0", 0,
         "server receives CALC_PROTO_ECHO====================\nmsg_type:3\nMsgID:1\nMsgSubID:MsgSubID2\n"
         "MsgSubID:MsgSubID3\nMsgID:4\nStatus:Status5\n"},
        {"tests/generator/emit/data/demo/derived.wsdl", "0", 0,
         "client receives CALC_PROTO_ECHORESPONSE====================\nmsg_type:4\nMsgID:1\nMsgSubID:MsgSubID2\n"
         "MsgSubID:MsgSubID3\nMsgID:4\nStatus:Status5\n"},
        {"axis1/integration/attachments/mime.wsdl", "0", 0, "demo: 11 of 11 calls got their answer\n"},
        {"zeep/wsdl_files/soap_header.wsdl", "0", 0, "demo: 1 of 1 calls got their answer\n"},
        {"calc.wsdl", "0", 1,
         "Add: the answer is CALC_PROTO_SUB_RESPONSE, not CALC_PROTO_ADD_RESPONSE\n"
         "==================call Sub",
         "case CALC_PROTO_ADD:\r\n\t\treturn CALC_PROTO_SUB_RESPONSE;"},
        {"calc.wsdl", "0", 1, "demo: FAILED: 1 of 2 calls got no answer\n",
         "case CALC_PROTO_ADD:\r\n\t\treturn 0;"},
        {"calc.wsdl", "nine", 2, "demo: PORT 'nine' is no number from 0 to 65535\n"},
    };
    // Cases that look for other lines of the same run share it: one build and run each.
    std::map<std::string, RunResult> runs;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document + " " + c.arguments + " " + c.edit);
        const std::string key = c.document + "\n" + c.arguments + "\n" + c.edit;
        if (runs.count(key) == 0) {
            load(c.document);
            std::string text = demo(programPlatform());
            if (!c.edit.empty()) {
                const std::string::size_type at = text.find(AnswerAdd);
                ASSERT_NE(at, std::string::npos);
                text.replace(at, AnswerAdd.size(), c.edit);
            }
            runs[key] = runDemo(text, c.arguments);
        }
        const RunResult& run = runs[key];
        std::string output = run.output;
        output.erase(std::remove(output.begin(), output.end(), '\r'), output.end());
        EXPECT_EQ(run.status, c.status) << run.messages << output.substr(0, 3000);
        EXPECT_NE(output.find(c.lines), std::string::npos) << output.substr(0, 3000);
        EXPECT_EQ(output.find("FAILED") == std::string::npos, c.status != 1);
    }
}

// Takes the place of the demo's client: it starts the demo's server on a free
// port, then connects: a connection that closes at once,
// one that breaks with a reset, one that sends what is no HTTP message, 200
// requests with bytes behind the envelope on one connection, each answered,
// and one more on a last connection. The demo tells it of every request it
// printed and every connection it ended or could not accept.
// What the drivers that take the place of the demo's client share: the
// demo's server started on a free port, and connections to it.
const std::string DemoDriverHead = std::string(R"(
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include "calc_api.h"
#include "tessaro_socket.h"
#include "tessaro_util.h"
#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif
int demo_listen(tessaro_server_t **server, tessaro_port_t port);

static tessaro_port_t port;

/* the demo's server on a free port */
static void start_demo(void)
{
	tessaro_server_t *server;
#ifdef _WIN32
	WSADATA data;
	WSAStartup(MAKEWORD(2, 2), &data);
#endif
	if(demo_listen(&server, 0) != 0)
		exit(5);
	port = tessaro_server_port(server);
}

static void connect_demo(calc_proto_trans_t *trans)
{
	memset(trans, 0, sizeof(*trans));
	if(calc_connect_server(trans, "127.0.0.1", "/test/soap", port) != 0)
		exit(2);
}
)");

const std::string ServerDriver = DemoDriverHead + R"(
static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static pthread_cond_t changed = PTHREAD_COND_INITIALIZER;
static int printed, ended;

void demo_printed(void){ pthread_mutex_lock(&lock); printed++; pthread_mutex_unlock(&lock); }
void demo_ended(void){ pthread_mutex_lock(&lock); ended++; pthread_cond_signal(&changed); pthread_mutex_unlock(&lock); }

static void send_text(calc_proto_trans_t *trans, const char *text)
{
	tessaro_size_t sent;
	/* a few bytes into a new connection's empty buffer: no deadline, which a loaded machine
	 * could pass before the send and so leave the server's case untried */
	tessaro_socket_send_all(trans->socket, text, strlen(text), &sent, -1);
}

static void call_add(calc_proto_trans_t *trans, int count)
{
	calc_proto_packet_t pk;
	int i;
	for(i = 0; i < count; i++){
		memset(&pk, 0, sizeof(pk));
		pk.msg_type = CALC_PROTO_ADD;
		calc_set_attachment(&pk, "trailing bytes", 14);
		if(calc_proto_sendpacket(trans, &pk, 30) != 0)
			exit(3);
		if(calc_proto_readpacket(trans, &pk, 30) != 0 || pk.msg_type != CALC_PROTO_ADD_RESPONSE)
			exit(4);
		calc_free_proto_packet(&pk);
	}
}

int main(void)
{
	calc_proto_trans_t trans;
	struct linger abort_close = {1, 0};
	start_demo();
	connect_demo(&trans);
	tessaro_socket_close(trans.socket);

	connect_demo(&trans);
	send_text(&trans, "POST /test/soap HTTP/1.1\r\nContent-Le");
	setsockopt(trans.socket, SOL_SOCKET, SO_LINGER, (const char *)&abort_close, sizeof(abort_close));
	tessaro_socket_close(trans.socket);

	connect_demo(&trans);
	send_text(&trans, "no HTTP at all\r\n\r\n");
	tessaro_socket_close(trans.socket);

	connect_demo(&trans);
	call_add(&trans, 200);
	tessaro_socket_close(trans.socket);

	connect_demo(&trans);
	call_add(&trans, 1);
	/* the server's workers end the broken connections in their own time */
	pthread_mutex_lock(&lock);
	while(ended < 3)
		pthread_cond_wait(&changed, &lock);
	fprintf(stderr, "printed=%d ended=%d\n", printed, ended);
	pthread_mutex_unlock(&lock);
	exit(0);
}
)";

// The server keeps serving: a connection that closes, breaks or
// sends no HTTP ends (once, no spinning) and the next is served; a client
// may send request after request on one connection; every packet's
// attachment is freed (the leak checker watches natively).
TEST_F(DemoFileTest, ServerOutlivesBrokenConnections)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    load("calc.wsdl");
    std::string text = demo(programPlatform());
    const auto replace = [&text](const std::string& from, const std::string& to) {
        const std::string::size_type at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    };
    replace("int main(int argc, char ** argv)", "int demo_client_main(int argc, char ** argv)");
    replace("printf(\"read_packet stat is %d! %s\\n\", result, why);", "demo_ended();");
    replace("demo_print(\"server receives\", demo_kind_name(pk->msg_type), pk);", "demo_printed();");
    text = "void demo_printed(void);\nvoid demo_ended(void);\n" + text;
    const RunResult run = runDemo(text, "", {{"driver.c", ServerDriver}});
    EXPECT_EQ(run.status, 0) << run.output.substr(0, 2000);
    std::string messages = run.messages;
    messages.erase(std::remove(messages.begin(), messages.end(), '\r'), messages.end());
    EXPECT_EQ(messages, "printed=201 ended=3\n");
}

// Takes the place of the demo's client with requests the server cannot read
// right: each, on its own connection, gets the status that refuses it, with
// Connection: close, and the connection closes; a valid call follows. The
// requests end with their header block, so that the server's close leaves
// no unread bytes that could reset the connection before the answer is read.
const char* const RefusedRequests = R"(
static void expect_refusal(const char *request)
{
	calc_proto_trans_t trans;
	char answer[4096];
	tessaro_size_t have = 0, len;
	int result = 0;

	connect_demo(&trans);
	send_text(&trans, request);
	/* the server's close ends the read; the deadline only bounds a server that never closes */
	while(result == 0 && have + 1 < sizeof(answer)){
		len = sizeof(answer) - 1 - have;
		result = tessaro_socket_recv(trans.socket, answer + have, &len, 120 * TESSARO_USEC_PER_SEC);
		if(result == 0)
			have += len;
	}
	answer[have] = '\0';
	fprintf(stderr, "%.*s%s%s\n", (int)strcspn(answer, "\r\n"), answer,
		strstr(answer, "\r\nConnection: close\r\n") != NULL ? " +close" : "", result == TESSARO_END_OF_STREAM ? " closed" : " open");
	tessaro_socket_close(trans.socket);
}

int main(void)
{
	calc_proto_trans_t trans;

	start_demo();
	expect_refusal("POST\r\n\r\n");
	expect_refusal("POST /test/soap HTTP/99999999999999\r\nContent-Length: 0\r\n\r\n");
	expect_refusal("POST /test\x01soap HTTP/1.1\r\nContent-Length: 0\r\n\r\n");
	expect_refusal("POST /test/soap HTTP/1.1\r\nContent-Length: 0\r\nTransfer-Encoding: chunked\r\n\r\n");
	expect_refusal("POST /test/soap HTTP/1.1\r\nContent-Length: 0\r\nContent-Length: 1\r\n\r\n");
	expect_refusal("POST /test/soap HTTP/1.1\r\nTransfer-Encoding: xchunked\r\n\r\n");
	expect_refusal("POST /test/soap HTTP/1.1\r\nTransfer-Encoding: gzip, chunked\r\n\r\n");
	expect_refusal("POST /test/soap HTTP/1.1\r\n\r\n");
	connect_demo(&trans);
	call_add(&trans, 1);
	fprintf(stderr, "answered\n");
	exit(0);
}
)";

// The demo's server answers a request it cannot read right with the HTTP
// status that says why and closes the connection, then serves the next.
TEST_F(DemoFileTest, ServerRefusesMalformedRequests)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    load("calc.wsdl");
    std::string text = demo(programPlatform());
    const std::string::size_type at = text.find("int main(int argc, char ** argv)");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 4, "int demo_client_");
    std::string driver = ServerDriver;
    driver.replace(driver.find("int main(void)"), 14, "int outlive_main(void)");
    driver = "int outlive_main(void);\n" + driver + RefusedRequests;
    const RunResult run = runDemo(text, "", {{"driver.c", driver}});
    EXPECT_EQ(run.status, 0) << run.output.substr(0, 2000);
    std::string messages = run.messages;
    messages.erase(std::remove(messages.begin(), messages.end(), '\r'), messages.end());
    EXPECT_EQ(messages, "HTTP/1.1 400 Bad Request +close closed\n"
                        "HTTP/1.1 400 Bad Request +close closed\n"
                        "HTTP/1.1 400 Bad Request +close closed\n"
                        "HTTP/1.1 400 Bad Request +close closed\n"
                        "HTTP/1.1 400 Bad Request +close closed\n"
                        "HTTP/1.1 400 Bad Request +close closed\n"
                        "HTTP/1.1 501 Not Implemented +close closed\n"
                        "HTTP/1.1 411 Length Required +close closed\n"
                        "answered\n");
}

// Takes the place of the demo's client: with the idle limit a second, six
// idle connections come first, then a client whose request is answered while
// they wait (they hold no worker), and the idle ones are closed; with "keep" and a limit no loaded machine reaches,
// a client whose second request goes on the same connection and whose
// third asks to close it. No wait is timed: each step waits for what must
// come.
const std::string IdleDriver = DemoDriverHead + R"(

/* 1 when the request was answered with Add's response */
static int call_add(calc_proto_trans_t *trans, int close)
{
	calc_proto_packet_t pk;
	int answered;
	memset(&pk, 0, sizeof(pk));
	pk.msg_type = CALC_PROTO_ADD;
	if(close)
		calc_add_http_header(&pk, "Connection", "close");
	if(calc_proto_sendpacket(trans, &pk, 30) != 0)
		return 0;
	answered = calc_proto_readpacket(trans, &pk, 30) == 0 && pk.msg_type == CALC_PROTO_ADD_RESPONSE;
	calc_free_proto_packet(&pk);
	return answered;
}

/* whether the server closed the connection: its end arrives, with no byte before it */
static int closed_by_server(tessaro_socket_t sock)
{
	char byte;
	/* the packet reader left the socket non-blocking: the end is waited for */
	tessaro_socket_set_block(sock, 1);
	return recv(sock, &byte, 1, 0) == 0;
}

int main(int argc, char **argv)
{
	calc_proto_trans_t idle[6], trans;
	int i, closed = 0, first, second, third;
	start_demo();
	if(argc > 1){
		/* request after request on one connection, the last asking to close it */
		connect_demo(&trans);
		first = call_add(&trans, 0);
		second = call_add(&trans, 0);
		third = call_add(&trans, 1);
		fprintf(stderr, "answered %d %d %d, then closed %d\n", first, second, third, closed_by_server(trans.socket));
		tessaro_socket_close(trans.socket);
		exit(0);
	}
	for(i = 0; i < 6; i++)
		connect_demo(&idle[i]);
	connect_demo(&trans);
	fprintf(stderr, "answered %d\n", call_add(&trans, 0));
	tessaro_socket_close(trans.socket);
	for(i = 0; i < 6; i++){
		closed += closed_by_server(idle[i].socket);
		tessaro_socket_close(idle[i].socket);
	}
	fprintf(stderr, "idle connections closed by the server: %d\n", closed);
	exit(0);
}
)";

TEST_F(DemoFileTest, IdleConnectionsKeepNoClientWaiting)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    load("calc.wsdl");
    const struct {
        const char* idleSeconds;
        const char* arguments;
        const char* messages;
    } cases[] = {
        {"1", "", "answered 1\nidle connections closed by the server: 6\n"},
        {"600", "keep", "answered 1 1 1, then closed 1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::string text = demo(programPlatform());
        const std::string::size_type at = text.find("int main(int argc, char ** argv)");
        ASSERT_NE(at, std::string::npos);
        text.replace(at, 4, "int demo_client_");
        text = "#define DEMO_IDLE_SECONDS " + std::string(c.idleSeconds) + "\n" + text;
        const RunResult run = runDemo(text, c.arguments, {{"driver.c", IdleDriver}});
        EXPECT_EQ(run.status, 0) << run.output.substr(0, 2000);
        std::string messages = run.messages;
        messages.erase(std::remove(messages.begin(), messages.end(), '\r'), messages.end());
        EXPECT_EQ(messages, c.messages) << run.output.substr(0, 3000);
    }
}

} // namespace
