// The command bars' options: round trips through sections and an archive, the keys each schema
// holds, command sets that are empty or damaged, and the keyboard cues the setting gives.
#include "KeyedExchange.h"
#include "paint/PaintManagerTestSupport.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/common/PropExchangeArchive.h"

#include "classlib/ThrownException.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

using commandbars_test::CKeyedExchange;

namespace {

using Store = std::map<std::string, long>;

// Command bars with a paint manager of their own, so that the icon options stay local.
class COptionsLink : public CKLVCommandBarsLink {
public:
    COptionsLink() : m_pPaintManager(CKLVPaintManager::CreateThemeObject(0)) {}
    ~COptionsLink() override { m_pPaintManager->InternalRelease(); }
    CKLVPaintManager* GetPaintManager() const override { return m_pPaintManager; }
    void SetKeyboardCuesState(BOOL bVisible, BOOL bOnDemand) override {
        m_cues.push_back({bVisible, bOnDemand});
    }
    CKLVPaintManager* m_pPaintManager;
    std::vector<std::pair<BOOL, BOOL>> m_cues;
};

std::set<UINT> Ids(const CKLVCommandBarsOptions::CCommandSet& set) {
    std::set<UINT> ids;
    for (POSITION pos = set.GetStartPosition(); pos;) {
        UINT nId;
        BOOL bValue;
        set.GetNextAssoc(pos, nId, bValue);
        ids.insert(nId);
    }
    return ids;
}

// Every exchanged value of the options and their icon options, as text.
std::vector<std::string> Values(const CKLVCommandBarsOptions& o, const COptionsLink& link) {
    const KLVIconsInfo* pIcons = link.m_pPaintManager->GetIconsInfo();
    auto ids = [](const CKLVCommandBarsOptions::CCommandSet& set) {
        std::string text;
        for (UINT nId : Ids(set)) text += std::to_string(nId) + ",";
        return text;
    };
    auto size = [](CSize sz) { return std::to_string(sz.cx) + "x" + std::to_string(sz.cy); };
    return {std::to_string(o.bAlwaysShowFullMenus), std::to_string(o.bShowFullAfterDelay),
            std::to_string(o.bToolBarScreenTips), std::to_string(o.bToolBarAccelTips), std::to_string(o.bLargeIcons),
            ids(o.m_mapUsedCommands), std::to_string(o.animateType), std::to_string(o.bSyncFloatingBars),
            std::to_string(o.bShowExpandButtonAlways), size(o.szIcons), size(o.szLargeIcons),
            ids(o.m_mapHiddenCommands), std::to_string(pIcons->bIconsWithShadow),
            std::to_string(pIcons->bUseDisabledIcons), std::to_string(pIcons->bUseFadedIcons),
            std::to_string(o.bDblClickFloat), std::to_string(o.bShowTextBelowIcons),
            std::to_string(o.bAltDragCustomization), std::to_string(o.bAutoHideUnusedPopups), size(o.szPopupIcons),
            std::to_string(o.keyboardCuesUse), std::to_string(o.keyboardCuesShow)};
}

void ChangeEverything(CKLVCommandBarsOptions& o, COptionsLink& link) {
    o.bAlwaysShowFullMenus = FALSE;
    o.bShowFullAfterDelay = FALSE;
    o.bToolBarScreenTips = FALSE;
    o.bToolBarAccelTips = TRUE;
    o.bLargeIcons = TRUE;
    o.m_mapUsedCommands.SetAt(100, TRUE);
    o.m_mapUsedCommands.SetAt(0xE100, TRUE);
    o.animateType = 3;
    o.bSyncFloatingBars = FALSE;
    o.bShowExpandButtonAlways = FALSE;
    o.szIcons = CSize(24, 24);
    o.szLargeIcons = CSize(32, 32);
    o.m_mapHiddenCommands.SetAt(200, TRUE);
    KLVIconsInfo* pIcons = link.m_pPaintManager->GetIconsInfo();
    pIcons->bIconsWithShadow = TRUE;
    pIcons->bUseDisabledIcons = FALSE;
    pIcons->bUseFadedIcons = FALSE;
    o.bDblClickFloat = TRUE;
    o.bShowTextBelowIcons = TRUE;
    o.bAltDragCustomization = FALSE;
    o.bAutoHideUnusedPopups = FALSE;
    o.szPopupIcons = CSize(20, 20);
    o.keyboardCuesUse = 5;
    o.keyboardCuesShow = 1;
}

std::string StoreArchive(CKLVCommandBarsOptions& options, BOOL bUserOptionsOnly = FALSE) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CKLVPropExchangeArchive px(ar);
        options.DoPropExchange(&px, bUserOptionsOnly);
    }
    const size_t length = static_cast<size_t>(file.GetLength());
    BYTE* data = file.Detach();
    std::string bytes(reinterpret_cast<char*>(data), length);
    std::free(data);
    return bytes;
}

void LoadArchive(CKLVCommandBarsOptions& options, std::string bytes) {
    CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    options.Serialize(ar);
}

class CommandBarsOptions : public ::testing::Test {
protected:
    void SetUp() override {
        CKLVFlatTestTheme::Register();
        m_stored.m_pCommandBars = &m_storingLink;
        m_loaded.m_pCommandBars = &m_loadingLink;
    }
    COptionsLink m_storingLink, m_loadingLink;
    CKLVCommandBarsOptions m_stored, m_loaded;
};

}  // namespace

TEST_F(CommandBarsOptions, EveryValueRoundTripsThroughSectionsAndAnArchive) {
    ChangeEverything(m_stored, m_storingLink);
    const std::vector<std::string> expected = Values(m_stored, m_storingLink);
    ASSERT_NE(Values(m_loaded, m_loadingLink), expected);

    Store store;
    CKeyedExchange storing(store, FALSE);
    m_stored.DoPropExchange(&storing);
    EXPECT_EQ(store["Schema"], 23);
    EXPECT_EQ(store["HiddenCommands\\Count"], 1);
    EXPECT_EQ(store["HiddenCommands\\Item0"], 200);
    CKeyedExchange loading(store, TRUE);
    m_loaded.DoPropExchange(&loading);
    EXPECT_EQ(Values(m_loaded, m_loadingLink), expected);
    EXPECT_EQ(m_loadingLink.m_cues, (std::vector<std::pair<BOOL, BOOL>>{{FALSE, FALSE}}));

    CKLVCommandBarsOptions archived;
    COptionsLink archivedLink;
    archived.m_pCommandBars = &archivedLink;
    LoadArchive(archived, StoreArchive(m_stored));
    EXPECT_EQ(Values(archived, archivedLink), expected);
}

TEST_F(CommandBarsOptions, TheArchiveHoldsTheKeysInTheirOrderWithTwoWrittenTwice) {
    // Schema, 5 switches, used set, animation, 2 switches, 2 sizes, hidden set, 3 icon options,
    // the 2 switches again, 4 switches, a size, and the two cue values.
    EXPECT_EQ(StoreArchive(m_stored).size(), 4u + 5 * 4 + 2 + 4 + 2 * 4 + 2 * 8 + 2 + 3 * 4 + 2 * 4 + 4 * 4 + 8 + 2 * 4);
    // User options end after the animation.
    EXPECT_EQ(StoreArchive(m_stored, TRUE).size(), 4u + 5 * 4 + 2 + 4);
}

TEST_F(CommandBarsOptions, OlderSchemasKeepTheUsedSetEmptyAndTheAnimationOff) {
    ChangeEverything(m_stored, m_storingLink);
    const struct {
        long nSchema;
        BOOL bUserOptionsOnly;
        size_t nUsed;
        long nAnimation;
        BOOL bDblClickFloat;
        long nCuesUse;
    } cases[] = {
        {23, FALSE, 2, 3, TRUE, 5},
        {8, FALSE, 2, 3, TRUE, 1},
        {7, FALSE, 0, 0, FALSE, 1},
        {7, TRUE, 0, 3, FALSE, 1},
    };
    for (const auto& c : cases) {
        Store store;
        CKeyedExchange storing(store, FALSE);
        m_stored.DoPropExchange(&storing);
        store["Schema"] = c.nSchema;
        CKLVCommandBarsOptions loaded;
        COptionsLink link;
        loaded.m_pCommandBars = &link;
        CKeyedExchange loading(store, TRUE);
        loaded.DoPropExchange(&loading, c.bUserOptionsOnly);
        EXPECT_EQ(Ids(loaded.m_mapUsedCommands).size(), c.nUsed) << c.nSchema << "/" << c.bUserOptionsOnly;
        EXPECT_EQ(loaded.animateType, c.nAnimation) << c.nSchema << "/" << c.bUserOptionsOnly;
        EXPECT_EQ(loaded.bDblClickFloat, c.bDblClickFloat) << c.nSchema << "/" << c.bUserOptionsOnly;
        EXPECT_EQ(loaded.keyboardCuesUse, c.nCuesUse) << c.nSchema << "/" << c.bUserOptionsOnly;
    }
}

TEST_F(CommandBarsOptions, EmptySetsAreNotWrittenAndDamagedCountsChangeNothing) {
    Store store;
    CKeyedExchange storing(store, FALSE);
    m_stored.DoPropExchange(&storing);
    for (const auto& entry : store) EXPECT_EQ(entry.first.find("Commands"), std::string::npos) << entry.first;

    m_loaded.m_mapHiddenCommands.SetAt(7, TRUE);
    {
        CKeyedExchange loading(store, TRUE);
        m_loaded.DoPropExchange(&loading);
    }
    EXPECT_TRUE(Ids(m_loaded.m_mapHiddenCommands).empty());

    for (long nCount : {-1L, 0x7FFFFFFFL, 0x10001L}) {
        Store damaged = {{"HiddenCommands\\Count", nCount}, {"HiddenCommands\\Item0", 5}};
        m_loaded.m_mapHiddenCommands.SetAt(7, TRUE);
        CKeyedExchange loading(damaged, TRUE);
        m_loaded.DoPropExchange(&loading);
        EXPECT_EQ(Ids(m_loaded.m_mapHiddenCommands), std::set<UINT>{7}) << nCount;
    }

    // In an archive a damaged count ends the load with the set as it was.
    m_stored.m_mapHiddenCommands.SetAt(9, TRUE);
    std::string bytes = StoreArchive(m_stored);
    const size_t nHiddenCount = 4 + 5 * 4 + 2 + 4 + 2 * 4 + 2 * 8;
    ASSERT_EQ(bytes.substr(nHiddenCount, 2), std::string("\x01\x00", 2));
    bytes.replace(nHiddenCount, 2, std::string("\xFF\xFF\xFF\xFF\xFF\x7F", 6));
    EXPECT_EQ(ThrownCause<CArchiveException>([&] { LoadArchive(m_loaded, bytes); }), CArchiveException::badIndex);
    EXPECT_EQ(Ids(m_loaded.m_mapHiddenCommands), std::set<UINT>{7});
}

TEST_F(CommandBarsOptions, KeyboardCuesFollowTheSettingAndTheSystem) {
    BOOL bSaved = TRUE;
    ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &bSaved, 0);
    const struct {
        int nShow;
        BOOL bSystemCues;
        BOOL bVisible, bOnDemand;
    } cases[] = {
        {CKLVCommandBarsOptions::cuesShowAlways, FALSE, TRUE, FALSE},
        {CKLVCommandBarsOptions::cuesShowNever, TRUE, FALSE, FALSE},
        {CKLVCommandBarsOptions::cuesShowAsSystem, TRUE, TRUE, FALSE},
        {CKLVCommandBarsOptions::cuesShowAsSystem, FALSE, FALSE, TRUE},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(::SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(c.bSystemCues)), 0));
        m_loadingLink.m_cues.clear();
        m_loaded.SetKeyboardCuesShow(c.nShow);
        EXPECT_EQ(m_loaded.keyboardCuesShow, c.nShow);
        EXPECT_EQ(m_loadingLink.m_cues, (std::vector<std::pair<BOOL, BOOL>>{{c.bVisible, c.bOnDemand}}))
            << c.nShow << "/" << c.bSystemCues;
    }
    ::SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(bSaved)), 0);
}
