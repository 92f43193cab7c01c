// One command image at one width: the normal image, the hot, checked, pressed and disabled
// images the application supplies, and the faded, shadow and disabled images derived on demand.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Dc.h"
#include "classlib/Geometry.h"

#include <utility>

class CKLVImageManagerIconSet;

// A classic icon or a 32-bit alpha bitmap (straight alpha), with the premultiplied copy that
// drawing makes. Move-only; a handle that owns its images destroys them when cleared or
// destroyed, so a handle made with bOwns = TRUE and passed to a setter is consumed by it.
class CKLVImageManagerIconHandle {
public:
    CKLVImageManagerIconHandle() noexcept = default;
    explicit CKLVImageManagerIconHandle(HICON hIcon, BOOL bOwns = FALSE) noexcept : m_hIcon(hIcon), m_bOwns(bOwns) {}
    explicit CKLVImageManagerIconHandle(HBITMAP hBitmap, BOOL bOwns = FALSE) noexcept
        : m_hBitmap(hBitmap), m_bOwns(bOwns) {}
    CKLVImageManagerIconHandle(CKLVImageManagerIconHandle&& other) noexcept { *this = std::move(other); }
    CKLVImageManagerIconHandle& operator=(CKLVImageManagerIconHandle&& other) noexcept;
    ~CKLVImageManagerIconHandle() { Clear(); }

    BOOL IsEmpty() const { return !m_hIcon && !m_hBitmap; }
    BOOL IsAlpha() const { return m_hBitmap != nullptr; }
    HICON GetIcon() const { return m_hIcon; }
    HBITMAP GetBitmap() const { return m_hBitmap; }
    BOOL OwnsImages() const { return m_bOwns; }
    // The icon's size, else the bitmap's, else 0 by 0.
    CSize GetExtent() const;
    // The premultiplied copy of the alpha bitmap, made on first use; null when it cannot be.
    HBITMAP PreMultiply();

    // Makes this handle an owning copy of another (CopyIcon, or a new DIB section).
    void CopyHandle(const CKLVImageManagerIconHandle& source);
    void Clear();

private:
    HICON m_hIcon = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HBITMAP m_hCache = nullptr;   // always owned
    BOOL m_bOwns = FALSE;
};

class CKLVImageManagerIcon : public CCmdTarget {
public:
    enum { nDefaultHeight = 15 };

    CKLVImageManagerIcon(CKLVImageManagerIconSet* pIconSet, UINT nID, int nWidth);
    ~CKLVImageManagerIcon() override;

    // The "Data" form: height, schema, then the normal, disabled, hot, checked and pressed
    // images as pairs of bitmap records.
    void Serialize(CArchive& ar) override;

    CKLVImageManagerIconHandle& GetIcon() { return m_hNormal; }
    CKLVImageManagerIconHandle& GetHotIcon();
    CKLVImageManagerIconHandle& GetCheckedIcon();
    CKLVImageManagerIconHandle& GetPressedIcon();
    CKLVImageManagerIconHandle& GetDisabledIcon(BOOL bCreate = TRUE);
    CKLVImageManagerIconHandle& GetFadedIcon();
    CKLVImageManagerIconHandle& GetShadowIcon();
    // 0 normal, 1 disabled, 2 hot, 3 checked, 4 pressed.
    CKLVImageManagerIconHandle& GetStateIcon(int nState);
    BOOL HasDisabledIcon() const { return !m_hDisabled.IsEmpty() || !m_hDisabledAuto.IsEmpty(); }
    BOOL IsAlpha() const { return m_hNormal.IsAlpha(); }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    UINT GetID() const { return m_nID; }

    // A new normal image clears every other image of this icon and the derived images of its set.
    void SetIcon(const CKLVImageManagerIconHandle& hIcon);
    void SetHotIcon(const CKLVImageManagerIconHandle& hIcon) { SetStateSlot(m_hHot, hIcon); }
    void SetCheckedIcon(const CKLVImageManagerIconHandle& hIcon) { SetStateSlot(m_hChecked, hIcon); }
    void SetPressedIcon(const CKLVImageManagerIconHandle& hIcon) { SetStateSlot(m_hPressed, hIcon); }
    void SetDisabledIcon(const CKLVImageManagerIconHandle& hIcon) { SetStateSlot(m_hDisabled, hIcon); }

    void CreateFadedIcon();
    void CreateShadowIcon();
    // Tinted between the two colours when neither is -1, else grey.
    void CreateDisabledIcon(COLORREF clrLight = COLORREF(-1), COLORREF clrDark = COLORREF(-1));
    // Drops the faded, shadow and generated disabled images.
    void Refresh();

    // A size of 0 means the icon's width, and a height of 0 keeps the icon's proportions.
    void DrawHandle(CDC* pDC, CPoint pt, CKLVImageManagerIconHandle& hIcon, CSize szIcon);
    void DrawScaled(CDC* pDC, CPoint pt, CSize szIcon) { DrawHandle(pDC, pt, m_hNormal, szIcon); }
    void Draw(CDC* pDC, CPoint pt) { DrawHandle(pDC, pt, m_hNormal, CSize(m_nWidth, m_nHeight)); }
    // A single-colour silhouette of a classic icon; alpha images draw nothing.
    void DrawMono(CDC* pDC, CPoint pt, CKLVImageManagerIconHandle& hIcon, CSize szIcon, COLORREF clrBrush);

    // Process-wide settings of the grey disabled image.
    static double m_dDisabledBrightnessFactor;
    static double m_dDisabledAlphaFactor;

    BOOL m_bDrawComposited = FALSE;

private:
    void SetStateSlot(CKLVImageManagerIconHandle& slot, const CKLVImageManagerIconHandle& hIcon);
    CSize DrawSize(CSize szIcon) const;
    void ClearAll();

    UINT m_nID;
    int m_nWidth;
    int m_nHeight = nDefaultHeight;
    CKLVImageManagerIconHandle m_hNormal;
    CKLVImageManagerIconHandle m_hFaded;
    CKLVImageManagerIconHandle m_hShadow;
    CKLVImageManagerIconHandle m_hHot;
    CKLVImageManagerIconHandle m_hChecked;
    CKLVImageManagerIconHandle m_hPressed;
    CKLVImageManagerIconHandle m_hDisabled;
    CKLVImageManagerIconHandle m_hDisabledAuto;
    CKLVImageManagerIconSet* m_pIconSet;
};
