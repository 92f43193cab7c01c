#ifndef KELVANE_GENERATOR_EMIT_DEMOFILE_H
#define KELVANE_GENERATOR_EMIT_DEMOFILE_H

class CEmitContext;
class CTextBuffer;

// "<proj>_api_demo.c": a server thread that listens on port 4321, accepts
// one connection and prints every packet it reads, and a main that starts
// it, connects over loopback and sends, without end, one packet of each
// message kind the walk picks (at most one operation per port type). The
// Windows target starts the thread with _beginthreadex after starting
// Winsock, the Unix target with pthread_create.
void writeDemoFile(const CEmitContext& context, CTextBuffer& demo);

#endif
