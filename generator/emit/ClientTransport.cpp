#include "generator/emit/ClientTransport.h"

#include "generator/emit/TextBuffer.h"
#include "generator/model/EmitContext.h"

#include <string>

void writeClientTransportErrors(const CEmitContext& context, CTextBuffer& header)
{
    // A range of their own, apart from the calls' codes counting down from -1.
    const char* const errors[] = {"TLS", "CERT_UNTRUSTED", "CERT_HOST", "CERT_EXPIRED", "CERTIFICATE", "CA_FILE", "PROXY"};
    int code = -19;
    for (const char* error : errors)
        header.line("#define ", context.projUpper(), "_ERR_", error, "\t(", std::to_string(--code), ")");
    const char* const proxyModes[] = {"FROM_ENVIRONMENT", "NONE", "GIVEN"};
    for (int mode = 0; mode < 3; ++mode)
        header.line("#define ", context.projUpper(), "_PROXY_", proxyModes[mode], "\t", std::to_string(mode));
    header.line("#define ", context.projUpper(), "_MAX_PROXY_CREDENTIAL\t256//the room of a proxy's user or password, its end included");
}

void writeClientTransportMembers(const CEmitContext& context, CTextBuffer& header)
{
    const std::string& p = context.proj();
    const std::string& P = context.projUpper();
    for (const std::string& member :
         {std::string("int tls;//1 for an https endpoint"),
          "char ca_file[256];//" + p + "_client_set_tls: a PEM file of the authorities to trust instead of the system's",
          "int tls_no_verify;//" + p + "_client_set_tls(client, ca_file, 0): any certificate is taken",
          "int proxy_mode;//" + P + "_PROXY_FROM_ENVIRONMENT unless " + p + "_client_set_proxy said otherwise",
          std::string("char proxy_host[256];"), std::string("tessaro_port_t proxy_port;"),
          "char proxy_user[" + P + "_MAX_PROXY_CREDENTIAL];//the proxy address's credentials, decoded",
          "char proxy_password[" + P + "_MAX_PROXY_CREDENTIAL];",
          std::string("int proxy_scheme;//how the proxy's last challenge asked for them: 0 not yet, 1 Basic, 2 Digest"),
          p + "_digest_t proxy_digest;//the proxy's last Digest challenge",
          "int connected;//the connection is open (" + p + "_client_close closes it)",
          p + "_proto_trans_t connection;"})
        header.line("\t", member);
}

void writeClientTransportDeclarations(const CEmitContext& context, CTextBuffer& header)
{
    const std::string& p = context.proj();
    header.line("//the calls of a client share one connection while the server keeps it open: ", p,
                "_client_close closes it (a call opens it again)");
    header.line("_declspec(dllexport) void WINAPI ", p, "_client_close(", p, "_client_t *client);");
    header.line("//https: ca_file (PEM) names the authorities to trust instead of the system's (NULL: the system's);");
    header.line("//the certificate and its host name are checked unless verify is 0");
    header.line("_declspec(dllexport) int WINAPI ", p, "_client_set_tls(", p,
                "_client_t *client, const char *ca_file, int verify);");
    header.line("//proxy: NULL for the environment's (http_proxy, https_proxy, all_proxy, no_proxy and their upper-case");
    header.line("//forms, as curl reads them), \"\" for none, else http://[user[:password]@]host[:port] (port 1080 unless");
    header.line("//given; the credentials percent-encoded, sent as Basic or Digest as the proxy's 407 asks); https goes");
    header.line("//through the proxy's CONNECT tunnel");
    header.line("_declspec(dllexport) int WINAPI ", p, "_client_set_proxy(", p, "_client_t *client, const char *proxy);");
}
