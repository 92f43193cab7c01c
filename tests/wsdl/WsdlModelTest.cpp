#include "wsdl/Binding.h"
#include "schema/Element.h"
#include "wsdl/Message.h"
#include "wsdl/Operation.h"
#include "wsdl/PortType.h"
#include "schema/QualifiedName.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace Wsdl;

namespace {

std::unique_ptr<Message> makeMessage(const std::string& name)
{
    auto message = std::make_unique<Message>(nullptr);
    message->setName(name);
    return message;
}

Schema::Element declaration(const std::string& name, int typeId)
{
    return Schema::Element(name, Schema::SharedText("urn:test"), typeId, 1, 1, true, "", "");
}

// ---- Operation -----------------------------------------------------------

struct TransitionCase {
    const char* sequence; // 'i' input, 'o' output, 'f' fault, in call order
    int type;
};

TEST(WsdlOperation, TypeFollowsTheOrderOfInputAndOutput)
{
    const TransitionCase cases[] = {
        {"", Operation::None},
        {"i", Operation::OneWay},
        {"o", Operation::Notification},
        {"io", Operation::RequestResponse},
        {"oi", Operation::SolicitResponse},
        {"iof", Operation::RequestResponse},
        {"ifo", Operation::RequestResponse},
        {"f", Operation::None},
        {"ii", Operation::None},
        {"oo", Operation::None},
        {"ioi", Operation::None},
        {"ioo", Operation::None},
        {"oio", Operation::None},
        {"oii", Operation::None},
        {"iii", Operation::OneWay}, // an invalid sequence starts over
    };
    const std::unique_ptr<Message> in = makeMessage("In");
    const std::unique_ptr<Message> out = makeMessage("Out");
    const std::unique_ptr<Message> fault = makeMessage("Fault");
    for (const TransitionCase& c : cases) {
        SCOPED_TRACE(std::string("sequence \"") + c.sequence + "\"");
        Operation op(nullptr, nullptr);
        const std::string sequence = c.sequence;
        for (char step : sequence) {
            if (step == 'i')
                op.setMessage(in.get(), Operation::Input);
            else if (step == 'o')
                op.setMessage(out.get(), Operation::Output);
            else
                op.setMessage(fault.get(), Operation::Fault);
        }
        EXPECT_EQ(c.type, op.getType());
        EXPECT_EQ(sequence.find('i') != std::string::npos ? in.get() : nullptr, op.getInput());
        EXPECT_EQ(sequence.find('o') != std::string::npos ? out.get() : nullptr, op.getOutput());
        EXPECT_EQ(sequence.find('f') != std::string::npos, op.getFaults() != nullptr);
    }
}

TEST(WsdlOperation, FaultsAreListedInOrderAndNotOwned)
{
    const std::unique_ptr<Message> first = makeMessage("First");
    const std::unique_ptr<Message> second = makeMessage("Second");
    {
        auto op = std::make_unique<Operation>(nullptr, nullptr);
        op->setMessage(first.get(), Operation::Fault);
        op->setMessage(second.get(), Operation::Fault);
        op->setMessage(first.get(), Operation::Fault);
        ASSERT_NE(nullptr, op->getFaults());
        const std::vector<Message*> faults(op->getFaults()->begin(), op->getFaults()->end());
        EXPECT_EQ((std::vector<Message*>{first.get(), second.get(), first.get()}), faults);
    }
    // Deleting the operation released its list only; the sanitizers would
    // report a message freed twice or used after free.
    EXPECT_EQ("First", first->getName());
    EXPECT_EQ("Second", second->getName());
}

// ---- PortType ------------------------------------------------------------

// What each message of an operation says for WS-Addressing is read back as
// set, whatever the order, and an operation that says nothing reads empty.
TEST(WsdlOperation, KeepsWhatEachMessageSaysForAddressing)
{
    struct Set {
        int kind;
        const char* name;
        const char* action;
    };
    struct Row {
        std::vector<Set> sets;
        std::string input, inputAction, output, outputAction;
        std::vector<std::string> faults; // "name|action" each
    };
    const Row rows[] = {
        {{}, "", "", "", "", {}},
        {{{Operation::Input, "", ""}, {Operation::Output, "", ""}}, "", "", "", "", {}},
        {{{Operation::Output, "r", "urn:r"}}, "", "", "r", "urn:r", {}},
        {{{Operation::Input, "q", ""}, {Operation::Output, "", "urn:r"}}, "q", "", "", "urn:r", {}},
        // A fault saying nothing still holds its place among the faults.
        {{{Operation::Fault, "", ""}, {Operation::Fault, "f", "urn:f"}}, "", "", "", "", {"|", "f|urn:f"}},
        {{{Operation::Input, "q", "urn:q"}, {Operation::Input, "", ""}}, "", "", "", "", {}},
        {{{Operation::Input, "q", "urn:q"}, {7, "x", "urn:x"}}, "q", "urn:q", "", "", {}},
    };
    for (const Row& row : rows) {
        Operation op(nullptr, nullptr);
        for (const Set& set : row.sets)
            op.setAddressing(set.kind, set.name, set.action);
        SCOPED_TRACE(row.input + "/" + row.output + "/" + std::to_string(row.sets.size()));
        EXPECT_EQ(op.getAddressing(Operation::Input).name, row.input);
        EXPECT_EQ(op.getAddressing(Operation::Input).action, row.inputAction);
        EXPECT_EQ(op.getAddressing(Operation::Output).name, row.output);
        EXPECT_EQ(op.getAddressing(Operation::Output).action, row.outputAction);
        std::vector<std::string> faults;
        for (const Operation::AddressingUse& use : op.getFaultAddressing())
            faults.push_back(use.name + "|" + use.action);
        EXPECT_EQ(faults, row.faults);
    }
}

TEST(WsdlPortType, FindsOperationsByLocalNameAndPosition)
{
    PortType portType(nullptr);
    for (const char* name : {"Get", "Put", "Get"}) {
        auto op = std::make_unique<Operation>(nullptr, &portType);
        op->setName(name);
        portType.addOperation(std::move(op));
    }
    portType.addOperation(nullptr); // ignored rather than stored as a hole
    ASSERT_EQ(3, portType.getNumOps());
    EXPECT_EQ(portType.getOperation(0), portType.getOperation(Schema::QualifiedName("tns:Get")));
    EXPECT_EQ(portType.getOperation(1), portType.getOperation(Schema::QualifiedName("Put")));
    EXPECT_EQ(nullptr, portType.getOperation(Schema::QualifiedName("tns:Delete")));
    EXPECT_EQ(nullptr, portType.getOperation(3));
    EXPECT_EQ(nullptr, portType.getOperation(-1));
    EXPECT_EQ(&portType, portType.getOperation(2)->getPortType());
}

// ---- Binding -------------------------------------------------------------

using Reader = int (Binding::*)(int, const int*&) const;

struct GroupCase {
    Binding::Group group;
    Reader read;
    const char* label;
};

const GroupCase groupCases[] = {
    {Binding::OperationGroup, &Binding::getOpBinding, "operation"},
    {Binding::InputGroup, &Binding::getInputBinding, "input"},
    {Binding::OutputGroup, &Binding::getOutputBinding, "output"},
    {Binding::FaultGroup, &Binding::getFaultBinding, "fault"},
};

TEST(WsdlBinding, RecordsReadBackAsLaidOut)
{
    Operation first(nullptr, nullptr);
    Operation second(nullptr, nullptr);
    Binding binding(nullptr);
    ASSERT_EQ(0, binding.addOperation(&first));
    ASSERT_EQ(1, binding.addOperation(&second));

    // Group g of record 1 receives g + 1 ids, 100 * (g + 1) + k.
    for (const GroupCase& c : groupCases) {
        for (int k = 0; k <= c.group; ++k)
            EXPECT_TRUE(binding.addBindingId(1, c.group, 100 * (c.group + 1) + k));
    }

    for (const GroupCase& c : groupCases) {
        SCOPED_TRACE(c.label);
        const int sentinel = -1;
        const int* fresh = &sentinel;
        EXPECT_EQ(0, (binding.*c.read)(0, fresh)); // a new record holds no ids
        EXPECT_EQ(nullptr, fresh);

        const int* ids = nullptr;
        const int count = (binding.*c.read)(1, ids);
        ASSERT_EQ(c.group + 1, count);
        for (int k = 0; k < count; ++k)
            EXPECT_EQ(100 * (c.group + 1) + k, ids[k]);
    }
    EXPECT_EQ(&first, binding.getOperation(0));
    EXPECT_EQ(&second, binding.getOperation(1));
}

TEST(WsdlBinding, MissingRecordsReadAsEmptyAndRefuseIds)
{
    Binding binding(nullptr);
    binding.addOperation(static_cast<Operation*>(nullptr));
    for (int index : {-1, 1, 1000}) {
        SCOPED_TRACE(index);
        for (const GroupCase& c : groupCases) {
            const int* ids = &index;
            EXPECT_EQ(0, (binding.*c.read)(index, ids));
            EXPECT_EQ(nullptr, ids);
            EXPECT_FALSE(binding.addBindingId(index, c.group, 5));
        }
        EXPECT_EQ(nullptr, binding.getOperation(index));
    }
    EXPECT_FALSE(binding.addBindingId(0, Binding::GroupCount, 5));
    EXPECT_EQ(1, binding.getNumOps());
}

// Ids of a record's groups given in any order, other records' ids between
// them, read back per group in the order each group received them.
TEST(WsdlBinding, GroupsKeepTheirIdsWhateverOrderTheyArrive)
{
    Binding binding(nullptr);
    binding.addOperation(static_cast<Operation*>(nullptr));
    binding.addOperation(static_cast<Operation*>(nullptr));
    const struct {
        int record;
        Binding::Group group;
        int id;
    } added[] = {
        {0, Binding::FaultGroup, 41},  {0, Binding::OperationGroup, 11}, {1, Binding::InputGroup, 92},
        {0, Binding::FaultGroup, 42},  {0, Binding::InputGroup, 21},     {0, Binding::OperationGroup, 12},
        {1, Binding::OutputGroup, 93}, {0, Binding::OutputGroup, 31},    {0, Binding::InputGroup, 22},
        {1, Binding::InputGroup, 94},  {0, Binding::FaultGroup, 43},
    };
    for (const auto& a : added)
        ASSERT_TRUE(binding.addBindingId(a.record, a.group, a.id));
    const struct {
        int record;
        Binding::Group group;
        std::vector<int> ids;
    } expected[] = {
        {0, Binding::OperationGroup, {11, 12}}, {0, Binding::InputGroup, {21, 22}},
        {0, Binding::OutputGroup, {31}},        {0, Binding::FaultGroup, {41, 42, 43}},
        {1, Binding::OperationGroup, {}},       {1, Binding::InputGroup, {92, 94}},
        {1, Binding::OutputGroup, {93}},        {1, Binding::FaultGroup, {}},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(testing::Message() << "record " << e.record << " group " << e.group);
        EXPECT_EQ(e.ids, binding.getGroupIds(e.record, e.group));
        const int* ids = nullptr;
        const int count = (binding.*groupCases[e.group].read)(e.record, ids);
        EXPECT_EQ(e.ids, std::vector<int>(ids, ids + count));
    }
}

TEST(WsdlBinding, OperationRecordsByNameNeedNoPortType)
{
    PortType portType(nullptr);
    auto op = std::make_unique<Operation>(nullptr, &portType);
    op->setName("Echo");
    Operation* echo = op.get();
    portType.addOperation(std::move(op));

    struct Case {
        bool withPortType;
        const char* name;
        Operation* expected;
    } const cases[] = {
        {false, "tns:Echo", nullptr},
        {true, "tns:Echo", echo},
        {true, "Echo", echo},
        {true, "tns:Missing", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.withPortType ? " with port type" : " without port type"));
        Binding binding(nullptr);
        if (c.withPortType)
            binding.setPortType(&portType);
        EXPECT_EQ(0, binding.addOperation(Schema::QualifiedName(c.name)));
        EXPECT_EQ(1, binding.getNumOps());
        EXPECT_EQ(c.expected, binding.getOperation(0));
    }
}

// ---- Message and Part ----------------------------------------------------

TEST(WsdlMessage, UnknownPartsReadAsNoPart)
{
    const Schema::Element typed = declaration("order", 35);
    Message message(nullptr);
    message.addPart("body", Part::ElementRef, &typed, 2);
    message.addPart("body", Part::ElementRef, nullptr, 2);

    EXPECT_EQ(0, message.getPartIndex("body")); // the first of a name wins
    EXPECT_EQ(-1, message.getPartIndex("header"));
    EXPECT_EQ(nullptr, message.getPart("header"));
    // -1 is what a header naming an unknown part carries.
    for (int index : {-1, 2, 100}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(0, message.getPartType(index));
        EXPECT_EQ(nullptr, message.getPartElement(index));
        EXPECT_EQ(Part::None, message.getPartRefKind(index));
    }
}

} // namespace
