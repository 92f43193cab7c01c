// How many workers the server runs when its configuration leaves the count to it: one for each
// processor the process may run on, so that a server kept to some of them (taskset) does not
// crowd them with a worker for every processor of the machine.

#include <gtest/gtest.h>

#include "tessaro_server.h"

#include <dirent.h>
#include <sched.h>

namespace {

// Threads of this process now.
int threadCount()
{
    int count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks))
            count += entry->d_name[0] != '.';
        closedir(tasks);
    }
    return count;
}

int closeAtOnce(void*, tessaro_server_connection_t*)
{
    return 0;
}

// The first count processors of allowed, or an empty set when it has fewer.
cpu_set_t firstOf(const cpu_set_t& allowed, int count)
{
    cpu_set_t chosen;
    CPU_ZERO(&chosen);
    for (int cpu = 0; cpu < CPU_SETSIZE && CPU_COUNT(&chosen) < count; ++cpu)
        if (CPU_ISSET(cpu, &allowed))
            CPU_SET(cpu, &chosen);
    if (CPU_COUNT(&chosen) < count)
        CPU_ZERO(&chosen);
    return chosen;
}

TEST(TessaroServerWorkers, OnePerProcessorTheProcessMayRunOn)
{
    cpu_set_t allowed;
    ASSERT_EQ(sched_getaffinity(0, sizeof(allowed), &allowed), 0);
    for (const int processors : {1, 2, 3}) {
        const cpu_set_t kept = firstOf(allowed, processors);
        if (CPU_COUNT(&kept) == 0)
            continue;
        ASSERT_EQ(sched_setaffinity(0, sizeof(kept), &kept), 0);
        tessaro_server_config_t config = {};
        config.address = "127.0.0.1";
        const int before = threadCount();
        const tessaro_server_handler_t handler = {closeAtOnce, nullptr, nullptr};
        tessaro_server_t* server = nullptr;
        const int started = tessaro_server_start(&server, &config, &handler);
        const int workers = threadCount() - before;
        tessaro_server_free(server);
        ASSERT_EQ(sched_setaffinity(0, sizeof(allowed), &allowed), 0);
        ASSERT_EQ(started, 0);
        EXPECT_EQ(workers, processors) << "kept to " << processors << " processors";
    }
}

} // namespace
