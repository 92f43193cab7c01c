// What a pane hands its painter: the style flags read out, the bar's choice about disabled text,
// and nothing of the content (no font, no icon) when the pane is not to show it.
#include "classlib/ClassLib.h"
#include "toolkit/statusbar/StatusBar.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusBarPaneLook, StyleFlagsAndTheBarsDisabledTextDecideWhatIsShown) {
    enum BarKind { noBar, drawsDisabledText, hidesDisabledText };
    struct Row {
        UINT nStyle;
        BarKind bar;
        bool bDisabled, bNoBorders, bDrawContent;
    };
    const Row rows[] = {
        {0, drawsDisabledText, false, false, true},
        {CKLVStatusBarPane::styleNoBorders, drawsDisabledText, false, true, true},
        {CKLVStatusBarPane::styleDisabled, drawsDisabledText, true, false, true},
        {CKLVStatusBarPane::styleDisabled, hidesDisabledText, true, false, false},
        {CKLVStatusBarPane::styleDisabled | CKLVStatusBarPane::styleNoBorders, noBar, true, true, true},
        {0, hidesDisabledText, false, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "style " << row.nStyle << ", bar " << row.bar);
        CKLVStatusBar bar;
        bar.SetDrawDisabledText(row.bar != hidesDisabledText);
        CKLVStatusBarPane pane;
        pane.m_pStatusBar = row.bar == noBar ? nullptr : &bar;
        pane.m_nStyle = row.nStyle;
        pane.m_strText = "Ready";
        pane.m_clrText = RGB(1, 2, 3);
        pane.m_clrBackground = RGB(4, 5, 6);
        pane.m_nAlignment = 2;
        pane.m_rcMargins = CRect(3, 4, 5, 6);

        const KLVStatusPaneLook look = pane.GetLook();
        EXPECT_EQ(look.pText, &pane.m_strText);
        EXPECT_EQ(look.bDisabled != FALSE, row.bDisabled);
        EXPECT_EQ(look.bNoBorders != FALSE, row.bNoBorders);
        EXPECT_EQ(look.bDrawContent != FALSE, row.bDrawContent);
        EXPECT_EQ(look.clrText, RGB(1, 2, 3));
        EXPECT_EQ(look.clrBackground, RGB(4, 5, 6));
        EXPECT_EQ(look.pImage, nullptr);  // no icon id
        if (row.bDrawContent) {
            EXPECT_EQ(look.pFont, pane.GetTextFont());
            EXPECT_EQ(look.rcMargins, CRect(3, 4, 5, 6));
            EXPECT_EQ(look.nAlignment, 2);
        } else {
            EXPECT_EQ(look.pFont, nullptr);
        }
    }
}

}  // namespace
