#ifndef KELVANE_GENERATOR_EMIT_EXPORTEDFUNCTIONS_H
#define KELVANE_GENERATOR_EMIT_EXPORTEDFUNCTIONS_H

#include <string>

// The functions "<proj>_api.c" exports to its callers. The header's
// prototypes and the first lines of their definitions come from this one
// list, so that the two cannot disagree.
enum class CExportedFunction {
    ReadPacket,
    SendPacket,
    ConnectServer,
    SetAttachment,
    AddHttpHeader,
    PrintPacket,
    FreePacket,
    FreeFault
};

// In the order of the header's prototypes.
constexpr CExportedFunction ExportedFunctions[] = {
    CExportedFunction::ReadPacket,    CExportedFunction::SendPacket,    CExportedFunction::ConnectServer,
    CExportedFunction::SetAttachment, CExportedFunction::AddHttpHeader, CExportedFunction::PrintPacket,
    CExportedFunction::FreePacket,    CExportedFunction::FreeFault};

// "_declspec(dllexport) <type> WINAPI <proj>_<name>(<parameters>)", without
// the prototype's ";".
std::string exportedPrototype(const std::string& proj, CExportedFunction function);

// The first line of the definition, without its "{": the prototype, but
// for the print function, whose definition leaves the export word to the
// header.
std::string exportedDefinitionHead(const std::string& proj, CExportedFunction function);

#endif
