#include "generator/emit/HeaderFile.h"

#include "generator/model/EmitContext.h"
#include "generator/emit/ExportedFunctions.h"
#include "generator/emit/HeaderConstants.h"
#include "generator/emit/HeaderStructs.h"
#include "generator/emit/OperationCalls.h"
#include "generator/emit/PrintFunctions.h"
#include "generator/emit/ServerDispatch.h"
#include "generator/emit/TextBuffer.h"

void writeHeaderPreamble(const CEmitContext& context, CTextBuffer& header)
{
    const std::string& P = context.projUpper();
    header.line("#ifndef ", P, "_API_H");
    header.line("#define ", P, "_API_H");
    header.emptyLine();
    if (!context.project().isWindowsTarget()) {
        // The Windows calling-convention and export words of the prototypes
        // vanish elsewhere. Callers may use the two macros too, so they stay;
        // a program's own definitions (its Windows headers, a compatibility
        // header), before this header, are kept.
        header.line("/* WINAPI and _declspec(dllexport) mark the exported functions for Windows; elsewhere");
        header.line("   they are empty, unless the program defined them before. */");
        header.line("#ifndef WINAPI");
        header.line("#define WINAPI ");
        header.line("#endif");
        header.line("#ifndef _declspec");
        header.line("#define _declspec(dllexport) ");
        header.line("#endif");
    }
    header.emptyLine();
    header.line("#ifdef _WIN32");
    header.line("#include <winsock2.h>");
    header.line("#endif");
    header.emptyLine();
    header.line("#include <assert.h>");
    header.line("#include <errno.h>");
    header.emptyLine();
    header.line("#include \"tessaro_type.h\"");
    header.line("#include \"tessaro_wsse.h\"");
    header.line("#include \"tessaro_server.h\"");
    header.emptyLine();
    header.line("#ifdef __cplusplus");
    header.line("extern \"C\"{");
    header.line("#endif");
    header.emptyLine();
    header.emptyLine();
}

void writeHeaderPrototypes(const CEmitContext& context, CTextBuffer& header)
{
    header.line("//timeout:waitting seconds when sending or reading message");
    for (CExportedFunction function : ExportedFunctions)
        header.line(exportedPrototype(context.proj(), function), ";");
    header.emptyLine();
    header.emptyLine();
}

void writeHeaderTail(CTextBuffer& header)
{
    header.emptyLine();
    header.line("#ifdef __cplusplus");
    header.line("}");
    header.line("#endif");
    header.emptyLine();
    header.line("#endif");
    header.emptyLine();
    header.emptyLine();
}

void writeHeaderFile(const CEmitContext& context, CTextBuffer& header)
{
    writeHeaderPreamble(context, header);
    writeHeaderLimitsAndTags(context, header);
    writeHeaderMessageIds(context, header);
    writeHeaderStructs(context, header);
    writeHeaderPrototypes(context, header);
    writePrintFunctionDeclarations(context, header);
    writeOperationCallDeclarations(context, header);
    writeServerDeclarations(context, header);
    writeHeaderTail(header);
}
