// The MDI tab client: it subclasses a frame's MDI client window and shows every visible MDI child
// as a tab. The tabs live in one or more workspaces; with tab groups the workspaces stand side by
// side or stacked with splitters between them and tabs can be dragged from one group to another.
#pragma once

#include "classlib/MDIFrameWnd.h"
#include "classlib/Ole.h"
#include "toolkit/commandbars/interfaces/TabClientLink.h"
#include "toolkit/tabs/TabPainter.h"
#include "toolkit/tabs/TabWorkspace.h"

#include <memory>
#include <utility>

class CKLVCommandBars;
class CKLVCommandBarsLink;
class CKLVTooltipHost;
class CKLVTabClientDropTarget;

class CKLVTabClientWnd : public CWnd, public CKLVTabPainterObserver, public CKLVTabClientLink {
    DECLARE_DYNAMIC(CKLVTabClientWnd)
public:
    // Messages asked of the MDI children, and told to the frame.
    enum : UINT {
        msgGetTabText = 10345, msgGetTabTooltip = 10347, msgGetTabIcon = 10336, msgGetTabColor = 10425,
        msgTabCreated = 10348, msgTabClick = 10344
    };
    // Group commands and the workspace popup's cancel entry.
    enum : UINT {
        idMovePrevGroup = 9155, idMoveNextGroup = 9156, idNewHorzGroup = 9157, idNewVertGroup = 9158,
        idCancelGroup = 9159, idActiveFiles = 9185, idGroupBitmap = 9104, idDragOverCursor = 9108,
        idDragOutsideCursor = 9109
    };
    // SetFlags bits.
    enum : DWORD {
        flagScrollAuto = 0x01, flagNoClose = 0x02, flagListButton = 0x04, flagNoScroll = 0x08, flagItemCloseAlways = 0x10,
        flagItemCloseAuto = 0x20
    };
    // Where a dragged tab would go.
    enum DropState { dropNone = 0, dropClient = 1, dropHeader = 2, dropNewStacked = 3, dropNewSideBySide = 4 };
    enum { nSplitDropZone = 30 };

    CKLVTabClientWnd();
    ~CKLVTabClientWnd() override;

    // FALSE when attached already, when pFrame is no MDI frame or its client cannot be subclassed.
    BOOL Attach(CMDIFrameWnd* pFrame, BOOL bEnableGroups = FALSE);
    void SetFlags(DWORD dwFlags);
    DWORD GetFlags() const { return m_dwFlags; }
    // 0 no tooltips, 1 always, 2 only for captions cut short.
    void EnableToolTips(int nMode);
    CKLVTabPainter* GetPaintManager() const { return m_pPaintManager; }
    // Tabs over every workspace, in workspace order.
    int GetItemCount() const;
    CKLVTabManagerItem* GetItem(int nIndex) const;
    CKLVTabManagerItem* FindItem(HWND hWnd) const;
    void Refresh(BOOL bRecalcLayout = TRUE) override;
    int GetWorkspaceCount() const { return static_cast<int>(m_arrWorkspace.GetSize()); }
    CKLVTabWorkspace* GetWorkspace(int nIndex) const { return m_arrWorkspace[nIndex]; }
    CKLVTabWorkspace* GetActiveWorkspace() const { return m_pActiveWorkspace; }
    CMDIFrameWnd* GetFrame() const { return m_pFrame; }
    BOOL IsGroupsEnabled() const { return m_bEnableGroups; }
    BOOL IsStackedGroups() const { return m_bHorizSplitting; }
    BOOL IsLocked() const { return m_bLockUpdate; }
    // A click on a row: no refresh until the next idle update.
    void LockUntilIdle() { m_bLockReposition = m_bLockUpdate = TRUE; }
    // Moves a tab into another group (dropHeader) or into a new one after its own.
    void MoveItemToGroup(CKLVTabManagerItem* pItem, CKLVTabWorkspace* pTarget, int nDropState);
    BOOL IsGroupCommandEnabled(UINT nID) const override;
    // The client's splitters and frame in the appearance's colours: part 0 the border, 1 the
    // border taken from a rectangle (no DC), 2 a splitter between side-by-side groups, 3 between
    // stacked groups.
    void DrawWorkspacePart(CDC* pDC, CRect* pRect, int nPart);

    virtual void UpdateContents();
    virtual CKLVTabWorkspace* CreateWorkspace();
    virtual void FillBackground(CDC* pDC, CRect rc);
    virtual void DrawClient(CDC* pDC);
    virtual CKLVCommandBars* GetCommandBars() const;
    // The same command bars as their link: their paint manager and the frame's layout.
    CKLVCommandBarsLink* GetCommandBarsLink() const;
    virtual void SyncTheme();
    virtual CString GetItemText(CWnd* pChildWnd) const;
    virtual COLORREF GetItemColor(const CKLVTabManagerItem* pItem) const;
    virtual HICON GetItemIcon(const CKLVTabManagerItem* pItem) const;
    virtual CString GetItemTooltip(const CKLVTabManagerItem* pItem) const;
    virtual CKLVTabWorkspace* AddWorkspace(int nIndex = -1);
    virtual CKLVTabManagerItem* AddItem(CWnd* pChildWnd);
    virtual void ApplyFlags(CKLVTabWorkspace* pWorkspace);
    virtual BOOL OnBeforeItemClick(CKLVTabManagerItem* /*pItem*/) { return TRUE; }

    void Reposition() override;
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Re-lays the frame (the workspaces' reposition lands here).
    void RecalcFrameLayout();
    // The group drag of a workspace's tab; with one workspace holding one tab only a selection.
    void TrackGroupDrag(CKLVTabWorkspace* pWorkspace, CPoint pt, CKLVTabManagerItem* pItem);
    // The tab list of a workspace's list button as a popup; the chosen tab's window activated.
    void ShowTabList(CKLVTabWorkspace* pWorkspace, CKLVTabManagerNavigateButton* pButton);
    // The menu of a tab dropped on the client: the enabled group commands and Cancel.
    void ShowWorkspaceMenu(CPoint ptScreen);
    // The drop state and target for a point of the client (group drag).
    int HitTestDropState(CKLVTabWorkspace* pSource, CPoint pt, CKLVTabWorkspace*& pTarget, CRect& rcTarget) const;
    // Each workspace's share becomes its band's length in pixels.
    void SharesFromRects();
    CKLVTabWorkspace* WorkspaceFromPoint(CPoint pt) const;
    int SplitterFromPoint(CPoint pt) const;

    BOOL m_bLockReposition = FALSE;   // lock until idle
    BOOL m_bLockUpdate = FALSE;
    BOOL m_bForceToRecalc = FALSE;    // layout pending
    BOOL m_bDelayLock = FALSE;        // workspaces only mark the layout pending
    CArray<CKLVTabWorkspace*, CKLVTabWorkspace*> m_arrWorkspace;
    CKLVTabWorkspace* m_pTabWorkspace = nullptr;   // external workspace
    BOOL m_bNoWorkspaces = FALSE;
    CMDIFrameWnd* m_pFrame = nullptr;
    BOOL m_bRefreshed = FALSE;        // in refresh
    CKLVTabPainter* m_pPaintManager = nullptr;
    int m_nTheme = 0;
    BOOL m_bThemedBackColor = TRUE;   // follow the command-bar theme
    CKLVTabWorkspace* m_pActiveWorkspace = nullptr;
    BOOL m_bHorizSplitting = TRUE;    // stacked groups
    HCURSOR m_hCursorHoriz = nullptr;
    HCURSOR m_hCursorVert = nullptr;
    HCURSOR m_hCursorNew = nullptr;
    HCURSOR m_hCursorDelete = nullptr;
    BOOL m_bUserWindowProc = TRUE;    // paint the client area
    BOOL m_bEnableGroups = FALSE;
    DWORD m_dwFlags = 0;
    BOOL m_bAllowReorder = TRUE;
    BOOL m_bShowWorkspace = TRUE;
    BOOL m_bUpdateContents = FALSE;   // in update
    std::unique_ptr<CKLVTooltipHost> m_pToolTipContext;
    BOOL m_bOutlineSplitter = TRUE;
    int m_nSplitterSize = 5;
    int m_nNewTabPosition = 0;        // 0 last, 1 first, 2 after the selected tab
    BOOL m_bAutoMDIActivate = TRUE;   // let MDI activate
    CRect m_rcGroup;                  // drop rectangle
    std::unique_ptr<CKLVTabClientDropTarget> m_pDropTarget;
    CKLVTabWorkspace* m_pFocusWorkspace = nullptr;   // drop workspace
    int m_nFocusedAction = dropNone;
    CRect m_rcLast;
    CSize m_szLast;
    CDC* m_pDC = nullptr;             // the desktop's, while a group drag draws its outline
    BOOL m_bIgnoreFlickersOnActivate = FALSE;   // keep redraw
    BOOL m_bRTLWorkspace = FALSE;
    UINT m_nMsgUpdateSkinState;
    UINT m_nMsgQuerySkinState;

protected:
    LRESULT OnMDIMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnMDICreated(HWND hWndChild);
    void OnMDIDestroy(HWND hWndChild);
    void OnClientLButtonDown(CPoint point);
    void OnClientPaint();
    LRESULT OnClientNcMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnGroupCommand(UINT nID);
    void OnUpdateGroupCommand(CCmdUI* pCmdUI);
    void TrackSplitter(int nSplitter, CPoint point);
    void ApplySplitterPosition(int nSplitter, int nPosition);
    // The outer edges, along the group axis, of the two groups beside a splitter.
    std::pair<int, int> GetSplitterSpan(int nSplitter) const;
    void LayoutGroups(CRect rc);
    void LayoutSingleRow(CRect& rc);
    void RemoveEmptyWorkspace(int nIndex);
    void DeleteWorkspace(CKLVTabWorkspace* pWorkspace);
    CKLVTabWorkspace* FindWorkspace(const CKLVTabManagerItem* pItem) const;
    CKLVTabManagerItem* GetActiveTab() const;
    DECLARE_MESSAGE_MAP()
};
