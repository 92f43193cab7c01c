/* tessaro: TLS client and server sessions on Windows, through the system's
 * TLS (Schannel, by SSPI). A client checks the server's certificate here
 * (crypt32's chain and SSL policy), so that a CA file can stand for the
 * system's store and each cause of a refusal gets its own result. A server's
 * key is imported into a key container of its own, which Schannel reads it
 * from, and the container is deleted with the server. */
#ifdef _WIN32
#define SECURITY_WIN32
#include "tessaro_tls.h"
#include "tessaro_util.h"
#include "tessaro_pem.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <wincrypt.h>
#include <schannel.h>
#include <security.h>
#include <sspi.h>
#include <stdio.h>
#include <stdlib.h>

#ifdef _MSC_VER
#pragma comment(lib, "secur32.lib")
#pragma comment(lib, "crypt32.lib")
#endif

#ifndef SP_PROT_TLS1_3_CLIENT
#define SP_PROT_TLS1_3_CLIENT 0x00002000
#endif
#ifndef SP_PROT_TLS1_3_SERVER
#define SP_PROT_TLS1_3_SERVER 0x00001000
#endif
#ifndef SECURITY_FLAG_IGNORE_UNKNOWN_CA
#define SECURITY_FLAG_IGNORE_UNKNOWN_CA 0x00000100
#endif
#ifndef SECURITY_FLAG_IGNORE_CERT_CN_INVALID
#define SECURITY_FLAG_IGNORE_CERT_CN_INVALID 0x00001000
#endif

#define TESSARO_TLS_REQUEST                                                                                            \
    (ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY | ISC_REQ_ALLOCATE_MEMORY |             \
     ISC_REQ_STREAM | ISC_REQ_EXTENDED_ERROR)
#define TESSARO_TLS_ACCEPT_REQUEST                                                                                     \
    (ASC_REQ_SEQUENCE_DETECT | ASC_REQ_REPLAY_DETECT | ASC_REQ_CONFIDENTIALITY | ASC_REQ_ALLOCATE_MEMORY |             \
     ASC_REQ_STREAM | ASC_REQ_EXTENDED_ERROR)

struct tessaro_tls_server {
    CredHandle credentials;
    int has_credentials;
    /* the certificate file's certificates, the first of them the server's */
    HCERTSTORE chain;
    PCCERT_CONTEXT certificate;
    /* the key container the key was imported into */
    HCRYPTPROV provider;
    WCHAR container[64];
    /* the server's own and one for each session it accepted */
    volatile LONG references;
};

struct tessaro_tls {
    /* a server's session: its server, whose credentials it uses; NULL for a client's */
    tessaro_tls_server_t *server;
    CredHandle credentials;
    CtxtHandle context;
    int has_credentials;
    int has_context;
    tessaro_socket_t sock;
    char *host;
    /* a host given as an IPv4 or IPv6 address: its bytes, which the certificate must name */
    int literal;
    unsigned char address[16];
    DWORD address_size;
    SecPkgContext_StreamSizes sizes;
    /* records received and not yet decrypted */
    char *incoming;
    size_t incoming_size, incoming_len;
    /* what the last record held and the caller has not taken yet */
    char *plain;
    size_t plain_at, plain_len;
    /* room for one record to send */
    char *outgoing;
};

/* The name the handshake sends (SNI): none for an address, which a server is not told by name. */
static char *tessaro_tls_target(tessaro_tls_t *tls)
{
    return tls->literal ? NULL : tls->host;
}

/* Sends a token SSPI allocated, then frees it. */
static int tessaro_tls_send_token(tessaro_tls_t *tls, SecBuffer *token, tessaro_usec_t timeout)
{
    tessaro_size_t sent;
    int result = 0;

    if (token->pvBuffer == NULL)
        return 0;
    if (token->cbBuffer > 0)
        result = tessaro_socket_send_all(tls->sock, token->pvBuffer, token->cbBuffer, &sent, timeout);
    FreeContextBuffer(token->pvBuffer);
    token->pvBuffer = NULL;
    return result;
}

/* Receives more records behind those held; the end of the stream before a
 * whole record is a broken connection. */
static int tessaro_tls_receive(tessaro_tls_t *tls, tessaro_usec_t timeout)
{
    tessaro_size_t len = tls->incoming_size - tls->incoming_len;
    int result;

    if (len == 0)
        return TESSARO_ERROR;
    result = tessaro_socket_recv(tls->sock, tls->incoming + tls->incoming_len, &len, timeout);
    if (result == TESSARO_END_OF_STREAM && tls->incoming_len > 0)
        return TESSARO_ERROR;
    tls->incoming_len += len;
    return result;
}

/* Keeps the bytes SSPI did not take (an extra buffer) at the start of the
 * incoming buffer, or none. */
static void tessaro_tls_keep_extra(tessaro_tls_t *tls, SecBuffer *buffers, int count)
{
    int i;

    for (i = 0; i < count; i++) {
        if (buffers[i].BufferType == SECBUFFER_EXTRA && buffers[i].cbBuffer > 0) {
            memmove(tls->incoming, tls->incoming + tls->incoming_len - buffers[i].cbBuffer, buffers[i].cbBuffer);
            tls->incoming_len = buffers[i].cbBuffer;
            return;
        }
    }
    tls->incoming_len = 0;
}

/* One step of the handshake with what the peer sent (in; NULL: nothing yet): the client's side
 * or the server's. The context is made by the first step that succeeds. */
static SECURITY_STATUS tessaro_tls_step(tessaro_tls_t *tls, SecBufferDesc *in, SecBufferDesc *out)
{
    CtxtHandle *current = tls->has_context ? &tls->context : NULL;
    unsigned long attributes;
    SECURITY_STATUS status;

    if (tls->server != NULL)
        status = AcceptSecurityContext(&tls->credentials, current, in, TESSARO_TLS_ACCEPT_REQUEST, 0, &tls->context, out,
                                       &attributes, NULL);
    else
        status = InitializeSecurityContextA(&tls->credentials, current, tessaro_tls_target(tls), TESSARO_TLS_REQUEST, 0, 0,
                                            in, 0, current != NULL ? NULL : &tls->context, out, &attributes, NULL);
    if (current == NULL && (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED))
        tls->has_context = 1;
    return status;
}

/* The handshake, from its first message (first: a client sends it, a server
 * waits for it) or from records the peer sent during the session (a
 * renegotiation, TLS 1.3's later messages). */
static int tessaro_tls_handshake(tessaro_tls_t *tls, int first, tessaro_usec_t deadline, tessaro_usec_t timeout)
{
    SecBuffer in[2], out[1];
    SecBufferDesc in_desc = {SECBUFFER_VERSION, 2, in}, out_desc = {SECBUFFER_VERSION, 1, out};
    SECURITY_STATUS status = SEC_I_CONTINUE_NEEDED;
    int result;

    if (first && tls->server == NULL) {
        out[0].BufferType = SECBUFFER_TOKEN;
        out[0].pvBuffer = NULL;
        out[0].cbBuffer = 0;
        if (tessaro_tls_step(tls, NULL, &out_desc) != SEC_I_CONTINUE_NEEDED)
            return TESSARO_TLS_HANDSHAKE;
        if ((result = tessaro_tls_send_token(tls, &out[0], tessaro_left(deadline, timeout))) != 0)
            return result;
    }
    for (;;) {
        if (tls->incoming_len == 0 || status == SEC_E_INCOMPLETE_MESSAGE) {
            if ((result = tessaro_tls_receive(tls, tessaro_left(deadline, timeout))) != 0)
                return result == TESSARO_TIMEOUT ? result : TESSARO_TLS_HANDSHAKE;
        }
        in[0].BufferType = SECBUFFER_TOKEN;
        in[0].pvBuffer = tls->incoming;
        in[0].cbBuffer = (unsigned long)tls->incoming_len;
        in[1].BufferType = SECBUFFER_EMPTY;
        in[1].pvBuffer = NULL;
        in[1].cbBuffer = 0;
        out[0].BufferType = SECBUFFER_TOKEN;
        out[0].pvBuffer = NULL;
        out[0].cbBuffer = 0;
        status = tessaro_tls_step(tls, &in_desc, &out_desc);
        if (status == SEC_E_INCOMPLETE_MESSAGE)
            continue;
        /* An alert that tells the peer why goes out too. */
        result = tessaro_tls_send_token(tls, &out[0], tessaro_left(deadline, timeout));
        if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED && status != SEC_I_INCOMPLETE_CREDENTIALS)
            return TESSARO_TLS_HANDSHAKE;
        if (result != 0)
            return result == TESSARO_TIMEOUT ? result : TESSARO_TLS_HANDSHAKE;
        tessaro_tls_keep_extra(tls, in, 2);
        if (status == SEC_E_OK)
            return 0;
    }
}

/* The certificates of a PEM file in a store of their own, the first of them
 * into *first when it is asked for (the caller frees it); NULL when the
 * file holds none. */
static HCERTSTORE tessaro_tls_pem_store(const char *path, PCCERT_CONTEXT *first)
{
    HCERTSTORE store = NULL;
    size_t size;
    char *text = tessaro_pem_read(path, &size);
    const char *at = text;
    DWORD der_size;
    BYTE *der;
    int count = 0;

    if (text != NULL)
        store = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, NULL);
    while (store != NULL && (der = tessaro_pem_block(&at, "CERTIFICATE", &der_size)) != NULL) {
        if (CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der, der_size, CERT_STORE_ADD_ALWAYS,
                                             count == 0 ? first : NULL))
            count++;
        free(der);
    }
    free(text);
    if (store != NULL && count == 0) {
        CertCloseStore(store, 0);
        store = NULL;
    }
    return store;
}

static int tessaro_tls_policy_result(DWORD error)
{
    switch (error) {
    case 0:
        return 0;
    case (DWORD)CERT_E_UNTRUSTEDROOT:
    case (DWORD)CERT_E_CHAINING:
    case (DWORD)TRUST_E_CERT_SIGNATURE:
    case (DWORD)CERT_E_UNTRUSTEDCA:
        return TESSARO_TLS_UNTRUSTED;
    case (DWORD)CERT_E_CN_NO_MATCH:
        return TESSARO_TLS_WRONG_HOST;
    case (DWORD)CERT_E_EXPIRED:
        return TESSARO_TLS_EXPIRED;
    }
    return TESSARO_TLS_CERTIFICATE;
}

/* What the chain itself says, before the SSL policy (host name, dates) is
 * asked: not every crypt32 refuses a chain that ends short of a root in its
 * policy. With a CA file the chain must end at one of the file's
 * authorities, which the system does not know: that alone is then forgiven. */
static int tessaro_tls_chain_result(PCCERT_CHAIN_CONTEXT chain, HCERTSTORE authorities,
                                    SSL_EXTRA_CERT_CHAIN_POLICY_PARA *ssl_para, CERT_CHAIN_POLICY_PARA *policy_para)
{
    const CERT_SIMPLE_CHAIN *simple = chain->rgpChain[0];
    DWORD errors = chain->TrustStatus.dwErrorStatus;
    PCCERT_CONTEXT root = simple->rgpElement[simple->cElement - 1]->pCertContext, found;

    /* A certificate past its dates is refused as expired whatever else its chain says: of all the
     * reasons, that is the one its owner can act on. */
    if (CertVerifyTimeValidity(NULL, simple->rgpElement[0]->pCertContext->pCertInfo) > 0)
        return TESSARO_TLS_EXPIRED;
    if (authorities != NULL) {
        found = CertFindCertificateInStore(authorities, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, root, NULL);
        if (found == NULL)
            return TESSARO_TLS_UNTRUSTED;
        CertFreeCertificateContext(found);
        errors &= ~(DWORD)CERT_TRUST_IS_UNTRUSTED_ROOT;
        ssl_para->fdwChecks = SECURITY_FLAG_IGNORE_UNKNOWN_CA;
        policy_para->dwFlags = CERT_CHAIN_POLICY_ALLOW_UNKNOWN_CA_FLAG;
    }
    if (errors & (CERT_TRUST_IS_PARTIAL_CHAIN | CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_NOT_SIGNATURE_VALID |
                  CERT_TRUST_IS_CYCLIC))
        return TESSARO_TLS_UNTRUSTED;
    /* not valid yet, or an authority past its dates */
    if (errors & CERT_TRUST_IS_NOT_TIME_VALID)
        return TESSARO_TLS_CERTIFICATE;
    return 0;
}

/* Whether the certificate's subjectAltName holds the address the host was given as. Not every
 * crypt32's SSL policy compares addresses (Wine's takes names alone), so the library does. */
static int tessaro_tls_names_address(const tessaro_tls_t *tls, PCCERT_CONTEXT certificate)
{
    PCERT_EXTENSION extension = CertFindExtension(szOID_SUBJECT_ALT_NAME2, certificate->pCertInfo->cExtension,
                                                  certificate->pCertInfo->rgExtension);
    CERT_ALT_NAME_INFO *names = NULL;
    const CERT_ALT_NAME_ENTRY *entry;
    DWORD size = 0, i;
    int found = 0;

    if (extension == NULL || !CryptDecodeObjectEx(X509_ASN_ENCODING, X509_ALTERNATE_NAME, extension->Value.pbData,
                                                  extension->Value.cbData, CRYPT_DECODE_ALLOC_FLAG, NULL, &names, &size))
        return 0;
    for (i = 0; i < names->cAltEntry && !found; i++) {
        entry = &names->rgAltEntry[i];
        found = entry->dwAltNameChoice == CERT_ALT_NAME_IP_ADDRESS && entry->IPAddress.cbData == tls->address_size &&
                memcmp(entry->IPAddress.pbData, tls->address, tls->address_size) == 0;
    }
    LocalFree(names);
    return found;
}

/* The server's certificate: a chain to a trusted authority (the CA file's
 * alone when one is given), for this host, within its dates. */
static int tessaro_tls_verify(tessaro_tls_t *tls, const tessaro_tls_config_t *config)
{
    static char server_usage[] = szOID_PKIX_KP_SERVER_AUTH;
    char *usages[1] = {server_usage};
    PCCERT_CONTEXT remote = NULL;
    HCERTSTORE authorities = NULL, extra = NULL;
    PCCERT_CHAIN_CONTEXT chain = NULL;
    CERT_CHAIN_PARA chain_para;
    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl_para;
    CERT_CHAIN_POLICY_PARA policy_para;
    CERT_CHAIN_POLICY_STATUS status;
    WCHAR host[256];
    int result = TESSARO_TLS_CERTIFICATE;

    if (QueryContextAttributesA(&tls->context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &remote) != SEC_E_OK || remote == NULL)
        return TESSARO_TLS_HANDSHAKE;
    extra = remote->hCertStore;
    if (config->ca_file != NULL) {
        if ((authorities = tessaro_tls_pem_store(config->ca_file, NULL)) == NULL) {
            CertFreeCertificateContext(remote);
            return TESSARO_TLS_CA_FILE;
        }
        extra = CertOpenStore(CERT_STORE_PROV_COLLECTION, 0, 0, 0, NULL);
        if (extra != NULL) {
            CertAddStoreToCollection(extra, remote->hCertStore, 0, 0);
            CertAddStoreToCollection(extra, authorities, 0, 0);
        }
    }
    memset(&chain_para, 0, sizeof(chain_para));
    chain_para.cbSize = sizeof(chain_para);
    chain_para.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
    chain_para.RequestedUsage.Usage.cUsageIdentifier = 1;
    chain_para.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    memset(&ssl_para, 0, sizeof(ssl_para));
    ssl_para.cbSize = sizeof(ssl_para);
    ssl_para.dwAuthType = AUTHTYPE_SERVER;
    ssl_para.pwszServerName = host;
    memset(&policy_para, 0, sizeof(policy_para));
    policy_para.cbSize = sizeof(policy_para);
    policy_para.pvExtraPolicyPara = &ssl_para;
    memset(&status, 0, sizeof(status));
    status.cbSize = sizeof(status);
    if (extra != NULL && MultiByteToWideChar(CP_UTF8, 0, tls->host, -1, host, 256) > 0 &&
        CertGetCertificateChain(NULL, remote, NULL, extra, &chain_para, 0, NULL, &chain) && chain->cChain > 0 &&
        chain->rgpChain[0]->cElement > 0) {
        result = tessaro_tls_chain_result(chain, authorities, &ssl_para, &policy_para);
        /* an address is compared here, after the policy has checked all else */
        if (tls->literal)
            ssl_para.fdwChecks |= SECURITY_FLAG_IGNORE_CERT_CN_INVALID;
        if (result == 0)
            result = CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy_para, &status)
                ? tessaro_tls_policy_result(status.dwError)
                : TESSARO_TLS_CERTIFICATE;
        if (result == 0 && tls->literal && !tessaro_tls_names_address(tls, remote))
            result = TESSARO_TLS_WRONG_HOST;
    }
    if (chain != NULL)
        CertFreeCertificateChain(chain);
    if (authorities != NULL) {
        if (extra != NULL)
            CertCloseStore(extra, 0);
        CertCloseStore(authorities, 0);
    }
    CertFreeCertificateContext(remote);
    return result;
}

/* Credentials for TLS 1.2 and 1.3, or 1.2 alone where 1.3 is not known: a client's (certificate
 * NULL), whose server's certificate is left to tessaro_tls_verify, or a server's with its
 * certificate. */
static int tessaro_tls_acquire(CredHandle *credentials, PCCERT_CONTEXT *certificate)
{
    static const DWORD client[] = {SP_PROT_TLS1_2_CLIENT | SP_PROT_TLS1_3_CLIENT, SP_PROT_TLS1_2_CLIENT};
    static const DWORD server[] = {SP_PROT_TLS1_2_SERVER | SP_PROT_TLS1_3_SERVER, SP_PROT_TLS1_2_SERVER};
    SCHANNEL_CRED settings;
    size_t i;

    for (i = 0; i < 2; i++) {
        memset(&settings, 0, sizeof(settings));
        settings.dwVersion = SCHANNEL_CRED_VERSION;
        if (certificate != NULL) {
            settings.grbitEnabledProtocols = server[i];
            settings.cCreds = 1;
            settings.paCred = certificate;
        } else {
            settings.grbitEnabledProtocols = client[i];
            settings.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
        }
        if (AcquireCredentialsHandleA(NULL, (char *)UNISP_NAME_A, certificate != NULL ? SECPKG_CRED_INBOUND : SECPKG_CRED_OUTBOUND,
                                      NULL, &settings, NULL, NULL, credentials, NULL) == SEC_E_OK)
            return 0;
    }
    return TESSARO_TLS_HANDSHAKE;
}

static void tessaro_tls_server_release(tessaro_tls_server_t *server);

static void tessaro_tls_free(tessaro_tls_t *tls)
{
    if (tls->has_context)
        DeleteSecurityContext(&tls->context);
    if (tls->has_credentials)
        FreeCredentialsHandle(&tls->credentials);
    if (tls->server != NULL)
        tessaro_tls_server_release(tls->server);
    free(tls->incoming);
    free(tls->plain);
    free(tls->outgoing);
    free(tls->host);
    free(tls);
}

/* A session over the socket, not yet through its handshake; NULL without memory. */
static tessaro_tls_t *tessaro_tls_new(tessaro_socket_t sock)
{
    tessaro_tls_t *made = (tessaro_tls_t *)calloc(1, sizeof(*made));

    if (made == NULL)
        return NULL;
    made->sock = sock;
    /* a handshake message may be larger than a record */
    made->incoming_size = 64 * 1024;
    made->incoming = (char *)malloc(made->incoming_size);
    if (made->incoming == NULL) {
        free(made);
        return NULL;
    }
    return made;
}

/* After the handshake: the room for one record each way. */
static int tessaro_tls_ready(tessaro_tls_t *made)
{
    size_t record;
    char *larger;

    if (QueryContextAttributesA(&made->context, SECPKG_ATTR_STREAM_SIZES, &made->sizes) != SEC_E_OK)
        return TESSARO_TLS_HANDSHAKE;
    record = made->sizes.cbHeader + made->sizes.cbMaximumMessage + made->sizes.cbTrailer;
    if (record > made->incoming_size) {
        if ((larger = (char *)realloc(made->incoming, record)) == NULL)
            return TESSARO_ERROR;
        made->incoming = larger;
        made->incoming_size = record;
    }
    made->plain = (char *)malloc(made->sizes.cbMaximumMessage + 1);
    made->outgoing = (char *)malloc(record);
    return made->plain == NULL || made->outgoing == NULL ? TESSARO_ERROR : 0;
}

/* The end of connecting or accepting: *tls is the session, or it is freed and why is returned. */
static int tessaro_tls_finish(tessaro_tls_t **tls, tessaro_tls_t *made, int result)
{
    if (result != 0) {
        tessaro_tls_free(made);
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
    if (host == NULL || host[0] == '\0' || strlen(host) > 255)
        return TESSARO_ERROR;
    if (config == NULL)
        config = &defaults;
    if ((made = tessaro_tls_new(sock)) == NULL)
        return TESSARO_ERROR;
    made->host = _strdup(host);
    if (inet_pton(AF_INET, host, made->address) == 1) {
        made->literal = 1;
        made->address_size = 4;
    } else if (inet_pton(AF_INET6, host, made->address) == 1) {
        made->literal = 1;
        made->address_size = 16;
    }
    result = made->host != NULL ? tessaro_tls_acquire(&made->credentials, NULL) : TESSARO_ERROR;
    made->has_credentials = result == 0;
    if (result == 0)
        result = tessaro_tls_handshake(made, 1, deadline, timeout);
    if (result == 0 && !config->skip_verify)
        result = tessaro_tls_verify(made, config);
    if (result == 0)
        result = tessaro_tls_ready(made);
    return tessaro_tls_finish(tls, made, result);
}

/* Decrypts the next record held into plain (a record may give no bytes);
 * *more is set instead when no whole record is held yet. */
static int tessaro_tls_decrypt(tessaro_tls_t *tls, int *more, tessaro_usec_t deadline, tessaro_usec_t timeout)
{
    SecBuffer buffers[4];
    SecBufferDesc desc = {SECBUFFER_VERSION, 4, buffers};
    SECURITY_STATUS status;
    /* a TLS 1.2 record's type: 21 is an alert, the close_notify among them */
    int alert = tls->incoming[0] == 21;
    int i;

    *more = 0;
    buffers[0].BufferType = SECBUFFER_DATA;
    buffers[0].pvBuffer = tls->incoming;
    buffers[0].cbBuffer = (unsigned long)tls->incoming_len;
    for (i = 1; i < 4; i++) {
        buffers[i].BufferType = SECBUFFER_EMPTY;
        buffers[i].pvBuffer = NULL;
        buffers[i].cbBuffer = 0;
    }
    status = DecryptMessage(&tls->context, &desc, 0, NULL);
    if (status == SEC_E_INCOMPLETE_MESSAGE) {
        *more = 1;
        return 0;
    }
    if (status != SEC_E_OK && status != SEC_I_RENEGOTIATE && status != SEC_I_CONTEXT_EXPIRED)
        return TESSARO_ERROR;
    for (i = 0; i < 4; i++) {
        if (buffers[i].BufferType == SECBUFFER_DATA && buffers[i].cbBuffer > 0) {
            memcpy(tls->plain, buffers[i].pvBuffer, buffers[i].cbBuffer);
            tls->plain_at = 0;
            tls->plain_len = buffers[i].cbBuffer;
        }
    }
    tessaro_tls_keep_extra(tls, buffers, 4);
    /* Some Schannels report a close_notify as an empty record. */
    if (status == SEC_E_OK && alert && tls->plain_len == 0)
        status = SEC_I_CONTEXT_EXPIRED;
    if (status == SEC_I_CONTEXT_EXPIRED)
        return tls->plain_len > 0 ? 0 : TESSARO_END_OF_STREAM;
    if (status == SEC_I_RENEGOTIATE)
        return tessaro_tls_handshake(tls, 0, deadline, timeout);
    return 0;
}

/* A read, or a peek (peek non-zero) that leaves what it gives to the next read. */
static int tessaro_tls_read(tessaro_tls_t *tls, void *buf, tessaro_size_t *len, tessaro_usec_t timeout, int peek)
{
    tessaro_usec_t deadline = tessaro_deadline(timeout);
    tessaro_size_t want = *len;
    int result = 0, more = 1;

    *len = 0;
    if (want == 0)
        return 0;
    /* What is decrypted, then what is received but not decrypted, before
     * the socket is waited on. */
    while (tls->plain_len == 0) {
        if (tls->incoming_len > 0 && (result = tessaro_tls_decrypt(tls, &more, deadline, timeout)) != 0)
            return result;
        if (tls->plain_len == 0 && (tls->incoming_len == 0 || more) &&
            (result = tessaro_tls_receive(tls, tessaro_left(deadline, timeout))) != 0)
            return result;
    }
    *len = want < tls->plain_len ? want : tls->plain_len;
    memcpy(buf, tls->plain + tls->plain_at, *len);
    if (!peek) {
        tls->plain_at += *len;
        tls->plain_len -= *len;
    }
    return 0;
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
    return tls != NULL ? (int)(tls->plain_len + tls->incoming_len) : 0;
}

/* ---- the server's side ---- */

/* An empty key container of the server's own, its name made of the process, a count and the time. */
static int tessaro_tls_server_container(tessaro_tls_server_t *server)
{
    static volatile LONG count;

    _snwprintf(server->container, sizeof(server->container) / sizeof(WCHAR) - 1, L"tessaro-tls-%lu-%ld-%lu",
               (unsigned long)GetCurrentProcessId(), (long)InterlockedIncrement(&count), (unsigned long)GetTickCount());
    if (CryptAcquireContextW(&server->provider, server->container, MS_ENH_RSA_AES_PROV_W, PROV_RSA_AES,
                             CRYPT_NEWKEYSET | CRYPT_SILENT))
        return 0;
    server->provider = 0;
    return -1;
}

/* Whether the container's key (of the kind spec) is the one of the server's certificate. */
static int tessaro_tls_server_key_matches(tessaro_tls_server_t *server, DWORD spec)
{
    CERT_PUBLIC_KEY_INFO *info = NULL;
    DWORD size = 0;
    int same = CryptExportPublicKeyInfo(server->provider, spec, X509_ASN_ENCODING, NULL, &size) &&
               (info = (CERT_PUBLIC_KEY_INFO *)malloc(size)) != NULL &&
               CryptExportPublicKeyInfo(server->provider, spec, X509_ASN_ENCODING, info, &size) &&
               CertComparePublicKeyInfo(X509_ASN_ENCODING, &server->certificate->pCertInfo->SubjectPublicKeyInfo, info);

    free(info);
    return same;
}

/* The private key of the PEM file imported into the server's container, which the certificate
 * then names as its key's: 0, or -1 when the key cannot be read or is not the certificate's. */
static int tessaro_tls_server_key(tessaro_tls_server_t *server, const char *key_file)
{
    size_t length = 0;
    char *text = tessaro_pem_read(key_file, &length);
    DWORD size = 0, spec;
    BYTE *blob = text != NULL ? tessaro_pem_rsa_key(text, &size) : NULL;
    CRYPT_KEY_PROV_INFO named;
    HCRYPTKEY key = 0;
    int result = -1;

    if (blob != NULL && tessaro_tls_server_container(server) == 0 && CryptImportKey(server->provider, blob, size, 0, 0, &key)) {
        spec = ((const BLOBHEADER *)blob)->aiKeyAlg == CALG_RSA_SIGN ? AT_SIGNATURE : AT_KEYEXCHANGE;
        memset(&named, 0, sizeof(named));
        named.pwszContainerName = server->container;
        named.pwszProvName = (LPWSTR)MS_ENH_RSA_AES_PROV_W;
        named.dwProvType = PROV_RSA_AES;
        named.dwKeySpec = spec;
        if (tessaro_tls_server_key_matches(server, spec) &&
            CertSetCertificateContextProperty(server->certificate, CERT_KEY_PROV_INFO_PROP_ID, 0, &named))
            result = 0;
        CryptDestroyKey(key);
    }
    if (blob != NULL) {
        SecureZeroMemory(blob, size);
        LocalFree(blob);
    }
    if (text != NULL) {
        SecureZeroMemory(text, length);
        free(text);
    }
    return result;
}

/* Whether the system's TLS takes sessions on a server's side at all: Wine's Schannel gives a
 * server its credentials but has no AcceptSecurityContext. One byte of a record is too short for
 * any first message, which a TLS that serves says so. */
static int tessaro_tls_server_can_accept(tessaro_tls_server_t *server)
{
    char start = 22; /* a handshake record's type */
    SecBuffer in[2] = {{1, SECBUFFER_TOKEN, &start}, {0, SECBUFFER_EMPTY, NULL}}, out = {0, SECBUFFER_TOKEN, NULL};
    SecBufferDesc in_desc = {SECBUFFER_VERSION, 2, in}, out_desc = {SECBUFFER_VERSION, 1, &out};
    CtxtHandle context;
    unsigned long attributes;
    SECURITY_STATUS status;

    SecInvalidateHandle(&context);
    status = AcceptSecurityContext(&server->credentials, NULL, &in_desc, TESSARO_TLS_ACCEPT_REQUEST, 0, &context, &out_desc,
                                   &attributes, NULL);
    if (out.pvBuffer != NULL)
        FreeContextBuffer(out.pvBuffer);
    if (SecIsValidHandle(&context))
        DeleteSecurityContext(&context);
    return status != SEC_E_UNSUPPORTED_FUNCTION;
}

/* Frees the server once neither it nor a session it accepted holds it, and deletes its key container. */
static void tessaro_tls_server_release(tessaro_tls_server_t *server)
{
    HCRYPTPROV gone;

    if (InterlockedDecrement(&server->references) > 0)
        return;
    if (server->has_credentials)
        FreeCredentialsHandle(&server->credentials);
    if (server->certificate != NULL)
        CertFreeCertificateContext(server->certificate);
    if (server->chain != NULL)
        CertCloseStore(server->chain, 0);
    if (server->provider != 0) {
        CryptReleaseContext(server->provider, 0);
        CryptAcquireContextW(&gone, server->container, MS_ENH_RSA_AES_PROV_W, PROV_RSA_AES, CRYPT_DELETEKEYSET | CRYPT_SILENT);
    }
    free(server);
}

int tessaro_tls_server_new(tessaro_tls_server_t **server, const char *certificate_file, const char *key_file)
{
    tessaro_tls_server_t *made = (tessaro_tls_server_t *)calloc(1, sizeof(*made));
    int result = TESSARO_TLS_CERTIFICATE;

    *server = NULL;
    if (made == NULL)
        return TESSARO_ERROR;
    made->references = 1;
    made->chain = tessaro_tls_pem_store(certificate_file, &made->certificate);
    if (made->certificate != NULL && tessaro_tls_server_key(made, key_file) == 0) {
        made->has_credentials = tessaro_tls_acquire(&made->credentials, &made->certificate) == 0;
        result = made->has_credentials && tessaro_tls_server_can_accept(made) ? 0 : TESSARO_TLS_HANDSHAKE;
    }
    if (result != 0) {
        tessaro_tls_server_release(made);
        return result;
    }
    *server = made;
    return 0;
}

void tessaro_tls_server_free(tessaro_tls_server_t *server)
{
    if (server != NULL)
        tessaro_tls_server_release(server);
}

int tessaro_tls_accept(tessaro_tls_t **tls, tessaro_tls_server_t *server, tessaro_socket_t sock, tessaro_usec_t timeout)
{
    tessaro_usec_t deadline = tessaro_deadline(timeout);
    tessaro_tls_t *made;
    int result;

    *tls = NULL;
    if ((made = tessaro_tls_new(sock)) == NULL)
        return TESSARO_ERROR;
    /* the session holds the server's credentials as long as it lives */
    InterlockedIncrement(&server->references);
    made->server = server;
    made->credentials = server->credentials;
    result = tessaro_tls_handshake(made, 1, deadline, timeout);
    if (result == 0)
        result = tessaro_tls_ready(made);
    return tessaro_tls_finish(tls, made, result);
}

int tessaro_tls_send_all(tessaro_tls_t *tls, const void *buf, tessaro_size_t len, tessaro_size_t *sent,
                         tessaro_usec_t timeout)
{
    tessaro_usec_t deadline = tessaro_deadline(timeout);
    SecBuffer buffers[4];
    SecBufferDesc desc = {SECBUFFER_VERSION, 4, buffers};
    tessaro_size_t piece, done;
    int result;

    *sent = 0;
    while (*sent < len) {
        piece = len - *sent < tls->sizes.cbMaximumMessage ? len - *sent : tls->sizes.cbMaximumMessage;
        memcpy(tls->outgoing + tls->sizes.cbHeader, (const char *)buf + *sent, piece);
        buffers[0].BufferType = SECBUFFER_STREAM_HEADER;
        buffers[0].pvBuffer = tls->outgoing;
        buffers[0].cbBuffer = tls->sizes.cbHeader;
        buffers[1].BufferType = SECBUFFER_DATA;
        buffers[1].pvBuffer = tls->outgoing + tls->sizes.cbHeader;
        buffers[1].cbBuffer = (unsigned long)piece;
        buffers[2].BufferType = SECBUFFER_STREAM_TRAILER;
        buffers[2].pvBuffer = tls->outgoing + tls->sizes.cbHeader + piece;
        buffers[2].cbBuffer = tls->sizes.cbTrailer;
        buffers[3].BufferType = SECBUFFER_EMPTY;
        buffers[3].pvBuffer = NULL;
        buffers[3].cbBuffer = 0;
        if (EncryptMessage(&tls->context, 0, &desc, 0) != SEC_E_OK)
            return TESSARO_ERROR;
        result = tessaro_socket_send_all(tls->sock, tls->outgoing,
                                         buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer, &done,
                                         tessaro_left(deadline, timeout));
        if (result != 0)
            return result;
        *sent += piece;
    }
    return 0;
}

void tessaro_tls_close(tessaro_tls_t *tls)
{
    DWORD type = SCHANNEL_SHUTDOWN;
    SecBuffer buffer = {sizeof(type), SECBUFFER_TOKEN, &type};
    SecBufferDesc desc = {SECBUFFER_VERSION, 1, &buffer};
    SecBuffer out = {0, SECBUFFER_TOKEN, NULL};
    SecBufferDesc out_desc = {SECBUFFER_VERSION, 1, &out};

    if (tls == NULL)
        return;
    /* One close_notify, sent only if the socket takes it at once. */
    if (tls->has_context && ApplyControlToken(&tls->context, &desc) == SEC_E_OK) {
        tessaro_tls_step(tls, NULL, &out_desc);
        tessaro_tls_send_token(tls, &out, 0);
    }
    tessaro_tls_free(tls);
}
#else
/* Other platforms take tessaro_tls_openssl.c; an empty unit is not ISO C. */
typedef int tessaro_tls_schannel_unused;
#endif
