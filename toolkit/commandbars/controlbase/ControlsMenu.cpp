// Controls built from the items of a Windows menu or from a tool bar's command ids, with the
// site asked before and told after.
#include "toolkit/commandbars/controlbase/Controls.h"

#include "classlib/Menu.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/controlbase/ControlClassTable.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/common/DrawHelpers.h"

#include <cstdlib>
#include <vector>

namespace {

const UINT kSkippedId = 0xFF00;

// The item's whole text, however long it is.
CString MenuItemText(HMENU hMenu, int nIndex) {
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING;
    if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(nIndex), TRUE, &mii) || mii.cch == 0) return CString();
    std::vector<char> text(mii.cch + 1);
    mii.dwTypeData = text.data();
    mii.cch += 1;
    ::GetMenuItemInfoA(hMenu, static_cast<UINT>(nIndex), TRUE, &mii);
    return CString(text.data());
}

BOOL IsSeparator(HMENU hMenu, int nIndex) {
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE;
    return ::GetMenuItemInfoA(hMenu, static_cast<UINT>(nIndex), TRUE, &mii) && (mii.fType & MFT_SEPARATOR);
}

// The first sub-menu of the menu resource with the id, when there is one.
HMENU LoadResourceSubMenu(int nId, CMenu& menu) {
    if (nId <= 0 || !menu.LoadMenu(MAKEINTRESOURCEA(nId))) return nullptr;
    return ::GetSubMenu(menu.GetSafeHmenu(), 0);
}

// A new bar of the class, as the control base sees it.
CKLVControlHost* CreateBar(CRuntimeClass* pClass) { return dynamic_cast<CKLVControlHost*>(pClass->CreateObject()); }

// The popup's bar: the one the site supplies or names, else a plain popup bar.
CKLVControlHost* CreatePopupBar(CWnd* pSite, int nId, CString strTitle) {
    CKLVDrawHelpers::StripMnemonicsString(strTitle);
    KLVCREATEBARSTRUCT cs = {nullptr, nullptr, TRUE, FALSE, FALSE, strTitle, static_cast<UINT>(nId)};
    CRuntimeClass* pPopupBarClass = CKLVControlHost::GetPopupBarClass();
    if (pSite && pSite->SendMessage(CKLVControls::msgCreateCommandBar, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (cs.pCommandBar) return CKLVControlHost::Of(cs.pCommandBar);
        if (cs.pBarClass && cs.pBarClass->IsDerivedFrom(pPopupBarClass)) return CreateBar(cs.pBarClass);
    }
    return CreateBar(pPopupBarClass);
}

}  // namespace

void CKLVControls::AttachPopupBar(CKLVControlPopup* pPopup, int nId, const CString& strCaption, HMENU hItems) {
    CKLVControlHost* pBar = CreatePopupBar(m_pParent ? ParentHost()->GetSite() : nullptr, nId, strCaption);
    pBar->SetTitle(strCaption);
    if (hItems) pBar->GetControls()->LoadMenu(CMenu::FromHandle(hItems));
    pPopup->SetCommandBar(pBar->AsCommandBar());
    pBar->AsWnd()->InternalRelease();
}

void CKLVControls::AttachResourcePopupBar(CKLVControlPopup* pPopup, int nId) {
    CMenu resource;
    HMENU hItems = LoadResourceSubMenu(nId, resource);
    if (!hItems) {
        CKLVControlHost* pBar = CreateBar(CKLVControlHost::GetPopupBarClass());
        pPopup->SetCommandBar(pBar->AsCommandBar());
        pBar->AsWnd()->InternalRelease();
        return;
    }
    // The resource's first item names the popup; its sub-menu fills the bar.
    const CString strCaption = MenuItemText(resource.GetSafeHmenu(), 0);
    pPopup->SetCaption(strCaption);
    AttachPopupBar(pPopup, nId, strCaption, hItems);
}

void CKLVControls::BindAction(CKLVControl* pControl, int nId, const CString& strCaption, BOOL) {
    // The command bars' action of the id, when they keep one, holds the control's state and
    // texts. No action is made here: nothing switches the command bars to making them.
    CKLVCommandBarsLink* pLink = m_pParent ? ParentHost()->GetCommandBarsLink() : nullptr;
    CKLVControlActions* pActions = pLink ? pLink->GetActions() : nullptr;
    if (CKLVControlAction* pAction = pActions ? pActions->GetAction(nId) : nullptr) {
        pControl->SetAction(pAction);
        if (pAction->GetCaption().IsEmpty() && !strCaption.IsEmpty()) pAction->SetCaption(strCaption);
        return;
    }
    pControl->SetID(nId);
    if (!strCaption.IsEmpty()) pControl->SetCaption(strCaption);
}

BOOL CKLVControls::LoadMenu(CMenu* pMenu) {
    if (!pMenu || !::IsMenu(pMenu->GetSafeHmenu())) return FALSE;
    const int nCount = ::GetMenuItemCount(pMenu->GetSafeHmenu());
    BOOL bBeginGroup = FALSE;
    for (int i = 0; i < nCount; ++i) {
        if (IsSeparator(pMenu->GetSafeHmenu(), i)) {
            bBeginGroup = TRUE;
            continue;
        }
        if (CKLVControl* pControl = AddMenuItem(pMenu, i)) {
            if (bBeginGroup) pControl->SetBeginGroup(TRUE);
            bBeginGroup = FALSE;
        }
    }
    return TRUE;
}

CKLVControl* CKLVControls::AddMenuItem(CMenu* pMenu, int nIndex) {
    const HMENU hMenu = pMenu->GetSafeHmenu();
    HMENU hSubMenu = ::GetSubMenu(hMenu, nIndex);
    int nId = static_cast<int>(::GetMenuItemID(hMenu, nIndex));
    if (static_cast<UINT>(nId) == kSkippedId) return nullptr;
    const BOOL bDefault = ::GetMenuDefaultItem(hMenu, TRUE, GMDI_USEDISABLED) == static_cast<UINT>(nIndex);
    CString strCaption = MenuItemText(hMenu, nIndex);
    if (hSubMenu) {
        const int nTab = strCaption.Find('\t');
        if (nTab > 0) {
            nId = std::atoi(strCaption.Mid(nTab + 1));
            if (nId != 0) strCaption = strCaption.Left(nTab);
        }
    }

    KLVCREATECONTROLSTRUCT cs = {nId, nullptr, 0, nIndex, hMenu, m_pParent, strCaption,
                                 hSubMenu ? CKLVControl::typePopup : CKLVControl::typeButton,
                                 CKLVControl::styleAutomatic};
    CWnd* pSite = GetCreateSite();
    if (pSite && pSite->SendMessage(msgCreateControl, 0, reinterpret_cast<LPARAM>(&cs))) {
        nId = cs.nId;
        strCaption = cs.lpszCaption;
    }
    CKLVControl* pControl = cs.pControl;
    if (!pControl) {
        CRuntimeClass* pClass = CKLVControlClassTable::Find(cs.controlType, nId, strCaption);
        if (!pClass) return nullptr;
        pControl = static_cast<CKLVControl*>(pClass->CreateObject());
        if (auto* pPopup = DYNAMIC_DOWNCAST(CKLVControlPopup, pControl)) {
            CMenu resource;
            AttachPopupBar(pPopup, nId, strCaption, hSubMenu ? hSubMenu : LoadResourceSubMenu(nId, resource));
        }
        pControl->m_nType = cs.controlType;
        pControl->SetStyle(cs.buttonStyle);
    }
    if (!pControl->GetAction()) BindAction(pControl, nId, strCaption, TRUE);
    if (bDefault) pControl->SetItemDefault(TRUE);
    Append(pControl);
    cs.pControl = pControl;
    if (pSite) pSite->SendMessage(msgControlCreated, 0, reinterpret_cast<LPARAM>(&cs));
    return pControl;
}

CWnd* CKLVControls::GetCreateSite() const {
    CWnd* pSite = m_pParent ? ParentHost()->GetSite() : nullptr;
    return pSite && pSite->GetSafeHwnd() ? pSite : nullptr;
}

void CKLVControls::LoadButtons(const UINT* pIds, int nCount) {
    RemoveAll();
    BOOL bBeginGroup = FALSE;
    for (int i = 0; i < nCount; ++i) {
        if (pIds[i] == 0) {
            bBeginGroup = TRUE;
            continue;
        }
        if (CKLVControl* pControl = AddButton(static_cast<int>(pIds[i]), i)) pControl->SetBeginGroup(bBeginGroup);
        bBeginGroup = FALSE;
    }
}

CKLVControl* CKLVControls::AddButton(int nId, int nIndex) {
    KLVCREATECONTROLSTRUCT cs = {nId, nullptr, 0, nIndex, nullptr, m_pParent, "", CKLVControl::typeButton,
                                 CKLVControl::styleAutomatic};
    CWnd* pSite = GetCreateSite();
    if (pSite) pSite->SendMessage(msgCreateControl, 0, reinterpret_cast<LPARAM>(&cs));
    // A supplied control is taken as it is; otherwise one of the (perhaps changed) type.
    CKLVControl* pControl = cs.pControl ? Add(cs.pControl, nId) : Add(cs.controlType, nId);
    if (!pControl) return nullptr;
    cs.pControl = pControl;
    if (pSite) pSite->SendMessage(msgControlCreated, 0, reinterpret_cast<LPARAM>(&cs));
    return pControl;
}
