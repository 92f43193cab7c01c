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

} // namespace
