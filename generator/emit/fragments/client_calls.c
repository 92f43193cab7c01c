//one call per operation connects to the client's endpoint, sends the request, reads the
//answer and closes the connection
//sends the packet to the client's endpoint and reads the answer into it
static int kvproj_call(kvproj_client_t *client, kvproj_proto_packet_t *pk)
{
	kvproj_proto_trans_t trans;
	int result = 0;

	memset(&trans, 0, sizeof(trans));
	client->http_status = 0;
	//a kind that is also some operation's response goes out as a request
	pk->msg_direction = KVPROJ_DIRECTION_REQUEST;
	result = kvproj_connect_server(&trans, client->host, client->path, client->port);
	if(result != 0)
		result = result == -2 ? KVPROJ_ERR_HOST : KVPROJ_ERR_CONNECT;
	else if(kvproj_proto_sendpacket(&trans, pk, client->timeout) != 0)
		result = KVPROJ_ERR_SEND;
	//the request's arrays and attachment are the caller's: from here on the packet holds only
	//what the reader allocated
	memset(pk, 0, sizeof(*pk));
	if(result == KVPROJ_ERR_CONNECT || result == KVPROJ_ERR_HOST)
		return result;
	if(result == 0 && kvproj_proto_readpacket(&trans, pk, client->timeout) != 0)
		result = KVPROJ_ERR_RECEIVE;
	tessaro_socket_close(trans.socket);
	return result;
}

//an answer that is not the operation's response: a fault, an HTTP error or another message
static int kvproj_call_answer(kvproj_client_t *client, kvproj_proto_packet_t *pk, kvproj_soap_fault_msg_t *fault)
{
	if(pk->msg_type == KVPROJ_PROTO_SOAP_FAULT){
		if(fault != NULL)
			memcpy(fault, &pk->msg.soap_fault, sizeof(*fault));
		return KVPROJ_FAULT;
	}
	if(pk->msg_type == KVPROJ_PROTO_HTTP){
		client->http_status = pk->msg.http_msg.err_code;
		return KVPROJ_ERR_HTTP;
	}
	return KVPROJ_ERR_UNEXPECTED;
}

