#include "net/DocumentLocation.h"

#include <gtest/gtest.h>

namespace {

TEST(DocumentLocation, AbsoluteLocations)
{
    const struct {
        const char* location;
        bool absolute;
    } cases[] = {
        {"/srv/a.xsd", true},
        {"\\folder\\a.xsd", true},
        {"C:\\schemas\\a.xsd", true},
        {"c:/schemas/a.xsd", true},
        {"\\\\server\\share\\a.xsd", true},
        {"//server/share/a.xsd", true},
        {"http://host/a.xsd", true},
        {"https://host/a.xsd", true},
        {"ftp://host/a.xsd", true},
        {"file:///tmp/a.xsd", true},
        {"file:/tmp/a.xsd", true},
        {"urn:example:schema", true},
        {"svn+ssh://host/a.xsd", true},
        {"a.xsd", false},
        {"sub/a.xsd", false},
        {"../a.xsd", false},
        {"./http://x", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.absolute, isAbsoluteLocation(c.location)) << c.location;
}

TEST(DocumentLocation, BaseLocations)
{
    const char* const cases[][2] = {
        {"http://host/path/service.wsdl", "http://host/path/"},
        {"http://host/svc.asmx?wsdl=a/b", "http://host/"},
        {"schemas/a.xsd", "schemas/"},
        {"C:\\schemas\\a.xsd", "C:\\schemas\\"},
        {"C:\\schemas/sub\\a.xsd", "C:\\schemas/sub\\"},
        {"a.xsd", ""},
        {"/a.xsd", "/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c[1], baseLocationOf(c[0])) << c[0];
}

TEST(DocumentLocation, ResolvedLocations)
{
    const char* const cases[][3] = {
        // base, location, resolved
        {"", "a.xsd", "a.xsd"},
        {"dir/", "a.xsd", "dir/a.xsd"},
        {"dir/sub/", "../b.xsd", "dir/b.xsd"},
        {"dir/", "./a.xsd", "dir/a.xsd"},
        {"dir/", "../../a.xsd", "../a.xsd"},
        {"../x/", "../x/a.xsd", "../x/a.xsd"},
        {"/srv/x/", "../../../a.xsd", "/a.xsd"},
        {"http://host/p/q/", "../r/a.xsd?x=../y", "http://host/p/r/a.xsd?x=../y"},
        {"http://host/p/", "http://other/a.xsd", "http://other/a.xsd"},
        {"dir/", "/abs/a.xsd", "/abs/a.xsd"},
        {"dir/", "C:\\s\\.\\a.xsd", "C:\\s\\a.xsd"},
        {"C:\\s\\t\\", "..\\a.xsd", "C:\\s\\a.xsd"},
        {"\\\\server\\share\\", "..\\..\\a.xsd", "\\\\server\\a.xsd"},
        {"file:///tmp/x/", "a.xsd", "file:///tmp/x/a.xsd"},
        {"dir/", "sub/.", "dir/sub/"},
        {"dir/", "", ""},
        {"", "urn:a:b", "urn:a:b"},
        // An empty segment of a file path names nothing; a relative location stays relative.
        {"", ".//a.xsd", "a.xsd"},
        {"", "a/..//b.xsd", "b.xsd"},
        {"dir/", ".//a.xsd", "dir/a.xsd"},
        {"dir//", ".//.//a.xsd", "dir/a.xsd"},
        {"dir/", "sub//", "dir/sub/"},
        {"/srv//x/", "a.xsd", "/srv/x/a.xsd"},
        {"C:\\s\\\\t\\", "a.xsd", "C:\\s\\t\\a.xsd"},
        {"file:///tmp//x/", "a.xsd", "file:///tmp/x/a.xsd"},
        // A URL's path is the server's to read.
        {"http://host/p//q/", "a.xsd", "http://host/p//q/a.xsd"},
        {"", "http://host", "http://host"},
        {"", "http://host/x", "http://host/x"},
        {"http://host/", "x?n=1", "http://host/x?n=1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c[2], resolveLocation(c[0], c[1])) << c[0] << " + " << c[1];
}

TEST(DocumentLocation, FileUrisBecomeLocalPaths)
{
    const char* const cases[][2] = {
        {"file:///tmp/a.xsd", "/tmp/a.xsd"},
        {"file://localhost/tmp/a.xsd", "/tmp/a.xsd"},
        {"FILE:/tmp/a.xsd", "/tmp/a.xsd"},
        {"file:///C:/My%20Schemas/a.xsd", "C:/My Schemas/a.xsd"},
        {"file:///c|/a.xsd", "c:/a.xsd"},
        {"file://server/share/a.xsd", "//server/share/a.xsd"},
        {"file:///tmp/100%", "/tmp/100%"},
        {"http://host/a%20b.xsd", "http://host/a%20b.xsd"},
        {"a.xsd", "a.xsd"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c[1], localPathOf(c[0])) << c[0];
}

} // namespace
