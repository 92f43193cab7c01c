// Drawing the bar, the customize insert mark, and the bar as a customize drop target.
#include "toolkit/commandbars/barbase/CommandBar.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"

#include <cstdlib>

namespace {

constexpr int kMarkThickness = 6;
constexpr int kInsertMarkColor = 15;

void DrawStrip(CDC* pDC, int x, int y, int cx, int cy) {
    ::PatBlt(pDC->GetSafeHdc(), x, y, cx, cy, PATINVERT);
}

}  // namespace

void CKLVCommandBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
    CKLVPaintManager* pPaintManager = GetPaintManager();
    FillCommandBarEntry(pDC);
    if (IsGripperVisible() || m_barPosition == barFloating) pPaintManager->DrawCommandBarCaption(pDC, this, TRUE);
    pDC->SetBkMode(TRANSPARENT);
    BOOL bFirst = TRUE;
    CKLVControl* pCustomizeSelected = IsCustomizeMode() ? GetCustomizeSelected() : nullptr;
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        if (pControl->GetParent() != this || !pControl->IsVisible()) continue;
        if (pControl->GetBeginGroup() && !bFirst) pPaintManager->DrawSeparator(pDC, this, pControl, TRUE);
        bFirst = FALSE;
        CRect rcCommon;
        if (!rcCommon.IntersectRect(rcClipBox, pControl->GetRect())) continue;
        CFont* pOldFont = pDC->SelectObject(pPaintManager->GetCommandBarFont(this, pControl->IsItemDefault()));
        pControl->Draw(pDC);
        pDC->SelectObject(pOldFont);
        if (pControl == pCustomizeSelected) {
            CRect rc = pControl->GetRect();
            pDC->Draw3dRect(rc, 0, 0);
            rc.DeflateRect(1, 1);
            pDC->Draw3dRect(rc, 0, 0);
        }
    }
    if (IsCustomizeMode() && !m_rcMarker.IsRectEmpty()) DrawInsertMark(pDC);
}

void CKLVCommandBar::DrawInsertMark(CDC* pDC) const {
    CBrush brush;
    brush.CreateSolidBrush(GetPaintManager()->GetThemeColor(kInsertMarkColor));
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    const CRect& rc = m_rcMarker;
    if (m_bVerticalMarker) {
        // An I-beam lying down: end strokes at the left and right, the beam across the middle.
        DrawStrip(pDC, rc.left, rc.top, 1, rc.Height());
        DrawStrip(pDC, rc.left + 1, rc.top + 1, 1, rc.Height() - 2);
        DrawStrip(pDC, rc.left + 2, rc.top + 2, rc.Width() - 4, 2);
        DrawStrip(pDC, rc.right - 1, rc.top, 1, rc.Height());
        DrawStrip(pDC, rc.right - 2, rc.top + 1, 1, rc.Height() - 2);
    } else {
        DrawStrip(pDC, rc.left, rc.top, rc.Width(), 1);
        DrawStrip(pDC, rc.left + 1, rc.top + 1, rc.Width() - 2, 1);
        DrawStrip(pDC, rc.left + 2, rc.top + 2, 2, rc.Height() - 4);
        DrawStrip(pDC, rc.left, rc.bottom - 1, rc.Width(), 1);
        DrawStrip(pDC, rc.left + 1, rc.bottom - 2, rc.Width() - 2, 1);
    }
    pDC->SelectObject(pOldBrush);
}

int CKLVCommandBar::FindInsertControl(CPoint point, BOOL& bBefore, CRect& rcMark) const {
    const BOOL bVertical = IsVerticalBar();
    int nFound = -1, nBestDistance = INT_MAX;
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        if (!pControl->IsVisible()) continue;
        const CRect rc = pControl->GetRect();
        if (m_bMultiLine && !(bVertical ? (point.x >= rc.left && point.x < rc.right)
                                        : (point.y >= rc.top && point.y < rc.bottom)))
            continue;
        const int nMiddle = bVertical ? rc.CenterPoint().y : rc.CenterPoint().x;
        const int nCursor = bVertical ? point.y : point.x;
        if (std::abs(nCursor - nMiddle) < nBestDistance) {
            nBestDistance = std::abs(nCursor - nMiddle);
            nFound = i;
            bBefore = nCursor < nMiddle;
        }
    }
    if (nFound < 0) {
        CRect rcClient;
        ::GetClientRect(GetSafeHwnd(), &rcClient);
        rcMark.SetRect(rcClient.left + 2, rcClient.top + 2, rcClient.left + 2 + kMarkThickness, rcClient.bottom - 2);
        bBefore = FALSE;
        return -1;
    }
    const CRect rc = GetControl(nFound)->GetRect();
    if (bVertical) {
        const int y = bBefore ? rc.top : rc.bottom;
        rcMark.SetRect(rc.left, y - kMarkThickness / 2, rc.right, y + kMarkThickness / 2);
    } else {
        const int x = bBefore ? rc.left : rc.right;
        rcMark.SetRect(x - kMarkThickness / 2, rc.top, x + kMarkThickness / 2, rc.bottom);
    }
    return nFound;
}

DWORD CKLVCommandBar::OnCustomizeDragEnter(CKLVControl* pDataObject, CPoint point) {
    m_rcMarker.SetRectEmpty();
    return OnCustomizeDragOver(pDataObject, point);
}

void CKLVCommandBar::OnCustomizeDragLeave() {
    if (m_rcMarker.IsRectEmpty()) return;
    m_rcMarker.SetRectEmpty();
    Redraw();
}

DWORD CKLVCommandBar::OnCustomizeDragOver(CKLVControl* pDataObject, CPoint point) {
    if (!IsCustomizable() || !GetSafeHwnd() || !::IsWindowVisible(GetSafeHwnd())) return DROPEFFECT_NONE;
    BOOL bBefore = FALSE;
    CRect rcMark;
    FindInsertControl(point, bBefore, rcMark);
    if (CKLVControl* pOver = m_pControls->HitTest(point)) pOver->OnCustomizeDragOver(pDataObject, point);
    DWORD dwEffect = DROPEFFECT_MOVE;
    if (!pDataObject || !pDataObject->IsCustomizeDragOverAvail(this, point, dwEffect)) return DROPEFFECT_NONE;
    if (rcMark != m_rcMarker) {
        m_rcMarker = rcMark;
        m_bVerticalMarker = IsVerticalBar();
        Redraw();
    }
    return dwEffect;
}

void CKLVCommandBar::OnCustomizeDrop(CKLVControl* pDataObject, DWORD& /*dwEffect*/, CPoint point) {
    BOOL bBefore = FALSE;
    CRect rcMark;
    const int nFound = FindInsertControl(point, bBefore, rcMark);
    CKLVControl* pFound = GetControl(nFound);
    if (pFound && pFound == pDataObject) {
        const CPoint ptMoved(point.x - m_ptDragStart.x, point.y - m_ptDragStart.y);
        if (std::abs(ptMoved.x) > 4 || std::abs(ptMoved.y) >= 5) pFound->SetBeginGroup(!bBefore && nFound > 0);
    } else if (pDataObject) {
        SetPopuped(-1);
        SetSelected(-1);
        const int nInsert = nFound < 0 ? GetControlCount() : nFound + (bBefore ? 0 : 1);
        CKLVControl* pCopy = m_pControls->AddClone(pDataObject, nInsert, TRUE);
        if (pCopy && bBefore && pFound && pFound->GetBeginGroup()) {
            pCopy->SetBeginGroup(TRUE);
            pFound->SetBeginGroup(FALSE);
        }
        if (CKLVCommandBarsLink* pLink = GetCommandBarsLink()) pLink->SetDragControl(pCopy);
    }
    OnRecalcLayout();
    m_rcMarker.SetRectEmpty();
    Redraw();
}
