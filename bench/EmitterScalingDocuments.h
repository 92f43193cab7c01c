// The documents whose emitting the emitters' scaling benchmark times and
// their scaling tests count: document/literal services that grow with n.
#pragma once

#include <string>

namespace scaling {

// A document/literal service of the types, elements, messages, operations
// and binding operations given.
inline std::string literalService(const std::string& types, const std::string& messages, const std::string& operations,
                                  const std::string& bindings)
{
    return "<?xml version=\"1.0\"?>\n<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\" "
           "xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:tns=\"urn:s\" targetNamespace=\"urn:s\">\n<types><xsd:schema targetNamespace=\"urn:s\">\n" + types +
           "</xsd:schema></types>\n" + messages + "<portType name=\"P\">" + operations +
           "</portType>\n<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"document\" "
           "transport=\"http://schemas.xmlsoap.org/soap/http\"/>\n" + bindings +
           "</binding>\n<service name=\"S\"><port name=\"SP\" binding=\"tns:B\"><soap:address "
           "location=\"http://127.0.0.1:4321/s\"/></port></service>\n</definitions>\n";
}

// Operation Op<n> taking element In<n> and answering with Out<n>, both of type T<n>.
inline void addOperation(const std::string& t, std::string& types, std::string& messages, std::string& operations,
                         std::string& bindings)
{
    types += "<xsd:element name=\"In" + t + "\" type=\"tns:T" + t + "\"/><xsd:element name=\"Out" + t +
             "\" type=\"tns:T" + t + "\"/>\n";
    messages += "<message name=\"In" + t + "\"><part name=\"p\" element=\"tns:In" + t + "\"/></message>"
                "<message name=\"Out" + t + "\"><part name=\"p\" element=\"tns:Out" + t + "\"/></message>\n";
    operations += "<operation name=\"Op" + t + "\"><input message=\"tns:In" + t + "\"/><output message=\"tns:Out" + t +
                  "\"/></operation>\n";
    bindings += "<operation name=\"Op" + t + "\"><soap:operation soapAction=\"urn:op" + t +
                "\"/><input><soap:body use=\"literal\"/></input><output><soap:body use=\"literal\"/></output>"
                "</operation>\n";
}

// Type i has a number, a text and, past the first, a member of type i-1;
// operation i takes element Ini of type i and answers with Outi.
inline std::string chainedTypes(int n)
{
    std::string types, messages, operations, bindings;
    for (int i = 0; i < n; ++i) {
        const std::string t = std::to_string(i);
        types += "<xsd:complexType name=\"T" + t + "\"><xsd:sequence><xsd:element name=\"n\" type=\"xsd:int\"/>"
                 "<xsd:element name=\"s\" type=\"xsd:string\"/>" +
                 (i > 0 ? "<xsd:element name=\"prev\" type=\"tns:T" + std::to_string(i - 1) + "\"/>" : "") +
                 "</xsd:sequence></xsd:complexType>\n";
        addOperation(t, types, messages, operations, bindings);
    }
    return literalService(types, messages, operations, bindings);
}

// One type T0 of n members, alternately numbers and texts, taken and
// answered by one operation.
inline std::string wideType(int n)
{
    std::string members;
    for (int i = 0; i < n; ++i)
        members += "<xsd:element name=\"m" + std::to_string(i) + "\" type=\"xsd:" + (i % 2 == 0 ? "int" : "string") + "\"/>";
    std::string types = "<xsd:complexType name=\"T0\"><xsd:sequence>" + members + "</xsd:sequence></xsd:complexType>\n";
    std::string messages, operations, bindings;
    addOperation("0", types, messages, operations, bindings);
    return literalService(types, messages, operations, bindings);
}

} // namespace scaling
