// The support library over loopback: time-outs, end of stream, partial
// arrivals and sends larger than the socket buffers, the bounded line reader.

#include <gtest/gtest.h>

#include "tessaro_socket.h"
#include "tessaro_tls.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <winsock2.h>
typedef int socklen_t;
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

// Connects client to a fresh loopback listener and hands back the accepted end.
void connectLoopbackPair(tessaro_socket_t& client, tessaro_socket_t& server)
{
    tessaro_socket_t listener;
    ASSERT_EQ(tessaro_socket_create_tcp_listen(&listener, 0, 1), 0);
    sockaddr_in address{};
    socklen_t size = sizeof(address);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
    ASSERT_EQ(tessaro_create_tcp_socket(&client), 0);
    ASSERT_EQ(tessaro_connect(client, "127.0.0.1", ntohs(address.sin_port)), 0);
    server = accept(listener, nullptr, nullptr);
    ASSERT_NE(server, INVALID_SOCKET);
    tessaro_socket_close(listener);
}

// A connected pair of loopback sockets: client and the accepted server end.
class TessaroSocketTest : public ::testing::Test {
protected:
    void SetUp() override { connectLoopbackPair(client_, server_); }

    void TearDown() override
    {
        closeServer();
        tessaro_socket_close(client_);
    }

    void closeServer()
    {
        if (server_ != INVALID_SOCKET)
            tessaro_socket_close(server_);
        server_ = INVALID_SOCKET;
    }

    void sendText(const std::string& text)
    {
        tessaro_size_t sent = 0;
        ASSERT_EQ(tessaro_socket_send_all(server_, text.data(), text.size(), &sent, TESSARO_USEC_PER_SEC), 0);
        ASSERT_EQ(sent, text.size());
    }

    tessaro_socket_t client_ = INVALID_SOCKET;
    tessaro_socket_t server_ = INVALID_SOCKET;
};

TEST_F(TessaroSocketTest, NothingToReadTimesOutInBothModes)
{
    char buffer[16];
    for (int block : {0, 1}) {
        ASSERT_EQ(tessaro_socket_set_block(client_, block), 0);
        tessaro_size_t len = sizeof(buffer);
        EXPECT_EQ(tessaro_socket_recv(client_, buffer, &len, 1000), TESSARO_TIMEOUT);
        EXPECT_EQ(len, 0u);
    }
}

// A negative time-out waits as long as it takes: it is no deadline of 0.
TEST_F(TessaroSocketTest, NegativeTimeOutWaitsForTheData)
{
    ASSERT_EQ(tessaro_socket_set_block(client_, 0), 0);
    std::thread late([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        sendText("late");
    });
    char buffer[16];
    tessaro_size_t len = 0;
    EXPECT_EQ(tessaro_socket_recv_all(client_, buffer, 4, &len, -1), 0);
    late.join();
    EXPECT_EQ(std::string(buffer, len), "late");
}

#ifndef _WIN32
volatile sig_atomic_t interruptions = 0;

void countInterruption(int)
{
    interruptions = interruptions + 1;
}

// Signals that break into a wait every 2 ms (no restart) do not make a 50 ms
// wait start over each time: it ends at its deadline.
TEST_F(TessaroSocketTest, InterruptedWaitKeepsItsDeadline)
{
    struct sigaction action {};
    struct sigaction previous {};
    action.sa_handler = countInterruption;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    ASSERT_EQ(sigaction(SIGALRM, &action, &previous), 0);
    itimerval every{{0, 2000}, {0, 2000}};
    itimerval stop{};
    interruptions = 0;
    ASSERT_EQ(setitimer(ITIMER_REAL, &every, nullptr), 0);
    char buffer[16];
    tessaro_size_t len = sizeof(buffer);
    const int result = tessaro_socket_recv(client_, buffer, &len, 50000);
    setitimer(ITIMER_REAL, &stop, nullptr);
    sigaction(SIGALRM, &previous, nullptr);
    EXPECT_EQ(result, TESSARO_TIMEOUT);
    EXPECT_GT(interruptions, 0);
}
#endif

TEST_F(TessaroSocketTest, EndOfStreamIsReportedByEveryReceive)
{
    sendText("ab");
    closeServer();
    char buffer[16];
    tessaro_size_t len = 0;
    EXPECT_EQ(tessaro_socket_recv_all(client_, buffer, 5, &len, TESSARO_USEC_PER_SEC), TESSARO_END_OF_STREAM);
    EXPECT_EQ(len, 2u);
    EXPECT_EQ(std::string(buffer, 2), "ab");
    len = sizeof(buffer);
    EXPECT_EQ(tessaro_socket_recv(client_, buffer, &len, TESSARO_USEC_PER_SEC), TESSARO_END_OF_STREAM);
    EXPECT_EQ(tessaro_socket_recv_line(client_, buffer, &len, TESSARO_USEC_PER_SEC), TESSARO_END_OF_STREAM);
}

TEST_F(TessaroSocketTest, LinesEndAtCrLfAndAreBounded)
{
    ASSERT_EQ(tessaro_socket_set_block(client_, 0), 0);
    sendText("1a;x=\r\r\nrest");
    std::vector<char> line(TESSARO_MAX_LINE);
    tessaro_size_t len = 0;
    ASSERT_EQ(tessaro_socket_recv_line(client_, line.data(), &len, TESSARO_USEC_PER_SEC), 0);
    EXPECT_EQ(std::string(line.data(), len), "1a;x=\r\r\n");

    sendText(std::string(TESSARO_MAX_LINE + 10, 'x'));
    EXPECT_EQ(tessaro_socket_recv_line(client_, line.data(), &len, TESSARO_USEC_PER_SEC), TESSARO_ERROR);
    EXPECT_EQ(len, static_cast<tessaro_size_t>(TESSARO_MAX_LINE));
}

// Far more than the socket buffers hold: the send completes in many partial
// sends while the peer drains it, and every byte arrives in order.
TEST_F(TessaroSocketTest, LargeSendArrivesWhole)
{
    std::string data(8 << 20, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7 + i / 251);
    ASSERT_EQ(tessaro_socket_set_block(server_, 0), 0);
    std::string received(data.size(), '\0');
    tessaro_size_t got = 0;
    int receiveResult = -5;
    std::thread reader([&] {
        receiveResult = tessaro_socket_recv_all(client_, &received[0], received.size(), &got, 10 * TESSARO_USEC_PER_SEC);
    });
    tessaro_size_t sent = 0;
    const int sendResult = tessaro_socket_send_all(server_, data.data(), data.size(), &sent, 10 * TESSARO_USEC_PER_SEC);
    reader.join();
    EXPECT_EQ(sendResult, 0);
    EXPECT_EQ(sent, data.size());
    EXPECT_EQ(receiveResult, 0);
    EXPECT_EQ(got, data.size());
    EXPECT_TRUE(received == data);
}

// A peer that reads nothing fills the socket buffers: the send ends at its
// time-out with what went, in either mode of the socket (a blocking send
// would hold the caller as long as the peer likes).
TEST_F(TessaroSocketTest, SendToAPeerThatReadsNothingEndsAtItsTimeOut)
{
    const std::string data(64 << 20, 'x');
    for (int block : {1, 0}) {
        ASSERT_EQ(tessaro_socket_set_block(server_, block), 0);
        tessaro_size_t sent = 0;
        EXPECT_EQ(tessaro_socket_send_all(server_, data.data(), data.size(), &sent, 1000), TESSARO_TIMEOUT) << block;
        EXPECT_LT(sent, data.size()) << block;
    }
}

// Whether a raw receive on sock waits for bytes, found by receiving a byte that peer sends: a
// blocking receive always gets it. A non-blocking one ends at once with nothing, mostly before the
// byte is sent: the short wait before the send only makes that likelier, and never fails a blocking
// socket.
bool receiveWaits(tessaro_socket_t sock, tessaro_socket_t peer)
{
    std::promise<long> received;
    std::future<long> got = received.get_future();
    std::thread reader([&] {
        char byte;
        received.set_value(static_cast<long>(::recv(sock, &byte, 1, 0)));
    });
    got.wait_for(std::chrono::milliseconds(20));
    ::send(peer, "w", 1, 0);
    reader.join();
    if (got.get() == 1)
        return true;
    char byte;
    tessaro_size_t one = 1;
    tessaro_socket_recv(sock, &byte, &one, TESSARO_USEC_PER_SEC); // the next call's bytes are its own
    return false;
}

// Whether a raw receive on sock, with nothing to receive, says at once that it would have to wait.
// A blocking one waits instead: after a while, long for a call that returns at once, peer sends it
// the byte that ends it, so that the check fails rather than hangs.
bool receiveWouldWait(tessaro_socket_t sock, tessaro_socket_t peer)
{
    std::promise<bool> wouldWait;
    std::future<bool> said = wouldWait.get_future();
    std::thread reader([&] {
        char byte;
        const bool failed = ::recv(sock, &byte, 1, 0) < 0;
#ifdef _WIN32
        wouldWait.set_value(failed && WSAGetLastError() == WSAEWOULDBLOCK);
#else
        wouldWait.set_value(failed && (errno == EAGAIN || errno == EWOULDBLOCK));
#endif
    });
    if (said.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        ::send(peer, "w", 1, 0);
    reader.join();
    return said.get();
}

// Each receive and send call leaves the socket in the mode the caller gave it, blocking or not,
// whether it ended done or at its time-out (Winsock cannot tell a socket's mode: the library must
// keep track of it). The calls are made on server_, client_ being the peer.
TEST_F(TessaroSocketTest, EveryCallLeavesTheSocketsModeAsItWas)
{
    const std::string large(64 << 20, 'x');
    char buffer[TESSARO_MAX_LINE];
    tessaro_size_t count = 0;
    const auto peerSends = [this](const char* text) { ::send(client_, text, static_cast<int>(std::strlen(text)), 0); };
    const struct {
        const char* call;
        std::function<int()> run;
        int result;
    } calls[] = {
        {"a receive that times out", [&] { count = 1; return tessaro_socket_recv(server_, buffer, &count, 1000); },
         TESSARO_TIMEOUT},
        {"a peek and a receive",
         [&] {
             peerSends("p");
             count = 1;
             const int peeked = tessaro_socket_peek(server_, buffer, &count, TESSARO_USEC_PER_SEC);
             count = 1;
             return peeked != 0 ? peeked : tessaro_socket_recv(server_, buffer, &count, TESSARO_USEC_PER_SEC);
         },
         0},
        {"a receive of all", [&] { peerSends("ab"); return tessaro_socket_recv_all(server_, buffer, 2, &count, TESSARO_USEC_PER_SEC); }, 0},
        {"a line", [&] { peerSends("ok\r\n"); return tessaro_socket_recv_line(server_, buffer, &count, TESSARO_USEC_PER_SEC); }, 0},
        {"a send", [&] { return tessaro_socket_send_all(server_, "abc", 3, &count, TESSARO_USEC_PER_SEC); }, 0},
#ifdef _WIN32
        // Over OpenSSL the session keeps the socket non-blocking, as it always did.
        {"a TLS handshake with a peer that says nothing",
         [&] {
             tessaro_tls_t* tls = nullptr;
             return tessaro_tls_connect(&tls, server_, "localhost", nullptr, 1000);
         },
         TESSARO_TIMEOUT},
#endif
        // last: the peer's buffers stay full
        {"a send to a peer that reads nothing",
         [&] { return tessaro_socket_send_all(server_, large.data(), large.size(), &count, 1000); }, TESSARO_TIMEOUT},
    };
    for (int block : {1, 0}) {
        closeServer();
        tessaro_socket_close(client_);
        connectLoopbackPair(client_, server_);
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_EQ(tessaro_socket_set_block(server_, block), 0);
        for (const auto& call : calls) {
            EXPECT_EQ(call.run(), call.result) << call.call << ", block " << block;
            if (block)
                EXPECT_TRUE(receiveWaits(server_, client_)) << call.call;
            else
                EXPECT_TRUE(receiveWouldWait(server_, client_)) << call.call;
        }
    }
}

// Calls on one socket from two threads at once keep each its own deadline: a receive that ends
// does not make the socket blocking under a send, whose next piece would then go as one blocking
// send, held past its deadline by a peer that reads a little now and then (at most 16 MB a
// second: the 64 MB cannot all go within the send's 2 seconds).
TEST_F(TessaroSocketTest, CallsFromTwoThreadsKeepEachOthersDeadline)
{
    const std::string large(64 << 20, 'x');
    std::atomic<bool> sendEnded{false};
    int receivesNotTimedOut = 0;
    std::thread receiver([&] {
        char buffer[1];
        while (!sendEnded) {
            tessaro_size_t count = sizeof(buffer);
            if (tessaro_socket_recv(server_, buffer, &count, 1000) != TESSARO_TIMEOUT)
                ++receivesNotTimedOut;
        }
    });
    std::thread slowPeer([&] {
        std::vector<char> buffer(16384);
        while (!sendEnded) {
            tessaro_size_t count = buffer.size();
            tessaro_socket_recv(client_, buffer.data(), &count, 1000);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    tessaro_size_t sent = 0;
    const int result = tessaro_socket_send_all(server_, large.data(), large.size(), &sent, 2 * TESSARO_USEC_PER_SEC);
    sendEnded = true;
    receiver.join();
    slowPeer.join();
    EXPECT_EQ(result, TESSARO_TIMEOUT);
    EXPECT_LT(sent, large.size());
    EXPECT_EQ(receivesNotTimedOut, 0);
}

#ifdef _WIN32
// The socket's own send time-out, which the system may not keep, is the
// caller's after a send that ended and after one that timed out.
TEST_F(TessaroSocketTest, SendLeavesTheSocketsSendTimeOutAsItWas)
{
    const std::string data(64 << 20, 'x');
    const DWORD own = 7000;
    ASSERT_EQ(setsockopt(server_, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&own), sizeof(own)), 0);
    const struct {
        std::size_t size;
        int result;
    } sends[] = {{4, 0}, {data.size(), TESSARO_TIMEOUT}};
    for (const auto& send : sends) {
        tessaro_size_t sent = 0;
        EXPECT_EQ(tessaro_socket_send_all(server_, data.data(), send.size, &sent, 1000), send.result) << send.size;
        DWORD now = 0;
        int size = sizeof(now);
        ASSERT_EQ(getsockopt(server_, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<char*>(&now), &size), 0);
        EXPECT_EQ(now, own) << send.size;
    }
}
#endif

#ifndef _WIN32

// The mode asked for is the mode the socket has, whatever it had before.
TEST_F(TessaroSocketTest, BlockingModeFollowsEachRequest)
{
    const struct {
        int block;
        bool nonBlocking;
    } steps[] = {{0, true}, {0, true}, {1, false}, {1, false}, {0, true}, {1, false}};
    for (const auto& step : steps) {
        ASSERT_EQ(tessaro_socket_set_block(client_, step.block), 0);
        EXPECT_EQ((fcntl(client_, F_GETFL, 0) & O_NONBLOCK) != 0, step.nonBlocking) << step.block;
    }
}

// A connection leaves its socket blocking, as the library made it or as the
// caller gave it in either mode, also when it was refused.
TEST(TessaroSocketConnect, TheSocketIsLeftBlocking)
{
    tessaro_socket_t listener;
    ASSERT_EQ(tessaro_socket_create_tcp_listen(&listener, 0, 4), 0);
    sockaddr_in address{};
    socklen_t size = sizeof(address);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
    const struct {
        bool made;        // by tessaro_connect_host, else given to tessaro_connect
        bool nonBlocking; // as given
        tessaro_port_t port;
        int result;
    } cases[] = {{true, false, ntohs(address.sin_port), 0},  {false, false, ntohs(address.sin_port), 0},
                 {false, true, ntohs(address.sin_port), 0},  {true, false, 1, TESSARO_ERROR},
                 {false, true, 1, TESSARO_ERROR}};
    for (const auto& row : cases) {
        tessaro_socket_t sock = INVALID_SOCKET;
        int result;
        if (row.made) {
            result = tessaro_connect_host(&sock, "127.0.0.1", row.port, 10 * TESSARO_USEC_PER_SEC);
        } else {
            ASSERT_EQ(tessaro_create_tcp_socket(&sock), 0);
            ASSERT_EQ(tessaro_socket_set_block(sock, row.nonBlocking ? 0 : 1), 0);
            result = tessaro_connect(sock, "127.0.0.1", row.port);
        }
        EXPECT_EQ(result, row.result) << row.made << row.nonBlocking << row.port;
        // the library closes a socket it made whose connection was refused
        if (row.made && result != 0) {
            EXPECT_EQ(sock, INVALID_SOCKET);
            continue;
        }
        EXPECT_EQ(fcntl(sock, F_GETFL, 0) & O_NONBLOCK, 0) << row.made << row.nonBlocking << row.port;
        tessaro_socket_close(sock);
        if (row.result == 0)
            tessaro_socket_close(accept(listener, nullptr, nullptr));
    }
    tessaro_socket_close(listener);
}

// Descriptors held open for the life of the object, so that sockets made
// meanwhile are numbered above them.
class HeldDescriptors {
public:
    explicit HeldDescriptors(int count)
    {
        for (int i = 0; i < count; ++i) {
            const int fd = open("/dev/null", O_RDONLY);
            if (fd < 0)
                break;
            held_.push_back(fd);
        }
    }
    ~HeldDescriptors()
    {
        for (int fd : held_)
            close(fd);
    }
    HeldDescriptors(const HeldDescriptors&) = delete;
    HeldDescriptors& operator=(const HeldDescriptors&) = delete;
    std::size_t size() const { return held_.size(); }

private:
    std::vector<int> held_;
};

// A server with a thousand connections reads and writes on descriptors past
// what a select set holds: every wait still works on them.
TEST(TessaroSocketHighDescriptors, SocketsAbove1024ReadAndWrite)
{
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit previous = limit;
    if (limit.rlim_cur < 1200) {
        if (limit.rlim_max < 1200)
            GTEST_SKIP() << "the descriptor limit cannot be raised to 1200";
        limit.rlim_cur = 1200;
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
    }
    {
        HeldDescriptors held(1100);
        ASSERT_EQ(held.size(), 1100u);
        tessaro_socket_t client = INVALID_SOCKET, server = INVALID_SOCKET;
        connectLoopbackPair(client, server);
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_GE(server, 1100);
        ASSERT_GE(client, 1100);

        // What a packet reader does: the header line, then a body of known length.
        const std::string packet = "HTTP/1.1 200 OK\r\nbody";
        tessaro_size_t count = 0;
        EXPECT_EQ(tessaro_socket_send_all(server, packet.data(), packet.size(), &count, TESSARO_USEC_PER_SEC), 0);
        char buffer[64];
        EXPECT_EQ(tessaro_socket_recv_line(client, buffer, &count, TESSARO_USEC_PER_SEC), 0);
        EXPECT_EQ(std::string(buffer, count), "HTTP/1.1 200 OK\r\n");
        EXPECT_EQ(tessaro_socket_recv_all(client, buffer, 4, &count, TESSARO_USEC_PER_SEC), 0);
        EXPECT_EQ(std::string(buffer, count), "body");
        // Nothing more: the wait ends by its time-out.
        count = sizeof(buffer);
        EXPECT_EQ(tessaro_socket_recv(client, buffer, &count, 1000), TESSARO_TIMEOUT);
        tessaro_socket_close(server);
        count = sizeof(buffer);
        EXPECT_EQ(tessaro_socket_recv(client, buffer, &count, TESSARO_USEC_PER_SEC), TESSARO_END_OF_STREAM);
        tessaro_socket_close(client);
    }
    setrlimit(RLIMIT_NOFILE, &previous);
}
#endif

// A name that is not found is told from a connection that fails: the
// caller's message differs (".invalid" is never a registered name). A
// refused connection leaves the system's cause, in the same words on every
// system; a failure without one leaves none.
TEST(TessaroSocket, AnUnknownHostIsToldFromARefusedConnection)
{
    const struct {
        const char* host;
        tessaro_port_t port;
        int result;
        const char* cause;
    } cases[] = {{"not an address", 80, TESSARO_HOST_NOT_FOUND, "the connection failed or broke"},
                 {"no-such-host.invalid", 80, TESSARO_HOST_NOT_FOUND, "the connection failed or broke"},
                 {"", 80, TESSARO_ERROR, "the connection failed or broke"},
                 {"127.0.0.1", 1, TESSARO_ERROR, "connection refused"}};
    for (const auto& row : cases) {
        tessaro_socket_t sock;
        ASSERT_EQ(tessaro_create_tcp_socket(&sock), 0);
        EXPECT_EQ(tessaro_connect(sock, row.host, row.port), row.result) << row.host;
        EXPECT_STREQ(tessaro_system_error_text(tessaro_last_system_error()), row.cause) << row.host;
        tessaro_socket_close(sock);
    }
}

} // namespace
