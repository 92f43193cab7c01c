// The generated server's tests drive it with C programs built against the
// library of tests/generator/emit/data/server/served.wsdl, beside
// served_driver.h (the C they share: threads, the server started, a
// connection, a request sent and its answer read).
#pragma once

#include "GeneratorTestSupport.h"

#include <string>
#include <utility>
#include <vector>

namespace gentest {

class ServedDriverTest : public GeneratorTest {
protected:
    static std::string servedWsdl() { return KELVANE_HOST_SOURCE_DIR "/tests/generator/emit/data/server/served.wsdl"; }

    // Builds driver in the working folder: false, the compiler's messages reported, when it does not build.
    bool buildServedDriver(const char* driver)
    {
        viewLocation(servedWsdl());
        testsupport::writeBytes("served_driver.h", testsupport::readBytes(KELVANE_HOST_SOURCE_DIR
                                                                          "/tests/generator/emit/data/server/served_driver.h"));
        const int built = buildDriver("served", driver);
        EXPECT_EQ(built, 0) << testsupport::readBytes("messages.txt");
        return built == 0;
    }

    // Runs the driver with each case's arguments (tail behind them) and checks what it prints.
    void expectOutputs(const std::vector<std::pair<std::string, std::string>>& cases, const std::string& tail = std::string())
    {
        for (const auto& [arguments, output] : cases) {
            SCOPED_TRACE(arguments);
            const RunResult run = runDriver(arguments + tail);
            EXPECT_EQ(run.status, 0) << run.messages;
            EXPECT_EQ(run.output, output) << run.messages;
        }
    }
};

} // namespace gentest
