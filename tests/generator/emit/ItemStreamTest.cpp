// A message of repeated items is read item by item where nothing in it needs
// the whole tree; whatever does (a Header, a value by reference, a document
// type, a failure, bytes behind the envelope) must read as the tree reads it.
// Each case is a whole HTTP request read by the generated packet reader
// under the sanitizers.

#include "CodecFixture.h"

using namespace gentest;

namespace {

// Document operation List (element Items: repeated entries and nillable
// tags), and an rpc/encoded operation Sum, so that the service's messages
// may carry values by reference.
std::string itemsDocument()
{
    return wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\" elementFormDefault=\"qualified\">"
        "<xsd:complexType name=\"Entry\"><xsd:sequence><xsd:element name=\"n\" type=\"xsd:int\"/>"
        "<xsd:element name=\"label\" type=\"xsd:string\"/></xsd:sequence></xsd:complexType>"
        "<xsd:element name=\"Items\"><xsd:complexType><xsd:sequence>"
        "<xsd:element name=\"entry\" type=\"tns:Entry\" minOccurs=\"0\" maxOccurs=\"unbounded\"/>"
        "<xsd:element name=\"tag\" type=\"xsd:int\" minOccurs=\"0\" maxOccurs=\"unbounded\" nillable=\"true\"/>"
        "</xsd:sequence></xsd:complexType></xsd:element><xsd:element name=\"Count\" type=\"xsd:long\"/>"
        "</xsd:schema></types>\n"
        "<message name=\"ListIn\"><part name=\"p\" element=\"tns:Items\"/></message>"
        "<message name=\"ListOut\"><part name=\"c\" element=\"tns:Count\"/></message>"
        "<message name=\"SumIn\"><part name=\"a\" type=\"xsd:int\"/></message>"
        "<message name=\"SumOut\"><part name=\"r\" type=\"xsd:int\"/></message>"
        "<portType name=\"P\"><operation name=\"List\"><input message=\"tns:ListIn\"/><output message=\"tns:ListOut\"/>"
        "</operation><operation name=\"Sum\"><input message=\"tns:SumIn\"/><output message=\"tns:SumOut\"/></operation>"
        "</portType><binding name=\"B\" type=\"tns:P\"><soap:binding style=\"document\" "
        "transport=\"http://schemas.xmlsoap.org/soap/http\"/><operation name=\"List\"><soap:operation soapAction=\"\"/>"
        "<input><soap:body use=\"literal\"/></input><output><soap:body use=\"literal\"/></output></operation>"
        "<operation name=\"Sum\"><soap:operation soapAction=\"\" style=\"rpc\"/><input><soap:body use=\"encoded\" "
        "namespace=\"urn:t\" encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"/></input><output>"
        "<soap:body use=\"encoded\" namespace=\"urn:t\" encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"/>"
        "</output></operation></binding>\n");
}

// Every entry and tag of a List request, and what else the packet holds.
const char* const Report = R"(
static void report(int result, demo_proto_packet_t *pk)
{
	int i;

	printf(" type=%u soap=%d", pk->msg_type, pk->soap_version);
	if(result == 0 && pk->msg_type == DEMO_PROTO_ITEMS){
		demo_Items_t *items = &pk->msg.ListIn.Items;
		printf(" entries=%d", items->entry_count);
		/* a long run shows its ends */
		for(i = 0; i < items->entry_count; i++){
			if(i < 3 || i == items->entry_count - 1)
				printf(" %d/%s", items->entry[i].n, items->entry[i].label != NULL ? items->entry[i].label : "-");
		}
		printf(" tags=%d", items->tag_count);
		for(i = 0; i < items->tag_count; i++)
			printf(items->tag_nil[i] ? " nil" : " %d", items->tag[i]);
	}
	if(result == 0 && pk->msg_type == DEMO_PROTO_COUNT)
		printf(" c=%lld", pk->msg.ListOut.Count.Count);
	if(result == 0 && pk->msg_type == DEMO_PROTO_SOAP_FAULT)
		printf(" fault=%s|%s", pk->msg.soap_fault.faultcode, pk->msg.soap_fault.faultstring);
	if(pk->decode_error[0])
		printf(" error=%s", pk->decode_error);
	if(pk->decode_fault != NULL)
		printf(" fault_code=%s", pk->decode_fault);
	if(pk->attachment != NULL)
		printf(" attachment=%d:%s", pk->attachment_length, pk->attachment);
}
)";

std::string request(const std::string& body, const std::string& start = "POST /x HTTP/1.1")
{
    return start + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string envelope(const std::string& inner, const std::string& before = std::string())
{
    return "<?xml version=\"1.0\"?>\n" + before + "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\">" + inner +
        "</e:Envelope>";
}

std::string items(const std::string& inner, const std::string& attributes = std::string())
{
    return "<e:Body><t:Items xmlns:t=\"urn:t\"" + attributes + ">" + inner + "</t:Items></e:Body>";
}

std::string entry(int n, const std::string& label)
{
    return "<t:entry><t:n>" + std::to_string(n) + "</t:n><t:label>" + label + "</t:label></t:entry>";
}

class ItemStreamTest : public ReaderDriverTest {};

TEST_F(ItemStreamTest, ItemsReadOneAtATimeAsTheWholeTreeReadsThem)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string three = entry(1, "a") + entry(2, "b &amp; c") + entry(3, "");
    const std::string tags = "<t:tag>7</t:tag><t:tag xsi:nil=\"true\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"/>"
                             "<t:tag>9</t:tag>";
    const std::string threeRead = " entries=3 1/a 2/b & c 3/- tags=3 7 nil 9";
    std::string many;
    for (int i = 0; i < 1000; ++i)
        many += entry(i, "e" + std::to_string(i));
    const std::vector<MessageCase> cases = {
        {request(envelope(items(three + tags))), "0 type=3 soap=11" + threeRead},
        {request(envelope(items(""))), "0 type=3 soap=11 entries=0 tags=0"},
        {request(envelope("<e:Body><t:Items xmlns:t=\"urn:t\"/></e:Body>")), "0 type=3 soap=11 entries=0 tags=0"},
        {request(envelope(items(many))), "0 type=3 soap=11 entries=1000 0/e0 1/e1 2/e2 999/e999 tags=0"},
        // Blanks, comments and text between the items, and items of no member.
        {request(envelope(items("\n  " + entry(1, "a") + "<!-- x -->text<t:other>5</t:other>\n" + entry(2, "b")) + "\n")),
         "0 type=3 soap=11 entries=2 1/a 2/b tags=0"},
        // A Header, an element before the message, an element after it, a
        // comment before the envelope: as the tree reads them.
        {request(envelope("<e:Header><h:Trace xmlns:h=\"urn:h\">on</h:Trace></e:Header>" + items(three + tags))),
         "0 type=3 soap=11" + threeRead},
        {request(envelope("<e:Body><x/><t:Items xmlns:t=\"urn:t\">" + three + tags + "</t:Items></e:Body>")),
         "0 type=3 soap=11" + threeRead},
        {request(envelope("<e:Body><t:Items xmlns:t=\"urn:t\">" + entry(4, "d") + "</t:Items><after/></e:Body>")),
         "0 type=3 soap=11 entries=1 4/d tags=0"},
        {request(envelope(items(entry(4, "d")), "<!-- first -->")), "0 type=3 soap=11 entries=1 4/d tags=0"},
        // A value by reference stands where it is referred to.
        {request(envelope("<e:Body><t:Items xmlns:t=\"urn:t\">" + entry(1, "a") +
                          "<t:entry href=\"#e2\"/></t:Items><t:entry id=\"e2\" xmlns:t=\"urn:t\"><t:n>2</t:n><t:label>b</t:label></t:entry>"
                          "</e:Body>")),
         "0 type=3 soap=11 entries=2 1/a 2/b tags=0"},
        {request(envelope(items(entry(1, "a"), " id=\"i1\""))), "0 type=3 soap=11 entries=1 1/a tags=0"},
        // A value that fails names its member; a document that is not
        // well-formed behind the items is refused as no XML, whatever was
        // read before.
        {request(envelope(items(entry(1, "a") + "<t:entry><t:n>x</t:n><t:label>b</t:label></t:entry>"))),
         "-1 type=3 soap=11 error=demo_Entry_t.n: \"x\" (1 bytes) is no xsd:int fault_code=SOAP-ENV:Client"},
        {request(envelope(items(entry(1, "a") + "<t:entry><t:label>b</t:label></t:entry>"))),
         "-1 type=3 soap=11 error=demo_Entry_t.n: no value fault_code=SOAP-ENV:Client"},
        {request(envelope(items(entry(1, "a")) + "<oops>")),
         "-1 type=0 soap=0 error=the SOAP message is no well-formed XML: line 2, column 187: Premature end of data in tag Envelope line 2 "
         "fault_code=SOAP-ENV:Client"},
        {request("<?xml version=\"1.0\"?><!DOCTYPE e:Envelope [<!ENTITY a \"1\">]>" + envelope(items(entry(1, "a"))).substr(22)),
         "-1 type=0 soap=0 error=the SOAP message is no XML document, or holds a document type declaration fault_code=SOAP-ENV:Client"},
        // Bytes behind the envelope are the attachment.
        {request(envelope(items(entry(1, "a"))) + "\r\nDATA"), "0 type=3 soap=11 entries=1 1/a tags=0 attachment=4:DATA"},
        {request(envelope(items(entry(1, "a"))) + "<!-- c -->"),
         "0 type=3 soap=11 entries=1 1/a tags=0 attachment=10:<!-- c -->"},
        // Another version's envelope, a fault, another kind.
        {request("<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\">" + items(entry(1, "a")) + "</e:Envelope>"),
         "-1 type=0 soap=12 error=the root element is no SOAP 1.1 Envelope: {http://www.w3.org/2003/05/soap-envelope}Envelope fault_code=SOAP-ENV:VersionMismatch"},
        {request(envelope("<e:Body><e:Fault><faultcode>e:Client</faultcode><faultstring>no</faultstring></e:Fault></e:Body>")),
         "0 type=2 soap=11 fault=e:Client|no"},
        {request(envelope("<e:Body><t:Count xmlns:t=\"urn:t\">5</t:Count></e:Body>")), "0 type=4 soap=11 c=5"},
    };
    const auto [table, expected] = messageTable(cases);
    const RunResult run = runReaderDriver(itemsDocument(), Report, table);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// A message of items whose types the struct stream reads goes to it first,
// so that no item's tree is built: what it leaves (a nil item, a value by
// reference, a failure) the item stream or the tree reads as before, and
// every message reads as it does without the struct stream.
TEST_F(ItemStreamTest, StructStreamReadsPlainItemsFirst)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string nil = "<t:tag xsi:nil=\"true\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"/>";
    std::string many;
    for (int i = 0; i < 300; ++i)
        many += entry(i, "e" + std::to_string(i));
    const struct {
        std::string message;
        bool streamed;
    } cases[] = {
        {request(envelope(items(entry(1, "a") + entry(2, "b &amp; c") + "<t:tag>7</t:tag><t:tag>9</t:tag>"))), true},
        {request(envelope(items(many))), true},
        {request(envelope(items(""))), true},
        {request(envelope(items(entry(1, "a") + "<t:tag>7</t:tag>" + nil))), false},
        {request(envelope(items(entry(1, "a") + "<t:entry href=\"#e2\"/>"))), false},
        {request(envelope(items(entry(1, "a") + "<t:entry><t:n>x</t:n><t:label>b</t:label></t:entry>"))), false},
        {request(envelope(items(entry(1, "a") + "<t:entry><t:label>b</t:label></t:entry>"))), false},
        {request(envelope("<e:Header><h:Trace xmlns:h=\"urn:h\">on</h:Trace></e:Header>" + items(entry(1, "a")))), false},
    };
    std::string table;
    for (const auto& c : cases)
        table += cLiteral(c.message) + ",\n";
    const std::string call = "demo_proto_struct_stream(buffer + xml_beg, part_end - xml_beg, pk, &time)";
    const std::string counted = "static int streamed_count, reported_count;\n"
                                "#define STRUCT_STREAMED(result) ((result) == 0 ? (streamed_count++, 0) : (result))\n";
    // The report of the first test, and whether the struct stream read the message.
    std::string report = Report;
    report.replace(report.find("report("), 7, "report_items(");
    // Items without a nil one have no nil flags.
    report.replace(report.find("items->tag_nil[i] ?"), 19, "items->tag_nil != NULL && items->tag_nil[i] ?");
    report += "static void report(int result, demo_proto_packet_t *pk)\n{\n\treport_items(result, pk);\n"
              "\tprintf(streamed_count != reported_count ? \" struct\" : \"\");\n\treported_count = streamed_count;\n}\n";
    view(itemsDocument());
    emitHeader("demo", programPlatform());
    const std::string source = emitSourceWithReaders() + LoopbackPeer + ReadMessage + ReadEachCase;
    ASSERT_NE(source.find(call), std::string::npos);
    const auto run = [&](const std::string& made) {
        std::string text = source;
        text.replace(text.find(call), call.size(), made);
        return buildAndRunC("#include \"demo_api.c\"\n",
                            {{"demo_api.h", headerText()}, {"demo_api.c", counted + text + report}, {"cases.h", table}}, true);
    };
    const RunResult on = run("STRUCT_STREAMED(" + call + ")");
    // The call stays named, so that the function is used, and is never made.
    const RunResult off = run("(1 || " + call + ")");
    ASSERT_EQ(on.status, 0) << on.messages << on.output;
    ASSERT_EQ(off.status, 0) << off.messages << off.output;
    std::string onOutput = on.output;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::size_t line = onOutput.find(std::to_string(i) + ": ");
        ASSERT_NE(line, std::string::npos) << on.output;
        const std::size_t end = onOutput.find('\n', line);
        const std::size_t mark = onOutput.rfind(" struct", end);
        const bool streamed = mark != std::string::npos && mark > line && mark + 7 == end;
        EXPECT_EQ(streamed, cases[i].streamed) << onOutput.substr(line, end - line);
        if (streamed)
            onOutput.erase(mark, 7);
    }
    EXPECT_EQ(onOutput, off.output);
    EXPECT_NE(off.output.find("entries=300 0/e0 1/e1 2/e2 299/e299"), std::string::npos) << off.output;
}

// Rpc/encoded operation Scale: SOAP arrays of numbers in, of structs out.
std::string arraysDocument()
{
    return wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\" xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\" "
        "xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\"><xsd:import namespace=\"http://schemas.xmlsoap.org/soap/encoding/\"/>"
        "<xsd:complexType name=\"Entry\"><xsd:sequence><xsd:element name=\"n\" type=\"xsd:int\"/>"
        "<xsd:element name=\"label\" type=\"xsd:string\"/></xsd:sequence></xsd:complexType>"
        "<xsd:complexType name=\"IntArray\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
        "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:int[]\"/></xsd:restriction></xsd:complexContent>"
        "</xsd:complexType><xsd:complexType name=\"EntryArray\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
        "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"tns:Entry[]\"/></xsd:restriction></xsd:complexContent>"
        "</xsd:complexType></xsd:schema></types>\n"
        "<message name=\"ScaleIn\"><part name=\"values\" type=\"tns:IntArray\"/></message>"
        "<message name=\"ScaleOut\"><part name=\"scaled\" type=\"tns:EntryArray\"/></message>"
        "<portType name=\"P\"><operation name=\"Scale\"><input message=\"tns:ScaleIn\"/><output message=\"tns:ScaleOut\"/>"
        "</operation></portType><binding name=\"B\" type=\"tns:P\"><soap:binding style=\"rpc\" "
        "transport=\"http://schemas.xmlsoap.org/soap/http\"/><operation name=\"Scale\"><soap:operation soapAction=\"\"/>"
        "<input><soap:body use=\"encoded\" namespace=\"urn:t\" encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"/>"
        "</input><output><soap:body use=\"encoded\" namespace=\"urn:t\" "
        "encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"/></output></operation></binding>\n",
        " xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\"");
}

const std::string ArraysReport = ScaleValuesReport + R"(	if(result == 0 && pk->msg_type == DEMO_PROTO_SCALE_RESPONSE){
		demo_EntryArray_t *a = &pk->msg.ScaleOut.scaled;
		printf(" count=%d", a->EntryArray_count);
		for(i = 0; i < a->EntryArray_count; i++)
			printf(" %d/%s", a->EntryArray[i].n, a->EntryArray[i].label != NULL ? a->EntryArray[i].label : "-");
	}
	if(pk->decode_error[0])
		printf(" error=%s", pk->decode_error);
}
)";

// A SOAP array's size, offset and item positions hold as they do on the
// tree; so do an item by reference, a failing item and a missing part.
TEST_F(ItemStreamTest, SoapArraysReadOneItemAtATimeKeepTheirShape)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const auto scale = [](const std::string& inner, const std::string& after = std::string()) {
        return request(envelope("<e:Body><t:Scale xmlns:t=\"urn:t\">" + inner + "</t:Scale>" + after + "</e:Body>"));
    };
    const std::string enc = " xmlns:enc=\"http://schemas.xmlsoap.org/soap/encoding/\"";
    const auto values = [&](const std::string& attributes, const std::string& items) {
        return "<values" + enc + attributes + ">" + items + "</values>";
    };
    const auto answer = [](const std::string& inner) {
        return request(envelope("<e:Body><t:ScaleResponse xmlns:t=\"urn:t\">" + inner + "</t:ScaleResponse></e:Body>"),
                       "HTTP/1.1 200 OK");
    };
    const std::string entries = "<scaled" + enc + " enc:arrayType=\"t:Entry[2]\" xmlns:t=\"urn:t\"><e><n>1</n><label>a</label></e>";
    const std::vector<MessageCase> cases = {
        {scale(values(" enc:arrayType=\"xsd:int[3]\"", "<i>1</i><i>2</i><i>3</i>")), "0 type=3 count=3 1 2 3"},
        {scale(values(" enc:arrayType=\"xsd:int[5]\"", "<i>1</i>\n<i>2</i>")), "0 type=3 count=5 1 2 0 0 0"},
        {scale(values(" enc:arrayType=\"xsd:int[5]\" enc:offset=\"[2]\"", "<i>1</i><i>2</i>")), "0 type=3 count=5 0 0 1 2 0"},
        {scale(values(" enc:arrayType=\"xsd:int[]\"", "<i>1</i><i enc:position=\"[3]\">9</i>")), "0 type=3 count=4 1 0 0 9"},
        {scale(values(" enc:arrayType=\"xsd:int[0]\"", "")), "0 type=3 count=0"},
        {scale(values(" enc:arrayType=\"xsd:int[4]\"", "<i enc:position=\"[2]\">1</i><i enc:position=\"[1]\">2</i>")),
         "-1 type=3 error=demo_IntArray_t.IntArray: has an item placed twice or out of order at \"[1]\""},
        {scale(values(" enc:arrayType=\"xsd:int[1]\"", "<i>1</i><i>2</i>")),
         "-1 type=3 error=demo_IntArray_t.IntArray: has more items than its size, at \"\""},
        {scale(values(" enc:arrayType=\"xsd:int[2,2]\"", "<i>1</i>")),
         "-1 type=3 error=demo_IntArray_t.IntArray: has more than the one dimension its member holds: \"xsd:int[2,2]\""},
        {scale(values(" enc:arrayType=\"xsd:int[2]\"", "<i>1</i><i>x</i>")),
         "-1 type=3 error=demo_IntArray_t.IntArray: \"x\" (1 bytes) is no xsd:int"},
        {scale(values(" enc:arrayType=\"xsd:int[2]\"", "<i>1</i><i href=\"#v\"/>"), "<v id=\"v\">8</v>"), "0 type=3 count=2 1 8"},
        // SOAP 1.2's reference in a SOAP 1.1 message refers to nothing: the tree reads an empty item.
        {scale(values(" enc:arrayType=\"xsd:int[2]\"", "<i>1</i><i ref=\"#v\"/>"), "<v id=\"v\">8</v>"),
         "-1 type=3 error=demo_IntArray_t.IntArray: no value"},
        // Attributes whose names begin as id, href and ref do but are none of them.
        {scale(values(" enc:arrayType=\"xsd:int[2]\"", "<i index=\"1\" hreflang=\"en\">1</i><i refs=\"x\" identity=\"y\">2</i>")),
         "0 type=3 count=2 1 2"},
        {scale(""), "-1 type=3 error=the message ends before its part pk->msg.ScaleIn.values"},
        {answer(entries + "<e><n>2</n><label>b</label></e></scaled>"), "0 type=4 count=2 1/a 2/b"},
        {answer(entries + "<e><label>b</label></e></scaled>"), "-1 type=4 error=demo_Entry_t.n: no value"},
    };
    const auto [table, expected] = messageTable(cases);
    const RunResult run = runReaderDriver(arraysDocument(), ArraysReport, table);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// Document operation Note (element Words: repeated numbers and texts) and
// rpc/encoded operation Join (a SOAP array of texts), whose items are read
// from their text alone.
std::string simpleItemsDocument()
{
    return wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\" elementFormDefault=\"qualified\" "
        "xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\" xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\">"
        "<xsd:import namespace=\"http://schemas.xmlsoap.org/soap/encoding/\"/>"
        "<xsd:element name=\"Words\"><xsd:complexType><xsd:sequence>"
        "<xsd:element name=\"n\" type=\"xsd:int\" minOccurs=\"0\" maxOccurs=\"unbounded\"/>"
        "<xsd:element name=\"w\" type=\"xsd:string\" minOccurs=\"0\" maxOccurs=\"unbounded\"/>"
        "</xsd:sequence></xsd:complexType></xsd:element>"
        "<xsd:complexType name=\"TextArray\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
        "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:string[]\"/></xsd:restriction></xsd:complexContent>"
        "</xsd:complexType></xsd:schema></types>\n"
        "<message name=\"NoteIn\"><part name=\"p\" element=\"tns:Words\"/></message>"
        "<message name=\"JoinIn\"><part name=\"texts\" type=\"tns:TextArray\"/></message>"
        "<portType name=\"P\"><operation name=\"Note\"><input message=\"tns:NoteIn\"/></operation>"
        "<operation name=\"Join\"><input message=\"tns:JoinIn\"/></operation></portType>"
        "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"document\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
        "<operation name=\"Note\"><soap:operation soapAction=\"\"/><input><soap:body use=\"literal\"/></input></operation>"
        "<operation name=\"Join\"><soap:operation soapAction=\"\" style=\"rpc\"/><input><soap:body use=\"encoded\" "
        "namespace=\"urn:t\" encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"/></input></operation></binding>\n",
        " xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\"");
}

const char* const SimpleItemsReport = R"(
static void report(int result, demo_proto_packet_t *pk)
{
	int i;

	printf(" type=%u", pk->msg_type);
	if(result == 0 && pk->msg_type == DEMO_PROTO_WORDS){
		printf(" n=%d", pk->msg.NoteIn.Words.n_count);
		for(i = 0; i < pk->msg.NoteIn.Words.n_count; i++)
			printf(" %d", pk->msg.NoteIn.Words.n[i]);
		printf(" w=%d", pk->msg.NoteIn.Words.w_count);
		for(i = 0; i < pk->msg.NoteIn.Words.w_count; i++)
			printf(" [%s]", pk->msg.NoteIn.Words.w[i] != NULL ? pk->msg.NoteIn.Words.w[i] : "-");
	}
	if(result == 0 && pk->msg_type == DEMO_PROTO_JOIN){
		printf(" count=%d", pk->msg.JoinIn.texts.TextArray_count);
		for(i = 0; i < pk->msg.JoinIn.texts.TextArray_count; i++)
			printf(" [%s]", pk->msg.JoinIn.texts.TextArray[i] != NULL ? pk->msg.JoinIn.texts.TextArray[i] : "-");
	}
	if(pk->decode_error[0])
		printf(" error=%s", pk->decode_error);
	if(pk->attachment != NULL)
		printf(" attachment=%d:%s", pk->attachment_length, pk->attachment);
}
)";

// Items of numbers and texts are read from their text alone where nothing
// but an xsi:type stands on them; whatever else an item holds or carries
// (markup inside, other attributes, a namespace of its own) reads as the
// tree reads it, and so do the namespaces an item's name takes from above.
TEST_F(ItemStreamTest, SimpleItemsReadFromTheirTextAsTheTreeReadsThem)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string xsi = " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"";
    const auto words = [&](const std::string& inner, const std::string& attributes = std::string(), const std::string& after = std::string()) {
        return request(envelope("<e:Body><t:Words xmlns:t=\"urn:t\"" + xsi + attributes + ">" + inner + "</t:Words></e:Body>") + after);
    };
    const auto join = [&](const std::string& items) {
        return request(envelope("<e:Body><t:Join xmlns:t=\"urn:t\"><texts xmlns:enc=\"http://schemas.xmlsoap.org/soap/encoding/\"" +
                                xsi + " enc:arrayType=\"xsd:string[3]\">" + items + "</texts></t:Join></e:Body>"));
    };
    const std::vector<MessageCase> cases = {
        {words("<t:n>1</t:n><t:w>a</t:w><t:n xsi:type=\"xsd:int\">2</t:n><t:w xsi:type=\"xsd:string\">b</t:w>"),
         "0 type=3 n=2 1 2 w=2 [a] [b]"},
        // Text in pieces: references, blanks around a number, empty items.
        {words("<t:w>b &amp; &#99;&lt;</t:w><t:n> 3\n</t:n><t:w/><t:w></t:w>"), "0 type=3 n=1 3 w=3 [b & c<] [-] [-]"},
        {words("<t:w>" + std::string(300, 'x') + "</t:w>"), "0 type=3 n=0 w=1 [" + std::string(300, 'x') + "]"},
        // Markup inside an item, another attribute, a namespace of its own.
        {words("<t:w><![CDATA[x<y]]></t:w><t:w>a<!-- c -->b</t:w><t:w>c<?p d?>e</t:w>"), "0 type=3 n=0 w=3 [x<y] [ab] [ce]"},
        {words("<t:w>a<t:n>5</t:n>b</t:w>"), "0 type=3 n=0 w=1 [ab]"},
        {words("<t:n note=\"x\">4</t:n><t:n xsi:nil=\"false\">5</t:n><t:n xmlns:u=\"urn:u\">6</t:n>"), "0 type=3 n=3 4 5 6 w=0"},
        {words("<t:n xsi:type=\"xsd:int\" xsi:nil=\"false\">7</t:n>"), "0 type=3 n=1 7 w=0"},
        // A type attribute of another namespace, or of none, is no xsi:type.
        {words("<t:n u:type=\"x\" xmlns:u=\"urn:u\">15</t:n><t:n type=\"y\">16</t:n><t:n xsi:type=\"xsd:int\">17</t:n>"),
         "0 type=3 n=3 15 16 17 w=0"},
        // Names: unqualified, in a default namespace, undeclared again, of
        // a foreign namespace declared above, of an undeclared prefix.
        {words("<n>8</n><w>u</w>"), "0 type=3 n=1 8 w=1 [u]"},
        {request(envelope("<e:Body><Words xmlns=\"urn:t\"><n>9</n><w>v</w></Words></e:Body>")), "0 type=3 n=1 9 w=1 [v]"},
        {request(envelope("<e:Body><t:Words xmlns:t=\"urn:t\" xmlns=\"\"><n>10</n></t:Words></e:Body>")), "0 type=3 n=1 10 w=0"},
        {words("<x:n>11</x:n><t:n>12</t:n>", " xmlns:x=\"urn:other\""), "0 type=3 n=1 12 w=0"},
        {words("<q:n>13</q:n><t:n>14</t:n>"), "0 type=3 n=1 14 w=0"},
        // A failing number, and what follows the envelope.
        {words("<t:n>1</t:n><t:n xsi:type=\"xsd:int\">x</t:n>"),
         "-1 type=3 error=demo_type0_t.n: \"x\" (1 bytes) is no xsd:int"},
        {words("<t:n>1</t:n>", "", "<?p after?>"), "0 type=3 n=1 1 w=0 attachment=11:<?p after?>"},
        {words("<t:n>1</t:n>", "", "\r\n  "), "0 type=3 n=1 1 w=0"},
        // A SOAP array of texts: typed items, a placed one, one by reference.
        {join("<s xsi:type=\"xsd:string\">a</s><s>b c</s>"), "0 type=4 count=3 [a] [b c] [-]"},
        {join("<s>a</s><s enc:position=\"[2]\">c</s>"), "0 type=4 count=3 [a] [-] [c]"},
        {join("<s>a</s><s>b</s><s>c</s><s>d</s>"),
         "-1 type=4 error=demo_TextArray_t.TextArray: has more items than its size, at \"\""},
    };
    const auto [table, expected] = messageTable(cases);
    const RunResult run = runReaderDriver(simpleItemsDocument(), SimpleItemsReport, table);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// What the glance at a message's bytes tells before any parse: the local
// name of the Body's first element where plain tags, blanks, comments and
// processing instructions lead to it, "no Body" where the Envelope's first
// element is plainly another, and nothing (0, the reading decides) for all
// else; a value may hold a '>'.
const char* const GlanceDriver = R"(
static const char *const glances[] = {
	"<?xml version=\"1.0\"?>\n<!-- c --><e:Envelope xmlns:e=\"urn:e\"><e:Body><t:Items xmlns:t=\"urn:t\"><t:entry>",
	"\xEF\xBB\xBF<Envelope>\r\n\t<Body\n> <!-- x --> <?p d?>\n<Count>5</Count>",
	"<e:Envelope a=\"x>y\" b='>' c=\"'\"><e:Body c='\"/>'><t:Items>",
	"<e:Envelope><e:Header><h/></e:Header><e:Body><t:Items>",
	"<e:Envelope><e:Body><t:Items/></e:Body></e:Envelope>",
	"<e:Envelope><e:Body/></e:Envelope>",
	"<e:Envelope><e:Body><![CDATA[x]]><t:Items>",
	"<e:Envelope><e:Body>text<t:Items>",
	"<!DOCTYPE e:Envelope><e:Envelope><e:Body><t:Items>",
	"<e:Envelopes><e:Body><t:Items>",
	"<e:Envelope><!-- never ends",
	"<e:Envelope><e:Bo",
	"<e:Envelope><e:Body><t:Items",
	"",
};

int main(void)
{
	size_t	c;

	for(c = 0; c < sizeof(glances) / sizeof(glances[0]); c++){
		const char	*local = NULL;
		size_t	size = 0;
		int	glance = mydecode_glance(glances[c], strlen(glances[c]), &local, &size);

		printf("%d", glance);
		if(glance > 0)
			printf(" %.*s", (int)size, local);
		printf("\n");
	}
	return 0;
}
)";

TEST_F(ItemStreamTest, AGlanceTellsTheBodysFirstElementBeforeAnyParse)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = runReaderDriver(itemsDocument(), GlanceDriver);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, "1 Items\n1 Count\n1 Items\n-1\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n");
}

// Only a type whose members are all repeated elements (or a SOAP array's
// items) is read item by item.
TEST_F(ItemStreamTest, OnlyMessagesOfRepeatedItemsAreReadItemByItem)
{
    const struct {
        const char* name;
        const char* members;
        bool streamed;
    } cases[] = {
        {"repeated structs and numbers",
         "<xsd:element name=\"e\" type=\"xsd:int\" maxOccurs=\"unbounded\"/>"
         "<xsd:element name=\"f\" type=\"xsd:string\" minOccurs=\"0\" maxOccurs=\"5\"/>",
         true},
        {"a single element beside", "<xsd:element name=\"e\" type=\"xsd:int\" maxOccurs=\"unbounded\"/><xsd:element name=\"g\" type=\"xsd:int\"/>",
         false},
        {"an optional single element", "<xsd:element name=\"g\" type=\"xsd:int\" minOccurs=\"0\"/>", false},
        {"an xsd:any", "<xsd:element name=\"e\" type=\"xsd:int\" maxOccurs=\"unbounded\"/><xsd:any maxOccurs=\"unbounded\"/>",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        view(schemaDocument(std::string("<xsd:element name=\"Bag\"><xsd:complexType><xsd:sequence>") + c.members +
                                "</xsd:sequence></xsd:complexType></xsd:element>",
                            "<message name=\"In\"><part name=\"p\" element=\"tns:Bag\"/></message><portType name=\"P\">"
                            "<operation name=\"Put\"><input message=\"tns:In\"/></operation></portType><binding name=\"B\" "
                            "type=\"tns:P\"><soap:binding style=\"document\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
                            "<operation name=\"Put\"><input><soap:body use=\"literal\"/></input></operation></binding>\n"));
        emitHeader("demo");
        const std::string source = emitSourceWithReaders();
        EXPECT_EQ(source.find("mystream_items(reader, 0, decode_") != std::string::npos, c.streamed);
        EXPECT_EQ(source.find("static int mystream_items") != std::string::npos, c.streamed);
    }
}

} // namespace
