#include "generator/emit/MakefileText.h"

#include "generator/model/ProjectRecord.h"
#include "generator/emit/TextBuffer.h"

#include <string>

namespace {

// The link rules, one per platform a project can target; the project's own
// is active, the others stand commented out beneath the rule they replace.
// On Windows the compiler's own run-times (libgcc, and the threads library
// of a posix-model mingw-w64) are linked in, as libxml2 is: the demo starts
// from the project folder with no DLL beside it.
struct LinkRule {
    const char* command;
    bool windows;
    bool unix;
};

const LinkRule LinkRules[] = {
    {"\t$(CC) ${CFLAGS}  -o $@ $(OBJ) -L./lib/bin/solaris/ -ltessaro -lxml2 -lssl -lcrypto -lsocket -lpthread ", false, false},
    {"\t$(CC) ${CFLAGS}  -o $@ $(OBJ) -L./lib/bin/redhat/ -ltessaro -lxml2 -lssl -lcrypto -lpthread ", false, true},
    {"\t$(CC) ${CFLAGS}  -o $@ $(OBJ) -L./lib/bin/win32/ -ltessaroMTD -L./libxml2/lib/ -lxml2 -lws2_32 -lsecur32 -lcrypt32 -lbcrypt -static ", true, false},
};

}  // namespace

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
    for (const LinkRule& rule : LinkRules) {
        const bool active = project.isWindowsTarget() ? rule.windows : rule.unix;
        const std::string comment = active ? "" : "#";
        makefile.line(comment + "${TARGET}:${OBJ}");
        makefile.line(comment + rule.command);
    }
    makefile.line("clean:");
    makefile.line("\trm -f core ${TARGET} ${OBJ}");
    makefile.emptyLine();
}
