#ifndef KELVANE_GENERATOR_EMIT_FRAGMENTS_H
#define KELVANE_GENERATOR_EMIT_FRAGMENTS_H

class CEmitContext;
class CTextBuffer;

// The fixed runs of generated C. Each is kept as a C file of its own in
// fragments/, so that it is read, linted and diffed as C, and embedded at
// build time. The project's names stand in them as kvproj (<proj>) and
// KVPROJ (<PROJ>).
enum class CFragment {
    TextCursor,       // mycursor_t and its bounded appends
    TransportIo,      // the one receive and the one send every message goes through
    TransportExports, // <proj>_set_attachment and <proj>_add_http_header
    ThreadKept,       // what a thread keeps between messages: a parser context, an input buffer, a message buffer
    SenderFrame,      // myrawcat, <proj>_send_begin and <proj>_send_end
    FixedSenders,     // <proj>_http_resp_send and <proj>_soap_fault_send
    NumberWriters,    // myfloatcat, where a type holds floating values
    ValueChecks,      // the lexical forms of the values held as text
    PacketReader,     // read_packet and the HTTP framing helpers
    ArrayShapes,      // the size, offset and positions of SOAP-encoded arrays
    EnvelopeReader,   // the envelope's place in a message, its parse, SOAP names
    ItemStream,       // reading a message's items one at a time, where the service has such messages
    StructStream,     // reading a document message straight into its struct, where its type allows
    ClientExports,    // <proj>_client_init and <proj>_strerror
    HttpChallenge,    // the challenges of HTTP authentication and the Basic and Digest values that answer them
    ProxyAuth,        // the answers to a proxy's challenges with its address's credentials
    ClientCalls,      // what every operation's call uses
    AuthBasic,        // the Authorization value of Basic authentication
    AuthDigest,       // the challenge and the Authorization value of Digest authentication
    ClientAuth,       // <proj>_client_set_credentials and the call that answers challenges
    WsseSender,       // the Security header of a message sent
    WsseReader,       // the security check of a message read
    WsseClient,       // <proj>_client_set_wsse_* and the settings of a call
    WsaSender,        // the WS-Addressing headers of a message sent
    WsaReader,        // the WS-Addressing headers of a message read
    WsaClient,        // the WS-Addressing headers of a call and the check of its answer
    WsaServer,        // the WS-Addressing of a request served and of its answer
    DemoRoad,         // the demo's call of one operation and its server's answers
    ServerDispatch,   // the generated server's serving of one request
    MtomSender,       // a message sent as a XOP package, its binary values as parts
    MtomValues,       // the parts of a XOP package read, as the values' readers take them
    MtomReader        // finding a XOP package's parts and taking its xop:Include elements
};

// Every fragment of "<proj>_api.c", in the order they stand there (DemoRoad
// stands in the demo; the authentication's in projects with one, one
// scheme's of the two; the item stream in services with messages of items,
// the struct stream in those with document messages it reads; WS-Security's
// client's and WS-Addressing's where there are calls; the server's last, its addressing behind it).
constexpr CFragment AllFragments[] = {CFragment::TextCursor,     CFragment::TransportIo,   CFragment::TransportExports,
                                      CFragment::WsseSender,     CFragment::MtomSender,    CFragment::WsaSender,
                                      CFragment::ThreadKept,     CFragment::SenderFrame,   CFragment::FixedSenders,
                                      CFragment::NumberWriters,
                                      CFragment::ValueChecks,    CFragment::PacketReader,  CFragment::ArrayShapes,
                                      CFragment::MtomValues,     CFragment::EnvelopeReader, CFragment::MtomReader,
                                      CFragment::ItemStream,     CFragment::StructStream,  CFragment::WsseReader,
                                      CFragment::WsaReader,      CFragment::ClientExports, CFragment::WsseClient,
                                      CFragment::HttpChallenge,  CFragment::ProxyAuth,     CFragment::ClientCalls,
                                      CFragment::WsaClient,      CFragment::AuthBasic,     CFragment::AuthDigest,
                                      CFragment::ClientAuth,     CFragment::ServerDispatch, CFragment::WsaServer};

// The fragment as its file holds it.
const char* fragmentText(CFragment fragment);

// The fragment for the context's project, a generated line for each line of
// its file.
void writeFragment(const CEmitContext& context, CFragment fragment, CTextBuffer& out);

#endif
