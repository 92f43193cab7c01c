// HTTP authentication of the operations' calls, as the project's
// authentication type says: Basic credentials go with every request;
// Digest answers the service's challenge (MD5 and SHA-256, qop=auth, and a
// server without qop), keeps its nonce with a counter, answers a stale
// nonce once more, and a 401 that stands is its own result. A test server
// on the loopback demands the credentials and checks them with hashes of
// its own; the digest itself is checked against the published examples,
// and the challenge reader against a table of WWW-Authenticate texts.

#include "GeneratorTestSupport.h"
#include "LoopbackServer.h"

#include <algorithm>

using namespace gentest;

namespace {

class AuthenticationTest : public GeneratorTest {
protected:
    // The example calculator as project calc with the authentication given.
    std::vector<std::pair<std::string, std::string>> calculator(int authType)
    {
        viewLocation(KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl");
        project_.authType = authType;
        return emitLibrary("calc");
    }
};

// A server that demands the credentials of Mufasa: reads each request as it
// came, notes what its Authorization said, and answers 401 with a
// challenge or the sum; one request per connection. Its checks are its own
// (tessaro's hashes only), not the client's code.
const char* const AuthServer = R"C(
#include <stdarg.h>
#include "tessaro_hash.h"
enum{ MODE_BASIC, MODE_DIGEST, MODE_DIGEST_NO_QOP };
static int mode, stop, stale_next, nonces, print_requests;
static const char *algorithm = "MD5";
static char nonce[32];
static char notes[2048];
static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static const char *password = "Circle of Life";

static void note(const char *format, ...)
{
	va_list args;
	pthread_mutex_lock(&lock);
	va_start(args, format);
	vsnprintf(notes + strlen(notes), sizeof(notes) - strlen(notes), format, args);
	va_end(args);
	pthread_mutex_unlock(&lock);
}

/* the value of an auth-param of text, unquoted; "" when missing */
static void param(const char *text, const char *name, char *out, size_t size)
{
	size_t n = 0, length = strlen(name);
	const char *at = text;
	out[0] = '\0';
	while((at = strstr(at, name)) != NULL){
		if((at == text || at[-1] == ' ' || at[-1] == ',') && at[length] == '=')
			break;
		at += length;
	}
	if(at == NULL)
		return;
	at += length + 1;
	if(*at == '"'){
		for(at++; *at != '\0' && *at != '"' && n + 1 < size; at++){
			if(*at == '\\')
				at++;
			out[n++] = *at;
		}
	}else{
		for(; *at != '\0' && *at != ',' && *at != ' ' && n + 1 < size; at++)
			out[n++] = *at;
	}
	out[n] = '\0';
}

static void hash_of(char *hex, const char *format, ...)
{
	char text[512];
	va_list args;
	va_start(args, format);
	vsnprintf(text, sizeof(text), format, args);
	va_end(args);
	tessaro_hash_hex(strcmp(algorithm, "SHA-256") == 0 ? TESSARO_HASH_SHA256 : TESSARO_HASH_MD5, text, strlen(text), hex);
}

/* 1 when the Digest answer holds the response of Mufasa's password to the current nonce */
static int digest_right(const char *value)
{
	char user[64], realm[64], got_nonce[64], uri[64], response[80], nc[16], cnonce[64], qop[16], opaque[64], alg[16];
	char ha1[TESSARO_HASH_MAX_HEX], ha2[TESSARO_HASH_MAX_HEX], expected[TESSARO_HASH_MAX_HEX];
	param(value, "username", user, sizeof(user));
	param(value, "realm", realm, sizeof(realm));
	param(value, "nonce", got_nonce, sizeof(got_nonce));
	param(value, "uri", uri, sizeof(uri));
	param(value, "response", response, sizeof(response));
	param(value, "nc", nc, sizeof(nc));
	param(value, "cnonce", cnonce, sizeof(cnonce));
	param(value, "qop", qop, sizeof(qop));
	param(value, "opaque", opaque, sizeof(opaque));
	param(value, "algorithm", alg, sizeof(alg));
	note(" %s nonce=%s nc=%s", alg, got_nonce, mode == MODE_DIGEST_NO_QOP ? "-" : nc);
	if(strcmp(got_nonce, nonce) != 0 || strcmp(user, "Mufasa") != 0 || strcmp(realm, "calc@test") != 0 ||
			strcmp(uri, "/calculator") != 0 || strcmp(alg, algorithm) != 0)
		return 0;
	if(mode == MODE_DIGEST && (strcmp(qop, "auth") != 0 || strcmp(opaque, "op\"aque") != 0 || strlen(cnonce) < 16))
		return 0;
	hash_of(ha1, "Mufasa:calc@test:%s", password);
	hash_of(ha2, "POST:/calculator");
	if(mode == MODE_DIGEST_NO_QOP)
		hash_of(expected, "%s:%s:%s", ha1, nonce, ha2);
	else
		hash_of(expected, "%s:%s:%s:%s:auth:%s", ha1, nonce, nc, cnonce, ha2);
	return strcmp(expected, response) == 0;
}

static void challenge(calc_proto_trans_t *trans, int stale)
{
	char text[512];
	tessaro_size_t sent;
	snprintf(nonce, sizeof(nonce), "nonce-%d", ++nonces);
	if(mode == MODE_BASIC)
		snprintf(text, sizeof(text), "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"calc\"\r\n"
			"Content-Length: 0\r\nConnection: close\r\n\r\n");
	else if(mode == MODE_DIGEST_NO_QOP)
		snprintf(text, sizeof(text), "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Digest realm=\"calc@test\", "
			"nonce=\"%s\"\r\nContent-Length: 0\r\nConnection: close\r\n\r\n", nonce);
	else
		snprintf(text, sizeof(text), "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"calc\"\r\n"
			"WWW-Authenticate: Digest realm=\"calc@test\", qop=\"auth,auth-int\", algorithm=%s, nonce=\"%s\", "
			"opaque=\"op\\\"aque\"%s\r\nContent-Length: 0\r\nConnection: close\r\n\r\n", algorithm, nonce,
			stale ? ", stale=TRUE" : "");
	note(" -> 401%s\n", stale ? " stale" : "");
	tessaro_socket_send_all(trans->socket, text, strlen(text), &sent, 30 * TESSARO_USEC_PER_SEC);
}

static void answer(calc_proto_trans_t *trans, char *buffer, tessaro_size_t length)
{
	calc_proto_packet_t *pk = (calc_proto_packet_t *)calloc(1, sizeof(*pk));
	int sum = 0;
	if(calc_proto_unpack(buffer, length, pk) == 0 && pk->msg_type == CALC_PROTO_ADD){
		/* what a server prints of a request: no credential in it */
		if(print_requests)
			calc_print_proto_packet_t(pk);
		sum = pk->msg.AddRequest.Add.a + pk->msg.AddRequest.Add.b;
	}
	calc_free_proto_packet(pk);
	memset(pk, 0, sizeof(*pk));
	pk->msg_type = CALC_PROTO_ADDRESPONSE;
	pk->msg.AddReply.AddResponse.sum = sum;
	calc_add_http_header(pk, "Connection", "close");
	note(" -> 200\n");
	calc_proto_sendpacket(trans, pk, 30);
	free(pk);
}

static void *serve(void *arg)
{
	calc_proto_trans_t trans;
	char *buffer = (char *)calloc(CALC_MAX_MESSAGE_LEN + 1, 1);
	http_buffer_t message = {buffer, CALC_MAX_MESSAGE_LEN, CALC_MAX_MESSAGE_LEN, 0};
	char expected[128], given[128];
	tessaro_size_t length;
	const char *value, *end;
	size_t value_length;
	(void)arg;
	memset(&trans, 0, sizeof(trans));
	for(;;){
		trans.socket = accept(listener, NULL, NULL);
		if(stop){
			tessaro_socket_close(trans.socket);
			break;
		}
		length = 0;
		memset(buffer, 0, CALC_MAX_MESSAGE_LEN + 1);
		if(read_packet(&trans, &message, &length, 30, NULL) == 0 && (end = strstr(buffer, "\r\n\r\n")) != NULL){
			value = http_header_value(buffer, (size_t)(end - buffer) + 2, "Authorization", &value_length);
			snprintf(given, sizeof(given), "%.*s", value != NULL ? (int)(value_length < 127 ? value_length : 127) : 0, value != NULL ? value : "");
			if(value == NULL)
				note("(none)");
			else if(mode == MODE_BASIC)
				note("%s", given);
			if(mode == MODE_BASIC){
				snprintf(expected, sizeof(expected), "Basic TXVmYXNhOkNpcmNsZSBvZiBMaWZl");
				if(value != NULL && strcmp(given, expected) == 0)
					answer(&trans, buffer, length);
				else
					challenge(&trans, 0);
			}else if(value == NULL || strncmp(value, "Digest ", 7) != 0){
				challenge(&trans, 0);
			}else{
				char copy[1024];
				snprintf(copy, sizeof(copy), "%.*s", (int)value_length, value);
				if(!digest_right(copy + 7))
					challenge(&trans, 0);
				else if(stale_next){
					stale_next = 0;
					challenge(&trans, 1);
				}else
					answer(&trans, buffer, length);
			}
		}
		tessaro_socket_close(trans.socket);
	}
	free(buffer);
	return NULL;
}

static void server_stop(const char *endpoint)
{
	calc_proto_trans_t trans;
	calc_client_t client;
	stop = 1;
	calc_client_init(&client, endpoint);
	calc_connect_server(&trans, client.host, client.path, client.port);
	server_finish();
	tessaro_socket_close(trans.socket);
}

static void add(calc_client_t *client, const char *what)
{
	calc_AddRequest_msg_t in;
	calc_AddReply_msg_t out;
	int result;
	in.Add.a = 2;
	in.Add.b = 3;
	memset(&out, 0, sizeof(out));
	result = calc_Add(client, &in, &out, NULL);
	pthread_mutex_lock(&lock);
	printf("%s: %d sum=%d http=%d%s%s\n%s", what, result, out.AddResponse.sum, client->http_status,
		result != 0 ? " why=" : "", calc_client_error_detail(client), notes);
	notes[0] = '\0';
	pthread_mutex_unlock(&lock);
}
)C";

// Each of the modes: the right password (calls one after the other on one
// client), then a wrong one, then none.
const std::string AuthDriver = std::string("#include \"calc_api.c\"\n") + OneRequestServer + AuthServer + R"C(
int main(int argc, char **argv)
{
	char endpoint[64];
	calc_client_t client;
#ifdef _WIN32
	WSADATA wsa;
	WSAStartup(MAKEWORD(2, 2), &wsa);
#endif
	mode = argv[1][0] == 'B' ? MODE_BASIC : argv[1][0] == 'N' ? MODE_DIGEST_NO_QOP : MODE_DIGEST;
	if(argv[1][0] == 'S')
		algorithm = "SHA-256";
	print_requests = argc > 2;
	if(server_start("/calculator", endpoint) != 0)
		return 2;
	calc_client_init(&client, endpoint);
	if(calc_client_set_credentials(&client, "Mufasa", password) != 0)
		return 3;
	add(&client, "first");
	add(&client, "second");
	stale_next = mode == MODE_DIGEST;
	add(&client, "third");
	calc_client_init(&client, endpoint);
	calc_client_set_credentials(&client, "Mufasa", "Circle of lies");
	add(&client, "wrong");
	calc_client_init(&client, endpoint);
	add(&client, "none");
	server_stop(endpoint);
	return 0;
}
)C";

std::string withoutCarriageReturns(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// What the driver prints against the Basic server.
const char* const BasicRun =
    "first: 0 sum=5 http=0\nBasic TXVmYXNhOkNpcmNsZSBvZiBMaWZl -> 200\n"
    "second: 0 sum=5 http=0\nBasic TXVmYXNhOkNpcmNsZSBvZiBMaWZl -> 200\n"
    "third: 0 sum=5 http=0\nBasic TXVmYXNhOkNpcmNsZSBvZiBMaWZl -> 200\n"
    "wrong: -10 sum=0 http=401 why=HTTP 401 Unauthorized: the service refused the credentials\nBasic TXVmYXNhOkNpcmNsZSBvZiBsaWVz -> 401\n"
    "none: -10 sum=0 http=401 why=HTTP 401 Unauthorized: the service asks for credentials, and none are set\n(none) -> 401\n";

// What the driver prints against the Digest server of the algorithm (MD5, SHA-256).
std::string digestRun(const std::string& algorithm)
{
    const std::string a = " " + algorithm;
    // no credentials until challenged, then the answer with the first count
    return "first: 0 sum=5 http=0\n(none) -> 401\n" + a + " nonce=nonce-1 nc=00000001 -> 200\n" +
           // the nonce serves the next call, counted on
           "second: 0 sum=5 http=0\n" + a + " nonce=nonce-1 nc=00000002 -> 200\n" +
           // a stale nonce is answered once more, with the new one
           "third: 0 sum=5 http=0\n" + a + " nonce=nonce-1 nc=00000003 -> 401 stale\n" + a +
           " nonce=nonce-2 nc=00000001 -> 200\n" +
           // a wrong password: the challenge answered, and the 401 stands
           "wrong: -10 sum=0 http=401 why=HTTP 401 Unauthorized: the service refused the credentials\n(none) -> 401\n" + a +
           " nonce=nonce-3 nc=00000001 -> 401\n" +
           "none: -10 sum=0 http=401 why=HTTP 401 Unauthorized: the service asks for credentials, and none are set\n(none) -> 401\n";
}

TEST_F(AuthenticationTest, BasicCredentialsGoWithEveryRequest)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const auto files = calculator(CProjectRecord::AuthBasic);
    EXPECT_NE(files[0].second.find("_declspec(dllexport) int WINAPI calc_client_set_credentials(calc_client_t *client, "
                                   "const char *user, const char *password);"),
              std::string::npos);
    EXPECT_NE(files[0].second.find("#define CALC_ERR_AUTH\t(-10)"), std::string::npos);
    const RunResult run = buildAndRunC(AuthDriver, files, true, "B");
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(withoutCarriageReturns(run.output), BasicRun) << run.output;
}

TEST_F(AuthenticationTest, DigestAnswersTheChallengeAndCountsTheNonce)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const auto files = calculator(CProjectRecord::AuthDigest);
    for (const std::string algorithm : {"MD5", "SHA-256"}) {
        SCOPED_TRACE(algorithm);
        const RunResult run = buildAndRunC(AuthDriver, files, true, algorithm == "MD5" ? "M" : "S");
        ASSERT_EQ(run.status, 0) << run.messages;
        EXPECT_EQ(withoutCarriageReturns(run.output), digestRun(algorithm)) << run.output;
    }
}

#ifdef KVGEN_PROGRAM
// The project kvgen writes with --auth answers the same servers as one whose record asks for it.
TEST_F(AuthenticationTest, KvgenAuthOptionTurnsAuthenticationOn)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const struct {
        const char* option;
        const char* serverMode;
        std::string expected;
    } cases[] = {
        {"--auth=basic", "B", BasicRun},
        {"--auth digest", "M", digestRun("MD5")},
        {"--au=digest", "S", digestRun("SHA-256")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        testsupport::ScopedWorkingFolder folder;
        const std::string command = "'" KVGEN_PROGRAM "' -q " + std::string(c.option) +
                                    " --out=project calc '" KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::vector<std::pair<std::string, std::string>> files = {
            {"calc_api.h", testsupport::readBytes("project/calc_api.h")},
            {"calc_api.c", testsupport::readBytes("project/calc_api.c")}};
        const RunResult run = buildAndRunC(AuthDriver, files, true, c.serverMode);
        ASSERT_EQ(run.status, 0) << run.messages;
        EXPECT_EQ(withoutCarriageReturns(run.output), c.expected) << run.output;
    }
}
#endif

TEST_F(AuthenticationTest, DigestAnswersAServerWithoutQop)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = buildAndRunC(AuthDriver, calculator(CProjectRecord::AuthDigest), true, "N");
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(withoutCarriageReturns(run.output), "first: 0 sum=5 http=0\n(none) -> 401\n MD5 nonce=nonce-1 nc=- -> 200\n"
                                                  "second: 0 sum=5 http=0\n MD5 nonce=nonce-1 nc=- -> 200\n"
                                                  "third: 0 sum=5 http=0\n MD5 nonce=nonce-1 nc=- -> 200\n"
                                                  "wrong: -10 sum=0 http=401 why=HTTP 401 Unauthorized: the service refused the credentials\n(none) -> 401\n MD5 nonce=nonce-2 nc=- -> 401\n"
                                                  "none: -10 sum=0 http=401 why=HTTP 401 Unauthorized: the service asks for credentials, and none are set\n(none) -> 401\n")
        << run.output;
}

// The digest of the published examples (a GET of /dir/index.html), the
// challenges the reader takes from WWW-Authenticate texts, what credentials
// the client takes, and Basic's encoding at each padding.
const char* const DigestPartsDriver = R"C(#include "calc_api.c"
static const char *challenges[] = {
	"Basic realm=\"x\", Digest realm=\"r\", nonce=\"n1\", qop=\"auth,auth-int\", algorithm=SHA-256",
	"Digest realm=\"r\", nonce=\"n1\", algorithm=SHA-512-256\r\nWWW-Authenticate: Digest realm=\"r\", nonce=\"n2\", algorithm=MD5, qop=auth",
	"Digest realm=\"r\", nonce=\"n1\", qop=\"auth-int\"",
	"Digest realm=\"r\", qop=\"auth\"",
	"Digest realm=\"a\\\"b\\\\c\", nonce=\"n,1\", opaque=\"o\", stale=TRUE, qop=auth",
	"Digest realm=\"r\", nonce=\"n1",
	"Newauth abc==, Digest nonce=n1, algorithm=md5-SESS, qop=\"auth\"",
	"Basic realm=\"x\"",
	"Digest realm=\"r\", nonce=\"n1\", algorithm=MD5-sess",
};

int main(void)
{
	calc_client_t client;
	calc_proto_packet_t pk;
	char response[TESSARO_HASH_MAX_HEX];
	size_t i;
	int stale, result;
	static const char *users[][3] = {{"a", "b", "0"}, {NULL, "b", "0"}, {"a", NULL, "0"}, {"a\r\nX: 1", "b", "0"},
		{"a", "b\n", "0"}, {"0123456789012345678901234567890123", "b", "0"}, {"a:b", "c", "0"},
		{"Mufasa", "Circle Of Life", "0"}};
	calc_digest_t rfc;
	tessaro_digest_ask ask;

	memset(&rfc, 0, sizeof(rfc));
	strcpy(rfc.realm, "http-auth@example.org");
	strcpy(rfc.nonce, "7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v");
	rfc.qop = 1;
	for(rfc.algorithm = 0; rfc.algorithm < 2; rfc.algorithm++){
		ask = myauth_ask(&rfc);
		result = tessaro_digest_response(&ask, "Mufasa", "Circle of Life", "GET", "/dir/index.html", "00000001",
			"f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ", response);
		printf("%d %s\n", result, response);
	}
	memset(&rfc, 0, sizeof(rfc));
	strcpy(rfc.realm, "testrealm@host.com");
	strcpy(rfc.nonce, "dcd98b7102dd2f0e8b11d0f600bfb0c093");
	rfc.qop = 1;
	ask = myauth_ask(&rfc);
	result = tessaro_digest_response(&ask, "Mufasa", "Circle Of Life", "GET", "/dir/index.html", "00000001", "0a4f113b", response);
	printf("%d %s\n", result, response);

	for(i = 0; i < sizeof(challenges) / sizeof(challenges[0]); i++){
		memset(&client, 0, sizeof(client));
		memset(&pk, 0, sizeof(pk));
		snprintf(pk.msg.http_msg.buffer, sizeof(pk.msg.http_msg.buffer),
			"HTTP/1.1 401 Unauthorized\r\n%sWWW-Authenticate: %s\r\nContent-Length: 0\r\n\r\n", i == 6 ? "" : "Server: t\r\n", challenges[i]);
		if(i == 6)
			memcpy(pk.msg.http_msg.buffer + 27, "www-authenticate", 16);
		stale = -1;
		result = calc_challenged(&client, &pk, &stale);
		printf("%d", result);
		if(result == 0)
			printf(" realm=[%s] nonce=[%s] alg=%d sess=%d qop=%d opaque=%d[%s] stale=%d", client.digest.realm,
				client.digest.nonce, client.digest.algorithm, client.digest.session, client.digest.qop,
				client.digest.opaque_given, client.digest.opaque, stale);
		printf("\n");
	}
	calc_client_init(&client, NULL);
	for(i = 0; i < sizeof(users) / sizeof(users[0]); i++)
		printf("%d ", calc_client_set_credentials(i == 0 ? NULL : &client, users[i][0], users[i][1]));
	printf("| %s\n", client.user);
	return 0;
}
)C";

TEST_F(AuthenticationTest, DigestPartsAgainstThePublishedExamples)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = buildAndRunC(DigestPartsDriver, calculator(CProjectRecord::AuthDigest), true);
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(withoutCarriageReturns(run.output),
              // the MD5 and SHA-256 examples of Digest's current text, and the MD5 example of the older one
              "0 8ca523f5e9506fed4657c9700eebdbec\n"
              "0 753927fa0e85d155564e2e272a28d1802ca10daf4496794697cf8db5856cb6c1\n"
              "0 6629fae49393a05397450978507c4ef1\n"
              // Digest after Basic in one value, SHA-256
              "0 realm=[r] nonce=[n1] alg=1 sess=0 qop=1 opaque=0[] stale=0\n"
              // an algorithm not answered: the next header's challenge
              "0 realm=[r] nonce=[n2] alg=0 sess=0 qop=1 opaque=0[] stale=0\n"
              // auth-int alone, no nonce: nothing to answer
              "-1\n-1\n"
              // quoted-pairs, a comma in a quoted nonce, stale in capitals
              "0 realm=[a\"b\\c] nonce=[n,1] alg=0 sess=0 qop=1 opaque=1[o] stale=1\n"
              // a quote left open
              "-1\n"
              // a token68 before it, the header's name and the algorithm in other letter cases, a token nonce
              "0 realm=[] nonce=[n1] alg=0 sess=1 qop=1 opaque=0[] stale=0\n"
              // Basic alone; a session algorithm without qop, whose answer could not be checked
              "-1\n-1\n"
              // no client, NULL user or password, control characters, 33 characters; a colon is
              // Digest's to quote
              "-7 -7 -7 -7 -7 -7 0 0 | Mufasa\n")
        << run.output;
}

const char* const BasicValueDriver = R"C(#include "calc_api.c"
int main(void)
{
	static const char *users[][2] = {{"a", "b"}, {"ab", "c"}, {"ab", "cd"}, {"Mufasa", "Circle of Life"}, {"", "x"}};
	calc_client_t client;
	char value[64];
	const char *given;
	size_t i;
	calc_client_init(&client, NULL);
	for(i = 0; i < sizeof(users) / sizeof(users[0]); i++){
		strcpy(client.user, users[i][0]);
		strcpy(client.password, users[i][1]);
		given = calc_authorization(&client, value, sizeof(value));
		printf("%s\n", given != NULL ? given : "(none)");
	}
	printf("%d %d\n", calc_client_set_credentials(&client, "a:b", "c"), calc_client_set_credentials(&client, "a", "b:c"));
	return 0;
}
)C";

TEST_F(AuthenticationTest, BasicValueAtEachPadding)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = buildAndRunC(BasicValueDriver, calculator(CProjectRecord::AuthBasic), true);
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(withoutCarriageReturns(run.output),
              "Basic YTpi\nBasic YWI6Yw==\nBasic YWI6Y2Q=\nBasic TXVmYXNhOkNpcmNsZSBvZiBMaWZl\n(none)\n"
              // a colon ends Basic's user name; a password may hold one
              "-7 0\n")
        << run.output;
}

// No credential in anything a program prints: the server printed each
// request it answered, and the driver what the calls returned.
TEST_F(AuthenticationTest, NoCredentialIsPrinted)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    for (const int type : {CProjectRecord::AuthBasic, CProjectRecord::AuthDigest}) {
        const RunResult run =
            buildAndRunC(AuthDriver, calculator(type), true, type == CProjectRecord::AuthBasic ? "B print" : "M print");
        ASSERT_EQ(run.status, 0) << run.messages;
        // the answered requests were printed
        EXPECT_NE(run.output.find("a:2"), std::string::npos) << run.output;
        for (const char* secret : {"Circle of", "response=", "Authorization"})
            EXPECT_EQ(run.output.find(secret), std::string::npos) << secret << "\n" << run.output;
    }
}

} // namespace
