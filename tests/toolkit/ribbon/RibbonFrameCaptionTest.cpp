// The ribbon as its frame's caption on a hidden frame: the frame integration it creates, the
// caption band reaching over the frame's border, the caption buttons the frame's style asks for,
// the title, and the frame recalculated when the ribbon comes or goes.
#include "RibbonFrameTestSupport.h"
#include "classlib/WindowMessages.h"
#include "toolkit/themes/PaintManagerTheme5.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/ribbon/RibbonCaptionControls.h"
#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/ribbon/RibbonControls.h"

#include <gtest/gtest.h>

#include <vector>

namespace ribbon_test {
namespace {

// The ids of the caption buttons from the right, and checks that they stand side by side as
// squares at the right end of the caption text area.
std::vector<UINT> CaptionButtonsFromTheRight(CKLVRibbonBar* pRibbon, int nWidth) {
    std::vector<UINT> ids;
    int nRight = nWidth;
    for (UINT nId : {UINT(SC_CLOSE), UINT(SC_RESTORE), UINT(SC_MAXIMIZE), UINT(SC_MINIMIZE)}) {
        CKLVControl* pButton = pRibbon->FindCaptionButton(nId);
        if (!pButton) continue;
        ids.push_back(nId);
        const CRect rc = pButton->GetRect();
        EXPECT_EQ(rc.right, nRight) << nId;
        EXPECT_EQ(rc.Width(), rc.Height()) << nId;
        EXPECT_EQ(rc.top, pRibbon->m_rcCaptionText.top) << nId;
        EXPECT_EQ(rc.bottom, pRibbon->m_rcCaptionText.bottom) << nId;
        nRight = rc.left;
    }
    EXPECT_EQ(pRibbon->m_rcCaptionText.right, nRight);
    return ids;
}

void SetStyle(HWND hWnd, DWORD dwStyle) { ::SetWindowLongPtrA(hWnd, GWL_STYLE, static_cast<LONG_PTR>(dwStyle)); }

TEST(RibbonFrameCaption, TheRibbonIntegratesItsFrameAndOwnsTheCaptionWhileShown) {
    CRibbonFrameFixture fx;
    CKLVRibbonBar* pRibbon = fx.m_pRibbon;
    CKLVFrameIntegration* pIntegration = pRibbon->GetFrameIntegration();
    ASSERT_NE(pIntegration, nullptr);
    EXPECT_EQ(pIntegration->GetFrame(), fx.m_pFrame);
    EXPECT_TRUE(pRibbon->HasCaptionBand());
    const int nBorder = pIntegration->GetBorderSize();
    EXPECT_GT(nBorder, 0) << "a sizable frame has a border";
    EXPECT_EQ(pRibbon->GetFrameBorder(), nBorder);

    fx.Layout(600);
    EXPECT_FALSE(pIntegration->IsCaptionStandard());
    EXPECT_EQ(pIntegration->GetCaptionHeight(), pRibbon->GetCaptionBandHeight());
    // The band reaches over the frame's border on both sides and includes its top border.
    EXPECT_EQ(pRibbon->m_rcCaption, CRect(-nBorder, 0, 600 + nBorder, pRibbon->GetCaptionBandHeight()));
    const int nQuickAccess = pRibbon->GetQuickAccessHeight(), nTabs = pRibbon->GetTabsHeight();
    EXPECT_EQ(pRibbon->GetCaptionBandHeight(), std::max(static_cast<CKLVPaintManagerTheme5*>(pRibbon->GetPaintManager())
                                                            ->m_nRibbonCaptionHeight,
                                                        std::max(nQuickAccess, nTabs - 2)) +
                                                   nBorder);
    EXPECT_EQ(pRibbon->m_rcQuickAccess.top, nBorder - 2);

    // Hidden below its minimum size, the ribbon gives the caption back at the next idle message.
    fx.m_pFrame->MoveWindow(0, 0, 200, 400);
    fx.Layout(200);
    EXPECT_TRUE(pIntegration->m_bPendingRecalc);
    EXPECT_TRUE(pIntegration->IsCaptionStandard());
    fx.m_pFrame->SendMessage(WM_IDLEUPDATECMDUI);
    EXPECT_FALSE(pIntegration->m_bPendingRecalc);
    fx.m_pFrame->MoveWindow(0, 0, 600, 400);
    fx.Layout(600);
    EXPECT_TRUE(pIntegration->m_bPendingRecalc) << "and takes it again when it shows";
    EXPECT_FALSE(pIntegration->IsCaptionStandard());

    pRibbon->SetVisible(FALSE);
    pIntegration->m_bPendingRecalc = FALSE;
    pRibbon->SetVisible(TRUE);
    EXPECT_TRUE(pIntegration->m_bPendingRecalc) << "showing the bar recalculates the frame";
}

TEST(RibbonFrameCaption, CaptionButtonsFollowTheFramesStyleRightToLeft) {
    const DWORD dwSizable = WS_OVERLAPPEDWINDOW;
    const struct {
        const char* pszName;
        DWORD dwStyle;
        std::vector<UINT> buttons;
    } cases[] = {
        {"a sizable frame", dwSizable, {SC_CLOSE, SC_MAXIMIZE, SC_MINIMIZE}},
        {"a maximised frame restores", dwSizable | WS_MAXIMIZE, {SC_CLOSE, SC_RESTORE, SC_MINIMIZE}},
        {"no boxes: close alone", dwSizable & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX), {SC_CLOSE}},
        {"no system menu: none", dwSizable & ~WS_SYSMENU, {}},
        {"one box keeps both", dwSizable & ~WS_MAXIMIZEBOX, {SC_CLOSE, SC_MAXIMIZE, SC_MINIMIZE}},
        {"a minimised child draws its own caption", dwSizable | WS_CHILD | WS_MINIMIZE, {}},
    };
    CRibbonFrameFixture fx;
    CKLVRibbonBar* pRibbon = fx.m_pRibbon;
    const DWORD dwOld = fx.m_pFrame->GetStyle();
    for (const auto& c : cases) {
        SetStyle(fx.m_hFrame, (dwOld & WS_VISIBLE) | c.dwStyle);
        fx.Layout(600);
        EXPECT_EQ(CaptionButtonsFromTheRight(pRibbon, 600), c.buttons) << c.pszName;
        EXPECT_EQ(pRibbon->m_rcTitle.IsRectEmpty(), c.buttons.empty() && (c.dwStyle & WS_CHILD)) << c.pszName;
        if (CKLVControl* pMaximize = pRibbon->FindCaptionButton(SC_MAXIMIZE)) {
            EXPECT_EQ(pMaximize->GetEnabled() != 0, (c.dwStyle & WS_MAXIMIZEBOX) != 0) << c.pszName;
        }
    }
    SetStyle(fx.m_hFrame, dwOld);

    // A greyed close item disables the close button.
    HMENU hSystem = ::GetSystemMenu(fx.m_hFrame, FALSE);
    ASSERT_NE(hSystem, nullptr);
    ::EnableMenuItem(hSystem, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    fx.Layout(600);
    ASSERT_NE(pRibbon->FindCaptionButton(SC_CLOSE), nullptr);
    EXPECT_FALSE(pRibbon->FindCaptionButton(SC_CLOSE)->GetEnabled());
    ::EnableMenuItem(hSystem, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    fx.Layout(600);
    EXPECT_TRUE(pRibbon->FindCaptionButton(SC_CLOSE)->GetEnabled());
}

TEST(RibbonFrameCaption, TheCaptionTextAreaStartsAfterTheQuickAccessToolBar) {
    CRibbonFrameFixture fx;
    CKLVRibbonBar* pRibbon = fx.m_pRibbon;
    const int nBorder = pRibbon->GetFrameBorder();
    fx.Layout(600);
    const CKLVControl* pCustomize = pRibbon->GetCustomizePopup();
    EXPECT_EQ(pRibbon->m_rcCaptionText.left, pRibbon->m_rcQuickAccess.right + pCustomize->GetRect().Width() + 2);
    EXPECT_EQ(pRibbon->m_rcCaptionText.top, nBorder);
    EXPECT_EQ(pRibbon->m_rcCaptionText.bottom, pRibbon->GetCaptionBandHeight() - 3);
    pRibbon->SetQuickAccessBelow(TRUE);
    fx.Layout(600);
    EXPECT_EQ(pRibbon->m_rcCaptionText.left, 70);
}

TEST(RibbonFrameCaption, TheTitleIsCentredAndMovesOffTheQuickAccessToolBar) {
    CRibbonFrameFixture fx;
    CKLVRibbonBar* pRibbon = fx.m_pRibbon;
    auto* pTheme = static_cast<CKLVPaintManagerTheme5*>(pRibbon->GetPaintManager());
    auto titleWidth = [&](LPCTSTR lpszTitle) {
        CClientDC dc(nullptr);
        CKLVFontDC font(&dc, &pTheme->m_fontCaption);
        return dc.GetTextExtent(lpszTitle).cx + 20;
    };
    fx.m_pFrame->SetWindowText("Document - Kelvane");
    fx.Layout(800);
    const CRect rcTitle = pRibbon->m_rcTitle;
    EXPECT_EQ(rcTitle.Width(), titleWidth("Document - Kelvane"));
    EXPECT_EQ(rcTitle.left, (800 - rcTitle.Width()) / 2) << "centred in the band";
    EXPECT_EQ(rcTitle.top, pRibbon->m_rcCaptionText.top);

    // Quick access controls that reach past the band's centre push the title into the area
    // left free for it.
    fx.AddQuickAccessButtons(20, 200, "Cmd");
    fx.Layout(800);
    const CRect rcArea = pRibbon->m_rcCaptionText;
    ASSERT_GT(pRibbon->m_rcQuickAccess.right, 400 - rcTitle.Width() / 2);
    EXPECT_GE(pRibbon->m_rcTitle.left, rcArea.left);
    EXPECT_LE(pRibbon->m_rcTitle.right, rcArea.right);
    EXPECT_LE(std::abs((pRibbon->m_rcTitle.left - rcArea.left) - (rcArea.right - pRibbon->m_rcTitle.right)), 1);

    // A title wider than the room takes the room.
    fx.m_pFrame->SetWindowText(CString('W', 400));
    fx.Layout(800);
    EXPECT_EQ(pRibbon->m_rcTitle.left, pRibbon->m_rcCaptionText.left);
    EXPECT_EQ(pRibbon->m_rcTitle.right, pRibbon->m_rcCaptionText.right);
}

TEST(RibbonFrameCaption, AnActiveThemedFrameLeavesTheQuickAccessToolBarTheBandBut115Pixels) {
    CRibbonFrameFixture fx;
    CKLVRibbonBar* pRibbon = fx.m_pRibbon;
    fx.AddQuickAccessButtons(12, 300);
    const struct {
        BOOL bActive;
        int nWidth;
    } cases[] = {{TRUE, 300}, {FALSE, 300}, {TRUE, 420}};
    fx.Layout(600);   // the added controls' command state, which lays the frame out again
    for (const auto& c : cases) {
        pRibbon->GetFrameIntegration()->m_bActive = c.bActive;
        fx.Layout(c.nWidth);
        EXPECT_EQ(pRibbon->IsFrameThemed(), c.bActive);
        const int nLimit = c.bActive ? c.nWidth - 115 : c.nWidth - 3 * pRibbon->GetCaptionBandHeight();
        int nRight = 0;
        for (int i = 0; i < pRibbon->GetQuickAccessControls()->GetCount(); ++i) {
            CKLVControl* pControl = pRibbon->GetQuickAccessControls()->GetAt(i);
            if (pControl->IsVisible()) nRight = std::max<int>(nRight, pControl->GetRect().right);
        }
        EXPECT_LE(nRight, nLimit) << c.bActive << " " << c.nWidth;
        EXPECT_GT(nRight + 30, nLimit) << "the next control would have passed it";
    }
}

TEST(RibbonFrameCaption, AChangeOfActivationLaysTheRibbonOutOnlyWhenItMovesTheQuickAccessLimit) {
    const struct {
        const char* pszName;
        BOOL bQuickAccessVisible, bBelow, bWasActive, bActive, bLaysOut;
    } cases[] = {
        {"activated", TRUE, FALSE, FALSE, TRUE, TRUE},
        {"deactivated", TRUE, FALSE, TRUE, FALSE, TRUE},
        {"still active", TRUE, FALSE, TRUE, TRUE, FALSE},
        {"still inactive", TRUE, FALSE, FALSE, FALSE, FALSE},
        {"below the ribbon", TRUE, TRUE, FALSE, TRUE, FALSE},
        {"hidden", FALSE, FALSE, TRUE, FALSE, FALSE},
    };
    for (const auto& c : cases) {
        CRibbonFrameFixture fx;
        CKLVRibbonBar* pRibbon = fx.m_pRibbon;
        fx.AddQuickAccessButtons(12, 300);
        pRibbon->m_bQuickAccessVisible = c.bQuickAccessVisible;
        pRibbon->SetQuickAccessBelow(c.bBelow);
        CKLVFrameIntegration* pIntegration = pRibbon->GetFrameIntegration();
        pIntegration->m_bActive = c.bWasActive;
        fx.Layout(600);
        // Every layout places the quick access tool bar: a mark left there shows none ran.
        const CRect rcMark(1, 2, 3, 4);
        pRibbon->m_rcQuickAccess = rcMark;
        fx.m_pFrame->SendMessage(WM_NCACTIVATE, c.bActive, 0);
        EXPECT_EQ(pIntegration->IsActive(), c.bActive) << c.pszName;
        EXPECT_EQ(pRibbon->m_rcQuickAccess != rcMark, c.bLaysOut) << c.pszName;
    }
}

// How far the frame's client area starts below the window's top.
int ClientTop(CWnd* pFrame) {
    CRect rcWindow;
    pFrame->GetWindowRect(&rcWindow);
    CPoint pt(0, 0);
    pFrame->ClientToScreen(&pt);
    return pt.y - rcWindow.top;
}

TEST(RibbonFrameCaption, RemovingTheRibbonGivesTheFrameItsOwnCaptionBack) {
    CRibbonFrameFixture fx;
    fx.m_pFrame->SendMessage(WM_IDLEUPDATECMDUI);   // the frame calculated with the ribbon's caption
    fx.m_pFrame->MoveWindow(0, 0, 620, 400);
    ASSERT_EQ(ClientTop(fx.m_pFrame), 0) << "the ribbon's band covers the frame's top";
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(::GetWindowRgn(fx.m_hFrame, hRgn), ERROR) << "the theme's region";
    fx.m_pCommandBars->Remove(fx.m_pRibbon);
    fx.m_pFrame->m_pRibbon = nullptr;
    EXPECT_GT(ClientTop(fx.m_pFrame), ::GetSystemMetrics(SM_CYCAPTION) - 1);
    EXPECT_EQ(::GetWindowRgn(fx.m_hFrame, hRgn), ERROR) << "no region left behind";
    ::DeleteObject(hRgn);
}

}  // namespace
}  // namespace ribbon_test
