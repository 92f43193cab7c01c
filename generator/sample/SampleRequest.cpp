#include "generator/sample/SampleRequest.h"

#include "generator/model/NameForms.h"
#include "generator/sample/SampleValues.h"
#include "schema/SchemaConstants.h"

#include <map>
#include <string_view>

namespace {

const char* const kSoap11Envelope = "http://schemas.xmlsoap.org/soap/envelope/";
const char* const kSoap12Envelope = "http://www.w3.org/2003/05/soap-envelope";

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

// Whether a soap:header binds the input message's part, which then stands in the Header only.
bool inHeader(const CViewOperation& operation, int partIndex)
{
    for (const CHeaderPart& bound : operation.in.headers) {
        if (bound.message == operation.input && bound.partIndex == partIndex)
            return true;
    }
    return false;
}

class SampleWriter {
public:
    // The header's and the body's content; the namespaces they use get their
    // prefixes on the envelope.
    std::string header(const CViewOperation& operation);
    std::string body(const CViewOperation& operation);
    std::string namespaceDeclarations() const;

private:
    std::string prefixOf(std::string_view ns);
    std::string qualifiedName(std::string_view name, bool qualified, std::string_view ns);
    std::string text();
    void part(const CViewPart& part);
    void element(const std::string& name, const CTypeRef& type, int depth);
    std::string attributes(const CViewType& type);
    void wildcard(const CViewParticle& particle);
    void content(const CViewType& type, int depth);
    std::string value(const CTypeRef& type, int builtin, const std::string& name);
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

// The value of the type's sample; the counter goes on for a counted or numbered one.
std::string SampleWriter::value(const CTypeRef& type, int builtin, const std::string& name)
{
    const CSampleValue sample = sampleValue(type, builtin, isNumericTypeId(builtin), name);
    if (sample.kind == CSampleValue::Given)
        return sample.text;
    return sampleText(sample, ++counter_, type.isUser() ? type.user->maxLength : -1);
}

std::string SampleWriter::simpleValue(const CTypeRef& type, const std::string& name)
{
    if (!type.isUser())
        return value(type, type.builtin, name);
    return value(type, type.user->valueType ? type.user->valueType : Schema::XSD_STRING, name);
}

// The attributes a document must give (use="required"), with the value their
// declaration fixes or defaults to where it gives one.
std::string SampleWriter::attributes(const CViewType& type)
{
    std::string out;
    for (const CViewAttribute& attribute : type.attributes) {
        if (!attribute.required || attribute.isWildcard())
            continue;
        const std::string name(attribute.name);
        const std::string value = attribute.givenValue.empty() ? simpleValue(attribute.type, name)
                                                               : std::string(attribute.givenValue);
        out += " " + qualifiedName(name, attribute.qualified, attribute.ns) + "=\"" + xmlEscaped(value) + "\"";
    }
    return out;
}

void SampleWriter::element(const std::string& name, const CTypeRef& type, int depth)
{
    const std::string local = name.substr(name.find(':') + 1);
    if (!type.isUser() || type.user->simple) {
        line("<" + name + ">" + xmlEscaped(simpleValue(type, local)) + "</" + name + ">");
        return;
    }
    const CViewType& user = *type.user;
    const std::string start = "<" + name + attributes(user);
    if (user.hasSimpleContent()) {
        line(start + ">" + xmlEscaped(simpleValue(type, local)) + "</" + name + ">");
        return;
    }
    if (user.particles.empty() || entered_[&user] > SampleRecursionDepth || depth > 32) {
        line(start + "/>");
        return;
    }
    line(start + ">");
    ++indent_;
    ++entered_[&user];
    content(user, depth + 1);
    --entered_[&user];
    --indent_;
    line("</" + name + ">");
}

// Any element may stand for a wildcard: one a document must hold is an
// empty element in the first namespace the wildcard names.
void SampleWriter::wildcard(const CViewParticle& particle)
{
    if (particle.minOccurs == 0)
        return;
    const std::string_view list = particle.isWildcard() ? std::string_view() : particle.name;
    std::string_view ns = list.substr(0, list.find(' '));
    if (ns.substr(0, 2) == "##")
        ns = std::string_view();
    line("<" + qualifiedName("item", !ns.empty(), ns) + "/>");
}

// Of a choice only its first branch stands.
void SampleWriter::content(const CViewType& type, int depth)
{
    for (const CViewParticle& particle : type.particles) {
        if (particle.laterBranch)
            continue;
        if (particle.isWildcard() || particle.isAnyElement()) {
            wildcard(particle);
            continue;
        }
        const int times = particle.maxOccurs == 1 ? 1 : 2;
        const std::string name = qualifiedName(particle.name, particle.qualified, particle.ns);
        for (int i = 0; i < times; ++i)
            element(name, particle.type, depth);
    }
}

void SampleWriter::part(const CViewPart& part)
{
    if (part.refKind == CViewPart::ElementRef && part.element)
        element(qualifiedName(part.element->name, true, part.element->ns), part.element->type, 0);
    else
        element(std::string(part.name), part.type, 0);
}

std::string SampleWriter::text()
{
    std::string written;
    written.swap(out_);
    return written;
}

// The parts soap:header binds go in the Header, each as an element part does in the body.
std::string SampleWriter::header(const CViewOperation& operation)
{
    for (const CHeaderPart& bound : operation.in.headers) {
        if (const CViewPart* headerPart = bound.part())
            part(*headerPart);
    }
    return text();
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
        for (std::size_t i = 0; i < input->parts.size(); ++i) {
            if (!inHeader(operation, static_cast<int>(i)))
                part(input->parts[i]);
        }
    }
    if (rpc) {
        --indent_;
        line("</" + wrapper + ">");
    }
    return text();
}

}  // namespace

CSampleRequest sampleRequest(const CViewOperation& operation)
{
    SampleWriter writer;
    const std::string header = writer.header(operation);
    const std::string body = writer.body(operation);
    const bool soap12 = operation.soapVersion == 12;
    CSampleRequest request;
    request.soapAction = std::string(operation.soapAction);
    request.envelope = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<soap:Envelope xmlns:soap=\"") +
        (soap12 ? kSoap12Envelope : kSoap11Envelope) + "\"" + writer.namespaceDeclarations() + ">\n" +
        (header.empty() ? std::string() : "  <soap:Header>\n" + header + "  </soap:Header>\n") + "  <soap:Body>\n" +
        body + "  </soap:Body>\n</soap:Envelope>\n";
    request.contentType = soap12 ? "application/soap+xml; charset=utf-8; action=" + quotedString(request.soapAction)
                                 : "text/xml; charset=utf-8";
    return request;
}
