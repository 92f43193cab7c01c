// Key tips: the command bars show those of one bar at a time, each over its control with the key
// that activates it, and narrow them down as the user types their keys.
#include "toolkit/commandbars/manager/CommandBars.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/keytips/CommandBarKeyboardTip.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/manager/KeyboardTipCaptions.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/shortcuts/AccelManager.h"
#include "toolkit/common/DCScopes.h"

#include <algorithm>

namespace {

constexpr UINT kShowTopMost = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;
constexpr int kMinTipWidth = 16, kMinTipHeight = 15;

}  // namespace

void CKLVCommandBars::DrawKeyboardTip(CDC* pDC, CKLVCommandBarKeyboardTip* pTip) {
    if (CKLVPaintManager* pPaintManager = GetPaintManager()) pPaintManager->DrawKeyboardTip(pDC, pTip, FALSE);
}

void CKLVCommandBars::AddKeyboardTip(std::unique_ptr<CKLVCommandBarKeyboardTip>&& pTip) {
    m_keyboardTips.push_back(std::move(pTip));
}

BOOL CKLVCommandBars::IsKeyboardTipsShown(CKLVCommandBar* pBar) const {
    return pBar && pBar == m_pKeyboardTipsBar && !m_keyboardTips.empty();
}

void CKLVCommandBars::HideKeyboardTips() {
    // Taken out first: a tip going away must not find itself in the array again.
    std::vector<std::unique_ptr<CKLVCommandBarKeyboardTip>> tips;
    tips.swap(m_keyboardTips);
    for (auto& pTip : tips)
        if (pTip->GetSafeHwnd()) pTip->DestroyWindow();
    m_pKeyboardTipsBar = nullptr;
    m_nKeyboardTipsTyped = 0;
}

void CKLVCommandBars::ShowKeyboardTips(CKLVCommandBar* pBar) {
    HideKeyboardTips();
    if (!m_pOptions->bShowKeyboardTips || !pBar || !pBar->GetSafeHwnd()) return;
    pBar->UpdateWindow();
    pBar->CreateKeyboardTips();
    if (m_keyboardTips.empty()) return;
    AssignKeyboardTipCaptions();
    if (m_keyboardTips.empty()) return;
    m_pKeyboardTipsBar = pBar;
    CKLVPaintManager* pPaintManager = GetPaintManager();
    const BOOL bCanBeLayered = pPaintManager->m_pfnSetLayeredWindowAttributes != nullptr;
    CClientDC dc(nullptr);
    CKLVFontDC font(&dc, &pPaintManager->m_fontToolTip);
    for (auto& pTip : m_keyboardTips) {
        const CSize szText = dc.GetTextExtent(pTip->m_strCaption);
        const CSize sz(std::max<int>(szText.cx + 6, kMinTipWidth), std::max<int>(szText.cy + 2, kMinTipHeight));
        CPoint pt = pTip->m_pt;
        if (!pTip->m_pLabelled || !pTip->m_pLabelled->IsKindOf(RUNTIME_CLASS(CWnd))) pBar->ClientToScreen(&pt);
        const CRect rc = pTip->PlaceAt(pt, sz, pBar->IsLayoutRTL());
        const BOOL bLayered = bCanBeLayered && !pTip->m_bEnabled;
        if (!pTip->CreateTipWindow(m_pSite, rc, bLayered)) continue;
        pTip->SetWindowPos(&CWnd::wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(),
                           SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        {
            CClientDC dcTip(pTip.get());
            pPaintManager->DrawKeyboardTip(&dcTip, pTip.get(), TRUE);
        }
        if (bLayered)
            pPaintManager->m_pfnSetLayeredWindowAttributes(pTip->GetSafeHwnd(), 0, CKLVCommandBarKeyboardTip::disabledAlpha,
                                                           LWA_ALPHA);
    }
    for (auto& pTip : m_keyboardTips)
        if (pTip->GetSafeHwnd()) pTip->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, kShowTopMost);
}

void CKLVCommandBars::ShowKeyboardTips(CKLVCommandBar* pBar, int nLevel) {
    m_nKeyboardNavigationLevel = nLevel;
    ShowKeyboardTips(pBar);
}

BOOL CKLVCommandBars::ShowKeyboardTipsLevelUp(CKLVCommandBar* pBar) {
    if (!IsKeyboardTipsShown(pBar) || m_nKeyboardNavigationLevel < 2) return FALSE;
    ShowKeyboardTips(pBar, m_nKeyboardNavigationLevel - 1);
    return TRUE;
}

void CKLVCommandBars::AssignKeyboardTipCaptions() {
    std::vector<CKLVKeyboardTipCaptions::Entry> entries;
    entries.reserve(m_keyboardTips.size());
    for (auto& pTip : m_keyboardTips) entries.push_back({pTip->m_strCaption, pTip->m_strLabel});
    CKLVKeyboardTipCaptions::Assign(entries);
    for (size_t i = entries.size(); i-- > 0;) {
        if (entries[i].bRemoved)
            m_keyboardTips.erase(m_keyboardTips.begin() + static_cast<std::ptrdiff_t>(i));
        else
            m_keyboardTips[i]->m_strCaption = entries[i].strCaption;
    }
}

void CKLVCommandBars::OnKeyboardTipKey(CKLVCommandBar* pBar, UINT nKey) {
    const int nTyped = m_nKeyboardTipsTyped;
    auto itFound = std::find_if(m_keyboardTips.begin(), m_keyboardTips.end(), [&](const auto& pTip) {
        return pTip->m_strCaption.GetLength() > nTyped && CompareAccelKey(pTip->m_strCaption[nTyped], nKey);
    });
    if (itFound == m_keyboardTips.end()) {
        if (nKey != VK_SHIFT && nKey != VK_CONTROL) BeepAtKey();
        return;
    }
    CKLVCommandBarKeyboardTip* pFound = itFound->get();
    if (nTyped == pFound->m_strCaption.GetLength() - 1) {
        // Activating may close the bar and its tips: nothing here is touched afterwards.
        if (pFound->m_bEnabled)
            pBar->OnKeyboardTip(pFound);
        else
            BeepAtKey();
        return;
    }
    m_nKeyboardTipsTyped = nTyped + 1;
    const CString strTyped = pFound->m_strCaption.Left(m_nKeyboardTipsTyped);
    for (size_t i = m_keyboardTips.size(); i-- > 0;) {
        CKLVCommandBarKeyboardTip* pTip = m_keyboardTips[i].get();
        if (pTip->m_strCaption.Left(m_nKeyboardTipsTyped).CompareNoCase(strTyped) == 0) continue;
        if (pTip->GetSafeHwnd()) pTip->DestroyWindow();
        m_keyboardTips.erase(m_keyboardTips.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void CKLVCommandBars::BeepAtKey() const { ::MessageBeep(0); }
