// Calls per second over loopback TLS with the support library, as the
// generated client makes them: a request of a SOAP call's size out and an
// answer of Content-Length framing back, each on a connection of its own
// (connect and handshake every time) against all on one kept connection.
// The server is OpenSSL on a thread of this process, with a certificate made
// on the spot; the client skips verification (its cost is the handshake's).

#include "tessaro_tls.h"

#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace {

const std::string Answer = "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: 300\r\n\r\n" +
    std::string(300, 'x');

SSL_CTX* serverContext()
{
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    EVP_PKEY* key = EVP_EC_gen("P-256");
    X509* certificate = X509_new();
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate), -60);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 3600);
    X509_set_pubkey(certificate, key);
    X509_NAME_add_entry_by_txt(X509_get_subject_name(certificate), "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0);
    X509_set_issuer_name(certificate, X509_get_subject_name(certificate));
    X509_sign(certificate, key, EVP_sha256());
    SSL_CTX_use_certificate(context, certificate);
    SSL_CTX_use_PrivateKey(context, key);
    X509_free(certificate);
    EVP_PKEY_free(key);
    return context;
}

// Answers every request (its head ends the request: the bench sends no body
// beyond what the head's Content-Length counts, read here) until the client goes.
void serve(SSL* session)
{
    std::string in;
    char buffer[16384];
    for (;;) {
        const std::size_t end = in.find("\r\n\r\n");
        const std::size_t length = end == std::string::npos ? 0 : std::stoul(in.substr(in.find("Content-Length:") + 15));
        if (end != std::string::npos && in.size() >= end + 4 + length) {
            in.erase(0, end + 4 + length);
            if (SSL_write(session, Answer.data(), static_cast<int>(Answer.size())) <= 0)
                return;
            continue;
        }
        const int n = SSL_read(session, buffer, sizeof buffer);
        if (n <= 0)
            return;
        in.append(buffer, static_cast<std::size_t>(n));
    }
}

// count calls; each on a new connection unless reuse.
bool calls(tessaro_port_t port, int count, bool reuse)
{
    const std::string body(2000, 'b');
    const std::string request = "POST /calculator HTTP/1.1\r\nHOST:localhost:" + std::to_string(port) +
        "\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length:" + std::to_string(body.size()) + "\r\n\r\n" + body;
    const tessaro_tls_config_t config{nullptr, 1};
    tessaro_socket_t sock = INVALID_SOCKET;
    tessaro_tls_t* tls = nullptr;
    char buffer[4096];
    for (int i = 0; i < count; ++i) {
        if (tls == nullptr) {
            if (tessaro_create_tcp_socket(&sock) != 0 || tessaro_connect_within(sock, "127.0.0.1", port, 5000000) != 0 ||
                tessaro_tls_connect(&tls, sock, "localhost", &config, 5000000) != 0)
                return false;
        }
        tessaro_size_t sent = 0, got = 0, len;
        if (tessaro_tls_send_all(tls, request.data(), request.size(), &sent, 5000000) != 0)
            return false;
        while (got < Answer.size()) {
            len = sizeof buffer;
            if (tessaro_tls_recv(tls, buffer, &len, 5000000) != 0)
                return false;
            got += len;
        }
        if (!reuse) {
            tessaro_tls_close(tls);
            tessaro_socket_close(sock);
            tls = nullptr;
        }
    }
    tessaro_tls_close(tls);
    if (tls != nullptr)
        tessaro_socket_close(sock);
    return true;
}

} // namespace

int main()
{
    std::signal(SIGPIPE, SIG_IGN);
    SSL_CTX* context = serverContext();
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener, 16) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return 1;
    std::thread server([&] {
        for (;;) {
            const int client = ::accept(listener, nullptr, nullptr);
            if (client < 0)
                return;
            // as HTTP servers do: an answer must not wait for the client's delayed acknowledgement
            const int nodelay = 1;
            ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &nodelay, sizeof nodelay);
            SSL* session = SSL_new(context);
            SSL_set_fd(session, client);
            if (SSL_accept(session) == 1)
                serve(session);
            SSL_free(session);
            ::close(client);
        }
    });
    const tessaro_port_t port = ntohs(address.sin_port);
    const int count = 300;
    double rates[2] = {0, 0};
    bool ok = true;
    for (int round = 0; round < 3; ++round) {
        for (int reuse = 0; reuse < 2; ++reuse) {
            const auto start = std::chrono::steady_clock::now();
            ok = calls(port, count, reuse != 0) && ok;
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            rates[reuse] = std::max(rates[reuse], count / seconds);
        }
    }
    ::shutdown(listener, SHUT_RDWR);
    server.join();
    ::close(listener);
    SSL_CTX_free(context);
    std::printf("TLS calls over loopback: %.0f calls/s on a new connection each, %.0f calls/s on one kept connection; "
                "reuse is %.1fx as fast\n",
                rates[0], rates[1], rates[1] / rates[0]);
    return ok ? 0 : 1;
}
