//MTOM on sending: a message from a packet whose mtom is set goes as a XOP package (multipart/related,
//the envelope in its root part), and each base64Binary value of at least mtom bytes goes as a binary
//part of its own, which an xop:Include in its element names

//a value that goes as a part: its Base64 text (the caller's until the message is sent) and its bytes
typedef struct mymtom_value_t{
	const char	*text;
	size_t	size;
	size_t	length;
}mymtom_value_t;

struct mymtom_sending_t{
	long	least;	//the bytes a value has at least to go as a part
	char	token[40];	//the message's own: its boundary and Content-IDs hold it
	size_t	head;	//the bytes of the root part's head, in front of the envelope
	mymtom_value_t	*values;
	long	count;
	long	room;
};

//the value of a Base64 digit; -1 for a pad or anything else
static int mymtom_digit(char c)
{
	if(c >= 'A' && c <= 'Z')
		return c - 'A';
	if(c >= 'a' && c <= 'z')
		return c - 'a' + 26;
	if(c >= '0' && c <= '9')
		return c - '0' + 52;
	return c == '+' ? 62 : c == '/' ? 63 : -1;
}

//the bytes the Base64 text (at most size bytes, blanks between its characters aside) stands for;
//(size_t)-1 when it is no Base64
static size_t mymtom_decoded_length(const char *text, size_t size)
{
	size_t	i, digits = 0, pads = 0;

	for(i = 0; i < size && text[i] != '\0'; i++){
		if(text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')
			continue;
		if(text[i] == '=' && pads < 2)
			pads++;
		else if(pads == 0 && mymtom_digit(text[i]) >= 0)
			digits++;
		else
			return (size_t)-1;
	}
	if((digits + pads) % 4 != 0 || (pads > 0 && digits % 4 + pads != 4))
		return (size_t)-1;
	return digits / 4 * 3 + (digits % 4 == 0 ? 0 : digits % 4 - 1);
}

//the bytes of a Base64 text that mymtom_decoded_length took into out
static void mymtom_decode(const char *text, size_t size, unsigned char *out)
{
	unsigned long	bits = 0;
	int	digit, held = 0;
	size_t	i;

	for(i = 0; i < size && text[i] != '\0'; i++){
		if((digit = mymtom_digit(text[i])) < 0)
			continue;
		bits = (bits << 6) | (unsigned long)digit;
		if(++held == 4){
			*out++ = (unsigned char)(bits >> 16);
			*out++ = (unsigned char)(bits >> 8);
			*out++ = (unsigned char)bits;
			held = 0;
			bits = 0;
		}
	}
	if(held == 3){
		*out++ = (unsigned char)(bits >> 10);
		*out = (unsigned char)(bits >> 2);
	}else if(held == 2){
		*out = (unsigned char)(bits >> 4);
	}
}

//a base64Binary value (at most size bytes of its text): an xop:Include of a part of its own where the
//message goes as a package and the value has bytes enough, else its text
static int mymtomcat(mycursor_t *out, const char *text, size_t size) KVPROJ_MAYBE_UNUSED;

static int mymtomcat(mycursor_t *out, const char *text, size_t size)
{
	struct mymtom_sending_t	*mtom = out->mtom;
	mymtom_value_t	*grown;
	char	include[160];
	size_t	length;

	if(mtom == NULL || (length = mymtom_decoded_length(text, size)) == (size_t)-1 || length == 0 || length < (size_t)mtom->least)
		return mytstrcat(out, text, size);
	if(mtom->count == mtom->room){
		mtom->room = mtom->room == 0 ? 8 : mtom->room * 2;
		if((grown = (mymtom_value_t *)realloc(mtom->values, (size_t)mtom->room * sizeof(*grown))) == NULL)
			return myrefuse(out);
		mtom->values = grown;
	}
	mtom->values[mtom->count].text = text;
	mtom->values[mtom->count].size = size;
	mtom->values[mtom->count].length = length;
	snprintf(include, sizeof(include), "<xop:Include xmlns:xop=\"http://www.w3.org/2004/08/xop/include\" href=\"cid:%ld.%s@mtom\"/>",
		mtom->count++, mtom->token);
	return mystrcat(out, include);
}

//opens the package of a message from the packet when its mtom is set: the root part's head comes
//first. A message that also carries an attachment of its own is refused
static void mymtom_begin(kvproj_proto_packet_t *pk, mycursor_t *body)
{
	struct mymtom_sending_t	*mtom;
	char	*start = body->tail;

	if(pk->mtom <= 0)
		return;
	if(pk->attachment != NULL || (!pk->boundary_received && pk->boundary_part[0] != '\0')){
		snprintf(body->why, body->why_size, "a message with an attachment of its own does not go as MTOM");
		myrefuse(body);
		return;
	}
	if((mtom = (struct mymtom_sending_t *)calloc(1, sizeof(*mtom))) == NULL){
		myrefuse(body);
		return;
	}
	mtom->least = pk->mtom;
	//the clock and the place of the state tell this message from every other of the process
	snprintf(mtom->token, sizeof(mtom->token), "%08lx%08lx%08lx", (unsigned long)((tessaro_clock_usec() >> 16) >> 16),
		(unsigned long)(tessaro_clock_usec() & 0xffffffffu), (unsigned long)((size_t)mtom & 0xffffffffu));
	body->mtom = mtom;
	mystrcat(body, "--MIMEBoundary_");
	mystrcat(body, mtom->token);
	mystrcat(body, "\r\nContent-Type: application/xop+xml; charset=UTF-8; type=\"");
	mystrcat(body, pk->soap_version == KVPROJ_SOAP_1_2 ? "application/soap+xml" : "text/xml");
	mystrcat(body, "\"\r\nContent-Transfer-Encoding: binary\r\nContent-ID: <root.");
	mystrcat(body, mtom->token);
	mystrcat(body, "@mtom>\r\n\r\n");
	mtom->head = body->tail != NULL ? (size_t)(body->tail - start) : 0;
}

//room for length more bytes behind the body's tail, grown to the very size: a part of many
//megabytes does not double the block
static int mymtom_reserve(mycursor_t *body, size_t length)
{
	size_t	used;
	char	*grown;

	if(body->tail == NULL || body->block == NULL)
		return -1;
	if(length <= (size_t)(body->end - body->tail))
		return 0;
	used = (size_t)(body->tail - body->block);
	if(length > ((size_t)-1) - used - 2 || (grown = (char *)realloc(body->block, used + length + 1)) == NULL)
		return myrefuse(body);
	body->block = grown;
	body->tail = grown + used;
	body->end = grown + used + length;
	return 0;
}

//the binary parts behind the envelope, and the close delimiter
static void mymtom_parts(mycursor_t *body)
{
	struct mymtom_sending_t	*mtom = body->mtom;
	char	head[256];
	size_t	total = 64, n;
	long	i;

	for(i = 0; i < mtom->count; i++)
		total += mtom->values[i].length + sizeof(head);
	if(mymtom_reserve(body, total) != 0)
		return;
	for(i = 0; i < mtom->count && body->tail != NULL; i++){
		n = (size_t)snprintf(head, sizeof(head), "\r\n--MIMEBoundary_%s\r\nContent-Type: application/octet-stream\r\n"
			"Content-Transfer-Encoding: binary\r\nContent-ID: <%ld.%s@mtom>\r\n\r\n", mtom->token, i, mtom->token);
		mymemcat(body, head, n);
		if(mycursor_fit(body, mtom->values[i].length) == 0){
			mymtom_decode(mtom->values[i].text, mtom->values[i].size, (unsigned char *)body->tail);
			body->tail += mtom->values[i].length;
			*body->tail = '\0';
		}
	}
	mystrcat(body, "\r\n--MIMEBoundary_");
	mystrcat(body, mtom->token);
	mystrcat(body, "--\r\n");
}

//the package's Content-Type line; soap_action as a SOAP 1.2 request's action parameter (unless NULL
//or empty)
static void mymtom_content_type(mycursor_t *out, const kvproj_proto_packet_t *pk, const struct mymtom_sending_t *mtom, const char *soap_action, int request)
{
	int	soap12 = pk->soap_version == KVPROJ_SOAP_1_2;

	mystrcat(out, "Content-Type: multipart/related; type=\"application/xop+xml\"; boundary=\"MIMEBoundary_");
	mystrcat(out, mtom->token);
	mystrcat(out, "\"; start=\"<root.");
	mystrcat(out, mtom->token);
	mystrcat(out, soap12 ? "@mtom>\"; start-info=\"application/soap+xml\"" : "@mtom>\"; start-info=\"text/xml\"");
	if(soap12 && request && soap_action != NULL && soap_action[0] != '\0'){
		mystrcat(out, "; action=\"");
		mystrcat(out, soap_action);
		mystrcat(out, "\"");
	}
	mystrcat(out, "\r\n");
}

static void mymtom_end(mycursor_t *body)
{
	if(body->mtom != NULL)
		free(body->mtom->values);
	free(body->mtom);
	body->mtom = NULL;
}

_declspec(dllexport) int WINAPI kvproj_client_set_mtom(kvproj_client_t *client, long least_bytes)
{
	if(client == NULL || least_bytes < 0)
		return KVPROJ_ERR_ARGUMENT;
	client->mtom = least_bytes;
	return 0;
}
