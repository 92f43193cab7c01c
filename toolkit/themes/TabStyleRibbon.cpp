#include "toolkit/themes/TabStyleRibbon.h"

#include "toolkit/themes/PaintManagerTheme6.h"
#include "toolkit/tabs/TabColorsResource.h"
#include "toolkit/tabs/TabManagerItem.h"
#include "toolkit/tabs/TabPainter.h"

namespace {

const int kRibbonTabExtraLength = 21;

// The ribbon's tab row differs from the paint manager's defaults in these options.
void SetRibbonOptions(CKLVTabPainter& painter) {
    painter.m_nToolTipMode = 2;
    painter.m_bBoldSelected = TRUE;
    painter.m_bDisableLunaColors = TRUE;   // the themed colour set leaves the client rectangle alone
    painter.m_rcButtonMargin.SetRect(0, 2, 0, 2);
    painter.m_rcButtonText.SetRect(4, 0, 4, 0);
    painter.m_bFillBackground = FALSE;
    painter.m_bDrawTextEndEllipsis = FALSE;
    painter.m_bDrawTextNoPrefix = FALSE;
    painter.m_bDrawFocusRect = FALSE;
    painter.m_nFixedItemExtra = kRibbonTabExtraLength;
    painter.m_bClearTypeText = TRUE;
    painter.m_bClipHeader = FALSE;
}

}  // namespace

CKLVTabStyleRibbon::CKLVTabStyleRibbon(CKLVPaintManagerTheme6* pTheme) : m_pTheme(pTheme) {
    m_rcHeaderMargin.SetRect(0, 1, 0, 0);
}

int CKLVTabStyleRibbon::GetRowHeight(CKLVTabManager*) { return m_pTheme->m_nRibbonTabHeight + 1; }

void CKLVTabStyleRibbon::DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) {
    m_pTheme->DrawRibbonTab(pDC, pItem);
    DrawContent(pDC, pItem, pItem->GetRect());
}

CKLVTabPainter* KLVCreateRibbonTabPainter(CKLVPaintManagerTheme6* pTheme) {
    auto* pPainter = new CKLVTabPainter;
    pPainter->SetAppearanceSet(new CKLVTabStyleRibbon(pTheme));
    pPainter->SetLayout(CKLVTabPainter::layoutSizeToFit);
    pPainter->SetColorSet(new CKLVTabColorsRibbon);
    SetRibbonOptions(*pPainter);
    return pPainter;
}
