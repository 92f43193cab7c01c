#ifndef KELVANE_GENERATOR_EMIT_HEADERCONSTANTS_H
#define KELVANE_GENERATOR_EMIT_HEADERCONSTANTS_H

class CEmitContext;
class CTextBuffer;

// The length limits of every text the structs hold, the fixed limits and
// marks of the transport, then the tag constant of every message key.
void writeHeaderLimitsAndTags(const CEmitContext& context, CTextBuffer& header);
// The enumeration of message ids: HTTP, SOAP_FAULT, then one per key.
void writeHeaderMessageIds(const CEmitContext& context, CTextBuffer& header);
// The code of a call whose answer does not decode, in a block of its own
// among the calls' result codes.
void writeDecodeErrorCode(const CEmitContext& context, CTextBuffer& header);

#endif
