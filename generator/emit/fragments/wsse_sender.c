//WS-Security of a message going out: a packet with settings (pk->wsse) sends its envelope with the
//Security header they ask for

//the envelope the body holds from its XML on (what stands before it, a MIME part's head, stays)
//with its Security header, in its place; -1 with why in the body's reason when it cannot be secured
static int kvproj_wsse_secure_body(const tessaro_wsse_t *settings, mycursor_t *body, char *from)
{
	char	*secured = NULL;
	char	*xml;
	size_t	secured_length;
	int	result;

	if(settings == NULL || (settings->use & TESSARO_WSSE_SENT) == 0 || body->tail == NULL)
		return 0;
	if((xml = strchr(from, '<')) == NULL)
		return myrefuse(body);
	if(tessaro_wsse_secure(settings, xml, (size_t)(body->tail - xml), &secured, &secured_length, body->why, body->why_size) != 0)
		return myrefuse(body);
	body->tail = xml;
	*xml = '\0';
	result = mymemcat(body, secured, secured_length);
	free(secured);
	return result;
}
