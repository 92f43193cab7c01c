//the client of the operations' calls holds the service's address
_declspec(dllexport) int WINAPI kvproj_client_init(kvproj_client_t *client, const char *endpoint)
{
	const char *host;
	const char *end;
	const char *port_end;
	unsigned long port = 80;

	if(client == NULL)
		return KVPROJ_ERR_ARGUMENT;
	memset(client, 0, sizeof(*client));
	client->timeout = 30;
	if(endpoint == NULL)
		endpoint = KVPROJ_DEFAULT_ENDPOINT;
	if(strncmp(endpoint, "http://", 7) != 0)
		return KVPROJ_ERR_ADDRESS;
	host = endpoint + 7;
	end = host + strcspn(host, ":/?#");
	if(end == host || (size_t)(end - host) >= sizeof(client->host))
		return KVPROJ_ERR_ADDRESS;
	port_end = end;
	if(*end == ':'){
		char *digits_end = NULL;
		if(end[1] < '0' || end[1] > '9')
			return KVPROJ_ERR_ADDRESS;
		port = strtoul(end + 1, &digits_end, 10);
		if(port == 0 || port > 65535 || (*digits_end != '\0' && *digits_end != '/' && *digits_end != '?'))
			return KVPROJ_ERR_ADDRESS;
		port_end = digits_end;
	}
	if(strlen(*port_end != '\0' ? port_end : "/") >= sizeof(client->path))
		return KVPROJ_ERR_ADDRESS;
	memcpy(client->host, host, (size_t)(end - host));
	client->host[end - host] = '\0';
	strcpy(client->path, *port_end != '\0' ? port_end : "/");
	client->port = (tessaro_port_t)port;
	return 0;
}

_declspec(dllexport) const char * WINAPI kvproj_strerror(int result)
{
	switch(result){
	case 0:
		return "the operation's response arrived";
	case KVPROJ_FAULT:
		return "the service answered with a SOAP fault";
	case KVPROJ_ERR_ADDRESS:
		return "the endpoint is no http://host[:port][/path] address";
	case KVPROJ_ERR_CONNECT:
		return "no connection to the endpoint (connection refused, or the host cannot be reached)";
	case KVPROJ_ERR_HOST:
		return "the endpoint's host name was not found";
	case KVPROJ_ERR_SEND:
		return "the request could not be encoded or sent";
	case KVPROJ_ERR_RECEIVE:
		return "no answer could be read (time-out, broken connection, or a message that does not decode)";
	case KVPROJ_ERR_HTTP:
		return "the service answered with an HTTP error status and no fault (see the client's http_status)";
	case KVPROJ_ERR_UNEXPECTED:
		return "the service answered with another message than the operation's response";
	case KVPROJ_ERR_ARGUMENT:
		return "a required argument is NULL";
	case KVPROJ_ERR_MEMORY:
		return "out of memory";
	}
	return "unknown result";
}

