// The status bar's panes: building them from indicator ids, their texts and styles, and the
// partition of the native control they stretch over.
#include "toolkit/statusbar/StatusBar.h"

#include "classlib/Controls.h"
#include "classlib/Dc.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/common/NonClientMetrics.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/tooltips/TooltipHost.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CKLVStatusBar, CControlBar)

namespace {

// Every pane takes this much more than its content in the native partition.
const int kPaneFrame = 6;

}  // namespace

CKLVStatusBar::CKLVStatusBar() : m_pToolTipContext(new CKLVTooltipHost) {
    m_cxLeftBorder = 0;
    m_cxRightBorder = 0;
    m_cyTopBorder = 2;
    m_cyBottomBorder = 0;
    const CKLVNonClientMetrics metrics;
    m_fontStatus.CreateFontIndirect(&metrics.lfStatusFont);
}

CKLVStatusBar::~CKLVStatusBar() {
    for (CKLVStatusBarPane* pPane : m_arrPanes) pPane->InternalRelease();
    m_arrPanes.clear();
    m_pToolTipContext->InternalRelease();
}

BOOL CKLVStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_dwStyle = dwStyle & CBRS_ALL;
    // The frame's layout places the bar, not the control itself.
    DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NORESIZE | CCS_NODIVIDER;
    if (pParentWnd && (pParentWnd->GetStyle() & WS_THICKFRAME)) dwWndStyle |= SBARS_SIZEGRIP;
    return AfxCreateCommonControl(*this, ICC_BAR_CLASSES, STATUSCLASSNAMEA, 0, dwWndStyle, CRect(0, 0, 0, 0),
                                  pParentWnd, nID);
}

BOOL CKLVStatusBar::PreCreateWindow(CREATESTRUCT& cs) {
    // A bottom bar with a top border leaves the border to the native control's frame.
    if ((m_dwStyle & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) == CBRS_BOTTOM)
        m_dwStyle &= ~(CBRS_BORDER_ANY | CBRS_BORDER_3D);
    cs.style |= WS_CLIPSIBLINGS;
    if (!(m_dwStyle & CBRS_BORDER_3D)) {
        static const struct {
            DWORD dwAlign, dwBorders;
        } kTranslations[] = {
            {CBRS_LEFT, CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM},
            {CBRS_TOP, CBRS_BORDER_TOP},
            {CBRS_RIGHT, CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM},
            {CBRS_BOTTOM, CBRS_BORDER_BOTTOM},
        };
        for (const auto& translation : kTranslations)
            if ((m_dwStyle & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) == translation.dwAlign) {
                m_dwStyle = (m_dwStyle & ~CBRS_BORDER_ANY) | translation.dwBorders | CBRS_BORDER_3D;
                break;
            }
    }
    return CControlBar::PreCreateWindow(cs);
}

CKLVStatusBarPane* CKLVStatusBar::GetPane(int nIndex) const {
    return IsPaneIndex(nIndex) ? m_arrPanes[static_cast<size_t>(nIndex)] : nullptr;
}

CKLVPaintManager* CKLVStatusBar::GetPaintManager() const {
    if (m_pCommandBars) return m_pCommandBars->GetPaintManager();
    if (!CKLVPaintManager::GetGlobalPaintManager()) CKLVPaintManager::SetTheme(0);
    return CKLVPaintManager::GetGlobalPaintManager();
}

BOOL CKLVStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    RemoveAll();
    BOOL bResult = TRUE;
    for (int i = 0; i < nIDCount; ++i) {
        auto* pPane = new CKLVStatusBarPane;
        pPane->m_pStatusBar = this;
        pPane->m_nID = lpIDArray[i];
        pPane->m_nFlags |= CKLVStatusBarPane::flagSendText;
        if (pPane->m_nID == 0) {
            pPane->m_cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
            if (i == 0) pPane->m_nStyle = CKLVStatusBarPane::styleStretch | CKLVStatusBarPane::styleNoBorders;
        } else if (!pPane->m_strText.LoadString(pPane->m_nID)) {
            pPane->InternalRelease();
            bResult = FALSE;
            break;
        } else {
            pPane->FitWidthToText();
        }
        m_arrPanes.push_back(pPane);
    }
    UpdateAllPanes(TRUE, TRUE);
    return bResult;
}

void CKLVStatusBar::RemoveAll() {
    for (CKLVStatusBarPane* pPane : m_arrPanes) pPane->InternalRelease();
    m_arrPanes.clear();
    UpdateAllPanes(TRUE, TRUE);
}

int CKLVStatusBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < GetPaneCount(); ++i)
        if (m_arrPanes[static_cast<size_t>(i)]->m_nID == nIDFind) return i;
    return -1;
}

CKLVStatusBarPane* CKLVStatusBar::FindPane(UINT nID) const { return GetPane(CommandToIndex(nID)); }

int CKLVStatusBar::GetVisiblePaneCount() const {
    int nCount = 0;
    for (const CKLVStatusBarPane* pPane : m_arrPanes) nCount += pPane->m_bVisible ? 1 : 0;
    return nCount;
}

int CKLVStatusBar::LastVisibleIndex() const {
    for (int i = GetPaneCount() - 1; i >= 0; --i)
        if (m_arrPanes[static_cast<size_t>(i)]->m_bVisible) return i;
    return -1;
}

void CKLVStatusBar::GetNativeBorders(int& cxBorder, int& cyBorder, int& cxBetween) const {
    int borders[3] = {0, 0, 0};
    if (m_hWnd) ::SendMessageA(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    cxBorder = borders[0];
    cyBorder = borders[1];
    cxBetween = borders[2];
}

BOOL CKLVStatusBar::HasSizeGrip() const { return m_hWnd && (GetStyle() & SBARS_SIZEGRIP) != 0; }

void CKLVStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText) {
    if (!m_hWnd) return;
    if (bUpdateRects) {
        CRect rect;
        GetWindowRect(&rect);
        rect.OffsetRect(-rect.left, -rect.top);
        CalcInsideRect(rect, TRUE);
        int cxBorder, cyBorder, cxBetween;
        GetNativeBorders(cxBorder, cyBorder, cxBetween);

        int cxExtra = rect.Width() + cxBetween;
        int nStretch = 0, nVisible = 0;
        for (int i = 0; i < GetPaneCount(); ++i) {
            CKLVStatusBarPane* pPane = m_arrPanes[static_cast<size_t>(i)];
            pPane->m_nIndex = i;
            pPane->m_nVisibleIndex = pPane->m_bVisible ? nVisible++ : -1;
            if (!pPane->m_bVisible) continue;
            cxExtra -= kPaneFrame + pPane->m_cxText + cxBetween;
            if (pPane->m_nStyle & CKLVStatusBarPane::styleStretch) ++nStretch;
        }

        std::vector<int> rightEdges;
        int x = cxBorder;
        for (CKLVStatusBarPane* pPane : m_arrPanes) {
            if (!pPane->m_bVisible) continue;
            int xRight = x + kPaneFrame + pPane->m_cxText;
            if ((pPane->m_nStyle & CKLVStatusBarPane::styleStretch) && cxExtra > 0) {
                const int cxShare = cxExtra / nStretch;
                xRight += cxShare;
                cxExtra -= cxShare;
            }
            if (pPane->m_nStyle & CKLVStatusBarPane::styleStretch) --nStretch;
            rightEdges.push_back(xRight);
            x = xRight + cxBetween;
        }
        ::SendMessageA(m_hWnd, SB_SETPARTS, rightEdges.size(),
                       reinterpret_cast<LPARAM>(rightEdges.empty() ? nullptr : rightEdges.data()));
        PositionControls();
    }
    if (bUpdateText)
        for (int i = 0; i < GetPaneCount(); ++i) {
            CKLVStatusBarPane* pPane = m_arrPanes[static_cast<size_t>(i)];
            if (pPane->m_bVisible && (pPane->m_nFlags & CKLVStatusBarPane::flagSendText))
                SetPaneText(i, CString(pPane->m_strText));
        }
}

BOOL CKLVStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
    CKLVStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane) return FALSE;
    const CString strNewText = lpszNewText ? lpszNewText : "";
    if (!(pPane->m_nFlags & CKLVStatusBarPane::flagSendText) && pPane->m_strText == strNewText) return TRUE;
    pPane->m_strText = strNewText;
    if (!pPane->m_bVisible) return FALSE;
    if (!bUpdate) {
        pPane->m_nFlags |= CKLVStatusBarPane::flagSendText;
        return TRUE;
    }
    pPane->m_nFlags &= ~CKLVStatusBarPane::flagSendText;
    if (m_hWnd) {
        // A disabled pane shows nothing in the native control but keeps its text.
        const BOOL bDisabled = (pPane->m_nStyle & CKLVStatusBarPane::styleDisabled) != 0;
        ::SendMessageA(m_hWnd, SB_SETTEXTA, LOWORD(pPane->m_nStyle) | static_cast<UINT>(pPane->m_nVisibleIndex),
                       bDisabled ? 0 : reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(pPane->m_strText)));
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
    return TRUE;
}

CString CKLVStatusBar::GetPaneText(int nIndex) const {
    CKLVStatusBarPane* pPane = GetPane(nIndex);
    return pPane ? pPane->m_strText : CString();
}

UINT CKLVStatusBar::GetPaneStyle(int nIndex) const {
    CKLVStatusBarPane* pPane = GetPane(nIndex);
    return pPane ? pPane->m_nStyle : 0;
}

void CKLVStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
    CKLVStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane || pPane->m_nStyle == nStyle) return;
    if ((pPane->m_nStyle ^ nStyle) & CKLVStatusBarPane::styleStretch) {
        pPane->m_nStyle = nStyle;
        UpdateAllPanes(TRUE, FALSE);
    }
    pPane->m_nStyle = nStyle;
    pPane->m_nFlags |= CKLVStatusBarPane::flagSendText;
    SetPaneText(nIndex, CString(pPane->m_strText));
}

void CKLVStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    ::SetRectEmpty(lpRect);
    CKLVStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane || !m_hWnd || !pPane->m_bVisible) return;
    if (!::SendMessageA(m_hWnd, SB_GETRECT, static_cast<WPARAM>(pPane->m_nVisibleIndex),
                        reinterpret_cast<LPARAM>(lpRect))) {
        ::SetRectEmpty(lpRect);
        return;
    }
    if (nIndex != LastVisibleIndex()) return;
    // The native control runs the last part to its end; ours ends with its content, or, when
    // it stretches, before the size grip.
    if (!(pPane->m_nStyle & CKLVStatusBarPane::styleStretch)) {
        lpRect->right = lpRect->left + pPane->m_cxText + 3 * ::GetSystemMetrics(SM_CXEDGE);
        return;
    }
    CRect rcClient;
    GetClientRect(&rcClient);
    lpRect->right = rcClient.right;
    if (HasSizeGrip()) lpRect->right -= ::GetSystemMetrics(SM_CXSMICON) + ::GetSystemMetrics(SM_CXEDGE);
}

BOOL CKLVStatusBar::GetFirstPaneRect(LPRECT lpRect) const {
    if (GetPaneCount() == 0) return FALSE;
    GetItemRect(0, lpRect);
    return TRUE;
}

CKLVStatusBarPane* CKLVStatusBar::HitTest(CPoint pt, CRect* pRect) const {
    for (int i = 0; i < GetPaneCount(); ++i) {
        if (!m_arrPanes[static_cast<size_t>(i)]->m_bVisible) continue;
        CRect rc;
        GetItemRect(i, &rc);
        if (!rc.PtInRect(pt)) continue;
        if (pRect) *pRect = rc;
        return m_arrPanes[static_cast<size_t>(i)];
    }
    return nullptr;
}

void CKLVStatusBar::PositionControls() {
    const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    for (int i = 0; i < GetPaneCount(); ++i) {
        CKLVStatusBarPane* pPane = m_arrPanes[static_cast<size_t>(i)];
        if (!pPane->m_hwndChild || !::IsWindow(pPane->m_hwndChild)) continue;
        CRect rc;
        GetItemRect(i, &rc);
        if (!(pPane->m_nStyle & CKLVStatusBarPane::styleNoBorders)) rc.DeflateRect(cxEdge, cxEdge);
        ::MoveWindow(pPane->m_hwndChild, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
    }
}

CSize CKLVStatusBar::CalcFixedLayout(BOOL, BOOL bHorz) {
    CClientDC dc(nullptr);
    CFont* pOldFont = dc.SelectObject(&m_fontStatus);
    TEXTMETRICA tm = {};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(pOldFont);

    int cxBorder, cyBorder, cxBetween;
    GetNativeBorders(cxBorder, cyBorder, cxBetween);
    CRect rcBorders;
    CalcInsideRect(rcBorders, bHorz);
    int cy = tm.tmHeight - tm.tmInternalLeading - 1 + 2 * cyBorder + 2 * ::GetSystemMetrics(SM_CYBORDER) -
             rcBorders.Height();
    if (cy < m_nMinHeight) cy = m_nMinHeight;
    return CSize(32767, cy);
}

void CKLVStatusBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
    CControlBar::CalcInsideRect(rect, bHorz);
    if (!HasSizeGrip()) return;
    CWnd* pParent = GetParent();
    if (pParent && pParent->IsZoomed()) return;
    int cxBorder, cyBorder, cxBetween;
    GetNativeBorders(cxBorder, cyBorder, cxBetween);
    rect.right -= 2 * ::GetSystemMetrics(SM_CXBORDER) + ::GetSystemMetrics(SM_CXVSCROLL) + cxBorder;
}

void CKLVStatusBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
    if (m_hWnd && ((dwOldStyle ^ dwNewStyle) & CBRS_BORDER_ANY))
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
