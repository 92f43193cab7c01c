#ifndef KELVANE_PROJECT_BUILDCOMMANDLINES_H
#define KELVANE_PROJECT_BUILDCOMMANDLINES_H

#include "project/BuildJob.h"

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
// The same builds with a mingw-w64 gcc at the path given, run in the
// project folder: the DLL with its import library, or the object and the
// static library made from it by the archiver beside the compiler; the demo
// linked statically.
std::vector<CBuildStep> gccLibrarySteps(const CProjectRecord& project, const std::string& gcc);
std::vector<CBuildStep> gccDemoSteps(const CProjectRecord& project, const std::string& gcc);
// The archiver of the compiler at the path: "gcc" and what follows it in
// the file name become "ar", the extension kept.
std::string archiverBeside(const std::string& gcc);
// The build products a Compile or Compile Demo replaces, in the order they
// are deleted, joined to the folder with the system's separator.
std::vector<std::string> libraryProducts(const CProjectRecord& project);
std::string demoProduct(const CProjectRecord& project);

// Copies "<appdir>make/Make.rules" into the project folder: xcopy for
// Windows, cp elsewhere.
std::string makeRulesCopyLine(const std::string& appFolder, const std::string& location, bool windows);

#endif
