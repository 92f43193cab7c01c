// One tab of the ribbon: an item of the ribbon's tab row that owns the groups shown while it is
// selected, and may belong to a context (a coloured run of tabs under one caption).
#pragma once

#include "toolkit/themes/RibbonContextTab.h"
#include "toolkit/ribbon/RibbonGroups.h"
#include "toolkit/tabs/TabManagerItem.h"

class CKLVCommandBar;
class CKLVRibbonBar;
struct CKLVRibbonTabContextHeader;

class CKLVRibbonTab : public CKLVTabManagerItem, public CKLVRibbonContextTab {
    DECLARE_DYNCREATE(CKLVRibbonTab)
public:
    CKLVRibbonTab();
    ~CKLVRibbonTab() override;

    // Hiding the selected tab selects the first visible, enabled tab.
    void SetVisible(BOOL bVisible) override;
    virtual void RemoveAllGroups();
    // Context, id, ribbon and a deep copy of the groups.
    virtual void Copy(CKLVRibbonTab* pTab);

    CKLVRibbonGroups* GetGroups() { return &m_groups; }
    CKLVRibbonBar* GetRibbonBar() const { return m_pRibbonBar; }
    void SetRibbonBar(CKLVRibbonBar* pRibbonBar) { m_pRibbonBar = pRibbonBar; }
    // The bar the tab's groups lie on: the tab popup showing this copy, else the ribbon.
    CKLVCommandBar* GetGroupsBar() const;
    BOOL IsSameContext(const CKLVRibbonTab* pOther) const;

    // What the theme reads to draw the tab.
    int GetContextColor() const override { return m_nContextColor; }
    BOOL IsContextStart() const override { return m_nContextColor && !IsSameContext(NeighbourTab(-1)); }
    BOOL IsContextEnd() const override { return m_nContextColor && !IsSameContext(NeighbourTab(+1)); }

    // The tab popup tool bar that shows this tab (set on the copy the popup holds).
    CKLVCommandBar* m_pPopupBar = nullptr;
    int m_nId = 0;
    // 0: no context; else the number the theme turns into the context's colour.
    int m_nContextColor = 0;
    CString m_strContextCaption;
    CKLVRibbonTabContextHeader* m_pContextHeader = nullptr;

private:
    // The nearest visible tab before (-1) or after (+1) this one in the row; null at the end.
    CKLVRibbonTab* NeighbourTab(int nDirection) const;

    CKLVRibbonGroups m_groups;
    CKLVRibbonBar* m_pRibbonBar = nullptr;
};
