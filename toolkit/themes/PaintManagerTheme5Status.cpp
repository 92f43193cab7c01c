// Theme 5's status bar, MDI workspace and menu-bar text.
#include "toolkit/themes/PaintManagerTheme5.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/themes/ThemeResourceImage.h"

#include <algorithm>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

}  // namespace

COLORREF CKLVPaintManagerTheme5::GetRectangleTextColor(BOOL bSelected, BOOL bPressed, int nEnabled, BOOL bChecked,
                                                       BOOL bPopuped, int nBarType, int nBarPosition) {
    if (nBarType == CKLVCommandBar::barTypeMenuBar && nEnabled && !bSelected && !bPressed && !bChecked && !bPopuped)
        return m_clrMenuBarText;
    return CKLVPaintManagerTheme2::GetRectangleTextColor(bSelected, bPressed, nEnabled, bChecked, bPopuped, nBarType,
                                                         nBarPosition);
}

void CKLVPaintManagerTheme5::FillStatusBar(CDC* pDC, CKLVStatusBarFace* pBar) {
    CRect rc;
    pBar->GetFaceRect(&rc);
    pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, m_clrStatusBarShadow);
    FillGradient(pDC, CRect(rc.left, rc.top + 1, rc.right, rc.top + 9), m_grcStatusBarTop, FALSE);
    FillGradient(pDC, CRect(rc.left, rc.top + 9, rc.right, rc.bottom), m_grcStatusBarBottom, FALSE);
}

void CKLVPaintManagerTheme5::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) {
    if (bGripperPane) return;
    const int h = rc.Height() - 2;
    pDC->FillSolidRect(rc.right - 1, rc.top, 1, h, GetThemeColor(39));
    pDC->FillSolidRect(rc.right, rc.top, 1, h, kWhite);
}

void CKLVPaintManagerTheme5::DrawStatusBarGripper(CDC* pDC, CRect rc) {
    // Three dots in the lowest row, two above, one on top, each with a white shadow.
    for (int nRow = 0; nRow < 3; ++nRow)
        for (int nColumn = 0; nColumn < 3 - nRow; ++nColumn) {
            const int x = rc.right - 3 - 4 * nColumn, y = rc.bottom - 3 - 4 * nRow;
            pDC->FillSolidRect(x + 1, y + 1, 2, 2, kWhite);
            pDC->FillSolidRect(x, y, 2, 2, GetThemeColor(39));
        }
}

void CKLVPaintManagerTheme5::FillWorkspace(CDC* pDC, CRect rc) {
    const int nSaved = pDC->SaveDC();
    pDC->IntersectClipRect(rc);
    const KLVSkinPart top = {"WORKSPACETOPLEFT", 0, 1};
    const CSize szTop = KLVSkinPartSize(top);
    KLVDrawSkinPart(pDC, top, CRect(rc.left, rc.top, rc.left + std::max<int>(rc.Width(), szTop.cx), rc.top + szTop.cy),
                    CRect(szTop.cx - 1, 0, 0, 0));
    const int y = rc.top + szTop.cy, nFirst = (rc.bottom - y) * 2 / 3;
    CKLVGradientColorValue grcUpper, grcLower;
    grcUpper.SetStandardValue(m_clrWorkspaceTop, m_clrWorkspaceMiddle);
    grcLower.SetStandardValue(m_clrWorkspaceMiddle, m_clrWorkspaceBottom);
    FillGradient(pDC, CRect(rc.left, y, rc.right, y + nFirst), grcUpper, FALSE);
    FillGradient(pDC, CRect(rc.left, y + nFirst, rc.right, rc.bottom), grcLower, FALSE);
    pDC->RestoreDC(nSaved);
}
