// kvgen as a user meets it: each wrong argument named with the rule it
// broke, each document that cannot be had named with its cause (servers on
// the loopback that refuse, answer with an error, never answer or present a
// certificate no system trusts), a failed run that leaves nothing behind,
// and files changed since kvgen wrote them kept unless forced.
#include "support/LoopbackHttpServer.h"
#include "support/ScopedWorkingFolder.h"
#include "support/SelfSignedTlsServer.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using testsupport::LoopbackHttpServer;

const std::string Calculator = KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl";

struct KvgenRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs kvgen with arguments (already quoted for the shell) in the current folder.
KvgenRun kvgen(const std::string& arguments)
{
    const std::string command = "'" KVGEN_PROGRAM "' " + arguments + " >kvgen.out 2>kvgen.err";
    const int status = std::system(command.c_str());
    KvgenRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = testsupport::readBytes("kvgen.out");
    run.err = testsupport::readBytes("kvgen.err");
    fs::remove("kvgen.out");
    fs::remove("kvgen.err");
    return run;
}

// Every name in the folder, sub-folders included, sorted; empty for none.
std::string namesIn(const fs::path& folder)
{
    std::set<std::string> sorted;
    std::error_code ignored;
    for (fs::recursive_directory_iterator it(folder, ignored), end; it != end; it.increment(ignored))
        sorted.insert(it->path().lexically_relative(folder).generic_string());
    std::string names;
    for (const std::string& name : sorted)
        names += name + "\n";
    return names;
}

class KvgenTest : public ::testing::Test {
protected:
    testsupport::ScopedWorkingFolder folder_;
};

TEST_F(KvgenTest, EachWrongArgumentIsNamedWithItsRule)
{
    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"9calc " + Calculator, "kvgen: NAME '9calc': must start with a letter or '_'\n"},
        {"my-calc " + Calculator, "kvgen: NAME 'my-calc': may hold only letters, digits and '_' ('-' is not one of them)\n"},
        {"while " + Calculator, "kvgen: NAME 'while': is a C keyword\n"},
        {"Com1 " + Calculator, "kvgen: NAME 'Com1': is a device name on Windows\n"},
        {"calc", "kvgen: NAME and WSDL are needed\n"},
        {"calc " + Calculator + " more", "kvgen: more: one argument too many (NAME and WSDL are needed)\n"},
        {"--list", "kvgen: --list needs one WSDL\n"},
        {"--list calc " + Calculator, "kvgen: " + Calculator + ": one argument too many (--list needs one WSDL)\n"},
        {"--target solaris calc " + Calculator, "kvgen: --target solaris: must be unix or windows\n"},
        {"--auth ntlm calc " + Calculator, "kvgen: --auth ntlm: must be none, basic or digest\n"},
        {"--auth=Basic calc " + Calculator, "kvgen: --auth Basic: must be none, basic or digest\n"},
        {"--timeout -1 calc " + Calculator, "kvgen: --timeout -1: must be a whole number of seconds, 0 or more\n"},
        {"--timeout 1.5 calc " + Calculator, "kvgen: --timeout 1.5: must be a whole number of seconds, 0 or more\n"},
        {"calc " + Calculator + " --out", "kvgen: --out: needs a folder\n"},
        {"--text-length 0 calc " + Calculator, "kvgen: --text-length 0: must be a whole number of bytes, 1 or more\n"},
        {"--text-length 2k calc " + Calculator, "kvgen: --text-length 2k: must be a whole number of bytes, 1 or more\n"},
        {"--colour calc " + Calculator, "kvgen: --colour: unknown option\n"},
        // The forms GNU getopt_long takes, and what it refuses.
        {"--target=solaris calc " + Calculator, "kvgen: --target solaris: must be unix or windows\n"},
        {"--tim=1.5 calc " + Calculator, "kvgen: --timeout 1.5: must be a whole number of seconds, 0 or more\n"},
        {"--t=windows calc " + Calculator, "kvgen: --t: ambiguous option (could be --timeout --text-length --target)\n"},
        {"--force=yes calc " + Calculator, "kvgen: --force: takes no value\n"},
        {"--out= calc " + Calculator, "kvgen: --out: needs a folder\n"},
        {"--catalog= calc " + Calculator, "kvgen: --catalog: needs a file\n"},
        {"-x calc " + Calculator, "kvgen: -x: unknown option\n"},
        {"-qz calc " + Calculator, "kvgen: -z: unknown option\n"},
        {"-- -calc " + Calculator, "kvgen: NAME '-calc': may hold only letters, digits and '_' ('-' is not one of them)\n"},
        {"-- calc " + Calculator + " --force", "kvgen: --force: one argument too many (NAME and WSDL are needed)\n"},
        {"- " + Calculator, "kvgen: NAME '-': may hold only letters, digits and '_' ('-' is not one of them)\n"},
        // Names no file system or C compiler takes, shown whole character by character.
        {std::string(300, 'a') + " " + Calculator,
         "kvgen: NAME '" + std::string(40, 'a') + "...': is 300 characters long; file names hold 255 and "
         "NAME_api_demo.c adds 11, so 244 at most\n"},
        {"caf\xC3\xA9 " + Calculator,
         "kvgen: NAME 'caf\xC3\xA9': may hold only ASCII letters, digits and '_', since it names C functions and "
         "types ('\xC3\xA9' is not one of them)\n"},
        {"\xE6\x97\xA5\xE6\x9C\xAC " + Calculator,
         "kvgen: NAME '\xE6\x97\xA5\xE6\x9C\xAC': may hold only ASCII letters, digits and '_', since it names C "
         "functions and types ('\xE6\x97\xA5' is not one of them)\n"},
        {"a\xFF " + Calculator,
         "kvgen: NAME 'a\xFF': may hold only ASCII letters, digits and '_', since it names C functions and types "
         "('\\xFF' is not one of them)\n"},
        {std::string(39, 'a') + "\xC3\xA9" "bbbbb " + Calculator,
         "kvgen: NAME '" + std::string(39, 'a') + "...': may hold only ASCII letters, digits and '_', since it names C "
         "functions and types ('\xC3\xA9' is not one of them)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const KvgenRun run = kvgen(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, c.message + "Try kvgen --help.\n");
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(namesIn("."), "");
}

TEST_F(KvgenTest, VersionHelpAndListingWriteNothing)
{
    const KvgenRun version = kvgen("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.compare(0, 15, "kvgen (Kelvane)"), 0) << version.out;
    const KvgenRun help = kvgen("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.compare(0, 12, "usage: kvgen"), 0) << help.out;
    const KvgenRun list = kvgen("--list " + Calculator);
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, "service CalculatorService\n"
                        "  port CalculatorPort  binding CalculatorSoap  SOAP 1.1  address http://127.0.0.1:4321/calculator\n"
                        "    operation Add  style document  action \"urn:kelvane:calculator#Add\"\n"
                        "    operation Greet  style document  action \"urn:kelvane:calculator#Greet\"\n");
    EXPECT_EQ(list.err, "");
    EXPECT_EQ(namesIn("."), "");
}

// Each form of the options writes the same project and says what it wrote
// and what to do next; -q says nothing, -v names the files left alone.
TEST_F(KvgenTest, EachFormOfTheOptionsIsTakenAsGnuGetoptLongTakesIt)
{
    fs::copy_file(Calculator, "calculator.wsdl");
    const std::string wrote = "wrote project/CMakeLists.txt\nwrote project/Make.rules\nwrote project/Makefile\n"
                              "wrote project/calc.zbq\nwrote project/calc_api.c\nwrote project/calc_api.h\n"
                              "wrote project/calc_api_demo.c\nwrote project/calc_server.c\n"
                              "wrote project/lib/include/tessaro_digest_challenge.h\nwrote project/lib/include/tessaro_hash.h\nwrote project/lib/include/tessaro_pem.h\nwrote project/lib/include/tessaro_server.h\n"
                              "wrote project/lib/include/tessaro_server_ring.h\nwrote project/lib/include/tessaro_socket.h\n"
                              "wrote project/lib/include/tessaro_socket_sink.h\n"
                              "wrote project/lib/include/tessaro_tls.h\nwrote project/lib/include/tessaro_type.h\n"
                              "wrote project/lib/include/tessaro_util.h\nwrote project/lib/include/tessaro_wsse.h\n"
                              "wrote project/lib/include/tessaro_wsse_crypto.h\nwrote project/lib/include/tessaro_wsse_xml.h\n"
                              "wrote project/lib/src/tessaro_digest_challenge.c\nwrote project/lib/src/tessaro_hash.c\nwrote project/lib/src/tessaro_pem.c\nwrote project/lib/src/tessaro_server.c\n"
                              "wrote project/lib/src/tessaro_server_ring.c\nwrote project/lib/src/tessaro_socket.c\n"
                              "wrote project/lib/src/tessaro_tls_openssl.c\nwrote project/lib/src/tessaro_tls_schannel.c\n"
                              "wrote project/lib/src/tessaro_util.c\nwrote project/lib/src/tessaro_wsse_replay.c\n"
                              "wrote project/lib/src/tessaro_wsse_rsa_bcrypt.c\n"
                              "wrote project/lib/src/tessaro_wsse_rsa_openssl.c\nwrote project/lib/src/tessaro_wsse_secure.c\n"
                              "wrote project/lib/src/tessaro_wsse_token.c\n"
                              "wrote project/lib/src/tessaro_wsse_verify.c\nwrote project/lib/src/tessaro_wsse_xml.c\n";
    const std::string progress = "Start Generating...\nSuccessfully Generated!\nStart Generating Makefile...\n"
                                 "project/Makefile Successfully be Generated.\n";
    struct Case {
        std::string arguments;
        std::string out;
    };
    const Case cases[] = {
        {"--out=project calc calculator.wsdl", progress + wrote + "next: cd project && make\n"},
        {"--out project calc calculator.wsdl", progress + wrote + "next: cd project && make\n"},
        {"--ou=project --text-len=128 --time=5 --tar=unix calc calculator.wsdl",
         progress + wrote + "next: cd project && make\n"},
        {"calc calculator.wsdl --out project/", progress + wrote + "next: cd project && make\n"},
        {"--out=project -- calc - <calculator.wsdl", progress + wrote + "next: cd project && make\n"},
        {"-q --out=project calc calculator.wsdl", ""},
        {"--quiet --out=project calc calculator.wsdl", ""},
        {"--out=project --target=windows calc calculator.wsdl",
         progress + wrote + "next: cd project && make CC=x86_64-w64-mingw32-gcc\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        fs::remove_all("project");
        const KvgenRun run = kvgen(c.arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        std::string out = run.out;
        // The Windows project carries libxml2 as well: its files are listed too.
        for (std::size_t at; (at = out.find("wrote project/libxml2/")) != std::string::npos;)
            out.erase(at, out.find('\n', at) + 1 - at);
        EXPECT_EQ(out, c.out);
        EXPECT_EQ(run.err, "");
        EXPECT_TRUE(fs::exists("project/calc_api.h"));
    }
    // Once more: nothing new to write; verbose names what was left alone.
    ASSERT_EQ(kvgen("-q --out=project calc calculator.wsdl").status, 0);
    const KvgenRun again = kvgen("-v --out=project calc calculator.wsdl");
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("unchanged project/calc_api.h\n"), std::string::npos) << again.out;
    EXPECT_EQ(again.out.find("wrote project/calc_api.h\n"), std::string::npos) << again.out;
    const KvgenRun here = kvgen("-- calc calculator.wsdl");
    EXPECT_EQ(here.status, 0) << here.err;
    EXPECT_NE(here.out.find("wrote calc_api.h\nwrote calc_api_demo.c\n"), std::string::npos) << here.out;
    EXPECT_EQ(here.out.substr(here.out.size() - 11), "next: make\n");
    // A document read from the standard input is named "-" in messages.
    testsupport::writeBytes("bad.wsdl", "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\"><oops></definitions>");
    const KvgenRun piped = kvgen("--out=piped calc - <bad.wsdl");
    EXPECT_EQ(piped.status, 1);
    EXPECT_EQ(piped.err.rfind("-:1:", 0), 0u) << piped.err;
    EXPECT_FALSE(fs::exists("piped"));
}

// Folders a failed run made are gone with it, however deep; a folder that
// cannot be made is named with the system's cause.
TEST_F(KvgenTest, AFailedRunLeavesNoFolderItMade)
{
    testsupport::writeBytes("bad.wsdl", "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\"><oops></definitions>");
    testsupport::writeBytes("file.txt", "");
    struct Case {
        std::string arguments;
        std::string err; // its start
    };
    const Case cases[] = {
        {"--out a/b calc bad.wsdl", "bad.wsdl:1:"},
        {"--out a/b/c/ calc bad.wsdl", "bad.wsdl:1:"},
        {"--out=a/b calc nowhere.wsdl", "nowhere.wsdl: Wsdl Parser Exception : nowhere.wsdl could not be opened: file not found"},
        {"--out file.txt/b calc " + Calculator, "kvgen: cannot create the folder file.txt/b: Not a directory\n"},
        {"--out file.txt calc " + Calculator, "kvgen: cannot write into file.txt: Not a directory\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const KvgenRun run = kvgen(c.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err.compare(0, c.err.size(), c.err), 0) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(namesIn("."), "bad.wsdl\nfile.txt\n");
    }
}

// A document's SOAP 1.2 port is listed with its operations beside its SOAP
// 1.1 one; a document from which no operation can be generated fails the
// run with its reason, says nothing of success and leaves nothing behind.
TEST_F(KvgenTest, Soap12PortsAreListedAndADocumentWithoutOperationsFails)
{
    const std::string head =
        "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\" xmlns:tns=\"urn:t\" targetNamespace=\"urn:t\" "
        "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\" "
        "xmlns:soap12=\"http://schemas.xmlsoap.org/wsdl/soap12/\" xmlns:http=\"http://schemas.xmlsoap.org/wsdl/http/\">"
        "<message name=\"M\"><part name=\"x\" type=\"xsd:int\"/></message><portType name=\"P\"><operation name=\"Op\">"
        "<input message=\"tns:M\"/><output message=\"tns:M\"/></operation></portType>";
    const auto binding = [](const std::string& name, const std::string& prefix) {
        return "<binding name=\"" + name + "\" type=\"tns:P\"><" + prefix + ":binding style=\"rpc\"/><operation name=\"Op\"><" +
            prefix + ":operation soapAction=\"urn:" + name + "\"/><input><" + prefix + ":body use=\"literal\" namespace=\"urn:t\"/>" +
            "</input><output><" + prefix + ":body use=\"literal\" namespace=\"urn:t\"/></output></operation></binding>";
    };
    testsupport::writeBytes("mixed.wsdl", head + binding("B11", "soap") + binding("B12", "soap12") +
                                              "<service name=\"S\"><port name=\"P11\" binding=\"tns:B11\"><soap:address "
                                              "location=\"http://h/11\"/></port><port name=\"P12\" binding=\"tns:B12\">"
                                              "<soap12:address location=\"http://h/12\"/></port></service></definitions>");
    const KvgenRun list = kvgen("--list mixed.wsdl");
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, "service S\n"
                        "  port P11  binding B11  SOAP 1.1  address http://h/11\n"
                        "    operation Op  style rpc  action \"urn:B11\"\n"
                        "  port P12  binding B12  SOAP 1.2  address http://h/12\n"
                        "    operation Op  style rpc  action \"urn:B12\"\n");

    testsupport::writeBytes("none.wsdl", head + "</definitions>");
    testsupport::writeBytes("http.wsdl", head + "<binding name=\"H\" type=\"tns:P\"><http:binding verb=\"POST\"/>"
                                              "<operation name=\"Op\"><http:operation location=\"/op\"/></operation>"
                                              "</binding></definitions>");
    for (const char* document : {"none.wsdl", "http.wsdl"}) {
        SCOPED_TRACE(document);
        const KvgenRun run = kvgen(std::string("--out project calc ") + document);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(std::string(document) + ": no operation to generate: no operation of the document is "
                                                       "bound by a SOAP 1.1 or SOAP 1.2 binding\n"),
                  std::string::npos)
            << run.err;
        EXPECT_EQ(run.err.find("Successfully Generated!"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(fs::exists("project"));
    }
}

// The tokens a binding's WS-SecurityPolicy asks for are named by --list and in the header's comment,
// so that the user knows which settings to turn on; a service without one says nothing of it. The
// corpus service imports its schemas by address: a catalog sends them to the corpus's copies.
TEST_F(KvgenTest, TheTokensASecurityPolicyAsksForAreNamed)
{
    const std::string corpus = std::string(KELVANE_CORPUS_DIR) + "/wsdl/";
    std::istringstream urls(testsupport::readBytes(corpus + "URLMAP.tsv"));
    std::string catalog = "<catalog xmlns=\"urn:oasis:names:tc:entity:xmlns:xml:catalog\">";
    for (std::string line; std::getline(urls, line);) {
        const std::size_t tab = line.find('\t');
        if (line.find("team_software") != std::string::npos && tab != std::string::npos)
            catalog += "<uri name=\"" + line.substr(0, tab) + "\" uri=\"file://" + fs::absolute(corpus).generic_string() +
                       line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1) + "\"/>";
    }
    testsupport::writeBytes("copies.xml", catalog + "</catalog>");
    const std::string document = " --catalog=copies.xml " + corpus + "savon/team_software/team_software.wsdl";
    const KvgenRun list = kvgen("--list" + document);
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("address https://winteamservicestest.myteamsoftware.com/Services.svc\n"
                            "    security policy: TransportBinding HttpsToken\n    operation Login"),
              std::string::npos)
        << list.out;
    ASSERT_EQ(kvgen("-q --out=project team" + document).status, 0);
    EXPECT_NE(testsupport::readBytes("project/team_api.h")
                  .find("//the WS-SecurityPolicy of binding BasicHttpBinding_IWinTeamServiceManager asks for: TransportBinding HttpsToken"),
              std::string::npos);
    EXPECT_EQ(kvgen("--list " + Calculator).out.find("security policy"), std::string::npos);
}

// Imports from well-known addresses are read from kvgen's own copies, and
// a user's catalog (named by --catalog or XML_CATALOG_FILES) sends others
// to local files: no run here reaches a network.
TEST_F(KvgenTest, CatalogsSendImportsToLocalCopies)
{
    const std::string encoding = "<xsd:import namespace=\"http://schemas.xmlsoap.org/soap/encoding/\" "
                                 "schemaLocation=\"http://schemas.xmlsoap.org/soap/encoding/\"/>";
    const std::string extra = "<xsd:import namespace=\"urn:kelvane:extra\" "
                              "schemaLocation=\"http://example.invalid/extra.xsd\"/>";
    const std::string open = "elementFormDefault=\"qualified\">";
    std::string importing = testsupport::readBytes(Calculator);
    importing.insert(importing.find(open) + open.size(), encoding);
    testsupport::writeBytes("encoding.wsdl", importing);
    importing.insert(importing.find(open) + open.size(), extra);
    testsupport::writeBytes("both.wsdl", importing);
    fs::create_directory("copies");
    testsupport::writeBytes("copies/extra.xsd", "<xsd:schema xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
                                                "targetNamespace=\"urn:kelvane:extra\"><xsd:element name=\"x\" "
                                                "type=\"xsd:int\"/></xsd:schema>");
    testsupport::writeBytes("mine.xml", "<catalog xmlns=\"urn:oasis:names:tc:entity:xmlns:xml:catalog\">"
                                        "<rewriteURI uriStartString=\"http://example.invalid/\" "
                                        "rewritePrefix=\"copies/\"/></catalog>");
    struct Case {
        std::string arguments;
        std::string environment; // XML_CATALOG_FILES
        int status;
        std::string err;         // its start
    };
    const Case cases[] = {
        {"-q calc encoding.wsdl", "", 0, ""},
        {"-v calc encoding.wsdl", "", 0, "catalog: http://schemas.xmlsoap.org/soap/encoding/ -> "},
        {"-q --catalog=mine.xml calc both.wsdl", "", 0, ""},
        {"-q --catalog mine.xml calc both.wsdl", "", 0, ""},
        {"-q calc both.wsdl", "none.xml mine.xml", 0, "kvgen: warning: catalog none.xml: file not found\n"},
        {"calc both.wsdl", "", 1, "fetching http://example.invalid/extra.xsd\n"},
        {"-q --catalog=none.xml calc both.wsdl", "", 1, "kvgen: catalog none.xml: file not found\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments + " with XML_CATALOG_FILES=" + c.environment);
        setenv("XML_CATALOG_FILES", c.environment.c_str(), 1);
        const KvgenRun run = kvgen("--out=project " + c.arguments);
        unsetenv("XML_CATALOG_FILES");
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_EQ(run.err.compare(0, c.err.size(), c.err), 0) << run.err;
        if (c.status == 0) {
            EXPECT_NE(testsupport::readBytes("project/calc_api.h").find("\tchar\t*name;"), std::string::npos);
        }
        fs::remove_all("project");
    }
}

// What kvgen says when the document cannot be had, and that a failed run
// leaves neither the project folder nor a downloaded file behind.
TEST_F(KvgenTest, AFailedFetchNamesTheDocumentAndItsCause)
{
    LoopbackHttpServer server;
    LoopbackHttpServer::Reply missing{404, "<html>gone</html>"};
    missing.reason = "Not Found";
    server.serve("/missing.wsdl", missing);
    LoopbackHttpServer::Reply silent;
    silent.hang = true;
    server.serve("/silent.wsdl", silent);
    testsupport::SelfSignedTlsServer tls;
    fs::create_directory("folder.wsdl");

    struct Case {
        const char* name;
        std::string location;
        std::string cause;
        bool fetched;
        int timeout = 60;   // only the silent server is meant to run out of time, never a slow machine
    };
    const Case cases[] = {
        {"no such file", "nowhere.wsdl", "file not found", false},
        {"a folder", "folder.wsdl", "is a folder", false},
        {"a refused connection", "http://127.0.0.1:" + std::to_string(server.closedPort()) + "/a.wsdl",
         "connection refused", true},
        {"HTTP 404", server.url("/missing.wsdl"), "HTTP 404 Not Found", true},
        {"a server that never answers", server.url("/silent.wsdl"), "time-out after 1 s", true, 1},
        {"an untrusted certificate", tls.url("/a.wsdl"), "TLS failure: ", true},
        {"an unknown host", "http://no-such-host.invalid/a.wsdl", "host not found", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const KvgenRun run =
            kvgen("--timeout " + std::to_string(c.timeout) + " --out project calc '" + c.location + "'");
        EXPECT_EQ(run.status, 1);
        const std::string fetching = c.fetched ? "fetching " + c.location + "\n" : "";
        const std::string failure = c.location + ": Wsdl Parser Exception : " + c.location + " could not be opened: " + c.cause;
        EXPECT_EQ(run.err.compare(0, fetching.size() + failure.size(), fetching + failure), 0) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(namesIn("."), "folder.wsdl\n");
    }
}

class KvgenProjectTest : public KvgenTest {
protected:
    KvgenRun generate(const std::string& options = std::string())
    {
        return kvgen(options + " --out project calc '" + Calculator + "'");
    }
};

// The whole project folder, complete for make.
TEST_F(KvgenProjectTest, AProjectFolderHoldsWhatItsMakefileNeeds)
{
    const KvgenRun run = generate();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("Start Generating...\nSuccessfully Generated!\nStart Generating Makefile...\n"
                            "project/Makefile Successfully be Generated.\nwrote project/CMakeLists.txt\n", 0),
              0u) << run.out;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(namesIn("project"),
              ".kvgen\nCMakeLists.txt\nMake.rules\nMakefile\ncalc.zbq\ncalc_api.c\ncalc_api.h\ncalc_api_demo.c\ncalc_server.c\nlib\n"
              "lib/bin\nlib/bin/redhat\nlib/include\nlib/include/tessaro_digest_challenge.h\nlib/include/tessaro_hash.h\nlib/include/tessaro_pem.h\nlib/include/tessaro_server.h\nlib/include/tessaro_server_ring.h\nlib/include/tessaro_socket.h\n"
              "lib/include/tessaro_socket_sink.h\n"
              "lib/include/tessaro_tls.h\nlib/include/tessaro_type.h\nlib/include/tessaro_util.h\n"
              "lib/include/tessaro_wsse.h\nlib/include/tessaro_wsse_crypto.h\nlib/include/tessaro_wsse_xml.h\nlib/src\n"
              "lib/src/tessaro_digest_challenge.c\nlib/src/tessaro_hash.c\nlib/src/tessaro_pem.c\nlib/src/tessaro_server.c\nlib/src/tessaro_server_ring.c\nlib/src/tessaro_socket.c\nlib/src/tessaro_tls_openssl.c\nlib/src/tessaro_tls_schannel.c\n"
              "lib/src/tessaro_util.c\nlib/src/tessaro_wsse_replay.c\nlib/src/tessaro_wsse_rsa_bcrypt.c\nlib/src/tessaro_wsse_rsa_openssl.c\n"
              "lib/src/tessaro_wsse_secure.c\nlib/src/tessaro_wsse_token.c\nlib/src/tessaro_wsse_verify.c\nlib/src/tessaro_wsse_xml.c\n");
}

// --text-length: the room of a text the schema gives no length.
TEST_F(KvgenProjectTest, TextLengthIsTheRoomOfTextsWithoutAFacet)
{
    ASSERT_EQ(generate("--text-length 300").status, 0);
    const std::string header = testsupport::readBytes("project/calc_api.h");
    EXPECT_NE(header.find("//the default string length is 300,you can modify it as your requirement.\r\n#define CALC_MAX_NAME_LEN\t300\r\n"),
              std::string::npos)
        << header.substr(0, 2000);
}

TEST_F(KvgenProjectTest, AFileChangedSinceKvgenWroteItIsKeptUnlessForced)
{
    ASSERT_EQ(generate().status, 0);
    const std::string header = testsupport::readBytes("project/calc_api.h");
    // Unchanged files are replaced without a word.
    EXPECT_EQ(generate().status, 0);

    struct Case {
        const char* name;
        const char* file;
        std::string kept;
        bool sameSize; // the edit overwrites the file's last bytes instead of adding some
    };
    const Case cases[] = {
        {"a generated source the user edited", "project/calc_api.c", "changed since kvgen wrote it", false},
        {"a library file the user edited", "project/lib/src/tessaro_util.c", "changed since kvgen wrote it", false},
        {"a generated source edited to its own size", "project/calc_api_demo.c", "changed since kvgen wrote it",
         true},
    };
    const std::string mine = "/* mine */\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string edited = testsupport::readBytes(c.file);
        if (c.sameSize)
            edited.replace(edited.size() - mine.size(), mine.size(), mine);
        else
            edited += mine;
        testsupport::writeBytes(c.file, edited);
        // A file of the run that nobody edited, but that differs from what the run writes.
        fs::remove("project/Makefile");
        // Twice: a kept file stays the user's in the next run too.
        for (int run = 0; run < 2; ++run) {
            const KvgenRun kept = generate();
            EXPECT_EQ(kept.status, 0) << kept.err;
            EXPECT_EQ(kept.err, std::string("kvgen: ") + c.file + ": " + c.kept + "; not replaced (--force replaces it)\n");
            EXPECT_EQ(kept.out.find(std::string("wrote ") + c.file), std::string::npos) << kept.out;
            EXPECT_EQ(kept.out.find("wrote project/Makefile\n") != std::string::npos, run == 0) << kept.out;
            // The edit stays; the others are written.
            EXPECT_EQ(testsupport::readBytes(c.file), edited);
            EXPECT_TRUE(fs::exists("project/Makefile"));
        }
        const KvgenRun forced = generate("--force");
        EXPECT_EQ(forced.status, 0) << forced.err;
        EXPECT_EQ(forced.err, "");
        EXPECT_NE(forced.out.find(std::string("wrote ") + c.file + "\n"), std::string::npos) << forced.out;
        EXPECT_EQ(testsupport::readBytes("project/calc_api.h"), header);
        EXPECT_EQ(testsupport::readBytes(c.file).find("/* mine */"), std::string::npos);
        // Once replaced, the file is kvgen's again.
        EXPECT_EQ(generate().err, "");
    }
    // A file of the same name that kvgen never wrote is the user's too.
    fs::remove("project/.kvgen");
    testsupport::writeBytes("project/Makefile", "all:\n");
    const KvgenRun foreign = generate();
    EXPECT_EQ(foreign.status, 0);
    EXPECT_EQ(foreign.err, "kvgen: project/Makefile: not written by kvgen; not replaced (--force replaces it)\n");
    EXPECT_EQ(testsupport::readBytes("project/Makefile"), "all:\n");
    // and stays so: the record does not take it as kvgen's.
    EXPECT_EQ(generate().err, foreign.err);
    EXPECT_EQ(testsupport::readBytes("project/Makefile"), "all:\n");
}

// A run that writes what the project holds already leaves those files as
// they are, so that make rebuilds nothing; a file with new bytes is replaced.
TEST_F(KvgenProjectTest, FilesHoldingTheRunsBytesAreLeftAlone)
{
    ASSERT_EQ(generate().status, 0);
    const char* const files[] = {"project/calc_api.c", "project/calc_api.h", "project/Makefile",
                                 "project/lib/src/tessaro_util.c"};
    const fs::file_time_type earlier = fs::last_write_time(files[0]) - std::chrono::hours(1);
    for (const char* file : files)
        fs::last_write_time(file, earlier);
    ASSERT_EQ(generate().status, 0);
    for (const char* file : files)
        EXPECT_TRUE(fs::last_write_time(file) == earlier) << file;
    ASSERT_EQ(generate("--text-length 300").status, 0);
    EXPECT_FALSE(fs::last_write_time("project/calc_api.h") == earlier);
    EXPECT_NE(testsupport::readBytes("project/calc_api.h").find("CALC_MAX_NAME_LEN\t300"), std::string::npos);
}

// The record an earlier kvgen wrote (FNV-1a over each byte, no version line)
// still tells the files as it wrote them from files edited since; the next
// run that writes records anew.
TEST_F(KvgenProjectTest, AnEarlierVersionsRecordStillTellsEditedFiles)
{
    ASSERT_EQ(generate().status, 0);
    std::string earlierRecord;
    for (const char* file : {"calc_api.c", "calc_api.h", "calc_api_demo.c"}) {
        std::uint64_t hash = 14695981039346656037ull;
        for (char c : testsupport::readBytes(std::string("project/") + file))
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        char digits[17];
        std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
        earlierRecord += std::string(digits) + " " + file + "\n";
    }
    testsupport::writeBytes("project/.kvgen", earlierRecord);
    const std::string demo = testsupport::readBytes("project/calc_api_demo.c");
    testsupport::writeBytes("project/calc_api_demo.c", demo + "/* mine */\n");
    // The header changes with the text length: as recorded, it is replaced.
    const KvgenRun kept = generate("--text-length 300");
    EXPECT_EQ(kept.status, 0);
    EXPECT_EQ(kept.err, "kvgen: project/calc_api_demo.c: changed since kvgen wrote it; not replaced (--force replaces "
                        "it)\n");
    EXPECT_NE(testsupport::readBytes("project/calc_api.h").find("CALC_MAX_NAME_LEN\t300"), std::string::npos);
    EXPECT_EQ(testsupport::readBytes("project/calc_api_demo.c"), demo + "/* mine */\n");
    testsupport::writeBytes("project/calc_api_demo.c", demo);
    const KvgenRun replaced = generate("--text-length 300");
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_NE(testsupport::readBytes("project/calc_api.h").find("CALC_MAX_NAME_LEN\t300"), std::string::npos);
    EXPECT_EQ(testsupport::readBytes("project/.kvgen").rfind("kvgen-record 2\n", 0), 0u);
    // The new record still tells an edit.
    testsupport::writeBytes("project/calc_api.c", "edited");
    EXPECT_NE(generate().err.find("project/calc_api.c: changed since kvgen wrote it"), std::string::npos);
}

// A document the reader rejects changes nothing in a project folder that
// holds an earlier run, and leaves no temporary folder.
TEST_F(KvgenProjectTest, AFailedRunLeavesTheProjectAsItWas)
{
    ASSERT_EQ(generate().status, 0);
    const std::string before = namesIn("project");
    const std::string source = testsupport::readBytes("project/calc_api.c");
    testsupport::writeBytes("bad.wsdl", "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\"><oops></definitions>");
    const KvgenRun run = kvgen("--out project calc bad.wsdl");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("bad.wsdl:1:"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(namesIn("project"), before);
    EXPECT_EQ(testsupport::readBytes("project/calc_api.c"), source);
}

} // namespace
