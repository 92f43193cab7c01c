// The demo's sample values within the facets their types declare: each
// type's sample, filled by the demo's own sample function and written by
// the generated encoder, is checked by an XML Schema validator against the
// very schema it came from; and the number, pattern and length samples
// the facets give on their own.

#include "GeneratorTestSupport.h"
#include "generator/sample/BoundedSamples.h"
#include "generator/emit/DemoSamples.h"

using namespace gentest;

namespace {

struct SampleRow {
    const char* type;
    const char* declaration; // inside xsd:schema, prefix tns for urn:t
    const char* sent;        // what the encoder writes of the sample, as element v:e (v:e_<type> in the run)
};

const SampleRow Rows[] = {
    {"Counts",
     "<xsd:complexType name=\"Counts\"><xsd:sequence>"
     "<xsd:element name=\"nn\" type=\"xsd:nonNegativeInteger\"/><xsd:element name=\"pos\" type=\"xsd:positiveInteger\"/>"
     "<xsd:element name=\"neg\" type=\"xsd:negativeInteger\"/><xsd:element name=\"npos\" type=\"xsd:nonPositiveInteger\"/>"
     "<xsd:element name=\"ub\" type=\"xsd:unsignedByte\"/><xsd:element name=\"big\" type=\"xsd:integer\"/>"
     "</xsd:sequence><xsd:attribute name=\"page\" type=\"xsd:nonNegativeInteger\"/>"
     "<xsd:attribute name=\"grade\" type=\"tns:Grade\"/></xsd:complexType>",
     "<v:e page=\"1\" grade=\"10\"><nn>1</nn><pos>1</pos><neg>-1</neg><npos>0</npos><ub>1</ub><big>1</big></v:e>"},
    {"Grade",
     "<xsd:simpleType name=\"Grade\"><xsd:restriction base=\"xsd:int\"><xsd:minInclusive value=\"10\"/>"
     "<xsd:maxInclusive value=\"20\"/></xsd:restriction></xsd:simpleType>",
     "<v:e>10</v:e>"},
    {"Hour",
     "<xsd:simpleType name=\"Hour\"><xsd:restriction base=\"xsd:short\"><xsd:minExclusive value=\"12\"/>"
     "<xsd:maxExclusive value=\"15\"/></xsd:restriction></xsd:simpleType>",
     "<v:e>13</v:e>"},
    {"Share",
     "<xsd:simpleType name=\"Share\"><xsd:restriction base=\"xsd:decimal\"><xsd:minExclusive value=\"0\"/>"
     "<xsd:maxExclusive value=\"1\"/><xsd:fractionDigits value=\"2\"/></xsd:restriction></xsd:simpleType>",
     "<v:e>0.01</v:e>"},
    {"Price",
     "<xsd:simpleType name=\"Price\"><xsd:restriction base=\"xsd:decimal\"><xsd:totalDigits value=\"4\"/>"
     "<xsd:fractionDigits value=\"0\"/><xsd:minInclusive value=\"1000\"/></xsd:restriction></xsd:simpleType>",
     "<v:e>1000</v:e>"},
    {"Frost",
     "<xsd:simpleType name=\"Frost\"><xsd:restriction base=\"xsd:double\"><xsd:maxInclusive value=\"-40\"/>"
     "</xsd:restriction></xsd:simpleType>",
     "<v:e>-40</v:e>"},
    // A restriction of a restriction keeps its base's bounds beside its own.
    {"Level",
     "<xsd:simpleType name=\"Level\"><xsd:restriction base=\"tns:Small\"><xsd:minInclusive value=\"5\"/>"
     "</xsd:restriction></xsd:simpleType>"
     "<xsd:simpleType name=\"Small\"><xsd:restriction base=\"xsd:unsignedByte\"><xsd:maxInclusive value=\"9\"/>"
     "</xsd:restriction></xsd:simpleType>",
     "<v:e>5</v:e>"},
    {"Code",
     "<xsd:simpleType name=\"Code\"><xsd:restriction base=\"xsd:string\"><xsd:length value=\"8\"/>"
     "</xsd:restriction></xsd:simpleType>",
     "<v:e>Code1xxx</v:e>"},
    {"Tiny",
     "<xsd:simpleType name=\"Tiny\"><xsd:restriction base=\"xsd:token\"><xsd:maxLength value=\"3\"/>"
     "</xsd:restriction></xsd:simpleType>",
     "<v:e>Tin</v:e>"},
    {"Wordy",
     "<xsd:simpleType name=\"Wordy\"><xsd:restriction base=\"xsd:string\"><xsd:minLength value=\"12\"/>"
     "</xsd:restriction></xsd:simpleType>",
     "<v:e>Wordy1xxxxxx</v:e>"},
    {"Zip",
     "<xsd:simpleType name=\"Zip\"><xsd:restriction base=\"xsd:string\"><xsd:pattern value=\"[0-9]{5}(-[0-9]{4})?\"/>"
     "</xsd:restriction></xsd:simpleType>",
     "<v:e>00000</v:e>"},
    {"Phone",
     "<xsd:simpleType name=\"Phone\"><xsd:restriction base=\"xsd:string\"><xsd:pattern value=\"\\+\\d{1,3} (\\d|x)+\"/>"
     "</xsd:restriction></xsd:simpleType>",
     "<v:e>+1 1</v:e>"},
    {"Color",
     "<xsd:simpleType name=\"Color\"><xsd:restriction base=\"xsd:string\"><xsd:enumeration value=\"red\"/>"
     "<xsd:enumeration value=\"blue\"/></xsd:restriction></xsd:simpleType>",
     "<v:e>red</v:e>"},
};

// Stand-ins for the demo's helpers that the sample functions call.
const char* const Helpers = R"(
#include <libxml/xmlschemas.h>

#define DEMO_SAMPLE_BUDGET	50
static int demo_items(const int *n, int optional) { (void)n; return optional ? 1 : 2; }
static void demo_text(char *to, size_t size, const char *text) { snprintf(to, size, "%s", text); }
static void demo_numbered(char *to, size_t size, const char *name, int n) { snprintf(to, size, "%s%d", name, n); }
static char *demo_numbered_text(const char *name, int n, int most)
{
	char *text = (char *)malloc(strlen(name) + 16);
	if(text != NULL){
		sprintf(text, "%s%d", name, n);
		if(most >= 0 && strlen(text) > (size_t)most)
			text[most] = '\0';
	}
	return text;
}

static xmlSchemaPtr schema;

/* the element written as name, valid or not by the schema */
static void check(int result, const char *name, const char *written)
{
	static char doc[4096];
	xmlDocPtr parsed;
	xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(schema);
	int valid;

	snprintf(doc, sizeof(doc), "<%s xmlns:v=\"urn:t\"%s", name, written + 1 + strlen(name));
	parsed = xmlReadMemory(doc, (int)strlen(doc), "sample.xml", NULL, XML_PARSE_NONET);
	valid = parsed != NULL && xmlSchemaValidateDoc(validator, parsed) == 0;
	printf("%d %s %s\n", result, valid ? "valid" : "INVALID", written);
	xmlFreeDoc(parsed);
	xmlSchemaFreeValidCtxt(validator);
}
)";

class BoundedSamplesTest : public GeneratorTest {};

TEST_F(BoundedSamplesTest, DemoSamplesPassTheSchemaTheyCameFrom)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    std::string declarations;
    for (const SampleRow& row : Rows)
        declarations += row.declaration;
    view(wsdltest::definitions("<types><xsd:schema targetNamespace=\"urn:t\">" + declarations + "</xsd:schema></types>\n"));
    emitHeader("demo", programPlatform());
    std::vector<const CStructDef*> structs;
    std::string checks = "\tschema = xmlSchemaParse(reader = xmlSchemaNewParserCtxt(\"schema.xsd\"));\n"
                         "\txmlSchemaFreeParserCtxt(reader);\n\tif(schema == NULL)\n\t\treturn 1;\n";
    std::string expected;
    std::string elements; // of the validator's schema: one of each type
    for (const SampleRow& row : Rows) {
        const CViewType* type = view_->findType("urn:t", row.type);
        ASSERT_NE(type, nullptr) << row.type;
        const CStructDef* def = context_->layout().structOf(type);
        structs.push_back(def);
        const std::string t = row.type;
        // Only values that hold allocations have a free function.
        bool allocates = false;
        for (const CStructMember& member : def->members)
            allocates = allocates || member.pointer || member.isArray();
        checks += "\t{\n\t\tdemo_" + t + "_t v;\n\t\tint n = 0, result;\n\t\tmemset(&v, 0, sizeof(v));\n\t\tdemo_sample_" +
            t + "(&v, 0, &n);\n\t\tmycursor_init(&cursor, out, sizeof(out));\n\t\tresult = encode_" + t +
            "_t(&cursor, \"v:e_" + t + "\", &v, 0);\n\t\tcheck(result, \"v:e_" + t + "\", out);\n" +
            (allocates ? "\t\tfree_" + t + "_t(&v);\n" : "") + "\t}\n";
        elements += "<xsd:element name=\"e_" + t + "\" type=\"tns:" + t + "\"/>";
        std::string sent = row.sent;
        for (std::string::size_type at = sent.find("v:e"); at != std::string::npos; at = sent.find("v:e", at + 3))
            sent.replace(at, 3, "v:e_" + t);
        expected += "0 valid " + sent + "\n";
    }
    // The validator tells: a value below the range is none of the type's.
    checks += "\tcheck(0, \"v:e_Grade\", \"<v:e_Grade>9</v:e_Grade>\");\n";
    expected += "0 INVALID <v:e_Grade>9</v:e_Grade>\n";
    CTextBuffer samples;
    writeDemoSamples(*context_, structs, {}, samples);
    const std::string driver = "#include \"demo_api.c\"\n" + std::string(Helpers) + samples.text() +
        "int main(void)\n{\n\tstatic char out[4096];\n\tmycursor_t cursor;\n\txmlSchemaParserCtxtPtr reader;\n\n" + checks +
        "\txmlSchemaFree(schema);\n\txmlCleanupParser();\n\treturn 0;\n}\n";
    const std::string schema = "<xsd:schema xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:tns=\"urn:t\" "
                               "targetNamespace=\"urn:t\">" +
        declarations + elements + "</xsd:schema>";
    const RunResult run = buildAndRunC(
        driver, {{"demo_api.h", headerText()}, {"demo_api.c", emitSourceWithReaders()}, {"schema.xsd", schema}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// A message part typed with a built-in type gets its type's sample as an
// element of that type does: the integer types without a number id of
// their own are held as text, and their sample is still a number they admit.
TEST_F(BoundedSamplesTest, PartsOfBuiltinTypesHeldAsTextGetTheirTypesSample)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const struct {
        const char* type;
        const char* sample;
    } parts[] = {
        {"nonNegativeInteger", "1"}, {"positiveInteger", "1"}, {"negativeInteger", "-1"},
        {"nonPositiveInteger", "0"}, {"unsignedByte", "1"},    {"integer", "1"},
        {"date", "2001-02-03"},       {"string", "p771"}, // a plain text stays its name (p7) and a number
    };
    std::string message = "<message name=\"AddIn\">";
    std::string prints;
    std::string expected;
    for (std::size_t i = 0; i < std::size(parts); ++i) {
        const std::string name = "p" + std::to_string(i);
        message += "<part name=\"" + name + "\" type=\"xsd:" + parts[i].type + "\"/>";
        prints += "\tprintf(\"%s\\n\", v." + name + ");\n\tfree(v." + name + ");\n";
        expected += parts[i].sample + std::string("\n");
    }
    message += "</message><message name=\"AddOut\"/>\n";
    view(wsdltest::definitions(message + wsdltest::calculatorPortType() + wsdltest::calculatorBinding("rpc", "literal")));
    emitHeader("demo", programPlatform());
    const CStructDef* in = context_->layout().messageStructs().front();
    CTextBuffer samples;
    writeDemoSamples(*context_, {in}, {}, samples);
    const std::string driver = "#include \"demo_api.c\"\n" + std::string(Helpers) + samples.text() +
        "int main(void)\n{\n\tdemo_" + std::string(in->name) + "_t v;\n\tint n = 70;\n\n\tmemset(&v, 0, sizeof(v));\n\tdemo_sample_" +
        std::string(sampledStruct(*in).name) + "(&v, 0, &n);\n" + prints + "\treturn 0;\n}\n";
    const RunResult run = buildAndRunC(driver, {{"demo_api.h", headerText()}, {"demo_api.c", emitSourceWithReaders()}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// Samples of the facets alone: the bounds as written are compared exactly,
// digits count, and what no obvious value satisfies gives none.
TEST(BoundedSampleValues, WithinTheirFacets)
{
    const auto facets = [](CValueKind kind, const char* minInc, const char* maxInc, const char* minEx,
                           const char* maxEx, int total, int fraction) {
        CValueFacets f;
        f.kind = kind;
        f.minInclusive = minInc;
        f.maxInclusive = maxInc;
        f.minExclusive = minEx;
        f.maxExclusive = maxEx;
        f.totalDigits = total;
        f.fractionDigits = fraction;
        return f;
    };
    const struct {
        CValueFacets facets;
        const char* sample;
    } rows[] = {
        {facets(CValueKind::Integer, "", "", "", "", -1, -1), "1"},
        {facets(CValueKind::Integer, "18446744073709551614", "18446744073709551615", "", "", -1, -1),
         "18446744073709551614"},
        {facets(CValueKind::Integer, "", "-9223372036854775808", "", "", -1, -1), "-9223372036854775808"},
        {facets(CValueKind::Integer, "", "", "-5", "-3", -1, -1), "-4"},
        {facets(CValueKind::Integer, "", "", "2.5", "3.5", -1, -1), "3"},
        {facets(CValueKind::Integer, "", "", "3", "4", -1, -1), ""}, // nothing between
        {facets(CValueKind::Integer, "100", "", "", "", 2, -1), ""}, // three digits at least, two allowed
        {facets(CValueKind::Decimal, "", "", "", "", -1, 0), "1"},
        {facets(CValueKind::Decimal, "0.001", "0.002", "", "", -1, 3), "0.001"},
        {facets(CValueKind::Decimal, "", "", "0", "0.1", -1, 1), ""},
        {facets(CValueKind::Decimal, "", "", "-1", "-0.5", -1, -1), "-0.99"},
        {facets(CValueKind::Decimal, "", "", "2", "2.0002", -1, 4), "2.0001"},
        {facets(CValueKind::Decimal, "", "", "0", "1", -1, 6), "0.000001"},
        {facets(CValueKind::Decimal, "", "", "0", "1", -1, 9), "0.000001"}, // steps no finer than a millionth
        {facets(CValueKind::Floating, "1e3", "", "", "", -1, -1), "1e3"},
        {facets(CValueKind::Text, "", "", "", "", -1, -1), ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.facets.minInclusive) + "|" + row.facets.maxInclusive + "|" +
                     row.facets.minExclusive + "|" + row.facets.maxExclusive);
        const std::string sample = boundedSample(row.facets, "name");
        EXPECT_EQ(sample, row.sample);
        if (!sample.empty()) {
            EXPECT_TRUE(numberFits(row.facets, sample));
        }
    }
}

TEST(BoundedSampleValues, PatternsAndLengths)
{
    const std::string deep = std::string(200000, '(') + "a" + std::string(200000, ')');
    const struct {
        std::string pattern;
        int minLength;
        int maxLength;
        std::string sample;
    } rows[] = {
        {"[A-Z]{2}\\d{3}", -1, -1, "AA111"},
        {"(ab|cd)+x?", -1, -1, "ab"},
        {"\\.[a-z]*", -1, -1, "."},
        {"[^0-9]+", -1, -1, ""},  // a negated class: none, the usual sample stays
        {"\\p{Lu}{2}", -1, -1, ""}, // a category: likewise
        {"\\d{2}", 3, -1, "name1"}, // the pattern's sample is too short: the lengths decide
        {"", 3, 3, "nam"},
        {"", 8, -1, "name1xxx"},
        {"[\xC3\xA4-\xC3\xBC]\xC3\xA9{2}", -1, -1, "\xC3\xA4\xC3\xA9\xC3\xA9"}, // whole UTF-8 characters
        {"", 4095, -1, "name1" + std::string(4090, 'x')}, // the longest a C literal may be
        {"", 100000000, -1, ""},      // a demo source of a hundred megabytes: none
        {"a{1000}b{1000}c{1000}d{1000}e{96}", -1, -1, ""},
        {"((((a))))", -1, -1, "a"},
        {deep, -1, -1, ""},           // nested past any stack: none, no crash
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pattern.substr(0, 40));
        CValueFacets facets;
        facets.pattern = row.pattern;
        facets.minLength = row.minLength;
        facets.maxLength = row.maxLength;
        const std::string sample = boundedSample(facets, "name");
        EXPECT_EQ(sample, row.sample);
    }
}

} // namespace
