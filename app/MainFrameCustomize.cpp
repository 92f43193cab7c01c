// Customize mode of the frame's bars: the tool bars' options popup offers the command (the frame
// answers it), the bars' buttons are then dragged between bars and right-clicked for their menu,
// and the same command or Escape ends it.
#include "app/MainFrame.h"

#include "toolkit/commandbars/manager/CommandBars.h"

void CMainFrame::OnCustomize() {
    CKLVCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars) return;
    pCommandBars->ClosePopups();
    pCommandBars->SetCustomizeMode(!pCommandBars->IsCustomizeMode());
    pCommandBars->RedrawCommandBars();
}

void CMainFrame::OnUpdateCustomize(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(GetCommandBars() && GetCommandBars()->IsCustomizeMode());
}

BOOL CMainFrame::EndCustomizeOnEscape(const MSG* pMsg) {
    CKLVCommandBars* pCommandBars = GetCommandBars();
    if (pMsg->message != WM_KEYDOWN || pMsg->wParam != VK_ESCAPE || !pCommandBars || !pCommandBars->IsCustomizeMode())
        return FALSE;
    pCommandBars->SetCustomizeMode(FALSE);
    pCommandBars->RedrawCommandBars();
    return TRUE;
}
