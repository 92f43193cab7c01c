// The small drawing helpers the themes draw with (frames and fills by colour index, one-pixel
// lines, clipped gradients, opaque alpha for GDI drawing on composited frames) and the popup
// animations, which work on the same 32-bit frames.
#include "toolkit/commandbars/paint/PaintManager.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/paint/CommandBarFace.h"
#include "toolkit/commandbars/paint/ControlFace.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"

#include <algorithm>
#include <vector>

namespace {

// A top-down 32-bit DIB section of the size, in a memory DC, with direct access to its pixels.
class CDibFrame {
public:
    explicit CDibFrame(CSize sz) : m_sz(sz) {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = sz.cx;
        bmi.bmiHeader.biHeight = -sz.cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        m_bitmap.Attach(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
        m_pBits = static_cast<BYTE*>(pBits);
        m_dc.CreateCompatibleDC(nullptr);
        m_hOld = m_dc.SelectObject(static_cast<HGDIOBJ>(m_bitmap));
    }
    ~CDibFrame() { m_dc.SelectObject(m_hOld); }
    CDibFrame(const CDibFrame&) = delete;
    CDibFrame& operator=(const CDibFrame&) = delete;

    BOOL IsValid() const { return m_pBits != nullptr; }
    int GetPixelCount() const { return m_sz.cx * m_sz.cy; }
    void CopyFrom(CDC* pDC, CPoint pt) {
        m_dc.BitBlt(0, 0, m_sz.cx, m_sz.cy, pDC, pt.x, pt.y, SRCCOPY);
        ::GdiFlush();
    }
    void CopyTo(CDC* pDC, CPoint pt) { pDC->BitBlt(pt.x, pt.y, m_sz.cx, m_sz.cy, &m_dc, 0, 0, SRCCOPY); }

    CSize m_sz;
    CDC m_dc;
    CBitmap m_bitmap;
    BYTE* m_pBits = nullptr;
    HGDIOBJ m_hOld = nullptr;
};

}  // namespace

void CKLVPaintManager::Rectangle(CDC* pDC, CRect rc, int nPen, int nBrush) {
    if (nBrush != -1) pDC->FillSolidRect(rc, GetThemeColor(nBrush));
    if (nPen != -1 && nPen != nBrush) Draw3dRect(pDC, rc, nPen, nPen);
}

void CKLVPaintManager::Draw3dRect(CDC* pDC, CRect rc, int nTopLeft, int nBottomRight) {
    pDC->Draw3dRect(rc, GetThemeColor(nTopLeft), GetThemeColor(nBottomRight));
}

void CKLVPaintManager::HorizontalLine(CDC* pDC, int x0, int y, int x1, COLORREF clr) {
    pDC->FillSolidRect(x0, y, x1 - x0, 1, clr);
}

void CKLVPaintManager::VerticalLine(CDC* pDC, int x, int y0, int y1, COLORREF clr) {
    pDC->FillSolidRect(x, y0, 1, y1 - y0, clr);
}

void CKLVPaintManager::Line(CDC* pDC, int x0, int y0, int x1, int y1) {
    pDC->MoveTo(x0, y0);
    pDC->LineTo(x1, y1);
}

void CKLVPaintManager::LineByIndex(CDC* pDC, int x0, int y0, int x1, int y1, int nColor) {
    CKLVPenDC pen(pDC->GetSafeHdc(), GetThemeColor(nColor));
    Line(pDC, x0, y0, x1, y1);
}

void CKLVPaintManager::GradientFill(CDC* pDC, CRect rc, COLORREF clrFrom, COLORREF clrTo, BOOL bHorizontal,
                                    CRect rcClip) {
    GetDrawHelpers()->GradientFillClipped(pDC, rc, clrFrom, clrTo, bHorizontal, rcClip);
}

void CKLVPaintManager::SetOpaqueAlpha(CDC* pDC, CRect rc) {
    if (rc.IsRectEmpty()) return;
    CDibFrame frame(rc.Size());
    if (!frame.IsValid()) return;
    frame.CopyFrom(pDC, rc.TopLeft());
    for (int i = 0; i < frame.GetPixelCount(); ++i) frame.m_pBits[4 * i + 3] = 255;
    frame.CopyTo(pDC, rc.TopLeft());
}

void CKLVPaintManager::AlphaBlendBits(const BYTE* pOld, const BYTE* pNew, BYTE* pOut, int nCount, int nAlpha) {
    for (int i = 0; i < nCount; ++i) {
        for (int c = 0; c < 3; ++c) {
            const int k = 4 * i + c;
            pOut[k] = static_cast<BYTE>(((255 - nAlpha) * pOld[k] + nAlpha * pNew[k]) / 256);
        }
    }
}

void CKLVPaintManager::AnimatePopup(CDC* pDestDC, CDC* pSrcDC, CRect rc, int nType) {
    const int n = m_nAnimationSteps;
    if (n < 1) return;
    const int w = rc.Width(), h = rc.Height();
    const DWORD dwStep = static_cast<DWORD>(m_nAnimationTime / n);
    switch (nType) {
    case 2:
        for (int k = 1; k <= n; ++k) {
            const int cx = k * w / n, cy = k * h / n;
            pDestDC->BitBlt(rc.left, rc.top, cx, cy, pSrcDC, rc.right - cx, rc.bottom - cy, SRCCOPY);
            ::Sleep(dwStep);
        }
        break;
    case 3:
        for (int k = 1; k <= n; ++k) {
            const int cy = k * h / n;
            pDestDC->BitBlt(rc.left, rc.top, w, cy, pSrcDC, rc.left, rc.bottom - cy, SRCCOPY);
            ::Sleep(dwStep);
        }
        break;
    case 4: {
        if (rc.IsRectEmpty()) return;
        CDibFrame frameOld(rc.Size()), frameNew(rc.Size()), frameOut(rc.Size());
        if (!frameOld.IsValid() || !frameNew.IsValid() || !frameOut.IsValid()) return;
        frameOld.CopyFrom(pDestDC, rc.TopLeft());
        frameNew.CopyFrom(pSrcDC, rc.TopLeft());
        for (int k = 1; k < n; ++k) {
            const DWORD dwStart = ::GetTickCount();
            AlphaBlendBits(frameOld.m_pBits, frameNew.m_pBits, frameOut.m_pBits, frameOut.GetPixelCount(), 255 * k / n);
            frameOut.CopyTo(pDestDC, rc.TopLeft());
            while (::GetTickCount() - dwStart < dwStep) ::Sleep(1);
        }
        break;
    }
    default: break;
    }
}

void CKLVPaintManager::AnimateExpanding(CKLVCommandBarFace* pBar, CDC* pDestDC, CDC* pSrcDC, BOOL bDownward) {
    struct Band {
        CRect rc;
        BOOL bHidden;
    };
    std::vector<Band> bands;
    for (int i = 0; i < pBar->GetControlCount(); ++i) {
        const CKLVControlFace* pControl = pBar->GetControlFace(i);
        if (pControl->GetHideFlags() != 0) continue;
        if (bands.empty() || bands.back().bHidden != pControl->IsHiddenCommand())
            bands.push_back({pControl->GetRect(), pControl->IsHiddenCommand()});
        else
            bands.back().rc.UnionRect(bands.back().rc, pControl->GetRect());
    }
    if (bands.empty()) return;
    if (!bDownward) std::reverse(bands.begin(), bands.end());
    const int n = std::max(m_nAnimationSteps, 1);
    for (int k = 1; k <= n; ++k) {
        int y = bDownward ? bands.front().rc.top : bands.front().rc.bottom;
        for (const Band& band : bands) {
            const int h = band.rc.Height();
            const int hDest = band.bHidden ? h * k / n : h;
            if (!bDownward) y -= hDest;
            pDestDC->StretchBlt(band.rc.left, y, band.rc.Width(), hDest, pSrcDC, band.rc.left, band.rc.top,
                                band.rc.Width(), h, SRCCOPY);
            if (bDownward) y += hDest;
        }
        ::Sleep(static_cast<DWORD>(m_nAnimationTime / n));
    }
}
