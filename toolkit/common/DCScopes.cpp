#include "toolkit/common/DCScopes.h"

#include <algorithm>

CKLVObjectDC::CKLVObjectDC(CDC* pDC, CGdiObject* pObject)
    : m_hDC(AfxGetSafeHdc(pDC)),
      m_hOldObject(::SelectObject(m_hDC, AfxGetSafeHandle(pObject))) {}

CKLVObjectDC::~CKLVObjectDC() {
    if (m_hOldObject) ::SelectObject(m_hDC, m_hOldObject);
}

CKLVFontDC::CKLVFontDC(CDC* pDC, CFont* pFont) : m_pDC(pDC) { SetFont(pFont); }

CKLVFontDC::CKLVFontDC(CDC* pDC, CFont* pFont, COLORREF clrTextColor) : m_pDC(pDC) {
    SetFont(pFont);
    SetColor(clrTextColor);
}

CKLVFontDC::~CKLVFontDC() {
    if (m_pOldFont) m_pDC->SelectObject(m_pOldFont);
    if (m_clrOldTextColor != COLORREF(-1)) m_pDC->SetTextColor(m_clrOldTextColor);
}

void CKLVFontDC::SetFont(CFont* pFont) {
    if (!m_pDC || !pFont) return;
    CFont* pOldFont = m_pDC->SelectObject(pFont);
    if (!m_pOldFont) m_pOldFont = pOldFont;
}

void CKLVFontDC::SetColor(COLORREF clrTextColor) {
    if (!m_pDC) return;
    COLORREF clrOld = m_pDC->SetTextColor(clrTextColor);
    if (m_clrOldTextColor == COLORREF(-1)) m_clrOldTextColor = clrOld;
}

CKLVPenDC::CKLVPenDC(CDC* pDC, CPen* pPen)
    : m_hDC(AfxGetSafeHdc(pDC)), m_hOldPen(static_cast<HPEN>(::SelectObject(m_hDC, AfxGetSafeHandle(pPen)))) {}

CKLVPenDC::CKLVPenDC(HDC hDC, COLORREF clrColor) : m_hDC(hDC), m_hOldPen(nullptr) {
    if (m_pen.CreatePen(PS_SOLID, 1, clrColor)) m_hOldPen = static_cast<HPEN>(::SelectObject(m_hDC, m_pen));
}

CKLVPenDC::~CKLVPenDC() {
    if (m_hOldPen) ::SelectObject(m_hDC, m_hOldPen);
}

CKLVBrushDC::CKLVBrushDC(HDC hDC, COLORREF clrColor) : m_hDC(hDC), m_hOldBrush(nullptr) {
    if (m_brush.CreateSolidBrush(clrColor)) m_hOldBrush = static_cast<HBRUSH>(::SelectObject(m_hDC, m_brush));
}

CKLVBrushDC::~CKLVBrushDC() {
    if (m_hOldBrush) ::SelectObject(m_hDC, m_hOldBrush);
}

CKLVCompatibleDC::CKLVCompatibleDC(CDC* pDC, CBitmap* pBitmap)
    : CKLVCompatibleDC(pDC, static_cast<HBITMAP>(AfxGetSafeHandle(pBitmap))) {}

CKLVCompatibleDC::CKLVCompatibleDC(CDC* pDC, HBITMAP hBitmap) {
    if (Attach(::CreateCompatibleDC(AfxGetSafeHdc(pDC))) && hBitmap)
        m_hOldBitmap = ::SelectObject(m_hDC, hBitmap);
}

CKLVCompatibleDC::~CKLVCompatibleDC() {
    if (m_hOldBitmap) ::SelectObject(m_hDC, m_hOldBitmap);
}

CKLVBufferDC::CKLVBufferDC(HDC hDestDC, const CRect& rcPaint) : m_hDestDC(hDestDC), m_rect(rcPaint) {
    Create(m_rect.right, m_rect.bottom);
}

CKLVBufferDC::CKLVBufferDC(CPaintDC& paintDC) : m_hDestDC(paintDC.GetSafeHdc()), m_rect(paintDC.m_ps.rcPaint) {
    Create(std::max(1L, m_rect.right), std::max(1L, m_rect.bottom));
    if (m_hDC) {
        HRGN hRgn = ::CreateRectRgnIndirect(&m_rect);
        ::SelectClipRgn(m_hDC, hRgn);
        ::DeleteObject(hRgn);
    }
}

void CKLVBufferDC::Create(int nWidth, int nHeight) {
    if (!Attach(::CreateCompatibleDC(m_hDestDC))) return;
    if (m_bitmap.Attach(::CreateCompatibleBitmap(m_hDestDC, nWidth, nHeight)))
        m_hOldBitmap = ::SelectObject(m_hDC, m_bitmap);
}

CKLVBufferDC::~CKLVBufferDC() {
    if (m_hDC && m_hDestDC)
        ::BitBlt(m_hDestDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left, m_rect.top,
                 SRCCOPY);
    if (m_hOldBitmap) ::SelectObject(m_hDC, m_hOldBitmap);
}
