// The memory of nonces a server keeps: a nonce seen again within its time is
// a replay, one whose time is up may come again, and a full memory refuses a
// new nonce rather than forgetting one still within its time.

#include <gtest/gtest.h>

#include "tessaro_wsse.h"

#include <string>

namespace {

struct Seen {
    const char* nonce;
    time_t until;
    time_t now;
    int result;
};

TEST(TessaroWsseReplayTest, NoncesAreRefusedWithinTheirTimeAndTheMemoryStaysBounded)
{
    tessaro_wsse_replay_t* replay = nullptr;
    ASSERT_EQ(tessaro_wsse_replay_new(&replay, 4), 0);
    const Seen steps[] = {
        {"a", 100, 10, 0}, {"a", 100, 20, 1},  // the same nonce within its time
        {"b", 50, 20, 0},  {"c", 100, 20, 0}, {"d", 100, 20, 0},
        {"e", 100, 20, -1},                    // four places, each held
        {"b", 80, 60, 0},                      // b's time was up: it may come again
        {"e", 100, 60, -1}, {"a", 100, 100, 1}, // a is kept to the second its time ends
        {"f", 200, 101, 0},                    // every time is up: places are free again
        {"a", 200, 101, 0}, {"g", 200, 101, 0}, {"h", 200, 101, 0},
        {"i", 200, 101, -1}, {"a", 200, 150, 1},
    };
    for (const Seen& step : steps) {
        SCOPED_TRACE(std::string(step.nonce) + " at " + std::to_string(step.now));
        EXPECT_EQ(tessaro_wsse_replay_seen(replay, reinterpret_cast<const unsigned char*>(step.nonce), 1, step.until, step.now),
                  step.result);
    }
    tessaro_wsse_replay_free(replay);
}

TEST(TessaroWsseReplayTest, ManyNoncesAreTakenInTheDefaultMemory)
{
    tessaro_wsse_replay_t* replay = nullptr;
    ASSERT_EQ(tessaro_wsse_replay_new(&replay, 0), 0);
    int taken = 0, replayed = 0;
    for (int n = 0; n < 20000; ++n) {
        const std::string nonce = "nonce-" + std::to_string(n);
        taken += tessaro_wsse_replay_seen(replay, reinterpret_cast<const unsigned char*>(nonce.data()), nonce.size(), 1000, 1) == 0;
        replayed += tessaro_wsse_replay_seen(replay, reinterpret_cast<const unsigned char*>(nonce.data()), nonce.size(), 1000, 1) == 1;
    }
    EXPECT_EQ(taken, 20000);
    EXPECT_EQ(replayed, 20000);
    tessaro_wsse_replay_free(replay);
}

} // namespace
