#include "net/CurlLibrary.h"

#include <dlfcn.h>

#include <stdexcept>

namespace {

template <class Function>
bool bind(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

// Null when the library or one of its functions is missing. The library
// stays open for the life of the process.
const CurlLibrary* open()
{
    void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        library = dlopen("libcurl.so", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return nullptr;
    static CurlLibrary curl;
    const bool bound = bind(library, "curl_global_init", curl.global_init) &&
                       bind(library, "curl_easy_init", curl.easy_init) &&
                       bind(library, "curl_easy_cleanup", curl.easy_cleanup) &&
                       bind(library, "curl_easy_reset", curl.easy_reset) &&
                       bind(library, "curl_easy_setopt", curl.easy_setopt) &&
                       bind(library, "curl_easy_perform", curl.easy_perform) &&
                       bind(library, "curl_easy_getinfo", curl.easy_getinfo) &&
                       bind(library, "curl_easy_strerror", curl.easy_strerror) &&
                       bind(library, "curl_slist_append", curl.slist_append) &&
                       bind(library, "curl_slist_free_all", curl.slist_free_all) &&
                       bind(library, "curl_multi_init", curl.multi_init) &&
                       bind(library, "curl_multi_cleanup", curl.multi_cleanup) &&
                       bind(library, "curl_multi_add_handle", curl.multi_add_handle) &&
                       bind(library, "curl_multi_remove_handle", curl.multi_remove_handle) &&
                       bind(library, "curl_multi_perform", curl.multi_perform) &&
                       bind(library, "curl_multi_poll", curl.multi_poll) &&
                       bind(library, "curl_multi_wakeup", curl.multi_wakeup) &&
                       bind(library, "curl_multi_info_read", curl.multi_info_read);
    if (!bound || curl.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return nullptr;
    return &curl;
}

}  // namespace

const CurlLibrary& curlLibrary()
{
    static const CurlLibrary* const curl = open();
    if (curl == nullptr)
        throw std::runtime_error("open internet failed...");
    return *curl;
}
