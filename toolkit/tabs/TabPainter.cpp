#include "toolkit/tabs/TabPainter.h"

#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/tabs/TabColors.h"
#include "toolkit/tabs/TabColorsResource.h"
#include "toolkit/tabs/TabColorsStandard.h"
#include "toolkit/tabs/TabColorsVisualStyle.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabStyle.h"
#include "toolkit/tabs/TabStyleAppearances.h"

#include <map>
#include <vector>

namespace {

template <class T>
CKLVTabStyle* MakeAppearance() {
    return new T;
}

std::map<int, CKLVTabPainter::AppearanceCreator>& AppearanceCreators() {
    static std::map<int, CKLVTabPainter::AppearanceCreator> s_map = {
        {0, &MakeAppearance<CKLVTabStyleAppearance0>},  {1, &MakeAppearance<CKLVTabStyleAppearance1>},
        {2, &MakeAppearance<CKLVTabStyleAppearance2>},
        {3, &MakeAppearance<CKLVTabStyleAppearance3>},  {4, &MakeAppearance<CKLVTabStyleAppearance4>},
        {5, &MakeAppearance<CKLVTabStyleAppearance5>},  {6, &MakeAppearance<CKLVTabStyleAppearance6>},
        {7, &MakeAppearance<CKLVTabStyleAppearance7>},  {8, &MakeAppearance<CKLVTabStyleAppearance8>},
        {9, &MakeAppearance<CKLVTabStyleAppearance9>},  {10, &MakeAppearance<CKLVTabStyleAppearance10>},
    };
    return s_map;
}

template <class T>
CKLVTabColors* MakeColorSet() {
    return new T;
}

// Makers registered in place of the sets the toolkit has; withdrawing one brings the toolkit's back.
std::map<int, CKLVTabPainter::ColorSetCreator>& ColorSetCreators() {
    static std::map<int, CKLVTabPainter::ColorSetCreator> s_map;
    return s_map;
}

CKLVTabColors* MakeBuiltInColorSet(int nColorSet) {
    switch (nColorSet) {
    case 2: return MakeColorSet<CKLVTabColorsSet2>();
    case 4: return MakeColorSet<CKLVTabColorsResource>();
    case 8: return MakeColorSet<CKLVTabColorsVisualStyle>();
    case 16: return MakeColorSet<CKLVTabColorsSet16>();
    case 32: return MakeColorSet<CKLVTabColorsResourceImages>();
    default: return MakeColorSet<CKLVTabColorsStandard>();
    }
}

// The colour numbers a set exists for; every other number means the standard set.
BOOL IsKnownColorNumber(int nColorSet) {
    return nColorSet == 2 || nColorSet == 4 || nColorSet == 8 || nColorSet == 16 || nColorSet == 32;
}

const COLORREF kPresetColors[CKLVTabPainter::nPresetColorCount] = {
    0xE4A88A, 0x75DBFF, 0x9FCDBD, 0x9F9EF0, 0xE1A6BA, 0xB4BF9A, 0x83B6F7, 0xC0ABD8,
};

}  // namespace

void CKLVTabPainter::RegisterAppearance(int nAppearance, AppearanceCreator pfnCreate) {
    if (pfnCreate) AppearanceCreators()[nAppearance] = pfnCreate;
    else AppearanceCreators().erase(nAppearance);
}

void CKLVTabPainter::RegisterColorSet(int nColorSet, ColorSetCreator pfnCreate) {
    if (pfnCreate) ColorSetCreators()[nColorSet] = pfnCreate;
    else ColorSetCreators().erase(nColorSet);
}

CKLVTabPainter::CKLVTabPainter() {
    InstallAppearance(new CKLVTabStyleAppearance0);
    m_nColor = m_pAppearanceSet->GetDefaultColor();
    // The set of the number it reports, as SetColor would make it.
    InstallColorSet(MakeBuiltInColorSet(m_nColor));
    RefreshMetrics();
}

CKLVTabPainter::~CKLVTabPainter() = default;

void CKLVTabPainter::InstallAppearance(CKLVTabStyle* pAppearanceSet) {
    m_pAppearanceSet.reset(pAppearanceSet);
    pAppearanceSet->m_pPaintManager = this;
    if (m_fntNormal.GetSafeHandle()) pAppearanceSet->RefreshMetrics();
}

void CKLVTabPainter::InstallColorSet(CKLVTabColors* pColorSet) {
    m_pColorSet.reset(pColorSet);
    pColorSet->m_pPaintManager = this;
    pColorSet->RefreshMetrics();
}

CKLVTabStyle* CKLVTabPainter::SetAppearance(int nAppearance) {
    m_nAppearance = nAppearance;
    auto it = AppearanceCreators().find(nAppearance);
    CKLVTabStyle* pAppearanceSet = it != AppearanceCreators().end() ? it->second() : new CKLVTabStyleAppearance0;
    SetAppearanceSet(pAppearanceSet);
    return pAppearanceSet;
}

void CKLVTabPainter::SetAppearanceSet(CKLVTabStyle* pAppearanceSet) {
    if (pAppearanceSet) {
        InstallAppearance(pAppearanceSet);
        SetColor(pAppearanceSet->GetDefaultColor());
    }
    NotifyObservers();
}

CKLVTabColors* CKLVTabPainter::SetColor(int nColorSet) {
    m_nColor = IsKnownColorNumber(nColorSet) ? nColorSet : 1;
    auto it = ColorSetCreators().find(m_nColor);
    CKLVTabColors* pColorSet = it != ColorSetCreators().end() ? it->second() : MakeBuiltInColorSet(m_nColor);
    SetColorSet(pColorSet);
    return pColorSet;
}

void CKLVTabPainter::SetColorSet(CKLVTabColors* pColorSet) {
    if (pColorSet) InstallColorSet(pColorSet);
    NotifyObservers();
}

void CKLVTabPainter::SetPosition(int nPosition) {
    m_nPosition = nPosition;
    NotifyObservers();
}

void CKLVTabPainter::SetLayout(int nLayout) {
    m_nLayout = nLayout;
    NotifyObservers();
}

void CKLVTabPainter::NotifyObservers() {
    for (int i = 0; i < m_arrObservers.GetCount(); ++i) m_arrObservers.GetAt(i)->OnPaintManagerChanged();
}

void CKLVTabPainter::RefreshMetrics() {
    if (m_bUseStandardFont) {
        LOGFONTA lf = {};
        if (::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0)) SetFontIndirect(&lf, TRUE);
    }
    m_pColorSet->RefreshMetrics();
    m_pAppearanceSet->RefreshMetrics();
}

void CKLVTabPainter::SetFontIndirect(const LOGFONTA* pLogFont, BOOL bUseStandardFont) {
    m_bUseStandardFont = bUseStandardFont;
    if (!pLogFont) return;
    LOGFONTA lf = *pLogFont;
    if (m_bClearTypeText) lf.lfQuality = CLEARTYPE_QUALITY;
    m_fntNormal.DeleteObject();
    m_fntBold.DeleteObject();
    m_fntVerticalNormal.DeleteObject();
    m_fntVerticalBold.DeleteObject();

    const LONG nNormalWeight = m_bBoldNormal ? FW_BOLD : FW_NORMAL;
    lf.lfWeight = nNormalWeight;
    m_fntNormal.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fntBold.CreateFontIndirect(&lf);

    // Vertical captions run top to bottom; below 11 pixels they become unreadable.
    lstrcpynA(lf.lfFaceName, CKLVDrawHelpers::GetDefaultFontName(), LF_FACESIZE);
    lf.lfEscapement = 2700;
    lf.lfOrientation = 900;
    if (lf.lfHeight < 0 && lf.lfHeight > -11) lf.lfHeight = -11;
    lf.lfWeight = nNormalWeight;
    m_fntVerticalNormal.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fntVerticalBold.CreateFontIndirect(&lf);
}

BOOL CKLVTabPainter::IsLunaColorsDisabled() const {
    return m_bDisableLunaColors || GetColorManager()->IsLunaColorsDisabled();
}

COLORREF CKLVTabPainter::GetPresetItemColor(COLORREF clrCode) {
    if (clrCode >= COLORREF(nPresetColorFirst) && clrCode < COLORREF(nPresetColorFirst + nPresetColorCount))
        return kPresetColors[clrCode - nPresetColorFirst];
    return clrCode;
}

void CKLVTabPainter::InflateRectEx(CRect& rc, int nLeft, int nTop, int nRight, int nBottom, int nPosition) {
    switch (nPosition) {
    case positionLeft: rc.left -= nTop; rc.top -= nLeft; rc.right += nBottom; rc.bottom += nRight; break;
    case positionBottom: rc.left -= nLeft; rc.top -= nBottom; rc.right += nRight; rc.bottom += nTop; break;
    case positionRight: rc.left -= nBottom; rc.top -= nLeft; rc.right += nTop; rc.bottom += nRight; break;
    default: rc.left -= nLeft; rc.top -= nTop; rc.right += nRight; rc.bottom += nBottom; break;
    }
}

void CKLVTabPainter::DrawHorzLine(CDC* pDC, int x, int y, int nWidth, COLORREF clr) {
    if (clr != COLORREF(-1)) pDC->FillSolidRect(x, y, nWidth, 1, clr);
}

void CKLVTabPainter::DrawVertLine(CDC* pDC, int x, int y, int nHeight, COLORREF clr) {
    if (clr != COLORREF(-1)) pDC->FillSolidRect(x, y, 1, nHeight, clr);
}

void CKLVTabPainter::DrawLine(CDC* pDC, COLORREF clr, int x1, int y1, int x2, int y2) {
    if (clr == COLORREF(-1)) return;
    CKLVPenDC pen(AfxGetSafeHdc(pDC), clr);
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
}

void CKLVTabPainter::DrawPolyline(CDC* pDC, COLORREF clr, const POINT* pts, int nCount) {
    if (clr == COLORREF(-1) || nCount <= 0) return;
    CKLVPenDC pen(AfxGetSafeHdc(pDC), clr);
    CPoint pt = pts[0];
    pDC->MoveTo(pt);
    for (int i = 1; i < nCount; ++i) {
        pt.Offset(pts[i].x, pts[i].y);
        pDC->LineTo(pt);
    }
}

void CKLVTabPainter::DrawEdgeLine(CDC* pDC, CRect rc, int nPosition, COLORREF clr1, COLORREF clr2) {
    switch (nPosition) {
    case positionTop: DrawHorzLine(pDC, rc.left, rc.top, rc.Width(), clr1); break;
    case positionLeft: DrawVertLine(pDC, rc.left, rc.top, rc.Height(), clr1); break;
    case positionBottom: DrawHorzLine(pDC, rc.left, rc.bottom - 1, rc.Width(), clr2); break;
    case positionRight: DrawVertLine(pDC, rc.right - 1, rc.top, rc.Height(), clr2); break;
    default: break;
    }
}

COLORREF CKLVTabPainter::FillItemPolygon(CDC* pDC, CKLVTabManagerItem* pItem, const POINT* pts, int nCount,
                                         int /*nPosition*/, BOOL bAbsolute) {
    if (nCount < 3) return COLORREF(-1);
    std::vector<POINT> arrPoints(pts, pts + nCount);
    if (!bAbsolute)
        for (int i = 1; i < nCount; ++i) {
            arrPoints[i].x += arrPoints[i - 1].x;
            arrPoints[i].y += arrPoints[i - 1].y;
        }
    CRgn rgn;
    if (!rgn.CreatePolygonRgn(arrPoints.data(), nCount, WINDING)) return COLORREF(-1);
    CRect rcBox;
    ::GetRgnBox(rgn, &rcBox);
    CKLVTabColors* pColors = pItem->GetTabManager()->GetPaintManager()->GetColorSet();

    CDC dcMem;
    CBitmap bmp;
    if (rcBox.IsRectEmpty() || !dcMem.CreateCompatibleDC(pDC) || !bmp.CreateCompatibleBitmap(pDC, rcBox.Width(), rcBox.Height()))
        return COLORREF(-1);
    CKLVObjectDC selectBitmap(&dcMem, &bmp);
    dcMem.SetViewportOrg(-rcBox.left, -rcBox.top);
    const COLORREF clr = pColors->FillItem(&dcMem, rcBox, pItem);
    dcMem.SetViewportOrg(0, 0);

    // Clip regions are in device units.
    const CPoint ptOrigin = pDC->GetViewportOrg();
    ::OffsetRgn(rgn, ptOrigin.x, ptOrigin.y);
    const int nSaved = pDC->SaveDC();
    pDC->SelectClipRgn(&rgn, RGN_AND);
    pDC->BitBlt(rcBox.left, rcBox.top, rcBox.Width(), rcBox.Height(), &dcMem, 0, 0, SRCCOPY);
    pDC->RestoreDC(nSaved);
    return clr;
}
