// Key tips: the keys they show (from mnemonics, distinct within a group, numbered when no letter
// is left), the windows shown for a popup opened with Alt+letter (none with the
// option off), translucent disabled tips, and typing their keys.
#include "MenuFrameTestSupport.h"
#include "toolkit/commandbars/keytips/CommandBarKeyboardTip.h"
#include "toolkit/commandbars/manager/KeyboardTipCaptions.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/common/KeyboardHook.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

constexpr LPARAM kAltDown = 1 << 29;

TEST(KeyboardTipCaptions, FromMnemonicsDistinctWithinAGroup) {
    struct Case {
        const char* pszName;
        std::vector<std::pair<const char*, const char*>> tips;   // preset caption, label
        std::vector<const char*> expected;                     // nullptr: the tip goes
    };
    const Case cases[] = {
        {"distinct mnemonics stay single keys", {{"", "&Save"}, {"", "Open"}, {"", "E&xit"}}, {"S", "O", "X"}},
        {"a shared mnemonic takes the rest of each label", {{"", "&File"}, {"", "&Format"}}, {"FI", "FO"}},
        {"case does not separate a group", {{"", "&file"}, {"", "&Fold"}, {"", "&Fix"}}, {"FI", "FO", "FX"}},
        {"no letter left: the position in the group", {{"", "&Go"}, {"", "&Go"}}, {"GO", "G2"}},
        {"labels of one letter are numbered", {{"", "A"}, {"", "A"}}, {"A1", "A2"}},
        {"a letter taken by an earlier tip is skipped", {{"", "&Pa"}, {"", "&Pa"}, {"", "&Pb"}}, {"PA", "P2", "PB"}},
        {"blanks and ampersands never count", {{"", "&A b&c"}, {"", "&A bx"}}, {"AB", "AX"}},
        {"a preset key stays, a tip without label or key goes", {{"Q", "&Print"}, {"", ""}, {"", "&Print"}}, {"Q", nullptr, "P"}},
        {"a preset key joins the group of an equal one", {{"P", "&Print"}, {"", "&Preview"}}, {"PR", "PE"}},
    };
    for (const Case& c : cases) {
        std::vector<CKLVKeyboardTipCaptions::Entry> entries;
        for (const auto& tip : c.tips) entries.push_back({tip.first, tip.second});
        CKLVKeyboardTipCaptions::Assign(entries);
        ASSERT_EQ(entries.size(), c.expected.size()) << c.pszName;
        for (size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].bRemoved, c.expected[i] == nullptr) << c.pszName << " #" << i;
            if (c.expected[i]) {
                EXPECT_STREQ(entries[i].strCaption, c.expected[i]) << c.pszName << " #" << i;
            }
        }
    }
}

// A button that records its activation by the keyboard (before doing what buttons do).
class CActivatedButton : public CKLVControlButton {
public:
    explicit CActivatedButton(std::vector<int>* pActivated) : m_pActivated(pActivated) {}
    void OnKeyboardActivate() override {
        m_pActivated->push_back(GetId());
        CKLVControlButton::OnKeyboardActivate();
    }
    std::vector<int>* m_pActivated;
};

// Command bars that count their beeps instead of sounding them.
class CQuietCommandBars : public CKLVCommandBars {
    DECLARE_DYNCREATE(CQuietCommandBars)
public:
    mutable int m_nBeeps = 0;

protected:
    void BeepAtKey() const override { ++m_nBeeps; }
};
IMPLEMENT_DYNCREATE(CQuietCommandBars, CKLVCommandBars)

class KeyboardTips : public ::testing::Test {
protected:
    KeyboardTips() : m_frame(RUNTIME_CLASS(CQuietCommandBars)) {}
    void SetUp() override {
        m_frame.m_pFrame->ShowWindow(SW_SHOW);
        ::SetForegroundWindow(m_frame.m_hFrame);
        ::SetActiveWindow(m_frame.m_hFrame);
        m_pOptions = m_frame.m_pCommandBars->GetOptions();
        m_pOptions->bShowKeyboardTips = TRUE;
    }
    void TearDown() override { m_frame.m_pCommandBars->HideKeyboardTips(); }

    CQuietCommandBars* CommandBars() const { return static_cast<CQuietCommandBars*>(m_frame.m_pCommandBars); }
    // The File popup of the menu bar, its items replaced by buttons with the captions (ids from 1001).
    CKLVCommandBar* FilePopup(std::initializer_list<const char*> captions) {
        CKLVCommandBar* pPopup = m_frame.m_pMenuBar->GetControl(0)->GetCommandBar();
        CKLVControls* pControls = pPopup->GetControls();
        pControls->RemoveAll();
        int nId = 1001;
        for (const char* pszCaption : captions) pControls->Add(new CActivatedButton(&m_activated), nId++)->SetCaption(pszCaption);
        return pPopup;
    }
    // Alt+letter on the frame, then the messages the bars posted themselves (the tips' timer).
    void AltKeyAndPostedMessages(UINT nKey) {
        MSG msg = {m_frame.m_hFrame, WM_SYSKEYDOWN, nKey, kAltDown | 1, 0, {0, 0}};
        ASSERT_TRUE(m_frame.m_pFrame->PreTranslateMessage(&msg));
        while (::PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (int i = 0; i < CommandBars()->GetKeyboardTipCount(); ++i)
            captions.emplace_back(CommandBars()->GetKeyboardTip(i)->m_strCaption);
        return captions;
    }

    CMenuFrameFixture m_frame;
    CKLVCommandBarsOptions* m_pOptions = nullptr;
    std::vector<int> m_activated;
};

TEST_F(KeyboardTips, APopupOpenedWithAltShowsItsTipsOnlyWithTheOption) {
    for (BOOL bOption : {FALSE, TRUE}) {
        m_pOptions->bShowKeyboardTips = bOption;
        CKLVCommandBar* pPopup = FilePopup({"&Find", "&Format", "&Help", ""});
        AltKeyAndPostedMessages('F');
        ASSERT_NE(pPopup->GetSafeHwnd(), nullptr);
        ASSERT_EQ(pPopup->GetTrackingMode() != 0, TRUE);
        if (!bOption) {
            EXPECT_EQ(CommandBars()->GetKeyboardTipCount(), 0);
            EXPECT_FALSE(CommandBars()->IsKeyboardTipsShown(pPopup));
        } else {
            EXPECT_TRUE(CommandBars()->IsKeyboardTipsShown(pPopup));
            EXPECT_EQ(Captions(), (std::vector<std::string>{"FI", "FO", "H"}));
            for (int i = 0; i < CommandBars()->GetKeyboardTipCount(); ++i) {
                CKLVCommandBarKeyboardTip* pTip = CommandBars()->GetKeyboardTip(i);
                ASSERT_TRUE(::IsWindowVisible(pTip->GetSafeHwnd())) << i;
                EXPECT_TRUE(pTip->GetExStyle() & WS_EX_TOPMOST);
                EXPECT_TRUE(pTip->GetExStyle() & WS_EX_TOOLWINDOW);
                CRect rc;
                pTip->GetWindowRect(&rc);
                EXPECT_GE(rc.Width(), 16);
                EXPECT_GE(rc.Height(), 15);
                // Its point is 12 pixels into its control and 11 above its bottom.
                const CRect rcControl = pPopup->GetControl(i)->GetRect();
                CPoint pt(rcControl.left + 12, rcControl.bottom - 11);
                pPopup->ClientToScreen(&pt);
                EXPECT_EQ(rc.TopLeft(), pt) << i;
                EXPECT_EQ(::SendMessageA(pTip->GetSafeHwnd(), WM_NCHITTEST, 0, MAKELPARAM(rc.left + 1, rc.top + 1)),
                          HTTRANSPARENT);
            }
        }
        m_frame.m_pCommandBars->ClosePopups();
        EXPECT_EQ(CommandBars()->GetKeyboardTipCount(), 0) << "closing the popups takes the tips";
    }
}

TEST_F(KeyboardTips, MenusOpenedByTheMouseAfterKeyboardWorkShowNoTips) {
    CKLVCommandBar* pPopup = FilePopup({"&Find"});
    AltKeyAndPostedMessages('F');
    ASSERT_TRUE(CommandBars()->IsKeyboardTipsShown(pPopup));
    m_frame.m_pCommandBars->ClosePopups();
    EXPECT_EQ(m_frame.m_pCommandBars->m_nKeyboardNavigationLevel, 0);
    m_frame.m_pMenuBar->SetTrackingMode(TRUE, FALSE, FALSE);
    m_frame.m_pMenuBar->SetPopuped(0, FALSE);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) ::DispatchMessageA(&msg);
    ASSERT_TRUE(::IsWindowVisible(pPopup->GetSafeHwnd()));
    EXPECT_EQ(CommandBars()->GetKeyboardTipCount(), 0);
    m_frame.m_pCommandBars->ClosePopups();
}

TEST_F(KeyboardTips, TypingNarrowsTheTipsActivatesOneAndBeepsAtOthers) {
    CKLVCommandBar* pPopup = FilePopup({"&Find", "&Format", "&Help", "&Gone"});
    pPopup->GetControl(3)->SetEnabled(FALSE);
    AltKeyAndPostedMessages('F');
    ASSERT_EQ(Captions(), (std::vector<std::string>{"FI", "FO", "H", "G"}));
    // Keys reach the tracked popup through the thread's keyboard hook.
    KLVKeyboardHook()->OnHookKey('Z', 1);
    EXPECT_EQ(CommandBars()->m_nBeeps, 1);
    KLVKeyboardHook()->OnHookKey('G', 1);   // the disabled control's tip
    EXPECT_EQ(CommandBars()->m_nBeeps, 2);
    EXPECT_TRUE(m_activated.empty());
    KLVKeyboardHook()->OnHookKey('F', 1);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"FI", "FO"}));
    EXPECT_TRUE(m_activated.empty());
    KLVKeyboardHook()->OnHookKey('H', 1);   // no longer among the tips
    EXPECT_EQ(CommandBars()->m_nBeeps, 3);
    KLVKeyboardHook()->OnHookKey('O', 1);
    EXPECT_EQ(m_activated, std::vector<int>{1002});
    EXPECT_EQ(CommandBars()->GetKeyboardTipCount(), 0);
}

TEST_F(KeyboardTips, DisabledTipsAreTranslucentWhereLayeredWindowsExist) {
    CKLVCommandBar* pBar = m_frame.m_pCommandBars->Add("Tools", CKLVCommandBar::barTop);
    ASSERT_NE(pBar, nullptr);
    pBar->GetControls()->Add(CKLVControl::typeButton, 2001)->SetCaption("&On");
    pBar->GetControls()->Add(CKLVControl::typeButton, 2002)->SetCaption("O&ff");
    pBar->GetControl(1)->SetEnabled(FALSE);
    m_frame.m_pCommandBars->RecalcFrameLayout();
    CKLVPaintManager* pPaintManager = m_frame.m_pCommandBars->GetPaintManager();
    const auto pfnLayered = pPaintManager->m_pfnSetLayeredWindowAttributes;
    ASSERT_NE(pfnLayered, nullptr);
    for (BOOL bLayeredWindows : {TRUE, FALSE}) {
        pPaintManager->m_pfnSetLayeredWindowAttributes = bLayeredWindows ? pfnLayered : nullptr;
        m_frame.m_pCommandBars->ShowKeyboardTips(pBar);
        // The bar's own controls (its expand button) come after these two.
        const std::vector<std::string> captions = Captions();
        ASSERT_GE(captions.size(), 2u);
        EXPECT_EQ(std::vector<std::string>(captions.begin(), captions.begin() + 2), (std::vector<std::string>{"O", "F"}));
        EXPECT_FALSE(CommandBars()->GetKeyboardTip(0)->GetExStyle() & WS_EX_LAYERED);
        CKLVCommandBarKeyboardTip* pDisabled = CommandBars()->GetKeyboardTip(1);
        EXPECT_EQ((pDisabled->GetExStyle() & WS_EX_LAYERED) != 0, bLayeredWindows);
        if (bLayeredWindows) {
            BYTE nAlpha = 0;
            DWORD dwFlags = 0;
            ASSERT_TRUE(::GetLayeredWindowAttributes(pDisabled->GetSafeHwnd(), nullptr, &nAlpha, &dwFlags));
            EXPECT_EQ(nAlpha, 150);
            EXPECT_TRUE(dwFlags & LWA_ALPHA);
        }
        m_frame.m_pCommandBars->HideKeyboardTips();
        EXPECT_FALSE(CommandBars()->IsKeyboardTipsShown(pBar));
    }
    pPaintManager->m_pfnSetLayeredWindowAttributes = pfnLayered;
    // Without the option the bars show nothing, even when asked.
    m_pOptions->bShowKeyboardTips = FALSE;
    m_frame.m_pCommandBars->ShowKeyboardTips(pBar);
    EXPECT_EQ(CommandBars()->GetKeyboardTipCount(), 0);
}

}  // namespace

TEST_F(KeyboardTips, ATipOfAToolBarStartsTrackingItAndATipOfAnotherBarDoesNothing) {
    CKLVCommandBar* pToolBar = m_frame.m_pCommandBars->Add("Tools", CKLVCommandBar::barTop);
    ASSERT_NE(pToolBar, nullptr);
    pToolBar->GetControls()->Add(CKLVControl::typeButton, 1001)->SetCaption("&Go");
    CKLVCommandBar* pPopup = FilePopup({"&Find"});
    const struct {
        const char* name;
        CKLVCommandBar* pLabelled;
        BOOL bTracked;
    } rows[] = {{"menu bar", m_frame.m_pMenuBar, TRUE}, {"tool bar", pToolBar, TRUE}, {"popup bar", pPopup, FALSE}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CKLVCommandBarKeyboardTip tip;
        tip.m_pLabelled = row.pLabelled;
        m_frame.m_pMenuBar->OnKeyboardTip(&tip);
        EXPECT_EQ(row.pLabelled->GetTrackingMode() != 0, row.bTracked);
        for (CKLVCommandBar* pBar : {static_cast<CKLVCommandBar*>(m_frame.m_pMenuBar), pToolBar, pPopup}) {
            if (pBar != row.pLabelled) {
                EXPECT_EQ(pBar->GetTrackingMode(), 0);
            }
        }
        CommandBars()->ClosePopups();
        for (CKLVCommandBar* pBar : {static_cast<CKLVCommandBar*>(m_frame.m_pMenuBar), pToolBar}) pBar->SetTrackingMode(FALSE);
    }
}
