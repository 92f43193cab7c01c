#include "app/ServiceCallText.h"

#include "project/call/SoapAnswer.h"

#include <cstdio>

std::string WindowsLines(const std::string& strText) {
    std::string strLines;
    for (size_t i = 0; i < strText.size(); ++i) {
        if (strText[i] == '\n' && (i == 0 || strText[i - 1] != '\r')) strLines += '\r';
        strLines += strText[i];
    }
    return strLines;
}

namespace {

std::string Seconds(double dSeconds) {
    char szText[32];
    std::snprintf(szText, sizeof szText, "%.3f s", dSeconds);
    return szText;
}

}  // namespace

const char* CallOutcomeWord(SoapCallResult::Outcome outcome) {
    switch (outcome) {
    case SoapCallResult::Answered: return "answered";
    case SoapCallResult::Refused: return "refused";
    case SoapCallResult::HostNotFound: return "host not found";
    case SoapCallResult::Tls: return "certificate or TLS failure";
    case SoapCallResult::Proxy: return "proxy failure";
    case SoapCallResult::Authentication: return "authentication failed";
    case SoapCallResult::TimedOut: return "timed out";
    case SoapCallResult::Cancelled: return "cancelled";
    case SoapCallResult::Failed: break;
    }
    return "failed";
}

std::string CallOutcomeText(const SoapCallResult& result) {
    if (result.outcome != SoapCallResult::Answered) {
        std::string text = std::string("The call failed (") + CallOutcomeWord(result.outcome) + "): " + WindowsLines(result.why);
        if (result.status != 0) text += "\r\nHTTP " + std::to_string(result.status) + " " + result.reason;
        return text + "\r\nAfter " + Seconds(result.seconds);
    }
    std::string text = "HTTP " + std::to_string(result.status) + " " + result.reason + " in " + Seconds(result.seconds);
    const SoapFaultWords fault = readFault(result.body);
    if (fault.isFault) text += "\r\nThe service answered with a fault:\r\n" + WindowsLines(fault.plain());
    for (const auto& header : result.headers) text += "\r\n" + header.first + ": " + header.second;
    return text;
}
