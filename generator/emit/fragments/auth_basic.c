//Basic authentication: the user and password go with every request, base64-encoded

//the Authorization value of the next request into value (size bytes); NULL when no credentials
//are set or they do not fit
static const char *kvproj_authorization(kvproj_client_t *client, char *value, size_t size)
{
	return client->user[0] != '\0' ? kvproj_basic_value(client->user, client->password, value, size) : NULL;
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
