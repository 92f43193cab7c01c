// The ribbon from the keyboard: Alt alone gives the tab row the keyboard, Alt with a tab's letter
// selects that tab, and key tips lead from the ribbon's top to the selected tab's groups.
#include "toolkit/ribbon/RibbonBar.h"

#include "toolkit/commandbars/keytips/CommandBarKeyboardTip.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/shortcuts/AccelManager.h"
#include "toolkit/ribbon/RibbonControlTab.h"
#include "toolkit/ribbon/RibbonKeyTips.h"
#include "toolkit/ribbon/RibbonTab.h"

void CKLVRibbonBar::CreateKeyboardTips() {
    CKLVCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars) return;
    CKLVRibbonKeyTips(pCommandBars).CreateForRibbon(this, pCommandBars->m_nKeyboardNavigationLevel);
}

void CKLVRibbonBar::OnKeyboardTip(CKLVCommandBarKeyboardTip* pTip) {
    auto* pTab = DYNAMIC_DOWNCAST(CKLVRibbonTab, pTip->m_pLabelled);
    if (!pTab) {
        CKLVMenuBar::OnKeyboardTip(pTip);
        return;
    }
    SelectTabFromKeyboard(pTab, CKLVRibbonKeyTips::levelGroups);
}

void CKLVRibbonBar::TrackTabRow() {
    // Focused first: a tab selected from the keyboard keeps the bar's tracking.
    m_pControlTab->m_bFocused = TRUE;
    SetTrackingMode(TRUE, FALSE, TRUE);
    SetSelected(m_pControlTab->GetIndex(), selectedForward);
    m_pControlTab->SetFocused(TRUE);
}

void CKLVRibbonBar::SelectTabFromKeyboard(CKLVRibbonTab* pTab, int nTipsLevel) {
    if (m_bMinimized) {
        // The tab's popup opens over the tracked tab row and takes the keyboard from it.
        TrackTabRow();
        m_pControlTab->SetSelectedItem(pTab);
        return;
    }
    if (GetTrackingMode()) m_pControlTab->m_bFocused = TRUE;
    m_pControlTab->SetSelectedItem(pTab);
    // The tab's groups are placed before tips are put on their controls.
    if (m_nIdleFlags & delayLayout) {
        m_nIdleFlags &= ~delayLayout;
        OnRecalcLayout();
    }
    TrackTabRow();
    if (CKLVCommandBars* pCommandBars = GetCommandBars()) pCommandBars->ShowKeyboardTips(this, nTipsLevel);
}

BOOL CKLVRibbonBar::OnMenuKey() {
    if (m_pControlTab->GetItemCount() == 0) return CKLVMenuBar::OnMenuKey();
    if (!IsMenuKeyAllowed()) return FALSE;
    CKLVCommandBars* pCommandBars = GetCommandBars();
    pCommandBars->ClosePopups();
    pCommandBars->ShowKeyboardCues(TRUE);
    pCommandBars->m_nKeyboardNavigationLevel = CKLVRibbonKeyTips::levelTop;
    if (m_bMinimized)
        SetTrackingMode(TRUE, FALSE, TRUE);
    else
        TrackTabRow();
    // The tips show once the key's own messages are through.
    PostMessage(WM_TIMER, timerKeyboardTips);
    return TRUE;
}

BOOL CKLVRibbonBar::OnAltMnemonic(UINT nKey) {
    CKLVRibbonTab* pTab = FindTab([nKey](CKLVRibbonTab* pCandidate) {
        const CString strCaption = pCandidate->GetCaption();
        if (!pCandidate->IsVisible() || !pCandidate->IsEnabled() || strCaption.IsEmpty()) return FALSE;
        BOOL bAmpersand = FALSE;
        const TCHAR ch = MnemonicOf(strCaption, bAmpersand);
        return bAmpersand && CompareAccelKey(ch, nKey) ? TRUE : FALSE;
    });
    if (!pTab) return FALSE;
    if (CKLVCommandBars* pCommandBars = GetCommandBars()) {
        pCommandBars->ShowKeyboardCues(TRUE);
        pCommandBars->m_nKeyboardNavigationLevel = CKLVRibbonKeyTips::levelTop;
    }
    SelectTabFromKeyboard(pTab, CKLVRibbonKeyTips::levelTop);
    return TRUE;
}
