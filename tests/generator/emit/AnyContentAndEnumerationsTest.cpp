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

const char* const Driver = R"(
#include "demo_api.c"

static const char *S(const char *text)
{
	return text != NULL ? text : "";
}

/* decodes xml, prints the members and the note or failure; then writes the value again */
static void run(const char *xml)
{
	static char out[8192];
	char error[DEMO_MAX_DECODE_ERROR_LEN + 1] = "", why[DEMO_MAX_DECODE_ERROR_LEN + 1] = "";
	xmlDocPtr doc = xmlReadMemory(xml, (int)strlen(xml), "case.xml", NULL, XML_PARSE_NONET);
	demo_Holder_t v;
	mycursor_t cursor;
	int result;

	memset(&v, 0, sizeof(v));
	doc->_private = error;
	result = decode_Holder_t(doc, xmlDocGetRootElement(doc), &v);
	xmlFreeDoc(doc);
	printf("%d content=%s color=%s shade=%s error=%s\n", result, S(v.content), S(v.color.Color),
		v.shade_present ? S(v.shade.Shade) : "-", error);
	if(result == 0){
		mycursor_init(&cursor, out, sizeof(out));
		cursor.why = why;
		cursor.why_size = sizeof(why);
		result = encode_Holder_t(&cursor, "h", &v, 0);
		printf("  %d %s%s\n", result, result == 0 ? out : "", why);
	}
	free_Holder_t(&v);
}

int main(void)
{
	static const char *cases[] = {
		/* nested markup, text and references kept as they came */
		"<h><content><a x=\"1\"><b>t</b>tail &amp; more</a>after</content><color>red</color></h>",
		/* a type name's prefix declared outside the content stays declared on it */
		"<h xmlns:t=\"urn:t\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><content>"
			"<v xsi:type=\"t:Thing\"><w xsi:type=\"t:Part\">1</w></v></content><color>dark &amp; green</color></h>",
		/* values the enumeration does not list: taken, noted; written again, refused */
		"<h><content/><color>purple</color></h>",
		"<h><content/><color>red</color><shade>Red</shade></h>",
		/* a failure after a note takes its place */
		"<h><content/><color>purple</color><n>x</n></h>",
	};
	size_t c;

	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++)
		run(cases[c]);
	xmlCleanupParser();
	return 0;
}
)";

const char* const Expected[] = {
    "0 content=<a x=\"1\"><b>t</b>tail &amp; more</a>after color=red shade=- error=",
    "  0 <h><content><a x=\"1\"><b>t</b>tail &amp; more</a>after</content><color>red</color></h>",
    "0 content=<v xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:t=\"urn:t\" xsi:type=\"t:Thing\">"
    "<w xsi:type=\"t:Part\">1</w></v> color=dark & green shade=- error=",
    "  0 <h><content><v xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:t=\"urn:t\" xsi:type=\"t:Thing\">"
    "<w xsi:type=\"t:Part\">1</w></v></content><color>dark &amp; green</color></h>",
    "0 content= color=purple shade=- error=demo_Color_t.Color: \"purple\" is none of the values its enumeration lists (kept)",
    "  -1 color: \"purple\" is none of the values its enumeration lists",
    "0 content= color=red shade=Red error=demo_Shade_t.Shade: \"Red\" is none of the values its enumeration lists (kept)",
    "  -1 shade: \"Red\" is none of the values its enumeration lists",
    "-1 content= color=purple shade=- error=demo_Holder_t.n: \"x\" (1 bytes) is no xsd:int",
};

class AnyContentAndEnumerationsTest : public GeneratorTest {};

TEST_F(AnyContentAndEnumerationsTest, MarkupKeptAndEnumerationsChecked)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    view(wsdltest::definitions("<types><xsd:schema targetNamespace=\"urn:t\">" + std::string(Schema) +
                               "</xsd:schema></types>\n"));
    emitHeader("demo");
    const RunResult run = buildAndRunC(Driver, {{"demo_api.h", headerText()}, {"demo_api.c", emitSourceWithReaders()}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, joinedLines(Expected));
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
        {0, "\tchar\t*Loose;"},
        {0, "\tchar\t*Color;"},
        {128, "\tchar\t*content;"},
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

const char* const NumberDriver = R"(
#include "demo_api.c"

static const char *S(const char *text)
{
	return text != NULL ? text : "-";
}

static void run(const char *xml)
{
	static char out[8192];
	char error[DEMO_MAX_DECODE_ERROR_LEN + 1] = "", why[DEMO_MAX_DECODE_ERROR_LEN + 1] = "";
	xmlDocPtr doc = xmlReadMemory(xml, (int)strlen(xml), "case.xml", NULL, XML_PARSE_NONET);
	demo_Item_t v;
	mycursor_t cursor;
	int result;

	memset(&v, 0, sizeof(v));
	doc->_private = error;
	result = decode_Item_t(doc, xmlDocGetRootElement(doc), &v);
	xmlFreeDoc(doc);
	printf("%d size=%s rank=%s level=%d error=%s\n", result, S(v.size), S(v.rank), v.level.Level, error);
	if(result == 0){
		mycursor_init(&cursor, out, sizeof(out));
		cursor.why = why;
		cursor.why_size = sizeof(why);
		result = encode_Item_t(&cursor, "i", &v, 0);
		printf("  %d %s%s\n", result, result == 0 ? out : "", why);
	}
	free_Item_t(&v);
}

int main(void)
{
	static const char *cases[] = {
		"<i size=\"M\" rank=\"-2\"><level>5</level><ratio>0.5</ratio></i>",
		"<i size=\"XL\"><level>1</level></i>",
		"<i rank=\"3\"><level>1</level></i>",
		"<i><level>7</level></i>",
		"<i><level>-2</level><ratio>0.25</ratio></i>",
		/* a note does not hide a failure after it */
		"<i><level>7</level><ratio>x</ratio></i>",
	};
	size_t c;

	/* the constants of a number type are numbers */
	printf("%d %d %d %g %g %s\n", DEMO_LEVEL_1, DEMO_LEVEL_05, DEMO_LEVEL__2, DEMO_RATIO_0_5, DEMO_RATIO_2, DEMO_SIZE_M);
	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++)
		run(cases[c]);
	xmlCleanupParser();
	return 0;
}
)";

const char* const NumberExpected[] = {
    "1 5 -2 0.5 2 M",
    "0 size=M rank=-2 level=5 error=",
    "  0 <i size=\"M\" rank=\"-2\"><level>5</level><ratio>0.5</ratio></i>",
    "0 size=XL rank=- level=1 error=demo_Item_t.size: \"XL\" is none of the values its enumeration lists (kept)",
    "  -1 size: \"XL\" is none of the values its enumeration lists",
    "0 size=- rank=3 level=1 error=demo_Item_t.rank: \"3\" is none of the values its enumeration lists (kept)",
    "  -1 rank: \"3\" is none of the values its enumeration lists",
    "0 size=- rank=- level=7 error=demo_Level_t.Level: \"7\" is none of the values its enumeration lists (kept)",
    "  -1 level: \"7\" is none of the values its enumeration lists",
    "0 size=- rank=- level=-2 error=demo_Ratio_t.Ratio: \"0.25\" is none of the values its enumeration lists (kept)",
    "  -1 ratio: \"0.25\" is none of the values its enumeration lists",
    "-1 size=- rank=- level=7 error=demo_Ratio_t.Ratio: \"x\" (1 bytes) is no xsd:double",
};

TEST_F(AnyContentAndEnumerationsTest, NumberAndAttributeEnumerationsChecked)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    view(wsdltest::definitions("<types><xsd:schema targetNamespace=\"urn:t\">" + std::string(NumberSchema) +
                               "</xsd:schema></types>\n"));
    emitHeader("demo");
    const RunResult run =
        buildAndRunC(NumberDriver, {{"demo_api.h", headerText()}, {"demo_api.c", emitSourceWithReaders()}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, joinedLines(NumberExpected));
}

} // namespace
