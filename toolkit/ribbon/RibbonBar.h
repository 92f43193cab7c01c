// The ribbon: a menu bar that shows, from the top, a caption band (the system button, the quick
// access tool bar, the context headers), a row of tabs, the group area of the selected tab, and
// the quick access tool bar below the ribbon when it is moved there. Its controls are one
// collection: the quick access references first, then the ribbon's own parts and the groups'
// controls. A frame lower or narrower than the minimum size hides it (height 0).
#pragma once

#include "toolkit/commandbars/MenuBar.h"
#include "toolkit/themes/FrameIntegration.h"
#include "toolkit/themes/RibbonFaces.h"
#include "toolkit/ribbon/RibbonGroupScroller.h"
#include "toolkit/ribbon/RibbonTabContextHeaders.h"

#include <functional>
#include <memory>

class CKLVRibbonControlTab;
class CKLVRibbonGroup;
class CKLVRibbonQuickAccessControls;
class CKLVRibbonTab;

class CKLVRibbonBar : public CKLVMenuBar, public CKLVRibbonBarFace {
    DECLARE_SERIAL(CKLVRibbonBar)
public:
    enum : UINT {
        idCustomizeQuickAccess = 9603, idMoreControls = 9611, idShowQuickAccessBelow = 9608,
        idShowQuickAccessAbove = 9610
    };
    // The context menu's commands and menus, and the caption of "More Commands..." when the
    // quick access tool bar cannot be customised.
    enum : UINT {
        idRemoveFromQuickAccess = 9605, idAddToQuickAccess = 9606, idCustomizeCommands = 9607, idMinimizeRibbon = 9612,
        idQuickAccessCommandList = 9613, idQuickAccessCommandsLabel = 9614, idMenuQuickAccess = 9601,
        idMenuContext = 9602, idsCustomize = 9161
    };
    // How close to the top of the caption band a press sizes the frame instead of moving it.
    enum { captionSizingBand = 5 };
    // The ribbon's bar flags, and the hide flag of controls whose group is on another tab.
    enum : UINT { ribbonBarFlags = 0x440, hideOtherTab = 0x80 };
    enum { defaultMinimumSize = 250, defaultTabHeight = 23, defaultGroupCaptionHeight = 17, defaultCaptionHeight = 18 };

    CKLVRibbonBar();
    ~CKLVRibbonBar() override;

    // The ribbon's own operations.
    virtual int GetTabsHeight() const;
    int GetGroupsAreaHeight() const override;
    virtual int GetGroupsHeight() const;
    virtual BOOL IsAllowQuickAccessControl(CKLVControl* pControl) const;
    // The ribbon's context menu for the control (menu 9601 for the customize button, else 9602),
    // or the command bars' ordinary one while the quick access tool bar is hidden; null when it
    // would show nothing. The caller owns its reference.
    virtual CKLVCommandBar* CreateContextMenu(CKLVControl* pControl);
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
    // The ribbon takes the loaded bar at once.
    BOOL AsksBeforeTakingUpdatedBar() const override { return FALSE; }
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
    // Key tips: the ribbon's top (level 1) or the selected tab's groups (level 2), as the command
    // bars' key-tip level says; a tab's tip selects the tab and goes one level down.
    void CreateKeyboardTips() override;
    void OnKeyboardTip(CKLVCommandBarKeyboardTip* pTip) override;
    // Alt with a tab's "&" letter selects the tab from the keyboard.
    BOOL OnAltMnemonic(UINT nKey) override;
    // Selects the tab and gives the tab row the keyboard; not minimised, the key tips of the
    // level follow.
    void SelectTabFromKeyboard(CKLVRibbonTab* pTab, int nTipsLevel);
    // A change of visibility recalculates an integrated frame.
    void SetVisible(BOOL bVisible) override;

    // The frame's caption, drawn by the ribbon while it is shown at the top of a frame it
    // integrates.
    BOOL IsCaptionOwnerVisible() const override;
    int GetCaptionBandHeight() const override;
    CKLVFrameIntegration* GetFrameIntegration() const override { return m_pFrameIntegration.get(); }
    // The quick access tool bar above the ribbon ends further left while the frame is active:
    // the bar is laid out again at once.
    void OnFrameActiveChanged() override;
    // Integrated and the frame active.
    BOOL IsFrameThemed() const;
    // The integration's border: the caption band reaches over the frame's top border.
    int GetFrameBorder() const;
    // The caption button of the system command; null when the caption shows none.
    CKLVControl* FindCaptionButton(UINT nSysCommand) const;
    // A control of a group on another tab selects that tab first; then it is scrolled into view.
    void OnControlSelected(int bSelected, CKLVControl* pControl) override;
    // The tab row names its tabs first; a control in a group covers the whole group area.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

    void SetMinimized(BOOL bMinimized);
    BOOL IsMinimized() const { return m_bMinimized; }
    void SetQuickAccessBelow(BOOL bBelow);
    BOOL IsQuickAccessBelow() const override { return m_bQuickAccessBelow; }
    // Moves the selection to the next (or previous) visible, enabled tab.
    void SelectNextTab(BOOL bForward);
    // Towards the user (delta 0 or below) the next tab, else the previous one.
    void OnWheelOverBar(int nDelta) override { SelectNextTab(nDelta < 1); }
    CKLVRibbonTab* GetSelectedTab() const;
    int GetQuickAccessHeight() const override { return m_nQuickAccessHeight; }
    BOOL IsTabRowShown() const override { return m_bTabRowShown; }
    BOOL HasCaptionBand() const override { return m_pFrameIntegration || m_bCaptionBandKept; }
    BOOL IsRibbonVisible() const { return m_bRibbonVisible; }

    CKLVRibbonTab* AddTab(LPCTSTR lpszCaption, int nId = 0);
    CKLVRibbonControlTab* GetControlTab() const { return m_pControlTab; }
    CKLVRibbonQuickAccessControls* GetQuickAccessControls() const { return m_pQuickAccessControls; }
    // The "add to the quick access tool bar" command: a clone of the control joins the tool bar
    // when it is allowed there; null when refused.
    CKLVControl* AddToQuickAccess(CKLVControl* pControl);
    CKLVControl* GetCustomizePopup() const { return m_pCustomizePopup; }
    CKLVControl* GetMorePopup() const { return m_pMorePopup; }
    CKLVControl* GetSystemButton() const override { return m_pSystemButton; }
    void SetSystemButton(CKLVControl* pControl) { m_pSystemButton = pControl; }
    // The group of any tab that lists the control; null when it is in no group.
    CKLVRibbonGroup* FindGroupOf(const CKLVControl* pControl) const;
    // The tabs in order, and the groups of every tab in tab order: the Find forms stop at the
    // first for which fn answers TRUE and answer it (null when none does).
    CKLVRibbonTab* FindTab(const std::function<BOOL(CKLVRibbonTab*)>& fn) const;
    void ForEachTab(const std::function<void(CKLVRibbonTab*)>& fn) const;
    CKLVRibbonGroup* FindGroup(const std::function<BOOL(CKLVRibbonGroup*)>& fn) const;
    void ForEachGroup(const std::function<void(CKLVRibbonGroup*)>& fn) const;
    CKLVRibbonTabContextHeaders* GetContextHeaders() { return &m_contextHeaders; }

    // What the theme reads of the bar when it draws it.
    CRect GetRibbonClientRect() const override;
    CRect GetCaptionRect() const override { return m_rcCaption; }
    CRect GetTitleRect() const override { return m_rcTitle; }
    CRect GetQuickAccessRect() const override { return m_rcQuickAccess; }
    BOOL IsQuickAccessVisible() const override { return m_bQuickAccessVisible; }
    CKLVControls* GetQuickAccessControlList() const override;
    CWnd* GetRibbonSite() const override { return GetSite(); }
    CKLVRibbonContextHeaderList* GetContextHeaderList() override { return &m_contextHeaders; }
    CKLVRibbonGroupScroller* GetScroller() { return &m_scroller; }

    // Input. The caption band acts as the frame's caption: 0 off it, HTCAPTION on it, HTTOP in
    // its top strip on a sizable frame that is not maximised.
    int HitTestCaption(CPoint point) const;
    // A press on the caption band with the hit code (HTCAPTION or a sizing code) starts the
    // frame's move or size loop; a maximised frame, or sizing greyed in its system menu, stops it.
    void OnCaptionButtonDown(int nHitTest);
    // The control whose context menu a right press at the point opens: the control there, or
    // the popup button of the group whose caption strip lies there; null for neither.
    CKLVControl* GetContextMenuControl(CPoint point);
    // Builds and tracks the context menu of the control at the screen point.
    void ShowContextMenu(CKLVControl* pControl, CPoint ptScreen);
    // The group drawn hot under the mouse.
    CKLVRibbonGroup* GetHighlightedGroup() const { return m_pHighlightedGroup; }
    // The group is leaving the ribbon: the ribbon keeps no pointer to it.
    void ForgetGroup(const CKLVRibbonGroup* pGroup);
    // Hides the controls of groups that are not on the tab (and shows those that are).
    void ShowGroupControlsOf(CKLVRibbonTab* pTab);
    // The theme's group caption band.
    int GetGroupCaptionHeight() const;

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

    // Integrates the frame the bar was created in.
    void OnCreatedHook() override;

protected:
    // Alt alone: with tabs, the tab row takes the keyboard and the top key tips show.
    BOOL OnMenuKey() override;
    // Enters keyboard tracking with the tab row selected and focused.
    void TrackTabRow();
    // Tells an integrated frame that the ribbon came or went.
    void OnRibbonVisibilityChanged();
    // Ends the frame integration; the frame draws its own caption and border again.
    void ReleaseFrame();
    // The caption buttons right to left, then the title, in the caption text area.
    void LayoutCaptionButtons(CDC* pDC);
    void LayoutTitle(CDC* pDC);
    int CalcQuickAccessHeight(CDC* pDC);
    // The frame the ribbon sits in is at least the minimum size high.
    BOOL IsFrameHighEnough() const;
    void PositionControls(CDC* pDC, int nWidth);
    void LayoutQuickAccess(CDC* pDC, int nWidth, int nCaption);
    int LayoutLooseControls(CDC* pDC, int nLeft, int nRight, BOOL bRightAligned);
    void LayoutSystemButton(CDC* pDC, int nCaption, int nQuickAccess, int nTabs);
    void LayoutTabRow(CDC* pDC, int nLeft, int nRight);
    void LayoutGroups(CDC* pDC);
    void BuildContextHeaders();
    BOOL IsQuickAccessControl(CKLVControl* pControl) const;
    // Neither a group's control (nor its popup button), the quick access tool bar's, nor one of
    // the ribbon's own parts.
    BOOL IsLooseControl(CKLVControl* pControl) const;
    int GetRibbonTabHeight() const;
    // The bar's face, caption band and group area, by the theme's ribbon drawing when it has one.
    void DrawRibbonFaces(CDC* pDC, CRect rcClipBox);

    CKLVRibbonGroupScroller m_scroller;
    CKLVRibbonQuickAccessControls* m_pQuickAccessControls = nullptr;
    CKLVRibbonControlTab* m_pControlTab = nullptr;
    CKLVControl* m_pCustomizePopup = nullptr;
    CKLVControl* m_pMorePopup = nullptr;
    CKLVControl* m_pSystemButton = nullptr;
    CKLVRibbonTabContextHeaders m_contextHeaders;
    std::unique_ptr<CKLVFrameIntegration> m_pFrameIntegration;

    // Input (the frame's messages reach the ribbon through the menu bar's frame hook).
    int OnFrameMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    BOOL IsHighlightAllowed() const;
    void SetHighlightedGroup(CKLVRibbonGroup* pGroup);
    void OnCaptionDoubleClick();
    void ExecuteContextCommand(UINT nId, CKLVControl* pControl, NMHDR* pNM);
    // The quick access commands for the control, from the menu resource, shown by state.
    void FillContextMenu(CKLVCommandBar* pMenu, CKLVControl* pControl);
    // One check item per command of the quick access tool bar's default set, in place of the
    // list's placeholder, with the list's heading as a label.
    void FillQuickAccessCommandList(CKLVControls* pItems);

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnSysColorChange();
    afx_msg void OnQuickAccessPosition(UINT nId);
    afx_msg void OnUpdateContextCommand(CCmdUI* pCmdUI);
    afx_msg LRESULT OnControlNotify(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
