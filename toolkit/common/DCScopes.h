// Scope objects that select a font, pen, brush, bitmap or any GDI object into a DC and put the
// previous one back when they go, and the off-screen buffer copied to its target at the end.
#pragma once

#include "classlib/Dc.h"

class CKLVObjectDC {
public:
    CKLVObjectDC(CDC* pDC, CGdiObject* pObject);
    virtual ~CKLVObjectDC();
    CKLVObjectDC(const CKLVObjectDC&) = delete;
    CKLVObjectDC& operator=(const CKLVObjectDC&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOldObject;
};

// Several SetFont calls in a row still restore the font selected before the first.
class CKLVFontDC {
public:
    CKLVFontDC(CDC* pDC, CFont* pFont);
    CKLVFontDC(CDC* pDC, CFont* pFont, COLORREF clrTextColor);
    virtual ~CKLVFontDC();
    CKLVFontDC(const CKLVFontDC&) = delete;
    CKLVFontDC& operator=(const CKLVFontDC&) = delete;

    void SetFont(CFont* pFont);
    void SetColor(COLORREF clrTextColor);

private:
    CDC* m_pDC;
    CFont* m_pOldFont = nullptr;
    COLORREF m_clrOldTextColor = COLORREF(-1);
};

class CKLVPenDC {
public:
    CKLVPenDC(CDC* pDC, CPen* pPen);
    CKLVPenDC(HDC hDC, COLORREF clrColor);   // a solid pen of width 1, deleted afterwards
    virtual ~CKLVPenDC();
    CKLVPenDC(const CKLVPenDC&) = delete;
    CKLVPenDC& operator=(const CKLVPenDC&) = delete;

private:
    CPen m_pen;
    HDC m_hDC;
    HPEN m_hOldPen;
};

class CKLVBrushDC {
public:
    CKLVBrushDC(HDC hDC, COLORREF clrColor);   // a solid brush, deleted afterwards
    virtual ~CKLVBrushDC();
    CKLVBrushDC(const CKLVBrushDC&) = delete;
    CKLVBrushDC& operator=(const CKLVBrushDC&) = delete;

private:
    CBrush m_brush;
    HDC m_hDC;
    HBRUSH m_hOldBrush;
};

// A memory DC compatible with another (the screen for null) with a bitmap selected.
class CKLVCompatibleDC : public CDC {
public:
    CKLVCompatibleDC(CDC* pDC, CBitmap* pBitmap);
    CKLVCompatibleDC(CDC* pDC, HBITMAP hBitmap);
    ~CKLVCompatibleDC() override;

private:
    HGDIOBJ m_hOldBitmap = nullptr;
};

// Drawing goes to an off-screen bitmap in the target's own coordinates and is copied to the
// target when the buffer goes out of scope.
class CKLVBufferDC : public CDC {
public:
    CKLVBufferDC(HDC hDestDC, const CRect& rcPaint);
    explicit CKLVBufferDC(CPaintDC& paintDC);
    ~CKLVBufferDC() override;

private:
    void Create(int nWidth, int nHeight);

    HDC m_hDestDC;
    CBitmap m_bitmap;
    CRect m_rect;
    HGDIOBJ m_hOldBitmap = nullptr;
};
