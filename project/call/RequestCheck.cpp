// A request checked before it is sent: the envelope's shape by hand, the
// body's content by the schema validator, each problem where it stands.
#include "project/call/RequestCheck.h"

#include "generator/model/ServiceView.h"
#include "schema/Element.h"
#include "schema/QualifiedName.h"
#include "schema/SchemaParser.h"
#include "schema/SchemaParserException.h"
#include "schema/SchemaValidator.h"
#include "schema/ValueContainer.h"
#include "wsdl/WsdlParser.h"
#include "xml/XmlPullParser.h"

#include <algorithm>
#include <sstream>

namespace {

const char* const kSoap11 = "http://schemas.xmlsoap.org/soap/envelope/";
const char* const kSoap12 = "http://www.w3.org/2003/05/soap-envelope";

// What one element of the body, or of an rpc wrapper, must be.
struct Expected {
    std::string ns;  // empty for an unqualified accessor
    std::string name;
    Schema::SchemaParser* schema = nullptr;  // null when the schemas do not declare it
    int typeId = 0;
};

std::string qualifiedName(const std::string& ns, const std::string& name)
{
    return ns.empty() ? name : "{" + ns + "}" + name;
}

Schema::QualifiedName nameIn(const std::string& ns, const std::string& local)
{
    Schema::QualifiedName name(local);
    name.setNamespace(ns);
    return name;
}

// The validator's message without the line it adds to every one.
std::string firstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

class RequestChecker {
public:
    RequestChecker(Wsdl::WsdlParser& wsdl, const CViewOperation& op) : wsdl_(wsdl), op_(op) {}

    std::vector<RequestProblem> run(const std::string& envelope);

private:
    void problem(const XmlPullParser& xpp, const std::string& message)
    {
        problems_.push_back({xpp.getLineNumber(), xpp.getColumnNumber(), message});
    }

    std::vector<Expected> expectedParts() const;
    Expected elementOf(const std::string& ns, const std::string& name) const;
    Expected accessorOf(const CViewPart& part) const;
    bool inHeader(int partIndex) const;

    void readEnvelope(XmlPullParser& xpp);
    void readBody(XmlPullParser& xpp);
    void readWrapper(XmlPullParser& xpp);
    void readSequence(XmlPullParser& xpp, const std::vector<Expected>& expected, const std::string& where);
    void validate(XmlPullParser& xpp, const Expected& expected);
    void reportValues(const std::string& envelope);
    void walkValues(XmlPullParser& xpp, Schema::ValueContainer& container);

    // An element the validator took, with what it read: its values are looked
    // at once the structure is checked, in a second reading that knows their places.
    struct Validated {
        int line;
        int column;
        std::unique_ptr<Schema::ValueContainer> container;
    };

    Wsdl::WsdlParser& wsdl_;
    const CViewOperation& op_;
    std::vector<RequestProblem> problems_;
    std::vector<Validated> validated_;
};

Expected RequestChecker::elementOf(const std::string& ns, const std::string& name) const
{
    Expected expected{ns, name};
    const int count = wsdl_.getSchemaCount() + 2;
    for (int i = 0; i < count; ++i) {
        Schema::SchemaParser* schema = wsdl_.getSchemaParser(i);
        if (schema == nullptr || schema->getNamespace() != ns)
            continue;
        if (const Schema::Element* element = schema->getElementWithLocalType(nameIn(ns, name))) {
            expected.schema = schema;
            expected.typeId = element->getType();
            return expected;
        }
    }
    return expected;
}

// An rpc part stands as an unqualified accessor of the part's type.
Expected RequestChecker::accessorOf(const CViewPart& part) const
{
    Expected expected{std::string(), std::string(part.name)};
    if (part.refKind == CViewPart::ElementRef && part.element != nullptr)
        return elementOf(std::string(part.element->ns), std::string(part.element->name));
    const int count = wsdl_.getSchemaCount() + 2;
    for (int i = 0; i < count && expected.schema == nullptr; ++i) {
        Schema::SchemaParser* schema = wsdl_.getSchemaParser(i);
        if (schema == nullptr)
            continue;
        if (part.type.isUser() && schema->getNamespace() == part.type.user->ns) {
            expected.typeId = schema->getTypeId(nameIn(std::string(part.type.user->ns),
                                                       std::string(part.type.user->name)));
            expected.schema = expected.typeId != 0 ? schema : nullptr;
        } else if (!part.type.isUser() && part.type.builtin != 0) {
            expected.typeId = part.type.builtin;
            expected.schema = schema;
        }
    }
    return expected;
}

bool RequestChecker::inHeader(int partIndex) const
{
    for (const CHeaderPart& header : op_.in.headers) {
        if (header.message == op_.input && header.partIndex == partIndex)
            return true;
    }
    return false;
}

std::vector<Expected> RequestChecker::expectedParts() const
{
    std::vector<Expected> expected;
    if (op_.input == nullptr)
        return expected;
    for (std::size_t i = 0; i < op_.input->parts.size(); ++i) {
        const CViewPart& part = op_.input->parts[i];
        if (inHeader(static_cast<int>(i)))
            continue;
        if (op_.style == CViewOperation::Rpc || part.refKind != CViewPart::ElementRef || part.element == nullptr)
            expected.push_back(accessorOf(part));
        else
            expected.push_back(elementOf(std::string(part.element->ns), std::string(part.element->name)));
    }
    return expected;
}

std::vector<RequestProblem> RequestChecker::run(const std::string& envelope)
{
    std::istringstream in(envelope);
    XmlPullParser xpp(in);
    try {
        xpp.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
        readEnvelope(xpp);
    } catch (const XmlPullParserException& failure) {
        problems_.push_back({failure.line, failure.column, failure.description});
        return problems_;
    }
    reportValues(envelope);
    std::stable_sort(problems_.begin(), problems_.end(), [](const RequestProblem& a, const RequestProblem& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    return problems_;
}

void RequestChecker::readEnvelope(XmlPullParser& xpp)
{
    const std::string soapNamespace = op_.soapVersion == 12 ? kSoap12 : kSoap11;
    xpp.nextTag();
    if (xpp.getName() != "Envelope" || xpp.getNamespace() != soapNamespace) {
        problem(xpp, "the request must be a SOAP " + std::string(op_.soapVersion == 12 ? "1.2" : "1.1")
                         + " Envelope, not " + qualifiedName(xpp.getNamespace(), xpp.getName()));
        return;
    }
    bool body = false;
    for (int event = xpp.nextTag(); event == XmlPullParser::START_TAG; event = xpp.nextTag()) {
        if (xpp.getNamespace() == soapNamespace && xpp.getName() == "Body" && !body) {
            body = true;
            readBody(xpp);
        } else if (xpp.getNamespace() == soapNamespace && xpp.getName() == "Header" && !body) {
            xpp.skipSubTree();
        } else {
            problem(xpp, "the envelope may not hold " + qualifiedName(xpp.getNamespace(), xpp.getName()) + " here");
            xpp.skipSubTree();
        }
    }
    if (!body)
        problem(xpp, "the envelope has no Body");
}

void RequestChecker::readBody(XmlPullParser& xpp)
{
    if (op_.style != CViewOperation::Rpc) {
        readSequence(xpp, expectedParts(), "the body");
        return;
    }
    // An rpc request's body holds one element named after the operation, in the body's
    // namespace (the message's without one).
    const std::string ns(op_.in.bodyNamespace.empty() && op_.input != nullptr ? op_.input->ns
                                                                              : op_.in.bodyNamespace);
    if (xpp.nextTag() != XmlPullParser::START_TAG) {
        problem(xpp, "the body lacks " + qualifiedName(ns, std::string(op_.name)));
        return;
    }
    if (xpp.getName() != op_.name || xpp.getNamespace() != ns) {
        problem(xpp, "the body must hold " + qualifiedName(ns, std::string(op_.name)) + ", not "
                         + qualifiedName(xpp.getNamespace(), xpp.getName()));
        xpp.skipSubTree();
    } else {
        readSequence(xpp, expectedParts(), std::string(op_.name));
    }
    for (int event = xpp.nextTag(); event == XmlPullParser::START_TAG; event = xpp.nextTag()) {
        problem(xpp, "the body may hold nothing after " + std::string(op_.name));
        xpp.skipSubTree();
    }
}

// The children of the element the parser stands on: the expected ones in
// their order, nothing else. The parser is left on the element's end.
void RequestChecker::readSequence(XmlPullParser& xpp, const std::vector<Expected>& expected, const std::string& where)
{
    std::size_t next = 0;
    for (int event = xpp.nextTag(); event == XmlPullParser::START_TAG; event = xpp.nextTag()) {
        if (next == expected.size()) {
            problem(xpp, where + " may hold nothing more, not " + qualifiedName(xpp.getNamespace(), xpp.getName()));
            xpp.skipSubTree();
            continue;
        }
        const Expected& part = expected[next++];
        if (xpp.getName() != part.name || xpp.getNamespace() != part.ns) {
            problem(xpp, where + " must hold " + qualifiedName(part.ns, part.name) + " here, not "
                             + qualifiedName(xpp.getNamespace(), xpp.getName()));
            xpp.skipSubTree();
            continue;
        }
        validate(xpp, part);
    }
    for (; next < expected.size(); ++next)
        problem(xpp, where + " lacks " + qualifiedName(expected[next].ns, expected[next].name));
}

void RequestChecker::validate(XmlPullParser& xpp, const Expected& expected)
{
    if (expected.schema == nullptr || expected.typeId == 0) {
        xpp.skipSubTree();
        return;
    }
    const int depth = xpp.getDepth();
    const int line = xpp.getLineNumber();
    const int column = xpp.getColumnNumber();
    std::ostringstream log;
    Schema::SchemaValidator validator(*expected.schema, log);
    auto container = std::make_unique<Schema::ValueContainer>(expected.typeId, expected.schema);
    try {
        validator.validate(xpp, expected.typeId, *container);
    } catch (const Schema::SchemaParserException& failure) {
        problems_.push_back({failure.getLine() != 0 ? failure.getLine() : line,
                             failure.getLine() != 0 ? failure.getColumn() : column,
                             firstLine(failure.getDescription())});
        // Past the element the validator stopped in.
        while (!(xpp.getEventType() == XmlPullParser::END_TAG && xpp.getDepth() == depth))
            xpp.next();
        return;
    }
    validated_.push_back({line, column, std::move(container)});
}

void RequestChecker::reportValues(const std::string& envelope)
{
    for (Validated& element : validated_) {
        std::istringstream in(envelope);
        XmlPullParser xpp(in);
        xpp.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
        while (xpp.next() != XmlPullParser::END_DOCUMENT) {
            if (xpp.getEventType() == XmlPullParser::START_TAG && xpp.getLineNumber() == element.line
                && xpp.getColumnNumber() == element.column) {
                walkValues(xpp, *element.container);
                break;
            }
        }
    }
}

// The value of an attribute a type or one of its bases declares: each base's
// attributes are kept in the container of that base, no deeper than the
// validator follows derivations.
static const Schema::ValueContainer* attributeValueOf(Schema::ValueContainer& container, const std::string& name)
{
    Schema::ValueContainer* level = &container;
    for (int hops = 0; level != nullptr && hops < Schema::SchemaValidator::MaxNesting;
         ++hops, level = level->getBaseContainer(false)) {
        if (const Schema::ValueContainer* attribute = level->getAttributeContainer(name, false))
            return attribute;
    }
    return nullptr;
}

// The values of the element the parser stands on and of those inside it that
// do not fit their types; the parser is left on the element's end.
void RequestChecker::walkValues(XmlPullParser& xpp, Schema::ValueContainer& container)
{
    const std::string name = xpp.getName();
    for (int i = 0; i < xpp.getAttributeCount(); ++i) {
        const Schema::ValueContainer* attribute = attributeValueOf(container, xpp.getAttributeName(i));
        if (attribute != nullptr && attribute->hasValue() && !attribute->isValid())
            problem(xpp, "the value \"" + xpp.getAttributeValue(i) + "\" of the attribute " + xpp.getAttributeName(i)
                             + " of " + name + " does not fit its type");
    }
    if (container.hasValue() && !container.isValid())
        problem(xpp, "the value \"" + container.getText() + "\" of " + name + " does not fit its type");
    for (int event = xpp.next(); event != XmlPullParser::END_TAG; event = xpp.next()) {
        if (event != XmlPullParser::START_TAG)
            continue;
        if (Schema::ValueContainer* child = container.getElementContainer(xpp.getName(), false))
            walkValues(xpp, *child);
        else
            xpp.skipSubTree();
    }
}

}  // namespace

std::vector<RequestProblem> checkRequest(Wsdl::WsdlParser& schemas, const CViewOperation& op,
                                         const std::string& envelope)
{
    return RequestChecker(schemas, op).run(envelope);
}
