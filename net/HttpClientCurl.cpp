// The HTTP client's transport where the platform's internet interface does not
// exist: libcurl. The response of a request is received whole when the request
// is sent, so that its status is known at once, and handed out by read.
#include "net/HttpClient.h"

#include "net/CurlLibrary.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <tuple>

namespace {

struct CurlCleanup {
    void operator()(CURL* handle) const { curlLibrary().easy_cleanup(handle); }
};
struct HeaderListCleanup {
    void operator()(curl_slist* list) const { curlLibrary().slist_free_all(list); }
};
using CurlHandle = std::unique_ptr<CURL, CurlCleanup>;
using HeaderList = std::unique_ptr<curl_slist, HeaderListCleanup>;
struct MultiCleanup {
    void operator()(CURLM* handle) const { curlLibrary().multi_cleanup(handle); }
};
using MultiHandle = std::unique_ptr<CURLM, MultiCleanup>;

// Generous limits in the spirit of the platform's defaults: a dead peer ends
// the download instead of hanging the program.
const long kConnectTimeoutSeconds = 60;
const long kStalledSeconds = 60;
const long kMaximumRedirects = 10;
const char* const kProtocols = "http,https,ftp";

// Header texts may hold several CRLF-ended lines; libcurl wants one per entry.
void appendHeaderLines(HeaderList& list, const std::string& text)
{
    std::string::size_type start = 0;
    while (start < text.size()) {
        std::string::size_type end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start) {
            curl_slist* const grown = curlLibrary().slist_append(list.get(), text.substr(start, end - start).c_str());
            if (grown == nullptr)
                throw std::runtime_error("additional header failed...");
            list.release();
            list.reset(grown);
        }
        start = end + 2;
    }
}

std::string trimmed(const std::string& text)
{
    const std::string::size_type first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

struct HttpClient::Transport {
    CurlHandle handle;
    bool connected = false;
    bool requestOpen = false;
    std::string origin;  // scheme, host and port, to which the object path is added
    std::string agent;
    std::string user;
    std::string password;
    std::string response;
    std::size_t maximumSize = 0;  // of the response
    std::size_t offset = 0;
    long status = 0;
    std::string reason;           // of the last status line
    std::vector<Header> headers;  // of the last response
    ConnectionOptions options;
    long timeoutSeconds = 0;      // for the whole request, 0 for libcurl's own limits
    char errorText[CURL_ERROR_SIZE] = {};
    std::string failure;          // of the last perform, in words
    FailureKind failureKind = FailureNone;
    std::atomic<bool> cancelRequested{false};
    std::mutex multiLock;         // guards multi against a cancel from another thread
    MultiHandle multi;

    // Keeps the reason phrase of the last status line (redirects bring several).
    static size_t collectHeader(char* data, size_t size, size_t count, void* target)
    {
        Transport& transport = *static_cast<Transport*>(target);
        const std::size_t length = size * count;
        const std::string line(data, length);
        if (line.compare(0, 5, "HTTP/") == 0) {
            const std::string::size_type code = line.find(' ');
            const std::string::size_type text = code == std::string::npos ? code : line.find(' ', code + 1);
            transport.reason = text == std::string::npos ? std::string() : line.substr(text + 1);
            while (!transport.reason.empty() && (transport.reason.back() == '\r' || transport.reason.back() == '\n'))
                transport.reason.pop_back();
            transport.headers.clear();
        } else {
            const std::string::size_type colon = line.find(':');
            if (colon != std::string::npos)
                transport.headers.emplace_back(trimmed(line.substr(0, colon)), trimmed(line.substr(colon + 1)));
        }
        return length;
    }

    // What went wrong, in the words a user can act on.
    std::pair<FailureKind, std::string> describe(CURL* curl, CURLcode code) const
    {
        const std::string detail = errorText[0] != '\0' ? errorText : curlLibrary().easy_strerror(code);
        const std::string proxyName = "the proxy " + options.proxy;
        long systemError = 0;
        long tunnelStatus = 0;
        switch (code) {
        case CURLE_COULDNT_CONNECT:
            curlLibrary().easy_getinfo(curl, CURLINFO_OS_ERRNO, &systemError);
            if (!options.proxy.empty())
                return {FailureProxy, proxyName + " could not be reached: " + detail};
            if (systemError == ECONNREFUSED)
                return {FailureRefused, "connection refused"};
            return {FailureOther, "could not connect: " + detail};
        case CURLE_COULDNT_RESOLVE_HOST:
            return {FailureHostNotFound, "host not found"};
        case CURLE_COULDNT_RESOLVE_PROXY:
            return {FailureProxy, "proxy host not found: " + detail};
        case CURLE_ABORTED_BY_CALLBACK:
            return {FailureCancelled, "cancelled"};
        case CURLE_OPERATION_TIMEDOUT:
            return {FailureTimedOut,
                    timeoutSeconds > 0 ? "time-out after " + std::to_string(timeoutSeconds) + " s" : "time-out"};
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
            return {FailureTls, "TLS failure: " + detail};
        case CURLE_PARTIAL_FILE:
        case CURLE_RECV_ERROR:
            // A proxy that refuses the tunnel ends the transfer before any answer of the service.
            curlLibrary().easy_getinfo(curl, CURLINFO_HTTP_CONNECTCODE, &tunnelStatus);
            if (tunnelStatus != 0 && tunnelStatus != 200)
                return {FailureProxy, "the proxy refused the tunnel: HTTP " + std::to_string(tunnelStatus)};
            return {FailureOther, "the connection broke off after " + std::to_string(response.size()) + " bytes"};
        case CURLE_FILESIZE_EXCEEDED:
        case CURLE_WRITE_ERROR:
            return {FailureOther, "larger than " + std::to_string(maximumSize) + " bytes"};
        case CURLE_PROXY:
            return {FailureProxy, "proxy failure: " + detail};
        default:
            return {FailureOther, detail};
        }
    }

    // A response that grows past its maximum is refused here, before it is
    // stored; returning less than was given makes libcurl fail the transfer.
    static size_t collectResponse(char* data, size_t size, size_t count, void* target)
    {
        Transport& transport = *static_cast<Transport*>(target);
        const std::size_t length = size * count;
        if (length > transport.maximumSize - transport.response.size())
            return 0;
        transport.response.append(data, length);
        return length;
    }

    // Options every request starts from.
    CURL* prepare(const std::string& objectPath, const HeaderList& headers, std::size_t maximumResponseSize)
    {
        if (!connected)
            throw std::runtime_error("handle not opened...");
        CURL* const curl = handle.get();
        curlLibrary().easy_reset(curl);
        const std::string url = origin + objectPath;
        curlLibrary().easy_setopt(curl, CURLOPT_URL, url.c_str());
        curlLibrary().easy_setopt(curl, CURLOPT_USERAGENT, agent.c_str());
        curlLibrary().easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
#if LIBCURL_VERSION_NUM >= 0x075500
        curlLibrary().easy_setopt(curl, CURLOPT_PROTOCOLS_STR, kProtocols);
        curlLibrary().easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, kProtocols);
#else
        const long protocols = CURLPROTO_HTTP | CURLPROTO_HTTPS | CURLPROTO_FTP;
        curlLibrary().easy_setopt(curl, CURLOPT_PROTOCOLS, protocols);
        curlLibrary().easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS, protocols);
#endif
        curlLibrary().easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curlLibrary().easy_setopt(curl, CURLOPT_MAXREDIRS, kMaximumRedirects);
        if (timeoutSeconds > 0) {
            // One limit for the whole download, which nothing else may cut short.
            curlLibrary().easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds);
            curlLibrary().easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, timeoutSeconds);
        } else {
            curlLibrary().easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
            curlLibrary().easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
            curlLibrary().easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStalledSeconds);
        }
        // Certificates are checked against the system's store (libcurl's default, said here).
        curlLibrary().easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
        curlLibrary().easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
        errorText[0] = '\0';
        curlLibrary().easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
        curlLibrary().easy_setopt(curl, CURLOPT_HEADERFUNCTION, collectHeader);
        curlLibrary().easy_setopt(curl, CURLOPT_HEADERDATA, this);
        curlLibrary().easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
        // The announced size is checked before the body comes; the body is counted as it comes.
        maximumSize = maximumResponseSize;
        curlLibrary().easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maximumSize));
        curlLibrary().easy_setopt(curl, CURLOPT_WRITEFUNCTION, collectResponse);
        curlLibrary().easy_setopt(curl, CURLOPT_WRITEDATA, this);
        if (!user.empty())
            curlLibrary().easy_setopt(curl, CURLOPT_USERNAME, user.c_str());
        if (!password.empty())
            curlLibrary().easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
        applyOptions(curl);
        return curl;
    }

    void applyOptions(CURL* curl) const
    {
        if (!options.caFile.empty())
            curlLibrary().easy_setopt(curl, CURLOPT_CAINFO, options.caFile.c_str());
        if (!options.verifyCertificate) {
            curlLibrary().easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
            curlLibrary().easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
        }
        if (!options.proxy.empty()) {
            const std::string proxy = "http://" + options.proxy;
            curlLibrary().easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
            curlLibrary().easy_setopt(curl, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC | CURLAUTH_DIGEST));
            if (!options.proxyUser.empty())
                curlLibrary().easy_setopt(curl, CURLOPT_PROXYUSERNAME, options.proxyUser.c_str());
            if (!options.proxyPassword.empty())
                curlLibrary().easy_setopt(curl, CURLOPT_PROXYPASSWORD, options.proxyPassword.c_str());
        }
        if (options.authentication == ConnectionOptions::AuthBasic)
            curlLibrary().easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        else if (options.authentication == ConnectionOptions::AuthDigest)
            curlLibrary().easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_DIGEST));
    }

    void preparePost(CURL* curl, const char* referrer, const char* body, std::size_t length)
    {
        curlLibrary().easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
        curlLibrary().easy_setopt(curl, CURLOPT_POST, 1L);
        curlLibrary().easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(length));
        // The size goes first so that a body with zero bytes in it is copied whole.
        curlLibrary().easy_setopt(curl, CURLOPT_COPYPOSTFIELDS, body != nullptr ? body : "");
        if (referrer != nullptr)
            curlLibrary().easy_setopt(curl, CURLOPT_REFERER, referrer);
    }

    CURLM* multiHandle()
    {
        std::lock_guard<std::mutex> lock(multiLock);
        if (!multi)
            multi.reset(curlLibrary().multi_init());
        if (!multi)
            throw std::runtime_error("open internet failed...");
        return multi.get();
    }

    // The transfer's result once it ended; a cancel ends it as aborted.
    CURLcode transfer(CURL* curl)
    {
        CURLM* const handle = multiHandle();
        if (curlLibrary().multi_add_handle(handle, curl) != CURLM_OK)
            return CURLE_FAILED_INIT;
        CURLcode result = CURLE_OK;
        for (;;) {
            if (cancelRequested.exchange(false)) {
                result = CURLE_ABORTED_BY_CALLBACK;
                break;
            }
            int running = 0;
            if (curlLibrary().multi_perform(handle, &running) != CURLM_OK) {
                result = CURLE_FAILED_INIT;
                break;
            }
            if (running == 0) {
                result = finishedResult(handle);
                break;
            }
            // A cancel wakes this wait at once.
            curlLibrary().multi_poll(handle, nullptr, 0, 1000, nullptr);
        }
        curlLibrary().multi_remove_handle(handle, curl);
        return result;
    }

    static CURLcode finishedResult(CURLM* handle)
    {
        int left = 0;
        while (CURLMsg* message = curlLibrary().multi_info_read(handle, &left)) {
            if (message->msg == CURLMSG_DONE)
                return message->data.result;
        }
        return CURLE_FAILED_INIT;
    }

    void cancel()
    {
        cancelRequested = true;
        std::lock_guard<std::mutex> lock(multiLock);
        if (multi)
            curlLibrary().multi_wakeup(multi.get());
    }

    void perform(CURL* curl)
    {
        closeRequest();
        failure.clear();
        failureKind = FailureNone;
        const CURLcode code = transfer(curl);
        if (code != CURLE_OK) {
            std::tie(failureKind, failure) = describe(curl, code);
            closeRequest();
            throw std::runtime_error("request failed...");
        }
        curlLibrary().easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        requestOpen = true;
    }

    void closeRequest()
    {
        requestOpen = false;
        std::string().swap(response);
        offset = 0;
        status = 0;
        reason.clear();
        headers.clear();
    }
};

HttpClient::HttpClient() : transport_(std::make_unique<Transport>()) {}

HttpClient::~HttpClient() = default;

void HttpClient::openConnection(const std::string& host, int port, const char* user,
                                const char* password, int scheme, const std::string& agent)
{
    curlLibrary();  // opened and initialised on the first connection
    Transport& transport = *transport_;
    transport.handle.reset(curlLibrary().easy_init());
    if (!transport.handle)
        throw std::runtime_error("open internet failed...");
    const std::string prefix = UrlParts::schemePrefix(scheme);
    if (prefix.empty())
        throw std::runtime_error("connect failed...");
    const int effectivePort = port != 0 ? port : UrlParts::defaultPort(scheme);
    transport.origin = prefix + host + ":" + std::to_string(effectivePort);
    transport.agent = agent;
    transport.user = user != nullptr ? user : "";
    transport.password = password != nullptr ? password : "";
    transport.timeoutSeconds = timeoutSeconds_;
    transport.options = options_;
    transport.failure.clear();
    transport.failureKind = FailureNone;
    transport.cancelRequested = false;
    transport.connected = true;
}

void HttpClient::get(const std::string& objectPath, const char*)
{
    HeaderList headers;
    appendHeaderLines(headers, kGetAcceptHeader);
    CURL* const curl = transport_->prepare(objectPath, headers, maximumResponseSize_);
    std::string cookieLine;
    for (const Cookie& cookie : cookies_)
        cookieLine += (cookieLine.empty() ? "" : "; ") + cookie.name + "=" + cookie.value;
    if (!cookieLine.empty())
        curlLibrary().easy_setopt(curl, CURLOPT_COOKIE, cookieLine.c_str());
    transport_->perform(curl);
}

void HttpClient::postUrlEncoded(const std::string& objectPath, const char* referrer)
{
    HeaderList headers;
    appendHeaderLines(headers, acceptHeader_);
    appendHeaderLines(headers, contentTypeHeader_);
    appendHeaderLines(headers, extraHeader_);
    appendHeaderLines(headers, "Content-Length: " + std::to_string(bodyLength_));
    CURL* const curl = transport_->prepare(objectPath, headers, maximumResponseSize_);
    transport_->preparePost(curl, referrer, body_, bodyLength_);
    transport_->perform(curl);
}

void HttpClient::postMultipart(const std::string& objectPath, const char* referrer)
{
    const std::string body = multipartBody(formArguments_);
    HeaderList headers;
    appendHeaderLines(headers, kGetAcceptHeader);
    appendHeaderLines(headers, kMultipartContentTypeHeader);
    appendHeaderLines(headers, "Content-Length: " + std::to_string(body.size()));
    CURL* const curl = transport_->prepare(objectPath, headers, maximumResponseSize_);
    transport_->preparePost(curl, referrer, body.data(), body.size());
    transport_->perform(curl);
}

void HttpClient::sendPost(const std::string& objectPath, const std::vector<Header>& headers, const std::string& body)
{
    HeaderList list;
    for (const Header& header : headers)
        appendHeaderLines(list, headerLine(header));
    // The body goes at once: a server need not answer 100 Continue first.
    appendHeaderLines(list, "Expect:");
    CURL* const curl = transport_->prepare(objectPath, list, maximumResponseSize_);
    // A service's redirect is its answer: a POST must not turn into a GET elsewhere.
    curlLibrary().easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curlLibrary().easy_setopt(curl, CURLOPT_POST, 1L);
    curlLibrary().easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curlLibrary().easy_setopt(curl, CURLOPT_COPYPOSTFIELDS, body.c_str());
    transport_->perform(curl);
}

std::vector<HttpClient::Header> HttpClient::responseHeaders() const
{
    return transport_->requestOpen ? transport_->headers : std::vector<Header>();
}

void HttpClient::cancel()
{
    transport_->cancel();
}

std::size_t HttpClient::read(char* buffer, std::size_t maximum)
{
    Transport& transport = *transport_;
    if (!transport.requestOpen)
        throw std::runtime_error("connection failed...");
    const std::size_t count = std::min(maximum, transport.response.size() - transport.offset);
    if (count != 0)
        std::memcpy(buffer, transport.response.data() + transport.offset, count);
    transport.offset += count;
    return count;
}

int HttpClient::statusCode() const
{
    if (scheme_ == SchemeFtp || !transport_->requestOpen)
        return 0;
    return static_cast<int>(transport_->status);
}

std::string HttpClient::transportFailure() const
{
    return transport_->failure;
}

HttpClient::FailureKind HttpClient::transportFailureKind() const
{
    return transport_->failureKind;
}

std::string HttpClient::statusReason() const
{
    return transport_->reason;
}

void HttpClient::closeRequest()
{
    transport_->closeRequest();
}

void HttpClient::close()
{
    transport_->closeRequest();
    transport_->connected = false;
    transport_->handle.reset();
}
