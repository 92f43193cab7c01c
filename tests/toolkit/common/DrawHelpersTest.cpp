// Drawing helpers: gradient pixels (own and system) in both directions, clipped and split,
// the cases that fill solid, blurring, mnemonics and fonts.
#include "ToolkitTestSupport.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/OSVersionInfo.h"

#include <cstring>

using toolkit_test::Canvas;
using toolkit_test::FakeDesktop;

namespace {

const COLORREF kRed = RGB(240, 0, 0);
const COLORREF kBlue = RGB(0, 0, 240);

int g_nSystemGradientCalls = 0;
BOOL WINAPI CountingGradientFill(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG) {
    ++g_nSystemGradientCalls;
    return TRUE;
}

class Gradient : public Canvas {
protected:
    void SetUp() override {
        Canvas::SetUp();
        m_own.m_pfnGradientFill = nullptr;   // always the helper's own drawing
        g_nSystemGradientCalls = 0;
    }
    CKLVDrawHelpers m_own;
};

TEST_F(Gradient, OwnFillRunsFromTheFirstColourAlongEitherDirection) {
    const CRect rect(8, 8, 16, 16);   // 8 wide: every step is exact
    m_own.GradientFill(&m_dc, &rect, kRed, kBlue, TRUE);
    ExpectPixels({{8, 12, kRed}, {10, 12, RGB(180, 0, 60)}, {12, 8, RGB(120, 0, 120)}, {15, 15, RGB(30, 0, 210)},
                  {16, 12, kWhite}, {12, 16, kWhite}});
    m_own.GradientFill(&m_dc, &rect, kRed, kBlue, FALSE);
    ExpectPixels({{15, 10, RGB(180, 0, 60)}, {9, 12, RGB(120, 0, 120)}});
}

TEST_F(Gradient, OwnFillStaysInsideTheClipBox) {
    m_dc.IntersectClipRect(0, 0, 12, 64);
    const CRect rect(8, 8, 16, 16);
    m_own.GradientFill(&m_dc, &rect, kRed, kBlue, TRUE);
    m_dc.SelectClipRgn(nullptr);
    EXPECT_EQ(m_dc.GetPixel(11, 10), RGB(150, 0, 90));
    EXPECT_EQ(CountPixels(CRect(12, 8, 16, 16), kWhite), 32);
}

TEST_F(Gradient, TheSystemFillAgreesAtBothEnds) {
    const CRect rect(0, 0, 64, 8);
    GetDrawHelpers()->GradientFill(&m_dc, &rect, kRed, kBlue, TRUE);
    COLORREF first = m_dc.GetPixel(0, 4), last = m_dc.GetPixel(63, 4);
    EXPECT_GE(GetRValue(first), 230);
    EXPECT_LE(GetBValue(first), 10);
    EXPECT_GE(GetBValue(last), 230);
    EXPECT_LE(GetRValue(last), 10);
    for (int x = 1; x < 64; ++x) EXPECT_LE(GetRValue(m_dc.GetPixel(x, 4)), GetRValue(m_dc.GetPixel(x - 1, 4)));
    const CRect column(0, 16, 8, 64);
    GetDrawHelpers()->GradientFill(&m_dc, &column, kRed, kBlue, FALSE);
    EXPECT_GE(GetRValue(m_dc.GetPixel(4, 16)), 230);
    EXPECT_GE(GetBValue(m_dc.GetPixel(4, 63)), 230);
}

TEST_F(Gradient, SolidFillsNeverAskTheSystem) {
    CKLVDrawHelpers helpers;
    helpers.m_pfnGradientFill = CountingGradientFill;
    const CRect rect(0, 0, 8, 8);
    helpers.GradientFill(&m_dc, &rect, kRed, kRed, TRUE);
    EXPECT_EQ(CountPixels(rect, kRed), 64);
    {
        FakeDesktop desktop;
        desktop.m_nBits = 8;
        helpers.GradientFill(&m_dc, &rect, kBlue, kRed, TRUE);
    }
    EXPECT_EQ(CountPixels(rect, kBlue), 64);
    EXPECT_EQ(g_nSystemGradientCalls, 0);
    helpers.GradientFill(&m_dc, &rect, kBlue, kRed, TRUE);
    EXPECT_EQ(g_nSystemGradientCalls, 1);
}

TEST_F(Gradient, MirroredContextsOfThe9xFamilyUseTheOwnFill) {
    CKLVDrawHelpers helpers;
    helpers.m_pfnGradientFill = CountingGradientFill;
    CKLVOSVersionInfo* pVersion = GetOSVersionInfo();
    const CKLVOSVersionInfo saved = *pVersion;
    pVersion->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    const CRect rect(0, 0, 8, 8);
    helpers.GradientFill(&m_dc, &rect, kRed, kBlue, TRUE);   // not mirrored: the system's
    CKLVDrawHelpers::SetContextRTL(&m_dc, LAYOUT_RTL);
    EXPECT_TRUE(CKLVDrawHelpers::IsContextRTL(&m_dc));
    helpers.GradientFill(&m_dc, &rect, kRed, kBlue, TRUE);
    CKLVDrawHelpers::SetContextRTL(&m_dc, 0);
    *pVersion = saved;
    EXPECT_EQ(g_nSystemGradientCalls, 1);
    EXPECT_EQ(CountPixels(CRect(0, 0, 64, 64), kWhite), 64 * 64 - 64);
}

TEST_F(Gradient, ClippedFillsStartWhereTheClipCutsIn) {
    const CRect rect(0, 0, 16, 8);
    const CRect rightHalf(8, 0, 64, 64);
    m_own.GradientFillClipped(&m_dc, &rect, kRed, kBlue, TRUE, &rightHalf);
    EXPECT_EQ(CountPixels(CRect(0, 0, 8, 8), kWhite), 64);
    EXPECT_EQ(m_dc.GetPixel(8, 4), RGB(120, 0, 120));   // the colour of the middle

    const CRect away(40, 40, 60, 60), empty(20, 0, 20, 8);
    m_own.GradientFillClipped(&m_dc, &rect, kBlue, kRed, TRUE, &away);
    m_own.GradientFillClipped(&m_dc, &empty, kBlue, kRed, TRUE, &rect);
    m_own.GradientFillClipped(&m_dc, &empty, kBlue, kRed, FALSE, &rect);
    EXPECT_EQ(CountPixels(CRect(0, 0, 8, 8), kWhite), 64);
    EXPECT_EQ(CountPixels(CRect(16, 0, 64, 64), kWhite), 48 * 64);

    const CRect column(20, 0, 24, 16), bottomHalf(0, 8, 64, 64);
    m_own.GradientFillClipped(&m_dc, &column, kRed, kBlue, FALSE, &bottomHalf);
    ExpectPixels({{22, 7, kWhite}, {22, 8, RGB(120, 0, 120)}});
}

TEST_F(Gradient, AValueWithAnotherFactorMeetsItsMixInTheMiddle) {
    CKLVGradientColorValue value;
    value.SetStandardValue(kRed, kBlue, 0.75f);
    const CRect rect(0, 0, 16, 4);
    m_own.GradientFillValue(&m_dc, &rect, value, TRUE);
    // 75 % from and 25 % to in the middle.
    ExpectPixels({{0, 0, kRed}, {8, 0, RGB(180, 0, 60)}, {7, 0, CKLVDrawHelpers::BlendColorsF(kRed, RGB(180, 0, 60), 1.0f / 8)}});
}

TEST_F(Canvas, BlurPointsAveragesWholePairsOnly) {
    m_dc.SetPixel(1, 1, RGB(100, 0, 0));
    m_dc.SetPixel(3, 3, RGB(0, 0, 0));
    m_dc.SetPixel(5, 5, RGB(100, 0, 0));
    const POINT points[4] = {{1, 1}, {2, 2}, {5, 5}, {-4, -4}};   // (1,1) meets (3,3)
    CKLVDrawHelpers::BlurPoints(&m_dc, points, 3);
    ExpectPixels({{1, 1, RGB(50, 0, 0)}, {5, 5, RGB(100, 0, 0)}});   // the half pair is not read
    CKLVDrawHelpers::BlurPoints(&m_dc, points, 0);
    EXPECT_EQ(m_dc.GetPixel(1, 1), RGB(50, 0, 0));
}

TEST(DrawHelpers, MnemonicsAreStrippedAndDoubledAmpersandsKept) {
    const struct {
        const char *input, *expected;
    } rows[] = {{"&File", "File"}, {"Save &As", "Save As"}, {"Fish && Chips", "Fish & Chips"},
                {"&&&x", "&x"},     {"end&", "end"},         {"", ""}};
    for (const auto& row : rows) {
        char buffer[32];
        std::strcpy(buffer, row.input);
        CKLVDrawHelpers::StripMnemonics(buffer);
        EXPECT_STREQ(buffer, row.expected) << row.input;
        CString text(row.input);
        CKLVDrawHelpers::StripMnemonicsString(text);
        EXPECT_STREQ(text, row.expected);
    }
    CKLVDrawHelpers::StripMnemonics(nullptr);
    CKLVDrawHelpers::StripMnemonics(reinterpret_cast<LPTSTR>(-1));
}

TEST(DrawHelpers, FontsAreFoundWithoutRegardToCase) {
    CString face;   // the first installed face
    HDC hDC = ::GetDC(nullptr);
    LOGFONTA any = {};
    any.lfCharSet = DEFAULT_CHARSET;
    auto first = [](const LOGFONTA* p, const TEXTMETRICA*, DWORD, LPARAM l) { *reinterpret_cast<CString*>(l) = p->lfFaceName; return 0; };
    ::EnumFontFamiliesExA(hDC, &any, first, reinterpret_cast<LPARAM>(&face), 0);
    ::ReleaseDC(nullptr, hDC);
    EXPECT_TRUE(CKLVDrawHelpers::FontExists(face.MakeUpper()));
    EXPECT_FALSE(CKLVDrawHelpers::FontExists("Klv No Such Face"));
    // Without "Arial" the stock face serves.
    LOGFONTA lf = {};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    CString expected = CKLVDrawHelpers::FontExists("Arial") ? "Arial" : lf.lfFaceName;
    EXPECT_STREQ(CKLVDrawHelpers::GetDefaultFontName(), expected);
}

TEST(DrawHelpers, RightToLeftWindowsSwapArrowsAndMeasureFromTheRight) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(WS_EX_LAYOUTRTL, AfxRegisterWndClass(0), "rtl", WS_POPUP, CRect(100, 50, 200, 150),
                             nullptr, 0));
    UINT nKey = VK_LEFT;
    CKLVDrawHelpers::KeyToLayout(&wnd, &nKey);
    EXPECT_EQ(nKey, UINT(VK_RIGHT));
    CKLVDrawHelpers::KeyToLayout(&wnd, &nKey);
    EXPECT_EQ(nKey, UINT(VK_LEFT));
    CKLVDrawHelpers::KeyToLayout(nullptr, &nKey);
    POINT pt = {110, 60};
    CKLVDrawHelpers::ScreenToWindow(&wnd, &pt);
    EXPECT_EQ(pt.x, 90);
    EXPECT_EQ(pt.y, 10);
    wnd.DestroyWindow();
}

}  // namespace
