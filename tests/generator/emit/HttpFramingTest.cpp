// The generated reader against hostile peers: how a message is framed
// (Content-Length and Transfer-Encoding, alone, together, repeated), the
// exact form of status and request lines, and which part of a
// multipart/related body is the SOAP message. A hostile server's answer
// ends in an error or the right value; a hostile client's request ends in
// an error with the HTTP status that answers it. Natively under the
// sanitizers, and under Wine in the Windows build.

#include "GeneratorTestSupport.h"
#include "LoopbackPeer.h"

#include <regex>
#include <sstream>

using namespace gentest;

namespace {

// One document operation Find: a Count (xsd:long) in, a Count out.
std::string countService()
{
    return schemaDocument("<xsd:element name=\"Count\" type=\"xsd:long\"/>",
                          "<message name=\"In\"><part name=\"c\" element=\"tns:Count\"/></message>"
                          "<message name=\"Out\"><part name=\"c\" element=\"tns:Count\"/></message>"
                          "<portType name=\"P\"><operation name=\"Find\"><input message=\"tns:In\"/>"
                          "<output message=\"tns:Out\"/></operation></portType>"
                          "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"document\" "
                          "transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
                          "<operation name=\"Find\"><input><soap:body use=\"literal\"/></input>"
                          "<output><soap:body use=\"literal\"/></output></operation></binding>");
}

// Each row's message is sent whole by a loopback peer that then closes;
// printed: the reader's result, the packet's kind, an HTTP status with its
// reason, the Count, the error text and the attachment. READ_ANSWERS reads
// as a client (a transport connected to an address), READ_REQUESTS as a
// server; neither, as a transport of unknown side.
const char* const Driver = R"(
static const struct{ const char *text; size_t length; }cases[] = {
#include "cases.h"
};

int main(void)
{
	size_t c;
	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++){
		static fr_proto_packet_t pk;
		peer_t peer;
		fr_proto_trans_t trans;
		int result;

		memset(&peer, 0, sizeof(peer));
		peer.pieces[0] = cases[c].text;
		peer.lengths[0] = cases[c].length;
		peer.count = 1;
		memset(&trans, 0, sizeof(trans));
		if(peer_start(&peer, &trans.socket) != 0)
			return 1;
		/* no deadline: the peer's close ends every read */
#if defined(READ_REQUESTS)
		result = http_read_request(&trans, &pk, -1);
#else
#if defined(READ_ANSWERS)
		strcpy(trans.url, "/soap");
#endif
		result = fr_proto_readpacket(&trans, &pk, -1);
#endif
		peer_finish(&peer, trans.socket);
		printf("%d: %d type=%u", (int)c, result, pk.msg_type);
		if(pk.msg_type == FR_PROTO_HTTP)
			printf(" %d %s", pk.msg.http_msg.err_code, pk.msg.http_msg.err_code_string);
		if(result == 0 && pk.msg_type == FR_PROTO_COUNT)
			printf(" c=%lld", pk.msg_direction == FR_DIRECTION_REQUEST ? pk.msg.In.Count.Count : pk.msg.Out.Count.Count);
		if(pk.decode_error[0] != '\0')
			printf(" error=%s", pk.decode_error);
		if(pk.attachment != NULL)
			printf(" attachment=%s", pk.attachment);
		printf("\n");
		fr_free_proto_packet(&pk);
		memset(&pk, 0, sizeof(pk));
	}
	xmlCleanupParser();
	return 0;
}
)";

std::string countEnvelope(int count)
{
    return "<env:Envelope xmlns:env=\"http://schemas.xmlsoap.org/soap/envelope/\"><env:Body><Count xmlns=\"urn:t\">" +
        std::to_string(count) + "</Count></env:Body></env:Envelope>";
}

std::string length(const std::string& body)
{
    return std::to_string(body.size());
}

// A message of the start line and header lines given (each with its CR LF)
// and the body.
std::string message(const std::string& start, const std::string& headers, const std::string& body)
{
    return start + "\r\n" + headers + "\r\n" + body;
}

std::string withLength(const std::string& start, const std::string& body, const std::string& headers = std::string())
{
    return message(start, headers + "Content-Length: " + length(body) + "\r\n", body);
}

// The body in chunks of at most 16 bytes, and the last chunk.
std::string chunked(const std::string& body)
{
    static const char* const Hex = "0123456789abcdef";
    std::string out;
    for (std::size_t at = 0; at < body.size(); at += 16) {
        const std::string piece = body.substr(at, 16);
        out += (piece.size() == 16 ? std::string("10") : std::string(1, Hex[piece.size()])) + "\r\n" + piece + "\r\n";
    }
    return out + "0\r\n\r\n";
}

std::string cLiteral(const std::string& text)
{
    std::string out = "{\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\')
            out += std::string("\\") + static_cast<char>(c);
        else if (c < ' ' || c >= 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\%03o", c);
            out += escaped;
        } else
            out += static_cast<char>(c);
    }
    return out + "\", " + std::to_string(text.size()) + "}";
}

struct Row {
    std::string text;
    std::string expected;
};

class HttpFramingTest : public GeneratorTest {
protected:
    // Runs the rows through the generated reader, on the side given (a
    // line of the driver's); the output, a line per row.
    void expectRows(const std::vector<Row>& rows, const std::string& side = std::string())
    {
        std::string expected;
        for (std::size_t i = 0; i < rows.size(); ++i)
            expected += std::to_string(i) + ": " + rows[i].expected + "\n";
        EXPECT_EQ(readRows(rows, side), expected);
    }

    // The reader's line for each row's message, the generated source built
    // after the lines of prelude (a bound's -D, say).
    std::string readRows(const std::vector<Row>& rows, const std::string& side, const std::string& prelude = std::string())
    {
        std::string table;
        for (const Row& row : rows)
            table += cLiteral(row.text) + ",\n";
        view(countService());
        emitHeader("fr", programPlatform());
        const std::string source = emitSourceWithReaders() + LoopbackPeer + side + Driver;
        const RunResult run = buildAndRunC(prelude + "#include \"fr_api.c\"\n",
                                           {{"fr_api.h", headerText()}, {"fr_api.c", source}, {"cases.h", table}}, true);
        EXPECT_EQ(run.status, 0) << run.messages << run.output;
        return run.output;
    }
};

const std::string Ok = "HTTP/1.1 200 OK";
const std::string Post = "POST /soap HTTP/1.1";
const std::string BadRequest = "-1 type=1 400 Bad Request error=HTTP: ";
const std::string Refused = "-1 type=0 error=HTTP: ";
const std::string StartLine = "the first line is no HTTP/1.x request line or status line";
const std::string FieldLine = "a header line is no field name, colon and value";
const std::string Lengths = "a Content-Length is no number, or two Content-Length values differ";
const std::string LastCoding = "the last transfer coding is not chunked";
const std::string AsClient = "#define READ_ANSWERS\n";
const std::string AsServer = "#define READ_REQUESTS\n";

// A hostile server: each answer is framed as the standard says or refused.
TEST_F(HttpFramingTest, AnswersOfAHostileServer)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string body = countEnvelope(41);
    const std::vector<Row> rows = {
        // Both framings: the chunked coding wins over a length that would cut the body.
        {message(Ok, "Content-Length: 5\r\nTransfer-Encoding: chunked\r\n", chunked(body)), "0 type=3 c=41"},
        {message(Ok, "Transfer-Encoding: chunked\r\nContent-Length: 500\r\n", chunked(body)), "0 type=3 c=41"},
        // Repeated lengths must agree, on one line or several.
        {withLength(Ok, body, "Content-Length: " + length(body) + "\r\n"), "0 type=3 c=41"},
        {message(Ok, "Content-Length: " + length(body) + ", " + length(body) + "\r\n", body), "0 type=3 c=41"},
        {withLength(Ok, body, "Content-Length: 3\r\n"), Refused + Lengths},
        {message(Ok, "Content-Length: " + length(body) + ", 3\r\n", body), Refused + Lengths},
        {message(Ok, "Content-Length: \r\n", body), Refused + Lengths},
        {message(Ok, "Content-Length: -" + length(body) + "\r\n", body), Refused + Lengths},
        // Transfer-Encoding is a list whose last coding must be chunked; no
        // other coding is undone, so chunked must stand alone.
        {message(Ok, "Transfer-Encoding: xchunked\r\n", chunked(body)), Refused + LastCoding},
        {message(Ok, "Transfer-Encoding: chunked, gzip\r\n", chunked(body)), Refused + LastCoding},
        {message(Ok, "Transfer-Encoding: chunked\r\nTransfer-Encoding: gzip\r\n", chunked(body)), Refused + LastCoding},
        {message(Ok, "Transfer-Encoding: chunkedgzip\r\n", chunked(body)), Refused + LastCoding},
        {message(Ok, "Transfer-Encoding: gzip, chunked\r\n", chunked(body)),
         Refused + "a transfer coding other than chunked"},
        {message(Ok, "Transfer-Encoding: , CHUNKED ,\r\n", chunked(body)), "0 type=3 c=41"},
        {message("HTTP/1.0 200 OK", "Transfer-Encoding: chunked\r\n", chunked(body)),
         Refused + "Transfer-Encoding in an HTTP/1.0 message"},
        // Framed neither way, an answer ends where the connection does; one
        // of a status that has no body ends with its header.
        {message(Ok, "", body), "0 type=3 c=41"},
        {message("HTTP/1.0 200 OK", "", body), "0 type=3 c=41"},
        {message("HTTP/1.1 204 No Content", "", body),
         "0 type=1 204 No Content\r error=the message holds no SOAP envelope: its body is empty"},
        {message("HTTP/1.1 304 Not Modified", "Content-Length: 5\r\n", body),
         "0 type=1 304 Not Modified\r error=the message holds no SOAP envelope: its body is empty"},
        // Status lines: HTTP/1.x, SP, three digits, SP, a reason without control characters.
        {withLength("HTTP/1.0 200 OK", body), "0 type=3 c=41"},
        {withLength("HTTP/1.1 200 ", body), "0 type=3 c=41"},
        {withLength("HTTP/1.1 503 Service Unavailable", "busy"), "0 type=1 503 Service Unavailable\r error=the SOAP message is no well-formed XML: line 1, column 1: Start tag expected, '<' not found"},
        // Not being a status line, this one is refused: the client only
        // sees that the answer could not be read.
        {withLength("XTTP/9 500 Oops", body), Refused + StartLine},
        // A request line is no answer's; header lines another client could
        // read otherwise.
        {withLength(Post, body), Refused + "a request line where the status line of an answer must come"},
        {message(Ok, "Content-Length : " + length(body) + "\r\n", body), Refused + FieldLine},
        {message(Ok, "Content-Length\t: " + length(body) + "\r\n", body), Refused + FieldLine},
        {withLength(Ok, body, "X-A: 1\r\n X-B: 2\r\n"), Refused + FieldLine},
        {withLength("HTTP/1.1 200abc OK", body), Refused + StartLine},
        {withLength("HTTP/2.0 200 OK", body), Refused + StartLine},
        {withLength("HTTP/1.10 200 OK", body), Refused + StartLine},
        {withLength("HTTP/1.1 20 OK", body), Refused + StartLine},
        {withLength("HTTP/1.1 2000 OK", body), Refused + StartLine},
        {withLength("HTTP/1.1 200", body), Refused + StartLine},
        {withLength("HTTP/1.1  200 OK", body), Refused + StartLine},
        {withLength(std::string("HTTP/1.1 200 O\0K", 16), body), Refused + StartLine},
        {withLength("HTTP/1.1 200 O\x1bK", body), Refused + StartLine},
    };
    expectRows(rows, AsClient);
}

// A hostile client: each request that cannot be read right holds the
// answer a server sends before it closes the connection.
TEST_F(HttpFramingTest, RequestsOfAHostileClient)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string body = countEnvelope(50);
    const std::vector<Row> rows = {
        {withLength(Post, body), "0 type=3 c=50"},
        {message(Post, "Transfer-Encoding: chunked\r\n", chunked(body)), "0 type=3 c=50"},
        {withLength("M-SEARCH * HTTP/1.0", body), "0 type=3 c=50"},
        // Request lines: a method token, SP, a target of visible ASCII, SP, HTTP/1.x.
        {withLength("POST", body), BadRequest + StartLine},
        {withLength("POST /x HTTP/99999999999999", body), BadRequest + StartLine},
        {withLength("POST /x\x01y HTTP/1.1", body), BadRequest + StartLine},
        {withLength("POST /x\x7f HTTP/1.1", body), BadRequest + StartLine},
        {withLength("POST /\xc3\xa9 HTTP/1.1", body), BadRequest + StartLine},
        {withLength("POST  /x HTTP/1.1", body), BadRequest + StartLine},
        {withLength("POST /x  HTTP/1.1", body), BadRequest + StartLine},
        {withLength("POST /x HTTP/1.1 ", body), BadRequest + StartLine},
        {withLength("POST\t/x HTTP/1.1", body), BadRequest + StartLine},
        {withLength("PO(ST /x HTTP/1.1", body), BadRequest + StartLine},
        {withLength(" POST /x HTTP/1.1", body), BadRequest + StartLine},
        {withLength("POST /x http/1.1", body), BadRequest + StartLine},
        // A status line is no request's.
        {withLength(Ok, body), BadRequest + "a status line where a request line must come"},
        {withLength("HTTP/1.0 200 OK", body), BadRequest + "a status line where a request line must come"},
        // Header lines another server could read otherwise.
        {message(Post, "Content-Length : " + length(body) + "\r\n", body), BadRequest + FieldLine},
        {withLength(Post, body, "X-A: 1\r\n folded\r\n"), BadRequest + FieldLine},
        {withLength(Post, body, "X-A: 1\nTransfer-Encoding: chunked\r\n"), BadRequest + FieldLine},
        {withLength(Post, body, std::string("X-A: 1\0\r\n", 9)), BadRequest + FieldLine},
        {withLength(Post, body, "NoColon\r\n"), BadRequest + FieldLine},
        // Framing.
        {message(Post, "Content-Length: 5\r\nTransfer-Encoding: chunked\r\n", chunked(body)),
         BadRequest + "Content-Length and Transfer-Encoding together"},
        {withLength(Post, body, "Content-Length: 3\r\n"), BadRequest + Lengths},
        {message(Post, "Transfer-Encoding: xchunked\r\n", chunked(body)), BadRequest + LastCoding},
        {message(Post, "Transfer-Encoding: chunked, gzip\r\n", chunked(body)), BadRequest + LastCoding},
        {message(Post, "Transfer-Encoding: gzip, chunked\r\n", chunked(body)),
         "-1 type=1 501 Not Implemented error=HTTP: a transfer coding other than chunked"},
        {message("POST /x HTTP/1.0", "Transfer-Encoding: chunked\r\n", chunked(body)),
         BadRequest + "Transfer-Encoding in an HTTP/1.0 message"},
        {message(Post, "", body),
         "-1 type=1 411 Length Required error=HTTP: neither Content-Length nor Transfer-Encoding chunked"},
        {message(Post, "Transfer-Encoding: chunked\r\n", "zz\r\n" + body + "\r\n0\r\n\r\n"),
         BadRequest + "the body breaks the chunked coding"},
        // A length beyond the bound is refused before a byte of the body is
        // taken; a header longer than the buffer a message starts in is read.
        {message(Post, "Content-Length: 67108865\r\n", body),
         "-1 type=1 413 Content Too Large error=HTTP: the message is longer than a message may be "
         "(FR_MAX_READ_MESSAGE_LEN: 67108864 bytes)"},
        {withLength(Post, body, "X-Long: " + std::string(130000, 'x') + "\r\n"), "0 type=3 c=50"},
    };
    expectRows(rows, AsServer);
}

// An answer's envelope: a Header of the entries given when there are any,
// and a Count of 41 whose start tag carries the attributes given.
std::string floodEnvelope(const std::string& countAttributes, const std::string& header = std::string())
{
    return "<env:Envelope xmlns:env=\"http://schemas.xmlsoap.org/soap/envelope/\">" +
        (header.empty() ? std::string() : "<env:Header>" + header + "</env:Header>") +
        "<env:Body><Count xmlns=\"urn:t\"" + countAttributes + ">41</Count></env:Body></env:Envelope>";
}

// count attributes (name="v"), or namespace declarations (xmlns:name="urn:name").
std::string attributes(int count, const std::string& name = "a")
{
    std::string out;
    for (int i = 0; i < count; ++i) {
        const std::string n = name + std::to_string(i);
        out += name == "xmlns:p" ? " " + n + "=\"urn:" + n + "\"" : " " + n + "='v'";
    }
    return out;
}

std::string repeated(const std::string& text, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += text;
    return out;
}

// What the reader says of a flood whose element starts at the nth (from 1)
// place of what in text: the line and column of that element.
std::string passed(const std::string& text, const std::string& what, int nth, const std::string& bound)
{
    std::size_t at = std::string::npos;
    for (int i = 0; i < nth; ++i)
        at = text.find(what, at + 1);
    return "-1 type=0 error=line 1, column " + std::to_string(at + 1) + ": more than " + bound;
}

// Floods of markup in answers (a client's rows) and in requests (a
// server's): each at ten times its bound is refused before libxml2 parses
// it (the reason is the bound's, not the parse's), a message just under
// each bound is read.
TEST_F(HttpFramingTest, FloodsOfMarkupAreRefusedBeforeTheParse)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string manyAttributes = floodEnvelope(attributes(1280));
    const std::string manyDeclarations = floodEnvelope(attributes(639, "xmlns:p"));
    const std::string spread = floodEnvelope("", repeated("<h" + attributes(64, "xmlns:p") + "/>", 40));
    const std::string deep = floodEnvelope("", repeated("<h>", 2560) + repeated("</h>", 2560));
    // End tags inside CDATA, comments and instructions (whose ends repeat their first byte) close nothing.
    const std::string deepHidden =
        floodEnvelope("", repeated("<h><![CDATA[</h></h>]]]><!-- </h> - --><?p ?</h>?a?>", 2560) + repeated("</h>", 2560));
    const std::string attributesBound = "128 attributes on one element (FR_MAX_ELEMENT_ATTRIBUTES)";
    const std::vector<Row> rows = {
        {withLength(Ok, floodEnvelope(attributes(128))), "0 type=3 c=41"},
        // Markup in comments, processing instructions and CDATA counts for
        // nothing, nor do '>' and '/' in values.
        {withLength(Ok, "<!-- <x" + attributes(200) + "> --><?pi <y" + attributes(200) + ">?>" +
                            floodEnvelope(" b='/>' c=\"a>b\"" + attributes(126), "<h><![CDATA[<z" + attributes(200) + ">]]></h>")),
         "0 type=3 c=41"},
        {withLength(Ok, manyAttributes), passed(manyAttributes, "<Count", 1, attributesBound)},
        {withLength(Ok, floodEnvelope(attributes(40000))), passed(manyAttributes, "<Count", 1, attributesBound)},
        // The Count's own default namespace is one of its declarations.
        {withLength(Ok, floodEnvelope(attributes(63, "xmlns:p"))), "0 type=3 c=41"},
        {withLength(Ok, manyDeclarations),
         passed(manyDeclarations, "<Count", 1, "64 namespace declarations on one element (FR_MAX_ELEMENT_NAMESPACES)")},
        // The Envelope and the Count declare one each.
        {withLength(Ok, floodEnvelope("", repeated("<h" + attributes(63, "xmlns:p") + "/>", 4))), "0 type=3 c=41"},
        {withLength(Ok, spread),
         passed(spread, "<h", 4, "256 namespace declarations in one message (FR_MAX_MESSAGE_NAMESPACES)")},
        // Below the Envelope and the Header.
        {withLength(Ok, floodEnvelope("", repeated("<h>", 250) + repeated("</h>", 250))), "0 type=3 c=41"},
        {withLength(Ok, deep), passed(deep, "<h>", 255, "256 elements nested in one another (FR_MAX_DEPTH)")},
        {withLength(Ok, deepHidden), passed(deepHidden, "<h>", 255, "256 elements nested in one another (FR_MAX_DEPTH)")},
    };
    expectRows(rows, AsClient);
    const std::string request = floodEnvelope(attributes(1280));
    expectRows({{withLength(Post, floodEnvelope(attributes(128))), "0 type=3 c=41"},
                {withLength(Post, request), passed(request, "<Count", 1, attributesBound)}},
               AsServer);
}

// A message whose decoding would take long is refused once its time has
// passed, having been handed to the parser no further than its first two
// reads, however long it is; a short one is read whatever the clock says,
// and with the default bound the long one is read whole. The bound is set
// to no time at all: which of its bytes the parse had reached is the work
// it did.
TEST_F(HttpFramingTest, DecodingEndsAtItsTime)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const std::string longEnvelope = floodEnvelope("", repeated("<h a='v'/>", 60000));
    const std::vector<Row> rows = {{withLength(Ok, longEnvelope), ""}, {withLength(Ok, countEnvelope(41)), ""}};
    const std::vector<Row> requests = {{withLength(Post, longEnvelope), ""}};
    const std::regex late("-1 type=0 error=the message's decoding passed its time \\(0 microseconds: FR_MAX_DECODE_USEC or "
                          "the call's time-out\\) after ([0-9]+) of its " + length(longEnvelope) + " bytes");
    for (const std::string& side : {AsClient, AsServer}) {
        SCOPED_TRACE(side);
        std::istringstream lines(readRows(side == AsClient ? rows : requests, side, "#define FR_MAX_DECODE_USEC 0\n"));
        std::string line;
        std::smatch match;
        ASSERT_TRUE(std::getline(lines, line));
        ASSERT_TRUE(std::regex_search(line, match, late)) << line;
        EXPECT_LE(std::stoul(match[1].str()), 8192u) << line;
        if (side == AsClient) {
            ASSERT_TRUE(std::getline(lines, line));
            EXPECT_EQ(line, "1: 0 type=3 c=41");
        }
    }
    expectRows({{withLength(Ok, longEnvelope), "0 type=3 c=41"}}, AsClient);
}

// multipart/related: the root is the part that start names by its
// Content-ID (the first without start), and its type must carry an
// envelope; a decoy part is never decoded in its place.
TEST_F(HttpFramingTest, MultipartRootByStart)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const auto related = [](const std::string& parameters, const std::string& parts) {
        return withLength(Ok, parts, "Content-Type: multipart/related; boundary=\"MB\"" + parameters + "\r\n");
    };
    const std::string decoy = "--MB\r\nContent-Type: text/xml\r\nContent-ID: <decoy@x>\r\n\r\n" + countEnvelope(1) + "\r\n";
    const std::string root = "--MB\r\nContent-Type: text/xml\r\nContent-ID: <root@x>\r\n\r\n" + countEnvelope(2) + "\r\n";
    const std::string binary = "--MB\r\nContent-Type: application/octet-stream\r\nContent-ID: <bin@x>\r\n\r\nBIN\r\n";
    const std::string close = "--MB--\r\n";
    const std::vector<Row> rows = {
        {related("; type=\"text/xml\"; start=\"<root@x>\"", decoy + root + close), "0 type=3 c=2 attachment=\r\n--MB--\r\n"},
        {related("; start=\"<root@x>\"; type=\"text/xml\"", root + binary + close),
         "0 type=3 c=2 attachment=\r\n--MB\r\nContent-Type: application/octet-stream\r\nContent-ID: <bin@x>\r\n\r\nBIN\r\n--MB--\r\n"},
        {related("; START=<root@x>", decoy + root + close), "0 type=3 c=2 attachment=\r\n--MB--\r\n"},
        {related("; start=root@x", decoy + root + close), "0 type=3 c=2 attachment=\r\n--MB--\r\n"},
        {related("; start=\"<decoy@x>\"", decoy + root + close), "0 type=3 c=1 attachment=\r\n--MB\r\n"
         "Content-Type: text/xml\r\nContent-ID: <root@x>\r\n\r\n" + countEnvelope(2) + "\r\n--MB--\r\n"},
        {related("", decoy + root + close), "0 type=3 c=1 attachment=\r\n--MB\r\n"
         "Content-Type: text/xml\r\nContent-ID: <root@x>\r\n\r\n" + countEnvelope(2) + "\r\n--MB--\r\n"},
        // A start that names no part, a part behind the close delimiter, a
        // root of a type that holds no envelope.
        {related("; start=\"<none@x>\"", decoy + root + close),
         "-1 type=0 error=multipart: no part has the Content-ID that the start parameter names"},
        {related("; start=\"<root@x>\"", decoy + close + root),
         "-1 type=0 error=multipart: no part has the Content-ID that the start parameter names"},
        {related("; start=\"<bin@x>\"", decoy + binary + close),
         "-1 type=0 error=multipart: the root part's Content-Type is no XML type a SOAP envelope comes in"},
        {related("", "--MB\r\nContent-Type: text/plain\r\n\r\n" + countEnvelope(3) + "\r\n" + close),
         "-1 type=0 error=multipart: the root part's Content-Type is no XML type a SOAP envelope comes in"},
        {related("; start=\"<r>\"", "--MB\r\nContent-Type: application/xop+xml; type=\"text/xml\"\r\nContent-ID: <r>\r\n\r\n" +
                                        countEnvelope(4) + "\r\n" + close),
         "0 type=3 c=4 attachment=\r\n--MB--\r\n"},
        // The boundary is the parameter of that name, not a text that ends so.
        {withLength(Ok, root + close, "Content-Type: multipart/related; xboundary=\"XX\"; boundary=MB\r\n"),
         "0 type=3 c=2 attachment=\r\n--MB--\r\n"},
    };
    expectRows(rows);
}

} // namespace
