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
    return {[](const std::string& secret, std::string& bytes, std::string&) {
                bytes = "P:" + std::string(secret.rbegin(), secret.rend());
                return true;
            },
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

// The protected bytes are kept as hexadecimal digits; either case reads, and a
// line that is not whole pairs of digits leaves the password empty and is named.
TEST(CallSettingsTest, AProtectedPasswordReadsFromHexOfEitherCase)
{
    const CallSettingsStore store("project", testProtection());
    const struct {
        const char* hex;
        const char* password;  // null: the line is named as a problem
    } cases[] = {
        {"503a6261", "ab"}, {"503A6261", "ab"}, {"503a6F6B", "ko"}, {"", ""},
        {"503a626", nullptr}, {"503a62g1", nullptr}, {"503a6 61", nullptr}, {"0x3a6261", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hex);
        std::vector<CallSettingsProblem> problems;
        const CallSettings settings = store.read(std::string("settings 1\npassword ") + c.hex + "\n", problems);
        EXPECT_EQ(settings.password, c.password ? c.password : "");
        ASSERT_EQ(problems.size(), c.password ? 0u : 1u);
        if (!c.password) {
            EXPECT_EQ(problems[0].line, 2);
        }
    }
}

// A password the protection refuses is never kept empty in its stead: nothing is saved, the
// settings saved before stay, and the words name the password and the cause.
TEST(CallSettingsTest, APasswordThatCannotBeProtectedSavesNothing)
{
    testsupport::ScopedWorkingFolder folder;
    const std::string projectFolder = folder.path().string();
    CallSettings before;
    before.user = "alice";
    before.password = "old secret";
    std::string why;
    ASSERT_TRUE(CallSettingsStore(projectFolder, testProtection()).save(before, why)) << why;
    const std::string kept = testsupport::readBytes(CallSettingsStore(projectFolder, testProtection()).path());

    const SecretProtection refusing{[](const std::string&, std::string&, std::string& cause) {
                                        cause = "error 87: the parameter is incorrect";
                                        return false;
                                    },
                                    testProtection().unprotect};
    const SecretProtection empty{[](const std::string&, std::string& bytes, std::string&) {
                                     bytes.clear();
                                     return true;
                                 },
                                 testProtection().unprotect};
    const struct {
        const char* name;
        SecretProtection protection;
        void (*set)(CallSettings&);
        const char* words;
    } cases[] = {
        {"the password refused", refusing, [](CallSettings& s) { s.password = "new secret"; },
         "the password could not be protected for keeping: error 87: the parameter is incorrect"},
        {"the proxy password refused", refusing, [](CallSettings& s) { s.proxyPassword = "proxy secret"; },
         "the proxy password could not be protected for keeping: error 87: the parameter is incorrect"},
        {"nothing given back", empty, [](CallSettings& s) { s.password = "new secret"; },
         "the password could not be protected for keeping: the protection gave nothing back"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CallSettings next;
        next.user = "bob";
        c.set(next);
        std::string failure;
        EXPECT_FALSE(CallSettingsStore(projectFolder, c.protection).save(next, failure));
        EXPECT_EQ(failure, c.words);
        EXPECT_EQ(testsupport::readBytes(CallSettingsStore(projectFolder, testProtection()).path()), kept);
    }
    // Without a password to protect, the refusing protection is never asked.
    CallSettings plain;
    plain.user = "carol";
    EXPECT_TRUE(CallSettingsStore(projectFolder, refusing).save(plain, why)) << why;
    std::vector<std::string> problems;
    EXPECT_EQ(CallSettingsStore(projectFolder, testProtection()).load(problems).user, "carol");
}

TEST(CallSettingsTest, TheUsersAddressStandsForThePortsOwn)
{
    CallSettings settings;
    settings.endpoints = {{"CalcPort", "http://mine/calc"}, {"Blank", ""}};
    EXPECT_EQ(settings.endpointFor("CalcPort", "http://theirs/calc"), "http://mine/calc");
    EXPECT_EQ(settings.endpointFor("Other", "http://theirs/calc"), "http://theirs/calc");
    EXPECT_EQ(settings.endpointFor("Blank", "http://theirs/calc"), "http://theirs/calc");
}

// A time-out is whole seconds from 1 to a day, from the dialog and the file
// alike; anything else leaves the one before.
TEST(CallSettingsTest, ATimeOutIsWholeSecondsFromOneToADay)
{
    const struct {
        const char* text;
        int seconds; // 0: refused, 45 kept
    } cases[] = {{"1", 1}, {"90", 90}, {"86400", 86400}, {"0", 0}, {"86401", 0}, {"-5", 0}, {"", 0},
                 {"1.5", 0}, {" 9", 0}, {"9999999", 0}, {"ten", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        int seconds = 45;
        EXPECT_EQ(readTimeoutSeconds(c.text, seconds), c.seconds != 0);
        EXPECT_EQ(seconds, c.seconds != 0 ? c.seconds : 45);
    }
    const CallSettingsStore store("project", testProtection());
    std::vector<CallSettingsProblem> problems;
    const CallSettings settings = store.read("settings 1\ntimeout 0\n", problems);
    EXPECT_EQ(settings.timeoutSeconds, 30);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].line, 2);
}

}  // namespace
