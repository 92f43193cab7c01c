// wsdlinfo: reads a WSDL document with its schemas and prints how much of
// each kind it holds, or the parser's messages when it fails.

#include "schema/SchemaParser.h"
#include "schema/SchemaParserException.h"
#include "wsdl/WsdlException.h"
#include "wsdl/WsdlParser.h"
#include "xml/SourceSpot.h"
#include "xml/XmlPullParserException.h"
#include "tools/ProgramFolder.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace {

const char* const Usage =
    "usage: wsdlinfo [--schemas DIR] LOCATION\n"
    "\n"
    "Parses the WSDL 1.1 document at LOCATION (a file name or an http, https or\n"
    "ftp address) with the schemas it embeds and imports, and prints one line:\n"
    "  schemas=N types=N elements=N messages=N portTypes=N operations=N bindings=N services=N\n"
    "(types and global elements of the document's own schemas) and exits with 0;\n"
    "the parser's notices, if any, go to the error output.\n"
    "When the document is rejected, prints the parser's messages, each with the\n"
    "line and column reached, and exits with 1. Wrong arguments exit with 2.\n"
    "\n"
    "--schemas DIR  folder of the built-in schemas wsdl10.xsd, soap.xsd and\n"
    "               soap-encoding.xsd. Default: soap-schemas beside the program,\n"
    "               else runtime/soap-schemas of the source tree it was built from.\n";

// The parser joins the folder and the file names as they are: the folder ends in a separator.
std::string defaultSchemaFolder(const char* argv0)
{
    return runtimeFolder(argv0) + "soap-schemas/";
}

void printCounts(const Wsdl::WsdlParser& parser)
{
    int types = 0;
    int elements = 0;
    for (int i = 2; i < parser.getSchemaCount() + 2; ++i) {
        const Schema::SchemaParser* schema = parser.getSchemaParser(i);
        types += schema->getNumTypes();
        elements += schema->getNumElements() - 1; // every schema declares "schema" itself
    }
    int operations = 0;
    Wsdl::WsdlParser::PortTypeList::const_iterator begin, end;
    std::size_t portTypes = 0;
    if (parser.getPortTypes(begin, end)) {
        for (auto portType = begin; portType != end; ++portType, ++portTypes)
            operations += (*portType)->getNumOps();
    }
    std::cout << "schemas=" << parser.getSchemaCount() << " types=" << types << " elements=" << elements
              << " messages=" << parser.getMessages().size() << " portTypes=" << portTypes
              << " operations=" << operations << " bindings=" << parser.getBindings().size()
              << " services=" << parser.getServices().size() << "\n";
}

int fail(const std::ostringstream& diagnostics, const SourceSpot& spot = SourceSpot(),
         const std::string& description = std::string())
{
    std::cerr << diagnostics.str();
    if (!description.empty())
        std::cerr << locatedMessage(spot, Wsdl::reportText(description)) << "\n";
    return 1;
}

// Schemas imported by schemas report to the standard output: while the
// document is read, that is the parser's messages too.
class StandardOutputTo {
public:
    explicit StandardOutputTo(std::ostream& target) : saved_(std::cout.rdbuf(target.rdbuf())) {}
    ~StandardOutputTo() { std::cout.rdbuf(saved_); }
    StandardOutputTo(const StandardOutputTo&) = delete;
    StandardOutputTo& operator=(const StandardOutputTo&) = delete;

private:
    std::streambuf* saved_;
};

int run(const std::string& location, const std::string& schemaFolder)
{
    std::ostringstream diagnostics;
    try {
        std::unique_ptr<Wsdl::WsdlParser> parser;
        {
            const StandardOutputTo reports(diagnostics);
            parser = std::make_unique<Wsdl::WsdlParser>(location, diagnostics, schemaFolder);
            while (parser->getState() != Wsdl::WsdlParser::END)
                parser->parse();
        }
        if (parser->hasError())
            return fail(diagnostics);
        std::cerr << diagnostics.str(); // notices of a document that parses
        printCounts(*parser);
        return 0;
    } catch (const Wsdl::WsdlException& failure) {
        return fail(diagnostics, SourceSpot{location, failure.line, failure.column}, failure.description);
    } catch (const XmlPullParserException& failure) {
        return fail(diagnostics, SourceSpot{location, failure.line, failure.column}, failure.description);
    } catch (const Schema::SchemaParserException& failure) {
        const std::string& document = failure.getDocument().empty() ? location : failure.getDocument();
        return fail(diagnostics, SourceSpot{document, failure.getLine(), failure.getColumn()}, failure.getDescription());
    } catch (const std::exception& failure) {
        return fail(diagnostics, SourceSpot{location, 0, 0}, failure.what());
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::string location;
    std::string schemaFolder;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << Usage;
            return 0;
        }
        if (argument == "--schemas" && i + 1 < argc) {
            schemaFolder = argv[++i];
        } else if (location.empty() && !argument.empty() && argument[0] != '-') {
            location = argument;
        } else {
            std::cerr << Usage;
            return 2;
        }
    }
    if (location.empty()) {
        std::cerr << Usage;
        return 2;
    }
    if (schemaFolder.empty())
        schemaFolder = defaultSchemaFolder(argv[0]);
    else if (schemaFolder.back() != '/' && schemaFolder.back() != '\\')
        schemaFolder += '/';
    return run(location, schemaFolder);
}
