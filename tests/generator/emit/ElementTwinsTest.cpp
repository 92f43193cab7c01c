// A derived type that declares again elements of its base (the same name
// and namespace) holds a member for each declaration: the reader gives the
// first element of such a name to the base's member and the second to the
// derived type's, by their order in the content, and refuses a third.

#include "CodecFixture.h"

using namespace gentest;

namespace {

// Base has n and sub; Derived adds sub and n again, and more.
std::string twinsService()
{
    return wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\" elementFormDefault=\"qualified\">"
        "<xsd:complexType name=\"Base\"><xsd:sequence><xsd:element name=\"n\" type=\"xsd:int\"/>"
        "<xsd:element name=\"sub\" type=\"xsd:string\"/></xsd:sequence></xsd:complexType>"
        "<xsd:complexType name=\"Derived\"><xsd:complexContent><xsd:extension base=\"tns:Base\"><xsd:sequence>"
        "<xsd:element name=\"sub\" type=\"xsd:string\"/><xsd:element name=\"n\" type=\"xsd:int\"/>"
        "<xsd:element name=\"more\" type=\"xsd:int\"/></xsd:sequence></xsd:extension></xsd:complexContent></xsd:complexType>"
        "<xsd:element name=\"Add\" type=\"tns:Derived\"/><xsd:element name=\"AddResponse\" type=\"xsd:int\"/>"
        "</xsd:schema></types>\n"
        "<message name=\"AddIn\"><part name=\"parameters\" element=\"tns:Add\"/></message>"
        "<message name=\"AddOut\"><part name=\"parameters\" element=\"tns:AddResponse\"/></message>\n" +
        wsdltest::calculatorPortType() + wsdltest::calculatorBinding("document", "literal") + wsdltest::calculatorService());
}

std::string request(const std::string& content)
{
    const std::string envelope = "<?xml version=\"1.0\"?><e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                                 "<e:Body><t:Add xmlns:t=\"urn:t\">" +
        content + "</t:Add></e:Body></e:Envelope>";
    return "POST /x HTTP/1.1\r\nContent-Length: " + std::to_string(envelope.size()) + "\r\n\r\n" + envelope;
}

const char* const Report = R"(
static void report(int result, demo_proto_packet_t *pk)
{
	const demo_Add_t *v = &pk->msg.AddIn.Add;

	if(result != 0)
		printf(" error=%s", pk->decode_error);
	else
		printf(" n=%d sub=%s sub_2=%s n_2=%d more=%d", v->n, v->sub ? v->sub : "-", v->sub_2 ? v->sub_2 : "-", v->n_2, v->more);
}
)";

class ElementTwinsTest : public ReaderDriverTest {};

TEST_F(ElementTwinsTest, EachDeclarationTakesTheElementAtItsPlace)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::vector<MessageCase> cases = {
        {request("<t:n>1</t:n><t:sub>a</t:sub><t:sub>b</t:sub><t:n>2</t:n><t:more>3</t:more>"),
         "0 n=1 sub=a sub_2=b n_2=2 more=3"},
        // Taken by position, not by value: the same text twice, numbers in any order.
        {request("<t:n>-5</t:n><t:sub>x</t:sub><t:sub>x</t:sub><t:n>9</t:n><t:more>0</t:more>"),
         "0 n=-5 sub=x sub_2=x n_2=9 more=0"},
        // Unqualified children are read as before.
        {request("<n>1</n><sub>a</sub><sub>b</sub><n>2</n><more>3</more>"), "0 n=1 sub=a sub_2=b n_2=2 more=3"},
        // One element of the name too many, or one too few.
        {request("<t:n>1</t:n><t:sub>a</t:sub><t:sub>b</t:sub><t:sub>c</t:sub><t:n>2</t:n><t:more>3</t:more>"),
         "-1 error=demo_Derived_t.sub_2: stands twice"},
        {request("<t:n>1</t:n><t:sub>a</t:sub><t:n>2</t:n><t:more>3</t:more>"), "-1 error=demo_Derived_t.sub_2: no value"},
        // An element declared once still stands once.
        {request("<t:n>1</t:n><t:sub>a</t:sub><t:sub>b</t:sub><t:n>2</t:n><t:more>3</t:more><t:more>4</t:more>"),
         "-1 error=demo_Derived_t.more: stands twice"},
    };
    const auto [table, expected] = messageTable(cases);
    const RunResult run = runReaderDriver(twinsService(), Report, table);
    EXPECT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(run.output, expected);
}

} // namespace
