#ifndef KELVANE_FUZZ_FUZZFILE_H
#define KELVANE_FUZZ_FUZZFILE_H

// The readers under test open documents by path: each input is written to a
// file of this process's own, in a folder of its own (a document that names
// a relative import finds nothing beside it), removed with the object.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

class CFuzzFile {
public:
    CFuzzFile(const std::uint8_t* data, std::size_t size, const char* name)
    {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / ("kelvane-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        path_ = (folder / name).string();
        std::ofstream(path_, std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    ~CFuzzFile() { std::remove(path_.c_str()); }
    CFuzzFile(const CFuzzFile&) = delete;
    CFuzzFile& operator=(const CFuzzFile&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Nothing a document names is fetched: every download goes to a loopback
// port where nothing listens, and is refused at once.
inline void refuseDownloads()
{
    for (const char* name : {"http_proxy", "https_proxy", "ftp_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY",
                             "FTP_PROXY", "ALL_PROXY"})
        ::setenv(name, "http://127.0.0.1:9", 1);
    ::unsetenv("no_proxy");
    ::unsetenv("NO_PROXY");
}

#endif
