// The two popup buttons at the end of the quick access tool bar: the customize button, and the
// "more controls" button that stands in for the controls that did not fit. Both are as wide as
// 13/22 of the theme's control height.
#pragma once

#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/popups/PopupBar.h"

class CKLVRibbonBar;

class CKLVRibbonBarControlQuickAccessPopup : public CKLVControlPopup {
    DECLARE_SERIAL(CKLVRibbonBarControlQuickAccessPopup)
public:
    enum : DWORD { popupFlags = 0x18 };

    CKLVRibbonBarControlQuickAccessPopup();
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    // Opening shows the ribbon's context menu for this button.
    BOOL OnSetPopup(BOOL bPopup) override;

    // The ribbon the button is on, or whose more-controls popup holds it.
    CKLVRibbonBar* GetRibbonBar() const;
    // The customize button or a copy of it (the more-controls button is not one).
    static BOOL IsCustomizeButton(const CKLVControl* pControl);

protected:
    // Takes the bar the button opens (the creator's reference passes to the button); null leaves
    // the button nothing to open.
    void TakeCommandBar(CKLVCommandBar* pBar);
};

// The popup tool bar of the wrapped quick access controls, on the theme's background for it.
class CKLVRibbonQuickAccessMorePopupBar : public CKLVPopupToolBar {
    DECLARE_DYNCREATE(CKLVRibbonQuickAccessMorePopupBar)
public:
    void FillCommandBarEntry(CDC* pDC) override;
};

class CKLVRibbonControlQuickAccessMore : public CKLVRibbonBarControlQuickAccessPopup {
    DECLARE_SERIAL(CKLVRibbonControlQuickAccessMore)
public:
    enum { popupWidth = 300, popupBorder = 3 };

    void Draw(CDC* pDC) override;
    // Opening fills a fresh popup tool bar with clones of the wrapped quick access controls,
    // then the customize button.
    BOOL OnSetPopup(BOOL bPopup) override;
};
