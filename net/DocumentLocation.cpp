#include "net/DocumentLocation.h"

#include "net/HexDigits.h"

#include <cctype>
#include <vector>

namespace {

bool isLetter(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// Length of a leading "scheme:" of two characters or more; a single letter
// before a colon is a drive, not a scheme.
std::size_t schemeLength(const std::string& location)
{
    if (location.empty() || !isLetter(location[0]))
        return 0;
    std::size_t i = 1;
    while (i < location.size()) {
        const char c = location[i];
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            break;
        ++i;
    }
    return i >= 2 && i < location.size() && location[i] == ':' ? i + 1 : 0;
}

bool isUri(const std::string& location)
{
    return schemeLength(location) > 0;
}

bool hasDrive(const std::string& location)
{
    return location.size() >= 2 && isLetter(location[0]) && location[1] == ':';
}

// In a URI only "/" separates; a local path also takes "\".
bool isSeparator(char c, bool uri)
{
    return c == '/' || (!uri && c == '\\');
}

// Where the path of a URI ends: its query or fragment is left alone.
std::size_t pathEnd(const std::string& location, std::size_t from)
{
    const std::size_t end = location.find_first_of("?#", from);
    return end == std::string::npos ? location.size() : end;
}

struct Segment {
    char separator; // the one written before the segment; 0 for the first
    std::string text;
};

std::string joinSegments(const std::string& root, const std::vector<Segment>& segments)
{
    std::string joined = root;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i > 0)
            joined += segments[i].separator != 0 ? segments[i].separator : '/';
        joined += segments[i].text;
    }
    return joined;
}

// Folds "." and ".." in a path. A ".." never climbs above a root; in a
// relative path the leading ones stay. In a file path an empty segment ("//")
// names nothing of its own and goes, so that one file has one spelling; a URL
// keeps it, as the server may tell it apart.
std::string foldDotSegments(const std::string& path, bool uri, bool dropEmpty)
{
    std::string root;
    std::size_t begin = 0;
    if (!path.empty() && isSeparator(path[0], uri)) {
        root = path.substr(0, 1);
        begin = 1;
    }
    std::vector<Segment> kept;
    char separator = 0;
    for (;;) {
        std::size_t end = begin;
        while (end < path.size() && !isSeparator(path[end], uri))
            ++end;
        const std::string text = path.substr(begin, end - begin);
        const bool last = end >= path.size();
        if (text == "..") {
            if (!kept.empty() && kept.back().text != "..")
                kept.pop_back();
            else if (root.empty())
                kept.push_back(Segment{separator, text});
        } else if (text != "." && !(dropEmpty && text.empty() && !last)) {
            kept.push_back(Segment{separator, text});
        }
        if (last) {
            if (text == "." || text == "..")
                kept.push_back(Segment{separator, std::string()}); // still names a folder
            break;
        }
        separator = path[end];
        begin = end + 1;
    }
    return joinSegments(root, kept);
}

bool startsWithFileScheme(const std::string& location)
{
    static const char scheme[] = "file:";
    if (location.size() < sizeof scheme - 1)
        return false;
    for (std::size_t i = 0; i + 1 < sizeof scheme; ++i) {
        if (std::tolower(static_cast<unsigned char>(location[i])) != scheme[i])
            return false;
    }
    return true;
}

std::string normalizeLocation(const std::string& location)
{
    const bool uri = isUri(location);
    std::size_t rootEnd = 0;
    std::size_t end = location.size();
    if (uri) {
        rootEnd = schemeLength(location);
        if (location.compare(rootEnd, 2, "//") == 0) {
            rootEnd = location.find_first_of("/?#", rootEnd + 2); // past the authority
            if (rootEnd == std::string::npos || location[rootEnd] != '/')
                return location;
        }
        end = pathEnd(location, rootEnd);
    } else if (location.size() >= 2 && isSeparator(location[0], false) && isSeparator(location[1], false)) {
        std::size_t server = 2;
        while (server < location.size() && !isSeparator(location[server], false))
            ++server;
        rootEnd = server;
    } else if (hasDrive(location)) {
        rootEnd = 2;
    }
    const bool filePath = !uri || startsWithFileScheme(location);
    return location.substr(0, rootEnd) + foldDotSegments(location.substr(rootEnd, end - rootEnd), uri, filePath) +
        location.substr(end);
}

std::string percentDecode(const std::string& text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 &&
            hexDigitValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

} // namespace

bool isAbsoluteLocation(const std::string& location)
{
    return !location.empty() && (isSeparator(location[0], false) || hasDrive(location) || isUri(location));
}

std::string baseLocationOf(const std::string& location)
{
    const bool uri = isUri(location);
    const std::size_t end = uri ? pathEnd(location, schemeLength(location)) : location.size();
    for (std::size_t i = end; i > 0; --i) {
        if (isSeparator(location[i - 1], uri))
            return location.substr(0, i);
    }
    return std::string();
}

std::string resolveLocation(const std::string& base, const std::string& location)
{
    if (location.empty())
        return location;
    return normalizeLocation(isAbsoluteLocation(location) ? location : base + location);
}

std::string localPathOf(const std::string& location)
{
    if (!startsWithFileScheme(location))
        return location;
    std::string path = location.substr(5);
    if (path.compare(0, 2, "//") == 0) {
        const std::size_t slash = path.find('/', 2);
        const std::string host = path.substr(2, slash == std::string::npos ? std::string::npos : slash - 2);
        const std::string rest = slash == std::string::npos ? std::string() : path.substr(slash);
        path = host.empty() || host == "localhost" ? rest : "//" + host + rest;
    }
    // "/C:/folder" names a drive.
    if (path.size() >= 3 && path[0] == '/' && isLetter(path[1]) && (path[2] == ':' || path[2] == '|')) {
        path.erase(0, 1);
        path[1] = ':';
    }
    return percentDecode(path);
}
