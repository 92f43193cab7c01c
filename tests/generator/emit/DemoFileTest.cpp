// The generated demo program: its text for the two targets (golden/demo/),
// which message kinds the walk picks, and the demo of the build's target
// (Unix natively, Windows under Wine) built with the support library and
// run on loopback: the client's first request reaches the server thread and
// is printed.

#include "GeneratorTestSupport.h"
#include "generator/emit/DemoFile.h"

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
    // under Wine. Its standard output comes back.
    RunResult runDemo(const std::string& demoText)
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
            result = buildAndRunDemo(moved);
            if (result.output.find(ListenError) == std::string::npos)
                break;
        }
#else
        result = buildAndRunDemo(demoText);
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

    RunResult buildAndRunDemo(const std::string& demoText)
    {
        RunResult result;
        testsupport::ScopedWorkingFolder folder;
        testsupport::writeBytes("calc_api.h", headerText());
        testsupport::writeBytes("calc_api.c", emitSourceWithPrinters());
        testsupport::writeBytes("calc_api_demo.c", demoText);
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

} // namespace
