// A service call over the HTTP client: the envelope goes as a POST with the
// SOAP headers, and whatever HTTP answer comes back is the call's answer.
#include "net/SoapCall.h"

#include <chrono>
#include <condition_variable>
#include <thread>

namespace {

const char* const kAgent = "Kelvane call";

HttpClient::ConnectionOptions connectionOptions(const SoapCallRequest& request)
{
    HttpClient::ConnectionOptions options;
    options.caFile = request.caFile;
    options.verifyCertificate = request.verifyCertificate;
    options.proxy = request.proxy;
    options.proxyUser = request.proxyUser;
    options.proxyPassword = request.proxyPassword;
    if (request.auth == SoapCallRequest::AuthBasic)
        options.authentication = HttpClient::ConnectionOptions::AuthBasic;
    else if (request.auth == SoapCallRequest::AuthDigest)
        options.authentication = HttpClient::ConnectionOptions::AuthDigest;
    return options;
}

bool isSoap11(const std::string& contentType)
{
    return contentType.compare(0, 8, "text/xml") == 0;
}

std::vector<HttpClient::Header> requestHeaders(const SoapCallRequest& request)
{
    std::vector<HttpClient::Header> headers{{"Content-Type", request.contentType}};
    // SOAP 1.1 names the action in a header of its own, quoted, even when empty;
    // SOAP 1.2 carries it in the content type.
    if (isSoap11(request.contentType))
        headers.emplace_back("SOAPAction", "\"" + request.soapAction + "\"");
    return headers;
}

SoapCallResult::Outcome outcomeOf(HttpClient::FailureKind kind)
{
    switch (kind) {
    case HttpClient::FailureRefused: return SoapCallResult::Refused;
    case HttpClient::FailureHostNotFound: return SoapCallResult::HostNotFound;
    case HttpClient::FailureTls: return SoapCallResult::Tls;
    case HttpClient::FailureProxy: return SoapCallResult::Proxy;
    case HttpClient::FailureTimedOut: return SoapCallResult::TimedOut;
    case HttpClient::FailureCancelled: return SoapCallResult::Cancelled;
    default: return SoapCallResult::Failed;
    }
}

// The exchange itself, on the thread of its own: fills result.
void exchange(HttpClient& client, const SoapCallRequest& request, SoapCallResult& result);

SoapCallResult cancelledResult(const SoapCallRequest& request)
{
    SoapCallResult result;
    result.outcome = SoapCallResult::Cancelled;
    result.why = request.endpoint + ": cancelled";
    return result;
}

}  // namespace

struct SoapCall::Exchange {
    HttpClient client;
    std::mutex lock;
    std::condition_variable changed;
    bool done = false;
    bool cancelled = false;
    SoapCallResult result;
};

SoapCallResult SoapCall::send(const SoapCallRequest& request)
{
    const auto start = std::chrono::steady_clock::now();
    auto running = std::make_shared<Exchange>();
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (cancelled_) {
            cancelled_ = false;
            return cancelledResult(request);
        }
        current_ = running;
    }
    // The thread holds the exchange as long as it runs, also after a cancel returned.
    std::thread([running, request] {
        SoapCallResult result;
        exchange(running->client, request, result);
        running->client.close();
        std::lock_guard<std::mutex> lock(running->lock);
        running->result = std::move(result);
        running->done = true;
        running->changed.notify_all();
    }).detach();
    SoapCallResult result;
    {
        std::unique_lock<std::mutex> lock(running->lock);
        running->changed.wait(lock, [&] { return running->done || running->cancelled; });
        result = running->done ? std::move(running->result) : cancelledResult(request);
    }
    {
        std::lock_guard<std::mutex> lock(lock_);
        current_.reset();
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

void SoapCall::cancel()
{
    std::shared_ptr<Exchange> running;
    {
        std::lock_guard<std::mutex> lock(lock_);
        running = current_;
        if (!running) {
            cancelled_ = true;
            return;
        }
    }
    {
        std::lock_guard<std::mutex> lock(running->lock);
        running->cancelled = true;
        running->changed.notify_all();
    }
    // Ends the exchange's own work early where the transport can.
    running->client.cancel();
}

namespace {

void noteFailure(const HttpClient& client, const SoapCallRequest& request, SoapCallResult& result)
{
    result.outcome = outcomeOf(client.failureKind());
    const std::string cause = client.failure();
    result.why = request.endpoint + ": " + (cause.empty() ? "the call failed" : cause);
}

// The answer's status, headers and body; outcome stays Failed when the body broke off.
void readAnswer(HttpClient& client, SoapCallResult& result)
{
    result.status = client.statusCode();
    result.reason = client.reasonPhrase();
    result.headers = client.responseHeaders();
    try {
        char piece[16384];
        while (const std::size_t count = client.read(piece, sizeof piece))
            result.body.append(piece, count);
    } catch (const std::exception&) {
        return;
    }
    result.outcome = SoapCallResult::Answered;
}

// 401 and 407 come as answers, but say that the call did not get through.
void noteRefusal(const SoapCallRequest& request, SoapCallResult& result)
{
    if (result.status == 401) {
        result.outcome = SoapCallResult::Authentication;
        result.why = request.endpoint + (request.auth == SoapCallRequest::AuthNone
                                             ? ": the service asks for a user and password (HTTP 401)"
                                             : ": the service refused the user and password (HTTP 401)");
    } else if (result.status == 407) {
        result.outcome = SoapCallResult::Proxy;
        result.why = request.endpoint + ": the proxy " + request.proxy + " refused the credentials (HTTP 407)";
    }
}

void exchange(HttpClient& client, const SoapCallRequest& request, SoapCallResult& result)
{
    const UrlParts parts = UrlParts::split(request.endpoint);
    const UrlScheme scheme = parts.schemeNumber();
    if (scheme != SchemeHttp && scheme != SchemeHttps) {
        result.why = request.endpoint + ": not an http or https address";
        return;
    }
    client.setTimeout(request.timeoutSeconds);
    client.setMaximumResponseSize(SoapCall::kMaximumAnswerSize);
    client.setConnectionOptions(connectionOptions(request));
    const bool withCredentials = request.auth != SoapCallRequest::AuthNone;
    if (!client.openUrl(request.endpoint, withCredentials ? request.user.c_str() : nullptr,
                        withCredentials ? request.password.c_str() : nullptr, kAgent)
        || !client.post(parts.path, requestHeaders(request), request.envelope)) {
        noteFailure(client, request, result);
        return;
    }
    readAnswer(client, result);
    if (result.outcome == SoapCallResult::Failed)
        noteFailure(client, request, result);
    else
        noteRefusal(request, result);
}

}  // namespace
