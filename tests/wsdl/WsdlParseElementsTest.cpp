// The model read from the top-level elements: messages and their parts with
// references resolved, port types and operations, bindings and their records
// of element ids, services and ports, the look-ups of names; and every fatal
// error of those elements.

#include "WsdlParseTestSupport.h"
#include "support/CaseFile.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"
#include "wsdl/SoapExtension.h"

using namespace Wsdl;
using namespace wsdltest;

namespace {

// The documents of data/ declare type Pair and element Order in urn:t.
std::vector<int> ids(int count, const int* first)
{
    return first == nullptr ? std::vector<int>() : std::vector<int>(first, first + count);
}

class WsdlParseElementsTest : public WsdlParseTest {
protected:
    int pairType() const { return parser_->getSchemaParser(2)->getTypeId(qname("urn:t", "Pair")); }
    const Message* message(const std::string& name) const
    {
        return parser_->getMessage(Schema::QualifiedName(name));
    }
    const PortType* portType(std::size_t index) const
    {
        WsdlParser::PortTypeList::const_iterator begin, end;
        if (!parser_->getPortTypes(begin, end))
            return nullptr;
        for (; index > 0 && begin != end; --index)
            ++begin;
        return begin == end ? nullptr : begin->get();
    }
    // Each name (prefixed as the document binds it) is declared in the schema
    // at the position given, -1 for none.
    struct DeclarationAt {
        const char* name;
        WsdlParser::DeclarationKind kind;
        int position;
    };
    void expectSchemaPositions(std::initializer_list<DeclarationAt> declarations) const
    {
        for (const DeclarationAt& d : declarations)
            EXPECT_EQ(parser_->getSchemaIndex(Schema::QualifiedName(d.name), d.kind), d.position) << d.name;
    }
};

TEST_F(WsdlParseElementsTest, PartsReferToTypesAndElementsOfTheirSchemas)
{
    parse(testsupport::fixture("wsdl/data/parts.wsdl"));
    expectSuccess();
    const Message* m = message("M");
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->getNumParts(), 5);
    ASSERT_NE(pairType(), 0);
    struct Expected {
        const char* name;
        int refKind;
        int type;
        const char* builtinName; // kept of a built-in type's part only
    };
    const Expected expected[] = {
        {"s", Part::TypeRef, Schema::XSD_STRING, "string"}, {"p", Part::TypeRef, pairType(), nullptr},
        {"o", Part::ElementRef, pairType(), nullptr},
        {"e", Part::TypeRef, -1, nullptr}, // some type of the built-in SOAP encoding schema
        {"x", Part::TypeRef, Schema::XSD_INT, "int"},
    };
    for (int i = 0; i < 5; ++i) {
        const Expected& e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(m->getPartRefKind(i), e.refKind);
        if (e.type >= 0)
            EXPECT_EQ(m->getPartType(i), e.type);
        else
            EXPECT_GE(m->getPartType(i), Schema::FIRST_USER_TYPE);
        EXPECT_EQ(m->getPartElement(i) != nullptr, e.refKind == Part::ElementRef);
        const Part& part = m->getParts()[static_cast<std::size_t>(i)];
        EXPECT_EQ(part.getType(), m->getPartType(i));
        EXPECT_STREQ(part.getBuiltinName(), e.builtinName);
    }
    const Part& order = m->getParts()[2];
    ASSERT_NE(order.getElement(), nullptr);
    EXPECT_EQ(order.getElement()->getName(), "Order");
    EXPECT_EQ(order.getSchemaPosition(), 2);
    EXPECT_EQ(order.getElement(), parser_->getSchemaParser(2)->getElement(qname("urn:t", "Order")));
    // A type part keeps the schema its id is numbered in (ids repeat across schemas).
    EXPECT_EQ(m->getParts()[1].getSchemaPosition(), 2);
    const Part& encoded = m->getParts()[3];
    ASSERT_NE(parser_->getSchemaParser(encoded.getSchemaPosition()), nullptr);
    EXPECT_NE(parser_->getSchemaParser(encoded.getSchemaPosition())->getType(encoded.getType()), nullptr);
    ASSERT_NE(m->getDocumentation(), nullptr);
    EXPECT_EQ(*m->getDocumentation(), "doc of M");
}

// A reader done with the declarations lets the document's schemas go: the
// built-in ones and everything else of the model stay, and no part is left
// pointing at a declaration that is gone.
TEST_F(WsdlParseElementsTest, ReleasingTheDocumentSchemasKeepsTheRestOfTheModel)
{
    parse(testsupport::fixture("wsdl/data/parts.wsdl"));
    expectSuccess();
    const int pair = pairType();
    ASSERT_EQ(parser_->getSchemaCount(), 1);
    parser_->releaseDocumentSchemas();
    EXPECT_EQ(parser_->getSchemaCount(), 0);
    EXPECT_EQ(parser_->getSchemaParser(2), nullptr);
    EXPECT_NE(parser_->getSchemaParser(0), nullptr);
    EXPECT_NE(parser_->getSchemaParser(1), nullptr);
    const Message* m = message("M");
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->getNumParts(), 5);
    const struct {
        const char* name;
        int refKind;
        int type; // an element part without its declaration has none
    } expected[] = {{"s", Part::TypeRef, Schema::XSD_STRING},
                    {"p", Part::TypeRef, pair},
                    {"o", Part::ElementRef, 0},
                    {"x", Part::TypeRef, Schema::XSD_INT}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        const Part* part = m->getPart(e.name);
        ASSERT_NE(part, nullptr);
        EXPECT_EQ(part->getRefKind(), e.refKind);
        EXPECT_EQ(part->getType(), e.type);
        EXPECT_EQ(part->getElement(), nullptr);
        EXPECT_EQ(part->getSchemaPosition(), -1);
    }
    ASSERT_NE(m->getDocumentation(), nullptr);
    EXPECT_EQ(*m->getDocumentation(), "doc of M");
}

// A reader that never reads the documentation lets its texts go: each
// element still points at a text, now empty, and the model around stays.
TEST_F(WsdlParseElementsTest, ReleasingTheDocumentationEmptiesItsTextsAndKeepsTheModel)
{
    parse(definitions("<documentation>of the document</documentation>"
                      "<message name=\"M\"><documentation>of M</documentation><part name=\"s\" type=\"xsd:string\"/>"
                      "</message><portType name=\"P\"><documentation>of P</documentation><operation name=\"o\">"
                      "<documentation>of o</documentation><input message=\"tns:M\"/></operation></portType>"));
    expectSuccess();
    const PortType* p = portType(0);
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(p->getOperations().size(), 1u);
    const struct {
        const char* name;
        const std::string* documentation;
        const char* text;
    } cases[] = {
        {"the document", parser_->getDocumentation(), "of the document"},
        {"a message", message("M")->getDocumentation(), "of M"},
        {"a port type", p->getDocumentation(), "of P"},
        {"an operation", p->getOperations().front()->getDocumentation(), "of o"},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.documentation, nullptr) << c.name;
        EXPECT_EQ(*c.documentation, c.text) << c.name;
    }
    parser_->releaseDocumentation();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.documentation->empty());
        EXPECT_EQ(c.documentation->capacity(), std::string().capacity());
    }
    EXPECT_EQ(parser_->getDocumentation(), cases[0].documentation);
    EXPECT_EQ(p->getOperations().front()->getDocumentation(), cases[3].documentation);
    ASSERT_NE(message("M"), nullptr);
    EXPECT_EQ(message("M")->getNumParts(), 1);
    EXPECT_EQ(p->getOperations().front()->getName(), "o");
}

TEST_F(WsdlParseElementsTest, AMessageNamedBeforeItsDefinitionIsFilledByIt)
{
    parse(definitions("<portType name=\"P\"><operation name=\"o\"><input message=\"tns:Later\"/>"
                      "<output message=\"tns:Early\"/></operation></portType>\n"
                      "<message name=\"Early\"><part name=\"a\" type=\"xsd:int\"/></message>\n"
                      "<message name=\"Later\"><part name=\"b\" type=\"xsd:string\"/></message>\n"));
    expectSuccess();
    ASSERT_EQ(parser_->getMessages().size(), 2u);
    // In order of first mention, each once.
    const Message* later = nth(parser_->getMessages(), 0);
    const Message* early = nth(parser_->getMessages(), 1);
    EXPECT_EQ(later->getName(), "Later");
    EXPECT_EQ(early->getName(), "Early");
    EXPECT_EQ(later->getNumParts(), 1);
    EXPECT_EQ(later->getPartName(0), "b");
    EXPECT_EQ(early->getNumParts(), 1);
    const Operation* operation = portType(0)->getOperation(0);
    EXPECT_EQ(operation->getInput(), later);
    EXPECT_EQ(operation->getOutput(), early);
}

TEST_F(WsdlParseElementsTest, OperationsTakeTheirTypeFromTheOrderOfTheirMessages)
{
    parse(testsupport::fixture("wsdl/data/operations.wsdl"));
    expectSuccess();
    const PortType* p = portType(0);
    ASSERT_NE(p, nullptr);
    const std::vector<std::pair<std::string, int>> expected = {
        {"OneWay", Operation::OneWay},       {"Notify", Operation::Notification}, {"Ask", Operation::RequestResponse},
        {"Solicit", Operation::SolicitResponse}, {"Doc", Operation::OneWay}};
    ASSERT_EQ(p->getNumOps(), static_cast<int>(expected.size()));
    for (int i = 0; i < p->getNumOps(); ++i) {
        EXPECT_EQ(p->getOperation(i)->getName(), expected[static_cast<std::size_t>(i)].first);
        EXPECT_EQ(p->getOperation(i)->getType(), expected[static_cast<std::size_t>(i)].second) << i;
        EXPECT_EQ(p->getOperationIndex(Schema::QualifiedName("tns:" + expected[static_cast<std::size_t>(i)].first)), i);
    }
    EXPECT_EQ(p->getOperationIndex(Schema::QualifiedName("None")), 0);
    const std::list<Message*>* faults = p->getOperation(2)->getFaults();
    ASSERT_NE(faults, nullptr);
    ASSERT_EQ(faults->size(), 2u);
    EXPECT_EQ(faults->front()->getName(), "F1");
    EXPECT_EQ(faults->back()->getName(), "F2");
    EXPECT_EQ(p->getOperation(0)->getFaults(), nullptr);
}

TEST_F(WsdlParseElementsTest, BindingRecordsHoldTheElementIdsOfEachGroup)
{
    parse(testsupport::fixture("wsdl/data/binding-records.wsdl"));
    ASSERT_EQ(parser_->getBindings().size(), 2u);
    const Binding* binding = nth(parser_->getBindings(), 0);
    const PortType* calc = portType(0);
    EXPECT_EQ(binding->getPortType(), calc);
    EXPECT_EQ(binding->getProtocolNamespace(), SoapBindingUri);
    EXPECT_EQ(binding->getProtocolElementId(), 1);
    EXPECT_EQ(calc->getBindings(), std::vector<Binding*>{const_cast<Binding*>(binding)});
    EXPECT_EQ(calc->getBinding(SoapBindingUri), binding);
    EXPECT_EQ(calc->getBinding("http://schemas.xmlsoap.org/wsdl/soap12/"), nullptr);

    // Ids in reading order: binding 1, operation 2, body 3, headers 4 and 5,
    // output body 6; a fault answers with the element before it; Sub's body 7.
    ASSERT_EQ(binding->getNumOps(), 3);
    EXPECT_EQ(binding->getOperation(0), calc->getOperation(0));
    EXPECT_EQ(binding->getOperation(1), nullptr);
    EXPECT_EQ(binding->getOperation(2), calc->getOperation(1));
    struct Group {
        int record;
        int (Binding::*read)(int, const int*&) const;
        std::vector<int> ids;
    };
    const Group groups[] = {
        {0, &Binding::getOpBinding, {2}},   {0, &Binding::getInputBinding, {3, 4, 5}},
        {0, &Binding::getOutputBinding, {6}}, {0, &Binding::getFaultBinding, {6}},
        {1, &Binding::getOpBinding, {}},    {1, &Binding::getInputBinding, {}},
        {2, &Binding::getOpBinding, {}},    {2, &Binding::getInputBinding, {7}},
    };
    for (const Group& g : groups) {
        const int* first = nullptr;
        const int count = (binding->*g.read)(g.record, first);
        EXPECT_EQ(ids(count, first), g.ids) << "record " << g.record;
    }
    const SoapExtension* soap = parser_->getSoapExtension();
    EXPECT_TRUE(soap->isSoapHeader(5));
    EXPECT_FALSE(soap->isSoapHeader(3));
    std::string action;
    int style = -1;
    EXPECT_TRUE(soap->getOperationInfo(2, action, style));
    EXPECT_EQ(action, "urn:add");
    EXPECT_EQ(style, SoapExtension::Rpc);

    // Without a port type the records name no operation.
    const Binding* loose = nth(parser_->getBindings(), 1);
    EXPECT_EQ(loose->getPortType(), nullptr);
    ASSERT_EQ(loose->getNumOps(), 1);
    EXPECT_EQ(loose->getOperation(0), nullptr);
}

TEST_F(WsdlParseElementsTest, ServicesListTheirPortsAndBindingsTheirServices)
{
    parse(testsupport::fixture("wsdl/data/services.wsdl"));
    ASSERT_EQ(parser_->getServices().size(), 2u);
    const Service* s1 = nth(parser_->getServices(), 0);
    const Service* s2 = nth(parser_->getServices(), 1);
    Binding* calcSoap = nth(parser_->getBindings(), 0);
    Binding* calc2Soap = nth(parser_->getBindings(), 1);
    // Ids: binding 1, operation 2, bodies 3 and 4, Calc2's binding 5, then the addresses.
    struct Expected {
        std::string name;
        Binding* binding;
        int address;
    };
    const std::vector<Expected> ports1 = {{"p1", calcSoap, 6}, {"p2", nullptr, 7}};
    const std::vector<Expected> ports2 = {{"p3", calc2Soap, 8}, {"p4", calcSoap, 0}, {"p5", nullptr, 0}};
    for (const auto& [service, expected] : {std::make_pair(s1, ports1), std::make_pair(s2, ports2)}) {
        ASSERT_EQ(service->getPorts().size(), expected.size());
        auto port = service->getPorts().begin();
        for (const Expected& e : expected) {
            EXPECT_EQ(port->name, e.name);
            EXPECT_EQ(port->binding, e.binding) << e.name;
            EXPECT_EQ(port->extElementId, e.address) << e.name;
            ++port;
        }
    }
    std::string location;
    EXPECT_TRUE(parser_->getSoapExtension()->getAddressLocation(8, location));
    EXPECT_EQ(location, "http://h/3");
    // A service once per port that uses the binding.
    EXPECT_EQ(calcSoap->getServices(), (std::list<Service*>{const_cast<Service*>(s1), const_cast<Service*>(s2)}));
    EXPECT_EQ(calc2Soap->getServices(), std::list<Service*>{const_cast<Service*>(s2)});
    EXPECT_EQ(portType(1)->getBindings(), std::vector<Binding*>{calc2Soap});
}

TEST_F(WsdlParseElementsTest, NamesResolveThroughTheNamespacesInScope)
{
    parse(testsupport::fixture("wsdl/data/names.wsdl"));
    expectSuccess();
    const PortType* calc = portType(0);
    const Binding* binding = nth(parser_->getBindings(), 0);
    struct Case {
        const char* name;
        const PortType* portType;
        const Binding* binding;
    };
    const Case cases[] = {
        {"Calc", calc, nullptr}, {"tns:Calc", calc, nullptr}, {"o:Calc", nullptr, nullptr},
        {"CalcSoap", nullptr, binding}, {"tns:CalcSoap", nullptr, binding}, {"o:CalcSoap", nullptr, nullptr},
        {"undeclared:Calc", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parser_->getPortType(Schema::QualifiedName(c.name)), c.portType) << c.name;
        EXPECT_EQ(parser_->getBinding(Schema::QualifiedName(c.name)), c.binding) << c.name;
    }
    expectSchemaPositions({
        {"xsd:string", WsdlParser::TypeDeclaration, 0}, {"xsd:gYear", WsdlParser::TypeDeclaration, 0},
        {"tns:Pair", WsdlParser::TypeDeclaration, 2},   {"tns:Order", WsdlParser::ElementDeclaration, 2},
        {"tns:Order", WsdlParser::TypeDeclaration, -1}, {"tns:Pair", WsdlParser::ElementDeclaration, -1},
        {"enc:Array", WsdlParser::TypeDeclaration, 1},  {"o:Pair", WsdlParser::TypeDeclaration, -1},
        {"undeclared:Pair", WsdlParser::TypeDeclaration, -1},
    });
    EXPECT_EQ(parser_->getTypeId(Schema::QualifiedName("xsd:string")), Schema::XSD_STRING);
    // A built-in type without an id of its own reads as a string.
    EXPECT_EQ(parser_->getTypeId(Schema::QualifiedName("xsd:gYear")), Schema::XSD_STRING);
    EXPECT_EQ(parser_->getTypeId(Schema::QualifiedName("tns:Pair")), pairType());
    EXPECT_EQ(parser_->getTypeId(Schema::QualifiedName("o:Pair")), 0);
    ASSERT_NE(parser_->getElement(Schema::QualifiedName("tns:Order")), nullptr);
    EXPECT_EQ(parser_->getElement(Schema::QualifiedName("tns:Order"))->getType(), pairType());
    EXPECT_EQ(parser_->getElement(Schema::QualifiedName("tns:Pair")), nullptr);
}

TEST_F(WsdlParseElementsTest, EmbeddedSchemasKnowEachOtherWhateverTheirOrder)
{
    const std::string user = "<xsd:schema targetNamespace=\"urn:t\" xmlns:a=\"urn:a\"><xsd:import namespace=\"urn:a\"/>"
                             "<xsd:element name=\"Holder\"><xsd:complexType><xsd:sequence>"
                             "<xsd:element name=\"v\" type=\"a:A\"/></xsd:sequence></xsd:complexType></xsd:element>"
                             "</xsd:schema>\n";
    const std::string used = "<xsd:schema targetNamespace=\"urn:a\"><xsd:complexType name=\"A\"><xsd:sequence>"
                             "<xsd:element name=\"n\" type=\"xsd:int\"/></xsd:sequence></xsd:complexType>"
                             "</xsd:schema>\n";
    const std::string holder = "<message name=\"M\"><part name=\"h\" element=\"tns:Holder\"/></message>\n";
    for (const bool usedFirst : {true, false}) {
        SCOPED_TRACE(usedFirst ? "the imported schema first" : "the importing schema first");
        parse(definitions("<types>" + (usedFirst ? used + user : user + used) + "</types>\n" + holder));
        expectSuccess();
        ASSERT_EQ(parser_->getSchemaCount(), 2);
        Schema::SchemaParser* importing = parser_->getSchemaParser(usedFirst ? 3 : 2);
        Schema::SchemaParser* imported = parser_->getSchemaParser(usedFirst ? 2 : 3);
        const int index = importing->getImportIndex("urn:a");
        ASSERT_NE(index, -1);
        EXPECT_EQ(importing->getImports()[static_cast<std::size_t>(index)].sParser, imported);
        const Message* m = message("M");
        ASSERT_EQ(m->getNumParts(), 1);
        EXPECT_EQ(m->getParts()[0].getSchemaPosition(), usedFirst ? 3 : 2);
        EXPECT_NE(m->getPartType(0), 0);
    }
}

// A reference is resolved in the first listed schema that serves its
// namespace, whether its own or one it imports: there its id is numbered.
// Schemas listed after a look-up (a schema document a later import brings)
// serve too, as do the namespaces linking gave the schemas.
TEST_F(WsdlParseElementsTest, ReferencesResolveInTheFirstSchemaServingTheirNamespace)
{
    write("d.xsd", "<xsd:schema xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" targetNamespace=\"urn:d\">"
                   "<xsd:element name=\"W\" type=\"xsd:int\"/></xsd:schema>\n");
    const std::string types =
        "<types>"
        "<xsd:schema targetNamespace=\"urn:b\" xmlns:a=\"urn:a\"><xsd:import namespace=\"urn:a\"/>"
        "<xsd:complexType name=\"Y\"><xsd:sequence><xsd:element name=\"x\" type=\"a:X\"/></xsd:sequence>"
        "</xsd:complexType></xsd:schema>\n"
        "<xsd:schema targetNamespace=\"urn:a\"><xsd:complexType name=\"X\"><xsd:sequence>"
        "<xsd:element name=\"n\" type=\"xsd:int\"/></xsd:sequence></xsd:complexType>"
        "<xsd:element name=\"E\" type=\"xsd:string\"/></xsd:schema>\n"
        "<xsd:schema targetNamespace=\"urn:c\"><xsd:element name=\"Z\" type=\"xsd:int\"/></xsd:schema>\n"
        "</types>\n";
    const std::string early = "<message name=\"Early\"><part name=\"x\" type=\"a:X\"/></message>\n";
    const std::string import = "<import namespace=\"urn:d\" location=\"d.xsd\"/>\n";
    const std::string late = "<message name=\"Late\"><part name=\"w\" element=\"d:W\"/></message>\n";
    parse(definitions(types + early + import + late,
                      " xmlns:a=\"urn:a\" xmlns:b=\"urn:b\" xmlns:c=\"urn:c\" xmlns:d=\"urn:d\""));
    expectSuccess();
    ASSERT_EQ(parser_->getSchemaCount(), 4);
    expectSchemaPositions({
        {"a:X", WsdlParser::TypeDeclaration, 2},    {"a:E", WsdlParser::ElementDeclaration, 2},
        {"b:Y", WsdlParser::TypeDeclaration, 2},    {"c:Z", WsdlParser::ElementDeclaration, 4},
        {"d:W", WsdlParser::ElementDeclaration, 5}, {"a:Y", WsdlParser::TypeDeclaration, -1},
        {"c:W", WsdlParser::ElementDeclaration, -1}, {"b:X", WsdlParser::TypeDeclaration, -1},
    });
    EXPECT_EQ(message("Early")->getParts()[0].getSchemaPosition(), 2);
    EXPECT_EQ(message("Late")->getParts()[0].getSchemaPosition(), 5);
    EXPECT_NE(message("Late")->getPartElement(0), nullptr);
}

TEST_F(WsdlParseElementsTest, FatalErrorsOfTheElements)
{
    // Rows: what is wrong, the body of a definitions element, the message.
    for (const auto& c : testsupport::caseTable("wsdl/data/elements.cases", "fatal")) {
        SCOPED_TRACE(c[0]);
        diagnostics_.str("");
        parse(definitions(c[1]));
        expectFailure(c[2]);
        EXPECT_EQ(states_.back(), WsdlParser::END);
        EXPECT_TRUE(endsWithPosition(diagnostics_.str())) << diagnostics_.str();
        EXPECT_EQ(lineWith(diagnostics_.str(), c[2].substr(2)).compare(0, 9, "doc.wsdl:"), 0) << diagnostics_.str();
    }
}

// Attributes outside the WSDL schema (tools add their own) are passed over
// with a notice at the element; the document parses.
TEST_F(WsdlParseElementsTest, AttributesTheWsdlSchemaDoesNotAllowAreIgnoredWithANotice)
{
    for (const auto& c : testsupport::caseTable("wsdl/data/elements.cases", "ignored-attributes")) {
        SCOPED_TRACE(c[0]);
        diagnostics_.str("");
        parse(definitions(c[1]));
        expectSuccess();
        const int line = c[1].find('\n') == std::string::npos ? 6 : 7;
        EXPECT_TRUE(reportedAt(diagnostics_.str(), ": " + c[2] + "\n", "doc.wsdl", line)) << diagnostics_.str();
    }
}

} // namespace
