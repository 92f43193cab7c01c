// The documents whose reading the reader's scaling benchmark times and its
// scaling tests count: each generator writes a description that grows with
// count in one direction (types, operations, imported schemas, imported WSDL
// documents, attributes on one type). Those that import write the imported
// documents into folder.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace scaling {

inline const char* const kHead = "<?xml version=\"1.0\"?>\n"
                          "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\"\n"
                          "  xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\"\n"
                          "  xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"\n"
                          "  xmlns:tns=\"urn:t\" targetNamespace=\"urn:t\">\n";

// One operation Op<i> with its messages, port-type operation and binding operation.
struct Operations {
    std::string messages, portType, binding;

    void add(const std::string& n, const std::string& inputType)
    {
        messages += "<message name=\"In" + n + "\"><part name=\"a\" type=\"" + inputType + "\"/></message>"
                    "<message name=\"Out" + n + "\"><part name=\"r\" type=\"xsd:int\"/></message>\n";
        portType += "<operation name=\"Op" + n + "\"><input message=\"tns:In" + n +
                    "\"/><output message=\"tns:Out" + n + "\"/></operation>\n";
        binding += "<operation name=\"Op" + n + "\"><soap:operation soapAction=\"urn:op" + n +
                   "\"/><input><soap:body use=\"literal\"/></input><output><soap:body use=\"literal\"/></output>"
                   "</operation>\n";
    }

    std::string document(const std::string& types) const
    {
        return kHead + types + messages + "<portType name=\"P\">" + portType +
            "</portType>\n<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"rpc\" "
            "transport=\"http://schemas.xmlsoap.org/soap/http\"/>\n" + binding +
            "</binding>\n<service name=\"S\"><port name=\"Q\" binding=\"tns:B\"><soap:address "
            "location=\"http://localhost/\"/></port></service>\n</definitions>\n";
    }
};

inline std::string schema(const std::string& body)
{
    return "<types><xsd:schema targetNamespace=\"urn:t\">\n" + body + "</xsd:schema></types>\n";
}

// Types that each refer to the one before and to a global element.
inline std::string manyTypes(int count)
{
    std::string body;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        body += "<xsd:complexType name=\"T" + n + "\"><xsd:sequence><xsd:element name=\"v\" type=\"xsd:int\"/>" +
            (i > 0 ? "<xsd:element name=\"p\" type=\"tns:T" + std::to_string(i - 1) + "\"/>" : std::string()) +
            "<xsd:element ref=\"tns:E" + n + "\"/></xsd:sequence><xsd:attribute name=\"a\" type=\"xsd:string\"/>"
            "</xsd:complexType>\n<xsd:element name=\"E" + n + "\" type=\"xsd:string\"/>\n";
    }
    Operations operations;
    operations.add("0", "tns:T" + std::to_string(count - 1));
    return operations.document(schema(body));
}

inline std::string manyOperations(int count)
{
    Operations operations;
    for (int i = 0; i < count; ++i)
        operations.add(std::to_string(i), "xsd:int");
    return operations.document(std::string());
}

// One schema that imports count schema documents, each of its own namespace
// with one type that the importing schema uses. Each use declares its own
// prefix: one start tag holds at most 1,024 declarations.
inline std::string manyImports(int count, const std::filesystem::path& folder)
{
    std::string imports;
    std::string uses;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        const std::string file = "s" + std::to_string(count) + "_" + n + ".xsd";
        std::ofstream(folder / file, std::ios::binary)
            << "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" targetNamespace=\"urn:i" << n
            << "\"><xs:complexType name=\"T\"><xs:sequence><xs:element name=\"v\" type=\"xs:int\"/>"
               "</xs:sequence></xs:complexType></xs:schema>\n";
        imports += "<xsd:import namespace=\"urn:i" + n + "\" schemaLocation=\"" + file + "\"/>\n";
        uses += "<xsd:element name=\"e" + n + "\" type=\"i:T\" xmlns:i=\"urn:i" + n + "\"/>";
    }
    Operations operations;
    operations.add("0", "tns:All");
    return operations.document(
        schema(imports + "<xsd:complexType name=\"All\"><xsd:sequence>" + uses + "</xsd:sequence></xsd:complexType>\n"));
}

// A document that imports count WSDL documents, each with a schema of a
// namespace of its own and a message whose part names its element: every
// imported document's schemas are linked with those read before.
inline std::string manyImportedDocuments(int count, const std::filesystem::path& folder)
{
    std::string imports;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        const std::string file = "d" + std::to_string(count) + "_" + n + ".wsdl";
        std::ofstream(folder / file, std::ios::binary)
            << "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
               " xmlns:d=\"urn:d" << n << "\" targetNamespace=\"urn:d" << n << "\"><types><xsd:schema targetNamespace=\"urn:d"
            << n << "\"><xsd:complexType name=\"T\"><xsd:sequence><xsd:element name=\"v\" type=\"xsd:int\"/>"
               "</xsd:sequence></xsd:complexType><xsd:element name=\"E\" type=\"d:T\"/></xsd:schema></types>"
               "<message name=\"M\"><part name=\"p\" element=\"d:E\"/></message></definitions>\n";
        imports += "<import namespace=\"urn:d" + n + "\" location=\"" + file + "\"/>\n";
    }
    Operations operations;
    operations.add("0", "xsd:int");
    return operations.document(imports);
}

inline std::string manyAttributes(int count)
{
    std::string attributes;
    for (int i = 0; i < count; ++i)
        attributes += "<xsd:attribute name=\"a" + std::to_string(i) + "\" type=\"xsd:int\"/>\n";
    Operations operations;
    operations.add("0", "tns:Wide");
    return operations.document(schema("<xsd:complexType name=\"Wide\">" + attributes + "</xsd:complexType>\n"));
}

} // namespace scaling
