// Skin data from a resource module: a colour table written as INI text in a "TEXTFILE"
// resource, and bitmap or PNG images by name, drawn whole, by part of a strip, or stretched with
// fixed sizing margins (a nine-part grid).
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Dc.h"
#include "classlib/Map.h"
#include "toolkit/common/CriticalSection.h"

// One image of a skin. Reference counted; the manager's cache holds one reference.
class CKLVResourceImage : public CCmdTarget {
public:
    enum { drawAlphaKey = 1 };   // DrawImage flag: the key colour becomes transparent alpha

    CKLVResourceImage() = default;
    ~CKLVResourceImage() override;

    // Alpha images are kept premultiplied, as the alpha blend expects them.
    BOOL LoadBitmapResource(HMODULE hModule, LPCTSTR lpszResourceName);
    int GetWidth() const;
    int GetHeight() const;
    BOOL IsAlpha() const { return m_bAlpha; }
    HBITMAP GetBitmap() const { return m_hBitmap; }
    // Part n of a vertical strip of nCount parts; empty without a bitmap or parts.
    CRect GetPartRect(int nPart, int nCount) const;
    BOOL DrawPart(CDC* pDC, const CRect& rcDest, CDC& dcSrc, const CRect& rcSrc) const;
    // The nine-part draw; margins are left, top, right, bottom in the source.
    void DrawImage(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcSizingMargins = CRect(0, 0, 0, 0));
    void DrawImage(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcSizingMargins,
                   COLORREF clrTransparent);
    void DrawImage(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcSizingMargins,
                   COLORREF clrTransparent, DWORD dwFlags);
    // Alpha images only: the bitmap becomes its horizontal mirror (or back).
    void Mirror();

    BOOL m_bAutoMirror = FALSE;
    CKLVCriticalSection* m_pLock = nullptr;   // the manager's, set when the image is cached

private:
    void DrawKeyedAlpha(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcSizingMargins,
                        COLORREF clrTransparent);

    HBITMAP m_hBitmap = nullptr;
    BOOL m_bAlpha = FALSE;
    BOOL m_bMirrored = FALSE;
};

class CKLVResourceImages {
public:
    // The application's own module, the default INI name, the module not owned.
    CKLVResourceImages();
    ~CKLVResourceImages();
    CKLVResourceImages(const CKLVResourceImages&) = delete;
    CKLVResourceImages& operator=(const CKLVResourceImages&) = delete;

    // FALSE when no INI resource could be found or loaded; cached images are released.
    BOOL SetResourceModule(HMODULE hModule, LPCTSTR lpszIniFileName = nullptr, BOOL bOwnsModule = FALSE);
    BOOL IsValid() const { return m_pIniStart != nullptr; }
    HMODULE GetHandle() const { return m_hModule; }

    // Section and key compare without case; the value comes back upper-cased, "" when absent.
    CString GetIniValue(LPCTSTR lpszSection, LPCTSTR lpszKey) const;
    // "red green blue" as C integers (low byte of each); -1 when absent or empty.
    COLORREF LookupColor(LPCTSTR lpszSection, LPCTSTR lpszKey) const;
    // The cached image of that name, loaded on first request; null when it cannot be.
    CKLVResourceImage* GetImage(LPCTSTR lpszImageFile);

private:
    CKLVResourceImage* CreateImage(LPCTSTR lpszImageFile);
    void RemoveAll();

    CString m_strIniFileName;
    HMODULE m_hModule = nullptr;
    LPCWSTR m_pIniStart = nullptr;
    LPCWSTR m_pIniEnd = nullptr;
    BOOL m_bOwnsModule = FALSE;
    CKLVCriticalSection m_cs;
    CMapStringToPtr m_mapImages;
};

// The process-wide manager, made on first use.
CKLVResourceImages* KLVResourceImages();
