#ifndef KELVANE_GENERATOR_EMIT_PRINTFUNCTIONS_H
#define KELVANE_GENERATOR_EMIT_PRINTFUNCTIONS_H

class CEmitContext;
class CTextBuffer;

// The print functions that end "<proj>_api.c", after a separator line:
// one per type and global element struct (schemas in order, types before
// elements), one per message of a SOAP-bound operation, and the exported
// <proj>_print_proto_packet_t, which prints the message type, the packet's
// soap:header parts and hands the message to its print function. Every
// field prints one line through printf with the conversion of its C type;
// a field the generated code has no value for prints nothing.
void writePrintFunctions(const CEmitContext& context, CTextBuffer& source);
// Their prototypes in the header, but the packet's (an exported function of
// its own): the same functions, in the same order.
void writePrintFunctionDeclarations(const CEmitContext& context, CTextBuffer& header);

#endif
