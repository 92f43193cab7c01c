// The generated print functions: their text for a service written for the
// tests (golden/print/; with structs that hold each other through a pointer
// and struct names that would hide printf and the loop counter), the whole
// source compiling warning-clean with them, the fixed text of services with nothing to print, and packets sent,
// read back, decoded and printed over a socket pair.

#include "GeneratorTestSupport.h"
#include "generator/emit/PrintFunctions.h"

using namespace gentest;

namespace {

const std::string GoldenFolder = KELVANE_SOURCE_DIR "/tests/generator/emit/golden/print/";

class PrintFunctionsTest : public FixedTextsTest {
protected:
    std::string printText()
    {
        CTextBuffer source;
        writePrintFunctions(*context_, source);
        return source.text();
    }

    void loadGolden()
    {
        parseLocation(GoldenFolder + "print.wsdl");
        ASSERT_FALSE(parser_->hasError()) << diagnostics_.str();
        view_ = std::make_unique<CServiceView>(readServiceView(*parser_));
        emitHeader("pr");
    }
};

TEST_F(PrintFunctionsTest, GoldenTextCompilesWithTheWholeSource)
{
    loadGolden();
    const std::string text = printText();
    if (std::getenv("KELVANE_WRITE_GOLDEN") != nullptr)
        testsupport::writeBytes(GoldenFolder + "pr_print.golden", text);
    EXPECT_EQ(text, testsupport::readBytes(GoldenFolder + "pr_print.golden"));
    if (!canCompileC())
        return;
    const CompileResult compiled =
        compileC(emitSourceWithPrinters(), {{"pr_api.h", headerText()}}, false, "-I/usr/include/libxml2");
    EXPECT_EQ(compiled.status, 0) << compiled.output;
}

TEST_F(PrintFunctionsTest, ServicesWithNothingToPrint)
{
    const std::string head = "\r\n" + std::string(76, '/') + "\r\n";
    const std::string packetHead = "void WINAPI x_print_proto_packet_t(x_proto_packet_t* pk)\r\n{\r\n"
                                   "\tprintf(\"msg_type:%u\\n\",pk->msg_type);\r\n\r\n";
    const std::string unbound = "<message name=\"In\"><part name=\"a\" type=\"xsd:int\"/></message>"
                                "<portType name=\"P\"><operation name=\"Op\"><input message=\"tns:In\"/>"
                                "<output message=\"tns:In\"/></operation></portType>";
    const struct {
        std::string document;
        std::string expected;
    } cases[] = {
        {schemaDocument(""), head + packetHead + "}\r\n\r\n"},
        // Operations without a SOAP binding: one empty line for the port type.
        {wsdltest::definitions(unbound), head + packetHead + "\r\n}\r\n\r\n"},
        // A type named Array and one of simple content get nothing.
        {schemaDocument("<xsd:complexType name=\"Array\"><xsd:sequence><xsd:element name=\"a\" type=\"xsd:int\"/>"
                        "</xsd:sequence></xsd:complexType><xsd:complexType name=\"S\"><xsd:simpleContent>"
                        "<xsd:extension base=\"xsd:int\"/></xsd:simpleContent></xsd:complexType>"),
         head + packetHead + "}\r\n\r\n"},
    };
    for (const auto& c : cases) {
        view(c.document);
        emitHeader("x");
        EXPECT_EQ(printText(), c.expected) << c.document;
    }
}

// A port type bound by SOAP 1.1 and 1.2 is one set of messages and
// headers: its SOAP 1.2 copy adds nothing to the packet's print function.
TEST_F(PrintFunctionsTest, APortTypeBoundTwicePrintsEachMessageOnce)
{
    const std::string golden = testsupport::readBytes(GoldenFolder + "pr_print.golden");
    std::string document = testsupport::readBytes(GoldenFolder + "print.wsdl");
    document.replace(document.find(" name=\"Print\""), 0, " xmlns:soap12=\"http://schemas.xmlsoap.org/wsdl/soap12/\"");
    for (const std::string name : {"ShopSoap", "FinderSoap"}) {
        const std::size_t begin = document.find("<binding name=\"" + name + "\"");
        const std::size_t end = document.find("</binding>", begin) + std::string("</binding>").size();
        const std::string copy = wsdltest::asSoap12Binding(document.substr(begin, end - begin), name, name + "12");
        document.insert(document.find("</definitions>"), copy + "\n");
    }
    view(document);
    emitHeader("pr");
    const auto withoutEmptyLines = [](std::string text) {
        for (std::size_t at = text.find("\r\n\r\n"); at != std::string::npos; at = text.find("\r\n\r\n"))
            text.erase(at, 2);
        return text;
    };
    EXPECT_EQ(withoutEmptyLines(printText()), withoutEmptyLines(golden));
}

// Packets of every message kind go out through the sender on one end of a
// socket pair and come back through the packet reader on the other.
const char* const Driver = R"(
#include <sys/socket.h>

static void fill_item(pr_Item_t *item, const char *name, long count)
{
	strcpy(item->id, "i-1");
	strcpy(item->name, name);
	item->count = count;
	item->level.Level = 18446744073709551615UL;
}

static void pass(pr_proto_packet_t *pk, int *pair)
{
	static pr_proto_packet_t got;
	pr_proto_trans_t out, in;
	int result;

	memset(&out, 0, sizeof(out));
	memset(&in, 0, sizeof(in));
	out.socket = pair[0];
	in.socket = pair[1];
	strcpy(out.url, "/x");
	strcpy(out.dest_ip, "127.0.0.1");
	memset(&got, 0, sizeof(got));
	result = pr_proto_sendpacket(&out, pk, 5);
	if(result == 0)
		result = pr_proto_readpacket(&in, &got, 5);
	printf("-- %d\n", result);
	if(result == 0)
		pr_print_proto_packet_t(&got);
	pr_free_proto_packet(&got);
}

int main(void)
{
	static pr_proto_packet_t pk;
	static pr_Item_t items[2];
	static __typeof__(*pk.msg.PlaceIn.order.names.NameArray) names[1];
	pr_Order_t *order;
	int pair[2];

	if(socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0)
		return 1;
	memset(&pk, 0, sizeof(pk));
	pk.msg_type = PR_PROTO_PLACE;
	strcpy(pk.Token, "s-1");
	order = &pk.msg.PlaceIn.order;
	fill_item(&order->first, "first", -9000000000L);
	order->items.ItemArray = items;
	order->names.NameArray = names;
	fill_item(&order->items.ItemArray[0], "a", 1);
	fill_item(&order->items.ItemArray[1], "b", 2);
	order->items.ItemArray_count = 2;
	strcpy(order->names.NameArray[0], "n%d");
	order->names.NameArray_count = 1;
	order->fine.Fine = 0.1f;
	strcpy(order->code.Code, "c-7");
	order->weight = 0.1;
	strcpy(pk.msg.PlaceIn.code.Code, "part");
	pass(&pk, pair);

	memset(&pk, 0, sizeof(pk));
	pk.msg_type = PR_PROTO_PLACE_RESPONSE;
	pk.msg.PlaceOut.return_msg = -5;
	pass(&pk, pair);

	memset(&pk, 0, sizeof(pk));
	pk.msg_type = PR_PROTO_PLACED;
	pk.msg.FindOut.Placed.total = 2.5f;
	strcpy(pk.msg.FindOut.Placed.note.lang, "en");
	strcpy(pk.msg.FindOut.Placed.note.Note, "thanks");
	strcpy(pk.msg.FindOut.Token.Token, "t");
	pass(&pk, pair);

	xmlCleanupParser();
	return 0;
}
)";

TEST_F(PrintFunctionsTest, DecodedPacketsPrintEveryField)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    loadGolden();
    const std::string source = emitSourceWithPrinters() + Driver;
    const RunResult run = buildAndRunC("#include \"pr_api.c\"\n", {{"pr_api.h", headerText()}, {"pr_api.c", source}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    // Both header members print the one Token the reader found; numbers
    // keep their width and precision; a '%' in a value is text.
    EXPECT_EQ(run.output, testsupport::readBytes(GoldenFolder + "printed.golden"));
}

} // namespace
