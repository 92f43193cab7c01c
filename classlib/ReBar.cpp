#include "classlib/ReBar.h"

#include "classlib/Controls.h"
#include "classlib/FrameWnd.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CReBar, CControlBar)

BEGIN_MESSAGE_MAP(CReBar, CControlBar)
    ON_NOTIFY_REFLECT_EX(RBN_HEIGHTCHANGE, OnHeightChange)
END_MESSAGE_MAP()

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
    // The bar's own styles share bits with window styles; the frame's layout places the rebar.
    m_dwStyle = dwStyle & CBRS_ALL;
    const DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | (dwCtrlStyle & 0xFFFF) | CCS_NOPARENTALIGN | CCS_NORESIZE |
                             CCS_NODIVIDER;
    return AfxCreateCommonControl(*this, ICC_COOL_CLASSES | ICC_BAR_CLASSES, REBARCLASSNAMEA, 0, dwWndStyle,
                                  CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CReBar::InsertBand(CWnd* pBar, REBARBANDINFOA& band) {
    if (!pBar || !pBar->m_hWnd || !m_hWnd) return FALSE;
    CSize size;
    if (auto* pControlBar = DYNAMIC_DOWNCAST(CControlBar, pBar)) {
        size = pControlBar->CalcFixedLayout(FALSE, TRUE);
    } else {
        CRect rect;
        pBar->GetWindowRect(&rect);
        size = rect.Size();
    }
    band.cbSize = sizeof band;
    band.fMask |= RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
    band.hwndChild = pBar->m_hWnd;
    band.cxMinChild = static_cast<UINT>(std::max<LONG>(size.cx, 0));
    band.cyMinChild = static_cast<UINT>(std::max<LONG>(size.cy, 0));
    band.cx = band.cxMinChild;
    return SendMessage(RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)) != 0;
}

BOOL CReBar::AddBar(CWnd* pBar, LPCTSTR pszText, CBitmap* pbmp, DWORD dwStyle) {
    REBARBANDINFOA band = {};
    band.fStyle = dwStyle;
    if (pszText) {
        band.fMask |= RBBIM_TEXT;
        band.lpText = const_cast<LPSTR>(pszText);
    }
    if (pbmp) {
        band.fMask |= RBBIM_BACKGROUND;
        band.hbmBack = static_cast<HBITMAP>(AfxGetSafeHandle(pbmp));
    }
    return InsertBand(pBar, band);
}

BOOL CReBar::AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCTSTR pszText, DWORD dwStyle) {
    REBARBANDINFOA band = {};
    band.fStyle = dwStyle;
    band.fMask = RBBIM_COLORS;
    band.clrFore = clrFore;
    band.clrBack = clrBack;
    if (pszText) {
        band.fMask |= RBBIM_TEXT;
        band.lpText = const_cast<LPSTR>(pszText);
    }
    return InsertBand(pBar, band);
}

CSize CReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    // Along the edge the rebar takes what it is given; across it, the height of its rows.
    const int nThickness = static_cast<int>(SendMessage(RB_GETBARHEIGHT));
    if (bHorz) return CSize(bStretch ? 32767 : 0, nThickness);
    return CSize(nThickness, bStretch ? 32767 : 0);
}

BOOL CReBar::OnHeightChange(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    if (CFrameWnd* pFrame = GetParentFrame()) pFrame->RecalcLayout();
    return FALSE;   // the parent may want to hear it too
}
