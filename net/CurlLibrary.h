#ifndef KELVANE_NET_CURLLIBRARY_H
#define KELVANE_NET_CURLLIBRARY_H

#include <curl/curl.h>

// libcurl, opened the first time a document is fetched. A run that reads
// only local files never maps it, nor the TLS, Kerberos and LDAP libraries
// it brings along: they cost more memory than the rest of such a run.
struct CurlLibrary {
    decltype(&::curl_global_init) global_init = nullptr;
    decltype(&::curl_easy_init) easy_init = nullptr;
    decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&::curl_easy_reset) easy_reset = nullptr;
    decltype(&::curl_easy_setopt) easy_setopt = nullptr;
    decltype(&::curl_easy_perform) easy_perform = nullptr;
    decltype(&::curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&::curl_easy_strerror) easy_strerror = nullptr;
    decltype(&::curl_slist_append) slist_append = nullptr;
    decltype(&::curl_slist_free_all) slist_free_all = nullptr;
};

// The library, opened and initialised once; throws std::runtime_error
// "open internet failed..." when it cannot be opened or initialised.
const CurlLibrary& curlLibrary();

#endif
