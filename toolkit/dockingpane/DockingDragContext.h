// Moves docking content for the user: a pane, a tabbed container or a floating frame's content
// dragged by its caption or tab, or moved with the keyboard. Each step decides whether the
// content would float at a rectangle or dock beside or into a container, shows that decision
// (inverted frames on the desktop, or translucent windows, with docking stickers), and the drop
// floats, moves or docks it through the manager. It also snaps a floating frame being sized.
#pragma once

#include "classlib/Wnd.h"
#include "toolkit/common/GdiHandles.h"

#include <map>
#include <memory>
#include <vector>

class CKLVDockingNode;
class CKLVDockingPane;
class CKLVDockingPaneAlphaWnd;
class CKLVDockingPaneManager;
class CKLVDockingPaneSticker;
class CKLVHeldReference;

class CKLVDockingDragContext {
public:
    enum { nDragThreshold = 4, nKeyboardStep = 10, nKeyboardCursorDrop = 15, nFrameWidth = 4,
           nStickerInset = 16, nMinVisible = 10 };

    explicit CKLVDockingDragContext(CKLVDockingPaneManager* pManager);
    virtual ~CKLVDockingDragContext();
    CKLVDockingDragContext(const CKLVDockingDragContext&) = delete;
    CKLVDockingDragContext& operator=(const CKLVDockingDragContext&) = delete;

    // A whole drag of the node from the screen point; (-1, -1) moves it with the keyboard.
    virtual void Drag(CKLVDockingNode* pNode, int x, int y);
    // Snaps the sized edge of a floating frame (its WM_SIZING) to the site and the other frames.
    virtual void OnSizing(CWnd* pFrame, UINT nEdge, LPRECT lpRect);
    // The modal loop: moves, keys, the drop.
    virtual void Track();
    // One step at a screen point.
    virtual void Move(int x, int y);
    virtual void InitLoop();
    // Ends the drawing and lets go of everything the loop held.
    virtual void CancelLoop();
    virtual void Draw(BOOL bRemove);
    virtual void FindDockTarget(int x, int y);
    virtual void SnapToFrames(CRect& rc);

    // The set-up of Drag (floating rectangle, action 0 and the options of every pane) without
    // the loop.
    void BeginDrag(CKLVDockingNode* pNode, CPoint pt);
    // A side of rc (screen) near the point: the target, side and docking rectangle when found.
    BOOL CanDockAt(CRect rc, CPoint pt, CKLVDockingNode* pNode, BOOL bInside);
    // Action 4 (6 for a tab) for every dragged pane; FALSE at the first cancel.
    BOOL CanDockSide(CKLVDockingNode* pTarget, int nSide);
    BOOL CanDockTab(CKLVDockingNode* pTarget);
    void UpdateStickers();
    CKLVDockingPaneSticker* AddSticker(CRect rc, int nMask);
    void RemoveStickers();
    void SnapToWindow(CRect& rc, CWnd* pWnd) const;
    void SnapSizingToWindow(UINT nEdge, CRect& rc, CWnd* pWnd) const;
    // Whether a's floating frame lies above b's in the Z order.
    static BOOL IsAbove(const CKLVDockingNode* a, const CKLVDockingNode* b);

    CKLVDockingPaneManager* GetManager() const { return m_pManager; }
    int GetStickerStyle() const;
    CKLVDockingNode* GetNode() const { return m_pNode; }
    CKLVDockingNode* GetTarget() const { return m_pTarget; }
    int GetSide() const { return m_nSide; }
    BOOL IsDockAsTab() const { return m_bDockAsTab; }
    BOOL CanFloat() const { return m_bMayFloat; }
    BOOL CanDock() const { return m_bMayDock; }
    BOOL IsKeyboardMode() const { return m_bKeyboard; }
    BOOL IsAlphaPreview() const { return m_bAlpha; }
    CRect GetFloatingRect() const { return m_rcFloat; }
    CRect GetDockingRect() const { return m_rcDock; }
    CRect GetStickerTargetRect() const { return m_rcStickerTarget; }
    CKLVDockingNode* GetStickerTargetNode() const { return m_pStickerTarget; }
    const std::vector<std::unique_ptr<CKLVDockingPaneSticker>>& GetStickers() const { return m_arrStickers; }
    CWnd* GetPreviewWindow() const;
    CWnd* GetTabPreviewWindow() const;
    BOOL HasDesktopDC() const { return m_hDesktopDC != nullptr; }
    // The docking area inside the auto-hide panels, screen co-ordinates.
    CRect GetRootRect() const;
    // The cached window region of a sticker mask (built on first use); null when none.
    HRGN GetStickerRegion(int nMask);
    void EnableStickers(BOOL bAlpha, BOOL bStickers);

private:
    // The dragged node's panes.
    std::vector<CKLVDockingPane*> CollectPanes() const;
    BOOL NotifyPanes(int nAction, LPARAM lValue1, LPARAM lValue2, BOOL bStopAtCancel) const;
    void HoldNode(CKLVDockingNode* pNode);
    BOOL IsInDraggedNode(const CKLVDockingNode* pNode) const;
    // The tabbed container a floating frame shows under the point, topmost first.
    CKLVDockingNode* FindFloatingCandidate(CPoint pt) const;
    // Whether a pane's container may take the content: in a splitter, visible, not dragged.
    CKLVDockingNode* GetDockableContainer(CKLVDockingPane* pPane) const;
    void FindStickerTarget(CPoint pt, CKLVDockingNode* pCandidate);
    void HitTestStickers(CPoint pt);
    void DispatchPendingPaints();
    BOOL OnTrackMessage(const MSG& msg, BOOL& bDrop);
    void OnKeyboardStep(UINT nKey);
    void Drop();
    void DropFloating();
    // The splitter container of a floating frame being dragged: its frame; else null.
    CWnd* GetDraggedFrame() const;
    void MoveLive();
    void DrawInverted(const CRect& rc, BOOL bTab);
    void DrawAlpha(const CRect& rc, BOOL bTab);
    void SuspendPreview();
    void LockDesktop();
    void UnlockDesktop();
    void DestroyAlphaWindows();
    void ClearRegionCache();
    std::unique_ptr<CKLVDockingPaneAlphaWnd> CreateAlphaWindow();
    // Covers rc with the window, made anew when its size changes.
    void PlaceAlphaWindow(std::unique_ptr<CKLVDockingPaneAlphaWnd>& pWnd, const CRect& rc);
    // The site and the other visible floating frames, which moving and sized frames snap to.
    std::vector<CWnd*> GetSnapPartners(const CWnd* pExcept) const;

    std::unique_ptr<CKLVDockingPaneAlphaWnd> m_pPreview;
    std::unique_ptr<CKLVDockingPaneAlphaWnd> m_pTabPreview;
    BOOL m_bStickers = FALSE;
    BOOL m_bAlpha = FALSE;
    CRect m_rcStickerTarget;
    CKLVDockingNode* m_pStickerTarget = nullptr;
    CKLVDockingNode* m_pStickerNodeShown = nullptr;
    BOOL m_bStickersShown = FALSE;
    std::vector<std::unique_ptr<CKLVDockingPaneSticker>> m_arrStickers;
    CPoint m_ptLast;
    CPoint m_ptStart;
    BOOL m_bMoved = FALSE;   // the start point was left behind: every later move counts
    CRect m_rcFloat;
    CRect m_rcMoving;
    CKLVDockingPaneManager* m_pManager;
    CKLVDockingNode* m_pNode = nullptr;
    std::unique_ptr<CKLVHeldReference> m_pNodeReference;
    BOOL m_bKeyboard = FALSE;
    BOOL m_bSuspended = FALSE;
    CKLVDockingNode* m_pTarget = nullptr;
    CRect m_rcDock;
    int m_nSide = -1;
    BOOL m_bDockAsTab = FALSE;
    BOOL m_bMayFloat = TRUE;
    BOOL m_bMayDock = TRUE;
    CRect m_rcLastDrawn;
    CRect m_rcLive;   // where a live move last put the content
    BOOL m_bLastTab = FALSE;
    std::map<int, CKLVGdiObjectOwner> m_mapRegions;   // sticker window regions by part mask
    HDC m_hDesktopDC = nullptr;
    BOOL m_bDesktopLocked = FALSE;
};
