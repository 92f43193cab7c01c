// The schema parser object: construction, type ids across schemas,
// look-ups of declarations, the imported-schema records and finalize.

#include "schema/SchemaParser.h"

#include "schema/ComplexType.h"
#include "net/DocumentLocation.h"
#include "net/FetchUri.h"
#include "schema/ScopedValue.h"
#include "schema/SchemaConstants.h"
#include "xml/XmlPullParser.h"
#include "schema/XsdType.h"

#include <algorithm>
#include <ostream>
#include <utility>

namespace Schema {

namespace {

// How many schemas a chain of borrowed base types may pass through.
constexpr int MaxSchemaHops = 64;

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
    if (fetchUri(localPathOf(uri), fileName_)) {
        xmlStream_ = std::make_unique<std::ifstream>(fileName_, std::ios::binary);
        auto reader = std::make_unique<XmlPullParser>(*xmlStream_);
        reader->setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
        reader->require(XmlPullParser::START_DOCUMENT, "", "");
        if (xmlStream_->is_open() && advanceToSchema(*reader)) {
            ownedParser_ = std::move(reader);
            xpp_ = ownedParser_.get();
        }
    }
    if (xpp_ == nullptr)
        xmlStream_.reset();
    init();
    uri_ = baseLocationOf(uri);
}

SchemaParser::~SchemaParser() = default;

void SchemaParser::init()
{
    lElems_.clear();
    lAttributes_.clear();
    lAttributeGroups_.clear();
    importedSchemas_.clear();
    constraints_.clear();
    elementIndex_.clear();
    attributeIndex_.clear();
    attributeGroupIndex_.clear();
    if (schemaPath_.empty())
        schemaPath_ = "src/schemas";
    lElems_.emplace_back("schema", SchemaUri, XSD_SCHEMA, 1, 1, false, std::string(), std::string());
    elementIndex_.add(lElems_.back());
}

void SchemaParser::error(const std::string& message, int level) const
{
    const int line = xpp_ != nullptr ? xpp_->getLineNumber() : 0;
    const int column = xpp_ != nullptr ? xpp_->getColumnNumber() : 0;
    errorLog_.error(message, level, line, column);
}

void SchemaParser::logFailure(const SchemaParserException& failure) const
{
    const int line = xpp_ != nullptr ? xpp_->getLineNumber() : 0;
    const int column = xpp_ != nullptr ? xpp_->getColumnNumber() : 0;
    log() << failure.getDescription() << " at " << line << ":" << column << "\n";
}

XsdType* SchemaParser::getType(int typeId) const
{
    return typesTable_.getTypePtr(typeId);
}

bool SchemaParser::isBasicType(int typeId)
{
    return typeId >= XSD_SCHEMA && typeId < FIRST_USER_TYPE;
}

int SchemaParser::getTypeId(const QualifiedName& name, bool create)
{
    const std::string& ns = name.getNamespace();
    if (ns.empty() || ns == tnsUri_ || ns == SchemaUri)
        return typesTable_.getDeclaredTypeId(name, create);
    if (importedSchemas_.empty())
        return create ? typesTable_.addExternalTypeId(name, nullptr) : XSD_INVALID;
    if (lookingUp_)
        return XSD_INVALID;
    const ScopedValue<bool> busy(lookingUp_, true);
    for (const ImportedSchema& imported : importedSchemas_) {
        if (imported.ns != ns || imported.sParser == nullptr)
            continue;
        SchemaParser& other = *imported.sParser;
        const int otherId = other.getTypeId(name, false);
        if (otherId == XSD_INVALID) {
            // A schema still being read (an import cycle) may define it yet;
            // finalize settles the id.
            return create && other.reading_ ? typesTable_.addExternalTypeId(name, nullptr) : XSD_INVALID;
        }
        return typesTable_.addExternalTypeId(name, other.getType(otherId));
    }
    if (!create)
        return XSD_INVALID;
    addImport(ns, std::string());
    return typesTable_.addExternalTypeId(name, nullptr);
}

bool SchemaParser::isExternalId(int typeId) const
{
    for (const TypeTable::ExternalRef& external : typesTable_.getExternalRefs()) {
        if (external.typeId == typeId)
            return true;
    }
    return false;
}

// The schema that defines a borrowed type: an import, or one further down
// when the type was borrowed through a declaration of an import.
const SchemaParser* SchemaParser::ownerOf(const XsdType& type) const
{
    if (lookingUp_)
        return nullptr;
    const ScopedValue<bool> busy(lookingUp_, true);
    for (const ImportedSchema& imported : importedSchemas_) {
        const SchemaParser* parser = imported.sParser;
        if (parser != nullptr && imported.ns == type.getNamespace() && parser->getType(type.getTypeId()) == &type &&
            !parser->isExternalId(type.getTypeId()))
            return parser;
    }
    for (const ImportedSchema& imported : importedSchemas_) {
        if (imported.sParser == nullptr)
            continue;
        if (const SchemaParser* owner = imported.sParser->ownerOf(type))
            return owner;
    }
    return nullptr;
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
    return std::any_of(importedSchemas_.begin(), importedSchemas_.end(), [](const ImportedSchema& imported) {
        return imported.ns.empty() && imported.sParser != nullptr;
    });
}

// A name without namespace is looked for here, unless a schema without
// target namespace is imported: then it names that schema's declarations.
// The "schema" element lies in the XML Schema namespace.
template <typename Result>
SchemaParser::Found<Result> SchemaParser::findDeclaration(const QualifiedName& name,
                                                          const DeclarationIndex<Result> SchemaParser::*index) const
{
    const bool ownNamespace = name.getNamespace().empty() && (tnsUri_.empty() || !importsNoNamespace());
    const std::string& ns = ownNamespace ? tnsUri_ : name.getNamespace();
    if (ns == tnsUri_ || ns == SchemaUri)
        return Found<Result>{(this->*index).find(name.getLocalName()), this};
    if (lookingUp_)
        return Found<Result>();
    const ScopedValue<bool> busy(lookingUp_, true);
    for (const ImportedSchema& imported : importedSchemas_) {
        if (imported.ns == ns && imported.sParser != nullptr)
            return imported.sParser->findDeclaration(name, index);
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
    for (std::size_t i = 0; i < importedSchemas_.size(); ++i) {
        if (importedSchemas_[i].ns == ns)
            return static_cast<int>(i);
    }
    return -1;
}

bool SchemaParser::addImport(SchemaParser* parser)
{
    if (parser == nullptr)
        return false;
    const std::string ns = parser->getNamespace();
    const int index = getImportIndex(ns);
    if (index >= 0)
        importedSchemas_[static_cast<std::size_t>(index)].sParser = parser;
    else
        importedSchemas_.push_back(ImportedSchema{parser, ns});
    return true;
}

bool SchemaParser::addImport(std::string ns, std::string location)
{
    if (getImportIndex(ns) != -1)
        return true;
    importedSchemas_.push_back(ImportedSchema{nullptr, ns});
    if (location.empty())
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

// Parsers that imported a schema while it was still being read settle their
// references and types now that it is complete.
bool SchemaParser::finalizeImports()
{
    bool settled = true;
    for (const auto& imported : ownedImports_) {
        settled = imported->finalizeImports() && settled;
        if (imported->awaitsSchemaInProgress_)
            settled = imported->finalizeOwn() && settled;
    }
    return settled;
}

bool SchemaParser::finalizeOwn()
{
    bool settled = true;
    if (awaitsSchemaInProgress_) {
        try {
            resolveForwardElementRefs();
            resolveForwardAttributeRefs();
        } catch (const SchemaParserException& failure) {
            logFailure(failure);
            settled = false;
        }
    }
    for (const TypeTable::ExternalRef& external : typesTable_.getExternalRefs()) {
        if (external.anonymous)
            continue; // held by its object since it was borrowed; its name means nothing there
        bool found = false;
        for (const ImportedSchema& imported : importedSchemas_) {
            if (imported.ns != external.name.getNamespace() || imported.sParser == nullptr)
                continue;
            const int otherId = imported.sParser->getTypeId(external.name, false);
            if (otherId != XSD_INVALID) {
                typesTable_.resolveExternalType(imported.sParser->getType(otherId), external.typeId);
                found = true;
            }
        }
        // A type borrowed through a declaration of an import may lie in a
        // schema this one does not import; it is settled already.
        if (!found && getType(external.typeId) == nullptr)
            log() << "Undefined type " << external.name << "\n";
    }
    if (typesTable_.detectUndefinedTypes()) {
        typesTable_.printUndefinedTypes(log());
        log().flush();
        log() << "Unresolved types in namespace " << tnsUri_ << "\n";
        return false;
    }
    return settled;
}

} // namespace Schema
