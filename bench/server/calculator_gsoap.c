/* The peer's server for the server benchmark: the C that wsdl2h -c and soapcpp2 -c generated from
 * the calculator's WSDL, served the way its documentation serves: a thread per connection, kept
 * connections (SOAP_IO_KEEPALIVE), SIGPIPE ignored, TLS through its OpenSSL layer when a
 * key file (its certificate following the key) is given. It prints "listening PORT" once it accepts.
 *   calculator_gsoap PORT [KEY_AND_CERTIFICATE] */
#include <pthread.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>

#include "soapH.h"
#include "CalculatorSoap.nsmap"

int __ns1__Add(struct soap *soap, struct _ns1__Add *in, struct _ns1__AddResponse *out)
{
	(void)soap;
	out->sum = in->a + in->b;
	return SOAP_OK;
}

int __ns1__Greet(struct soap *soap, struct _ns1__Greet *in, struct _ns1__GreetResponse *out)
{
	size_t size = strlen(in->name != NULL ? in->name : "") + sizeof("Hello, !");

	out->greeting = (char *)soap_malloc(soap, size);
	snprintf(out->greeting, size, "Hello, %s!", in->name != NULL ? in->name : "");
	return SOAP_OK;
}

static int use_tls;

static void *serve_connection(void *param)
{
	struct soap *soap = (struct soap *)param;

	pthread_detach(pthread_self());
	if (!use_tls || soap_ssl_accept(soap) == SOAP_OK)
		soap_serve(soap);
	soap_destroy(soap);
	soap_end(soap);
	soap_free(soap);
	return NULL;
}

int main(int argc, char **argv)
{
	struct soap *soap = soap_new1(SOAP_IO_KEEPALIVE);
	pthread_t thread;
	struct soap *copy;

	signal(SIGPIPE, SIG_IGN);
	soap->bind_flags = SO_REUSEADDR;
	soap->accept_timeout = 0;
	use_tls = argc > 2;
	if (use_tls) {
		soap_ssl_init();
		if (soap_ssl_server_context(soap, SOAP_SSL_DEFAULT, argv[2], NULL, NULL, NULL, NULL, NULL, NULL) != SOAP_OK) {
			soap_print_fault(soap, stderr);
			return 1;
		}
	}
	if (!soap_valid_socket(soap_bind(soap, "127.0.0.1", atoi(argv[1]), 511))) {
		soap_print_fault(soap, stderr);
		return 1;
	}
	printf("listening %s\n", argv[1]);
	fflush(stdout);
	for (;;) {
		if (!soap_valid_socket(soap_accept(soap)))
			continue;
		copy = soap_copy(soap);
		if (copy == NULL || pthread_create(&thread, NULL, serve_connection, copy) != 0) {
			soap_force_closesock(soap);
			if (copy != NULL)
				soap_free(copy);
		}
	}
}
