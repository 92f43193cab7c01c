// CArray: growth steps, insertion and removal, and elements that own memory.
#include "classlib/ClassLib.h"

#include "ThrownException.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Exposes the capacity, which the growth rule decides.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CapacityArray : public CArray<TYPE, ARG_TYPE> {
public:
    INT_PTR Capacity() const { return this->m_nMaxSize; }
};

std::vector<int> Values(const CArray<int, int>& array) {
    return std::vector<int>(array.GetData(), array.GetData() + array.GetSize());
}

TEST(Array, GrowsByAnEighthClampedTo4And1024) {
    // Adds one at a time: capacity after each listed size.
    struct Step {
        INT_PTR size;
        INT_PTR capacity;
    };
    const Step steps[] = {{1, 1},   {2, 5},   {5, 5},   {6, 9},   {10, 13}, {30, 33},
                          {33, 33}, {34, 37}, {38, 41}, {42, 46}, {47, 51}};
    CapacityArray<int, int> array;
    for (const Step& step : steps) {
        while (array.GetSize() < step.size) array.Add(static_cast<int>(array.GetSize()));
        EXPECT_EQ(array.Capacity(), step.capacity) << "size " << step.size;
    }
    for (INT_PTR i = 0; i < array.GetSize(); ++i) EXPECT_EQ(array[i], i);
}

TEST(Array, SetSizeAndGrowSizeDecideTheCapacity) {
    struct Row {
        INT_PTR firstSize;
        INT_PTR growBy;
        INT_PTR secondSize;
        INT_PTR capacity;
    };
    const Row rows[] = {
        {100, -1, 101, 112},        // 100 / 8
        {10000, -1, 10001, 11024},  // an eighth is above 1024
        {3, -1, 4, 7},              // at least 4
        {1, 16, 2, 16},             // a grow size sets the first allocation too
        {16, 16, 17, 32},
        {10, 2, 30, 30},            // a larger request gets exactly what it asks for
        {10, -1, 5, 10},            // shrinking keeps the memory
    };
    for (const Row& row : rows) {
        CapacityArray<int, int> array;
        array.SetSize(row.firstSize, row.growBy);
        array.SetSize(row.secondSize);
        EXPECT_EQ(array.GetSize(), row.secondSize);
        EXPECT_EQ(array.Capacity(), row.capacity) << row.firstSize << " then " << row.secondSize;
    }
}

TEST(Array, InsertAndRemove) {
    struct Row {
        const char* what;
        void (*edit)(CArray<int, int>&);
        std::vector<int> expected;
    };
    const Row rows[] = {
        {"insert front", [](CArray<int, int>& a) { a.InsertAt(0, 9); }, {9, 1, 2, 3}},
        {"insert middle x2", [](CArray<int, int>& a) { a.InsertAt(1, 9, 2); }, {1, 9, 9, 2, 3}},
        {"insert at end", [](CArray<int, int>& a) { a.InsertAt(3, 9); }, {1, 2, 3, 9}},
        {"insert past end", [](CArray<int, int>& a) { a.InsertAt(5, 9); }, {1, 2, 3, 0, 0, 9}},
        {"insert none", [](CArray<int, int>& a) { a.InsertAt(1, 9, 0); }, {1, 2, 3}},
        {"remove first", [](CArray<int, int>& a) { a.RemoveAt(0); }, {2, 3}},
        {"remove two", [](CArray<int, int>& a) { a.RemoveAt(1, 2); }, {1}},
        {"remove none", [](CArray<int, int>& a) { a.RemoveAt(3, 0); }, {1, 2, 3}},
        {"set at grow", [](CArray<int, int>& a) { a.SetAtGrow(4, 5); }, {1, 2, 3, 0, 5}},
        {"append self", [](CArray<int, int>& a) { a.Append(a); }, {1, 2, 3, 1, 2, 3}},
        {"insert array", [](CArray<int, int>& a) {
             CArray<int, int> b;
             b.Add(7);
             b.Add(8);
             a.InsertAt(1, &b);
         }, {1, 7, 8, 2, 3}},
        {"insert self", [](CArray<int, int>& a) { a.InsertAt(1, &a); }, {1, 1, 2, 3, 2, 3}},
    };
    for (const Row& row : rows) {
        CArray<int, int> array;
        for (int v : {1, 2, 3}) array.Add(v);
        row.edit(array);
        EXPECT_EQ(Values(array), row.expected) << row.what;
    }
}

TEST(Array, BadIndexesThrowAndChangeNothing) {
    CArray<int, int> array;
    for (int v : {1, 2, 3}) array.Add(v);
    const std::function<void()> calls[] = {
        [&] { array.GetAt(3); },          [&] { array.GetAt(-1); },
        [&] { array[3] = 1; },            [&] { array.SetAt(-1, 1); },
        [&] { array.RemoveAt(2, 2); },    [&] { array.RemoveAt(-1); },
        [&] { array.RemoveAt(0, -1); },   [&] { array.InsertAt(-1, 1); },
        [&] { array.SetAtGrow(-1, 1); },  [&] { array.SetSize(-1); },
    };
    for (const auto& call : calls) EXPECT_TRUE(Throws<CInvalidArgException>(call));
    EXPECT_EQ(Values(array), (std::vector<int>{1, 2, 3}));
}

TEST(Array, StringElementsSurviveGrowthAndShifts) {
    CStringArray strings;
    for (int i = 0; i < 100; ++i) {
        CString s;
        s.Format("item %d", i);
        strings.Add(s);
    }
    strings.InsertAt(0, CString("first"));
    strings.RemoveAt(50, 10);
    strings.Add(strings[0]);  // an element of the array itself, added while it grows
    ASSERT_EQ(strings.GetSize(), 92);
    EXPECT_EQ(strings[0], "first");
    EXPECT_EQ(strings[1], "item 0");
    EXPECT_EQ(strings[50], "item 59");
    EXPECT_EQ(strings[90], "item 99");
    EXPECT_EQ(strings[91], "first");
    CStringArray copy;
    copy.Copy(strings);
    strings.RemoveAll();
    EXPECT_EQ(copy.GetSize(), 92);
    EXPECT_EQ(copy[50], "item 59");
}

}  // namespace
