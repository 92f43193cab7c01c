// Theme 0's popup items (icon cells drawn like tool-bar buttons, the selection highlight, the
// submenu arrow and split divider), edit and combo boxes, spin buttons and list-box items.
#include "toolkit/themes/PaintManagerTheme0.h"

#include "toolkit/themes/ThemeControlState.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/ImageManagerIcon.h"

#include <algorithm>

using KLVTheme::EnabledOf;

namespace {

const int kPopupSplit = 20;

}  // namespace

int CKLVPaintManagerTheme0::DrawPopupCells(CDC* pDC, CKLVControl* pControl, int nCell, BOOL bTwoColumns,
                                           BOOL bIconDrawn) {
    const CRect rc = pControl->GetRect();
    const int nSelected = pControl->GetSelected(), nEnabled = EnabledOf(pControl), nChecked = pControl->GetChecked();
    int x = rc.left;
    if (nChecked) {
        const CRect rcCheck(rc.left, rc.top, rc.left + nCell, rc.bottom);
        DrawRectangle(pDC, rcCheck, nSelected, FALSE, nEnabled, nChecked, FALSE, CKLVCommandBar::barTypeNormal,
                      CKLVCommandBar::barPopup);
        x = rcCheck.right + 1;
    }
    if (bIconDrawn) {
        const int nLeft = bTwoColumns ? rc.left + nCell + 1 : rc.left;
        const CRect rcIcon(nLeft, rc.top, nLeft + nCell, rc.bottom);
        DrawRectangle(pDC, rcIcon, nSelected, FALSE, nEnabled, bTwoColumns ? 0 : nChecked, FALSE,
                      CKLVCommandBar::barTypeNormal, CKLVCommandBar::barPopup);
        x = std::max<int>(x, rcIcon.right + 1);
    }
    return x;
}

void CKLVPaintManagerTheme0::DrawPopupArrowAndSplit(CDC* pDC, CKLVControl* pControl, COLORREF clrText) {
    const CRect rc = pControl->GetRect();
    const int nType = pControl->GetType();
    if (!KLVTheme::IsPopupType(nType)) return;
    const BOOL bEnabled = EnabledOf(pControl) != 0, bSelected = pControl->GetSelected() != 0;
    const BOOL bOpenSplit = nType == CKLVControl::typeSplitButtonPopup && pControl->GetPopuped() && bSelected;
    const int c = (rc.top + rc.bottom) / 2;
    DrawTriangle(pDC, CPoint(rc.right - 11, c - 3), CPoint(rc.right - 8, c), CPoint(rc.right - 11, c + 3),
                 bOpenSplit ? GetThemeColor(m_nPopupTextColor) : clrText);
    if (nType != CKLVControl::typeSplitButtonPopup) return;
    if (bOpenSplit && bEnabled) {
        Draw3dRect(pDC, CRect(rc.right - kPopupSplit, rc.top, rc.right, rc.bottom), COLOR_BTNSHADOW,
                   COLOR_BTNHIGHLIGHT);
        return;
    }
    const COLORREF clr = !bEnabled ? clrText : GetThemeColor(bSelected ? COLOR_BTNSHADOW : m_nPopupTextColor);
    VerticalLine(pDC, rc.right - kPopupSplit, rc.top + 1, rc.bottom - 1, clr);
}

CSize CKLVPaintManagerTheme0::DrawControlPopupParent(CDC* pDC, CKLVControlFace* pControlFace, BOOL bDraw) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    if (!bDraw) return DrawPopupItemText(pDC, pControl, FALSE);
    CKLVCommandBar* pBar = pControl->GetParent();
    const CRect rc = pControl->GetRect();
    const int nType = pControl->GetType();
    const BOOL bShowIcon = pControl->GetStyle() != CKLVControl::styleCaption;
    const int nSelected = pControl->GetSelected(), nEnabled = EnabledOf(pControl), nChecked = pControl->GetChecked();
    const BOOL bTwoColumns = pBar && pBar->IsDoubleGripper();
    const CSize szIcon = GetControlIconSize(pControl);
    const int w = std::max<int>(szIcon.cx + 4, m_nTextHeight);
    const CRect rcFrame(CPoint(rc.left + w / 2 - 10, rc.top + rc.Height() / 2 - 10), CSize(20, 20));

    if (pControl->m_bHiddenCommand) Rectangle(pDC, rc, -1, COLOR_3DLIGHT);
    const COLORREF clrText = GetControlTextColor(pControl);

    CKLVImageManagerIcon* pImage = bShowIcon && KLVTheme::HasIcon(pControl) ? pControl->GetImage(szIcon.cx) : nullptr;
    const BOOL bOpenSplit = nType == CKLVControl::typeSplitButtonPopup && pControl->GetPopuped() && nSelected;
    const int nHighlightRight = bOpenSplit && nEnabled ? rc.right - 20 : rc.right;
    if (m_bFullRowHighlight) {
        if (nSelected)
            DrawRectangle(pDC, CRect(rc.left, rc.top, nHighlightRight, rc.bottom), nSelected, FALSE, nEnabled, FALSE,
                          FALSE, CKLVCommandBar::barTypePopup, CKLVCommandBar::barPopup);
    } else {
        const int x = DrawPopupCells(pDC, pControl, w, bTwoColumns, pImage != nullptr);
        if (nSelected)
            DrawRectangle(pDC, CRect(x, rc.top, nHighlightRight, rc.bottom), nSelected, FALSE, nEnabled, FALSE, FALSE,
                          CKLVCommandBar::barTypePopup, CKLVCommandBar::barPopup);
    }
    if (pImage) {
        const int nCellLeft = bTwoColumns ? rc.left + w + 1 : rc.left;
        const int cy = pImage->GetWidth() > 0 ? pImage->GetHeight() * szIcon.cx / pImage->GetWidth() : szIcon.cy;
        const CPoint pt(nCellLeft + w / 2 - szIcon.cx / 2, rc.top + rc.Height() / 2 - cy / 2);
        DrawImage(pDC, pt, CSize(szIcon.cx, cy), pImage, nSelected, FALSE, nEnabled, nChecked, FALSE, FALSE);
    }
    if (nChecked && (!pImage || bTwoColumns)) {
        const COLORREF clr = m_bFullRowHighlight ? clrText : GetThemeColor(nEnabled ? m_nPopupTextColor : COLOR_GRAYTEXT);
        if (nType == CKLVControl::typeRadioButton)
            DrawRadioDot(pDC, rcFrame, clr);
        else
            DrawCheckMark(pDC, rcFrame, clr);
    }
    DrawPopupArrowAndSplit(pDC, pControl, clrText);
    return DrawPopupItemText(pDC, pControl, TRUE);
}

CRect CKLVPaintManagerTheme0::DrawBox(CDC* pDC, CKLVControl* pControl) {
    CRect rcBox = pControl->GetRect();
    rcBox.left += pControl->m_nLabelWidth;
    const int nEnabled = pControl->GetEnabled();
    if (nEnabled) Rectangle(pDC, rcBox, COLOR_WINDOW, COLOR_WINDOW);
    DrawEditFrame(pDC, rcBox, nEnabled, pControl->GetSelected());
    return rcBox;
}

CSize CKLVPaintManagerTheme0::DrawControlEdit(CDC* pDC, CKLVControlFace* pControlFace, BOOL bDraw) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    const CSize sz = CKLVPaintManager::DrawControlEdit(pDC, pControl, bDraw);
    if (!bDraw) return sz;
    DrawBox(pDC, pControl);
    DrawSpinButtons(pDC, pControl);
    return CSize(0, 0);
}

CSize CKLVPaintManagerTheme0::DrawControlComboBox(CDC* pDC, CKLVControlFace* pControlFace, BOOL bDraw) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    const CSize sz = CKLVPaintManager::DrawControlComboBox(pDC, pControl, bDraw);
    if (!bDraw) return sz;
    const CRect rcBox = DrawBox(pDC, pControl);
    {
        CKLVFontDC font(pDC, &m_fontRegular);
        KLVTheme::DrawComboFieldText(pDC, pControl, rcBox);
    }
    const CRect rcButton(rcBox.right - pControl->m_nThumbWidth, rcBox.top, rcBox.right, rcBox.bottom);
    DrawComboButton(pDC, rcButton, pControl->GetEnabled(), pControl->GetSelected(), pControl->GetPopuped());
    return CSize(0, 0);
}

void CKLVPaintManagerTheme0::DrawEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected) {
    if (!bEnabled) {
        rc.DeflateRect(1, 1);
        Draw3dRect(pDC, rc, nSelected == 2 || nSelected == 3 ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT,
                   nSelected == 2 || nSelected == 3 ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
        return;
    }
    if (nSelected) Sunken(pDC, rc);
    rc.DeflateRect(1, 1);
    Draw3dRect(pDC, rc, COLOR_BTNFACE, COLOR_BTNFACE);
}

void CKLVPaintManagerTheme0::DrawComboButton(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bDropped) {
    rc = CRect(rc.left + 1, rc.top + 2, rc.right - 2, rc.bottom - 2);
    CRect rcArrow = rc;
    if (bEnabled) {
        Rectangle(pDC, rc, -1, COLOR_BTNFACE);
        if (bDropped || bSelected) VerticalLine(pDC, rc.left - 1, rc.top, rc.bottom, GetThemeColor(COLOR_BTNFACE));
        if (bDropped) {
            Sunken(pDC, rc);
            rcArrow.OffsetRect(1, 1);
        } else if (bSelected) {
            Raised(pDC, rc);
        } else {
            Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT);
        }
    }
    DrawComboExpandMark(pDC, rcArrow, GetThemeColor(COLOR_BTNTEXT));
}

void CKLVPaintManagerTheme0::DrawSpinButtons(CDC* pDC, CKLVControl* pControl) {
    const CRect rc = KLVTheme::SpinRectOf(pControl);
    if (rc.IsRectEmpty()) return;
    const int nEnabled = pControl->GetEnabled(), nPressed = pControl->GetPressed();
    const int yMid = rc.top + rc.Height() / 2;
    const CRect rcUp(rc.left, rc.top, rc.right, yMid), rcDown(rc.left, yMid, rc.right, rc.bottom);
    if (nEnabled && pControl->GetSelected()) {
        Rectangle(pDC, rc, -1, COLOR_BTNFACE);
        Draw3dRect(pDC, rcUp, nPressed == 3 ? COLOR_BTNSHADOW : COLOR_WINDOW, nPressed == 3 ? COLOR_WINDOW : COLOR_BTNSHADOW);
        Draw3dRect(pDC, rcDown, nPressed == 4 ? COLOR_BTNSHADOW : COLOR_WINDOW,
                   nPressed == 4 ? COLOR_WINDOW : COLOR_BTNSHADOW);
    } else if (nEnabled) {
        CRect rcInner = rc;
        rcInner.DeflateRect(1, 1);
        Rectangle(pDC, rcInner, COLOR_WINDOW, COLOR_BTNFACE);
    }
    KLVTheme::DrawSpinArrows(pDC, rcUp, rcDown, GetThemeColor(nEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
}

CSize CKLVPaintManagerTheme0::DrawListBoxControl(CDC* pDC, CKLVControlFace* pControl, CRect rc, BOOL bSelected,
                                                 BOOL, CKLVControlFace*) {
    const CSize szIcon = GetAutoIconSize(FALSE);
    const CSize sz(rc.Width(), std::max<int>(szIcon.cy + 6, m_nTextHeight));
    if (!pDC) return sz;
    Rectangle(pDC, rc, -1, COLOR_BTNFACE);
    if (bSelected) Rectangle(pDC, rc, COLOR_HIGHLIGHT, COLOR_HIGHLIGHT);
    const COLORREF clrText = GetThemeColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    const int nCell = std::max<int>(szIcon.cx + 4, m_nTextHeight + 4);
    CKLVFontDC font(pDC, &m_fontRegular, clrText);
    pDC->SetBkMode(TRANSPARENT);
    CRect rcText(rc.left + nCell + 8, rc.top, rc.right, rc.bottom);
    pDC->DrawText(pControl->GetCaption(), rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    const int c = rc.CenterPoint().y;
    const int nType = pControl->GetType();
    if (KLVTheme::IsPopupType(nType))
        DrawTriangle(pDC, CPoint(rc.right - 11, c - 4), CPoint(rc.right - 7, c), CPoint(rc.right - 11, c + 4), clrText);
    if (nType == CKLVControl::typeEdit || nType == CKLVControl::typeComboBox) {
        const CRect rcBox(rc.right - rc.Width() / 2, rc.top + 2, rc.right - 2, rc.bottom - 2);
        Rectangle(pDC, rcBox, bSelected ? COLOR_HIGHLIGHT : COLOR_BTNFACE, COLOR_WINDOW);
        if (nType == CKLVControl::typeComboBox) {
            const CRect rcButton(rcBox.right - rcBox.Height(), rcBox.top, rcBox.right, rcBox.bottom);
            if (!bSelected) Rectangle(pDC, rcButton, COLOR_HIGHLIGHT, COLOR_BTNFACE);
            DrawComboExpandMark(pDC, rcButton, GetThemeColor(COLOR_BTNTEXT));
        }
    }
    return sz;
}
