#ifndef KELVANE_GENERATOR_EMIT_MAKEFILETEXT_H
#define KELVANE_GENERATOR_EMIT_MAKEFILETEXT_H

struct CProjectRecord;
class CTextBuffer;

// Appends the Makefile that builds "<proj>_demo" from the demo and the API
// source with gcc; OBJ, CFLAGS and the compile rules come from the
// Make.rules copied beside it. The link rule of the project's target
// platform is the active one (Linux for a Unix target, mingw for Windows);
// the others stand commented out.
void writeMakefile(const CProjectRecord& project, CTextBuffer& makefile);

#endif
