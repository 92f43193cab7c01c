//what the demo writes for its service: each message kind's name, a message of a kind filled
//with sample values to go the way given, and the kind that answers a request kind (0 for none)
const char *demo_kind_name(unsigned int msg_type);
void demo_sample_message(kvproj_proto_packet_t *pk, unsigned int msg_type, int msg_direction);
unsigned int demo_answer_kind(unsigned int request);

#define DEMO_SEPARATOR	"=======================================================\n"

//the sample values of a message stay few: once this many are filled, optional members stay out
//and arrays hold one item (none when optional)
#define DEMO_SAMPLE_BUDGET	50

//how many items an array of the sample gets, after *n values were filled
int demo_items(const int *n, int optional)
{
	if(*n < DEMO_SAMPLE_BUDGET)
		return 2;
	return optional ? 0 : 1;
}

//copies text into a member of size bytes, cut to fit
void demo_text(char *to, size_t size, const char *text)
{
	size_t i;

	for(i = 0; i + 1 < size && text[i] != '\0'; i++)
		to[i] = text[i];
	if(size > 0)
		to[i] = '\0';
}

//a member's name followed by a number, cut to fit: the sample of a text
void demo_numbered(char *to, size_t size, const char *name, int n)
{
	char text[256];

	snprintf(text, sizeof(text), "%.200s%d", name, n);
	demo_text(to, size, text);
}

//a member's name followed by a number, at most most bytes (its type's maxLength; -1: any), allocated
//with its length as the packet's free function expects: the sample of an allocated text; NULL
//without memory
char *demo_numbered_text(const char *name, int n, int most)
{
	char text[256];
	char *copy;

	snprintf(text, sizeof(text), "%.200s%d", name, n);
	if(most >= 0 && (size_t)most < strlen(text))
		text[most] = '\0';
	copy = (char *)malloc(strlen(text) + 1);
	if(copy != NULL)
		strcpy(copy, text);
	return copy;
}

//the port the server thread listens on: the first argument, 4321 without one, 0 for a free
//port the system chooses; with "--serve PORT" the demo only serves, until it is stopped; -1 with a
//line that says why for a wrong argument
int demo_port(int argc, char **argv, tessaro_port_t *port, int *serve)
{
	char *end = NULL;
	unsigned long value = 4321;
	const char *text = NULL;

	*serve = argc == 3 && strcmp(argv[1], "--serve") == 0;
	if(argc > 2 && !*serve){
		printf("usage: %s [PORT] | --serve PORT   (the port of the server: 4321 unless given, 0 for any free port)\n", argv[0]);
		return -1;
	}
	if(argc >= 2)
		text = argv[argc - 1];
	if(text != NULL){
		value = strtoul(text, &end, 10);
		if(text[0] < '0' || text[0] > '9' || *end != '\0' || value > 65535){
			printf("demo: PORT '%s' is no number from 0 to 65535\n", text);
			return -1;
		}
	}
	*port = (tessaro_port_t)value;
	return 0;
}

//prints a packet between a banner and a separator: a message through its print function, an
//HTTP status and a fault by their fields
void demo_print(const char *banner, const char *what, kvproj_proto_packet_t *pk)
{
	printf("==================%s %s====================\n", banner, what);
	kvproj_print_proto_packet_t(pk);
	if(pk->msg_type == KVPROJ_PROTO_HTTP){
		printf("err_code:%d\n", pk->msg.http_msg.err_code);
		printf("err_code_string:%s\n", pk->msg.http_msg.err_code_string);
	}else if(pk->msg_type == KVPROJ_PROTO_SOAP_FAULT){
		printf("faultcode:%s\n", pk->msg.soap_fault.faultcode);
		printf("faultstring:%s\n", pk->msg.soap_fault.faultstring);
		printf("detail:%s\n", pk->msg.soap_fault.detail != NULL ? pk->msg.soap_fault.detail : "");
	}
	printf(DEMO_SEPARATOR);
}

//answers a request that cannot be answered otherwise with a SOAP fault that says why: the fault the
//reader named for a request that did not decode (MustUnderstand for a header), else Client
void demo_refuse(kvproj_proto_trans_t *trans, kvproj_proto_packet_t *pk, const char *why)
{
	const char *code = pk->decode_fault != NULL ? pk->decode_fault : "SOAP-ENV:Client";
	//the fault goes in the version of the request
	int version = pk->soap_version;

	memset(pk, 0, sizeof(*pk));
	pk->soap_version = version;
	pk->msg_type = KVPROJ_PROTO_SOAP_FAULT;
	pk->msg_direction = KVPROJ_DIRECTION_RESPONSE;
	snprintf(pk->msg.soap_fault.faultcode, sizeof(pk->msg.soap_fault.faultcode), "%s", code);
	snprintf(pk->msg.soap_fault.faultstring, sizeof(pk->msg.soap_fault.faultstring), "%s", why);
	kvproj_proto_sendpacket(trans, pk, 30);
}

//the server side's bounds: the seconds a connection may stay without a request before it is
//closed, so that idle clients hold nothing, and the seconds the demo's end gives the requests still
//being answered
#ifndef DEMO_IDLE_SECONDS
#define DEMO_IDLE_SECONDS	5
#endif
#ifndef DEMO_SERVED_WAIT
#define DEMO_SERVED_WAIT	5
#endif

//the server side's part, handed each request that comes by the support library's server: answers it
//with its operation's response filled with sample values; 1 when the connection stays for the next
int demo_serve(void *context, tessaro_server_connection_t *connection)
{
	kvproj_proto_packet_t *pk = (kvproj_proto_packet_t *)*connection->scratch;
	kvproj_proto_trans_t trans;
	char why[KVPROJ_MAX_DECODE_ERROR_LEN+64];
	unsigned int answer;
	int result;
	int keep;
	int version;

	(void)context;
	if(pk == NULL){
		//on the heap, once a worker: a service's messages may not fit a thread's stack
		if((pk = (kvproj_proto_packet_t *)calloc(1, sizeof(*pk))) == NULL){
			printf("server: out of memory for a request\n");
			return 0;
		}
		*connection->scratch = pk;
	}
	memset(&trans, 0, sizeof(trans));
	trans.socket = connection->socket;
	trans.tls = connection->tls;
	trans.deadline = connection->deadline;
	result = kvproj_proto_readpacket(&trans, pk, 30);
	if(result != 0){
		//a client closes the connection after its last answer: that is no failure
		if(connection->served > 0 && pk->decode_error[0] == '\0')
			return 0;
		snprintf(why, sizeof(why), "the request could not be read%s%s", pk->decode_error[0] != '\0' ? ": " : "", pk->decode_error);
		printf("read_packet stat is %d! %s\n", result, why);
		//a request the reader refused for its HTTP form gets the status the reader chose
		if(pk->msg_type == KVPROJ_PROTO_HTTP)
			kvproj_proto_sendpacket(&trans, pk, 30);
		else
			demo_refuse(&trans, pk, why);
		//what still comes of the request is read away, so that the answer is not lost to a reset
		connection->linger = 1;
		return 0;
	}
	demo_print("server receives", demo_kind_name(pk->msg_type), pk);
	//the reader says whether the client keeps the connection for its next request
	keep = trans.keep_open && !connection->stopping;
	//the answer goes in the version of the request
	version = pk->soap_version;
	answer = demo_answer_kind(pk->msg_type);
	//the reader gave the packet its attachment and the storage of its arrays
	kvproj_free_proto_packet(pk);
	if(answer == 0){
		printf("no operation of the demo takes %s: answered with a fault\n", demo_kind_name(pk->msg_type));
		demo_refuse(&trans, pk, "no operation of the demo takes this message");
		return keep;
	}
	demo_sample_message(pk, answer, KVPROJ_DIRECTION_RESPONSE);
	pk->soap_version = version;
	if(!keep)
		kvproj_add_http_header(pk, "Connection", "close");
	demo_print("server sends", demo_kind_name(answer), pk);
	result = kvproj_proto_sendpacket(&trans, pk, 30);
	//the arrays of the sample values
	kvproj_free_proto_packet(pk);
	if(result != 0){
		printf("send %s error\n", demo_kind_name(answer));
		return 0;
	}
	return keep;
}

//the server thread: the support library's server on 127.0.0.1 at port (0: a free one), which waits
//for the connections on threads of its own and hands each request to demo_serve
int demo_listen(tessaro_server_t **server, tessaro_port_t port)
{
	tessaro_server_config_t config;
	tessaro_server_handler_t handler;

	memset(&config, 0, sizeof(config));
	config.address = "127.0.0.1";
	config.port = port;
	config.idle_seconds = DEMO_IDLE_SECONDS;
	config.stop_seconds = DEMO_SERVED_WAIT;
	handler.serve = demo_serve;
	handler.free_scratch = free;
	handler.context = NULL;
	return tessaro_server_start(server, &config, &handler);
}

//whether the answer read is the operation's response (for an operation without a response
//message: an HTTP status of 2xx); a line says what came instead
int demo_answered(const char *operation, kvproj_proto_packet_t *pk, unsigned int response)
{
	if(pk->msg_type == response && (response != KVPROJ_PROTO_HTTP || pk->msg.http_msg.err_code / 100 == 2))
		return 1;
	if(pk->msg_type == KVPROJ_PROTO_SOAP_FAULT)
		printf("%s: the answer is a SOAP fault: %s: %s\n", operation, pk->msg.soap_fault.faultcode, pk->msg.soap_fault.faultstring);
	else if(pk->msg_type == KVPROJ_PROTO_HTTP)
		printf("%s: the answer is the HTTP status %d %s\n", operation, pk->msg.http_msg.err_code, pk->msg.http_msg.err_code_string);
	else
		printf("%s: the answer is %s, not %s\n", operation, demo_kind_name(pk->msg_type), demo_kind_name(response));
	return 0;
}

//the client's part: calls one operation of the demo's own server in the SOAP version of its binding,
//with its request filled with sample values; 1 when its response came, else 0 with a line that says
//what went wrong
int demo_call(const char *operation, unsigned int request, unsigned int response, int version, tessaro_port_t port, kvproj_proto_packet_t *pk)
{
	kvproj_proto_trans_t trans;
	int answered = 0;
	int result;

	memset(&trans, 0, sizeof(trans));
	demo_sample_message(pk, request, KVPROJ_DIRECTION_REQUEST);
	pk->soap_version = version;
	printf("==================call %s====================\n", operation);
	demo_print("client sends", demo_kind_name(request), pk);
	if(kvproj_connect_server(&trans, "127.0.0.1", "/test/soap", port) != 0){
		kvproj_free_proto_packet(pk);
		printf("%s: connect server error\n", operation);
		return 0;
	}
	result = kvproj_proto_sendpacket(&trans, pk, 30);
	//the arrays of the sample values
	kvproj_free_proto_packet(pk);
	if(result != 0){
		printf("%s: send %s error\n", operation, demo_kind_name(request));
	}else if(kvproj_proto_readpacket(&trans, pk, 30) != 0){
		printf("%s: no answer could be read%s%s\n", operation, pk->decode_error[0] != '\0' ? ": " : "", pk->decode_error);
	}else{
		demo_print("client receives", demo_kind_name(pk->msg_type), pk);
		answered = demo_answered(operation, pk, response);
		kvproj_free_proto_packet(pk);
	}
	tessaro_socket_close(trans.socket);
	return answered;
}
