#ifndef KELVANE_PROJECT_PROJECTLAYOUT_H
#define KELVANE_PROJECT_PROJECTLAYOUT_H

#include <string>

// What a new project carries besides its generated files, copied from the
// program's run-time folders as File New does: the support library's
// headers and sources (lib/include, and lib/*.c into lib/src) with the empty folder its
// build goes to (lib/bin/redhat, or lib/bin/win32 for a Windows target),
// and for a Windows target libxml2 (libxml2/include, libxml2/lib) when the
// program carries it. With that the generated Makefile builds the library
// and the demo as it stands.
struct CProjectLayout {
    bool copied = false;
    // Why the copy failed, naming the file; empty on success.
    std::string failure;
    // Set when a Windows project could get no libxml2 from the program.
    std::string warning;
};

// appFolder is the program's folder holding lib/ (and libxml2/), ending in
// a separator; projectFolder must exist.
CProjectLayout copyProjectLibraries(const std::string& appFolder, const std::string& projectFolder,
                                    bool windowsTarget);

#endif
