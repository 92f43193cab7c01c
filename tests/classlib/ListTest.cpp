// CList: order of insertion and walking, search, removal while walking.
#include "classlib/ClassLib.h"

#include "ThrownException.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<int> Forward(const CList<int, int>& list) {
    std::vector<int> values;
    for (POSITION pos = list.GetHeadPosition(); pos;) values.push_back(list.GetNext(pos));
    return values;
}

std::vector<int> Backward(const CList<int, int>& list) {
    std::vector<int> values;
    for (POSITION pos = list.GetTailPosition(); pos;) values.push_back(list.GetPrev(pos));
    return values;
}

TEST(List, EditsKeepBothDirectionsInStep) {
    struct Row {
        const char* what;
        void (*edit)(CList<int, int>&);
        std::vector<int> expected;
    };
    const Row rows[] = {
        {"add head", [](CList<int, int>& l) { l.AddHead(0); }, {0, 1, 2, 3}},
        {"add tail", [](CList<int, int>& l) { l.AddTail(4); }, {1, 2, 3, 4}},
        {"insert before middle", [](CList<int, int>& l) { l.InsertBefore(l.FindIndex(1), 9); }, {1, 9, 2, 3}},
        {"insert after tail", [](CList<int, int>& l) { l.InsertAfter(l.GetTailPosition(), 9); }, {1, 2, 3, 9}},
        {"insert before null", [](CList<int, int>& l) { l.InsertBefore(nullptr, 9); }, {9, 1, 2, 3}},
        {"insert after null", [](CList<int, int>& l) { l.InsertAfter(nullptr, 9); }, {1, 2, 3, 9}},
        {"remove head", [](CList<int, int>& l) { EXPECT_EQ(l.RemoveHead(), 1); }, {2, 3}},
        {"remove tail", [](CList<int, int>& l) { EXPECT_EQ(l.RemoveTail(), 3); }, {1, 2}},
        {"remove middle", [](CList<int, int>& l) { l.RemoveAt(l.Find(2)); }, {1, 3}},
        {"set at", [](CList<int, int>& l) { l.SetAt(l.FindIndex(2), 7); }, {1, 2, 7}},
        {"add tail self", [](CList<int, int>& l) { l.AddTail(&l); }, {1, 2, 3, 1, 2, 3}},
        {"add head self", [](CList<int, int>& l) { l.AddHead(&l); }, {1, 2, 3, 1, 2, 3}},
        {"remove all", [](CList<int, int>& l) { l.RemoveAll(); }, {}},
    };
    for (const Row& row : rows) {
        CList<int, int> list;
        for (int v : {1, 2, 3}) list.AddTail(v);
        row.edit(list);
        std::vector<int> reversed(row.expected.rbegin(), row.expected.rend());
        EXPECT_EQ(Forward(list), row.expected) << row.what;
        EXPECT_EQ(Backward(list), reversed) << row.what;
        EXPECT_EQ(list.GetCount(), static_cast<INT_PTR>(row.expected.size())) << row.what;
    }
}

TEST(List, RemovingTheCurrentElementWhileWalking) {
    CList<int, int> list;
    for (int v = 0; v < 25; ++v) list.AddTail(v);  // more than two blocks of nodes
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        POSITION current = pos;
        if (list.GetNext(pos) % 2 == 0) list.RemoveAt(current);
    }
    std::vector<int> odd;
    for (int v = 1; v < 25; v += 2) odd.push_back(v);
    EXPECT_EQ(Forward(list), odd);
    while (!list.IsEmpty()) list.RemoveHead();
    list.AddTail(42);  // nodes are handed out again after the blocks went back
    EXPECT_EQ(Forward(list), std::vector<int>{42});
}

}  // namespace
