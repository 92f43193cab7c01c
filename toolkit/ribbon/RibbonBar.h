// The ribbon: a menu bar that shows, from the top, a caption band (the system button, the quick
// access tool bar, the context headers), a row of tabs, the group area of the selected tab, and
// the quick access tool bar below the ribbon when it is moved there. Its controls are one
// collection: the quick access references first, then the ribbon's own parts and the groups'
// controls. A frame lower or narrower than the minimum size hides it (height 0).
#pragma once

#include "toolkit/commandbars/MenuBar.h"
#include "toolkit/ribbon/RibbonGroupScroller.h"
#include "toolkit/ribbon/RibbonTabContextHeaders.h"

#include <unordered_set>

class CKLVRibbonControlTab;
class CKLVRibbonGroup;
class CKLVRibbonQuickAccessControls;
class CKLVRibbonTab;

class CKLVRibbonBar : public CKLVMenuBar {
    DECLARE_SERIAL(CKLVRibbonBar)
public:
    enum : UINT {
        idCustomizeQuickAccess = 9603, idMoreControls = 9611, idShowQuickAccessBelow = 9608,
        idShowQuickAccessAbove = 9610
    };
    // The ribbon's bar flags, and the hide flag of controls whose group is on another tab.
    enum : UINT { ribbonBarFlags = 0x440, hideOtherTab = 0x80 };
    enum { defaultMinimumSize = 250, defaultTabHeight = 23, defaultGroupCaptionHeight = 17, defaultCaptionHeight = 18 };

    CKLVRibbonBar();
    ~CKLVRibbonBar() override;

    // The ribbon's own operations.
    virtual int GetTabsHeight() const;
    virtual int GetGroupsAreaHeight() const;
    virtual int GetGroupsHeight() const;
    virtual BOOL IsAllowQuickAccessControl(CKLVControl* pControl) const;
    // A popup tool bar of clones of the wrapped quick access controls and the customize button;
    // the caller owns its reference.
    virtual CKLVCommandBar* CreateQuickAccessMorePopup();

    // What the ribbon changes of the menu bar.
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0) override;
    void DoPropExchange(CKLVPropExchange* pPX) override;
    void Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;
    // The quick access controls find the bars they lead to in the loaded list.
    void RestoreCommandBarList(CKLVCommandBarList* pList) override;
    void OnAfterLoadCommandBarsHook() override;
    void OnRemoved() override;
    BOOL IsRibbonBar() const override { return TRUE; }
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;

    void SetMinimized(BOOL bMinimized);
    BOOL IsMinimized() const { return m_bMinimized; }
    void SetQuickAccessBelow(BOOL bBelow);
    BOOL IsQuickAccessBelow() const { return m_bQuickAccessBelow; }
    // Moves the selection to the next (or previous) visible, enabled tab.
    void SelectNextTab(BOOL bForward);
    CKLVRibbonTab* GetSelectedTab() const;
    int GetQuickAccessHeight() const { return m_nQuickAccessHeight; }
    BOOL IsTabRowShown() const { return m_bTabRowShown; }
    BOOL HasCaptionBand() const { return m_bCaptionBandKept; }
    BOOL IsRibbonVisible() const { return m_bRibbonVisible; }

    CKLVRibbonTab* AddTab(LPCTSTR lpszCaption, int nId = 0);
    CKLVRibbonControlTab* GetControlTab() const { return m_pControlTab; }
    CKLVRibbonQuickAccessControls* GetQuickAccessControls() const { return m_pQuickAccessControls; }
    // The "add to the quick access tool bar" command: a clone of the control joins the tool bar
    // when it is allowed there; null when refused.
    CKLVControl* AddToQuickAccess(CKLVControl* pControl);
    CKLVControl* GetCustomizePopup() const { return m_pCustomizePopup; }
    CKLVControl* GetMorePopup() const { return m_pMorePopup; }
    CKLVControl* GetSystemButton() const { return m_pSystemButton; }
    void SetSystemButton(CKLVControl* pControl) { m_pSystemButton = pControl; }
    // The group of any tab that lists the control; null when it is in no group.
    CKLVRibbonGroup* FindGroupOf(const CKLVControl* pControl) const;
    CKLVRibbonTabContextHeaders* GetContextHeaders() { return &m_contextHeaders; }
    CKLVRibbonGroupScroller* GetScroller() { return &m_scroller; }
    // Hides the controls of groups that are not on the tab (and shows those that are).
    void ShowGroupControlsOf(CKLVRibbonTab* pTab);

    CRect m_rcTabRow;
    CRect m_rcGroupArea;
    CRect m_rcCaption;
    CRect m_rcTitle;
    CRect m_rcCaptionText;
    CRect m_rcQuickAccess;
    BOOL m_bRibbonVisible = TRUE;
    BOOL m_bTabsVisible = TRUE;
    BOOL m_bTabRowShown = TRUE;
    BOOL m_bQuickAccessBelow = FALSE;
    BOOL m_bQuickAccessVisible = TRUE;
    BOOL m_bAllowQuickAccessDuplicates = FALSE;
    BOOL m_bQuickAccessCustomizable = TRUE;
    BOOL m_bCommandStatePending = FALSE;
    int m_nQuickAccessHeight = 0;
    BOOL m_bMinimizeOnDoubleClick = TRUE;
    CKLVRibbonGroup* m_pHighlightedGroup = nullptr;
    int m_nMinimumSize = defaultMinimumSize;
    int m_nGroupHeight = 0;
    BOOL m_bMinimized = FALSE;
    BOOL m_bCaptionBandKept = TRUE;

protected:
    int GetCaptionBandHeight() const;
    int CalcQuickAccessHeight(CDC* pDC);
    // The frame the ribbon sits in is at least the minimum size high.
    BOOL IsFrameHighEnough() const;
    void PositionControls(CDC* pDC, int nWidth, int nHeight);
    void LayoutQuickAccess(CDC* pDC, int nWidth, int nCaption);
    int LayoutLooseControls(CDC* pDC, int nLeft, int nRight, BOOL bRightAligned);
    void LayoutSystemButton(CDC* pDC, int nCaption, int nQuickAccess, int nTabs);
    void LayoutTabRow(CDC* pDC, int nLeft, int nRight);
    void LayoutGroups(CDC* pDC);
    void BuildContextHeaders();
    BOOL IsQuickAccessControl(CKLVControl* pControl) const;
    BOOL IsLooseControl(CKLVControl* pControl, const std::unordered_set<const CKLVControl*>& grouped) const;
    std::unordered_set<const CKLVControl*> GroupedControls() const;
    int GetRibbonTabHeight() const;
    int GetGroupCaptionHeight() const;

    CKLVRibbonGroupScroller m_scroller;
    CKLVRibbonQuickAccessControls* m_pQuickAccessControls = nullptr;
    CKLVRibbonControlTab* m_pControlTab = nullptr;
    CKLVControl* m_pCustomizePopup = nullptr;
    CKLVControl* m_pMorePopup = nullptr;
    CKLVControl* m_pSystemButton = nullptr;
    CKLVRibbonTabContextHeaders m_contextHeaders;
};
