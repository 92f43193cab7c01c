#ifndef KELVANE_GENERATOR_EMIT_SOURCERUNTIME_H
#define KELVANE_GENERATOR_EMIT_SOURCERUNTIME_H

class CEmitContext;
class CTextBuffer;

// The head of "<proj>_api.c": its include lines.
void writeSourceIncludes(const CEmitContext& context, CTextBuffer& source);
// The forward declarations of the codecs, send, print and packet functions,
// the bounded text cursor the encoders and senders write through
// (mycursor_t, mycursor_init, mystrcat, mytstrcat), and the exported
// connection, attachment and extra HTTP header functions.
void writeSourceRuntime(const CEmitContext& context, CTextBuffer& source);

#endif
