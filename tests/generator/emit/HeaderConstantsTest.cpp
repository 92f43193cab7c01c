// The header's limits, tags and message ids, and its frame: each case a
// small document and the lines the header must (or must not) hold.

#include "GeneratorTestSupport.h"
#include "support/CaseFile.h"

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

class HeaderConstantsTest : public FixedTextsTest {};

// Rows of data/header.cases: a document of data/header/, what it shows, then
// texts the header must hold (+) or must not hold (-).
TEST_F(HeaderConstantsTest, LimitsTagsAndIds)
{
    for (const auto& c : testsupport::caseTable("generator/emit/data/header.cases", "constants")) {
        SCOPED_TRACE(c[1]);
        view(testsupport::fixture("generator/emit/data/header/" + c[0] + ".wsdl"));
        const std::string text = emitHeader("demo");
        for (std::size_t i = 2; i < c.fields.size(); ++i)
            EXPECT_EQ(text.find(c[i].substr(1)) != std::string::npos, c[i][0] == '+') << c[i] << "\n----\n" << text;
        if (canCompileC()) {
            const CompileResult compiled = compileHeader();
            EXPECT_EQ(compiled.status, 0) << compiled.output;
        }
    }
}

// A text's length: its type's length facet, else its maxLength facet, else
// the project's text length.
TEST_F(HeaderConstantsTest, TextLengthsFromFacetsOrTheProjectLength)
{
    view(schemaDocument(
        "<xsd:simpleType name=\"Code\"><xsd:restriction base=\"xsd:string\"><xsd:length value=\"10\"/>"
        "</xsd:restriction></xsd:simpleType>"
        "<xsd:simpleType name=\"Name\"><xsd:restriction base=\"xsd:string\"><xsd:maxLength value=\"20\"/>"
        "</xsd:restriction></xsd:simpleType>"
        "<xsd:simpleType name=\"Both\"><xsd:restriction base=\"xsd:string\"><xsd:minLength value=\"2\"/>"
        "<xsd:length value=\"3\"/></xsd:restriction></xsd:simpleType>"
        "<xsd:complexType name=\"Row\"><xsd:sequence><xsd:element name=\"code\" type=\"tns:Code\"/>"
        "<xsd:element name=\"note\" type=\"xsd:string\"/></xsd:sequence></xsd:complexType>"));
    project_.textLength = 300;
    const std::string text = emitHeader("demo");
    for (const char* line : {"//the default string length is 300,you can modify it as your requirement.\r\n",
                             "#define DEMO_MAX_CODE_LEN\t10\r\n", "#define DEMO_MAX_NAME_LEN\t20\r\n",
                             "#define DEMO_MAX_BOTH_LEN\t3\r\n", "#define DEMO_MAX_NOTE_LEN\t300\r\n",
                             "\tchar\tnote[DEMO_MAX_NOTE_LEN+1];\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n----\n" << text;
}

// Each value of an enumeration gets a constant holding its text as written
// (a number type's: the number);
// values whose names would meet stay apart, numbers and an anonymous type's
// values included, and a restriction without values of its own adds none.
TEST_F(HeaderConstantsTest, EnumerationValuesBecomeConstants)
{
    view(schemaDocument(
        "<xsd:simpleType name=\"Color\"><xsd:restriction base=\"xsd:string\"><xsd:enumeration value=\"red\"/>"
        "<xsd:enumeration value=\"Red\"/><xsd:enumeration value=\"dark blue\"/><xsd:enumeration value=\"a&quot;b\\\"/>"
        "<xsd:enumeration value=\"\"/></xsd:restriction></xsd:simpleType>"
        "<xsd:simpleType name=\"Size\"><xsd:restriction base=\"xsd:int\"><xsd:enumeration value=\"10\"/>"
        "<xsd:enumeration value=\"-1\"/></xsd:restriction></xsd:simpleType>"
        "<xsd:simpleType name=\"Warm\"><xsd:restriction base=\"tns:Color\"/></xsd:simpleType>"
        "<xsd:element name=\"mode\"><xsd:simpleType><xsd:restriction base=\"xsd:string\">"
        "<xsd:enumeration value=\"on\"/></xsd:restriction></xsd:simpleType></xsd:element>"));
    const std::string text = emitHeader("demo");
    const struct {
        const char* line;
        bool present;
    } rows[] = {
        {"//the values of each enumerated type, as they are written\r\n#define DEMO_COLOR_RED\t\"red\"\r\n", true},
        {"#define DEMO_COLOR_RED_2\t\"Red\"\r\n", true},
        {"#define DEMO_COLOR_DARK_BLUE\t\"dark blue\"\r\n", true},
        {"#define DEMO_COLOR_A_B_\t\"a\\\"b\\\\\"\r\n", true},
        {"#define DEMO_COLOR_\t\"\"\r\n", true},
        {"#define DEMO_SIZE_10\t10\r\n#define DEMO_SIZE__1\t(-1)\r\n", true}, // numbers, as the member holds them
        {"\"on\"\r\n", true},
        {"DEMO_WARM_", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(text.find(row.line) != std::string::npos, row.present) << row.line << "\n----\n" << text;
    if (canCompileC()) {
        const CompileResult compiled = compileHeader();
        EXPECT_EQ(compiled.status, 0) << compiled.output;
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
    EXPECT_EQ(unix.rfind("#ifndef MYPROJ_API_H\r\n#define MYPROJ_API_H\r\n\r\n"
                         "/* WINAPI and _declspec(dllexport) mark the exported functions for Windows; elsewhere\r\n"
                         "   they are empty, unless the program defined them before. */\r\n"
                         "#ifndef WINAPI\r\n#define WINAPI \r\n#endif\r\n"
                         "#ifndef _declspec\r\n#define _declspec(dllexport) \r\n#endif\r\n\r\n#ifdef _WIN32\r\n",
                         0),
              0u);
    // Kept for callers, and said so.
    EXPECT_NE(unix.find("kept for callers that size arrays of their own with it\r\n#define MYPROJ_MAX_ARRAY_NUM\t5\r\n"),
              std::string::npos);
    // A program's own definitions of the Windows words, before the header,
    // stand: no redefinition.
    if (canCompileC()) {
        CTextBuffer header;
        writeHeaderFile(*context_, header);
        const std::string program = "#define WINAPI __attribute__((unused))\n"
                                    "#define _declspec(how) __attribute__((visibility(\"default\")))\n"
                                    "#include \"MyProj_api.h\"\n#include \"MyProj_api.h\"\n";
        const CompileResult compiled = compileC(program, {{"MyProj_api.h", header.text()}});
        EXPECT_EQ(compiled.status, 0) << compiled.output;
    }
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
