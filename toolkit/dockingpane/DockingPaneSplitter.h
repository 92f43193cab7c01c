// The bar between two neighbouring children of a splitter container. Dragging it gives the two
// neighbours new requested sizes. Bars made without a container only paint the margins around
// the docking area.
#pragma once

#include "classlib/Wnd.h"

class CKLVDockingNode;
class CKLVDockingPaneManager;
class CKLVDockingSplitterContainer;

class CKLVDockingPaneSplitter : public CWnd {
public:
    CKLVDockingPaneSplitter() = default;
    ~CKLVDockingPaneSplitter() override;

    // A bar between pBefore and pAfter, a child of the container's docking site.
    BOOL Create(CKLVDockingSplitterContainer* pContainer, CKLVDockingNode* pBefore, CKLVDockingNode* pAfter);
    // A margin bar of the manager's site: it paints but never drags.
    BOOL Create(CKLVDockingPaneManager* pManager, BOOL bHorizontal);

    BOOL IsHorizontal() const { return m_bHorizontal; }
    CKLVDockingSplitterContainer* GetContainer() const { return m_pContainer; }
    CKLVDockingNode* GetNodeBefore() const { return m_pBefore; }
    CKLVDockingNode* GetNodeAfter() const { return m_pAfter; }
    // Screen co-ordinates: where the bar's leading edge may go, and the two neighbours' union.
    BOOL GetTrackLimits(CRect& rcBounds, CRect& rcUnion) const;
    // The neighbours' requested sizes for the bar at rcBar (screen co-ordinates) within rcUnion.
    void ApplyTrackRect(const CRect& rcBar, const CRect& rcUnion);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateBar(CWnd* pParent);
    BOOL CanDrag() const;
    void TrackOutline(const CRect& rcBounds, const CRect& rcUnion, CRect rcBar, CPoint ptScreen);
    void TrackLive(const CRect& rcBounds, const CRect& rcUnion, CRect rcBar, CPoint ptScreen);
    int GetThickness() const;

    CKLVDockingSplitterContainer* m_pContainer = nullptr;
    CKLVDockingNode* m_pBefore = nullptr;
    CKLVDockingNode* m_pAfter = nullptr;
    CKLVDockingPaneManager* m_pManager = nullptr;
    HCURSOR m_hCursor = nullptr;
    BOOL m_bHorizontal = FALSE;   // the bar runs left to right (its container is vertical)
};
