_declspec(dllexport) int WINAPI kvproj_set_attachment(kvproj_proto_packet_t *pk, char *attachment, unsigned int attachment_length){

	char *copy = NULL;

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

_declspec(dllexport) int WINAPI kvproj_add_http_header(kvproj_proto_packet_t *pk, char *name, char *value)
{
	int result = 0;

	if(pk->http_headers_count < 0 || pk->http_headers_count >= KVPROJ_MAX_HTTP_HEADER_NUM)
		return -1;

	strncpy(pk->http_headers[pk->http_headers_count].name, name, KVPROJ_MAX_HTTP_HEADER_NAME_LEN);
	pk->http_headers[pk->http_headers_count].name[KVPROJ_MAX_HTTP_HEADER_NAME_LEN] = '\0';
	strncpy(pk->http_headers[pk->http_headers_count].value, value, KVPROJ_MAX_HTTP_HEADER_VALUE_LEN);
	pk->http_headers[pk->http_headers_count].value[KVPROJ_MAX_HTTP_HEADER_VALUE_LEN] = '\0';

	pk->http_headers_count++;

	return result;
}

