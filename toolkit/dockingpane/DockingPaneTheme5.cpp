#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingPaneThemes.h"
#include "toolkit/tabs/TabColors.h"

CKLVDockingPaneTheme5::CKLVDockingPaneTheme5() {
    m_nCaptionButtonStyle = buttonHighlighted;
    m_nCaptionTextMargin = 2;
    m_bBoldCaption = FALSE;
    m_tabPanel.SetAppearance(8);
    m_tabPanel.SetPosition(CKLVTabPainter::positionTop);
    m_tabAutoHide.SetAppearance(6);
}

BOOL CKLVDockingPaneTheme5::HasClientFrame() const { return m_tabPanel.m_nClientFrame != 2; }

void CKLVDockingPaneTheme5::AdjustCaptionRect(const CKLVDockingPaneTabbedContainer* pPane, CRect& rc) {
    CKLVDockingPaneTheme::AdjustCaptionRect(pPane, rc);
    if (pPane->IsCaptionVertical()) rc.DeflateRect(0, 3, 3, 3);
    else rc.DeflateRect(3, 0, 3, 3);
    if (!pPane->IsCaptionVisible()) rc.top += 3;
    // Room for the frame drawn around a client without tabs.
    if (!pPane->IsTabsVisible() && HasClientFrame()) rc.DeflateRect(1, 1);
}

void CKLVDockingPaneTheme5::DrawTabbedContainer(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) {
    const BOOL bActive = m_bHighlightActiveCaption && pPane->IsActive();
    pDC->FillSolidRect(&rc, GetColor(bActive ? 31 : 30));
    pDC->SetBkMode(TRANSPARENT);
    const BOOL bCaption = pPane->IsCaptionVisible();
    if (bCaption) {
        pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, m_clrSplitter);
        DrawCaption(pDC, pPane, rc);
    }
    CRect rcClient = rc;
    AdjustCaptionRect(pPane, rcClient);
    if (pPane->IsTabsVisible()) {
        m_tabPanel.RepositionTabControl(pPane->GetTabs(), pDC, rcClient);
        m_tabPanel.DrawTabControl(pPane->GetTabs(), pDC, rcClient);
    } else if (HasClientFrame()) {
        CRect rcFrame = rcClient;
        rcFrame.InflateRect(1, 1);
        const COLORREF clrFrame = m_tabPanel.GetColorSet() ? COLORREF(m_tabPanel.GetColorSet()->clrFrameBorder) : 0;
        pDC->Draw3dRect(&rcFrame, clrFrame, clrFrame);
    }
    const int t = bCaption ? rc.top + 1 : rc.top;
    const COLORREF clrCorner = GetColor(51);
    for (CPoint pt : {CPoint(rc.left, t), CPoint(rc.right - 1, t), CPoint(rc.left, rc.bottom - 1),
                      CPoint(rc.right - 1, rc.bottom - 1)})
        pDC->SetPixel(pt, clrCorner);
}

void CKLVDockingPaneTheme5::DrawCaptionLines(CDC* pDC, const CRect& rcBand, int nStart, int nEnd, BOOL bActive,
                                             BOOL bVertical) {
    if (nEnd <= nStart) return;
    const COLORREF clr = GetColor(bActive ? COLOR_BTNTEXT : 38);
    const int m = bVertical ? (rcBand.left + rcBand.right) / 2 : (rcBand.top + rcBand.bottom) / 2;
    for (int nOffset : {-3, -1, 1, 3}) {
        if (bVertical) pDC->FillSolidRect(m + nOffset, nStart, 1, nEnd - nStart, clr);
        else pDC->FillSolidRect(nStart, m + nOffset, nEnd - nStart, 1, clr);
    }
}

void CKLVDockingPaneTheme5::DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) {
    const BOOL bVertical = pPane->IsCaptionVertical();
    const BOOL bActive = m_bHighlightActiveCaption && pPane->IsActive();
    const CString strTitle = pPane->GetCaptionText();
    CRect rcBand = bVertical ? CRect(rc.left + 2, rc.top, rc.left + m_nCaptionHeight + 3, rc.bottom - 1)
                             : CRect(rc.left, rc.top + 2, rc.right - 1, rc.top + m_nCaptionHeight + 3);
    rcBand = PlaceCaptionButtons(pDC, pPane, rcBand, RGB(0, 0, 0), 16, 0, bVertical);
    // Without a title the lines start at 4 in the DC's co-ordinates; no icon is drawn.
    const int nStart = strTitle.IsEmpty() ? 4 : DrawMeasuredTitle(pDC, pPane, rcBand, strTitle, bVertical, FALSE) + 10;
    DrawCaptionLines(pDC, rcBand, nStart, bVertical ? rcBand.bottom : rcBand.right, bActive, bVertical);
}

void CKLVDockingPaneTheme5::DrawFloatingFrame(CDC* pDC, CWnd* pFrame, CRect rc) {
    CString strTitle;
    BOOL bActive = FALSE;
    CKLVDockingNode* pOwner = GetFrameCaption(pFrame, strTitle, bActive);
    const COLORREF clr = GetColor(bActive ? 31 : 30);
    pDC->Draw3dRect(&rc, clr, RGB(0, 0, 0));
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(&rc, GetColor(COLOR_3DHIGHLIGHT), GetColor(COLOR_BTNSHADOW));
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(&rc, clr, clr);
    rc.DeflateRect(1, 1);
    CRect rcBand(rc.left, rc.top, rc.right, rc.top + m_nCaptionHeight + 3);
    pDC->FillSolidRect(&rcBand, clr);
    rcBand.right -= 2;
    DrawCaptionButtons(pDC, pOwner, rcBand, GetColor(COLOR_BTNTEXT), 16, 0, FALSE);
    rcBand = ExcludeCaptionButtons(pOwner, rcBand, FALSE);
    int nStart = 4;
    if (!strTitle.IsEmpty()) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(GetColor(COLOR_BTNTEXT));
        const CRect rcText(rcBand.left + 4, rcBand.top + 1, rcBand.right - 2, rcBand.bottom);
        nStart = rcBand.left + DrawCaptionText(pDC, strTitle, rcText, FALSE, TRUE) + 14;
    }
    DrawCaptionLines(pDC, rcBand, nStart, rcBand.right - 4, bActive, FALSE);
}
