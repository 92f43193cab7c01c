#include "generator/emit/ExportedFunctions.h"

namespace {

const char* const Export = "_declspec(dllexport) ";

// "<type> WINAPI <proj>_<name>(<parameters>)".
std::string signature(const std::string& p, CExportedFunction function)
{
    const std::string trans = p + "_proto_trans_t *trans";
    const std::string packet = p + "_proto_packet_t *pk";
    switch (function) {
    case CExportedFunction::ReadPacket:
        return "int WINAPI " + p + "_proto_readpacket(" + trans + ", " + packet + ", int timeout)";
    case CExportedFunction::SendPacket:
        return "int WINAPI " + p + "_proto_sendpacket(" + trans + ", " + packet + ", int timeout)";
    case CExportedFunction::ConnectServer:
        return "int WINAPI " + p + "_connect_server(" + trans + ", char *ip, char *url, tessaro_port_t port)";
    case CExportedFunction::SetAttachment:
        return "int WINAPI " + p + "_set_attachment(" + packet + ", char *attachment, unsigned int attachment_length)";
    case CExportedFunction::AddHttpHeader:
        return "int WINAPI " + p + "_add_http_header(" + packet + ", char *name, char *value)";
    case CExportedFunction::PrintPacket:
        return "void WINAPI " + p + "_print_proto_packet_t(" + p + "_proto_packet_t* pk)";
    case CExportedFunction::FreePacket:
        return "void WINAPI " + p + "_free_proto_packet(" + packet + ")";
    case CExportedFunction::FreeFault:
        return "void WINAPI " + p + "_free_fault(" + p + "_soap_fault_msg_t *fault)";
    }
    return std::string();
}

} // namespace

std::string exportedPrototype(const std::string& proj, CExportedFunction function)
{
    return Export + signature(proj, function);
}

std::string exportedDefinitionHead(const std::string& proj, CExportedFunction function)
{
    return function == CExportedFunction::PrintPacket ? signature(proj, function) : exportedPrototype(proj, function);
}
