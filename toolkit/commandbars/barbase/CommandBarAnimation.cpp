#include "toolkit/commandbars/barbase/CommandBarAnimation.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/GdiHandles.h"

#include <algorithm>
#include <cstring>

CKLVDibImage::CKLVDibImage(HDC hdc, CSize sz) : m_sz(sz) {
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = sz.cx;
    bmi.bmiHeader.biHeight = -sz.cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    m_hBitmap = ::CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    m_pBits = static_cast<BYTE*>(pBits);
}

CKLVDibImage::~CKLVDibImage() {
    if (m_hBitmap) ::DeleteObject(m_hBitmap);
}

void CKLVDibImage::CopyFrom(HDC hdcSource, CPoint ptSource) {
    CKLVBitmapDC dc(hdcSource, m_hBitmap);
    if (dc) ::BitBlt(dc.Get(), 0, 0, m_sz.cx, m_sz.cy, hdcSource, ptSource.x, ptSource.y, SRCCOPY);
    ::GdiFlush();
}

void CKLVDibImage::CopyTo(HDC hdcTarget, CPoint ptTarget) const {
    CKLVBitmapDC dc(hdcTarget, m_hBitmap);
    if (dc) ::BitBlt(hdcTarget, ptTarget.x, ptTarget.y, m_sz.cx, m_sz.cy, dc.Get(), 0, 0, SRCCOPY);
}

namespace {

void DrawBar(CKLVCommandBar* pBar, HDC hdc, const CRect& rcClip) {
    const int nSaved = ::SaveDC(hdc);
    ::IntersectClipRect(hdc, rcClip.left, rcClip.top, rcClip.right, rcClip.bottom);
    pBar->DrawCommandBar(CDC::FromHandle(hdc), rcClip);
    ::RestoreDC(hdc, nSaved);
}

}  // namespace

BOOL CKLVCommandBarAnimation::IsCacheUsed() const { return m_bAnimation || m_bDoubleBuffer; }

CSize CKLVCommandBarAnimation::GetCacheSize() const { return m_bmpCache.GetBitmapSize(); }

void CKLVCommandBarAnimation::RemoveAll() {
    m_items.clear();
    if (m_bTimerRunning && m_pBar->GetSafeHwnd()) m_pBar->KillTimer(CKLVCommandBar::timerAnimation);
    m_bTimerRunning = FALSE;
}

void CKLVCommandBarAnimation::OnDestroy() {
    m_bmpCache.DeleteObject();
    RemoveAll();
}

void CKLVCommandBarAnimation::DropItemsInside(const CRect& rc) {
    m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                                 [&](const std::unique_ptr<Item>& pItem) {
                                     CRect rcUnion;
                                     rcUnion.UnionRect(rc, pItem->rc);
                                     return rcUnion == rc;
                                 }),
                  m_items.end());
}

void CKLVCommandBarAnimation::Redraw(LPCRECT lpRect, BOOL bAnimate) {
    HWND hWnd = m_pBar->GetSafeHwnd();
    if (!hWnd) return;
    if (!lpRect) {
        m_bmpCache.DeleteObject();
        m_bDirty = TRUE;
        ::InvalidateRect(hWnd, nullptr, FALSE);
        return;
    }
    if (!HasCache() || !m_bAnimation) {
        m_bDirty = TRUE;
        ::InvalidateRect(hWnd, lpRect, FALSE);
        return;
    }
    const CRect rc(*lpRect);
    const CSize szClient = GetCacheSize();
    CClientDC dcWindow(m_pBar);
    const HDC hdcWindow = dcWindow.GetSafeHdc();
    CKLVBitmapOwner bmpNew(::CreateCompatibleBitmap(hdcWindow, szClient.cx, szClient.cy));
    CKLVBitmapDC dcNew(hdcWindow, bmpNew.get());
    CKLVBitmapDC dcCache(hdcWindow, static_cast<HBITMAP>(m_bmpCache.GetSafeHandle()));
    if (!dcNew || !dcCache) return;
    DrawBar(m_pBar, dcNew.Get(), rc);
    if (bAnimate) {
        StartFade(hdcWindow, dcNew.Get(), dcCache.Get(), rc);
    } else {
        DropItemsInside(rc);
        for (auto& pItem : m_items) {
            CRect rcCommon;
            if (rcCommon.IntersectRect(rc, pItem->rc)) pItem->excluded.push_back(rc);
        }
        ::BitBlt(hdcWindow, rc.left, rc.top, rc.Width(), rc.Height(), dcNew.Get(), rc.left, rc.top, SRCCOPY);
    }
    ::BitBlt(dcCache.Get(), rc.left, rc.top, rc.Width(), rc.Height(), dcNew.Get(), rc.left, rc.top, SRCCOPY);
}

void CKLVCommandBarAnimation::StartFade(HDC hdcWindow, HDC hdcNew, HDC hdcCache, const CRect& rc) {
    auto pItem = std::make_unique<Item>();
    pItem->rc = rc;
    pItem->pNew = std::make_unique<CKLVDibImage>(hdcWindow, rc.Size());
    pItem->pOld = std::make_unique<CKLVDibImage>(hdcWindow, rc.Size());
    if (!pItem->pNew->IsValid() || !pItem->pOld->IsValid()) return;
    pItem->pNew->CopyFrom(hdcNew, rc.TopLeft());
    pItem->pOld->CopyFrom(hdcCache, rc.TopLeft());
    if (std::memcmp(pItem->pNew->GetBits(), pItem->pOld->GetBits(), pItem->pNew->GetByteCount()) == 0) return;
    DropItemsInside(rc);
    m_items.push_back(std::move(pItem));
    if (!m_bTimerRunning) {
        m_pBar->SetTimer(CKLVCommandBar::timerAnimation, nFrameInterval, nullptr);
        m_bTimerRunning = TRUE;
    }
    // The cache takes the final look only after the first frame has read the old one.
    DrawFrame(hdcWindow, *m_items.back());
}

void CKLVCommandBarAnimation::DrawFrame(HDC hdc, Item& item) {
    const CRect& rc = item.rc;
    if (item.nStep >= nSteps) {
        CKLVBitmapDC dcCache(hdc, static_cast<HBITMAP>(m_bmpCache.GetSafeHandle()));
        if (dcCache) ::BitBlt(hdc, rc.left, rc.top, rc.Width(), rc.Height(), dcCache.Get(), rc.left, rc.top, SRCCOPY);
    } else {
        const int nAlpha = FrameAlpha(item.nStep);
        CKLVDibImage frame(hdc, rc.Size());
        if (frame.IsValid()) {
            const BYTE* pNew = item.pNew->GetBits();
            const BYTE* pOld = item.pOld->GetBits();
            BYTE* pOut = frame.GetBits();
            for (size_t i = 0, n = frame.GetByteCount(); i < n; ++i)
                pOut[i] = static_cast<BYTE>((pNew[i] * nAlpha + pOld[i] * (255 - nAlpha)) / 256);
            frame.CopyTo(hdc, rc.TopLeft());
        }
    }
    ++item.nStep;
}

void CKLVCommandBarAnimation::OnAnimationTimer() {
    HWND hWnd = m_pBar->GetSafeHwnd();
    if (!hWnd) return;
    CClientDC dc(m_pBar);
    const HDC hdc = dc.GetSafeHdc();
    for (auto& pItem : m_items) {
        for (const CRect& rcExcluded : pItem->excluded)
            ::ExcludeClipRect(hdc, rcExcluded.left, rcExcluded.top, rcExcluded.right, rcExcluded.bottom);
        DrawFrame(hdc, *pItem);
        ::SelectClipRgn(hdc, nullptr);
    }
    m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                                 [](const std::unique_ptr<Item>& pItem) { return pItem->nStep > nSteps; }),
                  m_items.end());
    if (m_items.empty()) RemoveAll();
}

void CKLVCommandBarAnimation::OnPaint(CDC* pPaintDC, CRect rcPaint) {
    HWND hWnd = m_pBar->GetSafeHwnd();
    HDC hdc = pPaintDC->GetSafeHdc();
    CRect rcClient;
    ::GetClientRect(hWnd, &rcClient);
    if (HasCache() && GetCacheSize() != rcClient.Size()) m_bmpCache.DeleteObject();
    if (!IsCacheUsed()) {
        CKLVBufferDC dcBuffer(hdc, rcPaint);
        m_pBar->DrawCommandBar(&dcBuffer, rcPaint);
        m_items.clear();
    } else if (HasCache() && !m_bDirty) {
        CKLVBitmapDC dcCache(hdc, static_cast<HBITMAP>(m_bmpCache.GetSafeHandle()));
        if (dcCache) ::BitBlt(hdc, 0, 0, rcClient.Width(), rcClient.Height(), dcCache.Get(), 0, 0, SRCCOPY);
    } else {
        if (!HasCache()) {
            m_bmpCache.Attach(::CreateCompatibleBitmap(hdc, rcClient.Width(), rcClient.Height()));
            rcPaint = rcClient;
        }
        CKLVBitmapDC dcCache(hdc, static_cast<HBITMAP>(m_bmpCache.GetSafeHandle()));
        if (dcCache) {
            DrawBar(m_pBar, dcCache.Get(), rcPaint);
            ::BitBlt(hdc, rcPaint.left, rcPaint.top, rcPaint.Width(), rcPaint.Height(), dcCache.Get(), rcPaint.left,
                     rcPaint.top, SRCCOPY);
        }
        m_items.clear();
    }
    m_bDirty = FALSE;
}
