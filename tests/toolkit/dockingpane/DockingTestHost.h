// Builders for panes and containers of a layout, and a detached layout on an uninstalled manager.
#pragma once

#include "toolkit/dockingpane/DockingClientNode.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingSplitterContainer.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

class DockingTreeBuilder {
public:
    DockingTreeBuilder(CKLVDockingPaneManager* pManager, CKLVDockingLayout* pLayout)
        : m_pManager(pManager), m_pLayout(pLayout) {}

    CKLVDockingPane* Pane(UINT nID, DWORD dwOptions = 0) {
        auto* pPane = static_cast<CKLVDockingPane*>(m_pManager->CreateNode(CKLVDockingNode::typePane, m_pLayout));
        pPane->SetID(nID);
        pPane->SetOptions(dwOptions);
        m_pLayout->AddPane(pPane);
        return pPane;
    }
    CKLVDockingPaneTabbedContainer* Tabbed(std::initializer_list<CKLVDockingPane*> panes) {
        auto* pTabbed = static_cast<CKLVDockingPaneTabbedContainer*>(
            m_pManager->CreateNode(CKLVDockingNode::typeTabbedContainer, m_pLayout));
        bool bFirst = true;
        for (CKLVDockingPane* pPane : panes) {
            if (bFirst) pTabbed->Init(pPane, m_pManager->GetSite());
            else pTabbed->AttachPane(pPane);
            bFirst = false;
        }
        return pTabbed;
    }
    CKLVDockingSplitterContainer* Splitter(BOOL bHorizontal, std::initializer_list<CKLVDockingNode*> children) {
        auto* pSplitter = static_cast<CKLVDockingSplitterContainer*>(
            m_pManager->CreateNode(CKLVDockingNode::typeSplitterContainer, m_pLayout));
        bool bFirst = true;
        for (CKLVDockingNode* pChild : children) {
            if (bFirst) pSplitter->Init(pChild, bHorizontal, m_pManager->GetSite());
            else pSplitter->InsertChild(pChild, nullptr, TRUE);
            bFirst = false;
        }
        return pSplitter;
    }
    // The top container with these children around the client node.
    void Top(std::initializer_list<CKLVDockingNode*> before, std::initializer_list<CKLVDockingNode*> after) {
        CKLVDockingSplitterContainer* pTop = m_pLayout->GetTopContainer();
        for (CKLVDockingNode* pNode : before) pTop->InsertChild(pNode, m_pLayout->GetClientNode(), FALSE);
        for (CKLVDockingNode* pNode : after) pTop->InsertChild(pNode, nullptr, TRUE);
    }
    static std::vector<CKLVDockingNode*> Nodes(const CKLVDockingNodeList& list) {
        std::vector<CKLVDockingNode*> nodes;
        for (POSITION pos = list.GetHeadPosition(); pos;) nodes.push_back(list.GetNext(pos));
        return nodes;
    }
    static std::vector<CKLVDockingNode*> Children(const CKLVDockingContainer* pContainer) {
        std::vector<CKLVDockingNode*> nodes;
        for (POSITION pos = pContainer->GetHeadPosition(); pos;) nodes.push_back(pContainer->GetNext(pos));
        return nodes;
    }

private:
    CKLVDockingPaneManager* m_pManager;
    CKLVDockingLayout* m_pLayout;
};

class DetachedLayoutTest : public ::testing::Test {
protected:
    ~DetachedLayoutTest() override { layout->InternalRelease(); }

    CKLVDockingPaneManager manager;
    CKLVDockingLayout* layout = manager.CreateLayout();
    DockingTreeBuilder tree{&manager, layout};
};

// The thread's key state with exactly these of Ctrl, Shift and Alt held (no key is pressed).
inline void SetHeldKeys(std::initializer_list<int> down) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    for (int nKey : {VK_CONTROL, VK_SHIFT, VK_MENU}) keys[nKey] = 0;
    for (int nKey : down) keys[nKey] = 0x80;
    ::SetKeyboardState(keys);
}
