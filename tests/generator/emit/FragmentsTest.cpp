// The fixed runs of generated C kept as C files: each compiles as C on its
// own (after the header and the fragments it builds on) for both targets,
// and the emitted text carries the project's names wherever the fragment
// holds kvproj or KVPROJ.

#include "GeneratorTestSupport.h"
#include "generator/emit/ExportedFunctions.h"
#include "generator/emit/Fragments.h"

using namespace gentest;

namespace {

class FragmentsTest : public GeneratorTest {};

// What the generated source includes and defines ahead of its fragments.
const char* const Includes = "#include <locale.h>\n#include <stdarg.h>\n#include <stdio.h>\n#include <stdlib.h>\n#include \"tessaro_socket.h\"\n"
                             "#include \"tessaro_tls.h\"\n#include \"tessaro_util.h\"\n#include \"kvproj_api.h\"\n"
                             "#define KVPROJ_MAYBE_UNUSED __attribute__((unused))\n";
const char* const XmlIncludes = "#include \"libxml/parser.h\"\n#include \"libxml/parserInternals.h\"\n"
                                "#include \"libxml/SAX2.h\"\n#include \"libxml/tree.h\"\n#include \"libxml/xmlreader.h\"\n";

// Where the libxml2 headers of a target lie; empty when they are not known.
std::string xmlIncludeFlag(int platform)
{
    if (platform != CProjectRecord::Windows)
        return "-I/usr/include/libxml2";
#ifdef KELVANE_MINGW_XML2_INCLUDE_DIR
    return "-DLIBXML_STATIC -I" KELVANE_MINGW_XML2_INCLUDE_DIR;
#else
    return std::string();
#endif
}

TEST_F(FragmentsTest, EachFragmentCompilesAsCOnItsOwn)
{
    if (!canCompileC())
        GTEST_SKIP() << "no C compiler";
    // what the service's code defines between the server's dispatch and its addressing, and after both
    const char* const ServedFunctions =
        "static int kvproj_server_call(const kvproj_service_t *service, kvproj_served_t *served, kvproj_proto_packet_t *request, "
        "kvproj_proto_packet_t *answer, kvproj_soap_fault_msg_t *fault)\n{\n\treturn KVPROJ_SERVER_NO_OPERATION;\n}\n"
        "static int http_read_request(kvproj_proto_trans_t *trans, kvproj_proto_packet_t *pk, int timeout)\n"
        "{\n\t(void)trans; (void)pk; (void)timeout;\n\treturn -1;\n}\n"
        "static int http_frame_request(const char *bytes, tessaro_size_t have, tessaro_size_t max_request_bytes, "
        "tessaro_server_frame_t *state)\n{\n\t(void)bytes; (void)have; (void)max_request_bytes; (void)state;\n\treturn TESSARO_FRAME_WHOLE;\n}\n"
        "static int kvproj_wsa_actions(unsigned int msg_type, const char **input, const char **soap_action, const char **output)\n"
        "{\n\t(void)msg_type, (void)input, (void)soap_action, (void)output;\n\treturn -1;\n}\n";
    const std::string ServedAfter = std::string(fragmentText(CFragment::WsaServer)) + ServedFunctions;
    const struct {
        CFragment fragment;
        const char* name;
        std::vector<CFragment> buildsOn;
        bool usesXml = false;
        // what the service's own code defines after the fragment
        const char* after = "";
    } cases[] = {
        {CFragment::TextCursor, "text cursor", {}},
        {CFragment::TransportIo, "transport io", {}},
        {CFragment::TransportExports, "transport exports", {}},
        {CFragment::ThreadKept, "thread keeping", {}, true},
        {CFragment::SenderFrame, "sender frame",
         {CFragment::TextCursor, CFragment::TransportIo, CFragment::TransportExports, CFragment::WsseSender,
          CFragment::MtomSender, CFragment::WsaSender, CFragment::ThreadKept},
         true},
        {CFragment::FixedSenders, "fixed senders",
         {CFragment::TextCursor, CFragment::TransportIo, CFragment::TransportExports, CFragment::WsseSender,
          CFragment::MtomSender, CFragment::WsaSender, CFragment::ThreadKept, CFragment::SenderFrame},
         true},
        {CFragment::NumberWriters, "number writers", {CFragment::TextCursor}},
        {CFragment::ValueChecks, "value checks", {CFragment::TextCursor}},
        {CFragment::PacketReader, "packet reader", {CFragment::TransportIo}},
        {CFragment::ArrayShapes, "array shapes", {}, true},
        {CFragment::EnvelopeReader, "envelope reader", {CFragment::TransportIo, CFragment::PacketReader, CFragment::ThreadKept},
         true},
        {CFragment::ItemStream, "item stream",
         {CFragment::TransportIo, CFragment::PacketReader, CFragment::ArrayShapes, CFragment::ThreadKept, CFragment::EnvelopeReader},
         true},
        {CFragment::StructStream, "struct stream",
         {CFragment::TransportIo, CFragment::PacketReader, CFragment::ThreadKept, CFragment::EnvelopeReader}, true},
        {CFragment::ClientExports, "client exports", {}},
        {CFragment::HttpChallenge, "HTTP challenges", {CFragment::TextCursor, CFragment::TransportIo, CFragment::PacketReader}},
        {CFragment::ProxyAuth, "proxy authentication",
         {CFragment::TextCursor, CFragment::TransportIo, CFragment::PacketReader, CFragment::HttpChallenge}},
        {CFragment::ClientCalls, "client calls",
         {CFragment::TextCursor, CFragment::TransportIo, CFragment::PacketReader, CFragment::ClientExports, CFragment::WsseClient,
          CFragment::HttpChallenge, CFragment::ProxyAuth}},
        {CFragment::AuthBasic, "Basic authentication",
         {CFragment::TextCursor, CFragment::TransportIo, CFragment::PacketReader, CFragment::HttpChallenge}},
        {CFragment::AuthDigest, "Digest authentication",
         {CFragment::TextCursor, CFragment::TransportIo, CFragment::PacketReader, CFragment::HttpChallenge}},
        {CFragment::ClientAuth, "client authentication",
         {CFragment::TextCursor, CFragment::TransportIo, CFragment::TransportExports, CFragment::PacketReader,
          CFragment::ClientExports, CFragment::WsseClient, CFragment::HttpChallenge, CFragment::ProxyAuth, CFragment::ClientCalls,
          CFragment::AuthDigest}},
        {CFragment::WsaSender, "WS-Addressing sender", {CFragment::TextCursor}},
        {CFragment::WsaReader, "WS-Addressing reader",
         {CFragment::TransportIo, CFragment::PacketReader, CFragment::ThreadKept, CFragment::EnvelopeReader}, true},
        {CFragment::WsaClient, "WS-Addressing client",
         {CFragment::TextCursor, CFragment::TransportIo, CFragment::PacketReader, CFragment::ClientExports, CFragment::WsseClient,
          CFragment::HttpChallenge, CFragment::ProxyAuth, CFragment::ClientCalls}},
        {CFragment::WsseSender, "WS-Security sender", {CFragment::TextCursor}},
        {CFragment::WsseReader, "WS-Security reader",
         {CFragment::TransportIo, CFragment::PacketReader, CFragment::ThreadKept, CFragment::EnvelopeReader}, true},
        {CFragment::WsseClient, "WS-Security client", {}},
        {CFragment::MtomSender, "MTOM sender", {CFragment::TextCursor, CFragment::TransportIo}},
        {CFragment::MtomValues, "MTOM values", {}, true},
        {CFragment::MtomReader, "MTOM reader",
         {CFragment::TransportIo, CFragment::PacketReader, CFragment::MtomValues, CFragment::ThreadKept, CFragment::EnvelopeReader},
         true},
        {CFragment::DemoRoad, "demo road", {}},
        {CFragment::ServerDispatch, "server dispatch", {CFragment::TextCursor, CFragment::WsaSender}, true, ServedAfter.c_str()},
        {CFragment::WsaServer, "WS-Addressing server", {CFragment::TextCursor, CFragment::WsaSender, CFragment::ServerDispatch}, true,
         ServedFunctions},
    };
    // The demo's fragment stands in no list of the library's.
    ASSERT_EQ(std::size(cases), std::size(AllFragments) + 1);
    view(wsdltest::calculator());
    // The header of a project with Digest authentication holds what every fragment uses.
    project_.authType = CProjectRecord::AuthDigest;
    for (int platform : {CProjectRecord::Unix, CProjectRecord::Windows}) {
        if (platform == CProjectRecord::Windows && !canCompileForWindows())
            continue;
        const std::string header = emitHeader("kvproj", platform);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (platform == CProjectRecord::Windows ? " for Windows" : " for Unix"));
            const std::string xmlFlag = c.usesXml ? xmlIncludeFlag(platform) : std::string();
            if (c.usesXml && xmlFlag.empty())
                continue;
            std::string unit = std::string(Includes) + (c.usesXml ? XmlIncludes : "");
            for (CFragment before : c.buildsOn)
                unit += fragmentText(before);
            unit += fragmentText(c.fragment);
            unit += c.after;
            const CompileResult result = compileC(unit, {{"kvproj_api.h", header}}, platform == CProjectRecord::Windows,
                                                  "-Wno-unused-function " + xmlFlag);
            EXPECT_EQ(result.status, 0) << result.output;
        }
    }
}

TEST_F(FragmentsTest, EmittedLinesCarryTheProjectsNames)
{
    view(wsdltest::calculator());
    emitHeader("shop");
    std::vector<CFragment> fragments(std::begin(AllFragments), std::end(AllFragments));
    fragments.push_back(CFragment::DemoRoad);
    for (CFragment fragment : fragments) {
        const std::string text = fragmentText(fragment);
        SCOPED_TRACE(text.substr(0, text.find('\n')));
        // A fragment is whole lines of C; the generated file's line ends are added on the way out.
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.back(), '\n');
        EXPECT_EQ(text.find('\r'), std::string::npos);
        CTextBuffer out;
        writeFragment(*context_, fragment, out);
        std::string expected;
        for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            expected += text.substr(start, end - start) + "\r\n";
        for (const auto& [stand, name] : {std::pair<std::string, std::string>{"kvproj", "shop"}, {"KVPROJ", "SHOP"}}) {
            for (std::size_t at = 0; (at = expected.find(stand, at)) != std::string::npos; at += name.size())
                expected.replace(at, stand.size(), name);
        }
        EXPECT_EQ(out.text(), expected);
        EXPECT_EQ(out.text().find("kvproj"), std::string::npos);
        EXPECT_EQ(out.text().find("KVPROJ"), std::string::npos);
    }
}

TEST(FragmentsExportTest, ExportedDefinitionsInFragmentsMatchTheHeadersList)
{
    const struct {
        CExportedFunction function;
        CFragment fragment;
    } cases[] = {{CExportedFunction::SetAttachment, CFragment::TransportExports},
                 {CExportedFunction::AddHttpHeader, CFragment::TransportExports}};
    for (const auto& c : cases) {
        const std::string head = exportedDefinitionHead("kvproj", c.function);
        SCOPED_TRACE(head);
        const std::string text = std::string("\n") + fragmentText(c.fragment);
        const std::size_t at = text.find("\n" + head);
        ASSERT_NE(at, std::string::npos);
        // The head ends its line, or the line's opening brace follows it.
        const std::string rest = text.substr(at + 1 + head.size(), 2);
        EXPECT_TRUE(rest == "\n" || rest == "\n{" || rest == "{\n") << rest;
    }
}

} // namespace
