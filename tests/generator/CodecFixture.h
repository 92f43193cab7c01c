#pragma once

// The schema the codec tests share: every mapped number type (each may
// stand out), text, a
// simple type, a nested type, arrays of structs, texts and numbers, and an
// attribute; and C text that fills a value of it.

#include "GeneratorTestSupport.h"
#include "LoopbackPeer.h"

namespace gentest {

// Reads each message of cases.h with read_message and prints "<index>:
// <result>" and what the driver's report(result, pk) prints, a line each.
const char* const ReadEachCase = R"(
static const char *const cases[] = {
#include "cases.h"
};
static void report(int result, demo_proto_packet_t *pk);

int main(void)
{
	size_t c;
	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++){
		static demo_proto_packet_t pk;
		int result = read_message(cases[c], &pk);
		printf("%d: %d", (int)c, result);
		report(result, &pk);
		printf("\n");
		/* a packet that failed keeps nothing to free */
		if(result == 0)
			demo_free_proto_packet(&pk);
		memset(&pk, 0, sizeof(pk));
	}
	xmlCleanupParser();
	return 0;
}
)";

// The codec tests that run a C driver over the generated readers of project
// "demo" for a document, with the loopback peer of LoopbackPeer.h before
// the driver. Given cases (messageTable's), the driver is a report function
// that ReadEachCase calls for each. A header line may be given in place of
// the generated one that starts as it does up to its last blank (a macro's
// value given anew).
class ReaderDriverTest : public GeneratorTest {
protected:
    RunResult runReaderDriver(const std::string& document, const std::string& driver,
                              const std::string& cases = std::string(), const std::string& headerLine = std::string())
    {
        view(document);
        emitHeader("demo", programPlatform());
        std::string source = emitSourceWithReaders() + LoopbackPeer;
        if (!cases.empty())
            source.append(ReadMessage).append(ReadEachCase);
        std::string header = headerText();
        const std::size_t name = headerLine.find_last_of(" \t");
        const std::size_t at = headerLine.empty() ? std::string::npos : header.find(headerLine.substr(0, name + 1));
        if (at != std::string::npos)
            header.replace(at, header.find('\r', at) - at, headerLine);
        return buildAndRunC("#include \"demo_api.c\"\n",
                            {{"demo_api.h", header}, {"demo_api.c", source + driver}, {"cases.h", cases}}, true);
    }
};

// The start of a report(result, pk) for a document whose operation Scale takes the int array
// "values": the packet's type and, when read, the array's items; the test's own lines follow.
inline const std::string ScaleValuesReport = R"(
static void report(int result, demo_proto_packet_t *pk)
{
	int i;

	printf(" type=%u", pk->msg_type);
	if(result == 0 && pk->msg_type == DEMO_PROTO_SCALE){
		printf(" count=%d", pk->msg.ScaleIn.values.IntArray_count);
		for(i = 0; i < pk->msg.ScaleIn.values.IntArray_count; i++)
			printf(" %d", pk->msg.ScaleIn.values.IntArray[i]);
	}
)";

inline const char* const CodecSchema =
    "<xsd:import namespace=\"http://schemas.xmlsoap.org/soap/encoding/\"/>"
    "<xsd:complexType name=\"Inner\"><xsd:sequence><xsd:element name=\"label\" type=\"xsd:string\"/>"
    "</xsd:sequence></xsd:complexType>"
    "<xsd:complexType name=\"InnerArray\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
    "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"tns:Inner[]\"/></xsd:restriction></xsd:complexContent>"
    "</xsd:complexType>"
    "<xsd:complexType name=\"WordArray\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
    "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:string[]\"/></xsd:restriction></xsd:complexContent>"
    "</xsd:complexType>"
    "<xsd:complexType name=\"LongArray\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">"
    "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:long[]\"/></xsd:restriction></xsd:complexContent>"
    "</xsd:complexType>"
    "<xsd:simpleType name=\"Ratio\"><xsd:restriction base=\"xsd:double\"/></xsd:simpleType>"
    "<xsd:complexType name=\"Everything\"><xsd:sequence>"
    "<xsd:element name=\"i\" type=\"xsd:int\" minOccurs=\"0\"/><xsd:element name=\"b\" type=\"xsd:byte\" minOccurs=\"0\"/>"
    "<xsd:element name=\"flag\" type=\"xsd:boolean\" minOccurs=\"0\"/><xsd:element name=\"u\" type=\"xsd:unsignedInt\" minOccurs=\"0\"/>"
    "<xsd:element name=\"l\" type=\"xsd:long\" minOccurs=\"0\"/><xsd:element name=\"ul\" type=\"xsd:unsignedLong\" minOccurs=\"0\"/>"
    "<xsd:element name=\"s\" type=\"xsd:short\" minOccurs=\"0\"/><xsd:element name=\"us\" type=\"xsd:unsignedShort\" minOccurs=\"0\"/>"
    "<xsd:element name=\"f\" type=\"xsd:float\" minOccurs=\"0\"/><xsd:element name=\"d\" type=\"xsd:double\" minOccurs=\"0\"/>"
    "<xsd:element name=\"text\" type=\"xsd:string\"/><xsd:element name=\"when\" type=\"xsd:dateTime\"/>"
    "<xsd:element name=\"ratio\" type=\"tns:Ratio\"/><xsd:element name=\"inner\" type=\"tns:Inner\"/>"
    "<xsd:element name=\"inners\" type=\"tns:InnerArray\"/><xsd:element name=\"words\" type=\"tns:WordArray\"/>"
    "<xsd:element name=\"longs\" type=\"tns:LongArray\"/>"
    "</xsd:sequence><xsd:attribute name=\"id\" type=\"xsd:string\"/></xsd:complexType>";

inline std::string codecDocument()
{
    return wsdltest::definitions("<types><xsd:schema targetNamespace=\"urn:t\" "
                                 "xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\" "
                                 "xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\">" +
                                 std::string(CodecSchema) + "</xsd:schema></types>\n");
}

// How the C below sets a text member: allocated texts point at the
// caller's characters, fixed ones hold a copy.
inline std::string textSetter(bool allocated)
{
    return allocated ? "#define SET_TEXT(member, text) ((member) = (char *)(text))\n"
                     : "#define SET_TEXT(member, text) strcpy((member), (text))\n";
}

// fill_everything(demo_Everything_t *v) for project "demo", after textSetter().
inline const char* const FillEverything = R"(
static void fill_everything(demo_Everything_t *v)
{
	/* arrays hold their items, and texts their characters, in storage of the caller's */
	static __typeof__(*v->inners.InnerArray) inners[2];
	static __typeof__(*v->words.WordArray) words[3];
	static __typeof__(*v->longs.LongArray) longs[5];

	memset(v, 0, sizeof(*v));
	memset(inners, 0, sizeof(inners));
	memset(longs, 0, sizeof(longs));
	v->inners.InnerArray = inners;
	v->words.WordArray = words;
	v->longs.LongArray = longs;
	SET_TEXT(v->id, "a<b&\"c'");
	v->i = -42; v->b = -100; v->flag = 1; v->u = 4000000000u; v->l = -9000000000LL; v->ul = 18446744073709551615ULL;
	v->s = -300; v->us = 65535; v->f = 3.75f; v->d = 0.1;
	v->i_present = v->b_present = v->flag_present = v->u_present = v->l_present = v->ul_present = 1;
	v->s_present = v->us_present = v->f_present = v->d_present = 1;
	SET_TEXT(v->text, "x < y && \xc3\xa9t\xc3\xa9 \"q\"");
	SET_TEXT(v->when, "2024-01-02T03:04:05Z");
	v->ratio.Ratio = -1.5e300;
	SET_TEXT(v->inner.label, "in");
	SET_TEXT(v->inners.InnerArray[0].label, "one"); SET_TEXT(v->inners.InnerArray[1].label, "t>o");
	v->inners.InnerArray_count = 2;
	SET_TEXT(v->words.WordArray[0], "w1"); SET_TEXT(v->words.WordArray[1], "&w2"); SET_TEXT(v->words.WordArray[2], "w3");
	v->words.WordArray_count = 3;
	v->longs.LongArray[0] = 7;
	v->longs.LongArray_count = 1;
}
)";

// The lines, each ended by a line feed.
template <std::size_t N>
std::string joinedLines(const char* const (&lines)[N])
{
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\n";
    return text;
}

// The tests that run the codec document through each way of holding texts:
// allocated (the default) and fixed arrays of 128 bytes.
class CodecTest : public GeneratorTest {
protected:
    // Views the codec document and emits its header for project "demo".
    void emitCodecHeader(bool allocated)
    {
        project_.textLength = allocated ? 0 : 128;
        view(codecDocument());
        emitHeader("demo");
    }
};

} // namespace gentest
