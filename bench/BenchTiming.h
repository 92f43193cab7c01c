// The best wall time of a few runs of a piece of work, for the benchmarks.
#pragma once

#include <algorithm>
#include <chrono>

template <class F>
double BestSeconds(F&& run, int nRounds = 3) {
    double best = 1e9;
    for (int i = 0; i < nRounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}
