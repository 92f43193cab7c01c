// The ribbon's painting, back to front: the bar's face and caption band, the tab row, the
// selected tab's group area, its groups with their controls, then every visible control that
// lies in no group. A
// theme without ribbon drawing fills the bar as any command bar.
#include "toolkit/ribbon/RibbonBar.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/themes/PaintManagerTheme6.h"
#include "toolkit/ribbon/RibbonControlTab.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonTab.h"

namespace {

BOOL Meets(const CRect& rc, const CRect& rcClip) {
    CRect rcCommon;
    return rcCommon.IntersectRect(&rc, &rcClip);
}

}  // namespace

void CKLVRibbonBar::DrawRibbonFaces(CDC* pDC, CRect rcClipBox) {
    auto* pTheme = dynamic_cast<CKLVPaintManagerTheme6*>(GetPaintManager());
    if (!pTheme) {
        FillCommandBarEntry(pDC);
        return;
    }
    pTheme->FillRibbonBar(pDC, this);
    if (HasCaptionBand() && Meets(m_rcCaption, rcClipBox)) pTheme->DrawRibbonFrameCaption(pDC, this);
    CKLVRibbonTab* pTab = GetSelectedTab();
    if (pTab && GetGroupsAreaHeight() > 0 && Meets(m_rcGroupArea, rcClipBox))
        pTheme->FillRibbonGroupsArea(pDC, pTab, m_rcGroupArea);
}

void CKLVRibbonBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
    DrawRibbonFaces(pDC, rcClipBox);
    if (m_bTabRowShown && m_pControlTab->IsVisible() && Meets(m_rcTabRow, rcClipBox)) m_pControlTab->Draw(pDC);
    CKLVRibbonTab* pTab = GetSelectedTab();
    if (m_bTabsVisible && pTab && !m_bMinimized) {
        CKLVRibbonGroups* pGroups = pTab->GetGroups();
        for (int i = 0; i < pGroups->GetCount(); ++i) {
            CKLVRibbonGroup* pGroup = pGroups->GetAt(i);
            if (!pGroup->IsVisible() || !Meets(pGroup->GetRect(), rcClipBox)) continue;
            pGroup->Draw(pDC, rcClipBox);
            pGroup->DrawControls(pDC, rcClipBox);
        }
    }
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        if (pControl == m_pControlTab || CKLVRibbonGroup::Of(pControl) || !pControl->IsVisible()) continue;
        if (Meets(pControl->GetRect(), rcClipBox)) pControl->Draw(pDC);
    }
}
