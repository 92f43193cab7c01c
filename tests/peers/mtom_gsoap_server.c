/* The peer that answers our client with MTOM: the C that wsdl2h -c and soapcpp2 -c -S generate from
 * wsdl/values.wsdl, serving echoBlobs with every binary of its answer as a part of its own that an
 * xop:Include names (SOAP_ENC_MTOM, each value given a MIME type). The other operations answer a
 * fault. It prints {"port": N} once it listens on 127.0.0.1, and serves one connection at a time
 * until it is killed. */
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdio.h>
#include <sys/socket.h>

#include "soapH.h"
#include "ValuesBinding.nsmap"

/* the value goes as an attachment: gSOAP sends a base64Binary with a type as a XOP part */
static void as_part(struct xsd__base64Binary *value)
{
	value->id = NULL;
	value->type = "application/octet-stream";
	value->options = NULL;
}

int __ns1__echoBlobs(struct soap *soap, struct _ns1__echoBlobs *in, struct _ns1__echoBlobsResponse *out)
{
	int i;

	if (in->in == NULL)
		return soap_sender_fault(soap, "no in", NULL);
	out->out = in->in;
	as_part(&out->out->longData);
	for (i = 0; i < out->out->__sizelongPart; i++)
		as_part(&out->out->longPart[i]);
	return SOAP_OK;
}

int __ns1__echoNils(struct soap *soap, struct _ns1__echoNils *in, struct _ns1__echoNilsResponse *out)
{
	(void)in;
	(void)out;
	return soap_receiver_fault(soap, "not served here", NULL);
}

int __ns1__post(struct soap *soap, struct _ns1__letter *in, struct _ns1__receipt *out)
{
	(void)in;
	(void)out;
	return soap_receiver_fault(soap, "not served here", NULL);
}

int __ns1__fetch(struct soap *soap, struct _ns1__receipt *in, struct _ns1__letter *out)
{
	(void)in;
	(void)out;
	return soap_receiver_fault(soap, "not served here", NULL);
}

int main(void)
{
	struct soap *soap = soap_new1(SOAP_IO_KEEPALIVE | SOAP_ENC_MTOM);
	struct sockaddr_in address;
	socklen_t size = sizeof(address);

	soap->bind_flags = SO_REUSEADDR;
	if (!soap_valid_socket(soap_bind(soap, "127.0.0.1", 0, 16)) ||
			getsockname(soap->master, (struct sockaddr *)&address, &size) != 0) {
		soap_print_fault(soap, stderr);
		return 1;
	}
	printf("{\"port\": %u}\n", (unsigned)ntohs(address.sin_port));
	fflush(stdout);
	for (;;) {
		if (!soap_valid_socket(soap_accept(soap)))
			continue;
		soap_serve(soap);
		soap_destroy(soap);
		soap_end(soap);
	}
}
