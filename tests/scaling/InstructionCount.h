#pragma once

// Counts of work for the scaling guards: the instructions callgrind counts
// while a program has its instrumentation on (CountedWork.h), the same from
// run to run and machine to machine, which a time is not.

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace scaling {

// Work at 4 times the input may cost at most this many times the work at
// the input: linear growth plus a margin, well below what growth with the
// square gives (16).
constexpr double MostGrowth = 5.0;

// The instructions counted in command's run (started in the current folder
// under callgrind, instrumentation off until the program switches it on);
// 0 with a test failure when the run failed.
inline std::uint64_t countedInstructions(const std::string& command)
{
    const int status = std::system(("valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file=/dev/null "
                                    "--log-file=callgrind.log " + command + " > work.log 2>&1").c_str());
    const std::string log = testsupport::readBytes("callgrind.log");
    const std::size_t at = log.find("Collected : ");
    if (status != 0 || at == std::string::npos) {
        ADD_FAILURE() << command << " under callgrind (scripts/setup installs valgrind) ended with " << status << ":\n"
                      << testsupport::readBytes("work.log") << log;
        return 0;
    }
    return std::strtoull(log.c_str() + at + 12, nullptr, 10);
}

// Checks that the work counted at 4n is at most MostGrowth times that at n.
inline void expectLinear(const std::string& what, std::uint64_t atN, std::uint64_t at4N)
{
    if (atN == 0 || at4N == 0)
        return;
    const double growth = static_cast<double>(at4N) / static_cast<double>(atN);
    EXPECT_LE(growth, MostGrowth) << what << ": " << atN << " instructions at N, " << at4N << " at 4N";
    std::printf("%s: %llu instructions at N, %llu at 4N: %.2fx\n", what.c_str(), static_cast<unsigned long long>(atN),
                static_cast<unsigned long long>(at4N), growth);
}

} // namespace scaling
