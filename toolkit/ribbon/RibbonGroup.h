// One group of a ribbon tab: a caption over a few controls, laid out by the group itself at one
// of four sizes, from the roomiest to the smallest:
//   sizeLarge   every control is a column of its own, a 32-px icon above its caption;
//   sizeMedium  columns of three rows, each a 16-px icon beside its caption;
//   sizeSmall   columns of three rows of icons only;
//   sizePopup   one popup button stands for the whole group, as wide as the ribbon theme
//               measures it (else at least 42 px and the caption's width).
// The group layout (CKLVRibbonGroups::Reposition) calls, in this order: OnBeforeLayout (back to
// sizeLarge), CalcWidth, Reduce one step at a time with CalcWidth after each accepted step,
// SetRect, OnAfterLayout. Placements stay relative to the group, so placing it again never adds
// offsets up. The controls belong to the collection of the bar the group lies on; the group only
// lists them. At sizePopup the group's popup button, made the first time it is needed in the same
// collection, stands for the group; the group frees it when it goes.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/String.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/interfaces/ControlRoster.h"
#include "toolkit/themes/RibbonFaces.h"

#include <vector>

class CDC;
class CKLVCommandBar;
class CKLVControl;
class CKLVPaintManagerTheme6;
class CKLVRibbonGroupControlPopup;
class CKLVRibbonGroups;
class CKLVRibbonTab;

// Where the group's inner layout put one control: its rectangle relative to the group's content
// origin, the group rectangle it was last placed in, and whether the current size hides it.
struct CKLVRibbonControlPlacement {
    CRect rcControl;
    CRect rcGroup;
    BOOL bHidden = FALSE;
};

class CKLVRibbonGroup : public CCmdTarget, public CKLVControlRoster, public CKLVRibbonGroupFace {
    DECLARE_DYNCREATE(CKLVRibbonGroup)
public:
    ~CKLVRibbonGroup() override;

    // The group that lists the control; null for a control in no group. Groups are the only
    // lists that name controls.
    static CKLVRibbonGroup* Of(const CKLVControl* pControl) {
        return static_cast<CKLVRibbonGroup*>(pControl->m_pRibbonRoster);
    }

    enum Size { sizeLarge = 0, sizeMedium = 1, sizeSmall = 2, sizePopup = 3, sizeCount = 4 };
    enum {
        rowsPerColumn = 3, rowHeight = 22, largeIcon = 32, smallIcon = 16, iconGap = 3, textPadding = 8,
        columnGap = 2, popupMinWidth = 42, contentInset = 2, captionGap = 3, rectExtra = 5
    };

    // The layout operations, in the order the group layout calls them.
    virtual void SetRect(CRect rc);
    // The group's face (body and caption band) when the bar's theme draws ribbons; its controls
    // are DrawControls'.
    virtual void Draw(CDC* pDC, CRect rcClip);
    virtual void OnBeforeLayout(CDC* pDC);
    virtual void OnAfterLayout() {}
    // Lays the controls out at the current size and answers the group's width.
    virtual int CalcWidth(CDC* pDC);
    // One step smaller, only from the size equal to the level: TRUE only when the size changed,
    // so a layout that keeps asking always ends.
    virtual BOOL Reduce(int nLevel);
    // On a popup the group's own flag; on the ribbon also only while its tab is selected.
    BOOL IsVisible() const override;
    // Caption, id, flags and visibility of the source, and a clone of each of its controls in the
    // collection of the bar this copy lies on (m_pParentBar, set before copying): a copy never
    // lists controls it does not hold. Without a bar no controls are copied.
    virtual void Copy(CKLVRibbonGroup* pSource);
    // The listed controls and the popup button that are visible and meet the clip rectangle.
    void DrawControls(CDC* pDC, CRect rcClip) const;

    // The group leaves its collection: on the ribbon its controls leave the ribbon's collection
    // with it (which frees them), so none stays behind as a control of no group; a copy on a
    // popup only lets its clones go.
    virtual void OnRemoved();

    // A control lies in one group: adding it here takes it out of the group it was in.
    void AddControl(CKLVControl* pControl);
    // Forgets the control (it is leaving the ribbon's collection), which then names no group.
    void DetachControl(CKLVControl* pControl);
    // The control is being freed: detached as above (the popup button is only forgotten).
    void ForgetControl(CKLVControl* pControl) override;
    // The group lists the control, or the control is the group's popup button.
    BOOL HasControl(const CKLVControl* pControl) const;
    // The hide flag on every listed control and on the popup button.
    void SetControlsHideFlag(DWORD dwFlag, BOOL bHide);
    // The button that stands for the group at sizePopup; null until it was first needed.
    CKLVRibbonGroupControlPopup* GetControlPopup() const { return m_pControlPopup; }
    // The popup button, made (hidden until the group collapses) when it does not exist yet; null
    // for a group on no bar.
    CKLVRibbonGroupControlPopup* EnsureControlPopup();
    // Takes the control out of the group and out of the ribbon's collection, which frees it.
    void RemoveControl(CKLVControl* pControl);
    void RemoveControl(int nIndex) { RemoveControl(m_controls.at(static_cast<size_t>(nIndex))); }
    int GetControlCount() const override { return static_cast<int>(m_controls.size()); }
    CKLVControl* GetControlAt(int nIndex) const override { return m_controls[nIndex]; }
    const CKLVRibbonControlPlacement& GetPlacement(int nIndex) const { return m_placements[nIndex]; }

    int GetSize() const { return m_nSize; }
    CRect GetRect() const override { return m_rcGroup; }
    const CString& GetGroupCaption() const override { return m_strCaption; }
    BOOL IsHighlighted() const override;
    CKLVRibbonContextTab* GetContextTab() const override;
    BOOL IsControlsJoined() const override { return m_bControlsJoined; }
    void SetGroups(CKLVRibbonGroups* pGroups) { m_pGroups = pGroups; }
    CKLVRibbonGroups* GetGroups() const { return m_pGroups; }
    CKLVRibbonTab* GetTab() const;
    // The bar the group lies on now: the ribbon, or a popup that shows a copy; null: the ribbon.
    CKLVCommandBar* m_pParentBar = nullptr;
    // That bar, the tab's when none was set; null for a group on no bar.
    CKLVCommandBar* GetParentBar() const;
    // Height the controls may take: the group's height less its caption band and a 3-px gap.
    int GetContentHeight(int nGroupHeight) const;

    CString m_strCaption;
    int m_nId = 0;
    int m_nIndex = 0;
    BOOL m_bVisible = TRUE;
    // Spreads the controls of a short column evenly down the content height...
    BOOL m_bColumnSpacing = TRUE;
    // ...unless the controls keep to the top rows (for groups whose rows must line up).
    BOOL m_bAlignTop = FALSE;
    // The group's buttons are drawn joined into strips, a new strip at each control that begins
    // a group.
    BOOL m_bControlsJoined = FALSE;

protected:
    // The control's cell at a size (sizeLarge to sizeSmall).
    virtual CSize MeasureControl(CDC* pDC, CKLVControl* pControl, int nSize) const;
    int CaptionWidth(CDC* pDC) const;
    int CaptionHeight() const;
    int CollapsedWidth(CDC* pDC);
    // The parent bar's paint manager when it is the theme that draws ribbons, else null.
    CKLVPaintManagerTheme6* GetRibbonTheme() const;

private:
    int LayoutColumnsOfOne(CDC* pDC);
    int LayoutColumnsOfThree(CDC* pDC);
    // How far each control moves down so that short columns spread over the content height.
    std::vector<int> ColumnDrops(int nGroupHeight) const;
    // Shows the popup button over the group at sizePopup (making it when needed), else hides it.
    void PlaceControlPopup(CRect rc);
    void ReleaseControlPopup();
    void Link(CKLVControl* pControl);

    std::vector<CKLVControl*> m_controls;
    // The controls AddControl pointed back at this group, to be unlinked when the group is freed.
    std::vector<CKLVControl*> m_linked;
    std::vector<CKLVRibbonControlPlacement> m_placements;
    CKLVRibbonGroupControlPopup* m_pControlPopup = nullptr;
    CKLVRibbonGroups* m_pGroups = nullptr;
    int m_nSize = sizeLarge;
    CRect m_rcGroup;
};
