#include "wsdl/NamespacePositions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Wsdl::NamespacePositions;

namespace {

std::string listed(const std::vector<std::size_t>* positions)
{
    if (positions == nullptr)
        return "none";
    std::string text;
    for (const std::size_t position : *positions)
        text += std::to_string(position) + ";";
    return text;
}

// Filing many namespaces moves the array the index reads its keys from and
// regrows the index: every namespace must still find its own positions.
TEST(WsdlNamespacePositions, FindsEachNamespacesPositionsInFilingOrder)
{
    NamespacePositions positions;
    constexpr int kMany = 5000;
    for (int i = 0; i < kMany; ++i)
        positions.of("urn:n" + std::to_string(i)).push_back(static_cast<std::size_t>(i));
    positions.of("urn:n7").push_back(9000);
    positions.of("").push_back(3);
    positions.of("http://example.org/a/namespace/longer/than/a/short/string").push_back(4);
    const struct {
        const char* ns;
        const char* expected;
    } cases[] = {
        {"urn:n0", "0;"},
        {"urn:n7", "7;9000;"},
        {"urn:n4999", "4999;"},
        {"", "3;"},
        {"http://example.org/a/namespace/longer/than/a/short/string", "4;"},
        {"urn:n5000", "none"},
        {"urn:N7", "none"},
        {"urn:n", "none"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, listed(positions.find(c.ns))) << c.ns;
    for (int i = 0; i < kMany; i += 97)
        EXPECT_EQ(static_cast<std::size_t>(i), positions.find("urn:n" + std::to_string(i))->front()) << i;
}

TEST(WsdlNamespacePositions, LookingUpFilesNothing)
{
    NamespacePositions positions;
    EXPECT_EQ(nullptr, positions.find("urn:a"));
    EXPECT_EQ(nullptr, positions.find("urn:a"));
    EXPECT_TRUE(positions.of("urn:a").empty()); // made empty when new
    EXPECT_EQ("", listed(positions.find("urn:a")));
    EXPECT_EQ(&positions.of("urn:a"), positions.find("urn:a"));
}

} // namespace
