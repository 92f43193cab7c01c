// Why a call failed: for each way a call can fail, the code that says what
// kind of failure it was and the client's detail that names the cause; and
// a fault whose detail holds elements, sent by the generated server and read
// by the generated client as the same markup.

#include "GeneratorTestSupport.h"
#include "LoopbackServer.h"

#include <sstream>

using namespace gentest;

namespace {

// Each case: how the server answers the request, then the call. Greet's
// greeting is a fixed buffer of 16 bytes here.
const std::string FailureDriver = std::string("#include \"calc_api.c\"\n") + OneRequestServer + R"(
#define ENVELOPE(content) "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body>" content "</e:Body></e:Envelope>"
#define GREETING(text) ENVELOPE("<GreetResponse xmlns=\"urn:kelvane:calculator\"><greeting>" text "</greeting></GreetResponse>")

/* a status line of NULL: no server; "TLS": a server that speaks no TLS to an https client;
   "FAULT": the generated server's fault, with detail as its detail */
static const struct{ const char *status_line, *body; } answers[] = {
	{NULL, NULL},
	{"HTTP/1.1 500 Internal Server Error", "<html>oops</html>"},
	{"HTTP/1.1 200 OK", "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body><GreetResponse"},
	{"HTTP/1.1 200 OK", GREETING("a greeting of forty bytes, far too long")},
	{"TLS", NULL},
	{"HTTP/1.1 401 Unauthorized", ""},
	{"CLOSE", NULL},
	{"HTTP/1.1 200 OK", "<html>not SOAP</html>"},
	{"HTTP/1.1 200 OK", "not XML at all"},
	{"HTTP/1.1 200 OK", ENVELOPE("<other xmlns=\"urn:elsewhere\"/>")},
	{"FAULT", "<e:why xmlns:e=\"urn:e\">no <b>stock</b> &amp; more</e:why>"},
	{"FAULT", "a < b"},
	{"HTTP/1.1 200 OK", GREETING("hi")},
};
static size_t current;

static void *serve(void *arg)
{
	calc_proto_trans_t trans;
	calc_proto_packet_t *pk = (calc_proto_packet_t *)calloc(1, sizeof(*pk));
	const char *status_line = answers[current].status_line, *body = answers[current].body;
	char answer[1024];
	tessaro_size_t sent, got = sizeof(answer);
	(void)arg;
	memset(&trans, 0, sizeof(trans));
	trans.socket = accept(listener, NULL, NULL);
	if(strcmp(status_line, "TLS") == 0){
		/* the client's hello, answered in plain HTTP */
		tessaro_socket_recv(trans.socket, answer, &got, 30 * TESSARO_USEC_PER_SEC);
		strcpy(answer, "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
		tessaro_socket_send_all(trans.socket, answer, strlen(answer), &sent, 30 * TESSARO_USEC_PER_SEC);
	}else if(calc_proto_readpacket(&trans, pk, 30) == 0 && strcmp(status_line, "CLOSE") != 0){
		calc_free_proto_packet(pk);
		memset(pk, 0, sizeof(*pk));
		if(strcmp(status_line, "FAULT") == 0){
			pk->msg_type = CALC_PROTO_SOAP_FAULT;
			strcpy(pk->msg.soap_fault.faultcode, "soap:Server");
			strcpy(pk->msg.soap_fault.faultstring, "busy");
			pk->msg.soap_fault.detail = strdup(body);
			calc_proto_sendpacket(&trans, pk, 30);
		}else{
			send_answer(trans.socket, status_line, body);
		}
	}
	calc_free_proto_packet(pk);
	tessaro_socket_close(trans.socket);
	free(pk);
	return NULL;
}

int main(void)
{
	char endpoint[64], tls_endpoint[80];
	calc_client_t client;
	calc_GreetRequest_msg_t in;
	calc_GreetReply_msg_t out;
	calc_soap_fault_msg_t fault;
	int result;
	network_start();
	strcpy(in.Greet.name, "ann");
	for(current = 0; current < sizeof(answers) / sizeof(answers[0]); current++){
		strcpy(endpoint, "http://127.0.0.1:1/calc");
		if(answers[current].status_line != NULL && server_start("/calc", endpoint) != 0)
			return 2;
		if(answers[current].status_line != NULL && strcmp(answers[current].status_line, "TLS") == 0)
			sprintf(tls_endpoint, "https://%s", endpoint + strlen("http://"));
		else
			strcpy(tls_endpoint, endpoint);
		result = calc_client_init(&client, tls_endpoint);
		/* a detail left from a call before never stands for this one */
		strcpy(client.error_detail, "stale");
		if(result == 0)
			result = calc_Greet(&client, &in, &out, &fault);
		if(answers[current].status_line != NULL)
			server_finish();
		printf("%d|%s|%s|%s\n", result, calc_client_error_detail(&client), fault.detail != NULL ? fault.detail : "", out.GreetResponse.greeting);
		calc_free_Greet(&out);
		calc_free_fault(&fault);
	}
	printf("%s|%s\n", calc_client_error_detail(NULL), calc_strerror(CALC_ERR_DECODE));
	return 0;
}
)";

struct FailureRow {
    const char* label;
    int code;
    // Texts the client's detail holds, in order.
    std::vector<std::string> detail;
    const char* faultDetail;
    const char* greeting;
};

const FailureRow FailureRows[] = {
    {"refused connection", -2, {"connecting to 127.0.0.1:1: connection refused"}, "", ""},
    {"HTTP 500 without an envelope", -5, {"HTTP 500 Internal Server Error", "the body is no SOAP fault: ", "{}html"}, "", ""},
    {"XML cut short", -30, {"the answer from 127.0.0.1:", " does not decode: the SOAP message is no well-formed XML: line 1"}, "",
     ""},
    {"a text beyond its fixed buffer", -30, {"does not decode: ", ".greeting: \"a greeting of forty bytes, far too long\" (39 bytes) does not fit"}, "", ""},
    {"a server that speaks no TLS", -20, {"TLS with 127.0.0.1:", "handshake failed"}, "", ""},
    {"HTTP 401", -5, {"HTTP 401 Unauthorized"}, "", ""},
    {"closed without an answer", -4, {"reading the answer from 127.0.0.1:", "the server closed the connection, 0 bytes"}, "", ""},
    {"no envelope", -30, {"does not decode: the root element is no SOAP 1.1 Envelope: {}html"}, "", ""},
    {"no XML", -30, {"does not decode: the SOAP message is no well-formed XML: line 1, column 1: "}, "", ""},
    {"another element in the Body", -30, {"the Body holds no message of the service and no Fault, but {urn:elsewhere}other"}, "", ""},
    {"a fault whose detail holds elements", 1, {"SOAP fault soap:Server: busy"},
     "<e:why xmlns:e=\"urn:e\">no <b>stock</b> &amp; more</e:why>", ""},
    {"a fault whose detail is plain text", 1, {"SOAP fault soap:Server: busy"}, "a &lt; b", ""},
    {"the response", 0, {}, "", "hi"},
};

class CallFailureDetailTest : public GeneratorTest {};

TEST_F(CallFailureDetailTest, EachFailureHasItsCodeAndADetailThatNamesTheCause)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    viewLocation(KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl");
    project_.textLength = 16;
    const std::string header = emitHeader("calc", programPlatform());
    EXPECT_NE(header.find("#define CALC_ERR_DECODE\t(-30)"), std::string::npos);
    EXPECT_NE(header.find("_declspec(dllexport) const char * WINAPI calc_client_error_detail(const calc_client_t *client);"),
              std::string::npos);
    CTextBuffer source;
    writeSourceFile(*context_, source);
    const RunResult run = buildAndRunC(FailureDriver, {{"calc_api.h", header}, {"calc_api.c", source.text()}}, true);
    ASSERT_EQ(run.status, 0) << run.messages;
    std::istringstream lines(run.output);
    std::string line;
    for (const FailureRow& row : FailureRows) {
        ASSERT_TRUE(std::getline(lines, line)) << row.label << "\n" << run.output << run.messages;
        std::istringstream fields(line);
        std::string code, detail, faultDetail, greeting;
        std::getline(fields, code, '|');
        std::getline(fields, detail, '|');
        std::getline(fields, faultDetail, '|');
        std::getline(fields, greeting, '|');
        EXPECT_EQ(code, std::to_string(row.code)) << row.label << ": " << line;
        std::size_t at = 0;
        for (const std::string& text : row.detail) {
            at = detail.find(text, at);
            EXPECT_NE(at, std::string::npos) << row.label << ": " << text << " in " << detail;
        }
        if (row.detail.empty()) {
            EXPECT_EQ(detail, "") << row.label;
        }
        EXPECT_EQ(faultDetail, row.faultDetail) << row.label;
        EXPECT_EQ(greeting, row.greeting) << row.label;
    }
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line.substr(0, 44), "|the answer arrived but does not decode (no ");
}

} // namespace
