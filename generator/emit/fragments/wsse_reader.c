//WS-Security of a message read: on a transport with settings (trans->wsse) the Security header is
//processed (its Timestamp checked, its signature and UsernameToken when they ask for them) before the
//message is taken, and so understood

//whether the entry is named by one of the NULL-ended "{namespace}name" texts
static int kvproj_header_listed(const char *const *names, xmlNodePtr entry)
{
	const char	*ns = entry->ns != NULL && entry->ns->href != NULL ? (const char *)entry->ns->href : "";
	size_t	length = strlen(ns);

	for(; names != NULL && *names != NULL; names++)
		if((*names)[0] == '{' && strncmp(*names + 1, ns, length) == 0 && (*names)[length + 1] == '}' &&
				strcmp(*names + length + 2, (const char *)entry->name) == 0)
			return 1;
	return 0;
}

//whether a header entry is one this node processes although no header part of the service names it:
//the Security header when the reader has WS-Security settings, and those the caller declared understood
static int kvproj_header_understood(const kvproj_proto_packet_t *pk, xmlNodePtr entry)
{
	if(kvproj_header_listed(pk->understood, entry))
		return 1;
	return pk->wsse != NULL && entry->ns != NULL && xmlStrEqual(entry->name, (const xmlChar *)"Security") &&
		xmlStrEqual(entry->ns->href, (const xmlChar *)"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd");
}

//the envelope of buffer[0..buffer_len) checked against the transport's settings: 0, or -1 with why
//in the packet's decode_error, the fault that answers it in decode_fault and the check's result in
//trans->wsse_result. A fault, or an HTTP answer without an envelope, may come unsigned
static int kvproj_wsse_check(kvproj_proto_trans_t *trans, const char *buffer, size_t buffer_len, kvproj_proto_packet_t *pk)
{
	size_t		header_end, xml_beg, part_end, root_end;
	const char	*why = NULL;
	const char	*ns;
	int		references = 0;
	xmlDocPtr	doc;
	mydecode_time_t	time;

	trans->wsse_result = 0;
	if(trans->wsse == NULL || pk->msg_type == KVPROJ_PROTO_HTTP)
		return 0;
	header_end = mydecode_find(buffer, 0, buffer_len, "\r\n\r\n", 4);
	//the message was decoded within its time already: this parse of it has as much again
	mydecode_time_start(&time, -1);
	if(header_end == buffer_len || mydecode_locate(buffer, header_end, buffer_len, &xml_beg, &part_end, &why) != 0 ||
			(doc = mydecode_parse(buffer + xml_beg, part_end - xml_beg, &time, &root_end, &references)) == NULL){
		trans->wsse_result = TESSARO_WSSE_INVALID;
		snprintf(pk->decode_error, sizeof(pk->decode_error), "the message's envelope cannot be read for its security check");
	}else{
		pk->decode_error[0] = '\0';
		trans->wsse_result = tessaro_wsse_verify_doc(trans->wsse, doc, 1, pk->decode_error, sizeof(pk->decode_error));
		xmlFreeDoc(doc);
	}
	if(trans->wsse_result == 0)
		return 0;
	pk->decode_fault = tessaro_wsse_fault_code(trans->wsse_result, &ns);
	return -1;
}
