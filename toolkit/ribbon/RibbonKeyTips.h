// The ribbon's key tips. Level 1 labels the ribbon's top: the quick access controls by number
// (1 to 9, then 01 to 09; later ones get none), the tabs by their "&" letters and the system
// button. Level 2 labels the controls of the selected tab's groups (on the ribbon, or on the
// popup that shows them while the ribbon is minimised), large ones at their bottom centre and the
// others at their left edge on one of three rows of the group; a collapsed group's button stands
// for its hidden controls, whose tips its popup shows.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/String.h"

class CKLVCommandBars;
class CKLVControl;
class CKLVRibbonBar;
class CKLVRibbonGroup;
class CKLVRibbonTab;
class CObject;

class CKLVRibbonKeyTips {
public:
    enum { levelTop = 1, levelGroups = 2 };
    enum { numberedQuickAccess = 18, quickAccessTipRise = 11, tabTipRise = 9, groupRows = 3 };

    // Where a tip stands: its point in the bar's client coordinates and how it aligns there.
    struct Anchor {
        CPoint pt;
        DWORD dwAlign;
    };

    explicit CKLVRibbonKeyTips(CKLVCommandBars* pCommandBars);

    // Adds the ribbon's tips of the level to the command bars' key tips.
    void CreateForRibbon(CKLVRibbonBar* pRibbon, int nLevel);
    // Adds the tips of the controls of the tab's visible groups that lie within the area (the
    // ribbon's group area, or the popup that shows the tab).
    void CreateForGroups(CKLVRibbonTab* pTab, const CRect& rcArea);
    // The tips of one group's controls that lie within the area; a group collapsed to its popup
    // button has the button's tip instead.
    void CreateForGroup(CKLVRibbonGroup* pGroup, const CRect& rcArea);

    // The key of the quick access control at the 1-based position among the visible ones;
    // empty past the eighteenth.
    static CString QuickAccessKey(int nPosition);
    // The row (0 top, 1 middle, 2 bottom) of a height within the control area.
    static int RowOf(int y, const CRect& rcArea);
    // A group control's tip: a large control's at its bottom centre; another's at its left edge
    // on the row its middle (a gallery's top) falls into.
    static Anchor PlaceInGroup(const CRect& rcControl, const CRect& rcArea, BOOL bLarge, BOOL bGallery);

private:
    void CreateTopLevel(CKLVRibbonBar* pRibbon);
    void AddGroupControl(CKLVControl* pControl, const CRect& rcArea, const CRect& rcControls, BOOL bLarge);
    void Add(CObject* pLabelled, const CString& strLabel, const CString& strKey, Anchor anchor, BOOL bEnabled);
    // The action's key when it has one, else empty (the label's mnemonic is taken later).
    static CString PresetKeyOf(CKLVControl* pControl);

    CKLVCommandBars* m_pCommandBars;
};
