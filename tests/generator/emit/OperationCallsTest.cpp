// One call per operation, on the example calculator: the call against a
// server on the loopback that answers each way a service can (the response,
// a fault, an HTTP error, another message, nothing), the client made from
// endpoints good and bad, and a text for every result; and on a service
// with repeated elements, who frees which arrays.

#include "GeneratorTestSupport.h"
#include "LoopbackServer.h"
#include "generator/emit/SourceFile.h"
#include "support/TestFiles.h"

#include <set>
#include <sstream>

using namespace gentest;

namespace {

// A server that answers one request the way the test asks, and a main that
// makes the call and prints what came back.
const std::string CallDriver = std::string("#include \"calc_api.c\"\n") + OneRequestServer + R"(
enum{ ANSWER_SUM, ANSWER_FAULT, ANSWER_404, ANSWER_GREETING, ANSWER_NOTHING };
static int answer;

static void *serve(void *arg)
{
	calc_proto_trans_t trans;
	calc_proto_packet_t *pk = (calc_proto_packet_t *)calloc(1, sizeof(*pk));
	const char *not_found = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
	tessaro_size_t sent;
	int a, b;
	(void)arg;
	memset(&trans, 0, sizeof(trans));
	trans.socket = accept(listener, NULL, NULL);
	if(calc_proto_readpacket(&trans, pk, 30) == 0 && pk->msg_type == CALC_PROTO_ADD){
		a = pk->msg.AddRequest.Add.a;
		b = pk->msg.AddRequest.Add.b;
		memset(pk, 0, sizeof(*pk));
		if(answer == ANSWER_SUM){
			pk->msg_type = CALC_PROTO_ADDRESPONSE;
			pk->msg.AddReply.AddResponse.sum = a + b;
		}else if(answer == ANSWER_FAULT){
			pk->msg_type = CALC_PROTO_SOAP_FAULT;
			strcpy(pk->msg.soap_fault.faultcode, "soap:Server");
			strcpy(pk->msg.soap_fault.faultstring, "no adding today");
		}else if(answer == ANSWER_GREETING){
			pk->msg_type = CALC_PROTO_GREETRESPONSE;
			strcpy(pk->msg.GreetReply.GreetResponse.greeting, "hello");
		}
		if(answer == ANSWER_404)
			tessaro_socket_send_all(trans.socket, not_found, strlen(not_found), &sent, 30 * TESSARO_USEC_PER_SEC);
		else if(answer != ANSWER_NOTHING)
			calc_proto_sendpacket(&trans, pk, 30);
	}
	tessaro_socket_close(trans.socket);
	free(pk);
	return NULL;
}

int main(void)
{
	char endpoint[64];
	calc_client_t client;
	calc_AddRequest_msg_t in;
	calc_AddReply_msg_t out;
	calc_soap_fault_msg_t fault;
	int result;
#ifdef _WIN32
	WSADATA data;
	WSAStartup(MAKEWORD(2, 2), &data);
#endif
	for(answer = ANSWER_SUM; answer <= ANSWER_NOTHING; answer++){
		if(server_start("/calculator", endpoint) != 0)
			return 2;
		memset(&out, 0, sizeof(out));
		memset(&fault, 0, sizeof(fault));
		in.Add.a = 2;
		in.Add.b = 3;
		result = calc_client_init(&client, endpoint);
		if(result == 0)
			result = calc_Add(&client, &in, &out, &fault);
		server_finish();
		printf("%d %s|sum=%d|fault=%s|http=%d\n", result, calc_strerror(result), out.AddResponse.sum,
			fault.faultstring, client.http_status);
	}
	return 0;
}
)";

class OperationCallsTest : public FixedTextsTest {
protected:
    void SetUp() override
    {
        parseLocation(KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl");
        ASSERT_FALSE(parser_->hasError()) << diagnostics_.str();
        view_ = std::make_unique<CServiceView>(readServiceView(*parser_));
        header_ = emitHeader("calc", programPlatform());
        CTextBuffer source;
        writeSourceFile(*context_, source);
        source_ = source.text();
    }

    std::string header_;
    std::string source_;
};

TEST_F(OperationCallsTest, TheCallReturnsWhatTheServiceAnswered)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    EXPECT_NE(header_.find("_declspec(dllexport) int WINAPI calc_Add(calc_client_t *client, const calc_AddRequest_msg_t *in, "
                           "calc_AddReply_msg_t *out, calc_soap_fault_msg_t *fault);"),
              std::string::npos);
    EXPECT_NE(header_.find("#define CALC_DEFAULT_ENDPOINT\t\"http://127.0.0.1:4321/calculator\""), std::string::npos);
    const RunResult run = buildAndRunC(CallDriver, {{"calc_api.h", header_}, {"calc_api.c", source_}}, true);
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(run.output,
              // the response
              "0 the operation's response arrived|sum=5|fault=|http=0\n"
              // a fault
              "1 the service answered with a SOAP fault|sum=0|fault=no adding today|http=0\n"
              // an HTTP error without a fault
              "-5 the service answered with an HTTP error status and no fault (see the client's http_status)|sum=0|"
              "fault=|http=404\n"
              // another operation's response
              "-6 the service answered with another message than the operation's response|sum=0|fault=|http=0\n"
              // the connection closed with no answer
              "-4 no answer could be read (time-out, broken connection, or an HTTP message of the wrong form)|sum=0|"
              "fault=|http=0\n")
        << run.messages;
}

// The client from an endpoint: host, port and path, or the rule it broke
// in its error detail;
// and with no server there, the call says it could not connect, or that
// the host was not found.
const char* const EndpointDriver = R"(#include "calc_api.c"
int main(void)
{
	static const char *endpoints[] = {NULL, "http://example.org/", "http://h:8080", "http://h:80/a/b?c=d",
		"https://h/", "http://:80/", "http://h:0/", "http://h:65536/", "http://h:12x/", "ftp://h/", "http://h:/",
		"http://user:secret@h/", "http://h/a b", "http://h/\r\nX: 1", "http://[::1]:8080/a", "https://[fe80::1:2]",
		"http://[::1", "http://[::1]x/", "http://[h]/", "http://[]/", "http://[::1]:0/", NULL, NULL};
	char long_host[300], long_path[300];
	size_t i;
	calc_client_t client;
	calc_AddRequest_msg_t in;
	calc_AddReply_msg_t out;
	int result;
	/* a host name and a path one byte longer than the client holds */
	sprintf(long_host, "http://%0256d/", 0);
	sprintf(long_path, "http://h/%0255d", 0);
	endpoints[sizeof(endpoints) / sizeof(endpoints[0]) - 2] = long_host;
	endpoints[sizeof(endpoints) / sizeof(endpoints[0]) - 1] = long_path;
	for(i = 0; i < sizeof(endpoints) / sizeof(endpoints[0]); i++){
		result = calc_client_init(&client, endpoints[i]);
		if(result == 0)
			printf("%s %d %s\n", client.host, (int)client.port, client.path);
		else
			printf("%d %s\n", result, calc_client_error_detail(&client));
	}
	memset(&in, 0, sizeof(in));
	calc_client_init(&client, "http://127.0.0.1:1/");
	printf("%d %d", calc_Add(&client, &in, &out, NULL), calc_Add(NULL, &in, &out, NULL));
	calc_client_init(&client, "http://no-such-host.invalid/");
	printf(" %d\n", calc_Add(&client, &in, &out, NULL));
	for(result = 1; result >= -11; result--)
		printf("%s\n", calc_strerror(result));
	return 0;
}
)";

TEST_F(OperationCallsTest, TheClientTakesAnHttpEndpointOrSaysItCannot)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = buildAndRunC(EndpointDriver, {{"calc_api.h", header_}, {"calc_api.c", source_}}, true);
    ASSERT_EQ(run.status, 0) << run.messages;
    const std::string host = "-1 the endpoint names no host, or credentials before it, or a host name of more than 255 bytes\n";
    const std::string port = "-1 the endpoint has a port that is no number from 1 to 65535\n";
    const std::string blank = "-1 the endpoint holds a blank or a control character\n";
    const std::string endpoints = "127.0.0.1 4321 /calculator\nexample.org 80 /\nh 8080 /\nh 80 /a/b?c=d\nh 443 /\n" + host + port +
        port + port + "-1 the endpoint is no http:// or https:// address\n" + port + host + blank + blank +
        // an IPv6 address in brackets, kept without them
        "::1 8080 /a\nfe80::1:2 443 /\n" + host + host + host + host + port + host +
        "-1 the endpoint has a path of more than 255 bytes\n";
    ASSERT_EQ(run.output.substr(0, endpoints.size()), endpoints);
    std::istringstream rest(run.output.substr(endpoints.size()));
    std::string line;
    std::getline(rest, line);
    EXPECT_EQ(line, "-2 -7 -9");
    // Each result has a text of its own; what no call returns has none.
    std::set<std::string> texts;
    for (int result = 1; result >= -10 && std::getline(rest, line); --result)
        EXPECT_TRUE(texts.insert(line).second) << line;
    EXPECT_EQ(texts.size(), 12u);
    std::getline(rest, line);
    EXPECT_EQ(line, "unknown result");
}

// A service whose response holds arrays (of structs holding arrays), and
// another operation whose response holds one.
const char* const ListWsdl = R"(<?xml version="1.0" encoding="UTF-8"?>
<definitions name="List" targetNamespace="urn:list" xmlns="http://schemas.xmlsoap.org/wsdl/"
    xmlns:soap="http://schemas.xmlsoap.org/wsdl/soap/" xmlns:xsd="http://www.w3.org/2001/XMLSchema" xmlns:tns="urn:list">
  <types>
    <xsd:schema targetNamespace="urn:list" elementFormDefault="qualified">
      <xsd:complexType name="Entry">
        <xsd:sequence>
          <xsd:element name="name" type="xsd:string"/>
          <xsd:element name="tag" type="xsd:string" minOccurs="0" maxOccurs="unbounded"/>
        </xsd:sequence>
      </xsd:complexType>
      <xsd:element name="list"><xsd:complexType><xsd:sequence>
        <xsd:element name="want" type="xsd:string" minOccurs="0" maxOccurs="unbounded"/>
      </xsd:sequence></xsd:complexType></xsd:element>
      <xsd:element name="listResponse"><xsd:complexType><xsd:sequence>
        <xsd:element name="entry" type="tns:Entry" minOccurs="0" maxOccurs="unbounded"/>
      </xsd:sequence></xsd:complexType></xsd:element>
      <xsd:element name="names"><xsd:complexType><xsd:sequence>
        <xsd:element name="name" type="xsd:string" minOccurs="0" maxOccurs="unbounded"/>
      </xsd:sequence></xsd:complexType></xsd:element>
    </xsd:schema>
  </types>
  <message name="ListIn"><part name="parameters" element="tns:list"/></message>
  <message name="ListOut"><part name="parameters" element="tns:listResponse"/></message>
  <message name="NamesOut"><part name="parameters" element="tns:names"/></message>
  <portType name="ListPort">
    <operation name="List"><input message="tns:ListIn"/><output message="tns:ListOut"/></operation>
    <operation name="Names"><input message="tns:ListIn"/><output message="tns:NamesOut"/></operation>
  </portType>
  <binding name="ListSoap" type="tns:ListPort">
    <soap:binding style="document" transport="http://schemas.xmlsoap.org/soap/http"/>
    <operation name="List"><soap:operation soapAction="urn:list"/>
      <input><soap:body use="literal"/></input><output><soap:body use="literal"/></output></operation>
    <operation name="Names"><soap:operation soapAction="urn:names"/>
      <input><soap:body use="literal"/></input><output><soap:body use="literal"/></output></operation>
  </binding>
  <service name="ListService">
    <port name="ListPort" binding="tns:ListSoap"><soap:address location="http://127.0.0.1:4321/list"/></port>
  </service>
</definitions>
)";

// The server answers List with one entry per wanted name (entry i with i
// tags), or with Names' response; the caller frees what the call decoded.
// Under the leak checker, whatever the call or the free leaves allocated
// fails the run; freeing the caller's request fails it too.
const std::string ListDriver = std::string("#include \"lst_api.c\"\n") + OneRequestServer + R"(
enum{ ANSWER_LIST, ANSWER_NAMES };
static int answer;

static void *serve(void *arg)
{
	lst_proto_trans_t trans;
	lst_proto_packet_t *pk = (lst_proto_packet_t *)calloc(1, sizeof(*pk));
	char tags[3][LST_MAX_TAG_LEN+1] = {"red", "green", "blue"};
	lst_Entry_t entries[3];
	int wanted, i;
	(void)arg;
	memset(&trans, 0, sizeof(trans));
	memset(entries, 0, sizeof(entries));
	trans.socket = accept(listener, NULL, NULL);
	if(lst_proto_readpacket(&trans, pk, 30) == 0){
		wanted = pk->msg.ListIn.list.want_count < 3 ? pk->msg.ListIn.list.want_count : 3;
		for(i = 0; i < wanted; i++){
			strcpy(entries[i].name, pk->msg.ListIn.list.want[i]);
			entries[i].tag = tags;
			entries[i].tag_count = i;
		}
		lst_free_proto_packet(pk);
		memset(pk, 0, sizeof(*pk));
		if(answer == ANSWER_LIST){
			pk->msg_type = LST_PROTO_LISTRESPONSE;
			pk->msg.ListOut.listResponse.entry = entries;
			pk->msg.ListOut.listResponse.entry_count = wanted;
		}else{
			pk->msg_type = LST_PROTO_NAMES;
			pk->msg.NamesOut.names.name = tags;
			pk->msg.NamesOut.names.name_count = 3;
		}
		lst_proto_sendpacket(&trans, pk, 30);
	}
	tessaro_socket_close(trans.socket);
	free(pk);
	return NULL;
}

int main(void)
{
	char endpoint[64];
	char wants[2][LST_MAX_WANT_LEN+1] = {"a", "b"};
	lst_client_t client;
	lst_ListIn_msg_t in;
	lst_ListOut_msg_t out;
	int result, i;
#ifdef _WIN32
	WSADATA data;
	WSAStartup(MAKEWORD(2, 2), &data);
#endif
	in.list.want = wants;
	in.list.want_count = 2;
	for(answer = ANSWER_LIST; answer <= ANSWER_NAMES; answer++){
		if(server_start("/list", endpoint) != 0)
			return 2;
		memset(&out, 0, sizeof(out));
		result = lst_client_init(&client, endpoint);
		if(result == 0)
			result = lst_List(&client, &in, &out, NULL);
		server_finish();
		printf("%d", result);
		for(i = 0; i < out.listResponse.entry_count; i++)
			printf(" %s:%d", out.listResponse.entry[i].name, out.listResponse.entry[i].tag_count);
		lst_free_List(&out);
		printf("|%d %d\n", out.listResponse.entry == NULL, out.listResponse.entry_count);
	}
	/* with no server the request stays the caller's */
	lst_client_init(&client, "http://127.0.0.1:1/");
	printf("%d %s %s\n", lst_List(&client, &in, &out, NULL), in.list.want[0], in.list.want[1]);
	lst_free_List(NULL);
	return 0;
}
)";

class OperationCallsArraysTest : public FixedTextsTest {};

TEST_F(OperationCallsArraysTest, TheCallerFreesTheResponseAndTheCallFreesTheRest)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    view(ListWsdl);
    const std::string header = emitHeader("lst", programPlatform());
    EXPECT_NE(header.find("_declspec(dllexport) void WINAPI lst_free_List(lst_ListOut_msg_t *out);"), std::string::npos);
    CTextBuffer source;
    writeSourceFile(*context_, source);
    const RunResult run = buildAndRunC(ListDriver, {{"lst_api.h", header}, {"lst_api.c", source.text()}}, true);
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(run.output,
              // the response, freed by the caller
              "0 a:0 b:1|1 0\n"
              // Names' response: the call frees it
              "-6|1 0\n"
              // no connection
              "-2 a b\n")
        << run.messages;
}

// Each way a call can end, with *out and *fault left as an uninitialised
// local would be: the caller frees the response (twice) whatever came back,
// and the sanitizers and the leak checker find nothing to say.
const std::string FreeAfterAnyResultDriver = std::string("#include \"lst_api.c\"\n") + OneRequestServer + R"(
static const char *status_line, *body;

static void *serve(void *arg)
{
	lst_proto_trans_t trans;
	lst_proto_packet_t *pk = (lst_proto_packet_t *)calloc(1, sizeof(*pk));
	(void)arg;
	memset(&trans, 0, sizeof(trans));
	trans.socket = accept(listener, NULL, NULL);
	if(lst_proto_readpacket(&trans, pk, 30) == 0)
		send_answer(trans.socket, status_line, body);
	lst_free_proto_packet(pk);
	tessaro_socket_close(trans.socket);
	free(pk);
	return NULL;
}

#define ENVELOPE(content) "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body>" content "</e:Body></e:Envelope>"

int main(void)
{
	/* a status line of NULL: nothing listens at the endpoint */
	static const char *answers[][2] = {
		{NULL, NULL},
		{"HTTP/1.1 500 Internal Server Error", "no envelope here"},
		{"HTTP/1.1 200 OK", "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body><listResponse"},
		{"HTTP/1.1 500 Internal Server Error", ENVELOPE("<e:Fault><faultcode>e:Server</faultcode><faultstring>busy</faultstring></e:Fault>")},
		{"HTTP/1.1 200 OK", ENVELOPE("<listResponse xmlns=\"urn:list\"><entry><name>a</name><tag>x</tag><tag>y</tag></entry></listResponse>")},
	};
	char endpoint[64];
	char wants[1][LST_MAX_WANT_LEN+1] = {"a"};
	lst_client_t client;
	lst_ListIn_msg_t in;
	lst_ListOut_msg_t out;
	lst_soap_fault_msg_t fault;
	size_t i;
	int result, entries;
	network_start();
	in.list.want = wants;
	in.list.want_count = 1;
	for(i = 0; i < sizeof(answers) / sizeof(answers[0]); i++){
		status_line = answers[i][0];
		body = answers[i][1];
		strcpy(endpoint, "http://127.0.0.1:1/");
		if(status_line != NULL && server_start("/list", endpoint) != 0)
			return 2;
		memset(&out, 0xA5, sizeof(out));
		memset(&fault, 0xA5, sizeof(fault));
		result = lst_client_init(&client, endpoint);
		if(result == 0)
			result = lst_List(&client, &in, &out, &fault);
		if(status_line != NULL)
			server_finish();
		entries = out.listResponse.entry_count;
		lst_free_List(&out);
		lst_free_List(&out);
		printf("%d %d|%d %d|%s\n", result, entries, out.listResponse.entry == NULL, out.listResponse.entry_count,
			fault.faultstring);
	}
	return 0;
}
)";

TEST_F(OperationCallsArraysTest, FreeingTheResponseAfterAnyResultOrTwiceIsHarmless)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    view(ListWsdl);
    const std::string header = emitHeader("lst", programPlatform());
    CTextBuffer source;
    writeSourceFile(*context_, source);
    const RunResult run =
        buildAndRunC(FreeAfterAnyResultDriver, {{"lst_api.h", header}, {"lst_api.c", source.text()}}, true);
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(run.output,
              // refused connection
              "-2 0|1 0|\n"
              // HTTP 500 without an envelope
              "-5 0|1 0|\n"
              // XML cut short: it arrived, and does not decode
              "-30 0|1 0|\n"
              // a fault: *fault holds it, *out stays empty
              "1 0|1 0|busy\n"
              // the response, freed twice
              "0 1|1 0|\n")
        << run.messages;
}

// Document operations whose messages have no part: Ping's request, Reset's
// request and response, Clear's request (under its own soapAction, which
// differs from Ping's only beyond the length of a packet's header value).
const char* const EmptyWsdl = R"(<?xml version="1.0" encoding="UTF-8"?>
<definitions name="Empty" targetNamespace="urn:empty" xmlns="http://schemas.xmlsoap.org/wsdl/"
    xmlns:soap="http://schemas.xmlsoap.org/wsdl/soap/" xmlns:xsd="http://www.w3.org/2001/XMLSchema" xmlns:tns="urn:empty">
  <types>
    <xsd:schema targetNamespace="urn:empty" elementFormDefault="qualified">
      <xsd:element name="pong" type="xsd:int"/>
    </xsd:schema>
  </types>
  <message name="Nothing"/>
  <message name="Done"/>
  <message name="PongOut"><part name="p" element="tns:pong"/></message>
  <portType name="EmptyPort">
    <operation name="Ping"><input message="tns:Nothing"/><output message="tns:PongOut"/></operation>
    <operation name="Reset"><input message="tns:Nothing"/><output message="tns:Done"/></operation>
    <operation name="Clear"><input message="tns:Nothing"/><output message="tns:PongOut"/></operation>
  </portType>
  <binding name="EmptySoap" type="tns:EmptyPort">
    <soap:binding style="document" transport="http://schemas.xmlsoap.org/soap/http"/>
    <operation name="Ping"><soap:operation soapAction="urn:long/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/ping"/>
      <input><soap:body use="literal"/></input><output><soap:body use="literal"/></output></operation>
    <operation name="Reset"><soap:operation soapAction="urn:reset"/>
      <input><soap:body use="literal"/></input><output><soap:body use="literal"/></output></operation>
    <operation name="Clear"><soap:operation soapAction="urn:long/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/clear"/>
      <input><soap:body use="literal"/></input><output><soap:body use="literal"/></output></operation>
  </binding>
  <service name="EmptyService">
    <port name="EmptyPort" binding="tns:EmptySoap"><soap:address location="http://127.0.0.1:4321/empty"/></port>
  </service>
</definitions>
)";

// The server reads the request as it came (its Body must be empty), tells
// which message the packet reader made of it, and answers Ping and Clear
// with pong and Reset with an empty Body.
const std::string EmptyDriver = std::string("#include \"mt_api.c\"\n") + OneRequestServer + R"(
static void *serve(void *arg)
{
	mt_proto_trans_t trans;
	mt_proto_packet_t *pk = (mt_proto_packet_t *)calloc(1, sizeof(*pk));
	char *buffer = (char *)calloc(MT_MAX_MESSAGE_LEN + 1, 1);
	http_buffer_t message = {buffer, MT_MAX_MESSAGE_LEN, MT_MAX_MESSAGE_LEN, 0};
	tessaro_size_t length = 0;
	int type;
	(void)arg;
	memset(&trans, 0, sizeof(trans));
	trans.socket = accept(listener, NULL, NULL);
	if(read_packet(&trans, &message, &length, 30, NULL) == 0 && mt_proto_unpack(buffer, length, pk) == 0){
		type = (int)pk->msg_type;
		printf("[%s %s] ", strstr(buffer, "<SOAP-ENV:Body></SOAP-ENV:Body>") != NULL ? "empty" : "BODY",
			type == MT_PROTO_PING ? "Ping" : type == MT_PROTO_RESET ? "Reset" : type == MT_PROTO_CLEAR ? "Clear" : "?");
		mt_free_proto_packet(pk);
		memset(pk, 0, sizeof(*pk));
		pk->msg_type = type == MT_PROTO_RESET ? MT_PROTO_RESET_RESPONSE : MT_PROTO_PONG;
		pk->msg.PongOut.pong.pong = 7;
		mt_proto_sendpacket(&trans, pk, 30);
	}
	tessaro_socket_close(trans.socket);
	free(buffer);
	free(pk);
	return NULL;
}

int main(void)
{
	char endpoint[64];
	mt_client_t client;
	mt_Nothing_msg_t in;
	mt_PongOut_msg_t pong;
	mt_Done_msg_t done;
	int call;
#ifdef _WIN32
	WSADATA data;
	WSAStartup(MAKEWORD(2, 2), &data);
#endif
	memset(&in, 0, sizeof(in));
	for(call = 0; call < 3; call++){
		int result = -99;
		if(server_start("/empty", endpoint) != 0)
			return 2;
		memset(&pong, 0, sizeof(pong));
		if(mt_client_init(&client, endpoint) == 0)
			result = call == 0 ? mt_Ping(&client, &in, &pong, NULL) : call == 1 ? mt_Reset(&client, &in, &done, NULL)
				: mt_Clear(&client, &in, &pong, NULL);
		server_finish();
		printf("%d %d\n", result, pong.pong.pong);
	}
	return 0;
}
)";

class OperationCallsEmptyBodyTest : public GeneratorTest {};

TEST_F(OperationCallsEmptyBodyTest, ADocumentOperationWithoutPartsSendsAnEmptyBody)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    view(EmptyWsdl);
    const std::string header = emitHeader("mt", programPlatform());
    // no tag constant for a message that has no element
    EXPECT_EQ(header.find("MT_PING_TAG"), std::string::npos);
    EXPECT_NE(header.find("MT_PROTO_RESET_RESPONSE"), std::string::npos);
    CTextBuffer source;
    writeSourceFile(*context_, source);
    const RunResult run = buildAndRunC(EmptyDriver, {{"mt_api.h", header}, {"mt_api.c", source.text()}}, true);
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(run.output, "[empty Ping] 0 7\n"
                          "[empty Reset] 0 0\n"
                          "[empty Clear] 0 7\n")
        << run.messages;
}

} // namespace

// The calculator with a header on Add: a part of another message, which
// the packet holds outside the message structs.
std::string calculatorWithHeader()
{
    std::string wsdl = testsupport::readBytes(KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl");
    const auto insert = [&](const std::string& before, const std::string& text) {
        const std::size_t at = wsdl.find(before);
        EXPECT_NE(at, std::string::npos) << before;
        wsdl.insert(at, text);
    };
    insert("<xsd:element name=\"Greet\">",
           "<xsd:element name=\"Auth\"><xsd:complexType><xsd:sequence><xsd:element name=\"user\" type=\"xsd:string\"/>"
           "</xsd:sequence></xsd:complexType></xsd:element>\n");
    insert("<message name=\"AddReply\">", "<message name=\"AuthHeader\"><part name=\"auth\" element=\"tns:Auth\"/></message>\n");
    // Add's input is the binding's first
    insert("<soap:body use=\"literal\"/></input>", "<soap:header message=\"tns:AuthHeader\" part=\"auth\" use=\"literal\"/>");
    return wsdl;
}

// Header parts the packet holds outside the message go with a call from the
// packet the client points to, with its extra HTTP headers; without one they
// are sent empty. The server prints what it read.
const std::string HeaderDriver = std::string("#include \"hc_api.c\"\n") + OneRequestServer + R"(
static void *serve(void *arg)
{
	hc_proto_trans_t trans;
	hc_proto_packet_t *pk = (hc_proto_packet_t *)calloc(1, sizeof(*pk));
	const char *tag = "-";
	int i;
	(void)arg;
	memset(&trans, 0, sizeof(trans));
	trans.socket = accept(listener, NULL, NULL);
	if(hc_proto_readpacket(&trans, pk, 30) == 0 && pk->msg_type == HC_PROTO_ADD){
		for(i = 0; i < pk->http_headers_count; i++)
			if(strcmp(pk->http_headers[i].name, "X-Tag") == 0)
				tag = pk->http_headers[i].value;
		printf("[%s %s] ", pk->Auth.user, tag);
		i = pk->msg.AddRequest.Add.a + pk->msg.AddRequest.Add.b;
		hc_free_proto_packet(pk);
		memset(pk, 0, sizeof(*pk));
		pk->msg_type = HC_PROTO_ADDRESPONSE;
		pk->msg.AddReply.AddResponse.sum = i;
		hc_proto_sendpacket(&trans, pk, 30);
	}
	tessaro_socket_close(trans.socket);
	free(pk);
	return NULL;
}

int main(void)
{
	char endpoint[64];
	hc_client_t client;
	hc_proto_packet_t headers;
	hc_AddRequest_msg_t in = {{2, 3}};
	hc_AddReply_msg_t out;
	int call, result;
#ifdef _WIN32
	WSADATA data;
	WSAStartup(MAKEWORD(2, 2), &data);
#endif
	memset(&headers, 0, sizeof(headers));
	strcpy(headers.Auth.user, "ann");
	hc_add_http_header(&headers, "X-Tag", "seven");
	for(call = 0; call < 2; call++){
		if(server_start("/calculator", endpoint) != 0)
			return 2;
		memset(&out, 0, sizeof(out));
		result = hc_client_init(&client, endpoint);
		client.headers = call == 0 ? NULL : &headers;
		if(result == 0)
			result = hc_Add(&client, &in, &out, NULL);
		server_finish();
		printf("%d %d\n", result, out.AddResponse.sum);
	}
	printf("%s %d\n", headers.Auth.user, headers.http_headers_count);
	return 0;
}
)";

class OperationCallsHeaderTest : public FixedTextsTest {};

TEST_F(OperationCallsHeaderTest, HeaderPartsAndHttpHeadersGoFromTheClientsPacket)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    view(calculatorWithHeader());
    const std::string header = emitHeader("hc", programPlatform());
    CTextBuffer source;
    writeSourceFile(*context_, source);
    const RunResult run = buildAndRunC(HeaderDriver, {{"hc_api.h", header}, {"hc_api.c", source.text()}}, true);
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(run.output, "[ -] 0 5\n"
                          "[ann seven] 0 5\n"
                          // the caller's packet is left as it was
                          "ann 1\n")
        << run.messages;
}
