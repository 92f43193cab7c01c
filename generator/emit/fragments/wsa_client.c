#include "tessaro_hash.h"

//WS-Addressing of a call: where the client is set to it, or left as the WSDL says and the operation's
//binding asks for it, the request goes with its Action, a new MessageID, To (the endpoint) and an
//anonymous ReplyTo (what the headers packet gave stays), and the answer must carry RelatesTo that
//MessageID and the response's Action (a fault any Action)

//the addressing version a call goes in, 0 for none
static int kvproj_wsa_of(const kvproj_client_t *client, int asked)
{
	if(client->addressing == KVPROJ_WSA_1_0 || client->addressing == KVPROJ_WSA_2004)
		return client->addressing;
	return client->addressing == 0 && asked ? KVPROJ_WSA_1_0 : 0;
}

//a new MessageID: a random (version 4) UUID as urn:uuid:
static int kvproj_wsa_message_id(char *id, size_t size)
{
	unsigned char	b[16];

	if(tessaro_random(b, sizeof(b)) != 0)
		return -1;
	b[6] = (unsigned char)((b[6] & 0x0f) | 0x40);
	b[8] = (unsigned char)((b[8] & 0x3f) | 0x80);
	snprintf(id, size, "urn:uuid:%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", b[0], b[1], b[2], b[3],
		b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
	return 0;
}

//the request's addressing headers for an operation whose binding asks for addressing (asked) or not
static int kvproj_wsa_request(kvproj_client_t *client, kvproj_proto_packet_t *request, int asked, const char *action)
{
	kvproj_wsa_t	*wsa = &request->wsa;
	int	version = kvproj_wsa_of(client, asked);
	int	bracket = strchr(client->host, ':') != NULL;

	if(version == 0)
		return 0;
	wsa->version = version;
	if(wsa->action[0] == '\0')
		snprintf(wsa->action, sizeof(wsa->action), "%s", action);
	if(wsa->message_id[0] == '\0' && kvproj_wsa_message_id(wsa->message_id, sizeof(wsa->message_id)) != 0)
		return kvproj_call_failed(client, KVPROJ_ERR_ADDRESSING, "the platform gave no random bytes for the request's MessageID");
	if(wsa->to[0] == '\0')
		snprintf(wsa->to, sizeof(wsa->to), "%s://%s%s%s:%u%s", client->tls ? "https" : "http", bracket ? "[" : "", client->host,
			bracket ? "]" : "", (unsigned)client->port, client->path);
	if(wsa->reply_to[0] == '\0')
		snprintf(wsa->reply_to, sizeof(wsa->reply_to), "%s", version == KVPROJ_WSA_2004 ?
			"http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous" : "http://www.w3.org/2005/08/addressing/anonymous");
	return 0;
}

//the answer to a request that went with addressing headers, checked: 0, or KVPROJ_ERR_ADDRESSING with why;
//action is the response's (NULL: the operation has none)
static int kvproj_wsa_answered(kvproj_client_t *client, const kvproj_proto_packet_t *request, const kvproj_proto_packet_t *pk, const char *action)
{
	const kvproj_wsa_t	*asked = &request->wsa, *got = &pk->wsa;

	if(asked->version == 0 || pk->msg_type == KVPROJ_PROTO_HTTP)
		return 0;
	if(got->relates_to[0] != '\0' && strcmp(got->relates_to, asked->message_id) != 0)
		return kvproj_call_failed(client, KVPROJ_ERR_ADDRESSING, "the answer relates to %.200s, not to the request's MessageID %s",
			got->relates_to, asked->message_id);
	if(pk->msg_type == KVPROJ_PROTO_SOAP_FAULT || action == NULL)
		return 0;
	if(got->action[0] == '\0')
		return kvproj_call_failed(client, KVPROJ_ERR_ADDRESSING, "the answer carries no WS-Addressing Action (the response's is %.300s)", action);
	if(strcmp(got->action, action) != 0)
		return kvproj_call_failed(client, KVPROJ_ERR_ADDRESSING, "the answer's Action is %.300s, the response's is %.300s", got->action, action);
	if(got->relates_to[0] == '\0')
		return kvproj_call_failed(client, KVPROJ_ERR_ADDRESSING, "the answer carries no RelatesTo for the request's MessageID %s", asked->message_id);
	return 0;
}
