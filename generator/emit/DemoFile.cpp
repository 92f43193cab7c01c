#include "generator/emit/DemoFile.h"

#include "generator/model/EmitContext.h"
#include "generator/emit/TextBuffer.h"

#include <set>

namespace {

const char* const Separator = "\t\t\tprintf(\"=======================================================\\n\");";

void lines(CTextBuffer& out, std::initializer_list<const char*> text)
{
    for (const char* line : text)
        out.line(line);
}

class CDemoWriter {
public:
    CDemoWriter(const CEmitContext& context, CTextBuffer& out)
        : context_(context), out_(out), p_(context.proj()), P_(context.projUpper()),
          windows_(context.project().isWindowsTarget())
    {
    }

    void write()
    {
        writeHead();
        writeServer();
        written_.clear();
        writeClient();
    }

private:
    enum Half { Request, Response };
    using Block = void (CDemoWriter::*)(const CMessageKey&, Half, bool);

    void writeHead()
    {
        lines(out_, {"#include <stdio.h>", "#include <stdlib.h>"});
        if (windows_) {
            out_.line("#include <process.h>");
        } else {
            // accept and struct sockaddr_in come from the system's socket headers.
            lines(out_, {"#include <pthread.h>", "#include <sys/socket.h>", "#include <netinet/in.h>"});
        }
        out_.emptyLine();
        out_.line("#include \"" + p_ + "_api.h\"");
        lines(out_, {"", "#include \"tessaro_socket.h\"", "#include \"tessaro_util.h\"", ""});
    }

    void writeServer()
    {
        out_.line(windows_ ? "unsigned int __stdcall server_thread_func( void * param )"
                           : "void* server_thread_func( void * param )");
        lines(out_, {"{", "\tint result = 0;", "", "\ttessaro_socket_t tcp_socket;", "\ttessaro_socket_t coming_socket;", "",
                     "\tstruct sockaddr_in\taddr;"});
        out_.line(windows_ ? "\tint\t\tsize = sizeof(addr);" : "\tsocklen_t\tsize = sizeof(addr);");
        out_.emptyLine();
        out_.line("\t" + p_ + "_proto_trans_t trans;");
        out_.line("\t" + p_ + "_proto_packet_t pk;");
        out_.emptyLine();
        lines(out_, {"\t(void)param;", "\tresult = tessaro_socket_create_tcp_listen(&tcp_socket, 4321, 100);", "\tif(result != 0){",
                     "\t\tprintf(\"create tcp listen error\\n\");", "\t\treturn 0;", "\t}", ""});
        // Connection after connection: one that closes, breaks or sends
        // what cannot be read ends, and the next is accepted.
        out_.line("\twhile(1){");
        out_.indent();
        out_.line(std::string("\tif ((coming_socket = accept(tcp_socket, ") +
                  (windows_ ? "(LPSOCKADDR)" : "(struct sockaddr *)") + "&addr, &size)) == INVALID_SOCKET){");
        // A connection reset before it was accepted fails the accept: the
        // server pauses (a failing listener cannot flood the log) and goes on.
        lines(out_, {"\t\tprintf(\"accept socket error\\n\");", windows_ ? "\t\ttessaro_sleep(1000);" : "\t\ttessaro_sleep(1);",
                     "\t\tcontinue;", "\t}", "", "\ttrans.socket = coming_socket;", "", "\twhile(1){"});
        out_.line("\t\tmemset(&pk, 0, sizeof(" + p_ + "_proto_packet_t));");
        out_.emptyLine();
        out_.line("\t\tresult = " + p_ + "_proto_readpacket(&trans, &pk, 30);");
        lines(out_, {"\t\tif(result != 0){", "\t\t\tprintf(\"read_packet stat is %d!\\n\", result);", "\t\t\tbreak;", "\t\t}",
                     ""});
        for (const CViewPortType& portType : context_.view().portTypes()) {
            if (!portType.operations.empty())
                writeSwitch(portType);
        }
        out_.line("\t\t//the reader gave the packet its attachment and the storage of its arrays");
        out_.line("\t\t" + p_ + "_free_proto_packet(&pk);");
        lines(out_, {"\t}", "\ttessaro_socket_close(coming_socket);"});
        out_.outdent();
        lines(out_, {"\t}", "", "\treturn 0;", "", "}"});
    }

    void writeSwitch(const CViewPortType& portType)
    {
        out_.line("\t\tswitch(pk.msg_type){");
        out_.line("\t\tcase " + P_ + "_PROTO_HTTP:");
        lines(out_, {"\t\t\tprintf(\"==================recv error http resp ====================\\n\");",
                     "\t\t\tprintf(\"err_code:%d\\n\", pk.msg.http_msg.err_code);",
                     "\t\t\tprintf(\"err_code_string:%s\\n\", pk.msg.http_msg.err_code_string);", Separator, "\t\t\tbreak;"});
        out_.line("\t\tcase " + P_ + "_PROTO_SOAP_FAULT:");
        lines(out_, {"\t\t\tprintf(\"==================recv soap fault msg ====================\\n\");",
                     "\t\t\tprintf(\"faultcode:%s\\n\", pk.msg.soap_fault.faultcode);",
                     "\t\t\tprintf(\"faultstring:%s\\n\", pk.msg.soap_fault.faultstring);",
                     "\t\t\tprintf(\"detail:%s\\n\", pk.msg.soap_fault.detail);", Separator, "\t\t\tbreak;"});
        walk(portType, &CDemoWriter::caseBlock);
        out_.line("\t\t}");
    }

    void writeClient()
    {
        CTextBuffer loop;
        sendTarget_ = &loop;
        for (const CViewPortType& portType : context_.view().portTypes()) {
            if (!portType.operations.empty() && walk(portType, &CDemoWriter::sendBlock))
                loop.emptyLine();
        }

        lines(out_, {"int main(int argc, char ** argv)", "{", "\tint\t\tresult = 0;"});
        if (windows_)
            lines(out_, {"\tunsigned int tid;", "\tWORD wVersionRequested;", "\tWSADATA wsaData;", "\tint err;"});
        else
            out_.line("\tpthread_t tid;");
        out_.emptyLine();
        out_.line("\t" + p_ + "_proto_trans_t trans;");
        // With nothing to send, the packet would be an unused variable.
        if (!loop.empty())
            out_.line("\t" + p_ + "_proto_packet_t pk;");
        out_.emptyLine();
        if (windows_)
            lines(out_, {"\twVersionRequested = MAKEWORD (2, 2);", "\terr = WSAStartup (wVersionRequested, &wsaData);",
                         "\tif(err != 0){", "\t\tprintf(\"WSAStartup error\\n\");", "\t\treturn err;", "\t}"});
        lines(out_, {"", "\t(void)argc;", "\t(void)argv;", "\tmemset(&trans,0,sizeof(trans));"});
        if (windows_)
            lines(out_, {"\t_beginthreadex(NULL, 0, server_thread_func, NULL, 0, &tid);", "\ttessaro_sleep(1000);"});
        else
            lines(out_, {"\tpthread_create(&tid, NULL, server_thread_func, NULL);", "\ttessaro_sleep(1);"});
        out_.emptyLine();
        out_.line("\tresult = " + p_ + "_connect_server(&trans, \"127.0.0.1\", \"/test/soap\", 4321);");
        lines(out_, {"\tif(result != 0){", "\t\tprintf(\"connect server error\\n\");", "\t\treturn result;", "\t}", "",
                     "\twhile(1){"});
        out_.append(loop.text());
        lines(out_, {"\t}", "\treturn 0;", "}"});
    }

    // At most one operation of the port type: the first with a SOAP binding
    // whose response (rpc style) is not yet written. True when the walk
    // ended at an operation.
    bool walk(const CViewPortType& portType, Block block)
    {
        for (const CViewOperation& operation : portType.operations) {
            if (!operation.soapBound)
                continue;
            if (operation.style == CViewOperation::Document) {
                messagePass(operation, Request, block);
                messagePass(operation, Response, block);
                return true;
            }
            for (const CMessageKey* key : context_.keys().keysOf(operation, Request)) {
                if (written_.insert(key->key).second)
                    (this->*block)(*key, Request, true);
            }
            const std::vector<const CMessageKey*> response = context_.keys().keysOf(operation, Response);
            // A one-way operation has no response to wait for.
            if (response.empty())
                return true;
            if (!written_.insert(response.front()->key).second)
                continue;
            (this->*block)(*response.front(), Response, true);
            return true;
        }
        return false;
    }

    void messagePass(const CViewOperation& operation, Half half, Block block)
    {
        for (const CMessageKey* key : context_.keys().keysOf(operation, half)) {
            if (written_.insert(key->key).second)
                (this->*block)(*key, half, false);
        }
    }

    void caseBlock(const CMessageKey& key, Half, bool)
    {
        const std::string constant = P_ + "_PROTO_" + key.id;
        out_.line("\t\tcase " + constant + ":");
        out_.line("\t\t\tprintf(\"==================recv msg " + constant + "====================\\n\");");
        out_.line("\t\t\t" + p_ + "_print_proto_packet_t(&pk);");
        lines(out_, {Separator, "\t\t\tbreak;"});
    }

    // Rpc requests pause after sending; document responses end without the
    // blank line the other blocks have.
    void sendBlock(const CMessageKey& key, Half half, bool rpc)
    {
        CTextBuffer& out = *sendTarget_;
        const std::string constant = P_ + "_PROTO_" + key.id;
        out.line("\t\tmemset(&pk, 0, sizeof(pk));");
        out.line("\t\tpk.msg_type = " + constant + ";");
        out.line("\t\tresult = " + p_ + "_proto_sendpacket(&trans, &pk, 30);");
        out.line("\t\tif(result != 0){");
        out.line("\t\t\tprintf(\"send " + constant + " error\\r\\n\");");
        out.line("\t\t}");
        if (rpc || half == Request)
            out.emptyLine();
        if (rpc && half == Request) {
            out.line(windows_ ? "\t\ttessaro_sleep(1000);" : "\t\ttessaro_sleep(1);");
            out.emptyLine();
        }
    }

    const CEmitContext& context_;
    CTextBuffer& out_;
    CTextBuffer* sendTarget_ = nullptr; // the send loop, written before main's head
    const std::string p_;
    const std::string P_;
    const bool windows_;
    std::set<std::string> written_;
};

} // namespace

void writeDemoFile(const CEmitContext& context, CTextBuffer& demo)
{
    CDemoWriter(context, demo).write();
}
