#include "classlib/Dc.h"

#include "classlib/Exceptions.h"
#include "classlib/ThreadState.h"
#include "classlib/Wnd.h"

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CDC::~CDC() { DeleteDC(); }

CDC* CDC::FromHandle(HDC hDC) {
    CDC* pDC = AfxGetThreadState()->m_temporaries.FromHandle<CDC, &CDC::m_hDC>(hDC);
    if (pDC) pDC->m_hAttribDC = hDC;
    return pDC;
}

void CDC::DeleteTempMap() { AfxGetThreadState()->m_temporaries.DeleteAll(); }

BOOL CDC::Attach(HDC hDC) {
    if (!AfxAttachHandle(m_hDC, hDC, ::DeleteDC)) return FALSE;
    m_hAttribDC = m_hDC;
    return TRUE;
}

HDC CDC::Detach() {
    m_hAttribDC = nullptr;
    return AfxDetachHandle(m_hDC);
}

BOOL CDC::DeleteDC() {
    m_hAttribDC = nullptr;
    return AfxFreeHandle(m_hDC, ::DeleteDC);
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, AfxGetSafeHandle(pObject)));
}

CPen* CDC::SelectObject(CPen* pPen) {
    return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, AfxGetSafeHandle(pPen))));
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, AfxGetSafeHandle(pBrush))));
}

CFont* CDC::SelectObject(CFont* pFont) {
    return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, AfxGetSafeHandle(pFont))));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, AfxGetSafeHandle(pBitmap))));
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
}

CPoint CDC::SetViewportOrg(int x, int y) {
    POINT old = {0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::GetViewportOrg() const {
    POINT pt = {0, 0};
    ::GetViewportOrgEx(m_hAttribDC, &pt);
    return pt;
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
    POINT old = {0, 0};
    ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &old);
    return old;
}

CPoint CDC::SetWindowOrg(int x, int y) {
    POINT old = {0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::GetWindowOrg() const {
    POINT pt = {0, 0};
    ::GetWindowOrgEx(m_hAttribDC, &pt);
    return pt;
}

CPoint CDC::MoveTo(int x, int y) {
    POINT old = {0, 0};
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    // An opaque empty text paints the rectangle in the background colour without a brush.
    COLORREF clrOld = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, clrOld);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
               clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    // The top and left edges stop one pixel short; the corner pixels there belong to the bottom
    // and right edges.
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hAttribDC, lpszString, nCount, &size);
    return size;
}

namespace {

// Scoped DCs cannot report failure from a constructor but by exception.
HDC CheckDC(HDC hDC) {
    if (!hDC) AfxThrowResourceException();
    return hDC;
}

}  // namespace

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(AfxGetSafeHwnd(pWnd)) {
    Attach(CheckDC(::BeginPaint(m_hWnd, &m_ps)));
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(AfxGetSafeHwnd(pWnd)) { Attach(CheckDC(::GetDC(m_hWnd))); }

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(AfxGetSafeHwnd(pWnd)) { Attach(CheckDC(::GetWindowDC(m_hWnd))); }

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
