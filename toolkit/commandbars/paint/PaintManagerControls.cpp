// The control dispatch and the state and geometry every theme asks of a control: its background
// and text colour by state, its split part, its custom size, the popup icon column.
#include "toolkit/commandbars/paint/PaintManager.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/paint/CommandBarFace.h"
#include "toolkit/commandbars/paint/ControlFace.h"

#include <algorithm>

namespace {

int BarType(const CKLVControlFace* pControl) {
    return pControl->GetBarFace() ? pControl->GetBarFace()->GetType() : CKLVCommandBarFace::barTypeNormal;
}

int BarPosition(const CKLVControlFace* pControl) {
    return pControl->GetBarFace() ? pControl->GetBarFace()->GetPosition() : CKLVCommandBarFace::barTop;
}

}  // namespace

CSize CKLVPaintManager::DrawControl(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw) {
    switch (pControl->GetType()) {
    case CKLVControlFace::typeEdit: return DrawControlEdit(pDC, pControl, bDraw);
    case CKLVControlFace::typeComboBox: return DrawControlComboBox(pDC, pControl, bDraw);
    default: break;
    }
    if (BarType(pControl) == CKLVCommandBarFace::barTypePopup) return DrawControlPopupParent(pDC, pControl, bDraw);
    return DrawControlToolBarParent(pDC, pControl, bDraw);
}

void CKLVPaintManager::DrawControlEntry(CDC* pDC, CKLVControlFace* pControl) {
    DrawRectangle(pDC, pControl->GetRect(), pControl->GetSelected(), pControl->GetPressed(), pControl->GetEnabled(),
                  pControl->GetChecked(), pControl->GetPopuped(), BarType(pControl), BarPosition(pControl));
}

COLORREF CKLVPaintManager::GetControlTextColor(CKLVControlFace* pControl) {
    int nEnabled = pControl->GetEnabled();
    if (pControl->GetType() == CKLVControlFace::typeSplitButtonPopup) {
        // A split button's drop-down part may be enabled apart from its command part.
        const int nOff = pControl->GetStyle() == CKLVControlFace::styleCaptionBelow ? 3 : 4;
        nEnabled = nEnabled == 0 || nEnabled == nOff ? 0 : 1;
    }
    return GetRectangleTextColor(pControl->GetSelected(), pControl->GetPressed(), nEnabled, pControl->GetChecked(),
                                 pControl->GetPopuped(), BarType(pControl), BarPosition(pControl));
}

COLORREF CKLVPaintManager::GetControlEditBackColor(CKLVControlFace* pControl) {
    return GetThemeColor(pControl->GetEnabled() ? COLOR_WINDOW : COLOR_BTNFACE);
}

CRect CKLVPaintManager::GetSplitButtonCommandRect(CKLVControlFace* pControl) {
    CRect rc = pControl->GetRect();
    if (BarType(pControl) == CKLVCommandBarFace::barTypePopup) {
        rc.right -= m_nSplitButtonPopupWidth;
    } else if (pControl->GetStyle() == CKLVControlFace::styleCaptionBelow) {
        if (IsVerticalDockPosition(BarPosition(pControl)))
            rc.left += GetSplitDropDownWidth();
        else
            rc.bottom -= GetSplitDropDownWidth();
    } else {
        rc.right -= m_nSplitButtonDropDownWidth + 1;
    }
    return rc;
}

void CKLVPaintManager::GetCustomControlSize(CSize& sz, CKLVControlFace* pControl, int cx, int cy,
                                            BOOL bVertical) const {
    const int nWidth = pControl->GetWidth() > 0 ? pControl->GetWidth() : cx;
    const int nHeight = pControl->GetHeight() > 0 ? pControl->GetHeight() : cy;
    sz = bVertical ? CSize(pControl->GetHeight() > 0 ? pControl->GetHeight() : cx,
                           pControl->GetWidth() > 0 ? pControl->GetWidth() : cy)
                   : CSize(nWidth, nHeight);
}

CSize CKLVPaintManager::GetControlIconSize(CKLVControlFace* pControl) const {
    CKLVCommandBarFace* pBar = pControl->GetBarFace();
    if (!pBar) return CSize(16, 16);
    if (pControl->GetStyle() == CKLVControlFace::styleCaptionBelow &&
        pBar->GetType() != CKLVCommandBarFace::barTypePopup)
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
