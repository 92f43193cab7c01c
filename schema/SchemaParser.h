#ifndef KELVANE_SCHEMA_SCHEMAPARSER_H
#define KELVANE_SCHEMA_SCHEMAPARSER_H

#include "schema/Attribute.h"
#include "schema/AttributeGroup.h"
#include "schema/DeclarationIndex.h"
#include "schema/Element.h"
#include "schema/Group.h"
#include "schema/IdentityConstraint.h"
#include "schema/NameKey.h"
#include "schema/NameKeyMap.h"
#include "schema/PendingElementRefs.h"
#include "schema/QualifiedName.h"
#include "schema/ReferenceSpots.h"
#include "schema/SchemaErrorLog.h"
#include "schema/SchemaParserException.h"
#include "schema/SharedTextPool.h"
#include "schema/TypeTable.h"
#include "xml/SourceSpot.h"

#include <fstream>
#include <iosfwd>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class XmlPullParser;

namespace Schema {

class ComplexType;
class ContentModel;
class SimpleType;
class XsdType;

// Reads one XML Schema (a schema document of its own, or a "schema" element
// inside a document being read) into a types table and lists of global
// declarations, and answers look-ups of types and declarations, also across
// the schemas it imports.
//
// Ownership: the parser owns its types, declarations, attribute groups,
// identity constraints and the parsers it creates for its imports. Schemas
// registered with addImport(SchemaParser*) are only referred to.
class SchemaParser {
public:
    // A namespace this schema knows, with the parser registered last for it
    // (not owned; null while the namespace is known but not loaded). A
    // namespace split over several schemas keeps one record; look-ups reach
    // every parser registered for it.
    struct ImportedSchema {
        SchemaParser* sParser;
        std::string ns;
    };

    // For a schema inside a document already being read: the pull parser is
    // not owned and must stand on (or before) the "schema" start tag when
    // parseSchemaTag is called.
    SchemaParser(XmlPullParser* parser, std::string targetNamespace, std::ostream& log,
                 const std::string& schemaDirectory = std::string());
    // For a schema document of its own: fetches the location and stands on
    // its first "schema" element. A location that cannot be read, or holds no
    // schema, gives a parser whose parseSchemaTag returns false.
    SchemaParser(const std::string& uri, std::string targetNamespace, std::ostream& log,
                 const std::string& schemaDirectory = std::string());
    ~SchemaParser();
    SchemaParser(const SchemaParser&) = delete;
    SchemaParser& operator=(const SchemaParser&) = delete;

    // Reads the whole schema. False without a document, or after a fatal
    // schema error (written to the log with its line and column). Errors of
    // the XML itself leave as XmlPullParserException.
    bool parseSchemaTag();
    // Once every related schema is registered: settles the types taken from
    // other namespaces and the element and attribute references still
    // waiting for another schema. False (and each one named in the log) when
    // some stay undefined.
    bool finalize();

    const std::string& getNamespace() const { return tnsUri_; }
    const std::string& getNamespacePrefix() const { return tnsPrefix_; }
    const std::string& getVersion() const { return version_; }
    bool isElementFormQualified() const { return elementQualified_; }
    bool isAttributeFormQualified() const { return attributeQualified_; }
    // The folder that relative schema locations are resolved against.
    void setUri(const std::string& baseLocation) { uri_ = baseLocation; }
    const std::string& getUri() const { return uri_; }
    // The document this schema is read from, named in its messages; empty
    // for a schema inside the document the caller reads.
    void setDocumentLocation(const std::string& location) { readingFrom_ = location; }
    const std::string& getDocumentLocation() const { return readingFrom_; }
    int getReportLevel() const { return errorLog_.getReportLevel(); }
    void setReportLevel(int level) { errorLog_.setReportLevel(level); }

    // Types: ids 29 up to 28 + getNumTypes are this schema's, in order of
    // first mention. Null for built-in ids and for types still undefined.
    XsdType* getType(int typeId) const;
    int getNumTypes() const { return typesTable_.getNumTypes(); }
    static bool isBasicType(int typeId);
    // The lasting local name of a built-in type a reference names; null for
    // a name outside XML Schema's namespace.
    static const char* builtinNameOf(const QualifiedName& name);
    // The built-in id the values of a type finally have; 0 for complex content.
    int getBasicContentType(int typeId) const;
    // The id this schema uses for a type name; 0 when there is none. With
    // create, a name still to come (here or in another schema) gets an id.
    int getTypeId(const QualifiedName& name, bool create = false);

    // Global declarations in document order; the first element is "schema".
    const std::list<Element>& getElements() const { return lElems_; }
    int getNumElements() const { return static_cast<int>(lElems_.size()); }
    const std::list<Attribute>& getAttributes() const { return lAttributes_; }
    const std::list<Group>& getGroups() const { return lGroups_; }
    const std::vector<std::unique_ptr<IdentityConstraint>>& getConstraints() const { return constraints_; }

    // The schema whose table a type's own ids (its base's, its elements')
    // are read in: this one, or the one that defines a type borrowed from
    // another schema; null when that one is not found.
    SchemaParser* tableOf(int typeId);

    // Look-ups by qualified name, here or in the imported schema of the
    // name's namespace; null when not found.
    const Element* getElement(const QualifiedName& name) const;
    const Attribute* getAttribute(const QualifiedName& name) const;
    const Group* getGroup(const QualifiedName& name) const;
    const AttributeGroup* getAttributeGroup(const QualifiedName& name) const;
    // The global element of the name as this schema's types table sees it:
    // its own declaration, or an imported schema's, copied here once with
    // its type given an id of this table. Null when not found.
    const Element* getElementWithLocalType(const QualifiedName& name);

    // Imported schemas: one record per namespace, which names the schema
    // registered last; a namespace may be spread over several schemas.
    int getImportIndex(const std::string& ns) const;
    const std::vector<ImportedSchema>& getImports() const { return importedSchemas_; }
    // Every schema registered here for the namespace, in order of registration.
    const std::vector<SchemaParser*>& getImportParsers(const std::string& ns) const;
    // Registers a loaded schema under its target namespace, beside any other
    // schema of that namespace registered before.
    bool addImport(SchemaParser* parser);
    // Registers a namespace and, given a location, loads its schema there.
    bool addImport(std::string ns, std::string location);
    // From now on each import record the schema gains appends position to
    // journal: the owner of many schemas learns which ones gained records
    // since it last looked without asking every one.
    void setRecordJournal(std::vector<std::size_t>* journal, std::size_t position);

    // Level 0 throws SchemaParserException; levels 1 and 2 are logged.
    void error(const std::string& message, int level) const;
    // The same, about another spot than the one being read.
    void errorAt(const SourceSpot& spot, const std::string& message, int level) const;
    // Where the reader stands: this schema's document, line and column.
    SourceSpot spot() const;

private:
    struct ImportSession;

    // A declaration found here or in an imported schema, with the schema
    // whose table its type ids belong to.
    template <typename Declaration>
    struct Found {
        const Declaration* declaration = nullptr;
        const SchemaParser* owner = nullptr;
    };

    void init();
    ImportSession& session();
    void closeDocument();
    bool readSchemaElement(const std::string& includedFrom);
    void readSchemaAttributes(const std::string& includedFrom);
    void readTargetNamespace(const std::string& value, const std::string& includedFrom);
    bool parseSchema(const std::string& closingTag);
    void readSchemaContent(const std::string& closingTag);
    void parseTopLevel(const std::string& tag);
    bool parseImport();
    void importFrom(const std::string& ns, const std::string& location);
    bool parseInclude();
    void includeSchema();
    bool readIncluded(const std::string& location, const std::string& fileName);
    void parseRedefine();
    void checkNesting(const std::string& location);
    void failNested(const std::string& message);
    SchemaParser* findSessionParser(const std::string& location);
    void registerKnownImport(SchemaParser& imported);
    SchemaParser& createImportParser(const std::string& ns, const std::string& location,
                                     const std::string& fileName);
    bool finalizeImports();
    bool finalizeOwn();
    void logFailure(const SchemaParserException& failure) const;
    bool readOwnDocument();
    // Where a name was first written, for messages about it that come later.
    int lookUpTypeId(const QualifiedName& name, bool create);
    void recordReferenceSpot(const QualifiedName& name);
    SourceSpot referenceSpot(const QualifiedName& name) const;
    void reportUndefinedTypes() const;
    // The loaded schemas of a namespace: those registered here, else those
    // of the schema that imported this one.
    const std::vector<SchemaParser*>& parsersOf(const std::string& ns) const;
    bool hasImports() const;
    bool knowsNamespace(const std::string& ns) const;
    bool waitsForOtherSchema(const QualifiedName& reference) const;
    void noteReferencedNamespace(const QualifiedName& reference);
    void settleOwnTypes();
    std::ostream& log() const { return *errorLog_.getStream(); }

    // Content models, groups, wildcards, constraints, simple types.
    void parseAnnotation();
    void parseContent(ContentModel& model);
    Element parseAny(ContentModel& model);
    Attribute parseAnyAttribute(ComplexType* type);
    Group parseGroup(ContentModel* model);
    std::unique_ptr<IdentityConstraint> parseConstraint(int kind);
    std::unique_ptr<SimpleType> parseSimpleType();
    void parseSimpleRestriction(SimpleType& type);
    std::optional<int> readBaseType(const std::string& context, const std::string& otherAttribute,
                                    int otherAttributeLevel);
    void parseRestriction(SimpleType& type, ComplexType* complexType);
    void parseFacet(SimpleType& type);
    int facetsOfBase(const std::string& written, int baseId) const;
    void parseUnion(SimpleType& type);
    void parseList(SimpleType& type);
    // final: the last chance (finalize); before it, references to a
    // namespace no loaded schema serves yet wait without a message.
    // True when every reference is settled.
    bool resolveForwardElementRefs(bool final);
    bool resolveForwardAttributeRefs(bool final);
    // The attribute groups types named before their definitions.
    void settleAttributeGroupRefs();
    bool hasPendingReferences() const;
    template <typename Declaration, typename SettleAll>
    std::vector<QualifiedName> settleForwardRefs(const std::vector<QualifiedName>& references,
                                                 Found<Declaration> (SchemaParser::*lookUp)(const QualifiedName&)
                                                     const,
                                                 SettleAll settleAll);
    template <typename Message>
    bool reportUnresolved(const std::vector<QualifiedName>& missing, bool final, Message message) const;

    // Declarations.
    // global: a declaration at the top of the schema, whose name is always qualified.
    // pendingAt: where the list of references waiting for their declaration
    // holds the one the element is written as, if it waits.
    Element parseElement(std::optional<std::size_t>& pendingAt, bool global = false);
    // Settles the particles that wait for a global element just declared.
    void settleWaitingFor(const Element& declaration);
    Attribute parseAttribute(bool& fwdRef, bool global = false);
    int addAnonymousType(std::unique_ptr<XsdType> type, SharedText& typeNamespace);
    void readValueConstraint(const std::string& attribute, const std::string& value, std::string& defaultValue,
                             std::string& fixedValue, const std::string& declaration) const;

    // Complex types.
    std::unique_ptr<ComplexType> parseComplexType();
    void parseSimpleContent(ComplexType& type);
    void parseSimpleContentRestriction(ComplexType& type);
    void parseSimpleContentExtension(ComplexType& type);
    void parseComplexContent(ComplexType& type);
    bool parseAttributeParticle(ComplexType& type);
    Found<AttributeGroup> parseAttributeGroup(std::unique_ptr<AttributeGroup>& defined);
    template <typename Target>
    void takeAttributes(const Found<AttributeGroup>& group, Target& target);
    void addAttributeGroup(ComplexType& type);
    bool processSoapArray(ComplexType& type);

    // Reading helpers.
    static bool advanceToSchema(XmlPullParser& reader);
    static int compositorOf(std::string_view tag);
    int nextTag();
    bool atEndTag(std::string_view name) const;
    bool atStartTag(std::string_view name) const;
    bool atEndTag() const;
    void skipAnnotations();
    void skipElement();
    void skipTo(const std::string& endTag);
    std::string tagName() const;
    std::optional<std::string> attribute(std::string_view name) const;
    int readInt(const std::string& text) const;
    int readMaxOccurs(const std::string& text) const;
    int readCheckedMaxOccurs(const std::string& text) const;
    QualifiedName prefixedName(const std::string& text) const;

    bool importsNoNamespace() const;
    template <typename Result>
    Found<Result> findDeclaration(const QualifiedName& name,
                                  const DeclarationIndex<Result> SchemaParser::*index) const;
    Found<Element> findElement(const QualifiedName& name) const;
    Found<Attribute> findAttribute(const QualifiedName& name) const;
    Found<AttributeGroup> findAttributeGroup(const QualifiedName& name) const;
    // The id this table uses for a type id of another schema's table; and
    // declarations of that schema, retyped so.
    int importTypeId(const SchemaParser& owner, int typeId);
    Element importDeclaration(const SchemaParser& owner, const Element& declaration);
    Attribute importDeclaration(const SchemaParser& owner, const Attribute& declaration);
    bool isExternalId(int typeId) const;
    void addRecord(SchemaParser* parser, const std::string& ns);
    const SchemaParser* ownerOf(const XsdType& type) const;
    int basicContentType(int typeId, int schemasLeft) const;

    // What another schema reads of this one to look a type up (the target
    // namespace and the table), first and side by side: with thousands of
    // imports each look-up meets them out of cache.
    std::string tnsUri_;
    TypeTable typesTable_;
    // What finalize reads of every schema, next: with thousands of imports it
    // meets each out of cache.
    // Types of the table that name an attribute group not defined yet: with
    // none, settling them spares a walk over every type.
    std::size_t attributeGroupRefsWaiting_ = 0;
    // Set when an import met a schema still being read (a cycle): its types
    // and references are settled by finalize instead of at the end of the parse.
    bool awaitsSchemaInProgress_ = false;
    PendingElementRefs pendingElementRefs_;
    std::vector<QualifiedName> lForwardAttributeRefs_;
    // The namespaces of this schema's declarations and types, one string each.
    SharedTextPool namespaces_;
    std::string tnsPrefix_;
    std::string version_;
    XmlPullParser* xpp_ = nullptr;
    bool elementQualified_ = false;
    bool attributeQualified_ = false;
    bool resolveFwdRefs_ = true;
    // The document stream and the reader this parser made over it; the
    // reader goes first.
    std::unique_ptr<std::ifstream> xmlStream_;
    std::unique_ptr<XmlPullParser> ownedParser_;
    std::list<Element> lElems_;
    std::list<Attribute> lAttributes_;
    std::list<Group> lGroups_;
    std::vector<std::unique_ptr<AttributeGroup>> lAttributeGroups_;
    std::vector<std::unique_ptr<IdentityConstraint>> constraints_;
    // The global declarations above by name, for look-ups of references.
    DeclarationIndex<Element> elementIndex_;
    DeclarationIndex<Attribute> attributeIndex_;
    DeclarationIndex<Group> groupIndex_;
    DeclarationIndex<AttributeGroup> attributeGroupIndex_;
    // Imported schemas' global elements retyped for this table, by original.
    std::list<Element> borrowedElements_;
    std::unordered_map<const Element*, const Element*> borrowedByOriginal_;
    std::vector<ImportedSchema> importedSchemas_;
    std::vector<std::size_t>* recordJournal_ = nullptr;
    std::size_t journalPosition_ = 0;
    // Every loaded parser registered for a namespace, in order of registration.
    struct NamespaceImports {
        std::size_t record = 0;
        std::vector<SchemaParser*> parsers;
    };
    // By namespace (the name's second part empty): a schema importing
    // thousands looks them up in one run of slots and the entry, where a
    // node-based map read a bucket and a chain of nodes, each out of cache.
    NameKeyMap<NamespaceImports> importsByNs_;
    // The schema whose import created this one: the namespaces it knows are
    // known here too.
    const SchemaParser* importedBy_ = nullptr;
    // The parsers created for this schema's imports; records point into them.
    std::vector<std::unique_ptr<SchemaParser>> ownedImports_;
    SchemaErrorLog errorLog_;
    std::string schemaPath_;
    std::string uri_;

    // The location this parser reads (empty inside another document), the
    // locations included into it while it reads, and the parsers of one
    // parse by location.
    std::string location_;
    std::string readingFrom_;
    std::set<std::string> includedLocations_;
    std::shared_ptr<ImportSession> session_;
    bool reading_ = false;
    bool loaded_ = false;
    // Guards cross-schema look-ups against registrations that go round.
    mutable bool lookingUp_ = false;
    // Where each name was first referenced, for reporting it when it stays undefined.
    ReferenceSpots referenceSpots_;
    // Why a document of its own could not be read, for parseSchemaTag to tell.
    std::string unreadable_;
    static constexpr const char* NoSchema = "no schema element in the document";
};

} // namespace Schema

#endif
