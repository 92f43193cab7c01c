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

//the SOAP version whose envelope namespace the element is in: 11, 12, or 0 for another (strcmp:
//xmlStrcmp goes a byte at a time, and every message asks this of its Envelope and Body)
static int mydecode_version(xmlNodePtr node)
{
	if(node == NULL || node->type != XML_ELEMENT_NODE || node->ns == NULL || node->ns->href == NULL)
		return 0;
	if(strcmp((const char *)node->ns->href, "http://schemas.xmlsoap.org/soap/envelope/") == 0)
		return 11;
	if(strcmp((const char *)node->ns->href, "http://www.w3.org/2003/05/soap-envelope") == 0)
		return 12;
	return 0;
}

//an element of the envelope namespace of the document's SOAP version (its Envelope's, SOAP 1.1's or
//SOAP 1.2's) with the local name given, whatever its prefix
static int mydecode_is_soap(xmlNodePtr node, const char *name)
{
	xmlNodePtr	root = node != NULL ? xmlDocGetRootElement(node->doc) : NULL;
	int	version = mydecode_version(node);

	return version != 0 && version == mydecode_version(root) && !xmlStrcmp(node->name, (const xmlChar *)name);
}

//a Header entry addressed to this node (SOAP 1.1: no actor, or the next one; SOAP 1.2: no role, the
//next one or the ultimate receiver) that says mustUnderstand="1" (or "true"): 1, and the entry named
//in the decode error and, whole, as {namespace}name in named (size bytes), since the caller asks only
//when no header part of the service names it
static int mydecode_must_understand(xmlDocPtr doc, xmlNodePtr cur, char *named, size_t size)
{
	int	soap12 = mydecode_version(xmlDocGetRootElement(doc)) == 12;
	const xmlChar	*env = (const xmlChar *)(soap12 ? "http://www.w3.org/2003/05/soap-envelope" : "http://schemas.xmlsoap.org/soap/envelope/");
	xmlChar	*must = xmlGetNsProp(cur, (const xmlChar *)"mustUnderstand", env);
	xmlChar	*actor = xmlGetNsProp(cur, (const xmlChar *)(soap12 ? "role" : "actor"), env);
	char	*error = (char *)doc->_private;
	int	result = must != NULL && (!xmlStrcmp(must, (const xmlChar *)"1") || !xmlStrcmp(must, (const xmlChar *)"true")) &&
		(actor == NULL || (!soap12 && !xmlStrcmp(actor, (const xmlChar *)"http://schemas.xmlsoap.org/soap/actor/next")) ||
		(soap12 && (!xmlStrcmp(actor, (const xmlChar *)"http://www.w3.org/2003/05/soap-envelope/role/next") ||
		!xmlStrcmp(actor, (const xmlChar *)"http://www.w3.org/2003/05/soap-envelope/role/ultimateReceiver"))));

	if(result && named[0] == '\0')
		snprintf(named, size, "{%s}%s", cur->ns != NULL && cur->ns->href != NULL ? (const char *)cur->ns->href : "", (const char *)cur->name);
	if(result && error != NULL && error[0] == '\0'){
		//a name too long for the message is cut, and marked so, rather than the words saying what is wrong
		int	room = KVPROJ_MAX_DECODE_ERROR_LEN + 1 - (int)sizeof("header ... must be understood, and is not");

		snprintf(error, KVPROJ_MAX_DECODE_ERROR_LEN + 1, "header %.*s%s must be understood, and is not", room, named,
			strlen(named) > (size_t)room ? "..." : "");
	}
	if(must != NULL)
		xmlFree(must);
	if(actor != NULL)
		xmlFree(actor);
	return result;
}

//the first child element of node of the SOAP 1.2 envelope namespace with the local name given; NULL
//when there is none
static xmlNodePtr mydecode_soap12_child(xmlNodePtr node, const char *name)
{
	for(node = node != NULL ? mydecode_element(node->xmlChildrenNode) : NULL; node != NULL; node = mydecode_element(node->next)){
		if(mydecode_version(node) == 12 && !xmlStrcmp(node->name, (const xmlChar *)name))
			return node;
	}
	return NULL;
}

//the text of node into dest (at most size-1 bytes); a fault code of the envelope's namespace is
//written with the prefix SOAP-ENV, whatever prefix the message gave it
static void mydecode_fault_text(xmlNodePtr node, char *dest, size_t size, int code)
{
	xmlChar	*text = node != NULL ? xmlNodeListGetString(node->doc, node->xmlChildrenNode, 1) : NULL;
	const char	*value = text != NULL ? (const char *)text : "";
	const char	*colon = strchr(value, ':');
	xmlChar	*prefix = NULL;
	xmlNsPtr	ns;

	dest[0] = '\0';
	if(code && colon != NULL){
		prefix = xmlStrndup((const xmlChar *)value, (int)(colon - value));
		ns = xmlSearchNs(node->doc, node, prefix);
		if(ns != NULL && !xmlStrcmp(ns->href, (const xmlChar *)"http://www.w3.org/2003/05/soap-envelope")){
			snprintf(dest, size, "SOAP-ENV:%s", colon + 1);
			value = NULL;
		}
		xmlFree(prefix);
	}
	if(value != NULL)
		mydecode_copy(dest, size, value, strlen(value));
	if(text != NULL)
		xmlFree(text);
}

//the namespace the prefix of the code text (written as mydecode_fault_text writes it) stands for at
//node into dest (at most size-1 bytes); empty without a prefix, for the envelope's own, or for one
//declared nowhere
static void mydecode_code_namespace(xmlNodePtr node, const char *text, char *dest, size_t size)
{
	const char	*colon = strchr(text, ':');
	xmlChar	*prefix;
	xmlNsPtr	ns = NULL;

	dest[0] = '\0';
	if(node == NULL || colon == NULL || strncmp(text, "SOAP-ENV:", 9) == 0)
		return;
	if((prefix = xmlStrndup((const xmlChar *)text, (int)(colon - text))) != NULL){
		ns = xmlSearchNs(node->doc, node, prefix);
		xmlFree(prefix);
	}
	if(ns != NULL && ns->href != NULL)
		mydecode_copy(dest, size, (const char *)ns->href, strlen((const char *)ns->href));
}

//a SOAP 1.2 Fault: Code/Value into faultcode, Code/Subcode/Value into subcode (the namespace of its
//prefix into subcode_ns), the first
//Reason/Text into faultstring with its xml:lang into lang, and the Detail through read_detail, which
//reads SOAP 1.1's detail; -1 without the Code or the Reason the Fault must have, or with a Detail
//that does not decode
static int mydecode_fault12(xmlNodePtr fault, kvproj_soap_fault_msg_t *value, int (*read_detail)(xmlDocPtr, xmlNodePtr, kvproj_soap_fault_msg_t *))
{
	xmlNodePtr	code = mydecode_soap12_child(fault, "Code");
	xmlNodePtr	reason = mydecode_soap12_child(fault, "Reason");
	xmlNodePtr	text = mydecode_soap12_child(reason, "Text");
	xmlNodePtr	detail = mydecode_soap12_child(fault, "Detail");
	xmlNodePtr	subcode;
	xmlChar	*lang;

	memset(value, 0, sizeof(*value));
	if(code == NULL || reason == NULL || mydecode_soap12_child(code, "Value") == NULL)
		return -1;
	mydecode_fault_text(mydecode_soap12_child(code, "Value"), value->faultcode, sizeof(value->faultcode), 1);
	subcode = mydecode_soap12_child(mydecode_soap12_child(code, "Subcode"), "Value");
	mydecode_fault_text(subcode, value->subcode, sizeof(value->subcode), 1);
	mydecode_code_namespace(subcode, value->subcode, value->subcode_ns, sizeof(value->subcode_ns));
	mydecode_fault_text(text, value->faultstring, sizeof(value->faultstring), 0);
	if(text != NULL && (lang = xmlNodeGetLang(text)) != NULL){
		mydecode_copy(value->lang, sizeof(value->lang), (const char *)lang, strlen((const char *)lang));
		xmlFree(lang);
	}
	return detail != NULL ? read_detail(fault->doc, detail, value) : 0;
}

//SOAP encoding's multi-reference values: every element of the Body with href="#name" takes a copy
//of the attributes (but id) and the content of the Body's element whose id is name; copies resolve
//in turn. In a SOAP 1.2 message the attributes are SOAP 1.2 encoding's ref="name" and id. A reference to no element, to no element of the Body, or to an element it stands in
//(a cycle), a second element of one id, or copies beyond the budget fail the message: -1, the
//decode error saying why (a service of literal messages only leaves this unused)
static int mydecode_resolve(xmlDocPtr doc, xmlNodePtr body, size_t length) KVPROJ_MAYBE_UNUSED;

//the error of the first failure, -1
static int mydecode_resolve_refuse(xmlDocPtr doc, const char *why, const xmlChar *name)
{
	char	*error = (char *)doc->_private;

	if(error != NULL && error[0] == '\0')
		snprintf(error, KVPROJ_MAX_DECODE_ERROR_LEN + 1, "%s/id: %s %.80s", mydecode_version(xmlDocGetRootElement(doc)) == 12 ? "ref" : "href",
			why, name != NULL ? (const char *)name : "");
	return -1;
}

//the node after node in document order within top (its children first)
static xmlNodePtr mydecode_following(xmlNodePtr node, xmlNodePtr top)
{
	if(node->children != NULL && node->type == XML_ELEMENT_NODE)
		return node->children;
	while(node != top && node->next == NULL)
		node = node->parent;
	return node == top ? NULL : node->next;
}

//an element of the Body by its id, in the Body's list of them sorted by id
typedef struct mydecode_identified_t{
	xmlChar		*id;
	xmlNodePtr	node;
}mydecode_identified_t;

static int mydecode_identified_order(const void *a, const void *b)
{
	return xmlStrcmp(((const mydecode_identified_t *)a)->id, ((const mydecode_identified_t *)b)->id);
}

//the namespace of the id and ref attributes in a message of the version given: none in SOAP 1.1
static const xmlChar *mydecode_reference_ns(int version)
{
	return version == 12 ? (const xmlChar *)"http://www.w3.org/2003/05/soap-encoding" : NULL;
}

//the attribute name of node in the namespace ns (NULL: in none); NULL when node has none
static xmlAttrPtr mydecode_reference_attr(xmlNodePtr node, const char *name, const xmlChar *ns)
{
	xmlAttrPtr	attr;

	for(attr = node->properties; attr != NULL; attr = attr->next){
		if(!xmlStrcmp(attr->name, (const xmlChar *)name) && (ns == NULL ? attr->ns == NULL : attr->ns != NULL && !xmlStrcmp(attr->ns->href, ns)))
			return attr;
	}
	return NULL;
}

//the Body's elements that have an id, sorted by it, into *list (to be freed with their ids); their
//number, or -1 without memory or when two elements have one id
static long mydecode_identify(xmlDocPtr doc, xmlNodePtr body, mydecode_identified_t **list)
{
	const xmlChar	*ns = mydecode_reference_ns(mydecode_version(xmlDocGetRootElement(doc)));
	xmlNodePtr	node;
	xmlAttrPtr	attr;
	xmlChar		*id;
	long		count = 0, room = 0, i;
	mydecode_identified_t	*grown;

	*list = NULL;
	for(node = body->children; node != NULL; node = mydecode_following(node, body)){
		if(node->type != XML_ELEMENT_NODE || (attr = mydecode_reference_attr(node, "id", ns)) == NULL ||
			(id = xmlNodeGetContent((xmlNodePtr)attr)) == NULL)
			continue;
		if(count == room){
			room = room == 0 ? 16 : room * 2;
			if((grown = (mydecode_identified_t *)realloc(*list, (size_t)room * sizeof(**list))) == NULL){
				xmlFree(id);
				break;
			}
			*list = grown;
		}
		(*list)[count].id = id;
		(*list)[count++].node = node;
	}
	if(count > 0)
		qsort(*list, (size_t)count, sizeof(**list), mydecode_identified_order);
	for(i = 1; i < count && xmlStrcmp((*list)[i - 1].id, (*list)[i].id) != 0; i++)
		;
	if(i < count)
		mydecode_resolve_refuse(doc, "two elements have the id", (*list)[i].id);
	if(node != NULL)
		mydecode_resolve_refuse(doc, "no memory for the ids", NULL);
	if(i < count || node != NULL){
		while(count > 0)
			xmlFree((*list)[--count].id);
		free(*list);
		*list = NULL;
		return -1;
	}
	return count;
}

//the element a reference "#id" (SOAP 1.2: "id") names; NULL when none does
static xmlNodePtr mydecode_referenced(const mydecode_identified_t *list, long count, const xmlChar *href, int version)
{
	mydecode_identified_t	key, *found;

	if((version != 12 && href[0] != '#') || count == 0)
		return NULL;
	key.id = (xmlChar *)href + (version != 12);
	found = (mydecode_identified_t *)bsearch(&key, list, (size_t)count, sizeof(*list), mydecode_identified_order);
	return found != NULL ? found->node : NULL;
}

//appends a copy of the target's attributes (but id) and content to node; a copy's ids stay behind,
//so that each id names one element; -1 without memory or beyond the budget of copied nodes
static int mydecode_copy_in(xmlDocPtr doc, xmlNodePtr node, xmlNodePtr target, long *budget)
{
	const xmlChar	*ns = mydecode_reference_ns(mydecode_version(xmlDocGetRootElement(doc)));
	xmlNodePtr	child, copy, inner;
	xmlAttrPtr	attr, made;

	for(attr = target->properties; attr != NULL; attr = attr->next){
		if(attr == mydecode_reference_attr(target, "id", ns))
			continue;
		if((made = xmlCopyProp(node, attr)) == NULL)
			return mydecode_resolve_refuse(doc, "no memory at", node->name);
		//the copy names node its parent already, which xmlAddChild would take for linked
		made->parent = NULL;
		xmlAddChild(node, (xmlNodePtr)made);
	}
	for(child = target->children; child != NULL; child = child->next){
		for(inner = child; inner != NULL; inner = mydecode_following(inner, child))
			(*budget)--;
		if(*budget < 0)
			return mydecode_resolve_refuse(doc, "more copies than a message holds, at", node->name);
		if((copy = xmlDocCopyNode(child, doc, 1)) == NULL)
			return mydecode_resolve_refuse(doc, "no memory at", node->name);
		xmlAddChild(node, copy);
		for(inner = copy; inner != NULL; inner = mydecode_following(inner, copy)){
			if(inner->type == XML_ELEMENT_NODE && (attr = mydecode_reference_attr(inner, "id", ns)) != NULL)
				xmlRemoveProp(attr);
		}
	}
	return 0;
}

static int mydecode_resolve(xmlDocPtr doc, xmlNodePtr body, size_t length)
{
	//a reference copies nodes, at most as many in all as the message (length bytes) has bytes, or
	//KVPROJ_MAX_MESSAGE_LEN for a shorter one
	long		budget = length > KVPROJ_MAX_MESSAGE_LEN ? (long)length : KVPROJ_MAX_MESSAGE_LEN, count;
	mydecode_identified_t	*list;
	xmlNodePtr	node, target = NULL, up;
	xmlChar		*href = NULL;
	int		result = 0, version = mydecode_version(xmlDocGetRootElement(doc));
	const xmlChar	*ns = mydecode_reference_ns(version);
	const char	*name = version == 12 ? "ref" : "href";
	xmlAttrPtr	attr;

	if((count = mydecode_identify(doc, body, &list)) < 0)
		return -1;
	for(node = body->children; node != NULL && result == 0; node = mydecode_following(node, body)){
		if(node->type != XML_ELEMENT_NODE || (attr = mydecode_reference_attr(node, name, ns)) == NULL ||
			(href = xmlNodeGetContent((xmlNodePtr)attr)) == NULL)
			continue;
		if((target = mydecode_referenced(list, count, href, version)) == NULL)
			result = mydecode_resolve_refuse(doc, "no element of the Body is", href);
		//an element that stands in its target, or in a copy of it, would copy itself without end
		for(up = node; result == 0 && up != NULL && up != body; up = up->parent){
			if(up == target || up->_private == (void *)target)
				result = mydecode_resolve_refuse(doc, "a cycle through", href);
		}
		xmlFree(href);
		if(result == 0){
			xmlRemoveProp(attr);
			node->_private = (void *)target;
			result = mydecode_copy_in(doc, node, target, &budget);
		}
	}
	while(count > 0)
		xmlFree(list[--count].id);
	free(list);
	return result;
}

//offset of the first n bytes equal to what in text[from..end), or end
static size_t mydecode_find(const char *text, size_t from, size_t end, const char *what, size_t n)
{
	const char	*first;

	//memchr leaps to each place the first byte stands, far faster than a byte-by-byte walk
	while(n > 0 && from + n <= end && (first = (const char *)memchr(text + from, what[0], end - from - n + 1)) != NULL){
		from = (size_t)(first - text);
		if(n == 1 || memcmp(first + 1, what + 1, n - 1) == 0)
			return from;
		from++;
	}
	return end;
}

//the value of the parameter name (any case) of a header value such as a Content-Type, without
//its quotes; NULL when it has none
static const char *mydecode_param(const char *value, size_t len, const char *name, size_t *param_len)
{
	size_t	i = 0, b, e, vb, ve;

	while(i < len && value[i] != ';')
		i++;
	while(i < len){
		for(i++; i < len && (value[i] == ' ' || value[i] == '\t'); i++)
			;
		for(b = i; i < len && value[i] != '=' && value[i] != ';'; i++)
			;
		for(e = i; e > b && (value[e - 1] == ' ' || value[e - 1] == '\t'); e--)
			;
		if(i == len || value[i] != '=')
			continue;
		if(++i < len && value[i] == '"'){
			for(vb = ++i; i < len && value[i] != '"'; i++)
				i += value[i] == '\\' && i + 1 < len;
			ve = i;
		}else{
			for(vb = i; i < len && value[i] != ';' && value[i] != ' ' && value[i] != '\t'; i++)
				;
			ve = i;
		}
		if(http_is_word(value + b, e - b, name)){
			*param_len = ve - vb;
			return value + vb;
		}
		while(i < len && value[i] != ';')
			i++;
	}
	return NULL;
}

//CR LF and the delimiter of a multipart body ("--" and its boundary) into delimiter: the
//boundary of a multipart Content-Type (value[0..value_len)), or else a first body line that
//starts with "--"; its length, 0 when the body is no multipart body
static size_t mydecode_delimiter(const char *value, size_t value_len, const char *buffer, size_t body, size_t end, char *delimiter, size_t size)
{
	const char	*boundary = NULL;
	size_t	n = 0;

	if(value != NULL && value_len >= 10 && http_is_word(value, 10, "multipart/"))
		boundary = mydecode_param(value, value_len, "boundary", &n);
	else if(end - body > 2 && buffer[body] == '-' && buffer[body + 1] == '-'){
		boundary = buffer + body + 2;
		n = http_line_end(buffer, body, end) - body - 2;
	}
	if(boundary == NULL || n == 0 || n + 5 > size)
		return 0;
	memcpy(delimiter, "\r\n--", 4);
	memcpy(delimiter + 4, boundary, n);
	return n + 4;
}

//where the content of the part whose header lines start at at begins: behind the empty line
//that ends them; a part without them starts with its XML
static size_t mydecode_part_content(const char *buffer, size_t at, size_t end)
{
	size_t	eol;

	while(at < end && buffer[at] != '<'){
		eol = http_line_end(buffer, at, end);
		if(eol == at)
			return at + 2 > end ? end : at + 2;
		at = eol + 2;
	}
	return at > end ? end : at;
}

//whether text[0..len) and id[0..id_len) are one Content-ID, angle brackets aside
static int mydecode_same_id(const char *text, size_t len, const char *id, size_t id_len)
{
	if(len >= 2 && text[0] == '<' && text[len - 1] == '>'){
		text++;
		len -= 2;
	}
	if(id_len >= 2 && id[0] == '<' && id[id_len - 1] == '>'){
		id++;
		id_len -= 2;
	}
	return len == id_len && memcmp(text, id, len) == 0;
}

//whether the part headers buffer[from..to) give the part a type a SOAP envelope comes in (or none)
static int mydecode_root_type(const char *buffer, size_t from, size_t to)
{
	const char	*type;
	size_t	len, n = 0;

	if((type = http_field_in(buffer, from, to, "Content-Type", &len)) == NULL)
		return 1;
	while(n < len && type[n] != ';' && type[n] != ' ' && type[n] != '\t')
		n++;
	return http_is_word(type, n, "text/xml") || http_is_word(type, n, "application/xop+xml") ||
		http_is_word(type, n, "application/soap+xml");
}

//where the SOAP envelope lies in the body of the message buffer[0..end), whose header ends at
//header_end: in a multipart body the root part (the one the start parameter names by its
//Content-ID, else the first), behind its delimiter line and part headers, up to the next
//delimiter; else the whole body. Leading blanks are passed over. A start naming no part, or a
//root of a type that holds no envelope, is refused with -1 and why
static int mydecode_locate(const char *buffer, size_t header_end, size_t end, size_t *xml_beg, size_t *part_end, const char **why)
{
	char	delimiter[128];
	const char	*type, *start = NULL, *id;
	size_t	n, at = header_end + 4, type_len = 0, start_len = 0, id_len, headers = 0, content = 0;

	*part_end = end;
	type = http_header_value(buffer, header_end + 2, "Content-Type", &type_len);
	n = mydecode_delimiter(type, type_len, buffer, at, end, delimiter, sizeof(delimiter));
	if(n > 0 && type != NULL)
		start = mydecode_param(type, type_len, "start", &start_len);
	//the first delimiter opens the body or follows a preamble
	if(n > 0 && !(end - at >= n - 2 && memcmp(buffer + at, delimiter + 2, n - 2) == 0)){
		at = mydecode_find(buffer, at, end, delimiter, n);
		if(at == end)
			n = 0;
		else
			at += 2;
	}
	if(n == 0){
		at = header_end + 4;
	}else{
		for(;;){
			headers = http_line_end(buffer, at, end) + 2;
			content = mydecode_part_content(buffer, headers, end);
			*part_end = mydecode_find(buffer, content, end, delimiter, n);
			if(start == NULL || ((id = http_field_in(buffer, headers, content, "Content-ID", &id_len)) != NULL &&
					mydecode_same_id(id, id_len, start, start_len)))
				break;
			//the close delimiter ends the parts
			at = *part_end + 2;
			if(*part_end == end || (end - at >= n && memcmp(buffer + at + n - 2, "--", 2) == 0)){
				*why = "multipart: no part has the Content-ID that the start parameter names";
				return -1;
			}
		}
		if(!mydecode_root_type(buffer, headers, content)){
			*why = "multipart: the root part's Content-Type is no XML type a SOAP envelope comes in";
			return -1;
		}
		at = content;
	}
	while(at < *part_end && (buffer[at] == ' ' || buffer[at] == '\t' || buffer[at] == '\r' || buffer[at] == '\n'))
		at++;
	*xml_beg = at;
	return 0;
}

//bounds on the markup of one message, each refused before a parse pays for it: libxml2's time for
//the attributes and the namespace declarations of one element grows with the square of their
//number, and each namespace in scope lengthens every look-up of a prefix. A build may set its own
//(-D); the nesting depth stays at most libxml2's own bound, 256
#ifndef KVPROJ_MAX_ELEMENT_ATTRIBUTES
#define KVPROJ_MAX_ELEMENT_ATTRIBUTES 128
#endif
#ifndef KVPROJ_MAX_ELEMENT_NAMESPACES
#define KVPROJ_MAX_ELEMENT_NAMESPACES 64
#endif
#ifndef KVPROJ_MAX_MESSAGE_NAMESPACES
#define KVPROJ_MAX_MESSAGE_NAMESPACES 256
#endif
#ifndef KVPROJ_MAX_DEPTH
#define KVPROJ_MAX_DEPTH 256
#endif

//what the markup of a message holds so far, and the first bound it passed (NULL: none)
typedef struct mydecode_tally_t{
	long	depth;
	long	namespaces;
	const char	*passed;	//the bound's words, and its macro's name and value
	const char	*macro;
	long	bound;
}mydecode_tally_t;

//whether count passes the bound; the first bound passed is kept
static int mydecode_passes(mydecode_tally_t *tally, long count, long bound, const char *passed, const char *macro)
{
	if(count <= bound)
		return 0;
	if(tally->passed == NULL){
		tally->passed = passed;
		tally->macro = macro;
		tally->bound = bound;
	}
	return 1;
}

static int mydecode_is_blank(char c)
{
	return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

//whether c ends a tag's name: a blank, '/' or '>'. Every byte above '>' (letters, the most of a
//name) is told by the first comparison
static int mydecode_ends_name(char c)
{
	return (unsigned char)c <= '>' && (c == '>' || c == '/' || mydecode_is_blank(c));
}

//the offset behind the first n bytes close in xml[at..end); end when none comes
static size_t mydecode_behind(const char *xml, size_t at, size_t end, const char *close, size_t n)
{
	at = mydecode_find(xml, at, end, close, n);
	return at == end ? end : at + n;
}

//the attribute whose name begins at xml[at..end) (a start tag's), counted as a namespace
//declaration or an attribute: the offset behind its value, or end where the tag is no well-formed
//one (the parse says why)
static size_t mydecode_tally_attribute(const char *xml, size_t at, size_t end, long *attributes, long *declarations)
{
	size_t	name = at;
	const char	*close;

	while(at < end && xml[at] != '=' && xml[at] != '>' && !mydecode_is_blank(xml[at]))
		at++;
	if(at - name >= 5 && memcmp(xml + name, "xmlns", 5) == 0 && (at - name == 5 || xml[name + 5] == ':'))
		++*declarations;
	else
		++*attributes;
	while(at < end && mydecode_is_blank(xml[at]))
		at++;
	if(at < end && xml[at] == '=')
		at++;
	while(at < end && mydecode_is_blank(xml[at]))
		at++;
	if(at >= end || (xml[at] != '"' && xml[at] != '\''))
		return end;
	close = (const char *)memchr(xml + at + 1, xml[at], end - at - 1);
	return close == NULL ? end : (size_t)(close - xml) + 1;
}

//the start tag whose name begins at xml[at..end): its attributes and namespace declarations
//counted, and the element's depth; the offset behind it, or end where it is no well-formed tag or
//passes a bound
static size_t mydecode_tally_tag(const char *xml, size_t at, size_t end, mydecode_tally_t *tally)
{
	long	attributes = 0, declarations = 0;

	while(at < end && !mydecode_ends_name(xml[at]))
		at++;
	for(;;){
		while(at < end && mydecode_is_blank(xml[at]))
			at++;
		if(at >= end)
			return end;
		if(xml[at] == '/' || xml[at] == '>'){
			tally->namespaces += declarations;
			if(xml[at] == '/')
				return at + 1 < end && xml[at + 1] == '>' ? at + 2 : end;
			return mydecode_passes(tally, ++tally->depth, KVPROJ_MAX_DEPTH, "elements nested in one another",
				"KVPROJ_MAX_DEPTH") ? end : at + 1;
		}
		at = mydecode_tally_attribute(xml, at, end, &attributes, &declarations);
		if(mydecode_passes(tally, attributes, KVPROJ_MAX_ELEMENT_ATTRIBUTES, "attributes on one element",
				"KVPROJ_MAX_ELEMENT_ATTRIBUTES") ||
			mydecode_passes(tally, declarations, KVPROJ_MAX_ELEMENT_NAMESPACES, "namespace declarations on one element",
				"KVPROJ_MAX_ELEMENT_NAMESPACES") ||
			mydecode_passes(tally, tally->namespaces + declarations, KVPROJ_MAX_MESSAGE_NAMESPACES,
				"namespace declarations in one message", "KVPROJ_MAX_MESSAGE_NAMESPACES"))
			return end;
	}
}

//refuses a message whose markup xml[0..length) passes a bound, before any parse pays for it:
//-1, and why with the line and column of the element that passed it in error (size bytes). The
//bytes are looked at once; markup that is not well-formed is left to the parse to refuse
static int mydecode_within_bounds(const char *xml, size_t length, char *error, size_t size)
{
	mydecode_tally_t	tally;
	const char	*lt;
	size_t	at = 0, tag = 0, i;
	unsigned long	line = 1, column = 1;

	memset(&tally, 0, sizeof(tally));
	while(tally.passed == NULL && at < length && (lt = (const char *)memchr(xml + at, '<', length - at)) != NULL){
		tag = (size_t)(lt - xml);
		//told by the byte behind the '<' first: nearly every one starts a tag or ends an element
		if(length - tag < 2 || (lt[1] != '!' && lt[1] != '/' && lt[1] != '?'))
			at = mydecode_tally_tag(xml, tag + 1, length, &tally);
		else if(lt[1] == '/'){
			//an end tag holds no '<': the search for the next one passes over it
			tally.depth -= tally.depth > 0;
			at = tag + 2;
		}else if(length - tag >= 4 && memcmp(lt, "<!--", 4) == 0)
			at = mydecode_behind(xml, tag + 4, length, "-->", 3);
		else if(length - tag >= 9 && memcmp(lt, "<![CDATA[", 9) == 0)
			at = mydecode_behind(xml, tag + 9, length, "]]>", 3);
		else if(lt[1] == '?')
			at = mydecode_behind(xml, tag + 2, length, "?>", 2);
		else
			at = mydecode_behind(xml, tag + 2, length, ">", 1);
	}
	if(tally.passed == NULL)
		return 0;
	for(i = 0; i < tag; i++){
		column = xml[i] == '\n' ? 1 : column + 1;
		line += xml[i] == '\n';
	}
	snprintf(error, size, "line %lu, column %lu: more than %ld %s (%s)", line, column, tally.bound, tally.passed, tally.macro);
	return -1;
}

//the time one message's parse may take, in microseconds from its start; the call's deadline
//bounds it as well. A build may set its own (-D)
#ifndef KVPROJ_MAX_DECODE_USEC
#define KVPROJ_MAX_DECODE_USEC 10000000
#endif

//when one message's parse must have ended, and how far it got
typedef struct mydecode_time_t{
	tessaro_usec_t	deadline;
	tessaro_usec_t	bound;	//KVPROJ_MAX_DECODE_USEC, or less when the call's deadline came first
	size_t	handed;	//bytes handed to the parser, of length
	size_t	length;
	int	late;
}mydecode_time_t;

//starts the time of a message's parse: call_deadline is the call's (negative: none)
static void mydecode_time_start(mydecode_time_t *time, tessaro_usec_t call_deadline)
{
	tessaro_usec_t	now = tessaro_clock_usec();

	memset(time, 0, sizeof(*time));
	time->bound = KVPROJ_MAX_DECODE_USEC;
	if(call_deadline >= 0 && call_deadline - now < time->bound)
		time->bound = call_deadline > now ? call_deadline - now : 0;
	time->deadline = now + time->bound;
}

//-1 with why in error (size bytes) when the parse was stopped at its deadline, else 0
static int mydecode_late(const mydecode_time_t *time, char *error, size_t size)
{
	if(!time->late)
		return 0;
	snprintf(error, size, "the message's decoding passed its time (%ld microseconds: KVPROJ_MAX_DECODE_USEC or the call's "
		"time-out) after %lu of its %lu bytes", (long)time->bound, (unsigned long)time->handed, (unsigned long)time->length);
	return -1;
}

//the bytes of the document not yet handed to the parser, and the parse's time; the gap's bytes (none
//where gap is NULL) are passed over, read by the caller itself
typedef struct mydecode_bytes_t{
	const char	*at;
	size_t	left;
	mydecode_time_t	*time;
	const char	*gap;
	size_t	gap_length;
}mydecode_bytes_t;

//hands the parser the next bytes of the document: the parser keeps only those it has not passed.
//Past the deadline the parse is stopped (an error) before it is handed more: the first bytes
//always go, so that a short message is read whatever the clock says
static int mydecode_next_bytes(void *context, char *buffer, int room)
{
	mydecode_bytes_t	*bytes = (mydecode_bytes_t *)context;
	size_t	n;

	if(bytes->gap != NULL && bytes->at == bytes->gap){
		bytes->at += bytes->gap_length;
		bytes->left -= bytes->gap_length;
		bytes->time->handed += bytes->gap_length;
		bytes->gap = NULL;
	}
	n = bytes->left < (size_t)room ? bytes->left : (size_t)room;
	if(bytes->gap != NULL && n > (size_t)(bytes->gap - bytes->at))
		n = (size_t)(bytes->gap - bytes->at);
	if(n > 0 && bytes->time->handed > 0 && tessaro_clock_usec() > bytes->time->deadline){
		bytes->time->late = 1;
		return -1;
	}
	memcpy(buffer, bytes->at, n);
	bytes->at += n;
	bytes->left -= n;
	bytes->time->handed += n;
	return (int)n;
}

static int mydecode_no_close(void *context)
{
	(void)context;
	return 0;
}

//what a parse learns beside the tree
typedef struct mydecode_parse_t{
	size_t	root_end;	//offset behind the root element; 0 while it is open
	int	refused;	//a document type declaration ended the parse
	int	references;	//an element has an attribute named id, href or ref (of any namespace)
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

//an attribute's local name that may make a value by reference (id, href or ref, of any namespace)
static int mydecode_is_reference_name(const char *name)
{
	//told by the first letter first: every attribute of every element comes here
	switch(name[0]){
	case 'i':
		return strcmp(name, "id") == 0;
	case 'h':
		return strcmp(name, "href") == 0;
	case 'r':
		return strcmp(name, "ref") == 0;
	default:
		return 0;
	}
}

//notes an attribute that may make a value by reference, so that a message without one is not
//walked in search of them
static void mydecode_start_element(void *ctx, const xmlChar *localname, const xmlChar *prefix, const xmlChar *URI,
	int nb_namespaces, const xmlChar **namespaces, int nb_attributes, int nb_defaulted, const xmlChar **attributes)
{
	xmlParserCtxtPtr	ctxt = (xmlParserCtxtPtr)ctx;
	mydecode_parse_t	*state = (mydecode_parse_t *)ctxt->_private;
	int	i;

	xmlSAX2StartElementNs(ctx, localname, prefix, URI, nb_namespaces, namespaces, nb_attributes, nb_defaulted, attributes);
	//each attribute is five pointers: its local name, prefix, namespace, value and value's end
	for(i = 0; i < nb_attributes && !state->references; i++)
		state->references = mydecode_is_reference_name((const char *)attributes[i * 5]);
}

static void mydecode_end_element(void *ctx, const xmlChar *localname, const xmlChar *prefix, const xmlChar *URI)
{
	xmlParserCtxtPtr	ctxt = (xmlParserCtxtPtr)ctx;

	xmlSAX2EndElementNs(ctx, localname, prefix, URI);
	if(ctxt->node == NULL)
		((mydecode_parse_t *)ctxt->_private)->root_end = (size_t)xmlByteConsumed(ctxt);
}

//a parser context of the thread's own, kept between documents: making one for each document takes
//libxml2's process-wide locks (its dictionaries' seed and counts), on which threads that read side by
//side wait for each other. It is made anew after MYDECODE_CONTEXT_USES documents or once its
//dictionary holds MYDECODE_CONTEXT_NAMES names, so that names that came with documents cannot pile up,
//and freed when its thread ends
#define MYDECODE_CONTEXT_USES	1000
#define MYDECODE_CONTEXT_NAMES	4096

//the input buffer of a document of at most this many bytes, read without a conversion or an error, is
//kept for the thread's next document: a new one for each document is an allocation large enough to
//gather up the small blocks the decode before it freed, which its own allocations then no longer
//find ready. The buffer of a longer document may have grown with it, and is freed
#define MYDECODE_INPUT_KEPT_MOST	65536

//a parser context reading the bytes of input (taken: freed with the context) with the handler's
//default events, and options that give the tree no names of the dictionary (which would take those
//locks too): the thread's kept one when it is free (a read within a read makes its own), else a new
//one. NULL without memory
static xmlParserCtxtPtr mydecode_context_take(xmlParserInputBufferPtr input) KVPROJ_MAYBE_UNUSED;

static xmlParserCtxtPtr mydecode_context_take(xmlParserInputBufferPtr input)
{
	mykept_t	*kept = input != NULL ? mykept() : NULL;
	xmlParserCtxtPtr	ctxt = NULL;
	xmlParserInputPtr	stream;

	if(input == NULL)
		return NULL;
	if(kept != NULL && kept->ctxt != NULL){
		ctxt = kept->ctxt;
		kept->ctxt = NULL;
		xmlCtxtReset(ctxt);
		xmlSAXVersion(ctxt->sax, 2);
	}else if((ctxt = xmlNewParserCtxt()) == NULL){
		xmlFreeParserInputBuffer(input);
		return NULL;
	}
	if((stream = xmlNewIOInputStream(ctxt, input, XML_CHAR_ENCODING_NONE)) == NULL){
		xmlFreeParserInputBuffer(input);
		xmlFreeParserCtxt(ctxt);
		return NULL;
	}
	inputPush(ctxt, stream);
	xmlCtxtUseOptions(ctxt, XML_PARSE_NONET | XML_PARSE_COMPACT | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NODICT);
	return ctxt;
}

//an input buffer that asks bytes for the document's bytes (see mydecode_next_bytes): the thread's kept
//one emptied, else a new one; NULL without memory
static xmlParserInputBufferPtr mydecode_input(mydecode_bytes_t *bytes)
{
	mykept_t	*kept = mykept();
	xmlParserInputBufferPtr	input;

	if(kept == NULL || kept->input == NULL)
		return xmlParserInputBufferCreateIO(mydecode_next_bytes, mydecode_no_close, bytes, XML_CHAR_ENCODING_NONE);
	input = kept->input;
	kept->input = NULL;
	//what the document before left unread goes; libxml2 set another read function at its end
	xmlBufShrink(input->buffer, xmlBufUse(input->buffer));
	input->context = bytes;
	input->readcallback = mydecode_next_bytes;
	return input;
}

//takes the input buffer of the document ctxt read for the thread's next document, where
//MYDECODE_INPUT_KEPT_MOST allows it and the thread keeps none. The buffer is told by its close
//function, which libxml2 leaves as it was
static void mydecode_input_keep(mykept_t *kept, xmlParserCtxtPtr ctxt)
{
	xmlParserInputBufferPtr	input = ctxt->inputNr == 1 && ctxt->input != NULL ? ctxt->input->buf : NULL;

	if(kept == NULL || kept->input != NULL || input == NULL || input->closecallback != mydecode_no_close || input->encoder != NULL ||
		input->raw != NULL || input->error != 0 || ((mydecode_bytes_t *)input->context)->time->length > MYDECODE_INPUT_KEPT_MOST)
		return;
	kept->input = input;
	ctxt->input->buf = NULL;
}

//gives back a context mydecode_context_take gave, its document read (a tree left in it is freed)
static void mydecode_context_give(xmlParserCtxtPtr ctxt) KVPROJ_MAYBE_UNUSED;

static void mydecode_context_give(xmlParserCtxtPtr ctxt)
{
	mykept_t	*kept = mykept_get();

	mydecode_input_keep(kept, ctxt);
	xmlFreeDoc(ctxt->myDoc);
	ctxt->myDoc = NULL;
	ctxt->_private = NULL;
	if(kept != NULL && kept->ctxt == NULL && ++kept->uses < MYDECODE_CONTEXT_USES && ctxt->dict != NULL &&
		xmlDictSize(ctxt->dict) < MYDECODE_CONTEXT_NAMES){
		kept->ctxt = ctxt;
		return;
	}
	if(kept != NULL && kept->ctxt == NULL)
		kept->uses = 0;
	xmlFreeParserCtxt(ctxt);
}

//the document's start, its declaration read: where the parser holds all of its bytes as they came (no
//conversion, which the parser's asking for more would carry on), it is told that none are left to
//ask for, as it is told of a document in memory. Else it asks again at each name and value of the
//last bytes, which are the whole of most messages
static void mydecode_all_handed(xmlParserCtxtPtr ctxt)
{
	xmlParserInputBufferPtr	input = ctxt->inputNr == 1 && ctxt->input != NULL ? ctxt->input->buf : NULL;

	if(input != NULL && input->closecallback == mydecode_no_close && input->encoder == NULL && input->raw == NULL &&
		((mydecode_bytes_t *)input->context)->left == 0)
		input->readcallback = NULL;
}

//the start of a document whose tree is built
static void mydecode_start_document(void *ctx)
{
	xmlSAX2StartDocument(ctx);
	mydecode_all_handed((xmlParserCtxtPtr)ctx);
}

//the start of a document read without any tree: no document is made for it
static void mydecode_start_treeless(void *ctx) KVPROJ_MAYBE_UNUSED;

static void mydecode_start_treeless(void *ctx)
{
	mydecode_all_handed((xmlParserCtxtPtr)ctx);
}

//a parser of the document xml[0..length) that asks for its bytes as it goes (see
//mydecode_next_bytes), bytes the state of its reading; NULL when none can be made
static xmlParserCtxtPtr mydecode_parser(const char *xml, size_t length, mydecode_bytes_t *bytes, mydecode_time_t *time)
{
	xmlParserCtxtPtr	ctxt;

	bytes->at = xml;
	bytes->left = length;
	bytes->time = time;
	bytes->gap = NULL;
	bytes->gap_length = 0;
	time->length = length;
	time->handed = 0;
	if(length == 0 || length > 0x7fffffff || (ctxt = mydecode_context_take(mydecode_input(bytes))) == NULL)
		return NULL;
	ctxt->sax->startDocument = mydecode_start_document;
	return ctxt;
}

//the tree of the XML document xml[0..length): no DTD loaded, no entity expanded, nothing
//fetched, nothing printed, none when time passes its deadline (time->late). Bytes behind the root
//element that make no part of a document (an attachment) are left out; *root_end tells where the root element ends, and
//*references whether an element may refer to another or be referred to (see mydecode_parse_t)
static xmlDocPtr mydecode_parse(const char *xml, size_t length, mydecode_time_t *time, size_t *root_end, int *references)
{
	xmlParserCtxtPtr	ctxt;
	xmlDocPtr	doc = NULL;
	mydecode_parse_t	state;
	mydecode_bytes_t	bytes;
	int	pass;

	*root_end = 0;
	for(pass = 0; pass < 2 && !time->late; pass++){
		memset(&state, 0, sizeof(state));
		//a short text lies in its node (XML_PARSE_COMPACT): one allocation less for each value
		if((ctxt = mydecode_parser(xml, length, &bytes, time)) == NULL)
			return NULL;
		ctxt->_private = &state;
		ctxt->sax->internalSubset = mydecode_refuse_dtd;
		ctxt->sax->externalSubset = NULL;
		ctxt->sax->startElementNs = mydecode_start_element;
		ctxt->sax->endElementNs = mydecode_end_element;
		xmlParseDocument(ctxt);
		doc = ctxt->myDoc;
		ctxt->myDoc = NULL;
		if(!ctxt->wellFormed || state.refused){
			xmlFreeDoc(doc);
			doc = NULL;
		}
		mydecode_context_give(ctxt);
		*root_end = state.root_end;
		*references = state.references;
		if(doc != NULL || state.refused || state.root_end == 0 || state.root_end >= length)
			break;
		//well-formed up to the end of the root element: the rest is no XML
		length = state.root_end;
	}
	return doc;
}

//why the SOAP message (length bytes) did not parse, into error (size bytes): libxml2's last error
//with its line and column in the message, when it gave one
static void mydecode_parse_failure(char *error, size_t size, size_t length)
{
	xmlErrorPtr	last = xmlGetLastError();
	int	message_length;

	if(length == 0){
		snprintf(error, size, "the message holds no SOAP envelope: its body is empty");
	}else if(last != NULL && last->message != NULL){
		//libxml2 ends its message with a line feed
		message_length = (int)strcspn(last->message, "\r\n");
		snprintf(error, size, "the SOAP message is no well-formed XML: line %d, column %d: %.*s", last->line, last->int2,
			message_length > 120 ? 120 : message_length, last->message);
	}else{
		snprintf(error, size, "the SOAP message is no XML document, or holds a document type declaration");
	}
}

//-1, and in the decode error, unless a failure has said why already, why with the element at cur
//as {namespace}name (none when cur is NULL)
static int mydecode_fail_at(xmlDocPtr doc, const char *why, xmlNodePtr cur)
{
	char	*error = (char *)doc->_private;

	if(error == NULL || error[0] != '\0')
		return -1;
	if(cur == NULL)
		snprintf(error, KVPROJ_MAX_DECODE_ERROR_LEN + 1, "%s", why);
	else
		snprintf(error, KVPROJ_MAX_DECODE_ERROR_LEN + 1, "%s {%.80s}%.80s", why,
			cur->ns != NULL && cur->ns->href != NULL ? (const char *)cur->ns->href : "", (const char *)cur->name);
	return -1;
}

//an attribute named id, href or ref (of any namespace) among the SAX attributes: a value may come by
//reference, which only the whole tree resolves (a service that reads every message through the tree
//leaves this unused)
static int mydecode_refers(int count, const xmlChar **attributes) KVPROJ_MAYBE_UNUSED;

static int mydecode_refers(int count, const xmlChar **attributes)
{
	int	i;

	//each attribute is five pointers: its local name, prefix, namespace, value and value's end
	for(i = 0; i < count; i++){
		if(mydecode_is_reference_name((const char *)attributes[i * 5]))
			return 1;
	}
	return 0;
}

//appends length bytes of text to the text gathered at *gathered (*used bytes in *size), which grows
//to keep room for a NUL behind them; -1 without memory (a service that reads every message through
//the tree leaves this unused)
static int mydecode_gather(char **gathered, size_t *used, size_t *size, const xmlChar *text, int length) KVPROJ_MAYBE_UNUSED;

static int mydecode_gather(char **gathered, size_t *used, size_t *size, const xmlChar *text, int length)
{
	char	*grown;

	if(*used + (size_t)length >= *size){
		while(*used + (size_t)length >= *size)
			*size = *size == 0 ? 64 : *size * 2;
		if((grown = (char *)realloc(*gathered, *size)) == NULL)
			return -1;
		*gathered = grown;
	}
	memcpy(*gathered + *used, text, (size_t)length);
	*used += (size_t)length;
	return 0;
}

//A glance at a message's bytes before any parse tells most messages that a reading without the tree
//does not take (another kind, a Header first) from the rest, so that only those are parsed twice. It reads no
//more than blanks, comments and processing instructions between the envelope's first start tags:
//what it cannot tell is left to the reading itself.

//the place behind the first n bytes close at or after at; NULL where none comes
static const char *mydecode_past(const char *at, const char *end, const char *close, size_t n)
{
	size_t	found = mydecode_find(at, 0, (size_t)(end - at), close, n);

	return found < (size_t)(end - at) ? at + found + n : NULL;
}

//at past blanks, comments and processing instructions; NULL where one of them does not end
static const char *mydecode_past_misc(const char *at, const char *end)
{
	while(at != NULL){
		while(at < end && (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n'))
			at++;
		if(end - at >= 4 && memcmp(at, "<!--", 4) == 0)
			at = mydecode_past(at + 4, end, "-->", 3);
		else if(end - at >= 2 && memcmp(at, "<?", 2) == 0)
			at = mydecode_past(at + 2, end, "?>", 2);
		else
			break;
	}
	return at;
}

//the start tag at at (NULL: none): the local part of its name in *local (size bytes), and the place
//behind it; NULL where at holds no start tag, or one that ends its element at once
static const char *mydecode_start_tag(const char *at, const char *end, const char **local, size_t *size)
{
	if(at == NULL || end - at < 2 || at[0] != '<' || at[1] == '/' || at[1] == '!' || at[1] == '?')
		return NULL;
	*local = ++at;
	while(at < end && *at != ' ' && *at != '\t' && *at != '\r' && *at != '\n' && *at != '>' && *at != '/'){
		if(*at == ':')
			*local = at + 1;
		at++;
	}
	*size = (size_t)(at - *local);
	//an attribute's value may hold a '>': memchr leaps to its closing quote (an Envelope's
	//declarations are most of its tag)
	for(; at < end; at++){
		if(*at == '"' || *at == '\''){
			if((at = (const char *)memchr(at + 1, *at, (size_t)(end - at - 1))) == NULL)
				return NULL;
		}else if(*at == '>'){
			return at[-1] == '/' ? NULL : at + 1;
		}
	}
	return NULL;
}

//whether the local name local[0..size) is name
static int mydecode_local_is(const char *local, size_t size, const char *name)
{
	return strlen(name) == size && memcmp(local, name, size) == 0;
}

//1 with the local name of the Body's first element in *local (size bytes), -1 where the Envelope's
//first element is plainly no Body, 0 where the glance cannot tell
static int mydecode_glance(const char *xml, size_t length, const char **local, size_t *size)
{
	const char	*end = xml + length, *at = xml;

	if(length >= 3 && memcmp(xml, "\xEF\xBB\xBF", 3) == 0)
		at += 3;
	at = mydecode_start_tag(mydecode_past_misc(at, end), end, local, size);
	if(at == NULL || !mydecode_local_is(*local, *size, "Envelope"))
		return 0;
	if((at = mydecode_start_tag(mydecode_past_misc(at, end), end, local, size)) == NULL)
		return 0;
	if(!mydecode_local_is(*local, *size, "Body"))
		return -1;
	return mydecode_start_tag(mydecode_past_misc(at, end), end, local, size) != NULL;
}

//whether the glance leaves the message to a reading that takes the messages whose Body's first
//element has one of the local names (NULL after the last): it may be one of them (a service that
//reads every message through the tree leaves this unused)
static int mydecode_may_read(const char *const *names, const char *xml, size_t length) KVPROJ_MAYBE_UNUSED;

static int mydecode_may_read(const char *const *names, const char *xml, size_t length)
{
	const char	*local = NULL;
	size_t	size = 0;
	const char	*const *name;
	int	glance = mydecode_glance(xml, length, &local, &size);

	if(glance <= 0)
		return glance == 0;
	for(name = names; *name != NULL; name++){
		if(mydecode_local_is(local, size, *name))
			return 1;
	}
	return 0;
}

//reads the document xml[0..length) (nothing fetched, nothing printed, never all of it copied at
//once, stopped at time's deadline) with the document's start (where events has one), document type, element (SAX2's, or SAX1's where events
//has them), text and markup events of events in place of the tree's, reader in the parser's _private and the parser in *ctxt while it
//reads: 1 when the document is well-formed, else 0. The parser never sees the gap_length bytes at gap
//(NULL: none), which the reader reads itself: balanced content, so that the rest is well-formed as
//the whole is. What the events built of the tree is freed (a service that reads every message
//through the tree leaves this unused)
static int mydecode_read_events(const char *xml, size_t length, const char *gap, size_t gap_length, mydecode_time_t *time,
	const xmlSAXHandler *events, void *reader, xmlParserCtxtPtr *ctxt) KVPROJ_MAYBE_UNUSED;

static int mydecode_read_events(const char *xml, size_t length, const char *gap, size_t gap_length, mydecode_time_t *time,
	const xmlSAXHandler *events, void *reader, xmlParserCtxtPtr *ctxt)
{
	mydecode_bytes_t	bytes;
	xmlSAXHandlerPtr	sax;
	int	well_formed;

	if((*ctxt = mydecode_parser(xml, length, &bytes, time)) == NULL)
		return 0;
	if(gap != NULL && gap_length > 0){
		bytes.gap = gap;
		bytes.gap_length = gap_length;
	}
	(*ctxt)->_private = reader;
	sax = (*ctxt)->sax;
	if(events->startDocument != NULL)
		sax->startDocument = events->startDocument;
	sax->internalSubset = events->internalSubset;
	sax->externalSubset = NULL;
	sax->startElementNs = events->startElementNs;
	sax->endElementNs = events->endElementNs;
	sax->startElement = events->startElement;
	sax->endElement = events->endElement;
	//a reading of SAX1 events: each element's name comes whole, its declarations among its attributes
	if(events->startElement != NULL){
		sax->initialized = 1;
		(*ctxt)->sax2 = 0;
	}
	sax->characters = events->characters;
	sax->ignorableWhitespace = events->ignorableWhitespace;
	sax->cdataBlock = events->cdataBlock;
	sax->comment = events->comment;
	sax->processingInstruction = events->processingInstruction;
	sax->reference = events->reference;
	xmlParseDocument(*ctxt);
	well_formed = (*ctxt)->wellFormed;
	//a SAX1 reading grows the room for a tag's attributes alone, where a SAX2 one grows it with a
	//companion of its own size: the context goes back with neither, which the next reading makes
	if(events->startElement != NULL){
		if((*ctxt)->atts != NULL)
			xmlFree((void *)(*ctxt)->atts);
		if((*ctxt)->attallocs != NULL)
			xmlFree((*ctxt)->attallocs);
		(*ctxt)->atts = NULL;
		(*ctxt)->attallocs = NULL;
		(*ctxt)->maxatts = 0;
	}
	mydecode_context_give(*ctxt);
	*ctxt = NULL;
	return well_formed;
}
