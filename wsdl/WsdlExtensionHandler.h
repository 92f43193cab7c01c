#ifndef KELVANE_WSDL_WSDLEXTENSIONHANDLER_H
#define KELVANE_WSDL_WSDLEXTENSIONHANDLER_H

#include <memory>
#include <string>

class XmlPullParser;

namespace Schema {
class SchemaParser;
}

namespace Wsdl {

class WsdlParser;

// Reads the extensibility elements and attributes of one namespace for the
// WSDL parser, which keeps only the integer ids handed back. Handler number j
// of the parser owns the element ids j * ElementIdBlockSize + 1 to
// (j + 1) * ElementIdBlockSize; id 0 stands for no element.
class WsdlExtensionHandler {
public:
    // Ids of one handler: room for the SOAP details of the largest real
    // documents (thousands of operations) many times over. A handler whose
    // block is full gives no more ids, so that no id is ever another
    // handler's.
    static constexpr int ElementIdBlockSize = 1 << 20;

    virtual ~WsdlExtensionHandler() = default;

    // The namespace served, and the prefix the document declares for it.
    virtual std::string getNamespace() const = 0;
    virtual void setNamespacePrefix(const std::string& prefix) = 0;
    virtual std::string getNamespacePrefix() const = 0;
    virtual bool isNamespaceHandler(const std::string& ns) const = 0;

    // Where the schema of the extensibility elements is read from.
    virtual std::string getExtensibilitySchema() const = 0;
    // Takes that schema once it is read; a schema set earlier is released.
    virtual void setSchemaParser(std::unique_ptr<Schema::SchemaParser> parser) = 0;
    virtual void setSchemaPath(const std::string&) {}

    // Reads the element the pull parser stands on up to its end tag and
    // returns its id; 0 when nothing was recorded.
    virtual int handleElement(int parentKind, XmlPullParser& xpp) = 0;
    virtual int handleAttribute(int parentKind, const std::string& name, XmlPullParser& xpp) = 0;
    // The schema type id of a recorded element or attribute; 0 for an id
    // that is not this handler's.
    virtual int getExtElementType(int id) const = 0;
    virtual int getExtAttributeType(int id) const = 0;

    virtual void setStartId(int id) = 0;
    virtual int getStartId() const = 0;
    virtual void setWsdlParser(WsdlParser* parser) = 0;
    virtual WsdlParser* getWsdlParser() const = 0;
    virtual bool hasWsdlParser() const = 0;
};

} // namespace Wsdl

#endif
