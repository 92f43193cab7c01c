// WS-Security of the generated client: each request carries the Security
// header the client's settings (or a call's headers packet) ask for, and an
// answer is taken only when it is signed by a trusted signer over the very
// Body it holds. A test server on the loopback keeps every request as it
// came, for xmlsec1 to verify independently, and answers plainly, signed,
// signed over other bytes, signed by a stranger, or with a fault.

#include "GeneratorTestSupport.h"
#include "LoopbackServer.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace gentest;
namespace fs = std::filesystem;

namespace {

const char* const WsseServer = R"C(
static int mode, requests;
static tessaro_wsse_t server_signs, stranger_signs;
static const char *folder;

/* the request's envelope, kept as request-N.xml */
static void keep(const char *buffer)
{
	char name[512];
	const char *envelope = strstr(buffer, "\r\n\r\n");
	FILE *file;
	snprintf(name, sizeof(name), "%s/request-%d.xml", folder, ++requests);
	if(envelope != NULL && (file = fopen(name, "wb")) != NULL){
		fputs(envelope + 4, file);
		fclose(file);
	}
}

static void send_raw(calc_proto_trans_t *trans, const char *body)
{
	char head[256];
	tessaro_size_t sent;
	snprintf(head, sizeof(head), "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: %d\r\nConnection: close\r\n\r\n", (int)strlen(body));
	tessaro_socket_send_all(trans->socket, head, strlen(head), &sent, 30 * TESSARO_USEC_PER_SEC);
	tessaro_socket_send_all(trans->socket, body, strlen(body), &sent, 30 * TESSARO_USEC_PER_SEC);
}

static void answer(calc_proto_trans_t *trans)
{
	static const char *sum = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\">"
		"<SOAP-ENV:Body><ns:AddResponse xmlns:ns=\"urn:kelvane:calculator\"><ns:sum>5</ns:sum></ns:AddResponse></SOAP-ENV:Body></SOAP-ENV:Envelope>";
	char why[256];
	char *secured = NULL, *at;
	size_t length;
	if(mode == 'P'){
		send_raw(trans, sum);
	}else if(mode == 'F'){
		send_raw(trans, "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\"><SOAP-ENV:Body><SOAP-ENV:Fault>"
			"<faultcode>SOAP-ENV:Server</faultcode><faultstring>busy</faultstring></SOAP-ENV:Fault></SOAP-ENV:Body></SOAP-ENV:Envelope>");
	}else if(tessaro_wsse_secure(mode == 'U' ? &stranger_signs : &server_signs, sum, strlen(sum), &secured, &length, why, sizeof(why)) == 0){
		/* 'T': the signed answer, its sum changed after signing */
		if(mode == 'T' && (at = strstr(secured, "<ns:sum>5<")) != NULL)
			at[8] = '6';
		send_raw(trans, secured);
		free(secured);
	}
}

static void *serve(void *arg)
{
	calc_proto_trans_t trans;
	char *buffer = (char *)calloc(CALC_MAX_MESSAGE_LEN + 1, 1);
	http_buffer_t message = {buffer, CALC_MAX_MESSAGE_LEN, CALC_MAX_MESSAGE_LEN, 0};
	tessaro_size_t length;
	(void)arg;
	memset(&trans, 0, sizeof(trans));
	for(;;){
		trans.socket = accept(listener, NULL, NULL);
		if(mode == 0){
			tessaro_socket_close(trans.socket);
			break;
		}
		length = 0;
		memset(buffer, 0, CALC_MAX_MESSAGE_LEN + 1);
		if(read_packet(&trans, &message, &length, 30, NULL) == 0){
			keep(buffer);
			answer(&trans);
		}
		tessaro_socket_close(trans.socket);
	}
	free(buffer);
	return NULL;
}

static void add(calc_client_t *client, int answer_mode, const char *what)
{
	calc_AddRequest_msg_t in;
	calc_AddReply_msg_t out;
	int result;
	mode = answer_mode;
	in.Add.a = 2;
	in.Add.b = 3;
	memset(&out, 0, sizeof(out));
	result = calc_Add(client, &in, &out, NULL);
	printf("%s: %d sum=%d%s%s\n", what, result, out.AddResponse.sum, result != 0 ? " why=" : "", result != 0 ? calc_client_error_detail(client) : "");
}

static void load(tessaro_wsse_t *settings, const char *key, const char *cert)
{
	char key_path[512], cert_path[512], why[256];
	memset(settings, 0, sizeof(*settings));
	settings->use = TESSARO_WSSE_SIGN | TESSARO_WSSE_TIMESTAMP;
	snprintf(key_path, sizeof(key_path), "%s/%s", folder, key);
	snprintf(cert_path, sizeof(cert_path), "%s/%s", folder, cert);
	if(tessaro_wsse_key_load(&settings->key, key_path, cert_path, NULL, why, sizeof(why)) != 0)
		printf("load: %s\n", why);
}
)C";

// argv: the folder of the keys, and whether signatures are tried (the platform's crypto signs).
const std::string WsseDriver = std::string("#include \"calc_api.c\"\n") + OneRequestServer + WsseServer + R"C(
int main(int argc, char **argv)
{
	char endpoint[64], path[512];
	calc_client_t client;
	calc_proto_packet_t headers;
	tessaro_wsse_t own;
	network_start();
	folder = argv[1];
	if(server_start("/calculator", endpoint) != 0)
		return 2;
	calc_client_init(&client, endpoint);
	printf("set: %d\n", calc_client_set_wsse_user(&client, "bob", "pw", CALC_WSSE_PASSWORD_DIGEST));
	printf("set: %d\n", calc_client_set_wsse_timestamp(&client, 60));
	add(&client, 'P', "digest and timestamp");
	/* one call with settings of its own: the password as text */
	memset(&headers, 0, sizeof(headers));
	memset(&own, 0, sizeof(own));
	own.use = TESSARO_WSSE_USERNAME_TOKEN | TESSARO_WSSE_NONCE;
	strcpy(own.user, "carol");
	strcpy(own.password, "plain");
	headers.wsse = &own;
	client.headers = &headers;
	add(&client, 'P', "own settings");
	client.headers = NULL;
	printf("set: %d\n", calc_client_set_wsse_user(&client, NULL, NULL, 0));
	printf("set: %d\n", calc_client_set_wsse_timestamp(&client, 0));
	add(&client, 'P', "none");
	printf("bad: %d %d\n", calc_client_set_wsse_user(&client, "bob", NULL, 0), calc_client_set_wsse_timestamp(&client, -1));
	if(argc > 2){
		load(&server_signs, "server.key", "server.pem");
		load(&stranger_signs, "stranger.key", "stranger.pem");
		snprintf(path, sizeof(path), "%s/client.key", folder);
		printf("set: %d\n", calc_client_set_wsse_signature(&client, path, NULL, NULL, CALC_WSSE_RSA_SHA1, CALC_WSSE_DIGEST_SHA1));
		snprintf(path, sizeof(path), "%s/server.pem", folder);
		printf("set: %d\n", calc_client_set_wsse_trust(&client, path));
		add(&client, 'S', "signed");
		add(&client, 'T', "tampered");
		add(&client, 'U', "stranger");
		add(&client, 'P', "unsigned");
		add(&client, 'F', "fault");
		printf("set: %d %s\n", calc_client_set_wsse_trust(&client, "no-such.pem"), calc_client_error_detail(&client));
		calc_client_set_wsse_signature(&client, NULL, NULL, NULL, CALC_WSSE_RSA_SHA256, CALC_WSSE_DIGEST_SHA256);
		calc_client_set_wsse_trust(&client, NULL);
		tessaro_wsse_key_free(server_signs.key);
		tessaro_wsse_key_free(stranger_signs.key);
	}
	mode = 0;
	calc_client_close(&client);
	{
		calc_proto_trans_t trans;
		memset(&trans, 0, sizeof(trans));
		calc_connect_server(&trans, client.host, client.path, client.port);
		server_finish();
		tessaro_socket_close(trans.socket);
	}
	return 0;
}
)C";

class WsSecurityTest : public GeneratorTest {
protected:
    static std::string read(const fs::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

std::string withoutCarriageReturns(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

TEST_F(WsSecurityTest, RequestsCarryTheSettingsAndAnswersMustBeSignedByTheTrusted)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    viewLocation(KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl");
    const auto files = emitLibrary("calc");
    EXPECT_NE(files[0].second.find("#define CALC_ERR_SECURITY\t(-40)"), std::string::npos);
    // the keys stand in the working folder the program runs in
    const fs::path keys = fs::current_path() / "wsse-keys";
    fs::remove_all(keys);
    fs::create_directories(keys);
    const bool signs = true;
#ifdef _WIN32
    // no openssl to run: the library tests' keys, the server and the client sharing one
    const std::string data = KELVANE_SOURCE_DIR "/tests/runtime/data/wsse/";
    for (const auto& [to, from] : {std::pair<const char*, const char*>{"server", "signer"}, {"client", "signer"}, {"stranger", "stranger"}})
        for (const char* kind : {".key", ".pem"})
            fs::copy_file(data + from + kind, keys / (std::string(to) + kind));
    // the client's key file holds its certificate too
    testsupport::writeBytes(keys / "client.key", read(keys / "client.key") + read(keys / "client.pem"));
    const std::string untrusted = "(CN=stranger) is not trusted: no trusted certificate issued it";
#else
    const std::string untrusted = "(/CN=stranger) is not trusted: self-signed certificate";
    {
        const std::string make = "cd " + keys.string() +
                                 " && openssl req -x509 -newkey rsa:2048 -nodes -keyout server.key -out server.pem -days 30 -subj /CN=server"
                                 " && openssl req -x509 -newkey rsa:2048 -nodes -keyout stranger.key -out stranger.pem -days 30 -subj /CN=stranger"
                                 " && openssl req -x509 -newkey rsa:2048 -nodes -keyout client.key -out client.pem -days 30 -subj /CN=client"
                                 " && cat client.pem >> client.key";
        ASSERT_EQ(std::system(("(" + make + ") >/dev/null 2>&1").c_str()), 0);
    }
#endif
    const RunResult run = buildAndRunC(WsseDriver, files, true, keys.string() + (signs ? " sign" : ""));
    ASSERT_EQ(run.status, 0) << run.messages << run.output;
    std::string expected = "set: 0\nset: 0\ndigest and timestamp: 0 sum=5\nown settings: 0 sum=5\nset: 0\nset: 0\nnone: 0 sum=5\nbad: -7 -7\n";
    if (signs)
        expected += "set: 0\nset: 0\nsigned: 0 sum=5\n"
                    "tampered: -40 sum=0 why=the answer from 127.0.0.1:PORT failed its security check: the digest of the signed Body (#Body) does not match\n"
                    "stranger: -40 sum=0 why=the answer from 127.0.0.1:PORT failed its security check: the signer's certificate " + untrusted + "\n"
                    "unsigned: -40 sum=0 why=the answer from 127.0.0.1:PORT failed its security check: the message carries no Security header\n"
                    "fault: 1 sum=0 why=SOAP fault SOAP-ENV:Server: busy\n"
                    "set: -40 no-such.pem: No such file or directory\n";
    std::string output = withoutCarriageReturns(run.output);
    // the server's port is the system's choice
    for (std::size_t at = 0; (at = output.find("127.0.0.1:", at)) != std::string::npos; at += 14)
        output.replace(at + 10, output.find_first_not_of("0123456789", at + 10) - at - 10, "PORT");
    EXPECT_EQ(output, expected);

    auto has = [](const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; };
    const std::string digest = read(keys / "request-1.xml");
    EXPECT_TRUE(has(digest, "<wsse:Security xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd\""));
    EXPECT_TRUE(has(digest, "SOAP-ENV:mustUnderstand=\"1\""));
    EXPECT_TRUE(has(digest, "<wsse:Username>bob</wsse:Username>"));
    EXPECT_TRUE(has(digest, "#PasswordDigest\">"));
    EXPECT_TRUE(has(digest, "</wsu:Created><wsu:Expires>"));
    const std::string own = read(keys / "request-2.xml");
    EXPECT_TRUE(has(own, "<wsse:Username>carol</wsse:Username>"));
    EXPECT_TRUE(has(own, "#PasswordText\">plain</wsse:Password><wsse:Nonce"));
    EXPECT_FALSE(has(own, "Timestamp"));
    const std::string none = read(keys / "request-3.xml");
    EXPECT_FALSE(has(none, "Security"));
    EXPECT_TRUE(has(none, ">3</"));
#ifndef _WIN32
    if (signs) {
        // the signed request verifies with the client's certificate, independently
        const std::string command = "xmlsec1 --verify --pubkey-cert-pem " + (keys / "client.pem").string() +
                                    " --id-attr:Id http://schemas.xmlsoap.org/soap/envelope/:Body --id-attr:Id "
                                    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd:Timestamp " +
                                    (keys / "request-4.xml").string() + " >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << read(keys / "request-4.xml");
        EXPECT_NE(read(keys / "request-4.xml").find("rsa-sha1"), std::string::npos);
    }
#endif
}

} // namespace
