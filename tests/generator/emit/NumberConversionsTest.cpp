// The number conversions of the generated decoders and encoders, compiled
// and run: each schema number type reads its whole range and nothing
// beyond it, signs where XML Schema allows them, XML Schema's INF, -INF and
// NaN, and is written back so that a peer reads the same value (64-bit
// integers on every platform); integer and decimal are held as their text,
// every digit kept, and only their lexical forms are read.

#include "GeneratorTestSupport.h"
#include "CodecFixture.h"
#include "support/ScopedWorkingFolder.h"

#include <cstdlib>

using namespace gentest;

namespace {

const char* const Schema =
    "<xsd:complexType name=\"Numbers\"><xsd:sequence>"
    "<xsd:element name=\"b\" type=\"xsd:byte\" minOccurs=\"0\"/><xsd:element name=\"l\" type=\"xsd:long\" minOccurs=\"0\"/>"
    "<xsd:element name=\"ul\" type=\"xsd:unsignedLong\" minOccurs=\"0\"/><xsd:element name=\"n\" type=\"xsd:integer\" minOccurs=\"0\"/>"
    "<xsd:element name=\"dec\" type=\"xsd:decimal\" minOccurs=\"0\"/><xsd:element name=\"f\" type=\"xsd:float\" minOccurs=\"0\"/>"
    "<xsd:element name=\"d\" type=\"xsd:double\" minOccurs=\"0\"/>"
    "</xsd:sequence></xsd:complexType>";

struct CCase {
    const char* element; // the element's name and text
    const char* text;
    const char* read;    // the member printed after decoding, or "-1"
};

// One element per case (each may stand out); every other member stays 0.
const CCase Cases[] = {
    {"b", "-5", "b=-5"},
    {"b", "-128", "b=-128"},
    {"b", "127", "b=127"},
    {"b", "128", "-1"},
    {"b", "-129", "-1"},
    {"l", "3000000000", "l=3000000000"},
    {"l", "-9223372036854775808", "l=-9223372036854775808"},
    {"l", "9223372036854775808", "-1"},
    {"ul", "18446744073709551615", "ul=18446744073709551615"},
    {"ul", "-1", "-1"},
    {"n", "-3000000000", "n=-3000000000"},
    // A sign where XML Schema allows one: any on a signed type, "+" or a zero's "-" on an unsigned one.
    {"b", "+5", "b=5"},
    {"l", " +0042 ", "l=42"},
    {"ul", "+7", "ul=7"},
    {"ul", "-0", "ul=0"},
    {"ul", "+-1", "-1"},
    {"ul", "--0", "-1"},
    {"b", "5.0", "-1"},
    // integer and decimal keep every digit, as they came.
    {"n", "+5", "n=+5"},
    {"n", "123456789012345678901234567890123456789", "n=123456789012345678901234567890123456789"},
    {"n", "1.0", "-1"},
    {"n", "abc", "-1"},
    {"n", "", "-1"},
    {"n", "1e3", "-1"},
    {"dec", "12345.67", "dec=12345.67"},
    {"dec", "123456789012345678", "dec=123456789012345678"},
    {"dec", "-0.000000000000000000000000000001", "dec=-0.000000000000000000000000000001"},
    {"dec", "1234567890123456789012345678901234567890.5", "dec=1234567890123456789012345678901234567890.5"},
    {"dec", ".5", "dec=.5"},
    {"dec", "+5.", "dec=+5."},
    {"dec", ".", "-1"},
    {"dec", "1.2.3", "-1"},
    {"dec", "1e5", "-1"},
    {"dec", "NaN", "-1"},
    {"dec", "INF", "-1"},
    {"dec", "abc", "-1"},
    {"dec", "", "-1"},
    {"f", "-2.5e3", "f=-2500"},
    {"f", "1e39", "-1"},
    {"f", "-1e39", "-1"},
    {"f", "INF", "f=inf"},
    {"f", "-INF", "f=-inf"},
    {"d", " NaN ", "d=nan"},
    {"d", "-INF", "d=-inf"},
    {"d", "1e309", "-1"},
    {"d", "inf", "-1"},
    {"d", "Infinity", "-1"},
    {"d", "nan", "-1"},
    {"d", "0x10", "-1"},
    {"d", "", "-1"},
    {"l", "", "-1"},
    {"b", " ", "-1"},
    {"l", "12x", "-1"},
};

const char* const Driver = R"(
/* the C library's own spelling of infinities and NaN differs between platforms */
static const char *number(double x, const char *format, char *text)
{
	if(x != x)
		return "nan";
	if(x - x != 0)
		return x > 0 ? "inf" : "-inf";
	snprintf(text, 64, format, x);
	return text;
}

static void show(const demo_Numbers_t *v)
{
	char	f[64], d[64];

	printf("b=%d l=%lld ul=%llu n=%s dec=%s f=%s d=%s\n", v->b, v->l, v->ul, v->n, v->dec,
		number(v->f, "%g", f), number(v->d, "%g", d));
}

static int decode_text(const char *xml, demo_Numbers_t *v)
{
	xmlDocPtr doc = xmlReadMemory(xml, (int)strlen(xml), "case.xml", NULL, XML_PARSE_NONET);
	int result;

	if(doc == NULL)
		return 99;
	memset(v, 0, sizeof(*v));
	result = decode_Numbers_t(doc, xmlDocGetRootElement(doc), v);
	xmlFreeDoc(doc);
	return result;
}

int main(void)
{
	static char body[4096];
	mycursor_t cursor;
	demo_Numbers_t v, w;
	size_t c;

	/* written as the peer must read it, and read back */
	memset(&v, 0, sizeof(v));
	v.b = -5; v.l = 3000000000LL; v.ul = 18446744073709551615ULL; strcpy(v.n, "-9000000000");
	strcpy(v.dec, "12345.67"); v.f = 1.5f; v.d = 0.1;
	v.b_present = v.l_present = v.ul_present = v.n_present = v.dec_present = v.f_present = v.d_present = 1;
	mycursor_init(&cursor, body, sizeof(body));
	printf("encode %d %s\n", encode_Numbers_t(&cursor, "all", &v, 0), body);
	printf("decode %d ", decode_text(body, &w));
	show(&w);
	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++){
		int result = decode_text(cases[c], &w);
		if(result != 0)
			printf("%d\n", result);
		else
			show(&w);
	}
	xmlCleanupParser();
	return 0;
}
)";

class NumberConversionsTest : public FixedTextsTest {
protected:
    // The driver's C after the generated source of the numbers schema, built and run.
    RunResult runNumbersDriver(const std::string& driver)
    {
        view(wsdltest::definitions("<types><xsd:schema targetNamespace=\"urn:t\">" + std::string(Schema) +
                                   "</xsd:schema></types>\n"));
        emitHeader("demo");
        return buildAndRunC("#include \"demo_api.c\"\n",
                            {{"demo_api.h", headerText()}, {"demo_api.c", emitSourceWithReaders() + driver}}, true);
    }
};

TEST_F(NumberConversionsTest, EachTypeReadsItsRangeAndWritesWhatAPeerReads)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    view(wsdltest::definitions("<types><xsd:schema targetNamespace=\"urn:t\">" + std::string(Schema) +
                               "</xsd:schema></types>\n"));
    emitHeader("demo");
    std::string cases = "static const char *cases[] = {\n";
    std::string expected = "encode 0 <all><b>-5</b><l>3000000000</l><ul>18446744073709551615</ul><n>-9000000000</n>"
                           "<dec>12345.67</dec><f>1.5</f><d>0.1</d></all>\n"
                           "decode 0 b=-5 l=3000000000 ul=18446744073709551615 n=-9000000000 dec=12345.67 f=1.5 d=0.1\n";
    for (const CCase& c : Cases) {
        cases += "\t\"<all><" + std::string(c.element) + ">" + c.text + "</" + c.element + "></all>\",\n";
        std::string line = " b=0 l=0 ul=0 n= dec= f=0 d=0";
        const bool text = std::string(c.element) == "n" || std::string(c.element) == "dec";
        const std::string key = " " + std::string(c.element) + (text ? "= " : "=0");
        const std::string read = c.read;
        if (read != "-1")
            line.replace(line.find(key), key.size(), " " + read + (text ? " " : ""));
        expected += (read == "-1" ? read : line.substr(1)) + "\n";
    }
    cases += "};\n";
    const RunResult run = buildAndRunC("#include \"demo_api.c\"\n",
                                       {{"demo_api.h", headerText()}, {"demo_api.c", emitSourceWithReaders() + cases + Driver}},
                                       true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// An integer or a decimal is sent as the caller's text when it is one, every
// digit kept, and read back the same; a text that is none, or that does not
// fit its member, fails the message and names the member and the cause.
const char* const ExactDriver = R"(
static void round_trip(const char *n, const char *dec)
{
	static char body[4096];
	char error[DEMO_MAX_DECODE_ERROR_LEN + 1] = "";
	mycursor_t cursor;
	demo_Numbers_t v, w;
	xmlDocPtr doc;
	int result;

	memset(&v, 0, sizeof(v));
	snprintf(v.n, sizeof(v.n), "%s", n);
	snprintf(v.dec, sizeof(v.dec), "%s", dec);
	v.n_present = v.dec_present = 1;
	mycursor_init(&cursor, body, sizeof(body));
	result = encode_Numbers_t(&cursor, "all", &v, 0);
	printf("%d %s\n", result, result == 0 ? body : "");
	if(result != 0)
		return;
	doc = xmlReadMemory(body, (int)strlen(body), "exact.xml", NULL, XML_PARSE_NONET);
	doc->_private = error;
	memset(&w, 0, sizeof(w));
	result = decode_Numbers_t(doc, xmlDocGetRootElement(doc), &w);
	xmlFreeDoc(doc);
	printf("%d %s\n", result, result == 0 ? (strcmp(v.n, w.n) == 0 && strcmp(v.dec, w.dec) == 0 ? "same" : "changed") : error);
}

static void read_text(const char *xml)
{
	char error[DEMO_MAX_DECODE_ERROR_LEN + 1] = "";
	demo_Numbers_t w;
	xmlDocPtr doc = xmlReadMemory(xml, (int)strlen(xml), "exact.xml", NULL, XML_PARSE_NONET);
	int result;

	doc->_private = error;
	memset(&w, 0, sizeof(w));
	result = decode_Numbers_t(doc, xmlDocGetRootElement(doc), &w);
	xmlFreeDoc(doc);
	printf("%d %s\n", result, error);
}

int main(void)
{
	round_trip("-123456789012345678901234567890", "123456789012345678.123456789012345678");
	round_trip("0", "-0.0000000000000000000000000000000000000001");
	read_text("<all><dec>" DIGITS400 "</dec></all>");
	read_text("<all><dec>1.5e3</dec></all>");
	read_text("<all><n>12abc</n></all>");
	read_text("<all><b>x</b></all>");
	xmlCleanupParser();
	return 0;
}
)";

TEST_F(NumberConversionsTest, IntegersAndDecimalsKeepEveryDigit)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    const std::string digits = "#define DIGITS400 \"" + std::string(400, '9') + "\"\n";
    const RunResult run = runNumbersDriver(digits + ExactDriver);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, "0 <all><n>-123456789012345678901234567890</n><dec>123456789012345678.123456789012345678</dec></all>\n"
                          "0 same\n"
                          "0 <all><n>0</n><dec>-0.0000000000000000000000000000000000000001</dec></all>\n"
                          "0 same\n"
                          "-1 demo_Numbers_t.dec: \"" + std::string(40, '9') + "...\" (400 bytes) does not fit\n"
                          "-1 demo_Numbers_t.dec: \"1.5e3\" (5 bytes) is no xsd:decimal\n"
                          "-1 demo_Numbers_t.n: \"12abc\" (5 bytes) is no xsd:integer\n"
                          "-1 demo_Numbers_t.b: \"x\" (1 bytes) is no xsd:byte\n");
}


// A double goes in the fewest digits that read back as the same double:
// printf's seventeen digits only where no shorter decimal does, and its
// exponent form past the magnitudes it writes without one. Each is read back
// and compared bit for bit.
struct CDoubleCase {
    const char* literal; // the value, as C writes it
    const char* text;    // what goes on the wire
};

const CDoubleCase DoubleCases[] = {
    {"0.1", "0.1"},
    {"-0.0025", "-0.0025"},
    {"1.25", "1.25"},
    {"3.0", "3"},
    {"1e-4", "0.0001"},
    {"0.000123", "0.000123"},
    {"9.9999999999999991e-05", "9.9999999999999991e-05"},
    {"123456789012345.0", "123456789012345"},
    {"99999999999999.9", "99999999999999.9"},
    {"1e15", "1000000000000000"},
    {"1e17", "1e+17"},
    {"0.30000000000000004", "0.30000000000000004"},
    {"2.0 / 3", "0.6666666666666666"},
    {"-4503599627370497.0", "-4503599627370497"},
    {"0.0", "0"},
    {"-0.0", "-0"},
    {"4.9406564584124654e-324", "4.9406564584124654e-324"},
    {"1.7976931348623157e308", "1.7976931348623157e+308"},
};

TEST_F(NumberConversionsTest, DoublesGoInTheFewestDigitsThatReadBack)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    std::string driver = "static const double values[] = {\n";
    std::string expected;
    for (const CDoubleCase& c : DoubleCases) {
        driver += std::string("\t") + c.literal + ",\n";
        expected += std::string("<all><d>") + c.text + "</d></all> same\n";
    }
    driver += R"(};

int main(void)
{
	static char body[4096];
	char error[DEMO_MAX_DECODE_ERROR_LEN + 1] = "";
	mycursor_t cursor;
	demo_Numbers_t v, w;
	xmlDocPtr doc;
	size_t i;

	for(i = 0; i < sizeof(values) / sizeof(values[0]); i++){
		memset(&v, 0, sizeof(v));
		v.d = values[i];
		v.d_present = 1;
		mycursor_init(&cursor, body, sizeof(body));
		if(encode_Numbers_t(&cursor, "all", &v, 0) != 0)
			return 1;
		doc = xmlReadMemory(body, (int)strlen(body), "double.xml", NULL, XML_PARSE_NONET);
		doc->_private = error;
		memset(&w, 0, sizeof(w));
		printf("%s %s\n", body, decode_Numbers_t(doc, xmlDocGetRootElement(doc), &w) == 0 &&
			memcmp(&v.d, &w.d, sizeof(v.d)) == 0 ? "same" : "changed");
		xmlFreeDoc(doc);
	}
	xmlCleanupParser();
	return 0;
}
)";
    const RunResult run = runNumbersDriver(driver);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}


// A program may set a locale whose decimal point is a comma: its floating values still go with a
// point, texts with a point are still read (and listed by their enumerations), and a comma is still
// no number. Each case is read, checked against the C literal it writes, and written again.
const char* const LocaleSchema =
    "<xsd:simpleType name=\"Ratio\"><xsd:restriction base=\"xsd:double\">"
    "<xsd:enumeration value=\"0.5\"/><xsd:enumeration value=\"2\"/></xsd:restriction></xsd:simpleType>"
    "<xsd:complexType name=\"Measures\"><xsd:sequence>"
    "<xsd:element name=\"f\" type=\"xsd:float\" minOccurs=\"0\"/><xsd:element name=\"d\" type=\"xsd:double\" minOccurs=\"0\"/>"
    "<xsd:element name=\"ratio\" type=\"tns:Ratio\" minOccurs=\"0\"/>"
    "</xsd:sequence><xsd:attribute name=\"scale\" type=\"tns:Ratio\"/></xsd:complexType>";

struct CLocaleCase {
    const char* member;  // f, d, ratio, or the attribute scale
    const char* text;
    const char* value;   // the C literal the text writes; "0" where it is refused or held as text
    const char* read;    // the driver's line: result, "same" when the member holds the value, the note
    const char* written; // the encoder's line; nullptr where reading failed
};

const std::string LongPoint = "0." + std::string(97, '0') + "15"; // past the copy kept on the stack

const CLocaleCase LocaleCases[] = {
    {"d", "0.5", "0.5", "0 same ", "  0 <m><d>0.5</d></m>"},
    {"d", " -2.5e3 ", "-2.5e3", "0 same ", "  0 <m><d>-2500</d></m>"},
    {"d", ".5", ".5", "0 same ", "  0 <m><d>0.5</d></m>"},
    {"d", "5.", "5.", "0 same ", "  0 <m><d>5</d></m>"},
    {"d", LongPoint.c_str(), LongPoint.c_str(), "0 same ", "  0 <m><d>1.5e-98</d></m>"},
    {"f", "-3.75", "-3.75", "0 same ", "  0 <m><f>-3.75</f></m>"},
    {"d", "1,5", "0", "-1 demo_Measures_t.d: \"1,5\" (3 bytes) is no xsd:double", nullptr},
    {"d", "1.2.3", "0", "-1 demo_Measures_t.d: \"1.2.3\" (5 bytes) is no xsd:double", nullptr},
    {"ratio", "0.50", "0.50", "0 same ", "  0 <m><ratio>0.5</ratio></m>"},
    {"ratio", "2.5", "2.5", "0 same demo_Ratio_t.Ratio: \"2.5\" is none of the values its enumeration lists (kept)",
     "  -1 ratio: \"2.5\" is none of the values its enumeration lists"},
    {"scale", "0.50", "0", "0 ", "  0 <m scale=\"0.50\"></m>"},
    {"scale", "2.5", "0", "0 demo_Measures_t.scale: \"2.5\" is none of the values its enumeration lists (kept)",
     "  -1 scale: \"2.5\" is none of the values its enumeration lists"},
};

const char* const LocaleDriver = R"(
static void run(const struct locale_case *c)
{
	static char out[4096];
	char error[DEMO_MAX_DECODE_ERROR_LEN + 1] = "", why[DEMO_MAX_DECODE_ERROR_LEN + 1] = "";
	xmlDocPtr doc = xmlReadMemory(c->xml, (int)strlen(c->xml), "case.xml", NULL, XML_PARSE_NONET);
	demo_Measures_t v;
	mycursor_t cursor;
	int result, same;

	memset(&v, 0, sizeof(v));
	doc->_private = error;
	result = decode_Measures_t(doc, xmlDocGetRootElement(doc), &v);
	xmlFreeDoc(doc);
	same = c->member == 'f' ? v.f == (float)c->value : c->member == 'd' ? v.d == c->value : v.ratio.Ratio == c->value;
	printf("%d %s%s\n", result, result != 0 || c->member == 's' ? "" : same ? "same " : "differs ", error);
	if(result == 0){
		mycursor_init(&cursor, out, sizeof(out));
		cursor.why = why;
		cursor.why_size = sizeof(why);
		result = encode_Measures_t(&cursor, "m", &v, 0);
		printf("  %d %s%s\n", result, result == 0 ? out : "", why);
	}
}

/* the first locale named that the C library has and whose decimal point is a comma */
int main(int argc, char **argv)
{
	size_t c;
	int i;

	for(i = 1; i < argc; i++){
		if(setlocale(LC_ALL, argv[i]) != NULL && strcmp(localeconv()->decimal_point, ",") == 0)
			break;
	}
	if(i == argc){
		printf("no locale of those named writes a comma\n");
		return 0;
	}
	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++)
		run(&cases[c]);
	xmlCleanupParser();
	return 0;
}
)";

// A locale of German numbers (comma for the point), built from the system's locale sources into a
// private folder that LOCPATH names while it lives, where the C library can find none installed.
class CCommaLocale {
public:
    CCommaLocale()
    {
#ifndef _WIN32
        const std::string folder = (std::filesystem::current_path() / "locales").string();
        std::filesystem::create_directories(folder);
        if (std::system(("localedef -i de_DE -f ISO-8859-1 '" + folder + "/de_DE.ISO-8859-1' > /dev/null 2>&1").c_str()) == 0)
            setenv("LOCPATH", folder.c_str(), 1);
#endif
    }
    ~CCommaLocale()
    {
#ifndef _WIN32
        unsetenv("LOCPATH");
#endif
    }
    CCommaLocale(const CCommaLocale&) = delete;
    CCommaLocale& operator=(const CCommaLocale&) = delete;

    // The names the driver tries: the private one, the usual installed ones, Windows' name.
    static const char* names() { return "de_DE.ISO-8859-1 de_DE.UTF-8 fr_FR.UTF-8 German"; }
};

TEST_F(NumberConversionsTest, NumbersGoWithAPointUnderALocaleOfCommas)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    view(wsdltest::definitions("<types><xsd:schema targetNamespace=\"urn:t\">" + std::string(LocaleSchema) +
                               "</xsd:schema></types>\n"));
    emitHeader("demo", programPlatform());
    std::string cases = "struct locale_case{\n\tconst char *xml;\n\tchar member;\n\tdouble value;\n};\n"
                        "static const struct locale_case cases[] = {\n";
    std::string expected;
    for (const CLocaleCase& c : LocaleCases) {
        const std::string member = c.member;
        const std::string xml = member == "scale" ? "<m scale=\"" + std::string(c.text) + "\"/>"
                                                  : "<m><" + member + ">" + c.text + "</" + member + "></m>";
        cases += "\t{" + cLiteral(xml) + ", '" + member[0] + "', " + c.value + "},\n";
        expected += std::string(c.read) + "\n" + (c.written != nullptr ? std::string(c.written) + "\n" : "");
    }
    cases += "};\n";
    testsupport::ScopedWorkingFolder folder;
    const CCommaLocale locale;
    const RunResult run = buildAndRunC("#include <locale.h>\n#include \"demo_api.c\"\n",
                                       {{"demo_api.h", headerText()}, {"demo_api.c", emitSourceWithReaders() + cases + LocaleDriver}},
                                       true, CCommaLocale::names());
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    if (run.output.rfind("no locale", 0) == 0)
        GTEST_SKIP() << "no locale with a decimal comma to be had: " << run.output;
    EXPECT_EQ(run.output, expected);
}

// What the C library read ended in nothing but XML's blanks (the conversion drivers' own check).
const char* const BlanksToEnd = R"(
static int blanks_to_end(const char *text, const char *end)
{
	if(end == text || errno != 0)
		return -1;
	while(*end == ' ' || *end == '\t' || *end == '\r' || *end == '\n')
		end++;
	return *end == '\0' ? 0 : -1;
}
)";

// The integer readers are written out rather than calling strtoll and
// strtoull: over every text made of a front, a sign, digits and a back of
// the tables, each must accept what the C library's reading accepts whole
// (XML's blanks behind it aside; for the unsigned one, a sign as XML
// Schema allows it) with the same value, and refuse everything else, the
// ranges' edges above all.
const char* const StrtollDriver = R"(

static int by_strtoll(const char *text, long long *value)
{
	char	*end = NULL;

	errno = 0;
	*value = strtoll(text, &end, 10);
	return blanks_to_end(text, end);
}

static int by_strtoull(const char *text, unsigned long long *value)
{
	char	*end = NULL;

	if(mycheck_integer(text, MYCHECK_UNSIGNED) != 0)
		return -1;
	while(*text == ' ' || *text == '\t' || *text == '\r' || *text == '\n' || *text == '+' || *text == '-')
		text++;
	errno = 0;
	*value = strtoull(text, &end, 10);
	return blanks_to_end(text, end);
}

/* says where a reader and the C library differ; 1 where the library read the text */
static int agree(const char *what, const char *text, int result, unsigned long long ours, int expected,
	unsigned long long theirs)
{
	if(result != expected || (result == 0 && ours != theirs))
		printf("%s \"%s\": %d %llu, the C library %d %llu\n", what, text, result, ours, expected, theirs);
	return expected == 0;
}

int main(void)
{
	static const char *const fronts[] = {"", " ", "\t\r\n ", "\v\f", "\xc2\xa0", "x"};
	static const char *const signs[] = {"", "+", "-", "+-", "--", "- "};
	static const char *const digits[] = {"", "0", "7", "0000000000000000000000042", "922337203685477580",
		"9223372036854775806", "9223372036854775807", "9223372036854775808", "9223372036854775809",
		"9223372036854775810", "18446744073709551610", "18446744073709551615", "18446744073709551616",
		"18446744073709551619", "99999999999999999999999",
		"1 2", "12x", "0x1F", "1e3", "1.0", "5\xd9\xa1"};
	static const char *const backs[] = {"", " ", "\r\n\t ", "\v", "x", " 1", "\xc2\xa0"};
	char	text[128];
	size_t	f, s, d, b;
	int	texts = 0, read = 0, read_unsigned = 0;

	for(f = 0; f < sizeof(fronts) / sizeof(fronts[0]); f++)
	for(s = 0; s < sizeof(signs) / sizeof(signs[0]); s++)
	for(d = 0; d < sizeof(digits) / sizeof(digits[0]); d++)
	for(b = 0; b < sizeof(backs) / sizeof(backs[0]); b++){
		long long	ours = 0, theirs = 0;
		unsigned long long	ours_unsigned = 0, theirs_unsigned = 0;
		int	result, expected;

		snprintf(text, sizeof(text), "%s%s%s%s", fronts[f], signs[s], digits[d], backs[b]);
		texts++;
		result = mydecode_long((const xmlChar *)text, &ours);
		expected = by_strtoll(text, &theirs);
		read += agree("signed", text, result, (unsigned long long)ours, expected, (unsigned long long)theirs);
		result = mydecode_ulong((const xmlChar *)text, &ours_unsigned);
		expected = by_strtoull(text, &theirs_unsigned);
		read_unsigned += agree("unsigned", text, result, ours_unsigned, expected, theirs_unsigned);
	}
	printf("signed: read %d refused %d\n", read, texts - read);
	printf("unsigned: read %d refused %d\n", read_unsigned, texts - read_unsigned);
	return 0;
}
)";

TEST_F(NumberConversionsTest, IntegersReadAsTheCLibraryReadsThem)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = runNumbersDriver(std::string(BlanksToEnd) + StrtollDriver);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    // 6 fronts, 6 signs, 21 digit runs and 7 backs: only the lines of
    // counts, no text read otherwise than the C library reads it.
    EXPECT_EQ(run.output, "signed: read 232 refused 5060\nunsigned: read 210 refused 5082\n");
}

// Short decimal numbers are read without strtod where the result is exact:
// every text of a front, a sign, a mantissa, an exponent and a back of the
// tables, and many drawn at random around the edges of that reading (2^53,
// nineteen digits, powers of ten up to 22), must be read by the generated
// reader bit for bit as strtod reads it, accepted and refused alike.
const char* const StrtodDriver = R"(

/* the C library's reading of a text of the characters the reader lets through (no names here) */
static int by_strtod(const char *text, double *value)
{
	char	*end = NULL;

	if(text[strspn(text, "0123456789+-.eE \t\r\n")] != '\0')
		return -1;
	while(*text == ' ' || *text == '\t' || *text == '\r' || *text == '\n')
		text++;
	errno = 0;
	*value = strtod(text, &end);
	if(errno == ERANGE && *value > -1.0 && *value < 1.0)
		errno = 0;
	return blanks_to_end(text, end);
}

static int differ(const char *text)
{
	double	ours = 0, theirs = 0;
	int	result = mydecode_double((const xmlChar *)text, &ours), expected = by_strtod(text, &theirs);

	if(result != expected || (result == 0 && memcmp(&ours, &theirs, sizeof(ours)) != 0)){
		printf("\"%s\": %d %.17g, the C library %d %.17g\n", text, result, ours, expected, theirs);
		return 1;
	}
	return 0;
}

int main(void)
{
	static const char *const fronts[] = {"", " ", "\n\t"};
	static const char *const signs[] = {"", "+", "-", "--"};
	static const char *const mantissas[] = {"", "0", "0.0", ".", "5.", ".5", "1.25", "0.1", "0.3", "123.456", "00000.000001",
		"9007199254740992", "9007199254740993", "9007199254740994", "900719925474099.3", "1234567890123456789",
		"12345678901234567890", "0.0000000000000000000000001", "1.7976931348623157", "4.9406564584124654", "1.2.3", "1e", "1e+", "x"};
	static const char *const exponents[] = {"", "e0", "E5", "e-5", "e+22", "e22", "e-22", "e23", "e-23", "e308", "e309", "e-324",
		"e-400", "e99999", "e-99999", "e1.5"};
	static const char *const backs[] = {"", " ", "\r\n", "x", " 1"};
	char	text[128];
	size_t	f, s, m, e, b;
	unsigned long long	seed = 42;
	int	i, differences = 0, texts = 0;

	for(f = 0; f < sizeof(fronts) / sizeof(fronts[0]); f++)
	for(s = 0; s < sizeof(signs) / sizeof(signs[0]); s++)
	for(m = 0; m < sizeof(mantissas) / sizeof(mantissas[0]); m++)
	for(e = 0; e < sizeof(exponents) / sizeof(exponents[0]); e++)
	for(b = 0; b < sizeof(backs) / sizeof(backs[0]); b++){
		snprintf(text, sizeof(text), "%s%s%s%s%s", fronts[f], signs[s], mantissas[m], exponents[e], backs[b]);
		differences += differ(text);
		texts++;
	}
	/* up to twenty digits with a point anywhere, exponents about the edge of 22 */
	for(i = 0; i < 200000; i++){
		int	digits, point, k, at = 0;

		seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
		digits = 1 + (int)((seed >> 33) % 20);
		point = (int)((seed >> 40) % (unsigned long long)(digits + 2));
		if((seed >> 20) & 1)
			text[at++] = '-';
		for(k = 0; k < digits; k++){
			seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
			if(k == point)
				text[at++] = '.';
			text[at++] = (char)('0' + (seed >> 35) % 10);
		}
		if((seed >> 50) % 3 != 0)
			at += snprintf(text + at, sizeof(text) - at, "e%d", (int)((seed >> 52) % 61) - 30);
		text[at] = '\0';
		differences += differ(text);
		texts++;
	}
	printf("texts %d differences %d\n", texts, differences);
	return 0;
}
)";

TEST_F(NumberConversionsTest, DoublesReadAsTheCLibraryReadsThem)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = runNumbersDriver(std::string(BlanksToEnd) + StrtodDriver);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    // 3 fronts, 4 signs, 24 mantissas, 16 exponents and 5 backs, and the drawn ones.
    EXPECT_EQ(run.output, "texts 223040 differences 0\n");
}

} // namespace
