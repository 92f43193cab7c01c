#include <stdio.h>
#include "calculator_api.h"

int main(int argc, char **argv)
{
	calculator_client_t client;
	calculator_GreetRequest_msg_t in = {.Greet = {.name = "newcomer"}};
	calculator_GreetReply_msg_t out;
	int result = calculator_client_init(&client, argc > 1 ? argv[1] : NULL); /* NULL: the soap:address */

	if(result == 0)
		result = calculator_Greet(&client, &in, &out, NULL);
	if(result == 0)
		printf("%s\n", out.GreetResponse.greeting);
	else
		printf("Greet: %s\n", calculator_strerror(result));
	return result == 0 ? 0 : 1;
}
