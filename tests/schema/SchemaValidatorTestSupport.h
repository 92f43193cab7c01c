#pragma once

// Instance documents validated against schemas held in memory.

#include "SchemaParserTestSupport.h"
#include "schema/SchemaParserException.h"
#include "schema/SchemaValidator.h"
#include "schema/ValueContainer.h"

#include <memory>
#include <sstream>
#include <string>
#include <type_traits>

namespace validatortest {

// A pull parser over an instance document, standing on its root start tag.
struct Instance {
    explicit Instance(const std::string& xml) : input(xml), xpp(input)
    {
        xpp.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
        xpp.nextTag();
    }

    std::istringstream input;
    XmlPullParser xpp;
};

// What validating the root of an instance gave: the container tree (kept
// also after an error), the error text, and where the pull parser ended.
struct Outcome {
    std::unique_ptr<Schema::ValueContainer> root;
    const Schema::ValueContainer* result = nullptr;
    std::string error;
    int endEvent = -1;
    std::string endName;
};

inline Outcome validate(Schema::SchemaParser& parser, int typeId, const std::string& xml)
{
    std::ostringstream log;
    Schema::SchemaValidator validator(parser, log);
    Instance instance(xml);
    Outcome outcome;
    outcome.root = std::make_unique<Schema::ValueContainer>(typeId, &parser);
    try {
        outcome.result = validator.validate(instance.xpp, typeId, *outcome.root);
    } catch (const Schema::SchemaParserException& failure) {
        outcome.error = failure.getDescription();
    }
    outcome.endEvent = instance.xpp.getEventType();
    outcome.endName = instance.xpp.getName();
    return outcome;
}

// The root validated against the global element of its own name.
inline Outcome validateElement(schematest::ParsedSchema& schema, const std::string& xml)
{
    const Instance probe(xml);
    const Schema::Element* declaration = schema.element(probe.xpp.getName());
    return validate(schema.parser, declaration != nullptr ? declaration->getType() : 0, xml);
}

// A stored value as "kind:value", so that tables can state what they expect.
inline std::string render(const Schema::ValueContainer::Value& value)
{
    return std::visit(
        [](const auto& stored) -> std::string {
            using T = std::decay_t<decltype(stored)>;
            std::ostringstream out;
            if constexpr (std::is_same_v<T, std::monostate>)
                out << "none";
            else if constexpr (std::is_same_v<T, int>)
                out << "int:" << stored;
            else if constexpr (std::is_same_v<T, std::int64_t>)
                out << "long:" << stored;
            else if constexpr (std::is_same_v<T, std::uint64_t>)
                out << "ulong:" << stored;
            else if constexpr (std::is_same_v<T, char>)
                out << "char:" << (stored != '\0' ? std::string(1, stored) : std::string());
            else if constexpr (std::is_same_v<T, float>)
                out << "float:" << stored;
            else if constexpr (std::is_same_v<T, double>)
                out << "double:" << stored;
            else if constexpr (std::is_same_v<T, bool>)
                out << "bool:" << (stored ? "true" : "false");
            else if constexpr (std::is_same_v<T, Schema::QualifiedName>)
                out << "qname:" << stored.getPrefix() << '{' << stored.getNamespace() << '}' << stored.getLocalName();
            else
                out << "string:" << stored;
            return out.str();
        },
        value);
}

inline std::string render(const Schema::ValueContainer* container)
{
    if (container == nullptr)
        return "no container";
    return render(container->getStoredValue()) + (container->isValid() ? "" : " (invalid)");
}

inline const char* const SoapNs = "http://schemas.xmlsoap.org/wsdl/soap/";

using testsupport::builtInSchemaFolder;

// A SOAP binding element with the prefixes soap, tns and x declared on it.
inline std::string soapElement(const std::string& element)
{
    const std::string::size_type nameEnd = element.find_first_of(" />");
    return element.substr(0, nameEnd) +
        " xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\" xmlns:tns=\"urn:tns\" xmlns:x=\"urn:x\"" +
        element.substr(nameEnd);
}

// The message of a validation error as thrown.
inline std::string failure(const std::string& message)
{
    return "Schema Parser Exception : " + message + "\nError validating schema instance\n";
}

} // namespace validatortest
