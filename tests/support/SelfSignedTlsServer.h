#pragma once

// A loopback TLS server with a certificate made for it on the spot, signed by
// itself: no system trusts it. It accepts connections and takes each through
// the handshake (which a checking client ends), until it goes. POSIX and
// OpenSSL only.

#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

namespace testsupport {

class SelfSignedTlsServer {
public:
    SelfSignedTlsServer() : context_(SSL_CTX_new(TLS_server_method()), SSL_CTX_free)
    {
        if (!context_ || !useNewCertificate())
            throw std::runtime_error("TLS server: no certificate");
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 4) != 0)
            throw std::runtime_error("TLS server: cannot listen");
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { run(); });
    }

    ~SelfSignedTlsServer()
    {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }

    SelfSignedTlsServer(const SelfSignedTlsServer&) = delete;
    SelfSignedTlsServer& operator=(const SelfSignedTlsServer&) = delete;

    std::string url(const std::string& path) const { return "https://127.0.0.1:" + std::to_string(port_) + path; }

private:
    bool useNewCertificate()
    {
        std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_RSA_gen(2048), EVP_PKEY_free);
        std::unique_ptr<X509, decltype(&X509_free)> certificate(X509_new(), X509_free);
        if (!key || !certificate)
            return false;
        ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), 1);
        X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600);
        X509_gmtime_adj(X509_getm_notAfter(certificate.get()), 3600);
        X509_set_pubkey(certificate.get(), key.get());
        X509_NAME* name = X509_get_subject_name(certificate.get());
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1,
                                   -1, 0);
        X509_set_issuer_name(certificate.get(), name);
        return X509_sign(certificate.get(), key.get(), EVP_sha256()) > 0 &&
            SSL_CTX_use_certificate(context_.get(), certificate.get()) == 1 &&
            SSL_CTX_use_PrivateKey(context_.get(), key.get()) == 1;
    }

    void run()
    {
        while (!stop_) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(listener_, &set);
            timeval wait{0, 50000};
            if (::select(listener_ + 1, &set, nullptr, nullptr, &wait) <= 0)
                continue;
            const int client = ::accept(listener_, nullptr, nullptr);
            if (client < 0)
                continue;
            timeval limit{5, 0};
            ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
            SSL* session = SSL_new(context_.get());
            SSL_set_fd(session, client);
            SSL_accept(session); // the client refuses the certificate here
            SSL_free(session);
            ::close(client);
        }
    }

    std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> context_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace testsupport
