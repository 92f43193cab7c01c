//the bytes of one message as they come: text holds size bytes, the message's and a NUL behind them;
//it grows (realloc) up to limit, so that a text held elsewhere comes with size and limit equal.
//refusal: why it could not grow
typedef struct http_buffer_t{
	char	*text;
	size_t	size;
	size_t	limit;
	int	refusal;
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

//a number of digits in base 10 or 16; -1 for none, an overflow or other text before stop characters
static int http_parse_size(const char *text, size_t len, int base, const char *stops, size_t *value)
{
	size_t	i, digit;

	*value = 0;
	for(i = 0; i < len; i++){
		int c = http_lower(text[i]);
		if(c >= '0' && c <= '9')
			digit = c - '0';
		else if(base == 16 && c >= 'a' && c <= 'f')
			digit = c - 'a' + 10;
		else
			break;
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

//room in buf for need bytes, its NUL among them: exactly need, or when doubling twice the room it
//had (the first time HTTP_FIRST_ROOM), never beyond its limit. -1, and why in buf, when need
//passes the limit or no memory is left
static int http_grow(http_buffer_t *buf, size_t need, int doubling)
{
	size_t	size = need;
	char	*text;

	if(need <= buf->size)
		return 0;
	if(need > buf->limit){
		buf->refusal = HTTP_REFUSED_SIZE;
		return -1;
	}
	if(doubling){
		size = buf->size < HTTP_FIRST_ROOM / 2 ? HTTP_FIRST_ROOM : buf->size > buf->limit / 2 ? buf->limit : buf->size * 2;
		size = size < need ? need : size > buf->limit ? buf->limit : size;
	}
	if((text = (char *)realloc(buf->text, size)) == NULL){
		buf->refusal = HTTP_REFUSED_MEMORY;
		return -1;
	}
	buf->text = text;
	buf->size = size;
	return 0;
}

//removes buf's bytes [from..to) of the *have it holds, those behind them moving up (its NUL too)
static void http_drop(http_buffer_t *buf, size_t *have, size_t from, size_t to)
{
	memmove(buf->text + from, buf->text + to, *have - to);
	memset(buf->text + *have - (to - from), 0, to - from);
	*have -= to - from;
}

//receives up to *len bytes into to: the receives of one message share its deadline, so that a peer
//that trickles bytes cannot hold the reader past its time-out; a negative deadline never comes
static int http_receive(kvproj_proto_trans_t *trans, char *to, tessaro_size_t *len, tessaro_usec_t deadline)
{
	tessaro_usec_t	left = -1;

	if(deadline >= 0){
		left = deadline - tessaro_clock_usec();
		if(left <= 0)
			return TESSARO_TIMEOUT;
	}
	return kvproj_trans_recv(trans, to, len, left);
}

//receives at most want bytes behind the *have that buf holds, growing it by doubling when it is full
static int http_receive_more(kvproj_proto_trans_t *trans, http_buffer_t *buf, size_t *have, size_t want, tessaro_usec_t deadline)
{
	tessaro_size_t	len;
	int	result;

	if(*have + 1 >= buf->size && http_grow(buf, *have + 2, 1) != 0)
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

//receives until buff[from..) holds a CR LF, whose offset goes to *eol; each byte is
//looked at once. more: bytes that surely follow the line (none are taken beyond)
static int http_receive_line(kvproj_proto_trans_t *trans, http_buffer_t *buf, size_t *have, size_t from, size_t more, tessaro_usec_t deadline, size_t *eol)
{
	size_t	scan = from;
	int	result;

	while((*eol = http_line_end(buf->text, scan, *have)) == *have){
		//a CR at the end may meet its LF in the next piece
		if(*have > scan + 1)
			scan = *have - 1;
		if((result = http_receive_more(trans, buf, have, http_room_before(buf->text, *have, "\r\n") + more, deadline)) != 0)
			return result;
	}
	return 0;
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
//without CR, LF or NUL: a line folded onto the one before, or blanks before the colon, would let
//a server in front of this one read other fields than it reads
static int http_are_field_lines(const char *text, size_t from, size_t end)
{
	size_t	line, eol, i;

	for(line = from; line < end; line = eol + 2){
		eol = http_line_end(text, line, end);
		for(i = line; i < eol && http_is_tchar(text[i]); i++)
			;
		if(i == line || i == eol || text[i] != ':')
			return 0;
		for(; i < eol; i++){
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
//when its form is wrong. A response of a status that never has a body (1xx, 204, 304) ends with
//its header whatever the header says
static int http_check_head(const char *text, size_t end, size_t *length, int *framing)
{
	size_t	first_end = http_line_end(text, 0, end);
	int	request, minor, refusal;

	if(!http_is_start_line(text, first_end, &request, &minor))
		return HTTP_REFUSED_START_LINE;
	if(request && !http_are_field_lines(text, first_end + 2, end))
		return HTTP_REFUSED_FIELD_LINE;
	refusal = http_framing(text, end, request, minor, length, framing);
	if(refusal == HTTP_REFUSED_NONE && !request && (text[9] == '1' || memcmp(text + 9, "204", 3) == 0 || memcmp(text + 9, "304", 3) == 0)){
		*framing = HTTP_BY_LENGTH;
		*length = 0;
	}
	return refusal;
}

//the chunked body that starts at body: each chunk's bytes go where the body has got to, its size line
//and the CR LF behind it dropped as they pass, so that the message holds the body alone
static int http_dechunk(kvproj_proto_trans_t *trans, http_buffer_t *buf, size_t body, size_t *have, tessaro_usec_t deadline, int *refused)
{
	size_t	in = body, out = body, eol, chunk_size;
	int	result;

	for(;;){
		//a size line is followed by at least two bytes: data and its CR LF, or the end's CR LF
		if((result = http_receive_line(trans, buf, have, in, 2, deadline, &eol)) != 0)
			return result;
		if(http_parse_size(buf->text + in, eol - in, 16, "; \t", &chunk_size) != 0)
			return http_refused(refused, HTTP_REFUSED_CHUNK);
		http_drop(buf, have, out, eol + 2);
		in = out;
		if(chunk_size == 0)
			break;
		if(chunk_size >= buf->limit || in + chunk_size + 2 >= buf->limit)
			return http_refused(refused, HTTP_REFUSED_SIZE);
		if(http_grow(buf, in + chunk_size + 3, 1) != 0)
			return -1;
		while(*have < in + chunk_size + 2){
			if((result = http_receive_more(trans, buf, have, in + chunk_size + 2 - *have, deadline)) != 0)
				return result;
		}
		if(buf->text[in + chunk_size] != '\r' || buf->text[in + chunk_size + 1] != '\n')
			return http_refused(refused, HTTP_REFUSED_CHUNK);
		out = in + chunk_size;
		in = out + 2;
	}
	//trailer lines up to the empty line that ends the message
	for(;;){
		if((result = http_receive_line(trans, buf, have, in, 0, deadline, &eol)) != 0)
			return result;
		http_drop(buf, have, in, eol + 2);
		if(eol == in)
			break;
	}
	return 0;
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
	size_t	held = have < 3 ? have : 3, i, length = 0, seen;
	tessaro_size_t	len;
	tessaro_usec_t	left = deadline < 0 ? -1 : deadline - tessaro_clock_usec();
	int	framing;

	if(trans->tls != NULL || (deadline >= 0 && left <= 0))
		return 0;
	if(have + 1 >= buf->size && http_grow(buf, have + 2, 1) != 0)
		return 0;
	len = buf->size - 1 - have;
	if(tessaro_socket_peek(trans->socket, buf->text + have, &len, kvproj_trans_timeout(trans, left)) != 0)
		return 0;
	seen = have + len;
	//the last bytes held may begin the blank line
	for(i = have - held; i + 3 < seen && memcmp(buf->text + i, "\r\n\r\n", 4) != 0; i++)
		;
	if(i + 3 >= seen || http_check_head(buf->text, i + 2, &length, &framing) != HTTP_REFUSED_NONE || framing != HTTP_BY_LENGTH)
		seen = i + 3 < seen ? i + 4 : seen;
	else if(length < seen - (i + 4))
		seen = i + 4 + length;
	//what was only looked at is not held yet
	buf->text[have] = '\0';
	return seen - have;
}

//one HTTP message framed by its Content-Length, its chunks or (a response) the connection's close,
//into the buffer, which grows while the message comes up to its limit; timeout (seconds) bounds the
//whole message, not each receive. *length: the bytes the buffer holds already, then the message's.
//A message whose form is wrong or that passes the limit is refused with -1 and, when refused is
//given, the reason in *refused
static int read_packet(kvproj_proto_trans_t *trans, http_buffer_t *message, tessaro_size_t *length, int timeout, int *refused)
{
	int	result = 0, framing = HTTP_BY_LENGTH, refusal;
	size_t	have = *length, body = 0, header_end, l_length = 0, arrived;
	tessaro_usec_t	deadline = timeout < 0 ? -1 : tessaro_clock_usec() + (tessaro_usec_t)timeout*TESSARO_USEC_PER_SEC;

	if(refused != NULL)
		*refused = HTTP_REFUSED_NONE;
	message->refusal = HTTP_REFUSED_NONE;
	if(have >= message->limit)
		return -1;
	if(http_grow(message, have + 1, 1) != 0)
		return http_room_refused(message, -1, refused);
	message->text[have] = '\0';
	tessaro_socket_set_block(trans->socket, 0);

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
		arrived = http_message_arrived(trans, message, have, deadline);
		result = http_receive_more(trans, message, &have, arrived > 0 ? arrived : http_room_before(message->text, have, "\r\n\r\n"), deadline);
		*length = have;
		if(result != 0)
			return http_room_refused(message, result, refused);
	}
	body = header_end + 4;
	trans->keep_open = http_keeps_open(message->text, header_end + 2);

	refusal = http_check_head(message->text, header_end + 2, &l_length, &framing);
	if(refusal != HTTP_REFUSED_NONE){
		result = http_refused(refused, refusal);
	}else if(framing == HTTP_BY_CHUNKS || framing == HTTP_BY_CHUNKS_BESIDE_LENGTH){
		result = http_dechunk(trans, message, body, &have, deadline, refused);
	}else if(framing == HTTP_TO_CLOSE){
		result = http_read_to_close(trans, message, &have, deadline, refused);
	}else if(l_length >= message->limit - body){
		result = http_refused(refused, HTTP_REFUSED_SIZE);
	}else if(http_grow(message, body + l_length + 1, 0) == 0){
		if(have > body + l_length){
			memset(message->text + body + l_length, 0, have - body - l_length);
			have = body + l_length;
		}
		while(result == 0 && have < body + l_length)
			result = http_receive_more(trans, message, &have, body + l_length - have, deadline);
	}else{
		result = -1;
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

//a message refused for its HTTP form says why in pk's decode error; a request so refused gets
//in pk the answer it deserves (the status, why, and the connection's close) and 1 comes back
static int http_refusal_answer(kvproj_proto_packet_t *pk, const char *message, int refusal)
{
	//a message too long names the bound it passed
	if(refusal == HTTP_REFUSED_HEAD_SIZE || refusal == HTTP_REFUSED_SIZE)
		snprintf(pk->decode_error, sizeof(pk->decode_error), "HTTP: %s (KVPROJ_MAX_READ_MESSAGE_LEN: %lu bytes)",
			http_refusals[refusal].why, (unsigned long)KVPROJ_MAX_READ_MESSAGE_LEN);
	else
		snprintf(pk->decode_error, sizeof(pk->decode_error), "HTTP: %s", http_refusals[refusal].why);
	if(strncmp(message, "HTTP/", 5) == 0)
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
