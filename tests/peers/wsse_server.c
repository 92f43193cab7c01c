/* The example service served with WS-Security, for the peers' WS-Security rows:
 *   wsse_server user   requests must carry a UsernameToken of alice (password "secret"), as text or
 *                      digest, nonces remembered
 *   wsse_server sign   requests must be signed by the certificate peer.pem (or one it issued); the
 *                      answers are signed with peer.key and carry a Timestamp
 * It prints the port it listens on, and stops on SIGTERM. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "calculator_api.h"

static int serve_Add(calculator_served_t *served, const calculator_AddRequest_msg_t *in, calculator_AddReply_msg_t *out, calculator_soap_fault_msg_t *fault)
{
	(void)served; (void)fault;
	out->AddResponse.sum = in->Add.a + in->Add.b;
	return 0;
}

static int password_of(void *context, const char *user, char *password, size_t size)
{
	(void)context;
	if(strcmp(user, "alice") != 0)
		return 1;
	snprintf(password, size, "secret");
	return 0;
}

/* the settings of the mode: 0, or -1 with why */
static int configure(tessaro_wsse_t *settings, const char *mode, char *why, size_t size)
{
	memset(settings, 0, sizeof(*settings));
	if(strcmp(mode, "user") == 0){
		settings->use = TESSARO_WSSE_REQUIRE_USER;
		settings->password_of = password_of;
		return tessaro_wsse_replay_new(&settings->replay, 0);
	}
	settings->use = TESSARO_WSSE_VERIFY | TESSARO_WSSE_SIGN | TESSARO_WSSE_TIMESTAMP;
	if(tessaro_wsse_trust_load(&settings->trust, "peer.pem", why, size) != 0)
		return -1;
	return tessaro_wsse_key_load(&settings->key, "peer.key", "peer.pem", NULL, why, size);
}

int main(int argc, char **argv)
{
	calculator_service_t service = {0};
	tessaro_server_config_t config = {0};
	tessaro_server_t *server;
	tessaro_wsse_t settings;
	char why[256] = "";

	if(argc < 2 || configure(&settings, argv[1], why, sizeof(why)) != 0){
		printf("wsse_server: %s\n", why);
		return 1;
	}
	service.Add = serve_Add;
	service.wsse = &settings;
	config.address = "127.0.0.1";
	config.wsdl = "calculator.wsdl";
	if(calculator_server_start(&server, &config, &service) != 0)
		return 1;
	printf("wsse_server: listens on 127.0.0.1:%u\n", (unsigned int)tessaro_server_port(server));
	fflush(stdout);
	tessaro_server_stop_on_signals(server);
	tessaro_server_wait(server);
	tessaro_server_free(server);
	tessaro_wsse_replay_free(settings.replay);
	tessaro_wsse_key_free(settings.key);
	tessaro_wsse_trust_free(settings.trust);
	return 0;
}
