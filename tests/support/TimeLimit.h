#pragma once

// The words for a run the tests ended at its time limit, the same for a
// program ended natively and under Wine, so that a hang names itself alike.

#include <chrono>
#include <string>

namespace testsupport {

// "300 s" for whole seconds, "250 ms" otherwise.
inline std::string limitText(std::chrono::milliseconds limit)
{
    const long long count = limit.count();
    return count % 1000 == 0 ? std::to_string(count / 1000) + " s" : std::to_string(count) + " ms";
}

// commandLine: the program's name and its arguments, as started.
inline std::string overranLimit(const std::string& commandLine, std::chrono::milliseconds limit)
{
    return "'" + commandLine + "' ran past its limit of " + limitText(limit) + " and was ended";
}

} // namespace testsupport
