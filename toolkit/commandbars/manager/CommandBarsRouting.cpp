// The command bars between the frame and its message handling: Alt, mnemonics, the context-menu
// key, the wheel and accelerators first; colour, setting, activation and system-command changes
// close or refresh the bars; popup menus tracked modally; keyboard entry into a bar.
#include "toolkit/commandbars/manager/CommandBars.h"

#include "toolkit/commandbars/textfield/Edit.h"

#include "classlib/FrameWnd.h"
#include "classlib/Menu.h"
#include "classlib/ThreadState.h"
#include "classlib/WindowMessages.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/manager/CustomizeDrop.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/commandbars/shortcuts/AccelManager.h"
#include "toolkit/commandbars/textfield/Edit.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/KeyboardHook.h"
#include "toolkit/common/MouseHook.h"

namespace {

constexpr LPARAM kContextBit = 1 << 29;
constexpr LPARAM kRepeatBit = 1 << 30;
constexpr LONG_PTR kRightToLeftStyles = 0x401000;   // WS_EX_LAYOUTRTL | WS_EX_RIGHT
constexpr int kCuesAcrossBars = 1, kCuesNoFirstLetter = 4, kCuesOff = 2;

}  // namespace

BOOL CKLVCommandBars::PreTranslateFrameMessage(MSG* pMsg) {
    CKLVMouseHook* pHook = KLVMouseHook();
    const BOOL bPopupTracked = !pHook->GetTrackedPopups().empty();
    const UINT message = pMsg->message;
    const HWND hSite = m_pSite ? m_pSite->GetSafeHwnd() : nullptr;
    const BOOL bCombinedAltRelease = NoteAltCombination(pMsg);
    if (message == WM_SYSKEYDOWN && (pMsg->lParam & kContextBit) && pHook->m_nLock == 0 && !bPopupTracked && hSite &&
        CKLVDrawHelpers::IsTopParentActive(hSite)) {
        if (pMsg->wParam == VK_MENU) {
            // The cues show, but the key still reaches the frame.
            ShowKeyboardCues(TRUE);
            return FALSE;
        }
        if (pMsg->wParam != 0 && !(m_bIgnoreShiftMenuKey && ::GetKeyState(VK_SHIFT) < 0) &&
            OnAltKey(static_cast<UINT>(pMsg->wParam)))
            return TRUE;
    }
    if ((message == WM_SYSKEYUP || message == WM_KEYUP) && m_bKeyboardCuesOnDemand && m_bKeyboardCuesVisible &&
        !bPopupTracked)
        ShowKeyboardCues(FALSE);
    if (bCombinedAltRelease) return TRUE;
    if ((message == WM_CONTEXTMENU || message == WM_SYSKEYUP) && bPopupTracked) {
        KLVKeyboardHook()->ProcessKeyboardHooks(WM_CONTEXTMENU, pMsg->wParam, pMsg->lParam);
        return TRUE;
    }
    if (message == WM_MOUSEWHEEL) {
        if (KLVKeyboardHook()->IsInstalled())
            return KLVKeyboardHook()->ProcessKeyboardHooks(message, pMsg->wParam, pMsg->lParam);
        if (OnWheelOverRibbon(GET_WHEEL_DELTA_WPARAM(pMsg->wParam))) return TRUE;
    }
    if (message >= WM_KEYFIRST && message <= 0x108 && hSite) return m_pAccelManager->TranslateAccel(hSite, pMsg);
    return FALSE;
}

// Alt held with another key was a mnemonic or a shortcut: its release is no menu key. The
// frame's default handling, which saw only the Alt, would enter the menu bar and close the menu
// a mnemonic has just opened.
BOOL CKLVCommandBars::NoteAltCombination(const MSG* pMsg) {
    switch (pMsg->message) {
    case WM_SYSKEYDOWN:
        if (pMsg->wParam != VK_MENU)
            m_bAltCombined = m_bAltCombined || (pMsg->lParam & kContextBit) != 0;
        else if (!(pMsg->lParam & kRepeatBit))
            m_bAltCombined = FALSE;
        return FALSE;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (pMsg->wParam != VK_MENU || !m_bAltCombined) return FALSE;
        m_bAltCombined = FALSE;
        return TRUE;
    default: return FALSE;
    }
}

BOOL CKLVCommandBars::OnWheelOverRibbon(int nDelta) {
    CKLVCommandBar* pBar = FindCommandBar(1);
    if (!pBar || pBar->GetType() != CKLVCommandBar::barTypeRibbon || !pBar->GetSafeHwnd()) return FALSE;
    CPoint ptCursor;
    CRect rcBar;
    ::GetCursorPos(&ptCursor);
    pBar->GetWindowRect(&rcBar);
    if (!rcBar.PtInRect(ptCursor)) return FALSE;
    pBar->OnWheelOverBar(nDelta);
    return TRUE;
}

CKLVCommandBar* CKLVCommandBars::FindMnemonicBar() const {
    CKLVCommandBar* pCandidate = GetMenuBar();
    if (pCandidate && !pCandidate->IsVisible()) pCandidate = nullptr;
    for (int i = 0; i < GetCount(); ++i) {
        CKLVCommandBar* pBar = GetAt(i);
        if (pBar->GetTrackingMode()) return pBar;
        if (!pCandidate && (m_pOptions->keyboardCuesUse & kCuesAcrossBars) && pBar->IsVisible()) pCandidate = pBar;
    }
    return pCandidate;
}

BOOL CKLVCommandBars::OnAltKey(UINT nKey) {
    if (m_pOptions->keyboardCuesUse == kCuesOff) return FALSE;
    if (nKey >= VK_NUMPAD0 && nKey <= VK_NUMPAD9 && !m_pOptions->bUseAltNumPadKeys) return FALSE;
    if (::MapVirtualKeyA(nKey, 2) == 0) return FALSE;
    CKLVCommandBar* pCandidate = FindMnemonicBar();
    if (!pCandidate || !pCandidate->IsVisible()) return FALSE;
    // A tracking bar reads its own keys.
    if (pCandidate->GetTrackingMode() && pCandidate->OnHookKeyDown(nKey, 0) == CKLVCommandBar::hookKeyHandled)
        return TRUE;
    if (!pCandidate->GetTrackingMode() && pCandidate->OnAltMnemonic(nKey)) return TRUE;
    BOOL bAmbiguous = FALSE;
    CKLVControl* pControl = FindAccelControl(pCandidate, nKey, bAmbiguous);
    if (!pControl) return FALSE;
    CKLVCommandBar* pBar = pControl->GetParent();
    CKLVHeldReference hold(pControl);
    if (!pBar->GetTrackingMode()) ClosePopups();
    ShowKeyboardCues(TRUE);
    m_nKeyboardNavigationLevel = 1;
    pBar->SetTrackingMode(TRUE, FALSE, TRUE);
    pBar->SetSelected(pControl->GetIndex(), TRUE);
    if (!bAmbiguous) pControl->OnKeyboardActivate();
    return TRUE;
}

CKLVControl* CKLVCommandBars::GetNextControl(CKLVControls* pControls, int nIndex) const {
    auto nextIn = [](CKLVControls* pSet, int nFrom, int nEnd) -> CKLVControl* {
        for (int i = nFrom + 1; i < nEnd; ++i) {
            CKLVControl* pControl = pSet->GetAt(i);
            if (pControl->IsVisible() && pControl->GetEnabled()) return pControl;
        }
        return nullptr;
    };
    if (!pControls) return nullptr;
    if (CKLVControl* pNext = nextIn(pControls, nIndex, pControls->GetCount())) return pNext;
    const int nStart = FindIndex(pControls->GetParent());
    if (!(m_pOptions->keyboardCuesUse & kCuesAcrossBars) || nStart < 0) return nextIn(pControls, -1, nIndex + 1);
    for (int i = GetNextVisibleBar(nStart, +1); i >= 0 && i != nStart; i = GetNextVisibleBar(i, +1)) {
        CKLVControls* pOther = GetAt(i)->GetControls();
        if (CKLVControl* pNext = nextIn(pOther, -1, pOther->GetCount())) return pNext;
    }
    return nullptr;
}

CKLVKeyboardHook* CKLVCommandBars::GetKeyboardHook() const { return KLVKeyboardHook(); }

CKLVMouseHook* CKLVCommandBars::GetMouseHook() { return KLVMouseHook(); }

std::vector<CKLVCommandBar*> CKLVCommandBars::MnemonicBars(CKLVCommandBar* pBar) const {
    std::vector<CKLVCommandBar*> bars{pBar};
    if (!(m_pOptions->keyboardCuesUse & kCuesAcrossBars)) return bars;
    const int nStart = FindIndex(pBar);
    if (nStart < 0) return bars;
    for (int i = GetNextVisibleBar(nStart, +1); i >= 0 && i != nStart; i = GetNextVisibleBar(i, +1))
        bars.push_back(GetAt(i));
    return bars;
}

CKLVControl* CKLVCommandBars::FindAccelControl(CKLVCommandBar* pBar, UINT nKey, BOOL& bAmbiguous) const {
    bAmbiguous = FALSE;
    // Every control of the walk in order, starting after the bar's selection and wrapping once.
    std::vector<CKLVControl*> walk, before;
    const std::vector<CKLVCommandBar*> bars = MnemonicBars(pBar);
    for (CKLVCommandBar* pWalked : bars)
        for (int i = 0; i < pWalked->GetControlCount(); ++i)
            (pWalked == pBar && i <= pBar->m_nSelected ? before : walk).push_back(pWalked->GetControl(i));
    walk.insert(walk.end(), before.begin(), before.end());

    CKLVControl* pByAmpersand = nullptr;
    CKLVControl* pByFirstLetter = nullptr;
    for (CKLVControl* pControl : walk) {
        const CString strCaption = pControl->GetCaption();
        if (strCaption.IsEmpty() || !pControl->IsVisible() || !pControl->GetEnabled()) continue;
        BOOL bByAmpersand = FALSE;
        if (!CompareAccelKey(CKLVCommandBar::MnemonicOf(strCaption, bByAmpersand), nKey)) continue;
        if (bByAmpersand) {
            if (pByAmpersand) {
                bAmbiguous = TRUE;
                break;
            }
            pByAmpersand = pControl;
            continue;
        }
        CKLVCommandBar* pParent = pControl->GetParent();
        if ((m_pOptions->keyboardCuesUse & kCuesNoFirstLetter) ||
            (pParent->GetType() != CKLVCommandBar::barTypeMenuBar && !pParent->GetTrackingMode()))
            continue;
        if (pByFirstLetter)
            bAmbiguous = TRUE;
        else
            pByFirstLetter = pControl;
    }
    return pByAmpersand ? pByAmpersand : pByFirstLetter;
}

BOOL CKLVCommandBars::SetTrackingBar(CKLVCommandBar* pBar, int nStep) {
    if (!pBar) return FALSE;
    if (nStep != 0) {
        const int nIndex = FindIndex(pBar);
        const int nNext = GetCount() < 2 ? -1 : GetNextVisibleBar(nIndex, nStep);
        if (nNext < 0 || nNext == nIndex) return FALSE;
        pBar = GetAt(nNext);
    }
    ClosePopups();
    if (m_bKeyboardCuesOnDemand) ShowKeyboardCues(TRUE);
    m_nKeyboardNavigationLevel = 1;
    pBar->SetTrackingMode(TRUE, FALSE, TRUE);
    pBar->SetSelected(pBar->GetControls()->GetNext(-1, +1, FALSE, FALSE, TRUE), CKLVCommandBar::selectedForward);
    return TRUE;
}

void CKLVCommandBars::SetFocusToNextToolBar(CKLVCommandBar* pBar, BOOL bPrevious) {
    SetTrackingBar(pBar, bPrevious ? -1 : +1);
}

void CKLVCommandBars::RefreshAfterSettingChange(BOOL bColors) {
    if (bColors) RefreshColors();
    if (CKLVPaintManager* pPaintManager = GetPaintManager()) pPaintManager->RefreshMetrics();
    if (bColors) GetImageManager()->RefreshAll();
    if (m_pSite && m_pSite->GetSafeHwnd())
        m_pSite->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    UpdateCommandBars();
}

BOOL CKLVCommandBars::OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
    case WM_IDLEUPDATECMDUI:
        // Docked bars are updated by their dock bars.
        for (int i = 0; i < GetCount(); ++i)
            if (GetAt(i)->GetPosition() == CKLVCommandBar::barFloating) GetAt(i)->OnIdleUpdate(TRUE, TRUE);
        return FALSE;
    case WM_SYSCOLORCHANGE: RefreshAfterSettingChange(TRUE); return FALSE;
    case WM_SETTINGCHANGE: RefreshAfterSettingChange(FALSE); return FALSE;
    case WM_CLOSE: return m_pCustomizeDrop->IsCustomizeWindowOpen();
    case WM_COMMAND: {
        // Clipboard commands reach the field of a bar that holds the focus.
        if (auto* pEdit = DYNAMIC_DOWNCAST(CKLVEdit, CWnd::FromHandlePermanent(::GetFocus()))) {
            if (pEdit->OnCommand(wParam, lParam)) {
                if (pResult) *pResult = 1;
                return TRUE;
            }
        }
        if (LOWORD(wParam) != idHelpCommand || m_nHelpCommandId == 0 || !m_pSite || !m_pSite->GetSafeHwnd()) return FALSE;
        AFX_CMDHANDLERINFO info = {};
        if (!m_pSite->OnCmdMsg(idHelpCommand, 0, nullptr, &info)) return FALSE;
        m_pSite->SendMessage(WM_COMMANDHELP, 0, static_cast<LPARAM>(m_nHelpCommandId) + 0x10000);
        if (pResult) *pResult = 1;
        return TRUE;
    }
    case WM_ACTIVATEAPP:
        if (!wParam) ClosePopups();
        return FALSE;
    case WM_SYSCOMMAND:
        if ((wParam != 0 && LOWORD(wParam) == 0) || wParam == SC_KEYMENU) return FALSE;
        if (!m_bCustomizeMode) ClosePopups();
        return FALSE;
    default: return FALSE;
    }
}

CKLVPopupBar* CKLVCommandBars::GetToolbarsPopup() {
    CKLVPopupBar* pPopup = CKLVPopupBar::CreatePopupBar(this);
    pPopup->GetControls()->Add(CKLVControl::typeButton, static_cast<int>(idToolBarsList));
    return pPopup;
}

void CKLVCommandBars::ContextMenu(CKLVCommandBar* pBar, CPoint ptScreen) {
    if (m_bCustomizeMode) return;
    CKLVPopupBar* pPopup = GetToolbarsPopup();
    if (m_pSite && m_pSite->GetSafeHwnd())
        m_pSite->SendMessage(msgToolBarContextMenu, reinterpret_cast<WPARAM>(pBar), reinterpret_cast<LPARAM>(pPopup));
    if (pPopup->GetControlCount() > 0) {
        ClosePopups();
        if (pPopup->Popup(ptScreen.x, ptScreen.y, nullptr)) pPopup->PumpMessageLoop();
    }
    pPopup->InternalRelease();
}

UINT CKLVCommandBars::TrackPopupMenu(CKLVPopupBar* pPopup, UINT nFlags, int x, int y, CWnd* pSite, LPCRECT lpExclude,
                                     CWnd* pOwner) {
    if (!pPopup) return 0;
    CKLVHeldReference hold(pPopup);
    const MSG& msgLast = AfxGetThreadState()->m_msgCur;
    if (msgLast.message == WM_CONTEXTMENU && msgLast.lParam == -1)
        if (CKLVCommandBars* pCommandBars = pPopup->GetCommandBars()) pCommandBars->ShowKeyboardCues(TRUE);
    CWnd* pTheSite = pSite ? pSite : pPopup->GetSite();
    pPopup->m_pSiteOverride = pTheSite;
    if (pOwner) pPopup->m_pOwner = pOwner;
    if (pTheSite && pTheSite->GetSafeHwnd() && (pTheSite->GetExStyle() & kRightToLeftStyles)) nFlags |= TPM_RIGHTALIGN;
    UINT nCommand = 0;
    pPopup->m_pReturnCmd = (nFlags & TPM_RETURNCMD) ? &nCommand : nullptr;
    pPopup->m_bRightButtonAsLeft = (nFlags & TPM_RIGHTBUTTON) != 0;
    pPopup->m_nAlignment = (nFlags & TPM_RIGHTALIGN) ? CKLVPopupBar::alignRight : CKLVPopupBar::alignLeft;
    pPopup->m_bNoNotify = (nFlags & TPM_NONOTIFY) != 0;
    pPopup->m_bRecursive = (nFlags & TPM_RECURSE) != 0;
    CKLVMouseHook* pHook = KLVMouseHook();
    if (pPopup->m_bRecursive) {
        pHook->CloseUnlockedPopups();
        pHook->LockTrackedPopups(TRUE);
    } else {
        pHook->CloseAllTrackedPopups();
        ::ReleaseCapture();
    }
    pHook->m_bTrackPopupMenu = TRUE;
    BOOL bOpened = pPopup->Popup(x, y, lpExclude);
    if (bOpened) pPopup->PumpMessageLoop();
    if (pPopup->m_bRecursive) pHook->LockTrackedPopups(FALSE);
    pPopup->m_pReturnCmd = nullptr;
    if (!bOpened) return 0;
    return (nFlags & TPM_RETURNCMD) ? nCommand : 1;
}

UINT CKLVCommandBars::TrackPopupMenuEx(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pOwner, LPTPMPARAMS lptpm) {
    CKLVPopupBar* pPopup = CKLVPopupBar::CreatePopupBar(this);
    pPopup->m_pSiteOverride = m_pSite;
    const CRect rcExclude = lptpm ? CRect(lptpm->rcExclude) : CRect();
    UINT nResult = 0;
    if (pPopup->LoadMenu(pMenu, TRUE))
        nResult = TrackPopupMenu(pPopup, nFlags, x, y, m_pSite, lptpm ? &rcExclude : nullptr, pOwner);
    pPopup->InternalRelease();
    return nResult;
}
