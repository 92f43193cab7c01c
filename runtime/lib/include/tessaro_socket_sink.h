/* tessaro: the server's hold on one socket's sends. While a worker of the server serves a request on
 * a connection, the sends the handler makes on its socket from that thread go to the worker, which
 * sends them itself with its next wait; anything else on that socket first sends what it holds.
 * Not for the generated code's own use. */
#ifndef TESSARO_SOCKET_SINK_H
#define TESSARO_SOCKET_SINK_H

#include "tessaro_socket.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct tessaro_socket_sink {
    tessaro_socket_t socket;
    /* takes len bytes to send by timeout: 0, or non-zero when they are to go at once instead */
    int (*take)(struct tessaro_socket_sink *sink, const void *buf, tessaro_size_t len, tessaro_usec_t timeout);
    /* sends what it holds: 0, or the send's failure */
    int (*flush)(struct tessaro_socket_sink *sink);
} tessaro_socket_sink_t;

/* The calling thread's sink from now on (NULL: none). */
void tessaro_socket_sink_set(tessaro_socket_sink_t *sink);

#ifdef __cplusplus
}
#endif

#endif
