// The support library's connect deadline, proxy tunnel and kept connections over loopback, on
// POSIX and under Winsock.

#include "LoopbackSockets.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#endif

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

// One way a loopback connect ends: where to, with what result and cause.
struct ConnectEnding {
    const char* name;
    tessaro_port_t port;
    int result;
    const char* cause;
};

// The three ways a loopback connect ends: a listener that takes it, a port
// nobody listens on any more, and a listener whose accept queue the
// connections held fill.
struct ConnectEndings {
    tessaro_socket_t open = INVALID_SOCKET, full = INVALID_SOCKET;
    tessaro_port_t closedPort = 0;
    std::vector<tessaro_socket_t> held;

    ConnectEndings()
    {
        tessaro_socket_t closed;
        if (tessaro_socket_create_tcp_listen(&closed, 0, 4) == 0) {
            closedPort = loopback::portOf(closed);
            tessaro_socket_close(closed);
        }
        if (tessaro_socket_create_tcp_listen(&open, 0, 4) != 0 || tessaro_socket_create_tcp_listen(&full, 0, 0) != 0)
            return;
        for (int result = 0; held.size() < 64 && result == 0;) {
            tessaro_socket_t sock = INVALID_SOCKET;
            result = tessaro_connect_host(&sock, "127.0.0.1", loopback::portOf(full), Second / 5);
            if (result == 0)
                held.push_back(sock);
        }
    }
    ~ConnectEndings()
    {
        for (tessaro_socket_t sock : held)
            tessaro_socket_close(sock);
        for (tessaro_socket_t sock : {full, open}) {
            if (sock != INVALID_SOCKET)
                tessaro_socket_close(sock);
        }
    }
    ConnectEndings(const ConnectEndings&) = delete;
    ConnectEndings& operator=(const ConnectEndings&) = delete;
    bool ready() const { return closedPort != 0 && full != INVALID_SOCKET && held.size() < 64; }
    std::vector<ConnectEnding> rows() const
    {
        return {{"listening", loopback::portOf(open), 0, "the connection failed or broke"},
                {"closed port", closedPort, TESSARO_ERROR, "connection refused"},
                {"full queue", loopback::portOf(full), TESSARO_TIMEOUT, "the connection failed or broke"}};
    }
};

// A connect tells how it ended by what the wait saw, asking the cause only of a failure: through a
// socket the library makes (its mode known) and one given to it alike, a connection carries bytes
// both ways, a closed port is refused with its cause (the library's own socket closed), and a
// listener whose accept queue is full ends at the deadline.
TEST(TessaroConnect, EachEndingIsToldByBothWaysOfConnecting)
{
    const ConnectEndings ends;
    ASSERT_TRUE(ends.ready());
    const tessaro_socket_t open = ends.open;
    for (const ConnectEnding& row : ends.rows()) {
        for (const bool made : {true, false}) {
            tessaro_socket_t sock = INVALID_SOCKET;
            int result;
            if (made) {
                result = tessaro_connect_host(&sock, "127.0.0.1", row.port, Second / 5);
            } else {
                ASSERT_EQ(tessaro_create_tcp_socket(&sock), 0);
                result = tessaro_connect_within(sock, "127.0.0.1", row.port, Second / 5);
            }
            EXPECT_EQ(result, row.result) << row.name << made;
            EXPECT_STREQ(tessaro_system_error_text(tessaro_last_system_error()), row.cause) << row.name << made;
            if (made && result != 0) {
                EXPECT_EQ(sock, INVALID_SOCKET) << row.name;
                continue;
            }
            if (result == 0) {
                tessaro_socket_t peer = accept(open, nullptr, nullptr);
                char got[4] = {};
                tessaro_size_t count = 0;
                loopback::sendText(peer, "ask");
                EXPECT_EQ(tessaro_socket_recv_all(sock, got, 3, &count, 5 * Second), 0) << made;
                EXPECT_EQ(tessaro_socket_send_all(sock, "yes", 3, &count, 5 * Second), 0) << made;
                EXPECT_EQ(std::string(got, 3), "ask") << made;
                count = 0;
                EXPECT_EQ(tessaro_socket_recv_all(peer, got, 3, &count, 5 * Second), 0) << made;
                EXPECT_EQ(std::string(got, 3), "yes") << made;
                tessaro_socket_close(peer);
            }
            tessaro_socket_close(sock);
        }
    }
}

// A connection not waited for is told by its first send: made, it carries
// bytes both ways and is found connected; refused at a closed port or kept
// waiting by a full accept queue, the send fails with the cause or at its
// deadline and the socket is found unconnected. Winsock, whose send cannot
// wait for a connection, is told by the connect itself as before. The socket
// stays non-blocking either way.
TEST(TessaroConnect, AConnectionNotWaitedForIsToldByItsFirstSend)
{
#ifdef _WIN32
    const bool toldByConnect = true;
#else
    const bool toldByConnect = false;
#endif
    const ConnectEndings ends;
    ASSERT_TRUE(ends.ready());
    const tessaro_socket_t open = ends.open;
    // a row's result is the connect's where it tells, else the send's
    for (const ConnectEnding& row : ends.rows()) {
        tessaro_socket_t sock = INVALID_SOCKET;
        tessaro_size_t count = 0;
        int result = tessaro_connect_host_unawaited(&sock, "127.0.0.1", row.port, Second / 5);
        if (toldByConnect || result != 0) {
            EXPECT_EQ(result, row.result) << row.name;
        } else {
            result = tessaro_socket_send_all(sock, "ask", 3, &count, Second / 5);
            EXPECT_EQ(result, row.result) << row.name;
            EXPECT_EQ(tessaro_socket_connected(sock), result == 0 ? 1 : 0) << row.name;
#ifndef _WIN32
            EXPECT_NE(fcntl(sock, F_GETFL, 0) & O_NONBLOCK, 0) << row.name;
#endif
        }
        EXPECT_STREQ(tessaro_system_error_text(tessaro_last_system_error()), row.cause) << row.name;
        if (result == 0) {
            tessaro_socket_t peer = accept(open, nullptr, nullptr);
            char got[4] = {};
            if (toldByConnect) {
                EXPECT_EQ(tessaro_socket_send_all(sock, "ask", 3, &count, 5 * Second), 0);
            }
            count = 0;
            EXPECT_EQ(tessaro_socket_recv_all(peer, got, 3, &count, 5 * Second), 0);
            EXPECT_EQ(std::string(got, 3), "ask");
            loopback::sendText(peer, "yes");
            count = 0;
            EXPECT_EQ(tessaro_socket_recv_all(sock, got, 3, &count, 5 * Second), 0);
            EXPECT_EQ(std::string(got, 3), "yes");
            tessaro_socket_close(peer);
        }
        if (sock != INVALID_SOCKET)
            tessaro_socket_close(sock);
    }
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

// What goes with CONNECT and what comes back: the Proxy-Authorization given, an IPv6 host in
// brackets, the status of a refusal and its Proxy-Authenticate values, one a line.
TEST(TessaroProxyTunnel, TheRefusalKeepsItsStatusAndChallenges)
{
    const struct {
        const char* host;
        const char* authorization;
        const char* answer;
        int result;
        int status;
        const char* challenges;
        const char* request; // "": nothing may be sent
    } rows[] = {
        {"svc", "Basic a3Y6cA==", "HTTP/1.1 200 OK\r\n\r\n", 0, 200, "",
         "CONNECT svc:443 HTTP/1.1\r\nHost: svc:443\r\nProxy-Authorization: Basic a3Y6cA==\r\n\r\n"},
        {"::1", nullptr,
         "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Digest realm=\"r\", nonce=\"n\"\r\nVia: x\r\n"
         "proxy-authenticate:  Basic realm=\"r\"\r\nContent-Length: 0\r\n\r\n",
         TESSARO_PROXY_REFUSED, 407, "Digest realm=\"r\", nonce=\"n\"\nBasic realm=\"r\"\n",
         "CONNECT [::1]:443 HTTP/1.1\r\nHost: [::1]:443\r\n\r\n"},
        {"svc", nullptr, "HTTP/1.1 403 Forbidden\r\n", TESSARO_PROXY_REFUSED, 403, "",
         "CONNECT svc:443 HTTP/1.1\r\nHost: svc:443\r\n\r\n"},
        {"svc", "Basic x\r\nX-Injected: 1", "HTTP/1.1 200 OK\r\n\r\n", TESSARO_ERROR, 0, "", ""},
    };
    for (const auto& row : rows) {
        tessaro_socket_t listener;
        ASSERT_EQ(tessaro_socket_create_tcp_listen(&listener, 0, 1), 0);
        tessaro_socket_t sock = loopback::connectTo(loopback::portOf(listener));
        const tessaro_socket_t peer = ::accept(listener, nullptr, nullptr);
        if (row.request[0] != '\0')
            loopback::sendText(peer, row.answer);
        ::shutdown(peer, 1); // the answer ends there, cut or whole
        tessaro_proxy_answer_t answer;
        EXPECT_EQ(tessaro_proxy_tunnel_as(sock, row.host, 443, row.authorization, &answer, 5 * Second), row.result)
            << row.answer;
        EXPECT_EQ(answer.status, row.status) << row.answer;
        EXPECT_STREQ(answer.challenges, row.challenges);
        tessaro_socket_close(sock);
        std::string request;
        char buffer[512];
        for (long n; (n = static_cast<long>(::recv(peer, buffer, sizeof buffer, 0))) > 0;)
            request.append(buffer, static_cast<std::size_t>(n));
        EXPECT_EQ(request, row.request);
        tessaro_socket_close(peer);
        tessaro_socket_close(listener);
    }
}

// A listener on the IPv6 loopback address, as a peer outside the library makes it: its port, or 0
// when the system has no IPv6.
tessaro_port_t listenIpv6(tessaro_socket_t& listener)
{
    listener = ::socket(AF_INET6, SOCK_STREAM, 0);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_loopback;
    if (listener == INVALID_SOCKET || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listener, 4) != 0)
        return 0;
    return loopback::portOf(listener);
}

int peerFamily(tessaro_socket_t sock)
{
    return loopback::addressOf(sock, true).ss_family;
}

// tessaro_connect_host takes an address of either kind and makes the socket for it; a refused
// connection leaves no socket behind.
TEST(TessaroConnectHost, ConnectsToEitherLoopbackAndReportsARefusal)
{
    tessaro_socket_t v4, v6;
    ASSERT_EQ(tessaro_socket_create_tcp_listen(&v4, 0, 4), 0);
    const tessaro_port_t port6 = listenIpv6(v6);
    ASSERT_NE(port6, 0) << "no IPv6 loopback";
    const struct {
        const char* host;
        tessaro_port_t port;
        int result;
        int family;
    } rows[] = {
        {"127.0.0.1", loopback::portOf(v4), 0, AF_INET},
        {"::1", port6, 0, AF_INET6},
        {"::1", loopback::portOf(v4), TESSARO_ERROR, 0}, // the IPv4 listener's port has none on ::1
        {"", port6, TESSARO_ERROR, 0},
    };
    for (const auto& row : rows) {
        tessaro_socket_t sock = INVALID_SOCKET;
        EXPECT_EQ(tessaro_connect_host(&sock, row.host, row.port, 5 * Second), row.result) << row.host;
        if (row.result == 0) {
            EXPECT_EQ(peerFamily(sock), row.family) << row.host;
            tessaro_socket_close(sock);
        } else {
            EXPECT_EQ(sock, INVALID_SOCKET) << row.host;
        }
    }
    tessaro_socket_close(v4);
    tessaro_socket_close(v6);
}

// Run by tests/runtime/name_service in a namespace of their own (skipped elsewhere): the resolver
// there never answers, and the hosts file names both.kelvane.test first by ::1, then by 127.0.0.1.
// Unbounded, the lookup would end only after the resolver's own retries, as a host not found.
TEST(TessaroNameService, ALookupThatNeverAnswersEndsAtTheDeadline)
{
    if (std::getenv("KELVANE_NAME_SERVICE") == nullptr)
        GTEST_SKIP() << "runs in tests/runtime/name_service's namespace";
    for (int round = 0; round < 3; ++round) {
        tessaro_socket_t sock = INVALID_SOCKET;
        EXPECT_EQ(tessaro_connect_host(&sock, "never.answers.test", 80, Second / 4), TESSARO_TIMEOUT);
        EXPECT_EQ(sock, INVALID_SOCKET);
        ASSERT_EQ(tessaro_create_tcp_socket(&sock), 0);
        EXPECT_EQ(tessaro_connect_within(sock, "never.answers.test", 80, Second / 4), TESSARO_TIMEOUT);
        tessaro_socket_close(sock);
    }
}

TEST(TessaroNameService, EveryAddressOfTheNameIsTriedInTurn)
{
    if (std::getenv("KELVANE_NAME_SERVICE") == nullptr)
        GTEST_SKIP() << "runs in tests/runtime/name_service's namespace";
    tessaro_socket_t listener;
    ASSERT_EQ(tessaro_socket_create_tcp_listen(&listener, 0, 4), 0);
    tessaro_socket_t sock = INVALID_SOCKET;
    // ::1 refuses (nothing listens there), 127.0.0.1 takes it
    ASSERT_EQ(tessaro_connect_host(&sock, "both.kelvane.test", loopback::portOf(listener), 5 * Second), 0);
    EXPECT_EQ(peerFamily(sock), AF_INET);
    tessaro_socket_close(sock);
    tessaro_socket_close(listener);
}

#ifndef _WIN32
std::size_t threadCount()
{
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        (void)entry;
        ++count;
    }
    return count;
}

// A lookup answered in time has ended its thread when the connect returns: a program that exits right
// after must not leave the resolver's per-thread memory to the leak check.
TEST(TessaroConnectHost, ALookupAnsweredInTimeLeavesNoThreadBehind)
{
    tessaro_socket_t listener;
    ASSERT_EQ(tessaro_socket_create_tcp_listen(&listener, 0, 64), 0);
    const std::size_t before = threadCount();
    for (int round = 0; round < 20; ++round) {
        tessaro_socket_t sock = INVALID_SOCKET;
        ASSERT_EQ(tessaro_connect_host(&sock, "localhost", loopback::portOf(listener), 5 * Second), 0);
        EXPECT_EQ(threadCount(), before) << "round " << round;
        tessaro_socket_close(sock);
    }
    tessaro_socket_close(listener);
}
#endif

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
