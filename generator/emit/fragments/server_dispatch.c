//the server: each request the support library's server hands over is read into the worker's request
//packet, passed to its operation's function and answered from the worker's answer packet; a request
//that cannot be read or taken is answered all the same, with the status or the fault that says why

#define KVPROJ_SERVER_NO_OPERATION	(-1000)
#define KVPROJ_SERVER_NO_FUNCTION	(-1001)

//hands the request to its operation's function (generated after this fragment, for the service's operations):
//the function's result, or why there is none
static int kvproj_server_call(const kvproj_service_t *service, kvproj_served_t *served, kvproj_proto_packet_t *request, kvproj_proto_packet_t *answer, kvproj_soap_fault_msg_t *fault);
//WS-Addressing (after the service's own functions): 1 when the answer holds the fault that refuses the
//request's addressing, else 0; and the answer's addressing headers
static int kvproj_wsa_refusal(const kvproj_service_t *service, const kvproj_proto_packet_t *request, kvproj_proto_packet_t *answer);
static void kvproj_wsa_reply(const kvproj_service_t *service, const kvproj_proto_packet_t *request, kvproj_proto_packet_t *answer);

//the packet reader's reading of a request (generated with it): a first line that is no request line is refused;
//and its framing check, which tells the server when a request has come whole
static int http_read_request(kvproj_proto_trans_t *trans, kvproj_proto_packet_t *pk, int timeout);
static int http_frame_request(const char *bytes, tessaro_size_t have, tessaro_size_t max_request_bytes, tessaro_server_frame_t *state);

//what a worker keeps between requests: a packet each way and the fault a function may fill; between
//requests the answer and the fault are empty, cleared once an answer went rather than before the
//next request's call, so that the clearing does not hold its answer back
typedef struct kvproj_server_scratch_t{
	kvproj_proto_packet_t	request;
	kvproj_proto_packet_t	answer;
	kvproj_soap_fault_msg_t	fault;
}kvproj_server_scratch_t;

static void kvproj_server_free_scratch(void *scratch)
{
	kvproj_server_scratch_t	*kept = (kvproj_server_scratch_t *)scratch;

	kvproj_free_proto_packet(&kept->request);
	kvproj_free_proto_packet(&kept->answer);
	free(kept);
}

//the seconds left of the request's time
static int kvproj_server_seconds(const tessaro_server_connection_t *connection)
{
	tessaro_usec_t	left = connection->deadline - tessaro_clock_usec();

	return left <= 0 ? 1 : (int)((left + TESSARO_USEC_PER_SEC - 1) / TESSARO_USEC_PER_SEC);
}

//empties the answer for a fault in the request's version
static kvproj_soap_fault_msg_t *kvproj_server_fault_answer(kvproj_proto_packet_t *answer)
{
	int	version = answer->soap_version;

	kvproj_free_proto_packet(answer);
	memset(answer, 0, sizeof(*answer));
	answer->soap_version = version;
	answer->msg_type = KVPROJ_PROTO_SOAP_FAULT;
	answer->msg_direction = KVPROJ_DIRECTION_RESPONSE;
	return &answer->msg.soap_fault;
}

//sets the answer to a fault of code (its version's name for it is chosen on sending) saying why
static void kvproj_server_fault(kvproj_proto_packet_t *answer, const char *code, const char *why)
{
	kvproj_soap_fault_msg_t	*fault = kvproj_server_fault_answer(answer);

	snprintf(fault->faultcode, sizeof(fault->faultcode), "%s", code);
	snprintf(fault->faultstring, sizeof(fault->faultstring), "%s", why);
}

//the fault a function filled goes out in place of its response, whose storage is freed first; a
//fault without a code is the server's
static void kvproj_server_take_fault(kvproj_proto_packet_t *answer, kvproj_soap_fault_msg_t *fault)
{
	kvproj_soap_fault_msg_t	*sent = kvproj_server_fault_answer(answer);

	*sent = *fault;
	memset(fault, 0, sizeof(*fault));
	if(sent->faultcode[0] == '\0')
		snprintf(sent->faultcode, sizeof(sent->faultcode), "SOAP-ENV:Server");
}

//the answer to a request that was read: its operation's, or a fault that says why there is none
static void kvproj_server_answer(const kvproj_service_t *service, kvproj_server_scratch_t *kept, kvproj_served_t *served)
{
	kvproj_proto_packet_t	*answer = &kept->answer;
	char	why[160];
	int	result;

	answer->soap_version = kept->request.soap_version;
	answer->msg_direction = KVPROJ_DIRECTION_RESPONSE;
	if(service->headers != NULL && service->headers(served, &kept->fault) != 0){
		kvproj_server_take_fault(answer, &kept->fault);
		return;
	}
	if(kvproj_wsa_refusal(service, &kept->request, answer) != 0)
		return;
	result = kvproj_server_call(service, served, &kept->request, answer, &kept->fault);
	//a function may have filled the packet anew: it goes back the request's way and version
	answer->soap_version = kept->request.soap_version;
	answer->msg_direction = KVPROJ_DIRECTION_RESPONSE;
	if(result == KVPROJ_SERVER_NO_OPERATION){
		kvproj_server_fault(answer, "SOAP-ENV:Client", "no operation of the service takes this message");
	}else if(result == KVPROJ_SERVER_NO_FUNCTION){
		kvproj_server_fault(answer, "SOAP-ENV:Server", "the service does not serve this operation");
	}else if(result == KVPROJ_FAULT){
		kvproj_server_take_fault(answer, &kept->fault);
	}else if(result != 0){
		snprintf(why, sizeof(why), "the operation failed (%d)", result);
		kvproj_server_fault(answer, "SOAP-ENV:Server", why);
	}else if(answer->mtom == 0){
		answer->mtom = service->mtom;
	}
}

//whether text begins with the lower-case word, in any case
static int kvproj_server_begins(const char *text, const char *word)
{
	for(; *word != '\0'; text++, word++)
		if(*text != *word && !(*text >= 'A' && *text <= 'Z' && *text - 'A' + 'a' == *word))
			return 0;
	return 1;
}

//the SOAP version of a request whose envelope could not be read, by its media type: a broken
//SOAP 1.2 message is refused in SOAP 1.2's terms
static int kvproj_server_request_version(const kvproj_proto_packet_t *request)
{
	int	i;

	for(i = 0; i < request->http_headers_count && i < KVPROJ_MAX_HTTP_HEADER_NUM; i++)
		if(kvproj_server_begins(request->http_headers[i].name, "content-type") && request->http_headers[i].name[12] == '\0')
			return kvproj_server_begins(request->http_headers[i].value, "application/soap+xml") ? KVPROJ_SOAP_1_2 : KVPROJ_SOAP_1_1;
	return request->soap_version;
}

//the fault of a request that failed its WS-Security check (security, a TESSARO_WSSE_ result): in SOAP
//1.1 the faultcode is the WS-Security code itself, in SOAP 1.2 a Sender fault with it as the subcode
static void kvproj_server_security_fault(kvproj_proto_packet_t *answer, int security, const char *why)
{
	const char	*ns;
	const char	*code = tessaro_wsse_fault_code(security, &ns);
	int	soap12 = answer->soap_version == KVPROJ_SOAP_1_2;

	kvproj_server_fault(answer, soap12 ? "SOAP-ENV:Sender" : code, "");
	snprintf(answer->msg.soap_fault.faultstring, sizeof(answer->msg.soap_fault.faultstring), "the request failed its security check: %s", why);
	snprintf(answer->msg.soap_fault.subcode, sizeof(answer->msg.soap_fault.subcode), "%s", soap12 ? code : "");
	snprintf(answer->msg.soap_fault.subcode_ns, sizeof(answer->msg.soap_fault.subcode_ns), "%s", ns);
}

//the answer to a request that could not be read: the HTTP status the reader chose for its form, else
//the fault it named for its SOAP message (a Client fault unless a header must be understood, or its
//security check failed: security is its TESSARO_WSSE_ result)
static void kvproj_server_refusal(kvproj_server_scratch_t *kept, int security)
{
	kvproj_proto_packet_t	*request = &kept->request, *answer = &kept->answer;
	char	why[KVPROJ_MAX_DECODE_ERROR_LEN+64];

	memset(answer, 0, sizeof(*answer));
	if(request->msg_type == KVPROJ_PROTO_HTTP){
		*answer = *request;
		memset(request, 0, sizeof(*request));
		return;
	}
	answer->soap_version = request->soap_version != 0 ? request->soap_version : kvproj_server_request_version(request);
	snprintf(why, sizeof(why), "the request could not be read%s%s", request->decode_error[0] != '\0' ? ": " : "", request->decode_error);
	if(security != 0){
		kvproj_server_security_fault(answer, security, request->decode_error);
	}else if(request->not_understood[0] != '\0'){
		//the entry named whole, and in SOAP 1.2 in a NotUnderstood block too
		kvproj_server_fault(answer, "SOAP-ENV:MustUnderstand", "");
		snprintf(answer->msg.soap_fault.faultstring, sizeof(answer->msg.soap_fault.faultstring), "header %.*s must be understood, and is not",
			(int)sizeof(answer->msg.soap_fault.faultstring) - 40, request->not_understood);
		memcpy(answer->not_understood, request->not_understood, sizeof(answer->not_understood));
	}else{
		kvproj_server_fault(answer, request->decode_fault != NULL ? request->decode_fault : "SOAP-ENV:Client", why);
	}
	kvproj_add_http_header(answer, "Connection", "close");
}

//serves one request of a connection: 1 when the connection stays for the next one
static int kvproj_server_serve(void *context, tessaro_server_connection_t *connection)
{
	const kvproj_service_t	*service = (const kvproj_service_t *)context;
	kvproj_server_scratch_t	*kept = (kvproj_server_scratch_t *)*connection->scratch;
	kvproj_proto_trans_t	trans;
	kvproj_served_t	served;
	int	keep;
	int	taken;

	if(kept == NULL){
		//on the heap, once a worker: a service's messages may not fit a thread's stack
		if((kept = (kvproj_server_scratch_t *)calloc(1, sizeof(*kept))) == NULL){
			tessaro_server_send_status(connection->socket, 503, "Service Unavailable", "no memory is left for a request\n", TESSARO_USEC_PER_SEC);
			return 0;
		}
		*connection->scratch = kept;
	}
	memset(&trans, 0, sizeof(trans));
	trans.wsse = service->wsse;
	trans.understood = service->understood;
	trans.socket = connection->socket;
	trans.tls = connection->tls;
	trans.deadline = connection->deadline;
	trans.max_read = connection->max_request_bytes;
	//the request has come whole: it is read from what the server read, and what follows it stays there
	trans.carry = connection->carry;
	trans.carry_length = connection->carry_length;
	trans.owned = connection->owned;
	trans.owned_room = connection->owned_room;
	trans.framed = connection->frame;
	//a request line must come first: anything else is answered 400
	taken = http_read_request(&trans, &kept->request, kvproj_server_seconds(connection));
	connection->carry = trans.carry;
	connection->carry_length = trans.carry_length;
	connection->owned = trans.owned;
	//a connection that closes before a request, or after its last, wants no answer
	if(taken != 0 && trans.received == 0)
		return 0;
	if(taken != 0){
		kvproj_server_refusal(kept, trans.wsse_result);
		//what the client still sends of a refused request is read away, so that the answer is not lost to a reset
		connection->linger = 1;
		keep = 0;
	}else{
		memset(&served, 0, sizeof(served));
		served.context = service->context;
		served.request = &kept->request;
		served.answer = &kept->answer;
		kvproj_server_answer(service, kept, &served);
		kvproj_wsa_reply(service, &kept->request, &kept->answer);
		keep = trans.keep_open && !connection->stopping;
	}
	if(!keep && taken == 0)
		kvproj_add_http_header(&kept->answer, "Connection", "close");
	//a SOAP answer goes with the service's WS-Security (its Timestamp and signature, when they ask for them)
	kept->answer.wsse = kept->answer.msg_type != KVPROJ_PROTO_HTTP ? service->wsse : NULL;
	if(kvproj_proto_sendpacket(&trans, &kept->answer, kvproj_server_seconds(connection)) != 0)
		keep = 0;
	//what a request that was read and its answer hold goes once the answer is out (a request that
	//could not be read holds nothing: its reader freed it)
	if(taken == 0)
		kvproj_free_proto_packet(&kept->request);
	kvproj_free_proto_packet(&kept->answer);
	memset(&kept->answer, 0, sizeof(kept->answer));
	memset(&kept->fault, 0, sizeof(kept->fault));
	return keep;
}

_declspec(dllexport) int WINAPI kvproj_server_start(tessaro_server_t **server, const tessaro_server_config_t *config, const kvproj_service_t *service)
{
	tessaro_server_handler_t	handler;

	//libxml2 sets itself up once, here, before the workers parse side by side: set up lazily by
	//several threads at once, it loses some of its state
	xmlInitParser();
	handler.serve = kvproj_server_serve;
	handler.free_scratch = kvproj_server_free_scratch;
	handler.context = (void *)service;
	return tessaro_server_start_reading(server, config, &handler, http_frame_request);
}
