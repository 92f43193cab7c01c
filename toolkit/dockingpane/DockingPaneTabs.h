// A row of tabs whose items stand for docking panes: each item carries its pane and draws the
// pane's icon. The tabbed container's row and the auto-hide panel's rows are made of these.
#pragma once

#include "toolkit/tabs/TabManager.h"

class CKLVDockingPane;

class CKLVDockingPaneTabs : public CKLVTabManager {
public:
    BOOL DrawIcon(CDC* pDC, CPoint pt, CKLVTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) override;

    // Appends the pane's tab: its caption, colour, title as tip and enabled state.
    CKLVTabManagerItem* AddPaneItem(CKLVDockingPane* pPane);
    CKLVDockingPane* GetItemPane(const CKLVTabManagerItem* pItem) const;
};
