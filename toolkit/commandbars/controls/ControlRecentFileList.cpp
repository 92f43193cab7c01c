// The File menu's recent files, rebuilt at every layout.
#include "classlib/RecentFileList.h"
#include "classlib/WinApp.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controls/ControlLists.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControlRecentFileList, CKLVControlButton)

namespace {

// The current directory ending in a backslash, as display names are made relative to it.
CString CurrentDirectory() {
    CString strDir;
    const DWORD nLength = ::GetCurrentDirectoryA(0, nullptr);
    if (nLength == 0) return strDir;
    LPSTR pBuffer = strDir.GetBuffer(static_cast<int>(nLength));
    const DWORD nCopied = ::GetCurrentDirectoryA(nLength, pBuffer);
    strDir.ReleaseBuffer(nCopied < nLength ? static_cast<int>(nCopied) : 0);
    if (!strDir.IsEmpty() && strDir[strDir.GetLength() - 1] != '\\') strDir += '\\';
    return strDir;
}

}  // namespace

CRecentFileList* CKLVControlRecentFileList::GetRecentFileList() {
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->m_pRecentFileList.get() : nullptr;
}

void CKLVControlRecentFileList::PrepareDynamicLayout(int) {
    CRecentFileList* pList = GetRecentFileList();
    const int nFirst = GetFirstMRUId();
    const int nLast = nFirst + (pList ? pList->GetSize() : 0);
    klv_control_lists::RemoveFollowing(
        this,
        [nFirst, nLast](CKLVControl* pControl) {
            return pControl->IsTemporary() && pControl->GetId() >= nFirst && pControl->GetId() <= nLast;
        },
        FALSE);
    if (klv_control_lists::ShowInCustomizeMode(this)) return;
    if (!pList || pList->GetSize() == 0 || (*pList)[0].IsEmpty()) {
        SetHideFlag(hideGeneric, FALSE);
        SetEnabled(FALSE);
        return;
    }
    SetHideFlag(hideGeneric, TRUE);
    InsertFileItems(pList);
}

void CKLVControlRecentFileList::InsertFileItems(CRecentFileList* pList) {
    const CString strDir = CurrentDirectory();
    const BOOL bFirstOfBar = GetIndex() == 0;
    for (int i = 0; i < pList->GetSize(); ++i) {
        CString strName;
        if (!pList->GetDisplayName(strName, i, strDir, strDir.GetLength())) break;
        CKLVControl* pItem = klv_control_lists::InsertItem(this, i, GetFirstMRUId() + i, FormatItemCaption(strName, i + 1));
        if (!pItem) break;
        if (i == 0) {
            pItem->SetBeginGroup(!bFirstOfBar);
            pItem->SetFlags(pItem->GetFlags() | (GetFlags() & flagWrapRow));
        }
    }
}

BOOL CKLVControlRecentFileList::IsCustomizeDragOverAvail(CKLVCommandBar* pBar, CPoint, DWORD&) {
    return klv_control_lists::IsPopupBar(pBar);
}
