//A message of many items is read in one pass of libxml2's SAX2 parser: the envelope down to the
//element that holds the items is built into a tree as the tree's reading builds it, each item is
//built alone, decoded and freed, and an item of a simple type is not built at all: its text is
//gathered and handed over on an element that stands for it. So a long run of items never stands in
//memory whole. Whatever such a reading cannot answer as the whole tree would (a document type, a
//Header, a value by reference, markup inside a simple item, a failure, anything behind the
//envelope) sends the message to the tree's reading instead. A run of plain simple items (a name
//without prefix, no attribute, text without markup or references) is read from the message's bytes
//themselves, the parser never seeing them: libxml2 costs most of such an item.

//how the items of a message are read, and where the reading stands
typedef struct mystream_t{
	xmlParserCtxtPtr	ctxt;
	char	*error;	//the decode error, which doc->_private points to
	int	(*kind)(struct mystream_t *, xmlNodePtr);	//the kind of the Body's first element (mystream_items)
	void	*packet;	//what kind fills
	int	soap11;	//only a SOAP 1.1 envelope is read so
	int	encoded;	//a value may come by reference: an id, href or ref sends the message to the tree
	int	depth;	//of the next element to start; the Envelope's is 0
	int	part;	//the items are in the first element inside the kind's (1) or in that element (0)
	int	container;	//the depth of the element that holds the items; 0 before it is known
	int	inside;	//the reading is inside that element
	int	by_text;	//items of a simple type are read from their text
	int	in_text;	//it gathers the text of such an item
	int	building;	//it builds the item it stands in
	int	seen[3];	//elements started at depths 0 to 2
	xmlNodePtr	kind_node;	//the Body's first element
	int	failed, done;
	int	(*item)(xmlDocPtr, xmlNodePtr, void *);
	int	(*end)(xmlDocPtr, void *);	//a SOAP array's items its size declares, after the last
	void	*value;
	const char	*shape;	//a SOAP array's member, as a failure of its shape names it; NULL for another type
	mydecode_items_t	items;
	char	*text;	//the text of a simple item: length bytes in size
	size_t	length, size;
	const xmlChar	*prefix;	//the prefix of the simple items last read, and its namespace
	xmlNsPtr	ns;
	int	prefixed;	//prefix and ns hold
	const xmlChar	*xsi;	//the XML Schema instance namespace as the parser names it (one pointer for all)
	const xmlChar	*type;	//the local name type as the parser names it
	xmlNode	at, at_text;	//the element and text that stand for a simple item
	const char	*const *names;	//the local names of the Body's first elements of messages of items
	//the run of plain items read from the bytes (mystream_run_start), start to end: behind the start
	//tag of the element at run_depth; run_name holds an item's name, run_room bytes
	const char	*run, *run_end;
	int	run_depth;
	char	*run_name;
	size_t	run_room;
}mystream_t;

//sets the items the element the reading stands on holds (part 0), or the first element inside it
//holds (part 1), to be handed to item one at a time with value; 0
static int mystream_items(mystream_t *reader, int part, int (*item)(xmlDocPtr, xmlNodePtr, void *), void *value)
{
	reader->part = part;
	reader->item = item;
	reader->value = value;
	return 0;
}

//a service without SOAP arrays, or without items of numbers or texts, leaves these unused
static void mystream_shaped(mystream_t *reader, const char *member, int (*end)(xmlDocPtr, void *)) KVPROJ_MAYBE_UNUSED;
static void mystream_by_text(mystream_t *reader) KVPROJ_MAYBE_UNUSED;

//the items are those of a SOAP array: its shape, read from the element that holds them, travels with
//them, and end adds the items its size declares that did not come
static void mystream_shaped(mystream_t *reader, const char *member, int (*end)(xmlDocPtr, void *))
{
	reader->shape = member;
	reader->end = end;
}

//the items are of a simple type, which the item function reads from the element's name and text alone
static void mystream_by_text(mystream_t *reader)
{
	reader->by_text = 1;
}

static void mystream_fail(mystream_t *reader)
{
	reader->failed = 1;
	xmlStopParser(reader->ctxt);
}

//an item of a simple type that may be read from its text alone: it declares no namespace, its name's
//prefix is declared, and its one attribute, if any, is its xsi:type, which no simple item reads
static int mystream_plain(mystream_t *reader, int namespaces, const xmlChar *prefix, const xmlChar *uri, int count,
	const xmlChar **attributes)
{
	if(namespaces != 0 || (prefix != NULL && uri == NULL) || count > 1)
		return 0;
	if(count == 0)
		return 1;
	if(attributes[2] == NULL)
		return 0;
	if(attributes[0] != reader->type){
		if(strcmp((const char *)attributes[0], "type") != 0)
			return 0;
		reader->type = attributes[0];
	}
	if(attributes[2] != reader->xsi && xmlStrcmp(attributes[2], (const xmlChar *)"http://www.w3.org/2001/XMLSchema-instance") == 0)
		reader->xsi = attributes[2];
	return attributes[2] == reader->xsi;
}

//the element that stands for the simple item just read, named as the tree would name it: the
//namespace of its prefix where the element holding it stands (none where the parser gave none), its
//text the item's whole text
static xmlNodePtr mystream_plain_item(mystream_t *reader, const xmlChar *localname, const xmlChar *prefix, const xmlChar *uri)
{
	xmlNodePtr	holder = reader->ctxt->node;

	if(uri != NULL && (!reader->prefixed || prefix != reader->prefix)){
		reader->ns = xmlSearchNs(holder->doc, holder, prefix);
		reader->prefix = prefix;
		reader->prefixed = 1;
	}
	reader->at.name = localname;
	reader->at.ns = uri != NULL ? reader->ns : NULL;
	reader->at.children = reader->at.last = NULL;
	if(reader->length > 0){
		reader->text[reader->length] = '\0';
		reader->at_text.content = (xmlChar *)reader->text;
		reader->at.children = reader->at.last = &reader->at_text;
	}
	return &reader->at;
}

//the classes of a byte in a plain item (bits): a blank of XML (1); a character that may start its
//name (2): an ASCII letter or '_'; one of the rest of its name (4): those, a digit, '-' or '.'; one of
//its text (8): printable ASCII but markup, references and ']' (of a "]]>", which no text holds), a tab
//or a line feed (a carriage return the parser would have turned). Bytes past ASCII are of none
#define MYSTREAM_BLANK	1
#define MYSTREAM_NAME_START	2
#define MYSTREAM_NAME	4
#define MYSTREAM_TEXT	8

static const unsigned char	mystream_class[256] = {
	0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 9, 0, 0, 1, 0, 0,
	0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
	9, 8, 8, 8, 8, 8, 0, 8, 8, 8, 8, 8, 8, 12, 12, 8,
	12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 8, 8, 0, 8, 8, 8,
	8, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14,
	14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 8, 8, 0, 8, 14,
	8, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14,
	14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 8, 8, 8, 8, 0,
};

//whether the byte at c is of the class
#define MYSTREAM_IS(c, class)	((mystream_class[(unsigned char)(c)] & (class)) != 0)

//c past the blanks before end
static const char *mystream_past_blanks(const char *c, const char *end)
{
	while(c < end && MYSTREAM_IS(*c, MYSTREAM_BLANK))
		c++;
	return c;
}

//the plain item at *at (blanks before it aside): "<name>text</name>", the name without prefix (blanks
//may stand before each '>'). 1 with its name and text (sizes in *name_size, *text_size) and *at
//behind it; 0 where no plain item stands there
static int mystream_plain_next(const char **at, const char *end, const char **name, size_t *name_size, const char **text,
	size_t *text_size)
{
	const char	*c = mystream_past_blanks(*at, end);
	size_t	i;

	if(end - c < 4 || c[0] != '<' || !MYSTREAM_IS(c[1], MYSTREAM_NAME_START))
		return 0;
	for(*name = ++c; c < end && MYSTREAM_IS(*c, MYSTREAM_NAME); c++)
		;
	*name_size = (size_t)(c - *name);
	c = mystream_past_blanks(c, end);
	if(c == end || *c != '>')
		return 0;
	for(*text = ++c; c < end && MYSTREAM_IS(*c, MYSTREAM_TEXT); c++)
		;
	*text_size = (size_t)(c - *text);
	if((size_t)(end - c) < *name_size + 3 || c[0] != '<' || c[1] != '/')
		return 0;
	for(c += 2, i = 0; i < *name_size; i++, c++){
		if(*c != (*name)[i])
			return 0;
	}
	c = mystream_past_blanks(c, end);
	if(c == end || *c != '>')
		return 0;
	*at = c + 1;
	return 1;
}

//where the run of plain items at at ends: behind the last of them; at where none stands there
static const char *mystream_plain_end(const char *at, const char *end)
{
	const char	*name, *text;
	size_t	name_size, text_size;

	while(mystream_plain_next(&at, end, &name, &name_size, &text, &text_size))
		;
	return at;
}

//whether the XML declaration at the document's start (if any) names no encoding but UTF-8: the bytes
//of a plain item are then the characters the parser would read
static int mystream_utf8(const char *xml, const char *end)
{
	const char	*close, *encoding;

	if(end - xml < 5 || memcmp(xml, "<?xml", 5) != 0 || (close = mydecode_past(xml, end, "?>", 2)) == NULL)
		return 1;
	encoding = mydecode_past(xml, close, "encoding", 8);
	if(encoding == NULL)
		return 1;
	while(encoding < close && (MYSTREAM_IS(*encoding, MYSTREAM_BLANK) || *encoding == '='))
		encoding++;
	return close - encoding > 6 && (encoding[0] == '"' || encoding[0] == '\'') && xmlStrncasecmp((const xmlChar *)encoding + 1,
		(const xmlChar *)"UTF-8", 5) == 0 && encoding[6] == encoding[0];
}

//the run of plain items the reading reads from the bytes of xml[0..length) itself: behind the start
//tag of the Body's first element (depth 2) or, where none stands there, of the first element in it
//(depth 3), each first in its parent but for blanks, comments and processing instructions. The parser
//reads all around it as before; whatever its reading differs in sends the message to the tree
static void mystream_run_start(mystream_t *reader, const char *xml, size_t length)
{
	static const char	*const above[] = {"Envelope", "Body"};
	const char	*end = xml + length, *at = xml, *local, *run_end;
	size_t	size;
	int	depth;

	if(length >= 3 && memcmp(xml, "\xEF\xBB\xBF", 3) == 0)
		at += 3;
	if(!mystream_utf8(at, end))
		return;
	for(depth = 0; depth <= 3; depth++){
		at = mydecode_start_tag(mydecode_past_misc(at, end), end, &local, &size);
		if(at == NULL || (depth < 2 && !mydecode_local_is(local, size, above[depth])))
			return;
		if(depth >= 2 && (run_end = mystream_plain_end(at, end)) != at){
			reader->run = at;
			reader->run_end = run_end;
			reader->run_depth = depth;
			return;
		}
	}
}

//hands each item of the run read from the bytes to the item function, as mystream_end hands a simple
//item the parser read: the element that stands for it, named as the tree names it
static void mystream_run_items(mystream_t *reader, xmlNodePtr holder)
{
	const char	*at = reader->run, *name, *text;
	size_t	name_size, text_size;
	xmlNsPtr	ns = xmlSearchNs(holder->doc, holder, NULL);

	//an element without prefix is of the default namespace in scope, of none where xmlns="" undeclared it
	reader->at.ns = ns != NULL && ns->href != NULL && ns->href[0] != '\0' ? ns : NULL;
	while(!reader->failed && mystream_plain_next(&at, reader->run_end, &name, &name_size, &text, &text_size)){
		if(name_size >= reader->run_room || strncmp(reader->run_name, name, name_size) != 0 || reader->run_name[name_size] != '\0'){
			reader->length = 0;
			if(mydecode_gather(&reader->run_name, &reader->length, &reader->run_room, (const xmlChar *)name, (int)name_size) != 0){
				mystream_fail(reader);
				return;
			}
			reader->run_name[name_size] = '\0';
		}
		reader->length = 0;
		if(mydecode_gather(&reader->text, &reader->length, &reader->size, (const xmlChar *)text, (int)text_size) != 0){
			mystream_fail(reader);
			return;
		}
		reader->at.name = (const xmlChar *)reader->run_name;
		reader->at.children = reader->at.last = NULL;
		if(reader->length > 0){
			reader->text[reader->length] = '\0';
			reader->at_text.content = (xmlChar *)reader->text;
			reader->at.children = reader->at.last = &reader->at_text;
		}
		if(reader->item(holder->doc, &reader->at, reader->shape != NULL ? (void *)&reader->items : reader->value) != 0)
			mystream_fail(reader);
	}
	reader->run = NULL;
}

//the element that holds the items has started (node): the element that stands for a simple item
//stands in it, and its shape is read, where it is a SOAP array's
static void mystream_enter(mystream_t *reader, xmlNodePtr node)
{
	reader->container = reader->depth;
	reader->inside = 1;
	memset(&reader->at, 0, sizeof(reader->at));
	memset(&reader->at_text, 0, sizeof(reader->at_text));
	reader->at.type = XML_ELEMENT_NODE;
	reader->at.parent = node;
	reader->at.doc = node->doc;
	reader->at_text.type = XML_TEXT_NODE;
	reader->at_text.name = xmlStringText;
	reader->at_text.parent = &reader->at;
	reader->at_text.doc = node->doc;
	reader->items.value = reader->value;
	reader->items.size = -1;
	reader->items.offset = 0;
	if(reader->shape != NULL && myarray_shape(node->doc, node, reader->shape, &reader->items.size, &reader->items.offset) != 0)
		mystream_fail(reader);
	//the run the parser was not handed is this element's first items, which only a reading of items
	//from their text reads so
	if(reader->run != NULL && !reader->failed){
		if(reader->run_depth != reader->depth || !reader->by_text)
			mystream_fail(reader);
		else
			mystream_run_items(reader, node);
	}
}

//an element above the items has started (node, built): the Envelope, the Body first in it, the
//kind's element first in the Body, and the element holding the items must come as the tree reads them
static void mystream_above(mystream_t *reader, xmlNodePtr node)
{
	int	depth = reader->depth, first = depth < 3 && reader->seen[depth]++ == 0;

	if(reader->done || (!first && depth != 3))
		return;
	if(depth == 0){
		if(!mydecode_is_soap(node, "Envelope") || (reader->soap11 && mydecode_version(node) != 11))
			mystream_fail(reader);
	}else if(depth == 1){
		if(!mydecode_is_soap(node, "Body"))
			mystream_fail(reader);
	}else if(depth == 2){
		node->doc->_private = reader->error;
		reader->kind_node = node;
		if(reader->kind(reader, node) != 0 || reader->item == NULL)
			mystream_fail(reader);
		else if(reader->part == 0)
			mystream_enter(reader, node);
	}else if(reader->part == 1 && reader->container == 0 && node->parent == reader->kind_node){
		mystream_enter(reader, node);
	}
}

static void mystream_start(void *ctx, const xmlChar *localname, const xmlChar *prefix, const xmlChar *uri, int namespaces,
	const xmlChar **declared, int count, int defaulted, const xmlChar **attributes)
{
	xmlParserCtxtPtr	ctxt = (xmlParserCtxtPtr)ctx;
	mystream_t	*reader = (mystream_t *)ctxt->_private;

	if(reader->failed || reader->in_text || (reader->encoded && mydecode_refers(count, attributes))){
		mystream_fail(reader);
		return;
	}
	if(reader->inside && reader->depth == reader->container + 1 && reader->by_text &&
		mystream_plain(reader, namespaces, prefix, uri, count, attributes)){
		reader->in_text = 1;
		reader->length = 0;
		reader->depth++;
		return;
	}
	xmlSAX2StartElementNs(ctx, localname, prefix, uri, namespaces, declared, count, defaulted, attributes);
	if(ctxt->node == NULL){
		mystream_fail(reader);
		return;
	}
	if(reader->inside)
		reader->building = 1;
	else
		mystream_above(reader, ctxt->node);
	reader->depth++;
}

static void mystream_end(void *ctx, const xmlChar *localname, const xmlChar *prefix, const xmlChar *uri)
{
	xmlParserCtxtPtr	ctxt = (xmlParserCtxtPtr)ctx;
	mystream_t	*reader = (mystream_t *)ctxt->_private;
	xmlNodePtr	node = ctxt->node;

	if(reader->failed)
		return;
	reader->depth--;
	if(reader->in_text){
		reader->in_text = 0;
		if(reader->item(node->doc, mystream_plain_item(reader, localname, prefix, uri), reader->shape != NULL ? (void *)&reader->items : reader->value) != 0)
			mystream_fail(reader);
		return;
	}
	xmlSAX2EndElementNs(ctx, localname, prefix, uri);
	if(reader->inside && reader->depth == reader->container + 1){
		reader->building = 0;
		if(reader->item(node->doc, node, reader->shape != NULL ? (void *)&reader->items : reader->value) != 0)
			mystream_fail(reader);
		xmlUnlinkNode(node);
		xmlFreeNode(node);
	}else if(reader->inside && reader->depth == reader->container){
		reader->inside = 0;
		reader->done = 1;
		if(reader->end != NULL && reader->end(node->doc, &reader->items) != 0)
			mystream_fail(reader);
	}else if(reader->depth == 2 && !reader->done){
		//the kind's element ends, and no element inside it held the items
		mystream_fail(reader);
	}
}

//text: gathered for a simple item, built into an item, and passed over between items, which no
//item function reads
static void mystream_characters(void *ctx, const xmlChar *text, int length)
{
	xmlParserCtxtPtr	ctxt = (xmlParserCtxtPtr)ctx;
	mystream_t	*reader = (mystream_t *)ctxt->_private;

	if(reader->failed)
		return;
	if(reader->in_text){
		if(mydecode_gather(&reader->text, &reader->length, &reader->size, text, length) != 0)
			mystream_fail(reader);
	}else if(reader->building || !reader->inside){
		xmlSAX2Characters(ctx, text, length);
	}
}

//a CDATA section, a comment, a processing instruction or an entity's reference: the tree's where
//it stands in a simple item or behind the envelope, else built as the tree builds it
static int mystream_markup(mystream_t *reader)
{
	if(reader->in_text || (reader->seen[0] > 0 && reader->depth == 0))
		mystream_fail(reader);
	return !reader->failed;
}

static void mystream_cdata(void *ctx, const xmlChar *text, int length)
{
	if(mystream_markup((mystream_t *)((xmlParserCtxtPtr)ctx)->_private))
		xmlSAX2CDataBlock(ctx, text, length);
}

static void mystream_comment(void *ctx, const xmlChar *text)
{
	if(mystream_markup((mystream_t *)((xmlParserCtxtPtr)ctx)->_private))
		xmlSAX2Comment(ctx, text);
}

static void mystream_instruction(void *ctx, const xmlChar *target, const xmlChar *data)
{
	if(mystream_markup((mystream_t *)((xmlParserCtxtPtr)ctx)->_private))
		xmlSAX2ProcessingInstruction(ctx, target, data);
}

static void mystream_reference(void *ctx, const xmlChar *name)
{
	if(mystream_markup((mystream_t *)((xmlParserCtxtPtr)ctx)->_private))
		xmlSAX2Reference(ctx, name);
}

//a document type declaration, which the tree's reading refuses
static void mystream_doctype(void *ctx, const xmlChar *name, const xmlChar *external_id, const xmlChar *system_id)
{
	(void)name;
	(void)external_id;
	(void)system_id;
	mystream_fail((mystream_t *)((xmlParserCtxtPtr)ctx)->_private);
}

//reads the document xml[0..length) (see mydecode_read_events) within time where the glance leaves
//it to the reading: kind names the Body's first element's kind and sets how its items are read; 0 when all was
//read so and nothing but blanks follows the root element, 1 where the tree must read the message
static int mystream_read(mystream_t *reader, const char *xml, size_t length, mydecode_time_t *time)
{
	static const xmlSAXHandler	events = {.internalSubset = mystream_doctype, .startElementNs = mystream_start,
		.endElementNs = mystream_end, .characters = mystream_characters, .ignorableWhitespace = mystream_characters,
		.cdataBlock = mystream_cdata, .comment = mystream_comment, .processingInstruction = mystream_instruction,
		.reference = mystream_reference};
	int	result;

	if(!mydecode_may_read(reader->names, xml, length))
		return 1;
	mystream_run_start(reader, xml, length);
	//a run the parser was not handed is read once its element started: one that did not is the tree's
	result = mydecode_read_events(xml, length, reader->run, reader->run != NULL ? (size_t)(reader->run_end - reader->run) : 0, time, &events, reader,
		&reader->ctxt) && !reader->failed && reader->done && reader->run == NULL ? 0 : 1;
	free(reader->text);
	free(reader->run_name);
	return result;
}
