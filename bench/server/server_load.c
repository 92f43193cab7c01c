/* The server benchmark's clients: CLIENTS threads that each call Add on the calculator service
 * over and over for SECONDS, each waiting for its answer before the next call, on a kept
 * connection ("kept") or on a new connection per call ("new"), in plain HTTP or over TLS
 * ("tls": kept connections, certificates not checked). Given THREADS, the kept clients share that
 * many threads instead, each thread waiting on its clients' answers with epoll. It prints one line:
 *   calls=N per_second=R p99_us=P unanswered_clients=U failed=F p50_us=M p999_us=T
 * where unanswered clients are those that got no answer in the whole run.
 *   server_load HOST PORT CLIENTS SECONDS kept|new|tls
 *   server_load HOST PORT CLIENTS SECONDS kept THREADS */
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
#include <sys/epoll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

/* latencies in buckets of 10 microseconds, up to a second (the last bucket takes the rest) */
#define BUCKETS 100000
#define BUCKET_US 10

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

/* On loopback each client connects from an address of its own (127.0.1.1 on), as clients on machines
 * of their own would: from one address, a closing client's ports wait out TIME_WAIT, and new
 * connections at some ten thousand a second use up the ports a second's reuse allows, after which
 * every connect searches the whole range, the clients' system time takes the machine for a moment and
 * answers already sent wait to be read; that tail fell on the faster server alone. The port is still
 * chosen at the connect, for the pair of addresses. */
static void link_source(int fd, int client)
{
	struct sockaddr_in source;
	int on = 1;

	if (strncmp(host, "127.", 4) != 0)
		return;
	memset(&source, 0, sizeof(source));
	source.sin_family = AF_INET;
	source.sin_addr.s_addr = htonl(0x7f000101u + (unsigned int)(client % 254));
#ifdef IP_BIND_ADDRESS_NO_PORT
	setsockopt(fd, IPPROTO_IP, IP_BIND_ADDRESS_NO_PORT, &on, sizeof(on));
#endif
	bind(fd, (struct sockaddr *)&source, sizeof(source));
}

static int link_open(link_t *link, int client)
{
	struct sockaddr_in address;
	int on = 1;

	memset(link, 0, sizeof(*link));
	link->fd = socket(AF_INET, SOCK_STREAM, 0);
	memset(&address, 0, sizeof(address));
	address.sin_family = AF_INET;
	address.sin_port = htons((unsigned short)port);
	inet_pton(AF_INET, host, &address.sin_addr);
	if (link->fd >= 0)
		link_source(link->fd, client);
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

/* An answer as it comes, read whole by its Content-Length. */
typedef struct answer {
	char data[16384];
	size_t have;
	char *end;
	long length;
} answer_t;

enum { CALL_DONE = 0, CALL_FAILED = -1, CALL_CLOSED = 1, CALL_MORE = 2 };

static int request_send(link_t *link, answer_t *answer)
{
	answer->have = 0;
	answer->end = NULL;
	answer->length = -1;
	if (link_send(link, request, request_length) != (long)request_length)
		return link->calls > 0 ? CALL_CLOSED : CALL_FAILED;
	return CALL_MORE;
}

typedef struct client {
	pthread_t thread;
	int number;
	long calls;
	long failed;
	unsigned int *buckets;
	/* when the clients share threads: its connection, the answer it waits for, when it was asked */
	link_t link;
	answer_t answer;
	double began;
} client_t;

typedef struct group {
	pthread_t thread;
	client_t *clients;
	int count;
} group_t;

/* One read of the answer and its check once whole: CALL_MORE while a part is still to come,
 * CALL_CLOSED when the server had closed the kept connection before it (it may close one after a
 * number of calls), which is tried again on a new connection. */
static int answer_take(link_t *link, answer_t *answer)
{
	char *field;
	long got;

	if (answer->have + 1 >= sizeof(answer->data))
		return CALL_FAILED;
	if ((got = link_recv(link, answer->data + answer->have, sizeof(answer->data) - 1 - answer->have)) <= 0)
		return answer->have == 0 && link->calls > 0 ? CALL_CLOSED : CALL_FAILED;
	answer->have += (size_t)got;
	answer->data[answer->have] = '\0';
	if (answer->end == NULL && (answer->end = strstr(answer->data, "\r\n\r\n")) != NULL) {
		field = strcasestr(answer->data, "\r\nContent-Length:");
		if (field == NULL || field > answer->end)
			return CALL_FAILED;
		answer->length = strtol(field + 17, NULL, 10);
	}
	if (answer->end == NULL || answer->have < (size_t)(answer->end + 4 - answer->data) + (size_t)answer->length)
		return CALL_MORE;
	return strncmp(answer->data, "HTTP/1.1 200", 12) == 0 && strstr(answer->end, "sum>5<") != NULL ? CALL_DONE : CALL_FAILED;
}

/* One call, waiting for its answer in recv. */
static int call(link_t *link, answer_t *answer)
{
	int result = request_send(link, answer);

	while (result == CALL_MORE)
		result = answer_take(link, answer);
	return result;
}

static void client_count(client_t *client, double took)
{
	long bucket = (long)(took / BUCKET_US);

	client->buckets[bucket < BUCKETS ? bucket : BUCKETS - 1]++;
	client->calls++;
}

/* What a call's end (or a connection that could not be had: CALL_FAILED) leaves: an answer
 * counted with the time since the call began, or the connection closed, a failure counted unless
 * the server had only closed a kept connection first. */
static void client_settle(client_t *client, link_t *link, int result, double began)
{
	if (result == CALL_DONE) {
		link->calls++;
		client_count(client, now_us() - began);
		return;
	}
	client->failed += result == CALL_FAILED;
	link_close(link);
}

static void *client_main(void *param)
{
	client_t *client = (client_t *)param;
	link_t link = {-1, NULL, 0};
	answer_t answer;
	double began;
	int result;

	while (now_us() < seconds * 1e6) {
		if (link.fd < 0 && link_open(&link, client->number) != 0) {
			client_settle(client, &link, CALL_FAILED, 0);
			continue;
		}
		began = now_us();
		client_settle(client, &link, result = call(&link, &answer), began);
		if (result == CALL_DONE && mode_new)
			link_close(&link);
	}
	link_close(&link);
	return NULL;
}

/* The client's next call sent, on a new connection when it has none: 0, or -1 when it has no
 * connection now (tried again in the next round). */
static int client_next(client_t *client, int poller)
{
	struct epoll_event event;
	int result;

	if (client->link.fd < 0) {
		if (link_open(&client->link, client->number) != 0) {
			client_settle(client, &client->link, CALL_FAILED, 0);
			return -1;
		}
		event.events = EPOLLIN;
		event.data.ptr = client;
		epoll_ctl(poller, EPOLL_CTL_ADD, client->link.fd, &event);
	}
	client->began = now_us();
	if ((result = request_send(&client->link, &client->answer)) == CALL_MORE)
		return 0;
	client_settle(client, &client->link, result, client->began);
	return -1;
}

/* The clients left without a connection tried again: how many are still without. */
static int group_reconnect(group_t *group, int poller)
{
	int down = 0, i;

	for (i = 0; i < group->count; i++)
		down += group->clients[i].link.fd < 0 && client_next(&group->clients[i], poller) != 0;
	return down;
}

/* A thread's share of the clients, each still waiting for its answer before its next call, all
 * waited on at once: a busy thread takes several answers a wake-up, where a thread per client
 * costs a wake-up of its own for each answer, which on a shared front takes the cores the
 * balancer needs. */
static void *group_main(void *param)
{
	group_t *group = (group_t *)param;
	struct epoll_event events[64];
	int poller = epoll_create1(EPOLL_CLOEXEC), down = 0, got, i, result;
	client_t *client;

	for (i = 0; i < group->count; i++)
		down += client_next(&group->clients[i], poller) != 0;
	while (now_us() < seconds * 1e6) {
		got = epoll_wait(poller, events, 64, down > 0 ? 0 : 100);
		for (i = 0; i < got; i++) {
			client = (client_t *)events[i].data.ptr;
			if ((result = answer_take(&client->link, &client->answer)) == CALL_MORE)
				continue;
			client_settle(client, &client->link, result, client->began);
			down += client_next(client, poller) != 0;
		}
		if (down > 0)
			down = group_reconnect(group, poller);
	}
	for (i = 0; i < group->count; i++)
		link_close(&group->clients[i].link);
	close(poller);
	return NULL;
}

/* The clients spread over threads that each wait on their share at once. */
static group_t *groups_start(client_t *clients, int count, int threads)
{
	group_t *groups = (group_t *)calloc((size_t)threads, sizeof(*groups));
	int i, first = 0;

	for (i = 0; i < threads; i++) {
		groups[i].clients = clients + first;
		groups[i].count = (count - first) / (threads - i);
		first += groups[i].count;
		pthread_create(&groups[i].thread, NULL, group_main, &groups[i]);
	}
	return groups;
}

/* The latency (the top of its bucket) that per_mille of the calls took at most. */
static long percentile(const unsigned long long *all, long calls, long per_mille)
{
	long seen = 0;
	int b;

	for (b = 0; b < BUCKETS && calls > 0; b++) {
		seen += (long)all[b];
		if (seen * 1000 >= calls * per_mille)
			return (long)(b + 1) * BUCKET_US;
	}
	return 0;
}

int main(int argc, char **argv)
{
	static const char envelope[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SOAP-ENV:Envelope "
		"xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" xmlns:c=\"urn:kelvane:calculator\">"
		"<SOAP-ENV:Body><c:Add><c:a>2</c:a><c:b>3</c:b></c:Add></SOAP-ENV:Body></SOAP-ENV:Envelope>";
	client_t *clients;
	group_t *groups = NULL;
	unsigned long long *all;
	long calls = 0, failed = 0, p50, p99, p999;
	int count, threads = 0, i, b, unanswered = 0;

	if (argc == 7 && strcmp(argv[5], "kept") == 0)
		threads = atoi(argv[6]);
	if ((argc != 6 && threads <= 0) || atoi(argv[3]) <= 0) {
		fprintf(stderr, "usage: server_load HOST PORT CLIENTS SECONDS kept|new|tls\n"
				"       server_load HOST PORT CLIENTS SECONDS kept THREADS\n");
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
		clients[i].number = i;
		clients[i].link.fd = -1;
	}
	threads = threads < count ? threads : count;
	if (threads > 0)
		groups = groups_start(clients, count, threads);
	for (i = 0; i < count && threads <= 0; i++)
		pthread_create(&clients[i].thread, NULL, client_main, &clients[i]);
	for (i = 0; i < threads; i++)
		pthread_join(groups[i].thread, NULL);
	for (i = 0; i < count; i++) {
		if (threads <= 0)
			pthread_join(clients[i].thread, NULL);
		calls += clients[i].calls;
		failed += clients[i].failed;
		unanswered += clients[i].calls == 0;
		for (b = 0; b < BUCKETS; b++)
			all[b] += clients[i].buckets[b];
	}
	p50 = percentile(all, calls, 500);
	p99 = percentile(all, calls, 990);
	p999 = percentile(all, calls, 999);
	printf("calls=%ld per_second=%.0f p99_us=%ld unanswered_clients=%d failed=%ld p50_us=%ld p999_us=%ld\n", calls,
	       calls / seconds, p99, unanswered, failed, p50, p999);
	return 0;
}
