// Selecting an item of the solution tree: the item becomes the one the properties pane's edits
// go to, gets the image of its kind, brings its protocol's editor tabs forward beside the
// project's own (opening the protocol's four files when none is open), and the properties pane
// shows its record.
#include "app/SolutionExplorerPane.h"

#include "app/MainFrame.h"
#include "app/ProtocolChecks.h"
#include "toolkit/tabs/TabManagerItem.h"

#include <algorithm>
#include <vector>

namespace {

// A protocol's files, in the order they are opened: the diagram's tab comes first.
const LPCTSTR kProtocolFiles[] = {".diagram", "_api_demo.c", "_api.c", "_api.h"};

// A modified document's caption ends in " *".
CString TabFileName(CString strCaption) {
    if (strCaption.Find('*') >= 0) strCaption = strCaption.Left(strCaption.GetLength() - 2);
    return strCaption;
}

bool IsProtocolFile(const CString& strFileName, LPCTSTR lpszProtocol) {
    for (LPCTSTR lpszSuffix : kProtocolFiles)
        if (strFileName == CString(lpszProtocol) + lpszSuffix) return true;
    return false;
}

// Shows the protocol's tabs, selecting the first, and hides the tabs of the project's other
// protocols without closing them; the project's own tabs (its sources, its WSDL document, any
// other file) stay, as the protocols are edited beside them. False when none of the protocol's
// files has a tab.
bool ShowProtocolTabs(CKLVTabClientWnd& client, LPCTSTR lpszProtocol, const std::vector<CString>& protocols) {
    bool bFound = false;
    for (int i = 0; client.GetSafeHwnd() && i < client.GetItemCount(); ++i) {
        CKLVTabManagerItem* pTab = client.GetItem(i);
        if (!pTab) continue;
        const CString strFileName = TabFileName(pTab->GetCaption());
        if (!IsProtocolFile(strFileName, lpszProtocol)) {
            const bool bOtherProtocols = std::any_of(protocols.begin(), protocols.end(), [&](const CString& strOther) {
                return IsProtocolFile(strFileName, strOther);
            });
            if (bOtherProtocols) pTab->SetVisible(FALSE);
            continue;
        }
        if (!pTab->IsVisible()) pTab->SetVisible(TRUE);
        if (!bFound) pTab->Select();
        bFound = true;
    }
    return bFound;
}

// The names of the protocols the tree holds, at any depth under the item (the whole tree for null).
void CollectProtocolNames(const COfficeTreeCtrl& tree, HTREEITEM hParent, std::vector<CString>& names) {
    for (HTREEITEM hItem = hParent ? tree.GetChildItem(hParent) : tree.GetRootItem(); hItem;
         hItem = tree.GetNextSiblingItem(hItem)) {
        const CSolutionTreeItem* pItem = tree.GetTreeItem(hItem);
        if (pItem && pItem->nKind == CSolutionTreeItem::kindProtocol && pItem->pRecord)
            names.push_back(static_cast<const CProtocolRecord*>(pItem->pRecord)->szName);
        CollectProtocolNames(tree, hItem, names);
    }
}

// Each file is made when it is missing (an existing one keeps its text), then opened in a tab.
void OpenProtocolFiles(CMainFrame& frame, const CString& strFolder, LPCTSTR lpszProtocol) {
    for (LPCTSTR lpszSuffix : kProtocolFiles) {
        const CString strPath = strFolder + lpszProtocol + lpszSuffix;
        CFile file;
        if (file.Open(strPath, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite)) file.Close();
        frame.OpenProjectDocument(strPath);
    }
}

}  // namespace

int SolutionTreeImage(int nKind) {
    static const int kImages[] = {1, 2, 5, 3, 4, 5};
    return nKind >= 0 && nKind < 6 ? kImages[nKind] : -1;
}

CEditTarget COfficeTreeCtrl::GetEditTarget(HTREEITEM hItem) const {
    CEditTarget target;
    if (const CSolutionTreeItem* pItem = GetTreeItem(hItem)) target.nKind = pItem->nKind;
    target.strText = GetItemText(hItem);
    if (HTREEITEM hParent = GetParentItem(hItem)) target.strParentText = GetItemText(hParent);
    return target;
}

void COfficeTreeCtrl::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    if (!reinterpret_cast<const NMTREEVIEWA*>(pNMHDR)->itemNew.lParam) return;
    m_hSelectedItem = GetSelectedItem();
    const CSolutionTreeItem* pItem = GetTreeItem(m_hSelectedItem);
    if (!pItem) return;
    auto* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    auto* pProtocol = static_cast<CProtocolRecord*>(pItem->pRecord);
    if (pItem->nKind == CSolutionTreeItem::kindRoot) {
        SetItemImage(m_hSelectedItem, 0, 0);
    } else if (pItem->pRecord != m_pCurrentRecord) {
        // The tabs change only when another protocol's item is selected.
        m_pCurrentRecord = pItem->pRecord;
        std::vector<CString> protocols;
        CollectProtocolNames(*this, nullptr, protocols);
        if (pFrame && pProtocol && !ShowProtocolTabs(pFrame->m_MTIClientWnd, pProtocol->szName, protocols))
            OpenProtocolFiles(*pFrame, pItem->strLabel, pProtocol->szName);
    }
    if (const int nImage = SolutionTreeImage(pItem->nKind); nImage >= 0) SetItemImage(m_hSelectedItem, nImage, nImage);
    if (pFrame && pFrame->m_wndProperties.GetSafeHwnd())
        pFrame->m_wndProperties.ShowTreeItem(GetEditTarget(m_hSelectedItem), pProtocol);
}
