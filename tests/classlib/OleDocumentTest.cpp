// The menu entry of an embedded item's verbs: greyed without verbs, a command for one, a submenu
// for more (with the convert command when asked, and no more verbs than the id range holds); only
// verbs meant for the container's menu count.
#include "classlib/ClassLib.h"
#include "classlib/Menu.h"
#include "classlib/OleDocument.h"
#include "support/FakeOleObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::CFakeOleObject;
using testsupport::CFakeVerb;

namespace {

std::string Text(HMENU hMenu, UINT nPosition) {
    char sz[128] = {};
    ::GetMenuStringA(hMenu, nPosition, sz, sizeof sz, MF_BYPOSITION);
    return sz;
}

struct Entry {
    std::string text;
    UINT nID;
};

std::vector<Entry> Entries(HMENU hMenu) {
    std::vector<Entry> entries;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) entries.push_back({Text(hMenu, i), ::GetMenuItemID(hMenu, i)});
    return entries;
}

bool operator==(const Entry& a, const Entry& b) { return a.text == b.text && a.nID == b.nID; }

const DWORD kOnMenu = OLEVERBATTRIB_ONCONTAINERMENU;

TEST(OleDocument, TheVerbEntryFollowsTheItemsVerbs) {
    struct Case {
        const char* pszName;
        std::vector<CFakeVerb> verbs;
        UINT nIDVerbMax, nIDConvert;
        std::string entry;
        UINT nEntryId;   // -1 for a submenu
        std::vector<Entry> submenu;
    };
    const Case cases[] = {
        {"no verbs", {}, 0, 0, "&Object", 100, {}},
        {"menu verbs only", {{0, L"&Edit", 0}, {-1, L"Show", kOnMenu}}, 0, 0, "&Object", 100, {}},
        {"one verb", {{0, L"&Edit", kOnMenu}}, 0, 0, "&Edit Sheet &Object", 100, {}},
        {"two verbs", {{0, L"&Edit", kOnMenu}, {1, L"&Open", kOnMenu}}, 0, 0, "Sheet &Object", UINT(-1),
         {{"&Edit", 100}, {"&Open", 101}}},
        {"one verb and convert", {{0, L"&Edit", kOnMenu}}, 0, 300, "Sheet &Object", UINT(-1),
         {{"&Edit", 100}, {"", 0}, {"&Convert...", 300}}},
        {"more verbs than ids", {{0, L"A", kOnMenu}, {1, L"B", kOnMenu}, {2, L"C", kOnMenu}}, 101, 0, "Sheet &Object",
         UINT(-1), {{"A", 100}, {"B", 101}}},
    };
    for (const Case& c : cases) {
        COleClientItem item;
        auto* pObject = new CFakeOleObject(L"Sheet", c.verbs);
        item.SetObject(pObject);
        pObject->Release();
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, 100, "");
        AfxOleSetEditMenu(&item, &menu, 0, 100, c.nIDVerbMax, c.nIDConvert);
        ASSERT_EQ(menu.GetMenuItemCount(), 1) << c.pszName;
        EXPECT_EQ(Text(menu.GetSafeHmenu(), 0), c.entry) << c.pszName;
        EXPECT_EQ(::GetMenuItemID(menu.GetSafeHmenu(), 0), c.nEntryId) << c.pszName;
        const HMENU hSubmenu = ::GetSubMenu(menu.GetSafeHmenu(), 0);
        EXPECT_EQ(hSubmenu ? Entries(hSubmenu) : std::vector<Entry>(), c.submenu) << c.pszName;
    }
}

TEST(OleDocument, AnItemHoldsItsObjectUntilEmptied) {
    auto* pObject = new CFakeOleObject(L"Sheet", {});
    {
        COleClientItem item;
        EXPECT_EQ(item.GetItemState(), COleClientItem::emptyState);
        item.SetObject(pObject);
        EXPECT_EQ(item.GetItemState(), COleClientItem::loadedState);
        EXPECT_EQ(pObject->GetRefs(), 2u);
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, 100, "");
        AfxOleSetEditMenu(nullptr, &menu, 0, 100);
        EXPECT_EQ(Text(menu.GetSafeHmenu(), 0), "&Object");
        EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);
    }
    EXPECT_EQ(pObject->GetRefs(), 1u);
    pObject->Release();
}

}  // namespace
