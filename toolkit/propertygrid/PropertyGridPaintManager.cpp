#include "toolkit/propertygrid/PropertyGridPaintManager.h"

#include "classlib/WinApp.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridInplace.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridThemes.h"
#include "toolkit/propertygrid/PropertyGridView.h"

#include <algorithm>

void CKLVPropertyGridItemMetrics::ResetColors() {
    for (CKLVColorValue* pColor : {&m_clrHelpBack, &m_clrHelpFore, &m_clrLine, &m_clrFore, &m_clrCategoryFore, &m_clrBack,
                                   &m_clrReadOnlyFore, &m_clrVerbFace})
        pColor->SetCustomValue(COLORREF(-1));
}

void KLVPropertyGridLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF clr) {
    CKLVPenDC pen(pDC->GetSafeHdc(), clr);
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
}

CKLVPropertyGridPaintManager::CKLVPropertyGridPaintManager(CKLVPropertyGrid* pGrid)
    : m_pGrid(pGrid), m_pMetrics(new CKLVPropertyGridItemMetrics(this)) {
    LOGFONTA lf = {};
    ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0);
    lf.lfWeight = FW_NORMAL;
    lf.lfItalic = FALSE;
    m_fntVerbNormal.CreateFontIndirect(&lf);
    lf.lfUnderline = TRUE;
    m_fntVerbUnderline.CreateFontIndirect(&lf);
}

CKLVPropertyGridPaintManager::~CKLVPropertyGridPaintManager() {
    m_themeTree.CloseThemeData();
    m_themeButton.CloseThemeData();
    m_themeCombo.CloseThemeData();
    if (m_pMetrics) m_pMetrics->InternalRelease();
}

CKLVPropertyGridPaintManager* CKLVPropertyGridPaintManager::CreateTheme(CKLVPropertyGrid* pGrid, int nTheme) {
    switch (nTheme) {
    case 0: return new CKLVPropertyGridPaintManager(pGrid);
    case 1: return new CKLVPropertyGridSchemeBorderTheme(pGrid);
    case 2: return new CKLVPropertyGridSchemeFaceTheme(pGrid);
    case 3: return new CKLVPropertyGridGroupedTheme(pGrid);
    case 4: return new CKLVPropertyGridListTheme(pGrid);
    case 5: return new CKLVPropertyGridSheetTheme(pGrid);
    case 6: return new CKLVPropertyGridFlatGlyphTheme(pGrid);
    case 7: return new CKLVPropertyGridToolkitColorTheme(pGrid);
    default: return nullptr;
    }
}

void CKLVPropertyGridPaintManager::SetMetrics(CKLVPropertyGridItemMetrics* pMetrics) {
    if (pMetrics == m_pMetrics) return;
    pMetrics->InternalAddRef();
    m_pMetrics->InternalRelease();
    m_pMetrics = pMetrics;
    m_pMetrics->m_pPaintManager = this;
}

void CKLVPropertyGridPaintManager::RefreshMetrics() {
    RefreshColors();
    CKLVColorManager* pColors = GetColorManager();
    m_clrFace = pColors->GetColor(COLOR_3DFACE);
    m_clrShadow = pColors->GetColor(COLOR_3DSHADOW);
    CKLVPropertyGridItemMetrics& m = *m_pMetrics;
    m.m_clrHelpBack.SetStandardValue(m_clrFace);
    m.m_clrHelpFore.SetStandardValue(pColors->GetColor(COLOR_BTNTEXT));
    m.m_clrLine.SetStandardValue(::GetSysColor(COLOR_SCROLLBAR));
    m.m_clrFore.SetStandardValue(pColors->GetColor(COLOR_WINDOWTEXT));
    m.m_clrCategoryFore.SetStandardValue(pColors->GetColor(COLOR_GRAYTEXT));
    m.m_clrBack.SetStandardValue(pColors->GetColor(COLOR_WINDOW));
    m.m_clrReadOnlyFore.SetStandardValue(pColors->GetColor(COLOR_GRAYTEXT));
    m.m_clrVerbFace.SetStandardValue(pColors->GetColor(COLOR_ACTIVECAPTION));

    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hWnd = m_themeButton.IsAppThemed() ? AfxGetSafeHwnd(pMainWnd) : nullptr;
    m_themeTree.OpenThemeData(hWnd, L"TREEVIEW");
    m_themeButton.OpenThemeData(hWnd, L"BUTTON");
    m_themeCombo.OpenThemeData(hWnd, L"COMBOBOX");
}

COLORREF CKLVPropertyGridPaintManager::GetItemTextColor(CKLVPropertyGridItem* pItem, BOOL bValuePart) {
    if (!pItem) return m_pMetrics->m_clrFore;
    CKLVPropertyGridItemMetrics* pMetrics = pItem->GetMetrics(bValuePart, FALSE);
    if (pMetrics && !pMetrics->m_clrFore.IsUnset()) return pMetrics->m_clrFore;
    if (pItem->IsCategory()) return m_pMetrics->m_clrCategoryFore;
    return pItem->GetReadOnly() ? m_pMetrics->m_clrReadOnlyFore : m_pMetrics->m_clrFore;
}

COLORREF CKLVPropertyGridPaintManager::GetItemBackColor(CKLVPropertyGridItem* pItem, BOOL bValuePart) {
    CKLVPropertyGridItemMetrics* pMetrics = pItem ? pItem->GetMetrics(bValuePart, FALSE) : nullptr;
    if (pMetrics && !pMetrics->m_clrBack.IsUnset()) return pMetrics->m_clrBack;
    return m_pMetrics->m_clrBack;
}

CFont* CKLVPropertyGridPaintManager::GetItemFont(CKLVPropertyGridItem* pItem, BOOL bValuePart) {
    if (!pItem) return &m_pMetrics->m_fntNormal;
    CKLVPropertyGridItemMetrics* pMetrics = pItem->GetMetrics(bValuePart, FALSE);
    if (pMetrics && pMetrics->m_fntNormal.GetSafeHandle()) return &pMetrics->m_fntNormal;
    if (pItem->IsCategory()) return &m_pMetrics->m_fntBold;
    if (bValuePart && m_pGrid->m_bHighlightChangedItems && pItem->IsValueChanged()) return &m_pMetrics->m_fntBold;
    return &m_pMetrics->m_fntNormal;
}

void CKLVPropertyGridPaintManager::FillPropertyGridView(CDC* pDC) {
    if (!m_pGrid->HasGridView()) return;
    CRect rc;
    m_pGrid->GetGridView().GetClientRect(&rc);
    pDC->FillSolidRect(&rc, m_pMetrics->m_clrBack);
}

int CKLVPropertyGridPaintManager::DrawBorder(CDC* pDC, CRect& rc, BOOL bDeflate) {
    CKLVColorManager* pColors = GetColorManager();
    int nWidth = 0;
    switch (m_pGrid->m_nBorderStyle) {
    case 1:
        if (!bDeflate) pDC->Draw3dRect(&rc, pColors->GetColor(COLOR_WINDOWFRAME), pColors->GetColor(COLOR_WINDOWFRAME));
        nWidth = 1;
        break;
    case 2:
        if (!bDeflate) pDC->Draw3dRect(&rc, m_clrShadow, m_clrShadow);
        nWidth = 1;
        break;
    case 3:
        if (!bDeflate) {
            pDC->Draw3dRect(&rc, pColors->GetColor(COLOR_3DSHADOW), pColors->GetColor(COLOR_3DHIGHLIGHT));
            CRect rcInner = rc;
            rcInner.DeflateRect(1, 1);
            pDC->Draw3dRect(&rcInner, pColors->GetColor(COLOR_3DDKSHADOW), pColors->GetColor(COLOR_3DFACE));
        }
        nWidth = 2;
        break;
    default: break;
    }
    if (!bDeflate) return 0;
    rc.DeflateRect(nWidth, nWidth);
    return nWidth;
}

void CKLVPropertyGridPaintManager::MeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct) {
    auto* pItem = reinterpret_cast<CKLVPropertyGridItem*>(lpMeasureItemStruct->itemData);
    if (pItem && pItem->GetGridView() && pItem->GetGridView()->IsVariableHeight()) pItem->OnMeasureItem(lpMeasureItemStruct);
}

void CKLVPropertyGridPaintManager::DrawImageAndShift(CDC* pDC, int nImage, int x, CRect& rc) {
    if (nImage < 0) return;
    CKLVImageManagerIcon* pIcon = m_pGrid->GetImageManager()->GetImage(static_cast<UINT>(nImage), 0);
    if (!pIcon) return;
    if (pDC) {
        const int nHeight = std::min(pIcon->GetHeight(), static_cast<int>(rc.Height()));
        pIcon->DrawScaled(pDC, CPoint(x, rc.top + (rc.Height() - nHeight) / 2), CSize(pIcon->GetWidth(), nHeight));
    }
    rc.left += pIcon->GetWidth() + 5;
}

void CKLVPropertyGridPaintManager::ShiftForValueImage(CKLVPropertyGridItem* pItem, CRect& rc) {
    if (CKLVPropertyGridItemMetrics* pMetrics = pItem->GetMetrics(TRUE, FALSE))
        DrawImageAndShift(nullptr, pMetrics->m_nImage, rc.left, rc);
}

void CKLVPropertyGridPaintManager::ShiftForCaptionImage(CKLVPropertyGridItem* pItem, CRect& rc) {
    if (CKLVPropertyGridItemMetrics* pMetrics = pItem->GetMetrics(FALSE, FALSE))
        DrawImageAndShift(nullptr, pMetrics->m_nImage, rc.left, rc);
}

BOOL CKLVPropertyGridPaintManager::IsViewFocused(CKLVPropertyGridView* pView, CKLVPropertyGridItem* pItem, BOOL bOwned) {
    HWND hFocus = ::GetFocus();
    HWND hView = AfxGetSafeHwnd(pView);
    if (!hFocus || !hView) return FALSE;
    if (hFocus == hView || ::GetParent(hFocus) == hView) return TRUE;
    if (bOwned) return ::GetWindow(hFocus, GW_OWNER) == hView;
    return pItem && hFocus == pItem->GetInplaceEdit().GetSafeHwnd();
}

BOOL CKLVPropertyGridPaintManager::ThemedButtonsUsable() const {
    return m_nVisualStyle == styleThemed && CKLVWinThemeWrapper::IsThemeActive() && m_themeButton.GetThemeHandle() &&
           m_themeCombo.GetThemeHandle();
}
