#ifndef KELVANE_GENERATOR_EMIT_FAULTDETAILS_H
#define KELVANE_GENERATOR_EMIT_FAULTDETAILS_H

#include "generator/emit/PacketFree.h"

#include <string>
#include <vector>

class CEmitContext;
class CStructLayout;
class CTextBuffer;

// The fault messages a service declares (wsdl:fault), carried in a fault's
// detail. <proj>_soap_fault_msg_t names the one a detail holds in
// detail_type (its "<PROJ>_DETAIL_<M>" constant, 0 for none) and points to
// its struct in the union detail_msg; the detail member keeps the markup.

// The constants of the layout's fault structs, in their order: the i-th
// stands for i + 1.
std::vector<std::string> faultDetailConstants(const CStructLayout& layout);

// "static int mydecode_fault_detail(doc, cur, value)": a detail element
// (SOAP 1.1's detail, SOAP 1.2's Detail alike) read as markup into
// value->detail, and the declared fault message it holds, known by its
// first element, decoded into detail_msg. Written after the decoders'
// helpers, before decode_soap_fault_msg_t.
void writeFaultDetailDecoders(const CEmitContext& context, CTextBuffer& source);

// Where a service declares fault messages: before the fixed senders, the
// prototype of "<proj>_detail_msg_cat" and the macro the fault sender
// calls it through; after the message senders, its definition, which
// writes the fault message a fault holds as its detail element.
void writeFaultDetailSenderHook(const CEmitContext& context, CTextBuffer& source);
void writeFaultDetailSender(const CEmitContext& context, CTextBuffer& source);

// The exported <proj>_free_fault: frees the fault message a fault's detail
// was decoded into and leaves detail_type 0; harmless on a zeroed fault
// and twice.
void writeFaultFree(const CEmitContext& context, CHeldStorage& known, CTextBuffer& source);

#endif
