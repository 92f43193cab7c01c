//WS-Security of the client's calls: each request carries the Security header set here (a call whose
//headers packet points to settings of its own, client->headers->wsse, carries those instead), and
//with a trust set every answer but a fault must be signed by a certificate it trusts

//user NULL: no UsernameToken. how: KVPROJ_WSSE_PASSWORD_TEXT or KVPROJ_WSSE_PASSWORD_DIGEST (which
//always sends a Nonce and Created), with KVPROJ_WSSE_NONCE and KVPROJ_WSSE_CREATED added as wanted
_declspec(dllexport) int WINAPI kvproj_client_set_wsse_user(kvproj_client_t *client, const char *user, const char *password, int how)
{
	const int token = TESSARO_WSSE_USERNAME_TOKEN | TESSARO_WSSE_PASSWORD_DIGEST | TESSARO_WSSE_NONCE | TESSARO_WSSE_CREATED;

	if(client == NULL || (user != NULL && (password == NULL || strlen(user) > TESSARO_WSSE_USER_LEN ||
			strlen(password) > TESSARO_WSSE_PASSWORD_LEN || (how & ~token) != 0)))
		return KVPROJ_ERR_ARGUMENT;
	client->wsse.use &= ~token;
	memset(client->wsse.password, 0, sizeof(client->wsse.password));
	client->wsse.user[0] = '\0';
	if(user == NULL)
		return 0;
	strcpy(client->wsse.user, user);
	strcpy(client->wsse.password, password);
	client->wsse.use |= TESSARO_WSSE_USERNAME_TOKEN | how;
	return 0;
}

//a Timestamp whose Expires lies seconds after its Created; 0: none
_declspec(dllexport) int WINAPI kvproj_client_set_wsse_timestamp(kvproj_client_t *client, int seconds)
{
	if(client == NULL || seconds < 0)
		return KVPROJ_ERR_ARGUMENT;
	client->wsse.use &= ~TESSARO_WSSE_TIMESTAMP;
	client->wsse.timestamp_seconds = seconds;
	if(seconds > 0)
		client->wsse.use |= TESSARO_WSSE_TIMESTAMP;
	return 0;
}

//the Body (and the Timestamp) signed with the PEM private key of key_file (encrypted with password
//unless NULL) and sent with its PEM certificate (cert_file, or key_file when NULL) as a
//BinarySecurityToken (on Windows key_file may also be a PFX, password its password); key_file NULL: no signature (what was loaded is freed).
//KVPROJ_ERR_SECURITY when they cannot be read, kvproj_client_error_detail says why
_declspec(dllexport) int WINAPI kvproj_client_set_wsse_signature(kvproj_client_t *client, const char *key_file, const char *cert_file,
	const char *password, int signature_method, int digest_method)
{
	tessaro_wsse_key_t *key = NULL;

	if(client == NULL || (signature_method != KVPROJ_WSSE_RSA_SHA256 && signature_method != KVPROJ_WSSE_RSA_SHA1) ||
			(digest_method != KVPROJ_WSSE_DIGEST_SHA256 && digest_method != KVPROJ_WSSE_DIGEST_SHA1))
		return KVPROJ_ERR_ARGUMENT;
	client->error_detail[0] = '\0';
	if(key_file != NULL && tessaro_wsse_key_load(&key, key_file, cert_file, password, client->error_detail, sizeof(client->error_detail)) != 0)
		return KVPROJ_ERR_SECURITY;
	tessaro_wsse_key_free(client->wsse.key);
	client->wsse.key = key;
	client->wsse.signature_method = signature_method;
	client->wsse.digest_method = digest_method;
	client->wsse.use &= ~TESSARO_WSSE_SIGN;
	if(key != NULL)
		client->wsse.use |= TESSARO_WSSE_SIGN;
	return 0;
}

//answers verified against the PEM certificates of pem_file (a signer's own, or an authority that
//issued it): an answer unsigned, signed over other bytes or by another signer fails with
//KVPROJ_ERR_SECURITY; pem_file NULL: answers are taken unchecked (what was loaded is freed)
_declspec(dllexport) int WINAPI kvproj_client_set_wsse_trust(kvproj_client_t *client, const char *pem_file)
{
	tessaro_wsse_trust_t *trust = NULL;

	if(client == NULL)
		return KVPROJ_ERR_ARGUMENT;
	client->error_detail[0] = '\0';
	if(pem_file != NULL && tessaro_wsse_trust_load(&trust, pem_file, client->error_detail, sizeof(client->error_detail)) != 0)
		return KVPROJ_ERR_SECURITY;
	tessaro_wsse_trust_free(client->wsse.trust);
	client->wsse.trust = trust;
	client->wsse.use &= ~TESSARO_WSSE_VERIFY;
	if(trust != NULL)
		client->wsse.use |= TESSARO_WSSE_VERIFY;
	return 0;
}

//the settings a request goes with: its packet's own, else the client's when they ask for anything
static const tessaro_wsse_t *kvproj_wsse_of(const kvproj_client_t *client, const kvproj_proto_packet_t *request)
{
	if(request->wsse != NULL)
		return request->wsse;
	return client->wsse.use != 0 ? &client->wsse : NULL;
}
