// The colour manager: blends, contrast, the tables of each XP scheme and depth on a fixed set of
// system colours, and the colour values' archive form.
#include "ToolkitTestSupport.h"
#include "toolkit/common/ColorManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using toolkit_test::ClassicSysColor;
using toolkit_test::FakeDesktop;

namespace {

const wchar_t kLuna[] = L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles";

// A manager refreshed on the classic colours over the given desktop.
struct ClassicManager {
    explicit ClassicManager(FakeDesktop&) {
        manager.m_pfnGetSysColor = ClassicSysColor;
        manager.RefreshColors();
    }
    CKLVColorManager manager;
};

double WeightedDistance(COLORREF a, COLORREF b) {
    const double k[3] = {195.0 / 255, 390.0 / 255, 65.0 / 255};
    double d = 0;
    for (int i = 0; i < 3; ++i) {
        double x = (static_cast<int>((a >> (8 * i)) & 0xFF) - static_cast<int>((b >> (8 * i)) & 0xFF)) * k[i];
        d += x * x;
    }
    return std::sqrt(d);
}

TEST(BlendColors, MixesEachChannelRoundingHalfUp) {
    struct Row {
        COLORREF c1, c2;
        int p;
        COLORREF expected;
    };
    const Row rows[] = {
        {0xFFFFFF, 0x000000, 165, 0x2A2A2A},   // per mille: (255 * 165 + 500) / 1000 = 42
        {0xFFFFFF, 0x000000, 50, 0x808080},    // per cent: 127.5 rounds up
        {0xFFFFFF, 0x000000, 100, 0x1A1A1A},   // 100 is already per mille
        {RGB(200, 100, 0), RGB(0, 100, 200), 50, RGB(100, 100, 100)},
        {0x123456, 0xABCDEF, 0, 0xABCDEF},
        {0xFF123456, 0x00000000, 99, 0x00123355},   // bits 24-31 never survive
    };
    for (const Row& row : rows)
        EXPECT_EQ(BlendColors(row.c1, row.c2, row.p), row.expected) << std::hex << row.c1 << " " << row.c2 << " " << row.p;
}

TEST(ColorContrast, ADistanceEqualToTheThresholdIsNotFar) {
    // Pure red lies 195 from black in the weighted box.
    EXPECT_FALSE(CKLVColorManager::IsContrastSufficient(0, RGB(255, 0, 0), FALSE, 195));
    EXPECT_TRUE(CKLVColorManager::IsContrastSufficient(0, RGB(255, 0, 0), FALSE, 194));
    // Relative to black the threshold doubles; relative to white it stays.
    EXPECT_FALSE(CKLVColorManager::IsContrastSufficient(0, RGB(255, 0, 0), TRUE, 98));
    EXPECT_TRUE(CKLVColorManager::IsContrastSufficient(0, RGB(255, 0, 0), TRUE, 97));
    EXPECT_TRUE(CKLVColorManager::IsContrastSufficient(0xFFFFFF, RGB(0, 255, 255), TRUE, 194));
    EXPECT_FALSE(CKLVColorManager::IsContrastSufficient(0xFFFFFF, RGB(0, 255, 255), TRUE, 196));
}

TEST(ColorContrast, EnsureAndLimitLandAtTheThreshold) {
    struct Row {
        COLORREF reference, color;
        float threshold;
        bool expectDarker;
    };
    const Row ensureRows[] = {
        {RGB(212, 208, 200), RGB(200, 200, 200), 100, true},   // room below a light face
        {RGB(10, 10, 10), RGB(20, 20, 20), 50, false},         // no room below black: lighter
        {RGB(100, 100, 100), RGB(120, 110, 100), 60, false},   // room above: lighter
    };
    for (const Row& row : ensureRows) {
        COLORREF clr = CKLVColorManager::EnsureContrast(row.reference, row.color, row.threshold);
        double t = (2.0 - std::min(220, static_cast<int>(WeightedDistance(row.reference, 0))) / 220.0) * row.threshold;
        EXPECT_NEAR(WeightedDistance(row.reference, clr), t, 2.5) << std::hex << clr;
        EXPECT_EQ(WeightedDistance(clr, 0) < WeightedDistance(row.color, 0), row.expectDarker) << std::hex << clr;
    }
    COLORREF limited = CKLVColorManager::LimitContrast(RGB(255, 255, 255), RGB(0, 0, 0), 50);
    EXPECT_NEAR(WeightedDistance(RGB(255, 255, 255), limited), 50, 2.5);
    EXPECT_EQ(GetRValue(limited), GetGValue(limited));
    EXPECT_EQ(CKLVColorManager::LimitContrast(0x808080, 0x808080, 50), 0x808080u);
}

TEST(ColorManager, IndexesMapToSystemToolkitAndLiteralColours) {
    FakeDesktop desktop;
    ClassicManager classic(desktop);
    CKLVColorManager& m = classic.manager;
    EXPECT_EQ(m.GetColor(0), 0u);   // black, never the scroll-bar colour
    EXPECT_EQ(m.GetColor(22), RGB(227, 223, 215));   // the face lightened by 15
    EXPECT_EQ(m.GetColor(62), 0u);
    EXPECT_EQ(m.GetColor(63), 63u);
    // 16.5 % window over the face stays: it is not far from the face.
    EXPECT_EQ(m.GetColor(30), RGB(219, 216, 209));
    EXPECT_EQ(m.GetColor(53), m.GetColor(30));
    EXPECT_EQ(m.GetColor(60), m.GetColor(40));
    // 48: the face's brightest channel raised by 35, the others in proportion.
    EXPECT_EQ(m.GetColor(48), RGB(247, 242, 233));
    // 49: the shadow's brightest channel lowered by 43.
    EXPECT_EQ(m.GetColor(49), RGB(85, 85, 85));
    // Every contrast pair ends up far enough apart.
    EXPECT_TRUE(CKLVColorManager::IsContrastSufficient(m.GetColor(30), m.GetColor(46), TRUE, 179));
    EXPECT_TRUE(CKLVColorManager::IsContrastSufficient(m.GetColor(41), m.GetColor(44), TRUE, 179));
    // No scheme: no XP colours, and the gradients come from the system colours.
    EXPECT_EQ(m.GetSystemTheme(), 0);
    EXPECT_EQ(m.GetLunaColor(31), m.GetColor(31));
    EXPECT_EQ(COLORREF(m.m_grcGradient[0].m_clrFrom), RGB(128, 128, 128));
    EXPECT_EQ(COLORREF(m.m_grcGradient[1].m_clrTo), BlendColors(RGB(212, 208, 200), 0xFFFFFF, 215));
    EXPECT_EQ(COLORREF(m.m_grcGradient[7].m_clrFrom), 0x8CD5FFu);
    EXPECT_EQ(COLORREF(m.m_grcGradient[9].m_clrTo), 0x97D4FFu);
}

TEST(ColorManager, CustomValuesWinOverEveryRefresh) {
    FakeDesktop desktop;
    ClassicManager classic(desktop);
    CKLVColorManager& m = classic.manager;
    m.m_arrCustomColor[62] = 0x010203;
    m.m_arrCustomColor[COLOR_BTNFACE] = RGB(250, 100, 0);
    m.m_arrCustomColor[31] = 0x0000FF;
    m.RefreshColors();
    EXPECT_EQ(m.GetColor(62), 0x010203u);
    EXPECT_EQ(m.GetColor(COLOR_BTNFACE), RGB(250, 100, 0));
    EXPECT_NE(m.m_arrStandardColor[COLOR_BTNFACE], RGB(250, 100, 0));
    // Colours derived from the face take the custom face.
    EXPECT_EQ(m.GetColor(22), RGB(255, 115, 15));
    EXPECT_EQ(m.GetColor(48), RGB(255, 102, 0));
    EXPECT_EQ(m.GetColor(31), 0x0000FFu);
    // 34 follows the standard 31, not the custom one.
    EXPECT_EQ(m.GetColor(34), RGB(GetRValue(m.m_arrStandardColor[31]) * 3 / 4, GetGValue(m.m_arrStandardColor[31]) * 3 / 4,
                                  GetBValue(m.m_arrStandardColor[31]) * 3 / 4));
}

TEST(ColorManager, EachXPSchemeHasItsColoursAndGradients) {
    struct Row {
        const wchar_t* color;
        int theme;
        COLORREF luna30, luna59, gradient0From, color54;
        float gradient3Factor;
    };
    const Row rows[] = {
        {L"NormalColor", 1, 0xF5BE9E, 0x361E16, 0xD68759, 0x962D00, 0.75f},
        {L"HomeStead", 2, 0xA7D9D9, 0x19221F, 0x82C0AF, 0x588060, 0.3f},
        {L"Metallic", 3, 0xE5D7D7, 0x292024, 0xBFA7A8, 0x947C7C, 0.75f},
    };
    for (const Row& row : rows) {
        FakeDesktop desktop;
        desktop.SetStyle(kLuna, row.color);
        desktop.m_clrBorder = 0x0A0B0C;
        ClassicManager classic(desktop);
        CKLVColorManager& m = classic.manager;
        SCOPED_TRACE(row.theme);
        EXPECT_EQ(m.GetSystemTheme(), row.theme);
        EXPECT_EQ(m.GetCurrentTheme(), row.theme);
        EXPECT_EQ(m.GetLunaColor(30), row.luna30);
        EXPECT_EQ(m.GetLunaColor(59), row.luna59);
        EXPECT_EQ(m.GetLunaColor(31), 0xC2EEFFu);
        EXPECT_EQ(m.GetColor(31), m.m_arrStandardColor[31]);
        EXPECT_NE(m.GetColor(31), 0xC2EEFFu);
        EXPECT_EQ(m.GetLunaColor(34), m.GetColor(34));   // no XP colour there
        EXPECT_EQ(m.GetLunaColor(5), m.GetColor(5));
        EXPECT_EQ(COLORREF(m.m_grcGradient[0].m_clrFrom), row.gradient0From);
        EXPECT_FLOAT_EQ(m.m_grcGradient[3].m_fGradientFactor, row.gradient3Factor);
        EXPECT_EQ(m.GetColor(54), row.color54);
        EXPECT_EQ(m.GetColor(57), 0x0A0B0Cu);   // the style's border colour

        // Disabling the XP colours makes the scheme count as none for them and the gradients.
        m.m_bLunaColorsDisabled = TRUE;
        m.RefreshColors();
        EXPECT_EQ(m.GetSystemTheme(), row.theme);
        EXPECT_EQ(m.GetLunaColor(30), m.GetColor(30));
        EXPECT_EQ(COLORREF(m.m_grcGradient[0].m_clrFrom), RGB(128, 128, 128));
    }
}

TEST(ColorManager, ASetThemeOverridesTheDetectedOne) {
    FakeDesktop desktop;
    ClassicManager classic(desktop);
    CKLVColorManager& m = classic.manager;
    m.m_nTheme = 2;
    m.RefreshColors();
    EXPECT_EQ(m.GetSystemTheme(), 0);
    EXPECT_EQ(m.GetCurrentTheme(), 2);
    EXPECT_EQ(m.GetLunaColor(30), 0xA7D9D9u);
    m.m_nTheme = 5;
    m.RefreshColors();
    EXPECT_EQ(m.GetCurrentTheme(), 0);
    for (COLORREF clr : m.m_arrLunaColor) EXPECT_EQ(clr, COLORREF(-1));
}

TEST(ColorManager, LowColourKeepsTheBaseTableAndSolidGradients) {
    FakeDesktop desktop;
    desktop.m_nBits = 8;
    desktop.SetStyle(kLuna, L"NormalColor");
    desktop.m_clrBorder = 0x0A0B0C;
    ClassicManager classic(desktop);
    CKLVColorManager& m = classic.manager;
    EXPECT_EQ(m.GetSystemTheme(), 0);   // no scheme at 8 bits
    EXPECT_EQ(m.GetColor(22), RGB(201, 202, 203));   // the system's own 3-D light
    const struct {
        UINT base;
        UINT index;
    } base[] = {{15, 30}, {15, 56}, {5, 31}, {5, 41}, {13, 33}, {13, 50}, {16, 38}, {16, 57}, {16, 61},
                {17, 35}, {8, 44},  {7, 45}, {18, 46}, {14, 47}, {14, 49}, {0, 59}};
    for (const auto& row : base) EXPECT_EQ(m.GetColor(row.index), m.GetColor(row.base)) << row.index;
    EXPECT_EQ(m.GetColor(62), 0u);
    for (int nSlot : {1, 3}) {
        EXPECT_EQ(COLORREF(m.m_grcGradient[nSlot].m_clrFrom), RGB(212, 208, 200));
        EXPECT_EQ(COLORREF(m.m_grcGradient[nSlot].m_clrTo), RGB(212, 208, 200));
    }
}

TEST(ColorManager, SchemesAreDetectedFromLowerCasedNames) {
    struct Row {
        const wchar_t *file, *color;
        BOOL royale;
        int expected;
    };
    const Row rows[] = {
        {kLuna, L"NORMALCOLOR", FALSE, 1},
        {L"c:\\x\\winxp.luna.rwstyles", L"homestead", FALSE, 2},
        {kLuna, L"metallic", FALSE, 3},
        {kLuna, L"NormalColor2", FALSE, 0},
        {L"c:\\x\\Royale.msstyles", L"NormalColor", FALSE, 0},
        {L"c:\\x\\Royale.msstyles", L"anything", TRUE, 1},
        {L"c:\\x\\winxp.royale.rwstyles", L"", TRUE, 1},
        {L"c:\\x\\aero.msstyles", L"NormalColor", TRUE, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CKLVColorManager::ThemeFromNames(row.file, row.color, row.royale), row.expected)
            << static_cast<int>(row.file[4]) << " " << row.royale;

    FakeDesktop desktop;
    CKLVColorManager m;
    desktop.SetStyle(kLuna, L"Metallic");
    EXPECT_EQ(m.GetCurrentSystemTheme(), 3);
    desktop.m_hrNames = E_FAIL;
    EXPECT_EQ(m.GetCurrentSystemTheme(), 0);
    desktop.m_hrNames = S_OK;
    desktop.m_bThemed = FALSE;
    EXPECT_EQ(m.GetCurrentSystemTheme(), 0);
}

TEST(ColorManager, TheSingletonFollowsTheRealDisplay) {
    CKLVColorManager* pManager = GetColorManager();
    EXPECT_EQ(GetColorManager(), pManager);
    RefreshColors();
    EXPECT_EQ(pManager->GetColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(pManager->GetColor(0), 0u);
    EXPECT_FALSE(CKLVColorManager::IsLowResolution(nullptr));
}

TEST(ColorValue, TheArchiveFormIsFiveWordsAndReadsBack) {
    CKLVGradientColorValue gradient;
    gradient.SetStandardValue(0x010101, 0x020202, 0.75f);
    gradient.m_clrFrom.SetCustomValue(0x445566);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        gradient.Serialize(ar);
    }
    DWORD words[5] = {};
    ASSERT_EQ(file.GetLength(), sizeof(words));
    file.SeekToBegin();
    file.Read(words, sizeof(words));
    const float fFactor = 0.75f;
    EXPECT_EQ(std::memcmp(&words[4], &fFactor, 4), 0);
    const DWORD expected[4] = {0x010101, 0x445566, 0x020202, 0xFFFFFFFF};
    EXPECT_EQ(std::memcmp(words, expected, sizeof(expected)), 0);

    file.SeekToBegin();
    CKLVGradientColorValue loaded;
    CArchive ar(&file, CArchive::load);
    loaded.Serialize(ar);
    EXPECT_EQ(COLORREF(loaded.m_clrFrom), 0x445566u);
    EXPECT_EQ(loaded.m_clrFrom.GetStandardColor(), 0x010101u);
    EXPECT_EQ(COLORREF(loaded.m_clrTo), 0x020202u);
    EXPECT_FLOAT_EQ(loaded.m_fGradientFactor, 0.75f);
}

}  // namespace
