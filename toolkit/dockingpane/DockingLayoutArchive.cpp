#include "toolkit/dockingpane/DockingLayout.h"

#include "toolkit/common/PropExchangeArchive.h"
#include "toolkit/dockingpane/DockingClientNode.h"
#include "toolkit/dockingpane/DockingLayoutRecords.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneMiniWnd.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingSplitterContainer.h"

#include <utility>
#include <vector>

namespace {

struct CLayoutReleaser {
    void operator()(CKLVDockingLayout* pLayout) const { pLayout->InternalRelease(); }
};
using CLayoutHolder = std::unique_ptr<CKLVDockingLayout, CLayoutReleaser>;

CKLVPropExchangeSection OpenSection(CKLVPropExchange* pPX, LPCTSTR pszSection) {
    return CKLVPropExchangeSection(pPX->OpenSection(pszSection));
}

using Kinds = CKLVDockingLayoutRecords;

}  // namespace

std::vector<CKLVDockingNode*> CKLVDockingLayout::NumberNodes() {
    std::vector<CKLVDockingNode*> records;
    auto number = [&records](CKLVDockingNode* pNode) {
        if (!pNode || pNode->m_nIndex != 0) return;
        records.push_back(pNode);
        pNode->m_nIndex = static_cast<int>(records.size());
    };
    for (POSITION pos = m_lstNodes.GetHeadPosition(); pos;) m_lstNodes.GetNext(pos)->m_nIndex = 0;
    for (POSITION pos = m_lstPanes.GetHeadPosition(); pos;) number(m_lstPanes.GetNext(pos).pPane);
    // A pane without a pane record is still a record (its holders are none), and still a pane
    // before the other nodes, so that everything that names it loads back.
    for (int nPanes = 1; nPanes >= 0; --nPanes)
        for (POSITION pos = m_lstNodes.GetHeadPosition(); pos;) {
            CKLVDockingNode* pNode = m_lstNodes.GetNext(pos);
            if ((pNode->GetType() == CKLVDockingNode::typePane) == (nPanes == 1)) number(pNode);
        }
    return records;
}

void CKLVDockingLayout::SaveLayout(CKLVPropExchange* pPX) {
    pPX->SetClearSection();
    Tidy();
    const std::vector<CKLVDockingNode*> records = NumberNodes();
    {
        long nCount = static_cast<long>(records.size());
        PX_Long(OpenSection(pPX, "Summary").get(), "Panes", nCount);
    }
    for (CKLVDockingNode* pNode : records) {
        long nType = pNode->GetType();
        PX_Long(OpenSection(pPX, KLVRecordKey(pNode->m_nIndex)).get(), "Type", nType, -1);
    }
    for (CKLVDockingNode* pNode : records) pNode->DoPropExchange(OpenSection(pPX, KLVRecordKey(pNode->m_nIndex)).get());
    CKLVPropExchangeSection pSummary = OpenSection(pPX, "Summary");
    long nTop = Kinds::NumberOf(m_pTopContainer);
    long nClient = Kinds::NumberOf(m_pClient);
    PX_Long(pSummary.get(), "TopContainer", nTop);
    PX_Long(pSummary.get(), "Client", nClient);
}

BOOL CKLVDockingLayout::LoadLayout(CKLVPropExchange* pPX) {
    if (!pPX->PrepareExchange()) return FALSE;
    // Built apart so that a damaged record cannot leave this layout half replaced.
    CLayoutHolder pLoaded(m_pManager ? m_pManager->CreateLayout() : nullptr);
    if (!pLoaded) return FALSE;
    pLoaded->Clear();
    if (!pLoaded->LoadRecords(pPX)) return FALSE;
    TakeContents(*pLoaded);
    if (!m_bDetached) CreateLiveWindows();
    return TRUE;
}

void CKLVDockingLayout::CreateLiveWindows() {
    const std::vector<CKLVDockingNode*> nodes = [this] {
        std::vector<CKLVDockingNode*> list;
        for (POSITION pos = m_lstNodes.GetHeadPosition(); pos;) list.push_back(m_lstNodes.GetNext(pos));
        return list;
    }();
    for (CKLVDockingNode* pNode : nodes)
        if (pNode->GetType() == CKLVDockingNode::typeTabbedContainer)
            static_cast<CKLVDockingPaneTabbedContainer*>(pNode)->CreateLiveWindow();
    for (CKLVDockingNode* pNode : nodes)
        if (pNode->GetType() == CKLVDockingNode::typeMiniWnd) static_cast<CKLVDockingPaneMiniWnd*>(pNode)->CreateLiveWindow();
    for (CKLVDockingNode* pNode : nodes)
        if (pNode->GetType() == CKLVDockingNode::typeSplitterContainer)
            static_cast<CKLVDockingSplitterContainer*>(pNode)->UpdateSplitters();
    if (m_pManager) m_pManager->RecalcLayout(nullptr, FALSE);
}

BOOL CKLVDockingLayout::LoadRecords(CKLVPropExchange* pPX) {
    long nCount = 0;
    PX_Long(OpenSection(pPX, "Summary").get(), "Panes", nCount);
    if (nCount < 2 || nCount > CKLVDockingLayoutRecords::nMaxRecords) return FALSE;

    CKLVDockingLayoutRecords records;
    std::vector<CKLVDockingNode*> nodes;
    for (long i = 1; i <= nCount; ++i) {
        long nType = -1;
        PX_Long(OpenSection(pPX, KLVRecordKey(i)).get(), "Type", nType, -1);
        CKLVDockingNode* pNode = nType >= 0 ? m_pManager->CreateNode(static_cast<int>(nType), this) : nullptr;
        if (!pNode) return FALSE;
        pNode->m_nIndex = static_cast<int>(i);
        records.Add(i, pNode);
        nodes.push_back(pNode);
        if (pNode->GetType() != nType) return FALSE;
    }
    for (CKLVDockingNode* pNode : nodes) {
        CKLVPropExchangeSection pSection = OpenSection(pPX, KLVRecordKey(pNode->m_nIndex));
        pSection->m_pContext = &records;
        if (!pNode->DoPropExchange(pSection.get())) return FALSE;
    }

    CKLVPropExchangeSection pSummary = OpenSection(pPX, "Summary");
    long nTop = 0;
    long nClient = 0;
    PX_Long(pSummary.get(), "TopContainer", nTop);
    PX_Long(pSummary.get(), "Client", nClient);
    // The root splitter sits in no other node.
    CKLVDockingNode* pTop = records.Find(nTop, Kinds::Kind(CKLVDockingNode::typeSplitterContainer));
    CKLVDockingNode* pClient = records.Find(nClient, Kinds::Kind(CKLVDockingNode::typeClient));
    if (!pTop || pTop->GetContainer() || !pClient) return FALSE;
    m_pTopContainer = static_cast<CKLVDockingSplitterContainer*>(pTop);
    m_pClient = static_cast<CKLVDockingClientNode*>(pClient);
    return TRUE;
}

void CKLVDockingLayout::TakeContents(CKLVDockingLayout& source) {
    Clear();
    for (POSITION pos = source.m_lstNodes.GetHeadPosition(); pos;) source.m_lstNodes.GetNext(pos)->MoveToLayout(this);
    m_lstNodes.AddTail(&source.m_lstNodes);
    source.m_lstNodes.RemoveAll();
    m_lstPanes.AddTail(&source.m_lstPanes);
    source.m_lstPanes.RemoveAll();
    std::swap(m_pTopContainer, source.m_pTopContainer);
    std::swap(m_pClient, source.m_pClient);
    for (int nSide = 0; nSide < 4; ++nSide) std::swap(m_pPanels[nSide], source.m_pPanels[nSide]);
}

void CKLVDockingLayout::Serialize(CArchive& ar) {
    CKLVPropExchangeArchive px(ar);
    if (px.IsLoading())
        LoadLayout(&px);
    else
        SaveLayout(&px);
}
