// The tooltip host: settings, the window of each style, and the filter that keeps the owner's
// tool under the cursor registered with the window.
#include "toolkit/commandbars/tooltips/TooltipHost.h"

#include "classlib/Controls.h"
#include "classlib/Wnd.h"
#include "toolkit/common/NonClientMetrics.h"
#include "toolkit/commandbars/tooltips/TooltipWnd.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/LoadedModule.h"

#include <windowsx.h>

#include <cstdlib>
#include <cstring>

namespace {

// Copies the text into memory from malloc; the filter frees it once the window has its copy.
LPSTR CopyText(LPCTSTR lpszText) {
    const size_t cb = std::strlen(lpszText ? lpszText : "") + 1;
    auto* psz = static_cast<LPSTR>(std::malloc(cb));
    if (psz) std::memcpy(psz, lpszText ? lpszText : "", cb);
    return psz;
}

KLVTOOLTIPBLOCK* BlockOf(const TOOLINFO& ti) {
    return ti.cbSize >= CKLVTooltipHost::nToolInfoExSize ? reinterpret_cast<KLVTOOLTIPBLOCK*>(ti.lParam) : nullptr;
}

// Frees what the owner's hit test put into a record: the text copy and the extended block.
class CToolInfoOwner {
public:
    explicit CToolInfoOwner(TOOLINFO& ti) : m_ti(ti) {}
    ~CToolInfoOwner() {
        if (m_ti.lpszText != LPSTR_TEXTCALLBACKA) std::free(m_ti.lpszText);
        m_ti.lpszText = nullptr;
        delete BlockOf(m_ti);
        if (m_ti.cbSize >= CKLVTooltipHost::nToolInfoExSize) m_ti.lParam = 0;
    }
    CToolInfoOwner(const CToolInfoOwner&) = delete;
    CToolInfoOwner& operator=(const CToolInfoOwner&) = delete;

private:
    TOOLINFO& m_ti;
};

// The screen point of a mouse message: client messages carry it in the window's client
// co-ordinates, non-client ones in screen co-ordinates; anything else is at the cursor.
CPoint MessagePoint(HWND hWnd, UINT message, LPARAM lParam) {
    CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
        ::ClientToScreen(hWnd, &pt);
    } else if (!(message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK)) {
        ::GetCursorPos(&pt);
    }
    return pt;
}

// The owner's top-level window is the active one: its last active pop-up is in the foreground.
BOOL IsTopParentActive(CWnd* pOwner) {
    CWnd* pTop = pOwner->GetTopLevelParent();
    HWND hWndTop = pTop ? pTop->m_hWnd : pOwner->m_hWnd;
    return ::GetForegroundWindow() == ::GetLastActivePopup(hWndTop);
}

// The message's window leads up to the owner through its parents.
BOOL IsWithinOwner(HWND hWndOwner, HWND hWnd) {
    for (; hWnd; hWnd = (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : nullptr)
        if (hWnd == hWndOwner) return TRUE;
    return FALSE;
}

void StripMnemonics(LPSTR lpszText) {
    if (lpszText && lpszText != LPSTR_TEXTCALLBACKA) CKLVDrawHelpers::StripMnemonics(lpszText);
}

}  // namespace

BOOL CKLVTooltipHost::IsMouseMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

BOOL CKLVTooltipHost::IsAnyMouseButtonDown() {
    return ::GetKeyState(VK_LBUTTON) < 0 || ::GetKeyState(VK_RBUTTON) < 0 || ::GetKeyState(VK_MBUTTON) < 0;
}

CKLVTooltipHost::CKLVTooltipHost()
    : m_nMaxTipWidth(::GetSystemMetrics(SM_CXSCREEN) / 2), m_lastInfo() {
    const CKLVNonClientMetrics metrics;
    LOGFONTA lf = metrics.lfStatusFont;
    lf.lfWeight = FW_NORMAL;
    m_fontNormal.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fontBold.CreateFontIndirect(&lf);
}

CKLVTooltipHost::~CKLVTooltipHost() { DestroyToolTip(); }

DWORD CKLVTooltipHost::GetComCtlVersion() const { return ::GetComCtlVersion(); }

void CKLVTooltipHost::DestroyToolTip() {
    if (m_pToolTip && m_pToolTip->m_hWnd) m_pToolTip->DestroyWindow();
    m_pToolTip.reset();
    m_lastInfo = TOOLINFOA();
}

void CKLVTooltipHost::SetStyle(int nStyle) {
    if (nStyle == m_nStyle) return;
    m_nStyle = nStyle;
    DestroyToolTip();
}

void CKLVTooltipHost::ShowTitleAndDescription(BOOL bShow, int nTitleIcon) {
    m_bShowTitleAndDescription = bShow;
    m_nTitleIcon = nTitleIcon;
}

void CKLVTooltipHost::ShowImage(BOOL bShow, int nImageBase) {
    m_bShowImage = bShow;
    m_nImageBase = nImageBase;
}

void CKLVTooltipHost::SetMaxTipWidth(int nWidth) {
    m_nMaxTipWidth = nWidth == -1 ? ::GetSystemMetrics(SM_CXSCREEN) : nWidth;
}

void CKLVTooltipHost::SetTooltipWindowStyle(DWORD dwStyle) {
    if (dwStyle == m_dwTipStyle) return;
    m_dwTipStyle = dwStyle;
    DestroyToolTip();
}

void CKLVTooltipHost::SetDelayTime(DWORD dwDuration, int nTime) {
    if (dwDuration == TTDT_INITIAL) m_nInitialDelay = nTime;
    else if (dwDuration == TTDT_RESHOW) m_nReshowDelay = nTime;
    else if (dwDuration == TTDT_AUTOPOP) m_nAutoPopDelay = nTime;
}

void CKLVTooltipHost::Activate(BOOL bActivate) {
    if (m_pToolTip && m_pToolTip->m_hWnd) m_pToolTip->SendMessage(TTM_ACTIVATE, bActivate);
}

void CKLVTooltipHost::CancelToolTips() {
    if (m_pToolTip && m_pToolTip->m_hWnd) m_pToolTip->SendMessage(TTM_POP);
}

CWnd* CKLVTooltipHost::CreateToolTip(CWnd* pOwner) {
    DestroyToolTip();
    const DWORD dwStyle = WS_POPUP | m_dwTipStyle | TTS_ALWAYSTIP | TTS_NOPREFIX;
    HWND hWndOwner = AfxGetSafeHwnd(pOwner);
    if (m_nStyle >= 2) {
        std::unique_ptr<CKLVTooltipWnd> pWnd = CKLVTooltipWnd::CreateForStyle(m_nStyle, this);
        if (!pWnd->CreateTipWindow(dwStyle, hWndOwner)) return nullptr;
        m_pToolTip = std::move(pWnd);
    } else {
        auto pWnd = std::make_unique<CWnd>();
        AfxInitCommonControls(ICC_WIN95_CLASSES);
        if (!pWnd->CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, dwStyle | (m_nStyle == 1 ? TTS_BALLOON : 0),
                            CRect(0, 0, 0, 0), CWnd::FromHandle(hWndOwner), 0))
            return nullptr;
        pWnd->SetFont(&m_fontNormal);
        m_pToolTip = std::move(pWnd);
    }
    return m_pToolTip.get();
}

void CKLVTooltipHost::FillInToolInfo(TOOLINFO* pToolInfo, HWND hWnd, const CRect& rcTool, INT_PTR nHit,
                                     LPCTSTR lpszText) {
    if (!pToolInfo || pToolInfo->cbSize < nToolInfoSize) return;
    pToolInfo->hwnd = hWnd;
    pToolInfo->uId = static_cast<UINT_PTR>(nHit);
    pToolInfo->rect = rcTool;
    pToolInfo->lpszText = CopyText(lpszText);
}

void CKLVTooltipHost::FillInToolInfoEx(TOOLINFO* pToolInfo, HWND hWnd, const CRect& rcTool, INT_PTR nHit,
                                       const CString& strText, const CString& strTitle,
                                       const CString& strDescription, CKLVImageManager* pImageManager) {
    FillInToolInfo(pToolInfo, hWnd, rcTool, nHit, strText);
    if (!pToolInfo || pToolInfo->cbSize < nToolInfoExSize) return;
    auto* pBlock = new KLVTOOLTIPBLOCK;
    if (!strDescription.IsEmpty() && !strTitle.IsEmpty()) {
        pBlock->strBody = strDescription;
        pBlock->strTitle = strTitle;
    }
    pBlock->pImageManager = pImageManager;
    delete BlockOf(*pToolInfo);
    pToolInfo->lParam = reinterpret_cast<LPARAM>(pBlock);
}

BOOL CKLVTooltipHost::IsRelayedMessage(UINT message) const {
    return message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE || message == WM_LBUTTONUP ||
           message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

BOOL CKLVTooltipHost::IsCancelMessage(UINT message) const {
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK:
        return TRUE;
    default:
        return message >= WM_KEYFIRST && message <= WM_SYSDEADCHAR;
    }
}

void CKLVTooltipHost::FilterToolTipMessage(CWnd* pOwner, UINT message, WPARAM wParam, LPARAM lParam) {
    // A bar sends every message it gets: the record (and the cursor position) only for those
    // the filter acts on.
    if (!pOwner || !pOwner->m_hWnd || !(IsCancelMessage(message) || IsRelayedMessage(message))) return;
    MSG msg = {};
    msg.hwnd = pOwner->m_hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(::GetMessageTime());
    msg.pt = MessagePoint(pOwner->m_hWnd, message, lParam);
    FilterToolTipMessage(pOwner, &msg, FALSE);
}

CWnd* CKLVTooltipHost::PrepareToolTip(CWnd* pOwner) {
    CWnd* pTop = pOwner->GetTopLevelParent();
    HWND hWndTop = pTop ? pTop->m_hWnd : pOwner->m_hWnd;
    if (m_pToolTip && m_pToolTip->m_hWnd && ::GetWindow(m_pToolTip->m_hWnd, GW_OWNER) == hWndTop)
        return m_pToolTip.get();
    CWnd* pToolTip = CreateToolTip(CWnd::FromHandle(hWndTop));
    if (!pToolTip) return nullptr;
    pToolTip->SendMessage(TTM_SETMAXTIPWIDTH, 0, m_nMaxTipWidth);
    pToolTip->SendMessage(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&m_rcMargin));
    if (m_clrBack != COLORREF(-1)) pToolTip->SendMessage(TTM_SETTIPBKCOLOR, m_clrBack);
    if (m_clrText != COLORREF(-1)) pToolTip->SendMessage(TTM_SETTIPTEXTCOLOR, m_clrText);
    if (m_nReshowDelay != -1) pToolTip->SendMessage(TTM_SETDELAYTIME, TTDT_RESHOW, m_nReshowDelay);
    if (m_nInitialDelay != -1) pToolTip->SendMessage(TTM_SETDELAYTIME, TTDT_INITIAL, m_nInitialDelay);
    if (m_nAutoPopDelay != -1) pToolTip->SendMessage(TTM_SETDELAYTIME, TTDT_AUTOPOP, m_nAutoPopDelay);
    pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
    return pToolTip;
}

void CKLVTooltipHost::FilterToolTipMessage(CWnd* pOwner, const MSG* pMsg, BOOL bForce) {
    if (!pOwner || !pOwner->m_hWnd) return;
    if (!bForce && !IsWithinOwner(pOwner->m_hWnd, pMsg->hwnd)) return;
    if (IsCancelMessage(pMsg->message)) {
        Activate(FALSE);
        return;
    }
    if (!IsRelayedMessage(pMsg->message) || IsAnyMouseButtonDown()) return;

    if (m_pToolTip && m_pToolTip->m_hWnd && m_pToolTip->IsWindowVisible() && !IsTopParentActive(pOwner)) {
        Activate(FALSE);
        return;
    }
    CWnd* pToolTip = PrepareToolTip(pOwner);
    if (!pToolTip) return;

    CPoint ptClient = pMsg->pt;
    pOwner->ScreenToClient(&ptClient);
    TOOLINFOA ti = {};
    ti.cbSize = (m_bShowTitleAndDescription || m_bShowImage) ? nToolInfoExSize : nToolInfoSize;
    const INT_PTR nHit = pOwner->OnToolHitTest(ptClient, &ti);
    CToolInfoOwner owner(ti);
    // Every mouse move comes here: while the mouse stays on one tool, or on none, the window
    // keeps what it has.
    const BOOL bUnchanged = nHit == -1 ? m_lastInfo.cbSize == 0
                                       : m_lastInfo.hwnd == ti.hwnd && m_lastInfo.uId == ti.uId &&
                                             ::EqualRect(&m_lastInfo.rect, &ti.rect);
    if (!bUnchanged) ReplaceTool(pOwner, pToolTip, ti, nHit);
    RelayEvent(pToolTip, pMsg);
}

void CKLVTooltipHost::ReplaceTool(CWnd* pOwner, CWnd* pToolTip, TOOLINFO& ti, INT_PTR nHit) {
    if (m_lastInfo.cbSize) pToolTip->SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&m_lastInfo));
    m_lastInfo = TOOLINFOA();
    if (nHit == -1) {
        pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
        return;
    }
    const BOOL bShowAtOnce = (ti.uFlags & toolShowAtOnce) != 0;
    ti.uFlags &= ~toolShowAtOnce;
    KLVTOOLTIPBLOCK* pBlock = BlockOf(ti);
    if (!(m_dwTipStyle & tipNoPrefix)) {
        StripMnemonics(ti.lpszText);
        if (pBlock) CKLVDrawHelpers::StripMnemonicsString(pBlock->strTitle);
    }
    // The body text replaces the tool's text when the title shows.
    const BOOL bTitled = m_bShowTitleAndDescription && pBlock && !pBlock->strBody.IsEmpty();
    if (bTitled) {
        if (ti.lpszText != LPSTR_TEXTCALLBACKA) std::free(ti.lpszText);
        ti.lpszText = CopyText(pBlock->strBody);
    }
    pToolTip->SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    if (m_nStyle != 3 && (::GetComCtlVersion() >= 0x50050 || m_nStyle != 0)) {
        if (bTitled)
            pToolTip->SendMessage(TTM_SETTITLEA, static_cast<WPARAM>(m_nTitleIcon),
                                  reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(pBlock->strTitle)));
        else
            pToolTip->SendMessage(TTM_SETTITLEA, 0, reinterpret_cast<LPARAM>(""));
    }
    if (m_bShowImage) {
        CKLVImageManagerIcon* pImage = pBlock && pBlock->pImageManager
                                           ? pBlock->pImageManager->GetImage(static_cast<UINT>(m_nImageBase + nHit))
                                           : nullptr;
        pToolTip->SendMessage(msgSetImage, 0, reinterpret_cast<LPARAM>(pImage));
    }
    if (bShowAtOnce || IsTopParentActive(pOwner)) {
        pToolTip->SendMessage(TTM_ACTIVATE, TRUE);
        pToolTip->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    m_lastInfo = ti;
    // The window made its own copies; the record keeps neither text nor block.
    m_lastInfo.lpszText = nullptr;
    if (m_lastInfo.cbSize >= nToolInfoExSize) m_lastInfo.lParam = 0;
}

void CKLVTooltipHost::RelayEvent(CWnd* pToolTip, const MSG* pMsg) {
    MSG msg = *pMsg;
    // Mouse messages reach the tool's window in its own client co-ordinates.
    if (m_lastInfo.cbSize && !(m_lastInfo.uFlags & TTF_IDISHWND) && m_lastInfo.hwnd &&
        pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST) {
        CPoint pt = pMsg->pt;
        ::ScreenToClient(m_lastInfo.hwnd, &pt);
        msg.hwnd = m_lastInfo.hwnd;
        msg.lParam = MAKELPARAM(pt.x, pt.y);
    }
    pToolTip->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}
