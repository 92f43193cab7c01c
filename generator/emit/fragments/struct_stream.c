//A document message whose type is a struct of values, structs and repeated members is read straight
//from libxml2's SAX1 events into its struct, with no tree: a table of each struct's members (an
//element's name and namespace, where its value lies, how its text converts) drives one reading for
//every type. Nothing is built: the Envelope, the Body and the message's element are told by names
//the reading resolves itself, held in nodes of its own that the tree's tests read as they read the
//tree's. Whatever such a reading cannot answer exactly as the tree's
//decoders would (a Header, an attribute in the message, markup in a value, a member that stands
//twice or is missing, a value that does not convert, anything behind the envelope, any failure)
//sends the message to the tree. The SAX1 events cost the parse a sixth less than SAX2's, which look
//up each name's prefix and local part apart: the reading resolves an element's prefix itself, once
//for each name while the declarations in scope stay as they were.

//how a member holds its value (bits)
#define MYSAX_ARRAY	1	//items the member points to, grown as they come, with their count
#define MYSAX_ALLOCATED	2	//a struct the member (or the item) points to, allocated when its element comes

#define MYSAX_NONE	((size_t)-1)	//a member without such a field

//one member of a struct: its element, where its value lies and how it is read
typedef struct mysax_member_t{
	const char	*name;	//the element's local name
	const char	*ns;	//its namespace; "" for none
	size_t	offset;	//of the value, of the struct's pointer, or of the items' pointer
	size_t	count;	//of an array's count
	size_t	present;	//of the flag that says an optional member came
	size_t	size;	//of an item
	int	shape;	//MYSAX_ARRAY, MYSAX_ALLOCATED or both
	int	empty_fails;	//an element without text holds no value of the member
	int	type;	//a struct's index in the types; -1 for a value
	//converts a value's text into place; NULL for a struct
	int	(*store)(xmlDocPtr, const xmlChar *, void *);
	//room for one more item (mydecode_grow); NULL for a member that stands once
	void	*(*grow)(xmlDocPtr, const char *, void *, int, size_t, int *);
}mysax_member_t;

//a struct: its members (first, count) in the table of members
typedef struct mysax_type_t{
	int	first, count;
	size_t	size;	//of the struct, for one allocated
	unsigned long long	required;	//the members that must come, a bit each
}mysax_type_t;

//a namespace that an element inside the message declares, in scope until that element ends
typedef struct mysax_ns_t{
	char	*prefix;	//NULL for the default namespace
	char	*uri;
	char	*held;	//the one allocation both lie in (NULL: neither has text)
	int	depth;	//of the element
}mysax_ns_t;

//a name met inside the message, as the parser hands it (one pointer per name while it reads), its
//local part and its element's namespace (NULL: none) under the declarations of a generation
typedef struct mysax_name_t{
	const xmlChar	*qname;
	const xmlChar	*local;
	const xmlChar	*uri;
	unsigned	generation;
}mysax_name_t;

#define MYSAX_NAMES_MET	16

//a struct being read: which it is, where it lies, which of its members came (a bit each)
typedef struct mysax_frame_t{
	const mysax_type_t	*type;
	char	*value;
	unsigned long long	seen;
}mysax_frame_t;

//how a message is read, and where the reading stands
typedef struct mysax_t{
	xmlParserCtxtPtr	ctxt;
	const mysax_type_t	*types;
	const mysax_member_t	*members;
	const char	*const *namespaces;	//the service's own (mydecode_namespaces), NULL after the last
	const char	*const *names;	//the local names of the Body's first elements of messages it reads
	//the kind of the Body's first element, which starts its struct (mysax_struct): 0, or 1 when the
	//message is none the reading reads
	int	(*kind)(struct mysax_t *, xmlNodePtr);
	void	*packet;	//what kind fills
	int	soap11;	//only a SOAP 1.1 envelope is read so
	int	depth;	//of the next element to start; the Envelope's is 0
	int	skip;	//elements open in one that no member takes
	int	rooted;	//the Envelope has started
	int	failed, done;
	mysax_frame_t	*frames;
	int	frame_count, frame_room;
	const mysax_member_t	*valued;	//the member whose text is gathered; NULL outside a value
	char	*text;	//its text, length bytes in size bytes
	size_t	length, size;
	int	texted;	//characters came for it
	//the namespace an element last came in (the parser's own copy, one per name while it reads) and
	//the member's it was taken for: the next element of both is taken without comparing the names
	const xmlChar	*taken_uri;
	const char	*taken_ns;
	xmlDoc	quiet;	//the document conversions see: they write no decode error
	//the Envelope, the Body and the message's element as the tree's tests see them (no allocation:
	//their names and namespaces are the parser's and the declarations' while they are open)
	xmlDoc	above_doc;
	xmlNode	above[3];
	xmlNs	above_ns[3];
	mysax_ns_t	*declared;	//innermost last
	int	declared_count, declared_room;
	unsigned	generation;	//of the declarations: one more at each change
	mysax_name_t	met[MYSAX_NAMES_MET];
}mysax_t;

static void mysax_fail(mysax_t *reader)
{
	reader->failed = 1;
	xmlStopParser(reader->ctxt);
}

//the message is a struct of the type at index type, filled at value; 0, or 1 without memory
static int mysax_struct(mysax_t *reader, int type, void *value)
{
	mysax_frame_t	*grown;

	if(reader->frame_count == reader->frame_room){
		reader->frame_room = reader->frame_room == 0 ? 16 : reader->frame_room * 2;
		grown = (mysax_frame_t *)realloc(reader->frames, (size_t)reader->frame_room * sizeof(*grown));
		if(grown == NULL)
			return 1;
		reader->frames = grown;
	}
	grown = &reader->frames[reader->frame_count++];
	grown->type = &reader->types[type];
	grown->value = (char *)value;
	grown->seen = 0;
	return 0;
}

//1, the element's namespace uri noted as taken for members of namespace ns
static int mysax_taken(mysax_t *reader, const xmlChar *uri, const char *ns)
{
	reader->taken_uri = uri;
	reader->taken_ns = ns;
	return 1;
}

//an element of namespace uri (NULL: none) that a member of namespace ns takes, as mydecode_named tells
static int mysax_named(mysax_t *reader, const xmlChar *uri, const char *ns)
{
	const char	*const *own;

	if(uri == NULL || (uri == reader->taken_uri && ns == reader->taken_ns))
		return 1;
	if(strcmp((const char *)uri, ns) == 0)
		return mysax_taken(reader, uri, ns);
	for(own = reader->namespaces; *own != NULL; own++){
		if(strcmp((const char *)uri, *own) == 0)
			return mysax_taken(reader, uri, ns);
	}
	return 0;
}

//the member of the frame's struct that takes the element; NULL when none does. An element of a
//member's local name that the member does not take fails the reading: the tree would count it
//when it asks whether the member stands twice
static const mysax_member_t *mysax_member(mysax_t *reader, mysax_frame_t *frame, const xmlChar *localname, const xmlChar *uri)
{
	const mysax_member_t	*member = reader->members + frame->type->first;
	int	i;

	for(i = 0; i < frame->type->count; i++, member++){
		if(member->name[0] != (char)localname[0] || strcmp(member->name, (const char *)localname) != 0)
			continue;
		if(!mysax_named(reader, uri, member->ns))
			mysax_fail(reader);
		else if(member->grow == NULL && (frame->seen & (1ULL << i)) != 0)
			mysax_fail(reader);	//a member that stands once stands twice
		frame->seen |= 1ULL << i;
		return reader->failed ? NULL : member;
	}
	return NULL;
}

//room for one more item of the array member in value: the item's place, its count not yet raised;
//NULL without memory. A nil item, an attribute, sends the message to the tree, so the items read
//here have no nil flags: they stay NULL.
static char *mysax_slot(mysax_t *reader, const mysax_member_t *member, char *value)
{
	int	count = *(int *)(value + member->count), result = 0;
	void	**items = (void **)(value + member->offset);

	*items = member->grow(&reader->quiet, "", *items, count, member->size, &result);
	return result == 0 ? (char *)*items + (size_t)count * member->size : NULL;
}

//an element of the member has started in the frame's struct: a value's text is gathered, a struct's
//frame opens (an item counted at once, so that what it holds is freed with the packet)
static void mysax_enter(mysax_t *reader, const mysax_member_t *member, mysax_frame_t *frame)
{
	char	*at = frame->value + member->offset;
	void	**allocated;

	if(member->present != MYSAX_NONE)
		*(int *)(frame->value + member->present) = 1;
	if(member->store != NULL){
		reader->valued = member;
		reader->length = 0;
		reader->texted = 0;
		return;
	}
	if((member->shape & MYSAX_ARRAY) != 0){
		if((at = mysax_slot(reader, member, frame->value)) == NULL){
			mysax_fail(reader);
			return;
		}
		(*(int *)(frame->value + member->count))++;
	}
	if((member->shape & MYSAX_ALLOCATED) != 0){
		allocated = (void **)at;
		if(*allocated == NULL && (*allocated = calloc(1, reader->types[member->type].size)) == NULL){
			mysax_fail(reader);
			return;
		}
		at = (char *)*allocated;
	}
	if(mysax_struct(reader, member->type, at) != 0)
		mysax_fail(reader);
}

//the element of the value gathered has ended: its text converted into place (an item's after the
//items before it); none, where the member may be empty, leaves it as it was
static void mysax_value(mysax_t *reader, mysax_frame_t *frame)
{
	const mysax_member_t	*member = reader->valued;
	char	*at = frame->value + member->offset;

	reader->valued = NULL;
	if((member->shape & MYSAX_ARRAY) != 0 && (at = mysax_slot(reader, member, frame->value)) == NULL){
		mysax_fail(reader);
		return;
	}
	if(reader->texted){
		reader->text[reader->length] = '\0';
		if(member->store(&reader->quiet, (const xmlChar *)reader->text, at) != 0)
			mysax_fail(reader);
	}else if(member->empty_fails){
		mysax_fail(reader);
	}
	if((member->shape & MYSAX_ARRAY) != 0)
		(*(int *)(frame->value + member->count))++;
}

//how many of a start tag's attributes (name and value pairs, NULL behind the last) are no namespace
//declarations; *refers: one of them may make a value by reference (see mydecode_is_reference_name)
static int mysax_attributes(const xmlChar **atts, int *refers)
{
	const char	*name, *colon;
	int	count = 0;

	*refers = 0;
	for(; atts != NULL && *atts != NULL; atts += 2){
		name = (const char *)atts[0];
		if(strncmp(name, "xmlns", 5) == 0 && (name[5] == '\0' || name[5] == ':'))
			continue;
		count++;
		colon = strchr(name, ':');
		*refers = *refers || mydecode_is_reference_name(colon != NULL ? colon + 1 : name);
	}
	return count;
}

//frees what a declaration holds
static void mysax_forget(mysax_ns_t *ns)
{
	free(ns->held);
}

//the namespaces the element at depth declares among its attributes, in scope until it ends; -1
//without memory, or for a declaration the tree would not take as it stands (a prefix's empty one, an
//odd prefix, one of the names XML keeps for itself)
static int mysax_declare(mysax_t *reader, int depth, const xmlChar **atts)
{
	const char	*name, *uri;
	mysax_ns_t	*grown, *ns;
	size_t	prefix_size, uri_size;

	for(; atts != NULL && *atts != NULL; atts += 2){
		name = (const char *)atts[0];
		uri = (const char *)atts[1];
		if(strncmp(name, "xmlns", 5) != 0 || (name[5] != '\0' && name[5] != ':'))
			continue;
		if((name[5] == ':' && (uri[0] == '\0' || name[6] == '\0' || strchr(name + 6, ':') != NULL || strcmp(name + 6, "xml") == 0 ||
				strcmp(name + 6, "xmlns") == 0)) || strcmp(uri, "http://www.w3.org/XML/1998/namespace") == 0 ||
			strcmp(uri, "http://www.w3.org/2000/xmlns/") == 0)
			return -1;
		if(reader->declared_count == reader->declared_room){
			reader->declared_room = reader->declared_room == 0 ? 8 : reader->declared_room * 2;
			if((grown = (mysax_ns_t *)realloc(reader->declared, (size_t)reader->declared_room * sizeof(*grown))) == NULL)
				return -1;
			reader->declared = grown;
		}
		ns = &reader->declared[reader->declared_count];
		//the prefix and the namespace in one allocation: an Envelope declares several. xmlns=""
		//leaves the default namespace undeclared: NULL
		prefix_size = name[5] == ':' ? strlen(name + 6) + 1 : 0;
		uri_size = uri[0] != '\0' ? strlen(uri) + 1 : 0;
		ns->held = prefix_size + uri_size > 0 ? (char *)malloc(prefix_size + uri_size) : NULL;
		if(prefix_size + uri_size > 0 && ns->held == NULL)
			return -1;
		ns->uri = uri_size > 0 ? (char *)memcpy(ns->held, uri, uri_size) : NULL;
		ns->prefix = prefix_size > 0 ? (char *)memcpy(ns->held + uri_size, name + 6, prefix_size) : NULL;
		ns->depth = depth;
		reader->declared_count++;
		reader->generation++;
	}
	return 0;
}

//the declarations of the elements at depth and deeper leave scope; a namespace taken last may have
//been one of them, and its copy's place another's
static void mysax_undeclare(mysax_t *reader, int depth)
{
	while(reader->declared_count > 0 && reader->declared[reader->declared_count - 1].depth >= depth){
		reader->declared_count--;
		mysax_forget(&reader->declared[reader->declared_count]);
		reader->generation++;
		reader->taken_uri = NULL;
	}
}

//the namespace in *uri (NULL: none) of the prefix that qname[0..colon) names (colon NULL: the default
//one): the innermost declaration in scope; xml is bound without one
static void mysax_resolve(mysax_t *reader, const xmlChar *qname, const xmlChar *colon, const xmlChar **uri)
{
	size_t	n = colon != NULL ? (size_t)(colon - qname) : 0;
	const char	*declared;
	int	i;

	for(i = reader->declared_count - 1; i >= 0; i--){
		declared = reader->declared[i].prefix;
		if(colon == NULL ? declared == NULL : declared != NULL && strncmp(declared, (const char *)qname, n) == 0 && declared[n] == '\0'){
			*uri = (const xmlChar *)reader->declared[i].uri;
			return;
		}
	}
	*uri = n == 3 && memcmp(qname, "xml", 3) == 0 ? (const xmlChar *)"http://www.w3.org/XML/1998/namespace" : NULL;
}

//the local part of the name of an element in *local, its namespace in *uri (NULL: none), each name
//resolved once while the declarations stay as they were; -1 where the tree would not read the name
//so (a prefix declared nowhere, which stays in the tree's name, an empty part, a second colon)
static int mysax_name(mysax_t *reader, const xmlChar *qname, const xmlChar **local, const xmlChar **uri)
{
	mysax_name_t	*met = &reader->met[((size_t)qname / sizeof(void *)) % MYSAX_NAMES_MET];
	const xmlChar	*colon;

	if(met->qname != qname || met->generation != reader->generation){
		met->qname = NULL;
		colon = (const xmlChar *)strchr((const char *)qname, ':');
		met->local = colon != NULL ? colon + 1 : qname;
		if(colon != NULL && (colon == qname || *met->local == '\0' || strchr((const char *)met->local, ':') != NULL))
			return -1;
		mysax_resolve(reader, qname, colon, &met->uri);
		if(colon != NULL && met->uri == NULL)
			return -1;
		met->qname = qname;
		met->generation = reader->generation;
	}
	*local = met->local;
	*uri = met->uri;
	return 0;
}

//the node of the element above the message at depth (0 to 2) named local in namespace uri (NULL:
//none), under the one above it
static xmlNodePtr mysax_node(mysax_t *reader, int depth, const xmlChar *local, const xmlChar *uri)
{
	xmlNodePtr	node = &reader->above[depth];

	node->type = XML_ELEMENT_NODE;
	node->name = local;
	node->doc = &reader->above_doc;
	node->parent = depth > 0 ? &reader->above[depth - 1] : (xmlNodePtr)&reader->above_doc;
	reader->above_ns[depth].href = uri;
	node->ns = uri != NULL ? &reader->above_ns[depth] : NULL;
	if(depth == 0)
		reader->above_doc.children = node;
	return node;
}

//an element above the message has started: the Envelope, the Body first in it, and the message's
//element first in the Body, as the tree reads them
static void mysax_above(mysax_t *reader, int depth, xmlNodePtr node)
{
	if(depth == 0){
		reader->rooted = 1;
		if(!mydecode_is_soap(node, "Envelope") || (reader->soap11 && mydecode_version(node) != 11))
			mysax_fail(reader);
	}else if(depth == 1){
		if(!mydecode_is_soap(node, "Body"))
			mysax_fail(reader);
	}else if(reader->kind(reader, node) != 0 || reader->frame_count != 1){
		mysax_fail(reader);
	}
}

static void mysax_start(void *ctx, const xmlChar *name, const xmlChar **atts)
{
	mysax_t	*reader = (mysax_t *)((xmlParserCtxtPtr)ctx)->_private;
	int	depth = reader->depth++, refers, count;
	const xmlChar	*localname, *uri;
	const mysax_member_t	*member;

	if(reader->failed)
		return;
	count = mysax_attributes(atts, &refers);
	if(reader->valued != NULL || (count > 0 && (depth >= 2 || refers))){
		mysax_fail(reader);
		return;
	}
	if(reader->done || reader->skip > 0){
		reader->skip += !reader->done;
		return;
	}
	if(mysax_declare(reader, depth, atts) != 0 || mysax_name(reader, name, &localname, &uri) != 0){
		mysax_fail(reader);
		return;
	}
	//above the message only the first element of each stands: the Body ending or the message's element
	//ending before the reading is done fails it, and once done nothing more is read
	if(depth < 3){
		mysax_above(reader, depth, mysax_node(reader, depth, localname, uri));
		return;
	}
	if((member = mysax_member(reader, &reader->frames[reader->frame_count - 1], localname, uri)) != NULL)
		mysax_enter(reader, member, &reader->frames[reader->frame_count - 1]);
	else if(!reader->failed)
		reader->skip = 1;
}

static void mysax_end(void *ctx, const xmlChar *name)
{
	mysax_t	*reader = (mysax_t *)((xmlParserCtxtPtr)ctx)->_private;
	mysax_frame_t	*frame;
	int	depth = --reader->depth;

	(void)name;
	mysax_undeclare(reader, depth);
	if(reader->failed || reader->done)
		return;
	if(reader->skip > 0){
		reader->skip--;
		return;
	}
	if(depth < 2){
		//the Body or the Envelope ends before the message did
		mysax_fail(reader);
		return;
	}
	frame = &reader->frames[reader->frame_count - 1];
	if(reader->valued != NULL){
		mysax_value(reader, frame);
		return;
	}
	//a struct ends: every member it must have came
	if((frame->seen & frame->type->required) != frame->type->required){
		mysax_fail(reader);
		return;
	}
	if(--reader->frame_count == 0)
		reader->done = 1;
}

//text: gathered for a value, passed over elsewhere, where no decoder reads it
static void mysax_characters(void *ctx, const xmlChar *text, int length)
{
	mysax_t	*reader = (mysax_t *)((xmlParserCtxtPtr)ctx)->_private;

	if(reader->failed || reader->valued == NULL)
		return;
	if(mydecode_gather(&reader->text, &reader->length, &reader->size, text, length) != 0)
		mysax_fail(reader);
	reader->texted = 1;
}

//a CDATA section, a comment or a processing instruction: the tree's in a value and behind the
//envelope, passed over elsewhere
static void mysax_markup(void *ctx)
{
	mysax_t	*reader = (mysax_t *)((xmlParserCtxtPtr)ctx)->_private;

	if(reader->valued != NULL || (reader->rooted && reader->depth == 0))
		mysax_fail(reader);
}

static void mysax_cdata(void *ctx, const xmlChar *text, int length)
{
	(void)text;
	(void)length;
	mysax_markup(ctx);
}

static void mysax_comment(void *ctx, const xmlChar *text)
{
	(void)text;
	mysax_markup(ctx);
}

static void mysax_instruction(void *ctx, const xmlChar *target, const xmlChar *data)
{
	(void)target;
	(void)data;
	mysax_markup(ctx);
}

//an entity's reference, or a document type declaration: the tree's
static void mysax_reference(void *ctx, const xmlChar *name)
{
	(void)name;
	mysax_fail((mysax_t *)((xmlParserCtxtPtr)ctx)->_private);
}

static void mysax_doctype(void *ctx, const xmlChar *name, const xmlChar *external_id, const xmlChar *system_id)
{
	(void)external_id;
	(void)system_id;
	mysax_reference(ctx, name);
}

//reads the document xml[0..length) (see mydecode_read_events) within time where the glance leaves
//it to the reading: 0 when the message was read whole so and nothing but blanks follows the root element, 1
//where the tree must read it
static int mysax_read(mysax_t *reader, const char *xml, size_t length, mydecode_time_t *time)
{
	static const xmlSAXHandler	events = {.startDocument = mydecode_start_treeless, .internalSubset = mysax_doctype, .startElement = mysax_start,
		.endElement = mysax_end, .characters = mysax_characters, .ignorableWhitespace = mysax_characters,
		.cdataBlock = mysax_cdata, .comment = mysax_comment, .processingInstruction = mysax_instruction,
		.reference = mysax_reference};
	int	result = mydecode_may_read(reader->names, xml, length) && mydecode_read_events(xml, length, NULL, 0, time, &events, reader, &reader->ctxt) &&
		!reader->failed && reader->done ? 0 : 1;

	mysax_undeclare(reader, 0);
	free(reader->declared);
	free(reader->text);
	free(reader->frames);
	return result;
}
