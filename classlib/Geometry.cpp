#include "classlib/Geometry.h"

#include <utility>

// The Win32 functions decide empty results; the sources are copied first because callers
// pass this rectangle as a source too (r &= other).

void CRect::NormalizeRect() noexcept {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
}

BOOL CRect::IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept {
    const RECT rect1 = *lpRect1, rect2 = *lpRect2;
    return ::IntersectRect(this, &rect1, &rect2);
}

BOOL CRect::UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept {
    const RECT rect1 = *lpRect1, rect2 = *lpRect2;
    return ::UnionRect(this, &rect1, &rect2);
}

BOOL CRect::SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2) noexcept {
    const RECT rect1 = *lpRectSrc1, rect2 = *lpRectSrc2;
    return ::SubtractRect(this, &rect1, &rect2);
}
