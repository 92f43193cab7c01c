/* The example service itself, the skeleton kvgen wrote (calculator_server.c) filled in: Add answers
 * a + b, and Greet answers "Hello, NAME!". It prints where it listens, then each request it answers.
 *   calculator_server [PORT [REQUESTS]]   (PORT 4321 unless given, 0 for a free one; it stops after
 *                                         REQUESTS requests, or on SIGINT or SIGTERM) */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "calculator_api.h"

static tessaro_server_t *server;
static long requests_left = -1;

/* Counts a request answered: the last one asked for stops the server, once its answer is out. */
static void answered(void)
{
	fflush(stdout);
	if(__atomic_sub_fetch(&requests_left, 1, __ATOMIC_SEQ_CST) == 0)
		tessaro_server_stop(server);
}

static int serve_Add(calculator_served_t *served, const calculator_AddRequest_msg_t *in, calculator_AddReply_msg_t *out, calculator_soap_fault_msg_t *fault)
{
	(void)served; (void)fault;
	out->AddResponse.sum = in->Add.a + in->Add.b;
	printf("calculator_server: Add %d + %d: answers %d\n", in->Add.a, in->Add.b, out->AddResponse.sum);
	answered();
	return 0;
}

static int serve_Greet(calculator_served_t *served, const calculator_GreetRequest_msg_t *in, calculator_GreetReply_msg_t *out, calculator_soap_fault_msg_t *fault)
{
	const char *name = in->Greet.name != NULL ? in->Greet.name : "";
	size_t size = strlen(name) + sizeof("Hello, !");

	(void)served;
	/* the server frees the answer's texts once it is sent */
	if((out->GreetResponse.greeting = (char *)malloc(size)) == NULL){
		snprintf(fault->faultstring, sizeof(fault->faultstring), "no memory for the greeting");
		return CALCULATOR_FAULT;
	}
	snprintf(out->GreetResponse.greeting, size, "Hello, %s!", name);
	printf("calculator_server: Greet %s: answers %s\n", name, out->GreetResponse.greeting);
	answered();
	return 0;
}

int main(int argc, char **argv)
{
	calculator_service_t service = {0};
	tessaro_server_config_t config = {0};

	service.Add = serve_Add;
	service.Greet = serve_Greet;
	config.address = "127.0.0.1";
	/* GET ...?wsdl answers the description, where it stands beside the program */
	config.wsdl = "calculator.wsdl";
	config.port = (tessaro_port_t)(argc > 1 ? atoi(argv[1]) : 4321);
	requests_left = argc > 2 ? strtol(argv[2], NULL, 10) : -1;
	if(calculator_server_start(&server, &config, &service) != 0){
		printf("calculator_server: cannot listen on port %u\n", (unsigned int)config.port);
		return 1;
	}
	printf("calculator_server: listens on 127.0.0.1:%u\n", (unsigned int)tessaro_server_port(server));
	fflush(stdout);
	tessaro_server_stop_on_signals(server);
	tessaro_server_wait(server);
	tessaro_server_free(server);
	return 0;
}
