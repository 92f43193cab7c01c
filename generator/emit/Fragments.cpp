#include "generator/emit/Fragments.h"

#include "generator/emit/TextBuffer.h"
#include "generator/model/EmitContext.h"

#include <string>

namespace {

const char* const TextCursor =
#include "fragments/text_cursor.inc"
    ;
const char* const TransportIo =
#include "fragments/transport_io.inc"
    ;
const char* const TransportExports =
#include "fragments/transport_exports.inc"
    ;
const char* const ThreadKept =
#include "fragments/thread_kept.inc"
    ;
const char* const SenderFrame =
#include "fragments/sender_frame.inc"
    ;
const char* const FixedSenders =
#include "fragments/fixed_senders.inc"
    ;
const char* const NumberWriters =
#include "fragments/number_writers.inc"
    ;
const char* const ValueChecks =
#include "fragments/value_checks.inc"
    ;
const char* const PacketReader =
#include "fragments/packet_reader.inc"
    ;
const char* const ArrayShapes =
#include "fragments/array_shapes.inc"
    ;
const char* const EnvelopeReader =
#include "fragments/envelope_reader.inc"
    ;
const char* const ItemStream =
#include "fragments/item_stream.inc"
    ;
const char* const StructStream =
#include "fragments/struct_stream.inc"
    ;
const char* const ClientExports =
#include "fragments/client_exports.inc"
    ;
const char* const HttpChallenge =
#include "fragments/http_challenge.inc"
    ;
const char* const ProxyAuth =
#include "fragments/proxy_auth.inc"
    ;
const char* const ClientCalls =
#include "fragments/client_calls.inc"
    ;
const char* const AuthBasic =
#include "fragments/auth_basic.inc"
    ;
const char* const AuthDigest =
#include "fragments/auth_digest.inc"
    ;
const char* const ClientAuth =
#include "fragments/client_auth.inc"
    ;
const char* const WsseSender =
#include "fragments/wsse_sender.inc"
    ;
const char* const WsseReader =
#include "fragments/wsse_reader.inc"
    ;
const char* const WsseClient =
#include "fragments/wsse_client.inc"
    ;
const char* const WsaSender =
#include "fragments/wsa_sender.inc"
    ;
const char* const WsaReader =
#include "fragments/wsa_reader.inc"
    ;
const char* const WsaClient =
#include "fragments/wsa_client.inc"
    ;
const char* const WsaServer =
#include "fragments/wsa_server.inc"
    ;
const char* const DemoRoad =
#include "fragments/demo_road.inc"
    ;
const char* const ServerDispatch =
#include "fragments/server_dispatch.inc"
    ;
const char* const MtomSender =
#include "fragments/mtom_sender.inc"
    ;
const char* const MtomValues =
#include "fragments/mtom_values.inc"
    ;
const char* const MtomReader =
#include "fragments/mtom_reader.inc"
    ;

void replaceAll(std::string& line, const std::string& stand, const std::string& name)
{
    for (std::size_t at = line.find(stand); at != std::string::npos; at = line.find(stand, at + name.size()))
        line.replace(at, stand.size(), name);
}

} // namespace

const char* fragmentText(CFragment fragment)
{
    switch (fragment) {
    case CFragment::TextCursor: return TextCursor;
    case CFragment::TransportIo: return TransportIo;
    case CFragment::TransportExports: return TransportExports;
    case CFragment::ThreadKept: return ThreadKept;
    case CFragment::SenderFrame: return SenderFrame;
    case CFragment::FixedSenders: return FixedSenders;
    case CFragment::NumberWriters: return NumberWriters;
    case CFragment::ValueChecks: return ValueChecks;
    case CFragment::PacketReader: return PacketReader;
    case CFragment::ArrayShapes: return ArrayShapes;
    case CFragment::EnvelopeReader: return EnvelopeReader;
    case CFragment::ItemStream: return ItemStream;
    case CFragment::StructStream: return StructStream;
    case CFragment::ClientExports: return ClientExports;
    case CFragment::HttpChallenge: return HttpChallenge;
    case CFragment::ProxyAuth: return ProxyAuth;
    case CFragment::ClientCalls: return ClientCalls;
    case CFragment::AuthBasic: return AuthBasic;
    case CFragment::AuthDigest: return AuthDigest;
    case CFragment::ClientAuth: return ClientAuth;
    case CFragment::WsseSender: return WsseSender;
    case CFragment::WsseReader: return WsseReader;
    case CFragment::WsseClient: return WsseClient;
    case CFragment::WsaSender: return WsaSender;
    case CFragment::WsaReader: return WsaReader;
    case CFragment::WsaClient: return WsaClient;
    case CFragment::WsaServer: return WsaServer;
    case CFragment::DemoRoad: return DemoRoad;
    case CFragment::ServerDispatch: return ServerDispatch;
    case CFragment::MtomSender: return MtomSender;
    case CFragment::MtomValues: return MtomValues;
    case CFragment::MtomReader: return MtomReader;
    }
    return "";
}

void writeFragment(const CEmitContext& context, CFragment fragment, CTextBuffer& out)
{
    const std::string text = fragmentText(fragment);
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        // A checkout with CR LF line ends gives the same lines.
        const std::size_t length = end > start && text[end - 1] == '\r' ? end - 1 - start : end - start;
        std::string line = text.substr(start, length);
        replaceAll(line, "kvproj", context.proj());
        replaceAll(line, "KVPROJ", context.projUpper());
        out.line(line);
        start = end + 1;
    }
}
