#include "app/ContextMenu.h"

#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/frame/MDIFrameWnd.h"

void ShowFrameContextMenu(UINT nMenuID, int nPopup, CPoint ptScreen) {
    auto* pFrame = dynamic_cast<CKLVMDIFrameWnd*>(AfxGetMainWnd());
    if (!pFrame || !pFrame->GetCommandBars()) return;
    CMenu menu;
    if (!menu.LoadMenu(nMenuID)) return;
    if (CMenu* pPopup = menu.GetSubMenu(nPopup))
        pFrame->GetCommandBars()->TrackPopupMenuEx(pPopup, TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y);
    menu.DestroyMenu();
}
