// Controls measured against the text extents of the command-bar font, the dispatch by type and
// bar, the special buttons and key tips drawn into a 32-bit DIB section, and the animations.
#include "PaintManagerTestSupport.h"
#include "toolkit/commandbars/keytips/CommandBarKeyboardTip.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ImageManager.h"

#include <algorithm>

using commandbars_test::Dib;
using commandbars_test::kBack;
using commandbars_test::kInk;
using commandbars_test::PaintManagerTest;
using commandbars_test::Strokes;

namespace {

const int kIconId = 4711;

class Controls : public PaintManagerTest {
protected:
    void SetUp() override {
        PaintManagerTest::SetUp();
        m_pPaintManager->RefreshMetrics();
        // An invisible face leaves only the glyphs in the picture.
        m_pPaintManager->SetCustomColor(COLOR_BTNFACE, kBack);
        HICON hIcon = ::CreateIcon(nullptr, 16, 16, 1, 1, std::vector<BYTE>(32, 0xFF).data(),
                                   std::vector<BYTE>(32, 0).data());
        KLVImageManager()->SetIcon(CKLVImageManagerIconHandle(hIcon, TRUE), kIconId, CSize(16, 16));
    }
    CKLVControl* Add(int nType, const char* pszCaption, int nStyle = CKLVControl::styleAutomatic, int nId = 0) {
        auto* pControl = new CKLVControl;
        pControl->m_nType = nType;
        pControl->m_strCaption = pszCaption;
        pControl->m_nStyle = nStyle;
        pControl->m_nId = nId;
        return m_bar.GetControls()->Append(pControl);
    }
    CSize Extent(const CString& str, BOOL bBold = FALSE) {
        CKLVFontDC font(&m_dib.m_dc, m_pPaintManager->GetCommandBarFont(&m_bar, bBold));
        return m_dib.m_dc.GetTextExtent(str);
    }
    CSize Measure(CKLVControl* pControl) { return m_pPaintManager->DrawControl(&m_dib.m_dc, pControl, FALSE); }

    CKLVCommandBar m_bar;
    Dib m_dib{48, 48};
};

TEST_F(Controls, ToolBarButtonsMeasureFromTheirCaptionAndIcon) {
    const CSize szText = Extent("Open");
    const int cy = std::max<int>(szText.cy + 6, 22);
    const int nSplit = m_pPaintManager->m_nSplitButtonDropDownWidth + 1;
    const struct {
        int nType, nStyle, nId;
        CSize sz;
    } cases[] = {
        {CKLVControl::typeButton, CKLVControl::styleAutomatic, kIconId, CSize(22, 22)},
        {CKLVControl::typeButton, CKLVControl::styleIconAndCaption, kIconId, CSize(22 + szText.cx + 3, cy)},
        {CKLVControl::typeButton, CKLVControl::styleAutomatic, 0, CSize(szText.cx + 8, cy)},
        {CKLVControl::typeSplitButtonPopup, CKLVControl::styleIconAndCaption, kIconId,
         CSize(22 + szText.cx + 3 + nSplit, cy)},
        {CKLVControl::typePopup, CKLVControl::styleAutomatic, 0, CSize(szText.cx + 6, szText.cy + 6)},
        {CKLVControl::typeEdit + 1, CKLVControl::styleAutomatic, 0, CSize(0, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Measure(Add(c.nType, "&Open", c.nStyle, c.nId)), c.sz) << c.nType << "/" << c.nStyle << "/" << c.nId;

    m_bar.m_barPosition = CKLVCommandBar::barLeft;
    EXPECT_EQ(Measure(Add(CKLVControl::typeButton, "Open", CKLVControl::styleCaption)), CSize(cy, szText.cx + 8));
}

TEST_F(Controls, CaptionsBelowIconsLeaveTenOrEightPixelsBesideTheIcon) {
    // A wide icon, so that its width and not the caption's height decides.
    // Rows of 1-bit masks are padded to whole words: 6 bytes for 40 pixels.
    HICON hIcon = ::CreateIcon(nullptr, 40, 16, 1, 1, std::vector<BYTE>(96, 0xFF).data(), std::vector<BYTE>(96, 0).data());
    KLVImageManager()->SetIcon(CKLVImageManagerIconHandle(hIcon, TRUE), kIconId, CSize(40, 16));
    m_bar.m_szIcons = CSize(40, 16);
    m_bar.m_nShowTextBelowIcons = 1;
    const CSize szText = Extent("Go");
    EXPECT_FALSE(m_pPaintManager->m_bFullRowHighlight);
    const struct {
        BOOL bNarrow;
        int nType;
        int cx;
    } cases[] = {
        {FALSE, CKLVControl::typeButton, 50},
        {TRUE, CKLVControl::typeButton, 48},
        {FALSE, CKLVControl::typeSplitButtonPopup, 61},
        {TRUE, CKLVControl::typeSplitButtonPopup, 59},
    };
    ASSERT_LT(szText.cy + 16, 48);
    for (const auto& c : cases) {
        m_pPaintManager->m_bNarrowCaptionMargin = c.bNarrow;
        EXPECT_EQ(Measure(Add(c.nType, "Go", CKLVControl::styleIconAndCaption, kIconId)), CSize(c.cx, szText.cy + 16))
            << c.bNarrow << "/" << c.nType;
    }
}

TEST_F(Controls, LargeStyleSplitsItsCaptionOverTwoLines) {
    CKLVControl* pControl = Add(CKLVControl::typeButton, "Insert Long Table", CKLVControl::styleCaptionBelow);
    const int cy = 32 + m_pPaintManager->GetSplitDropDownWidth() + 7;
    const int cxMin = std::max(2 * m_pPaintManager->GetTextHeight() - 3, 42);
    EXPECT_EQ(Measure(pControl), CSize(std::max<int>(cxMin, Extent("Long Table").cx), cy));
    m_pPaintManager->m_bTwoLineCaptions = FALSE;
    EXPECT_EQ(Measure(pControl), CSize(std::max<int>(cxMin, Extent("Insert Long Table").cx), cy));
    pControl->m_nType = CKLVControl::typePopup;
    EXPECT_EQ(Measure(pControl).cx, std::max<int>(cxMin, Extent("Insert Long Table").cx + 8));
    m_pPaintManager->m_nControlHeight = 24;
    EXPECT_EQ(Measure(pControl).cy, 72);
}

TEST_F(Controls, PopupItemsLeaveRoomForGutterShortcutAndArrow) {
    m_bar.m_barType = CKLVCommandBar::barTypePopup;
    CKLVControl* pControl = Add(CKLVControl::typeButton, "&Save", CKLVControl::styleAutomatic);
    pControl->m_strShortcutText = "Ctrl+S";
    const CSize szArea = m_pPaintManager->GetIconAreaSize(&m_bar);
    const int cxCaption = Extent("Save").cx, cxShortcut = Extent("Ctrl+S").cx;
    EXPECT_EQ(Measure(pControl), CSize(4 + szArea.cx + cxCaption + cxShortcut + 32, szArea.cy));
    m_bar.m_bDoubleGripper = TRUE;
    EXPECT_EQ(Measure(pControl).cx, 4 + 2 * szArea.cx + cxCaption + cxShortcut + 32);
    pControl->m_nWidth = 77;
    pControl->m_nHeight = 9;
    EXPECT_EQ(Measure(pControl), CSize(77, 9));
}

TEST_F(Controls, EditsTakeTheEditPathOnEveryBar) {
    CKLVControl* pEdit = Add(CKLVControl::typeEdit, "Find");
    pEdit->m_nWidth = 120;
    CKLVFontDC font(&m_dib.m_dc, &m_pPaintManager->m_fontIcon);
    const int cyEdit = m_dib.m_dc.GetTextExtent(" ", 1).cy + 7;
    EXPECT_EQ(Measure(pEdit), CSize(120, cyEdit));
    m_bar.m_barType = CKLVCommandBar::barTypePopup;
    const int nGripper = m_pPaintManager->GetPopupBarGripperWidth(&m_bar);
    EXPECT_EQ(Measure(pEdit).cx, nGripper + 120);
    EXPECT_EQ(pEdit->m_nLabelWidth, nGripper + 4 + Extent("Find").cx + 5);

    CKLVControl* pCombo = Add(CKLVControl::typeComboBox, "");
    m_pPaintManager->m_nControlHeight = 28;
    Measure(pCombo);
    EXPECT_EQ(pCombo->m_nThumbWidth, 19);
}

TEST_F(Controls, SplitCommandPartByBarAndStyle) {
    CKLVControl* pControl = Add(CKLVControl::typeSplitButtonPopup, "Undo");
    pControl->m_rcControl = CRect(0, 0, 40, 60);
    EXPECT_EQ(m_pPaintManager->GetSplitButtonCommandRect(pControl), CRect(0, 0, 28, 60));
    pControl->m_nStyle = CKLVControl::styleCaptionBelow;
    EXPECT_EQ(m_pPaintManager->GetSplitButtonCommandRect(pControl),
              CRect(0, 0, 40, 60 - m_pPaintManager->GetSplitDropDownWidth()));
    m_bar.m_barType = CKLVCommandBar::barTypePopup;
    EXPECT_EQ(m_pPaintManager->GetSplitButtonCommandRect(pControl), CRect(0, 0, 20, 60));
}

TEST_F(Controls, ToolBarExpandButtonTriangleAndChevrons) {
    CKLVControl* pControl = Add(CKLVControl::typePopup, "");
    CSize szBar(40, 30);
    m_pPaintManager->DrawSpecialControl(&m_dib.m_dc, 0, pControl, &m_bar, FALSE, &szBar);
    EXPECT_EQ(pControl->GetRect(), CRect(27, 2, 38, 28));
    m_pPaintManager->SetCustomColor(COLOR_BTNTEXT, kInk);
    BOOL bHidden = TRUE;
    m_pPaintManager->DrawSpecialControl(&m_dib.m_dc, 0, pControl, &m_bar, TRUE, &bHidden);
    auto expected = Strokes({{{29, 6}, {31, 8}, {28, 11}}, {{30, 6}, {32, 8}, {29, 11}}, {{33, 6}, {35, 8}, {32, 11}},
                             {{34, 6}, {36, 8}, {33, 11}}});
    Dib triangle;
    CKLVPaintManager::DrawTriangle(&triangle.m_dc, CPoint(30, 21), CPoint(34, 21), CPoint(32, 23), kInk);
    for (const auto& pt : triangle.Painted()) expected.insert(pt);
    EXPECT_EQ(m_dib.Painted(), expected);
}

TEST_F(Controls, PopupExpandButtonIsABlackDoubleChevron) {
    CKLVControl* pControl = Add(CKLVControl::typeButton, "");
    pControl->m_rcControl = CRect(0, 10, 20, 22);
    EXPECT_EQ(m_pPaintManager->DrawSpecialControl(&m_dib.m_dc, 1, pControl, &m_bar, TRUE, nullptr), CSize(0, 12));
    EXPECT_EQ(m_dib.Painted(), Strokes({{{8, 12}, {10, 14}, {13, 11}}, {{8, 13}, {10, 15}, {13, 12}},
                                        {{8, 16}, {10, 18}, {13, 15}}, {{8, 17}, {10, 19}, {13, 16}}}));
}

TEST_F(Controls, FloatingCloseGlyphIsASymmetricCross) {
    commandbars_test::TakeMarlett();
    ASSERT_TRUE(CKLVDrawHelpers::FontExists("Marlett"));
    CKLVControl* pControl = Add(CKLVControl::typeButton, "");
    pControl->m_rcControl = CRect(10, 10, 30, 30);
    m_pPaintManager->m_clrFloatingCaptionText.SetCustomValue(kInk);
    m_pPaintManager->DrawSpecialControl(&m_dib.m_dc, 2, pControl, &m_bar, TRUE, nullptr);
    const auto painted = m_dib.Painted();
    ASSERT_GT(painted.size(), 10u);
    int nLeft = 48, nRight = 0, nTop = 48, nBottom = 0;
    for (const auto& pt : painted) {
        nLeft = std::min(nLeft, pt.first), nRight = std::max(nRight, pt.first);
        nTop = std::min(nTop, pt.second), nBottom = std::max(nBottom, pt.second);
    }
    // Both diagonals run corner to corner of the glyph's box; a letter "r" would not.
    for (const auto& corner : {std::make_pair(nLeft, nTop), std::make_pair(nRight, nTop),
                               std::make_pair(nLeft, nBottom), std::make_pair(nRight, nBottom)})
        EXPECT_EQ(m_dib.At(corner.first, corner.second), kInk) << corner.first << "," << corner.second;
    EXPECT_EQ(m_dib.At((nLeft + nRight) / 2, (nTop + nBottom) / 2), kInk);
    EXPECT_EQ(m_dib.At(nLeft, (nTop + nBottom) / 2), kBack);
    EXPECT_EQ(nRight - nLeft, nBottom - nTop);
}

TEST_F(Controls, DockedBarsHaveNoCaption) {
    m_bar.m_barPosition = CKLVCommandBar::barTop;
    m_bar.m_strTitle = "Standard";
    EXPECT_EQ(m_pPaintManager->DrawCommandBarCaption(&m_dib.m_dc, &m_bar, TRUE), CSize(0, 0));
    EXPECT_TRUE(m_dib.Painted().empty());
}

TEST_F(Controls, KeyTipsInInfoColoursGreyWhenDisabled) {
    CKLVCommandBarKeyboardTip tip;
    ASSERT_TRUE(tip.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "", WS_POPUP, CRect(0, 0, 30, 30), nullptr, 0));
    m_pPaintManager->SetCustomColor(COLOR_INFOBK, RGB(255, 255, 200));
    m_pPaintManager->SetCustomColor(COLOR_INFOTEXT, RGB(0, 0, 255));
    m_pPaintManager->SetCustomColor(COLOR_GRAYTEXT, RGB(0, 255, 0));
    for (BOOL bEnabled : {TRUE, FALSE}) {
        tip.m_strCaption = "W";
        tip.m_bEnabled = bEnabled;
        m_pPaintManager->DrawKeyboardTip(&m_dib.m_dc, &tip, FALSE);
        EXPECT_EQ(m_dib.At(15, 2), RGB(255, 255, 200));
        EXPECT_EQ(m_dib.At(0, 0), ::GetSysColor(COLOR_BTNSHADOW));
        int nText = 0;
        for (const auto& pt : m_dib.Painted()) nText += m_dib.At(pt.first, pt.second) == (bEnabled ? RGB(0, 0, 255) : RGB(0, 255, 0));
        EXPECT_GT(nText, 5) << bEnabled;
    }
    tip.DestroyWindow();
}

TEST_F(Controls, AnimationsCopyTheFinishedPictureAndFade) {
    Dib source;
    source.m_dc.FillSolidRect(0, 0, 40, 40, RGB(0, 0, 200));
    m_pPaintManager->m_nAnimationTime = 0;
    const struct {
        int nSteps, nType;
        COLORREF clrAfter;
    } cases[] = {{0, 2, kBack}, {1, 4, kBack}, {3, 2, RGB(0, 0, 200)}, {3, 3, RGB(0, 0, 200)}, {3, 9, kBack}};
    for (const auto& c : cases) {
        Dib dest;
        m_pPaintManager->m_nAnimationSteps = c.nSteps;
        m_pPaintManager->AnimatePopup(&dest.m_dc, &source.m_dc, CRect(0, 0, 40, 40), c.nType);
        EXPECT_EQ(dest.At(5, 5), c.clrAfter) << c.nSteps << "/" << c.nType;
    }
    const BYTE old[4] = {0, 100, 255, 7}, fresh[4] = {255, 100, 0, 9};
    BYTE out[4] = {};
    CKLVPaintManager::AlphaBlendBits(old, fresh, out, 1, 128);
    EXPECT_EQ(out[0], 127);
    EXPECT_EQ(out[1], 99);
    EXPECT_EQ(out[2], 126);
    EXPECT_EQ(out[3], 0);
}

}  // namespace
