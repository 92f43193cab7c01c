// Controls on popup bars (menu entries with icon column, caption, shortcut and submenu room), and
// the labels and metrics of edit and combo-box controls wherever they sit.
#include "toolkit/commandbars/paint/PaintManager.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/paint/CommandBarFace.h"
#include "toolkit/commandbars/paint/ControlFace.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ImageManagerIcon.h"

#include <algorithm>

namespace {

// Room at the right of a popup entry for the submenu arrow.
const int kSubmenuArrowRoom = 19;

CString WithoutMnemonics(CString str) {
    CKLVDrawHelpers::StripMnemonicsString(str);
    return str;
}

BOOL IsOnPopupBar(const CKLVControlFace* pControl) {
    return pControl->GetBarFace() && pControl->GetBarFace()->GetType() == CKLVCommandBarFace::barTypePopup;
}

int TextHeightIn(CDC* pDC, CFont* pFont) {
    CKLVFontDC font(pDC, pFont);
    return pDC->GetTextExtent(" ", 1).cy;
}

}  // namespace

CSize CKLVPaintManager::DrawControlPopupParent(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw) {
    const int nStyle = pControl->GetStyle();
    CKLVCommandBarFace* pBar = pControl->GetBarFace();
    const CSize szArea = GetIconAreaSize(pBar);
    const BOOL bIconColumn = pControl->GetType() != CKLVControlFace::typeLabel || m_bLabelIconColumn;
    if (bDraw && nStyle != CKLVControlFace::styleCaption && bIconColumn) {
        const CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
        if (CKLVImageManagerIcon* pImage = pControl->GetImage(szIcon.cx)) {
            const CRect rc = pControl->GetRect();
            const CPoint pt(rc.left + (szArea.cx - szIcon.cx) / 2, rc.top + (rc.Height() - szIcon.cy) / 2);
            DrawImage(pDC, pt, szIcon, pImage, pControl->GetSelected(), pControl->GetPressed(), pControl->GetEnabled(),
                      pControl->GetChecked(), pControl->GetPopuped(), FALSE);
        }
    }
    return DrawPopupItemText(pDC, pControl, bDraw);
}

CSize CKLVPaintManager::DrawPopupItemText(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw) {
    CKLVCommandBarFace* pBar = pControl->GetBarFace();
    CKLVFontDC font(pDC, GetCommandBarFont(pBar, pControl->IsItemDefault()));
    const CSize szArea = GetIconAreaSize(pBar);
    const int nType = pControl->GetType(), nStyle = pControl->GetStyle();
    int g = szArea.cx * (pBar && pBar->IsDoubleGripper() ? 2 : 1);
    if (nType == CKLVControlFace::typeLabel && !m_bLabelIconColumn) g = 0;
    const int cyRow =
        nType == CKLVControlFace::typeLabel && nStyle == CKLVControlFace::styleCaption ? m_nTextHeight : szArea.cy;

    const BOOL bCues = m_nShowKeyboardCues != -1 ? m_nShowKeyboardCues != 0 : (!pBar || pBar->IsKeyboardCuesVisible());
    CString strCaption = pControl->GetCaption();
    if (!bCues) strCaption = WithoutMnemonics(strCaption);
    const CString strShortcut = nType == CKLVControlFace::typeButton ? pControl->GetShortcutText() : CString();
    const UINT nFormat = DT_END_ELLIPSIS | (bCues ? 0 : DT_NOPREFIX);
    const BOOL bPressed = pControl->GetPressed(), bEnabled = pControl->GetEnabled();

    CRect rcCaptionCalc, rcShortcutCalc;
    const CSize szCaption = DrawControlText(pDC, strCaption, rcCaptionCalc, nFormat, FALSE, bPressed, bEnabled);
    const CSize szShortcut =
        strShortcut.IsEmpty() ? CSize(0, 0) : DrawControlText(pDC, strShortcut, rcShortcutCalc, DT_RIGHT, FALSE, bPressed,
                                                              bEnabled);
    CSize sz;
    GetCustomControlSize(sz, pControl, m_nPopupBarTextMargin + g + szCaption.cx + szShortcut.cx + 32, cyRow, FALSE);
    if (!bDraw) return sz;

    const CRect rc = pControl->GetRect();
    pDC->SetTextColor(GetControlTextColor(pControl));
    pDC->SetBkMode(TRANSPARENT);
    CRect rcCaption(rc.left + m_nPopupBarTextMargin + g, rc.top, rc.right - kSubmenuArrowRoom, rc.bottom);
    rcCaption.right -= szShortcut.cx;
    DrawControlText(pDC, strCaption, rcCaption, nFormat, TRUE, bPressed, bEnabled);
    if (!strShortcut.IsEmpty()) {
        CRect rcShortcut(rc.left + g + 8, rc.top, rc.right - kSubmenuArrowRoom, rc.bottom);
        DrawControlText(pDC, strShortcut, rcShortcut, DT_RIGHT, TRUE, bPressed, bEnabled);
    }
    return sz;
}

CSize CKLVPaintManager::DrawControlEdit(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw) {
    return DrawEditLabel(pDC, pControl, bDraw, FALSE);
}

CSize CKLVPaintManager::DrawControlComboBox(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw) {
    return DrawEditLabel(pDC, pControl, bDraw, TRUE);
}

CSize CKLVPaintManager::DrawEditLabel(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw, BOOL bComboBox) {
    CKLVCommandBarFace* pBar = pControl->GetBarFace();
    const BOOL bPopup = IsOnPopupBar(pControl);
    const CString strCaption = pControl->GetCaption();
    const CString strPlain = WithoutMnemonics(strCaption);
    const BOOL bLabel = pControl->IsCaptionVisible() && !strCaption.IsEmpty();

    int cy = m_nControlHeight;
    const int nThumbBefore = pControl->m_nThumbWidth;
    if (cy <= 0) {
        cy = TextHeightIn(pDC, &m_fontIcon) + 7;
        if (bComboBox) cy = std::max(cy, 20);
        if (bComboBox) pControl->m_nThumbWidth = std::max(::MulDiv(cy, 9, 14) + 1, 15);
        if (bLabel) cy = std::max(cy, TextHeightIn(pDC, &m_fontRegular) + 7);
    } else if (bComboBox) {
        pControl->m_nThumbWidth = std::max(::MulDiv(cy, 9, 14) + 1, 15);
    }
    // A new button width moves the field's right edge: the next placing applies it.
    if (pControl->m_nThumbWidth != nThumbBefore) pControl->OnEditHook();
    int cxLabel = 0;
    if (bLabel) {
        CKLVFontDC font(pDC, &m_fontRegular);
        cxLabel = pDC->GetTextExtent(strPlain).cx + 5;
    }
    const int nGripper = GetPopupBarGripperWidth(pBar);
    CSize sz(pControl->GetWidth(), cy);
    if (bPopup) {
        pControl->m_nLabelWidth = nGripper + m_nPopupBarTextMargin + cxLabel;
        sz.cx = nGripper + pControl->GetWidth();
    }
    if (!bDraw || !bLabel) return sz;

    const CRect rc = pControl->GetRect();
    const BOOL bEnabled = pControl->GetEnabled();
    if (bPopup) {
        CKLVFontDC font(pDC, GetCommandBarFont(pBar));
        pDC->SetTextColor(GetControlTextColor(pControl));
        pDC->SetBkMode(TRANSPARENT);
        CRect rcLabel(rc.left + nGripper + m_nPopupBarTextMargin, rc.top, rc.left + pControl->m_nLabelWidth, rc.bottom);
        DrawControlText(pDC, strCaption, rcLabel, DT_END_ELLIPSIS, TRUE, pControl->GetPressed(), bEnabled);
        return sz;
    }
    int nTextLeft = rc.left + 2;
    if (pControl->GetStyle() != CKLVControlFace::styleCaption) {
        const CSize szIcon = GetControlIconSize(pControl);
        if (CKLVImageManagerIcon* pImage = pControl->GetImage(szIcon.cx)) {
            DrawImage(pDC, CPoint(rc.left + 3, rc.top + (rc.Height() - szIcon.cy) / 2), szIcon, pImage, FALSE, FALSE,
                      bEnabled, FALSE, FALSE, TRUE);
            nTextLeft = rc.left + 3 + szIcon.cx + 6;
        }
    }
    CKLVFontDC font(pDC, &m_fontRegular);
    pDC->SetTextColor(GetRectangleTextColor(FALSE, FALSE, bEnabled, FALSE, FALSE, pBar ? pBar->GetType() : 1,
                                            pBar ? pBar->GetPosition() : 0));
    pDC->SetBkMode(TRANSPARENT);
    DrawControlCaption(pDC, pControl, strCaption, strPlain, CRect(nTextLeft, rc.top, rc.right, rc.bottom), false,
                       false);
    return sz;
}
