// The ribbon's size and the placing of its parts: caption band, system button, loose controls,
// quick access tool bar, tab row, group area and context headers.
#include "toolkit/ribbon/RibbonBar.h"

#include "classlib/Dc.h"
#include "classlib/FrameWnd.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/themes/PaintManagerTheme5.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/ribbon/RibbonControlTab.h"
#include "toolkit/ribbon/RibbonControls.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroupControlPopup.h"
#include "toolkit/ribbon/RibbonTab.h"
#include "toolkit/tabs/TabPainter.h"

#include <algorithm>
#include <vector>

namespace {

// Measures in the bar's window (the screen before it has one) with the theme's regular font.
class CRibbonMeasureDC : public CClientDC {
public:
    explicit CRibbonMeasureDC(CKLVCommandBar* pBar)
        : CClientDC(pBar->GetSafeHwnd() ? pBar : nullptr), m_font(this, &pBar->GetPaintManager()->m_fontRegular) {}

private:
    CKLVFontDC m_font;
};

enum { groupMarginLeft = 4, groupMarginTop = 3, groupMarginRight = 6, groupMarginBottom = 3 };
enum { systemCommandFirst = 0xF020, systemCommandLast = 0xF120 };
enum { beginGroupGap = 6, quickAccessGap = 5, customizeGap = 12, belowRightLimit = 15, themedFrameRightLimit = 115, minTabRowWidth = 6 };

CRect CenteredIn(int x, const CRect& rcBand, CSize sz) {
    const int y = rcBand.top + (rcBand.Height() - sz.cy) / 2;
    return CRect(x, y, x + sz.cx, y + sz.cy);
}

}  // namespace

BOOL CKLVRibbonBar::IsFrameHighEnough() const {
    CWnd* pFrame = GetSite();
    if (!pFrame || !pFrame->GetSafeHwnd()) return TRUE;
    CRect rc;
    ::GetWindowRect(pFrame->GetSafeHwnd(), &rc);
    return rc.Height() >= m_nMinimumSize;
}

int CKLVRibbonBar::GetCaptionBandHeight() const {
    if (!HasCaptionBand()) return 0;
    auto* pTheme = dynamic_cast<CKLVPaintManagerTheme5*>(GetPaintManager());
    const int nBorder = GetFrameBorder();
    int nHeight = (pTheme ? pTheme->m_nRibbonCaptionHeight
                          : std::max<int>(::GetSystemMetrics(SM_CYCAPTION) + 1, defaultCaptionHeight)) +
                  nBorder;
    if (m_bQuickAccessVisible && !m_bQuickAccessBelow)
        nHeight = std::max(nHeight, std::max(m_nQuickAccessHeight, GetTabsHeight() - 2) + nBorder);
    return nHeight;
}

int CKLVRibbonBar::CalcQuickAccessHeight(CDC* pDC) {
    int nHeight = GetButtonSize().cy + 4;
    for (int i = 0; i < m_pQuickAccessControls->GetCount(); ++i) {
        CKLVControl* pControl = m_pQuickAccessControls->GetAt(i);
        if (pControl->IsVisible(CKLVControl::hideWrap)) nHeight = std::max<int>(nHeight, pControl->GetSize(pDC).cy + 4);
    }
    return nHeight;
}

CSize CKLVRibbonBar::CalcDockingLayout(int nLength, DWORD dwMode, int) { return CalcDynamicLayout(nLength, dwMode); }

CSize CKLVRibbonBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
    const BOOL bVisible = nLength >= m_nMinimumSize && IsFrameHighEnough();
    if (bVisible != m_bRibbonVisible) {
        m_bRibbonVisible = bVisible;
        OnRibbonVisibilityChanged();
    }
    if (!m_bRibbonVisible) return CSize(std::max(nLength, 0), 0);
    CRibbonMeasureDC dc(this);
    m_nQuickAccessHeight = CalcQuickAccessHeight(&dc);
    const int nGroupsArea = GetGroupsAreaHeight();
    int nHeight = GetCaptionBandHeight() + nGroupsArea + GetTabsHeight();
    if (m_bQuickAccessBelow) nHeight += m_nQuickAccessHeight + 1;
    if (nGroupsArea == 0 && !m_bQuickAccessBelow) nHeight += 2;
    if (dwMode & CKLVControls::modeCommit) {
        PositionControls(&dc, nLength);
        // This is the layout a pending request asked for: the command update must not lay the
        // bar out again at another width.
        m_nIdleFlags &= ~delayLayout;
        if (m_bCommandStatePending) {
            m_bCommandStatePending = FALSE;
            OnIdleUpdate();
        }
        Redraw();
    }
    return CSize(nLength, nHeight);
}

BOOL CKLVRibbonBar::IsQuickAccessControl(CKLVControl* pControl) const {
    return pControl == m_pCustomizePopup || pControl == m_pMorePopup || m_pQuickAccessControls->Contains(pControl);
}

BOOL CKLVRibbonBar::IsLooseControl(CKLVControl* pControl) const {
    if (!pControl->IsVisible(CKLVControl::hideDocking) || CKLVRibbonGroup::Of(pControl) || IsQuickAccessControl(pControl))
        return FALSE;
    if (pControl->GetId() >= systemCommandFirst && pControl->GetId() <= systemCommandLast) return FALSE;
    return pControl != m_pSystemButton && pControl != m_pControlTab && !m_scroller.IsScrollButton(pControl);
}

void CKLVRibbonBar::PositionControls(CDC* pDC, int nWidth) {
    const int nTabs = GetTabsHeight();
    const int nGroupsArea = GetGroupsAreaHeight();
    const int nCaption = GetCaptionBandHeight();
    const int nBorder = GetFrameBorder();
    if (HasCaptionBand()) {
        m_rcCaption.SetRect(-nBorder, 0, nWidth + nBorder, nCaption);
        m_rcCaptionText.SetRect(0, 0, nWidth, nCaption);
        m_rcTitle = m_pFrameIntegration ? m_rcCaptionText : CRect(0, 0, 0, 0);
    } else {
        m_rcCaption.SetRectEmpty();
        m_rcCaptionText.SetRectEmpty();
        m_rcTitle.SetRectEmpty();
    }
    m_rcTabRow.SetRect(2, nCaption, nWidth - 2, nCaption + nTabs);
    m_rcGroupArea.SetRect(0, nCaption + nTabs, nWidth, nCaption + nTabs + nGroupsArea);
    const int nQuickAccess = m_nQuickAccessHeight;
    if (m_bQuickAccessVisible && m_bQuickAccessBelow)
        m_rcQuickAccess.SetRect(0, m_rcGroupArea.bottom, nWidth, m_rcGroupArea.bottom + nQuickAccess);
    else
        m_rcQuickAccess.SetRect(nQuickAccess + nTabs, nBorder - 2, m_rcCaption.right, nQuickAccess + nBorder - 3);
    LayoutSystemButton(pDC, nCaption, nQuickAccess, nTabs);

    int nLeft = 2;
    if (m_pSystemButton && m_pSystemButton->IsVisible() && (m_bTabRowShown || !HasCaptionBand()))
        nLeft = m_pSystemButton->GetRect().right;
    nLeft = LayoutLooseControls(pDC, nLeft, nWidth - 2, FALSE);
    if (m_bQuickAccessVisible && !m_bQuickAccessBelow && !HasCaptionBand())
        m_rcQuickAccess.SetRect(nLeft + quickAccessGap, m_rcTabRow.top, nWidth, m_rcTabRow.bottom);
    LayoutQuickAccess(pDC, nWidth, nCaption);
    if (m_bQuickAccessVisible && !m_bQuickAccessBelow && !HasCaptionBand()) nLeft = m_rcQuickAccess.right;
    const int nRight = LayoutLooseControls(pDC, nLeft, nWidth - 2, TRUE);
    LayoutTabRow(pDC, nLeft, nRight);
    LayoutGroups(pDC);
    if (m_pFrameIntegration) {
        LayoutCaptionButtons(pDC);
        LayoutTitle(pDC);
    }
    if (HasCaptionBand()) BuildContextHeaders();
}

void CKLVRibbonBar::LayoutSystemButton(CDC* pDC, int nCaption, int nQuickAccess, int nTabs) {
    if (!m_pSystemButton) return;
    const BOOL bCaption = HasCaptionBand();
    m_pSystemButton->SetHideFlag(CKLVControl::hideWrap, !bCaption && !m_bTabRowShown);
    if (bCaption && m_bTabRowShown) {
        const int nTop = GetFrameBorder() + m_rcCaption.top - 1;
        m_pSystemButton->SetRect(CRect(0, nTop, nQuickAccess + nTabs - 3, nTop + nQuickAccess + nTabs - 4));
        return;
    }
    const CSize sz = m_pSystemButton->GetSize(pDC);
    if (!bCaption) {
        m_pSystemButton->SetRect(CenteredIn(0, m_rcTabRow, sz));
        return;
    }
    m_pSystemButton->SetRect(CenteredIn(0, CRect(0, 0, sz.cx, nCaption), sz));
    m_rcQuickAccess.left = sz.cx + 15;
}

int CKLVRibbonBar::LayoutLooseControls(CDC* pDC, int nLeft, int nRight, BOOL bRightAligned) {
    std::vector<CKLVControl*> controls;
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        const BOOL bRight = (pControl->GetFlags() & CKLVControl::flagRightAlign) != 0;
        if (bRight == bRightAligned && IsLooseControl(pControl)) controls.push_back(pControl);
    }
    if (bRightAligned) std::reverse(controls.begin(), controls.end());
    int x = bRightAligned ? nRight : nLeft;
    BOOL bFirst = TRUE;
    for (CKLVControl* pControl : controls) {
        pControl->SetHideFlag(CKLVControl::hideDocking, !m_bTabRowShown);
        const CSize sz = pControl->GetSize(pDC);
        if (bRightAligned) {
            x -= sz.cx;
            pControl->SetRect(CenteredIn(x, m_rcTabRow, sz));
            if (pControl->GetBeginGroup()) x -= beginGroupGap;
        } else {
            if (pControl->GetBeginGroup() && !bFirst) x += beginGroupGap;
            pControl->SetRect(CenteredIn(x, m_rcTabRow, sz));
            x += sz.cx;
        }
        bFirst = FALSE;
    }
    return x;
}

void CKLVRibbonBar::OnFrameActiveChanged() {
    // Below the ribbon or hidden, the tool bar's limit does not depend on the frame's state.
    if (m_bQuickAccessVisible && !m_bQuickAccessBelow) OnRecalcLayout();
}

void CKLVRibbonBar::LayoutQuickAccess(CDC* pDC, int nWidth, int nCaption) {
    const BOOL bInCaption = !m_bQuickAccessBelow && HasCaptionBand();
    const BOOL bAllHidden = !m_bQuickAccessVisible || (!HasCaptionBand() && !m_bTabRowShown);
    const int nLimit = m_bQuickAccessBelow ? nWidth - belowRightLimit
                       : IsFrameThemed()   ? nWidth - themedFrameRightLimit
                                           : nWidth - 3 * nCaption;
    std::vector<CKLVControl*> controls;
    for (int i = 0; i < GetControlCount(); ++i)
        if (IsQuickAccessControl(GetControl(i)) && GetControl(i) != m_pMorePopup) controls.push_back(GetControl(i));
    m_pMorePopup->SetHideFlag(CKLVControl::hideWrap, TRUE);
    int x = m_rcQuickAccess.left + (m_bQuickAccessBelow ? 2 : 0);
    BOOL bWrapping = FALSE;
    BOOL bPlaced = FALSE;
    for (CKLVControl* pControl : controls) {
        pControl->SetHideFlag(CKLVControl::hideWrap, bAllHidden || bWrapping);
        if (bAllHidden || bWrapping || !pControl->IsVisible()) continue;
        const BOOL bPopup = pControl == m_pCustomizePopup;
        const CSize sz = pControl->GetSize(pDC);
        if (!bPopup && x + sz.cx > nLimit) {
            bWrapping = TRUE;
            pControl->SetHideFlag(CKLVControl::hideWrap, TRUE);
            continue;
        }
        if (bPopup && bPlaced && bInCaption) x += customizeGap;
        CRect rc = CenteredIn(x, m_rcQuickAccess, sz);
        if (bInCaption && !bPopup) rc.OffsetRect(0, 2);
        pControl->SetRect(rc);
        if (!(bInCaption && bPopup)) x += sz.cx;
        bPlaced = bPlaced || !bPopup;
    }
    if (bWrapping) {
        m_pCustomizePopup->SetHideFlag(CKLVControl::hideWrap, TRUE);
        m_pMorePopup->SetHideFlag(CKLVControl::hideWrap, FALSE);
        if (bInCaption) x += customizeGap;
        const CSize sz = m_pMorePopup->GetSize(pDC);
        m_pMorePopup->SetRect(CenteredIn(x, m_rcQuickAccess, sz));
        if (!bInCaption) x += sz.cx;
    }
    if (!m_bQuickAccessBelow) m_rcQuickAccess.right = x;
}

void CKLVRibbonBar::LayoutTabRow(CDC* pDC, int nLeft, int nRight) {
    CRect rc(nLeft, m_rcTabRow.top, nRight, m_rcTabRow.bottom);
    if (rc.Width() < minTabRowWidth) rc.SetRectEmpty();
    if (!m_bTabRowShown) rc.bottom = rc.top;
    m_rcTabRow = rc;
    m_pControlTab->SetHideFlag(CKLVControl::hideGeneric, !m_bTabRowShown);
    m_pControlTab->SetRect(rc);
    if (m_bTabRowShown && !rc.IsRectEmpty()) m_pControlTab->GetPaintManager()->RepositionTabControl(m_pControlTab, pDC, rc);
}

void CKLVRibbonBar::LayoutGroups(CDC* pDC) {
    m_scroller.SetBounds(m_rcGroupArea);
    CKLVRibbonTab* pTab = GetSelectedTab();
    if (!pTab || m_rcGroupArea.IsRectEmpty()) {
        m_scroller.ShowButtons(FALSE, FALSE);
        return;
    }
    CKLVRibbonGroups* pGroups = pTab->GetGroups();
    pGroups->SetMetrics(GetGroupsHeight(), GetGroupCaptionHeight());
    pGroups->SetScroller(&m_scroller);
    pGroups->Reposition(pDC, m_rcGroupArea.Width(),
                        CRect(m_rcGroupArea.left + groupMarginLeft, m_rcGroupArea.top + groupMarginTop,
                              groupMarginRight, groupMarginBottom));
}

void CKLVRibbonBar::BuildContextHeaders() {
    m_contextHeaders.RemoveAll();
    CKLVRibbonTabContextHeader* pHeader = nullptr;
    ForEachTab([&](CKLVRibbonTab* pTab) {
        pTab->m_pContextHeader = nullptr;
        if (!pTab->IsVisible()) return;
        if (pTab->m_nContextColor == 0) {
            pHeader = nullptr;
            return;
        }
        const CRect rcTab = pTab->GetRect();
        if (pHeader && pHeader->pLastTab->IsSameContext(pTab)) {
            pHeader->pLastTab = pTab;
            pHeader->rcHeader.right = rcTab.right;
        } else {
            CKLVRibbonTabContextHeader header;
            header.pFirstTab = header.pLastTab = pTab;
            header.strCaption = pTab->m_strContextCaption;
            header.nColor = pTab->m_nContextColor;
            header.rcHeader.SetRect(rcTab.left, m_rcCaption.top + 4, rcTab.right, m_rcCaption.bottom);
            pHeader = m_contextHeaders.Add(header);
        }
        pTab->m_pContextHeader = pHeader;
    });
    if (m_contextHeaders.GetCount() == 0) return;
    if (!m_contextHeaders.Arrange(m_rcCaptionText.left, m_rcCaptionText.right, m_rcTitle))
        ForEachTab([](CKLVRibbonTab* pTab) { pTab->m_pContextHeader = nullptr; });
}
