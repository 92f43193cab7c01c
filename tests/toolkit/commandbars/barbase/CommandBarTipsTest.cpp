// The command bars' tooltip host in use: bars made by the manager send their mouse through the
// host it shares, and the options "ToolBarScreenTips" and "ToolBarAccelTips" decide what shows.
#include "PopupBarTestSupport.h"
#include "classlib/ClassLib.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/tooltips/TooltipHost.h"
#include "toolkit/commandbars/tooltips/TooltipWnd.h"

#include <gtest/gtest.h>

namespace commandbars_test {

// A bar shown on a visible top-level window, where the mouse could reach it.
class CTipTestBar : public CKLVCommandBar {
    DECLARE_DYNCREATE(CTipTestBar)
public:
    BOOL SetPosition(int nPosition) override {
        m_barPosition = nPosition;
        if (GetSafeHwnd()) return TRUE;
        static HWND s_hWndStage = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, AfxRegisterWndClass(0), "bars",
                                                    WS_POPUP | WS_VISIBLE, 600, 500, 300, 60, nullptr, nullptr,
                                                    AfxGetInstanceHandle(), nullptr);
        return CreateEx(0, AfxRegisterWndClass(0), "bar", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 40),
                        CWnd::FromHandle(s_hWndStage), 0);
    }
};
IMPLEMENT_DYNCREATE(CTipTestBar, CKLVCommandBar)

namespace {

TEST(CommandBarTips, BarsRelayThroughTheSharedHostAsTheOptionsSay) {
    CKLVFlatTestTheme::Register();
    CKLVCommandBars commandBars;
    CKLVCommandBar* pBar = commandBars.Add("bar", CKLVCommandBar::barTop, RUNTIME_CLASS(CTipTestBar));
    ASSERT_TRUE(pBar);
    EXPECT_EQ(pBar->GetToolTipContext(), commandBars.GetToolTipContext());
    CKLVControl* pControl = pBar->GetControls()->Add(CKLVControl::typeButton, 57601);
    pControl->m_rcControl = CRect(0, 0, 20, 20);
    pControl->m_strTooltipText = "Open";
    pControl->m_strShortcutText = "Ctrl+O";
    auto* pHost = static_cast<CKLVTooltipHost*>(commandBars.GetToolTipContext());
    CKLVCommandBarsOptions* pOptions = commandBars.GetOptions();

    struct Case {
        const char* what;
        BOOL bScreenTips, bAccelTips;
        const char* pszTip;   // null: no tool
    } const cases[] = {{"screen tips", TRUE, FALSE, "Open"},
                       {"with shortcuts", TRUE, TRUE, "Open (Ctrl+O)"},
                       {"no screen tips", FALSE, TRUE, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pOptions->bToolBarScreenTips = c.bScreenTips;
        pOptions->bToolBarAccelTips = c.bAccelTips;
        pBar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(150, 30));   // off the control: the tool goes
        pBar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        auto* pTip = dynamic_cast<CKLVTooltipWnd*>(pHost->GetToolTip());
        ASSERT_TRUE(pTip) << "style 2 is the toolkit's own window";
        if (!c.pszTip) {
            EXPECT_EQ(pTip->GetToolCount(), 0);
            continue;
        }
        ASSERT_EQ(pTip->GetToolCount(), 1);
        EXPECT_EQ(pTip->GetTool(0)->uId, 57601u);
        EXPECT_STREQ(pTip->GetTool(0)->strText, c.pszTip);
    }
}

TEST(CommandBarTips, AShownTipGoesWhenAPopupOpens) {
    CKLVFlatTestTheme::Register();
    CKLVCommandBars commandBars;
    CKLVCommandBar* pBar = commandBars.Add("bar", CKLVCommandBar::barTop, RUNTIME_CLASS(CTipTestBar));
    ASSERT_TRUE(pBar);
    CKLVControl* pControl = pBar->GetControls()->Add(CKLVControl::typeButton, 57601);
    pControl->m_rcControl = CRect(0, 0, 20, 20);
    pControl->m_strTooltipText = "Open";
    commandBars.GetOptions()->animateType = CKLVPopupBar::animateNone;
    auto* pHost = static_cast<CKLVTooltipHost*>(commandBars.GetToolTipContext());
    pBar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(150, 30));
    pBar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    auto* pTip = dynamic_cast<CKLVTooltipWnd*>(pHost->GetToolTip());
    ASSERT_TRUE(pTip);
    pTip->SendMessage(TTM_ACTIVATE, TRUE);   // the bars' window is active
    pBar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    ASSERT_EQ(pTip->GetPendingTool().uId, 57601u);
    pTip->SendMessage(WM_TIMER, CKLVTooltipWnd::timerShow);
    ASSERT_TRUE(pTip->IsWindowVisible());

    auto* pPopup = new CWorkAreaPopup;
    pPopup->m_pCommandBars = &commandBars;
    pPopup->m_pLink = &commandBars;
    pPopup->GetControls()->Add(CKLVControl::typeButton, 101)->SetCaption("Command");
    ASSERT_TRUE(pPopup->Popup(100, 100, nullptr));
    EXPECT_FALSE(pTip->IsWindowVisible());
    EXPECT_TRUE(pTip->GetCurrentTool().IsEmpty());
    EXPECT_TRUE(pTip->IsActive()) << "the next tool the mouse reaches shows its tip";
    pPopup->SetTrackingMode(FALSE);
    pPopup->InternalRelease();
}

}  // namespace

}  // namespace commandbars_test
