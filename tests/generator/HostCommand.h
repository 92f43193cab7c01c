#pragma once

// Commands of the build machine for the generator's tests: the test support
// runs them, and a command that could not run to its end fails the test
// that gave it, saying why.

#include "support/HostCommand.h"

#include <gtest/gtest.h>

#include <string>

namespace gentest {

// Runs command in the shell of the build machine, in the current folder; its
// exit status comes back (-1 when it could not be started or did not end).
inline int runHostCommand(const std::string& command)
{
    const testsupport::HostCommandRun run = testsupport::runHostCommand(command);
    if (!run.failure.empty())
        ADD_FAILURE() << run.failure;
    return run.status;
}

} // namespace gentest
