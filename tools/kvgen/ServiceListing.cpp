#include "tools/kvgen/ServiceListing.h"

#include "generator/model/ServiceView.h"

#include <ostream>
#include <set>

namespace {

const CViewPortType* portTypeOf(const CServiceView& view, const CViewBinding* binding)
{
    if (binding == nullptr)
        return nullptr;
    // A port type with bindings of both SOAP versions is read once per version.
    for (const CViewPortType& portType : view.portTypes()) {
        if (portType.soapBinding == binding)
            return &portType;
    }
    for (const CViewPortType& portType : view.portTypes()) {
        if (portType.name == binding->portTypeName)
            return &portType;
    }
    return nullptr;
}

void listOperations(const CViewPortType& portType, const char* indent, std::ostream& out)
{
    for (const CViewOperation& operation : portType.operations) {
        out << indent << "operation " << operation.name;
        if (!operation.soapBound) {
            out << "  (no SOAP binding)\n";
            continue;
        }
        out << "  style " << (operation.style == CViewOperation::Document ? "document" : "rpc") << "  action \""
            << operation.soapAction << "\"\n";
    }
}

// What the binding's WS-SecurityPolicy asks a request to carry, when it has one.
void listSecurityPolicy(const CViewBinding& binding, std::ostream& out)
{
    if (binding.securityPolicy.empty())
        return;
    out << "    security policy:";
    for (const std::string& name : binding.securityPolicy)
        out << " " << name;
    out << "\n";
}

}  // namespace

void listService(const CServiceView& view, std::ostream& out)
{
    std::set<const CViewPortType*> listed;
    for (const CViewService& service : view.services()) {
        out << "service " << service.name << "\n";
        for (const CViewService::Port& port : service.ports) {
            out << "  port " << port.name;
            if (port.binding != nullptr) {
                out << "  binding " << port.binding->name;
                if (port.binding->soapVersion != 0)
                    out << "  SOAP " << (port.binding->soapVersion == 12 ? "1.2" : "1.1");
            }
            out << "  address " << (port.address.empty() ? "(none)" : port.address) << "\n";
            if (port.binding != nullptr)
                listSecurityPolicy(*port.binding, out);
            const CViewPortType* portType = portTypeOf(view, port.binding);
            if (portType == nullptr)
                continue;
            listOperations(*portType, "    ", out);
            listed.insert(portType);
        }
    }
    for (const CViewPortType& portType : view.portTypes()) {
        if (listed.count(&portType) == 0 && !portType.secondVersion) {
            out << "port type " << portType.name << "  (in no service)\n";
            listOperations(portType, "  ", out);
        }
    }
}
