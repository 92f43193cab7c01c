// The packet diagram command: the selected protocol's tables written into its ".diagram" tab.
#include "app/MainFrame.h"

#include "app/PacketDiagram.h"
#include "app/QuorlinView.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"
#include "toolkit/tabs/TabManagerItem.h"

const CProtocolRecord* CMainFrame::GetSelectedProtocol() const {
    const COfficeTreeCtrl& tree = m_wndSolutionExplorer.m_wndTree;
    if (!tree.GetSafeHwnd()) return nullptr;
    const CSolutionTreeItem* pItem = tree.GetTreeItem(tree.GetSelectedItem());
    return pItem ? static_cast<const CProtocolRecord*>(pItem->pRecord) : nullptr;
}

// The first tab whose caption, without its modified mark, is the file name; the match is
// case-sensitive. -1 when none is.
int CMainFrame::FindTab(const std::string& fileName) const {
    for (int i = 0; i < tabCount(); ++i)
        if (tabFileName(tabCaption(i)) == fileName) return i;
    return -1;
}

void CMainFrame::OnPacketDiagram() {
    const CProtocolRecord* pProtocol = GetSelectedProtocol();
    if (!pProtocol || !GetProject()) return;
    // A solution file that cannot be written ends the command, the user told.
    if (!m_commands.writeSolution()) return;
    const int nTab = FindTab(std::string(pProtocol->szName) + ".diagram");
    if (nTab < 0) return;
    m_MTIClientWnd.GetItem(nTab)->Select();
    CquorlinView* pView = GetTabView(nTab);
    if (!pView) return;
    WriteDiagramPlacements(*pView->GetEditCtrl(), PacketDiagramPlacements(*pProtocol));
}
