#include "toolkit/common/MemDC.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"

void CKLVDockingPaneTheme0::DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) {
    DrawCaptionStrip(pDC, pPane, rc, GetColor(COLOR_BTNFACE));
}

void CKLVDockingPaneTheme0::DrawSharedCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) {
    DrawCaptionStrip(pDC, pPane, rc, m_clrSplitter);
}

void CKLVDockingPaneTheme0::DrawCaptionStrip(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc,
                                             COLORREF clrStrip) {
    const BOOL bVertical = pPane->IsCaptionVertical();
    CRect rcStrip = rc;
    AdjustCaptionRect(pPane, rcStrip);
    if (bVertical) rcStrip.SetRect(rc.left, rc.top, rcStrip.left, rc.bottom);
    else rcStrip.SetRect(rc.left, rc.top, rc.right, rcStrip.top);
    pDC->FillSolidRect(&rcStrip, clrStrip);
    const BOOL bActive = m_bHighlightActiveCaption && pPane->IsActive();
    DrawCaptionBar(pDC, pPane, GetCaptionBand(pPane, rc), pPane->GetCaptionText(), bActive, bVertical);
}

void CKLVDockingPaneTheme0::DrawCaptionBar(CDC* pDC, CKLVDockingNode* pOwner, CRect rcCaption,
                                           const CString& strTitle, BOOL bActive, BOOL bVertical) {
    pDC->FillSolidRect(&rcCaption, GetColor(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    CRect rcButtons = rcCaption;
    if (bVertical) rcButtons.bottom -= 2;
    else rcButtons.right -= 2;
    DrawCaptionButtons(pDC, pOwner, rcButtons, GetColor(COLOR_BTNTEXT), 14, 2, bVertical);
    DrawCaptionTitle(pDC, pOwner, rcButtons, strTitle, GetColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT),
                     bVertical);
}

void CKLVDockingPaneTheme0::DrawFloatingFrame(CDC* pDC, CWnd* pFrame, CRect rc) {
    pDC->Draw3dRect(&rc, GetColor(COLOR_BTNFACE), RGB(0, 0, 0));
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(&rc, GetColor(COLOR_3DHIGHLIGHT), GetColor(COLOR_BTNSHADOW));
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(&rc, GetColor(COLOR_BTNFACE), GetColor(COLOR_BTNFACE));
    rc.DeflateRect(1, 1);
    CRect rcBand(rc.left, rc.top, rc.right, rc.top + m_nCaptionHeight + 3);
    CKLMemDC memDC(pDC, rcBand);
    memDC.SetViewportOrg(-rcBand.left, -rcBand.top);
    memDC.FillSolidRect(&rcBand, GetColor(COLOR_BTNFACE));
    rcBand.DeflateRect(1, 2);
    CString strTitle;
    BOOL bActive = FALSE;
    CKLVDockingNode* pOwner = GetFrameCaption(pFrame, strTitle, bActive);
    DrawCaptionBar(&memDC, pOwner, rcBand, strTitle, bActive, FALSE);
}

CKLVDockingNode* CKLVDockingPaneTheme::GetFrameCaption(CWnd* pFrame, CString& strTitle, BOOL& bActive) const {
    strTitle.Empty();
    bActive = FALSE;
    if (AfxGetSafeHwnd(pFrame)) {
        pFrame->GetWindowText(strTitle);
        bActive = m_bHighlightActiveCaption && ::GetActiveWindow() == pFrame->m_hWnd;
    }
    // The frame's own caption buttons take their places on the band.
    return pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CKLVDockingPaneMiniWnd)) ? static_cast<CKLVDockingPaneMiniWnd*>(pFrame)
                                                                             : nullptr;
}
