//the element at or after node; NULL when there is none
static xmlNodePtr mydecode_element(xmlNodePtr node)
{
	while(node != NULL && node->type != XML_ELEMENT_NODE)
		node = node->next;
	return node;
}

//copies at most size-1 bytes of text and ends them
static void mydecode_copy(char *dest, size_t size, const char *text, size_t length)
{
	if(length > size - 1)
		length = size - 1;
	memcpy(dest, text, length);
	dest[length] = '\0';
}

//an element of the SOAP 1.1 envelope namespace with the local name given, whatever its prefix
static int mydecode_is_soap(xmlNodePtr node, const char *name)
{
	return node != NULL && node->type == XML_ELEMENT_NODE && node->ns != NULL &&
		!xmlStrcmp(node->ns->href, (const xmlChar *)"http://schemas.xmlsoap.org/soap/envelope/") &&
		!xmlStrcmp(node->name, (const xmlChar *)name);
}

//offset of the first n bytes equal to what in text[from..end), or end
static size_t mydecode_find(const char *text, size_t from, size_t end, const char *what, size_t n)
{
	size_t	i;

	for(i = from; n > 0 && i + n <= end; i++){
		if(text[i] == what[0] && memcmp(text + i, what, n) == 0)
			return i;
	}
	return end;
}

//CR LF and the delimiter of a multipart body ("--" and its boundary) into delimiter:
//the boundary of a multipart Content-Type, or else a first body line that starts
//with "--"; its length, 0 when the body is no multipart body
static size_t mydecode_delimiter(const char *buffer, size_t header_end, size_t end, char *delimiter, size_t size)
{
	const char	*value, *boundary = NULL;
	size_t	value_len, i, j, n = 0, body = header_end + 4;

	value = http_header_value(buffer, header_end + 2, "Content-Type", &value_len);
	for(i = 0; value != NULL && i < 10 && i < value_len && http_lower(value[i]) == "multipart/"[i]; i++)
		;
	if(i < 10)
		value_len = 0;
	for(; i + 9 <= value_len && boundary == NULL; i++){
		for(j = 0; j < 9 && http_lower(value[i + j]) == "boundary="[j]; j++)
			;
		if(j == 9)
			boundary = value + i + 9;
	}
	if(boundary != NULL){
		value_len -= boundary - value;
		if(value_len > 0 && boundary[0] == '"'){
			boundary++;
			value_len--;
			while(n < value_len && boundary[n] != '"')
				n++;
		}else{
			while(n < value_len && boundary[n] != ';' && boundary[n] != ' ' && boundary[n] != '\t')
				n++;
		}
	}else if(end - body > 2 && buffer[body] == '-' && buffer[body + 1] == '-'){
		boundary = buffer + body + 2;
		n = http_line_end(buffer, body, end) - body - 2;
	}
	if(n == 0 || n + 5 > size)
		return 0;
	memcpy(delimiter, "\r\n--", 4);
	memcpy(delimiter + 4, boundary, n);
	return n + 4;
}

//where the SOAP envelope lies in the body of the message buffer[0..end), whose header
//ends at header_end: the first part of a multipart body (behind its delimiter line
//and part headers) up to the next delimiter, or else the whole body; leading blanks
//are passed over
static void mydecode_locate(const char *buffer, size_t header_end, size_t end, size_t *xml_beg, size_t *part_end)
{
	char	delimiter[128];
	size_t	n, at = header_end + 4, eol;

	*part_end = end;
	n = mydecode_delimiter(buffer, header_end, end, delimiter, sizeof(delimiter));
	//the first delimiter opens the body or follows a preamble
	if(n > 0 && !(end - at >= n - 2 && memcmp(buffer + at, delimiter + 2, n - 2) == 0)){
		at = mydecode_find(buffer, at, end, delimiter, n);
		if(at == end)
			n = 0;
		else
			at += 2;
	}
	if(n > 0){
		at = http_line_end(buffer, at, end) + 2;
		//part headers end at an empty line; a part without them starts with its XML
		while(at < end && buffer[at] != '<'){
			eol = http_line_end(buffer, at, end);
			if(eol == at){
				at += 2;
				break;
			}
			at = eol + 2;
		}
		if(at > end)
			at = end;
		*part_end = mydecode_find(buffer, at, end, delimiter, n);
	}else{
		at = header_end + 4;
	}
	while(at < *part_end && (buffer[at] == ' ' || buffer[at] == '\t' || buffer[at] == '\r' || buffer[at] == '\n'))
		at++;
	*xml_beg = at;
}

//what a parse learns beside the tree
typedef struct mydecode_parse_t{
	size_t	root_end;	//offset behind the root element; 0 while it is open
	int	refused;	//a document type declaration ended the parse
}mydecode_parse_t;

//a SOAP message carries no document type declaration: no DTD is read, so no entity is declared
static void mydecode_refuse_dtd(void *ctx, const xmlChar *name, const xmlChar *external_id, const xmlChar *system_id)
{
	xmlParserCtxtPtr	ctxt = (xmlParserCtxtPtr)ctx;

	(void)name;
	(void)external_id;
	(void)system_id;
	((mydecode_parse_t *)ctxt->_private)->refused = 1;
	xmlStopParser(ctxt);
}

static void mydecode_end_element(void *ctx, const xmlChar *localname, const xmlChar *prefix, const xmlChar *URI)
{
	xmlParserCtxtPtr	ctxt = (xmlParserCtxtPtr)ctx;

	xmlSAX2EndElementNs(ctx, localname, prefix, URI);
	if(ctxt->node == NULL)
		((mydecode_parse_t *)ctxt->_private)->root_end = (size_t)xmlByteConsumed(ctxt);
}

//the tree of the XML document xml[0..length): no DTD loaded, no entity expanded, nothing
//fetched, nothing printed. Bytes behind the root element that make no part of a
//document (an attachment) are left out; *root_end tells where the root element ends
static xmlDocPtr mydecode_parse(const char *xml, size_t length, size_t *root_end)
{
	xmlParserCtxtPtr	ctxt;
	xmlDocPtr	doc = NULL;
	mydecode_parse_t	state;
	int	pass;

	*root_end = 0;
	for(pass = 0; pass < 2 && length > 0 && length <= 0x7fffffff; pass++){
		memset(&state, 0, sizeof(state));
		if((ctxt = xmlCreateMemoryParserCtxt(xml, (int)length)) == NULL)
			return NULL;
		xmlCtxtUseOptions(ctxt, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
		ctxt->_private = &state;
		ctxt->sax->internalSubset = mydecode_refuse_dtd;
		ctxt->sax->externalSubset = NULL;
		ctxt->sax->endElementNs = mydecode_end_element;
		xmlParseDocument(ctxt);
		doc = ctxt->myDoc;
		ctxt->myDoc = NULL;
		if(!ctxt->wellFormed || state.refused){
			xmlFreeDoc(doc);
			doc = NULL;
		}
		xmlFreeParserCtxt(ctxt);
		*root_end = state.root_end;
		if(doc != NULL || state.refused || state.root_end == 0 || state.root_end >= length)
			break;
		//well-formed up to the end of the root element: the rest is no XML
		length = state.root_end;
	}
	return doc;
}
