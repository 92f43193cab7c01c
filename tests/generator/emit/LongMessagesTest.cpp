// Messages longer than the buffer a message starts in, through the
// generated client (a response) and the generated server's reader (a
// request): framed by Content-Length, by chunks or (a response) by the
// connection's close, around the old fixed limit of 120,000 bytes and the
// bound a message may not pass, and with framings that lie about the length.
// Natively under the sanitizers, and under Wine in the Windows build.

#include "GeneratorTestSupport.h"
#include "LoopbackPeer.h"
#include "LoopbackServer.h"

#include <sstream>
#include <string>
#include <vector>

using namespace gentest;

namespace {

// The bound the generated header sets, and the one the driver is built with
// so that messages over it stay small enough to send.
const char* const HeaderBound = "#define CALC_MAX_READ_MESSAGE_LEN\t67108864";
const char* const TestBound = "#define CALC_MAX_READ_MESSAGE_LEN\t1000000";

// Each row: a framing ('L' Content-Length, 'C' chunks of 65,536 bytes, 'c'
// chunks of 7, 'E' the close, 'H' a header line of the row's length before a
// short message framed by length), the message's length with its head (the
// chunks' data alone counted), and a length announced in its place (-1: the
// true one). Printed for each row: the client's call, then the server's
// reading of the same message as a request.
const char* const Driver = R"(
static const struct{ char framing; size_t total; long announced; }rows[] = {
#include "cases.h"
};

#define OPEN_ANSWER "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body><GreetResponse xmlns=\"urn:kelvane:calculator\"><greeting>"
#define CLOSE_ANSWER "</greeting></GreetResponse></e:Body></e:Envelope>"
#define OPEN_REQUEST "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body><Greet xmlns=\"urn:kelvane:calculator\"><name>"
#define CLOSE_REQUEST "</name></Greet></e:Body></e:Envelope>"

static char *wire;
static size_t wire_length, filled;

/* the row's message after start_line, its text between open and close filled with 'g' (filled of
   them), into wire */
static void build(size_t row, const char *start_line, const char *open, const char *close)
{
	char head[256];
	size_t head_length = 0, body_length = 0, i, at, piece = rows[row].framing == 'c' ? 7 : 65536;
	long announced = rows[row].announced;
	char framing = rows[row].framing;

	wire = (char *)realloc(wire, rows[row].total * 3 + 1024);
	/* Content-Length's digits count in the head */
	for(i = 0; i < 3; i++){
		if(framing == 'L')
			head_length = (size_t)sprintf(head, "%s\r\nContent-Type: text/xml\r\nContent-Length: %ld\r\n\r\n", start_line,
				announced >= 0 ? announced : (long)body_length);
		else if(framing == 'C' || framing == 'c')
			head_length = (size_t)sprintf(head, "%s\r\nContent-Type: text/xml\r\nTransfer-Encoding: chunked\r\n\r\n", start_line);
		else
			head_length = (size_t)sprintf(head, "%s\r\nContent-Type: text/xml\r\n\r\n", start_line);
		body_length = rows[row].total - head_length;
	}
	if(framing == 'H'){
		body_length = strlen(open) + 2 + strlen(close);
		head_length = (size_t)sprintf(head, "%s\r\nContent-Length: %ld\r\nX-Long: ", start_line, (long)body_length);
		memcpy(wire, head, head_length);
		memset(wire + head_length, 'x', rows[row].total);
		wire_length = head_length + rows[row].total + (size_t)sprintf(wire + head_length + rows[row].total, "\r\n\r\n%sgg%s", open, close);
		filled = 2;
		return;
	}
	filled = body_length - strlen(open) - strlen(close);
	memcpy(wire, head, head_length);
	wire_length = head_length;
	/* the body, apart, then into the wire as it is framed */
	{
		char *body = (char *)malloc(body_length + 1);
		memcpy(body, open, strlen(open));
		memset(body + strlen(open), 'g', filled);
		strcpy(body + strlen(open) + filled, close);
		if(framing != 'C' && framing != 'c'){
			memcpy(wire + wire_length, body, body_length);
			wire_length += body_length;
		}else{
			for(at = 0; at < body_length; at += piece){
				size_t n = body_length - at < piece ? body_length - at : piece;
				wire_length += (size_t)sprintf(wire + wire_length, "%lx\r\n", at == 0 && announced >= 0 ? (unsigned long)announced : (unsigned long)n);
				memcpy(wire + wire_length, body + at, n);
				wire_length += n;
				wire_length += (size_t)sprintf(wire + wire_length, "\r\n");
			}
			wire_length += (size_t)sprintf(wire + wire_length, "0\r\n\r\n");
		}
		free(body);
	}
}

/* answers the client's one request with the wire, then closes */
static void *serve(void *arg)
{
	calc_proto_trans_t trans;
	calc_proto_packet_t pk;
	tessaro_size_t sent;
	(void)arg;
	memset(&trans, 0, sizeof(trans));
	trans.socket = accept(listener, NULL, NULL);
	if(calc_proto_readpacket(&trans, &pk, 30) == 0)
		tessaro_socket_send_all(trans.socket, wire, wire_length, &sent, 60 * TESSARO_USEC_PER_SEC);
	calc_free_proto_packet(&pk);
	tessaro_socket_close(trans.socket);
	return NULL;
}

static size_t length_of(const char *text)
{
	return text != NULL ? strlen(text) : 0;
}

int main(void)
{
	char endpoint[64];
	size_t row;
	network_start();
	for(row = 0; row < sizeof(rows) / sizeof(rows[0]); row++){
		calc_client_t client;
		calc_GreetRequest_msg_t in;
		calc_GreetReply_msg_t out;
		calc_soap_fault_msg_t fault;
		static calc_proto_packet_t pk;
		peer_t peer;
		calc_proto_trans_t trans;
		int result;

		/* the client: the message as the answer */
		build(row, "HTTP/1.1 200 OK", OPEN_ANSWER, CLOSE_ANSWER);
		memset(&in, 0, sizeof(in));
		in.Greet.name = "ann";
		if(server_start("/calc", endpoint) != 0 || calc_client_init(&client, endpoint) != 0)
			return 2;
		/* no time-out: the server's close ends every answer, where a time limit would fail on a loaded machine */
		client.timeout = -1;
		result = calc_Greet(&client, &in, &out, &fault);
		server_finish();
		printf("%d|%d|%s\n", result, result == 0 && length_of(out.GreetResponse.greeting) == filled,
			calc_client_error_detail(&client));
		calc_free_Greet(&out);
		calc_free_fault(&fault);
		calc_client_close(&client);

		/* the server: the message as a request */
		build(row, "POST /calc HTTP/1.1", OPEN_REQUEST, CLOSE_REQUEST);
		memset(&peer, 0, sizeof(peer));
		peer.pieces[0] = wire;
		peer.lengths[0] = wire_length;
		peer.count = 1;
		memset(&trans, 0, sizeof(trans));
		if(peer_start(&peer, &trans.socket) != 0)
			return 3;
		result = calc_proto_readpacket(&trans, &pk, -1);
		/* a message refused before its end is not read: the peer's sending ends with the close */
		tessaro_socket_close(trans.socket);
		peer_finish(&peer, INVALID_SOCKET);
		printf("%d|%d|%d|%s\n", result, result == 0 && pk.msg_type == CALC_PROTO_GREET && length_of(pk.msg.GreetRequest.Greet.name) == filled,
			pk.msg_type == CALC_PROTO_HTTP ? pk.msg.http_msg.err_code : 0, pk.decode_error);
		calc_free_proto_packet(&pk);
		memset(&pk, 0, sizeof(pk));
	}
	free(wire);
	xmlCleanupParser();
	return 0;
}
)";

struct Row {
    char framing;
    std::size_t total;
    long announced;
    const char* client;     // the client's line starts so
    std::string clientHolds; // and holds this after it
    std::string server;     // the server's line, whole unless it ends in ':'
};

const char* const Answered = "0|1|";
const char* const Read = "0|1|0|";
const std::string Unframed = "-1|0|411|HTTP: neither Content-Length nor Transfer-Encoding chunked";
const std::string TooLong = "HTTP: the message is longer than a message may be (CALC_MAX_READ_MESSAGE_LEN: 1000000 bytes)";
const std::string HeadTooLong = "HTTP: the header is longer than a message may be (CALC_MAX_READ_MESSAGE_LEN: 1000000 bytes)";

const std::vector<Row>& rows()
{
    static const std::vector<Row> table = {
        // Around the old fixed limit, each framing.
        {'L', 119999, -1, Answered, "", Read},
        {'L', 120001, -1, Answered, "", Read},
        {'C', 119999, -1, Answered, "", Read},
        {'C', 120001, -1, Answered, "", Read},
        {'E', 119999, -1, Answered, "", Unframed},
        {'E', 120001, -1, Answered, "", Unframed},
        // Chunk sizes and line ends do not count: on the wire the message is
        // longer than the bound.
        {'c', 600000, -1, Answered, "", Read},
        // Up to the bound (chunks leave room for their framing), and past it by a byte.
        {'L', 1000000, -1, Answered, "", Read},
        {'E', 1000000, -1, Answered, "", Unframed},
        {'C', 999936, -1, Answered, "", Read},
        {'L', 1000001, -1, "-4|0|", "was refused: " + TooLong, "-1|0|413|" + TooLong},
        {'C', 1000001, -1, "-4|0|", "was refused: " + TooLong, "-1|0|413|" + TooLong},
        {'E', 1000001, -1, "-4|0|", "was refused: " + TooLong, Unframed},
        {'H', 1000001, -1, "-4|0|", "was refused: " + HeadTooLong, "-1|0|431|" + HeadTooLong},
        // Lengths that lie: beyond the bound (refused before a byte of the
        // body is taken), beyond what comes, short of what comes.
        {'L', 2000, 1000000, "-4|0|", "was refused: " + TooLong, "-1|0|413|" + TooLong},
        {'C', 2000, 0x10000000, "-4|0|", "was refused: " + TooLong, "-1|0|413|" + TooLong},
        {'L', 2000, 5000, "-4|0|", "the server closed the connection", "-1|0|0|"},
        {'L', 2000, 1000, "-30|0|", "does not decode: the SOAP message is no well-formed XML",
         "-1|0|0|the SOAP message is no well-formed XML:"},
    };
    return table;
}

class LongMessagesTest : public GeneratorTest {};

TEST_F(LongMessagesTest, EachFramingGrowsToTheBoundAndNoFurther)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    viewLocation(KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl");
    std::string header = emitHeader("calc", programPlatform());
    const std::size_t bound = header.find(HeaderBound);
    ASSERT_NE(bound, std::string::npos);
    header.replace(bound, std::string(HeaderBound).size(), TestBound);
    CTextBuffer source;
    writeSourceFile(*context_, source);
    std::string cases;
    for (const Row& row : rows())
        cases += "{'" + std::string(1, row.framing) + "', " + std::to_string(row.total) + ", " +
                 std::to_string(row.announced) + "},\n";
    const std::string main = std::string("#include \"calc_api.c\"\n") + OneRequestServer + LoopbackPeer + Driver;
    const RunResult run =
        buildAndRunC(main, {{"calc_api.h", header}, {"calc_api.c", source.text()}, {"cases.h", cases}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    std::istringstream lines(run.output);
    std::string line;
    for (const Row& row : rows()) {
        const std::string label = std::string(1, row.framing) + " " + std::to_string(row.total) + " " +
                                  std::to_string(row.announced);
        ASSERT_TRUE(std::getline(lines, line)) << label << "\n" << run.output;
        EXPECT_EQ(line.rfind(row.client, 0), 0u) << label << ": " << line;
        EXPECT_NE(line.find(row.clientHolds), std::string::npos) << label << ": " << line;
        ASSERT_TRUE(std::getline(lines, line)) << label << "\n" << run.output;
        if (row.server.back() == ':')
            EXPECT_EQ(line.rfind(row.server, 0), 0u) << label << ": " << line;
        else
            EXPECT_EQ(line, row.server) << label;
    }
}

} // namespace
