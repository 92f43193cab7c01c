/* tessaro: the support library of Kelvane's generated code. Types. */
#ifndef TESSARO_TYPE_H
#define TESSARO_TYPE_H

#include <stddef.h>

#ifdef _WIN32
#include <winsock2.h>
typedef SOCKET tessaro_socket_t;
/* Generated headers export with the compiler's older spelling. */
#if defined(__GNUC__) && !defined(_declspec)
#define _declspec(x) __declspec(x)
#endif
#else
typedef int tessaro_socket_t;
#ifndef INVALID_SOCKET
#define INVALID_SOCKET (-1)
#endif
#endif

typedef unsigned short tessaro_port_t;
typedef size_t tessaro_size_t;
/* Time-outs of the socket functions are given in microseconds. */
typedef long long tessaro_usec_t;
#define TESSARO_USEC_PER_SEC 1000000LL

#endif
