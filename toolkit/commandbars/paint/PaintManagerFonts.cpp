// The command-bar fonts: built from the system menu font (or the application's LOGFONT), with
// bold and vertical variants, and the system-derived caption, icon and tool-tip fonts.
#include "toolkit/commandbars/paint/PaintManager.h"

#include "classlib/Dc.h"
#include "toolkit/common/NonClientMetrics.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/OSVersionInfo.h"

#include <algorithm>

namespace {

const BYTE kClearTypeQuality = 5;
const BYTE kClearTypeNaturalQuality = 6;

BOOL IsXPOrGreater() {
    return GetOSVersionInfo()->IsWinXPOrGreater();
}

void RebuildFont(CKLVPaintManagerFont& font, LOGFONTA lf, LONG nWeight = -1) {
    if (!font.m_bStandardFont && font.GetSafeHandle()) return;
    if (nWeight >= 0) lf.lfWeight = nWeight;
    font.DeleteObject();
    font.CreateFontIndirect(&lf);
}

}  // namespace

LOGFONTA CKLVPaintManager::StandardLogFont(const LOGFONTA& lfMenu) {
    LOGFONTA lf = {};
    lf.lfHeight = lfMenu.lfHeight >= 0 ? lfMenu.lfHeight : std::min<LONG>(lfMenu.lfHeight, -11);
    lf.lfWeight = lfMenu.lfWeight;
    lf.lfItalic = lfMenu.lfItalic;
    lf.lfCharSet = lfMenu.lfCharSet;
    lstrcpynA(lf.lfFaceName, lfMenu.lfFaceName, LF_FACESIZE);
    if (lstrcmpA(lf.lfFaceName, "Segoe UI") == 0 && IsXPOrGreater() && CKLVDrawHelpers::FontExists(lf.lfFaceName))
        lf.lfQuality = kClearTypeNaturalQuality;
    return lf;
}

void CKLVPaintManager::RefreshFonts() {
    CKLVNonClientMetrics ncm;
    if (m_bUseStandardFont) {
        const LOGFONTA lf = StandardLogFont(ncm.lfMenuFont);
        SetCommandBarsFontIndirect(&lf, TRUE);
    }

    LOGFONTA lfIcon = {};
    ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lfIcon), &lfIcon, 0);
    if (m_bClearTypeFonts && IsXPOrGreater()) {
        lfIcon.lfQuality = kClearTypeNaturalQuality;
        ncm.lfSmCaptionFont.lfQuality = kClearTypeNaturalQuality;
        ncm.lfStatusFont.lfQuality = kClearTypeNaturalQuality;
    }
    RebuildFont(m_fontSmCaption, ncm.lfSmCaptionFont);
    RebuildFont(m_fontIcon, lfIcon);
    RebuildFont(m_fontIconBold, lfIcon, FW_BOLD);
    RebuildFont(m_fontToolTip, ncm.lfStatusFont);
}

void CKLVPaintManager::SetCommandBarsFontIndirect(const LOGFONTA* pLogFont, BOOL bUseStandardFont) {
    m_bUseStandardFont = bUseStandardFont;
    if (!pLogFont) return;
    LOGFONTA lf = *pLogFont;
    if (m_bClearTypeFonts && IsXPOrGreater()) lf.lfQuality = kClearTypeQuality;

    m_fontRegular.DeleteObject();
    m_fontRegularBold.DeleteObject();
    m_fontVert.DeleteObject();
    m_fontVertBold.DeleteObject();
    m_fontIconBold.DeleteObject();

    if (m_strPreferredFace == lf.lfFaceName) m_bUsePreferredFace = TRUE;
    if (bUseStandardFont && m_bUsePreferredFace && CKLVDrawHelpers::FontExists(m_strPreferredFace))
        lstrcpynA(lf.lfFaceName, m_strPreferredFace, LF_FACESIZE);

    const LONG nWeight = lf.lfWeight;
    m_fontRegular.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fontRegularBold.CreateFontIndirect(&lf);

    lf.lfEscapement = 2700;
    lf.lfOrientation = 900;
    lf.lfWeight = nWeight;
    lstrcpynA(lf.lfFaceName, CKLVDrawHelpers::GetDefaultFontName(m_bUsePreferredFace), LF_FACESIZE);
    m_fontVert.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fontVertBold.CreateFontIndirect(&lf);

    CClientDC dc(nullptr);
    HGDIOBJ hOld = dc.SelectObject(m_fontRegular.GetSafeHandle());
    m_nTextHeight = dc.GetTextExtent(" ", 1).cy + 6;
    dc.SelectObject(hOld);
}
