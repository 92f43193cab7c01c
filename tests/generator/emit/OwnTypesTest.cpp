// An anyType value's own xsi:type through whole messages of generated code:
// read by the packet reader, sent again by the generated sender, read once
// more. Each place an anyType value stands in a message (a global element
// as a document part, a header element, an rpc part, the items of a
// repeated element) with a built-in type, a type of the target namespace,
// one of a foreign namespace under its own prefix, and none.

#include "GeneratorTestSupport.h"
#include "LoopbackPeer.h"

#include <string>
#include <vector>

using namespace gentest;

namespace {

const char* const SoapArrayPrefixes = "xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\" "
                                      "xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\"";
const char* const AnyArray =
    "<xsd:complexType name=\"ArrayOfAny\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
    "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:anyType[]\"/></xsd:restriction>"
    "</xsd:complexContent></xsd:complexType>";

// Document/literal Put (the body a global anyType element, a header of
// another, the answer a struct of repeated anyType elements, the fault's
// detail a third anyType element), rpc/encoded
// Echo (an anyType part) and List (a SOAP array of anyType items).
std::string ownTypesDocument()
{
    return wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\" elementFormDefault=\"qualified\" " +
        std::string(SoapArrayPrefixes) + "><xsd:import namespace=\"http://schemas.xmlsoap.org/soap/encoding/\"/>" +
        AnyArray +
        "<xsd:element name=\"Loose\" type=\"xsd:anyType\"/><xsd:element name=\"Note\"/><xsd:element name=\"Oops\"/>"
        "<xsd:element name=\"Bag\"><xsd:complexType><xsd:sequence>"
        "<xsd:element name=\"thing\" type=\"xsd:anyType\" minOccurs=\"0\" maxOccurs=\"unbounded\"/>"
        "</xsd:sequence></xsd:complexType></xsd:element></xsd:schema></types>\n"
        "<message name=\"PutIn\"><part name=\"body\" element=\"tns:Loose\"/></message>\n"
        "<message name=\"PutOut\"><part name=\"body\" element=\"tns:Bag\"/></message>\n"
        "<message name=\"NoteHeader\"><part name=\"note\" element=\"tns:Note\"/></message>\n"
        "<message name=\"PutFault\"><part name=\"detail\" element=\"tns:Oops\"/></message>\n"
        "<message name=\"EchoIn\"><part name=\"value\" type=\"xsd:anyType\"/></message>\n"
        "<message name=\"EchoOut\"><part name=\"result\" type=\"xsd:anyType\"/></message>\n"
        "<message name=\"ListIn\"><part name=\"items\" type=\"tns:ArrayOfAny\"/></message>\n"
        "<portType name=\"P\"><operation name=\"Put\"><input message=\"tns:PutIn\"/><output message=\"tns:PutOut\"/>"
        "<fault name=\"bad\" message=\"tns:PutFault\"/>"
        "</operation><operation name=\"Echo\"><input message=\"tns:EchoIn\"/><output message=\"tns:EchoOut\"/>"
        "</operation><operation name=\"List\"><input message=\"tns:ListIn\"/><output message=\"tns:EchoOut\"/>"
        "</operation></portType>\n"
        "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"document\" "
        "transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
        "<operation name=\"Put\"><soap:operation soapAction=\"urn:put\"/><input><soap:body use=\"literal\"/>"
        "<soap:header message=\"tns:NoteHeader\" part=\"note\" use=\"literal\"/></input>"
        "<output><soap:body use=\"literal\"/></output><fault name=\"bad\"><soap:fault name=\"bad\" use=\"literal\"/></fault>"
        "</operation><operation name=\"Echo\"><soap:operation soapAction=\"urn:echo\" style=\"rpc\"/>"
        "<input><soap:body use=\"encoded\" namespace=\"urn:t\" "
        "encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"/></input>"
        "<output><soap:body use=\"encoded\" namespace=\"urn:t\" "
        "encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"/></output></operation>"
        "<operation name=\"List\"><soap:operation soapAction=\"urn:list\" style=\"rpc\"/>"
        "<input><soap:body use=\"encoded\" namespace=\"urn:t\" "
        "encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"/></input>"
        "<output><soap:body use=\"encoded\" namespace=\"urn:t\" "
        "encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"/></output></operation></binding>\n"
        "<service name=\"S\"><port name=\"Q\" binding=\"tns:B\"><soap:address location=\"http://localhost/s\"/></port>"
        "</service>\n");
}

// For each case: the message read, its anyType values shown (value, type,
// namespace; "-" for none), the start tags it is sent again with, and the
// values of that message read once more.
const char* const Driver = R"(
#include <sys/socket.h>

static const struct{ int request; const char *envelope, *tag; }cases[] = {
#include "cases.h"
};

static const char *S(const char *text)
{
	return text != NULL ? text : "-";
}

static void show_value(const char *name, const char *value, const char *type, const char *ns)
{
	printf(" %s=%s,%s,%s", name, S(value), S(type), S(ns));
}

static void show(int result, demo_proto_packet_t *pk)
{
	int i;

	printf(" %d", result);
	if(result != 0)
		return;
	show_value("Note", pk->Note, pk->Note_type, pk->Note_type_ns);
	if(pk->msg_type == DEMO_PROTO_LOOSE)
		show_value("Loose", pk->msg.PutIn.Loose.Loose, pk->msg.PutIn.Loose.Loose_type, pk->msg.PutIn.Loose.Loose_type_ns);
	if(pk->msg_type == DEMO_PROTO_ECHO)
		show_value("value", pk->msg.EchoIn.value, pk->msg.EchoIn.value_type, pk->msg.EchoIn.value_type_ns);
	for(i = 0; pk->msg_type == DEMO_PROTO_BAG && i < pk->msg.PutOut.Bag.thing_count; i++)
		show_value("thing", pk->msg.PutOut.Bag.thing[i], pk->msg.PutOut.Bag.thing_type[i], pk->msg.PutOut.Bag.thing_type_ns[i]);
	if(pk->msg_type == DEMO_PROTO_SOAP_FAULT && pk->msg.soap_fault.detail_msg.PutFault != NULL)
		show_value("Oops", pk->msg.soap_fault.detail_msg.PutFault->Oops.Oops, pk->msg.soap_fault.detail_msg.PutFault->Oops.Oops_type,
			pk->msg.soap_fault.detail_msg.PutFault->Oops.Oops_type_ns);
	for(i = 0; pk->msg_type == DEMO_PROTO_LIST && i < pk->msg.ListIn.items.ArrayOfAny_count; i++)
		show_value("item", pk->msg.ListIn.items.ArrayOfAny[i], pk->msg.ListIn.items.ArrayOfAny_type[i],
			pk->msg.ListIn.items.ArrayOfAny_type_ns[i]);
}

/* the envelope as a request or a response framed by its length, into message */
static void frame(char *message, size_t size, int request, const char *envelope)
{
	snprintf(message, size, "%s\r\nContent-Type: text/xml\r\nContent-Length: %d\r\n\r\n%s",
		request ? "POST /s HTTP/1.1\r\nHost: x" : "HTTP/1.1 200 OK", (int)strlen(envelope), envelope);
}

/* the packet sent on a socket pair: the bytes that went, into sent */
static int send_again(demo_proto_packet_t *pk, char *sent, size_t size)
{
	demo_proto_trans_t trans;
	int ends[2], result;
	ssize_t got;

	if(socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
		return -99;
	memset(&trans, 0, sizeof(trans));
	trans.socket = ends[0];
	strcpy(trans.dest_ip, "10.0.0.5");
	strcpy(trans.url, "/s");
	trans.dest_port = 80;
	result = demo_proto_sendpacket(&trans, pk, 7);
	got = recv(ends[1], sent, size - 1, MSG_DONTWAIT);
	sent[got > 0 ? got : 0] = '\0';
	close(ends[0]);
	close(ends[1]);
	return result;
}

/* every start tag named tag in text */
static void show_tags(const char *text, const char *tag)
{
	const char *at = text;
	size_t length = strlen(tag);

	while((at = strstr(at, tag)) != NULL){
		if(at[-1] == '<' && (at[length] == ' ' || at[length] == '>'))
			printf(" %.*s", (int)(strchr(at, '>') - at + 2), at - 1);
		at += length;
	}
}

int main(void)
{
	static char message[8192], sent[8192];
	static demo_proto_packet_t pk, again;
	size_t c;

	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++){
		int result;

		memset(&pk, 0, sizeof(pk));
		memset(&again, 0, sizeof(again));
		frame(message, sizeof(message), cases[c].request, cases[c].envelope);
		result = read_message(message, &pk);
		printf("%d:", (int)c);
		show(result, &pk);
		printf(" |");
		if(result == 0 && (result = send_again(&pk, sent, sizeof(sent))) == 0)
			show_tags(sent, cases[c].tag);
		else
			printf(" send %d", result);
		printf(" |");
		show(result == 0 ? read_message(sent, &again) : -1, &again);
		printf("\n");
		demo_free_proto_packet(&pk);
		demo_free_proto_packet(&again);
	}
	xmlCleanupParser();
	return 0;
}
)";

struct OwnTypeCase {
    bool request;
    std::string envelopeBody; // inside the Envelope, which declares e, xsi, xsd, t and enc
    const char* tag;          // the start tags shown of the message sent again
    std::string read, sent, readAgain; // what the driver prints of each step
};

std::string envelope(const std::string& body)
{
    return std::string("<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                       "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                       "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:t=\"urn:t\" "
                       "xmlns:enc=\"http://schemas.xmlsoap.org/soap/encoding/\">") +
        body + "</e:Envelope>";
}

const std::string Xsd = "http://www.w3.org/2001/XMLSchema";

// A start tag as sent with a type of namespace ns: under the prefix declared beside it.
std::string typedTag(const std::string& name, const std::string& ns, const std::string& local)
{
    return "<" + name + " xmlns:type-ns=\"" + ns + "\" xsi:type=\"type-ns:" + local + "\">";
}

// A List request's Body around its items, after the array's size.
const std::string ListOpen = "<e:Body><t:List><items enc:arrayType=\"xsd:anyType";
const std::string ListClose = "</items></t:List></e:Body>";
// A fault's Body around its detail's content.
const std::string FaultOpen = "<e:Body><e:Fault><faultcode>e:Server</faultcode><faultstring>no</faultstring><detail>";
const std::string FaultClose = "</detail></e:Fault></e:Body>";

class OwnTypesTest : public GeneratorTest {};

} // namespace

TEST_F(OwnTypesTest, EachPlaceKeepsItsValuesOwnTypeThroughARoundTrip)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    // Each header row's Body holds an empty Loose; a header left out goes
    // again as an empty element.
    const std::vector<OwnTypeCase> cases = {
        // a global anyType element as the document's part
        {true, "<e:Body><t:Loose xsi:type=\"xsd:int\">5</t:Loose></e:Body>", "ns1:Loose",
         "Note=-,-,- Loose=5,xsd:int," + Xsd, typedTag("ns1:Loose", Xsd, "int"), "Note=,-,- Loose=5,type-ns:int," + Xsd},
        {true, "<e:Body><t:Loose xsi:type=\"t:Thing\">x</t:Loose></e:Body>", "ns1:Loose", "Note=-,-,- Loose=x,t:Thing,urn:t",
         typedTag("ns1:Loose", "urn:t", "Thing"), "Note=,-,- Loose=x,type-ns:Thing,urn:t"},
        {true, "<e:Body><t:Loose xmlns:f=\"urn:f\" xsi:type=\"f:Other\">x</t:Loose></e:Body>", "ns1:Loose",
         "Note=-,-,- Loose=x,f:Other,urn:f", typedTag("ns1:Loose", "urn:f", "Other"), "Note=,-,- Loose=x,type-ns:Other,urn:f"},
        {true, "<e:Body><t:Loose>x</t:Loose></e:Body>", "ns1:Loose", "Note=-,-,- Loose=x,-,-", "<ns1:Loose>",
         "Note=,-,- Loose=x,-,-"},
        // an anyType element in the Header
        {true, "<e:Header><t:Note xsi:type=\"xsd:int\">7</t:Note></e:Header><e:Body><t:Loose/></e:Body>", "ns1:Note",
         "Note=7,xsd:int," + Xsd + " Loose=,-,-", typedTag("ns1:Note", Xsd, "int"), "Note=7,type-ns:int," + Xsd + " Loose=,-,-"},
        {true, "<e:Header><t:Note xsi:type=\"t:Thing\">n</t:Note></e:Header><e:Body><t:Loose/></e:Body>", "ns1:Note",
         "Note=n,t:Thing,urn:t Loose=,-,-", typedTag("ns1:Note", "urn:t", "Thing"), "Note=n,type-ns:Thing,urn:t Loose=,-,-"},
        {true, "<e:Header><t:Note xmlns:f=\"urn:f\" xsi:type=\"f:Other\">n</t:Note></e:Header><e:Body><t:Loose/></e:Body>",
         "ns1:Note", "Note=n,f:Other,urn:f Loose=,-,-", typedTag("ns1:Note", "urn:f", "Other"),
         "Note=n,type-ns:Other,urn:f Loose=,-,-"},
        {true, "<e:Header><t:Note>n</t:Note></e:Header><e:Body><t:Loose/></e:Body>", "ns1:Note", "Note=n,-,- Loose=,-,-",
         "<ns1:Note>", "Note=n,-,- Loose=,-,-"},
        // an rpc part: without a type of its own it goes with the encoded use's
        {true, "<e:Body><t:Echo><value xsi:type=\"xsd:int\">5</value></t:Echo></e:Body>", "value",
         "Note=-,-,- value=5,xsd:int," + Xsd, typedTag("value", Xsd, "int"), "Note=-,-,- value=5,type-ns:int," + Xsd},
        {true, "<e:Body><t:Echo><value xsi:type=\"t:Thing\">x</value></t:Echo></e:Body>", "value",
         "Note=-,-,- value=x,t:Thing,urn:t", typedTag("value", "urn:t", "Thing"), "Note=-,-,- value=x,type-ns:Thing,urn:t"},
        {true, "<e:Body><t:Echo><value xmlns:f=\"urn:f\" xsi:type=\"f:Other\">x</value></t:Echo></e:Body>", "value",
         "Note=-,-,- value=x,f:Other,urn:f", typedTag("value", "urn:f", "Other"), "Note=-,-,- value=x,type-ns:Other,urn:f"},
        {true, "<e:Body><t:Echo><value>x</value></t:Echo></e:Body>", "value", "Note=-,-,- value=x,-,-",
         "<value xsi:type=\"xsd:anyType\">", "Note=-,-,- value=x,xsd:anyType," + Xsd},
        // the items of a repeated element, each with its own type or none,
        // read item by item
        {false, "<e:Body><t:Bag><t:thing xsi:type=\"xsd:int\">1</t:thing><t:thing>2</t:thing></t:Bag></e:Body>",
         "ns1:thing", "Note=-,-,- thing=1,xsd:int," + Xsd + " thing=2,-,-", typedTag("ns1:thing", Xsd, "int") + " <ns1:thing>",
         "Note=-,-,- thing=1,type-ns:int," + Xsd + " thing=2,-,-"},
        {false, "<e:Body><t:Bag><t:thing>1</t:thing><t:thing xsi:type=\"t:Thing\">2</t:thing></t:Bag></e:Body>",
         "ns1:thing", "Note=-,-,- thing=1,-,- thing=2,t:Thing,urn:t", "<ns1:thing> " + typedTag("ns1:thing", "urn:t", "Thing"),
         "Note=-,-,- thing=1,-,- thing=2,type-ns:Thing,urn:t"},
        {false, "<e:Body><t:Bag><t:thing xmlns:f=\"urn:f\" xsi:type=\"f:Other\">1</t:thing></t:Bag></e:Body>", "ns1:thing",
         "Note=-,-,- thing=1,f:Other,urn:f", typedTag("ns1:thing", "urn:f", "Other"),
         "Note=-,-,- thing=1,type-ns:Other,urn:f"},
        {false, "<e:Body><t:Bag><t:thing>1</t:thing><t:thing>2</t:thing></t:Bag></e:Body>", "ns1:thing",
         "Note=-,-,- thing=1,-,- thing=2,-,-", "<ns1:thing> <ns1:thing>", "Note=-,-,- thing=1,-,- thing=2,-,-"},
        // the items of a SOAP array, also those placed by position and
        // those its size adds; an untyped item goes with the encoded use's type
        {true, ListOpen + "[2]\"><item xsi:type=\"xsd:int\">1</item><item>2</item>" + ListClose, "item",
         "Note=-,-,- item=1,xsd:int," + Xsd + " item=2,-,-", typedTag("item", Xsd, "int") + " <item xsi:type=\"xsd:anyType\">",
         "Note=-,-,- item=1,type-ns:int," + Xsd + " item=2,xsd:anyType," + Xsd},
        {true, ListOpen + "[1]\"><item xsi:type=\"t:Thing\">x</item>" + ListClose, "item", "Note=-,-,- item=x,t:Thing,urn:t",
         typedTag("item", "urn:t", "Thing"), "Note=-,-,- item=x,type-ns:Thing,urn:t"},
        {true, ListOpen + "[1]\"><item xmlns:f=\"urn:f\" xsi:type=\"f:Other\">x</item>" + ListClose, "item",
         "Note=-,-,- item=x,f:Other,urn:f", typedTag("item", "urn:f", "Other"), "Note=-,-,- item=x,type-ns:Other,urn:f"},
        {true, ListOpen + "[1]\"><item>x</item>" + ListClose, "item", "Note=-,-,- item=x,-,-", "<item xsi:type=\"xsd:anyType\">",
         "Note=-,-,- item=x,xsd:anyType," + Xsd},
        {true, ListOpen + "[3]\"><item enc:position=\"[1]\" xsi:type=\"xsd:int\">5</item>" + ListClose, "item",
         "Note=-,-,- item=-,-,- item=5,xsd:int," + Xsd + " item=-,-,-",
         "<item xsi:type=\"xsd:anyType\"> " + typedTag("item", Xsd, "int") + " <item xsi:type=\"xsd:anyType\">",
         "Note=-,-,- item=,xsd:anyType," + Xsd + " item=5,type-ns:int," + Xsd + " item=,xsd:anyType," + Xsd},
        // a fault's detail, decoded into its fault message and written from it
        {false, FaultOpen + "<t:Oops xsi:type=\"xsd:int\">3</t:Oops>" + FaultClose, "ns1:Oops", "Note=-,-,- Oops=3,xsd:int," + Xsd,
         typedTag("ns1:Oops", Xsd, "int"), "Note=-,-,- Oops=3,type-ns:int," + Xsd},
        {false, FaultOpen + "<t:Oops xmlns:f=\"urn:f\" xsi:type=\"f:Other\">x</t:Oops>" + FaultClose, "ns1:Oops",
         "Note=-,-,- Oops=x,f:Other,urn:f", typedTag("ns1:Oops", "urn:f", "Other"), "Note=-,-,- Oops=x,type-ns:Other,urn:f"},
        {false, FaultOpen + "<t:Oops>x</t:Oops>" + FaultClose, "ns1:Oops", "Note=-,-,- Oops=x,-,-", "<ns1:Oops>",
         "Note=-,-,- Oops=x,-,-"},
    };
    std::string table, expected;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        table += std::string("{") + (cases[i].request ? "1" : "0") + ", " + cLiteral(envelope(cases[i].envelopeBody)) +
            ", " + cLiteral(cases[i].tag) + "},\n";
        expected += std::to_string(i) + ": 0 " + cases[i].read + " | " + cases[i].sent + " | 0 " + cases[i].readAgain + "\n";
    }
    view(ownTypesDocument());
    emitHeader("demo", programPlatform());
    const std::string source = emitSourceWithReaders() + LoopbackPeer + ReadMessage + Driver;
    const RunResult run = buildAndRunC("#include \"demo_api.c\"\n",
                                       {{"demo_api.h", headerText()}, {"demo_api.c", source}, {"cases.h", table}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// The members beside each value are declared where the value is, named
// clear of the other members; the header says how they go only where a
// place beyond a type's single element has them (a global element's type
// is such a type).
TEST_F(OwnTypesTest, TheTypesAreDeclaredBesideTheirValues)
{
    std::string clashing = ownTypesDocument();
    const std::string part = "<part name=\"value\" type=\"xsd:anyType\"/>";
    clashing.replace(clashing.find(part), part.size(), part + "<part name=\"value_type\" type=\"xsd:string\"/>");
    const std::string plain = wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\">"
        "<xsd:complexType name=\"Holder\"><xsd:sequence><xsd:element name=\"content\"/></xsd:sequence></xsd:complexType>"
        "<xsd:element name=\"Wrapped\"><xsd:complexType><xsd:sequence><xsd:element name=\"inner\"/></xsd:sequence>"
        "</xsd:complexType></xsd:element></xsd:schema></types>\n");
    const std::string conventions = "//A repeated anyType element (a SOAP array's anyType items too) has";
    const struct {
        const std::string* document;
        std::string block; // the struct or packet the text stands in; empty: the whole text
        std::string text;
        bool present;
    } cases[] = {
        {&clashing, "typedef struct demo_Loose_t{", "\tchar\t*Loose;\r\n\tchar\t*Loose_type;\r\n\tchar\t*Loose_type_ns;\r\n", true},
        {&clashing, "typedef struct demo_Bag_t{",
         "\tchar\t**thing;\r\n\tint\tthing_count;\r\n\tchar\t**thing_type;\r\n\tchar\t**thing_type_ns;\r\n", true},
        {&clashing, "typedef struct demo_EchoIn_msg_t{",
         "\tchar\t*value;\r\n\tchar\t*value_type_2;\r\n\tchar\t*value_type_ns;\r\n\tchar\t*value_type;\r\n", true},
        {&clashing, "typedef struct demo_EchoOut_msg_t{", "\tchar\t*result_type;\r\n\tchar\t*result_type_ns;\r\n", true},
        {&clashing, "typedef struct demo_proto_packet_t{", "\tchar\t*Note;\r\n\tchar\t*Note_type;\r\n\tchar\t*Note_type_ns;\r\n",
         true},
        {&clashing, "", conventions, true},
        {&plain, "typedef struct demo_Holder_t{", "\tchar\t*content_type;\r\n", true},
        {&plain, "typedef struct demo_Wrapped_t{", "\tchar\t*inner_type;\r\n", true},
        {&clashing, "typedef struct demo_ArrayOfAny_t{",
         "\tint\tArrayOfAny_count;\r\n\tint\t*ArrayOfAny_nil;\r\n\tchar\t**ArrayOfAny_type;\r\n\tchar\t**ArrayOfAny_type_ns;\r\n", true},
        {&plain, "", conventions, false},
    };
    for (const auto& c : cases) {
        view(*c.document);
        const std::string header = emitStructs("demo");
        const std::string where = c.block.empty() ? header : block(header, c.block);
        ASSERT_FALSE(where.empty()) << c.block;
        EXPECT_EQ(c.present, where.find(c.text) != std::string::npos) << c.block << "\n" << c.text << "\n" << where;
    }
}
