#include "toolkit/commandbars/keytips/CommandBarKeyboardTip.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"

BEGIN_MESSAGE_MAP(CKLVCommandBarKeyboardTip, CWnd)
    ON_WM_PAINT()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CKLVCommandBarKeyboardTip::CKLVCommandBarKeyboardTip(CKLVCommandBarsLink* pCommandBars, CObject* pLabelled,
                                                     LPCTSTR lpszLabel, int x, int y, DWORD dwAlign, BOOL bEnabled)
    : m_strLabel(lpszLabel), m_pLabelled(pLabelled), m_pt(x, y), m_bEnabled(bEnabled), m_pCommandBars(pCommandBars),
      m_dwAlign(dwAlign) {}

CRect CKLVCommandBarKeyboardTip::PlaceAt(CPoint ptScreen, CSize sz, BOOL bRightToLeft) const {
    CPoint pt = ptScreen;
    if (m_dwAlign & alignCenterVert)
        pt.y -= sz.cy / 2;
    else if (m_dwAlign & alignBottom)
        pt.y -= sz.cy;
    if (m_dwAlign & alignCenterHorz)
        pt.x -= sz.cx / 2;
    else if ((m_dwAlign & alignRight) || bRightToLeft)
        pt.x -= sz.cx;
    return CRect(pt, sz);
}

BOOL CKLVCommandBarKeyboardTip::CreateTipWindow(CWnd* pParent, const CRect& rc, BOOL bLayered) {
    const DWORD dwExStyle = WS_EX_TOOLWINDOW | (bLayered ? WS_EX_LAYERED : 0);
    return CreateEx(dwExStyle, AfxRegisterWndClass(CS_SAVEBITS, ::LoadCursorA(nullptr, IDC_ARROW)), nullptr, WS_POPUP,
                    rc, pParent, 0);
}

void CKLVCommandBarKeyboardTip::OnPaint() {
    CPaintDC dc(this);
    if (m_pCommandBars) m_pCommandBars->DrawKeyboardTip(&dc, this);
}

LRESULT CKLVCommandBarKeyboardTip::OnNcHitTest(CPoint) { return HTTRANSPARENT; }
