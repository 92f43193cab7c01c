/* 64 clients at once, each calling Add CALLS times on its kept connection to the endpoint given:
 * prints how many calls got their right answer, and the first failure seen. */
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>

#include "calculator_api.h"

#define CLIENTS 64

static const char *endpoint;
static long calls;
static long answered[CLIENTS];
static char failure[CLIENTS][256];

static void *client(void *param)
{
	long n = (long)(size_t)param, i;
	calculator_client_t one;
	calculator_AddRequest_msg_t in;
	calculator_AddReply_msg_t out;
	int result;

	calculator_client_init(&one, endpoint);
	for(i = 0; i < calls; i++){
		in.Add.a = (int)n;
		in.Add.b = (int)i;
		result = calculator_Add(&one, &in, &out, NULL);
		if(result == 0 && out.AddResponse.sum == n + i)
			answered[n]++;
		else if(failure[n][0] == '\0')
			snprintf(failure[n], sizeof(failure[n]), "%s: %s", calculator_strerror(result), calculator_client_error_detail(&one));
	}
	calculator_client_close(&one);
	return NULL;
}

int main(int argc, char **argv)
{
	pthread_t threads[CLIENTS];
	long all = 0, n;

	endpoint = argv[1];
	calls = argc > 2 ? strtol(argv[2], NULL, 10) : 100;
	for(n = 0; n < CLIENTS; n++)
		if(pthread_create(&threads[n], NULL, client, (void *)(size_t)n) != 0)
			return 1;
	for(n = 0; n < CLIENTS; n++){
		pthread_join(threads[n], NULL);
		all += answered[n];
	}
	printf("answered %ld of %ld\n", all, CLIENTS * calls);
	for(n = 0; n < CLIENTS; n++)
		if(failure[n][0] != '\0'){
			printf("first failure: %s\n", failure[n]);
			break;
		}
	return all == CLIENTS * calls ? 0 : 1;
}
