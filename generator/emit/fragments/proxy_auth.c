//the answers to a proxy's challenges (407 with Proxy-Authenticate) with the credentials of its
//address: Basic, or Digest where it asks for it

//the Proxy-Authorization value of a request (method and uri as its request line names them) into
//value (size bytes); NULL before the proxy's first challenge, or without credentials
static const char *kvproj_proxy_authorization(kvproj_client_t *client, const char *method, const char *uri, char *value, size_t size)
{
	if(client->proxy_user[0] == '\0' || client->proxy_scheme == 0)
		return NULL;
	if(client->proxy_scheme == 1)
		return kvproj_basic_value(client->proxy_user, client->proxy_password, value, size);
	return kvproj_digest_value(&client->proxy_digest, client->proxy_user, client->proxy_password, method, uri, value, size);
}

//takes the proxy's challenge (scheme 2 Digest, the challenge given; 1 Basic; 0 none the client
//takes): 1 when the request is to go again with credentials. It goes again only when the proxy
//address gives credentials, and, once they went with the request refused, only for a Digest
//challenge that says the nonce was stale
static int kvproj_proxy_again(kvproj_client_t *client, int scheme, const kvproj_digest_t *challenge, int stale)
{
	int	answered = client->proxy_scheme != 0;

	if(client->proxy_user[0] == '\0' || scheme == 0 || (answered && !(scheme == 2 && stale))){
		client->proxy_scheme = 0;
		return 0;
	}
	client->proxy_scheme = scheme;
	if(scheme == 2)
		client->proxy_digest = *challenge;
	return 1;
}
