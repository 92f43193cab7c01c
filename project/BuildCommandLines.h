#ifndef KELVANE_PROJECT_BUILDCOMMANDLINES_H
#define KELVANE_PROJECT_BUILDCOMMANDLINES_H

#include <string>
#include <vector>

struct CProjectRecord;

// The command lines Compile, Compile Demo and Generate Makefile start. The
// compiler lines run vcvars32.bat and then the tools in one line joined by
// "&"; the project folder and a piece after it are joined by exactly one
// backslash. Paths are quoted where a blank would split them, and no quoted
// path ends in a backslash, which would escape its closing quote.

// The DLL line (library type 0) or the static-library line (any other).
std::string libraryCompileLine(const CProjectRecord& project, const std::string& vcvars);
std::string demoCompileLine(const CProjectRecord& project, const std::string& vcvars);
// The build products a Compile or Compile Demo replaces, in the order they
// are deleted, joined to the folder with the system's separator.
std::vector<std::string> libraryProducts(const CProjectRecord& project);
std::string demoProduct(const CProjectRecord& project);

// Copies "<appdir>make/Make.rules" into the project folder: xcopy for
// Windows, cp elsewhere.
std::string makeRulesCopyLine(const std::string& appFolder, const std::string& location, bool windows);

#endif
