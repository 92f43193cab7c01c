// The command bars' saved state: a program's bars written through keyed sections, an archive
// and the registry come back equal in a fresh manager; only changed bars are written when asked;
// a shared popup is written once; a built-in bar changed since the save asks once; bad stored
// state fails the load with nothing left behind.
#include "AnsweringApp.h"
#include "StateStores.h"
#include "toolkit/commandbars/manager/ContextMenus.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/MenuBar.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/commandbars/controlbase/PropExchangeParam.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/common/PropExchangeArchive.h"
#include "toolkit/common/StartupRegistrations.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace commandbars_test {

int g_nLiveBars = 0;
int g_nLiveControls = 0;
// Every counted object ever made.
int g_nMade = 0;

// Bars and buttons that count themselves, so that a failed load shows what it left behind.
class CLiveCount {
public:
    explicit CLiveCount(int& nLive) : m_nLive(nLive) {
        ++m_nLive;
        ++g_nMade;
    }
    ~CLiveCount() { --m_nLive; }
    CLiveCount(const CLiveCount&) = delete;
    CLiveCount& operator=(const CLiveCount&) = delete;

private:
    int& m_nLive;
};

class CCountedToolBar : public CKLVToolBar {
    DECLARE_SERIAL(CCountedToolBar)
    CLiveCount m_live{g_nLiveBars};
};
KLV_IMPLEMENT_SERIAL(CCountedToolBar, CKLVToolBar)

class CCountedPopupBar : public CKLVPopupBar {
    DECLARE_SERIAL(CCountedPopupBar)
    CLiveCount m_live{g_nLiveBars};
};
KLV_IMPLEMENT_SERIAL(CCountedPopupBar, CKLVPopupBar)

class CCountedButton : public CKLVControlButton {
    DECLARE_SERIAL(CCountedButton)
    CLiveCount m_live{g_nLiveControls};
};
KLV_IMPLEMENT_SERIAL(CCountedButton, CKLVControlButton)

namespace {

const UINT kStandard = 100, kFormat = 101, kContext = 500;

template <class TBar>
TBar* AddBar(CKLVCommandBars& bars, UINT nBarID, LPCTSTR lpszTitle) {
    auto* pBar = new TBar;
    pBar->m_pCommandBars = &bars;
    pBar->m_pLink = &bars;
    pBar->m_nBarID = nBarID;
    pBar->SetTitle(lpszTitle);
    bars.m_arrBars.Add(pBar);
    return pBar;
}

void AddButtons(CKLVCommandBar* pBar, std::initializer_list<int> ids) {
    for (int nId : ids) {
        auto* pButton = new CCountedButton;
        pButton->m_nId = nId;
        pButton->m_strCaption.Format("Command %i", nId);
        pBar->GetControls()->Append(pButton);
    }
}

// A popup control on the bar that opens the popup bar.
CKLVControlPopup* AddPopup(CKLVCommandBar* pBar, LPCTSTR lpszCaption, CKLVCommandBar* pPopupBar) {
    auto* pPopup = new CKLVControlPopup;
    pPopup->m_strCaption = lpszCaption;
    pPopup->SetCommandBar(pPopupBar);
    pBar->GetControls()->Append(pPopup);
    return pPopup;
}

CKLVPopupBar* NewPopupBar(CKLVCommandBars& bars, std::initializer_list<int> ids) {
    auto* pBar = new CCountedPopupBar;
    pBar->m_pCommandBars = &bars;
    pBar->m_pLink = &bars;
    AddButtons(pBar, ids);
    return pBar;
}

struct CReleaser {
    void operator()(CCmdTarget* p) const { p->InternalRelease(); }
};
using CPopupRef = std::unique_ptr<CKLVPopupBar, CReleaser>;

// A program's bars: a menu bar whose Edit menu and the Standard tool bar share a popup, a
// customised built-in tool bar, an unchanged built-in one and a context menu.
struct CProgramBars {
    CProgramBars() {
        CPopupRef pShared(NewPopupBar(bars, {301, 302}));
        CPopupRef pFile(NewPopupBar(bars, {201, 202, 203}));
        CPopupRef pEdit(NewPopupBar(bars, {211}));
        AddPopup(pEdit.get(), "&Paste Special", pShared.get());
        pMenu = AddBar<CKLVMenuBar>(bars, 1, "Menu Bar");
        AddPopup(pMenu, "&File", pFile.get());
        AddPopup(pMenu, "&Edit", pEdit.get());
        pMenu->GetControls()->CreateOriginalControls();

        pStandard = AddBar<CCountedToolBar>(bars, kStandard, "Standard");
        AddButtons(pStandard, {57600, 57601, 57603});
        AddPopup(pStandard, "Paste", pShared.get());
        pStandard->GetControls()->CreateOriginalControls();
        pStandard->GetControls()->Remove(pStandard->GetControl(1));

        pFormat = AddBar<CCountedToolBar>(bars, kFormat, "Format");
        AddButtons(pFormat, {401, 402});
        pFormat->GetControls()->CreateOriginalControls();

        CPopupRef pContext(NewPopupBar(bars, {501, 502}));
        pContext->m_nBarID = kContext;
        pContext->GetControls()->CreateOriginalControls();
        bars.GetContextMenus()->Add(pContext.get());
    }
    CKLVCommandBars bars;
    CKLVMenuBar* pMenu;
    CKLVToolBar* pStandard;
    CKLVToolBar* pFormat;
};

// The bar the popup control at the index of the bar opens.
CKLVCommandBar* PopupBarOf(CKLVCommandBar* pBar, int nIndex) {
    auto* pPopup = DYNAMIC_DOWNCAST(CKLVControlPopup, pBar ? pBar->GetControl(nIndex) : nullptr);
    return pPopup ? pPopup->GetCommandBar() : nullptr;
}

BOOL SameOriginals(CKLVCommandBar* pBar, CKLVCommandBar* pOther) {
    CKLVControls* pOriginal = pBar->GetControls()->GetOriginalControls();
    CKLVControls* pOtherOriginal = pOther->GetControls()->GetOriginalControls();
    if (!pOriginal || !pOtherOriginal) return !pOriginal && !pOtherOriginal;
    return pOriginal->IsEqualTo(pOtherOriginal);
}

// Controls compare equal when either popup lacks its bar: count the bars they open as well.
int CountPopupBars(CKLVCommandBar* pBar) {
    int nBars = 0;
    for (int i = 0; i < pBar->GetControlCount(); ++i) nBars += PopupBarOf(pBar, i) != nullptr;
    return nBars;
}

void ExpectSameBar(CKLVCommandBar* pBar, CKLVCommandBar* pLoaded, const std::string& label) {
    ASSERT_NE(pLoaded, nullptr) << label << " " << pBar->GetTitle();
    EXPECT_EQ(pLoaded->GetRuntimeClass(), pBar->GetRuntimeClass()) << label;
    EXPECT_STREQ(pLoaded->GetTitle(), pBar->GetTitle()) << label;
    EXPECT_EQ(pLoaded->m_nFlags, pBar->m_nFlags) << label;
    EXPECT_EQ(pLoaded->GetType(), pBar->GetType()) << label;
    EXPECT_TRUE(pLoaded->GetControls()->IsEqualTo(pBar->GetControls())) << label << " " << pBar->GetTitle();
    EXPECT_EQ(CountPopupBars(pLoaded), CountPopupBars(pBar)) << label << " " << pBar->GetTitle();
    EXPECT_TRUE(SameOriginals(pBar, pLoaded)) << label << " " << pBar->GetTitle();
}

void ExpectSameBars(CKLVCommandBars& bars, CKLVCommandBars& loaded, const std::string& label) {
    EXPECT_EQ(loaded.GetCount(), bars.GetCount()) << label;
    for (int i = 0; i < bars.GetCount(); ++i)
        ExpectSameBar(bars.GetAt(i), loaded.FindCommandBar(bars.GetAt(i)->m_nBarID), label);
    CKLVContextMenus* pMenus = bars.GetContextMenus();
    EXPECT_EQ(loaded.GetContextMenus()->GetCount(), pMenus->GetCount()) << label;
    for (int i = 0; i < pMenus->GetCount(); ++i)
        ExpectSameBar(pMenus->GetAt(i), loaded.GetContextMenus()->FindCommandBar(pMenus->GetAt(i)->m_nBarID), label);
}

// Writes the bars through the exchange.
BOOL Save(CKLVCommandBars& bars, CKLVPropExchange* pPX, BOOL bOnlyCustomized = FALSE) {
    CKLVPropExchangeParam param;
    param.bSerializeOnlyCustomized = bOnlyCustomized;
    param.pCommandBars = &bars;
    param.pLink = &bars;
    pPX->m_pContext = &param;
    CKLVCommandBarList list(&bars);
    bars.GenerateCommandBarList(&list, &param);
    const BOOL bSaved = bars.SaveCommandBarList(pPX, &list);
    pPX->m_pContext = nullptr;
    return bSaved;
}

// Reads bars from the exchange into the manager and merges them.
BOOL Load(CKLVCommandBars& bars, CKLVPropExchange* pPX, BOOL bSilent = TRUE) {
    CKLVPropExchangeParam param;
    param.pCommandBars = &bars;
    param.pLink = &bars;
    pPX->m_pContext = &param;
    CKLVCommandBarList list(&bars);
    const BOOL bLoaded = bars.LoadCommandBarList(pPX, &list);
    pPX->m_pContext = nullptr;
    if (bLoaded) bars.RestoreCommandBarList(&list, bSilent);
    return bLoaded;
}

using Bytes = std::string;

Bytes SaveToArchive(CKLVCommandBars& bars) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CKLVPropExchangeArchive px(ar);
        EXPECT_TRUE(Save(bars, &px));
    }
    const size_t nLength = static_cast<size_t>(file.GetLength());
    BYTE* pData = file.Detach();
    Bytes bytes(reinterpret_cast<char*>(pData), nLength);
    std::free(pData);
    return bytes;
}

BOOL LoadFromArchive(CKLVCommandBars& bars, Bytes bytes) {
    CMemFile file(reinterpret_cast<BYTE*>(&bytes[0]), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CKLVPropExchangeArchive px(ar);
    return Load(bars, &px);
}

TEST(CommandBarsState, AProgramsBarsComeBackEqualThroughEveryStore) {
    CProgramBars program;
    CMapBackend sections;
    CRegistryBackend registry("Software\\Kelvane\\Tests\\CommandBarsState");
    const struct {
        const char* pszStore;
        CValueBackend* pBackend;
    } stores[] = {{"sections", &sections}, {"registry", &registry}};
    for (const auto& store : stores) {
        CStoreExchange storing(*store.pBackend, FALSE);
        ASSERT_TRUE(Save(program.bars, &storing)) << store.pszStore;
        CKLVCommandBars loaded;
        CStoreExchange loading(*store.pBackend, TRUE);
        ASSERT_TRUE(Load(loaded, &loading)) << store.pszStore;
        ExpectSameBars(program.bars, loaded, store.pszStore);
    }
    const Bytes bytes = SaveToArchive(program.bars);
    CKLVCommandBars loaded;
    ASSERT_TRUE(LoadFromArchive(loaded, bytes));
    ExpectSameBars(program.bars, loaded, "archive");

    // The popup reached from two controls is one bar again, and is not a bar of its own.
    CKLVCommandBar* pMenuBar = loaded.FindCommandBar(1);
    ASSERT_NE(pMenuBar, nullptr);
    CKLVCommandBar* pShared = PopupBarOf(PopupBarOf(pMenuBar, 1), 1);
    ASSERT_NE(pShared, nullptr);
    EXPECT_EQ(PopupBarOf(loaded.FindCommandBar(kStandard), 2), pShared);
    EXPECT_EQ(pShared->GetControlCount(), 2);
    EXPECT_EQ(loaded.GetCount(), 3);
    // Menu bars saved at this schema may be closed as they were.
    EXPECT_FALSE(static_cast<CKLVToolBar*>(pMenuBar)->m_bCloseable);
}

TEST(CommandBarsState, ASharedPopupIsCollectedOnceAndBothControlsSaveItsId) {
    CProgramBars program;
    // Without the original sets, which hold copies of the popups.
    CKLVPropExchangeParam param;
    param.bSaveOriginalControls = FALSE;
    CKLVCommandBarList list(&program.bars);
    program.bars.GenerateCommandBarList(&list, &param);
    // Menu bar, File, Edit, the shared popup, Standard, Format, the context menu.
    ASSERT_EQ(list.GetCount(), 7);
    CKLVCommandBar* pShared = PopupBarOf(program.pStandard, 2);
    int nTimes = 0;
    for (int i = 0; i < list.GetCount(); ++i) nTimes += list.GetAt(i) == pShared;
    EXPECT_EQ(nTimes, 1);
    // Generated in collection order; tool bars and the context menu keep theirs.
    EXPECT_EQ(PopupBarOf(program.pMenu, 0)->m_nBarID, 0x1000000u);
    EXPECT_EQ(PopupBarOf(program.pMenu, 1)->m_nBarID, 0x1000001u);
    EXPECT_EQ(pShared->m_nBarID, 0x1000002u);
    EXPECT_EQ(program.bars.GetContextMenus()->GetAt(0)->m_nBarID, kContext);

    CMapBackend sections;
    CStoreExchange px(sections, FALSE);
    px.m_pContext = &param;
    ASSERT_TRUE(program.bars.SaveCommandBarList(&px, &list));
    int nSavedIds = 0;
    for (const auto& value : sections.m_values) {
        const std::string suffix = "CommandBarId";
        if (value.first.size() < suffix.size() || value.first.compare(value.first.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        LONG nId = 0;
        std::memcpy(&nId, value.second.data(), sizeof nId);
        nSavedIds += nId == 0x1000002;
    }
    // The Edit menu's control and Standard's.
    EXPECT_EQ(nSavedIds, 2);
}

TEST(CommandBarsState, OnlyChangedOrUserBarsAreWrittenWhenAsked) {
    const struct {
        const char* pszCase;
        BOOL bBuiltIn, bTearOff, bChanged, bWritten;
    } cases[] = {
        {"unchanged built-in", TRUE, FALSE, FALSE, FALSE},
        {"changed built-in", TRUE, FALSE, TRUE, TRUE},
        {"torn off", TRUE, TRUE, FALSE, TRUE},
        {"the user's", FALSE, FALSE, FALSE, TRUE},
    };
    for (const auto& c : cases) {
        CKLVCommandBars bars;
        CPopupRef pOwnPopup(NewPopupBar(bars, {601}));
        auto* pBar = AddBar<CCountedToolBar>(bars, kFormat, "Format");
        AddButtons(pBar, {401, 402});
        AddPopup(pBar, "More", pOwnPopup.get());
        pBar->GetControls()->CreateOriginalControls();
        pBar->m_bBuiltIn = c.bBuiltIn;
        pBar->m_bTearOffBar = c.bTearOff;
        if (c.bChanged) pBar->GetControls()->Remove(pBar->GetControl(0));
        CPopupRef pContext(NewPopupBar(bars, {501}));
        pContext->m_nBarID = kContext;
        pContext->GetControls()->CreateOriginalControls();
        bars.GetContextMenus()->Add(pContext.get());

        CKLVPropExchangeParam param;
        param.bSerializeOnlyCustomized = TRUE;
        CKLVCommandBarList list(&bars);
        bars.GenerateCommandBarList(&list, &param);
        // The bar's popup goes only with the bar; the unchanged context menu never.
        EXPECT_EQ(list.Contains(pBar), c.bWritten) << c.pszCase;
        EXPECT_EQ(list.Contains(pOwnPopup.get()), c.bWritten) << c.pszCase;
        EXPECT_FALSE(list.Contains(pContext.get())) << c.pszCase;
    }
}

TEST(CommandBarsState, ABuiltInBarChangedSinceTheSaveAsksOncePerBar) {
    struct Case {
        const char* pszCase;
        BOOL bCustomised;   // the user changed the saved bars
        BOOL bSilent;
        int nAnswer;
        int nPrompts;
        BOOL bLoadedLayout;   // the bars show the saved controls afterwards
    } const cases[] = {
        {"Yes keeps the new bars", TRUE, FALSE, IDYES, 2, FALSE},
        {"No takes the saved bars", TRUE, FALSE, IDNO, 2, TRUE},
        {"silent keeps the new bars", TRUE, TRUE, IDNO, 0, FALSE},
        {"bars the user never changed", FALSE, FALSE, IDNO, 0, FALSE},
    };
    for (const Case& c : cases) {
        // The bars as an older version of the program made them, and as the user left them.
        CKLVCommandBars older;
        for (UINT nId : {kStandard, kFormat}) {
            auto* pBar = AddBar<CCountedToolBar>(older, nId, nId == kStandard ? "Standard" : "Format");
            AddButtons(pBar, {1, 2});
            pBar->GetControls()->CreateOriginalControls();
            if (c.bCustomised) pBar->GetControls()->Remove(pBar->GetControl(0));
        }
        CMapBackend sections;
        CStoreExchange storing(sections, FALSE);
        ASSERT_TRUE(Save(older, &storing)) << c.pszCase;

        // The new version's bars have a third button.
        CKLVCommandBars newer;
        for (UINT nId : {kStandard, kFormat}) {
            auto* pBar = AddBar<CCountedToolBar>(newer, nId, nId == kStandard ? "Standard" : "Format");
            AddButtons(pBar, {1, 2, 3});
            pBar->GetControls()->CreateOriginalControls();
        }
        CAnsweringApp app(c.nAnswer);
        CStoreExchange loading(sections, TRUE);
        ASSERT_TRUE(Load(newer, &loading, c.bSilent)) << c.pszCase;
        ASSERT_EQ(static_cast<int>(app.m_prompts.size()), c.nPrompts) << c.pszCase;
        if (c.nPrompts) {
            EXPECT_EQ(app.m_prompts[0], "Due to a software update the toolbar 'Standard' has changed. Would you like to "
                                        "reset your customized toolbar and load the new one?");
            EXPECT_EQ(app.m_nType, UINT(MB_YESNO | MB_ICONQUESTION));
        }
        for (UINT nId : {kStandard, kFormat}) {
            CKLVCommandBar* pBar = newer.FindCommandBar(nId);
            EXPECT_EQ(pBar->GetControlCount(), c.bLoadedLayout ? 1 : 3) << c.pszCase;
            // The new built-in set stays the one a reset goes back to.
            EXPECT_EQ(pBar->GetControls()->GetOriginalControls()->GetCount(), 3) << c.pszCase;
        }
        EXPECT_EQ(newer.GetCount(), 2) << c.pszCase;
    }
}

TEST(CommandBarsState, AMenuBarFromSchema16CannotBeClosed) {
    const struct {
        UINT nSchema;
        BOOL bMenuCloseable, bToolBarCloseable;
    } cases[] = {{16, FALSE, TRUE}, {17, TRUE, TRUE}, {23, TRUE, TRUE}};
    for (const auto& c : cases) {
        CKLVCommandBars bars;
        auto* pMenu = AddBar<CKLVMenuBar>(bars, 1, "Menu Bar");
        pMenu->m_bCloseable = TRUE;
        AddBar<CCountedToolBar>(bars, kStandard, "Standard");
        CMapBackend sections;
        CStoreExchange storing(sections, FALSE);
        storing.m_dwSchema = c.nSchema;
        ASSERT_TRUE(Save(bars, &storing));
        CKLVCommandBars loaded;
        CStoreExchange loading(sections, TRUE);
        loading.m_dwSchema = c.nSchema;
        ASSERT_TRUE(Load(loaded, &loading));
        EXPECT_EQ(static_cast<CKLVToolBar*>(loaded.FindCommandBar(1))->m_bCloseable, c.bMenuCloseable) << c.nSchema;
        EXPECT_EQ(static_cast<CKLVToolBar*>(loaded.FindCommandBar(kStandard))->m_bCloseable, c.bToolBarCloseable)
            << c.nSchema;
    }
}

TEST(CommandBarsState, BadStoredStateFailsWithNothingLeftBehind) {
    CProgramBars program;
    CMapBackend saved;
    {
        CStoreExchange px(saved, FALSE);
        ASSERT_TRUE(Save(program.bars, &px));
    }
    const int nBars = g_nLiveBars, nControls = g_nLiveControls;
    const std::string kBar = "CommandBars\\CommandBar4\\";
    const std::string kControl = kBar + "Controls\\Control1\\";
    ASSERT_EQ(saved.m_values.count(kBar + "Class"), 1u);
    ASSERT_EQ(saved.m_values.count(kControl + "Class"), 1u);
    const auto count = [](LONG nCount) { return std::string(reinterpret_cast<const char*>(&nCount), sizeof nCount); };
    const struct {
        const char* pszCase;
        std::string key, value;
        BOOL bNothingMade;   // refused before the first bar is made
    } cases[] = {
        {"unknown bar class", kBar + "Class", "CNoSuchBar", FALSE},
        {"bar of a control class", kBar + "Class", "CCountedButton", FALSE},
        {"unknown control class", kControl + "Class", "CNoSuchControl", FALSE},
        {"control of a bar class", kControl + "Class", "CCountedToolBar", FALSE},
        {"huge bar count", "CommandBars\\Count", count(0x7FFFFFFF), TRUE},
        {"negative bar count", "CommandBars\\Count", count(-1), TRUE},
        {"huge control count", kBar + "Controls\\Count", count(0x40000000), FALSE},
    };
    for (const auto& c : cases) {
        CMapBackend damaged = saved;
        damaged.m_values[c.key] = c.value;
        CKLVCommandBars loaded;
        CKLVCommandBarList list(&loaded);
        CStoreExchange px(damaged, TRUE);
        const int nMade = g_nMade;
        EXPECT_FALSE(loaded.LoadCommandBarList(&px, &list)) << c.pszCase;
        if (c.bNothingMade) {
            EXPECT_EQ(g_nMade, nMade) << c.pszCase;
        }
        EXPECT_EQ(list.GetCount(), 0) << c.pszCase;
        EXPECT_EQ(g_nLiveBars, nBars) << c.pszCase;
        EXPECT_EQ(g_nLiveControls, nControls) << c.pszCase;
    }

    // An archive cut anywhere fails the same way, and so does one whose bar count (its first
    // two bytes) claims more bars than it has bytes left.
    const Bytes bytes = SaveToArchive(program.bars);
    {
        ASSERT_LT(bytes.size(), 0xFFFEu);
        Bytes damaged = bytes;
        damaged[0] = '\xFE';
        damaged[1] = '\xFF';
        CKLVCommandBars loaded;
        const int nMade = g_nMade;
        EXPECT_FALSE(LoadFromArchive(loaded, damaged));
        EXPECT_EQ(g_nMade, nMade);
    }
    for (size_t nLength : {size_t(0), size_t(3), bytes.size() / 3, bytes.size() / 2, bytes.size() - 1}) {
        CKLVCommandBars loaded;
        EXPECT_FALSE(LoadFromArchive(loaded, bytes.substr(0, nLength))) << nLength;
        EXPECT_EQ(loaded.GetCount(), 0) << nLength;
        EXPECT_EQ(g_nLiveBars, nBars) << nLength;
        EXPECT_EQ(g_nLiveControls, nControls) << nLength;
    }
}

TEST(CommandBarsState, ACycleOfPopupsInLoadedStateEndsTheWalks) {
    CKLVCommandBars bars;
    CPopupRef pFirst(NewPopupBar(bars, {701}));
    CPopupRef pSecond(NewPopupBar(bars, {702}));
    AddPopup(pFirst.get(), "Second", pSecond.get());
    AddPopup(pSecond.get(), "First", pFirst.get());
    auto* pBar = AddBar<CCountedToolBar>(bars, kStandard, "Standard");
    AddPopup(pBar, "First", pFirst.get());
    CKLVPropExchangeParam param;
    CKLVCommandBarList list(&bars);
    bars.GenerateCommandBarList(&list, &param);
    EXPECT_EQ(list.GetCount(), 3);

    CMapBackend sections;
    CStoreExchange storing(sections, FALSE);
    ASSERT_TRUE(bars.SaveCommandBarList(&storing, &list));
    CKLVCommandBars loaded;
    CStoreExchange loading(sections, TRUE);
    ASSERT_TRUE(Load(loaded, &loading));
    CKLVCommandBar* pLoadedFirst = PopupBarOf(loaded.FindCommandBar(kStandard), 0);
    ASSERT_NE(pLoadedFirst, nullptr);
    CKLVCommandBar* pLoadedSecond = PopupBarOf(pLoadedFirst, 1);
    ASSERT_NE(pLoadedSecond, nullptr);
    EXPECT_EQ(PopupBarOf(pLoadedSecond, 1), pLoadedFirst);
    // The cycle keeps the bars alive; cut it so that they go.
    static_cast<CKLVControlPopup*>(pFirst->GetControl(1))->SetCommandBar(nullptr);
    static_cast<CKLVControlPopup*>(pLoadedFirst->GetControl(1))->SetCommandBar(nullptr);
}

}  // namespace
}  // namespace commandbars_test
