// The generated read_packet against a scripted loopback peer: headers in
// pieces, length headers in any case, chunked bodies, binary bodies, messages
// over the buffer and peers that stop early.

#include "CodecFixture.h"

using namespace gentest;

namespace {

// Each case: the pieces the peer sends ('|' separates them), the size
// passed to read_packet and how many times it is called. Printed for each
// call: the result, and unless it is -1 the length and buffer; then whether
// the buffer is NUL-terminated.
const char* const Driver = R"(
#define CASE(pieces, size) {pieces, sizeof(pieces) - 1, size, 1}
#define CASES(pieces, size, reads) {pieces, sizeof(pieces) - 1, size, reads}
static const struct{ const char *text; size_t length; int size; int reads; }cases[] = {
	CASE("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r|\nhel|lo", 300),
	CASE("HTTP/1.1 200 OK\r\ncontent-length:5\r\n\r\nhello", 300),
	CASE("HTTP/1.1 200 OK\r\nServer: x\r\nCoNtEnT-LeNgTh: \t5 \r\n\r\nhel|lo", 300),
	CASE("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n|1A;name=value\r\nabcdefghijklmnopqrstuvwxyz\r\n|0\r\n\r\n", 300),
	CASE("HTTP/1.1 200 OK\r\ntransfer-encoding: Chunked\r\n\r\n1\r\na\r\n1\r|\nb\r\n2\r\ncd|\r\n1\r\ne\r\n1 ; x\r\nf\r\n3\r\nghi\r\n0\r\nX-Sum: 1\r\n|\r\n", 300),
	CASE("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\n\0a\0|\0\xff\0", 300),
	CASE("HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n01234|5678901234567|89", 60),
	CASE("HTTP/1.1 200 OK\r\nContent-Length: 21\r\n\r\n01234|5678901234567|890", 60),
	CASE("HTTP/1.1 200 OK\r\nX-Long: 0123456789012345678901234567890123456789|01234567890123456789\r\n\r\n", 60),
	CASE("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\n0123456789abcdef\r\n|0\r\n\r\n", 60),
	CASE("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nffffffffffffffffff\r\n", 300),
	CASE("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabcX\r\n0\r\n\r\n", 300),
	CASE("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc|d", 300),
	CASE("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nab", 300),
	CASE("HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\nX-Note: chunked\r\n\r\n", 300),
	CASE("HTTP/1.1 200 OK\r\nX-Content-Length: 3\r\n\r\nContent-Length: 3\r\n\r\nabc", 300),
	CASE("HTTP/1.1 200 OK\r\nContent-Length: 5x\r\n\r\nhello", 300),
	CASE("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabcdef", 300),
	CASES("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabcHTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nde\r\n0\r\n\r\n"
		"HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nf", 300, 3),
	CASES("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhe|lloHTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nf", 300, 2),
	CASES("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r|\nabHTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nc", 300, 2),
	CASES("HTTP/1.1 204 No Content\r\nContent-Length: 3\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\ng", 300, 2),
	CASES("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\nHTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\nh\r\n0\r\n\r\n", 300, 2),
};

int main(void)
{
	size_t c, i;
	int r;
	for(c = 0; c < sizeof(cases) / sizeof(cases[0]); c++){
		peer_t peer;
		demo_proto_trans_t trans;
		char *copy = malloc(cases[c].length + 1), *start = copy;
		char *buff = calloc(cases[c].size + 1, 1);
		http_buffer_t message;
		tessaro_size_t length = 0;
		int result;

		memset(&peer, 0, sizeof(peer));
		memcpy(copy, cases[c].text, cases[c].length);
		for(i = 0; i <= cases[c].length; i++){
			if(i == cases[c].length || copy[i] == '|'){
				peer.pieces[peer.count] = start;
				peer.lengths[peer.count++] = copy + i - start;
				start = copy + i + 1;
			}
		}
		memset(&trans, 0, sizeof(trans));
		if(peer_start(&peer, &trans.socket) != 0)
			return 1;
		for(r = 0; r < cases[c].reads; r++){
			length = 0;
			memset(buff, 0, cases[c].size + 1);
			/* no deadline: the peer's close ends every read (deadlines have a test of their own) */
			message.text = buff;
			message.size = message.limit = (size_t)cases[c].size;
			result = read_packet(&trans, &message, &length, -1, NULL);
			/* where the framing fails depends on how much had arrived */
			if(result == -1)
				printf("-1 ");
			else
				printf("%d %d ", result, (int)length);
			for(i = 0; result != -1 && i < length; i++){
				if(buff[i] >= ' ' && buff[i] < 127)
					putchar(buff[i]);
				else
					printf("\\x%02x", (unsigned char)buff[i]);
			}
			printf("|%d\n", buff[length] == '\0');
		}
		peer_finish(&peer, trans.socket);
		free(buff);
		free(copy);
	}
	return 0;
}
)";

const char* const Expected[] = {
    "0 43 HTTP/1.1 200 OK\\x0d\\x0aContent-Length: 5\\x0d\\x0a\\x0d\\x0ahello|1",
    "0 42 HTTP/1.1 200 OK\\x0d\\x0acontent-length:5\\x0d\\x0a\\x0d\\x0ahello|1",
    "0 56 HTTP/1.1 200 OK\\x0d\\x0aServer: x\\x0d\\x0aCoNtEnT-LeNgTh: \\x095 \\x0d\\x0a\\x0d\\x0ahello|1",
    // Chunks joined, size lines, extensions and the trailer dropped.
    "0 73 HTTP/1.1 200 OK\\x0d\\x0aTransfer-Encoding: chunked\\x0d\\x0a\\x0d\\x0aabcdefghijklmnopqrstuvwxyz|1",
    "0 56 HTTP/1.1 200 OK\\x0d\\x0atransfer-encoding: Chunked\\x0d\\x0a\\x0d\\x0aabcdefghi|1",
    "0 44 HTTP/1.1 200 OK\\x0d\\x0aContent-Length: 6\\x0d\\x0a\\x0d\\x0a\\x00a\\x00\\x00\\xff\\x00|1",
    // 59 bytes fit a size of 60; 60 would leave no byte free.
    "0 59 HTTP/1.1 200 OK\\x0d\\x0aContent-Length: 20\\x0d\\x0a\\x0d\\x0a01234567890123456789|1",
    "-1 |1",
    // A header, a chunk, a chunk size too large for the buffer; a chunk
    // without its CR LF.
    "-1 |1",
    "-1 |1",
    "-1 |1",
    "-1 |1",
    // The peer stops mid-body: the end of the stream is the receive's result
    // (a chunk's size line is dropped as soon as it is read).
    "1 43 HTTP/1.1 200 OK\\x0d\\x0aContent-Length: 10\\x0d\\x0a\\x0d\\x0aabcd|1",
    "1 49 HTTP/1.1 200 OK\\x0d\\x0aTransfer-Encoding: chunked\\x0d\\x0a\\x0d\\x0aab|1",
    // "chunked" outside the Transfer-Encoding value; a length line in the
    // body or under another name frames nothing, so the answer runs to the
    // close; a length with junk.
    "-1 |1",
    "0 64 HTTP/1.1 200 OK\\x0d\\x0aX-Content-Length: 3\\x0d\\x0a\\x0d\\x0aContent-Length: 3\\x0d\\x0a\\x0d\\x0aabc|1",
    "-1 |1",
    // Bytes behind the announced length are not part of the message.
    "0 41 HTTP/1.1 200 OK\\x0d\\x0aContent-Length: 3\\x0d\\x0a\\x0d\\x0aabc|1",
    // Messages one behind the other in one piece: each read takes its own.
    "0 41 HTTP/1.1 200 OK\\x0d\\x0aContent-Length: 3\\x0d\\x0a\\x0d\\x0aabc|1",
    "0 49 HTTP/1.1 200 OK\\x0d\\x0aTransfer-Encoding: chunked\\x0d\\x0a\\x0d\\x0ade|1",
    "0 39 HTTP/1.1 200 OK\\x0d\\x0aContent-Length: 1\\x0d\\x0a\\x0d\\x0af|1",
    // The same when a message's body (or the blank line before it) comes in
    // pieces, the next message right behind its last piece; a status that has
    // no body ends with its header whatever length it names.
    "0 43 HTTP/1.1 200 OK\\x0d\\x0aContent-Length: 5\\x0d\\x0a\\x0d\\x0ahello|1",
    "0 39 HTTP/1.1 200 OK\\x0d\\x0aContent-Length: 1\\x0d\\x0a\\x0d\\x0af|1",
    "0 40 HTTP/1.1 200 OK\\x0d\\x0aContent-Length: 2\\x0d\\x0a\\x0d\\x0aab|1",
    "0 39 HTTP/1.1 200 OK\\x0d\\x0aContent-Length: 1\\x0d\\x0a\\x0d\\x0ac|1",
    "0 46 HTTP/1.1 204 No Content\\x0d\\x0aContent-Length: 3\\x0d\\x0a\\x0d\\x0a|1",
    "0 39 HTTP/1.1 200 OK\\x0d\\x0aContent-Length: 1\\x0d\\x0a\\x0d\\x0ag|1",
    "0 38 HTTP/1.1 200 OK\\x0d\\x0aContent-Length: 0\\x0d\\x0a\\x0d\\x0a|1",
    "0 48 HTTP/1.1 200 OK\\x0d\\x0aTransfer-Encoding: chunked\\x0d\\x0a\\x0d\\x0ah|1",
};

class PacketReaderTest : public ReaderDriverTest {};

TEST_F(PacketReaderTest, ScriptedPeers)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = runReaderDriver(schemaDocument(""), Driver);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    EXPECT_EQ(run.output, joinedLines(Expected));
}

// A peer that sends its first bytes at once and then one byte each time
// the reader looks at its clock, a clock that moves one second each time:
// time runs with the reader's receives, not with the machine's load.
const char* const TricklingPeer = R"(
static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static pthread_cond_t moved = PTHREAD_COND_INITIALIZER;
static long ticks, stopped;

tessaro_usec_t fake_clock(void)
{
	tessaro_usec_t now;
	pthread_mutex_lock(&lock);
	now = ++ticks * TESSARO_USEC_PER_SEC;
	pthread_cond_broadcast(&moved);
	pthread_mutex_unlock(&lock);
	return now;
}

/* piece 0 at once, then a byte for each tick of the clock: no tick is lost */
static int trickle_pace(int piece)
{
	int stop;
	pthread_mutex_lock(&lock);
	while(piece > ticks && !stopped)
		pthread_cond_wait(&moved, &lock);
	stop = stopped != 0;
	pthread_mutex_unlock(&lock);
	return stop;
}

/* Reads one message from a trickling peer; prints the result and whether
 * the reader got past the header. */
static void trickle(const char *text, size_t at_once, int timeout)
{
	static char buff[200000];
	http_buffer_t message = {buff, sizeof(buff) - 1, sizeof(buff) - 1, 0};
	peer_t peer;
	demo_proto_trans_t trans;
	tessaro_size_t length = 0;
	size_t i;
	int result;

	memset(&peer, 0, sizeof(peer));
	peer.pace = trickle_pace;
	peer.pieces[0] = text;
	peer.lengths[0] = at_once;
	for(i = at_once, peer.count = 1; text[i] != '\0'; i++, peer.count++){
		peer.pieces[peer.count] = text + i;
		peer.lengths[peer.count] = 1;
	}
	ticks = stopped = 0;
	memset(buff, 0, sizeof(buff));
	memset(&trans, 0, sizeof(trans));
	if(peer_start(&peer, &trans.socket) != 0)
		exit(1);
	result = read_packet(&trans, &message, &length, timeout, NULL);
	pthread_mutex_lock(&lock);
	stopped = 1;
	pthread_cond_broadcast(&moved);
	pthread_mutex_unlock(&lock);
	peer_finish(&peer, trans.socket);
	printf("%d %s %s\n", result, strstr(buff, "\r\n\r\n") != NULL ? "body" : "header",
		result == 0 ? strstr(buff, "\r\n\r\n") + 4 : "");
}

int main(void)
{
	static char chunked[130000];
	const char *length_body = "HTTP/1.1 200 OK\r\nContent-Length: 59\r\n\r\n"
		"<a>0123456789012345678901234567890123456789012345678901</a>";
	const char *chunked_body = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
		"a;ext=1\r\n0123456789\r\n1A\r\nabcdefghijklmnopqrstuvwxyz\r\n0\r\n\r\n";
	size_t header = strstr(length_body, "\r\n\r\n") + 4 - length_body;
	size_t n;

	/* a header, a body of known length, a chunked body: each sent a byte a second */
	trickle(length_body, 0, 20);
	trickle(length_body, header, 30);
	trickle(chunked_body, strstr(chunked_body, "\r\n\r\n") + 4 - chunked_body, 30);
	/* the same messages with time enough */
	trickle(length_body, 0, 1000);
	trickle(chunked_body, 0, 1000);

	/* a chunk extension of 100000 bytes, arriving at once */
	n = (size_t)sprintf(chunked, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1a;x=");
	memset(chunked + n, 'e', 100000);
	strcpy(chunked + n + 100000, "\r\nabcdefghijklmnopqrstuvwxyz\r\n0\r\n\r\n");
	trickle(chunked, strlen(chunked), 1000000);
	return 0;
}
)";

TEST_F(PacketReaderTest, OneDeadlineForTheWholeMessage)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    view(schemaDocument(""));
    emitHeader("demo", programPlatform());
    const std::string source = emitSourceWithReaders();
    const std::string main =
        std::string("#define tessaro_clock_usec fake_clock\n#include \"demo_api.c\"\n") + LoopbackPeer + TricklingPeer;
    const RunResult run =
        buildAndRunC(main, {{"demo_api.h", headerText()}, {"demo_api.c", source}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    const std::string timeout = std::to_string(2); // TESSARO_TIMEOUT
    EXPECT_EQ(run.output, timeout + " header \n" + timeout + " body \n" + timeout + " body \n" +
                              "0 body <a>0123456789012345678901234567890123456789012345678901</a>\n"
                              "0 body 0123456789abcdefghijklmnopqrstuvwxyz\n"
                              "0 body abcdefghijklmnopqrstuvwxyz\n");
}

// A transport served from memory, as if the message arrived in blocks of a
// given size: a receive or a look sees what is left of the block that has
// come, and each is counted. Without a text the socket's own calls serve.
const char* const ServedTransport = R"(#include "tessaro_socket.h"
#include <string.h>

static struct{ const char *text; size_t length, at, block; long calls; }served;

static int served_io(void *buf, tessaro_size_t *len, int take)
{
	size_t end = (served.at / served.block + 1) * served.block, n;
	served.calls++;
	if(served.at >= served.length){
		*len = 0;
		return TESSARO_END_OF_STREAM;
	}
	if(end > served.length)
		end = served.length;
	n = end - served.at < *len ? end - served.at : *len;
	memcpy(buf, served.text + served.at, n);
	served.at += take ? n : 0;
	*len = n;
	return 0;
}

static int served_recv(tessaro_socket_t s, void *buf, tessaro_size_t *len, tessaro_usec_t timeout)
{
	return served.text == NULL ? tessaro_socket_recv(s, buf, len, timeout) : served_io(buf, len, 1);
}

static int served_peek(tessaro_socket_t s, void *buf, tessaro_size_t *len, tessaro_usec_t timeout)
{
	return served.text == NULL ? tessaro_socket_peek(s, buf, len, timeout) : served_io(buf, len, 0);
}
#define tessaro_socket_recv served_recv
#define tessaro_socket_peek served_peek
#include "demo_api.c"
)";

// One body sent in chunks of each size of the table (0: the whole body in
// one chunk), size lines with and without extensions and a trailer behind
// the last, read twice: from a loopback peer that sends the message in
// three pieces cut at odd places, and served from memory in blocks of 512
// bytes. Printed for each: the result, whether the body read is the body
// sent, and whether the receives and looks made grow with the blocks that
// arrived (at most two a block) rather than with the chunks.
const char* const ChunkSizes = R"(
#define BODY 49152
#define BLOCK 512
static const size_t sizes[] = {1, 2, 3, 7, 64, 4096, 0};

static size_t chunked_message(char *out, const char *body, size_t n, size_t size)
{
	size_t at = (size_t)sprintf(out, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"), i, piece;
	for(i = 0; i < n; i += piece){
		piece = size == 0 || n - i < size ? n - i : size;
		at += (size_t)sprintf(out + at, i % 3 == 0 ? "%lX;name=v\r\n" : "%lx\r\n", (unsigned long)piece);
		memcpy(out + at, body + i, piece);
		memcpy(out + at + piece, "\r\n", 2);
		at += piece + 2;
	}
	return at + (size_t)sprintf(out + at, "0\r\nX-Sum: 1\r\n\r\n");
}

/* the body that the read left in message, against the body sent */
static int same_body(const http_buffer_t *message, tessaro_size_t length, const char *body)
{
	const char *end = strstr(message->text, "\r\n\r\n");
	return end != NULL && (size_t)length == (size_t)(end + 4 - message->text) + BODY && memcmp(end + 4, body, BODY) == 0;
}

static int read_from_peer(const char *text, size_t length, const char *body)
{
	http_buffer_t message = {NULL, 0, 2 * BODY, 0};
	peer_t peer;
	demo_proto_trans_t trans;
	tessaro_size_t read = 0;
	size_t cuts[4] = {0, length / 3 + 1, length * 2 / 3 + 1, length};
	int result, i;

	memset(&peer, 0, sizeof(peer));
	for(i = 0; i < 3; i++){
		peer.pieces[i] = text + cuts[i];
		peer.lengths[i] = cuts[i + 1] - cuts[i];
	}
	peer.count = 3;
	memset(&trans, 0, sizeof(trans));
	if(peer_start(&peer, &trans.socket) != 0)
		exit(1);
	result = read_packet(&trans, &message, &read, -1, NULL);
	peer_finish(&peer, trans.socket);
	printf(" %d %s", result, same_body(&message, read, body) ? "same" : "other");
	free(message.text);
	return result;
}

static void read_served(const char *text, size_t length, const char *body)
{
	http_buffer_t message = {NULL, 0, 2 * BODY, 0};
	demo_proto_trans_t trans;
	tessaro_size_t read = 0;
	long blocks = (long)((length + BLOCK - 1) / BLOCK);
	int result;

	memset(&trans, 0, sizeof(trans));
	served.text = text;
	served.length = length;
	served.at = 0;
	served.block = BLOCK;
	served.calls = 0;
	result = read_packet(&trans, &message, &read, -1, NULL);
	served.text = NULL;
	printf(" %d %s", result, same_body(&message, read, body) ? "same" : "other");
	if(served.calls <= 2 * blocks + 8)
		printf(" linear");
	else
		printf(" calls=%ld blocks=%ld", served.calls, blocks);
	free(message.text);
}

int main(void)
{
	static char body[BODY], text[12 * BODY];
	size_t s, i, length;

	for(i = 0; i < BODY; i++)
		body[i] = (char)(i * 7 + i / 251);
	for(s = 0; s < sizeof(sizes) / sizeof(sizes[0]); s++){
		length = chunked_message(text, body, BODY, sizes[s]);
		printf("%lu:", (unsigned long)sizes[s]);
		read_from_peer(text, length, body);
		read_served(text, length, body);
		printf("\n");
	}
	xmlCleanupParser();
	return 0;
}
)";

TEST_F(PacketReaderTest, ChunkedBodiesReadAlikeAtEveryChunkSize)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    view(schemaDocument(""));
    emitHeader("demo", programPlatform());
    const std::string source = emitSourceWithReaders() + LoopbackPeer + ChunkSizes;
    const RunResult run = buildAndRunC(ServedTransport, {{"demo_api.h", headerText()}, {"demo_api.c", source}}, true);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    std::string expected;
    for (const char* size : {"1", "2", "3", "7", "64", "4096", "0"})
        expected += std::string(size) + ": 0 same 0 same linear\n";
    EXPECT_EQ(run.output, expected);
}

// Messages that announce far more than they send, and one that sends what
// it announces, each from a loopback peer that then closes. Printed for
// each: the result and whether the room the buffer took stays within twice
// what arrived and the first room (a peer that announces 64 MiB and trickles
// must not make the reader reserve them).
const char* const AnnouncedRoom = R"(
#define MIB64 67108864
static void announce(const char *head, size_t sent)
{
	static char text[300000];
	http_buffer_t message = {NULL, 0, MIB64 + 4096, 0};
	peer_t peer;
	demo_proto_trans_t trans;
	tessaro_size_t length = 0;
	size_t n = strlen(head);
	int result;

	memcpy(text, head, n);
	memset(text + n, 'x', sent);
	memset(&peer, 0, sizeof(peer));
	peer.pieces[0] = text;
	peer.lengths[0] = n + sent;
	peer.count = 1;
	memset(&trans, 0, sizeof(trans));
	if(peer_start(&peer, &trans.socket) != 0)
		exit(1);
	result = read_packet(&trans, &message, &length, -1, NULL);
	peer_finish(&peer, trans.socket);
	printf("%d %s\n", result, message.size <= 2 * (n + sent) + 4096 ? "room as it came" : "room reserved");
	free(message.text);
}

int main(void)
{
	announce("HTTP/1.1 200 OK\r\nContent-Length: 67108864\r\n\r\n", 1024);
	announce("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3FFF000\r\n", 1024);
	announce("HTTP/1.1 200 OK\r\nContent-Length: 200000\r\n\r\n", 200000);
	return 0;
}
)";

TEST_F(PacketReaderTest, RoomGrowsWithWhatArrivesNotWithWhatIsAnnounced)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = runReaderDriver(schemaDocument(""), AnnouncedRoom);
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    // The first two end with the peer's close (TESSARO_END_OF_STREAM).
    EXPECT_EQ(run.output, "1 room as it came\n1 room as it came\n0 room as it came\n");
}

} // namespace
