//one call per operation exchanges its request and answer on the client's connection, which stays
//open for the next call while the server keeps it open (HTTP/1.1 keep-alive)

//result, and why the call failed in the client's error detail unless a step of the call has said it
//already (the first cause is the one that counts). The detail names hosts and ports, never an
//address's path or query, a proxy setting or credentials
static int kvproj_call_failed(kvproj_client_t *client, int result, const char *format, ...)
{
	va_list	arguments;

	if(client->error_detail[0] != '\0')
		return result;
	va_start(arguments, format);
	vsnprintf(client->error_detail, sizeof(client->error_detail), format, arguments);
	va_end(arguments);
	return result;
}

//the start of every call: a NULL client (nothing to tell), or in or out missing (given 0)
static int kvproj_call_begin(kvproj_client_t *client, int given)
{
	if(client == NULL)
		return KVPROJ_ERR_ARGUMENT;
	client->error_detail[0] = '\0';
	return given ? 0 : kvproj_call_failed(client, KVPROJ_ERR_ARGUMENT, "the request (in) or the response's place (out) is NULL");
}

//whether the no_proxy list (names or addresses, separated by commas or blanks; "*" for every host)
//names the host or a domain it lies in
static int kvproj_no_proxy(const char *list, const char *host)
{
	size_t host_len = strlen(host), len;
	const char *entry = list;

	while(entry != NULL && *entry != '\0'){
		entry += strspn(entry, ", \t");
		len = strcspn(entry, ", \t");
		if(len == 1 && entry[0] == '*')
			return 1;
		//".example.com" and "example.com" both name the domain
		if(len > 1 && entry[0] == '.'){
			entry++;
			len--;
		}
		if(len > 0 && len <= host_len && strncasecmp(host + host_len - len, entry, len) == 0 &&
			(len == host_len || host[host_len - len - 1] == '.'))
			return 1;
		entry += len;
	}
	return 0;
}

//the first of the environment's variables that is set and not empty, or NULL
static const char *kvproj_environment(const char *first, const char *second, const char *third, const char *fourth)
{
	const char *names[4];
	const char *value;
	int i;

	names[0] = first;
	names[1] = second;
	names[2] = third;
	names[3] = fourth;
	for(i = 0; i < 4; i++){
		if(names[i] != NULL && (value = getenv(names[i])) != NULL && value[0] != '\0')
			return value;
	}
	return NULL;
}

//the proxy of a connection to the client's endpoint, as the client's setting or the environment
//says (curl's way: http_proxy for http, never HTTP_PROXY; https_proxy or HTTPS_PROXY for https;
//all_proxy and ALL_PROXY for both; no_proxy and NO_PROXY name the hosts reached directly):
//1 with *host and *port for a proxy, 0 for none, -1 when the environment's proxy is no
//http://[user[:password]@]host[:port] (a proxy without a scheme is taken as http). The
//environment's credentials become the client's (its challenge is forgotten when they change)
static int kvproj_proxy_of(kvproj_client_t *client, char *host, size_t size, tessaro_port_t *port)
{
	char address[512], bare[512];
	char path[256];
	char user[KVPROJ_MAX_PROXY_CREDENTIAL], password[KVPROJ_MAX_PROXY_CREDENTIAL];
	const char *proxy;
	const char *bypass;
	int tls = 0, result = 1;

	if(client->proxy_mode == KVPROJ_PROXY_NONE)
		return 0;
	if(client->proxy_mode == KVPROJ_PROXY_GIVEN){
		snprintf(host, size, "%s", client->proxy_host);
		*port = client->proxy_port;
		return 1;
	}
	bypass = kvproj_environment("no_proxy", "NO_PROXY", NULL, NULL);
	if(bypass != NULL && kvproj_no_proxy(bypass, client->host))
		return 0;
	proxy = client->tls ? kvproj_environment("https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY")
		: kvproj_environment("http_proxy", "all_proxy", "ALL_PROXY", NULL);
	if(proxy == NULL)
		return 0;
	snprintf(address, sizeof(address), "%s%s", strstr(proxy, "://") != NULL ? "" : "http://", proxy);
	if(kvproj_proxy_credentials(address, bare, sizeof(bare), user, password) != 0 ||
			kvproj_parse_address(bare, 1080, &tls, host, size, port, path, sizeof(path)) != 0 || tls || strcmp(path, "/") != 0)
		result = -1;
	else if(strcmp(user, client->proxy_user) != 0 || strcmp(password, client->proxy_password) != 0){
		memset(&client->proxy_digest, 0, sizeof(client->proxy_digest));
		client->proxy_scheme = 0;
		strcpy(client->proxy_user, user);
		strcpy(client->proxy_password, password);
	}
	memset(password, 0, sizeof(password));
	memset(address, 0, sizeof(address));
	memset(bare, 0, sizeof(bare));
	return result;
}

//a final 407: the proxy's status for the caller, and why the client could not answer it
static int kvproj_proxy_refused(kvproj_client_t *client, int answered, const char *proxy, tessaro_port_t port)
{
	client->http_status = 407;
	return kvproj_call_failed(client, KVPROJ_ERR_PROXY, "the proxy %.255s:%u answered HTTP 407 Proxy Authentication Required: %s", proxy, (unsigned)port,
		client->proxy_user[0] == '\0' ? "it asks for credentials, and its address gives none" :
		answered ? "it refused the credentials of its address" : "it asks for credentials in no way the client takes");
}

//a TLS result of the support library as the client's result
static int kvproj_tls_result(int result)
{
	switch(result){
	case TESSARO_TLS_UNTRUSTED:
		return KVPROJ_ERR_CERT_UNTRUSTED;
	case TESSARO_TLS_WRONG_HOST:
		return KVPROJ_ERR_CERT_HOST;
	case TESSARO_TLS_EXPIRED:
		return KVPROJ_ERR_CERT_EXPIRED;
	case TESSARO_TLS_CERTIFICATE:
		return KVPROJ_ERR_CERTIFICATE;
	case TESSARO_TLS_CA_FILE:
		return KVPROJ_ERR_CA_FILE;
	}
	return KVPROJ_ERR_TLS;
}

//why connecting to host:port (the proxy's when proxy is set) failed, as the client's result
static int kvproj_connect_failure(kvproj_client_t *client, int result, const char *host, tessaro_port_t port, int proxy)
{
	const char	*whose = proxy ? "the proxy " : "";
	int	code = proxy ? KVPROJ_ERR_PROXY : KVPROJ_ERR_CONNECT;

	if(result == TESSARO_HOST_NOT_FOUND)
		return kvproj_call_failed(client, proxy ? code : KVPROJ_ERR_HOST, "%sthe host name %.255s was not found", whose, host);
	if(result == TESSARO_TIMEOUT)
		return kvproj_call_failed(client, code, "connecting to %s%.255s:%u: no connection within the time-out (%d s)", whose, host, (unsigned)port, client->timeout);
	return kvproj_call_failed(client, code, "connecting to %s%.255s:%u: %s", whose, host, (unsigned)port, tessaro_system_error_text(tessaro_last_system_error()));
}

//the tunnel through the proxy to the endpoint, on the connection to the proxy: the proxy's
//challenges are answered, each on a new connection (the proxy may close the one it refused)
static int kvproj_tunnel(kvproj_client_t *client, const char *proxy, tessaro_port_t proxy_port)
{
	kvproj_proto_trans_t *trans = &client->connection;
	tessaro_proxy_answer_t answer;
	kvproj_digest_t challenge;
	char value[4 * KVPROJ_MAX_AUTHINFO_LEN], uri[300];
	const char *authorization;
	int attempt, result, scheme, stale;

	snprintf(uri, sizeof(uri), strchr(client->host, ':') != NULL ? "[%s]:%u" : "%s:%u", client->host, (unsigned)client->port);
	for(attempt = 0; ; attempt++){
		authorization = kvproj_proxy_authorization(client, "CONNECT", uri, value, sizeof(value));
		result = tessaro_proxy_tunnel_as(trans->socket, client->host, client->port, authorization, &answer, kvproj_trans_timeout(trans, -1));
		memset(value, 0, sizeof(value));
		if(result != TESSARO_PROXY_REFUSED || answer.status != 407)
			break;
		scheme = kvproj_list_challenge(answer.challenges, &challenge, &stale);
		if(attempt >= 2 || !kvproj_proxy_again(client, scheme, &challenge, stale))
			return kvproj_proxy_refused(client, authorization != NULL, proxy, proxy_port);
		tessaro_socket_close(trans->socket);
		client->connected = 0;
		if((result = tessaro_connect_host(&trans->socket, proxy, proxy_port, kvproj_trans_timeout(trans, -1))) != 0)
			return kvproj_connect_failure(client, result, proxy, proxy_port, 1);
		client->connected = 1;
	}
	if(result == TESSARO_PROXY_REFUSED && answer.status != 0){
		client->http_status = answer.status;
		return kvproj_call_failed(client, KVPROJ_ERR_PROXY, "the proxy %.255s:%u, asked for a tunnel to %.255s:%u, answered HTTP %d", proxy,
			(unsigned)proxy_port, client->host, (unsigned)client->port, answer.status);
	}
	if(result != 0)
		return kvproj_call_failed(client, KVPROJ_ERR_PROXY, "the proxy %.255s:%u, asked for a tunnel to %.255s:%u: %s", proxy, (unsigned)proxy_port,
			client->host, (unsigned)client->port, tessaro_result_text(result));
	return 0;
}

//opens the client's connection by the transport's deadline: to the proxy or the endpoint's host;
//for https through the proxy's tunnel and the TLS handshake; plain http through a proxy names the
//whole address in its request line
static int kvproj_client_open(kvproj_client_t *client)
{
	kvproj_proto_trans_t *trans = &client->connection;
	tessaro_tls_config_t config;
	char proxy[256];
	tessaro_port_t proxy_port = 0;
	tessaro_usec_t left;
	int proxied, result, length, bracketed;

	proxied = kvproj_proxy_of(client, proxy, sizeof(proxy), &proxy_port);
	if(proxied < 0)
		return kvproj_call_failed(client, KVPROJ_ERR_PROXY, "the proxy the environment names is no http://host[:port] address");
	//an IPv6 address stands in brackets in the Host line and the request line, as in the endpoint
	bracketed = strchr(client->host, ':') != NULL;
	if(proxied && !client->tls)
		length = snprintf(trans->url, sizeof(trans->url), "http://%s%s%s:%u%s", bracketed ? "[" : "", client->host, bracketed ? "]" : "",
			(unsigned)client->port, client->path);
	else
		length = snprintf(trans->url, sizeof(trans->url), "%s", client->path);
	if(length < 0 || (size_t)length >= sizeof(trans->url) ||
			snprintf(trans->dest_ip, sizeof(trans->dest_ip), bracketed ? "[%s]" : "%s", client->host) >= (int)sizeof(trans->dest_ip))
		return kvproj_call_failed(client, KVPROJ_ERR_ADDRESS, "the request line's address on %.255s:%u is too long", client->host, (unsigned)client->port);
	trans->dest_port = client->port;
	left = kvproj_trans_timeout(trans, -1);
	//plain http's first send waits for the connection (kvproj_unmade_connection tells its failure); TLS's
	//handshake and a tunnel need it made
	if(client->tls)
		result = tessaro_connect_host(&trans->socket, proxied ? proxy : client->host, proxied ? proxy_port : client->port, left);
	else
		result = tessaro_connect_host_unawaited(&trans->socket, proxied ? proxy : client->host, proxied ? proxy_port : client->port, left);
	if(result != 0)
		return kvproj_connect_failure(client, result, proxied ? proxy : client->host, proxied ? proxy_port : client->port, proxied);
	client->connected = 1;
	if(!client->tls)
		return 0;
	if(proxied && (result = kvproj_tunnel(client, proxy, proxy_port)) != 0)
		return result;
	config.ca_file = client->ca_file[0] != '\0' ? client->ca_file : NULL;
	config.skip_verify = client->tls_no_verify;
	result = tessaro_tls_connect(&trans->tls, trans->socket, client->host, &config, kvproj_trans_timeout(trans, -1));
	if(result == TESSARO_TIMEOUT)
		return kvproj_call_failed(client, KVPROJ_ERR_CONNECT, "TLS with %.255s:%u: the handshake did not end within the time-out (%d s)",
			client->host, (unsigned)client->port, client->timeout);
	if(result != 0)
		return kvproj_call_failed(client, kvproj_tls_result(result), "TLS with %.255s:%u: %s", client->host, (unsigned)client->port, tessaro_result_text(result));
	return 0;
}

//why the exchange's last attempt failed: sending (result KVPROJ_ERR_SEND), reading the answer
//(KVPROJ_ERR_RECEIVE) or decoding it (KVPROJ_ERR_DECODE), from what the transport and the packet
//reader kept
static int kvproj_exchange_failure(kvproj_client_t *client, const kvproj_proto_packet_t *pk, int result)
{
	kvproj_proto_trans_t *trans = &client->connection;
	const char *doing = result == KVPROJ_ERR_SEND ? "sending the request to" : "reading the answer from";
	unsigned long received = (unsigned long)trans->received;
	int failure = trans->failure;

	if(result == KVPROJ_ERR_DECODE)
		return kvproj_call_failed(client, result, "the answer from %.255s:%u does not decode: %s", client->host, (unsigned)client->port,
			pk->decode_error[0] != '\0' ? pk->decode_error : "it is no message of the service");
	if(result == KVPROJ_ERR_RECEIVE && pk->decode_error[0] != '\0')
		return kvproj_call_failed(client, result, "the answer from %.255s:%u was refused: %s", client->host, (unsigned)client->port, pk->decode_error);
	if(failure == TESSARO_TIMEOUT)
		return kvproj_call_failed(client, result, "%s %.255s:%u: the time-out (%d s) passed, %lu bytes of the answer had come", doing, client->host,
			(unsigned)client->port, client->timeout, received);
	if(failure == TESSARO_END_OF_STREAM)
		return kvproj_call_failed(client, result, "%s %.255s:%u: the server closed the connection, %lu bytes of the answer had come", doing, client->host,
			(unsigned)client->port, received);
	if(failure == TESSARO_ERROR)
		return kvproj_call_failed(client, result, "%s %.255s:%u: %s", doing, client->host, (unsigned)client->port,
			tessaro_system_error_text(tessaro_last_system_error()));
	if(failure != 0)
		return kvproj_call_failed(client, result, "%s %.255s:%u: %s", doing, client->host, (unsigned)client->port, tessaro_result_text(failure));
	return kvproj_call_failed(client, result, "%s %.255s:%u failed", doing, client->host, (unsigned)client->port);
}

//whether a packet's addressing headers hold anything
static int kvproj_wsa_set(const kvproj_wsa_t *wsa)
{
	return wsa->version != 0 || wsa->action[0] != '\0' || wsa->message_id[0] != '\0' || wsa->to[0] != '\0' ||
		wsa->reply_to[0] != '\0' || wsa->fault_to[0] != '\0' || wsa->relates_to[0] != '\0';
}

//a call's request begins as the client's headers packet, or empty. Its addressing headers, most of the
//packet, are copied only when the headers packet sets any; else each of their texts is only ended at
//its start, since the request is the call's own and nothing reads past the end of a text
static void kvproj_request_begin(const kvproj_client_t *client, kvproj_proto_packet_t *request)
{
	const kvproj_proto_packet_t *headers = client->headers;
	kvproj_wsa_t *wsa = &request->wsa;
	size_t at = (size_t)((char *)wsa - (char *)request), behind = at + sizeof(*wsa);

	if(headers != NULL && kvproj_wsa_set(&headers->wsa)){
		memcpy(request, headers, sizeof(*request));
		return;
	}
	if(headers != NULL){
		memcpy(request, headers, at);
		memcpy((char *)request + behind, (const char *)headers + behind, sizeof(*request) - behind);
	}else{
		memset(request, 0, at);
		memset((char *)request + behind, 0, sizeof(*request) - behind);
	}
	wsa->version = 0;
	wsa->action[0] = wsa->message_id[0] = wsa->to[0] = wsa->reply_to[0] = wsa->fault_to[0] = wsa->relates_to[0] = '\0';
}

//what of the call's request a send sets for itself alone, kept while the request is lent to it
typedef struct kvproj_request_own_t{
	const char	*authorization;
	char	*attachment;
	int	attachment_length;
}kvproj_request_own_t;

//lends the call's request (the call's own copy of the caller's) to a send: with the WS-Security
//settings wsse, the client's MTOM unless its own, as a request (the same for every send of the call),
//and for this send alone the Authorization value given unless NULL and a copy of its attachment, which
//the sender releases once sent, their own kept in own. 0, or the failure with its detail (the request
//as it was)
static int kvproj_request_lend(kvproj_client_t *client, kvproj_proto_packet_t *request, kvproj_request_own_t *own, const tessaro_wsse_t *wsse, const char *authorization)
{
	own->authorization = request->authorization;
	own->attachment = request->attachment;
	own->attachment_length = request->attachment_length;
	request->attachment = NULL;
	request->attachment_length = 0;
	if(own->attachment != NULL && own->attachment_length > 0 &&
			kvproj_set_attachment(request, own->attachment, (unsigned int)own->attachment_length) != 0){
		request->attachment = own->attachment;
		request->attachment_length = own->attachment_length;
		return kvproj_call_failed(client, KVPROJ_ERR_MEMORY, "no memory for a copy of the attachment");
	}
	if(authorization != NULL)
		request->authorization = authorization;
	request->wsse = wsse;
	if(request->mtom == 0)
		request->mtom = client->mtom;
	//a kind that is also some operation's response goes out as a request
	request->msg_direction = KVPROJ_DIRECTION_REQUEST;
	return 0;
}

//gives the request lent to a send its own Authorization and attachment back, the copy released
static void kvproj_request_give_back(kvproj_proto_packet_t *request, const kvproj_request_own_t *own)
{
	free(request->attachment);
	request->authorization = own->authorization;
	request->attachment = own->attachment;
	request->attachment_length = own->attachment_length;
}

//sends the call's request, lent as kvproj_request_lend lends it and given its own back, on the
//client's open connection, answering a proxy's challenge through a proxy (*answered_proxy: whether it
//did). 0, KVPROJ_ERR_SEND, or the encoders' refusal or the attachment's copy's with its detail
static int kvproj_send_request(kvproj_client_t *client, kvproj_proto_packet_t *request, const tessaro_wsse_t *wsse, const char *authorization, int *answered_proxy)
{
	kvproj_proto_trans_t *trans = &client->connection;
	kvproj_request_own_t own;
	char proxy_value[4 * KVPROJ_MAX_AUTHINFO_LEN];
	int result;

	*answered_proxy = 0;
	if((result = kvproj_request_lend(client, request, &own, wsse, authorization)) != 0)
		return result;
	//through a proxy (the request line names the whole address) its challenge is answered
	if(trans->url[0] != '/')
		trans->proxy_authorization = kvproj_proxy_authorization(client, "POST", trans->url, proxy_value, sizeof(proxy_value));
	*answered_proxy = trans->proxy_authorization != NULL;
	result = kvproj_proto_sendpacket(trans, request, client->timeout) != 0 ? KVPROJ_ERR_SEND : 0;
	trans->proxy_authorization = NULL;
	memset(proxy_value, 0, sizeof(proxy_value));
	//a request its encoders refused goes nowhere: that is the last word (what they said is in the request)
	if(result != 0 && trans->failure == 0)
		kvproj_call_failed(client, result, "the request could not be encoded%s%s", request->decode_error[0] != '\0' ? ": " : "", request->decode_error);
	kvproj_request_give_back(request, &own);
	return result;
}

//result of a request's send on a plain connection just opened, whose making that send waited for:
//a send that failed where no connection was ever made failed to connect, and is told so
static int kvproj_unmade_connection(kvproj_client_t *client, int result)
{
	kvproj_proto_trans_t *trans = &client->connection;
	char proxy[256];
	tessaro_port_t proxy_port = 0;

	if(result != KVPROJ_ERR_SEND || trans->failure == 0 || client->tls || tessaro_socket_connected(trans->socket))
		return result;
	//through a proxy the request line names the whole address
	if(trans->url[0] != '/' && kvproj_proxy_of(client, proxy, sizeof(proxy), &proxy_port) == 1)
		return kvproj_connect_failure(client, trans->failure, proxy, proxy_port, 1);
	return kvproj_connect_failure(client, trans->failure, client->host, client->port, 0);
}

//reads the answer to the request sent into pk (which the reader empties first), checked against the
//WS-Security settings the request went with: 0, or KVPROJ_ERR_SECURITY, KVPROJ_ERR_DECODE or
//KVPROJ_ERR_RECEIVE
static int kvproj_read_answer(kvproj_client_t *client, kvproj_proto_packet_t *pk, const tessaro_wsse_t *wsse)
{
	kvproj_proto_trans_t *trans = &client->connection;

	trans->wsse = wsse;
	if(kvproj_proto_readpacket(trans, pk, client->timeout) == 0)
		return 0;
	return trans->wsse_result != 0 ? KVPROJ_ERR_SECURITY : pk->decode_fault != NULL ? KVPROJ_ERR_DECODE : KVPROJ_ERR_RECEIVE;
}

//sends the caller's request (as kvproj_send_request lends it) on the client's connection (opened
//when none is kept) and reads the answer into pk, all within the client's time-out. A kept connection
//that the server has closed meanwhile is opened again; one that breaks before the answer's first byte
//is opened again once and the request sent again. The connection stays open when the answer says the
//server keeps it so
static int kvproj_exchange(kvproj_client_t *client, kvproj_proto_packet_t *request, kvproj_proto_packet_t *pk, const char *authorization)
{
	kvproj_proto_trans_t *trans = &client->connection;
	//a negative time-out waits without end
	tessaro_usec_t deadline = client->timeout < 0 ? 0 : tessaro_clock_usec() + (tessaro_usec_t)client->timeout*TESSARO_USEC_PER_SEC;
	//the answer is checked against the settings the request goes with
	const tessaro_wsse_t *wsse = kvproj_wsse_of(client, request);
	char proxy[256];
	tessaro_port_t proxy_port = 0;
	int result = 0, reused, again, answered_proxy = 0;

	if(client->connected && !tessaro_socket_idle_open(trans->socket))
		kvproj_client_close(client);
	reused = client->connected;
	trans->deadline = deadline;
	trans->failure = 0;
	//the answer's bytes: none yet tells a kept connection that broke before its answer began
	trans->received = 0;
	if(!reused)
		result = kvproj_client_open(client);
	if(result == 0 && (result = kvproj_send_request(client, request, wsse, authorization, &answered_proxy)) != 0 && !reused)
		result = kvproj_unmade_connection(client, result);
	//only a kept connection that took the request (or broke on it) may need it again
	again = reused && (result == 0 || trans->failure != 0);
	//the reader empties the packet before it reads into it
	if(result == 0)
		result = kvproj_read_answer(client, pk, wsse);
	else
		memset(pk, 0, sizeof(*pk));
	if(result != 0 && again && trans->received == 0){
		kvproj_free_proto_packet(pk);
		memset(pk, 0, sizeof(*pk));
		kvproj_client_close(client);
		trans->deadline = deadline;
		trans->failure = 0;
		trans->wsse = wsse;
		result = kvproj_client_open(client);
		if(result == 0)
			result = kvproj_unmade_connection(client, kvproj_send_request(client, request, wsse, authorization, &answered_proxy));
		if(result == 0)
			result = kvproj_read_answer(client, pk, wsse);
	}
	if(result == KVPROJ_ERR_SECURITY)
		kvproj_call_failed(client, result, "the answer from %.255s:%u failed its security check: %s", client->host, (unsigned)client->port, pk->decode_error);
	if(result == KVPROJ_ERR_SEND || result == KVPROJ_ERR_RECEIVE || result == KVPROJ_ERR_DECODE)
		kvproj_exchange_failure(client, pk, result);
	//through a proxy (the request line names the whole address), 407 is the proxy's own refusal:
	//kvproj_call_request answers its challenge, when it can, by sending the request again
	if(result == 0 && trans->url[0] != '/' && pk->msg_type == KVPROJ_PROTO_HTTP && pk->msg.http_msg.err_code == 407){
		kvproj_proxy_of(client, proxy, sizeof(proxy), &proxy_port);
		result = kvproj_proxy_refused(client, answered_proxy, proxy, proxy_port);
	}
	if(result != 0 || !trans->keep_open)
		kvproj_client_close(client);
	else
		trans->deadline = 0;
	return result;
}

//sends the call's request, lent to each send (kvproj_request_lend), with the Authorization value given
//unless NULL, to the client's endpoint and reads the answer into pk
static int kvproj_call_once(kvproj_client_t *client, kvproj_proto_packet_t *request, kvproj_proto_packet_t *pk, const char *authorization)
{
	int	result;

	client->http_status = 0;
	result = kvproj_exchange(client, request, pk, authorization);
	//every failure leaves a detail, at least the result's words
	return result != 0 ? kvproj_call_failed(client, result, "%s", kvproj_strerror(result)) : 0;
}

//the reason phrase of an HTTP answer without the line's end the reader kept
static int kvproj_reason_length(const kvproj_proto_packet_t *pk)
{
	return (int)strcspn(pk->msg.http_msg.err_code_string, "\r\n");
}

//a client set to no endpoint calls each operation at its own port's address: it moves there when
//the port differs from the one called last (what the address parses to is taken over)
static int kvproj_call_port(kvproj_client_t *client, const char *endpoint)
{
	char host[sizeof(client->host)], path[sizeof(client->path)];
	tessaro_port_t port;
	int tls;

	if(client->port_endpoint == NULL || strcmp(client->port_endpoint, endpoint) == 0)
		return 0;
	if(kvproj_parse_address(endpoint, 0, &tls, host, sizeof(host), &port, path, sizeof(path)) != 0)
		return kvproj_call_failed(client, KVPROJ_ERR_ADDRESS, "the port's address is no http[s]://host[:port][/path] address");
	//the connection kept is the other port's
	if(tls != client->tls || port != client->port || strcmp(host, client->host) != 0)
		kvproj_client_close(client);
	client->tls = tls;
	strcpy(client->host, host);
	strcpy(client->path, path);
	client->port = port;
	client->port_endpoint = endpoint;
	return 0;
}

//the same, sent again with the proxy's credentials while a plain http proxy's 407 asks for them
//(https's tunnel answers its proxy when it opens)
static int kvproj_call_request(kvproj_client_t *client, kvproj_proto_packet_t *request, kvproj_proto_packet_t *pk, const char *authorization)
{
	kvproj_digest_t challenge;
	int attempt, result, scheme, stale;

	for(attempt = 0; ; attempt++){
		result = kvproj_call_once(client, request, pk, authorization);
		if(result != KVPROJ_ERR_PROXY || pk->msg_type != KVPROJ_PROTO_HTTP || pk->msg.http_msg.err_code != 407 || attempt >= 2)
			return result;
		scheme = kvproj_head_challenge(pk->msg.http_msg.buffer, kvproj_head_end(pk), "Proxy-Authenticate:", &challenge, &stale);
		if(!kvproj_proxy_again(client, scheme, &challenge, stale))
			return result;
		kvproj_free_proto_packet(pk);
		client->error_detail[0] = '\0';
	}
}

//an answer that is not the operation's response: a fault, an HTTP error or another message
static int kvproj_call_answer(kvproj_client_t *client, kvproj_proto_packet_t *pk, kvproj_soap_fault_msg_t *fault)
{
	int	result;

	if(pk->msg_type == KVPROJ_PROTO_SOAP_FAULT){
		result = kvproj_call_failed(client, KVPROJ_FAULT, "SOAP fault %.100s: %.300s", pk->msg.soap_fault.faultcode, pk->msg.soap_fault.faultstring);
		//the fault, with what its detail was decoded into, goes to the caller: the packet's free leaves it
		if(fault != NULL){
			memcpy(fault, &pk->msg.soap_fault, sizeof(*fault));
			memset(&pk->msg.soap_fault, 0, sizeof(pk->msg.soap_fault));
		}
		return result;
	}
	if(pk->msg_type == KVPROJ_PROTO_HTTP){
		client->http_status = pk->msg.http_msg.err_code;
		return kvproj_call_failed(client, KVPROJ_ERR_HTTP, "HTTP %d %.*s%s%.240s%s", pk->msg.http_msg.err_code, kvproj_reason_length(pk),
			pk->msg.http_msg.err_code_string, pk->decode_error[0] != '\0' ? " (the body is no SOAP fault: " : ", no SOAP fault",
			pk->decode_error, pk->decode_error[0] != '\0' ? ")" : "");
	}
	return kvproj_call_failed(client, KVPROJ_ERR_UNEXPECTED, "the answer is another message (msg_type 0x%x) than the operation's response", pk->msg_type);
}
