// Theme 1's popup items (gutter, check frame, icon, glyphs, submenu arrow and split divider),
// split buttons, edit and combo boxes with their buttons, and list-box items.
#include "toolkit/themes/PaintManagerTheme1.h"

#include "toolkit/themes/ThemeControlState.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/ImageManagerIcon.h"

#include <algorithm>

using KLVTheme::BarPositionOf;
using KLVTheme::BarTypeOf;
using KLVTheme::EnabledOf;

namespace {

BOOL IsKeyboardSelected(int nSelected) { return nSelected == 2 || nSelected == 3; }

}  // namespace

void CKLVPaintManagerTheme1::DrawSplitButtonFrame(CDC* pDC, CKLVControlFace* pControl, CRect rc) {
    const int nSelected = pControl->GetSelected(), nPressed = pControl->GetPressed();
    const int nEnabled = pControl->GetEnabled(), nChecked = pControl->GetChecked();
    const BOOL bPopuped = pControl->GetPopuped();
    const int nPosition = BarPositionOf(pControl);
    const int nBarType = CKLVCommandBar::barTypeNormal;
    const BOOL bActive = (nSelected || nPressed) && !bPopuped && nEnabled;
    if (pControl->GetStyle() != CKLVControl::styleCaptionBelow) {
        const int w = m_nSplitButtonDropDownWidth;
        CRect rcButton = rc;
        if (!bPopuped) rcButton.right -= w;
        DrawRectangle(pDC, rcButton, nSelected, nPressed, nEnabled, nChecked, bPopuped, nBarType, nPosition);
        if (bActive)
            DrawRectangle(pDC, CRect(rc.right - w - 1, rc.top, rc.right, rc.bottom), TRUE, FALSE, nEnabled, FALSE, FALSE,
                          nBarType, nPosition);
        DrawExpandArrow(pDC, pControl, CPoint(rc.right - 7, rc.CenterPoint().y), nSelected, bPopuped,
                        nEnabled == 3 ? 0 : nEnabled, FALSE);
        return;
    }
    const int w = GetSplitDropDownWidth();
    const BOOL bVertical = IsVerticalDockPosition(nPosition);
    CRect rcButton = rc;
    if (bVertical)
        rcButton.left += w;
    else
        rcButton.bottom -= w;
    const BOOL bBoth = nSelected && nPressed && !bPopuped && nEnabled;
    DrawRectangle(pDC, rc, nSelected, bBoth ? 0 : nPressed, nEnabled, nChecked, bPopuped, nBarType, nPosition);
    if (bActive) {
        if (bVertical)
            VerticalLine(pDC, rc.left + w, rc.top, rc.bottom, GetThemeColor(32));
        else
            HorizontalLine(pDC, rc.left, rc.bottom - w - 1, rc.right, GetThemeColor(32));
    }
    if (bBoth) DrawRectangle(pDC, rcButton, nSelected, nPressed, nEnabled, nChecked, FALSE, nBarType, nPosition);
}

void CKLVPaintManagerTheme1::DrawPopupIconCell(CDC* pDC, CKLVControl* pControl, int nCell, BOOL bTwoColumns) {
    CKLVCommandBar* pBar = pControl->GetParent();
    const CRect rc = pControl->GetRect();
    const int nSelected = pControl->GetSelected(), nEnabled = EnabledOf(pControl), nChecked = pControl->GetChecked();
    const CSize szIcon = GetControlIconSize(pControl);
    CRect rcCell(rc.left, rc.top, rc.left + nCell, rc.bottom);
    if (pBar && !pBar->IsGripperVisible()) rcCell.OffsetRect(m_nPopupBarTextMargin / 2, 0);
    const CPoint c = rcCell.CenterPoint();
    const CRect rcCheck(c.x - (szIcon.cx + 4) / 2, c.y - (szIcon.cy + 4) / 2, c.x - (szIcon.cx + 4) / 2 + szIcon.cx + 4,
                        c.y - (szIcon.cy + 4) / 2 + szIcon.cy + 4);
    if (bTwoColumns) rcCell.OffsetRect(nCell, 0);
    if (nChecked)
        DrawRectangle(pDC, rcCheck, nSelected, FALSE, nEnabled, nChecked, FALSE, CKLVCommandBar::barTypePopup,
                      CKLVCommandBar::barPopup);
    const BOOL bShowIcon = pControl->GetStyle() != CKLVControl::styleCaption;
    CKLVImageManagerIcon* pImage = bShowIcon && KLVTheme::HasIcon(pControl) ? pControl->GetImage(szIcon.cx) : nullptr;
    if (pImage) {
        const int cy = pImage->GetWidth() > 0 ? pImage->GetHeight() * szIcon.cx / pImage->GetWidth() : szIcon.cy;
        const CPoint pt(rcCell.CenterPoint().x - szIcon.cx / 2, rcCell.CenterPoint().y - cy / 2);
        DrawImage(pDC, pt, CSize(szIcon.cx, cy), pImage, nSelected, FALSE, nEnabled, nChecked, FALSE, FALSE);
    }
    if (nChecked && (!pImage || bTwoColumns)) {
        const COLORREF clr = nEnabled ? GetControlTextColor(pControl) : GetThemeColor(40);
        if (pControl->GetType() == CKLVControl::typeRadioButton)
            DrawRadioDot(pDC, rcCheck, clr);
        else
            DrawCheckMark(pDC, rcCheck, clr);
    }
}

CSize CKLVPaintManagerTheme1::DrawControlPopupParent(CDC* pDC, CKLVControlFace* pControlFace, BOOL bDraw) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    if (!bDraw) return DrawPopupItemText(pDC, pControl, FALSE);
    CKLVCommandBar* pBar = pControl->GetParent();
    const CRect rc = pControl->GetRect();
    const int nType = pControl->GetType();
    const BOOL bTwoColumns = pBar && pBar->IsDoubleGripper();
    const CSize szIcon = GetControlIconSize(pControl);
    const int g = std::max<int>(szIcon.cx + 4, m_nTextHeight + 4);
    int nGutter = bTwoColumns ? 2 * g : g;
    if (nType == CKLVControl::typeLabel && !m_bLabelIconColumn) nGutter = 0;

    if (pControl->m_bHiddenCommand && rc.left < nGutter)
        FillPopupGutter(pDC, rc.left - 1, rc.top, nGutter + 1, rc.Height(), TRUE);
    if (nType == CKLVControl::typeLabel) {
        if (pBar && !pBar->IsGripperVisible()) nGutter = 0;
        FillLabelBack(pDC, CRect(rc.left > nGutter ? rc.left : rc.left + nGutter + 1, rc.top, rc.right, rc.bottom));
    } else {
        DrawRectangle(pDC, rc, pControl->GetSelected(), FALSE, EnabledOf(pControl), FALSE, FALSE,
                      CKLVCommandBar::barTypePopup, CKLVCommandBar::barPopup);
    }
    DrawPopupIconCell(pDC, pControl, g, bTwoColumns);
    pDC->SetTextColor(GetControlTextColor(pControl));
    pDC->SetBkMode(TRANSPARENT);
    if (KLVTheme::IsPopupType(nType)) {
        if (nType == CKLVControl::typeSplitButtonPopup) DrawSplitPopupDivider(pDC, pControl);
        DrawSubmenuArrow(pDC, pControl);
    }
    return DrawPopupItemText(pDC, pControl, TRUE);
}

void CKLVPaintManagerTheme1::DrawSplitPopupDivider(CDC* pDC, CKLVControl* pControl) {
    const CRect rc = pControl->GetRect();
    const int w = m_nSplitButtonPopupWidth;
    const BOOL bSelected = pControl->GetSelected() != 0, bEnabled = EnabledOf(pControl) != 0;
    if (bSelected && pControl->GetPopuped() && bEnabled) {
        FillFrame(pDC, CRect(rc.right - w, rc.top, rc.right, rc.bottom), 32, 33);
        return;
    }
    const COLORREF clr = !bEnabled ? GetControlTextColor(pControl) : GetThemeColor(bSelected ? 32 : COLOR_BTNSHADOW);
    VerticalLine(pDC, rc.right - w, rc.top + 1, rc.bottom - 1, clr);
}

void CKLVPaintManagerTheme1::DrawSubmenuArrow(CDC* pDC, CKLVControl* pControl) {
    const CRect rc = pControl->GetRect();
    const int cy = rc.CenterPoint().y;
    const BOOL bOpenSplit = pControl->GetType() == CKLVControl::typeSplitButtonPopup && EnabledOf(pControl) &&
                            pControl->GetSelected() && pControl->GetPopuped();
    DrawTriangle(pDC, CPoint(rc.right - 11, cy - 3), CPoint(rc.right - 8, cy), CPoint(rc.right - 11, cy + 3),
                 bOpenSplit ? GetThemeColor(47) : GetControlTextColor(pControl));
}

CSize CKLVPaintManagerTheme1::DrawControlComboBox(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw) {
    if (!bDraw) return CKLVPaintManager::DrawControlComboBox(pDC, pControl, FALSE);
    {
        CKLVFontDC font(pDC, &m_fontRegular);
        CKLVPaintManager::DrawControlComboBox(pDC, pControl, TRUE);
    }
    CRect rcBox = pControl->GetRect();
    rcBox.left += pControl->m_nLabelWidth;
    CRect rcButton(rcBox.right - pControl->m_nThumbWidth, rcBox.top, rcBox.right, rcBox.bottom);
    const int nSelected = pControl->GetSelected(), nEnabled = pControl->GetEnabled();
    const BOOL bDropped = pControl->GetPopuped();
    const BOOL bOnPopup = KLVTheme::IsOnPopupBar(pControl);
    if (nEnabled) {
        FillFrame(pDC, CRect(rcBox.left + 1, rcBox.top + 1, rcButton.left, rcBox.bottom - 1), COLOR_WINDOW, COLOR_WINDOW);
        if (nSelected) {
            FillFrame(pDC, rcBox, 32, COLOR_WINDOW);
            DrawRectangle(pDC, rcButton, nSelected, bDropped, nEnabled, FALSE, FALSE, BarTypeOf(pControl),
                          BarPositionOf(pControl));
            rcButton.DeflateRect(1, 1);
        } else {
            rcButton.DeflateRect(1, 1);
            if (bOnPopup) {
                Draw3dRect(pDC, rcBox, 53, 53);
                FillFrame(pDC, rcButton, COLOR_WINDOW, 53);
            } else {
                Draw3dRect(pDC, rcButton, COLOR_WINDOW, COLOR_WINDOW);
            }
        }
    } else {
        FillFrame(pDC, CRect(rcBox.left + 1, rcBox.top, rcBox.right, rcBox.bottom),
                  IsKeyboardSelected(nSelected) ? 32 : 40, COLOR_BTNFACE);
        rcButton.DeflateRect(1, 1);
    }
    {
        CKLVFontDC font(pDC, &m_fontRegular);
        KLVTheme::DrawComboFieldText(pDC, pControl, rcBox);
    }
    const int nArrow = !nEnabled ? 40 : bDropped ? 47 : nSelected ? 45 : 46;
    DrawComboExpandMark(pDC, rcButton, GetThemeColor(nArrow));
    return CSize(0, 0);
}

CSize CKLVPaintManagerTheme1::DrawControlEdit(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw) {
    const CSize sz = CKLVPaintManager::DrawControlEdit(pDC, pControl, bDraw);
    if (!bDraw) return sz;
    CRect rcBox = pControl->GetRect();
    rcBox.left += pControl->m_nLabelWidth;
    const int nSelected = pControl->GetSelected(), nEnabled = pControl->GetEnabled();
    const CRect rcSpin = KLVTheme::SpinRectOf(pControl);
    if (!nEnabled) {
        FillFrame(pDC, CRect(rcBox.left + 1, rcBox.top, rcBox.right, rcBox.bottom),
                  IsKeyboardSelected(nSelected) ? 32 : 40, COLOR_BTNFACE);
    } else {
        const int nRight = rcSpin.IsRectEmpty() ? 2 : 18;
        FillFrame(pDC, CRect(rcBox.left + 1, rcBox.top + 1, rcBox.right - nRight, rcBox.bottom - 1), -1, COLOR_WINDOW);
        if (nSelected)
            Draw3dRect(pDC, rcBox, 32, 32);
        else if (KLVTheme::IsOnPopupBar(pControl))
            Draw3dRect(pDC, rcBox, 53, 53);
    }
    if (rcSpin.IsRectEmpty()) return CSize(0, 0);
    const int yMid = rcSpin.top + rcSpin.Height() / 2;
    const CRect rcUp(rcSpin.left, rcSpin.top, rcSpin.right, yMid), rcDown(rcSpin.left, yMid, rcSpin.right, rcSpin.bottom);
    if (nEnabled && nSelected) {
        FillFrame(pDC, rcSpin, -1, 31);
        const int nPressed = pControl->GetPressed();
        if (nPressed == 3 || nPressed == 4) FillFrame(pDC, nPressed == 3 ? rcUp : rcDown, -1, 33);
        VerticalLine(pDC, rcSpin.left, rcSpin.top, rcSpin.bottom, GetThemeColor(32));
        HorizontalLine(pDC, rcSpin.left, yMid, rcSpin.right, GetThemeColor(32));
    } else if (nEnabled) {
        Draw3dRect(pDC, rcSpin, COLOR_WINDOW, COLOR_WINDOW);
    }
    KLVTheme::DrawSpinArrows(pDC, rcUp, rcDown, GetThemeColor(nEnabled ? 18 : 17));
    return CSize(0, 0);
}

void CKLVPaintManagerTheme1::DrawListBoxBox(CDC* pDC, CKLVControl* pControl, CRect rc, BOOL bSelected) {
    const CRect rcBox(rc.right - rc.Width() / 2, rc.top + 2, rc.right - 2, rc.bottom - 2);
    FillFrame(pDC, rcBox, bSelected ? 32 : COLOR_BTNFACE, COLOR_WINDOW);
    if (pControl->GetType() != CKLVControl::typeComboBox) return;
    const CRect rcButton(rcBox.right - rcBox.Height(), rcBox.top, rcBox.right, rcBox.bottom);
    if (bSelected)
        DrawRectangle(pDC, rcButton, TRUE, FALSE, TRUE, FALSE, FALSE, CKLVCommandBar::barTypePopup,
                      CKLVCommandBar::barPopup);
    else
        FillFrame(pDC, rcButton, -1, COLOR_BTNFACE);
    DrawComboExpandMark(pDC, rcButton, GetThemeColor(bSelected ? 45 : 46));
}

CSize CKLVPaintManagerTheme1::DrawListBoxControl(CDC* pDC, CKLVControlFace* pControlFace, CRect rc, BOOL bSelected,
                                                 BOOL bEnabled, CKLVControlFace*) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    const CSize szIcon = GetAutoIconSize(FALSE);
    const int nCell = std::max<int>(szIcon.cx + 4, m_nTextHeight + 4);
    const CSize sz(rc.Width(), std::max<int>(szIcon.cy + 6, m_nTextHeight));
    if (!pDC) return sz;
    FillFrame(pDC, rc, -1, 41);
    FillPopupGutter(pDC, rc.left, rc.top, nCell, rc.Height(), FALSE);
    if (bSelected)
        DrawRectangle(pDC, rc, TRUE, FALSE, bEnabled, FALSE, FALSE, CKLVCommandBar::barTypePopup,
                      CKLVCommandBar::barPopup);
    const int nType = pControl->GetType(), nStyle = pControl->GetStyle();
    const BOOL bIcon = nStyle == CKLVControl::styleIcon || nStyle == CKLVControl::styleIconAndCaption ||
                       (nStyle == CKLVControl::styleAutomatic && nType != CKLVControl::typePopup);
    if (CKLVImageManagerIcon* pImage = bIcon ? pControl->GetImage(szIcon.cx) : nullptr)
        DrawImage(pDC, CPoint(rc.left + (nCell - szIcon.cx) / 2, rc.top + (rc.Height() - szIcon.cy) / 2), szIcon, pImage,
                  bSelected, FALSE, TRUE, FALSE, FALSE, FALSE);
    const COLORREF clrText = GetThemeColor(bSelected ? 45 : 44);
    {
        CKLVFontDC font(pDC, &m_fontRegular, clrText);
        pDC->SetBkMode(TRANSPARENT);
        CRect rcText(rc.left + nCell + 8, rc.top, rc.right, rc.bottom);
        pDC->DrawText(pControl->GetCaption(), rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    const int c = rc.CenterPoint().y;
    if (KLVTheme::IsPopupType(nType))
        DrawTriangle(pDC, CPoint(rc.right - 12, c - 5), CPoint(rc.right - 7, c), CPoint(rc.right - 12, c + 5), clrText);
    if (nType == CKLVControl::typeSplitButtonPopup)
        VerticalLine(pDC, rc.right - 20, rc.top, rc.bottom, GetThemeColor(bSelected ? 32 : COLOR_BTNSHADOW));
    if (nType == CKLVControl::typeEdit || nType == CKLVControl::typeComboBox) DrawListBoxBox(pDC, pControl, rc, bSelected);
    return sz;
}
