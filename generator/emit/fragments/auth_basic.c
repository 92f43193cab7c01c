//Basic authentication: the user and password go with every request, base64-encoded

//the Authorization value of the next request into value (size bytes); NULL when no credentials
//are set or they do not fit
static const char *kvproj_authorization(kvproj_client_t *client, char *value, size_t size)
{
	static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
	char pair[KVPROJ_MAX_USER_LEN + KVPROJ_MAX_USER_PWD_LEN + 2];
	unsigned long bits;
	size_t length, i, o = 6;
	int n;

	if(client->user[0] == '\0')
		return NULL;
	n = snprintf(pair, sizeof(pair), "%s:%s", client->user, client->password);
	if(n < 0 || (size_t)n >= sizeof(pair) || o + ((size_t)n + 2) / 3 * 4 >= size)
		return NULL;
	length = (size_t)n;
	memcpy(value, "Basic ", o);
	for(i = 0; i < length; i += 3){
		bits = (unsigned long)(unsigned char)pair[i] << 16;
		if(i + 1 < length)
			bits |= (unsigned long)(unsigned char)pair[i + 1] << 8;
		if(i + 2 < length)
			bits |= (unsigned char)pair[i + 2];
		value[o++] = digits[bits >> 18 & 63];
		value[o++] = digits[bits >> 12 & 63];
		value[o++] = i + 1 < length ? digits[bits >> 6 & 63] : '=';
		value[o++] = i + 2 < length ? digits[bits & 63] : '=';
	}
	value[o] = '\0';
	memset(pair, 0, sizeof(pair));
	return value;
}

//a Basic request carried its credentials already: a challenge leaves nothing more to answer
static int kvproj_challenged(kvproj_client_t *client, const kvproj_proto_packet_t *answer, int *stale)
{
	(void)client;
	(void)answer;
	*stale = 0;
	return -1;
}

//a Basic user name holds no colon: the first one ends it
static int kvproj_credentials_fit(const char *user)
{
	return strchr(user, ':') == NULL;
}

//Basic keeps nothing of a challenge
static void kvproj_forget_challenge(kvproj_client_t *client)
{
	(void)client;
}
