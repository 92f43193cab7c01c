// The bar's tooltips: the shared tooltip host sees every message first, and the control under
// the mouse names the tool with its tip and, when asked, its shortcut.
#include "toolkit/commandbars/barbase/CommandBar.h"

#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/shortcuts/AccelManager.h"
#include "toolkit/commandbars/tooltips/ToolTipContext.h"

#include <cstdlib>
#include <cstring>

void CKLVCommandBar::SetToolTipContext(CKLVToolTipContext* pContext) {
    if (pContext == m_pToolTipContext) return;
    if (pContext) pContext->InternalAddRef();
    if (m_pToolTipContext) m_pToolTipContext->InternalRelease();
    m_pToolTipContext = pContext;
}

BOOL CKLVCommandBar::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (m_pToolTipContext) m_pToolTipContext->FilterToolTipMessage(this, message, wParam, lParam);
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

CString CKLVCommandBar::GetToolTipText(CKLVControl* pControl) const {
    CString strTip = pControl->GetTooltip();
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    if (strTip.IsEmpty() || !pLink || !pLink->IsToolBarAccelTips()) return strTip;
    CString strShortcut = pControl->GetShortcutText();
    if (strShortcut.IsEmpty())
        if (CKLVAccelManager* pAccelManager = pLink->GetAccelManager())
            pAccelManager->FindShortcut(static_cast<UINT>(pControl->GetId()), strShortcut);
    if (!strShortcut.IsEmpty()) strTip += " (" + strShortcut + ")";
    return strTip;
}

INT_PTR CKLVCommandBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    if (m_nPopuped != -1 && m_barType != barTypePopup) return -1;
    if (IsMouseLocked() || KLVMouseHook()->IsTrackingOtherPopup(const_cast<CKLVCommandBar*>(this))) return -1;
    CKLVCommandBarsLink* pLink = GetCommandBarsLink();
    if (pLink && !pLink->IsToolBarScreenTips()) return -1;
    CKLVControl* pControl = m_pControls->HitTest(point);
    if (!pControl) return -1;
    if (m_barType == barTypePopup && !(pLink && pLink->IsPopupBarTips()) &&
        !(pControl->GetFlags() & CKLVControl::flagPopupTooltip))
        return -1;
    const CString strTip = GetToolTipText(pControl);
    if (strTip.IsEmpty()) return -1;
    const INT_PTR nHit = pControl->GetId() ? pControl->GetId() : -1;
    if (!pTI) return nHit;
    const CRect rcTool = pControl->GetRect();
    if (m_pToolTipContext) {
        m_pToolTipContext->FillInToolInfoEx(pTI, m_hWnd, rcTool, nHit, strTip, strTip, pControl->GetDescription(),
                                            GetImageManager());
        return nHit;
    }
    // The class library's own tooltip takes the text from malloc and frees it.
    pTI->hwnd = m_hWnd;
    pTI->uId = static_cast<UINT_PTR>(nHit);
    pTI->rect = rcTool;
    const size_t cbText = std::strlen(strTip) + 1;
    pTI->lpszText = static_cast<LPSTR>(std::malloc(cbText));
    if (pTI->lpszText) std::memcpy(pTI->lpszText, static_cast<LPCTSTR>(strTip), cbText);
    return nHit;
}
