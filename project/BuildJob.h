#ifndef KELVANE_PROJECT_BUILDJOB_H
#define KELVANE_PROJECT_BUILDJOB_H

#include <functional>
#include <string>
#include <vector>

// One program to run: its path and its arguments, each passed whole.
struct CBuildStep {
    std::vector<std::string> arguments; // the program first
};

// How a run of external programs ended.
struct CBuildOutcome {
    bool started = false;
    // Why the program did not start, or why its end could not be learnt.
    std::string failure;
    // The program that ended the run: the first one that failed, else the last.
    std::string program;
    int exitCode = 0;
};

// What Compile, Compile Demo and Run Demo hand their host to run: programs
// run one after the other in a folder, the first that fails (does not start
// or exits non-zero) ending the run, their output shown as it comes.
struct CBuildJob {
    std::string folder;
    std::vector<CBuildStep> steps;
    // Instead of steps: one line for the command shell ("cmd /c").
    std::string shellLine;
    // Called on the window's thread once the run ended.
    std::function<void(const CBuildOutcome&)> finished;
};

#endif
