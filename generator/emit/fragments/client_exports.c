//an address of the form http[s]://host[:port][/path], an IPv6 host in brackets (kept without them):
//*tls tells https, the port is 80 or 443 unless given (default_port instead when not 0); no byte in
//it is a control character or a blank, so that nothing of it can become a header line of its own. Anything else is refused, the result telling
//why: -1 another scheme, -2 a blank or control character, -3 no host (or credentials, or a host
//longer than host_size), -4 a wrong port, -5 a path longer than path_size
static int kvproj_parse_address(const char *address, unsigned long default_port, int *tls, char *host, size_t host_size, tessaro_port_t *port, char *path, size_t path_size)
{
	const char *name;
	const char *end;
	const char *port_end;
	const char *c;
	unsigned long number;

	for(c = address; *c != '\0'; c++){
		if((unsigned char)*c <= ' ' || *c == 0x7f)
			return -2;
	}
	if(strncmp(address, "http://", 7) == 0)
		*tls = 0;
	else if(strncmp(address, "https://", 8) == 0)
		*tls = 1;
	else
		return -1;
	name = address + (*tls ? 8 : 7);
	number = default_port != 0 ? default_port : *tls ? 443 : 80;
	if(*name == '['){
		//an IPv6 address, in brackets so that its colons are not the port's
		name++;
		end = name + strspn(name, "0123456789abcdefABCDEF:.");
		if(*end != ']' || memchr(name, ':', (size_t)(end - name)) == NULL || (end[1] != '\0' && strchr(":/?#", end[1]) == NULL))
			return -3;
		port_end = end + 1;
	}else
		port_end = end = name + strcspn(name, ":/?#@");
	if(end == name || memchr(name, '@', strcspn(name, "/?#")) != NULL || (size_t)(end - name) >= host_size)
		return -3;
	if(*port_end == ':'){
		char *digits_end = NULL;
		if(port_end[1] < '0' || port_end[1] > '9')
			return -4;
		number = strtoul(port_end + 1, &digits_end, 10);
		if(number == 0 || number > 65535 || (*digits_end != '\0' && *digits_end != '/' && *digits_end != '?'))
			return -4;
		port_end = digits_end;
	}
	if(strlen(*port_end != '\0' ? port_end : "/") >= path_size)
		return -5;
	memcpy(host, name, (size_t)(end - name));
	host[end - name] = '\0';
	strcpy(path, *port_end != '\0' ? port_end : "/");
	*port = (tessaro_port_t)number;
	return 0;
}

//a hex digit's value, or -1
static int kvproj_hex_digit(int c)
{
	if(c >= '0' && c <= '9')
		return c - '0';
	if(c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

//text[0..length) percent-decoded into out (size bytes); -1 when it does not fit, a % has no two hex
//digits after it, or a control character comes out (it could break the header line it goes in)
static int kvproj_percent_decode(const char *text, size_t length, char *out, size_t size)
{
	size_t	i, n = 0;
	int	c;

	for(i = 0; i < length; i++){
		c = (unsigned char)text[i];
		if(c == '%'){
			if(i + 2 >= length || kvproj_hex_digit(text[i + 1]) < 0 || kvproj_hex_digit(text[i + 2]) < 0)
				return -1;
			c = kvproj_hex_digit(text[i + 1]) * 16 + kvproj_hex_digit(text[i + 2]);
			i += 2;
		}
		if(c < ' ' || c == 0x7f || n + 1 >= size)
			return -1;
		out[n++] = (char)c;
	}
	out[n] = '\0';
	return 0;
}

//a proxy address without its credentials into bare (size bytes), the user and password decoded
//into theirs (KVPROJ_MAX_PROXY_CREDENTIAL bytes each, "" when it gives none); -1 when they do not
//decode or fit
static int kvproj_proxy_credentials(const char *address, char *bare, size_t size, char *user, char *password)
{
	const char	*authority = strstr(address, "://");
	const char	*at = NULL;
	const char	*colon;
	size_t	length, i;

	user[0] = '\0';
	password[0] = '\0';
	authority = authority != NULL ? authority + 3 : address;
	length = strcspn(authority, "/?#");
	for(i = 0; i < length; i++){
		if(authority[i] == '@')
			at = authority + i;
	}
	if(at == NULL)
		return snprintf(bare, size, "%s", address) < (int)size ? 0 : -1;
	colon = (const char *)memchr(authority, ':', (size_t)(at - authority));
	if(kvproj_percent_decode(authority, (size_t)((colon != NULL ? colon : at) - authority), user, KVPROJ_MAX_PROXY_CREDENTIAL) != 0 ||
			(colon != NULL && kvproj_percent_decode(colon + 1, (size_t)(at - colon - 1), password, KVPROJ_MAX_PROXY_CREDENTIAL) != 0)){
		memset(password, 0, KVPROJ_MAX_PROXY_CREDENTIAL);
		return -1;
	}
	return snprintf(bare, size, "%.*s%s", (int)(authority - address), address, at + 1) < (int)size ? 0 : -1;
}

//the proxy's address, credentials and challenge, forgotten
static void kvproj_forget_proxy(kvproj_client_t *client)
{
	client->proxy_host[0] = '\0';
	memset(client->proxy_user, 0, sizeof(client->proxy_user));
	memset(client->proxy_password, 0, sizeof(client->proxy_password));
	memset(&client->proxy_digest, 0, sizeof(client->proxy_digest));
	client->proxy_scheme = 0;
}

//the client of the operations' calls holds the service's address; the error detail says why one
//is refused (never the address itself: it may hold what is not for a log)
_declspec(dllexport) int WINAPI kvproj_client_init(kvproj_client_t *client, const char *endpoint)
{
	//by the address's refusal; host and path hold 255 bytes
	static const char *const faults[] = {"is no http:// or https:// address", "holds a blank or a control character",
		"names no host, or credentials before it, or a host name of more than 255 bytes",
		"has a port that is no number from 1 to 65535", "has a path of more than 255 bytes"};
	int fault;

	if(client == NULL)
		return KVPROJ_ERR_ARGUMENT;
	memset(client, 0, sizeof(*client));
	client->timeout = 30;
	//no address of the caller's: each operation is called at its own port's
	client->port_endpoint = endpoint == NULL ? KVPROJ_DEFAULT_ENDPOINT : NULL;
	if(endpoint == NULL)
		endpoint = KVPROJ_DEFAULT_ENDPOINT;
	if((fault = kvproj_parse_address(endpoint, 0, &client->tls, client->host, sizeof(client->host), &client->port, client->path, sizeof(client->path))) != 0){
		client->host[0] = '\0';
		client->path[0] = '\0';
		snprintf(client->error_detail, sizeof(client->error_detail), "the endpoint %s", faults[-fault - 1]);
		return KVPROJ_ERR_ADDRESS;
	}
	return 0;
}

//the connection kept open between calls, closed
_declspec(dllexport) void WINAPI kvproj_client_close(kvproj_client_t *client)
{
	if(client == NULL)
		return;
	if(client->connected){
		tessaro_tls_close(client->connection.tls);
		tessaro_socket_close(client->connection.socket);
	}
	free(client->connection.sent);
	memset(&client->connection, 0, sizeof(client->connection));
	client->connected = 0;
}

//https: the authorities of a PEM file instead of the system's (ca_file NULL: the system's); only
//verify 0 accepts any certificate
_declspec(dllexport) int WINAPI kvproj_client_set_tls(kvproj_client_t *client, const char *ca_file, int verify)
{
	if(client == NULL)
		return KVPROJ_ERR_ARGUMENT;
	if(ca_file != NULL && strlen(ca_file) >= sizeof(client->ca_file))
		return KVPROJ_ERR_CA_FILE;
	kvproj_client_close(client);
	strcpy(client->ca_file, ca_file != NULL ? ca_file : "");
	client->tls_no_verify = verify == 0;
	return 0;
}

//the proxy: NULL for the environment's (http_proxy, https_proxy, no_proxy and their upper-case
//forms, as curl reads them), "" for none, else http://[user[:password]@]host[:port] (port 1080
//unless given; the credentials percent-encoded, answering the proxy's challenges)
_declspec(dllexport) int WINAPI kvproj_client_set_proxy(kvproj_client_t *client, const char *proxy)
{
	char path[256], bare[512];
	int tls = 0;

	if(client == NULL)
		return KVPROJ_ERR_ARGUMENT;
	kvproj_client_close(client);
	kvproj_forget_proxy(client);
	client->proxy_mode = proxy == NULL ? KVPROJ_PROXY_FROM_ENVIRONMENT : proxy[0] == '\0' ? KVPROJ_PROXY_NONE : KVPROJ_PROXY_GIVEN;
	if(client->proxy_mode == KVPROJ_PROXY_GIVEN &&
		(kvproj_proxy_credentials(proxy, bare, sizeof(bare), client->proxy_user, client->proxy_password) != 0 ||
		kvproj_parse_address(bare, 1080, &tls, client->proxy_host, sizeof(client->proxy_host), &client->proxy_port, path, sizeof(path)) != 0 ||
		tls || strcmp(path, "/") != 0)){
		client->proxy_mode = KVPROJ_PROXY_FROM_ENVIRONMENT;
		kvproj_forget_proxy(client);
		return KVPROJ_ERR_PROXY;
	}
	return 0;
}

//why the client's last call failed, in words ("" after a call that returned 0): the host and port,
//and the cause (the system's, the HTTP status, the member and value that did not decode ...)
_declspec(dllexport) const char * WINAPI kvproj_client_error_detail(const kvproj_client_t *client)
{
	return client != NULL ? client->error_detail : "";
}

_declspec(dllexport) const char * WINAPI kvproj_strerror(int result)
{
	switch(result){
	case 0:
		return "the operation's response arrived";
	case KVPROJ_FAULT:
		return "the service answered with a SOAP fault";
	case KVPROJ_ERR_ADDRESS:
		return "the endpoint is no http://host[:port][/path] or https://host[:port][/path] address (without blanks or control characters)";
	case KVPROJ_ERR_CONNECT:
		return "no connection to the endpoint (connection refused, or the host cannot be reached)";
	case KVPROJ_ERR_HOST:
		return "the endpoint's host name was not found";
	case KVPROJ_ERR_SEND:
		return "the request could not be encoded or sent";
	case KVPROJ_ERR_RECEIVE:
		return "no answer could be read (time-out, broken connection, or an HTTP message of the wrong form)";
	case KVPROJ_ERR_DECODE:
		return "the answer arrived but does not decode (no XML, no SOAP envelope, or a value that does not fit its member or type; kvproj_client_error_detail says which)";
	case KVPROJ_ERR_HTTP:
		return "the service answered with an HTTP error status and no fault (see the client's http_status)";
	case KVPROJ_ERR_UNEXPECTED:
		return "the service answered with another message than the operation's response";
	case KVPROJ_ERR_ARGUMENT:
		return "a required argument is NULL, or does not fit";
	case KVPROJ_ERR_MEMORY:
		return "out of memory";
	case KVPROJ_ERR_TLS:
		return "the TLS handshake with the endpoint failed (no common protocol of TLS 1.2 or later, or no TLS server there)";
	case KVPROJ_ERR_CERT_UNTRUSTED:
		return "the endpoint's certificate was refused: no trusted authority issued it (see kvproj_client_set_tls)";
	case KVPROJ_ERR_CERT_HOST:
		return "the endpoint's certificate was refused: it was issued for another host name";
	case KVPROJ_ERR_CERT_EXPIRED:
		return "the endpoint's certificate was refused: it has expired";
	case KVPROJ_ERR_CERTIFICATE:
		return "the endpoint's certificate was refused (not yet valid, revoked or badly signed)";
	case KVPROJ_ERR_CA_FILE:
		return "the CA file could not be read (no PEM certificate in it, or its name is too long)";
	case KVPROJ_ERR_PROXY:
		return "the proxy failed: it could not be reached, refused the connection to the endpoint, or asked for credentials its address does not give or refused those it gives (407, in the client's http_status), or its address is no http://[user[:password]@]host[:port]";
	case KVPROJ_ERR_AUTH:
		return "the service refused the call's credentials (HTTP 401): none were set, or they are wrong";
	case KVPROJ_ERR_SECURITY:
		return "WS-Security failed: the request could not be secured, the answer failed its check, or a key or trust could not be read (kvproj_client_error_detail says which)";
	}
	return "unknown result";
}

