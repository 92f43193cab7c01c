#include "toolkit/commandbars/dockbars/ReBar.h"

#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/dockbars/DockBar.h"
#include "toolkit/commandbars/ToolBar.h"

IMPLEMENT_DYNAMIC(CKLVReBar, CReBar)

BOOL CKLVReBar::AddToolBar(CKLVToolBar* pBar, DWORD dwBandStyle) {
    const CSize sz = pBar->CalcDockingLayout(32000, CKLVControls::modeCommit | CKLVControls::modeHorzDock |
                                                        CKLVControls::modeHorz);
    pBar->SetWindowPos(nullptr, 0, 0, sz.cx, sz.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (CKLVDockBar* pDock = pBar->m_pDockBar) {
        pDock->RemoveCommandBar(pBar);
        pBar->m_nFlags &= ~static_cast<UINT>(CKLVToolBar::flagMoveMask);
        pBar->ShowGripper(FALSE);
    }
    if (!AddBar(pBar, nullptr, nullptr, dwBandStyle)) return FALSE;
    REBARBANDINFOA band = {};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_ID;
    band.wID = pBar->m_nBarID;
    SendMessage(RB_SETBANDINFOA, static_cast<WPARAM>(GetBandCount() - 1), reinterpret_cast<LPARAM>(&band));
    return TRUE;
}

int CKLVReBar::FindBand(const CKLVToolBar* pBar) const {
    for (int i = GetBandCount() - 1; i >= 0; --i) {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_SIZE;
        if (SendMessage(RB_GETBANDINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band)) &&
            band.hwndChild == pBar->GetSafeHwnd())
            return i;
    }
    return -1;
}

void CKLVReBar::DeleteToolBar(const CKLVToolBar* pBar) {
    const int nBand = FindBand(pBar);
    if (nBand >= 0) SendMessage(RB_DELETEBAND, static_cast<WPARAM>(nBand));
}
