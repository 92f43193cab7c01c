/* tessaro: the server. One listening socket, shared by the workers; each
 * worker waits (poll, WSAPoll on Windows) on its own connections, the
 * listener and a wake-up channel, accepts what comes, and serves one
 * request of each connection that has one before it waits again, so that
 * no client waits behind another's whole stream of requests. Nothing is
 * locked on the way of a request: the only state the workers share is the
 * count of connections (atomic) and the stop flag. */
#include "tessaro_server.h"
#include "tessaro_util.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#include <process.h>
#include <windows.h>
typedef WSAPOLLFD server_pollfd_t;
typedef HANDLE server_thread_t;
#define server_poll WSAPoll
#else
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>
typedef struct pollfd server_pollfd_t;
typedef pthread_t server_thread_t;
#define server_poll poll
#endif

#define SERVER_DEFAULT_CONNECTIONS 1024
#define SERVER_DEFAULT_IDLE 30
#define SERVER_DEFAULT_REQUEST 30
#define SERVER_DEFAULT_STOP 10
#define SERVER_DEFAULT_BACKLOG 511
/* Connections a worker accepts in one round before it serves those it has: a flood of new
 * connections cannot starve the requests of the kept ones. */
#define SERVER_ACCEPTS_PER_ROUND 16

/* A kept connection. */
typedef struct server_link {
    tessaro_socket_t socket;
    tessaro_usec_t idle_since;
    int served;
} server_link_t;

typedef struct server_worker {
    struct tessaro_server *server;
    server_thread_t thread;
    int started;
    /* links[i] is waited on in fds[1 + i]; fds[0] is the wake-up channel, and the listener
     * follows the links while the worker accepts */
    server_link_t *links;
    server_pollfd_t *fds;
    int count;
    int room;
    void *scratch;
    int cut; /* connections closed at the stop's bound with a request unanswered */
} server_worker_t;

struct tessaro_server {
    tessaro_server_config_t config;
    tessaro_server_handler_t handler;
    tessaro_socket_t listener;
    tessaro_port_t port;
    /* the wake-up channel: readable once the server stops, for every worker at once */
#ifdef _WIN32
    tessaro_socket_t wake_read;
    tessaro_socket_t wake_write;
#else
    int wake_read;
    int wake_write;
#endif
    volatile int stopping;
    int connections; /* kept by all workers, changed atomically */
    server_worker_t *workers;
    int worker_count;
    int waited;
    int winsock; /* WSAStartup was called */
};

/* ---- the platform: processors, threads, the wake-up channel, signals ---- */

static int server_processors(void)
{
#ifdef _WIN32
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return (int)info.dwNumberOfProcessors;
#else
    long count = sysconf(_SC_NPROCESSORS_ONLN);
    return count > 0 ? (int)count : 1;
#endif
}

#ifdef _WIN32
static unsigned int __stdcall server_worker_main(void *param);
#else
static void *server_worker_main(void *param);
#endif

static int server_thread_start(server_worker_t *worker)
{
#ifdef _WIN32
    uintptr_t thread = _beginthreadex(NULL, 0, server_worker_main, worker, 0, NULL);
    worker->thread = (HANDLE)thread;
    return thread != 0 ? 0 : TESSARO_ERROR;
#else
    return pthread_create(&worker->thread, NULL, server_worker_main, worker) == 0 ? 0 : TESSARO_ERROR;
#endif
}

static void server_thread_join(server_worker_t *worker)
{
#ifdef _WIN32
    WaitForSingleObject(worker->thread, INFINITE);
    CloseHandle(worker->thread);
#else
    pthread_join(worker->thread, NULL);
#endif
}

/* The channel is never read: once a byte is in it, it stays readable for every worker. */
static int server_wake_open(struct tessaro_server *server)
{
#ifdef _WIN32
    /* WSAPoll waits on sockets only: a datagram to a loopback socket of our own */
    struct sockaddr_in address;
    int size = sizeof(address);

    server->wake_read = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    server->wake_write = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (server->wake_read == INVALID_SOCKET || server->wake_write == INVALID_SOCKET)
        return TESSARO_ERROR;
    memset(&address, 0, sizeof(address));
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(server->wake_read, (struct sockaddr *)&address, sizeof(address)) != 0 ||
        getsockname(server->wake_read, (struct sockaddr *)&address, &size) != 0 ||
        connect(server->wake_write, (struct sockaddr *)&address, sizeof(address)) != 0)
        return TESSARO_ERROR;
    return 0;
#else
    int ends[2];

    if (pipe(ends) != 0)
        return TESSARO_ERROR;
    server->wake_read = ends[0];
    server->wake_write = ends[1];
    fcntl(ends[1], F_SETFL, fcntl(ends[1], F_GETFL, 0) | O_NONBLOCK);
    fcntl(ends[0], F_SETFD, FD_CLOEXEC);
    fcntl(ends[1], F_SETFD, FD_CLOEXEC);
    return 0;
#endif
}

static void server_wake_close(struct tessaro_server *server)
{
#ifdef _WIN32
    if (server->wake_read != INVALID_SOCKET)
        closesocket(server->wake_read);
    if (server->wake_write != INVALID_SOCKET)
        closesocket(server->wake_write);
#else
    if (server->wake_read >= 0)
        close(server->wake_read);
    if (server->wake_write >= 0)
        close(server->wake_write);
#endif
}

static void server_wake(struct tessaro_server *server)
{
#ifdef _WIN32
    send(server->wake_write, "s", 1, 0);
#else
    ssize_t written = write(server->wake_write, "s", 1);
    (void)written; /* a full pipe is readable already */
#endif
}

/* The server the signals stop. */
static struct tessaro_server *volatile server_signalled;

#ifdef _WIN32
static BOOL WINAPI server_on_console(DWORD event)
{
    struct tessaro_server *server = server_signalled;

    if (server == NULL || (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT))
        return FALSE;
    tessaro_server_stop(server);
    return TRUE;
}
#else
static void server_on_signal(int number)
{
    int saved = errno;
    struct tessaro_server *server = server_signalled;

    (void)number;
    if (server != NULL)
        tessaro_server_stop(server);
    errno = saved;
}
#endif

int tessaro_server_stop_on_signals(tessaro_server_t *server)
{
    server_signalled = server;
#ifdef _WIN32
    return SetConsoleCtrlHandler(server_on_console, TRUE) ? 0 : TESSARO_ERROR;
#else
    struct sigaction action;

    memset(&action, 0, sizeof(action));
    action.sa_handler = server_on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, NULL) == 0 && sigaction(SIGTERM, &action, NULL) == 0 ? 0 : TESSARO_ERROR;
#endif
}

/* ---- listening ---- */

static void server_socket_options(tessaro_socket_t sock, int family, int reuse_port)
{
    int on = 1, off = 0;

#ifdef _WIN32
    /* Windows' SO_REUSEADDR would let another process take the port over: its own exclusive use instead */
    (void)reuse_port;
    setsockopt(sock, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, (const char *)&on, sizeof(on));
#else
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, (const char *)&on, sizeof(on));
#ifdef SO_REUSEPORT
    if (reuse_port)
        setsockopt(sock, SOL_SOCKET, SO_REUSEPORT, (const char *)&on, sizeof(on));
#else
    (void)reuse_port;
#endif
#endif
    /* every address: IPv4 comes to the IPv6 socket too */
    if (family == AF_INET6)
        setsockopt(sock, IPPROTO_IPV6, IPV6_V6ONLY, (const char *)&off, sizeof(off));
}

static int server_listen(struct tessaro_server *server)
{
    struct addrinfo hints, *found = NULL, *at;
    char port[16];
    const char *address = server->config.address != NULL && server->config.address[0] != '\0' ? server->config.address : NULL;
    struct sockaddr_storage bound;
    socklen_t size = sizeof(bound);
    int result;
    tessaro_socket_t sock;

    memset(&hints, 0, sizeof(hints));
    /* every address: IPv6's, which takes IPv4 too, before IPv4's alone */
    hints.ai_family = address != NULL ? AF_UNSPEC : AF_INET6;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    snprintf(port, sizeof(port), "%u", (unsigned int)server->config.port);
    result = getaddrinfo(address, port, &hints, &found);
    if (result != 0 && address == NULL) {
        hints.ai_family = AF_INET;
        result = getaddrinfo(NULL, port, &hints, &found);
    }
    if (result != 0)
        return address != NULL ? TESSARO_HOST_NOT_FOUND : TESSARO_ERROR;
    for (at = found; at != NULL; at = at->ai_next) {
        sock = socket(at->ai_family, at->ai_socktype, at->ai_protocol);
        if (sock == INVALID_SOCKET)
            continue;
        server_socket_options(sock, at->ai_family, server->config.reuse_port);
        if (bind(sock, at->ai_addr, (socklen_t)at->ai_addrlen) == 0 && listen(sock, server->config.backlog) == 0 &&
            tessaro_socket_set_block(sock, 0) == 0 && getsockname(sock, (struct sockaddr *)&bound, &size) == 0) {
            server->listener = sock;
            server->port = ntohs(bound.ss_family == AF_INET6 ? ((struct sockaddr_in6 *)&bound)->sin6_port
                                                             : ((struct sockaddr_in *)&bound)->sin_port);
            break;
        }
        tessaro_socket_close(sock);
    }
    freeaddrinfo(found);
    /* no IPv6 on this machine: every IPv4 address */
    if (server->listener == INVALID_SOCKET && address == NULL && hints.ai_family == AF_INET6) {
        server->config.address = "0.0.0.0";
        result = server_listen(server);
        server->config.address = NULL;
        return result;
    }
    return server->listener != INVALID_SOCKET ? 0 : TESSARO_ERROR;
}

/* ---- the workers ---- */

int tessaro_server_send_status(tessaro_socket_t sock, int status, const char *reason, const char *text,
                               tessaro_usec_t timeout)
{
    char answer[512];
    tessaro_size_t sent;
    int length = snprintf(answer, sizeof(answer),
                          "HTTP/1.1 %d %s\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: %u\r\n"
                          "Connection: close\r\n\r\n%s",
                          status, reason, (unsigned int)strlen(text), text);

    if (length < 0 || length >= (int)sizeof(answer))
        return TESSARO_ERROR;
    return tessaro_socket_send_all(sock, answer, (tessaro_size_t)length, &sent, timeout);
}

static int server_grow(server_worker_t *worker)
{
    int room = worker->room > 0 ? worker->room * 2 : 16;
    server_link_t *links;
    server_pollfd_t *fds;

    if (worker->count + 1 < worker->room)
        return 0;
    links = (server_link_t *)realloc(worker->links, (size_t)room * sizeof(*links));
    if (links == NULL)
        return TESSARO_ERROR;
    worker->links = links;
    /* the wake-up channel and the listener beside the links */
    fds = (server_pollfd_t *)realloc(worker->fds, (size_t)(room + 2) * sizeof(*fds));
    if (fds == NULL)
        return TESSARO_ERROR;
    worker->fds = fds;
    worker->room = room;
    return 0;
}

static void server_drop(server_worker_t *worker, int i)
{
    tessaro_socket_close(worker->links[i].socket);
    __atomic_sub_fetch(&worker->server->connections, 1, __ATOMIC_RELAXED);
    worker->count--;
    worker->links[i] = worker->links[worker->count];
}

/* Takes a connection the listener has, or refuses it with 503 past the bound: 0 while there may be more. */
static int server_accept(server_worker_t *worker, tessaro_usec_t now)
{
    struct tessaro_server *server = worker->server;
    tessaro_socket_t sock = accept(server->listener, NULL, NULL);
    int on = 1;
    server_link_t *link;

    /* nothing waits, or the system refuses: the next round tries again */
    if (sock == INVALID_SOCKET)
        return 1;
    if (__atomic_add_fetch(&server->connections, 1, __ATOMIC_RELAXED) > server->config.max_connections ||
        server_grow(worker) != 0) {
        __atomic_sub_fetch(&server->connections, 1, __ATOMIC_RELAXED);
        tessaro_server_send_status(sock, 503, "Service Unavailable", "the server keeps as many connections as it may\n",
                                   TESSARO_USEC_PER_SEC);
        tessaro_socket_close(sock);
        return 0;
    }
    /* answers go out whole at once; a request's head and body are not held back for each other */
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, (const char *)&on, sizeof(on));
#ifdef _WIN32
    /* accepted sockets take the listener's non-blocking mode on Windows */
    tessaro_socket_set_block(sock, 1);
#endif
    link = &worker->links[worker->count++];
    link->socket = sock;
    link->idle_since = now;
    link->served = 0;
    return 0;
}

static void server_accept_round(server_worker_t *worker, tessaro_usec_t now)
{
    int i;

    for (i = 0; i < SERVER_ACCEPTS_PER_ROUND; i++)
        if (server_accept(worker, now) != 0)
            break;
}

/* Ends the sending side and reads what the client still sends, for a second and a megabyte at
 * most, until it closes too: a close with unread bytes would reset the connection, and the
 * client could lose the answer it has not read yet. */
static void server_linger(tessaro_socket_t sock)
{
    char away[4096];
    tessaro_size_t len, total = 0;
    tessaro_usec_t deadline = tessaro_clock_usec() + TESSARO_USEC_PER_SEC;
    tessaro_usec_t left;

#ifdef _WIN32
    shutdown(sock, SD_SEND);
#else
    shutdown(sock, SHUT_WR);
#endif
    while (total < 1024 * 1024 && (left = deadline - tessaro_clock_usec()) > 0) {
        len = sizeof(away);
        if (tessaro_socket_recv(sock, away, &len, left) != 0 || len == 0)
            break;
        total += len;
    }
}

/* ---- the service's documents: GET ...?wsdl and the documents it imports ---- */

#define SERVER_MAX_HEAD 8192

/* The bytes of a file (64 MiB at most), in storage of their own (*size of them); NULL when it cannot be read. */
static char *server_read_file(const char *path, long *size)
{
    FILE *file = fopen(path, "rb");
    char *text = NULL;

    if (file == NULL)
        return NULL;
    if (fseek(file, 0, SEEK_END) == 0 && (*size = ftell(file)) >= 0 && *size < 64L * 1024 * 1024 &&
        fseek(file, 0, SEEK_SET) == 0 && (text = (char *)malloc((size_t)*size + 1)) != NULL &&
        fread(text, 1, (size_t)*size, file) != (size_t)*size) {
        free(text);
        text = NULL;
    }
    fclose(file);
    return text;
}

/* Whether path (up to its end or a '?') is a relative path that stays below its folder. */
static int server_safe_path(const char *path, size_t length)
{
    size_t i, start = 0;

    if (length == 0 || path[0] == '/' || path[0] == '\\')
        return 0;
    for (i = 0; i <= length; i++) {
        if (i == length || path[i] == '/') {
            if (i - start == 2 && path[start] == '.' && path[start + 1] == '.')
                return 0;
            start = i + 1;
        } else if (path[i] == '\\' || path[i] == ':' || (unsigned char)path[i] < ' ' || path[i] == '%') {
            return 0;
        }
    }
    return 1;
}

/* The document a GET target names: the WSDL for ...?wsdl, else the first file of the WSDL's folder
 * that the target's path ends with, from its longest such end to its last name; NULL for none. */
static char *server_document(const char *wsdl, const char *target, size_t length, long *size)
{
    const char *query = memchr(target, '?', length);
    size_t path_length = query != NULL ? (size_t)(query - target) : length;
    size_t folder = strlen(wsdl);
    const char *end;
    char path[1024];
    char *text;

    if (query != NULL && length - path_length == 5 && (memcmp(query, "?wsdl", 5) == 0 || memcmp(query, "?WSDL", 5) == 0))
        return server_read_file(wsdl, size);
    while (folder > 0 && wsdl[folder - 1] != '/' && wsdl[folder - 1] != '\\')
        folder--;
    for (end = target; end < target + path_length; end++) {
        if (*end != '/')
            continue;
        if (!server_safe_path(end + 1, (size_t)(target + path_length - end - 1)) ||
            snprintf(path, sizeof(path), "%.*s%.*s", (int)folder, wsdl, (int)(target + path_length - end - 1), end + 1) >= (int)sizeof(path))
            continue;
        if ((text = server_read_file(path, size)) != NULL)
            return text;
    }
    return NULL;
}

/* Answers a GET with the document it names (404 when there is none): 1 when the connection stays. */
static int server_serve_document(struct tessaro_server *server, tessaro_server_connection_t *connection)
{
    char head[SERVER_MAX_HEAD + 1], answer[256];
    tessaro_size_t have = 0, len, sent;
    tessaro_usec_t left;
    const char *target, *target_end, *head_end = NULL;
    long size = 0;
    char *text;
    int keep, length, result = 0;

    /* the head, to its empty line; a GET has no body */
    while (head_end == NULL && have < SERVER_MAX_HEAD) {
        len = SERVER_MAX_HEAD - have;
        left = connection->deadline - tessaro_clock_usec();
        if (left <= 0 || tessaro_socket_recv(connection->socket, head + have, &len, left) != 0)
            return 0;
        have += len;
        head[have] = '\0';
        head_end = strstr(head, "\r\n\r\n");
    }
    target = strchr(head, ' ');
    target_end = target != NULL ? strchr(target + 1, ' ') : NULL;
    if (head_end == NULL || strncmp(head, "GET ", 4) != 0 || target_end == NULL || target_end > head_end) {
        tessaro_server_send_status(connection->socket, head_end == NULL ? 431 : 400, head_end == NULL ?
                                   "Request Header Fields Too Large" : "Bad Request", "a GET asks for ...?wsdl or a document it imports\n",
                                   TESSARO_USEC_PER_SEC);
        return 0;
    }
    target++;
    /* HTTP/1.1 keeps the connection unless asked to close it */
    keep = strncmp(target_end + 1, "HTTP/1.1", 8) == 0 && strstr(head, "\r\nConnection: close\r\n") == NULL &&
           !connection->stopping;
    text = server_document(server->config.wsdl, target, (size_t)(target_end - target), &size);
    if (text == NULL) {
        tessaro_server_send_status(connection->socket, 404, "Not Found", "no such document of the service\n", TESSARO_USEC_PER_SEC);
        return 0;
    }
    length = snprintf(answer, sizeof(answer), "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: %ld\r\n%s\r\n",
                      size, keep ? "" : "Connection: close\r\n");
    if (tessaro_socket_send_all(connection->socket, answer, (tessaro_size_t)length, &sent, TESSARO_USEC_PER_SEC * 30) != 0 ||
        tessaro_socket_send_all(connection->socket, text, (tessaro_size_t)size, &sent, TESSARO_USEC_PER_SEC * 30) != 0)
        result = -1;
    free(text);
    return keep && result == 0;
}

/* Whether the request that has come is a GET (its first byte tells: SOAP comes with POST). */
static int server_is_get(tessaro_server_connection_t *connection)
{
    char first = 0;
    tessaro_size_t len = 1;

    return tessaro_socket_peek(connection->socket, &first, &len, 0) == 0 && len == 1 && first == 'G';
}

/* Serves the request that has come on links[i]: 1 when the connection stays. */
static int server_serve(server_worker_t *worker, int i, int stopping)
{
    struct tessaro_server *server = worker->server;
    tessaro_server_connection_t connection;
    int keep;

    memset(&connection, 0, sizeof(connection));
    connection.socket = worker->links[i].socket;
    connection.deadline = tessaro_clock_usec() + (tessaro_usec_t)server->config.request_seconds * TESSARO_USEC_PER_SEC;
    connection.max_request_bytes = server->config.max_request_bytes;
    connection.stopping = stopping;
    connection.served = worker->links[i].served;
    connection.scratch = &worker->scratch;
    if (server->config.wsdl != NULL && server_is_get(&connection))
        keep = server_serve_document(server, &connection);
    else
        keep = server->handler.serve(server->handler.context, &connection);
    if (!keep && connection.linger)
        server_linger(connection.socket);
    worker->links[i].served++;
    worker->links[i].idle_since = tessaro_clock_usec();
    return keep && !stopping;
}

/* Milliseconds until the first of the links' idle bounds, and the stop's bound once stopping;
 * none once stopping while a link waits for its next request, which the round closes unless it
 * has come. */
static int server_wait_ms(server_worker_t *worker, tessaro_usec_t now, tessaro_usec_t stop_by)
{
    tessaro_usec_t idle = (tessaro_usec_t)worker->server->config.idle_seconds * TESSARO_USEC_PER_SEC;
    tessaro_usec_t first = stop_by > 0 ? stop_by : now + idle;
    int i;

    for (i = 0; i < worker->count; i++) {
        if (stop_by > 0 && worker->links[i].served > 0)
            return 0;
        if (worker->links[i].idle_since + idle < first)
            first = worker->links[i].idle_since + idle;
    }
    return first <= now ? 0 : (int)((first - now + 999) / 1000);
}

/* One round: wait, serve each link that has a request (or closes), drop the idle, accept. */
static void server_round(server_worker_t *worker, tessaro_usec_t stop_by)
{
    struct tessaro_server *server = worker->server;
    tessaro_usec_t now = tessaro_clock_usec();
    tessaro_usec_t idle = (tessaro_usec_t)server->config.idle_seconds * TESSARO_USEC_PER_SEC;
    int stopping = stop_by > 0;
    int listening = !stopping;
    int i;
    short events, accepting = 0;

    worker->fds[0].fd = server->wake_read;
    worker->fds[0].events = POLLIN;
    for (i = 0; i < worker->count; i++) {
        worker->fds[1 + i].fd = worker->links[i].socket;
        worker->fds[1 + i].events = POLLIN;
        worker->fds[1 + i].revents = 0;
    }
    if (listening) {
        worker->fds[1 + worker->count].fd = server->listener;
        worker->fds[1 + worker->count].events = POLLIN;
        worker->fds[1 + worker->count].revents = 0;
    }
    /* once stopping, the channel stays readable: it is no longer waited on */
    /* a failed wait (an interrupting signal) leaves every revents 0: only the idle are looked at */
    server_poll(worker->fds + (stopping ? 1 : 0), (unsigned long)(worker->count + listening + !stopping),
                server_wait_ms(worker, now, stop_by));
    now = tessaro_clock_usec();
    if (listening)
        accepting = worker->fds[1 + worker->count].revents;
    /* from the last: a dropped link takes the last one's place, which has had its turn */
    for (i = worker->count - 1; i >= 0; i--) {
        events = worker->fds[1 + i].revents;
        if (events != 0) {
            if (!server_serve(worker, i, stopping))
                server_drop(worker, i);
        } else if (now - worker->links[i].idle_since >= idle || (stopping && worker->links[i].served > 0)) {
            server_drop(worker, i);
        }
    }
    if (accepting != 0)
        server_accept_round(worker, now);
}

#ifdef _WIN32
static unsigned int __stdcall server_worker_main(void *param)
#else
static void *server_worker_main(void *param)
#endif
{
    server_worker_t *worker = (server_worker_t *)param;
    struct tessaro_server *server = worker->server;
    tessaro_usec_t stop_by = 0;

    for (;;) {
        if (stop_by == 0 && server->stopping) {
            stop_by = tessaro_clock_usec() + (tessaro_usec_t)server->config.stop_seconds * TESSARO_USEC_PER_SEC;
            /* the connections the system accepted before the stop are served too */
            while (server_accept(worker, tessaro_clock_usec()) == 0)
                ;
        }
        if (stop_by != 0 && (worker->count == 0 || tessaro_clock_usec() >= stop_by))
            break;
        server_round(worker, stop_by);
    }
    worker->cut = worker->count;
    while (worker->count > 0)
        server_drop(worker, worker->count - 1);
    if (worker->scratch != NULL && server->handler.free_scratch != NULL)
        server->handler.free_scratch(worker->scratch);
    worker->scratch = NULL;
    return 0;
}

/* ---- the server ---- */

static void server_defaults(tessaro_server_config_t *config)
{
    if (config->workers <= 0)
        config->workers = server_processors();
    if (config->max_connections <= 0)
        config->max_connections = SERVER_DEFAULT_CONNECTIONS;
    if (config->idle_seconds <= 0)
        config->idle_seconds = SERVER_DEFAULT_IDLE;
    if (config->request_seconds <= 0)
        config->request_seconds = SERVER_DEFAULT_REQUEST;
    if (config->stop_seconds <= 0)
        config->stop_seconds = SERVER_DEFAULT_STOP;
    if (config->backlog <= 0)
        config->backlog = SERVER_DEFAULT_BACKLOG;
}

int tessaro_server_start(tessaro_server_t **server_out, const tessaro_server_config_t *config,
                         const tessaro_server_handler_t *handler)
{
    struct tessaro_server *server = (struct tessaro_server *)calloc(1, sizeof(*server));
    int result;
    int i;

    *server_out = NULL;
    if (server == NULL || handler == NULL || handler->serve == NULL) {
        free(server);
        return TESSARO_ERROR;
    }
#ifdef _WIN32
    {
        /* counted: the matching WSACleanup is tessaro_server_free's */
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
            free(server);
            return TESSARO_ERROR;
        }
        server->winsock = 1;
    }
#endif
    if (config != NULL)
        server->config = *config;
    server_defaults(&server->config);
    server->handler = *handler;
    server->listener = INVALID_SOCKET;
#ifdef _WIN32
    server->wake_read = server->wake_write = INVALID_SOCKET;
#else
    server->wake_read = server->wake_write = -1;
#endif
    server->workers = (server_worker_t *)calloc((size_t)server->config.workers, sizeof(*server->workers));
    result = server->workers == NULL ? TESSARO_ERROR : server_wake_open(server);
    if (result == 0)
        result = server_listen(server);
    for (i = 0; result == 0 && i < server->config.workers; i++) {
        server->workers[i].server = server;
        if (server_grow(&server->workers[i]) != 0 || server_thread_start(&server->workers[i]) != 0)
            result = TESSARO_ERROR;
        else
            server->workers[i].started = 1;
        server->worker_count = i + 1;
    }
    if (result != 0) {
        tessaro_server_free(server);
        return result;
    }
    *server_out = server;
    return 0;
}

tessaro_port_t tessaro_server_port(const tessaro_server_t *server)
{
    return server->port;
}

void tessaro_server_stop(tessaro_server_t *server)
{
    if (server == NULL)
        return;
    server->stopping = 1;
    server_wake(server);
}

int tessaro_server_wait(tessaro_server_t *server)
{
    int cut = 0;
    int i;

    if (server->waited)
        return 0;
    for (i = 0; i < server->worker_count; i++) {
        if (!server->workers[i].started)
            continue;
        server_thread_join(&server->workers[i]);
        cut += server->workers[i].cut;
    }
    /* no worker accepts any more: what still comes is refused at once rather than left waiting */
    if (server->listener != INVALID_SOCKET)
        tessaro_socket_close(server->listener);
    server->listener = INVALID_SOCKET;
    server->waited = 1;
    return cut > 0 ? TESSARO_TIMEOUT : 0;
}

void tessaro_server_free(tessaro_server_t *server)
{
    int i;

    if (server == NULL)
        return;
    tessaro_server_stop(server);
    tessaro_server_wait(server);
    if (server_signalled == server)
        server_signalled = NULL;
    if (server->listener != INVALID_SOCKET)
        tessaro_socket_close(server->listener);
    server_wake_close(server);
    for (i = 0; server->workers != NULL && i < server->worker_count; i++) {
        free(server->workers[i].links);
        free(server->workers[i].fds);
    }
    free(server->workers);
#ifdef _WIN32
    if (server->winsock)
        WSACleanup();
#endif
    free(server);
}
