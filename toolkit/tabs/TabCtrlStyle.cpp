// The tab-control style's copy of the parent's background for transparent controls.
#include "toolkit/tabs/TabCtrlStyle.h"

#include "classlib/Dc.h"
#include "classlib/Wnd.h"
#include "toolkit/common/DCScopes.h"

BOOL CKLTabCtrlStyle::CaptureParentBackground(CWnd* pCtrl) {
    m_bmpParent.DeleteObject();
    m_szParent = CSize(0, 0);
    CWnd* pParent = pCtrl && pCtrl->GetSafeHwnd() ? pCtrl->GetParent() : nullptr;
    if (!pParent || !pParent->GetSafeHwnd()) return FALSE;
    CRect rc;
    pCtrl->GetWindowRect(&rc);
    pParent->ScreenToClient(&rc);
    CClientDC dcParent(pParent);
    if (rc.IsRectEmpty() || !m_bmpParent.CreateCompatibleBitmap(&dcParent, rc.Width(), rc.Height())) return FALSE;
    CKLVCompatibleDC dc(&dcParent, &m_bmpParent);
    // The parent draws itself as at its own origin; the control's corner lands on the bitmap's.
    dc.SetViewportOrg(-rc.left, -rc.top);
    pParent->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
    pParent->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), PRF_CLIENT);
    m_szParent = rc.Size();
    return TRUE;
}

void CKLTabCtrlStyle::DrawParentBackground(CDC* pDC, const CWnd* pCtrl) {
    if (!m_bmpParent.GetSafeHandle() || !pCtrl || !(pCtrl->GetExStyle() & WS_EX_TRANSPARENT)) return;
    CKLVCompatibleDC dc(pDC, &m_bmpParent);
    pDC->BitBlt(0, 0, m_szParent.cx, m_szParent.cy, &dc, 0, 0, SRCCOPY);
}
