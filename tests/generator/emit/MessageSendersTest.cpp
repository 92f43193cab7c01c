// The generated senders, compiled and run over a socket layer that records
// what is sent: every message is one HTTP message whose Content-Length is
// its body and whose body is a SOAP envelope libxml2 reads; faults and plain
// responses go out as given, however long; what does not fit gives -1 and sends nothing.

#include "GeneratorTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

using namespace gentest;

namespace {

// Messages go out on one end of a socket pair; the program prints, per
// send, the sender's result, the bytes that arrived and the envelope's
// elements read back.
const char* const Harness = R"(#include "demo_api.c"

#include <sys/socket.h>
#include <unistd.h>
#include <libxml/xmlschemas.h>

static char sent[400000];
static size_t sent_length;
static xmlSchemaPtr schema;

/* Text on one line: line ends and tabs shown as \r \n \t. */
static void put(const char *text)
{
	for(; *text != '\0'; text++){
		if(*text == '\r' || *text == '\n' || *text == '\t')
			printf("\\%c", *text == '\r' ? 'r' : *text == '\n' ? 'n' : 't');
		else
			putchar(*text);
	}
}

static void name_of(char *here, size_t size, const char *path, xmlNsPtr ns, const xmlChar *name)
{
	snprintf(here, size, "%s%s%s%s", path, ns && ns->prefix ? (const char *)ns->prefix : "",
		ns && ns->prefix ? ":" : "", (const char *)name);
}

static void dump(xmlNodePtr node, const char *path)
{
	char here[512], at[600], attr[700];
	xmlChar *text;
	xmlAttrPtr attribute;
	for(; node != NULL; node = node->next){
		if(node->type != XML_ELEMENT_NODE)
			continue;
		snprintf(at, sizeof(at), "%s/", path);
		name_of(here, sizeof(here), at, node->ns, node->name);
		text = xmlNodeGetContent(node);
		printf("xml %s=", here);
		put((const char *)text);
		printf("\n");
		xmlFree(text);
		for(attribute = node->properties; attribute != NULL; attribute = attribute->next){
			snprintf(at, sizeof(at), "%s@", here);
			name_of(attr, sizeof(attr), at, attribute->ns, attribute->name);
			text = xmlNodeListGetString(node->doc, attribute->children, 1);
			printf("xml %s=", attr);
			put((const char *)text);
			printf("\n");
			xmlFree(text);
		}
		dump(node->children, here);
	}
}

/* Every element in the Header and the Body checked against schema.xsd, when there is one. */
static void validate(xmlNodePtr envelope)
{
	xmlNodePtr part, child;
	xmlSchemaValidCtxtPtr check;
	if(schema == NULL)
		return;
	for(part = envelope->children; part != NULL; part = part->next){
		for(child = part->type == XML_ELEMENT_NODE ? part->children : NULL; child != NULL; child = child->next){
			if(child->type != XML_ELEMENT_NODE)
				continue;
			check = xmlSchemaNewValidCtxt(schema);
			printf("valid %s=%d\n", (const char *)child->name, xmlSchemaValidateOneElement(check, child) == 0);
			xmlSchemaFreeValidCtxt(check);
		}
	}
}

static int peer;

/* Prints a send's result, then the message when one went out (got bytes of it in sent). */
static void show(int result, ssize_t got)
{
	const char *xml, *end;
	xmlDocPtr doc;

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
	validate(xmlDocGetRootElement(doc));
	xmlFreeDoc(doc);
}

/* Sends the packet and prints the result, then the message when one went out. */
static void report(demo_proto_trans_t *trans, demo_proto_packet_t *pk)
{
	int result = demo_proto_sendpacket(trans, pk, 7);

	show(result, recv(peer, sent, sizeof(sent) - 1, MSG_DONTWAIT));
}

/* As report, for a message larger than the socket pair holds: it goes to a connection whose peer
 * is gone, and what went is the copy the transport keeps of a message it sends whole (result 0
 * when there is one) */
static void report_kept(demo_proto_trans_t *trans, demo_proto_packet_t *pk)
{
	demo_proto_trans_t gone = *trans;
	ssize_t got = 0;
	int ends[2], result;

	if(socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
		exit(1);
	close(ends[1]);
	gone.socket = ends[0];
	gone.keep_sent = 1;
	result = demo_proto_sendpacket(&gone, pk, 7);
	if(gone.sent != NULL && gone.sent_length < sizeof(sent)){
		memcpy(sent, gone.sent, gone.sent_length);
		got = (ssize_t)gone.sent_length;
		result = 0;
	}
	free(gone.sent);
	close(ends[0]);
	show(result, got);
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
	if(access("schema.xsd", R_OK) == 0){
		xmlSchemaParserCtxtPtr reading = xmlSchemaNewParserCtxt("schema.xsd");
		schema = xmlSchemaParse(reading);
		xmlSchemaFreeParserCtxt(reading);
		printf("schema=%d\n", schema != NULL);
	}
@BODY@
	if(schema != NULL)
		xmlSchemaFree(schema);
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

class MessageSendersTest : public FixedTextsTest {
protected:
    void SetUp() override
    {
        GeneratorTest::SetUp();
        if (!canCompileC())
            GTEST_SKIP() << "no C compiler";
    }

    // schemas: files beside the program; the one named schema.xsd checks
    // every element sent in a Header or Body.
    std::vector<Sent> run(const std::string& document, const std::string& body,
                          const std::vector<std::pair<std::string, std::string>>& schemas = {})
    {
        view(document);
        emitHeader("demo");
        std::string program = Harness;
        program.replace(program.find("@BODY@"), 6, body);
        std::vector<std::pair<std::string, std::string>> files = {{"demo_api.h", headerText()},
                                                                  {"demo_api.c", emitPartialSource()}};
        files.insert(files.end(), schemas.begin(), schemas.end());
        const RunResult result = buildAndRunC(program, files, true);
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
	pk.msg.soap_fault.detail = "</detail>";
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
    EXPECT_TRUE(has(request.xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Add/a=-3"));
    EXPECT_TRUE(has(request.xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Add/b=2000000000"));
    EXPECT_TRUE(has(request.xml, "?attachment released=1"));

    const Sent& response = sends[1];
    expectFramed(response);
    EXPECT_EQ(0u, response.head.find("HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length:")) << response.head;
    EXPECT_TRUE(has(response.xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:AddResponse/sum=42"));

    expectFramed(sends[2]);
    EXPECT_EQ(0u, sends[2].head.find("HTTP/1.1 404 Not Found\r\n")) << sends[2].head;
    EXPECT_EQ("gone", sends[2].body);
    expectFramed(sends[3]);
    EXPECT_EQ(0u, sends[3].head.find("HTTP/1.1 500 Internal Server Error\r\n")) << "a fault goes out with 500";
    const std::string fault = "/SOAP-ENV:Envelope/SOAP-ENV:Body/SOAP-ENV:Fault/";
    EXPECT_TRUE(has(sends[3].xml, fault + "faultcode=SOAP-ENV:Server"));
    EXPECT_TRUE(has(sends[3].xml, fault + "faultstring=a < b & c"));
    EXPECT_TRUE(has(sends[3].xml, fault + "detail=</detail>"));
}

// A packet set to MTOM goes as a XOP package when it carries a SOAP
// message; an HTTP status answer (the 202 of an operation without a
// response) carries none and goes as it is, as a peer waits for it.
TEST_F(MessageSendersTest, AnMtomPacketsStatusAnswerGoesAsItIs)
{
    const std::vector<Sent> sends = run(wsdltest::calculator(), R"(
	fresh(&pk, DEMO_PROTO_ADD_RESPONSE);
	pk.msg.AddOut.sum = 42;
	pk.mtom = 1;
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_HTTP);
	pk.mtom = 1;
	pk.msg.http_msg.err_code = 202;
	strcpy(pk.msg.http_msg.err_code_string, "Accepted");
	report(&trans, &pk);
)");
    ASSERT_EQ(2u, sends.size());
    ASSERT_TRUE(sends[0].went);
    EXPECT_EQ(0u, headerValue(sends[0].head, "Content-Type").find(" multipart/related;")) << sends[0].head;
    expectFramed(sends[1]);
    EXPECT_EQ(0u, sends[1].head.find("HTTP/1.1 202 Accepted\r\n")) << sends[1].head;
    EXPECT_EQ(std::string::npos, sends[1].head.find("multipart")) << sends[1].head;
    EXPECT_EQ("", sends[1].body);
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
    EXPECT_EQ("\"\"", headerValue(request.head, "SOAPAction")) << "an empty soapAction is sent, quoted";
    EXPECT_TRUE(has(request.xml, "/SOAP-ENV:Envelope/SOAP-ENV:Header/ns1:Session=s\"1")) << request.body;
    EXPECT_TRUE(has(request.xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Quote/symbol=A&B<C>")) << request.body;
    EXPECT_TRUE(has(request.xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Quote/count=3"));
    EXPECT_FALSE(has(request.xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Session=s\"1")) << "the header part stays out of the body";

    expectFramed(sends[1]);
    EXPECT_TRUE(has(sends[1].xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Price=1.5")) << sends[1].body;

    EXPECT_EQ(0, sends[2].result) << "a type without a case";
    EXPECT_FALSE(sends[2].went);

    const std::string source = emitPartialSource();
    EXPECT_NE(std::string::npos, source.find("static int demo_QuoteOut_send("));
    EXPECT_EQ(source.find("case DEMO_PROTO_QUOTE:"), source.rfind("case DEMO_PROTO_QUOTE:"));
}

// A server answers with the packet it read: the request's header lines and
// boundary text stay behind, header lines added for the answer go out.
TEST_F(MessageSendersTest, AnswerFromAReadPacketLeavesTheRequestsHeadersBehind)
{
    const std::vector<Sent> sends = run(wsdltest::calculator(), R"(
	fresh(&pk, DEMO_PROTO_ADD_RESPONSE);
	demo_add_http_header(&pk, "Cookie", "secret");
	demo_add_http_header(&pk, "Authorization", "Basic eDp5");
	strcpy(pk.boundary_part, "--request-boundary\r\n");
	pk.http_headers_received = pk.http_headers_count;
	pk.boundary_received = 1;
	demo_add_http_header(&pk, "X-Answer", "yes");
	pk.msg.AddOut.sum = 5;
	report(&trans, &pk);
)");
    ASSERT_EQ(1u, sends.size());
    expectFramed(sends[0]);
    EXPECT_EQ(std::string::npos, sends[0].head.find("Cookie")) << sends[0].head;
    EXPECT_EQ(std::string::npos, sends[0].head.find("Authorization")) << sends[0].head;
    EXPECT_EQ(" yes", headerValue(sends[0].head, "X-Answer"));
    EXPECT_EQ(std::string::npos, sends[0].body.find("request-boundary")) << sends[0].body;
    EXPECT_TRUE(has(sends[0].xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:AddResponse/sum=5"));
}

TEST_F(MessageSendersTest, WhatDoesNotFitGivesMinusOneAndSendsNothing)
{
    const std::vector<Sent> sends = run(wsdltest::calculator(), R"(
	static char big[300000];
	char value[DEMO_MAX_HTTP_HEADER_VALUE_LEN + 1];
	int i;
	fresh(&pk, DEMO_PROTO_ADD);
	memset(big, 'x', sizeof(big));
	demo_set_attachment(&pk, big, sizeof(big));
	report_kept(&trans, &pk);
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
    // A message grows as it needs: the attachment far beyond the first block goes whole.
    EXPECT_EQ(0, sends[0].result);
    EXPECT_TRUE(sends[0].went);
    EXPECT_EQ(std::string(300000, 'x'), sends[0].body.substr(sends[0].body.size() - std::min<std::size_t>(sends[0].body.size(), 300000)));
    EXPECT_TRUE(has(sends[0].xml, "?attachment kept=0"));
    EXPECT_EQ(-1, sends[1].result);
    EXPECT_FALSE(sends[1].went);
    // Fields without a terminator are taken up to their size, never beyond.
    expectFramed(sends[2]);
    EXPECT_EQ(0u, sends[2].head.find("HTTP/1.1 404 " + std::string(33, 'e') + "\r\n"));
    EXPECT_EQ(std::string(241, 'b') + std::string(1025, 'm'), sends[2].body);
}

namespace {

const std::string Xsd = "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"";

// A document/literal service of one operation: GetQuote(In) -> Out, with
// the schemas given and the soap:header lines of its input.
std::string literalService(const std::string& schemas, const std::string& inParts, const std::string& outParts,
                           const std::string& headers = std::string())
{
    return wsdltest::definitions(
        "<types>" + schemas + "</types>\n"
        "<message name=\"In\">" + inParts + "</message>\n<message name=\"Out\">" + outParts + "</message>\n"
        "<portType name=\"P\"><operation name=\"GetQuote\"><input message=\"tns:In\"/><output message=\"tns:Out\"/>"
        "</operation></portType>\n"
        "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"document\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
        "<operation name=\"GetQuote\"><soap:operation soapAction=\"\"/><input><soap:body use=\"literal\" parts=\"body\"/>" +
        headers + "</input><output><soap:body use=\"literal\"/></output></operation></binding>\n");
}

// A schema of urn:t with qualified elements: the declarations and the
// element Price; and a service whose input is one of its elements.
std::string qualifiedSchema(const std::string& declarations)
{
    return "<xsd:schema targetNamespace=\"urn:t\" xmlns:tns=\"urn:t\" " + Xsd + " elementFormDefault=\"qualified\">" +
        declarations + "<xsd:element name=\"Price\" type=\"xsd:double\"/></xsd:schema>";
}

std::string serviceSending(const std::string& schema, const std::string& element)
{
    return literalService(schema, "<part name=\"body\" element=\"tns:" + element + "\"/>",
                          "<part name=\"p\" element=\"tns:Price\"/>");
}

// The quote schema of namespace urn:t with its element form default.
std::string quoteSchema(const std::string& form, const std::string& location = std::string())
{
    (void)location;
    return "<xsd:schema targetNamespace=\"urn:t\" xmlns:tns=\"urn:t\" " + Xsd + " elementFormDefault=\"" + form + "\">"
           "<xsd:complexType name=\"QuoteType\"><xsd:sequence><xsd:element name=\"symbol\" type=\"xsd:string\"/>"
           "<xsd:element name=\"count\" type=\"xsd:int\"/><xsd:element name=\"plain\" type=\"xsd:string\" form=\"unqualified\"/>"
           "<xsd:element name=\"when\" type=\"xsd:dateTime\" minOccurs=\"0\"/>"
           "</xsd:sequence><xsd:attribute name=\"currency\" type=\"xsd:string\"/></xsd:complexType>"
           "<xsd:element name=\"Quote\" type=\"tns:QuoteType\"/><xsd:element name=\"Price\" type=\"xsd:double\"/>"
           "<xsd:element name=\"Session\" type=\"xsd:string\"/><xsd:element name=\"Trace\" type=\"xsd:string\"/>"
           "</xsd:schema>";
}

const char* const QuoteParts = "<part name=\"body\" element=\"tns:Quote\"/>";

const char* const FillQuote = R"(
	fresh(&pk, DEMO_PROTO_QUOTE);
	strcpy(pk.msg.In.Quote.symbol, "IBM");
	pk.msg.In.Quote.count = 3;
	strcpy(pk.msg.In.Quote.plain, "p");
	strcpy(pk.msg.In.Quote.currency, "USD");
)";

// Two schemas: urn:b qualified, with one local element unqualified by its
// form; urn:t unqualified, holding a type and a global element of urn:b.
std::string twoNamespaceSchemas(bool withLocation)
{
    return "<xsd:schema targetNamespace=\"urn:b\" xmlns:b=\"urn:b\" " + Xsd + " elementFormDefault=\"qualified\">"
           "<xsd:complexType name=\"Money\"><xsd:sequence><xsd:element name=\"amount\" type=\"xsd:double\"/>"
           "<xsd:element name=\"code\" type=\"xsd:string\" form=\"unqualified\"/></xsd:sequence></xsd:complexType>"
           "<xsd:element name=\"Note\" type=\"xsd:string\"/></xsd:schema>"
           "<xsd:schema targetNamespace=\"urn:t\" xmlns:tns=\"urn:t\" xmlns:b=\"urn:b\" " + Xsd + ">"
           "<xsd:import namespace=\"urn:b\"" + std::string(withLocation ? " schemaLocation=\"b.xsd\"" : "") + "/>"
           "<xsd:complexType name=\"OrderType\"><xsd:sequence><xsd:element name=\"item\" type=\"xsd:string\"/>"
           "<xsd:element name=\"price\" type=\"b:Money\"/><xsd:element ref=\"b:Note\"/></xsd:sequence></xsd:complexType>"
           "<xsd:element name=\"Order\" type=\"tns:OrderType\"/><xsd:element name=\"Done\" type=\"xsd:boolean\"/>"
           "</xsd:schema>";
}

// The schema element of text that starts at the n-th "<xsd:schema".
std::string schemaAt(const std::string& text, int n)
{
    std::string::size_type at = 0;
    for (int i = 0; i <= n; ++i)
        at = text.find("<xsd:schema", i == 0 ? 0 : at + 1);
    return text.substr(at, text.find("</xsd:schema>", at) + 13 - at);
}

// An rpc service: operations echo and again share the messages EchoIn and
// EchoOut; the soap:body namespace is urn:rpc; use is literal or encoded.
std::string rpcService(const std::string& use, const std::string& types, const std::string& inParts,
                       const std::string& outParts)
{
    const std::string body = "<soap:body use=\"" + use + "\" namespace=\"urn:rpc\"" +
        (use == "encoded" ? " encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"" : "") + "/>";
    std::string operations;
    for (const char* name : {"echo", "again"}) {
        operations += "<operation name=\"" + std::string(name) + "\"><soap:operation soapAction=\"urn:" + name +
            "\" style=\"rpc\"/><input>" + body + "</input><output>" + body + "</output></operation>";
    }
    return wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\" xmlns:tns=\"urn:t\" " + Xsd +
        " xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\" xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\">"
        "<xsd:import namespace=\"http://schemas.xmlsoap.org/soap/encoding/\"/>"
        "<xsd:complexType name=\"SOAPStruct\"><xsd:sequence><xsd:element name=\"varString\" type=\"xsd:string\"/>"
        "<xsd:element name=\"varInt\" type=\"xsd:int\"/></xsd:sequence></xsd:complexType>" + types +
        "</xsd:schema></types>\n"
        "<message name=\"EchoIn\">" + inParts + "</message>\n<message name=\"EchoOut\">" + outParts + "</message>\n"
        "<portType name=\"P\"><operation name=\"echo\"><input message=\"tns:EchoIn\"/><output message=\"tns:EchoOut\"/>"
        "</operation><operation name=\"again\"><input message=\"tns:EchoIn\"/><output message=\"tns:EchoOut\"/>"
        "</operation></portType>\n"
        "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"rpc\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>" +
        operations + "</binding>\n");
}

struct EnvelopeCase {
    const char* name;
    std::string document;
    std::string program;
    std::vector<std::pair<std::string, std::string>> schemas;
    std::vector<std::string> expected; // lines of the first message read back ("?valid ..." for checks)
    std::vector<std::string> absent;   // lines it must not have
};

} // namespace

// Every element stands in the namespace its schema gives it and is
// qualified as the schema's forms say; rpc parts are accessors named after
// the parts inside the operation's element of the soap:body namespace;
// rpc/encoded values say their types and arrays their items; every header
// part goes into the Header. Literal messages pass libxml2's schema check.
TEST_F(MessageSendersTest, EnvelopesFollowTheSchemasAndTheBinding)
{
    const std::string env = "/SOAP-ENV:Envelope/";
    const std::string body = env + "SOAP-ENV:Body/";
    const std::vector<EnvelopeCase> cases = {
        {"qualified children, unqualified attribute and form",
         literalService(quoteSchema("qualified"), QuoteParts, "<part name=\"p\" element=\"tns:Price\"/>"),
         std::string(FillQuote) + "\treport(&trans, &pk);\n",
         {{"schema.xsd", quoteSchema("qualified")}},
         {body + "ns1:Quote/ns1:symbol=IBM", body + "ns1:Quote/ns1:count=3", body + "ns1:Quote/plain=p",
          body + "ns1:Quote@currency=USD", "?valid Quote=1"},
         {"?valid Quote=0"}},
        {"unqualified children",
         literalService(quoteSchema("unqualified"), QuoteParts, "<part name=\"p\" element=\"tns:Price\"/>"),
         std::string(FillQuote) + "\treport(&trans, &pk);\n",
         {{"schema.xsd", quoteSchema("unqualified")}},
         {body + "ns1:Quote/symbol=IBM", body + "ns1:Quote/count=3", "?valid Quote=1"},
         {}},
        {"two schema namespaces",
         literalService(twoNamespaceSchemas(false), "<part name=\"body\" element=\"tns:Order\"/>",
                        "<part name=\"p\" element=\"tns:Done\"/>"),
         R"(
	fresh(&pk, DEMO_PROTO_ORDER);
	strcpy(pk.msg.In.Order.item, "tea");
	pk.msg.In.Order.price.amount = 1.5;
	strcpy(pk.msg.In.Order.price.code, "EUR");
	strcpy(pk.msg.In.Order.Note, "hot");
	report(&trans, &pk);
)",
         {{"schema.xsd", schemaAt(twoNamespaceSchemas(true), 1)}, {"b.xsd", schemaAt(twoNamespaceSchemas(true), 0)}},
         {body + "ns2:Order/item=tea", body + "ns2:Order/price/ns1:amount=1.5", body + "ns2:Order/price/code=EUR",
          body + "ns2:Order/ns1:Note=hot", "?valid Order=1"},
         {}},
        {"every header part in the Header",
         literalService(quoteSchema("qualified"),
                        std::string(QuoteParts) + "<part name=\"auth\" element=\"tns:Session\"/>"
                                                  "<part name=\"trace\" element=\"tns:Trace\"/>",
                        "<part name=\"p\" element=\"tns:Price\"/>",
                        "<soap:header message=\"tns:In\" part=\"auth\" use=\"literal\"/>"
                        "<soap:header message=\"tns:In\" part=\"trace\" use=\"literal\"/>"
                        "<soap:header message=\"tns:Out\" part=\"p\" use=\"literal\"/>"),
         std::string(FillQuote) + "\tstrcpy(pk.Session, \"s1\");\n\tstrcpy(pk.msg.In.Trace.Trace, \"t1\");\n"
                                  "\tpk.Price = 2.5;\n\treport(&trans, &pk);\n",
         {{"schema.xsd", quoteSchema("qualified")}},
         {env + "SOAP-ENV:Header/ns1:Session=s1", env + "SOAP-ENV:Header/ns1:Trace=t1",
          env + "SOAP-ENV:Header/ns1:Price=2.5", "?valid Session=1", "?valid Trace=1", "?valid Price=1",
          "?valid Quote=1"},
         {body + "ns1:Trace=t1", body + "ns1:Session=s1"}},
        {"rpc/literal: wrapper in the body namespace, accessors named after the parts",
         rpcService("literal", "", "<part name=\"param0\" type=\"tns:SOAPStruct\"/><part name=\"n\" type=\"xsd:int\"/>",
                    "<part name=\"return\" type=\"tns:SOAPStruct\"/>"),
         R"(
	fresh(&pk, DEMO_PROTO_ECHO);
	strcpy(pk.msg.EchoIn.param0.varString, "v");
	pk.msg.EchoIn.param0.varInt = 7;
	pk.msg.EchoIn.n = 2;
	report(&trans, &pk);
)",
         {},
         {body + "ns2:echo/param0/varString=v", body + "ns2:echo/param0/varInt=7", body + "ns2:echo/n=2"},
         {body + "ns2:echo/n@xsi:type=xsd:int", "/SOAP-ENV:Envelope@SOAP-ENV:encodingStyle"}},
        {"rpc/encoded: xsi:type on every value but array items, arrays with their item type and count",
         rpcService("encoded",
                    "<xsd:complexType name=\"ArrayOfstring\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
                    "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:string[]\"/></xsd:restriction>"
                    "</xsd:complexContent></xsd:complexType>"
                    "<xsd:complexType name=\"ArrayOfSOAPStruct\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
                    "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"tns:SOAPStruct[]\"/></xsd:restriction>"
                    "</xsd:complexContent></xsd:complexType>",
                    "<part name=\"strings\" type=\"tns:ArrayOfstring\"/><part name=\"structs\" type=\"tns:ArrayOfSOAPStruct\"/>"
                    "<part name=\"n\" type=\"xsd:int\"/>",
                    "<part name=\"return\" type=\"tns:ArrayOfstring\"/>"),
         R"(
	fresh(&pk, DEMO_PROTO_ECHO);
	pk.msg.EchoIn.strings.ArrayOfstring = calloc(2, sizeof(*pk.msg.EchoIn.strings.ArrayOfstring));
	strcpy(pk.msg.EchoIn.strings.ArrayOfstring[0], "one");
	strcpy(pk.msg.EchoIn.strings.ArrayOfstring[1], "two");
	pk.msg.EchoIn.strings.ArrayOfstring_count = 2;
	pk.msg.EchoIn.structs.ArrayOfSOAPStruct = calloc(1, sizeof(*pk.msg.EchoIn.structs.ArrayOfSOAPStruct));
	strcpy(pk.msg.EchoIn.structs.ArrayOfSOAPStruct[0].varString, "s");
	pk.msg.EchoIn.structs.ArrayOfSOAPStruct_count = 1;
	pk.msg.EchoIn.n = 4;
	report(&trans, &pk);
	free(pk.msg.EchoIn.strings.ArrayOfstring);
	free(pk.msg.EchoIn.structs.ArrayOfSOAPStruct);
)",
         {},
         {body + "ns2:echo@SOAP-ENV:encodingStyle=http://schemas.xmlsoap.org/soap/encoding/",
          body + "ns2:echo/strings@xsi:type=ns1:ArrayOfstring", body + "ns2:echo/strings@SOAP-ENC:arrayType=xsd:string[2]",
          body + "ns2:echo/strings/item=one", body + "ns2:echo/strings/item=two",
          body + "ns2:echo/structs@SOAP-ENC:arrayType=ns1:SOAPStruct[1]", body + "ns2:echo/structs/SOAPStruct/varString=s",
          body + "ns2:echo/structs/SOAPStruct/varInt@xsi:type=xsd:int", body + "ns2:echo/n@xsi:type=xsd:int"},
         // The arrayType states the items' type: they repeat it no more.
         {"/SOAP-ENV:Envelope@SOAP-ENV:encodingStyle", body + "ns2:echo/strings/item@xsi:type",
          body + "ns2:echo/structs/SOAPStruct@xsi:type"}},
        {"rpc/encoded: items of xsd:anyType keep their xsi:type, which their array does not narrow",
         rpcService("encoded",
                    "<xsd:complexType name=\"ArrayOfany\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
                    "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:anyType[]\"/></xsd:restriction>"
                    "</xsd:complexContent></xsd:complexType>",
                    "<part name=\"anys\" type=\"tns:ArrayOfany\"/>", "<part name=\"return\" type=\"xsd:int\"/>"),
         R"(
	static char *anys[] = {"v"};
	fresh(&pk, DEMO_PROTO_ECHO);
	pk.msg.EchoIn.anys.ArrayOfany = anys;
	pk.msg.EchoIn.anys.ArrayOfany_count = 1;
	report(&trans, &pk);
)",
         {},
         {body + "ns2:echo/anys@SOAP-ENC:arrayType=xsd:anyType[1]", body + "ns2:echo/anys/item=v",
          body + "ns2:echo/anys/item@xsi:type=xsd:anyType"},
         {}},
        {"a body far beyond the first block goes whole, every text escaped",
         rpcService("encoded",
                    "<xsd:complexType name=\"ArrayOfstring\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
                    "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:string[]\"/></xsd:restriction>"
                    "</xsd:complexContent></xsd:complexType>",
                    "<part name=\"strings\" type=\"tns:ArrayOfstring\"/>", "<part name=\"return\" type=\"tns:ArrayOfstring\"/>"),
         R"(
	{
		int i;
		fresh(&pk, DEMO_PROTO_ECHO);
		pk.msg.EchoIn.strings.ArrayOfstring = calloc(3000, sizeof(*pk.msg.EchoIn.strings.ArrayOfstring));
		for(i = 0; i < 3000; i++)
			sprintf(pk.msg.EchoIn.strings.ArrayOfstring[i], "w%d <&> \xc3\xa9t\xc3\xa9 '\"", i);
		pk.msg.EchoIn.strings.ArrayOfstring_count = 3000;
		report_kept(&trans, &pk);
		free(pk.msg.EchoIn.strings.ArrayOfstring);
	}
)",
         {},
         {body + "ns2:echo/strings@SOAP-ENC:arrayType=xsd:string[3000]", body + "ns2:echo/strings/item=w0 <&> \xc3\xa9t\xc3\xa9 '\"",
          body + "ns2:echo/strings/item=w1500 <&> \xc3\xa9t\xc3\xa9 '\"",
          body + "ns2:echo/strings/item=w2999 <&> \xc3\xa9t\xc3\xa9 '\""},
         {}},
    };
    for (const EnvelopeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Sent> sends = run(c.document, c.program, c.schemas);
        ASSERT_FALSE(sends.empty());
        const Sent& sent = sends.front();
        expectFramed(sent);
        for (const std::string& line : c.expected)
            EXPECT_TRUE(has(sent.xml, line)) << line << "\n" << sent.body;
        for (const std::string& line : c.absent) {
            for (const std::string& got : sent.xml)
                EXPECT_NE(0u, got.find(line)) << line << "\n" << sent.body;
        }
        EXPECT_EQ(std::string::npos, sent.body.find("<>")) << "an element without a name";
        EXPECT_EQ(std::string::npos, sent.body.find(" =\"")) << "an attribute without a name";
    }
}

// A message shared by operations goes out as the operation the packet's
// message type names: its wrapper, its soapAction.
TEST_F(MessageSendersTest, SharedMessagesTakeTheOperationOfTheMessageType)
{
    const std::vector<Sent> sends =
        run(rpcService("literal", "", "<part name=\"n\" type=\"xsd:int\"/>", "<part name=\"m\" type=\"xsd:int\"/>"), R"(
	fresh(&pk, DEMO_PROTO_AGAIN);
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_ECHO);
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_AGAIN_RESPONSE);
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_ECHO_RESPONSE);
	report(&trans, &pk);
)");
    ASSERT_EQ(4u, sends.size());
    const std::string body = "/SOAP-ENV:Envelope/SOAP-ENV:Body/";
    EXPECT_TRUE(has(sends[0].xml, body + "ns2:again/n=0")) << sends[0].body;
    EXPECT_EQ("\"urn:again\"", headerValue(sends[0].head, "SOAPAction"));
    EXPECT_TRUE(has(sends[1].xml, body + "ns2:echo/n=0")) << sends[1].body;
    EXPECT_EQ("\"urn:echo\"", headerValue(sends[1].head, "SOAPAction"));
    EXPECT_TRUE(has(sends[2].xml, body + "ns2:againResponse/m=0")) << sends[2].body;
    EXPECT_TRUE(has(sends[3].xml, body + "ns2:echoResponse/m=0")) << sends[3].body;
    for (const Sent& sent : sends) {
        expectFramed(sent);
        EXPECT_EQ(" text/xml; charset=utf-8", headerValue(sent.head, "Content-Type"));
    }
}

// A body element that is one operation's request and another's response
// goes out the way the packet's direction says (the first use's when it
// says none): the start line, the soapAction and, where the two ways are
// different messages, the message of that way.
TEST_F(MessageSendersTest, AKindSentBothWaysGoesTheWayThePacketSays)
{
    const std::vector<Sent> sends =
        run(testsupport::readBytes(KELVANE_SOURCE_DIR "/tests/generator/emit/data/demo/twoway.wsdl"), R"(
	fresh(&pk, DEMO_PROTO_QUOTE);
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_QUOTE);
	pk.msg_direction = DEMO_DIRECTION_RESPONSE;
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_ACK);
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_ACK);
	pk.msg_direction = DEMO_DIRECTION_REQUEST;
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_NOTE);
	strcpy(pk.msg.NoteIn.note.body, "in");
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_NOTE);
	pk.msg_direction = DEMO_DIRECTION_RESPONSE;
	strcpy(pk.msg.NoteOut.note.body, "out");
	strcpy(pk.msg.NoteOut.stamp.stamp, "2001-02-03T04:05:06");
	report(&trans, &pk);
)");
    const struct {
        const char* start;
        const char* action;
        const char* element;
    } expected[] = {
        {"POST /svc HTTP/1.1", "\"urn:twoway#Ask\"", "ns1:quote/ns1:text="},
        {"HTTP/1.1 200 OK", "\"urn:twoway#Turn\"", "ns1:quote/ns1:text="},
        {"HTTP/1.1 200 OK", "\"urn:twoway#Ask\"", "ns1:ack=0"},
        {"POST /svc HTTP/1.1", "\"urn:twoway#Fetch\"", "ns1:ack=0"},
        {"POST /svc HTTP/1.1", "\"urn:twoway#Turn\"", "ns1:note/ns1:body=in"},
        {"HTTP/1.1 200 OK", "\"urn:twoway#Fetch\"", "ns1:stamp=2001-02-03T04:05:06"},
    };
    ASSERT_EQ(std::size(expected), sends.size());
    for (std::size_t i = 0; i < sends.size(); ++i) {
        SCOPED_TRACE(i);
        expectFramed(sends[i]);
        EXPECT_EQ(0u, sends[i].head.find(expected[i].start)) << sends[i].head;
        EXPECT_EQ(expected[i].action, headerValue(sends[i].head, "SOAPAction"));
        EXPECT_TRUE(has(sends[i].xml, std::string("/SOAP-ENV:Envelope/SOAP-ENV:Body/") + expected[i].element))
            << sends[i].body;
    }
    // Only Ask's request carries the session header.
    EXPECT_NE(std::string::npos, sends[0].body.find("session"));
    EXPECT_EQ(std::string::npos, sends[1].body.find("session"));
}

// Text XML cannot carry is refused and nothing is sent; line ends and tabs
// that a reader would change are written as references and read back as
// they were.
TEST_F(MessageSendersTest, TextXmlCannotCarryIsRefusedAndLineEndsSurvive)
{
    const std::vector<Sent> sends =
        run(literalService(quoteSchema("qualified"), QuoteParts, "<part name=\"p\" element=\"tns:Price\"/>"),
            std::string(FillQuote) + R"(
	strcpy(pk.msg.In.Quote.symbol, "a\001b");
	report(&trans, &pk);
	strcpy(pk.msg.In.Quote.symbol, "\303\050");
	report(&trans, &pk);
	strcpy(pk.msg.In.Quote.symbol, "\355\240\200");
	report(&trans, &pk);
	strcpy(pk.msg.In.Quote.symbol, "ok");
	strcpy(pk.msg.In.Quote.currency, "a\033");
	report(&trans, &pk);
	strcpy(pk.msg.In.Quote.symbol, "l1\r\nl2\tt \303\251\360\237\230\200");
	strcpy(pk.msg.In.Quote.currency, "a\tb\nc\rd");
	report(&trans, &pk);
)");
    ASSERT_EQ(5u, sends.size());
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(-1, sends[i].result) << i;
        EXPECT_FALSE(sends[i].went) << i;
    }
    const Sent& kept = sends[4];
    expectFramed(kept);
    const std::string quote = "/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Quote";
    EXPECT_TRUE(has(kept.xml, quote + "/ns1:symbol=l1\\r\\nl2\\tt \xc3\xa9\xf0\x9f\x98\x80")) << kept.body;
    EXPECT_TRUE(has(kept.xml, quote + "@currency=a\\tb\\nc\\rd")) << kept.body;
}

// Wildcards: an anyAttribute names nothing and is not written; an xsd:any
// member's text is the markup of the elements it stands for.
TEST_F(MessageSendersTest, WildcardsWriteNoNamelessElementOrAttribute)
{
    const std::string schema = qualifiedSchema(
        "<xsd:complexType name=\"Open\"><xsd:sequence><xsd:element name=\"known\" type=\"xsd:string\"/>"
        "<xsd:any processContents=\"lax\"/></xsd:sequence><xsd:anyAttribute processContents=\"lax\"/></xsd:complexType>"
        "<xsd:element name=\"Bag\" type=\"tns:Open\"/>");
    const std::vector<Sent> sends =
        run(serviceSending(schema, "Bag"),
            "\tfresh(&pk, DEMO_PROTO_BAG);\n\tstrcpy(pk.msg.In.Bag.known, \"k\");\n"
            "\tstrcpy(pk.msg.In.Bag._, \"a=\\\"1\\\"\");\n\tpk.msg.In.Bag.__2 = (char *)\"<x a=\\\"1\\\">one</x>\";\n"
            "\treport(&trans, &pk);\n\tpk.msg.In.Bag.__2 = (char *)\"<x>\\001</x>\";\n\treport(&trans, &pk);\n",
            {{"schema.xsd", schema}});
    ASSERT_EQ(2u, sends.size());
    expectFramed(sends[0]);
    EXPECT_TRUE(has(sends[0].xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Bag/ns1:known=k")) << sends[0].body;
    EXPECT_TRUE(has(sends[0].xml, "/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Bag/x@a=1")) << sends[0].body;
    EXPECT_TRUE(has(sends[0].xml, "?valid Bag=1"));
    EXPECT_EQ(-1, sends[1].result) << "markup is checked like text";
    EXPECT_FALSE(sends[1].went);
    EXPECT_EQ(std::string::npos, sends[0].body.find("<>")) << sends[0].body;
    EXPECT_EQ(std::string::npos, sends[0].body.find(" =\"")) << sends[0].body;
}

// Values go out as XML Schema reads them: an optional text not marked
// present is left out (an empty dateTime is no dateTime), infinities and NaN are
// spelt INF, -INF and NaN.
TEST_F(MessageSendersTest, ValuesAreWrittenAsTheSchemaReadsThem)
{
    const std::vector<Sent> sends =
        run(literalService(quoteSchema("qualified"), QuoteParts, "<part name=\"p\" element=\"tns:Price\"/>"),
            std::string(FillQuote) + R"(
	report(&trans, &pk);
	strcpy(pk.msg.In.Quote.when, "2024-01-02T03:04:05Z");
	pk.msg.In.Quote.when_present = 1;
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_PRICE);
	pk.msg.Out.Price.Price = 1.0 / 0.0;
	report(&trans, &pk);
	pk.msg.Out.Price.Price = -1.0 / 0.0;
	report(&trans, &pk);
	pk.msg.Out.Price.Price = 0.0 / 0.0;
	report(&trans, &pk);
)",
            {{"schema.xsd", quoteSchema("qualified")}});
    ASSERT_EQ(5u, sends.size());
    const std::string quote = "/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Quote/ns1:when";
    EXPECT_EQ(std::string::npos, sends[0].body.find("when")) << sends[0].body;
    EXPECT_TRUE(has(sends[1].xml, quote + "=2024-01-02T03:04:05Z")) << sends[1].body;
    const char* const spelt[] = {"INF", "-INF", "NaN"};
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(has(sends[2 + i].xml, std::string("/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Price=") + spelt[i]))
            << sends[2 + i].body;
    for (const Sent& sent : sends) {
        expectFramed(sent);
        EXPECT_FALSE(has(sent.xml, "?valid Quote=0")) << sent.body;
        EXPECT_FALSE(has(sent.xml, "?valid Price=0")) << sent.body;
    }
}

// Of a choice one element goes out: the first branch marked present, even
// a later one while an earlier holds a value; the schema check passes.
TEST_F(MessageSendersTest, ChoicesWriteOneAlternative)
{
    const std::string schema = qualifiedSchema(
        "<xsd:complexType name=\"Pair\"><xsd:sequence><xsd:element name=\"x\" type=\"xsd:int\"/></xsd:sequence>"
        "</xsd:complexType><xsd:complexType name=\"Pick\"><xsd:choice><xsd:element name=\"name\" type=\"xsd:string\"/>"
        "<xsd:element name=\"number\" type=\"xsd:int\"/><xsd:element name=\"pair\" type=\"tns:Pair\"/>"
        "</xsd:choice></xsd:complexType><xsd:element name=\"Choose\" type=\"tns:Pick\"/>");
    const std::vector<Sent> sends =
        run(serviceSending(schema, "Choose"),
            R"(
	fresh(&pk, DEMO_PROTO_CHOOSE);
	pk.msg.In.Choose.name_present = 1;
	report(&trans, &pk);
	pk.msg.In.Choose.name_present = 0;
	pk.msg.In.Choose.number = 5;
	pk.msg.In.Choose.number_present = 1;
	report(&trans, &pk);
	pk.msg.In.Choose.number_present = 0;
	pk.msg.In.Choose.pair.x = 3;
	pk.msg.In.Choose.pair_present = 1;
	report(&trans, &pk);
	strcpy(pk.msg.In.Choose.name, "n");
	pk.msg.In.Choose.name_present = 1;
	report(&trans, &pk);
)",
            {{"schema.xsd", schema}});
    ASSERT_EQ(4u, sends.size());
    const std::string choose = "/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Choose";
    const char* const chosen[] = {"/ns1:name=", "/ns1:number=5", "/ns1:pair/ns1:x=3", "/ns1:name=n"};
    for (std::size_t i = 0; i < 4; ++i) {
        expectFramed(sends[i]);
        EXPECT_TRUE(has(sends[i].xml, choose + chosen[i])) << sends[i].body;
        EXPECT_TRUE(has(sends[i].xml, "?valid Choose=1")) << sends[i].body;
    }
}

namespace {

// The calculator with a SOAP 1.2 binding of its port type beside the SOAP
// 1.1 one, each at a port of its own.
std::string mixedCalculator()
{
    const std::string soap12 = wsdltest::asSoap12Binding(wsdltest::calculatorBinding("rpc", "literal"), "CalcSoap", "CalcSoap12");
    return wsdltest::definitions(wsdltest::calculatorMessages() + wsdltest::calculatorPortType() +
                                     wsdltest::calculatorBinding("rpc", "literal") + soap12 +
                                     "<service name=\"S\"><port name=\"P11\" binding=\"tns:CalcSoap\"><soap:address "
                                     "location=\"http://h/11\"/></port><port name=\"P12\" binding=\"tns:CalcSoap12\">"
                                     "<soap12:address location=\"http://h/12\"/></port></service>\n",
                                 " xmlns:soap12=\"http://schemas.xmlsoap.org/wsdl/soap12/\"");
}

} // namespace

// A packet's SOAP version picks the envelope, the Content-Type and where the
// action goes; a fault goes in its version's form and status, but a version
// mismatch, which goes in SOAP 1.1's envelope with the envelopes understood.
TEST_F(MessageSendersTest, Soap12MessagesAndFaultsGoInTheirVersionsForm)
{
    const std::vector<Sent> sends = run(mixedCalculator(), R"(
	fresh(&pk, DEMO_PROTO_ADD);
	pk.soap_version = DEMO_SOAP_1_2;
	pk.msg.AddIn.a = 4;
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_ADD);
	pk.msg.AddIn.a = 5;
	report(&trans, &pk);
	fresh(&pk, DEMO_PROTO_ADD_RESPONSE);
	pk.soap_version = DEMO_SOAP_1_2;
	pk.msg.AddOut.sum = 9;
	report(&trans, &pk);
	/* each fault: its version (0: the default), code, subcode with its namespace, language and text */
	static const struct{ int version; const char *code, *subcode, *subcode_ns, *lang, *text; } faults[] = {
		{DEMO_SOAP_1_2, "SOAP-ENV:Client.Input", "SOAP-ENV:Sender", "", "", "a < b"},
		{DEMO_SOAP_1_2, "tns:OwnCode", "", "", "de", "kaputt"},
		{DEMO_SOAP_1_2, "SOAP-ENV:VersionMismatch", "", "", "", "SOAP 1.1 only"},
		{0, "SOAP-ENV:Client", "", "", "", "bad"},
		{DEMO_SOAP_1_2, "SOAP-ENV:Receiver", "app:Busy", "urn:app", "", "busy"},
		{DEMO_SOAP_1_2, "SOAP-ENV:Receiver", "app:Gone", "", "", "gone"},
	};
	size_t f;
	for(f = 0; f < sizeof(faults) / sizeof(faults[0]); f++){
		fresh(&pk, DEMO_PROTO_SOAP_FAULT);
		pk.soap_version = faults[f].version;
		strcpy(pk.msg.soap_fault.faultcode, faults[f].code);
		strcpy(pk.msg.soap_fault.subcode, faults[f].subcode);
		strcpy(pk.msg.soap_fault.subcode_ns, faults[f].subcode_ns);
		strcpy(pk.msg.soap_fault.lang, faults[f].lang);
		strcpy(pk.msg.soap_fault.faultstring, faults[f].text);
		report(&trans, &pk);
		printf("fault sent as SOAP %d\n", pk.soap_version);
	}
)");
    ASSERT_EQ(9u, sends.size());
    const std::string env11 = "xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\"";
    const std::string env12 = "xmlns:SOAP-ENV=\"http://www.w3.org/2003/05/soap-envelope\"";
    const struct {
        const char* what;
        const char* status; // the head's first line
        const char* contentType;
        const char* soapAction;
        bool soap12;
        std::vector<std::string> xml;
    } expected[] = {
        {"1.2 request", "POST /svc HTTP/1.1", " application/soap+xml; charset=utf-8; action=\"urn:add\"", "-", true,
         {"/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Add/a=4"}},
        {"1.1 request", "POST /svc HTTP/1.1", " text/xml; charset=utf-8", "\"urn:add\"", false,
         {"/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Add/a=5"}},
        {"1.2 response", "HTTP/1.1 200 OK", " application/soap+xml; charset=utf-8", "-", true,
         {"/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:AddResponse/sum=9"}},
        {"1.2 Sender fault", "HTTP/1.1 400 Bad Request", " application/soap+xml; charset=utf-8", "-", true,
         {"/SOAP-ENV:Envelope/SOAP-ENV:Body/SOAP-ENV:Fault/SOAP-ENV:Code/SOAP-ENV:Value=SOAP-ENV:Sender",
          "/SOAP-ENV:Envelope/SOAP-ENV:Body/SOAP-ENV:Fault/SOAP-ENV:Code/SOAP-ENV:Subcode/SOAP-ENV:Value=SOAP-ENV:Sender",
          "/SOAP-ENV:Envelope/SOAP-ENV:Body/SOAP-ENV:Fault/SOAP-ENV:Reason/SOAP-ENV:Text=a < b",
          "/SOAP-ENV:Envelope/SOAP-ENV:Body/SOAP-ENV:Fault/SOAP-ENV:Reason/SOAP-ENV:Text@xml:lang=en",
          "?fault sent as SOAP 12"}},
        {"1.2 fault of another code", "HTTP/1.1 500 Internal Server Error", " application/soap+xml; charset=utf-8", "-",
         true,
         {"/SOAP-ENV:Envelope/SOAP-ENV:Body/SOAP-ENV:Fault/SOAP-ENV:Code/SOAP-ENV:Value=SOAP-ENV:Receiver",
          "/SOAP-ENV:Envelope/SOAP-ENV:Body/SOAP-ENV:Fault/SOAP-ENV:Reason/SOAP-ENV:Text@xml:lang=de",
          "?fault sent as SOAP 12"}},
        {"version mismatch", "HTTP/1.1 500 Internal Server Error", " text/xml; charset=utf-8", "-", false,
         {"/SOAP-ENV:Envelope/SOAP-ENV:Header/upg:Upgrade/upg:SupportedEnvelope@qname=ns1:Envelope",
          "/SOAP-ENV:Envelope/SOAP-ENV:Body/SOAP-ENV:Fault/faultcode=SOAP-ENV:VersionMismatch",
          "?fault sent as SOAP 11"}},
        {"1.1 fault", "HTTP/1.1 500 Internal Server Error", " text/xml; charset=utf-8", "-", false,
         {"/SOAP-ENV:Envelope/SOAP-ENV:Body/SOAP-ENV:Fault/faultcode=SOAP-ENV:Client", "?fault sent as SOAP 11"}},
        // A subcode's prefix is declared with the namespace given; without one it goes unprefixed.
        {"1.2 subcode of a namespace", "HTTP/1.1 500 Internal Server Error", " application/soap+xml; charset=utf-8", "-",
         true,
         {"/SOAP-ENV:Envelope/SOAP-ENV:Body/SOAP-ENV:Fault/SOAP-ENV:Code/SOAP-ENV:Subcode/SOAP-ENV:Value=app:Busy",
          "!<SOAP-ENV:Subcode><SOAP-ENV:Value xmlns:app=\"urn:app\">app:Busy</SOAP-ENV:Value></SOAP-ENV:Subcode>"}},
        {"1.2 subcode of an undeclared prefix", "HTTP/1.1 500 Internal Server Error",
         " application/soap+xml; charset=utf-8", "-", true,
         {"/SOAP-ENV:Envelope/SOAP-ENV:Body/SOAP-ENV:Fault/SOAP-ENV:Code/SOAP-ENV:Subcode/SOAP-ENV:Value=Gone",
          "!<SOAP-ENV:Subcode><SOAP-ENV:Value>Gone</SOAP-ENV:Value></SOAP-ENV:Subcode>"}},
    };
    for (std::size_t i = 0; i < sends.size(); ++i) {
        SCOPED_TRACE(expected[i].what);
        const Sent& sent = sends[i];
        EXPECT_EQ(0, sent.result);
        expectFramed(sent);
        EXPECT_EQ(0u, sent.head.find(std::string(expected[i].status) + "\r\n")) << sent.head;
        EXPECT_EQ(expected[i].contentType, headerValue(sent.head, "Content-Type"));
        EXPECT_EQ(expected[i].soapAction, headerValue(sent.head, "SOAPAction"));
        EXPECT_NE(sent.body.find(expected[i].soap12 ? env12 : env11), std::string::npos) << sent.body;
        // "!" marks markup the body holds as it is.
        for (const std::string& line : expected[i].xml) {
            if (line[0] == '!') {
                EXPECT_NE(sent.body.find(line.substr(1)), std::string::npos) << line << "\n" << sent.body;
            } else {
                EXPECT_TRUE(has(sent.xml, line)) << line;
            }
        }
    }
    // The Upgrade block names SOAP 1.2's envelope first, then SOAP 1.1's.
    EXPECT_LT(sends[5].body.find("ns1=\"http://www.w3.org/2003/05/soap-envelope\""),
              sends[5].body.find("ns2=\"http://schemas.xmlsoap.org/soap/envelope/\""));
}

namespace {

// Echo (a SOAP array of texts, a struct holding another, an int) rpc/encoded
// by a SOAP 1.1 binding and by a SOAP 1.2 one with an action of its own.
std::string encodedOfBothVersions()
{
    const std::string binding =
        "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"rpc\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
        "<operation name=\"Echo\"><soap:operation soapAction=\"urn:echo\"/>"
        "<input><soap:body use=\"encoded\" namespace=\"urn:t\" encodingStyle=\"@ENC@\"/></input>"
        "<output><soap:body use=\"encoded\" namespace=\"urn:t\" encodingStyle=\"@ENC@\"/></output>"
        "</operation></binding>\n";
    std::string soap11 = binding, soap12 = wsdltest::asSoap12Binding(binding, "B", "B12");
    soap11.replace(soap11.find("@ENC@"), 5, "http://schemas.xmlsoap.org/soap/encoding/");
    soap11.replace(soap11.find("@ENC@"), 5, "http://schemas.xmlsoap.org/soap/encoding/");
    soap12.replace(soap12.find("@ENC@"), 5, "http://www.w3.org/2003/05/soap-encoding");
    soap12.replace(soap12.find("@ENC@"), 5, "http://www.w3.org/2003/05/soap-encoding");
    soap12.replace(soap12.find("urn:echo"), 8, "urn:echo12");
    return wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\" xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\" "
        "xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\">"
        "<xsd:import namespace=\"http://schemas.xmlsoap.org/soap/encoding/\"/>"
        "<xsd:complexType name=\"WordArray\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
        "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:string[]\"/></xsd:restriction></xsd:complexContent>"
        "</xsd:complexType>"
        "<xsd:complexType name=\"Pair\"><xsd:sequence><xsd:element name=\"label\" type=\"xsd:string\"/>"
        "<xsd:element name=\"more\" type=\"tns:WordArray\"/></xsd:sequence></xsd:complexType></xsd:schema></types>\n"
        "<message name=\"EchoIn\"><part name=\"words\" type=\"tns:WordArray\"/><part name=\"pair\" type=\"tns:Pair\"/>"
        "<part name=\"n\" type=\"xsd:int\"/></message>"
        "<message name=\"EchoOut\"><part name=\"return\" type=\"xsd:int\"/></message>"
        "<portType name=\"P\"><operation name=\"Echo\"><input message=\"tns:EchoIn\"/><output message=\"tns:EchoOut\"/>"
        "</operation></portType>\n" +
            soap11 + soap12,
        " xmlns:soap12=\"http://schemas.xmlsoap.org/wsdl/soap12/\"");
}

} // namespace

// A message both bindings send goes as the packet's version's operation
// sends it: its encodingStyle, its arrays' attributes (SOAP 1.2's itemType
// and arraySize, also in a struct's array, never SOAP 1.1's arrayType) and
// its own action; SOAP 1.1's stays as it was.
TEST_F(MessageSendersTest, EncodedMessagesOfBothVersionsTakeTheirVersionsEncodingAndAction)
{
    const std::vector<Sent> sends = run(encodedOfBothVersions(), R"(
	static char words[2][129] = {"a", "b"}, more[1][129] = {"c"};
	int version;
	for(version = 0; version < 2; version++){
		fresh(&pk, DEMO_PROTO_ECHO);
		pk.soap_version = version ? DEMO_SOAP_1_2 : DEMO_SOAP_1_1;
		pk.msg.EchoIn.words.WordArray = words;
		pk.msg.EchoIn.words.WordArray_count = 2;
		strcpy(pk.msg.EchoIn.pair.label, "p");
		pk.msg.EchoIn.pair.more.WordArray = more;
		pk.msg.EchoIn.pair.more.WordArray_count = 1;
		pk.msg.EchoIn.n = 3;
		report(&trans, &pk);
		fresh(&pk, DEMO_PROTO_ECHO_RESPONSE);
		pk.soap_version = version ? DEMO_SOAP_1_2 : DEMO_SOAP_1_1;
		pk.msg.EchoOut.return_msg = 4;
		report(&trans, &pk);
	}
)");
    ASSERT_EQ(4u, sends.size());
    const std::string echo = "/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Echo";
    const std::string style11 = "@SOAP-ENV:encodingStyle=http://schemas.xmlsoap.org/soap/encoding/";
    const std::string style12 = "@SOAP-ENV:encodingStyle=http://www.w3.org/2003/05/soap-encoding";
    const struct {
        const char* what;
        const char* contentType;
        const char* soapAction;
        std::vector<std::string> xml;
        const char* absent; // what the body must not hold
    } expected[] = {
        {"1.1 request", " text/xml; charset=utf-8", "\"urn:echo\"",
         {echo + style11, echo + "/words@SOAP-ENC:arrayType=xsd:string[2]", echo + "/words@xsi:type=ns1:WordArray",
          echo + "/pair/more@SOAP-ENC:arrayType=xsd:string[1]", echo + "/pair/label@xsi:type=xsd:string", echo + "/n=3"},
         "soap-encoding"},
        {"1.1 response", " text/xml; charset=utf-8", "\"urn:echo\"", {echo + "Response" + style11, echo + "Response/return=4"},
         "soap-encoding"},
        {"1.2 request", " application/soap+xml; charset=utf-8; action=\"urn:echo12\"", "-",
         {echo + style12, echo + "/words@enc:itemType=xsd:string", echo + "/words@enc:arraySize=2",
          echo + "/words@xsi:type=ns1:WordArray", echo + "/words/Word=b", echo + "/pair/more@enc:arraySize=1",
          echo + "/pair/more@enc:itemType=xsd:string", echo + "/pair/label@xsi:type=xsd:string", echo + "/n=3"},
         "arrayType"},
        {"1.2 response", " application/soap+xml; charset=utf-8", "-", {echo + "Response" + style12, echo + "Response/return=4"},
         "encodingStyle=\"http://schemas.xmlsoap.org"},
    };
    for (std::size_t i = 0; i < sends.size(); ++i) {
        SCOPED_TRACE(expected[i].what);
        expectFramed(sends[i]);
        EXPECT_EQ(0, sends[i].result);
        EXPECT_EQ(expected[i].contentType, headerValue(sends[i].head, "Content-Type"));
        EXPECT_EQ(expected[i].soapAction, headerValue(sends[i].head, "SOAPAction"));
        for (const std::string& line : expected[i].xml)
            EXPECT_TRUE(has(sends[i].xml, line)) << line << "\n" << sends[i].body;
        EXPECT_EQ(std::string::npos, sends[i].body.find(expected[i].absent)) << sends[i].body;
    }
}

// Integers go out as printf would write them, at both ends of each type's range and between.
TEST_F(MessageSendersTest, IntegersAreWrittenWholeAtTheEndsOfTheirRanges)
{
    const std::string schema = "<xsd:schema targetNamespace=\"urn:t\" xmlns:tns=\"urn:t\" " + Xsd +
                               " elementFormDefault=\"qualified\"><xsd:element name=\"Limits\"><xsd:complexType><xsd:sequence>"
                               "<xsd:element name=\"i\" type=\"xsd:int\"/><xsd:element name=\"b\" type=\"xsd:byte\"/>"
                               "<xsd:element name=\"s\" type=\"xsd:short\"/><xsd:element name=\"l\" type=\"xsd:long\"/>"
                               "<xsd:element name=\"ui\" type=\"xsd:unsignedInt\"/><xsd:element name=\"us\" type=\"xsd:unsignedShort\"/>"
                               "<xsd:element name=\"ul\" type=\"xsd:unsignedLong\"/><xsd:element name=\"f\" type=\"xsd:boolean\"/>"
                               "</xsd:sequence></xsd:complexType></xsd:element></xsd:schema>";
    const char* const members[] = {"i", "b", "s", "l", "ui", "us", "ul", "f"};
    const struct {
        std::vector<std::string> values; // as C literals
        std::vector<std::string> written; // as the message holds them
    } cases[] = {
        {{"-2147483647 - 1", "-128", "-32768", "-9223372036854775807LL - 1", "0", "0", "0", "0"},
         {"-2147483648", "-128", "-32768", "-9223372036854775808", "0", "0", "0", "0"}},
        {{"2147483647", "127", "32767", "9223372036854775807LL", "4294967295U", "65535", "18446744073709551615ULL", "1"},
         {"2147483647", "127", "32767", "9223372036854775807", "4294967295", "65535", "18446744073709551615", "1"}},
        {{"-1", "-9", "-10", "-100", "9", "10", "100", "0"}, {"-1", "-9", "-10", "-100", "9", "10", "100", "0"}},
    };
    std::string body;
    for (const auto& c : cases) {
        body += "\tfresh(&pk, DEMO_PROTO_LIMITS);\n";
        for (std::size_t m = 0; m < std::size(members); ++m)
            body += std::string("\tpk.msg.In.Limits.") + members[m] + " = " + c.values[m] + ";\n";
        body += "\treport(&trans, &pk);\n";
    }
    const std::vector<Sent> sends =
        run(literalService(schema, "<part name=\"body\" element=\"tns:Limits\"/>", "<part name=\"p\" element=\"tns:Limits\"/>"),
            body, {{"schema.xsd", schema}});
    ASSERT_EQ(std::size(cases), sends.size());
    for (std::size_t i = 0; i < sends.size(); ++i) {
        expectFramed(sends[i]);
        EXPECT_TRUE(has(sends[i].xml, "?valid Limits=1")) << sends[i].body;
        for (std::size_t m = 0; m < std::size(members); ++m)
            EXPECT_TRUE(has(sends[i].xml, std::string("/SOAP-ENV:Envelope/SOAP-ENV:Body/ns1:Limits/ns1:") + members[m] + "=" +
                                              cases[i].written[m]))
                << members[m] << "\n" << sends[i].body;
    }
}

namespace {

// A thread writes its messages in one buffer, kept from one message to the
// next while it grew to no more than 64 KB: counted (natively, through the
// sanitizer's hooks) as the allocations of at least 16 KB each sending takes.
const char* const KeptBlockDriver = R"(#include "demo_api.c"

#include <sys/socket.h>
#include <unistd.h>

#ifdef __SANITIZE_ADDRESS__
int __sanitizer_install_malloc_and_free_hooks(void (*on_malloc)(const volatile void *, size_t), void (*on_free)(const volatile void *));

static int counting, large;

static void on_malloc(const volatile void *ptr, size_t size)
{
	(void)ptr;
	if(counting && size >= 16384)
		large++;
}

static void on_free(const volatile void *ptr)
{
	(void)ptr;
}

/* an Add with an attachment of size bytes (none: 0), its bytes drained from the peer */
static void send_one(demo_proto_trans_t *trans, int peer, size_t size)
{
	static demo_proto_packet_t pk;
	static char attachment[100000], drained[65536];
	int result;

	memset(&pk, 0, sizeof(pk));
	pk.msg_type = DEMO_PROTO_ADD;
	if(size > 0 && demo_set_attachment(&pk, attachment, (unsigned int)size) != 0)
		exit(2);
	large = 0;
	counting = 1;
	result = demo_proto_sendpacket(trans, &pk, 7);
	counting = 0;
	while(recv(peer, drained, sizeof(drained), MSG_DONTWAIT) > 0)
		;
	free(pk.attachment);
	printf("%u: result=%d large=%d\n", (unsigned int)size, result, large);
}
#endif

int main(void)
{
	demo_proto_trans_t trans;
	int ends[2];

	if(socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
		return 1;
	memset(&trans, 0, sizeof(trans));
	trans.socket = ends[0];
	strcpy(trans.dest_ip, "10.0.0.5");
	strcpy(trans.url, "/svc");
	trans.dest_port = 8080;
#ifdef __SANITIZE_ADDRESS__
	__sanitizer_install_malloc_and_free_hooks(on_malloc, on_free);
	send_one(&trans, ends[1], 0);
	send_one(&trans, ends[1], 0);
	send_one(&trans, ends[1], 30000);
	send_one(&trans, ends[1], 30000);
	send_one(&trans, ends[1], 100000);
	send_one(&trans, ends[1], 0);
	send_one(&trans, ends[1], 0);
#else
	printf("uncounted\n");
#endif
	close(ends[0]);
	close(ends[1]);
	xmlCleanupParser();
	return 0;
}
)";

} // namespace

TEST_F(MessageSendersTest, AThreadsMessagesShareOneBufferWhileItStaysSmall)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    view(wsdltest::calculator());
    emitHeader("demo");
    const RunResult run = buildAndRunC(KeptBlockDriver, {{"demo_api.h", headerText()}, {"demo_api.c", emitPartialSource()}}, true);
    ASSERT_EQ(0, run.status) << run.messages << run.output;
    if (run.output == "uncounted\n")
        GTEST_SKIP() << "allocations are counted under the sanitizers alone";
    // The first message's buffer is new; one that grew to 32 KB is kept as grown, one that grew past
    // 64 KB is freed, so that the message after it takes a new one.
    EXPECT_EQ(run.output, "0: result=0 large=1\n0: result=0 large=0\n30000: result=0 large=1\n30000: result=0 large=0\n"
                          "100000: result=0 large=1\n0: result=0 large=1\n0: result=0 large=0\n");
}

namespace {

class MessageSenderOrderTest : public GeneratorTest {};

// The senders whose definitions the text holds, in their order.
std::vector<std::string> senderNames(const std::string& source)
{
    std::vector<std::string> names;
    const std::string start = "static int demo_", end = "_send(";
    for (std::size_t at = source.find(start); at != std::string::npos; at = source.find(start, at + 1)) {
        const std::size_t name = at + start.size();
        const std::size_t stop = source.find(end, name);
        if (stop != std::string::npos && source.find('\n', name) > stop)
            names.push_back(source.substr(name, stop - name));
    }
    return names;
}

} // namespace

// One sender per message, in the order of the message's first use, however
// operations share messages and in whichever direction; a message that no
// bound operation sends gets none.
TEST_F(MessageSenderOrderTest, OneSenderPerMessageInTheOrderOfFirstUse)
{
    const struct {
        const char* name;
        std::string document;
        std::vector<std::string> senders;
    } cases[] = {
        {"shared by two operations",
         rpcService("literal", "", "<part name=\"n\" type=\"xsd:int\"/>", "<part name=\"m\" type=\"xsd:int\"/>"),
         {"EchoIn", "EchoOut"}},
        {"crossed between operations",
         testsupport::readBytes(KELVANE_SOURCE_DIR "/tests/generator/emit/data/demo/crossed.wsdl"),
         {"Question", "Answer"}},
        {"sent both ways", testsupport::readBytes(KELVANE_SOURCE_DIR "/tests/generator/emit/data/demo/twoway.wsdl"),
         {"Quote", "Ack", "NoteIn", "NoteOut"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        view(c.document);
        emitHeader("demo");
        CTextBuffer source;
        writeMessageSenders(*context_, source);
        EXPECT_EQ(senderNames(source.text()), c.senders);
    }
}
