// The flat and gradient tab-control themes: borderless pages framed by the theme, flat or
// gradient tab rows and their outlines.
#include "toolkit/tabs/TabCtrlThemes.h"

#include "classlib/Dc.h"
#include "classlib/TabCtrl.h"
#include "classlib/Wnd.h"
#include "toolkit/common/AuxData.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/tabs/TabCtrlButtons.h"

#include <commctrl.h>

#include <utility>

namespace {

using M = KLTabOutlineMark;
constexpr M::Base N = M::edgeNear, F = M::edgeFar;

// Colour 6 is the window frame.
const M kFlatTop[3] = {{20, M::vertical, N, 2, N, 0, F, 1}, {20, M::horizontal, N, 2, N, -1, N, 0},
                       {6, M::vertical, F, 2, N, -1, F, 2}};
const M kFlatBottom[3] = {{20, M::vertical, N, 2, N, 1, F, 0}, {6, M::horizontal, N, 2, F, 0, N, -1},
                          {6, M::vertical, F, 1, N, 1, F, 0}};
const M kFlatLeft[3] = {{20, M::horizontal, N, -1, N, 3, N, 2}, {20, M::vertical, N, -1, N, 3, F, -2},
                        {6, M::horizontal, N, -1, F, 1, N, 2}};
const M kFlatRight[3] = {{20, M::horizontal, N, -1, N, 3, N, 0}, {6, M::vertical, F, -1, N, 3, F, -1},
                         {6, M::horizontal, N, -1, F, 1, N, 0}};
const M kFlatSeparatorTop[1] = {{16, M::vertical, F, 2, N, 2, F, -3}};
const M kFlatSeparatorBottom[1] = {{16, M::vertical, F, 1, N, 2, F, -3}};
const M kFlatSeparatorSide[1] = {{16, M::horizontal, N, 2, F, 3, N, -4}};

// The gradient theme's five border strokes, the same selected or not.
const M kGradientTop[5] = {{-1, M::vertical, N, 0, N, 0, F, 0},   {-1, M::pixel, N, 1, N, -1, N, 0},
                           {-1, M::horizontal, N, 2, N, -2, N, -3}, {-1, M::vertical, F, 0, N, 0, F, 0},
                           {-1, M::pixel, F, -1, N, -1, N, 0}};
const M kGradientBottom[5] = {{-1, M::vertical, N, 0, N, 0, F, 0},   {-1, M::pixel, N, 1, F, 0, N, 0},
                              {-1, M::horizontal, N, 2, F, 1, N, -3}, {-1, M::vertical, F, 0, N, 0, F, 0},
                              {-1, M::pixel, F, -1, F, 0, N, 0}};
const M kGradientLeft[5] = {{-1, M::horizontal, N, 2, N, 0, N, -2}, {-1, M::pixel, N, 1, N, 1, N, 0},
                            {-1, M::vertical, N, 0, N, 2, F, -3},   {-1, M::horizontal, N, 2, F, 0, N, -1},
                            {-1, M::pixel, N, 1, F, -1, N, 0}};
const M kGradientRight[5] = {{-1, M::horizontal, N, 0, N, 0, N, -1}, {-1, M::pixel, F, -1, N, 1, N, 0},
                             {-1, M::vertical, F, 0, N, 2, F, -3},   {-1, M::horizontal, N, 0, F, 0, N, -1},
                             {-1, M::pixel, F, -1, F, -1, N, 0}};

COLORREF Color(int n) { return GetColorManager()->GetColor(n); }
COLORREF Resolve(const CKLVColorValue& clr) { return GetColorManager()->GetColor(COLORREF(clr)); }

struct GradientColumn {
    COLORREF clrHeaderFrom, clrHeaderTo, clrBorder, clrLightBorder, clrNormalFace;
};

const GradientColumn kSchemes[3] = {{0xFADAC4, 0xFEFDFC, 0x9A3500, 0xF1A675, 0xF6C0A2},
                                    {0xE4F1F2, 0xFEFEFC, 0x6B7760, 0x8CC2B0, 0xAADED0},
                                    {0xF7F3F3, 0xFEFEFC, 0x927476, 0xCEB9BA, 0xE6D9D9}};

}  // namespace

void CKLTabFlatTheme::RefreshMetrics() {
    CKLTabBaseTheme::RefreshMetrics();
    m_clrText.SetStandardValue(49);
    m_clrSelectedText.SetStandardValue(COLOR_BTNTEXT);
    m_nEdge *= 2;
}

void CKLTabFlatTheme::PreparePage(const CKLTabCtrlItem& page) { SetPageBorders(page.pWnd, 0, 0); }

CPoint CKLTabFlatTheme::GetIconOrigin(CRect rc, int nOrientation) const {
    switch (nOrientation) {
    case tabsLeft: return CPoint(rc.left + 2, rc.top + 2 * m_nEdge);
    case tabsRight: return CPoint(rc.left + 1, rc.top + 2 * m_nEdge);
    default: return CPoint(rc.left + 2 * m_nEdge, rc.top + m_nEdge / 2);
    }
}

void CKLTabFlatTheme::FillHeader(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc) {
    pDC->FillSolidRect(&rc, Color(48));
    switch (GetOrientation(pTabCtrl)) {
    case tabsRight: pDC->FillSolidRect(rc.left - 1, rc.top, 1, rc.Height(), Color(COLOR_3DHIGHLIGHT)); break;
    case tabsLeft: pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), Color(COLOR_3DHIGHLIGHT)); break;
    case tabsBottom: pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, Color(COLOR_WINDOWFRAME)); break;
    default:
        pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, Color(COLOR_3DFACE));
        pDC->FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 1, Color(COLOR_3DHIGHLIGHT));
        break;
    }
}

void CKLTabFlatTheme::DrawTab(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc, BOOL bSelected) {
    const int nOrientation = GetOrientation(pTabCtrl);
    if (!bSelected) {
        const M* pMark = nOrientation == tabsTop      ? kFlatSeparatorTop
                         : nOrientation == tabsBottom ? kFlatSeparatorBottom
                                                      : kFlatSeparatorSide;
        DrawMarks(pDC, rc, pMark, 1, COLORREF(-1));
        return;
    }
    CRect rcFill;
    const M* pMarks = kFlatTop;
    switch (nOrientation) {
    case tabsBottom: rcFill.SetRect(rc.left + 2, rc.top, rc.right + 1, rc.bottom + 1), pMarks = kFlatBottom; break;
    case tabsLeft: rcFill.SetRect(rc.left - 1, rc.top + 3, rc.right + 1, rc.bottom + 1), pMarks = kFlatLeft; break;
    case tabsRight: rcFill.SetRect(rc.left - 1, rc.top + 3, rc.right - 1, rc.bottom + 1), pMarks = kFlatRight; break;
    default: rcFill.SetRect(rc.left + 2, rc.top - 1, rc.right + 2, rc.bottom + 2); break;
    }
    pDC->FillSolidRect(&rcFill, GetBackColor());
    DrawMarks(pDC, rc, pMarks, 3, COLORREF(-1));
}

void CKLTabFlatTheme::DrawFrame(CDC* pDC, CRect rc) {
    pDC->Draw3dRect(&rc, Color(52), Color(52));
}

void CKLTabGradientTheme::RefreshMetrics() {
    CKLTabFlatTheme::RefreshMetrics();
    const COLORREF clrBack = GetBackColor();
    m_grcHeader.SetStandardValue(clrBack, BlendColors(clrBack, Color(COLOR_WINDOW), 205));
    m_clrLightBorder.SetStandardValue(COLOR_3DSHADOW);
    m_clrHighlight.SetStandardValue(COLOR_3DHIGHLIGHT);
    m_clrBorder.SetStandardValue(COLOR_3DDKSHADOW);
    m_clrSelectedFace.SetStandardValue(36);
    m_clrNormalFace.SetStandardValue(clrBack);
    m_clrText.SetStandardValue(COLOR_BTNTEXT);
    m_clrSelectedText.SetStandardValue(COLOR_BTNTEXT);
    const int nScheme = GetColorManager()->GetCurrentTheme();
    if (nScheme < 1 || nScheme > 3) return;
    const GradientColumn& s = kSchemes[nScheme - 1];
    m_grcHeader.SetStandardValue(s.clrHeaderFrom, s.clrHeaderTo);
    m_clrBorder.SetStandardValue(s.clrBorder);
    m_clrLightBorder.SetStandardValue(s.clrLightBorder);
    m_clrNormalFace.SetStandardValue(s.clrNormalFace);
    m_clrSelectedFace.SetStandardValue(0x73C2FF);
}

COLORREF CKLTabGradientTheme::GetBackColor() const {
    return GetColorManager()->GetColor(COLORREF(GetColorManager()->m_grcGradient[1].m_clrTo));
}

void CKLTabGradientTheme::FillHeader(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc) {
    const int nOrientation = GetOrientation(pTabCtrl);
    COLORREF clrFrom = Resolve(m_grcHeader.m_clrFrom), clrTo = Resolve(m_grcHeader.m_clrTo);
    if (nOrientation == tabsBottom || nOrientation == tabsRight) std::swap(clrFrom, clrTo);
    GetDrawHelpers()->GradientFill(pDC, &rc, clrFrom, clrTo, !IsHorizontalTabs(nOrientation));
    const COLORREF clrBorder = Resolve(m_clrBorder);
    switch (nOrientation) {
    case tabsRight: pDC->FillSolidRect(rc.left - 1, rc.top, 1, rc.Height(), clrBorder); break;
    case tabsLeft: pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), clrBorder); break;
    case tabsBottom: pDC->FillSolidRect(rc.left, rc.top - 1, rc.Width(), 1, clrBorder); break;
    default: pDC->FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 1, clrBorder); break;
    }
}

COLORREF CKLTabGradientTheme::FillTab(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc, BOOL bSelected) {
    const int nOrientation = GetOrientation(pTabCtrl);
    CRect rcFace;
    switch (nOrientation) {
    case tabsBottom: rcFace.SetRect(rc.left + 1, bSelected ? rc.top - 1 : rc.top, rc.right, rc.bottom); break;
    case tabsLeft: rcFace.SetRect(rc.left + 1, rc.top + 1, bSelected ? rc.right + 1 : rc.right, rc.bottom); break;
    case tabsRight: rcFace.SetRect(bSelected ? rc.left - 1 : rc.left, rc.top + 1, rc.right, rc.bottom); break;
    default: rcFace.SetRect(rc.left + 1, rc.top - 1, rc.right, bSelected ? rc.bottom + 1 : rc.bottom); break;
    }
    const COLORREF clrFace = Resolve(bSelected ? m_clrSelectedFace : m_clrNormalFace);
    COLORREF clrFrom = BlendColors(clrFace, 0xFFFFFF, 300), clrTo = clrFace;
    if (nOrientation == tabsBottom || nOrientation == tabsRight) std::swap(clrFrom, clrTo);
    GetDrawHelpers()->GradientFill(pDC, &rcFace, clrFrom, clrTo, !IsHorizontalTabs(nOrientation));
    return clrFace;
}

void CKLTabGradientTheme::DrawTab(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc, BOOL bSelected) {
    const int nOrientation = GetOrientation(pTabCtrl);
    const COLORREF clrFace = FillTab(pDC, pTabCtrl, rc, bSelected);
    const M* pMarks = nOrientation == tabsBottom ? kGradientBottom
                      : nOrientation == tabsLeft ? kGradientLeft
                      : nOrientation == tabsRight ? kGradientRight
                                                  : kGradientTop;
    const COLORREF clrBorder = m_clrBorder.GetCustomColor() != COLORREF(-1) ? m_clrBorder.GetCustomColor()
                                                                           : m_clrBorder.GetStandardColor();
    DrawMarks(pDC, rc, pMarks, 5, clrBorder == COLORREF(-1) ? clrBorder : GetColorManager()->GetColor(clrBorder));
    if (!bSelected || clrFace == COLORREF(-1)) return;
    CRect rcClient;
    pTabCtrl->GetClientRect(&rcClient);
    switch (nOrientation) {
    case tabsBottom: pDC->FillSolidRect(rcClient.left, rc.top - 2, rcClient.Width(), 1, clrFace); break;
    case tabsLeft: pDC->FillSolidRect(rc.right + 1, rcClient.top, 1, rcClient.Height(), clrFace); break;
    case tabsRight: pDC->FillSolidRect(rc.left - 2, rcClient.top, 1, rcClient.Height(), clrFace); break;
    default: pDC->FillSolidRect(rcClient.left, rc.bottom + 1, rcClient.Width(), 1, clrFace); break;
    }
}

void CKLTabGradientTheme::DrawFrame(CDC* pDC, CRect rc) {
    const COLORREF clr = GetColorManager()->GetLunaColor(39);
    pDC->Draw3dRect(&rc, clr, clr);
}

void CKLTabFlatTheme::DrawButton(CDC* pDC, CKLTabCtrlButton* pButton, COLORREF clr) {
    CRect rc = pButton->m_rcButton;
    const BOOL bDisabled = pButton->Has(CKLTabCtrlButton::stateDisabled);
    if (!bDisabled) {
        const COLORREF clrDark = RGB(0, 0, 0), clrLight = ::GetSysColor(COLOR_3DLIGHT);
        if (pButton->Has(CKLTabCtrlButton::statePressed)) {
            pDC->Draw3dRect(&rc, clrDark, clrLight);
            rc.OffsetRect(1, 1);
        } else if (pButton->Has(CKLTabCtrlButton::stateHot)) {
            pDC->Draw3dRect(&rc, clrLight, clrDark);
        }
    }
    // A disabled glyph is only outlined.
    CKLVPenDC pen(pDC->GetSafeHdc(), clr);
    CBrush brush;
    if (!bDisabled) brush.CreateSolidBrush(clr);
    HGDIOBJ hOldBrush = ::SelectObject(pDC->GetSafeHdc(), bDisabled ? ::GetStockObject(NULL_BRUSH) : brush.GetSafeHandle());
    if (pButton->Has(CKLTabCtrlButton::kindClose)) {
        const POINT lines[4][2] = {{{rc.left + 3, rc.top + 3}, {rc.right - 4, rc.bottom - 5}},
                                   {{rc.left + 4, rc.top + 3}, {rc.right - 3, rc.bottom - 5}},
                                   {{rc.left + 3, rc.bottom - 6}, {rc.right - 4, rc.top + 2}},
                                   {{rc.left + 4, rc.bottom - 6}, {rc.right - 3, rc.top + 2}}};
        for (const auto& line : lines) pDC->Polyline(line, 2);
    } else if (pButton->Has(CKLTabCtrlButton::kindLeft)) {
        const POINT pts[3] = {{rc.right - 5, rc.top + 2}, {rc.right - 9, rc.top + 6}, {rc.right - 5, rc.top + 10}};
        pDC->Polygon(pts, 3);
    } else {
        const POINT pts[3] = {{rc.left + 4, rc.top + 2}, {rc.left + 8, rc.top + 6}, {rc.left + 4, rc.top + 10}};
        pDC->Polygon(pts, 3);
    }
    ::SelectObject(pDC->GetSafeHdc(), hOldBrush);
}

COLORREF CKLTabFlatTheme::FillButtonsBackground(CDC* pDC, CWnd* pButtons) {
    CRect rc;
    pButtons->GetClientRect(&rc);
    pDC->FillSolidRect(&rc, Color(48));
    const BOOL bBottom = pButtons->GetParent() && (pButtons->GetParent()->GetStyle() & TCS_BOTTOM);
    pDC->FillSolidRect(rc.left, bBottom ? rc.top : rc.bottom - 1, rc.Width(), 1,
                       Color(bBottom ? COLOR_BTNTEXT : COLOR_3DHIGHLIGHT));
    return Color(49);
}

COLORREF CKLTabGradientTheme::FillButtonsBackground(CDC* pDC, CWnd* pButtons) {
    CRect rc;
    pButtons->GetClientRect(&rc);
    const CWnd* pTabCtrl = pButtons->GetParent();
    const int nOrientation = pTabCtrl ? GetOrientation(pTabCtrl) : tabsTop;
    COLORREF clrFrom = Resolve(m_grcHeader.m_clrFrom), clrTo = Resolve(m_grcHeader.m_clrTo);
    if (nOrientation == tabsBottom) std::swap(clrFrom, clrTo);
    GetDrawHelpers()->GradientFill(pDC, &rc, clrFrom, clrTo, !IsHorizontalTabs(nOrientation));
    return 0;
}
