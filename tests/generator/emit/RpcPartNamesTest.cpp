// An rpc message's parts are read in order from the wrapper's children. A
// SOAP-encoded message names its accessors loosely (a return value's name is
// the sender's choice), so each child is read by its place; a literal one
// names each after its part, and a number or text child of another name
// fails the message, naming what came, instead of leaving the part's value
// unread behind a success.

#include "CodecFixture.h"

using namespace gentest;

namespace {

// Operations Lit (rpc/literal) and Enc (rpc/encoded), each sending parts n
// (an int), s (a string) and p (a struct Point), in namespace urn:t; Pair
// (document/literal), sending elements A (an int) and B (a string).
std::string partsDocument()
{
    const auto operation = [](const std::string& name, const std::string& use) {
        const std::string body = "<soap:body use=\"" + use + "\" namespace=\"urn:t\"" +
            (use == "encoded" ? " encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"" : "") + "/>";
        return "<operation name=\"" + name + "\"><soap:operation soapAction=\"\" style=\"rpc\"/><input>" + body +
            "</input><output>" + body + "</output></operation>";
    };
    return schemaDocument(
        "<xsd:complexType name=\"Point\"><xsd:sequence><xsd:element name=\"x\" type=\"xsd:int\"/>"
        "</xsd:sequence></xsd:complexType><xsd:element name=\"A\" type=\"xsd:int\"/>"
        "<xsd:element name=\"B\" type=\"xsd:string\"/>",
        "<message name=\"PairIn\"><part name=\"a\" element=\"tns:A\"/><part name=\"b\" element=\"tns:B\"/></message>"
        "<message name=\"In\"><part name=\"n\" type=\"xsd:int\"/><part name=\"s\" type=\"xsd:string\"/>"
        "<part name=\"p\" type=\"tns:Point\"/></message><message name=\"Out\"><part name=\"r\" type=\"xsd:int\"/></message>"
        "<portType name=\"P\"><operation name=\"Lit\"><input message=\"tns:In\"/><output message=\"tns:Out\"/></operation>"
        "<operation name=\"Enc\"><input message=\"tns:In\"/><output message=\"tns:Out\"/></operation>"
        "<operation name=\"Pair\"><input message=\"tns:PairIn\"/></operation></portType>"
        "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"rpc\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>" +
            operation("Lit", "literal") + operation("Enc", "encoded") +
            "<operation name=\"Pair\"><soap:operation soapAction=\"\" style=\"document\"/><input><soap:body use=\"literal\"/>"
            "</input></operation></binding>");
}

const char* const Driver = R"C(
static void report(int result, demo_proto_packet_t *pk)
{
	if(result == 0 && (pk->msg_type == DEMO_PROTO_LIT || pk->msg_type == DEMO_PROTO_ENC))
		printf(" n=%d s=%s x=%d", pk->msg.In.n, pk->msg.In.s != NULL ? pk->msg.In.s : "(null)", pk->msg.In.p.x);
	if(result == 0 && pk->msg_type == DEMO_PROTO_A)
		printf(" a=%d b=%s", pk->msg.PairIn.A.A, pk->msg.PairIn.B.B != NULL ? pk->msg.PairIn.B.B : "(null)");
	if(pk->decode_error[0])
		printf(" error=%s", pk->decode_error);
	if(pk->decode_fault != NULL)
		printf(" fault=%s", pk->decode_fault);
}
)C";

// A request whose Body holds the operation's wrapper around parts.
std::string request(const std::string& operation, const std::string& parts)
{
    const std::string body = "<?xml version=\"1.0\"?>\n<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                             "<e:Body><t:" + operation + " xmlns:t=\"urn:t\">" + parts + "</t:" + operation +
        "></e:Body></e:Envelope>";
    return "POST /x HTTP/1.1\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// A Pair request whose Body holds elements.
std::string pair(const std::string& elements)
{
    const std::string body = "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body xmlns:t=\"urn:t\">" +
        elements + "</e:Body></e:Envelope>";
    return "POST /x HTTP/1.1\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

class RpcPartNamesTest : public ReaderDriverTest {};

TEST_F(RpcPartNamesTest, LiteralPartsCarryTheirNamesAndEncodedOnesTheirPlaces)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string point = "<p><x>3</x></p>";
    const std::string refused = "-1 error=the message's part pk->msg.In.";
    const std::vector<MessageCase> cases = {
        // Each part named after itself reads alike either way.
        {request("Lit", "<n>5</n><s>five</s>" + point), "0 n=5 s=five x=3"},
        {request("Enc", "<n>5</n><s>five</s>" + point), "0 n=5 s=five x=3"},
        // A number or a text of another name: refused in literal, read by its place when encoded.
        {request("Lit", "<count>5</count><s>five</s>" + point), refused + "n comes as {}count fault=SOAP-ENV:Client"},
        {request("Lit", "<n>5</n><text>five</text>" + point), refused + "s comes as {}text fault=SOAP-ENV:Client"},
        {request("Enc", "<count>5</count><text>five</text>" + point), "0 n=5 s=five x=3"},
        // The part's name in a namespace foreign to the service is another name.
        {request("Lit", "<f:n xmlns:f=\"urn:f\">5</f:n><s>five</s>" + point), refused + "n comes as {urn:f}n fault=SOAP-ENV:Client"},
        {request("Enc", "<f:n xmlns:f=\"urn:f\">5</f:n><s>five</s>" + point), "0 n=5 s=five x=3"},
        // Parts in another order: each place's value fails or is taken as that place's.
        {request("Lit", "<s>five</s><n>5</n>" + point), refused + "n comes as {}s fault=SOAP-ENV:Client"},
        {request("Enc", "<s>7</s><n>seven</n>" + point), "0 n=7 s=seven x=3"},
        {request("Enc", "<s>five</s><n>5</n>" + point),
         "-1 error=pk->msg.In.n: \"five\" (4 bytes) is no xsd:int fault=SOAP-ENV:Client"},
        // A struct part is read by its place in both.
        {request("Lit", "<n>5</n><s>five</s><q><x>4</x></q>"), "0 n=5 s=five x=4"},
        // Missing parts fail, extra elements behind the parts are passed over.
        {request("Lit", "<n>5</n><s>five</s>"), "-1 error=the message ends before its part pk->msg.In.p fault=SOAP-ENV:Client"},
        {request("Enc", "<n>5</n>"), "-1 error=the message ends before its part pk->msg.In.s fault=SOAP-ENV:Client"},
        {request("Lit", "<n>5</n><s>five</s>" + point + "<extra>1</extra>"), "0 n=5 s=five x=3"},
        // A document's later part of another element is refused alike.
        {pair("<t:A>1</t:A><t:B>b</t:B>"), "0 a=1 b=b"},
        {pair("<t:A>1</t:A><t:C>b</t:C>"), "-1 error=the message's part pk->msg.PairIn.B.B comes as {urn:t}C fault=SOAP-ENV:Client"},
    };
    const auto [table, expected] = messageTable(cases);
    const RunResult run = runReaderDriver(partsDocument(), Driver, table);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

} // namespace
