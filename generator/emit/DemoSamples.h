#ifndef KELVANE_GENERATOR_EMIT_DEMOSAMPLES_H
#define KELVANE_GENERATOR_EMIT_DEMOSAMPLES_H

#include <string>
#include <vector>

class CEmitContext;
class CTextBuffer;
struct CStructDef;
struct CStructMember;

// The demo's sample values: "static void demo_sample_<X>(<proj>_<X>_t *value,
// int depth, int *n)" for each struct the given message structs reach, which
// fills a zeroed value from the schema's types: numbers count up through *n,
// texts are their member's name and a number (dates, binary and URI texts
// a fixed valid value), enumerations take their first value, values whose
// facets bound them (ranges, digits, lengths, simple patterns; the integer
// types held as text by their definition) a fixed value within, arrays two
// items the demo allocates (the packet's free function frees them),
// optional members are present (of a choice, its first branch), nested
// structs are filled in turn, and a struct that holds itself is entered
// again only down to a few levels.
// Then, per header sample, "static void <function>(<proj>_proto_packet_t *pk,
// int depth, int *n)", which fills those of the packet's soap:header members
// the same way.
struct CDemoHeaderSample {
    std::string function;
    std::vector<const CStructMember*> members;
};
void writeDemoSamples(const CEmitContext& context, const std::vector<const CStructDef*>& messages,
                      const std::vector<CDemoHeaderSample>& headers, CTextBuffer& out);

// The function that fills a struct is "demo_sample_<X>" of the struct
// this gives: the struct an alias names, or the struct itself.
const CStructDef& sampledStruct(const CStructDef& def);

#endif
