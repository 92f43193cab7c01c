#include "toolkit/dockingpane/DockingPaneTheme4.h"

#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"

CKLVDockingPaneTheme4::CKLVDockingPaneTheme4() { m_nCaptionButtonStyle = buttonFlat; }

void CKLVDockingPaneTheme4::DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) {
    DrawSharedCaption(pDC, pPane, rc);
}

void CKLVDockingPaneTheme4::DrawCaptionBar(CDC* pDC, CKLVDockingNode* pOwner, CRect rc, const CString& strTitle,
                                           BOOL /*bActive*/, BOOL bVertical) {
    if (bVertical) rc.bottom -= 2;
    else rc.right -= 2;
    rc = PlaceCaptionButtons(pDC, pOwner, rc, GetColor(COLOR_BTNTEXT), 14, 2, bVertical);
    // Without a title the bars start at 4 in the DC's co-ordinates.
    const int nGrip = strTitle.IsEmpty() ? 4 : DrawMeasuredTitle(pDC, pOwner, rc, strTitle, bVertical, TRUE) + 4;
    const int nFar = bVertical ? rc.bottom : rc.right;
    if (nFar <= nGrip) return;
    const COLORREF clrLight = GetColor(COLOR_3DHIGHLIGHT), clrDark = GetColor(COLOR_BTNSHADOW);
    const int m = bVertical ? (rc.left + rc.right) / 2 : (rc.top + rc.bottom) / 2;
    for (int nAcross : {m - 3, m + 1}) {
        if (bVertical) pDC->Draw3dRect(nAcross, nGrip, 3, nFar - nGrip, clrLight, clrDark);
        else pDC->Draw3dRect(nGrip, nAcross, nFar - nGrip, 3, clrLight, clrDark);
    }
}

// ---------------------------------------------------------------------------------------------

CKLVDockingPaneTheme8::CKLVDockingPaneTheme8() {
    m_nCaptionButtonStyle = buttonToolBar;
    m_nCaptionTextMargin = 9;
    m_bBoldCaption = FALSE;
    m_rcCaptionMargin = CRect(0, 0, 0, 0);
}

void CKLVDockingPaneTheme8::DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) {
    DrawSharedCaption(pDC, pPane, rc);
}

void CKLVDockingPaneTheme8::RefreshMetrics() {
    CKLVDockingPaneTheme0::RefreshMetrics();
    m_themeRebar.OpenThemeData(nullptr, L"REBAR");
    if (m_themeRebar.GetThemeHandle()) {
        for (CKLVTabPainter* pPainter : {&m_tabPanel, &m_tabAutoHide}) {
            pPainter->SetAppearance(0);
            pPainter->SetColor(8);
        }
    } else {
        m_tabPanel.SetAppearance(5);
        m_tabAutoHide.SetAppearance(6);
    }
}

CRect CKLVDockingPaneTheme8::GetRebarRect(CKLVDockingNode* pOwner) {
    CRect rc(0, 0, 0, 0);
    if (pOwner->GetType() == CKLVDockingNode::typeMiniWnd) {
        auto* pFrame = static_cast<CKLVDockingPaneMiniWnd*>(pOwner);
        if (pFrame->GetSafeHwnd()) pFrame->GetWindowRect(&rc);
        return rc - rc.TopLeft();
    }
    if (pOwner->GetType() != CKLVDockingNode::typeTabbedContainer) return rc;
    auto* pContainer = static_cast<CKLVDockingPaneTabbedContainer*>(pOwner);
    if (!pContainer->GetSafeHwnd()) return rc;
    pContainer->GetClientRect(&rc);
    CWnd* pSite = pContainer->GetDockingSite();
    if (!AfxGetSafeHwnd(pSite)) return rc;
    CRect rcOwn, rcSite;
    pContainer->GetWindowRect(&rcOwn);
    pSite->GetWindowRect(&rcSite);
    return CRect(rc.left + rcSite.left - rcOwn.left, rc.top + rcSite.top - rcOwn.top,
                 rc.right + rcSite.right - rcOwn.right, rc.bottom + rcSite.bottom - rcOwn.bottom);
}

void CKLVDockingPaneTheme8::DrawCaptionBar(CDC* pDC, CKLVDockingNode* pOwner, CRect rc, const CString& strTitle,
                                           BOOL /*bActive*/, BOOL bVertical) {
    if (m_themeRebar.GetThemeHandle() && pOwner) {
        const CRect rcRebar = GetRebarRect(pOwner);
        m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, &rcRebar, &rc);
    }
    if (bVertical) rc.bottom -= 2;
    else rc.right -= 2;
    DrawCaptionButtons(pDC, pOwner, rc, GetColor(COLOR_BTNTEXT), 16, 2, bVertical);
    DrawCaptionTitle(pDC, pOwner, rc, strTitle, GetColor(COLOR_BTNTEXT), bVertical);
}
