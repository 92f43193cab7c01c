// Status-bar panes, borders and size gripper, the status, dock and workspace fills, the check-box and radio-button
// marks, and control text with its embossed disabled form.
#include "toolkit/commandbars/paint/PaintManager.h"

#include "classlib/Dc.h"
#include "classlib/Wnd.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/ImageManagerIcon.h"

namespace {

const int kStatusPartGripperPane = 2;
const int kStatusPartPaneBorder = 1;
const int kStatusPartGripper = 3;
const int kButtonPartRadio = 2;
const int kButtonPartCheckBox = 3;
const int kGripperWidth = 18;
const int kMarkSize = 13;

void Stroke(CDC* pDC, CPoint ptFrom, CPoint ptTo) {
    pDC->MoveTo(ptFrom);
    pDC->LineTo(ptTo);
}

// The visual-style state of a check box or radio button: normal, hot, pressed or disabled,
// in the unchecked, checked or mixed row.
int ButtonMarkState(BOOL bSelected, BOOL bPressed, int nChecked, BOOL bEnabled) {
    const int nBase = !bEnabled ? 3 : (bSelected && bPressed) ? 2 : bSelected ? 1 : 0;
    const int nMark = nChecked == 2 ? 8 : nChecked ? 4 : 0;
    return 1 + nBase + nMark;
}

}  // namespace

BOOL CKLVPaintManager::IsStatusBarThemed() {
    return m_bUseStatusVisualStyle && m_themeStatusBar.GetThemeHandle();
}

void CKLVPaintManager::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) {
    if (IsStatusBarThemed()) {
        m_themeStatusBar.DrawThemeBackground(AfxGetSafeHdc(pDC),
                                             bGripperPane ? kStatusPartGripperPane : kStatusPartPaneBorder, 0, rc,
                                             nullptr);
        return;
    }
    pDC->Draw3dRect(rc, GetThemeColor(COLOR_BTNSHADOW), GetThemeColor(COLOR_BTNHIGHLIGHT));
}

void CKLVPaintManager::DrawStatusBarGripper(CDC* pDC, CRect rc) {
    if (IsStatusBarThemed()) {
        const CRect rcGripper(rc.right - kGripperWidth, rc.top, rc.right, rc.bottom);
        m_themeStatusBar.DrawThemeBackground(AfxGetSafeHdc(pDC), kStatusPartGripper, 0, rcGripper, nullptr);
        return;
    }
    // The strokes are laid out from the rectangle's own corner, wherever it sits.
    const int w = rc.Width(), h = rc.Height();
    const CPoint o = rc.TopLeft();
    {
        CKLVPenDC pen(AfxGetSafeHdc(pDC), GetThemeColor(COLOR_BTNSHADOW));
        for (int k = 0; k < 3; ++k) {
            Stroke(pDC, o + CPoint(w - 4 - 4 * k + 1, h - 2), o + CPoint(w - 1, h - 5 - 4 * k + 1));
            Stroke(pDC, o + CPoint(w - 4 - 4 * k, h - 2), o + CPoint(w - 1, h - 5 - 4 * k));
        }
    }
    CKLVPenDC pen(AfxGetSafeHdc(pDC), GetThemeColor(COLOR_BTNHIGHLIGHT));
    for (int k = 0; k < 3; ++k) Stroke(pDC, o + CPoint(w - 5 - 4 * k, h - 2), o + CPoint(w - 1, h - 6 - 4 * k));
}

void CKLVPaintManager::FillDockBar(CDC* pDC, CWnd* pDockBar, int /*nPosition*/) {
    CRect rc;
    pDockBar->GetClientRect(&rc);
    pDC->FillSolidRect(rc, GetThemeColor(COLOR_BTNFACE));
}

void CKLVPaintManager::FillStatusBar(CDC* pDC, CKLVStatusBarFace* pBar) {
    CRect rc;
    pBar->GetFaceRect(&rc);
    if (IsStatusBarThemed())
        m_themeStatusBar.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, rc, nullptr);
    else
        pDC->FillSolidRect(rc, GetThemeColor(COLOR_BTNFACE));
}

void CKLVPaintManager::DrawStatusBarPaneEntry(CDC* pDC, CRect rc, const KLVStatusPaneLook& pane) {
    const BOOL bDisabled = pane.bDisabled;
    if (pane.clrBackground != COLORREF(-1)) {
        CRect rcFill = rc;
        if (!pane.bNoBorders) rcFill.DeflateRect(1, 1);
        pDC->FillSolidRect(rcFill, pane.clrBackground);
    }
    if (!pane.bDrawContent) return;
    CKLVFontDC font(pDC, pane.pFont);
    const CRect rcMargins = pane.rcMargins;
    rc.DeflateRect(rcMargins.left, rcMargins.top, rcMargins.right, rcMargins.bottom);

    CKLVImageManagerIcon* pImage = pane.pImage;
    const CString& strText = *pane.pText;
    const int cxText = strText.IsEmpty() ? 0 : pDC->GetTextExtent(strText).cx;
    const int cxImage = pImage ? pImage->GetWidth() + (strText.IsEmpty() ? 0 : 2) : 0;
    const int cxContent = cxText + cxImage;
    if (pane.nAlignment != 0 && cxContent < rc.Width())
        rc.left = pane.nAlignment == 2 ? rc.right - cxContent : rc.left + (rc.Width() - cxContent) / 2;

    if (pImage) {
        const CSize szImage(pImage->GetWidth(), pImage->GetHeight());
        if (szImage.cy <= rc.Height()) {
            const CPoint pt(rc.left, rc.top + (rc.Height() - szImage.cy) / 2);
            pImage->DrawHandle(pDC, pt, bDisabled ? pImage->GetDisabledIcon() : pImage->GetIcon(), szImage);
        }
        rc.left += cxImage;
    }
    pDC->SetBkMode(TRANSPARENT);
    COLORREF clrText = pane.clrText != COLORREF(-1) ? pane.clrText : m_clrStatusText;
    if (bDisabled) clrText = GetThemeColor(COLOR_GRAYTEXT);
    pDC->SetTextColor(clrText);
    pDC->DrawText(strText, rc, DT_NOPREFIX | DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER);
}

void CKLVPaintManager::FillWorkspace(CDC* pDC, CRect rc) {
    pDC->FillSolidRect(rc, GetThemeColor(COLOR_APPWORKSPACE));
}

CSize CKLVPaintManager::DrawButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int nChecked,
                                       BOOL bEnabled, BOOL bRadio) {
    if (!bDraw) return CSize(kMarkSize, kMarkSize);
    if (m_bUseButtonVisualStyle && m_themeButton.GetThemeHandle()) {
        m_themeButton.DrawThemeBackground(AfxGetSafeHdc(pDC), bRadio ? kButtonPartRadio : kButtonPartCheckBox,
                                          ButtonMarkState(bSelected, bPressed, nChecked, bEnabled), rc, nullptr);
    } else {
        UINT nState = bRadio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
        if (nChecked) nState |= DFCS_CHECKED;
        if (bPressed > 0) nState |= DFCS_PUSHED;
        if (!bEnabled || nChecked == 2) nState |= DFCS_INACTIVE;
        ::DrawFrameControl(AfxGetSafeHdc(pDC), rc, DFC_BUTTON, nState);
    }
    return CSize(kMarkSize, kMarkSize);
}

CSize CKLVPaintManager::DrawCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int nChecked,
                                         BOOL bEnabled) {
    return DrawButtonMark(pDC, rc, bDraw, bSelected, bPressed, nChecked, bEnabled, FALSE);
}

CSize CKLVPaintManager::DrawRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                            int nChecked, BOOL bEnabled) {
    return DrawButtonMark(pDC, rc, bDraw, bSelected, bPressed, nChecked, bEnabled, TRUE);
}

CSize CKLVPaintManager::DrawControlText(CDC* pDC, const CString& str, RECT* pRect, UINT nFormat, BOOL bDraw,
                                        BOOL bPressed, BOOL bEnabled) {
    if (!bDraw) {
        pDC->DrawText(str, pRect, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
        return CRect(*pRect).Size();
    }
    nFormat |= DT_SINGLELINE | DT_VCENTER;
    if (m_bEmbossedDisabledText && !bPressed && !bEnabled) {
        const COLORREF clrText = pDC->SetTextColor(GetThemeColor(COLOR_BTNHIGHLIGHT));
        CRect rcEmbossed(*pRect);
        rcEmbossed.OffsetRect(1, 1);
        pDC->DrawText(str, rcEmbossed, nFormat);
        pDC->SetTextColor(clrText);
    }
    pDC->DrawText(str, pRect, nFormat);
    return CRect(*pRect).Size();
}
