// The support library's connect deadline, proxy tunnel and kept connections over loopback, on
// POSIX and under Winsock.

#include "LoopbackSockets.h"

#include <string>
#include <thread>
#include <vector>

namespace {

const tessaro_usec_t Second = TESSARO_USEC_PER_SEC;

// A connect to a listener whose accept queue is full ends at its deadline
// instead of waiting for the system's own retries.
TEST(TessaroConnect, AFullAcceptQueueEndsAtTheDeadline)
{
    tessaro_socket_t listener;
    ASSERT_EQ(tessaro_socket_create_tcp_listen(&listener, 0, 0), 0);
    const tessaro_port_t port = loopback::portOf(listener);
    std::vector<tessaro_socket_t> held;
    int result = 0;
    for (int i = 0; i < 64 && result == 0; ++i) {
        tessaro_socket_t sock;
        ASSERT_EQ(tessaro_create_tcp_socket(&sock), 0);
        result = tessaro_connect_within(sock, "127.0.0.1", port, Second / 5);
        held.push_back(sock);
    }
    EXPECT_EQ(result, TESSARO_TIMEOUT);
    for (tessaro_socket_t sock : held)
        tessaro_socket_close(sock);
    tessaro_socket_close(listener);

    tessaro_socket_t refused;
    ASSERT_EQ(tessaro_create_tcp_socket(&refused), 0);
    EXPECT_EQ(tessaro_connect_within(refused, "127.0.0.1", port, Second), TESSARO_ERROR);
    tessaro_socket_close(refused);
}

// The proxy's answer to CONNECT: 2xx opens the tunnel and leaves its first
// bytes unread; anything else is the proxy's refusal.
TEST(TessaroProxyTunnel, OnlyA2xxAnswerOpensTheTunnel)
{
    const struct {
        const char* answer;
        int result;
    } rows[] = {
        {"HTTP/1.1 200 Connection established\r\nVia: test\r\n\r\ntunnel", 0},
        {"HTTP/1.0 204\r\n\r\ntunnel", 0},
        {"HTTP/1.1 407 Proxy Authentication Required\r\nContent-Length: 0\r\n\r\n", TESSARO_PROXY_REFUSED},
        {"HTTP/1.1 502 Bad Gateway\r\n\r\n", TESSARO_PROXY_REFUSED},
        {"HTTP/1.1 2000 OK\r\n\r\n", TESSARO_PROXY_REFUSED},
        {"SSH-2.0-OpenSSH\r\n\r\n", TESSARO_PROXY_REFUSED},
        {"", TESSARO_PROXY_REFUSED},
    };
    for (const auto& row : rows) {
        tessaro_socket_t listener;
        ASSERT_EQ(tessaro_socket_create_tcp_listen(&listener, 0, 1), 0);
        const tessaro_port_t port = loopback::portOf(listener);
        std::string request;
        std::thread proxy([&] {
            const tessaro_socket_t peer = ::accept(listener, nullptr, nullptr);
            char buffer[512];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const long n = static_cast<long>(::recv(peer, buffer, sizeof buffer, 0));
                if (n <= 0)
                    break;
                request.append(buffer, static_cast<std::size_t>(n));
            }
            loopback::sendText(peer, row.answer);
            tessaro_socket_close(peer);
        });
        tessaro_socket_t sock = loopback::connectTo(port);
        EXPECT_EQ(tessaro_proxy_tunnel(sock, "service.example", 8443, 5 * Second), row.result) << row.answer;
        proxy.join();
        EXPECT_EQ(request, "CONNECT service.example:8443 HTTP/1.1\r\nHost: service.example:8443\r\n\r\n");
        if (row.result == 0) {
            char rest[16];
            tessaro_size_t got = 0;
            EXPECT_EQ(tessaro_socket_recv_all(sock, rest, 6, &got, 5 * Second), 0);
            EXPECT_EQ(std::string(rest, got), "tunnel");
        }
        tessaro_socket_close(sock);
        tessaro_socket_close(listener);
    }
}

// A kept connection is usable only while the peer has neither closed it nor
// sent anything unasked.
TEST(TessaroSocketIdle, AClosedOrTalkativePeerEndsTheKeptConnection)
{
    for (const char* peerDoes : {"nothing", "close", "talk"}) {
        tessaro_socket_t listener;
        ASSERT_EQ(tessaro_socket_create_tcp_listen(&listener, 0, 1), 0);
        const tessaro_port_t port = loopback::portOf(listener);
        tessaro_socket_t sock = loopback::connectTo(port);
        const tessaro_socket_t peer = ::accept(listener, nullptr, nullptr);
        const std::string does = peerDoes;
        if (does == "close")
            tessaro_socket_close(peer);
        if (does == "talk")
            loopback::sendText(peer, "x");
        // what the peer did has arrived once the socket is readable
        if (does != "nothing") {
            EXPECT_EQ(tessaro_socket_wait(sock, 0, 5 * Second), 0);
        }
        EXPECT_EQ(tessaro_socket_idle_open(sock), does == "nothing" ? 1 : 0) << peerDoes;
        if (does != "close")
            tessaro_socket_close(peer);
        tessaro_socket_close(sock);
        tessaro_socket_close(listener);
    }
    EXPECT_EQ(tessaro_socket_idle_open(INVALID_SOCKET), 0);
}

} // namespace
