#ifndef KELVANE_GENERATOR_EMIT_SERVERDISPATCH_H
#define KELVANE_GENERATOR_EMIT_SERVERDISPATCH_H

#include <string>
#include <vector>

class CEmitContext;
class CTextBuffer;
struct CMessageKey;
struct CStructDef;
struct CViewOperation;

// One operation the generated server serves: the function member of the
// service struct that answers its request kind. A request kind that an
// earlier operation already takes goes to that one's function: the server
// could not tell them apart.
struct CServedOperation {
    const CViewOperation* operation = nullptr;
    std::string function;                 // the member's name, unique in the struct
    const CMessageKey* request = nullptr;
    const CStructDef* requestStruct = nullptr;
    const CMessageKey* response = nullptr; // null: answered with HTTP 202
    const CStructDef* responseStruct = nullptr;
};

// The operations in walk order.
std::vector<CServedOperation> servedOperations(const CEmitContext& context);

// The header's part: <proj>_served_t, <proj>_service_t with a function per
// operation, and <proj>_server_start.
void writeServerDeclarations(const CEmitContext& context, CTextBuffer& header);
// The source's part: the call of each request kind's function, then the
// serving of a request (the fragment).
void writeServerDispatch(const CEmitContext& context, CTextBuffer& source);

#endif
