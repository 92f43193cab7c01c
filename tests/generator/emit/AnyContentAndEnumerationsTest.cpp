// Content of xsd:anyType (an element declared without a type) read as the
// markup it came as and written back as given, type names of xsi:type kept
// resolvable; enumerated values refused on writing, and taken but noted on
// reading, a later failure replacing the note.

#include "CodecFixture.h"

using namespace gentest;

namespace {

const char* const Schema =
    "<xsd:simpleType name=\"Color\"><xsd:restriction base=\"xsd:string\">"
    "<xsd:enumeration value=\"red\"/><xsd:enumeration value=\"dark &amp; green\"/></xsd:restriction></xsd:simpleType>"
    // A restriction without facets of its own keeps its base's values.
    "<xsd:simpleType name=\"Shade\"><xsd:restriction base=\"tns:Color\"/></xsd:simpleType>"
    "<xsd:complexType name=\"Holder\"><xsd:sequence>"
    "<xsd:element name=\"content\"/>"
    "<xsd:element name=\"color\" type=\"tns:Color\"/>"
    "<xsd:element name=\"shade\" type=\"tns:Shade\" minOccurs=\"0\"/>"
    "<xsd:element name=\"n\" type=\"xsd:int\" minOccurs=\"0\"/>"
    "</xsd:sequence></xsd:complexType>"
    "<xsd:element name=\"Loose\"/>";

// One case of a round trip: a document decoded, the line the driver prints
// of it (the decoder's result, the members, the note or failure), and,
// where it was read, the line of writing it again (the encoder's result
// with what it wrote, or why it refused).
struct CodecCase {
    const char* xml;
    const char* read;
    const char* written; // null where reading failed
};

// A driver that decodes each case as a demo_<type>_t, prints the members
// as print says (of v, result and error; S(text) shows a NULL text as
// none), writes the value again as element tag and frees it. prelude runs
// first and prints its own line.
struct CodecDriver {
    const char* type;
    const char* tag;
    const char* none;
    const char* print;
    const char* prelude;
};

std::string driverText(const CodecDriver& d, const std::vector<CodecCase>& cases)
{
    const std::string t = d.type;
    std::string list;
    for (const CodecCase& c : cases)
        list += "\t\t" + cLiteral(c.xml) + ",\n";
    return "#include \"demo_api.c\"\n\nstatic const char *S(const char *text)\n{\n\treturn text != NULL ? text : " +
        cLiteral(d.none) +
        ";\n}\n\n"
        "static void run(const char *xml)\n{\n\tstatic char out[8192];\n"
        "\tchar error[DEMO_MAX_DECODE_ERROR_LEN + 1] = \"\", why[DEMO_MAX_DECODE_ERROR_LEN + 1] = \"\";\n"
        "\txmlDocPtr doc = xmlReadMemory(xml, (int)strlen(xml), \"case.xml\", NULL, XML_PARSE_NONET);\n"
        "\tdemo_" + t + "_t v;\n\tmycursor_t cursor;\n\tint result;\n\n\tmemset(&v, 0, sizeof(v));\n"
        "\tdoc->_private = error;\n\tresult = decode_" + t + "_t(doc, xmlDocGetRootElement(doc), &v);\n"
        "\txmlFreeDoc(doc);\n\t" + d.print + "\n\tif(result == 0){\n"
        "\t\tmycursor_init(&cursor, out, sizeof(out));\n\t\tcursor.why = why;\n\t\tcursor.why_size = sizeof(why);\n"
        "\t\tresult = encode_" + t + "_t(&cursor, \"" + d.tag + "\", &v, 0);\n"
        "\t\tprintf(\"  %d %s%s\\n\", result, result == 0 ? out : \"\", why);\n\t}\n\tfree_" + t + "_t(&v);\n}\n\n"
        "int main(void)\n{\n\tstatic const char *cases[] = {\n" + list + "\t};\n\tsize_t c;\n\n\t" + d.prelude +
        "\n\tfor(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++)\n\t\trun(cases[c]);\n"
        "\txmlCleanupParser();\n\treturn 0;\n}\n";
}

class AnyContentAndEnumerationsTest : public GeneratorTest {
protected:
    // The schema's types through the driver: each case's lines, in order,
    // after the prelude's line (when it prints one).
    void expectRoundTrips(const char* schema, const CodecDriver& driver, const char* preludeLine,
                          const std::vector<CodecCase>& cases)
    {
        if (!canBuildPrograms())
            GTEST_SKIP() << "no C compiler";
        view(wsdltest::definitions("<types><xsd:schema targetNamespace=\"urn:t\">" + std::string(schema) +
                                   "</xsd:schema></types>\n"));
        emitHeader("demo");
        std::string expected = preludeLine != nullptr ? preludeLine + std::string("\n") : std::string();
        for (const CodecCase& c : cases) {
            expected += c.read + std::string("\n");
            if (c.written != nullptr)
                expected += c.written + std::string("\n");
        }
        const RunResult run = buildAndRunC(driverText(driver, cases),
                                           {{"demo_api.h", headerText()}, {"demo_api.c", emitSourceWithReaders()}}, true);
        ASSERT_EQ(run.status, 0) << run.messages << run.output;
        EXPECT_EQ(run.output, expected);
    }
};

const CodecDriver HolderDriver = {
    "Holder", "h", "",
    "printf(\"%d content=%s color=%s shade=%s error=%s\\n\", result, S(v.content), S(v.color.Color), "
    "v.shade_present ? S(v.shade.Shade) : \"-\", error);",
    ""};

TEST_F(AnyContentAndEnumerationsTest, MarkupKeptAndEnumerationsChecked)
{
    expectRoundTrips(
        Schema, HolderDriver, nullptr,
        {
            // nested markup, text and references kept as they came
            {"<h><content><a x=\"1\"><b>t</b>tail &amp; more</a>after</content><color>red</color></h>",
             "0 content=<a x=\"1\"><b>t</b>tail &amp; more</a>after color=red shade=- error=",
             "  0 <h><content><a x=\"1\"><b>t</b>tail &amp; more</a>after</content><color>red</color></h>"},
            // a type name's prefix declared outside the content stays declared on it
            {"<h xmlns:t=\"urn:t\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><content>"
             "<v xsi:type=\"t:Thing\"><w xsi:type=\"t:Part\">1</w></v></content><color>dark &amp; green</color></h>",
             "0 content=<v xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:t=\"urn:t\" xsi:type=\"t:Thing\">"
             "<w xsi:type=\"t:Part\">1</w></v> color=dark & green shade=- error=",
             "  0 <h><content><v xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:t=\"urn:t\" "
             "xsi:type=\"t:Thing\"><w xsi:type=\"t:Part\">1</w></v></content><color>dark &amp; green</color></h>"},
            // values the enumeration does not list: taken, noted; written again, refused
            {"<h><content/><color>purple</color></h>",
             "0 content= color=purple shade=- error=demo_Color_t.Color: \"purple\" is none of the values its "
             "enumeration lists (kept)",
             "  -1 color: \"purple\" is none of the values its enumeration lists"},
            {"<h><content/><color>red</color><shade>Red</shade></h>",
             "0 content= color=red shade=Red error=demo_Shade_t.Shade: \"Red\" is none of the values its enumeration "
             "lists (kept)",
             "  -1 shade: \"Red\" is none of the values its enumeration lists"},
            // a failure after a note takes its place
            {"<h><content/><color>purple</color><n>x</n></h>",
             "-1 content= color=purple shade=- error=demo_Holder_t.n: \"x\" (1 bytes) is no xsd:int", nullptr},
        });
}

const CodecDriver OwnTypeDriver = {
    "Holder", "h", "-",
    "printf(\"%d content=%s type=%s ns=%s error=%s\\n\", result, S(v.content), S(v.content_type), "
    "S(v.content_type_ns), error);",
    ""};

// An anyType element's own xsi:type is kept as written with the namespace
// its prefix names there, and written again under a prefix declared beside
// it (the generated code may give the prefix it came with to another
// namespace); a type without a namespace goes as written.
TEST_F(AnyContentAndEnumerationsTest, AnElementsOwnTypeKept)
{
    expectRoundTrips(
        Schema, OwnTypeDriver, nullptr,
        {
            {"<h xmlns:ns1=\"urn:x\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
             "<content xsi:type=\"ns1:Thing\"><a>1</a></content><color>red</color></h>",
             "0 content=<a>1</a> type=ns1:Thing ns=urn:x error=",
             "  0 <h><content xmlns:type-ns=\"urn:x\" xsi:type=\"type-ns:Thing\"><a>1</a></content><color>red</color></h>"},
            {"<h xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><content xsi:type=\"Plain\">x &amp; y</content>"
             "<color>red</color></h>",
             "0 content=x &amp; y type=Plain ns=- error=",
             "  0 <h><content xsi:type=\"Plain\">x &amp; y</content><color>red</color></h>"},
            // a prefix declared nowhere: the name stays as it came
            {"<h xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><content xsi:type=\"u:Thing\"/>"
             "<color>red</color></h>",
             "0 content= type=u:Thing ns=- error=", "  0 <h><content xsi:type=\"u:Thing\"></content><color>red</color></h>"},
            {"<h><content>t</content><color>red</color></h>", "0 content=t type=- ns=- error=",
             "  0 <h><content>t</content><color>red</color></h>"},
        });
}

// Texts are allocated unless fixed arrays are asked for; content of
// anyType, a global element's too, is markup held the same way.
TEST_F(AnyContentAndEnumerationsTest, MembersOfEachTextMode)
{
    const struct {
        int textLength;
        const char* member;
    } cases[] = {
        {0, "\tchar\t*content;"},
        {0, "\tchar\t*content_type;"},
        {0, "\tchar\t*content_type_ns;"},
        {0, "\tchar\t*Loose;"},
        {0, "\tchar\t*Color;"},
        {128, "\tchar\t*content;"},
        {128, "\tchar\t*content_type_ns;"},
        {128, "\tchar\t*Loose;"},
        {128, "\tchar\tColor[DEMO_MAX_COLOR_LEN+1];"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.member);
        project_.textLength = c.textLength;
        const std::string header =
            structs(wsdltest::definitions("<types><xsd:schema targetNamespace=\"urn:t\">" + std::string(Schema) +
                                          "</xsd:schema></types>\n"),
                    "demo");
        EXPECT_NE(header.find(std::string(c.member) + "\r\n"), std::string::npos) << header;
    }
}

// Enumerations of number types (the value a C number, its constants
// numbers) and of attributes (of text and of number types) are checked as
// those of texts: the values listed go both ways, one not listed is
// refused on writing, and taken but noted on reading.
const char* const NumberSchema =
    "<xsd:simpleType name=\"Level\"><xsd:restriction base=\"xsd:int\">"
    "<xsd:enumeration value=\"1\"/><xsd:enumeration value=\"05\"/><xsd:enumeration value=\"-2\"/>"
    "</xsd:restriction></xsd:simpleType>"
    "<xsd:simpleType name=\"Ratio\"><xsd:restriction base=\"xsd:double\">"
    "<xsd:enumeration value=\"0.5\"/><xsd:enumeration value=\"2\"/></xsd:restriction></xsd:simpleType>"
    "<xsd:simpleType name=\"Size\"><xsd:restriction base=\"xsd:string\">"
    "<xsd:enumeration value=\"S\"/><xsd:enumeration value=\"M\"/></xsd:restriction></xsd:simpleType>"
    "<xsd:complexType name=\"Item\"><xsd:sequence>"
    "<xsd:element name=\"level\" type=\"tns:Level\"/>"
    "<xsd:element name=\"ratio\" type=\"tns:Ratio\" minOccurs=\"0\"/>"
    "</xsd:sequence><xsd:attribute name=\"size\" type=\"tns:Size\"/><xsd:attribute name=\"rank\" type=\"tns:Level\"/>"
    "</xsd:complexType>";

const CodecDriver ItemDriver = {
    "Item", "i", "-",
    "printf(\"%d size=%s rank=%s level=%d error=%s\\n\", result, S(v.size), S(v.rank), v.level.Level, error);",
    // the constants of a number type are numbers
    "printf(\"%d %d %d %g %g %s\\n\", DEMO_LEVEL_1, DEMO_LEVEL_05, DEMO_LEVEL__2, DEMO_RATIO_0_5, DEMO_RATIO_2, "
    "DEMO_SIZE_M);"};

TEST_F(AnyContentAndEnumerationsTest, NumberAndAttributeEnumerationsChecked)
{
    expectRoundTrips(
        NumberSchema, ItemDriver, "1 5 -2 0.5 2 M",
        {
            {"<i size=\"M\" rank=\"-2\"><level>5</level><ratio>0.5</ratio></i>", "0 size=M rank=-2 level=5 error=",
             "  0 <i size=\"M\" rank=\"-2\"><level>5</level><ratio>0.5</ratio></i>"},
            {"<i size=\"XL\"><level>1</level></i>",
             "0 size=XL rank=- level=1 error=demo_Item_t.size: \"XL\" is none of the values its enumeration lists (kept)",
             "  -1 size: \"XL\" is none of the values its enumeration lists"},
            {"<i rank=\"3\"><level>1</level></i>",
             "0 size=- rank=3 level=1 error=demo_Item_t.rank: \"3\" is none of the values its enumeration lists (kept)",
             "  -1 rank: \"3\" is none of the values its enumeration lists"},
            {"<i><level>7</level></i>",
             "0 size=- rank=- level=7 error=demo_Level_t.Level: \"7\" is none of the values its enumeration lists (kept)",
             "  -1 level: \"7\" is none of the values its enumeration lists"},
            {"<i><level>-2</level><ratio>0.25</ratio></i>",
             "0 size=- rank=- level=-2 error=demo_Ratio_t.Ratio: \"0.25\" is none of the values its enumeration lists "
             "(kept)",
             "  -1 ratio: \"0.25\" is none of the values its enumeration lists"},
            // a note does not hide a failure after it
            {"<i><level>7</level><ratio>x</ratio></i>",
             "-1 size=- rank=- level=7 error=demo_Ratio_t.Ratio: \"x\" (1 bytes) is no xsd:double", nullptr},
        });
}

// Numbers held as text (an integer type without a C number of its own, an
// attribute of a number type) are listed as the numbers they write: "01"
// is "1", "0.50" is "0.5", "5E-1" is 0.5 of a double; a text that writes
// another number, or no number of the type, is not listed.
const char* const HeldNumberSchema =
    "<xsd:simpleType name=\"Count\"><xsd:restriction base=\"xsd:nonNegativeInteger\">"
    "<xsd:enumeration value=\"1\"/><xsd:enumeration value=\"10\"/></xsd:restriction></xsd:simpleType>"
    "<xsd:simpleType name=\"Portion\"><xsd:restriction base=\"xsd:decimal\">"
    "<xsd:enumeration value=\"0.5\"/><xsd:enumeration value=\"1.25\"/></xsd:restriction></xsd:simpleType>"
    "<xsd:simpleType name=\"Level\"><xsd:restriction base=\"xsd:int\">"
    "<xsd:enumeration value=\"1\"/><xsd:enumeration value=\"05\"/><xsd:enumeration value=\"-2\"/>"
    "</xsd:restriction></xsd:simpleType>"
    "<xsd:simpleType name=\"Ratio\"><xsd:restriction base=\"xsd:double\">"
    "<xsd:enumeration value=\"0.5\"/><xsd:enumeration value=\"2\"/></xsd:restriction></xsd:simpleType>"
    "<xsd:complexType name=\"Tally\"><xsd:sequence><xsd:element name=\"count\" type=\"tns:Count\"/></xsd:sequence>"
    "<xsd:attribute name=\"rank\" type=\"tns:Level\"/><xsd:attribute name=\"part\" type=\"tns:Portion\"/>"
    "<xsd:attribute name=\"scale\" type=\"tns:Ratio\"/></xsd:complexType>";

const CodecDriver TallyDriver = {
    "Tally", "t", "-",
    "printf(\"%d count=%s rank=%s part=%s scale=%s error=%s\\n\", result, S(v.count.Count), S(v.rank), S(v.part), "
    "S(v.scale), error);",
    ""};

TEST_F(AnyContentAndEnumerationsTest, NumbersHeldAsTextListedAsNumbers)
{
    expectRoundTrips(
        HeldNumberSchema, TallyDriver, nullptr,
        {
            {"<t rank=\"5\" part=\"0.50\" scale=\"5E-1\"><count>01</count></t>",
             "0 count=01 rank=5 part=0.50 scale=5E-1 error=",
             "  0 <t rank=\"5\" part=\"0.50\" scale=\"5E-1\"><count>01</count></t>"},
            {"<t rank=\"+1\" part=\"1.2500\" scale=\"2.0\"><count>010</count></t>",
             "0 count=010 rank=+1 part=1.2500 scale=2.0 error=",
             "  0 <t rank=\"+1\" part=\"1.2500\" scale=\"2.0\"><count>010</count></t>"},
            {"<t rank=\"-02\" part=\".5\"><count>+10</count></t>", "0 count=+10 rank=-02 part=.5 scale=- error=",
             "  0 <t rank=\"-02\" part=\".5\"><count>+10</count></t>"},
            {"<t><count>2</count></t>",
             "0 count=2 rank=- part=- scale=- error=demo_Count_t.Count: \"2\" is none of the values its enumeration "
             "lists (kept)",
             "  -1 count: \"2\" is none of the values its enumeration lists"},
            // an integer's list takes no fraction, even one of zeros
            {"<t rank=\"5.0\"><count>1</count></t>",
             "0 count=1 rank=5.0 part=- scale=- error=demo_Tally_t.rank: \"5.0\" is none of the values its enumeration "
             "lists (kept)",
             "  -1 rank: \"5.0\" is none of the values its enumeration lists"},
            {"<t part=\"1.3\"><count>10</count></t>",
             "0 count=10 rank=- part=1.3 scale=- error=demo_Tally_t.part: \"1.3\" is none of the values its "
             "enumeration lists (kept)",
             "  -1 part: \"1.3\" is none of the values its enumeration lists"},
            {"<t scale=\"0x1p-1\"><count>1</count></t>",
             "0 count=1 rank=- part=- scale=0x1p-1 error=demo_Tally_t.scale: \"0x1p-1\" is none of the values its "
             "enumeration lists (kept)",
             "  -1 scale: \"0x1p-1\" is none of the values its enumeration lists"},
        });
}

} // namespace
