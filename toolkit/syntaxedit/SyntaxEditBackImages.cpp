#include "toolkit/syntaxedit/SyntaxEditBackImages.h"

int CKLVSyntaxEditBackImages::BitsPerPixel(CDC* pDC) {
    // A memory DC makes bitmaps like the one selected into it; a window DC like the screen.
    if (HGDIOBJ hBitmap = ::GetCurrentObject(pDC->m_hDC, OBJ_BITMAP)) {
        BITMAP bm{};
        if (::GetObjectType(pDC->m_hDC) == OBJ_MEMDC && ::GetObject(hBitmap, sizeof bm, &bm)) return bm.bmBitsPixel;
    }
    return ::GetDeviceCaps(pDC->m_hDC, BITSPIXEL) * ::GetDeviceCaps(pDC->m_hDC, PLANES);
}

BOOL CKLVSyntaxEditBackImages::Prepare(CDC* pDC, CSize szGutter, CSize szText) {
    const int nBits = BitsPerPixel(pDC);
    if (m_dcText.m_hDC && szGutter == m_szGutter && szText == m_szText && nBits == m_nBits) return TRUE;
    Release();
    if (!m_dcGutter.CreateCompatibleDC(pDC) || !m_dcText.CreateCompatibleDC(pDC) ||
        !m_bmGutter.CreateCompatibleBitmap(pDC, szGutter.cx, szGutter.cy) ||
        !m_bmText.CreateCompatibleBitmap(pDC, szText.cx, szText.cy)) {
        Release();
        return FALSE;
    }
    m_hOldGutter = ::SelectObject(m_dcGutter.m_hDC, m_bmGutter.m_hObject);
    m_hOldText = ::SelectObject(m_dcText.m_hDC, m_bmText.m_hObject);
    m_szGutter = szGutter;
    m_szText = szText;
    m_nBits = nBits;
    ++m_nBuilds;
    return TRUE;
}

void CKLVSyntaxEditBackImages::Release() {
    if (m_hOldGutter) ::SelectObject(m_dcGutter.m_hDC, m_hOldGutter);
    if (m_hOldText) ::SelectObject(m_dcText.m_hDC, m_hOldText);
    m_hOldGutter = m_hOldText = nullptr;
    m_dcGutter.DeleteDC();
    m_dcText.DeleteDC();
    m_bmGutter.DeleteObject();
    m_bmText.DeleteObject();
    m_szGutter = m_szText = CSize(0, 0);
    m_nBits = 0;
}
