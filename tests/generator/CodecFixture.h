#pragma once

// The schema the codec tests share: every mapped number type (each may
// stand out), text, a
// simple type, a nested type, arrays of structs, texts and numbers, and an
// attribute; and C text that fills a value of it.

#include "GeneratorTestSupport.h"

namespace gentest {

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

// fill_everything(demo_Everything_t *v) for project "demo".
inline const char* const FillEverything = R"(
static void fill_everything(demo_Everything_t *v)
{
	/* arrays hold their items in storage of the caller's */
	static __typeof__(*v->inners.InnerArray) inners[2];
	static __typeof__(*v->words.WordArray) words[3];
	static __typeof__(*v->longs.LongArray) longs[5];

	memset(v, 0, sizeof(*v));
	memset(inners, 0, sizeof(inners));
	memset(longs, 0, sizeof(longs));
	v->inners.InnerArray = inners;
	v->words.WordArray = words;
	v->longs.LongArray = longs;
	strcpy(v->id, "a<b&\"c'");
	v->i = -42; v->b = -100; v->flag = 1; v->u = 4000000000u; v->l = -9000000000LL; v->ul = 18446744073709551615ULL;
	v->s = -300; v->us = 65535; v->f = 3.75f; v->d = 0.1;
	v->i_present = v->b_present = v->flag_present = v->u_present = v->l_present = v->ul_present = 1;
	v->s_present = v->us_present = v->f_present = v->d_present = 1;
	strcpy(v->text, "x < y && \xc3\xa9t\xc3\xa9 \"q\"");
	strcpy(v->when, "2024-01-02T03:04:05Z");
	v->ratio.Ratio = -1.5e300;
	strcpy(v->inner.label, "in");
	strcpy(v->inners.InnerArray[0].label, "one"); strcpy(v->inners.InnerArray[1].label, "t>o");
	v->inners.InnerArray_count = 2;
	strcpy(v->words.WordArray[0], "w1"); strcpy(v->words.WordArray[1], "&w2"); strcpy(v->words.WordArray[2], "w3");
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

} // namespace gentest
