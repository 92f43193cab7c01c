// What a command bar asks of the command bars that own it. The command bars implement it and
// hand it to their bars; a bar without one behaves as a stand-alone bar with default options.
#pragma once

#include "classlib/ClassLib.h"

#include <memory>

class CKLVAccelManager;
class CKLVCommandBar;
class CKLVCommandBarKeyboardTip;
class CKLVCommandBarsOptions;
class CKLVControl;
class CKLVControlActions;
class CKLVDockBar;
class CKLVImageManager;
class CKLVPaintManager;
class CKLVToolBar;
class CKLVToolTipContext;
class CDC;
class CMenu;

class CKLVCommandBarsLink {
public:
    // The command a site answers when it wants it offered in the bars' expand popups.
    enum : UINT { idCustomizeCommand = 35001 };

    virtual ~CKLVCommandBarsLink() = default;

    // The bars owned, in their order, and the menu bar among them.
    virtual int GetCount() const { return 0; }
    virtual CKLVCommandBar* GetAt(int /*nIndex*/) const { return nullptr; }
    virtual CKLVCommandBar* FindCommandBar(UINT /*nBarID*/) const { return nullptr; }
    virtual CKLVCommandBar* GetMenuBar() const { return nullptr; }
    virtual void ToggleVisible(int /*nIndex*/) {}
    virtual void Remove(CKLVCommandBar* /*pBar*/) {}
    virtual BOOL IsLayoutRTL() const { return FALSE; }
    // Hidden in short menus until used.
    virtual BOOL IsControlHidden(CKLVControl* /*pControl*/) const { return FALSE; }
    // Each document template keeps its own menu-bar controls.
    virtual BOOL HasTemplateMenus() const { return FALSE; }

    // Docking and floating the tool bars in the site's dock bars, and laying the site out.
    virtual CKLVDockBar* GetDockBar(int /*nPosition*/) const { return nullptr; }
    virtual CKLVDockBar* CanDock(CPoint /*ptScreen*/, CKLVDockBar* /*pDockBar*/ = nullptr) const { return nullptr; }
    // Of a dock bar the site gave: its edge (0 top, 1 bottom, 2 left, 3 right; -1 for none), and a
    // rectangle in its client coordinates mapped to the screen.
    virtual int GetDockBarPosition(CKLVDockBar* /*pDockBar*/) const { return -1; }
    virtual CRect DockBarToScreen(CKLVDockBar* /*pDockBar*/, CRect rc) const { return rc; }
    virtual BOOL DockCommandBar(CKLVToolBar* /*pBar*/, LPCRECT /*lpRect*/, CKLVDockBar* /*pDockBar*/) { return FALSE; }
    virtual BOOL DockCommandBar(CKLVToolBar* /*pBar*/, int /*nPosition*/) { return FALSE; }
    // A tool bar's window floating over the site; FALSE for other bars.
    virtual BOOL FloatCommandBar(CKLVCommandBar* /*pBar*/) { return FALSE; }
    virtual void UpdateFrameLayout() {}
    // A new tool bar of the user's own.
    virtual CKLVCommandBar* AddCustomToolBar(LPCTSTR /*lpszTitle*/, UINT /*nBarID*/, BOOL /*bFloating*/ = FALSE) { return nullptr; }
    // A tool bar's expand popup: the controls its row hides, then the customize items.
    virtual void AddHiddenControls(CKLVToolBar* /*pBar*/, CKLVCommandBar* /*pPopup*/) {}
    virtual void AddExpandCustomizeControls(CKLVToolBar* /*pBar*/, CKLVCommandBar* /*pPopup*/) {}
    // The context menu over the bars at a screen point.
    virtual void ContextMenu(CKLVCommandBar* /*pBar*/, CPoint /*ptScreen*/) {}
    // The menu shown as a popup bar of the command bars; 0 when nothing was chosen.
    virtual UINT TrackPopupMenuEx(CMenu* /*pMenu*/, UINT /*nFlags*/, int /*x*/, int /*y*/, CWnd* /*pOwner*/ = nullptr,
                                  LPTPMPARAMS /*lptpm*/ = nullptr) {
        return 0;
    }
    // Keyboard entry into the bar (nStep 0), or into the next visible bar from it (+1, -1).
    virtual BOOL SetTrackingBar(CKLVCommandBar* /*pBar*/, int /*nStep*/) { return FALSE; }
    // The control whose mnemonic the key types, from after the bar's selection; null when none.
    virtual CKLVControl* FindAccelControl(CKLVCommandBar* /*pBar*/, UINT /*nKey*/, BOOL& /*bAmbiguous*/) const {
        return nullptr;
    }

    // A bar entered (mode 1 or 2) or left (0) keyboard tracking: cues and tips follow it.
    virtual void OnTrackingModeChanged(CKLVCommandBar* /*pBar*/, int /*nMode*/) {}
    // A key typed on a tracked tool bar may be the mnemonic of another bar: TRUE when taken.
    virtual BOOL TranslateOtherBarMnemonic(CKLVCommandBar* /*pBar*/, UINT /*nKey*/) { return FALSE; }
    // Ctrl+Tab on a tracked tool bar moves to the next (or previous) tool bar.
    virtual void SetFocusToNextToolBar(CKLVCommandBar* /*pBar*/, BOOL /*bPrevious*/) {}
    virtual void ClosePopups() {}
    virtual BOOL IsCustomizeMode() const { return FALSE; }
    virtual CWnd* GetSite() const { return nullptr; }
    virtual CKLVPaintManager* GetPaintManager() const { return nullptr; }
    virtual CKLVImageManager* GetImageManager() const { return nullptr; }
    // The options the bars read (icon sizes, text below icons); null: every default.
    virtual CKLVCommandBarsOptions* GetOptions() const { return nullptr; }
    // The actions of the command ids; null while the command bars keep none.
    virtual CKLVControlActions* GetActions() const { return nullptr; }
    // The help id of the selected control, 0 when nothing is selected.
    virtual void SetHelpId(int /*nHelpId*/) {}
    // The resource id of the active document's template, 0 when there is none to follow.
    virtual UINT GetActiveDocTemplateId() const { return 0; }
    // An executed command: a hidden one shows in short menus from now on.
    virtual void SetCommandUsed(UINT /*nId*/) {}
    virtual BOOL IsShowFullAfterDelay() const { return TRUE; }
    virtual BOOL IsStatusBarTextShown() const { return TRUE; }
    virtual BOOL IsDisableCommandsWithoutHandler() const { return TRUE; }
    virtual BOOL IsKeyboardCuesVisible() const { return TRUE; }
    // The options' cue setting changed: cues are now visible or not, and shown only on demand.
    virtual void SetKeyboardCuesState(BOOL /*bVisible*/, BOOL /*bOnDemand*/) {}
    // Keyboard tips: whether the bar's are shown, showing, hiding, and a typed key while shown.
    virtual BOOL IsKeyboardTipsShown(CKLVCommandBar* /*pBar*/) const { return FALSE; }
    virtual void ShowKeyboardTips(CKLVCommandBar* /*pBar*/) {}
    virtual void HideKeyboardTips() {}
    virtual void OnKeyboardTipKey(CKLVCommandBar* /*pBar*/, UINT /*nKey*/) {}
    // Escape while the bar shows tips deeper than the first level: its tips of the level above
    // replace them. FALSE when there is no such level to go back to.
    virtual BOOL ShowKeyboardTipsLevelUp(CKLVCommandBar* /*pBar*/) { return FALSE; }
    // The level of the tips shown (1 the top one), 0 without keyboard navigation.
    virtual int GetKeyboardTipsLevel() const { return 0; }
    // A tip a bar made for one of its controls, taken by the command bars (a link that does not
    // take it leaves it to the caller).
    virtual void AddKeyboardTip(std::unique_ptr<CKLVCommandBarKeyboardTip>&& /*pTip*/) {}
    // A key tip's window paints itself in the look of the command bars' paint manager.
    virtual void DrawKeyboardTip(CDC* /*pDC*/, CKLVCommandBarKeyboardTip* /*pTip*/) {}

    // Tooltips: the shared tooltip host (the bar takes its own reference), whether tool bars
    // show tips, append their shortcuts, and whether controls on popup bars show tips at all.
    virtual CKLVToolTipContext* GetToolTipContext() const { return nullptr; }
    virtual BOOL IsToolBarScreenTips() const { return TRUE; }
    virtual BOOL IsToolBarAccelTips() const { return FALSE; }
    virtual BOOL IsPopupBarTips() const { return FALSE; }
    virtual CKLVAccelManager* GetAccelManager() const { return nullptr; }

    // Customisation: bars that take drops register while their window lives; the drag control
    // is the one being customised; a drag returns its drop effect (0 none, 1 copy, 2 move).
    virtual void RegisterCustomizeTarget(CKLVCommandBar* /*pBar*/) {}
    virtual void UnregisterCustomizeTarget(CKLVCommandBar* /*pBar*/) {}
    virtual CKLVControl* GetDragControl() const { return nullptr; }
    virtual void SetDragControl(CKLVControl* /*pControl*/) {}
    virtual DWORD DoCustomizeDragDrop(CKLVControl* /*pControl*/, BOOL /*bCopyOnly*/) { return 0; }
    // Customize mode, entered for an Alt+drag of a tool bar button (when the option allows it)
    // and left after it; the frame is laid out again afterwards.
    virtual BOOL IsAltDragCustomization() const { return FALSE; }
    virtual void SetCustomizeMode(BOOL /*bMode*/) {}
    // The site handles the customize command.
    virtual BOOL IsCustomizeAvail() const { return FALSE; }
    // Customize mode entered other than by SetCustomizeMode: every control of a docked bar shows.
    virtual BOOL IsCustomizeModeEnteredDirectly() const { return FALSE; }
    virtual void RecalcFrameLayout(BOOL /*bDelay*/ = FALSE) {}
    // The context menu of customize mode for a control, at a screen point.
    virtual void ShowCustomizeContextMenu(CKLVCommandBar* /*pBar*/, CKLVControl* /*pControl*/, POINT /*ptScreen*/) {}
};
