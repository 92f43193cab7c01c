#ifndef KELVANE_GENERATOR_EMIT_OPERATIONCALLS_H
#define KELVANE_GENERATOR_EMIT_OPERATIONCALLS_H

class CEmitContext;
class CTextBuffer;

// One call per bound operation, beside the packet API:
// "<proj>_<operation>(<proj>_client_t *client, const <request> *in,
// <response> *out, <proj>_soap_fault_msg_t *fault)" (no out for a one-way
// operation), with the client made by "<proj>_client_init" from an endpoint
// or the WSDL's soap:address, and "<proj>_strerror" for every result.
// The header part: the result codes, the client and the prototypes.
void writeOperationCallDeclarations(const CEmitContext& context, CTextBuffer& header);
// The source part: the client's functions and one function per operation.
void writeOperationCalls(const CEmitContext& context, CTextBuffer& source);

#endif
