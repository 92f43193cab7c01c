// Colour set 8: the tabs, pane and buttons of the visual style ("TAB" and "TOOLBAR" classes),
// falling back to the standard set wherever the style is not in use.
#pragma once

#include "toolkit/common/WinThemeWrapper.h"
#include "toolkit/tabs/TabColorsStandard.h"

class CKLVTabColorsVisualStyle : public CKLVTabColorsStandard {
public:
    enum { partTopTab = 5, partTopTabLeftEdge = 6, partTopTabRightEdge = 7, partPane = 9, partToolbarButton = 1 };

    void RefreshMetrics() override;
    COLORREF FillClient(CDC* pDC, CRect rc, CKLVTabManager* pTabManager) override;
    void FillButton(CDC* pDC, CRect rc, CKLVTabManagerItem* pItem) override;
    COLORREF FillItem(CDC* pDC, CRect rc, CKLVTabManagerItem* pItem) override;
    void ExcludeCorners(CDC* pDC, CRect rc, CKLVTabManager* pTabManager) override;
    void FillNavigateButton(CDC* pDC, CKLVTabManagerNavigateButton* pButton, CRect& rc) override;
    BOOL IsThemed() override;

    // The "TAB" part of the item at the index in a row of nCount: the first is the left-edge tab
    // even when it is also the last, the last the right-edge tab only while not selected.
    static int GetItemPart(int nIndex, int nCount, BOOL bSelected);

    CKLVWinThemeWrapper m_themeTab;
    CKLVWinThemeWrapper m_themeToolbar;

};
