#ifndef KELVANE_GENERATOR_EMIT_SENDERFRAME_H
#define KELVANE_GENERATOR_EMIT_SENDERFRAME_H

#include <string>
#include <string_view>

class CEmitContext;
class CTextBuffer;

// The opening and closing of every generated sender. A message is built in
// one heap buffer: the body through a bounded cursor behind a room for the
// head, the head written into that room once the body's length is known, so
// the message goes out in one piece and nothing is copied twice. The helpers
// they call ("<proj>_send_begin", "<proj>_send_end", "myrawcat") are the
// sender frame fragment (Fragments.h), written once before the senders.

// The start line of a sender "<proj>_<name>_send": a C string expression,
// or the format and arguments of snprintf when formatted is set. Both
// views are of text that outlives the sender's writing (the message's
// name in the view, a literal).
struct CSenderStart {
    std::string_view name;
    std::string_view line;
    bool formatted = false;
};

// The opening of a sender: its head, locals and the start of the body.
void writeSenderOpen(const CEmitContext& context, CTextBuffer& source, const CSenderStart& start);

// The statement that ends a sender, written to body: the message is finished with the
// attachment, the head with the extra headers, Content-Type,
// Content-Length and the soapAction (a C expression, "NULL" for none), and
// sent.
void writeSendEnd(const CEmitContext& context, CTextBuffer& body, const CSenderStart& start,
                  const std::string& soapAction);

#endif
