// Theme 6's ribbon tab row: the tab faces from the skin, the row's own tab paint manager, its
// fonts and its text colours.
#include "toolkit/themes/PaintManagerTheme6.h"

#include "toolkit/themes/RibbonContextTab.h"
#include "toolkit/themes/TabStyleRibbon.h"
#include "toolkit/themes/ThemeResourceImage.h"
#include "toolkit/tabs/TabColors.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabManagerItem.h"
#include "toolkit/tabs/TabPainter.h"

namespace {

const int kRibbonTabParts = 6;
const int kContextTabParts = 5;
const CRect kRibbonTabMargins(5, 5, 5, 5);

// A tab squeezed below what its caption and the row's extra length ask for.
BOOL IsCompressed(CKLVTabManagerItem* pItem) {
    CKLVTabManager* pManager = pItem->GetTabManager();
    const int nExtra = pManager ? pManager->GetPaintManager()->m_nFixedItemExtra : 0;
    return pItem->m_nLength < pItem->m_nContentLength + nExtra;
}

}  // namespace

int CKLVPaintManagerTheme6::RibbonTabPart(BOOL bHot, BOOL bSelected, BOOL bPressed, BOOL bRowFocused) {
    if (bHot && bRowFocused) return 5;
    if (bHot) return bSelected ? 4 : 3;
    if (bPressed) return 2;
    return bSelected ? 1 : -1;
}

int CKLVPaintManagerTheme6::ContextTabPart(BOOL bHot, BOOL bSelected, BOOL bRowFocused) {
    if (bHot) return !bRowFocused && !bSelected ? 3 : 4;
    return bSelected ? 1 : -1;
}

void CKLVPaintManagerTheme6::DrawRibbonTab(CDC* pDC, CKLVTabManagerItem* pItem) {
    CKLVTabManager* pManager = pItem->GetTabManager();
    const BOOL bFocused = pManager && pManager->IsFocused();
    const auto* pContext = dynamic_cast<const CKLVRibbonContextTab*>(pItem);
    const int nColor = pContext ? pContext->GetContextColor() : 0;
    const CRect rc = pItem->GetRect();
    if (nColor) {
        const int nPart = ContextTabPart(pItem->IsHot(), pItem->IsSelected(), bFocused);
        const CString strImage = KLVContextImageName("CONTEXTTAB%s", nColor);
        if (nPart >= 0) KLVDrawSkinPart(pDC, {strImage, nPart, kContextTabParts}, rc, kRibbonTabMargins);
    } else {
        const int nPart = RibbonTabPart(pItem->IsHot(), pItem->IsSelected(), pItem->IsPressed(), bFocused);
        if (nPart >= 0) KLVDrawSkinPart(pDC, {"RIBBONTAB", nPart, kRibbonTabParts}, rc, kRibbonTabMargins, skinKeyed);
    }
    if (IsCompressed(pItem)) KLVDrawSkinPart(pDC, {"RIBBONTABSEPARATOR", 0, 1}, CRect(rc.right, rc.top, rc.right + 1, rc.bottom));
    // A context's run is closed at its outer edges, one pixel short of the tab's height.
    const KLVSkinPart edge = {"CONTEXTTABSEPARATOR", 0, 1};
    if (nColor && pContext->IsContextStart()) KLVDrawSkinPart(pDC, edge, CRect(rc.left - 1, rc.top, rc.left, rc.bottom - 1));
    if (nColor && pContext->IsContextEnd()) KLVDrawSkinPart(pDC, edge, CRect(rc.right, rc.top, rc.right + 1, rc.bottom - 1));
}

CKLVTabPainter* CKLVPaintManagerTheme6::CreateRibbonTabPainter() { return KLVCreateRibbonTabPainter(this); }

void CKLVPaintManagerTheme6::RefreshRibbonTabPainter(const LOGFONTA& lf) {
    if (!m_pRibbonTabPainter) return;
    m_pRibbonTabPainter->SetFontIndirect(&lf);
    m_pRibbonTabPainter->RefreshMetrics();
}

void CKLVPaintManagerTheme6::ReadRibbonTabColors() {
    if (!m_pRibbonTabPainter) return;
    CKLVTabColors* pColors = m_pRibbonTabPainter->GetColorSet();
    ReadColor("Ribbon", "TabNormalText", pColors->clrNormalText);
    ReadColor("Ribbon", "TabNormalText", pColors->clrHotText);
    ReadColor("Ribbon", "TabSelectedText", pColors->clrSelectedText);
}
