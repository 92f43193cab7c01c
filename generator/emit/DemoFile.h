#ifndef KELVANE_GENERATOR_EMIT_DEMOFILE_H
#define KELVANE_GENERATOR_EMIT_DEMOFILE_H

class CEmitContext;
class CTextBuffer;

// "<proj>_api_demo.c": the road once. main listens on a port (4321, or the
// program's argument; 0 for a free one), starts the server thread on it and
// calls each bound operation once over loopback with its request filled
// with sample values; the server thread answers each request on connection
// after connection with the operation's response filled with sample values
// (HTTP 202 for an operation without one). Both print what they send and
// receive; the program exits with 0 when every call got its answer, 1
// otherwise. The Windows target starts Winsock and the thread with
// _beginthreadex, the Unix target the thread with pthread_create.
void writeDemoFile(const CEmitContext& context, CTextBuffer& demo);

#endif
