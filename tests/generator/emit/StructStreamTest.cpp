// A document message whose type allows it is read straight from the
// parser's events into its struct; whatever that reading cannot answer as
// the tree's decoders would goes to the tree. The same messages are read by
// the generated packet decoder with the struct stream on and with it off
// (the call taken out of the source): every packet, result and decode error
// must be the same, and the stream must have taken the messages it can.

#include "GeneratorTestSupport.h"
#include "LoopbackPeer.h"
#include "generator/emit/StructStream.h"

using namespace gentest;

namespace {

// Operation Draw: in element Shape (nested, recursive, repeated members of
// every shape, values of simple types), out element Result of the named type Node; operation Mark:
// in Marked (an attribute: never streamed), out Count (a number).
std::string shapesDocument()
{
    return wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\" elementFormDefault=\"qualified\">"
        "<xsd:complexType name=\"Point\"><xsd:sequence><xsd:element name=\"x\" type=\"xsd:int\"/>"
        "<xsd:element name=\"y\" type=\"xsd:double\"/><xsd:element name=\"label\" type=\"xsd:string\" minOccurs=\"0\"/>"
        "<xsd:element name=\"on\" type=\"xsd:boolean\" minOccurs=\"0\"/><xsd:element name=\"unit\" type=\"tns:Unit\" minOccurs=\"0\"/>"
        "</xsd:sequence></xsd:complexType>"
        "<xsd:simpleType name=\"Unit\"><xsd:restriction base=\"xsd:string\"/></xsd:simpleType>"
        "<xsd:simpleType name=\"Score\"><xsd:restriction base=\"xsd:int\"/></xsd:simpleType>"
        "<xsd:complexType name=\"Node\"><xsd:sequence><xsd:element name=\"name\" type=\"xsd:string\"/>"
        "<xsd:element name=\"depth\" type=\"xsd:int\"/><xsd:element name=\"inner\" type=\"tns:Node\" minOccurs=\"0\"/>"
        "<xsd:element name=\"point\" type=\"tns:Point\" minOccurs=\"0\" maxOccurs=\"unbounded\"/>"
        "<xsd:element name=\"tag\" type=\"xsd:string\" minOccurs=\"0\" maxOccurs=\"unbounded\" nillable=\"true\"/>"
        "<xsd:element name=\"weight\" type=\"xsd:long\" minOccurs=\"0\" maxOccurs=\"unbounded\"/>"
        "<xsd:element name=\"score\" type=\"tns:Score\" minOccurs=\"0\" maxOccurs=\"unbounded\"/>"
        "</xsd:sequence></xsd:complexType>"
        "<xsd:element name=\"Shape\"><xsd:complexType><xsd:sequence><xsd:element name=\"node\" type=\"tns:Node\"/>"
        "<xsd:element name=\"when\" type=\"xsd:dateTime\"/><xsd:element name=\"count\" type=\"xsd:unsignedInt\"/>"
        "<xsd:element name=\"small\" type=\"xsd:byte\" minOccurs=\"0\"/><xsd:element name=\"origin\" type=\"tns:Point\"/>"
        "</xsd:sequence></xsd:complexType></xsd:element>"
        "<xsd:element name=\"Result\" type=\"tns:Node\"/>"
        "<xsd:element name=\"Marked\"><xsd:complexType><xsd:sequence><xsd:element name=\"v\" type=\"xsd:int\"/>"
        "</xsd:sequence><xsd:attribute name=\"mark\" type=\"xsd:string\"/></xsd:complexType></xsd:element>"
        "<xsd:element name=\"Count\" type=\"xsd:long\"/>"
        "</xsd:schema></types>\n"
        "<message name=\"DrawIn\"><part name=\"p\" element=\"tns:Shape\"/></message>"
        "<message name=\"DrawOut\"><part name=\"r\" element=\"tns:Result\"/></message>"
        "<message name=\"MarkIn\"><part name=\"p\" element=\"tns:Marked\"/></message>"
        "<message name=\"MarkOut\"><part name=\"c\" element=\"tns:Count\"/></message>"
        "<portType name=\"P\"><operation name=\"Draw\"><input message=\"tns:DrawIn\"/><output message=\"tns:DrawOut\"/>"
        "</operation><operation name=\"Mark\"><input message=\"tns:MarkIn\"/><output message=\"tns:MarkOut\"/></operation>"
        "</portType><binding name=\"B\" type=\"tns:P\"><soap:binding style=\"document\" "
        "transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
        "<operation name=\"Draw\"><soap:operation soapAction=\"\"/><input><soap:body use=\"literal\"/></input>"
        "<output><soap:body use=\"literal\"/></output></operation>"
        "<operation name=\"Mark\"><soap:operation soapAction=\"\"/><input><soap:body use=\"literal\"/></input>"
        "<output><soap:body use=\"literal\"/></output></operation></binding>\n");
}

// Reads each message of cases.h with the packet decoder and prints its
// result, the packet's kind, version, decode error and attachment, and its
// message: a Shape's or a Result's every field (a NULL text apart from an
// empty one), another's print; "<index>: streamed" where the struct stream
// read it.
const char* const StreamDriver = R"C(
static const char *const cases[] = {
#include "cases.h"
};

static void dump_text(const char *name, const char *value)
{
	printf(" %s=%s", name, value != NULL ? value : "(null)");
}

static void dump_point(demo_Point_t *point)
{
	printf(" {x=%d y=%.17g", point->x, point->y);
	dump_text("label", point->label);
	printf(" label_present=%d on=%d on_present=%d", point->label_present, point->on, point->on_present);
	dump_text("unit", point->unit.Unit);
	printf(" unit_present=%d}", point->unit_present);
}

static void dump_node(demo_Node_t *node)
{
	int	i;

	printf(" {");
	dump_text("name", node->name);
	printf(" depth=%d inner_present=%d", node->depth, node->inner_present);
	if(node->inner != NULL)
		dump_node(node->inner);
	printf(" points=%d", node->point_count);
	for(i = 0; i < node->point_count; i++)
		dump_point(&node->point[i]);
	printf(" tags=%d", node->tag_count);
	for(i = 0; i < node->tag_count; i++){
		dump_text("tag", node->tag[i]);
		printf(" nil=%d", node->tag_nil != NULL ? node->tag_nil[i] : -1);
	}
	printf(" weights=%d", node->weight_count);
	for(i = 0; i < node->weight_count; i++)
		printf(" %lld", node->weight[i]);
	printf(" scores=%d", node->score_count);
	for(i = 0; i < node->score_count; i++)
		printf(" %d", node->score[i].Score);
	printf("}");
}

static void dump(demo_proto_packet_t *pk)
{
	demo_Shape_t	*shape = &pk->msg.DrawIn.Shape;

	if(pk->msg_type == DEMO_PROTO_SHAPE){
		dump_node(&shape->node);
		dump_text("when", shape->when);
		printf(" count=%u small=%d small_present=%d", shape->count, shape->_small, shape->_small_present);
		dump_point(&shape->origin);
		printf("\n");
	}else if(pk->msg_type == DEMO_PROTO_RESULT){
		dump_node(&pk->msg.DrawOut.Result);
		printf("\n");
	}else{
		demo_print_proto_packet_t(pk);
	}
}

int main(void)
{
	size_t c, length;

	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++){
		static demo_proto_packet_t pk;
		int before = streamed_count, result;
		char *copy;

		length = strlen(cases[c]);
		copy = (char *)malloc(length + 1);
		memcpy(copy, cases[c], length + 1);
		memset(&pk, 0, sizeof(pk));
		result = demo_proto_unpack(copy, length, &pk);
		printf("%d: result=%d type=%u soap=%d error=%s fault=%s attachment=%d:%s\n", (int)c, result, pk.msg_type,
			pk.soap_version, pk.decode_error, pk.decode_fault != NULL ? pk.decode_fault : "-", pk.attachment_length,
			pk.attachment != NULL ? pk.attachment : "-");
		if(streamed_count != before)
			printf("%d: streamed\n", (int)c);
		if(result == 0)
			dump(&pk);
		demo_free_proto_packet(&pk);
		free(copy);
	}
	xmlCleanupParser();
	return 0;
}
)C";

// The decoder's call of the struct stream, as the generated source has it.
const char* const StreamCall = "demo_proto_struct_stream(buffer + xml_beg, part_end - xml_beg, pk, &time)";

struct StreamCase {
    std::string message;
    int result;    // of the packet decoder, either way
    bool streamed; // the struct stream took it
};

std::string request(const std::string& body, const std::string& start = "POST /x HTTP/1.1")
{
    return start + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string envelope(const std::string& inner)
{
    return "<?xml version=\"1.0\"?>\n<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\">" + inner +
        "</e:Envelope>";
}

std::string point(const std::string& x, const std::string& rest = "<t:y>0.5</t:y>")
{
    return "<t:x>" + x + "</t:x>" + rest;
}

std::string node(const std::string& name, int depth, const std::string& rest = std::string())
{
    return "<t:name>" + name + "</t:name><t:depth>" + std::to_string(depth) + "</t:depth>" + rest;
}

// A Shape request's envelope whose node holds nodeRest after its name and
// depth, and whose members after the node are tail.
std::string shapeEnvelope(const std::string& nodeRest, const std::string& tail = std::string(),
                          const std::string& before = std::string(), const std::string& after = std::string())
{
    const std::string members = tail.empty() ? "<t:when>2024-01-02T03:04:05Z</t:when><t:count>7</t:count>"
                                               "<t:origin>" + point("1") + "</t:origin>"
                                             : tail;
    return envelope(before + "<e:Body><t:Shape xmlns:t=\"urn:t\"><t:node>" + node("root", 0, nodeRest) + "</t:node>" + members +
                    "</t:Shape>" + after + "</e:Body>");
}

std::string shape(const std::string& nodeRest, const std::string& tail = std::string(), const std::string& before = std::string(),
                  const std::string& after = std::string())
{
    return request(shapeEnvelope(nodeRest, tail, before, after));
}

// A Shape request with a comment before its envelope.
std::string commented()
{
    std::string body = shapeEnvelope("");
    return request(body.insert(body.find("<e:Envelope"), "<!-- first -->"));
}

// A Shape request whose envelope declares more namespaces than a tag's
// first room for attributes holds.
std::string declaredMany()
{
    std::string body = shapeEnvelope("");
    std::string declarations;
    for (int i = 0; i < 40; ++i)
        declarations += " xmlns:d" + std::to_string(i) + "=\"urn:d" + std::to_string(i) + "\"";
    return request(body.insert(body.find("<e:Envelope") + 11, declarations));
}

// A chain of levels nodes deep inside the node's inner members.
std::string chain(int levels)
{
    std::string text;
    for (int i = levels; i > 0; --i)
        text = "<t:inner>" + node("n" + std::to_string(i), i, text) + "</t:inner>";
    return text;
}

// Builds the driver with the stream's call as given in place of StreamCall.
RunResult runWithCall(const std::string& header, std::string source, const std::string& call, const std::string& cases)
{
    const std::size_t at = source.find(StreamCall);
    if (at == std::string::npos)
        return RunResult{};
    source.replace(at, std::string(StreamCall).size(), call);
    const std::string counter = "static int streamed_count;\n"
                                "#define STRUCT_STREAMED(result) ((result) == 0 ? (streamed_count++, 0) : (result))\n";
    return buildAndRunC("#include \"demo_api.c\"\n",
                        {{"demo_api.h", header}, {"demo_api.c", counter + source + StreamDriver}, {"cases.h", cases}}, true);
}

// The lines of output that say a case was streamed taken out, by case.
std::vector<bool> takeStreamed(std::string& output, std::size_t cases)
{
    std::vector<bool> streamed(cases, false);
    for (std::size_t i = 0; i < cases; ++i) {
        const std::string line = std::to_string(i) + ": streamed\n";
        const std::size_t at = output.find(line);
        if (at != std::string::npos && (at == 0 || output[at - 1] == '\n')) {
            streamed[i] = true;
            output.erase(at, line.size());
        }
    }
    return streamed;
}

class StructStreamTest : public GeneratorTest {
protected:
    // Each case read with the stream on and off: the same output, the result
    // and the streaming each case expects.
    // textLength: of fixed texts; 0 for allocated ones.
    void expectSameBothWays(const std::vector<StreamCase>& cases, int textLength = 0)
    {
        project_.textLength = textLength;
        view(shapesDocument());
        const std::string header = emitHeader("demo", programPlatform());
        const std::string source = emitSourceWithPrinters();
        std::string table;
        for (const StreamCase& c : cases)
            table += cLiteral(c.message) + ",\n";
        RunResult on = runWithCall(header, source, std::string("STRUCT_STREAMED(") + StreamCall + ")", table);
        // The call stays named, so that the function is used, and is never made.
        RunResult off = runWithCall(header, source, std::string("(1 || ") + StreamCall + ")", table);
        ASSERT_EQ(on.status, 0) << on.messages << on.output;
        ASSERT_EQ(off.status, 0) << off.messages << off.output;
        const std::vector<bool> streamed = takeStreamed(on.output, cases.size());
        EXPECT_EQ(on.output, off.output);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            SCOPED_TRACE("case " + std::to_string(i));
            EXPECT_EQ(streamed[i], cases[i].streamed);
            EXPECT_NE(off.output.find(std::to_string(i) + ": result=" + std::to_string(cases[i].result) + " "), std::string::npos);
        }
    }
};

TEST_F(StructStreamTest, StreamedMessagesReadAsTheTreeReadsThem)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string points = "<t:point>" +
        point("1", "<t:y>1e3</t:y><t:label>a &amp; b&#65;</t:label><t:on>true</t:on><t:unit>cm</t:unit>") +
        "</t:point><t:point>" + point("-2") + "</t:point>";
    const std::string tags = "<t:tag>one</t:tag><t:tag></t:tag><t:tag>three</t:tag><t:weight>9000000000</t:weight>"
                             "<t:score>-3</t:score><t:score> 4 </t:score>";
    const std::string nil = " xmlns:i=\"http://www.w3.org/2001/XMLSchema-instance\" i:nil=\"true\"";
    const std::string result = "<e:Body><t:Result xmlns:t=\"urn:t\">";
    const std::vector<StreamCase> cases = {
        // Every shape of member, in order and out of it, texts with references.
        {shape(chain(3) + points + tags), 0, true},
        {shape(tags + points + chain(2)), 0, true},
        {shape(""), 0, true},
        {shape(chain(60)), 0, true},
        {shape("", "<t:origin>" + point("5") + "</t:origin><t:small>-128</t:small><t:count>4294967295</t:count>"
                   "<t:when>2024-01-02T03:04:05Z</t:when>"),
         0, true},
        // Blanks, text and unknown elements (however deep) between members,
        // an unqualified member, one of another namespace of the service,
        // elements after the message, a comment before the envelope.
        {shape("\n  text<t:other><t:x>9</t:x><u>1</u></t:other>\n<name2/>"), 0, true},
        {shape("<t:point><x>3</x><y>4</y></t:point>"), 0, true},
        {shape("", "", "", "<t:Shape xmlns:t=\"urn:t\"/><after/>"), 0, true},
        {commented(), 0, true},
        {request(envelope(result + node("r", 1, chain(2)) + "</t:Result></e:Body>"), "HTTP/1.1 200 OK"), 0, true},
        {request(envelope(result + node("", 0) + "</t:Result></e:Body>"), "HTTP/1.1 200 OK"), 0, true},
        // Values that do not convert, do not fit, are missing or stand twice.
        {shape("", "<t:when>2024-01-02T03:04:05Z</t:when><t:count>x</t:count><t:origin>" + point("1") + "</t:origin>"), -1, false},
        {shape("", "<t:when>2024-01-02T03:04:05Z</t:when><t:count>7</t:count><t:small>128</t:small><t:origin>" + point("1") +
                       "</t:origin>"),
         -1, false},
        {shape("", "<t:when>yesterday</t:when><t:count>7</t:count><t:origin>" + point("1") + "</t:origin>"), -1, false},
        {shape("", "<t:when>2024-01-02T03:04:05Z</t:when><t:origin>" + point("1") + "</t:origin>"), -1, false},
        {shape("<t:point><t:y>1</t:y></t:point>"), -1, false},
        {shape("<t:depth>2</t:depth>"), -1, false},
        {shape("<t:weight></t:weight>"), -1, false},
        {shape("<t:weight>1.5</t:weight>"), -1, false},
        {shape("<t:score>x</t:score>"), -1, false},
        {shape("<t:score/>"), -1, false},
        {shape("<t:point>" + point("1", "<t:y>2</t:y><t:unit></t:unit>") + "</t:point>"), 0, true},
        {shape("<t:point>" + point("1", "<t:y>2</t:y><t:unit>a<b/></t:unit>") + "</t:point>"), 0, false},
        {shape(chain(3) + "<t:inner>" + node("again", 1) + "</t:inner>"), -1, false},
        // What only the tree reads: attributes, markup in a value, a member's
        // name in a foreign namespace, a Header, an element before the message.
        {shape("<t:tag" + nil + "/>"), 0, false},
        {shape("<t:point xmlns:i=\"http://www.w3.org/2001/XMLSchema-instance\" i:type=\"t:Point\">" + point("1") + "</t:point>"),
         0, false},
        {shape("<t:tag>a<!-- c -->b</t:tag>"), 0, false},
        {shape("<t:tag><![CDATA[<x>]]></t:tag>"), 0, false},
        {shape("<t:tag>a<b/>c</t:tag>"), 0, false},
        {shape("<f:depth xmlns:f=\"urn:foreign\">5</f:depth>"), 0, false},
        {shape("<q:tag>x</q:tag>"), 0, false},
        // The service's namespace under another prefix is the service's; a foreign one after the
        // service's own elements of the same name is foreign.
        {shape("<u:point xmlns:u=\"urn:t\"><u:x>1</u:x><t:y>2</t:y></u:point>"), 0, true},
        // A declaration inside the message holds within its element alone: a default namespace, a
        // prefix bound again elsewhere, a prefix used past its element, a default one undeclared.
        {shape("<point xmlns=\"urn:t\"><x>1</x><y>2</y></point><t:tag>a</t:tag>"), 0, true},
        {shape("<t:point xmlns:t=\"urn:foreign\"><t:x>1</t:x><t:y>2</t:y></t:point>"), 0, false},
        {shape("<t:point><u:x xmlns:u=\"urn:t\">1</u:x><u:y>2</u:y></t:point>"), -1, false},
        {shape("<t:point><u:x xmlns:u=\"urn:t\">1</u:x><u:y xmlns:u=\"urn:foreign\">2</u:y></t:point>"), -1, false},
        {shape("<t:point><x xmlns=\"\">1</x><t:y>2</t:y></t:point>"), 0, true},
        {shape("<t:point xmlns=\"urn:foreign\"><x xmlns=\"\">1</x><y>2</y></t:point>"), -1, false},
        {shape("<t:tag>a</t:tag><t:tag>b</t:tag><f:tag xmlns:f=\"urn:foreign\">c</f:tag>"), 0, false},
        {shape("", "", "<e:Header><h:Trace xmlns:h=\"urn:h\">on</h:Trace></e:Header>"), 0, false},
        {request(envelope("<e:Body><x/><t:Shape xmlns:t=\"urn:t\"><t:node>" + node("r", 0) +
                          "</t:node><t:when>2024-01-02T03:04:05Z</t:when><t:count>1</t:count><t:origin>" + point("1") +
                          "</t:origin></t:Shape></e:Body>")),
         0, false},
        {request(envelope("<e:Body><t:Marked xmlns:t=\"urn:t\" mark=\"m\"><t:v>1</t:v></t:Marked></e:Body>")), 0, false},
        // The reading's room for attributes and the tree's, one after the other.
        {declaredMany(), 0, true},
        {request(envelope("<e:Body><t:Marked xmlns:t=\"urn:t\" mark=\"m\" a0=\"0\" a1=\"1\" a2=\"2\" a3=\"3\" a4=\"4\" a5=\"5\" a6=\"6\" a7=\"7\" a8=\"8\" a9=\"9\" a10=\"10\" a11=\"11\" a12=\"12\" a13=\"13\" a14=\"14\" a15=\"15\"><t:v>1</t:v></t:Marked></e:Body>")), 0, false},
        {request(envelope("<e:Body><t:Count xmlns:t=\"urn:t\">5</t:Count></e:Body>"), "HTTP/1.1 200 OK"), 0, false},
        {request(envelope("<e:Body><e:Fault><faultcode>e:Client</faultcode><faultstring>no</faultstring></e:Fault></e:Body>"),
                 "HTTP/1.1 500 Oops"),
         0, false},
        // Behind the envelope: blanks, an attachment, a comment; not XML, a
        // document type, another version's envelope.
        {request(shapeEnvelope("") + "\r\n  \n"), 0, true},
        {request(shapeEnvelope("") + "\r\nDATA"), 0, false},
        {request(shapeEnvelope("") + "<!-- c -->"), 0, false},
        {shape("<t:tag>open"), -1, false},
        {request("<?xml version=\"1.0\"?><!DOCTYPE e:Envelope [<!ENTITY a \"1\">]>" + envelope("<e:Body/>").substr(22)), -1, false},
        {request("<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body><t:Shape xmlns:t=\"urn:t\"/></e:Body>"
                 "</e:Envelope>"),
         -1, false},
        {request(envelope("<e:Body/>")), -1, false},
    };
    expectSameBothWays(cases);
}

// The Envelope, the Body and the message's element are known by the
// namespaces their names resolve to wherever the declarations stand, as the
// tree knows them: a prefix bound on an ancestor or on the element itself, a
// default namespace, one bound again to another namespace, one bound nowhere.
TEST_F(StructStreamTest, ElementsAboveTheMessageKnownByTheirNamespaces)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string soap11 = "http://schemas.xmlsoap.org/soap/envelope/";
    const std::string members = "<t:node>" + node("r", 0) + "</t:node><t:when>2024-01-02T03:04:05Z</t:when><t:count>1</t:count>"
                                "<t:origin>" + point("1") + "</t:origin>";
    const auto message = [&](const std::string& open, const std::string& close) {
        return request("<?xml version=\"1.0\"?>\n" + open + members + close);
    };
    const std::vector<StreamCase> cases = {
        {message("<Envelope xmlns=\"" + soap11 + "\"><Body><t:Shape xmlns:t=\"urn:t\">", "</t:Shape></Body></Envelope>"), 0, true},
        {message("<e:Envelope xmlns:e=\"" + soap11 + "\" xmlns:t=\"urn:t\"><e:Body><t:Shape>", "</t:Shape></e:Body></e:Envelope>"),
         0, true},
        {message("<e:Envelope xmlns:e=\"" + soap11 + "\"><s:Body xmlns:s=\"" + soap11 + "\" xmlns:t=\"urn:t\"><t:Shape>",
                 "</t:Shape></s:Body></e:Envelope>"),
         0, true},
        {message("<e:Envelope xmlns:e=\"" + soap11 + "\" xmlns=\"urn:t\"><e:Body><Shape xmlns:t=\"urn:t\">",
                 "</Shape></e:Body></e:Envelope>"),
         0, true},
        {message("<e:Envelope xmlns:e=\"" + soap11 + "\" xmlns:t=\"urn:foreign\"><e:Body><t:Shape xmlns:t=\"urn:t\">",
                 "</t:Shape></e:Body></e:Envelope>"),
         0, true},
        // The Envelope's prefix bound again on the Body, the Body in no namespace, one of another name.
        {message("<e:Envelope xmlns:e=\"" + soap11 + "\"><e:Body xmlns:e=\"urn:other\"><t:Shape xmlns:t=\"urn:t\">",
                 "</t:Shape></e:Body></e:Envelope>"),
         -1, false},
        {message("<e:Envelope xmlns:e=\"" + soap11 + "\"><Body><t:Shape xmlns:t=\"urn:t\">", "</t:Shape></Body></e:Envelope>"),
         -1, false},
        {message("<e:Envelope xmlns:e=\"" + soap11 + "\"><e:Bodies><t:Shape xmlns:t=\"urn:t\">",
                 "</t:Shape></e:Bodies></e:Envelope>"),
         -1, false},
        // Prefixes bound nowhere, an Envelope of no SOAP namespace, the message's element foreign.
        {message("<e:Envelope><e:Body><t:Shape xmlns:t=\"urn:t\">", "</t:Shape></e:Body></e:Envelope>"), -1, false},
        {message("<e:Envelope xmlns:e=\"" + soap11 + "\"><e:Body><t:Shape>", "</t:Shape></e:Body></e:Envelope>"), -1, false},
        {message("<e:Envelope xmlns:e=\"urn:other\"><e:Body><t:Shape xmlns:t=\"urn:t\">", "</t:Shape></e:Body></e:Envelope>"),
         -1, false},
        {message("<e:Envelope xmlns:e=\"" + soap11 + "\"><e:Body><t:Shape xmlns:t=\"urn:foreign\">",
                 "</t:Shape></e:Body></e:Envelope>"),
         -1, false},
        // Attributes above the message that refer to no value are no matter; one that may, is.
        {message("<e:Envelope xmlns:e=\"" + soap11 + "\" e:encodingStyle=\"urn:x\"><e:Body a=\"1\"><t:Shape xmlns:t=\"urn:t\">",
                 "</t:Shape></e:Body></e:Envelope>"),
         0, true},
        {message("<e:Envelope xmlns:e=\"" + soap11 + "\"><e:Body id=\"b\"><t:Shape xmlns:t=\"urn:t\">",
                 "</t:Shape></e:Body></e:Envelope>"),
         0, false},
    };
    expectSameBothWays(cases);
}

// Texts held in fixed arrays are copied in place; one too long for its
// array fails its message, as on the tree.
TEST_F(StructStreamTest, FixedTextsReadAsTheTreeReadsThem)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string tags = "<t:tag>one</t:tag><t:tag/><t:tag>" + std::string(128, 'x') + "</t:tag>";
    const std::vector<StreamCase> cases = {
        {shape(chain(2) + tags), 0, true},
        {shape("<t:point>" + point("1", "<t:y>2</t:y><t:label>" + std::string(128, 'y') + "</t:label>") + "</t:point>"), 0, true},
        {shape(tags + "<t:tag>" + std::string(129, 'x') + "</t:tag>"), -1, false},
        {shape("<t:inner>" + node(std::string(129, 'z'), 1) + "</t:inner>"), -1, false},
    };
    expectSameBothWays(cases, 128);
}

// Which types the stream reads: only those whose every member its reading
// matches exactly, and every struct they reach likewise.
TEST_F(StructStreamTest, ReadsOnlyTypesItMatchesExactly)
{
    const auto schema = [](const std::string& types) {
        return wsdltest::definitions("<types><xsd:schema targetNamespace=\"urn:t\" elementFormDefault=\"qualified\">"
                                     "<xsd:complexType name=\"Leaf\"><xsd:sequence><xsd:element name=\"v\" type=\"xsd:int\"/>"
                                     "</xsd:sequence></xsd:complexType>" +
                                     types + "</xsd:schema></types>\n");
    };
    const auto sequence = [](const std::string& elements, const std::string& after = std::string()) {
        return "<xsd:complexType name=\"Top\"><xsd:sequence>" + elements + "</xsd:sequence>" + after + "</xsd:complexType>";
    };
    const struct {
        std::string types;
        bool read;
    } cases[] = {
        {sequence("<xsd:element name=\"a\" type=\"xsd:string\"/><xsd:element name=\"b\" type=\"xsd:float\" maxOccurs=\"3\"/>"
                  "<xsd:element name=\"c\" type=\"tns:Leaf\" minOccurs=\"0\" maxOccurs=\"unbounded\"/>"
                  "<xsd:element name=\"d\" type=\"xsd:base64Binary\"/><xsd:element name=\"e\" type=\"xsd:decimal\"/>"),
         true},
        {sequence("<xsd:element name=\"self\" type=\"tns:Top\" minOccurs=\"0\"/>"), true},
        {sequence("", "<xsd:attribute name=\"a\" type=\"xsd:string\"/>"), false},
        {sequence("<xsd:element name=\"a\" type=\"xsd:anyType\"/>"), false},
        {sequence("<xsd:element name=\"a\" type=\"xsd:int\"/><xsd:any maxOccurs=\"unbounded\" processContents=\"lax\"/>"), false},
        {sequence("<xsd:element name=\"a\" type=\"tns:Odd\"/>") +
             "<xsd:complexType name=\"Odd\"><xsd:attribute name=\"n\" type=\"xsd:int\"/></xsd:complexType>",
         false},
        {sequence("<xsd:element name=\"a\" type=\"tns:Text\"/><xsd:element name=\"b\" type=\"tns:Text\" maxOccurs=\"2\"/>") +
             "<xsd:simpleType name=\"Text\"><xsd:restriction base=\"xsd:string\"/></xsd:simpleType>",
         true},
        {sequence("<xsd:element name=\"a\" type=\"tns:Color\"/>") +
             "<xsd:simpleType name=\"Color\"><xsd:restriction base=\"xsd:string\"><xsd:enumeration value=\"red\"/>"
             "</xsd:restriction></xsd:simpleType>",
         false},
        {sequence("<xsd:element name=\"a\" type=\"tns:Sized\"/>") +
             "<xsd:complexType name=\"Sized\"><xsd:simpleContent><xsd:extension base=\"xsd:int\">"
             "<xsd:attribute name=\"unit\" type=\"xsd:string\"/></xsd:extension></xsd:simpleContent></xsd:complexType>",
         false},
        {"<xsd:complexType name=\"Top\"><xsd:simpleContent><xsd:extension base=\"xsd:string\"/></xsd:simpleContent>"
         "</xsd:complexType>",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.types);
        view(schema(c.types));
        emitHeader("demo");
        const CViewType* top = nullptr;
        for (const CViewType* type : context_->layout().codecTypes()) {
            if (type->name == "Top")
                top = type;
        }
        ASSERT_NE(top, nullptr);
        CStructStream tables(*context_);
        EXPECT_EQ(tables.add(*top) >= 0, c.read);
        EXPECT_EQ(tables.empty(), !c.read);
    }
}

} // namespace
