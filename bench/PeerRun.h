// What the benchmarks that build a peer's generated code at bench time share: running a build
// step, the machine's load beside each run's figures, and the medians and ratios they print.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

// Runs a shell command: false, and the command on stderr, when it failed.
inline bool runStep(const std::string& command)
{
    if (std::system(command.c_str()) == 0)
        return true;
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    return false;
}

// The machine's load average of the last minute.
inline std::string machineLoad()
{
    std::ifstream in("/proc/loadavg");
    std::string one;
    in >> one;
    return one;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// ours over theirs; 0 when either failed.
inline double ratioOf(double ours, double theirs)
{
    return ours > 0 && theirs > 0 ? ours / theirs : 0;
}
