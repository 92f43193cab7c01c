// The items of a SOAP-encoded array whose arrayType (SOAP 1.2: itemType)
// names their type go without an xsi:type of their own, as the encoding
// allows: the generated reader takes such items exactly as it takes items
// that repeat their type, item by item and on the tree alike, and what the
// generated senders write reads back to the values sent, in both versions.

#include "CodecFixture.h"
#include "EncodedService.h"

using namespace gentest;

namespace {

// One-way rpc/encoded operations, each sending one SOAP array: Ints of
// xsd:int, Texts of xsd:string, Entries of structs, Colors of an
// enumeration; bound by SOAP 1.1 and by SOAP 1.2 (its encoding).
std::string arraysService()
{
    return encodedOneWayService(
        {"Ints", "Texts", "Entries", "Colors"},
        "<xsd:complexType name=\"Entry\"><xsd:sequence><xsd:element name=\"n\" type=\"xsd:int\"/>"
        "<xsd:element name=\"label\" type=\"xsd:string\"/></xsd:sequence></xsd:complexType>"
        "<xsd:simpleType name=\"Color\"><xsd:restriction base=\"xsd:string\"><xsd:enumeration value=\"red\"/>"
        "<xsd:enumeration value=\"dark &amp; green\"/></xsd:restriction></xsd:simpleType>" +
            soapArrayType("IntArray", "xsd:int") + soapArrayType("TextArray", "xsd:string") +
            soapArrayType("EntryArray", "tns:Entry") + soapArrayType("ColorArray", "tns:Color"),
        "<message name=\"IntsIn\"><part name=\"a\" type=\"tns:IntArray\"/></message>"
        "<message name=\"TextsIn\"><part name=\"a\" type=\"tns:TextArray\"/></message>"
        "<message name=\"EntriesIn\"><part name=\"a\" type=\"tns:EntryArray\"/></message>"
        "<message name=\"ColorsIn\"><part name=\"a\" type=\"tns:ColorArray\"/></message>");
}

// Every item of the packet's array, one "[...]" each (a struct's as n/label,
// "[nil]" where the item's nil flag is set).
const char* const PrintItems = R"(
static void print_items(demo_proto_packet_t *pk)
{
	int i;

	switch(pk->msg_type){
	case DEMO_PROTO_INTS:
		for(i = 0; i < pk->msg.IntsIn.a.IntArray_count; i++){
			if(pk->msg.IntsIn.a.IntArray_nil != NULL && pk->msg.IntsIn.a.IntArray_nil[i])
				printf(" [nil]");
			else
				printf(" [%d]", pk->msg.IntsIn.a.IntArray[i]);
		}
		break;
	case DEMO_PROTO_TEXTS:
		for(i = 0; i < pk->msg.TextsIn.a.TextArray_count; i++){
			if(pk->msg.TextsIn.a.TextArray_nil != NULL && pk->msg.TextsIn.a.TextArray_nil[i])
				printf(" [nil]");
			else
				printf(" [%s]", pk->msg.TextsIn.a.TextArray[i] != NULL ? pk->msg.TextsIn.a.TextArray[i] : "-");
		}
		break;
	case DEMO_PROTO_ENTRIES:
		for(i = 0; i < pk->msg.EntriesIn.a.EntryArray_count; i++){
			demo_Entry_t *e = &pk->msg.EntriesIn.a.EntryArray[i];
			if(pk->msg.EntriesIn.a.EntryArray_nil != NULL && pk->msg.EntriesIn.a.EntryArray_nil[i])
				printf(" [nil]");
			else
				printf(" [%d/%s]", e->n, e->label != NULL ? e->label : "-");
		}
		break;
	case DEMO_PROTO_COLORS:
		for(i = 0; i < pk->msg.ColorsIn.a.ColorArray_count; i++){
			if(pk->msg.ColorsIn.a.ColorArray_nil != NULL && pk->msg.ColorsIn.a.ColorArray_nil[i])
				printf(" [nil]");
			else
				printf(" [%s]", pk->msg.ColorsIn.a.ColorArray[i].Color != NULL ? pk->msg.ColorsIn.a.ColorArray[i].Color : "-");
		}
		break;
	}
}
)";

const std::string Report = std::string(PrintItems) + R"(
static void report(int result, demo_proto_packet_t *pk)
{
	printf(" type=%u", pk->msg_type);
	if(result == 0)
		print_items(pk);
	if(pk->decode_error[0])
		printf(" error=%s", pk->decode_error);
}
)";

// A request of operation op whose array (named a) has the given attributes
// and items; header: a Header before the Body, which sends the message to
// the tree's reading.
std::string request(const std::string& op, const std::string& array, bool header)
{
    const std::string body =
        "<?xml version=\"1.0\"?><e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "xmlns:enc=\"http://schemas.xmlsoap.org/soap/encoding/\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:t=\"urn:t\">" +
        std::string(header ? "<e:Header><h:Trace xmlns:h=\"urn:h\">on</h:Trace></e:Header>" : "") + "<e:Body><t:" + op +
        " e:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">" + array + "</t:" + op + "></e:Body></e:Envelope>";
    return "POST /x HTTP/1.1\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// items with each "{t}" replaced by type (an attribute, or nothing).
std::string typed(std::string items, const std::string& type)
{
    for (std::size_t at = items.find("{t}"); at != std::string::npos; at = items.find("{t}", at + type.size()))
        items.replace(at, 3, type);
    return items;
}

class EncodedArrayItemsTest : public ReaderDriverTest {};

// Each row is read four ways: its items with their xsi:type and without,
// item by item and (behind a Header) on the tree; all four read the same.
TEST_F(EncodedArrayItemsTest, ItemsWithoutTheirOwnTypeReadAsTypedItemsDo)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const struct {
        const char* op;
        const char* itemType; // what a typed item says
        std::string array;    // "{t}" where an item's xsi:type stands
        const char* read;     // what every way prints after its case's index and result
    } rows[] = {
        {"Ints", "xsd:int", "<a enc:arrayType=\"xsd:int[3]\"><i{t}>7</i><i{t}>-2147483648</i><i{t}> 12 </i></a>",
         "0 type=3 [7] [-2147483648] [12]"},
        {"Ints", "xsd:int", "<a enc:arrayType=\"xsd:int[2]\"><i{t}>1</i><i{t}>x</i></a>",
         "-1 type=3 error=demo_IntArray_t.IntArray: \"x\" (1 bytes) is no xsd:int"},
        {"Texts", "xsd:string", "<a enc:arrayType=\"xsd:string[3]\"><s{t}>a &amp; b</s><s{t}/><s{t}><![CDATA[<c>]]></s></a>",
         "0 type=4 [a & b] [-] [<c>]"},
        {"Entries", "t:Entry",
         "<a enc:arrayType=\"t:Entry[2]\"><e{t}><n xsi:type=\"xsd:int\">1</n><label>one</label></e><e{t}><n>2</n>"
         "<label xsi:type=\"xsd:string\">two</label></e></a>",
         "0 type=5 [1/one] [2/two]"},
        {"Entries", "t:Entry", "<a enc:arrayType=\"t:Entry[1]\"><e{t}><label>none</label></e></a>",
         "-1 type=5 error=demo_Entry_t.n: no value"},
        {"Colors", "t:Color", "<a enc:arrayType=\"t:Color[2]\"><c{t}>dark &amp; green</c><c{t}>red</c></a>",
         "0 type=6 [dark & green] [red]"},
        // Nil items keep their place, and their flag says nil, whatever the
        // items' kind (numbers and structs once failed the message).
        {"Ints", "xsd:int", "<a enc:arrayType=\"xsd:int[3]\"><i{t}>4</i><i xsi:nil=\"true\"/><i{t}>6</i></a>",
         "0 type=3 [4] [nil] [6]"},
        {"Texts", "xsd:string", "<a enc:arrayType=\"xsd:string[2]\"><s xsi:nil=\"true\"/><s{t}>b</s></a>",
         "0 type=4 [nil] [b]"},
        {"Entries", "t:Entry", "<a enc:arrayType=\"t:Entry[2]\"><e xsi:nil=\"true\"/><e{t}><n>3</n><label>c</label></e></a>",
         "0 type=5 [nil] [3/c]"},
        {"Colors", "t:Color", "<a enc:arrayType=\"t:Color[2]\"><c{t}>red</c><c xsi:nil=\"true\"/></a>",
         "0 type=6 [red] [nil]"},
    };
    std::vector<MessageCase> cases;
    for (const auto& row : rows) {
        const std::string withType = typed(row.array, std::string(" xsi:type=\"") + row.itemType + "\"");
        const std::string without = typed(row.array, "");
        for (const bool header : {false, true}) {
            cases.push_back({request(row.op, withType, header), row.read});
            cases.push_back({request(row.op, without, header), row.read});
        }
    }
    const auto [table, expected] = messageTable(cases);
    const RunResult run = runReaderDriver(arraysService(), Report, table);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// Each array is sent in each version (send_kept), then the sent message is
// read back.
// Per send: the version, how many xsi:type attributes the message holds
// (the array's own, and a struct item's members', never an item's), and the
// items read back.
const char* const RoundTrip = R"(
/* how often what stands in the length bytes at text, which end in no NUL */
static int occurrences(const char *text, size_t length, const char *what)
{
	size_t at, size = strlen(what);
	int count = 0;

	for(at = 0; at + size <= length; at++)
		count += memcmp(text + at, what, size) == 0;
	return count;
}

int main(void)
{
	static int ints[] = {7, -1, 0};
	static char *texts[] = {"a < b", "", "\xc3\xa9t\xc3\xa9"};
	static demo_Entry_t entries[] = {{1, "one"}, {-2, "two & more"}};
	static demo_Color_t colors[] = {{"dark & green"}, {"red"}};
	static demo_proto_packet_t pk, back;
	char *sent;
	int kind, version;

	for(version = 0; version < 2; version++){
		for(kind = DEMO_PROTO_INTS; kind <= DEMO_PROTO_COLORS; kind++){
			memset(&pk, 0, sizeof(pk));
			pk.msg_type = kind;
			pk.soap_version = version ? DEMO_SOAP_1_2 : DEMO_SOAP_1_1;
			pk.msg.IntsIn.a.IntArray = ints;
			pk.msg.IntsIn.a.IntArray_count = 3;
			if(kind == DEMO_PROTO_TEXTS){
				pk.msg.TextsIn.a.TextArray = texts;
				pk.msg.TextsIn.a.TextArray_count = 3;
			}else if(kind == DEMO_PROTO_ENTRIES){
				pk.msg.EntriesIn.a.EntryArray = entries;
				pk.msg.EntriesIn.a.EntryArray_count = 2;
			}else if(kind == DEMO_PROTO_COLORS){
				pk.msg.ColorsIn.a.ColorArray = colors;
				pk.msg.ColorsIn.a.ColorArray_count = 2;
			}
			if((sent = send_kept(&pk)) == NULL)
				return 2;
			memset(&back, 0, sizeof(back));
			printf("%d %s types=%d:", demo_proto_unpack(sent, strlen(sent), &back),
				version ? "1.2" : "1.1", occurrences(sent, strlen(sent), "xsi:type="));
			print_items(&back);
			printf("\n");
			demo_free_proto_packet(&back);
			free(sent);
		}
	}
	xmlCleanupParser();
	return 0;
}
)";

TEST_F(EncodedArrayItemsTest, SentItemsLeaveTheirTypeToTheArrayAndReadBack)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string items = " [7] [-1] [0]\n", texts = " [a < b] [-] [\xc3\xa9t\xc3\xa9]\n",
                      entries = " [1/one] [-2/two & more]\n", colors = " [dark & green] [red]\n";
    const std::string expected = "0 1.1 types=1:" + items + "0 1.1 types=1:" + texts + "0 1.1 types=5:" + entries +
        "0 1.1 types=1:" + colors + "0 1.2 types=1:" + items + "0 1.2 types=1:" + texts + "0 1.2 types=5:" + entries +
        "0 1.2 types=1:" + colors;
    const RunResult run = runReaderDriver(arraysService(), std::string(PrintItems) + SendKept + RoundTrip);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

} // namespace
