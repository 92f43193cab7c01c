// Nil items of arrays through whole messages of generated code: the items of
// SOAP-encoded arrays and of repeated nillable elements (document/literal)
// of numbers, texts, structs and an enumeration, nil first, in the middle,
// last or all. Each nil item keeps its place with its flag set and an empty
// value, read item by item and on the tree alike, and what the generated
// senders write from the flags reads back the same, in both SOAP versions.

#include "CodecFixture.h"
#include "EncodedService.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace gentest;

namespace {

const char* const Kinds[] = {"Ints", "Texts", "Entries", "Colors"};
// The literal element's repeated elements of the same kinds.
const char* const Lists[] = {"ints", "texts", "entries", "colors"};

// rpc/encoded operations Ints, Texts, Entries and Colors, each sending one
// SOAP array; document/literal Lit sending element Lists, whose four
// repeated nillable elements hold the same kinds; bound by SOAP 1.1 and by
// SOAP 1.2 (its encoding).
std::string nilItemsService()
{
    const char* const arrays[] = {"IntArray", "TextArray", "EntryArray", "ColorArray"};
    std::string messages = "<message name=\"LitIn\"><part name=\"body\" element=\"tns:Lists\"/></message>";
    for (int kind = 0; kind < 4; ++kind) {
        messages += std::string("<message name=\"") + Kinds[kind] + "In\"><part name=\"a\" type=\"tns:" + arrays[kind] +
            "\"/></message>";
    }
    const auto repeated = [](const char* name, const char* type) {
        return std::string("<xsd:element name=\"") + name + "\" type=\"" + type +
            "\" form=\"qualified\" nillable=\"true\" minOccurs=\"0\" maxOccurs=\"unbounded\"/>";
    };
    std::string document = encodedOneWayService(
        {Kinds[0], Kinds[1], Kinds[2], Kinds[3]},
        "<xsd:complexType name=\"Entry\"><xsd:sequence><xsd:element name=\"n\" type=\"xsd:int\"/>"
        "<xsd:element name=\"label\" type=\"xsd:string\"/></xsd:sequence></xsd:complexType>"
        "<xsd:simpleType name=\"Color\"><xsd:restriction base=\"xsd:string\"><xsd:enumeration value=\"red\"/>"
        "<xsd:enumeration value=\"dark &amp; green\"/></xsd:restriction></xsd:simpleType>" +
            soapArrayType(arrays[0], "xsd:int") + soapArrayType(arrays[1], "xsd:string") +
            soapArrayType(arrays[2], "tns:Entry") + soapArrayType(arrays[3], "tns:Color") +
            "<xsd:element name=\"Lists\"><xsd:complexType><xsd:sequence>" +
            repeated("ints", "xsd:int") + repeated("texts", "xsd:string") + repeated("entries", "tns:Entry") +
            repeated("colors", "tns:Color") + "</xsd:sequence></xsd:complexType></xsd:element>",
        messages);
    // Lit beside the encoded operations: in the port type and in each binding.
    const auto insertBefore = [&document](const std::string& end, const std::string& text, std::size_t from) {
        const std::size_t at = document.find(end, from);
        document.insert(at, text);
        return at + text.size() + end.size();
    };
    insertBefore("</portType>", "<operation name=\"Lit\"><input message=\"tns:LitIn\"/></operation>", 0);
    std::size_t next = 0;
    for (const std::string soap : {"soap:", "soap12:"}) {
        next = insertBefore("</binding>", "<operation name=\"Lit\"><" + soap + "operation soapAction=\"\" style=\"document\"/>"
                            "<input><" + soap + "body use=\"literal\"/></input></operation>", next);
    }
    return document;
}

// The packet's items, " [value]" each or " [nil]" where the item's flag
// says nil (" [nil?]" where such an item's value is not empty); a literal
// message's four lists each after its name.
const char* const PrintItems = R"(
static void item(const int *nils, int i, int empty, const char *value)
{
	if(nils != NULL && nils[i])
		printf(empty ? " [nil]" : " [nil?]");
	else
		printf(" [%s]", value);
}

static void ints(const int *v, const int *nils, int count)
{
	char number[16];
	int i;

	for(i = 0; i < count; i++){
		snprintf(number, sizeof(number), "%d", v[i]);
		item(nils, i, v[i] == 0, number);
	}
}

static void texts(char **v, const int *nils, int count)
{
	int i;

	for(i = 0; i < count; i++)
		item(nils, i, v[i] == NULL, v[i] != NULL ? v[i] : "-");
}

static void entries(const demo_Entry_t *v, const int *nils, int count)
{
	char entry[64];
	int i;

	for(i = 0; i < count; i++){
		snprintf(entry, sizeof(entry), "%d/%s", v[i].n, v[i].label != NULL ? v[i].label : "-");
		item(nils, i, v[i].n == 0 && v[i].label == NULL, entry);
	}
}

static void colors(const demo_Color_t *v, const int *nils, int count)
{
	int i;

	for(i = 0; i < count; i++)
		item(nils, i, v[i].Color == NULL, v[i].Color != NULL ? v[i].Color : "-");
}

/* the items of an array member, shown by show with their nil flags */
#define ITEMS(show, member) show(member, member##_nil, member##_count)

static void print_items(demo_proto_packet_t *pk)
{
	demo_Lists_t *l = &pk->msg.LitIn.Lists;

	if(pk->msg_type == DEMO_PROTO_INTS)
		ITEMS(ints, pk->msg.IntsIn.a.IntArray);
	else if(pk->msg_type == DEMO_PROTO_TEXTS)
		ITEMS(texts, pk->msg.TextsIn.a.TextArray);
	else if(pk->msg_type == DEMO_PROTO_ENTRIES)
		ITEMS(entries, pk->msg.EntriesIn.a.EntryArray);
	else if(pk->msg_type == DEMO_PROTO_COLORS)
		ITEMS(colors, pk->msg.ColorsIn.a.ColorArray);
	else if(pk->msg_type == DEMO_PROTO_LISTS){
		printf(" ints:");
		ITEMS(ints, l->ints);
		printf(" texts:");
		ITEMS(texts, l->texts);
		printf(" entries:");
		ITEMS(entries, l->entries);
		printf(" colors:");
		ITEMS(colors, l->colors);
	}
}
)";

const std::string Report = std::string(PrintItems) + R"(
static void report(int result, demo_proto_packet_t *pk)
{
	if(result == 0)
		print_items(pk);
	if(pk->decode_error[0])
		printf(" error=%s", pk->decode_error);
}
)";

// Which of three items are nil: first, middle, last, all.
const bool Patterns[][3] = {{true, false, false}, {false, true, false}, {false, false, true}, {true, true, true}};

// The three items' values of each kind, as documents write them and as the
// driver prints them.
const char* const Written[][3] = {{"1", "2", "3"},
                                  {"a", "b &amp; c", "c"},
                                  {"<n>1</n><label>e1</label>", "<n>2</n><label>e2</label>", "<n>3</n><label>e3</label>"},
                                  {"red", "dark &amp; green", "red"}};
const char* const Printed[][3] = {
    {"1", "2", "3"}, {"a", "b & c", "c"}, {"1/e1", "2/e2", "3/e3"}, {"red", "dark & green", "red"}};

// The items of kind under a pattern: elements named tag, nil or holding
// their value; and as the driver prints them.
std::string itemsOf(int kind, const bool (&nil)[3], const std::string& tag)
{
    std::string items;
    for (int i = 0; i < 3; ++i) {
        items += nil[i] ? "<" + tag + " xsi:nil=\"true\"/>"
                        : "<" + tag + ">" + Written[kind][i] + "</" + tag + ">";
    }
    return items;
}

std::string printedOf(int kind, const bool (&nil)[3])
{
    std::string printed;
    for (int i = 0; i < 3; ++i)
        printed += std::string(" [") + (nil[i] ? "nil" : Printed[kind][i]) + "]";
    return printed;
}

// A request whose Body holds body; header: a Header before the Body, which
// sends the message to the tree's reading.
std::string request(const std::string& body, bool header)
{
    const std::string envelope =
        "<?xml version=\"1.0\"?><e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "xmlns:enc=\"http://schemas.xmlsoap.org/soap/encoding/\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:t=\"urn:t\">" +
        std::string(header ? "<e:Header><h:Trace xmlns:h=\"urn:h\">on</h:Trace></e:Header>" : "") + "<e:Body>" + body +
        "</e:Body></e:Envelope>";
    return "POST /x HTTP/1.1\r\nContent-Length: " + std::to_string(envelope.size()) + "\r\n\r\n" + envelope;
}

// An rpc/encoded request of kind's operation whose array holds items.
std::string encodedBody(int kind, const std::string& arrayType, const std::string& items)
{
    const std::string op = Kinds[kind];
    return "<t:" + op + " e:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"><a enc:arrayType=\"" + arrayType +
        "\">" + items + "</a></t:" + op + ">";
}

class NilItemsTest : public ReaderDriverTest {};

// Each row is read item by item and (behind a Header) on the tree: both read
// the same.
TEST_F(NilItemsTest, NilItemsKeepTheirPlaceAndFlag)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const char* const arrayTypes[] = {"xsd:int[3]", "xsd:string[3]", "t:Entry[3]", "t:Color[3]"};
    struct Row {
        std::string body;
        std::string read;
    };
    std::vector<Row> rows;
    for (const auto& nil : Patterns) {
        std::string literal, printed;
        for (int kind = 0; kind < 4; ++kind) {
            rows.push_back({encodedBody(kind, arrayTypes[kind], itemsOf(kind, nil, "i")), printedOf(kind, nil)});
            literal += itemsOf(kind, nil, std::string("t:") + Lists[kind]);
            printed += std::string(" ") + Lists[kind] + ":" + printedOf(kind, nil);
        }
        rows.push_back({"<t:Lists>" + literal + "</t:Lists>", printed});
    }
    // A nil item placed by its position, the items passed over empty and not
    // nil, the items the array's size declares after the last empty too.
    rows.push_back({encodedBody(0, "xsd:int[5]", "<i enc:position=\"[1]\" xsi:nil=\"true\"/><i enc:position=\"[2]\">3</i>"),
                    " [0] [nil] [3] [0] [0]"});
    rows.push_back({encodedBody(2, "t:Entry[3]", "<i xsi:nil=\"true\"/>"), " [nil] [0/-] [0/-]"});
    // Only a nil item may be empty.
    rows.push_back({encodedBody(0, "xsd:int[2]", "<i xsi:nil=\"false\"/><i>1</i>"),
                    " error=demo_IntArray_t.IntArray: no value"});
    std::vector<MessageCase> cases;
    for (const Row& row : rows) {
        for (const bool header : {false, true})
            cases.push_back({request(row.body, header), (row.read.find("error=") == std::string::npos ? "0" : "-1") + row.read});
    }
    const auto [table, expected] = messageTable(cases);
    const RunResult run = runReaderDriver(nilItemsService(), Report, table);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// An array's count, the sum of its values and the items its flags say nil,
// or "none" where it has no flags.
const char* const Flags = R"(
static void flags(const int *v, const int *nils, int count)
{
	int i, sum = 0;

	for(i = 0; i < count; i++)
		sum += v[i];
	printf(" %d sum=%d", count, sum);
	if(nils == NULL){
		printf(" none");
		return;
	}
	printf(" nil:");
	for(i = 0; i < count; i++){
		if(nils[i])
			printf(" %d", i);
	}
}

static void report(int result, demo_proto_packet_t *pk)
{
	if(result != 0)
		printf(" error=%s", pk->decode_error);
	else if(pk->msg_type == DEMO_PROTO_INTS)
		flags(pk->msg.IntsIn.a.IntArray, pk->msg.IntsIn.a.IntArray_nil, pk->msg.IntsIn.a.IntArray_count);
	else if(pk->msg_type == DEMO_PROTO_LISTS)
		flags(pk->msg.LitIn.Lists.ints, pk->msg.LitIn.Lists.ints_nil, pk->msg.LitIn.Lists.ints_count);
}
)";

// Items 0 .. count-1 of numbers, item i holding i + 1 or nil where nil
// lists it, in elements named tag; and as the driver prints them.
std::string longItems(int count, const std::vector<int>& nil, const std::string& tag)
{
    std::string items;
    for (int i = 0; i < count; ++i) {
        const bool isNil = std::find(nil.begin(), nil.end(), i) != nil.end();
        items += isNil ? "<" + tag + " xsi:nil=\"true\"/>" : "<" + tag + ">" + std::to_string(i + 1) + "</" + tag + ">";
    }
    return items;
}

std::string longPrinted(int count, int sent, const std::vector<int>& nil)
{
    int sum = 0;
    for (int i = 0; i < sent; ++i)
        sum += std::find(nil.begin(), nil.end(), i) != nil.end() ? 0 : i + 1;
    std::string printed = " " + std::to_string(count) + " sum=" + std::to_string(sum);
    if (nil.empty())
        return printed + " none";
    printed += " nil:";
    for (const int i : nil)
        printed += " " + std::to_string(i);
    return printed;
}

// An array keeps no nil flags until a nil item comes: the flags then start
// zeroed for the items before it and grow with the items after it, however
// often the items' room has grown before (4, 8, 16, 32 ...), item by item
// and on the tree alike.
TEST_F(NilItemsTest, NilFlagsStartAtTheFirstNilItem)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    struct Row {
        std::string body;
        std::string read;
    };
    std::vector<Row> rows;
    for (const std::vector<int>& nil : {std::vector<int>{}, {39}, {20, 39}, {3}, {4}, {0, 8, 16, 32}}) {
        rows.push_back({encodedBody(0, "xsd:int[40]", longItems(40, nil, "i")), longPrinted(40, 40, nil)});
        rows.push_back({"<t:Lists>" + longItems(40, nil, "t:ints") + "</t:Lists>", longPrinted(40, 40, nil)});
    }
    // The first nil item among those sent, then the items the array's size
    // declares that were not sent: their flags grow, zeroed.
    rows.push_back({encodedBody(0, "xsd:int[40]", longItems(5, {4}, "i")), longPrinted(40, 5, {4})});
    // A nil item placed by its position, far behind the items before it.
    rows.push_back({encodedBody(0, "xsd:int[40]", "<i>1</i><i enc:position=\"[33]\" xsi:nil=\"true\"/>"),
                    longPrinted(40, 1, {33})});
    // A single empty array and a single item keep no flags.
    rows.push_back({encodedBody(0, "xsd:int[0]", ""), " 0 sum=0 none"});
    rows.push_back({"<t:Lists><t:ints>7</t:ints></t:Lists>", " 1 sum=7 none"});
    std::vector<MessageCase> cases;
    for (const Row& row : rows) {
        for (const bool header : {false, true})
            cases.push_back({request(row.body, header), "0" + row.read});
    }
    const auto [table, expected] = messageTable(cases);
    const RunResult run = runReaderDriver(nilItemsService(), Flags, table);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

// Each kind is sent under each pattern in each version (to a peer that
// closes at once: the transport keeps what it sent), the items' values set
// where their flags say nil, then the sent message is read back.
const char* const RoundTrip = R"(
static int ints_sent[] = {1, 2, 3};
static char *texts_sent[] = {"a", "b & c", "c"};
static demo_Entry_t entries_sent[] = {{1, "e1"}, {2, "e2"}, {3, "e3"}};
static demo_Color_t colors_sent[] = {{"red"}, {"dark & green"}, {"red"}};
static int nils[][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}};

/* the sent items of an array member, with their nil flags */
#define SET_ITEMS(member, items) ((member) = (items), (member##_nil) = nil, (member##_count) = 3)

static void fill(demo_proto_packet_t *pk, int kind, int *nil)
{
	demo_Lists_t *l = &pk->msg.LitIn.Lists;

	pk->msg_type = kind;
	if(kind == DEMO_PROTO_INTS)
		SET_ITEMS(pk->msg.IntsIn.a.IntArray, ints_sent);
	else if(kind == DEMO_PROTO_TEXTS)
		SET_ITEMS(pk->msg.TextsIn.a.TextArray, texts_sent);
	else if(kind == DEMO_PROTO_ENTRIES)
		SET_ITEMS(pk->msg.EntriesIn.a.EntryArray, entries_sent);
	else if(kind == DEMO_PROTO_COLORS)
		SET_ITEMS(pk->msg.ColorsIn.a.ColorArray, colors_sent);
	else{
		SET_ITEMS(l->ints, ints_sent);
		SET_ITEMS(l->texts, texts_sent);
		SET_ITEMS(l->entries, entries_sent);
		SET_ITEMS(l->colors, colors_sent);
	}
}

int main(void)
{
	static const int kinds[] = {DEMO_PROTO_INTS, DEMO_PROTO_TEXTS, DEMO_PROTO_ENTRIES, DEMO_PROTO_COLORS, DEMO_PROTO_LISTS};
	static demo_proto_packet_t pk, back;
	char *sent;
	int kind, version, pattern;

	for(version = 0; version < 2; version++){
		for(pattern = 0; pattern < 4; pattern++){
			for(kind = 0; kind < 5; kind++){
				memset(&pk, 0, sizeof(pk));
				fill(&pk, kinds[kind], nils[pattern]);
				pk.soap_version = version ? DEMO_SOAP_1_2 : DEMO_SOAP_1_1;
				if((sent = send_kept(&pk)) == NULL)
					return 2;
				memset(&back, 0, sizeof(back));
				printf("%d %s:", demo_proto_unpack(sent, strlen(sent), &back), version ? "1.2" : "1.1");
				print_items(&back);
				printf("\n");
				demo_free_proto_packet(&back);
				free(sent);
			}
		}
	}
	xmlCleanupParser();
	return 0;
}
)";

TEST_F(NilItemsTest, SentNilItemsReadBackNil)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    std::string expected;
    for (const char* version : {"1.1", "1.2"}) {
        for (const auto& nil : Patterns) {
            std::string literal;
            for (int kind = 0; kind < 4; ++kind) {
                expected += std::string("0 ") + version + ":" + printedOf(kind, nil) + "\n";
                literal += std::string(" ") + Lists[kind] + ":" + printedOf(kind, nil);
            }
            expected += std::string("0 ") + version + ":" + literal + "\n";
        }
    }
    const RunResult run = runReaderDriver(nilItemsService(), std::string(PrintItems) + SendKept + RoundTrip);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

} // namespace
