#ifndef KELVANE_GENERATOR_EMIT_CMAKELISTSTEXT_H
#define KELVANE_GENERATOR_EMIT_CMAKELISTSTEXT_H

struct CProjectRecord;
class CTextBuffer;

// Appends the CMakeLists.txt that stands beside the generated Makefile and
// builds the same with CMake: the support library from the project's lib/
// sources, the library "<proj>_api" (static unless BUILD_SHARED_LIBS) and
// "<proj>_demo", against the libxml2 that find_package(LibXml2) finds (for
// Windows the one the project carries, when it carries one).
void writeCMakeLists(const CProjectRecord& project, CTextBuffer& text);

#endif
