#pragma once

#include "net/HttpClient.h"

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// One request envelope as the user would send it to a service.
struct SoapCallRequest {
    std::string endpoint;     // http or https address
    std::string envelope;
    std::string contentType;  // text/xml for SOAP 1.1, application/soap+xml; ... for SOAP 1.2
    std::string soapAction;   // sent as the SOAPAction header with text/xml
    std::string caFile;       // certificates trusted beside the system's
    bool verifyCertificate = true;
    std::string proxy;        // host:port; empty for the system's setting
    std::string proxyUser, proxyPassword;
    enum Auth { AuthNone, AuthBasic, AuthDigest } auth = AuthNone;
    std::string user, password;
    int timeoutSeconds = 30;  // for the whole call; 0 for the transport's own limits
};

// What came of a call. Every outcome but Answered leaves status 0 unless the
// refusal came as an HTTP answer (401, 407).
struct SoapCallResult {
    enum Outcome { Answered, Refused, HostNotFound, Tls, Proxy, Authentication, TimedOut, Cancelled, Failed };
    Outcome outcome = Failed;
    std::string why;  // in words, naming the address and the cause; empty when answered
    int status = 0;
    std::string reason;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    double seconds = 0;
};

// Sends envelopes to services, one at a time. send blocks; cancel, from any
// other thread, makes the send under way return Cancelled at once (a cancel
// with no send under way ends the next one).
//
// Each send runs on a thread of its own and send waits for it or for a
// cancel: not every platform's transport lets a blocking call be ended from
// outside, and the window must get its answer at once. A cancelled exchange
// ends in the background, within its time-out at most.
class SoapCall {
public:
    // The largest answer taken: a service that sends without end must not fill memory.
    static constexpr std::size_t kMaximumAnswerSize = std::size_t(64) << 20;

    SoapCall() = default;
    SoapCall(const SoapCall&) = delete;
    SoapCall& operator=(const SoapCall&) = delete;

    SoapCallResult send(const SoapCallRequest& request);
    void cancel();

private:
    struct Exchange;

    std::mutex lock_;
    std::shared_ptr<Exchange> current_;  // of the send under way
    bool cancelled_ = false;             // a cancel came with no send under way
};
