// The default tab-control theme and the drawing every theme shares: the control's paint, the
// tabs in order with the selected one last, icons, captions and the header's extent.
#include "toolkit/tabs/TabCtrlThemes.h"

#include "classlib/Dc.h"
#include "classlib/TabCtrl.h"
#include "classlib/Wnd.h"
#include "toolkit/common/AuxData.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/tabs/TabCtrlBase.h"
#include "toolkit/tabs/TabCtrlButtons.h"
#include "toolkit/tabs/TabImageTransforms.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

IMPLEMENT_DYNCREATE(CKLTabBaseThemeFactory, CKLThemeManagerStyleFactory)

namespace {

// The edges a page may carry that a theme framing the pages takes away.
constexpr DWORD kPageEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;

using M = KLTabOutlineMark;
constexpr M::Base N = M::edgeNear, F = M::edgeFar;

// The default theme's eight strokes per orientation, unselected then selected.
const M kTopIdle[8] = {{20, M::vertical, N, 0, N, 2, F, -2},   {15, M::vertical, N, 1, N, 2, F, -2},
                       {20, M::pixel, N, 1, N, 1, N, 0},       {20, M::horizontal, N, 2, N, 0, N, -4},
                       {15, M::horizontal, N, 2, N, 1, N, -4}, {21, M::vertical, F, -1, N, 2, F, -2},
                       {16, M::vertical, F, -2, N, 2, F, -2},  {21, M::pixel, F, -2, N, 1, N, 0}};
const M kTopSelected[8] = {{20, M::vertical, N, -2, N, 0, F, 2},   {15, M::vertical, N, -1, N, 0, F, 2},
                           {20, M::pixel, N, -1, N, -1, N, 0},     {20, M::horizontal, N, 0, N, -2, N, 0},
                           {15, M::horizontal, N, 0, N, -1, N, 0}, {21, M::vertical, F, 1, N, 0, F, 0},
                           {16, M::vertical, F, 0, N, 0, F, 0},    {21, M::pixel, F, 0, N, -1, N, 0}};
const M kBottomIdle[8] = {{20, M::vertical, N, 0, N, 0, F, -2},   {15, M::vertical, N, 1, N, 0, F, -2},
                          {20, M::pixel, N, 1, F, -2, N, 0},      {21, M::horizontal, N, 2, F, -1, N, -4},
                          {16, M::horizontal, N, 2, F, -2, N, -4}, {21, M::vertical, F, -1, N, -1, F, -1},
                          {16, M::vertical, F, -2, N, -1, F, -1}, {21, M::pixel, F, -2, F, -2, N, 0}};
const M kBottomSelected[8] = {{20, M::vertical, N, -2, N, -2, F, 2}, {15, M::vertical, N, -1, N, -2, F, 2},
                              {20, M::pixel, N, -1, F, 0, N, 0},      {21, M::horizontal, N, 0, F, 1, N, 0},
                              {16, M::horizontal, N, 0, F, 0, N, 0},  {21, M::vertical, F, 1, N, -1, F, 1},
                              {16, M::vertical, F, 0, N, -1, F, 1},   {21, M::pixel, F, 0, F, 0, N, 0}};
const M kLeftIdle[8] = {{20, M::horizontal, N, 2, N, 0, N, -1}, {15, M::horizontal, N, 2, N, 1, N, -2},
                        {20, M::pixel, N, 1, N, 1, N, 0},       {20, M::vertical, N, 0, N, 2, F, -4},
                        {15, M::vertical, N, 1, N, 2, F, -4},   {16, M::horizontal, N, 1, F, -2, N, -1},
                        {21, M::horizontal, N, 2, F, -1, N, -2}, {21, M::pixel, N, 1, F, -2, N, 0}};
const M kLeftSelected[8] = {{20, M::horizontal, N, 0, N, -2, N, 1}, {15, M::horizontal, N, 0, N, -1, N, 1},
                            {20, M::pixel, N, -1, N, -1, N, 0},     {20, M::vertical, N, -2, N, 0, F, 0},
                            {15, M::vertical, N, -1, N, 0, F, 0},   {16, M::horizontal, N, -1, F, 0, N, 1},
                            {21, M::horizontal, N, 0, F, 1, N, 0},  {21, M::pixel, N, -1, F, 0, N, 0}};
const M kRightIdle[8] = {{20, M::horizontal, N, 0, N, 0, N, -2},  {15, M::horizontal, N, 0, N, 1, N, -2},
                         {20, M::pixel, F, -2, N, 1, N, 0},       {21, M::vertical, F, -1, N, 2, F, -4},
                         {16, M::vertical, F, -2, N, 2, F, -4},   {16, M::horizontal, N, 0, F, -2, N, -2},
                         {21, M::horizontal, N, 0, F, -1, N, -2}, {21, M::pixel, F, -2, F, -2, N, 0}};
const M kRightSelected[8] = {{20, M::horizontal, N, -2, N, -2, N, 2}, {15, M::horizontal, N, -2, N, -1, N, 1},
                             {20, M::pixel, F, 0, N, -1, N, 0},       {21, M::vertical, F, 1, N, 0, F, 0},
                             {16, M::vertical, F, 0, N, 0, F, 0},     {16, M::horizontal, N, -1, F, 0, N, 2},
                             {21, M::horizontal, N, -1, F, 1, N, 1},  {21, M::pixel, F, 0, F, 0, N, 0}};

COLORREF Resolve(const CKLVColorValue& clr) { return GetColorManager()->GetColor(COLORREF(clr)); }

LRESULT Send(CTabCtrl* pTabCtrl, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageA(pTabCtrl->GetSafeHwnd(), message, wParam, lParam);
}

// The item's rectangle; empty (never left unset) when the control has no such item.
CRect ItemRect(CTabCtrl* pTabCtrl, int nIndex) {
    CRect rc(0, 0, 0, 0);
    if (!Send(pTabCtrl, TCM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rc)))
        rc.SetRectEmpty();
    return rc;
}


}  // namespace

CKLThemeManagerStyle* CKLTabBaseThemeFactory::CreateTheme(int nTheme) {
    CKLTabBaseTheme* pTheme = nTheme == 1   ? new CKLTabFlatTheme
                              : nTheme == 2 ? new CKLTabGradientTheme
                                            : new CKLTabBaseTheme;
    pTheme->m_nTheme = nTheme;
    return pTheme;
}

int CKLTabBaseTheme::GetOrientation(const CWnd* pTabCtrl) {
    return static_cast<int>(pTabCtrl->GetStyle() & (TCS_VERTICAL | TCS_BOTTOM));
}

const KLTabOutlineMark* CKLTabBaseTheme::GetOutline(int nOrientation, BOOL bSelected, int* pnCount) {
    *pnCount = 8;
    switch (nOrientation) {
    case tabsBottom: return bSelected ? kBottomSelected : kBottomIdle;
    case tabsLeft: return bSelected ? kLeftSelected : kLeftIdle;
    case tabsRight: return bSelected ? kRightSelected : kRightIdle;
    default: return bSelected ? kTopSelected : kTopIdle;
    }
}

CRect CKLTabBaseTheme::GetSelectedFillRect(int nOrientation, CRect rc) {
    switch (nOrientation) {
    case tabsLeft: return CRect(rc.left - 2, rc.top - 2, rc.right + 1, rc.bottom + 1);
    case tabsRight: return CRect(rc.left - 2, rc.top - 2, rc.right + 1, rc.bottom + 2);
    default: return CRect(rc.left - 2, rc.top - 2, rc.right + 2, rc.bottom + 1);
    }
}

void CKLTabBaseTheme::PreparePage(const CKLTabCtrlItem& page) {
    SetPageBorders(page.pWnd, page.dwSavedStyle & WS_BORDER, page.dwSavedExStyle & kPageEdges);
}

void CKLTabBaseTheme::SetPageBorders(CWnd* pPage, DWORD dwBorder, DWORD dwExEdges) {
    if (!pPage || !pPage->GetSafeHwnd()) return;
    pPage->ModifyStyle(WS_BORDER, dwBorder);
    pPage->ModifyStyleEx(kPageEdges, dwExEdges);
    pPage->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void CKLTabBaseTheme::RefreshMetrics() {
    m_clrText.SetStandardValue(COLOR_BTNTEXT);
    m_clrSelectedText.SetStandardValue(COLOR_BTNTEXT);
    m_nEdge = ::GetSystemMetrics(SM_CXEDGE);
    m_themeTab.CloseThemeData();
    m_themeTab.OpenThemeData(nullptr, L"TAB");
}

COLORREF CKLTabBaseTheme::GetBackColor() const { return GetColorManager()->GetColor(COLOR_3DFACE); }

BOOL CKLTabBaseTheme::IsVisualStyleDrawn() const {
    return m_bUseVisualStyles && CKLVWinThemeWrapper::IsComCtlThemed();
}

void CKLTabBaseTheme::DrawMarks(CDC* pDC, CRect rc, const KLTabOutlineMark* pMarks, int nCount,
                                COLORREF clrBorder) const {
    for (int i = 0; i < nCount; ++i) {
        const KLTabOutlineMark& m = pMarks[i];
        const COLORREF clr = m.nColor < 0 ? clrBorder : GetColorManager()->GetColor(m.nColor);
        if (clr == COLORREF(-1)) continue;
        const int x = (m.xBase == M::edgeNear ? rc.left : rc.right) + m.dx;
        const int y = (m.yBase == M::edgeNear ? rc.top : rc.bottom) + m.dy;
        const int n = (m.lengthBase == M::edgeNear ? rc.Width() : rc.Height()) + m.dLength;
        switch (m.kind) {
        case M::horizontal: pDC->FillSolidRect(x, y, n, 1, clr); break;
        case M::vertical: pDC->FillSolidRect(x, y, 1, n, clr); break;
        default: pDC->SetPixel(x, y, clr); break;
        }
    }
}

BOOL CKLTabBaseTheme::Paint(CDC* pDC, CKLTabCtrlBase* pTabCtrlBase) {
    CTabCtrl* pTabCtrl = pTabCtrlBase->GetTabCtrl();
        CRect rcClient;
    pTabCtrl->GetClientRect(&rcClient);
    pDC->FillSolidRect(&rcClient, GetBackColor());
    const int nOrientation = GetOrientation(pTabCtrl);
    const BOOL bThemed = m_themeTab.GetThemeHandle() && m_themeTab.IsAppThemed();
    if ((m_nTheme == 0 && (nOrientation == tabsTop || !bThemed)) || m_bSystemDrawn) {
        UpdateButtons(pTabCtrlBase);
        return FALSE;
    }
    DrawBorders(pDC, rcClient);
    const int nSelected = static_cast<int>(Send(pTabCtrl, TCM_GETCURSEL));
    if (Send(pTabCtrl, TCM_GETITEMCOUNT) > 0) {
        FillHeader(pDC, pTabCtrl, GetHeaderRect(pTabCtrl));
        for (int i = 0; i < Send(pTabCtrl, TCM_GETITEMCOUNT); ++i) DrawItem(pDC, pTabCtrl, i);
        // The selected tab once more, over its neighbours; nothing when no tab is selected.
        if (nSelected >= 0) DrawItem(pDC, pTabCtrl, nSelected);
        UpdateButtons(pTabCtrlBase);
        DrawPagesFrame(pDC, pTabCtrlBase);
        return TRUE;
    }
    UpdateButtons(pTabCtrlBase);
    return TRUE;
}

void CKLTabBaseTheme::DrawPagesFrame(CDC* pDC, CKLTabCtrlBase* pTabCtrlBase) {
    if (!IsDrawingPageFrame()) return;
    CRect rcPages;
    pTabCtrlBase->GetChildRect(rcPages);
    // No selection, no page area: nothing to frame.
    if (rcPages.IsRectEmpty()) return;
    rcPages.InflateRect(1, 1);
    DrawFrame(pDC, rcPages);
}

void CKLTabBaseTheme::UpdateButtons(CKLTabCtrlBase* pTabCtrlBase) {
    CKLTabCtrlButtons* pButtons = pTabCtrlBase->GetButtons();
    CTabCtrl* pTabCtrl = pTabCtrlBase->GetTabCtrl();
    if (!pButtons || !pTabCtrl || !pTabCtrl->GetSafeHwnd()) return;
    pButtons->Create(::GetDlgItem(pTabCtrl->GetSafeHwnd(), 1));
    const DWORD dwStyle = pTabCtrl->GetStyle();
    pButtons->Show(m_nTheme != 0 && !(dwStyle & (TCS_VERTICAL | TCS_MULTILINE)) && !pTabCtrlBase->m_bNoButtons);
}

void CKLTabBaseTheme::DrawItem(CDC* pDC, CTabCtrl* pTabCtrl, int nIndex) {
    const BOOL bSelected = nIndex == static_cast<int>(Send(pTabCtrl, TCM_GETCURSEL));
    CRect rc = ItemRect(pTabCtrl, nIndex);
    if (rc.IsRectEmpty()) return;
    DrawTab(pDC, pTabCtrl, rc, bSelected);
    DrawTabIcon(pDC, pTabCtrl, rc, nIndex);
    DrawTabText(pDC, pTabCtrl, rc, nIndex, bSelected);
}

CRect CKLTabBaseTheme::GetHeaderRect(CTabCtrl* pTabCtrl) {
    CRect rc;
    pTabCtrl->GetClientRect(&rc);
    const int nSelected = static_cast<int>(Send(pTabCtrl, TCM_GETCURSEL));
    if (nSelected < 0) return rc;   // nothing selected: no tab to cut the header at
    const CRect rcItem = ItemRect(pTabCtrl, nSelected);
    const int nRows = std::max<int>(1, static_cast<int>(Send(pTabCtrl, TCM_GETROWCOUNT)));
    switch (GetOrientation(pTabCtrl)) {
    case tabsRight: rc.left = rcItem.left; break;
    case tabsLeft: rc.right = rcItem.right; break;
    case tabsBottom: rc.top = rcItem.top; break;
    default: rc.bottom = (rcItem.Height() + rc.top) * nRows + m_nEdge; break;
    }
    return rc;
}

void CKLTabBaseTheme::DrawBorders(CDC* pDC, CRect rc) {
    if (IsVisualStyleDrawn()) return;
    CKLVColorManager* pColors = GetColorManager();
    pDC->Draw3dRect(&rc, pColors->GetColor(COLOR_3DHIGHLIGHT), pColors->GetColor(COLOR_3DDKSHADOW));
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(&rc, pColors->GetColor(COLOR_3DFACE), pColors->GetColor(COLOR_3DSHADOW));
}

void CKLTabBaseTheme::FillHeader(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc) {
    pDC->FillSolidRect(&rc, GetBackColor());
    const int nOrientation = GetOrientation(pTabCtrl);
    if (IsVisualStyleDrawn()) {
        CRect rcPane;
        pTabCtrl->GetClientRect(&rcPane);
        m_themeTab.DrawThemeBackground(pDC->GetSafeHdc(), 9, 0, &rcPane, nullptr);
        return;
    }
    CKLVColorManager* pColors = GetColorManager();
    switch (nOrientation) {
    case tabsRight:
        pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), pColors->GetColor(COLOR_3DSHADOW));
        pDC->FillSolidRect(rc.left + 1, rc.top, 1, rc.Height(), pColors->GetColor(COLOR_3DDKSHADOW));
        break;
    case tabsLeft: pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), pColors->GetColor(COLOR_3DHIGHLIGHT)); break;
    case tabsBottom:
        pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, pColors->GetColor(COLOR_3DSHADOW));
        pDC->FillSolidRect(rc.left, rc.top + 1, rc.Width(), 1, pColors->GetColor(COLOR_3DDKSHADOW));
        break;
    default: pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, pColors->GetColor(COLOR_3DHIGHLIGHT)); break;
    }
}

void CKLTabBaseTheme::DrawThemedTab(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc, BOOL bSelected) {
    const int nOrientation = GetOrientation(pTabCtrl);
    const int nState = bSelected ? 3 : 1;
    // The corners cut below stay out of the caller's clip only while this tab draws.
    const int nSavedDC = bSelected ? pDC->SaveDC() : 0;
    if (bSelected) {
        // Grown on its outer sides; its two outer corner pixels stay the background's.
        const CRect rcGrow = nOrientation == tabsTop      ? CRect(2, 2, 2, 0)
                             : nOrientation == tabsBottom ? CRect(2, 0, 2, 2)
                             : nOrientation == tabsLeft   ? CRect(2, 2, 0, 2)
                                                          : CRect(0, 2, 2, 2);
        rc.InflateRect(rcGrow.left, rcGrow.top, rcGrow.right, rcGrow.bottom);
        const int y = nOrientation == tabsBottom ? rc.bottom - 1 : rc.top;
        const int x = nOrientation == tabsRight ? rc.right - 1 : rc.left;
        pDC->ExcludeClipRect(x, y, x + 1, y + 1);
        if (IsHorizontalTabs(nOrientation))
            pDC->ExcludeClipRect(rc.right - 1, y, rc.right, y + 1);
        else
            pDC->ExcludeClipRect(x, rc.bottom - 1, x + 1, rc.bottom);
    }
    switch (nOrientation) {
    case tabsTop: m_themeTab.DrawThemeBackground(pDC->GetSafeHdc(), 1, nState, &rc, nullptr); break;
    case tabsBottom:
        KLVTabImage::DrawTurnedThemePart(pDC, m_themeTab, GetBackColor(), rc, 1, nState, FALSE, &KLVTabImage::FlipVertical);
        break;
    case tabsLeft:
        KLVTabImage::DrawTurnedThemePart(pDC, m_themeTab, GetBackColor(), rc, 1, nState, TRUE,
                                         &KLVTabImage::TransposeReverse);
        break;
    default:
        KLVTabImage::DrawTurnedThemePart(pDC, m_themeTab, GetBackColor(), rc, 1, nState, TRUE, &KLVTabImage::Transpose);
        break;
    }
    if (bSelected) pDC->RestoreDC(nSavedDC);
}

void CKLTabBaseTheme::DrawTab(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc, BOOL bSelected) {
    if (IsVisualStyleDrawn()) {
        DrawThemedTab(pDC, pTabCtrl, rc, bSelected);
        return;
    }
    const int nOrientation = GetOrientation(pTabCtrl);
    pDC->FillSolidRect(bSelected ? GetSelectedFillRect(nOrientation, rc) : rc, GetBackColor());
    int nCount = 0;
    const KLTabOutlineMark* pMarks = GetOutline(nOrientation, bSelected, &nCount);
    DrawMarks(pDC, rc, pMarks, nCount, COLORREF(-1));
}

CPoint CKLTabBaseTheme::GetIconOrigin(CRect rc, int nOrientation) const {
    switch (nOrientation) {
    case tabsBottom: return CPoint(rc.left + 2 * m_nEdge, rc.top + 1);
    case tabsLeft: return CPoint(rc.left + m_nEdge, rc.top + 2 * m_nEdge);
    case tabsRight: return CPoint(rc.left + 1, rc.top + 2 * m_nEdge);
    default: return CPoint(rc.left + 2 * m_nEdge, rc.top + m_nEdge);
    }
}

void CKLTabBaseTheme::DrawTabIcon(CDC* pDC, CTabCtrl* pTabCtrl, CRect& rc, int nIndex) {
    HIMAGELIST hImages = reinterpret_cast<HIMAGELIST>(Send(pTabCtrl, TCM_GETIMAGELIST));
    if (!hImages) return;
    TCITEMA item = {};
    item.mask = TCIF_IMAGE;
    if (!Send(pTabCtrl, TCM_GETITEMA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&item)) || item.iImage < 0)
        return;
    const int nOrientation = GetOrientation(pTabCtrl);
    const CPoint pt = GetIconOrigin(rc, nOrientation);
    ::ImageList_Draw(hImages, item.iImage, pDC->GetSafeHdc(), pt.x, pt.y, ILD_TRANSPARENT);
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(hImages, &cx, &cy);
    if (IsHorizontalTabs(nOrientation))
        rc.left += cx + m_nEdge;
    else
        rc.top += cy + m_nEdge;
}

void CKLTabBaseTheme::DrawTabText(CDC* pDC, CTabCtrl* pTabCtrl, CRect rc, int nIndex, BOOL bSelected) {
    char szText[256] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = szText;
    item.cchTextMax = static_cast<int>(std::size(szText));
    if (!Send(pTabCtrl, TCM_GETITEMA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&item)) || !szText[0])
        return;
    const int nOrientation = GetOrientation(pTabCtrl);
    const BOOL bHorizontal = IsHorizontalTabs(nOrientation);
    CKLVAuxData* pData = KLVAuxData();
    CFont* pFont = bHorizontal ? (bSelected ? &pData->fontBold : &pData->font)
                               : (bSelected ? &pData->fontVertBold : &pData->fontVert);
    CKLVFontDC font(pDC, pFont, Resolve(bSelected ? m_clrSelectedText : m_clrText));
    pDC->SetBkMode(TRANSPARENT);
    if (bHorizontal) {
        pDC->DrawText(szText, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        return;
    }
    const CSize sz = pDC->GetTextExtent(szText);
    rc.left = rc.right - ((rc.Width() - sz.cy) + 1) / 2;
    rc.top += ((rc.Height() - sz.cx) + 1) / 2;
    pDC->DrawText(szText, -1, &rc, DT_SINGLELINE | DT_NOCLIP);
}
