// The generated server against its own clients and raw requests: every
// operation reaches its function in both SOAP versions, faults (declared and
// plain) reach the client, a request the server cannot take gets the fault or
// the status that says why, the limits refuse what they should, a stop
// answers the request in flight, many kept connections are all served, and
// TLS serves a client that trusts the configured certificate only.

#include "ServedDriver.h"

#include <algorithm>
#include <cstdlib>

using namespace gentest;

namespace {

// The service's functions and the driver's modes, each printing one line per
// check. No wait is timed: each step waits for what must come.
const char* const Driver = R"(#include "served_api.c"
#include "served_driver.h"

static char endpoint12[64];
static volatile int held, released;

static int serve_add(served_served_t *served, const served_AddRequest_msg_t *in, served_AddReply_msg_t *out, served_soap_fault_msg_t *fault)
{
	(void)served;
	if(in->Add.a == -1){
		snprintf(fault->faultcode, sizeof(fault->faultcode), "SOAP-ENV:Client");
		snprintf(fault->faultstring, sizeof(fault->faultstring), "no negative numbers");
		fault->detail_type = SERVED_DETAIL_ADDFAULT;
		fault->detail_msg.AddFault = (served_AddFault_msg_t *)calloc(1, sizeof(*fault->detail_msg.AddFault));
		fault->detail_msg.AddFault->AddProblem.reason = strdup("a is -1");
		return SERVED_FAULT;
	}
	if(in->Add.a == -2)
		return 7;
	out->AddResponse.sum = in->Add.a + in->Add.b;
	return 0;
}

static int serve_greet(served_served_t *served, const served_GreetRequest_msg_t *in, served_GreetReply_msg_t *out, served_soap_fault_msg_t *fault)
{
	const char *name = in->Greet.name != NULL ? in->Greet.name : "";
	(void)served; (void)fault;
	if(strcmp(name, "hold") == 0){
		held = 1;
		while(!released)
			pause_a_little();
	}
	out->GreetResponse.greeting = (char *)malloc(strlen(name) + sizeof("Hello, !"));
	sprintf(out->GreetResponse.greeting, "Hello, %s!", name);
	return 0;
}

static int serve_notify(served_served_t *served, const served_NotifyRequest_msg_t *in, served_soap_fault_msg_t *fault)
{
	(void)served; (void)in; (void)fault;
	return 0;
}

/* the header hook refuses a request that carries X-Refuse */
static int check_headers(served_served_t *served, served_soap_fault_msg_t *fault)
{
	int i;
	for(i = 0; i < served->request->http_headers_count; i++)
		if(strcmp(served->request->http_headers[i].name, "X-Refuse") == 0){
			snprintf(fault->faultstring, sizeof(fault->faultstring), "refused by the header hook");
			return 1;
		}
	return 0;
}

static void start(tessaro_server_config_t *config, int with_notify)
{
	static served_service_t service;
	memset(&service, 0, sizeof(service));
	service.Add = serve_add;
	service.Greet = serve_greet;
	service.headers = check_headers;
	if(with_notify)
		service.Notify = serve_notify;
	start_served(config, &service);
	snprintf(endpoint12, sizeof(endpoint12), "http://127.0.0.1:%u/served12", (unsigned int)tessaro_server_port(server));
}

/* reads one answer (to its Content-Length, or to the close): its status, the fault code it
 * carries, and whether the server closes the connection after it */
static void print_answer(tessaro_socket_t sock)
{
	static char text[65536];
	size_t have = read_answer_text(sock, text, sizeof(text));
	const char *at, *code = "-";
	char codes[64];
	int closing;

	closing = strstr(text, "\r\nConnection: close\r\n") != NULL;
	if((at = strstr(text, "<faultcode>")) != NULL || (at = strstr(text, "<SOAP-ENV:Value>")) != NULL){
		at = strchr(at, '>') + 1;
		snprintf(codes, sizeof(codes), "%.*s", (int)strcspn(at, "<"), at);
		code = codes;
	}
	/* an answer names no host (a server's transport has none to name) */
	printf("%.3s %s%s%s%s\n", have > 12 ? text + 9 : "---", code, closing ? " close" : "",
		strstr(text, "<definitions") != NULL ? " wsdl" : "", strstr(text, "\r\nHOST:") != NULL ? " host" : "");
}

static void ask(const char *request)
{
	tessaro_socket_t sock = connect_server();
	send_bytes(sock, request, strlen(request));
	print_answer(sock);
	tessaro_socket_close(sock);
}

/* a request of body in version 11 or 12 */
static void ask_soap(int version, const char *extra, const char *body)
{
	static char request[16384];
	char envelope[8192];
	/* a body that brings its header is the envelope's whole content */
	int whole = strncmp(body, "<e:Header>", 10) == 0;
	snprintf(envelope, sizeof(envelope), "<?xml version=\"1.0\"?><e:Envelope xmlns:e=\"%s\">%s%s%s</e:Envelope>",
		version == 12 ? "http://www.w3.org/2003/05/soap-envelope" : "http://schemas.xmlsoap.org/soap/envelope/",
		whole ? "" : "<e:Body>", body, whole ? "" : "</e:Body>");
	snprintf(request, sizeof(request), "POST /served HTTP/1.1\r\nHost: here\r\nContent-Type: %s\r\n%sContent-Length: %u\r\n\r\n%s",
		version == 12 ? "application/soap+xml; charset=utf-8" : "text/xml; charset=utf-8", extra, (unsigned int)strlen(envelope), envelope);
	ask(request);
}

#define ADD "<s:Add xmlns:s=\"urn:kelvane:served\"><s:a>2</s:a><s:b>3</s:b></s:Add>"

static void raw(const char *wsdl)
{
	tessaro_server_config_t config = {0};
	static char big[3000], chunked[4096];
	config.max_request_bytes = 2048;
	config.wsdl = wsdl;
	start(&config, 1);
	ask_soap(11, "", ADD);
	ask_soap(12, "", ADD);
	ask_soap(11, "Connection: close\r\n", ADD);
	ask_soap(11, "", "<s:Add xmlns:s=\"urn:kelvane:served\"><s:a>2</s:a>");
	ask_soap(12, "", "<s:Add xmlns:s=\"urn:kelvane:served\"><s:a>2</s:a>");
	ask_soap(11, "", "<s:AddResponse xmlns:s=\"urn:kelvane:served\"><s:sum>2</s:sum></s:AddResponse>");
	ask_soap(11, "", "<s:Multiply xmlns:s=\"urn:kelvane:served\"/>");
	ask_soap(11, "", "<e:Header><h:Lock xmlns:h=\"urn:other\" e:mustUnderstand=\"1\"/></e:Header><e:Body>" ADD "</e:Body>");
	ask_soap(11, "", "<s:Notify xmlns:s=\"urn:kelvane:served\"><s:note>n</s:note></s:Notify>");
	ask_soap(12, "", "<s:Notify xmlns:s=\"urn:kelvane:served\"><s:note>n</s:note></s:Notify>");
	ask_soap(11, "X-Refuse: 1\r\n", ADD);
	ask("POST /served HTTP/1.1\r\nHost: here\r\n\r\n");
	/* an answer's status line where a request must come */
	ask("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
	memset(big, ' ', sizeof(big) - 1);
	ask_soap(11, "", big);
	/* a chunk extension and a trailer line are bytes of the message: past the bound, refused at
	 * once rather than read until the request's time is up */
	memset(big, 'x', sizeof(big) - 1);
	snprintf(chunked, sizeof(chunked), "POST /served HTTP/1.1\r\nHost: here\r\nContent-Type: text/xml\r\n"
		"Transfer-Encoding: chunked\r\n\r\n1;%s\r\n<\r\n0\r\n\r\n", big);
	ask(chunked);
	snprintf(chunked, sizeof(chunked), "POST /served HTTP/1.1\r\nHost: here\r\nContent-Type: text/xml\r\n"
		"Transfer-Encoding: chunked\r\n\r\n1\r\n<\r\n0\r\nX-Trailer: %s\r\n\r\n", big);
	ask(chunked);
	/* the WSDL, and a document of its folder by the end of the path; nothing outside it */
	ask("GET /served?wsdl HTTP/1.1\r\nHost: here\r\n\r\n");
	ask("GET /served/served.wsdl HTTP/1.0\r\n\r\n");
	/* header.cases stands beside the WSDL's folder */
	ask("GET /served/../header.cases HTTP/1.1\r\nConnection: close\r\n\r\n");
	ask("GET /none.xsd HTTP/1.1\r\n\r\n");
	tessaro_server_free(server);
}

static void calls(void)
{
	tessaro_server_config_t config = {0};
	served_client_t client, client12;
	served_AddRequest_msg_t add = {.Add = {.a = 2, .b = 3}};
	served_AddReply_msg_t sum;
	served_GreetRequest_msg_t greet = {.Greet = {.name = "you"}};
	served_GreetReply_msg_t greeting;
	served_NotifyRequest_msg_t notify = {.Notify = {.note = "n"}};
	served_soap_fault_msg_t fault;
	int result;

	start(&config, 0);
	served_client_init(&client, endpoint);
	served_client_init(&client12, endpoint12);
	result = served_Add(&client, &add, &sum, &fault);
	printf("Add %d %d\n", result, sum.AddResponse.sum);
	result = served_Add_soap12(&client12, &add, &sum, &fault);
	printf("Add 1.2 %d %d\n", result, sum.AddResponse.sum);
	result = served_Greet(&client, &greet, &greeting, &fault);
	printf("Greet %d %s\n", result, greeting.GreetResponse.greeting);
	served_free_Greet(&greeting);
	result = served_Greet_soap12(&client12, &greet, &greeting, &fault);
	printf("Greet 1.2 %d %s\n", result, greeting.GreetResponse.greeting);
	served_free_Greet(&greeting);
	result = served_Notify(&client, &notify, &fault);
	printf("Notify %d %s\n", result, fault.faultstring);
	served_free_fault(&fault);
	add.Add.a = -1;
	result = served_Add(&client, &add, &sum, &fault);
	printf("Add fault %d %s %s %s\n", result, fault.faultcode, fault.faultstring,
		fault.detail_type == SERVED_DETAIL_ADDFAULT ? fault.detail_msg.AddFault->AddProblem.reason : "no detail");
	served_free_fault(&fault);
	result = served_Add_soap12(&client12, &add, &sum, &fault);
	printf("Add 1.2 fault %d %s %s %s\n", result, fault.faultcode, fault.faultstring,
		fault.detail_type == SERVED_DETAIL_ADDFAULT ? fault.detail_msg.AddFault->AddProblem.reason : "no detail");
	served_free_fault(&fault);
	add.Add.a = -2;
	result = served_Add(&client, &add, &sum, &fault);
	printf("Add failed %d %s %s\n", result, fault.faultcode, fault.faultstring);
	served_free_fault(&fault);
	served_client_close(&client);
	served_client_close(&client12);
	tessaro_server_free(server);
}

static void limits(void)
{
	tessaro_server_config_t config = {0};
	tessaro_socket_t kept[2], sock;
	char byte;
	tessaro_size_t len = 1;
	config.max_connections = 2;
	config.idle_seconds = 1;
	config.workers = 1;
	start(&config, 0);
	kept[0] = connect_server();
	kept[1] = connect_server();
	/* the third connection is over the bound: 503, and closed */
	sock = connect_server();
	print_answer(sock);
	tessaro_socket_close(sock);
	/* the kept ones send nothing: the idle bound closes them */
	printf("idle closed %d\n", tessaro_socket_recv(kept[0], &byte, &len, 60 * TESSARO_USEC_PER_SEC) == TESSARO_END_OF_STREAM);
	tessaro_socket_close(kept[0]);
	tessaro_socket_close(kept[1]);
	tessaro_server_free(server);
}

static void *held_call(void *param)
{
	served_client_t client;
	served_GreetRequest_msg_t greet = {.Greet = {.name = "hold"}};
	served_GreetReply_msg_t greeting;
	int result;
	(void)param;
	served_client_init(&client, endpoint);
	result = served_Greet(&client, &greet, &greeting, NULL);
	printf("held call %d %s\n", result, result == 0 ? greeting.GreetResponse.greeting : served_client_error_detail(&client));
	served_free_Greet(&greeting);
	served_client_close(&client);
	return NULL;
}

static void stop(void)
{
	tessaro_server_config_t config = {0};
	served_client_t idle;
	served_AddRequest_msg_t add = {.Add = {.a = 1, .b = 1}};
	served_AddReply_msg_t sum;
	thread_t thread;
	tessaro_socket_t sock;
	int result;

	start(&config, 0);
	/* a kept connection that waits for its next request when the stop comes */
	served_client_init(&idle, endpoint);
	printf("before %d\n", served_Add(&idle, &add, &sum, NULL));
	if(!thread_start(&thread, held_call, NULL))
		exit(1);
	while(!held)
		pause_a_little();
	tessaro_server_stop(server);
	released = 1;
	result = tessaro_server_wait(server);
	thread_join(thread);
	printf("waited %d\n", result);
	/* the kept connection was closed: the next call finds it so */
	printf("after stop %d\n", served_Add(&idle, &add, &sum, NULL) != 0);
	served_client_close(&idle);
	tessaro_server_free(server);
	printf("listening %d\n", tessaro_create_tcp_socket(&sock) == 0 && tessaro_connect(sock, "127.0.0.1",
		(tessaro_port_t)atoi(strrchr(endpoint, ':') + 1)) == 0);
	tessaro_socket_close(sock);
}

/* a second server on the port of the first: where the system lets processes share a port */
static void share(void)
{
	tessaro_server_config_t config = {0};
	tessaro_server_t *first, *second = NULL;
	static served_service_t service;
	config.address = "127.0.0.1";
	config.reuse_port = 1;
	config.workers = 1;
	if(served_server_start(&first, &config, &service) != 0)
		exit(1);
	config.port = tessaro_server_port(first);
	printf("shared %d\n", served_server_start(&second, &config, &service) == 0);
	tessaro_server_free(second);
	config.reuse_port = 0;
	printf("alone %d\n", served_server_start(&second, &config, &service) == 0);
	tessaro_server_free(second);
	tessaro_server_free(first);
}

#define CLIENTS 64
#define CALLS 20
static int answered[CLIENTS];

static void *client_calls(void *param)
{
	int n = (int)(size_t)param, i;
	served_client_t client;
	served_AddRequest_msg_t add;
	served_AddReply_msg_t sum;
	served_client_init(&client, endpoint);
	for(i = 0; i < CALLS; i++){
		add.Add.a = n;
		add.Add.b = i;
		if(served_Add(&client, &add, &sum, NULL) == 0 && sum.AddResponse.sum == n + i)
			answered[n]++;
	}
	served_client_close(&client);
	return NULL;
}

static void many(void)
{
	tessaro_server_config_t config = {0};
	thread_t threads[CLIENTS];
	int i, all = 0;
	config.workers = 4;
	start(&config, 0);
	for(i = 0; i < CLIENTS; i++)
		if(!thread_start(&threads[i], client_calls, (void *)(size_t)i))
			exit(1);
	for(i = 0; i < CLIENTS; i++){
		thread_join(threads[i]);
		all += answered[i];
	}
	printf("answered %d of %d\n", all, CLIENTS * CALLS);
	tessaro_server_free(server);
}

/* TLS with the configuration's certificate: a key of another certificate, or none, is refused at
 * the start, a PKCS#1 key taken as a PKCS#8 one; a client that trusts the certificate is answered,
 * one that trusts another refuses it */
static void tls(void)
{
	tessaro_server_config_t config = {0};
	static served_service_t service;
	const char *trusts[] = {"server.pem", "stranger.pem", "server.pem"};
	const char *pairs[][3] = {{"mismatched", "server.pem", "stranger.key"}, {"no key", "server.pem", "none.key"},
		{"no certificate", "none.pem", "server.key"}, {"key for certificate", "server.key", "server.key"}, {"pkcs1", "server.pem", "server-rsa.key"}};
	served_client_t client;
	served_AddRequest_msg_t add = {.Add = {.a = 2, .b = 3}};
	served_AddReply_msg_t sum;
	char https[64];
	int result, i;
	service.Add = serve_add;
	config.address = "127.0.0.1";
	for(i = 0; i < 5; i++){
		config.tls_certificate = pairs[i][1];
		config.tls_key = pairs[i][2];
		printf("%s %d\n", pairs[i][0], result = served_server_start(&server, &config, &service));
		if(result == 0)
			tessaro_server_free(server);
	}
	config.tls_certificate = "server.pem";
	config.tls_key = "server.key";
	if((result = served_server_start(&server, &config, &service)) != 0){
		printf("no tls %d\n", result);
		return;
	}
	snprintf(https, sizeof(https), "https://127.0.0.1:%u/served", (unsigned int)tessaro_server_port(server));
	for(i = 0; i < 3; i++){
		served_client_init(&client, https);
		served_client_set_tls(&client, trusts[i], 1);
		memset(&sum, 0, sizeof(sum));
		result = served_Add(&client, &add, &sum, NULL);
		printf("trusts %s: %s %d\n", trusts[i], result == 0 ? "answered" : result == SERVED_ERR_CERT_UNTRUSTED ? "untrusted" : "failed", sum.AddResponse.sum);
		served_client_close(&client);
	}
	tessaro_server_free(server);
}

int main(int argc, char **argv)
{
	const char *mode = argc > 1 ? argv[1] : "";
	setvbuf(stdout, NULL, _IONBF, 0);
	if(strcmp(mode, "raw") == 0)
		raw(argc > 2 ? argv[2] : NULL);
	else if(strcmp(mode, "calls") == 0)
		calls();
	else if(strcmp(mode, "limits") == 0)
		limits();
	else if(strcmp(mode, "stop") == 0)
		stop();
	else if(strcmp(mode, "many") == 0)
		many();
	else if(strcmp(mode, "share") == 0)
		share();
	else if(strcmp(mode, "tls") == 0)
		tls();
	return 0;
}
)";

class ServerTest : public ServedDriverTest {};

TEST_F(ServerTest, RequestsReachTheirFunctionsOrAreAnsweredWhyNot)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    testsupport::ScopedWorkingFolder folder;
    ASSERT_TRUE(buildServedDriver(Driver));
    // a key of another certificate, no key, no certificate and a key where the certificate must
    // be fail the start; a PKCS#1 key serves as a PKCS#8 one
    const std::string refusals = "mismatched 8\nno key 8\nno certificate 8\nkey for certificate 8\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"raw",
         // Add in both versions, kept open unless asked to close; a broken message is the
         // sender's fault (400 in SOAP 1.2); a response sent as a request, an unknown element, a
         // header that must be understood; Notify has no response: 202; the header hook's
         // fault; no length; a status line for a request line; longer than the bound
         "200 -\n200 -\n200 - close\n"
         "500 SOAP-ENV:Client close\n400 SOAP-ENV:Sender close\n"
         "500 SOAP-ENV:Client\n500 SOAP-ENV:Client close\n500 SOAP-ENV:MustUnderstand close\n"
         "202 -\n202 -\n500 SOAP-ENV:Server\n411 - close\n400 - close\n413 - close\n"
         // a chunk extension, then a trailer line, past the bound
         "413 - close\n413 - close\n"
         // GET ...?wsdl, a document by its path's end; none outside the WSDL's folder
         "200 - wsdl\n200 - close wsdl\n404 - close\n404 - close\n"},
        {"calls",
         "Add 0 5\nAdd 1.2 0 5\nGreet 0 Hello, you!\nGreet 1.2 0 Hello, you!\n"
         // a service without Notify's function
         "Notify 1 the service does not serve this operation\n"
         "Add fault 1 SOAP-ENV:Client no negative numbers a is -1\n"
         "Add 1.2 fault 1 SOAP-ENV:Sender no negative numbers a is -1\n"
         "Add failed 1 SOAP-ENV:Server the operation failed (7)\n"},
        {"limits", "503 - close\nidle closed 1\n"},
        {"stop", "before 0\nheld call 0 Hello, hold!\nwaited 0\nafter stop 1\nlistening 0\n"},
        {"many", "answered 1280 of 1280\n"},
#ifdef _WIN32
        // Windows lets no two processes share a port; Wine's Schannel gives a server its
        // credentials but accepts no session, so the start says the handshake cannot be made
        {"share", "shared 0\nalone 0\n"},
        {"tls", refusals + "pkcs1 4\nno tls 4\n"},
#else
        {"share", "shared 1\nalone 0\n"},
        {"tls", refusals + "pkcs1 0\ntrusts server.pem: answered 5\ntrusts stranger.pem: untrusted 0\ntrusts server.pem: answered 5\n"},
#endif
    };
    // the certificates, each for 127.0.0.1, stand in the working folder the program runs in
    for (const char* name : {"server.pem", "server.key", "server-rsa.key", "stranger.pem", "stranger.key"})
        testsupport::writeBytes(name, testsupport::readBytes(KELVANE_SOURCE_DIR "/tests/runtime/data/tls/" + std::string(name)));
    expectOutputs(cases, " " + servedWsdl());
}

} // namespace
