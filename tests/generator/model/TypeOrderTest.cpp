#include "generator/model/TypeOrder.h"

#include <gtest/gtest.h>

namespace {

TEST(TypeOrderTest, ExchangeWalkMovesWhatAStructHoldsBeforeIt)
{
    // 0 holds 2; 1 holds nothing: the walk exchanges 0 and 2.
    CDependencyGraph graph(3);
    graph.addEdge(0, 2, 0);
    EXPECT_EQ(graph.exchangeOrder({0, 1, 2}, {true, true, true}), (std::vector<int>{2, 1, 0}));
    // A node not examined is left where it stands.
    EXPECT_EQ(graph.exchangeOrder({0, 1, 2}, {false, true, true}), (std::vector<int>{0, 1, 2}));
}

TEST(TypeOrderTest, CyclesEndAndTheClosingEdgeIsNamed)
{
    const struct {
        int nodes;
        std::vector<std::vector<int>> edges; // from, to, tag
        std::vector<int> order;
        int cycleFrom;
        int cycleTag;
    } cases[] = {
        {2, {{0, 1, 7}, {1, 0, 8}}, {1, 0}, 1, 8},
        {1, {{0, 0, 3}}, {0}, 0, 3},
        {3, {{0, 1, 1}, {1, 2, 2}, {2, 0, 5}}, {2, 1, 0}, 2, 5},
    };
    for (const auto& c : cases) {
        CDependencyGraph graph(c.nodes);
        std::vector<int> all;
        for (int i = 0; i < c.nodes; ++i)
            all.push_back(i);
        for (const auto& edge : c.edges)
            graph.addEdge(edge[0], edge[1], edge[2]);
        EXPECT_EQ(graph.exchangeOrder(all, std::vector<bool>(static_cast<std::size_t>(c.nodes), true)).size(),
                  static_cast<std::size_t>(c.nodes));
        std::vector<CDependencyGraph::Edge> cycles;
        EXPECT_EQ(graph.dependencyOrder(all, &cycles), c.order);
        ASSERT_EQ(cycles.size(), 1u);
        EXPECT_EQ(cycles[0].target, c.cycleFrom);
        EXPECT_EQ(cycles[0].tag, c.cycleTag);
    }
}

TEST(TypeOrderTest, LongChainsNeedNoDeepStack)
{
    const int nodes = 200000;
    CDependencyGraph graph(nodes);
    for (int i = 0; i + 1 < nodes; ++i)
        graph.addEdge(i, i + 1, 0);
    const std::vector<int> order = graph.dependencyOrder({0}, nullptr);
    ASSERT_EQ(order.size(), static_cast<std::size_t>(nodes));
    EXPECT_EQ(order.front(), nodes - 1);
    EXPECT_EQ(order.back(), 0);
}

} // namespace
