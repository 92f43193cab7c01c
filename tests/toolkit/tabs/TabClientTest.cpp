// The MDI tab client on a hidden MDI frame with command bars and OLE: tabs following the MDI
// children and their answers, the flags, tooltips and theme, tab groups with their commands,
// drags and splitters.
#include "classlib/ClassLib.h"
#include "classlib/WindowTestSupport.h"
#include "support/DeferredAction.h"
#include "support/FlatPaintManagerTheme.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/commandbars/controls/ControlLists.h"
#include "toolkit/commandbars/frame/MDIFrameWnd.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/common/MouseHook.h"
#include "toolkit/tabs/ControlTabWorkspace.h"
#include "toolkit/tabs/TabClientDropTarget.h"
#include "toolkit/tabs/TabClientWnd.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// An MDI child that answers the tab client's questions when told to.
class CAnsweringChild : public CMDIChildWnd {
public:
    CString m_strText, m_strTip;
    HICON m_hIcon = nullptr;
    COLORREF m_clrTab = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case CKLVTabClientWnd::msgGetTabText: return m_strText.IsEmpty() ? 0 : reinterpret_cast<LRESULT>(static_cast<LPCTSTR>(m_strText));
        case CKLVTabClientWnd::msgGetTabTooltip: return m_strTip.IsEmpty() ? 0 : reinterpret_cast<LRESULT>(static_cast<LPCTSTR>(m_strTip));
        case CKLVTabClientWnd::msgGetTabIcon: return reinterpret_cast<LRESULT>(m_hIcon);
        case CKLVTabClientWnd::msgGetTabColor: return static_cast<LRESULT>(m_clrTab);
        default: return CMDIChildWnd::WindowProc(message, wParam, lParam);
        }
    }
};

class CTabTestView : public CView {
    DECLARE_DYNCREATE(CTabTestView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CTabTestView, CView)

// Counts the tabs the client reports to its frame.
class CTabFrame : public CKLVMDIFrameWnd {
public:
    int m_nTabsCreated = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == CKLVTabClientWnd::msgTabCreated) ++m_nTabsCreated;
        return CKLVMDIFrameWnd::WindowProc(message, wParam, lParam);
    }
};

// Takes the mouse capture when told to, as another window of the program would.
class CCaptureThief : public CWnd {
public:
    enum : UINT { msgSteal = WM_APP + 7 };

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == msgSteal) ::SetCapture(m_hWnd);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// The one popup bar the mouse hook tracks; null (and a failure) when there is not exactly one.
CKLVPopupBar* TheTrackedPopup() {
    const auto& tracked = KLVMouseHook()->GetTrackedPopups();
    EXPECT_EQ(tracked.size(), 1u);
    return tracked.size() == 1 ? dynamic_cast<CKLVPopupBar*>(tracked[0]) : nullptr;
}

class TabClient : public testing::Test {
protected:
    void SetUp() override {
        ::OleInitialize(nullptr);
        CKLVFlatTestTheme::Register();
        CKLVPaintManager::SetTheme(0);
        m_pFrame = new CTabFrame;
        ASSERT_TRUE(m_pFrame->InitCommandBars());
        ASSERT_TRUE(m_pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW));
        m_pFrame->MoveWindow(0, 0, 640, 480);
        m_hFrame = m_pFrame->GetSafeHwnd();
    }
    void TearDown() override {
        if (::IsWindow(m_hFrame)) m_pFrame->DestroyWindow();
        m_client.reset();
        classlib_test::PumpPending();
        ::OleUninitialize();
    }
    void Attach(BOOL bGroups) {
        m_client = std::make_unique<CKLVTabClientWnd>();
        ASSERT_TRUE(m_client->Attach(m_pFrame, bGroups));
    }
    CAnsweringChild* AddChild(LPCTSTR lpszTitle, BOOL bVisible = TRUE, CCreateContext* pContext = nullptr) {
        auto* pChild = new CAnsweringChild;
        const DWORD dwStyle = WS_CHILD | WS_OVERLAPPEDWINDOW | (bVisible ? WS_VISIBLE : 0);
        EXPECT_TRUE(pChild->Create(nullptr, lpszTitle, dwStyle, CFrameWnd::rectDefault, m_pFrame, pContext));
        return pChild;
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (int i = 0; i < m_client->GetItemCount(); ++i) captions.emplace_back(m_client->GetItem(i)->GetCaption());
        return captions;
    }
    std::vector<std::string> SortedCaptions() const {
        std::vector<std::string> captions = Captions();
        std::sort(captions.begin(), captions.end());
        return captions;
    }
    // Tabs per workspace, in order.
    std::vector<int> Groups() const {
        std::vector<int> counts;
        for (int i = 0; i < m_client->GetWorkspaceCount(); ++i) counts.push_back(m_client->GetWorkspace(i)->GetItemCount());
        return counts;
    }
    void Activate(CWnd* pChild) { m_client->SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pChild->GetSafeHwnd())); }
    void Close(CWnd* pChild) { m_client->SendMessage(WM_MDIDESTROY, reinterpret_cast<WPARAM>(pChild->GetSafeHwnd())); }
    void PostToClient(UINT message, WPARAM wParam, CPoint pt) {
        ::PostMessageA(m_client->GetSafeHwnd(), message, wParam, MAKELPARAM(pt.x, pt.y));
    }
    // A press on the client (groups) with the rest of the gesture already queued.
    void PressClient(CPoint pt) { m_client->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y)); }
    // What the idle loop does after a click: the client's locks go.
    void Idle() { m_client->SendMessage(WM_IDLEUPDATECMDUI, TRUE); }
    static BOOL DesktopUnlocked() {
        const BOOL bLocked = ::LockWindowUpdate(::GetDesktopWindow());
        if (bLocked) ::LockWindowUpdate(nullptr);
        return bLocked;
    }

    CTabFrame* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    std::unique_ptr<CKLVTabClientWnd> m_client;
};

TEST_F(TabClient, AttachesOnceAndOnlyToAnMDIFrame) {
    CKLVTabClientWnd other;
    CFrameWnd* pPlain = new CFrameWnd;
    ASSERT_TRUE(pPlain->Create(nullptr, "plain"));
    EXPECT_FALSE(other.Attach(reinterpret_cast<CMDIFrameWnd*>(pPlain)));
    pPlain->DestroyWindow();
    Attach(FALSE);
    EXPECT_FALSE(m_client->Attach(m_pFrame));
    EXPECT_EQ(CWnd::FromHandlePermanent(m_pFrame->m_hWndMDIClient), m_client.get());
}

TEST_F(TabClient, TabsMirrorTheVisibleChildrenAndAHiddenOneWaitsForTheNextMDIMessage) {
    Attach(FALSE);
    CAnsweringChild* pFirst = AddChild("first");
    CAnsweringChild* pHidden = AddChild("hidden", FALSE);
    CAnsweringChild* pThird = AddChild("third");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"first", "third"}));
    EXPECT_EQ(m_pFrame->m_nTabsCreated, 2);
    EXPECT_EQ(m_client->GetItem(1)->GetHandle(), pThird->GetSafeHwnd());
    EXPECT_EQ(m_client->FindItem(pHidden->GetSafeHwnd()), nullptr);
    EXPECT_EQ(m_client->GetItem(2), nullptr);
    EXPECT_EQ(m_client->GetItem(-1), nullptr);

    pHidden->ShowWindow(SW_SHOWNA);
    EXPECT_EQ(m_client->GetItemCount(), 2);
    Activate(pFirst);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"first", "third", "hidden"}));
    EXPECT_EQ(m_client->GetWorkspace(0)->GetSelectedItem(), m_client->FindItem(pFirst->GetSafeHwnd()));

    // Hidden again: its tab goes at the next MDI message; a closed child's tab goes too.
    pHidden->ShowWindow(SW_HIDE);
    Close(pThird);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"first"}));
    // The band of the tabs lies above the MDI area.
    CRect rcClient;
    ::GetWindowRect(m_pFrame->m_hWndMDIClient, &rcClient);
    CRect rcBand;
    m_client->GetWorkspace(0)->GetHostWindow()->GetWindowRect(&rcBand);
    EXPECT_EQ(rcBand.bottom, rcClient.top);
    EXPECT_GT(rcBand.Height(), 0);
}

TEST_F(TabClient, ASettingsChangeOfTheCommandBarsRefreshesTheTabs) {
    CKLVCommandBars* pCommandBars = m_pFrame->GetCommandBars();
    CAnsweringChild* pChild = AddChild("before");
    pCommandBars->UpdateCommandBars();   // a plain MDI client: nothing to refresh
    Attach(FALSE);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"before"}));
    // A new caption reaches the tab only through a refresh: no MDI message follows it.
    pChild->m_strText = "after";
    EXPECT_EQ(Captions(), (std::vector<std::string>{"before"}));
    pCommandBars->UpdateCommandBars();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"after"}));
}

TEST_F(TabClient, CaptionsTooltipsIconsAndColoursComeFromTheChildrensAnswersElseTheDefaults) {
    Attach(FALSE);
    HICON hAnswerIcon = ::LoadIconA(nullptr, IDI_ASTERISK);
    HICON hSmallIcon = ::LoadIconA(nullptr, IDI_HAND);
    struct Case {
        const char* pszAnswerText;
        const char* pszAnswerTip;
        BOOL bAnswerIcon;
        BOOL bSmallIcon;
        COLORREF clrAnswer;
        const char* pszCaption;
        const char* pszTip;
    } cases[] = {
        {"answered", "answered tip", TRUE, TRUE, RGB(1, 2, 3), "answered", "answered tip"},
        {nullptr, nullptr, FALSE, TRUE, 0, "window text", "window text"},
        {nullptr, nullptr, FALSE, FALSE, 0x1000003, "window text", "window text"},
    };
    for (const Case& c : cases) {
        CAnsweringChild* pChild = AddChild("window text");
        if (c.pszAnswerText) pChild->m_strText = c.pszAnswerText;
        if (c.pszAnswerTip) pChild->m_strTip = c.pszAnswerTip;
        if (c.bAnswerIcon) pChild->m_hIcon = hAnswerIcon;
        if (c.bSmallIcon) pChild->SetIcon(hSmallIcon, FALSE);
        pChild->m_clrTab = c.clrAnswer;
        Activate(pChild);
        CKLVTabManagerItem* pItem = m_client->FindItem(pChild->GetSafeHwnd());
        ASSERT_NE(pItem, nullptr);
        EXPECT_STREQ(pItem->GetCaption(), c.pszCaption);
        EXPECT_STREQ(m_client->GetItemTooltip(pItem), c.pszTip);
        const HICON hExpected = c.bAnswerIcon ? hAnswerIcon : c.bSmallIcon ? hSmallIcon : nullptr;
        if (hExpected) {
            EXPECT_EQ(m_client->GetItemIcon(pItem), hExpected) << c.pszCaption;
        } else {
            EXPECT_NE(m_client->GetItemIcon(pItem), nullptr);
        }
        // No answer: the tab's own preset colour.
        const COLORREF clrExpected = c.clrAnswer ? CKLVTabPainter::GetPresetItemColor(c.clrAnswer)
                                                 : CKLVTabPainter::GetPresetItemColor(pItem->m_clrItem);
        EXPECT_EQ(pItem->GetColor(), clrExpected);
        Close(pChild);
    }
    EXPECT_EQ(m_client->GetItemCount(), 0);
}

TEST_F(TabClient, AModifiedDocumentsCaptionEndsInAStarAfterTheNextMDIMessage) {
    Attach(TRUE);
    auto pDoc = std::make_unique<CDocument>();
    pDoc->m_bAutoDelete = FALSE;
    pDoc->SetTitle("gen_api.c");
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CTabTestView);
    context.m_pCurrentDoc = pDoc.get();
    CAnsweringChild* pChild = AddChild("ignored", TRUE, &context);
    pChild->InitialUpdateFrame(pDoc.get(), TRUE);
    Activate(pChild);
    EXPECT_EQ(Captions(), std::vector<std::string>{"gen_api.c"});
    pDoc->SetModifiedFlag(TRUE);
    pDoc->SetTitle("gen_api.c *");
    Activate(pChild);
    EXPECT_EQ(Captions(), std::vector<std::string>{"gen_api.c *"});
    m_pFrame->DestroyWindow();
}

TEST_F(TabClient, FlagsSetTheShowModesOfEveryRowsButtonsAndElevenShowsNone) {
    Attach(FALSE);
    AddChild("a");
    AddChild("b");
    using Button = CKLVTabManagerNavigateButton;
    struct Case {
        DWORD dwFlags;
        int nScroll, nClose, nList, nItemClose;
    } cases[] = {
        {0, Button::showAlways, Button::showAuto, Button::showNever, 0},
        {0x01, Button::showAuto, Button::showAuto, Button::showNever, 0},
        {0x09, Button::showNever, Button::showAuto, Button::showNever, 0},
        {0x02, Button::showAlways, Button::showNever, Button::showNever, 0},
        {0x04, Button::showAlways, Button::showAuto, Button::showAlways, 0},
        {0x10, Button::showAlways, Button::showAuto, Button::showNever, Button::showAlways},
        {0x30, Button::showAlways, Button::showAuto, Button::showNever, Button::showAuto},
        {11, Button::showNever, Button::showNever, Button::showNever, Button::showAuto},
    };
    for (const Case& c : cases) {
        m_client->SetFlags(c.dwFlags);
        CKLVTabWorkspace* pWorkspace = m_client->GetWorkspace(0);
        EXPECT_EQ(pWorkspace->FindNavigateButton(Button::idScrollBack)->m_nShowMode, c.nScroll) << c.dwFlags;
        EXPECT_EQ(pWorkspace->FindNavigateButton(Button::idScrollForward)->m_nShowMode, c.nScroll) << c.dwFlags;
        EXPECT_EQ(pWorkspace->FindNavigateButton(Button::idClose)->m_nShowMode, c.nClose) << c.dwFlags;
        EXPECT_EQ(pWorkspace->FindNavigateButton(Button::idTabList)->m_nShowMode, c.nList) << c.dwFlags;
        EXPECT_EQ(pWorkspace->GetNavigateButton(2)->m_nID, UINT(Button::idTabList));
        if (c.nItemClose) {
            EXPECT_EQ(pWorkspace->m_nItemCloseMode, c.nItemClose) << c.dwFlags;
        }
    }
    // Flags 11: not one button takes room in the row.
    m_client->SetFlags(11);
    CKLVTabWorkspace* pWorkspace = m_client->GetWorkspace(0);
    for (int i = 0; i < pWorkspace->GetNavigateButtonCount(); ++i)
        EXPECT_TRUE(pWorkspace->GetNavigateButton(i)->GetRect().IsRectEmpty()) << i;
}

TEST_F(TabClient, TooltipModeOneTipsAFittingCaptionAndModeTwoDoesNot) {
    Attach(TRUE);
    AddChild("fits");
    CKLVTabManagerItem* pItem = m_client->GetItem(0);
    ASSERT_GE(pItem->m_nLength, pItem->m_nContentLength);
    const CPoint pt = pItem->GetRect().CenterPoint();
    for (int nMode : {1, 2, 0}) {
        m_client->EnableToolTips(nMode);
        EXPECT_EQ(m_client->OnToolHitTest(pt, nullptr), nMode == 1 ? 0 : -1) << nMode;
    }
}

TEST_F(TabClient, ThemeFourGivesAppearanceThreeWithColourSetSixteen) {
    Attach(FALSE);
    AddChild("a");
    CKLVTabPainter* pPainter = m_client->GetPaintManager();
    EXPECT_EQ(pPainter->GetAppearance(), 0);
    CKLVPaintManager::SetTheme(4);
    m_client->Refresh(TRUE);
    EXPECT_EQ(pPainter->GetAppearance(), 3);
    EXPECT_EQ(pPainter->GetColor(), 16);
    EXPECT_TRUE(pPainter->m_bStaticFrame);
    EXPECT_EQ(pPainter->m_nClientFrame, 1);
    EXPECT_TRUE(pPainter->m_bDisableLunaColors);
    EXPECT_FALSE(pPainter->m_bHotTracking);
    // The same theme again changes nothing the client set by hand.
    pPainter->m_bHotTracking = TRUE;
    m_client->SyncTheme();
    EXPECT_TRUE(pPainter->m_bHotTracking);
    CKLVPaintManager::SetTheme(0);
}

// A tab client given other command bars than its frame's, as a program may give it.
class COtherBarsTabClient : public CKLVTabClientWnd {
public:
    CKLVCommandBars* m_pBars = nullptr;
    CKLVCommandBars* GetCommandBars() const override { return m_pBars; }
};

// The tabs follow the theme of the command bars the client gives, not those of its frame.
TEST_F(TabClient, TheThemeFollowsTheCommandBarsTheClientGives) {
    auto* pBars = new CKLVCommandBars;
    pBars->SetPaintManager(CKLVPaintManager::CreateThemeObject(4));
    auto client = std::make_unique<COtherBarsTabClient>();
    client->m_pBars = pBars;
    ASSERT_TRUE(client->Attach(m_pFrame, FALSE));
    m_client = std::move(client);
    AddChild("a");
    m_client->Refresh(TRUE);
    EXPECT_EQ(m_client->GetPaintManager()->GetAppearance(), 3);
    EXPECT_EQ(m_client->GetPaintManager()->GetColor(), 16);
    m_pFrame->DestroyWindow();
    m_client.reset();
    pBars->InternalRelease();
}

TEST_F(TabClient, AClickOnATabActivatesItsChildAndTheCloseButtonClosesItAtTheNextIdle) {
    Attach(FALSE);
    m_client->SetFlags(0);
    CAnsweringChild* pFirst = AddChild("first");
    CAnsweringChild* pSecond = AddChild("second");
    auto* pRow = dynamic_cast<CKLVTabWorkspaceWnd*>(m_client->GetWorkspace(0));
    ASSERT_NE(pRow, nullptr);
    const HWND hRow = pRow->GetSafeHwnd();
    const CPoint ptFirst = m_client->FindItem(pFirst->GetSafeHwnd())->GetRect().CenterPoint();
    ::PostMessageA(hRow, WM_LBUTTONUP, 0, MAKELPARAM(ptFirst.x, ptFirst.y));
    ::SendMessageA(hRow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptFirst.x, ptFirst.y));
    EXPECT_EQ(m_pFrame->MDIGetActive(), pFirst);
    Idle();
    EXPECT_EQ(pRow->GetSelectedItem(), m_client->FindItem(pFirst->GetSafeHwnd()));

    CKLVTabManagerNavigateButton* pClose = pRow->FindNavigateButton(CKLVTabManagerNavigateButton::idClose);
    ASSERT_FALSE(pClose->GetRect().IsRectEmpty());
    const CPoint ptClose = pClose->GetRect().CenterPoint();
    ::PostMessageA(hRow, WM_LBUTTONUP, 0, MAKELPARAM(ptClose.x, ptClose.y));
    ::SendMessageA(hRow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptClose.x, ptClose.y));
    // The tab goes with the idle update the button posted.
    EXPECT_EQ(m_client->GetItemCount(), 2);
    classlib_test::PumpPending();
    EXPECT_EQ(Captions(), std::vector<std::string>{"second"});
    EXPECT_EQ(m_pFrame->MDIGetActive(), pSecond);
}

TEST_F(TabClient, DataDraggedOverATabActivatesItsWindowUnlessTheSettingIsOff) {
    Attach(TRUE);
    CAnsweringChild* pFirst = AddChild("first");
    AddChild("second");
    const CPoint ptFirst = m_client->FindItem(pFirst->GetSafeHwnd())->GetRect().CenterPoint();
    m_client->GetPaintManager()->m_bSelectOnDragOver = FALSE;
    m_client->m_pDropTarget->ActivateTabAt(m_client.get(), ptFirst);
    EXPECT_NE(m_pFrame->MDIGetActive(), pFirst);
    m_client->GetPaintManager()->m_bSelectOnDragOver = TRUE;
    m_client->m_pDropTarget->ActivateTabAt(m_client.get(), ptFirst);
    EXPECT_EQ(m_pFrame->MDIGetActive(), pFirst);
}

using testsupport::CDeferred;

TEST_F(TabClient, TheListButtonListsTheTabsNumberedAndActivatesTheChosenOne) {
    Attach(FALSE);
    m_client->SetFlags(CKLVTabClientWnd::flagListButton);
    CAnsweringChild* pFirst = AddChild("first");
    AddChild("R&D");
    auto* pRow = dynamic_cast<CKLVTabWorkspaceWnd*>(m_client->GetWorkspace(0));
    ASSERT_NE(pRow, nullptr);
    CKLVTabManagerNavigateButton* pList = pRow->FindNavigateButton(CKLVTabManagerNavigateButton::idTabList);
    ASSERT_FALSE(pList->GetRect().IsRectEmpty());
    EXPECT_STREQ(pList->m_strToolTip, "Active Files");
    std::vector<std::string> entries;
    BOOL bPressedWhileOpen = FALSE;
    CDeferred deferred;
    deferred.Post([&] {
        CKLVPopupBar* pPopup = TheTrackedPopup();
        ASSERT_NE(pPopup, nullptr);
        for (int i = 0; i < pPopup->GetControlCount(); ++i) entries.emplace_back(pPopup->GetControl(i)->GetCaption());
        bPressedWhileOpen = pList->IsPressed();
        pPopup->GetControl(0)->OnExecute();
    });
    const CPoint pt = pList->GetRect().CenterPoint();
    pRow->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(entries, (std::vector<std::string>{"&1 first", "&2 R&&D"}));
    EXPECT_TRUE(bPressedWhileOpen);
    EXPECT_FALSE(pList->IsPressed());
    EXPECT_EQ(m_pFrame->MDIGetActive(), pFirst);
}

TEST_F(TabClient, ABarControlTakesTheTabsIntoItsRowAndGivesThemBackWhenItGoes) {
    Attach(FALSE);
    AddChild("first");
    AddChild("second");
    auto pControl = std::make_unique<CKLVControlTabWorkspace>();
    pControl->SetTabClient(m_client.get());
    ASSERT_EQ(m_client->GetWorkspaceCount(), 1);
    EXPECT_EQ(m_client->GetWorkspace(0), pControl->GetWorkspace());
    EXPECT_EQ(SortedCaptions(), (std::vector<std::string>{"first", "second"}));
    // No band of its own: the MDI area fills the frame's client area.
    CRect rcFrame, rcMDI;
    m_pFrame->GetClientRect(&rcFrame);
    ::GetWindowRect(m_pFrame->m_hWndMDIClient, &rcMDI);
    EXPECT_EQ(rcMDI.Height(), rcFrame.Height());
    pControl->SetRect(CRect(0, 0, 400, 24));
    CClientDC dc(nullptr);
    const CSize size = pControl->GetSize(&dc);
    EXPECT_EQ(size.cx, pControl->GetWorkspace()->GetItemsLength());
    EXPECT_EQ(size.cy, pControl->m_nThickness);
    EXPECT_GT(size.cx, 0);

    pControl.reset();
    ASSERT_EQ(m_client->GetWorkspaceCount(), 1);
    EXPECT_NE(dynamic_cast<CKLVTabWorkspaceWnd*>(m_client->GetWorkspace(0)), nullptr);
    EXPECT_EQ(SortedCaptions(), (std::vector<std::string>{"first", "second"}));
}

// ---------------------------------------------------------------------------------------------
// Tab groups.

class TabGroups : public TabClient {
protected:
    void SetUp() override {
        TabClient::SetUp();
        Attach(TRUE);
        for (const char* pszTitle : {"a", "b", "c"}) m_children.push_back(AddChild(pszTitle));
    }
    // Splits off the active child's tab into a new group.
    void Split(CWnd* pChild, int nState) {
        Activate(pChild);
        CKLVTabManagerItem* pItem = m_client->FindItem(pChild->GetSafeHwnd());
        m_client->MoveItemToGroup(pItem, static_cast<CKLVTabWorkspace*>(pItem->GetTabManager()), nState);
    }

    std::vector<CAnsweringChild*> m_children;
};

TEST_F(TabGroups, GetItemCountsThroughTheGroupsInOrder) {
    Split(m_children[0], CKLVTabClientWnd::dropNewStacked);
    EXPECT_EQ(Groups(), (std::vector<int>{2, 1}));
    EXPECT_EQ(m_client->GetItemCount(), 3);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(m_client->GetItem(2)->GetHandle(), m_children[0]->GetSafeHwnd());
    EXPECT_EQ(m_client->GetItem(3), nullptr);
    EXPECT_EQ(m_client->GetActiveWorkspace(), m_client->GetWorkspace(1));
    EXPECT_TRUE(m_client->IsStackedGroups());
    // Each child fills its group's area under the row.
    CRect rcChild;
    m_children[0]->GetWindowRect(&rcChild);
    m_client->ScreenToClient(&rcChild);
    EXPECT_EQ(rcChild, m_client->GetWorkspace(1)->GetClientRect());
}

TEST_F(TabGroups, MoveItemToGroupSplitsStackedOrSideBySideAndMovesIntoAnotherGroup) {
    Split(m_children[2], CKLVTabClientWnd::dropNewSideBySide);
    EXPECT_EQ(Groups(), (std::vector<int>{2, 1}));
    EXPECT_FALSE(m_client->IsStackedGroups());
    CKLVTabWorkspace* pFirst = m_client->GetWorkspace(0);
    CKLVTabWorkspace* pSecond = m_client->GetWorkspace(1);
    EXPECT_LT(pFirst->GetControlRect().right, pSecond->GetControlRect().left);
    EXPECT_EQ(pFirst->GetControlRect().top, pSecond->GetControlRect().top);
    // The old group's share less the splitter, halved between the two.
    EXPECT_DOUBLE_EQ(pFirst->m_dHeight, pSecond->m_dHeight);
    EXPECT_NEAR(pFirst->GetControlRect().Width(), pSecond->GetControlRect().Width(), 1);

    Activate(m_children[0]);
    CKLVTabManagerItem* pItem = m_client->FindItem(m_children[0]->GetSafeHwnd());
    const COLORREF clrItem = pItem->m_clrItem;
    m_client->MoveItemToGroup(pItem, pSecond, CKLVTabClientWnd::dropHeader);
    EXPECT_EQ(Groups(), (std::vector<int>{1, 2}));
    EXPECT_EQ(pItem->GetTabManager(), pSecond);
    EXPECT_EQ(pItem->m_clrItem, clrItem);
    EXPECT_EQ(pSecond->GetSelectedItem(), pItem);
    // Moving the last tab of a group empties it and the group goes.
    m_client->MoveItemToGroup(m_client->GetItem(0), pSecond, CKLVTabClientWnd::dropHeader);
    EXPECT_EQ(Groups(), std::vector<int>{3});
}

TEST_F(TabGroups, ClosingAGroupsLastTabGivesItsShareToThePreviousGroupOrTheNextForTheFirst) {
    Split(m_children[2], CKLVTabClientWnd::dropNewStacked);
    Split(m_children[1], CKLVTabClientWnd::dropNewStacked);
    ASSERT_EQ(Captions(), (std::vector<std::string>{"a", "b", "c"}));
    ASSERT_EQ(Groups(), (std::vector<int>{1, 1, 1}));
    double shares[3];
    for (int i = 0; i < 3; ++i) shares[i] = m_client->GetWorkspace(i)->m_dHeight;
    CKLVTabWorkspace* pFirst = m_client->GetWorkspace(0);
    CKLVTabWorkspace* pThird = m_client->GetWorkspace(2);
    Close(m_children[1]);   // the middle group: its share goes to the first
    ASSERT_EQ(Groups(), (std::vector<int>{1, 1}));
    EXPECT_DOUBLE_EQ(pFirst->m_dHeight, shares[0] + shares[1] + 5);
    EXPECT_DOUBLE_EQ(pThird->m_dHeight, shares[2]);
    Close(m_children[0]);   // the first group: its share goes to the next
    ASSERT_EQ(Groups(), std::vector<int>{1});
    EXPECT_DOUBLE_EQ(pThird->m_dHeight, shares[0] + shares[1] + 5 + shares[2] + 5);
    Close(m_children[2]);   // the last group of all has no one to hand its share to
    EXPECT_EQ(m_client->GetWorkspaceCount(), 0);
}

TEST_F(TabGroups, GroupCommandsFollowTheActiveTabsGroup) {
    struct Case {
        int nActive;
        BOOL bPrev, bNext, bHorz, bVert;
    };
    auto check = [this](const Case& c) {
        Activate(m_children[c.nActive]);
        EXPECT_EQ(m_client->IsGroupCommandEnabled(9155), c.bPrev) << c.nActive;
        EXPECT_EQ(m_client->IsGroupCommandEnabled(9156), c.bNext) << c.nActive;
        EXPECT_EQ(m_client->IsGroupCommandEnabled(9157), c.bHorz) << c.nActive;
        EXPECT_EQ(m_client->IsGroupCommandEnabled(9158), c.bVert) << c.nActive;
    };
    check({0, FALSE, FALSE, TRUE, TRUE});
    Split(m_children[2], CKLVTabClientWnd::dropNewStacked);   // {a, b} over {c}
    for (const Case& c : {Case{0, FALSE, TRUE, TRUE, FALSE}, Case{2, TRUE, FALSE, FALSE, FALSE}}) check(c);

    // The commands arrive as WM_COMMAND; a disabled one is not carried out.
    Activate(m_children[2]);
    m_client->SendMessage(WM_COMMAND, 9156);
    EXPECT_EQ(Groups(), (std::vector<int>{2, 1}));
    m_client->SendMessage(WM_COMMAND, 9155);
    EXPECT_EQ(Groups(), std::vector<int>{3});
    Activate(m_children[1]);
    m_client->SendMessage(WM_COMMAND, 9158);
    EXPECT_EQ(Groups(), (std::vector<int>{2, 1}));
    EXPECT_FALSE(m_client->IsStackedGroups());
}

TEST_F(TabGroups, ASingleTabDraggedOntoItsOwnGroupsLowerEdgeOffersNoSplit) {
    Split(m_children[2], CKLVTabClientWnd::dropNewSideBySide);
    for (int nGroup : {0, 1}) {
        CKLVTabWorkspace* pWorkspace = m_client->GetWorkspace(nGroup);
        const CRect rc = pWorkspace->GetControlRect();
        const CPoint ptLower(rc.CenterPoint().x, rc.bottom - 5), ptRight(rc.right - 5, rc.CenterPoint().y);
        CKLVTabWorkspace* pTarget = nullptr;
        CRect rcTarget;
        // Side-by-side groups offer no stacked split; the lone tab of the second group no split.
        EXPECT_EQ(m_client->HitTestDropState(pWorkspace, ptLower, pTarget, rcTarget), CKLVTabClientWnd::dropClient);
        const int nRight = m_client->HitTestDropState(pWorkspace, ptRight, pTarget, rcTarget);
        EXPECT_EQ(nRight, nGroup == 0 ? CKLVTabClientWnd::dropNewSideBySide : CKLVTabClientWnd::dropClient) << nGroup;
    }
    // One group holding one tab is only selected by a press: no drag loop starts.
    Close(m_children[0]);
    Close(m_children[1]);
    ASSERT_EQ(Groups(), std::vector<int>{1});
    CKLVTabManagerItem* pItem = m_client->GetItem(0);
    Idle();
    PressClient(pItem->GetRect().CenterPoint());
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(TabGroups, DraggingATabOntoAnotherGroupsHeaderMovesItThere) {
    Split(m_children[2], CKLVTabClientWnd::dropNewStacked);
    CKLVTabManagerItem* pDragged = m_client->FindItem(m_children[0]->GetSafeHwnd());
    const CRect rcHeader = m_client->GetWorkspace(1)->GetHeaderRect();
    const CPoint ptDrop(rcHeader.right - 10, rcHeader.CenterPoint().y);
    PostToClient(WM_MOUSEMOVE, MK_LBUTTON, CPoint(pDragged->GetRect().CenterPoint().x, rcHeader.top - 40));
    PostToClient(WM_MOUSEMOVE, MK_LBUTTON, ptDrop);
    PostToClient(WM_LBUTTONUP, 0, ptDrop);
    PressClient(pDragged->GetRect().CenterPoint());
    Idle();
    EXPECT_EQ(Groups(), (std::vector<int>{1, 2}));
    EXPECT_EQ(pDragged->GetTabManager(), m_client->GetWorkspace(1));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(DesktopUnlocked());
}

TEST_F(TabClient, AWorkspaceActionsPlaceholderListsTheEnabledGroupCommandsInItsPlace) {
    CKLVPopupBar* pPopup = CKLVPopupBar::CreatePopupBar(m_pFrame->GetCommandBars());
    CKLVControls* pControls = pPopup->GetControls();
    pControls->Add(CKLVControl::typeButton, 100);
    CKLVControl* pPlaceholder = pControls->Add(CKLVControl::typeButton, 35002);
    ASSERT_TRUE(pPlaceholder->IsKindOf(RUNTIME_CLASS(CKLVControlWorkspaceActions)));
    pPlaceholder->SetBeginGroup(TRUE);
    pControls->Add(CKLVControl::typeButton, 101);
    auto ids = [pControls] {
        std::vector<int> result;
        for (int i = 0; i < pControls->GetCount(); ++i) result.push_back(pControls->GetAt(i)->GetId());
        return result;
    };
    // A plain MDI client: the placeholder stays as it is.
    pPlaceholder->PrepareDynamicLayout(0);
    EXPECT_EQ(ids(), (std::vector<int>{100, 35002, 101}));
    EXPECT_EQ(pPlaceholder->GetHideFlags(), 0u);

    Attach(TRUE);
    std::vector<CAnsweringChild*> children;
    for (const char* pszTitle : {"a", "b", "c"}) children.push_back(AddChild(pszTitle));
    Activate(children[0]);
    pPlaceholder->PrepareDynamicLayout(0);
    EXPECT_EQ(ids(), (std::vector<int>{100, 35002, 9157, 9158, 101}));
    EXPECT_TRUE(pPlaceholder->GetHideFlags() & CKLVControl::hideGeneric);
    EXPECT_STREQ(pControls->GetAt(2)->GetCaption(), "New Hori&zontal Tab Group");
    EXPECT_TRUE(pControls->GetAt(2)->GetBeginGroup());
    EXPECT_FALSE(pControls->GetAt(3)->GetBeginGroup());

    // {a, b} over {c}: the next layout lists what is allowed now, last layout's items gone.
    Activate(children[2]);
    m_client->MoveItemToGroup(m_client->FindItem(children[2]->GetSafeHwnd()), m_client->GetWorkspace(0),
                              CKLVTabClientWnd::dropNewStacked);
    Activate(children[0]);
    pPlaceholder->PrepareDynamicLayout(0);
    EXPECT_EQ(ids(), (std::vector<int>{100, 35002, 9157, 9156, 101}));
    pPopup->InternalRelease();
}

TEST_F(TabGroups, ATabDroppedOnTheClientOffersTheEnabledGroupCommandsAndCancel) {
    Split(m_children[2], CKLVTabClientWnd::dropNewStacked);   // {a, b} over {c}
    CKLVTabManagerItem* pDragged = m_client->FindItem(m_children[0]->GetSafeHwnd());
    const CPoint ptDrop = m_client->GetWorkspace(0)->GetClientRect().CenterPoint();
    PostToClient(WM_MOUSEMOVE, MK_LBUTTON, ptDrop);
    PostToClient(WM_LBUTTONUP, 0, ptDrop);
    std::vector<int> ids;
    CDeferred deferred;
    deferred.Post([&] {
        CKLVPopupBar* pPopup = TheTrackedPopup();
        ASSERT_NE(pPopup, nullptr);
        for (int i = 0; i < pPopup->GetControlCount(); ++i) ids.push_back(pPopup->GetControl(i)->GetId());
        EXPECT_TRUE(pPopup->GetControl(pPopup->GetControlCount() - 1)->GetBeginGroup());
        // Captions from the prompt strings, without their empty description.
        EXPECT_STREQ(pPopup->GetControl(0)->GetCaption(), "New Hori&zontal Tab Group");
        EXPECT_STREQ(pPopup->GetControl(pPopup->GetControlCount() - 1)->GetCaption(), "C&ancel");
        pPopup->GetControl(0)->OnExecute();
    });
    PressClient(pDragged->GetRect().CenterPoint());
    Idle();
    EXPECT_EQ(ids, (std::vector<int>{9157, 9156, 9159}));
    EXPECT_EQ(Captions(), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(Groups(), (std::vector<int>{1, 1, 1}));
    EXPECT_TRUE(DesktopUnlocked());
}

TEST_F(TabGroups, SplitterAndGroupDragLoopsEndOnQuitOrLostCaptureAndUnlockTheDesktop) {
    Split(m_children[2], CKLVTabClientWnd::dropNewStacked);
    CKLVTabWorkspace* pFirst = m_client->GetWorkspace(0);
    const CPoint ptSplitter = pFirst->m_rcSplitter.CenterPoint();
    const CPoint ptTab = m_client->GetItem(0)->GetRect().CenterPoint();
    const CPoint ptOutside(ptTab.x, pFirst->GetClientRect().CenterPoint().y);
    CCaptureThief thief;
    ASSERT_TRUE(thief.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "thief", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    for (BOOL bOutline : {TRUE, FALSE}) {
        m_client->m_bOutlineSplitter = bOutline;
        for (BOOL bQuit : {TRUE, FALSE}) {
            for (const CPoint& ptPress : {ptSplitter, ptTab}) {
                Idle();
                PostToClient(WM_MOUSEMOVE, MK_LBUTTON, ptPress == ptTab ? ptOutside : ptSplitter + CPoint(0, 3));
                if (bQuit) {
                    ::PostQuitMessage(7);
                } else {
                    thief.PostMessage(CCaptureThief::msgSteal);
                    thief.PostMessage(WM_NULL);
                }
                PressClient(ptPress);
                MSG msg;
                EXPECT_EQ(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE), bQuit) << bOutline << bQuit;
                EXPECT_NE(::GetCapture(), m_client->GetSafeHwnd());
                EXPECT_TRUE(DesktopUnlocked());
                ::ReleaseCapture();
                classlib_test::PumpPending();
            }
        }
    }
    EXPECT_EQ(Groups(), (std::vector<int>{2, 1}));
}

TEST_F(TabGroups, ALiveSplitterDragSharesTheSpaceAtThePointer) {
    Split(m_children[2], CKLVTabClientWnd::dropNewStacked);
    m_client->m_bOutlineSplitter = FALSE;
    CKLVTabWorkspace* pFirst = m_client->GetWorkspace(0);
    CKLVTabWorkspace* pSecond = m_client->GetWorkspace(1);
    const CPoint ptSplitter = pFirst->m_rcSplitter.CenterPoint();
    const int nTarget = pFirst->GetControlRect().top + 100;
    PostToClient(WM_MOUSEMOVE, MK_LBUTTON, CPoint(ptSplitter.x, nTarget + 2));
    PostToClient(WM_LBUTTONUP, 0, CPoint(ptSplitter.x, nTarget + 2));
    Idle();
    PressClient(ptSplitter);
    EXPECT_NEAR(pFirst->m_rcSplitter.top, nTarget, 2);
    EXPECT_NEAR(pFirst->GetControlRect().Height(), 100, 2);
    EXPECT_EQ(pSecond->GetControlRect().top, pFirst->m_rcSplitter.bottom);
}

}  // namespace
