//Digest authentication of the service: its challenge is answered with a hash of the credentials

static void kvproj_forget_challenge(kvproj_client_t *client)
{
	memset(&client->digest, 0, sizeof(client->digest));
}

//the challenge of a 401 answer: its head is the start of the answer's text
static int kvproj_challenged(kvproj_client_t *client, const kvproj_proto_packet_t *answer, int *stale)
{
	kvproj_digest_t	challenge;

	if(kvproj_head_challenge(answer->msg.http_msg.buffer, kvproj_head_end(answer), "WWW-Authenticate:", &challenge, stale) == 2){
		client->digest = challenge;
		client->digest.endpoint = client->port_endpoint;
		return 0;
	}
	kvproj_forget_challenge(client);
	return -1;
}

//a Digest user name goes as a quoted string: any character but a control one
static int kvproj_credentials_fit(const char *user)
{
	(void)user;
	return 1;
}

//the Authorization value of the next request into value (size bytes), which counts one more use
//of the nonce; NULL before the service's first challenge, without credentials, or when the
//answer does not fit
static const char *kvproj_authorization(kvproj_client_t *client, char *value, size_t size)
{
	//a challenge of another port's service is none of this one's
	if(client->digest.endpoint != client->port_endpoint)
		kvproj_forget_challenge(client);
	if(client->user[0] == '\0' || client->digest.nonce[0] == '\0')
		return NULL;
	return kvproj_digest_value(&client->digest, client->user, client->password, "POST", client->path, value, size);
}
