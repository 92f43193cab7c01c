// Where a mingw-w64 gcc stands on this system when the user named none.
#pragma once

#include <string>

// Under Wine, the machine's own cross compiler for 64-bit Windows; on Windows, a gcc.exe of
// mingw-w64 on the PATH or in its usual folders. Empty when there is none.
std::string FindDefaultGcc();
