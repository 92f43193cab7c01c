// The HTTP client's transport on Windows: the platform's internet interface.
#include "net/HttpClient.h"

#include "net/DigestChallenge.h"
#include "tessaro_hash.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <tuple>
#include <utility>

namespace {

struct InternetCloser {
    void operator()(void* handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

// The platform asks for confirmation of this redirect; a form post counts it as sent.
const DWORD kRedirectNeedsConfirmation = 12168;

const DWORD kPostFlags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_FORMS_SUBMIT;
// A service call: its redirect is its answer, and no dialog may ask the user anything.
const DWORD kCallFlags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD | INTERNET_FLAG_KEEP_CONNECTION
    | INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
const DWORD kIgnoreCertificateFlags = SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID
    | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID | SECURITY_FLAG_IGNORE_REVOCATION | SECURITY_FLAG_IGNORE_WRONG_USAGE;

std::string timeoutText(int timeoutSeconds)
{
    return timeoutSeconds > 0 ? "time-out after " + std::to_string(timeoutSeconds) + " s" : "time-out";
}

using Failure = std::pair<HttpClient::FailureKind, std::string>;

// What the platform's error code means, in the words a user can act on.
// Through a proxy of the caller's, not reaching a host is not reaching the proxy.
Failure describeError(DWORD code, int timeoutSeconds, const std::string& proxy)
{
    switch (code) {
    case ERROR_INTERNET_CANNOT_CONNECT:
        if (!proxy.empty())
            return {HttpClient::FailureProxy, "the proxy " + proxy + " could not be reached"};
        return {HttpClient::FailureRefused, "connection refused"};
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
        if (!proxy.empty())
            return {HttpClient::FailureProxy, "the proxy " + proxy + " could not be found"};
        return {HttpClient::FailureHostNotFound, "host not found"};
    case ERROR_INTERNET_TIMEOUT: return {HttpClient::FailureTimedOut, timeoutText(timeoutSeconds)};
    case ERROR_INTERNET_CONNECTION_ABORTED: return {HttpClient::FailureOther, "connection closed by the server"};
    case ERROR_INTERNET_CONNECTION_RESET: return {HttpClient::FailureOther, "connection reset"};
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
        return {HttpClient::FailureTls, "TLS failure: the certificate has expired or is not yet valid"};
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
        return {HttpClient::FailureTls, "TLS failure: the certificate's name does not match the host"};
    case ERROR_INTERNET_INVALID_CA:
        return {HttpClient::FailureTls, "TLS failure: the certificate's issuer is not trusted"};
    case ERROR_INTERNET_SEC_CERT_REVOKED: return {HttpClient::FailureTls, "TLS failure: the certificate has been revoked"};
    case ERROR_INTERNET_SEC_INVALID_CERT: return {HttpClient::FailureTls, "TLS failure: the certificate is invalid"};
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
        return {HttpClient::FailureTls, "TLS failure: the secure channel could not be set up"};
    default: return {HttpClient::FailureOther, "network error " + std::to_string(code)};
    }
}

// The Authorization value answering the challenge for a POST of uri, the first with its nonce;
// empty when it could not be made.
std::string digestAuthorization(const DigestChallenge& challenge, const std::string& user, const std::string& password,
                                const std::string& uri)
{
    const tessaro_digest_ask ask{challenge.realm.c_str(),
                                 challenge.nonce.c_str(),
                                 challenge.opaqueGiven ? challenge.opaque.c_str() : nullptr,
                                 challenge.sha256 ? TESSARO_HASH_SHA256 : TESSARO_HASH_MD5,
                                 challenge.session ? 1 : 0,
                                 challenge.qop ? 1 : 0};
    // Each quoted text at most doubles by its escapes; the rest is short.
    std::string value(2 * (user.size() + challenge.realm.size() + challenge.nonce.size() + uri.size()
                           + challenge.opaque.size()) + 512, '\0');
    if (tessaro_digest_value(&ask, 1, user.c_str(), password.c_str(), "POST", uri.c_str(), &value[0], value.size()) != 0)
        return std::string();
    value.resize(std::strlen(value.c_str()));
    return value;
}

std::string trimmed(const std::string& text)
{
    const std::string::size_type first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

struct HttpClient::Transport {
    // Declared so that they close request first, then connection, then internet.
    InternetHandle internet;
    InternetHandle connection;
    InternetHandle request;
    std::size_t received = 0;  // bytes of the response read so far
    int timeoutSeconds = 0;    // for the whole download, from the connect on; 0 for the platform's limits
    std::chrono::steady_clock::time_point deadline;
    std::string failure;       // of the last failed call, in words
    FailureKind failureKind = FailureNone;
    ConnectionOptions options;
    // A cancel closes the request handle from its own thread, which ends the
    // platform's blocking call on it; the handle is then this object's no more.
    std::mutex requestLock;
    bool cancelRequested = false;
    bool closedByCancel = false;

    // Replaces the request handle; a cancel that came first closes the new one at once.
    void adoptRequest(HINTERNET handle)
    {
        std::lock_guard<std::mutex> lock(requestLock);
        dropRequestLocked();
        request.reset(handle);
        if (request && cancelRequested)
            closeForCancel();
    }

    void dropRequest()
    {
        std::lock_guard<std::mutex> lock(requestLock);
        dropRequestLocked();
    }

    void dropRequestLocked()
    {
        if (closedByCancel)
            request.release();
        request.reset();
        closedByCancel = false;
    }

    void closeForCancel()
    {
        InternetCloseHandle(request.get());
        closedByCancel = true;
    }

    void cancel()
    {
        std::lock_guard<std::mutex> lock(requestLock);
        cancelRequested = true;
        if (request && !closedByCancel)
            closeForCancel();
    }

    // Whether a cancel ended the call that failed; the cancel is spent.
    bool takeCancel()
    {
        std::lock_guard<std::mutex> lock(requestLock);
        const bool cancelled = cancelRequested;
        cancelRequested = false;
        return cancelled;
    }

    void noteFailure(FailureKind kind, const std::string& text)
    {
        failureKind = kind;
        failure = text;
    }

    void startClock(int seconds)
    {
        timeoutSeconds = seconds;
        deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    }

    // The platform's timers may end a wait a little before the time asked
    // for; a wait that fails that close to the deadline failed by it.
    bool pastDeadline() const
    {
        return timeoutSeconds > 0 && std::chrono::steady_clock::now() + std::chrono::milliseconds(100) >= deadline;
    }

    // Keeps the platform's reason for the failure about to be thrown; once the
    // time is up, whatever the platform says, the cause is the time-out.
    void noteLastError()
    {
        const DWORD code = GetLastError();
        if (takeCancel())
            noteFailure(FailureCancelled, "cancelled");
        else if (pastDeadline())
            noteFailure(FailureTimedOut, timeoutText(timeoutSeconds));
        else
            std::tie(failureKind, failure) = describeError(code, timeoutSeconds, options.proxy);
        // The platform trusts only the system's store: a CA file given in vain must not seem used.
        if (failureKind == FailureTls && !options.caFile.empty())
            failure += " (the CA file " + options.caFile
                + " is not used on Windows: the system's certificate store decides which servers are trusted)";
    }

    // The platform bounds each blocking call, not a whole download: every
    // call gets what is left of the download's time.
    void limitNextCall(HINTERNET handle)
    {
        if (timeoutSeconds <= 0)
            return;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) {
            noteFailure(FailureTimedOut, timeoutText(timeoutSeconds));
            throw std::runtime_error("response failed...");
        }
        DWORD milliseconds = static_cast<DWORD>(left);
        for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
            InternetSetOptionA(handle, option, &milliseconds, sizeof milliseconds);
    }

    void openRequest(const char* verb, const std::string& objectPath, const char* version,
                     const char* referrer, const char* acceptType, DWORD flags, int scheme)
    {
        if (!connection)
            throw std::runtime_error("handle not opened...");
        const char* acceptTypes[] = {acceptType, nullptr};
        if (scheme == SchemeHttps)
            flags |= INTERNET_FLAG_SECURE;
        noteFailure(FailureNone, std::string());
        adoptRequest(HttpOpenRequestA(connection.get(), verb, objectPath.c_str(), version, referrer,
                                      acceptTypes, flags, 0));
        received = 0;
        if (!request) {
            noteLastError();
            throw std::runtime_error("request failed...");
        }
        limitNextCall(request.get());
    }

    // The platform reports a connection that closed before the announced
    // length as a normal end of the response; that is a broken download.
    bool endedEarly() const
    {
        DWORD announced = 0;
        DWORD size = sizeof announced;
        return HttpQueryInfoA(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced, &size,
                              nullptr)
            && received < announced;
    }

    void setCookies(const std::vector<Cookie>& cookies, const std::string& address)
    {
        for (const Cookie& cookie : cookies) {
            if (!InternetSetCookieA(address.c_str(), cookie.name.c_str(), cookie.value.c_str()))
                throw std::runtime_error("add cookie failed...");
        }
    }

    void addHeader(const std::string& header, DWORD mode)
    {
        if (!HttpAddRequestHeadersA(request.get(), header.c_str(), static_cast<DWORD>(header.size()), mode))
            throw std::runtime_error("additional header failed...");
    }

    void setText(DWORD option, const std::string& text)
    {
        if (!text.empty())
            InternetSetOptionA(request.get(), option, const_cast<char*>(text.c_str()), static_cast<DWORD>(text.size()));
    }

    // The caller's proxy credentials and certificate checking, on the open request.
    void applyOptions()
    {
        setText(INTERNET_OPTION_PROXY_USERNAME, options.proxyUser);
        setText(INTERNET_OPTION_PROXY_PASSWORD, options.proxyPassword);
        if (options.verifyCertificate)
            return;
        DWORD flags = 0;
        DWORD size = sizeof flags;
        InternetQueryOptionA(request.get(), INTERNET_OPTION_SECURITY_FLAGS, &flags, &size);
        flags |= kIgnoreCertificateFlags;
        InternetSetOptionA(request.get(), INTERNET_OPTION_SECURITY_FLAGS, &flags, sizeof flags);
    }

    // A service call: the POST of body with the header lines (each ending in CR LF) as the answer's
    // request, throwing when no answer came.
    void sendCall(const std::string& objectPath, const std::string& lines, const std::string& body, int scheme)
    {
        openRequest("POST", objectPath, "HTTP/1.1", nullptr, "*/*", kCallFlags, scheme);
        applyOptions();
        if (!lines.empty())
            addHeader(lines, HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE);
        if (!HttpSendRequestA(request.get(), nullptr, 0, const_cast<char*>(body.data()), static_cast<DWORD>(body.size()))) {
            noteLastError();
            throw std::runtime_error("request failed...");
        }
    }

    // The values of the answer's header lines of that name, in their order.
    std::vector<std::string> answerValues(const char* name) const
    {
        std::vector<std::string> values;
        for (const Header& header : answerHeaders()) {
            if (header.first.size() == std::strlen(name) && _stricmp(header.first.c_str(), name) == 0)
                values.push_back(header.second);
        }
        return values;
    }

    // The header lines of the answer, its status line left out.
    std::vector<Header> answerHeaders() const
    {
        std::vector<Header> headers;
        DWORD size = 0;
        if (!request || (HttpQueryInfoA(request.get(), HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &size, nullptr)
                         || GetLastError() != ERROR_INSUFFICIENT_BUFFER))
            return headers;
        std::string text(size, '\0');
        if (!HttpQueryInfoA(request.get(), HTTP_QUERY_RAW_HEADERS_CRLF, &text[0], &size, nullptr))
            return headers;
        text.resize(size);
        std::string::size_type start = text.find("\r\n");
        while (start != std::string::npos) {
            start += 2;
            const std::string::size_type end = text.find("\r\n", start);
            const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
            const std::string::size_type colon = line.find(':');
            if (colon != std::string::npos)
                headers.emplace_back(trimmed(line.substr(0, colon)), trimmed(line.substr(colon + 1)));
            start = end;
        }
        return headers;
    }
};

HttpClient::HttpClient() : transport_(std::make_unique<Transport>()) {}

HttpClient::~HttpClient() = default;

namespace {

// The address the platform files cookies under: the default port is left out.
std::string cookieAddress(int scheme, const std::string& host, int port, const std::string& objectPath)
{
    if (scheme == SchemeFtp)
        return host + ":" + std::to_string(port) + objectPath;
    const bool defaultPort = (scheme == SchemeHttp && port == 80) || (scheme == SchemeHttps && port == 443);
    return UrlParts::schemePrefix(scheme) + host
        + (defaultPort ? "" : ":" + std::to_string(port)) + objectPath;
}

}  // namespace

void HttpClient::openConnection(const std::string& host, int port, const char* user,
                                const char* password, int scheme, const std::string& agent)
{
    Transport& transport = *transport_;
    transport.noteFailure(FailureNone, std::string());
    transport.options = options_;
    transport.takeCancel();
    transport.startClock(timeoutSeconds_);
    // A proxy the caller names is used for loopback addresses too.
    const std::string& proxy = options_.proxy;
    transport.internet.reset(proxy.empty()
                                 ? InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)
                                 : InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PROXY, proxy.c_str(),
                                                 "<-loopback>", 0));
    if (!transport.internet)
        throw std::runtime_error("open internet failed...");
    // An FTP session connects here already.
    transport.limitNextCall(transport.internet.get());
    if (scheme < SchemeFtp || scheme > SchemeHttps)
        throw std::runtime_error("connect failed...");
    const DWORD service = scheme == SchemeFtp ? INTERNET_SERVICE_FTP : INTERNET_SERVICE_HTTP;
    const DWORD flags = scheme == SchemeFtp ? INTERNET_FLAG_PASSIVE : 0;
    const int effectivePort = port != 0 ? port : UrlParts::defaultPort(scheme);
    // Under Digest the answer is this client's own (see sendPost): the platform, holding the
    // password, would answer a Basic challenge offered beside the Digest one with it in clear.
    const bool ownAnswer = options_.authentication == ConnectionOptions::AuthDigest;
    transport.connection.reset(InternetConnectA(transport.internet.get(), host.c_str(),
                                                static_cast<INTERNET_PORT>(effectivePort), ownAnswer ? nullptr : user,
                                                ownAnswer ? nullptr : password, service, flags, 0));
    if (!transport.connection || InternetAttemptConnect(0) != ERROR_SUCCESS) {
        transport.noteLastError();
        throw std::runtime_error("connect failed...");
    }
}

void HttpClient::get(const std::string& objectPath, const char*)
{
    Transport& transport = *transport_;
    if (scheme_ == SchemeFtp) {
        // An FTP session has no HTTP requests: the file is opened for reading instead.
        if (!transport.connection)
            throw std::runtime_error("handle not opened...");
        transport.noteFailure(FailureNone, std::string());
        transport.limitNextCall(transport.connection.get());
        transport.adoptRequest(FtpOpenFileA(transport.connection.get(), objectPath.c_str(), GENERIC_READ,
                                             FTP_TRANSFER_TYPE_BINARY, 0));
        transport.received = 0;
        if (!transport.request) {
            transport.noteLastError();
            throw std::runtime_error("request failed...");
        }
        return;
    }
    transport.openRequest("GET", objectPath, nullptr, nullptr, "*/*", INTERNET_FLAG_NO_CACHE_WRITE, scheme_);
    transport.addHeader(kGetAcceptHeader, HTTP_ADDREQ_FLAG_REPLACE);
    transport.setCookies(cookies_, cookieAddress(scheme_, host_, port_, objectPath));
    if (!HttpSendRequestA(transport.request.get(), nullptr, 0, nullptr, 0)) {
        transport.noteLastError();
        throw std::runtime_error("request failed...");
    }
}

void HttpClient::postUrlEncoded(const std::string& objectPath, const char* referrer)
{
    Transport& transport = *transport_;
    transport.openRequest("POST", objectPath, "HTTP/1.0", referrer, acceptHeader_.c_str(), kPostFlags, scheme_);
    transport.addHeader(acceptHeader_, HTTP_ADDREQ_FLAG_REPLACE);
    transport.addHeader(contentTypeHeader_, HTTP_ADDREQ_FLAG_ADD);
    if (!extraHeader_.empty())
        transport.addHeader(extraHeader_, HTTP_ADDREQ_FLAG_ADD);
    transport.addHeader("Content-Length: " + std::to_string(bodyLength_) + "\r\n", HTTP_ADDREQ_FLAG_ADD);
    if (!HttpSendRequestA(transport.request.get(), nullptr, 0, const_cast<char*>(body_),
                          static_cast<DWORD>(bodyLength_))
        && GetLastError() != kRedirectNeedsConfirmation)
        throw std::runtime_error("request failed...");
}

void HttpClient::postMultipart(const std::string& objectPath, const char* referrer)
{
    Transport& transport = *transport_;
    transport.openRequest("POST", objectPath, "HTTP/1.0", referrer, acceptHeader_.c_str(), kPostFlags, scheme_);
    transport.addHeader(kGetAcceptHeader, HTTP_ADDREQ_FLAG_REPLACE);
    transport.addHeader(kMultipartContentTypeHeader, HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    transport.setCookies(cookies_, cookieAddress(scheme_, host_, port_, objectPath));
    const std::string body = multipartBody(formArguments_);
    transport.addHeader("Content-Length: " + std::to_string(body.size()) + "\r\n", HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    if (!HttpSendRequestExA(transport.request.get(), nullptr, nullptr, HSR_INITIATE, 0))
        throw std::runtime_error("request failed");
    std::size_t sent = 0;
    while (sent < body.size()) {
        DWORD written = 0;
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(body.size() - sent, 65536));
        if (!InternetWriteFile(transport.request.get(), body.data() + sent, piece, &written) || written == 0)
            throw std::runtime_error("request failed...");
        sent += written;
    }
    if (!HttpEndRequestA(transport.request.get(), nullptr, 0, 0))
        throw std::runtime_error("request failed...");
}

void HttpClient::sendPost(const std::string& objectPath, const std::vector<Header>& headers, const std::string& body)
{
    Transport& transport = *transport_;
    std::string lines;
    for (const Header& header : headers)
        lines += headerLine(header) + "\r\n";
    transport.sendCall(objectPath, lines, body, scheme_);
    // The platform may leave a Digest challenge unanswered (Wine's does): the request then goes
    // once more with the answer, made as the generated clients make theirs.
    if (options_.authentication == ConnectionOptions::AuthBasic || user_.empty() || statusCode() != 401)
        return;
    DigestChallenge challenge;
    if (!readDigestChallenge(transport.answerValues("WWW-Authenticate"), challenge))
        return;
    const std::string authorization = digestAuthorization(challenge, user_, password_, objectPath);
    if (authorization.empty()) {
        transport.noteFailure(FailureOther, "the answer to the server's Digest challenge could not be made");
        throw std::runtime_error("request failed...");
    }
    transport.sendCall(objectPath, lines + headerLine({"Authorization", authorization}) + "\r\n", body, scheme_);
}

std::vector<HttpClient::Header> HttpClient::responseHeaders() const
{
    return transport_->answerHeaders();
}

void HttpClient::cancel()
{
    transport_->cancel();
}

std::size_t HttpClient::read(char* buffer, std::size_t maximum)
{
    Transport& transport = *transport_;
    if (!transport.request)
        throw std::runtime_error("connection failed...");
    DWORD count = 0;
    DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(maximum, 0x7fffffff));
    transport.limitNextCall(transport.request.get());
    // A read waits until it has all it asked for; asking for what has come
    // keeps each wait to the time left.
    DWORD available = 0;
    if (wanted != 0 && !InternetQueryDataAvailable(transport.request.get(), &available, 0, 0)) {
        transport.noteLastError();
        throw std::runtime_error("response failed...");
    }
    if (available != 0)
        wanted = std::min(wanted, available);
    transport.limitNextCall(transport.request.get());
    if (!InternetReadFile(transport.request.get(), buffer, wanted, &count)) {
        transport.noteLastError();
        throw std::runtime_error("response failed...");
    }
    transport.received += count;
    if (transport.received > maximumResponseSize_) {
        transport.noteFailure(FailureOther, "larger than " + std::to_string(maximumResponseSize_) + " bytes");
        throw std::runtime_error("response failed...");
    }
    if (count == 0 && wanted != 0 && scheme_ != SchemeFtp && transport.endedEarly()) {
        transport.noteFailure(FailureOther,
                              "the connection broke off after " + std::to_string(transport.received) + " bytes");
        throw std::runtime_error("response failed...");
    }
    return count;
}

int HttpClient::statusCode() const
{
    if (scheme_ == SchemeFtp || !transport_->request)
        return 0;
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(transport_->request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr))
        return 0;
    return static_cast<int>(status);
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
    char text[256] = {};
    DWORD size = sizeof text - 1;
    if (!transport_->request || !HttpQueryInfoA(transport_->request.get(), HTTP_QUERY_STATUS_TEXT, text, &size, nullptr))
        return std::string();
    return std::string(text, size);
}

void HttpClient::closeRequest()
{
    transport_->dropRequest();
}

void HttpClient::close()
{
    transport_->dropRequest();
    transport_->connection.reset();
    transport_->internet.reset();
}
