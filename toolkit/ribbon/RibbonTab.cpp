#include "toolkit/ribbon/RibbonTab.h"

#include "toolkit/ribbon/RibbonBar.h"
#include "toolkit/ribbon/RibbonControlTab.h"

IMPLEMENT_DYNCREATE(CKLVRibbonTab, CKLVTabManagerItem)

CKLVRibbonTab::CKLVRibbonTab() { m_groups.SetTab(this); }

// The groups go while the tab is whole: they take their controls out of the tab's ribbon.
CKLVRibbonTab::~CKLVRibbonTab() { m_groups.RemoveAll(); }

void CKLVRibbonTab::SetVisible(BOOL bVisible) {
    if (m_bVisible == bVisible) return;
    CKLVTabManager* pManager = m_pTabManager;
    const BOOL bWasSelected = pManager && pManager->GetSelectedItem() == this;
    CKLVTabManagerItem::SetVisible(bVisible);
    if (bWasSelected && !bVisible) pManager->SetSelectedItem(pManager->FindNextFocusable(-1, +1));
}

void CKLVRibbonTab::RemoveAllGroups() { m_groups.RemoveAll(); }

void CKLVRibbonTab::Copy(CKLVRibbonTab* pTab) {
    m_nContextColor = pTab->m_nContextColor;
    m_strContextCaption = pTab->m_strContextCaption;
    m_nId = pTab->m_nId;
    m_pRibbonBar = pTab->m_pRibbonBar;
    m_groups.Copy(&pTab->m_groups);
}

CKLVCommandBar* CKLVRibbonTab::GetGroupsBar() const {
    if (m_pPopupBar) return m_pPopupBar;
    return m_pRibbonBar;
}

BOOL CKLVRibbonTab::IsSameContext(const CKLVRibbonTab* pOther) const {
    return pOther && m_nContextColor == pOther->m_nContextColor && m_strContextCaption == pOther->m_strContextCaption;
}

CKLVRibbonTab* CKLVRibbonTab::NeighbourTab(int nDirection) const {
    CKLVTabManager* pManager = GetTabManager();
    if (!pManager) return nullptr;
    for (int i = GetIndex() + nDirection; i >= 0 && i < pManager->GetItemCount(); i += nDirection) {
        auto* pTab = static_cast<CKLVRibbonTab*>(pManager->GetItem(i));
        if (pTab->IsVisible()) return pTab;
    }
    return nullptr;
}
