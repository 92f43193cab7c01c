#include "net/DocumentLocation.h"

#include "support/CaseFile.h"

#include <gtest/gtest.h>

namespace {

using testsupport::caseTable;

const char* const Cases = "net/data/locations.cases";

// Rows of data/locations.cases; see its header for the columns.
TEST(DocumentLocation, AbsoluteLocations)
{
    for (const auto& c : caseTable(Cases, "absolute"))
        EXPECT_EQ(c.flag(1), isAbsoluteLocation(c[0])) << c[0];
}

TEST(DocumentLocation, BaseLocations)
{
    for (const auto& c : caseTable(Cases, "base"))
        EXPECT_EQ(c[1], baseLocationOf(c[0])) << c[0];
}

// An empty segment of a file path names nothing and a relative location stays
// relative; a URL's path is the server's to read.
TEST(DocumentLocation, ResolvedLocations)
{
    for (const auto& c : caseTable(Cases, "resolved"))
        EXPECT_EQ(c[2], resolveLocation(c[0], c[1])) << c[0] << " + " << c[1];
}

TEST(DocumentLocation, FileUrisBecomeLocalPaths)
{
    for (const auto& c : caseTable(Cases, "local-path"))
        EXPECT_EQ(c[1], localPathOf(c[0])) << c[0];
}

} // namespace
