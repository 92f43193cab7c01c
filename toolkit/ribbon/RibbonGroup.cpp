#include "toolkit/ribbon/RibbonGroup.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/themes/PaintManagerTheme6.h"
#include "toolkit/ribbon/RibbonBar.h"
#include "toolkit/ribbon/RibbonGroupControlPopup.h"
#include "toolkit/ribbon/RibbonGroups.h"
#include "toolkit/ribbon/RibbonTab.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CKLVRibbonGroup, CCmdTarget)

namespace {

int TextWidth(CDC* pDC, const CString& strText) {
    return pDC && !strText.IsEmpty() ? pDC->GetTextExtent(strText).cx : 0;
}

}  // namespace

CKLVRibbonGroup::~CKLVRibbonGroup() {
    for (CKLVControl* pControl : m_linked) {
        pControl->m_pRibbonRoster = nullptr;
    }
    ReleaseControlPopup();
}

// The popup button goes with the group: an open popup closes, then its collection frees it.
void CKLVRibbonGroup::ReleaseControlPopup() {
    CKLVRibbonGroupControlPopup* pPopup = m_pControlPopup;
    if (!pPopup) return;
    m_pControlPopup = nullptr;
    pPopup->m_pRibbonRoster = nullptr;
    pPopup->OnGroupFreed();
    if (CKLVControls* pControls = pPopup->GetControls()) pControls->Remove(pPopup);
}

void CKLVRibbonGroup::Link(CKLVControl* pControl) {
    if (pControl->m_pRibbonRoster && pControl->m_pRibbonRoster != this)
        pControl->m_pRibbonRoster->ForgetControl(pControl);
    if (pControl->m_pRibbonRoster != this && pControl != m_pControlPopup) m_linked.push_back(pControl);
    pControl->m_pRibbonRoster = this;
}

void CKLVRibbonGroup::AddControl(CKLVControl* pControl) {
    Link(pControl);
    m_controls.push_back(pControl);
    m_placements.emplace_back();
}

void CKLVRibbonGroup::DetachControl(CKLVControl* pControl) {
    if (pControl == m_pControlPopup) {
        m_pControlPopup->SetGroup(nullptr);
        m_pControlPopup = nullptr;
    }
    for (size_t i = m_controls.size(); i-- > 0;) {
        if (m_controls[i] != pControl) continue;
        m_controls.erase(m_controls.begin() + static_cast<std::ptrdiff_t>(i));
        m_placements.erase(m_placements.begin() + static_cast<std::ptrdiff_t>(i));
    }
    m_linked.erase(std::remove(m_linked.begin(), m_linked.end(), pControl), m_linked.end());
    if (pControl->m_pRibbonRoster != this) return;
    pControl->m_pRibbonRoster = nullptr;
}

void CKLVRibbonGroup::ForgetControl(CKLVControl* pControl) {
    if (pControl == m_pControlPopup)
        m_pControlPopup = nullptr;
    else
        DetachControl(pControl);
}

BOOL CKLVRibbonGroup::HasControl(const CKLVControl* pControl) const {
    if (pControl && pControl == m_pControlPopup) return TRUE;
    return std::find(m_controls.begin(), m_controls.end(), pControl) != m_controls.end();
}

void CKLVRibbonGroup::SetControlsHideFlag(DWORD dwFlag, BOOL bHide) {
    for (CKLVControl* pControl : m_controls) pControl->SetHideFlag(dwFlag, bHide);
    if (m_pControlPopup) m_pControlPopup->SetHideFlag(dwFlag, bHide);
}

void CKLVRibbonGroup::DrawControls(CDC* pDC, CRect rcClip) const {
    auto draw = [&](CKLVControl* pControl) {
        CRect rcCommon;
        if (pControl->IsVisible() && rcCommon.IntersectRect(pControl->GetRect(), rcClip)) pControl->Draw(pDC);
    };
    for (CKLVControl* pControl : m_controls) draw(pControl);
    if (m_pControlPopup) draw(m_pControlPopup);
}

void CKLVRibbonGroup::RemoveControl(CKLVControl* pControl) {
    if (!HasControl(pControl)) return;
    DetachControl(pControl);
    CKLVRibbonTab* pTab = GetTab();
    CKLVRibbonBar* pRibbon = pTab ? pTab->GetRibbonBar() : nullptr;
    if (pRibbon && pControl->GetControls() == pRibbon->GetControls()) pRibbon->GetControls()->Remove(pControl);
}

void CKLVRibbonGroup::OnRemoved() {
    // A copy on a popup lists clones that its bar frees, and never reaches for the ribbon, which
    // may be gone by the time the popup is let go.
    CKLVRibbonTab* pTab = GetTab();
    const BOOL bOnRibbon = pTab && pTab->GetRibbonBar() && GetParentBar() == pTab->GetRibbonBar();
    if (bOnRibbon) pTab->GetRibbonBar()->ForgetGroup(this);
    while (!m_controls.empty()) {
        if (bOnRibbon)
            RemoveControl(m_controls.back());
        else
            DetachControl(m_controls.back());
    }
}

CKLVRibbonTab* CKLVRibbonGroup::GetTab() const { return m_pGroups ? m_pGroups->GetTab() : nullptr; }

CKLVRibbonContextTab* CKLVRibbonGroup::GetContextTab() const { return GetTab(); }

BOOL CKLVRibbonGroup::IsHighlighted() const {
    CKLVRibbonTab* pTab = GetTab();
    CKLVRibbonBar* pRibbon = pTab ? pTab->GetRibbonBar() : nullptr;
    return pRibbon && pRibbon->m_pHighlightedGroup == this;
}

CKLVCommandBar* CKLVRibbonGroup::GetParentBar() const {
    if (m_pParentBar) return m_pParentBar;
    CKLVRibbonTab* pTab = GetTab();
    return pTab ? pTab->GetGroupsBar() : nullptr;
}

BOOL CKLVRibbonGroup::IsVisible() const {
    if (!m_bVisible) return FALSE;
    CKLVRibbonTab* pTab = GetTab();
    CKLVRibbonBar* pRibbon = pTab ? pTab->GetRibbonBar() : nullptr;
    if (!pRibbon || GetParentBar() != pRibbon) return TRUE;
    return pRibbon->GetSelectedTab() == pTab;
}

void CKLVRibbonGroup::Copy(CKLVRibbonGroup* pSource) {
    m_strCaption = pSource->m_strCaption;
    m_nId = pSource->m_nId;
    m_bVisible = pSource->m_bVisible;
    m_bColumnSpacing = pSource->m_bColumnSpacing;
    m_bAlignTop = pSource->m_bAlignTop;
    m_bControlsJoined = pSource->m_bControlsJoined;
    while (!m_controls.empty()) DetachControl(m_controls.back());
    CKLVControls* pTarget = m_pParentBar ? m_pParentBar->GetControls() : nullptr;
    if (!pTarget) return;
    for (CKLVControl* pControl : pSource->m_controls) {
        CKLVControl* pClone = pTarget->AddClone(pControl);
        // The source may lie on a tab that is not selected; the copy shows wherever it lies.
        pClone->SetHideFlag(CKLVRibbonBar::hideOtherTab, FALSE);
        AddControl(pClone);
    }
}

void CKLVRibbonGroup::Draw(CDC* pDC, CRect /*rcClip*/) {
    if (CKLVPaintManagerTheme6* pTheme = GetRibbonTheme()) pTheme->DrawRibbonGroup(pDC, this);
}

CKLVPaintManagerTheme6* CKLVRibbonGroup::GetRibbonTheme() const {
    CKLVCommandBar* pBar = GetParentBar();
    return pBar ? dynamic_cast<CKLVPaintManagerTheme6*>(pBar->GetPaintManager()) : nullptr;
}

int CKLVRibbonGroup::CaptionHeight() const {
    return m_pGroups ? m_pGroups->GetCaptionHeight() : CKLVRibbonGroups::defaultCaptionHeight;
}

int CKLVRibbonGroup::GetContentHeight(int nGroupHeight) const {
    return nGroupHeight - CaptionHeight() - captionGap;
}

void CKLVRibbonGroup::OnBeforeLayout(CDC* /*pDC*/) {
    m_nSize = sizeLarge;
}

BOOL CKLVRibbonGroup::Reduce(int nLevel) {
    if (nLevel != m_nSize || m_nSize >= sizePopup) return FALSE;
    ++m_nSize;
    return TRUE;
}

int CKLVRibbonGroup::CalcWidth(CDC* pDC) {
    for (size_t i = 0; i < m_controls.size(); ++i) {
        m_placements[i] = CKLVRibbonControlPlacement();
        m_placements[i].bHidden =
            m_nSize == sizePopup || (m_controls[i]->GetHideFlags() & CKLVControl::hideGeneric) != 0;
    }
    if (m_nSize == sizePopup) return CollapsedWidth(pDC);
    const int nControls = m_nSize == sizeLarge ? LayoutColumnsOfOne(pDC) : LayoutColumnsOfThree(pDC);
    return std::max(nControls, CaptionWidth(pDC));
}

int CKLVRibbonGroup::CollapsedWidth(CDC* pDC) {
    // Collapsed, the group is its button, as wide as the theme that draws it makes it.
    CKLVRibbonGroupControlPopup* pButton = GetRibbonTheme() ? EnsureControlPopup() : nullptr;
    if (pButton) return pButton->GetSize(pDC).cx;
    return std::max<int>(popupMinWidth, CaptionWidth(pDC));
}

int CKLVRibbonGroup::CaptionWidth(CDC* pDC) const {
    return TextWidth(pDC, m_strCaption) + textPadding;
}

CSize CKLVRibbonGroup::MeasureControl(CDC* pDC, CKLVControl* pControl, int nSize) const {
    const int nText = TextWidth(pDC, pControl->GetCaption());
    switch (nSize) {
    case sizeLarge: return CSize(std::max<int>(popupMinWidth, nText + textPadding), largeIcon);
    case sizeMedium:
        return CSize(nText ? smallIcon + iconGap + nText + textPadding : rowHeight, rowHeight);
    default: return CSize(rowHeight, rowHeight);
    }
}

int CKLVRibbonGroup::LayoutColumnsOfOne(CDC* pDC) {
    const int nHeight = GetContentHeight(
        m_pGroups ? m_pGroups->GetGroupHeight()
                  : CKLVRibbonGroups::defaultGroupsHeight - CKLVRibbonGroups::groupSpacing);
    int x = 0;
    for (size_t i = 0; i < m_controls.size(); ++i) {
        if (m_placements[i].bHidden) continue;
        const int cx = MeasureControl(pDC, m_controls[i], sizeLarge).cx;
        m_placements[i].rcControl = CRect(x, 0, x + cx, nHeight);
        x += cx + columnGap;
    }
    return x ? x - columnGap : 0;
}

int CKLVRibbonGroup::LayoutColumnsOfThree(CDC* pDC) {
    int x = 0, nRow = 0, nColumnWidth = 0;
    for (size_t i = 0; i < m_controls.size(); ++i) {
        if (m_placements[i].bHidden) continue;
        const int cx = MeasureControl(pDC, m_controls[i], m_nSize).cx;
        m_placements[i].rcControl = CRect(x, nRow * rowHeight, x + cx, (nRow + 1) * rowHeight);
        nColumnWidth = std::max(nColumnWidth, cx);
        if (++nRow == rowsPerColumn) {
            x += nColumnWidth + columnGap;
            nRow = nColumnWidth = 0;
        }
    }
    if (nRow) return x + nColumnWidth;
    return x ? x - columnGap : 0;
}

std::vector<int> CKLVRibbonGroup::ColumnDrops(int nGroupHeight) const {
    std::vector<int> drops(m_placements.size(), 0);
    if (!m_bColumnSpacing || m_bAlignTop) return drops;
    const int nRoom = GetContentHeight(nGroupHeight);
    // Runs of visible placements sharing a left edge form a column.
    for (size_t nFirst = 0; nFirst < m_placements.size();) {
        std::vector<size_t> column;
        size_t i = nFirst;
        for (; i < m_placements.size(); ++i) {
            if (m_placements[i].bHidden) continue;
            if (!column.empty() && m_placements[i].rcControl.left != m_placements[column[0]].rcControl.left) break;
            column.push_back(i);
        }
        int nUsed = 0;
        for (size_t k : column) nUsed += m_placements[k].rcControl.Height();
        if (!column.empty() && nUsed < nRoom) {
            const int nGap = (nRoom - nUsed) / static_cast<int>(column.size() + 1);
            for (size_t k = 0; k < column.size(); ++k) drops[column[k]] = nGap * static_cast<int>(k + 1);
        }
        nFirst = i;
    }
    return drops;
}

void CKLVRibbonGroup::SetRect(CRect rc) {
    const CRect rcGroup(rc.left, rc.top, rc.right, rc.bottom - CaptionHeight());
    const std::vector<int> drops = ColumnDrops(rc.Height());
    for (size_t i = 0; i < m_controls.size(); ++i) {
        CKLVRibbonControlPlacement& placement = m_placements[i];
        m_controls[i]->SetHideFlag(CKLVControl::hideWrap, placement.bHidden);
        if (placement.bHidden) continue;
        placement.rcGroup = rcGroup;
        CRect rcControl = placement.rcControl;
        rcControl.OffsetRect(rc.left + contentInset, rc.top + contentInset + drops[i]);
        m_controls[i]->SetRect(rcControl);
    }
    m_rcGroup = CRect(rc.left, rc.top, rc.right + rectExtra, rc.bottom);
    PlaceControlPopup(rc);
}

CKLVRibbonGroupControlPopup* CKLVRibbonGroup::EnsureControlPopup() {
    if (m_pControlPopup) return m_pControlPopup;
    CKLVCommandBar* pBar = GetParentBar();
    if (!pBar) return nullptr;
    auto* pPopup = new CKLVRibbonGroupControlPopup;
    pPopup->m_nId = m_nId;
    pPopup->SetCaption(m_strCaption);
    pPopup->SetGroup(this);
    pPopup->SetHideFlag(CKLVControl::hideWrap, m_nSize != sizePopup);
    m_pControlPopup = pPopup;
    Link(pPopup);
    pBar->GetControls()->Append(pPopup);
    return pPopup;
}

void CKLVRibbonGroup::PlaceControlPopup(CRect rc) {
    const BOOL bShown = m_nSize == sizePopup;
    if (bShown) EnsureControlPopup();
    if (!m_pControlPopup) return;
    m_pControlPopup->SetHideFlag(CKLVControl::hideWrap, !bShown);
    if (bShown) m_pControlPopup->SetRect(rc);
}
