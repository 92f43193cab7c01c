// The Window menu's list of MDI children, rebuilt at every layout.
#include "classlib/MDIFrameWnd.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controls/ControlLists.h"
#include "toolkit/common/ResourceManager.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControlWindowList, CKLVControlButton)

UINT CKLVControlWindowList::m_nFirstMDIChild = 0xFF00;

namespace {

HWND FindMDIClient(const CKLVControl* pControl) {
    CKLVCommandBar* pBar = pControl->GetParent();
    auto* pFrame = pBar ? DYNAMIC_DOWNCAST(CMDIFrameWnd, pBar->GetSite()) : nullptr;
    return pFrame ? pFrame->m_hWndMDIClient : nullptr;
}

// The whole text, however long.
CString WindowText(HWND hWnd) {
    CString strText;
    CWnd::FromHandle(hWnd)->GetWindowText(strText);
    return strText;
}

}  // namespace

void CKLVControlWindowList::PrepareDynamicLayout(int) {
    // Only this list's items: with children numbered from 1 an id test alone would take real
    // controls that follow the list.
    klv_control_lists::RemoveFollowing(
        this, [](CKLVControl* pControl) { return pControl->IsTemporary() && static_cast<UINT>(pControl->GetId()) >= m_nFirstMDIChild; },
        TRUE);
    const HWND hwndClient = FindMDIClient(this);
    if (!hwndClient || IsCustomizeMode()) {
        SetHideFlags(0);
        return;
    }
    SetHideFlag(hideGeneric, TRUE);
    InsertWindowItems(hwndClient);
}

void CKLVControlWindowList::InsertWindowItems(HWND hwndClient) {
    const HWND hwndActive = reinterpret_cast<HWND>(::SendMessageA(hwndClient, WM_MDIGETACTIVE, 0, 0));
    const UINT nActiveId = hwndActive ? static_cast<UINT>(::GetDlgCtrlID(hwndActive)) : 0;
    if (nActiveId >= 0x8000 && nActiveId < 0x802F)
        m_nFirstMDIChild = 0x8000;
    else if (nActiveId >= 1 && nActiveId < 0x2F)
        m_nFirstMDIChild = 1;
    CString strPrompt;
    KLVResourceManager()->LoadString(&strPrompt, idWindowListPrompt);
    int nShown = 0;
    for (UINT k = 0; nShown < maxItems; ++k) {
        const HWND hwndChild = ::GetDlgItem(hwndClient, static_cast<int>(m_nFirstMDIChild + k));
        if (!hwndChild) break;
        // The child's own style: a frame not shown yet still lists its windows.
        if (!(::GetWindowLongA(hwndChild, GWL_STYLE) & WS_VISIBLE)) continue;
        CKLVControl* pItem = klv_control_lists::InsertItem(this, nShown, static_cast<int>(m_nFirstMDIChild + k),
                                                           CKLVControlRecentFileList::FormatItemCaption(WindowText(hwndChild), nShown + 1));
        if (!pItem) break;
        if (nShown == 0) {
            pItem->SetBeginGroup(TRUE);
            pItem->SetFlags(pItem->GetFlags() | (GetFlags() & flagWrapRow));
        }
        pItem->m_bChecked = hwndChild == hwndActive;
        pItem->m_nHelpId = idWindowListPrompt;
        if (!strPrompt.IsEmpty()) pItem->SetPrompt(strPrompt);
        ++nShown;
    }
}

BOOL CKLVControlWindowList::IsCustomizeDragOverAvail(CKLVCommandBar* pBar, CPoint, DWORD&) {
    return klv_control_lists::IsPopupBar(pBar);
}
