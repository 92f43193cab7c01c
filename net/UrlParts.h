#pragma once

#include <string>

// Scheme numbers of the HTTP client; -1 for a scheme it cannot fetch.
enum UrlScheme { SchemeNone = -1, SchemeFtp = 0, SchemeHttp = 1, SchemeHttps = 2 };

// A network address taken apart into what a connection and a request need.
struct UrlParts {
    std::string scheme;    // "http" when the address names none
    std::string user;      // empty when the address holds no user information
    std::string password;
    std::string host;
    int port = 0;          // 0 when the address names none, -1 when it is not a port number
    std::string path = "/";  // query included

    static UrlParts split(const std::string& address);

    // Exact, lower-case scheme names only: "https:" must not pass for "httpsx:".
    UrlScheme schemeNumber() const;
    int portOrDefault() const;
    static int defaultPort(int scheme);
    // "ftp://", "http://" or "https://"; empty for any other number.
    static std::string schemePrefix(int scheme);
    // The scheme a location starts with, by its prefix; SchemeNone for a local name.
    static UrlScheme schemeOfLocation(const std::string& location);
};
