#include "schema/StableStore.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

using Schema::StableStore;

namespace {

// Every item stays at the address it was given while the store grows past
// each block (the first few, the doubling ones, the largest size and beyond),
// keeps its value, and comes back in the order it was added; cleared, the
// store is empty and fills again.
TEST(SchemaStableStore, ItemsStayInPlaceAndInOrderAsTheStoreGrows)
{
    for (const std::size_t count : {std::size_t(0), std::size_t(1), std::size_t(4), std::size_t(5), std::size_t(9),
                                    std::size_t(20000)}) {
        StableStore<std::string> store;
        std::vector<const std::string*> places;
        for (std::size_t i = 0; i < count; ++i)
            places.push_back(&store.emplace_back("item number " + std::to_string(i)));
        ASSERT_EQ(count, store.size());
        std::size_t at = 0;
        store.forEach([&](const std::string& item) {
            ASSERT_LT(at, count);
            EXPECT_EQ(places[at], &item) << count << " items, item " << at;
            EXPECT_EQ("item number " + std::to_string(at), item);
            ++at;
        });
        EXPECT_EQ(count, at);
        store.clear();
        EXPECT_EQ(0u, store.size());
        EXPECT_EQ("again", store.emplace_back("again"));
        EXPECT_EQ(1u, store.size());
    }
}

} // namespace
