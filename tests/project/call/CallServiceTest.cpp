// The call window's reading of the WSDL document: read once, kept while the
// document stays as it was, read again when it changed on disk, and nothing
// kept of a document that is rejected.
#include "project/call/CallService.h"

#include "generator/model/ServiceView.h"
#include "support/SchemaNames.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"
#include "wsdl/WsdlParser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sstream>
#include <vector>

namespace {

const std::string kCalculator = KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl";

std::string replacedAll(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::vector<std::string> operationNames(const CServiceView& view)
{
    std::vector<std::string> names;
    for (const CViewPortType& portType : view.portTypes())
        for (const CViewOperation& operation : portType.operations)
            names.push_back(std::string(operation.name));
    return names;
}

// The file's modification time moved on, as an editor's save moves it, however coarse the clock.
void touch(const std::string& path)
{
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
}

TEST(CallServiceTest, TheDocumentIsReadOnceUntilItChanges)
{
    testsupport::ScopedWorkingFolder folder;
    const std::string path = (folder.path() / "calculator.wsdl").string();
    const std::string original = testsupport::readBytes(kCalculator);
    testsupport::writeBytes(path, original);
    CallService service(path, testsupport::builtInSchemaFolder());
    EXPECT_FALSE(service.current());
    std::ostringstream messages;
    ASSERT_TRUE(service.read(messages)) << messages.str();
    EXPECT_EQ(operationNames(service.view()), (std::vector<std::string>{"Add", "Greet"}));
    EXPECT_EQ(service.schemas().getSchemaCount(), 1);

    // Each step: what happens to the document, whether it reads, the readings counted
    // since the first, and the operations then offered.
    const struct {
        const char* what;
        std::function<void()> change;
        bool reads;
        int readings;
        std::vector<std::string> operations;
    } steps[] = {
        {"unchanged", [] {}, true, 1, {"Add", "Greet"}},
        {"unchanged again", [] {}, true, 1, {"Add", "Greet"}},
        {"saved again as it was", [&] { touch(path); }, true, 2, {"Add", "Greet"}},
        {"an operation renamed",
         [&] {
             testsupport::writeBytes(path, replacedAll(original, "operation name=\"Greet\"", "operation name=\"Salute\""));
             touch(path);
         },
         true, 3, {"Add", "Salute"}},
        {"still renamed", [] {}, true, 3, {"Add", "Salute"}},
        {"cut short", [&] { testsupport::writeBytes(path, original.substr(0, original.size() / 2)); }, false, 4, {}},
        {"a rejected document is not kept", [] {}, false, 5, {}},
        {"whole again", [&] { testsupport::writeBytes(path, original); }, true, 6, {"Add", "Greet"}},
        {"gone", [&] { std::filesystem::remove(path); }, false, 7, {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        std::ostringstream stepMessages;
        EXPECT_EQ(service.read(stepMessages), step.reads) << stepMessages.str();
        EXPECT_EQ(service.readings(), step.readings);
        EXPECT_EQ(service.current(), step.reads);
        if (step.reads)
            EXPECT_EQ(operationNames(service.view()), step.operations);
        else
            // The reader's words name the document where it stopped.
            EXPECT_NE(stepMessages.str().find("calculator.wsdl"), std::string::npos) << stepMessages.str();
    }
}

}  // namespace
