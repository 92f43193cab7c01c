//A message of many items is read with libxml2's reader: only the item it stands on is built into a
//tree (xmlTextReaderExpand), and the reader frees each item once it has passed it, so that a long
//run of items never stands in memory whole. Whatever such a reading cannot answer as the whole
//tree would (a document type, a Header, a value by reference, a failure, bytes behind the
//envelope) sends the message to the tree's reading instead.

//the bytes before the root element hold a document type declaration, which the tree's reading
//refuses and the reader would read
static int mystream_has_doctype(const char *xml, size_t length)
{
	const char	*at = xml, *end = xml + length, *close;

	while((at = memchr(at, '<', (size_t)(end - at))) != NULL && end - at >= 4){
		if(at[1] != '?' && at[1] != '!')
			return 0;
		if(at[1] == '!' && (at[2] != '-' || at[3] != '-'))
			return 1;
		//a processing instruction or a comment: passed whole
		for(close = at + 2; close + 1 < end && !(close[0] == (at[1] == '?' ? '?' : '-') && close[1] == '>'); close++)
			;
		at = close + 1;
	}
	return 0;
}

//an attribute named id, href or ref (of any namespace) on the element: a value may come by
//reference, which only the whole tree resolves
static int mystream_refers_here(xmlNodePtr node)
{
	xmlAttrPtr	attribute;

	for(attribute = node->properties; attribute != NULL; attribute = attribute->next){
		if(mydecode_is_reference_name((const char *)attribute->name))
			return 1;
	}
	return 0;
}

//such an attribute on the element or on one inside it
static int mystream_refers(xmlNodePtr node)
{
	xmlNodePtr	child;

	if(mystream_refers_here(node))
		return 1;
	for(child = node->children; child != NULL; child = child->next){
		if(child->type == XML_ELEMENT_NODE && mystream_refers(child))
			return 1;
	}
	return 0;
}

//the reader on the root element of the document xml[0..length) (nothing fetched, nothing printed);
//NULL where there is none or a document type stands before it
static xmlTextReaderPtr mystream_open(const char *xml, size_t length)
{
	xmlTextReaderPtr	reader;

	if(length == 0 || length > 0x7fffffff || mystream_has_doctype(xml, length))
		return NULL;
	reader = xmlReaderForMemory(xml, (int)length, NULL, NULL, XML_PARSE_NONET | XML_PARSE_COMPACT | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
	if(reader != NULL && (xmlTextReaderRead(reader) != 1 || xmlTextReaderNodeType(reader) != XML_READER_TYPE_ELEMENT)){
		xmlFreeTextReader(reader);
		reader = NULL;
	}
	return reader;
}

//the next element the reader meets, passing text and comments, when it stands at depth (one
//below the element before); NULL at an end tag, deeper or on failure
static xmlNodePtr mystream_element(xmlTextReaderPtr reader, int depth)
{
	int	type;

	while(xmlTextReaderRead(reader) == 1){
		type = xmlTextReaderNodeType(reader);
		if(type == XML_READER_TYPE_ELEMENT)
			return xmlTextReaderDepth(reader) == depth ? xmlTextReaderCurrentNode(reader) : NULL;
		if(type == XML_READER_TYPE_END_ELEMENT)
			return NULL;
	}
	return NULL;
}

//hands each element inside the element the reader stands on to item, expanded, then reads the
//document to its end: 0 when all went well and nothing but blanks follows the root element, 1 where
//the tree must read the message (encoded: a value may come by reference)
static int mystream_items(xmlTextReaderPtr reader, int encoded, int (*item)(xmlDocPtr, xmlNodePtr, void *), void *value)
{
	xmlNodePtr	node = xmlTextReaderCurrentNode(reader);
	int	depth = xmlTextReaderDepth(reader), read = 1, type;

	if(node == NULL || (encoded && mystream_refers_here(node)))
		return 1;
	if(!xmlTextReaderIsEmptyElement(reader)){
		read = xmlTextReaderRead(reader);
		while(read == 1 && xmlTextReaderDepth(reader) > depth){
			if(xmlTextReaderNodeType(reader) != XML_READER_TYPE_ELEMENT){
				read = xmlTextReaderRead(reader);
				continue;
			}
			node = xmlTextReaderExpand(reader);
			if(node == NULL || (encoded && mystream_refers(node)) || item(node->doc, node, value) != 0)
				return 1;
			read = xmlTextReaderNext(reader);
		}
	}
	//the rest of the document: well-formed, with no reference in it and nothing behind the root
	while(read == 1){
		type = xmlTextReaderNodeType(reader);
		if(type == XML_READER_TYPE_END_ELEMENT && xmlTextReaderDepth(reader) == 0)
			return xmlTextReaderRead(reader) == 0 ? 0 : 1;
		node = type == XML_READER_TYPE_ELEMENT ? xmlTextReaderCurrentNode(reader) : NULL;
		if(encoded && node != NULL && mystream_refers_here(node))
			return 1;
		read = xmlTextReaderRead(reader);
	}
	return 1;
}
