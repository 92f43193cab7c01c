//the shape of a SOAP-encoded array: the size its arrayType declares and where its items stand
//(offset, position); a service without such arrays leaves these unused
static int myarray_shape(xmlDocPtr doc, xmlNodePtr cur, const char *member, long *size, long *next) KVPROJ_MAYBE_UNUSED;
static int myarray_place(xmlDocPtr doc, xmlNodePtr cur, const char *member, long size, long count, long *index) KVPROJ_MAYBE_UNUSED;

//the first failure of an array, its member and why, in the decode error; -1
static int myarray_refuse(xmlDocPtr doc, const char *member, const char *why, const xmlChar *text)
{
	char	*error = (char *)doc->_private;

	if(error != NULL && error[0] == '\0')
		snprintf(error, KVPROJ_MAX_DECODE_ERROR_LEN + 1, "%s: %s \"%.60s\"", member, why, text != NULL ? (const char *)text : "");
	return -1;
}

//the number in "[n]" at the end of text (blanks around it aside): 0 with *value set, -1 for more
//than one dimension ("[2,3]"), -2 for no number ("[]"), -3 for anything else, -4 for a number beyond
//the items a message can hold (an item takes a byte at least)
static int myarray_bracket(const xmlChar *text, long *value)
{
	const char	*open = strrchr((const char *)text, '['), *c;
	int		digits = 0;

	*value = 0;
	if(open == NULL)
		return -3;
	for(c = open + 1; *c >= '0' && *c <= '9'; c++, digits++){
		*value = *value * 10 + (*c - '0');
		if(*value > KVPROJ_MAX_READ_MESSAGE_LEN)
			return -4;
	}
	while(*c == ' ')
		c++;
	if(*c == ',')
		return -1;
	if(*c != ']')
		return -3;
	for(c++; *c == ' ' || *c == '\t' || *c == '\r' || *c == '\n'; c++)
		;
	if(*c != '\0')
		return -3;
	return digits > 0 ? 0 : -2;
}

//in a SOAP 1.2 message, the size the arraySize of SOAP 1.2's encoding gives the array at cur ("*":
//-1, none given): 0, or -1 for more than one dimension or no size; 1 when the message or the array
//has none, so that the arrayType a literal schema's SOAP 1.1 array declares is read instead
static int myarray_size12(xmlDocPtr doc, xmlNodePtr cur, const char *member, long *size)
{
	xmlNodePtr	root = xmlDocGetRootElement(doc);
	xmlChar		*text;
	const char	*c, *end;
	int		digits = 0, result = 0;

	if(root == NULL || root->ns == NULL || xmlStrcmp(root->ns->href, (const xmlChar *)"http://www.w3.org/2003/05/soap-envelope") != 0 ||
		(text = xmlGetNsProp(cur, (const xmlChar *)"arraySize", (const xmlChar *)"http://www.w3.org/2003/05/soap-encoding")) == NULL)
		return 1;
	for(c = (const char *)text; *c == ' ' || *c == '\t' || *c == '\r' || *c == '\n'; c++)
		;
	*size = 0;
	//"*" stands alone: digits after it are no size, and would run the unknown size below any bound
	if(*c == '*'){
		*size = -1;
		c++;
		digits = 1;
	}
	for(; *size >= 0 && *c >= '0' && *c <= '9' && *size <= KVPROJ_MAX_READ_MESSAGE_LEN; c++, digits++)
		*size = *size * 10 + (*c - '0');
	for(end = c; *c == ' ' || *c == '\t' || *c == '\r' || *c == '\n'; c++)
		;
	if(*size > KVPROJ_MAX_READ_MESSAGE_LEN)
		result = myarray_refuse(doc, member, "is larger than a message can carry:", text);
	else if(digits > 0 && c > end && *c >= '0' && *c <= '9')
		result = myarray_refuse(doc, member, "has more than the one dimension its member holds:", text);
	else if(digits == 0 || *c != '\0')
		result = myarray_refuse(doc, member, "has no SOAP array size in", text);
	xmlFree(text);
	return result;
}

//the items the array at cur brings: its child elements
static long myarray_brought(xmlNodePtr cur)
{
	long	count = 0;

	for(cur = cur->children; cur != NULL; cur = cur->next)
		count += cur->type == XML_ELEMENT_NODE;
	return count;
}

//the size arrayType gives the array at cur (-1: none given) and the index of its first item (its
//offset, else 0); -1 for an array of more than one dimension, which no member holds, or a shape
//that is no SOAP array's. A SOAP 1.2 message gives the size apart, and no offset. Every item
//declared is held, so the items an array declares and leaves out are at most
//KVPROJ_MAX_MESSAGE_LEN: a short message cannot make a large array
static int myarray_shape(xmlDocPtr doc, xmlNodePtr cur, const char *member, long *size, long *next)
{
	const xmlChar	*enc = (const xmlChar *)"http://schemas.xmlsoap.org/soap/encoding/";
	int	sized = myarray_size12(doc, cur, member, size);
	xmlChar	*type = sized > 0 ? xmlGetNsProp(cur, (const xmlChar *)"arrayType", enc) : NULL;
	xmlChar	*offset = sized > 0 ? xmlGetNsProp(cur, (const xmlChar *)"offset", enc) : NULL;
	int	shape = type != NULL ? myarray_bracket(type, size) : sized > 0 ? -2 : 0;
	int	start = offset != NULL ? myarray_bracket(offset, next) : 0;
	int	result = 0;

	if(sized <= 0)
		*next = 0;
	if(shape == -2)
		*size = -1;
	if(sized < 0)
		result = -1;
	else if(shape == -1 || shape == -3 || shape == -4)
		result = myarray_refuse(doc, member, shape == -1 ? "has more than the one dimension its member holds:" :
			shape == -4 ? "is larger than a message can carry:" : "has no SOAP array type in", type);
	else if(start != 0)
		result = myarray_refuse(doc, member, "has no offset of one dimension in", offset);
	else if(*size >= 0 && *next > *size)
		result = myarray_refuse(doc, member, "starts beyond its size at", offset);
	else if(*next > KVPROJ_MAX_MESSAGE_LEN)
		result = myarray_refuse(doc, member, "leaves out more items than a message may, from its start at", offset);
	else if(*size > KVPROJ_MAX_MESSAGE_LEN && *size > myarray_brought(cur) + KVPROJ_MAX_MESSAGE_LEN)
		result = myarray_refuse(doc, member, "leaves out more items than a message may, of its size in", type);
	if(type != NULL)
		xmlFree(type);
	if(offset != NULL)
		xmlFree(offset);
	return result;
}

//the index of the item at cur: its position, else next; -1 for an index before the items placed
//(count of them) or beyond the array's size, or (no size given) for one that leaves out items at
//or beyond KVPROJ_MAX_MESSAGE_LEN
static int myarray_place(xmlDocPtr doc, xmlNodePtr cur, const char *member, long size, long count, long *index)
{
	//most items have no attribute: the look-up is passed over for them
	xmlChar	*position = cur->properties == NULL ? NULL :
		xmlGetNsProp(cur, (const xmlChar *)"position", (const xmlChar *)"http://schemas.xmlsoap.org/soap/encoding/");
	int	result = 0;

	if(position != NULL && myarray_bracket(position, index) != 0)
		result = myarray_refuse(doc, member, "has an item of no position of one dimension at", position);
	else if(*index < count)
		result = myarray_refuse(doc, member, "has an item placed twice or out of order at", position);
	else if(size >= 0 ? *index >= size : *index > count && *index >= KVPROJ_MAX_MESSAGE_LEN)
		result = myarray_refuse(doc, member, "has more items than its size, at", position);
	if(position != NULL)
		xmlFree(position);
	return result;
}

//a SOAP array's value, the size its type declares (-1: none) and the index of its first item, while
//its items are read one at a time
typedef struct mydecode_items_t{
	void	*value;
	long	size, offset;
}mydecode_items_t;
