// The record numbers of a saved docking layout. While a layout loads, every node's exchange finds
// the nodes its record names here (the exchange's context points to it) and checks them: a
// number must name a node of the kinds the key allows, and a node becomes a child only once and
// never of itself or of a node below it, so no record can make a cycle or share a node.
#pragma once

#include "classlib/Map.h"
#include "toolkit/dockingpane/DockingNode.h"

#include <functional>

class CKLVPropExchange;

class CKLVDockingLayoutRecords {
public:
    // Type masks for the look-ups.
    static constexpr UINT Kind(int nType) { return 1u << nType; }
    static constexpr UINT nAnyKind = 0x3F;
    // More records than this are refused before anything is made.
    enum : long { nMaxRecords = 10000 };

    CKLVDockingLayoutRecords();

    void Add(long nNumber, CKLVDockingNode* pNode) { m_mapNodes.SetAt(nNumber, pNode); }
    long GetCount() const { return static_cast<long>(m_mapNodes.GetCount()); }
    // The node with this number when its type is in nKinds; null for 0, an unknown number or
    // another type.
    CKLVDockingNode* Find(long nNumber, UINT nKinds) const;
    // As Find, and only a node that may become pParent's child: attached nowhere yet, and
    // neither pParent nor one of the nodes above it.
    CKLVDockingNode* FindChild(long nNumber, UINT nKinds, const CKLVDockingNode* pParent) const;
    // A child count a record may give: never more than there are records.
    BOOL IsCountValid(long nCount) const { return nCount >= 0 && nCount <= GetCount(); }

    // The records of the load an exchange belongs to; null when it stores.
    static CKLVDockingLayoutRecords* Of(const CKLVPropExchange* pPX);
    // The number a saved record gives a node; 0 for none.
    static long NumberOf(const CKLVDockingNode* pNode) { return pNode ? pNode->m_nIndex : 0; }

private:
    CMap<long, long, CKLVDockingNode*, CKLVDockingNode*> m_mapNodes;
};

// The key of the n-th child or record: "Pane-n".
CString KLVRecordKey(long nNumber);

// A container's "Panes": its child count when storing; the count a record gives when loading
// (0 when missing), -1 when that is more than there are records.
long KLVExchangeChildCount(CKLVPropExchange* pPX, const CKLVDockingContainer* pContainer);
// The children's numbers, "Pane-1" to "Pane-n", in order. Loading hands each named child to
// fnAttach after checking it may become the container's child (of the kinds in nKinds); FALSE
// at the first that may not.
BOOL KLVExchangeChildren(CKLVPropExchange* pPX, CKLVDockingContainer* pContainer, long nCount, UINT nKinds,
                         const std::function<void(CKLVDockingNode*)>& fnAttach);
