#ifndef KELVANE_GENERATOR_EMIT_MAKEFILETEXT_H
#define KELVANE_GENERATOR_EMIT_MAKEFILETEXT_H

struct CProjectRecord;
class CTextBuffer;

// Appends the Makefile that builds "<proj>_demo" from the demo and the API
// source with gcc; OBJ, CFLAGS and the compile rule come from the Make.rules
// copied beside it. Only the project's name is read.
void writeMakefile(const CProjectRecord& project, CTextBuffer& makefile);

#endif
