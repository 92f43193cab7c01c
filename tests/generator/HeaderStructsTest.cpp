// The struct section of the header: each case a small document, the lines
// its structs must hold (CR LF ends), and the whole section compiled.

#include "GeneratorTestSupport.h"

using namespace gentest;

namespace {

// A port type "P" with operations given as (name, input, output) and its
// SOAP binding in the style given; header is put into every input.
std::string service(const std::vector<std::vector<std::string>>& operations, const std::string& style = "document",
                    const std::string& header = std::string())
{
    std::string portType = "<portType name=\"P\">";
    std::string binding = "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"" + style +
        "\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>";
    for (const auto& op : operations) {
        portType += "<operation name=\"" + op[0] + "\"><input message=\"tns:" + op[1] + "\"/>" +
            (op[2].empty() ? "" : "<output message=\"tns:" + op[2] + "\"/>") + "</operation>";
        binding += "<operation name=\"" + op[0] + "\"><soap:operation soapAction=\"\"/><input>" + header +
            "<soap:body use=\"literal\"/></input>" + (op[2].empty() ? "" : "<output><soap:body use=\"literal\"/></output>") +
            "</operation>";
    }
    return portType + "</portType>\n" + binding + "</binding>\n";
}

std::string lines(const std::vector<std::string>& text)
{
    std::string joined;
    for (const std::string& line : text)
        joined += line + "\r\n";
    return joined;
}

struct Case {
    const char* what;
    std::string document;
    std::vector<std::string> expected; // consecutive lines
    std::vector<std::string> absent;   // texts the section must not hold
};

class HeaderStructsTest : public GeneratorTest {};

TEST_F(HeaderStructsTest, StructsOfTypesElementsAndMessages)
{
    const Case cases[] = {
        {"attribute and elements in order",
         schemaDocument("<xsd:complexType name=\"Order\"><xsd:sequence><xsd:element name=\"qty\" type=\"xsd:int\"/>"
                        "<xsd:element name=\"note\" type=\"xsd:string\"/></xsd:sequence>"
                        "<xsd:attribute name=\"id\" type=\"xsd:int\"/></xsd:complexType>"),
         {"typedef struct shop_Order_t{", "\tchar\tid[SHOP_MAX_ID_ATTRIBUTE_LEN+1];", "\tint\tqty;",
          "\tchar\tnote[SHOP_MAX_NOTE_LEN+1];", "}shop_Order_t;", ""},
         {}},
        {"the type mapping",
         schemaDocument("<xsd:complexType name=\"All\"><xsd:sequence>"
                        "<xsd:element name=\"a\" type=\"xsd:integer\"/><xsd:element name=\"b\" type=\"xsd:byte\"/>"
                        "<xsd:element name=\"c\" type=\"xsd:boolean\"/><xsd:element name=\"d\" type=\"xsd:unsignedInt\"/>"
                        "<xsd:element name=\"e\" type=\"xsd:long\"/><xsd:element name=\"f\" type=\"xsd:unsignedLong\"/>"
                        "<xsd:element name=\"g\" type=\"xsd:short\"/><xsd:element name=\"h\" type=\"xsd:unsignedShort\"/>"
                        "<xsd:element name=\"i\" type=\"xsd:decimal\"/><xsd:element name=\"j\" type=\"xsd:double\"/>"
                        "<xsd:element name=\"k\" type=\"xsd:dateTime\"/><xsd:element name=\"l\" type=\"xsd:anyURI\"/>"
                        "</xsd:sequence></xsd:complexType>"),
         {"typedef struct shop_All_t{", "\tint\ta;", "\tunsigned char\tb;", "\tunsigned char\tc;", "\tunsigned int\td;",
          "\tlong\te;", "\tunsigned long\tf;", "\tshort int\tg;", "\tunsigned short int\th;", "\tfloat\ti;",
          "\tdouble\tj;", "\tchar\tk[SHOP_MAX_K_LEN+1];", "\tchar\tl[SHOP_MAX_L_LEN+1];", "}shop_All_t;"},
         {}},
        {"simple types: int, text with maxLength, and a double kept as a double",
         schemaDocument("<xsd:simpleType name=\"Count\"><xsd:restriction base=\"xsd:int\"/></xsd:simpleType>"
                        "<xsd:simpleType name=\"ShortText\"><xsd:restriction base=\"xsd:string\">"
                        "<xsd:maxLength value=\"40\"/></xsd:restriction></xsd:simpleType>"
                        "<xsd:simpleType name=\"Ratio\"><xsd:restriction base=\"xsd:double\"/></xsd:simpleType>"),
         {"typedef struct shop_Count_t{", "\tint\tCount;", "}shop_Count_t;", "", "typedef struct shop_ShortText_t{",
          "\tchar\tShortText[SHOP_MAX_SHORTTEXT_LEN+1];", "}shop_ShortText_t;", "", "typedef struct shop_Ratio_t{",
          "\tdouble\tRatio;", "}shop_Ratio_t;"},
         {}},
        {"a repeated plain element stays one member",
         schemaDocument("<xsd:complexType name=\"Tags\"><xsd:sequence><xsd:element name=\"tag\" type=\"xsd:string\" "
                        "maxOccurs=\"unbounded\"/></xsd:sequence></xsd:complexType>"),
         {"typedef struct shop_Tags_t{", "\tchar\ttag[SHOP_MAX_TAG_LEN+1];", "}shop_Tags_t;"},
         {"MAX_ARRAY_NUM]"}},
        {"a type is written after the type it holds",
         schemaDocument("<xsd:complexType name=\"Cart\"><xsd:sequence><xsd:element name=\"item\" type=\"tns:Item\"/>"
                        "</xsd:sequence></xsd:complexType><xsd:complexType name=\"Item\"><xsd:sequence>"
                        "<xsd:element name=\"sku\" type=\"xsd:int\"/></xsd:sequence></xsd:complexType>",
                        ""),
         {"typedef struct shop_Item_t{", "\tint\tsku;", "}shop_Item_t;", "", "typedef struct shop_Cart_t{",
          "\tshop_Item_t\titem;", "}shop_Cart_t;"},
         {}},
        {"a global element of a complex type names one struct twice",
         schemaDocument("<xsd:element name=\"getQuote\" type=\"tns:Quote\"/><xsd:complexType name=\"Quote\">"
                        "<xsd:sequence><xsd:element name=\"symbol\" type=\"xsd:string\"/></xsd:sequence>"
                        "</xsd:complexType><xsd:element name=\"lastQuote\" type=\"tns:Quote\"/>"),
         {"typedef struct shop_getQuote_t{", "\tchar\tsymbol[SHOP_MAX_SYMBOL_LEN+1];", "}shop_getQuote_t,shop_Quote_t;",
          "", "typedef shop_Quote_t shop_lastQuote_t;"},
         {"typedef struct shop_Quote_t"}},
        {"global elements of built-in and simple types",
         schemaDocument("<xsd:element name=\"name\" type=\"xsd:string\"/><xsd:element name=\"count\" type=\"xsd:int\"/>"
                        "<xsd:simpleType name=\"Code\"><xsd:restriction base=\"xsd:token\"/></xsd:simpleType>"
                        "<xsd:element name=\"code\" type=\"tns:Code\"/>"),
         {"typedef struct shop_name_t{", "\tchar\tname[SHOP_MAX_NAME_LEN+1];", "}shop_name_t;", "",
          "typedef struct shop_count_t{", "\tint\tcount;", "}shop_count_t;", "", "typedef shop_Code_t shop_code_t;"},
         {}},
        {"SOAP-encoded arrays of a user type, of text and of numbers",
         wsdltest::definitions(
             "<types><xsd:schema targetNamespace=\"urn:t\" xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\" "
             "xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\"><xsd:import namespace=\"http://schemas.xmlsoap.org/soap/encoding/\"/>"
             "<xsd:complexType name=\"Item\"><xsd:sequence><xsd:element name=\"sku\" type=\"xsd:int\"/></xsd:sequence>"
             "</xsd:complexType>"
             "<xsd:complexType name=\"ItemArray\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
             "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"tns:Item[]\"/></xsd:restriction></xsd:complexContent>"
             "</xsd:complexType>"
             "<xsd:complexType name=\"StringArray\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
             "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:string[]\"/></xsd:restriction></xsd:complexContent>"
             "</xsd:complexType>"
             "<xsd:complexType name=\"IntArray\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
             "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:int[]\"/></xsd:restriction></xsd:complexContent>"
             "</xsd:complexType></xsd:schema></types>\n"),
         {"typedef struct shop_ItemArray_t{", "\tshop_Item_t\tItemArray[SHOP_MAX_ARRAY_NUM];", "\tint\tItemArray_count;",
          "}shop_ItemArray_t;", "", "typedef struct shop_StringArray_t{",
          "\tchar\tStringArray[SHOP_MAX_ARRAY_NUM][SHOP_MAX_STRINGARRAY_LEN+1];", "\tint\tStringArray_count;",
          "}shop_StringArray_t;", "", "typedef struct shop_IntArray_t{", "\tint\tIntArray[SHOP_MAX_ARRAY_NUM];",
          "\tint\tIntArray_count;", "}shop_IntArray_t;"},
         {"arrayType"}},
        {"names that are no C identifiers, and members that would collide",
         schemaDocument("<xsd:complexType name=\"my.type\"><xsd:sequence><xsd:element name=\"first-name\" type=\"xsd:string\"/>"
                        "<xsd:element name=\"int\" type=\"xsd:int\"/><xsd:element name=\"id\" type=\"xsd:int\"/>"
                        "</xsd:sequence><xsd:attribute name=\"id\" type=\"xsd:string\"/></xsd:complexType>"
                        "<xsd:complexType name=\"my_type\"><xsd:sequence><xsd:element name=\"x\" type=\"xsd:int\"/>"
                        "</xsd:sequence></xsd:complexType>"),
         {"typedef struct shop_my_type_2_t{", "\tchar\tid[SHOP_MAX_ID_ATTRIBUTE_LEN+1];",
          "\tchar\tfirst_name[SHOP_MAX_FIRST_NAME_LEN+1];", "\tint\t_int;", "\tint\tid_2;", "}shop_my_type_2_t;", "",
          "typedef struct shop_my_type_t{", "\tint\tx;", "}shop_my_type_t;"},
         {}},
        {"messages: no parts, a part named return, a message of two operations",
         schemaDocument("", "<message name=\"Ping\"/><message name=\"tns.Answer\"><part name=\"return\" type=\"xsd:int\"/>"
                            "<part name=\"text\" type=\"xsd:string\"/></message>" +
                                service({{"Ping", "Ping", "tns.Answer"}, {"Ping2", "Ping", "tns.Answer"}}, "rpc")),
         {"typedef struct shop_Ping_msg_t{", "\tint\tdummy;", "}shop_Ping_msg_t;", "", "typedef struct shop_Answer_msg_t{",
          "\tint\treturn_msg;", "\tchar\ttext[SHOP_MAX_ANSWER_MSG_TEXT_LEN+1];", "}shop_Answer_msg_t;"},
         {"shop_Ping_msg_t\tPing;\r\n\t\tshop_Ping_msg_t"}},
        {"a soap:header part goes to the packet, not to its message",
         schemaDocument("<xsd:element name=\"Auth\" type=\"xsd:string\"/><xsd:element name=\"Order\" type=\"xsd:int\"/>",
                        "<message name=\"In\"><part name=\"h\" element=\"tns:Auth\"/><part name=\"b\" element=\"tns:Order\"/>"
                        "</message>" +
                            service({{"Buy", "In", ""}}, "document",
                                    "<soap:header message=\"tns:In\" part=\"h\" use=\"literal\"/>")),
         {"typedef struct shop_In_msg_t{", "\tshop_Order_t\tOrder;", "}shop_In_msg_t;"},
         {"shop_Auth_t\tAuth;"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = structs(c.document);
        EXPECT_NE(text.find(lines(c.expected)), std::string::npos) << text;
        for (const std::string& absent : c.absent)
            EXPECT_EQ(text.find(absent), std::string::npos) << absent;
        if (canCompileC()) {
            const CompileResult compiled = compileHeader();
            EXPECT_EQ(compiled.status, 0) << compiled.output;
        }
    }
}

TEST_F(HeaderStructsTest, TypesThatHoldEachOtherCompile)
{
    const std::string text = structs(schemaDocument(
        "<xsd:complexType name=\"Node\"><xsd:sequence><xsd:element name=\"next\" type=\"tns:Node\"/>"
        "<xsd:element name=\"owner\" type=\"tns:Tree\"/></xsd:sequence></xsd:complexType>"
        "<xsd:complexType name=\"Tree\"><xsd:sequence><xsd:element name=\"root\" type=\"tns:Node\"/>"
        "</xsd:sequence></xsd:complexType>"));
    // The self reference and one edge of the Node-Tree cycle become pointers.
    EXPECT_NE(text.find("\tstruct shop_Node_t\t*next;"), std::string::npos) << text;
    EXPECT_NE(text.find("\tstruct shop_Tree_t\t*owner;"), std::string::npos) << text;
    EXPECT_NE(text.find("\tshop_Node_t\troot;"), std::string::npos) << text;
    if (canCompileC()) {
        const CompileResult compiled = compileHeader();
        EXPECT_EQ(compiled.status, 0) << compiled.output;
    }
}

TEST_F(HeaderStructsTest, TypeSeenByTwoSchemasIsDefinedOnce)
{
    const std::string text = structs(wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:a\" xmlns:a=\"urn:a\"><xsd:complexType name=\"Money\"><xsd:sequence>"
        "<xsd:element name=\"cents\" type=\"xsd:long\"/></xsd:sequence></xsd:complexType></xsd:schema>"
        "<xsd:schema targetNamespace=\"urn:t\" xmlns:a=\"urn:a\"><xsd:import namespace=\"urn:a\"/>"
        "<xsd:complexType name=\"Price\"><xsd:sequence><xsd:element name=\"amount\" type=\"a:Money\"/>"
        "<xsd:element name=\"tax\" type=\"a:Money\"/></xsd:sequence></xsd:complexType></xsd:schema></types>\n"));
    std::string::size_type count = 0;
    for (std::string::size_type at = text.find("typedef struct shop_Money_t{"); at != std::string::npos;
         at = text.find("typedef struct shop_Money_t{", at + 1))
        ++count;
    EXPECT_EQ(count, 1u) << text;
    EXPECT_NE(text.find(lines({"typedef struct shop_Price_t{", "\tshop_Money_t\tamount;", "\tshop_Money_t\ttax;"})),
              std::string::npos)
        << text;
    EXPECT_LT(text.find("shop_Money_t{"), text.find("shop_Price_t{"));
}

} // namespace
