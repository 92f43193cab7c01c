// The painting back end of a command bar: an off-screen image of the whole bar that repaints
// only what was invalidated, and six-frame fades of redrawn rectangles from their old look to
// their new one on the bar's timer.
#pragma once

#include "classlib/GdiObject.h"
#include "classlib/Geometry.h"

#include <memory>
#include <vector>

class CDC;
class CKLVCommandBar;

// A 32-bit top-down DIB section with its pixels.
class CKLVDibImage {
public:
    CKLVDibImage(HDC hdc, CSize sz);
    ~CKLVDibImage();
    CKLVDibImage(const CKLVDibImage&) = delete;
    CKLVDibImage& operator=(const CKLVDibImage&) = delete;

    HBITMAP GetHandle() const { return m_hBitmap; }
    BYTE* GetBits() const { return m_pBits; }
    size_t GetByteCount() const { return static_cast<size_t>(m_sz.cx) * m_sz.cy * 4; }
    BOOL IsValid() const { return m_hBitmap && m_pBits; }
    // Copies (bTo FALSE: from) the DC's rectangle into the image.
    void CopyFrom(HDC hdcSource, CPoint ptSource);
    void CopyTo(HDC hdcTarget, CPoint ptTarget) const;

private:
    HBITMAP m_hBitmap = nullptr;
    BYTE* m_pBits = nullptr;
    CSize m_sz;
};

class CKLVCommandBarAnimation {
public:
    enum { nSteps = 6, nFrameInterval = 50 };

    struct Item {
        std::unique_ptr<CKLVDibImage> pNew;
        std::unique_ptr<CKLVDibImage> pOld;
        CRect rc;
        int nStep = 1;
        std::vector<CRect> excluded;
    };

    explicit CKLVCommandBarAnimation(CKLVCommandBar* pBar) : m_pBar(pBar) {}
    virtual ~CKLVCommandBarAnimation() { RemoveAll(); }
    CKLVCommandBarAnimation(const CKLVCommandBarAnimation&) = delete;
    CKLVCommandBarAnimation& operator=(const CKLVCommandBarAnimation&) = delete;

    void Redraw(LPCRECT lpRect, BOOL bAnimate);
    void OnPaint(CDC* pPaintDC, CRect rcPaint);
    void OnAnimationTimer();
    void RemoveAll();
    void OnDestroy();

    // The alpha of a frame: step * 255 / 6 for steps 1 to 5.
    static int FrameAlpha(int nStep) { return nStep * 255 / nSteps; }
    const std::vector<std::unique_ptr<Item>>& GetItems() const { return m_items; }
    BOOL HasCache() const { return m_bmpCache.GetSafeHandle() != nullptr; }
    BOOL IsTimerRunning() const { return m_bTimerRunning; }

    CKLVCommandBar* m_pBar;
    CBitmap m_bmpCache;
    BOOL m_bDirty = FALSE;
    BOOL m_bTimerRunning = FALSE;
    BOOL m_bAnimation = FALSE;
    BOOL m_bDoubleBuffer = FALSE;

private:
    BOOL IsCacheUsed() const;
    CSize GetCacheSize() const;
    void DrawFrame(HDC hdc, Item& item);
    void DropItemsInside(const CRect& rc);
    void StartFade(HDC hdcWindow, HDC hdcNew, HDC hdcCache, const CRect& rc);

    std::vector<std::unique_ptr<Item>> m_items;
};
