_declspec(dllexport) int WINAPI kvproj_set_attachment(kvproj_proto_packet_t *pk, char *attachment, unsigned int attachment_length){

	char *copy = NULL;

	if(pk == NULL)
		return -1;
	if(attachment != NULL && attachment_length > 0){
		if(attachment_length > 0x7fffffffu)
			return -1;
		copy = (char *)malloc(attachment_length);
		if(copy == NULL)
			return -1;
		memcpy(copy, attachment, attachment_length);
		free(pk->attachment);
		pk->attachment = copy;
		pk->attachment_length = (int)attachment_length;
	}

	return 0;
}

//whether text[0..size), up to its end, is a header field's name (a token) or else a field's value
//(no control character but a tab): a caller's text can neither end the line nor start another
static int kvproj_http_field_ok(const char *text, size_t size, int name)
{
	size_t	i;
	unsigned char	c;

	for(i = 0; i < size && text[i] != '\0'; i++){
		c = (unsigned char)text[i];
		if(name ? (c <= ' ' || c >= 127 || strchr("\"(),/:;<=>?@[\\]{}", c) != NULL) : ((c < ' ' && c != '\t') || c == 127))
			return 0;
	}
	return !name || i > 0;
}

//-1 and nothing stored for a missing, empty or over-long name, an over-long value, or a control
//character in either
_declspec(dllexport) int WINAPI kvproj_add_http_header(kvproj_proto_packet_t *pk, char *name, char *value)
{
	kvproj_http_header_t *header;

	if(pk == NULL || name == NULL || value == NULL)
		return -1;
	if(pk->http_headers_count < 0 || pk->http_headers_count >= KVPROJ_MAX_HTTP_HEADER_NUM)
		return -1;
	if(strlen(name) > KVPROJ_MAX_HTTP_HEADER_NAME_LEN || strlen(value) > KVPROJ_MAX_HTTP_HEADER_VALUE_LEN)
		return -1;
	if(!kvproj_http_field_ok(name, KVPROJ_MAX_HTTP_HEADER_NAME_LEN, 1) || !kvproj_http_field_ok(value, KVPROJ_MAX_HTTP_HEADER_VALUE_LEN, 0))
		return -1;
	header = &pk->http_headers[pk->http_headers_count];
	strcpy(header->name, name);
	strcpy(header->value, value);
	pk->http_headers_count++;
	return 0;
}
