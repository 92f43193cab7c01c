// The tab-group commands of the MDI tab client as items of a menu or tool bar.
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controls/ControlLists.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/interfaces/TabClientLink.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControlWorkspaceActions, CKLVControlButton)

void CKLVControlWorkspaceActions::PrepareDynamicLayout(int) {
    klv_control_lists::RemoveFollowing(
        this,
        [](CKLVControl* pControl) {
            const UINT nId = static_cast<UINT>(pControl->GetId());
            return pControl->IsTemporary() && nId >= CKLVTabClientLink::firstGroupCommand &&
                   nId <= CKLVTabClientLink::lastGroupCommand;
        },
        FALSE);
    if (klv_control_lists::ShowInCustomizeMode(this)) return;
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    CKLVTabClientLink* pTabClient = CKLVTabClientLink::FromSite(pCommandBars ? pCommandBars->GetSite() : nullptr);
    if (!pTabClient) return;
    SetHideFlag(hideGeneric, TRUE);
    int nPosition = 0;
    for (UINT nID : CKLVTabClientLink::groupCommands) {
        if (!pTabClient->IsGroupCommandEnabled(nID)) continue;
        CKLVControl* pItem = klv_control_lists::InsertItem(this, nPosition, static_cast<int>(nID), CString());
        if (!pItem) continue;
        pItem->SetFlags(0);
        pItem->SetPromptFromResource(nID);
        if (nPosition == 0) pItem->SetBeginGroup(GetBeginGroup());
        ++nPosition;
    }
}
