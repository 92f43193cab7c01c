#include "generator/emit/WsSecurity.h"

#include "generator/emit/Fragments.h"
#include "generator/emit/TextBuffer.h"
#include "generator/model/EmitContext.h"

#include <string>

void writeWsSecurityConstants(const CEmitContext& context, CTextBuffer& header)
{
    const std::string& p = context.proj();
    const std::string& P = context.projUpper();
    header.line("//WS-Security: a request could not be secured, an answer failed its check (unsigned, signed over");
    header.line("//other bytes or by an untrusted signer, expired), or a key or trust could not be read; ", p,
                "_client_error_detail says which");
    header.line("#define ", P, "_ERR_SECURITY\t(-40)");
    const char* const constants[][2] = {{"PASSWORD_TEXT", "0"},
                                        {"PASSWORD_DIGEST", "TESSARO_WSSE_PASSWORD_DIGEST"},
                                        {"NONCE", "TESSARO_WSSE_NONCE"},
                                        {"CREATED", "TESSARO_WSSE_CREATED"},
                                        {"RSA_SHA256", "TESSARO_WSSE_RSA_SHA256"},
                                        {"RSA_SHA1", "TESSARO_WSSE_RSA_SHA1"},
                                        {"DIGEST_SHA256", "TESSARO_WSSE_DIGEST_SHA256"},
                                        {"DIGEST_SHA1", "TESSARO_WSSE_DIGEST_SHA1"}};
    for (const auto& constant : constants)
        header.line("#define ", P, "_WSSE_", constant[0], "\t", constant[1]);
}

void writeWsSecurityClientMember(const CEmitContext& context, CTextBuffer& header)
{
    header.line("\ttessaro_wsse_t wsse;//WS-Security of the calls, set by ", context.proj(), "_client_set_wsse_*");
}

namespace {

// What each binding's WS-SecurityPolicy asks a request to carry, so that the user knows which
// settings to turn on.
void writeSecurityPolicies(const CEmitContext& context, CTextBuffer& header)
{
    for (const CViewBinding& binding : context.view().bindings()) {
        if (binding.securityPolicy.empty())
            continue;
        std::string names;
        for (const std::string& name : binding.securityPolicy)
            names.append(" ").append(name);
        header.line("//the WS-SecurityPolicy of binding ", binding.name, " asks for:", names);
    }
}

} // namespace

void writeWsSecurityDeclarations(const CEmitContext& context, CTextBuffer& header)
{
    const std::string& p = context.proj();
    const std::string& P = context.projUpper();
    const std::string client = p + "_client_t *client";
    writeSecurityPolicies(context, header);
    header.line("//WS-Security (each setting stays until set again; NULL or 0 turns it off and frees what it loaded):");
    header.line("//a UsernameToken (how: ", P, "_WSSE_PASSWORD_TEXT or _PASSWORD_DIGEST, | _NONCE | _CREATED),");
    header.line("//a Timestamp expiring seconds after it was created, the Body and Timestamp signed with a PEM key");
    header.line("//and certificate (", P, "_WSSE_RSA_SHA256 or _RSA_SHA1, ", P, "_WSSE_DIGEST_SHA256 or _DIGEST_SHA1),");
    header.line("//and answers verified against the PEM certificates trusted. A call whose headers packet has wsse");
    header.line("//set goes with those settings instead");
    header.line("_declspec(dllexport) int WINAPI ", p, "_client_set_wsse_user(", client,
                ", const char *user, const char *password, int how);");
    header.line("_declspec(dllexport) int WINAPI ", p, "_client_set_wsse_timestamp(", client, ", int seconds);");
    header.line("_declspec(dllexport) int WINAPI ", p, "_client_set_wsse_signature(", client,
                ", const char *key_file, const char *cert_file,");
    header.line("\tconst char *password, int signature_method, int digest_method);");
    header.line("_declspec(dllexport) int WINAPI ", p, "_client_set_wsse_trust(", client, ", const char *pem_file);");
}

void writeWsSecuritySender(const CEmitContext& context, CTextBuffer& source)
{
    writeFragment(context, CFragment::WsseSender, source);
}

void writeWsSecurityReader(const CEmitContext& context, CTextBuffer& source)
{
    writeFragment(context, CFragment::WsseReader, source);
}

void writeWsSecurityClient(const CEmitContext& context, CTextBuffer& source)
{
    writeFragment(context, CFragment::WsseClient, source);
}
