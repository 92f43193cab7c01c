// The node that lays its children side by side, left to right (horizontal) or top to bottom.
#pragma once

#include "classlib/CmdTarget.h"
#include "toolkit/dockingpane/DockingNode.h"

class CKLVDockingSplitterContainer : public CCmdTarget, public CKLVDockingContainer {
public:
    explicit CKLVDockingSplitterContainer(CKLVDockingLayout* pLayout)
        : CKLVDockingContainer(typeSplitterContainer, pLayout) {}

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

    void OnChildChanged(CKLVDockingNode* pNode) override;
    void OnParentChanged(CKLVDockingNode* pNode) override;
    CKLVDockingNode* Clone(CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap, DWORD dwIgnoredOptions = 0) override;
    void RemovePane(CKLVDockingNode* pNode) override;
    void Release() override { InternalRelease(); }

private:
    void OnChildAttached(CKLVDockingNode* pNode);

    BOOL m_bHorizontal = FALSE;
    BOOL m_bInLayout = FALSE;
};
