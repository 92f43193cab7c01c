// Complex types: simple and complex content, attribute groups, and the
// element content given to SOAP-encoded arrays.

#include "schema/SchemaParser.h"

#include "schema/ComplexType.h"
#include "schema/ContentModel.h"
#include "schema/SchemaConstants.h"
#include "schema/SimpleType.h"
#include "xml/XmlPullParser.h"

#include <utility>

namespace Schema {

namespace {

const char* const SoapEncodingUri = "http://schemas.xmlsoap.org/soap/encoding/";

} // namespace

std::unique_ptr<ComplexType> SchemaParser::parseComplexType()
{
    auto type = std::make_unique<ComplexType>(namespaces_.intern(tnsUri_));
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        const std::string_view name = xpp_->getAttributeName(i);
        if (name == "name")
            type->setName(xpp_->getAttributeValue(i));
        else if (name == "mixed" && xpp_->getAttributeValue(i) == "true")
            type->setContentType(XsdType::Mixed);
    }
    for (;;) {
        nextTag();
        if (atEndTag("complexType"))
            break;
        if (atEndTag())
            continue;
        // Compared before any branch reads on.
        const std::string_view tag = xpp_->getName();
        const int compositor = compositorOf(tag);
        if (compositor >= 0) {
            // A later content model replaces (and frees) an earlier one.
            parseContent(*type->setContentModel(std::make_unique<ContentModel>(compositor)));
        } else if (tag == "group") {
            parseGroup(type->setContentModel(std::make_unique<ContentModel>(ContentModel::Sequence)));
        } else if (tag == "complexContent") {
            parseComplexContent(*type);
        } else if (tag == "simpleContent") {
            parseSimpleContent(*type);
        } else if (tag == "annotation") {
            parseAnnotation();
        } else if (!parseAttributeParticle(*type)) {
            error("Unexpected tag: '" + std::string(tag) + "' in " + type->getName(), 0);
        }
    }
    processSoapArray(*type);
    return type;
}

// "attribute", "attributeGroup" and "anyAttribute" wherever a type takes
// attributes; false for any other tag.
bool SchemaParser::parseAttributeParticle(ComplexType& type)
{
    if (atStartTag("attribute")) {
        bool fwdRef = false;
        type.addAttribute(parseAttribute(fwdRef));
    } else if (atStartTag("attributeGroup")) {
        addAttributeGroup(type);
    } else if (atStartTag("anyAttribute")) {
        parseAnyAttribute(&type);
    } else {
        return false;
    }
    return true;
}

void SchemaParser::parseSimpleContent(ComplexType& type)
{
    type.setContentType(XsdType::Simple);
    nextTag();
    skipAnnotations();
    if (atStartTag("restriction"))
        parseSimpleContentRestriction(type);
    else if (atStartTag("extension"))
        parseSimpleContentExtension(type);
    else
        xpp_->pushBackTag(); // no derivation: the check below reports it
    nextTag();
    if (!atEndTag("simpleContent"))
        error("<simpleContent> :Syntax error ", 0);
}

void SchemaParser::parseSimpleContentRestriction(ComplexType& type)
{
    auto content = std::make_unique<SimpleType>(namespaces_.intern(tnsUri_));
    if (const std::optional<int> baseId = readBaseType("<simpleContent> :", ":Unknown/Unsupported  attribute ", 2))
        content->setBaseType(*baseId, XsdType::Restriction);
    parseRestriction(*content, &type);
    type.setSimpleContentType(typesTable_.addType(std::move(content)));
}

void SchemaParser::parseSimpleContentExtension(ComplexType& type)
{
    if (const std::optional<int> contentId = readBaseType("<simpleContent> :", ":Unknown/Unsupported  attribute ", 0))
        type.setSimpleContentType(*contentId);
    for (;;) {
        nextTag();
        if (atEndTag("extension"))
            break;
        if (atStartTag("annotation"))
            parseAnnotation();
        else if (atEndTag() || !parseAttributeParticle(type))
            error("<simpleContent> :Syntax error :extension", 0);
    }
}

void SchemaParser::parseComplexContent(ComplexType& type)
{
    type.setContentType(XsdType::Complex);
    nextTag();
    skipAnnotations();
    const bool restriction = atStartTag("restriction");
    if (!restriction && !atStartTag("extension")) {
        skipTo("complexContent"); // no derivation to read
        return;
    }
    const std::string derivation = tagName();
    type.setBaseType(getTypeId(prefixedName(xpp_->getAttributeValue("", "base")), true),
                     restriction ? XsdType::Restriction : XsdType::Extension);
    nextTag();
    skipAnnotations();
    const int compositor = atEndTag() ? -1 : compositorOf(tagName());
    if (compositor >= 0) {
        parseContent(*type.setContentModel(std::make_unique<ContentModel>(compositor)));
        nextTag();
    }
    for (; !atEndTag(); nextTag()) {
        if (!parseAttributeParticle(type))
            skipElement();
    }
    skipTo(derivation);
    nextTag();
    if (!atEndTag("complexContent"))
        skipTo("complexContent");
}

// The attributes of a group go where the group is named, typed with this
// schema's ids also when the group is another schema's.
template <typename Target>
void SchemaParser::takeAttributes(const Found<AttributeGroup>& group, Target& target)
{
    if (group.declaration == nullptr)
        return;
    for (const Attribute& attribute : group.declaration->getAttributes())
        target.addAttribute(importDeclaration(*group.owner, attribute));
}

SchemaParser::Found<AttributeGroup> SchemaParser::parseAttributeGroup(std::unique_ptr<AttributeGroup>& defined)
{
    const std::string ref = xpp_->getAttributeValue("", "ref");
    if (!ref.empty()) {
        const Found<AttributeGroup> found = findAttributeGroup(prefixedName(ref));
        nextTag();
        skipTo("attributeGroup");
        return found; // a group not defined yet gives nothing
    }
    defined = std::make_unique<AttributeGroup>(xpp_->getAttributeValue("", "name"));
    for (nextTag(); !atEndTag("attributeGroup"); nextTag()) {
        if (atStartTag("attribute")) {
            bool fwdRef = false;
            defined->addAttribute(parseAttribute(fwdRef));
        } else if (atStartTag("attributeGroup")) {
            std::unique_ptr<AttributeGroup> nested; // its attributes are copied, the object dropped
            takeAttributes(parseAttributeGroup(nested), *defined);
        } else if (atStartTag("anyAttribute")) {
            defined->addAttribute(parseAnyAttribute(nullptr));
        } else {
            skipElement();
        }
    }
    return Found<AttributeGroup>{defined.get(), this};
}

void SchemaParser::addAttributeGroup(ComplexType& type)
{
    std::unique_ptr<AttributeGroup> defined;
    const std::string ref = xpp_->getAttributeValue("", "ref");
    const QualifiedName name = ref.empty() ? QualifiedName() : prefixedName(ref);
    const Found<AttributeGroup> found = parseAttributeGroup(defined);
    if (found.declaration == nullptr && !ref.empty()) {
        type.addAttributeGroupRef(name); // defined further down
        ++attributeGroupRefsWaiting_;
    }
    takeAttributes(found, type);
}

void SchemaParser::settleAttributeGroupRefs()
{
    if (attributeGroupRefsWaiting_ == 0)
        return;
    typesTable_.visitComplexTypes([this](ComplexType& type) {
        for (const QualifiedName& name : type.takeAttributeGroupRefs())
            takeAttributes(findAttributeGroup(name), type);
    });
    attributeGroupRefsWaiting_ = 0; // every type's are taken now
}

bool SchemaParser::processSoapArray(ComplexType& type)
{
    const XsdType* base = getType(type.getBaseTypeId());
    if (base == nullptr || base->getNamespace() != SoapEncodingUri || base->getName() != "Array")
        return false;
    const Attribute* arrayType = type.getAttribute("arrayType");
    if (arrayType == nullptr)
        return false;
    // "prefix:Item[]": every trailing "[]" goes; a pair holding a size stays.
    const std::string& value = arrayType->getDefaultValue();
    const std::string::size_type colon = value.find(':');
    const std::string prefix = colon == std::string::npos ? std::string() : value.substr(0, colon);
    std::string local = colon == std::string::npos ? value : value.substr(colon + 1);
    while (local.size() >= 2 && local.compare(local.size() - 2, 2, "[]") == 0)
        local.erase(local.size() - 2);
    QualifiedName item(local);
    item.setNamespace(xpp_->getNamespace(prefix));
    const int itemId = getTypeId(item, true);

    if (type.getContentModel() == nullptr)
        type.setContentModel(std::make_unique<ContentModel>(ContentModel::Sequence));
    type.getContentModel()->addElement(
        Element("*", namespaces_.intern(tnsUri_), itemId, 0, UNBOUNDED, false, std::string(), std::string()));
    return true;
}

} // namespace Schema
