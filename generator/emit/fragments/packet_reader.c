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

//the value of the header field name in the header block text[0..end), blanks cut off;
//NULL when the field is missing
static const char *http_header_value(const char *text, size_t end, const char *name, size_t *value_len)
{
	size_t	name_len = strlen(name);
	size_t	line = http_line_end(text, 0, end) + 2;
	size_t	eol, i, v;

	for(; line < end; line = eol + 2){
		eol = http_line_end(text, line, end);
		if(eol - line <= name_len || text[line + name_len] != ':')
			continue;
		for(i = 0; i < name_len && http_lower(text[line + i]) == http_lower(name[i]); i++)
			;
		if(i < name_len)
			continue;
		v = line + name_len + 1;
		while(v < eol && (text[v] == ' ' || text[v] == '\t'))
			v++;
		while(eol > v && (text[eol - 1] == ' ' || text[eol - 1] == '\t'))
			eol--;
		*value_len = eol - v;
		return text + v;
	}
	return NULL;
}

//a Transfer-Encoding value that names the chunked coding
static int http_is_chunked(const char *value, size_t len)
{
	size_t	i, j;

	for(i = 0; i + 7 <= len; i++){
		for(j = 0; j < 7 && http_lower(value[i + j]) == "chunked"[j]; j++)
			;
		if(j == 7)
			return 1;
	}
	return 0;
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

//the receives of one message share its deadline, so that a peer that trickles
//bytes cannot hold the reader past its time-out; a negative deadline never comes
static int http_receive_more(kvproj_proto_trans_t *trans, char *buff, size_t size, size_t *have, size_t want, tessaro_usec_t deadline)
{
	tessaro_size_t	len;
	tessaro_usec_t	left = -1;
	int	result;

	if(*have + 1 >= size)
		return -1;
	if(deadline >= 0){
		left = deadline - tessaro_clock_usec();
		if(left <= 0)
			return TESSARO_TIMEOUT;
	}
	len = size - 1 - *have;
	if(len > want)
		len = want;
	result = kvproj_trans_recv(trans, buff + *have, &len, left);
	if(result != 0)
		return result;
	*have += len;
	buff[*have] = '\0';
	return 0;
}

//receives until buff[from..) holds a CR LF, whose offset goes to *eol; each byte is
//looked at once. more: bytes that surely follow the line (none are taken beyond)
static int http_receive_line(kvproj_proto_trans_t *trans, char *buff, size_t size, size_t *have, size_t from, size_t more, tessaro_usec_t deadline, size_t *eol)
{
	size_t	scan = from;
	int	result;

	while((*eol = http_line_end(buff, scan, *have)) == *have){
		//a CR at the end may meet its LF in the next piece
		if(*have > scan + 1)
			scan = *have - 1;
		if((result = http_receive_more(trans, buff, size, have, http_room_before(buff, *have, "\r\n") + more, deadline)) != 0)
			return result;
	}
	return 0;
}

static int http_dechunk(kvproj_proto_trans_t *trans, char *buff, size_t size, size_t body, size_t *have, tessaro_usec_t deadline)
{
	size_t	in = body, out = body, eol, chunk_size;
	int	result;

	for(;;){
		//a size line is followed by at least two bytes: data and its CR LF, or the end's CR LF
		if((result = http_receive_line(trans, buff, size, have, in, 2, deadline, &eol)) != 0)
			return result;
		if(http_parse_size(buff + in, eol - in, 16, "; \t", &chunk_size) != 0)
			return -1;
		in = eol + 2;
		if(chunk_size == 0)
			break;
		if(chunk_size > size || in + chunk_size + 2 >= size)
			return -1;
		while(*have < in + chunk_size + 2){
			if((result = http_receive_more(trans, buff, size, have, in + chunk_size + 2 - *have, deadline)) != 0)
				return result;
		}
		if(buff[in + chunk_size] != '\r' || buff[in + chunk_size + 1] != '\n')
			return -1;
		memmove(buff + out, buff + in, chunk_size);
		out += chunk_size;
		in += chunk_size + 2;
	}
	//trailer lines up to the empty line that ends the message
	for(;;){
		if((result = http_receive_line(trans, buff, size, have, in, 0, deadline, &eol)) != 0)
			return result;
		if(eol == in)
			break;
		in = eol + 2;
	}
	memset(buff + out, 0, *have - out);
	*have = out;
	return 0;
}

//whether the sender of the message whose header block is text[0..end) keeps the connection open
//for the next one: HTTP/1.1 (in a status line or a request line) without Connection: close
static int http_keeps_open(const char *text, size_t end)
{
	size_t	line_end = http_line_end(text, 0, end), len, i, n, t;
	const char	*value;

	if(line_end < 9 || (memcmp(text, "HTTP/1.1 ", 9) != 0 && memcmp(text + line_end - 9, " HTTP/1.1", 9) != 0))
		return 0;
	//the value is a list of tokens
	value = http_header_value(text, end, "Connection", &len);
	for(i = 0; value != NULL && i < len; i += n + 1){
		while(i < len && (value[i] == ' ' || value[i] == '\t'))
			i++;
		for(n = 0; i + n < len && value[i + n] != ','; n++)
			;
		for(t = n; t > 0 && (value[i + t - 1] == ' ' || value[i + t - 1] == '\t'); t--)
			;
		if(t == 5 && strncasecmp(value + i, "close", 5) == 0)
			return 0;
	}
	return 1;
}

//one HTTP message framed by its Content-Length or chunked coding; timeout (seconds)
//bounds the whole message, not each receive
static int read_packet(kvproj_proto_trans_t *trans, char *buff, int size, tessaro_size_t *length, int timeout)
{
	int	result = 0;
	size_t	have = *length, room, body = 0, header_end, value_len, l_length;
	const char	*value;
	tessaro_usec_t	deadline = timeout < 0 ? -1 : tessaro_clock_usec() + (tessaro_usec_t)timeout*TESSARO_USEC_PER_SEC;

	if(size <= 0 || *length >= (tessaro_size_t)size)
		return -1;
	room = (size_t)size;
	tessaro_socket_set_block(trans->socket, 0);

	//the header block, whatever the pieces it arrives in
	for(;;){
		for(header_end = body; header_end + 3 < have; header_end++){
			if(memcmp(buff + header_end, "\r\n\r\n", 4) == 0)
				break;
		}
		if(header_end + 3 < have)
			break;
		body = header_end;
		result = http_receive_more(trans, buff, room, &have, http_room_before(buff, have, "\r\n\r\n"), deadline);
		*length = have;
		if(result != 0)
			return result;
	}
	body = header_end + 4;
	trans->keep_open = http_keeps_open(buff, header_end + 2);

	if((value = http_header_value(buff, header_end + 2, "Content-Length", &value_len)) != NULL){
		if(http_parse_size(value, value_len, 10, "", &l_length) != 0 || l_length >= room - body)
			return -1;
		if(have > body + l_length){
			memset(buff + body + l_length, 0, have - body - l_length);
			have = body + l_length;
		}
		while(result == 0 && have < body + l_length)
			result = http_receive_more(trans, buff, room, &have, body + l_length - have, deadline);
	}else if((value = http_header_value(buff, header_end + 2, "Transfer-Encoding", &value_len)) != NULL &&
			http_is_chunked(value, value_len)){
		result = http_dechunk(trans, buff, room, body, &have, deadline);
	}else{
		result = -1;
	}
	buff[have] = '\0';
	*length = have;
	return result;
}
