// The popup that shows the selected tab's groups below the tab row while the ribbon is
// minimised: as wide as the ribbon and as high as its group area, holding its own copy of the tab
// (whose groups list clones of the controls, held in this bar) and its own scroll state and
// scroll buttons. Closing it tells the tab row, which clears the selection.
#pragma once

#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/ribbon/RibbonGroupScroller.h"

class CKLVRibbonBar;
class CKLVRibbonTab;

class CKLVRibbonTabPopupToolBar : public CKLVPopupToolBar {
    DECLARE_DYNCREATE(CKLVRibbonTabPopupToolBar)
public:
    enum : UINT { tabPopupFlags = 0x200000 };

    CKLVRibbonTabPopupToolBar();
    ~CKLVRibbonTabPopupToolBar() override;

    // Joins the ribbon's command bars and takes a copy of the tab that shows its groups here.
    void Attach(CKLVRibbonBar* pRibbon, CKLVRibbonTab* pTab);
    // Opens below the tab, at the ribbon window's left edge.
    BOOL PopupBelow(CRect rcTabScreen);

    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    // A control of a group that gets the selection is scrolled into view.
    void OnControlSelected(int bSelected, CKLVControl* pControl) override;
    // Its key tips are its groups' tips.
    void CreateKeyboardTips() override;

    CKLVRibbonTab* GetTab() const { return m_pTab; }
    CKLVRibbonGroupScroller* GetScroller() { return &m_scroller; }

private:
    // A scroll button of the popup's own, at the end of its collection.
    CKLVControl* AddScrollButton(BOOL bRight);

    CKLVRibbonGroupScroller m_scroller;
    CKLVRibbonBar* m_pRibbon = nullptr;
    CKLVRibbonTab* m_pTab = nullptr;   // the copy, owned
    BOOL m_bClosing = FALSE;
};
