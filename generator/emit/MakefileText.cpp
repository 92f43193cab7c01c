#include "generator/emit/MakefileText.h"

#include "generator/model/ProjectRecord.h"
#include "generator/emit/TextBuffer.h"

void writeMakefile(const CProjectRecord& project, CTextBuffer& makefile)
{
    const std::string& p = project.name;
    makefile.line("include Make.rules");
    makefile.emptyLine();
    makefile.line("TARGET\t= " + p + "_demo");
    makefile.emptyLine();
    makefile.line("SRC\t= " + p + "_api_demo.c " + p + "_api.c");
    makefile.line("CC\t= gcc");
    makefile.emptyLine();
    makefile.line("all:\t${TARGET}");
    makefile.line("${TARGET}:${OBJ}");
    makefile.line("\t$(CC) ${CFLAGS}  -o $@ $(OBJ) -L./lib/bin/solaris/ -ltessaro -lxml2 -lsocket -lnsl -lpthread ");
    makefile.line("#${TARGET}:${OBJ}");
    makefile.line("#\t$(CC) ${CFLAGS}  -o $@ $(OBJ) -L./lib/bin/redhat/ -ltessaro -lxml2 -lnsl -lpthread ");
    makefile.line("clean:");
    makefile.line("\trm -f core ${TARGET} ${OBJ}");
    makefile.emptyLine();
}
