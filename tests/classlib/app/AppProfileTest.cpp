// The application profile in the registry, the recent-file list kept there and its menu, and the
// command line.
#include "classlib/WindowTestSupport.h"
#include "support/ScopedProfileKey.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A fresh application with its registry key; the key is gone again afterwards.
class Profile : public ::testing::Test {
protected:
    void SetUp() override {
        m_app = std::make_unique<CWinApp>("ProfileApp");
        m_app->SetRegistryKey(m_profileKey.Name());
    }
    void TearDown() override { m_app.reset(); }
    testsupport::ScopedProfileKey m_profileKey{"Kelvane Tests"};
    std::unique_ptr<CWinApp> m_app;
};

TEST_F(Profile, ValuesOfEachKindRoundTrip) {
    const int ints[] = {0, 1, -1, 0x7FFFFFFF, static_cast<int>(0x80000000)};
    for (int n : ints) {
        ASSERT_TRUE(m_app->WriteProfileInt("Settings", "Number", n));
        EXPECT_EQ(static_cast<int>(m_app->GetProfileInt("Settings", "Number", 42)), n);
    }
    const char* const texts[] = {"", "plain", "C:\\path with spaces\\file.zbq", "line\r\nbreak"};
    for (const char* text : texts) {
        ASSERT_TRUE(m_app->WriteProfileString("Settings", "Text", text));
        EXPECT_STREQ(m_app->GetProfileString("Settings", "Text", "default"), text);
    }
    const std::vector<BYTE> blobs[] = {{}, {0}, {1, 0, 2, 0xFF}, std::vector<BYTE>(3000, 0xAB)};
    for (std::vector<BYTE> blob : blobs) {
        ASSERT_TRUE(m_app->WriteProfileBinary("Layout", "State", blob.data(), static_cast<UINT>(blob.size())));
        LPBYTE pData = nullptr;
        UINT nBytes = 99;
        ASSERT_TRUE(m_app->GetProfileBinary("Layout", "State", &pData, &nBytes));
        EXPECT_EQ(std::vector<BYTE>(pData, pData + nBytes), blob);
        delete[] pData;
    }
    // Stored where other programs look for them.
    HKEY hKey = nullptr;
    const std::string strSettings = m_profileKey.Path() + "\\ProfileApp\\Settings";
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, strSettings.c_str(), 0, KEY_READ, &hKey), ERROR_SUCCESS);
    ::RegCloseKey(hKey);
}

TEST_F(Profile, MissingOrMistypedValuesGiveTheDefault) {
    EXPECT_EQ(m_app->GetProfileInt("Settings", "Missing", 7), 7u);
    EXPECT_STREQ(m_app->GetProfileString("Settings", "Missing", "fallback"), "fallback");
    EXPECT_STREQ(m_app->GetProfileString("Settings", "Missing"), "");
    m_app->WriteProfileString("Settings", "Text", "12");
    EXPECT_EQ(m_app->GetProfileInt("Settings", "Text", 3), 3u) << "a string is not a number";
    LPBYTE pData = reinterpret_cast<LPBYTE>(1);
    UINT nBytes = 5;
    EXPECT_FALSE(m_app->GetProfileBinary("Settings", "Text", &pData, &nBytes));
    EXPECT_EQ(pData, nullptr);
    EXPECT_EQ(nBytes, 0u);

    EXPECT_TRUE(m_app->WriteProfileString("Settings", "Text", nullptr));
    EXPECT_STREQ(m_app->GetProfileString("Settings", "Text", "gone"), "gone");
    m_app->WriteProfileInt("Settings", "Number", 1);
    EXPECT_TRUE(m_app->WriteProfileString("Settings", nullptr, nullptr));
    EXPECT_EQ(m_app->GetProfileInt("Settings", "Number", 9), 9u) << "the section went";

    CWinApp unkeyed("Unkeyed");
    EXPECT_FALSE(unkeyed.WriteProfileInt("Settings", "Number", 1));
    EXPECT_EQ(unkeyed.GetProfileInt("Settings", "Number", 4), 4u);
}

TEST_F(Profile, RecentFilesPersistNewestFirstAndOnce) {
    m_app->LoadStdProfileSettings(3);
    ASSERT_NE(m_app->m_pRecentFileList, nullptr);
    for (const char* path : {"C:\\a.zbq", "C:\\b.zbq", "C:\\c.zbq", "c:\\A.ZBQ", "C:\\d.zbq"})
        m_app->AddToRecentFileList(path);
    EXPECT_EQ(m_app->ExitInstance(), 0);

    CWinApp reader("ProfileApp");   // the next start of the program
    reader.SetRegistryKey(m_profileKey.Name());
    reader.LoadStdProfileSettings(3);
    CRecentFileList& list = *reader.m_pRecentFileList;
    ASSERT_EQ(list.GetSize(), 3);
    EXPECT_STREQ(list[0], "C:\\d.zbq");
    EXPECT_STREQ(list[1], "c:\\A.ZBQ") << "the same file in other case moved up, as last written";
    EXPECT_STREQ(list[2], "C:\\c.zbq");

    list.Remove(0);
    reader.SaveStdProfileSettings();
    EXPECT_STREQ(reader.GetProfileString("Recent File List", "File1"), "c:\\A.ZBQ");
    EXPECT_STREQ(reader.GetProfileString("Recent File List", "File3", "none"), "none") << "no stale entry";
}

TEST_F(Profile, ARecentFileThatCannotBeOpenedLeavesTheList) {
    m_app->LoadStdProfileSettings(4);
    m_app->AddToRecentFileList("C:\\gone.zbq");
    m_app->AddToRecentFileList("C:\\kept.zbq");
    EXPECT_TRUE(m_app->OnCmdMsg(ID_FILE_MRU_FILE1 + 1, CN_COMMAND, nullptr, nullptr));
    EXPECT_STREQ((*m_app->m_pRecentFileList)[0], "C:\\kept.zbq");
    EXPECT_STREQ((*m_app->m_pRecentFileList)[1], "");
    EXPECT_FALSE(m_app->OnCmdMsg(ID_FILE_MRU_FILE1 + 3, CN_COMMAND, nullptr, nullptr)) << "an empty slot";
}

std::vector<std::string> MenuTexts(CMenu& menu) {
    std::vector<std::string> texts;
    for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
        CString strText;
        menu.GetMenuString(static_cast<UINT>(i), strText, MF_BYPOSITION);
        texts.push_back(std::string(strText) + ((menu.GetMenuState(static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) ? " (off)" : ""));
    }
    return texts;
}

TEST_F(Profile, TheMenuShowsTheRecentFilesInPlaceOfThePlaceholder) {
    m_app->LoadStdProfileSettings(4);
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    auto update = [&] {
        CCmdUI state;
        state.m_pMenu = &menu;
        state.m_nIndexMax = static_cast<UINT>(menu.GetMenuItemCount());
        for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
            state.m_nID = menu.GetMenuItemID(static_cast<int>(state.m_nIndex));
            state.DoUpdate(m_app.get(), TRUE);
        }
    };
    menu.AppendMenu(MF_STRING, ID_FILE_OPEN, "Open");
    menu.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "Recent File");
    menu.AppendMenu(MF_STRING, ID_APP_EXIT, "Exit");
    update();
    EXPECT_EQ(MenuTexts(menu), (std::vector<std::string>{"Open (off)", "Recent File (off)", "Exit"}));

    m_app->AddToRecentFileList("C:\\one.zbq");
    m_app->AddToRecentFileList("C:\\R&D\\two.zbq");
    update();
    EXPECT_EQ(MenuTexts(menu),
              (std::vector<std::string>{"Open (off)", "&1 C:\\R&&D\\two.zbq", "&2 C:\\one.zbq", "Exit"}));
    update();   // again: the same items, not twice
    EXPECT_EQ(menu.GetMenuItemCount(), 4);
    EXPECT_EQ(menu.GetMenuItemID(2), static_cast<UINT>(ID_FILE_MRU_FILE1 + 1));
}

TEST(CommandLine, ArgumentsChooseTheShellCommand) {
    struct Row {
        std::vector<const char*> args;
        int command;
        const char* file;
    };
    const Row rows[] = {
        {{}, CCommandLineInfo::FileNew, ""},
        {{"C:\\x.zbq"}, CCommandLineInfo::FileOpen, "C:\\x.zbq"},
        {{"/p", "C:\\x.c"}, CCommandLineInfo::FilePrint, "C:\\x.c"},
        {{"-Embedding"}, CCommandLineInfo::FileNew, ""},
    };
    for (const Row& row : rows) {
        CCommandLineInfo info;
        for (size_t i = 0; i < row.args.size(); ++i) {
            const char* arg = row.args[i];
            const BOOL bFlag = arg[0] == '/' || arg[0] == '-';
            info.ParseParam(bFlag ? arg + 1 : arg, bFlag, i + 1 == row.args.size());
        }
        EXPECT_EQ(info.m_nShellCommand, row.command);
        EXPECT_STREQ(info.m_strFileName, row.file);
    }
}

}  // namespace
