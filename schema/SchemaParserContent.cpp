// The inner parts of a schema: annotations, model groups and their
// particles, wildcards, named groups, identity constraints, simple types,
// and the settling of references met before their declaration.

#include "schema/SchemaParser.h"

#include "schema/ComplexType.h"
#include "schema/ContentModel.h"
#include "schema/NameKeyMap.h"
#include "schema/SchemaConstants.h"
#include "schema/SimpleType.h"
#include "schema/XmlNamespace.h"
#include "xml/XmlPullParser.h"

#include <optional>
#include <sstream>
#include <utility>

namespace Schema {

void SchemaParser::parseAnnotation()
{
    skipElement();
}

void SchemaParser::parseContent(ContentModel& model)
{
    const std::optional<std::string> minOccurs = attribute("minOccurs");
    const std::optional<std::string> maxOccurs = attribute("maxOccurs");
    model.setMin(minOccurs ? readInt(*minOccurs) : 1);
    model.setMax(maxOccurs ? readMaxOccurs(*maxOccurs) : 1);
    nextTag();
    skipAnnotations();
    for (;; nextTag()) {
        // Compared before any branch reads on.
        const std::string_view tag = xpp_->getName();
        if (atEndTag()) {
            if (compositorOf(tag) >= 0)
                return;
            error("parseContent: Unexpected tag " + std::string(tag), 0);
        }
        if (tag == "element") {
            std::optional<std::size_t> pendingAt;
            Element& particle = model.addElement(parseElement(pendingAt));
            if (pendingAt)
                pendingElementRefs_.addParticle(*pendingAt, particle, model.lifeFlag());
        } else if (model.getCompositor() == ContentModel::All) {
            error("parseContent <all>:Syntax Error", 0);
        } else if (tag == "any") {
            parseAny(model);
        } else if (tag == "choice" || tag == "sequence") {
            // The nested model takes its place before its particles are read.
            parseContent(*model.addContentModel(std::make_unique<ContentModel>(compositorOf(tag))));
        } else if (tag == "group") {
            parseGroup(&model);
        } else if (tag == "annotation") {
            parseAnnotation();
        } else {
            error("parseContent: Unexpected tag " + std::string(tag), 0);
        }
    }
}

Element SchemaParser::parseAny(ContentModel& model)
{
    std::string ns;
    int minOccurs = 1;
    int maxOccurs = 1;
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        const std::string& name = xpp_->getAttributeName(i);
        const std::string& value = xpp_->getAttributeValue(i);
        if (name == "namespace")
            ns = value;
        else if (name == "minOccurs")
            minOccurs = readInt(value);
        else if (name == "maxOccurs")
            maxOccurs = readCheckedMaxOccurs(value);
        else if (name != "processContents" && name != "id")
            error("<any>:Unsupported Attribute " + name, 2);
    }
    nextTag();
    skipTo("any");
    const Element any(ns, namespaces_.intern(ns), XSD_ANY, minOccurs, maxOccurs, false, std::string(), std::string());
    model.addElement(any);
    return any;
}

Attribute SchemaParser::parseAnyAttribute(ComplexType* type)
{
    std::string ns;
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        const std::string& name = xpp_->getAttributeName(i);
        if (name == "namespace")
            ns = xpp_->getAttributeValue(i);
        else if (name != "processContents" && name != "id")
            error("<anyAttribute>:Unsupported Attribute " + name, 1);
    }
    const Attribute any(ns, XSD_ANY, true, std::string(), std::string(), false);
    if (type != nullptr)
        type->addAttribute(any);
    nextTag();
    skipAnnotations();
    return any;
}

Group SchemaParser::parseGroup(ContentModel* model)
{
    const std::optional<std::string> minText = attribute("minOccurs");
    const std::optional<std::string> maxText = attribute("maxOccurs");
    const int minOccurs = minText ? readInt(*minText) : 1;
    const int maxOccurs = maxText ? readMaxOccurs(*maxText) : 1;
    const std::string ref = xpp_->getAttributeValue("", "ref");
    if (ref.empty()) {
        Group group(xpp_->getAttributeValue("", "name"), minOccurs, maxOccurs);
        nextTag();
        skipAnnotations();
        const int compositor = atEndTag() ? -1 : compositorOf(tagName());
        if (compositor >= 0) {
            auto content = std::make_shared<ContentModel>(compositor);
            group.setContentModel(content);
            parseContent(*content);
            nextTag();
        }
        skipTo("group");
        if (model != nullptr)
            model->addGroup(group, false);
        return group;
    }
    // The namespace stays empty: this schema is searched by local name.
    const QualifiedName name(ref);
    nextTag();
    skipTo("group");
    // The occurrence belongs to the reference; the particles to the definition.
    Group group(name.getLocalName(), minOccurs, maxOccurs);
    if (const Group* definition = getGroup(name))
        group.setContentModel(definition->getSharedContentModel());
    group.setReference(true);
    if (model != nullptr)
        model->addGroup(group, true);
    return group;
}

std::unique_ptr<IdentityConstraint> SchemaParser::parseConstraint(int kind)
{
    static const char* const endTags[] = {"", "key", "keyref", "unique"};
    auto constraint = std::make_unique<IdentityConstraint>(kind);
    constraint->setName(xpp_->getAttributeValue("", "name"));
    for (;;) {
        nextTag();
        if (atEndTag(endTags[kind]))
            return constraint;
        if (atStartTag("selector"))
            constraint->setSelector(xpp_->getAttributeValue("", "xpath"));
        else if (atStartTag("field"))
            constraint->addField(xpp_->getAttributeValue("", "xpath"));
        else
            skipElement();
    }
}

std::unique_ptr<SimpleType> SchemaParser::parseSimpleType()
{
    auto type = std::make_unique<SimpleType>(namespaces_.intern(tnsUri_));
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        const std::string& name = xpp_->getAttributeName(i);
        if (name == "name")
            type->setName(xpp_->getAttributeValue(i));
        else
            error("<simpleType> :" + name + ":Unknown/Unsupported  attribute ", 2);
    }
    for (;;) {
        nextTag();
        if (atEndTag("simpleType"))
            return type;
        if (atEndTag())
            continue;
        const std::string tag = tagName();
        if (tag == "restriction")
            parseSimpleRestriction(*type);
        else if (tag == "union")
            parseUnion(*type);
        else if (tag == "list")
            parseList(*type);
        else if (tag == "annotation")
            parseAnnotation();
        else
            error("<simpleType>:Syntax error", 0);
    }
}

void SchemaParser::parseSimpleRestriction(SimpleType& type)
{
    if (const std::optional<int> baseId =
            readBaseType("<simpleType>:", ":Unknown/Unsupported  attribute for <restriction>", 2)) {
        type.setBaseType(*baseId, XsdType::Restriction);
        type.setValidFacets(facetsOfBase(xpp_->getAttributeValue("", "base"), *baseId));
        type.setBuiltinBaseName(builtinNameOf(prefixedName(xpp_->getAttributeValue("", "base"))));
    }
    parseRestriction(type, nullptr);
}

// A built-in base by its name; a simple type of this schema passes on what
// its own base admits.
int SchemaParser::facetsOfBase(const std::string& written, int baseId) const
{
    const QualifiedName name = prefixedName(written);
    if (name.getNamespace() == SchemaUri)
        return SimpleType::getBuiltinFacets(name.getLocalName());
    const XsdType* base = getType(baseId);
    if (base != nullptr && base->isSimple())
        return static_cast<const SimpleType*>(base)->getValidFacets();
    return SimpleType::getValidFacets(baseId);
}

const char* SchemaParser::builtinNameOf(const QualifiedName& name)
{
    return name.getNamespace() == SchemaUri ? SimpleType::getBuiltinName(name.getLocalName()) : nullptr;
}

// The id of the "base" of a derivation tag (none when the tag has none);
// an unknown base is reported, and so is every other attribute, at its level.
std::optional<int> SchemaParser::readBaseType(const std::string& context, const std::string& otherAttribute,
                                              int otherAttributeLevel)
{
    std::optional<int> baseId;
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        const std::string& name = xpp_->getAttributeName(i);
        const std::string& value = xpp_->getAttributeValue(i);
        if (name == "base") {
            baseId = getTypeId(prefixedName(value), true);
            if (*baseId == XSD_INVALID)
                error(context + value + ":Unknown base type ", 1);
        } else {
            error(context + name + otherAttribute, otherAttributeLevel);
        }
    }
    return baseId;
}

void SchemaParser::parseRestriction(SimpleType& type, ComplexType* complexType)
{
    if (type.getBaseTypeId() == XSD_INVALID)
        error("<restriction>:unkown BaseType", 1);
    for (;;) {
        nextTag();
        if (atEndTag("restriction"))
            return;
        if (atEndTag())
            continue;
        const std::string tag = tagName();
        if (tag == "annotation")
            parseAnnotation();
        else if (tag == "simpleType") // an anonymous base
            type.setBaseType(typesTable_.addType(parseSimpleType()), XsdType::Restriction);
        else if (complexType == nullptr || !parseAttributeParticle(*complexType))
            parseFacet(type);
    }
}

void SchemaParser::parseFacet(SimpleType& type)
{
    const std::string facet = tagName();
    if (type.isValidFacet(facet))
        type.setFacets(facet, xpp_->getAttributeValue("", "value"));
    else
        error("<restriction>:" + facet + " is not a valid facet /attribute for the type", 1);
    skipElement(); // a facet's own annotation
}

void SchemaParser::parseUnion(SimpleType& type)
{
    // Names are separated by any run of white space.
    std::istringstream names(xpp_->getAttributeValue("", "memberTypes"));
    std::string name;
    while (names >> name)
        type.addMemberType(getTypeId(prefixedName(name), true));
    for (nextTag(); !atEndTag("union"); nextTag()) {
        if (atStartTag("simpleType"))
            type.addMemberType(typesTable_.addType(parseSimpleType()));
        else
            skipElement();
    }
}

void SchemaParser::parseList(SimpleType& type)
{
    const std::string itemType = xpp_->getAttributeValue("", "itemType");
    int itemId = itemType.empty() ? XSD_INVALID : getTypeId(prefixedName(itemType), true);
    for (nextTag(); !atEndTag("list"); nextTag()) {
        if (atStartTag("simpleType"))
            itemId = typesTable_.addType(parseSimpleType());
        else
            skipElement();
    }
    type.setListType(itemId);
}

// Each distinct reference is looked up once, in order of first mention (a
// declaration of another schema may give a type an id here); then one walk
// settles all that wait. Returns the mentions still without a declaration.
template <typename Declaration, typename SettleAll>
std::vector<QualifiedName> SchemaParser::settleForwardRefs(
    const std::vector<QualifiedName>& references,
    Found<Declaration> (SchemaParser::*lookUp)(const QualifiedName&) const, SettleAll settleAll)
{
    // Hashed, not ordered: a large schema settles tens of thousands of references at once.
    // A name looked up without success is filed empty, and each of its mentions is missing.
    NameKeyMap<std::optional<Declaration>> declarations;
    bool anyDeclared = false;
    std::vector<QualifiedName> missing;
    for (const QualifiedName& reference : references) {
        const std::optional<Declaration>* known = declarations.find(reference.key());
        if (known == nullptr) {
            const Found<Declaration> found = (this->*lookUp)(reference);
            std::optional<Declaration> declaration;
            if (found.declaration != nullptr)
                declaration = importDeclaration(*found.owner, *found.declaration);
            known = declarations.emplace(reference.key(), std::move(declaration)).first;
        }
        if (known->has_value())
            anyDeclared = true;
        else
            missing.push_back(reference);
    }
    if (anyDeclared) {
        settleAll([&](const QualifiedName& reference) -> const Declaration* {
            const std::optional<Declaration>* found = declarations.find(reference.key());
            return found != nullptr && found->has_value() ? &**found : nullptr;
        });
    }
    return missing;
}

// A reference to a namespace that no loaded schema serves may be settled by
// a schema registered later (a sibling in a WSDL document): it waits for
// finalize without a message.
bool SchemaParser::waitsForOtherSchema(const QualifiedName& reference) const
{
    const std::string& ns = reference.getNamespace();
    if (ns.empty() || ns == tnsUri_ || ns == SchemaUri || ns == XmlUri)
        return false;
    return parsersOf(ns).empty();
}

// Writes a line for every mention that cannot wait any longer; true when
// there was one.
template <typename Message>
bool SchemaParser::reportUnresolved(const std::vector<QualifiedName>& missing, bool final, Message message) const
{
    bool reported = false;
    for (const QualifiedName& reference : missing) {
        if (!final && waitsForOtherSchema(reference))
            continue;
        errorAt(referenceSpot(reference), message(reference), 1);
        reported = true;
    }
    return reported;
}

namespace {

std::string fullName(const QualifiedName& name)
{
    return "{" + name.getNamespace() + "}" + name.getLocalName();
}

} // namespace

// A reference waits in the particle written for it: in any type's content
// model, however deep, and in the group definitions types share. Each name
// is looked up once, in order of first mention (a declaration of another
// schema may give a type an id here).
bool SchemaParser::resolveForwardElementRefs(bool final)
{
    const std::vector<QualifiedName> missing =
        pendingElementRefs_.settleAll([this](const QualifiedName& reference) -> std::optional<Element> {
            const Found<Element> found = findElement(reference);
            if (found.declaration == nullptr)
                return std::nullopt;
            return importDeclaration(*found.owner, *found.declaration);
        });
    const bool reported = reportUnresolved(missing, final, [final](const QualifiedName& reference) {
        return "Could not resolve element reference " + (final ? fullName(reference) : reference.getLocalName());
    });
    if (reported)
        error("Unresolved element references", 1);
    return missing.empty();
}

// A global element declared after references to it settles them at once,
// while what they were written in is fresh, when the end of the schema
// would settle them with that very declaration: the first of its name in
// this schema's own namespace, read outside an included or redefined
// schema (whose namespace may differ), and not itself waiting.
void SchemaParser::settleWaitingFor(const Element& declaration)
{
    if (!resolveFwdRefs_ || tnsUri_.empty() || declaration.isForwardRef() ||
        elementIndex_.find(declaration.getName()) != &declaration)
        return;
    pendingElementRefs_.settle(NameKeyView(tnsUri_, declaration.getName()), declaration);
}

// An attribute reference waits in the attribute written for it, and in every
// copy an attribute group gave out. One that cannot wait ends the parse.
bool SchemaParser::resolveForwardAttributeRefs(bool final)
{
    lForwardAttributeRefs_ = settleForwardRefs(lForwardAttributeRefs_, &SchemaParser::findAttribute,
                                               [this](const AttributeResolver& resolve) {
                                                   typesTable_.resolveAttributeRefs(resolve);
                                                   for (const auto& group : lAttributeGroups_)
                                                       group->matchAttributeRefs(resolve);
                                               });
    const bool reported = reportUnresolved(lForwardAttributeRefs_, final, [](const QualifiedName& reference) {
        return "Could not resolve attribute reference  " + fullName(reference);
    });
    if (reported)
        error("Unresolved attributes references", final ? 1 : 0);
    return lForwardAttributeRefs_.empty();
}

} // namespace Schema
