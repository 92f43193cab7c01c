// Accelerator manager: shortcut choice and text, translation with the disable level, and the
// table's archive and section round trips with damaged loads refused.
#include "classlib/ClassLib.h"
#include "KeyedExchange.h"
#include "toolkit/commandbars/shortcuts/AccelManager.h"
#include "toolkit/common/PropExchangeArchive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>

namespace {

constexpr BYTE kVirtCtrl = FVIRTKEY | FCONTROL;

HACCEL MakeTable(std::vector<ACCEL> entries) {
    return ::CreateAcceleratorTableA(entries.data(), static_cast<int>(entries.size()));
}

std::vector<ACCEL> Entries(HACCEL hAccel) {
    std::vector<ACCEL> entries(static_cast<size_t>(hAccel ? ::CopyAcceleratorTableA(hAccel, nullptr, 0) : 0));
    if (!entries.empty()) ::CopyAcceleratorTableA(hAccel, entries.data(), static_cast<int>(entries.size()));
    return entries;
}

CString Name(UINT vk) { return CKLVAccelManager::GetSystemKeyName(vk); }

using commandbars_test::CKeyedExchange;

std::string Store(CKLVAccelManager& manager) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CKLVPropExchangeArchive px(ar);
        manager.DoPropExchange(&px);
    }
    const size_t length = static_cast<size_t>(file.GetLength());
    BYTE* data = file.Detach();
    std::string bytes(reinterpret_cast<char*>(data), length);
    std::free(data);
    return bytes;
}

BOOL Load(CKLVAccelManager& manager, std::string bytes) {
    CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CKLVPropExchangeArchive px(ar);
    px.m_bLoading = TRUE;
    return manager.LoadAccelTable(&px);
}

}  // namespace

TEST(AccelManager, ShortcutTextAndChoice) {
    CKLVAccelManager manager;
    manager.SetAccelTable(MakeTable({{kVirtCtrl, 'S', 1}, {FVIRTKEY, VK_F12, 1}, {FVIRTKEY | FSHIFT | FALT, 'A', 2},
                                     {FVIRTKEY | FALT, 'B', 3}, {FVIRTKEY | FSHIFT, 'C', 3}}));
    const CString ctrlS = Name(VK_CONTROL) + "+" + Name('S');
    const struct {
        UINT cmd;
        CString in, out;
        BOOL found;
    } cases[] = {
        {1, "", Name(VK_F12), TRUE},              // a plain key beats Ctrl
        {1, ctrlS, ctrlS, TRUE},                  // a shortcut already shown is kept
        {1, "Ctrl+Q", Name(VK_F12), TRUE},        // text that is no shortcut of it is replaced
        {2, "", Name(VK_SHIFT) + "+" + Name(VK_MENU) + "+" + Name('A'), TRUE},
        {3, "", Name(VK_MENU) + "+" + Name('B'), TRUE},  // Alt beats Shift
        {9, "stale", "", FALSE},
    };
    for (const auto& c : cases) {
        CString text = c.in;
        EXPECT_EQ(c.found, manager.FindShortcut(c.cmd, text)) << c.cmd;
        EXPECT_STREQ(c.out, text) << c.cmd;
    }
    ACCEL charKey = {0, 'x', 4}, escape = {FVIRTKEY, VK_ESCAPE, 5};
    EXPECT_STREQ("x", manager.FormatShortcut(&charKey));
    EXPECT_FALSE(manager.IsAccelAllowed(&escape));
    manager.m_bAllowEscapeShortcut = TRUE;
    EXPECT_TRUE(manager.IsAccelAllowed(&escape));
}

TEST(AccelManager, KeyNamesAreCapitalisedAndOwnNamesOrdered) {
    const CString system = Name(VK_F12);
    ASSERT_FALSE(system.IsEmpty());
    EXPECT_FALSE(::IsCharLowerA(system[0]));
    CString raw(' ', 256);
    const int n = ::GetKeyNameTextA((::MapVirtualKeyA(VK_F12, 0) << 16) | 1, raw.GetBuffer(256), 256);
    raw.ReleaseBuffer(n);
    EXPECT_EQ(0, raw.CompareNoCase(system));
    EXPECT_TRUE(Name(VK_CANCEL).IsEmpty());

    CKLVAccelManager manager;
    manager.m_mapKeyNames[VK_F12] = "Twelve";
    EXPECT_STREQ("Twelve", manager.GetKeyName(VK_F12));
    manager.m_bUseSystemKeyNameText = TRUE;
    EXPECT_STREQ(system, manager.GetKeyName(VK_F12));
}

TEST(AccelManager, DisableLevelStopsTranslationAndResetCopiesDefault) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "accel", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    CKLVAccelManager manager;
    EXPECT_FALSE(manager.TranslateAccel(wnd.GetSafeHwnd(), nullptr));
    manager.SetDefaultAccelTable(MakeTable({{FVIRTKEY, VK_F12, 7}}));
    manager.Reset();
    ASSERT_EQ(1u, Entries(manager.GetAccelTable()).size());
    MSG msg = {};
    msg.hwnd = wnd.GetSafeHwnd();
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_F12;
    msg.lParam = 0x00580001;
    EXPECT_TRUE(manager.TranslateAccel(wnd.GetSafeHwnd(), &msg));
    manager.DisableAccelerators(TRUE);
    EXPECT_FALSE(manager.TranslateAccel(wnd.GetSafeHwnd(), &msg));
    manager.DisableAccelerators(FALSE);
    EXPECT_TRUE(manager.TranslateAccel(wnd.GetSafeHwnd(), &msg));
    EXPECT_EQ(nullptr, CopyAccelTable(nullptr));
    wnd.DestroyWindow();
}

TEST(AccelManager, ArchiveRoundTripAndDamagedLoadsRefused) {
    CKLVAccelManager source;
    source.SetAccelTable(MakeTable({{kVirtCtrl, 'S', 0xE103}, {FVIRTKEY, VK_F12, 0x8001}}));
    const std::string good = Store(source);
    ASSERT_EQ(2u + 12u, good.size());  // a WORD count, then two raw 6-byte entries

    CKLVAccelManager target;
    ASSERT_TRUE(Load(target, good));
    const std::vector<ACCEL> loaded = Entries(target.GetAccelTable());
    ASSERT_EQ(2u, loaded.size());
    EXPECT_EQ(0x8001, loaded[1].cmd);
    EXPECT_EQ(VK_F12, loaded[1].key);

    const std::string huge = std::string("\xFF\xFF\xFF\xFF\xFF\x7F", 6) + good.substr(2);
    const std::string negative = std::string("\xFF\xFF\xFF\xFF\xFF\xFF", 6) + good.substr(2);
    for (const std::string& damaged : {good.substr(0, 9), huge, negative, std::string("\x03\x00", 2) + good.substr(2),
                                       std::string()}) {
        EXPECT_FALSE(Load(target, damaged)) << damaged.size();
        EXPECT_EQ(2u, Entries(target.GetAccelTable()).size());
    }
}

TEST(AccelManager, SectionRoundTripAndEmptyEnumeration) {
    std::map<std::string, long> store;
    CKLVAccelManager source;
    source.SetAccelTable(MakeTable({{FVIRTKEY, VK_F5, 0xE101}, {kVirtCtrl, 'O', 0x8002}}));
    CKeyedExchange storing(store, FALSE);
    source.DoPropExchange(&storing);
    EXPECT_EQ(2, store["Count"]);
    EXPECT_EQ(static_cast<short>(0xE101), store["Accel0\\Id"]);  // a short: the id through WORD

    CKLVAccelManager target;
    CKeyedExchange loading(store, TRUE);
    ASSERT_TRUE(target.LoadAccelTable(&loading));
    const std::vector<ACCEL> loaded = Entries(target.GetAccelTable());
    ASSERT_EQ(2u, loaded.size());
    EXPECT_EQ(0xE101, loaded[0].cmd);
    EXPECT_EQ(kVirtCtrl, loaded[1].fVirt & ~0x80);

    std::map<std::string, long> bad = {{"Count", -1}};
    CKeyedExchange refused(bad, TRUE);
    EXPECT_FALSE(target.LoadAccelTable(&refused));
    EXPECT_EQ(2u, Entries(target.GetAccelTable()).size());

    std::map<std::string, long> empty;
    CKeyedExchange emptyLoad(empty, TRUE);
    EXPECT_TRUE(target.LoadAccelTable(&emptyLoad));
    EXPECT_EQ(nullptr, target.GetAccelTable());
}
