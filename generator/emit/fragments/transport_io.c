//every receive and send of the library goes through these two: through the transport's TLS
//session when it has one, else on its socket. The transport's deadline (0 for none) shortens
//each time-out, so that one time-out can cover a whole exchange
static tessaro_usec_t kvproj_trans_timeout(kvproj_proto_trans_t *trans, tessaro_usec_t timeout)
{
	tessaro_usec_t left;

	if(trans->deadline == 0)
		return timeout;
	left = trans->deadline - tessaro_clock_usec();
	if(left < 0)
		left = 0;
	return timeout < 0 || left < timeout ? left : timeout;
}

static int kvproj_trans_recv(kvproj_proto_trans_t *trans, void *buf, tessaro_size_t *len, tessaro_usec_t timeout)
{
	int result;

	timeout = kvproj_trans_timeout(trans, timeout);
	if(trans->tls != NULL)
		result = tessaro_tls_recv(trans->tls, buf, len, timeout);
	else
		result = tessaro_socket_recv(trans->socket, buf, len, timeout);
	trans->received += *len;
	if(result != 0)
		trans->failure = result;
	return result;
}

//keep_sent: the message is also kept in trans->sent, so that it can go again on a new connection
static int kvproj_trans_send(kvproj_proto_trans_t *trans, const void *buf, tessaro_size_t len, tessaro_size_t *sent, tessaro_usec_t timeout)
{
	int result;

	if(trans->keep_sent){
		free(trans->sent);
		trans->sent_length = 0;
		if((trans->sent = (char *)malloc(len > 0 ? len : 1)) == NULL)
			return -1;
		memcpy(trans->sent, buf, len);
		trans->sent_length = len;
	}
	timeout = kvproj_trans_timeout(trans, timeout);
	if(trans->tls != NULL)
		result = tessaro_tls_send_all(trans->tls, buf, len, sent, timeout);
	else
		result = tessaro_socket_send_all(trans->socket, buf, len, sent, timeout);
	if(result != 0)
		trans->failure = result;
	return result;
}

