// The one object per frame that owns the frame's command bars, their options, the accelerator
// manager, the actions and the customisation state; the bars ask it for what they share
// (through the link they were built against).
#pragma once

#include "classlib/Array.h"
#include "classlib/CmdTarget.h"
#include "classlib/String.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/ToolBar.h"

#include <memory>
#include <vector>

class CKLVAccelManager;
class CKLVCommandBar;
class CKLVCommandBarKeyboardTip;
class CKLVCustomizeDrop;
class CKLVCommandBarList;
class CKLVPropExchange;
struct CKLVPropExchangeParam;
class CKLVCommandBarsOptions;
class CKLVContextMenus;
class CKLVControlAction;
class CKLVControls;
class CKLVKeyboardHook;
class CKLVMouseHook;
class CKLVDockBar;
class CKLVPopupBar;
class CKLVReBar;
class CKLVTooltipHost;
class CMenu;

class CKLVCommandBars : public CCmdTarget, public CKLVCommandBarsLink {
    DECLARE_DYNCREATE(CKLVCommandBars)
public:
    enum : UINT { msgDragControlChanged = 0x2857, msgToolBarContextMenu = 0x285C,
                  idToolBarsList = 0xE800, idHelpCommand = 0xE146 };

    // The classes the manager makes bars of; the application may change them first. Null
    // until the class exists: Add without a class then makes nothing.
    static CRuntimeClass* m_pMenuBarClass;
    static CRuntimeClass* m_pToolBarClass;
    static CRuntimeClass* m_pDockBarClass;

    CKLVCommandBars();
    ~CKLVCommandBars() override;

    // Virtual operations in the order every later part was built against.
    // The bar with bar id 1 when it is a menu bar.
    CKLVCommandBar* GetMenuBar() const override;
    // Hidden (shown in full menus only) and not yet used.
    virtual BOOL IsCommandHidden(UINT nId) const;
    // A hidden command, or, with "AutoHideUnusedPopups", a popup whose bar has controls that
    // are all hidden by this same test.
    BOOL IsControlHidden(CKLVControl* pControl) const override;

    // The context menu over the bars at a screen point, tracked until it closes; the site may
    // change it first (message 0x285C).
    void ContextMenu(CKLVCommandBar* pBar, CPoint ptScreen) override;
    // Copies of the controls that the bar's dock row hides for lack of room, into the popup.
    void AddHiddenControls(CKLVToolBar* pBar, CKLVCommandBar* pPopup) override;
    // For each bar of the row a popup item, named after it, listing its buttons for showing and
    // hiding; then the customize command when the site handles it.
    void AddExpandCustomizeControls(CKLVToolBar* pBar, CKLVCommandBar* pPopup) override;
    // With a rebar among the site's children (0xE804), tool bars live in its bands.
    virtual void AddRebarBand(CKLVToolBar* pBar);
    virtual void RemoveRebarBand(CKLVToolBar* pBar);
    // A tool bar of the user's own: the site may fill it first (message 0x2861); it floats or
    // docks on top, is not built in, and goes into the rebar when there is one.
    CKLVToolBar* AddCustomToolBar(LPCTSTR lpszTitle, UINT nBarID, BOOL bFloating = FALSE) override;
    // Saved state. Writes the list under "CommandBars"; FALSE when the store failed.
    virtual BOOL SaveCommandBarList(CKLVPropExchange* pPX, CKLVCommandBarList* pList);
    // Reads bars into the list; FALSE, with none of them added, when a class cannot be made, a
    // count cannot be true or the store fails.
    virtual BOOL LoadCommandBarList(CKLVPropExchange* pPX, CKLVCommandBarList* pList);
    // The bars to save: each bar (built-in unchanged ones left out when the parameters say so),
    // the popup bars they lead to, then the context menus.
    virtual void GenerateCommandBarList(CKLVCommandBarList* pList, CKLVPropExchangeParam* pParam);
    // Merges loaded bars: tool bars join or update the bars of their id, context menus likewise;
    // a built-in bar that changed since the save asks the user unless bSilent.
    virtual void RestoreCommandBarList(CKLVCommandBarList* pList, BOOL bSilent = FALSE);

    // The four dock bars of the site (top, bottom, left, right), of the dock-bar class; a dock bar
    // that cannot be made throws the resource exception.
    void EnableDocking();
    // Null before EnableDocking or for another position.
    CKLVDockBar* GetDockBar(int nPosition) const override;
    // The dock bar a bar dragged to the screen point would dock in: the first, trying pDockBar
    // and then top, bottom, left and right, whose window grown by 20 pixels holds the point.
    CKLVDockBar* CanDock(CPoint ptScreen, CKLVDockBar* pDockBar = nullptr) const override;
    int GetDockBarPosition(CKLVDockBar* pDockBar) const override;
    CRect DockBarToScreen(CKLVDockBar* pDockBar, CRect rc) const override;
    // The bar's window in the site, docked in the dock bar at the screen rectangle (or in a new
    // last row without one); FALSE without a dock bar or window.
    BOOL DockCommandBar(CKLVToolBar* pBar, LPCRECT lpRect, CKLVDockBar* pDockBar) override;
    BOOL DockCommandBar(CKLVToolBar* pBar, int nPosition) override;
    // The bar's window floating over the site, out of its dock bar.
    BOOL FloatCommandBar(CKLVCommandBar* pBar) override;
    // Lays the site frame out at once when it waits for its idle layout.
    void UpdateFrameLayout() override;
    // Stores the site and asks it (without running anything) whether it handles the customize
    // command.
    void SetSite(CWnd* pSite);
    // The bar of the menu-bar class at the top with bar id 1, holding the menu resource (kept as
    // its original controls); null when it cannot be made or the menu not loaded.
    CKLVCommandBar* SetMenu(LPCTSTR lpszTitle, UINT nMenuID);
    // A bar of the class (the tool-bar class for null) with its window at the position; null
    // when it cannot be made, the list then unchanged.
    CKLVCommandBar* Add(LPCTSTR lpszTitle, int nPosition, CRuntimeClass* pBarClass = nullptr);
    void Remove(CKLVCommandBar* pBar) override;
    void RemoveAll();
    int GetCount() const override { return static_cast<int>(m_arrBars.GetSize()); }
    CKLVCommandBar* GetAt(int nIndex) const override;
    CKLVCommandBar* FindCommandBar(UINT nBarID) const override;
    int FindIndex(const CKLVCommandBar* pBar) const;
    // The next visible bar from nIndex in steps of nStep (+1 or -1), wrapping once; nIndex when
    // the walk comes back to it; -1 when none. From -1 forward the walk does not wrap; from -1
    // backward it starts at the last bar.
    int GetNextVisibleBar(int nIndex, int nStep = 1) const;
    // The next enabled, visible control after nIndex in the set; where the set ends it starts
    // again at its top, or (keyboard cues across bars) goes on in the next visible bars and gives
    // up when it comes back to the set's own bar.
    CKLVControl* GetNextControl(CKLVControls* pControls, int nIndex) const;
    // The calling thread's hooks, made on first use.
    CKLVKeyboardHook* GetKeyboardHook() const;
    static CKLVMouseHook* GetMouseHook();
    void ToggleVisible(int nIndex) override;
    void SetCommandUsed(UINT nId) override;
    void SetCustomizeMode(BOOL bMode) override;
    BOOL IsAltDragCustomization() const override;
    BOOL IsCustomizeAvail() const override { return m_bSiteAnswer; }
    BOOL IsCustomizeModeEnteredDirectly() const override { return m_bCustomizeMode && !m_bCustomizeTarget; }
    // Redraws every bar when cues show only on demand and the state changes (always shown while
    // customising).
    void ShowKeyboardCues(BOOL bShow);
    void RedrawCommandBars();
    // After a change of system settings: every bar lays itself out again, then the frame.
    void UpdateCommandBars();
    // Print preview hides the bars and holds back the accelerators; leaving it brings both back.
    void OnSetPreviewMode(BOOL bPreview);
    // Lays the site out now, or at its next idle time; nothing while the layout is locked.
    void RecalcFrameLayout(BOOL bDelay = FALSE) override;
    void LockLayout() { ++m_nLockLayout; }
    void UnlockLayout() { --m_nLockLayout; }
    CKLVControlAction* FindAction(int nId) const;
    // The resource id of the active MDI child's document template (its own id without a
    // document; the menu id without a child); 0 for a site that is not an MDI frame.
    UINT GetActiveDocTemplateId() const override;
    // A popup bar holding the tool-bar list; the caller releases it.
    CKLVPopupBar* GetToolbarsPopup();

    // The frame's messages, before its own handling. TRUE: handled (not dispatched).
    BOOL PreTranslateFrameMessage(MSG* pMsg);
    // TRUE: handled, the frame returns *pResult.
    BOOL OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Tracks the popup until it closes: 0 when cancelled, the command with TPM_RETURNCMD, else 1.
    static UINT TrackPopupMenu(CKLVPopupBar* pPopup, UINT nFlags, int x, int y, CWnd* pSite = nullptr,
                               LPCRECT lpExclude = nullptr, CWnd* pOwner = nullptr);
    // The menu shown as a popup bar of these command bars, its command sent to the site.
    UINT TrackPopupMenuEx(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pOwner = nullptr,
                          LPTPMPARAMS lptpm = nullptr) override;
    // Keyboard entry into the bar (nStep 0), or into the next visible bar from it (+1, -1).
    BOOL SetTrackingBar(CKLVCommandBar* pBar, int nStep) override;
    // Alt+key: the mnemonic search; TRUE when it opened or selected something.
    BOOL OnAltKey(UINT nKey);
    // The control whose mnemonic the key types, from after the bar's selection; null when none.
    CKLVControl* FindAccelControl(CKLVCommandBar* pBar, UINT nKey, BOOL& bAmbiguous) const override;

    CKLVCommandBarsOptions* GetOptions() const override { return m_pOptions; }
    CKLVContextMenus* GetContextMenus() const { return m_pContextMenus; }
    void SetPaintManager(CKLVPaintManager* pPaintManager);
    void SetImageManager(CKLVImageManager* pImageManager);
    BOOL IsLayoutRTL() const override;
    BOOL HasTemplateMenus() const override { return m_bTemplateMenus; }

    // What the bars ask of their command bars.
    void OnTrackingModeChanged(CKLVCommandBar* pBar, int nMode) override;
    void ClosePopups() override;
    void SetFocusToNextToolBar(CKLVCommandBar* pBar, BOOL bPrevious) override;
    BOOL IsCustomizeMode() const override { return m_bCustomizeMode; }
    CWnd* GetSite() const override { return m_pSite; }
    CKLVPaintManager* GetPaintManager() const override;
    CKLVImageManager* GetImageManager() const override;
    CKLVControlActions* GetActions() const override { return m_pActions; }
    BOOL IsShowFullAfterDelay() const override;
    BOOL IsStatusBarTextShown() const override;
    BOOL IsDisableCommandsWithoutHandler() const override;
    BOOL IsKeyboardCuesVisible() const override { return m_bKeyboardCuesVisible; }
    void SetKeyboardCuesState(BOOL bVisible, BOOL bOnDemand) override;
    BOOL IsToolBarScreenTips() const override;
    BOOL IsToolBarAccelTips() const override;
    BOOL IsPopupBarTips() const override;
    CKLVAccelManager* GetAccelManager() const override { return m_pAccelManager; }
    // The tooltip host the bars share.
    CKLVToolTipContext* GetToolTipContext() const override;
    CKLVControl* GetDragControl() const override { return m_pDragControl; }
    // The selected control's help id, offered to F1.
    void SetHelpId(int nHelpId) override { m_nHelpCommandId = nHelpId > 0 ? static_cast<UINT>(nHelpId) : 0; }
    // Redraws the old and the new control and tells the site (message 0x2857).
    void SetDragControl(CKLVControl* pControl) override;
    // Customisation drag and drop: the bars that take drops, and the drag itself.
    CKLVCustomizeDrop* GetCustomizeDrop() const { return m_pCustomizeDrop.get(); }
    void RegisterCustomizeTarget(CKLVCommandBar* pBar) override;
    void UnregisterCustomizeTarget(CKLVCommandBar* pBar) override;
    DWORD DoCustomizeDragDrop(CKLVControl* pControl, BOOL bCopyOnly) override;
    // Customize mode's menu over a control: Delete, and Begin a Group (checked when it does).
    enum : UINT { customizeMenuDelete = 1, customizeMenuBeginGroup = 2, idsCustomizeDelete = 9162,
                  idsCustomizeBeginGroup = 9163 };
    void ShowCustomizeContextMenu(CKLVCommandBar* pBar, CKLVControl* pControl, POINT ptScreen) override;

    // Key tips, shown for one bar at a time (only with the options' flag): the bar makes its
    // tips into the array (AddKeyboardTip takes each), the command bars give them their keys,
    // sizes and places and show them; a typed key narrows them down or activates one.
    void ShowKeyboardTips(CKLVCommandBar* pBar) override;
    // The bar's tips of a key-tip level (the ribbon's levels lead from its top to its groups).
    void ShowKeyboardTips(CKLVCommandBar* pBar, int nLevel);
    BOOL ShowKeyboardTipsLevelUp(CKLVCommandBar* pBar) override;
    int GetKeyboardTipsLevel() const override { return m_nKeyboardNavigationLevel; }
    void HideKeyboardTips() override;
    BOOL IsKeyboardTipsShown(CKLVCommandBar* pBar) const override;
    void OnKeyboardTipKey(CKLVCommandBar* pBar, UINT nKey) override;
    void AddKeyboardTip(std::unique_ptr<CKLVCommandBarKeyboardTip>&& pTip) override;
    void DrawKeyboardTip(CDC* pDC, CKLVCommandBarKeyboardTip* pTip) override;
    int GetKeyboardTipCount() const { return static_cast<int>(m_keyboardTips.size()); }
    CKLVCommandBarKeyboardTip* GetKeyboardTip(int nIndex) const { return m_keyboardTips.at(static_cast<size_t>(nIndex)).get(); }

    BOOL m_bIgnoreShiftMenuKey = FALSE;
    int m_nKeyboardNavigationLevel = 0;
    CKLVPaintManager* m_pPaintManager = nullptr;
    CKLVImageManager* m_pImageManager = nullptr;
    CKLVControl* m_pDragControl = nullptr;
    BOOL m_bCustomizeMode = FALSE;
    BOOL m_bSiteAnswer = FALSE;
    UINT m_nMenuID = 0;
    BOOL m_bCustomizeTarget = FALSE;
    CString m_strText;
    CKLVCommandBarsOptions* m_pOptions;
    CKLVContextMenus* m_pContextMenus;
    CPtrArray m_arrBars;
    CWnd* m_pSite = nullptr;
    CKLVTooltipHost* m_pToolTipContext;
    BOOL m_bKeyboardCuesVisible = TRUE;
    CKLVAccelManager* m_pAccelManager;
    UINT m_nHelpCommandId = 0;
    CKLVControlActions* m_pActions;
    int m_nLockLayout = 0;
    BOOL m_bKeyboardCuesOnDemand = FALSE;
    DWORD m_dwLayoutRTL = 0;
    CKLVDockBar* m_pDocks[4] = {};
    // Each document template keeps its own menu-bar controls.
    BOOL m_bTemplateMenus = TRUE;

protected:
    // A key that leads to no tip, or to a disabled one.
    virtual void BeepAtKey() const;
    // Tracks the customize menu at the point: the item chosen, 0 when none.
    virtual UINT TrackCustomizeMenu(HMENU hMenu, POINT ptScreen);

private:
    // The tips' keys from their labels, distinct; tips that get none go.
    void AssignKeyboardTipCaptions();
    // Follows keys pressed with Alt held; TRUE for the release of an Alt that had company.
    BOOL NoteAltCombination(const MSG* pMsg);

    std::unique_ptr<CKLVCustomizeDrop> m_pCustomizeDrop;
    std::vector<std::unique_ptr<CKLVCommandBarKeyboardTip>> m_keyboardTips;
    // The bar whose tips are shown, and how many of their keys' characters were typed.
    CKLVCommandBar* m_pKeyboardTipsBar = nullptr;
    int m_nKeyboardTipsTyped = 0;
    BOOL m_bAltCombined = FALSE;

    BOOL IsControlHidden(CKLVControl* pControl, CPtrArray& arrWalked) const;
    void RemoveBar(CKLVCommandBar* pBar);
    // A bar of the class owned by these command bars, titled; null for a class of no bar.
    CKLVCommandBar* CreateBar(CRuntimeClass* pClass, LPCTSTR lpszTitle);
    // Takes a bar that failed half-way out of its dock bar and lets it go.
    void DiscardBar(CKLVCommandBar* pBar);
    CKLVReBar* GetReBar() const;
    // The bar whose mnemonics Alt+key searches: a tracking bar, the menu bar, the first visible.
    CKLVCommandBar* FindMnemonicBar() const;
    // The wheel turned with the cursor over a ribbon that is the menu bar: TRUE when it took it.
    BOOL OnWheelOverRibbon(int nDelta);
    // The bars the mnemonic walk visits from the bar, in order.
    std::vector<CKLVCommandBar*> MnemonicBars(CKLVCommandBar* pBar) const;
    void RefreshAfterSettingChange(BOOL bColors);
    void RestoreToolBar(CKLVCommandBarList* pList, CKLVToolBar* pLoaded, BOOL bSilent);
    void RestoreContextMenu(CKLVCommandBarList* pList, CKLVPopupBar* pLoaded);
    // The existing bar takes the loaded one's layout; a built-in bar changed since the save asks.
    void MergeToolBar(CKLVCommandBar* pExisting, CKLVToolBar* pLoaded, BOOL bSilent);
};
