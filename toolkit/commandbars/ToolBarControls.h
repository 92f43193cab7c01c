// The controls a tool bar makes for itself: the close button of a floating bar, the "Toolbar
// Options" button at the end of the bar, and the items of its "Add or Remove Buttons" list.
// The bar places the two buttons itself; the paint manager draws them as special controls.
#pragma once

#include "toolkit/commandbars/controlbase/ControlPopup.h"

class CKLVToolBar;

// The close button in a floating bar's caption: hides the bar.
class CKLVControlToolBarClose : public CKLVControlButton {
    DECLARE_DYNCREATE(CKLVControlToolBarClose)
public:
    CKLVControlToolBarClose() { m_dwFlags = flagNoMovable | flagListItem; }
    // Placed by the bar: its size is its rectangle's.
    CSize GetSize(CDC*) override { return m_rcControl.Size(); }
    void Draw(CDC* pDC) override;
    void OnExecute() override;
};

// The "Toolbar Options" button: opens the popup of hidden and add-or-remove buttons.
class CKLVControlToolBarOptions : public CKLVControlPopup {
    DECLARE_DYNCREATE(CKLVControlToolBarOptions)
public:
    enum { optionsFlags = 28 };
    CKLVControlToolBarOptions();
    CSize GetSize(CDC*) override { return m_rcControl.Size(); }
    void Draw(CDC* pDC) override;
    // The popup is filled as it opens: the controls hidden for lack of room, then the lists of
    // buttons to show or hide, from the command bars.
    BOOL OnSetPopup(BOOL bPopup) override;

    // Some control of the bar is hidden for lack of room: the button shows chevrons.
    BOOL m_bHiddenControls = FALSE;
};

// One line of the "Add or Remove Buttons" list: checked while its button shows; executing it
// shows or hides the button.
class CKLVControlToolBarAddRemoveItem : public CKLVControlButton {
public:
    // Holds a reference on the button.
    explicit CKLVControlToolBarAddRemoveItem(CKLVControl* pTarget);
    ~CKLVControlToolBarAddRemoveItem() override;
    void OnExecute() override;
    CKLVControl* GetTarget() const { return m_pTarget; }

private:
    CKLVControl* m_pTarget;
};

// "Reset Toolbar": closes the popups and resets the bar (which asks first). The bar owns the
// list the item lives in, so the item does not hold it.
class CKLVControlToolBarResetItem : public CKLVControlButton {
public:
    explicit CKLVControlToolBarResetItem(CKLVToolBar* pToolBar) : m_pToolBar(pToolBar) {}
    void OnExecute() override;

private:
    CKLVToolBar* m_pToolBar;
};
