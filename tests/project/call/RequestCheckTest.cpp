// Requests checked against the WSDL's schemas before they are sent: the
// sample of every operation passes, and each fault is found at its line.
#include "project/call/RequestCheck.h"

#include "generator/model/ServiceView.h"
#include "generator/sample/SampleRequest.h"
#include "project/call/CallService.h"
#include "support/SchemaNames.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace {

const std::string kCalculator = KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl";

class RequestCheckTest : public ::testing::Test {
protected:
    RequestCheckTest() : service_(kCalculator, testsupport::builtInSchemaFolder())
    {
        std::ostringstream messages;
        if (!service_.read(messages))
            throw std::runtime_error("the calculator was not read: " + messages.str());
        schemas_ = &service_.schemas();
    }

    const CViewOperation& operation(const std::string& name)
    {
        const CServiceView& view = service_.view();
        for (const CViewPortType& portType : view.portTypes())
            for (const CViewOperation& op : portType.operations)
                if (op.name == name)
                    return op;
        ADD_FAILURE() << "no operation " << name;
        return view.portTypes().front().operations.front();
    }

    CallService service_;
    Wsdl::WsdlParser* schemas_ = nullptr;
};

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST_F(RequestCheckTest, EverySampleRequestPasses)
{
    for (const char* name : {"Add", "Greet"}) {
        SCOPED_TRACE(name);
        const std::vector<RequestProblem> problems = checkRequest(*schemas_, operation(name),
                                                                  sampleRequest(operation(name)).envelope);
        for (const RequestProblem& problem : problems)
            ADD_FAILURE() << problem.line << ":" << problem.column << ": " << problem.message;
    }
}

TEST_F(RequestCheckTest, EachFaultIsFoundAtItsLine)
{
    const std::string sample = sampleRequest(operation("Add")).envelope;
    // The sample's lines: 1 declaration, 2 Envelope, 3 Body, 4 Add, 5 a, 6 b, 7 /Add ...
    const struct {
        const char* name;
        std::string envelope;
        int line;
        const char* message;
    } cases[] = {
        {"a value that is no int", replaced(sample, "<ns1:a>1</ns1:a>", "<ns1:a>one</ns1:a>"), 5, "\"one\""},
        {"an element missing", replaced(sample, "      <ns1:b>2</ns1:b>\n", ""), 6, ""},
        {"an element too many", replaced(sample, "<ns1:b>2</ns1:b>", "<ns1:b>2</ns1:b><ns1:c>3</ns1:c>"), 6, "c"},
        {"another operation's element", replaced(replaced(sample, "<ns1:Add>", "<ns1:Greet>"), "</ns1:Add>", "</ns1:Greet>"),
         4, "Add"},
        {"not well-formed", replaced(sample, "</ns1:a>", "</ns1:x>"), 5, ""},
        {"a SOAP 1.2 envelope",
         replaced(sample, "http://schemas.xmlsoap.org/soap/envelope/", "http://www.w3.org/2003/05/soap-envelope"), 2,
         "SOAP 1.1 Envelope"},
        {"no body", "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">\n</soap:Envelope>", 2,
         "no Body"},
        {"an empty body",
         "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">\n<soap:Body/>\n</soap:Envelope>", 2,
         "lacks"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<RequestProblem> problems = checkRequest(*schemas_, operation("Add"), c.envelope);
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0].line, c.line) << problems[0].message;
        EXPECT_GT(problems[0].column, 0);
        EXPECT_NE(problems[0].message.find(c.message), std::string::npos) << problems[0].message;
    }
}

TEST_F(RequestCheckTest, SeveralWrongValuesAreEachFound)
{
    std::string envelope = sampleRequest(operation("Add")).envelope;
    envelope = replaced(envelope, "<ns1:a>1</ns1:a>", "<ns1:a>1.5</ns1:a>");
    envelope = replaced(envelope, "<ns1:b>2</ns1:b>", "<ns1:b>99999999999</ns1:b>");
    const std::vector<RequestProblem> problems = checkRequest(*schemas_, operation("Add"), envelope);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].line, 5);
    EXPECT_EQ(problems[1].line, 6);
}

}  // namespace
