// A document/literal service spread over many schemas, each of a namespace of
// its own, for the scaling benchmarks of the reader and of the emitters.
#pragma once

#include <string>

// Schema i, of namespace urn:si (declared where it is named), holds type T
// and element E; operation i sends element E of schema i and answers with it.
inline std::string manySchemas(int n)
{
    std::string schemas, messages, operations, bindings;
    for (int i = 0; i < n; ++i) {
        const std::string t = std::to_string(i);
        const std::string xmlns = " xmlns:s" + t + "=\"urn:s" + t + "\"";
        schemas += "<xsd:schema targetNamespace=\"urn:s" + t + "\"" + xmlns + "><xsd:complexType name=\"T\"><xsd:sequence>"
                   "<xsd:element name=\"n\" type=\"xsd:int\"/></xsd:sequence></xsd:complexType>"
                   "<xsd:element name=\"E\" type=\"s" + t + ":T\"/></xsd:schema>\n";
        messages += "<message name=\"M" + t + "\"" + xmlns + "><part name=\"p\" element=\"s" + t + ":E\"/></message>\n";
        operations += "<operation name=\"Op" + t + "\"><input message=\"tns:M" + t + "\"/><output message=\"tns:M" +
                      t + "\"/></operation>\n";
        bindings += "<operation name=\"Op" + t + "\"><soap:operation soapAction=\"urn:op" + t +
                    "\"/><input><soap:body use=\"literal\"/></input><output><soap:body use=\"literal\"/></output>"
                    "</operation>\n";
    }
    return "<?xml version=\"1.0\"?>\n<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\" "
           "xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:tns=\"urn:s\" targetNamespace=\"urn:s\">\n<types>\n" + schemas + "</types>\n" +
           messages + "<portType name=\"P\">" + operations +
           "</portType>\n<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"document\" "
           "transport=\"http://schemas.xmlsoap.org/soap/http\"/>\n" + bindings +
           "</binding>\n<service name=\"S\"><port name=\"SP\" binding=\"tns:B\"><soap:address "
           "location=\"http://127.0.0.1:4321/s\"/></port></service>\n</definitions>\n";
}
