// The support library's TLS sessions over loopback. The TLS peer is an OpenSSL server whose certificates
// a test authority made for this run: one per way a certificate is refused.
// (The Windows build's sessions are driven by the generated client's tests
// under Wine, against the same kind of server.)

#include <gtest/gtest.h>

#include "LoopbackSockets.h"
#include "tessaro_tls.h"

#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using KeyPtr = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using CertPtr = std::unique_ptr<X509, decltype(&X509_free)>;

const tessaro_usec_t Second = TESSARO_USEC_PER_SEC;

void addExtension(X509* certificate, X509* issuer, int nid, const char* value)
{
    X509V3_CTX context;
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
}

// A certificate for name (CN and DNS name), valid from..until seconds from
// now, signed by issuer (itself when null: an authority).
CertPtr makeCertificate(EVP_PKEY* key, const char* name, long from, long until, X509* issuer, EVP_PKEY* issuerKey)
{
    CertPtr certificate(X509_new(), X509_free);
    static long serial = 1;
    ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), serial++);
    X509_set_version(certificate.get(), 2);
    X509_gmtime_adj(X509_getm_notBefore(certificate.get()), from);
    X509_gmtime_adj(X509_getm_notAfter(certificate.get()), until);
    X509_set_pubkey(certificate.get(), key);
    X509_NAME_add_entry_by_txt(X509_get_subject_name(certificate.get()), "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(name), -1, -1, 0);
    X509* signer = issuer != nullptr ? issuer : certificate.get();
    X509_set_issuer_name(certificate.get(), X509_get_subject_name(signer));
    if (issuer == nullptr) {
        addExtension(certificate.get(), signer, NID_basic_constraints, "critical,CA:TRUE");
        addExtension(certificate.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        addExtension(certificate.get(), signer, NID_subject_alt_name, (std::string("DNS:") + name).c_str());
    }
    X509_sign(certificate.get(), issuerKey != nullptr ? issuerKey : key, EVP_sha256());
    return certificate;
}

// The authority of this run and the server certificates it issues.
struct TestAuthority {
    TestAuthority()
        : key(EVP_EC_gen("P-256"), EVP_PKEY_free), certificate(makeCertificate(key.get(), "Test CA", -3600, 86400, nullptr, nullptr)),
          file(std::filesystem::temp_directory_path() / ("tessaro-ca-" + std::to_string(getpid()) + ".pem"))
    {
        FILE* out = std::fopen(file.c_str(), "w");
        PEM_write_X509(out, certificate.get());
        std::fclose(out);
    }
    ~TestAuthority() { std::filesystem::remove(file); }

    KeyPtr key;
    CertPtr certificate;
    std::filesystem::path file;
};

TestAuthority& authority()
{
    static TestAuthority made;
    return made;
}

// A loopback TLS server with one certificate; each accepted connection is
// taken through the handshake and then handed to serve.
class TlsServer {
public:
    TlsServer(const char* name, long from, long until, bool byTestAuthority,
              std::function<void(SSL*)> serve = nullptr, int newestVersion = 0)
        : context_(SSL_CTX_new(TLS_server_method()), SSL_CTX_free), key_(EVP_EC_gen("P-256"), EVP_PKEY_free),
          serve_(std::move(serve))
    {
        // OpenSSL's own socket writes raise SIGPIPE when a refusing client has gone.
        std::signal(SIGPIPE, SIG_IGN);
        KeyPtr otherKey(EVP_EC_gen("P-256"), EVP_PKEY_free);
        CertPtr other = makeCertificate(otherKey.get(), "Other CA", -3600, 86400, nullptr, nullptr);
        X509* issuer = byTestAuthority ? authority().certificate.get() : other.get();
        EVP_PKEY* issuerKey = byTestAuthority ? authority().key.get() : otherKey.get();
        CertPtr certificate = makeCertificate(key_.get(), name, from, until, issuer, issuerKey);
        SSL_CTX_use_certificate(context_.get(), certificate.get());
        SSL_CTX_use_PrivateKey(context_.get(), key_.get());
        if (newestVersion != 0) {
            // an old server: its protocol and ciphers are below what OpenSSL allows by default
            SSL_CTX_set_min_proto_version(context_.get(), TLS1_VERSION);
            SSL_CTX_set_max_proto_version(context_.get(), newestVersion);
            SSL_CTX_set_cipher_list(context_.get(), "DEFAULT:@SECLEVEL=0");
        }
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 4);
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { run(); });
    }

    ~TlsServer()
    {
        ::shutdown(listener_, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }

    tessaro_port_t port() const { return static_cast<tessaro_port_t>(port_); }

private:
    void run()
    {
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0)
            return;
        timeval limit{10, 0};
        ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        SSL* session = SSL_new(context_.get());
        SSL_set_fd(session, client);
        if (SSL_accept(session) == 1 && serve_)
            serve_(session);
        SSL_free(session);
        ::close(client);
    }

    std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> context_;
    KeyPtr key_;
    std::function<void(SSL*)> serve_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

using loopback::connectTo;

int handshake(tessaro_port_t port, const char* host, const tessaro_tls_config_t* config)
{
    tessaro_socket_t sock = connectTo(port);
    tessaro_tls_t* tls = nullptr;
    const int result = tessaro_tls_connect(&tls, sock, host, config, 10 * Second);
    EXPECT_EQ(tls != nullptr, result == 0);
    tessaro_tls_close(tls);
    tessaro_socket_close(sock);
    return result;
}

// Each way a certificate is refused has its own result; the CA file or an
// explicit skip lets the first pass; a host name is checked, an address too.
TEST(TessaroTls, EachRefusalHasItsOwnResult)
{
    const std::string caFile = authority().file.string();
    const tessaro_tls_config_t systemStore{nullptr, 0};
    const tessaro_tls_config_t testAuthority{caFile.c_str(), 0};
    const tessaro_tls_config_t skipped{nullptr, 1};
    const tessaro_tls_config_t missingFile{"/nonexistent/ca.pem", 0};
    const struct {
        const char* label;
        const char* certifiedName;
        long from, until;
        bool byTestAuthority;
        const char* host;
        const tessaro_tls_config_t* config;
        int result;
    } rows[] = {
        {"issuer the system does not know", "localhost", -60, 3600, true, "localhost", &systemStore, TESSARO_TLS_UNTRUSTED},
        {"the same with its CA file", "localhost", -60, 3600, true, "localhost", &testAuthority, 0},
        {"defaults (NULL config)", "localhost", -60, 3600, true, "localhost", nullptr, TESSARO_TLS_UNTRUSTED},
        {"issuer not in the CA file", "localhost", -60, 3600, false, "localhost", &testAuthority, TESSARO_TLS_UNTRUSTED},
        {"another host's certificate", "wrong.example", -60, 3600, true, "localhost", &testAuthority,
         TESSARO_TLS_WRONG_HOST},
        {"an address the certificate does not name", "localhost", -60, 3600, true, "127.0.0.1", &testAuthority,
         TESSARO_TLS_WRONG_HOST},
        {"expired", "localhost", -7200, -3600, true, "localhost", &testAuthority, TESSARO_TLS_EXPIRED},
        {"not yet valid", "localhost", 3600, 7200, true, "localhost", &testAuthority, TESSARO_TLS_CERTIFICATE},
        {"verification turned off", "wrong.example", -7200, -3600, false, "localhost", &skipped, 0},
        {"unreadable CA file", "localhost", -60, 3600, true, "localhost", &missingFile, TESSARO_TLS_CA_FILE},
    };
    for (const auto& row : rows) {
        TlsServer server(row.certifiedName, row.from, row.until, row.byTestAuthority);
        EXPECT_EQ(handshake(server.port(), row.host, row.config), row.result) << row.label;
        EXPECT_STRNE(tessaro_result_text(row.result), "unknown result") << row.label;
    }
}

// A server that offers TLS 1.1 at most, or speaks no TLS, fails the
// handshake; one that never answers fails it by the time-out.
TEST(TessaroTls, HandshakeFailuresEndInTime)
{
    const std::string caFile = authority().file.string();
    const tessaro_tls_config_t config{caFile.c_str(), 0};
    {
        TlsServer old("localhost", -60, 3600, true, nullptr, TLS1_1_VERSION);
        EXPECT_EQ(handshake(old.port(), "localhost", &config), TESSARO_TLS_HANDSHAKE);
    }
    {
        tessaro_socket_t listener, client;
        ASSERT_EQ(tessaro_socket_create_tcp_listen(&listener, 0, 1), 0);
        sockaddr_in address{};
        socklen_t size = sizeof(address);
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
        std::thread plain([&] {
            const int peer = ::accept(listener, nullptr, nullptr);
            const char answer[] = "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n";
            ::send(peer, answer, sizeof answer - 1, MSG_NOSIGNAL);
            ::close(peer);
        });
        client = connectTo(ntohs(address.sin_port));
        tessaro_tls_t* tls = nullptr;
        EXPECT_EQ(tessaro_tls_connect(&tls, client, "localhost", &config, 5 * Second), TESSARO_TLS_HANDSHAKE);
        plain.join();
        tessaro_socket_close(client);
        // Silent: the listener accepts (its queue) and says nothing.
        client = connectTo(ntohs(address.sin_port));
        EXPECT_EQ(tessaro_tls_connect(&tls, client, "localhost", &config, Second / 5), TESSARO_TIMEOUT);
        EXPECT_EQ(tls, nullptr);
        tessaro_socket_close(client);
        tessaro_socket_close(listener);
    }
}

// What the session decrypted is read before the socket is waited on: a
// record read in small pieces gives all of it with no time to wait, and a
// large message goes and comes back whole through many records.
TEST(TessaroTls, DataCrossesWholeAndBufferedDataNeedsNoWait)
{
    const std::string caFile = authority().file.string();
    const tessaro_tls_config_t config{caFile.c_str(), 0};
    std::string large(300000, '\0');
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 13 + i / 7);
    TlsServer server("localhost", -60, 3600, true, [&](SSL* session) {
        SSL_write(session, "0123456789", 10);
        std::string echoed(large.size(), '\0');
        std::size_t got = 0;
        while (got < echoed.size()) {
            const int n = SSL_read(session, &echoed[got], static_cast<int>(echoed.size() - got));
            if (n <= 0)
                return;
            got += static_cast<std::size_t>(n);
        }
        for (std::size_t sent = 0; sent < echoed.size();)
            sent += static_cast<std::size_t>(SSL_write(session, echoed.data() + sent, static_cast<int>(echoed.size() - sent)));
        SSL_shutdown(session);
    });
    tessaro_socket_t sock = connectTo(server.port());
    tessaro_tls_t* tls = nullptr;
    ASSERT_EQ(tessaro_tls_connect(&tls, sock, "localhost", &config, 10 * Second), 0);
    std::string record;
    char piece[4];
    tessaro_size_t len = sizeof piece;
    ASSERT_EQ(tessaro_tls_recv(tls, piece, &len, 10 * Second), 0);
    record.append(piece, len);
    while (record.size() < 10) {
        len = sizeof piece;
        ASSERT_EQ(tessaro_tls_recv(tls, piece, &len, 0), 0) << "after " << record.size() << " bytes";
        record.append(piece, len);
    }
    EXPECT_EQ(record, "0123456789");

    tessaro_size_t sent = 0;
    ASSERT_EQ(tessaro_tls_send_all(tls, large.data(), large.size(), &sent, 10 * Second), 0);
    EXPECT_EQ(sent, large.size());
    std::string back;
    std::vector<char> buffer(65536);
    int result = 0;
    while (result == 0) {
        len = buffer.size();
        result = tessaro_tls_recv(tls, buffer.data(), &len, 10 * Second);
        back.append(buffer.data(), len);
    }
    EXPECT_EQ(result, TESSARO_END_OF_STREAM);
    EXPECT_TRUE(back == large) << back.size() << " bytes came back";
    tessaro_tls_close(tls);
    tessaro_socket_close(sock);
}

} // namespace
