#include "net/UrlParts.h"

namespace {

// Up to five digits, at most 65535; anything else is -1 so that no
// connection goes to a port the user did not write.
int parsePort(const std::string& text)
{
    if (text.empty())
        return 0;
    if (text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    const int port = std::stoi(text);
    return port <= 65535 ? port : -1;
}

// The text behind "scheme:" with its "//" skipped, without running past the end.
std::string::size_type afterSchemeSeparator(const std::string& address, std::string::size_type colon)
{
    std::string::size_type at = colon + 1;
    for (int slashes = 0; slashes < 2 && at < address.size() && address[at] == '/'; ++slashes)
        ++at;
    return at;
}

}  // namespace

UrlParts UrlParts::split(const std::string& address)
{
    UrlParts parts;
    std::string::size_type start = 0;
    const std::string::size_type colon = address.find(':');
    if (colon != std::string::npos && colon + 1 < address.size() && address[colon + 1] == '/') {
        parts.scheme = address.substr(0, colon);
        start = afterSchemeSeparator(address, colon);
    } else {
        parts.scheme = "http";
    }

    // The authority ends where the path or the query begins; an '@' or ':'
    // behind that point belongs to the path.
    std::string::size_type end = address.find_first_of("/?", start);
    if (end == std::string::npos)
        end = address.size();
    std::string authority = address.substr(start, end - start);

    const std::string::size_type at = authority.rfind('@');
    if (at != std::string::npos) {
        const std::string userInfo = authority.substr(0, at);
        const std::string::size_type separator = userInfo.find(':');
        parts.user = userInfo.substr(0, separator);
        if (separator != std::string::npos)
            parts.password = userInfo.substr(separator + 1);
        authority.erase(0, at + 1);
    }

    const std::string::size_type portColon = authority.find(':');
    parts.host = authority.substr(0, portColon);
    if (portColon != std::string::npos)
        parts.port = parsePort(authority.substr(portColon + 1));

    if (end < address.size())
        parts.path = address[end] == '/' ? address.substr(end) : "/" + address.substr(end);
    return parts;
}

UrlScheme UrlParts::schemeNumber() const
{
    if (scheme == "https")
        return SchemeHttps;
    if (scheme == "http")
        return SchemeHttp;
    if (scheme == "ftp")
        return SchemeFtp;
    return SchemeNone;
}

int UrlParts::portOrDefault() const
{
    return port != 0 ? port : defaultPort(schemeNumber());
}

std::string UrlParts::schemePrefix(int scheme)
{
    switch (scheme) {
    case SchemeFtp: return "ftp://";
    case SchemeHttp: return "http://";
    case SchemeHttps: return "https://";
    default: return std::string();
    }
}

UrlScheme UrlParts::schemeOfLocation(const std::string& location)
{
    for (const UrlScheme scheme : {SchemeFtp, SchemeHttp, SchemeHttps}) {
        const std::string prefix = schemePrefix(scheme);
        if (location.compare(0, prefix.size(), prefix) == 0)
            return scheme;
    }
    return SchemeNone;
}

int UrlParts::defaultPort(int scheme)
{
    switch (scheme) {
    case SchemeHttps: return 443;
    case SchemeFtp: return 21;
    default: return 80;
    }
}
