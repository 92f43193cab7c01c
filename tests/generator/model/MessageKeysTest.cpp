// The message keys of each bound operation's request and response, found
// by the operation's place in its port type, across several port types.

#include "GeneratorTestSupport.h"
#include "generator/model/MessageKeys.h"

using namespace gentest;

namespace {

class MessageKeysTest : public GeneratorTest {};

std::string keyList(const CKeysOfUse& keys)
{
    std::string list;
    for (const CMessageKey* key : keys)
        list += (list.empty() ? "" : ",") + std::string(key->key);
    return list;
}

std::string binding(const std::string& name, const std::string& portType, const std::string& operations)
{
    return "<binding name=\"" + name + "\" type=\"tns:" + portType +
           "\"><soap:binding style=\"document\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>" + operations +
           "</binding>\n";
}

std::string boundOperation(const std::string& name, const std::string& style = "document")
{
    return "<operation name=\"" + name + "\"><soap:operation soapAction=\"urn:" + name + "\" style=\"" + style +
           "\"/><input><soap:body use=\"literal\"/></input><output><soap:body use=\"literal\"/></output></operation>";
}

TEST_F(MessageKeysTest, EachUseFindsItsOwnKeysInPartOrder)
{
    // P holds a two-part request, a one-way and an rpc operation; Q, bound
    // after an unbound port type and an empty one, shares P's element A.
    const CServiceView& v = view(schemaDocument(
        "<xsd:element name=\"A\" type=\"xsd:int\"/><xsd:element name=\"B\" type=\"xsd:int\"/>"
        "<xsd:element name=\"C\" type=\"xsd:int\"/>",
        "<message name=\"AB\"><part name=\"a\" element=\"tns:A\"/><part name=\"b\" element=\"tns:B\"/></message>"
        "<message name=\"MA\"><part name=\"a\" element=\"tns:A\"/></message>"
        "<message name=\"MC\"><part name=\"c\" element=\"tns:C\"/></message>"
        "<message name=\"R\"><part name=\"x\" type=\"xsd:int\"/></message>"
        "<portType name=\"P\"><operation name=\"Two\"><input message=\"tns:AB\"/><output message=\"tns:MC\"/></operation>"
        "<operation name=\"One\"><input message=\"tns:MC\"/></operation>"
        "<operation name=\"Rpc\"><input message=\"tns:R\"/><output message=\"tns:R\"/></operation></portType>\n"
        "<portType name=\"Unbound\"><operation name=\"U\"><input message=\"tns:MA\"/></operation></portType>\n"
        "<portType name=\"Empty\"/>\n"
        "<portType name=\"Q\"><operation name=\"Shared\"><input message=\"tns:MA\"/><output message=\"tns:AB\"/></operation>"
        "</portType>\n" +
            binding("PB", "P", boundOperation("Two") + boundOperation("One") + boundOperation("Rpc", "rpc")) +
            binding("QB", "Q", boundOperation("Shared"))));
    const CMessageKeys keys(v);
    ASSERT_EQ(v.portTypes().size(), 4u);
    const struct {
        std::size_t portType;
        std::size_t operation;
        int direction;
        const char* keys;
    } cases[] = {
        {0, 0, 0, "A,B"}, {0, 0, 1, "C"}, {0, 1, 0, "C"}, {0, 1, 1, ""},        {0, 2, 0, "Rpc"},
        {0, 2, 1, "RpcResponse"},         {1, 0, 0, ""},  {1, 0, 1, ""},        {3, 0, 0, "A"},
        {3, 0, 1, "A,B"},
    };
    for (const auto& c : cases) {
        const CViewOperation& op = v.portTypes()[c.portType].operations[c.operation];
        SCOPED_TRACE(std::string(op.name) + " " + std::to_string(c.direction));
        EXPECT_EQ(keyList(keys.keysOf(op, c.direction)), c.keys);
    }
    // Keys are numbered by their place in the list; a use shares the key of
    // an element met before.
    for (std::size_t i = 0; i < keys.keys().size(); ++i)
        EXPECT_EQ(keys.keys()[i].index, i);
    EXPECT_EQ(keys.keysOf(v.portTypes()[3].operations[0], 0).front(),
              keys.keysOf(v.portTypes()[0].operations[0], 0).front());
}

TEST_F(MessageKeysTest, AnOperationOutsideTheViewHasNoKeys)
{
    const CServiceView& v = view(schemaDocument(
        "<xsd:element name=\"A\" type=\"xsd:int\"/>",
        "<message name=\"MA\"><part name=\"a\" element=\"tns:A\"/></message>"
        "<portType name=\"P\"><operation name=\"Op\"><input message=\"tns:MA\"/><output message=\"tns:MA\"/></operation>"
        "</portType>\n" +
            binding("PB", "P", boundOperation("Op"))));
    const CMessageKeys keys(v);
    const CViewOperation& inView = v.portTypes()[0].operations[0];
    const CViewOperation copy = inView;
    const CViewOperation other;
    for (const CViewOperation* op : {&copy, &other}) {
        for (int direction = 0; direction < 2; ++direction)
            EXPECT_TRUE(keys.keysOf(*op, direction).empty());
    }
    EXPECT_EQ(keyList(keys.keysOf(inView, 1)), "A");
}

// Each key's id is its name upper-cased, kept apart from the fixed kinds'
// and from each other's by a number, whatever the name's length; the ids
// stay the keys' own however many keys follow.
TEST_F(MessageKeysTest, EachKeyHasAnIdOfItsOwn)
{
    const CServiceView& v = view(schemaDocument(
        "<xsd:element name=\"a\" type=\"xsd:int\"/><xsd:element name=\"A\" type=\"xsd:int\"/>"
        "<xsd:element name=\"http\" type=\"xsd:int\"/><xsd:element name=\"aVeryVeryLongElementName\" type=\"xsd:int\"/>",
        "<message name=\"Ma\"><part name=\"p\" element=\"tns:a\"/></message>"
        "<message name=\"MA\"><part name=\"p\" element=\"tns:A\"/></message>"
        "<message name=\"Mh\"><part name=\"p\" element=\"tns:http\"/></message>"
        "<message name=\"ML\"><part name=\"p\" element=\"tns:aVeryVeryLongElementName\"/></message>"
        "<message name=\"R\"><part name=\"x\" type=\"xsd:int\"/></message><message name=\"None\"/>"
        "<portType name=\"P\"><operation name=\"One\"><input message=\"tns:Ma\"/><output message=\"tns:MA\"/></operation>"
        "<operation name=\"Two\"><input message=\"tns:Mh\"/><output message=\"tns:ML\"/></operation>"
        "<operation name=\"Rpc\"><input message=\"tns:R\"/><output message=\"tns:R\"/></operation>"
        "<operation name=\"Bare\"><input message=\"tns:None\"/><output message=\"tns:None\"/></operation></portType>\n" +
            binding("PB", "P",
                    boundOperation("One") + boundOperation("Two") + boundOperation("Rpc", "rpc") + boundOperation("Bare"))));
    const CMessageKeys keys(v);
    const struct {
        const char* key;
        const char* id;
    } expected[] = {{"a", "A"},           {"A", "A_2"},
                    {"http", "HTTP_2"},   {"aVeryVeryLongElementName", "AVERYVERYLONGELEMENTNAME"},
                    {"Rpc", "RPC"},       {"RpcResponse", "RPC_RESPONSE"},
                    {"#Bare", "BARE"},    {"#BareResponse", "BARE_RESPONSE"}};
    ASSERT_EQ(keys.keys().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].key);
        EXPECT_EQ(keys.keys()[i].key, expected[i].key);
        EXPECT_EQ(keys.keys()[i].id, expected[i].id);
    }
}

} // namespace
