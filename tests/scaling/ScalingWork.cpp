// One case of the scaling guards at one size: "scaling_work CASE N FOLDER"
// writes the case's document of size N into FOLDER and does the case's work
// on it, and only that work is counted: the instruction count is switched on
// around it (callgrind, started with instrumentation off). Exit status 0
// when the work succeeded.
#include "CountedWork.h"
#include "bench/EmitterScalingDocuments.h"
#include "bench/ReaderScalingDocuments.h"
#include "generator/emit/DemoFile.h"
#include "generator/emit/HeaderFile.h"
#include "generator/emit/SourceFile.h"
#include "generator/emit/TextBuffer.h"
#include "generator/model/EmitContext.h"
#include "generator/model/ServiceViewReader.h"
#include "wsdl/WsdlParser.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

namespace {

using Document = std::function<std::string(int, const std::filesystem::path&)>;

struct WorkCase {
    const char* name;
    Document document;
    bool emit; // the emitters' work on the document read; else the reading
};

std::unique_ptr<Wsdl::WsdlParser> read(const std::filesystem::path& path, std::ostream& messages)
{
    auto parser = std::make_unique<Wsdl::WsdlParser>(path.string(), messages, KELVANE_SOURCE_DIR "/runtime/soap-schemas/");
    while (parser->getState() != Wsdl::WsdlParser::END)
        parser->parse();
    return parser;
}

// The view, the emitters' context and the three files of the service, the
// files passed on to a stream that drops them, as kvgen's pass on to disk.
std::size_t emit(const Wsdl::WsdlParser& parser)
{
    CProjectRecord project;
    project.name = "scale";
    project.targetPlatform = CProjectRecord::Unix;
    const CServiceView view = readServiceView(parser);
    const CEmitContext context(project, view);
    std::ostream discard(nullptr);
    CTextBuffer header(discard), source(discard), demo(discard);
    writeHeaderFile(context, header);
    writeSourceFile(context, source);
    writeDemoFile(context, demo);
    return header.size() + source.size() + demo.size();
}

Document withoutFolder(std::string (*make)(int))
{
    return [make](int n, const std::filesystem::path&) { return make(n); };
}

const WorkCase cases[] = {
    {"emit_chained_types", withoutFolder(scaling::chainedTypes), true},
    {"emit_wide_type", withoutFolder(scaling::wideType), true},
    {"read_types", withoutFolder(scaling::manyTypes), false},
    {"read_operations", withoutFolder(scaling::manyOperations), false},
    {"read_imported_schemas", scaling::manyImports, false},
    {"read_imported_documents", scaling::manyImportedDocuments, false},
    {"read_attributes", withoutFolder(scaling::manyAttributes), false},
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: scaling_work CASE N FOLDER\n");
        return 2;
    }
    const WorkCase* chosen = nullptr;
    for (const WorkCase& one : cases) {
        if (std::strcmp(one.name, argv[1]) == 0)
            chosen = &one;
    }
    const int n = std::atoi(argv[2]);
    if (chosen == nullptr || n <= 0) {
        std::fprintf(stderr, "scaling_work: no case %s of size %s\n", argv[1], argv[2]);
        return 2;
    }
    const std::filesystem::path folder = argv[3];
    const std::filesystem::path path = folder / (std::string(chosen->name) + ".wsdl");
    std::ofstream(path, std::ios::binary) << chosen->document(n, folder);
    std::ostringstream messages;
    std::unique_ptr<Wsdl::WsdlParser> parser;
    std::size_t written = 0;
    if (chosen->emit) {
        parser = read(path, messages);
        if (!parser->hasError()) {
            countWork([&] { written = emit(*parser); });
        }
    } else {
        countWork([&] { parser = read(path, messages); });
    }
    if (parser->hasError() || (chosen->emit && written == 0)) {
        std::fprintf(stderr, "scaling_work: %s at %d failed:\n%s", chosen->name, n, messages.str().c_str());
        return 1;
    }
    return 0;
}
