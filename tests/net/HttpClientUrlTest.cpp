// Taking addresses apart: scheme, user information, host, port and path.
#include "net/HttpClient.h"
#include "net/UrlParts.h"

#include "support/CaseFile.h"

#include <gtest/gtest.h>

namespace {

const char* const Cases = "net/data/locations.cases";

UrlScheme schemeNamed(const std::string& name)
{
    return name == "http" ? SchemeHttp : name == "https" ? SchemeHttps : name == "ftp" ? SchemeFtp : SchemeNone;
}

// '@' and ':' behind the host belong to the path, a query right behind the
// host ends it, an address without "scheme:/" is taken as http, only the
// exact scheme names count, and short or odd forms must not read past the end.
TEST(HttpClientUrlTest, SplitsAddressesIntoTheirParts)
{
    for (const auto& c : testsupport::caseTable(Cases, "split")) {
        SCOPED_TRACE(c[0]);
        const UrlParts parts = UrlParts::split(c[0]);
        EXPECT_EQ(parts.scheme, c[1]);
        EXPECT_EQ(parts.schemeNumber(), schemeNamed(c[2]));
        EXPECT_EQ(parts.user, c[3]);
        EXPECT_EQ(parts.password, c[4]);
        EXPECT_EQ(parts.host, c[5]);
        EXPECT_EQ(parts.portOrDefault(), c.number(6));
        EXPECT_EQ(parts.path, c[7]);
    }
}

TEST(HttpClientUrlTest, CallersCredentialsWinOverTheAddresses)
{
    struct Case {
        const char* address;
        const char* user;
        const char* password;
        const char* expectedUser;
        const char* expectedPassword;
    };
    const Case cases[] = {
        {"http://au:ap@127.0.0.1/", "cu", "cp", "cu", "cp"},
        {"http://au:ap@127.0.0.1/", "cu", nullptr, "cu", "ap"},
        {"http://au:ap@127.0.0.1/", "", "", "au", "ap"},
        {"http://127.0.0.1/", nullptr, "cp", "", "cp"},
        {"http://127.0.0.1/", nullptr, nullptr, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        HttpClient client;
        ASSERT_TRUE(client.openUrl(c.address, c.user, c.password, "agent"));
        EXPECT_EQ(client.user(), c.expectedUser);
        EXPECT_EQ(client.password(), c.expectedPassword);
        client.close();
    }
}

TEST(HttpClientUrlTest, AddressesThatCannotBeFetchedFailToOpen)
{
    for (const char* address : {"gopher://127.0.0.1/", "HTTP://127.0.0.1/", "http://127.0.0.1:70000/",
                                "http://127.0.0.1:8o/"}) {
        SCOPED_TRACE(address);
        HttpClient client;
        EXPECT_FALSE(client.openUrl(address, nullptr, nullptr, "agent"));
    }
}

}  // namespace

namespace {

// Which locations are downloads is decided by their first characters alone.
TEST(UrlSchemes, LocationsAreAddressesOnlyByTheirPrefix)
{
    for (const auto& c : testsupport::caseTable(Cases, "scheme-of-location")) {
        const UrlScheme scheme = schemeNamed(c[1]);
        EXPECT_EQ(scheme, UrlParts::schemeOfLocation(c[0])) << c[0];
        if (scheme != SchemeNone) {
            EXPECT_EQ(0u, c[0].find(UrlParts::schemePrefix(scheme))) << c[0];
        }
    }
    EXPECT_EQ("", UrlParts::schemePrefix(SchemeNone));
}

} // namespace
