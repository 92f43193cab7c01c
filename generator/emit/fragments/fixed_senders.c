static int kvproj_http_resp_send(kvproj_proto_trans_t *trans, kvproj_proto_packet_t *pk, int timeout)
{
	char		start[1024];
	int		length;
	char		*buffer;
	mycursor_t	body;

	//an answer names no host: the transport that sends it was connected to by its client
	length = snprintf(start, sizeof(start), "HTTP/1.1 %d %.*s\r\n", pk->msg.http_msg.err_code, (int)sizeof(pk->msg.http_msg.err_code_string), pk->msg.http_msg.err_code_string);
	if(length < 0 || length >= (int)sizeof(start))
		return -1;
	//a status and its text: no SOAP message to go as a XOP package
	pk->mtom = 0;
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

//the fault message a fault's detail holds, written as the detail element named tag: 1 when the fault
//holds one; a service that declares no fault message has none to write
#ifndef KVPROJ_DETAIL_MSG_CAT
#define KVPROJ_DETAIL_MSG_CAT(body, fault, tag)	0
#endif

//a fault's detail element named tag: the fault message it holds, else its markup; left out when it
//holds neither
static void kvproj_detail_element(mycursor_t *body, kvproj_soap_fault_msg_t *fault, const char *tag)
{
	if(KVPROJ_DETAIL_MSG_CAT(body, fault, tag) || fault->detail == NULL || fault->detail[0] == '\0')
		return;
	mystrcat(body, "<");
	mystrcat(body, tag);
	mystrcat(body, ">");
	kvproj_detail_cat(body, fault->detail, strlen(fault->detail) + 1);
	mystrcat(body, "</");
	mystrcat(body, tag);
	mystrcat(body, ">");
}

//the SOAP 1.2 Code/Value of a fault code, as a name of the envelope's namespace: SOAP 1.1's Client and
//Server (also dotted, "Server.Database") become Sender and Receiver; the five codes of SOAP 1.2 stay;
//any other code is the Receiver's
static const char *kvproj_fault_code12(const char *faultcode, size_t size)
{
	static const char	*codes[] = {"VersionMismatch", "MustUnderstand", "DataEncodingUnknown", "Sender", "Receiver"};
	const char	*colon = (const char *)memchr(faultcode, ':', strnlen(faultcode, size));
	const char	*local = colon != NULL ? colon + 1 : faultcode;
	size_t	length = strnlen(local, size - (size_t)(local - faultcode)), i;

	for(i = 0; i < length && local[i] != '.'; i++)
		;
	length = i;
	if(length == 6 && strncmp(local, "Client", 6) == 0)
		return "Sender";
	for(i = 0; i < sizeof(codes) / sizeof(codes[0]); i++){
		if(strlen(codes[i]) == length && strncmp(local, codes[i], length) == 0)
			return codes[i];
	}
	return "Receiver";
}

//the header block of a version mismatch fault of a service of SOAP 1.1 alone: none
#ifndef KVPROJ_SOAP_UPGRADE
#define KVPROJ_SOAP_UPGRADE	""
#endif

//whether a fault code is the version mismatch of either version
static int kvproj_version_mismatch(const char *faultcode, size_t size)
{
	return strcmp(kvproj_fault_code12(faultcode, size), "VersionMismatch") == 0;
}

//whether text[0..length) can be a namespace prefix: letters, digits and . - _ (or any byte of a
//character beyond ASCII), not starting with a digit, a dot or a hyphen
static int kvproj_is_prefix(const char *text, size_t length)
{
	size_t	i;
	unsigned char	c;

	for(i = 0; i < length; i++){
		c = (unsigned char)text[i];
		if(!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '-' || c >= 0x80))
			return 0;
	}
	return length > 0 && !(text[0] >= '0' && text[0] <= '9') && text[0] != '.' && text[0] != '-';
}

//the length of the prefix of a QName of size bytes when it is a prefix other than the envelope's and xml,
//which the fault must declare itself; else 0
static size_t kvproj_foreign_prefix(const char *name, size_t size)
{
	const char	*colon = (const char *)memchr(name, ':', strnlen(name, size));
	size_t	prefix = colon != NULL ? (size_t)(colon - name) : 0;

	if(colon == NULL || !kvproj_is_prefix(name, prefix) || (prefix == 8 && strncmp(name, "SOAP-ENV", 8) == 0) ||
			(prefix == 3 && strncmp(name, "xml", 3) == 0))
		return 0;
	return prefix;
}

//declares the prefix of name (prefix bytes) with the fault's subcode_ns when it gives one: 1 when it did.
//xmlns cannot be declared: readers refuse the message
static int kvproj_prefix_declared(mycursor_t *body, kvproj_soap_fault_msg_t *fault, const char *name, size_t prefix)
{
	if(fault->subcode_ns[0] == '\0' || (prefix == 5 && strncmp(name, "xmlns", 5) == 0))
		return 0;
	mystrcat(body, " xmlns:");
	mymemcat(body, name, prefix);
	mystrcat(body, "=\"");
	myattrcat(body, fault->subcode_ns, sizeof(fault->subcode_ns));
	mystrcat(body, "\"");
	return 1;
}

//a subcode's Value: a prefix other than the envelope's (and xml) is declared on it with the namespace the
//fault gives; without one the name goes without its prefix (in no namespace), since a prefix declared
//nowhere names nothing a reader can resolve
static void kvproj_subcode_value(mycursor_t *body, kvproj_soap_fault_msg_t *fault)
{
	const char	*name = fault->subcode;
	size_t	prefix = kvproj_foreign_prefix(name, sizeof(fault->subcode));

	mystrcat(body, "<SOAP-ENV:Value");
	if(prefix > 0 && !kvproj_prefix_declared(body, fault, name, prefix))
		name += prefix + 1;
	mystrcat(body, ">");
	mytstrcat(body, name, sizeof(fault->subcode) - (size_t)(name - fault->subcode));
	mystrcat(body, "</SOAP-ENV:Value>");
}

//a SOAP 1.1 faultcode: a prefix other than the envelope's is declared on it with subcode_ns when the fault
//gives one (a WS-Security fault's wsse:), else it goes as it is
static void kvproj_faultcode11(mycursor_t *body, kvproj_soap_fault_msg_t *fault)
{
	size_t	prefix = kvproj_foreign_prefix(fault->faultcode, sizeof(fault->faultcode));

	mystrcat(body, "<faultcode");
	if(prefix > 0)
		kvproj_prefix_declared(body, fault, fault->faultcode, prefix);
	mystrcat(body, ">");
	mytstrcat(body, fault->faultcode, sizeof(fault->faultcode));
	mystrcat(body, "</faultcode>");
}

//a MustUnderstand fault's header block naming the entry not understood ({namespace}name), when the
//packet names one
static void kvproj_not_understood_header(kvproj_proto_packet_t *pk, mycursor_t *body, const char *code)
{
	const char	*named = pk->not_understood;
	const char	*end = strrchr(named, '}');

	if(strcmp(code, "MustUnderstand") != 0 || named[0] != '{' || end == NULL)
		return;
	mystrcat(body, "<SOAP-ENV:Header><SOAP-ENV:NotUnderstood qname=\"");
	if(end > named + 1)
		mystrcat(body, "nu:");
	myattrcat(body, end + 1, strlen(end + 1));
	mystrcat(body, "\"");
	if(end > named + 1){
		mystrcat(body, " xmlns:nu=\"");
		myattrcat(body, named + 1, (size_t)(end - named - 1));
		mystrcat(body, "\"");
	}
	mystrcat(body, "/></SOAP-ENV:Header>");
}

//the SOAP 1.2 Fault's Code, Reason and Detail
static void kvproj_soap12_fault_body(kvproj_proto_packet_t *pk, mycursor_t *body, const char *code)
{
	kvproj_soap_fault_msg_t	*fault = &pk->msg.soap_fault;

	mystrcat(body, "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://www.w3.org/2003/05/soap-envelope\">");
	kvproj_not_understood_header(pk, body, code);
	mystrcat(body, "<SOAP-ENV:Body><SOAP-ENV:Fault><SOAP-ENV:Code><SOAP-ENV:Value>SOAP-ENV:");
	mystrcat(body, code);
	mystrcat(body, "</SOAP-ENV:Value>");
	if(fault->subcode[0] != '\0'){
		mystrcat(body, "<SOAP-ENV:Subcode>");
		kvproj_subcode_value(body, fault);
		mystrcat(body, "</SOAP-ENV:Subcode>");
	}
	mystrcat(body, "</SOAP-ENV:Code><SOAP-ENV:Reason><SOAP-ENV:Text xml:lang=\"");
	if(fault->lang[0] != '\0')
		mytstrcat(body, fault->lang, sizeof(fault->lang));
	else
		mystrcat(body, "en");
	mystrcat(body, "\">");
	mytstrcat(body, fault->faultstring, sizeof(fault->faultstring));
	mystrcat(body, "</SOAP-ENV:Text></SOAP-ENV:Reason>");
	kvproj_detail_element(body, fault, "SOAP-ENV:Detail");
	mystrcat(body, "</SOAP-ENV:Fault></SOAP-ENV:Body></SOAP-ENV:Envelope>");
}

//a fault goes in the packet's SOAP version, but a version mismatch, which goes in SOAP 1.1's envelope
//(all a node that does not speak the message's version can be sure its sender reads), naming the
//envelopes this service understands. SOAP 1.1 answers a fault with status 500; SOAP 1.2 a Sender
//fault with 400 and any other with 500
static int kvproj_soap_fault_send(kvproj_proto_trans_t *trans, kvproj_proto_packet_t *pk, int timeout)
{
	char		start[1024];
	int		length;
	char		*buffer;
	mycursor_t	body;
	const char	*code = kvproj_fault_code12(pk->msg.soap_fault.faultcode, sizeof(pk->msg.soap_fault.faultcode));
	int		mismatch = kvproj_version_mismatch(pk->msg.soap_fault.faultcode, sizeof(pk->msg.soap_fault.faultcode));
	int		soap12 = pk->soap_version == KVPROJ_SOAP_1_2 && !mismatch;
	int		sender = soap12 && strcmp(code, "Sender") == 0;

	length = snprintf(start, sizeof(start), "HTTP/1.1 %s\r\n", sender ? "400 Bad Request" : "500 Internal Server Error");
	if(length < 0 || length >= (int)sizeof(start))
		return -1;
	buffer = kvproj_send_begin(pk, &body);
	if(buffer == NULL)
		return -1;

	if(soap12){
		kvproj_soap12_fault_body(pk, &body, code);
		return kvproj_send_end(trans, pk, buffer, start, &body, NULL, timeout);
	}
	pk->soap_version = KVPROJ_SOAP_1_1;
	//faultcode is a QName, detail holds elements: neither takes an xsi:type; an empty detail is left out
	mystrcat(&body, "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\">");
	if(mismatch && KVPROJ_SOAP_UPGRADE[0] != '\0'){
		mystrcat(&body, "<SOAP-ENV:Header>");
		mystrcat(&body, KVPROJ_SOAP_UPGRADE);
		mystrcat(&body, "</SOAP-ENV:Header>");
	}
	mystrcat(&body, "<SOAP-ENV:Body><SOAP-ENV:Fault>");
	kvproj_faultcode11(&body, &pk->msg.soap_fault);
	mystrcat(&body, "<faultstring>");
	mytstrcat(&body, pk->msg.soap_fault.faultstring, sizeof(pk->msg.soap_fault.faultstring));
	mystrcat(&body, "</faultstring>");
	kvproj_detail_element(&body, &pk->msg.soap_fault, "detail");
	mystrcat(&body, "</SOAP-ENV:Fault></SOAP-ENV:Body></SOAP-ENV:Envelope>");

	return kvproj_send_end(trans, pk, buffer, start, &body, NULL, timeout);
}
