/* tessaro: the support library of Kelvane's generated code. Sockets.
 * Every function returns 0 on success and non-zero on failure; a receive
 * reports non-zero at the end of the stream and when its time-out passes. */
#ifndef TESSARO_SOCKET_H
#define TESSARO_SOCKET_H

#include "tessaro_type.h"

/* The non-zero results of the receive and send calls. */
#define TESSARO_ERROR (-1)
#define TESSARO_END_OF_STREAM 1
#define TESSARO_TIMEOUT 2
/* tessaro_connect: the host name has no address (not found, or no name service). */
#define TESSARO_HOST_NOT_FOUND 3
/* TLS sessions (tessaro_tls.h): the handshake failed (no common protocol of
 * TLS 1.2 or later, a peer that speaks no TLS, a broken connection); the
 * certificate was refused because no trusted authority issued it, because
 * it names another host, because it has expired, or for another cause (not
 * yet valid, revoked, a bad signature); the CA file could not be read. */
#define TESSARO_TLS_HANDSHAKE 4
#define TESSARO_TLS_UNTRUSTED 5
#define TESSARO_TLS_WRONG_HOST 6
#define TESSARO_TLS_EXPIRED 7
#define TESSARO_TLS_CERTIFICATE 8
#define TESSARO_TLS_CA_FILE 9
/* tessaro_proxy_tunnel: the proxy refused the tunnel or gave no HTTP answer. */
#define TESSARO_PROXY_REFUSED 10

#ifdef __cplusplus
extern "C" {
#endif

/* A new TCP socket into *sock. */
int tessaro_create_tcp_socket(tessaro_socket_t *sock);
/* A TCP socket listening on port with the backlog given (address reuse on). */
int tessaro_socket_create_tcp_listen(tessaro_socket_t *sock, tessaro_port_t port, int backlog);
/* Connects to an IPv4 address in dotted form or to the first IPv4 address
 * of a host name: TESSARO_HOST_NOT_FOUND when the name has none, so that a
 * caller can tell an unknown host from a refused connection (TESSARO_ERROR). */
int tessaro_connect(tessaro_socket_t sock, const char *host, tessaro_port_t port);
/* The same within timeout microseconds (negative: no limit), the name's
 * lookup included: TESSARO_TIMEOUT when the connection is not made by then.
 * The socket is left in blocking mode. */
int tessaro_connect_within(tessaro_socket_t sock, const char *host, tessaro_port_t port, tessaro_usec_t timeout);
/* Connects a new socket, into *sock, to host:port within timeout microseconds
 * (negative: no limit), the name's lookup included: the host is an IPv4 or
 * IPv6 address (without brackets) or a name, whose addresses of either kind
 * are tried in the resolver's order, each with an even share of the time
 * left, until one takes the connection. TESSARO_HOST_NOT_FOUND when the name
 * has no address, TESSARO_TIMEOUT when the lookup or the connection did not
 * end in time, TESSARO_ERROR (the first address's cause) otherwise; *sock is
 * INVALID_SOCKET unless it is 0. The socket is left in blocking mode. */
int tessaro_connect_host(tessaro_socket_t *sock, const char *host, tessaro_port_t port, tessaro_usec_t timeout);
/* The same for a caller whose every receive and send on the socket goes
 * through this library: the socket is left non-blocking, and a connection
 * still being made on the last address is not waited for here but by the
 * first send, within that send's time-out (where the system lets a send
 * wait for it; on Windows the connection is made here). When that send
 * fails and tessaro_socket_connected finds no connection, the failure was
 * the connection's. */
int tessaro_connect_host_unawaited(tessaro_socket_t *sock, const char *host, tessaro_port_t port, tessaro_usec_t timeout);
/* 1 when the socket's connection is made, 0 when it is not (yet, or at all). */
int tessaro_socket_connected(tessaro_socket_t sock);
/* Asks a proxy, over the connected socket, for a tunnel to host:port (an
 * HTTP CONNECT): 0 once the proxy answered 2xx, TESSARO_PROXY_REFUSED when it
 * answered anything else, or a receive or send result. */
int tessaro_proxy_tunnel(tessaro_socket_t sock, const char *host, tessaro_port_t port, tessaro_usec_t timeout);
/* What a proxy answered to CONNECT: its status (0 when it gave no HTTP
 * answer) and the values of its Proxy-Authenticate lines, each ended by a
 * line feed (those past the room are left out). */
typedef struct tessaro_proxy_answer {
    int status;
    char challenges[2048];
} tessaro_proxy_answer_t;
/* The same with a Proxy-Authorization value (NULL: none; no CR or LF, at
 * most TESSARO_MAX_LINE bytes), the proxy's answer kept in *answer unless
 * answer is NULL. */
int tessaro_proxy_tunnel_as(tessaro_socket_t sock, const char *host, tessaro_port_t port, const char *authorization,
                            tessaro_proxy_answer_t *answer, tessaro_usec_t timeout);
/* 0 when the socket is ready to read (write 0) or write (write 1) within
 * timeout microseconds, TESSARO_TIMEOUT when it is not. */
int tessaro_socket_wait(tessaro_socket_t sock, int write, tessaro_usec_t timeout);
/* 1 when a connection kept open between exchanges can take the next one:
 * the peer has neither closed it nor sent anything unasked; 0 otherwise. */
int tessaro_socket_idle_open(tessaro_socket_t sock);
/* What a result of these calls means, in words. */
const char *tessaro_result_text(int result);
/* The system's error code of the calling thread's last connect, receive or
 * send, when it gave TESSARO_ERROR (0 otherwise), and the cause it names in
 * words ("connection refused", "timed out" ...; for 0 the failure itself). */
int tessaro_last_system_error(void);
const char *tessaro_system_error_text(int error);
/* block 0: calls return at once or after their time-out; otherwise they block.
 * Every receive and send call ends within timeout microseconds, however
 * many pieces it takes (a negative timeout waits without end), in either
 * mode, and leaves the socket's mode and time-outs as they were. On Windows,
 * where a socket's mode cannot be read, the library remembers the sockets
 * this call made non-blocking until it makes them blocking again or
 * tessaro_socket_close closes them, and takes any other socket for blocking:
 * one made non-blocking by other means is left blocking by the library's
 * calls, and one this call made non-blocking is closed with
 * tessaro_socket_close, so that a later socket given the same handle is not
 * taken for non-blocking. */
int tessaro_socket_set_block(tessaro_socket_t sock, int block);
/* Receives at most *len bytes; *len becomes the number received. */
int tessaro_socket_recv(tessaro_socket_t sock, void *buf, tessaro_size_t *len, tessaro_usec_t timeout);
/* As tessaro_socket_recv, but the bytes stay to be received: *len gets how many
 * arrived (at most *len) and a copy of them is in buf. */
int tessaro_socket_peek(tessaro_socket_t sock, void *buf, tessaro_size_t *len, tessaro_usec_t timeout);
/* Receives what has arrived without waiting: 0 with *len of them (0 when none has), TESSARO_END_OF_STREAM
 * or TESSARO_ERROR. */
int tessaro_socket_recv_now(tessaro_socket_t sock, void *buf, tessaro_size_t *len);
/* How many receives (peeks among them) the library's calls have asked of the system in this process. */
long tessaro_socket_receive_count(void);
/* Receives exactly count bytes unless it fails; *received tells how many arrived. */
int tessaro_socket_recv_all(tessaro_socket_t sock, void *buf, tessaro_size_t count, tessaro_size_t *received,
                            tessaro_usec_t timeout);
/* Receives up to and including the next CR LF; *len becomes the number of
 * bytes received. At most TESSARO_MAX_LINE bytes are taken into buf: a
 * longer line gives TESSARO_ERROR. */
#define TESSARO_MAX_LINE 1024
int tessaro_socket_recv_line(tessaro_socket_t sock, void *buf, tessaro_size_t *len, tessaro_usec_t timeout);
/* Sends all len bytes unless it fails; *sent tells how many went. */
int tessaro_socket_send_all(tessaro_socket_t sock, const void *buf, tessaro_size_t len, tessaro_size_t *sent,
                            tessaro_usec_t timeout);
int tessaro_socket_close(tessaro_socket_t sock);

#ifdef __cplusplus
}
#endif

#endif
