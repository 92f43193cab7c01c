/* tessaro: the server's ring (Linux io_uring). A worker waits on its epoll set through the ring, and
 * the answers its handlers sent during a round are held and go out in the same system call as that
 * wait, each send told not to wait for room, so that each one's end is known once the call returns:
 * a kept connection's request then costs the wait and its receive, where it cost a send besides.
 * What did not go whole goes the blocking way before anything else happens on its connection.
 * Where the system has no ring, or not the operations it needs, there is none and the worker waits
 * on epoll itself. */
#if !defined(_GNU_SOURCE)
#define _GNU_SOURCE
#endif
#include "tessaro_server_ring.h"
#include "tessaro_socket_sink.h"
#include "tessaro_util.h"

#include <stdlib.h>
#include <string.h>

#if defined(__linux__) && defined(__has_include) && !defined(TESSARO_SERVER_POLL) && !defined(TESSARO_SERVER_NO_RING)
#if __has_include(<linux/io_uring.h>)
#define SERVER_RING 1
#endif
#endif

static long ring_sends_made, ring_sends_short;

long tessaro_server_ring_sends(void)
{
    return __atomic_load_n(&ring_sends_made, __ATOMIC_RELAXED);
}

long tessaro_server_ring_short_sends(void)
{
    return __atomic_load_n(&ring_sends_short, __ATOMIC_RELAXED);
}

#ifdef SERVER_RING

#include <errno.h>
#include <linux/io_uring.h>
#include <stdint.h>
#include <sys/epoll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

/* The ring's wait on an epoll set, newer than some systems' headers. */
#define RING_OP_EPOLL_WAIT 59
#define RING_ENTRIES 128
/* Answer bytes a worker holds for its next wait: a larger answer goes at once, as it did. */
#define RING_HOLD (256 * 1024)
#define RING_WAIT_TOKEN UINT64_MAX
#define RING_CANCEL_TOKEN (UINT64_MAX - 1)
#define RING_LISTEN_TOKEN (UINT64_MAX - 2)

/* An answer held for the next wait (a connection's bytes, those of its handler's sends in a row). */
typedef struct ring_send {
    int socket;
    int tag;
    size_t at, len;
    tessaro_usec_t deadline;
    long done; /* what the ring sent of it, or the error it met */
} ring_send_t;

struct tessaro_server_ring {
    tessaro_socket_sink_t sink; /* first: the sink's callbacks find the ring from it */
    int fd;
    unsigned entries, tail;
    unsigned *sq_head, *sq_tail, *sq_mask, *sq_array, *cq_head, *cq_tail, *cq_mask;
    struct io_uring_sqe *sqes;
    struct io_uring_cqe *cqes;
    void *sq_map, *cq_map;
    size_t sq_map_size, cq_map_size, sqes_size;
    int epoll;
    void *events;
    int max_events;
    int waiting; /* the epoll wait is in the ring */
    int ready;   /* the reports the completed wait found; -1 while it has not completed */
    /* the listener, waited on apart from the epoll set: a ring waiting on that set is no waiter the
     * listener's exclusive wake-up counts, and every idle worker would wake for each connection */
    tessaro_socket_t listener;
    int listening; /* its wait is in the ring */
    int accepting; /* it has connections waiting */
    int quiet;     /* once stopping: it is not waited on again */
    char *bytes;
    size_t used, room;
    ring_send_t *sends;
    int count, send_room;
    int in_ring; /* sends submitted whose end has not come */
    int tag;     /* the tag of the connection whose sends the sink takes */
    tessaro_server_ring_failed_fn failed;
    void *context;
};

static int ring_enter(int fd, unsigned submit, unsigned complete, unsigned flags, const void *arg, size_t size)
{
    long result = syscall(__NR_io_uring_enter, fd, submit, complete, flags, arg, size);

    return result < 0 ? -errno : (int)result;
}

/* Whether the system runs each operation the ring needs. */
static int ring_supported(int fd)
{
    size_t size = sizeof(struct io_uring_probe) + 256 * sizeof(struct io_uring_probe_op);
    struct io_uring_probe *probe = (struct io_uring_probe *)calloc(1, size);
    static const int needed[] = {IORING_OP_SEND, IORING_OP_ASYNC_CANCEL, IORING_OP_POLL_ADD, RING_OP_EPOLL_WAIT};
    int ok, i;

    if (probe == NULL)
        return 0;
    ok = syscall(__NR_io_uring_register, fd, IORING_REGISTER_PROBE, probe, 256) == 0;
    for (i = 0; ok && i < (int)(sizeof(needed) / sizeof(needed[0])); i++)
        ok = needed[i] <= probe->last_op && (probe->ops[needed[i]].flags & IO_URING_OP_SUPPORTED);
    free(probe);
    return ok;
}

static void *ring_map(int fd, size_t size, off_t offset)
{
    void *map = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_POPULATE, fd, offset);

    return map == MAP_FAILED ? NULL : map;
}

/* Maps the ring's queues: 0, or -1. */
static int ring_map_queues(tessaro_server_ring_t *ring, const struct io_uring_params *params)
{
    char *sq, *cq;
    unsigned i;

    ring->sq_map_size = params->sq_off.array + params->sq_entries * sizeof(unsigned);
    ring->cq_map_size = params->cq_off.cqes + params->cq_entries * sizeof(struct io_uring_cqe);
    if ((ring->sq_map = ring_map(ring->fd, ring->sq_map_size, IORING_OFF_SQ_RING)) == NULL)
        return -1;
    if ((ring->cq_map = ring_map(ring->fd, ring->cq_map_size, IORING_OFF_CQ_RING)) == NULL)
        return -1;
    ring->sqes_size = params->sq_entries * sizeof(struct io_uring_sqe);
    if ((ring->sqes = (struct io_uring_sqe *)ring_map(ring->fd, ring->sqes_size, IORING_OFF_SQES)) == NULL)
        return -1;
    sq = (char *)ring->sq_map;
    cq = (char *)ring->cq_map;
    ring->sq_head = (unsigned *)(sq + params->sq_off.head);
    ring->sq_tail = (unsigned *)(sq + params->sq_off.tail);
    ring->sq_mask = (unsigned *)(sq + params->sq_off.ring_mask);
    ring->sq_array = (unsigned *)(sq + params->sq_off.array);
    ring->cq_head = (unsigned *)(cq + params->cq_off.head);
    ring->cq_tail = (unsigned *)(cq + params->cq_off.tail);
    ring->cq_mask = (unsigned *)(cq + params->cq_off.ring_mask);
    ring->cqes = (struct io_uring_cqe *)(cq + params->cq_off.cqes);
    ring->entries = params->sq_entries;
    ring->tail = *ring->sq_tail;
    /* each entry stands at its own place */
    for (i = 0; i < params->sq_entries; i++)
        ring->sq_array[i] = i;
    return 0;
}

static int ring_take(tessaro_socket_sink_t *sink, const void *buf, tessaro_size_t len, tessaro_usec_t timeout);
static int ring_flush_sink(tessaro_socket_sink_t *sink);

static void ring_free(tessaro_server_ring_t *ring)
{
    if (ring->sqes != NULL)
        munmap(ring->sqes, ring->sqes_size);
    if (ring->cq_map != NULL)
        munmap(ring->cq_map, ring->cq_map_size);
    if (ring->sq_map != NULL)
        munmap(ring->sq_map, ring->sq_map_size);
    if (ring->fd >= 0)
        close(ring->fd);
    free(ring->bytes);
    free(ring->sends);
    free(ring);
}

/* Whether the process runs under valgrind, whose core takes io_uring_enter for a call that never
 * blocks: one worker's wait there would hold every other thread of the server until its time passed.
 * Its preloaded libraries tell. */
static int ring_under_valgrind(void)
{
    const char *preload = getenv("LD_PRELOAD");

    return preload != NULL && strstr(preload, "vgpreload") != NULL;
}

tessaro_server_ring_t *tessaro_server_ring_open(int epoll, tessaro_socket_t listener, void *events, int max_events,
                                                tessaro_server_ring_failed_fn failed, void *context)
{
    tessaro_server_ring_t *ring;
    struct io_uring_params params;
    const unsigned features = IORING_FEAT_EXT_ARG | IORING_FEAT_NODROP | IORING_FEAT_SUBMIT_STABLE;

    if (ring_under_valgrind() || (ring = (tessaro_server_ring_t *)calloc(1, sizeof(*ring))) == NULL)
        return NULL;
    /* only its worker submits: what completes is taken in that worker's waits, where the system lets
     * it (else on its own) */
    memset(&params, 0, sizeof(params));
    params.flags = IORING_SETUP_SINGLE_ISSUER | IORING_SETUP_DEFER_TASKRUN;
    if ((ring->fd = (int)syscall(__NR_io_uring_setup, RING_ENTRIES, &params)) < 0) {
        memset(&params, 0, sizeof(params));
        ring->fd = (int)syscall(__NR_io_uring_setup, RING_ENTRIES, &params);
    }
    if (ring->fd < 0 || (params.features & features) != features || !ring_supported(ring->fd) ||
        ring_map_queues(ring, &params) != 0) {
        ring_free(ring);
        return NULL;
    }
    ring->sink.socket = INVALID_SOCKET;
    ring->sink.take = ring_take;
    ring->sink.flush = ring_flush_sink;
    ring->epoll = epoll;
    ring->listener = listener;
    ring->events = events;
    ring->max_events = max_events;
    ring->ready = -1;
    ring->failed = failed;
    ring->context = context;
    return ring;
}

/* A free entry of the queue, zero-filled (queued at the next enter), or NULL when it is full. */
static struct io_uring_sqe *ring_entry(tessaro_server_ring_t *ring)
{
    struct io_uring_sqe *sqe;

    if (ring->tail - __atomic_load_n(ring->sq_head, __ATOMIC_ACQUIRE) >= ring->entries)
        return NULL;
    sqe = &ring->sqes[ring->tail & *ring->sq_mask];
    memset(sqe, 0, sizeof(*sqe));
    ring->tail++;
    __atomic_store_n(ring->sq_tail, ring->tail, __ATOMIC_RELEASE);
    return sqe;
}

/* Entries queued that the system has not taken yet. */
static unsigned ring_unsubmitted(const tessaro_server_ring_t *ring)
{
    return ring->tail - __atomic_load_n(ring->sq_head, __ATOMIC_ACQUIRE);
}

/* Takes the completions that came: the sends' results and the wait's reports. */
static void ring_reap(tessaro_server_ring_t *ring)
{
    unsigned head = *ring->cq_head, tail = __atomic_load_n(ring->cq_tail, __ATOMIC_ACQUIRE);
    const struct io_uring_cqe *cqe;

    for (; head != tail; head++) {
        cqe = &ring->cqes[head & *ring->cq_mask];
        if (cqe->user_data == RING_WAIT_TOKEN) {
            ring->ready = cqe->res > 0 ? cqe->res : 0;
            ring->waiting = 0;
        } else if (cqe->user_data == RING_LISTEN_TOKEN) {
            ring->accepting = cqe->res > 0;
            ring->listening = 0;
        } else if (cqe->user_data != RING_CANCEL_TOKEN) {
            ring->sends[cqe->user_data].done = cqe->res;
            ring->in_ring--;
        }
    }
    __atomic_store_n(ring->cq_head, head, __ATOMIC_RELEASE);
}

/* Submits what is queued without waiting, when the queue is full, and takes what completed, so that
 * the completions' queue has room again for what is submitted next. */
static int ring_make_room(tessaro_server_ring_t *ring)
{
    int result = ring_enter(ring->fd, ring_unsubmitted(ring), 0, IORING_ENTER_GETEVENTS, NULL, 0);

    ring_reap(ring);
    return result < 0 && result != -EINTR && result != -EAGAIN && result != -EBUSY ? -1 : 0;
}

/* Sends len bytes of buf on sock the blocking way, the sink aside: 0 or the failure. */
static int ring_send_now(tessaro_server_ring_t *ring, tessaro_socket_t sock, const char *buf, size_t len,
                         tessaro_usec_t deadline)
{
    tessaro_socket_t held = ring->sink.socket;
    tessaro_size_t sent;
    int result;

    ring->sink.socket = INVALID_SOCKET;
    /* a deadline below zero: none, as a time-out below zero is */
    result = tessaro_socket_send_all(sock, buf, len, &sent, tessaro_left(deadline, deadline));
    ring->sink.socket = held;
    return result;
}

/* Sends what is held for sock now, in order: 0 or the failure. */
static int ring_flush_socket(tessaro_server_ring_t *ring, tessaro_socket_t sock)
{
    int i, result = 0;

    for (i = 0; i < ring->count; i++) {
        ring_send_t *send = &ring->sends[i];

        if (send->socket != sock || send->len == 0)
            continue;
        if (result == 0)
            result = ring_send_now(ring, sock, ring->bytes + send->at, send->len, send->deadline);
        send->len = 0;
    }
    return result;
}

/* Room for len more bytes and one more send: 0, or -1 past the hold or without memory. */
static int ring_hold_room(tessaro_server_ring_t *ring, size_t len)
{
    size_t room = ring->room > 0 ? ring->room : 16384;
    char *bytes;
    ring_send_t *sends;

    if (ring->used + len > RING_HOLD)
        return -1;
    while (room < ring->used + len)
        room *= 2;
    if (room > ring->room) {
        if ((bytes = (char *)realloc(ring->bytes, room)) == NULL)
            return -1;
        ring->bytes = bytes;
        ring->room = room;
    }
    if (ring->count == ring->send_room) {
        int more = ring->send_room > 0 ? ring->send_room * 2 : 16;

        if ((sends = (ring_send_t *)realloc(ring->sends, (size_t)more * sizeof(*sends))) == NULL)
            return -1;
        ring->sends = sends;
        ring->send_room = more;
    }
    return 0;
}

/* The sink's take: the bytes join the connection's last held send when that is the last one held,
 * else they begin a send of their own once what it holds went (no two of its sends go in one wait,
 * where the first's short end would put the second before its rest). 1: they go at once instead. */
static int ring_take(tessaro_socket_sink_t *sink, const void *buf, tessaro_size_t len, tessaro_usec_t timeout)
{
    tessaro_server_ring_t *ring = (tessaro_server_ring_t *)sink;
    tessaro_usec_t deadline = tessaro_deadline(timeout);
    ring_send_t *last;

    if (ring_hold_room(ring, len) != 0)
        return ring_flush_socket(ring, sink->socket) == 0 ? 1 : -1;
    last = ring->count > 0 ? &ring->sends[ring->count - 1] : NULL;
    if (last != NULL && last->socket == sink->socket && last->len > 0 && last->at + last->len == ring->used) {
        last->len += len;
        if (deadline < 0 || (last->deadline >= 0 && deadline > last->deadline))
            last->deadline = deadline;
    } else {
        if (ring_flush_socket(ring, sink->socket) != 0)
            return -1;
        last = &ring->sends[ring->count++];
        last->socket = sink->socket;
        last->tag = ring->tag;
        last->at = ring->used;
        last->len = len;
        last->deadline = deadline;
    }
    memcpy(ring->bytes + ring->used, buf, len);
    ring->used += len;
    return 0;
}

static int ring_flush_sink(tessaro_socket_sink_t *sink)
{
    return ring_flush_socket((tessaro_server_ring_t *)sink, sink->socket);
}

/* A free entry of the queue, what is queued submitted first when it is full; NULL when the ring
 * refuses. */
static struct io_uring_sqe *ring_entry_made(tessaro_server_ring_t *ring)
{
    struct io_uring_sqe *sqe;

    while ((sqe = ring_entry(ring)) == NULL)
        if (ring_make_room(ring) != 0)
            return NULL;
    return sqe;
}

/* Queues the waits not in the ring: the epoll set's, and (unless stopping) the listener's, one
 * worker woken for each of its readiness. */
static int ring_queue_waits(tessaro_server_ring_t *ring)
{
    struct io_uring_sqe *sqe;

    if (!ring->waiting) {
        if ((sqe = ring_entry_made(ring)) == NULL)
            return -1;
        sqe->opcode = RING_OP_EPOLL_WAIT;
        sqe->fd = ring->epoll;
        sqe->addr = (uint64_t)(uintptr_t)ring->events;
        sqe->len = (unsigned)ring->max_events;
        sqe->user_data = RING_WAIT_TOKEN;
        ring->waiting = 1;
    }
    if (!ring->listening && !ring->quiet) {
        if ((sqe = ring_entry_made(ring)) == NULL)
            return -1;
        sqe->opcode = IORING_OP_POLL_ADD;
        sqe->fd = ring->listener;
        sqe->poll32_events = EPOLLIN | EPOLLEXCLUSIVE;
        sqe->user_data = RING_LISTEN_TOKEN;
        ring->listening = 1;
    }
    return 0;
}

/* Queues the held sends, each not waiting for room, and the waits not in the ring. */
static int ring_queue(tessaro_server_ring_t *ring)
{
    struct io_uring_sqe *sqe;
    int i;

    for (i = 0; i < ring->count; i++) {
        ring_send_t *send = &ring->sends[i];

        send->done = 0;
        if (send->len == 0)
            continue;
        if ((sqe = ring_entry_made(ring)) == NULL)
            return -1;
        sqe->opcode = IORING_OP_SEND;
        sqe->fd = send->socket;
        sqe->addr = (uint64_t)(uintptr_t)(ring->bytes + send->at);
        sqe->len = (unsigned)send->len;
        sqe->msg_flags = MSG_DONTWAIT | MSG_NOSIGNAL;
        sqe->user_data = (uint64_t)i;
        ring->in_ring++;
        __atomic_add_fetch(&ring_sends_made, 1, __ATOMIC_RELAXED);
    }
    return ring_queue_waits(ring);
}

/* Submits what is queued and waits, up to ms for readiness (not once that wait has ended), and for
 * every send's end. */
static void ring_submit_and_wait(tessaro_server_ring_t *ring, int ms)
{
    struct io_uring_getevents_arg arg;
    struct __kernel_timespec ts;
    int timed_out = ms == 0;
    unsigned want;

    for (;;) {
        ring_reap(ring);
        want = (unsigned)ring->in_ring + (ring->ready < 0 && !ring->accepting && !timed_out ? 1 : 0);
        if (ring_unsubmitted(ring) == 0 && want == 0)
            return;
        memset(&arg, 0, sizeof(arg));
        if (ms > 0 && !timed_out && ring->ready < 0 && !ring->accepting) {
            ts.tv_sec = ms / 1000;
            ts.tv_nsec = (long long)(ms % 1000) * 1000000;
            arg.ts = (uint64_t)(uintptr_t)&ts;
        }
        ring_enter(ring->fd, ring_unsubmitted(ring), want, IORING_ENTER_GETEVENTS | IORING_ENTER_EXT_ARG, &arg, sizeof(arg));
        /* one wait a call: back without the epoll wait's end, its time passed or a signal came, and
         * what came until then is the answer (the call tells the number submitted, not which) */
        timed_out = 1;
    }
}

/* What the ring did not send whole goes the blocking way; a connection whose answer could not go is
 * shut, and its worker told. */
static void ring_finish(tessaro_server_ring_t *ring)
{
    int i;

    for (i = 0; i < ring->count; i++) {
        ring_send_t *send = &ring->sends[i];
        size_t done = send->done > 0 ? (size_t)send->done : 0;

        if (send->len == 0 || done == send->len)
            continue;
        __atomic_add_fetch(&ring_sends_short, 1, __ATOMIC_RELAXED);
        if ((send->done >= 0 || send->done == -EAGAIN) &&
            ring_send_now(ring, send->socket, ring->bytes + send->at + done, send->len - done, send->deadline) == 0)
            continue;
        shutdown(send->socket, SHUT_RDWR);
        ring->failed(ring->context, send->tag);
    }
    ring->count = 0;
    ring->used = 0;
}

int tessaro_server_ring_wait(tessaro_server_ring_t *ring, int ms, int *accepting)
{
    int ready;

    if (ring_queue(ring) != 0) {
        /* the ring refuses: what it holds goes the blocking way */
        ring_submit_and_wait(ring, 0);
        ring_finish(ring);
        return 0;
    }
    ring_submit_and_wait(ring, ms);
    ring_finish(ring);
    ready = ring->ready;
    ring->ready = -1;
    *accepting = ring->accepting;
    ring->accepting = 0;
    return ready > 0 ? ready : 0;
}

/* Cancels the wait of token in the ring (its end comes as its completion). */
static void ring_cancel(tessaro_server_ring_t *ring, uint64_t token)
{
    struct io_uring_sqe *sqe = ring_entry_made(ring);

    if (sqe == NULL)
        return;
    sqe->opcode = IORING_OP_ASYNC_CANCEL;
    sqe->addr = token;
    sqe->user_data = RING_CANCEL_TOKEN;
}

void tessaro_server_ring_quiet(tessaro_server_ring_t *ring)
{
    ring->quiet = 1;
    if (ring->listening)
        ring_cancel(ring, RING_LISTEN_TOKEN);
}

void tessaro_server_ring_begin(tessaro_server_ring_t *ring, tessaro_socket_t sock, int tag)
{
    ring->sink.socket = sock;
    ring->tag = tag;
    tessaro_socket_sink_set(&ring->sink);
}

void tessaro_server_ring_end(tessaro_server_ring_t *ring)
{
    tessaro_socket_sink_set(NULL);
    ring->sink.socket = INVALID_SOCKET;
}

int tessaro_server_ring_flush(tessaro_server_ring_t *ring, tessaro_socket_t sock)
{
    return ring_flush_socket(ring, sock);
}

void tessaro_server_ring_close(tessaro_server_ring_t *ring)
{
    int i;

    if (ring == NULL)
        return;
    for (i = 0; i < ring->count; i++)
        ring_flush_socket(ring, ring->sends[i].socket);
    ring->count = 0;
    /* the waits end before the reports' room goes, and the listener is let go before it is closed */
    if (ring->waiting)
        ring_cancel(ring, RING_WAIT_TOKEN);
    if (ring->listening)
        ring_cancel(ring, RING_LISTEN_TOKEN);
    while ((ring->waiting || ring->listening) &&
           ring_enter(ring->fd, ring_unsubmitted(ring), 1, IORING_ENTER_GETEVENTS, NULL, 0) != -EBADF)
        ring_reap(ring);
    ring_free(ring);
}

#else

tessaro_server_ring_t *tessaro_server_ring_open(int epoll, tessaro_socket_t listener, void *events, int max_events,
                                                tessaro_server_ring_failed_fn failed, void *context)
{
    (void)epoll;
    (void)listener;
    (void)events;
    (void)max_events;
    (void)failed;
    (void)context;
    return NULL;
}

void tessaro_server_ring_close(tessaro_server_ring_t *ring)
{
    (void)ring;
}

int tessaro_server_ring_wait(tessaro_server_ring_t *ring, int ms, int *accepting)
{
    (void)ring;
    (void)ms;
    *accepting = 0;
    return 0;
}

void tessaro_server_ring_quiet(tessaro_server_ring_t *ring)
{
    (void)ring;
}

void tessaro_server_ring_begin(tessaro_server_ring_t *ring, tessaro_socket_t sock, int tag)
{
    (void)ring;
    (void)sock;
    (void)tag;
}

void tessaro_server_ring_end(tessaro_server_ring_t *ring)
{
    (void)ring;
}

int tessaro_server_ring_flush(tessaro_server_ring_t *ring, tessaro_socket_t sock)
{
    (void)ring;
    (void)sock;
    return 0;
}

#endif
