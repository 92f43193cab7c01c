// Where a popup bar opens and how it lays its controls out: short menus and their expand item,
// the place on the monitor's work area, scrolling when it is too tall, and the popup tool bar.
#include "toolkit/commandbars/popups/PopupBar.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/FlagScope.h"
#include "toolkit/common/MultiMonitor.h"
#include "toolkit/common/StartupRegistrations.h"

#include <algorithm>

KLV_IMPLEMENT_SERIAL(CKLVPopupToolBar, CKLVPopupBar)
KLV_IMPLEMENT_SERIAL(CKLVControlExpandButton, CKLVControlButton)

namespace {

// A DC of the bar's window, or of the screen while it has none.
class CLayoutDC : public CDC {
public:
    explicit CLayoutDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) { Attach(::GetDC(m_hWnd)); }
    ~CLayoutDC() override { ::ReleaseDC(m_hWnd, Detach()); }

private:
    HWND m_hWnd;
};

constexpr DWORD kUnusedFlags = CKLVControl::hideExpand | CKLVControl::hideMRU;

}  // namespace

void CKLVPopupBar::GetMonitorAreas(const CRect& rcExclude, CPoint pt, CRect& rcWork, CRect& rcMonitor) const {
    CKLVMultiMonitor* pMonitors = KLVMultiMonitor();
    if (rcExclude.IsRectNull()) {
        rcWork = pMonitors->GetWorkRect(pt);
        rcMonitor = pMonitors->GetMonitorRect(pt);
    } else {
        rcWork = pMonitors->GetWorkRect(&rcExclude);
        rcMonitor = pMonitors->GetMonitorRect(&rcExclude);
    }
}

void CKLVPopupBar::UpdateExpandingState() {
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    if (!pCommandBars || pCommandBars->GetOptions()->bAlwaysShowFullMenus) {
        for (int i = 0; i < GetControlCount(); ++i) {
            CKLVControl* pControl = GetControl(i);
            if (!IsOwnControl(pControl)) continue;
            pControl->m_bHiddenCommand = FALSE;
            pControl->SetHideFlag(CKLVControl::hideMRU, FALSE);
        }
        m_bExpanded = TRUE;
        return;
    }
    BOOL bShown = FALSE;
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        if (!IsOwnControl(pControl)) continue;
        const BOOL bVisible = pControl->IsVisible(kUnusedFlags);
        if (pCommandBars->IsControlHidden(pControl)) {
            pControl->m_bHiddenCommand = bVisible;
        } else {
            pControl->m_bHiddenCommand = FALSE;
            if (pControl->GetId() != idExpandButton && bVisible) bShown = TRUE;
        }
    }
    // A menu whose commands are all unused shows them all.
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        if (!IsOwnControl(pControl)) continue;
        pControl->SetHideFlag(CKLVControl::hideMRU, FALSE);
        if (pControl->m_bHiddenCommand && !m_bExpanded && bShown) {
            pControl->SetHideFlag(CKLVControl::hideMRU, TRUE);
            m_bHasHiddenItems = TRUE;
        }
    }
}

int CKLVPopupBar::PrepareLayout(CDC* pDC, CRect& rcBorders) {
    CKLVPaintManager* pPaintManager = GetPaintManager();
    GetBorders(rcBorders);
    if (m_bTearOffPopup) rcBorders.top += pPaintManager->DrawPopupTearOffStrip(pDC, CRect(), FALSE, FALSE).cy;
    CKLVControl* pExpand = FindExpandButton();
    if (!m_bHasHiddenItems) {
        if (pExpand) pExpand->SetHideFlag(CKLVControl::hideGeneric, TRUE);
        return 0;
    }
    if (!pExpand) pExpand = m_pControls->Add(new CKLVControlExpandButton, idExpandButton, CString(), -1, TRUE);
    pExpand->SetHideFlag(CKLVControl::hideGeneric, TRUE);
    return pExpand->GetSize(pDC).cy;
}

CSize CKLVPopupBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
    CKLVPaintManager* pPaintManager = GetPaintManager();
    if (!pPaintManager || m_bInLayout) return CSize(0, 0);
    CKLVFlagScope layout(m_bInLayout);
    CLayoutDC dc(this);
    CKLVFontDC font(&dc, pPaintManager->GetCommandBarFont(this));
    CRect rcWork, rcMonitor;
    GetMonitorAreas(m_rcExclude, m_ptPopup, rcWork, rcMonitor);

    if (nLength == 0) {
        // List placeholders put their current items in first; from the last so that the items
        // inserted after a control do not move the ones still to come.
        for (int i = GetControlCount() - 1; i >= 0; --i)
            if (IsOwnControl(GetControl(i))) GetControl(i)->PrepareDynamicLayout(0);
        for (int i = 0; i < GetControlCount(); ++i)
            if (IsOwnControl(GetControl(i))) GetControl(i)->SetHideFlag(CKLVControl::hideExpand, FALSE);
        m_bHasHiddenItems = FALSE;
        UpdateExpandingState();
    }
    UpdateShortcuts();
    CRect rcBorders;
    const int nExpandHeight = PrepareLayout(&dc, rcBorders);
    CRect rcLayoutBorders = rcBorders;
    rcLayoutBorders.bottom += nExpandHeight;
    // Columns only where the menu may not scroll, or when the caller limits the height.
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    const BOOL bNoScroll = pCommandBars && pCommandBars->GetOptions()->bPopupLayoutOption;
    const int nMaxHeight = (dwMode & CKLVControls::modeLengthIsHeight) ? nLength : bNoScroll ? rcWork.Height() : 0;
    const CSize sz = m_pControls->CalcPopupSize(&dc, nMaxHeight, rcLayoutBorders);
    if (CKLVControl* pExpand = nExpandHeight ? FindExpandButton() : nullptr) {
        pExpand->SetHideFlag(CKLVControl::hideGeneric, FALSE);
        pExpand->SetRect(CRect(rcBorders.left, sz.cy - rcBorders.bottom - nExpandHeight, sz.cx - rcBorders.right,
                               sz.cy - rcBorders.bottom));
    }
    GetBorders(rcBorders);
    m_rcTearOffGripper = m_bTearOffPopup ? CRect(rcBorders.left, rcBorders.top, sz.cx - rcBorders.right,
                                                 rcBorders.top + pPaintManager->DrawPopupTearOffStrip(&dc, CRect(), FALSE, FALSE).cy)
                                         : CRect();
    return sz;
}

void CKLVPopupBar::CalcScrollingLayout(BOOL bFromEnd) {
    StopScrollTimers();
    CKLVPaintManager* pPaintManager = GetPaintManager();
    if (!GetSafeHwnd() || !pPaintManager) return;
    CLayoutDC dc(this);
    CRect rcBorders;
    const int nExpandHeight = PrepareLayout(&dc, rcBorders);
    if (CKLVControl* pExpand = nExpandHeight ? FindExpandButton() : nullptr)
        pExpand->SetHideFlag(CKLVControl::hideGeneric, FALSE);
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nLeft = rcBorders.left, nRight = rcClient.right - rcBorders.right;
    const int nTop = rcBorders.top, nBottom = rcClient.bottom - rcBorders.bottom - nExpandHeight;
    const int nCount = GetControlCount();
    auto isScrolled = [&](int i) {
        CKLVControl* pControl = GetControl(i);
        return IsOwnControl(pControl) && pControl->GetId() != idExpandButton &&
               pControl->IsVisible(CKLVControl::hideExpand);
    };
    auto anyScrolled = [&](int nFrom, int nTo) {
        for (int i = std::max(nFrom, 0); i < std::min(nTo, nCount); ++i)
            if (isScrolled(i)) return TRUE;
        return FALSE;
    };
    auto heightOf = [&](int i) { return GetControl(i)->GetRect().Height(); };

    m_nEndVisible = std::min(m_nEndVisible, nCount);
    auto place = [&](int i, int nTopOfControl) {
        CKLVControl* pControl = GetControl(i);
        CRect rc = pControl->GetRect();
        rc.MoveToY(nTopOfControl);
        pControl->SetRect(rc);
    };
    int nFirst = m_nFirstVisible, nEnd = m_nFirstVisible;
    if (bFromEnd) {
        // From the end index upward, as far as the room below the scroll-up arrow goes.
        int y = nBottom - (anyScrolled(m_nEndVisible, nCount) ? scrollArrowHeight : 0);
        nFirst = nEnd = m_nEndVisible;
        for (int i = m_nEndVisible - 1; i >= 0; --i) {
            if (!isScrolled(i)) continue;
            const int nArrow = anyScrolled(0, i) ? scrollArrowHeight : 0;
            if (y - heightOf(i) < nTop + nArrow && nFirst < nEnd) break;
            y -= heightOf(i);
            place(i, y);
            nFirst = i;
        }
    } else {
        // From the first index downward; the first control alone needs no arrow above it.
        if (nFirst == 1) nFirst = 0;
        int y = nTop + (anyScrolled(0, nFirst) ? scrollArrowHeight : 0);
        for (int i = nFirst; i < nCount; ++i) {
            if (!isScrolled(i)) continue;
            const int nLimit = nBottom - (anyScrolled(i + 1, nCount) ? scrollArrowHeight : 0);
            if (y + heightOf(i) > nLimit && nEnd > nFirst) break;
            place(i, y);
            y += heightOf(i);
            nEnd = i + 1;
        }
    }
    for (int i = 0; i < nCount; ++i)
        if (isScrolled(i)) GetControl(i)->SetHideFlag(CKLVControl::hideExpand, i < nFirst || i >= nEnd);
    m_nFirstVisible = nFirst;
    m_scrollUp.rc = anyScrolled(0, nFirst) ? CRect(nLeft, nTop, nRight, nTop + scrollArrowHeight) : CRect();
    m_nEndVisible = nEnd;
    m_scrollDown.rc = anyScrolled(nEnd, nCount) ? CRect(nLeft, nBottom - scrollArrowHeight, nRight, nBottom) : CRect();
    Redraw();
}

CRect CKLVPopupBar::CalcPopupRect(CSize sz) {
    CRect rcWork, rcMonitor;
    GetMonitorAreas(m_rcExclude, m_ptPopup, rcWork, rcMonitor);
    CRect rcArea = rcWork;
    if (rcMonitor.PtInRect(m_ptPopup) && !rcWork.PtInRect(m_ptPopup)) rcArea = rcMonitor;
    const int nBottom = rcArea.bottom - bottomReserve;
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    const BOOL bNoScroll = pCommandBars && pCommandBars->GetOptions()->bPopupLayoutOption;
    m_bScrolling = FALSE;

    CRect rc(m_ptPopup, sz);
    if (rc.bottom > nBottom) {
        if ((m_dwPopupFlags & directionBelow) && m_rcExclude.Height() > 0) {
            if (m_rcExclude.top - sz.cy >= rcArea.top) {
                rc.MoveToY(m_rcExclude.top - sz.cy);
            } else if (bNoScroll) {
                rc.MoveToY(nBottom - sz.cy);
            } else {
                // Scroll on the larger side of the parent.
                m_bScrolling = TRUE;
                if (nBottom - m_rcExclude.bottom >= m_rcExclude.top - rcArea.top)
                    rc = CRect(rc.left, m_rcExclude.bottom, rc.right, nBottom);
                else
                    rc = CRect(rc.left, rcArea.top, rc.right, m_rcExclude.top);
            }
        } else if (m_rcExclude.Height() <= 0 && m_ptPopup.y > rcArea.CenterPoint().y) {
            rc.MoveToY(m_ptPopup.y - sz.cy);
        } else {
            rc.MoveToY(nBottom - sz.cy);
        }
        if (rc.top < rcArea.top) rc.MoveToY(rcArea.top);
    }
    if (!m_bScrolling && rc.bottom > nBottom) {
        if (!bNoScroll) {
            m_bScrolling = TRUE;
            rc.bottom = nBottom;
        } else {
            const CSize szLimited = CalcDynamicLayout(nBottom - rc.top, CKLVControls::modeLengthIsHeight);
            rc = CRect(rc.TopLeft(), szLimited);
        }
    }

    const BOOL bBeside = !(m_dwPopupFlags & directionBelow) && !m_rcExclude.IsRectNull();
    if (m_dwPopupFlags == (directionLeft | directionBelow) && !m_rcExclude.IsRectNull())
        rc.MoveToX(m_rcExclude.right - rc.Width());
    else if (m_dwPopupFlags & directionLeft)
        rc.MoveToX((bBeside ? m_rcExclude.left : m_ptPopup.x) - rc.Width());
    if (rc.right > rcArea.right) rc.MoveToX(bBeside ? m_rcExclude.left - rc.Width() : rcArea.right - rc.Width());
    if (rc.left < rcArea.left) rc.MoveToX(bBeside ? m_rcExclude.right : rcArea.left);
    if (rc.right > rcArea.right) rc.MoveToX(rcArea.right - rc.Width());
    if (rc.left < rcArea.left) rc.MoveToX(rcArea.left);
    return rc;
}

void CKLVPopupBar::UpdateFromParentControl() {
    CKLVControlPopup* pControl = m_pControlPopup;
    CKLVCommandBar* pParent = pControl ? pControl->GetParent() : nullptr;
    if (!pParent) return;
    m_dwPopupFlags = 0;
    if ((pControl->GetFlags() & 0x10) || IsLayoutRTL()) m_dwPopupFlags |= directionLeft;
    const int nPosition = pParent->GetPosition();
    const BOOL bFloatingPopupType = nPosition == barFloating && pParent->GetType() == barTypePopup;
    if (nPosition == barPopup && (pParent->m_nFlags & flagLargeButtons)) {
        m_dwPopupFlags |= directionBelow;
    } else if (nPosition != barLeft && nPosition != barRight && nPosition != barPopup && !bFloatingPopupType) {
        m_dwPopupFlags |= directionBelow;
    } else if (nPosition == barRight) {
        m_dwPopupFlags = directionLeft;
    } else if (auto* pParentPopup = DYNAMIC_DOWNCAST(CKLVPopupBar, pParent)) {
        if (pParentPopup->m_dwPopupFlags & directionLeft) m_dwPopupFlags = directionLeft;
    }
    CRect rc = pControl->GetRect();
    if (pControl->GetType() == CKLVControl::typeComboBox && pParent->GetType() != barTypePopup) {
        m_dwPopupFlags |= directionBelow;
    } else {
        const BOOL bVertical = nPosition == barLeft || nPosition == barRight || nPosition == barPopup || bFloatingPopupType;
        AdjustExcludeRect(rc, bVertical);
    }
    if (pParent->GetSafeHwnd()) pParent->ClientToScreen(&rc);
    m_rcExclude = rc;
    m_ptPopup = (m_dwPopupFlags & directionBelow) ? CPoint(rc.left, rc.bottom) : CPoint(rc.right, rc.top);
}

void CKLVPopupBar::AdjustExcludeRect(CRect& rc, BOOL bVertical) {
    if (m_pControlPopup)
        if (CKLVPaintManager* pPaintManager = GetPaintManager()) pPaintManager->AdjustExcludeRect(rc, m_pControlPopup, bVertical);
}

CKLVPopupToolBar::CKLVPopupToolBar() { m_barType = barTypeNormal; }

CSize CKLVPopupToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
    CKLVPaintManager* pPaintManager = GetPaintManager();
    if (!pPaintManager || m_bInLayout) return CSize(0, 0);
    CKLVFlagScope layout(m_bInLayout);
    CLayoutDC dc(this);
    CKLVFontDC font(&dc, pPaintManager->GetCommandBarFont(this));
    CRect rcBorders;
    GetBorders(rcBorders);
    const int nGripper = m_bTearOffPopup ? pPaintManager->DrawPopupTearOffStrip(&dc, CRect(), FALSE, FALSE).cy : 0;
    rcBorders.top += nGripper;
    DWORD dwLayout = dwMode | CKLVControls::modeHorz | CKLVControls::modeMRULength;
    const CSize sz = m_pControls->CalcDynamicSize(&dc, nLength > 0 ? nLength : m_nMRUWidth, dwLayout, rcBorders);
    m_rcTearOffGripper = nGripper ? CRect(rcBorders.left, rcBorders.top - nGripper, sz.cx - rcBorders.right, rcBorders.top)
                                  : CRect();
    return sz;
}

void CKLVPopupToolBar::Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive) {
    CKLVPopupBar::Copy(pCommandBar, bRecursive);
    if (auto* pToolBar = DYNAMIC_DOWNCAST(CKLVPopupToolBar, pCommandBar)) m_rcToolBarBorders = pToolBar->m_rcToolBarBorders;
}

CKLVControlExpandButton::CKLVControlExpandButton() {
    m_nType = typeButton;
    m_dwFlags |= expandFlags;
    m_nId = CKLVPopupBar::idExpandButton;
}

void CKLVControlExpandButton::OnExecute() {
    if (auto* pPopup = DYNAMIC_DOWNCAST(CKLVPopupBar, m_pParent)) pPopup->ExpandBar();
}

CSize CKLVControlExpandButton::GetSize(CDC* pDC) {
    CKLVPaintManager* pPaintManager = GetPaintManager();
    const int cy = pPaintManager ? pPaintManager->DrawSpecialControl(pDC, 1, this, m_pParent, FALSE, nullptr).cy : 12;
    return CSize(m_rcControl.Width(), cy);
}

void CKLVControlExpandButton::Draw(CDC* pDC) {
    if (CKLVPaintManager* pPaintManager = GetPaintManager()) pPaintManager->DrawSpecialControl(pDC, 1, this, m_pParent, TRUE, nullptr);
}
