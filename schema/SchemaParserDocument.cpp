// Whole schema documents: the "schema" element and its children, imports,
// includes and redefines.

#include "schema/SchemaParser.h"

#include "schema/ComplexType.h"
#include "net/DocumentLocation.h"
#include "net/FetchUri.h"
#include "schema/ScopedValue.h"
#include "schema/SchemaConstants.h"
#include "schema/SimpleType.h"
#include "schema/XmlNamespace.h"
#include "xml/XmlPullParser.h"
#include "xml/XmlPullParserException.h"

#include <unordered_map>
#include <utility>

namespace Schema {

// The schemas one parse reads, by location: a location is read once, so
// imports that go round end at a schema already known.
struct SchemaParser::ImportSession {
    std::unordered_map<std::string, SchemaParser*> parsers;
    // Documents being read inside one another (includes, imports and
    // redefines alike), and the message of one read too deep, which every
    // document around it fails with.
    int depth = 0;
    std::string tooDeep;
};

namespace {

// Chains of documents that name ever new locations (a server can make them
// up) end here rather than on the stack's end.
constexpr int MaxSchemaNesting = 32;

void readFormDefault(const std::string& value, bool& qualified)
{
    if (value == "qualified")
        qualified = true;
    else if (value == "unqualified")
        qualified = false;
}

} // namespace

SchemaParser::ImportSession& SchemaParser::session()
{
    if (!session_)
        session_ = std::make_shared<ImportSession>();
    return *session_;
}

SchemaParser* SchemaParser::findSessionParser(const std::string& location)
{
    const auto known = session().parsers.find(location);
    return known == session().parsers.end() ? nullptr : known->second;
}

bool SchemaParser::parseSchemaTag()
{
    if (xpp_ == nullptr) {
        if (!unreadable_.empty())
            log() << unreadable_ << "\n";
        unreadable_.clear();
        return false;
    }
    if (!location_.empty()) {
        session().parsers.emplace(location_, this);
        includedLocations_.insert(location_);
    }
    if (session().depth == 0)
        session().tooDeep.clear(); // a parse of its own
    const ScopedValue<bool> reading(reading_, true);
    try {
        loaded_ = ownedParser_ ? readOwnDocument() : readSchemaElement(std::string());
    } catch (...) {
        closeDocument();
        throw;
    }
    closeDocument();
    return loaded_;
}

// A document of its own that is no well-formed XML is reported here, where
// its name is known, and fails like any other fault in it.
bool SchemaParser::readOwnDocument()
{
    try {
        return readSchemaElement(std::string());
    } catch (const XmlPullParserException& failure) {
        log() << locatedMessage(SourceSpot{readingFrom_, failure.line, failure.column}, failure.description) << "\n";
        return false;
    }
}

// A schema with many imports would otherwise hold a file per import until
// the whole parse ends, and run out of them; and each imported schema kept
// its reader and the locations it included, which no look-up reads again.
void SchemaParser::closeDocument()
{
    includedLocations_.clear();
    if (!ownedParser_)
        return;
    xpp_ = nullptr;
    ownedParser_.reset();
    xmlStream_.reset();
}

// includedFrom: the location of a document read into this schema; empty for
// the schema's own document.
bool SchemaParser::readSchemaElement(const std::string& includedFrom)
{
    while (xpp_->getEventType() != XmlPullParser::START_TAG && xpp_->getEventType() != XmlPullParser::END_DOCUMENT)
        xpp_->next();
    xpp_->require(XmlPullParser::START_TAG, SchemaUri, "schema");
    readSchemaAttributes(includedFrom);
    typesTable_.setTargetNamespace(tnsUri_);
    xpp_->nextTag();
    return parseSchema("schema");
}

void SchemaParser::readSchemaAttributes(const std::string& includedFrom)
{
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        const std::string& name = xpp_->getAttributeName(i);
        const std::string& value = xpp_->getAttributeValue(i);
        if (name == "targetNamespace")
            readTargetNamespace(value, includedFrom);
        else if (name == "version")
            version_ = value;
        else if (name == "elementFormDefault")
            readFormDefault(value, elementQualified_);
        else if (name == "attributeFormDefault")
            readFormDefault(value, attributeQualified_);
    }
    // From the last declaration to the first, so that the first one wins.
    const int depth = xpp_->getDepth();
    for (int i = xpp_->getNamespaceCount(depth) - 1; i >= xpp_->getNamespaceCount(depth - 1); --i) {
        if (xpp_->getNamespaceUri(i) == tnsUri_)
            tnsPrefix_ = xpp_->getNamespacePrefix(i);
    }
}

// An included document without a namespace of its own takes the including
// one's; a document of another namespace cannot be included.
void SchemaParser::readTargetNamespace(const std::string& value, const std::string& includedFrom)
{
    if (includedFrom.empty())
        tnsUri_ = value;
    else if (!value.empty() && value != tnsUri_)
        error("The included schema " + includedFrom + " has the targetNamespace " + value + ", not " + tnsUri_, 0);
}

bool SchemaParser::parseSchema(const std::string& closingTag)
{
    try {
        readSchemaContent(closingTag);
        return true;
    } catch (const SchemaParserException& failure) {
        logFailure(failure);
        return false;
    }
}

void SchemaParser::readSchemaContent(const std::string& closingTag)
{
    for (;;) {
        const int event = xpp_->getEventType();
        if (event == XmlPullParser::END_DOCUMENT)
            error("Unexpected end of document", 0);
        if (event == XmlPullParser::END_TAG && tagName() == closingTag)
            break;
        if (event == XmlPullParser::START_TAG)
            parseTopLevel(tagName());
        nextTag();
    }
    // A schema read into another one (include, redefine) leaves the checks
    // to the end of the outer schema, when everything it names is known.
    if (!resolveFwdRefs_)
        return;
    settleAttributeGroupRefs();
    if (!hasImports() && typesTable_.detectUndefinedTypes()) {
        reportUndefinedTypes();
        log().flush();
        error("Undefined Types in namespace " + tnsUri_, 0);
    }
    if (awaitsSchemaInProgress_)
        return; // finalize settles them once that schema is complete
    resolveForwardElementRefs(false);
    resolveForwardAttributeRefs(false);
}

void SchemaParser::parseTopLevel(const std::string& tag)
{
    bool fwdRef = false;
    if (tag == "element") {
        std::optional<std::size_t> pendingAt;
        lElems_.push_back(parseElement(pendingAt, true));
        elementIndex_.add(lElems_.back());
        settleWaitingFor(lElems_.back());
    } else if (tag == "complexType") {
        typesTable_.addType(parseComplexType());
    } else if (tag == "simpleType") {
        typesTable_.addType(parseSimpleType());
    } else if (tag == "attribute") {
        lAttributes_.push_back(parseAttribute(fwdRef, true));
        attributeIndex_.add(lAttributes_.back());
    } else if (tag == "annotation") {
        parseAnnotation();
    } else if (tag == "import") {
        parseImport();
    } else if (tag == "include") {
        parseInclude();
    } else if (tag == "attributeGroup") {
        // Only a definition is kept: a reference names a group the list holds already.
        std::unique_ptr<AttributeGroup> defined;
        parseAttributeGroup(defined);
        if (defined) {
            lAttributeGroups_.push_back(std::move(defined));
            attributeGroupIndex_.add(*lAttributeGroups_.back());
        }
    } else if (tag == "group") {
        lGroups_.push_back(parseGroup(nullptr));
        groupIndex_.add(lGroups_.back());
    } else if (tag == "key") {
        constraints_.push_back(parseConstraint(IdentityConstraint::Key));
    } else if (tag == "keyref") {
        constraints_.push_back(parseConstraint(IdentityConstraint::KeyRef));
    } else if (tag == "unique") {
        constraints_.push_back(parseConstraint(IdentityConstraint::Unique));
    } else if (tag == "redefine") {
        parseRedefine();
    } else {
        error("Unknown element " + tag, 1);
        skipElement();
    }
}

bool SchemaParser::parseImport()
{
    const std::string ns = xpp_->getAttributeValue("", "namespace");
    if (ns == tnsUri_)
        return parseInclude();
    const std::string location = resolveLocation(uri_, xpp_->getAttributeValue("", "schemaLocation"));
    if (!location.empty() && ns != XmlUri)
        importFrom(ns, location);
    else
        addImport(ns, std::string());
    error("Imported namespace " + ns + "  from " + location, 2);
    if (location.empty())
        error("No location supplied for the import", 2);
    nextTag();
    skipTo("import");
    return true;
}

void SchemaParser::importFrom(const std::string& ns, const std::string& location)
{
    if (SchemaParser* known = findSessionParser(location)) {
        if (!known->reading_ && !known->loaded_)
            error("Error while parsing imported namespace " + ns, 0);
        registerKnownImport(*known);
        return;
    }
    checkNesting(location);
    std::string fileName;
    std::string failure;
    if (!fetchUri(localPathOf(location), fileName, failure))
        error("could not import namespace from location " + location + ": " + failure, 0);
    SchemaParser& imported = createImportParser(ns, location, fileName);
    // It knows every namespace this schema knows, without a copy of them.
    imported.importedBy_ = this;
    const ScopedValue<int> nested(session().depth, session().depth + 1);
    if (!imported.parseSchemaTag())
        failNested("Error while parsing imported namespace " + ns);
    addImport(&imported);
}

void SchemaParser::registerKnownImport(SchemaParser& imported)
{
    addImport(&imported);
    if (imported.reading_ && &imported != this)
        awaitsSchemaInProgress_ = true;
}

SchemaParser& SchemaParser::createImportParser(const std::string& ns, const std::string& location,
                                               const std::string& fileName)
{
    // Its messages go where this parser's go.
    auto imported = std::make_unique<SchemaParser>(fileName, ns, log(), std::string());
    // Its own relative locations are relative to its own folder.
    imported->setUri(baseLocationOf(location));
    imported->location_ = location;
    imported->readingFrom_ = location;
    session().parsers.emplace(location, imported.get());
    imported->session_ = session_;
    ownedImports_.push_back(std::move(imported));
    return *ownedImports_.back();
}

bool SchemaParser::parseInclude()
{
    const std::string tag = tagName(); // "include", or "import" of this namespace
    includeSchema();
    nextTag();
    skipTo(tag);
    return true;
}

void SchemaParser::includeSchema()
{
    std::string location = xpp_->getAttributeValue("", "schemaLocation");
    if (location.empty())
        error("schemaLocation is a required attribute for <include>", 0);
    location = resolveLocation(uri_, location);
    // A document is included once; includes that go round end here.
    if (includedLocations_.insert(location).second) {
        checkNesting(location);
        std::string fileName;
        std::string failure;
        if (!fetchUri(localPathOf(location), fileName, failure))
            error("Error while opening the included schema " + location + ": " + failure, 0);
        const ScopedValue<int> nested(session().depth, session().depth + 1);
        bool read = false;
        try {
            read = readIncluded(location, fileName);
        } catch (const XmlPullParserException& failure) {
            log() << locatedMessage(SourceSpot{location, failure.line, failure.column}, failure.description) << "\n";
        }
        if (!read)
            failNested("Error while parsing the included schema " + location);
    }
}

// Reads the included schema into this parser with a reader of its own; the
// previous reader, base location and resolution flag, and what describes the
// including document, come back however the reading ends.
bool SchemaParser::readIncluded(const std::string& location, const std::string& fileName)
{
    std::ifstream stream(fileName, std::ios::binary);
    XmlPullParser reader(stream);
    reader.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
    if (!stream.is_open() || !advanceToSchema(reader)) {
        log() << locatedMessage(SourceSpot{location, reader.getLineNumber(), reader.getColumnNumber()}, NoSchema)
              << "\n";
        return false;
    }
    const ScopedValue<XmlPullParser*> reading(xpp_, &reader);
    const ScopedValue<std::string> base(uri_, baseLocationOf(location));
    const ScopedValue<std::string> document(readingFrom_, location);
    const ScopedValue<bool> nested(resolveFwdRefs_, false);
    const ScopedValue<std::string> ns(tnsUri_, tnsUri_);
    const ScopedValue<std::string> prefix(tnsPrefix_, tnsPrefix_);
    const ScopedValue<std::string> version(version_, version_);
    const ScopedValue<bool> elementForm(elementQualified_, elementQualified_);
    const ScopedValue<bool> attributeForm(attributeQualified_, attributeQualified_);
    return readSchemaElement(location);
}

void SchemaParser::parseRedefine()
{
    includeSchema();
    nextTag();
    const ScopedValue<bool> nested(resolveFwdRefs_, false);
    readSchemaContent("redefine");
}

// One bound for every kind of nesting, counted over the whole parse.
void SchemaParser::checkNesting(const std::string& location)
{
    ImportSession& current = session();
    if (current.depth < MaxSchemaNesting)
        return;
    current.tooDeep = "Schema documents nested more than " + std::to_string(MaxSchemaNesting) + " deep at " + location;
    error(current.tooDeep, 0);
}

// A nested document failed: the documents around one read too deep say so
// too, so that the outermost log tells why.
void SchemaParser::failNested(const std::string& message)
{
    error(session().tooDeep.empty() ? message : session().tooDeep, 0);
}

} // namespace Schema
