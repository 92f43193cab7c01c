#include "toolkit/common/DCScopes.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingPaneThemes.h"

namespace {

// The window class's parts and states.
enum { partSmallCaption = 2, partSmallFrameLeft = 10, partSmallFrameRight = 11, partSmallFrameBottom = 12 };
enum { stateActive = 1, stateInactive = 2 };

}  // namespace

CKLVDockingPaneTheme3::CKLVDockingPaneTheme3() {
    m_nCaptionButtonStyle = buttonExplorerBar;
    m_nCaptionTextMargin = 7;
    m_bBoldCaption = FALSE;
    m_bGradientCaptions = TRUE;
    for (CKLVTabPainter* pPainter : {&m_tabPanel, &m_tabAutoHide}) {
        pPainter->SetAppearance(0);
        pPainter->SetColor(8);
    }
}

void CKLVDockingPaneTheme3::DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) {
    if (!IsStyled()) {
        DrawSharedCaption(pDC, pPane, rc);
        return;
    }
    const BOOL bVertical = pPane->IsCaptionVertical();
    const CRect rcBand = bVertical ? CRect(0, 0, m_nCaptionHeight + 1, rc.bottom) : CRect(0, 0, rc.right, m_nCaptionHeight + 1);
    const BOOL bActive = m_bHighlightActiveCaption && pPane->IsActive();
    m_themeWindow.DrawThemeBackground(pDC->GetSafeHdc(), partSmallCaption, bActive ? stateActive : stateInactive, &rcBand,
                                      nullptr);
    DrawCaptionBar(pDC, pPane, rcBand, pPane->GetCaptionText(), bActive, bVertical);
}

void CKLVDockingPaneTheme3::DrawCaptionBar(CDC* pDC, CKLVDockingNode* pOwner, CRect rc, const CString& strTitle,
                                           BOOL bActive, BOOL bVertical) {
    if (!IsStyled()) {
        CKLVDockingPaneTheme1::DrawCaptionBar(pDC, pOwner, rc, strTitle, bActive, bVertical);
        return;
    }
    const COLORREF clr = GetColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
    if (bVertical) rc.bottom -= 2;
    else rc.right -= 2;
    DrawCaptionButtons(pDC, pOwner, rc, clr, 16, 3, bVertical);
    DrawCaptionTitle(pDC, pOwner, rc, strTitle, clr, bVertical);
}

void CKLVDockingPaneTheme3::DrawFloatingFrame(CDC* pDC, CWnd* pFrame, CRect rc) {
    if (!IsStyled()) {
        CKLVDockingPaneTheme0::DrawFloatingFrame(pDC, pFrame, rc);
        return;
    }
    CString strTitle;
    BOOL bActive = FALSE;
    CKLVDockingNode* pOwner = GetFrameCaption(pFrame, strTitle, bActive);
    const int nState = bActive ? stateActive : stateInactive;
    const HDC hDC = pDC->GetSafeHdc();
    const CRect rcLeft(rc.left, rc.top, rc.left + 3, rc.bottom), rcRight(rc.right - 3, rc.top, rc.right, rc.bottom);
    const CRect rcBottom(rc.left, rc.bottom - 3, rc.right, rc.bottom);
    m_themeWindow.DrawThemeBackground(hDC, partSmallFrameLeft, nState, &rcLeft, nullptr);
    m_themeWindow.DrawThemeBackground(hDC, partSmallFrameRight, nState, &rcRight, nullptr);
    m_themeWindow.DrawThemeBackground(hDC, partSmallFrameBottom, nState, &rcBottom, nullptr);
    CRect rcBand(rc.left, rc.top, rc.right, rc.top + m_nCaptionHeight + 5);
    CKLVBufferDC buffer(hDC, rcBand);
    buffer.SetBkMode(TRANSPARENT);
    m_themeWindow.DrawThemeBackground(buffer.GetSafeHdc(), partSmallCaption, nState, &rcBand, nullptr);
    rcBand.DeflateRect(3, 0);
    DrawCaptionBar(&buffer, pOwner, rcBand, strTitle, bActive, FALSE);
}
