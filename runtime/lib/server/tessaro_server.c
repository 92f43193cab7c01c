/* tessaro: the server. One listening socket, shared by the workers; each
 * worker waits for readiness on its own connections, the listener and a
 * wake-up channel (epoll on Linux, where only one idle worker wakes for a
 * new connection; poll, WSAPoll on Windows, elsewhere), accepts what comes,
 * and serves one request of each connection that has one before it waits
 * again, so that no client waits behind another's whole stream of requests
 * and a connection waiting for its next request holds no worker. Nothing
 * is locked on the way of a request: the only state the workers share is
 * the count of connections (atomic) and the stop flag. */
#if !defined(_WIN32) && !defined(_GNU_SOURCE)
/* sched_getaffinity and CPU_COUNT, which C99 with extensions does not declare without it */
#define _GNU_SOURCE
#endif
#include "tessaro_server.h"
#include "tessaro_tls.h"
#include "tessaro_util.h"

#include <stdint.h>
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
#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>
typedef struct pollfd server_pollfd_t;
typedef pthread_t server_thread_t;
#define server_poll poll
#endif

#if defined(__linux__) && !defined(TESSARO_SERVER_POLL)
#include "tessaro_server_ring.h"
#include <sys/epoll.h>
#include <sys/eventfd.h>
#define SERVER_EPOLL 1
#endif

#define SERVER_DEFAULT_CONNECTIONS 1024
#define SERVER_DEFAULT_IDLE 30
#define SERVER_DEFAULT_REQUEST 30
#define SERVER_DEFAULT_STOP 10
#define SERVER_DEFAULT_BACKLOG 511
/* Connections a worker accepts in one round before it serves those it has: a flood of new
 * connections cannot starve the requests of the kept ones, and the rest wake another worker. */
#define SERVER_ACCEPTS_PER_ROUND 4
/* Requests a TLS connection serves in a row while its session holds the next one already. */
#define SERVER_PENDING_IN_A_ROW 16
/* Readiness reports one wait takes at most (epoll): the rest come at the next. */
#define SERVER_EVENTS 256
/* A server that reads requests itself takes what has come on a connection holding nothing into its
 * worker's input, this long, in one receive; a connection keeps bytes of its own only while its
 * request is not whole (or a next one came behind it). */
#define SERVER_INPUT 65536
#define SERVER_FIRST_ROOM 4096

/* What a readiness report names besides a connection's slot. */
#define SERVER_TOKEN_WAKE (-1)
#define SERVER_TOKEN_LISTENER (-2)
#define SERVER_TOKEN_INBOX (-4)
/* A slot's next_free while a connection holds it. */
#define SERVER_SLOT_USED (-3)

/* A connection handed to another worker, with the requests served on it so far. */
typedef struct server_handed {
    tessaro_socket_t socket;
    int served;
} server_handed_t;

/* A kept connection, in a slot of its worker that stays its own while it lives. */
typedef struct server_link {
    tessaro_socket_t socket;
    struct tessaro_tls *tls; /* once its handshake is done */
    tessaro_usec_t idle_since;
    int served;
    int next_free; /* a free slot: the next free one (-1: none); SERVER_SLOT_USED while held */
    /* a server that reads requests itself: what has come of the next request (and any behind it) */
    char *bytes;
    tessaro_size_t have;
    tessaro_size_t room;
    tessaro_usec_t first_byte; /* when the first of them came */
    tessaro_server_frame_t frame;
    int queued; /* it holds a whole request, or its TLS session bytes, that no readiness will tell of */
    int unread; /* bytes may wait in its socket that no readiness will tell of (edge-triggered waits) */
    int closing; /* a wait told of its peer's close */
} server_link_t;

typedef struct server_worker {
    struct tessaro_server *server;
    server_thread_t thread;
    int started;
    server_link_t *links; /* room slots */
    int room;
    int count;            /* slots held */
    int free_slot;        /* the first free slot, -1 when none */
    int *ready;           /* the slots the last wait found readable (room of them) */
    int ready_count;
    int queued;           /* slots queued (server_link_t.queued) */
    char *input;          /* SERVER_INPUT bytes, when the server reads requests itself */
    tessaro_usec_t next_sweep; /* no connection passes its idle bound before this */
    int load; /* connections held and handed to it, changed atomically: the least loaded takes the next */
#ifdef SERVER_EPOLL
    int epoll;
    struct epoll_event events[SERVER_EVENTS];
    /* connections another worker accepted for this one, and the event that tells of them */
    pthread_mutex_t inbox_lock;
    int inbox_ready;
    struct server_handed *inbox;
    int inbox_count;
    int inbox_room;
    int inbox_closed; /* the worker has ended: nothing more is handed to it */
    int inbox_wake;
    /* the waits and the answers of plain connections, where the system has a ring (else NULL) */
    tessaro_server_ring_t *ring;
#else
    /* each wait's set: the wake-up channel, the held slots, the listener; slots[i] is fds[i]'s */
    server_pollfd_t *fds;
    int *slots;
#endif
    void *scratch;
    int cut; /* connections closed at the stop's bound with a request unanswered */
} server_worker_t;

struct tessaro_server {
    tessaro_server_config_t config;
    tessaro_server_handler_t handler;
    tessaro_server_frame_fn frame; /* NULL: the handler reads each request from the connection itself */
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
    struct tessaro_tls_server *tls; /* the certificate and key connections are served with, or NULL */
    volatile int stopping;
    int connections; /* kept by all workers, changed atomically */
    tessaro_size_t held, held_most; /* bytes of requests coming the connections hold, and their most; atomic */
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
#ifdef CPU_COUNT
    /* a process kept to some of the processors (taskset) runs a worker on each of those */
    cpu_set_t allowed;

    if (sched_getaffinity(0, sizeof(allowed), &allowed) == 0 && CPU_COUNT(&allowed) > 0)
        count = CPU_COUNT(&allowed);
#endif
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

/* ---- the workers: their slots ---- */

/* A bare HTTP answer's text in answer: its length, or -1 when it does not fit. */
static int server_status_text(char *answer, size_t size, int status, const char *reason, const char *text)
{
    int length = snprintf(answer, size,
                          "HTTP/1.1 %d %s\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: %u\r\n"
                          "Connection: close\r\n\r\n%s",
                          status, reason, (unsigned int)strlen(text), text);

    return length < 0 || length >= (int)size ? -1 : length;
}

int tessaro_server_send_status(tessaro_socket_t sock, int status, const char *reason, const char *text,
                               tessaro_usec_t timeout)
{
    char answer[512];
    tessaro_size_t sent;
    int length = server_status_text(answer, sizeof(answer), status, reason, text);

    if (length < 0)
        return TESSARO_ERROR;
    return tessaro_socket_send_all(sock, answer, (tessaro_size_t)length, &sent, timeout);
}

/* Room for one more connection: the slots double, the new ones free. */
static int server_grow(server_worker_t *worker)
{
    int room = worker->room > 0 ? worker->room * 2 : 16;
    server_link_t *links;
    int *ready, i;

    if (worker->free_slot >= 0)
        return 0;
    links = (server_link_t *)realloc(worker->links, (size_t)room * sizeof(*links));
    if (links == NULL)
        return TESSARO_ERROR;
    worker->links = links;
    ready = (int *)realloc(worker->ready, (size_t)room * sizeof(*ready));
    if (ready == NULL)
        return TESSARO_ERROR;
    worker->ready = ready;
#ifndef SERVER_EPOLL
    {
        /* the wake-up channel and the listener beside the slots */
        server_pollfd_t *fds = (server_pollfd_t *)realloc(worker->fds, (size_t)(room + 2) * sizeof(*fds));
        int *slots;

        if (fds == NULL)
            return TESSARO_ERROR;
        worker->fds = fds;
        if ((slots = (int *)realloc(worker->slots, (size_t)(room + 2) * sizeof(*slots))) == NULL)
            return TESSARO_ERROR;
        worker->slots = slots;
    }
#endif
    for (i = worker->room; i < room; i++)
        links[i].next_free = i + 1 < room ? i + 1 : -1;
    worker->free_slot = worker->room;
    worker->room = room;
    return 0;
}

static void server_queue(server_worker_t *worker, server_link_t *link);

/* ---- the workers: the ring's answers ---- */

/* A connection whose answer the ring could not send whole (its socket shut already): its next
 * reading, at once, finds the end and closes it. */
#ifdef SERVER_EPOLL
static void server_ring_failed(void *context, int slot)
{
    server_worker_t *worker = (server_worker_t *)context;
    server_link_t *link = &worker->links[slot];

    link->unread = link->closing = 1;
    server_queue(worker, link);
}
#endif

/* The sends of the handler serving slot's connection are held for the next wait from now on, until
 * server_ring_end. */
static void server_ring_begin(server_worker_t *worker, int slot)
{
#ifdef SERVER_EPOLL
    if (worker->ring != NULL)
        tessaro_server_ring_begin(worker->ring, worker->links[slot].socket, slot);
#else
    (void)worker;
    (void)slot;
#endif
}

static void server_ring_end(server_worker_t *worker)
{
#ifdef SERVER_EPOLL
    if (worker->ring != NULL)
        tessaro_server_ring_end(worker->ring);
#else
    (void)worker;
#endif
}

/* Sends what the ring holds for the connection now, before anything else is done on it: 0, or the
 * send's failure. */
static int server_ring_flush(server_worker_t *worker, server_link_t *link)
{
#ifdef SERVER_EPOLL
    if (worker->ring != NULL)
        return tessaro_server_ring_flush(worker->ring, link->socket);
#else
    (void)worker;
    (void)link;
#endif
    return 0;
}

/* ---- the workers: readiness ---- */

/* Whether connections are waited on edge-triggered (epoll, a server that reads requests itself, no
 * TLS): a wait tells of what came once, where a level-triggered one looks again at each connection it
 * told of last before it sleeps, a cost every request paid. What no readiness will tell of again, the
 * server queues itself: a receive that filled its room, bytes that came with the peer's close, a
 * socket a handler read itself. */
static int server_edge(const struct tessaro_server *server)
{
#ifdef SERVER_EPOLL
    return server->frame != NULL && server->tls == NULL;
#else
    (void)server;
    return 0;
#endif
}

static int server_ready_open(server_worker_t *worker)
{
#ifdef SERVER_EPOLL
    struct tessaro_server *server = worker->server;
    struct epoll_event event;

    worker->epoll = epoll_create1(EPOLL_CLOEXEC);
    if (worker->epoll < 0)
        return TESSARO_ERROR;
    memset(&event, 0, sizeof(event));
    event.events = EPOLLIN;
    event.data.u64 = (uint64_t)(int64_t)SERVER_TOKEN_WAKE;
    if (epoll_ctl(worker->epoll, EPOLL_CTL_ADD, server->wake_read, &event) != 0)
        return TESSARO_ERROR;
    worker->inbox_wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    event.data.u64 = (uint64_t)(int64_t)SERVER_TOKEN_INBOX;
    if (worker->inbox_wake < 0 || epoll_ctl(worker->epoll, EPOLL_CTL_ADD, worker->inbox_wake, &event) != 0 ||
        pthread_mutex_init(&worker->inbox_lock, NULL) != 0)
        return TESSARO_ERROR;
    worker->inbox_ready = 1;
    /* one idle worker wakes for a new connection, not all of them */
    event.events = EPOLLIN | EPOLLEXCLUSIVE;
    event.data.u64 = (uint64_t)(int64_t)SERVER_TOKEN_LISTENER;
    return epoll_ctl(worker->epoll, EPOLL_CTL_ADD, server->listener, &event) == 0 ? 0 : TESSARO_ERROR;
#else
    (void)worker;
    return 0;
#endif
}

/* In the worker's thread, which alone may use it: the ring it waits and answers through from now on,
 * where the system has one, the listener waited on there rather than in its epoll set. */
static void server_ready_ring(server_worker_t *worker)
{
#ifdef SERVER_EPOLL
    struct tessaro_server *server = worker->server;
    struct epoll_event event;

    if (!server_edge(server))
        return;
    worker->ring = tessaro_server_ring_open(worker->epoll, server->listener, worker->events, SERVER_EVENTS, server_ring_failed, worker);
    memset(&event, 0, sizeof(event));
    if (worker->ring != NULL && epoll_ctl(worker->epoll, EPOLL_CTL_DEL, server->listener, &event) != 0) {
        tessaro_server_ring_close(worker->ring);
        worker->ring = NULL;
    }
#else
    (void)worker;
#endif
}

static void server_ready_close(server_worker_t *worker)
{
#ifdef SERVER_EPOLL
    tessaro_server_ring_close(worker->ring);
    worker->ring = NULL;
    if (worker->epoll >= 0)
        close(worker->epoll);
    if (worker->inbox_wake >= 0)
        close(worker->inbox_wake);
    if (worker->inbox_ready)
        pthread_mutex_destroy(&worker->inbox_lock);
    free(worker->inbox);
    worker->epoll = worker->inbox_wake = -1;
#else
    (void)worker;
#endif
}

/* Waits for the connection of slot from now on (a closed socket leaves the set by itself). */
static int server_ready_watch(server_worker_t *worker, int slot)
{
#ifdef SERVER_EPOLL
    struct epoll_event event;

    memset(&event, 0, sizeof(event));
    event.events = EPOLLIN | EPOLLRDHUP | (server_edge(worker->server) ? EPOLLET : 0);
    event.data.u64 = (uint64_t)slot;
    return epoll_ctl(worker->epoll, EPOLL_CTL_ADD, worker->links[slot].socket, &event) == 0 ? 0 : TESSARO_ERROR;
#else
    (void)worker;
    (void)slot;
    return 0;
#endif
}

/* Once stopping: neither the listener nor the channel, which stays readable, is waited on again. */
static void server_ready_quiet(server_worker_t *worker)
{
#ifdef SERVER_EPOLL
    struct epoll_event event;

    memset(&event, 0, sizeof(event));
    epoll_ctl(worker->epoll, EPOLL_CTL_DEL, worker->server->wake_read, &event);
    if (worker->ring != NULL)
        tessaro_server_ring_quiet(worker->ring);
    else
        epoll_ctl(worker->epoll, EPOLL_CTL_DEL, worker->server->listener, &event);
#else
    (void)worker;
#endif
}

/* Waits up to ms for readiness: the readable slots in worker->ready, and whether the listener has
 * connections waiting. A failed wait (an interrupting signal) finds nothing. */
#ifdef SERVER_EPOLL
static void server_inbox_take(server_worker_t *worker, tessaro_usec_t now, int closing);
#endif

static int server_ready_wait(server_worker_t *worker, int ms, int stopping)
{
    int accepting = 0, got, i, token;

    worker->ready_count = 0;
#ifdef SERVER_EPOLL
    (void)stopping;
    if (worker->ring != NULL)
        got = tessaro_server_ring_wait(worker->ring, ms, &accepting);
    else
        got = epoll_wait(worker->epoll, worker->events, SERVER_EVENTS, ms);
    for (i = 0; i < got; i++) {
        token = (int)(int64_t)worker->events[i].data.u64;
        if (token == SERVER_TOKEN_LISTENER)
            accepting = 1;
        else if (token == SERVER_TOKEN_INBOX)
            server_inbox_take(worker, tessaro_clock_usec(), 0);
        else if (token >= 0) {
            worker->ready[worker->ready_count++] = token;
            if (worker->events[i].events & (EPOLLRDHUP | EPOLLHUP | EPOLLERR))
                worker->links[token].closing = 1;
        }
    }
#else
    struct tessaro_server *server = worker->server;
    int n = 0, slot;

    if (!stopping) {
        worker->fds[n].fd = server->wake_read;
        worker->slots[n++] = SERVER_TOKEN_WAKE;
    }
    for (slot = 0; slot < worker->room; slot++) {
        if (worker->links[slot].next_free != SERVER_SLOT_USED)
            continue;
        worker->fds[n].fd = worker->links[slot].socket;
        worker->slots[n++] = slot;
    }
    if (!stopping) {
        worker->fds[n].fd = server->listener;
        worker->slots[n++] = SERVER_TOKEN_LISTENER;
    }
    for (i = 0; i < n; i++) {
        worker->fds[i].events = POLLIN;
        worker->fds[i].revents = 0;
    }
    got = server_poll(worker->fds, (unsigned long)n, ms);
    for (i = 0; got > 0 && i < n; i++) {
        token = worker->slots[i];
        if (worker->fds[i].revents == 0)
            continue;
        if (token == SERVER_TOKEN_LISTENER)
            accepting = 1;
        else if (token >= 0)
            worker->ready[worker->ready_count++] = token;
    }
#endif
    return accepting;
}

/* ---- the workers: connections ---- */

static int server_serve_link(server_worker_t *worker, int slot, int stopping);
static int server_has_request(server_worker_t *worker, int slot);
static int server_read_link(server_worker_t *worker, int slot, int stopping);

/* The bytes the connections hold changed by room (from, to). */
static void server_held(struct tessaro_server *server, tessaro_size_t from, tessaro_size_t to)
{
    tessaro_size_t held = __atomic_add_fetch(&server->held, to - from, __ATOMIC_RELAXED);
    tessaro_size_t most = __atomic_load_n(&server->held_most, __ATOMIC_RELAXED);

    while (held > most && !__atomic_compare_exchange_n(&server->held_most, &most, held, 1, __ATOMIC_RELAXED, __ATOMIC_RELAXED))
        ;
}

tessaro_size_t tessaro_server_held_most(const tessaro_server_t *server)
{
    return __atomic_load_n(&server->held_most, __ATOMIC_RELAXED);
}

/* Frees what the connection held of requests coming. */
static void server_link_free(struct tessaro_server *server, server_link_t *link)
{
    server_held(server, link->room, 0);
    free(link->bytes);
    link->bytes = NULL;
    link->have = link->room = 0;
}

/* Frees the slot of a connection that has left the worker (closed, or handed to another). */
static void server_release(server_worker_t *worker, int slot)
{
    server_link_t *link = &worker->links[slot];

    __atomic_sub_fetch(&worker->load, 1, __ATOMIC_RELAXED);
    link->tls = NULL;
    server_link_free(worker->server, link);
    worker->queued -= link->queued;
    link->queued = 0;
    link->next_free = worker->free_slot;
    worker->free_slot = slot;
    worker->count--;
}

static void server_drop(server_worker_t *worker, int slot)
{
    server_link_t *link = &worker->links[slot];

    server_ring_flush(worker, link);
    tessaro_tls_close(link->tls);
    tessaro_socket_close(link->socket);
    __atomic_sub_fetch(&worker->server->connections, 1, __ATOMIC_RELAXED);
    server_release(worker, slot);
}

/* Refuses a connection past the bound with 503 (a TLS connection, which could not read it, only closed). */
static void server_refuse(struct tessaro_server *server, tessaro_socket_t sock)
{
    if (server->tls == NULL)
        tessaro_server_send_status(sock, 503, "Service Unavailable", "the server keeps as many connections as it may\n",
                                   TESSARO_USEC_PER_SEC);
    tessaro_socket_close(sock);
}

/* Holds a connection (served requests answered on it already) in a slot of the worker's own,
 * counted in its load already: the slot, or -1 when it was refused. */
static int server_take(server_worker_t *worker, tessaro_socket_t sock, int served, tessaro_usec_t now)
{
    int slot;
    server_link_t *link;

    if (server_grow(worker) != 0) {
        __atomic_sub_fetch(&worker->server->connections, 1, __ATOMIC_RELAXED);
        __atomic_sub_fetch(&worker->load, 1, __ATOMIC_RELAXED);
        server_refuse(worker->server, sock);
        return -1;
    }
    slot = worker->free_slot;
    link = &worker->links[slot];
    worker->free_slot = link->next_free;
    link->next_free = SERVER_SLOT_USED;
    link->socket = sock;
    link->tls = NULL;
    link->idle_since = now;
    link->served = served;
    link->bytes = NULL;
    link->have = link->room = 0;
    link->queued = link->unread = link->closing = 0;
    memset(&link->frame, 0, sizeof(link->frame));
    worker->count++;
    if (server_ready_watch(worker, slot) != 0) {
        server_drop(worker, slot);
        return -1;
    }
    return slot;
}

#ifdef SERVER_EPOLL
/* Takes the connections other workers handed over; closing: the worker ends, and what it is handed
 * from now on the giver keeps. */
static void server_inbox_take(server_worker_t *worker, tessaro_usec_t now, int closing)
{
    uint64_t told;
    int i;

    if (read(worker->inbox_wake, &told, sizeof(told)) < 0)
        told = 0;
    pthread_mutex_lock(&worker->inbox_lock);
    for (i = 0; i < worker->inbox_count; i++)
        server_take(worker, worker->inbox[i].socket, worker->inbox[i].served, now);
    worker->inbox_count = 0;
    worker->inbox_closed = closing;
    pthread_mutex_unlock(&worker->inbox_lock);
}

/* Hands the connection to another worker: 0, or -1 when that worker takes no more. */
static int server_hand(server_worker_t *worker, tessaro_socket_t sock, int served)
{
    uint64_t one = 1;
    server_handed_t *inbox;
    int result = -1;

    pthread_mutex_lock(&worker->inbox_lock);
    if (!worker->inbox_closed && worker->inbox_count == worker->inbox_room) {
        inbox = (server_handed_t *)realloc(worker->inbox, (size_t)(worker->inbox_room + 16) * sizeof(*inbox));
        if (inbox != NULL) {
            worker->inbox = inbox;
            worker->inbox_room += 16;
        }
    }
    if (!worker->inbox_closed && worker->inbox_count < worker->inbox_room) {
        worker->inbox[worker->inbox_count].socket = sock;
        worker->inbox[worker->inbox_count++].served = served;
        result = 0;
    }
    pthread_mutex_unlock(&worker->inbox_lock);
    if (result == 0 && write(worker->inbox_wake, &one, sizeof(one)) < 0)
        result = 0; /* the counter is full: the worker is told already */
    return result;
}
#endif

#ifdef SERVER_EPOLL
/* The least loaded worker when a connection moved there evens the loads (it holds two fewer than this
 * one at least), else this one: a move to a worker only one fewer would turn the difference round,
 * and cost a hand-over and another thread's wake-up for nothing, at every new connection whose
 * client closes it once answered. */
static server_worker_t *server_least(server_worker_t *worker)
{
    struct tessaro_server *server = worker->server;
    server_worker_t *least = worker;
    int i, load, least_load = __atomic_load_n(&worker->load, __ATOMIC_RELAXED) - 1;
    int started = __atomic_load_n(&server->worker_count, __ATOMIC_ACQUIRE);

    for (i = 0; i < started; i++) {
        load = __atomic_load_n(&server->workers[i].load, __ATOMIC_RELAXED);
        if (load < least_load) {
            least = &server->workers[i];
            least_load = load;
        }
    }
    return least;
}

/* Hands the connection of slot, between two requests, to the least loaded worker when that is
 * another, so that connections accepted in a burst spread over the workers. */
static void server_spread(server_worker_t *worker, int slot)
{
    server_link_t *link = &worker->links[slot];
    server_worker_t *target = server_least(worker);
    struct epoll_event event;

    /* once stopping, each worker closes what it holds; an answer held goes before its connection */
    if (target == worker || worker->server->stopping || server_ring_flush(worker, link) != 0)
        return;
    __atomic_add_fetch(&target->load, 1, __ATOMIC_RELAXED);
    memset(&event, 0, sizeof(event));
    /* out of this worker's set before the other may wait on it */
    if (epoll_ctl(worker->epoll, EPOLL_CTL_DEL, link->socket, &event) == 0) {
        if (server_hand(target, link->socket, link->served) == 0) {
            server_release(worker, slot);
            return;
        }
        if (server_ready_watch(worker, slot) != 0) {
            __atomic_sub_fetch(&target->load, 1, __ATOMIC_RELAXED);
            server_drop(worker, slot);
            return;
        }
    }
    __atomic_sub_fetch(&target->load, 1, __ATOMIC_RELAXED);
}
#endif

/* Takes a connection the listener has, or refuses it past the bound: 0 while there may be more.
 * A new connection's first request has mostly come with it (its client sends it at once): taking,
 * it is served at once by the worker that accepted it, where waiting for its readiness, or for
 * another worker to wake and take the connection over, would hold it a round or a wake-up longer;
 * a TLS connection's handshake waits for its readiness. Then the connection may go to a less
 * loaded worker (not once stopping, when each serves what it took). */
static int server_accept(server_worker_t *worker, tessaro_usec_t now, int taking)
{
    struct tessaro_server *server = worker->server;
    tessaro_socket_t sock = accept(server->listener, NULL, NULL);
    int on = 1, slot;

    /* nothing waits, or the system refuses: the next round tries again */
    if (sock == INVALID_SOCKET)
        return 1;
    if (__atomic_add_fetch(&server->connections, 1, __ATOMIC_RELAXED) > server->config.max_connections) {
        __atomic_sub_fetch(&server->connections, 1, __ATOMIC_RELAXED);
        server_refuse(server, sock);
        return 0;
    }
    /* answers go out whole at once; a request's head and body are not held back for each other */
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, (const char *)&on, sizeof(on));
#ifdef _WIN32
    /* accepted sockets take the listener's non-blocking mode on Windows */
    tessaro_socket_set_block(sock, 1);
#endif
    __atomic_add_fetch(&worker->load, 1, __ATOMIC_RELAXED);
    if ((slot = server_take(worker, sock, 0, now)) < 0 || !taking)
        return 0;
    if (server->tls == NULL && server->frame != NULL && !server_read_link(worker, slot, 0)) {
        server_drop(worker, slot);
        return 0;
    }
    if (server->tls == NULL && server->frame == NULL && server_has_request(worker, slot) && !server_serve_link(worker, slot, 0)) {
        server_drop(worker, slot);
        return 0;
    }
#ifdef SERVER_EPOLL
    /* a request that has begun to come stays with the bytes its worker holds */
    if (worker->links[slot].have == 0)
        server_spread(worker, slot);
#endif
    return 0;
}

static void server_accept_round(server_worker_t *worker, tessaro_usec_t now)
{
    int i;

    for (i = 0; i < SERVER_ACCEPTS_PER_ROUND; i++)
        if (server_accept(worker, now, 1) != 0)
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

/* The connection's receive (what came with the request first) and send, through its TLS session when
 * it has one. */
static int server_recv(tessaro_server_connection_t *connection, void *buf, tessaro_size_t *len, tessaro_usec_t timeout)
{
    if (connection->carry_length > 0) {
        *len = *len < connection->carry_length ? *len : connection->carry_length;
        memcpy(buf, connection->carry, *len);
        connection->carry += *len;
        connection->carry_length -= *len;
        return 0;
    }
    if (connection->tls != NULL)
        return tessaro_tls_recv(connection->tls, buf, len, timeout);
    return tessaro_socket_recv(connection->socket, buf, len, timeout);
}

static int server_send(tessaro_server_connection_t *connection, const void *buf, tessaro_size_t len, tessaro_usec_t timeout)
{
    tessaro_size_t sent;

    if (connection->tls != NULL)
        return tessaro_tls_send_all(connection->tls, buf, len, &sent, timeout);
    return tessaro_socket_send_all(connection->socket, buf, len, &sent, timeout);
}

/* A bare answer of status on the connection (see tessaro_server_send_status). */
static void server_send_status(tessaro_server_connection_t *connection, int status, const char *reason, const char *text)
{
    char answer[512];
    int length = server_status_text(answer, sizeof(answer), status, reason, text);

    if (length > 0)
        server_send(connection, answer, (tessaro_size_t)length, TESSARO_USEC_PER_SEC);
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
    tessaro_size_t have = 0, len;
    tessaro_usec_t left;
    const char *target, *target_end, *head_end = NULL;
    long size = 0;
    char *text;
    int keep, length, result = 0;

    /* the head, to its empty line; a GET has no body */
    while (head_end == NULL && have < SERVER_MAX_HEAD) {
        len = SERVER_MAX_HEAD - have;
        left = connection->deadline - tessaro_clock_usec();
        if (left <= 0 || server_recv(connection, head + have, &len, left) != 0)
            return 0;
        have += len;
        head[have] = '\0';
        head_end = strstr(head, "\r\n\r\n");
    }
    target = strchr(head, ' ');
    target_end = target != NULL ? strchr(target + 1, ' ') : NULL;
    if (head_end == NULL || strncmp(head, "GET ", 4) != 0 || target_end == NULL || target_end > head_end) {
        server_send_status(connection, head_end == NULL ? 431 : 400, head_end == NULL ? "Request Header Fields Too Large" : "Bad Request",
                           "a GET asks for ...?wsdl or a document it imports\n");
        return 0;
    }
    target++;
    /* HTTP/1.1 keeps the connection unless asked to close it */
    keep = strncmp(target_end + 1, "HTTP/1.1", 8) == 0 && strstr(head, "\r\nConnection: close\r\n") == NULL &&
           !connection->stopping;
    text = server_document(server->config.wsdl, target, (size_t)(target_end - target), &size);
    if (text == NULL) {
        server_send_status(connection, 404, "Not Found", "no such document of the service\n");
        return 0;
    }
    length = snprintf(answer, sizeof(answer), "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: %ld\r\n%s\r\n",
                      size, keep ? "" : "Connection: close\r\n");
    if (server_send(connection, answer, (tessaro_size_t)length, TESSARO_USEC_PER_SEC * 30) != 0 ||
        server_send(connection, text, (tessaro_size_t)size, TESSARO_USEC_PER_SEC * 30) != 0)
        result = -1;
    free(text);
    return keep && result == 0;
}

/* Whether the request that has come is a GET (its first byte tells: SOAP comes with POST). */
static int server_is_get(tessaro_server_connection_t *connection)
{
    char first = 0;
    tessaro_size_t len = 1;

    if (connection->carry != NULL)
        return connection->carry_length > 0 && connection->carry[0] == 'G';
    if (connection->tls != NULL)
        return tessaro_tls_peek(connection->tls, &first, &len, 0) == 0 && len == 1 && first == 'G';
    return tessaro_socket_peek(connection->socket, &first, &len, 0) == 0 && len == 1 && first == 'G';
}


/* Hands the request that has come on the connection of slot to the handler (a GET of a document to
 * the server's own reading), its deadline and what the server read of it in connection already: 1
 * when the connection stays. */
static int server_handle(server_worker_t *worker, int slot, tessaro_server_connection_t *connection, int stopping)
{
    struct tessaro_server *server = worker->server;
    server_link_t *link = &worker->links[slot];
    int keep;

    connection->socket = link->socket;
    connection->tls = link->tls;
    connection->max_request_bytes = server->config.max_request_bytes;
    connection->stopping = stopping;
    connection->served = link->served;
    connection->scratch = &worker->scratch;
    server_ring_begin(worker, slot);
    if (server->config.wsdl != NULL && server_is_get(connection))
        keep = server_serve_document(server, connection);
    else
        keep = server->handler.serve(server->handler.context, connection);
    server_ring_end(worker);
    link = &worker->links[slot];
    /* a connection that closes has its answer out first */
    if ((!keep || stopping) && server_ring_flush(worker, link) != 0)
        keep = 0;
    if (!keep && connection->linger)
        server_linger(connection->socket);
    /* a handler handed a request not whole read the rest from the socket, and what followed it there
     * is told by no readiness */
    if (server_edge(server) && connection->frame == NULL)
        link->unread = 1;
    link->served++;
    link->idle_since = tessaro_clock_usec();
    return keep && !stopping;
}

/* The bound of a request that begins at first. */
static tessaro_usec_t server_request_deadline(const struct tessaro_server *server, tessaro_usec_t first)
{
    return first + (tessaro_usec_t)server->config.request_seconds * TESSARO_USEC_PER_SEC;
}

/* A TLS connection's first readiness is its handshake: its first request comes after it. 1 when the
 * session is made. */
static int server_handshake(server_worker_t *worker, server_link_t *link)
{
    struct tessaro_server *server = worker->server;
    tessaro_usec_t deadline = server_request_deadline(server, tessaro_clock_usec());

    return tessaro_tls_accept(&link->tls, server->tls, link->socket, deadline - tessaro_clock_usec()) == 0;
}

/* Serves the request that has come on the connection of slot, read by the handler: 1 when the
 * connection stays. */
static int server_serve(server_worker_t *worker, int slot, int stopping)
{
    struct tessaro_server *server = worker->server;
    tessaro_server_connection_t connection;

    if (server->tls != NULL && worker->links[slot].tls == NULL)
        return server_handshake(worker, &worker->links[slot]) && !stopping;
    memset(&connection, 0, sizeof(connection));
    connection.deadline = server_request_deadline(server, tessaro_clock_usec());
    return server_handle(worker, slot, &connection, stopping);
}

/* ---- the workers: requests read as they come ---- */

/* Room for need bytes in the connection's own: doubled, up to the most its request may hold; once a
 * quarter of a request of known length came, all its reader will want, so that a large request is
 * neither held in a room twice its size nor moved again by its reader. */
static int server_link_room(struct tessaro_server *server, server_link_t *link, tessaro_size_t need)
{
    tessaro_size_t room = link->room > 0 ? link->room : SERVER_FIRST_ROOM;
    char *bytes;

    if (need <= link->room)
        return 0;
    while (room < need)
        room *= 2;
    if (link->frame.want > 0 && need <= link->frame.want && need >= link->frame.want / 4)
        room = link->frame.want;
    if (link->frame.most > 0 && room > link->frame.most)
        room = link->frame.most > need ? link->frame.most : need;
    if ((bytes = (char *)realloc(link->bytes, room)) == NULL)
        return TESSARO_ERROR;
    server_held(server, link->room, room);
    link->bytes = bytes;
    link->room = room;
    return 0;
}

/* The first bytes of a request have come: its time bound is swept from now on. */
static void server_request_begins(server_worker_t *worker, server_link_t *link)
{
    link->first_byte = tessaro_clock_usec();
    if (server_request_deadline(worker->server, link->first_byte) < worker->next_sweep)
        worker->next_sweep = server_request_deadline(worker->server, link->first_byte);
}

/* Keeps the bytes of slot's request that is not whole yet, data[0..have), in the connection's own:
 * 1, or 0 when no memory is left. */
static int server_keep_bytes(server_worker_t *worker, server_link_t *link, const char *data, tessaro_size_t have)
{
    if (data != link->bytes) {
        if (server_link_room(worker->server, link, have) != 0)
            return 0;
        memcpy(link->bytes, data, have);
    }
    if (link->have == 0)
        server_request_begins(worker, link);
    link->have = have;
    return 1;
}

/* After a request was served: what followed it, rest[0..left), stays as the next request's first
 * bytes (the connection holds none when nothing did). */
static int server_keep_rest(struct tessaro_server *server, server_link_t *link, const char *rest, tessaro_size_t left)
{
    memset(&link->frame, 0, sizeof(link->frame));
    if (left == 0) {
        server_link_free(server, link);
        return 1;
    }
    if (rest >= link->bytes && rest < link->bytes + link->room) {
        memmove(link->bytes, rest, left);
    } else {
        if (server_link_room(server, link, left) != 0)
            return 0;
        memcpy(link->bytes, rest, left);
    }
    link->have = left;
    return 1;
}

/* Queues the connection of slot to be served without readiness: it holds a whole request, or bytes
 * its TLS session decrypted. */
static void server_queue(server_worker_t *worker, server_link_t *link)
{
    if (!link->queued)
        worker->queued++;
    link->queued = 1;
}

/* A whole request in the connection's own bytes, have of them come, goes to the handler as a block it
 * may take, so that it is not copied: what came behind it moves to a block of its own, the connection's
 * from now on.
 * 1 when handed, 0 when the request is not there whole, -1 when no memory is left. */
static int server_hand_over(struct tessaro_server *server, server_link_t *link, tessaro_size_t have,
                            tessaro_server_connection_t *connection)
{
    tessaro_size_t end = link->frame.end, behind;
    char *rest = NULL;

    link->have = have;
    if (end == 0 || end > have)
        return 0;
    if (server_link_room(server, link, end + 1) != 0)
        return -1;
    behind = link->have - end;
    if (behind > 0 && (rest = (char *)malloc(behind)) == NULL)
        return -1;
    if (behind > 0)
        memcpy(rest, link->bytes + end, behind);
    connection->owned = link->bytes;
    connection->owned_room = link->room;
    connection->carry = link->bytes;
    connection->carry_length = end;
    server_held(server, link->room, behind);
    link->bytes = rest;
    link->room = link->have = behind;
    return 1;
}

/* After the handler was handed the block: what came behind the request is what follows it, and a
 * block the handler left is freed, what it did not read of it going first. 0 when no memory is left. */
static int server_take_back(struct tessaro_server *server, server_link_t *link, tessaro_server_connection_t *connection)
{
    tessaro_size_t left = connection->carry_length, room = left + link->have;
    char *bytes;
    int kept;

    if (connection->owned == NULL || left == 0) {
        free(connection->owned);
        connection->owned = NULL;
        connection->carry = link->bytes;
        connection->carry_length = link->have;
        return 1;
    }
    bytes = (char *)malloc(room);
    kept = bytes != NULL;
    if (bytes != NULL) {
        memcpy(bytes, connection->carry, left);
        memcpy(bytes + left, link->bytes, link->have);
    }
    free(connection->owned);
    connection->owned = NULL;
    room = kept ? room : 0;
    server_held(server, link->room, room);
    free(link->bytes);
    link->bytes = bytes;
    link->room = room;
    link->have = 0;
    connection->carry = bytes;
    connection->carry_length = kept ? room : 0;
    return kept;
}

/* How the bytes the connection holds frame a request (TESSARO_FRAME_MORE when it holds none): anything
 * else is a whole request or one to refuse already. */
static int server_held_framing(struct tessaro_server *server, server_link_t *link)
{
    return link->have > 0 ? server->frame(link->bytes, link->have, server->config.max_request_bytes, &link->frame)
                          : TESSARO_FRAME_MORE;
}

/* Serves the request that data[0..have) begins with (whole: as its framing check told, else what came
 * of it by its time bound or the peer's close), and keeps what follows it: 1 when the connection
 * stays. */
static int server_serve_bytes(server_worker_t *worker, int slot, const char *data, tessaro_size_t have, int whole, int stopping)
{
    struct tessaro_server *server = worker->server;
    server_link_t *link = &worker->links[slot];
    tessaro_server_connection_t connection;
    int keep, handed = 0;

    memset(&connection, 0, sizeof(connection));
    connection.deadline = server_request_deadline(server, link->have > 0 ? link->first_byte : tessaro_clock_usec());
    connection.carry = data;
    connection.carry_length = have;
    /* the reader of a whole request is told what the check learned of it; another reads the rest itself */
    connection.frame = whole ? &link->frame : NULL;
    if (data == link->bytes && (handed = server_hand_over(server, link, have, &connection)) < 0)
        return 0;
    keep = server_handle(worker, slot, &connection, stopping);
    link = &worker->links[slot];
    if (handed)
        keep = server_take_back(server, link, &connection) && keep;
    if (!keep || !server_keep_rest(server, link, connection.carry, connection.carry_length))
        return 0;
    if (link->have > 0)
        server_request_begins(worker, link);
    if (server_held_framing(server, link) != TESSARO_FRAME_MORE)
        server_queue(worker, link);
    return 1;
}

/* Answers a request past the bound 413 and reads away what still comes of it before the close. */
static void server_refuse_long(server_worker_t *worker, server_link_t *link)
{
    tessaro_server_connection_t connection;

    memset(&connection, 0, sizeof(connection));
    connection.socket = link->socket;
    connection.tls = link->tls;
    server_ring_flush(worker, link);
    server_send_status(&connection, 413, "Content Too Large", "the request is longer than a request may be\n");
    server_linger(link->socket);
}

/* The bytes of slot's request so far, data[0..have), which its framing check found framed: served
 * once they hold it whole (or what came is refused already, or no more will come: ended), else kept
 * until more comes. 1 when the connection stays. */
static int server_take_framed(server_worker_t *worker, int slot, const char *data, tessaro_size_t have, int framed,
                              int ended, int stopping)
{
    server_link_t *link = &worker->links[slot];

    if (framed == TESSARO_FRAME_MORE && !ended)
        return server_keep_bytes(worker, link, data, have);
    if (framed == TESSARO_FRAME_TOO_LONG) {
        server_refuse_long(worker, link);
        return 0;
    }
    return server_serve_bytes(worker, slot, data, have, framed == TESSARO_FRAME_WHOLE, stopping);
}

/* The same, the bytes framed here. */
static int server_take_request(server_worker_t *worker, int slot, const char *data, tessaro_size_t have, int ended, int stopping)
{
    struct tessaro_server *server = worker->server;
    int framed = server->frame(data, have, server->config.max_request_bytes, &worker->links[slot].frame);

    return server_take_framed(worker, slot, data, have, framed, ended, stopping);
}

/* One receive of what has come on the connection (through its TLS session: with what that holds),
 * behind the bytes it holds, or into the worker's input when it holds none: *data and *have are then
 * the request's bytes so far. 0, TESSARO_END_OF_STREAM or TESSARO_ERROR. */
static int server_receive(server_worker_t *worker, server_link_t *link, char **data, tessaro_size_t *have)
{
    struct tessaro_server *server = worker->server;
    tessaro_size_t len, got = 0, piece;
    char *into;
    int result;

    if (link->frame.most > 0 && link->have >= link->frame.most)
        return TESSARO_ERROR;
    if (link->have == 0) {
        into = worker->input;
        len = SERVER_INPUT;
    } else {
        if (link->have == link->room && server_link_room(server, link, link->have + 1) != 0)
            return TESSARO_ERROR;
        into = link->bytes + link->have;
        len = link->room - link->have;
    }
    if (link->tls == NULL) {
        piece = len;
        result = tessaro_socket_recv_now(link->socket, into, &len);
        got = len;
        /* a receive that filled its room may have left bytes, and so may a peer's close; its end,
         * once the requests before it are answered, is to be read again to close the connection */
        link->unread = server_edge(server) &&
                       ((result == 0 && got > 0 && (got == piece || link->closing)) || result == TESSARO_END_OF_STREAM);
    } else {
        /* what the session holds comes without readiness: taken while it holds more and room is left */
        do {
            piece = len - got;
            result = tessaro_tls_recv(link->tls, into + got, &piece, 0);
            got += piece;
        } while (result == 0 && got < len && tessaro_tls_pending(link->tls) > 0);
        if (result == TESSARO_TIMEOUT)
            result = 0;
    }
    *data = link->have == 0 ? worker->input : link->bytes;
    *have = link->have + got;
    return result;
}

/* Takes what has come on the connection of slot in one receive and serves the request once it is
 * whole: 1 when the connection stays. */
static int server_read_link(server_worker_t *worker, int slot, int stopping)
{
    server_link_t *link = &worker->links[slot];
    char *data;
    tessaro_size_t have;
    int result, keep;

    if (worker->server->tls != NULL && link->tls == NULL) {
        if (!server_handshake(worker, link) || stopping)
            return 0;
        /* the request may have come with the handshake's last bytes */
        if (tessaro_tls_pending(link->tls) > 0)
            server_queue(worker, link);
        return 1;
    }
    if ((result = server_receive(worker, link, &data, &have)) == TESSARO_ERROR)
        return 0;
    if (have == 0)
        return result == 0;
    keep = server_take_request(worker, slot, data, have, result != 0, stopping);
    link = &worker->links[slot];
    if (keep && (link->unread || tessaro_tls_pending(link->tls) > 0))
        server_queue(worker, link);
    return keep;
}

/* Serves the connection of slot queued: its whole request held (or its TLS session's bytes first
 * taken), else what waits unread in its socket: 1 when the connection stays. */
static int server_serve_queued(server_worker_t *worker, int slot, int stopping)
{
    server_link_t *link = &worker->links[slot];
    int framed = server_held_framing(worker->server, link), whole = framed != TESSARO_FRAME_MORE, keep;

    link->queued = 0;
    worker->queued--;
    if (tessaro_tls_pending(link->tls) > 0 || (!whole && link->unread))
        return server_read_link(worker, slot, stopping);
    /* queued for a request a readiness of the round served meanwhile */
    if (!whole)
        return 1;
    /* what the framing check found above stands: the bytes are the same */
    keep = server_take_framed(worker, slot, link->bytes, link->have, framed, 0, stopping);
    link = &worker->links[slot];
    /* a request at a time: what waits in the socket is taken at the next round */
    if (keep && link->unread)
        server_queue(worker, link);
    return keep;
}

/* Serves what readiness or the queue found on the connections, each once: the round's ready slots and
 * then those queued before it. */
static void server_serve_round(server_worker_t *worker, int stopping)
{
    int i, slot, queued = worker->queued;

    for (i = 0; i < worker->ready_count; i++) {
        slot = worker->ready[i];
        if (worker->links[slot].next_free != SERVER_SLOT_USED)
            continue;
        if (!(worker->server->frame != NULL ? server_read_link(worker, slot, stopping) : server_serve_link(worker, slot, stopping)))
            server_drop(worker, slot);
    }
    for (slot = 0; queued > 0 && slot < worker->room; slot++) {
        if (worker->links[slot].next_free != SERVER_SLOT_USED || !worker->links[slot].queued)
            continue;
        queued--;
        if (!server_serve_queued(worker, slot, stopping))
            server_drop(worker, slot);
    }
}

/* Serves the connection of slot that has a request, and the next ones its TLS session already
 * holds (no readiness tells of them), a few at most: 1 when the connection stays. */
static int server_serve_link(server_worker_t *worker, int slot, int stopping)
{
    int keep = server_serve(worker, slot, stopping), row;

    for (row = 1; keep && row < SERVER_PENDING_IN_A_ROW && tessaro_tls_pending(worker->links[slot].tls) > 0; row++)
        keep = server_serve(worker, slot, stopping);
    return keep;
}

/* Whether a request has begun to come on the connection of slot since its last readiness. */
static int server_has_request(server_worker_t *worker, int slot)
{
    server_link_t *link = &worker->links[slot];
    char first;
    tessaro_size_t len = 1;

    if (link->have > 0 || tessaro_tls_pending(link->tls) > 0)
        return 1;
    return tessaro_socket_peek(link->socket, &first, &len, 0) == 0 && len == 1;
}

/* Once stopping, a connection waiting for its next request is closed (one whose request has come
 * meanwhile is answered first: a close with its bytes unread would reset the connection, and the
 * client could not tell whether it was taken); one whose request is coming is left to come. */
static void server_sweep_stopping(server_worker_t *worker, int slot)
{
    if (worker->server->frame == NULL) {
        if (server_has_request(worker, slot))
            server_serve_link(worker, slot, 1);
        server_drop(worker, slot);
    } else if (!server_read_link(worker, slot, 1) || worker->links[slot].have == 0) {
        server_drop(worker, slot);
    }
}

/* A request that has come in part past its time bound: what came goes to the handler, whose reading
 * finds the time passed and answers so. */
static void server_sweep_late(server_worker_t *worker, int slot)
{
    server_link_t *link = &worker->links[slot];

    server_serve_bytes(worker, slot, link->bytes, link->have, 0, 1);
    server_drop(worker, slot);
}

/* Closes the connections past their idle bound and answers the requests past their time bound, and
 * once stopping closes those waiting for their next request; notes when the next one may pass its
 * bound. */
static void server_sweep(server_worker_t *worker, tessaro_usec_t now, int stopping)
{
    tessaro_usec_t idle = (tessaro_usec_t)worker->server->config.idle_seconds * TESSARO_USEC_PER_SEC;
    tessaro_usec_t late;
    int slot;

    worker->next_sweep = now + idle;
    for (slot = 0; slot < worker->room; slot++) {
        server_link_t *link = &worker->links[slot];

        if (link->next_free != SERVER_SLOT_USED)
            continue;
        late = server_request_deadline(worker->server, link->first_byte);
        if (link->have > 0 && now >= late) {
            server_sweep_late(worker, slot);
        } else if (link->have > 0) {
            if (late < worker->next_sweep)
                worker->next_sweep = late;
        } else if (stopping && link->served > 0) {
            server_sweep_stopping(worker, slot);
        } else if (now - link->idle_since >= idle) {
            server_drop(worker, slot);
        } else if (link->idle_since + idle < worker->next_sweep) {
            worker->next_sweep = link->idle_since + idle;
        }
    }
}

/* Milliseconds to wait: until the next idle bound, or once stopping the stop's bound; none once
 * stopping while a connection waits for its next request, which the round closes unless it came. */
static int server_wait_ms(server_worker_t *worker, tessaro_usec_t now, tessaro_usec_t stop_by)
{
    tessaro_usec_t first = stop_by > 0 ? stop_by : worker->next_sweep;
    int slot;

    if (worker->queued > 0)
        return 0;
    for (slot = 0; stop_by > 0 && slot < worker->room; slot++)
        if (worker->links[slot].next_free == SERVER_SLOT_USED && worker->links[slot].served > 0 && worker->links[slot].have == 0)
            return 0;
    if (stop_by > 0 && worker->next_sweep < first)
        first = worker->next_sweep;
    return first <= now ? 0 : (int)((first - now + 999) / 1000);
}

/* One round: wait, serve each connection that has a request (or closes), drop the idle, accept. */
static void server_round(server_worker_t *worker, tessaro_usec_t stop_by)
{
    tessaro_usec_t now = tessaro_clock_usec();
    int stopping = stop_by > 0;
    int accepting;

    accepting = server_ready_wait(worker, server_wait_ms(worker, now, stop_by), stopping);
    server_serve_round(worker, stopping);
    now = tessaro_clock_usec();
    if (stopping || now >= worker->next_sweep)
        server_sweep(worker, now, stopping);
    if (accepting && !stopping)
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
    int slot;

    worker->next_sweep = tessaro_clock_usec() + (tessaro_usec_t)server->config.idle_seconds * TESSARO_USEC_PER_SEC;
    server_ready_ring(worker);
    for (;;) {
        if (stop_by == 0 && server->stopping) {
            stop_by = tessaro_clock_usec() + (tessaro_usec_t)server->config.stop_seconds * TESSARO_USEC_PER_SEC;
            server_ready_quiet(worker);
            /* the connections the system accepted before the stop are served too */
            while (server_accept(worker, tessaro_clock_usec(), 0) == 0)
                ;
        }
        if (stop_by != 0 && (worker->count == 0 || tessaro_clock_usec() >= stop_by))
            break;
        server_round(worker, stop_by);
    }
#ifdef SERVER_EPOLL
    /* what was handed over late is closed with the rest */
    server_inbox_take(worker, tessaro_clock_usec(), 1);
#endif
    /* cut: those with a request unanswered, or whose first request never came; one handed over
     * late that waits for its next request is closed as the stop closes such */
    worker->cut = 0;
    for (slot = 0; slot < worker->room; slot++) {
        if (worker->links[slot].next_free != SERVER_SLOT_USED)
            continue;
        if (worker->links[slot].served == 0 || server_has_request(worker, slot))
            worker->cut++;
        server_drop(worker, slot);
    }
#ifdef SERVER_EPOLL
    /* its wait ends in the thread that made it */
    tessaro_server_ring_close(worker->ring);
    worker->ring = NULL;
#endif
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

/* The certificate and key connections are served with, when the configuration names them. */
static int server_tls(struct tessaro_server *server)
{
    const tessaro_server_config_t *config = &server->config;

    if (config->tls_certificate == NULL && config->tls_key == NULL)
        return 0;
    if (config->tls_certificate == NULL || config->tls_key == NULL)
        return TESSARO_TLS_CERTIFICATE;
    return tessaro_tls_server_new(&server->tls, config->tls_certificate, config->tls_key);
}

int tessaro_server_start(tessaro_server_t **server_out, const tessaro_server_config_t *config,
                         const tessaro_server_handler_t *handler)
{
    return tessaro_server_start_reading(server_out, config, handler, NULL);
}

int tessaro_server_start_reading(tessaro_server_t **server_out, const tessaro_server_config_t *config,
                                 const tessaro_server_handler_t *handler, tessaro_server_frame_fn frame)
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
    server->frame = frame;
    server->listener = INVALID_SOCKET;
#ifdef _WIN32
    server->wake_read = server->wake_write = INVALID_SOCKET;
#else
    server->wake_read = server->wake_write = -1;
#endif
    server->workers = (server_worker_t *)calloc((size_t)server->config.workers, sizeof(*server->workers));
    result = server->workers == NULL ? TESSARO_ERROR : server_wake_open(server);
    if (result == 0)
        result = server_tls(server);
    if (result == 0)
        result = server_listen(server);
    for (i = 0; server->workers != NULL && i < server->config.workers; i++) {
        server->workers[i].server = server;
        server->workers[i].free_slot = -1;
#ifdef SERVER_EPOLL
        server->workers[i].epoll = server->workers[i].inbox_wake = -1;
#endif
    }
    for (i = 0; result == 0 && i < server->config.workers; i++) {
        if (frame != NULL && (server->workers[i].input = (char *)malloc(SERVER_INPUT)) == NULL)
            result = TESSARO_ERROR;
        else if (server_grow(&server->workers[i]) != 0 || server_ready_open(&server->workers[i]) != 0 ||
                 server_thread_start(&server->workers[i]) != 0)
            result = TESSARO_ERROR;
        else
            server->workers[i].started = 1;
        __atomic_store_n(&server->worker_count, i + 1, __ATOMIC_RELEASE);
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
    for (i = 0; server->workers != NULL && i < server->config.workers; i++) {
        server_ready_close(&server->workers[i]);
        free(server->workers[i].links);
        free(server->workers[i].ready);
        free(server->workers[i].input);
#ifndef SERVER_EPOLL
        free(server->workers[i].fds);
        free(server->workers[i].slots);
#endif
    }
    tessaro_tls_server_free(server->tls);
    free(server->workers);
#ifdef _WIN32
    if (server->winsock)
        WSACleanup();
#endif
    free(server);
}
