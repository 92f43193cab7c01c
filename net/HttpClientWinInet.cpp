// The HTTP client's transport on Windows: the platform's internet interface.
#include "net/HttpClient.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace {

struct InternetCloser {
    void operator()(void* handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

// The platform asks for confirmation of this redirect; a form post counts it as sent.
const DWORD kRedirectNeedsConfirmation = 12168;

const DWORD kPostFlags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_FORMS_SUBMIT;

std::string timeoutText(int timeoutSeconds)
{
    return timeoutSeconds > 0 ? "time-out after " + std::to_string(timeoutSeconds) + " s" : "time-out";
}

// What the platform's error code means, in the words a user can act on.
std::string describeError(DWORD code, int timeoutSeconds)
{
    switch (code) {
    case ERROR_INTERNET_CANNOT_CONNECT: return "connection refused";
    case ERROR_INTERNET_NAME_NOT_RESOLVED: return "host not found";
    case ERROR_INTERNET_TIMEOUT: return timeoutText(timeoutSeconds);
    case ERROR_INTERNET_CONNECTION_ABORTED: return "connection closed by the server";
    case ERROR_INTERNET_CONNECTION_RESET: return "connection reset";
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID: return "TLS failure: the certificate has expired or is not yet valid";
    case ERROR_INTERNET_SEC_CERT_CN_INVALID: return "TLS failure: the certificate's name does not match the host";
    case ERROR_INTERNET_INVALID_CA: return "TLS failure: the certificate's issuer is not trusted";
    case ERROR_INTERNET_SEC_CERT_REVOKED: return "TLS failure: the certificate has been revoked";
    case ERROR_INTERNET_SEC_INVALID_CERT: return "TLS failure: the certificate is invalid";
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR: return "TLS failure: the secure channel could not be set up";
    default: return "network error " + std::to_string(code);
    }
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
        failure = pastDeadline() ? timeoutText(timeoutSeconds) : describeError(code, timeoutSeconds);
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
            failure = timeoutText(timeoutSeconds);
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
        failure.clear();
        request.reset(HttpOpenRequestA(connection.get(), verb, objectPath.c_str(), version, referrer,
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
    transport.failure.clear();
    transport.startClock(timeoutSeconds_);
    transport.internet.reset(InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!transport.internet)
        throw std::runtime_error("open internet failed...");
    // An FTP session connects here already.
    transport.limitNextCall(transport.internet.get());
    if (scheme < SchemeFtp || scheme > SchemeHttps)
        throw std::runtime_error("connect failed...");
    const DWORD service = scheme == SchemeFtp ? INTERNET_SERVICE_FTP : INTERNET_SERVICE_HTTP;
    const DWORD flags = scheme == SchemeFtp ? INTERNET_FLAG_PASSIVE : 0;
    const int effectivePort = port != 0 ? port : UrlParts::defaultPort(scheme);
    transport.connection.reset(InternetConnectA(transport.internet.get(), host.c_str(),
                                                static_cast<INTERNET_PORT>(effectivePort), user, password,
                                                service, flags, 0));
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
        transport.failure.clear();
        transport.limitNextCall(transport.connection.get());
        transport.request.reset(FtpOpenFileA(transport.connection.get(), objectPath.c_str(), GENERIC_READ,
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
        transport.failure = "larger than " + std::to_string(maximumResponseSize_) + " bytes";
        throw std::runtime_error("response failed...");
    }
    if (count == 0 && wanted != 0 && scheme_ != SchemeFtp && transport.endedEarly()) {
        transport.failure = "the connection broke off after " + std::to_string(transport.received) + " bytes";
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
    transport_->request.reset();
}

void HttpClient::close()
{
    transport_->request.reset();
    transport_->connection.reset();
    transport_->internet.reset();
}
