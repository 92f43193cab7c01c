// One set of menu-bar controls per document template: the set of the active template is shown,
// the others wait in the template map with their own customisations.
#include "toolkit/commandbars/MenuBar.h"

#include "classlib/DocTemplate.h"
#include "classlib/Menu.h"
#include "classlib/WinApp.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/controlbase/CommandBarList.h"
#include "toolkit/commandbars/controlbase/Controls.h"

CKLVMenuBarTemplateMenu::CKLVMenuBarTemplateMenu(UINT nTemplateId, CKLVControls* pControls)
    : m_pControls(pControls), m_nTemplateId(nTemplateId) {
    m_pControls->InternalAddRef();
    CWinApp* pApp = AfxGetApp();
    if (!pApp) return;
    for (POSITION pos = pApp->GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* pTemplate = pApp->GetNextDocTemplate(pos);
        if (!pTemplate || pTemplate->m_nIDResource != nTemplateId) continue;
        pTemplate->GetDocString(m_strDocName, CDocTemplate::docName);
        pTemplate->GetDocString(m_strFileTypeName, CDocTemplate::regFileTypeName);
        break;
    }
    m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(nTemplateId));
}

CKLVMenuBarTemplateMenu::~CKLVMenuBarTemplateMenu() { m_pControls->InternalRelease(); }

CKLVMenuBarTemplateMenu* CKLVMenuBarTemplateMenus::Find(UINT nTemplateId) const {
    CKLVMenuBarTemplateMenu* pMenu = nullptr;
    return Lookup(nTemplateId, pMenu) ? pMenu : nullptr;
}

void CKLVMenuBarTemplateMenus::Add(CKLVMenuBarTemplateMenu* pMenu) {
    RemoveMenu(pMenu->m_nTemplateId);
    SetAt(pMenu->m_nTemplateId, pMenu);
}

void CKLVMenuBarTemplateMenus::RemoveMenu(UINT nTemplateId) {
    if (CKLVMenuBarTemplateMenu* pMenu = Find(nTemplateId)) {
        RemoveKey(nTemplateId);
        pMenu->InternalRelease();
    }
}

void CKLVMenuBarTemplateMenus::RemoveAllMenus() {
    POSITION pos = GetStartPosition();
    while (pos) {
        UINT nId = 0;
        CKLVMenuBarTemplateMenu* pMenu = nullptr;
        GetNextAssoc(pos, nId, pMenu);
        pMenu->InternalRelease();
    }
    RemoveAll();
}

void CKLVMenuBar::SwitchMenu(UINT nTemplateId, HMENU hMenu) {
    if (nTemplateId == m_nCurrentTemplateId || m_nCurrentTemplateId == 0) return;
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    CKLVMenuBarTemplateMenu* pRecord = m_pTemplateMenus->Find(nTemplateId);
    CMenu* pMenu = hMenu && ::IsMenu(hMenu) ? CMenu::FromHandle(hMenu) : nullptr;
    if ((!pCommandBars || !pCommandBars->HasTemplateMenus()) && !pRecord) {
        if (pMenu) LoadMenu(pMenu, TRUE);
    } else {
        if (!pMenu && !pRecord) return;
        if (!m_pTemplateMenus->Find(m_nCurrentTemplateId))
            m_pTemplateMenus->Add(new CKLVMenuBarTemplateMenu(m_nCurrentTemplateId, m_pControls));
        SetPopuped(-1);
        SetSelected(-1);
        if (pRecord) {
            pRecord->m_pControls->InternalAddRef();
            SetControls(pRecord->m_pControls);
            if (!m_pControls->GetOriginalControls() && pMenu) {
                LoadMenu(pMenu, TRUE);
                m_pControls->CreateOriginalControls();
            }
            // The bar's own menu lives in the bar.
            if (nTemplateId == m_nMenuId) m_pTemplateMenus->RemoveMenu(nTemplateId);
        } else {
            SetControls(new CKLVControls(this));
            auto* pNew = new CKLVMenuBarTemplateMenu(nTemplateId, m_pControls);
            if (pMenu) {
                LoadMenu(pMenu, TRUE);
                m_pControls->CreateOriginalControls();
            }
            m_pTemplateMenus->Add(pNew);
        }
    }
    m_nCurrentTemplateId = nTemplateId;
    RelayoutAfterChange();
}

void CKLVMenuBar::OnFrameMenuChange(HMENU hMenu) {
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    UINT nTemplateId = pCommandBars ? pCommandBars->GetActiveDocTemplateId() : 0;
    if (hMenu && hMenu == m_hFrameMenu) nTemplateId = m_nMenuId;
    if (nTemplateId == 0 || nTemplateId == m_nCurrentTemplateId) return;
    if (!hMenu || !::IsMenu(hMenu) || ::GetMenuItemCount(hMenu) < 1) return;
    SwitchMenu(nTemplateId, hMenu);
}

// The saved state's walk also takes in the popups of the waiting templates' controls.
void CKLVMenuBar::GenerateCommandBarList(DWORD& nID, CKLVCommandBarList* pList, CKLVPropExchangeParam* pParam) {
    const BOOL bWalked = pList->Contains(this);
    CKLVToolBar::GenerateCommandBarList(nID, pList, pParam);
    if (bWalked) return;
    for (POSITION pos = m_pTemplateMenus->GetStartPosition(); pos;) {
        UINT nId;
        CKLVMenuBarTemplateMenu* pMenu;
        m_pTemplateMenus->GetNextAssoc(pos, nId, pMenu);
        if (pMenu->m_pControls) pMenu->m_pControls->GenerateCommandBarList(nID, pList, pParam);
    }
}

void CKLVMenuBar::RestoreCommandBarList(CKLVCommandBarList* pList) {
    CKLVToolBar::RestoreCommandBarList(pList);
    for (POSITION pos = m_pTemplateMenus->GetStartPosition(); pos;) {
        UINT nId;
        CKLVMenuBarTemplateMenu* pMenu;
        m_pTemplateMenus->GetNextAssoc(pos, nId, pMenu);
        if (pMenu->m_pControls) pMenu->m_pControls->RestoreCommandBarList(pList);
    }
}
