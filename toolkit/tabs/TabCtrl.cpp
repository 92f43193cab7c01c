#include "toolkit/tabs/TabCtrl.h"

#include "classlib/Dc.h"

IMPLEMENT_DYNAMIC(CKLTabCtrl, CTabCtrl)

BEGIN_MESSAGE_MAP(CKLTabCtrl, CTabCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_RBUTTONDOWN()
    ON_WM_WINDOWPOSCHANGED()
    ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelChange)
    ON_NOTIFY_REFLECT(TCN_SELCHANGING, OnSelChanging)
END_MESSAGE_MAP()

CKLTabCtrl::CKLTabCtrl() { CKLTabCtrlBase::Attach(this); }

CKLTabCtrl::~CKLTabCtrl() = default;

BOOL CKLTabCtrl::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CKLTabCtrlBase::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return CTabCtrl::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CKLTabCtrl::PreTranslateMessage(MSG* pMsg) {
    if (CKLTabCtrlBase::PreTranslateMessage(pMsg)) return TRUE;
    return CTabCtrl::PreTranslateMessage(pMsg);
}

void CKLTabCtrl::PreSubclassWindow() {
    CTabCtrl::PreSubclassWindow();
    CKLTabCtrlBase::PreSubclassWindow();
}

BOOL CKLTabCtrl::PreCreateWindow(CREATESTRUCT& cs) {
    CKLTabCtrlBase::PreCreateWindow();
    return CTabCtrl::PreCreateWindow(cs);
}

LRESULT CKLTabCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE || message == WM_SYSCOLORCHANGE) {
        if (CKLTabCtrlStyle* pStyle = GetTabStyle()) pStyle->RefreshMetrics();
        Invalidate();
    }
    return CTabCtrl::WindowProc(message, wParam, lParam);
}

int CKLTabCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CTabCtrl::OnCreate(lpCreateStruct) == -1) return -1;
    Init();
    return 0;
}

void CKLTabCtrl::OnDestroy() {
    CKLTabCtrlBase::OnDestroy();
    CTabCtrl::OnDestroy();
}

void CKLTabCtrl::OnPaint() {
    CKLTabCtrlStyle* pStyle = GetTabStyle();
    if (!pStyle) {
        Default();
        return;
    }
    // The system control paints unless the style takes it over.
    CPaintDC dc(this);
    // A transparent control shows its parent where nothing of its own is drawn.
    if ((GetExStyle() & WS_EX_TRANSPARENT) && pStyle->CaptureParentBackground(this))
        pStyle->DrawParentBackground(&dc, this);
    if (!pStyle->Paint(&dc, this)) DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
}

BOOL CKLTabCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CKLTabCtrl::OnRButtonDown(UINT, CPoint point) { CKLTabCtrlBase::OnRButtonDown(point); }

void CKLTabCtrl::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    CKLTabCtrlBase::OnWindowPosChanged(lpwndpos);
    CTabCtrl::OnWindowPosChanged(lpwndpos);
    if (m_bAutoCondense) Condense();
}

void CKLTabCtrl::OnSelChange(NMHDR*, LRESULT* pResult) {
    CKLTabCtrlBase::OnSelChange();
    SetRedraw(TRUE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    *pResult = 0;
}

void CKLTabCtrl::OnSelChanging(NMHDR*, LRESULT* pResult) {
    SetRedraw(FALSE);
    CKLTabCtrlBase::OnSelChanging();
    *pResult = 0;
}

// ---------------------------------------------------------------------------------------------

BOOL CKLTabCtrlBackground::Capture(CWnd* pWnd) {
    CWnd* pParent = pWnd ? pWnd->GetParent() : nullptr;
    if (!pParent) return FALSE;
    CRect rc;
    pWnd->GetWindowRect(&rc);
    pParent->ScreenToClient(&rc);
    CClientDC dcParent(pParent);
    CDC dcMem;
    if (!dcMem.CreateCompatibleDC(&dcParent)) return FALSE;
    m_bitmap.DeleteObject();
    if (!m_bitmap.CreateCompatibleBitmap(&dcParent, rc.Width(), rc.Height())) return FALSE;
    HGDIOBJ hOld = dcMem.SelectObject(m_bitmap.GetSafeHandle());
    dcMem.BitBlt(0, 0, rc.Width(), rc.Height(), &dcParent, rc.left, rc.top, SRCCOPY);
    dcMem.SelectObject(hOld);
    m_size = rc.Size();
    return TRUE;
}

BOOL CKLTabCtrlBackground::Draw(CDC* pDC) const {
    if (IsEmpty()) return FALSE;
    CDC dcMem;
    if (!dcMem.CreateCompatibleDC(pDC)) return FALSE;
    HGDIOBJ hOld = dcMem.SelectObject(m_bitmap.GetSafeHandle());
    pDC->BitBlt(0, 0, m_size.cx, m_size.cy, &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(hOld);
    return TRUE;
}
