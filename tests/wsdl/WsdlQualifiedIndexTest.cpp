#include "wsdl/QualifiedIndex.h"

#include <gtest/gtest.h>

#include <string>

using Wsdl::QualifiedIndex;

namespace {

TEST(WsdlQualifiedIndex, FindsTheFirstElementOfEachNamespaceAndName)
{
    int first = 1;
    int second = 2;
    int other = 3;
    int bare = 4;
    QualifiedIndex<int> index;
    index.add("urn:a", "Order", &first);
    index.add("urn:a", "Order", &second); // a later namesake does not replace it
    index.add("urn:b", "Order", &other);
    index.add("", "Order", &bare);
    const struct {
        const char* ns;
        const char* local;
        const int* expected;
    } cases[] = {
        {"urn:a", "Order", &first}, {"urn:b", "Order", &other}, {"", "Order", &bare},
        {"urn:a", "Item", nullptr}, {"urn:c", "Order", nullptr}, {"urn:a", "order", nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, index.find(c.ns, c.local)) << "{" << c.ns << "}" << c.local;
}

} // namespace
