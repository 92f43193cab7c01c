//which first line a message read must have: either (a transport whose side is not known), a request
//line (a server's) or a status line (a client's, connected to an address)
enum{
	HTTP_EXPECT_EITHER,
	HTTP_EXPECT_REQUEST,
	HTTP_EXPECT_ANSWER
};

//the bytes of one message as they come: text holds size bytes, the message's and a NUL behind them;
//it grows (realloc) up to limit, so that a text held elsewhere comes with size and limit equal.
//refusal: why it could not grow; expect: the message's kind (HTTP_EXPECT_...)
typedef struct http_buffer_t{
	char	*text;
	size_t	size;
	size_t	limit;
	int	refusal;
	int	expect;
}http_buffer_t;

//offset of the first CR LF in text[from..end), or end
static size_t http_line_end(const char *text, size_t from, size_t end)
{
	size_t	i;

	for(i = from; i + 1 < end; i++){
		if(text[i] == '\r' && text[i + 1] == '\n')
			return i;
	}
	return end;
}

static int http_lower(int c)
{
	return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}
//the value of the field line text[line..eol) when its name is name (any case), blanks cut off;
//NULL for a line of another name
static const char *http_field_value(const char *text, size_t line, size_t eol, const char *name, size_t *value_len)
{
	size_t	name_len = strlen(name);
	size_t	i, v;

	if(eol - line <= name_len || text[line + name_len] != ':')
		return NULL;
	for(i = 0; i < name_len && http_lower(text[line + i]) == http_lower(name[i]); i++)
		;
	if(i < name_len)
		return NULL;
	v = line + name_len + 1;
	while(v < eol && (text[v] == ' ' || text[v] == '\t'))
		v++;
	while(eol > v && (text[eol - 1] == ' ' || text[eol - 1] == '\t'))
		eol--;
	*value_len = eol - v;
	return text + v;
}

//the value of the first field line named name among the lines text[from..end); NULL when none is
static const char *http_field_in(const char *text, size_t from, size_t end, const char *name, size_t *value_len)
{
	size_t	line, eol;
	const char	*value;

	for(line = from; line < end; line = eol + 2){
		eol = http_line_end(text, line, end);
		if((value = http_field_value(text, line, eol, name, value_len)) != NULL)
			return value;
	}
	return NULL;
}

//the value of the header field name in the header block text[0..end), blanks cut off;
//NULL when the field is missing
static const char *http_header_value(const char *text, size_t end, const char *name, size_t *value_len)
{
	return http_field_in(text, http_line_end(text, 0, end) + 2, end, name, value_len);
}

//whether text[0..len) is word, in any case
static int http_is_word(const char *text, size_t len, const char *word)
{
	size_t	i;

	if(len != strlen(word))
		return 0;
	for(i = 0; i < len && http_lower(text[i]) == http_lower(word[i]); i++)
		;
	return i == len;
}

//the next element of the comma-separated list value[*at..len), blanks around it cut off (it may
//be empty); 0 when the list has no more
static int http_list_next(const char *value, size_t len, size_t *at, const char **item, size_t *item_len)
{
	size_t	b = *at, e;

	if(b > len)
		return 0;
	for(e = b; e < len && value[e] != ','; e++)
		;
	*at = e + 1;
	while(b < e && (value[b] == ' ' || value[b] == '\t'))
		b++;
	while(e > b && (value[e - 1] == ' ' || value[e - 1] == '\t'))
		e--;
	*item = value + b;
	*item_len = e - b;
	return 1;
}

//the value of c as a digit in base 10 or 16; -1 when it is none
static int http_digit(int c, int base)
{
	c = http_lower(c);
	if(c >= '0' && c <= '9')
		return c - '0';
	return base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

//a number of digits in base 10 or 16; -1 for none, an overflow or other text before stop characters
static int http_parse_size(const char *text, size_t len, int base, const char *stops, size_t *value)
{
	size_t	i;
	int	digit;

	*value = 0;
	for(i = 0; i < len && (digit = http_digit(text[i], base)) >= 0; i++){
		if(*value > ((size_t)-1 - digit) / base)
			return -1;
		*value = *value * base + digit;
	}
	if(i == 0 || (i < len && (text[i] == '\0' || strchr(stops, text[i]) == NULL)))
		return -1;
	return 0;
}

//the fewest bytes that can complete the terminator, buff[0..have) perhaps ending in a part of it
static size_t http_room_before(const char *buff, size_t have, const char *terminator)
{
	size_t	n = strlen(terminator), m = n - 1;

	while(m > 0 && (have < m || memcmp(buff + have - m, terminator, m) != 0))
		m--;
	return n - m;
}

//why a message is refused for its HTTP form, each with the status that answers a request so
//refused; a request that the server cannot read right is answered and its connection closed
enum{
	HTTP_REFUSED_NONE,
	HTTP_REFUSED_START_LINE,
	HTTP_REFUSED_NOT_REQUEST,
	HTTP_REFUSED_NOT_ANSWER,
	HTTP_REFUSED_FIELD_LINE,
	HTTP_REFUSED_LENGTH,
	HTTP_REFUSED_BOTH_FRAMINGS,
	HTTP_REFUSED_LAST_CODING,
	HTTP_REFUSED_OTHER_CODING,
	HTTP_REFUSED_CODING_IN_1_0,
	HTTP_REFUSED_NO_LENGTH,
	HTTP_REFUSED_CHUNK,
	HTTP_REFUSED_HEAD_SIZE,
	HTTP_REFUSED_SIZE,
	HTTP_REFUSED_MEMORY
};

static const struct{
	int	status;
	const char	*reason;
	const char	*why;
}http_refusals[] = {
	{0, "", ""},
	{400, "Bad Request", "the first line is no HTTP/1.x request line or status line"},
	{400, "Bad Request", "a status line where a request line must come"},
	{400, "Bad Request", "a request line where the status line of an answer must come"},
	{400, "Bad Request", "a header line is no field name, colon and value"},
	{400, "Bad Request", "a Content-Length is no number, or two Content-Length values differ"},
	{400, "Bad Request", "Content-Length and Transfer-Encoding together"},
	{400, "Bad Request", "the last transfer coding is not chunked"},
	{501, "Not Implemented", "a transfer coding other than chunked"},
	{400, "Bad Request", "Transfer-Encoding in an HTTP/1.0 message"},
	{411, "Length Required", "neither Content-Length nor Transfer-Encoding chunked"},
	{400, "Bad Request", "the body breaks the chunked coding"},
	{431, "Request Header Fields Too Large", "the header is longer than a message may be"},
	{413, "Content Too Large", "the message is longer than a message may be"},
	{503, "Service Unavailable", "no memory is left for a message of this length"},
};

//the room a message of unknown length starts with when it grows by doubling
#define HTTP_FIRST_ROOM	4096

//room in buf for need bytes, its NUL among them: twice the room it had (the first time
//HTTP_FIRST_ROOM) or need when that is more, never beyond most nor its limit, so that it grows with
//what comes and not with what a message announces. -1, and why in buf, when need passes the limit
//or no memory is left
static int http_grow(http_buffer_t *buf, size_t need, size_t most)
{
	size_t	size;
	char	*text;

	if(need <= buf->size)
		return 0;
	if(need > buf->limit){
		buf->refusal = HTTP_REFUSED_SIZE;
		return -1;
	}
	size = buf->size < HTTP_FIRST_ROOM / 2 ? HTTP_FIRST_ROOM : buf->size > buf->limit / 2 ? buf->limit : buf->size * 2;
	size = size > most ? most : size > buf->limit ? buf->limit : size;
	size = size < need ? need : size;
	if((text = (char *)realloc(buf->text, size)) == NULL){
		buf->refusal = HTTP_REFUSED_MEMORY;
		return -1;
	}
	buf->text = text;
	buf->size = size;
	return 0;
}

//takes up to *len of the bytes a server read for the transport before it was handed over into to;
//take 0: they stay (a look). 0 when it holds none
static int http_carried(kvproj_proto_trans_t *trans, char *to, tessaro_size_t *len, int take)
{
	if(trans->carry_length == 0)
		return 0;
	*len = *len < trans->carry_length ? *len : trans->carry_length;
	memcpy(to, trans->carry, *len);
	if(take){
		trans->carry += *len;
		trans->carry_length -= *len;
		trans->received += *len;
	}
	return 1;
}

//a whole request a server read for the transport in a heap block of its own becomes the message's
//room as it is, rather than being copied into another
static void http_adopt(kvproj_proto_trans_t *trans, http_buffer_t *message, tessaro_size_t *length) KVPROJ_MAYBE_UNUSED;
static void http_adopt(kvproj_proto_trans_t *trans, http_buffer_t *message, tessaro_size_t *length)
{
	if(trans->owned == NULL || trans->carry != trans->owned || message->text != NULL ||
		trans->carry_length >= message->limit || trans->owned_room <= trans->carry_length)
		return;
	message->text = trans->owned;
	message->size = trans->owned_room;
	*length = trans->carry_length;
	trans->received += trans->carry_length;
	trans->carry += trans->carry_length;
	trans->carry_length = 0;
	trans->owned = NULL;
}

//receives up to *len bytes into to: the receives of one message share its deadline, so that a peer
//that trickles bytes cannot hold the reader past its time-out; a negative deadline never comes
static int http_receive(kvproj_proto_trans_t *trans, char *to, tessaro_size_t *len, tessaro_usec_t deadline)
{
	tessaro_usec_t	left = -1;

	if(http_carried(trans, to, len, 1))
		return 0;
	if(deadline >= 0){
		left = deadline - tessaro_clock_usec();
		if(left <= 0)
			return TESSARO_TIMEOUT;
	}
	return kvproj_trans_recv(trans, to, len, left);
}

//receives at most want bytes behind the *have that buf holds, growing it by doubling (up to room
//for the bytes wanted) when it is full
static int http_receive_more(kvproj_proto_trans_t *trans, http_buffer_t *buf, size_t *have, size_t want, tessaro_usec_t deadline)
{
	tessaro_size_t	len;
	int	result;

	if(*have + 1 >= buf->size && http_grow(buf, *have + 2, want >= buf->limit ? buf->limit : *have + want + 1) != 0)
		return -1;
	len = buf->size - 1 - *have;
	if(len > want)
		len = want;
	result = http_receive(trans, buf->text + *have, &len, deadline);
	if(result != 0)
		return result;
	*have += len;
	buf->text[*have] = '\0';
	return 0;
}

//how many bytes have arrived on a plain connection behind the have that buf holds, looked at in
//buf without being taken, once some have come by the deadline: what a message's framing finds its
//own among them is then taken in one receive. buf grows by doubling when less than half its first
//room is left, so that a body that shrinks as it is read (chunks) is not looked at in ever smaller
//pieces; half: no more than half the room is looked at. 0 when none can be seen (TLS, nothing there
//by the deadline, no room, or a failure the receive that follows reports)
static size_t http_look(kvproj_proto_trans_t *trans, http_buffer_t *buf, size_t have, int half, tessaro_usec_t deadline)
{
	tessaro_size_t	len;
	tessaro_usec_t	left = deadline < 0 ? -1 : deadline - tessaro_clock_usec();
	size_t	need = have + HTTP_FIRST_ROOM / 2 <= buf->limit ? have + HTTP_FIRST_ROOM / 2 : have + 2;

	if(trans->carry_length == 0 && (trans->tls != NULL || (deadline >= 0 && left <= 0)))
		return 0;
	if(http_grow(buf, need, buf->limit) != 0)
		return 0;
	len = (buf->size - 1 - have) >> (half ? 1 : 0);
	if(http_carried(trans, buf->text + have, &len, 0))
		return len;
	if(tessaro_socket_peek(trans->socket, buf->text + have, &len, kvproj_trans_timeout(trans, left)) != 0)
		return 0;
	return len;
}

//-1, and why when the caller asks
static int http_refused(int *refused, int refusal)
{
	if(refused != NULL)
		*refused = refusal;
	return -1;
}

//result, and when it is a failure for want of room in buf (past its limit, or no memory left) why,
//unless another reason was given first
static int http_room_refused(const http_buffer_t *buf, int result, int *refused)
{
	if(result == -1 && buf->refusal != HTTP_REFUSED_NONE && (refused == NULL || *refused == HTTP_REFUSED_NONE))
		http_refused(refused, buf->refusal);
	return result;
}

//a character of an HTTP token (a method, a field name, a transfer coding)
static int http_is_tchar(int c)
{
	return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
		(c != '\0' && strchr("!#$%&'*+-.^_`|~", c) != NULL);
}

//whether text[0..len) is HTTP/1.x, whose x goes to *minor
static int http_is_version(const char *text, size_t len, int *minor)
{
	if(len != 8 || memcmp(text, "HTTP/1.", 7) != 0 || text[7] < '0' || text[7] > '9')
		return 0;
	*minor = text[7] - '0';
	return 1;
}

//whether line[0..len) is a status line (HTTP/1.x, SP, a three-digit status, SP, a reason of
//visible characters and blanks) or a request line (a method, SP, a target of visible ASCII,
//SP, HTTP/1.x); *request tells which, *minor the version's x
static int http_is_start_line(const char *line, size_t len, int *request, int *minor)
{
	size_t	i, target;
	unsigned char	c;

	*request = len < 5 || memcmp(line, "HTTP/", 5) != 0;
	if(!*request){
		if(len < 13 || !http_is_version(line, 8, minor) || line[8] != ' ' || line[12] != ' ')
			return 0;
		for(i = 9; i < 12 && line[i] >= '0' && line[i] <= '9'; i++)
			;
		if(i < 12)
			return 0;
		for(i = 13; i < len; i++){
			c = (unsigned char)line[i];
			if((c < ' ' && c != '\t') || c == 0x7f)
				return 0;
		}
		return 1;
	}
	for(i = 0; i < len && http_is_tchar(line[i]); i++)
		;
	if(i == 0 || i == len || line[i] != ' ')
		return 0;
	for(target = ++i; i < len && (unsigned char)line[i] > ' ' && (unsigned char)line[i] < 0x7f; i++)
		;
	if(i == target || i == len || line[i] != ' ')
		return 0;
	return http_is_version(line + i + 1, len - i - 1, minor);
}

//whether each header line of a request in text[from..end) is a field name, its colon and a value
//without CR, LF or NUL, and each of an answer that has a colon a field name right before it: a line
//folded onto the one before, or blanks before the colon, would let a server or a client in front of
//this one read other fields than it reads (an answer's line without a colon is passed over)
static int http_are_field_lines(const char *text, size_t from, size_t end, int request)
{
	size_t	line, eol, i;

	for(line = from; line < end; line = eol + 2){
		eol = http_line_end(text, line, end);
		for(i = line; i < eol && http_is_tchar(text[i]); i++)
			;
		if(i == line || i == eol || text[i] != ':'){
			if(request || memchr(text + line, ':', eol - line) != NULL)
				return 0;
			continue;
		}
		for(; request && i < eol; i++){
			if(text[i] == '\r' || text[i] == '\n' || text[i] == '\0')
				return 0;
		}
	}
	return 1;
}

//the ways a message's body is framed
enum{
	HTTP_BY_LENGTH,
	HTTP_BY_CHUNKS,
	HTTP_BY_CHUNKS_BESIDE_LENGTH,	//a response's chunks, a Content-Length sent with them set aside
	HTTP_TO_CLOSE	//a response framed neither way: its body ends where the connection does
};

//what frames a message whose header block is text[0..end), the start line's version being
//HTTP/1.minor: *framing, with *length bytes when it is HTTP_BY_LENGTH. Every Content-Length and every
//Transfer-Encoding line counts, as a list: the lengths must agree, the codings end in chunked
//(and, since no other coding is undone here, be chunked alone). A request that has both, or
//neither, is refused; in a response chunked wins
static int http_framing(const char *text, size_t end, int request, int minor, size_t *length, int *framing)
{
	size_t	line, eol, value_len, item_len, at, item_value;
	const char	*value, *item;
	int	lengths = 0, codings = 0, last_chunked = 0;

	for(line = http_line_end(text, 0, end) + 2; line < end; line = eol + 2){
		eol = http_line_end(text, line, end);
		if((value = http_field_value(text, line, eol, "Content-Length", &value_len)) != NULL){
			for(at = 0; http_list_next(value, value_len, &at, &item, &item_len); lengths++){
				if(http_parse_size(item, item_len, 10, "", &item_value) != 0 || (lengths > 0 && item_value != *length))
					return HTTP_REFUSED_LENGTH;
				*length = item_value;
			}
		}else if((value = http_field_value(text, line, eol, "Transfer-Encoding", &value_len)) != NULL){
			for(at = 0; http_list_next(value, value_len, &at, &item, &item_len); ){
				if(item_len > 0){
					codings++;
					last_chunked = http_is_word(item, item_len, "chunked");
				}
			}
		}
	}
	if(codings == 0){
		*framing = lengths > 0 || request ? HTTP_BY_LENGTH : HTTP_TO_CLOSE;
		return lengths > 0 || !request ? HTTP_REFUSED_NONE : HTTP_REFUSED_NO_LENGTH;
	}
	*framing = lengths > 0 ? HTTP_BY_CHUNKS_BESIDE_LENGTH : HTTP_BY_CHUNKS;
	if(minor == 0)
		return HTTP_REFUSED_CODING_IN_1_0;
	if(!last_chunked)
		return HTTP_REFUSED_LAST_CODING;
	if(codings > 1)
		return HTTP_REFUSED_OTHER_CODING;
	if(lengths > 0 && request)
		return HTTP_REFUSED_BOTH_FRAMINGS;
	return HTTP_REFUSED_NONE;
}

//the framing of the message whose header block, start line first, is text[0..end); a refusal
//when its form is wrong, or its first line not of the kind expected (HTTP_EXPECT_...). A response
//of a status that never has a body (1xx, 204, 304) ends with its header whatever the header says
static int http_check_head(const char *text, size_t end, int expect, size_t *length, int *framing)
{
	size_t	first_end = http_line_end(text, 0, end);
	int	request, minor, refusal;

	if(!http_is_start_line(text, first_end, &request, &minor))
		return HTTP_REFUSED_START_LINE;
	if(expect == HTTP_EXPECT_REQUEST && !request)
		return HTTP_REFUSED_NOT_REQUEST;
	if(expect == HTTP_EXPECT_ANSWER && request)
		return HTTP_REFUSED_NOT_ANSWER;
	if(!http_are_field_lines(text, first_end + 2, end, request))
		return HTTP_REFUSED_FIELD_LINE;
	refusal = http_framing(text, end, request, minor, length, framing);
	if(refusal == HTTP_REFUSED_NONE && !request && (text[9] == '1' || memcmp(text + 9, "204", 3) == 0 || memcmp(text + 9, "304", 3) == 0)){
		*framing = HTTP_BY_LENGTH;
		*length = 0;
	}
	return refusal;
}

//where the reading of a chunked body has got to, so that its bytes can come in pieces of any size
//and each is looked at once
enum{
	HTTP_CHUNK_SIZE_FIRST,	//the first digit of a size line
	HTTP_CHUNK_SIZE,	//its other digits
	HTTP_CHUNK_SIZE_LF,	//the LF behind digits that end in a CR
	HTTP_CHUNK_EXTENSION,	//the rest of a size line, behind a ';' or blank that ends its digits
	HTTP_CHUNK_DATA,
	HTTP_CHUNK_DATA_CR,	//the CR LF behind a chunk's data
	HTTP_CHUNK_DATA_LF,
	HTTP_CHUNK_TRAILER_START,	//the first byte of a trailer line, or of the empty line that ends them
	HTTP_CHUNK_TRAILER_EMPTY,	//a CR has begun a trailer line: an LF makes it the empty one
	HTTP_CHUNK_TRAILER,	//the rest of a trailer line
	HTTP_CHUNK_DONE
};

typedef struct http_chunks_t{
	int	phase;
	int	cr;	//in a line, the byte before was a CR
	size_t	size;	//the size being read, then what is still to come of the chunk's data
	size_t	out;	//the body's bytes so far
	size_t	limit;	//the bytes the body and a NUL behind it may take
	size_t	spare;	//bytes of extensions, trailers and leading zeros: at most the limit and the data again
}http_chunks_t;

//the fewest bytes that can end the body from where chunks has got to, so that a receive of them
//takes nothing of a message behind it
static size_t http_chunks_least(const http_chunks_t *chunks)
{
	switch(chunks->phase){
	case HTTP_CHUNK_SIZE_FIRST: return 5;	//0 CR LF CR LF
	case HTTP_CHUNK_SIZE_LF: return 3;
	case HTTP_CHUNK_DATA: return chunks->size + 7;	//CR LF 0 CR LF CR LF
	case HTTP_CHUNK_DATA_CR: return 7;
	case HTTP_CHUNK_DATA_LF: return 6;
	case HTTP_CHUNK_TRAILER_START: return 2;
	case HTTP_CHUNK_TRAILER_EMPTY: return 1;
	default: return chunks->cr ? 3 : 4;
	}
}

//the bytes of a size line that end its digits: its CR, or a ';' or blank that begins an extension
static int http_chunk_size_end(http_chunks_t *chunks, char c)
{
	if(c == '\r')
		chunks->phase = HTTP_CHUNK_SIZE_LF;
	else if(c == ';' || c == ' ' || c == '\t')
		chunks->phase = HTTP_CHUNK_EXTENSION;
	else
		return -1;
	chunks->cr = 0;
	return 0;
}

//a hex digit of a chunk size; -1 for another byte (where digits may end, see http_chunk_size_end)
//or a size that overflows
static int http_chunk_digit(http_chunks_t *chunks, char c)
{
	int	digit = http_digit(c, 16);

	if(digit < 0)
		return chunks->phase == HTTP_CHUNK_SIZE ? http_chunk_size_end(chunks, c) : -1;
	if(chunks->size > ((size_t)-1 - digit) / 16)
		return -1;
	chunks->size = chunks->size * 16 + digit;
	chunks->phase = HTTP_CHUNK_SIZE;
	return 0;
}

//whether c ends the line it is in (an LF behind a CR); notes a CR for the byte that follows
static int http_chunk_line_ends(http_chunks_t *chunks, char c)
{
	int	ends = chunks->cr && c == '\n';

	chunks->cr = c == '\r';
	return ends;
}

//a size line has ended: the data of a chunk of that size follows, or for 0 the trailer. A chunk
//that cannot fit the limit behind the body so far is refused before it comes
static int http_chunk_sized(http_chunks_t *chunks)
{
	chunks->cr = 0;
	if(chunks->size == 0){
		chunks->phase = HTTP_CHUNK_TRAILER_START;
		return HTTP_REFUSED_NONE;
	}
	if(chunks->out >= chunks->limit || chunks->size >= chunks->limit - chunks->out)
		return HTTP_REFUSED_SIZE;
	chunks->phase = HTTP_CHUNK_DATA;
	return HTTP_REFUSED_NONE;
}

//whether byte c, where chunks has got to, carries nothing of the data or its sizes: a sender could
//send such bytes without end
static int http_chunk_spare(const http_chunks_t *chunks, char c)
{
	switch(chunks->phase){
	case HTTP_CHUNK_SIZE:
		return c == '0' && chunks->size == 0;
	case HTTP_CHUNK_EXTENSION:
	case HTTP_CHUNK_TRAILER_START:
	case HTTP_CHUNK_TRAILER_EMPTY:
	case HTTP_CHUNK_TRAILER:
		return 1;
	default:
		return 0;
	}
}

//one byte of a chunked body outside a chunk's data; a refusal when it breaks the coding, or when
//the spare bytes so far outnumber the limit and the data together (a message on the wire may be
//longer than the limit by its framing, but not without end)
static int http_chunk_byte(http_chunks_t *chunks, char c)
{
	if(http_chunk_spare(chunks, c) && ++chunks->spare >= chunks->limit + chunks->out)
		return HTTP_REFUSED_SIZE;
	switch(chunks->phase){
	case HTTP_CHUNK_SIZE_FIRST:
	case HTTP_CHUNK_SIZE:
		return http_chunk_digit(chunks, c) == 0 ? HTTP_REFUSED_NONE : HTTP_REFUSED_CHUNK;
	case HTTP_CHUNK_SIZE_LF:
		return c == '\n' ? http_chunk_sized(chunks) : HTTP_REFUSED_CHUNK;
	case HTTP_CHUNK_EXTENSION:
		return http_chunk_line_ends(chunks, c) ? http_chunk_sized(chunks) : HTTP_REFUSED_NONE;
	case HTTP_CHUNK_DATA_CR:
		chunks->phase = HTTP_CHUNK_DATA_LF;
		return c == '\r' ? HTTP_REFUSED_NONE : HTTP_REFUSED_CHUNK;
	case HTTP_CHUNK_DATA_LF:
		chunks->phase = HTTP_CHUNK_SIZE_FIRST;
		return c == '\n' ? HTTP_REFUSED_NONE : HTTP_REFUSED_CHUNK;
	case HTTP_CHUNK_TRAILER_START:
		chunks->phase = c == '\r' ? HTTP_CHUNK_TRAILER_EMPTY : HTTP_CHUNK_TRAILER;
		chunks->cr = 0;
		return HTTP_REFUSED_NONE;
	case HTTP_CHUNK_TRAILER_EMPTY:
		chunks->phase = c == '\n' ? HTTP_CHUNK_DONE : HTTP_CHUNK_TRAILER;
		chunks->cr = c == '\r';
		return HTTP_REFUSED_NONE;
	default:
		if(http_chunk_line_ends(chunks, c))
			chunks->phase = HTTP_CHUNK_TRAILER_START;
		return HTTP_REFUSED_NONE;
	}
}

//the whole chunks at text[at..end) whose size lines are digits alone, taken at once as their bytes
//one by one would take them (see http_chunks_take): how many bytes they were; the bytes from the
//first other one on are left to the byte by byte reading
static size_t http_whole_chunks(http_chunks_t *chunks, char *text, size_t at, size_t end)
{
	size_t	from = at, i, size, room = chunks->limit - chunks->out, k;
	int	digit;

	for(;;){
		//fewer digits than a size_t holds cannot overflow
		for(i = at, size = 0; i < end && i - at < sizeof(size_t) * 2 - 1 && (digit = http_digit(text[i], 16)) >= 0; i++)
			size = size * 16 + (size_t)digit;
		if(i == at || size == 0 || size >= room || end - i < 4 || size > end - i - 4 || text[i] != '\r' || text[i + 1] != '\n' ||
			text[i + 2 + size] != '\r' || text[i + 3 + size] != '\n')
			break;
		//a call is dear for the smallest chunks
		if(size <= 16){
			for(k = 0; k < size; k++)
				text[chunks->out + k] = text[i + 2 + k];
		}else{
			memmove(text + chunks->out, text + i + 2, size);
		}
		chunks->out += size;
		room -= size;
		at = i + 4 + size;
	}
	return at - from;
}

//reads text[at..end), bytes of a chunked body, on from where chunks has got to: with move, the
//chunks' data moves to text[chunks->out..), which never passes at (without, text is only read), and
//size lines, CR LFs and trailers are dropped. How many of the bytes belong to the body (all of them
//unless it ends before end, or a refusal in *refusal stops them)
static size_t http_chunks_walk(http_chunks_t *chunks, char *text, size_t at, size_t end, int move, int *refusal)
{
	size_t	from = at, n;

	*refusal = HTTP_REFUSED_NONE;
	while(at < end && chunks->phase != HTTP_CHUNK_DONE && *refusal == HTTP_REFUSED_NONE){
		//most chunks come whole
		if(move && chunks->phase == HTTP_CHUNK_SIZE_FIRST && (n = http_whole_chunks(chunks, text, at, end)) > 0){
			at += n;
			continue;
		}
		if(chunks->phase != HTTP_CHUNK_DATA){
			*refusal = http_chunk_byte(chunks, text[at]);
			at++;
			continue;
		}
		//a chunk's data, as much of it as is here, in one move
		n = end - at < chunks->size ? end - at : chunks->size;
		if(move)
			memmove(text + chunks->out, text + at, n);
		chunks->out += n;
		at += n;
		if((chunks->size -= n) == 0)
			chunks->phase = HTTP_CHUNK_DATA_CR;
	}
	return at - from;
}

static size_t http_chunks_take(http_chunks_t *chunks, char *text, size_t at, size_t end, int *refusal)
{
	return http_chunks_walk(chunks, text, at, end, 1, refusal);
}

//takes count bytes that were looked at already off the connection, into to, room that holds nothing
static int http_take_looked(kvproj_proto_trans_t *trans, char *to, size_t count, tessaro_usec_t deadline)
{
	tessaro_size_t	len;
	int	result;

	for(; count > 0; count -= len){
		len = count;
		if((result = http_receive(trans, to, &len, deadline)) != 0)
			return result;
	}
	return 0;
}

//the chunked body that starts at body, de-chunked in place as it comes: the message holds the body
//alone. What has arrived is looked at and read where it lies, and then what of it belongs to the
//body is taken off the connection in one receive, so that the receives and the reading go with the
//bytes that arrive rather than with the chunks, and nothing of a message behind is taken
static int http_dechunk(kvproj_proto_trans_t *trans, http_buffer_t *buf, size_t body, size_t *have, tessaro_usec_t deadline, int *refused)
{
	http_chunks_t	chunks;
	size_t	from, looked, taken;
	int	refusal = HTTP_REFUSED_NONE, result = 0;

	memset(&chunks, 0, sizeof(chunks));
	chunks.phase = HTTP_CHUNK_SIZE_FIRST;
	chunks.out = body;
	chunks.limit = buf->limit;
	//bytes of the body held already; any behind it (an answer's, sent unasked) leave the connection unused again
	if(http_chunks_take(&chunks, buf->text, body, *have, &refusal) < *have - body)
		trans->keep_open = 0;
	for(;;){
		*have = chunks.out;
		buf->text[*have] = '\0';
		if(result != 0)
			return result;
		if(refusal != HTTP_REFUSED_NONE)
			return http_refused(refused, refusal);
		if(chunks.phase == HTTP_CHUNK_DONE)
			return 0;
		from = *have;
		looked = http_look(trans, buf, *have, 1, deadline);
		if(looked == 0 && (result = http_receive_more(trans, buf, have, http_chunks_least(&chunks), deadline)) != 0)
			continue;
		taken = http_chunks_take(&chunks, buf->text, from, looked > 0 ? from + looked : *have, &refusal);
		//the room behind the body holds what was looked at: no more than half the room was
		if(looked > 0 && refusal == HTTP_REFUSED_NONE)
			result = http_take_looked(trans, buf->text + chunks.out, taken, deadline);
	}
}

//a response framed by neither a length nor chunks ends where its sender closes the connection: at
//most the buffer's limit. A response whose bytes fill the limit is refused unless the close follows
static int http_read_to_close(kvproj_proto_trans_t *trans, http_buffer_t *buf, size_t *have, tessaro_usec_t deadline, int *refused)
{
	tessaro_size_t	len = 1;
	int	result = 0;

	while(result == 0 && *have + 1 < buf->limit)
		result = http_receive_more(trans, buf, have, (size_t)-1, deadline);
	//one more byte, into the NUL's place, tells the close from a longer message
	if(result == 0 && (result = http_receive(trans, buf->text + *have, &len, deadline)) == 0){
		buf->text[*have] = '\0';
		return http_refused(refused, HTTP_REFUSED_SIZE);
	}
	if(result != TESSARO_END_OF_STREAM)
		return result;
	trans->failure = 0;
	return 0;
}

//whether the sender of the message whose header block is text[0..end) keeps the connection open
//for the next one: HTTP/1.1 (in a status line or a request line) without Connection: close
static int http_keeps_open(const char *text, size_t end)
{
	size_t	line_end = http_line_end(text, 0, end), len, at, item_len;
	const char	*value, *item;

	if(line_end < 9 || (memcmp(text, "HTTP/1.1 ", 9) != 0 && memcmp(text + line_end - 9, " HTTP/1.1", 9) != 0))
		return 0;
	//the value is a list of tokens
	value = http_header_value(text, end, "Connection", &len);
	for(at = 0; value != NULL && http_list_next(value, len, &at, &item, &item_len); ){
		if(http_is_word(item, item_len, "close"))
			return 0;
	}
	return 1;
}

//how many of the bytes that have arrived on a plain connection, behind the *have that buf holds,
//belong to the message: the header block up to and with its blank line and, once that block is
//whole and frames the body by its length, what has come of the body. They are looked at in buf
//without being taken, once some have come by the deadline, so that the head comes in one piece
//with what it can and nothing of a message behind it is taken. 0 when none can be seen (TLS,
//nothing there by the deadline, no room, or a failure the receive that follows reports)
static size_t http_message_arrived(kvproj_proto_trans_t *trans, http_buffer_t *buf, size_t have, tessaro_usec_t deadline)
{
	size_t	held = have < 3 ? have : 3, i, length = 0, seen = have + http_look(trans, buf, have, 0, deadline);
	int	framing;

	if(seen == have)
		return 0;
	//the last bytes held may begin the blank line
	for(i = have - held; i + 3 < seen && memcmp(buf->text + i, "\r\n\r\n", 4) != 0; i++)
		;
	if(i + 3 >= seen || http_check_head(buf->text, i + 2, buf->expect, &length, &framing) != HTTP_REFUSED_NONE || framing != HTTP_BY_LENGTH)
		seen = i + 3 < seen ? i + 4 : seen;
	else if(length < seen - (i + 4))
		seen = i + 4 + length;
	//what was only looked at is not held yet
	buf->text[have] = '\0';
	return seen - have;
}

//the room a XOP package of length bytes behind body needs to become the Base64 text of its largest
//part where it lies (up to the buffer's limit), 0 for any other message. The buffer takes that room
//at once when a quarter of it has come: grown to the message's length and then again for the text,
//it would hold an old room beside a new one at each step
static size_t http_text_room(const http_buffer_t *buf, size_t header_end, size_t body, size_t length)
{
	static const char	xop[] = "application/xop+xml";
	size_t	type_len = 0, room, i;
	const char	*type = http_header_value(buf->text, header_end + 2, "Content-Type", &type_len);

	//a multipart/related type that names XOP's root type (the decoder reads the package itself)
	if(type == NULL || type_len < 17 || !http_is_word(type, 17, "multipart/related") || length > ((size_t)-1) / 2)
		return 0;
	for(i = 17; i + sizeof(xop) - 1 <= type_len && !http_is_word(type + i, sizeof(xop) - 1, xop); i++)
		;
	if(i + sizeof(xop) - 1 > type_len)
		return 0;
	room = body + length + length / 3 + 8;
	return room < buf->limit ? room : buf->limit;
}

//where the framing of a request that is coming has got to, in a server's tessaro_server_frame_t: the
//bytes looked at (the head's, then the chunks'), where the body begins and the request ends (0: not
//known yet) and the chunks read; and, once its head passed the reader's check and frames the body by
//its length, what the reader would learn of the head again: by_length, and whether it keeps the
//connection open
typedef struct http_frame_t{
	size_t	at;
	size_t	body;
	size_t	end;
	http_chunks_t	chunks;
	int	by_length;
	int	keeps;
}http_frame_t;

//the frame's state must fit the server's room for it
typedef char http_frame_fits[sizeof(http_frame_t) <= sizeof(((tessaro_server_frame_t *)0)->state) ? 1 : -1];

//a whole request whose head the server's framing check read as it came, framed by its length, is
//taken as it is, the head not read again: its bytes from what the server read (unless the message
//has taken their block as its room already), in room the reader would want for them. 0 when the
//request is no such one
static int http_take_framed(kvproj_proto_trans_t *trans, http_buffer_t *message, size_t *have)
{
	http_frame_t	frame;
	size_t	end, need;

	if(trans->framed == NULL || message->expect != HTTP_EXPECT_REQUEST)
		return 0;
	memcpy(&frame, trans->framed->state, sizeof(frame));
	end = frame.end;
	if(!frame.by_length || end == 0 || (*have != end && (*have != 0 || trans->carry_length < end)))
		return 0;
	if(*have == 0){
		need = trans->framed->want > end ? trans->framed->want : end + 1;
		if(http_grow(message, need, message->limit) != 0)
			return 0;
		http_carried(trans, message->text, &end, 1);
		*have = end;
	}
	message->text[end] = '\0';
	trans->keep_open = frame.keeps;
	return 1;
}

//one HTTP message framed by its Content-Length, its chunks or (a response) the connection's close,
//into the buffer, which grows while the message comes up to its limit; timeout (seconds) bounds the
//whole message, not each receive. *length: the bytes the buffer holds already, then the message's.
//A message whose form is wrong or that passes the limit is refused with -1 and, when refused is
//given, the reason in *refused
static int read_packet(kvproj_proto_trans_t *trans, http_buffer_t *message, tessaro_size_t *length, int timeout, int *refused)
{
	int	result = 0, framing = HTTP_BY_LENGTH, refusal;
	size_t	have = *length, body = 0, header_end, l_length = 0, arrived, room;
	tessaro_usec_t	deadline = timeout < 0 ? -1 : tessaro_clock_usec() + (tessaro_usec_t)timeout*TESSARO_USEC_PER_SEC;

	if(refused != NULL)
		*refused = HTTP_REFUSED_NONE;
	message->refusal = HTTP_REFUSED_NONE;
	if(have >= message->limit)
		return -1;
	if(http_take_framed(trans, message, &have)){
		*length = have;
		return 0;
	}
	if(http_grow(message, have + 1, message->limit) != 0)
		return http_room_refused(message, -1, refused);
	message->text[have] = '\0';
#ifdef _WIN32
	//a non-blocking socket spares each Winsock receive switching its mode there and back; POSIX
	//receives are told not to wait whatever the mode. What a server read for the transport needs no mode
	if(trans->carry == NULL)
		tessaro_socket_set_block(trans->socket, 0);
#endif
	//a message's first bytes mostly have not come yet on a plain connection that awaits an answer (its
	//request has just gone) or has carried a message before (a kept one): waiting first spares a
	//receive or a look that finds nothing (a failed wait is theirs to report)
	if(have == 0 && trans->carry_length == 0 && trans->tls == NULL && (message->expect == HTTP_EXPECT_ANSWER || trans->received > 0))
		tessaro_socket_wait(trans->socket, 0, kvproj_trans_timeout(trans, deadline < 0 ? -1 : deadline - tessaro_clock_usec()));

	//the header block, whatever the pieces it arrives in
	for(;;){
		for(header_end = body; header_end + 3 < have; header_end++){
			if(memcmp(message->text + header_end, "\r\n\r\n", 4) == 0)
				break;
		}
		if(header_end + 3 < have)
			break;
		if(have + 1 >= message->limit)
			return http_refused(refused, HTTP_REFUSED_HEAD_SIZE);
		body = header_end;
		//nothing that is not the answer's can come behind it (the client asked for one answer at a
		//time): what came is taken as it is, without being looked at first
		arrived = message->expect == HTTP_EXPECT_ANSWER ? (size_t)-1 : http_message_arrived(trans, message, have, deadline);
		result = http_receive_more(trans, message, &have, arrived > 0 ? arrived : http_room_before(message->text, have, "\r\n\r\n"), deadline);
		*length = have;
		if(result != 0)
			return http_room_refused(message, result, refused);
	}
	body = header_end + 4;
	trans->keep_open = http_keeps_open(message->text, header_end + 2);

	refusal = http_check_head(message->text, header_end + 2, message->expect, &l_length, &framing);
	if(refusal != HTTP_REFUSED_NONE){
		result = http_refused(refused, refusal);
	}else if(framing == HTTP_BY_CHUNKS || framing == HTTP_BY_CHUNKS_BESIDE_LENGTH){
		result = http_dechunk(trans, message, body, &have, deadline, refused);
	}else if(framing == HTTP_TO_CLOSE){
		result = http_read_to_close(trans, message, &have, deadline, refused);
	}else if(l_length >= message->limit - body){
		result = http_refused(refused, HTTP_REFUSED_SIZE);
	}else{
		if(have > body + l_length){
			memset(message->text + body + l_length, 0, have - body - l_length);
			have = body + l_length;
			//bytes behind an answer were sent unasked: the connection is not used again
			trans->keep_open = 0;
		}
		room = http_text_room(message, header_end, body, l_length);
		//the room grows as the body comes, up to the length announced
		while(result == 0 && have < body + l_length){
			if(room > 0 && have + 1 >= message->size && message->size >= room / 4 && http_grow(message, room, room) != 0)
				result = -1;
			else
				result = http_receive_more(trans, message, &have, body + l_length - have, deadline);
		}
	}
	http_room_refused(message, result, refused);
	//after a message read wrong, framed two ways or ended by the close, what follows on the
	//connection is suspect or nothing
	if(result != 0 || framing == HTTP_BY_CHUNKS_BESIDE_LENGTH || framing == HTTP_TO_CLOSE)
		trans->keep_open = 0;
	message->text[have] = '\0';
	*length = have;
	return result;
}

//a message refused for its HTTP form says why in pk's decode error; a request so refused (a message
//read where a request is expected, or one that is no answer) gets in pk the answer it deserves (the
//status, why, and the connection's close) and 1 comes back
static int http_refusal_answer(kvproj_proto_packet_t *pk, const http_buffer_t *message, int refusal)
{
	//a message too long names the bound it passed
	if(refusal == HTTP_REFUSED_HEAD_SIZE || refusal == HTTP_REFUSED_SIZE)
		snprintf(pk->decode_error, sizeof(pk->decode_error), "HTTP: %s (KVPROJ_MAX_READ_MESSAGE_LEN: %lu bytes)",
			http_refusals[refusal].why, (unsigned long)KVPROJ_MAX_READ_MESSAGE_LEN);
	else
		snprintf(pk->decode_error, sizeof(pk->decode_error), "HTTP: %s", http_refusals[refusal].why);
	if(message->expect == HTTP_EXPECT_ANSWER ||
		(message->expect == HTTP_EXPECT_EITHER && message->text != NULL && strncmp(message->text, "HTTP/", 5) == 0))
		return 0;
	memset(&pk->msg.http_msg, 0, sizeof(pk->msg.http_msg));
	pk->msg_direction = KVPROJ_DIRECTION_RESPONSE;
	pk->msg.http_msg.err_code = http_refusals[refusal].status;
	snprintf(pk->msg.http_msg.err_code_string, sizeof(pk->msg.http_msg.err_code_string), "%s", http_refusals[refusal].reason);
	snprintf(pk->msg.http_msg.buffer, sizeof(pk->msg.http_msg.buffer), "%s\n", http_refusals[refusal].why);
	memset(pk->http_headers, 0, sizeof(pk->http_headers));
	snprintf(pk->http_headers[0].name, sizeof(pk->http_headers[0].name), "Connection");
	snprintf(pk->http_headers[0].value, sizeof(pk->http_headers[0].value), "close");
	snprintf(pk->http_headers[1].name, sizeof(pk->http_headers[1].name), "Content-Type");
	snprintf(pk->http_headers[1].value, sizeof(pk->http_headers[1].value), "text/plain; charset=utf-8");
	pk->http_headers_count = 2;
	pk->http_headers_received = 0;
	pk->boundary_part[0] = '\0';
	pk->boundary_received = 0;
	return 1;
}

//the head of a request whose header block ends at bytes[head): where the request ends, or for
//chunks where they begin; the head's end for a head the reader refuses (it answers from the head)
static void http_frame_head(const char *bytes, size_t head, size_t limit, http_frame_t *frame)
{
	size_t	length = 0;
	int	framing;

	frame->body = head + 2;
	frame->end = frame->body;
	if(http_check_head(bytes, head, HTTP_EXPECT_REQUEST, &length, &framing) != HTTP_REFUSED_NONE)
		return;
	if(framing == HTTP_BY_LENGTH){
		frame->by_length = length < limit - frame->body;
		frame->end = frame->by_length ? frame->body + length : frame->body;
		frame->keeps = http_keeps_open(bytes, head);
		return;
	}
	frame->end = 0;
	frame->at = frame->body;
	frame->chunks.phase = HTTP_CHUNK_SIZE_FIRST;
	frame->chunks.out = frame->body;
	frame->chunks.limit = limit;
}

//the room the reader will want for a request of known length whose header block ends at
//bytes[header_end]: its bytes and NUL, or what its XOP package needs to become text where it lies
static size_t http_frame_room(const char *bytes, size_t header_end, size_t limit, const http_frame_t *frame)
{
	http_buffer_t	buf = {(char *)bytes, 0, limit, 0, HTTP_EXPECT_REQUEST};
	size_t	room;

	if(frame->end <= frame->body)
		return 0;
	room = http_text_room(&buf, header_end, frame->body, frame->end - frame->body);
	return room > frame->end ? room : frame->end + 1;
}

//where the first CR LF CR LF in bytes[at..seen) begins, or where the last three bytes looked at
//begin when there is none (they may begin it), the CRs found at once rather than each byte compared
static size_t http_blank_line(const char *bytes, size_t at, size_t seen)
{
	const char	*cr;

	while(at + 3 < seen){
		if((cr = (const char *)memchr(bytes + at, '\r', seen - 3 - at)) == NULL)
			return seen - 3;
		at = (size_t)(cr - bytes);
		if(memcmp(cr, "\r\n\r\n", 4) == 0)
			return at;
		at++;
	}
	return at;
}

//a server's framing check (tessaro_server_frame_fn): whether bytes[0..have) hold a whole request as
//this reader reads it, looking at each byte once over the calls; a head the reader refuses, or one
//longer than the bound, needs no more to be answered
static int http_frame_request(const char *bytes, tessaro_size_t have, tessaro_size_t max_request_bytes, tessaro_server_frame_t *state) KVPROJ_MAYBE_UNUSED;
static int http_frame_request(const char *bytes, tessaro_size_t have, tessaro_size_t max_request_bytes, tessaro_server_frame_t *state)
{
	size_t	limit = (max_request_bytes > 0 && max_request_bytes < KVPROJ_MAX_READ_MESSAGE_LEN ? max_request_bytes : KVPROJ_MAX_READ_MESSAGE_LEN) + 1;
	//bytes are looked at no further than the bound, so that the telling is the same whatever the
	//pieces they came in
	size_t	seen = have < limit - 1 ? have : limit - 1;
	http_frame_t	frame;
	int	refusal = HTTP_REFUSED_NONE;

	memcpy(&frame, state->state, sizeof(frame));
	state->most = limit - 1;
	if(frame.body == 0){
		frame.at = http_blank_line(bytes, frame.at, seen);
		if(frame.at + 3 < seen){
			http_frame_head(bytes, frame.at + 2, limit, &frame);
			state->want = http_frame_room(bytes, frame.at, limit, &frame);
		}
	}
	if(frame.body > 0 && frame.end == 0 && frame.at < seen){
		frame.at += http_chunks_walk(&frame.chunks, (char *)bytes, frame.at, seen, 0, &refusal);
		if(refusal != HTTP_REFUSED_NONE || frame.chunks.phase == HTTP_CHUNK_DONE)
			frame.end = frame.at;
	}
	memcpy(state->state, &frame, sizeof(frame));
	state->end = frame.end;
	if(frame.body == 0)
		return have >= limit - 1 ? TESSARO_FRAME_WHOLE : TESSARO_FRAME_MORE;
	if(frame.end > 0)
		return have >= frame.end ? TESSARO_FRAME_WHOLE : TESSARO_FRAME_MORE;
	//chunks whose bytes pass the bound, though what they hold may not
	return have >= limit - 1 ? TESSARO_FRAME_TOO_LONG : TESSARO_FRAME_MORE;
}
