// Every port's address: one endpoint constant per port, and each
// operation's call goes to its own port's address unless the caller gave
// the client one. The driver points the constants at two loopback servers
// of its own before the generated source is compiled in.

#include "GeneratorTestSupport.h"

#include <algorithm>

using namespace gentest;

namespace {

class PortEndpointsTest : public FixedTextsTest {
protected:
    void SetUp() override
    {
        viewLocation(KELVANE_SOURCE_DIR "/tests/generator/emit/data/ports/two_ports.wsdl");
        files_ = emitLibrary("two");
    }

    std::vector<std::pair<std::string, std::string>> files_;
};

TEST_F(PortEndpointsTest, EachPortHasItsConstant)
{
    const char* const lines[] = {"#define TWO_DEFAULT_ENDPOINT\t\"http://127.0.0.1:4321/add\"\r\n",
                                 "#define TWO_ADDERPORT_ENDPOINT\t\"http://127.0.0.1:4321/add\"\r\n",
                                 "#define TWO_GREETER_PORT_ENDPOINT\t\"http://127.0.0.1:4322/greet\"\r\n",
                                 "#define TWO_ADDERPORT_2_ENDPOINT\t\"http://127.0.0.1:4323/mirror\"\r\n"};
    std::size_t at = 0;
    for (const char* line : lines) {
        const std::size_t found = files_[0].second.find(line, at);
        EXPECT_NE(found, std::string::npos) << line;
        at = found == std::string::npos ? at : found;
    }
    // The adder's operation goes to the first port of its binding.
    EXPECT_NE(files_[1].second.find("two_call_port(client, TWO_ADDERPORT_ENDPOINT);"), std::string::npos);
    EXPECT_NE(files_[1].second.find("two_call_port(client, TWO_GREETER_PORT_ENDPOINT);"), std::string::npos);
}

// Two servers, each noting the path and kind of every request it answers.
const char* const TwoPortsDriver = R"(#include <pthread.h>
#include <stdio.h>
#include <string.h>
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#endif
#include "two_api.h"
static char adder[64], greeter[64];
#undef TWO_DEFAULT_ENDPOINT
#undef TWO_ADDERPORT_ENDPOINT
#undef TWO_GREETER_PORT_ENDPOINT
#define TWO_DEFAULT_ENDPOINT adder
#define TWO_ADDERPORT_ENDPOINT adder
#define TWO_GREETER_PORT_ENDPOINT greeter
#include "two_api.c"

typedef struct server_t{
	const char *name;
	tessaro_socket_t listener;
	pthread_t thread;
	int stop;
}server_t;
static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static char notes[1024];

static void *serve(void *arg)
{
	server_t *server = (server_t *)arg;
	two_proto_trans_t trans;
	two_proto_packet_t *pk = (two_proto_packet_t *)calloc(1, sizeof(*pk));
	char *buffer = (char *)calloc(TWO_MAX_MESSAGE_LEN + 1, 1);
	http_buffer_t message = {buffer, TWO_MAX_MESSAGE_LEN, TWO_MAX_MESSAGE_LEN, 0};
	tessaro_size_t length;
	memset(&trans, 0, sizeof(trans));
	for(;;){
		trans.socket = accept(server->listener, NULL, NULL);
		if(server->stop)
			break;
		length = 0;
		memset(buffer, 0, TWO_MAX_MESSAGE_LEN + 1);
		memset(pk, 0, sizeof(*pk));
		if(read_packet(&trans, &message, &length, 30, NULL) == 0 && two_proto_unpack(buffer, length, pk) == 0){
			pthread_mutex_lock(&lock);
			snprintf(notes + strlen(notes), sizeof(notes) - strlen(notes), " %s%.*s:%s", server->name,
				(int)strcspn(buffer + 5, " "), buffer + 5, pk->msg_type == TWO_PROTO_ADD ? "Add" : "Greet");
			pthread_mutex_unlock(&lock);
			if(pk->msg_type == TWO_PROTO_ADD){
				int sum = pk->msg.AddRequest.Add.a + pk->msg.AddRequest.Add.b;
				memset(pk, 0, sizeof(*pk));
				pk->msg_type = TWO_PROTO_ADDRESPONSE;
				pk->msg.AddReply.AddResponse.sum = sum;
			}else{
				two_free_proto_packet(pk);
				memset(pk, 0, sizeof(*pk));
				pk->msg_type = TWO_PROTO_GREETRESPONSE;
				strcpy(pk->msg.GreetReply.GreetResponse.greeting, server->name);
			}
			two_add_http_header(pk, "Connection", "close");
			two_proto_sendpacket(&trans, pk, 30);
		}
		two_free_proto_packet(pk);
		tessaro_socket_close(trans.socket);
	}
	tessaro_socket_close(trans.socket);
	free(buffer);
	free(pk);
	return NULL;
}

static int server_start(server_t *server, const char *name, const char *path, char *endpoint)
{
	struct sockaddr_in address;
	socklen_t size = sizeof(address);
	server->name = name;
	if(tessaro_socket_create_tcp_listen(&server->listener, 0, 4) != 0 ||
		getsockname(server->listener, (struct sockaddr *)&address, &size) != 0)
		return -1;
	sprintf(endpoint, "http://127.0.0.1:%d%s", ntohs(address.sin_port), path);
	return pthread_create(&server->thread, NULL, serve, server);
}

static void server_stop(server_t *server, const char *endpoint)
{
	two_proto_trans_t trans;
	two_client_t client;
	server->stop = 1;
	two_client_init(&client, endpoint);
	two_connect_server(&trans, client.host, client.path, client.port);
	pthread_join(server->thread, NULL);
	tessaro_socket_close(trans.socket);
	tessaro_socket_close(server->listener);
}

static void calls(two_client_t *client, const char *what)
{
	two_AddRequest_msg_t add;
	two_AddReply_msg_t sum;
	two_GreetRequest_msg_t greet;
	two_GreetReply_msg_t greeting;
	int added, greeted, again;
	add.Add.a = 2;
	add.Add.b = 3;
	strcpy(greet.Greet.name, "you");
	memset(&greeting, 0, sizeof(greeting));
	added = two_Add(client, &add, &sum, NULL);
	greeted = two_Greet(client, &greet, &greeting, NULL);
	two_free_Greet(&greeting);
	again = two_Add(client, &add, &sum, NULL);
	pthread_mutex_lock(&lock);
	printf("%s: %d %d %d%s\n", what, added, greeted, again, notes);
	notes[0] = '\0';
	pthread_mutex_unlock(&lock);
}

int main(void)
{
	server_t a, g;
	two_client_t client;
#ifdef _WIN32
	WSADATA wsa;
	WSAStartup(MAKEWORD(2, 2), &wsa);
#endif
	memset(&a, 0, sizeof(a));
	memset(&g, 0, sizeof(g));
	if(server_start(&a, "adder", "/add", adder) != 0 || server_start(&g, "greeter", "/greet", greeter) != 0)
		return 2;
	two_client_init(&client, NULL);
	calls(&client, "no endpoint given");
	two_client_init(&client, greeter);
	calls(&client, "the greeter's given");
	server_stop(&a, adder);
	server_stop(&g, greeter);
	return 0;
}
)";

TEST_F(PortEndpointsTest, EachOperationReachesItsOwnPortUnlessTheCallerGaveOne)
{
    if (!canBuildPrograms())
        GTEST_SKIP() << "no C compiler";
    const RunResult run = buildAndRunC(TwoPortsDriver, files_, true);
    ASSERT_EQ(run.status, 0) << run.messages;
    std::string output = run.output;
    output.erase(std::remove(output.begin(), output.end(), '\r'), output.end());
    EXPECT_EQ(output, "no endpoint given: 0 0 0 adder/add:Add greeter/greet:Greet adder/add:Add\n"
                      "the greeter's given: 0 0 0 greeter/greet:Add greeter/greet:Greet greeter/greet:Add\n")
        << run.messages;
}

} // namespace
