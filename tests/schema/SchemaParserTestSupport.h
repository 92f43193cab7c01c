#pragma once

// Schema text parsed from memory, and schema files in a private folder.

#include "support/SchemaNames.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"
#include "schema/ComplexType.h"
#include "schema/ContentModel.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"
#include "schema/SimpleType.h"
#include "xml/XmlPullParser.h"

#include <sstream>
#include <string>
#include <vector>

namespace schematest {

inline const char* const Tns = "urn:t";
inline const char* const OtherNs = "urn:other";
inline const char* const SoapEncodingNs = "http://schemas.xmlsoap.org/soap/encoding/";
inline const char* const WsdlNs = "http://schemas.xmlsoap.org/wsdl/";

// A schema element of namespace urn:t (prefix tns, XML Schema as xs) around body.
inline std::string schema(const std::string& body, const std::string& extraAttributes = std::string())
{
    return "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:tns=\"urn:t\"\n"
           "  targetNamespace=\"urn:t\" " +
        extraAttributes + ">\n" + body + "\n</xs:schema>\n";
}

using testsupport::qname;

// Parses schema text held in memory, with the given schemas registered first.
struct ParsedSchema {
    explicit ParsedSchema(const std::string& text, int reportLevel = 1,
                          const std::vector<Schema::SchemaParser*>& imports = {})
        : input(text), reader(input), parser(&reader, "", log)
    {
        reader.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
        parser.setReportLevel(reportLevel);
        for (Schema::SchemaParser* imported : imports)
            parser.addImport(imported);
        ok = parser.parseSchemaTag();
    }

    const Schema::XsdType* type(const std::string& local)
    {
        return parser.getType(parser.getTypeId(qname(parser.getNamespace(), local)));
    }
    const Schema::ComplexType* complex(const std::string& local)
    {
        return dynamic_cast<const Schema::ComplexType*>(type(local));
    }
    const Schema::SimpleType* simple(const std::string& local)
    {
        return dynamic_cast<const Schema::SimpleType*>(type(local));
    }
    const Schema::Element* element(const std::string& local)
    {
        return parser.getElement(qname(parser.getNamespace(), local));
    }
    // The content model of the anonymous type of a global element.
    const Schema::ContentModel* modelOf(const std::string& elementName)
    {
        const Schema::Element* declaration = element(elementName);
        const auto* anonymous = declaration != nullptr
            ? dynamic_cast<const Schema::ComplexType*>(parser.getType(declaration->getType()))
            : nullptr;
        return anonymous != nullptr ? anonymous->getContentModel() : nullptr;
    }
    std::string text() const { return log.str(); }
    bool logged(const std::string& part) const { return log.str().find(part) != std::string::npos; }

    std::istringstream input;
    XmlPullParser reader;
    std::ostringstream log;
    Schema::SchemaParser parser;
    bool ok = false;
};

// A schema document on disk, read through the location constructor.
struct FileSchema {
    explicit FileSchema(const std::string& location, const std::string& ns = std::string())
        : parser(location, ns, log)
    {
        ok = parser.parseSchemaTag();
    }
    bool logged(const std::string& part) const { return log.str().find(part) != std::string::npos; }

    std::ostringstream log;
    Schema::SchemaParser parser;
    bool ok = false;
};

inline const Schema::Element* particle(const Schema::ContentModel* model, std::size_t index)
{
    if (model == nullptr || index >= model->getContents().size())
        return nullptr;
    return model->getContents()[index].getElement();
}

} // namespace schematest
