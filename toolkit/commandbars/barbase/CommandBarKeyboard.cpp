// Keyboard tracking: the mode in which a bar owns the thread's keys, the meaning of each key on
// horizontal, vertical and right-to-left bars, and the mnemonic search over captions.
#include "toolkit/commandbars/barbase/CommandBar.h"

#include "toolkit/commandbars/shortcuts/AccelManager.h"
#include "toolkit/commandbars/keytips/CommandBarKeyboardTip.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/KeyboardHook.h"

#include <memory>

namespace {

BOOL IsEnabledPopup(CKLVControl* pControl) {
    return pControl && pControl->IsKindOf(RUNTIME_CLASS(CKLVControlPopup)) && pControl->GetEnabled();
}

// Holds a counted reference on the bar; tells whether the bar was destroyed meanwhile.
class CBarReference {
public:
    explicit CBarReference(CKLVCommandBar* pBar) : m_pBar(pBar), m_hWnd(pBar->GetSafeHwnd()) { m_pBar->InternalAddRef(); }
    ~CBarReference() { m_pBar->InternalRelease(); }
    CBarReference(const CBarReference&) = delete;
    CBarReference& operator=(const CBarReference&) = delete;
    // The window went, or only this reference keeps the object.
    BOOL IsGone() const { return (m_hWnd && !::IsWindow(m_hWnd)) || m_pBar->GetRefCount() <= 1; }

private:
    CKLVCommandBar* m_pBar;
    HWND m_hWnd;
};

}  // namespace

TCHAR CKLVCommandBar::MnemonicOf(const CString& strCaption, BOOL& bAmpersand) {
    const int nAmpersand = strCaption.Find('&');
    bAmpersand = nAmpersand >= 0 && nAmpersand < strCaption.GetLength() - 1;
    return bAmpersand ? strCaption[nAmpersand + 1] : strCaption[0];
}

BOOL CKLVCommandBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard) {
    if ((m_bTracking && bMode) || m_bTracking == bMode) {
        m_bTracking = bMode;
        return FALSE;
    }
    m_bTracking = bMode;
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    if (!bMode) {
        m_bEnteredByMouse = FALSE;
        m_nKeyboardSelection = 0;
        KLVMouseHook()->RemoveTrackedPopup(this);
        KLVKeyboardHook()->RemoveKeyboardHook(&m_hookSink);
        SetPopuped(-1);
        if (bSelectFirst) SetSelected(-1);
        if (m_hwndCaret && m_bHideCaretWhileTracking) ::ShowCaret(m_hwndCaret);
        m_hwndCaret = nullptr;
        Redraw(nullptr, TRUE);
        HWND hWnd = GetSafeHwnd();
        if (hWnd && ::GetFocus() == hWnd && ::GetParent(hWnd))
            ::SetFocus(::GetNextDlgTabItem(::GetParent(hWnd), hWnd, FALSE));
        m_nPopupLock = 0;
    } else {
        if (m_barType == barTypeMenuBar)
            if (CWnd* pSite = GetSite()) pSite->SendMessage(msgMenuBarTracking, reinterpret_cast<WPARAM>(this), 0);
        m_bEnteredByMouse = !bSelectFirst && !bKeyboard;
        m_nKeyboardSelection = bKeyboard;
        if (m_bHideCaretWhileTracking && !m_hwndCaret) {
            HWND hFocus = ::GetFocus();
            CWnd* pSite = GetSite();
            m_hwndCaret = hFocus ? hFocus : (pSite ? pSite->GetSafeHwnd() : nullptr);
            if (m_hwndCaret) ::HideCaret(m_hwndCaret);
        }
        KLVMouseHook()->AddTrackedPopup(this);
        KLVKeyboardHook()->InstallKeyboardHook(&m_hookSink);
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        if (bSelectFirst) SetSelected(m_pControls->GetNext(-1, +1), selectedForward);
    }
    if (pLink) pLink->OnTrackingModeChanged(this, bMode);
    return TRUE;
}

int CKLVCommandBar::OnHookKeyDown(UINT nChar, LPARAM lParam) {
    if (IsCustomizeMode()) return hookKeyPass;
    if (m_nPopupLock > 0) return hookKeyHandled;
    int nResult = hookKeyHandled;
    {
        CBarReference reference(this);
        struct {
            UINT nChar;
            LPARAM lParam;
        } key = {nChar, lParam};
        if (CWnd* pSite = GetSite())
            if (pSite->GetSafeHwnd())
                pSite->SendMessage(msgTrackingKey, reinterpret_cast<WPARAM>(&key), reinterpret_cast<LPARAM>(this));
        if (reference.IsGone()) return hookKeyHandled;
        PerformTrackingKey(key.nChar, key.lParam, nResult);
    }
    return nResult;
}

int CKLVCommandBar::SpecialKeyForDirection(UINT nChar) const {
    const BOOL bHorizontal = m_barPosition == barTop || m_barPosition == barBottom || m_barPosition == barFloating ||
                             (m_barPosition == barPopup && m_barType == barTypeNormal);
    if (IsLayoutRTL()) {
        if (nChar == VK_LEFT) nChar = VK_RIGHT;
        else if (nChar == VK_RIGHT) nChar = VK_LEFT;
    }
    switch (nChar) {
    case VK_END: return keyEnd;
    case VK_HOME: return keyHome;
    case VK_LEFT: return bHorizontal ? keyPrev : keyCollapse;
    case VK_UP: return bHorizontal ? keyCollapse : keyPrev;
    case VK_RIGHT: return bHorizontal ? keyNext : keyExpand;
    case VK_DOWN: return bHorizontal ? keyExpand : keyNext;
    default: return -1;
    }
}

void CKLVCommandBar::PerformTrackingKey(UINT nChar, LPARAM lParam, int& nResult) {
    nResult = hookKeyHandled;
    CKLVControl* pSelected = GetControl(m_nSelected);
    if (pSelected && pSelected->IsFocused()) {
        // A focused field answers 1 when it took the key, 2 when its window should have it.
        const int nAnswer = pSelected->OnHookKeyDown(nChar, lParam);
        if (nAnswer == hookKeyPass) nResult = hookKeyPass;
        if (nAnswer) return;
    }
    HWND hWnd = GetSafeHwnd();
    if (!hWnd) return;
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    const BOOL bShift = ::GetKeyState(VK_SHIFT) < 0, bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    switch (nChar) {
    case VK_TAB:
        if (bCtrl && pLink && GetRootParent()->GetType() == barTypeNormal) {
            pLink->SetFocusToNextToolBar(this, bShift);
            return;
        }
        ProcessSpecialKey(bShift ? keyPrev : keyNext);
        if (CKLVControl* pNew = GetControl(m_nSelected))
            if (pNew->IsFocusable()) pNew->SetFocused(TRUE);
        return;
    case VK_RETURN: ProcessSpecialKey(keyReturn); return;
    case VK_ESCAPE: ProcessSpecialKey(keyEscape); return;
    case VK_SPACE:
        if (m_barType != barTypeMenuBar) break;
        if (pLink) pLink->ClosePopups();
        if (CWnd* pSite = GetSite()) pSite->PostMessage(WM_SYSCOMMAND, SC_KEYMENU, ' ');
        return;
    default: break;
    }
    HWND hFocus = ::GetFocus();
    if (hFocus && ::IsChild(hWnd, hFocus)) {
        nResult = hookKeyPass;
        return;
    }
    const int nSpecial = SpecialKeyForDirection(nChar);
    if (nSpecial >= 0) {
        ProcessSpecialKey(nSpecial);
        return;
    }
    if (::MapVirtualKeyA(nChar, 2) == 0) return;
    if (pLink && pLink->IsKeyboardTipsShown(this) && !bCtrl) {
        pLink->OnKeyboardTipKey(this, nChar);
        return;
    }
    if (pLink && m_barType == barTypeNormal && pLink->TranslateOtherBarMnemonic(this, nChar)) return;
    if (!bCtrl) {
        BOOL bAmbiguous = FALSE;
        const int nIndex = FindAccel(nChar, bAmbiguous);
        if (nIndex != -1) {
            SetSelected(nIndex, selectedForward);
            if (!bAmbiguous)
                if (CKLVControl* pControl = GetControl(nIndex)) pControl->OnKeyboardActivate();
            return;
        }
    }
    if (nChar != VK_SHIFT && nChar != VK_CONTROL) ::MessageBeep(0);
}

int CKLVCommandBar::FindAccel(UINT nChar, BOOL& bAmbiguous) const {
    bAmbiguous = FALSE;
    const int nStart = m_pControls->GetNext(m_nSelected, +1);
    if (nStart < 0) return -1;
    int nAmpersand = -1, nFirstLetter = -1;
    int nIndex = nStart;
    do {
        CKLVControl* pControl = GetControl(nIndex);
        const CString strCaption = pControl->GetCaption();
        if (!strCaption.IsEmpty() && pControl->GetEnabled()) {
            BOOL bByAmpersand = FALSE;
            const TCHAR ch = MnemonicOf(strCaption, bByAmpersand);
            if (CompareAccelKey(ch, nChar)) {
                if (bByAmpersand) {
                    if (nAmpersand != -1) {
                        bAmbiguous = TRUE;
                        break;
                    }
                    nAmpersand = nIndex;
                } else if (nFirstLetter == -1) {
                    nFirstLetter = nIndex;
                } else {
                    bAmbiguous = TRUE;
                }
            }
        }
        nIndex = m_pControls->GetNext(nIndex, +1);
    } while (nIndex != nStart && nIndex >= 0);
    return nAmpersand != -1 ? nAmpersand : nFirstLetter;
}

BOOL CKLVCommandBar::ProcessSpecialKey(int nKey) {
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    if ((nKey == keyNext || nKey == keyPrev) && pLink) pLink->HideKeyboardTips();
    const BOOL bPopupToolBar = m_barPosition == barPopup && m_barType == barTypeNormal;
    CKLVControl* pSelected = GetControl(m_nSelected);
    if (bPopupToolBar && m_nSelected != -1 && m_nSelected == m_nPopuped) {
        if (nKey == keyNext) return FALSE;
        if (nKey == keyPrev) nKey = keyCollapse;
    }
    if (nKey == keyCollapse && m_nPopuped == -1 && pSelected && (bPopupToolBar || !GetParentCommandBar()) &&
        IsEnabledPopup(pSelected))
        nKey = keyExpand;
    if ((nKey == keyCollapse || nKey == keyExpand) && m_nPopuped == -1 &&
        (bPopupToolBar || m_barPosition == barFloating) && !IsEnabledPopup(pSelected)) {
        const int nDirection = nKey == keyExpand ? +1 : -1;
        if (!pSelected) {
            SetSelected(m_pControls->GetNext(-1, nDirection), selectedForward);
            return TRUE;
        }
        const CRect rcSelected = pSelected->GetRect();
        for (int i = m_pControls->GetNext(m_nSelected, nDirection); i >= 0 && i != m_nSelected;
             i = m_pControls->GetNext(i, nDirection)) {
            const CRect rc = GetControl(i)->GetRect();
            if (GetControl(i)->GetRowRect().top != pSelected->GetRowRect().top && rc.right > rcSelected.left &&
                rc.left < rcSelected.right) {
                SetSelected(i, nDirection > 0 ? selectedForward : selectedBackward);
                break;
            }
        }
        return TRUE;
    }
    switch (nKey) {
    case keyNext: SetSelected(m_pControls->GetNext(m_nSelected, +1), selectedForward); return TRUE;
    case keyPrev: SetSelected(m_pControls->GetNext(m_nSelected, -1), selectedBackward); return TRUE;
    case keyHome: SetSelected(m_pControls->GetNext(-1, +1), selectedForward); return TRUE;
    case keyEnd: SetSelected(m_pControls->GetNext(GetControlCount(), -1), selectedBackward); return TRUE;
    case keyCollapse:
        if (m_nPopuped == -1) return FALSE;
        SetPopuped(-1);
        m_bTracking = 1;
        return TRUE;
    case keyExpand:
        if (!pSelected || m_nSelected == m_nPopuped) return FALSE;
        pSelected->SetSelected(selectedForward);
        return SetPopuped(m_nSelected, FALSE);
    case keyEscape:
        if (pLink && pLink->ShowKeyboardTipsLevelUp(this)) return TRUE;
        if (CKLVCommandBar* pParent = GetParentCommandBar()) pParent->SetTrackingMode(1, FALSE, FALSE);
        SetTrackingMode(0, TRUE, FALSE);
        return TRUE;
    case keyReturn:
        if (!pSelected) return TRUE;
        pSelected->SetSelected(selectedForward);
        pSelected->OnClick(TRUE);
        return TRUE;
    default: return FALSE;
    }
}

void CKLVCommandBar::CreateKeyboardTips() {
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    if (!pCommandBars) return;
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        const CString strCaption = pControl->GetCaption();
        if (!pControl->IsVisible() || strCaption.IsEmpty() || pControl->GetType() == CKLVControl::typeGallery) continue;
        const CRect rc = pControl->GetRect();
        auto pTip = std::make_unique<CKLVCommandBarKeyboardTip>(pCommandBars, pControl, strCaption, rc.left + 12,
                                                                rc.bottom - 11, 0, pControl->GetEnabled());
        if (CKLVControlAction* pAction = pControl->GetAction())
            if (!pAction->GetKeyboardTip().IsEmpty()) pTip->m_strCaption = pAction->GetKeyboardTip();
        pCommandBars->AddKeyboardTip(std::move(pTip));
    }
}

void CKLVCommandBar::OnKeyboardTip(CKLVCommandBarKeyboardTip* pTip) {
    if (auto* pControl = DYNAMIC_DOWNCAST(CKLVControl, pTip->m_pLabelled)) {
        CKLVHeldReference hold(pControl);
        pControl->OnKeyboardActivate();
    } else if (auto* pBar = DYNAMIC_DOWNCAST(CKLVCommandBar, pTip->m_pLabelled); pBar && pBar->IsToolBar()) {
        if (CKLVCommandBarsLink* pCommandBars = GetOwnerLink()) pCommandBars->SetTrackingBar(pBar, 0);
    }
}
