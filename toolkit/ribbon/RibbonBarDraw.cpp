// The ribbon's painting, back to front: the bar's face, the tab row, the selected tab's groups,
// then every visible control that lies in no group.
#include "toolkit/ribbon/RibbonBar.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/Control.h"
#include "toolkit/ribbon/RibbonControlTab.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonTab.h"

namespace {

BOOL Meets(const CRect& rc, const CRect& rcClip) {
    CRect rcCommon;
    return rcCommon.IntersectRect(&rc, &rcClip);
}

}  // namespace

void CKLVRibbonBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
    FillCommandBarEntry(pDC);
    if (m_bTabRowShown && m_pControlTab->IsVisible() && Meets(m_rcTabRow, rcClipBox)) m_pControlTab->Draw(pDC);
    CKLVRibbonTab* pTab = GetSelectedTab();
    if (m_bTabsVisible && pTab && !m_bMinimized) {
        CKLVRibbonGroups* pGroups = pTab->GetGroups();
        for (int i = 0; i < pGroups->GetCount(); ++i) {
            CKLVRibbonGroup* pGroup = pGroups->GetAt(i);
            if (pGroup->IsVisible() && Meets(pGroup->GetRect(), rcClipBox)) pGroup->Draw(pDC, rcClipBox);
        }
    }
    const auto grouped = GroupedControls();
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        if (pControl == m_pControlTab || grouped.count(pControl) || !pControl->IsVisible()) continue;
        if (Meets(pControl->GetRect(), rcClipBox)) pControl->Draw(pDC);
    }
}
