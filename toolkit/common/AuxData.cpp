#include "toolkit/common/AuxData.h"

#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/LoadedModule.h"
#include "toolkit/common/OSVersionInfo.h"
#include "toolkit/common/ResourceManager.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>

namespace {

// The metrics record as the oldest systems that have it know it (without the padded border).
const UINT kNonClientMetricsSize = 340;

void SetFace(LOGFONTA& lf, LPCSTR lpszFaceName) {
    std::strncpy(lf.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
}

LOGFONTA Bold(LOGFONTA lf) {
    lf.lfWeight = FW_BOLD;
    return lf;
}

LOGFONTA Vertical(LOGFONTA lf) {
    lf.lfEscapement = 2700;
    lf.lfOrientation = 900;
    return lf;
}

}  // namespace

CKLTabCtrlItem::CKLTabCtrlItem() : nIndex(0), pWnd(nullptr), dwSavedStyle(0), dwSavedExStyle(0) {
    std::fill(std::begin(nExtra), std::end(nExtra), -1);
}

CKLVAuxData::CKLVAuxData() {
    const CKLVOSVersionInfo* pVersion = GetOSVersionInfo();
    bWin95 = pVersion->IsWin95();
    bWin98 = pVersion->IsWin98();
    bWinNT4 = pVersion->IsWinNT4();
    bWin2K = pVersion->IsWin2K();
    bWinXP = pVersion->IsWinXP();
    nComCtlVersion = GetComCtlVersion();
    LoadColors();
    cxSmIcon = ::GetSystemMetrics(SM_CXSMICON);
    cySmIcon = ::GetSystemMetrics(SM_CYSMICON);
    cxSize = cySize = 18;
    cxHThumb = ::GetSystemMetrics(SM_CXHTHUMB);
    cyVThumb = ::GetSystemMetrics(SM_CYVTHUMB);
    cyMenuItem = ::GetSystemMetrics(SM_CYMENU);
    LoadCursors();
    UpdateFonts();
}

void CKLVAuxData::LoadColors() {
    CKLVColorManager* pColors = GetColorManager();
    pColors->RefreshColors();
    COLORREF* const pSystem[] = {&clr3DFace,        &clr3DShadow,          &clr3DDkShadow,  &clr3DHilight,
                                 &clr3DLight,       &clrBtnText,           &clrGrayText,    &clrHighlight,
                                 &clrHighlightText, &clrMenu,              &clrMenuText,    &clrWindow,
                                 &clrWindowFrame,   &clrWindowText,        &clrActiveCaption, &clrInActiveCaption,
                                 &clrGradientActiveCap, &clrGradientInActiveCap, &clrCaptionText,
                                 &clrInactiveCaptionText};
    const UINT kSystemIndexes[] = {15, 16, 21, 20, 22, 18, 17, 13, 14, 4, 7, 5, 6, 8, 2, 3, 27, 28, 9, 19};
    for (size_t i = 0; i < std::size(kSystemIndexes); ++i) *pSystem[i] = pColors->GetColor(kSystemIndexes[i]);
    for (UINT i = 0; i < std::size(clrToolkit); ++i) clrToolkit[i] = pColors->GetColor(30 + i);
}

void CKLVAuxData::LoadCursors() {
    CKLVResourceManager* pResources = KLVResourceManager();
    auto fromResources = [pResources](UINT nID) { return [pResources, nID] { return pResources->LoadCursor(nID); }; };
    auto hand = [pResources] {
        HCURSOR hCursor = ::LoadCursorA(nullptr, IDC_HAND);
        return hCursor ? hCursor : pResources->LoadCursor(9973);
    };
    auto sizeAll = [] { return ::LoadCursorA(nullptr, IDC_SIZEALL); };
    const struct {
        HCURSOR* phCursor;
        std::function<HCURSOR()> load;
    } steps[] = {
        {&hcurDragNone, fromResources(9311)}, {&hcurDragMove, fromResources(9308)}, {&hcurDragCopy, fromResources(9309)},
        {&hcurHand, hand},                    {&hcurHSplitBar, fromResources(9970)}, {&hcurVSplitBar, fromResources(9971)},
        {&hcurMove, sizeAll},
    };
    for (const auto& step : steps)
        if (!(*step.phCursor = step.load())) break;
}

CString CKLVAuxData::GetVerticalFaceName(LPCTSTR lpszVertFaceName, LPCTSTR lpszMenuFaceName,
                                         LPCTSTR lpszHorzFaceName) {
    if (lpszVertFaceName && CKLVDrawHelpers::FontExists(lpszVertFaceName)) return lpszVertFaceName;
    if (::lstrcmpiA(lpszMenuFaceName, "Tahoma") != 0 && CKLVDrawHelpers::FontExists("Arial")) return "Arial";
    return lpszHorzFaceName;
}

BOOL CKLVAuxData::UpdateFonts(LPCTSTR lpszFaceName, LPCTSTR lpszVertFaceName) {
    CFont* const pFonts[] = {&font,          &fontBold,          &fontULine,   &fontVert,   &fontVertBold,
                             &fontIconTitle, &fontIconTitleBold, &fontMarlett, &fontStatus, &fontSmCaption};
    for (CFont* pFont : pFonts) pFont->DeleteObject();

    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = kNonClientMetricsSize;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &ncm, 0);
    LOGFONTA lf = ncm.lfMenuFont;
    if (lpszFaceName) {
        if (CKLVDrawHelpers::FontExists(lpszFaceName)) SetFace(lf, lpszFaceName);
    } else if (bPreferTahoma && lf.lfCharSet <= SYMBOL_CHARSET && CKLVDrawHelpers::FontExists("Tahoma")) {
        SetFace(lf, "Tahoma");
    }
    LOGFONTA lfUnderline = lf;
    lfUnderline.lfUnderline = TRUE;
    LOGFONTA lfVert = lf;
    SetFace(lfVert, GetVerticalFaceName(lpszVertFaceName, ncm.lfMenuFont.lfFaceName, lf.lfFaceName));
    LOGFONTA lfIconTitle = {};
    ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lfIconTitle), &lfIconTitle, 0);
    LOGFONTA lfMarlett = {};
    lfMarlett.lfHeight = lfIconTitle.lfHeight;
    lfMarlett.lfCharSet = DEFAULT_CHARSET;
    SetFace(lfMarlett, "Marlett");

    const LOGFONTA descriptions[] = {lf,          Bold(lf),          lfUnderline, Vertical(lfVert), Bold(Vertical(lfVert)),
                                     lfIconTitle, Bold(lfIconTitle), lfMarlett,   ncm.lfStatusFont, ncm.lfSmCaptionFont};
    for (size_t i = 0; i < std::size(pFonts); ++i)
        if (!pFonts[i]->CreateFontIndirect(&descriptions[i])) return FALSE;
    return TRUE;
}

CKLVAuxData* KLVAuxData() {
    static CKLVAuxData s_auxData;
    return &s_auxData;
}
