/* tessaro: TLS client and server sessions on OpenSSL (every platform but Windows). */
#ifndef _WIN32
#include "tessaro_tls.h"
#include "tessaro_util.h"

#include <arpa/inet.h>
#include <errno.h>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <stdint.h>
#include <sys/socket.h>

struct tessaro_tls {
    SSL_CTX *context;
    SSL *session;
    tessaro_socket_t sock;
};

/* The session's transport: OpenSSL's own socket BIO writes with write(),
 * and a peer that has gone would end the process with SIGPIPE. */
static int tessaro_tls_bio_write(BIO *bio, const char *data, size_t len, size_t *written)
{
    ssize_t done = send((int)BIO_get_fd(bio, NULL), data, len, MSG_NOSIGNAL);

    BIO_clear_retry_flags(bio);
    if (done >= 0) {
        *written = (size_t)done;
        return 1;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        BIO_set_retry_write(bio);
    return 0;
}

static int tessaro_tls_bio_read(BIO *bio, char *data, size_t len, size_t *got)
{
    ssize_t done = recv((int)BIO_get_fd(bio, NULL), data, len, 0);

    BIO_clear_retry_flags(bio);
    if (done > 0) {
        *got = (size_t)done;
        return 1;
    }
    if (done < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        BIO_set_retry_read(bio);
    return 0;
}

static long tessaro_tls_bio_ctrl(BIO *bio, int command, long number, void *pointer)
{
    switch (command) {
    case BIO_C_SET_FD:
        BIO_set_data(bio, (void *)(intptr_t)*(int *)pointer);
        BIO_set_init(bio, 1);
        return 1;
    case BIO_C_GET_FD:
        if (pointer != NULL)
            *(int *)pointer = (int)(intptr_t)BIO_get_data(bio);
        return (long)(intptr_t)BIO_get_data(bio);
    case BIO_CTRL_FLUSH:
        return 1;
    }
    (void)number;
    return 0;
}

static BIO_METHOD *tessaro_tls_method;
static pthread_once_t tessaro_tls_method_once = PTHREAD_ONCE_INIT;

static void tessaro_tls_make_method(void)
{
    BIO_METHOD *made = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK | BIO_TYPE_DESCRIPTOR, "tessaro");

    if (made == NULL || BIO_meth_set_write_ex(made, tessaro_tls_bio_write) != 1 ||
        BIO_meth_set_read_ex(made, tessaro_tls_bio_read) != 1 || BIO_meth_set_ctrl(made, tessaro_tls_bio_ctrl) != 1) {
        BIO_meth_free(made);
        return;
    }
    tessaro_tls_method = made;
}

/* A BIO over the socket (BIO_get_fd gives it back); NULL when none could be made. */
static BIO *tessaro_tls_bio(tessaro_socket_t sock)
{
    BIO *bio;

    if (pthread_once(&tessaro_tls_method_once, tessaro_tls_make_method) != 0 || tessaro_tls_method == NULL)
        return NULL;
    bio = BIO_new(tessaro_tls_method);
    if (bio != NULL)
        BIO_set_fd(bio, sock, BIO_NOCLOSE);
    return bio;
}

/* After an OpenSSL call returned result: 0 when the call is to be made
 * again (the socket became ready in time), else the result to report. */
static int tessaro_tls_wait(tessaro_tls_t *tls, int result, tessaro_usec_t left)
{
    switch (SSL_get_error(tls->session, result)) {
    case SSL_ERROR_WANT_READ:
        return tessaro_socket_wait(tls->sock, 0, left);
    case SSL_ERROR_WANT_WRITE:
        return tessaro_socket_wait(tls->sock, 1, left);
    case SSL_ERROR_ZERO_RETURN:
        return TESSARO_END_OF_STREAM;
    }
    return TESSARO_ERROR;
}

/* Why the certificate check failed, as one of the library's results. */
static int tessaro_tls_refusal(long verify)
{
    switch (verify) {
    case X509_V_OK:
        return TESSARO_TLS_HANDSHAKE;
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_CERT_UNTRUSTED:
    case X509_V_ERR_INVALID_CA:
        return TESSARO_TLS_UNTRUSTED;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        return TESSARO_TLS_WRONG_HOST;
    case X509_V_ERR_CERT_HAS_EXPIRED:
        return TESSARO_TLS_EXPIRED;
    }
    return TESSARO_TLS_CERTIFICATE;
}

/* The context of one session: TLS 1.2 or later, the certificate checked
 * against the CA file or the system's authorities unless told not to. */
static int tessaro_tls_context(tessaro_tls_t *tls, const tessaro_tls_config_t *config)
{
    tls->context = SSL_CTX_new(TLS_client_method());
    if (tls->context == NULL || SSL_CTX_set_min_proto_version(tls->context, TLS1_2_VERSION) != 1)
        return TESSARO_TLS_HANDSHAKE;
    /* A peer that closes without a close_notify ends the stream: the HTTP
     * framing above tells a whole message from a cut one. */
    SSL_CTX_set_options(tls->context, SSL_OP_IGNORE_UNEXPECTED_EOF);
    SSL_CTX_set_mode(tls->context, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    if (config->skip_verify) {
        SSL_CTX_set_verify(tls->context, SSL_VERIFY_NONE, NULL);
        return 0;
    }
    SSL_CTX_set_verify(tls->context, SSL_VERIFY_PEER, NULL);
    if (config->ca_file != NULL)
        return SSL_CTX_load_verify_locations(tls->context, config->ca_file, NULL) == 1 ? 0 : TESSARO_TLS_CA_FILE;
    return SSL_CTX_set_default_verify_paths(tls->context) == 1 ? 0 : TESSARO_TLS_HANDSHAKE;
}

/* The session for host: its name is sent (SNI; an address is not) and
 * checked against the certificate. */
static int tessaro_tls_session(tessaro_tls_t *tls, const char *host, const tessaro_tls_config_t *config)
{
    unsigned char address[16];
    int literal = inet_pton(AF_INET, host, address) == 1 || inet_pton(AF_INET6, host, address) == 1;

    BIO *bio;

    tls->session = SSL_new(tls->context);
    if (tls->session == NULL || (bio = tessaro_tls_bio(tls->sock)) == NULL)
        return TESSARO_TLS_HANDSHAKE;
    SSL_set_bio(tls->session, bio, bio);
    if (!literal && SSL_set_tlsext_host_name(tls->session, host) != 1)
        return TESSARO_TLS_HANDSHAKE;
    if (config->skip_verify)
        return 0;
    if (literal)
        return X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(tls->session), host) == 1 ? 0 : TESSARO_TLS_HANDSHAKE;
    SSL_set_hostflags(tls->session, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
    return SSL_set1_host(tls->session, host) == 1 ? 0 : TESSARO_TLS_HANDSHAKE;
}

/* Drives the handshake of made (result: how its setting up went; accepting: the server's side) to
 * its end: 0 and *tls, or made freed and why it failed. */
static int tessaro_tls_finish(tessaro_tls_t **tls, tessaro_tls_t *made, int result, int accepting, tessaro_usec_t deadline,
                              tessaro_usec_t timeout)
{
    int done;

    while (result == 0 && (done = accepting ? SSL_accept(made->session) : SSL_connect(made->session)) != 1) {
        result = tessaro_tls_wait(made, done, tessaro_left(deadline, timeout));
        if (result == TESSARO_ERROR || result == TESSARO_END_OF_STREAM)
            result = accepting ? TESSARO_TLS_HANDSHAKE : tessaro_tls_refusal(SSL_get_verify_result(made->session));
    }
    ERR_clear_error();
    if (result != 0) {
        SSL_free(made->session);
        SSL_CTX_free(made->context);
        free(made);
        return result;
    }
    *tls = made;
    return 0;
}

int tessaro_tls_connect(tessaro_tls_t **tls, tessaro_socket_t sock, const char *host, const tessaro_tls_config_t *config,
                        tessaro_usec_t timeout)
{
    static const tessaro_tls_config_t defaults = {NULL, 0};
    tessaro_usec_t deadline = tessaro_deadline(timeout);
    tessaro_tls_t *made;
    int result;

    *tls = NULL;
    if (host == NULL || host[0] == '\0')
        return TESSARO_ERROR;
    if (config == NULL)
        config = &defaults;
    made = (tessaro_tls_t *)calloc(1, sizeof(*made));
    if (made == NULL)
        return TESSARO_ERROR;
    made->sock = sock;
    result = tessaro_tls_context(made, config);
    if (result == 0)
        result = tessaro_tls_session(made, host, config);
    if (result == 0)
        result = tessaro_socket_set_block(sock, 0);
    return tessaro_tls_finish(tls, made, result, 0, deadline, timeout);
}

/* A read or a peek (peek non-zero) of up to *len bytes. */
static int tessaro_tls_read(tessaro_tls_t *tls, void *buf, tessaro_size_t *len, tessaro_usec_t timeout, int peek)
{
    tessaro_usec_t deadline = tessaro_deadline(timeout);
    size_t want = *len, got = 0;
    int result = 0, done;

    *len = 0;
    if (want == 0)
        return 0;
    /* SSL_read first: a record already decrypted needs no wait. */
    while (result == 0 && (done = peek ? SSL_peek_ex(tls->session, buf, want, &got) : SSL_read_ex(tls->session, buf, want, &got)) != 1)
        result = tessaro_tls_wait(tls, done, tessaro_left(deadline, timeout));
    ERR_clear_error();
    *len = got;
    return result;
}

int tessaro_tls_recv(tessaro_tls_t *tls, void *buf, tessaro_size_t *len, tessaro_usec_t timeout)
{
    return tessaro_tls_read(tls, buf, len, timeout, 0);
}

int tessaro_tls_peek(tessaro_tls_t *tls, void *buf, tessaro_size_t *len, tessaro_usec_t timeout)
{
    return tessaro_tls_read(tls, buf, len, timeout, 1);
}

int tessaro_tls_pending(const tessaro_tls_t *tls)
{
    return tls != NULL ? SSL_pending(tls->session) : 0;
}

/* ---- the server's side ---- */

struct tessaro_tls_server {
    SSL_CTX *context;
};

int tessaro_tls_server_new(tessaro_tls_server_t **server, const char *certificate_file, const char *key_file)
{
    tessaro_tls_server_t *made = (tessaro_tls_server_t *)calloc(1, sizeof(*made));
    int ok;

    *server = NULL;
    if (made == NULL)
        return TESSARO_ERROR;
    made->context = SSL_CTX_new(TLS_server_method());
    ok = made->context != NULL && SSL_CTX_set_min_proto_version(made->context, TLS1_2_VERSION) == 1 &&
         SSL_CTX_use_certificate_chain_file(made->context, certificate_file) == 1 &&
         SSL_CTX_use_PrivateKey_file(made->context, key_file, SSL_FILETYPE_PEM) == 1 && SSL_CTX_check_private_key(made->context) == 1;
    ERR_clear_error();
    if (!ok) {
        tessaro_tls_server_free(made);
        return TESSARO_TLS_CERTIFICATE;
    }
    SSL_CTX_set_options(made->context, SSL_OP_IGNORE_UNEXPECTED_EOF);
    SSL_CTX_set_mode(made->context, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    *server = made;
    return 0;
}

void tessaro_tls_server_free(tessaro_tls_server_t *server)
{
    if (server == NULL)
        return;
    SSL_CTX_free(server->context);
    free(server);
}

int tessaro_tls_accept(tessaro_tls_t **tls, tessaro_tls_server_t *server, tessaro_socket_t sock, tessaro_usec_t timeout)
{
    tessaro_usec_t deadline = tessaro_deadline(timeout);
    tessaro_tls_t *made;
    BIO *bio;
    int result = 0;

    *tls = NULL;
    made = (tessaro_tls_t *)calloc(1, sizeof(*made));
    if (made == NULL)
        return TESSARO_ERROR;
    made->sock = sock;
    /* the session holds the server's context as long as it lives */
    if (SSL_CTX_up_ref(server->context) == 1)
        made->context = server->context;
    made->session = made->context != NULL ? SSL_new(made->context) : NULL;
    if (made->session == NULL || tessaro_socket_set_block(sock, 0) != 0 || (bio = tessaro_tls_bio(sock)) == NULL)
        result = TESSARO_TLS_HANDSHAKE;
    else
        SSL_set_bio(made->session, bio, bio);
    return tessaro_tls_finish(tls, made, result, 1, deadline, timeout);
}

int tessaro_tls_send_all(tessaro_tls_t *tls, const void *buf, tessaro_size_t len, tessaro_size_t *sent,
                         tessaro_usec_t timeout)
{
    tessaro_usec_t deadline = tessaro_deadline(timeout);
    size_t piece;
    int result = 0, done;

    *sent = 0;
    while (result == 0 && *sent < len) {
        piece = 0;
        done = SSL_write_ex(tls->session, (const char *)buf + *sent, len - *sent, &piece);
        if (done == 1)
            *sent += piece;
        else
            result = tessaro_tls_wait(tls, done, tessaro_left(deadline, timeout));
    }
    ERR_clear_error();
    return result == TESSARO_END_OF_STREAM ? TESSARO_ERROR : result;
}

void tessaro_tls_close(tessaro_tls_t *tls)
{
    if (tls == NULL)
        return;
    /* One close_notify without waiting for the peer's: the socket closes next. */
    SSL_shutdown(tls->session);
    ERR_clear_error();
    SSL_free(tls->session);
    SSL_CTX_free(tls->context);
    free(tls);
}
#else
/* Windows builds take tessaro_tls_schannel.c; an empty unit is not ISO C. */
typedef int tessaro_tls_openssl_unused;
#endif
