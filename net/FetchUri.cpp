#include "net/FetchUri.h"

#include "net/DocumentLocation.h"
#include "net/HttpClient.h"
#include "net/TempFile.h"
#include "net/UrlParts.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

const char* const kAgent = "kelvane-wsdl/1.9";

struct Download {
    std::string fileName;          // as handed to callers, relative to the folder of the download
    std::filesystem::path absolute;  // for the clean-up, which may run in another folder
};

// Lives for the process; destroying it at exit deletes no file.
std::map<std::string, Download>& fetchCache()
{
    static std::map<std::string, Download> cache;
    return cache;
}

// Only the start of the location counts: a local path with "http://" inside it
// is still a local path, and no other scheme is ever fetched.
bool isNetworkAddress(const std::string& location)
{
    return UrlParts::schemeOfLocation(location) != SchemeNone;
}

int& timeoutSetting()
{
    static int seconds = kDefaultFetchTimeoutSeconds;
    return seconds;
}

// Empty when the file can be opened for reading; else why not, from what the
// system said when asked to open it.
std::string whyNotReadable(const std::string& name)
{
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.c_str(), "rb"), std::fclose);
    const int cause = errno;
    std::error_code ignored;
    if (std::filesystem::is_directory(name, ignored))
        return "is a folder";
    if (file)
        return std::string();
    switch (cause) {
    case ENOENT:
    case ENOTDIR: return "file not found";
    case EACCES:
    case EPERM: return "permission denied";
    default: return cause != 0 ? std::strerror(cause) : "cannot be opened";
    }
}

std::function<void(const std::string&)>& announcer()
{
    static std::function<void(const std::string&)> announce;
    return announce;
}

// The client refuses to read past its maximum response size, so a server
// that sends without end ends here as a broken connection.
bool copyResponse(HttpClient& client, TempFile& file, std::string& failure)
{
    char piece[1024];
    std::size_t total = 0;
    try {
        for (;;) {
            const std::size_t count = client.read(piece, sizeof piece);
            if (count == 0)
                return true;
            total += count;
            if (!file.write(piece, count)) {
                failure = "cannot write the downloaded file " + file.name();
                return false;
            }
        }
    } catch (const std::exception&) {
        // The document is incomplete.
        failure = client.failure();
        if (failure.empty())
            failure = "the connection broke off after " + std::to_string(total) + " bytes";
        return false;
    }
}

bool download(const std::string& location, TempFile& file, std::size_t maximumSize, std::string& failure)
{
    HttpClient client;
    client.setMaximumResponseSize(maximumSize);
    client.setTimeout(timeoutSetting());
    const bool requested = client.openUrl(location, nullptr, nullptr, kAgent)
        && client.request(client.objectPath(), HttpClient::MethodGet, nullptr);
    if (!requested)
        failure = client.failure();
    const bool arrived = requested && copyResponse(client, file, failure);
    client.close();
    return arrived;
}

// The standard input, read whole.
bool copyStandardInput(TempFile& file, std::string& failure)
{
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY); // no line-end translation
#endif
    char piece[4096];
    for (std::size_t count; (count = std::fread(piece, 1, sizeof piece, stdin)) > 0;) {
        if (!file.write(piece, count)) {
            failure = "cannot write the copy of the standard input " + file.name();
            return false;
        }
    }
    if (std::ferror(stdin)) {
        failure = std::string("cannot read the standard input: ") + std::strerror(errno);
        return false;
    }
    return true;
}

XmlCatalog& catalogSetting()
{
    static XmlCatalog catalog;
    return catalog;
}

std::function<void(const std::string&, const std::string&)>& catalogAnnouncer()
{
    static std::function<void(const std::string&, const std::string&)> announce;
    return announce;
}

bool fetchLocation(const std::string& location, std::string& fileName, std::string& failure, std::size_t maximumSize);

}  // namespace

void setFetchTimeout(int seconds)
{
    timeoutSetting() = seconds < 0 ? 0 : seconds;
}

int fetchTimeout()
{
    return timeoutSetting();
}

bool fetchUri(const std::string& location, std::string& fileName, std::size_t maximumSize)
{
    std::string failure;
    return fetchUri(location, fileName, failure, maximumSize);
}

void setFetchCatalog(XmlCatalog catalog)
{
    catalogSetting() = std::move(catalog);
}

void setCatalogAnnouncer(std::function<void(const std::string&, const std::string&)> announce)
{
    catalogAnnouncer() = std::move(announce);
}

// The catalog's address is fetched as it is, never mapped again: a catalog
// that maps an address onto itself or in a circle cannot loop.
bool fetchUri(const std::string& location, std::string& fileName, std::string& failure, std::size_t maximumSize)
{
    const std::string mapped = catalogSetting().resolve(location);
    if (mapped.empty())
        return fetchLocation(location, fileName, failure, maximumSize);
    if (catalogAnnouncer())
        catalogAnnouncer()(location, mapped);
    if (fetchLocation(localPathOf(mapped), fileName, failure, maximumSize))
        return true;
    failure += " (a catalog maps it to " + mapped + ")";
    return false;
}

namespace {

bool fetchLocation(const std::string& location, std::string& fileName, std::string& failure, std::size_t maximumSize)
{
    failure.clear();
    const bool standardInput = location == StandardInputLocation;
    if (!isNetworkAddress(location) && !standardInput) {
        fileName = location;
        failure = whyNotReadable(location);
        return failure.empty();
    }
    std::map<std::string, Download>& cache = fetchCache();
    const auto cached = cache.find(location);
    if (cached != cache.end()) {
        fileName = cached->second.fileName;
        return true;
    }
    fileName.clear();
    if (announcer() && !standardInput)
        announcer()(location);
    try {
        TempFile file;
        Download entry{file.name(), std::filesystem::absolute(file.name())};
        if (standardInput ? !copyStandardInput(file, failure) : !download(location, file, maximumSize, failure))
            return false;
        if (!file.keep()) {
            failure = "cannot keep the downloaded file " + file.name();
            return false;
        }
        cache.emplace(location, entry);
        fileName = entry.fileName;
        return true;
    } catch (const std::exception& error) {
        failure = error.what();
        return false;
    }
}

}  // namespace

void setFetchAnnouncer(std::function<void(const std::string&)> announce)
{
    announcer() = std::move(announce);
}

void removeFetchedFiles()
{
    std::map<std::string, Download>& cache = fetchCache();
    for (const auto& cached : cache) {
        std::error_code ignored;
        std::filesystem::remove(cached.second.absolute, ignored);
    }
    cache.clear();
}
