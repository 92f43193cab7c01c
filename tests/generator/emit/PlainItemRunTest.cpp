// The item stream reads a run of plain simple items from the message's
// bytes itself, the parser never handed them. Each message is read by the
// packet decoder with the item stream on and with it off (the call taken
// out, so the tree reads all): every packet, result and decode error must
// be the same, and the stream must have taken the messages it can.

#include "CodecFixture.h"
#include "EncodedService.h"

using namespace gentest;

namespace {

// Rpc/encoded operations Scale (a SOAP array of ints) and Join (of
// texts), and document operation Note (element Words: repeated ints, which
// may be nil).
std::string runsDocument()
{
    const std::string encoded = "<soap:body use=\"encoded\" namespace=\"urn:t\" "
                                "encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"/>";
    return wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\" elementFormDefault=\"qualified\" "
        "xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\" xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\">"
        "<xsd:import namespace=\"http://schemas.xmlsoap.org/soap/encoding/\"/>" +
            soapArrayType("IntArray", "xsd:int") + soapArrayType("TextArray", "xsd:string") +
            "<xsd:element name=\"Words\"><xsd:complexType><xsd:sequence>"
            "<xsd:element name=\"n\" type=\"xsd:int\" minOccurs=\"0\" maxOccurs=\"unbounded\" nillable=\"true\"/>"
            "</xsd:sequence></xsd:complexType></xsd:element></xsd:schema></types>\n"
            "<message name=\"ScaleIn\"><part name=\"values\" type=\"tns:IntArray\"/></message>"
            "<message name=\"JoinIn\"><part name=\"texts\" type=\"tns:TextArray\"/></message>"
            "<message name=\"NoteIn\"><part name=\"p\" element=\"tns:Words\"/></message>"
            "<portType name=\"P\"><operation name=\"Scale\"><input message=\"tns:ScaleIn\"/></operation>"
            "<operation name=\"Join\"><input message=\"tns:JoinIn\"/></operation>"
            "<operation name=\"Note\"><input message=\"tns:NoteIn\"/></operation></portType>"
            "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"document\" "
            "transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
            "<operation name=\"Scale\"><soap:operation soapAction=\"\" style=\"rpc\"/><input>" + encoded + "</input></operation>"
            "<operation name=\"Join\"><soap:operation soapAction=\"\" style=\"rpc\"/><input>" + encoded + "</input></operation>"
            "<operation name=\"Note\"><soap:operation soapAction=\"\"/><input><soap:body use=\"literal\"/></input></operation>"
            "</binding>\n",
        " xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\"");
}

// Every item of a case's packet, and "streamed" where the item stream read it.
const std::string Report = ScaleValuesReport + R"(	if(result == 0 && pk->msg_type == DEMO_PROTO_JOIN){
		printf(" count=%d", pk->msg.JoinIn.texts.TextArray_count);
		for(i = 0; i < pk->msg.JoinIn.texts.TextArray_count; i++)
			printf(" [%s]", pk->msg.JoinIn.texts.TextArray[i] != NULL ? pk->msg.JoinIn.texts.TextArray[i] : "-");
	}
	if(result == 0 && pk->msg_type == DEMO_PROTO_WORDS){
		printf(" n=%d", pk->msg.NoteIn.Words.n_count);
		for(i = 0; i < pk->msg.NoteIn.Words.n_count; i++)
			printf(pk->msg.NoteIn.Words.n_nil != NULL && pk->msg.NoteIn.Words.n_nil[i] ? " nil" : " %d", pk->msg.NoteIn.Words.n[i]);
	}
	if(pk->decode_error[0])
		printf(" error=%s", pk->decode_error);
	if(pk->attachment != NULL)
		printf(" attachment=%d:%s", pk->attachment_length, pk->attachment);
	printf(streamed_count != reported_count ? " streamed" : "");
	reported_count = streamed_count;
}
)";

// The decoder's call of the item stream, as the generated source has it.
const char* const StreamCall = "demo_proto_stream(buffer + xml_beg, part_end - xml_beg, pk, &time)";

std::string request(const std::string& body)
{
    return "POST /x HTTP/1.1\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

const std::string Declarations = " xmlns:enc=\"http://schemas.xmlsoap.org/soap/encoding/\""
                                 " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
                                 " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"";

// An rpc request of operation (Scale or Join) whose array element carries
// attributes and holds items; before: the XML declaration.
std::string array(const std::string& operation, const std::string& attributes, const std::string& items,
                  const std::string& before = "<?xml version=\"1.0\"?>\n", const std::string& wrapper = std::string())
{
    const std::string part = operation == "Scale" ? "values" : "texts";
    return request(before + "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body><t:" + operation +
                   " xmlns:t=\"urn:t\"" + wrapper + ">\n  <" + part + Declarations + attributes + ">" + items + "</" + part +
                   "></t:" + operation + "></e:Body></e:Envelope>");
}

std::string ints(const std::string& items, const std::string& size = "3", const std::string& more = std::string())
{
    return array("Scale", " enc:arrayType=\"xsd:int[" + size + "]\"" + more, items);
}

std::string texts(const std::string& items, const std::string& before = "<?xml version=\"1.0\"?>\n")
{
    return array("Join", " enc:arrayType=\"xsd:string[3]\"", items, before);
}

std::string words(const std::string& items, const std::string& attributes = " xmlns=\"urn:t\"")
{
    return request("<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body><Words" + attributes + ">" + items +
                   "</Words></e:Body></e:Envelope>");
}

struct RunCase {
    std::string message;
    bool streamed; // the item stream took it
};

class PlainItemRunTest : public ReaderDriverTest {};

TEST_F(PlainItemRunTest, ItemsReadFromTheBytesReadAsTheTreeReadsThem)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string nil = "<n xsi:nil=\"true\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"/>";
    std::string many;
    for (int i = 0; i < 3000; ++i)
        many += "<i>" + std::to_string(i * 7 - 5000) + "</i>";
    const std::vector<RunCase> cases = {
        {ints("<i>1</i><i>-2</i><i>3</i>"), true},
        // Blanks around and between the items and inside their tags.
        {ints("\n <i> 1 </i>\n\t<i >2</i ><i\n>3</i\n>\n"), true},
        // Items the run stops at, which the parser reads on: an attribute, a reference, a carriage
        // return, markup inside, a prefix, an item that ends at once, a name of another end tag.
        {ints("<i>1</i><i xsi:type=\"xsd:int\">2</i><i>3</i>"), true},
        {ints("<i>1</i><i>&#50;</i><i>3</i>"), true},
        {ints("<i>1</i><i>2\r\n</i><i>3</i>"), true},
        {ints("<i>1</i><i>2<!-- c -->0</i><i>3</i>"), false},
        {ints("<i>1</i><u:i xmlns:u=\"urn:u\">2</u:i><i>3</i>"), true},
        {ints("<i>1</i><i/><i>3</i>"), false},
        {ints("<i>1</i><i>2</i2><i>3</i>"), false},
        {ints("<i>1</i><i><b>2</b></i>"), false},
        // The shape around the run: an offset, a size the items pass, a number that fails, an
        // empty one, a position after the run.
        {ints("<i>1</i><i>2</i>", "4", " enc:offset=\"[1]\""), true},
        {ints("<i>1</i><i>2</i><i>3</i><i>4</i>"), false},
        {ints("<i>1</i><i>x</i><i>3</i>"), false},
        {ints("<i>1</i><i></i><i>3</i>"), false},
        {ints("<i>1</i><i enc:position=\"[2]\">3</i>"), true},
        {ints("<i>1</i><i enc:position=\"[0]\">3</i>"), false},
        // Items in a default namespace, and undeclared again.
        {array("Scale", " enc:arrayType=\"xsd:int[2]\" xmlns=\"urn:t\"", "<i>1</i><i>2</i>"), true},
        {array("Scale", " enc:arrayType=\"xsd:int[2]\" xmlns=\"\"", "<i>1</i><i>2</i>"), true},
        // A long run, one that starts after the parser's first bytes, and one behind a comment.
        {ints(many, "3000"), true},
        {array("Scale", " enc:arrayType=\"xsd:int[3]\"", "<i>1</i><i>2</i><i>3</i>", "<?xml version=\"1.0\"?>\n",
               " note=\"" + std::string(9000, 'n') + "\""),
         true},
        {array("Scale", " enc:arrayType=\"xsd:int[3]\"", "<i>1</i><i>2</i><i>3</i>", "<!-- c --><?p x?>\n"), true},
        // Texts: blanks kept, a '>' and a ']' in text, non-ASCII bytes, a declared encoding.
        {texts("<s> a b </s><s>a>b</s><s></s>"), true},
        {texts("<s>a]b</s><s>]]></s>"), false},
        {texts("<s>x</s><s>\xC3\xA9</s><s>y</s>"), true},
        {texts("<s>x</s><s>y</s>", "<?xml version=\"1.0\" encoding=\"utf-8\"?>"), true},
        {texts("<s>x</s><s>\xE9</s>", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"), true},
        {texts("<s>x</s><s>\xE9</s>", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"), false},
        // A document's items (the struct stream's but for a nil one), of its default namespace and
        // of none; text and an element behind.
        {words("<n>1</n><n>2</n>" + nil), true},
        {words("<n>1</n><n>2</n>" + nil, ""), true},
        {words("<n>1</n>tail<x>5</x><n>2</n>" + nil), true},
        // Items of a foreign default namespace are no members.
        {request("<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body><w:Words xmlns:w=\"urn:t\" "
                 "xmlns=\"urn:other\"><n>1</n><n>2</n>" + nil + "</w:Words></e:Body></e:Envelope>"),
         true},
        // What the tree alone reads: a Header first, the run's element not well-formed behind.
        {request("<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Header/><e:Body><Words xmlns=\"urn:t\">"
                 "<n>1</n></Words></e:Body></e:Envelope>"),
         false},
        {request("<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body><Words xmlns=\"urn:t\"><n>1</n>"
                 "</Words></e:Body>"),
         false},
        {request("<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body><t:Scale xmlns:t=\"urn:t\">"
                 "<values>5</values></t:Scale></e:Body></e:Envelope>"),
         false},
    };
    view(runsDocument());
    emitHeader("demo", programPlatform());
    const std::string source = emitSourceWithReaders() + LoopbackPeer + ReadMessage + ReadEachCase;
    ASSERT_NE(source.find(StreamCall), std::string::npos);
    std::string table;
    for (const RunCase& c : cases)
        table += cLiteral(c.message) + ",\n";
    const auto run = [&](const std::string& call) {
        std::string text = source;
        text.replace(text.find(StreamCall), std::string(StreamCall).size(), call);
        const std::string counted = "static int streamed_count, reported_count;\n"
                                    "#define STREAMED(result) ((result) == 0 ? (streamed_count++, 0) : (result))\n";
        return buildAndRunC("#include \"demo_api.c\"\n",
                            {{"demo_api.h", headerText()}, {"demo_api.c", counted + text + Report}, {"cases.h", table}}, true);
    };
    const RunResult on = run(std::string("STREAMED(") + StreamCall + ")");
    // The call stays named, so that the function is used, and is never made.
    const RunResult off = run(std::string("(1 || ") + StreamCall + ")");
    ASSERT_EQ(on.status, 0) << on.messages << on.output;
    ASSERT_EQ(off.status, 0) << off.messages << off.output;
    std::string onOutput = on.output;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const std::size_t line = onOutput.find(std::to_string(i) + ": ");
        ASSERT_NE(line, std::string::npos) << on.output;
        const std::size_t end = onOutput.find('\n', line);
        const std::size_t mark = onOutput.rfind(" streamed", end);
        const bool streamed = mark != std::string::npos && mark > line && mark + 9 == end;
        EXPECT_EQ(streamed, cases[i].streamed) << onOutput.substr(line, end - line);
        if (streamed)
            onOutput.erase(mark, 9);
    }
    EXPECT_EQ(onOutput, off.output);
    EXPECT_NE(off.output.find("count=3000 -5000 -4993"), std::string::npos) << off.output;
}

} // namespace
