#include "toolkit/common/ColorManager.h"

#include "toolkit/common/DesktopSource.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <iterator>
#include <string>

namespace {

const UINT kLastIndex = CKLVColorManager::nColorCount - 1;

int Channel(COLORREF clr, int nShift) { return static_cast<int>((clr >> nShift) & 0xFF); }

// Applies fn to each channel of clr.
template <class F>
COLORREF MapChannels(COLORREF clr, F fn) {
    return RGB(fn(Channel(clr, 0)) & 0xFF, fn(Channel(clr, 8)) & 0xFF, fn(Channel(clr, 16)) & 0xFF);
}

struct BaseRow {
    UINT nBase;
    std::initializer_list<UINT> indexes;
};

// Which system colour each toolkit colour starts from (entry 62 is never written).
const BaseRow kBaseTable[] = {
    {COLOR_BTNFACE, {30, 51, 53, 55, 56}},
    {COLOR_WINDOW, {31, 36, 41}},
    {COLOR_HIGHLIGHT, {32, 33, 37, 50}},
    {COLOR_BTNSHADOW, {34, 38, 39, 40, 42, 43, 48, 52, 54, 57, 60, 61}},
    {COLOR_GRAYTEXT, {35, 58}},
    {COLOR_WINDOWTEXT, {44}},
    {COLOR_MENUTEXT, {45}},
    {COLOR_BTNTEXT, {46}},
    {COLOR_HIGHLIGHTTEXT, {47, 49}},
    {0, {59}},
};

struct BlendRow {
    UINT nIndex, nFirst, nSecond;
    int nPart;
};

const BlendRow kBlendTable[] = {
    {30, 5, 15, 165}, {31, 13, 5, 30}, {33, 13, 5, 50}, {41, 15, 5, 143}, {35, 17, 5, 70}, {38, 16, 5, 75},
    {39, 16, 5, 70},  {43, 46, 16, 20}, {61, 46, 16, 15}, {40, 16, 5, 90}, {42, 15, 16, 90},
};

struct ContrastRow {
    UINT nIndex, nReference, nColor;
    float fThreshold;
};

const ContrastRow kContrastTable[] = {
    {31, 30, 31, 50},  {32, 30, 13, 100}, {33, 30, 33, 30},  {35, 41, 35, 80},   {37, 33, 37, 100},
    {38, 30, 38, 85},  {39, 30, 39, 50},  {43, 41, 43, 100}, {61, 30, 61, 100},  {40, 30, 40, 80},
    {44, 41, 44, 180}, {45, 31, 45, 180}, {46, 30, 46, 180}, {47, 33, 47, 180},
};

const UINT kLunaIndexes[] = {30, 31, 32, 33, 36, 37, 38, 39, 40, 41, 43, 47, 50, 59};
const COLORREF kLunaColors[3][14] = {
    {0xF5BE9E, 0xC2EEFF, 0x800000, 0x3E80FE, 0x6FC0FF, 0x800000, 0x764127, 0xCB8C6A, 0xD0966D, 0xF6F6F6, 0x962D00,
     0x000000, 0x800000, 0x361E16},
    {0xA7D9D9, 0xC2EEFF, 0x385D3F, 0x3E80FE, 0x6FC0FF, 0x385D3F, 0x335E51, 0x588060, 0x7AAE9F, 0xEEF4F4, 0x5E8D75,
     0x000000, 0x385D3F, 0x19221F},
    {0xE5D7D7, 0xC2EEFF, 0x6F4B4B, 0x3E80FE, 0x6FC0FF, 0x6F4B4B, 0x755454, 0x8F6D6E, 0xBEA7A8, 0xFFFAFD, 0x947C7C,
     0x000000, 0x6F4B4B, 0x292024},
};

struct GradientRow {
    COLORREF clrFrom, clrTo;
    float fFactor;
};

const GradientRow kSchemeGradients[3][7] = {
    {{0xD68759, 0x962D00, 0.5f}, {0xF5BE9E, 0xFADAC4, 0.5f}, {0xD68759, 0x962D00, 0.5f}, {0xFEECDD, 0xE2A981, 0.75f},
     {0xFFEFE3, 0xE4AD87, 0.5f}, {0xF6DDCB, 0xDCA179, 0.5f}, {0xFFEFE3, 0xE7B593, 0.5f}},
    {{0x82C0AF, 0x447A63, 0.5f}, {0xA7D9D9, 0xE4F1F2, 0.5f}, {0x6F8E78, 0x435B49, 0.5f}, {0xDEF7F4, 0x91C6B7, 0.3f},
     {0xEDFFFF, 0x92C7B8, 0.3f}, {0xD1E6E6, 0x78B4A4, 0.3f}, {0xD5F0EC, 0x9FCEC2, 0.5f}},
    {{0xBFA7A8, 0x916F70, 0.5f}, {0xE5D7D7, 0xF7F3F3, 0.5f}, {0xBFA7A8, 0x977677, 0.5f}, {0xFFF9F9, 0xB79B9C, 0.75f},
     {0xFFF9F9, 0xB99D9F, 0.75f}, {0xE2D7D7, 0x9E7E80, 0.75f}, {0xF1E7E9, 0xCDB9BA, 0.5f}},
};
const COLORREF kSchemeColor54[3] = {0x962D00, 0x588060, 0x947C7C};

// Each channel scaled so that the brightest one moves to m2 (m2 computed from it).
template <class F>
COLORREF ScaleToBrightest(COLORREF clr, COLORREF clrForBlack, F fnTarget) {
    int nMax = std::max({Channel(clr, 0), Channel(clr, 8), Channel(clr, 16)});
    if (nMax == 0) return clrForBlack;
    int nTarget = fnTarget(nMax);
    return MapChannels(clr, [&](int c) { return c * nTarget / nMax; });
}

bool Contains(const std::wstring& text, const wchar_t* pszPart) { return text.find(pszPart) != std::wstring::npos; }

std::wstring Lower(LPCWSTR psz) {
    std::wstring text(psz ? psz : L"");
    for (wchar_t& ch : text) ch = static_cast<wchar_t>(std::towlower(ch));
    return text;
}

}  // namespace

COLORREF BlendColors(COLORREF clrFirst, COLORREF clrSecond, int nPart) {
    const long long nScale = nPart < 100 ? 100 : 1000;
    auto mix = [&](int nShift) {
        long long n = (Channel(clrFirst, nShift) * static_cast<long long>(nPart) +
                       Channel(clrSecond, nShift) * (nScale - nPart) + nScale / 2) / nScale;
        return static_cast<int>(n & 0xFF);
    };
    return RGB(mix(0), mix(8), mix(16));
}

CKLVColorManager::CKLVColorManager() {
    std::fill(std::begin(m_arrStandardColor), std::end(m_arrStandardColor), COLORREF(0));
    std::fill(std::begin(m_arrCustomColor), std::end(m_arrCustomColor), COLORREF(-1));
    std::fill(std::begin(m_arrLunaColor), std::end(m_arrLunaColor), COLORREF(-1));
    RefreshColors();
    // The oranges of hot and pressed items do not follow the system.
    m_grcGradient[7].SetStandardValue(0x8CD5FF, 0x55ADFF);
    m_grcGradient[8].SetStandardValue(0x4B8EFE, 0x8BCFFF);
    m_grcGradient[9].SetStandardValue(0xC8F2FF, 0x97D4FF);
}

COLORREF CKLVColorManager::GetColor(UINT nIndex) const {
    if (nIndex > kLastIndex) return nIndex;
    return m_arrCustomColor[nIndex] != COLORREF(-1) ? m_arrCustomColor[nIndex] : m_arrStandardColor[nIndex];
}

COLORREF CKLVColorManager::GetLunaColor(UINT nIndex) const {
    if (nIndex >= 30 && nIndex <= kLastIndex && m_arrLunaColor[nIndex] != COLORREF(-1)) return m_arrLunaColor[nIndex];
    return GetColor(nIndex);
}

BOOL CKLVColorManager::IsLowResolution(HDC hDC) {
    int nBits = KLVGetDesktopSource()->GetBitsPerPixel(hDC);
    return nBits >= 1 && nBits <= 8;
}

int CKLVColorManager::GetCurrentTheme() const {
    return m_nTheme == 4 || m_nTheme == 5 ? m_nSystemTheme : m_nTheme;
}

int CKLVColorManager::GetLunaTheme() const { return m_bLunaColorsDisabled ? themeNone : GetCurrentTheme(); }

int CKLVColorManager::ThemeFromNames(LPCWSTR pszThemeFile, LPCWSTR pszColorName, BOOL bAllowRoyale) {
    std::wstring file = Lower(pszThemeFile);
    if (Contains(file, L"luna.msstyles") || Contains(file, L"winxp.luna.rwstyles")) {
        std::wstring color = Lower(pszColorName);
        if (color == L"normalcolor") return themeBlue;
        if (color == L"homestead") return themeOlive;
        if (color == L"metallic") return themeSilver;
    }
    if (!bAllowRoyale) return themeNone;
    return Contains(file, L"royale.msstyles") || Contains(file, L"winxp.royale.rwstyles") ? themeBlue : themeNone;
}

int CKLVColorManager::GetCurrentSystemTheme() const {
    CKLVDesktopSource* pSource = KLVGetDesktopSource();
    if (!pSource->IsThemeActive() || IsLowResolution(nullptr)) return themeNone;
    WCHAR szFile[MAX_PATH] = {}, szColor[MAX_PATH] = {}, szSize[MAX_PATH] = {};
    if (FAILED(pSource->GetCurrentThemeName(szFile, MAX_PATH, szColor, MAX_PATH, szSize, MAX_PATH))) return themeNone;
    szFile[MAX_PATH - 1] = szColor[MAX_PATH - 1] = 0;
    return ThemeFromNames(szFile, szColor, m_bAllowRoyale);
}

void CKLVColorManager::RefreshColors() {
    m_nSystemTheme = GetCurrentSystemTheme();
    BOOL bLowColor = IsLowResolution(nullptr);
    RefreshSystemColors();
    RefreshBaseColors();
    RefreshLunaColors();
    if (bLowColor) {
        RefreshGradientColors();
        return;
    }
    RefreshBlendColors();
    RefreshContrastColors();
    RefreshComputedColors();
    RefreshGradientColors();
    RefreshBorderColor();
}

void CKLVColorManager::RefreshSystemColors() {
    SetStandard(0, 0);   // black, not the scroll-bar colour
    for (int i = 1; i <= COLOR_MENUHILIGHT; ++i)
        SetStandard(i, m_pfnGetSysColor ? m_pfnGetSysColor(i) : ::GetSysColor(i));
}

void CKLVColorManager::RefreshBaseColors() {
    for (const BaseRow& row : kBaseTable)
        for (UINT nIndex : row.indexes) SetStandard(nIndex, GetColor(row.nBase));
}

void CKLVColorManager::RefreshBlendColors() {
    for (const BlendRow& row : kBlendTable)
        SetStandard(row.nIndex, BlendColors(GetColor(row.nFirst), GetColor(row.nSecond), row.nPart));
}

void CKLVColorManager::RefreshContrastColors() {
    if (IsContrastSufficient(GetColor(15), GetColor(30), TRUE, 35))
        SetStandard(30, LimitContrast(GetColor(15), GetColor(30), 35));
    for (const ContrastRow& row : kContrastTable) {
        COLORREF clrReference = GetColor(row.nReference), clrColor = GetColor(row.nColor);
        if (!IsContrastSufficient(clrReference, clrColor, TRUE, row.fThreshold))
            SetStandard(row.nIndex, EnsureContrast(clrReference, clrColor, row.fThreshold));
    }
    if (IsContrastSufficient(GetColor(41), GetColor(35), TRUE, 145))
        SetStandard(35, LimitContrast(GetColor(41), GetColor(35), 145));
}

void CKLVColorManager::RefreshComputedColors() {
    const COLORREF clr30 = GetColor(30), clr13 = GetColor(13), clr5 = GetColor(5), clr15 = GetColor(15);
    SetStandard(36, RGB(Channel(clr30, 0) * 50 / 100 + Channel(clr13, 0) * 10 / 100 + Channel(clr5, 0) * 40 / 100,
                        Channel(clr30, 8) * 50 / 100 + Channel(clr13, 8) * 10 / 100 + Channel(clr5, 8) * 40 / 100,
                        Channel(clr30, 16) * 50 / 100 + Channel(clr13, 16) * 10 / 100 + Channel(clr5, 16) * 40 / 100));
    // 48: the face with its brightest channel raised by up to 35.
    SetStandard(48, ScaleToBrightest(clr15, 0x232323, [](int m) { return m + std::min(255 - m, 35); }));
    // 49: the shadow darkened by 43 at its brightest channel; mid grey on a black face.
    SetStandard(49, clr15 == 0 ? 0x7F7F7F : ScaleToBrightest(GetColor(16), 0, [](int m) { return std::max(m - 43, 0); }));
    SetStandard(34, MapChannels(m_arrStandardColor[31], [](int c) { return static_cast<int>(c * 0.75); }));
    SetStandard(COLOR_3DLIGHT, MapChannels(clr15, [](int c) { return std::min(c + 15, 255); }));
    SetStandard(53, GetColor(30));
    SetStandard(58, GetColor(40));
    SetStandard(60, m_arrStandardColor[40]);
}

void CKLVColorManager::RefreshBorderColor() {
    COLORREF clrBorder = 0;
    if (KLVGetDesktopSource()->GetThemeBorderColor(&clrBorder)) SetStandard(57, clrBorder);
}

void CKLVColorManager::RefreshLunaColors() {
    std::fill(std::begin(m_arrLunaColor), std::end(m_arrLunaColor), COLORREF(-1));
    int nTheme = GetLunaTheme();
    if (nTheme < themeBlue || nTheme > themeSilver) return;
    for (size_t i = 0; i < std::size(kLunaIndexes); ++i) m_arrLunaColor[kLunaIndexes[i]] = kLunaColors[nTheme - 1][i];
}

void CKLVColorManager::RefreshGradientColors() {
    int nTheme = GetLunaTheme();
    if (nTheme >= themeBlue && nTheme <= themeSilver) {
        for (int i = 0; i < 7; ++i) {
            const GradientRow& row = kSchemeGradients[nTheme - 1][i];
            m_grcGradient[i].SetStandardValue(row.clrFrom, row.clrTo, row.fFactor);
        }
        SetStandard(54, kSchemeColor54[nTheme - 1]);
    } else {
        auto blend = [this](UINT a, UINT b, int p) { return BlendColors(GetColor(a), GetColor(b), p); };
        m_grcGradient[0].SetStandardValue(GetColor(16), GetColor(16));
        m_grcGradient[1].SetStandardValue(GetColor(15), blend(15, 5, 215));
        m_grcGradient[2].SetStandardValue(GetColor(15), GetColor(16));
        m_grcGradient[3].SetStandardValue(blend(15, 5, 205), GetColor(15));
        m_grcGradient[4].SetStandardValue(blend(15, 5, 145), blend(15, 5, 93));
        m_grcGradient[5].SetStandardValue(blend(15, 5, 40), blend(15, 16, 95));
        m_grcGradient[6].SetStandardValue(blend(15, 5, 165), blend(15, 5, 42));
    }
    if (IsLowResolution(nullptr)) {
        m_grcGradient[1].SetStandardSolid(GetColor(15));
        m_grcGradient[3].SetStandardSolid(GetColor(15));
    }
}

CKLVColorManager* GetColorManager() {
    static CKLVColorManager s_manager;
    return &s_manager;
}

void RefreshColors() { GetColorManager()->RefreshColors(); }
