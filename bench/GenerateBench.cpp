// The main road, document to generated files, against a peer in the same
// run: kvgen (read the WSDL document with its schemas, write the header, the
// source, the demo and the Makefile) and the peer xmllint (libxml2, the
// library the generated code decodes with, parsing the same document), each
// as a child process of its own. Each time is the best of several rounds that alternate between the two; each
// peak is the child's largest resident set. The last line holds the ratios
// of ours to the peer over both documents.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kRounds = 5;
const char* const kDocuments[] = {"wasabi/workday.wsdl", "savon/economic.wsdl"};

struct Run {
    double seconds = 1e9;
    long peakKilobytes = 0;
    bool ok = true;
};

// Runs the command with its output thrown away; its time and peak memory go into run.
void measure(const std::vector<std::string>& command, Run& run)
{
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (failed != 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        run.ok = false;
        return;
    }
    run.seconds = std::min(run.seconds, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    run.peakKilobytes = std::max(run.peakKilobytes, usage.ru_maxrss);
}

} // namespace

int main()
{
    const std::filesystem::path work = std::filesystem::temp_directory_path() / ("kelvane-generate-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(work);
    double ours = 0, theirs = 0, oursPeak = 0, theirsPeak = 0;
    bool ok = true;
    std::printf("%-22s %12s %12s %12s %12s\n", "document", "kvgen s", "xmllint s", "kvgen MB", "xmllint MB");
    for (const char* document : kDocuments) {
        const std::string path = std::string(KELVANE_CORPUS_DIR "/wsdl/") + document;
        Run kvgen, peer;
        for (int round = 0; round < kRounds; ++round) {
            measure({KELVANE_KVGEN, "--out", (work / "kvgen").string(), "bench", path}, kvgen);
            measure({"xmllint", "--noout", path}, peer);
        }
        if (!kvgen.ok || !peer.ok) {
            std::fprintf(stderr, "%s: %s failed (is libxml2-utils installed?)\n", document,
                         kvgen.ok ? "xmllint" : "kvgen");
            ok = false;
            continue;
        }
        std::printf("%-22s %12.3f %12.3f %12.1f %12.1f\n", document, kvgen.seconds, peer.seconds,
                    kvgen.peakKilobytes / 1024.0, peer.peakKilobytes / 1024.0);
        ours += kvgen.seconds;
        theirs += peer.seconds;
        oursPeak += static_cast<double>(kvgen.peakKilobytes);
        theirsPeak += static_cast<double>(peer.peakKilobytes);
    }
    std::error_code ignored;
    std::filesystem::remove_all(work, ignored);
    if (!ok)
        return 1;
    std::printf("ratio_vs_xmllint=%.2f rss_ratio_vs_xmllint=%.2f\n", ours / theirs, oursPeak / theirsPeak);
    return 0;
}
