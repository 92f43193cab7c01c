//WS-Addressing of a message going out: the envelope of a packet whose wsa.version is set goes with the
//addressing headers its wsa holds (those left empty stay out), their namespace declared on the Envelope

static const char *kvproj_wsa_namespace(int version)
{
	return version == KVPROJ_WSA_2004 ? "http://schemas.xmlsoap.org/ws/2004/08/addressing" : "http://www.w3.org/2005/08/addressing";
}

//appends <wsa:name>value</wsa:name>, the value in an Address child for an endpoint reference; nothing for an empty value
static void kvproj_wsa_element(mycursor_t *out, const char *name, const char *value, int reference)
{
	if(value[0] == '\0')
		return;
	mystrcat(out, "<wsa:");
	mystrcat(out, name);
	mystrcat(out, reference ? "><wsa:Address>" : ">");
	mytstrcat(out, value, KVPROJ_MAX_WSA_URI_LEN + 1);
	mystrcat(out, reference ? "</wsa:Address></wsa:" : "</wsa:");
	mystrcat(out, name);
	mystrcat(out, ">");
}

//puts length bytes of text at offset at of the body's block, what stood there moving behind them
static int kvproj_wsa_insert(mycursor_t *body, size_t at, const char *text, size_t length)
{
	char	*place;

	if(mycursor_fit(body, length) != 0)
		return -1;
	place = body->block + at;
	memmove(place + length, place, (size_t)(body->tail - place) + 1);
	memcpy(place, text, length);
	body->tail += length;
	return 0;
}

//the body's envelope, from its XML on, with the packet's addressing headers first in its Header (one is
//made where it has none); -1 with the body spent when they do not fit or a value is no XML text
static int kvproj_wsa_address_body(const kvproj_proto_packet_t *pk, mycursor_t *body, char *from)
{
	mycursor_t	headers;
	char	*buffer;
	char	declaration[128];
	char	*envelope, *start_end;
	size_t	declaration_at, headers_at;
	int	has_header, result;

	if(pk->wsa.version == 0 || body->tail == NULL)
		return 0;
	if((envelope = strstr(from, "<SOAP-ENV:Envelope")) == NULL || (start_end = strchr(envelope, '>')) == NULL)
		return 0;
	has_header = strncmp(start_end + 1, "<SOAP-ENV:Header>", 17) == 0;
	if((buffer = (char *)malloc(1024)) == NULL)
		return myrefuse(body);
	mycursor_init(&headers, buffer, 1024);
	headers.block = buffer;
	if(!has_header)
		mystrcat(&headers, "<SOAP-ENV:Header>");
	kvproj_wsa_element(&headers, "Action", pk->wsa.action, 0);
	kvproj_wsa_element(&headers, "MessageID", pk->wsa.message_id, 0);
	kvproj_wsa_element(&headers, "To", pk->wsa.to, 0);
	kvproj_wsa_element(&headers, "ReplyTo", pk->wsa.reply_to, 1);
	kvproj_wsa_element(&headers, "FaultTo", pk->wsa.fault_to, 1);
	kvproj_wsa_element(&headers, "RelatesTo", pk->wsa.relates_to, 0);
	if(!has_header)
		mystrcat(&headers, "</SOAP-ENV:Header>");
	snprintf(declaration, sizeof(declaration), " xmlns:wsa=\"%s\"", kvproj_wsa_namespace(pk->wsa.version));
	declaration_at = (size_t)(start_end - body->block);
	headers_at = declaration_at + 1 + (has_header ? 17 : 0);
	//the later place first: the earlier insertion moves it
	result = headers.tail == NULL ? -1 : kvproj_wsa_insert(body, headers_at, headers.block, (size_t)(headers.tail - headers.block));
	if(result == 0)
		result = kvproj_wsa_insert(body, declaration_at, declaration, strlen(declaration));
	free(headers.block);
	if(result != 0 && body->why != NULL && body->why[0] == '\0')
		snprintf(body->why, body->why_size, "the WS-Addressing headers do not fit or are no XML text");
	return result != 0 ? myrefuse(body) : 0;
}
