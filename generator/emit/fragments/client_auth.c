//the calls' credentials, and the request sent again to answer the service's challenge

//the user and password every call of the client authenticates with (never printed or logged);
//KVPROJ_ERR_ARGUMENT for a NULL or over-long one, a control character, or a user name the
//scheme cannot carry. Set after kvproj_client_init, which clears them.
_declspec(dllexport) int WINAPI kvproj_client_set_credentials(kvproj_client_t *client, const char *user, const char *password)
{
	if(client == NULL || user == NULL || password == NULL)
		return KVPROJ_ERR_ARGUMENT;
	if(strlen(user) > KVPROJ_MAX_USER_LEN || strlen(password) > KVPROJ_MAX_USER_PWD_LEN)
		return KVPROJ_ERR_ARGUMENT;
	if(!kvproj_http_field_ok(user, KVPROJ_MAX_USER_LEN, 0) || !kvproj_http_field_ok(password, KVPROJ_MAX_USER_PWD_LEN, 0) ||
			!kvproj_credentials_fit(user))
		return KVPROJ_ERR_ARGUMENT;
	kvproj_forget_challenge(client);
	strcpy(client->user, user);
	strcpy(client->password, password);
	return 0;
}

//sends the request with the client's credentials as the service asks for them: the answer to its
//challenge goes out once, and once more when the challenge only says the nonce was stale; a 401
//that stands after that is KVPROJ_ERR_AUTH
static int kvproj_call_authorized(kvproj_client_t *client, kvproj_proto_packet_t *request, kvproj_proto_packet_t *pk)
{
	char value[4 * KVPROJ_MAX_AUTHINFO_LEN];
	const char *authorization;
	int attempt, result, stale, stale_answered = 0;

	for(attempt = 0; ; attempt++){
		authorization = kvproj_authorization(client, value, sizeof(value));
		result = kvproj_call_request(client, request, pk, authorization);
		memset(value, 0, sizeof(value));
		if(result != 0 || pk->msg_type != KVPROJ_PROTO_HTTP || pk->msg.http_msg.err_code != 401)
			return result;
		if(client->user[0] == '\0' || attempt >= 2 || kvproj_challenged(client, pk, &stale) != 0 ||
				(authorization != NULL && (!stale || stale_answered++ > 0))){
			client->http_status = 401;
			return kvproj_call_failed(client, KVPROJ_ERR_AUTH, "HTTP 401 %.*s: %s", kvproj_reason_length(pk), pk->msg.http_msg.err_code_string,
				client->user[0] == '\0' ? "the service asks for credentials, and none are set" :
				authorization == NULL ? "the service's challenge names no way of authenticating this client takes" :
				"the service refused the credentials");
		}
		kvproj_free_proto_packet(pk);
	}
}
