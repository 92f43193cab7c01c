// The generated encoders, compiled and run: values of every mapped type,
// attributes, nested types and arrays are written as XML that libxml2 reads
// back to the same values; text that does not fit gives -1 and no overflow.

#include "CodecFixture.h"

using namespace gentest;

namespace {

// Fills a value, encodes it, reads the text back with libxml2 and prints
// every attribute and text as path=value; then encodes into a buffer too
// small and prints the result.
const std::string Driver = std::string("#include \"demo_api.c\"\n") + FillEverything + R"(

/* The connection set-up links against these; nothing here connects. */
int tessaro_connect_host(tessaro_socket_t *sock, const char *ip, tessaro_port_t port, tessaro_usec_t timeout)
{ (void)sock; (void)ip; (void)port; (void)timeout; return -1; }
int tessaro_socket_close(tessaro_socket_t sock) { (void)sock; return 0; }
int tessaro_socket_send_all(tessaro_socket_t sock, const void *buf, tessaro_size_t len, tessaro_size_t *sent, tessaro_usec_t timeout)
{ (void)sock; (void)buf; (void)len; (void)sent; (void)timeout; return -1; }
int tessaro_socket_recv(tessaro_socket_t sock, void *buf, tessaro_size_t *len, tessaro_usec_t timeout)
{ (void)sock; (void)buf; (void)len; (void)timeout; return -1; }
int tessaro_tls_recv(tessaro_tls_t *tls, void *buf, tessaro_size_t *len, tessaro_usec_t timeout)
{ (void)tls; (void)buf; (void)len; (void)timeout; return -1; }
int tessaro_tls_send_all(tessaro_tls_t *tls, const void *buf, tessaro_size_t len, tessaro_size_t *sent, tessaro_usec_t timeout)
{ (void)tls; (void)buf; (void)len; (void)sent; (void)timeout; return -1; }
tessaro_usec_t tessaro_clock_usec(void) { return 0; }
/* no message here carries WS-Security settings */
int tessaro_wsse_secure(const tessaro_wsse_t *settings, const char *xml, size_t length, char **out, size_t *out_length, char *why, size_t why_size)
{ (void)settings; (void)xml; (void)length; (void)out; (void)out_length; (void)why; (void)why_size; return -1; }

static void dump(xmlNodePtr node, const char *path)
{
	char here[512];
	xmlAttrPtr attribute;
	xmlChar *text;
	for(; node != NULL; node = node->next){
		if(node->type != XML_ELEMENT_NODE)
			continue;
		snprintf(here, sizeof(here), "%s/%s", path, (const char *)node->name);
		for(attribute = node->properties; attribute != NULL; attribute = attribute->next){
			text = xmlGetProp(node, attribute->name);
			printf("%s@%s=%s\n", here, (const char *)attribute->name, (const char *)text);
			xmlFree(text);
		}
		if(node->children != NULL && node->children->type == XML_TEXT_NODE && node->children->next == NULL){
			text = xmlNodeGetContent(node);
			printf("%s=%s\n", here, (const char *)text);
			xmlFree(text);
		}
		dump(node->children, here);
	}
}

int main(void)
{
	static char out[65536];
	char small[200];
	mycursor_t cursor;
	demo_Everything_t v;
	xmlDocPtr doc;

	fill_everything(&v);
	v.longs.LongArray_count = 5; /* items the caller left zero */

	mycursor_init(&cursor, out, sizeof(out));
	printf("result=%d\n", encode_Everything_t(&cursor, "all", &v, 0));
	doc = xmlReadMemory(out, (int)strlen(out), "encoded.xml", NULL, XML_PARSE_NONET);
	if(doc == NULL){
		printf("not well-formed: %s\n", out);
		return 1;
	}
	dump(xmlDocGetRootElement(doc), "");
	xmlFreeDoc(doc);
	xmlCleanupParser();

	memset(small, 'z', sizeof(small));
	mycursor_init(&cursor, small, 100);
	printf("small=%d end=%d guard=%c\n", encode_Everything_t(&cursor, "all", &v, 0), (int)strlen(small) < 100, small[150]);
	return 0;
}
)";

const char* const Expected[] = {
    "result=0",
    "/all@id=a<b&\"c'",
    "/all/i=-42",
    "/all/b=-100",
    "/all/flag=1",
    "/all/u=4000000000",
    "/all/l=-9000000000",
    "/all/ul=18446744073709551615",
    "/all/s=-300",
    "/all/us=65535",
    "/all/f=3.75",
    "/all/d=0.1",
    "/all/text=x < y && \xc3\xa9t\xc3\xa9 \"q\"",
    "/all/when=2024-01-02T03:04:05Z",
    "/all/ratio=-1.5000000000000001e+300",
    "/all/inner/label=in",
    "/all/inners@SOAP-ENC:arrayType=ns1:Inner[2]",
    "/all/inners/Inner/label=one",
    "/all/inners/Inner/label=t>o",
    "/all/words@SOAP-ENC:arrayType=xsd:string[3]",
    "/all/words/Word=w1",
    "/all/words/Word=&w2",
    "/all/words/Word=w3",
    // Exactly count items, also those left zero.
    "/all/longs@SOAP-ENC:arrayType=xsd:long[5]",
    "/all/longs/Long=7",
    "/all/longs/Long=0",
    "/all/longs/Long=0",
    "/all/longs/Long=0",
    "/all/longs/Long=0",
    "small=-1 end=1 guard=z",
};

class TypeEncodersTest : public CodecTest {};

// Each way of holding texts: allocated (the default) and fixed arrays.
TEST_F(TypeEncodersTest, EncodedValuesReadBackExactly)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    for (const bool allocated : {true, false}) {
        SCOPED_TRACE(allocated ? "allocated texts" : "fixed texts");
        emitCodecHeader(allocated);
        const RunResult run = buildAndRunC(textSetter(allocated) + Driver,
                                           {{"demo_api.h", headerText()}, {"demo_api.c", emitPartialSource()}});
        ASSERT_EQ(run.status, 0) << run.messages << run.output;
        EXPECT_EQ(run.output, joinedLines(Expected));
    }
}

} // namespace
