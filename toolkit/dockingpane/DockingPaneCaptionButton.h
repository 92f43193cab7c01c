// A caption button of a tabbed container or floating frame: where it is, whose it is, which
// command it carries and how it is shown.
#pragma once

#include "classlib/Wnd.h"

class CKLVDockingNode;
class CKLVDockingPane;

class CKLVDockingPaneCaptionButton {
public:
    CKLVDockingPaneCaptionButton(UINT nID, CKLVDockingNode* pOwnerNode, CWnd* pOwnerWnd)
        : m_nID(nID), m_pOwnerNode(pOwnerNode), m_pOwnerWnd(pOwnerWnd) {}

    UINT GetID() const { return m_nID; }
    CRect GetRect() const { return m_rcButton; }
    void SetRect(const CRect& rc) { m_rcButton = rc; }
    CKLVDockingNode* GetOwnerNode() const { return m_pOwnerNode; }
    CWnd* GetOwnerWnd() const { return m_pOwnerWnd; }
    BOOL IsPressed() const { return m_bPressed; }
    BOOL IsHot() const { return m_bHot; }
    void SetPressed(BOOL bPressed) { m_bPressed = bPressed; }
    void SetHot(BOOL bHot) { m_bHot = bHot; }
    // 0 floating, 1 docked, 3 hidden: how the Auto Hide pin is drawn.
    DWORD GetState() const { return m_dwState; }
    void SetState(DWORD dwState) { m_dwState = dwState; }

    // The selected pane of a tabbed container; the only pane of a floating frame that holds
    // exactly one; else none.
    CKLVDockingPane* GetOwnerPane() const;
    // TRUE without an owner pane, else by the pane's enabled flag 2.
    BOOL IsEnabled() const;
    // Hot while the point (the owner's client co-ordinates) is over an enabled button; TRUE
    // when the hot state changed (the owner is redrawn then).
    BOOL CheckForMouseOver(CPoint point);
    // Tracks a press with the mouse captured by pWnd; TRUE when released over the button.
    // With bClient the point and the button's rectangle are pWnd's client co-ordinates, else
    // relative to pWnd's window rectangle (a button on a non-client caption). Escape, the right button, a cancel, a lost capture and a quit request end
    // it with FALSE (a quit request stays queued).
    BOOL Click(CWnd* pWnd, CPoint point, BOOL bClient = TRUE);

private:
    void Redraw() const;

    CRect m_rcButton;
    UINT m_nID;
    CKLVDockingNode* m_pOwnerNode;
    CWnd* m_pOwnerWnd;
    BOOL m_bPressed = FALSE;
    BOOL m_bHot = FALSE;
    DWORD m_dwState = 0;
};
