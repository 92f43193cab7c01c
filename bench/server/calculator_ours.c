/* Our server for the server benchmark: the skeleton kvgen writes for the calculator's WSDL,
 * filled in as the example service is (without its printing), on the support library's server
 * with its defaults (a worker per processor), answering GET ...?wsdl with the WSDL it was built
 * for (CALCULATOR_WSDL), which haproxy's health check asks. It prints "listening PORT" once it accepts.
 *   calculator_ours PORT [CERTIFICATE KEY] */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "calculator_api.h"

static int serve_Add(calculator_served_t *served, const calculator_AddRequest_msg_t *in, calculator_AddReply_msg_t *out,
                     calculator_soap_fault_msg_t *fault)
{
	(void)served;
	(void)fault;
	out->AddResponse.sum = in->Add.a + in->Add.b;
	return 0;
}

static int serve_Greet(calculator_served_t *served, const calculator_GreetRequest_msg_t *in,
                       calculator_GreetReply_msg_t *out, calculator_soap_fault_msg_t *fault)
{
	const char *name = in->Greet.name != NULL ? in->Greet.name : "";
	size_t size = strlen(name) + sizeof("Hello, !");

	(void)served;
	if ((out->GreetResponse.greeting = (char *)malloc(size)) == NULL) {
		snprintf(fault->faultstring, sizeof(fault->faultstring), "no memory for the greeting");
		return CALCULATOR_FAULT;
	}
	snprintf(out->GreetResponse.greeting, size, "Hello, %s!", name);
	return 0;
}

int main(int argc, char **argv)
{
	calculator_service_t service = {0};
	tessaro_server_config_t config = {0};
	tessaro_server_t *server;

	service.Add = serve_Add;
	service.Greet = serve_Greet;
	config.address = "127.0.0.1";
	config.port = (tessaro_port_t)atoi(argv[1]);
	config.reuse_port = 1;
	config.wsdl = CALCULATOR_WSDL;
	if (argc > 3) {
		config.tls_certificate = argv[2];
		config.tls_key = argv[3];
	}
	if (calculator_server_start(&server, &config, &service) != 0) {
		fprintf(stderr, "calculator_ours: cannot listen on port %s\n", argv[1]);
		return 1;
	}
	printf("listening %u\n", (unsigned int)tessaro_server_port(server));
	fflush(stdout);
	tessaro_server_stop_on_signals(server);
	tessaro_server_wait(server);
	tessaro_server_free(server);
	return 0;
}
