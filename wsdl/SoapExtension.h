#ifndef KELVANE_WSDL_SOAPEXTENSION_H
#define KELVANE_WSDL_SOAPEXTENSION_H

#include "schema/SharedTextPool.h"
#include "wsdl/WsdlExtensionHandler.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Schema {
class ComplexType;
class SchemaValidator;
class ValueContainer;
}

namespace Wsdl {

class Message;

// The SOAP binding of WSDL 1.1, for SOAP 1.1 or for SOAP 1.2 (one handler
// per binding namespace): its binding, operation, body, header, fault and
// address elements are validated against the built-in "soap.xsd" (or
// "soap12.xsd") and recorded under element ids, from which the code generator asks the
// soapAction and style of an operation and the message part of a header.
//
// Every problem is reported to the WSDL parser's diagnostics stream after
// "Soap Processing" and two blanks; none throws.
class SoapExtension : public WsdlExtensionHandler {
public:
    enum Style { Rpc = 0, Document = 1 };
    // The SOAP version whose binding namespace the handler serves.
    enum Version { Soap11 = 11, Soap12 = 12 };

    // idBlockSize: how many element ids the handler may give out.
    explicit SoapExtension(const std::string& schemaDirectory, int idBlockSize = ElementIdBlockSize,
                           Version version = Soap11);
    ~SoapExtension() override;
    SoapExtension(const SoapExtension&) = delete;
    SoapExtension& operator=(const SoapExtension&) = delete;

    std::string getNamespace() const override;
    void setNamespacePrefix(const std::string& prefix) override { prefix_ = prefix; }
    std::string getNamespacePrefix() const override { return prefix_; }
    bool isNamespaceHandler(const std::string& ns) const override;
    Version getVersion() const { return version_; }

    // "soap.xsd" (SOAP 1.2: "soap12.xsd") and "soap-encoding.xsd" in the schema folder.
    std::string getExtensibilitySchema() const override;
    std::string getEncodingSchema() const;
    // Takes the schema of "soap.xsd" and validates against it from now on.
    void setSchemaParser(std::unique_ptr<Schema::SchemaParser> parser) override;
    Schema::SchemaParser* getSchemaParser() const { return schemaParser_.get(); }
    void setSchemaPath(const std::string& directory) override { schemaDirectory_ = directory; }

    int handleElement(int parentKind, XmlPullParser& xpp) override;
    // SOAP attributes are not recorded: always 0.
    int handleAttribute(int parentKind, const std::string& name, XmlPullParser& xpp) override;
    int getExtElementType(int id) const override;
    int getExtAttributeType(int id) const override;

    void setStartId(int id) override { startId_ = id; }
    int getStartId() const override { return startId_; }
    void setWsdlParser(WsdlParser* parser) override { wsdlParser_ = parser; }
    WsdlParser* getWsdlParser() const override { return wsdlParser_; }
    bool hasWsdlParser() const override { return wsdlParser_ != nullptr; }

    // Each gives what the element of that id recorded and returns true; an id
    // that is not one of this handler's elements of that kind leaves the
    // outputs untouched and returns false.
    bool getOperationInfo(int id, std::string& soapAction, int& style) const;
    // partIndex is -1 when the message has no part of the name given.
    bool getHeaderInfo(int id, int& partIndex, Message*& message) const;
    // use is 1 when the body's use is present and not "literal".
    bool getBodyInfo(int id, int& use, std::string& encodingStyle, std::string& ns) const;
    // location is empty for an address that names none.
    bool getAddressLocation(int id, std::string& location) const;
    bool isSoapHeader(int id) const;

    // From the binding element: the style of operations that name none, and
    // whether the transport is SOAP over HTTP (also when none is named).
    int getDefaultStyle() const { return defaultStyle_; }
    bool isHttpTransport() const { return httpTransport_; }

    void reportError(const std::string& message) const;

    // Once the whole document is read: a header may name a message defined
    // after the binding, whose part is looked up now. Returns the name of the
    // first header message the document never defines; empty when all are.
    std::string resolveHeaders();

private:
    enum Kind { BindingElement, OperationElement, BodyElement, HeaderElement, AddressElement };

    struct ElementRecord {
        int typeId;
        Kind kind;
        int index; // into the records of its kind
    };
    struct OperationRecord {
        int parentKind;
        std::string soapAction;
        int style;
    };
    // The encoding style and namespace repeat over every body of a
    // description (and are mostly absent): each distinct one is held once.
    struct BodyRecord {
        int use;
        Schema::SharedText encodingStyle;
        Schema::SharedText ns;
    };
    struct HeaderRecord {
        int partIndex;
        Message* message;
        std::string partName;
        bool pending; // its message was not defined yet when it was read
    };

    // An element's attribute texts by name: as the validator kept them, or
    // as its start tag holds them.
    class AttributeTexts;
    int record(const std::string& tag, int typeId, int parentKind, Schema::ValueContainer& values);
    // The elements without content: all but the header.
    int recordPlain(std::string_view tag, int typeId, int parentKind, const AttributeTexts& attributes);
    int recordHeader(int typeId, Schema::ValueContainer& values);
    Schema::SharedText sharedAttribute(const AttributeTexts& attributes, const std::string& name);
    const Schema::ComplexType* plainType(int typeId);
    void findHeaderPart(HeaderRecord& header) const;
    int addElement(int typeId, Kind kind, int index);
    Schema::SchemaValidator& validator();
    std::ostream& reportStream() const;
    const ElementRecord* elementOf(int id) const;
    // The record of kind that element id points to; null for another id.
    template <typename Record>
    const Record* recordOf(int id, Kind kind, const std::vector<Record>& records) const;

    Version version_;
    std::string namespace_;
    std::string prefix_;
    int startId_ = 0;
    int idBlockSize_;
    // The validator works on the schema parser: it goes first.
    std::unique_ptr<Schema::SchemaParser> schemaParser_;
    std::unique_ptr<Schema::SchemaValidator> validator_;
    // Per element type of the schema, the type when its elements are empty
    // and their attributes plain text, else null: such an element whose
    // start tag holds only attributes of the type is read without the validator.
    std::vector<std::pair<int, const Schema::ComplexType*>> plainTypes_;
    WsdlParser* wsdlParser_ = nullptr;
    std::vector<ElementRecord> elements_;
    std::vector<OperationRecord> operations_;
    std::vector<BodyRecord> bodies_;
    Schema::SharedTextPool bodyTexts_;
    std::vector<HeaderRecord> headers_;
    bool httpTransport_ = false;
    int defaultStyle_ = Document;
    std::vector<std::string> addressLocations_; // one per address element
    std::string schemaDirectory_;
};

} // namespace Wsdl

#endif
