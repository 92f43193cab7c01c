#pragma once

// Sends the downloads of this process (libcurl, and WinInet where it reads the
// environment) through a proxy on a loopback port for the life of the object,
// then puts the environment back. A proxy that refuses connections makes every
// download fail at once; a LoopbackHttpServer as the proxy serves whole URLs.

#include <cstdlib>
#include <map>
#include <string>
#include <utility>

namespace testsupport {

class ProxyEnvironment {
public:
    explicit ProxyEnvironment(int port)
    {
        const std::string proxy = "http://127.0.0.1:" + std::to_string(port);
        for (const char* name : {"http_proxy", "https_proxy", "ftp_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY",
                                 "FTP_PROXY", "ALL_PROXY"})
            set(name, proxy.c_str());
        for (const char* name : {"no_proxy", "NO_PROXY"})
            set(name, nullptr);
    }
    ~ProxyEnvironment()
    {
        for (const auto& saved : saved_)
            put(saved.first, saved.second.second ? saved.second.first.c_str() : nullptr);
    }
    ProxyEnvironment(const ProxyEnvironment&) = delete;
    ProxyEnvironment& operator=(const ProxyEnvironment&) = delete;

private:
    void set(const std::string& name, const char* value)
    {
        const char* old = std::getenv(name.c_str());
        saved_[name] = {old != nullptr ? old : "", old != nullptr};
        put(name, value);
    }
    static void put(const std::string& name, const char* value)
    {
#ifdef _WIN32
        _putenv_s(name.c_str(), value != nullptr ? value : "");
#else
        if (value != nullptr)
            setenv(name.c_str(), value, 1);
        else
            unsetenv(name.c_str());
#endif
    }

    std::map<std::string, std::pair<std::string, bool>> saved_;
};

}  // namespace testsupport
