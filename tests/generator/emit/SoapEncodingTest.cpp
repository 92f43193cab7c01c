// SOAP-encoded messages read by the generated packet reader, compiled and
// run: values sent by reference (href/id) stand where they are referred to,
// SOAP arrays keep the size their arrayType declares and place their items
// by offset and position; dangling references, cycles, copies beyond a
// message's size, arrays of more than one dimension and items beyond an
// array's size fail the message with the reason in the decode error. A
// SOAP 1.2 message is read by SOAP 1.2's encoding (ref and id, arraySize).

#include "CodecFixture.h"

using namespace gentest;

namespace {

const char* const EncodedBinding =
    "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"rpc\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
    "<operation name=\"Echo\"><soap:operation soapAction=\"\"/>"
    "<input><soap:body use=\"encoded\" namespace=\"urn:t\" encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"/></input>"
    "<output><soap:body use=\"encoded\" namespace=\"urn:t\" encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"/></output>"
    "</operation></binding>";

// An rpc/encoded operation Echo: a SOAP array of texts, a struct, a SOAP
// array of longs and an int; more: further bindings of its port type.
std::string encodedService(const std::string& more = std::string(), const std::string& attributes = std::string())
{
    return wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\" xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\" "
        "xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\">"
        "<xsd:import namespace=\"http://schemas.xmlsoap.org/soap/encoding/\"/>"
        "<xsd:complexType name=\"Inner\"><xsd:sequence><xsd:element name=\"label\" type=\"xsd:string\"/>"
        "</xsd:sequence></xsd:complexType>"
        "<xsd:complexType name=\"WordArray\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
        "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:string[]\"/></xsd:restriction></xsd:complexContent>"
        "</xsd:complexType>"
        "<xsd:complexType name=\"LongArray\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
        "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:long[]\"/></xsd:restriction></xsd:complexContent>"
        "</xsd:complexType></xsd:schema></types>\n"
        "<message name=\"EchoIn\"><part name=\"words\" type=\"tns:WordArray\"/><part name=\"inner\" type=\"tns:Inner\"/>"
        "<part name=\"nums\" type=\"tns:LongArray\"/><part name=\"n\" type=\"xsd:int\"/></message>"
        "<message name=\"EchoOut\"><part name=\"return\" type=\"xsd:int\"/></message>"
        "<portType name=\"P\"><operation name=\"Echo\"><input message=\"tns:EchoIn\"/><output message=\"tns:EchoOut\"/>"
        "</operation></portType>" +
            std::string(EncodedBinding) + more,
        attributes);
}

// Echo bound by SOAP 1.2 (its encoding) beside SOAP 1.1.
std::string encodedServiceOfBothVersions()
{
    std::string soap12 = wsdltest::asSoap12Binding(EncodedBinding, "B", "B12");
    const std::string from = "http://schemas.xmlsoap.org/soap/encoding/";
    for (std::size_t at = soap12.find(from); at != std::string::npos; at = soap12.find(from, at))
        soap12.replace(at, from.size(), "http://www.w3.org/2003/05/soap-encoding");
    return encodedService(soap12, " xmlns:soap12=\"http://schemas.xmlsoap.org/wsdl/soap12/\"");
}

// What the packet of a case holds, after the cases array.
const char* const Driver = R"(
static void report(int result, demo_proto_packet_t *packet)
{
	demo_proto_packet_t pk = *packet;
	int i;

	if(result == 0 && pk.msg_type == DEMO_PROTO_ECHO){
		demo_EchoIn_msg_t *in = &pk.msg.EchoIn;
		printf(" words=%d", in->words.WordArray_count);
		for(i = 0; i < in->words.WordArray_count; i++)
			printf("%s%s", i > 0 ? "," : ":", in->words.WordArray[i]);
		printf(" inner=%s nums=%d", in->inner.label, in->nums.LongArray_count);
		for(i = 0; i < in->nums.LongArray_count; i++)
			printf("%s%lld", i > 0 ? "," : ":", in->nums.LongArray[i]);
		printf(" n=%d", in->n);
	}
	if(pk.decode_error[0])
		printf(" error=%s", pk.decode_error);
}
)";

// A request whose Echo holds the given accessors, with the independent
// elements after it in the Body, in SOAP 1.1 or (soap12) SOAP 1.2.
std::string request(const std::string& accessors, const std::string& independent = std::string(), bool soap12 = false)
{
    const std::string encoding =
        soap12 ? "http://www.w3.org/2003/05/soap-encoding" : "http://schemas.xmlsoap.org/soap/encoding/";
    const std::string body =
        "<?xml version=\"1.0\"?><SOAP-ENV:Envelope xmlns:SOAP-ENV=\"" +
        std::string(soap12 ? "http://www.w3.org/2003/05/soap-envelope" : "http://schemas.xmlsoap.org/soap/envelope/") +
        "\" xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:enc=\"http://www.w3.org/2003/05/soap-encoding\" xmlns:t=\"urn:t\"><SOAP-ENV:Body><t:Echo "
        "SOAP-ENV:encodingStyle=\"" + encoding + "\">" + accessors + "</t:Echo>" + independent +
        "</SOAP-ENV:Body></SOAP-ENV:Envelope>";
    return "POST /x HTTP/1.1\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string request12(const std::string& accessors, const std::string& independent = std::string())
{
    return request(accessors, independent, true);
}

const std::string Inner = "<inner><label>in</label></inner>";
const std::string Nums = "<nums SOAP-ENC:arrayType=\"xsd:long[1]\"><item>7</item></nums>";
const std::string N = "<n>5</n>";

std::string words(const std::string& arrayType, const std::string& items, const std::string& more = std::string())
{
    return "<words SOAP-ENC:arrayType=\"" + arrayType + "\"" + more + ">" + items + "</words>";
}

const std::string Nums12 = "<nums enc:itemType=\"xsd:long\" enc:arraySize=\"1\"><item>7</item></nums>";

std::string words12(const std::string& arraySize, const std::string& items)
{
    return "<words enc:itemType=\"xsd:string\" enc:arraySize=\"" + arraySize + "\">" + items + "</words>";
}


// The driver fills and reads texts in place.
class SoapEncodingTest : public ReaderDriverTest {
protected:
    SoapEncodingTest() { project_.textLength = 128; }
};

TEST_F(SoapEncodingTest, ReferencesAndArrayShapesAreHonouredOrRefused)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string ab = "<item>a</item><item>b</item>";
    // a chain of 20 elements each referring twice to the next: a million copies
    std::string chain;
    for (int i = 0; i < 20; ++i)
        chain += "<t:Inner id=\"c" + std::to_string(i) + "\"><label href=\"#c" + std::to_string(i + 1) +
            "\"/><label href=\"#c" + std::to_string(i + 1) + "\"/></t:Inner>";
    chain += "<t:Inner id=\"c20\">x</t:Inner>";
    const std::vector<MessageCase> cases = {
        {request(words("xsd:string[2]", ab) + Inner + Nums + N), "0 words=2:a,b inner=in nums=1:7 n=5"},
        // An array, its items, a struct and a number by reference, in any order.
        {request("<words href=\"#w\"/>" + Inner + Nums + N,
                 "<SOAP-ENC:Array id=\"w\" SOAP-ENC:arrayType=\"xsd:string[2]\">" + ab + "</SOAP-ENC:Array>"),
         "0 words=2:a,b inner=in nums=1:7 n=5"},
        {request("<words href=\"#w\"/>" + Inner + Nums + N,
                 "<SOAP-ENC:Array id=\"w\" SOAP-ENC:arrayType=\"xsd:string[3]\">" + ab + "</SOAP-ENC:Array>"),
         "0 words=3:a,b, inner=in nums=1:7 n=5"},
        {request(words("xsd:string[2]", "<item href=\"#i2\"/><item href=\"#i1\"/>") + Inner + Nums + N,
                 "<item id=\"i1\">x</item><item id=\"i2\">y</item>"),
         "0 words=2:y,x inner=in nums=1:7 n=5"},
        {request(words("xsd:string[0]", "") + "<inner href=\"#s\"/>" + Nums + "<n href=\"#n\"/>",
                 "<t:Inner id=\"s\"><label href=\"#l\"/></t:Inner><n id=\"n\">9</n><label id=\"l\">deep</label>"),
         "0 words=0 inner=deep nums=1:7 n=9"},
        // One element copied to two places.
        {request(words("xsd:string[2]", "<item href=\"#i\"/><item href=\"#i\"/>") + Inner + Nums + N,
                 "<item id=\"i\">same</item>"),
         "0 words=2:same,same inner=in nums=1:7 n=5"},
        // References to nothing, outside the Body, cycles, one id twice, copies without end.
        {request(words("xsd:string[0]", "") + "<inner href=\"#nope\"/>" + Nums + N),
         "-1 error=href/id: no element of the Body is #nope"},
        {request(words("xsd:string[0]", "") + "<inner href=\"http://example.org/x#s\"/>" + Nums + N),
         "-1 error=href/id: no element of the Body is http://example.org/x#s"},
        {request(words("xsd:string[0]", "") + "<inner href=\"#a\"/>" + Nums + N,
                 "<t:Inner id=\"a\"><label href=\"#b\"/></t:Inner><label id=\"b\"><x href=\"#a\"/></label>"),
         "-1 error=href/id: a cycle through #a"},
        {request(words("xsd:string[0]", "") + "<inner id=\"self\"><label href=\"#self\"/></inner>" + Nums + N),
         "-1 error=href/id: a cycle through #self"},
        {request(words("xsd:string[0]", "") + "<inner href=\"#d\"/>" + Nums + N,
                 "<t:Inner id=\"d\"><label>1</label></t:Inner><t:Inner id=\"d\"><label>2</label></t:Inner>"),
         "-1 error=href/id: two elements have the id d"},
        {request(words("xsd:string[0]", "") + "<inner href=\"#c0\"/>" + Nums + N, chain),
         "-1 error=href/id: more copies than a message holds, at label"},
        // The size arrayType declares: more items fail, fewer are padded
        // with empty ones; offset and position place the items.
        {request(words("xsd:string[1]", "<item>a</item><item>b</item><item>c</item>") + Inner + Nums + N),
         "-1 error=demo_WordArray_t.WordArray: has more items than its size, at \"\""},
        {request(words("xsd:string[3]", ab) + Inner + Nums + N), "0 words=3:a,b, inner=in nums=1:7 n=5"},
        {request(words("xsd:string[4]", ab, " SOAP-ENC:offset=\"[2]\"") + Inner + Nums + N),
         "0 words=4:,,a,b inner=in nums=1:7 n=5"},
        {request(words("xsd:string[5]", "<item SOAP-ENC:position=\"[1]\">a</item><item SOAP-ENC:position=\"[3]\">b</item>") +
                 Inner + "<nums SOAP-ENC:arrayType=\"xsd:long[3]\"><item SOAP-ENC:position=\"[2]\">8</item></nums>" + N),
         "0 words=5:,a,,b, inner=in nums=3:0,0,8 n=5"},
        {request(words("xsd:string[5]", "<item SOAP-ENC:position=\"[3]\">a</item><item SOAP-ENC:position=\"[1]\">b</item>") +
                 Inner + Nums + N),
         "-1 error=demo_WordArray_t.WordArray: has an item placed twice or out of order at \"[1]\""},
        {request(words("xsd:string[5]", "<item SOAP-ENC:position=\"[5]\">a</item>") + Inner + Nums + N),
         "-1 error=demo_WordArray_t.WordArray: has more items than its size, at \"[5]\""},
        {request(words("xsd:string[2]", ab, " SOAP-ENC:offset=\"[1]\"") + Inner + Nums + N),
         "-1 error=demo_WordArray_t.WordArray: has more items than its size, at \"\""},
        // Arrays of two dimensions are no member's: refused, never flattened.
        {request(words("xsd:string[2,2]", ab + ab) + Inner + Nums + N),
         "-1 error=demo_WordArray_t.WordArray: has more than the one dimension its member holds: \"xsd:string[2,2]\""},
        {request(words("xsd:string[2]", "<item SOAP-ENC:position=\"[0,1]\">a</item>") + Inner + Nums + N),
         "-1 error=demo_WordArray_t.WordArray: has an item of no position of one dimension at \"[0,1]\""},
        {request(words("xsd:string[x]", ab) + Inner + Nums + N),
         "-1 error=demo_WordArray_t.WordArray: has no SOAP array type in \"xsd:string[x]\""},
        {request(words("xsd:string[99999999999]", ab) + Inner + Nums + N),
         "-1 error=demo_WordArray_t.WordArray: is larger than a message can carry: \"xsd:string[99999999999]\""},
    };
    const auto [table, expected] = messageTable(cases);
    const RunResult run = runReaderDriver(encodedService(), Driver, table);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// Where Echo is bound by both versions, each message is read by its own
// version's encoding: a SOAP 1.2 message by ref/id (forward and backward,
// inline or beside the wrapper) and arraySize, the other's forms being no
// references there; the arrayType a literal schema's array declares still
// gives the size when no arraySize does.
// The items an array declares and leaves out, and the copies references
// make, are bounded by DEMO_MAX_MESSAGE_LEN (4 here) in a short message; the
// items a message brings, however many, are all read.
TEST_F(SoapEncodingTest, WhatAMessageLeavesOutIsBoundedWhatItBringsIsNot)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string six = "<item>a</item><item>b</item><item>c</item><item>d</item><item>e</item><item>f</item>";
    const std::string error = "-1 error=demo_WordArray_t.WordArray: ";
    const std::vector<MessageCase> cases = {
        {request(words("xsd:string[6]", six) + Inner + Nums + N), "0 words=6:a,b,c,d,e,f inner=in nums=1:7 n=5"},
        {request(words("xsd:string[]", six) + Inner + Nums + N), "0 words=6:a,b,c,d,e,f inner=in nums=1:7 n=5"},
        {request(words("xsd:string[10]", six) + Inner + Nums + N),
         "0 words=10:a,b,c,d,e,f,,,, inner=in nums=1:7 n=5"},
        {request(words("xsd:string[11]", six) + Inner + Nums + N),
         error + "leaves out more items than a message may, of its size in \"xsd:string[11]\""},
        {request(words("xsd:string[]", "<item SOAP-ENC:position=\"[3]\">x</item>" + six) + Inner + Nums + N),
         "0 words=10:,,,x,a,b,c,d,e,f inner=in nums=1:7 n=5"},
        {request(words("xsd:string[]", "<item SOAP-ENC:position=\"[4]\">a</item>") + Inner + Nums + N),
         error + "has more items than its size, at \"[4]\""},
        {request(words("xsd:string[]", "<item>a</item><item>b</item>", " SOAP-ENC:offset=\"[5]\"") + Inner + Nums + N),
         error + "leaves out more items than a message may, from its start at \"[5]\""},
        // Copies beyond DEMO_MAX_MESSAGE_LEN, within the message's length.
        {request(words("xsd:string[5]", "<item href=\"#i\"/><item href=\"#i\"/><item href=\"#i\"/><item href=\"#i\"/>"
                                         "<item href=\"#i\"/>") + Inner + Nums + N,
                 "<item id=\"i\">same</item>"),
         "0 words=5:same,same,same,same,same inner=in nums=1:7 n=5"},
    };
    const auto [table, expected] = messageTable(cases);
    const RunResult run = runReaderDriver(encodedService(), Driver, table, "#define DEMO_MAX_MESSAGE_LEN\t4");
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

TEST_F(SoapEncodingTest, EachVersionsReferencesAndArraySizesAreReadInItsMessages)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string ab = "<item>a</item><item>b</item>";
    const std::string rest = Inner + Nums12 + N;
    const std::string size = "-1 error=demo_WordArray_t.WordArray: ";
    const std::vector<MessageCase> cases = {
        {request12(words12("2", ab) + rest), "0 words=2:a,b inner=in nums=1:7 n=5"},
        {request12(words12("*", ab) + rest), "0 words=2:a,b inner=in nums=1:7 n=5"},
        {request12(words12(" 3 ", ab) + rest), "0 words=3:a,b, inner=in nums=1:7 n=5"},
        {request12(words12("3", "<item enc:ref=\"i\"/><item enc:id=\"i\">y</item><item enc:ref=\"i\"/>") + rest),
         "0 words=3:y,y,y inner=in nums=1:7 n=5"},
        {request12(words12("0", "") + "<inner enc:ref=\"s\"/>" + Nums12 + "<n enc:ref=\"n\"/>",
                   "<t:Inner enc:id=\"s\"><label>deep</label></t:Inner><n enc:id=\"n\">9</n>"),
         "0 words=0 inner=deep nums=1:7 n=9"},
        {request12(words12("1", "<item href=\"#i\"/>") + rest, "<item id=\"i\">x</item>"),
         "0 words=1: inner=in nums=1:7 n=5"},
        {request12(words("xsd:string[2]", ab) + rest), "0 words=2:a,b inner=in nums=1:7 n=5"},
        // SOAP 1.1 messages of the same service keep SOAP 1.1's forms.
        {request(words("xsd:string[2]", "<item href=\"#i\"/><item href=\"#i\"/>") + Inner + Nums + N,
                 "<item id=\"i\">same</item>"),
         "0 words=2:same,same inner=in nums=1:7 n=5"},
        {request(words("xsd:string[1]", "<item enc:ref=\"i\"/>") + Inner + Nums + N, "<item enc:id=\"i\">x</item>"),
         "0 words=1: inner=in nums=1:7 n=5"},
        {request(words("xsd:string[1]", ab, " enc:arraySize=\"2\"") + Inner + Nums + N),
         size + "has more items than its size, at \"\""},
        // References to nothing, cycles, one id twice.
        {request12(words12("0", "") + "<inner enc:ref=\"nope\"/>" + Nums12 + N), "-1 error=ref/id: no element of the Body is nope"},
        {request12(words12("0", "") + "<inner enc:id=\"self\"><label enc:ref=\"self\"/></inner>" + Nums12 + N),
         "-1 error=ref/id: a cycle through self"},
        {request12(words12("2", "<item enc:id=\"d\">1</item><item enc:id=\"d\">2</item>") + rest),
         "-1 error=ref/id: two elements have the id d"},
        // Sizes beyond the items, of two dimensions, of no number, too large.
        {request12(words12("1", ab) + rest), size + "has more items than its size, at \"\""},
        {request12(words12("2 2", ab + ab) + rest), size + "has more than the one dimension its member holds: \"2 2\""},
        {request12(words12("* 2", ab) + rest), size + "has more than the one dimension its member holds: \"* 2\""},
        {request12(words12("x", ab) + rest), size + "has no SOAP array size in \"x\""},
        {request12(words12("", ab) + rest), size + "has no SOAP array size in \"\""},
        {request12(words12("2x", ab) + rest), size + "has no SOAP array size in \"2x\""},
        {request12(words12("*2", ab) + rest), size + "has no SOAP array size in \"*2\""},
        {request12(words12("*" + std::string(24, '0'), ab) + rest), size + "has no SOAP array size in \"*" + std::string(24, '0') + "\""},
        {request12(words12("99999999999", ab) + rest), size + "is larger than a message can carry: \"99999999999\""},
    };
    const auto [table, expected] = messageTable(cases);
    const RunResult run = runReaderDriver(encodedServiceOfBothVersions(), Driver, table);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

} // namespace
