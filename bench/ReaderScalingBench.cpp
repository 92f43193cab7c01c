// How the WSDL reader's cost grows with the document: for each case a
// generator writes a document at N and at 16·N (many types, many operations,
// many schemas imported by one schema, many WSDL documents imported by one,
// each with a schema of its own, many attributes on one type, many schemas of
// namespaces of their own whose elements the messages name), the reader
// parses each to the end, and the last lines give the time at 16·N over the
// time at N. Linear reading gives about 16; the goal is at most 17.
#include "ManySchemasDocument.h"
#include "wsdl/WsdlParser.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <stdlib.h>
#include <time.h>

namespace {

// Each size is parsed at least kRounds times and until kBudgetSeconds are
// spent, and the best time counts: a parse of a few milliseconds on a loaded
// machine needs many tries for its best to be its own cost.
constexpr int kRounds = 5;
constexpr double kBudgetSeconds = 0.25;
constexpr int kGrowth = 16;

const char* const kHead = "<?xml version=\"1.0\"?>\n"
                          "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\"\n"
                          "  xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\"\n"
                          "  xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"\n"
                          "  xmlns:tns=\"urn:t\" targetNamespace=\"urn:t\">\n";

// One operation Op<i> with its messages, port-type operation and binding operation.
struct Operations {
    std::string messages, portType, binding;

    void add(const std::string& n, const std::string& inputType)
    {
        messages += "<message name=\"In" + n + "\"><part name=\"a\" type=\"" + inputType + "\"/></message>"
                    "<message name=\"Out" + n + "\"><part name=\"r\" type=\"xsd:int\"/></message>\n";
        portType += "<operation name=\"Op" + n + "\"><input message=\"tns:In" + n +
                    "\"/><output message=\"tns:Out" + n + "\"/></operation>\n";
        binding += "<operation name=\"Op" + n + "\"><soap:operation soapAction=\"urn:op" + n +
                   "\"/><input><soap:body use=\"literal\"/></input><output><soap:body use=\"literal\"/></output>"
                   "</operation>\n";
    }

    std::string document(const std::string& types) const
    {
        return kHead + types + messages + "<portType name=\"P\">" + portType +
            "</portType>\n<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"rpc\" "
            "transport=\"http://schemas.xmlsoap.org/soap/http\"/>\n" + binding +
            "</binding>\n<service name=\"S\"><port name=\"Q\" binding=\"tns:B\"><soap:address "
            "location=\"http://localhost/\"/></port></service>\n</definitions>\n";
    }
};

std::string schema(const std::string& body)
{
    return "<types><xsd:schema targetNamespace=\"urn:t\">\n" + body + "</xsd:schema></types>\n";
}

// Types that each refer to the one before and to a global element.
std::string manyTypes(int count)
{
    std::string body;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        body += "<xsd:complexType name=\"T" + n + "\"><xsd:sequence><xsd:element name=\"v\" type=\"xsd:int\"/>" +
            (i > 0 ? "<xsd:element name=\"p\" type=\"tns:T" + std::to_string(i - 1) + "\"/>" : std::string()) +
            "<xsd:element ref=\"tns:E" + n + "\"/></xsd:sequence><xsd:attribute name=\"a\" type=\"xsd:string\"/>"
            "</xsd:complexType>\n<xsd:element name=\"E" + n + "\" type=\"xsd:string\"/>\n";
    }
    Operations operations;
    operations.add("0", "tns:T" + std::to_string(count - 1));
    return operations.document(schema(body));
}

std::string manyOperations(int count)
{
    Operations operations;
    for (int i = 0; i < count; ++i)
        operations.add(std::to_string(i), "xsd:int");
    return operations.document(std::string());
}

// One schema that imports count schema documents, each of its own namespace
// with one type that the importing schema uses. Each use declares its own
// prefix: one start tag holds at most 1,024 declarations.
std::string manyImports(int count, const std::filesystem::path& folder)
{
    std::string imports;
    std::string uses;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        const std::string file = "s" + std::to_string(count) + "_" + n + ".xsd";
        std::ofstream(folder / file, std::ios::binary)
            << "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" targetNamespace=\"urn:i" << n
            << "\"><xs:complexType name=\"T\"><xs:sequence><xs:element name=\"v\" type=\"xs:int\"/>"
               "</xs:sequence></xs:complexType></xs:schema>\n";
        imports += "<xsd:import namespace=\"urn:i" + n + "\" schemaLocation=\"" + file + "\"/>\n";
        uses += "<xsd:element name=\"e" + n + "\" type=\"i:T\" xmlns:i=\"urn:i" + n + "\"/>";
    }
    Operations operations;
    operations.add("0", "tns:All");
    return operations.document(
        schema(imports + "<xsd:complexType name=\"All\"><xsd:sequence>" + uses + "</xsd:sequence></xsd:complexType>\n"));
}

// A document that imports count WSDL documents, each with a schema of a
// namespace of its own and a message whose part names its element: every
// imported document's schemas are linked with those read before.
std::string manyImportedDocuments(int count, const std::filesystem::path& folder)
{
    std::string imports;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        const std::string file = "d" + std::to_string(count) + "_" + n + ".wsdl";
        std::ofstream(folder / file, std::ios::binary)
            << "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
               " xmlns:d=\"urn:d" << n << "\" targetNamespace=\"urn:d" << n << "\"><types><xsd:schema targetNamespace=\"urn:d"
            << n << "\"><xsd:complexType name=\"T\"><xsd:sequence><xsd:element name=\"v\" type=\"xsd:int\"/>"
               "</xsd:sequence></xsd:complexType><xsd:element name=\"E\" type=\"d:T\"/></xsd:schema></types>"
               "<message name=\"M\"><part name=\"p\" element=\"d:E\"/></message></definitions>\n";
        imports += "<import namespace=\"urn:d" + n + "\" location=\"" + file + "\"/>\n";
    }
    Operations operations;
    operations.add("0", "xsd:int");
    return operations.document(imports);
}

std::string manyAttributes(int count)
{
    std::string attributes;
    for (int i = 0; i < count; ++i)
        attributes += "<xsd:attribute name=\"a" + std::to_string(i) + "\" type=\"xsd:int\"/>\n";
    Operations operations;
    operations.add("0", "tns:Wide");
    return operations.document(schema("<xsd:complexType name=\"Wide\">" + attributes + "</xsd:complexType>\n"));
}

// The process's processor time: on a loaded machine the wall clock also
// counts the time other programs hold the processor.
double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double secondsToParse(const std::string& path, const std::string& builtIns)
{
    std::ostringstream diagnostics;
    const double start = processorSeconds();
    Wsdl::WsdlParser parser(path, diagnostics, builtIns);
    while (parser.getState() != Wsdl::WsdlParser::END)
        parser.parse();
    const double seconds = processorSeconds() - start;
    if (parser.hasError()) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), diagnostics.str().c_str());
        std::exit(1);
    }
    return seconds;
}

struct Case {
    const char* name;
    int count;
    std::function<std::string(int, const std::filesystem::path&)> make;
};

} // namespace

int main()
{
    // A folder of this run's own: two runs at once must not write over each other's documents.
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-reader-scaling-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path folder = pattern;
    const std::string builtIns = KELVANE_SOURCE_DIR "/runtime/soap-schemas/";
    const Case cases[] = {
        {"types", 1000, [](int n, const std::filesystem::path&) { return manyTypes(n); }},
        {"operations", 1000, [](int n, const std::filesystem::path&) { return manyOperations(n); }},
        {"imported_schemas", 50, manyImports},
        // Beyond the descriptor and C-runtime stream limits: each document is closed once read.
        {"imports_2000", 2000, manyImports},
        {"imported_documents", 50, manyImportedDocuments},
        {"attributes", 1000, [](int n, const std::filesystem::path&) { return manyAttributes(n); }},
        {"schemas", 100, [](int n, const std::filesystem::path&) { return manySchemas(n); }},
    };
    std::printf("Reader processor time at N and %d*N, best of at least %d rounds and %.2f s\n%18s %8s %12s %12s\n", kGrowth,
                kRounds, kBudgetSeconds, "case", "N", "ms at N", "ms at 16N");
    std::vector<std::pair<std::string, double>> ratios;
    for (const Case& c : cases) {
        double best[2] = {1e100, 1e100};
        for (int size = 0; size < 2; ++size) {
            const int count = size == 0 ? c.count : c.count * kGrowth;
            const std::filesystem::path path = folder / (std::string(c.name) + std::to_string(count) + ".wsdl");
            std::ofstream(path, std::ios::binary) << c.make(count, folder);
            double spent = 0;
            for (int round = 0; round < kRounds || spent < kBudgetSeconds; ++round) {
                const double seconds = secondsToParse(path.string(), builtIns);
                best[size] = std::min(best[size], seconds);
                spent += seconds;
            }
        }
        std::printf("%18s %8d %12.1f %12.1f\n", c.name, c.count, best[0] * 1000.0, best[1] * 1000.0);
        ratios.emplace_back(c.name, best[1] / best[0]);
    }
    std::filesystem::remove_all(folder);
    for (const auto& ratio : ratios)
        std::printf("scaling_%s=%.2f\n", ratio.first.c_str(), ratio.second);
    return 0;
}
