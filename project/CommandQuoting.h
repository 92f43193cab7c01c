#ifndef KELVANE_PROJECT_COMMANDQUOTING_H
#define KELVANE_PROJECT_COMMANDQUOTING_H

#include <string>
#include <vector>

// An argument as a Windows program's C run-time splits its command line:
// bare when it holds no blank, tab or quote, else quoted with its quotes and
// the backslashes before them escaped.
std::string windowsArgument(const std::string& argument);
// The arguments joined into one command line that splits back into them.
std::string windowsCommandLine(const std::vector<std::string>& arguments);
// An argument for a Unix shell: in single quotes, a quote within as '\''.
std::string shellArgument(const std::string& argument);

#endif
