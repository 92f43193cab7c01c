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
    // A transfer runs on a multi handle, whose wait another thread can wake to cancel it.
    decltype(&::curl_multi_init) multi_init = nullptr;
    decltype(&::curl_multi_cleanup) multi_cleanup = nullptr;
    decltype(&::curl_multi_add_handle) multi_add_handle = nullptr;
    decltype(&::curl_multi_remove_handle) multi_remove_handle = nullptr;
    decltype(&::curl_multi_perform) multi_perform = nullptr;
    decltype(&::curl_multi_poll) multi_poll = nullptr;
    decltype(&::curl_multi_wakeup) multi_wakeup = nullptr;
    decltype(&::curl_multi_info_read) multi_info_read = nullptr;
};

// The library, opened and initialised once; throws std::runtime_error
// "open internet failed..." when it cannot be opened or initialised.
const CurlLibrary& curlLibrary();

#endif
