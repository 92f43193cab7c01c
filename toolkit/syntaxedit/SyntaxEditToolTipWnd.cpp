#include "toolkit/syntaxedit/SyntaxEditToolTipWnd.h"

#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/MultiMonitor.h"
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

namespace {

const LPCTSTR kClassName = "TarvoshSEToolTip";
const UINT kTextFlags = DT_EXPANDTABS | DT_WORDBREAK;

}  // namespace

BEGIN_MESSAGE_MAP(CKLVSyntaxEditToolTipWnd, CWnd)
    ON_WM_TIMER()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CKLVSyntaxEditToolTipWnd::CKLVSyntaxEditToolTipWnd() {
    RegisterWindowClass();
}

CKLVSyntaxEditToolTipWnd::~CKLVSyntaxEditToolTipWnd() {
    if (m_hWnd) DestroyWindow();
}

BOOL CKLVSyntaxEditToolTipWnd::RegisterWindowClass(HINSTANCE hInstance) {
    if (!hInstance) hInstance = AfxGetInstanceHandle();
    WNDCLASSA wc{};
    if (::GetClassInfoA(hInstance, kClassName, &wc)) return TRUE;
    if (!CKLVDrawHelpers::RegisterWndClass(hInstance, kClassName, CS_HREDRAW | CS_VREDRAW, nullptr,
                                           reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INFOBK + 1))))
        AfxThrowResourceException();
    return TRUE;
}

BOOL CKLVSyntaxEditToolTipWnd::Create(CWnd* pOwner) {
    m_pOwner = pOwner;
    if (m_hWnd) return TRUE;
    return CreateEx(WS_EX_TOOLWINDOW, kClassName, nullptr, WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                    nullptr, nullptr);
}

void CKLVSyntaxEditToolTipWnd::Activate(LPCTSTR lpszText) {
    if (!m_hWnd) return;
    const BOOL bVisible = IsWindowVisible();
    KillTimer(kTimerHide);
    const BOOL bChanged = m_strText != lpszText;
    if (bVisible && bChanged) ShowWindow(SW_HIDE);
    m_strText = lpszText;
    if (!bVisible) {
        RecalcLayout();
        ShowWindow(SW_SHOWNA);
        Invalidate(TRUE);
    }
    SetTimer(kTimerHide, m_nDisplayTime, nullptr);
}

void CKLVSyntaxEditToolTipWnd::Hide() {
    if (!m_hWnd) return;
    KillTimer(kTimerHide);
    if (IsWindowVisible()) ShowWindow(SW_HIDE);
}

void CKLVSyntaxEditToolTipWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kTimerHide) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    Hide();
}

void CKLVSyntaxEditToolTipWnd::RecalcLayout() {
    CClientDC dc(nullptr);
    CFont* pOld = dc.SelectObject(GetPaintManager()->GetToolTipFont());
    CKLVMultiMonitor monitors;
    CRect rcText(0, 0, monitors.GetWorkRect().right - m_ptLeftTop.x - 10, 20);
    dc.DrawText(m_strText, &rcText, DT_CALCRECT | kTextFlags);
    dc.SelectObject(pOld);
    m_nRight = m_ptLeftTop.x + rcText.Width() + 8;
    m_nBottom = m_ptLeftTop.y + rcText.Height() + 8;
    if (m_hWnd) MoveWindow(m_ptLeftTop.x, m_ptLeftTop.y, m_nRight - m_ptLeftTop.x, m_nBottom - m_ptLeftTop.y, TRUE);
}

void CKLVSyntaxEditToolTipWnd::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, ::GetSysColor(COLOR_INFOBK));
    dc.SetBkColor(::GetSysColor(COLOR_INFOBK));
    dc.SetTextColor(::GetSysColor(COLOR_INFOTEXT));
    CFont* pOld = dc.SelectObject(GetPaintManager()->GetToolTipFont());
    rc.left += 3;
    rc.top += 3;
    dc.DrawText(m_strText, &rc, DT_NOPREFIX | kTextFlags);
    dc.SelectObject(pOld);
}
