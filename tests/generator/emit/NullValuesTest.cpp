// A required value the caller left NULL that no reader takes empty (a
// decimal or a date held as text) is refused before anything is sent, naming
// the member: the call fails and says so in the client's detail, the server's
// answer is not sent. An optional one whose presence flag is set is left out,
// and a required text that may be empty goes out empty.

#include "GeneratorTestSupport.h"
#include "LoopbackServer.h"

using namespace gentest;

namespace {

std::string payService()
{
    return wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\">"
        "<xsd:element name=\"Add\"><xsd:complexType><xsd:sequence>"
        "<xsd:element name=\"amount\" type=\"xsd:decimal\"/><xsd:element name=\"tip\" type=\"xsd:decimal\" minOccurs=\"0\"/>"
        "<xsd:element name=\"when\" type=\"xsd:dateTime\"/><xsd:element name=\"note\" type=\"xsd:string\"/>"
        "</xsd:sequence></xsd:complexType></xsd:element>"
        "<xsd:element name=\"AddResponse\"><xsd:complexType><xsd:sequence>"
        "<xsd:element name=\"total\" type=\"xsd:decimal\"/></xsd:sequence></xsd:complexType></xsd:element>"
        "</xsd:schema></types>\n"
        "<message name=\"AddIn\"><part name=\"parameters\" element=\"tns:Add\"/></message>"
        "<message name=\"AddOut\"><part name=\"parameters\" element=\"tns:AddResponse\"/></message>\n" +
        wsdltest::calculatorPortType() + wsdltest::calculatorBinding("document", "literal") + wsdltest::calculatorService());
}

// Each case calls Add once on a server of its own, which notes what it read
// and answers the amount as the total, or NULL for an amount of "0".
const std::string NullDriver = std::string("#include \"demo_api.c\"\n") + OneRequestServer + R"(
static const struct{ const char *amount; int tip_present; const char *tip; const char *when; const char *note; }cases[] = {
	{"1.5", 0, NULL, "2024-01-02T03:04:05Z", "n"},
	{NULL, 0, NULL, "2024-01-02T03:04:05Z", "n"},
	{"1.5", 1, NULL, "2024-01-02T03:04:05Z", "n"},
	{"1.5", 1, "0.25", "2024-01-02T03:04:05Z", "n"},
	{"1.5", 0, NULL, NULL, "n"},
	{"1.5", 0, NULL, "2024-01-02T03:04:05Z", NULL},
	{"0", 0, NULL, "2024-01-02T03:04:05Z", "n"},
};
static char seen[200];

#define OR_DASH(t) ((t) != NULL ? (t) : "-")

/* the detail, its port (which the system chose) as PORT */
static const char *detail_of(const demo_client_t *client)
{
	static char text[DEMO_MAX_ERROR_DETAIL_LEN + 8];
	const char *detail = demo_client_error_detail(client), *at = strstr(detail, "127.0.0.1:");
	if(at == NULL)
		return detail;
	snprintf(text, sizeof(text), "%.*sPORT%s", (int)(at - detail + 10), detail, at + 10 + strspn(at + 10, "0123456789"));
	return text;
}

/* reads requests on one connection until it closes; an answer refused ends it */
static void *serve(void *arg)
{
	demo_proto_trans_t trans;
	demo_proto_packet_t *pk = (demo_proto_packet_t *)calloc(1, sizeof(*pk));
	char *total;
	(void)arg;
	memset(&trans, 0, sizeof(trans));
	trans.socket = accept(listener, NULL, NULL);
	while(demo_proto_readpacket(&trans, pk, 30) == 0){
		const demo_Add_t *in = &pk->msg.AddIn.Add;
		snprintf(seen, sizeof(seen), "amount=%s tip=%s when=%s note=%s", OR_DASH(in->amount),
			in->tip_present ? OR_DASH(in->tip) : "absent", OR_DASH(in->when), OR_DASH(in->note));
		total = in->amount != NULL && strcmp(in->amount, "0") != 0 ? strdup(in->amount) : NULL;
		demo_free_proto_packet(pk);
		memset(pk, 0, sizeof(*pk));
		pk->msg_type = DEMO_PROTO_ADDRESPONSE;
		pk->msg.AddOut.AddResponse.total = total;
		if(demo_proto_sendpacket(&trans, pk, 30) != 0){
			snprintf(seen + strlen(seen), sizeof(seen) - strlen(seen), " answer refused: %s", pk->decode_error);
			demo_free_proto_packet(pk);
			break;
		}
		demo_free_proto_packet(pk);
		memset(pk, 0, sizeof(*pk));
	}
	tessaro_socket_close(trans.socket);
	free(pk);
	return NULL;
}

int main(void)
{
	char endpoint[64];
	demo_client_t client;
	demo_AddIn_msg_t in;
	demo_AddOut_msg_t out;
	size_t c;
	int result;
	network_start();
	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++){
		strcpy(seen, "nothing");
		if(server_start("/calc", endpoint) != 0 || demo_client_init(&client, endpoint) != 0)
			return 2;
		memset(&in, 0, sizeof(in));
		in.Add.amount = (char *)cases[c].amount;
		in.Add.tip_present = cases[c].tip_present;
		in.Add.tip = (char *)cases[c].tip;
		in.Add.when = (char *)cases[c].when;
		in.Add.note = (char *)cases[c].note;
		result = demo_Add(&client, &in, &out, NULL);
		demo_client_close(&client);
		server_finish();
		printf("%d: %s|%s|%s\n", (int)c, result == 0 ? "0" : "failed", result == 0 ? OR_DASH(out.AddResponse.total) : detail_of(&client), seen);
		demo_free_Add(&out);
	}
	return 0;
}
)";

TEST_F(GeneratorTest, ARequiredValueLeftNullIsRefusedBeforeItIsSent)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    view(payService());
    const RunResult run = buildAndRunC(NullDriver, emitLibrary("demo"), true);
    ASSERT_EQ(run.status, 0) << run.messages;
    const char* const When = "when=2024-01-02T03:04:05Z";
    EXPECT_EQ(run.output,
              std::string("0: 0|1.5|amount=1.5 tip=absent ") + When + " note=n\n" +
                  "1: failed|the request could not be encoded: demo_Add_t.amount: a required value is NULL|nothing\n" +
                  "2: 0|1.5|amount=1.5 tip=absent " + When + " note=n\n" +
                  "3: 0|1.5|amount=1.5 tip=0.25 " + When + " note=n\n" +
                  "4: failed|the request could not be encoded: demo_Add_t.when: a required value is NULL|nothing\n" +
                  "5: 0|1.5|amount=1.5 tip=absent " + When + " note=-\n" +
                  "6: failed|reading the answer from 127.0.0.1:PORT: the server closed the connection, 0 bytes of the answer had "
                  "come|amount=0 tip=absent " + When + " note=n answer refused: demo_AddResponse_t.total: a required value is NULL\n")
        << run.messages;
}

} // namespace
