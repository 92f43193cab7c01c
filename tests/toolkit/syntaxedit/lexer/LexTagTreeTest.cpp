// Tag trees: hash sizing, longest match, letter case, inverted classes, and the shared pools
// under several threads.
#include "LexTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// A tag list from property values ("'==', @digit").
struct TreeFixture {
    CKLVSyntaxEditLexAttrArray list{klvLexTokenTag};
    CKLVSyntaxEditLexTagTree tree;
    TreeFixture(const char* values, BOOL bLowerCase) {
        CKLVSyntaxEditLexClass parser;
        parser.ParseTagValues(MakeProperty(std::string("token:tag = ") + values), list);
        tree.Build(list, bLowerCase);
    }
    std::string Match(const char* text, int nMaxChars = 1024) {
        CString strMatch;
        const int n = tree.Lookup(text, nMaxChars, strMatch);
        EXPECT_EQ(n, strMatch.GetLength());
        return n ? std::string(strMatch.GetString()) : std::string("-");
    }
};

TEST(LexTagTree, PrimeRoundingAndBucketCounts) {
    const UINT primes[][2] = {{0, 1}, {1, 1}, {2, 2}, {4, 5}, {8, 11}, {47, 47}, {48, 53}, {49, 53}, {50, 50}, {77, 77}};
    for (const auto& c : primes) EXPECT_EQ(c[1], CKLVSyntaxEditLexTagTree::RoundUpToPrime(c[0])) << c[0];
    const INT_PTR roots[][2] = {{0, 1}, {10, 3}, {11, 7}, {30, 7}, {31, 11}, {60, 11},
                                {61, 17}, {100, 17}, {101, 23}, {200, 23}, {201, 29}};
    for (const auto& c : roots) EXPECT_EQ(UINT(c[1]), CKLVSyntaxEditLexTagTree::GetRootBucketCount(c[0])) << c[0];
    const UINT next[][3] = {{29, 3, 7}, {17, 3, 5}, {3, 3, 3}, {7, 1, 3}, {3, 1, 1}, {1, 1, 1}, {23, 1, 5}};
    for (const auto& c : next) EXPECT_EQ(c[2], CKLVSyntaxEditLexTagTree::GetNextSize(c[0], c[1])) << c[0];

    // 52 letters and 10 digits make a root of 17 buckets.
    TreeFixture alnum("@alpha, @digit", FALSE);
    ASSERT_NE(nullptr, alnum.tree.GetPlainRoot());
    EXPECT_EQ(17u, alnum.tree.GetPlainRoot()->GetBucketCount());
    EXPECT_EQ(nullptr, alnum.tree.GetInvertedRoot());
}

TEST(LexTagTree, LongestMatchCaseAndInversion) {
    struct Case {
        const char* values;
        BOOL lower;
        const char* text;
        const char* match;   // "-": none
        int maxChars;
    } cases[] = {
        {"'=', '=='", FALSE, "==", "==", 1024},
        {"'=', '=='", FALSE, "=x", "=", 1024},
        {"'=', '=='", FALSE, "===", "==", 1024},
        {"'=', '=='", FALSE, "==", "=", 1},
        {"'/*', '//'", FALSE, "/", "-", 1024},
        {"'Abc'", FALSE, "abc", "abc", 1024},      // first letter tried in the other case
        {"'Abc'", FALSE, "aBC", "-", 1024},        // only the first
        {"'Abc'", TRUE, "ABC", "ABC", 1024},
        {"'int', 'integer'", TRUE, "INTEGERS", "INTEGER", 1024},
        {"'int', 'integer'", TRUE, "intege", "int", 1024},
        {"@digit:not", FALSE, "x1", "x", 1024},
        {"@digit:not", FALSE, "1x", "-", 1024},
        {"@digit:not, '12'", FALSE, "12", "12", 1024},
        {"@digit:not", FALSE, "", "-", 1024},
        {"@eol", FALSE, "\r\n", "\r", 1024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.values) + " on " + c.text);
        TreeFixture fixture(c.values, c.lower);
        EXPECT_EQ(c.match, fixture.Match(c.text, c.maxChars));
    }
}

TEST(LexTagTree, AllocatorSplitsAndReusesFreePieces) {
    CKLVSyntaxEditLexAllocator allocator;
    void** p3 = allocator.Alloc(3);
    EXPECT_EQ(1u, allocator.GetChunkCount());
    const size_t nFree = allocator.GetFreeWords();
    EXPECT_EQ(3 * CKLVSyntaxEditLexAllocator::kChunkArrays - 3, nFree);
    void** p5 = allocator.Alloc(5);
    EXPECT_EQ(p3 + 3, p5);
    allocator.Free(p3, 3);
    EXPECT_EQ(p3, allocator.Alloc(2));   // 1 word left over is not worth a free piece
    EXPECT_EQ(nFree - 5, allocator.GetFreeWords());
    EXPECT_EQ(1u, allocator.GetChunkCount());
    void** pBig = allocator.Alloc(nFree);   // larger than what is free: a new chunk
    EXPECT_EQ(2u, allocator.GetChunkCount());
    for (size_t i = 0; i < nFree; ++i) ASSERT_EQ(nullptr, pBig[i]);
}

TEST(LexTagTree, PoolsServeSeveralThreads) {
    const std::shared_ptr<CKLVSyntaxEditLexPools> pPools = CKLVSyntaxEditLexPools::Get();
    const INT_PTR nNodes = pPools->nodes.GetLiveCount();
    const INT_PTR nEntries = pPools->entries.GetLiveCount();
    std::atomic<int> nFailures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 200; ++round) {
                TreeFixture fixture(round % 2 ? "'while', 'whilst', @digit, '=='" : "@alpha, 'x1', @specs", t % 2);
                if (fixture.Match(round % 2 ? "whilst;" : "x1") != (round % 2 ? "whilst" : "x1")) ++nFailures;
            }
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(0, nFailures.load());
    EXPECT_EQ(nNodes, pPools->nodes.GetLiveCount());
    EXPECT_EQ(nEntries, pPools->entries.GetLiveCount());
}

}  // namespace
