// The call settings kept in the project folder: passwords only protected,
// damaged lines named where they stand while the rest applies.
#include "project/call/CallSettings.h"

#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Reversed and marked: unprotect refuses bytes it did not make.
SecretProtection testProtection()
{
    return {[](const std::string& secret) { return "P:" + std::string(secret.rbegin(), secret.rend()); },
            [](const std::string& bytes, std::string& secret) {
                if (bytes.compare(0, 2, "P:") != 0)
                    return false;
                secret.assign(bytes.rbegin(), bytes.rend() - 2);
                return true;
            }};
}

CallSettings fullSettings()
{
    CallSettings settings;
    settings.endpoints = {{"CalcPort", "https://calc.test:8443/calc"}, {"Calc12", "http://h/p q%"}};
    settings.caFile = "C:\\certs\\my ca.pem";
    settings.verifyCertificate = false;
    settings.proxy = "proxy.test:3128";
    settings.proxyUser = "pu";
    settings.proxyPassword = "sesame proxy";
    settings.auth = CallSettings::AuthDigest;
    settings.user = "user";
    settings.password = "open\nsesame%";
    settings.timeoutSeconds = 90;
    settings.wsSecurityUser = "wss";
    return settings;
}

TEST(CallSettingsTest, SettingsReadBackAsSavedAndNoPasswordStandsInClear)
{
    testsupport::ScopedWorkingFolder folder;
    const CallSettingsStore store(folder.path().string(), testProtection());
    std::vector<std::string> problems;
    const CallSettings defaults = store.load(problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_TRUE(defaults.verifyCertificate);
    EXPECT_EQ(defaults.timeoutSeconds, 30);

    const CallSettings saved = fullSettings();
    std::string why;
    ASSERT_TRUE(store.save(saved, why)) << why;
    const std::string text = testsupport::readBytes(store.path());
    for (const char* secret : {"sesame", "emases", "open"})
        EXPECT_EQ(text.find(secret), std::string::npos) << secret;

    const CallSettings read = store.load(problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(read.endpoints, saved.endpoints);
    EXPECT_EQ(read.caFile, saved.caFile);
    EXPECT_EQ(read.verifyCertificate, saved.verifyCertificate);
    EXPECT_EQ(read.proxy, saved.proxy);
    EXPECT_EQ(read.proxyUser, saved.proxyUser);
    EXPECT_EQ(read.proxyPassword, saved.proxyPassword);
    EXPECT_EQ(read.auth, saved.auth);
    EXPECT_EQ(read.user, saved.user);
    EXPECT_EQ(read.password, saved.password);
    EXPECT_EQ(read.timeoutSeconds, saved.timeoutSeconds);
    EXPECT_EQ(read.wsSecurityUser, saved.wsSecurityUser);
}

TEST(CallSettingsTest, ALineThatDoesNotReadIsNamedAndTheOthersApply)
{
    const CallSettingsStore store("project", testProtection());
    const std::string text = "settings 1\n"
                             "user alice\n"
                             "timeout soon\n"
                             "auth kerberos\n"
                             "password 6b6579\n"   // "key": bytes the protection did not make
                             "proxy-password zz\n"
                             "verify maybe\n"
                             "endpoint lonely\n"
                             "ca-file a%2\n"
                             "colour blue\n"
                             "proxy p:1\n";
    std::vector<CallSettingsProblem> problems;
    const CallSettings settings = store.read(text, problems);
    EXPECT_EQ(settings.user, "alice");
    EXPECT_EQ(settings.proxy, "p:1");
    EXPECT_EQ(settings.timeoutSeconds, 30);
    EXPECT_EQ(settings.auth, CallSettings::AuthNone);
    EXPECT_EQ(settings.password, "");
    EXPECT_TRUE(settings.endpoints.empty());
    const std::vector<std::pair<int, int>> expected = {{3, 9}, {4, 6}, {5, 10}, {6, 16}, {7, 8}, {8, 10}, {9, 10}};
    ASSERT_EQ(problems.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(problems[i].line, expected[i].first) << problems[i].message;
        EXPECT_EQ(problems[i].column, expected[i].second) << problems[i].message;
    }

    problems.clear();
    store.read("user bob\n", problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].line, 1);
}

TEST(CallSettingsTest, TheUsersAddressStandsForThePortsOwn)
{
    CallSettings settings;
    settings.endpoints = {{"CalcPort", "http://mine/calc"}, {"Blank", ""}};
    EXPECT_EQ(settings.endpointFor("CalcPort", "http://theirs/calc"), "http://mine/calc");
    EXPECT_EQ(settings.endpointFor("Other", "http://theirs/calc"), "http://theirs/calc");
    EXPECT_EQ(settings.endpointFor("Blank", "http://theirs/calc"), "http://theirs/calc");
}

}  // namespace
