//appends text up to its end or size bytes, whichever comes first, as it is
static int myrawcat(mycursor_t *out, const char *text, size_t size)
{
	char	piece[256];
	size_t	i, n;
	int	result = 0;

	for(i = 0; i < size && text[i] != '\0' && result == 0; i += n){
		for(n = 0; n + 1 < sizeof(piece) && i + n < size && text[i + n] != '\0'; n++)
			piece[n] = text[i + n];
		piece[n] = '\0';
		result = mystrcat(out, piece);
	}
	return result;
}

//the buffer of one message, the thread's kept one where it has one; the body starts behind the room
//for the head and grows as it needs
static char *kvproj_send_begin(kvproj_proto_packet_t *pk, mycursor_t *body)
{
	size_t	size = 1024 + 16384;
	char	*buffer = mykept_block_take(&size);

	if(buffer == NULL && (buffer = (char *)malloc(size)) == NULL)
		return NULL;
	mycursor_init(body, buffer + 1024, size - 1024);
	body->block = buffer;
	//a value the encoders refuse says why there
	pk->decode_error[0] = '\0';
	body->why = pk->decode_error;
	body->why_size = sizeof(pk->decode_error);
	//boundary_part between http header and soap message if there is, unless a read message brought it
	if(pk->mtom > 0)
		mymtom_begin(pk, body);
	else if(!pk->boundary_received)
		myrawcat(body, pk->boundary_part, sizeof(pk->boundary_part));
	return buffer;
}

//adds the attachment and the head and sends the message; -1 and nothing sent when a part did not fit;
//soap_action is written quoted, also when empty, and left out when NULL: in SOAP 1.1 as the SOAPAction
//header, in SOAP 1.2 as the action parameter of a request's Content-Type (left out also when empty).
//The body's block is where kvproj_send_begin's buffer went as the body grew
static int kvproj_send_end(kvproj_proto_trans_t *trans, kvproj_proto_packet_t *pk, char *buffer, const char *start, mycursor_t *body, const char *soap_action, int timeout)
{
	char		head[1024];
	char		len[32];
	char		*message;
	mycursor_t	out;
	size_t		length = 0;
	size_t		head_length;
	tessaro_size_t	size;
	int		i;
	int		result = -1;
	int		typed = 0;

	//the addressing headers go in first: the Security header is made around the envelope they are in
	kvproj_wsa_address_body(pk, body, body->block + 1024 + (body->mtom != NULL ? body->mtom->head : 0));
	kvproj_wsse_secure_body(pk->wsse, body, body->block + 1024 + (body->mtom != NULL ? body->mtom->head : 0));
	if(body->mtom != NULL)
		mymtom_parts(body);
	//the attachment follows the envelope; it is released once it is in the message
	if(pk->attachment != NULL && mystrcat(body, "\r\n") == 0){
		if(pk->attachment_length >= 0 && mycursor_fit(body, (size_t)pk->attachment_length) == 0){
			memcpy(body->tail, pk->attachment, (size_t)pk->attachment_length);
			body->tail += pk->attachment_length;
			*body->tail = '\0';
			free(pk->attachment);
			pk->attachment = NULL;
			pk->attachment_length = 0;
		}else{
			body->tail = NULL;
		}
	}
	buffer = body->block;
	mycursor_init(&out, head, sizeof(head));
	mystrcat(&out, start);
	if(body->tail != NULL){
		length = (size_t)(body->tail - (buffer + 1024));
		//a package's binary parts are decoded as they are sent: their bytes are not in the buffer
		snprintf(len, sizeof(len), "%lu", (unsigned long)(length + (body->mtom != NULL ? body->mtom->bytes : 0)));
		//the header lines a read message brought stay behind; those added since go out
		for(i = pk->http_headers_received > 0 ? pk->http_headers_received : 0; i < pk->http_headers_count && i < KVPROJ_MAX_HTTP_HEADER_NUM; i++){
			if(strncasecmp(pk->http_headers[i].name, "Content-Length", sizeof(pk->http_headers[i].name)) == 0)
				continue;
			//a header filled in by hand is held to what kvproj_add_http_header takes: nothing is sent
			if(!kvproj_http_field_ok(pk->http_headers[i].name, sizeof(pk->http_headers[i].name), 1) ||
					!kvproj_http_field_ok(pk->http_headers[i].value, sizeof(pk->http_headers[i].value), 0)){
				myrefuse(&out);
				break;
			}
			if(strncasecmp(pk->http_headers[i].name, "Content-Type", sizeof(pk->http_headers[i].name)) == 0){
				//a package's type names its boundary
				if(body->mtom != NULL)
					continue;
				typed = 1;
			}
			myrawcat(&out, pk->http_headers[i].name, sizeof(pk->http_headers[i].name));
			mystrcat(&out, ": ");
			myrawcat(&out, pk->http_headers[i].value, sizeof(pk->http_headers[i].value));
			mystrcat(&out, "\r\n");
		}
		if(pk->authorization != NULL && pk->authorization[0] != '\0'){
			if(!kvproj_http_field_ok(pk->authorization, strlen(pk->authorization), 0))
				myrefuse(&out);
			mystrcat(&out, "Authorization: ");
			mystrcat(&out, pk->authorization);
			mystrcat(&out, "\r\n");
		}
		//a request through a proxy answers the proxy's challenge
		if(trans->proxy_authorization != NULL && strncmp(start, "HTTP/", 5) != 0){
			if(!kvproj_http_field_ok(trans->proxy_authorization, strlen(trans->proxy_authorization), 0))
				myrefuse(&out);
			mystrcat(&out, "Proxy-Authorization: ");
			mystrcat(&out, trans->proxy_authorization);
			mystrcat(&out, "\r\n");
		}
		//a SOAP 1.1 message is XML text, a SOAP 1.2 one has a type of its own; a caller's own type is kept
		if(body->mtom != NULL)
			mymtom_content_type(&out, pk, body->mtom, soap_action, strncmp(start, "HTTP/", 5) != 0);
		else if(!typed && pk->soap_version == KVPROJ_SOAP_1_2){
			mystrcat(&out, "Content-Type: application/soap+xml; charset=utf-8");
			if(soap_action != NULL && soap_action[0] != '\0' && strncmp(start, "HTTP/", 5) != 0){
				mystrcat(&out, "; action=\"");
				mystrcat(&out, soap_action);
				mystrcat(&out, "\"");
			}
			mystrcat(&out, "\r\n");
		}else if(!typed)
			mystrcat(&out, "Content-Type: text/xml; charset=utf-8\r\n");
		mystrcat(&out, "Content-Length:");
		mystrcat(&out, len);
		if(soap_action != NULL && pk->soap_version != KVPROJ_SOAP_1_2){
			mystrcat(&out, "\r\nSOAPAction:\"");
			mystrcat(&out, soap_action);
			mystrcat(&out, "\"");
		}
		mystrcat(&out, KVPROJ_HTTPENDFLAG);
	}
	if(body->tail != NULL && out.tail != NULL){
		head_length = (size_t)(out.tail - head);
		message = buffer + 1024 - head_length;
		memcpy(message, head, head_length);
		if(body->mtom != NULL)
			result = mymtom_send(trans, message, head_length + length + body->mtom->bytes, buffer, body->mtom, (tessaro_usec_t)timeout*TESSARO_USEC_PER_SEC);
		else
			result = kvproj_trans_send(trans, (const void*)message, head_length + length, &size, (tessaro_usec_t)timeout*TESSARO_USEC_PER_SEC);
	}
	mymtom_end(body);
	mykept_block_give(buffer, (size_t)(body->end - buffer) + 1);
	return result;
}

