// The three schema files shipped in runtime/soap-schemas are read by our own
// schema parser and validator, which only understand part of XML Schema.
// These tests read each file with the pull parser and check what the rest of
// the program relies on: the target namespace, the global declarations, the
// attributes each SOAP binding element admits, and that every reference stays
// inside the file (the built-in schemas are never finalized, so a name of
// another namespace would stay undefined).

#include "schema/SchemaConstants.h"
#include "xml/XmlPullParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const char* const WsdlNamespace = "http://schemas.xmlsoap.org/wsdl/";
const char* const SoapBindingNamespace = "http://schemas.xmlsoap.org/wsdl/soap/";
const char* const SoapEncodingNamespace = "http://schemas.xmlsoap.org/soap/encoding/";

std::string schemaPath(const std::string& file)
{
    return std::string(KELVANE_SOURCE_DIR) + "/runtime/soap-schemas/" + file;
}

std::string localPart(const std::string& qname)
{
    const std::string::size_type colon = qname.find(':');
    return colon == std::string::npos ? qname : qname.substr(colon + 1);
}

std::string prefixPart(const std::string& qname)
{
    const std::string::size_type colon = qname.find(':');
    return colon == std::string::npos ? std::string() : qname.substr(0, colon);
}

// One attribute declaration, attribute reference or attribute-group reference
// inside a complex type or attribute group.
struct AttributeUse {
    std::string name;       // attribute name (local part for a reference)
    std::string groupRef;   // set instead of name for an attributeGroup reference
    bool required = false;
};

// A QName-valued attribute (type, base, ref, itemType) as the parser resolves it.
struct Reference {
    std::string attribute;
    std::string value;
    std::string nameSpace;
    std::string owner;
};

struct SchemaOutline {
    std::string rootNamespace;
    std::string rootName;
    std::string targetNamespace;
    std::vector<std::pair<std::string, std::string>> globals; // (kind, name) in document order
    std::map<std::string, std::string> elementTypes;           // global element -> type local name
    std::map<std::string, std::vector<AttributeUse>> attributeUses; // type or group -> uses
    std::vector<Reference> references;
    std::vector<std::string> lateGroupRefs; // attribute groups used before their definition

    bool declares(const std::string& kind, const std::string& name) const
    {
        return std::find(globals.begin(), globals.end(), std::make_pair(kind, name)) != globals.end();
    }

    // Attribute names a type admits, attribute groups expanded.
    std::map<std::string, bool> admittedAttributes(const std::string& owner) const
    {
        std::map<std::string, bool> result;
        const auto found = attributeUses.find(owner);
        if (found == attributeUses.end())
            return result;
        for (const AttributeUse& use : found->second) {
            if (use.groupRef.empty()) {
                result[use.name] = use.required;
                continue;
            }
            for (const auto& entry : admittedAttributes(use.groupRef))
                result.insert(entry);
        }
        return result;
    }
};

// Walks the file with nextTag only: the schema parser advances the same way,
// so a file that holds text outside comments fails here as it would there.
class OutlineReader {
public:
    explicit OutlineReader(const std::string& path) : input_(path, std::ios::binary), parser_(input_)
    {
        parser_.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
    }

    bool isOpen() const { return input_.is_open(); }

    SchemaOutline read()
    {
        while (parser_.nextTag() != XmlPullParser::END_DOCUMENT) {
            if (parser_.getEventType() == XmlPullParser::START_TAG)
                startTag();
        }
        return outline_;
    }

private:
    std::string attribute(const char* name) const { return parser_.getAttributeValue("", name); }

    void startTag()
    {
        const std::string tag = parser_.getName();
        const int depth = parser_.getDepth();
        if (depth == 1) {
            outline_.rootNamespace = parser_.getNamespace();
            outline_.rootName = tag;
            outline_.targetNamespace = attribute("targetNamespace");
            return;
        }
        if (depth == 2) {
            owner_ = attribute("name");
            outline_.globals.emplace_back(tag, owner_);
            if (tag == "element")
                outline_.elementTypes[owner_] = localPart(attribute("type"));
        }
        collectReferences();
        if (depth > 2 && tag == "attribute")
            addUse(localPart(attribute("name").empty() ? attribute("ref") : attribute("name")), "");
        if (depth > 2 && tag == "attributeGroup")
            addGroupUse(localPart(attribute("ref")));
    }

    void collectReferences()
    {
        for (const char* name : {"type", "base", "ref", "itemType"}) {
            const std::string value = attribute(name);
            if (!value.empty())
                outline_.references.push_back({name, value, parser_.getNamespace(prefixPart(value)), owner_});
        }
    }

    void addGroupUse(const std::string& group)
    {
        if (!outline_.declares("attributeGroup", group))
            outline_.lateGroupRefs.push_back(group);
        addUse("", group);
    }

    void addUse(const std::string& name, const std::string& group)
    {
        AttributeUse use;
        use.name = name;
        use.groupRef = group;
        use.required = attribute("use") == "required";
        outline_.attributeUses[owner_].push_back(use);
    }

    std::ifstream input_;
    XmlPullParser parser_;
    SchemaOutline outline_;
    std::string owner_;
};

SchemaOutline readOutline(const std::string& file)
{
    OutlineReader reader(schemaPath(file));
    EXPECT_TRUE(reader.isOpen()) << schemaPath(file);
    return reader.read();
}

struct SchemaFileCase {
    const char* file;
    const char* targetNamespace;
    std::vector<std::pair<std::string, std::string>> globals;
};

const std::vector<SchemaFileCase>& schemaFiles()
{
    static const std::vector<SchemaFileCase> cases = {
        {"wsdl10.xsd", WsdlNamespace, {{"attribute", "arrayType"}, {"attribute", "required"}}},
        {"soap.xsd",
         SoapBindingNamespace,
         {{"element", "binding"},
          {"element", "operation"},
          {"element", "body"},
          {"element", "header"},
          {"element", "fault"},
          {"element", "address"}}},
        {"soap-encoding.xsd",
         SoapEncodingNamespace,
         {{"complexType", "Array"},
          {"attribute", "arrayType"},
          {"attribute", "offset"},
          {"attributeGroup", "arrayAttributes"},
          {"simpleType", "string"},
          {"simpleType", "int"},
          {"simpleType", "boolean"}}},
    };
    return cases;
}

TEST(BuiltinSchemas, EachIsASchemaOfItsNamespaceWithTheExpectedDeclarations)
{
    for (const SchemaFileCase& c : schemaFiles()) {
        SCOPED_TRACE(c.file);
        SchemaOutline outline;
        ASSERT_NO_THROW(outline = readOutline(c.file));
        EXPECT_EQ(Schema::SchemaUri, outline.rootNamespace);
        EXPECT_EQ("schema", outline.rootName);
        EXPECT_EQ(c.targetNamespace, outline.targetNamespace);
        for (const auto& global : c.globals)
            EXPECT_TRUE(outline.declares(global.first, global.second)) << global.first << ' ' << global.second;
    }
}

// Only top-level constructs that need nothing from elsewhere: no import,
// include or redefine, each of which would fetch another document.
TEST(BuiltinSchemas, UseOnlySelfContainedConstructs)
{
    const std::set<std::string> allowed = {"element", "complexType", "simpleType", "attribute", "attributeGroup"};
    for (const SchemaFileCase& c : schemaFiles()) {
        SCOPED_TRACE(c.file);
        const SchemaOutline outline = readOutline(c.file);
        for (const auto& global : outline.globals) {
            EXPECT_TRUE(allowed.count(global.first)) << global.first;
            EXPECT_FALSE(global.second.empty()) << "unnamed top-level " << global.first;
        }
        EXPECT_TRUE(outline.lateGroupRefs.empty()) << "attribute group used before it is defined: "
                                                  << outline.lateGroupRefs.front();
    }
}

// Every name refers to an XML Schema built-in or to a declaration of the same
// file; a reference into another namespace would stay undefined.
TEST(BuiltinSchemas, EveryReferenceResolvesInsideTheFile)
{
    const std::map<std::string, std::vector<std::string>> kindsByAttribute = {
        {"type", {"complexType", "simpleType"}},
        {"base", {"complexType", "simpleType"}},
        {"itemType", {"simpleType"}},
        {"ref", {"attribute", "attributeGroup", "element"}},
    };
    for (const SchemaFileCase& c : schemaFiles()) {
        SCOPED_TRACE(c.file);
        const SchemaOutline outline = readOutline(c.file);
        for (const Reference& ref : outline.references) {
            SCOPED_TRACE(ref.owner + " " + ref.attribute + "=" + ref.value);
            if (ref.nameSpace == Schema::SchemaUri)
                continue;
            ASSERT_EQ(outline.targetNamespace, ref.nameSpace);
            const std::vector<std::string>& kinds = kindsByAttribute.at(ref.attribute);
            const bool found = std::any_of(kinds.begin(), kinds.end(), [&](const std::string& kind) {
                return outline.declares(kind, localPart(ref.value));
            });
            EXPECT_TRUE(found);
        }
    }
}

struct AdmittedAttributeCase {
    const char* element;
    const char* attribute;
    bool required;
};

// The attributes the SOAP extension reads from each binding element. An
// undeclared one would end validation with "Unknown attribute", a required
// one that documents omit would report a needless error.
TEST(BuiltinSchemas, SoapBindingElementsAdmitWhatTheExtensionReads)
{
    const AdmittedAttributeCase cases[] = {
        {"binding", "transport", false},
        {"binding", "style", false},
        {"operation", "soapAction", false},
        {"operation", "style", false},
        {"body", "parts", false},
        {"body", "use", false},
        {"body", "namespace", false},
        {"body", "encodingStyle", false},
        {"header", "message", true},
        {"header", "part", false},
        {"header", "parts", false},
        {"header", "use", false},
        {"header", "namespace", false},
        {"header", "encodingStyle", false},
        {"fault", "name", false},
        {"fault", "use", false},
        {"fault", "namespace", false},
        {"fault", "encodingStyle", false},
        {"address", "location", true},
    };
    const SchemaOutline outline = readOutline("soap.xsd");
    for (const AdmittedAttributeCase& c : cases) {
        SCOPED_TRACE(std::string(c.element) + "/@" + c.attribute);
        const auto type = outline.elementTypes.find(c.element);
        ASSERT_NE(outline.elementTypes.end(), type);
        const std::map<std::string, bool> admitted = outline.admittedAttributes(type->second);
        const auto found = admitted.find(c.attribute);
        ASSERT_NE(admitted.end(), found);
        EXPECT_EQ(c.required, found->second);
    }
}

// The validator tells a header from a body by the type of its global element,
// so no two binding elements may share one type.
TEST(BuiltinSchemas, SoapBindingElementsHaveDistinctTypes)
{
    const SchemaOutline outline = readOutline("soap.xsd");
    std::set<std::string> types;
    for (const auto& element : outline.elementTypes) {
        EXPECT_FALSE(element.second.empty()) << element.first;
        EXPECT_TRUE(types.insert(element.second).second) << element.first << " shares " << element.second;
    }
}

TEST(BuiltinSchemas, EncodedArrayBaseCarriesTheArrayTypeAttribute)
{
    const SchemaOutline outline = readOutline("soap-encoding.xsd");
    const std::map<std::string, bool> admitted = outline.admittedAttributes("Array");
    EXPECT_EQ(1u, admitted.count("arrayType"));
    EXPECT_EQ(1u, admitted.count("offset"));
}

} // namespace
