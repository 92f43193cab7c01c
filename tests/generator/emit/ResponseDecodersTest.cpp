// The generated decoders, compiled and run: a value encoded, sent over
// loopback, read by read_packet and decoded comes back equal; numbers
// convert by their C type, booleans read "true"/"1", and values that do not
// convert or fit give -1 without overflow or leaks.

#include "CodecFixture.h"
#include "LoopbackPeer.h"

#include <algorithm>

using namespace gentest;

namespace {

const char* const Driver = R"(
static int decode_text(const char *xml, demo_Everything_t *v, demo_soap_fault_msg_t *fault)
{
	xmlDocPtr doc = xmlReadMemory(xml, (int)strlen(xml), "case.xml", NULL, XML_PARSE_NONET);
	int result;
	if(doc == NULL)
		return 99;
	memset(v, 0, sizeof(*v));
	memset(fault, 0, sizeof(*fault));
	result = decode_Everything_t(doc, xmlDocGetRootElement(doc), v);
	if(result == 0)
		result = decode_soap_fault_msg_t(doc, xmlDocGetRootElement(doc), fault);
	xmlFreeDoc(doc);
	if(result != 0){
		free_Everything_t(v);
		demo_free_fault(fault);
	}
	return result;
}

/* a text member as printf takes it: an allocated one may be NULL */
static const char *S(const char *text)
{
	return text != NULL ? text : "";
}

/* equal values: the same XML written of both */
static int same_everything(demo_Everything_t *v, demo_Everything_t *w)
{
	static char a[LONG_TEXT + 65536], b[LONG_TEXT + 65536];
	mycursor_t cursor;

	mycursor_init(&cursor, a, sizeof(a));
	if(encode_Everything_t(&cursor, "all", v, 0) != 0)
		return 0;
	mycursor_init(&cursor, b, sizeof(b));
	return encode_Everything_t(&cursor, "all", w, 0) == 0 && strcmp(a, b) == 0;
}

/* encode, send as an HTTP response, read, decode: 0 when the value is equal. text: the value's
 * text, NULL for fill_everything's */
static int round_trip(char *text)
{
	static char body[LONG_TEXT + 65536], message[LONG_TEXT + 70000], buff[DEMO_MAX_MESSAGE_LEN + 1];
	http_buffer_t received = {buff, DEMO_MAX_MESSAGE_LEN, DEMO_MAX_MESSAGE_LEN, 0};
	mycursor_t cursor;
	peer_t peer;
	demo_proto_trans_t trans;
	demo_Everything_t v, w;
	demo_soap_fault_msg_t fault;
	tessaro_size_t length = 0;
	char *start;
	int result;

	fill_everything(&v);
	if(text != NULL)
		SET_TEXT(v.text, text);
	mycursor_init(&cursor, body, sizeof(body));
	if(encode_Everything_t(&cursor, "all", &v, 0) != 0)
		return -2;
	snprintf(message, sizeof(message), "HTTP/1.1 200 OK\r\nContent-Length: %d\r\n\r\n%s", (int)strlen(body), body);
	memset(&peer, 0, sizeof(peer));
	peer.pieces[0] = message;
	peer.lengths[0] = strlen(message);
	peer.count = 1;
	if(peer_start(&peer, &trans.socket) != 0)
		return -3;
	/* no deadline: the peer sends the message and closes, so the read ends without one */
	if(read_packet(&trans, &received, &length, -1, NULL) != 0 || (start = strstr(buff, "\r\n\r\n")) == NULL)
		return -4;
	peer_finish(&peer, trans.socket);
	if(decode_text(start + 4, &w, &fault) != 0)
		return 1;
	result = !same_everything(&v, &w) || (text != NULL && strcmp(S(w.text), text) != 0);
	free_Everything_t(&w);
	demo_free_fault(&fault);
	return result;
}

/* the structures the type requires, and the texts (they may be empty) */
#define FIXED "<ratio>0</ratio><inner><label/></inner>"
#define STRUCTS FIXED "<inners/><words/><longs/>"
#define WHEN "<when>2024-01-02T03:04:05Z</when>"
#define REQUIRED "<text/>" WHEN STRUCTS

static const char *cases[] = {
	"<all><f>3.75</f><flag>true</flag><i> -7 </i><u>4294967295</u><ul>18446744073709551615</ul>" REQUIRED "</all>",
	"<all><flag>1</flag><b>-128</b><s>-32768</s><d>1e-300</d><l>-9223372036854775808</l>" REQUIRED "</all>",
	"<all><longs><Long>1</Long><Long>2</Long><Long>3</Long><Long>4</Long><Long>5</Long></longs><text/>" WHEN FIXED "<inners/><words/></all>",
	"<all><words><Word>a</Word><Word/><Word>b</Word></words><text></text>" WHEN FIXED "<inners/><longs/></all>",
	"<all id=\"q\"><inners><Inner><label>x</label></Inner></inners><text>kept</text><flag>false</flag>" WHEN FIXED "<words/><longs/></all>",
	"<f:Fault xmlns:f=\"urn:f\"><faultstring>bad &amp; worse</faultstring><other>x</other>"
		"<faultcode>f:Client</faultcode><detail><d>inner</d>tail</detail>" REQUIRED "</f:Fault>",
	"<all><i>2147483648</i>" REQUIRED "</all>",
	"<all><u>-1</u>" REQUIRED "</all>",
	"<all><b>128</b>" REQUIRED "</all>",
	"<all><flag>yes</flag>" REQUIRED "</all>",
	"<all><i>12abc</i>" REQUIRED "</all>",
	"<all><f>x</f>" REQUIRED "</all>",
	"<all><ul>18446744073709551616</ul>" REQUIRED "</all>",
	"<all><text>" T300 "</text>" WHEN STRUCTS "</all>",
	"<all id=\"" T300 "\">" REQUIRED "</all>",
	/* every item is kept: storage grows as they arrive */
	"<all><longs><Long>1</Long><Long>2</Long><Long>3</Long><Long>4</Long><Long>5</Long><Long>6</Long></longs><text/>" WHEN FIXED "<inners/><words/></all>",
	"<all><longs>" L20 "</longs><text/>" WHEN FIXED "<inners/><words/></all>",
	/* a required text may be empty, but it must stand; so must a required structure */
	"<all><text>t</text>" STRUCTS "</all>",
	"<all>" WHEN STRUCTS "</all>",
	"<all><text/>" WHEN "<ratio>0</ratio><inners/><words/><longs/></all>",
	/* a SOAP array's items may have any name */
	"<all><words><item>a</item><x:w xmlns:x=\"urn:x\">b</x:w></words><text/>" WHEN FIXED "<inners/><longs/></all>",
	/* below the normal doubles the nearest value stands; beyond the largest none does */
	"<all><d>4.9e-324</d>" REQUIRED "</all>",
	"<all><d>-1e-400</d>" REQUIRED "</all>",
	"<all><d>1e400</d>" REQUIRED "</all>",
	/* signs where XML Schema allows them; booleans and dates only in their lexical forms */
	"<all><i>+5</i><u>+6</u><ul>-0</ul>" REQUIRED "</all>",
	"<all><flag>01</flag>" REQUIRED "</all>",
	"<all><flag> 0 </flag>" REQUIRED "</all>",
	"<all><text/><when>not-a-date</when>" STRUCTS "</all>",
	"<all><text/><when/>" STRUCTS "</all>",
	/* an element that stands once stands once; a member's name in another namespace is not the member */
	"<all><i>1</i><i>2</i>" REQUIRED "</all>",
	"<all><text/>" REQUIRED "</all>",
	"<all><o:i xmlns:o=\"urn:o\">5</o:i>" REQUIRED "</all>",
	"<all><t:i xmlns:t=\"urn:t\">5</t:i>" REQUIRED "</all>",
};

int main(void)
{
	demo_Everything_t v;
	demo_soap_fault_msg_t fault;
	size_t c;

	printf("round trip %d\n", round_trip(NULL));
#if LONG_TEXT > 0
	{
		static char text[LONG_TEXT + 1];
		memset(text, 'y', LONG_TEXT);
		text[LONG_TEXT / 2] = '<';
		printf("%d characters %d\n", LONG_TEXT, round_trip(text));
	}
#endif
	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++){
		int result = decode_text(cases[c], &v, &fault);
		printf("%d: %d", (int)c, result);
		if(result == 0)
			printf(" f=%g flag=%u i=%d u=%u ul=%llu b=%d s=%d d=%g l=%lld longs=%d/%lld words=%d/%s/%s/%s inners=%d/%s text=%s id=%s fault=%s|%s|%s",
				v.f, v.flag, v.i, v.u, v.ul, v.b, v.s, v.d, v.l, v.longs.LongArray_count,
				v.longs.LongArray_count > 4 ? v.longs.LongArray[4] : 0, v.words.WordArray_count,
				v.words.WordArray_count > 0 ? S(v.words.WordArray[0]) : "", v.words.WordArray_count > 1 ? S(v.words.WordArray[1]) : "",
				v.words.WordArray_count > 2 ? S(v.words.WordArray[2]) : "", v.inners.InnerArray_count,
				v.inners.InnerArray_count > 0 ? S(v.inners.InnerArray[0].label) : "", S(v.text), S(v.id),
				fault.faultcode, fault.faultstring, S(fault.detail));
		printf("\n");
		if(result == 0){
			free_Everything_t(&v);
			demo_free_fault(&fault);
		}
	}
	xmlCleanupParser();
	return 0;
}
)";

const char* const Expected[] = {
    "round trip 0",
    "0: 0 f=3.75 flag=1 i=-7 u=4294967295 ul=18446744073709551615 b=0 s=0 d=0 l=0 longs=0/0 words=0/// inners=0/ text= id= fault=||",
    "1: 0 f=0 flag=1 i=0 u=0 ul=0 b=-128 s=-32768 d=1e-300 l=-9223372036854775808 longs=0/0 words=0/// inners=0/ text= id= fault=||",
    "2: 0 f=0 flag=0 i=0 u=0 ul=0 b=0 s=0 d=0 l=0 longs=5/5 words=0/// inners=0/ text= id= fault=||",
    // An empty item takes its slot and stays empty.
    "3: 0 f=0 flag=0 i=0 u=0 ul=0 b=0 s=0 d=0 l=0 longs=0/0 words=3/a//b inners=0/ text= id= fault=||",
    "4: 0 f=0 flag=0 i=0 u=0 ul=0 b=0 s=0 d=0 l=0 longs=0/0 words=0/// inners=1/x text=kept id=q fault=||",
    "5: 0 f=0 flag=0 i=0 u=0 ul=0 b=0 s=0 d=0 l=0 longs=0/0 words=0/// inners=0/ text= id= fault=f:Client|bad & worse|<d>inner</d>tail",
    // Out of the member's range, a sign on an unsigned value, not a number;
    // 13 and 14 (texts of 300 bytes) where texts are fixed arrays of 128.
    "6: -1", "7: -1", "8: -1", "9: -1", "10: -1", "11: -1", "12: -1", "13", "14",
    "15: 0 f=0 flag=0 i=0 u=0 ul=0 b=0 s=0 d=0 l=0 longs=6/5 words=0/// inners=0/ text= id= fault=||",
    "16: 0 f=0 flag=0 i=0 u=0 ul=0 b=0 s=0 d=0 l=0 longs=20/5 words=0/// inners=0/ text= id= fault=||",
    // A required text that is missing, a required structure that is missing.
    "17: -1", "18: -1", "19: -1",
    "20: 0 f=0 flag=0 i=0 u=0 ul=0 b=0 s=0 d=0 l=0 longs=0/0 words=2/a/b/ inners=0/ text= id= fault=||",
    "21: 0 f=0 flag=0 i=0 u=0 ul=0 b=0 s=0 d=4.94066e-324 l=0 longs=0/0 words=0/// inners=0/ text= id= fault=||",
    "22: 0 f=0 flag=0 i=0 u=0 ul=0 b=0 s=0 d=-0 l=0 longs=0/0 words=0/// inners=0/ text= id= fault=||",
    "23: -1",
    "24: 0 f=0 flag=0 i=5 u=6 ul=0 b=0 s=0 d=0 l=0 longs=0/0 words=0/// inners=0/ text= id= fault=||",
    "25: -1",
    "26: 0 f=0 flag=0 i=0 u=0 ul=0 b=0 s=0 d=0 l=0 longs=0/0 words=0/// inners=0/ text= id= fault=||",
    "27: -1", "28: -1", "29: -1", "30: -1",
    "31: 0 f=0 flag=0 i=0 u=0 ul=0 b=0 s=0 d=0 l=0 longs=0/0 words=0/// inners=0/ text= id= fault=||",
    "32: 0 f=0 flag=0 i=5 u=0 ul=0 b=0 s=0 d=0 l=0 longs=0/0 words=0/// inners=0/ text= id= fault=||",
};

// What cases 13 and 14 give: a text of 300 bytes fails a fixed array of 128
// (saying which member and how long), and is held whole where texts are allocated.
std::string expectedOutput(bool allocated)
{
    const std::string x300(300, 'x');
    std::string text = joinedLines(Expected);
    const std::string empty = " f=0 flag=0 i=0 u=0 ul=0 b=0 s=0 d=0 l=0 longs=0/0 words=0/// inners=0/ text=";
    text.replace(text.find("\n13\n"), 4, allocated ? "\n13: 0" + empty + x300 + " id= fault=||\n" : "\n13: -1\n");
    text.replace(text.find("\n14\n"), 4, allocated ? "\n14: 0" + empty + " id=" + x300 + " fault=||\n" : "\n14: -1\n");
    if (allocated)
        text.insert(text.find('\n') + 1, "100000 characters 0\n");
    return text;
}

class ResponseDecodersTest : public CodecTest {};

// Each way of holding texts: allocated (the default) and fixed arrays.
TEST_F(ResponseDecodersTest, RoundTripAndConversions)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    for (const bool allocated : {true, false}) {
        SCOPED_TRACE(allocated ? "allocated texts" : "fixed texts");
        emitCodecHeader(allocated);
        std::string long20;
        for (int i = 1; i <= 20; ++i)
            long20 += "<Long>" + std::to_string(i) + "</Long>";
        const std::string text300 = "#define T300 \"" + std::string(300, 'x') + "\"\n#define L20 \"" + long20 + "\"\n";
        const std::string mode = textSetter(allocated) + "#define LONG_TEXT " + (allocated ? "100000" : "0") + "\n";
        const std::string source = emitSourceWithReaders() + LoopbackPeer + mode + FillEverything + text300 + Driver;
        const RunResult run =
            buildAndRunC("#include \"demo_api.c\"\n", {{"demo_api.h", headerText()}, {"demo_api.c", source}}, true);
        ASSERT_EQ(run.status, 0) << run.messages << run.output;
        EXPECT_EQ(run.output, expectedOutput(allocated));
    }
}

// Nil read back and written again: a single nillable element keeps its
// flag; a nil item of a repeated nillable element keeps its place as an
// empty item with its flag set, and is written again as nil with the items
// around it; the caller's flags make items nil.
const char* const NilDriver = R"(
int main(void)
{
	static const char *xml = "<n xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><one xsi:nil=\"true\"/>"
		"<many>1</many><many xsi:nil=\"true\"/><many>3</many><words>a</words><words xsi:nil=\"1\"/></n>";
	static char body[4096];
	mycursor_t cursor;
	demo_Nils_t v;
	xmlDocPtr doc = xmlReadMemory(xml, (int)strlen(xml), "nil.xml", NULL, XML_PARSE_NONET);
	int result;

	memset(&v, 0, sizeof(v));
	result = decode_Nils_t(doc, xmlDocGetRootElement(doc), &v);
	xmlFreeDoc(doc);
	printf("%d one_nil=%d many=%d", result, v.one_nil, v.many_count);
	for(result = 0; result < v.many_count; result++)
		printf(" %d", v.many[result]);
	printf(" words=%d %s|%s", v.words_count, v.words_count > 0 ? v.words[0] : "", v.words_count > 1 ? v.words[1] : "");
	printf(" nil=%d%d%d/%d%d\n", v.many_nil[0], v.many_nil[1], v.many_nil[2], v.words_nil[0], v.words_nil[1]);
	mycursor_init(&cursor, body, sizeof(body));
	printf("%d %s\n", encode_Nils_t(&cursor, "n", &v, 0), body);
	free_Nils_t(&v);
	/* the caller's items: without flags none is nil, a flag makes its item nil */
	{
		int items[2] = {4, 5}, flags[2] = {0, 1};
		memset(&v, 0, sizeof(v));
		v.many = items;
		v.many_count = 2;
		mycursor_init(&cursor, body, sizeof(body));
		printf("%d %s\n", encode_Nils_t(&cursor, "n", &v, 0), body);
		v.many_nil = flags;
		mycursor_init(&cursor, body, sizeof(body));
		printf("%d %s\n", encode_Nils_t(&cursor, "n", &v, 0), body);
	}
	/* nil or not, a required element must stand */
	doc = xmlReadMemory("<n><many>1</many></n>", 21, "none.xml", NULL, XML_PARSE_NONET);
	memset(&v, 0, sizeof(v));
	printf("without one: %d\n", decode_Nils_t(doc, xmlDocGetRootElement(doc), &v));
	xmlFreeDoc(doc);
	free_Nils_t(&v);
	xmlCleanupParser();
	return 0;
}
)";

TEST_F(ResponseDecodersTest, NilItemsKeepTheirPlace)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    project_.textLength = 128; // the driver reads texts in place
    view(schemaDocument("<xsd:complexType name=\"Nils\"><xsd:sequence>"
                        "<xsd:element name=\"one\" type=\"xsd:int\" nillable=\"true\"/>"
                        "<xsd:element name=\"many\" type=\"xsd:int\" maxOccurs=\"unbounded\" nillable=\"true\"/>"
                        "<xsd:element name=\"words\" type=\"xsd:string\" maxOccurs=\"unbounded\" nillable=\"true\"/>"
                        "</xsd:sequence></xsd:complexType>"));
    emitHeader("demo");
    const RunResult run = buildAndRunC("#include \"demo_api.c\"\n",
                                       {{"demo_api.h", headerText()}, {"demo_api.c", emitSourceWithReaders() + NilDriver}},
                                       true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, "0 one_nil=1 many=3 1 0 3 words=2 a| nil=010/01\n"
                          "0 <n><one xsi:nil=\"true\"/><many>1</many><many xsi:nil=\"true\"/><many>3</many>"
                          "<words>a</words><words xsi:nil=\"true\"/></n>\n"
                          "0 <n><one>0</one><many>4</many><many>5</many></n>\n"
                          "0 <n><one>0</one><many>4</many><many xsi:nil=\"true\"/></n>\n"
                          "without one: -1\n");
}

// Elements of anyType (declared so, or without a type) hold their content
// as markup, allocated with its length: text escaped, elements with the
// namespaces they use; it is written back as it came.
const char* const AnyDriver = R"(
#define SHOWN(text) ((text) != NULL ? (text) : "-")
static void read_and_write(const char *xml)
{
	static char body[4096];
	char error[DEMO_MAX_DECODE_ERROR_LEN + 1] = "";
	mycursor_t cursor;
	demo_Open_t v;
	xmlDocPtr doc = xmlReadMemory(xml, (int)strlen(xml), "any.xml", NULL, XML_PARSE_NONET);
	int result;

	doc->_private = error;
	memset(&v, 0, sizeof(v));
	result = decode_Open_t(doc, xmlDocGetRootElement(doc), &v);
	xmlFreeDoc(doc);
	printf("%d [%s] [%s] %d %s\n", result, SHOWN(v.typed), SHOWN(v.untyped), v.untyped_present, error);
	mycursor_init(&cursor, body, sizeof(body));
	if(result == 0){
		result = encode_Open_t(&cursor, "o", &v, 0);
		printf("%d %s\n", result, body);
	}
	free_Open_t(&v);
}

int main(void)
{
	read_and_write("<o xmlns:p=\"urn:p\"><typed>a &amp; b<p:x k=\"1\">in</p:x></typed><untyped><![CDATA[<c>]]></untyped></o>");
	read_and_write("<o><typed/></o>");
	read_and_write("<o><typed>" LONG_TEXT "</typed></o>");
	xmlCleanupParser();
	return 0;
}
)";

TEST_F(ResponseDecodersTest, AnyTypeContentIsKeptAsMarkup)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    view(schemaDocument("<xsd:complexType name=\"Open\"><xsd:sequence>"
                        "<xsd:element name=\"typed\" type=\"xsd:anyType\"/>"
                        "<xsd:element name=\"untyped\" minOccurs=\"0\"/>"
                        "</xsd:sequence></xsd:complexType>"));
    emitHeader("demo");
    const std::string longText = "#define LONG_TEXT \"" + std::string(200, 'y') + "\"\n";
    const RunResult run = buildAndRunC("#include \"demo_api.c\"\n",
                                       {{"demo_api.h", headerText()},
                                        {"demo_api.c", emitSourceWithReaders() + longText + AnyDriver}},
                                       true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_NE(headerText().find("//untyped: element untyped (no namespace), optional, its content as markup"),
              std::string::npos);
    const std::string markup = "a &amp; b<p:x xmlns:p=\"urn:p\" k=\"1\">in</p:x>";
    const std::string longText200(200, 'y');
    EXPECT_EQ(run.output, "0 [" + markup + "] [&lt;c&gt;] 1 \n"
                          "0 <o><typed>" + markup + "</typed><untyped>&lt;c&gt;</untyped></o>\n"
                          "0 [] [-] 0 \n"
                          "0 <o><typed></typed></o>\n"
                          "0 [" + longText200 + "] [-] 0 \n"
                          "0 <o><typed>" + longText200 + "</typed></o>\n");
}

// A binary text is allocated with its length: one far beyond the default
// text length is read whole, written back whole, read again over the old
// one (which goes) and freed with the struct; NULL is written as empty,
// and a freed optional one is not written at all.
const char* const BinaryDriver = R"(
static void read_into(demo_Blob_t *v, const char *xml)
{
	xmlDocPtr doc = xmlReadMemory(xml, (int)strlen(xml), "blob.xml", NULL, XML_PARSE_NONET);
	printf("%d ", decode_Blob_t(doc, xmlDocGetRootElement(doc), v));
	xmlFreeDoc(doc);
}

int main(void)
{
	static char xml[20000], body[20000];
	mycursor_t cursor;
	demo_Blob_t v;
	size_t i;

	strcpy(xml, "<b><data>");
	for(i = 0; i < 10000; i++)
		strcat(xml, i % 2 ? "A" : "Q");
	strcat(xml, "</data><hex>0A1B</hex></b>");
	memset(&v, 0, sizeof(v));
	read_into(&v, xml);
	printf("%d %s\n", (int)strlen(v.data), v.hex);
	mycursor_init(&cursor, body, sizeof(body));
	i = (size_t)encode_Blob_t(&cursor, "b", &v, 0);
	printf("%d %d\n", (int)i, strcmp(body, xml) == 0);
	read_into(&v, "<b><data>QUJD</data></b>");
	printf("%s %s\n", v.data, v.hex);
	free_Blob_t(&v);
	printf("%p %p\n", (void *)v.data, (void *)v.hex);
	mycursor_init(&cursor, body, sizeof(body));
	printf("%d %s\n", encode_Blob_t(&cursor, "b", &v, 0), body);
	xmlCleanupParser();
	return 0;
}
)";

TEST_F(ResponseDecodersTest, BinariesAreAllocatedWithTheirLength)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    view(schemaDocument("<xsd:complexType name=\"Blob\"><xsd:sequence>"
                        "<xsd:element name=\"data\" type=\"xsd:base64Binary\"/>"
                        "<xsd:element name=\"hex\" type=\"xsd:hexBinary\" minOccurs=\"0\"/>"
                        "</xsd:sequence></xsd:complexType>"));
    emitHeader("demo");
    EXPECT_NE(headerText().find("\tchar\t*data;\r\n\tchar\t*hex;\r\n\tint\thex_present;"), std::string::npos);
    const RunResult run = buildAndRunC("#include \"demo_api.c\"\n",
                                       {{"demo_api.h", headerText()}, {"demo_api.c", emitSourceWithReaders() + BinaryDriver}},
                                       true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, "0 10000 0A1B\n"
                          "0 1\n"
                          "0 QUJD 0A1B\n"
                          "(nil) (nil)\n"
                          "0 <b><data></data></b>\n");
}

// Repeated binaries and binary attributes are allocated too, item by item:
// long ones read whole and written back as they came (an empty item keeps
// its place), each item freed with the struct; a freed nested struct's
// presence flag goes with it, so the struct written again is empty.
const char* const BinaryItemsDriver = R"(
static void read_into(demo_Blobs_t *v, const char *xml)
{
	xmlDocPtr doc = xmlReadMemory(xml, (int)strlen(xml), "blobs.xml", NULL, XML_PARSE_NONET);
	printf("%d ", decode_Blobs_t(doc, xmlDocGetRootElement(doc), v));
	xmlFreeDoc(doc);
}

static void append_run(char *to, const char *unit, int times)
{
	while(times-- > 0)
		strcat(to, unit);
}

int main(void)
{
	static char xml[40000], body[40000];
	mycursor_t cursor;
	demo_Blobs_t v;
	int i;

	strcpy(xml, "<b sig=\"");
	append_run(xml, "0A", 150);
	strcat(xml, "\"><part>QUJD</part><part>");
	append_run(xml, "QUJD", 2500);
	strcat(xml, "</part><part></part><part>QQ==</part><next sig=\"FF\"><part>Qg==</part></next></b>");
	memset(&v, 0, sizeof(v));
	read_into(&v, xml);
	printf("%d %d", v.part_count, (int)strlen(v.sig));
	for(i = 0; i < v.part_count; i++)
		printf(" %d", v.part[i] != NULL ? (int)strlen(v.part[i]) : -1);
	printf(" %d %s %s\n", v.next_present, v.next->sig, v.next->part[0]);
	mycursor_init(&cursor, body, sizeof(body));
	i = encode_Blobs_t(&cursor, "b", &v, 0);
	printf("%d %d\n", i, strcmp(body, xml) == 0);
	free_Blobs_t(&v);
	printf("%p %d %p %p %d\n", (void *)v.part, v.part_count, (void *)v.sig, (void *)v.next, v.next_present);
	mycursor_init(&cursor, body, sizeof(body));
	printf("%d %s\n", encode_Blobs_t(&cursor, "b", &v, 0), body);
	xmlCleanupParser();
	return 0;
}
)";

TEST_F(ResponseDecodersTest, RepeatedBinariesAndBinaryAttributesAreAllocated)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    view(schemaDocument("<xsd:complexType name=\"Blobs\"><xsd:sequence>"
                        "<xsd:element name=\"part\" type=\"xsd:base64Binary\" maxOccurs=\"unbounded\"/>"
                        "<xsd:element name=\"next\" type=\"tns:Blobs\" minOccurs=\"0\"/>"
                        "</xsd:sequence><xsd:attribute name=\"sig\" type=\"xsd:hexBinary\"/></xsd:complexType>"));
    emitHeader("demo");
    EXPECT_NE(headerText().find("\tchar\t*sig;\r\n\tchar\t**part;\r\n\tint\tpart_count;"), std::string::npos)
        << headerText();
    const RunResult run = buildAndRunC("#include \"demo_api.c\"\n",
                                       {{"demo_api.h", headerText()},
                                        {"demo_api.c", emitSourceWithReaders() + BinaryItemsDriver}},
                                       true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, "0 4 300 4 10000 -1 4 1 FF Qg==\n"
                          "0 1\n"
                          "(nil) 0 (nil) (nil) 0\n"
                          "0 <b></b>\n");
}

// Storage that cannot grow: the decoders' realloc fails from a given call
// on, so an array is full at 4 items (the first block) or at 8.
const char* const FullArrayPrelude = R"(#include <stdlib.h>
static int grow_calls_left;
static void *failing_realloc(void *items, size_t size)
{
	return grow_calls_left-- > 0 ? realloc(items, size) : NULL;
}
#define realloc failing_realloc
#include "demo_api.c"
#undef realloc
)";

const char* const FullArrayDriver = R"(
int main(void)
{
	static const char *xml = "<n><many>1</many><many>2</many><many>3</many><many>4</many><many>5</many>"
		"<many>6</many><many>7</many><many>8</many><many>9</many></n>";
	char error[DEMO_MAX_DECODE_ERROR_LEN + 1];
	demo_Many_t v;
	int budget;

	for(budget = 0; budget <= 2; budget++){
		xmlDocPtr doc = xmlReadMemory(xml, (int)strlen(xml), "full.xml", NULL, XML_PARSE_NONET);
		int result;

		error[0] = '\0';
		doc->_private = error;
		memset(&v, 0, sizeof(v));
		grow_calls_left = budget;
		result = decode_Many_t(doc, xmlDocGetRootElement(doc), &v);
		printf("%d %d %d %s\n", budget, result, v.many_count, error);
		free_Many_t(&v);
		xmlFreeDoc(doc);
	}
	xmlCleanupParser();
	return 0;
}
)";

TEST_F(ResponseDecodersTest, AFullArrayNamesItsMember)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    view(schemaDocument("<xsd:complexType name=\"Many\"><xsd:sequence>"
                        "<xsd:element name=\"many\" type=\"xsd:int\" maxOccurs=\"unbounded\"/>"
                        "</xsd:sequence></xsd:complexType>"));
    emitHeader("demo");
    const RunResult run = buildAndRunC(FullArrayPrelude, {{"demo_api.h", headerText()},
                                                          {"demo_api.c", emitSourceWithReaders() + FullArrayDriver}},
                                       true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, "0 -1 0 demo_Many_t.many: no room for item 1\n"
                          "1 -1 4 demo_Many_t.many: no room for item 5\n"
                          "2 -1 8 demo_Many_t.many: no room for item 9\n");
}

// Attributes and elements of number, boolean and date types are read only
// in their lexical forms (a sign where XML Schema allows one, the days a
// month has, a zone up to 14 hours); the first failure names the member and
// why.
const char* const LexicalDriver = R"(
static const char *const cases[] = {
	"<v count=\"+5\" ok=\" true \" since=\"2024-02-29T24:00:00+14:00\" big=\"-0\"/>",
	"<v since=\"-0044-03-15T12:00:00.5Z\"><day>2000-02-29</day><at>23:59:59.999</at><amount>-1.50</amount></v>",
	"<v since=\"12024-01-01T00:00:00\"><day>2024-01-01Z</day><at>12:00:00-05:00</at></v>",
	"<v count=\"abc\"/>",
	"<v count=\"2147483648\"/>",
	"<v count=\"\"/>",
	"<v ok=\"yes\"/>",
	"<v big=\"1.0\"/>",
	"<v since=\"not-a-date\"/>",
	"<v since=\"2023-02-29T00:00:00\"/>",
	"<v since=\"2024-01-01T24:00:01\"/>",
	"<v since=\"2024-01-01T10:00:00+14:30\"/>",
	"<v since=\"0000-01-01T00:00:00\"/>",
	"<v since=\"02024-01-01T00:00:00\"/>",
	"<v since=\"2024-1-01T00:00:00\"/>",
	"<v since=\"2024-01-01\"/>",
	"<v><day>1900-02-29</day></v>",
	"<v><day>2024-13-01</day></v>",
	"<v><day/></v>",
	"<v><at>25:00:00</at></v>",
	"<v><at>12:00</at></v>",
	"<v><amount>1,5</amount></v>",
};

int main(void)
{
	size_t c;

	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++){
		char error[DEMO_MAX_DECODE_ERROR_LEN + 1] = "";
		demo_Typed_t v;
		xmlDocPtr doc = xmlReadMemory(cases[c], (int)strlen(cases[c]), "typed.xml", NULL, XML_PARSE_NONET);
		int result;

		doc->_private = error;
		memset(&v, 0, sizeof(v));
		result = decode_Typed_t(doc, xmlDocGetRootElement(doc), &v);
		xmlFreeDoc(doc);
		if(result == 0)
			printf("%d: %s|%s|%s|%s|%s|%s|%s\n", (int)c, v.count, v.ok, v.since, v.big, v.day, v.at, v.amount);
		else
			printf("%d: %d %s\n", (int)c, result, error);
	}
	xmlCleanupParser();
	return 0;
}
)";

TEST_F(ResponseDecodersTest, LexicalFormsAreCheckedWithTheirCause)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    project_.textLength = 128; // the driver reads texts in place
    view(schemaDocument("<xsd:complexType name=\"Typed\"><xsd:sequence>"
                        "<xsd:element name=\"day\" type=\"xsd:date\" minOccurs=\"0\"/>"
                        "<xsd:element name=\"at\" type=\"xsd:time\" minOccurs=\"0\"/>"
                        "<xsd:element name=\"amount\" type=\"xsd:decimal\" minOccurs=\"0\"/>"
                        "</xsd:sequence><xsd:attribute name=\"count\" type=\"xsd:int\"/>"
                        "<xsd:attribute name=\"ok\" type=\"xsd:boolean\"/><xsd:attribute name=\"since\" type=\"xsd:dateTime\"/>"
                        "<xsd:attribute name=\"big\" type=\"xsd:integer\"/></xsd:complexType>"));
    emitHeader("demo");
    const RunResult run = buildAndRunC("#include \"demo_api.c\"\n",
                                       {{"demo_api.h", headerText()}, {"demo_api.c", emitSourceWithReaders() + LexicalDriver}},
                                       true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, "0: +5| true |2024-02-29T24:00:00+14:00|-0|||\n"
                          "1: ||-0044-03-15T12:00:00.5Z||2000-02-29|23:59:59.999|-1.50\n"
                          "2: ||12024-01-01T00:00:00||2024-01-01Z|12:00:00-05:00|\n"
                          "3: -1 demo_Typed_t.count: \"abc\" (3 bytes) is no xsd:int\n"
                          "4: -1 demo_Typed_t.count: \"2147483648\" (10 bytes) is no xsd:int\n"
                          "5: -1 demo_Typed_t.count: \"\" (0 bytes) is no xsd:int\n"
                          "6: -1 demo_Typed_t.ok: \"yes\" (3 bytes) is no xsd:boolean\n"
                          "7: -1 demo_Typed_t.big: \"1.0\" (3 bytes) is no xsd:integer\n"
                          "8: -1 demo_Typed_t.since: \"not-a-date\" (10 bytes) is no xsd:dateTime\n"
                          "9: -1 demo_Typed_t.since: \"2023-02-29T00:00:00\" (19 bytes) is no xsd:dateTime\n"
                          "10: -1 demo_Typed_t.since: \"2024-01-01T24:00:01\" (19 bytes) is no xsd:dateTime\n"
                          "11: -1 demo_Typed_t.since: \"2024-01-01T10:00:00+14:30\" (25 bytes) is no xsd:dateTime\n"
                          "12: -1 demo_Typed_t.since: \"0000-01-01T00:00:00\" (19 bytes) is no xsd:dateTime\n"
                          "13: -1 demo_Typed_t.since: \"02024-01-01T00:00:00\" (20 bytes) is no xsd:dateTime\n"
                          "14: -1 demo_Typed_t.since: \"2024-1-01T00:00:00\" (18 bytes) is no xsd:dateTime\n"
                          "15: -1 demo_Typed_t.since: \"2024-01-01\" (10 bytes) is no xsd:dateTime\n"
                          "16: -1 demo_Typed_t.day: \"1900-02-29\" (10 bytes) is no xsd:date\n"
                          "17: -1 demo_Typed_t.day: \"2024-13-01\" (10 bytes) is no xsd:date\n"
                          "18: -1 demo_Typed_t.day: no value\n"
                          "19: -1 demo_Typed_t.at: \"25:00:00\" (8 bytes) is no xsd:time\n"
                          "20: -1 demo_Typed_t.at: \"12:00\" (5 bytes) is no xsd:time\n"
                          "21: -1 demo_Typed_t.amount: \"1,5\" (3 bytes) is no xsd:decimal\n");
}

} // namespace

namespace {

// The decoders' helpers stand before the decoders, each once, exactly when
// some decoder calls it.
TEST_F(ResponseDecodersTest, HelpersStandOnceBeforeTheirCallsWhenCalled)
{
    const char* const helpers[] = {"mydecode_grow", "mydecode_nil", "mydecode_content", "mydecode_markupdup",
                                   "mydecode_dump"};
    const struct {
        const char* name;
        const char* element; // inside a complex type's sequence
        std::vector<std::string> called;
    } cases[] = {
        {"plain values", "<xsd:element name=\"v\" type=\"xsd:int\"/>", {}},
        {"repeated", "<xsd:element name=\"v\" type=\"xsd:int\" maxOccurs=\"unbounded\"/>", {"mydecode_grow"}},
        {"nillable", "<xsd:element name=\"v\" type=\"xsd:int\" nillable=\"true\"/>", {"mydecode_nil"}},
        {"nillable repeated", "<xsd:element name=\"v\" type=\"xsd:int\" maxOccurs=\"unbounded\" nillable=\"true\"/>",
         {"mydecode_grow", "mydecode_nil"}},
        {"any type", "<xsd:element name=\"v\" type=\"xsd:anyType\"/>", {"mydecode_content", "mydecode_dump"}},
        {"any element", "<xsd:any namespace=\"##other\"/>", {"mydecode_markupdup", "mydecode_dump"}},
    };
    // The fault's decoder reads its detail as markup in every service.
    const std::vector<std::string> calledByTheFault = {"mydecode_content", "mydecode_dump"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        view(schemaDocument(std::string("<xsd:complexType name=\"T\"><xsd:sequence>") + c.element +
                            "</xsd:sequence></xsd:complexType>"));
        emitHeader("demo");
        const std::string source = emitSourceWithReaders();
        const std::size_t decoder = source.find("static int decode_T_t(xmlDocPtr doc, xmlNodePtr cur, demo_T_t *value)\r\n");
        ASSERT_NE(decoder, std::string::npos);
        for (const char* helper : helpers) {
            SCOPED_TRACE(helper);
            const std::string definition = std::string(helper) + "(xml";
            const std::size_t defined = source.find(definition);
            const bool wanted = std::find(c.called.begin(), c.called.end(), helper) != c.called.end() ||
                std::find(calledByTheFault.begin(), calledByTheFault.end(), helper) != calledByTheFault.end();
            ASSERT_EQ(defined != std::string::npos, wanted);
            if (!wanted)
                continue;
            EXPECT_EQ(source.find(definition, defined + 1), std::string::npos);
            EXPECT_EQ(source.find(std::string(helper) + "("), defined); // no call before it
            EXPECT_LT(defined, decoder);
        }
    }
}

} // namespace
