// WS-Addressing of the generated code: calls carry Action, MessageID, To and
// ReplyTo as the WSDL or the client's setting asks; the server reads them,
// answers with the response's Action and RelatesTo, and refuses what it
// cannot take with the standard faults; the client refuses an answer with a
// missing or wrong Action or RelatesTo. The WSDL's marks (UsingAddressing,
// a referenced policy, explicit and default Actions) reach the code.

#include "GeneratorTestSupport.h"
#include "LoopbackServer.h"

#include <algorithm>

using namespace gentest;

namespace {

const std::string AddressedWsdl = KELVANE_HOST_SOURCE_DIR "/tests/generator/emit/data/addressing/addressed.wsdl";

const char* const Service = R"C(
static tessaro_server_t *served_by;
static addr_service_t service;
static char endpoint11[64], endpoint12[64];

static int serve_add(addr_served_t *served, const addr_AddRequest_msg_t *in, addr_AddReply_msg_t *out, addr_soap_fault_msg_t *fault)
{
	(void)served; (void)fault;
	out->AddResponse.sum = in->Add.a + in->Add.b;
	return 0;
}

static int serve_greet(addr_served_t *served, const addr_GreetRequest_msg_t *in, addr_GreetReply_msg_t *out, addr_soap_fault_msg_t *fault)
{
	(void)served; (void)fault; (void)in;
	out->GreetResponse.greeting = strdup("hi");
	return 0;
}

/* what the server read of a request's headers (the MessageID's form, To's path) */
static int seen(addr_served_t *served, addr_soap_fault_msg_t *fault)
{
	const addr_wsa_t *wsa = &served->request->wsa;
	const char *path = strchr(wsa->to + (wsa->to[0] != '\0' ? 7 : 0), '/');
	(void)fault;
	printf("  seen %d %s %s %s %s\n", wsa->version, wsa->action,
		strncmp(wsa->message_id, "urn:uuid:", 9) == 0 && strlen(wsa->message_id) == 45 && wsa->message_id[23] == '4' ? "uuid" : wsa->message_id,
		path != NULL ? path : "-", wsa->reply_to);
	return 0;
}

static void start(void)
{
	tessaro_server_config_t config = {0};
	service.Add = serve_add;
	service.Greet = serve_greet;
	service.headers = seen;
	config.address = "127.0.0.1";
	if(addr_server_start(&served_by, &config, &service) != 0)
		exit(1);
	snprintf(endpoint11, sizeof(endpoint11), "http://127.0.0.1:%u/addressed", (unsigned int)tessaro_server_port(served_by));
	snprintf(endpoint12, sizeof(endpoint12), "http://127.0.0.1:%u/addressed12", (unsigned int)tessaro_server_port(served_by));
}

static void add(addr_client_t *client, int soap12, const char *what)
{
	addr_AddRequest_msg_t in = {.Add = {.a = 2, .b = 3}};
	addr_AddReply_msg_t out;
	addr_soap_fault_msg_t fault;
	int result = soap12 ? addr_Add_soap12(client, &in, &out, &fault) : addr_Add(client, &in, &out, &fault);
	printf("%s: %d %d %s%s%s\n", what, result, out.AddResponse.sum, result == ADDR_FAULT ? fault.faultcode : "",
		fault.subcode[0] != '\0' ? " " : "", fault.subcode);
	if(result < 0)
		printf("  %s\n", addr_client_error_detail(client));
	addr_free_fault(&fault);
}

static void calls(void)
{
	addr_client_t client11, client12;
	addr_GreetRequest_msg_t greet = {.Greet = {.name = "you"}};
	addr_GreetReply_msg_t greeting;
	start();
	addr_client_init(&client11, endpoint11);
	addr_client_init(&client12, endpoint12);
	add(&client11, 0, "Add 1.1");
	add(&client12, 1, "Add 1.2");
	printf("Greet 1.1: %d\n", addr_Greet(&client11, &greet, &greeting, NULL));
	addr_free_Greet(&greeting);
	printf("Greet 1.2: %d\n", addr_Greet_soap12(&client12, &greet, &greeting, NULL));
	addr_free_Greet(&greeting);
	client11.addressing = ADDR_WSA_2004;
	add(&client11, 0, "Add 2004");
	client11.addressing = ADDR_WSA_OFF;
	client12.addressing = ADDR_WSA_OFF;
	add(&client11, 0, "Add off 1.1");
	add(&client12, 1, "Add off 1.2");
	service.addressing = ADDR_WSA_OFF;
	add(&client11, 0, "Add off, served off");
	addr_client_close(&client11);
	addr_client_close(&client12);
	tessaro_server_free(served_by);
}

/* a raw request's answer: status, fault code and subcode, the answer's Action and RelatesTo, a SOAP 1.1 fault's string */
static void ask(int version, const char *headers, const char *action)
{
	static char request[16384], text[65536];
	char envelope[8192], value[1200];
	const char *names[] = {"<faultcode", "<SOAP-ENV:Value", "<wsa:Action", "<wsa:RelatesTo", "<faultstring"};
	tessaro_socket_t sock;
	tessaro_size_t have = 0, len, sent;
	const char *at;
	int i;
	snprintf(envelope, sizeof(envelope), "<?xml version=\"1.0\"?><e:Envelope xmlns:e=\"%s\"><e:Header>%s</e:Header><e:Body>"
		"<s:Add xmlns:s=\"http://example.org/addressed\"><s:a>2</s:a><s:b>3</s:b></s:Add></e:Body></e:Envelope>",
		version == 12 ? "http://www.w3.org/2003/05/soap-envelope" : "http://schemas.xmlsoap.org/soap/envelope/", headers);
	snprintf(request, sizeof(request), "POST /addressed HTTP/1.1\r\nHost: here\r\nContent-Type: %s\r\nSOAPAction: \"%s\"\r\nConnection: close\r\n"
		"Content-Length: %u\r\n\r\n%s", version == 12 ? "application/soap+xml" : "text/xml", action, (unsigned int)strlen(envelope), envelope);
	if(tessaro_create_tcp_socket(&sock) != 0 || tessaro_connect(sock, "127.0.0.1", tessaro_server_port(served_by)) != 0)
		exit(1);
	tessaro_socket_send_all(sock, request, strlen(request), &sent, 10 * TESSARO_USEC_PER_SEC);
	for(len = sizeof(text) - 1; tessaro_socket_recv(sock, text + have, &len, 60 * TESSARO_USEC_PER_SEC) == 0 && have + len + 1 < sizeof(text); len = sizeof(text) - 1 - have)
		have += len;
	tessaro_socket_close(sock);
	text[have] = '\0';
	printf("%.3s", text + 9);
	for(i = 0; i < 5; i++){
		value[0] = '\0';
		/* the last Value is a SOAP 1.2 fault's subcode */
		for(at = strstr(text, names[i]); at != NULL; at = strstr(at + 1, names[i]))
			snprintf(value, sizeof(value), "%.*s", (int)strcspn(strchr(at, '>') + 1, "<"), strchr(at, '>') + 1);
		printf(" %s", value[0] != '\0' ? value : "-");
	}
	printf("%s\n", strstr(text, "xmlns:wsa=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\"") != NULL ? " (2004)" : "");
}

#define WSA "xmlns:a=\"http://www.w3.org/2005/08/addressing\""
#define ACTION "<a:Action " WSA ">http://example.org/addressed/Add</a:Action>"
#define ID "<a:MessageID " WSA ">urn:m1</a:MessageID>"

static void raw(void)
{
	static char longer[1300];
	start();
	ask(11, ACTION ID, "");
	ask(12, ACTION ID, "");
	ask(11, "<a:Action " WSA "> http://example.org/addressed/Add\n</a:Action>" ID, "");
	ask(11, "<a:Action xmlns:a=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\">http://example.org/addressed/Add</a:Action>"
		"<a:MessageID xmlns:a=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\">urn:m2</a:MessageID>", "");
	ask(11, "", "");
	ask(12, "", "");
	ask(11, ID, "");
	ask(11, "<a:Action " WSA ">urn:other</a:Action>" ID, "");
	ask(12, "<a:Action " WSA ">urn:other</a:Action>" ID, "");
	ask(11, ACTION ACTION ID, "");
	ask(11, ACTION "<a:MessageID xmlns:a=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\">urn:m3</a:MessageID>", "");
	ask(11, ACTION ID "<a:ReplyTo " WSA "><a:Address>http://elsewhere/</a:Address></a:ReplyTo>", "");
	ask(11, ACTION ID "<a:ReplyTo " WSA "><a:Address>http://www.w3.org/2005/08/addressing/anonymous</a:Address></a:ReplyTo>", "");
	ask(11, ACTION ID "<a:FaultTo " WSA "/>", "");
	memset(longer, 'x', sizeof(longer) - 1);
	{
		char headers[1500];
		snprintf(headers, sizeof(headers), "<a:Action " WSA ">urn:%s</a:Action>", longer);
		ask(11, headers, "");
	}
	ask(11, "<a:Action " WSA " e:mustUnderstand=\"1\">http://example.org/addressed/Add</a:Action>" ID, "");
	tessaro_server_free(served_by);
}
)C";

// Answers the client's calls with canned envelopes, each mode's.
const char* const CannedAnswers = R"C(
static int mode;

static void *serve(void *arg)
{
	static const char *answers[] = {
		/* 'A': another Action */
		"<a:Action>urn:other</a:Action><a:RelatesTo>ID</a:RelatesTo>",
		/* 'N': no Action */
		"<a:RelatesTo>ID</a:RelatesTo>",
		/* 'R': related to another message */
		"<a:Action>http://example.org/addressed/AddAnswer</a:Action><a:RelatesTo>urn:other</a:RelatesTo>",
		/* 'M': no RelatesTo */
		"<a:Action>http://example.org/addressed/AddAnswer</a:Action>",
		/* 'G': good */
		"<a:Action>http://example.org/addressed/AddAnswer</a:Action><a:RelatesTo>ID</a:RelatesTo>"};
	static char buffer[65536], body[4096], headers[1024], related[1024];
	tessaro_size_t have, len;
	tessaro_socket_t sock;
	const char *id, *at;
	char *end;
	(void)arg;
	for(;;){
		sock = accept(listener, NULL, NULL);
		if(mode == 0){
			tessaro_socket_close(sock);
			break;
		}
		for(have = 0, len = sizeof(buffer) - 1; strstr(buffer, "</SOAP-ENV:Envelope>") == NULL &&
				tessaro_socket_recv(sock, buffer + have, &len, 30 * TESSARO_USEC_PER_SEC) == 0; len = sizeof(buffer) - 1 - have){
			have += len;
			buffer[have] = '\0';
		}
		id = strstr(buffer, "<wsa:MessageID>");
		id = id != NULL ? id + 15 : "";
		snprintf(headers, sizeof(headers), "%s", answers[strchr("ANRMG", mode) - "ANRMG"]);
		if((at = strstr(headers, ">ID<")) != NULL){
			end = strchr(id, '<');
			snprintf(related, sizeof(related), "%.*s%.*s%s", (int)(at + 1 - headers), headers, end != NULL ? (int)(end - id) : 0, id, at + 3);
			memcpy(headers, related, sizeof(headers));
		}
		snprintf(body, sizeof(body), "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
			"xmlns:a=\"http://www.w3.org/2005/08/addressing\"><SOAP-ENV:Header>%s</SOAP-ENV:Header><SOAP-ENV:Body>"
			"<s:AddResponse xmlns:s=\"http://example.org/addressed\"><s:sum>5</s:sum></s:AddResponse></SOAP-ENV:Body></SOAP-ENV:Envelope>", headers);
		send_answer(sock, "HTTP/1.1 200 OK", body);
		memset(buffer, 0, sizeof(buffer));
		tessaro_socket_close(sock);
	}
	return NULL;
}

static void answers(void)
{
	char endpoint[64];
	addr_client_t client;
	const char *modes = "ANRMG";
	if(server_start("/addressed", endpoint) != 0)
		exit(2);
	addr_client_init(&client, endpoint);
	for(; *modes != '\0'; modes++){
		mode = *modes;
		printf("%c ", mode);
		add(&client, 0, "answer");
	}
	mode = 0;
	{
		tessaro_socket_t sock;
		tessaro_create_tcp_socket(&sock);
		tessaro_connect(sock, "127.0.0.1", client.port);
		server_finish();
		tessaro_socket_close(sock);
	}
}

int main(int argc, char **argv)
{
	const char *which = argc > 1 ? argv[1] : "";
	setvbuf(stdout, NULL, _IONBF, 0);
	network_start();
	if(strcmp(which, "calls") == 0)
		calls();
	else if(strcmp(which, "raw") == 0)
		raw();
	else if(strcmp(which, "answers") == 0)
		answers();
	return 0;
}
)C";

class WsAddressingTest : public GeneratorTest {};

TEST_F(WsAddressingTest, TheWsdlsMarksGiveEachOperationItsActionsAndAddressing)
{
    viewLocation(AddressedWsdl);
    const struct {
        std::size_t portType;
        const char* operation;
        const char* input;
        const char* output;
    } cases[] = {{0, "Add", "http://example.org/addressed/Add", "http://example.org/addressed/AddAnswer"},
                 {0, "Greet", "http://example.org/addressed/Calculator/GreetRequest",
                  "http://example.org/addressed/Calculator/GreetResponse"},
                 {1, "Add", "http://example.org/addressed/Add", "http://example.org/addressed/AddAnswer"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.portType) + " " + c.operation);
        const CViewPortType& portType = view_->portTypes()[c.portType];
        const auto found = std::find_if(portType.operations.begin(), portType.operations.end(),
                                        [&](const CViewOperation& one) { return one.name == c.operation; });
        ASSERT_NE(found, portType.operations.end());
        EXPECT_TRUE(found->addressing);
        EXPECT_EQ(found->inputAction, c.input);
        EXPECT_EQ(found->outputAction, c.output);
    }
    // without a mark, no addressing; a URN namespace joins with ':'
    viewLocation(KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl");
    const CViewOperation& plain = view_->portTypes()[0].operations[0];
    EXPECT_FALSE(plain.addressing);
    EXPECT_EQ(plain.inputAction, "urn:kelvane:calculator#Add");
    EXPECT_EQ(plain.outputAction, "urn:kelvane:calculator:Calculator:AddResponse");
}

TEST_F(WsAddressingTest, CallsAndTheServerExchangeTheHeadersAndRefuseWhatIsWrong)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    viewLocation(AddressedWsdl);
    testsupport::ScopedWorkingFolder folder;
    for (const auto& [name, text] : emitLibrary("addr"))
        testsupport::writeBytes(name, text);
    testsupport::writeBytes("main.c", std::string("#include \"addr_api.c\"\n") + OneRequestServer + Service + CannedAnswers);
    ASSERT_EQ(buildProgram("main.c", "program", true, true), 0) << testsupport::readBytes("messages.txt");
    const struct {
        const char* mode;
        const char* output;
    } cases[] = {
        {"calls",
             "  seen 1 http://example.org/addressed/Add uuid /addressed http://www.w3.org/2005/08/addressing/anonymous\n"
             "Add 1.1: 0 5 \n"
             "  seen 1 http://example.org/addressed/Add uuid /addressed12 http://www.w3.org/2005/08/addressing/anonymous\n"
             "Add 1.2: 0 5 \n"
             "  seen 1 http://example.org/addressed/Calculator/GreetRequest uuid /addressed http://www.w3.org/2005/08/addressing/anonymous\n"
             "Greet 1.1: 0\n"
             "  seen 1 http://example.org/addressed/Calculator/GreetRequest uuid /addressed12 http://www.w3.org/2005/08/addressing/anonymous\n"
             "Greet 1.2: 0\n"
             "  seen 2 http://example.org/addressed/Add uuid /addressed http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous\n"
             "Add 2004: 0 5 \n"
             "  seen 0   - \n"
             "Add off 1.1: 1 0 wsa:MessageAddressingHeaderRequired\n"
             "  seen 0   - \n"
             "Add off 1.2: 1 0 SOAP-ENV:Sender wsa:MessageAddressingHeaderRequired\n"
             "  seen 0   - \n"
             "Add off, served off: 0 5 \n"},
        {"raw",
             "  seen 1 http://example.org/addressed/Add urn:m1 - \n"
             "200 - - http://example.org/addressed/AddAnswer urn:m1 -\n"
             "  seen 1 http://example.org/addressed/Add urn:m1 - \n"
             "200 - - http://example.org/addressed/AddAnswer urn:m1 -\n"
             "  seen 1 http://example.org/addressed/Add urn:m1 - \n"
             "200 - - http://example.org/addressed/AddAnswer urn:m1 -\n"
             "  seen 2 http://example.org/addressed/Add urn:m2 - \n"
             "200 - - http://example.org/addressed/AddAnswer urn:m2 - (2004)\n"
             "  seen 0   - \n"
             "500 wsa:MessageAddressingHeaderRequired - http://www.w3.org/2005/08/addressing/fault - A required header representing a Message Addressing Property is not present: Action\n"
             "  seen 0   - \n"
             "400 - wsa:MessageAddressingHeaderRequired http://www.w3.org/2005/08/addressing/fault - -\n"
             "  seen 1  urn:m1 - \n"
             "500 wsa:MessageAddressingHeaderRequired - http://www.w3.org/2005/08/addressing/fault urn:m1 A required header representing a Message Addressing Property is not present: Action\n"
             "  seen 1 urn:other urn:m1 - \n"
             "500 wsa:ActionNotSupported - http://www.w3.org/2005/08/addressing/fault urn:m1 The action urn:other cannot be processed at the receiver: the message&apos;s operation takes http://example.org/addressed/Add\n"
             "  seen 1 urn:other urn:m1 - \n"
             "400 - wsa:ActionNotSupported http://www.w3.org/2005/08/addressing/fault urn:m1 -\n"
             "500 SOAP-ENV:Client - - - the request could not be read: the WS-Addressing header Action comes twice\n"
             "500 SOAP-ENV:Client - - - the request could not be read: WS-Addressing headers of two namespaces (the MessageID header&apos;s is another)\n"
             "  seen 1 http://example.org/addressed/Add urn:m1 - http://elsewhere/\n"
             "500 wsa:OnlyAnonymousAddressSupported - http://www.w3.org/2005/08/addressing/fault urn:m1 This endpoint answers only on the connection the request came on (an anonymous ReplyTo and FaultTo)\n"
             "  seen 1 http://example.org/addressed/Add urn:m1 - http://www.w3.org/2005/08/addressing/anonymous\n"
             "200 - - http://example.org/addressed/AddAnswer urn:m1 -\n"
             "500 SOAP-ENV:Client - - - the request could not be read: the WS-Addressing header FaultTo has no Address\n"
             "500 SOAP-ENV:Client - - - the request could not be read: the WS-Addressing header Action is longer than 1024 bytes\n"
             "  seen 1 http://example.org/addressed/Add urn:m1 - \n"
             "200 - - http://example.org/addressed/AddAnswer urn:m1 -\n"},
        {"answers",
             "A answer: -45 0 \n"
             "  the answer's Action is urn:other, the response's is http://example.org/addressed/AddAnswer\n"
             "N answer: -45 0 \n"
             "  the answer carries no WS-Addressing Action (the response's is http://example.org/addressed/AddAnswer)\n"
             "R answer: -45 0 \n"
             "  the answer relates to urn:other, not to the request's MessageID urn:uuid:ID\n"
             "M answer: -45 0 \n"
             "  the answer carries no RelatesTo for the request's MessageID urn:uuid:ID\n"
             "G answer: 0 5 \n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        const RunResult run = runBuiltProgram("program", std::string(), c.mode);
        ASSERT_EQ(run.status, 0) << run.messages << run.output;
        std::string output = run.output;
        output.erase(std::remove(output.begin(), output.end(), '\r'), output.end());
        // a new MessageID each call
        for (std::size_t at = 0; (at = output.find("urn:uuid:", at)) != std::string::npos; at += 11)
            output.replace(at + 9, 36, "ID");
        EXPECT_EQ(output, c.output);
    }
}

} // namespace
