// The window every command bar derives from: it owns the controls, keeps the hot and the open
// control, tracks the keyboard, routes the mouse to the control under it, updates the commands'
// state at idle time, draws through the paint manager and its animation, takes customize drops
// and answers accessibility clients.
#pragma once

#include "classlib/Wnd.h"
#include "toolkit/commandbars/controlbase/ControlHost.h"
#include "toolkit/common/Accessible.h"
#include "toolkit/common/HookSink.h"
#include "toolkit/common/MouseHook.h"

#include <memory>

class CKLVCommandBarAnimation;
class CKLVCommandBarKeyboardTip;
class CKLVCommandBarList;
struct CKLVPropExchangeParam;
class CKLVCommandBars;
class CKLVCommandBarsLink;
class CKLVCommandBarsOptions;
class CKLVControl;
class CKLVControls;
class CKLVDockBar;
class CKLVImageManager;
class CKLVPaintManager;
class CKLVPropExchange;
class CKLVToolTipContext;

class CKLVCommandBar : public CWnd, public CKLVHookedPopupBar, public CKLVControlHost {
    DECLARE_SERIAL(CKLVCommandBar)
public:
    // The bar types and positions are the paint manager's face's, the large-buttons flag the control
    // host's.
    enum DelayedWork { delayLayout = 1, delayRedraw = 2 };
    enum { styleGripper = 0x400000 };
    // Popup bars get ids from here on when their state is collected.
    enum : UINT { firstGeneratedBarID = 0x1000000 };
    // Keyboard codes of SetSelected and the controls' selected state.
    enum { selectedByMouse = 1, selectedForward = 2, selectedBackward = 3 };
    enum SpecialKey { keyNext = 0, keyPrev, keyCollapse, keyExpand, keyEscape, keyReturn, keyHome, keyEnd };
    enum HookResult { hookKeyHandled = 1, hookKeyPass = 2 };
    // Timers and the messages the bar sends its site.
    enum : UINT {
        timerHover = 112223, timerShowFull = 112224, timerAnimation = 707907, timerKeyboardTips = 52426,
        msgSelectedChanged = 0x2856, msgMenuBarTracking = 0x2858, msgRButtonUp = 0x2859, msgTrackingKey = 0x285A,
        codeIdleUpdate = 0xBD11FFFF
    };

    CKLVCommandBar();
    ~CKLVCommandBar() override;

    // Virtual operations in the order every derived bar was built against.
    virtual void DelayRedraw() { m_nIdleFlags |= delayRedraw; }
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    virtual BOOL LoadMenu(CMenu* pMenu, BOOL bRemoveAll = TRUE);
    BOOL SetSelected(int nSelected, BOOL bKeyboard = FALSE) override;
    virtual BOOL LoadToolBar(UINT nIDResource, BOOL bLoadIcons = TRUE);
    CSize GetIconSize() const override;
    CSize GetButtonSize() const override;
    virtual BOOL Popup(CKLVControl* /*pControl*/, BOOL /*bSelectFirst*/) { return FALSE; }
    virtual void SetVisible(BOOL /*bVisible*/) {}
    virtual BOOL IsVisible() const { return FALSE; }
    virtual BOOL SetPosition(int /*nPosition*/) { return FALSE; }
    virtual DWORD OnCustomizeDragEnter(CKLVControl* pDataObject, CPoint point);
    virtual void OnCustomizeDragLeave();
    virtual DWORD OnCustomizeDragOver(CKLVControl* pDataObject, CPoint point);
    virtual void OnCustomizeDrop(CKLVControl* pDataObject, DWORD& dwEffect, CPoint point);
    BOOL IsCustomizable() const override { return m_bCustomizable; }
    void OnRecalcLayout() override {}
    void OnControlSelected(int bSelected, CKLVControl* pControl) override;
    virtual CKLVCommandBar* GetParentCommandBar() const { return nullptr; }
    // A short menu shows all its items; other bars have none hidden.
    virtual void ExpandBar() {}
    // The tool bar and the bars made from it (menu, dialog and ribbon bars).
    virtual BOOL IsToolBar() const { return FALSE; }
    virtual BOOL IsDialogBar() const { return FALSE; }
    virtual BOOL IsRibbonBar() const { return FALSE; }
    BOOL IsPopupBar() const override { return FALSE; }
    // Whether the user is asked before a customised bar loaded from the saved state replaces
    // this bar whose built-in controls have changed since the save.
    virtual BOOL AsksBeforeTakingUpdatedBar() const { return TRUE; }
    virtual void DoPropExchange(CKLVPropExchange* pPX);
    BOOL IsKeyboardCuesVisible() const override;
    void Redraw(LPCRECT lpRect = nullptr, BOOL bAnimate = FALSE) override;
    virtual void DrawCommandBar(CDC* pDC, CRect rcClipBox);
    virtual void OnKeyboardSelect(CKLVControl* /*pControl*/) {}
    virtual void GetBorders(CRect& rcBorders);
    virtual void FillCommandBarEntry(CDC* pDC);
    // A tip for every visible control with a caption (galleries have their own keys), into the
    // command bars' key tips.
    virtual void CreateKeyboardTips();
    // The tip's key was typed: its control is activated, or its tool bar takes the keyboard.
    virtual void OnKeyboardTip(CKLVCommandBarKeyboardTip* pTip);
    // Alt with a key, before the mnemonics of the bar's controls are searched: TRUE when the bar
    // took the key itself.
    virtual BOOL OnAltMnemonic(UINT /*nKey*/) { return FALSE; }
    // The frame's wheel turned over the bar (the ribbon switches tabs).
    virtual void OnWheelOverBar(int /*nDelta*/) {}
    virtual int OnHookKeyDown(UINT nChar, LPARAM lParam);
    virtual CSize CalcDynamicLayout(int /*nLength*/, DWORD /*dwMode*/) { return CSize(0, 0); }
    virtual BOOL ProcessSpecialKey(int nKey);
    void DelayLayout() override;
    virtual void Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive = FALSE);
    virtual BOOL IsPointInBar(CPoint ptScreen) const;
    virtual void OnLoadedHook() {}
    virtual void OnAfterLoadHook() {}
    virtual void OnAfterLoadCommandBarsHook() {}
    virtual void OnRemoved();
    void OnIdleUpdate(BOOL bDisableIfNoHandler = TRUE, BOOL bIgnored = FALSE) override;
    virtual int OnQueryReserved(int /*nArg*/) { return 0; }
    CKLVCommandBar* Clone(BOOL bRecursive) override;
    // The top of the parent-bar chain (a popup's bar leads to the bar of the control that opened it).
    CKLVCommandBar* GetRootParent() override;
    // The window that receives the bar's commands.
    CWnd* GetSite() const override;
    // Saved state: the bar joins the list once (a popup bar with an id from nID), then the bars
    // its controls lead to; a loaded bar's popup controls find their bars in the loaded list.
    void GenerateCommandBarList(DWORD& nID, CKLVCommandBarList* pList, CKLVPropExchangeParam* pParam) override;
    void RestoreCommandBarList(CKLVCommandBarList* pList) override;

    // The host of the control base: the bar, its window and the state its controls read and set.
    CKLVCommandBar* AsCommandBar() override { return this; }
    CWnd* AsWnd() override { return this; }
    UINT GetFlags() const override { return m_nFlags; }
    UINT GetBarID() const override { return m_nBarID; }
    int GetSelectedIndex() const override { return m_nSelected; }
    int GetPopupedIndex() const override { return m_nPopuped; }
    void SetMultiLine(BOOL bMultiLine) override { m_bMultiLine = bMultiLine; }
    void SetDragStart(CPoint ptClient) override { m_ptDragStart = ptClient; }
    CWnd* GetSiteOverride() const override { return m_pSiteOverride; }
    void SetSiteOverride(CWnd* pSite) override { m_pSiteOverride = pSite; }
    UINT* GetReturnCmd() const override { return m_pReturnCmd; }

    // Controls.
    int GetControlCount() const final;
    CKLVControlFace* GetControlFace(int nIndex) const final;
    CRect GetFaceClientRect() const final;
    CKLVControl* GetControl(int nIndex) const;
    CKLVControls* GetControls() const override { return m_pControls; }
    // Replaces the controls by the collection (taking its reference).
    void SetControls(CKLVControls* pControls);

    // The owning command bars and the services they lend, found through the parent bars.
    CKLVCommandBars* GetCommandBars() const override;
    CKLVCommandBarsLink* GetCommandBarsLink() const override;
    // The link of the command bars that own the bar: null when none do, even where the bar was
    // given a link of its own.
    CKLVCommandBarsLink* GetOwnerLink() const override;
    BOOL IsCustomizeMode() const override;
    CWnd* GetOwnerSite() const;
    CFrameWnd* GetFrameSite() const;
    // Own paint manager, the command bars', the root's, else the process-wide one (theme 0).
    CKLVPaintManager* GetPaintManager() const override;
    // Takes ownership (the previous own paint manager is released).
    void SetPaintManager(CKLVPaintManager* pPaintManager);
    CKLVImageManager* GetImageManager() const override;
    void SetImageManager(CKLVImageManager* pImageManager);

    int GetType() const final { return m_barType; }
    int GetPosition() const final { return m_barPosition; }
    int GetTrackingMode() const override { return m_bTracking; }
    const CString& GetTitle() const final { return m_strTitle; }
    void SetTitle(const CString& strTitle) override { m_strTitle = strTitle; }
    void SetFlags(UINT nAdd, UINT nRemove = 0) { m_nFlags = (m_nFlags | nAdd) & ~nRemove; }
    void ShowGripper(BOOL bShow);
    BOOL IsGripperVisible() const { return (m_dwStyle & styleGripper) != 0; }
    void SetMRUWidth(int nWidth) { m_nMRUWidth = nWidth; }
    int GetMRUWidth() const override { return m_nMRUWidth; }
    // The icon size of large buttons; bAutoSize lets the paint manager's automatic large size
    // stand in when no size is set.
    CSize GetLargeIconSize(BOOL bAutoSize) const final;
    // 2 follows the command bars' option of that name (off without command bars).
    BOOL IsTextBelowIcons() const final;
    // The command bars' options; null without command bars.
    CKLVCommandBarsOptions* GetOptions() const;
    // A popup bar shows two icon columns when asked and its flag holds.
    BOOL IsDoubleGripper() const final { return m_bDoubleGripper; }
    int GetDefaultButtonStyle() const override { return m_nDefaultButtonStyle; }
    BOOL IsLayoutRTL() const;
    BOOL IsVerticalBar() const;
    void EnableAnimation(BOOL bEnable = TRUE);
    BOOL IsAnimationEnabled() const;
    void EnableDoubleBuffer(BOOL bEnable = TRUE);
    CKLVCommandBarAnimation* GetAnimation() const { return m_pAnimation.get(); }

    void ClearSelection() { SetSelected(-1, FALSE); }
    void EndTracking() { SetTrackingMode(0, TRUE, FALSE); }
    BOOL SetPopuped(int nPopuped, BOOL bKeyboard = FALSE) override;
    // The control whose mnemonic the key types; -1 when none, bAmbiguous when several.
    int FindAccel(UINT nChar, BOOL& bAmbiguous) const;
    // The mnemonic of a caption: the character after the first '&' unless that is the last
    // character, else the first character; bAmpersand tells which.
    static TCHAR MnemonicOf(const CString& strCaption, BOOL& bAmpersand);
    void RedrawWithParents();
    // Hides the tip shown now, the class library's and that of the bars' tooltip host.
    void HideToolTips();
    // With the option "automatic shortcuts", each own control's automatic shortcut text becomes
    // the one the accelerator manager finds for its id (none: empty); without any table the
    // texts menus brought stay.
    void UpdateShortcuts();
    void SetStatusBarMessage(const CString& strMessage);
    // The tooltip host shared through the command bars; the bar holds a reference on it.
    CKLVToolTipContext* GetToolTipContext() const { return m_pToolTipContext; }
    void SetToolTipContext(CKLVToolTipContext* pContext);
    // The control being customised: the command bars' drag control.
    CKLVControl* GetCustomizeSelected() const;
    // Tooltips: the control under the point names the tool (-1 none).
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    // Redraws wait while the lock is held and run at the next idle update.
    void LockRedraw() { ++m_nLockRedraw; }
    void UnlockRedraw() { --m_nLockRedraw; }
    BOOL IsMouseLocked() const;
    // The insertion point for a customize drop at the client point: the control index and
    // whether the drop goes before it; the mark is filled in.
    int FindInsertControl(CPoint point, BOOL& bBefore, CRect& rcMark) const;

    // The mouse hook's view of the bar.
    HWND GetPopupHwnd() const override { return GetSafeHwnd(); }
    int HitTestPopup(POINT ptScreen) override;
    void EndPopupTracking() override { SetTrackingMode(0); }
    void ClearSelectedControl() override { SetSelected(-1); }
    void OnPopupMouseMove(UINT nFlags, CPoint point) override { OnMouseMove(nFlags, point); }

    BOOL m_bIgnoreMouseLock = FALSE;
    BOOL m_bHideCaretWhileTracking = TRUE;
    int m_nMRUWidth = 32767;
    int m_nSelected = -1;
    int m_nPopuped = -1;
    HWND m_hwndCaret = nullptr;
    UINT m_nBarID = 0;
    BOOL m_bVisible = TRUE;
    int m_bTracking = 0;
    CWnd* m_pSiteOverride = nullptr;
    UINT m_nIdleFlags = 0;
    UINT m_nFlags = 0;
    DWORD m_dwStyle = styleGripper;
    CString m_strTitle;
    int m_barType = barTypeNormal;
    CKLVControls* m_pControls = nullptr;
    int m_barPosition = barNone;
    CKLVCommandBars* m_pCommandBars = nullptr;
    CWnd* m_pOwner = nullptr;
    CSize m_szIcons = CSize(0, 0);
    CSize m_szButtons = CSize(0, 0);
    int m_nShowTextBelowIcons = 2;
    BOOL m_bRightButtonAsLeft = FALSE;
    BOOL m_bNoCommandUpdates = FALSE;
    int m_nKeyboardSelection = 0;
    BOOL m_bCustomizable = TRUE;
    CRect m_rcMarker;
    BOOL m_bVerticalMarker = FALSE;
    // Where a popup tracked for its result stores the chosen command; null otherwise.
    UINT* m_pReturnCmd = nullptr;
    BOOL m_bRibbonFlag = TRUE;
    BOOL m_bEnteredByMouse = FALSE;
    int m_nLockRedraw = 0;
    BOOL m_bPopupHotTracking = TRUE;
    CKLVPaintManager* m_pPaintManager = nullptr;
    CKLVImageManager* m_pImageManager = nullptr;
    BOOL m_bMultiLine = FALSE;
    int m_nDefaultButtonStyle = 0;
    std::unique_ptr<CKLVCommandBarAnimation> m_pAnimation;
    int m_nDescribed = -1;
    // Lent by the command bars; a child bar finds its parent's.
    CKLVCommandBarsLink* m_pLink = nullptr;
    // Where the customize drag started, in client coordinates.
    CPoint m_ptDragStart;
    BOOL m_bKeyboardCuesVisible = TRUE;
    BOOL m_bDoubleGripper = FALSE;
    CKLVToolTipContext* m_pToolTipContext = nullptr;
    // A floating tool bar shows a close button.
    BOOL m_bCloseable = FALSE;
    // Bars the program made, as against those the user made; bars torn off a popup.
    BOOL m_bBuiltIn = TRUE;
    BOOL m_bTearOffBar = FALSE;
    // The dock bar holding the bar; null while it floats or is not docked.
    CKLVDockBar* m_pDockBar = nullptr;

protected:
    // Hands the thread's key-downs and wheel turns of tracking mode to the bar.
    class CHookSink : public CKLVHookSink {
    public:
        explicit CHookSink(CKLVCommandBar* pBar) : m_pBar(pBar) {}
        int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
        CKLVCommandBar* m_pBar;
    };
    // The bar for accessibility clients.
    class CAccessible : public CKLVAccessible {
    public:
        explicit CAccessible(CKLVCommandBar* pBar) : m_pBar(pBar) {}
        KLV_DECLARE_ACCESSIBLE_ELEMENT()
        HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
        CCmdTarget* GetAccessibleTarget() override { return m_pBar; }
        CKLVCommandBar* m_pBar;
    };

    LPUNKNOWN GetInterface(const IID& iid) override;
    void OnFinalRelease() override;
    // Every message passes the tooltip context's filter before it is handled.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // The tooltip text of a control: its tip, and its shortcut when the command bars ask.
    CString GetToolTipText(CKLVControl* pControl) const;
    BOOL IsContextHelpMode() const;
    // The control of the 1-based accessible child id; null for 0 or out of range.
    CKLVControl* GetAccessibleControl(long nChild) const;
    void ReleaseOwnedManagers();
    void PerformTrackingKey(UINT nChar, LPARAM lParam, int& nResult);
    int SpecialKeyForDirection(UINT nChar) const;
    void OnHoverTimer();
    void OnShowFullTimer();
    void UpdateTemplateControls();
    // Alt+drag of a tool bar control customises it without customize mode; FALSE when not allowed.
    BOOL AltDragCustomize(CKLVControl* pControl, CPoint point);
    void UpdateControlCommands(BOOL bDisableIfNoHandler);
    void DrawInsertMark(CDC* pDC) const;

    CHookSink m_hookSink{this};
    CAccessible m_accessible{this};

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitialUpdate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    friend class CAccessible;
};
