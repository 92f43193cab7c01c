// The verbs of the selected OLE item as a submenu of a menu.
#include "classlib/FrameWnd.h"
#include "classlib/Menu.h"
#include "classlib/OleDocument.h"
#include "classlib/View.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/commandbars/controls/ControlLists.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControlOleItems, CKLVControlButton)

namespace {

const char kVerbsParameter[] = "OLEMENUPOPUP";

}  // namespace

COleClientItem* CKLVControlOleItems::GetSelectedItem() const {
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    auto* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pCommandBars ? pCommandBars->GetSite() : nullptr);
    CFrameWnd* pActive = pFrame ? pFrame->GetActiveFrame() : nullptr;
    CView* pView = pActive ? pActive->GetActiveView() : nullptr;
    auto* pDocument = DYNAMIC_DOWNCAST(COleDocument, pView ? pView->GetDocument() : nullptr);
    return pDocument ? pDocument->GetPrimarySelectedItem(pView) : nullptr;
}

void CKLVControlOleItems::PrepareDynamicLayout(int) {
    klv_control_lists::RemoveFollowing(
        this, [](CKLVControl* pControl) { return pControl->GetParameter() == kVerbsParameter; }, TRUE);
    if (klv_control_lists::ShowInCustomizeMode(this)) return;
    SetHideFlag(hideGeneric, TRUE);
    COleClientItem* pItem = GetSelectedItem();
    if (!pItem || pItem->GetItemState() == COleClientItem::activeState) return;
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, firstVerbId, "");
    AfxOleSetEditMenu(pItem, &menu, 0, firstVerbId, lastVerbId);
    HMENU hVerbs = menu.GetMenuItemCount() == 1 ? ::GetSubMenu(menu.GetSafeHmenu(), 0) : nullptr;
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    if (!hVerbs || !pCommandBars) return;
    CKLVPopupBar* pVerbs = CKLVPopupBar::CreatePopupBar(GetCommandBars(), pCommandBars);
    pVerbs->LoadMenu(CMenu::FromHandle(hVerbs));
    auto* pPopup = static_cast<CKLVControlPopup*>(
        GetControls()->Add(typePopup, 0, kVerbsParameter, GetIndex() + 1, TRUE));
    if (pPopup) {
        CString strCaption;
        menu.GetMenuString(0, strCaption, MF_BYPOSITION);
        pPopup->SetCaption(strCaption);
        pPopup->SetCommandBar(pVerbs);
    }
    pVerbs->InternalRelease();
}

BOOL CKLVControlOleItems::IsCustomizeDragOverAvail(CKLVCommandBar* pBar, CPoint, DWORD&) {
    return klv_control_lists::IsPopupBar(pBar);
}
