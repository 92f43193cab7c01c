//write position and last byte of a text being built; tail is NULL once it overflowed. block is NULL
//for a buffer of fixed size, else the allocated block the text lies in, which grows as the text needs.
//why (NULL: nowhere) of why_size bytes takes the reason a value was refused, when it is still empty;
//mtom (NULL: none) gathers the binary parts of a message that goes as a XOP package
typedef struct mycursor_t{
	char	*tail;
	char	*end;
	char	*block;
	char	*why;
	size_t	why_size;
	struct mymtom_sending_t	*mtom;
}mycursor_t;

static void mycursor_init(mycursor_t *out, char *buffer, size_t size)
{
	out->tail = buffer;
	out->end = buffer + size - 1;
	out->block = NULL;
	out->why = NULL;
	out->why_size = 0;
	out->mtom = NULL;
	*buffer = '\0';
}

//room for length more bytes behind the tail: a block at least doubles, a fixed buffer is spent
static int mycursor_fit(mycursor_t *out, size_t length)
{
	size_t	used, size;
	char	*grown;

	if(out->tail == NULL)
		return -1;
	if(length <= (size_t)(out->end - out->tail))
		return 0;
	if(out->block == NULL){
		out->tail = NULL;
		return -1;
	}
	used = (size_t)(out->tail - out->block);
	size = (size_t)(out->end - out->block) + 1;
	while(size - used <= length){
		if(size > ((size_t)-1) / 4){
			out->tail = NULL;
			return -1;
		}
		size *= 2;
	}
	if((grown = (char *)realloc(out->block, size)) == NULL){
		out->tail = NULL;
		return -1;
	}
	out->block = grown;
	out->tail = grown + used;
	out->end = grown + size - 1;
	return 0;
}

static int mymemcat(mycursor_t *out, const char *text, size_t length)
{
	if(mycursor_fit(out, length) != 0)
		return -1;
	memcpy(out->tail, text, length);
	out->tail += length;
	*out->tail = '\0';
	return 0;
}

static int mystrcat(mycursor_t *out, const char *text)
{
	return mymemcat(out, text, strlen(text));
}

//the cursor is spent: nothing of the text being built is sent
static int myrefuse(mycursor_t *out)
{
	out->tail = NULL;
	return -1;
}

//the length of the UTF-8 sequence at s (at most size bytes) when it is a character XML can carry; 0 when not
static size_t myxmlchar(const unsigned char *s, size_t size)
{
	unsigned long	c = s[0];
	size_t		n, k;

	if(c < 0x80)
		return c >= 0x20 || c == '\t' || c == '\n' || c == '\r' ? 1 : 0;
	n = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
	if(n == 0 || n > size)
		return 0;
	c &= 0x3F >> (n - 1);
	for(k = 1; k < n; k++){
		if((s[k] & 0xC0) != 0x80)
			return 0;
		c = (c << 6) | (s[k] & 0x3F);
	}
	if((n == 3 && c < 0x800) || (n == 4 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE || c == 0xFFFF)
		return 0;
	return n;
}

//whether an XML text or attribute value writes the byte otherwise than as it is
static int myxmlspecial(unsigned char c)
{
	return c == '&' || c == '<' || c == '>' || c == '"' || c == '\'' || c == '\r' || c == '\t' || c == '\n';
}

//appends at most size bytes of text as character data (mode 0) or an attribute value (mode 1): & < > " '
//as references, and the line ends and tabs a reader would change as character references; mode 2 appends
//markup as it is; text XML cannot carry (control characters, bytes that are no UTF-8) is refused with -1
//and spends the cursor
static int myxmlcat(mycursor_t *out, const char *text, size_t size, int mode)
{
	const unsigned char	*s = (const unsigned char *)text;
	size_t			i, n, k;
	int			result = 0;

	for(i = 0; i < size && s[i] != '\0' && result == 0; i += n){
		n = myxmlchar(s + i, size - i);
		if(n == 0)
			return myrefuse(out);
		switch(mode == 2 ? 0 : s[i]){
		case '&': result = mystrcat(out, "&amp;"); break;
		case '<': result = mystrcat(out, "&lt;"); break;
		case '>': result = mystrcat(out, "&gt;"); break;
		case '"': result = mystrcat(out, "&quot;"); break;
		case '\'': result = mystrcat(out, "&apos;"); break;
		case '\r': result = mystrcat(out, "&#13;"); break;
		case '\t': result = mystrcat(out, mode == 1 ? "&#9;" : "\t"); break;
		case '\n': result = mystrcat(out, mode == 1 ? "&#10;" : "\n"); break;
		default:
			//the run of characters that go as they are, copied at once
			while(i + n < size && s[i + n] != '\0' && (mode == 2 || !myxmlspecial(s[i + n])) &&
					(k = myxmlchar(s + i + n, size - i - n)) != 0)
				n += k;
			result = mymemcat(out, text + i, n);
		}
	}
	return result;
}

//a text member as character data, as an attribute value, and as the markup an xsd:any stands for
#define mytstrcat(out, text, size) myxmlcat(out, text, size, 0)
#define myattrcat(out, text, size) myxmlcat(out, text, size, 1)
#define mymarkupcat(out, text, size) myxmlcat(out, text, size, 2)
