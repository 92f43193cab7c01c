#include "generator/emit/DemoFile.h"

#include "generator/emit/DemoSamples.h"
#include "generator/emit/Fragments.h"
#include "generator/emit/TextBuffer.h"
#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/model/OperationWalk.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

void lines(CTextBuffer& out, std::initializer_list<const char*> text)
{
    for (const char* line : text)
        out.line(line);
}

// One bound operation as the demo's client sees it. Its texts are made as
// its line is written: a service of thousands of operations would keep them
// all at once.
struct DemoCall {
    const CViewOperation* operation = nullptr;
    const CMessageKey* request = nullptr;  // null: not called, for the reason below
    const CMessageKey* response = nullptr; // null: answered by an HTTP status
    // Not called: the name of the operation whose request is the same
    // message; null when the request has no message kind the packet API sends.
    const std::string_view* sameRequestAs = nullptr;

    // The operation's name, and its SOAP version beside SOAP 1.1.
    std::string shownName() const
    {
        return std::string(operation->name) + (operation->soapVersion == 12 ? " (SOAP 1.2)" : "");
    }
    std::string notCalled() const
    {
        return sameRequestAs != nullptr ? "its request is the message of " + std::string(*sameRequestAs)
                                        : "its request has no message kind the packet API sends";
    }
};

// A message kind the demo fills: the packet's union member (a name in the
// view) and its struct.
struct FilledKind {
    std::string_view member;
    const CStructDef* def = nullptr;
    int direction = 0; // the way it is sent: 0 request, 1 response
    // The function that fills the packet's soap:header members of the
    // kind's use, with those members; null when the use has none, as most
    // have: a service's thousands of kinds stay small.
    std::unique_ptr<CDemoHeaderSample> headers;

    bool sameHeadersAs(const FilledKind& other) const
    {
        if (headers == nullptr || other.headers == nullptr)
            return headers == other.headers;
        return headers->members == other.headers->members;
    }
};

// A kind as first met, and as its other way when that way is another
// message or has other soap:header parts.
struct FilledKinds {
    std::string_view id; // the key's
    FilledKind first;
    std::unique_ptr<FilledKind> otherWay;
};

class CDemoWriter {
public:
    CDemoWriter(const CEmitContext& context, CTextBuffer& out)
        : context_(context), out_(out), p_(context.proj()), P_(context.projUpper()),
          windows_(context.project().isWindowsTarget())
    {
        listCalls();
    }

    void write()
    {
        writeHead();
        writeFragment(context_, CFragment::DemoRoad, out_);
        out_.emptyLine();
        writeSamples();
        writeKindNames();
        writeSampleMessage();
        writeAnswerKinds();
        writeMain();
    }

private:
    // Every bound operation once, in walk order. Operations whose request
    // is the same message kind as an earlier one's of the same SOAP version
    // are not called: the server could not tell them apart.
    void listCalls()
    {
        // By key index and version (1.1, 1.2): the operation whose request the key first was.
        std::vector<const std::string_view*> requestOwner[2];
        for (auto& owners : requestOwner)
            owners.resize(context_.keys().keys().size());
        filledAt_.resize(context_.keys().keys().size());
        filled_.reserve(context_.keys().keys().size()); // a kind at most once
        calls_.reserve(countBoundOperations(context_.view()));
        forEachBoundOperation(context_.view(), [&](const CViewPortType&, const CViewOperation& operation) {
            DemoCall call;
            call.operation = &operation;
            std::vector<const std::string_view*>& owners = requestOwner[operation.soapVersion == 12 ? 1 : 0];
            const CKeysOfUse requests = context_.keys().keysOf(operation, 0);
            const bool sendable = !requests.empty() && context_.layout().structOf(operation.input) != nullptr;
            if (sendable && owners[requests.front()->index] != nullptr) {
                call.sameRequestAs = owners[requests.front()->index];
            } else if (sendable) {
                owners[requests.front()->index] = &operation.name;
                call.request = requests.front();
                fill(*call.request, operation, 0);
                const CKeysOfUse responses = context_.keys().keysOf(operation, 1);
                if (!responses.empty() && context_.layout().structOf(operation.output) != nullptr) {
                    call.response = responses.front();
                    fill(*call.response, operation, 1);
                }
            }
            calls_.push_back(call);
        });
    }

    // A kind sent both ways as different messages, or with different
    // soap:header parts, is filled as the message of the way it goes.
    void fill(const CMessageKey& key, const CViewOperation& operation, int direction)
    {
        const CViewDirection& side = operation.direction(direction);
        FilledKind kind;
        kind.member = side.message->cName;
        kind.def = context_.layout().structOf(side.message);
        kind.direction = direction;
        for (const CHeaderPart& header : headerParts(side)) {
            const CStructMember* member = context_.layout().headerMember(header.message, header.partIndex);
            if (member == nullptr)
                continue;
            if (kind.headers == nullptr)
                kind.headers = std::make_unique<CDemoHeaderSample>();
            std::vector<const CStructMember*>& members = kind.headers->members;
            if (std::find(members.begin(), members.end(), member) == members.end())
                members.push_back(member);
        }
        std::size_t& at = filledAt_[key.index];
        if (at == 0) {
            if (kind.headers != nullptr)
                kind.headers->function = "demo_sample_" + std::string(key.id) + "_headers";
            filled_.push_back(FilledKinds{key.id, std::move(kind), nullptr});
            at = filled_.size();
            return;
        }
        FilledKinds& known = filled_[at - 1];
        if (known.first.direction != direction && known.otherWay == nullptr &&
            (known.first.member != kind.member || !known.first.sameHeadersAs(kind))) {
            if (kind.headers != nullptr)
                kind.headers->function =
                    "demo_sample_" + std::string(key.id) + (direction == 0 ? "_request" : "_response") + "_headers";
            known.otherWay = std::make_unique<FilledKind>(std::move(kind));
        }
    }

    // The packet's soap:header members of the kind's use, then its message.
    void writeSampleCalls(const FilledKind& kind, const std::string& indent)
    {
        if (kind.headers != nullptr)
            out_.line(indent, kind.headers->function, "(pk, 0, &n);");
        out_.line(indent, "demo_sample_", sampledStruct(*kind.def).name, "(&pk->msg.", kind.member, ", 0, &n);");
    }

    std::string constant(const std::string& id) const { return P_ + "_PROTO_" + id; }
    // The id of a call's message kind: HTTP for none (an answer by status).
    static std::string_view kindId(const CMessageKey* key) { return key != nullptr ? std::string_view(key->id) : "HTTP"; }

    void writeHead()
    {
        lines(out_, {"#include <stdio.h>", "#include <stdlib.h>", "#include <string.h>"});
        out_.emptyLine();
        out_.line("#include \"", p_, "_api.h\"");
        lines(out_, {"", "#include \"tessaro_socket.h\"", "#include \"tessaro_util.h\"", ""});
        if (!context_.keys().hasOperations()) {
            out_.line("//the header of a service without operations has no message kinds: the two fixed ones");
            out_.line("#define ", constant("HTTP"), "\t0x1");
            out_.line("#define ", constant("SOAP_FAULT"), "\t0x2");
            out_.emptyLine();
        }
        out_.line("//the road once: the client calls each operation of the service once, with sample values, and");
        out_.line("//its server thread answers each request with the operation's response filled with sample values;");
        out_.line("//both print what they send and receive. The demo exits with 0 when every call got its answer.");
        out_.line("//  ", p_, "_demo [PORT]   (where the server thread listens: 4321 unless given, 0 for any free port)");
        out_.emptyLine();
    }

    void writeSamples()
    {
        std::vector<const CStructDef*> messages;
        for (const FilledKinds& kinds : filled_)
            messages.push_back(kinds.first.def);
        std::vector<CDemoHeaderSample> headers;
        for (const FilledKinds& kinds : filled_) {
            if (kinds.otherWay != nullptr)
                messages.push_back(kinds.otherWay->def);
            for (const FilledKind* kind : {&kinds.first, static_cast<const FilledKind*>(kinds.otherWay.get())}) {
                if (kind != nullptr && kind->headers != nullptr)
                    headers.push_back(*kind->headers);
            }
        }
        writeDemoSamples(context_, messages, headers, out_);
    }

    void writeKindNames()
    {
        out_.line("const char *demo_kind_name(unsigned int msg_type)");
        out_.open("{");
        out_.line("switch(msg_type){");
        std::vector<std::string_view> ids = {"HTTP", "SOAP_FAULT"};
        for (const CMessageKey& key : context_.keys().keys())
            ids.push_back(key.id);
        for (std::string_view id : ids) {
            out_.line("case ", P_, "_PROTO_", id, ":");
            out_.line("\treturn \"", P_, "_PROTO_", id, "\";");
        }
        out_.line("}");
        out_.line("return \"an unknown message kind\";");
        out_.close();
        out_.emptyLine();
    }

    void writeSampleMessage()
    {
        out_.line("void demo_sample_message(", p_, "_proto_packet_t *pk, unsigned int msg_type, int msg_direction)");
        out_.open("{");
        if (!filled_.empty()) {
            out_.line("int n = 0;");
            out_.emptyLine();
        }
        lines(out_, {"memset(pk, 0, sizeof(*pk));", "pk->msg_type = msg_type;", "pk->msg_direction = msg_direction;",
                     "switch(msg_type){"});
        // An operation without a response message is answered by this status.
        out_.line("case ", constant("HTTP"), ":");
        lines(out_, {"\tpk->msg.http_msg.err_code = 202;",
                     "\tdemo_text(pk->msg.http_msg.err_code_string, sizeof(pk->msg.http_msg.err_code_string), \"Accepted\");",
                     "\tbreak;"});
        for (const FilledKinds& kinds : filled_) {
            out_.line("case ", P_, "_PROTO_", kinds.id, ":");
            if (kinds.otherWay != nullptr) {
                out_.line("\tif(msg_direction == ", context_.directionConstant(kinds.otherWay->direction), "){");
                writeSampleCalls(*kinds.otherWay, "\t\t");
                out_.line("\t\tbreak;");
                out_.line("\t}");
            }
            writeSampleCalls(kinds.first, "\t");
            out_.line("\tbreak;");
        }
        lines(out_, {"default:", "\tbreak;", "}"});
        out_.close();
        out_.emptyLine();
    }

    void writeAnswerKinds()
    {
        out_.line("unsigned int demo_answer_kind(unsigned int request)");
        out_.open("{");
        out_.line("switch(request){");
        // A kind called in both SOAP versions is answered alike.
        std::set<const CMessageKey*> answered;
        for (const DemoCall& call : calls_) {
            if (call.request == nullptr || !answered.insert(call.request).second)
                continue;
            out_.line("case ", P_, "_PROTO_", kindId(call.request), ":");
            out_.line("\treturn ", P_, "_PROTO_", kindId(call.response), ";");
        }
        lines(out_, {"default:", "\treturn 0;", "}"});
        out_.close();
        out_.emptyLine();
    }

    // The server is listening before the first call, so that the client never connects too early.
    void writeMain()
    {
        lines(out_, {"int main(int argc, char ** argv)", "{"});
        out_.indent();
        if (windows_)
            lines(out_, {"WORD wVersionRequested;", "WSADATA wsaData;", "int err;"});
        lines(out_, {"tessaro_server_t *server;", "tessaro_port_t port;"});
        out_.line(p_, "_proto_packet_t *pk;");
        lines(out_, {"int answered = 0;", "int serve;", "", "if(demo_port(argc, argv, &port, &serve) != 0)", "\treturn 2;"});
        if (windows_)
            lines(out_, {"wVersionRequested = MAKEWORD (2, 2);", "err = WSAStartup (wVersionRequested, &wsaData);",
                         "if(err != 0){", "\tprintf(\"WSAStartup error\\n\");", "\treturn 1;", "}"});
        lines(out_, {"if(demo_listen(&server, port) != 0){",
                     "\tprintf(\"create tcp listen error (port %u)\\n\", (unsigned int)port);", "\treturn 1;", "}",
                     "port = tessaro_server_port(server);"});
        out_.line("pk = (", p_, "_proto_packet_t *)calloc(1, sizeof(*pk));");
        lines(out_, {"if(pk == NULL){", "\tprintf(\"out of memory\\n\");", "\ttessaro_server_free(server);", "\treturn 1;", "}",
                     "printf(\"demo: the server thread listens on 127.0.0.1:%u\\n\", (unsigned int)port);", ""});
        writeServeOnly();
        writeCalls();
        out_.close();
    }

    // With --serve, the server answers every operation with sample values until it is stopped.
    void writeServeOnly()
    {
        lines(out_, {"if(serve){", "\tprintf(\"demo: serving every operation with sample values; Ctrl+C stops\\n\");",
                     "\tfflush(stdout);", "\ttessaro_server_stop_on_signals(server);", "\ttessaro_server_wait(server);",
                     "\ttessaro_server_free(server);", "\tfree(pk);", "\treturn 0;", "}"});
    }

    void writeCalls()
    {
        int called = 0;
        for (const DemoCall& call : calls_) {
            const std::string name = cStringLiteral(call.shownName());
            if (call.request == nullptr) {
                out_.line("printf(\"demo: %s is not called: %s\\n\", ", name, ", ", cStringLiteral(call.notCalled()), ");");
                continue;
            }
            ++called;
            out_.line("answered += demo_call(", name, ", ", P_, "_PROTO_", kindId(call.request), ", ", P_, "_PROTO_",
                      kindId(call.response), ", ", P_, call.operation->soapVersion == 12 ? "_SOAP_1_2" : "_SOAP_1_1",
                      ", port, pk);");
        }
        const std::string count = std::to_string(called);
        // A stop answers the requests already come before the server ends.
        out_.line("tessaro_server_free(server);");
        out_.line("free(pk);");
        out_.open("if(answered == ", count, "){");
        out_.line("printf(\"demo: ", count, " of ", count, " calls got their answer\\n\");");
        out_.line("return 0;");
        out_.close();
        out_.line("printf(\"demo: FAILED: %d of ", count, " calls got no answer\\n\", ", count, " - answered);");
        out_.line("return 1;");
    }

    const CEmitContext& context_;
    CTextBuffer& out_;
    const std::string p_;
    const std::string P_;
    const bool windows_;
    std::vector<DemoCall> calls_;
    // The kinds in the order first met, and by key index where each stands
    // (1 + its position; 0 for a kind not filled).
    std::vector<FilledKinds> filled_;
    std::vector<std::size_t> filledAt_;
};

} // namespace

void writeDemoFile(const CEmitContext& context, CTextBuffer& demo)
{
    CDemoWriter(context, demo).write();
}
