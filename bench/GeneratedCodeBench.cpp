// The generated code against the peer's generated C on the same service
// (bench/generated/ledger.wsdl), both generated at bench time: kvgen's
// project and wsdl2h -c with soapcpp2 -c, the peer writing in the output
// mode a user tuning it for speed sets (PeerMode). Each is built with gcc -O2 into a
// driver of its own (bench/generated/ledger_ours.c, ledger_gsoap.c) that
// prints per case its steps per second: encoding a request and decoding a
// response of 10,000 records, of a chain of 200 nested levels and of an
// rpc/encoded array of 10,000 numbers, in memory; loopback round trips on one
// kept connection and on a new connection per call; and the resident memory
// that decoding the 10,000-record response added at its peak. Each case runs
// in both drivers one right after the other (which first alternates), three
// times; each run prints its lines with the machine's load, and last come the medians (of each figure, and of the runs' ratios):
// ratio_vs_gsoap is ours per second over theirs, mem_ratio_vs_gsoap our peak
// over theirs.
#include "PeerRun.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const Peer = "gsoap";
// The peer's output mode, as a user tuning it for speed sets it: the whole
// message kept and sent once with its length (its default writes each
// message twice, the first time only to count its length). Every line names it.
const char* const PeerMode = "SOAP_IO_STORE";
const int Runs = 3;




// Both projects generated and both drivers built in work; false when a step failed.
bool build(const fs::path& work)
{
    const std::string wsdl = KELVANE_SOURCE_DIR "/bench/generated/ledger.wsdl";
    const std::string drivers = KELVANE_SOURCE_DIR "/bench/generated";
    const std::string ours = (work / "ours").string(), theirs = (work / Peer).string();
    fs::create_directories(theirs);
    return runStep(std::string(KELVANE_KVGEN) + " -q --out " + ours + " ledger " + wsdl) &&
           runStep("wsdl2h -c -o " + theirs + "/ledger.h " + wsdl + " >/dev/null 2>&1") &&
           runStep("soapcpp2 -c -x -d " + theirs + " " + theirs + "/ledger.h >/dev/null 2>&1") &&
           runStep("gcc -std=gnu99 -O2 -w -I" + ours + " -I" + ours + "/lib/include -I/usr/include/libxml2 -I" + drivers +
               " -o " + ours + "/driver " + drivers + "/ledger_ours.c " + ours + "/lib/src/*.c -lxml2 -lssl -lcrypto -lpthread") &&
           runStep("gcc -O2 -w -DGSOAP_OUTPUT_MODE=" + std::string(PeerMode) + " -I" + theirs + " -I" + drivers + " -o " +
               theirs + "/driver " + drivers + "/ledger_gsoap.c " +
               theirs + "/soapC.c " + theirs + "/soapClient.c " + theirs + "/soapServer.c -lgsoap -lpthread");
}

// The cases, in the order the drivers measure them.
const char* const Cases[] = {"records_encode",   "records_decode", "records_decode_kb",
                             "nested_encode",    "nested_decode",  "rpc_array_encode",
                             "rpc_array_decode", "roundtrip_kept_connection", "roundtrip_new_connection"};

// The figure the driver prints for one case ("<case> <value>"); -1 when it failed.
double measure(const fs::path& driver, const std::string& name)
{
    double value = -1;
    if (FILE* out = popen((driver.string() + " " + name).c_str(), "r")) {
        char got[64];
        if (std::fscanf(out, "%63s %lf", got, &value) != 2 || name != got)
            value = -1;
        if (pclose(out) != 0)
            value = -1;
    }
    return value;
}



// One line per case: the figures, and the ratio (a memory case's is our peak over theirs).
void print(const std::string& label, const std::string& name, double ours, double theirs, double ratio)
{
    const bool memory = name.size() > 3 && name.compare(name.size() - 3, 3, "_kb") == 0;
    if (memory)
        std::printf("%s%-26s ours=%.0f KB %s(%s)=%.0f KB mem_ratio_vs_%s=%.2f\n", label.c_str(), name.c_str(), ours, Peer,
                    PeerMode, theirs, Peer, ratio);
    else
        std::printf("%s%-26s ours=%.1f/s %s(%s)=%.1f/s ratio_vs_%s=%.2f\n", label.c_str(), name.c_str(), ours, Peer,
                    PeerMode, theirs, Peer, ratio);
}

} // namespace

int main()
{
    const fs::path work = fs::temp_directory_path() / ("kelvane-generated-bench-" + std::to_string(getpid()));
    std::error_code ignored;
    if (!build(work)) {
        fs::remove_all(work, ignored);
        std::fprintf(stderr, "the benchmark could not be built (are the gsoap and libgsoap-dev packages installed?)\n");
        return 1;
    }
    // Each case runs in both drivers one right after the other (the first in turn), so that both
    // meet about the same load.
    std::map<std::string, std::vector<double>> ours, theirs;
    bool ok = true;
    for (int round = 1; round <= Runs; ++round) {
        const std::string before = machineLoad();
        std::vector<std::pair<double, double>> figures;
        for (const char* name : Cases) {
            const bool oursFirst = (round + static_cast<int>(figures.size())) % 2 == 0;
            const double first = measure(work / (oursFirst ? "ours" : Peer) / "driver", name);
            const double second = measure(work / (oursFirst ? Peer : "ours") / "driver", name);
            figures.emplace_back(oursFirst ? first : second, oursFirst ? second : first);
        }
        std::printf("run %d (load %s to %s)\n", round, before.c_str(), machineLoad().c_str());
        for (std::size_t i = 0; i < figures.size(); ++i) {
            const auto [own, peer] = figures[i];
            ours[Cases[i]].push_back(own);
            theirs[Cases[i]].push_back(peer);
            print("  ", Cases[i], own, peer, ratioOf(own, peer));
            ok = ok && own > 0 && peer > 0;
        }
    }
    std::printf("median of %d runs (each figure's, and the runs' ratios')\n", Runs);
    for (const std::string name : Cases) {
        std::vector<double> ratios;
        for (std::size_t run = 0; run < ours[name].size(); ++run)
            ratios.push_back(ratioOf(ours[name][run], theirs[name][run]));
        print("", name, median(ours[name]), median(theirs[name]), median(ratios));
    }
    fs::remove_all(work, ignored);
    return ok ? 0 : 1;
}
