//the parts of a XOP package beyond its root, each kept where it lies in the message. A build may set
//its own bound on their number (-D)
#ifndef KVPROJ_MAX_MESSAGE_PARTS
#define KVPROJ_MAX_MESSAGE_PARTS 1024
#endif

#define MYMTOM_INCLUDE_NS	"http://www.w3.org/2004/08/xop/include"

//why a package is refused into why (size bytes); -1
static int mymtom_refuse(char *why, size_t size, const char *what, unsigned long part)
{
	snprintf(why, size, "multipart/related (XOP): %s (part %lu)", what, part);
	return -1;
}

//a Content-Type value[0..len) of a XOP package: multipart/related whose type parameter is
//application/xop+xml
static int mymtom_is_package(const char *value, size_t len)
{
	const char	*type;
	size_t	n = 0;

	if(value == NULL || len < 17 || !http_is_word(value, 17, "multipart/related") || (len > 17 && value[17] != ';' && value[17] != ' '))
		return 0;
	type = mydecode_param(value, len, "type", &n);
	return type != NULL && http_is_word(type, n, "application/xop+xml");
}

//one more part in the package; -1 without memory
static int mymtom_add(mymtom_package_t *package, const mymtom_part_t *part)
{
	mymtom_part_t	*grown;

	if(package->count == package->room){
		package->room = package->room == 0 ? 8 : package->room * 2;
		if((grown = (mymtom_part_t *)realloc(package->parts, (size_t)package->room * sizeof(*grown))) == NULL)
			return -1;
		package->parts = grown;
	}
	package->parts[package->count++] = *part;
	return 0;
}

//the part whose header lines start at at: its headers read, its content up to the next delimiter
//(n bytes); the offset of that delimiter, or end when none follows
static size_t mymtom_part_at(const char *buffer, size_t at, size_t end, const char *delimiter, size_t n, mymtom_part_t *part)
{
	size_t	content = mydecode_find(buffer, at, end, "\r\n\r\n", 4), next;

	//a part without header lines starts with the empty line
	content = end - at >= 2 && buffer[at] == '\r' && buffer[at + 1] == '\n' ? at + 2 : content == end ? end : content + 4;
	memset(part, 0, sizeof(*part));
	part->id = http_field_in(buffer, at, content, "Content-ID", &part->id_len);
	part->type = http_field_in(buffer, at, content, "Content-Type", &part->type_len);
	next = mydecode_find(buffer, content, end, delimiter, n);
	part->bytes = buffer + content;
	part->length = next - content;
	if(part->id != NULL && part->id_len >= 2 && part->id[0] == '<' && part->id[part->id_len - 1] == '>'){
		part->id++;
		part->id_len -= 2;
	}
	return next;
}

//the parts of the message buffer[0..end) (head up to header_end) into package when it is a XOP
//package, the root (whose content holds xml_beg) left out: 0, or -1 and why when its boundary never
//ends (a part with no delimiter behind it), it has more than KVPROJ_MAX_MESSAGE_PARTS parts, or no
//memory is left. Any other message leaves the package empty
static int mymtom_read(const char *buffer, size_t header_end, size_t end, size_t xml_beg, mymtom_package_t *package, char *why, size_t size)
{
	char	delimiter[128];
	const char	*type;
	size_t	type_len = 0, n, at = header_end + 4, next;
	mymtom_part_t	part;
	unsigned long	number = 0;

	memset(package, 0, sizeof(*package));
	type = http_header_value(buffer, header_end + 2, "Content-Type", &type_len);
	if(!mymtom_is_package(type, type_len))
		return 0;
	package->xop = 1;
	if((n = mydecode_delimiter(type, type_len, buffer, at, end, delimiter, sizeof(delimiter))) == 0)
		return mymtom_refuse(why, size, "the Content-Type names no boundary", 0);
	//the first delimiter opens the body or follows a preamble
	if(!(end - at >= n - 2 && memcmp(buffer + at, delimiter + 2, n - 2) == 0)){
		if((at = mydecode_find(buffer, at, end, delimiter, n)) == end)
			return mymtom_refuse(why, size, "no delimiter of the boundary opens the body", 0);
		at += 2;
	}
	for(;;){
		at += n - 2;
		if(end - at >= 2 && buffer[at] == '-' && buffer[at + 1] == '-')
			return 0;
		//blanks may stand behind a delimiter, up to its line's end
		at = http_line_end(buffer, at, end) + 2;
		if(at > end || (next = mymtom_part_at(buffer, at, end, delimiter, n, &part)) == end)
			return mymtom_refuse(why, size, "the boundary never ends: no delimiter follows the part", number);
		if(!(xml_beg >= (size_t)(part.bytes - buffer) && xml_beg <= next)){
			if(package->count >= KVPROJ_MAX_MESSAGE_PARTS)
				return mymtom_refuse(why, size, "more parts than KVPROJ_MAX_MESSAGE_PARTS", number);
			if(mymtom_add(package, &part) != 0)
				return mymtom_refuse(why, size, "no memory for the parts", number);
		}
		number++;
		at = next + 2;
	}
}

static void mymtom_free(mymtom_package_t *package)
{
	long	i;

	for(i = 0; i < package->count; i++)
		free(package->parts[i].text);
	free(package->parts);
	package->parts = NULL;
	package->count = 0;
	package->room = 0;
}

//the hexadecimal digit's value, -1 for another character
static int mymtom_hex(char c)
{
	return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

//whether the cid: address's rest cid (its %XX escapes decoded) is the part's Content-ID
static int mymtom_names(const char *cid, const mymtom_part_t *part)
{
	size_t	i = 0;
	int	high, low;

	for(; *cid != '\0'; cid++, i++){
		if(i >= part->id_len)
			return 0;
		if(*cid == '%' && (high = mymtom_hex(cid[1])) >= 0 && (low = mymtom_hex(cid[2])) >= 0){
			if(part->id[i] != (char)(high * 16 + low))
				return 0;
			cid += 2;
		}else if(part->id[i] != *cid){
			return 0;
		}
	}
	return i == part->id_len;
}

//the part a cid: address names; NULL for none
static mymtom_part_t *mymtom_named(mymtom_package_t *package, const char *href)
{
	long	i;

	if(strncmp(href, "cid:", 4) != 0)
		return NULL;
	for(i = 0; i < package->count; i++){
		if(package->parts[i].id != NULL && mymtom_names(href + 4, &package->parts[i]))
			return &package->parts[i];
	}
	return NULL;
}

//the node behind node and all it holds, within top; NULL at top's end
static xmlNodePtr mymtom_after(xmlNodePtr node, xmlNodePtr top)
{
	while(node != top && node->next == NULL)
		node = node->parent;
	return node == top ? NULL : node->next;
}

//an Include that cannot be taken: -1, and why with its href in the decode error
static int mymtom_include_fails(xmlDocPtr doc, const char *why, const xmlChar *href)
{
	char	*error = (char *)doc->_private;

	if(error != NULL && error[0] == '\0')
		snprintf(error, KVPROJ_MAX_DECODE_ERROR_LEN + 1, "xop:Include href=\"%.120s\": %s", href != NULL ? (const char *)href : "", why);
	return -1;
}

//whether node stands alone among its siblings, blanks aside
static int mymtom_alone(xmlNodePtr node)
{
	xmlNodePtr	sibling;
	const xmlChar	*c;

	for(sibling = node->parent->children; sibling != NULL; sibling = sibling->next){
		if(sibling == node)
			continue;
		if(sibling->type != XML_TEXT_NODE || sibling->content == NULL)
			return 0;
		for(c = sibling->content; *c == ' ' || *c == '\t' || *c == '\r' || *c == '\n'; c++)
			;
		if(*c != '\0')
			return 0;
	}
	return 1;
}

//takes each xop:Include of the tree: the part it names goes to its parent element in place of the
//Include; -1 and why in the decode error for an Include that names no part of the package, or a part
//an Include took already. The package stays the document's (its psvi) while the tree is read
static int mymtom_include(xmlDocPtr doc, mymtom_package_t *package)
{
	xmlNodePtr	top = xmlDocGetRootElement(doc), node, next, parent;
	xmlChar	*href;
	mymtom_part_t	*part;
	int	result = 0;

	doc->psvi = package;
	for(node = top; node != NULL && result == 0; node = next){
		if(node->type != XML_ELEMENT_NODE || node->ns == NULL || node->ns->href == NULL || node == top ||
				xmlStrcmp(node->name, (const xmlChar *)"Include") != 0 || xmlStrcmp(node->ns->href, (const xmlChar *)MYMTOM_INCLUDE_NS) != 0){
			next = mydecode_following(node, top);
			continue;
		}
		//what follows the Include's element: the element loses its children
		next = mymtom_after(node->parent, top);
		href = xmlGetNoNsProp(node, (const xmlChar *)"href");
		if(href == NULL || (part = mymtom_named(package, (const char *)href)) == NULL)
			result = mymtom_include_fails(doc, "no part of the message has that Content-ID", href);
		else if(part->included)
			result = mymtom_include_fails(doc, "the part is included twice", href);
		else if(!mymtom_alone(node))
			result = mymtom_include_fails(doc, "the Include does not stand alone in its element", href);
		else{
			part->included = 1;
			parent = node->parent;
			parent->_private = part;
			//the element holds the part and nothing else: its blanks go with the Include
			while((node = parent->children) != NULL){
				xmlUnlinkNode(node);
				xmlFreeNode(node);
			}
		}
		if(href != NULL)
			xmlFree(href);
	}
	return result;
}

//the buffer of a message that the reader hands on to its values: text[0..length) is the message, in
//room of size bytes
struct mymtom_room_t{
	char	*text;
	size_t	length;
	size_t	size;
};

//a package's largest part behind its root (whose part ends at root_end), when it holds more than
//what lies in front of it: it becomes its Base64 text where it lies in room, which then holds a copy
//of what lies in front of the part alone. So the message and the value's text are not held at once.
//The other parts' texts are made first, the message's bytes being gone after; a step without memory
//leaves the message as it was
static void mymtom_in_place(mymtom_package_t *package, struct mymtom_room_t *room, size_t root_end)
{
	mymtom_part_t	*largest = NULL;
	char	*front, *text;
	size_t	before, size;
	long	i;

	for(i = 0; room != NULL && i < package->count; i++){
		if(largest == NULL || package->parts[i].length > largest->length)
			largest = &package->parts[i];
	}
	if(largest == NULL || largest->bytes < room->text + root_end || largest->bytes > room->text + room->length)
		return;
	before = (size_t)(largest->bytes - room->text);
	size = 4 * ((largest->length + 2) / 3) + 1;
	if(largest->length <= before || largest->length > ((size_t)-1) / 2)
		return;
	for(i = 0; i < package->count; i++){
		if(&package->parts[i] != largest && package->parts[i].text == NULL &&
				(package->parts[i].text = mymtom_text_of(&package->parts[i], 0)) == NULL)
			return;
	}
	if((front = (char *)malloc(before + 1)) == NULL)
		return;
	memcpy(front, room->text, before);
	front[before] = '\0';
	memmove(room->text, largest->bytes, largest->length);
	//a buffer read without room for the text grows (this copy is the allocator's, if any)
	if(size > room->size && (text = (char *)realloc(room->text, size)) != NULL){
		room->text = text;
		room->size = size;
	}
	if(size > room->size){
		//no memory: the part's bytes go back behind what was in front of them
		memmove(room->text + before, room->text, largest->length);
		memcpy(room->text, front, before);
		free(front);
		return;
	}
	mymtom_base64_in_place(room->text, largest->length);
	largest->text = room->text;
	//nothing of a part points into the message any more
	for(i = 0; i < package->count; i++){
		package->parts[i].bytes = NULL;
		package->parts[i].id = NULL;
		package->parts[i].id_len = 0;
		package->parts[i].type = NULL;
		package->parts[i].type_len = 0;
	}
	room->text = front;
	room->length = before;
	room->size = before + 1;
}
