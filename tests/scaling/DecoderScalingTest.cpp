// The generated decoder's work grows linearly with the message: a message
// of N items (numbers read item by item, structs read straight into their
// struct) and one nested N deep, each counted at N and at 4N in a driver
// built without the sanitizers; the structs and the nesting also through the
// tree, which a SOAP Header in the message asks for.

#include "GeneratorTestSupport.h"
#include "InstructionCount.h"
#include "LoopbackPeer.h"

using namespace gentest;

namespace {

std::string itemsDocument()
{
    return wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\" elementFormDefault=\"qualified\">"
        "<xsd:complexType name=\"Point\"><xsd:sequence><xsd:element name=\"x\" type=\"xsd:int\"/>"
        "<xsd:element name=\"label\" type=\"xsd:string\"/></xsd:sequence></xsd:complexType>"
        "<xsd:complexType name=\"Node\"><xsd:sequence><xsd:element name=\"name\" type=\"xsd:string\"/>"
        "<xsd:element name=\"inner\" type=\"tns:Node\" minOccurs=\"0\"/></xsd:sequence></xsd:complexType>"
        "<xsd:element name=\"Numbers\"><xsd:complexType><xsd:sequence>"
        "<xsd:element name=\"item\" type=\"xsd:int\" maxOccurs=\"unbounded\"/></xsd:sequence></xsd:complexType></xsd:element>"
        "<xsd:element name=\"Points\"><xsd:complexType><xsd:sequence>"
        "<xsd:element name=\"point\" type=\"tns:Point\" maxOccurs=\"unbounded\"/></xsd:sequence>"
        "</xsd:complexType></xsd:element>"
        "<xsd:element name=\"Tree\"><xsd:complexType><xsd:sequence><xsd:element name=\"root\" type=\"tns:Node\"/>"
        "</xsd:sequence></xsd:complexType></xsd:element>"
        "<xsd:element name=\"Count\" type=\"xsd:int\"/></xsd:schema></types>\n"
        "<message name=\"NumbersIn\"><part name=\"p\" element=\"tns:Numbers\"/></message>"
        "<message name=\"PointsIn\"><part name=\"p\" element=\"tns:Points\"/></message>"
        "<message name=\"TreeIn\"><part name=\"p\" element=\"tns:Tree\"/></message>"
        "<message name=\"CountOut\"><part name=\"c\" element=\"tns:Count\"/></message>"
        "<portType name=\"P\">"
        "<operation name=\"SendNumbers\"><input message=\"tns:NumbersIn\"/><output message=\"tns:CountOut\"/></operation>"
        "<operation name=\"SendPoints\"><input message=\"tns:PointsIn\"/><output message=\"tns:CountOut\"/></operation>"
        "<operation name=\"SendTree\"><input message=\"tns:TreeIn\"/><output message=\"tns:CountOut\"/></operation>"
        "</portType><binding name=\"B\" type=\"tns:P\"><soap:binding style=\"document\" "
        "transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
        "<operation name=\"SendNumbers\"><soap:operation soapAction=\"\"/><input><soap:body use=\"literal\"/></input>"
        "<output><soap:body use=\"literal\"/></output></operation>"
        "<operation name=\"SendPoints\"><soap:operation soapAction=\"\"/><input><soap:body use=\"literal\"/></input>"
        "<output><soap:body use=\"literal\"/></output></operation>"
        "<operation name=\"SendTree\"><soap:operation soapAction=\"\"/><input><soap:body use=\"literal\"/></input>"
        "<output><soap:body use=\"literal\"/></output></operation></binding>\n");
}

// "program CASE N [header]": writes the case's request of size N (with a
// Header when asked), reads it with the
// packet reader counted, and prints how many items or how deep it read, so
// that a count of a message that failed or was read short never passes.
const char* const Driver = R"(
#include <valgrind/callgrind.h>

static char body[1 << 22];
static size_t used;

static void put(const char *text)
{
	size_t length = strlen(text);
	if(used + length < sizeof(body)){
		memcpy(body + used, text, length);
		used += length;
	}
}

static int depth(const demo_Node_t *node)
{
	int d = 0;
	for(; node != NULL; node = node->inner_present ? node->inner : NULL)
		d++;
	return d;
}

int main(int argc, char **argv)
{
	static char request[(1 << 22) + 100];
	static demo_proto_packet_t pk;
	const char *kind = argc > 2 ? argv[1] : "";
	int header = argc > 3;
	int n = argc > 2 ? atoi(argv[2]) : 0, i, result;
	char piece[64];

	put("<?xml version=\"1.0\"?>\n<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\">");
	put(header ? "<e:Header></e:Header><e:Body>" : "<e:Body>");
	if(strcmp(kind, "numbers") == 0){
		put("<t:Numbers xmlns:t=\"urn:t\">");
		for(i = 0; i < n; i++){
			snprintf(piece, sizeof(piece), "<t:item>%d</t:item>", i);
			put(piece);
		}
		put("</t:Numbers>");
	}else if(strcmp(kind, "points") == 0){
		put("<t:Points xmlns:t=\"urn:t\">");
		for(i = 0; i < n; i++){
			snprintf(piece, sizeof(piece), "<t:point><t:x>%d</t:x><t:label>p</t:label></t:point>", i);
			put(piece);
		}
		put("</t:Points>");
	}else if(strcmp(kind, "nesting") == 0){
		put("<t:Tree xmlns:t=\"urn:t\"><t:root>");
		for(i = 0; i < n; i++)
			put(i + 1 < n ? "<t:name>n</t:name><t:inner>" : "<t:name>n</t:name>");
		for(i = 1; i < n; i++)
			put("</t:inner>");
		put("</t:root></t:Tree>");
	}else{
		return 2;
	}
	put("</e:Body></e:Envelope>");
	snprintf(request, sizeof(request), "POST /x HTTP/1.1\r\nContent-Length: %lu\r\n\r\n%.*s", (unsigned long)used,
		(int)used, body);

	CALLGRIND_START_INSTRUMENTATION;
	result = read_message(request, &pk);
	CALLGRIND_STOP_INSTRUMENTATION;
	if(result != 0){
		printf("result %d: %s\n", result, pk.decode_error);
		return 1;
	}
	/* what was read: the items or the depth, of the message's own member */
	if(kind[0] == 'n' && kind[1] == 'u')
		printf("%d\n", pk.msg.NumbersIn.Numbers.item_count);
	else if(kind[0] == 'n')
		printf("%d\n", depth(&pk.msg.TreeIn.Tree.root));
	else
		printf("%d\n", pk.msg.PointsIn.Points.point_count);
	demo_free_proto_packet(&pk);
	xmlCleanupParser();
	return 0;
}
)";

struct DecodeCase {
    const char* kind;
    int n;
    bool throughTree;
};

// Sizes at which a cost growing with the square outweighs the linear work
// at 4N; a nesting a generated program reads without hitting a depth bound.
const DecodeCase Cases[] = {
    {"numbers", 2000, false},
    {"points", 1000, false},
    {"points", 1000, true},
    {"nesting", 60, false},
    {"nesting", 60, true},
};

class DecoderScalingTest : public GeneratorTest {};

TEST_F(DecoderScalingTest, ReadingGrowsLinearlyWithItemsAndNesting)
{
    view(itemsDocument());
    const std::string header = emitHeader("demo", programPlatform());
    const std::string source = emitSourceWithReaders() + LoopbackPeer + ReadMessage + Driver;
    testsupport::ScopedWorkingFolder folder;
    testsupport::writeBytes("demo_api.h", header);
    testsupport::writeBytes("demo_api.c", source);
    testsupport::writeBytes("main.c", "#include \"demo_api.c\"\n");
    ASSERT_EQ(buildProgram("main.c", "program", true, false), 0) << testsupport::readBytes("messages.txt");
    for (const DecodeCase& one : Cases) {
        std::uint64_t counts[2] = {};
        for (int size = 0; size < 2; ++size) {
            const int n = size == 0 ? one.n : 4 * one.n;
            counts[size] = scaling::countedInstructions(std::string("./program ") + one.kind + " " + std::to_string(n) +
                                                        (one.throughTree ? " header" : ""));
            EXPECT_EQ(testsupport::readBytes("work.log"), std::to_string(n) + "\n") << one.kind << " at " << n;
        }
        scaling::expectLinear(std::string("decode_") + one.kind + (one.throughTree ? "_through_tree" : ""), counts[0], counts[1]);
    }
}

} // namespace
