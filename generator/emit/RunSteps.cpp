#include "generator/emit/RunSteps.h"

#include <future>

std::size_t runInOrder(const std::vector<CRunStep>& steps)
{
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (!steps[i]())
            return i;
    }
    return steps.size();
}

std::size_t runTogether(const std::vector<CRunStep>& steps)
{
    std::vector<std::future<bool>> running;
    running.reserve(steps.size());
    for (std::size_t i = 0; i < steps.size(); ++i) {
        // A deferred step runs on the thread that waits for it: the first
        // always, another when no thread could be started for it.
        const std::launch policy = i == 0 ? std::launch::deferred : std::launch::async | std::launch::deferred;
        running.push_back(std::async(policy, std::cref(steps[i])));
    }
    for (std::future<bool>& step : running)
        step.wait();
    for (std::size_t i = 0; i < running.size(); ++i) {
        if (!running[i].get())
            return i;
    }
    return steps.size();
}
