// The list placeholders on a hidden MDI frame: the window list, the recent files and the tool-bar
// list rebuilt at each layout, their captions, group marks and customise-mode placeholders; the
// simple label, check box and radio button made by the collection.
#include "MenuFrameTestSupport.h"
#include "classlib/OleDocument.h"
#include "classlib/RecentFileList.h"
#include "classlib/View.h"
#include "support/FakeOleObject.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/commandbars/controls/ControlLabel.h"
#include "toolkit/commandbars/controls/ControlLists.h"

#include <gtest/gtest.h>

#include <string>

using namespace commandbars_test;

namespace {

// Shows its own list instead of the application's.
class CTestRecentFiles : public CKLVControlRecentFileList {
public:
    CRecentFileList* GetRecentFileList() override { return &m_list; }
    CRecentFileList m_list{CKLVControlRecentFileList::firstRecentFileId, "Recent", "File%d", 12};
};

// Shows the verbs of its own item instead of the active view's selection.
class CTestOleItems : public CKLVControlOleItems {
public:
    COleClientItem* GetSelectedItem() const override { return m_pItem; }
    COleClientItem* m_pItem = nullptr;
};

// A document whose selection is one item, noting the view that asked for it.
class CSelectingDocument : public COleDocument {
public:
    COleClientItem* GetPrimarySelectedItem(CView* pView) override {
        m_pAskedBy = pView;
        return m_pItem;
    }
    COleClientItem* m_pItem = nullptr;
    CView* m_pAskedBy = nullptr;
};

class CPlainView : public CView {
public:
    void OnDraw(CDC*) override {}
};

class ControlLists : public ::testing::Test {
protected:
    ControlLists() {
        CKLVControlWindowList::m_nFirstMDIChild = 0xFF00;
        m_pPopup = CKLVPopupBar::CreatePopupBar(m_frame.m_pCommandBars);
    }
    ~ControlLists() override { m_pPopup->InternalRelease(); }

    CKLVControl* Add(int nType, int nId) { return m_pPopup->GetControls()->Add(nType, nId); }
    // What a layout does to every control, last first.
    void Prepare() {
        CKLVControls* pControls = m_pPopup->GetControls();
        for (int i = pControls->GetCount() - 1; i >= 0; --i) pControls->GetAt(i)->PrepareDynamicLayout(0);
    }
    std::vector<std::string> Captions(BOOL bTemporaryOnly = TRUE) const {
        std::vector<std::string> captions;
        for (int i = 0; i < m_pPopup->GetControlCount(); ++i) {
            CKLVControl* pControl = m_pPopup->GetControl(i);
            if (!bTemporaryOnly || pControl->IsTemporary()) captions.emplace_back(static_cast<LPCSTR>(pControl->GetCaption()));
        }
        return captions;
    }
    int TemporaryCount() const { return static_cast<int>(Captions().size()); }

    CMenuFrameFixture m_frame;
    CKLVPopupBar* m_pPopup = nullptr;
};

TEST_F(ControlLists, TheCollectionMakesEachListForItsTypeAndId) {
    struct Case {
        int nType;
        int nId;
        CRuntimeClass* pClass;
    };
    const Case cases[] = {
        {CKLVControl::typeButton, 35000, RUNTIME_CLASS(CKLVControlWindowList)},
        {CKLVControl::typeButton, 59392, RUNTIME_CLASS(CKLVControlToolbars)},
        {CKLVControl::typeButton, 57616, RUNTIME_CLASS(CKLVControlRecentFileList)},
        {CKLVControl::typeButton, 35003, RUNTIME_CLASS(CKLVControlRecentFileList)},
        {CKLVControl::typeLabel, 7, RUNTIME_CLASS(CKLVControlLabel)},
        {CKLVControl::typeCheckBox, 7, RUNTIME_CLASS(CKLVControlCheckBox)},
        {CKLVControl::typeRadioButton, 7, RUNTIME_CLASS(CKLVControlRadioButton)},
    };
    for (const Case& c : cases) {
        CKLVControl* pControl = Add(c.nType, c.nId);
        ASSERT_NE(pControl, nullptr) << c.nId;
        EXPECT_EQ(pControl->GetRuntimeClass(), c.pClass) << c.nId;
        EXPECT_EQ(pControl->GetType(), c.nType) << c.nId;
    }
}

TEST_F(ControlLists, FormatItemCaptionDoublesAmpersandsAndNumbers) {
    struct Case {
        const char* pszText;
        int nNumber;
        const char* pszCaption;
    };
    const Case cases[] = {
        {"a&b", 0, "a&&b"},          {"a&b", 1, "&1 a&&b"}, {"&&", 9, "&9 &&&&"},
        {"tenth", 10, "1&0 tenth"}, {"x", 11, "11 x"},     {"", 3, "&3 "},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(CKLVControlRecentFileList::FormatItemCaption(c.pszText, c.nNumber), c.pszCaption) << c.pszText;
}

TEST_F(ControlLists, TwelveChildrenGiveNineNumberedItemsTheActiveChecked) {
    std::vector<CMDIChildWnd*> children;
    for (int i = 0; i < 12; ++i) {
        children.push_back(m_frame.AddChild(0));
        children.back()->SetWindowText(CString("doc&") + CString(std::to_string(i + 1).c_str()));
    }
    // A long title is read whole.
    const std::string strLong(300, 'x');
    children[1]->SetWindowText(strLong.c_str());
    m_frame.m_pFrame->MDIActivate(children[2]);
    CKLVControl* pList = Add(CKLVControl::typeButton, 35000);
    pList->SetFlags(CKLVControl::flagWrapRow);
    for (int nRound = 0; nRound < 2; ++nRound) {
        Prepare();
        ASSERT_EQ(TemporaryCount(), 9) << nRound;
        EXPECT_FALSE(pList->IsVisible());
        EXPECT_EQ(Captions()[0], "&1 doc&&1");
        EXPECT_EQ(Captions()[1], "&2 " + strLong);
        EXPECT_EQ(Captions()[8], "&9 doc&&9");
        for (int i = 0; i < 9; ++i) {
            CKLVControl* pItem = m_pPopup->GetControl(1 + i);
            EXPECT_EQ(pItem->GetId(), 0xFF00 + i);
            EXPECT_EQ(pItem->GetBeginGroup(), i == 0);
            EXPECT_EQ(pItem->GetChecked(), i == 2);
            EXPECT_EQ(pItem->GetFlags(), i == 0 ? 0x88u : 0x08u);
            EXPECT_EQ(pItem->m_nHelpId, 0xEF1F);
        }
    }
    // A hidden child is skipped, the numbering goes on without it.
    children[0]->ShowWindow(SW_HIDE);
    Prepare();
    ASSERT_EQ(TemporaryCount(), 9);
    EXPECT_EQ(m_pPopup->GetControl(1)->GetId(), 0xFF01);
    EXPECT_EQ(Captions()[0], "&1 " + strLong);
}

TEST_F(ControlLists, AMenuLayoutPutsTheCurrentWindowsIn) {
    Add(CKLVControl::typeButton, 100);
    Add(CKLVControl::typeButton, 35000);
    m_frame.AddChild(0)->SetWindowText("one");
    m_pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ(m_pPopup->GetControlCount(), 3);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&1 one"}));
    m_frame.AddChild(0)->SetWindowText("two");
    m_pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&1 one", "&2 two"}));
}

TEST_F(ControlLists, AClientNumberingItsChildrenFromOneMovesTheFirstId) {
    CLIENTCREATESTRUCT ccs = {nullptr, 1};
    const HWND hClient = ::CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN, 0, 0, 200, 200,
                                           m_frame.m_hFrame, nullptr, ::GetModuleHandleA(nullptr), &ccs);
    ASSERT_NE(hClient, nullptr);
    const HWND hOwnClient = m_frame.m_pFrame->m_hWndMDIClient;
    m_frame.m_pFrame->m_hWndMDIClient = hClient;
    m_frame.AddChild(0)->SetWindowText("first");
    m_frame.AddChild(0)->SetWindowText("second");
    Add(CKLVControl::typeButton, 35000);
    Prepare();
    EXPECT_EQ(CKLVControlWindowList::m_nFirstMDIChild, 1u);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&1 first", "&2 second"}));
    EXPECT_EQ(m_pPopup->GetControl(1)->GetId(), 1);
    ::DestroyWindow(hClient);
    m_frame.m_pFrame->m_hWndMDIClient = hOwnClient;
}

TEST_F(ControlLists, TheWindowListLeavesOtherControlsThatFollowIt) {
    CKLVControl* pList = Add(CKLVControl::typeButton, 35000);
    Add(CKLVControl::typeButton, 0xFF10);
    m_frame.AddChild(0);
    Prepare();
    Prepare();
    ASSERT_EQ(m_pPopup->GetControlCount(), 3);
    EXPECT_EQ(m_pPopup->GetControl(0), pList);
    EXPECT_TRUE(m_pPopup->GetControl(1)->IsTemporary());
    EXPECT_EQ(m_pPopup->GetControl(2)->GetId(), 0xFF10);
    EXPECT_FALSE(m_pPopup->GetControl(2)->IsTemporary());
}

TEST_F(ControlLists, RecentFilesAreNumberedWithAmpersandsDoubled) {
    struct Case {
        const char* pszName;
        BOOL bPlaceholderFirst;
        int nFiles;
    };
    const Case cases[] = {{"after another item", FALSE, 10}, {"first of its bar", TRUE, 10}, {"none", FALSE, 0}};
    for (const Case& c : cases) {
        m_pPopup->GetControls()->RemoveAll();
        if (!c.bPlaceholderFirst) Add(CKLVControl::typeButton, 100);
        auto* pRecent = new CTestRecentFiles;
        m_pPopup->GetControls()->Add(pRecent, CKLVControlRecentFileList::firstRecentFileId);
        for (int i = 0; i < c.nFiles; ++i) pRecent->m_list[i] = CString(("C:\\R&D\\file" + std::to_string(i + 1)).c_str());
        Prepare();
        Prepare();
        const std::vector<std::string> captions = Captions();
        ASSERT_EQ(static_cast<int>(captions.size()), c.nFiles) << c.pszName;
        if (c.nFiles == 0) {
            EXPECT_TRUE(pRecent->IsVisible()) << c.pszName;
            EXPECT_FALSE(pRecent->GetEnabled()) << c.pszName;
            continue;
        }
        EXPECT_FALSE(pRecent->IsVisible()) << c.pszName;
        EXPECT_EQ(captions[0], "&1 C:\\R&&D\\file1") << c.pszName;
        EXPECT_EQ(captions[9], "1&0 C:\\R&&D\\file10") << c.pszName;
        CKLVControl* pFirst = m_pPopup->GetControl(pRecent->GetIndex() + 1);
        EXPECT_EQ(pFirst->GetId(), CKLVControlRecentFileList::firstRecentFileId) << c.pszName;
        EXPECT_EQ(pFirst->GetBeginGroup(), !c.bPlaceholderFirst) << c.pszName;
        EXPECT_EQ(m_pPopup->GetControl(pRecent->GetIndex() + 10)->GetId(), CKLVControlRecentFileList::firstRecentFileId + 9);
    }
}

TEST_F(ControlLists, InCustomizeModeEachListIsItsOwnPlaceholder) {
    m_frame.AddChild(0);
    Add(CKLVControl::typeButton, 35000);
    Add(CKLVControl::typeButton, 59392);
    auto* pRecent = new CTestRecentFiles;
    m_pPopup->GetControls()->Add(pRecent, CKLVControlRecentFileList::firstRecentFileId);
    pRecent->m_list[0] = "C:\\one";
    m_frame.m_pCommandBars->Add("Standard", CKLVCommandBar::barTop);
    Prepare();
    EXPECT_GT(TemporaryCount(), 0);
    m_frame.m_pCommandBars->m_bCustomizeMode = TRUE;
    Prepare();
    m_frame.m_pCommandBars->m_bCustomizeMode = FALSE;
    EXPECT_EQ(TemporaryCount(), 0);
    for (int i = 0; i < m_pPopup->GetControlCount(); ++i) EXPECT_TRUE(m_pPopup->GetControl(i)->IsVisible()) << i;
}

TEST_F(ControlLists, TheSelectedItemsVerbsComeAsOneSubmenuAfterThePlaceholder) {
    using testsupport::CFakeOleObject;
    const DWORD kOnMenu = OLEVERBATTRIB_ONCONTAINERMENU;
    CKLVControl* pMade = Add(CKLVControl::typeButton, CKLVControlOleItems::firstVerbId);
    EXPECT_EQ(pMade->GetRuntimeClass(), RUNTIME_CLASS(CKLVControlButton)) << "only the placeholder caption names it";
    auto* pVerbs = new CTestOleItems;
    m_pPopup->GetControls()->Add(pVerbs, CKLVControlOleItems::firstVerbId);
    COleClientItem item;
    auto* pObject = new CFakeOleObject(L"Sheet", {{0, L"&Edit", kOnMenu}, {1, L"&Open", kOnMenu}});
    item.SetObject(pObject);
    pObject->Release();

    Prepare();
    EXPECT_TRUE(Captions().empty()) << "nothing selected";
    EXPECT_FALSE(pVerbs->IsVisible());
    pVerbs->m_pItem = &item;
    Prepare();
    ASSERT_EQ(Captions(), (std::vector<std::string>{"Sheet &Object"}));
    CKLVControl* pSubmenu = m_pPopup->GetControl(pVerbs->GetIndex() + 1);
    EXPECT_EQ(pSubmenu->GetType(), CKLVControl::typePopup);
    EXPECT_STREQ(pSubmenu->GetParameter(), "OLEMENUPOPUP");
    CKLVCommandBar* pVerbBar = pSubmenu->GetCommandBar();
    ASSERT_NE(pVerbBar, nullptr);
    ASSERT_EQ(pVerbBar->GetControlCount(), 2);
    EXPECT_EQ(pVerbBar->GetControl(1)->GetId(), CKLVControlOleItems::firstVerbId + 1);
    EXPECT_STREQ(pVerbBar->GetControl(1)->GetCaption(), "&Open");
    Prepare();
    EXPECT_EQ(TemporaryCount(), 1) << "last layout's submenu went";

    // An item active in place, or with one verb (a command, no submenu), gives none.
    item.m_nItemState = COleClientItem::activeState;
    Prepare();
    EXPECT_EQ(TemporaryCount(), 0);
    auto* pSingle = new CFakeOleObject(L"Sheet", {{0, L"&Edit", kOnMenu}});
    item.SetObject(pSingle);
    pSingle->Release();
    Prepare();
    EXPECT_EQ(TemporaryCount(), 0);
    pVerbs->m_pItem = nullptr;
}

TEST_F(ControlLists, TheVerbsAreThoseOfTheItemSelectedInTheActiveChildsView) {
    using testsupport::CFakeOleObject;
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, CKLVControlOleItems::firstVerbId, "<<OLE VERBS GO HERE>>");
    m_pPopup->LoadMenu(&menu);
    ASSERT_EQ(m_pPopup->GetControl(0)->GetRuntimeClass(), RUNTIME_CLASS(CKLVControlOleItems));
    COleClientItem item;
    auto* pObject = new CFakeOleObject(L"Sheet", {{0, L"&Edit", OLEVERBATTRIB_ONCONTAINERMENU},
                                                  {1, L"&Open", OLEVERBATTRIB_ONCONTAINERMENU}});
    item.SetObject(pObject);
    pObject->Release();

    CMDIChildWnd* pChild = m_frame.AddChild(300);
    auto* pDocument = new CSelectingDocument;   // goes with its last view
    auto* pView = new CPlainView;
    ASSERT_TRUE(pView->Create(nullptr, "view", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), pChild, AFX_IDW_PANE_FIRST));
    pDocument->AddView(pView);
    pChild->SetActiveView(pView);
    m_frame.m_pFrame->MDIActivate(pChild);
    ASSERT_EQ(m_frame.m_pFrame->GetActiveFrame(), pChild);

    const struct {
        const char* pszName;
        COleClientItem* pSelected;
        BOOL bViewActive;
        std::vector<std::string> captions;
    } cases[] = {{"nothing selected", nullptr, TRUE, {}},
                 {"an item selected", &item, TRUE, {"Sheet &Object"}},
                 {"no active view", &item, FALSE, {}}};
    for (const auto& c : cases) {
        pDocument->m_pItem = c.pSelected;
        pDocument->m_pAskedBy = nullptr;
        pChild->SetActiveView(c.bViewActive ? pView : nullptr);
        Prepare();
        EXPECT_EQ(Captions(), c.captions) << c.pszName;
        EXPECT_EQ(pDocument->m_pAskedBy, c.bViewActive ? pView : nullptr) << c.pszName;
    }
    pDocument->m_pItem = nullptr;
    pChild->DestroyWindow();
}

TEST_F(ControlLists, TheToolBarListChecksShownBarsAndTogglesThem) {
    CKLVCommandBar* pStandard = m_frame.m_pCommandBars->Add("Standard & More", CKLVCommandBar::barTop);
    CKLVCommandBar* pHidden = m_frame.m_pCommandBars->Add("Hidden", CKLVCommandBar::barTop);
    auto* pUnlisted = static_cast<CKLVToolBar*>(m_frame.m_pCommandBars->Add("Unlisted", CKLVCommandBar::barTop));
    ASSERT_TRUE(pStandard && pHidden && pUnlisted);
    pHidden->SetVisible(FALSE);
    pUnlisted->m_bContextMenuPresent = FALSE;
    CKLVControl* pList = Add(CKLVControl::typeButton, 59392);
    pList->SetBeginGroup(TRUE);
    Prepare();
    Prepare();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Standard && More", "Hidden"}));
    CKLVControl* pFirst = m_pPopup->GetControl(1);
    CKLVControl* pSecond = m_pPopup->GetControl(2);
    EXPECT_TRUE(pFirst->GetBeginGroup());
    EXPECT_TRUE(pFirst->GetChecked());
    EXPECT_FALSE(pSecond->GetChecked());
    EXPECT_EQ(static_cast<int>(pSecond->m_nTag), m_frame.m_pCommandBars->FindIndex(pHidden));
    pSecond->OnExecute();
    EXPECT_TRUE(pHidden->IsVisible());
}

TEST_F(ControlLists, ALabelIsNeverSelectedNorExecuted) {
    CKLVControl* pLabel = Add(CKLVControl::typeLabel, 300);
    EXPECT_EQ(pLabel->GetFlags(), 0x1Au);
    pLabel->SetSelected(TRUE);
    EXPECT_FALSE(pLabel->GetSelected());
    pLabel->OnClick(TRUE);
    pLabel->OnClick(FALSE, CPoint(1, 1));
    EXPECT_TRUE(m_frame.m_pFrame->m_commands.empty());
}

}  // namespace
