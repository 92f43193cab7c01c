// Owners of plain GDI and icon handles for the scope of a function.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

struct CKLVGdiObjectDeleter {
    void operator()(HGDIOBJ hObject) const { ::DeleteObject(hObject); }
};
struct CKLVIconDeleter {
    void operator()(HICON hIcon) const { ::DestroyIcon(hIcon); }
};
struct CKLVDCDeleter {
    void operator()(HDC hDC) const { ::DeleteDC(hDC); }
};

using CKLVGdiObjectOwner = std::unique_ptr<void, CKLVGdiObjectDeleter>;
using CKLVBitmapOwner = std::unique_ptr<std::remove_pointer_t<HBITMAP>, CKLVGdiObjectDeleter>;
using CKLVIconOwner = std::unique_ptr<std::remove_pointer_t<HICON>, CKLVIconDeleter>;
using CKLVMemoryDCOwner = std::unique_ptr<std::remove_pointer_t<HDC>, CKLVDCDeleter>;

// Both bitmaps of an icon (GetIconInfo), deleted with the record, and its hot spot.
struct CKLVIconBitmaps {
    explicit CKLVIconBitmaps(HICON hIcon) {
        ICONINFO info = {};
        m_bValid = hIcon && ::GetIconInfo(hIcon, &info);
        m_color.reset(info.hbmColor);
        m_mask.reset(info.hbmMask);
        m_ptHotSpot = {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
    }
    BOOL m_bValid;
    POINT m_ptHotSpot;
    CKLVBitmapOwner m_color;
    CKLVBitmapOwner m_mask;
};

// A memory DC with one bitmap selected for the scope.
class CKLVBitmapDC {
public:
    CKLVBitmapDC(HDC hCompatible, HBITMAP hBitmap) : m_dc(::CreateCompatibleDC(hCompatible)) {
        if (m_dc && hBitmap) m_hOld = ::SelectObject(m_dc.get(), hBitmap);
    }
    ~CKLVBitmapDC() {
        if (m_hOld) ::SelectObject(m_dc.get(), m_hOld);
    }
    CKLVBitmapDC(const CKLVBitmapDC&) = delete;
    CKLVBitmapDC& operator=(const CKLVBitmapDC&) = delete;
    HDC Get() const { return m_dc.get(); }
    explicit operator bool() const { return m_dc && m_hOld; }

private:
    CKLVMemoryDCOwner m_dc;
    HGDIOBJ m_hOld = nullptr;
};
