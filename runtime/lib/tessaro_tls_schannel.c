/* tessaro: TLS client sessions on Windows, through the system's TLS
 * (Schannel, by SSPI). The certificate is checked here (crypt32's chain
 * and SSL policy), so that a CA file can stand for the system's store and
 * each cause of a refusal gets its own result. */
#ifdef _WIN32
#define SECURITY_WIN32
#include "tessaro_tls.h"
#include "tessaro_util.h"

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
#ifndef SECURITY_FLAG_IGNORE_UNKNOWN_CA
#define SECURITY_FLAG_IGNORE_UNKNOWN_CA 0x00000100
#endif
#ifndef SECURITY_FLAG_IGNORE_CERT_CN_INVALID
#define SECURITY_FLAG_IGNORE_CERT_CN_INVALID 0x00001000
#endif

#define TESSARO_TLS_REQUEST                                                                                            \
    (ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY | ISC_REQ_ALLOCATE_MEMORY |             \
     ISC_REQ_STREAM | ISC_REQ_EXTENDED_ERROR)

struct tessaro_tls {
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

/* The handshake, from its first message (first) or from records the peer
 * sent during the session (a renegotiation, TLS 1.3's later messages). */
static int tessaro_tls_handshake(tessaro_tls_t *tls, int first, tessaro_usec_t deadline, tessaro_usec_t timeout)
{
    SecBuffer in[2], out[1];
    SecBufferDesc in_desc = {SECBUFFER_VERSION, 2, in}, out_desc = {SECBUFFER_VERSION, 1, out};
    unsigned long attributes;
    SECURITY_STATUS status = SEC_I_CONTINUE_NEEDED;
    int result;

    if (first) {
        out[0].BufferType = SECBUFFER_TOKEN;
        out[0].pvBuffer = NULL;
        out[0].cbBuffer = 0;
        status = InitializeSecurityContextA(&tls->credentials, NULL, tessaro_tls_target(tls), TESSARO_TLS_REQUEST, 0, 0, NULL, 0,
                                            &tls->context, &out_desc, &attributes, NULL);
        if (status != SEC_I_CONTINUE_NEEDED)
            return TESSARO_TLS_HANDSHAKE;
        tls->has_context = 1;
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
        status = InitializeSecurityContextA(&tls->credentials, &tls->context, tessaro_tls_target(tls), TESSARO_TLS_REQUEST, 0, 0,
                                            &in_desc, 0, NULL, &out_desc, &attributes, NULL);
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

/* The certificates of a PEM file in a store of their own; NULL when the
 * file holds none. */
static HCERTSTORE tessaro_tls_pem_store(const char *path)
{
    static const char begin[] = "-----BEGIN CERTIFICATE-----", end[] = "-----END CERTIFICATE-----";
    HCERTSTORE store = NULL;
    FILE *file = fopen(path, "rb");
    char *text = NULL, *at, *stop;
    long size;
    DWORD der_size;
    BYTE *der;
    int count = 0;

    if (file == NULL)
        return NULL;
    if (fseek(file, 0, SEEK_END) == 0 && (size = ftell(file)) > 0 && size < (64L << 20) &&
        fseek(file, 0, SEEK_SET) == 0 && (text = (char *)malloc((size_t)size + 1)) != NULL &&
        fread(text, 1, (size_t)size, file) == (size_t)size) {
        text[size] = '\0';
        store = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, NULL);
        for (at = strstr(text, begin); store != NULL && at != NULL; at = strstr(stop, begin)) {
            if ((stop = strstr(at, end)) == NULL)
                break;
            stop += sizeof(end) - 1;
            der_size = 0;
            if (!CryptStringToBinaryA(at, (DWORD)(stop - at), CRYPT_STRING_BASE64HEADER, NULL, &der_size, NULL, NULL) ||
                (der = (BYTE *)malloc(der_size)) == NULL)
                continue;
            if (CryptStringToBinaryA(at, (DWORD)(stop - at), CRYPT_STRING_BASE64HEADER, der, &der_size, NULL, NULL) &&
                CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der, der_size, CERT_STORE_ADD_ALWAYS, NULL))
                count++;
            free(der);
        }
    }
    free(text);
    fclose(file);
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
    if (errors & CERT_TRUST_IS_NOT_TIME_VALID) {
        /* expired, unless it is not valid yet */
        return CertVerifyTimeValidity(NULL, simple->rgpElement[0]->pCertContext->pCertInfo) > 0
            ? TESSARO_TLS_EXPIRED
            : TESSARO_TLS_CERTIFICATE;
    }
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
        if ((authorities = tessaro_tls_pem_store(config->ca_file)) == NULL) {
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

/* Credentials for TLS 1.2 and 1.3, or 1.2 alone where 1.3 is not known;
 * the certificate is left to tessaro_tls_verify. */
static int tessaro_tls_credentials(tessaro_tls_t *tls)
{
    static const DWORD protocols[] = {SP_PROT_TLS1_2_CLIENT | SP_PROT_TLS1_3_CLIENT, SP_PROT_TLS1_2_CLIENT};
    SCHANNEL_CRED credentials;
    size_t i;

    for (i = 0; i < sizeof(protocols) / sizeof(protocols[0]); i++) {
        memset(&credentials, 0, sizeof(credentials));
        credentials.dwVersion = SCHANNEL_CRED_VERSION;
        credentials.grbitEnabledProtocols = protocols[i];
        credentials.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
        if (AcquireCredentialsHandleA(NULL, (char *)UNISP_NAME_A, SECPKG_CRED_OUTBOUND, NULL, &credentials, NULL, NULL,
                                      &tls->credentials, NULL) == SEC_E_OK) {
            tls->has_credentials = 1;
            return 0;
        }
    }
    return TESSARO_TLS_HANDSHAKE;
}

static void tessaro_tls_free(tessaro_tls_t *tls)
{
    if (tls->has_context)
        DeleteSecurityContext(&tls->context);
    if (tls->has_credentials)
        FreeCredentialsHandle(&tls->credentials);
    free(tls->incoming);
    free(tls->plain);
    free(tls->outgoing);
    free(tls->host);
    free(tls);
}

int tessaro_tls_connect(tessaro_tls_t **tls, tessaro_socket_t sock, const char *host, const tessaro_tls_config_t *config,
                        tessaro_usec_t timeout)
{
    static const tessaro_tls_config_t defaults = {NULL, 0};
    tessaro_usec_t deadline = tessaro_deadline(timeout);
    tessaro_tls_t *made;
    size_t record;
    int result;

    *tls = NULL;
    if (host == NULL || host[0] == '\0' || strlen(host) > 255)
        return TESSARO_ERROR;
    if (config == NULL)
        config = &defaults;
    made = (tessaro_tls_t *)calloc(1, sizeof(*made));
    if (made == NULL)
        return TESSARO_ERROR;
    made->sock = sock;
    made->host = _strdup(host);
    if (inet_pton(AF_INET, host, made->address) == 1) {
        made->literal = 1;
        made->address_size = 4;
    } else if (inet_pton(AF_INET6, host, made->address) == 1) {
        made->literal = 1;
        made->address_size = 16;
    }
    /* a handshake message may be larger than a record */
    made->incoming_size = 64 * 1024;
    made->incoming = (char *)malloc(made->incoming_size);
    result = made->host != NULL && made->incoming != NULL ? tessaro_tls_credentials(made) : TESSARO_ERROR;
    if (result == 0)
        result = tessaro_tls_handshake(made, 1, deadline, timeout);
    if (result == 0 && !config->skip_verify)
        result = tessaro_tls_verify(made, config);
    if (result == 0 && QueryContextAttributesA(&made->context, SECPKG_ATTR_STREAM_SIZES, &made->sizes) != SEC_E_OK)
        result = TESSARO_TLS_HANDSHAKE;
    if (result == 0) {
        record = made->sizes.cbHeader + made->sizes.cbMaximumMessage + made->sizes.cbTrailer;
        if (record > made->incoming_size) {
            char *larger = (char *)realloc(made->incoming, record);
            made->incoming = larger != NULL ? larger : made->incoming;
            made->incoming_size = larger != NULL ? record : made->incoming_size;
        }
        made->plain = (char *)malloc(made->sizes.cbMaximumMessage + 1);
        made->outgoing = (char *)malloc(record);
        if (made->incoming_size < record || made->plain == NULL || made->outgoing == NULL)
            result = TESSARO_ERROR;
    }
    if (result != 0) {
        tessaro_tls_free(made);
        return result;
    }
    *tls = made;
    return 0;
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

/* The server's side is not built on Schannel yet: a server asked for TLS does not start. */
int tessaro_tls_server_new(tessaro_tls_server_t **server, const char *certificate_file, const char *key_file)
{
    (void)certificate_file;
    (void)key_file;
    *server = NULL;
    return TESSARO_TLS_CERTIFICATE;
}

void tessaro_tls_server_free(tessaro_tls_server_t *server)
{
    (void)server;
}

int tessaro_tls_accept(tessaro_tls_t **tls, tessaro_tls_server_t *server, tessaro_socket_t sock, tessaro_usec_t timeout)
{
    (void)server;
    (void)sock;
    (void)timeout;
    *tls = NULL;
    return TESSARO_TLS_HANDSHAKE;
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
    unsigned long attributes;

    if (tls == NULL)
        return;
    /* One close_notify, sent only if the socket takes it at once. */
    if (tls->has_context && ApplyControlToken(&tls->context, &desc) == SEC_E_OK) {
        InitializeSecurityContextA(&tls->credentials, &tls->context, tessaro_tls_target(tls), TESSARO_TLS_REQUEST, 0, 0, NULL, 0, NULL,
                                   &out_desc, &attributes, NULL);
        tessaro_tls_send_token(tls, &out, 0);
    }
    tessaro_tls_free(tls);
}
#else
/* Other platforms take tessaro_tls_openssl.c; an empty unit is not ISO C. */
typedef int tessaro_tls_schannel_unused;
#endif
