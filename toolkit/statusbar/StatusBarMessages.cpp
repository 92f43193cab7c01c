// The status bar's window: its messages, the window text as the first separator pane's text,
// command updates of the panes, and painting through the paint manager.
#include "toolkit/statusbar/StatusBar.h"

#include "classlib/Dc.h"
#include "classlib/FrameWnd.h"
#include "classlib/WindowMessages.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/tooltips/TooltipHost.h"
#include "toolkit/common/MemDC.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace {

// Updates one pane: enabling clears its disabled bit, checking shows it popped out, and the
// text goes to the pane.
class CKLVStatusCmdUI : public CCmdUI {
public:
    explicit CKLVStatusCmdUI(CKLVStatusBar* pBar) : m_pBar(pBar) {}
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        SetStyleBit(CKLVStatusBarPane::styleDisabled, !bOn);
    }
    void SetCheck(int nCheck) override { SetStyleBit(CKLVStatusBarPane::stylePopOut, nCheck != 0); }
    void SetText(LPCTSTR lpszText) override { m_pBar->SetPaneText(static_cast<int>(m_nIndex), lpszText); }

private:
    void SetStyleBit(UINT nBit, bool bSet) {
        const UINT nStyle = m_pBar->GetPaneStyle(static_cast<int>(m_nIndex));
        m_pBar->SetPaneStyle(static_cast<int>(m_nIndex), bSet ? nStyle | nBit : nStyle & ~nBit);
    }
    CKLVStatusBar* m_pBar;
};

}  // namespace

BEGIN_MESSAGE_MAP(CKLVStatusBar, CControlBar)
    ON_MESSAGE(WM_CREATE, OnCreateBar)
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTestBar)
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSizeBar)
    ON_MESSAGE(WM_NCPAINT, OnNcPaintBar)
    ON_MESSAGE(WM_PAINT, OnPaintBar)
    ON_MESSAGE(WM_PRINTCLIENT, OnPaintBar)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgndBar)
    ON_MESSAGE(WM_SIZE, OnSizeBar)
    ON_MESSAGE(WM_WINDOWPOSCHANGING, OnWindowPosChangingBar)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChangedBar)
    ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUIBar)
    ON_MESSAGE(WM_SETTEXT, OnSetTextBar)
    ON_MESSAGE(WM_GETTEXT, OnGetTextBar)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLengthBar)
    ON_MESSAGE(msgStatusBarFrame, OnStatusBarFrame)
END_MESSAGE_MAP()

LRESULT CKLVStatusBar::OnCreateBar(WPARAM, LPARAM) {
    const LRESULT lResult = Default();
    if (lResult == -1) return -1;
    // The control takes a font of its own, so that ours may change without its knowing.
    LOGFONTA lf = {};
    m_fontStatus.GetLogFont(&lf);
    m_fontControl.DeleteObject();
    m_fontControl.CreateFontIndirect(&lf);
    ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_fontControl.GetSafeHandle()), FALSE);
    ::SendMessageA(m_hWnd, SB_SETMINHEIGHT, 20, 0);
    return lResult;
}

LRESULT CKLVStatusBar::OnNcHitTestBar(WPARAM, LPARAM) {
    const LRESULT lResult = Default();
    return lResult == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
}

LRESULT CKLVStatusBar::OnNcCalcSizeBar(WPARAM, LPARAM lParam) {
    auto* lpncsp = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    CRect rect;
    CControlBar::CalcInsideRect(rect, TRUE);
    lpncsp->rgrc[0].left += rect.left;
    lpncsp->rgrc[0].top += rect.top - 2;
    lpncsp->rgrc[0].right += rect.right;
    lpncsp->rgrc[0].bottom += rect.bottom;
    return 0;
}

LRESULT CKLVStatusBar::OnNcPaintBar(WPARAM, LPARAM) {
    PaintNonClient();
    return 0;
}

void CKLVStatusBar::PaintNonClient() {
    CWindowDC dc(this);
    CRect rcClient, rcWindow;
    GetClientRect(&rcClient);
    ClientToScreen(&rcClient);
    GetWindowRect(&rcWindow);
    rcClient.OffsetRect(-rcWindow.left, -rcWindow.top);
    dc.ExcludeClipRect(rcClient);
    rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
    DrawBorders(&dc, rcWindow);
    dc.IntersectClipRect(rcWindow);
    SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
}

LRESULT CKLVStatusBar::OnPaintBar(WPARAM wParam, LPARAM) {
    UpdateAllPanes(FALSE, TRUE);
    if (!m_bThemed || !GetPaintManager()) return Default();
    if (wParam) {
        // WM_PRINTCLIENT, or WM_PAINT into a given DC.
        CDC dc;
        dc.Attach(reinterpret_cast<HDC>(wParam));
        PaintThemed(&dc);
        dc.Detach();
        return 0;
    }
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CKLMemDC memDC(&dc, rcClient);
    PaintThemed(&memDC);
    return 0;
}

BOOL CKLVStatusBar::IsGripperShown() const {
    if (!HasSizeGrip()) return FALSE;
    CWnd* pParent = GetParent();
    return pParent && (pParent->GetStyle() & WS_THICKFRAME) && !pParent->IsZoomed();
}

BOOL CKLVStatusBar::PaintThemed(CDC* pDC) {
    CKLVStatusBarPainter* pPainter = GetPaintManager();
    if (!pPainter) return FALSE;
    pPainter->FillStatusBar(pDC, this);
    const int nLastVisible = LastVisibleIndex();
    for (int i = 0; i < GetPaneCount(); ++i) {
        CKLVStatusBarPane* pPane = m_arrPanes[static_cast<size_t>(i)];
        if (!pPane->m_bVisible) continue;
        CRect rc;
        GetItemRect(i, &rc);
        if (!(pPane->m_nStyle & CKLVStatusBarPane::styleNoBorders))
            pPainter->DrawStatusBarPaneBorder(pDC, rc, i == nLastVisible);
        DrawPane(pDC, i, rc);
    }
    if (IsGripperShown()) {
        CRect rcClient;
        GetClientRect(&rcClient);
        DrawGripper(pDC, rcClient);
    }
    return TRUE;
}

void CKLVStatusBar::DrawPane(CDC* pDC, int nIndex, CRect rc) {
    if (CKLVStatusBarPane* pPane = GetPane(nIndex)) pPane->Draw(pDC, rc);
}

void CKLVStatusBar::DrawGripper(CDC* pDC, CRect rc) {
    if (CKLVStatusBarPainter* pPainter = GetPaintManager()) pPainter->DrawStatusBarGripper(pDC, rc);
}

LRESULT CKLVStatusBar::OnEraseBkgndBar(WPARAM, LPARAM) {
    if (m_bThemed && GetPaintManager()) return TRUE;
    return Default();
}

LRESULT CKLVStatusBar::OnSizeBar(WPARAM, LPARAM) {
    const LRESULT lResult = Default();
    UpdateAllPanes(TRUE, FALSE);
    Invalidate();
    return lResult;
}

LRESULT CKLVStatusBar::OnWindowPosChangingBar(WPARAM, LPARAM) {
    // The control would draw the borders the bar style names; the bar leaves them out.
    const DWORD dwStyle = m_dwStyle;
    m_dwStyle &= ~CBRS_BORDER_ANY;
    const LRESULT lResult = Default();
    m_dwStyle = dwStyle;
    return lResult;
}

LRESULT CKLVStatusBar::OnWindowPosChangedBar(WPARAM, LPARAM lParam) {
    const LRESULT lResult = Default();
    const auto* pPos = reinterpret_cast<const WINDOWPOS*>(lParam);
    CKLVPaintManager* pPaintManager = m_bThemed ? GetPaintManager() : nullptr;
    // A frame theme draws the frame around the status bar: showing or hiding the bar re-frames it.
    if (pPaintManager && pPaintManager->m_nTheme == 6 && (pPos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)))
        if (CWnd* pParent = GetParent())
            pParent->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    return lResult;
}

LRESULT CKLVStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM) {
    const LRESULT lResult = Default();
    m_nMinHeight = static_cast<int>(wParam);
    return lResult;
}

LRESULT CKLVStatusBar::OnIdleUpdateCmdUIBar(WPARAM wParam, LPARAM) {
    ApplyDelayedShow();
    if (!(GetStyle() & WS_VISIBLE)) return 0;
    // Only the owner's command routing is used.
    if (CWnd* pTarget = GetOwner()) OnUpdateCmdUI(static_cast<CFrameWnd*>(pTarget), static_cast<BOOL>(wParam));
    return 0;
}

void CKLVStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CKLVStatusCmdUI state(this);
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetPaneCount());
    for (int i = 0; i < GetPaneCount(); ++i) {
        state.m_nID = m_arrPanes[static_cast<size_t>(i)]->m_nID;
        state.m_nIndex = static_cast<UINT>(i);
        // The bar's own handler first; a pane nobody handles keeps its state.
        if (state.DoUpdate(this, FALSE)) continue;
        state.DoUpdate(pTarget, FALSE);
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

LRESULT CKLVStatusBar::OnSetTextBar(WPARAM, LPARAM lParam) {
    const int nIndex = CommandToIndex(0);
    if (nIndex < 0) return FALSE;
    return SetPaneText(nIndex, reinterpret_cast<LPCTSTR>(lParam)) ? TRUE : FALSE;
}

LRESULT CKLVStatusBar::OnGetTextBar(WPARAM wParam, LPARAM lParam) {
    const int cchBuffer = static_cast<int>(wParam);
    auto* pszBuffer = reinterpret_cast<LPSTR>(lParam);
    if (cchBuffer <= 0 || !pszBuffer) return 0;
    const CString strText = GetPaneText(CommandToIndex(0));
    const int cchCopy = std::min(strText.GetLength(), cchBuffer - 1);
    std::memcpy(pszBuffer, static_cast<LPCTSTR>(strText), static_cast<size_t>(cchCopy));
    pszBuffer[cchCopy] = '\0';
    return cchCopy;
}

LRESULT CKLVStatusBar::OnGetTextLengthBar(WPARAM, LPARAM) { return GetPaneText(CommandToIndex(0)).GetLength(); }

LRESULT CKLVStatusBar::OnStatusBarFrame(WPARAM, LPARAM) {
    CKLVPaintManager* pPaintManager = m_bThemed ? GetPaintManager() : nullptr;
    return pPaintManager && pPaintManager->m_bStatusBarFrame;
}

INT_PTR CKLVStatusBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    const INT_PTR nHit = CControlBar::OnToolHitTest(point, pTI);
    if (nHit != -1) return nHit;
    CRect rc;
    CKLVStatusBarPane* pPane = HitTest(point, &rc);
    if (!pPane || pPane->GetTooltip().IsEmpty()) return -1;
    if (pTI) m_pToolTipContext->FillInToolInfo(pTI, m_hWnd, rc, pPane->m_nID, pPane->GetTooltip());
    return static_cast<INT_PTR>(pPane->m_nID);
}

BOOL CKLVStatusBar::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (CKLVTooltipHost::IsMouseMessage(message))
        m_pToolTipContext->FilterToolTipMessage(this, message, wParam, lParam);
    return CControlBar::OnWndMsg(message, wParam, lParam, pResult);
}

