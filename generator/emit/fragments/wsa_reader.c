//WS-Addressing of a message read: its addressing headers, of either namespace, are kept in the packet's
//wsa, and so understood; a value is kept without the blanks around it

static int kvproj_wsa_version_of(xmlNodePtr entry)
{
	if(entry->ns == NULL)
		return 0;
	if(xmlStrEqual(entry->ns->href, (const xmlChar *)"http://www.w3.org/2005/08/addressing"))
		return KVPROJ_WSA_1_0;
	if(xmlStrEqual(entry->ns->href, (const xmlChar *)"http://schemas.xmlsoap.org/ws/2004/08/addressing"))
		return KVPROJ_WSA_2004;
	return 0;
}

//the text of the entry, or of its Address child for an endpoint reference, into value: 0; -1 when it
//is longer than value holds, -2 for an endpoint reference without an Address
static int kvproj_wsa_text(xmlNodePtr entry, int reference, char *value, size_t size)
{
	xmlNodePtr	node = entry;
	xmlChar	*text;
	const char	*begin;
	size_t	length;
	int	result = 0;

	if(reference){
		for(node = mydecode_element(entry->xmlChildrenNode); node != NULL && !xmlStrEqual(node->name, (const xmlChar *)"Address");)
			node = mydecode_element(node->next);
		if(node == NULL)
			return -2;
	}
	if((text = xmlNodeGetContent(node)) == NULL)
		return -1;
	for(begin = (const char *)text; *begin == ' ' || *begin == '\t' || *begin == '\r' || *begin == '\n'; begin++)
		;
	for(length = strlen(begin); length > 0 && strchr(" \t\r\n", begin[length - 1]) != NULL; length--)
		;
	if(length >= size)
		result = -1;
	else
		mydecode_copy(value, size, begin, length);
	xmlFree(text);
	return result;
}

//1 when the header entry is an addressing header (kept in pk->wsa when it is one the packet holds), with
//*result -1 and why in the packet when it cannot be taken: in another namespace than the message's others,
//twice, too long, an endpoint reference without its Address; 0 for any other entry
static int kvproj_wsa_read(kvproj_proto_packet_t *pk, xmlNodePtr entry, int *result)
{
	static const char	*names[] = {"Action", "MessageID", "To", "ReplyTo", "FaultTo", "RelatesTo"};
	char	*values[6];
	xmlChar	*relation;
	int	version = kvproj_wsa_version_of(entry);
	int	i, got;

	if(version == 0)
		return 0;
	values[0] = pk->wsa.action;
	values[1] = pk->wsa.message_id;
	values[2] = pk->wsa.to;
	values[3] = pk->wsa.reply_to;
	values[4] = pk->wsa.fault_to;
	values[5] = pk->wsa.relates_to;
	for(i = 0; i < 6 && !xmlStrEqual(entry->name, (const xmlChar *)names[i]); i++)
		;
	//another property (From, a reference parameter) is understood and passed over
	if(i == 6)
		return 1;
	//only a reply's relation is the packet's
	if(i == 5 && (relation = xmlGetProp(entry, (const xmlChar *)"RelationshipType")) != NULL){
		got = strstr((const char *)relation, "reply") != NULL || strstr((const char *)relation, "Reply") != NULL;
		xmlFree(relation);
		if(!got)
			return 1;
	}
	*result = -1;
	pk->decode_fault = "SOAP-ENV:Client";
	if(pk->wsa.version != 0 && pk->wsa.version != version){
		snprintf(pk->decode_error, sizeof(pk->decode_error), "WS-Addressing headers of two namespaces (the %s header's is another)", names[i]);
		return 1;
	}
	if(values[i][0] != '\0'){
		snprintf(pk->decode_error, sizeof(pk->decode_error), "the WS-Addressing header %s comes twice", names[i]);
		return 1;
	}
	got = kvproj_wsa_text(entry, i == 3 || i == 4, values[i], KVPROJ_MAX_WSA_URI_LEN + 1);
	if(got == -2){
		snprintf(pk->decode_error, sizeof(pk->decode_error), "the WS-Addressing header %s has no Address", names[i]);
		return 1;
	}
	if(got != 0){
		snprintf(pk->decode_error, sizeof(pk->decode_error), "the WS-Addressing header %s is longer than %d bytes", names[i], KVPROJ_MAX_WSA_URI_LEN);
		return 1;
	}
	pk->wsa.version = version;
	pk->decode_fault = NULL;
	*result = 0;
	return 1;
}
