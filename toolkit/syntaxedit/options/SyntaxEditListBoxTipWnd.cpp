#include "toolkit/syntaxedit/options/SyntaxEditListBoxTipWnd.h"

#include "toolkit/common/WindowSubclasser.h"

#include <windowsx.h>

#include <algorithm>

namespace {

const char kTipClass[] = "TarvoshSEListBoxTipWnd";

BOOL RegisterTipClass() {
    WNDCLASSA wc{};
    if (::GetClassInfoA(AfxGetInstanceHandle(), kTipClass, &wc)) return TRUE;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_SAVEBITS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
    wc.lpszClassName = kTipClass;
    return ::RegisterClassA(&wc) != 0;
}

BOOL IsOwnerDrawn(HWND hWndList) {
    return (::GetWindowLongA(hWndList, GWL_STYLE) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

CString ItemText(HWND hWndList, int nItem) {
    CString str;
    const int nLength = static_cast<int>(::SendMessageA(hWndList, LB_GETTEXTLEN, static_cast<WPARAM>(nItem), 0));
    if (nLength <= 0) return str;
    LPSTR p = str.GetBufferSetLength(nLength);
    ::SendMessageA(hWndList, LB_GETTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(p));
    str.ReleaseBuffer();
    return str;
}

}  // namespace

BEGIN_MESSAGE_MAP(CKLVSyntaxEditListBoxTipWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CKLVSyntaxEditListBoxTipWnd::~CKLVSyntaxEditListBoxTipWnd() {
    DetachList();
    if (m_hWnd) DestroyWindow();
}

void CKLVSyntaxEditListBoxTipWnd::Attach(HWND hWndList, CWnd* pDrawer) {
    DetachList();
    m_hWndList = hWndList;
    m_pDrawer = pDrawer;
}

void CKLVSyntaxEditListBoxTipWnd::Hook(HWND hWndList, CWnd* pDrawer) {
    Attach(hWndList, pDrawer);
    if (!m_hWndList) return;
    KLVWindowSubclasser()->HookWindow(m_hWndList, this);
    m_bHooked = TRUE;
}

void CKLVSyntaxEditListBoxTipWnd::DetachList() {
    HideTip();
    // A list already gone has left the subclasser by itself.
    if (m_bHooked && ::IsWindow(m_hWndList)) KLVWindowSubclasser()->UnhookWindow(m_hWndList, this);
    m_bHooked = FALSE;
    m_hWndList = nullptr;
    m_pDrawer = nullptr;
}

void CKLVSyntaxEditListBoxTipWnd::ResetSelectionRecords() {
    m_nSelAtPress = -1;
    m_nSelAtRelease = -2;
}

BOOL CKLVSyntaxEditListBoxTipWnd::CreateTip() {
    if (m_hWnd) return TRUE;
    if (!RegisterTipClass()) return FALSE;
    return CreateEx(WS_EX_TOOLWINDOW, kTipClass, "", WS_POPUP | WS_CLIPSIBLINGS | WS_BORDER, 0, 0, 0, 0,
                    ::GetAncestor(m_hWndList, GA_ROOT), nullptr);
}

int CKLVSyntaxEditListBoxTipWnd::ItemAt(CPoint pt) const {
    const LRESULT lResult = ::SendMessageA(m_hWndList, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    return HIWORD(lResult) ? -1 : static_cast<int>(LOWORD(lResult));
}

// The item's rectangle on the screen, widened to its text where the text does not fit.
CRect CKLVSyntaxEditListBoxTipWnd::ItemTipRect(int nItem) const {
    CRect rc;
    if (::SendMessageA(m_hWndList, LB_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&rc)) == LB_ERR)
        return CRect();
    const HDC hDC = ::GetDC(m_hWndList);
    const HGDIOBJ hOld = ::SelectObject(hDC, reinterpret_cast<HFONT>(::SendMessageA(m_hWndList, WM_GETFONT, 0, 0)));
    const CString strText = ItemText(m_hWndList, nItem);
    SIZE size{};
    ::GetTextExtentPoint32A(hDC, strText, strText.GetLength(), &size);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(m_hWndList, hDC);
    rc.right = std::max(rc.right, rc.left + static_cast<int>(size.cx) + 2 * ::GetSystemMetrics(SM_CXEDGE));
    ::MapWindowPoints(m_hWndList, nullptr, reinterpret_cast<LPPOINT>(&rc), 2);
    return rc;
}

void CKLVSyntaxEditListBoxTipWnd::ShowTip(int nItem, CPoint ptCursor) {
    const int nCount = m_hWndList ? static_cast<int>(::SendMessageA(m_hWndList, LB_GETCOUNT, 0, 0)) : 0;
    const BOOL bValid = nItem >= 0 && nItem < nCount;
    if (bValid && nItem == m_nItem && ptCursor == m_ptLast && m_hWnd && IsWindowVisible()) {
        Invalidate(FALSE);
        return;
    }
    StopTimers();
    CRect rc = bValid ? ItemTipRect(nItem) : CRect();
    if (rc.IsRectEmpty() || !CreateTip()) {
        HideTip();
        return;
    }
    rc.InflateRect(0, 2);
    const BOOL bNewItem = nItem != m_nItem;
    m_nItem = nItem;
    m_ptLast = ptCursor;
    m_rcTip = rc;
    // Above everything, the open drop-down list of a combo box included.
    SetWindowPos(&CWnd::wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (bNewItem) Invalidate(FALSE);
    SetTimer(kHideTimer, kHideDelay);
    SetTimer(kTrackTimer, kTrackInterval);
}

void CKLVSyntaxEditListBoxTipWnd::StopTimers() {
    if (!m_hWnd) return;
    KillTimer(kHideTimer);
    KillTimer(kTrackTimer);
}

void CKLVSyntaxEditListBoxTipWnd::HideTip() {
    StopTimers();
    if (m_hWnd) ShowWindow(SW_HIDE);
    m_nItem = -1;
    m_ptLast = CPoint(-1, -1);
    m_rcTip.SetRectEmpty();
}

void CKLVSyntaxEditListBoxTipWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kHideTimer) {
        HideTip();
        return;
    }
    if (nIDEvent != kTrackTimer) return;
    CPoint pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWndList, &pt);
    CRect rcClient;
    ::GetClientRect(m_hWndList, &rcClient);
    if (!rcClient.PtInRect(pt) || ItemAt(pt) != m_nItem) HideTip();
}

int CKLVSyntaxEditListBoxTipWnd::OnHookMessage(HWND, UINT nMessage, WPARAM&, LPARAM& lParam, LRESULT&) {
    switch (nMessage) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
        const short nSel = static_cast<short>(::SendMessageA(m_hWndList, LB_GETCURSEL, 0, 0));
        (nMessage == WM_LBUTTONDOWN ? m_nSelAtPress : m_nSelAtRelease) = nSel;
        if (nMessage == WM_LBUTTONUP) break;
    }
        [[fallthrough]];
    case WM_MOUSEMOVE: {
        const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        const int nItem = ItemAt(pt);
        if (nItem >= 0)
            ShowTip(nItem, pt);
        else
            HideTip();
        break;
    }
    case WM_KEYDOWN:
        // A selection moved by keys is a change whatever the last click saw.
        ResetSelectionRecords();
        HideTip();
        break;
    case WM_MOUSEWHEEL:
        HideTip();
        break;
    default:
        break;
    }
    return hookContinue;
}

void CKLVSyntaxEditListBoxTipWnd::OnPaint() {
    CPaintDC dc(this);
    Draw(&dc);
}

void CKLVSyntaxEditListBoxTipWnd::Draw(CDC* pDC) {
    CRect rc;
    GetClientRect(&rc);
    if (m_nItem < 0 || !m_hWndList) return;
    const BOOL bSelected = ::SendMessageA(m_hWndList, LB_GETSEL, static_cast<WPARAM>(m_nItem), 0) > 0;
    if (IsOwnerDrawn(m_hWndList) && m_pDrawer) {
        DrawOwnerItem(pDC, rc);
        return;
    }
    const COLORREF clrBack = ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_INFOBK);
    const COLORREF clrText = ::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_INFOTEXT);
    pDC->FillSolidRect(&rc, clrBack);
    CFont* pFont = CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageA(m_hWndList, WM_GETFONT, 0, 0)));
    CFont* pOld = pDC->SelectObject(pFont);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(clrText);
    CRect rcText = rc;
    rcText.DeflateRect(::GetSystemMetrics(SM_CXEDGE), 0);
    pDC->DrawText(ItemText(m_hWndList, m_nItem), &rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->SelectObject(pOld);
    pDC->SetBkColor(clrBack);
    pDC->SetTextColor(clrBack);
    pDC->DrawFocusRect(&rc);
}

void CKLVSyntaxEditListBoxTipWnd::DrawOwnerItem(CDC* pDC, const CRect& rc) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_LISTBOX;
    dis.CtlID = static_cast<UINT>(::GetDlgCtrlID(m_hWndList));
    dis.itemID = static_cast<UINT>(m_nItem);
    dis.itemAction = ODA_DRAWENTIRE;
    if (::SendMessageA(m_hWndList, LB_GETSEL, static_cast<WPARAM>(m_nItem), 0) > 0) dis.itemState |= ODS_SELECTED;
    if (::SendMessageA(m_hWndList, LB_GETCARETINDEX, 0, 0) == m_nItem) dis.itemState |= ODS_FOCUS;
    dis.hwndItem = m_hWndList;
    dis.hDC = pDC->m_hDC;
    dis.rcItem = rc;
    dis.itemData = static_cast<ULONG_PTR>(::SendMessageA(m_hWndList, LB_GETITEMDATA, static_cast<WPARAM>(m_nItem), 0));
    if (auto* pList = DYNAMIC_DOWNCAST(CListBox, m_pDrawer))
        pList->DrawItem(&dis);
    else if (auto* pCombo = DYNAMIC_DOWNCAST(CComboBox, m_pDrawer))
        pCombo->DrawItem(&dis);
}
