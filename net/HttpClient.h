#pragma once

#include "net/UrlParts.h"

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A small client for one download or form post over HTTP, HTTPS or FTP.
// The transport is chosen when the program is built (the platform's internet
// interface on Windows, libcurl elsewhere); everything above it is shared.
//
// Failures inside the client are raised as std::runtime_error with a fixed
// text and turned into false by connect and request; read lets them through.
class HttpClient {
public:
    enum Method { MethodGet = 0, MethodPostUrlEncoded = 1, MethodPostMultipart = 2 };

    struct FormArgument {
        std::string name;
        std::string value;   // the file to upload when isFile is set
        bool isFile = false;
    };
    struct Cookie {
        std::string name;
        std::string value;
    };
    using Header = std::pair<std::string, std::string>;

    // How the last connect, request or read failed; failure() has the words.
    enum FailureKind {
        FailureNone,
        FailureRefused,
        FailureHostNotFound,
        FailureTls,
        FailureProxy,  // the proxy could not be reached, refused the tunnel or the credentials
        FailureTimedOut,
        FailureCancelled,
        FailureOther
    };

    // What a connection needs beyond its address, for calls to a service
    // (downloads keep the defaults). Taken with the next connect.
    struct ConnectionOptions {
        enum Authentication { AuthAny, AuthBasic, AuthDigest };
        std::string caFile;                // certificates trusted beside the system's; empty for none (libcurl
                                           // only: on Windows the system's store alone decides, as failures say)
        bool verifyCertificate = true;
        std::string proxy;                 // host:port; empty for the system's setting
        std::string proxyUser;
        std::string proxyPassword;
        Authentication authentication = AuthAny;  // how the user and password are sent
    };

    static const char* const kBoundary;  // as it stands in the body, after its leading "--"
    static const char* const kDefaultAcceptHeader;
    static const char* const kDefaultContentTypeHeader;
    static const char* const kGetAcceptHeader;
    static const char* const kMultipartContentTypeHeader;

    // The largest response a client accepts, unless lowered for it: a server
    // that sends without end must fill neither memory nor the disk. A larger
    // response fails like a broken connection.
    static constexpr std::size_t kMaximumDocumentSize = std::size_t(256) << 20;

    HttpClient();
    virtual ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // Null or empty user and password mean none. A port of 0 means the scheme's default.
    virtual bool connect(const std::string& host, int port, const char* user, const char* password,
                         int scheme, const std::string& agent);
    bool openUrl(const std::string& address, const char* user, const char* password,
                 const std::string& agent);
    bool request(const std::string& objectPath, int method, const char* referrer);
    // Sends body with the caller's headers as a POST over HTTP/1.1, redirects
    // not followed: every HTTP status is an answer (a SOAP fault comes with
    // 500), whose body read hands out. False when no answer came.
    bool post(const std::string& objectPath, const std::vector<Header>& headers, const std::string& body);
    // The header lines of the open request's answer (of the last response
    // when an authentication took several), in their order.
    std::vector<Header> responseHeaders() const;
    // The reason phrase of the open request's status line.
    std::string reasonPhrase() const { return statusReason(); }
    // From any thread: the request under way, or the next one when none is,
    // ends at once with FailureCancelled.
    void cancel();

    // Bytes read into buffer, 0 at the end of the response.
    std::size_t read(char* buffer, std::size_t maximum);
    void close();
    void reset();

    // The HTTP status of the open request; 0 for FTP or without a request.
    int statusCode() const;
    // Why the last connect, request or read failed, in words: "connection
    // refused", "HTTP 404 Not Found", "host not found", "TLS failure: ...",
    // "time-out after 5 s" ...; empty after a success.
    std::string failure() const;
    FailureKind failureKind() const;
    // The most seconds a download may take, from the connect to the last
    // byte; 0 leaves the transport's own limits. Takes effect with the next
    // connect.
    void setTimeout(int seconds) { timeoutSeconds_ = seconds; }
    int timeout() const { return timeoutSeconds_; }
    void setConnectionOptions(const ConnectionOptions& options) { options_ = options; }

    // The most bytes of a response this client accepts; a new maximum takes
    // effect with the next request.
    void setMaximumResponseSize(std::size_t bytes) { maximumResponseSize_ = bytes; }
    std::size_t maximumResponseSize() const { return maximumResponseSize_; }

    const std::string& host() const { return host_; }
    int port() const { return port_; }
    int scheme() const { return scheme_; }
    const std::string& user() const { return user_; }
    const std::string& password() const { return password_; }
    const std::string& objectPath() const { return objectPath_; }

    // The multipart body for the given arguments, ending with the closing boundary.
    static std::string multipartBody(const std::vector<FormArgument>& arguments);

protected:
    virtual void postUrlEncoded(const std::string& objectPath, const char* referrer);
    virtual void postMultipart(const std::string& objectPath, const char* referrer);
    virtual void get(const std::string& objectPath, const char* referrer);

private:
    struct Transport;  // the handles of the platform's transport

    // Supplied by the transport: each throws std::runtime_error on failure.
    void openConnection(const std::string& host, int port, const char* user, const char* password,
                        int scheme, const std::string& agent);
    void closeRequest();
    // Supplied by the transport: why its last call failed, and the reason
    // phrase of the response's status line.
    std::string transportFailure() const;
    FailureKind transportFailureKind() const;
    std::string statusReason() const;
    void noteFailure(const std::exception& failure);
    void setFailure(const std::string& text, FailureKind kind);
    bool attempt(const std::string& objectPath, const std::function<bool()>& send);
    // "Name: value" without its line end; throws std::runtime_error for a
    // header with a line break in it, which would add headers of its own.
    static std::string headerLine(const Header& header);
    // Supplied by the transport: throws std::runtime_error when no answer came.
    void sendPost(const std::string& objectPath, const std::vector<Header>& headers, const std::string& body);

    void recordConnection(const std::string& host, int port, const char* user, const char* password,
                          int scheme);

    const char* body_ = nullptr;
    std::size_t bodyLength_ = 0;
    std::string acceptHeader_ = kDefaultAcceptHeader;
    std::string contentTypeHeader_ = kDefaultContentTypeHeader;
    std::string extraHeader_;
    std::size_t maximumResponseSize_ = kMaximumDocumentSize;
    int timeoutSeconds_ = 0;
    std::string failure_;
    FailureKind failureKind_ = FailureNone;
    ConnectionOptions options_;
    std::unique_ptr<Transport> transport_;
    std::string host_;
    std::string user_;
    std::string password_;
    std::string objectPath_;
    int port_ = 0;
    int scheme_ = SchemeHttp;
    std::vector<FormArgument> formArguments_;
    std::vector<Cookie> cookies_;
};
