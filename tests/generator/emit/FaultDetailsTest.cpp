// A fault's detail through the generated code, SOAP 1.1 and 1.2 alike: a
// fault message the WSDL declares is sent by the generated server from its
// struct and decoded by the generated client into that struct; any other
// detail stays the markup it came as; the fault frees cleanly, twice.

#include "GeneratorTestSupport.h"
#include "LoopbackServer.h"

#include <sstream>

using namespace gentest;

namespace {

const std::string DetailDriver = std::string("#include \"bank_api.c\"\n") + OneRequestServer + R"(
#define ENVELOPE11(content) "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body>" content "</e:Body></e:Envelope>"
#define ENVELOPE12(content) "<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body>" content "</e:Body></e:Envelope>"
#define FAULT11(detail) ENVELOPE11("<e:Fault><faultcode>e:Server</faultcode><faultstring>no</faultstring><detail>" detail "</detail></e:Fault>")
#define FAULT12(detail) ENVELOPE12("<e:Fault><e:Code><e:Value>e:Receiver</e:Value></e:Code><e:Reason><e:Text xml:lang=\"en\">no</e:Text></e:Reason><e:Detail>" detail "</e:Detail></e:Fault>")

/* how: "OVERDRAWN" and "FROZEN" the generated server's fault from the declared message's struct,
   "MARKUP" its fault with body as the detail's markup, "LONG" with long_detail as that markup (longer than
   a message could be once), else a status line with body as the answer;
   soap12: the call goes to the SOAP 1.2 port; the server's fault has the subcode given, with its namespace */
static const struct{ const char *how, *body; int soap12; const char *subcode, *subcode_ns; } answers[] = {
	{"OVERDRAWN", NULL, 0, "", ""},
	{"OVERDRAWN", NULL, 1, "app:Busy", "urn:app"},
	{"OVERDRAWN", NULL, 1, "xmlns:Busy", "urn:app"},
	{"FROZEN", NULL, 0, "", ""},
	{"FROZEN", NULL, 1, "app:Gone", ""},
	{"MARKUP", "<f:Frozen xmlns:f=\"urn:kelvane:bank\">cold &amp; dark</f:Frozen>", 0, "", ""},
	{"MARKUP", "<f:Frozen xmlns:f=\"urn:kelvane:bank\">cold &amp; dark</f:Frozen>", 1, "SOAP-ENV:Sender", ""},
	{"HTTP/1.1 500 Internal Server Error", FAULT11("<x:why xmlns:x=\"urn:x\">no <b>stock</b></x:why>"), 0},
	{"HTTP/1.1 500 Internal Server Error", FAULT12("<x:why xmlns:x=\"urn:x\">no <b>stock</b></x:why>"), 1},
	{"HTTP/1.1 500 Internal Server Error", FAULT11("<b:Overdrawn xmlns:b=\"urn:kelvane:bank\"><b:balance>lots</b:balance><b:limit>1</b:limit></b:Overdrawn>"), 0},
	{"HTTP/1.1 500 Internal Server Error", FAULT12("plain words"), 1},
	{"HTTP/1.1 200 OK", ENVELOPE11("<b:WithdrawResponse xmlns:b=\"urn:kelvane:bank\"><b:balance>3</b:balance></b:WithdrawResponse>"), 0},
	{"LONG", NULL, 0, "", ""},
	{"LONG", NULL, 1, "", ""},
};
static size_t current;
static char long_detail[200000];

/* a detail of elements and escaped text, 199,999 bytes */
static void make_long_detail(void)
{
	const char *open = "<x:why xmlns:x=\"urn:x\">", *close = "</x:why>", *words = "w &amp; <i>v</i> ";
	size_t at = strlen(open), end = sizeof(long_detail) - 1 - strlen(close);
	strcpy(long_detail, open);
	while(at + strlen(words) <= end){
		memcpy(long_detail + at, words, strlen(words));
		at += strlen(words);
	}
	memset(long_detail + at, 'w', end - at);
	strcpy(long_detail + end, close);
}

static void *serve(void *arg)
{
	bank_proto_trans_t trans;
	bank_proto_packet_t *pk = (bank_proto_packet_t *)calloc(1, sizeof(*pk));
	const char *how = answers[current].how, *body = answers[current].body;
	int version;
	(void)arg;
	memset(&trans, 0, sizeof(trans));
	trans.socket = accept(listener, NULL, NULL);
	if(bank_proto_readpacket(&trans, pk, 30) == 0){
		version = pk->soap_version;
		bank_free_proto_packet(pk);
		memset(pk, 0, sizeof(*pk));
		pk->soap_version = version;
		pk->msg_type = BANK_PROTO_SOAP_FAULT;
		strcpy(pk->msg.soap_fault.faultcode, "SOAP-ENV:Server");
		strcpy(pk->msg.soap_fault.faultstring, "refused");
		if(answers[current].subcode != NULL){
			strcpy(pk->msg.soap_fault.subcode, answers[current].subcode);
			strcpy(pk->msg.soap_fault.subcode_ns, answers[current].subcode_ns);
		}
		if(strcmp(how, "OVERDRAWN") == 0){
			/* the packet's free frees what the fault holds */
			pk->msg.soap_fault.detail_type = BANK_DETAIL_OVERDRAWNFAULT;
			pk->msg.soap_fault.detail_msg.OverdrawnFault = calloc(1, sizeof(bank_OverdrawnFault_msg_t));
			pk->msg.soap_fault.detail_msg.OverdrawnFault->Overdrawn.balance = -5;
			pk->msg.soap_fault.detail_msg.OverdrawnFault->Overdrawn.limit = 100;
			pk->msg.soap_fault.detail_msg.OverdrawnFault->Overdrawn.note = strdup("over <limit> & out");
			pk->msg.soap_fault.detail_msg.OverdrawnFault->Overdrawn.note_present = 1;
			/* the declared message goes instead of the markup */
			pk->msg.soap_fault.detail = strdup("<ignored/>");
			bank_proto_sendpacket(&trans, pk, 30);
		}else if(strcmp(how, "FROZEN") == 0){
			pk->msg.soap_fault.detail_type = BANK_DETAIL_FROZENFAULT;
			pk->msg.soap_fault.detail_msg.FrozenFault = calloc(1, sizeof(bank_FrozenFault_msg_t));
			pk->msg.soap_fault.detail_msg.FrozenFault->Frozen.Frozen = strdup("account 7 is frozen");
			bank_proto_sendpacket(&trans, pk, 30);
		}else if(strcmp(how, "MARKUP") == 0 || strcmp(how, "LONG") == 0){
			pk->msg.soap_fault.detail = strdup(body != NULL ? body : long_detail);
			bank_proto_sendpacket(&trans, pk, 30);
		}else{
			send_answer(trans.socket, how, body);
		}
	}
	bank_free_proto_packet(pk);
	tessaro_socket_close(trans.socket);
	free(pk);
	return NULL;
}

int main(void)
{
	char endpoint[64];
	bank_client_t client;
	bank_WithdrawRequest_msg_t in;
	bank_WithdrawReply_msg_t out;
	bank_soap_fault_msg_t fault;
	int result;
	network_start();
	make_long_detail();
	memset(&in, 0, sizeof(in));
	in.Withdraw.account = "7";
	in.Withdraw.amount = 105;
	for(current = 0; current < sizeof(answers) / sizeof(answers[0]); current++){
		if(server_start("/bank", endpoint) != 0 || bank_client_init(&client, endpoint) != 0)
			return 2;
		result = answers[current].soap12 ? bank_Withdraw_soap12(&client, &in, &out, &fault) : bank_Withdraw(&client, &in, &out, &fault);
		server_finish();
		printf("%d|%d|", result, fault.detail_type);
		if(fault.detail_type == BANK_DETAIL_OVERDRAWNFAULT)
			printf("%d %d %d %s", fault.detail_msg.OverdrawnFault->Overdrawn.balance, fault.detail_msg.OverdrawnFault->Overdrawn.limit,
				fault.detail_msg.OverdrawnFault->Overdrawn.note_present, fault.detail_msg.OverdrawnFault->Overdrawn.note);
		else if(fault.detail_type == BANK_DETAIL_FROZENFAULT)
			printf("%s", fault.detail_msg.FrozenFault->Frozen.Frozen);
		if(strcmp(answers[current].how, "LONG") == 0)
			printf("|%s", fault.detail != NULL && strcmp(fault.detail, long_detail) == 0 ? "the long detail, whole" : "the long detail changed");
		else
			printf("|%s", fault.detail != NULL ? fault.detail : "");
		printf("|%d|%s|%s\n", out.WithdrawResponse.balance, fault.subcode, fault.subcode_ns);
		bank_free_fault(&fault);
		if(fault.detail_type != 0 || fault.detail_msg.OverdrawnFault != NULL || fault.detail != NULL)
			printf("not emptied\n");
		/* twice, and on a fault that holds nothing, is harmless */
		bank_free_fault(&fault);
		bank_free_fault(NULL);
		bank_free_Withdraw(&out);
	}
	return 0;
}
)";

struct DetailRow {
    const char* label;
    int code;
    int detailType;
    const char* decoded;
    // Texts the detail's markup holds, in order; none: it is empty.
    std::vector<std::string> markup;
    int balance;
    const char* subcode; // the subcode read, and the namespace of its prefix
};

const DetailRow DetailRows[] = {
    {"a declared structure sent from its struct, SOAP 1.1", 1, 1, "-5 100 1 over <limit> & out",
     {"Overdrawn xmlns:ns1=\"urn:kelvane:bank\">", "<ns1:balance>-5</ns1:balance><ns1:limit>100</ns1:limit>",
      "<ns1:note>over &lt;limit&gt; &amp; out</ns1:note>"},
     0, "|"},
    {"a declared structure sent from its struct, SOAP 1.2", 1, 1, "-5 100 1 over <limit> & out",
     {"Overdrawn xmlns:ns1=\"urn:kelvane:bank\">", "<ns1:balance>-5</ns1:balance><ns1:limit>100</ns1:limit>"}, 0, "app:Busy|urn:app"},
    {"a subcode of the prefix no document may declare goes without it", 1, 1, "-5 100 1 over <limit> & out",
     {"Overdrawn xmlns:ns1=\"urn:kelvane:bank\">"}, 0, "Busy|"},
    {"a declared text sent from its struct, SOAP 1.1", 1, 2, "account 7 is frozen",
     {"<ns1:Frozen xmlns:ns1=\"urn:kelvane:bank\">account 7 is frozen</ns1:Frozen>"}, 0, "|"},
    {"a declared text sent from its struct, SOAP 1.2", 1, 2, "account 7 is frozen",
     {"<ns1:Frozen xmlns:ns1=\"urn:kelvane:bank\">account 7 is frozen</ns1:Frozen>"}, 0, "Gone|"},
    {"a declared element sent as markup, SOAP 1.1", 1, 2, "cold & dark",
     {"<f:Frozen xmlns:f=\"urn:kelvane:bank\">cold &amp; dark</f:Frozen>"}, 0, "|"},
    {"a declared element sent as markup, SOAP 1.2", 1, 2, "cold & dark",
     {"<f:Frozen xmlns:f=\"urn:kelvane:bank\">cold &amp; dark</f:Frozen>"}, 0, "SOAP-ENV:Sender|"},
    {"an undeclared detail stays markup, SOAP 1.1", 1, 0, "", {"<x:why xmlns:x=\"urn:x\">no <b>stock</b></x:why>"}, 0, "|"},
    {"an undeclared Detail stays markup, SOAP 1.2", 1, 0, "", {"<x:why xmlns:x=\"urn:x\">no <b>stock</b></x:why>"}, 0, "|"},
    {"a declared element that does not decode stays markup", 1, 0, "",
     {"<b:Overdrawn xmlns:b=\"urn:kelvane:bank\"><b:balance>lots</b:balance>"}, 0, "|"},
    {"a Detail of text, SOAP 1.2", 1, 0, "", {"plain words"}, 0, "|"},
    {"the response", 0, 0, "", {}, 3, "|"},
    // Longer than the detail's fixed array and the message's fixed buffer once were.
    {"a long detail, SOAP 1.1", 1, 0, "", {"the long detail, whole"}, 0, "|"},
    {"a long detail, SOAP 1.2", 1, 0, "", {"the long detail, whole"}, 0, "|"},
};

class FaultDetailsTest : public GeneratorTest {};

TEST_F(FaultDetailsTest, DeclaredFaultsAreSentFromAndDecodedIntoTheirStructsOthersStayMarkup)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    viewLocation(KELVANE_SOURCE_DIR "/tests/generator/emit/data/faults/bank.wsdl");
    const auto library = emitLibrary("bank");
    const std::string& header = library.front().second;
    EXPECT_NE(header.find("#define BANK_DETAIL_OVERDRAWNFAULT\t1\r\n#define BANK_DETAIL_FROZENFAULT\t2\r\n"), std::string::npos);
    EXPECT_NE(header.find("\tint\tdetail_type;\r\n\tunion{\r\n\t\tbank_OverdrawnFault_msg_t\t*OverdrawnFault;\r\n"
                          "\t\tbank_FrozenFault_msg_t\t*FrozenFault;\r\n\t}detail_msg;\r\n"),
              std::string::npos);
    const RunResult run = buildAndRunC(DetailDriver, library, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    std::istringstream lines(run.output);
    std::string line;
    for (const DetailRow& row : DetailRows) {
        ASSERT_TRUE(std::getline(lines, line)) << row.label << "\n" << run.output << run.messages;
        std::istringstream fields(line);
        std::string code, type, decoded, markup, balance;
        std::getline(fields, code, '|');
        std::getline(fields, type, '|');
        std::getline(fields, decoded, '|');
        std::getline(fields, markup, '|');
        std::getline(fields, balance, '|');
        std::string subcode;
        std::getline(fields, subcode);
        EXPECT_EQ(code, std::to_string(row.code)) << row.label << ": " << line;
        EXPECT_EQ(type, std::to_string(row.detailType)) << row.label << ": " << line;
        EXPECT_EQ(decoded, row.decoded) << row.label;
        std::size_t at = 0;
        for (const std::string& text : row.markup) {
            at = markup.find(text, at);
            EXPECT_NE(at, std::string::npos) << row.label << ": " << text << " in " << markup;
        }
        if (row.markup.empty()) {
            EXPECT_EQ(markup, "") << row.label;
        }
        EXPECT_EQ(markup.find("ignored"), std::string::npos) << row.label;
        EXPECT_EQ(balance, std::to_string(row.balance)) << row.label;
        EXPECT_EQ(subcode, row.subcode) << row.label;
    }
    EXPECT_FALSE(std::getline(lines, line)) << line;
}

// A service that declares no fault message keeps the fault struct it had.
TEST_F(FaultDetailsTest, AServiceWithoutDeclaredFaultsHasNoDetailMessage)
{
    viewLocation(KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl");
    const std::string header = emitHeader("calc");
    EXPECT_EQ(header.find("detail_type"), std::string::npos);
    EXPECT_EQ(header.find("CALC_DETAIL_"), std::string::npos);
    EXPECT_NE(header.find("void WINAPI calc_free_fault(calc_soap_fault_msg_t *fault);"), std::string::npos);
    // The detail is as long as it comes.
    EXPECT_NE(header.find("\tchar *detail;\r\n"), std::string::npos);
}

} // namespace
