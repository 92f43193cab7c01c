/* tessaro: the support library of Kelvane's generated code. TLS client
 * sessions over a connected socket: OpenSSL on Unix, the system's TLS
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

#ifdef __cplusplus
}
#endif

#endif
