#include <stdio.h>
#include "calculator_api.h"

int main(int argc, char **argv)
{
	calculator_client_t client;
	calculator_AddRequest_msg_t in = {.Add = {.a = 2, .b = 3}};
	calculator_AddReply_msg_t out;
	int result = calculator_client_init(&client, argc > 1 ? argv[1] : NULL); /* NULL: the soap:address */

	if(result == 0)
		result = calculator_Add(&client, &in, &out, NULL);
	if(result == 0)
		printf("2 + 3 = %d\n", out.AddResponse.sum);
	else
		printf("Add: %s\n", calculator_strerror(result));
	return result == 0 ? 0 : 1;
}
