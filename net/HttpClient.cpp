// The transport-neutral half of the HTTP client: address splitting, request
// dispatch and the multipart body. The transports live in HttpClientWinInet.cpp
// and HttpClientCurl.cpp.
#include "net/HttpClient.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>

const char* const HttpClient::kBoundary = "--MULTI-PARTS-FORM-DATA-BOUNDARY";
const char* const HttpClient::kDefaultAcceptHeader = "Accept: */*;";
const char* const HttpClient::kDefaultContentTypeHeader =
    "Content-Type: application/x-www-form-urlencoded\r\n";
const char* const HttpClient::kGetAcceptHeader = "Accept: */*\r\n";
const char* const HttpClient::kMultipartContentTypeHeader =
    "Content-Type: multipart/form-data; boundary=--MULTI-PARTS-FORM-DATA-BOUNDARY\r\n";

namespace {

const char* nullWhenEmpty(const std::string& text)
{
    return text.empty() ? nullptr : text.c_str();
}

bool isGiven(const char* text)
{
    return text != nullptr && *text != '\0';
}

std::string fileBytes(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw std::runtime_error("request failed");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

bool HttpClient::connect(const std::string& host, int port, const char* user, const char* password,
                         int scheme, const std::string& agent)
{
    close();
    setFailure(std::string(), FailureNone);
    try {
        openConnection(host, port, user, password, scheme, agent);
        recordConnection(host, port, user, password, scheme);
        reset();
        return true;
    } catch (const std::exception& failure) {
        noteFailure(failure);
        close();
        return false;
    }
}

// The transport's own words when it has them, else the client's fixed text.
void HttpClient::noteFailure(const std::exception& failure)
{
    const std::string cause = transportFailure();
    if (cause.empty())
        setFailure(failure.what(), FailureOther);
    else
        setFailure(cause, transportFailureKind());
}

void HttpClient::setFailure(const std::string& text, FailureKind kind)
{
    failure_ = text;
    failureKind_ = kind;
}

HttpClient::FailureKind HttpClient::failureKind() const
{
    if (!failure_.empty())
        return failureKind_;
    return transportFailure().empty() ? FailureNone : transportFailureKind();
}

std::string HttpClient::failure() const
{
    return failure_.empty() ? transportFailure() : failure_;
}

void HttpClient::recordConnection(const std::string& host, int port, const char* user,
                                  const char* password, int scheme)
{
    host_ = host;
    port_ = port != 0 ? port : UrlParts::defaultPort(scheme);
    scheme_ = scheme;
    user_ = isGiven(user) ? user : "";
    password_ = isGiven(password) ? password : "";
}

bool HttpClient::openUrl(const std::string& address, const char* user, const char* password,
                         const std::string& agent)
{
    const UrlParts parts = UrlParts::split(address);
    objectPath_ = parts.path;
    if (parts.port < 0) {
        setFailure("bad port", FailureOther);
        return false;
    }
    const char* const userName = isGiven(user) ? user : nullWhenEmpty(parts.user);
    const char* const secret = isGiven(password) ? password : nullWhenEmpty(parts.password);
    return connect(parts.host, parts.portOrDefault(), userName, secret, parts.schemeNumber(), agent);
}

bool HttpClient::request(const std::string& objectPath, int method, const char* referrer)
{
    return attempt(objectPath, [&] {
        switch (method) {
        case MethodGet: get(objectPath, referrer); break;
        case MethodPostUrlEncoded: postUrlEncoded(objectPath, referrer); break;
        case MethodPostMultipart: postMultipart(objectPath, referrer); break;
        default: throw std::runtime_error("request failed...");
        }
        // An error page is no document: the caller must not take it for one.
        const int status = statusCode();
        if (status >= 400) {
            setFailure("HTTP " + std::to_string(status) + " " + statusReason(), FailureOther);
            closeRequest();
            return false;
        }
        return true;
    });
}

bool HttpClient::post(const std::string& objectPath, const std::vector<Header>& headers, const std::string& body)
{
    return attempt(objectPath, [&] {
        sendPost(objectPath, headers, body);
        return true;
    });
}

// Runs a request; its failures, thrown or returned, leave no request open.
bool HttpClient::attempt(const std::string& objectPath, const std::function<bool()>& send)
{
    try {
        if (!send())
            return false;
        objectPath_ = objectPath;
        setFailure(std::string(), FailureNone);
        return true;
    } catch (const std::exception& failure) {
        noteFailure(failure);
        closeRequest();
        return false;
    }
}

void HttpClient::reset()
{
    formArguments_.clear();
    acceptHeader_ = kDefaultAcceptHeader;
    contentTypeHeader_ = kDefaultContentTypeHeader;
}

std::string HttpClient::headerLine(const Header& header)
{
    const std::string line = header.first + ": " + header.second;
    if (line.find_first_of("\r\n") != std::string::npos)
        throw std::runtime_error("additional header failed...");
    return line;
}

std::string HttpClient::multipartBody(const std::vector<FormArgument>& arguments)
{
    const std::string boundary = kBoundary;
    std::string body;
    for (const FormArgument& argument : arguments) {
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + argument.name + "\"";
        if (argument.isFile)
            body += "; filename=\"" + argument.value + "\"\r\n\r\n" + fileBytes(argument.value) + "\r\n";
        else
            body += "\r\n\r\n" + argument.value + "\r\n";
    }
    body += "--" + boundary + "--\r\n";
    return body;
}
