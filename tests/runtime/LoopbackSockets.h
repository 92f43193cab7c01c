#pragma once

// Loopback sockets for the support library's tests, on POSIX and on Winsock alike.

#include <gtest/gtest.h>

#include "tessaro_socket.h"

#include <cstring>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

namespace loopback {

// A connected socket to the loopback port.
inline tessaro_socket_t connectTo(tessaro_port_t port)
{
    tessaro_socket_t sock;
    EXPECT_EQ(tessaro_create_tcp_socket(&sock), 0);
    EXPECT_EQ(tessaro_connect_within(sock, "127.0.0.1", port, 5 * TESSARO_USEC_PER_SEC), 0);
    return sock;
}

// The socket's own address, or its peer's.
inline sockaddr_storage addressOf(tessaro_socket_t sock, bool peer)
{
    sockaddr_storage address{};
#ifdef _WIN32
    int size = sizeof(address);
#else
    socklen_t size = sizeof(address);
#endif
    if (peer)
        getpeername(sock, reinterpret_cast<sockaddr*>(&address), &size);
    else
        getsockname(sock, reinterpret_cast<sockaddr*>(&address), &size);
    return address;
}

// The port a listener was given, IPv4 or IPv6.
inline tessaro_port_t portOf(tessaro_socket_t listener)
{
    const sockaddr_storage address = addressOf(listener, false);
    return ntohs(address.ss_family == AF_INET6 ? reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port
                                               : reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
}

// One plain send of text, as a peer that is no part of the library makes it (a peer that has gone
// gives an error, not a signal).
inline void sendText(tessaro_socket_t sock, const char* text)
{
#ifdef _WIN32
    ::send(sock, text, static_cast<int>(std::strlen(text)), 0);
#else
    ::send(sock, text, std::strlen(text), MSG_NOSIGNAL);
#endif
}

} // namespace loopback
