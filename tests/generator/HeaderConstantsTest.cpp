// The header's limits, tags and message ids, and its frame: each case a
// small document and the lines the header must (or must not) hold.

#include "GeneratorTestSupport.h"

using namespace gentest;

namespace {

std::string binding(const std::string& portType, const std::string& style, const std::string& operations)
{
    return "<binding name=\"" + portType + "Soap\" type=\"tns:" + portType + "\"><soap:binding style=\"" + style +
        "\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>" + operations + "</binding>\n";
}

std::string boundOperation(const std::string& name, const std::string& inputExtra = std::string(), bool output = true)
{
    return "<operation name=\"" + name + "\"><soap:operation soapAction=\"\"/><input>" + inputExtra +
        "<soap:body use=\"literal\"/></input>" + (output ? "<output><soap:body use=\"literal\"/></output>" : "") +
        "</operation>";
}

// Document-style GetQuote (GetQuoteRequest in, GetQuoteResponse out).
std::string quoteService(const std::string& style)
{
    return schemaDocument(
        "<xsd:element name=\"GetQuoteRequest\" type=\"xsd:string\"/><xsd:element name=\"GetQuoteResponse\" type=\"xsd:double\"/>",
        "<message name=\"In\"><part name=\"p\" element=\"tns:GetQuoteRequest\"/></message>"
        "<message name=\"Out\"><part name=\"p\" element=\"tns:GetQuoteResponse\"/></message>"
        "<portType name=\"Q\"><operation name=\"GetQuote\"><input message=\"tns:In\"/><output message=\"tns:Out\"/>"
        "</operation><operation name=\"Again\"><input message=\"tns:In\"/><output message=\"tns:Out\"/></operation>"
        "</portType>\n" +
            binding("Q", style, boundOperation("GetQuote") + boundOperation("Again")));
}

struct Case {
    const char* what;
    std::string document;
    std::vector<std::string> present;
    std::vector<std::string> absent;
};

class HeaderConstantsTest : public GeneratorTest {};

TEST_F(HeaderConstantsTest, LimitsTagsAndIds)
{
    const std::string comment = "//the default string length is 128,you can modify it as your requirement.\r\n";
    const Case cases[] = {
        {"document style: one tag and id per body element, however many operations use it",
         quoteService("document"),
         {"#define DEMO_GETQUOTEREQUEST_TAG\t\"GetQuoteRequest\"\r\n#define DEMO_GETQUOTERESPONSE_TAG\t\"GetQuoteResponse\"\r\n"
          "#define DEMO_SOAP_FAULT_TAG\t\"Fault\"\r\n\r\n",
          "enum{\r\n\tDEMO_PROTO_HTTP\t=0x1,\r\n\tDEMO_PROTO_SOAP_FAULT\t=0x2,\r\n\tDEMO_PROTO_GETQUOTEREQUEST\t= 0x3,\r\n"
          "\tDEMO_PROTO_GETQUOTERESPONSE\t= 0x4,\r\n};\r\n\r\n",
          comment + "#define DEMO_MAX_GETQUOTEREQUEST_LEN\t128\r\n"},
         {"GETQUOTERESPONSE_LEN"}},
        {"rpc style: the operation and its response",
         quoteService("rpc"),
         {"#define DEMO_GETQUOTE_TAG\t\"GetQuote\"\r\n#define DEMO_GETQUOTE_RESPONSE_TAG\t\"GetQuoteResponse\"\r\n",
          "\tDEMO_PROTO_GETQUOTE\t= 0x3,\r\n\tDEMO_PROTO_GETQUOTE_RESPONSE\t= 0x4,\r\n\tDEMO_PROTO_AGAIN\t= 0x5,\r\n"
          "\tDEMO_PROTO_AGAIN_RESPONSE\t= 0x6,\r\n"},
         {}},
        {"a soap:header part gets no key; a one-way rpc operation no response; an unbound port type opens the enum",
         schemaDocument("<xsd:element name=\"Auth\" type=\"xsd:string\"/><xsd:element name=\"Order\" type=\"xsd:int\"/>",
                        "<message name=\"In\"><part name=\"h\" element=\"tns:Auth\"/><part name=\"b\" element=\"tns:Order\"/>"
                        "</message><portType name=\"Plain\"><operation name=\"X\"><input message=\"tns:In\"/></operation>"
                        "</portType><portType name=\"D\"><operation name=\"Buy\"><input message=\"tns:In\"/></operation>"
                        "</portType><portType name=\"R\"><operation name=\"Log\"><input message=\"tns:In\"/></operation>"
                        "</portType>\n" +
                            binding("D", "document",
                                    boundOperation("Buy", "<soap:header message=\"tns:In\" part=\"h\" use=\"literal\"/>", false)) +
                            binding("R", "rpc", boundOperation("Log", "", false))),
         {"#define DEMO_ORDER_TAG\t\"Order\"\r\n#define DEMO_LOG_TAG\t\"Log\"\r\n#define DEMO_SOAP_FAULT_TAG",
          "\tDEMO_PROTO_ORDER\t= 0x3,\r\n\tDEMO_PROTO_LOG\t= 0x4,\r\n};"},
         {"AUTH_TAG", "LOG_RESPONSE", "PROTO_X"}},
        {"no port types: the fault tag alone and no enumeration; no texts: no comment",
         schemaDocument("<xsd:element name=\"count\" type=\"xsd:int\"/>"),
         {"////////\r\n#define DEMO_SOAP_FAULT_TAG\t\"Fault\"\r\n\r\n\r\n\r\n////",
          "#endif\r\n\r\n\r\n\r\n\r\n#define DEMO_MAX_USER_LEN\t32\r\n"},
         {"enum{", "//the default"}},
        {"element limits once per name, simple types with maxLength, SOAP arrays without attribute limits",
         wsdltest::definitions(
             "<types><xsd:schema targetNamespace=\"urn:t\" xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\" "
             "xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\"><xsd:import namespace=\"http://schemas.xmlsoap.org/soap/encoding/\"/>"
             "<xsd:element name=\"name\" type=\"xsd:string\"/><xsd:element name=\"count\" type=\"xsd:int\"/>"
             "<xsd:simpleType name=\"ShortText\"><xsd:restriction base=\"xsd:string\"><xsd:maxLength value=\"40\"/>"
             "</xsd:restriction></xsd:simpleType>"
             "<xsd:complexType name=\"Names\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
             "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:string[]\"/></xsd:restriction></xsd:complexContent>"
             "</xsd:complexType></xsd:schema>"
             "<xsd:schema targetNamespace=\"urn:u\"><xsd:element name=\"name\" type=\"xsd:token\"/></xsd:schema></types>\n"),
         {comment + "#define DEMO_MAX_NAME_LEN\t128\r\n#define DEMO_MAX_SHORTTEXT_LEN\t40\r\n#define DEMO_MAX_NAMES_LEN\t128\r\n\r\n\r\n"},
         {"COUNT_LEN", "ARRAYTYPE", "NAME_2"}},
        {"a text named like a fixed limit gets a macro of its own; message parts of type text",
         schemaDocument("<xsd:element name=\"url\" type=\"xsd:string\"/>",
                        "<message name=\"tns.GetQuoteRequest\"><part name=\"symbol\" type=\"xsd:string\"/></message>"
                        "<portType name=\"P\"><operation name=\"Get\"><input message=\"tns:tns.GetQuoteRequest\"/>"
                        "</operation></portType>\n" +
                            binding("P", "rpc", boundOperation("Get", "", false))),
         {"#define DEMO_MAX_URL_2_LEN\t128\r\n", "#define DEMO_MAX_GETQUOTEREQUEST_MSG_SYMBOL_LEN\t128\r\n",
          "\tchar\turl[DEMO_MAX_URL_2_LEN+1];"},
         {"DEMO_MAX_URL_LEN\t128"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        view(c.document);
        const std::string text = emitHeader("demo");
        for (const std::string& present : c.present)
            EXPECT_NE(text.find(present), std::string::npos) << present << "\n----\n" << text;
        for (const std::string& absent : c.absent)
            EXPECT_EQ(text.find(absent), std::string::npos) << absent;
        if (canCompileC()) {
            const CompileResult compiled = compileHeader();
            EXPECT_EQ(compiled.status, 0) << compiled.output;
        }
    }
}

TEST_F(HeaderConstantsTest, EighthKeyIsHexTen)
{
    std::string elements, parts;
    for (int i = 1; i <= 9; ++i) {
        elements += "<xsd:element name=\"e" + std::to_string(i) + "\" type=\"xsd:int\"/>";
        parts += "<part name=\"p" + std::to_string(i) + "\" element=\"tns:e" + std::to_string(i) + "\"/>";
    }
    view(schemaDocument(elements, "<message name=\"M\">" + parts + "</message><portType name=\"P\"><operation name=\"O\">"
                                  "<input message=\"tns:M\"/></operation></portType>\n" +
                                      binding("P", "document", boundOperation("O", "", false))));
    const std::string text = emitHeader("demo");
    EXPECT_NE(text.find("\tDEMO_PROTO_E7\t= 0x9,\r\n\tDEMO_PROTO_E8\t= 0x10,\r\n\tDEMO_PROTO_E9\t= 0x11,\r\n"),
              std::string::npos)
        << text;
}

TEST_F(HeaderConstantsTest, FrameByTarget)
{
    view(schemaDocument(""));
    const std::string windows = emitHeader("MyProj", CProjectRecord::Windows);
    EXPECT_EQ(windows.rfind("#ifndef MYPROJ_API_H\r\n#define MYPROJ_API_H\r\n\r\n\r\n#ifdef _WIN32\r\n", 0), 0u);
    EXPECT_NE(windows.find("_declspec(dllexport) int WINAPI MyProj_proto_readpacket(MyProj_proto_trans_t *trans, "
                           "MyProj_proto_packet_t *pk, int timeout);\r\n"),
              std::string::npos);
    const std::string unix = emitHeader("MyProj", CProjectRecord::Unix);
    EXPECT_EQ(unix.rfind("#ifndef MYPROJ_API_H\r\n#define MYPROJ_API_H\r\n\r\n#define WINAPI \r\n"
                         "#define _declspec(dllexport) \r\n\r\n#ifdef _WIN32\r\n",
                         0),
              0u);
    for (const std::string& text : {windows, unix}) {
        const std::string tail = "\r\n#ifdef __cplusplus\r\n}\r\n#endif\r\n\r\n#endif\r\n\r\n\r\n";
        ASSERT_GT(text.size(), tail.size());
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    }
    if (canCompileForWindows()) {
        const CompileResult compiled = compileHeader();
        EXPECT_EQ(compiled.status, 0) << compiled.output;
        project_.targetPlatform = CProjectRecord::Windows;
        const CompileResult windowsCompiled = compileHeader();
        EXPECT_EQ(windowsCompiled.status, 0) << windowsCompiled.output;
    }
}

} // namespace
