//MTOM: a message read as a XOP package (multipart/related, its root part application/xop+xml) holds
//each binary value as a part of its own, which an xop:Include in the envelope names by its
//Content-ID. The parts stay bytes where they lie in the message: only the root part is parsed, and
//an element whose Include was taken holds its part (in its _private) in place of text

//one part of a package: its bytes in the message (or, once the message has handed its room on, its
//Base64 text made already), its Content-ID (angle brackets aside) and type
typedef struct mymtom_part_t{
	const char	*bytes;
	size_t	length;
	char	*text;
	const char	*id;
	size_t	id_len;
	const char	*type;
	size_t	type_len;
	int	included;	//an xop:Include has taken it
}mymtom_part_t;

//the parts of a message read (no part but the root: none); xop is set for a XOP package
typedef struct mymtom_package_t{
	mymtom_part_t	*parts;
	long	count;
	long	room;
	int	xop;
}mymtom_package_t;

//the part that the element at cur holds in place of text; NULL for none
static const mymtom_part_t *mymtom_part_of(xmlNodePtr cur) KVPROJ_MAYBE_UNUSED;

static const mymtom_part_t *mymtom_part_of(xmlNodePtr cur)
{
	const mymtom_package_t	*package = cur->doc != NULL ? (const mymtom_package_t *)cur->doc->psvi : NULL;
	const mymtom_part_t	*part = (const mymtom_part_t *)cur->_private;

	//_private may also hold what encoded references left there: only a pointer into the parts counts
	if(package == NULL || part == NULL || cur->xmlChildrenNode != NULL || cur->type != XML_ELEMENT_NODE)
		return NULL;
	return part >= package->parts && part < package->parts + package->count ? part : NULL;
}

//the four Base64 digits of the first n (1 to 3) of three bytes into text, padded with '='
static void mymtom_quad(const unsigned char *bytes, size_t n, char *text)
{
	static const char	digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
	unsigned long	triple = (unsigned long)bytes[0] << 16 | (n > 1 ? (unsigned long)bytes[1] << 8 : 0) | (n > 2 ? bytes[2] : 0);

	text[0] = digits[triple >> 18];
	text[1] = digits[(triple >> 12) & 63];
	text[2] = n > 1 ? digits[(triple >> 6) & 63] : '=';
	text[3] = n > 2 ? digits[triple & 63] : '=';
}

//the Base64 text of length bytes into text (room for 4 * ((length + 2) / 3) + 1 bytes), ended
static void mymtom_base64(const unsigned char *bytes, size_t length, char *text) KVPROJ_MAYBE_UNUSED;

static void mymtom_base64(const unsigned char *bytes, size_t length, char *text)
{
	size_t	i;

	for(i = 0; i < length; i += 3, text += 4)
		mymtom_quad(bytes + i, length - i < 3 ? length - i : 3, text);
	*text = '\0';
}

//the Base64 text of the length bytes at the start of text (room as above), written over them from the
//back: each group's text lies at or behind its bytes, and the bytes in front are not reached
static void mymtom_base64_in_place(char *text, size_t length) KVPROJ_MAYBE_UNUSED;

static void mymtom_base64_in_place(char *text, size_t length)
{
	unsigned char	group[3];
	size_t	at = length / 3 * 3;

	text[4 * ((length + 2) / 3)] = '\0';
	if(at < length){
		memcpy(group, text + at, length - at);
		mymtom_quad(group, length - at, text + at / 3 * 4);
	}
	while(at > 0){
		at -= 3;
		memcpy(group, text + at, 3);
		mymtom_quad(group, 3, text + at / 3 * 4);
	}
}

//the part's Base64 text, allocated with malloc (xmlMalloc when xml is set); NULL without memory or
//when its text was taken already
static char *mymtom_text_of(const mymtom_part_t *part, int xml) KVPROJ_MAYBE_UNUSED;

static char *mymtom_text_of(const mymtom_part_t *part, int xml)
{
	size_t	size = 4 * ((part->length + 2) / 3) + 1;
	char	*text;

	if(part->length > ((size_t)-1) / 2 || (part->text == NULL && part->bytes == NULL))
		return NULL;
	text = xml ? (char *)xmlMalloc(size) : (char *)malloc(size);
	if(text != NULL && part->text != NULL)
		memcpy(text, part->text, size);
	else if(text != NULL)
		mymtom_base64((const unsigned char *)part->bytes, part->length, text);
	return text;
}

//the text of the element at cur as a value's reader takes it, to be freed with xmlFree: its part's
//Base64 text where it holds one, else its children's text (NULL for none)
static xmlChar *mymtom_text(xmlDocPtr doc, xmlNodePtr cur) KVPROJ_MAYBE_UNUSED;

static xmlChar *mymtom_text(xmlDocPtr doc, xmlNodePtr cur)
{
	const mymtom_part_t	*part = mymtom_part_of(cur);

	return part != NULL ? (xmlChar *)mymtom_text_of(part, 1) : xmlNodeListGetString(doc, cur->xmlChildrenNode, 1);
}

//the part the element at cur holds into the allocated text at *dest: the text made already is taken
//over, else the Base64 text is written straight from the part's bytes (no copy of the text between);
//-1 without memory, said in the decode error as the member's failure
static int mymtom_take(xmlDocPtr doc, xmlNodePtr cur, const char *member, char **dest) KVPROJ_MAYBE_UNUSED;

static int mymtom_take(xmlDocPtr doc, xmlNodePtr cur, const char *member, char **dest)
{
	mymtom_part_t	*part = (mymtom_part_t *)mymtom_part_of(cur);
	char	*text = part->text != NULL ? part->text : mymtom_text_of(part, 0);
	char	*error = (char *)doc->_private;

	if(text == NULL){
		if(error != NULL && error[0] == '\0')
			snprintf(error, KVPROJ_MAX_DECODE_ERROR_LEN + 1, "%s: %s", member, part->bytes == NULL ? "the binary part it includes was taken already" :
				"no memory for the binary part it includes");
		return -1;
	}
	part->text = NULL;
	free(*dest);
	*dest = text;
	return 0;
}
