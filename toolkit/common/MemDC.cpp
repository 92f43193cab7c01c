#include "toolkit/common/MemDC.h"

#include "toolkit/common/DrawHelpers.h"

IMPLEMENT_DYNAMIC(CKLMemDC, CDC)

CKLMemDC::CKLMemDC(CDC* pDC, const CRect& rect, CKLVGradientColorValue clrBack, BOOL bHorz) : m_pDC(pDC) {
    if (!m_pDC) return;
    if (rect.IsRectEmpty())
        m_pDC->GetClipBox(&m_rc);
    else
        m_rc = rect;
    if (!Attach(::CreateCompatibleDC(m_pDC->m_hDC))) return;
    SetMapMode(::GetMapMode(m_pDC->m_hAttribDC));
    if (!m_bitmap.CreateCompatibleBitmap(m_pDC, m_rc.Width(), m_rc.Height())) return;
    m_hOldBitmap = static_cast<HBITMAP>(::SelectObject(m_hDC, m_bitmap));
    if (!clrBack.m_clrTo.IsUnset()) {
        const CRect rcFill(0, 0, m_rc.Width(), m_rc.Height());
        GetDrawHelpers()->GradientFillValue(this, &rcFill, clrBack, bHorz);
    }
    m_bValid = TRUE;
}

CKLMemDC::~CKLMemDC() {
    if (m_bValid)
        ::BitBlt(m_pDC->m_hDC, m_rc.left, m_rc.top, m_rc.Width(), m_rc.Height(), m_hDC, 0, 0, SRCCOPY);
    if (m_hOldBitmap) ::SelectObject(m_hDC, m_hOldBitmap);
}
