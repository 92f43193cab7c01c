/* tessaro: sockets over POSIX or Winsock. */
#include "tessaro_socket.h"
#include "tessaro_socket_sink.h"
#include "tessaro_util.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
typedef int tessaro_io_t;
#define TESSARO_WOULD_BLOCK(e) ((e) == WSAEWOULDBLOCK || (e) == WSAEINTR || (e) == WSAEINPROGRESS)
#define TESSARO_LAST_ERROR() WSAGetLastError()
#define TESSARO_SEND_FLAGS 0
/* Winsock has no per-call non-blocking flag: the library's calls make the socket non-blocking for
 * their time (tessaro_io_begin). */
#define TESSARO_DONT_WAIT 0
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>
typedef size_t tessaro_io_t;
#define TESSARO_WOULD_BLOCK(e) ((e) == EAGAIN || (e) == EWOULDBLOCK || (e) == EINTR)
#define TESSARO_LAST_ERROR() errno
/* A peer that has gone must give an error, not end the process. */
#define TESSARO_SEND_FLAGS MSG_NOSIGNAL
/* A receive or send tried before any wait never blocks, whatever the socket's mode: bytes (or room)
 * already there then cost no poll. */
#define TESSARO_DONT_WAIT MSG_DONTWAIT
#endif
/* A stream socket made to connect: non-blocking from the start where the system can make it so,
 * which spares changing its mode for the connect. */
#ifdef SOCK_NONBLOCK
#define TESSARO_STREAM_NONBLOCKING (SOCK_STREAM | SOCK_NONBLOCK)
#define TESSARO_MADE_MODE (O_RDWR | O_NONBLOCK)
#else
#define TESSARO_STREAM_NONBLOCKING SOCK_STREAM
#define TESSARO_MADE_MODE O_RDWR
#endif

#if defined(_MSC_VER)
#define TESSARO_THREAD_LOCAL __declspec(thread)
#else
#define TESSARO_THREAD_LOCAL __thread
#endif

/* The public receive and send calls (tessaro_io). */
enum tessaro_call { TESSARO_RECEIVE, TESSARO_PEEK, TESSARO_RECEIVE_ALL, TESSARO_RECEIVE_LINE, TESSARO_SEND_ALL };

/* The system's error code of this thread's last call that failed on one. */
static TESSARO_THREAD_LOCAL int tessaro_system_error = 0;
/* The socket whose sends this thread's server worker holds, or NULL. */
static TESSARO_THREAD_LOCAL tessaro_socket_sink_t *tessaro_sink = NULL;

void tessaro_socket_sink_set(tessaro_socket_sink_t *sink)
{
    tessaro_sink = sink;
}

/* A send the sink took (1), else 0 once what it held went, or the failure of that send. */
static int tessaro_sink_takes(tessaro_socket_t sock, enum tessaro_call call, const void *buf, tessaro_size_t count,
                              tessaro_size_t *done, tessaro_usec_t timeout)
{
    tessaro_socket_sink_t *sink = tessaro_sink;

    if (sink == NULL || sink->socket != sock)
        return 0;
    if (call == TESSARO_SEND_ALL && sink->take(sink, buf, count, timeout) == 0) {
        *done = count;
        return 1;
    }
    return sink->flush(sink);
}

/* TESSARO_ERROR, the system's cause kept for tessaro_last_system_error. */
static int tessaro_failed(int error)
{
    tessaro_system_error = error;
    return TESSARO_ERROR;
}

int tessaro_last_system_error(void)
{
    return tessaro_system_error;
}

/* The causes a caller meets, in the same words on every system. */
const char *tessaro_system_error_text(int error)
{
    static const struct {
        int error;
        const char *text;
    } causes[] = {
#ifdef _WIN32
        {WSAECONNREFUSED, "connection refused"},     {WSAETIMEDOUT, "timed out"},
        {WSAENETUNREACH, "network unreachable"},     {WSAEHOSTUNREACH, "host unreachable"},
        {WSAECONNRESET, "connection reset by the peer"}, {WSAECONNABORTED, "connection aborted"},
        {WSAENETDOWN, "network down"},               {WSAEADDRNOTAVAIL, "address not available"},
#else
        {ECONNREFUSED, "connection refused"},        {ETIMEDOUT, "timed out"},
        {ENETUNREACH, "network unreachable"},        {EHOSTUNREACH, "host unreachable"},
        {ECONNRESET, "connection reset by the peer"}, {ECONNABORTED, "connection aborted"},
        {ENETDOWN, "network down"},                  {EADDRNOTAVAIL, "address not available"},
        {EPIPE, "connection reset by the peer"},
#endif
    };
    size_t i;

    for (i = 0; i < sizeof(causes) / sizeof(causes[0]); i++) {
        if (causes[i].error == error)
            return causes[i].text;
    }
    return error == 0 ? "the connection failed or broke" : "a system error";
}

#ifdef _WIN32
/* Winsock cannot tell a socket's mode, and a blocking send holds its caller as long as a peer that
 * reads nothing likes (not every Winsock keeps to SO_SNDTIMEO). So the library's calls make the
 * socket non-blocking, wait on it with select, and the last of them to end makes it blocking again,
 * unless tessaro_socket_set_block made it non-blocking. The sockets that are so or that calls are
 * using are listed here, in order, with their calls counted, so that one thread's call cannot make
 * the socket blocking under another's. */
struct tessaro_socket_use {
    tessaro_socket_t sock;
    int nonblocking; /* made so by tessaro_socket_set_block */
    int calls;       /* calls of the library under way on it */
};
static SRWLOCK tessaro_uses_lock = SRWLOCK_INIT;
static struct tessaro_socket_use *tessaro_uses = NULL;
static size_t tessaro_uses_count = 0, tessaro_uses_room = 0;

/* Where sock stands in the list, or where it would go (the lock held). */
static size_t tessaro_use_at(tessaro_socket_t sock)
{
    size_t low = 0, high = tessaro_uses_count, middle;

    while (low < high) {
        middle = low + (high - low) / 2;
        if (tessaro_uses[middle].sock < sock)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

/* sock's entry, added when it has none and add is set (the lock held); NULL when it has none. */
static struct tessaro_socket_use *tessaro_use_of(tessaro_socket_t sock, int add)
{
    struct tessaro_socket_use *larger;
    size_t at = tessaro_use_at(sock), room;

    if (at < tessaro_uses_count && tessaro_uses[at].sock == sock)
        return &tessaro_uses[at];
    if (!add)
        return NULL;
    if (tessaro_uses_count == tessaro_uses_room) {
        room = tessaro_uses_room == 0 ? 16 : tessaro_uses_room * 2;
        if ((larger = (struct tessaro_socket_use *)realloc(tessaro_uses, room * sizeof(*larger))) == NULL)
            return NULL;
        tessaro_uses = larger;
        tessaro_uses_room = room;
    }
    memmove(tessaro_uses + at + 1, tessaro_uses + at, (tessaro_uses_count - at) * sizeof(*tessaro_uses));
    tessaro_uses[at].sock = sock;
    tessaro_uses[at].nonblocking = 0;
    tessaro_uses[at].calls = 0;
    tessaro_uses_count++;
    return &tessaro_uses[at];
}

/* Takes sock's entry off the list when it tells nothing any more, or whatever it tells (all set);
 * the lock held. */
static void tessaro_use_forget(tessaro_socket_t sock, int all)
{
    size_t at = tessaro_use_at(sock);

    if (at >= tessaro_uses_count || tessaro_uses[at].sock != sock ||
        (!all && (tessaro_uses[at].nonblocking || tessaro_uses[at].calls > 0)))
        return;
    memmove(tessaro_uses + at, tessaro_uses + at + 1, (tessaro_uses_count - at - 1) * sizeof(*tessaro_uses));
    if (--tessaro_uses_count == 0) {
        free(tessaro_uses);
        tessaro_uses = NULL;
        tessaro_uses_room = 0;
    }
}

/* Sets the socket's mode: 0 or the system's error code. */
static int tessaro_set_nonblocking(tessaro_socket_t sock, int nonblocking)
{
    u_long mode = nonblocking ? 1 : 0;

    return ioctlsocket(sock, FIONBIO, &mode) == 0 ? 0 : WSAGetLastError();
}
#endif

/* Begins one call of the library on the socket, which then waits on it within its time-out: on
 * Winsock it makes the socket non-blocking; POSIX sockets stay as they are, as each receive and send
 * there is told not to wait. 0, or TESSARO_ERROR when the socket cannot be made so. */
static int tessaro_io_begin(tessaro_socket_t sock)
{
#ifdef _WIN32
    struct tessaro_socket_use *use;
    int error = 0;

    AcquireSRWLockExclusive(&tessaro_uses_lock);
    if ((use = tessaro_use_of(sock, 1)) == NULL)
        error = ERROR_NOT_ENOUGH_MEMORY;
    else if (use->calls > 0 || (error = tessaro_set_nonblocking(sock, 1)) == 0)
        use->calls++;
    else
        tessaro_use_forget(sock, 0);
    ReleaseSRWLockExclusive(&tessaro_uses_lock);
    return error == 0 ? 0 : tessaro_failed(error);
#else
    (void)sock;
    return 0;
#endif
}

/* Ends the call begun by tessaro_io_begin: its result, once the socket has its mode again. */
static int tessaro_io_end(tessaro_socket_t sock, int result)
{
#ifdef _WIN32
    struct tessaro_socket_use *use;
    int error = 0, last = WSAGetLastError();

    AcquireSRWLockExclusive(&tessaro_uses_lock);
    if ((use = tessaro_use_of(sock, 0)) != NULL && --use->calls == 0 && !use->nonblocking)
        error = tessaro_set_nonblocking(sock, 0);
    tessaro_use_forget(sock, 0);
    ReleaseSRWLockExclusive(&tessaro_uses_lock);
    WSASetLastError(last);
    if (error != 0 && result == 0)
        result = tessaro_failed(error);
#else
    (void)sock;
#endif
    return result;
}

static int tessaro_startup(void)
{
#ifdef _WIN32
    static int started = 0;
    WSADATA data;
    if (!started) {
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
            return TESSARO_ERROR;
        started = 1;
    }
#endif
    return 0;
}

/* One wait of at most timeout (negative: no end) until the socket is ready
 * to read (write 0) or write (write 1): 1 when it is, TESSARO_WAIT_TROUBLED
 * when the system tells of an error or a hang-up with it (POSIX only), 0 when
 * the time passed, TESSARO_WAIT_BROKEN when a signal broke in, -1 on an error. */
#define TESSARO_WAIT_BROKEN (-2)
#define TESSARO_WAIT_TROUBLED 2
#ifdef _WIN32
/* A Winsock set is a counted array of sockets, not a bit set indexed by the
 * socket's number: any socket fits, as long as the count took it. */
static int tessaro_wait_once(tessaro_socket_t sock, int write, tessaro_usec_t timeout)
{
    fd_set set;
    struct timeval limit;
    int ready;

    FD_ZERO(&set);
    FD_SET(sock, &set);
    if (set.fd_count != 1)
        return -1;
    limit.tv_sec = (long)(timeout / TESSARO_USEC_PER_SEC);
    limit.tv_usec = (long)(timeout % TESSARO_USEC_PER_SEC);
    ready = select(0, write ? NULL : &set, write ? &set : NULL, NULL, timeout < 0 ? NULL : &limit);
    if (ready < 0)
        return TESSARO_LAST_ERROR() == WSAEINTR ? TESSARO_WAIT_BROKEN : -1;
    return ready > 0 ? 1 : 0;
}
#else
/* poll, not select: a select set holds descriptors below FD_SETSIZE only,
 * and a busy server has sockets above it. */
static int tessaro_wait_once(tessaro_socket_t sock, int write, tessaro_usec_t timeout)
{
    struct pollfd entry;
    /* milliseconds, rounded up; a negative time-out waits without end (poll's -1) */
    tessaro_usec_t milliseconds = timeout < 0 ? -1 : (timeout + 999) / 1000;
    int ready;

    if (milliseconds > 0x7fffffff)
        milliseconds = 0x7fffffff;
    entry.fd = sock;
    entry.events = write ? POLLOUT : POLLIN;
    entry.revents = 0;
    ready = poll(&entry, 1, (int)milliseconds);
    /* An error or a hang-up is ready too: the read or write that follows reports it. */
    if (ready < 0)
        return errno == EINTR ? TESSARO_WAIT_BROKEN : -1;
    if (ready > 0 && (entry.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)
        return TESSARO_WAIT_TROUBLED;
    return ready > 0 ? 1 : 0;
}
#endif

/* tessaro_wait_once's result, the wait started again after a signal for what is left of the time-out,
 * not all of it. */
static int tessaro_wait_ready(tessaro_socket_t sock, int write, tessaro_usec_t timeout)
{
    tessaro_usec_t deadline = tessaro_deadline(timeout);
    int ready;

    do
        ready = tessaro_wait_once(sock, write, tessaro_left(deadline, timeout));
    while (ready == TESSARO_WAIT_BROKEN);
    return ready;
}

/* 0 when the socket is ready to read (write 0) or write (write 1),
 * TESSARO_TIMEOUT when the time-out passed first. */
int tessaro_socket_wait(tessaro_socket_t sock, int write, tessaro_usec_t timeout)
{
    int ready = tessaro_wait_ready(sock, write, timeout);

    if (ready > 0)
        return 0;
    return ready == 0 ? TESSARO_TIMEOUT : TESSARO_ERROR;
}

int tessaro_create_tcp_socket(tessaro_socket_t *sock)
{
    if (tessaro_startup() != 0)
        return TESSARO_ERROR;
    *sock = socket(AF_INET, SOCK_STREAM, 0);
    return *sock == INVALID_SOCKET ? TESSARO_ERROR : 0;
}

int tessaro_socket_create_tcp_listen(tessaro_socket_t *sock, tessaro_port_t port, int backlog)
{
    struct sockaddr_in address;
    int on = 1;

    if (tessaro_create_tcp_socket(sock) != 0)
        return TESSARO_ERROR;
    memset(&address, 0, sizeof(address));
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    if (setsockopt(*sock, SOL_SOCKET, SO_REUSEADDR, (const char *)&on, sizeof(on)) != 0 ||
        bind(*sock, (struct sockaddr *)&address, sizeof(address)) != 0 || listen(*sock, backlog) != 0) {
        tessaro_socket_close(*sock);
        *sock = INVALID_SOCKET;
        return TESSARO_ERROR;
    }
    return 0;
}

/* 0 once a connect begun on a non-blocking socket has succeeded,
 * TESSARO_TIMEOUT when it has not ended by then, TESSARO_ERROR when it
 * failed. Winsock reports a failed connect in the exception set only. A socket
 * that became writable with nothing wrong told of it is connected: only a
 * failure's cause is asked for, so that a connection costs the wait alone. */
static int tessaro_connect_finish(tessaro_socket_t sock, tessaro_usec_t timeout)
{
    int error = 0;
    socklen_t size = sizeof(error);
    int ready;
#ifdef _WIN32
    tessaro_usec_t deadline = tessaro_deadline(timeout);
    fd_set writable, failed;
    struct timeval limit;
    tessaro_usec_t left;

    do {
        left = tessaro_left(deadline, timeout);
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(sock, &writable);
        FD_SET(sock, &failed);
        limit.tv_sec = (long)(left / TESSARO_USEC_PER_SEC);
        limit.tv_usec = (long)(left % TESSARO_USEC_PER_SEC);
        ready = select(0, NULL, &writable, &failed, left < 0 ? NULL : &limit);
    } while (ready < 0 && TESSARO_LAST_ERROR() == WSAEINTR);
    if (ready > 0 && !FD_ISSET(sock, &failed))
        return 0;
#else
    ready = tessaro_wait_ready(sock, 1, timeout);
    if (ready == 1)
        return 0;
#endif
    if (ready == 0)
        return TESSARO_TIMEOUT;
    if (ready < 0 || getsockopt(sock, SOL_SOCKET, SO_ERROR, (char *)&error, &size) != 0)
        return tessaro_failed(TESSARO_LAST_ERROR());
    return error != 0 ? tessaro_failed(error) : 0;
}

int tessaro_connect(tessaro_socket_t sock, const char *host, tessaro_port_t port)
{
    return tessaro_connect_within(sock, host, port, -1);
}

/* A name lookup that may outlast its caller: the caller waits for it until its deadline, and a lookup
 * left so frees itself when the resolver answers at last. */
struct tessaro_lookup {
    char host[256];
    struct addrinfo hints;
    struct addrinfo *found;
    int status;    /* getaddrinfo's */
    int done;      /* the resolver has answered */
    int abandoned; /* the caller has gone */
#ifdef _WIN32
    SRWLOCK lock;
    CONDITION_VARIABLE answered;
    HANDLE thread;
#else
    pthread_mutex_t lock;
    pthread_cond_t answered;
    pthread_t thread;
#endif
};

static void tessaro_lookup_lock(struct tessaro_lookup *lookup)
{
#ifdef _WIN32
    AcquireSRWLockExclusive(&lookup->lock);
#else
    pthread_mutex_lock(&lookup->lock);
#endif
}

static void tessaro_lookup_unlock(struct tessaro_lookup *lookup)
{
#ifdef _WIN32
    ReleaseSRWLockExclusive(&lookup->lock);
#else
    pthread_mutex_unlock(&lookup->lock);
#endif
}

static void tessaro_lookup_free(struct tessaro_lookup *lookup)
{
    if (lookup->found != NULL)
        freeaddrinfo(lookup->found);
#ifndef _WIN32
    pthread_cond_destroy(&lookup->answered);
    pthread_mutex_destroy(&lookup->lock);
#endif
    free(lookup);
}

/* The lookup's thread: asks the resolver, then hands the answer to the caller, or frees it all when
 * the caller has stopped waiting. */
#ifdef _WIN32
static DWORD WINAPI tessaro_lookup_run(LPVOID argument)
#else
static void *tessaro_lookup_run(void *argument)
#endif
{
    struct tessaro_lookup *lookup = (struct tessaro_lookup *)argument;
    struct addrinfo *found = NULL;
    int status = getaddrinfo(lookup->host, NULL, &lookup->hints, &found), abandoned;

    tessaro_lookup_lock(lookup);
    lookup->found = found;
    lookup->status = status;
    lookup->done = 1;
    abandoned = lookup->abandoned;
#ifdef _WIN32
    WakeAllConditionVariable(&lookup->answered);
#else
    pthread_cond_broadcast(&lookup->answered);
#endif
    tessaro_lookup_unlock(lookup);
    if (abandoned)
        tessaro_lookup_free(lookup);
    return 0;
}

/* Waits (the lock held) for the resolver's answer until the deadline: 1 once it has answered. */
static int tessaro_lookup_wait(struct tessaro_lookup *lookup, tessaro_usec_t deadline, tessaro_usec_t timeout)
{
    tessaro_usec_t left;
#ifndef _WIN32
    struct timespec until;
#endif

    while (!lookup->done && (left = tessaro_left(deadline, timeout)) > 0) {
#ifdef _WIN32
        SleepConditionVariableSRW(&lookup->answered, &lookup->lock, (DWORD)((left + 999) / 1000), 0);
#else
        clock_gettime(CLOCK_MONOTONIC, &until);
        until.tv_sec += (time_t)(left / TESSARO_USEC_PER_SEC);
        until.tv_nsec += (long)(left % TESSARO_USEC_PER_SEC) * 1000;
        if (until.tv_nsec >= 1000000000L) {
            until.tv_sec++;
            until.tv_nsec -= 1000000000L;
        }
        pthread_cond_timedwait(&lookup->answered, &lookup->lock, &until);
#endif
    }
    return lookup->done;
}

/* A lookup of its own for the host, its thread started: NULL when either cannot be had. The thread is
 * joined when it answers in time (it is then about to end, and a caller that exits right after must not
 * leave the resolver's per-thread memory behind) and let go when its caller leaves it. */
static struct tessaro_lookup *tessaro_lookup_start(const char *host, const struct addrinfo *hints)
{
    struct tessaro_lookup *lookup = (struct tessaro_lookup *)calloc(1, sizeof(*lookup));
#ifndef _WIN32
    pthread_condattr_t clock;
#endif

    if (lookup == NULL)
        return NULL;
    strcpy(lookup->host, host);
    lookup->hints = *hints;
#ifdef _WIN32
    InitializeSRWLock(&lookup->lock);
    InitializeConditionVariable(&lookup->answered);
    if ((lookup->thread = CreateThread(NULL, 0, tessaro_lookup_run, lookup, 0, NULL)) == NULL) {
        free(lookup);
        return NULL;
    }
#else
    pthread_condattr_init(&clock);
    pthread_condattr_setclock(&clock, CLOCK_MONOTONIC);
    pthread_mutex_init(&lookup->lock, NULL);
    pthread_cond_init(&lookup->answered, &clock);
    pthread_condattr_destroy(&clock);
    if (pthread_create(&lookup->thread, NULL, tessaro_lookup_run, lookup) != 0) {
        tessaro_lookup_free(lookup);
        return NULL;
    }
#endif
    return lookup;
}

/* Waits for a lookup's thread that has answered to end, or lets one that was left run on alone. */
#ifdef _WIN32
static void tessaro_lookup_settle_thread(HANDLE thread, int answered)
{
    if (answered)
        WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}
#else
static void tessaro_lookup_settle_thread(pthread_t thread, int answered)
{
    if (answered)
        pthread_join(thread, NULL);
    else
        pthread_detach(thread);
}
#endif

/* The addresses of host (family AF_UNSPEC for any), found by the deadline: 0 with *found,
 * TESSARO_HOST_NOT_FOUND, TESSARO_TIMEOUT when the resolver has not answered by then, or TESSARO_ERROR.
 * An address written as one needs no resolver; a name is looked up on a thread of its own, as the
 * system's lookup cannot be told to end. */
static int tessaro_lookup(const char *host, int family, tessaro_usec_t timeout, struct addrinfo **found)
{
    tessaro_usec_t deadline = tessaro_deadline(timeout);
    struct tessaro_lookup *lookup;
    struct addrinfo hints;
    int status, answered;
#ifdef _WIN32
    HANDLE thread;
#else
    pthread_t thread;
#endif

    *found = NULL;
    memset(&hints, 0, sizeof(hints));
    hints.ai_family = family;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST;
    if (getaddrinfo(host, NULL, &hints, found) == 0)
        return 0;
    *found = NULL;
    hints.ai_flags = 0;
    if (timeout < 0)
        return getaddrinfo(host, NULL, &hints, found) == 0 ? 0 : TESSARO_HOST_NOT_FOUND;
    if (strlen(host) >= sizeof(lookup->host))
        return TESSARO_HOST_NOT_FOUND;
    if ((lookup = tessaro_lookup_start(host, &hints)) == NULL)
        return TESSARO_ERROR;
    tessaro_lookup_lock(lookup);
    answered = tessaro_lookup_wait(lookup, deadline, timeout);
    lookup->abandoned = !answered;
    status = lookup->status;
    thread = lookup->thread; /* a lookup left may be freed by its thread once unlocked */
    if (answered) {
        *found = lookup->found;
        lookup->found = NULL;
    }
    tessaro_lookup_unlock(lookup);
    tessaro_lookup_settle_thread(thread, answered);
    if (answered)
        tessaro_lookup_free(lookup);
    if (!answered)
        return TESSARO_TIMEOUT;
    return status == 0 ? 0 : TESSARO_HOST_NOT_FOUND;
}

/* Connects the socket to one address within the time-out; the socket is left blocking. made: the
 * socket is one tessaro_connect_host made, whose mode is known without asking. unawaited (POSIX, a socket
 * made): the socket is left non-blocking and a connect under way is not waited for, since the first send
 * waits for it (the kernel takes a send on a connecting socket as one that would block). */
static int tessaro_connect_address(tessaro_socket_t sock, const struct sockaddr *address, socklen_t size,
                                   tessaro_usec_t timeout, int made, int unawaited)
{
    int result, nodelay = 1;
#ifndef _WIN32
    /* the mode, read once for both changes unless known */
    int flags = made ? TESSARO_MADE_MODE : fcntl(sock, F_GETFL, 0);
#else
    (void)made;
#endif

    /* Non-blocking, so that a host that drops the attempt (or a full accept queue) cannot hold the
     * caller past its time-out. */
#ifdef _WIN32
    if (tessaro_socket_set_block(sock, 0) != 0)
#else
    if (flags < 0 || ((flags & O_NONBLOCK) == 0 && fcntl(sock, F_SETFL, flags | O_NONBLOCK) != 0))
#endif
        return TESSARO_ERROR;
    if (connect(sock, address, size) == 0)
        result = 0;
#ifdef _WIN32
    else if (TESSARO_LAST_ERROR() == WSAEWOULDBLOCK)
#else
    else if (errno == EINPROGRESS || errno == EINTR)
#endif
        result = unawaited ? 0 : tessaro_connect_finish(sock, timeout);
    else
        result = tessaro_failed(TESSARO_LAST_ERROR());
#ifdef _WIN32
    (void)unawaited;
    if (tessaro_socket_set_block(sock, 1) != 0 && result == 0)
#else
    if (!unawaited && fcntl(sock, F_SETFL, flags & ~O_NONBLOCK) != 0 && result == 0)
#endif
        result = TESSARO_ERROR;
    /* A message goes out in one send; the handshake's small records must not wait for the peer's
     * delayed acknowledgement. */
    if (result == 0)
        setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, (const char *)&nodelay, sizeof(nodelay));
    return result;
}

/* The address found, with the port. */
static void tessaro_address_with_port(const struct addrinfo *at, tessaro_port_t port, struct sockaddr_storage *address)
{
    memset(address, 0, sizeof(*address));
    memcpy(address, at->ai_addr, at->ai_addrlen);
    if (at->ai_family == AF_INET6)
        ((struct sockaddr_in6 *)address)->sin6_port = htons(port);
    else
        ((struct sockaddr_in *)address)->sin_port = htons(port);
}

/* Whether an address found can be connected to: IPv4 or IPv6, of a size the storage takes. */
static int tessaro_address_usable(const struct addrinfo *at, int family)
{
    return (at->ai_family == AF_INET || at->ai_family == AF_INET6) && (family == AF_UNSPEC || at->ai_family == family) &&
           (size_t)at->ai_addrlen <= sizeof(struct sockaddr_storage);
}

/* How many addresses from at on can be connected to. */
static int tessaro_addresses_left(const struct addrinfo *at)
{
    int count = 0;

    for (; at != NULL; at = at->ai_next)
        count += tessaro_address_usable(at, AF_UNSPEC);
    return count;
}

int tessaro_connect_within(tessaro_socket_t sock, const char *host, tessaro_port_t port, tessaro_usec_t timeout)
{
    struct sockaddr_storage address;
    struct addrinfo *found = NULL;
    struct addrinfo *at;
    int result;

    tessaro_system_error = 0;
    if (host == NULL || host[0] == '\0' || tessaro_startup() != 0)
        return TESSARO_ERROR;
    /* the socket of tessaro_create_tcp_socket is IPv4 */
    if ((result = tessaro_lookup(host, AF_INET, timeout, &found)) != 0)
        return result;
    result = TESSARO_HOST_NOT_FOUND; /* until an IPv4 address is found */
    /* The first address: a socket whose connect failed is not used again. */
    for (at = found; at != NULL; at = at->ai_next) {
        if (!tessaro_address_usable(at, AF_INET))
            continue;
        tessaro_address_with_port(at, port, &address);
        result = tessaro_connect_address(sock, (struct sockaddr *)&address, (socklen_t)at->ai_addrlen, timeout, 0, 0);
        break;
    }
    freeaddrinfo(found);
    return result;
}

/* tessaro_connect_host, or with unawaited tessaro_connect_host_unawaited. */
static int tessaro_connect_host_as(tessaro_socket_t *sock, const char *host, tessaro_port_t port, tessaro_usec_t timeout,
                                   int unawaited)
{
    tessaro_usec_t deadline = tessaro_deadline(timeout), left;
    struct sockaddr_storage address;
    struct addrinfo *found = NULL;
    struct addrinfo *at;
    int result, error = 0;

    *sock = INVALID_SOCKET;
    tessaro_system_error = 0;
    if (host == NULL || host[0] == '\0' || tessaro_startup() != 0)
        return TESSARO_ERROR;
    if ((result = tessaro_lookup(host, AF_UNSPEC, timeout, &found)) != 0)
        return result;
    result = TESSARO_HOST_NOT_FOUND; /* until an address of either kind is found */
    /* Each address in the resolver's order, on a socket of its own, until one takes the connection;
     * each has an even share of the time left, so that an address that drops the attempt leaves time
     * for the others. The first failure's cause is the one kept. */
    for (at = found; at != NULL && result != 0; at = at->ai_next) {
        if (!tessaro_address_usable(at, AF_UNSPEC))
            continue;
        left = tessaro_left(deadline, timeout);
        if (timeout >= 0 && left == 0) {
            result = TESSARO_TIMEOUT;
            break;
        }
        if ((*sock = socket(at->ai_family, TESSARO_STREAM_NONBLOCKING, 0)) == INVALID_SOCKET) {
            result = tessaro_failed(TESSARO_LAST_ERROR());
        } else {
            tessaro_address_with_port(at, port, &address);
            /* an address before the last is waited for, so that its failure can pass on to the next */
            result = tessaro_connect_address(*sock, (struct sockaddr *)&address, (socklen_t)at->ai_addrlen,
                                             timeout < 0 ? timeout : left / tessaro_addresses_left(at), 1,
                                             unawaited && tessaro_addresses_left(at) == 1);
        }
        if (result == TESSARO_ERROR && error == 0)
            error = tessaro_system_error;
        if (result != 0 && *sock != INVALID_SOCKET) {
            tessaro_socket_close(*sock);
            *sock = INVALID_SOCKET;
        }
    }
    freeaddrinfo(found);
    if (result == TESSARO_ERROR && error != 0)
        tessaro_system_error = error;
    return result;
}

int tessaro_connect_host(tessaro_socket_t *sock, const char *host, tessaro_port_t port, tessaro_usec_t timeout)
{
    return tessaro_connect_host_as(sock, host, port, timeout, 0);
}

int tessaro_connect_host_unawaited(tessaro_socket_t *sock, const char *host, tessaro_port_t port, tessaro_usec_t timeout)
{
#ifdef _WIN32
    /* a Winsock send on a connecting socket fails rather than waits */
    return tessaro_connect_host_as(sock, host, port, timeout, 0);
#else
    return tessaro_connect_host_as(sock, host, port, timeout, 1);
#endif
}

int tessaro_socket_connected(tessaro_socket_t sock)
{
    struct sockaddr_storage peer;
    socklen_t size = sizeof(peer);

    return getpeername(sock, (struct sockaddr *)&peer, &size) == 0;
}

int tessaro_proxy_tunnel(tessaro_socket_t sock, const char *host, tessaro_port_t port, tessaro_usec_t timeout)
{
    return tessaro_proxy_tunnel_as(sock, host, port, NULL, NULL, timeout);
}

/* The status of an answer's status line (HTTP/1.x NNN), or 0 when it is none. */
static int tessaro_proxy_status(const char *line)
{
    if (strncmp(line, "HTTP/1.", 7) != 0 || line[7] < '0' || line[7] > '9' || line[8] != ' ' || line[9] < '1' ||
        line[9] > '5' || line[10] < '0' || line[10] > '9' || line[11] < '0' || line[11] > '9' ||
        (line[12] != ' ' && line[12] != '\r'))
        return 0;
    return (line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0');
}

/* Keeps the value of a Proxy-Authenticate line of the answer's head in the answer, after those before
 * it (one a line); what does not fit is left out whole. */
static void tessaro_proxy_challenge(tessaro_proxy_answer_t *answer, const char *line, tessaro_size_t len)
{
    static const char name[] = "proxy-authenticate:";
    size_t at = sizeof(name) - 1, kept = strlen(answer->challenges), value;

    if (len < at + 2 || strncasecmp(line, name, at) != 0)
        return;
    at += strspn(line + at, " \t");
    value = len - 2 - at; /* without the CR LF */
    if (kept + value + 2 > sizeof(answer->challenges))
        return;
    memcpy(answer->challenges + kept, line + at, value);
    strcpy(answer->challenges + kept + value, "\n");
}

int tessaro_proxy_tunnel_as(tessaro_socket_t sock, const char *host, tessaro_port_t port, const char *authorization,
                            tessaro_proxy_answer_t *answer, tessaro_usec_t timeout)
{
    tessaro_usec_t deadline = tessaro_deadline(timeout);
    tessaro_proxy_answer_t ignored;
    char request[600 + TESSARO_MAX_LINE];
    char line[TESSARO_MAX_LINE + 1];
    const char *opening, *closing;
    tessaro_size_t len;
    int result, lines = 0, length;

    if (answer == NULL)
        answer = &ignored;
    memset(answer, 0, sizeof(*answer));
    if (host == NULL || strlen(host) > 255 || strpbrk(host, "\r\n ") != NULL)
        return TESSARO_ERROR;
    if (authorization != NULL && (strlen(authorization) > TESSARO_MAX_LINE || strpbrk(authorization, "\r\n") != NULL))
        return TESSARO_ERROR;
    /* an IPv6 address goes in brackets, as in a URL */
    opening = strchr(host, ':') != NULL ? "[" : "";
    closing = opening[0] != '\0' ? "]" : "";
    length = snprintf(request, sizeof(request), "CONNECT %s%s%s:%u HTTP/1.1\r\nHost: %s%s%s:%u\r\n%s%s%s\r\n", opening,
                      host, closing, (unsigned)port, opening, host, closing, (unsigned)port,
                      authorization != NULL ? "Proxy-Authorization: " : "", authorization != NULL ? authorization : "",
                      authorization != NULL ? "\r\n" : "");
    if ((result = tessaro_socket_send_all(sock, request, (tessaro_size_t)length, &len, timeout)) != 0)
        return result;
    /* The answer's head, line by line: nothing of what follows it (the tunnel's first bytes) may be
     * taken. A refusal's head is read to its end for the proxy's challenges. */
    for (;;) {
        result = tessaro_socket_recv_line(sock, line, &len, tessaro_left(deadline, timeout));
        if (result == TESSARO_ERROR && len == TESSARO_MAX_LINE)
            return TESSARO_PROXY_REFUSED;
        if (result != 0)
            return (lines == 0 && result == TESSARO_END_OF_STREAM) || answer->status != 0 ? TESSARO_PROXY_REFUSED
                                                                                           : result;
        line[len] = '\0';
        if (lines++ == 0) {
            if ((answer->status = tessaro_proxy_status(line)) == 0)
                return TESSARO_PROXY_REFUSED;
        } else if (len == 2) {
            return answer->status / 100 == 2 ? 0 : TESSARO_PROXY_REFUSED;
        } else {
            tessaro_proxy_challenge(answer, line, len);
        }
        if (lines > 100)
            return TESSARO_PROXY_REFUSED;
    }
}

int tessaro_socket_idle_open(tessaro_socket_t sock)
{
    /* Readable between exchanges means an end of stream, a reset, or bytes
     * nobody asked for (a server's unasked answer, a TLS alert): none
     * leaves the connection usable. */
    return sock != INVALID_SOCKET && tessaro_socket_wait(sock, 0, 0) == TESSARO_TIMEOUT;
}

const char *tessaro_result_text(int result)
{
    switch (result) {
    case 0:
        return "done";
    case TESSARO_ERROR:
        return "the connection failed or broke";
    case TESSARO_END_OF_STREAM:
        return "the peer closed the connection";
    case TESSARO_TIMEOUT:
        return "the time-out passed";
    case TESSARO_HOST_NOT_FOUND:
        return "the host name was not found";
    case TESSARO_TLS_HANDSHAKE:
        return "the TLS handshake failed (no common protocol of TLS 1.2 or later, or the peer speaks no TLS)";
    case TESSARO_TLS_UNTRUSTED:
        return "the server's certificate was refused: no trusted authority issued it";
    case TESSARO_TLS_WRONG_HOST:
        return "the server's certificate was refused: it was issued for another host name";
    case TESSARO_TLS_EXPIRED:
        return "the server's certificate was refused: it has expired";
    case TESSARO_TLS_CERTIFICATE:
        return "the server's certificate was refused (not yet valid, revoked, or badly signed)";
    case TESSARO_TLS_CA_FILE:
        return "the CA file could not be read (no PEM certificate in it)";
    case TESSARO_PROXY_REFUSED:
        return "the proxy refused the tunnel to the host";
    }
    return "unknown result";
}

int tessaro_socket_set_block(tessaro_socket_t sock, int block)
{
#ifdef _WIN32
    struct tessaro_socket_use *use;
    int result = 0;

    /* While calls are under way the socket stays non-blocking: the last to end sets the mode. */
    AcquireSRWLockExclusive(&tessaro_uses_lock);
    use = tessaro_use_of(sock, !block);
    if (!block && use == NULL)
        result = TESSARO_ERROR;
    else if ((use == NULL || use->calls == 0) && tessaro_set_nonblocking(sock, !block) != 0)
        result = TESSARO_ERROR;
    else if (use != NULL)
        use->nonblocking = !block;
    tessaro_use_forget(sock, 0);
    ReleaseSRWLockExclusive(&tessaro_uses_lock);
    return result;
#else
    int flags = fcntl(sock, F_GETFL, 0);
    int wanted;
    if (flags < 0)
        return TESSARO_ERROR;
    wanted = block ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
    /* A reader sets its socket's mode before every message: mostly it has it already. */
    if (wanted == flags)
        return 0;
    return fcntl(sock, F_SETFL, wanted) == 0 ? 0 : TESSARO_ERROR;
#endif
}

/* The receives asked of the system, counted for the tests that check a request takes one. */
static long tessaro_receives;

long tessaro_socket_receive_count(void)
{
    return __atomic_load_n(&tessaro_receives, __ATOMIC_RELAXED);
}

static long tessaro_counted_recv(tessaro_socket_t sock, char *buf, tessaro_size_t want, int flags)
{
    __atomic_add_fetch(&tessaro_receives, 1, __ATOMIC_RELAXED);
    return (long)recv(sock, buf, (tessaro_io_t)(want > 0x40000000u ? 0x40000000u : want), flags);
}

int tessaro_socket_recv_now(tessaro_socket_t sock, void *buf, tessaro_size_t *len)
{
    tessaro_size_t want = *len;
    long got;

    *len = 0;
    tessaro_system_error = 0;
#ifdef _WIN32
    /* a socket's mode cannot be read here: a receive is asked only of one that is readable */
    if (tessaro_socket_wait(sock, 0, 0) != 0)
        return 0;
    got = tessaro_counted_recv(sock, (char *)buf, want, 0);
#else
    got = tessaro_counted_recv(sock, (char *)buf, want, MSG_DONTWAIT);
#endif
    if (got > 0)
        *len = (tessaro_size_t)got;
    else if (got == 0)
        return want > 0 ? TESSARO_END_OF_STREAM : 0;
    else if (!TESSARO_WOULD_BLOCK(TESSARO_LAST_ERROR()))
        return tessaro_failed(TESSARO_LAST_ERROR());
    return 0;
}

/* Receives some bytes with the flags given, waiting for them until the deadline; the socket is
 * non-blocking or the flags say not to wait. */
static int tessaro_receive(tessaro_socket_t sock, void *buf, tessaro_size_t *len, tessaro_usec_t deadline,
                           tessaro_usec_t timeout, int flags)
{
    tessaro_size_t want = *len;
    int result;
    long got;

    *len = 0;
    if (want == 0)
        return 0;
    for (;;) {
        got = tessaro_counted_recv(sock, (char *)buf, want, flags | TESSARO_DONT_WAIT);
        if (got > 0) {
            *len = (tessaro_size_t)got;
            return 0;
        }
        if (got == 0)
            return TESSARO_END_OF_STREAM;
        if (!TESSARO_WOULD_BLOCK(TESSARO_LAST_ERROR()))
            return tessaro_failed(TESSARO_LAST_ERROR());
        if ((result = tessaro_socket_wait(sock, 0, tessaro_left(deadline, timeout))) != 0)
            return result;
    }
}

static int tessaro_receive_all(tessaro_socket_t sock, char *buf, tessaro_size_t count, tessaro_size_t *received,
                               tessaro_usec_t deadline, tessaro_usec_t timeout)
{
    tessaro_size_t len;
    int result;

    while (*received < count) {
        len = count - *received;
        if ((result = tessaro_receive(sock, buf + *received, &len, deadline, timeout, 0)) != 0)
            return result;
        *received += len;
    }
    return 0;
}

static int tessaro_receive_line(tessaro_socket_t sock, char *text, tessaro_size_t *len, tessaro_usec_t deadline,
                                tessaro_usec_t timeout)
{
    tessaro_size_t one;
    int result;

    while (*len < TESSARO_MAX_LINE) {
        one = 1;
        if ((result = tessaro_receive(sock, text + *len, &one, deadline, timeout, 0)) != 0)
            return result;
        *len += 1;
        if (*len >= 2 && text[*len - 2] == '\r' && text[*len - 1] == '\n')
            return 0;
    }
    return TESSARO_ERROR;
}

static int tessaro_send_all(tessaro_socket_t sock, const char *text, tessaro_size_t len, tessaro_size_t *sent,
                            tessaro_usec_t deadline, tessaro_usec_t timeout)
{
    tessaro_size_t piece;
    int result;
    long done;

    while (*sent < len) {
        piece = len - *sent > 0x40000000u ? 0x40000000u : len - *sent;
        done = (long)send(sock, text + *sent, (tessaro_io_t)piece, TESSARO_SEND_FLAGS | TESSARO_DONT_WAIT);
        if (done > 0)
            *sent += (tessaro_size_t)done;
        else if (done < 0 && !TESSARO_WOULD_BLOCK(TESSARO_LAST_ERROR()))
            return tessaro_failed(TESSARO_LAST_ERROR());
        else if ((result = tessaro_socket_wait(sock, 1, tessaro_left(deadline, timeout))) != 0)
            return result;
    }
    return 0;
}

/* The public receive and send calls, each between tessaro_io_begin and tessaro_io_end, with a deadline
 * of its own. */

/* count: the bytes asked for; *done: the bytes received or sent. */
static int tessaro_io(tessaro_socket_t sock, enum tessaro_call call, const void *buf, tessaro_size_t count,
                      tessaro_size_t *done, tessaro_usec_t timeout)
{
    tessaro_usec_t deadline = tessaro_deadline(timeout);
    char *into = (char *)buf; /* the receives' buffer, which their callers gave writable */
    int result;

    *done = 0;
    tessaro_system_error = 0;
    if ((result = tessaro_sink_takes(sock, call, buf, count, done, timeout)) != 0)
        return result > 0 ? 0 : result;
    if ((result = tessaro_io_begin(sock)) != 0)
        return result;
    switch (call) {
    case TESSARO_RECEIVE:
    case TESSARO_PEEK:
        *done = count;
        result = tessaro_receive(sock, into, done, deadline, timeout, call == TESSARO_PEEK ? MSG_PEEK : 0);
        break;
    case TESSARO_RECEIVE_ALL:
        result = tessaro_receive_all(sock, into, count, done, deadline, timeout);
        break;
    case TESSARO_RECEIVE_LINE:
        result = tessaro_receive_line(sock, into, done, deadline, timeout);
        break;
    default:
        result = tessaro_send_all(sock, (const char *)buf, count, done, deadline, timeout);
        break;
    }
    return tessaro_io_end(sock, result);
}

int tessaro_socket_recv(tessaro_socket_t sock, void *buf, tessaro_size_t *len, tessaro_usec_t timeout)
{
    return tessaro_io(sock, TESSARO_RECEIVE, buf, *len, len, timeout);
}

int tessaro_socket_peek(tessaro_socket_t sock, void *buf, tessaro_size_t *len, tessaro_usec_t timeout)
{
    return tessaro_io(sock, TESSARO_PEEK, buf, *len, len, timeout);
}

int tessaro_socket_recv_all(tessaro_socket_t sock, void *buf, tessaro_size_t count, tessaro_size_t *received,
                            tessaro_usec_t timeout)
{
    return tessaro_io(sock, TESSARO_RECEIVE_ALL, buf, count, received, timeout);
}

int tessaro_socket_recv_line(tessaro_socket_t sock, void *buf, tessaro_size_t *len, tessaro_usec_t timeout)
{
    return tessaro_io(sock, TESSARO_RECEIVE_LINE, buf, TESSARO_MAX_LINE, len, timeout);
}

int tessaro_socket_send_all(tessaro_socket_t sock, const void *buf, tessaro_size_t len, tessaro_size_t *sent,
                            tessaro_usec_t timeout)
{
    return tessaro_io(sock, TESSARO_SEND_ALL, buf, len, sent, timeout);
}

int tessaro_socket_close(tessaro_socket_t sock)
{
#ifdef _WIN32
    AcquireSRWLockExclusive(&tessaro_uses_lock);
    tessaro_use_forget(sock, 1);
    ReleaseSRWLockExclusive(&tessaro_uses_lock);
    return closesocket(sock) == 0 ? 0 : TESSARO_ERROR;
#else
    return close(sock) == 0 ? 0 : TESSARO_ERROR;
#endif
}
