// The list of tool bars a menu or the bars' context menu offers to show or hide.
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/commandbars/controls/ControlLists.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControlToolbars, CKLVControlButton)

namespace {

const char kToolbarItemParameter[] = "CKLVControlToolbar";

// An item of the list: executing it shows or hides the bar its tag names.
class CKLVControlToolbarItem : public CKLVControlButton {
    DECLARE_DYNCREATE(CKLVControlToolbarItem)
public:
    void OnExecute() override {
        CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
        if (!pCommandBars) return;
        const int nBar = static_cast<int>(m_nTag);
        pCommandBars->ClosePopups();
        pCommandBars->ToggleVisible(nBar);
    }
};

IMPLEMENT_DYNCREATE(CKLVControlToolbarItem, CKLVControlButton)

BOOL IsListed(const CKLVCommandBar* pBar) {
    const auto* pToolBar = DYNAMIC_DOWNCAST(CKLVToolBar, const_cast<CKLVCommandBar*>(pBar));
    return pToolBar && pToolBar->m_bContextMenuPresent && pToolBar->m_bCloseable;
}

}  // namespace

void CKLVControlToolbars::FillToolbarList(CKLVCommandBar* pBar, int nBefore, int nId, BOOL bCustomizeItem, BOOL bBeginGroup) {
    CKLVCommandBarsLink* pCommandBars = pBar ? pBar->GetOwnerLink() : nullptr;
    if (!pCommandBars) return;
    CKLVControls* pControls = pBar->GetControls();
    int nPosition = nBefore;
    BOOL bFirst = TRUE;
    for (int i = 0; i < pCommandBars->GetCount(); ++i) {
        CKLVCommandBar* pListed = pCommandBars->GetAt(i);
        if (!IsListed(pListed)) continue;
        auto* pItem = new CKLVControlToolbarItem;
        pControls->Add(pItem, nId, kToolbarItemParameter, nPosition, TRUE);
        pItem->SetCaption(CKLVControlRecentFileList::FormatItemCaption(pListed->GetTitle(), 0));
        pItem->SetFlags(flagListItem);
        pItem->m_nTag = static_cast<DWORD>(i);
        pItem->m_bChecked = pListed->IsVisible();
        if (bFirst) pItem->SetBeginGroup(bBeginGroup);
        bFirst = FALSE;
        if (nPosition >= 0) ++nPosition;
    }
    if (bCustomizeItem && pCommandBars->IsCustomizeAvail()) {
        CKLVControl* pCustomize = pControls->Add(typeButton, CKLVCommandBarsLink::idCustomizeCommand, CString(), nPosition, TRUE);
        if (pCustomize) pCustomize->SetBeginGroup(TRUE);
    }
}

void CKLVControlToolbars::PrepareDynamicLayout(int) {
    klv_control_lists::RemoveFollowing(
        this, [](CKLVControl* pControl) { return pControl->GetParameter() == kToolbarItemParameter; }, FALSE);
    if (klv_control_lists::ShowInCustomizeMode(this)) return;
    SetHideFlag(hideGeneric, TRUE);
    if (m_pParent) FillToolbarList(m_pParent, GetIndex() + 1, GetId(), FALSE, GetBeginGroup());
}

BOOL CKLVControlToolbars::IsCustomizeDragOverAvail(CKLVCommandBar* pBar, CPoint, DWORD&) {
    return klv_control_lists::IsPopupBar(pBar);
}
