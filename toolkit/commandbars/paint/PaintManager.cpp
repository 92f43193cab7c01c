#include "toolkit/commandbars/paint/PaintManager.h"

#include "toolkit/commandbars/paint/ControlGalleryPaintManager.h"
#include "toolkit/commandbars/paint/CommandBarFace.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/ImageManager.h"

#include <algorithm>
#include <map>

namespace {

std::map<int, CKLVPaintManager::ThemeCreator>& ThemeCreators() {
    static std::map<int, CKLVPaintManager::ThemeCreator> s_map;
    return s_map;
}

// Holds the process-wide paint manager and lets it go at exit.
struct GlobalPaintManager {
    ~GlobalPaintManager() { Reset(nullptr); }
    void Reset(CKLVPaintManager* pNew) {
        if (m_pPaintManager) m_pPaintManager->InternalRelease();
        m_pPaintManager = pNew;
    }
    CKLVPaintManager* m_pPaintManager = nullptr;
};

GlobalPaintManager& Global() {
    static GlobalPaintManager s_global;
    return s_global;
}

const int kStatusPartPane = 1;
const int kThemePropTextColor = 3803;

}  // namespace

void CKLVPaintManager::RegisterTheme(int nTheme, ThemeCreator pfnCreate) {
    if (pfnCreate)
        ThemeCreators()[nTheme] = pfnCreate;
    else
        ThemeCreators().erase(nTheme);
}

CKLVPaintManager* CKLVPaintManager::CreateThemeObject(int nTheme) {
    const auto& creators = ThemeCreators();
    auto it = creators.find(nTheme);
    if (it == creators.end()) it = creators.find(0);
    if (it == creators.end()) return nullptr;
    CKLVPaintManager* pPaintManager = it->second();
    pPaintManager->m_nTheme = nTheme;
    return pPaintManager;
}

void CKLVPaintManager::SetTheme(int nTheme) {
    CKLVPaintManager* pPaintManager = CreateThemeObject(nTheme);
    if (!pPaintManager) return;
    Global().Reset(pPaintManager);
    pPaintManager->RefreshMetrics();
    pPaintManager->m_nTheme = nTheme;
}

CKLVPaintManager* CKLVPaintManager::GetGlobalPaintManager() {
    return Global().m_pPaintManager;
}

CKLVPaintManager::CKLVPaintManager() : m_pGalleryPaintManager(std::make_unique<CKLVControlGalleryPaintManager>(this)) {
    // Cached icon variants depend on the icon options of the paint manager that made them.
    KLVImageManager()->RefreshAll();
    if (HMODULE hUser = ::GetModuleHandleA("USER32"))
        m_pfnSetLayeredWindowAttributes = reinterpret_cast<decltype(m_pfnSetLayeredWindowAttributes)>(
            reinterpret_cast<void*>(::GetProcAddress(hUser, "SetLayeredWindowAttributes")));
}

CKLVPaintManager::~CKLVPaintManager() = default;

void CKLVPaintManager::RefreshMetrics() {
    RefreshFonts();
    CKLVColorManager* pColors = GetColorManager();
    pColors->RefreshColors();
    for (int i = 0; i < nColorCount; ++i) m_arrColors[i].SetStandardValue(pColors->GetColor(i));

    m_clrShadow = 0;
    m_clrStatusText = GetThemeColor(COLOR_BTNTEXT);
    m_clrFloatingCaption.SetStandardValue(GetThemeColor(COLOR_BTNSHADOW));
    m_clrFloatingCaptionText.SetStandardValue(GetThemeColor(COLOR_BTNHIGHLIGHT));
    m_clrFaceShadowGradient.SetStandardValue(GetThemeColor(COLOR_BTNFACE), GetThemeColor(COLOR_BTNSHADOW), 0.5f);
    RefreshVisualStyles();
    m_pGalleryPaintManager->RefreshMetrics();
}

void CKLVPaintManager::RefreshVisualStyles() {
    m_themeStatusBar.CloseThemeData();
    if (m_bUseStatusVisualStyle && m_themeStatusBar.OpenThemeData(nullptr, L"STATUS")) {
        COLORREF clr = 0;
        if (SUCCEEDED(m_themeStatusBar.GetThemeColor(kStatusPartPane, 0, kThemePropTextColor, &clr)))
            m_clrStatusText = clr;
    }
    m_themeButton.CloseThemeData();
    if (m_bUseButtonVisualStyle) m_themeButton.OpenThemeData(nullptr, L"BUTTON");
}

COLORREF CKLVPaintManager::GetThemeColor(int nIndex) const {
    if (nIndex < 0 || nIndex >= nColorCount) return COLORREF(nIndex);
    return m_arrColors[nIndex];
}

void CKLVPaintManager::SetStandardColors(int nCount, const int* pIndexes, const COLORREF* pColors) {
    for (int i = 0; i < nCount; ++i)
        if (pIndexes[i] >= 0 && pIndexes[i] < nColorCount) m_arrColors[pIndexes[i]].SetStandardValue(pColors[i]);
}

int CKLVPaintManager::GetColorManagerTheme() const {
    const CKLVColorManager* pColors = GetColorManager();
    if (m_nColorTheme == 5) return pColors->IsLunaColorsDisabled() ? 0 : pColors->GetCurrentTheme();
    if (m_nColorTheme == 4) return pColors->GetSystemTheme();
    return m_nColorTheme;
}

int CKLVPaintManager::GetTextHeight() const {
    return std::max(m_nTextHeight, 22);
}

int CKLVPaintManager::GetSplitDropDownWidth() const {
    const int h = m_nControlHeight > 0 ? m_nTextHeight : std::max(m_nTextHeight + 3, 22);
    return 2 * h - 17;
}

CSize CKLVPaintManager::GetAutoIconSize(BOOL bLarge) const {
    if (!m_bAutoResizeIcons) return bLarge ? CSize(32, 32) : CSize(16, 16);
    int n = GetTextHeight() - 4;
    if (bLarge) n *= 2;
    n = std::max(n / 8, 2) * 8;
    return CSize(n, n);
}

CFont* CKLVPaintManager::GetCommandBarFont(CKLVCommandBarFace* pBar, BOOL bBold) {
    if (pBar && IsVerticalDockPosition(pBar->GetPosition())) return bBold ? &m_fontVertBold : &m_fontVert;
    return bBold ? &m_fontRegularBold : &m_fontRegular;
}

BOOL CKLVPaintManager::IsFlatToolBar(const CKLVCommandBarFace* pBar) const {
    return pBar && pBar->GetType() == CKLVCommandBarFace::barTypeMenuBar ? m_bFlatMenuBar : m_bFlatToolBar;
}

BOOL CKLVPaintManager::IsVerticalPosition(int nPosition) {
    return IsVerticalDockPosition(nPosition) || nPosition == CKLVCommandBarFace::barPopup;
}

BOOL CKLVPaintManager::IsVerticalDockPosition(int nPosition) {
    return nPosition == CKLVCommandBarFace::barLeft || nPosition == CKLVCommandBarFace::barRight;
}
