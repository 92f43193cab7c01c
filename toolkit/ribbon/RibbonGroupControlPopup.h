// The button a ribbon group collapses to when it is reduced to its smallest size, and the popup
// it opens: a tool bar that shows a copy of the whole group laid out at its widest, with clones of
// the group's controls of its own. The group's own button names its group; a clone of it (on the
// quick access tool bar, say) finds the group again by id whenever it opens, so it never keeps a
// group that is gone.
#pragma once

#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/ribbon/RibbonGroups.h"

class CKLVRibbonBar;
class CKLVRibbonGroup;

class CKLVRibbonGroupControlPopup : public CKLVControlPopup {
    DECLARE_SERIAL(CKLVRibbonGroupControlPopup)
public:
    enum : DWORD { groupPopupFlags = 0x08 };

    CKLVRibbonGroupControlPopup();
    // An open popup closes first: it must not outlive the control it was opened for.
    ~CKLVRibbonGroupControlPopup() override;

    // Opening makes a fresh popup (the group's copy, or an empty tool bar without a group) after
    // scrolling the button into view; closing ends the popup's tracking.
    BOOL OnSetPopup(BOOL bPopup) override;
    // Its key tip opens the popup, which is made at each opening: there may be none yet.
    void OnKeyboardActivate() override;
    // A clone shares no popup bar and stands for its group through the id alone.
    void Copy(CKLVControl* pControl, BOOL bRecursive = FALSE) override;
    // Drawn and measured by the theme's collapsed-group button when the bar's theme draws ribbons.
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;

    // The group's own button: the group it stands for (null when the group lets it go).
    void SetGroup(CKLVRibbonGroup* pGroup) { m_pGroup = pGroup; }
    // Its own group, else the first group of the ribbon, over all tabs, whose id is this id.
    CKLVRibbonGroup* GetGroup() const;
    // The group is being freed: an open popup closes, and the button names no group any more.
    void OnGroupFreed();

private:
    CKLVRibbonBar* FindRibbonBar() const;
    CKLVPopupToolBar* CreateGroupPopupBar() const;
    void CloseOpenBar();

    CKLVRibbonGroup* m_pGroup = nullptr;
};

// The popup of a collapsed group. It owns its copy of the group, whose controls are clones in the
// bar's own collection, so nothing on it depends on the group or controls it was copied from.
class CKLVRibbonGroupPopupToolBar : public CKLVPopupToolBar {
    DECLARE_DYNCREATE(CKLVRibbonGroupPopupToolBar)
public:
    enum { borderLeft = 2, borderTop = 2, borderRight = 3 };

    CKLVRibbonGroupPopupToolBar();
    ~CKLVRibbonGroupPopupToolBar() override;

    // Takes the ribbon's metrics (when there is a ribbon) and a copy of the group.
    void Attach(CKLVRibbonBar* pRibbon, CKLVRibbonGroup* pSource);
    CKLVRibbonGroup* GetGroup() const { return m_groups.GetCount() ? m_groups.GetAt(0) : nullptr; }

    // The copy at its widest, placed at the origin: the bar is the group's width plus the side
    // borders by the group's height.
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
    // Its key tips are those of the group's copy, placed as on the ribbon.
    void CreateKeyboardTips() override;

private:
    CKLVRibbonGroups m_groups;
};
