// How the emitters grow with the service: a generated document/literal WSDL
// with N types and N operations, and one with 10*N; then 1,000 against
// 16,000. The document is read once (not timed); the time is that of
// building the emitters' view and writing the header, the source and the
// demo (passed on block by block, as kvgen writes them), best of a few
// rounds. "scaling=" is time at 10*N over time at N
// (linear growth gives 10), "scaling_16x=" time at 16,000 over 1,000
// (linear growth gives 16). "schemas_16x=" is the same for a service
// spread over 100 and 1,600 schemas of namespaces of their own, timing the
// view and what the emitters work out from it alone: every envelope
// declares every namespace, so the files grow with the square.
#include "BenchTiming.h"
#include "EmitterScalingDocuments.h"
#include "ManySchemasDocument.h"
#include "generator/model/EmitContext.h"
#include "generator/emit/DemoFile.h"
#include "generator/emit/HeaderFile.h"
#include "generator/model/ServiceViewReader.h"
#include "generator/emit/SourceFile.h"
#include "generator/emit/TextBuffer.h"
#include "wsdl/WsdlParser.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int kN = 200;

enum class Timed { Model, ModelAndFiles };

// Seconds to build the view and the emitters' context of the service
// document(n) describes, and to write its three files.
double emitSeconds(std::string (*document)(int), int n, Timed timed, std::size_t& bytes)
{
    const std::string path = "emitter-scaling-" + std::to_string(n) + ".wsdl";
    std::ofstream(path, std::ios::binary) << document(n);
    std::ostringstream messages;
    Wsdl::WsdlParser parser(path, messages, KELVANE_SOURCE_DIR "/runtime/soap-schemas/");
    while (parser.getState() != Wsdl::WsdlParser::END)
        parser.parse();
    std::remove(path.c_str());
    if (parser.hasError()) {
        std::fprintf(stderr, "%s", messages.str().c_str());
        return -1;
    }
    CProjectRecord project;
    project.name = "scale";
    project.targetPlatform = CProjectRecord::Unix;
    return BestSeconds([&] {
        const CServiceView view = readServiceView(parser);
        const CEmitContext context(project, view);
        bytes = 0;
        if (timed == Timed::Model)
            return;
        // The files pass on to a stream that drops them, as kvgen's pass
        // on to disk, block by block.
        std::ostream discard(nullptr);
        CTextBuffer header(discard), source(discard), demo(discard);
        writeHeaderFile(context, header);
        writeSourceFile(context, source);
        writeDemoFile(context, demo);
        bytes = header.size() + source.size() + demo.size();
    }, 5);
}

} // namespace

int main()
{
    std::size_t small = 0, large = 0;
    const double atN = emitSeconds(scaling::chainedTypes, kN, Timed::ModelAndFiles, small);
    const double at10N = emitSeconds(scaling::chainedTypes, 10 * kN, Timed::ModelAndFiles, large);
    if (atN <= 0 || at10N <= 0)
        return 1;
    std::printf("N=%d: %.4f s, %zu bytes\n10*N=%d: %.4f s, %zu bytes\n", kN, atN, small, 10 * kN, at10N, large);
    std::printf("scaling=%.2f\n", at10N / atN);
    const double at1k = emitSeconds(scaling::chainedTypes, 1000, Timed::ModelAndFiles, small);
    const double at16k = emitSeconds(scaling::chainedTypes, 16000, Timed::ModelAndFiles, large);
    if (at1k <= 0 || at16k <= 0)
        return 1;
    std::printf("1000: %.4f s, %zu bytes\n16000: %.4f s, %zu bytes\n", at1k, small, at16k, large);
    std::printf("scaling_16x=%.2f\n", at16k / at1k);
    const double at100 = emitSeconds(manySchemas, 100, Timed::Model, small);
    const double at1600 = emitSeconds(manySchemas, 1600, Timed::Model, large);
    if (at100 <= 0 || at1600 <= 0)
        return 1;
    std::printf("100 schemas: %.4f s\n1600 schemas: %.4f s\n", at100, at1600);
    std::printf("schemas_16x=%.2f\n", at1600 / at100);
    return 0;
}
