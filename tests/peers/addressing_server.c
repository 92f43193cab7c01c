/* The peers' addressing server: the generated server of wsdl/addressing.wsdl on a free loopback port
 * (printed first), printing the addressing headers of each request it serves. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "addr_api.h"

static int serve_add(addr_served_t *served, const addr_AddRequest_msg_t *in, addr_AddReply_msg_t *out, addr_soap_fault_msg_t *fault)
{
	(void)served; (void)fault;
	out->AddResponse.sum = in->Add.a + in->Add.b;
	return 0;
}

static int serve_greet(addr_served_t *served, const addr_GreetRequest_msg_t *in, addr_GreetReply_msg_t *out, addr_soap_fault_msg_t *fault)
{
	const char *name = in->Greet.name != NULL ? in->Greet.name : "";
	(void)served; (void)fault;
	out->GreetResponse.greeting = (char *)malloc(strlen(name) + sizeof("Hello, !"));
	sprintf(out->GreetResponse.greeting, "Hello, %s!", name);
	return 0;
}

/* the request's headers: its Action, whether its MessageID is a uuid, its To's path */
static int seen(addr_served_t *served, addr_soap_fault_msg_t *fault)
{
	const addr_wsa_t *wsa = &served->request->wsa;
	const char *path = wsa->to[0] != '\0' ? strchr(wsa->to + 7, '/') : NULL;
	(void)fault;
	printf("served %s %s %s\n", wsa->action, strncmp(wsa->message_id, "urn:uuid:", 9) == 0 ? "uuid" : "other",
		path != NULL ? path : "-");
	fflush(stdout);
	return 0;
}

int main(void)
{
	addr_service_t service = {.Add = serve_add, .Greet = serve_greet, .headers = seen};
	tessaro_server_config_t config = {.address = "127.0.0.1", .wsdl = "addressing.wsdl"};
	tessaro_server_t *server;

	if(addr_server_start(&server, &config, &service) != 0)
		return 1;
	printf("port %u\n", (unsigned int)tessaro_server_port(server));
	fflush(stdout);
	tessaro_server_stop_on_signals(server);
	tessaro_server_wait(server);
	tessaro_server_free(server);
	return 0;
}
