/* tessaro: the support library of Kelvane's generated code. The server:
 * it listens, keeps the connections, and hands each request that has begun
 * to arrive to the handler the generated code gives it, on one of its
 * worker threads. A connection waiting for its next request holds no
 * worker: each worker waits for many connections at once and serves
 * whichever has a request, one request at a time. */
#ifndef TESSARO_SERVER_H
#define TESSARO_SERVER_H

#include "tessaro_socket.h"

#ifdef __cplusplus
extern "C" {
#endif

/* What the server is started with. Zero-filled, it listens on every
 * address (IPv6 and IPv4) of port 0 (a free port, tessaro_server_port
 * tells which) with the defaults below. */
typedef struct tessaro_server_config {
    const char *address;       /* an address or host name to listen on; NULL or "": every address */
    tessaro_port_t port;
    int workers;               /* worker threads; 0: one per processor */
    int max_connections;       /* connections kept at once; 0: 1024. One more is answered 503 and closed */
    int idle_seconds;          /* a connection without a request this long is closed; 0: 30 */
    int request_seconds;       /* reading a request, handling it and answering; 0: 30 */
    tessaro_size_t max_request_bytes; /* a longer request is answered 413; 0: the generated code's bound */
    int stop_seconds;          /* after a stop, how long requests already come may take; 0: 10 */
    int reuse_port;            /* non-zero: other processes may listen on the same port (where the system can) */
    int backlog;               /* connections waiting to be accepted; 0: 511 */
    const char *wsdl;          /* the service's WSDL file, or NULL: GET ...?wsdl answers it, and a GET of
                                  another path the document of its folder (or a folder below) that the
                                  path ends with, as the WSDL's relative imports name them */
    const char *tls_certificate; /* PEM files of the certificate (its chain may follow it) and of its private key: */
    const char *tls_key;         /* both set, every connection speaks TLS; one without the other is refused */
} tessaro_server_config_t;

/* One connection with a request ready to be read, as its handler gets it. */
typedef struct tessaro_server_connection {
    tessaro_socket_t socket;
    struct tessaro_tls *tls;   /* the TLS session, or NULL */
    tessaro_usec_t deadline;   /* the clock reading (tessaro_clock_usec) by which the answer must be out */
    tessaro_size_t max_request_bytes; /* the configuration's bound (0: the generated code's) */
    int stopping;              /* the server stops: the answer should close the connection */
    int served;                /* requests answered on it before this one */
    int linger;                /* the handler sets it after refusing a request it did not read whole: what
                                  still comes of it is read away before the close, so that the answer is
                                  not lost to the reset a close with unread bytes makes */
    void **scratch;            /* the worker's own slot, kept between requests (see tessaro_server_handler_t) */
    const char *carry;         /* a server that reads requests itself (tessaro_server_start_reading): the bytes */
    tessaro_size_t carry_length; /* that came, the whole request first; the handler takes its request from them and
                                    leaves carry and carry_length at what follows it (a pipelined next request) */
    char *owned;               /* NULL, or the heap block (malloc) carry begins, owned_room bytes, holding the whole */
    tessaro_size_t owned_room; /* request and nothing behind it: a handler may take it as its own (setting owned to
                                  NULL) and free it, so that the request is not held twice */
    const struct tessaro_server_frame *frame; /* NULL, or where the framing check got to with the request carry
                                  begins with: what it learned of the request's head is not learned again */
} tessaro_server_connection_t;

/* What serves the requests. serve reads one request from the connection and
 * answers it: 1 to keep the connection for the next request, 0 to close it.
 * A worker keeps one scratch pointer for its handlers (NULL at first), which
 * free_scratch releases when the worker ends. */
typedef struct tessaro_server_handler {
    int (*serve)(void *context, tessaro_server_connection_t *connection);
    void (*free_scratch)(void *scratch);
    void *context;
} tessaro_server_handler_t;

typedef struct tessaro_server tessaro_server_t;

/* Where the framing check of a request that is coming has got to, kept between its calls for that
 * request (zero-filled at its first byte). most: the check sets it to the most bytes worth holding
 * for the request (past them it is refused whatever follows). */
typedef struct tessaro_server_frame {
    tessaro_size_t most;
    tessaro_size_t end; /* the request's length once the check knows it (0: not yet) */
    tessaro_size_t want; /* the room its reader will want for it, once known (0: not yet) */
    tessaro_size_t state[10];
} tessaro_server_frame_t;

/* What the framing check tells of the bytes of a request that have come. */
#define TESSARO_FRAME_MORE 0     /* the request goes on: wait for more */
#define TESSARO_FRAME_WHOLE 1    /* it is whole, or what came is refused already: serve it */
#define TESSARO_FRAME_TOO_LONG 2 /* it passes the bound: answered 413 and closed */

/* Tells whether bytes[0..have), the first of them the request's first, hold a whole request, for a
 * server whose requests may have max_request_bytes (0: the handler's own bound). */
typedef int (*tessaro_server_frame_fn)(const char *bytes, tessaro_size_t have, tessaro_size_t max_request_bytes,
                                       tessaro_server_frame_t *frame);

/* Listens as config says (NULL: the defaults) and starts the workers:
 * 0 and *server on success, TESSARO_HOST_NOT_FOUND for an address that
 * names nothing, TESSARO_TLS_CERTIFICATE when the certificate or the key
 * cannot be read or do not belong together, TESSARO_TLS_HANDSHAKE when the
 * system's TLS accepts no sessions (Wine's Schannel), TESSARO_ERROR when it cannot
 * listen (the system's cause in tessaro_last_system_error) or start. */
int tessaro_server_start(tessaro_server_t **server, const tessaro_server_config_t *config,
                         const tessaro_server_handler_t *handler);
/* The same, but the server reads each request itself as it comes, into the connection's own buffer
 * (bounded by frame's most, growing to the request's end once a quarter of it came), and hands it to
 * serve only once frame calls it whole, in connection->carry: a connection that trickles its request
 * holds no worker. request_seconds bounds a request from its first byte: once passed, serve gets what
 * came (and a deadline that has passed). */
int tessaro_server_start_reading(tessaro_server_t **server, const tessaro_server_config_t *config,
                                 const tessaro_server_handler_t *handler, tessaro_server_frame_fn frame);
/* The port it listens on. */
tessaro_port_t tessaro_server_port(const tessaro_server_t *server);
/* The most bytes the connections of a server that reads requests itself held at once for requests
 * still coming. */
tessaro_size_t tessaro_server_held_most(const tessaro_server_t *server);
/* Stops it: no connection is accepted any more, connections waiting for
 * their next request are closed, and requests already come are answered
 * (within stop_seconds). Safe from any thread and from a signal handler. */
void tessaro_server_stop(tessaro_server_t *server);
/* Stops it on SIGINT and SIGTERM (on Windows: Ctrl+C, Ctrl+Break and the
 * console's close), until tessaro_server_free. */
int tessaro_server_stop_on_signals(tessaro_server_t *server);
/* Waits until it has stopped (after tessaro_server_stop, or a signal):
 * 0 when every worker ended, TESSARO_TIMEOUT when some were still busy
 * past stop_seconds and were left to end alone. */
int tessaro_server_wait(tessaro_server_t *server);
/* Stops it, waits, and frees it; NULL is ignored. */
void tessaro_server_free(tessaro_server_t *server);

/* Sends a bare HTTP answer (status, reason, a text body) and nothing else. */
int tessaro_server_send_status(tessaro_socket_t sock, int status, const char *reason, const char *text,
                               tessaro_usec_t timeout);

#ifdef __cplusplus
}
#endif

#endif
