#ifndef KELVANE_GENERATOR_EMIT_SENDERFRAME_H
#define KELVANE_GENERATOR_EMIT_SENDERFRAME_H

#include <string>

class CEmitContext;
class CTextBuffer;

// The opening and closing of every generated sender. A message is built in
// one heap buffer: the body through a bounded cursor behind a room for the
// head, the head written into that room once the body's length is known, so
// the message goes out in one piece and nothing is copied twice. The helpers
// they call ("<proj>_send_begin", "<proj>_send_end", "myrawcat") are the
// sender frame fragment (Fragments.h), written once before the senders.

// The start line of a sender "<proj>_<name>_send": a C string expression,
// or the format and arguments of snprintf when formatted is set.
struct CSenderStart {
    std::string name;
    std::string line;
    bool formatted = false;
};

// The opening of a sender: its head, locals and the start of the body.
// needsTemp declares the number scratch "temp".
void writeSenderOpen(const CEmitContext& context, CTextBuffer& source, const CSenderStart& start, bool needsTemp);

// The statement that ends a sender: the message is finished with the
// attachment, the head with the extra headers, Content-Type,
// Content-Length and the soapAction (a C expression, "NULL" for none), and
// sent.
std::string sendEndCall(const CEmitContext& context, const CSenderStart& start, const std::string& soapAction);

#endif
