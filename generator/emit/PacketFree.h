#ifndef KELVANE_GENERATOR_EMIT_PACKETFREE_H
#define KELVANE_GENERATOR_EMIT_PACKETFREE_H

#include <string>
#include <vector>

class CEmitContext;
struct CStructDef;
class CTextBuffer;

// Whether each struct met so far holds storage of its own, directly or in
// what it holds, by struct index: worked out once per struct for all the
// frees of a run (a chain of nested structs walked anew for each message
// made the run quadratic).
using CHeldStorage = std::vector<unsigned char>;

// The exported <proj>_free_proto_packet and the static free_<T>_t of every
// type whose struct holds storage of its own (arrays, structs held by
// pointer, and what holds those): it frees what the packet reader
// allocated in a packet, with its attachment, and leaves those members
// empty. The message freed is the one msg_type names, as in send_packet.
void writePacketFree(const CEmitContext& context, CTextBuffer& source);

// The statements that free what the packet reader allocated in a message
// struct reached through owner ("out->") and leave its members empty, as
// the packet's free function does for that message. known is shared by
// the calls of one run.
void writeMessageFree(const CEmitContext& context, const CStructDef& message, const std::string& owner,
                      CHeldStorage& known, CTextBuffer& body);

#endif
