// The number conversions of the generated decoders and encoders, compiled
// and run: each schema number type reads its whole range and nothing
// beyond it, XML Schema's INF, -INF and NaN, and is written back so that a
// peer reads the same value (64-bit integers on every platform, a decimal
// to 15 significant digits).

#include "GeneratorTestSupport.h"
#include "CodecFixture.h"

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
    {"dec", "12345.67", "dec=12345.67"},
    {"dec", "123456789.012345", "dec=123456789.012345"},
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
	char	dec[64], f[64], d[64];

	printf("b=%d l=%lld ul=%llu n=%lld dec=%s f=%s d=%s\n", v->b, v->l, v->ul, v->n, number(v->dec, "%.15g", dec),
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
	v.b = -5; v.l = 3000000000LL; v.ul = 18446744073709551615ULL; v.n = -9000000000LL;
	v.dec = 12345.67; v.f = 1.5f; v.d = 0.1;
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

class NumberConversionsTest : public GeneratorTest {};

TEST_F(NumberConversionsTest, EachTypeReadsItsRangeAndWritesWhatAPeerReads)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    view(wsdltest::definitions("<types><xsd:schema targetNamespace=\"urn:t\">" + std::string(Schema) +
                               "</xsd:schema></types>\n"));
    emitHeader("demo");
    std::string cases = "static const char *cases[] = {\n";
    std::string expected = "encode 0 <all><b>-5</b><l>3000000000</l><ul>18446744073709551615</ul><n>-9000000000</n>"
                           "<dec>12345.67</dec><f>1.5</f><d>0.10000000000000001</d></all>\n"
                           "decode 0 b=-5 l=3000000000 ul=18446744073709551615 n=-9000000000 dec=12345.67 f=1.5 d=0.1\n";
    for (const CCase& c : Cases) {
        cases += "\t\"<all><" + std::string(c.element) + ">" + c.text + "</" + c.element + "></all>\",\n";
        std::string line = "b=0 l=0 ul=0 n=0 dec=0 f=0 d=0";
        const std::string key = std::string(c.element) + "=0";
        const std::string read = c.read;
        if (read != "-1")
            line.replace(line.find(key), key.size(), read);
        expected += (read == "-1" ? read : line) + "\n";
    }
    cases += "};\n";
    const RunResult run = buildAndRunC("#include \"demo_api.c\"\n",
                                       {{"demo_api.h", headerText()}, {"demo_api.c", emitSourceWithReaders() + cases + Driver}},
                                       true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// Decimals as their lexical form has them: no exponent however large or
// small, 15 significant digits, read back to the same 15 digits; NaN and the
// infinities have no decimal form and fail the text.
const char* const DecimalDriver = R"(
int main(void)
{
	static const double values[] = {12345.67, 0.1, 0, -0.0, 1e15, -1.5e20, 123456789012345678.0, 1e-7, -2.5e-10,
		0.000123456789012345, 1e300, -1.5e-300, 999999999999999.9, 1.0 / 0.0, 0.0 / 0.0};
	static char body[4096];
	mycursor_t cursor;
	demo_Numbers_t v, w;
	char read[64], written[64];
	size_t c;

	for(c = 0; c < sizeof(values) / sizeof(values[0]); c++){
		xmlDocPtr doc;
		int result;

		memset(&v, 0, sizeof(v));
		v.dec = values[c];
		v.dec_present = 1;
		mycursor_init(&cursor, body, sizeof(body));
		result = encode_Numbers_t(&cursor, "all", &v, 0);
		if(result != 0){
			printf("%d\n", result);
			continue;
		}
		doc = xmlReadMemory(body, (int)strlen(body), "dec.xml", NULL, XML_PARSE_NONET);
		memset(&w, 0, sizeof(w));
		result = doc != NULL ? decode_Numbers_t(doc, xmlDocGetRootElement(doc), &w) : 99;
		xmlFreeDoc(doc);
		snprintf(written, sizeof(written), "%.15g", v.dec + 0.0); /* -0 reads back as 0 */
		snprintf(read, sizeof(read), "%.15g", w.dec);
		printf("%s %s\n", body, result == 0 && strcmp(read, written) == 0 ? "same" : read);
	}
	xmlCleanupParser();
	return 0;
}
)";

TEST_F(NumberConversionsTest, DecimalsAreWrittenWithoutExponent)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    view(wsdltest::definitions("<types><xsd:schema targetNamespace=\"urn:t\">" + std::string(Schema) +
                               "</xsd:schema></types>\n"));
    emitHeader("demo");
    const RunResult run = buildAndRunC("#include \"demo_api.c\"\n",
                                       {{"demo_api.h", headerText()}, {"demo_api.c", emitSourceWithReaders() + DecimalDriver}},
                                       true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, "<all><dec>12345.67</dec></all> same\n"
                          "<all><dec>0.1</dec></all> same\n"
                          "<all><dec>0</dec></all> same\n"
                          "<all><dec>0</dec></all> same\n"
                          "<all><dec>1000000000000000</dec></all> same\n"
                          "<all><dec>-150000000000000000000</dec></all> same\n"
                          "<all><dec>123456789012346000</dec></all> same\n"
                          "<all><dec>0.0000001</dec></all> same\n"
                          "<all><dec>-0.00000000025</dec></all> same\n"
                          "<all><dec>0.000123456789012345</dec></all> same\n"
                          "<all><dec>1" + std::string(300, '0') + "</dec></all> same\n"
                          "<all><dec>-0." + std::string(299, '0') + "15</dec></all> same\n"
                          // 16 digits round to 15
                          "<all><dec>1000000000000000</dec></all> same\n"
                          "-1\n"
                          "-1\n");
}

} // namespace
