// CPoint, CSize and CRect: the Win32 POINT, SIZE and RECT with arithmetic. Each derives from
// its Win32 structure and adds no data, so they pass wherever the structures are expected.
#pragma once

#include "classlib/Object.h"

class CPoint;
class CRect;

class CSize : public SIZE {
public:
    CSize() noexcept { cx = cy = 0; }
    CSize(int initCX, int initCY) noexcept { cx = initCX; cy = initCY; }
    CSize(SIZE initSize) noexcept { *static_cast<SIZE*>(this) = initSize; }
    explicit CSize(POINT initPt) noexcept { cx = initPt.x; cy = initPt.y; }
    explicit CSize(DWORD dwSize) noexcept {
        cx = static_cast<short>(LOWORD(dwSize));
        cy = static_cast<short>(HIWORD(dwSize));
    }

    BOOL operator==(SIZE size) const noexcept { return cx == size.cx && cy == size.cy; }
    BOOL operator!=(SIZE size) const noexcept { return !(*this == size); }
    void operator+=(SIZE size) noexcept { cx += size.cx; cy += size.cy; }
    void operator-=(SIZE size) noexcept { cx -= size.cx; cy -= size.cy; }
    void SetSize(int CX, int CY) noexcept { cx = CX; cy = CY; }

    CSize operator+(SIZE size) const noexcept { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const noexcept { return CSize(cx - size.cx, cy - size.cy); }
    CSize operator-() const noexcept { return CSize(-cx, -cy); }
    CPoint operator+(POINT point) const noexcept;
    CPoint operator-(POINT point) const noexcept;
    CRect operator+(const RECT* lpRect) const noexcept;
    CRect operator-(const RECT* lpRect) const noexcept;
};

class CPoint : public POINT {
public:
    CPoint() noexcept { x = y = 0; }
    CPoint(int initX, int initY) noexcept { x = initX; y = initY; }
    CPoint(POINT initPt) noexcept { *static_cast<POINT*>(this) = initPt; }
    explicit CPoint(SIZE initSize) noexcept { x = initSize.cx; y = initSize.cy; }
    // A packed mouse position (LPARAM or GetMessagePos): signed 16-bit halves.
    explicit CPoint(LPARAM dwPoint) noexcept {
        x = static_cast<short>(LOWORD(dwPoint));
        y = static_cast<short>(HIWORD(dwPoint));
    }

    void Offset(int xOffset, int yOffset) noexcept { x += xOffset; y += yOffset; }
    void Offset(POINT point) noexcept { Offset(point.x, point.y); }
    void Offset(SIZE size) noexcept { Offset(size.cx, size.cy); }
    void SetPoint(int X, int Y) noexcept { x = X; y = Y; }

    BOOL operator==(POINT point) const noexcept { return x == point.x && y == point.y; }
    BOOL operator!=(POINT point) const noexcept { return !(*this == point); }
    void operator+=(SIZE size) noexcept { Offset(size); }
    void operator-=(SIZE size) noexcept { Offset(-size.cx, -size.cy); }
    void operator+=(POINT point) noexcept { Offset(point); }
    void operator-=(POINT point) noexcept { Offset(-point.x, -point.y); }

    CPoint operator+(SIZE size) const noexcept { return CPoint(x + size.cx, y + size.cy); }
    CPoint operator-(SIZE size) const noexcept { return CPoint(x - size.cx, y - size.cy); }
    CPoint operator-() const noexcept { return CPoint(-x, -y); }
    CPoint operator+(POINT point) const noexcept { return CPoint(x + point.x, y + point.y); }
    CSize operator-(POINT point) const noexcept { return CSize(x - point.x, y - point.y); }
    CRect operator+(const RECT* lpRect) const noexcept;
    CRect operator-(const RECT* lpRect) const noexcept;
};

class CRect : public RECT {
public:
    CRect() noexcept { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) noexcept { SetRect(l, t, r, b); }
    CRect(const RECT& srcRect) noexcept { CopyRect(&srcRect); }
    CRect(const RECT* lpSrcRect) noexcept { CopyRect(lpSrcRect); }
    CRect(POINT point, SIZE size) noexcept {
        SetRect(point.x, point.y, point.x + size.cx, point.y + size.cy);
    }
    CRect(POINT topLeft, POINT bottomRight) noexcept {
        SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    }

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    CPoint& TopLeft() noexcept { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() noexcept { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const noexcept { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const noexcept { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }

    // Empty: no area (width or height <= 0). Null: all four coordinates 0.
    BOOL IsRectEmpty() const noexcept { return left >= right || top >= bottom; }
    BOOL IsRectNull() const noexcept { return left == 0 && right == 0 && top == 0 && bottom == 0; }
    // Inside means left <= x < right and top <= y < bottom.
    BOOL PtInRect(POINT point) const noexcept {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }

    void SetRect(int x1, int y1, int x2, int y2) noexcept {
        left = x1; top = y1; right = x2; bottom = y2;
    }
    void SetRect(POINT topLeft, POINT bottomRight) noexcept {
        SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    }
    void SetRectEmpty() noexcept { SetRect(0, 0, 0, 0); }
    void CopyRect(LPCRECT lpSrcRect) noexcept { *static_cast<RECT*>(this) = *lpSrcRect; }
    BOOL EqualRect(LPCRECT lpRect) const noexcept {
        return left == lpRect->left && top == lpRect->top && right == lpRect->right &&
               bottom == lpRect->bottom;
    }

    void InflateRect(int x, int y) noexcept { InflateRect(x, y, x, y); }
    void InflateRect(SIZE size) noexcept { InflateRect(size.cx, size.cy); }
    void InflateRect(LPCRECT lpRect) noexcept {
        InflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    void InflateRect(int l, int t, int r, int b) noexcept {
        left -= l; top -= t; right += r; bottom += b;
    }
    void DeflateRect(int x, int y) noexcept { InflateRect(-x, -y); }
    void DeflateRect(SIZE size) noexcept { InflateRect(-size.cx, -size.cy); }
    void DeflateRect(LPCRECT lpRect) noexcept {
        InflateRect(-lpRect->left, -lpRect->top, -lpRect->right, -lpRect->bottom);
    }
    void DeflateRect(int l, int t, int r, int b) noexcept { InflateRect(-l, -t, -r, -b); }

    void OffsetRect(int x, int y) noexcept { left += x; right += x; top += y; bottom += y; }
    void OffsetRect(POINT point) noexcept { OffsetRect(point.x, point.y); }
    void OffsetRect(SIZE size) noexcept { OffsetRect(size.cx, size.cy); }
    void MoveToX(int x) noexcept { right = Width() + x; left = x; }
    void MoveToY(int y) noexcept { bottom = Height() + y; top = y; }
    void MoveToXY(int x, int y) noexcept { MoveToX(x); MoveToY(y); }
    void MoveToXY(POINT point) noexcept { MoveToXY(point.x, point.y); }
    void NormalizeRect() noexcept;

    // As the Win32 functions: an empty result is set to (0,0,0,0) and returns FALSE.
    BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept;
    BOOL UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept;
    BOOL SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2) noexcept;

    CRect& operator=(const RECT& srcRect) noexcept { CopyRect(&srcRect); return *this; }
    BOOL operator==(const RECT& rect) const noexcept { return EqualRect(&rect); }
    BOOL operator!=(const RECT& rect) const noexcept { return !EqualRect(&rect); }
    void operator+=(POINT point) noexcept { OffsetRect(point); }
    void operator+=(SIZE size) noexcept { OffsetRect(size); }
    void operator+=(LPCRECT lpRect) noexcept { InflateRect(lpRect); }
    void operator-=(POINT point) noexcept { OffsetRect(-point.x, -point.y); }
    void operator-=(SIZE size) noexcept { OffsetRect(-size.cx, -size.cy); }
    void operator-=(LPCRECT lpRect) noexcept { DeflateRect(lpRect); }
    void operator&=(const RECT& rect) noexcept { IntersectRect(this, &rect); }
    void operator|=(const RECT& rect) noexcept { UnionRect(this, &rect); }

    CRect operator+(POINT point) const noexcept { CRect r(*this); r += point; return r; }
    CRect operator-(POINT point) const noexcept { CRect r(*this); r -= point; return r; }
    CRect operator+(SIZE size) const noexcept { CRect r(*this); r += size; return r; }
    CRect operator-(SIZE size) const noexcept { CRect r(*this); r -= size; return r; }
    CRect operator+(LPCRECT lpRect) const noexcept { CRect r(*this); r += lpRect; return r; }
    CRect operator-(LPCRECT lpRect) const noexcept { CRect r(*this); r -= lpRect; return r; }
    CRect operator&(const RECT& rect) const noexcept { CRect r; r.IntersectRect(this, &rect); return r; }
    CRect operator|(const RECT& rect) const noexcept { CRect r; r.UnionRect(this, &rect); return r; }
};

inline CPoint CSize::operator+(POINT point) const noexcept { return CPoint(cx + point.x, cy + point.y); }
inline CPoint CSize::operator-(POINT point) const noexcept { return CPoint(cx - point.x, cy - point.y); }
inline CRect CSize::operator+(const RECT* lpRect) const noexcept { return CRect(lpRect) + *this; }
inline CRect CSize::operator-(const RECT* lpRect) const noexcept { return CRect(lpRect) - *this; }
inline CRect CPoint::operator+(const RECT* lpRect) const noexcept { return CRect(lpRect) + *this; }
inline CRect CPoint::operator-(const RECT* lpRect) const noexcept { return CRect(lpRect) - *this; }
