#include "generator/emit/RunSteps.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

enum Outcome { Succeeds, Fails, Throws };

struct Result {
    std::optional<std::size_t> failed; // none when a step threw
    std::string thrown;
    std::vector<char> ran;             // per step, written only by that step
};

Result runSteps(std::size_t (*run)(const std::vector<CRunStep>&), const std::vector<Outcome>& outcomes)
{
    Result result;
    result.ran.assign(outcomes.size(), 0);
    std::vector<CRunStep> steps;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        steps.push_back([&result, &outcomes, i] {
            result.ran[i] = 1;
            if (outcomes[i] == Throws)
                throw std::runtime_error("step " + std::to_string(i));
            return outcomes[i] == Succeeds;
        });
    }
    try {
        result.failed = run(steps);
    } catch (const std::runtime_error& thrown) {
        result.thrown = thrown.what();
    }
    return result;
}

// Together, every step runs and has ended on return, and the outcome is the
// one the steps give one after the other: the first failure in order
// decides, be it a false or an exception, whatever the steps after it did.
TEST(RunStepsTest, TogetherEveryStepRunsAndTheFirstFailureInOrderDecides)
{
    const struct {
        const char* name;
        std::vector<Outcome> outcomes;
        std::optional<std::size_t> failed;
        std::string thrown;
    } cases[] = {
        {"no steps", {}, 0, ""},
        {"all succeed", {Succeeds, Succeeds, Succeeds}, 3, ""},
        {"the first fails", {Fails, Succeeds, Succeeds}, 0, ""},
        {"the last fails", {Succeeds, Succeeds, Fails}, 2, ""},
        {"two fail", {Succeeds, Fails, Fails}, 1, ""},
        {"the first throws", {Throws, Succeeds, Fails}, std::nullopt, "step 0"},
        {"one throws after one that fails", {Succeeds, Fails, Throws}, 1, ""},
        {"one fails after one that throws", {Succeeds, Throws, Fails}, std::nullopt, "step 1"},
        {"two throw", {Succeeds, Throws, Throws}, std::nullopt, "step 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Result inOrder = runSteps(runInOrder, c.outcomes);
        const Result together = runSteps(runTogether, c.outcomes);
        EXPECT_EQ(inOrder.failed, c.failed);
        EXPECT_EQ(inOrder.thrown, c.thrown);
        EXPECT_EQ(together.failed, c.failed);
        EXPECT_EQ(together.thrown, c.thrown);
        EXPECT_EQ(together.ran, std::vector<char>(c.outcomes.size(), 1));
        // One after the other, nothing runs after the first failure.
        const std::size_t last = c.failed ? *c.failed : c.thrown.back() - '0';
        for (std::size_t i = 0; i < c.outcomes.size(); ++i)
            EXPECT_EQ(inOrder.ran[i], i <= last ? 1 : 0) << i;
    }
}

} // namespace
