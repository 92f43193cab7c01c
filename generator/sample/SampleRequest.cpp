#include "generator/sample/SampleRequest.h"

#include "generator/model/NameForms.h"
#include "schema/SchemaConstants.h"

#include <map>
#include <string_view>

namespace {

const char* const kSoap11Envelope = "http://schemas.xmlsoap.org/soap/envelope/";
const char* const kSoap12Envelope = "http://www.w3.org/2003/05/soap-envelope";
// How many times a type may be entered again inside itself.
const int kMaximumNesting = 3;

// An HTTP header's quoted-string: a quote or backslash inside goes behind a backslash.
std::string quotedString(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

class SampleWriter {
public:
    // The body's content; the namespaces it uses get their prefixes on the envelope.
    std::string body(const CViewOperation& operation);
    std::string namespaceDeclarations() const;

private:
    std::string prefixOf(std::string_view ns);
    std::string qualifiedName(std::string_view name, bool qualified, std::string_view ns);
    void element(const std::string& name, const CTypeRef& type, int depth);
    void content(const CViewType& type, int depth);
    std::string builtinValue(int typeId, const std::string& name);
    std::string simpleValue(const CTypeRef& type, const std::string& name);
    void line(const std::string& text) { out_ += std::string(static_cast<std::size_t>(indent_) * 2, ' ') + text + "\n"; }

    std::map<std::string, std::string, std::less<>> prefixes_;   // namespace, prefix
    std::map<const CViewType*, int> entered_;
    std::string out_;
    int indent_ = 2;
    int counter_ = 0;
};

std::string SampleWriter::prefixOf(std::string_view ns)
{
    const auto found = prefixes_.find(ns);
    if (found != prefixes_.end())
        return found->second;
    const std::string prefix = "ns" + std::to_string(prefixes_.size() + 1);
    prefixes_.emplace(std::string(ns), prefix);
    return prefix;
}

std::string SampleWriter::qualifiedName(std::string_view name, bool qualified, std::string_view ns)
{
    return qualified && !ns.empty() ? prefixOf(ns) + ":" + std::string(name) : std::string(name);
}

std::string SampleWriter::namespaceDeclarations() const
{
    std::string out;
    for (const auto& entry : prefixes_)
        out += " xmlns:" + entry.second + "=\"" + xmlEscaped(entry.first) + "\"";
    return out;
}

std::string SampleWriter::builtinValue(int typeId, const std::string& name)
{
    switch (typeId) {
    case Schema::XSD_BOOLEAN: return "true";
    case Schema::XSD_DATETIME: return "2024-01-01T12:00:00Z";
    case Schema::XSD_DATE: return "2024-01-01";
    case Schema::XSD_TIME: return "12:00:00";
    case Schema::XSD_BASE64BIN: return "a2VsdmFuZQ==";
    case Schema::XSD_HEXBIN: return "6b656c76616e65";
    case Schema::XSD_ANYURI: return "http://example.com/" + name;
    case Schema::XSD_QNAME: return "xsd:string";
    default: break;
    }
    const std::string number = std::to_string(++counter_);
    if (isNumericTypeId(typeId) || typeId == Schema::XSD_INTEGER || typeId == Schema::XSD_POSINT ||
        typeId == Schema::XSD_DECIMAL)
        return number;
    return name + number;
}

std::string SampleWriter::simpleValue(const CTypeRef& type, const std::string& name)
{
    if (!type.isUser())
        return builtinValue(type.builtin, name);
    if (const std::vector<std::string>* values = type.user->allowedValues(); values && !values->empty())
        return values->front();
    return builtinValue(type.user->valueType ? type.user->valueType : Schema::XSD_STRING, name);
}

void SampleWriter::element(const std::string& name, const CTypeRef& type, int depth)
{
    const std::string local = name.substr(name.find(':') + 1);
    if (!type.isUser() || type.user->simple) {
        line("<" + name + ">" + xmlEscaped(simpleValue(type, local)) + "</" + name + ">");
        return;
    }
    const CViewType& user = *type.user;
    if (user.hasSimpleContent()) {
        line("<" + name + ">" + xmlEscaped(builtinValue(user.valueType ? user.valueType : Schema::XSD_STRING, local)) +
             "</" + name + ">");
        return;
    }
    if (user.particles.empty() || entered_[&user] > kMaximumNesting || depth > 32) {
        line("<" + name + "/>");
        return;
    }
    line("<" + name + ">");
    ++indent_;
    ++entered_[&user];
    content(user, depth + 1);
    --entered_[&user];
    --indent_;
    line("</" + name + ">");
}

void SampleWriter::content(const CViewType& type, int depth)
{
    for (const CViewParticle& particle : type.particles) {
        if (particle.isWildcard() || particle.isAnyElement())
            continue;
        const int times = particle.maxOccurs == 1 ? 1 : 2;
        const std::string name = qualifiedName(particle.name, particle.qualified, particle.ns);
        for (int i = 0; i < times; ++i)
            element(name, particle.type, depth);
        if (type.choice)
            break;
    }
}

std::string SampleWriter::body(const CViewOperation& operation)
{
    const CViewMessage* input = operation.input;
    const bool rpc = operation.style == CViewOperation::Rpc;
    std::string wrapper;
    if (rpc) {
        const std::string_view ns = operation.in.bodyNamespace.empty() && input ? input->ns : operation.in.bodyNamespace;
        wrapper = qualifiedName(operation.name, true, ns);
        line("<" + wrapper + ">");
        ++indent_;
    }
    if (input) {
        for (const CViewPart& part : input->parts) {
            if (part.refKind == CViewPart::ElementRef && part.element)
                element(qualifiedName(part.element->name, true, part.element->ns), part.element->type, 0);
            else
                element(std::string(part.name), part.type, 0);
        }
    }
    if (rpc) {
        --indent_;
        line("</" + wrapper + ">");
    }
    return out_;
}

}  // namespace

CSampleRequest sampleRequest(const CViewOperation& operation)
{
    SampleWriter writer;
    const std::string body = writer.body(operation);
    const bool soap12 = operation.soapVersion == 12;
    CSampleRequest request;
    request.soapAction = std::string(operation.soapAction);
    request.envelope = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<soap:Envelope xmlns:soap=\"") +
        (soap12 ? kSoap12Envelope : kSoap11Envelope) + "\"" + writer.namespaceDeclarations() + ">\n  <soap:Body>\n" +
        body + "  </soap:Body>\n</soap:Envelope>\n";
    request.contentType = soap12 ? "application/soap+xml; charset=utf-8; action=" + quotedString(request.soapAction)
                                 : "text/xml; charset=utf-8";
    return request;
}
