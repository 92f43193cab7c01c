#include "net/FetchUri.h"

#include "net/HttpClient.h"
#include "net/TempFile.h"
#include "net/UrlParts.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <system_error>

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

bool canOpen(const std::string& name)
{
    return std::ifstream(name, std::ios::binary).is_open();
}

// The client refuses to read past its maximum response size, so a server
// that sends without end ends here as a broken connection.
bool copyResponse(HttpClient& client, TempFile& file)
{
    char piece[1024];
    try {
        for (;;) {
            const std::size_t count = client.read(piece, sizeof piece);
            if (count == 0)
                return true;
            if (!file.write(piece, count))
                return false;
        }
    } catch (const std::exception&) {
        return false;  // the connection broke: the document is incomplete
    }
}

bool download(const std::string& location, TempFile& file, std::size_t maximumSize)
{
    HttpClient client;
    client.setMaximumResponseSize(maximumSize);
    const bool arrived = client.openUrl(location, nullptr, nullptr, kAgent)
        && client.request(client.objectPath(), HttpClient::MethodGet, nullptr)
        && copyResponse(client, file);
    client.close();
    return arrived;
}

}  // namespace

bool fetchUri(const std::string& location, std::string& fileName, std::size_t maximumSize)
{
    if (!isNetworkAddress(location)) {
        fileName = location;
        return canOpen(location);
    }
    std::map<std::string, Download>& cache = fetchCache();
    const auto cached = cache.find(location);
    if (cached != cache.end()) {
        fileName = cached->second.fileName;
        return true;
    }
    fileName.clear();
    try {
        TempFile file;
        Download entry{file.name(), std::filesystem::absolute(file.name())};
        if (!download(location, file, maximumSize) || !file.keep())
            return false;
        cache.emplace(location, entry);
        fileName = entry.fileName;
        return true;
    } catch (const std::exception&) {
        return false;
    }
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
