#ifndef KELVANE_WSDL_WSDLPARSER_H
#define KELVANE_WSDL_WSDLPARSER_H

#include "schema/FlatIndex.h"
#include "schema/SharedTextPool.h"
#include "wsdl/AddressingMarks.h"
#include "wsdl/Binding.h"
#include "wsdl/Message.h"
#include "wsdl/PortType.h"
#include "wsdl/QualifiedIndex.h"
#include "wsdl/SchemaLinks.h"
#include "wsdl/SchemaNamespaceIndex.h"
#include "wsdl/SecurityPolicies.h"
#include "wsdl/Service.h"
#include "wsdl/WsdlException.h"
#include "wsdl/WsdlExtensionHandler.h"
#include "xml/SourceSpot.h"

#include <fstream>
#include <iosfwd>
#include <list>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class XmlPullParser;

namespace Schema {
class QualifiedName;
class SchemaParser;
}

namespace Wsdl {

class SoapExtension;

// Reads one WSDL 1.1 document (a local path or an http, https or ftp
// address) with its schemas into the WSDL element model. The parser owns
// every model object, schema parser, extension handler and documentation
// text it creates; the code generator reads them while the parser lives.
// Destroying the parser also deletes the documents this process downloaded.
class WsdlParser {
public:
    // What the parser stands on; the values parse returns.
    enum ElementKind {
        NONE = 0,
        START = 1,
        DEFINITION = 2,
        DOCUMENTATION = 3,
        ANNOTATION = 4,
        IMPORT = 5,
        SCHEMA = 6,
        TYPES = 7,
        MESSAGE = 8,
        PART = 9,
        PORT_TYPE = 10,
        OPERATION = 11,
        INPUT = 12,
        OUTPUT = 13,
        FAULT = 14,
        BINDING = 15,
        EXTENSIBILITY = 16,
        SERVICE = 17,
        PORT = 18,
        END = 19
    };

    // Extensibility-element ids reserved for each extension handler.
    static constexpr int ElementIdBlockSize = WsdlExtensionHandler::ElementIdBlockSize;

    // An extension handler with the schema of its elements, which the
    // handler owns; null until the document declares the handler's namespace.
    struct HandlerEntry {
        std::unique_ptr<WsdlExtensionHandler> handler;
        Schema::SchemaParser* schema;
    };

    using MessageList = std::list<std::unique_ptr<Message>>;
    using PortTypeList = std::list<std::unique_ptr<PortType>>;
    using BindingList = std::list<std::unique_ptr<Binding>>;
    using ServiceList = std::list<std::unique_ptr<Service>>;

    // Fetches the document, opens it and loads the built-in schemas from
    // schemaDirectory, with or without a trailing separator ("src/schemas/"
    // when empty). A document that cannot be fetched, or a built-in schema
    // that cannot be read, throws WsdlException naming the path; errors of
    // the XML inside a built-in schema leave as XmlPullParserException.
    WsdlParser(const std::string& location, std::ostream& diagnostics, const std::string& schemaDirectory);
    ~WsdlParser();
    WsdlParser(const WsdlParser&) = delete;
    WsdlParser& operator=(const WsdlParser&) = delete;

    // Level 0 sets the error flag and throws WsdlException "Wsdl Parser
    // Exception : " + message with the element kind and the position of the
    // pull parser; other levels do nothing.
    void error(const std::string& message, int level);
    // Ends the parse with a fatal error at a spot read earlier (a reference
    // that the rest of the document did not settle).
    [[noreturn]] void failAt(const SourceSpot& spot, const std::string& message);

    // Handles the next element of the document and returns the element kind
    // then reached. Every error ends the parse: it is written to the
    // diagnostics stream as "<message> at <line>,<column>", the error flag is
    // set and the state becomes END. Call it until getState() is END.
    int parse();
    // Moves to the next element that matters and classifies it; without
    // advance, an element already stood on is returned as it is.
    int getNextElement(bool advance);

    // The namespace the declarations in scope at the current tag bind to prefix.
    const std::string& resolvePrefix(const std::string& prefix) const;
    // Hands the current foreign element to the handler of its namespace and
    // returns the element id (0 when no handler serves it: it is skipped).
    int handleExtensibilityElement(int parentKind);
    int handleExtensibilityAttribute(const std::string& name, const std::string& prefix);

    // Writes "document:line:column: message" for the spot the reader stands
    // on to the diagnostics stream: the form of every message of a parse.
    void notice(const std::string& message) const;
    // Where the reader stands: the document, and the line and column.
    SourceSpot here() const;
    // The document being read: as the caller gave it, or as an import resolved it.
    const std::string& getDocumentName() const { return currentDocument_.empty() ? location_ : currentDocument_; }

    bool hasError() const { return error_; }
    int getState() const { return state_; }
    int getElementKind() const { return elementKind_; }
    std::ostream& getDiagnostics() const { return *diagnostics_; }

    const std::string& getName() const { return name_; }
    std::string getNamespace() const { return tnsUri_; }
    const std::string& getNamespacePrefix() const { return tnsPrefix_; }
    const std::string& getSchemaDirectory() const { return schemaDirectory_; }
    // The location up to and including its last separator; empty when it has none.
    const std::string& getBaseLocation() const { return baseLocation_; }
    const std::string* getDocumentation() const { return definitionsDoc_; }

    // Schemas: position 0 holds the built-in WSDL schema, 1 the built-in
    // SOAP encoding schema, then those of the document's types section.
    int getSchemaCount() const { return static_cast<int>(schemaParsers_.size()) - 2; }
    // Null outside the positions held.
    Schema::SchemaParser* getSchemaParser(int position) const;
    // Drops the document's schemas (those of its types section and what they
    // import), most of what a read holds, once a reader has taken all it
    // needs of their declarations; the built-in schemas stay. Afterwards the
    // document has no schema of its own, its parts name no declaration and
    // no name is resolved: only for the last reader of the model.
    void releaseDocumentSchemas();
    // Empties the documentation texts, which a generator never reads: the
    // elements still point at their text, now empty. Only for the last
    // reader of the model.
    void releaseDocumentation();

    const MessageList& getMessages() const { return messages_; }
    // False when there is no port type; else true with the range set.
    bool getPortTypes(PortTypeList::const_iterator& begin, PortTypeList::const_iterator& end) const;
    const BindingList& getBindings() const { return bindings_; }
    // The WS-SecurityPolicy assertions the binding's policies make (SecurityPolicies::of).
    std::vector<std::string> getSecurityPolicy(const Binding& binding) const { return policies_.of(binding.getName()); }
    const ServiceList& getServices() const { return services_; }
    const std::vector<std::pair<std::string, std::string>>& getImportedDocuments() const { return imports_; }

    // The message of the name: of its namespace when the name has one and a
    // message of that namespace bears it, else the first message of its
    // local name; null when there is none.
    Message* getMessage(const Schema::QualifiedName& name) const;
    // The same, creating an empty message of that name when there is none.
    Message* getMessageOrCreate(const Schema::QualifiedName& name);

    // A port type or binding by its name: the namespace its prefix is bound
    // to (an unprefixed name stands for the target namespace of the document
    // being read) and its local name; null otherwise.
    PortType* getPortType(const Schema::QualifiedName& name) const;
    Binding* getBinding(const Schema::QualifiedName& name) const;

    enum DeclarationKind { TypeDeclaration, ElementDeclaration };
    // The position of the first schema parser that serves the namespace the
    // name's prefix is bound to and defines the name; -1 when none does.
    // Names of the XML Schema namespace are the WSDL schema's (position 0).
    int getSchemaIndex(const Schema::QualifiedName& name, DeclarationKind kind);
    // The type id of the name in that schema; 0 when none defines it.
    int getTypeId(const Schema::QualifiedName& name);
    // The global element of the name; null when none declares it.
    const Schema::Element* getElement(const Schema::QualifiedName& name);

    // The first handler that serves the namespace; null when none does.
    WsdlExtensionHandler* findExtensionHandler(const std::string& ns) const;
    // The handler whose block of ids holds id; null for 0 and for ids no
    // handler has been given.
    WsdlExtensionHandler* getExtensionHandler(int elementId) const;
    const std::vector<HandlerEntry>& getExtensionHandlers() const { return handlers_; }
    SoapExtension* getSoapExtension() const { return soapExtension_; }
    // The handler of the SOAP 1.2 binding namespace.
    SoapExtension* getSoap12Extension() const { return soap12Extension_; }
    // Whether the binding, or a port of it, asks for WS-Addressing.
    bool usesAddressing(const Binding* binding) const
    {
        return addressing_.marks(binding) || (binding != nullptr && policies_.asksForAddressing(binding->getName()));
    }

private:
    // Removes this process's downloads when the parser goes, also when its
    // constructor fails. Declared first so that it runs last, after every
    // stream on a downloaded file is closed.
    struct DownloadCleanup {
        DownloadCleanup() = default;
        DownloadCleanup(const DownloadCleanup&) = delete;
        DownloadCleanup& operator=(const DownloadCleanup&) = delete;
        ~DownloadCleanup();
    };

    // A document brought in by a wsdl:import (of any namespace). Its
    // reader stays until the parser goes (the schemas embedded in the
    // document keep reading positions from it); its file is closed once read.
    struct IncludedDocument {
        std::ifstream stream;
        std::unique_ptr<XmlPullParser> reader;
    };

    // Positions 0 and 1 of the schema list: the WSDL and SOAP encoding schemas.
    static constexpr std::size_t BuiltInSchemas = 2;

    void setUp();
    std::unique_ptr<Schema::SchemaParser> loadBuiltInSchema(const std::string& location, const std::string& ns,
                                                            Schema::SchemaParser* imported = nullptr);

    // The parse driver and the elements around the model.
    int step();
    int classify(const std::string& localName);
    void checkRoot(int kind);
    std::string tagAtHand() const;
    static std::string documentKey(const std::string& location);
    int endParse(const std::string& description, int line, int column, const std::string& document = std::string());
    void resolveHeaders();
    void settleReferences();
    void noteMissingSoapBinding() const;
    void parseDefinitions();
    void loadExtensionSchema(std::size_t handlerIndex, const std::string& prefix);
    const std::string* parseDoc();
    void parseAnnotation();
    void parseImport();
    void includeDocument(const std::string& location, const std::string& resolved);
    static std::string rootElementOf(const std::string& fileName);
    void importSchemaDocument(const std::string& resolved);
    void reportsHere(WsdlExtensionHandler& handler);

    // The model's elements.
    void parseTypes();
    void readEmbeddedSchemas();
    void readSchema(std::unique_ptr<Schema::SchemaParser> schema, const std::string& failure);
    void linkSchemas(std::size_t first);
    void parseMessage();
    void parsePart(Message& message);
    PortType* parsePortType();
    void readNameAndExtensions(WsdlElement& element, const std::string& accepted);
    void ignoreAttribute(const std::string& attribute);
    std::unique_ptr<Operation> parseOperation(PortType* portType);
    void readOperationMessage(Operation& operation, int kind);
    void parseBinding();
    void parseBindingOperation(Binding& binding);
    void readBindingIds(Binding& binding, int index, Binding::Group group);
    void parseService();
    void readExtensibilityElements(WsdlElement& element, int parentKind);
    struct Declaration {
        int position = -1;
        int typeId = 0;
        const Schema::Element* element = nullptr;
    };
    Declaration findDeclaration(const Schema::QualifiedName& name, DeclarationKind kind);
    Declaration findResolvedDeclaration(const Schema::QualifiedName& resolved, DeclarationKind kind);
    // What the schema at position holds of the name (the position whatever it holds).
    Declaration declarationIn(std::size_t position, const Schema::QualifiedName& resolved, DeclarationKind kind);
    Schema::QualifiedName resolvedName(Schema::QualifiedName name) const;
    const std::string& referencedNamespace(const Schema::QualifiedName& name) const;
    Message* firstMessageNamed(std::string_view localName) const;
    Message* messageAmong(Message* first, const Schema::QualifiedName& name) const;
    Message* newMessage(const std::string& localName);
    void placeMessage(Message& message, const std::string& ns);
    void indexPortType(PortType& portType);
    void indexBinding(Binding& binding);

    // Members are destroyed in reverse order: what refers to something is
    // declared after it, so it goes first (the model refers to schema
    // declarations, embedded and extension schemas to the built-in ones and
    // to the pull parser, the pull parser to the document stream).
    DownloadCleanup cleanup_;
    bool error_ = false;
    std::string name_;
    std::string tnsPrefix_;
    std::string tnsUri_;
    std::ostream* diagnostics_;
    int elementKind_ = START;
    int state_ = START;
    std::string location_;
    std::string localFile_;
    std::string schemaDirectory_;
    std::string baseLocation_;
    // The location of a document read through an import, named in messages
    // about it; empty while the caller's document is read.
    std::string currentDocument_;
    // The namespaces of the model's elements, one string each.
    Schema::SharedTextPool namespaces_;
    std::ifstream document_;
    std::unique_ptr<XmlPullParser> documentReader_;
    // The reader of the document being read: the document's own, or that of
    // an imported one while it is read.
    XmlPullParser* xpp_ = nullptr;
    // Documents read or being read, by resolved location: an import of one of
    // them (the document itself included) is not followed again.
    std::set<std::string> documentsRead_;
    int importDepth_ = 0;
    std::vector<std::unique_ptr<IncludedDocument>> includedDocuments_;
    // The positions of the schemas below each time one gains an import record
    // once linked or indexed (it outlives them: they write into it).
    SchemaLinks::RecordJournal recordJournal_;
    std::vector<std::unique_ptr<Schema::SchemaParser>> schemaParsers_;
    // The schemas above that serve each namespace; linking schemas forgets it.
    SchemaNamespaceIndex schemasByNamespace_;
    // How the schemas above are linked with each other so far.
    SchemaLinks schemaLinks_;
    std::vector<HandlerEntry> handlers_;
    SoapExtension* soapExtension_ = nullptr; // the first handler
    SoapExtension* soap12Extension_ = nullptr; // the second
    // Documentation texts; model elements point into the list.
    std::list<std::string> documentation_;
    const std::string* definitionsDoc_ = nullptr;
    std::vector<std::pair<std::string, std::string>> imports_; // {location, namespace}
    MessageList messages_;
    // The first message of each local name, found through the name it holds.
    Schema::FlatIndex<Message*, std::string_view, std::hash<std::string_view>> messageIndex_;
    // A message of another namespace than the first of its local name: a
    // service spread over documents of several namespaces may repeat names.
    QualifiedIndex<Message> otherMessages_;
    PortTypeList portTypes_;
    BindingList bindings_;
    // The policies read, and the binding being read (empty outside one), which those inside it count for.
    SecurityPolicies policies_;
    std::string policyOwner_;
    // The first port type and binding of each name, for the look-ups of
    // bindings and ports.
    QualifiedIndex<PortType> portTypeIndex_;
    QualifiedIndex<Binding> bindingIndex_;
    // References that a later part of the description may settle: where
    // each message was first named before its definition, and ports whose
    // binding was not known at the port.
    std::unordered_map<const Message*, SourceSpot> messageReferences_;
    // The messages made and not yet defined: named before their definition, or never defined.
    std::size_t undefinedMessages_ = 0;
    struct PortReference {
        Service* service;
        std::size_t port;      // its position among the service's ports
        std::string bindingNamespace;
        std::string bindingName;
        SourceSpot spot;
    };
    std::vector<PortReference> portReferences_;
    ServiceList services_;
    AddressingMarks addressing_;
};

} // namespace Wsdl

#endif
