#pragma once

// A small HTTP/1.1 server on 127.0.0.1 with a port of the system's choosing,
// for tests of code that downloads. It answers one connection at a time on its
// own thread with the replies set up by the test, counts the requests for each
// target and keeps the headers of the last one. Every wait is bounded, so a
// client that misbehaves cannot hang a test. Works on POSIX sockets and on
// Winsock (the test binary links ws2_32 on Windows).

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

namespace testsupport {

class LoopbackHttpServer {
public:
    struct Reply {
        int status = 200;
        std::string body;
        bool chunked = false;      // send the body in chunks instead of with a length
        bool truncated = false;    // announce the whole length, send half, then close
        std::string location{};    // a Location header, for redirects
        std::string reason = "Status"; // of the status line
        bool hang = false;         // read the request, then answer nothing until the client hangs up
        bool trickle = false;      // body bytes a fifth of a second apart, without end
        bool trickleInHead = false; // the same, but in a header line that never ends
        std::string headers{};     // more header lines, each ending in CR LF
    };

    LoopbackHttpServer()
    {
        listener_ = Socket(::socket(AF_INET, SOCK_STREAM, 0));
        if (!listener_.valid())
            throw std::runtime_error("loopback server: no socket");
        sockaddr_in address = loopbackAddress(0);
        if (::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
            || ::listen(listener_.get(), 16) != 0)
            throw std::runtime_error("loopback server: cannot listen");
        socklen_t length = sizeof address;
        ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { run(); });
    }

    ~LoopbackHttpServer()
    {
        stop_ = true;
        thread_.join();
    }

    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // target is the path with its query, as it stands in the request line;
    // a client that takes the server for its proxy asks for whole URLs.
    void serve(const std::string& target, const Reply& reply)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        replies_[target] = reply;
    }

    int port() const { return port_; }

    std::string url(const std::string& target) const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + target;
    }

    int requestCount(const std::string& target) const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = counts_.find(target);
        return found == counts_.end() ? 0 : found->second;
    }

    // Requests of every target, including those nothing was served for.
    int totalRequests() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        int total = 0;
        for (const auto& count : counts_)
            total += count.second;
        return total;
    }

    // A header of the last request, by lower-case name; empty when absent.
    std::string lastHeader(const std::string& name) const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = lastHeaders_.find(name);
        return found == lastHeaders_.end() ? std::string() : found->second;
    }

    std::string lastMethod() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return lastMethod_;
    }

    std::string lastBody() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return lastBody_;
    }

    // Waits until the server has read count requests in all; false when
    // they did not come within a minute.
    bool awaitRequests(int count) const
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return arrived_.wait_for(lock, std::chrono::minutes(1), [&] { return received_ >= count; });
    }

    // A loopback port on which nothing listens (connections are refused). The
    // port stays bound, never listening, for the server's life, so that no
    // other program can take it in the meantime.
    int closedPort() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!refusing_.valid()) {
            refusing_ = Socket(::socket(AF_INET, SOCK_STREAM, 0));
            sockaddr_in address = loopbackAddress(0);
            ::bind(refusing_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
            socklen_t length = sizeof address;
            ::getsockname(refusing_.get(), reinterpret_cast<sockaddr*>(&address), &length);
            refusingPort_ = ntohs(address.sin_port);
        }
        return refusingPort_;
    }

private:
#ifdef _WIN32
    using Handle = SOCKET;
    static constexpr Handle kInvalid = INVALID_SOCKET;
    static void closeHandle(Handle handle) { ::closesocket(handle); }
    static constexpr int kSendFlags = 0;

    struct Winsock {
        Winsock()
        {
            WSADATA data;
            WSAStartup(MAKEWORD(2, 2), &data);
        }
        ~Winsock() { WSACleanup(); }
    };
    Winsock winsock_;  // before every socket
#else
    using Handle = int;
    static constexpr Handle kInvalid = -1;
    static void closeHandle(Handle handle) { ::close(handle); }
    static constexpr int kSendFlags = MSG_NOSIGNAL;
#endif

    class Socket {
    public:
        Socket() = default;
        explicit Socket(Handle handle) : handle_(handle) {}
        Socket(Socket&& other) noexcept : handle_(other.handle_) { other.handle_ = kInvalid; }
        Socket& operator=(Socket&& other) noexcept
        {
            std::swap(handle_, other.handle_);
            return *this;
        }
        ~Socket()
        {
            if (valid())
                closeHandle(handle_);
        }
        bool valid() const { return handle_ != kInvalid; }
        Handle get() const { return handle_; }

    private:
        Handle handle_ = kInvalid;
    };

    struct Request {
        std::string method;
        std::string target;
        std::map<std::string, std::string> headers;
        std::string body;
    };

    static sockaddr_in loopbackAddress(int port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<unsigned short>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }

    static bool readable(Handle handle, long microseconds)
    {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(handle, &set);
        timeval wait{0, microseconds};
        return ::select(static_cast<int>(handle) + 1, &set, nullptr, nullptr, &wait) > 0;
    }

    void run()
    {
        while (!stop_) {
            if (!readable(listener_.get(), 50000))
                continue;
            Socket client(::accept(listener_.get(), nullptr, nullptr));
            if (client.valid())
                answer(client);
        }
    }

    // Sends nothing until the client closes its end or the server stops.
    void awaitHangUp(const Socket& client) const
    {
        char buffer[256];
        while (!stop_) {
            if (readable(client.get(), 50000) && ::recv(client.get(), buffer, sizeof buffer, 0) <= 0)
                return;
        }
    }

    // Sends the head, then one byte at a time until the client hangs up or
    // the server stops.
    void trickle(const Socket& client, const std::string& head) const
    {
        sendAll(client, head);
        char buffer[256];
        const char byte = 'x';
        while (!stop_ && ::send(client.get(), &byte, 1, kSendFlags) == 1) {
            if (readable(client.get(), 200000) && ::recv(client.get(), buffer, sizeof buffer, 0) <= 0)
                return;
        }
    }

    // Reads one request, bounded in size and in waiting time.
    static bool receive(const Socket& client, Request& request)
    {
        std::string data;
        std::string::size_type headEnd;
        while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
            if (data.size() > 65536 || !receiveMore(client, data))
                return false;
        }
        parseHead(data.substr(0, headEnd), request);
        const auto length = request.headers.find("content-length");
        const std::size_t bodyLength = length == request.headers.end() ? 0 : std::stoul(length->second);
        while (data.size() < headEnd + 4 + bodyLength) {
            if (!receiveMore(client, data))
                return false;
        }
        request.body = data.substr(headEnd + 4, bodyLength);
        return true;
    }

    static bool receiveMore(const Socket& client, std::string& data)
    {
        char buffer[4096];
        int waits = 0;
        while (!readable(client.get(), 50000)) {
            if (++waits == 200)
                return false;
        }
        const int count = static_cast<int>(::recv(client.get(), buffer, sizeof buffer, 0));
        if (count <= 0)
            return false;
        data.append(buffer, static_cast<std::size_t>(count));
        return true;
    }

    static void parseHead(const std::string& head, Request& request)
    {
        std::string::size_type lineEnd = head.find("\r\n");
        const std::string requestLine = head.substr(0, lineEnd);
        const std::string::size_type space = requestLine.find(' ');
        request.method = requestLine.substr(0, space);
        request.target = requestLine.substr(space + 1, requestLine.rfind(' ') - space - 1);
        while (lineEnd != std::string::npos) {
            const std::string::size_type start = lineEnd + 2;
            lineEnd = head.find("\r\n", start);
            const std::string line = head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
            const std::string::size_type colon = line.find(':');
            if (colon == std::string::npos)
                continue;
            std::string name = line.substr(0, colon);
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            const std::string::size_type valueStart = line.find_first_not_of(' ', colon + 1);
            request.headers[name] = valueStart == std::string::npos ? "" : line.substr(valueStart);
        }
    }

    void answer(const Socket& client)
    {
        Request request;
        if (!receive(client, request))
            return;
        Reply reply;
        reply.status = 404;
        reply.reason = "Not Found";
        reply.body = "not found";
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++counts_[request.target];
            lastHeaders_ = request.headers;
            lastMethod_ = request.method;
            lastBody_ = request.body;
            const auto found = replies_.find(request.target);
            if (found != replies_.end())
                reply = found->second;
            ++received_;
        }
        arrived_.notify_all();
        if (reply.hang) {
            awaitHangUp(client);
            return;
        }
        if (reply.trickle || reply.trickleInHead) {
            trickle(client, reply.trickleInHead ? "HTTP/1.1 200 OK\r\nX-Padding: "
                                                : "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
            return;
        }
        sendAll(client, replyText(reply));
#ifdef _WIN32
        ::shutdown(client.get(), SD_SEND);
#else
        ::shutdown(client.get(), SHUT_WR);
#endif
    }

    static std::string replyText(const Reply& reply)
    {
        std::string text = "HTTP/1.1 " + std::to_string(reply.status) + " " + reply.reason + "\r\n"
                           "Content-Type: application/octet-stream\r\nConnection: close\r\n";
        if (!reply.location.empty())
            text += "Location: " + reply.location + "\r\n";
        text += reply.headers;
        if (reply.chunked)
            return text + "Transfer-Encoding: chunked\r\n\r\n" + chunks(reply.body);
        text += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n\r\n";
        return text + (reply.truncated ? reply.body.substr(0, reply.body.size() / 2) : reply.body);
    }

    static std::string chunks(const std::string& body)
    {
        const std::size_t kChunk = 1000;
        std::string text;
        for (std::size_t at = 0; at < body.size(); at += kChunk) {
            const std::string piece = body.substr(at, kChunk);
            std::ostringstream size;
            size << std::hex << piece.size() << "\r\n";
            text += size.str() + piece + "\r\n";
        }
        return text + "0\r\n\r\n";
    }

    static void sendAll(const Socket& client, const std::string& text)
    {
        std::size_t sent = 0;
        while (sent < text.size()) {
            const int count = static_cast<int>(::send(client.get(), text.data() + sent,
                                                      static_cast<int>(std::min<std::size_t>(text.size() - sent, 65536)),
                                                      kSendFlags));
            if (count <= 0)
                return;
            sent += static_cast<std::size_t>(count);
        }
    }

    Socket listener_;
    int port_ = 0;
    mutable Socket refusing_;
    mutable int refusingPort_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, Reply> replies_;
    std::map<std::string, int> counts_;
    int received_ = 0;
    mutable std::condition_variable arrived_;
    std::map<std::string, std::string> lastHeaders_;
    std::string lastMethod_;
    std::string lastBody_;
    std::thread thread_;
};

}  // namespace testsupport
