#include "app/ServiceCallPorts.h"

#include "generator/model/ServiceView.h"
#include "generator/sample/SampleRequest.h"

namespace {

// The port type a port's binding binds: the one that took the binding as its SOAP binding (a port
// type bound in both SOAP versions has a second copy for the other one), else the one it names.
const CViewPortType* BoundPortType(const CServiceView& view, const CViewBinding& binding) {
    const CViewPortType* pNamed = nullptr;
    for (const CViewPortType& portType : view.portTypes()) {
        if (portType.soapBinding == &binding) return &portType;
        if (!pNamed && portType.name == binding.portTypeName) pNamed = &portType;
    }
    return pNamed;
}

CCallPort MakePort(const CViewService& service, const CViewService::Port& port, const CViewPortType& portType,
                   bool bQualify) {
    CCallPort callPort;
    callPort.strService = service.name;
    callPort.strPort = port.name;
    callPort.strName = bQualify ? service.name + "." + port.name : port.name;
    callPort.strAddress = port.address;
    for (const CViewOperation& operation : portType.operations) {
        if (!operation.soapBound) continue;
        const CSampleRequest sample = sampleRequest(operation);
        callPort.operations.push_back({std::string(operation.name), sample.envelope, sample.soapAction, sample.contentType});
    }
    return callPort;
}

// Each SOAP port with the port type its binding binds, in document order.
template <class Use>
void ForEachSoapPort(const CServiceView& view, Use use) {
    for (const CViewService& service : view.services())
        for (const CViewService::Port& port : service.ports) {
            if (!port.binding || port.binding->soapVersion == 0) continue;
            if (const CViewPortType* pPortType = BoundPortType(view, *port.binding)) use(service, port, *pPortType);
        }
}

}  // namespace

std::vector<CCallPort> ReadCallPorts(const CServiceView& view) {
    std::vector<CCallPort> ports;
    ForEachSoapPort(view, [&](const CViewService& service, const CViewService::Port& port, const CViewPortType& portType) {
        CCallPort callPort = MakePort(service, port, portType, view.services().size() > 1);
        if (!callPort.operations.empty()) ports.push_back(std::move(callPort));
    });
    return ports;
}

const CViewOperation* FindViewOperation(const CServiceView& view, const CCallPort& port, const std::string& strOperation) {
    const CViewOperation* pFound = nullptr;
    ForEachSoapPort(view, [&](const CViewService& service, const CViewService::Port& viewPort, const CViewPortType& portType) {
        if (pFound || service.name != port.strService || viewPort.name != port.strPort) return;
        for (const CViewOperation& operation : portType.operations)
            if (operation.soapBound && operation.name == strOperation) pFound = &operation;
    });
    return pFound;
}

const CCallPort* FindCallPort(const std::vector<CCallPort>& ports, const std::string& strPort) {
    for (const CCallPort& port : ports)
        if (port.strName == strPort) return &port;
    return nullptr;
}

const CCallOperation* FindCallOperation(const CCallPort& port, const std::string& strOperation) {
    for (const CCallOperation& operation : port.operations)
        if (operation.strName == strOperation) return &operation;
    return nullptr;
}
