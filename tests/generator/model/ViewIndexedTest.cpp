// A value per entity of a view, found by the entity's position: an entity
// of another view at the same position, one made outside any view and one
// never set each find what belongs to them and nothing else.

#include "generator/model/ServiceView.h"
#include "generator/model/ViewIndexed.h"

#include <gtest/gtest.h>

namespace {

TEST(ViewIndexedTest, EachEntityFindsOnlyItsOwnValue)
{
    CServiceView one;
    CServiceView other;
    const CViewType& first = one.addType("urn:a", "First");
    const CViewType& second = one.addType("urn:a", "Second");
    const CViewType& otherFirst = other.addType("urn:b", "First");   // the position of first
    const CViewType& otherSecond = other.addType("urn:b", "Second"); // the position of second
    CViewType loose;                                                 // built by hand, no position

    CViewIndexed<CViewType, int> values;
    values.set(&second, 2);
    values.set(&loose, 7);
    const struct {
        const char* name;
        const CViewType* entity;
        int value;
    } cases[] = {
        {"set", &second, 2},
        {"never set, before a set one", &first, 0},
        {"another view's at a set position", &otherSecond, 0},
        {"made outside a view", &loose, 7},
        {"none", nullptr, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(values.find(c.entity), c.value) << c.name;

    values.set(&otherFirst, 5); // takes the slot of its position
    EXPECT_EQ(values.find(&otherFirst), 5);
    EXPECT_EQ(values.find(&first), 0);
    EXPECT_EQ(values.find(&second), 2);
}

} // namespace
