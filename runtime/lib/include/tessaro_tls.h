/* tessaro: the support library of Kelvane's generated code. TLS client
 * and server sessions over a connected socket: OpenSSL on Unix, the system's TLS
 * (Schannel) on Windows. The server's certificate is checked against the
 * system's trusted authorities (or a CA file's), its host name is checked
 * and sent (SNI), and TLS 1.2 or later is required. Results are those of
 * tessaro_socket.h; tessaro_result_text says what each means. */
#ifndef TESSARO_TLS_H
#define TESSARO_TLS_H

#include "tessaro_socket.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct tessaro_tls tessaro_tls_t;

/* A zero-filled config checks the certificate against the system's trusted
 * authorities: only an explicit skip_verify turns the check off. */
typedef struct tessaro_tls_config {
    const char *ca_file; /* PEM file of the authorities to trust instead of the system's, or NULL */
    int skip_verify;     /* non-zero: accept any certificate and host name */
} tessaro_tls_config_t;

/* Takes the connected socket through the handshake with host (a name or a
 * dotted address; config NULL: the defaults) within timeout microseconds;
 * *tls is the session on success and NULL on failure. The socket stays the
 * caller's: close the session first, then the socket. */
int tessaro_tls_connect(tessaro_tls_t **tls, tessaro_socket_t sock, const char *host, const tessaro_tls_config_t *config,
                        tessaro_usec_t timeout);
/* As tessaro_socket_recv and tessaro_socket_send_all, through the session.
 * What the session has already decrypted is given before the socket is
 * waited on. */
int tessaro_tls_recv(tessaro_tls_t *tls, void *buf, tessaro_size_t *len, tessaro_usec_t timeout);
int tessaro_tls_send_all(tessaro_tls_t *tls, const void *buf, tessaro_size_t len, tessaro_size_t *sent,
                         tessaro_usec_t timeout);
/* Tells the peer the session ends (without waiting) and frees it; NULL is ignored. */
void tessaro_tls_close(tessaro_tls_t *tls);
/* As tessaro_socket_peek, through the session. */
int tessaro_tls_peek(tessaro_tls_t *tls, void *buf, tessaro_size_t *len, tessaro_usec_t timeout);
/* The bytes the session has decrypted and not given yet (NULL: none): no readiness of the socket tells of them. */
int tessaro_tls_pending(const tessaro_tls_t *tls);

/* A server's side: the certificate (a PEM file, its chain may follow it) and private key (a PEM
 * file, PKCS#8 or PKCS#1) that sessions are accepted with, TLS 1.2 or later. 0, or
 * TESSARO_TLS_CERTIFICATE when either cannot be read or they do not belong together,
 * TESSARO_TLS_HANDSHAKE when the system's TLS accepts no sessions (Wine's Schannel). */
typedef struct tessaro_tls_server tessaro_tls_server_t;
int tessaro_tls_server_new(tessaro_tls_server_t **server, const char *certificate_file, const char *key_file);
/* NULL is ignored; sessions it accepted may outlive it. */
void tessaro_tls_server_free(tessaro_tls_server_t *server);
/* Takes the accepted socket through the server's side of the handshake within timeout; *tls is
 * the session on success and NULL on failure. */
int tessaro_tls_accept(tessaro_tls_t **tls, tessaro_tls_server_t *server, tessaro_socket_t sock, tessaro_usec_t timeout);

#ifdef __cplusplus
}
#endif

#endif
