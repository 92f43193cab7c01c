// The schema parser object: construction, type ids across schemas,
// look-ups of declarations, the imported-schema records and finalize.

#include "schema/SchemaParser.h"

#include "schema/ComplexType.h"
#include "net/DocumentLocation.h"
#include "net/FetchUri.h"
#include "schema/ScopedValue.h"
#include "schema/SchemaConstants.h"
#include "schema/XmlNamespace.h"
#include "xml/XmlPullParser.h"
#include "xml/XmlPullParserException.h"
#include "schema/XsdType.h"

#include <algorithm>
#include <ostream>
#include <sstream>
#include <utility>

namespace Schema {

namespace {

// How many schemas a chain of borrowed base types may pass through.
constexpr int MaxSchemaHops = 64;

NameKeyView namespaceKey(const std::string& ns)
{
    return NameKeyView(ns, std::string_view());
}

} // namespace

SchemaParser::SchemaParser(XmlPullParser* parser, std::string targetNamespace, std::ostream& log,
                           const std::string& schemaDirectory)
    : tnsUri_(std::move(targetNamespace)), xpp_(parser), errorLog_(&log, 1), schemaPath_(schemaDirectory)
{
    init();
}

SchemaParser::SchemaParser(const std::string& uri, std::string targetNamespace, std::ostream& log,
                           const std::string& schemaDirectory)
    : tnsUri_(std::move(targetNamespace)),
      errorLog_(&log, 1),
      schemaPath_(schemaDirectory),
      location_(resolveLocation(std::string(), uri))
{
    std::string fileName;
    std::string failure;
    if (!fetchUri(localPathOf(uri), fileName, failure)) {
        unreadable_ = locatedMessage(SourceSpot{location_, 0, 0}, "could not be opened: " + failure);
    } else {
        xmlStream_ = std::make_unique<std::ifstream>(fileName, std::ios::binary);
        auto reader = std::make_unique<XmlPullParser>(*xmlStream_);
        reader->setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
        reader->require(XmlPullParser::START_DOCUMENT, "", "");
        // What stands before the schema (an error page, say) is reported by parseSchemaTag.
        try {
            if (xmlStream_->is_open() && advanceToSchema(*reader)) {
                ownedParser_ = std::move(reader);
                xpp_ = ownedParser_.get();
            } else if (xmlStream_->is_open()) {
                unreadable_ = locatedMessage(SourceSpot{location_, reader->getLineNumber(), reader->getColumnNumber()},
                                             NoSchema);
            }
        } catch (const XmlPullParserException& failure) {
            unreadable_ = locatedMessage(SourceSpot{location_, failure.line, failure.column}, failure.description);
        }
    }
    if (xpp_ == nullptr)
        xmlStream_.reset();
    init();
    uri_ = baseLocationOf(uri);
    readingFrom_ = location_;
}

SchemaParser::~SchemaParser() = default;

void SchemaParser::init()
{
    lElems_.clear();
    lAttributes_.clear();
    lAttributeGroups_.clear();
    importedSchemas_.clear();
    importsByNs_.clear();
    constraints_.clear();
    elementIndex_.clear();
    attributeIndex_.clear();
    attributeGroupIndex_.clear();
    if (schemaPath_.empty())
        schemaPath_ = "src/schemas";
    lElems_.emplace_back("schema", namespaces_.intern(SchemaUri), XSD_SCHEMA, 1, 1, false, std::string(), std::string());
    elementIndex_.add(lElems_.back());
}

void SchemaParser::error(const std::string& message, int level) const
{
    errorAt(spot(), message, level);
}

void SchemaParser::errorAt(const SourceSpot& at, const std::string& message, int level) const
{
    errorLog_.error(message, level, at.line, at.column, at.document);
}

SourceSpot SchemaParser::spot() const
{
    SourceSpot here{readingFrom_, 0, 0};
    if (xpp_ != nullptr) {
        here.line = xpp_->getLineNumber();
        here.column = xpp_->getColumnNumber();
    }
    return here;
}

// One line per message: the exception's closing text stays with the exception.
void SchemaParser::logFailure(const SchemaParserException& failure) const
{
    std::string text = failure.getDescription();
    const std::string::size_type end = text.find('\n');
    if (end != std::string::npos)
        text.erase(end);
    // A failure of the model's own checks knows no position: it is where the reader stands.
    const SourceSpot at = failure.getLine() > 0 ? SourceSpot{failure.getDocument(), failure.getLine(), failure.getColumn()}
                                                : spot();
    log() << locatedMessage(at, text) << "\n";
}

void SchemaParser::recordReferenceSpot(const QualifiedName& name)
{
    if (xpp_ == nullptr)
        return;
    referenceSpots_.recordFirst(name.key(), readingFrom_,
                                [this] { return std::make_pair(xpp_->getLineNumber(), xpp_->getColumnNumber()); });
}

SourceSpot SchemaParser::referenceSpot(const QualifiedName& name) const
{
    const std::optional<SourceSpot> found = referenceSpots_.find(name.key());
    return found ? *found : spot();
}

// Each type of this namespace that is named and nowhere defined, where it is named.
void SchemaParser::reportUndefinedTypes() const
{
    for (const QualifiedName& name : typesTable_.getUndefinedTypeNames()) {
        if (name.getNamespace() == tnsUri_)
            log() << locatedMessage(referenceSpot(name), "Could not find {" + tnsUri_ + "}:" + name.getLocalName())
                  << "\n";
    }
}

XsdType* SchemaParser::getType(int typeId) const
{
    return typesTable_.getTypePtr(typeId);
}

bool SchemaParser::isBasicType(int typeId)
{
    return typeId >= XSD_SCHEMA && typeId < FIRST_USER_TYPE;
}

// Only a reference that finds no type yet keeps its spot: a type found now
// stays, so its name can never be the one a message reports undefined, and
// the spots of the many names that resolve at once were a large share of the
// parse's scattered writes.
int SchemaParser::getTypeId(const QualifiedName& name, bool create)
{
    const int id = lookUpTypeId(name, create);
    if (create && !isBasicType(id) && getType(id) == nullptr)
        recordReferenceSpot(name);
    return id;
}

int SchemaParser::lookUpTypeId(const QualifiedName& name, bool create)
{
    const std::string& ns = name.getNamespace();
    if (ns.empty() || ns == tnsUri_ || ns == SchemaUri)
        return typesTable_.getDeclaredTypeId(name, create);
    if (!hasImports())
        return create ? typesTable_.addExternalTypeId(name, nullptr) : XSD_INVALID;
    if (lookingUp_)
        return XSD_INVALID;
    const ScopedValue<bool> busy(lookingUp_, true);
    const std::vector<SchemaParser*>& parsers = parsersOf(ns);
    // Named in one of them but not defined yet, or a schema still being read
    // (an import cycle) may define it yet: finalize settles the id.
    bool named = false;
    bool beingRead = false;
    for (SchemaParser* other : parsers) {
        const int otherId = other->getTypeId(name, false);
        if (otherId == XSD_INVALID) {
            beingRead = beingRead || other->reading_;
            continue;
        }
        if (XsdType* type = other->getType(otherId))
            return typesTable_.addExternalTypeId(name, type);
        named = true;
    }
    if (!parsers.empty())
        return named || (create && beingRead) ? typesTable_.addExternalTypeId(name, nullptr) : XSD_INVALID;
    if (!create)
        return XSD_INVALID;
    addImport(ns, std::string());
    return typesTable_.addExternalTypeId(name, nullptr);
}

bool SchemaParser::isExternalId(int typeId) const
{
    return typesTable_.isExternal(typeId);
}

SchemaParser* SchemaParser::tableOf(int typeId)
{
    const XsdType* type = getType(typeId);
    if (type == nullptr || !isExternalId(typeId))
        return this;
    // The schemas are the document's, none of them read-only.
    return const_cast<SchemaParser*>(ownerOf(*type));
}

// The schema that defines a borrowed type: an import, or one further down
// when the type was borrowed through a declaration of an import.
const SchemaParser* SchemaParser::ownerOf(const XsdType& type) const
{
    if (lookingUp_)
        return nullptr;
    const ScopedValue<bool> busy(lookingUp_, true);
    for (const SchemaParser* parser : parsersOf(type.getNamespace())) {
        if (parser->getType(type.getTypeId()) == &type && !parser->isExternalId(type.getTypeId()))
            return parser;
    }
    for (const ImportedSchema& imported : importedSchemas_) {
        for (const SchemaParser* parser : importsByNs_.find(namespaceKey(imported.ns))->parsers) {
            if (const SchemaParser* owner = parser->ownerOf(type))
                return owner;
        }
    }
    return importedBy_ != nullptr ? importedBy_->ownerOf(type) : nullptr;
}

int SchemaParser::getBasicContentType(int typeId) const
{
    return basicContentType(typeId, MaxSchemaHops);
}

// A type borrowed from another schema names its base with that schema's ids,
// so the walk goes on in that schema.
int SchemaParser::basicContentType(int typeId, int schemasLeft) const
{
    for (int step = 0; step <= getNumTypes(); ++step) {
        const XsdType* type = getType(typeId);
        if (type == nullptr)
            return typeId;
        if (isExternalId(typeId)) {
            const SchemaParser* owner = ownerOf(*type);
            return owner != nullptr && schemasLeft > 0
                ? owner->basicContentType(type->getTypeId(), schemasLeft - 1)
                : XSD_INVALID;
        }
        if (type->isSimple()) {
            typeId = type->getBaseTypeId();
            continue;
        }
        if (type->getContentType() != XsdType::Simple)
            return XSD_INVALID;
        typeId = static_cast<const ComplexType*>(type)->getSimpleContentType();
    }
    return XSD_INVALID; // the bases go round
}

bool SchemaParser::importsNoNamespace() const
{
    return !parsersOf(std::string()).empty();
}

namespace {

// Only attributes are declared in the XML namespace.
template <typename Declaration>
const Declaration* xmlNamespaceDeclaration(const std::string&)
{
    return nullptr;
}

template <>
const Attribute* xmlNamespaceDeclaration<Attribute>(const std::string& localName)
{
    return xmlNamespaceAttribute(localName);
}

} // namespace

// A name without namespace is looked for here, unless a schema without
// target namespace is imported: then it names that schema's declarations.
// The "schema" element lies in the XML Schema namespace. A namespace split
// over several schemas is searched in each of them.
template <typename Result>
SchemaParser::Found<Result> SchemaParser::findDeclaration(const QualifiedName& name,
                                                          const DeclarationIndex<Result> SchemaParser::*index) const
{
    const bool ownNamespace = name.getNamespace().empty() && (tnsUri_.empty() || !importsNoNamespace());
    const std::string& ns = ownNamespace ? tnsUri_ : name.getNamespace();
    if (ns == tnsUri_ || ns == SchemaUri) {
        const Found<Result> own{(this->*index).find(name.getLocalName()), this};
        if (own.declaration != nullptr || ns == SchemaUri)
            return own;
    } else if (ns == XmlUri) {
        return Found<Result>{xmlNamespaceDeclaration<Result>(name.getLocalName()), this};
    }
    if (lookingUp_)
        return Found<Result>();
    const ScopedValue<bool> busy(lookingUp_, true);
    for (const SchemaParser* parser : parsersOf(ns)) {
        if (parser == this)
            continue;
        const Found<Result> found = parser->findDeclaration(name, index);
        if (found.declaration != nullptr)
            return found;
    }
    return Found<Result>();
}

SchemaParser::Found<Element> SchemaParser::findElement(const QualifiedName& name) const
{
    return findDeclaration(name, &SchemaParser::elementIndex_);
}

SchemaParser::Found<Attribute> SchemaParser::findAttribute(const QualifiedName& name) const
{
    return findDeclaration(name, &SchemaParser::attributeIndex_);
}

SchemaParser::Found<AttributeGroup> SchemaParser::findAttributeGroup(const QualifiedName& name) const
{
    return findDeclaration(name, &SchemaParser::attributeGroupIndex_);
}

const Element* SchemaParser::getElement(const QualifiedName& name) const
{
    return findElement(name).declaration;
}

const Element* SchemaParser::getElementWithLocalType(const QualifiedName& name)
{
    const Found<Element> found = findElement(name);
    if (found.declaration == nullptr || found.owner == this)
        return found.declaration;
    const auto known = borrowedByOriginal_.find(found.declaration);
    if (known != borrowedByOriginal_.end())
        return known->second;
    borrowedElements_.push_back(importDeclaration(*found.owner, *found.declaration));
    borrowedByOriginal_.emplace(found.declaration, &borrowedElements_.back());
    return &borrowedElements_.back();
}

const Attribute* SchemaParser::getAttribute(const QualifiedName& name) const
{
    return findAttribute(name).declaration;
}

const Group* SchemaParser::getGroup(const QualifiedName& name) const
{
    return findDeclaration(name, &SchemaParser::groupIndex_).declaration;
}

const AttributeGroup* SchemaParser::getAttributeGroup(const QualifiedName& name) const
{
    return findAttributeGroup(name).declaration;
}

// Built-in ids mean the same in every schema; an id of another table is
// only a number there, so the type it names gets an id of this table.
int SchemaParser::importTypeId(const SchemaParser& owner, int typeId)
{
    if (&owner == this || typeId < FIRST_USER_TYPE)
        return typeId;
    if (XsdType* type = owner.getType(typeId)) {
        if (getType(type->getTypeId()) == type)
            return type->getTypeId(); // ours, handed back through an import cycle
        return typesTable_.addExternalTypeId(type->getQName(), type);
    }
    // Named there but not defined yet: borrowed by name, as a name written
    // here would be, and settled by finalize.
    const QualifiedName name = owner.typesTable_.getTypeName(typeId);
    if (name.getLocalName().empty())
        return XSD_INVALID;
    if (name.getNamespace() == tnsUri_)
        return getTypeId(name, true);
    return typesTable_.addExternalTypeId(name, nullptr);
}

Element SchemaParser::importDeclaration(const SchemaParser& owner, const Element& declaration)
{
    Element taken(declaration);
    taken.setType(importTypeId(owner, declaration.getType()));
    return taken;
}

Attribute SchemaParser::importDeclaration(const SchemaParser& owner, const Attribute& declaration)
{
    Attribute taken(declaration);
    taken.setType(importTypeId(owner, declaration.getType()));
    return taken;
}

int SchemaParser::getImportIndex(const std::string& ns) const
{
    const NamespaceImports* known = importsByNs_.find(namespaceKey(ns));
    return known == nullptr ? -1 : static_cast<int>(known->record);
}

const std::vector<SchemaParser*>& SchemaParser::getImportParsers(const std::string& ns) const
{
    static const std::vector<SchemaParser*> none;
    const NamespaceImports* known = importsByNs_.find(namespaceKey(ns));
    return known != nullptr ? known->parsers : none;
}

const std::vector<SchemaParser*>& SchemaParser::parsersOf(const std::string& ns) const
{
    const std::vector<SchemaParser*>& own = getImportParsers(ns);
    if (!own.empty() || importedBy_ == nullptr)
        return own;
    return importedBy_->parsersOf(ns);
}

bool SchemaParser::hasImports() const
{
    return !importedSchemas_.empty() || (importedBy_ != nullptr && importedBy_->hasImports());
}

bool SchemaParser::knowsNamespace(const std::string& ns) const
{
    return getImportIndex(ns) != -1 || !parsersOf(ns).empty();
}

bool SchemaParser::addImport(SchemaParser* parser)
{
    if (parser == nullptr)
        return false;
    const std::string ns = parser->getNamespace();
    const auto entry = importsByNs_.emplace(namespaceKey(ns), NamespaceImports());
    NamespaceImports& known = *entry.first;
    if (entry.second) {
        known.record = importedSchemas_.size();
        addRecord(parser, ns);
    } else {
        importedSchemas_[known.record].sParser = parser;
    }
    if (std::find(known.parsers.begin(), known.parsers.end(), parser) == known.parsers.end())
        known.parsers.push_back(parser);
    return true;
}

void SchemaParser::setRecordJournal(std::vector<std::size_t>* journal, std::size_t position)
{
    recordJournal_ = journal;
    journalPosition_ = position;
}

void SchemaParser::addRecord(SchemaParser* parser, const std::string& ns)
{
    importedSchemas_.push_back(ImportedSchema{parser, ns});
    if (recordJournal_ != nullptr)
        recordJournal_->push_back(journalPosition_);
}

bool SchemaParser::addImport(std::string ns, std::string location)
{
    if (getImportIndex(ns) != -1)
        return true;
    importsByNs_.emplace(namespaceKey(ns), NamespaceImports{importedSchemas_.size(), {}});
    addRecord(nullptr, ns);
    // The XML namespace is known without a schema: nothing is fetched for it.
    if (location.empty() || ns == XmlUri)
        return true;
    location = resolveLocation(std::string(), location);
    if (SchemaParser* known = findSessionParser(location)) {
        registerKnownImport(*known);
        return known->reading_ || known->loaded_;
    }
    std::string fileName;
    if (!fetchUri(localPathOf(location), fileName))
        return false;
    SchemaParser& imported = createImportParser(ns, location, fileName);
    if (!imported.parseSchemaTag())
        return false;
    addImport(&imported);
    return true;
}

bool SchemaParser::finalize()
{
    const bool importsSettled = finalizeImports();
    return finalizeOwn() && importsSettled;
}

// Every imported schema settles what it names now that all are read: a type
// it names and nobody defines fails the parse like one of this schema.
bool SchemaParser::finalizeImports()
{
    bool settled = true;
    for (const auto& imported : ownedImports_) {
        settled = imported->finalizeImports() && settled;
        settled = imported->finalizeOwn() && settled;
    }
    return settled;
}

bool SchemaParser::hasPendingReferences() const
{
    return !pendingElementRefs_.empty() || !lForwardAttributeRefs_.empty();
}

bool SchemaParser::finalizeOwn()
{
    bool settled = true;
    settleAttributeGroupRefs(); // groups of a schema that is complete only now
    if (awaitsSchemaInProgress_ || hasPendingReferences()) {
        try {
            settled = resolveForwardElementRefs(true);
            settled = resolveForwardAttributeRefs(true) && settled;
        } catch (const SchemaParserException& failure) {
            logFailure(failure);
            settled = false;
        }
    }
    for (const TypeTable::ExternalRef& external : typesTable_.getExternalRefs()) {
        if (external.anonymous || getType(external.typeId) != nullptr)
            continue; // an anonymous one is held by its object since it was borrowed
        for (SchemaParser* other : parsersOf(external.name.getNamespace())) {
            const int otherId = other->getTypeId(external.name, false);
            if (XsdType* type = other->getType(otherId)) {
                typesTable_.resolveExternalType(type, external.typeId);
                break;
            }
        }
        // A type borrowed through a declaration of an import may lie in a
        // schema this one does not import; it is settled already.
        if (getType(external.typeId) == nullptr) {
            std::ostringstream name;
            name << external.name;
            log() << locatedMessage(referenceSpot(external.name), "Undefined type " + name.str()) << "\n";
        }
    }
    settleOwnTypes();
    if (typesTable_.detectUndefinedTypes()) {
        reportUndefinedTypes();
        log() << locatedMessage(spot(), "Unresolved types in namespace " + tnsUri_) << "\n";
        log().flush();
        return false;
    }
    return settled;
}

// Types of this namespace that another schema of the same namespace defines
// (one namespace split over several schema elements).
void SchemaParser::settleOwnTypes()
{
    // Most schemas define every type they name: each of thousands of imports
    // then spares a look-up in its importer's map of namespaces, out of cache.
    if (!typesTable_.detectUndefinedTypes())
        return;
    const std::vector<SchemaParser*>& siblings = parsersOf(tnsUri_);
    if (siblings.empty())
        return;
    for (const QualifiedName& name : typesTable_.getUndefinedTypeNames()) {
        if (name.getNamespace() != tnsUri_)
            continue;
        for (SchemaParser* sibling : siblings) {
            if (sibling == this)
                continue;
            if (XsdType* type = sibling->getType(sibling->getTypeId(name, false))) {
                typesTable_.adoptType(typesTable_.getTypeId(name, false), type);
                break;
            }
        }
    }
}

} // namespace Schema
