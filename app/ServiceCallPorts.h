// What the call window offers to send: each port of the service with its address and the
// operations of its binding, each with the request the demo would send (sample values) and the
// HTTP headers it goes with. Copied out of the parsed service, which lives only while it is read.
#pragma once

#include <string>
#include <vector>

class CServiceView;
struct CViewOperation;

struct CCallOperation {
    std::string strName;
    std::string strEnvelope;
    std::string strSoapAction;
    std::string strContentType;
};

struct CCallPort {
    std::string strName;      // "service.port" when the service has more than one port
    std::string strService;
    std::string strPort;
    std::string strAddress;   // the soap:address location; empty without one
    std::vector<CCallOperation> operations;
};

// Every SOAP-bound port of every service, in document order, with its SOAP-bound operations.
std::vector<CCallPort> ReadCallPorts(const CServiceView& view);

// The port and operation by name; null when there is none of that name.
const CCallPort* FindCallPort(const std::vector<CCallPort>& ports, const std::string& strPort);
const CCallOperation* FindCallOperation(const CCallPort& port, const std::string& strOperation);
// The operation of the view the port's operation of that name stands for; null when none.
const CViewOperation* FindViewOperation(const CServiceView& view, const CCallPort& port, const std::string& strOperation);
