#include "toolkit/ribbon/RibbonTabPopupToolBar.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/common/FlagScope.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/ribbon/RibbonBar.h"
#include "toolkit/ribbon/RibbonControlTab.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonKeyTips.h"
#include "toolkit/ribbon/RibbonScrollButton.h"
#include "toolkit/ribbon/RibbonTab.h"

IMPLEMENT_DYNCREATE(CKLVRibbonTabPopupToolBar, CKLVPopupToolBar)

namespace {

enum { marginLeft = 4, marginTop = 3, marginRight = 6, marginBottom = 3 };

}  // namespace

CKLVRibbonTabPopupToolBar::CKLVRibbonTabPopupToolBar() {
    m_nFlags |= tabPopupFlags;
    m_scroller.Attach(this, AddScrollButton(FALSE), AddScrollButton(TRUE));
    m_scroller.ShowButtons(FALSE, FALSE);
}

CKLVControl* CKLVRibbonTabPopupToolBar::AddScrollButton(BOOL bRight) {
    auto* pButton = new CKLVRibbonScrollButton(bRight);
    pButton->m_bTemporary = TRUE;
    return m_pControls->Append(pButton);
}

CKLVRibbonTabPopupToolBar::~CKLVRibbonTabPopupToolBar() {
    // The copy goes before the bar's collection, whose clones its groups list.
    if (m_pTab) m_pTab->InternalRelease();
}

void CKLVRibbonTabPopupToolBar::Attach(CKLVRibbonBar* pRibbon, CKLVRibbonTab* pTab) {
    m_pRibbon = pRibbon;
    m_pCommandBars = pRibbon->GetCommandBars();
    m_pLink = pRibbon->GetCommandBarsLink();
    EnableAnimation(pRibbon->IsAnimationEnabled());
    if (m_pTab) m_pTab->InternalRelease();
    m_pTab = static_cast<CKLVRibbonTab*>(pTab->GetRuntimeClass()->CreateObject());
    // Set first: the copied groups clone their controls into this bar.
    m_pTab->m_pPopupBar = this;
    m_pTab->Copy(pTab);
    m_pTab->SetRect(pTab->GetRect());
}

BOOL CKLVRibbonTabPopupToolBar::PopupBelow(CRect rcTabScreen) {
    CRect rcRibbon;
    m_pRibbon->GetWindowRect(&rcRibbon);
    return Popup(rcRibbon.left, rcTabScreen.bottom, &rcTabScreen);
}

CSize CKLVRibbonTabPopupToolBar::CalcDynamicLayout(int, DWORD) {
    if (!m_pRibbon || !m_pTab) return CSize(0, 0);
    CRect rcRibbon;
    m_pRibbon->GetClientRect(&rcRibbon);
    const CSize sz(rcRibbon.Width(), m_pRibbon->GetGroupsHeight());
    CClientDC dc(GetSafeHwnd() ? this : nullptr);
    CKLVRibbonGroups* pGroups = m_pTab->GetGroups();
    pGroups->SetMetrics(m_pRibbon->GetGroupsHeight(), pGroups->GetCaptionHeight());
    pGroups->SetScroller(&m_scroller);
    m_scroller.SetBounds(CRect(0, 0, sz.cx, sz.cy));
    pGroups->Reposition(&dc, sz.cx, CRect(marginLeft, marginTop, marginRight, marginBottom));
    return sz;
}

void CKLVRibbonTabPopupToolBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
    FillCommandBarEntry(pDC);
    if (!m_pTab) return;
    CKLVRibbonGroups* pGroups = m_pTab->GetGroups();
    for (int i = 0; i < pGroups->GetCount(); ++i) {
        CKLVRibbonGroup* pGroup = pGroups->GetAt(i);
        CRect rcCommon;
        if (!pGroup->IsVisible() || !rcCommon.IntersectRect(pGroup->GetRect(), rcClipBox)) continue;
        pGroup->Draw(pDC, rcClipBox);
        pGroup->DrawControls(pDC, rcClipBox);
    }
    for (BOOL bRight : {FALSE, TRUE}) {
        CKLVControl* pButton = m_scroller.GetButton(bRight);
        CRect rcCommon;
        if (pButton->IsVisible() && rcCommon.IntersectRect(pButton->GetRect(), rcClipBox)) pButton->Draw(pDC);
    }
}

void CKLVRibbonTabPopupToolBar::OnControlSelected(int bSelected, CKLVControl* pControl) {
    if (bSelected) m_scroller.ScrollIntoView(pControl);
    CKLVPopupToolBar::OnControlSelected(bSelected, pControl);
}

BOOL CKLVRibbonTabPopupToolBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard) {
    if (bMode || m_bClosing) return CKLVPopupToolBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard);
    CKLVFlagScope closing(m_bClosing);
    CKLVHeldReference hold(this);
    const BOOL bResult = CKLVPopupToolBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard);
    // However the popup closed, the tab row forgets it.
    CKLVRibbonControlTab* pTabs = m_pRibbon ? m_pRibbon->GetControlTab() : nullptr;
    if (pTabs && pTabs->GetPopupBar() == this) pTabs->OnSetPopup(FALSE);
    return bResult;
}

void CKLVRibbonTabPopupToolBar::CreateKeyboardTips() {
    if (!m_pTab || !GetSafeHwnd()) return;
    CRect rcClient;
    GetClientRect(&rcClient);
    CKLVRibbonKeyTips(GetCommandBars()).CreateForGroups(m_pTab, rcClient);
}
