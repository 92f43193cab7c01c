#include "xml/PointerIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every object given a value finds it again, across the array's growth and
// whatever the objects' stride; the first value given stays; objects
// without one (beside, between and after the indexed ones) find none.
TEST(PointerIndexTest, ObjectsFindTheFirstValueTheyWereGiven)
{
    const struct {
        const char* what;
        std::size_t count;
        std::size_t stride; // objects indexed: every stride-th of an array
    } cases[] = {
        {"none", 0, 1},
        {"a few", 5, 1},
        {"many side by side", 5000, 1},
        {"many a large stride apart", 3000, 16},
    };
    for (const auto& c : cases) {
        std::vector<std::string> objects(c.count * c.stride + 1);
        CPointerIndex<std::string, std::size_t> index;
        for (std::size_t i = 0; i < c.count; ++i)
            EXPECT_TRUE(index.insert(&objects[i * c.stride], i + 1)) << c.what << " " << i;
        for (std::size_t i = 0; i < c.count; ++i)
            EXPECT_FALSE(index.insert(&objects[i * c.stride], 0)) << c.what << " " << i;
        EXPECT_EQ(index.size(), c.count) << c.what;
        for (std::size_t i = 0; i < objects.size(); ++i) {
            const bool indexed = i % c.stride == 0 && i / c.stride < c.count;
            EXPECT_EQ(index.find(&objects[i]), indexed ? i / c.stride + 1 : 0) << c.what << " " << i;
        }
    }
}

} // namespace
