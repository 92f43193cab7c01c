//A message of many items is read in one pass of libxml2's SAX2 parser: the envelope down to the
//element that holds the items is built into a tree as the tree's reading builds it, each item is
//built alone, decoded and freed, and an item of a simple type is not built at all: its text is
//gathered and handed over on an element that stands for it. So a long run of items never stands in
//memory whole. Whatever such a reading cannot answer as the whole tree would (a document type, a
//Header, a value by reference, markup inside a simple item, a failure, anything behind the
//envelope) sends the message to the tree's reading instead.

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
	int	result = mydecode_may_read(reader->names, xml, length) && mydecode_read_events(xml, length, time, &events, reader, &reader->ctxt) &&
		!reader->failed && reader->done ? 0 : 1;

	free(reader->text);
	return result;
}
