// The control dispatch and the state and geometry every theme asks of a control: its background
// and text colour by state, its split part, its custom size, the popup icon column.
#include "toolkit/commandbars/PaintManager.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/CommandBar.h"
#include "toolkit/commandbars/controlbase/Control.h"

#include <algorithm>

namespace {

int BarType(const CKLVControl* pControl) {
    return pControl->GetParent() ? pControl->GetParent()->GetType() : CKLVCommandBar::barTypeNormal;
}

int BarPosition(const CKLVControl* pControl) {
    return pControl->GetParent() ? pControl->GetParent()->GetPosition() : CKLVCommandBar::barTop;
}

}  // namespace

CSize CKLVPaintManager::DrawControl(CDC* pDC, CKLVControl* pControl, BOOL bDraw) {
    switch (pControl->GetType()) {
    case CKLVControl::typeEdit: return DrawControlEdit(pDC, pControl, bDraw);
    case CKLVControl::typeComboBox: return DrawControlComboBox(pDC, pControl, bDraw);
    default: break;
    }
    if (BarType(pControl) == CKLVCommandBar::barTypePopup) return DrawControlPopupParent(pDC, pControl, bDraw);
    return DrawControlToolBarParent(pDC, pControl, bDraw);
}

void CKLVPaintManager::DrawControlEntry(CDC* pDC, CKLVControl* pControl) {
    DrawRectangle(pDC, pControl->GetRect(), pControl->GetSelected(), pControl->GetPressed(), pControl->GetEnabled(),
                  pControl->GetChecked(), pControl->GetPopuped(), BarType(pControl), BarPosition(pControl));
}

COLORREF CKLVPaintManager::GetControlTextColor(CKLVControl* pControl) {
    int nEnabled = pControl->GetEnabled();
    if (pControl->GetType() == CKLVControl::typeSplitButtonPopup) {
        // A split button's drop-down part may be enabled apart from its command part.
        const int nOff = pControl->GetStyle() == CKLVControl::styleCaptionBelow ? 3 : 4;
        nEnabled = nEnabled == 0 || nEnabled == nOff ? 0 : 1;
    }
    return GetRectangleTextColor(pControl->GetSelected(), pControl->GetPressed(), nEnabled, pControl->GetChecked(),
                                 pControl->GetPopuped(), BarType(pControl), BarPosition(pControl));
}

COLORREF CKLVPaintManager::GetControlEditBackColor(CKLVControl* pControl) {
    return GetThemeColor(pControl->GetEnabled() ? COLOR_WINDOW : COLOR_BTNFACE);
}

CRect CKLVPaintManager::GetSplitButtonCommandRect(CKLVControl* pControl) {
    CRect rc = pControl->GetRect();
    if (BarType(pControl) == CKLVCommandBar::barTypePopup) {
        rc.right -= m_nSplitButtonPopupWidth;
    } else if (pControl->GetStyle() == CKLVControl::styleCaptionBelow) {
        if (IsVerticalDockPosition(BarPosition(pControl)))
            rc.left += GetSplitDropDownWidth();
        else
            rc.bottom -= GetSplitDropDownWidth();
    } else {
        rc.right -= m_nSplitButtonDropDownWidth + 1;
    }
    return rc;
}

void CKLVPaintManager::GetCustomControlSize(CSize& sz, CKLVControl* pControl, int cx, int cy, BOOL bVertical) const {
    const int nWidth = pControl->GetWidth() > 0 ? pControl->GetWidth() : cx;
    const int nHeight = pControl->GetHeight() > 0 ? pControl->GetHeight() : cy;
    sz = bVertical ? CSize(pControl->GetHeight() > 0 ? pControl->GetHeight() : cx,
                           pControl->GetWidth() > 0 ? pControl->GetWidth() : cy)
                   : CSize(nWidth, nHeight);
}

CSize CKLVPaintManager::GetControlIconSize(CKLVControl* pControl) const {
    CKLVCommandBar* pBar = pControl->GetParent();
    if (!pBar) return CSize(16, 16);
    if (pControl->GetStyle() == CKLVControl::styleCaptionBelow && pBar->GetType() != CKLVCommandBar::barTypePopup)
        return pBar->GetLargeIconSize(m_bAutoResizeIcons);
    return pBar->GetIconSize();
}

CRect CKLVPaintManager::GetCommandBarBorders(CKLVCommandBarFace*) {
    return CRect(2, 2, 2, 2);
}

CSize CKLVPaintManager::GetIconAreaSize(CKLVCommandBarFace* pBar) {
    const CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
    return CSize(std::max<int>(m_nTextHeight + 4, szIcon.cx + 4), std::max<int>(m_nTextHeight, szIcon.cy + 6));
}

int CKLVPaintManager::GetPopupBarGripperWidth(CKLVCommandBarFace* pBar) {
    if (!pBar || pBar->GetType() != CKLVCommandBarFace::barTypePopup) return 0;
    return GetIconAreaSize(pBar).cx * (pBar->IsDoubleGripper() ? 2 : 1) + 1;
}
