// The sample request of every operation of the corpus's real services passes
// the check the window makes before sending it: what the window offers the
// schemas take as it stands.
#include "project/call/RequestCheck.h"

#include "generator/model/ServiceView.h"
#include "generator/sample/SampleRequest.h"
#include "project/call/CallService.h"
#include "support/CorpusManifest.h"
#include "support/SchemaNames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace {

// Larger documents take too long under the sanitizers for a test run beside the others.
const long kMostBytes = 40 * 1024;

// The entry points of the size checked: path relative to the corpus folder.
std::vector<std::string> checkedDocuments()
{
    std::vector<std::string> paths;
    for (const auto& row : testsupport::readTsv(testsupport::CorpusFolder + "MANIFEST.tsv")) {
        if (row.size() >= 9 && row[8].find("ENTRY POINT") != std::string::npos &&
            std::strtol(row[5].c_str(), nullptr, 10) <= kMostBytes)
            paths.push_back(row[0]);
    }
    return paths;
}

// The problems of every operation's sample request in one document, each
// line naming the operation; empty for a document the program does not read.
std::vector<std::string> problemsOf(const std::string& path)
{
    std::vector<std::string> found;
    CallService service(path, testsupport::builtInSchemaFolder());
    std::ostringstream messages;
    if (!service.read(messages))
        return found;
    for (const CViewPortType& portType : service.view().portTypes()) {
        for (const CViewOperation& op : portType.operations) {
            if (!op.soapBound || op.input == nullptr)
                continue;
            const std::string envelope = sampleRequest(op).envelope;
            for (const RequestProblem& problem : checkRequest(service.schemas(), op, envelope))
                found.push_back(portType.name + "." + std::string(op.name) + " " + std::to_string(problem.line) + ":" +
                                std::to_string(problem.column) + ": " + problem.message + "\n" + envelope);
        }
    }
    return found;
}

TEST(RequestCheckCorpusTest, EverySampleRequestOfTheCorpusPasses)
{
    const std::vector<std::string> documents = checkedDocuments();
    ASSERT_GT(documents.size(), 40u);
    std::size_t problems = 0;
    for (const std::string& document : documents) {
        SCOPED_TRACE(document);
        for (const std::string& problem : problemsOf(testsupport::CorpusFolder + document)) {
            ++problems;
            ADD_FAILURE() << problem;
        }
    }
    EXPECT_EQ(problems, 0u);
}

}  // namespace
