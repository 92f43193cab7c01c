// The generated demo program: its text for the two targets (golden/demo/),
// which message kinds the walk picks, and the demo of the build's target
// (Unix natively, Windows under Wine) built with the support library and
// run on loopback: the client's first request reaches the server thread and
// is printed.

#include "GeneratorTestSupport.h"
#include "generator/emit/DemoFile.h"

#include <algorithm>
#include <random>
#include <sstream>

using namespace gentest;

namespace {

const std::string GoldenFolder = KELVANE_SOURCE_DIR "/tests/generator/emit/golden/demo/";

class DemoFileTest : public GeneratorTest {
protected:
    // A document of golden/demo/ (calc: rpc operations Add and Sub; two:
    // port types A with Add and B with Add and Sub; unbound: A without a
    // binding; document: a header part, body elements addRequest and
    // addResponse, a part of a type, a port type without operations), or a
    // corpus entry point.
    void load(const std::string& location)
    {
        parseLocation(location.find('/') == std::string::npos ? GoldenFolder + location
                                                                : KELVANE_CORPUS_DIR "/wsdl/" + location);
        ASSERT_FALSE(parser_->hasError()) << diagnostics_.str();
        view_ = std::make_unique<CServiceView>(readServiceView(*parser_));
    }

    std::string demo(int platform)
    {
        emitHeader("calc", platform);
        CTextBuffer text;
        writeDemoFile(*context_, text);
        return text.text();
    }

    // The switches with their cases, then the send loop: message kinds,
    // pauses and empty lines ("|"), one word each.
    static std::string outline(const std::string& text)
    {
        std::string words;
        bool client = false;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            const std::string::size_type kind = line.find("CALC_PROTO_");
            const bool labelled = line.find("case ") != std::string::npos || line.find("pk.msg_type =") != std::string::npos;
            if (line.find("switch(") != std::string::npos)
                words += "switch ";
            else if (kind != std::string::npos && labelled)
                words += line.substr(kind + 11, line.find_first_of(":;", kind) - kind - 11) + " ";
            else if (client && line.find("tessaro_sleep(1);") != std::string::npos)
                words += "sleep ";
            else if (client && line == "\r")
                words += "| ";
            client = client || line.find("_connect_server(") != std::string::npos;
        }
        return words;
    }

    // Builds the demo of this build's target with the generated library and
    // the support library and runs it for a few seconds: natively alone on a
    // loopback of its own where the system allows one, in the Windows build
    // under Wine. Its standard output comes back. A driver (C text) given
    // takes the place of the demo's client: it is built in, natively under
    // the sanitizers, and the program runs until the driver ends it.
    RunResult runDemo(const std::string& demoText, const std::string& driver = std::string())
    {
        RunResult result;
        if (!canBuildPrograms())
            return result;
#ifdef _WIN32
        // Wine shares the host's loopback: another program may hold the
        // demo's port, so each try moves the demo to a port of its own.
        std::minstd_rand ports(static_cast<unsigned>(GetCurrentProcessId()));
        for (int attempt = 0; attempt < 4; ++attempt) {
            const std::string port = std::to_string(20000 + ports() % 40000);
            const std::string moved = withPort(demoText, port);
            EXPECT_NE(moved, demoText) << "the demo's port was not found";
            result = buildAndRunDemo(moved, withPort(driver, port));
            if (result.output.find(ListenError) == std::string::npos)
                break;
        }
#else
        result = buildAndRunDemo(demoText, driver);
#endif
        return result;
    }

    static constexpr const char* ListenError = "create tcp listen error";

    // The demo with its server and client on the port given.
    static std::string withPort(std::string text, const std::string& port)
    {
        for (const char* call : {"tcp_listen(&tcp_socket, ", "\"/test/soap\", "}) {
            const std::string from = std::string(call) + DemoPort;
            for (std::string::size_type at = text.find(from); at != std::string::npos; at = text.find(from, at))
                text.replace(at + from.size() - DemoPort.size(), DemoPort.size(), port);
        }
        return text;
    }

    static const std::string DemoPort;

    RunResult buildAndRunDemo(const std::string& demoText, const std::string& driver)
    {
        RunResult result;
        testsupport::ScopedWorkingFolder folder;
        testsupport::writeBytes("calc_api.h", headerText());
        testsupport::writeBytes("calc_api.c", emitSourceWithPrinters());
        testsupport::writeBytes("calc_api_demo.c", demoText);
        if (!driver.empty()) {
            testsupport::writeBytes("driver.c", driver);
            if (buildProgram("calc_api_demo.c calc_api.c driver.c", "demo", true, true) != 0) {
                result.messages = testsupport::readBytes("messages.txt");
                return result;
            }
            const bool isolated = std::system("unshare -rn ip link set lo up > /dev/null 2>&1") == 0;
            return runBuiltProgram("demo", std::string(isolated ? "unshare -rn sh -c 'ip link set lo up; exec \"$@\"' sh " : "") +
                                               "timeout 300");
        }
        // Unbuffered, so that what it printed survives the end of the run.
        testsupport::writeBytes("unbuffered.c", "#include <stdio.h>\n__attribute__((constructor)) static void "
                                                "unbuffered(void){ setvbuf(stdout, NULL, _IONBF, 0); }\n");
        if (buildProgram("calc_api_demo.c calc_api.c unbuffered.c", "demo", true, false) != 0) {
            result.messages = testsupport::readBytes("messages.txt");
            return result;
        }
#ifdef _WIN32
        // The demo serves forever: it ends once it has printed a packet.
        result.status = runWindowsProgramUntil("demo.exe", "output.txt", "msg_type:", 60) ? 0 : -1;
#else
        const bool isolated = std::system("unshare -rn ip link set lo up > /dev/null 2>&1") == 0;
        const std::string run = isolated ? "unshare -rn sh -c 'ip link set lo up; timeout 4 ./demo' > output.txt 2>&1"
                                         : "timeout 4 ./demo > output.txt 2>&1";
        result.status = std::system(run.c_str());
#endif
        result.output = testsupport::readBytes("output.txt");
        return result;
    }
};

const std::string DemoFileTest::DemoPort = "4321";

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

TEST_F(DemoFileTest, WalkPicksOneOperationPerPortType)
{
    const struct {
        std::string document;
        std::string outline;
    } cases[] = {
        // Only the first operation, Add, of the port type is written.
        {"calc.wsdl", "switch HTTP SOAP_FAULT ADD ADD_RESPONSE | ADD | sleep | ADD_RESPONSE | | "},
        // B's Add is listed already in both parts (the list is emptied
        // between them), so B's walk goes on to Sub.
        {"two.wsdl", "switch HTTP SOAP_FAULT ADD ADD_RESPONSE switch HTTP SOAP_FAULT SUB SUB_RESPONSE "
                     "| ADD | sleep | ADD_RESPONSE | | SUB | sleep | SUB_RESPONSE | | "},
        // No binding: the switch keeps its fixed cases and nothing is sent.
        {"unbound.wsdl", "switch HTTP SOAP_FAULT | "},
        // The header part and the part of a type are not sent; a port type
        // without operations adds nothing; the response block has no empty
        // line of its own.
        {"document.wsdl", "switch HTTP SOAP_FAULT ADDREQUEST ADDRESPONSE | ADDREQUEST | ADDRESPONSE | "},
    };
    for (const auto& c : cases) {
        load(c.document);
        EXPECT_EQ(outline(demo(CProjectRecord::Unix)), c.outline) << c.document;
    }
}

TEST_F(DemoFileTest, DemoServesItsOwnRequests)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const struct {
        std::string document;
        std::string received;
    } cases[] = {
        {"calc.wsdl", "CALC_PROTO_ADD="},
        {"document.wsdl", "CALC_PROTO_ADDREQUEST="},
        {"axis1/interop3/rpcEnc/InteropTestRpcEnc.wsdl", "CALC_PROTO_"},
        {"axis1/interop-mock/TerraService.wsdl", "CALC_PROTO_"},
        {"savon/blz_service.wsdl", "CALC_PROTO_"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        load(c.document);
        const RunResult run = runDemo(demo(programPlatform()));
        ASSERT_EQ(run.messages, "");
        EXPECT_NE(run.output.find("==================recv msg " + c.received), std::string::npos) << run.output.substr(0, 2000);
        EXPECT_NE(run.output.find("====================\nmsg_type:"), std::string::npos) << run.output.substr(0, 2000);
    }
}

// Takes the place of the demo's client: connections that close at once,
// break with a reset, or send what is no HTTP message, then 200 requests
// with bytes behind the envelope on one connection, then one more on a
// last connection. The demo tells it of every packet it printed and every
// connection it ended or could not accept.
const char* const ServerDriver = R"(
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>
#include "calc_api.h"
#include "tessaro_socket.h"
#include "tessaro_util.h"
#ifdef _WIN32
#include <winsock2.h>
unsigned int __stdcall server_thread_func( void * param );
#else
#include <sys/socket.h>
void* server_thread_func( void * param );
#endif

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static int printed, ended;

void demo_printed(void){ pthread_mutex_lock(&lock); printed++; pthread_mutex_unlock(&lock); }
void demo_ended(void){ pthread_mutex_lock(&lock); ended++; pthread_mutex_unlock(&lock); }

static void *serve(void *param)
{
	server_thread_func(param);
	return NULL;
}

static void connect_demo(calc_proto_trans_t *trans)
{
	int tries;
	memset(trans, 0, sizeof(*trans));
	/* until the server thread listens */
	for(tries = 0; calc_connect_server(trans, "127.0.0.1", "/test/soap", 4321) != 0; tries++){
		if(tries == 3000)
			exit(2);
		usleep(10000);
	}
}

static void send_text(calc_proto_trans_t *trans, const char *text)
{
	tessaro_size_t sent;
	tessaro_socket_send_all(trans->socket, text, strlen(text), &sent, TESSARO_USEC_PER_SEC);
}

static void send_requests(calc_proto_trans_t *trans, int count)
{
	calc_proto_packet_t pk;
	int i;
	for(i = 0; i < count; i++){
		memset(&pk, 0, sizeof(pk));
		pk.msg_type = CALC_PROTO_ADD;
		calc_set_attachment(&pk, "trailing bytes", 14);
		if(calc_proto_sendpacket(trans, &pk, 30) != 0)
			exit(3);
	}
}

int main(void)
{
	pthread_t thread;
	calc_proto_trans_t trans;
	struct linger abort_close = {1, 0};
	int tries, done = 0;

	pthread_create(&thread, NULL, serve, NULL);
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
	send_requests(&trans, 200);
	tessaro_socket_close(trans.socket);

	connect_demo(&trans);
	send_requests(&trans, 1);
	for(tries = 0; tries < 6000 && !done; tries++){
		pthread_mutex_lock(&lock);
		done = printed == 201;
		pthread_mutex_unlock(&lock);
		if(!done)
			usleep(10000);
	}
	pthread_mutex_lock(&lock);
	fprintf(stderr, "printed=%d ended=%d\n", printed, ended);
	pthread_mutex_unlock(&lock);
	exit(0);
}
)";

// The server thread keeps serving: a connection that closes, breaks or
// sends no HTTP ends (once, no spinning) and the next is accepted; every
// packet's attachment is freed (the leak checker watches natively).
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
    replace("printf(\"read_packet stat is %d!\\n\", result);", "demo_ended();");
    // A connection reset before the accept may end there (Windows does so).
    replace("printf(\"accept socket error\\n\");", "demo_ended();");
    replace("\t\t\tcalc_print_proto_packet_t(&pk);", "\t\t\tdemo_printed();");
    text = "void demo_printed(void);\nvoid demo_ended(void);\n" + text;
    const RunResult run = runDemo(text, ServerDriver);
    EXPECT_EQ(run.status, 0) << run.output.substr(0, 2000);
    std::string messages = run.messages;
    messages.erase(std::remove(messages.begin(), messages.end(), '\r'), messages.end());
    EXPECT_EQ(messages, "printed=201 ended=4\n");
}

} // namespace
