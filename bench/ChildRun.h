// A program run as a child process of its own, for the benchmarks that set
// one of our tools against a peer program: the best wall time over the
// rounds and the largest resident set the child reached.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

struct ChildRun {
    double seconds = 1e9;
    long peakKilobytes = 0;
    bool ok = true;
};

// Starts the command (looked up on PATH) with its output thrown away: its
// process id, 0 when it could not be started.
inline pid_t spawnQuiet(const std::vector<std::string>& command)
{
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        child = 0;
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

// Runs the command with its output thrown away and folds its time and peak
// memory into run; a start failure or a non-zero exit marks run failed.
inline void measureChild(const std::vector<std::string>& command, ChildRun& run)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = spawnQuiet(command);
    int status = 0;
    rusage usage{};
    if (child == 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        run.ok = false;
        return;
    }
    run.seconds = std::min(run.seconds, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    run.peakKilobytes = std::max(run.peakKilobytes, usage.ru_maxrss);
}

// The two largest documents of the corpus.
inline std::vector<std::string> largestCorpusDocuments()
{
    return {KELVANE_CORPUS_DIR "/wsdl/wasabi/workday.wsdl", KELVANE_CORPUS_DIR "/wsdl/savon/economic.wsdl"};
}

// The document-to-generated-files road of kvgen (KELVANE_KVGEN) against a
// peer program on the two largest corpus documents, five rounds alternating
// between the two. Prints a row per document and last
// "ratio_vs_<peer>=T rss_ratio_vs_<peer>=M": ours over theirs, time and peak
// memory summed over the documents. peerCommand(document path, scratch
// folder) gives the peer's command line. Returns the benchmark's exit status.
template <class Command>
int compareKvgenWithPeer(const std::string& peer, const std::string& missingHint, Command peerCommand)
{
    const int rounds = 5;
    namespace fs = std::filesystem;
    const fs::path work = fs::temp_directory_path() / ("kelvane-" + peer + "-bench-" + std::to_string(getpid()));
    fs::create_directories(work);
    double ours = 0, theirs = 0, oursPeak = 0, theirsPeak = 0;
    bool ok = true;
    std::printf("%-22s %12s %12s %12s %12s\n", "document", "kvgen s", (peer + " s").c_str(), "kvgen MB",
                (peer + " MB").c_str());
    for (const std::string& path : largestCorpusDocuments()) {
        const std::string document = fs::path(path).parent_path().filename().string() + "/" + fs::path(path).filename().string();
        ChildRun kvgen, other;
        for (int round = 0; round < rounds; ++round) {
            measureChild({KELVANE_KVGEN, "--out", (work / "kvgen").string(), "bench", path}, kvgen);
            measureChild(peerCommand(path, work), other);
        }
        if (!kvgen.ok || !other.ok) {
            std::fprintf(stderr, "%s: %s failed%s\n", document.c_str(), kvgen.ok ? peer.c_str() : "kvgen",
                         kvgen.ok ? missingHint.c_str() : "");
            ok = false;
            continue;
        }
        std::printf("%-22s %12.3f %12.3f %12.1f %12.1f\n", document.c_str(), kvgen.seconds, other.seconds,
                    kvgen.peakKilobytes / 1024.0, other.peakKilobytes / 1024.0);
        ours += kvgen.seconds;
        theirs += other.seconds;
        oursPeak += static_cast<double>(kvgen.peakKilobytes);
        theirsPeak += static_cast<double>(other.peakKilobytes);
    }
    std::error_code ignored;
    fs::remove_all(work, ignored);
    if (!ok)
        return 1;
    std::printf("ratio_vs_%s=%.2f rss_ratio_vs_%s=%.2f\n", peer.c_str(), ours / theirs, peer.c_str(),
                oursPeak / theirsPeak);
    return 0;
}
