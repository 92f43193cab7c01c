// The node that lays its children side by side, left to right (horizontal) or top to bottom.
#pragma once

#include "classlib/CmdTarget.h"
#include "toolkit/dockingpane/DockingNode.h"

#include <functional>

class CKLVDockingPaneManager;
class CKLVDockingPaneSplitter;

class CKLVDockingSplitterContainer : public CCmdTarget, public CKLVDockingContainer {
public:
    explicit CKLVDockingSplitterContainer(CKLVDockingLayout* pLayout)
        : CKLVDockingContainer(typeSplitterContainer, pLayout) {}
    ~CKLVDockingSplitterContainer() override;

    // A new bar object, not yet created; the container deletes it.
    virtual CKLVDockingPaneSplitter* OnCreateSplitter();

    // Orientation and site, then pFirst as the only child; takes the child's docking size.
    void Init(CKLVDockingNode* pFirst, BOOL bHorizontal, CWnd* pSite);
    // Before (or with bAfter after) pNeighbour; at the head (tail) when it is not a child.
    void InsertChild(CKLVDockingNode* pNode, CKLVDockingNode* pNeighbour, BOOL bAfter);
    void ReplaceChild(CKLVDockingNode* pOld, CKLVDockingNode* pNew);
    // The orientation and the children of pSource as clones (empty ones only with bKeepEmpty).
    void CopyFrom(CKLVDockingSplitterContainer* pSource, BOOL bKeepEmpty, CKLVDockingNodeMap* pMap = nullptr);
    // pChild, its container's only child, takes its place as this container's only child.
    void TakeOnlyChild(CKLVDockingSplitterContainer* pChild);

    BOOL IsHorizontal() const { return m_bHorizontal; }
    // TRUE when a comes before b among the children; FALSE when b comes first or a is no child.
    BOOL IsChildBefore(const CKLVDockingNode* a, const CKLVDockingNode* b) const;
    CKLVDockingNode* FindChildContaining(const CKLVDockingNode* pNode) const;
    void CollectChildren(int nType, CKLVDockingNodeList* pList) const;
    // The container's own extent along its axis, and every non-empty child's, become their
    // requested sizes.
    void StoreChildSizes();
    // One bar between each two neighbouring visible children; only in the manager's live layout.
    void UpdateSplitters();
    // Screen co-ordinates of pNode docked beside pNeighbour in this container.
    CRect CalcDockingRect(CKLVDockingNode* pNode, int nDirection, CKLVDockingNode* pNeighbour) const;
    INT_PTR GetSplitterCount() const { return static_cast<INT_PTR>(m_arrSplitters.size()); }
    CKLVDockingPaneSplitter* GetSplitter(INT_PTR nIndex) const { return m_arrSplitters[nIndex]; }

    void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const override;
    void OnSizeParent(CWnd* pSite, CRect rect, AFX_SIZEPARENTPARAMS* pParams) override;

    void OnChildChanged(CKLVDockingNode* pNode) override;
    void OnParentChanged(CKLVDockingNode* pNode) override;
    // Orientation and children by number; loading appends the children (tabbed containers,
    // splitter containers and the client node).
    BOOL DoPropExchange(CKLVPropExchange* pPX) override;
    CKLVDockingNode* Clone(CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap, DWORD dwIgnoredOptions = 0) override;
    void RemovePane(CKLVDockingNode* pNode) override;
    void Release() override { InternalRelease(); }

private:
    void OnChildAttached(CKLVDockingNode* pNode);
    void DeleteSplitters();
    void GetVisibleChildren(CKLVDockingNodeList* pList) const;

    std::vector<CKLVDockingPaneSplitter*> m_arrSplitters;   // owned, in child order
    BOOL m_bHorizontal = FALSE;
    BOOL m_bInLayout = FALSE;
};

// Shares the rectangle's extent along the axis among the children of lstNodes by their
// requested sizes, limits and the child that holds the client area; fills each child's working
// length. bReset also rewrites the client child's requested size.
void DistributeLengths(CKLVDockingPaneManager* pManager, const CKLVDockingNodeList& lstNodes, CRect rect,
                       BOOL bHorizontal, BOOL bReset, int& nTotal, int& nAvailable);
// Walks the children after a distribution: each child's rectangle, and the bar after it (empty
// after the last child). The callback returns FALSE to stop.
void PlaceChildren(const CKLVDockingNodeList& lstNodes, CRect rect, BOOL bHorizontal, int nSplitterSize, int nTotal,
                   int nAvailable, const std::function<BOOL(CKLVDockingNode*, const CRect&, const CRect&)>& fnPlace);
// The rectangle pNode would take among lstNodes in rect.
CRect CalcNodeRect(CKLVDockingPaneManager* pManager, BOOL bHorizontal, const CKLVDockingNodeList& lstNodes, CRect rect,
                   const CKLVDockingNode* pNode);
// Screen co-ordinates of pNode docked beside pNeighbour in a new two-child row or column.
CRect CalcDockingRectBeside(CKLVDockingNode* pNeighbour, CKLVDockingNode* pNode, int nDirection);
