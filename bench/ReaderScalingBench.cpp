// How the WSDL reader's cost grows with the document: for each case a
// generator writes a document at N and at 16·N (many types, many operations,
// many schemas imported by one schema, many WSDL documents imported by one,
// each with a schema of its own, many attributes on one type, many schemas of
// namespaces of their own whose elements the messages name), the reader
// parses each to the end, and the last lines give the time at 16·N over the
// time at N. Linear reading gives about 16; the goal is at most 17.
#include "ManySchemasDocument.h"
#include "ReaderScalingDocuments.h"
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

using namespace scaling;

// Each size is parsed at least kRounds times and until kBudgetSeconds are
// spent, and the best time counts: a parse of a few milliseconds on a loaded
// machine needs many tries for its best to be its own cost.
constexpr int kRounds = 5;
constexpr double kBudgetSeconds = 0.25;
constexpr int kGrowth = 16;

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
