// Element and attribute declarations: global, local, or references to
// global ones, with their types and occurrence bounds.

#include "schema/SchemaParser.h"

#include "schema/ComplexType.h"
#include "schema/SchemaConstants.h"
#include "schema/SimpleType.h"
#include "xml/XmlPullParser.h"

#include <utility>

namespace Schema {

int SchemaParser::addAnonymousType(std::unique_ptr<XsdType> type, SharedText& typeNamespace)
{
    typeNamespace = type->getSharedNamespace();
    return typesTable_.addType(std::move(type));
}

// "default" or "fixed": a declaration has one of them at most.
void SchemaParser::readValueConstraint(const std::string& attribute, const std::string& value,
                                       std::string& defaultValue, std::string& fixedValue,
                                       const std::string& declaration) const
{
    const bool isDefault = attribute == "default";
    if (!(isDefault ? fixedValue : defaultValue).empty())
        error(declaration + ":fixed and default cannot occur together", 0);
    (isDefault ? defaultValue : fixedValue) = value;
}

// A reference into a namespace this schema has not heard of registers it, as
// a type reference does: a schema of that namespace registered later (a
// sibling in a WSDL document) is then linked to this one.
void SchemaParser::noteReferencedNamespace(const QualifiedName& reference)
{
    const std::string& ns = reference.getNamespace();
    if (!ns.empty() && ns != tnsUri_ && ns != SchemaUri && !knowsNamespace(ns))
        addImport(ns, std::string());
}

Element SchemaParser::parseElement(std::optional<std::size_t>& pendingAt, bool global)
{
    pendingAt.reset();
    std::string name;
    SharedText typeNamespace = namespaces_.intern(tnsUri_);
    SharedText ns = typeNamespace;
    int typeId = XSD_INVALID;
    int minOccurs = 1;
    int maxOccurs = 1;
    bool qualified = global || elementQualified_;
    std::string defaultValue;
    std::string fixedValue;
    bool nillable = false;
    bool nillableGiven = false; // whatever its value, an untyped element becomes anyType
    const char* builtinName = nullptr;
    std::optional<QualifiedName> waitingFor;
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        const std::string& attribute = xpp_->getAttributeName(i);
        const std::string_view key = attribute; // compared by length first
        const std::string& value = xpp_->getAttributeValue(i);
        if (key == "name") {
            name = value;
        } else if (key == "type") {
            if (typeId != XSD_INVALID)
                error("<element> : type and ref are mutually exclusive in element decl", 0);
            const QualifiedName type = prefixedName(value);
            typeNamespace = namespaces_.intern(type.getNamespace());
            typeId = getTypeId(type, true);
            builtinName = builtinNameOf(type);
            if (typeId == XSD_INVALID)
                error("<element>:Could not resolve type " + type.getNamespace() + ":" + type.getLocalName(), 0);
        } else if (key == "form") {
            if (value == "qualified")
                qualified = true;
            else if (value == "unqualified")
                qualified = false;
            else
                error("<element>:Invalid value for form in element " + name, 1);
        } else if (key == "ref") {
            if (!name.empty())
                error("<element>:name and ref are mutually exclusive in element decl", 0);
            if (typeId != XSD_INVALID)
                error("<element>:type and ref are mutually exclusive in element decl", 0);
            const QualifiedName reference = prefixedName(value);
            const Found<Element> found = findElement(reference);
            if (found.declaration != nullptr) {
                const Element declaration = importDeclaration(*found.owner, *found.declaration);
                name = declaration.getName();
                qualified = declaration.isQualified();
                ns = declaration.getSharedNamespace();
                typeId = declaration.getType();
                defaultValue = declaration.getDefaultValue();
                fixedValue = declaration.getFixedValue();
                typeNamespace = declaration.getSharedTypeNamespace();
                builtinName = declaration.getBuiltinName();
                nillable = nillable || declaration.isNillable();
            } else {
                name = reference.getLocalName();
                qualified = true;
                ns = namespaces_.intern(reference.getNamespace());
                pendingAt = pendingElementRefs_.mention(reference);
                recordReferenceSpot(reference);
                waitingFor = reference;
                noteReferencedNamespace(reference);
            }
        } else if (key == "minOccurs") {
            minOccurs = readInt(value);
        } else if (key == "maxOccurs") {
            maxOccurs = readCheckedMaxOccurs(value);
        } else if (key == "default" || key == "fixed") {
            readValueConstraint(attribute, value, defaultValue, fixedValue, "<element>");
        } else if (key == "nillable") {
            nillable = value == "true" || value == "1";
            nillableGiven = true;
        } else if (key != "substitutionGroup") {
            error("<element>:Unsupported Attribute " + attribute, 2);
        }
    }

    std::unique_ptr<IdentityConstraint> constraint;
    for (nextTag(); !atEndTag("element"); nextTag()) {
        if (atEndTag())
            continue;
        // Compared before any branch reads on.
        const std::string_view tag = xpp_->getName();
        if (tag == "complexType")
            typeId = addAnonymousType(parseComplexType(), typeNamespace);
        else if (tag == "simpleType")
            typeId = addAnonymousType(parseSimpleType(), typeNamespace);
        else if (tag == "annotation")
            parseAnnotation();
        else if (tag == "key")
            constraint = parseConstraint(IdentityConstraint::Key); // the last one is kept
        else if (tag == "keyref")
            constraint = parseConstraint(IdentityConstraint::KeyRef);
        else if (tag == "unique")
            constraint = parseConstraint(IdentityConstraint::Unique);
        else
            error("<element> : syntax error or unkown tag :" + std::string(tag), 0);
    }
    if (nillableGiven && typeId == XSD_INVALID)
        typeId = XSD_ANYTYPE;

    Element element(std::move(name), std::move(typeNamespace), typeId, minOccurs, maxOccurs, qualified,
                    std::move(defaultValue), std::move(fixedValue));
    element.setNamespace(std::move(ns));
    element.setNillable(nillable);
    element.setBuiltinName(typeId == XSD_INVALID || typeId >= FIRST_USER_TYPE ? nullptr : builtinName);
    if (waitingFor)
        element.setForwardRef(*waitingFor);
    if (constraint) {
        element.setConstraint(constraint.get());
        constraints_.push_back(std::move(constraint));
    }
    return element;
}

Attribute SchemaParser::parseAttribute(bool& fwdRef, bool global)
{
    fwdRef = false;
    std::string name;
    std::string declaredIn = tnsUri_;
    int typeId = XSD_INVALID;
    bool qualified = global || attributeQualified_;
    std::string defaultValue;
    std::string fixedValue;
    bool required = false;
    const char* builtinName = nullptr;
    std::optional<QualifiedName> waitingFor;
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        const std::string& attribute = xpp_->getAttributeName(i);
        const std::string& ns = xpp_->getAttributeNamespace(i);
        const std::string& value = xpp_->getAttributeValue(i);
        if (attribute == "name") {
            name = value;
        } else if (attribute == "type") {
            if (typeId != XSD_INVALID)
                error("<attribute>:type and ref are mutually exclusive in element decl", 0);
            const QualifiedName type = prefixedName(value);
            typeId = getTypeId(type, true);
            builtinName = builtinNameOf(type);
            if (typeId == XSD_INVALID)
                error("<attribute>:Could not resolve type " + type.getNamespace() + ":" + type.getLocalName(), 1);
        } else if (attribute == "form") {
            qualified = value == "qualified";
        } else if (attribute == "ref") {
            if (!name.empty())
                error("<attribute>:name and ref are mutually exclusive in element decl", 0);
            if (typeId != XSD_INVALID)
                error("<attribute>:type and ref are mutually exclusive in element decl", 0);
            const QualifiedName reference = prefixedName(value);
            const Found<Attribute> found = findAttribute(reference);
            if (found.declaration != nullptr) {
                Attribute settled(name, typeId, qualified, defaultValue, fixedValue, required);
                settled.assignDeclaration(importDeclaration(*found.owner, *found.declaration));
                name = settled.getName();
                typeId = settled.getType();
                builtinName = settled.getBuiltinName();
                qualified = settled.isQualified();
                declaredIn = settled.getNamespace();
                defaultValue = settled.getDefaultValue();
                fixedValue = settled.getFixedValue();
            } else {
                name = reference.getLocalName();
                qualified = true;
                declaredIn = reference.getNamespace();
                lForwardAttributeRefs_.push_back(reference);
                recordReferenceSpot(reference);
                waitingFor = reference;
                noteReferencedNamespace(reference);
            }
        } else if (attribute == "default" || attribute == "fixed") {
            readValueConstraint(attribute, value, defaultValue, fixedValue, "<attribute>");
        } else if (attribute == "use") {
            required = value == "required";
        } else if (!ns.empty() && knowsNamespace(ns)) {
            // An annotation from a known namespace, such as the array type
            // of a SOAP-encoded array: kept for the complex type to read.
            fixedValue = ns;
            defaultValue = value;
        } else {
            error("<attribute>:Unsupported attribute {" + ns + "}:" + attribute, 2);
        }
    }

    for (nextTag(); !atEndTag("attribute"); nextTag()) {
        if (atEndTag())
            continue;
        const std::string tag = tagName();
        SharedText typeNamespace;
        if (tag == "simpleType")
            typeId = addAnonymousType(parseSimpleType(), typeNamespace);
        else if (tag == "annotation")
            parseAnnotation();
        else
            error("<attribute>:Syntax error or unkown tag  " + tag, 0);
    }
    Attribute declared(name, typeId, qualified, defaultValue, fixedValue, required);
    declared.setNamespace(declaredIn);
    declared.setBuiltinName(typeId == XSD_INVALID || typeId >= FIRST_USER_TYPE ? nullptr : builtinName);
    fwdRef = waitingFor.has_value();
    if (fwdRef)
        declared.setForwardRef(*waitingFor);
    return declared;
}

} // namespace Schema
