//MTOM on sending: a message from a packet whose mtom is set goes as a XOP package (multipart/related,
//the envelope in its root part), and each base64Binary value of at least mtom bytes goes as a binary
//part of its own, which an xop:Include in its element names

//a value that goes as a part: its Base64 text (the caller's until the message is sent), its bytes,
//and where they go in the message (counted from the block's start): the message holds the part's
//head alone, and the bytes are decoded from the text as they are sent
typedef struct mymtom_value_t{
	const char	*text;
	size_t	size;
	size_t	length;
	size_t	at;
}mymtom_value_t;

struct mymtom_sending_t{
	long	least;	//the bytes a value has at least to go as a part
	char	token[40];	//the message's own: its boundary and Content-IDs hold it
	size_t	head;	//the bytes of the root part's head, in front of the envelope
	size_t	bytes;	//the values' bytes together
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

//a Base64 text that mymtom_decoded_length took, decoded a piece at a time
typedef struct mymtom_decoding_t{
	const char	*text;
	size_t	left;	//the characters of the text not read yet
	unsigned long	bits;
	int	held;	//the digits in bits
}mymtom_decoding_t;

//the next bytes of the decoding into out, at most room (3 or more); 0 once all have come
static size_t mymtom_decode_some(mymtom_decoding_t *decoding, unsigned char *out, size_t room)
{
	size_t	n = 0;
	int	digit;

	for(; n + 3 <= room && decoding->left > 0 && *decoding->text != '\0'; decoding->text++, decoding->left--){
		if((digit = mymtom_digit(*decoding->text)) < 0)
			continue;
		decoding->bits = (decoding->bits << 6) | (unsigned long)digit;
		if(++decoding->held == 4){
			out[n++] = (unsigned char)(decoding->bits >> 16);
			out[n++] = (unsigned char)(decoding->bits >> 8);
			out[n++] = (unsigned char)decoding->bits;
			decoding->held = 0;
			decoding->bits = 0;
		}
	}
	//the text's end: the digits held stand for a byte or two
	if((decoding->left == 0 || *decoding->text == '\0') && n + 2 <= room){
		if(decoding->held == 3){
			out[n++] = (unsigned char)(decoding->bits >> 10);
			out[n++] = (unsigned char)(decoding->bits >> 2);
		}else if(decoding->held == 2){
			out[n++] = (unsigned char)(decoding->bits >> 4);
		}
		decoding->held = 0;
	}
	return n;
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
	mtom->bytes += length;
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

//the binary parts' heads behind the envelope, each with the place its bytes go, and the close delimiter
static void mymtom_parts(mycursor_t *body)
{
	struct mymtom_sending_t	*mtom = body->mtom;
	char	head[256];
	size_t	n;
	long	i;

	for(i = 0; i < mtom->count && body->tail != NULL; i++){
		n = (size_t)snprintf(head, sizeof(head), "\r\n--MIMEBoundary_%s\r\nContent-Type: application/octet-stream\r\n"
			"Content-Transfer-Encoding: binary\r\nContent-ID: <%ld.%s@mtom>\r\n\r\n", mtom->token, i, mtom->token);
		mymemcat(body, head, n);
		if(body->tail != NULL)
			mtom->values[i].at = (size_t)(body->tail - body->block);
	}
	mystrcat(body, "\r\n--MIMEBoundary_");
	mystrcat(body, mtom->token);
	mystrcat(body, "--\r\n");
}

//hands the message on in pieces to take (which sends or keeps them; non-zero stops): message[0..length)
//as it lies, but for each value's bytes, decoded from its text at its place (block + at). Scratch
//holds room bytes
static int mymtom_pieces(const struct mymtom_sending_t *mtom, const char *message, size_t length, const char *block,
	unsigned char *scratch, size_t room, int (*take)(void *context, const void *piece, size_t n), void *context)
{
	const char	*from = message, *place;
	mymtom_decoding_t	decoding;
	size_t	n;
	long	i;
	int	result = 0;

	for(i = 0; i < mtom->count && result == 0; i++){
		place = block + mtom->values[i].at;
		if(place > from)
			result = take(context, from, (size_t)(place - from));
		from = place;
		memset(&decoding, 0, sizeof(decoding));
		decoding.text = mtom->values[i].text;
		decoding.left = mtom->values[i].size;
		while(result == 0 && (n = mymtom_decode_some(&decoding, scratch, room)) > 0)
			result = take(context, scratch, n);
	}
	if(result == 0 && message + length > from)
		result = take(context, from, (size_t)(message + length - from));
	return result;
}

//a piece sent on the transport by its deadline (negative: none)
typedef struct mymtom_sent_t{
	kvproj_proto_trans_t	*trans;
	tessaro_usec_t	deadline;
}mymtom_sent_t;

static int mymtom_send_piece(void *context, const void *piece, size_t n)
{
	mymtom_sent_t	*sending = (mymtom_sent_t *)context;
	tessaro_usec_t	left = sending->deadline < 0 ? -1 : sending->deadline - tessaro_clock_usec();
	tessaro_size_t	sent;

	return kvproj_trans_send(sending->trans, piece, (tessaro_size_t)n, &sent, left < 0 && sending->deadline >= 0 ? 0 : left);
}

//a piece copied behind those before it into the cursor
static int mymtom_keep_piece(void *context, const void *piece, size_t n)
{
	return mymemcat((mycursor_t *)context, (const char *)piece, n);
}

//sends the message of length bytes (its values' bytes among them) within timeout (usec, negative:
//none). A transport that keeps what it sends keeps the whole message
static int mymtom_send(kvproj_proto_trans_t *trans, const char *message, size_t length, const char *block, const struct mymtom_sending_t *mtom, tessaro_usec_t timeout)
{
	size_t	room = 48 * 1024;
	unsigned char	*scratch = (unsigned char *)malloc(room);
	mymtom_sent_t	sending;
	mycursor_t	kept;
	char	*copy = NULL;
	int	result = -1, keep = trans->keep_sent;

	if(scratch == NULL)
		return -1;
	if(keep){
		free(trans->sent);
		trans->sent = NULL;
		trans->sent_length = 0;
		if((copy = (char *)malloc(length + 1)) == NULL){
			free(scratch);
			return -1;
		}
		mycursor_init(&kept, copy, length + 1);
		if(mymtom_pieces(mtom, message, length - mtom->bytes, block, scratch, room, mymtom_keep_piece, &kept) == 0){
			trans->sent = copy;
			trans->sent_length = length;
			copy = NULL;
		}
		free(copy);
		if(trans->sent == NULL){
			free(scratch);
			return -1;
		}
	}
	sending.trans = trans;
	sending.deadline = timeout < 0 ? -1 : tessaro_clock_usec() + timeout;
	//each piece goes as it is: the whole was kept already
	trans->keep_sent = 0;
	result = mymtom_pieces(mtom, message, length - mtom->bytes, block, scratch, room, mymtom_send_piece, &sending);
	trans->keep_sent = keep;
	free(scratch);
	return result;
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
