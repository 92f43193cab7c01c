/* The server benchmark's clients: CLIENTS threads that each call Add on the calculator service
 * over and over for SECONDS, each waiting for its answer before the next call, on a kept
 * connection ("kept") or on a new connection per call ("new"), in plain HTTP or over TLS
 * ("tls": kept connections, certificates not checked). It prints one line:
 *   calls=N per_second=R p99_us=P unanswered_clients=U failed=F
 * where unanswered clients are those that got no answer in the whole run.
 *   server_load HOST PORT CLIENTS SECONDS kept|new|tls */
#define _GNU_SOURCE
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/ssl.h>
#include <pthread.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

/* latencies in buckets of 10 microseconds, up to a second (the last bucket takes the rest) */
#define BUCKETS 100000
#define BUCKET_US 10

typedef struct client {
	pthread_t thread;
	long calls;
	long failed;
	unsigned int *buckets;
} client_t;

static const char *host;
static int port;
static int mode_new, mode_tls;
static double seconds;
static struct timespec start_at;
static char request[1024];
static size_t request_length;
static SSL_CTX *tls_context;

static double now_us(void)
{
	struct timespec t;

	clock_gettime(CLOCK_MONOTONIC, &t);
	return (t.tv_sec - start_at.tv_sec) * 1e6 + (t.tv_nsec - start_at.tv_nsec) / 1e3;
}

typedef struct link {
	int fd;
	SSL *tls;
	long calls; /* answered on it */
} link_t;

static int link_open(link_t *link)
{
	struct sockaddr_in address;
	int on = 1;

	memset(link, 0, sizeof(*link));
	link->fd = socket(AF_INET, SOCK_STREAM, 0);
	memset(&address, 0, sizeof(address));
	address.sin_family = AF_INET;
	address.sin_port = htons((unsigned short)port);
	inet_pton(AF_INET, host, &address.sin_addr);
	if (link->fd < 0 || connect(link->fd, (struct sockaddr *)&address, sizeof(address)) != 0) {
		if (link->fd >= 0)
			close(link->fd);
		link->fd = -1;
		return -1;
	}
	setsockopt(link->fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
	if (!mode_tls)
		return 0;
	link->tls = SSL_new(tls_context);
	SSL_set_fd(link->tls, link->fd);
	return SSL_connect(link->tls) == 1 ? 0 : -1;
}

static void link_close(link_t *link)
{
	if (link->tls != NULL)
		SSL_free(link->tls);
	if (link->fd >= 0)
		close(link->fd);
	link->fd = -1;
	link->tls = NULL;
}

static long link_send(link_t *link, const char *data, size_t length)
{
	return link->tls != NULL ? SSL_write(link->tls, data, (int)length) : send(link->fd, data, length, MSG_NOSIGNAL);
}

static long link_recv(link_t *link, char *data, size_t length)
{
	return link->tls != NULL ? SSL_read(link->tls, data, (int)length) : recv(link->fd, data, length, 0);
}

/* One call: the request sent, its answer read whole (by its Content-Length) and checked: 0, -1 when
 * it failed, 1 when the server had closed the kept connection before it (it may close one after a
 * number of calls), which is tried again on a new connection. */
static int call(link_t *link)
{
	char answer[16384];
	size_t have = 0;
	long got, length = -1;
	char *end = NULL, *field;

	if (link_send(link, request, request_length) != (long)request_length)
		return link->calls > 0 ? 1 : -1;
	for (;;) {
		if (end == NULL) {
			answer[have] = '\0';
			if ((end = strstr(answer, "\r\n\r\n")) != NULL) {
				field = strcasestr(answer, "\r\nContent-Length:");
				if (field == NULL || field > end)
					return -1;
				length = strtol(field + 17, NULL, 10);
			}
		}
		if (end != NULL && have >= (size_t)(end + 4 - answer) + (size_t)length)
			break;
		if (have + 1 >= sizeof(answer))
			return -1;
		if ((got = link_recv(link, answer + have, sizeof(answer) - 1 - have)) <= 0)
			return have == 0 && link->calls > 0 ? 1 : -1;
		have += (size_t)got;
	}
	answer[have] = '\0';
	return strncmp(answer, "HTTP/1.1 200", 12) == 0 && strstr(end, "sum>5<") != NULL ? 0 : -1;
}

static void *client_main(void *param)
{
	client_t *client = (client_t *)param;
	link_t link = {-1, NULL, 0};
	double began, took;
	long bucket;
	int result;

	while (now_us() < seconds * 1e6) {
		if (link.fd < 0 && link_open(&link) != 0) {
			client->failed++;
			link_close(&link);
			continue;
		}
		began = now_us();
		if ((result = call(&link)) != 0) {
			client->failed += result < 0;
			link_close(&link);
			continue;
		}
		link.calls++;
		took = now_us() - began;
		bucket = (long)(took / BUCKET_US);
		client->buckets[bucket < BUCKETS ? bucket : BUCKETS - 1]++;
		client->calls++;
		if (mode_new)
			link_close(&link);
	}
	link_close(&link);
	return NULL;
}

int main(int argc, char **argv)
{
	static const char envelope[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SOAP-ENV:Envelope "
		"xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" xmlns:c=\"urn:kelvane:calculator\">"
		"<SOAP-ENV:Body><c:Add><c:a>2</c:a><c:b>3</c:b></c:Add></SOAP-ENV:Body></SOAP-ENV:Envelope>";
	client_t *clients;
	unsigned long long *all;
	long calls = 0, failed = 0, seen = 0, p99 = 0;
	int count, i, b, unanswered = 0;

	if (argc != 6) {
		fprintf(stderr, "usage: server_load HOST PORT CLIENTS SECONDS kept|new|tls\n");
		return 2;
	}
	host = argv[1];
	port = atoi(argv[2]);
	count = atoi(argv[3]);
	seconds = atof(argv[4]);
	mode_new = strcmp(argv[5], "new") == 0;
	mode_tls = strcmp(argv[5], "tls") == 0;
	signal(SIGPIPE, SIG_IGN);
	if (mode_tls) {
		tls_context = SSL_CTX_new(TLS_client_method());
		SSL_CTX_set_verify(tls_context, SSL_VERIFY_NONE, NULL);
	}
	request_length = (size_t)snprintf(request, sizeof(request),
		"POST /calculator HTTP/1.1\r\nHost: %s:%d\r\nContent-Type: text/xml; charset=utf-8\r\n"
		"SOAPAction: \"urn:kelvane:calculator#Add\"\r\nContent-Length: %u\r\n\r\n%s",
		host, port, (unsigned int)strlen(envelope), envelope);
	clients = (client_t *)calloc((size_t)count, sizeof(*clients));
	all = (unsigned long long *)calloc(BUCKETS, sizeof(*all));
	clock_gettime(CLOCK_MONOTONIC, &start_at);
	for (i = 0; i < count; i++) {
		clients[i].buckets = (unsigned int *)calloc(BUCKETS, sizeof(unsigned int));
		pthread_create(&clients[i].thread, NULL, client_main, &clients[i]);
	}
	for (i = 0; i < count; i++) {
		pthread_join(clients[i].thread, NULL);
		calls += clients[i].calls;
		failed += clients[i].failed;
		unanswered += clients[i].calls == 0;
		for (b = 0; b < BUCKETS; b++)
			all[b] += clients[i].buckets[b];
	}
	for (b = 0; b < BUCKETS && calls > 0; b++) {
		seen += (long)all[b];
		if (seen * 100 >= calls * 99) {
			p99 = (long)(b + 1) * BUCKET_US;
			break;
		}
	}
	printf("calls=%ld per_second=%.0f p99_us=%ld unanswered_clients=%d failed=%ld\n", calls, calls / seconds, p99, unanswered,
	       failed);
	return 0;
}
