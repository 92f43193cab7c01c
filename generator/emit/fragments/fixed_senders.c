static int kvproj_http_resp_send(kvproj_proto_trans_t *trans, kvproj_proto_packet_t *pk, int timeout)
{
	char		start[1024];
	int		length;
	char		*buffer;
	mycursor_t	body;

	length = snprintf(start, sizeof(start), "HTTP/1.1 %d %.*s\r\nHOST:%s:%d\r\n", pk->msg.http_msg.err_code, (int)sizeof(pk->msg.http_msg.err_code_string), pk->msg.http_msg.err_code_string, trans->dest_ip, (int)trans->dest_port);
	if(length < 0 || length >= (int)sizeof(start))
		return -1;
	buffer = kvproj_send_begin(pk, &body);
	if(buffer == NULL)
		return -1;

	myrawcat(&body, pk->msg.http_msg.buffer, sizeof(pk->msg.http_msg.buffer));

	return kvproj_send_end(trans, pk, buffer, start, &body, NULL, timeout);
}

//a fault's detail: as it is when it is XML content (elements, text, references), so that a detail
//of elements goes as elements; anything else as text, escaped. NUL ends it within size bytes
static int kvproj_detail_cat(mycursor_t *body, const char *detail, size_t size)
{
	const char	*end = (const char *)memchr(detail, '\0', size);
	char	*wrapped;
	xmlDocPtr	doc = NULL;
	size_t	length;

	if(end == NULL)
		return mytstrcat(body, detail, size);
	length = (size_t)(end - detail);
	wrapped = (char *)malloc(length + 8);
	if(wrapped != NULL){
		memcpy(wrapped, "<d>", 3);
		memcpy(wrapped + 3, detail, length);
		memcpy(wrapped + 3 + length, "</d>", 5);
		doc = xmlReadMemory(wrapped, (int)(length + 7), NULL, NULL, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
		free(wrapped);
	}
	if(doc == NULL)
		return mytstrcat(body, detail, size);
	xmlFreeDoc(doc);
	return mymarkupcat(body, detail, size);
}

static int kvproj_soap_fault_send(kvproj_proto_trans_t *trans, kvproj_proto_packet_t *pk, int timeout)
{
	char		start[1024];
	int		length;
	char		*buffer;
	mycursor_t	body;

	//SOAP 1.1 over HTTP answers a fault with status 500
	length = snprintf(start, sizeof(start), "HTTP/1.1 500 Internal Server Error\r\nHOST:%s:%d\r\n", trans->dest_ip, (int)trans->dest_port);
	if(length < 0 || length >= (int)sizeof(start))
		return -1;
	buffer = kvproj_send_begin(pk, &body);
	if(buffer == NULL)
		return -1;

	//faultcode is a QName, detail holds elements: neither takes an xsi:type; an empty detail is left out
	mystrcat(&body, "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\"><SOAP-ENV:Body><SOAP-ENV:Fault><faultcode>");
	mytstrcat(&body, pk->msg.soap_fault.faultcode, sizeof(pk->msg.soap_fault.faultcode));
	mystrcat(&body, "</faultcode><faultstring>");
	mytstrcat(&body, pk->msg.soap_fault.faultstring, sizeof(pk->msg.soap_fault.faultstring));
	mystrcat(&body, "</faultstring>");
	if(pk->msg.soap_fault.detail[0] != '\0'){
		mystrcat(&body, "<detail>");
		kvproj_detail_cat(&body, pk->msg.soap_fault.detail, sizeof(pk->msg.soap_fault.detail));
		mystrcat(&body, "</detail>");
	}
	mystrcat(&body, "</SOAP-ENV:Fault></SOAP-ENV:Body></SOAP-ENV:Envelope>");

	return kvproj_send_end(trans, pk, buffer, start, &body, NULL, timeout);
}

