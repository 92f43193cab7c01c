// The pane theme's drawing shared by every theme: caption buttons and their glyphs, and
// splitter bars.
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneCaptionButton.h"
#include "toolkit/dockingpane/DockingPaneSplitter.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"

#include <algorithm>
#include <vssym32.h>

namespace {

void HorzLine(CDC* pDC, int x1, int x2, int y, COLORREF clr) { pDC->FillSolidRect(x1, y, x2 - x1, 1, clr); }
void VertLine(CDC* pDC, int x, int y1, int y2, COLORREF clr) { pDC->FillSolidRect(x, y1, 1, y2 - y1, clr); }

void Line(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF clr) {
    CKLVPenDC pen(pDC->GetSafeHdc(), clr);
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
}

}  // namespace

void CKLVDockingPaneTheme::DrawCaptionButtons(CDC* pDC, CKLVDockingNode* pOwner, CRect rcCaption, COLORREF clr,
                                              int nButtonSize, int nGap, BOOL bVertical) {
    if (!pOwner) return;
    int nFar = bVertical ? rcCaption.bottom : rcCaption.right;
    for (const auto& pButton : pOwner->GetCaptionButtons()) {
        CRect rcButton(0, 0, 0, 0);
        if (pOwner->IsCaptionButtonVisible(pButton.get())) {
            if (bVertical) {
                const int x = rcCaption.left + (rcCaption.Width() - nButtonSize) / 2;
                rcButton.SetRect(x, nFar - nButtonSize, x + nButtonSize, nFar);
            } else {
                const int y = rcCaption.top + (rcCaption.Height() - nButtonSize) / 2;
                rcButton.SetRect(nFar - nButtonSize, y, nFar, y + nButtonSize);
            }
            nFar -= nButtonSize + nGap;
        }
        if (rcButton != pButton->GetRect()) {
            pButton->SetRect(rcButton);
            pOwner->CheckCaptionButtons(CPoint(-1, -1));
        }
        if (!rcButton.IsRectEmpty()) DrawCaptionButton(pDC, pButton.get(), clr);
    }
}

BOOL CKLVDockingPaneTheme::DrawThemedCaptionButton(CDC* pDC, CKLVDockingPaneCaptionButton* pButton) {
    const CRect rc = pButton->GetRect();
    const int nState = pButton->IsPressed() ? 3 : pButton->IsHot() ? 2 : 1;
    switch (m_nCaptionButtonStyle) {
    case buttonExplorerBar: {
        if (!m_themeExplorer.GetThemeHandle()) return FALSE;
        if (pButton->GetID() == klvCaptionButtonClose) {
            m_themeExplorer.DrawThemeBackground(pDC->GetSafeHdc(), EBP_HEADERCLOSE, nState, &rc, nullptr);
            return TRUE;
        }
        if (pButton->GetID() == klvCaptionButtonAutoHide) {
            const int nPin = nState + ((pButton->GetState() & 2) ? 0 : 3);
            m_themeExplorer.DrawThemeBackground(pDC->GetSafeHdc(), EBP_HEADERPIN, nPin, &rc, nullptr);
            return TRUE;
        }
        return FALSE;
    }
    case buttonPushButton:
        if (!m_themeButton.GetThemeHandle()) return FALSE;
        if (nState > 1) m_themeButton.DrawThemeBackground(pDC->GetSafeHdc(), BP_PUSHBUTTON, nState, &rc, nullptr);
        return TRUE;
    case buttonToolBar:
        if (!m_themeToolbar.GetThemeHandle()) return FALSE;
        if (nState > 1) m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), TP_BUTTON, nState, &rc, nullptr);
        return TRUE;
    case buttonSmallClose:
        if (!m_themeWindow.GetThemeHandle() || pButton->GetID() != klvCaptionButtonClose) return FALSE;
        m_themeWindow.DrawThemeBackground(pDC->GetSafeHdc(), WP_SMALLCLOSEBUTTON, nState, &rc, nullptr);
        return TRUE;
    default: return FALSE;
    }
}

void CKLVDockingPaneTheme::DrawCaptionButton(CDC* pDC, CKLVDockingPaneCaptionButton* pButton, COLORREF clr) {
    CRect rc = pButton->GetRect();
    CPoint ptGlyph = rc.CenterPoint();
    const BOOL bPressed = pButton->IsPressed();
    const BOOL bHot = pButton->IsHot();
    int nStyle = m_nCaptionButtonStyle;
    // The visual-style buttons draw their own glyph; without the style they fall back to flat.
    if (nStyle >= buttonExplorerBar) {
        if (DrawThemedCaptionButton(pDC, pButton) && nStyle != buttonPushButton && nStyle != buttonToolBar) return;
        if (nStyle == buttonExplorerBar || nStyle == buttonSmallClose) nStyle = buttonFlat;
    }
    switch (nStyle) {
    case buttonFrameControl:
        ::DrawFrameControl(pDC->GetSafeHdc(), &rc, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (bPressed ? DFCS_PUSHED : 0));
        if (bPressed) ptGlyph.Offset(1, 1);
        break;
    case buttonFlat:
        if (bPressed) {
            pDC->Draw3dRect(&rc, GetColor(COLOR_BTNTEXT), GetColor(COLOR_3DHIGHLIGHT));
            ptGlyph.Offset(1, 1);
        } else if (bHot) {
            pDC->Draw3dRect(&rc, GetColor(COLOR_3DHIGHLIGHT), GetColor(COLOR_BTNTEXT));
        }
        break;
    case buttonHighlighted:
        if (bHot || bPressed) {
            if (m_bUseResourceColors) {
                GetDrawHelpers()->GradientFill(pDC, &rc, bPressed ? 0x4B8EFE : 0xC8F2FF, bPressed ? 0x8BCFFF : 0x97D4FF,
                                               FALSE);
            } else {
                pDC->FillSolidRect(&rc, GetColor(bPressed ? 33 : 31));
                clr = GetColor(bPressed ? 47 : 45);
            }
            pDC->Draw3dRect(&rc, GetColor(32), GetColor(32));
        }
        break;
    default: break;
    }
    DrawCaptionButtonGlyph(pDC, pButton, ptGlyph, clr);
}

void CKLVDockingPaneTheme::DrawCaptionButtonGlyph(CDC* pDC, CKLVDockingPaneCaptionButton* pButton, CPoint pt,
                                                  COLORREF clr) {
    const int x = pt.x, y = pt.y;
    switch (pButton->GetID()) {
    case klvCaptionButtonClose:
        for (int d = 0; d < 2; d++) {
            Line(pDC, x - 4 + d, y - 4, x + 3 + d, y + 3, clr);
            Line(pDC, x - 4 + d, y + 2, x + 3 + d, y - 5, clr);
        }
        break;
    case klvCaptionButtonAutoHide: DrawPinGlyph(pDC, pt, (pButton->GetState() & 2) != 0, clr); break;
    case klvCaptionButtonMaximize: DrawMaximizeGlyph(pDC, pt, FALSE, clr); break;
    case klvCaptionButtonRestore: DrawMaximizeGlyph(pDC, pt, TRUE, clr); break;
    case klvCaptionButtonMenu: {
        CKLVPenDC pen(pDC->GetSafeHdc(), clr);
        CKLVBrushDC brush(pDC->GetSafeHdc(), clr);
        const POINT pts[] = {{x - 4, y - 1}, {x, y + 3}, {x + 4, y - 1}, {x + 3, y - 1}};
        pDC->Polygon(pts, 4);
        break;
    }
    default: break;
    }
}

void CKLVDockingPaneTheme::DrawPinGlyph(CDC* pDC, CPoint pt, BOOL bPinned, COLORREF clr) {
    const int x = pt.x, y = pt.y;
    if (bPinned) {
        // Upright: head, body and needle.
        HorzLine(pDC, x - 4, x + 3, y + 1, clr);
        pDC->FillSolidRect(x - 2, y - 4, 1, 5, clr);
        pDC->FillSolidRect(x + 1, y - 4, 2, 5, clr);
        HorzLine(pDC, x - 2, x + 2, y - 4, clr);
        VertLine(pDC, x, y + 1, y + 5, clr);
    } else {
        // Lying: needle to the left.
        VertLine(pDC, x - 2, y - 3, y + 4, clr);
        pDC->FillSolidRect(x - 2, y - 1, 5, 1, clr);
        pDC->FillSolidRect(x - 2, y + 1, 5, 2, clr);
        VertLine(pDC, x + 2, y - 1, y + 3, clr);
        HorzLine(pDC, x - 5, x - 2, y + 1, clr);
    }
}

void CKLVDockingPaneTheme::DrawMaximizeGlyph(CDC* pDC, CPoint pt, BOOL bRestore, COLORREF clr) {
    const int x = pt.x, y = pt.y;
    if (!bRestore) {
        pDC->Draw3dRect(x - 5, y - 5, 9, 9, clr, clr);
        pDC->FillSolidRect(x - 5, y - 5, 9, 2, clr);
        return;
    }
    pDC->Draw3dRect(x - 4, y - 2, 6, 6, clr, clr);
    pDC->FillSolidRect(x - 4, y - 2, 6, 2, clr);
    pDC->FillSolidRect(x - 2, y - 5, 6, 2, clr);
    pDC->SetPixel(x - 2, y - 3, clr);
    pDC->FillSolidRect(x + 3, y - 3, 1, 4, clr);
    pDC->SetPixel(x + 2, y, clr);
}

void CKLVDockingPaneTheme::DrawSplitter(CDC* pDC, CKLVDockingPaneSplitter* pSplitter) {
    CRect rc;
    pSplitter->GetClientRect(&rc);
    const BOOL bHorizontal = pSplitter->IsHorizontal();
    const COLORREF clrFace = m_clrSplitter;
    if (m_nSplitterStyle & splitterSunken) {
        pDC->FillSolidRect(&rc, clrFace);
        if (bHorizontal) {
            HorzLine(pDC, rc.left, rc.right, rc.top, GetColor(COLOR_3DHIGHLIGHT));
            HorzLine(pDC, rc.left, rc.right, rc.bottom - 2, GetColor(52));
            HorzLine(pDC, rc.left, rc.right, rc.bottom - 1, GetColor(COLOR_BTNTEXT));
        } else {
            VertLine(pDC, rc.left, rc.top, rc.bottom, GetColor(COLOR_3DHIGHLIGHT));
            VertLine(pDC, rc.right - 2, rc.top, rc.bottom, GetColor(52));
            VertLine(pDC, rc.right - 1, rc.top, rc.bottom, GetColor(COLOR_BTNTEXT));
        }
    } else if (m_nSplitterStyle & splitterRaised) {
        const int nHalf = m_nSplitterSize / 2;
        if (bHorizontal) {
            pDC->FillSolidRect(rc.left, rc.top + nHalf, rc.Width(), rc.Height() - nHalf, clrFace);
            HorzLine(pDC, rc.left, rc.right, rc.top + nHalf - 1, GetColor(COLOR_WINDOW));
            HorzLine(pDC, rc.left, rc.right, rc.top, GetColor(COLOR_3DDKSHADOW));
            HorzLine(pDC, rc.left, rc.right, rc.bottom - 1, GetColor(COLOR_3DDKSHADOW));
        } else {
            pDC->FillSolidRect(rc.left + nHalf, rc.top, rc.Width() - nHalf, rc.Height(), clrFace);
            VertLine(pDC, rc.left + nHalf - 1, rc.top, rc.bottom, GetColor(COLOR_WINDOW));
            VertLine(pDC, rc.left, rc.top, rc.bottom, GetColor(COLOR_3DDKSHADOW));
            VertLine(pDC, rc.right - 1, rc.top, rc.bottom, GetColor(COLOR_3DDKSHADOW));
        }
    } else if (m_nSplitterStyle & (splitterGradientHorz | splitterGradientVert)) {
        // Measured over the parent so that neighbouring bars line up.
        CRect rcParent(0, 0, 0, 0);
        if (CWnd* pParent = pSplitter->GetParent()) {
            pParent->GetClientRect(&rcParent);
            pParent->ClientToScreen(&rcParent);
            pSplitter->ScreenToClient(&rcParent);
        }
        if (rcParent.IsRectEmpty()) rcParent = rc;
        const BOOL bHorz = (m_nSplitterStyle & splitterGradientHorz) != 0;
        GetDrawHelpers()->GradientFillClipped(pDC, &rcParent, m_clrSplitterGradient.m_clrFrom,
                                              m_clrSplitterGradient.m_clrTo, bHorz, &rc);
    } else {
        pDC->FillSolidRect(&rc, clrFace);
    }

    const COLORREF clrGrip = m_clrSplitterGripper;
    if (m_nSplitterStyle & splitterGrip) {
        const CPoint ptMiddle = rc.CenterPoint();
        for (int nOffset : {2, 4}) {
            if (bHorizontal) HorzLine(pDC, ptMiddle.x, ptMiddle.x + 11, rc.top + nOffset, clrGrip);
            else VertLine(pDC, rc.left + nOffset, ptMiddle.y, ptMiddle.y + 11, clrGrip);
        }
    }
    if (m_nSplitterStyle & splitterDots) {
        const int nLength = bHorizontal ? rc.Width() : rc.Height();
        const int n = std::min(nLength / 2 - 10, 32);
        const CPoint ptMiddle = rc.CenterPoint();
        for (int d = -n; d <= n; d += 4) {
            const CPoint pt = bHorizontal ? CPoint(ptMiddle.x + d, ptMiddle.y) : CPoint(ptMiddle.x, ptMiddle.y + d);
            pDC->FillSolidRect(pt.x, pt.y, 2, 2, GetColor(COLOR_3DHIGHLIGHT));
            pDC->FillSolidRect(pt.x - 1, pt.y - 1, 2, 2, clrGrip);
        }
    }
}
