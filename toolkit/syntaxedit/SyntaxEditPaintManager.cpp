// The paint manager's resources and settings: fonts, cursors, the mark icons, the pen and the
// eight colours with their profile keys.
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

#include "toolkit/common/ResourceManager.h"

#include <cmath>
#include <cstring>
#include <memory>

namespace {

const LPCTSTR kSection = "Settings";
const LPCTSTR kLogFontKey = "LogFont";

struct CColorKey {
    LPCTSTR lpszKey;
    CKLVColorValue CKLVSyntaxEditTextColors::*pMember;
    int nSysColor;   // -1: the fixed line-number text colour
};

const CColorKey kColorKeys[] = {
    {"ColorText", &CKLVSyntaxEditTextColors::crText, COLOR_WINDOWTEXT},
    {"ColorBack", &CKLVSyntaxEditTextColors::crBack, COLOR_WINDOW},
    {"ColorHiliteText", &CKLVSyntaxEditTextColors::crSelText, COLOR_HIGHLIGHTTEXT},
    {"ColorHiliteBack", &CKLVSyntaxEditTextColors::crSelBack, COLOR_HIGHLIGHT},
    {"ColorInactiveHiliteColorText", &CKLVSyntaxEditTextColors::crInactiveSelText, COLOR_INACTIVECAPTIONTEXT},
    {"ColorInactiveHiliteColorBack", &CKLVSyntaxEditTextColors::crInactiveSelBack, COLOR_INACTIVECAPTION},
    {"ColorLineNumberText", &CKLVSyntaxEditTextColors::crLineNumberText, -1},
    {"ColorLineNumberBack", &CKLVSyntaxEditTextColors::crLineNumberBack, COLOR_WINDOW},
};

LOGFONT DefaultLogFont() {
    LOGFONT lf{};
    lf.lfHeight = -13;
    lf.lfWeight = FW_NORMAL;
    lf.lfPitchAndFamily = FIXED_PITCH;
    strcpy(lf.lfFaceName, "Courier");
    return lf;
}

std::unique_ptr<CKLVSyntaxEditPaintManager>& Instance() {
    static std::unique_ptr<CKLVSyntaxEditPaintManager> s_pInstance;
    return s_pInstance;
}

}  // namespace

CKLVSyntaxEditPaintManager* GetPaintManager() {
    std::unique_ptr<CKLVSyntaxEditPaintManager>& pInstance = Instance();
    if (!pInstance) pInstance = std::make_unique<CKLVSyntaxEditPaintManager>();
    return pInstance.get();
}

CKLVSyntaxEditPaintManager::CKLVSyntaxEditPaintManager() {
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        m_fontToolTip.CreateFontIndirect(&ncm.lfStatusFont);
    CreateFonts(DefaultLogFont());
    CKLVResourceManager* pResources = KLVResourceManager();
    m_hCurMargin = pResources->LoadCursor(KLV_IDC_SYNTAXEDIT_MARGIN);
    m_hCurDragMove = pResources->LoadCursor(KLV_IDC_SYNTAXEDIT_DRAGMOVE);
    m_hCurDragCopy = pResources->LoadCursor(KLV_IDC_SYNTAXEDIT_DRAGCOPY);
    m_hCurNoDrop = ::LoadCursor(nullptr, IDC_NO);
    m_hCurIBeam = ::LoadCursor(nullptr, IDC_IBEAM);
    m_hCurArrow = ::LoadCursor(nullptr, IDC_ARROW);
    RefreshSettings();
    RefreshIcons();
}

CKLVSyntaxEditPaintManager::~CKLVSyntaxEditPaintManager() = default;

BOOL CKLVSyntaxEditPaintManager::CreateFonts(const LOGFONT& lf) {
    CFont fontText, fontSegment, fontLineNumber;
    if (!fontText.CreateFontIndirect(&lf) || !fontSegment.CreateFontIndirect(&lf) ||
        !fontLineNumber.CreateFontIndirect(&lf))
        return FALSE;
    m_fontText.DeleteObject();
    m_fontText.Attach(fontText.Detach());
    m_fontSegment.DeleteObject();
    m_fontSegment.Attach(fontSegment.Detach());
    m_fontLineNumber.DeleteObject();
    m_fontLineNumber.Attach(fontLineNumber.Detach());
    return TRUE;
}

void CKLVSyntaxEditPaintManager::RefreshSettings() {
    CWinApp* pApp = AfxGetApp();
    for (const CColorKey& key : kColorKeys) {
        CKLVColorValue& clr = m_clrColors.*key.pMember;
        const COLORREF clrStandard = key.nSysColor < 0 ? RGB(0, 130, 132) : ::GetSysColor(key.nSysColor);
        clr.SetStandardValue(clrStandard);
        clr.SetCustomValue(COLORREF(-1));
        if (!pApp) continue;
        const COLORREF clrStored = pApp->GetProfileInt(kSection, key.lpszKey, static_cast<int>(clrStandard));
        // Only a difference is kept, so that a later change of the system colour is followed.
        if (clrStored != clrStandard) clr.SetCustomValue(clrStored);
    }
    if (pApp) {
        LPBYTE pData = nullptr;
        UINT nBytes = 0;
        if (pApp->GetProfileBinary(kSection, kLogFontKey, &pData, &nBytes)) {
            if (IsValidLogFont(pData, nBytes)) SetFont(*reinterpret_cast<const LOGFONT*>(pData), FALSE);
            delete[] pData;
        }
    }
    m_penShadow.DeleteObject();
    m_penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
}

BOOL CKLVSyntaxEditPaintManager::IsValidLogFont(const BYTE* pData, UINT nBytes) {
    if (!pData || nBytes != sizeof(LOGFONTA)) return FALSE;
    const LOGFONTA* pLogFont = reinterpret_cast<const LOGFONTA*>(pData);
    return memchr(pLogFont->lfFaceName, 0, LF_FACESIZE) != nullptr;
}

void CKLVSyntaxEditPaintManager::RefreshIcons() {
    m_ilLineMarks.DeleteImageList();
    CBitmap bitmap;
    if (!KLVResourceManager()->LoadBitmap(&bitmap, KLV_IDB_SYNTAXEDIT_MARKS)) return;
    BITMAP bm{};
    ::GetObjectA(static_cast<HGDIOBJ>(bitmap), sizeof bm, &bm);
    if (m_ilLineMarks.Create(20, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 0, 1))
        m_ilLineMarks.Add(&bitmap, RGB(0, 255, 0));
}

BOOL CKLVSyntaxEditPaintManager::SetFont(const LOGFONT& lf, BOOL bSave) {
    if (!CreateFonts(lf)) return FALSE;
    if (!bSave) return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->WriteProfileBinary(kSection, kLogFontKey, reinterpret_cast<LPBYTE>(const_cast<LOGFONT*>(&lf)),
                                            sizeof(LOGFONT));
}

BOOL CKLVSyntaxEditPaintManager::SetTextFont(const LOGFONT& lf) {
    CFont font;
    if (!font.CreateFontIndirect(&lf)) return FALSE;
    m_fontText.DeleteObject();
    return m_fontText.Attach(font.Detach());
}

BOOL CKLVSyntaxEditPaintManager::WriteColor(LPCTSTR lpszKey, CKLVColorValue& clr, COLORREF clrNew, BOOL bSave) {
    clr.SetCustomValue(clrNew);
    if (!bSave) return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->WriteProfileInt(kSection, lpszKey, static_cast<int>(clrNew));
}

BOOL CKLVSyntaxEditPaintManager::SetTextColor(COLORREF clr, BOOL bSave) {
    return WriteColor("ColorText", m_clrColors.crText, clr, bSave);
}

BOOL CKLVSyntaxEditPaintManager::SetBackColor(COLORREF clr, BOOL bSave) {
    return WriteColor("ColorBack", m_clrColors.crBack, clr, bSave);
}

BOOL CKLVSyntaxEditPaintManager::SetHiliteTextColor(COLORREF clr, BOOL bSave) {
    return WriteColor("ColorHiliteText", m_clrColors.crSelText, clr, bSave);
}

BOOL CKLVSyntaxEditPaintManager::SetHiliteBackColor(COLORREF clr, BOOL bSave) {
    return WriteColor("ColorHiliteBack", m_clrColors.crSelBack, clr, bSave);
}

int CKLVSyntaxEditPaintManager::CountDigits(int nRowCount) {
    int nDigits = 1;
    for (int n = nRowCount; n >= 10; n /= 10) ++nDigits;
    return nDigits;
}
