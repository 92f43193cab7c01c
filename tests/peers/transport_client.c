/* The transport tests' client of the calculator service: COUNT calls of Add on one client, each
 * printed as a JSON line, then the client closed. Options set the client's TLS and proxy.
 *   transport_client ENDPOINT COUNT [--ca FILE] [--no-verify] [--proxy PROXY] [--direct] [--timeout S]
 * With no arguments it checks the endpoints client_init must refuse or take. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "calculator_api.h"

static int check_endpoints(void)
{
	static const struct { const char *endpoint; int result; int tls; unsigned port; } rows[] = {
		{"https://service.example/calc", 0, 1, 443},
		{"https://service.example:8443/calc", 0, 1, 8443},
		{"http://service.example/calc", 0, 0, 80},
		{"http://service.example/calc\r\nX-Injected: 1", CALCULATOR_ERR_ADDRESS, 0, 0},
		{"http://service.example/ca\nlc", CALCULATOR_ERR_ADDRESS, 0, 0},
		{"http://service.example/a b", CALCULATOR_ERR_ADDRESS, 0, 0},
		{"http://service.exa\tmple/", CALCULATOR_ERR_ADDRESS, 0, 0},
		{"http://service.example/\x7f", CALCULATOR_ERR_ADDRESS, 0, 0},
		{"ftp://service.example/", CALCULATOR_ERR_ADDRESS, 0, 0},
		{"https://user@service.example/", CALCULATOR_ERR_ADDRESS, 0, 0},
		{"https://[::1]:8443/calc", 0, 1, 8443},
		{"http://[2001:db8::5]/calc", 0, 0, 80},
		{"http://[::1/calc", CALCULATOR_ERR_ADDRESS, 0, 0},
	};
	calculator_client_t client;
	size_t i;
	int failed = 0, result;

	for(i = 0; i < sizeof(rows) / sizeof(rows[0]); i++){
		result = calculator_client_init(&client, rows[i].endpoint);
		if(result != rows[i].result || (result == 0 && (client.tls != rows[i].tls || client.port != rows[i].port))){
			printf("{\"endpoint\":%u,\"result\":%d}\n", (unsigned)i, result);
			failed = 1;
		}
	}
	if(strstr(calculator_strerror(CALCULATOR_ERR_ADDRESS), "https://") == NULL)
		failed = 1;
	if(calculator_client_set_proxy(&client, "https://proxy.example:3128") != CALCULATOR_ERR_PROXY ||
		calculator_client_set_proxy(&client, "http://proxy.example\r\n:3128") != CALCULATOR_ERR_PROXY ||
		calculator_client_set_proxy(&client, "http://proxy.example") != 0 || client.proxy_port != 1080)
		failed = 1;
	printf("{\"endpoints\":\"%s\"}\n", failed ? "failed" : "checked");
	return failed;
}

int main(int argc, char **argv)
{
	calculator_client_t client;
	calculator_AddRequest_msg_t in;
	calculator_AddReply_msg_t out;
	int count, i, passed = 0, result;

	if(argc < 3)
		return check_endpoints();
	result = calculator_client_init(&client, argv[1]);
	count = atoi(argv[2]);
	client.timeout = 20;
	for(i = 3; i < argc && result == 0; i++){
		if(strcmp(argv[i], "--timeout") == 0 && i + 1 < argc)
			client.timeout = atoi(argv[++i]);
		else if(strcmp(argv[i], "--ca") == 0 && i + 1 < argc)
			result = calculator_client_set_tls(&client, argv[++i], 1);
		else if(strcmp(argv[i], "--no-verify") == 0)
			result = calculator_client_set_tls(&client, NULL, 0);
		else if(strcmp(argv[i], "--proxy") == 0 && i + 1 < argc)
			result = calculator_client_set_proxy(&client, argv[++i]);
		else if(strcmp(argv[i], "--direct") == 0)
			result = calculator_client_set_proxy(&client, "");
	}
	for(i = 0; i < count && result == 0; i++){
		memset(&in, 0, sizeof(in));
		memset(&out, 0, sizeof(out));
		in.Add.a = i;
		in.Add.b = 1;
		result = calculator_Add(&client, &in, &out, NULL);
		if(result == 0 && out.AddResponse.sum != i + 1)
			result = -1000;
		passed += result == 0;
	}
	printf("{\"calls\":%d,\"result\":%d,\"http\":%d,\"text\":\"%s\"}\n", passed, result, client.http_status,
		calculator_strerror(result));
	calculator_client_close(&client);
	return 0;
}
