// A SOAP array whose items are declared both as a sequence of repeated
// elements and by its arrayType gets a member for each, which the reader
// fills alike. The senders write the items of one of them only, the first
// that holds items, under that member's count: what goes out has exactly
// as many items as the array declares, in both versions, and reads back to
// the values sent.

#include "CodecFixture.h"
#include "EncodedService.h"

using namespace gentest;

namespace {

// Ints and Texts each have a member "item" (the sequence's) beside the one
// named after the type (the arrayType's); the items of Entries, structs,
// are one member only.
std::string twiceDeclaredService()
{
    const auto items = [](const char* type) {
        return std::string("<xsd:sequence><xsd:element name=\"item\" type=\"") + type +
            "\" minOccurs=\"0\" maxOccurs=\"unbounded\"/></xsd:sequence>";
    };
    return encodedOneWayService(
        {"Ints", "Texts", "Entries"},
        "<xsd:complexType name=\"Entry\"><xsd:sequence><xsd:element name=\"n\" type=\"xsd:int\"/>"
        "<xsd:element name=\"label\" type=\"xsd:string\"/></xsd:sequence></xsd:complexType>" +
            soapArrayType("IntArray", "xsd:int", items("xsd:int")) +
            soapArrayType("TextArray", "xsd:string", items("xsd:string")) +
            soapArrayType("EntryArray", "tns:Entry", items("tns:Entry")),
        "<message name=\"IntsIn\"><part name=\"arr\" type=\"tns:IntArray\"/></message>"
        "<message name=\"TextsIn\"><part name=\"arr\" type=\"tns:TextArray\"/></message>"
        "<message name=\"EntriesIn\"><part name=\"arr\" type=\"tns:EntryArray\"/></message>");
}

// One case: an operation, a version and what the caller gives each member:
// a count of the items at hand, with the pointer set; a negative count -n
// gives n with no pointer.
const char* const CaseType = R"(
typedef struct send_case_t{
	int kind;
	int soap12;
	int first;
	int second;
}send_case_t;
)";

// Sends each case of cases (which stands before it, an array of send_case_t)
// with send_kept, then prints the size the sent array declares, the items it holds (its child
// elements) and each member as read back: "[...]" an item, a struct's as
// n/label.
const char* const SendEachCase = R"(
static int ints_1[] = {7, -1, 0}, ints_2[] = {40, 41};
static char *texts_1[] = {"a < b", "", "\xc3\xa9t\xc3\xa9"}, *texts_2[] = {"x & y", "z"};
static demo_Entry_t entries[] = {{1, "one"}, {-2, "two & more"}, {3, "three"}};

/* count items of storage at, or none (NULL) for a negative count */
#define GIVE(member, storage, count) \
	((member) = (count) < 0 ? NULL : (storage), (member##_count) = (count) < 0 ? -(count) : (count))

static void give(demo_proto_packet_t *pk, const send_case_t *c)
{
	if(c->kind == DEMO_PROTO_INTS){
		GIVE(pk->msg.IntsIn.arr.item, ints_1, c->first);
		GIVE(pk->msg.IntsIn.arr.IntArray, ints_2, c->second);
	}else if(c->kind == DEMO_PROTO_TEXTS){
		GIVE(pk->msg.TextsIn.arr.item, texts_1, c->first);
		GIVE(pk->msg.TextsIn.arr.TextArray, texts_2, c->second);
	}else{
		GIVE(pk->msg.EntriesIn.arr.EntryArray, entries, c->first);
	}
}

/* the size the start tag at tag declares: SOAP 1.1's arrayType "...[n]", SOAP 1.2's arraySize */
static int declared(const char *tag)
{
	const char *end = strchr(tag, '>'), *at = strstr(tag, "arraySize=\"");

	if(at != NULL && at < end)
		return atoi(at + strlen("arraySize=\""));
	at = strstr(tag, "arrayType=\"");
	if(at == NULL || at > end || (at = strchr(at, '[')) == NULL)
		return -1;
	return atoi(at + 1);
}

/* the child elements of the element whose start tag is at tag (markup of the
 * generated writers: no comments, no CDATA, no '>' in attribute values) */
static int children(const char *tag)
{
	const char *at = strchr(tag, '>');
	int depth = 0, count = 0;

	if(at == NULL || at[-1] == '/')
		return 0;
	while((at = strchr(at + 1, '<')) != NULL){
		const char *end = strchr(at, '>');

		if(end == NULL)
			return -1;
		if(at[1] == '/'){
			if(--depth < 0)
				return count;
		}else{
			count += depth == 0;
			depth += end[-1] != '/';
		}
		at = end;
	}
	return -1;
}

static void print_ints(const int *items, int count)
{
	int i;

	for(i = 0; i < count; i++)
		printf("[%d]", items[i]);
}

static void print_texts(char **items, int count)
{
	int i;

	for(i = 0; i < count; i++)
		printf("[%s]", items[i] != NULL ? items[i] : "-");
}

static void print_back(const demo_proto_packet_t *pk)
{
	int i;

	if(pk->msg_type == DEMO_PROTO_INTS){
		printf(" item=");
		print_ints(pk->msg.IntsIn.arr.item, pk->msg.IntsIn.arr.item_count);
		printf(" array=");
		print_ints(pk->msg.IntsIn.arr.IntArray, pk->msg.IntsIn.arr.IntArray_count);
	}else if(pk->msg_type == DEMO_PROTO_TEXTS){
		printf(" item=");
		print_texts(pk->msg.TextsIn.arr.item, pk->msg.TextsIn.arr.item_count);
		printf(" array=");
		print_texts(pk->msg.TextsIn.arr.TextArray, pk->msg.TextsIn.arr.TextArray_count);
	}else{
		printf(" array=");
		for(i = 0; i < pk->msg.EntriesIn.arr.EntryArray_count; i++){
			const demo_Entry_t *e = &pk->msg.EntriesIn.arr.EntryArray[i];
			printf("[%d/%s]", e->n, e->label != NULL ? e->label : "-");
		}
	}
}

/* what case c sent (the message's text, which reading may change) declares, holds and reads back as */
static void print_sent(size_t c, char *sent)
{
	static demo_proto_packet_t back;
	const char *array = strstr(sent, "<arr ");
	int result;

	printf("%d: declared=%d sent=%d", (int)c, array != NULL ? declared(array) : -1, array != NULL ? children(array) : -1);
	memset(&back, 0, sizeof(back));
	result = demo_proto_unpack(sent, strlen(sent), &back);
	printf(" read=%d", result);
	if(result == 0)
		print_back(&back);
	else
		printf(" error=%s", back.decode_error);
	demo_free_proto_packet(&back);
}

int main(void)
{
	static demo_proto_packet_t pk;
	size_t c;

	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++){
		char *sent;

		memset(&pk, 0, sizeof(pk));
		pk.msg_type = cases[c].kind;
		pk.soap_version = cases[c].soap12 ? DEMO_SOAP_1_2 : DEMO_SOAP_1_1;
		give(&pk, &cases[c]);
		if((sent = send_kept(&pk)) == NULL)
			return 2;
		print_sent(c, sent);
		printf("\n");
		free(sent);
	}
	xmlCleanupParser();
	return 0;
}
)";

class TwiceDeclaredArrayTest : public ReaderDriverTest {};

TEST_F(TwiceDeclaredArrayTest, OneMembersItemsGoOutUnderTheirOwnCount)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string ints = "[7][-1][0]", texts = "[a < b][-][\xc3\xa9t\xc3\xa9]";
    const struct {
        const char* kind;
        int first;  // what the caller gave the sequence's member (Entries: the one member)
        int second; // and the arrayType's
        std::string sent; // what each version prints after the case's index
    } rows[] = {
        // The first member alone: its items, read back into both members,
        // as an item named "item" fills both.
        {"DEMO_PROTO_INTS", 3, 0, "declared=3 sent=3 read=0 item=" + ints + " array=" + ints},
        {"DEMO_PROTO_TEXTS", 3, 0, "declared=3 sent=3 read=0 item=" + texts + " array=" + texts},
        // The second alone, also when the first has none at hand or no pointer.
        {"DEMO_PROTO_INTS", 0, 2, "declared=2 sent=2 read=0 item= array=[40][41]"},
        {"DEMO_PROTO_INTS", -3, 2, "declared=2 sent=2 read=0 item= array=[40][41]"},
        {"DEMO_PROTO_TEXTS", 0, 2, "declared=2 sent=2 read=0 item= array=[x & y][z]"},
        {"DEMO_PROTO_TEXTS", -3, 2, "declared=2 sent=2 read=0 item= array=[x & y][z]"},
        // Both: the first goes out alone.
        {"DEMO_PROTO_INTS", 3, 2, "declared=3 sent=3 read=0 item=" + ints + " array=" + ints},
        {"DEMO_PROTO_INTS", 1, 2, "declared=1 sent=1 read=0 item=[7] array=[7]"},
        {"DEMO_PROTO_TEXTS", 3, 2, "declared=3 sent=3 read=0 item=" + texts + " array=" + texts},
        // Neither: an empty array, also when the second has no pointer.
        {"DEMO_PROTO_INTS", 0, 0, "declared=0 sent=0 read=0 item= array="},
        {"DEMO_PROTO_INTS", 0, -2, "declared=0 sent=0 read=0 item= array="},
        {"DEMO_PROTO_TEXTS", 0, 0, "declared=0 sent=0 read=0 item= array="},
        // Structs: one member, as before.
        {"DEMO_PROTO_ENTRIES", 3, 0, "declared=3 sent=3 read=0 array=[1/one][-2/two & more][3/three]"},
        {"DEMO_PROTO_ENTRIES", 0, 0, "declared=0 sent=0 read=0 array="},
    };
    std::string cases, expected;
    int index = 0;
    for (const int soap12 : {0, 1}) {
        for (const auto& row : rows) {
            cases += std::string("{") + row.kind + ", " + std::to_string(soap12) + ", " + std::to_string(row.first) +
                ", " + std::to_string(row.second) + "},\n";
            expected += std::to_string(index++) + ": " + row.sent + "\n";
        }
    }
    const RunResult run = runReaderDriver(twiceDeclaredService(), std::string(CaseType) +
                                              "static const send_case_t cases[] = {\n" + cases + "};\n" + SendKept +
                                              SendEachCase);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, expected);
}

} // namespace
