// WS-Security of the generated server: requests are checked against the
// service's settings (UsernameToken by text and digest, Timestamp, nonces,
// signatures) and each bad one is answered with its WS-Security fault; the
// Security header and the headers a service declares are understood, and a
// header that is not is named whole. Requests are secured by the support
// library's own sender and then spoilt by hand; xmlsec1 verifies the signed
// answer independently.

#include "GeneratorTestSupport.h"

using namespace gentest;

namespace {

const std::string ServedWsdl = KELVANE_HOST_SOURCE_DIR "/tests/generator/emit/data/server/served.wsdl";

const char* const Driver = R"C(#include "served_api.c"
#include <stdio.h>

#define ENV11 "http://schemas.xmlsoap.org/soap/envelope/"
#define ENV12 "http://www.w3.org/2003/05/soap-envelope"
#define ADD "<s:Add xmlns:s=\"urn:kelvane:served\"><s:a>2</s:a><s:b>3</s:b></s:Add>"
#define WSSE "xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd\""
#define WSU "xmlns:wsu=\"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd\""
#define TOKEN_PROFILE "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-username-token-profile-1.0"
#define TEXT_TYPE TOKEN_PROFILE "#PasswordText"

static tessaro_server_t *server;
static tessaro_wsse_t settings;
static served_service_t service;
static char answer[65536];

static int serve_add(served_served_t *served, const served_AddRequest_msg_t *in, served_AddReply_msg_t *out, served_soap_fault_msg_t *fault)
{
	(void)served; (void)fault;
	out->AddResponse.sum = in->Add.a + in->Add.b;
	return 0;
}

static int password_of(void *context, const char *user, char *password, size_t size)
{
	(void)context;
	if(strcmp(user, "bob") != 0)
		return 1;
	snprintf(password, size, "secret");
	return 0;
}

static void start(void)
{
	tessaro_server_config_t config = {0};
	config.address = "127.0.0.1";
	service.Add = serve_add;
	if(served_server_start(&server, &config, &service) != 0)
		exit(1);
}

/* posts the envelope (whole, or the body in one) and prints the status, the fault's code and
 * subcode and its string; the answer stays in answer */
static void post(const char *label, int version, const char *envelope)
{
	static char request[131072];
	tessaro_socket_t sock;
	tessaro_size_t sent, have = 0, len;
	const char *at, *code = NULL, *subcode = NULL, *reason = NULL;

	snprintf(request, sizeof(request), "POST /served HTTP/1.1\r\nHost: here\r\nContent-Type: %s\r\nConnection: close\r\nContent-Length: %u\r\n\r\n%s",
		version == 12 ? "application/soap+xml" : "text/xml", (unsigned int)strlen(envelope), envelope);
	if(tessaro_create_tcp_socket(&sock) != 0 || tessaro_connect(sock, "127.0.0.1", tessaro_server_port(server)) != 0)
		exit(1);
	tessaro_socket_send_all(sock, request, strlen(request), &sent, 10 * TESSARO_USEC_PER_SEC);
	for(len = sizeof(answer) - 1; have + 1 < sizeof(answer) && tessaro_socket_recv(sock, answer + have, &len, 30 * TESSARO_USEC_PER_SEC) == 0 && len > 0;
			len = sizeof(answer) - 1 - have)
		have += len;
	answer[have] = '\0';
	tessaro_socket_close(sock);
	if((at = strstr(answer, "<faultcode")) != NULL || (at = strstr(answer, "<SOAP-ENV:Value>")) != NULL)
		code = strchr(at, '>') + 1;
	if((at = strstr(answer, "<SOAP-ENV:Subcode><SOAP-ENV:Value")) != NULL)
		subcode = strchr(at + 18, '>') + 1;
	if((at = strstr(answer, "<faultstring>")) != NULL || (at = strstr(answer, "<SOAP-ENV:Text")) != NULL)
		reason = strchr(at, '>') + 1;
	printf("%s: %.3s %.*s", label, answer + 9, code != NULL ? (int)strcspn(code, "<") : 1, code != NULL ? code : "-");
	if(subcode != NULL)
		printf(" %.*s", (int)strcspn(subcode, "<"), subcode);
	if(reason != NULL){
		printf(" (");
		for(; *reason != '\0' && *reason != '<'; reason++)
			if(strncmp(reason, "&apos;", 6) == 0){
				putchar('\'');
				reason += 5;
			}else{
				putchar(*reason);
			}
		printf(")");
	}
	printf("\n");
}

/* an envelope of the version with the header (or none) and Add */
static const char *envelope(int version, const char *header)
{
	static char text[16384];
	snprintf(text, sizeof(text), "<?xml version=\"1.0\"?><e:Envelope xmlns:e=\"%s\">%s%s%s<e:Body>" ADD "</e:Body></e:Envelope>",
		version == 12 ? ENV12 : ENV11, header[0] != '\0' ? "<e:Header>" : "", header, header[0] != '\0' ? "</e:Header>" : "");
	return text;
}

/* the envelope secured as the sender's settings say (malloc'ed) */
static char *secured(const tessaro_wsse_t *sender, int version)
{
	const char *plain = envelope(version, "");
	char *out = NULL, why[256];
	size_t length;
	if(tessaro_wsse_secure(sender, plain, strlen(plain), &out, &length, why, sizeof(why)) != 0){
		printf("secure: %s\n", why);
		exit(1);
	}
	return out;
}

static void post_secured(const char *label, int version, const tessaro_wsse_t *sender)
{
	char *text = secured(sender, version);
	post(label, version, text);
	free(text);
}

/* a Security header of a text password, with the Created and Timestamp given (or none) */
static const char *token_header(const char *password, const char *type, const char *nonce, const char *created, const char *timestamp)
{
	static char text[4096];
	char ts[512] = "";
	if(timestamp != NULL)
		snprintf(ts, sizeof(ts), "<wsu:Timestamp><wsu:Created>%s</wsu:Created><wsu:Expires>2020-01-01T00:05:00Z</wsu:Expires></wsu:Timestamp>", timestamp);
	snprintf(text, sizeof(text), "<wsse:Security " WSSE " " WSU " e:mustUnderstand=\"1\">%s<wsse:UsernameToken><wsse:Username>bob</wsse:Username>"
		"<wsse:Password Type=\"%s\">%s</wsse:Password>%s%s%s%s%s%s</wsse:UsernameToken></wsse:Security>", ts, type, password,
		nonce != NULL ? "<wsse:Nonce>" : "", nonce != NULL ? nonce : "", nonce != NULL ? "</wsse:Nonce>" : "",
		created != NULL ? "<wsu:Created>" : "", created != NULL ? created : "", created != NULL ? "</wsu:Created>" : "");
	return text;
}

static void user_token(void)
{
	tessaro_wsse_t sender;
	char *replayed;
	memset(&settings, 0, sizeof(settings));
	settings.use = TESSARO_WSSE_REQUIRE_USER | TESSARO_WSSE_REQUIRE_TIMESTAMP;
	settings.password_of = password_of;
	tessaro_wsse_replay_new(&settings.replay, 0);
	service.wsse = &settings;
	start();
	memset(&sender, 0, sizeof(sender));
	sender.use = TESSARO_WSSE_USERNAME_TOKEN | TESSARO_WSSE_PASSWORD_DIGEST | TESSARO_WSSE_TIMESTAMP;
	strcpy(sender.user, "bob");
	strcpy(sender.password, "secret");
	replayed = secured(&sender, 11);
	post("digest", 11, replayed);
	post("replayed", 11, replayed);
	free(replayed);
	post_secured("digest 1.2", 12, &sender);
	sender.use = TESSARO_WSSE_USERNAME_TOKEN | TESSARO_WSSE_TIMESTAMP;
	post_secured("text", 11, &sender);
	strcpy(sender.password, "wrong");
	post_secured("wrong password", 11, &sender);
	post_secured("wrong password 1.2", 12, &sender);
	sender.use |= TESSARO_WSSE_PASSWORD_DIGEST;
	post_secured("wrong digest", 11, &sender);
	strcpy(sender.user, "eve");
	strcpy(sender.password, "secret");
	post_secured("unknown user", 11, &sender);
	strcpy(sender.user, "bob");
	sender.use = TESSARO_WSSE_USERNAME_TOKEN;
	post_secured("no timestamp", 11, &sender);
	sender.use = TESSARO_WSSE_TIMESTAMP;
	post_secured("no token", 11, &sender);
	post("no security", 11, envelope(11, ""));
	settings.use = TESSARO_WSSE_REQUIRE_USER;
	post("expired timestamp", 11, envelope(11, token_header("secret", TEXT_TYPE, NULL, NULL, "2020-01-01T00:00:00Z")));
	post("old token", 11, envelope(11, token_header("secret", TEXT_TYPE, NULL, "2020-01-01T00:00:00Z", NULL)));
	post("bad nonce", 11, envelope(11, token_header("secret", TEXT_TYPE, "%%%", NULL, NULL)));
	post("bad created", 11, envelope(11, token_header("secret", TEXT_TYPE, NULL, "yesterday", NULL)));
	post("bad type", 11, envelope(11, token_header("secret", "urn:other#Password", NULL, NULL, NULL)));
	post("digest alone", 11, envelope(11, token_header("c2VjcmV0", TOKEN_PROFILE "#PasswordDigest", NULL, NULL, NULL)));
	tessaro_server_free(server);
	tessaro_wsse_replay_free(settings.replay);
}

static void load(tessaro_wsse_t *signer, const char *name)
{
	char key[64], cert[64], why[256];
	memset(signer, 0, sizeof(*signer));
	signer->use = TESSARO_WSSE_SIGN | TESSARO_WSSE_TIMESTAMP;
	snprintf(key, sizeof(key), "%s.key", name);
	snprintf(cert, sizeof(cert), "%s.pem", name);
	if(tessaro_wsse_key_load(&signer->key, key, cert, NULL, why, sizeof(why)) != 0){
		printf("load: %s\n", why);
		exit(1);
	}
}

/* the signed request changed after signing: text replaced by another */
static void post_changed(const char *label, const tessaro_wsse_t *signer, const char *from, const char *to)
{
	char *text = secured(signer, 11), *at, *changed;
	if((at = strstr(text, from)) == NULL)
		exit(1);
	changed = (char *)malloc(strlen(text) + strlen(to) + 1);
	sprintf(changed, "%.*s%s%s", (int)(at - text), text, to, at + strlen(from));
	post(label, 11, changed);
	free(changed);
	free(text);
}

/* the signed Body moved into a header of its own, another Body in its place */
static void post_wrapped(const tessaro_wsse_t *signer)
{
	char *text = secured(signer, 11), *body = strstr(text, "<e:Body"), *end = strstr(text, "</e:Body>");
	char *wrapped = (char *)malloc(strlen(text) * 2);
	const char *header_end = strstr(text, "</e:Header>");
	if(body == NULL || end == NULL || header_end == NULL)
		exit(1);
	end += strlen("</e:Body>");
	sprintf(wrapped, "%.*s<w:Wrapper xmlns:w=\"urn:wrap\">%.*s</w:Wrapper>%.*s<e:Body><s:Add xmlns:s=\"urn:kelvane:served\"><s:a>200</s:a><s:b>3</s:b></s:Add></e:Body>%s",
		(int)(header_end - text), text, (int)(end - body), body, (int)(body - header_end), header_end, end);
	post("wrapped", 11, wrapped);
	free(wrapped);
	free(text);
}

static void signatures(void)
{
	tessaro_wsse_t client, stranger;
	char why[256];
	FILE *kept;
	load(&settings, "server");
	settings.use |= TESSARO_WSSE_VERIFY;
	if(tessaro_wsse_trust_load(&settings.trust, "client.pem", why, sizeof(why)) != 0)
		exit(1);
	service.wsse = &settings;
	start();
	load(&client, "client");
	load(&stranger, "stranger");
	post_secured("signed", 11, &client);
	/* the signed answer, for xmlsec1 */
	if((kept = fopen("answer.xml", "wb")) != NULL){
		fputs(strstr(answer, "\r\n\r\n") + 4, kept);
		fclose(kept);
	}
	post_secured("signed 1.2", 12, &client);
	post_changed("tampered", &client, "<s:a>2</s:a>", "<s:a>7</s:a>");
	post_changed("other digest", &client, "<ds:DigestValue>", "<ds:DigestValue>AAAA");
	post_changed("two ids", &client, "<s:Add ", "<s:Add wsu:Id=\"Body\" xmlns:wsu=\"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd\" ");
	post_wrapped(&client);
	post_secured("stranger", 11, &stranger);
	post("unsigned", 11, envelope(11, ""));
	tessaro_server_free(server);
	tessaro_wsse_key_free(settings.key);
	tessaro_wsse_trust_free(settings.trust);
	tessaro_wsse_key_free(client.key);
	tessaro_wsse_key_free(stranger.key);
}

static void understood(void)
{
	static const char *const declared[] = {"{urn:other}Lock", NULL};
	static char header[4096], ns[600];
	const char *at;
	service.wsse = NULL;
	start();
	post("security unknown", 11, envelope(11, "<wsse:Security " WSSE " e:mustUnderstand=\"1\"/>"));
	memset(ns, 'n', 500);
	memcpy(ns, "urn:", 4);
	snprintf(header, sizeof(header), "<h:Lock xmlns:h=\"%s\" e:mustUnderstand=\"true\"/>", ns);
	post("long 1.2", 12, envelope(12, header));
	at = strstr(answer, "<SOAP-ENV:NotUnderstood");
	printf("not understood: %d %d\n", at != NULL && strstr(at, "qname=\"nu:Lock\"") != NULL, at != NULL && strstr(at, ns) != NULL);
	post("lock", 11, envelope(11, "<h:Lock xmlns:h=\"urn:other\" e:mustUnderstand=\"1\"/>"));
	tessaro_server_free(server);
	service.understood = declared;
	start();
	post("lock declared", 11, envelope(11, "<h:Lock xmlns:h=\"urn:other\" e:mustUnderstand=\"1\"/>"));
	post("other undeclared", 11, envelope(11, "<h:Key xmlns:h=\"urn:other\" e:mustUnderstand=\"1\"/>"));
	tessaro_server_free(server);
}

int main(int argc, char **argv)
{
	const char *mode = argc > 1 ? argv[1] : "";
	setvbuf(stdout, NULL, _IONBF, 0);
	if(strcmp(mode, "user") == 0)
		user_token();
	else if(strcmp(mode, "sign") == 0)
		signatures();
	else if(strcmp(mode, "understood") == 0)
		understood();
	return 0;
}
)C";

class ServerSecurityTest : public GeneratorTest {};

TEST_F(ServerSecurityTest, BadRequestsGetTheirFaultsAndGoodOnesAreServed)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    viewLocation(ServedWsdl);
    testsupport::ScopedWorkingFolder folder;
    ASSERT_EQ(buildDriver("served", Driver), 0) << testsupport::readBytes("messages.txt");
#ifdef _WIN32
    // no openssl to run: the library tests' keys, the server and the client sharing one
    const std::string keys = KELVANE_SOURCE_DIR "/tests/runtime/data/wsse/";
    for (const auto& [to, from] : {std::pair<const char*, const char*>{"server", "signer"}, {"client", "signer"}, {"stranger", "stranger"}})
        for (const char* kind : {".key", ".pem"})
            testsupport::writeBytes(std::string(to) + kind, testsupport::readBytes(keys + from + kind));
    const bool signs = true;
    const std::string untrusted = "(CN=stranger) is not trusted: no trusted certificate issued it";
#else
    const bool signs = std::system("(for n in server client stranger; do openssl req -x509 -newkey rsa:2048 -nodes -keyout $n.key "
                                   "-out $n.pem -days 30 -subj /CN=$n || exit 1; done) >/dev/null 2>&1") == 0;
    const std::string untrusted = "(/CN=stranger) is not trusted: self-signed certificate";
#endif
    const char* const failed = "the request failed its security check: ";
    const std::string userRows =
        std::string("digest: 200 -\n") + "replayed: 500 wsse:FailedAuthentication (" + failed +
        "the UsernameToken's Nonce was used before (a replay))\n"
        "digest 1.2: 200 -\ntext: 200 -\n"
        "wrong password: 500 wsse:FailedAuthentication (" + failed + "the UsernameToken's user or password is not accepted)\n"
        "wrong password 1.2: 400 SOAP-ENV:Sender wsse:FailedAuthentication (" + failed + "the UsernameToken's user or password is not accepted)\n"
        "wrong digest: 500 wsse:FailedAuthentication (" + failed + "the UsernameToken's user or password is not accepted)\n"
        "unknown user: 500 wsse:FailedAuthentication (" + failed + "the UsernameToken's user or password is not accepted)\n"
        "no timestamp: 500 wsse:InvalidSecurity (" + failed + "the message carries no Timestamp)\n"
        "no token: 500 wsse:InvalidSecurity (" + failed + "the message carries no UsernameToken)\n"
        "no security: 500 wsse:InvalidSecurity (" + failed + "the message carries no Security header)\n"
        "expired timestamp: 500 wsu:MessageExpired (" + failed + "the message has expired (its Timestamp))\n"
        "old token: 500 wsu:MessageExpired (" + failed + "the UsernameToken was created too long ago)\n"
        "bad nonce: 500 wsse:InvalidSecurity (" + failed + "the UsernameToken's Nonce is no Base64)\n"
        "bad created: 500 wsse:InvalidSecurity (" + failed + "the UsernameToken's Created is no dateTime)\n"
        "bad type: 500 wsse:InvalidSecurity (" + failed + "the UsernameToken's password type urn:other#Password is not supported)\n"
        "digest alone: 500 wsse:InvalidSecurity (" + failed + "the UsernameToken's password digest comes without its Nonce and Created)\n";
    // a namespace of 500 characters, named whole in the fault's text and its NotUnderstood block
    const std::string longName = "{urn:" + std::string(496, 'n') + "}Lock";
    const struct {
        const char* mode;
        std::string output;
        bool needsKeys;
    } cases[] = {
        {"user", userRows, false},
        {"sign",
         std::string("signed: 200 -\nsigned 1.2: 200 -\n") + "tampered: 500 wsse:FailedCheck (" + failed +
             "the digest of the signed Body (#Body) does not match)\n"
             "other digest: 500 wsse:FailedCheck (" + failed + "the digest of the signed Body (#Body) does not match)\n"
             "two ids: 500 wsse:InvalidSecurity (" + failed + "a signed reference (#Body) names 2 elements)\n"
             "wrapped: 500 wsse:FailedCheck (" + failed + "the signature does not cover the message's Body)\n"
             "stranger: 500 wsse:FailedAuthentication (" + failed + "the signer's certificate " + untrusted + ")\n"
             "unsigned: 500 wsse:InvalidSecurity (" + failed + "the message carries no Security header)\n",
         true},
        {"understood",
         "security unknown: 500 SOAP-ENV:MustUnderstand (header {http://docs.oasis-open.org/wss/2004/01/"
         "oasis-200401-wss-wssecurity-secext-1.0.xsd}Security must be understood, and is not)\n"
         "long 1.2: 500 SOAP-ENV:MustUnderstand (header " + longName + " must be understood, and is not)\nnot understood: 1 1\n"
         // declared understood: taken; another of its namespace is not
         "lock: 500 SOAP-ENV:MustUnderstand (header {urn:other}Lock must be understood, and is not)\nlock declared: 200 -\n"
         "other undeclared: 500 SOAP-ENV:MustUnderstand (header {urn:other}Key must be understood, and is not)\n",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        if (c.needsKeys && !signs)
            continue;
        const RunResult run = runDriver(c.mode);
        EXPECT_EQ(run.status, 0) << run.messages;
        EXPECT_EQ(run.output, c.output);
    }
#ifndef _WIN32
    if (signs) {
        // the server's signed answer verifies with its certificate, independently
        const std::string answer = testsupport::readBytes("answer.xml");
        EXPECT_NE(answer.find("<wsu:Timestamp"), std::string::npos) << answer;
        EXPECT_EQ(std::system("xmlsec1 --verify --pubkey-cert-pem server.pem --id-attr:Id http://schemas.xmlsoap.org/soap/envelope/:Body "
                              "--id-attr:Id http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd:Timestamp "
                              "answer.xml >/dev/null 2>&1"),
                  0)
            << answer;
    }
#endif
}

} // namespace
