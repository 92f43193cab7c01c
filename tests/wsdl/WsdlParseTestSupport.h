#pragma once

// WSDL documents written into a private folder and parsed to the end, with
// what every call of parse returned and the state it left.

#include "support/LocatedMessage.h"
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
#include <string_view>
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

// A SOAP binding rewritten for SOAP 1.2 (its elements in the soap12 prefix,
// which the document declares) under the name given in place of name.
inline std::string asSoap12Binding(std::string binding, const std::string& name, const std::string& soap12Name)
{
    for (const std::string from : {"<soap:", "</soap:"}) {
        const std::string to = from.substr(0, from.size() - 1) + "12:";
        for (std::size_t at = binding.find(from); at != std::string::npos; at = binding.find(from, at + to.size()))
            binding.replace(at, from.size(), to);
    }
    const std::string quoted = "name=\"" + name + "\"";
    binding.replace(binding.find(quoted), quoted.size(), "name=\"" + soap12Name + "\"");
    return binding;
}

inline std::string calculatorService()
{
    return "<service name=\"CalcService\"><port name=\"CalcPort\" binding=\"tns:CalcSoap\">"
           "<soap:address location=\"http://localhost/calc\"/></port></service>\n";
}

// The messages of the calculator's port type.
inline std::string calculatorMessages()
{
    return "<message name=\"AddIn\"><part name=\"a\" type=\"xsd:int\"/><part name=\"b\" type=\"xsd:int\"/>"
           "</message>\n"
           "<message name=\"AddOut\"><part name=\"sum\" type=\"xsd:int\"/></message>\n";
}

// The whole rpc calculator.
inline std::string calculator()
{
    return definitions(calculatorMessages() + calculatorPortType() + calculatorBinding() + calculatorService());
}

// The text a fatal error report writes after its "document:line:column: ".
inline std::string fatal(const std::string& message)
{
    return ": Wsdl Parser Exception : " + message + "\n";
}

// The whole line of text that holds part; empty when none does.
inline std::string lineWith(const std::string& text, const std::string& part)
{
    const std::string::size_type at = text.find(part);
    if (at == std::string::npos)
        return std::string();
    const std::string::size_type start = text.rfind('\n', at);
    const std::string::size_type begin = start == std::string::npos ? 0 : start + 1;
    return text.substr(begin, text.find('\n', at) - begin);
}

// The line that holds part starts with "document:line:" (a column follows).
inline bool reportedAt(const std::string& text, const std::string& part, const std::string& document, int line)
{
    const std::string prefix = document + ":" + std::to_string(line) + ":";
    return lineWith(text, part).compare(0, prefix.size(), prefix) == 0;
}

// The last line has the form "document:line:column: message", line 1 or more.
inline bool endsWithPosition(const std::string& text)
{
    if (text.empty() || text.back() != '\n')
        return false;
    const std::string_view body(text.data(), text.size() - 1);
    const std::size_t start = body.rfind('\n');
    return testsupport::isLocatedLine(start == std::string_view::npos ? body : body.substr(start + 1));
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
