// Bars and controls through the archive property exchange: every class can be stored by class
// name and recreated with the toolkit's schema; a control's keys round-trip, each from the schema
// that brought it, and a loading control finds its action.
#include "ArchiveExchangeRoundTrip.h"
#include "ControlTestSupport.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/controlbase/PropExchangeParam.h"
#include "toolkit/commandbars/controls/ControlEdit.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/PropExchangeArchive.h"
#include "toolkit/common/StartupRegistrations.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>
#include <string>

namespace commandbars_test {
namespace {

void Release(CObject* pObject) {
    if (pObject) static_cast<CCmdTarget*>(pObject)->InternalRelease();
}

struct Releaser {
    void operator()(CCmdTarget* p) const { p->InternalRelease(); }
};
template <class T>
using Ref = std::unique_ptr<T, Releaser>;

TEST(CommandBarClassRecords, EveryClassStoresAndLoadsThroughTheArchiveExchange) {
    const struct {
        CRuntimeClass* pClass;
        CRuntimeClass* pRequested;
    } classes[] = {
        {RUNTIME_CLASS(CKLVCommandBar), RUNTIME_CLASS(CKLVCommandBar)},
        {RUNTIME_CLASS(CKLVPopupBar), RUNTIME_CLASS(CKLVCommandBar)},
        {RUNTIME_CLASS(CKLVControl), RUNTIME_CLASS(CKLVControl)},
        {RUNTIME_CLASS(CKLVControlButton), RUNTIME_CLASS(CKLVControl)},
        {RUNTIME_CLASS(CKLVControlPopup), RUNTIME_CLASS(CKLVControl)},
        {RUNTIME_CLASS(CKLVControls), RUNTIME_CLASS(CKLVControls)},
    };
    for (const auto& c : classes) {
        const char* pszName = c.pClass->m_lpszClassName;
        EXPECT_EQ(c.pClass->m_wSchema, UINT(VERSIONABLE_SCHEMA | KLV_SCHEMA_VERSION)) << pszName;
        EXPECT_EQ(FindRuntimeClass(pszName), c.pClass) << pszName;

        CObject* pStored = c.pClass->CreateObject();
        ASSERT_NE(pStored, nullptr) << pszName;
        Bytes bytes;
        try {
            bytes = StoreWith([&](CKLVPropExchange* px) { EXPECT_TRUE(px->ExchangeObject(pStored, c.pRequested)); });
        } catch (CException* e) {
            e->Delete();
            ADD_FAILURE() << pszName << " could not be stored";
        }
        Release(pStored);
        // A new class record: its tag, the schema, the name.
        EXPECT_EQ(bytes.substr(0, 4), Bytes("\xFF\xFF\x17\x00", 4)) << pszName;

        CObject* pLoaded = nullptr;
        UINT nSchema = 0;
        LoadWith(bytes, [&](CKLVPropExchange* px) {
            EXPECT_TRUE(px->ExchangeObject(pLoaded, c.pRequested)) << pszName;
            nSchema = px->GetSchema();
        });
        ASSERT_NE(pLoaded, nullptr) << pszName;
        EXPECT_EQ(pLoaded->GetRuntimeClass(), c.pClass) << pszName;
        EXPECT_EQ(nSchema, 23u) << pszName;
        Release(pLoaded);
    }
}

// A control with every key away from its default.
void Fill(CKLVControlButton& control) {
    control.m_nId = 31;
    control.m_nIconId = 32;
    control.m_bBeginGroup = TRUE;
    control.m_nTag = 0xFFFFFFF0;
    control.m_dwFlags = 0x81;
    control.m_dwHideFlags = 0x10;
    control.m_strCaption = "&Caption";
    control.m_strShortcutText = "Ctrl+C";
    control.m_strTooltipText = "Tip";
    control.m_strDescriptionText = "Description";
    control.m_strParameter = "Parameter";
    control.m_strCustomCaption = "Custom";
    control.m_strCategory = "Category";
    control.m_mapDocTemplatesExcluded.SetAt(5, TRUE);
    control.m_mapDocTemplatesAssigned.SetAt(6, TRUE);
    control.m_mapDocTemplatesAssigned.SetAt(7, FALSE);
    control.m_bDefaultItem = TRUE;
    control.m_bCloseSubMenuOnClick = FALSE;
    control.m_nCustomStyle = 0;
    control.m_nHelpId = 33;
    control.m_nStyle = CKLVControl::styleIconAndCaption;
    control.m_nWidth = 34;
    control.m_nHeight = 35;
    control.m_nExecuteOnPressInterval = 36;
    control.m_strShortcutTextAuto = "Auto";
}

// What a loaded control holds, key by key, for comparing with what was stored.
std::vector<std::string> Keys(CKLVControlButton& c) {
    auto set = [](const CMap<int, int, BOOL, BOOL>& map) {
        std::string text;
        for (POSITION pos = map.GetStartPosition(); pos;) {
            int nId;
            BOOL bValue;
            map.GetNextAssoc(pos, nId, bValue);
            text += std::to_string(nId) + "=" + std::to_string(bValue) + ";";
        }
        return text;
    };
    return {std::to_string(c.m_nType), std::to_string(c.m_nId), std::to_string(c.m_nIconId),
            std::to_string(c.m_bBeginGroup), std::to_string(c.m_nTag), std::to_string(c.m_dwFlags),
            std::to_string(c.m_dwHideFlags), std::string(c.m_strCaption), std::string(c.m_strShortcutText),
            std::string(c.m_strTooltipText), std::string(c.m_strDescriptionText), std::string(c.m_strParameter),
            std::string(c.m_strCustomCaption), std::string(c.m_strCategory), set(c.m_mapDocTemplatesExcluded),
            set(c.m_mapDocTemplatesAssigned), std::to_string(c.m_bDefaultItem),
            std::to_string(c.m_bCloseSubMenuOnClick), std::to_string(c.m_nCustomStyle), std::to_string(c.m_nHelpId),
            std::to_string(c.m_nStyle), std::to_string(c.m_nWidth), std::to_string(c.m_nHeight),
            std::to_string(c.m_nExecuteOnPressInterval), std::string(c.m_strShortcutTextAuto)};
}

enum KeyIndex {
    keyCategory = 13, keyExcluded = 14, keyAssigned = 15, keyDefaultItem = 16, keyCloseSubMenu = 17,
    keyCustomStyle = 18, keyHelpId = 19, keyStyle = 20, keyWidth = 21, keyHeight = 22, keyInterval = 23,
    keyShortcutAuto = 24
};

TEST(ControlExchange, EveryKeyFromTheSchemaThatBroughtIt) {
    struct Case {
        UINT nSchema;
        std::vector<int> defaulted;   // keys a load at this schema leaves as a fresh control has them
        const char* pszCustomStyle;   // the style of the user's after the load
    };
    const Case cases[] = {
        {23, {}, "0"},
        {22, {keyShortcutAuto}, "0"},
        {18, {keyWidth, keyHeight, keyInterval, keyShortcutAuto}, "0"},
        // Before 18 a button keeps its style among its own keys, and 0 meant no style of the user's.
        {17, {keyWidth, keyHeight, keyInterval, keyShortcutAuto}, "-1"},
        {16, {keyHelpId, keyWidth, keyHeight, keyInterval, keyShortcutAuto}, "-1"},
        {7, {keyCustomStyle, keyHelpId, keyWidth, keyHeight, keyInterval, keyShortcutAuto}, "-1"},
        {3, {keyDefaultItem, keyExcluded, keyAssigned, keyCloseSubMenu, keyCustomStyle, keyHelpId, keyWidth, keyHeight,
             keyInterval, keyShortcutAuto}, "-1"},
        {1, {keyCategory, keyDefaultItem, keyExcluded, keyAssigned, keyCloseSubMenu, keyCustomStyle, keyHelpId,
             keyWidth, keyHeight, keyInterval, keyShortcutAuto}, "-1"},
    };
    Ref<CKLVControlButton> pStored(new CKLVControlButton);
    Fill(*pStored);
    Ref<CKLVControlButton> pFresh(new CKLVControlButton);
    const std::vector<std::string> stored = Keys(*pStored), fresh = Keys(*pFresh);
    for (const Case& c : cases) {
        Ref<CKLVControlButton> pLoaded(new CKLVControlButton);
        RoundTrip(pStored.get(), pLoaded.get(), c.nSchema);
        std::vector<std::string> expected = stored;
        for (int nKey : c.defaulted) expected[static_cast<size_t>(nKey)] = fresh[static_cast<size_t>(nKey)];
        expected[keyCustomStyle] = c.pszCustomStyle;
        EXPECT_EQ(Keys(*pLoaded), expected) << "schema " << c.nSchema;
    }
}

TEST(ControlExchange, EmptyTemplateSetsAreLeftOutWhereDefaultsAreSkipped) {
    Ref<CKLVControlButton> pControl(new CKLVControlButton);
    const auto store = [&](BOOL bOmit) {
        return StoreWith([&](CKLVPropExchange* px) { pControl->DoPropExchange(px); }, bOmit);
    };
    // Each empty set is a count of 0 in two bytes.
    EXPECT_EQ(store(FALSE).size(), store(TRUE).size() + 4);
    pControl->m_mapDocTemplatesAssigned.SetAt(9, TRUE);
    EXPECT_EQ(store(FALSE).size(), store(TRUE).size() + 2);
}

TEST(ControlExchange, ALoadedControlTakesItsActionAndItsCustomIcon) {
    // The command bars lend their actions through the exchange's parameters.
    class CActionsLink : public CKLVCommandBarsLink {
    public:
        CKLVControlActions* GetActions() const override { return m_pActions; }
        CKLVControlActions* m_pActions = nullptr;
    } link;
    CKLVControlActions actions;
    CKLVControlAction* pAction = actions.Add(41);
    pAction->SetCaption("From the action");
    link.m_pActions = &actions;
    CKLVPropExchangeParam param;
    param.pLink = &link;

    // Bars with image managers of their own: the custom icon travels with the control.
    HICON hIcon = ::CreateIcon(nullptr, 16, 16, 1, 1, std::vector<BYTE>(32, 0xFF).data(), std::vector<BYTE>(32, 0).data());
    CKLVCommandBar storing, loading;
    auto* pStoringImages = new CKLVImageManager;
    auto* pLoadingImages = new CKLVImageManager;
    storing.SetImageManager(pStoringImages);
    loading.SetImageManager(pLoadingImages);
    pStoringImages->SetIcon(CKLVImageManagerIconHandle(hIcon, TRUE), 900, CSize(16, 16));

    const struct {
        int nId;
        BOOL bBound;
    } cases[] = {{41, TRUE}, {42, FALSE}};
    for (const auto& c : cases) {
        auto* pStored = static_cast<CKLVControlButton*>(storing.GetControls()->Append(new CKLVControlButton));
        pStored->m_nId = c.nId;
        pStored->m_nCustomIconId = 900;
        const Bytes bytes = StoreWith([&](CKLVPropExchange* px) { pStored->DoPropExchange(px); });
        auto* pLoaded = static_cast<CKLVControlButton*>(loading.GetControls()->Append(new CKLVControlButton));
        LoadWith(bytes, [&](CKLVPropExchange* px) {
            px->m_pContext = &param;
            pLoaded->DoPropExchange(px);
        });
        EXPECT_EQ(pLoaded->GetAction(), c.bBound ? pAction : nullptr) << c.nId;
        EXPECT_EQ(pLoaded->GetCaption(), c.bBound ? CString("From the action") : CString()) << c.nId;
        EXPECT_NE(pLoadingImages->GetImage(900, 16), nullptr) << c.nId;
        EXPECT_EQ(KLVImageManager()->GetImage(900, 16), nullptr) << c.nId;
    }
    loading.GetControls()->RemoveAll();
}

TEST(ControlExchange, AnEditKeepsItsKeysFromTheSchemaThatBroughtThem) {
    // Label, width, read-only, hint, completion flags, edit style, spin buttons.
    const auto keys = [](CKLVControlEdit& c) {
        return std::vector<std::string>{std::to_string(c.m_bHasLabel), std::to_string(c.GetWidth()),
                                        std::to_string(c.m_bReadOnly), std::string(c.m_strEditHint),
                                        std::to_string(c.m_dwShellAutoCompleteFlags), std::to_string(c.m_dwEditStyle),
                                        std::to_string(c.m_bShowSpinButtons)};
    };
    const struct {
        UINT nSchema;
        int nKeysKept;
    } cases[] = {{23, 7}, {19, 7}, {18, 6}, {17, 6}, {16, 5}, {9, 5}, {8, 3}, {6, 2}, {5, 0}};
    Ref<CKLVControlEdit> pStored(new CKLVControlEdit);
    pStored->m_bHasLabel = TRUE;
    pStored->SetWidth(160);
    pStored->m_bReadOnly = TRUE;
    pStored->m_strEditHint = "Find what";
    pStored->m_dwShellAutoCompleteFlags = 0x10000001;
    pStored->m_dwEditStyle = ES_NUMBER;
    pStored->m_bShowSpinButtons = TRUE;
    Ref<CKLVControlEdit> pFresh(new CKLVControlEdit);
    const std::vector<std::string> stored = keys(*pStored), fresh = keys(*pFresh);
    for (const auto& c : cases) {
        Ref<CKLVControlEdit> pLoaded(new CKLVControlEdit);
        RoundTrip(pStored.get(), pLoaded.get(), c.nSchema);
        std::vector<std::string> expected = fresh;
        for (int i = 0; i < c.nKeysKept; ++i) expected[static_cast<size_t>(i)] = stored[static_cast<size_t>(i)];
        // From schema 18 the control's own keys carry the width too.
        if (c.nSchema >= 18) expected[1] = stored[1];
        EXPECT_EQ(keys(*pLoaded), expected) << "schema " << c.nSchema;
    }
}

TEST(ControlExchange, APopupSavesTheIdOfItsBar) {
    CTestSite site;
    Ref<CKLVControlPopup> pStored(new CKLVControlPopup);
    auto* pBar = new CKLVPopupBar;
    pBar->m_nBarID = 0x1000003;
    pStored->SetCommandBar(pBar);
    pBar->InternalRelease();
    const Bytes bytes = StoreWith([&](CKLVPropExchange* px) { pStored->DoPropExchange(px); });
    Ref<CKLVControlPopup> pLoaded(new CKLVControlPopup);
    LoadWith(bytes, [&](CKLVPropExchange* px) { pLoaded->DoPropExchange(px); });
    EXPECT_EQ(pLoaded->m_nCommandBarId, 0x1000003u);
    EXPECT_EQ(pLoaded->GetCommandBar(), nullptr);
}

TEST(PopupBarExchange, KeysInTheirOrderEachFromTheSchemaThatBroughtIt) {
    // What a popup keeps, written key by key in the store's order after the bar's own keys.
    struct Values {
        BOOL bTearOff;
        CString strCaption;
        long nId, nWidth;
        RECT rcBorders;
        BOOL bShadow, bDoubleGripper, bContextMenu;
    };
    const Values stored = {TRUE, "Torn", 41, 120, {1, 2, 3, 5}, FALSE, TRUE, TRUE};
    const Values defaults = {FALSE, "", 0, 0, {2, 4, 2, 4}, TRUE, FALSE, FALSE};
    // The bar's own keys come first, its style among them.
    auto Write = [](CKLVPropExchange* px, Values v, DWORD dwStyle) {
        Ref<CKLVPopupBar> pBase(new CKLVPopupBar);
        pBase->m_dwStyle = dwStyle;
        pBase->CKLVCommandBar::DoPropExchange(px);
        const UINT nSchema = px->GetSchema();
        PX_Bool(px, "TearOffPopup", v.bTearOff, FALSE);
        PX_String(px, "TearOffCaption", v.strCaption, "");
        PX_Long(px, "TearOffId", v.nId, 0);
        PX_Long(px, "TearOffWidth", v.nWidth, 0);
        if (nSchema > 3) {
            PX_Rect(px, "Borders", v.rcBorders, CRect(2, 4, 2, 4));
            PX_Bool(px, "ShowShadow", v.bShadow, TRUE);
        }
        if (nSchema > 8) PX_Bool(px, "DoubleGripper", v.bDoubleGripper, FALSE);
        if (nSchema > 18) PX_Bool(px, "ContextMenu", v.bContextMenu, FALSE);
    };
    struct Case {
        UINT nSchema;
        BOOL bBorders, bDoubleGripper, bContextMenu, bGripperForced;
    } const cases[] = {
        {23, TRUE, TRUE, TRUE, FALSE}, {20, TRUE, TRUE, TRUE, FALSE}, {19, TRUE, TRUE, TRUE, TRUE},
        {18, TRUE, TRUE, FALSE, TRUE}, {9, TRUE, TRUE, FALSE, TRUE},  {8, TRUE, FALSE, FALSE, TRUE},
        {4, TRUE, FALSE, FALSE, TRUE}, {3, FALSE, FALSE, FALSE, TRUE},
    };
    for (const Case& c : cases) {
        const Bytes bytes = StoreWith([&](CKLVPropExchange* px) {
            px->m_dwSchema = c.nSchema;
            Write(px, stored, 0);
        });
        Ref<CKLVPopupBar> pLoaded(new CKLVPopupBar);
        pLoaded->m_dwStyle = 0;
        LoadWith(bytes, [&](CKLVPropExchange* px) {
            px->m_dwSchema = c.nSchema;
            pLoaded->DoPropExchange(px);
        });
        const Values& borders = c.bBorders ? stored : defaults;
        EXPECT_EQ(pLoaded->m_bTearOffPopup, stored.bTearOff) << c.nSchema;
        EXPECT_STREQ(pLoaded->m_strTearOffCaption, stored.strCaption) << c.nSchema;
        EXPECT_EQ(pLoaded->m_nTearOffID, UINT(stored.nId)) << c.nSchema;
        EXPECT_EQ(pLoaded->m_nTearOffWidth, stored.nWidth) << c.nSchema;
        EXPECT_EQ(CRect(pLoaded->m_rcBorders), CRect(borders.rcBorders)) << c.nSchema;
        EXPECT_EQ(pLoaded->m_bShowShadow, borders.bShadow) << c.nSchema;
        EXPECT_EQ(pLoaded->m_bDoubleGripper, (c.bDoubleGripper ? stored : defaults).bDoubleGripper) << c.nSchema;
        EXPECT_EQ(pLoaded->m_bContextMenu, (c.bContextMenu ? stored : defaults).bContextMenu) << c.nSchema;
        EXPECT_EQ(pLoaded->IsGripperVisible(), c.bGripperForced) << c.nSchema;

        // What the popup writes reads back through the same keys (with the gripper it took on).
        const Bytes written = StoreWith([&](CKLVPropExchange* px) {
            px->m_dwSchema = c.nSchema;
            pLoaded->DoPropExchange(px);
        });
        const Bytes expected = StoreWith([&](CKLVPropExchange* px) {
            px->m_dwSchema = c.nSchema;
            Write(px, stored, pLoaded->m_dwStyle);
        });
        EXPECT_EQ(written, expected) << c.nSchema;
    }
}

}  // namespace
}  // namespace commandbars_test
