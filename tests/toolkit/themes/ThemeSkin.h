// The theme tests' own skin module (skin/make-skin.py draws it), loaded as the resource theme
// with one of its two colour tables for as long as it lives; none afterwards.
#pragma once

#include "toolkit/common/ResourceImages.h"

namespace themes_test {

class ThemeSkin {
public:
    explicit ThemeSkin(LPCTSTR lpszIni = "THEMESKIN_INI")
        : m_hModule(::LoadLibraryExA(KLV_THEME_SKIN_DLL, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        m_bLoaded = KLVResourceImages()->SetResourceModule(m_hModule, lpszIni);
    }
    ~ThemeSkin() {
        KLVResourceImages()->SetResourceModule(nullptr);
        if (m_hModule) ::FreeLibrary(m_hModule);
    }
    ThemeSkin(const ThemeSkin&) = delete;
    ThemeSkin& operator=(const ThemeSkin&) = delete;

    // Part k of the i-th image of the script's list, inside its rim.
    static COLORREF PartColor(int i, int k) { return RGB(4 + 8 * (i % 32), 15 + 15 * k, 200 - 8 * (i / 32)); }
    static constexpr COLORREF kRim = RGB(250, 250, 0);
    static COLORREF Key(LPCTSTR lpszSection, LPCTSTR lpszKey) {
        return KLVResourceImages()->LookupColor(lpszSection, lpszKey);
    }

    HMODULE m_hModule;
    BOOL m_bLoaded = FALSE;
};

// Indexes of the script's images.
enum SkinImage {
    imgWorkspace = 0, imgGalleryUp = 1, imgGalleryDown = 2, imgGalleryPopup = 3, imgGlyphs = 4,
    imgTrackVertLight = 5, imgTrackVertDark = 6, imgArrowsVertLight = 9, imgThumbVert = 13,
    imgButtons22 = 17, imgButtons50 = 18, imgFaceHorizontal = 19, imgPopupFrame = 20, imgMenuSelected22 = 21,
    imgStatusLight = 22, imgStatusDivider = 23, imgStatusDark = 24, imgStatusGripper = 25, imgCheckBox = 26, imgExpandHorizontal = 27,
    imgFrameTopLeft = 28, imgFrameTopCenter = 29, imgFrameTopRight = 30, imgFrameBottomLeft = 31, imgFrameBottomRight = 32,
    imgFrameCaptionButton = 33, imgCaptionClose13 = 34, imgCaptionClose17 = 35, imgCaptionClose23 = 36,
    imgCaptionMinimize17 = 37, imgCaptionMaximize17 = 38, imgCaptionRestore17 = 39, imgRibbonTab = 40,
    imgRibbonTabSeparator = 41,
    imgSpecialSingle = 42, imgSpecialLeft = 43, imgSpecialCenter = 44, imgSpecialRight = 45, imgSpecialSplitLeft = 46,
    imgSpecialSplitCenter = 47, imgSpecialSplitDropDownRight = 48, imgSpecialSplitDropDownCenter = 49, imgSplit22 = 50,
    imgSplitDropDown22 = 51, imgComboDropDown = 52, imgSpin = 53, imgDropDownGlyph = 54, imgMorePopupFrame = 55,
    imgGroupArea = 56, imgContextGroupAreaBlue = 57, imgContextGroupAreaUncoloured = 58, imgGroupBody = 59,
    imgGroupCaption = 60, imgContextGroupBody = 61, imgContextGroupCaption = 62, imgCollapsedGroup = 63,
    imgCollapsedGroupGreen = 64, imgCollapsedGroupIconFrame = 65, imgGroupOnQuickAccess = 66, imgOptionButton = 67,
    imgQuickAccessBelowFrame = 68, imgQuickAccessArea = 69, imgQuickAccessAreaGlass = 70, imgQuickAccessCustomize = 71,
    imgQuickAccessMore = 72, imgScrollLeft = 73, imgScrollLeftArrow = 74, imgSystemButton = 75,
    imgSystemButtonLarge = 76, imgContextTabBlue = 77, imgContextRunEdge = 78, imgContextHeaderGreen = 79,
    imgContextHeaderBlue = 80, imgSystemMenuBottomButton = 81,
};

}  // namespace themes_test
