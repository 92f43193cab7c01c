#pragma once

// WSDL documents written into a private folder and parsed to the end, with
// what every call of parse returned and the state it left.

#include "support/SchemaNames.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"
#include "net/FetchUri.h"
#include "schema/QualifiedName.h"
#include "wsdl/WsdlNamespaces.h"
#include "wsdl/WsdlParser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace wsdltest {

using Wsdl::WsdlParser;

inline std::string builtInFolder() { return testsupport::builtInSchemaFolder(); }

// A definitions element of target namespace urn:t (prefix tns) around body;
// the WSDL namespace is the default one, soap and xsd are bound.
inline std::string definitions(const std::string& body, const std::string& extraAttributes = std::string())
{
    return "<?xml version=\"1.0\"?>\n"
           "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\"\n"
           "  xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\"\n"
           "  xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"\n"
           "  xmlns:tns=\"urn:t\" targetNamespace=\"urn:t\" name=\"T\"" +
        extraAttributes + ">\n" + body + "</definitions>\n";
}

// Port type "Calc" with operation "Add" (AddIn, AddOut), its SOAP binding
// "CalcSoap" and service "CalcService".
inline std::string calculatorPortType()
{
    return "<portType name=\"Calc\"><operation name=\"Add\">"
           "<input message=\"tns:AddIn\"/><output message=\"tns:AddOut\"/></operation></portType>\n";
}

inline std::string calculatorBinding(const std::string& style = "rpc", const std::string& use = "encoded")
{
    return "<binding name=\"CalcSoap\" type=\"tns:Calc\">\n"
           "  <soap:binding style=\"" + style + "\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>\n"
           "  <operation name=\"Add\"><soap:operation soapAction=\"urn:add\"/>\n"
           "    <input><soap:body use=\"" + use + "\" namespace=\"urn:t\"/></input>\n"
           "    <output><soap:body use=\"" + use + "\" namespace=\"urn:t\"/></output>\n"
           "  </operation>\n"
           "</binding>\n";
}

inline std::string calculatorService()
{
    return "<service name=\"CalcService\"><port name=\"CalcPort\" binding=\"tns:CalcSoap\">"
           "<soap:address location=\"http://localhost/calc\"/></port></service>\n";
}

// The whole rpc calculator.
inline std::string calculator()
{
    return definitions("<message name=\"AddIn\"><part name=\"a\" type=\"xsd:int\"/><part name=\"b\" type=\"xsd:int\"/>"
                       "</message>\n"
                       "<message name=\"AddOut\"><part name=\"sum\" type=\"xsd:int\"/></message>\n" +
                       calculatorPortType() + calculatorBinding() + calculatorService());
}

// The text a fatal error report writes, up to the position.
inline std::string fatal(const std::string& message)
{
    return "WSDL  Parser Exception : Wsdl Parser Exception : " + message + " at ";
}

// The text ends with " at <line>,<column>" and a line end.
inline bool endsWithPosition(const std::string& text)
{
    const std::string::size_type at = text.rfind(" at ");
    if (at == std::string::npos || text.empty() || text.back() != '\n')
        return false;
    const std::string position = text.substr(at + 4, text.size() - at - 5);
    const std::string::size_type comma = position.find(',');
    const auto digits = [](const std::string& part) {
        return !part.empty() && part.find_first_not_of("0123456789") == std::string::npos;
    };
    return comma != std::string::npos && digits(position.substr(0, comma)) && digits(position.substr(comma + 1));
}

using testsupport::qname;

template <typename List>
auto nth(const List& list, std::size_t index) -> decltype(list.front().get())
{
    auto element = list.begin();
    std::advance(element, static_cast<std::ptrdiff_t>(index));
    return element == list.end() ? nullptr : element->get();
}

class WsdlParseTest : public ::testing::Test {
protected:
    void TearDown() override { removeFetchedFiles(); }

    // Writes the document as name (folders made as needed) and parses it to the end.
    WsdlParser& parse(const std::string& text, const std::string& name = "doc.wsdl")
    {
        write(name, text);
        return parseLocation(name);
    }

    static void write(const std::string& name, const std::string& text)
    {
        const std::filesystem::path path(name);
        if (path.has_parent_path())
            std::filesystem::create_directories(path.parent_path());
        testsupport::writeBytes(path, text);
    }

    WsdlParser& parseLocation(const std::string& location)
    {
        results_.clear();
        states_.clear();
        parser_ = std::make_unique<WsdlParser>(location, diagnostics_, builtInFolder());
        // Every call reads on; a document far shorter than this ends first.
        for (int calls = 0; parser_->getState() != WsdlParser::END; ++calls) {
            if (calls == 100000) {
                ADD_FAILURE() << "the parse does not end";
                break;
            }
            results_.push_back(parser_->parse());
            states_.push_back(parser_->getState());
        }
        return *parser_;
    }

    // The whole parse ended with the error flag and the text of the message.
    void expectFailure(const std::string& expected)
    {
        ASSERT_NE(parser_, nullptr);
        EXPECT_TRUE(parser_->hasError());
        EXPECT_NE(diagnostics_.str().find(expected), std::string::npos) << diagnostics_.str();
    }

    void expectSuccess()
    {
        ASSERT_NE(parser_, nullptr);
        EXPECT_FALSE(parser_->hasError()) << diagnostics_.str();
    }

    testsupport::ScopedWorkingFolder folder_;
    std::ostringstream diagnostics_;
    std::unique_ptr<WsdlParser> parser_;
    std::vector<int> results_;
    std::vector<int> states_;
};

} // namespace wsdltest
