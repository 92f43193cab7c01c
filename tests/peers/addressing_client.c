/* The peers' addressing client: calls Add and Greet of wsdl/addressing.wsdl at the endpoints given
 * (SOAP 1.1, then SOAP 1.2), each answer checked for its Action and RelatesTo. */
#include <stdio.h>
#include "addr_api.h"

static int call(const char *endpoint, int soap12)
{
	addr_client_t client;
	addr_AddRequest_msg_t add = {.Add = {.a = 2, .b = 3}};
	addr_AddReply_msg_t sum;
	addr_GreetRequest_msg_t greet = {.Greet = {.name = "node"}};
	addr_GreetReply_msg_t greeting;
	int result, failed = 0;

	addr_client_init(&client, endpoint);
	result = soap12 ? addr_Add_soap12(&client, &add, &sum, NULL) : addr_Add(&client, &add, &sum, NULL);
	if(result == 0)
		printf("client%s Add %d\n", soap12 ? "12" : "", sum.AddResponse.sum);
	else
		printf("client%s Add failed: %s\n", soap12 ? "12" : "", addr_client_error_detail(&client)), failed = 1;
	result = soap12 ? addr_Greet_soap12(&client, &greet, &greeting, NULL) : addr_Greet(&client, &greet, &greeting, NULL);
	if(result == 0)
		printf("client%s Greet %s\n", soap12 ? "12" : "", greeting.GreetResponse.greeting);
	else
		printf("client%s Greet failed: %s\n", soap12 ? "12" : "", addr_client_error_detail(&client)), failed = 1;
	addr_free_Greet(&greeting);
	addr_client_close(&client);
	return failed;
}

int main(int argc, char **argv)
{
	int failed;

	if(argc < 3)
		return 2;
	failed = call(argv[1], 0);
	failed |= call(argv[2], 1);
	return failed;
}
