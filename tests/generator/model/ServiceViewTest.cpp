// The view the emitters read: binding records matched to operations by name,
// unbound operations and missing messages passed over, look-ups by name.

#include "GeneratorTestSupport.h"
#include "generator/model/OperationWalk.h"
#include "generator/model/ValueFacets.h"

#include <iterator>

using namespace gentest;

namespace {

class ServiceViewTest : public GeneratorTest {};

TEST_F(ServiceViewTest, BindingRecordsAreMatchedByOperationName)
{
    // The binding lists the operations in another order than the port type,
    // leaves one out and gives one a header and the rpc style.
    CServiceView& v = view(schemaDocument(
        "<xsd:element name=\"Auth\" type=\"xsd:string\"/>",
        "<message name=\"H\"><part name=\"token\" element=\"tns:Auth\"/></message>"
        "<message name=\"M\"><part name=\"x\" type=\"xsd:int\"/></message>"
        "<portType name=\"P\"><operation name=\"A\"><input message=\"tns:M\"/></operation>"
        "<operation name=\"B\"><input message=\"tns:M\"/><output message=\"tns:M\"/></operation>"
        "<operation name=\"C\"><input message=\"tns:M\"/></operation></portType>\n"
        "<binding name=\"S\" type=\"tns:P\"><soap:binding style=\"document\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
        "<operation name=\"B\"><soap:operation soapAction=\"urn:b\" style=\"rpc\"/><input>"
        "<soap:header message=\"tns:H\" part=\"token\" use=\"literal\"/><soap:body use=\"literal\"/></input>"
        "<output><soap:body use=\"literal\"/></output></operation>"
        "<operation name=\"A\"><soap:operation soapAction=\"urn:a\"/><input><soap:body use=\"literal\"/></input></operation>"
        "</binding>\n"));
    ASSERT_EQ(v.portTypes().size(), 1u);
    const std::vector<CViewOperation>& ops = v.portTypes().front().operations;
    ASSERT_EQ(ops.size(), 3u);
    const struct {
        bool bound;
        int style;
        const char* action;
        bool header;
        bool output;
    } expected[] = {{true, CViewOperation::Document, "urn:a", false, false},
                    {true, CViewOperation::Rpc, "urn:b", true, true},
                    {false, CViewOperation::Document, "", false, false}};
    for (std::size_t i = 0; i < ops.size(); ++i) {
        SCOPED_TRACE(ops[i].name);
        EXPECT_EQ(ops[i].soapBound, expected[i].bound);
        EXPECT_EQ(ops[i].style, expected[i].style);
        EXPECT_EQ(ops[i].soapAction, expected[i].action);
        EXPECT_EQ(ops[i].in.header.part() != nullptr, expected[i].header);
        EXPECT_EQ(ops[i].output != nullptr, expected[i].output);
    }
    EXPECT_EQ(ops[1].in.header.part()->element, v.findElement("urn:t", "Auth"));

    std::vector<std::string> walked;
    forEachBoundMessage(v, [&](const CViewPortType&, const CViewOperation& op, int direction, const CViewDirection& side) {
        walked.push_back(std::string(op.name) + std::to_string(direction) + std::string(side.message->name));
    });
    EXPECT_EQ(walked, (std::vector<std::string>{"A0M", "B0M", "B1M"}));
}

TEST_F(ServiceViewTest, LooksUpByNamespaceAndLocalName)
{
    CServiceView& v = view(wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:a\"><xsd:complexType name=\"T\"><xsd:sequence>"
        "<xsd:element name=\"x\" type=\"xsd:int\"/></xsd:sequence></xsd:complexType>"
        "<xsd:element name=\"E\" type=\"xsd:int\"/></xsd:schema>"
        "<xsd:schema targetNamespace=\"urn:b\"><xsd:complexType name=\"T\"><xsd:sequence>"
        "<xsd:element name=\"y\" type=\"xsd:string\"/></xsd:sequence></xsd:complexType></xsd:schema></types>\n"
        "<message name=\"a.Get\"/><message name=\"b.Get\"/>"));
    const CViewType* a = v.findType("urn:a", "T");
    const CViewType* b = v.findType("urn:b", "T");
    ASSERT_TRUE(a && b);
    EXPECT_NE(a, b);
    EXPECT_EQ(a->particles.at(0).name, "x");
    EXPECT_EQ(b->particles.at(0).type.builtin, 2);
    EXPECT_NE(a->cName, b->cName);
    EXPECT_EQ(v.resolve(0, 29).user, a);
    EXPECT_EQ(v.resolve(1, 29).user, b);
    EXPECT_EQ(v.resolve(0, 4).builtin, 4);
    EXPECT_FALSE(v.resolve(5, 29).isKnown());
    EXPECT_EQ(v.findElement("urn:a", "E")->type.builtin, 4);
    EXPECT_EQ(v.findElement("urn:b", "E"), nullptr);
    // Two messages with one short name get two C names.
    ASSERT_NE(v.findMessage("a.Get"), nullptr);
    EXPECT_EQ(v.findMessage("a.Get")->shortName(), "Get");
    EXPECT_NE(v.findMessage("a.Get")->cName, v.findMessage("b.Get")->cName);
}

// Messages and port types of two documents of two namespaces, with the same
// local names: each keeps its namespace and gets a C name of its own.
TEST_F(ServiceViewTest, NamesOfSeveralWsdlNamespacesStayApart)
{
    std::string other = wsdltest::definitions("<message name=\"Req\"><part name=\"a\" type=\"xsd:int\"/></message>"
                                              "<portType name=\"P\"><operation name=\"Op\"><input message=\"tns:Req\"/>"
                                              "</operation></portType>\n");
    const std::string ours = "xmlns:tns=\"urn:t\" targetNamespace=\"urn:t\"";
    other.replace(other.find(ours), ours.size(), "xmlns:tns=\"urn:o\" targetNamespace=\"urn:o\"");
    write("other.wsdl", other);
    CServiceView& v = view(wsdltest::definitions(
        "<import namespace=\"urn:o\" location=\"other.wsdl\"/>\n"
        "<message name=\"Req\"><part name=\"b\" type=\"xsd:string\"/></message>\n"
        "<binding name=\"B\" type=\"o:P\"><soap:binding style=\"document\" "
        "transport=\"http://schemas.xmlsoap.org/soap/http\"/><operation name=\"Op\"><soap:operation soapAction=\"\"/>"
        "<input><soap:body use=\"literal\"/></input></operation></binding>\n",
        " xmlns:o=\"urn:o\""));
    const CViewMessage* theirs = v.findMessage("urn:o", "Req");
    const CViewMessage* mine = v.findMessage("urn:t", "Req");
    ASSERT_TRUE(theirs && mine);
    EXPECT_NE(theirs, mine);
    EXPECT_NE(theirs->cName, mine->cName);
    EXPECT_EQ(theirs->parts.at(0).name, "a");
    EXPECT_EQ(mine->parts.at(0).name, "b");
    ASSERT_EQ(v.portTypes().size(), 1u);
    EXPECT_EQ(v.portTypes().front().ns, "urn:o");
    ASSERT_EQ(v.portTypes().front().operations.size(), 1u);
    EXPECT_EQ(v.portTypes().front().operations.front().in.message, theirs);
    EXPECT_EQ(v.bindings().front().ns, "urn:t");
}

// Types of three schemas, two of one namespace, whose tables hand out the
// same ids: each type is read in the table of the schema that defines it,
// so every member finds the type its own schema means by that name.
TEST_F(ServiceViewTest, TypesOfSchemasSharingANamespaceResolveInTheirOwnTables)
{
    const auto complexType = [](const std::string& name, const std::string& member, const std::string& type) {
        return "<xsd:complexType name=\"" + name + "\"><xsd:sequence><xsd:element name=\"" + member + "\" type=\"" +
            type + "\"/></xsd:sequence></xsd:complexType>";
    };
    CServiceView& v = view(wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\">" + complexType("A", "a", "tns:A2") +
        complexType("A2", "n", "xsd:int") + "</xsd:schema>\n<xsd:schema targetNamespace=\"urn:t\">" +
        complexType("B", "b", "tns:C") + complexType("C", "s", "xsd:string") +
        "</xsd:schema>\n<xsd:schema targetNamespace=\"urn:u\" xmlns:u=\"urn:u\">" + complexType("A", "u", "u:D") +
        complexType("D", "d", "xsd:boolean") + "</xsd:schema></types>\n"));
    const struct {
        const char* ns;
        const char* type;
        const char* memberNs; // the namespace and name of the member's type
        const char* memberType;
    } cases[] = {
        {"urn:t", "A", "urn:t", "A2"},
        {"urn:t", "B", "urn:t", "C"},
        {"urn:u", "A", "urn:u", "D"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.ns) + " " + c.type);
        const CViewType* type = v.findType(c.ns, c.type);
        ASSERT_NE(type, nullptr);
        ASSERT_EQ(type->particles.size(), 1u);
        const CViewType* member = type->particles.front().type.user;
        ASSERT_NE(member, nullptr);
        EXPECT_EQ(member, v.findType(c.memberNs, c.memberType));
    }
    for (const char* builtIn : {"A2", "C", "D"}) {
        const CViewType* type = v.findType(builtIn[0] == 'D' ? "urn:u" : "urn:t", builtIn);
        ASSERT_NE(type, nullptr) << builtIn;
        ASSERT_EQ(type->particles.size(), 1u) << builtIn;
        EXPECT_NE(type->particles.front().type.builtin, 0) << builtIn;
    }
}

// A schema may import one namespace from several files: m.xsd imports urn:c
// from c1.xsd (which includes c2.xsd), and from c2.xsd alone through the file
// it includes and the schema it imports. A type extending a base of c1.xsd
// keeps the members of the base and of its base, though the namespace's
// import record names the file imported last.
TEST_F(ServiceViewTest, BasesFromEachFileOfAnImportedNamespaceAreInherited)
{
    const auto schemaFile = [](const std::string& ns, const std::string& body) {
        return "<xsd:schema xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" targetNamespace=\"" + ns +
            "\" xmlns:c=\"urn:c\" elementFormDefault=\"qualified\">" + body + "</xsd:schema>";
    };
    write("c/c1.xsd", schemaFile("urn:c", "<xsd:include schemaLocation=\"c2.xsd\"/><xsd:complexType name=\"BaseReq\">"
                                          "<xsd:complexContent><xsd:extension base=\"c:BaseCoreReq\"><xsd:sequence>"
                                          "<xsd:element name=\"Pcc\" type=\"xsd:string\"/></xsd:sequence>"
                                          "</xsd:extension></xsd:complexContent></xsd:complexType>"
                                          "<xsd:complexType name=\"BaseCoreReq\"><xsd:sequence>"
                                          "<xsd:element ref=\"c:Billing\"/></xsd:sequence>"
                                          "<xsd:attribute name=\"TraceId\" type=\"xsd:string\"/></xsd:complexType>"));
    write("c/c2.xsd", schemaFile("urn:c", "<xsd:complexType name=\"Other\"><xsd:sequence><xsd:element name=\"o\" "
                                          "type=\"xsd:int\"/></xsd:sequence></xsd:complexType>"
                                          "<xsd:element name=\"Billing\" type=\"xsd:string\"/>"));
    write("r/r.xsd", schemaFile("urn:r", "<xsd:import namespace=\"urn:c\" schemaLocation=\"../c/c2.xsd\"/>"));
    write("m/m2.xsd", schemaFile("urn:t", "<xsd:import namespace=\"urn:c\" schemaLocation=\"../c/c2.xsd\"/>"));
    write("m/m.xsd", schemaFile("urn:t", "<xsd:import namespace=\"urn:c\" schemaLocation=\"../c/c1.xsd\"/>"
                                         "<xsd:import namespace=\"urn:r\" schemaLocation=\"../r/r.xsd\"/>"
                                         "<xsd:include schemaLocation=\"m2.xsd\"/><xsd:complexType name=\"Req\">"
                                         "<xsd:complexContent><xsd:extension base=\"c:BaseReq\"><xsd:sequence>"
                                         "<xsd:element name=\"own\" type=\"c:Other\"/></xsd:sequence>"
                                         "</xsd:extension></xsd:complexContent></xsd:complexType>"
                                         "<xsd:element name=\"ReqIn\" type=\"tns:Req\" xmlns:tns=\"urn:t\"/>"));
    CServiceView& v = view(wsdltest::definitions("<types><xsd:schema targetNamespace=\"urn:w\">"
                                                 "<xsd:import namespace=\"urn:t\" schemaLocation=\"m/m.xsd\"/>"
                                                 "</xsd:schema></types>\n"
                                                 "<message name=\"In\"><part name=\"p\" element=\"tns:ReqIn\"/></message>"));
    const CViewType* req = v.findType("urn:t", "Req");
    ASSERT_NE(req, nullptr);
    std::vector<std::string> members;
    for (const auto& particle : req->particles)
        members.emplace_back(particle.name);
    for (const auto& attribute : req->attributes)
        members.emplace_back(attribute.name);
    EXPECT_EQ(members, (std::vector<std::string>{"Billing", "Pcc", "own", "TraceId"}));
}

// The view outlives the model it was read from: every name it holds, and
// every C name it works out, is its own copy, so reading them after the
// parser is gone finds the document's names (a name left pointing into the
// model, or into a string made while working C names out, reads freed memory).
TEST_F(ServiceViewTest, NamesStayReadableOnceTheModelIsGone)
{
    parse(schemaDocument(
        "<xsd:complexType name=\"Order\"><xsd:sequence><xsd:element name=\"quantityOrdered\" type=\"xsd:int\"/>"
        "</xsd:sequence><xsd:attribute name=\"currencyOfThePrice\" type=\"xsd:string\"/></xsd:complexType>"
        "<xsd:element name=\"PlaceTheOrderRequest\" type=\"tns:Order\"/>",
        "<message name=\"PlaceTheOrderMessage\"><part name=\"theOrderItself\" element=\"tns:PlaceTheOrderRequest\"/>"
        "</message><portType name=\"P\"><operation name=\"PlaceTheOrderNow\"><input message=\"tns:PlaceTheOrderMessage\"/>"
        "</operation></portType>\n"));
    ASSERT_FALSE(parser_->hasError()) << diagnostics_.str();
    CServiceView v = readServiceView(std::move(parser_));
    const CViewType* order = v.findType("urn:t", "Order");
    const CViewMessage* message = v.findMessage("PlaceTheOrderMessage");
    ASSERT_TRUE(order && message && v.portTypes().size() == 1);
    ASSERT_TRUE(order->particles.size() == 1 && order->attributes.size() == 1 && message->parts.size() == 1);
    ASSERT_TRUE(message->parts[0].element != nullptr);
    const struct {
        std::string_view held;
        const char* expected;
    } names[] = {
        {order->name, "Order"},
        {order->particles[0].name, "quantityOrdered"},
        {order->attributes[0].name, "currencyOfThePrice"},
        {message->name, "PlaceTheOrderMessage"},
        {message->parts[0].name, "theOrderItself"},
        {message->parts[0].element->name, "PlaceTheOrderRequest"},
        {v.portTypes().front().operations.at(0).name, "PlaceTheOrderNow"},
        {order->cName, "Order"},
        {message->cName, "PlaceTheOrderMessage"},
        {message->parts[0].cName, "PlaceTheOrderRequest"},
        {message->parts[0].element->cName, "PlaceTheOrderRequest"},
        {v.portTypes().front().operations.at(0).cName, "PlaceTheOrderNow"},
    };
    for (const auto& name : names)
        EXPECT_EQ(name.held, name.expected);
}

// A parser given up lets its schemas go before the bindings are read: the
// view is the same as that of a parser kept, headers, element parts and the
// bindings of both SOAP versions included.
TEST_F(ServiceViewTest, AParserGivenUpGivesTheViewOfOneKept)
{
    const std::string document = wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\">"
        "<xsd:element name=\"Auth\" type=\"xsd:string\"/>"
        "<xsd:complexType name=\"Pair\"><xsd:sequence><xsd:element name=\"a\" type=\"xsd:int\"/>"
        "</xsd:sequence></xsd:complexType><xsd:element name=\"Order\" type=\"tns:Pair\"/></xsd:schema></types>\n"
        "<message name=\"H\"><part name=\"token\" element=\"tns:Auth\"/></message>"
        "<message name=\"M\"><part name=\"o\" element=\"tns:Order\"/></message>"
        "<message name=\"R\"><part name=\"p\" type=\"tns:Pair\"/></message>"
        "<portType name=\"P\"><operation name=\"Put\"><input message=\"tns:M\"/><output message=\"tns:R\"/>"
        "</operation></portType>\n"
        "<binding name=\"S\" type=\"tns:P\"><soap:binding style=\"document\" "
        "transport=\"http://schemas.xmlsoap.org/soap/http\"/><operation name=\"Put\">"
        "<soap:operation soapAction=\"urn:put\"/><input><soap:header message=\"tns:H\" part=\"token\" "
        "use=\"literal\"/><soap:body use=\"literal\"/></input><output><soap:body use=\"literal\"/></output>"
        "</operation></binding>\n"
        "<binding name=\"S12\" type=\"tns:P\"><soap12:binding style=\"document\" "
        "transport=\"http://schemas.xmlsoap.org/soap/http\"/><operation name=\"Put\">"
        "<soap12:operation soapAction=\"urn:put12\"/><input><soap12:body use=\"literal\"/></input>"
        "<output><soap12:body use=\"literal\"/></output></operation></binding>\n",
        " xmlns:soap12=\"http://schemas.xmlsoap.org/wsdl/soap12/\"");
    const auto summary = [](CServiceView& v) {
        std::string text;
        for (const CViewPortType& portType : v.portTypes()) {
            for (const CViewOperation& op : portType.operations) {
                text += std::string(op.cName) + " " + std::string(op.soapAction) + " v" +
                    std::to_string(op.soapVersion) + " in:" + std::string(op.input->cName) +
                    " out:" + std::string(op.output->cName);
                if (const CViewPart* header = op.in.header.part())
                    text += " header:" + std::string(header->element->cName);
                text += ";";
            }
        }
        for (const char* name : {"M", "R", "H"}) {
            const CViewMessage* message = v.findMessage(name);
            for (const CViewPart& part : message->parts)
                text += std::string(part.cName) + (part.element ? " element " : " type ") +
                    std::string(part.type.user ? part.type.user->cName : "builtin") + ";";
        }
        return text;
    };
    parse(document);
    ASSERT_FALSE(parser_->hasError()) << diagnostics_.str();
    CServiceView kept = readServiceView(*parser_);
    parse(document);
    ASSERT_FALSE(parser_->hasError()) << diagnostics_.str();
    CServiceView givenUp = readServiceView(std::move(parser_));
    ASSERT_EQ(givenUp.portTypes().size(), 2u);
    EXPECT_NE(summary(kept).find("header:Auth"), std::string::npos) << summary(kept);
    EXPECT_EQ(summary(givenUp), summary(kept));
}

// A type holds facets of its own only when its schema gives it some; the
// facets that bound a value are still gathered along its restrictions.
TEST_F(ServiceViewTest, FacetsAreHeldByTheTypesThatHaveThem)
{
    parse(schemaDocument(
        "<xsd:simpleType name=\"Code\"><xsd:restriction base=\"xsd:string\"><xsd:maxLength value=\"8\"/>"
        "<xsd:pattern value=\"[A-Z]+\"/></xsd:restriction></xsd:simpleType>"
        "<xsd:simpleType name=\"SameCode\"><xsd:restriction base=\"tns:Code\"/></xsd:simpleType>"
        "<xsd:simpleType name=\"LongCode\"><xsd:restriction base=\"tns:SameCode\"><xsd:minLength value=\"2\"/>"
        "</xsd:restriction></xsd:simpleType>"
        "<xsd:simpleType name=\"Colour\"><xsd:restriction base=\"xsd:string\"><xsd:enumeration value=\"red\"/>"
        "</xsd:restriction></xsd:simpleType>"
        "<xsd:complexType name=\"Box\"><xsd:sequence><xsd:element name=\"c\" type=\"tns:LongCode\"/>"
        "</xsd:sequence></xsd:complexType>"));
    ASSERT_FALSE(parser_->hasError()) << diagnostics_.str();
    CServiceView v = readServiceView(std::move(parser_));
    const struct {
        const char* type;
        bool own;
        int minLength, maxLength;
        const char* pattern;
    } rows[] = {
        {"Code", true, -1, 8, "[A-Z]+"},
        {"SameCode", false, -1, 8, "[A-Z]+"},
        {"LongCode", true, 2, 8, "[A-Z]+"},
        {"Colour", false, -1, -1, ""},
        {"Box", false, -1, -1, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.type);
        const CViewType* type = v.findType("urn:t", row.type);
        ASSERT_NE(type, nullptr);
        EXPECT_EQ(type->facets != nullptr, row.own);
        CTypeRef ref;
        ref.user = type;
        const CValueFacets facets = valueFacets(ref, false);
        EXPECT_EQ(facets.minLength, row.minLength);
        EXPECT_EQ(facets.maxLength, row.maxLength);
        EXPECT_EQ(facets.pattern, row.pattern);
    }
}

// Look-ups between additions: an entity added after a look-up is found by
// the next one, and the first of two with one name stays the one found.
TEST(ServiceViewByHand, LookUpsFindEntitiesAddedAfterEarlierLookUps)
{
    CServiceView v;
    v.addSchema("urn:h");
    const CViewType& first = v.addType("urn:h", "T");
    const CViewMessage& request = v.addMessage("a.Req", "urn:h");
    EXPECT_EQ(v.findType("urn:h", "T"), &first);
    EXPECT_EQ(v.findType("urn:h", "U"), nullptr);
    EXPECT_EQ(v.findMessage("a.Req"), &request);
    const CViewType& again = v.addType("urn:h", "T");
    const CViewType& later = v.addType("urn:h", "U");
    const CViewElement& element = v.addElement("urn:h", "E", CTypeRef{0, &later}, 0);
    v.addElement("urn:h", "F", CTypeRef{0, &later}, 0);
    const CViewMessage& response = v.addMessage("a.Resp", "urn:h");
    v.addMessage("a.Req", "urn:other");
    const struct {
        const void* found;
        const void* expected;
    } cases[] = {
        {v.findType("urn:h", "T"), &first},
        {v.findType("urn:h", "U"), &later},
        {v.findType("urn:x", "U"), nullptr},
        {v.findElement("urn:h", "E"), &element},
        {v.findMessage("a.Resp"), &response},
        {v.findMessage("a.Req"), &request},
        {v.findMessage("urn:h", "a.Resp"), &response},
        {v.findMessage("urn:other", "a.Req"), &v.messages().back()},
        {v.firstElementOfType(&later), &element},
        {v.firstElementOfType(&again), nullptr},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].found, cases[i].expected) << "case " << i;
}

TEST(ServiceViewByHand, StructsOfAViewBuiltByHand)
{
    CServiceView v;
    CViewSchema& schema = v.addSchema("urn:h");
    CViewType& point = v.addType("urn:h", "Point");
    point.contentKind = 2;
    point.hasContentModel = true;
    CViewParticle x;
    x.name = "x";
    x.type = CTypeRef{14, nullptr};
    point.particles.push_back(x);
    schema.types.push_back(&point);
    v.addElement("urn:h", "origin", CTypeRef{0, &point}, 0);
    v.assignNames();
    CProjectRecord project;
    project.name = "geo";
    const CEmitContext context(project, v);
    CTextBuffer header;
    writeHeaderStructs(context, header);
    EXPECT_NE(header.text().find("typedef struct geo_origin_t{\r\n\tdouble\tx;\r\n}geo_origin_t,geo_Point_t;\r\n"),
              std::string::npos)
        << header.text();
}

// A message's name must be free as a message and, with "_msg", as a
// struct; a taken one gets the first "_2", "_3" ... free in both, over more
// messages than the names worked out ahead of them.
TEST(ServiceViewNames, MessageNamesAreFreeAsMessagesAndAsStructs)
{
    const struct {
        const char* name;
        const char* ns;
        const char* expected;
    } cases[] = {
        {"M0", "urn:a", "M0"},
        {"M1_msg", "urn:a", "M1_msg"},   // its struct "M1_msg_msg" is free
        {"M1", "urn:a", "M1_2"},         // "M1_msg" is the type's struct
        {"http_msg", "urn:a", "http_msg_2"}, // the packet's own member
        {"M2", "urn:a", "M2"},
        {"M2", "urn:b", "M2_2"},
        {"M2", "urn:c", "M2_3"},
        {"M2_2", "urn:a", "M2_2_2"},
        {"a.M3", "urn:a", "M3"},
        {"M-4", "urn:a", "M_4"},
        {"M_4", "urn:a", "M_4_2"},
        {"soap_fault", "urn:a", "soap_fault_2"},
        {"M5", "urn:a", "M5"},
        {"Taken", "urn:a", "Taken_2"}, // "Taken_msg" is an element's struct
    };
    CServiceView view;
    view.addType("urn:a", "M1_msg");
    view.addElement("urn:a", "Taken_msg", CTypeRef{}, -1);
    for (const auto& c : cases)
        view.addMessage(c.name, c.ns);
    // A short name that stands many times takes the suffixes in turn.
    const std::size_t repeated = 200;
    for (std::size_t i = 0; i < repeated; ++i)
        view.addMessage("d" + std::to_string(i) + ".M0", "urn:d");
    view.assignNames();
    std::size_t position = 0;
    for (const CViewMessage& message : view.messages()) {
        const std::string expected = position < std::size(cases)
            ? cases[position].expected
            : "M0_" + std::to_string(position - std::size(cases) + 2);
        EXPECT_EQ(message.cName, expected) << message.name;
        ++position;
    }
    EXPECT_EQ(position, std::size(cases) + repeated);
}

// The SOAP 1.2 binding is read as the SOAP 1.1 one is. A port type bound
// by both versions stands twice, the second time for SOAP 1.2 with C names
// of their own; one bound by SOAP 1.2 alone keeps its plain names.
TEST_F(ServiceViewTest, Soap12BindingsAreReadBesideSoap11Ones)
{
    const std::string soap12 = " xmlns:soap12=\"http://schemas.xmlsoap.org/wsdl/soap12/\"";
    const std::string types = "<types><xsd:schema targetNamespace=\"urn:t\"><xsd:element name=\"Get\" type=\"xsd:int\"/>"
                              "<xsd:element name=\"Got\" type=\"xsd:string\"/></xsd:schema></types>\n"
                              "<message name=\"In\"><part name=\"p\" element=\"tns:Get\"/></message>"
                              "<message name=\"Out\"><part name=\"p\" element=\"tns:Got\"/></message>"
                              "<message name=\"H\"><part name=\"h\" type=\"xsd:string\"/></message>"
                              "<portType name=\"P\"><operation name=\"Get\"><input message=\"tns:In\"/>"
                              "<output message=\"tns:Out\"/></operation></portType>\n";
    const auto binding = [](const std::string& name, const std::string& prefix, const std::string& style) {
        return "<binding name=\"" + name + "\" type=\"tns:P\"><" + prefix + ":binding style=\"" + style +
            "\" transport=\"http://schemas.xmlsoap.org/soap/http\"/><operation name=\"Get\"><" + prefix +
            ":operation soapAction=\"urn:" + name + "\" soapActionRequired=\"false\"/><input><" + prefix +
            ":header message=\"tns:H\" part=\"h\" use=\"literal\"/><" + prefix + ":body use=\"literal\"/></input><output><" +
            prefix + ":body use=\"literal\"/></output></operation></binding>\n";
    };
    const auto port = [](const std::string& name, const std::string& prefix) {
        return "<port name=\"" + name + "Port\" binding=\"tns:" + name + "\"><" + prefix +
            ":address location=\"http://h/" + name + "\"/></port>";
    };
    // The 1.1 attribute soapActionRequired is no part of the SOAP 1.1 binding.
    std::string soap11Binding = binding("B11", "soap", "document");
    soap11Binding.erase(soap11Binding.find(" soapActionRequired=\"false\""), 27);
    struct Expected {
        const char* binding;
        int version;
        bool second;
        int style;
        const char* cName;
    };
    const struct Case {
        const char* name;
        std::string document;
        std::vector<Expected> portTypes;
        std::vector<const char*> addresses;
    } cases[] = {
        {"SOAP 1.2 only",
         wsdltest::definitions(types + binding("B12", "soap12", "rpc") + "<service name=\"S\">" + port("B12", "soap12") +
                                   "</service>\n",
                               soap12),
         {{"B12", 12, false, CViewOperation::Rpc, "Get"}},
         {"http://h/B12"}},
        {"SOAP 1.2 before SOAP 1.1",
         wsdltest::definitions(types + binding("B12", "soap12", "document") + soap11Binding + "<service name=\"S\">" +
                                   port("B12", "soap12") + port("B11", "soap") + "</service>\n",
                               soap12),
         {{"B11", 11, false, CViewOperation::Document, "Get"}, {"B12", 12, true, CViewOperation::Document, "Get_soap12"}},
         {"http://h/B12", "http://h/B11"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CServiceView& v = view(c.document);
        EXPECT_EQ(diagnostics_.str(), "");
        ASSERT_EQ(v.portTypes().size(), c.portTypes.size());
        for (std::size_t i = 0; i < c.portTypes.size(); ++i) {
            const CViewPortType& portType = v.portTypes()[i];
            const Expected& expected = c.portTypes[i];
            ASSERT_NE(portType.soapBinding, nullptr);
            EXPECT_EQ(portType.soapBinding->name, expected.binding);
            EXPECT_EQ(portType.soapBinding->soapVersion, expected.version);
            EXPECT_EQ(portType.secondVersion, expected.second);
            ASSERT_EQ(portType.operations.size(), 1u);
            const CViewOperation& operation = portType.operations.front();
            EXPECT_TRUE(operation.soapBound);
            EXPECT_EQ(operation.soapVersion, expected.version);
            EXPECT_EQ(operation.style, expected.style);
            EXPECT_EQ(operation.soapAction, std::string("urn:") + expected.binding);
            EXPECT_EQ(operation.cName, expected.cName);
            ASSERT_NE(operation.in.header.part(), nullptr);
            EXPECT_EQ(operation.in.header.part()->name, "h");
        }
        ASSERT_EQ(v.services().size(), 1u);
        for (const CViewService::Port& p : v.services().front().ports)
            EXPECT_EQ(p.address, c.addresses.at(&p - v.services().front().ports.data()));
    }
}

// A port type bound by SOAP 1.1 and SOAP 1.2 is read twice; the second
// reading holds the texts that are the same as the first's (operation
// names, actions) as views of the first's copies, and an input Action taken
// from the soapAction as a view of that, so that a service of thousands of
// operations keeps each text once. Texts that differ stay each their own.
TEST_F(ServiceViewTest, APortTypeReadForItsSecondBindingSharesTheTextsItRepeats)
{
    const std::string namespaces = " xmlns:soap12=\"http://schemas.xmlsoap.org/wsdl/soap12/\""
                                   " xmlns:wsaw=\"http://www.w3.org/2006/05/addressing/wsdl\"";
    const std::string messages = "<types><xsd:schema targetNamespace=\"urn:t\"><xsd:element name=\"E\" type=\"xsd:int\"/>"
                                 "</xsd:schema></types>\n<message name=\"M\"><part name=\"p\" element=\"tns:E\"/></message>";
    // Two operations, so that each reading pairs an operation with its own twin.
    const auto portType = [](const std::string& inputAction) {
        std::string text = "<portType name=\"P\">";
        for (const char* name : {"Get", "Put"})
            text += std::string("<operation name=\"") + name + "\"><input message=\"tns:M\"" + inputAction +
                "/><output message=\"tns:M\"/></operation>";
        return text + "</portType>\n";
    };
    const auto binding = [](const std::string& prefix, const std::string& actionOfGet, const std::string& actionOfPut) {
        std::string text = "<binding name=\"B" + prefix + "\" type=\"tns:P\"><" + prefix + ":binding style=\"document\" "
                           "transport=\"http://schemas.xmlsoap.org/soap/http\"/>";
        for (const auto& [name, action] : {std::pair(std::string("Get"), actionOfGet), std::pair(std::string("Put"), actionOfPut)})
            text += "<operation name=\"" + name + "\"><" + prefix + ":operation soapAction=\"" + action + "\"/><input><" +
                prefix + ":body use=\"literal\"/></input><output><" + prefix + ":body use=\"literal\"/></output></operation>";
        return text + "</binding>\n";
    };
    struct Expected {
        const char* soapAction[2];  // Get's, Put's: first binding, then second
        const char* soap12Action[2];
        const char* inputAction[2]; // of the second reading; the first's alike where the soapActions are
        bool soapActionShared;
    };
    const struct {
        const char* name;
        std::string document;
        Expected expected;
    } cases[] = {
        {"the same soapActions",
         wsdltest::definitions(messages + portType("") + binding("soap", "urn:g", "urn:p") + binding("soap12", "urn:g", "urn:p"),
                               namespaces),
         {{"urn:g", "urn:p"}, {"urn:g", "urn:p"}, {"urn:g", "urn:p"}, true}},
        {"soapActions of each binding",
         wsdltest::definitions(messages + portType("") + binding("soap", "urn:g", "urn:p") +
                                   binding("soap12", "urn:g12", "urn:p12"),
                               namespaces),
         {{"urn:g", "urn:p"}, {"urn:g12", "urn:p12"}, {"urn:g12", "urn:p12"}, false}},
        {"no soapActions: the default input Actions",
         wsdltest::definitions(messages + portType("") + binding("soap", "", "") + binding("soap12", "", ""), namespaces),
         {{"", ""}, {"", ""}, {"urn:t:P:GetRequest", "urn:t:P:PutRequest"}, true}},
        {"input Actions of the port type",
         wsdltest::definitions(messages + portType(" wsaw:Action=\"urn:in\"") + binding("soap", "urn:g", "urn:p") +
                                   binding("soap12", "urn:g12", "urn:p12"),
                               namespaces),
         {{"urn:g", "urn:p"}, {"urn:g12", "urn:p12"}, {"urn:in", "urn:in"}, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CServiceView& v = view(c.document);
        EXPECT_EQ(diagnostics_.str(), "");
        ASSERT_EQ(v.portTypes().size(), 2u);
        const CViewPortType& first = v.portTypes()[0];
        const CViewPortType& second = v.portTypes()[1];
        ASSERT_TRUE(second.secondVersion);
        ASSERT_EQ(first.operations.size(), 2u);
        ASSERT_EQ(second.operations.size(), 2u);
        for (std::size_t i = 0; i < 2; ++i) {
            SCOPED_TRACE(i);
            const CViewOperation& one = first.operations[i];
            const CViewOperation& two = second.operations[i];
            EXPECT_EQ(one.name, i == 0 ? "Get" : "Put");
            EXPECT_EQ(two.name, one.name);
            EXPECT_EQ(two.name.data(), one.name.data());
            EXPECT_EQ(one.soapAction, c.expected.soapAction[i]);
            EXPECT_EQ(two.soapAction, c.expected.soap12Action[i]);
            if (!one.soapAction.empty())
                EXPECT_EQ(two.soapAction.data() == one.soapAction.data(), c.expected.soapActionShared);
            EXPECT_EQ(two.inputAction, c.expected.inputAction[i]);
            if (!two.soapAction.empty() && two.inputAction == two.soapAction)
                EXPECT_EQ(two.inputAction.data(), two.soapAction.data());
            if (two.inputAction == one.inputAction)
                EXPECT_EQ(two.inputAction.data(), one.inputAction.data());
            EXPECT_EQ(one.outputAction, std::string("urn:t:P:") + (i == 0 ? "Get" : "Put") + "Response");
            EXPECT_EQ(two.outputAction.data(), one.outputAction.data());
        }
    }
}

} // namespace
