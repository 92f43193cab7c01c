// The invisible child window a frame (the site) installs to host docking panes. It owns the
// live layout, the pane theme and the image manager for pane icons, makes every node of its
// layouts, keeps the active pane and reports to the site's owner through one message.
#pragma once

#include "classlib/Wnd.h"
#include "toolkit/common/Accessible.h"
#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/dockingpane/DockingNode.h"

#include <memory>

class CKLVDockingClientNode;
class CKLVDockingDragContext;
class CKLVDockingLayout;
class CKLVDockingPane;
class CKLVDockingPaneTabbedContainer;
class CKLVDockingPaneTheme;
class CKLVDockingSplitterContainer;
class CKLVImageManager;
class CKLVImageManagerIcon;
class CMenu;
struct CKLVDockingPaneInfo;

class CKLVDockingPaneManager : public CWnd, public CKLVAccessible {
public:
    using PFNSETLAYEREDWINDOWATTRIBUTES = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

    CKLVDockingPaneManager();
    ~CKLVDockingPaneManager() override;

    virtual CKLVDockingLayout* CreateLayout();
    // Sends the notification to the owner window (else the site) and returns its answer.
    virtual LRESULT NotifyOwner(UINT nCode, LPARAM lParam);
    // Types 0 to 5; null for a type this manager cannot make.
    virtual CKLVDockingNode* CreateNode(int nType, CKLVDockingLayout* pLayout);
    virtual void SetActivePane(BOOL bSet, CKLVDockingPane* pPane);

    BOOL InstallDockingPanes(CWnd* pSite, BOOL bClipChildren = TRUE);
    // Reports an action (code 4); returns the cancel flag the owner left.
    BOOL NotifyAction(int nAction, CKLVDockingPane* pPane, LPARAM lValue1 = 0, LPARAM lValue2 = 0);
    void SetTheme(int nTheme);
    CKLVDockingPaneTheme* GetPaintManager() const { return m_pTheme; }
    // 16 x 16 icons for the pane ids from a bitmap that holds exactly nCount images.
    BOOL SetIcons(UINT nIDBitmap, const int* pPaneIDs, int nCount, COLORREF clrMask);
    void SetPaneIcon(UINT nPaneID, HICON hIcon);
    CKLVImageManagerIcon* GetPaneIcon(UINT nPaneID, int nWidth) const;

    // A new pane docked beside pNeighbour (the top container for none) on the side nDirection.
    CKLVDockingPane* CreatePane(UINT nID, CRect rect, int nDirection, CKLVDockingNode* pNeighbour = nullptr);
    void DockNode(CKLVDockingNode* pNode, int nDirection, CKLVDockingNode* pNeighbour);
    void DockPane(CKLVDockingNode* pNode, int nDirection, CKLVDockingNode* pNeighbour = nullptr);
    // Null while this manager makes no floating frames; the node then stays where it is.
    CKLVDockingNode* FloatPane(CKLVDockingNode* pNode, CRect rect);
    void AttachPane(CKLVDockingNode* pNode, CKLVDockingNode* pHolder);
    void ToggleDocking(CKLVDockingNode* pNode);
    BOOL TogglePaneDocking(CKLVDockingPane* pPane, CKLVDockingPaneTabbedContainer* pHolder);
    CKLVDockingPaneTabbedContainer* GetHolder(CKLVDockingPane* pPane, BOOL bFloating);
    void UpdateHolders();
    void BringPaneToTop(CKLVDockingNode* pNode);
    void CalcDockingRect(CRect& rc, CKLVDockingNode* pNode, int nDirection, CKLVDockingNode* pNeighbour);
    BOOL ActivateAdjacentPane(CKLVDockingPane* pCurrent, BOOL bForward);
    // Keyboard navigation flags (1 pane menu, 2 window cycling, 4 and 8 the window selector);
    // 0 leaves the keyboard hook.
    void EnableKeyboardNavigate(int nMask);
    // The pane's one-item system menu ("Move") at its caption; Move drags its container (or its
    // floating frame's content) with the keyboard.
    void ShowSystemMenu(CKLVDockingPane* pPane);
    void CheckFocus();
    void ClosePane(CKLVDockingPane* pPane);
    void HidePane(CKLVDockingNode* pNode);
    void ShowPane(CKLVDockingPane* pPane, BOOL bSetFocus = TRUE);
    CKLVDockingPane* FindPane(UINT nID) const;
    void RecalcLayout(CKLVDockingNode* pNode = nullptr, BOOL bDelay = FALSE);
    void RedrawPanes();
    // Whether a docking site is a floating frame.
    BOOL IsFloatingSite(const CWnd* pSite) const;

    int GetNodeSide(const CKLVDockingNode* pNode) const;
    BOOL IsLayoutRTL() const;
    // Left and right swap in a right-to-left site.
    int MirrorDirection(int nDirection) const;

    CWnd* GetSite() const { return m_pSite; }
    CKLVDockingLayout* GetLayout() const { return m_pLayout; }
    CKLVDockingPane* GetActivePane() const { return m_pActivePane; }
    CKLVDockingNodeList* GetNodeList() const;
    CKLVDockingClientNode* GetClientNode() const;
    CKLVDockingSplitterContainer* GetTopContainer() const;
    BOOL IsLayoutComputed() const { return m_bLayoutComputed; }
    // A pane goes back to a holder it had (hidden groups close their sliding windows later).
    BOOL IsAttachingPane() const { return m_bAttachingPane; }
    BOOL IsInitialUpdateDone() const { return m_bInitialUpdate; }
    PFNSETLAYEREDWINDOWATTRIBUTES GetLayeredWindowAttributes() const { return m_pfnSetLayeredWindowAttributes; }
    CKLVDockingDragContext* GetDragContext() const { return m_pDragContext.get(); }

    // The accessible part.
    KLV_DECLARE_ACCESSIBLE_TARGET()

    // Settings.
    int m_nSplitterGap = 22;             // the smallest pane a splitter drag may leave
    BOOL m_bCloseGroupOnButtonClick = FALSE;
    BOOL m_bHideGroupOnButtonClick = TRUE;
    BOOL m_bShowSizeCursorWhileDragging = FALSE;
    CSize m_szClientMin = CSize(60, 60);
    int m_nSnapDistance = 15;
    int m_nSideMargin = 0;
    BOOL m_bSnapFloatingFrames = FALSE;
    BOOL m_bHideClient = FALSE;
    BOOL m_bSplitterTracker = TRUE;
    BOOL m_bAllowMaximize = FALSE;
    BOOL m_bLockSplitters = FALSE;
    BOOL m_bAlphaDockingContext = FALSE;
    BOOL m_bShowDockingContextStickers = FALSE;
    BOOL m_bShowContentsWhileDragging = FALSE;
    BOOL m_bThemedFloatingFrames = FALSE;
    int m_nSyncActiveFloatingFrames = 1;
    int m_nFloatingFramesOpacity = 255;
    int m_nKeyboardNavigateMask = 0;
    // The class of the Ctrl+Tab window selector (none: CKLVDockingPaneWindowSelect).
    CRuntimeClass* m_pWindowSelectClass = nullptr;
    DWORD m_dwDefaultPaneOptions = 0;
    int m_nCaptionDirection = 0;
    CString m_strFloatingFrameCaption;
    int m_nStickerStyle = 0;
    int m_nReserved = 0;

protected:
    afx_msg LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitialUpdate(WPARAM wParam, LPARAM lParam);
    // SC_NEXTWINDOW and SC_PREVWINDOW step through the panes; the answer says whether one took
    // the focus.
    afx_msg LRESULT OnSysCommandMessage(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    DECLARE_MESSAGE_MAP()

    // The command chosen from the system menu at the point (screen), 0 for none.
    virtual UINT TrackSystemMenu(CMenu* pMenu, CPoint pt);

private:
    void RegisterWindowClasses();
    void ReleaseActivePane();
    void AttachToHolder(CKLVDockingNode* pNode, CKLVDockingNode* pHolder);
    // A hidden group slides out, a rolled-up floating frame rolls out.
    void MakeContainerVisible(CKLVDockingNode* pContainer, CKLVDockingPane* pPane, BOOL bSetFocus);
    // A new splitter container of the live layout with pFirst as its only child.
    CKLVDockingSplitterContainer* NewSplitter(CKLVDockingNode* pFirst, BOOL bHorizontal, CWnd* pSite);

    CWnd* m_pSite = nullptr;
    CKLVDockingLayout* m_pLayout = nullptr;
    CKLVDockingPaneTheme* m_pTheme = nullptr;
    CKLVDockingPane* m_pActivePane = nullptr;
    CKLVImageManager* m_pImageManager = nullptr;
    std::unique_ptr<CKLVDockingDragContext> m_pDragContext;
    PFNSETLAYEREDWINDOWATTRIBUTES m_pfnSetLayeredWindowAttributes = nullptr;
    HWND m_hwndLastFocus = nullptr;
    BOOL m_bAttachingPane = FALSE;
    BOOL m_bLayoutComputed = FALSE;
    BOOL m_bInitialUpdate = FALSE;
    CString m_strMove = "&Move";
    BOOL m_bOleInitialized = FALSE;   // only a successful OleInitialize is undone
};
