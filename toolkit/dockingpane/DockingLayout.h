// One arrangement of docking panes: its nodes, the records of its panes with the containers
// that held them, the top container and the client node. The manager's layout is live (its
// nodes have windows); other layouts are detached and exist as data only.
#pragma once

#include "classlib/CmdTarget.h"
#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/dockingpane/DockingNode.h"

#include <memory>
#include <vector>

class CKLVDockingClientNode;
class CKLVDockingPane;
class CKLVDockingPaneAutoHidePanel;
class CKLVDockingPaneManager;
class CKLVDockingPaneSplitter;
class CKLVDockingPaneTabbedContainer;
class CKLVDockingSplitterContainer;
class CKLVPropExchange;

// A pane and the tabbed containers that held it last when floating, last when docked, and last.
struct CKLVDockingPaneInfo {
    CKLVDockingPane* pPane = nullptr;
    CKLVDockingPaneTabbedContainer* pFloatingHolder = nullptr;
    CKLVDockingPaneTabbedContainer* pDockingHolder = nullptr;
    CKLVDockingPaneTabbedContainer* pLastHolder = nullptr;
};
using CKLVDockingPaneInfoList = CList<CKLVDockingPaneInfo, const CKLVDockingPaneInfo&>;

class CKLVDockingLayout : public CCmdTarget {
public:
    enum { nSideFloating = 4 };

    // Builds the client node and a horizontal top splitter container holding it, through the
    // manager's node factory.
    explicit CKLVDockingLayout(CKLVDockingPaneManager* pManager);
    ~CKLVDockingLayout() override;

    // Releases every node and forgets the top container, the client node and the panels.
    void Clear();
    // Tidies, then writes every node as a numbered record: the panes first, then the other nodes
    // in the order they were made.
    void SaveLayout(CKLVPropExchange* pPX);
    // Reads the records into a new layout and takes its nodes only when all of them loaded and
    // fit together; on FALSE this layout is as it was.
    BOOL LoadLayout(CKLVPropExchange* pPX);
    // Saves or loads through an exchange over the archive.
    void Serialize(CArchive& ar) override;
    // Lays the layout out in rect of the site: the auto-hide panels, the margin bars, the
    // client node and the top container.
    void OnSizeParent(CWnd* pSite, CRect rect, AFX_SIZEPARENTPARAMS* pParams);
    CKLVDockingPaneSplitter* GetMarginBar(int nSide) const { return m_pMarginBars[nSide].get(); }
    // Releases nodes that lost their purpose; repeats until a pass changes nothing.
    void Tidy();
    // 0-3 the side a node stands on relative to the client area, 4 floating, -1 none.
    int GetNodeSide(const CKLVDockingNode* pNode) const;
    // Makes the auto-hide panel of the node's side when missing; null when the factory makes none.
    CKLVDockingPaneAutoHidePanel* GetSidePanel(const CKLVDockingNode* pNode);
    // Moves a node into the auto-hide panel of its side: into the group its panes were docked
    // with when the panel has one, else as a group of its own.
    void HideNode(CKLVDockingNode* pNode);
    CKLVDockingPaneAutoHidePanel* GetPanel(int nSide) const { return nSide >= 0 && nSide < 4 ? m_pPanels[nSide] : nullptr; }
    // Takes over a panel for its side (a loaded layout's).
    void SetPanel(int nSide, CKLVDockingPaneAutoHidePanel* pPanel);
    // The docked area inside the auto-hide panels, site client co-ordinates, as last laid out.
    CRect GetRootArea() const { return m_rcRootArea; }

    CKLVDockingPaneManager* GetManager() const { return m_pManager; }
    CKLVDockingSplitterContainer* GetTopContainer() const { return m_pTopContainer; }
    void SetTopContainer(CKLVDockingSplitterContainer* pContainer) { m_pTopContainer = pContainer; }
    CKLVDockingClientNode* GetClientNode() const { return m_pClient; }
    CKLVDockingNodeList& GetNodeList() { return m_lstNodes; }
    CKLVDockingPaneInfoList& GetPaneList() { return m_lstPanes; }
    CKLVDockingPaneInfo* FindPaneInfo(const CKLVDockingPane* pPane);
    void AddPane(CKLVDockingPane* pPane);
    BOOL IsDetached() const { return m_bDetached; }
    void SetDetached(BOOL bDetached) { m_bDetached = bDetached; }

    // Kept by the node base: every node made for this layout is in its list until released.
    void OnNodeCreated(CKLVDockingNode* pNode) { m_lstNodes.AddTail(pNode); }
    void OnNodeDestroyed(CKLVDockingNode* pNode);

private:
    // Gives every node its record number (m_nIndex); the nodes in record order.
    std::vector<CKLVDockingNode*> NumberNodes();
    // Makes and loads the records into this (empty) layout.
    BOOL LoadRecords(CKLVPropExchange* pPX);
    // Releases this layout's nodes and takes over pSource's.
    void TakeContents(CKLVDockingLayout& source);
    // Nodes loaded into the live layout were made without windows: containers take theirs, then
    // the floating frames (moving their containers in), then the splitters between them.
    void CreateLiveWindows();
    BOOL TidyPass(const CKLVDockingNodeList& lstReferenced);
    void Discard(CKLVDockingNode* pNode);

    CKLVDockingSplitterContainer* m_pTopContainer = nullptr;
    CKLVDockingClientNode* m_pClient = nullptr;
    CKLVDockingPaneInfoList m_lstPanes;
    CKLVDockingNodeList m_lstNodes;
    CKLVDockingPaneAutoHidePanel* m_pPanels[4] = {};   // auto-hide panels by side
    CRect m_rcRootArea;
    std::unique_ptr<CKLVDockingPaneSplitter> m_pMarginBars[4];
    BOOL m_bDetached = TRUE;
    CKLVDockingPaneManager* m_pManager;
};
