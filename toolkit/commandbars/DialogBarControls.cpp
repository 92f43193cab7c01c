#include "toolkit/commandbars/DialogBarControls.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/ToolBar.h"

IMPLEMENT_DYNCREATE(CKLVDialogBarCloseButton, CKLVControlMDIButton)
IMPLEMENT_DYNCREATE(CKLVDialogBarCaptionPopup, CKLVControlPopup)

namespace {

// The close glyph of the symbol font.
const char kCloseGlyph[] = "r";

}  // namespace

CKLVDialogBarCloseButton::CKLVDialogBarCloseButton() : CKLVControlMDIButton(CKLVToolBar::idCloseButton) {
    m_dwFlags = closeFlags;
    m_strCaption = kCloseGlyph;
}

void CKLVDialogBarCloseButton::OnExecute() {
    if (m_pParent) m_pParent->SetVisible(FALSE);
}

CKLVDialogBarCaptionPopup::CKLVDialogBarCaptionPopup() { m_dwFlags = popupFlags; }

void CKLVDialogBarCaptionPopup::Draw(CDC* pDC) {
    CKLVPaintManager* pPaintManager = GetPaintManager();
    if (!pPaintManager) return;
    CRect rcText = m_rcControl;
    rcText.left += textIndent;
    COLORREF clrText;
    if (m_bShowArrow) {
        pPaintManager->DrawControlEntry(pDC, this);
        clrText = pPaintManager->GetControlTextColor(this);
        rcText.right -= textGapWithArrow;
        const CPoint ptTip(m_rcControl.right - arrowInset, m_rcControl.CenterPoint().y + 1);
        CKLVPaintManager::DrawTriangle(pDC, ptTip + CPoint(-3, -3), ptTip + CPoint(3, -3), ptTip, clrText);
    } else {
        clrText = pPaintManager->GetThemeColor(COLOR_BTNTEXT);
        rcText.right -= textGapPlain;
    }
    pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(clrText);
    pDC->DrawText(GetCaption(), rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    pDC->SetTextColor(clrOld);
}
