#ifndef KELVANE_GENERATOR_EMIT_SERVERSKELETON_H
#define KELVANE_GENERATOR_EMIT_SERVERSKELETON_H

class CEmitContext;
class CTextBuffer;

// "<proj>_server.c": the service's skeleton, which the user fills. A
// function per operation that the generated server hands its requests to
// (each answers a fault that says it is not written yet), and a main that
// serves them on a port (4321, or the program's argument; 0 for a free one)
// until SIGINT or SIGTERM. kvgen writes it once: a copy changed since is kept.
void writeServerSkeleton(const CEmitContext& context, CTextBuffer& skeleton);

#endif
