// The generated packet reader and decoder, compiled and run: whole HTTP
// messages sent over loopback come back as packets (rpc and document
// bodies, Header parts, faults, HTTP errors, attachments), and hostile
// messages end in -1 or a bounded packet under the sanitizers.

#include "CodecFixture.h"

using namespace gentest;

namespace {

// Rpc operation Add (header parts "session" and "name", an int and a struct)
// and document operation Find (element parts) on one SOAP binding.
std::string serviceDocument()
{
    return schemaDocument(
        "<xsd:complexType name=\"Point\"><xsd:sequence><xsd:element name=\"x\" type=\"xsd:int\"/>"
        "<xsd:element name=\"label\" type=\"xsd:string\"/></xsd:sequence></xsd:complexType>"
        "<xsd:complexType name=\"Line\"><xsd:sequence><xsd:element name=\"from\" type=\"tns:Point\"/>"
        "<xsd:element name=\"to\" type=\"tns:Point\" minOccurs=\"0\"/></xsd:sequence></xsd:complexType>"
        "<xsd:element name=\"Query\" type=\"tns:Point\"/><xsd:element name=\"Count\" type=\"xsd:long\"/>"
        "<xsd:element name=\"Path\" type=\"tns:Line\"/>",
        "<message name=\"AddIn\"><part name=\"session\" type=\"xsd:string\"/><part name=\"a\" type=\"xsd:int\"/>"
        "<part name=\"name\" type=\"xsd:string\"/><part name=\"where\" type=\"tns:Point\"/></message>"
        "<message name=\"AddOut\"><part name=\"return\" type=\"xsd:double\"/></message>"
        "<message name=\"FindIn\"><part name=\"q\" element=\"tns:Query\"/></message>"
        "<message name=\"FindOut\"><part name=\"c\" element=\"tns:Count\"/></message>"
        "<message name=\"TraceIn\"><part name=\"p\" element=\"tns:Path\"/></message>"
        "<portType name=\"P\"><operation name=\"Add\"><input message=\"tns:AddIn\"/><output message=\"tns:AddOut\"/>"
        "</operation><operation name=\"Find\"><input message=\"tns:FindIn\"/><output message=\"tns:FindOut\"/>"
        "</operation><operation name=\"Trace\"><input message=\"tns:TraceIn\"/><output message=\"tns:FindOut\"/>"
        "</operation></portType>"
        "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"document\" "
        "transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
        "<operation name=\"Add\"><soap:operation soapAction=\"\" style=\"rpc\"/><input>"
        "<soap:header message=\"tns:AddIn\" part=\"session\" use=\"literal\"/>"
        "<soap:header message=\"tns:AddIn\" part=\"name\" use=\"literal\"/><soap:body use=\"literal\"/></input>"
        "<output><soap:body use=\"literal\"/></output></operation>"
        "<operation name=\"Find\"><input><soap:body use=\"literal\"/></input>"
        "<output><soap:body use=\"literal\"/></output></operation>"
        "<operation name=\"Trace\"><input><soap:body use=\"literal\"/></input>"
        "<output><soap:body use=\"literal\"/></output></operation></binding>");
}

// What the packet of a case holds, after the cases array.
const char* const Driver = R"(
static void show(const char *label, const char *text)
{
	const char *c;
	printf(" %s=", label);
	for(c = text; *c; c++){
		if(*c == '\r')
			printf("\\r");
		else
			putchar(*c);
	}
}

static void report(int result, demo_proto_packet_t *packet)
{
	demo_proto_packet_t pk = *packet;
	int i;

	printf(" type=%u headers=%d", pk.msg_type, pk.http_headers_count);
	/* what came with the message is marked so, and only that */
	if(pk.http_headers_received != pk.http_headers_count)
		printf(" received=%d", pk.http_headers_received);
	if(pk.boundary_received != (pk.boundary_part[0] != '\0'))
		printf(" boundary_received=%d", pk.boundary_received);
	for(i = 0; i < pk.http_headers_count; i++)
		printf(" [%s|%d]", pk.http_headers[i].name, (int)strlen(pk.http_headers[i].value));
	if(result == 0 && pk.msg_type == DEMO_PROTO_HTTP){
		printf(" code=%d", pk.msg.http_msg.err_code);
		show("reason", pk.msg.http_msg.err_code_string);
	}
	if(result == 0 && pk.msg_type == DEMO_PROTO_ADD){
		show("session", pk.session);
		printf(" a=%d", pk.msg.AddIn.a);
		show("name", pk.msg.AddIn.name);
		printf(" where=%d/%s", pk.msg.AddIn.where.x, pk.msg.AddIn.where.label);
	}
	if(result == 0 && pk.msg_type == DEMO_PROTO_ADD_RESPONSE)
		printf(" return=%g", pk.msg.AddOut.return_msg);
	if(result == 0 && pk.msg_type == DEMO_PROTO_QUERY)
		printf(" q=%d/%s", pk.msg.FindIn.Query.x, pk.msg.FindIn.Query.label);
	if(result == 0 && pk.msg_type == DEMO_PROTO_PATH)
		printf(" path=%d/%s to=%d", pk.msg.TraceIn.Path.from.x, pk.msg.TraceIn.Path.from.label, pk.msg.TraceIn.Path.to_present);
	if(result == 0 && pk.msg_type == DEMO_PROTO_COUNT)
		printf(" c=%lld", pk.msg.FindOut.Count.Count);
	if(result == 0 && pk.msg_type == DEMO_PROTO_SOAP_FAULT)
		printf(" fault=%s|%s", pk.msg.soap_fault.faultcode, pk.msg.soap_fault.faultstring);
	if(pk.decode_error[0])
		show("error", pk.decode_error);
	if(pk.decode_fault != NULL)
		printf(" fault_code=%s", pk.decode_fault);
	if(pk.boundary_part[0])
		show("boundary", pk.boundary_part);
	if(pk.attachment != NULL)
		printf(" attachment=%d:%s", pk.attachment_length, pk.attachment);
}
)";

// An HTTP message with a Content-Length for its body.
std::string message(const std::string& start, const std::string& body, const std::string& headers = std::string())
{
    return start + "\r\n" + headers + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

const std::string EnvelopeNs = "http://schemas.xmlsoap.org/soap/envelope/";

std::string envelope(const std::string& inner, const std::string& prefix = "SOAP-ENV")
{
    return "<?xml version=\"1.0\"?>\n<" + prefix + ":Envelope xmlns:" + prefix + "=\"" + EnvelopeNs + "\">" + inner +
        "</" + prefix + ":Envelope>";
}


// The driver fills and reads texts in place.
class PacketDecoderTest : public ReaderDriverTest {
protected:
    PacketDecoderTest() { project_.textLength = 128; }
};

TEST_F(PacketDecoderTest, DecodesResponsesAndRefusesHostileMessages)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string ok = "HTTP/1.1 200 OK";
    // Both header parts in the Header: session held by the packet, name by the message.
    const std::string rpcBody = "<SOAP-ENV:Header>\n  <name>n &amp; m</name><session>s-1</session>\n</SOAP-ENV:Header>\n"
                                "<SOAP-ENV:Body>\n  <t:Add xmlns:t=\"urn:t\">\n    <a>-12</a>\n"
                                "    <where><x>3</x><label>up</label></where>\n  </t:Add>\n</SOAP-ENV:Body>";
    const std::string fault = "<env:Body><env:Fault><faultcode>env:Client</faultcode>"
                              "<faultstring>no</faultstring></env:Fault></env:Body>";
    // A request of Add with no Header, and what is read of it; a Header with one entry of urn:h.
    const std::string addBody = "<SOAP-ENV:Body><t:Add xmlns:t=\"urn:t\"><a>1</a><where><x>3</x><label>up</label></where>"
                                "</t:Add></SOAP-ENV:Body>";
    const std::string addRead = "0 type=3 headers=1 [Content-Length|3] session= a=1 name= where=3/up";
    const auto mustHeader = [](const std::string& attributes) {
        return "<SOAP-ENV:Header><h:Trace xmlns:h=\"urn:h\"" + attributes + ">on</h:Trace></SOAP-ENV:Header>";
    };
    const std::vector<MessageCase> cases = {
        {message(ok, envelope(rpcBody)),
         "0 type=3 headers=1 [Content-Length|3] session=s-1 a=-12 name=n & m where=3/up"},
        {message("POST /x HTTP/1.1", envelope("<SOAP-ENV:Body><t:AddResponse xmlns:t=\"urn:t\"><return>2.5</return></t:AddResponse>"
                                              "</SOAP-ENV:Body>")),
         "0 type=4 headers=1 [Content-Length|3] return=2.5"},
        {message(ok, envelope("<env:Body><x/><t:Query xmlns:t=\"urn:t\"><x>7</x><label>q</label></t:Query></env:Body>", "env")),
         "0 type=5 headers=1 [Content-Length|3] q=7/q"},
        // xsd:long is 64 bits on every platform.
        {message(ok, envelope("<env:Body><t:Count xmlns:t=\"urn:t\">9000000000</t:Count></env:Body>", "env")),
         "0 type=6 headers=1 [Content-Length|3] c=9000000000"},
        {message("HTTP/1.1 404 Not Found", "gone"),
         "0 type=1 headers=1 [Content-Length|1] code=404 reason=Not Found\\r error=the SOAP message is no well-formed XML: line 1, column 1: Start tag expected, '<' not found"},
        // A fault is decoded whatever the status; other answers with a
        // status other than 200 stay HTTP messages, whatever their body.
        {message("HTTP/1.1 500 Internal", envelope(fault, "env")), "0 type=2 headers=1 [Content-Length|3] fault=env:Client|no"},
        {message("HTTP/1.1 400 Bad", envelope(fault, "env") + "\r\nDATA"),
         "0 type=2 headers=1 [Content-Length|3] fault=env:Client|no attachment=4:DATA"},
        {message("HTTP/1.1 500 Internal", envelope("<env:Body><t:Count xmlns:t=\"urn:t\">1</t:Count></env:Body>", "env")),
         "0 type=1 headers=1 [Content-Length|3] code=500 reason=Internal\\r"},
        {message("HTTP/1.1 500 Internal", "<html>down</html>"),
         "0 type=1 headers=1 [Content-Length|2] code=500 reason=Internal\\r error=the root element is no SOAP 1.1 Envelope: {}html"},
        {message(ok, envelope(fault, "env")), "0 type=2 headers=1 [Content-Length|3] fault=env:Client|no"},
        // A multipart boundary before the envelope, bytes after it.
        {message(ok, "--b1\r\n" + envelope(fault, "env") + "\r\n--b1\r\nDATA"),
         "0 type=2 headers=1 [Content-Length|3] fault=env:Client|no boundary=--b1\\r\n attachment=12:\r\n--b1\r\nDATA"},
        {message(ok, envelope(fault, "env"), "A: 1\r\nB: 2\r\nC: 3\r\nD: 4\r\nE: 5\r\nF: 6\r\n"),
         "0 type=2 headers=5 [A|1] [B|1] [C|1] [D|1] [E|1] fault=env:Client|no"},
        // The envelope is known by its namespace, not its prefix: any
        // prefix, the default namespace, no XML declaration, blanks first.
        {message(ok, envelope("<s:Body><t:Count xmlns:t=\"urn:t\">1</t:Count></s:Body>", "s")), "0 type=6 headers=1 [Content-Length|3] c=1"},
        {message(ok, envelope("<soap:Body><t:Count xmlns:t=\"urn:t\">2</t:Count></soap:Body>", "soap")), "0 type=6 headers=1 [Content-Length|3] c=2"},
        {message(ok, envelope("<soapenv:Header/><soapenv:Body><t:Count xmlns:t=\"urn:t\">3</t:Count></soapenv:Body>", "soapenv")),
         "0 type=6 headers=1 [Content-Length|3] c=3"},
        {message(ok, "<Envelope xmlns=\"" + EnvelopeNs + "\"><Body><Count xmlns=\"urn:t\">4</Count></Body></Envelope>"),
         "0 type=6 headers=1 [Content-Length|3] c=4"},
        {message(ok, "\r\n <?xml version='1.0' encoding='utf-8'?><S:Envelope xmlns:S=\"" + EnvelopeNs +
                         "\"><S:Body><t:Count xmlns:t=\"urn:t\">5</t:Count></S:Body></S:Envelope>\n"),
         "0 type=6 headers=1 [Content-Length|3] c=5 boundary=\\r\n "},
        // Envelope text inside a CDATA section is text, not the message.
        {message(ok, envelope("<soap:Body><t:Count xmlns:t=\"urn:t\">6</t:Count><Note><![CDATA[" + envelope("<env:Body><t:Count xmlns:t=\"urn:t\">9</t:Count></env:Body>", "env") +
                                  "]]></Note></soap:Body>", "soap")),
         "0 type=6 headers=1 [Content-Length|3] c=6"},
        {message(ok, "<![CDATA[" + envelope("<env:Body><t:Count xmlns:t=\"urn:t\">9</t:Count></env:Body>", "env") + "]]>"),
         "-1 type=0 headers=1 [Content-Length|3] error=the SOAP message is no well-formed XML: line 1, column 2: Extra content at the end of the document fault_code=SOAP-ENV:Client"},
        // Envelope, Header and Body of another namespace, or none, are no
        // SOAP 1.1 message; nor is a message without a Body. An Envelope of
        // another version (SOAP 1.2's, to a service of SOAP 1.1 alone) is a
        // version mismatch.
        {message(ok, "<?xml version=\"1.0\"?><env:Envelope><env:Body><t:Count xmlns:t=\"urn:t\">1</t:Count></env:Body></env:Envelope>"),
         "-1 type=0 headers=1 [Content-Length|3] error=the root element is no SOAP 1.1 Envelope: {}env:Envelope fault_code=SOAP-ENV:Client"},
        {message(ok, "<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body><t:Count xmlns:t=\"urn:t\">1</t:Count></e:Body></e:Envelope>"),
         "-1 type=0 headers=1 [Content-Length|3] error=the root element is no SOAP 1.1 Envelope: {http://www.w3.org/2003/05/soap-envelope}Envelope fault_code=SOAP-ENV:VersionMismatch"},
        {message(ok, envelope("<Body><t:Count xmlns:t=\"urn:t\">1</t:Count></Body>", "env")), "-1 type=0 headers=1 [Content-Length|3] error=the Envelope holds no Body fault_code=SOAP-ENV:Client"},
        {message(ok, envelope("<env:Header/>", "env")), "-1 type=0 headers=1 [Content-Length|3] error=the Envelope holds no Body fault_code=SOAP-ENV:Client"},
        // No document type declaration is read: no DTD, no entity, nothing
        // fetched; an undeclared entity is an error.
        {message(ok, "<?xml version=\"1.0\"?><!DOCTYPE e [<!ENTITY a \"77\">]>" +
                         envelope("<env:Body><t:Count xmlns:t=\"urn:t\">&a;</t:Count></env:Body>", "env").substr(21)),
         "-1 type=0 headers=1 [Content-Length|3] error=the SOAP message is no XML document, or holds a document type declaration fault_code=SOAP-ENV:Client"},
        {message(ok, "<!DOCTYPE e SYSTEM \"file:///etc/hostname\">" + envelope("<env:Body><t:Count xmlns:t=\"urn:t\">1</t:Count></env:Body>", "env").substr(22)),
         "-1 type=0 headers=1 [Content-Length|3] error=the SOAP message is no XML document, or holds a document type declaration fault_code=SOAP-ENV:Client"},
        {message(ok, envelope("<env:Body><t:Count xmlns:t=\"urn:t\">&a;</t:Count></env:Body>", "env")), "-1 type=0 headers=1 [Content-Length|3] error=the SOAP message is no well-formed XML: line 2, column 107: Entity 'a' not defined fault_code=SOAP-ENV:Client"},
        // Bytes behind the envelope are its attachment (without the CR LF
        // that a sender puts between them), blanks alone are not.
        {message(ok, envelope("<env:Body><t:Count xmlns:t=\"urn:t\">7</t:Count></env:Body>", "env") + "\r\n<x>BIN"),
         "0 type=6 headers=1 [Content-Length|3] c=7 attachment=6:<x>BIN"},
        {message(ok, envelope("<env:Body><t:Count xmlns:t=\"urn:t\">8</t:Count></env:Body>", "env") + "<!--x-->"),
         "0 type=6 headers=1 [Content-Length|3] c=8 attachment=8:<!--x-->"},
        {message(ok, envelope("<env:Body><t:Count xmlns:t=\"urn:t\">9</t:Count></env:Body>", "env") + " \r\n"),
         "0 type=6 headers=1 [Content-Length|3] c=9"},
        // A multipart body named by its Content-Type: the envelope is its
        // first part, after the part's headers; the rest is the attachment.
        {message(ok, "preamble\r\n--MB\r\nContent-Type: text/xml\r\nContent-ID: <r>\r\n\r\n" +
                         envelope("<env:Body><t:Count xmlns:t=\"urn:t\">10</t:Count></env:Body>", "env") +
                         "\r\n--MB\r\nContent-Type: application/octet-stream\r\n\r\nBIN\r\n--MB--\r\n",
                     "Content-Type: Multipart/Related; type=\"text/xml\"; boundary=\"MB\"\r\n"),
         "0 type=6 headers=2 [Content-Type|49] [Content-Length|3] c=10 boundary=preamble\\r\n--MB\\r\n"
         "Content-Type: text/xml\\r\nContent-ID: <r>\\r\n\\r\n attachment=63:\r\n--MB\r\n"
         "Content-Type: application/octet-stream\r\n\r\nBIN\r\n--MB--\r\n"},
        {message(ok, "--MB\r\n\r\n" + envelope("<env:Body><t:Count xmlns:t=\"urn:t\">11</t:Count></env:Body>", "env") + "\r\n--MB--",
                     "Content-Type: multipart/related; boundary=MB; type=\"text/xml\"\r\n"),
         "0 type=6 headers=2 [Content-Type|47] [Content-Length|3] c=11 boundary=--MB\\r\n\\r\n attachment=8:\r\n--MB--"},
        // A Body without a known message, a missing part, a number that
        // does not convert.
        {message(ok, envelope("<env:Body><Other/></env:Body>", "env")), "-1 type=0 headers=1 [Content-Length|3] error=the Body holds no message of the service and no Fault, but {}Other fault_code=SOAP-ENV:Client"},
        {message(ok, envelope("<SOAP-ENV:Body><t:Add xmlns:t=\"urn:t\"><a>1</a></t:Add></SOAP-ENV:Body>")),
         "-1 type=3 headers=1 [Content-Length|3] error=the message ends before its part pk->msg.AddIn.where fault_code=SOAP-ENV:Client"},
        {message(ok, envelope("<env:Body><t:Count xmlns:t=\"urn:t\">lots</t:Count></env:Body>", "env")),
         "-1 type=6 headers=1 [Content-Length|3] error=pk->msg.FindOut.Count.Count: \"lots\" (4 bytes) is no xsd:long fault_code=SOAP-ENV:Client"},
        // A value that does not fit its member, or no value where one must
        // stand, fails the message and names the member; a fault string
        // fits up to its kilobyte.
        {message(ok, envelope("<env:Body><t:Query xmlns:t=\"urn:t\"><x>1</x><label>" + std::string(129, 'L') + "</label></t:Query></env:Body>", "env")),
         "-1 type=5 headers=1 [Content-Length|3] error=demo_Point_t.label: \"" + std::string(40, 'L') +
             "...\" (129 bytes) does not fit fault_code=SOAP-ENV:Client"},
        {message(ok, envelope("<env:Body><t:Query xmlns:t=\"urn:t\"><x/><label>q</label></t:Query></env:Body>", "env")),
         "-1 type=5 headers=1 [Content-Length|3] error=demo_Point_t.x: no value fault_code=SOAP-ENV:Client"},
        {message(ok, envelope("<env:Body><t:Query xmlns:t=\"urn:t\"><label>q</label></t:Query></env:Body>", "env")),
         "-1 type=5 headers=1 [Content-Length|3] error=demo_Point_t.x: no value fault_code=SOAP-ENV:Client"},
        // A required text may be empty, but it must stand.
        {message(ok, envelope("<env:Body><t:Query xmlns:t=\"urn:t\"><x>2</x></t:Query></env:Body>", "env")),
         "-1 type=5 headers=1 [Content-Length|3] error=demo_Point_t.label: no value fault_code=SOAP-ENV:Client"},
        {message(ok, envelope("<env:Body><t:Query xmlns:t=\"urn:t\"><x>3</x><label/></t:Query></env:Body>", "env")),
         "0 type=5 headers=1 [Content-Length|3] q=3/"},
        // A required structure must stand too; an optional one may stay out.
        {message(ok, envelope("<env:Body><t:Path xmlns:t=\"urn:t\"><from><x>4</x><label>a</label></from></t:Path></env:Body>", "env")),
         "0 type=7 headers=1 [Content-Length|3] path=4/a to=0"},
        {message(ok, envelope("<env:Body><t:Path xmlns:t=\"urn:t\"><to><x>4</x><label>a</label></to></t:Path></env:Body>", "env")),
         "-1 type=7 headers=1 [Content-Length|3] error=demo_Line_t.from: no value fault_code=SOAP-ENV:Client"},
        {message(ok, envelope("<env:Body><t:Count xmlns:t=\"urn:t\"></t:Count></env:Body>", "env")),
         "-1 type=6 headers=1 [Content-Length|3] error=pk->msg.FindOut.Count.Count: no value fault_code=SOAP-ENV:Client"},
        {message("HTTP/1.1 500 Internal", envelope("<env:Body><env:Fault><faultcode>env:Server</faultcode><faultstring>" +
                                                   std::string(1024, 'f') + "</faultstring></env:Fault></env:Body>", "env")),
         "0 type=2 headers=1 [Content-Length|4] fault=env:Server|" + std::string(1024, 'f')},
        {message("HTTP/1.1 500 Internal", envelope("<env:Body><env:Fault><faultcode>env:Server</faultcode><faultstring>" +
                                                   std::string(1025, 'f') + "</faultstring></env:Fault></env:Body>", "env")),
         "0 type=1 headers=1 [Content-Length|4] code=500 reason=Internal\\r error=demo_soap_fault_msg_t.faultstring: \"ffffffffffffffffffffffffffffffffffffffff...\" (1025 bytes) does not fit"},
        // A header line without a colon ends the header lines; long names and
        // values are cut to their arrays. Values come without the blanks
        // around them and without the line's end.
        {message(ok, envelope(fault, "env"), "NoColon\r\n"), "0 type=2 headers=0 fault=env:Client|no"},
        {message(ok, envelope(fault, "env"), std::string(40, 'N') + ":" + std::string(400, 'v') + "\r\n"),
         "0 type=2 headers=2 [NNNNNNNNNNNNNNNNNNNNNNNN|128] [Content-Length|3] fault=env:Client|no"},
        {message("HTTP/1.1 404 " + std::string(100, 'r'), "x"),
         "0 type=1 headers=1 [Content-Length|1] code=404 reason=" + std::string(32, 'r') + " error=the SOAP message is no well-formed XML: line 1, column 1: Start tag expected, '<' not found"},
        // Elements are known by namespace and local name: a Body element or
        // member of another namespace is not the service's.
        {message(ok, envelope("<env:Body><o:Count xmlns:o=\"urn:o\">1</o:Count></env:Body>", "env")),
         "-1 type=0 headers=1 [Content-Length|3] error=the Body holds no message of the service and no Fault, but {urn:o}Count fault_code=SOAP-ENV:Client"},
        {message(ok, envelope("<env:Body><Count>3</Count></env:Body>", "env")), "0 type=6 headers=1 [Content-Length|3] c=3"},
        {message(ok, envelope("<env:Body><o:Count xmlns:o=\"urn:o\">1</o:Count><t:Count xmlns:t=\"urn:t\">2</t:Count></env:Body>", "env")),
         "0 type=6 headers=1 [Content-Length|3] c=2"},
        {message(ok, envelope("<env:Body><t:Query xmlns:t=\"urn:t\"><x>1</x><o:label xmlns:o=\"urn:o\">q</o:label></t:Query></env:Body>", "env")),
         "-1 type=5 headers=1 [Content-Length|3] error=demo_Point_t.label: no value fault_code=SOAP-ENV:Client"},
        // Senders qualify elements with another of the service's namespaces, or leave them unqualified.
        {message(ok, envelope("<env:Body><t:Query xmlns:t=\"urn:t\"><t:x>8</t:x><label>q</label></t:Query></env:Body>", "env")),
         "0 type=5 headers=1 [Content-Length|3] q=8/q"},
        {message(ok, envelope("<SOAP-ENV:Body><o:Add xmlns:o=\"urn:o\"><a>1</a></o:Add></SOAP-ENV:Body>")),
         "-1 type=0 headers=1 [Content-Length|3] error=the Body holds no message of the service and no Fault, but {urn:o}Add fault_code=SOAP-ENV:Client"},
        // An element that stands once may not stand twice, in the Body or the Header.
        {message(ok, envelope("<env:Body><t:Query xmlns:t=\"urn:t\"><x>1</x><label>q</label><x>2</x></t:Query></env:Body>", "env")),
         "-1 type=5 headers=1 [Content-Length|3] error=demo_Point_t.x: stands twice fault_code=SOAP-ENV:Client"},
        {message(ok, envelope("<SOAP-ENV:Header><session>s-1</session><session>s-2</session></SOAP-ENV:Header>"
                              "<SOAP-ENV:Body><t:Add xmlns:t=\"urn:t\"><a>1</a><where><x>3</x><label>up</label></where></t:Add></SOAP-ENV:Body>")),
         "-1 type=0 headers=1 [Content-Length|3] error=pk->session: stands twice fault_code=SOAP-ENV:Client"},
        // A header entry addressed to this node (no actor, or the next one)
        // that must be understood and is not: a MustUnderstand fault.
        {message(ok, envelope(mustHeader(" SOAP-ENV:mustUnderstand=\"1\"") + addBody)),
         "-1 type=0 headers=1 [Content-Length|3] error=header {urn:h}Trace must be understood, and is not fault_code=SOAP-ENV:MustUnderstand"},
        {message(ok, envelope(mustHeader(" SOAP-ENV:mustUnderstand=\"true\" SOAP-ENV:actor=\"http://schemas.xmlsoap.org/soap/actor/next\"") + addBody)),
         "-1 type=0 headers=1 [Content-Length|3] error=header {urn:h}Trace must be understood, and is not fault_code=SOAP-ENV:MustUnderstand"},
        // A name too long for the message is cut and marked; the words after it stay.
        {message(ok, envelope("<SOAP-ENV:Header><h:" + std::string(300, 'T') + " xmlns:h=\"urn:h\" SOAP-ENV:mustUnderstand=\"1\"/>"
                              "</SOAP-ENV:Header>" + addBody)),
         "-1 type=0 headers=1 [Content-Length|3] error=header {urn:h}" + std::string(192, 'T') +
             "... must be understood, and is not fault_code=SOAP-ENV:MustUnderstand"},
        {message(ok, envelope(mustHeader(" SOAP-ENV:mustUnderstand=\"0\"") + addBody)), addRead},
        {message(ok, envelope(mustHeader(" SOAP-ENV:mustUnderstand=\"1\" SOAP-ENV:actor=\"urn:elsewhere\"") + addBody)), addRead},
        {message(ok, envelope(mustHeader(" mustUnderstand=\"1\"") + addBody)), addRead},
        {message(ok, envelope("<SOAP-ENV:Header><session SOAP-ENV:mustUnderstand=\"1\">s-1</session></SOAP-ENV:Header>" + addBody)),
         "0 type=3 headers=1 [Content-Length|3] session=s-1 a=1 name= where=3/up"},
        // Framing failures: truncated body, no line ends.
        {"HTTP/1.1 200 OK\r\nContent-Length: 500\r\n\r\n" + envelope(fault, "env"), "-1 type=0 headers=0"},
        {"HTTP/1.1 200 OK", "-1 type=0 headers=0"},
    };
    const auto [table, expected] = messageTable(cases);
    const RunResult run = runReaderDriver(serviceDocument(), Driver, table);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// A thread's reads follow one another, each as if it came first whatever
// the one before left: a parse stopped with bytes unread, a document in
// another encoding, one too long for its input to be kept for the next.
// Each is read whole, however it stands to the parser's first asking for
// bytes (about 4,000): a document it holds whole from the start is told
// that no more comes, one that came in another encoding is not, as the
// parser converts the rest of it on asking.
TEST_F(PacketDecoderTest, EachReadStartsAfreshAfterTheOneBefore)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string ok = "HTTP/1.1 200 OK";
    const auto count = [&](const std::string& value, const std::string& behind = std::string()) {
        return message(ok, envelope("<env:Body><t:Count xmlns:t=\"urn:t\">" + value + "</t:Count>" + behind + "</env:Body>", "env"));
    };
    const std::string stopped = message(ok, "<?xml version=\"1.0\"?><!DOCTYPE e [<!ENTITY a \"77\">]>" +
                                                 envelope("<env:Body><t:Count xmlns:t=\"urn:t\">&a;</t:Count>" +
                                                              std::string(9000, ' ') + "</env:Body>", "env").substr(21));
    const std::string latin = message(ok, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<env:Envelope xmlns:env=\"" + EnvelopeNs +
                                              "\"><env:Body><t:Query xmlns:t=\"urn:t\"><x>4</x><label>caf\xE9</label></t:Query>"
                                              "</env:Body></env:Envelope>");
    const std::string latinLater = message(ok, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<env:Envelope xmlns:env=\"" +
                                                   EnvelopeNs + "\"><env:Body>" + std::string(600, ' ') +
                                                   "<t:Query xmlns:t=\"urn:t\"><x>5</x><label>\xE9t\xE9</label></t:Query>"
                                                   "</env:Body></env:Envelope>");
    const std::string refused = "-1 type=0 headers=1 [Content-Length|4] error=the SOAP message is no XML document, or holds a "
                                "document type declaration fault_code=SOAP-ENV:Client";
    std::vector<MessageCase> cases = {
        {stopped, refused},
        {count("1"), "0 type=6 headers=1 [Content-Length|3] c=1"},
        {stopped, refused},
        {latin, "0 type=5 headers=1 [Content-Length|3] q=4/caf\xC3\xA9"},
        {count("2"), "0 type=6 headers=1 [Content-Length|3] c=2"},
        {count("3", "<!--" + std::string(70000, 'x') + "-->"),
         "0 type=6 headers=1 [Content-Length|5] c=3"},
        {count("4"), "0 type=6 headers=1 [Content-Length|3] c=4"},
        {count("5"), "0 type=6 headers=1 [Content-Length|3] c=5"},
        {latinLater, "0 type=5 headers=1 [Content-Length|3] q=5/\xC3\xA9t\xC3\xA9"},
    };
    for (const std::size_t blanks : {3700, 3800, 3850, 3900, 3950, 4000, 8000})
        cases.push_back({count(std::to_string(blanks), std::string(blanks, ' ')),
                         "0 type=6 headers=1 [Content-Length|4] c=" + std::to_string(blanks)});
    const auto [table, expected] = messageTable(cases);
    const RunResult run = runReaderDriver(serviceDocument(), Driver, table);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// Operation Add bound by SOAP 1.1 and SOAP 1.2, Sub by SOAP 1.1 alone, Mul
// by SOAP 1.2 alone (each rpc/literal in namespace urn:t).
std::string versionsDocument()
{
    const auto operation = [](const std::string& name) {
        return "<operation name=\"" + name + "\"><input message=\"tns:In\"/><output message=\"tns:Out\"/></operation>";
    };
    const auto binding = [](const std::string& name, const std::string& portType, const std::string& prefix,
                            const std::string& operationName) {
        return "<binding name=\"" + name + "\" type=\"tns:" + portType + "\"><" + prefix +
            ":binding style=\"rpc\" transport=\"http://schemas.xmlsoap.org/soap/http\"/><operation name=\"" +
            operationName + "\"><" + prefix + ":operation soapAction=\"\"/><input><" + prefix +
            ":body use=\"literal\" namespace=\"urn:t\"/></input><output><" + prefix +
            ":body use=\"literal\" namespace=\"urn:t\"/></output></operation></binding>";
    };
    return wsdltest::definitions(
        "<message name=\"In\"><part name=\"a\" type=\"xsd:int\"/></message>"
        "<message name=\"Out\"><part name=\"r\" type=\"xsd:int\"/></message>"
        "<portType name=\"Both\">" + operation("Add") + "</portType><portType name=\"Old\">" + operation("Sub") +
            "</portType><portType name=\"New\">" + operation("Mul") + "</portType>" +
            binding("Both11", "Both", "soap", "Add") + binding("Both12", "Both", "soap12", "Add") +
            binding("Old11", "Old", "soap", "Sub") + binding("New12", "New", "soap12", "Mul") + "\n",
        " xmlns:soap12=\"http://schemas.xmlsoap.org/wsdl/soap12/\"");
}

const char* const VersionsDriver = R"(
static const char *const cases[] = {
#include "cases.h"
};

int main(void)
{
	size_t c;
	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++){
		static demo_proto_packet_t pk;
		int result = read_message(cases[c], &pk);
		printf("%d: %d type=%u soap=%d", (int)c, result, pk.msg_type, pk.soap_version);
		if(result == 0 && pk.msg_type == DEMO_PROTO_SOAP_FAULT)
			printf(" code=%s sub=%s text=%s lang=%s detail=%s", pk.msg.soap_fault.faultcode, pk.msg.soap_fault.subcode,
				pk.msg.soap_fault.faultstring, pk.msg.soap_fault.lang, pk.msg.soap_fault.detail != NULL ? pk.msg.soap_fault.detail : "");
		if(pk.decode_fault != NULL)
			printf(" fault_code=%s", pk.decode_fault);
		printf("\n");
		demo_free_proto_packet(&pk);
		memset(&pk, 0, sizeof(pk));
	}
	xmlCleanupParser();
	return 0;
}
)";

// Either version's envelope is read, its version kept; a kind that no
// operation of the message's version sends, or an envelope of neither
// version, is a version mismatch; SOAP 1.2 faults and header targets are
// read as that version has them.
TEST_F(PacketDecoderTest, ReadsBothSoapVersionsAndRefusesTheOtherVersionsKinds)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string ok = "HTTP/1.1 200 OK";
    const std::string post = "POST /x HTTP/1.1";
    const auto in12 = [](const std::string& inner, const std::string& ns = "http://www.w3.org/2003/05/soap-envelope") {
        return "<?xml version=\"1.0\"?>\n<e:Envelope xmlns:e=\"" + ns + "\">" + inner + "</e:Envelope>";
    };
    const auto call = [](const std::string& operation) {
        return "<t:" + operation + " xmlns:t=\"urn:t\"><a>2</a></t:" + operation + ">";
    };
    const std::string mustTrace = "<e:Header><h:Trace xmlns:h=\"urn:h\" e:mustUnderstand=\"true\"";
    const std::vector<MessageCase> cases = {
        {message(post, in12("<e:Body>" + call("Add") + "</e:Body>")), "0 type=3 soap=12"},
        {message(post, envelope("<SOAP-ENV:Body>" + call("Add") + "</SOAP-ENV:Body>")), "0 type=3 soap=11"},
        {message(post, in12("<e:Body>" + call("Mul") + "</e:Body>")), "0 type=7 soap=12"},
        {message(post, in12("<e:Body>" + call("Sub") + "</e:Body>")), "-1 type=5 soap=12 fault_code=SOAP-ENV:VersionMismatch"},
        {message(post, envelope("<SOAP-ENV:Body>" + call("Mul") + "</SOAP-ENV:Body>")),
         "-1 type=7 soap=11 fault_code=SOAP-ENV:VersionMismatch"},
        {message(post, in12("<e:Body>" + call("Add") + "</e:Body>", "urn:soap:next")),
         "-1 type=0 soap=0 fault_code=SOAP-ENV:VersionMismatch"},
        // A Body of the other version's namespace is no Body of this envelope.
        {message(post, in12("<b:Body xmlns:b=\"http://schemas.xmlsoap.org/soap/envelope/\">" + call("Add") + "</b:Body>")),
         "-1 type=0 soap=12 fault_code=SOAP-ENV:Client"},
        {message(ok, in12("<e:Body><e:Fault><e:Code><e:Value>e:Sender</e:Value><e:Subcode><e:Value xmlns:t=\"urn:t\">"
                          "t:Busy</e:Value></e:Subcode></e:Code><e:Reason><e:Text xml:lang=\"de\">zu &lt;viel</e:Text>"
                          "<e:Text xml:lang=\"en\">too much</e:Text></e:Reason><e:Detail>wait</e:Detail></e:Fault></e:Body>")),
         "0 type=2 soap=12 code=SOAP-ENV:Sender sub=t:Busy text=zu <viel lang=de detail=wait"},
        {message(ok, in12("<e:Body><e:Fault><e:Code><e:Value>e:Receiver</e:Value></e:Code><e:Reason>"
                          "<e:Text xml:lang=\"en\">down</e:Text></e:Reason></e:Fault></e:Body>")),
         "0 type=2 soap=12 code=SOAP-ENV:Receiver sub= text=down lang=en detail="},
        {message(ok, in12("<e:Body><e:Fault><e:Code><e:Value>e:Receiver</e:Value></e:Code></e:Fault></e:Body>")),
         "-1 type=2 soap=12 fault_code=SOAP-ENV:Client"},
        // A SOAP 1.1 version mismatch fault reaches a client of SOAP 1.2.
        {message(ok, envelope("<SOAP-ENV:Body><SOAP-ENV:Fault><faultcode>SOAP-ENV:VersionMismatch</faultcode>"
                              "<faultstring>no</faultstring></SOAP-ENV:Fault></SOAP-ENV:Body>")),
         "0 type=2 soap=11 code=SOAP-ENV:VersionMismatch sub= text=no lang= detail="},
        {message(post, in12(mustTrace + ">x</h:Trace></e:Header><e:Body>" + call("Add") + "</e:Body>")),
         "-1 type=0 soap=12 fault_code=SOAP-ENV:MustUnderstand"},
        {message(post, in12(mustTrace + " e:role=\"http://www.w3.org/2003/05/soap-envelope/role/ultimateReceiver\">x"
                                        "</h:Trace></e:Header><e:Body>" + call("Add") + "</e:Body>")),
         "-1 type=0 soap=12 fault_code=SOAP-ENV:MustUnderstand"},
        {message(post, in12(mustTrace + " e:role=\"urn:elsewhere\">x</h:Trace></e:Header><e:Body>" + call("Add") +
                            "</e:Body>")),
         "0 type=3 soap=12"},
    };
    const auto [table, expected] = messageTable(cases);
    view(versionsDocument());
    emitHeader("demo", programPlatform());
    const std::string source = emitSourceWithReaders() + LoopbackPeer + ReadMessage + VersionsDriver;
    const RunResult run = buildAndRunC("#include \"demo_api.c\"\n",
                                       {{"demo_api.h", headerText()}, {"demo_api.c", source}, {"cases.h", table}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

} // namespace

// Operations whose request Body stands empty (document style, no part):
// Stop bound by SOAP 1.1 alone, Start by SOAP 1.2 alone, Ping by both, each
// binding with an action of its own.
std::string emptyBodiesDocument()
{
    const auto binding = [](const std::string& name, const std::string& portType, const std::string& prefix,
                            const std::string& operation, const std::string& action) {
        return "<binding name=\"" + name + "\" type=\"tns:" + portType + "\"><" + prefix +
            ":binding style=\"document\" transport=\"http://schemas.xmlsoap.org/soap/http\"/><operation name=\"" +
            operation + "\"><" + prefix + ":operation soapAction=\"" + action + "\"/><input><" + prefix +
            ":body use=\"literal\"/></input></operation></binding>";
    };
    return wsdltest::definitions(
        "<message name=\"Empty\"/>"
        "<portType name=\"Old\"><operation name=\"Stop\"><input message=\"tns:Empty\"/></operation></portType>"
        "<portType name=\"New\"><operation name=\"Start\"><input message=\"tns:Empty\"/></operation></portType>"
        "<portType name=\"Both\"><operation name=\"Ping\"><input message=\"tns:Empty\"/></operation></portType>" +
            binding("Old11", "Old", "soap", "Stop", "urn:stop") + binding("New12", "New", "soap12", "Start", "urn:start") +
            binding("Both11", "Both", "soap", "Ping", "urn:ping") + binding("Both12", "Both", "soap12", "Ping", "urn:ping12") +
            "\n",
        " xmlns:soap12=\"http://schemas.xmlsoap.org/wsdl/soap12/\"");
}

// An empty Body is version-checked as any other message: a request of an
// operation that only the other version binds is a version mismatch. Its
// operation is the one whose action the message names (SOAP 1.2: in the
// Content-Type), else the first of the message's version.
TEST_F(PacketDecoderTest, EmptyBodiesAreReadByActionAndRefusedInTheOtherVersion)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string post = "POST /x HTTP/1.1";
    const std::string empty12 = "<?xml version=\"1.0\"?>\n<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\">"
                                "<e:Body/></e:Envelope>";
    const std::string empty11 = envelope("<SOAP-ENV:Body></SOAP-ENV:Body>");
    const auto soap12 = [](const std::string& action) {
        return "Content-Type: application/soap+xml; charset=utf-8" + (action.empty() ? "" : "; action=\"" + action + "\"") +
            "\r\n";
    };
    const auto soap11 = [](const std::string& action) {
        return "Content-Type: text/xml; charset=utf-8\r\nSOAPAction: \"" + action + "\"\r\n";
    };
    view(emptyBodiesDocument());
    emitHeader("demo", programPlatform());
    const std::string header = headerText();
    const auto kind = [&](const std::string& name) { // the kind's value in the header's enumeration
        const std::string::size_type at = header.find("DEMO_PROTO_" + name + "\t= ");
        return at == std::string::npos ? name : std::to_string(std::stoul(header.substr(at + 14 + name.size()), nullptr, 16));
    };
    const std::string mismatch = " fault_code=SOAP-ENV:VersionMismatch";
    const std::vector<MessageCase> cases = {
        {message(post, empty12, soap12("urn:start")), "0 type=" + kind("START") + " soap=12"},
        {message(post, empty12, soap12("urn:stop")), "-1 type=" + kind("STOP") + " soap=12" + mismatch},
        {message(post, empty11, soap11("urn:start")), "-1 type=" + kind("START") + " soap=11" + mismatch},
        {message(post, empty11, soap11("urn:stop")), "0 type=" + kind("STOP") + " soap=11"},
        {message(post, empty12, soap12("urn:ping12")), "0 type=" + kind("PING") + " soap=12"},
        {message(post, empty11, soap11("urn:ping")), "0 type=" + kind("PING") + " soap=11"},
        {message(post, empty12, soap12("urn:ping")), "0 type=" + kind("PING") + " soap=12"},
        // No action named: the first operation of the message's version.
        {message(post, empty12, soap12("")), "0 type=" + kind("START") + " soap=12"},
        {message(post, empty11, soap11("urn:other")), "0 type=" + kind("STOP") + " soap=11"},
    };
    const auto [table, expected] = messageTable(cases);
    const std::string source = emitSourceWithReaders() + LoopbackPeer + ReadMessage + VersionsDriver;
    const RunResult run = buildAndRunC("#include \"demo_api.c\"\n",
                                       {{"demo_api.h", headerText()}, {"demo_api.c", source}, {"cases.h", table}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}
