#include "toolkit/ribbon/RibbonGroups.h"

#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroupScroller.h"
#include "toolkit/ribbon/RibbonTab.h"

#include <algorithm>

CKLVRibbonGroups::CKLVRibbonGroups() = default;

CKLVRibbonGroups::~CKLVRibbonGroups() { RemoveAll(); }

CKLVRibbonGroup* CKLVRibbonGroups::Insert(CKLVRibbonGroup* pGroup, int nIndex) {
    if (nIndex < 0 || nIndex > GetCount()) nIndex = GetCount();
    pGroup->SetGroups(this);
    m_groups.emplace(m_groups.begin() + nIndex, pGroup);
    Renumber();
    return pGroup;
}

// The groups leave the collection before they are told so and freed: nothing that looks through
// the tab's groups meanwhile meets a group half gone.
void CKLVRibbonGroups::RemoveAll() {
    std::vector<std::unique_ptr<CKLVRibbonGroup>> groups;
    groups.swap(m_groups);
    for (const auto& pGroup : groups) pGroup->OnRemoved();
    groups.clear();
}

void CKLVRibbonGroups::Copy(const CKLVRibbonGroups* pSource) {
    RemoveAll();
    for (const auto& pSourceGroup : pSource->m_groups) {
        auto* pGroup = static_cast<CKLVRibbonGroup*>(pSourceGroup->GetRuntimeClass()->CreateObject());
        // A copy shown on a tab popup holds its controls in that popup.
        pGroup->m_pParentBar = m_pTab ? m_pTab->m_pPopupBar : nullptr;
        Insert(pGroup, pSourceGroup->m_nIndex);
        pGroup->Copy(pSourceGroup.get());
    }
}

void CKLVRibbonGroups::Renumber() {
    for (int i = 0; i < GetCount(); ++i) m_groups[i]->m_nIndex = i;
}

CKLVRibbonGroup* CKLVRibbonGroups::FindGroup(int nId) const {
    for (const auto& pGroup : m_groups)
        if (pGroup->m_nId == nId) return pGroup.get();
    return nullptr;
}

CKLVRibbonGroup* CKLVRibbonGroups::HitTest(CPoint pt) const {
    for (const auto& pGroup : m_groups)
        if (pGroup->IsVisible() && pGroup->GetRect().PtInRect(pt)) return pGroup.get();
    return nullptr;
}

void CKLVRibbonGroups::SetMetrics(int nGroupsHeight, int nCaptionHeight) {
    m_nGroupsHeight = nGroupsHeight;
    m_nCaptionHeight = nCaptionHeight;
}

void CKLVRibbonGroups::Reposition(CDC* pDC, int nWidth, CRect rcMargins) {
    if (m_groups.empty()) {
        if (m_pScroller) m_pScroller->ShowButtons(FALSE, FALSE);
        return;
    }
    std::vector<int> widths = MeasureGroups(pDC);
    const int nRoom = nWidth - rcMargins.left - rcMargins.right;
    ReduceToFit(pDC, widths, nRoom);
    const int nTotal = TotalWidth(widths);
    const int nOffset = ClampOffset(nTotal, nRoom);
    if (m_pScroller) m_pScroller->ShowButtons(nOffset > 0, nTotal - nOffset > nRoom);
    PlaceGroups(widths, rcMargins);
    for (const auto& pGroup : m_groups)
        if (pGroup->IsVisible()) pGroup->OnAfterLayout();
}

std::vector<int> CKLVRibbonGroups::MeasureGroups(CDC* pDC) const {
    for (const auto& pGroup : m_groups)
        if (pGroup->IsVisible()) pGroup->OnBeforeLayout(pDC);
    std::vector<int> widths;
    for (const auto& pGroup : m_groups) widths.push_back(pGroup->IsVisible() ? pGroup->CalcWidth(pDC) : 0);
    return widths;
}

// The width the visible groups take side by side; the same sum decides reduction and scrolling,
// so a hidden last group cannot make groups that fit look too wide.
int CKLVRibbonGroups::TotalWidth(const std::vector<int>& widths) const {
    int nTotal = -groupSpacing;
    for (int i = 0; i < GetCount(); ++i)
        if (m_groups[i]->IsVisible()) nTotal += widths[i] + groupSpacing;
    return std::max(nTotal, 0);
}

// Groups that exactly fill the room stay as they are; once a group was reduced, reducing goes on
// until the groups leave room to spare. Each accepted step makes one group smaller, and there are
// at most as many steps as groups times levels, so a group that claims to reduce without changing
// cannot keep the layout going.
void CKLVRibbonGroups::ReduceToFit(CDC* pDC, std::vector<int>& widths, int nRoom) const {
    if (TotalWidth(widths) <= nRoom) return;
    int nStepsLeft = GetCount() * CKLVRibbonGroup::sizeCount;
    for (int nLevel = 0; nLevel < CKLVRibbonGroup::sizeCount && nStepsLeft > 0;) {
        const int nReduced = ReduceOne(nLevel);
        if (nReduced < 0) {
            ++nLevel;
            continue;
        }
        --nStepsLeft;
        widths[nReduced] = m_groups[nReduced]->CalcWidth(pDC);
        if (TotalWidth(widths) < nRoom) return;
        nLevel = 0;
    }
}

int CKLVRibbonGroups::ReduceOne(int nLevel) const {
    for (int i = GetCount() - 1; i >= 0; --i)
        if (m_groups[i]->IsVisible() && m_groups[i]->Reduce(nLevel)) return i;
    return -1;
}

int CKLVRibbonGroups::ClampOffset(int nTotal, int nRoom) {
    const int nCurrent = m_pScroller ? m_pScroller->GetOffset() : m_nScrollOffset;
    m_nScrollOffset = nTotal > nRoom ? std::max(0, std::min(nCurrent, nTotal - nRoom)) : 0;
    if (m_pScroller) m_pScroller->SetOffset(m_nScrollOffset);
    return m_nScrollOffset;
}

void CKLVRibbonGroups::PlaceGroups(const std::vector<int>& widths, CRect rcMargins) const {
    int x = rcMargins.left - m_nScrollOffset;
    for (int i = 0; i < GetCount(); ++i) {
        if (!m_groups[i]->IsVisible()) continue;
        m_groups[i]->SetRect(CRect(x, rcMargins.top, x + widths[i], rcMargins.top + GetGroupHeight()));
        x += widths[i] + groupSpacing;
    }
}
