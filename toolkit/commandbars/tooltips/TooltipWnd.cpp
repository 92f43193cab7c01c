// The toolkit's tooltip window: its tools, the relayed mouse, the delays, placement and the
// mouse hook that hides the tip when the mouse leaves for another window.
#include "toolkit/commandbars/tooltips/TooltipWnd.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/tooltips/TooltipHost.h"
#include "toolkit/common/GdiHandles.h"
#include "toolkit/common/OSVersionInfo.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// One tip at a time watches the mouse: the hook and the window that set it.
HHOOK s_hMouseHook = nullptr;
CKLVTooltipWnd* s_pHookOwner = nullptr;

// How far the visible part of the cursor reaches below its hot spot, from its mask bitmap.
int CursorHeightBelowHotSpot() {
    HCURSOR hCursor = ::GetCursor();
    if (!hCursor) hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    const CKLVIconBitmaps bitmaps(hCursor);
    if (!bitmaps.m_bValid) return ::GetSystemMetrics(SM_CYCURSOR);
    BITMAP bm = {};
    ::GetObjectA(bitmaps.m_mask.get(), sizeof bm, &bm);
    // A monochrome cursor stacks its AND mask over its XOR mask; a visible pixel is one the AND
    // mask clears or the XOR mask sets.
    const bool bMonochrome = !bitmaps.m_color;
    const int cy = bMonochrome ? bm.bmHeight / 2 : bm.bmHeight;
    CKLVBitmapDC dc(nullptr, bitmaps.m_mask.get());
    auto IsRowVisible = [&](int y) {
        for (int x = 0; x < bm.bmWidth; ++x)
            if (::GetPixel(dc.Get(), x, y) == 0 || (bMonochrome && ::GetPixel(dc.Get(), x, y + cy) != 0))
                return true;
        return false;
    };
    int nLastRow = cy - 1;
    while (nLastRow >= 0 && !IsRowVisible(nLastRow)) --nLastRow;
    return std::max(0, nLastRow - static_cast<int>(bitmaps.m_ptHotSpot.y) + 1);
}

}  // namespace

CKLVTooltipWnd::~CKLVTooltipWnd() {
    RemoveHook();
    if (m_hWnd) DestroyWindow();
}

BOOL CKLVTooltipWnd::IsMouseHookSet() { return s_hMouseHook != nullptr; }

BOOL CKLVTooltipWnd::CreateTipWindow(DWORD dwStyle, HWND hWndOwner) {
    UINT nClassStyle = 0x820;
    // A drop shadow where the system draws one, unless the style bits ask for none.
    if (GetOSVersionInfo()->IsWinXPOrGreater() && !(dwStyle & 0x2000)) nClassStyle |= CS_DROPSHADOW;
    LPCTSTR lpszClass = AfxRegisterWndClass(nClassStyle, ::LoadCursorA(nullptr, IDC_ARROW));
    return CreateEx(WS_EX_TOOLWINDOW, lpszClass, nullptr, dwStyle, CRect(0, 0, 0, 0), CWnd::FromHandle(hWndOwner), 0);
}

LRESULT CKLVTooltipWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (HandleTipMessage(message, wParam, lParam, lResult)) return lResult;
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CKLVTooltipWnd::HandleTipMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    switch (message) {
    case TTM_ADDTOOLA: AddTool(reinterpret_cast<const TOOLINFOA*>(lParam)); lResult = TRUE; return TRUE;
    case TTM_DELTOOLA: DeleteTool(reinterpret_cast<const TOOLINFOA*>(lParam)); return TRUE;
    case TTM_UPDATETIPTEXTA: UpdateTipText(reinterpret_cast<const TOOLINFOA*>(lParam)); return TRUE;
    case TTM_RELAYEVENT: RelayEvent(reinterpret_cast<const MSG*>(lParam)); return TRUE;
    case TTM_ACTIVATE:
        m_bActive = static_cast<BOOL>(wParam);
        if (!m_bActive) Hide();
        return TRUE;
    case TTM_POP: Hide(); return TRUE;
    case TTM_SETTITLEA:
        m_nTitleIcon = wParam;
        m_strTitle = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        lResult = TRUE;
        return TRUE;
    case TTM_SETDELAYTIME:
        if (wParam == TTDT_RESHOW) m_nReshowDelay = static_cast<int>(lParam);
        else if (wParam == TTDT_INITIAL) m_nInitialDelay = static_cast<int>(lParam);
        return TRUE;
    case CKLVTooltipHost::msgSetImage: m_pImage = reinterpret_cast<CKLVImageManagerIcon*>(lParam); return TRUE;
    case TTM_WINDOWFROMPOINT: {
        const POINT pt = *reinterpret_cast<const POINT*>(lParam);
        HWND hWnd = ::WindowFromPoint(pt);
        if (hWnd && (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD) &&
            ::SendMessageA(hWnd, CKLVTooltipHost::msgUseParentForTips, 0, 0) == 1)
            hWnd = ::GetParent(hWnd);
        lResult = reinterpret_cast<LRESULT>(hWnd);
        return TRUE;
    }
    case WM_PAINT: OnPaintTip(); return TRUE;
    case WM_ERASEBKGND: lResult = TRUE; return TRUE;
    case WM_NCHITTEST: lResult = HTTRANSPARENT; return TRUE;
    case WM_MOUSEACTIVATE: lResult = MA_NOACTIVATE; return TRUE;
    case WM_MOUSEMOVE: Hide(); return TRUE;
    case WM_TIMER:
        if (wParam != timerShow) return FALSE;
        OnTimerShow();
        return TRUE;
    case WM_DESTROY:
        // No hook or timer may outlive the window they point at.
        RemoveHook();
        if (m_nPendingTimer) KillTimer(m_nPendingTimer);
        m_nPendingTimer = 0;
        return FALSE;
    default: return FALSE;
    }
}

void CKLVTooltipWnd::AddTool(const TOOLINFOA* pInfo) {
    if (!pInfo || pInfo->cbSize < CKLVTooltipHost::nToolInfoSize) return;
    auto pTool = std::make_unique<Tool>();
    pTool->hwnd = pInfo->hwnd;
    pTool->uId = pInfo->uId;
    pTool->uFlags = pInfo->uFlags;
    pTool->rect = pInfo->rect;
    if (pInfo->cbSize >= CKLVTooltipHost::nToolInfoExSize && pInfo->lParam)
        pTool->rectPlacement = reinterpret_cast<const KLVTOOLTIPBLOCK*>(pInfo->lParam)->rcPlacement;
    pTool->bCallback = pInfo->lpszText == LPSTR_TEXTCALLBACKA;
    if (!pTool->bCallback && pInfo->lpszText) pTool->strText = pInfo->lpszText;
    m_tools.push_back(std::move(pTool));
}

void CKLVTooltipWnd::DeleteTool(const TOOLINFOA* pInfo) {
    if (!pInfo) return;
    Tool key;
    key.hwnd = pInfo->hwnd;
    key.uId = pInfo->uId;
    if (m_current.IsSameTool(key)) Hide();
    if (m_pending.IsSameTool(key)) {
        if (m_nPendingTimer) KillTimer(m_nPendingTimer);
        m_nPendingTimer = 0;
        m_pending = Tool();
    }
    m_tools.erase(std::remove_if(m_tools.begin(), m_tools.end(),
                                 [&](const std::unique_ptr<Tool>& pTool) { return pTool->IsSameTool(key); }),
                  m_tools.end());
}

void CKLVTooltipWnd::UpdateTipText(const TOOLINFOA* pInfo) {
    if (!pInfo) return;
    for (auto& pTool : m_tools) {
        if (pTool->hwnd != pInfo->hwnd || pTool->uId != pInfo->uId) continue;
        pTool->bCallback = pInfo->lpszText == LPSTR_TEXTCALLBACKA;
        pTool->strText = !pTool->bCallback && pInfo->lpszText ? pInfo->lpszText : "";
    }
}

const CKLVTooltipWnd::Tool* CKLVTooltipWnd::ToolFromPoint(CPoint ptScreen) const {
    const HWND hWndUnder = reinterpret_cast<HWND>(
        const_cast<CKLVTooltipWnd*>(this)->SendMessage(TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&ptScreen)));
    for (const auto& pTool : m_tools) {
        if (!::IsWindow(pTool->hwnd)) continue;
        if (pTool->uFlags & TTF_IDISHWND) {
            CRect rc;
            ::GetWindowRect(reinterpret_cast<HWND>(pTool->uId), &rc);
            if (rc.PtInRect(ptScreen)) return pTool.get();
            continue;
        }
        CPoint pt = ptScreen;
        ::ScreenToClient(pTool->hwnd, &pt);
        if (pTool->rect.PtInRect(pt) && pTool->hwnd == hWndUnder) return pTool.get();
    }
    return nullptr;
}

void CKLVTooltipWnd::RelayEvent(const MSG* pMsg) {
    if (!m_bActive || !pMsg || !CKLVTooltipHost::IsMouseMessage(pMsg->message)) return;
    m_ptCursor = pMsg->pt;
    if (pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_NCLBUTTONDOWN) {
        // The tool just clicked shows no tip until the mouse has left it.
        const Tool* pTool = ToolFromPoint(pMsg->pt);
        m_clicked = pTool ? *pTool : Tool();
        Hide();
        return;
    }
    if (CKLVTooltipHost::IsAnyMouseButtonDown()) return;
    const Tool* pTool = ToolFromPoint(pMsg->pt);
    if (!m_clicked.IsEmpty() && !(pTool && pTool->IsSameTool(m_clicked))) m_clicked = Tool();
    if (pTool && pTool->IsSameTool(m_clicked)) pTool = nullptr;

    if (m_nPendingTimer && !(pTool && pTool->IsSameTool(m_pending))) {
        KillTimer(m_nPendingTimer);
        m_nPendingTimer = 0;
        m_pending = Tool();
    }
    if (!pTool) {
        Hide();
        return;
    }
    if (pTool->IsSameTool(m_current)) return;
    if (GetCurrentTick() - m_dwLastShow >= static_cast<DWORD>(m_nReshowDelay)) {
        if (m_pending.IsSameTool(*pTool)) return;
        m_pending = *pTool;
        m_nPendingTimer = SetTimer(timerShow, static_cast<UINT>(m_nInitialDelay), nullptr);
        return;
    }
    ShowTool(*pTool);
}

void CKLVTooltipWnd::OnTimerShow() {
    if (m_nPendingTimer) KillTimer(m_nPendingTimer);
    m_nPendingTimer = 0;
    const Tool pending = m_pending;
    m_pending = Tool();
    const Tool* pTool = ToolFromPoint(m_ptCursor);
    if (m_bActive && pTool && pTool->IsSameTool(pending)) ShowTool(*pTool);
}

CRect CKLVTooltipWnd::PlaceAtCursor(CSize size) const {
    const CPoint pt = m_ptCursor;
    CRect rc(CPoint(pt.x, pt.y + CursorHeightBelowHotSpot()), size);
    if (GetExStyle() & WS_EX_LAYOUTRTL) rc.OffsetRect(-size.cx, 0);
    return KeepInWorkArea(rc);
}

CRect CKLVTooltipWnd::PlaceAtRect(const Tool& tool, CSize size) const {
    CPoint pt = tool.rectPlacement.TopLeft();
    ::ClientToScreen(tool.hwnd, &pt);
    return KeepInWorkArea(CRect(pt, size));
}

CRect CKLVTooltipWnd::KeepInWorkArea(CRect rc) const {
    const CPoint pt = m_ptCursor;
    const CSize size = rc.Size();
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    ::GetMonitorInfoA(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &info);
    const CRect rcWork(info.rcWork);
    if (rc.right > rcWork.right - 4) rc.OffsetRect(rcWork.right - 4 - rc.right, 0);
    if (rc.left < rcWork.left) rc.OffsetRect(rcWork.left - rc.left, 0);
    if (rc.bottom > rcWork.bottom - 4) rc.OffsetRect(0, pt.y - 3 - size.cy - rc.top);
    return rc;
}

void CKLVTooltipWnd::ShowTool(const Tool& tool) {
    CSize size;
    {
        CClientDC dc(this);
        size = Measure(&dc, GetToolText(tool));
    }
    if (size.cx == 0 || size.cy == 0) {
        Hide();
        return;
    }
    m_current = tool;
    ShowWindow(SW_HIDE);
    const CRect rc = tool.rectPlacement.IsRectEmpty() ? PlaceAtCursor(size) : PlaceAtRect(tool, size);
    SetWindowPos(&CWnd::wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
    SetHook();
    m_clicked = Tool();
    m_dwLastShow = GetCurrentTick();
}

void CKLVTooltipWnd::Hide() {
    RemoveHook();
    if (m_nPendingTimer) KillTimer(m_nPendingTimer);
    m_nPendingTimer = 0;
    m_pending = Tool();
    if (m_current.IsEmpty()) return;
    m_current = Tool();
    if (m_hWnd) ShowWindow(SW_HIDE);
    m_dwLastShow = GetCurrentTick();
}

void CKLVTooltipWnd::SetHook() {
    if (s_hMouseHook) return;
    s_hMouseHook = ::SetWindowsHookExA(WH_MOUSE, &CKLVTooltipWnd::MouseHookProc, nullptr, ::GetCurrentThreadId());
    if (s_hMouseHook) s_pHookOwner = this;
}

void CKLVTooltipWnd::RemoveHook() {
    if (s_pHookOwner != this) return;
    ::UnhookWindowsHookEx(s_hMouseHook);
    s_hMouseHook = nullptr;
    s_pHookOwner = nullptr;
}

LRESULT CALLBACK CKLVTooltipWnd::MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    const HHOOK hHook = s_hMouseHook;
    CKLVTooltipWnd* pOwner = s_pHookOwner;
    if (nCode == HC_ACTION && pOwner && (wParam == WM_MOUSEMOVE || wParam == WM_NCMOUSEMOVE)) {
        const auto* pHook = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        // Over another window the tool under the mouse is gone: the relay hides the tip.
        if (pHook->hwnd != pOwner->m_current.hwnd) {
            MSG msg = {};
            msg.hwnd = pHook->hwnd;
            msg.message = WM_MOUSEMOVE;
            msg.pt = pHook->pt;
            pOwner->RelayEvent(&msg);
        }
    }
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}
