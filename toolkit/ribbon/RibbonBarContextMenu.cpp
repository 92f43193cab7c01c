// The ribbon's context menu: the quick access tool bar's commands for the control it opens on
// (add, remove, customise, above or below the ribbon), the list of tool bars, the command list of
// the tool bar's default set, and minimising the ribbon; and the commands when they run.
#include "toolkit/ribbon/RibbonBar.h"

#include "classlib/CmdUI.h"
#include "classlib/Menu.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/controls/ControlLabel.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/common/ResourceManager.h"
#include "toolkit/ribbon/RibbonCaptionControls.h"
#include "toolkit/ribbon/RibbonContextMenuBar.h"
#include "toolkit/ribbon/RibbonControls.h"
#include "toolkit/ribbon/RibbonQuickAccessPopups.h"

namespace {

// The first popup of the menu resource fills the bar; FALSE when there is none.
BOOL LoadMenuResource(CKLVCommandBar* pBar, UINT nMenuId) {
    CMenu menu;
    if (!KLVResourceManager()->LoadMenu(&menu, nMenuId)) return FALSE;
    HMENU hItems = ::GetSubMenu(menu.GetSafeHmenu(), 0);
    return hItems && pBar->GetControls()->LoadMenu(CMenu::FromHandle(hItems));
}

void ShowItem(CKLVControls* pControls, UINT nId, BOOL bShow) {
    if (CKLVControl* pControl = pControls->FindControl(static_cast<int>(nId)))
        pControl->SetHideFlag(CKLVControl::hideGeneric, !bShow);
}

int IndexOf(CKLVControls* pControls, UINT nId) {
    CKLVControl* pControl = pControls->FindControl(static_cast<int>(nId));
    return pControl ? pControl->GetIndex() : -1;
}

// Lists that fill themselves in (the tool bars) do so now, so that an empty menu is known as such.
int CountVisibleItems(CKLVControls* pControls) {
    for (int i = pControls->GetCount() - 1; i >= 0; --i) pControls->GetAt(i)->PrepareDynamicLayout(0);
    return pControls->GetVisibleCount();
}

}  // namespace

CKLVCommandBar* CKLVRibbonBar::CreateContextMenu(CKLVControl* pControl) {
    CKLVCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars) return nullptr;
    CWnd* pSite = GetSite();
    CKLVPopupBar* pPopup = nullptr;
    if (!m_bQuickAccessVisible) {
        pPopup = pCommandBars->GetToolbarsPopup();
    } else {
        auto* pMenu = static_cast<CKLVRibbonContextMenuBar*>(RUNTIME_CLASS(CKLVRibbonContextMenuBar)->CreateObject());
        pMenu->m_pCommandBars = pCommandBars;
        pMenu->m_pLink = pCommandBars;
        pMenu->m_pSiteOverride = this;
        // The customize button keeps its menu as its popup: holding the button from there would
        // keep both alive, and its menu has no command that needs it.
        if (!CKLVRibbonBarControlQuickAccessPopup::IsCustomizeButton(pControl)) pMenu->SetTarget(pControl);
        FillContextMenu(pMenu, pControl);
        pPopup = pMenu;
    }
    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(CKLVCommandBars::msgToolBarContextMenu, reinterpret_cast<WPARAM>(this),
                           reinterpret_cast<LPARAM>(pPopup));
    if (CountVisibleItems(pPopup->GetControls()) == 0) {
        pPopup->InternalRelease();
        return nullptr;
    }
    return pPopup;
}

void CKLVRibbonBar::FillContextMenu(CKLVCommandBar* pMenu, CKLVControl* pControl) {
    const BOOL bFromCustomizeButton = CKLVRibbonBarControlQuickAccessPopup::IsCustomizeButton(pControl);
    LoadMenuResource(pMenu, bFromCustomizeButton ? idMenuQuickAccess : idMenuContext);
    CKLVControls* pItems = pMenu->GetControls();
    const BOOL bCustomizable = m_bQuickAccessCustomizable;
    CKLVControl* pToolbars = pItems->Add(CKLVControl::typeButton, static_cast<int>(CKLVCommandBars::idToolBarsList),
                                         CString(), bFromCustomizeButton ? 0 : 2, TRUE);
    if (pToolbars) {
        pToolbars->SetBeginGroup(TRUE);
        if (CKLVControl* pNext = pItems->GetAt(pToolbars->GetIndex() + 1)) pNext->SetBeginGroup(TRUE);
    }
    const BOOL bOnToolBar = pControl && m_pQuickAccessControls->Contains(pControl);
    ShowItem(pItems, idRemoveFromQuickAccess, bCustomizable && bOnToolBar);
    ShowItem(pItems, idAddToQuickAccess, bCustomizable && !bOnToolBar && IsAllowQuickAccessControl(pControl));
    ShowItem(pItems, idShowQuickAccessBelow, !m_bQuickAccessBelow);
    ShowItem(pItems, idShowQuickAccessAbove, m_bQuickAccessBelow);
    if (CKLVControl* pMinimize = pItems->FindControl(static_cast<int>(idMinimizeRibbon))) pMinimize->m_bChecked = m_bMinimized;
    if (!bCustomizable)
        if (CKLVControl* pMore = pItems->FindControl(static_cast<int>(idCustomizeCommands))) pMore->SetCaptionFromResource(idsCustomize);
    FillQuickAccessCommandList(pItems);
}

void CKLVRibbonBar::FillQuickAccessCommandList(CKLVControls* pItems) {
    CKLVControls* pDefaults = m_pQuickAccessControls->GetOriginalControls();
    const BOOL bListed = m_bQuickAccessCustomizable && pDefaults && pDefaults->GetCount() > 0;
    const int nLabel = IndexOf(pItems, idQuickAccessCommandsLabel);
    if (nLabel >= 0) {
        // The heading of the command list: a label, not a command.
        CKLVControl* pOld = pItems->GetAt(nLabel);
        auto* pLabel = new CKLVControlLabel;
        pItems->Add(pLabel, static_cast<int>(idQuickAccessCommandsLabel), CString(), nLabel, TRUE);
        pLabel->SetCaption(pOld->GetCaption());
        pLabel->SetBeginGroup(pOld->GetBeginGroup());
        pLabel->SetHideFlag(CKLVControl::hideGeneric, !bListed);
        pItems->Remove(pOld);
    }
    const int nList = IndexOf(pItems, idQuickAccessCommandList);
    if (nList < 0) return;
    CKLVControl* pPlaceholder = pItems->GetAt(nList);
    const BOOL bBeginGroup = pPlaceholder->GetBeginGroup();
    pItems->Remove(pPlaceholder);
    if (!bListed) return;
    for (int i = 0; i < pDefaults->GetCount(); ++i) {
        auto* pItem = new CKLVRibbonControlQuickAccessCommand(m_pQuickAccessControls, pDefaults->GetAt(i));
        pItems->InsertAt(pItem, nList + i);
        pItem->m_bTemporary = TRUE;
        if (i == 0) pItem->SetBeginGroup(bBeginGroup);
    }
}

LRESULT CKLVRibbonBar::OnControlNotify(WPARAM, LPARAM lParam) {
    auto* pNM = reinterpret_cast<NMKLVCONTROL*>(lParam);
    if (!pNM || pNM->hdr.code != CKLVControl::notifyExecute || !pNM->pControl) return 0;
    const UINT nId = static_cast<UINT>(pNM->pControl->GetId());
    if (nId != idRemoveFromQuickAccess && nId != idAddToQuickAccess && nId != idCustomizeCommands &&
        nId != idMinimizeRibbon)
        return 0;
    auto* pMenu = DYNAMIC_DOWNCAST(CKLVRibbonContextMenuBar, pNM->pControl->GetParent());
    ExecuteContextCommand(nId, pMenu ? pMenu->GetTarget() : nullptr, &pNM->hdr);
    return 1;
}

void CKLVRibbonBar::ExecuteContextCommand(UINT nId, CKLVControl* pControl, NMHDR* pNM) {
    switch (nId) {
    case idAddToQuickAccess:
        if (AddToQuickAccess(pControl)) OnRecalcLayout();
        break;
    case idRemoveFromQuickAccess:
        if (pControl && m_pQuickAccessControls->Contains(pControl)) {
            m_pQuickAccessControls->Remove(pControl);
            OnRecalcLayout();
        }
        break;
    case idMinimizeRibbon: SetMinimized(!m_bMinimized); break;
    case idCustomizeCommands: {
        // The frame offers its own customisation; a frame that does not answer gets the command.
        CWnd* pSite = GetSite();
        if (!pSite || !pSite->GetSafeHwnd()) break;
        if (!pSite->SendMessage(CKLVControl::msgControlNotify, nId, reinterpret_cast<LPARAM>(pNM)))
            pSite->SendMessage(WM_COMMAND, nId);
        break;
    }
    default: break;
    }
}

void CKLVRibbonBar::OnQuickAccessPosition(UINT nId) {
    if (nId == idShowQuickAccessBelow || nId == idShowQuickAccessAbove) SetQuickAccessBelow(nId == idShowQuickAccessBelow);
}

void CKLVRibbonBar::OnUpdateContextCommand(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    if (pCmdUI->m_nID == idMinimizeRibbon) pCmdUI->SetCheck(m_bMinimized);
}
