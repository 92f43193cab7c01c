//WS-Addressing of a request served: one that carries addressing headers is answered with them (the
//response's Action, or the fault Action, and RelatesTo its MessageID); where the service is set to
//addressing, or left as the WSDL says and the operation's binding asks for it, a request without an
//Action is refused with MessageAddressingHeaderRequired. An Action other than the operation's (or its
//soapAction) is refused with ActionNotSupported, an answer asked to go elsewhere than back on the
//connection with OnlyAnonymousAddressSupported

//the Actions of a request kind's operation (output NULL without a response): 1 when its binding asks
//for addressing, 0 when not, -1 for a kind no operation takes (generated after this fragment)
static int kvproj_wsa_actions(unsigned int msg_type, const char **input, const char **soap_action, const char **output);

//whether an endpoint reference's address is empty or one the answer may go to on the connection
static int kvproj_wsa_anonymous(const char *address)
{
	return address[0] == '\0' || strcmp(address, "http://www.w3.org/2005/08/addressing/anonymous") == 0 ||
		strcmp(address, "http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous") == 0;
}

//the answer becomes the addressing fault named (its SOAP 1.1 code, a SOAP 1.2 Sender fault's subcode)
static void kvproj_wsa_fault(kvproj_proto_packet_t *answer, int version, const char *name, const char *why)
{
	kvproj_soap_fault_msg_t	*fault = kvproj_server_fault_answer(answer);
	const char	*ns = kvproj_wsa_namespace(version);

	if(answer->soap_version == KVPROJ_SOAP_1_2){
		snprintf(fault->faultcode, sizeof(fault->faultcode), "SOAP-ENV:Sender");
		snprintf(fault->subcode, sizeof(fault->subcode), "wsa:%s", name);
		snprintf(fault->subcode_ns, sizeof(fault->subcode_ns), "%s", ns);
	}else{
		//the prefix is the one the answer's Envelope declares with its addressing headers
		snprintf(fault->faultcode, sizeof(fault->faultcode), "wsa:%s", name);
	}
	snprintf(fault->faultstring, sizeof(fault->faultstring), "%s", why);
}

//the version the service requires, 0 when the request's operation needs none
static int kvproj_wsa_required(const kvproj_service_t *service, int asked)
{
	if(service->addressing == KVPROJ_WSA_1_0 || service->addressing == KVPROJ_WSA_2004)
		return service->addressing;
	return service->addressing == 0 && asked == 1 ? KVPROJ_WSA_1_0 : 0;
}

static int kvproj_wsa_refusal(const kvproj_service_t *service, const kvproj_proto_packet_t *request, kvproj_proto_packet_t *answer)
{
	const kvproj_wsa_t	*wsa = &request->wsa;
	const char	*input = NULL, *soap_action = NULL, *output = NULL;
	int	required = kvproj_wsa_required(service, kvproj_wsa_actions(request->msg_type, &input, &soap_action, &output));
	char	why[KVPROJ_MAX_WSA_URI_LEN + 128];

	if(wsa->version == 0 && required == 0)
		return 0;
	if(wsa->action[0] == '\0'){
		kvproj_wsa_fault(answer, wsa->version != 0 ? wsa->version : required, "MessageAddressingHeaderRequired",
			"A required header representing a Message Addressing Property is not present: Action");
		return 1;
	}
	if(input != NULL && strcmp(wsa->action, input) != 0 && (soap_action[0] == '\0' || strcmp(wsa->action, soap_action) != 0)){
		snprintf(why, sizeof(why), "The action %s cannot be processed at the receiver: the message's operation takes %s", wsa->action, input);
		kvproj_wsa_fault(answer, wsa->version, "ActionNotSupported", why);
		return 1;
	}
	if(!kvproj_wsa_anonymous(wsa->reply_to) || !kvproj_wsa_anonymous(wsa->fault_to)){
		kvproj_wsa_fault(answer, wsa->version, "OnlyAnonymousAddressSupported",
			"This endpoint answers only on the connection the request came on (an anonymous ReplyTo and FaultTo)");
		return 1;
	}
	return 0;
}

//the answer's addressing headers, for a request that had them or was refused for want of them
static void kvproj_wsa_reply(const kvproj_service_t *service, const kvproj_proto_packet_t *request, kvproj_proto_packet_t *answer)
{
	const char	*input = NULL, *soap_action = NULL, *output = NULL;
	int	required = kvproj_wsa_required(service, kvproj_wsa_actions(request->msg_type, &input, &soap_action, &output));
	int	version = request->wsa.version != 0 ? request->wsa.version : required;

	if(version == 0 || answer->msg_type == KVPROJ_PROTO_HTTP)
		return;
	memset(&answer->wsa, 0, sizeof(answer->wsa));
	answer->wsa.version = version;
	if(answer->msg_type == KVPROJ_PROTO_SOAP_FAULT)
		snprintf(answer->wsa.action, sizeof(answer->wsa.action), "%s/fault", kvproj_wsa_namespace(version));
	else if(output != NULL)
		snprintf(answer->wsa.action, sizeof(answer->wsa.action), "%s", output);
	snprintf(answer->wsa.relates_to, sizeof(answer->wsa.relates_to), "%s", request->wsa.message_id);
}
