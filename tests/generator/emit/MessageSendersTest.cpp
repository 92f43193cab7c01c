// The generated senders, compiled and run over a socket layer that records
// what is sent: every message is one HTTP message whose Content-Length is
// its body and whose body is a SOAP envelope libxml2 reads; faults and plain
// responses go out as given; what does not fit gives -1 and sends nothing.

#include "GeneratorTestSupport.h"

#include <algorithm>
#include <cstdio>

using namespace gentest;

namespace {

// Messages go out on one end of a socket pair; the program prints, per
// send, the sender's result, the bytes that arrived and the envelope's
// elements read back.
const char* const Harness = R"(#include "demo_api.c"

#include <sys/socket.h>

static char sent[400000];
static size_t sent_length;

static void dump(xmlNodePtr node, const char *path)
{
	char here[512];
	xmlChar *text;
	for(; node != NULL; node = node->next){
		if(node->type != XML_ELEMENT_NODE)
			continue;
		snprintf(here, sizeof(here), "%s/%s%s%s", path, node->ns && node->ns->prefix ? (const char *)node->ns->prefix : "",
			node->ns && node->ns->prefix ? ":" : "", (const char *)node->name);
		text = xmlNodeGetContent(node);
		printf("xml %s=%s\n", here, (const char *)text);
		xmlFree(text);
		dump(node->children, here);
	}
}

static int peer;

/* Sends the packet and prints the result, then the message when one went out. */
static void report(demo_proto_trans_t *trans, demo_proto_packet_t *pk)
{
	const char *xml, *end;
	xmlDocPtr doc;
	int result = demo_proto_sendpacket(trans, pk, 7);
	ssize_t got = recv(peer, sent, sizeof(sent) - 1, MSG_DONTWAIT);

	sent_length = got > 0 ? (size_t)got : 0;
	printf("result=%d sent=%d\n", result, got > 0);
	if(got <= 0)
		return;
	fwrite(sent, 1, sent_length, stdout);
	printf("\n@@end\n");
	sent[sent_length] = '\0';
	xml = strstr(sent, "<?xml");
	end = strstr(sent, "</SOAP-ENV:Envelope>");
	if(xml == NULL || end == NULL)
		return;
	doc = xmlReadMemory(xml, (int)(end - xml) + 20, "sent.xml", NULL, XML_PARSE_NONET);
	if(doc == NULL){
		printf("not well-formed\n");
		return;
	}
	dump(xmlDocGetRootElement(doc), "");
	xmlFreeDoc(doc);
}

static void fresh(demo_proto_packet_t *pk, unsigned int type)
{
	memset(pk, 0, sizeof(*pk));
	pk->msg_type = type;
}

int main(void)
{
	static demo_proto_packet_t pk;
	demo_proto_trans_t trans;

	int ends[2];

	if(socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
		return 1;
	peer = ends[1];
	memset(&trans, 0, sizeof(trans));
	trans.socket = ends[0];
	strcpy(trans.dest_ip, "10.0.0.5");
	strcpy(trans.url, "/svc");
	trans.dest_port = 8080;
@BODY@
	xmlCleanupParser();
	return 0;
}
)";

struct Sent {
    int result = 0;
    bool went = false;
    std::string head;       // up to and with the blank line
    std::string body;       // what follows it
    std::vector<std::string> xml; // the envelope's elements read back
};

std::vector<Sent> splitReports(const std::string& output)
{
    std::vector<Sent> sends;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        int result = 0, went = 0;
        if (std::sscanf(line.c_str(), "result=%d sent=%d", &result, &went) == 2) {
            sends.emplace_back();
            sends.back().result = result;
            sends.back().went = went == 1;
            if (went != 1)
                continue;
            const std::string::size_type start = static_cast<std::string::size_type>(in.tellg());
            const std::string::size_type end = output.find("\n@@end\n", start);
            const std::string message = output.substr(start, end - start);
            const std::string::size_type split = message.find("\r\n\r\n");
            sends.back().head = message.substr(0, split + 4);
            sends.back().body = split == std::string::npos ? std::string() : message.substr(split + 4);
            in.seekg(static_cast<std::streamoff>(end + 7));
        } else if (line.compare(0, 4, "xml ") == 0 && !sends.empty()) {
            sends.back().xml.push_back(line.substr(4));
        } else if (!sends.empty()) {
            sends.back().xml.push_back("?" + line);
        }
    }
    return sends;
}

// The value of header name (matched as written) in head; "-" when absent.
std::string headerValue(const std::string& head, const std::string& name)
{
    const std::string::size_type at = head.find("\r\n" + name + ":");
    if (at == std::string::npos)
        return "-";
    const std::string::size_type from = at + 3 + name.size();
    return head.substr(from, head.find("\r\n", from) - from);
}

bool has(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class MessageSendersTest : public GeneratorTest {
protected:
    void SetUp() override
    {
        GeneratorTest::SetUp();
        if (!canCompileC())
            GTEST_SKIP() << "no C compiler";
    }

    std::vector<Sent> run(const std::string& document, const std::string& body)
    {
        view(document);
        emitHeader("demo");
        std::string program = Harness;
        program.replace(program.find("@BODY@"), 6, body);
        const RunResult result =
            buildAndRunC(program, {{"demo_api.h", headerText()}, {"demo_api.c", emitPartialSource()}}, true);
        EXPECT_EQ(0, result.status) << result.messages << result.output;
        return splitReports(result.output);
    }

    // Every message that went out is one HTTP message framed by its length.
    static void expectFramed(const Sent& sent)
    {
        ASSERT_TRUE(sent.went);
        EXPECT_EQ(std::to_string(sent.body.size()), headerValue(sent.head, "Content-Length")) << sent.head;
        EXPECT_EQ(sent.head.find("\r\n\r\n"), sent.head.size() - 4);
        EXPECT_FALSE(has(sent.xml, "?not well-formed")) << sent.body;
    }
};

std::string documentService()
{
    return schemaDocument(
        "<xsd:complexType name=\"QuoteType\"><xsd:sequence><xsd:element name=\"symbol\" type=\"xsd:string\"/>"
        "<xsd:element name=\"count\" type=\"xsd:int\"/></xsd:sequence></xsd:complexType>"
        "<xsd:element name=\"Quote\" type=\"tns:QuoteType\"/><xsd:element name=\"Price\" type=\"xsd:double\"/>"
        "<xsd:element name=\"Session\" type=\"xsd:string\"/>",
        "<message name=\"QuoteIn\"><part name=\"body\" element=\"tns:Quote\"/><part name=\"auth\" element=\"tns:Session\"/></message>\n"
        "<message name=\"ns.QuoteOut\"><part name=\"return\" element=\"tns:Price\"/></message>\n"
        "<portType name=\"Stock\"><operation name=\"GetQuote\"><input message=\"tns:QuoteIn\"/>"
        "<output message=\"tns:ns.QuoteOut\"/></operation>"
        "<operation name=\"Again\"><input message=\"tns:QuoteIn\"/><output message=\"tns:ns.QuoteOut\"/></operation>"
        "</portType>\n"
        "<binding name=\"StockSoap\" type=\"tns:Stock\"><soap:binding style=\"document\" "
        "transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
        "<operation name=\"GetQuote\"><soap:operation soapAction=\"\"/><input><soap:body use=\"literal\" parts=\"body\"/>"
        "<soap:header message=\"tns:QuoteIn\" part=\"auth\" use=\"literal\"/></input>"
        "<output><soap:body use=\"literal\"/></output></operation>"
        "<operation name=\"Again\"><soap:operation soapAction=\"urn:again\"/><input><soap:body use=\"literal\"/></input>"
        "<output><soap:body use=\"literal\"/></output></operation></binding>\n");
}

} // namespace

TEST_F(MessageSendersTest, RequestsResponsesPlainMessagesAndFaultsAreFramedAndReadBack)
{
    const std::vector<Sent> sends = run(wsdltest::calculator(), R"(
	fresh(&pk, DEMO_PROTO_ADD);
	pk.msg.AddIn.a = -3;
	pk.msg.AddIn.b = 2000000000;
	demo_add_http_header(&pk, "X-Trace", "t1");
	demo_add_http_header(&pk, "content-LENGTH", "5");
	demo_set_attachment(&pk, "BIN\0ARY", 7);
	report(&trans, &pk);
	printf("attachment released=%d\n", pk.attachment == NULL);
	fresh(&pk, DEMO_PROTO_ADD_RESPONSE);
	pk.msg.AddOut.sum = 42;
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_HTTP);
	pk.msg.http_msg.err_code = 404;
	strcpy(pk.msg.http_msg.err_code_string, "Not Found");
	strcpy(pk.msg.http_msg.buffer, "gone");
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_SOAP_FAULT);
	strcpy(pk.msg.soap_fault.faultcode, "SOAP-ENV:Server");
	strcpy(pk.msg.soap_fault.faultstring, "a < b & c");
	strcpy(pk.msg.soap_fault.detail, "</detail>");
	report(&trans, &pk);
)");
    ASSERT_EQ(4u, sends.size());
    const Sent& request = sends[0];
    EXPECT_EQ(0, request.result);
    expectFramed(request);
    EXPECT_EQ(0u, request.head.find("POST /svc HTTP/1.1\r\nHOST:10.0.0.5:8080\r\n")) << request.head;
    EXPECT_EQ("\"urn:add\"", headerValue(request.head, "SOAPAction"));
    EXPECT_EQ(" t1", headerValue(request.head, "X-Trace"));
    EXPECT_EQ("-", headerValue(request.head, "content-LENGTH")) << "the caller's length is dropped";
    EXPECT_EQ(std::string("</SOAP-ENV:Envelope>\r\nBIN\0ARY", 29), request.body.substr(request.body.size() - 29));
    EXPECT_TRUE(has(request.xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/demo:Add/demo:a=-3"));
    EXPECT_TRUE(has(request.xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/demo:Add/demo:b=2000000000"));
    EXPECT_TRUE(has(request.xml, "?attachment released=1"));

    const Sent& response = sends[1];
    expectFramed(response);
    EXPECT_EQ(0u, response.head.find("HTTP/1.1 200 OK\r\nContent-Length:")) << response.head;
    EXPECT_TRUE(has(response.xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/demo:AddResponse/demo:sum=42"));

    expectFramed(sends[2]);
    EXPECT_EQ(0u, sends[2].head.find("HTTP/1.1 404 Not Found\r\n")) << sends[2].head;
    EXPECT_EQ("gone", sends[2].body);
    expectFramed(sends[3]);
    EXPECT_EQ(0u, sends[3].head.find("HTTP/1.1 200 OK\r\n"));
    const std::string fault = "/SOAP-ENV:Envelope/SOAP-ENV:Body/SOAP-ENV:Fault/";
    EXPECT_TRUE(has(sends[3].xml, fault + "faultcode=SOAP-ENV:Server"));
    EXPECT_TRUE(has(sends[3].xml, fault + "faultstring=a < b & c"));
    EXPECT_TRUE(has(sends[3].xml, fault + "detail=</detail>"));
}

TEST_F(MessageSendersTest, DocumentStyleCarriesHeaderPartAndElementsWithoutWrapper)
{
    const std::vector<Sent> sends = run(documentService(), R"(
	fresh(&pk, DEMO_PROTO_QUOTE);
	strcpy(pk.msg.QuoteIn.Quote.symbol, "A&B<C>");
	pk.msg.QuoteIn.Quote.count = 3;
	strcpy(pk.Session, "s\"1");
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_PRICE);
	pk.msg.QuoteOut.Price.Price = 1.5;
	report(&trans, &pk);
	fresh(&pk, 12345);
	report(&trans, &pk);
)");
    ASSERT_EQ(3u, sends.size());
    const Sent& request = sends[0];
    expectFramed(request);
    EXPECT_EQ("-", headerValue(request.head, "SOAPAction")) << "an empty soapAction sends none";
    EXPECT_TRUE(has(request.xml, "/SOAP-ENV:Envelope/SOAP-ENV:Header/demo:Session=s\"1")) << request.body;
    EXPECT_TRUE(has(request.xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/demo:Quote/symbol=A&B<C>")) << request.body;
    EXPECT_TRUE(has(request.xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/demo:Quote/count=3"));
    EXPECT_FALSE(has(request.xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/demo:Session=s\"1")) << "the header part stays out of the body";

    expectFramed(sends[1]);
    EXPECT_TRUE(has(sends[1].xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/demo:Price=1.5")) << sends[1].body;

    EXPECT_EQ(0, sends[2].result) << "a type without a case";
    EXPECT_FALSE(sends[2].went);

    const std::string source = emitPartialSource();
    EXPECT_NE(std::string::npos, source.find("static int demo_QuoteOut_send("));
    EXPECT_EQ(source.find("case DEMO_PROTO_QUOTE:"), source.rfind("case DEMO_PROTO_QUOTE:"));
}

TEST_F(MessageSendersTest, WhatDoesNotFitGivesMinusOneAndSendsNothing)
{
    const std::vector<Sent> sends = run(wsdltest::calculator(), R"(
	static char big[300000];
	char value[200];
	int i;
	fresh(&pk, DEMO_PROTO_ADD);
	memset(big, 'x', sizeof(big));
	demo_set_attachment(&pk, big, sizeof(big));
	report(&trans, &pk);
	printf("attachment kept=%d\n", pk.attachment != NULL);
	free(pk.attachment);
	fresh(&pk, DEMO_PROTO_ADD);
	memset(value, 'v', sizeof(value) - 1);
	value[sizeof(value) - 1] = '\0';
	for(i = 0; i < DEMO_MAX_HTTP_HEADER_NUM; i++)
		demo_add_http_header(&pk, "X-Long-Header-Name-Here!", value);
	memset(trans.url, 'u', sizeof(trans.url) - 1);
	memset(trans.dest_ip, 'i', sizeof(trans.dest_ip) - 1);
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_HTTP);
	memset(pk.msg.http_msg.err_code_string, 'e', sizeof(pk.msg.http_msg.err_code_string));
	memset(pk.boundary_part, 'b', sizeof(pk.boundary_part));
	memset(pk.msg.http_msg.buffer, 'm', sizeof(pk.msg.http_msg.buffer));
	pk.msg.http_msg.err_code = 404;
	report(&trans, &pk);
)");
    ASSERT_EQ(3u, sends.size());
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(-1, sends[i].result) << i;
        EXPECT_FALSE(sends[i].went) << i;
    }
    EXPECT_TRUE(has(sends[0].xml, "?attachment kept=1"));
    // Fields without a terminator are taken up to their size, never beyond.
    expectFramed(sends[2]);
    EXPECT_EQ(0u, sends[2].head.find("HTTP/1.1 404 " + std::string(33, 'e') + "\r\n"));
    EXPECT_EQ(std::string(241, 'b') + std::string(1025, 'm'), sends[2].body);
}
