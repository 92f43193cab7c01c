// Executing a control's command through its bar's site window, and the tracked press of a button
// with its auto-repeat.
#include "toolkit/commandbars/controlbase/Control.h"

#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/sounds/MenuSoundPlayer.h"
#include "toolkit/common/HeldReference.h"

namespace {

// Ends the tracking of the control's bars: a popup tracked for its result stores the id.
BOOL EndTracking(CKLVControlHost* pRoot, int nId, BOOL bStoreResult) {
    if (!pRoot) return FALSE;
    UINT* pReturnCmd = pRoot->GetReturnCmd();
    if (bStoreResult && !pReturnCmd) return FALSE;
    pRoot->SetTrackingMode(FALSE);
    if (bStoreResult) *pReturnCmd = static_cast<UINT>(nId);
    return TRUE;
}

// Closing the menus cuts a popup off from the bar that opened it, and so from the site: the bar
// keeps the site it has now until the command is sent.
class CSiteKept {
public:
    explicit CSiteKept(CKLVControlHost* pBar) : m_pBar(pBar), m_hold(pBar ? pBar->AsWnd() : nullptr) {
        if (!m_pBar || m_pBar->GetSiteOverride()) return;
        m_pBar->SetSiteOverride(m_pBar->GetSite());
        m_bKept = TRUE;
    }
    ~CSiteKept() {
        if (m_bKept) m_pBar->SetSiteOverride(nullptr);
    }
    CSiteKept(const CSiteKept&) = delete;
    CSiteKept& operator=(const CSiteKept&) = delete;

private:
    CKLVControlHost* m_pBar;
    CKLVHeldReference m_hold;
    BOOL m_bKept = FALSE;
};

}  // namespace

void CKLVControl::OnExecute() {
    KLVMenuSoundPlayer()->Play(CKLVMenuSoundPlayer::SoundMenuCommand);
    m_nPressed = m_pParent && ParentHost()->GetPosition() == CKLVControlHost::barPopup ? 0 : 2;
    CKLVControlHost* pRoot = m_pParent ? CKLVControlHost::Of(ParentHost()->GetRootParent()) : nullptr;
    if (EndTracking(pRoot, m_nId, TRUE)) return;
    RecordUsed();

    CKLVHeldReference self(this);
    const CSiteKept site(ParentHost());
    if (m_bCloseSubMenuOnClick) EndTracking(pRoot, m_nId, FALSE);
    if (m_nId == 0) return;
    SendCommand();
    if (m_bCloseSubMenuOnClick && m_nPressed == 0) return;
    m_nPressed = 0;
    if (m_pParent) ParentHost()->OnIdleUpdate();
    RedrawParent(FALSE);
}

void CKLVControl::RecordUsed() {
    CKLVCommandBarsLink* pLink = m_pParent ? ParentHost()->GetCommandBarsLink() : nullptr;
    if (!pLink) return;
    pLink->SetCommandUsed(static_cast<UINT>(m_nId));
    // The submenu that led here is used as well, or a short menu would hide the way back.
    if (CKLVControl* pOpening = ParentHost()->GetOpeningControl())
        pLink->SetCommandUsed(static_cast<UINT>(pOpening->GetId()));
}

void CKLVControl::SendCommand() {
    if (NotifySite(notifyExecute)) return;
    if (CWnd* pSite = m_pParent ? ParentHost()->GetSite() : nullptr)
        pSite->SendMessage(WM_COMMAND, static_cast<WPARAM>(m_nId));
}

BOOL CKLVControl::GetCapturedMessage(HWND hWnd, MSG& msg) {
    if (::GetCapture() != hWnd) return FALSE;
    if (::GetMessageA(&msg, nullptr, 0, 0)) return TRUE;
    // The quit request belongs to the loop that called us.
    ::PostQuitMessage(static_cast<int>(msg.wParam));
    return FALSE;
}

LRESULT CKLVControl::NotifySite(UINT nCode) {
    NMKLVCONTROL nm = {};
    return NotifySiteEx(nCode, &nm.hdr);
}

LRESULT CKLVControl::NotifySiteEx(UINT nCode, NMHDR* pNM) {
    CWnd* pSite = m_pParent ? ParentHost()->GetSite() : nullptr;
    if (!pSite) return 0;
    pNM->hwndFrom = nullptr;
    pNM->idFrom = static_cast<UINT_PTR>(m_nId);
    pNM->code = nCode;
    reinterpret_cast<NMKLVCONTROL*>(pNM)->pControl = this;
    if (LRESULT lResult = pSite->SendMessage(msgControlNotify, static_cast<WPARAM>(m_nId), reinterpret_cast<LPARAM>(pNM)))
        return lResult;
    return pSite->OnCmdMsg(static_cast<UINT>(m_nId), MAKELONG(nCode, WM_NOTIFY), pNM, nullptr);
}

BOOL CKLVControl::OnLButtonDownTracking(const CRect* pRect) {
    CKLVControlHost* pBar = ParentHost();
    if (!pBar || !pBar->AsWnd()->GetSafeHwnd()) return FALSE;
    CKLVHeldReference holdControl(this);
    CKLVHeldReference holdBar(pBar->AsWnd());
    const CRect rcHit = pRect ? *pRect : m_rcControl;
    const HWND hWnd = pBar->AsWnd()->GetSafeHwnd();

    pBar->SetSelected(m_nIndex);
    m_nPressed = TRUE;
    RedrawParent(FALSE);
    ::SetCapture(hWnd);
    const BOOL bRepeat = m_nExecuteOnPressInterval > 0;
    if (bRepeat) {
        ::SetTimer(hWnd, timerAutoRepeat, static_cast<UINT>(m_nExecuteOnPressInterval), nullptr);
        SendCommand();
    }

    BOOL bClick = FALSE, bMoved = FALSE, bInside = FALSE;
    MSG msg;
    while (GetCapturedMessage(hWnd, msg)) {
        if (msg.message == WM_LBUTTONUP) {
            bClick = GetSelected() && (!bMoved || bInside);
            break;
        }
        if (msg.message == WM_TIMER && msg.wParam == timerAutoRepeat && msg.hwnd == hWnd) {
            if (GetSelected()) SendCommand();
            continue;
        }
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == hWnd) {
            bMoved = TRUE;
            bInside = rcHit.PtInRect(CPoint(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))));
            if (SetSelected(bInside)) RedrawParent(FALSE);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (bRepeat) ::KillTimer(hWnd, timerAutoRepeat);
    m_nPressed = bClick && pBar->GetType() != CKLVControlHost::barTypePopup ? 2 : 0;
    if (::GetCapture() == hWnd) ::ReleaseCapture();
    if (GetSelected()) pBar->SetSelected(-1);
    RedrawParent(FALSE);
    if (bClick && !bRepeat) OnExecute();
    return bClick;
}
