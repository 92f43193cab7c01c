/* tessaro: the server's ring (Linux), through which a worker of a server that reads requests itself
 * waits for readiness and sends the answers of its plain connections: what its handlers sent during a
 * round goes out in the same system call that waits for the next readiness. Not for the generated
 * code's own use. */
#ifndef TESSARO_SERVER_RING_H
#define TESSARO_SERVER_RING_H

#include "tessaro_socket.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct tessaro_server_ring tessaro_server_ring_t;

/* Told of the connection (by the tag its sends were held with) whose answer could not go whole: its
 * socket is shut already, so that its next reading ends it. */
typedef void (*tessaro_server_ring_failed_fn)(void *context, int tag);

/* A ring that waits on the epoll set epoll into events (max_events of them) and on the listener (which
 * is to stay out of the set), or NULL where the system has none with what it needs (the worker then
 * waits on epoll itself). Made, used and closed by one thread, its worker's. */
tessaro_server_ring_t *tessaro_server_ring_open(int epoll, tessaro_socket_t listener, void *events, int max_events,
                                                tessaro_server_ring_failed_fn failed, void *context);
/* Sends what it holds, ends its wait and frees it; NULL is ignored. */
void tessaro_server_ring_close(tessaro_server_ring_t *ring);
/* Sends what it holds and waits up to ms for readiness: the reports in events, as epoll_wait counts
 * them (0 when the time passed or a signal came), and in *accepting whether the listener has
 * connections waiting. */
int tessaro_server_ring_wait(tessaro_server_ring_t *ring, int ms, int *accepting);
/* Once stopping: the listener is not waited on again. */
void tessaro_server_ring_quiet(tessaro_server_ring_t *ring);
/* From now on until tessaro_server_ring_end, the calling thread's sends on sock are held for the next
 * wait, tagged tag. */
void tessaro_server_ring_begin(tessaro_server_ring_t *ring, tessaro_socket_t sock, int tag);
void tessaro_server_ring_end(tessaro_server_ring_t *ring);
/* Sends what it holds for sock now: 0, or the send's failure. */
int tessaro_server_ring_flush(tessaro_server_ring_t *ring, tessaro_socket_t sock);
/* Sends it made for the ring since the process began, and those of them that went short or were
 * refused and went the blocking way. */
long tessaro_server_ring_sends(void);
long tessaro_server_ring_short_sends(void);

#ifdef __cplusplus
}
#endif

#endif
