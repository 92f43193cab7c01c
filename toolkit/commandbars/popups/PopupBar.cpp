// The popup bar's window: opening and closing, tracking, timers, the mouse over its scroll arrows
// and gripper, the keys that expand a short menu, drawing and the saved keys.
#include "toolkit/commandbars/popups/PopupBar.h"

#include "classlib/Dc.h"
#include "classlib/WinThread.h"
#include "classlib/WindowMessages.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/popups/PopupShadows.h"
#include "toolkit/commandbars/sounds/MenuSoundPlayer.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/MouseHook.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/common/StartupRegistrations.h"

#include <cstdlib>
#include <vector>

KLV_IMPLEMENT_SERIAL(CKLVPopupBar, CKLVCommandBar)

BEGIN_MESSAGE_MAP(CKLVPopupBar, CKLVCommandBar)
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

namespace {

// Submenus' bars are popup bars unless a site names its own class.
const struct PopupBarRegistration {
    PopupBarRegistration() { CKLVControlHost::RegisterPopupBarClass(RUNTIME_CLASS(CKLVPopupBar)); }
} s_popupBarRegistration;

// The class name for each class style: menus save the bits under them unless the options say no.
const char kClassSaveBits[] = "KLVPopupBar";
const char kClassPlain[] = "KLVPopupBarNoSaveBits";
constexpr DWORD kPopupStyle = 0x86000100;   // WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | 0x100

}  // namespace

CKLVPopupBar::CKLVPopupBar() {
    m_barType = barTypePopup;
    m_barPosition = barPopup;
    m_scrollDown.pPopup = this;
    m_scrollDown.nTimerId = timerScrollDown;
    m_scrollUp.pPopup = this;
    m_scrollUp.nTimerId = timerScrollUp;
    CKLVDrawHelpers::RegisterWndClass(nullptr, kClassSaveBits, CS_DBLCLKS | CS_SAVEBITS);
    CKLVDrawHelpers::RegisterWndClass(nullptr, kClassPlain, CS_DBLCLKS);
}

CKLVPopupBar::~CKLVPopupBar() {
    KLVPopupShadows()->RemoveShadows(this);
}

CKLVPopupBar* CKLVPopupBar::CreatePopupBar(CKLVCommandBars* pCommandBars, CKLVCommandBarsLink* pLink) {
    auto* pBar = static_cast<CKLVPopupBar*>(RUNTIME_CLASS(CKLVPopupBar)->CreateObject());
    pBar->m_pCommandBars = pCommandBars;
    pBar->m_pLink = pLink;
    return pBar;
}

BOOL CKLVPopupBar::CreatePopupWindow() {
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    const BOOL bSaveBits = !pCommandBars || pCommandBars->GetOptions()->bShowPopupShadow;
    DWORD dwExStyle = WS_EX_TOOLWINDOW;
    if (pCommandBars && pCommandBars->IsLayoutRTL()) dwExStyle |= WS_EX_LAYOUTRTL;
    CWnd* pSite = GetSite();
    return CreateEx(dwExStyle, bSaveBits ? kClassSaveBits : kClassPlain, m_strTitle, kPopupStyle, CRect(0, 0, 0, 0),
                    pSite && pSite->GetSafeHwnd() ? pSite : nullptr, 0);
}

BOOL CKLVPopupBar::Popup(int x, int y, LPCRECT lpExclude) {
    m_ptPopup = CPoint(x, y);
    m_rcExclude = lpExclude ? CRect(*lpExclude) : CRect();
    m_dwPopupFlags = m_nAlignment == alignRight ? directionLeft : 0;
    return Popup(nullptr, FALSE);
}

void CKLVPopupBar::PumpMessageLoop() {
    CKLVHeldReference hold(this);
    CKLVHeldReference holdParent(m_pControlPopup);
    CWinThread* pThread = AfxGetThread();
    MSG msg;
    while (m_bTracking) {
        const BOOL bMessage = ::GetMessageA(&msg, nullptr, 0, 0);
        if (bMessage <= 0) {
            // The quit request belongs to the loop that called us; the menu closes.
            if (bMessage == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
            SetTrackingMode(FALSE);
            break;
        }
        if (!m_bTracking) {
            if (msg.hwnd)
                ::PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
            else
                ::PostThreadMessageA(::GetCurrentThreadId(), msg.message, msg.wParam, msg.lParam);
            break;
        }
        if (msg.message == WM_KICKIDLE) continue;
        if (pThread && pThread->PreTranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

BOOL CKLVPopupBar::OpenFor(CKLVControlPopup* pControl, BOOL bSelectFirst) {
    if (!GetTrackingMode() && !Popup(pControl, bSelectFirst)) return FALSE;
    // The open menu's shadow falls on the control it hangs from too.
    if (m_bShowShadow && pControl->IsShadowedWithItsBar()) KLVPopupShadows()->SetControlShadow(pControl);
    return TRUE;
}

void CKLVPopupBar::RunDefaultItem() {
    if (CKLVControl* pDefault = GetDefaultItem())
        pDefault->OnExecute();
    else
        ExpandBar();   // a short menu shows everything; a full one stays as it is
}

BOOL CKLVPopupBar::Popup(CKLVControlPopup* pControlPopup, BOOL bSelectFirst) {
    m_pControlPopup = pControlPopup;
    // Without a theme there is nothing to measure or draw the menu with.
    if (!GetPaintManager()) return FALSE;
    if (!GetSafeHwnd() && !CreatePopupWindow()) return FALSE;
    CKLVHeldReference hold(this);
    HideToolTips();
    LockRedraw();
    if (CWnd* pSite = GetSite())
        if (pSite->GetSafeHwnd()) pSite->SendMessage(msgPopupOpening, 0, reinterpret_cast<LPARAM>(this));
    m_bTearOffSelected = FALSE;
    m_bHasHiddenItems = FALSE;
    m_bExpandedByUser = FALSE;
    m_bExpanded = IsCustomizeMode() || KLVMouseHook()->m_bExpanded;
    m_bScrolling = FALSE;
    m_nFirstVisible = m_nEndVisible = 0;
    if (m_pControlPopup) UpdateFromParentControl();
    UpdateLocation(CalcDynamicLayout(0, 0));

    CKLVCommandBar* pParentBar = GetParentCommandBar();
    if (m_pControlPopup && (!pParentBar || !pParentBar->GetSafeHwnd())) {
        UnlockRedraw();
        DestroyWindow();
        return FALSE;
    }
    SetTrackingMode(TRUE, bSelectFirst, bSelectFirst);
    m_nIdleFlags &= ~delayLayout;
    OnIdleUpdate(TRUE, FALSE);
    if (!GetSafeHwnd()) {
        UnlockRedraw();
        return FALSE;
    }
    ShowPopupWindow();
    KLVMenuSoundPlayer()->Play(CKLVMenuSoundPlayer::SoundMenuPopup);
    if (m_barPosition == barPopup && m_bShowShadow) {
        KLVPopupShadows()->RemoveShadows(this);
        KLVPopupShadows()->SetShadow(this, m_rcExclude);
    }
    UnlockRedraw();
    if (m_nIdleFlags & delayRedraw) Redraw();
    return TRUE;
}

void CKLVPopupBar::UpdateLocation(CSize sz) {
    const CRect rc = CalcPopupRect(sz);
    const UINT nFlags = SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER | (::IsWindowVisible(m_hWnd) ? SWP_NOZORDER : 0);
    SetWindowPos(&CWnd::wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(), nFlags);
    GetPaintManager()->SetCommandBarRegion(this);
    if (m_bScrolling) CalcScrollingLayout(FALSE);
}

int CKLVPopupBar::GetAnimationKind() const {
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    if (!pCommandBars || (GetSafeHwnd() && ::GetWindow(m_hWnd, GW_CHILD))) return animateNone;
    const long nAnimation = pCommandBars->GetOptions()->animateType;
    if (nAnimation == animateSystem) {
        BOOL bAnimation = FALSE, bFade = FALSE;
        if (::SystemParametersInfoA(SPI_GETMENUANIMATION, 0, &bAnimation, 0) && !bAnimation) return animateNone;
        if (!::SystemParametersInfoA(SPI_GETMENUFADE, 0, &bFade, 0)) return animateSlide;
        return bFade ? animateFade : animateSlide;
    }
    if (nAnimation == animateRandom) {
        static const int kinds[] = {animateFade, animateSlide, animateUnfold};
        return kinds[std::rand() % 3];
    }
    return static_cast<int>(nAnimation);
}

BOOL CKLVPopupBar::IsAnimated(int nKind) const {
    return nKind >= animateUnfold && nKind <= animateFade && !IsCustomizeMode();
}

void CKLVPopupBar::ShowPopupWindow() {
    const int nKind = GetAnimationKind();
    if (!IsAnimated(nKind)) {
        ShowWindow(SW_SHOWNA);
        return;
    }
    PlayAnimation(nKind, nullptr, CSize(0, 0));
}

void CKLVPopupBar::PlayAnimation(int nKind, CDC* pStartDC, CSize szStart) {
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    const CRect rc(CPoint(0, 0), rcWindow.Size());
    CClientDC dcWindow(this);
    CDC dcPicture;
    dcPicture.CreateCompatibleDC(&dcWindow);
    CBitmap bmPicture;
    bmPicture.CreateCompatibleBitmap(&dcWindow, rc.Width(), rc.Height());
    HGDIOBJ hOld = dcPicture.SelectObject(static_cast<HGDIOBJ>(bmPicture));
    DrawCommandBar(&dcPicture, rc);
    // The window starts as the screen under it, with the old picture over it when there is
    // one, and changes into the menu.
    HDC hdcDesktop = ::GetDC(::GetDesktopWindow());
    ::BitBlt(dcWindow.GetSafeHdc(), 0, 0, rc.Width(), rc.Height(), hdcDesktop, rcWindow.left, rcWindow.top, SRCCOPY);
    ::ReleaseDC(::GetDesktopWindow(), hdcDesktop);
    if (pStartDC) {
        dcWindow.BitBlt(0, 0, szStart.cx, szStart.cy, pStartDC, 0, 0, SRCCOPY);
    }
    GetPaintManager()->AnimatePopup(&dcWindow, &dcPicture, rc, nKind);
    // Every animation ends on the finished picture: a fade's last frame falls short of it.
    dcWindow.BitBlt(0, 0, rc.Width(), rc.Height(), &dcPicture, 0, 0, SRCCOPY);
    dcPicture.SelectObject(hOld);
    ValidateRect(nullptr);
}

BOOL CKLVPopupBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard) {
    CKLVHeldReference hold(this);
    if (!CKLVCommandBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard)) return FALSE;
    if (bMode) {
        m_accessible.NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, GetSafeHwnd(), OBJID_CLIENT, CHILDID_SELF);
        return TRUE;
    }
    m_accessible.NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, GetSafeHwnd(), OBJID_CLIENT, CHILDID_SELF);
    CKLVControlPopup* pControlPopup = m_pControlPopup;
    CKLVHeldReference holdControl(pControlPopup);
    DestroyWindow();
    CKLVCommandBar* pParentBar = GetParentCommandBar();
    if (pParentBar && pControlPopup && pParentBar->m_nPopuped == pControlPopup->GetIndex()) pParentBar->SetPopuped(-1);
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd()) pSite->SendMessage(msgPopupClosed, 0, reinterpret_cast<LPARAM>(this));
    ::Sleep(1);
    m_pControlPopup = nullptr;
    if (pSite && pSite->GetSafeHwnd()) pSite->UpdateWindow();
    return TRUE;
}

BOOL CKLVPopupBar::DestroyWindow() {
    // Closing while the window is going (tracking ends in WM_DESTROY) destroys nothing twice.
    if (!GetSafeHwnd() || m_bDestroying) return FALSE;
    m_bDestroying = TRUE;
    StopScrollTimers();
    KLVPopupShadows()->RemoveShadows(this);
    // Windows of controls (edit boxes and the like) live on with the site.
    CWnd* pSite = GetSite();
    const HWND hSite = pSite ? pSite->GetSafeHwnd() : nullptr;
    std::vector<HWND> children;
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        children.push_back(hChild);
    for (HWND hChild : children) {
        ::ShowWindow(hChild, SW_HIDE);
        if (hSite) ::SetParent(hChild, hSite);
    }
    const BOOL bDestroyed = CKLVCommandBar::DestroyWindow();
    m_bDestroying = FALSE;
    return bDestroyed;
}

BOOL CKLVPopupBar::IsVisible() const { return GetSafeHwnd() && ::IsWindowVisible(m_hWnd); }

CKLVCommandBar* CKLVPopupBar::GetParentCommandBar() const {
    return m_pControlPopup ? m_pControlPopup->GetParent() : nullptr;
}

CKLVControl* CKLVPopupBar::GetDefaultItem() const {
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        if (pControl->IsVisible() && pControl->IsItemDefault()) return pControl;
    }
    return nullptr;
}

int CKLVPopupBar::GetFirstControl(BOOL bById) const {
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        if (IsOwnControl(pControl) && pControl->IsVisible() && pControl->GetEnabled())
            return bById ? pControl->GetId() : i;
    }
    return -1;
}

CKLVControl* CKLVPopupBar::FindExpandButton() const {
    for (int i = 0; i < GetControlCount(); ++i)
        if (GetControl(i)->IsKindOf(RUNTIME_CLASS(CKLVControlExpandButton))) return GetControl(i);
    return nullptr;
}

void CKLVPopupBar::ExpandBar() {
    if (m_bExpanded || !m_bHasHiddenItems) return;
    HideToolTips();
    m_bExpandedByUser = TRUE;
    m_bExpanded = TRUE;
    SetPopuped(-1);
    SetSelected(-1);
    OnRecalcLayout();
    KLVMouseHook()->m_bExpanded = TRUE;
}

BOOL CKLVPopupBar::SetSelected(int nSelected, BOOL bKeyboard) {
    if (!CKLVCommandBar::SetSelected(nSelected, bKeyboard)) return FALSE;
    CKLVControl* pControl = GetControl(nSelected);
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    if (pControl && pControl->GetId() == idExpandButton && !bKeyboard && pLink && pLink->IsShowFullAfterDelay())
        SetTimer(timerExpand, expandDelay, nullptr);
    else
        KillTimer(timerExpand);
    if (!m_bScrolling || !pControl || !(pControl->GetHideFlags() & CKLVControl::hideExpand)) return TRUE;
    if (nSelected >= m_nEndVisible) {
        m_nEndVisible = nSelected + 1;
        CalcScrollingLayout(TRUE);
    } else {
        m_nFirstVisible = nSelected;
        CalcScrollingLayout(FALSE);
    }
    return TRUE;
}

void CKLVPopupBar::DelayLayout() {
    m_nSelected = -1;
    m_nPopuped = -1;
    OnRecalcLayout();
}

void CKLVPopupBar::OnRecalcLayout() {
    // A popup that is not open lays itself out when it opens.
    if (!GetSafeHwnd() || m_bInLayout || !m_bTracking) return;
    if (m_pControlPopup) UpdateFromParentControl();
    const CSize sz = CalcDynamicLayout(0, 0);
    const CRect rcNew = CalcPopupRect(sz);
    CRect rcOld;
    GetWindowRect(&rcOld);
    const BOOL bUserExpanded = m_bExpandedByUser;
    m_bExpandedByUser = FALSE;
    if (rcNew == rcOld && !bUserExpanded) {
        if (m_bScrolling) CalcScrollingLayout(FALSE);
        Redraw();
        return;
    }
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    const BOOL bTipsShown = pLink && pLink->IsKeyboardTipsShown(this);
    if (bTipsShown) pLink->HideKeyboardTips();
    KLVPopupShadows()->RemoveShadows(this);
    const int nSelected = m_nSelected;
    // The user's expansion grows out of the short menu's picture.
    const int nKind = bUserExpanded ? GetAnimationKind() : animateNone;
    CDC dcOld;
    CBitmap bmOld;
    HGDIOBJ hOldBitmap = nullptr;
    if (IsAnimated(nKind)) {
        CClientDC dcWindow(this);
        dcOld.CreateCompatibleDC(&dcWindow);
        bmOld.CreateCompatibleBitmap(&dcWindow, rcOld.Width(), rcOld.Height());
        hOldBitmap = dcOld.SelectObject(static_cast<HGDIOBJ>(bmOld));
        dcOld.BitBlt(0, 0, rcOld.Width(), rcOld.Height(), &dcWindow, 0, 0, SRCCOPY);
    }
    SetWindowPos(nullptr, rcNew.left, rcNew.top, rcNew.Width(), rcNew.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOOWNERZORDER);
    GetPaintManager()->SetCommandBarRegion(this);
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    if (hOldBitmap) {
        PlayAnimation(nKind, &dcOld, rcOld.Size());
        dcOld.SelectObject(hOldBitmap);
    }
    if (m_bScrolling) CalcScrollingLayout(FALSE);
    KLVMenuSoundPlayer()->Play(CKLVMenuSoundPlayer::SoundMenuPopup);
    if (m_barPosition == barPopup && m_bShowShadow) KLVPopupShadows()->SetShadow(this, m_rcExclude);
    m_nSelected = -1;
    if (nSelected >= 0) SetSelected(nSelected, TRUE);
    Redraw();
    if (bTipsShown) PostMessage(WM_TIMER, timerKeyboardTips);
}

int CKLVPopupBar::OnHookKeyDown(UINT nChar, LPARAM lParam) {
    if (!IsCustomizeMode() && m_nPopupLock == 0 && nChar == VK_DOWN && ::GetKeyState(VK_CONTROL) < 0 &&
        m_bHasHiddenItems && !m_bExpanded) {
        ExpandBar();
        return hookKeyHandled;
    }
    return CKLVCommandBar::OnHookKeyDown(nChar, lParam);
}

BOOL CKLVPopupBar::ProcessSpecialKey(int nKey) {
    // A short menu walks only its shown items; past the last one it expands instead of wrapping.
    const BOOL bNarrow = m_barType == barTypePopup;
    switch (bNarrow ? nKey : -1) {
    case keyNext: {
        if (CKLVCommandBarsLink* pLink = GetCommandBarsLink()) pLink->HideKeyboardTips();
        const int nNext = m_pControls->GetNext(m_nSelected, +1, FALSE, FALSE, TRUE);
        if (m_bHasHiddenItems && !m_bExpanded && m_nSelected >= 0 && nNext >= 0 && nNext <= m_nSelected) {
            ExpandBar();
            return TRUE;
        }
        SetSelected(nNext, selectedForward);
        return TRUE;
    }
    case keyPrev:
        if (CKLVCommandBarsLink* pLink = GetCommandBarsLink()) pLink->HideKeyboardTips();
        SetSelected(m_pControls->GetNext(m_nSelected, -1, FALSE, FALSE, TRUE), selectedBackward);
        return TRUE;
    case keyHome: SetSelected(m_pControls->GetNext(-1, +1, FALSE, FALSE, TRUE), selectedForward); return TRUE;
    case keyEnd: SetSelected(m_pControls->GetNext(GetControlCount(), -1, FALSE, FALSE, TRUE), selectedBackward); return TRUE;
    default: return CKLVCommandBar::ProcessSpecialKey(nKey);
    }
}

void CKLVPopupBar::StopScrollTimer(CScrollArrow& arrow) {
    if (arrow.nTimer && GetSafeHwnd()) KillTimer(arrow.nTimerId);
    arrow.nTimer = 0;
}

void CKLVPopupBar::StopScrollTimers() {
    StopScrollTimer(m_scrollDown);
    StopScrollTimer(m_scrollUp);
}

void CKLVPopupBar::OnTimer(UINT_PTR nIDEvent) {
    switch (nIDEvent) {
    case timerScrollDown: OnScrollTimer(m_scrollDown, TRUE); break;
    case timerScrollUp: OnScrollTimer(m_scrollUp, FALSE); break;
    case timerGripper: OnGripperTimer(); break;
    case timerExpand: OnExpandTimer(); break;
    default: break;
    }
    CKLVCommandBar::OnTimer(nIDEvent);
}

void CKLVPopupBar::OnScrollTimer(CScrollArrow& arrow, BOOL bDownward) {
    const int nCount = GetControlCount();
    if (bDownward && m_nEndVisible < nCount) {
        ++m_nEndVisible;
        CalcScrollingLayout(TRUE);
    } else if (!bDownward && m_nFirstVisible > 0) {
        --m_nFirstVisible;
        CalcScrollingLayout(FALSE);
    } else {
        StopScrollTimer(arrow);
    }
}

void CKLVPopupBar::OnGripperTimer() {
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    if (m_rcTearOffGripper.PtInRect(pt)) {
        if (!m_bTearOffSelected) {
            m_bTearOffSelected = TRUE;
            Redraw();
        }
        return;
    }
    if (m_bTearOffTracking) return;
    m_bTearOffSelected = FALSE;
    Redraw();
    KillTimer(timerGripper);
    m_nTearOffTimer = 0;
}

void CKLVPopupBar::OnExpandTimer() {
    KillTimer(timerExpand);
    CKLVControl* pSelected = GetControl(m_nSelected);
    if (pSelected && pSelected->GetId() == idExpandButton) pSelected->OnExecute();
}

void CKLVPopupBar::TrackScrollArrow(CScrollArrow& arrow, CPoint point) {
    if (!arrow.rc.IsRectEmpty() && arrow.rc.PtInRect(point)) {
        if (!arrow.nTimer) {
            arrow.nTimer = SetTimer(arrow.nTimerId, scrollInterval, nullptr);
            SetPopuped(-1);
        }
        return;
    }
    StopScrollTimer(arrow);
}

void CKLVPopupBar::OnMouseMove(UINT nFlags, CPoint point) {
    if (m_bScrolling) {
        TrackScrollArrow(m_scrollDown, point);
        TrackScrollArrow(m_scrollUp, point);
        if (m_scrollDown.nTimer || m_scrollUp.nTimer) return;
    }
    if (m_bTearOffPopup && !IsCustomizeMode() && m_rcTearOffGripper.PtInRect(point)) {
        SetPopuped(-1);
        SetSelected(-1);
        if (!m_nTearOffTimer) m_nTearOffTimer = SetTimer(timerGripper, scrollInterval, nullptr);
        return;
    }
    CKLVCommandBar::OnMouseMove(nFlags, point);
}

void CKLVPopupBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_bTearOffPopup && !IsCustomizeMode() && m_rcTearOffGripper.PtInRect(point)) {
        TearOff();
        return;
    }
    CKLVCommandBar::OnLButtonDown(nFlags, point);
}

int CKLVPopupBar::OnMouseActivate(CWnd*, UINT, UINT) { return MA_NOACTIVATE; }

void CKLVPopupBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
    CKLVCommandBar::DrawCommandBar(pDC, rcClipBox);
    if (m_bScrolling) {
        const COLORREF clr = ::GetSysColor(COLOR_BTNTEXT);
        if (!m_scrollDown.rc.IsRectEmpty()) {
            const CPoint c = m_scrollDown.rc.CenterPoint();
            CKLVDrawHelpers::SolidTriangle(pDC, c.x - 3, c.y, c.x + 3, c.y, c.x, c.y + 3, clr);
        }
        if (!m_scrollUp.rc.IsRectEmpty()) {
            const CPoint c = m_scrollUp.rc.CenterPoint();
            CKLVDrawHelpers::SolidTriangle(pDC, c.x - 3, c.y, c.x + 3, c.y, c.x, c.y - 3, clr);
        }
    }
    if (m_bTearOffPopup && GetControlCount() > 0)
        GetPaintManager()->DrawPopupTearOffStrip(pDC, m_rcTearOffGripper, m_bTearOffSelected || m_bTearOffTracking,
                                                 TRUE);
}

void CKLVPopupBar::GetBorders(CRect& rcBorders) { rcBorders = m_rcBorders; }

void CKLVPopupBar::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVCommandBar::DoPropExchange(pPX);
    const UINT nSchema = pPX->GetSchema();
    PX_Bool(pPX, "TearOffPopup", m_bTearOffPopup, FALSE);
    PX_String(pPX, "TearOffCaption", m_strTearOffCaption, "");
    long nTearOffId = static_cast<long>(m_nTearOffID);
    PX_Long(pPX, "TearOffId", nTearOffId, 0);
    m_nTearOffID = static_cast<UINT>(nTearOffId);
    PX_Long(pPX, "TearOffWidth", m_nTearOffWidth, 0);
    // A sequential store reads the keys in the order they were written, each from its schema.
    if (nSchema > 3) {
        RECT rcBorders = m_rcBorders;
        PX_Rect(pPX, "Borders", rcBorders, CRect(2, 4, 2, 4));
        m_rcBorders = rcBorders;
        PX_Bool(pPX, "ShowShadow", m_bShowShadow, TRUE);
    }
    if (nSchema > 8) PX_Bool(pPX, "DoubleGripper", m_bDoubleGripper, FALSE);
    if (nSchema > 18) PX_Bool(pPX, "ContextMenu", m_bContextMenu, FALSE);
    if (nSchema < 20) m_dwStyle |= styleGripper;
}

void CKLVPopupBar::Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive) {
    CKLVCommandBar::Copy(pCommandBar, bRecursive);
    auto* pPopup = DYNAMIC_DOWNCAST(CKLVPopupBar, pCommandBar);
    if (!pPopup) return;
    m_bTearOffPopup = pPopup->m_bTearOffPopup;
    m_strTearOffCaption = pPopup->m_strTearOffCaption;
    m_nTearOffID = pPopup->m_nTearOffID;
    m_nTearOffWidth = pPopup->m_nTearOffWidth;
    m_bShowShadow = pPopup->m_bShowShadow;
    m_rcBorders = pPopup->m_rcBorders;
    m_bDoubleGripper = pPopup->m_bDoubleGripper;
}
