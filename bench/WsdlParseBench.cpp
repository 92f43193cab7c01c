// Parse time and peak memory of whole WSDL documents: the WSDL parser reads
// each into its model (with its schemas and the built-in ones), and the peer,
// libxml2's xmlReadFile, builds its DOM tree of the same file (no schema
// processing). Each time is the best of several rounds that alternate between
// the two; each peak is the growth of the resident set of a child process
// that does one parse, over a child that does nothing. The last columns hold
// the ratios of ours to the peer.
#include "wsdl/WsdlParser.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int kRounds = 5;
const char* const kDocuments[] = {"wasabi/workday.wsdl", "savon/economic.wsdl"};

std::string corpusPath(const char* document)
{
    return std::string(KELVANE_CORPUS_DIR "/wsdl/") + document;
}

bool parseWithKelvane(const std::string& path)
{
    std::ostringstream diagnostics;
    Wsdl::WsdlParser parser(path, diagnostics, KELVANE_SOURCE_DIR "/runtime/soap-schemas/");
    while (parser.getState() != Wsdl::WsdlParser::END)
        parser.parse();
    if (parser.hasError())
        std::fprintf(stderr, "%s", diagnostics.str().c_str());
    return !parser.hasError();
}

bool parseWithLibxml2(const std::string& path)
{
    xmlDocPtr document = xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_HUGE);
    if (document == nullptr)
        return false;
    xmlFreeDoc(document);
    return true;
}

bool doNothing(const std::string&)
{
    return true;
}

using Parse = bool (*)(const std::string&);

// Kilobytes of the largest resident set of a child that ran parse once; -1 on failure.
long peakKilobytes(Parse parse, const std::string& path)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0)
        _exit(parse(path) ? 0 : 1);
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

double seconds(Parse parse, const std::string& path)
{
    const auto start = std::chrono::steady_clock::now();
    if (!parse(path)) {
        std::fprintf(stderr, "%s: parse failed\n", path.c_str());
        std::exit(1);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main()
{
    xmlInitParser();
    std::printf("WSDL parse: kelvane WsdlParser (whole model) against libxml2 xmlReadFile (DOM tree), best of %d\n",
                kRounds);
    std::printf("%-22s %8s %12s %12s %7s %14s %14s %7s\n", "document", "MB", "kelvane ms", "libxml2 ms", "ratio",
                "kelvane KB", "libxml2 KB", "ratio");
    // Peaks first, while this process is still small: a child starts as a copy of it.
    const long baseline = peakKilobytes(doNothing, std::string());
    struct Row {
        const char* document;
        std::string path;
        double megabytes = 0;
        long ourPeak = 0;
        long peerPeak = 0;
    };
    std::vector<Row> rows;
    for (const char* document : kDocuments) {
        Row row{document, corpusPath(document)};
        struct stat info {};
        if (stat(row.path.c_str(), &info) != 0) {
            std::fprintf(stderr, "%s: not found\n", row.path.c_str());
            return 1;
        }
        row.megabytes = static_cast<double>(info.st_size) / (1024.0 * 1024.0);
        row.ourPeak = peakKilobytes(parseWithKelvane, row.path) - baseline;
        row.peerPeak = peakKilobytes(parseWithLibxml2, row.path) - baseline;
        rows.push_back(row);
    }
    for (const Row& row : rows) {
        double ours = 1e100;
        double peer = 1e100;
        for (int round = 0; round < kRounds; ++round) {
            ours = std::min(ours, seconds(parseWithKelvane, row.path));
            peer = std::min(peer, seconds(parseWithLibxml2, row.path));
        }
        std::printf("%-22s %8.1f %12.1f %12.1f %7.2f %14ld %14ld %7.2f\n", row.document, row.megabytes, ours * 1000.0,
                    peer * 1000.0, ours / peer, row.ourPeak, row.peerPeak,
                    row.peerPeak > 0 ? static_cast<double>(row.ourPeak) / static_cast<double>(row.peerPeak) : 0.0);
    }
    xmlCleanupParser();
    return 0;
}
