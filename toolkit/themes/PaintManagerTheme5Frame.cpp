// Theme 5's themed frame: border columns and bottom, the caption band from the skin's images
// with icon, caption buttons and title, the status bar continued into the border, and the
// window region with rounded corners.
#include "toolkit/themes/PaintManagerTheme5.h"

#include "classlib/FrameWnd.h"
#include "toolkit/themes/FrameIntegration.h"
#include "toolkit/themes/ThemeResourceImage.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/ResourceImages.h"

#include <algorithm>

namespace {

const CRect kCaptionMargins(0, 5, 0, 3);
const UINT kCaptionTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
const int kIconLeft = 7;
const int kTitleGap = 2;
const int kTitleMinRoom = 5;
const UINT kDragIconTimeout = 100;

// The caption button glyph's command names; any other command shows the restore glyph.
struct GlyphName {
    UINT nId;
    LPCTSTR lpszName;
};
const GlyphName kGlyphNames[] = {{SC_CLOSE, "CLOSE"}, {SC_MINIMIZE, "MINIMIZE"}, {SC_MAXIMIZE, "MAXIMIZE"}};

int GlyphSize(int nWidth) { return nWidth < 15 ? 13 : nWidth < 27 ? 17 : 23; }

// A strip of a part cut from its left or right edge, drawn over rcDest.
void DrawPartEdge(CDC* pDC, LPCTSTR lpszImage, int nPart, int nCount, BOOL bRight, int nWidth, CRect rcDest,
                  CRect rcMargins) {
    CKLVResourceImage* pImage = KLVSkinImage(lpszImage);
    if (!pImage || nWidth <= 0) return;
    CRect rcSrc = pImage->GetPartRect(nPart, nCount);
    if (rcSrc.IsRectEmpty()) return;
    if (bRight)
        rcSrc.left = std::max<int>(rcSrc.left, rcSrc.right - nWidth);
    else
        rcSrc.right = std::min<int>(rcSrc.right, rcSrc.left + nWidth);
    pImage->DrawImage(pDC, rcDest, rcSrc, rcMargins);
}

BOOL HasSystemIcon(CWnd* pFrame) {
    return pFrame && pFrame->GetSafeHwnd() && (pFrame->GetStyle() & WS_SYSMENU) &&
           !(pFrame->GetExStyle() & WS_EX_TOOLWINDOW);
}

// Icons keep their orientation on a right-to-left DC.
void DrawSmallIcon(CDC* pDC, HICON hIcon, CPoint pt, CSize sz) {
    const DWORD dwLayout = ::GetLayout(pDC->m_hDC);
    if (dwLayout & LAYOUT_RTL) ::SetLayout(pDC->m_hDC, dwLayout | LAYOUT_BITMAPORIENTATIONPRESERVED);
    ::DrawIconEx(pDC->m_hDC, pt.x, pt.y, hIcon, sz.cx, sz.cy, 0, nullptr, DI_NORMAL);
    if (dwLayout & LAYOUT_RTL) ::SetLayout(pDC->m_hDC, dwLayout);
}

// Border columns from the outside in: colour 0, 1, 2, then 3 for the rest of the border width.
void DrawBorderColumns(CDC* pDC, const COLORREF clr[4], int nBorder, int w, int nTop, int nBottom,
                              int nInnerBottom) {
    for (int nColumn = 0; nColumn < nBorder; ++nColumn) {
        const COLORREF c = clr[std::min(nColumn, 3)];
        const int nEnd = nColumn == 0 ? nBottom : nInnerBottom;
        if (nEnd <= nTop) continue;
        pDC->FillSolidRect(nColumn, nTop, 1, nEnd - nTop, c);
        pDC->FillSolidRect(w - 1 - nColumn, nTop, 1, nEnd - nTop, c);
    }
}

}  // namespace

void CKLVPaintManagerTheme5::DrawFrame(CDC* pDC, CKLVFrameIntegration* pFrame) {
    CWnd* pWnd = pFrame->GetFrame();
    if (!pWnd) return;
    CRect rcWindow;
    pWnd->GetWindowRect(&rcWindow);
    const int w = rcWindow.Width(), h = rcWindow.Height(), b = pFrame->GetBorderSize();
    const int nCaption = pFrame->GetCaptionHeight();
    const BOOL bActive = pFrame->IsActive();
    const COLORREF* clr = bActive ? m_clrBorderActive : m_clrBorderInactive;
    int nStatusBar = 0;
    const BOOL bStatusBar = pFrame->GetStatusBarHeight(nStatusBar) && nStatusBar > 0;
    const int nStatusTop = h - b - nStatusBar;
    DrawBorderColumns(pDC, clr, b, w, nCaption, h, bStatusBar ? nStatusTop : h);

    const COLORREF clrBottom = !bActive ? m_clrBorderInactive[0] : pWnd->IsZoomed() ? clr[3] : clr[0];
    pDC->FillSolidRect(0, h - 1, w, 1, clrBottom);
    if (b > 1) pDC->FillSolidRect(1, h - b, w - 2, b - 1, clr[3]);

    const int nPart = bActive ? 0 : 1;
    if (!pFrame->IsCaptionStandard()) {
        DrawPartEdge(pDC, "FRAMETOPLEFT", nPart, 2, FALSE, b, CRect(0, 0, b, nCaption), kCaptionMargins);
        DrawPartEdge(pDC, "FRAMETOPRIGHT", nPart, 2, TRUE, b, CRect(w - b, 0, w, nCaption), kCaptionMargins);
    } else {
        DrawCaptionBand(pDC, pFrame, CRect(0, 0, w, nCaption));
    }
    if (bStatusBar) DrawStatusBarBorders(pDC, pFrame, CRect(0, nStatusTop, w, nStatusTop + nStatusBar), h);
}

void CKLVPaintManagerTheme5::DrawCaptionBand(CDC* pTargetDC, CKLVFrameIntegration* pFrame, CRect rcBand) {
    CKLMemDC dc(pTargetDC, rcBand);
    CDC* pDC = dc.IsValid() ? static_cast<CDC*>(&dc) : pTargetDC;
    const int nPart = pFrame->IsActive() ? 0 : 1, b = pFrame->GetBorderSize();
    const int nLeft = KLVSkinPartSize({"FRAMETOPLEFT", nPart, 2}).cx;
    const int nRight = KLVSkinPartSize({"FRAMETOPRIGHT", nPart, 2}).cx;
    const int h = rcBand.Height(), w = rcBand.Width();
    KLVDrawSkinPart(pDC, {"FRAMETOPLEFT", nPart, 2}, CRect(0, 0, nLeft, h), kCaptionMargins);
    KLVDrawSkinPart(pDC, {"FRAMETOPRIGHT", nPart, 2}, CRect(w - nRight, 0, w, h), kCaptionMargins);
    KLVDrawSkinPart(pDC, {"FRAMETOPCENTER", nPart, 2}, CRect(nLeft, 0, w - nRight, h), kCaptionMargins);

    CWnd* pWnd = pFrame->GetFrame();
    int nTextLeft = kIconLeft;
    if (HICON hIcon = GetFrameSmallIcon(pWnd)) {
        const CSize szIcon(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
        DrawSmallIcon(pDC, hIcon, CPoint(kIconLeft, (b - 1) + (h - (b - 1) - szIcon.cy) / 2), szIcon);
        nTextLeft = szIcon.cx + 12;
    }
    int nTextRight = w - b;
    for (const KLVFrameCaptionButton& button : pFrame->GetCaptionButtons()) {
        DrawFrameCaptionButton(pDC, button.rc, button.nId, button.bSelected, button.bPressed,
                               button.bEnabled && pFrame->IsActive());
        nTextRight = std::min<int>(nTextRight, button.rc.left - b);
    }
    DrawFrameCaptionText(pDC, CRect(nTextLeft, b, nTextRight, h - 3), pWnd, pFrame->IsActive(), pFrame);
}

void CKLVPaintManagerTheme5::DrawStatusBarBorders(CDC* pDC, CKLVFrameIntegration* pFrame, CRect rcRow, int h) {
    const int b = pFrame->GetBorderSize(), w = rcRow.Width();
    DrawPartEdge(pDC, "STATUSBARLIGHT", 0, 1, FALSE, b - 1, CRect(1, rcRow.top, b, rcRow.bottom), CRect(0, 0, 0, 0));
    DrawPartEdge(pDC, "STATUSBARDARK", 0, 1, TRUE, b - 1, CRect(w - b, rcRow.top, w - 1, rcRow.bottom),
                 CRect(0, 0, 0, 0));
    if (b <= 3) return;
    const int nPart = pFrame->IsActive() ? 0 : 1;
    const CSize szLeft = KLVSkinPartSize({"FRAMEBOTTOMLEFT", nPart, 2});
    const CSize szRight = KLVSkinPartSize({"FRAMEBOTTOMRIGHT", nPart, 2});
    KLVDrawSkinPartAt(pDC, {"FRAMEBOTTOMLEFT", nPart, 2}, CPoint(0, h - szLeft.cy));
    KLVDrawSkinPartAt(pDC, {"FRAMEBOTTOMRIGHT", nPart, 2}, CPoint(w - szRight.cx, h - szRight.cy));
}

CString CKLVPaintManagerTheme5::FrameCaptionGlyphImage(UINT nId, int nWidth) {
    LPCTSTR lpszName = "RESTORE";
    for (const GlyphName& glyph : kGlyphNames)
        if (glyph.nId == nId) lpszName = glyph.lpszName;
    CString strImage;
    strImage.Format("FRAMECAPTION%s%d", lpszName, GlyphSize(nWidth));
    return strImage;
}

HICON CKLVPaintManagerTheme5::GetFrameSmallIcon(CWnd* pFrame) {
    if (!HasSystemIcon(pFrame)) return nullptr;
    HWND hWnd = pFrame->m_hWnd;
    auto hIcon = reinterpret_cast<HICON>(::SendMessageA(hWnd, WM_GETICON, ICON_SMALL, 0));
    if (!hIcon) hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(hWnd, GCLP_HICONSM));
    if (!hIcon && !(pFrame->GetExStyle() & WS_EX_DLGMODALFRAME)) {
        DWORD_PTR dwResult = 0;
        if (::SendMessageTimeoutA(hWnd, WM_QUERYDRAGICON, 0, 0, SMTO_ABORTIFHUNG, kDragIconTimeout, &dwResult))
            hIcon = reinterpret_cast<HICON>(dwResult);
    }
    return hIcon ? hIcon : ::LoadIcon(nullptr, IDI_WINLOGO);
}

HICON CKLVPaintManagerTheme5::GetFrameLargeIcon(CWnd* pFrame) {
    if (!HasSystemIcon(pFrame)) return nullptr;
    auto hIcon = reinterpret_cast<HICON>(::SendMessageA(pFrame->m_hWnd, WM_GETICON, ICON_BIG, 0));
    return hIcon ? hIcon : reinterpret_cast<HICON>(::GetClassLongPtrA(pFrame->m_hWnd, GCLP_HICON));
}

HRGN CKLVPaintManagerTheme5::CalcFrameRegion(CKLVFrameIntegration* pFrame, int cx, int cy) {
    CWnd* pWnd = pFrame->GetFrame();
    if (pWnd && pWnd->IsZoomed()) return nullptr;
    int nStatusBar = 0;
    const BOOL bRoundBottom = pFrame->GetStatusBarHeight(nStatusBar) && pFrame->GetBorderSize() > 3;
    std::vector<CRect> rows = {{4, 0, cx - 4, 1}, {2, 1, cx - 2, 2}, {1, 2, cx - 1, 3}, {1, 3, cx - 1, 4},
                               {0, 4, cx, cy - 4}};
    if (bRoundBottom) {
        rows.insert(rows.end(), {{1, cy - 4, cx - 1, cy - 2}, {2, cy - 2, cx - 2, cy - 1}, {4, cy - 1, cx - 4, cy}});
    } else {
        rows.push_back({0, cy - 4, cx, cy});
    }
    HRGN hRegion = ::CreateRectRgn(0, 0, 0, 0);
    for (const CRect& rc : rows) {
        HRGN hRow = ::CreateRectRgnIndirect(&rc);
        ::CombineRgn(hRegion, hRegion, hRow, RGN_OR);
        ::DeleteObject(hRow);
    }
    return hRegion;
}

void CKLVPaintManagerTheme5::DrawFrameCaptionButton(CDC* pDC, CRect rc, UINT nId, BOOL bSelected, BOOL bPressed,
                                                    BOOL bActive) {
    const int nState = !bActive ? 3 : bPressed && bSelected ? 2 : bPressed || bSelected ? 1 : 0;
    if (bSelected || bPressed)
        KLVDrawSkinPart(pDC, {"FRAMECAPTIONBUTTON", bPressed && bSelected ? 1 : 0, 2}, rc, CRect(3, 3, 3, 3), skinKeyed);
    const CString strGlyph = FrameCaptionGlyphImage(nId, rc.Width());
    KLVDrawSkinPartCentred(pDC, {strGlyph, nState, 5}, rc);
}

void CKLVPaintManagerTheme5::DrawFrameCaptionText(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive,
                                                  CKLVFrameIntegration*) {
    CString strText;
    pFrame->GetWindowText(strText);
    const COLORREF clrText = bActive ? m_clrCaptionTextActive : m_clrCaptionTextInactive;
    CFont* pOldFont = pDC->SelectObject(&m_fontCaption);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(clrText);
    auto* pFrameWnd = dynamic_cast<CFrameWnd*>(pFrame);
    const CString strTitle = pFrameWnd ? pFrameWnd->GetTitle() : CString();
    const BOOL bTwoRuns = pFrameWnd && (pFrame->GetStyle() & FWS_PREFIXTITLE) && !strTitle.IsEmpty() &&
                          !(pFrame->GetExStyle() & WS_EX_LAYOUTRTL) && strText.GetLength() >= strTitle.GetLength() &&
                          strText.Right(strTitle.GetLength()) == strTitle;
    if (!bTwoRuns) {
        pDC->DrawText(strText, rc, kCaptionTextFormat);
    } else {
        // The document part first; the frame's own title after it, in its own colour.
        const CString strDocument = strText.Left(strText.GetLength() - strTitle.GetLength());
        pDC->DrawText(strDocument, rc, kCaptionTextFormat);
        const int x = rc.left + pDC->GetTextExtent(strDocument).cx + kTitleGap;
        if (x < rc.right - kTitleMinRoom) {
            pDC->SetTextColor(bActive ? m_clrCaptionTextActiveTitle : clrText);
            pDC->DrawText(strTitle, CRect(x, rc.top, rc.right, rc.bottom), kCaptionTextFormat);
        }
    }
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOldFont);
}
