#include "toolkit/common/HyperLink.h"

#include "classlib/Dc.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/ResourceManager.h"
#include "toolkit/common/res/KLVToolkitRes.h"

#include <shellapi.h>

namespace {

const UINT_PTR nHoverTimer = 1;
const UINT nHoverPollMs = 10;
const UINT nRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

// Shell results with a message of their own, in the order of their string resources.
const int kKnownErrors[] = {0, ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, SE_ERR_OOM,
                            ERROR_BAD_FORMAT, SE_ERR_SHARE, SE_ERR_ASSOCINCOMPLETE, SE_ERR_DDETIMEOUT,
                            SE_ERR_DDEFAIL, SE_ERR_DDEBUSY, SE_ERR_NOASSOC, SE_ERR_DLLNOTFOUND};

HCURSOR LoadHandCursor() {
    HCURSOR hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
    return hCursor ? hCursor : KLVResourceManager()->LoadCursor(KLV_IDC_HAND);
}

}  // namespace

IMPLEMENT_DYNAMIC(CKLHyperLink, CStatic)

BEGIN_MESSAGE_MAP(CKLHyperLink, CStatic)
    ON_WM_SETCURSOR()
    ON_WM_CREATE()
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_NCHITTEST()
    ON_CONTROL_REFLECT_EX(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CKLHyperLink::PFNSHELLEXECUTE CKLHyperLink::s_pfnShellExecute = ::ShellExecuteA;

CKLHyperLink::CKLHyperLink() : m_hcurHand(LoadHandCursor()) {}

CKLHyperLink::~CKLHyperLink() {
    if (m_toolTip.GetSafeHwnd()) m_toolTip.DestroyWindow();
}

void CKLHyperLink::SetURL(LPCTSTR lpszURL) {
    m_strURL = lpszURL ? lpszURL : "";
    if (m_strToolTipText.IsEmpty()) m_strToolTipText = m_strURL;
    if (!m_toolTip.GetSafeHwnd()) {
        if (m_strToolTipText.IsEmpty() || !GetSafeHwnd() || !m_toolTip.Create(this)) return;
        m_toolTip.AddTool(this, m_strToolTipText);
        m_toolTip.Activate(m_bToolTipOn);
    } else {
        m_toolTip.UpdateTipText(m_strURL, this);
    }
}

void CKLHyperLink::RedrawLink() {
    if (GetSafeHwnd()) RedrawWindow(nullptr, nullptr, nRedrawFlags);
}

void CKLHyperLink::SetColors(COLORREF clrLink, COLORREF clrVisited, COLORREF clrHover) {
    m_clrLink = clrLink;
    m_clrVisited = clrVisited;
    m_clrHover = clrHover;
    RedrawLink();
}

void CKLHyperLink::SetVisited(bool bVisited) {
    m_bVisited = bVisited;
    RedrawLink();
}

void CKLHyperLink::SetUnderline(bool bUnderline) {
    m_bUnderline = bUnderline;
    UpdateUnderlineFont();
}

void CKLHyperLink::SetBackColor(COLORREF clrBack) {
    m_clrBack = clrBack;
    RedrawLink();
}

COLORREF CKLHyperLink::GetBackColor() const {
    return m_clrBack != COLORREF(-1) ? m_clrBack : GetColorManager()->GetColor(COLOR_BTNFACE);
}

bool CKLHyperLink::OpenUrl(LPCTSTR lpszURL, int nShowCmd, LPCTSTR lpszParameters, LPCTSTR lpszDirectory) {
    const INT_PTR nResult = reinterpret_cast<INT_PTR>(
        s_pfnShellExecute(nullptr, "open", lpszURL ? lpszURL : static_cast<LPCTSTR>(m_strURL), lpszParameters,
                          lpszDirectory, nShowCmd));
    if (nResult <= 32) ReportError(static_cast<int>(nResult));
    return nResult > 32;
}

bool CKLHyperLink::IsTextControl() const { return (GetStyle() & 0xFF) < SS_ICON; }

bool CKLHyperLink::IsPointOverLink(CPoint ptScreen) const {
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    if (IsTextControl()) {
        CString strText;
        GetWindowText(strText);
        HDC hScreen = ::GetDC(nullptr);
        HGDIOBJ hOldFont = ::SelectObject(hScreen, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
        SIZE szText = {};
        ::GetTextExtentPoint32A(hScreen, strText, strText.GetLength(), &szText);
        ::SelectObject(hScreen, hOldFont);
        ::ReleaseDC(nullptr, hScreen);
        switch (GetStyle() & SS_TYPEMASK & 3) {
        case SS_LEFT: rcWindow.right = rcWindow.left + szText.cx; break;
        case SS_CENTER: rcWindow.DeflateRect((rcWindow.Width() - szText.cx) / 2, 0); break;
        case SS_RIGHT: rcWindow.left = rcWindow.right - szText.cx; break;
        default: break;
        }
    }
    return rcWindow.PtInRect(ptScreen) != FALSE;
}

bool CKLHyperLink::IsCursorOverLink() const {
    if (!IsTextControl()) return true;
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    return IsPointOverLink(ptCursor);
}

CString CKLHyperLink::GetErrorText(int nError) {
    const int nKnown = static_cast<int>(sizeof kKnownErrors / sizeof kKnownErrors[0]);
    int nIndex = 0;
    while (nIndex < nKnown && kKnownErrors[nIndex] != nError) ++nIndex;
    CString strText;
    KLVResourceManager()->LoadString(&strText, KLV_IDS_HYPERLINK_ERROR_FIRST + nIndex);
    if (nIndex == nKnown) {
        CString strFormat = strText;
        strText.Format(strFormat, nError);
    }
    return strText;
}

void CKLHyperLink::ReportError(int nError) {
    const CString strText = GetErrorText(nError);
    ::MessageBeep(MB_ICONEXCLAMATION);
    ::MessageBoxA(GetSafeHwnd(), strText, nullptr, MB_ICONEXCLAMATION);
}

bool CKLHyperLink::InitControl() {
    if (!GetSafeHwnd()) return false;
    if (IsTextControl()) {
        if (m_strURL.IsEmpty()) GetWindowText(m_strURL);
        SetURL(m_strURL);
    }
    ModifyStyle(0, SS_NOTIFY);
    return UpdateUnderlineFont();
}

bool CKLHyperLink::UpdateUnderlineFont() {
    if (!CreateUnderlineFont(m_fontUnderline, m_bUnderline) || !GetSafeHwnd()) return false;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontUnderline.GetSafeHandle()), 1);
    RedrawLink();
    return true;
}

bool CKLHyperLink::CreateUnderlineFont(CFont& font, bool bUnderline) {
    LOGFONTA lf = {};
    HFONT hFont = GetSafeHwnd() ? reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)) : nullptr;
    if (!hFont || !::GetObjectA(hFont, sizeof lf, &lf)) {
        NONCLIENTMETRICSA metrics = {};
        metrics.cbSize = sizeof metrics;
        if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return false;
        lf = metrics.lfStatusFont;
    }
    lf.lfUnderline = bUnderline ? TRUE : FALSE;
    // The window may still use the old font until the new one is set: free it only then.
    CFont fontNew;
    if (!fontNew.CreateFontIndirect(&lf)) return false;
    HGDIOBJ hOld = font.Detach();
    font.Attach(fontNew.Detach());
    if (hOld && GetSafeHwnd()) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), 0);
    if (hOld) ::DeleteObject(hOld);
    return true;
}

BOOL CKLHyperLink::PreTranslateMessage(MSG* pMsg) {
    if (m_toolTip.GetSafeHwnd() && m_bToolTipOn) m_toolTip.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

void CKLHyperLink::PreSubclassWindow() {
    CStatic::PreSubclassWindow();
    if (m_bInitOnSubclass) InitControl();
}

BOOL CKLHyperLink::PreCreateWindow(CREATESTRUCT& cs) {
    m_bInitOnSubclass = false;
    return CStatic::PreCreateWindow(cs);
}

BOOL CKLHyperLink::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (m_hcurHand && IsCursorOverLink()) {
        ::SetCursor(m_hcurHand);
        return TRUE;
    }
    return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

int CKLHyperLink::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CStatic::OnCreate(lpCreateStruct) == -1) return -1;
    InitControl();
    return 0;
}

HBRUSH CKLHyperLink::CtlColor(CDC* pDC, UINT) {
    if (!IsTextControl()) return nullptr;
    // The parent's default sets the system text colour, so it is asked before the link's is set.
    HBRUSH hBrush = static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
    CWnd* pParent = GetParent();
    if (m_clrBack == COLORREF(-1))
        hBrush = pParent ? reinterpret_cast<HBRUSH>(pParent->DefWindowProc(
                               WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(AfxGetSafeHdc(pDC)),
                               reinterpret_cast<LPARAM>(GetSafeHwnd())))
                         : nullptr;
    pDC->SetTextColor(m_bHover ? m_clrHover : m_bVisited ? m_clrVisited : m_clrLink);
    pDC->SetBkMode(TRANSPARENT);
    return hBrush;
}

void CKLHyperLink::OnMouseMove(UINT nFlags, CPoint point) {
    if (IsTextControl() && IsCursorOverLink()) SetTimer(nHoverTimer, nHoverPollMs);
    CStatic::OnMouseMove(nFlags, point);
}

void CKLHyperLink::OnTimer(UINT_PTR nIDEvent) {
    if (IsTextControl()) {
        const bool bHover = IsCursorOverLink();
        if (bHover != m_bHover) {
            m_bHover = bHover;
            RedrawLink();
        }
        if (!m_bHover) KillTimer(nHoverTimer);
    }
    CStatic::OnTimer(nIDEvent);
}

BOOL CKLHyperLink::OnEraseBkgnd(CDC* pDC) {
    return m_clrBack != COLORREF(-1) ? TRUE : CStatic::OnEraseBkgnd(pDC);
}

void CKLHyperLink::OnPaint() {
    if (m_clrBack == COLORREF(-1) || (GetExStyle() & WS_EX_TRANSPARENT)) {
        Default();
        return;
    }
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CKLMemDC memDC(&dc, rcClient, CKLVGradientColorValue(GetBackColor()));
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), 0);
}

void CKLHyperLink::OnWindowPosChanged(WINDOWPOS* lpWndPos) {
    CStatic::OnWindowPosChanged(lpWndPos);
    RedrawLink();
}

LRESULT CKLHyperLink::OnNcHitTest(CPoint) { return HTCLIENT; }

BOOL CKLHyperLink::OnClicked() {
    if (IsCursorOverLink()) m_bVisited = m_bOpenOnClick ? OpenUrl(m_strURL, SW_SHOW) : true;
    if (m_toolTip.GetSafeHwnd() && m_bToolTipOn) m_toolTip.Pop();
    return IsTextControl() ? FALSE : TRUE;
}
